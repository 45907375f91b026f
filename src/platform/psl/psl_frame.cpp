#include "platform/psl/psl_frame.h"

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

#include <cstring>
#include <memory>

#include "platform/display/surface.h"
#include "platform/psl/psl.h"

namespace psl {

bool FrameToImage(const AVFrame* frame, int32_t w, int32_t h, int flags, Image* out, std::string* error) {
  *out = Image{};
  auto fail = [error](const char* why) {
    if (error) *error = why;
    return false;
  };
  if (!frame || frame->width <= 0 || frame->height <= 0 || w <= 0 || h <= 0 || w > PSL_PICTURE_MAX_SIDE ||
      h > PSL_PICTURE_MAX_SIDE || int64_t{w} * h > PSL_PICTURE_MAX_PIXELS)
    return fail("picture size out of range");
  std::unique_ptr<SwsContext, void (*)(SwsContext*)> sws(
      sws_getContext(frame->width, frame->height, static_cast<AVPixelFormat>(frame->format), w, h, AV_PIX_FMT_RGBA,
                     flags, nullptr, nullptr, nullptr),
      sws_freeContext);
  if (!sws) return fail("the picture's pixel format cannot be converted");
  // The destination as the library allocates it: each row's stride a
  // multiple of its alignment for this machine, room after the last row.
  std::unique_ptr<AVFrame, void (*)(AVFrame*)> rgba(av_frame_alloc(), [](AVFrame* f) { av_frame_free(&f); });
  if (!rgba) return fail("out of memory");
  rgba->format = AV_PIX_FMT_RGBA;
  rgba->width = w;
  rgba->height = h;
  if (av_frame_get_buffer(rgba.get(), 0) < 0) return fail("out of memory");
  if (sws_scale(sws.get(), frame->data, frame->linesize, 0, frame->height, rgba->data, rgba->linesize) != h)
    return fail("the picture cannot be converted");
  out->width = w;
  out->height = h;
  out->pixels.resize(size_t(w) * size_t(h));
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* row = rgba->data[0] + ptrdiff_t(y) * rgba->linesize[0];
    uint32_t* to = out->pixels.data() + size_t(y) * size_t(w);
    std::memcpy(to, row, size_t(w) * sizeof(uint32_t));
    for (int32_t x = 0; x < w; ++x) {
      // Bytes R, G, B, A: red in the low byte, as the display has it.
      const uint32_t p = to[x], a = p >> 24;
      if (a != 255)
        to[x] = dfb::PackPixel((p & 0xFF) * a / 255, ((p >> 8) & 0xFF) * a / 255, ((p >> 16) & 0xFF) * a / 255, 255);
    }
  }
  return true;
}

}  // namespace psl
