// Turning a picture that one of FFmpeg's decoders made into pixels of the
// display's format, through libswscale (GIF, BMP and WebP pictures, movie
// thumbnails and the video plane).
#pragma once

#include <cstdint>
#include <string>

#include "platform/psl/psl_decode.h"

struct AVFrame;

namespace psl {

// The decoded frame converted, and scaled to w x h (at most the picture
// limits), with libswscale's `flags` (SWS_POINT, SWS_BILINEAR, ...):
// opaque, transparent parts over black. libswscale writes whole blocks of
// pixels and expects rows aligned to its own boundary, so it writes into a
// frame of FFmpeg's own allocation (rows padded to that alignment, slack
// after the last), whose rows are then copied into `out`. False with a
// reason when the frame's format cannot be converted.
bool FrameToImage(const AVFrame* frame, int32_t w, int32_t h, int flags, Image* out, std::string* error);

}  // namespace psl
