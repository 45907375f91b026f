// Reading back a PNG the program wrote (screenshots), as straight RGBA.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kvtest {

struct PngImage {
  uint32_t width = 0, height = 0;
  std::vector<uint8_t> rgba;  // 4 bytes a pixel, rows without padding
};

// False when the file is missing or not a PNG.
bool ReadPng(const std::string& path, PngImage* out);

}  // namespace kvtest
