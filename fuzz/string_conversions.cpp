// Feeds arbitrary bytes to the string conversions: 8-bit (Latin-1) text in
// and out, UTF-16 code units in, UTF-8 in and out, and the Latin-1 case
// mapping. The first byte is the size of the 8-bit buffer to copy into; the
// rest is taken both as 8-bit text and as little-endian 16-bit units.
//
// What must hold: no crash or sanitizer report; an 8-bit text comes back
// unchanged; a copy into a buffer is cut to the buffer and terminated, with
// the default character for units outside Latin-1; UTF-8 out and in gives the
// same units, unpaired surrogates replaced; case mapping keeps the length.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_runtime.h"
#include "runtime/string.h"

using fuzzrt::Require;

namespace {

constexpr char kDefault = '?';

bool IsHigh(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLow(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// The units with every unpaired surrogate replaced by U+FFFD.
std::u16string Paired(std::u16string_view v) {
  std::u16string out(v);
  for (size_t i = 0; i < out.size(); ++i) {
    if (IsHigh(out[i]) && i + 1 < out.size() && IsLow(out[i + 1])) {
      ++i;
    } else if (IsHigh(out[i]) || IsLow(out[i])) {
      out[i] = 0xFFFD;
    }
  }
  return out;
}

void CheckToAnsi(const kv::String& s, int32_t size) {
  const size_t room = size > 0 ? static_cast<size_t>(size) : 0;
  std::vector<char> buffer(room + 1, 'x');
  kv::StringToAnsi(s, buffer.data(), size, kDefault);
  Require(buffer[room] == 'x');  // nothing written past the buffer
  if (size <= 0) {
    Require(buffer[0] == 'x');
    return;
  }
  const int32_t n = std::min(s.Length(), size - 1);
  Require(buffer[static_cast<size_t>(n)] == '\0');
  for (int32_t i = 0; i < n; ++i) {
    const char16_t u = s.At(i);
    const char want = u <= 0xFF ? static_cast<char>(static_cast<unsigned char>(u)) : kDefault;
    Require(buffer[static_cast<size_t>(i)] == want);
  }
}

void CheckCase(const kv::String& s) {
  const kv::String lower = kv::GetStringLower(s);
  const kv::String upper = kv::GetStringUpper(s);
  Require(lower.Length() == s.Length() && upper.Length() == s.Length());
  for (int32_t i = 0; i < s.Length(); ++i)
    if (s.At(i) > 0xFF) Require(lower.At(i) == s.At(i) && upper.At(i) == s.At(i));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzrt::Start();
  if (size == 0) return 0;
  const int32_t bufferSize = static_cast<int32_t>(data[0]) - 8;  // a few sizes of zero and below
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  // 8-bit text: as a C string it ends at the first zero byte.
  const std::string cText(bytes.c_str());
  const kv::String ansi = kv::NewStringAnsi(cText.c_str());
  Require(static_cast<size_t>(ansi.Length()) == cText.size());
  for (size_t i = 0; i < cText.size(); ++i)
    Require(ansi.At(static_cast<int32_t>(i)) == static_cast<unsigned char>(cText[i]));
  CheckToAnsi(ansi, bufferSize);
  CheckCase(ansi);

  // 16-bit units.
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) | (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
  const kv::String wide = kv::String::FromUtf16(units);
  Require(wide.View() == std::u16string_view(units));
  CheckToAnsi(wide, bufferSize);
  CheckCase(wide);
  Require(kv::String::FromUtf8(wide.ToUtf8()).View() == std::u16string_view(Paired(units)));

  // UTF-8 in: what comes in once goes out and in again unchanged.
  const kv::String utf8 = kv::String::FromUtf8(bytes);
  const std::string out = utf8.ToUtf8();
  Require(kv::String::FromUtf8(out) == utf8);
  Require(kv::String::FromUtf8(out).ToUtf8() == out);
  return 0;
}
