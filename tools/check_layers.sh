#!/bin/sh
# The runtime, the graphics engine and the platform stand-ins include nothing
# from src/units, src/host or src/factory; the factory command processor
# nothing from src/units, src/resources or src/host; the units and resources
# nothing from src/host. Every form counts: "host/x.h", <host/x.h>, "../host/x.h", and a
# path found beside the including file as well as one from src/.
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

check runtime ge platform -- units host factory
check factory -- units host resources
check units resources -- host

if [ -n "$bad" ]; then
  echo "Layer violation:"; printf '%s' "$bad"; exit 1
fi
echo "layers ok"
