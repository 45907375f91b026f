#include "runtime/path_text.h"

#include <cstdint>

namespace kv {

namespace {

// The length of the valid UTF-8 sequence at `i`, or 0.
size_t ValidSequence(std::string_view s, size_t i) {
  const auto b = static_cast<unsigned char>(s[i]);
  size_t extra;
  uint32_t cp, min;
  if (b < 0x80) return 1;
  if ((b & 0xE0) == 0xC0) {
    extra = 1, cp = b & 0x1F, min = 0x80;
  } else if ((b & 0xF0) == 0xE0) {
    extra = 2, cp = b & 0x0F, min = 0x800;
  } else if ((b & 0xF8) == 0xF0) {
    extra = 3, cp = b & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + extra >= s.size()) return 0;
  for (size_t k = 1; k <= extra; ++k) {
    const auto c = static_cast<unsigned char>(s[i + k]);
    if ((c & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (c & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return extra + 1;
}

}  // namespace

String PathFromBytes(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  size_t run = 0;  // start of the valid text not yet taken
  size_t i = 0;
  while (i < bytes.size()) {
    const size_t n = ValidSequence(bytes, i);
    if (n > 0) {
      i += n;
      continue;
    }
    out += String::FromUtf8(bytes.substr(run, i - run)).View();
    out.push_back(static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(bytes[i])));
    run = ++i;
  }
  out += String::FromUtf8(bytes.substr(run)).View();
  return String::FromUtf16(out);
}

std::string PathToBytes(const String& path) {
  std::string out;
  const std::u16string_view v = path.View();
  size_t run = 0;  // start of the text not yet written
  for (size_t i = 0; i < v.size(); ++i) {
    const char16_t c = v[i];
    const bool kept = c >= 0xDC80 && c <= 0xDCFF && (i == 0 || v[i - 1] < 0xD800 || v[i - 1] > 0xDBFF);
    if (!kept) continue;
    out += String::FromUtf16(v.substr(run, i - run)).ToUtf8();
    out.push_back(static_cast<char>(c - 0xDC00));
    run = i + 1;
  }
  out += String::FromUtf16(v.substr(run)).ToUtf8();
  return out;
}

}  // namespace kv
