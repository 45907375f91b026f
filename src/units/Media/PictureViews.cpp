#include "units/Media/PictureViews.h"

#include <string>

#include "ge/blit.h"
#include "platform/psl/psl.h"
#include "runtime/path_text.h"
#include "runtime/ref.h"
#include "runtime/trace.h"

KV_REGISTER_CLASS(Media::ScalableImage);
KV_REGISTER_CLASS(Media::ExternalBitmap);
KV_REGISTER_CLASS(Media::ScalingCanvas);

namespace Media {

void ScalableImage::OnSetFrameNumber(int32_t frame) {
  if (frame != 0) {
    kv::Log("Media::ScalableImage: frame " + std::to_string(frame) + " refused; a picture shows frame 0");
    return;
  }
  Views::Image::OnSetFrameNumber(0);
}

void ExternalBitmap::OnSetFileName(const kv::String& name) {
  if (kv::CompString(name, FileName) == 0) return;
  FileName = name;
  LoadBitmap();
}

void ExternalBitmap::OnSetSize(kv::Point size) {
  Allocate(size.x, size.y);
  if (size.x >= 1 && size.y >= 1 && Width() == size.x && Height() == size.y) LoadBitmap();
}

void ExternalBitmap::LoadBitmap() {
  if (Width() < 1 || Height() < 1 || FileName.Length() == 0 || !ServiceSurface()) return;
  int32_t w = PictureWidth, h = PictureHeight;
  const int32_t status = PslGuiDecodeImage(globalPsl, ServiceSurface(), kv::PathToBytes(FileName).c_str(), &w, &h);
  if (status != PSL_OK) kv::LogFailedCall("PslGuiDecodeImage", status);
  PictureWidth = w;
  PictureHeight = h;
  kv::NotifyObjObservers(this);
}

void ScalingCanvas::DrawScaledBitmap(kv::Rect clip, kv::Rect dst, kv::Rect src, Resources::Bitmap* source,
                                     uint16_t mode, uint8_t opacity) {
  const ge::Surface target = GetSurface();
  if (!target.pixels || !source || !source->HasSurface()) return;
  ge::GenScaleBitmap(target, ge::Rect{clip.x1, clip.y1, clip.x2, clip.y2}, source->GetSurface(), dst.x1, dst.y1, dst.W(), dst.H(), src.x1, src.y1, src.W(),
                     src.H(), mode == 1, opacity);
}

}  // namespace Media
