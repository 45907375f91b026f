// Utility operations of the Wrapper: bits, days of the week, channel
// numbers, strings and numbers.
#include <cstdint>

#include "runtime/string.h"
#include "runtime/trace.h"
#include "units/Wrapper/Wrapper.h"

namespace Wrapper {

int32_t Wrapper::IsBitSet(int32_t mask, int32_t bit) {
  return static_cast<int32_t>((static_cast<uint32_t>(mask) >> (bit & 31)) & 1u);
}

int32_t Wrapper::SetBit(int32_t mask, int32_t bit, bool on) {
  uint32_t m = static_cast<uint32_t>(mask);
  uint32_t b = 1u << (bit & 31);
  return static_cast<int32_t>(on ? (m | b) : (m & ~b));
}

int32_t Wrapper::GetDaysOfWeek(bool d0, bool d1, bool d2, bool d3, bool d4, bool d5, bool d6) {
  const bool days[] = {d0, d1, d2, d3, d4, d5, d6};
  int32_t mask = 0;
  for (int32_t i = 0; i < 7; ++i)
    if (days[i]) mask |= 1 << i;
  return mask;
}

int32_t Wrapper::UniteChannelNum(int32_t major, int32_t minor) {
  return static_cast<int32_t>((static_cast<uint32_t>(major) << 16) | (static_cast<uint32_t>(minor) & 0xffffu));
}

int32_t Wrapper::SplitChannelNum(int32_t number, bool wantMajor) {
  if (wantMajor) return number >> 16;
  return static_cast<int16_t>(static_cast<uint32_t>(number) & 0xffffu);
}

kv::String Wrapper::ReplaceString(const kv::String& text, const kv::String& oldPart, const kv::String& newPart) {
  if (oldPart.Empty()) return text;
  // Searching again from the start finds occurrences that a replacement
  // joins together; when the new text holds the old one that would never
  // end, so the search goes on after the inserted text instead.
  const bool newHoldsOld = kv::StringFind(newPart, oldPart, 0) >= 0;
  // A bound against rewrites that keep growing the text.
  constexpr int32_t kMaxLength = 1 << 20;
  kv::String result = text;
  int32_t from = 0;
  for (int32_t pos; (pos = kv::StringFind(result, oldPart, from)) >= 0;) {
    result = kv::ConcatString(kv::ConcatString(kv::StringLeft(result, pos), newPart),
                              kv::StringRight(result, result.Length() - pos - oldPart.Length()));
    if (result.Length() > kMaxLength) {
      kv::Log("Wrapper::ReplaceString: the text grows without end; replacing stopped");
      break;
    }
    from = newHoldsOld ? pos + newPart.Length() : 0;
  }
  return result;
}

kv::String Wrapper::ParseStringItem(const kv::String& text, int32_t index, char16_t separator) {
  if (index < 0) return {};
  int32_t start = 0;
  for (int32_t i = 0; i < index; ++i) {
    int32_t sep = kv::StringFindChar(text, separator, start);
    if (sep < 0) return {};
    start = sep + 1;
  }
  if (start > text.Length()) return {};
  int32_t end = kv::StringFindChar(text, separator, start);
  if (end < 0) end = text.Length();
  return kv::StringMiddle(text, start, end - start);
}

int32_t Wrapper::String2Int(const kv::String& text) {
  // Computed in 64 bits and wrapped to 32, so that long or odd text gives a
  // defined (if meaningless) number.
  int32_t length = text.Length();
  if (length == 0) return 0;
  bool negative = text.At(0) == u'-';
  uint64_t value = 0;
  for (int32_t i = negative ? 1 : 0; i < length; ++i)
    value = value * 10u + static_cast<uint64_t>(static_cast<int64_t>(text.At(i)) - u'0');
  if (negative) value = 0u - value;
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

kv::Point Wrapper::GetCenterPosition(int32_t width, int32_t height, int32_t innerWidth, int32_t innerHeight) {
  return {(width - innerWidth) / 2, (height - innerHeight) / 2};
}

}  // namespace Wrapper
