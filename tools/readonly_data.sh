#!/bin/sh
# A data folder that cannot be written: tvui says at start that settings will
# not be kept, says at exit how many changes were not saved, ends with a
# non-zero status, and leaves the files as they were.
#   readonly_data.sh TVUI CHANGES.keys
# The test does not depend on where the checkout or TMPDIR lie: root runs the
# second start as nobody, so tvui, its font and the key script are copied
# into a work folder that nobody can enter, under TMPDIR when nobody can
# enter that, else under the first shared temporary folder that nobody can.
tvui="$1"; keys="$2"
font="$(dirname "$tvui")/fonts/tt7268m_803.ttf"
[ -r "$tvui" ] && [ -r "$keys" ] && [ -r "$font" ] || { echo "read-only data folder: cannot read $tvui, $keys or $font"; exit 1; }

nobody=""
if [ "$(id -u)" -eq 0 ]; then nobody="setpriv --reuid=65534 --regid=65534 --clear-groups"; fi

work=""
for base in "${TMPDIR:-/tmp}" /tmp /var/tmp /dev/shm; do
  [ -d "$base" ] || continue
  w=$(mktemp -d "$base/tvui-readonly-XXXXXX" 2>/dev/null) || continue
  chmod 755 "$w"
  if [ -z "$nobody" ] || $nobody test -x "$w"; then work="$w"; break; fi
  rmdir "$w"
done
[ -n "$work" ] || { echo "read-only data folder: no temporary folder that uid 65534 can enter (TMPDIR, /tmp, /var/tmp, /dev/shm)"; exit 1; }
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
data="$work/data"
fail() { cat "$work/log.txt"; echo "read-only data folder: $1"; exit 1; }

mkdir -p "$work/bin/fonts"
cp "$tvui" "$work/bin/tvui" && cp "$font" "$work/bin/fonts/" && cp "$keys" "$work/changes.keys" || fail "cannot copy tvui, its font or the key script into $work"
chmod -R a+rX "$work/bin" "$work/changes.keys"
cd "$work" || exit 1
tvui="$work/bin/tvui"; keys="$work/changes.keys"

# A first run makes the files.
"$tvui" --headless --keys "$keys" --data-dir "$data" >"$work/log.txt" 2>&1 || fail "the first run failed"
[ -f "$data/settings.dat" ] && [ -f "$data/tvsim.state" ] || fail "the first run left no files"

# Read-only; root writes whatever the modes say, so it runs tvui as nobody.
chmod -R a-w "$data"
before=$(cd "$data" && find . -exec ls -ld --time-style=full-iso {} + | sort; find . -type f -exec md5sum {} + | sort)
$nobody "$tvui" --headless --keys "$keys" --data-dir "$data" >"$work/log.txt" 2>&1
status=$?
after=$(cd "$data" && find . -exec ls -ld --time-style=full-iso {} + | sort; find . -type f -exec md5sum {} + | sort)

[ $status -ne 0 ] || fail "tvui ended with status 0"
grep -q "^tvui: the data folder .* cannot be written: settings changed in this session will not be kept" "$work/log.txt" ||
  fail "no start line"
grep -q "^tvui: [1-9][0-9]* changes\{0,1\} to the settings not saved" "$work/log.txt" || fail "no exit line"
[ "$before" = "$after" ] || { echo "$before"; echo "$after"; fail "the files changed"; }
grep -q PANIC "$work/log.txt" && fail "a panic"
echo "read-only data folder: ok (status $status)"
