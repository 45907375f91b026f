#!/bin/sh
# Plays a key storm headless through tvui with a fresh data directory and
# fails unless tvui ends with status 0 (under the sanitizers: no leak, no
# fault), without a panic and without a picture fault (a text cut, partly
# hidden or overlapping another) that tests/scenes/known-faults.txt does
# not list.
#   play_storm.sh TVUI STORM.keys
tvui="$1"; storm="$2"
top=$(cd "$(dirname "$storm")/../.." && pwd)
data=$(mktemp -d "${TMPDIR:-/tmp}/tvui-storm-XXXXXX")
trap 'rm -rf "$data"' EXIT
out="$data/log.txt"
"$tvui" --headless --keys "$storm" --shots "$data/shots" --data-dir "$data/data" >"$out" 2>&1
status=$?
if [ $status -ne 0 ] || grep -q 'PANIC' "$out"; then
  tail -80 "$out"
  echo "storm $storm: tvui ended with status $status"
  exit 1
fi
sed -n 's/^[^#|][^|]* | //p' "$top/tests/scenes/known-faults.txt" >"$data/known.txt" 2>/dev/null
if grep -vF -f "$data/known.txt" "$out" | grep -E 'screen check: error|Views::Text: error'; then
  echo "storm $storm: faults of the picture"
  exit 1
fi
echo "storm $storm: ok"
