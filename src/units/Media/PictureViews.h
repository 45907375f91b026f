// Views and canvases of pictures that come from the media service rather
// than from compiled-in resources: Media::ScalableImage (the image the
// slide show drives; frame 0 only), Media::ExternalBitmap (a canvas that
// decodes a picture file by name through the service, at its own size) and
// Media::ScalingCanvas (draws another bitmap scaled into a rectangle).
#pragma once

#include <cstdint>

#include "runtime/geometry.h"
#include "runtime/string.h"
#include "units/Graphics/RootCanvas.h"
#include "units/Media/DataItems.h"
#include "units/Views/Image.h"

namespace Media {

class ScalableImage : public Views::Image {
  KV_CLASS(Media, ScalableImage, Views::Image)
 public:
  ScalableImage() = default;
  void OnSetSourceRect(kv::Rect rect) { SourceRect = rect; }
  kv::Rect OnGetSourceRect() const { return SourceRect; }
  // Only frame 0 is shown; other frames are refused (logged).
  void OnSetFrameNumber(int32_t frame) override;

  kv::Rect SourceRect{};
};

// Decodes FileName at the canvas's size whenever either changes (a size of
// 0 x 0 or an empty name loads nothing); observers of the canvas are told.
class ExternalBitmap : public ServiceCanvas {
  KV_CLASS(Media, ExternalBitmap, ServiceCanvas)
 public:
  ExternalBitmap() = default;
  void OnSetFileName(const kv::String& name);
  const kv::String& OnGetFileName() const { return FileName; }
  using ServiceCanvas::OnSetSize;
  void OnSetSize(kv::Point size) override;
  void LoadBitmap();

  kv::String FileName;
  // The picture's size as the service reported it.
  int32_t PictureWidth = 0;
  int32_t PictureHeight = 0;
};

class ScalingCanvas : public Graphics::RootCanvas {
  KV_CLASS(Media, ScalingCanvas, Graphics::RootCanvas)
 public:
  ScalingCanvas() = default;
  // Stretches `source`'s `src` part onto `dst` inside `clip`: mode 1 blends
  // with the opacity (0 draws nothing), other modes copy.
  void DrawScaledBitmap(kv::Rect clip, kv::Rect dst, kv::Rect src, Resources::Bitmap* source, uint16_t mode,
                        uint8_t opacity);
};

}  // namespace Media
