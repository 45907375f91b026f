// Feeds arbitrary bytes to the media service's picture reader: the header
// and EXIF reading, then the decode fitted into a small box and into the
// screen, as thumbnails and the photo viewer do.
//
// What must hold: no crash, sanitizer report or huge allocation; a picture
// that decodes is not empty, fits its box and is opaque; its upright size
// from the header is within the allowed limits.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_runtime.h"
#include "platform/psl/psl.h"
#include "platform/psl/psl_decode.h"

using fuzzrt::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  psl::PictureInfo info;
  std::string error;
  if (psl::ReadPictureInfo(data, size, &info, &error)) {
    Require(info.width > 0 && info.height > 0 && info.width <= PSL_PICTURE_MAX_SIDE &&
                info.height <= PSL_PICTURE_MAX_SIDE && int64_t{info.width} * info.height <= PSL_PICTURE_MAX_PIXELS);  // header size within the limits
    Require(info.orientation >= 1 && info.orientation <= 8);  // orientation 1 to 8
  }
  for (const auto& [w, h] : {std::pair{160, 120}, std::pair{PSL_PICTURE_WIDTH, PSL_PICTURE_HEIGHT}}) {
    psl::Image img;
    if (!psl::DecodePicture(data, size, w, h, &img, &info, &error)) {
      Require(!error.empty());  // a refusal has a reason
      continue;
    }
    Require(!img.Empty() && img.width <= w && img.height <= h);  // decoded picture fits its box
    Require(img.pixels.size() == size_t(img.width) * size_t(img.height));  // pixel count
    for (uint32_t p : img.pixels) Require((p >> 24) == 0xFF);  // opaque
  }
  return 0;
}
