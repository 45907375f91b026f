#!/bin/sh
# The layer check on a small tree: clean, it passes; each way of reaching a
# higher layer, planted in turn, makes it fail.
#   check_layers_test.sh CHECK_LAYERS_SH
check="$1"
tmp=$(mktemp -d "${TMPDIR:-/tmp}/layers-XXXXXX")
trap 'rm -rf "$tmp"' EXIT
fail=0
for d in runtime ge platform/sim units/Core resources host; do mkdir -p "$tmp/src/$d"; done
echo '#include "runtime/object.h"' >"$tmp/src/ge/base.h"
echo '#include "units/Core/View.h"' >"$tmp/src/units/Core/ok.h"
echo '#include "../platform/sim/sim.h"' >"$tmp/src/runtime/ok.h"
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
exit $fail
