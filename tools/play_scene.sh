#!/bin/sh
# Plays one scene (a key script) headless on the virtual clock with a fresh
# data directory and fails on a failed run, a panic or an error line.
#   play_scene.sh TVUI SCENE.keys SHOTS_DIR
tvui="$1"; scene="$2"; shots="$3"
data=$(mktemp -d "${TMPDIR:-/tmp}/tvui-scene-XXXXXX")
trap 'rm -rf "$data"' EXIT
mkdir -p "$shots"
out="$data/log.txt"
"$tvui" --headless --keys "$scene" --shots "$shots" --data-dir "$data" >"$out" 2>&1
status=$?
cat "$out"
if [ $status -ne 0 ]; then echo "scene $scene: tvui ended with status $status"; exit 1; fi
if grep -qE 'PANIC|Error 0x|[Ee]rror:|ERROR' "$out"; then echo "scene $scene: error lines in the log"; exit 1; fi
echo "scene $scene: ok"
