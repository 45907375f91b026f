#!/bin/sh
# The whole exploration (tests/explore): every start of the walks, dealt out
# over PROCS processes of explore_tests, DEPTH keys deep at least (the menu
# pages five) and deeper for SECONDS a start. Prints the states and steps
# covered from each start, then every rule broken with its shrunk key
# script; the status is 1 when a rule broke.
#   explore.sh EXPLORE_TESTS DEPTH SECONDS PROCS
bin="$1"; depth="$2"; seconds="$3"; procs="$4"
logs=$(mktemp -d "${TMPDIR:-/tmp}/explore-XXXXXX")
trap 'rm -rf "$logs"' EXIT
began=$(date +%s)
pids=""
i=0
while [ "$i" -lt "$procs" ]; do
  KV_TEST=1 EXPLORE_ALL=1 EXPLORE_DEPTH="$depth" EXPLORE_SECONDS="$seconds" EXPLORE_PARTS="$procs" EXPLORE_PART="$i" \
    "$bin" --gtest_filter='*EveryStateKeepsTheRules/0' >"$logs/$i.log" 2>&1 &
  pids="$pids $!"
  i=$((i + 1))
done
status=0
for p in $pids; do wait "$p" || status=1; done
i=0
while [ "$i" -lt "$procs" ]; do
  grep -E '^explore:' "$logs/$i.log"
  sed -n '/Failure$/,/^one line:/p' "$logs/$i.log" | grep -v 'Failure$'
  grep -q '^\[  PASSED  \] 1 test' "$logs/$i.log" || grep -q 'Failure$' "$logs/$i.log" || { tail -30 "$logs/$i.log"; status=1; }
  i=$((i + 1))
done
cat "$logs"/*.log | awk '/^explore: .* states, / { for (i = 1; i <= NF; ++i) { if ($(i+1) == "states,") s += $i; if ($(i+1) == "steps,") k += $i } }
  END { printf "explore: in all %d states, %d steps\n", s, k }'
echo "explore: took $(( $(date +%s) - began )) s on $procs processes"
[ $status -eq 0 ] && echo "explore: every state kept the rules" || echo "explore: some states broke a rule (above)"
exit $status
