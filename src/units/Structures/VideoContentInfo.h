// Structures::VideoContentInfo: the picture on a window as the middleware
// describes it.
#pragma once

#include <cstdint>

#include "runtime/object.h"

namespace Structures {

class VideoContentInfo : public kv::Object {
  KV_CLASS(Structures, VideoContentInfo, kv::Object)
 public:
  VideoContentInfo() = default;

  // In the order of the middleware's answer (XPM_GetVideoContentInfo).
  int32_t Width = 0;        // pixels
  int32_t Height = 0;       // lines
  int32_t ScanType = 0;     // 1 interlaced, 2 progressive
  int32_t FrameRate = 0;    // frame-rate code
  int32_t AspectRatio = 0;  // 1 4:3, 2 16:9
  int32_t ColorFormat = 0;  // 0 RGB full range, 3 RGB limited range, 1 YUV 4:4:4, others YUV 4:2:2
  int32_t ContentType = 0;  // the answer's seventh word
  int32_t ColorDepth = 0;   // 4 8 bit, 5 10 bit, 6 12 bit
  uint8_t PCTiming = 0;     // the signal has a PC timing
};

}  // namespace Structures
