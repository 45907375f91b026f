#!/bin/sh
# Plays one scene (a key script) headless on the virtual clock with a fresh
# data directory and fails on a failed run, a panic, an error line or a shot
# that differs from its pinned picture.
#   play_scene.sh TVUI SCENE.keys SHOTS_DIR [SAMPLE_MEDIA [LANGUAGE]]
# With LANGUAGE (spa for Spanish, fre for French) the set starts in that menu
# language, as the Setup menu leaves it (its state file holds the choice).
# A scene of a new set ("fresh set") picks its language on the first page of
# the first-time setup itself and is played as it stands (in English).
# A scene that starts with a stick plugged names its set of sample media in
# a line "media NAME"; SAMPLE_MEDIA (the sample_media tool, by default beside
# TVUI) writes that set into the scene's own temporary folder, which the run
# sees as a USB stick (--media-dir). A line "server NAME" writes the set
# NAME into the data directory's media/servers/NAME with a server.ini, which
# the media service presents as a home-network server named NAME.
# The checks of the picture (a text cut, partly hidden or overlapping
# another) log error lines; those of the cases tests/scenes/known-faults.txt
# lists ("FAULT | TEXT": TEXT names one report whole) are passed over
# (known_faults_filter, beside TVUI: the tests' own matcher, which refuses a
# TEXT that could pass over more than one report). Then the
# English shots are checked against docs/screens/README.md
# (tools/check_gallery.sh).
# Every shot is compared pixel for pixel with its pinned picture (shot_compare,
# beside TVUI): in English the gallery's docs/screens/NAME.png, in Spanish and
# French the digest on its line of tests/scenes/pinned-LANGUAGE.txt. A shot
# that differs is written to SHOTS_DIR/changed/LANGUAGE/NAME.png beside
# NAME-diff.png (its changed pixels in red), and both paths are printed;
# SHOTS_DIR/LANGUAGE/ keeps the last pictures that matched their pins.
# With TVUI_RENEW_SHOTS=DIR in the environment (`make shots`) a shot that
# differs becomes the reference instead of failing: the English PNG is
# written to docs/screens/, the scene's digests to DIR/LANGUAGE/SCENE.txt
# (merged into pinned-LANGUAGE.txt afterwards).
tvui="$1"; scene="$2"; shots="$3"; language="$5"
top=$(cd "$(dirname "$scene")/../.." && pwd)
writer="${4:-$(dirname "$tvui")/sample_media}"
data=$(mktemp -d "${TMPDIR:-/tmp}/tvui-scene-XXXXXX")
trap 'rm -rf "$data"' EXIT
case "$language" in
  ""|spa|fre) ;;
  *) echo "play_scene.sh: no menu language $language (spa or fre)"; exit 2 ;;
esac
if [ -n "$language" ] && grep -qx '[[:space:]]*fresh set[[:space:]]*' "$scene"; then
  echo "scene $scene: a new set picks its language on its first page; played as it stands"
  language=""
fi
compare="$(dirname "$tvui")/shot_compare"
known="$(dirname "$tvui")/known_faults_filter"
for tool in "$compare" "$known"; do
  if [ ! -x "$tool" ]; then echo "scene $scene: no $tool"; exit 2; fi
done
pinned="$shots"
shots="$data/shots"
mkdir -p "$shots"
out="$data/log.txt"
set -- --headless --keys "$scene" --shots "$shots" --data-dir "$data/data"
media=$(sed -n 's/^[[:space:]]*media[[:space:]]\{1,\}\([A-Za-z0-9_.-]\{1,\}\)[[:space:]]*$/\1/p' "$scene" | head -n 1)
if [ -n "$media" ]; then
  if ! "$writer" --set "$media" "$data/stick"; then echo "scene $scene: the media set $media could not be written"; exit 1; fi
  set -- "$@" --media-dir "$data/stick"
fi
mkdir -p "$data/data"
if [ -n "$language" ]; then
  # The register table's menu language, read at start as the Setup menu left it.
  printf 'reg.s.menu_language=%s\n#end 1\n' "$language" >"$data/data/tvsim.state"
fi
server=$(sed -n 's/^[[:space:]]*server[[:space:]]\{1,\}\([A-Za-z0-9_.-]\{1,\}\)[[:space:]]*$/\1/p' "$scene" | head -n 1)
if [ -n "$server" ]; then
  dir="$data/data/media/servers/$server"
  if ! "$writer" --set "$server" "$dir"; then echo "scene $scene: the media set $server could not be written"; exit 1; fi
  printf 'name=%s\n' "$server" >"$dir/server.ini"
fi
"$tvui" "$@" >"$out" 2>&1
status=$?
cat "$out"
if [ $status -ne 0 ]; then echo "scene $scene: tvui ended with status $status"; exit 1; fi
if ! "$known" 'PANIC|Error 0x|[Ee]rror:|ERROR' <"$out" >"$data/errors.txt"; then
  cat "$data/errors.txt"
  echo "scene $scene: error lines in the log"; exit 1
fi
name=$(basename "$scene" .keys)
if [ -z "$language" ]; then
  "$top/tools/check_gallery.sh" "$out" "$name" "$shots" "$top/docs/screens/README.md" >"$data/gallery.txt"
  cat "$data/gallery.txt"
  if ! "$known" '^gallery:' <"$data/gallery.txt" >/dev/null; then
    echo "scene $scene: the shots do not match the gallery"; exit 1
  fi
  "$compare" png "$shots" "$top/docs/screens" "$pinned/changed/eng" ${TVUI_RENEW_SHOTS:+--renew}
  compared=$?
else
  "$compare" digest "$shots" "$top/tests/scenes/pinned-$language.txt" "$name" "$pinned/$language" \
    "$pinned/changed/$language" ${TVUI_RENEW_SHOTS:+--renew "$TVUI_RENEW_SHOTS/$language/$name.txt"}
  compared=$?
fi
if [ $compared -ne 0 ]; then
  echo "scene $scene${language:+ ($language)}: shots differ from their pinned pictures (see docs/testing.md, \"Pinned pictures\")"
  exit 1
fi
echo "scene $scene${language:+ ($language)}: ok"
