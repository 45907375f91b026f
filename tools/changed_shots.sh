#!/bin/sh
# Lists the pictures that `make shots` renewed, each with the picture of its
# difference (changed pixels in red over a dimmed copy), so that whoever
# renews them looks at each before committing; then what git sees changed.
#   changed_shots.sh CHANGED_DIR   (build/scene-shots/changed)
dir="$1"
count=0
for language in eng spa fre; do
  for new in "$dir/$language"/*.png; do
    [ -f "$new" ] || continue
    case "$new" in *-diff.png) continue ;; esac
    diff="${new%.png}-diff.png"
    [ -f "$diff" ] || diff="(no earlier picture here to draw it from)"
    echo "changed: $language $(basename "$new" .png)  new: $new  difference: $diff"
    count=$((count + 1))
  done
done
echo "$count pictures changed"
top=$(cd "$(dirname "$0")/.." && pwd)
git -C "$top" status --short -- docs/screens tests/scenes/pinned-spa.txt tests/scenes/pinned-fre.txt
