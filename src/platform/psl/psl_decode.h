// Pictures of the media service: reading their size and EXIF fields,
// decoding (libjpeg-turbo with DCT scaling, libpng; GIF, BMP and WebP
// through FFmpeg's decoders), turning them upright,
// fitting them into a box and drawing them into a surface. Files come from
// outside: every reader checks sizes before it allocates, catches the
// libraries' error exits and answers failure with a reason instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace dfb {
class Surface;
}

namespace psl {

// Opaque pixels in the display's format (red in the low byte, alpha 255).
struct Image {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
  bool Empty() const { return width <= 0 || height <= 0; }
};

// What a picture file says about itself without decoding it.
struct PictureInfo {
  std::string type;  // "JPEG", "PNG", "GIF", "BMP", "WebP"
  int32_t width = 0;  // as stored (before the EXIF orientation)
  int32_t height = 0;
  int32_t orientation = 1;  // EXIF 1 .. 8
  std::string make, model;
  std::string date;  // "2023-07-14T18:02:33", or ""
  // Width and height the way the picture stands (orientations 5 to 8 swap them).
  int32_t UprightWidth() const { return orientation >= 5 ? height : width; }
  int32_t UprightHeight() const { return orientation >= 5 ? width : height; }
};

// Reads the header (and EXIF block) of a picture in memory. False with a
// reason for anything that is not a JPEG, PNG, GIF, BMP or WebP of an allowed size.
bool ReadPictureInfo(const uint8_t* data, size_t size, PictureInfo* info, std::string* error);

// Decodes a picture in memory, upright, fitted into boxW x boxH (never
// enlarged); JPEGs are decoded at the smallest DCT scale that still covers
// the box. False with a reason on any fault of the data.
bool DecodePicture(const uint8_t* data, size_t size, int32_t boxW, int32_t boxH, Image* out, PictureInfo* info,
                   std::string* error);

// Reads a whole regular file of at most maxBytes; false with a reason
// otherwise (a named pipe or a device is refused without waiting).
bool ReadFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>* out, std::string* error);

// Whether `path` (links followed) is a regular file: the libraries that
// open paths themselves (TagLib, FFmpeg) are given nothing else, since
// opening a named pipe waits for a writer.
bool IsRegularFile(const std::string& path);

// The picture turned clockwise by 90, 180 or 270 degrees (360: unchanged).
Image Rotate(const Image& in, int32_t angle);
// The picture scaled (area-averaged) to fit into boxW x boxH, keeping its
// proportions; a picture that already fits is returned as it is.
Image Fit(const Image& in, int32_t boxW, int32_t boxH);
// Clears the surface to opaque black and draws the picture centred on it.
void DrawCentred(const Image& in, dfb::Surface* surface);

}  // namespace psl
