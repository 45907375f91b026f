#include "units/MediaPlayer/FileSize.h"

#include "runtime/text.h"
#include "strings/MediaPlayer.h"

namespace MediaPlayer {

kv::String FileSizeText(int32_t code) {
  if (code == -1) return {};
  const auto raw = static_cast<uint32_t>(code);
  const uint32_t unit = raw >> 30;
  const kv::String digits = kv::NewStringUInt(raw & 0x3FFFFFFFu, 1);
  const kv::String separator = kv::GetVariantOfString(SIZE_DIGIT_SEPARATOR);
  const int32_t n = digits.Length();
  // The first group takes what is left over when the rest come in threes.
  const int32_t first = n % 3 == 0 ? 3 : n % 3;
  kv::String number = kv::StringLeft(digits, first);
  for (int32_t i = first; i < n; i += 3)
    number = kv::ConcatString(kv::ConcatString(number, separator), kv::StringMiddle(digits, i, 3));
  const kv::String unitCaption = unit == 0   ? kv::GetVariantOfString(SIZE_UNIT_BYTES)
                                 : unit == 1 ? kv::LoadString(SIZE_UNIT_KB)
                                             : kv::LoadString(SIZE_UNIT_MB);
  return kv::ConcatString(kv::ConcatString(kv::GetVariantOfString(SIZE_PREFIX), number), unitCaption);
}

}  // namespace MediaPlayer
