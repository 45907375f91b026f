#!/bin/sh
# The layer check on a small tree: clean, it passes; each way of reaching a
# higher layer or a unit of the same or a higher rank, and each form of a key
# code defined in a unit, planted in turn, makes it fail.
#   check_layers_test.sh CHECK_LAYERS_SH
check="$1"
tmp=$(mktemp -d "${TMPDIR:-/tmp}/layers-XXXXXX")
trap 'rm -rf "$tmp"' EXIT
fail=0
for d in keys runtime ge platform/sim units/Core resources host; do mkdir -p "$tmp/src/$d"; done
echo '#include "runtime/object.h"' >"$tmp/src/ge/base.h"
echo '#include "units/Core/View.h"' >"$tmp/src/units/Core/ok.h"
echo '#include "../platform/sim/sim.h"' >"$tmp/src/runtime/ok.h"
printf '%s\n' '#include <cstdint>' 'namespace keys {' 'constexpr uint16_t KEY_OK = 1;' '}' >"$tmp/src/keys/keycodes.h"
# A unit that uses the key names, gives a key a role of its own and has an
# option id with KEY in its name: all allowed.
cat >"$tmp/src/units/Core/keys_ok.cpp" <<'EOF2'
#include "keys/keycodes.h"
#include "units/Core/View.h"
using namespace keys;
constexpr uint16_t kScanKey = KEY_RED;
static constexpr uint16_t kDefaultKey = keys::KEY_UP;
inline constexpr int32_t OPTION_TYPE_KEY_ID = 0x0400000B;
enum class Verdict { Refuse, Accept };
enum Step { kFirst = KEY_OK, kSecond };
bool Taken(uint16_t code) { const bool ok = code == KEY_OK; return ok || code == KEY_EXIT; }
EOF2
if ! sh "$check" "$tmp" >/dev/null; then echo "FAIL: a clean tree was refused"; fail=1; fi
plant() {  # FILE LINE
  echo "$2" >"$tmp/src/$1"
  if sh "$check" "$tmp" >/dev/null; then echo "FAIL: not caught: $1: $2"; fail=1; else echo "caught: $1: $2"; fi
  rm "$tmp/src/$1"
}
plant ge/a.h '#include <host/app.h>'
plant ge/a.h '#include "host/app.h"'
plant ge/a.h '  #  include   <units/Core/View.h>'
plant runtime/a.h '#include "../host/app.h"'
plant platform/sim/a.h '#include "../../units/Core/View.h"'
plant units/Core/a.h '#include <host/gui_loop.h>'
plant units/Core/a.h '#include "../../host/gui_loop.h"'
plant resources/a.h '#include "host/gui_loop.h"'
plant keys/a.h '#include "runtime/object.h"'
plant units/Core/a.cpp 'constexpr uint16_t KEY_EXIT = 45;'
plant units/Core/a.h '  static inline constexpr uint16_t KEY_BACK{41};'
plant units/Core/a.cpp 'const int KEY_OK = 1;'
plant units/Core/a.h '#define KEY_MENU 3'
plant units/Core/a.h '  #  define KEY_MENU 3'
plant units/Core/a.h 'enum Keys : uint16_t { KEY_UP = 4, KEY_DOWN };'
plant units/Core/a.h "$(printf 'enum class Keys {\n  kNone,\n  KEY_LEFT = 6,\n};')"
plant units/Core/a.h "$(printf 'enum {\n  KEY_RIGHT\n};')"

# The unit order: a unit includes only units of a lower rank.
for d in units/Effects units/SkinBin units/ListForm units/Primitives; do mkdir -p "$tmp/src/$d"; done
echo '#include "units/Core/View.h"' >"$tmp/src/units/Effects/ok.h"
echo '#include "../Effects/Effect.h"' >"$tmp/src/units/SkinBin/ok.cpp"
echo '#include "Effect.h"' >"$tmp/src/units/Effects/ok.cpp"
echo '#include "units/WidgetManager/WidgetManager.h"' >"$tmp/src/units/Primitives/KeyRoutingGroup.cpp"
if ! sh "$check" "$tmp" >/dev/null; then echo "FAIL: a tree in the unit order was refused"; fail=1; fi
plant units/Core/a.h '#include "units/Effects/Effect.h"'
plant units/Core/a.cpp '#include "../Effects/Effect.h"'
plant units/Effects/a.h '#include <units/SkinBin/Wrapper.h>'
plant units/ListForm/a.cpp '  #  include "units/../units/SkinBin/../ListForm/../../units/MainApp/Root.h"'
plant units/Effects/a.h '#include "units/Fonts/Fonts.h"'
plant units/SkinBin/a.h '#include "units/NewUnit/New.h"'
mkdir -p "$tmp/src/units/NewUnit"
plant units/NewUnit/a.h '#include "units/Core/View.h"'
# An exception covers its own file only, and one no longer needed fails.
plant units/Primitives/KeyRoutingForm.cpp '#include "units/WidgetManager/WidgetManager.h"'
echo '#include "units/Core/View.h"' >"$tmp/src/units/Primitives/KeyRoutingGroup.cpp"
if sh "$check" "$tmp" >/dev/null; then echo "FAIL: an exception no longer needed was kept"; fail=1; else echo "caught: an exception no longer needed"; fi
exit $fail
