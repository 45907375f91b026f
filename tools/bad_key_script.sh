#!/bin/sh
# A key script with bad lines, or bad arguments, are refused before anything
# starts: status 2, every bad line named with its number (escaped and cut
# short) and every bad argument named, and nothing written: no data folder
# made, no shot. A script is read once: one that cannot be read whole is
# refused, one read whole from a pipe or standard input plays.
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
# A VALUE of a "state" or "message" line outside what a screen takes: past
# the 32 bits of the value every screen gets, or not one of the values a
# screen fixes (the colour bar takes the six colours' first options).
printf 'state NonMenuSystem::AdjustmentBar 4294967296\nstate NonMenuSystem::AdjustmentBar 0x100000000\nmessage 1 -2147483649\nstate NonMenuSystem::BaseColorAdjustmentBar 2147483647\nstate NonMenuSystem::BaseColorAdjustmentBar 0x87000001\nstate NonMenuSystem::AdjustmentBar 0xFFFFFFFF\nstate NonMenuSystem::BaseColorAdjustmentBar 0x8700000F\n' >"$work/values.keys"
refused --keys "$work/values.keys" --data-dir "$work/data"
said 'line 1: "state" VALUE 4294967296 does not fit the 32 bits a screen is given'
said 'line 2: "state" VALUE 0x100000000 does not fit the 32 bits a screen is given'
said 'line 3: "message" INT -2147483649 does not fit the 32 bits a screen is given'
said 'line 4: "state" NonMenuSystem::BaseColorAdjustmentBar takes'
said 'line 5: "state" NonMenuSystem::BaseColorAdjustmentBar takes'
grep -q 'line 6:\|line 7:' "$work/log.txt" && fail "a value a screen takes is refused"

# A "state" line names a screen class that exists: checked before the start
# like every other line, not skipped while the script plays.
printf 'state Channels::ChannelListMenu\nstate Core::Root\nstate NonMenuSystem::AdjustmentBar\n' >"$work/classes.keys"
refused --keys "$work/classes.keys" --data-dir "$work/data"
said 'line 1: "state" Channels::ChannelListMenu names no class'
said 'line 2: "state" Core::Root is no screen class'
grep -q 'line 3:' "$work/log.txt" && fail "a screen class is refused"

# An option that takes one value, given twice, is refused and named; the
# sticks are five at most.
refused --keys "$work/good.keys" --keys "$work/good.keys" --data-dir "$work/data"
said 'tvui: --keys is given more than once'
refused --keys "$work/good.keys" --data-dir "$work/data" --data-dir "$work/data2"
said 'tvui: --data-dir is given more than once'
[ -e "$work/data2" ] && fail "the second data folder was made"
refused --keys "$work/good.keys" --data-dir "$work/data" --shots "$work/shots" --shots "$work/shots"
said 'tvui: --shots is given more than once'
refused --keys "$work/good.keys" --data-dir "$work/data" --media-dir "$work/a-folder" --media-dir "$work/a-folder" \
  --media-dir "$work/a-folder" --media-dir "$work/a-folder" --media-dir "$work/a-folder" --media-dir "$work/a-folder"
said 'tvui: --media-dir is given more than 5 times'
grep -q 'given more than once' "$work/log.txt" && fail "a repeated --media-dir is refused as a single-valued option"

# A script that never ends (a device) cannot be read whole: refused.
refused --keys /dev/zero --data-dir "$work/data"
said 'it does not end within 64 MiB'

# A script read once (standard input, a pipe) is checked and played from
# that one reading: its shot is written.
played() {
  [ -s "$work/shots/one.png" ] || fail "$1: the script did not play (no shot)"
  rm -rf "$work/data" "$work/shots"
}
printf 'wait 100\nshot one\n' | timeout 120 "$tvui" --headless --keys /dev/stdin --data-dir "$work/data" \
  --shots "$work/shots" >"$work/log.txt" 2>&1 || fail "--keys /dev/stdin ended with status $?"
said 'is read until its writer closes it'
played "--keys /dev/stdin"
mkfifo "$work/fifo"
timeout 120 sh -c 'printf "wait 100\nshot one\n" >"$1"' sh "$work/fifo" &
timeout 120 "$tvui" --headless --keys "$work/fifo" --data-dir "$work/data" --shots "$work/shots" \
  >"$work/log.txt" 2>&1 || fail "a pipe as the script ended with status $?"
wait
said 'fifo is read until its writer closes it'
played "a pipe as the script"
# A file is read at once: nothing is said of a writer.
timeout 120 "$tvui" --headless --keys "$work/good.keys" --data-dir "$work/data" --shots "$work/shots" \
  >"$work/log.txt" 2>&1 || fail "a file as the script ended with status $?"
grep -q 'until its writer closes it' "$work/log.txt" && fail "a file's run says it waits for a writer"
played "a file as the script"
echo "bad key script: ok"
