#include "ge/surface.h"

namespace ge {

Bitmap::Bitmap(int32_t width, int32_t height)
    : width_(width > 0 && height > 0 ? width : 0), height_(width > 0 && height > 0 ? height : 0) {
  if (width_ > 0) {
    pixels_ = std::make_unique<uint32_t[]>(static_cast<size_t>(width_) * static_cast<size_t>(height_));
  }
}

void Bitmap::Resize(int32_t width, int32_t height) {
  const bool empty = width <= 0 || height <= 0;  // negative sizes count as 0
  if (empty ? width_ == 0 : width == width_ && height == height_) return;
  *this = Bitmap(width, height);
}

}  // namespace ge
