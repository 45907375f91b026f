// Graphics::RootCanvas: a canvas over pixels owned elsewhere, such as the
// display window's OSD buffer. Setting a size gives it pixels of its own
// again (and detaches it).
#pragma once

#include "units/Graphics/Canvas.h"

namespace Graphics {

class RootCanvas : public Canvas {
  KV_CLASS(Graphics, RootCanvas, Canvas)
 public:
  RootCanvas() = default;

  // Draws into `surface` from now on; its pixels must outlive the
  // attachment. The size becomes the surface's size.
  void Attach(const ge::Surface& surface);
  // Drops the attachment; the canvas has no size afterwards.
  void Detach();
  bool IsAttached() const { return attached_.pixels != nullptr; }

  using Canvas::OnSetSize;
  void OnSetSize(kv::Point size) override;
  ge::Surface GetSurface() const override;

 private:
  ge::Surface attached_;
};

}  // namespace Graphics
