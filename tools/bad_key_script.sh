#!/bin/sh
# A key script with bad lines, or bad arguments, are refused before anything
# starts: status 2, every bad line named with its number (escaped and cut
# short) and every bad argument named, and nothing written: no data folder
# made, no shot.
#   bad_key_script.sh TVUI
tvui="$1"
work=$(mktemp -d "${TMPDIR:-/tmp}/tvui-badscript-XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { cat "$work/log.txt"; echo "bad key script: $1"; exit 1; }

# Runs tvui with the arguments (bounded: a run that starts would not end by
# itself); fails unless it ends with status 2 and makes no data folder.
refused() {
  timeout 120 "$tvui" --headless "$@" >"$work/log.txt" 2>&1
  status=$?
  [ $status -eq 2 ] || fail "tvui $* ended with status $status, not 2"
  [ -e "$work/data" ] && fail "tvui $*: the data folder was made: the set started"
  [ -z "$(ls -A "$work/shots" 2>/dev/null)" ] || fail "tvui $*: a shot was written"
}
said() { grep -qF -- "$1" "$work/log.txt" || fail "not said: $1"; }

# Outside bytes in a key name: escaped and cut.
printf 'menu\nok\n\033]0;owned\007\033[2J%0300d\nvol+\n' 0 >"$work/bad.keys"
refused --keys "$work/bad.keys" --data-dir "$work/data"
grep -q 'line 3: unknown key "\\x1b\]0;owned\\x07\\x1b\[2J00000000000000000000000000\.\.\."' "$work/log.txt" ||
  fail "the bad line is not named, escaped and cut"
if LC_ALL=C grep -q "$(printf '\033')" "$work/log.txt"; then fail "a raw escape byte reached the output"; fi

# Every bad line of every kind, before and after one another; a shot name
# longer than a file name may be.
long=$(printf '%0252d' 0)
printf 'usb eject\nok\nsim usb.format\nair 2 empty\nshot %s\nfrobnicate\nwait soon\n' "$long" >"$work/lines.keys"
refused --keys "$work/lines.keys" --data-dir "$work/data" --shots "$work/shots"
said 'line 1: "usb" needs "mount", "remove" or "stick"'
said 'line 3: "sim" needs a state key and a value'
said 'line 4: "air" needs "0 empty" or "1 empty"'
said 'line 5: "shot" needs a name of at most 251 bytes, not 252'
said 'line 6: unknown key "frobnicate"'
said 'line 7: "wait" needs milliseconds'

# Bad arguments, each alone and all together with a bad script.
printf 'ok\nwait 100\nshot one\n' >"$work/good.keys"
: >"$work/a-file"
mkdir "$work/a-folder"
refused --keys "$work/good.keys" --data-dir ""
said 'tvui: --data-dir needs a value, not an empty one'
refused --keys "" --data-dir "$work/data"
said 'tvui: --keys needs a value, not an empty one'
refused --keys "$work/a-folder" --data-dir "$work/data"
said 'it is a folder, not a file'
refused --keys "$work/good.keys" --data-dir "$work/data" --shots "$work/a-file"
said 'a-file: a file, not a folder'
refused --keys "$work/lines.keys" --data-dir "" --shots "$work/a-file" --media-dir "" --frobnicate
said 'tvui: --data-dir needs a value, not an empty one'
said 'tvui: --media-dir needs a value, not an empty one'
said 'a-file: a file, not a folder'
said 'tvui: unknown option --frobnicate'
said 'line 7: "wait" needs milliseconds'
echo "bad key script: ok"
