#include "units/Graphics/Canvas.h"

#include "ge/fill.h"

namespace Graphics {

KV_REGISTER_CLASS(Canvas);

void Canvas::DrawPixel(int32_t x, int32_t y, kv::Color color) {
  const ge::Surface s = GetNativeSurface();
  if (!s.pixels || x < 0 || y < 0 || x >= s.width || y >= s.height) return;
  s.Row(y)[x] = ge::Premultiply(color.ToWord());
}

void Canvas::DrawRectangle(const kv::Rect& clip, const kv::Rect& rect, kv::Color color, bool blend) {
  const ge::Surface s = GetNativeSurface();
  if (!s.pixels) return;
  const ge::Rect c{clip.x1, clip.y1, clip.x2, clip.y2};
  const ge::Rect r{rect.x1, rect.y1, rect.x2, rect.y2};
  if (blend)
    ge::GenBlendRect(s, c, r, color.ToWord());
  else
    ge::GenFillRect(s, c, r, color.ToWord());
}

}  // namespace Graphics
