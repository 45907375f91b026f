#!/bin/sh
# The long run of the random walks (tests/walks): WALKS walks from seed SEED,
# shared out over PROCS processes of walks_tests, each playing a part of them.
# Every rule a walk broke is printed with its shrunk key script; the status
# is 1 when any walk broke one.
#   walks.sh WALKS_TESTS WALKS SEED PROCS
bin="$1"; walks="$2"; seed="$3"; procs="$4"
logs=$(mktemp -d "${TMPDIR:-/tmp}/walks-XXXXXX")
trap 'rm -rf "$logs"' EXIT
pids=""
i=0
while [ "$i" -lt "$procs" ]; do
  KV_TEST=1 WALKS="$walks" SEED="$seed" WALKS_PARTS="$procs" WALKS_PART="$i" "$bin" --gtest_filter='*EveryWalkEndsInTheMenu/0' >"$logs/$i.log" 2>&1 &
  pids="$pids $!"
  i=$((i + 1))
done
status=0
for p in $pids; do wait "$p" || status=1; done
i=0
while [ "$i" -lt "$procs" ]; do
  grep -E '^walks:' "$logs/$i.log"
  sed -n '/Failure$/,/^one line:/p' "$logs/$i.log" | grep -v 'Failure$'
  grep -q '^\[  PASSED  \] 1 test' "$logs/$i.log" || grep -q 'Failure$' "$logs/$i.log" || { tail -30 "$logs/$i.log"; status=1; }
  i=$((i + 1))
done
[ $status -eq 0 ] && echo "walks: every walk kept the rules" || echo "walks: some walks broke a rule (above)"
exit $status
