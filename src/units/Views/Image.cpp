#include "units/Views/Image.h"

#include <algorithm>

#include "ge/blit.h"
#include "runtime/panic.h"
#include "runtime/ref.h"
#include "units/Core/Log.h"
#include "units/Resources/Bitmap.h"
#include "units/Views/Align.h"

namespace Views {

KV_REGISTER_CLASS(Image);

Image::Image() {
  timer_.OnTrigger = kv::MakeSlot(this, &Image::DoStep);
  timer_.OnSetBegin(frameDelay_);
  timer_.OnSetPeriod(frameDelay_);
}

void Image::OnSetBitmap(Resources::Bitmap* bitmap) {
  if (bitmap == bitmap_.get()) return;
  const kv::Slot watch = kv::MakeSlot(this, &Image::DoBitmapChanged);
  if (bitmap_) kv::DetachObjObserver(watch, bitmap_.get());
  bitmap_ = bitmap;
  if (bitmap) kv::AttachObjObserver(watch, bitmap);
  InvalidateView();
  UpdateSize();
}

Resources::Bitmap* Image::OnGetBitmap() { return bitmap_.get(); }

void Image::OnSetOpacity(int32_t opacity) {
  if (opacity < 0 || opacity > 255) {
    Core::LogError("Views::Image: opacity %i is outside 0..255", {opacity});
    opacity = std::clamp(opacity, 0, 255);
  }
  if (opacity == opacity_) return;
  opacity_ = opacity;
  InvalidateView();
}

void Image::OnSetAutoSize(bool on) {
  if (on == autoSize_) return;
  autoSize_ = on;
  UpdateSize();
}

void Image::OnSetAlignH(int32_t align) {
  align = CheckAlign(align, ALIGN_STRETCH, "Views::Image AlignH");
  if (align == alignH_) return;
  alignH_ = align;
  InvalidateView();
}

void Image::OnSetAlignV(int32_t align) {
  align = CheckAlign(align, ALIGN_STRETCH, "Views::Image AlignV");
  if (align == alignV_) return;
  alignV_ = align;
  InvalidateView();
}

void Image::OnSetFrameNumber(int32_t frame) {
  if (frame < 0) {
    Core::LogError("Views::Image: frame number %i counts as 0", {frame});
    frame = 0;
  }
  if (frame == frame_) return;
  frame_ = frame;
  InvalidateView();
}

void Image::OnSetAnimated(bool on) {
  if (on == timer_.IsEnabled()) return;
  timer_.OnSetEnabled(on);
}

void Image::OnSetStartFrame(int32_t frame) { startFrame_ = std::max(frame, 0); }

void Image::OnSetFrameDelay(int32_t ms) {
  if (ms < 1) {
    Core::LogError("Views::Image: frame delay %i counts as 1", {ms});
    ms = 1;
  }
  frameDelay_ = ms;
  timer_.OnSetBegin(ms);
  timer_.OnSetPeriod(ms);
}

void Image::Activate(kv::Object* /*sender*/) {
  OnSetFrameNumber(FirstFrame());
  timer_.Activate();
}

int32_t Image::LastFrame() const {
  const int32_t last = bitmap_ ? bitmap_->OnGetNoOfFrames() - 1 : 0;
  return endFrame_ < 0 ? last : std::min(endFrame_, last);
}

int32_t Image::FirstFrame() const {
  const int32_t last = bitmap_ ? bitmap_->OnGetNoOfFrames() - 1 : 0;
  return std::min(startFrame_, last);
}

void Image::DoStep(kv::Object* /*sender*/) {
  const int32_t first = FirstFrame(), last = LastFrame();
  if (frame_ != last)
    OnSetFrameNumber(frame_ + (last > frame_ ? 1 : -1));
  else if (endless_)
    OnSetFrameNumber(first);
  if (!endless_ && frame_ == last) {
    timer_.OnSetEnabled(false);
    kv::Signal(OnFinished, this);
  }
}

void Image::DoBitmapChanged(kv::Object* /*sender*/) {
  InvalidateView();
  UpdateSize();
}

kv::Rect Image::AutoSizeBounds(const kv::Rect& bounds) const {
  if (!bitmap_) return bounds;
  const kv::Point size = bitmap_->GetFrameSize();
  return {bounds.x1, bounds.y1, bounds.x1 + size.x, bounds.y1 + size.y};
}

void Image::UpdateSize() {
  if (autoSize_) View::OnSetBounds(AutoSizeBounds(Bounds()));
}

void Image::OnSetBounds(kv::Rect bounds) { View::OnSetBounds(autoSize_ ? AutoSizeBounds(bounds) : bounds); }

kv::Rect Image::Placement(kv::Point origin, const ge::Surface& src) const {
  const kv::Rect r = Bounds().MoveTo(origin);
  int32_t dx = r.x1, dy = r.y1, dw = r.W(), dh = r.H();
  if (alignH_ != ALIGN_STRETCH) {
    dw = src.width;
    dx += AlignOffset(alignH_, r.W(), dw);
  }
  if (alignV_ != ALIGN_STRETCH) {
    dh = src.height;
    dy += AlignOffset(alignV_, r.H(), dh);
  }
  return {dx, dy, dx + dw, dy + dh};
}

void Image::CollectOpaque(const kv::Rect& clip, kv::Point origin, Core::OpaqueCover& cover) const {
  if (opacity_ < 255 || !bitmap_ || !bitmap_->IsOpaque()) return;
  const ge::Surface src = bitmap_->GetFrameSurface(frame_);
  if (!src.pixels) return;
  // Only the copy at the bitmap's own size is offered: it writes every pixel
  // of the placement.
  const kv::Rect placed = Placement(origin, src);
  if (placed.W() != src.width || placed.H() != src.height) return;
  cover.Add(placed.Intersect(clip));
}

void Image::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  if (!bitmap_ || !bitmap_->HasSurface()) return;
  const uint8_t op = CombineOpacity(opacity_, opacity);
  if (op == 0) return;
  const ge::Surface src = bitmap_->GetFrameSurface(frame_);
  if (!src.pixels) return;
  const kv::Rect placed = Placement(origin, src);
  // Opaque pixels at full opacity replace what is beneath: a copy draws the
  // same pixels as the blend, without reading the target.
  const bool copy = op == 255 && bitmap_->IsOpaque();
#ifdef KV_VERIFY
  // Checked builds hold the canvas to its word.
  if (copy)
    for (int32_t y = 0; y < src.height; ++y)
      for (int32_t x = 0; x < src.width; ++x)
        if ((src.Row(y)[x] >> 24) != 0xFF) kv::Panic("Views::Image: a bitmap said to be opaque has a see-through pixel");
#endif
  // A stretched frame is drawn from the bitmap's copy at this size, made
  // once for every image that shows the bitmap so (the same pixels).
  ge::Surface from = src;
  if (placed.W() != src.width || placed.H() != src.height) {
    const ge::Surface scaled = bitmap_->GetScaledFrame(frame_, placed.W(), placed.H());
    if (scaled.pixels) from = scaled;
  }
  ge::GenScaleBitmap(target, Core::ToGeRect(clip), from, placed.x1, placed.y1, placed.W(), placed.H(), 0, 0,
                     from.width, from.height, !copy, op);
}

}  // namespace Views
