#!/bin/sh
# Plays a key storm headless through tvui with a fresh data directory and
# fails unless tvui ends with status 0 (under the sanitizers: no leak, no
# fault) and without a panic.
#   play_storm.sh TVUI STORM.keys
tvui="$1"; storm="$2"
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
echo "storm $storm: ok"
