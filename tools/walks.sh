#!/bin/sh
# The long run of the random walks (tests/walks): WALKS walks from seed SEED,
# shared out over PROCS processes of walks_tests, each playing a part of them.
# Every rule a walk broke is printed with its shrunk key script; the status
# is 1 when any walk broke one.
#   walks.sh WALKS_TESTS WALKS SEED PROCS
bin="$1"; walks="$2"; seed="$3"; procs="$4"
. "$(dirname "$0")/run_parts.sh"
run_parts walks "$procs" "$bin" '*EveryWalkEndsInTheMenu/0' WALKS="$walks" SEED="$seed"
[ $status -eq 0 ] && echo "walks: every walk kept the rules" || echo "walks: some walks broke a rule (above)"
exit $status
