#!/bin/sh
# The key codes (src/keys) include nothing of the project; the runtime, the
# graphics engine and the platform stand-ins include nothing from src/units,
# src/host or src/factory; the factory command processor nothing from
# src/units, src/resources or src/host; the units and resources nothing from
# src/host. Every form counts: "host/x.h", <host/x.h>, "../host/x.h", and a
# path found beside the including file as well as one from src/.
# The units keep no key code of their own: a KEY_ constant, macro or
# enumerator defined in src/units is refused (the names live in
# src/keys/keycodes.h).
#   check_layers.sh [ROOT]
root=$(realpath -m "${1:-.}")
src="$root/src"
bad=""

# check DIRS... -- FORBIDDEN...
check() {
  dirs=""; while [ "$1" != "--" ]; do dirs="$dirs $src/$1"; shift; done; shift
  forbidden="$*"
  names=$(echo "$forbidden" | tr ' ' '|')
  # Only include lines that name a forbidden folder or climb out of their own.
  lines=$(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' $dirs 2>/dev/null |
          grep -E "[<\"/]($names)/|\.\./")
  [ -n "$lines" ] || return 0
  out=$(printf '%s\n' "$lines" | while IFS= read -r l; do
    file=${l%%:*}
    target=$(printf '%s' "$l" | sed -E 's/^[^:]*:[0-9]+:[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]*)[>"].*/\1/')
    for p in $(realpath -m -- "$(dirname "$file")/$target" "$src/$target"); do
      for f in $forbidden; do
        case "$p/" in "$src/$f/"*) echo "$l"; break 2 ;; esac
      done
    done
  done)
  [ -z "$out" ] || bad="$bad$out
"
}

check keys -- runtime ge platform factory units resources host
check runtime ge platform -- units host factory
check factory -- units host resources
check units resources -- host

# Key constants of the units: "#define KEY_x", "[static] [inline] constexpr|const
# <type> KEY_x =" or "{", and KEY_x declared as an enumerator.
keys=""
if [ -d "$src/units" ]; then
  keys=$(find "$src/units" -type f \( -name '*.h' -o -name '*.cpp' \) -exec awk '
    /^[[:space:]]*#[[:space:]]*define[[:space:]]+KEY_/ ||
    /(^|[^A-Za-z0-9_])const(expr)?[[:space:]][^=;(]*(^|[^A-Za-z0-9_:])KEY_[A-Za-z0-9_]*[[:space:]]*[={]/ {
      print FILENAME ":" FNR ":" $0; next
    }
    /(^|[^A-Za-z0-9_])enum([^A-Za-z0-9_]|$)/ { inEnum = 1 }
    inEnum && /(^|[{,])[[:space:]]*KEY_[A-Za-z0-9_]*[[:space:]]*(=|,|}|$)/ { print FILENAME ":" FNR ":" $0 }
    inEnum && /}/ { inEnum = 0 }
  ' {} +)
fi

if [ -n "$bad" ]; then
  echo "Layer violation:"; printf '%s' "$bad"
fi
if [ -n "$keys" ]; then
  echo "Key code defined outside src/keys/keycodes.h:"; printf '%s\n' "$keys"
fi
[ -z "$bad$keys" ] || exit 1
echo "layers ok"
