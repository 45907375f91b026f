// NonMenuSystem::WaitingCircle: the animated indicator in the top-right
// corner (a spinning circle while the set waits, the record flag when a
// recording starts). It is a plain child group of the sub-system, not a
// screen of the widget manager, so closing the layers leaves it; the
// sub-system shows, hides and removes it (ShowWaitingCircle).
#pragma once

#include "runtime/member.h"
#include "units/Primitives/KeyRoutingGroup.h"
#include "units/Views/Image.h"

namespace Resources {
class Bitmap;
}

namespace NonMenuSystem {

class WaitingCircle : public Primitives::KeyRoutingGroup {
  KV_CLASS(NonMenuSystem, WaitingCircle, Primitives::KeyRoutingGroup)
 public:
  WaitingCircle();

  // Shows the bitmap and takes its size (the position stays).
  void OnSetWaitingImage(Resources::Bitmap* bitmap);
  Resources::Bitmap* OnGetWaitingImage() const { return WaitingImage.get(); }
  void Exit() { Close(); }
  // The image animates only while the indicator is shown.
  void OnSetVisible(bool visible) override;

  static Resources::Bitmap* CircleImage();
  static Resources::Bitmap* RecordFlagImage();

  Views::Image& ImageView() { return image_; }

  kv::Member<Resources::Bitmap> WaitingImage;

 private:
  Views::Image image_;
};

}  // namespace NonMenuSystem
