// Outside text for a log line. Header only, so that the settings store,
// which stands alone, escapes with the same helper as the rest.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kv {

// Outside text for a log line (names and texts from the set, the network,
// files and the command line): printable ASCII as it is, every other byte
// (and the backslash) as \xNN, cut after `maxChars` bytes of the text with
// "..." when longer, so that a line of garbage stays short and harmless.
// Paths, which are longer than names, take kMaxLoggedPath.
inline constexpr size_t kMaxLoggedName = 40;
inline constexpr size_t kMaxLoggedPath = 240;

inline std::string EscapedText(std::string_view text, size_t maxChars = kMaxLoggedName) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : text.substr(0, maxChars)) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else {
      out += "\\x";
      out += kDigits[c >> 4];
      out += kDigits[c & 15];
    }
  }
  if (text.size() > maxChars) out += "...";
  return out;
}

}  // namespace kv
