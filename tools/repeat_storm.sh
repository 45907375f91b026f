#!/bin/sh
# Plays one key storm twice headless through tvui, each time on a fresh data
# directory with the sample stick plugged (--media-dir), and fails unless
# both runs end with status 0 and write the same shots and the same data
# files, byte for byte: a key script gives the same screens and files on
# every run.
#   repeat_storm.sh TVUI SAMPLE_MEDIA STORM.keys
tvui="$1"; writer="$2"; storm="$3"
work=$(mktemp -d "${TMPDIR:-/tmp}/tvui-repeat-XXXXXX")
trap 'rm -rf "$work"' EXIT
if ! "$writer" "$work/stick" "$work/wallpaper.jpg" >/dev/null 2>&1; then
  echo "storm $storm: the sample stick could not be written"; exit 1
fi
for run in 1 2; do
  "$tvui" --headless --keys "$storm" --shots "$work/$run/shots" --data-dir "$work/$run/data" \
    --media-dir "$work/stick" >"$work/log$run.txt" 2>&1
  status=$?
  if [ $status -ne 0 ]; then
    tail -40 "$work/log$run.txt"
    echo "storm $storm: run $run of tvui ended with status $status"; exit 1
  fi
done
files=$(cd "$work/1" && find shots data -type f | sort)
if [ -z "$files" ]; then echo "storm $storm: the runs wrote nothing"; exit 1; fi
(cd "$work/2" && find shots data -type f | sort) >"$work/files2.txt"
echo "$files" | diff - "$work/files2.txt" || { echo "storm $storm: the runs wrote different files"; exit 1; }
differ=0
for f in $files; do
  if ! cmp -s "$work/1/$f" "$work/2/$f"; then echo "storm $storm: $f differs between the runs"; differ=1; fi
done
[ $differ -eq 0 ] || exit 1
echo "storm $storm: $(echo "$files" | wc -l) files alike in both runs"
