#!/bin/sh
# The runtime, the graphics engine and the platform stand-ins include nothing
# from src/units or src/host; the units include nothing from src/host.
root="${1:-.}"
bad=$(grep -rnE '#include *"(units|host)/' "$root/src/runtime" "$root/src/ge" "$root/src/platform" 2>/dev/null)
bad="$bad$(grep -rnE '#include *"host/' "$root/src/units" "$root/src/resources" 2>/dev/null)"
if [ -n "$bad" ]; then
  echo "Layer violation:"; echo "$bad"; exit 1
fi
echo "layers ok"
