// The simulated picture of the main window (sim_tv_state.h).
#include <algorithm>
#include <memory>
#include <mutex>

#include "platform/sim/sim_tv_state.h"

namespace sim {

namespace {

constexpr int32_t kPictureWidth = 320;
constexpr int32_t kPictureHeight = 180;
constexpr uint32_t kOpaque = 0xFF000000u;

std::mutex g_sinkMutex;  // a leaf
std::shared_ptr<const PictureSink> g_sink;

uint32_t Rgb(int32_t r, int32_t g, int32_t b) {
  return kOpaque | static_cast<uint32_t>(b) << 16 | static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(r);
}

// Hue 0-359, saturation and value 0-255.
uint32_t Hsv(int32_t h, int32_t s, int32_t v) {
  h %= 360;
  const int32_t region = h / 60;
  const int32_t f = (h % 60) * 255 / 60;
  const int32_t p = v * (255 - s) / 255;
  const int32_t q = v * (255 - s * f / 255) / 255;
  const int32_t t = v * (255 - s * (255 - f) / 255) / 255;
  switch (region) {
    case 0: return Rgb(v, t, p);
    case 1: return Rgb(q, v, p);
    case 2: return Rgb(p, v, t);
    case 3: return Rgb(p, q, v);
    case 4: return Rgb(t, p, v);
    default: return Rgb(v, p, q);
  }
}

}  // namespace

void SetPictureSink(PictureSink sink) {
  auto next = sink ? std::make_shared<const PictureSink>(std::move(sink)) : nullptr;
  std::lock_guard<std::mutex> lock(g_sinkMutex);
  g_sink = std::move(next);
}

void DeliverPicture(const uint32_t* pixels, int32_t width, int32_t height) {
  std::shared_ptr<const PictureSink> sink;
  {
    std::lock_guard<std::mutex> lock(g_sinkMutex);
    sink = g_sink;
  }
  if (sink) (*sink)(pixels, width, height);
}

// A vertical ramp of the key's colour, lighter diagonal bands, and a disc in
// the opposite colour in the middle.
std::vector<uint32_t> MakePicture(uint32_t key, bool blank, int32_t* width, int32_t* height) {
  *width = kPictureWidth;
  *height = kPictureHeight;
  std::vector<uint32_t> pixels(static_cast<size_t>(kPictureWidth) * kPictureHeight, kOpaque);
  if (blank) return pixels;
  const auto hue = static_cast<int32_t>((key * 2654435761u) >> 16) % 360;
  const int32_t cx = kPictureWidth / 2, cy = kPictureHeight / 2, r = kPictureHeight / 4;
  const uint32_t disc = Hsv(hue + 180, 200, 230);
  for (int32_t y = 0; y < kPictureHeight; ++y) {
    const int32_t v = 90 + 140 * y / kPictureHeight;
    const uint32_t dark = Hsv(hue, 190, v);
    const uint32_t light = Hsv(hue, 110, v + 25);
    uint32_t* row = &pixels[static_cast<size_t>(y) * kPictureWidth];
    for (int32_t x = 0; x < kPictureWidth; ++x) {
      const int32_t dx = x - cx, dy = y - cy;
      if (dx * dx + dy * dy < r * r) row[x] = disc;
      else row[x] = ((x + y) / 24) % 2 ? light : dark;
    }
  }
  return pixels;
}

std::vector<uint32_t> PlacePicture(const std::vector<uint32_t>& picture, int32_t width, int32_t height,
                                   const std::array<int32_t, 4>& window) {
  std::vector<uint32_t> plane(static_cast<size_t>(kPlaneWidth) * kPlaneHeight, kOpaque);
  const int32_t wx = window[0], wy = window[1], ww = window[2], wh = window[3];
  if (width <= 0 || height <= 0 || ww <= 0 || wh <= 0) return plane;
  const int32_t x1 = std::max(wx, 0), y1 = std::max(wy, 0);
  const int32_t x2 = std::min(wx + ww, kPlaneWidth), y2 = std::min(wy + wh, kPlaneHeight);
  // Nearest neighbour, as the video scaler would.
  for (int32_t y = y1; y < y2; ++y) {
    const uint32_t* src = &picture[static_cast<size_t>(int64_t{y - wy} * height / wh) * static_cast<size_t>(width)];
    uint32_t* dst = &plane[static_cast<size_t>(y) * kPlaneWidth];
    for (int32_t x = x1; x < x2; ++x) dst[x] = src[int64_t{x - wx} * width / ww];
  }
  return plane;
}

// A network application's screen: a dark page in the application's hue with
// a title band and a grid of three rows of four rounded tiles, so that a
// running application never looks like live TV.
std::vector<uint32_t> MakeAppPicture(int32_t kind, int32_t* width, int32_t* height) {
  *width = kPictureWidth;
  *height = kPictureHeight;
  const int32_t hue = (kind * 97 + 200) % 360;
  std::vector<uint32_t> pixels(static_cast<size_t>(kPictureWidth) * kPictureHeight, Hsv(hue, 120, 40));
  auto fill = [&](int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour, int32_t corner) {
    for (int32_t y = y1; y < y2; ++y)
      for (int32_t x = x1; x < x2; ++x) {
        const int32_t dx = std::max({x1 + corner - x, x - (x2 - 1 - corner), 0});
        const int32_t dy = std::max({y1 + corner - y, y - (y2 - 1 - corner), 0});
        if (dx * dx + dy * dy <= corner * corner) pixels[static_cast<size_t>(y) * kPictureWidth + x] = colour;
      }
  };
  fill(0, 0, kPictureWidth, 24, Hsv(hue, 140, 90), 0);
  fill(12, 8, 120, 16, Hsv(hue, 30, 220), 3);
  constexpr int32_t kCols = 4, kRows = 3, kGap = 10, kTop = 36;
  const int32_t tileW = (kPictureWidth - (kCols + 1) * kGap) / kCols;
  const int32_t tileH = (kPictureHeight - kTop - kRows * kGap) / kRows;
  for (int32_t r = 0; r < kRows; ++r)
    for (int32_t c = 0; c < kCols; ++c) {
      const int32_t x = kGap + c * (tileW + kGap), y = kTop + r * (tileH + kGap);
      fill(x, y, x + tileW, y + tileH, Hsv(hue + 40 * (r * kCols + c), 150, 200), 6);
    }
  return pixels;
}

}  // namespace sim
