#!/bin/sh
# Checks a scene's shots against the gallery (docs/screens/README.md):
# - each shot has its line, and the screen that line names (its third
#   column: form classes or "win N" window ids, comma-separated, or "-" for
#   no screen) was open when the shot was taken (tvui logs "key script: shot
#   NAME shows: ..." at each shot);
# - no two lines show byte-identical shots, unless both say "same picture
#   on purpose". The scene's own shots are compared with each other
#   and with the committed shots of the other scenes' lines.
#   check_gallery.sh LOG SCENE_NAME SHOTS_DIR README
# Prints each fault as a line "gallery: ..." and ends with status 1 when
# there is one (tools/play_scene.sh passes over the known ones).
log="$1"; scene="$2"; shots="$3"; readme="$4"
docs=$(dirname "$readme")
status=0
rows=$(mktemp "${TMPDIR:-/tmp}/tvui-gallery-XXXXXX")
trap 'rm -f "$rows" "$rows.sums"' EXIT
# One line per gallery row: shot, scene, screen field, on-purpose mark.
awk -F'|' '/^\| !\[\]\(/ {
  shot = $2; sub(/.*!\[\]\(/, "", shot); sub(/\.png\).*/, "", shot)
  sc = $3; gsub(/^ +| +$/, "", sc)
  field = $4; gsub(/^ +| +$/, "", field)
  same = index($0, "same picture on purpose") > 0 ? "same" : "-"
  print shot "\t" sc "\t" field "\t" same
}' "$readme" >"$rows"
tab=$(printf '\t')
# Each row's picture (the scene's own rows from its shots, the others from
# the gallery) and its checksum, all summed by one cksum: shot, "CRC SIZE",
# on-purpose mark. A picture that is not there has no line.
awk -F'\t' -v sc="$scene" -v shots="$shots" -v docs="$docs" \
  '{ printf "%s/%s.png%c", ($2 == sc ? shots : docs), $1, 0 }' "$rows" |
  xargs -0 cksum 2>/dev/null |
  awk -v rows="$rows" 'BEGIN { while ((getline line < rows) > 0) { split(line, f, "\t"); same[f[1]] = f[4] } }
    { p = $0; sub(/^[^ ]+ [^ ]+ /, "", p); sub(/.*\//, "", p); sub(/\.png$/, "", p)
      print p "\t" $1 " " $2 "\t" same[p] }' >"$rows.sums"
sed -n 's/^.*key script: shot \([A-Za-z0-9_.-]*\) shows:\(.*\)$/\1\t\2/p' "$log" | while IFS="$tab" read -r shot open; do
  row=$(awk -F'\t' -v s="$shot" '$1 == s' "$rows")
  if [ -z "$row" ]; then
    echo "gallery: shot $shot has no line in $readme"
    status=1
    echo 1 >"$rows.fail"
    continue
  fi
  field=$(printf '%s\n' "$row" | cut -f3)
  if [ -z "$field" ]; then
    echo "gallery: the line of shot $shot names no screen"
    echo 1 >"$rows.fail"
  elif [ "$field" = "-" ]; then
    if [ -n "$(printf '%s' "$open" | tr -d ' ')" ]; then
      echo "gallery: shot $shot should show no screen; open:$open"
      echo 1 >"$rows.fail"
    fi
  else
    # Every name of the field must be open: a class as "Unit::Class (win",
    # a window id as "(win N)".
    printf '%s\n' "$field" | tr ',' '\n' | while read -r name; do
      [ -z "$name" ] && continue
      case "$name" in
        win\ *) want="($name)" ;;
        *) want=" $name (win" ;;
      esac
      case " $open" in
        *"$want"*) ;;
        *)
          echo "gallery: shot $shot should show $name; open:$open"
          echo 1 >"$rows.fail"
          ;;
      esac
    done
  fi
  # Byte-identical pictures of two lines.
  mine="$shots/$shot.png"
  [ -f "$mine" ] || continue
  sum=$(cksum <"$mine")
  same=$(printf '%s\n' "$row" | cut -f4)
  awk -F'\t' -v s="$shot" -v sum="$sum" -v same="$same" \
    '$1 != s && $2 == sum && !(same == "same" && $3 == "same") { print "gallery: shots " s " and " $1 " are the same picture" }' \
    "$rows.sums" | grep . && echo 1 >"$rows.fail"
done
if [ -f "$rows.fail" ]; then
  rm -f "$rows.fail"
  exit 1
fi
exit $status
