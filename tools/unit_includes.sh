#!/bin/sh
# Lists the includes from one GUI unit to another: "Includer -> Included N"
# (N include lines), or with -f one line per include, "file -> header".
# Used to see which unit leans on which when choosing the unit order that
# tools/check_layers.sh enforces.
#   unit_includes.sh [-f] [ROOT]
files=""
[ "$1" = "-f" ] && { files=1; shift; }
src="$(realpath -m "${1:-.}")/src"
grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]units/[^/]+/' "$src/units" |
  sed -E "s|^$src/units/([^/]+)/([^:]*):[0-9]+:[^<\"]*[<\"]units/([^/]+)/([^>\"]*)[>\"].*|\1 \1/\2 \3 \3/\4|" |
  awk -v files="$files" '$1 != $3 { if (files) print $2 " -> " $4; else n[$1 " -> " $3]++ }
       END { for (e in n) print e " " n[e] }' | sort
