#!/bin/sh
# A data folder that cannot be written: tvui says at start that settings will
# not be kept, says at exit how many changes were not saved, ends with a
# non-zero status, and leaves the files as they were.
#   readonly_data.sh TVUI CHANGES.keys
tvui="$1"; keys="$2"
work=$(mktemp -d "${TMPDIR:-/tmp}/tvui-readonly-XXXXXX")
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
data="$work/data"
fail() { cat "$work/log.txt"; echo "read-only data folder: $1"; exit 1; }

# A first run makes the files.
"$tvui" --headless --keys "$keys" --data-dir "$data" >"$work/log.txt" 2>&1 || fail "the first run failed"
[ -f "$data/settings.dat" ] && [ -f "$data/tvsim.state" ] || fail "the first run left no files"

# Read-only; root writes whatever the modes say, so it runs tvui as nobody.
chmod 755 "$work"
chmod -R a-w "$data"
before=$(cd "$data" && find . -exec ls -ld --time-style=full-iso {} + | sort; find . -type f -exec md5sum {} + | sort)
run="$tvui"
if [ "$(id -u)" -eq 0 ]; then run="setpriv --reuid=65534 --regid=65534 --clear-groups $tvui"; fi
$run --headless --keys "$keys" --data-dir "$data" >"$work/log.txt" 2>&1
status=$?
after=$(cd "$data" && find . -exec ls -ld --time-style=full-iso {} + | sort; find . -type f -exec md5sum {} + | sort)

[ $status -ne 0 ] || fail "tvui ended with status 0"
grep -q "^tvui: the data folder .* cannot be written: settings changed in this session will not be kept" "$work/log.txt" ||
  fail "no start line"
grep -q "^tvui: [1-9][0-9]* changes\{0,1\} to the settings not saved" "$work/log.txt" || fail "no exit line"
[ "$before" = "$after" ] || { echo "$before"; echo "$after"; fail "the files changed"; }
grep -q PANIC "$work/log.txt" && fail "a panic"
echo "read-only data folder: ok (status $status)"
