#include "units/NonMenuSystem/WaitingCircle.h"

#include "units/Bitmaps/Bitmaps.h"
#include "units/Resources/Bitmap.h"
#include "units/Resources/Resources.h"

KV_REGISTER_CLASS(NonMenuSystem::WaitingCircle);

namespace NonMenuSystem {

Resources::Bitmap* WaitingCircle::CircleImage() { return Resources::LoadResource(Bitmaps::WaitingCircleKXD); }
Resources::Bitmap* WaitingCircle::RecordFlagImage() { return Resources::LoadResource(Bitmaps::RecordFlag); }

WaitingCircle::WaitingCircle() {
  OnSetBounds({0, 0, 36, 36});
  image_.OnSetBounds({0, 0, 36, 36});
  image_.OnSetAutoSize(true);
  image_.OnSetBitmap(CircleImage());
  image_.OnSetEndless(true);
  image_.OnSetAnimated(true);
  WaitingImage = RecordFlagImage();
  Add(&image_);
}

void WaitingCircle::OnSetWaitingImage(Resources::Bitmap* bitmap) {
  WaitingImage = bitmap;
  image_.OnSetBitmap(bitmap);
  const kv::Rect ib = image_.Bounds();
  const kv::Rect b = Bounds();
  OnSetBounds({b.x1, b.y1, b.x1 + ib.W(), b.y1 + ib.H()});
}

void WaitingCircle::OnSetVisible(bool visible) {
  KeyRoutingGroup::OnSetVisible(visible);
  image_.OnSetAnimated(visible);
}

}  // namespace NonMenuSystem
