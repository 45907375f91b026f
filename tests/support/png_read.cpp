#include "png_read.h"

#include <png.h>

namespace kvtest {

bool ReadPng(const std::string& path, PngImage* out) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGBA;
  out->width = image.width;
  out->height = image.height;
  out->rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, out->rgba.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  return true;
}

}  // namespace kvtest
