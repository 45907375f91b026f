// How much of the picture a view puts there: the pixels of its on-screen
// box that change when it is hidden and the picture drawn again (`redraw`
// draws the whole picture, as AppTest::SeenTexts does). A view that is
// visible but draws nothing (no bitmap, no text) changes none.
#pragma once

#include <cstdint>
#include <vector>

#include "ge/surface.h"
#include "units/Core/View.h"

namespace apptest {

template <class Redraw>
size_t PixelsDrawnBy(Core::View& view, const ge::Surface& osd, Redraw redraw) {
  const kv::Rect r = view.GetAbsoluteBounds().Intersect({0, 0, osd.width, osd.height});
  redraw();
  std::vector<uint32_t> shown;
  for (int32_t y = r.y1; y < r.y2; ++y)
    for (int32_t x = r.x1; x < r.x2; ++x) shown.push_back(osd.Row(y)[x]);
  const bool visible = view.OnGetVisible();
  view.OnSetVisible(false);
  redraw();
  size_t i = 0, changed = 0;
  for (int32_t y = r.y1; y < r.y2; ++y)
    for (int32_t x = r.x1; x < r.x2; ++x) changed += osd.Row(y)[x] != shown[i++];
  view.OnSetVisible(visible);
  redraw();
  return changed;
}

}  // namespace apptest
