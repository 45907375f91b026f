// Where the update screens and their follow-up notices stand.
#pragma once

#include <cstdint>

#include "runtime/geometry.h"

namespace Core {
class View;
}

namespace Update {

// The origin that centres a screen of that size on 960 x 540 (no lift).
kv::Point CentreOnScreen(int32_t width, int32_t height);
// Moves `view` so that it stands centred over `area`.
void CentreOver(Core::View* view, const kv::Rect& area);

}  // namespace Update
