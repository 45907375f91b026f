// Resources::Bitmap: a GUI object holding premultiplied RGBA pixels.
//
// A bitmap with several frames keeps them side by side in one horizontal
// strip: frame i occupies the columns i * FrameWidth to (i + 1) * FrameWidth,
// the whole height. Image lists (Views::ImageList) use the same layout, so one
// strip serves both. A frame is a sub-surface of the strip (same stride).
#pragma once

#include <cstdint>
#include <vector>

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

  // Frame `frame` stretched to w x h: the pixels ge::GenScaleBitmap copies
  // for that stretch, to be drawn 1:1 (a copy or blend of them draws the
  // same pixels as the stretch itself). Icons placed in boxes of another
  // size are drawn this way, so they are stretched once, not at every draw.
  // The last few sizes asked for are kept; a kept copy is used again only
  // while the frame's pixels are the ones it was made from. Null pixels when
  // the stretch is too large to keep (or there is no frame): the caller
  // then stretches directly. Valid until the next call or until the pixels
  // change.
  ge::Surface GetScaledFrame(int32_t frame, int32_t w, int32_t h) const;
  // The most pixels a scaled copy and the frame it was made from may hold
  // together: larger stretches (full-screen pictures) are never duplicated.
  static constexpr int64_t kMaxScaledPixels = 16 * 1024;

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
  // A frame stretched to one size, with the frame's pixels it was made from.
  struct Scaled {
    int32_t frame = 0;
    ge::Bitmap source;
    ge::Bitmap pixels;
  };
  static constexpr size_t kScaledKept = 4;

  ge::Bitmap pixels_;
  mutable std::vector<Scaled> scaled_;  // most recently used first
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t frames_ = 1;
  mutable bool opaque_ = false;
};

}  // namespace Resources
