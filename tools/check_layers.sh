#!/bin/sh
# The key codes (src/keys) include nothing of the project; the runtime, the
# graphics engine and the platform stand-ins include nothing from src/units,
# src/host or src/factory; the factory command processor nothing from
# src/units, src/resources or src/host; the units and resources nothing from
# src/host; and a GUI unit nothing from a unit of its own rank or above (the
# unit order below). Every form counts: "host/x.h", <host/x.h>, "../host/x.h",
# and a path found beside the including file as well as one from src/.
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

# --- Unit order ------------------------------------------------------------
# The GUI units (src/units/<Unit>) by rank, lowest first: a unit includes only
# units of a lower rank, never one of its own rank or above. A new unit folder
# gets a rank here before it builds (docs/architecture.md, "Unit order").
unit_ranks='
0 Colors Constants Core PersistentData Resources Structures WinIDs
1 Bitmaps Curves Effects Events Fonts Forms Graphics ListWidgets Overlay
2 MessageDialogs Primitives Views
3 Agent Cursor PinEntry Progress WidgetManager
4 Button SubSystem Wrapper
5 Media OptionDatabase
6 SkinBin
7 ListForm
8 NonMenuSystem
9 FactorySystem MainApp MenuSystem ParentalLocks Update
10 Channels MediaPlayer Network ThreeD
11 InitialSetup QuickMenu
12 Record
'
# The includes that go up on purpose, "file header" under src/units, each
# with its reason. One that is no longer there makes the check fail, so the
# list only shrinks.
unit_exceptions='
# The widget manager keeps the list of open key-routing forms; the group a
# form is added to hands it over to be stacked by layer.
Primitives/KeyRoutingGroup.cpp WidgetManager/WidgetManager.h
# The base option records bind some options to the skin Wrapper'"'"'s own
# properties, and a slider asks the skin Wrapper for its range.
OptionDatabase/BaseModules.cpp SkinBin/OptionSkinBinding.h
OptionDatabase/OptionModule.cpp SkinBin/Wrapper.h
# The slide show reads its interval from the skin Wrapper'"'"'s media settings.
Media/SlideShowAnimator.cpp SkinBin/Wrapper.h
# The system information prepares the rows of its list as the list'"'"'s own
# records (ListForm::SystemInfoCourier).
SkinBin/SystemInfo.h ListForm/ListCourier.h
# The rating-level rows are the rating check boxes of the locks.
ListForm/RatingLists.h ParentalLocks/RatingItem.h
# Lists that call the non-menu sub-system of their dialog: its message bars,
# its waiting circle, its dialog base (the sub-system a list belongs to).
ListForm/CBLists.cpp NonMenuSystem/NonMenuSystem.h
ListForm/CBLists.cpp NonMenuSystem/WidgetClass.h
ListForm/GuideLists.cpp NonMenuSystem/NonMenuSystem.h
ListForm/InputLists.cpp NonMenuSystem/WidgetClass.h
ListForm/RecordLists.cpp NonMenuSystem/NonMenuSystem.h
# Live TV refuses a key while the photo grid is busy.
NonMenuSystem/LiveTV.cpp MediaPlayer/PhotoMultiView.h
'

# Each include between two units: "includer-unit included-unit file header line".
unit_includes() {
  grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' "$src/units" 2>/dev/null |
    sed -E 's/^([^:]*:[0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]*)[>"].*/\1 \2/' |
    while read -r at target; do
      file=${at%:*}
      # As the compiler looks: beside the including file first, then from src/.
      case "$target" in
        *..*) beside=$(realpath -m -- "${file%/*}/$target"); fromsrc=$(realpath -m -- "$src/$target") ;;
        units/*) beside="${file%/*}/$target"; fromsrc="$src/$target" ;;
        *) continue ;;  # a name beside the including file stays in its unit
      esac
      if [ -e "$beside" ]; then p=$beside
      elif [ -e "$fromsrc" ]; then p=$fromsrc
      else case "$target" in units/*) p=$fromsrc ;; *) p=$beside ;; esac
      fi
      case "$p" in "$src/units/"*/*) ;; *) continue ;; esac
      from=${file#"$src/units/"}; to=${p#"$src/units/"}
      [ "${from%%/*}" = "${to%%/*}" ] || echo "${from%%/*} ${to%%/*} $from $to $at"
    done
}

check_unit_order() {
  [ -d "$src/units" ] || return 0
  out=$(unit_includes | awk -v ranks="$unit_ranks" -v allowed="$unit_exceptions" -v units="$src/units" '
    BEGIN {
      n = split(ranks, l, "\n")
      for (i = 1; i <= n; i++) { k = split(l[i], w, " "); for (j = 2; j <= k; j++) rank[w[j]] = w[1] }
      n = split(allowed, l, "\n")
      for (i = 1; i <= n; i++) if (l[i] !~ /^#/ && split(l[i], w, " ") == 2) keep[w[1] " " w[2]] = 1
    }
    {
      pair = $3 " " $4; line = $0; sub(/^[^ ]+ [^ ]+ [^ ]+ [^ ]+ /, "", line)
      if (!($1 in rank)) { print line ": unit " $1 " has no rank"; next }
      if (!($2 in rank)) { print line ": unit " $2 " has no rank"; next }
      if (rank[$2] + 0 < rank[$1] + 0) next
      if (pair in keep) { used[pair] = 1; next }
      print line ": " $1 " (rank " rank[$1] ") includes " $2 " (rank " rank[$2] ")"
    }
    END {
      for (p in keep) if (!(p in used)) {
        split(p, w, " ")
        if ((getline x < (units "/" w[1])) > 0) print "src/units/" w[1] ": the exception for " w[2] " is no longer needed"
      }
    }')
  [ -z "$out" ] || bad="$bad$out
"
}

check_unit_order

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
