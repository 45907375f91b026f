# Sourced by walks.sh and explore.sh: runs PROCS processes of a test binary,
# each told its part (<NAME>_PARTS, <NAME>_PART, and the given VAR=VALUE
# settings), waits for them all, then prints each one's lines that start with
# "<name>:" and every failure with its key script (up to its "one line:").
# Sets $status to 1 when a process failed or ended without a result, and
# leaves the logs in $logs until the caller exits.
#   run_parts NAME PROCS BIN FILTER [VAR=VALUE ...]
run_parts() {
  name="$1"; procs="$2"; bin="$3"; filter="$4"; shift 4
  upper=$(echo "$name" | tr '[:lower:]' '[:upper:]')
  logs=$(mktemp -d "${TMPDIR:-/tmp}/$name-XXXXXX")
  trap 'rm -rf "$logs"' EXIT
  pids=""
  i=0
  while [ "$i" -lt "$procs" ]; do
    env KV_TEST=1 "$@" "${upper}_PARTS=$procs" "${upper}_PART=$i" "$bin" --gtest_filter="$filter" >"$logs/$i.log" 2>&1 &
    pids="$pids $!"
    i=$((i + 1))
  done
  status=0
  for p in $pids; do wait "$p" || status=1; done
  i=0
  while [ "$i" -lt "$procs" ]; do
    grep -E "^$name:" "$logs/$i.log"
    sed -n '/Failure$/,/^one line:/p' "$logs/$i.log" | grep -v 'Failure$'
    grep -q '^\[  PASSED  \] 1 test' "$logs/$i.log" || grep -q 'Failure$' "$logs/$i.log" || { tail -30 "$logs/$i.log"; status=1; }
    i=$((i + 1))
  done
}
