#!/bin/sh
# The whole exploration (tests/explore): every start of the walks, dealt out
# over PROCS processes of explore_tests, DEPTH keys deep at least (the menu
# pages five) and deeper for SECONDS a start. Prints the states and steps
# covered from each start, then every rule broken with its shrunk key
# script; the status is 1 when a rule broke.
#   explore.sh EXPLORE_TESTS DEPTH SECONDS PROCS
bin="$1"; depth="$2"; seconds="$3"; procs="$4"
began=$(date +%s)
. "$(dirname "$0")/run_parts.sh"
# The processes claim the starts one by one (the deep ones first) in a
# folder they share, so that none idles while another has several left.
claims=$(mktemp -d "${TMPDIR:-/tmp}/explore-claims-XXXXXX")
run_parts explore "$procs" "$bin" '*EveryStateKeepsTheRules/0' EXPLORE_ALL=1 EXPLORE_DEPTH="$depth" EXPLORE_SECONDS="$seconds" EXPLORE_CLAIMS="$claims"
rm -rf "$claims"
# Each process ends with "explore: N starts, S states, K steps".
cat "$logs"/*.log | awk '/^explore: [0-9]+ starts, [0-9]+ states, [0-9]+ steps$/ { n += $2; s += $4; k += $6 }
  END { printf "explore: in all %d starts, %d states, %d steps\n", n, s, k }'
echo "explore: took $(( $(date +%s) - began )) s on $procs processes"
[ $status -eq 0 ] && echo "explore: every state kept the rules" || echo "explore: some states broke a rule (above)"
exit $status
