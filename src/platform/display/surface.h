// A pixel buffer of the display layer: premultiplied RGBA, one uint32 per
// pixel with red in the low byte, then green, blue and alpha. Width, height
// and stride count pixels; the graphics engine wraps the plain fields
// (Pixels(), Width(), Height(), Stride()) in its own surface type.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace dfb {

class Surface {
 public:
  // Cleared to transparent black. Sizes below 1 become 1 (callers check first).
  // The pixels come zeroed: a large surface is mapped from the system
  // directly (not from the heap, which would have to clear reused memory),
  // pages that cost nothing until first drawn, so a buffer kept for later
  // (the viewer's second picture) is not written twice.
  Surface(int32_t width, int32_t height);

  uint32_t* Pixels() { return pixels_.get(); }
  const uint32_t* Pixels() const { return pixels_.get(); }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  int32_t Stride() const { return width_; }

  uint32_t At(int32_t x, int32_t y) const { return pixels_[size_t(y) * size_t(width_) + size_t(x)]; }
  void Clear(uint32_t pixel);
  // Swaps the pixels of two surfaces of one size, so that a picture laid out
  // on another thread is shown without copying it; pointers taken from
  // Pixels() before then point into the other surface. False, and nothing
  // swapped, when the sizes differ.
  bool Exchange(Surface& other);

 private:
  int32_t width_;
  int32_t height_;
  // Gives the pixels back: unmapped when mapped (`mapped` bytes), else freed.
  struct Free {
    size_t mapped;
    void operator()(uint32_t* p) const;
  };
  std::unique_ptr<uint32_t[], Free> pixels_{nullptr, Free{0}};
};

// The pixels of large surfaces are given back to the system on a thread of
// their own after the surface goes. Returns once every surface freed before
// the call has been given back.
void WaitForReleasedPixels();

// Packs bytes into a pixel word (red in the low byte).
constexpr uint32_t PackPixel(uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
  return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16) | ((a & 0xFF) << 24);
}

// Premultiplied source over destination.
uint32_t BlendOver(uint32_t src, uint32_t dst);

}  // namespace dfb
