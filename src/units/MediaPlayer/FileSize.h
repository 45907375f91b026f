// The file-size text of the media screens (player banners, browser).
//
// The Wrapper's GetFileSize answers a size code: the top two bits are the
// unit (0 bytes, 1 KiB, 2 MiB), the low 30 bits the number, and -1 when
// the size cannot be read. The code is read as unsigned: sizes of 1 GiB and
// more have the top bit set and are still shown (in MB).
#pragma once

#include <cstdint>

#include "runtime/string.h"

namespace MediaPlayer {

// "Size: 1,234,567 KB"; empty for -1 (no size). Groups of three digits
// counted from the right are separated.
kv::String FileSizeText(int32_t code);

}  // namespace MediaPlayer
