// Resources::Bitmap: a GUI object holding premultiplied RGBA pixels.
//
// A bitmap with several frames keeps them side by side in one horizontal
// strip: frame i occupies the columns i * FrameWidth to (i + 1) * FrameWidth,
// the whole height. Image lists (Views::ImageList) use the same layout, so one
// strip serves both. A frame is a sub-surface of the strip (same stride).
#pragma once

#include <cstdint>

#include "ge/surface.h"
#include "runtime/geometry.h"
#include "runtime/object.h"

namespace Resources {

class Bitmap : public kv::Object {
  KV_CLASS(Resources, Bitmap, kv::Object)
 public:
  Bitmap() = default;

  // Sets the size of the whole strip and allocates its pixels, transparent
  // black. Negative sizes are logged and count as 0. Derived classes that
  // load pixels from elsewhere override it.
  virtual void OnSetSize(kv::Point size);
  kv::Point OnGetSize() const { return {width_, height_}; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

  // Number of frames in the strip (at least 1; smaller values are logged).
  void OnSetNoOfFrames(int32_t frames);
  int32_t OnGetNoOfFrames() const { return frames_; }
  // Size of one frame: the strip's width divided by the number of frames.
  kv::Point GetFrameSize() const { return {width_ / frames_, height_}; }

  // True when the bitmap has pixels to draw from.
  bool HasSurface() const { return GetSurface().pixels != nullptr; }
  // The whole strip; pixels are null when the bitmap has no size.
  virtual ge::Surface GetSurface() const { return pixels_.View(); }
  // One frame; the number is clamped to the frames that exist.
  ge::Surface GetFrameSurface(int32_t frame) const;

  // True while every pixel is known to be opaque (alpha 255): a view may then
  // copy the pixels instead of blending them. Only a canvas that a whole
  // opaque picture was just laid on says so; drawing into it again, or new
  // pixels, end it.
  bool IsOpaque() const { return opaque_; }

 protected:
  // Set by a canvas for the picture laid on it, cleared whenever its pixels
  // are handed out for drawing (hence mutable: handing out is const).
  void SetOpaque(bool opaque) const { opaque_ = opaque; }
  // Drops the owned pixels (for canvases that show pixels owned elsewhere).
  void ReleasePixels();
  void SetSizeFields(int32_t w, int32_t h) {
    width_ = w;
    height_ = h;
  }

 private:
  ge::Bitmap pixels_;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t frames_ = 1;
  mutable bool opaque_ = false;
};

}  // namespace Resources
