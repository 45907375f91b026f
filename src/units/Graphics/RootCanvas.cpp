#include "units/Graphics/RootCanvas.h"

namespace Graphics {

KV_REGISTER_CLASS(RootCanvas);

void RootCanvas::Attach(const ge::Surface& surface) {
  ReleasePixels();
  attached_ = surface;
  if (!surface.pixels) attached_ = {};
  SetSizeFields(attached_.width, attached_.height);
}

void RootCanvas::Detach() {
  attached_ = {};
  SetSizeFields(0, 0);
}

void RootCanvas::OnSetSize(kv::Point size) {
  attached_ = {};
  Canvas::OnSetSize(size);
}

ge::Surface RootCanvas::GetSurface() const { return attached_.pixels ? attached_ : Canvas::GetSurface(); }

}  // namespace Graphics
