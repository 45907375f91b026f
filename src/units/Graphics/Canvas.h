// Graphics::Canvas: a bitmap to draw into (thumbnails, decoded pictures).
#pragma once

#include <cstdint>

#include "runtime/geometry.h"
#include "units/Resources/Bitmap.h"

namespace Graphics {

class Canvas : public Resources::Bitmap {
  KV_CLASS(Graphics, Canvas, Resources::Bitmap)
 public:
  Canvas() = default;

  using Resources::Bitmap::OnSetSize;
  // Sets the size and allocates transparent pixels (through the virtual
  // OnSetSize, so derived canvases see it).
  void OnSetSize(int32_t width, int32_t height) { OnSetSize(kv::Point{width, height}); }

  // The pixels drawn into; pixels are null while the canvas has no size.
  // What is drawn may be see-through, so the canvas is no longer known opaque.
  ge::Surface GetNativeSurface() const {
    SetOpaque(false);
    return GetSurface();
  }

  // Sets one pixel to the colour (straight alpha, stored premultiplied).
  // Points outside the canvas are ignored.
  void DrawPixel(int32_t x, int32_t y, kv::Color color);
  // Fills the part of `rect` inside `clip` and the canvas: with `blend` the
  // colour is drawn over the pixels, else it replaces them.
  void DrawRectangle(const kv::Rect& clip, const kv::Rect& rect, kv::Color color, bool blend);
};

}  // namespace Graphics
