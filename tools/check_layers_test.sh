#!/bin/sh
# The layer check on a small tree: clean, it passes; each way of reaching a
# higher layer, and each form of a key code defined in a unit, planted in
# turn, makes it fail.
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
exit $fail
