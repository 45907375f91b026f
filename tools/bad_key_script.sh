#!/bin/sh
# A key script with a bad line is refused before anything starts: status 2,
# the bad line named with its number, escaped and cut short, and no data
# folder made.
#   bad_key_script.sh TVUI
tvui="$1"
work=$(mktemp -d "${TMPDIR:-/tmp}/tvui-badscript-XXXXXX")
trap 'rm -rf "$work"' EXIT
printf 'menu\nok\n\033]0;owned\007\033[2J%0300d\nvol+\n' 0 >"$work/bad.keys"
"$tvui" --headless --keys "$work/bad.keys" --data-dir "$work/data" >"$work/log.txt" 2>&1
status=$?
fail() { cat "$work/log.txt"; echo "bad key script: $1"; exit 1; }
[ $status -eq 2 ] || fail "tvui ended with status $status, not 2"
[ -e "$work/data" ] && fail "the data folder was made: the set started"
grep -q 'line 3: unknown key "\\x1b\]0;owned\\x07\\x1b\[2J00000000000000000000000000\.\.\."' "$work/log.txt" ||
  fail "the bad line is not named, escaped and cut"
if LC_ALL=C grep -q "$(printf '\033')" "$work/log.txt"; then fail "a raw escape byte reached the output"; fi
echo "bad key script: ok"
