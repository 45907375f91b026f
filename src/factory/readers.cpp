#include "factory/readers.h"

#include <cstring>

namespace factory {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// The next white-space separated word of `in`, advancing it; empty at the end.
std::string_view NextWord(std::string_view& in) {
  size_t i = 0;
  while (i < in.size() && IsSpace(in[i])) ++i;
  size_t j = i;
  while (j < in.size() && !IsSpace(in[j])) ++j;
  const std::string_view word = in.substr(i, j - i);
  in.remove_prefix(j);
  return word;
}

// A decimal with an optional sign, within [lo, hi].
bool ParseInt(std::string_view s, int32_t lo, int32_t hi, int32_t* out) {
  if (s.empty()) return false;
  bool negative = false;
  size_t i = 0;
  if (s[0] == '-' || s[0] == '+') {
    negative = s[0] == '-';
    i = 1;
  }
  if (i == s.size() || s.size() - i > 6) return false;
  int32_t v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    v = v * 10 + (s[i] - '0');
  }
  if (negative) v = -v;
  if (v < lo || v > hi) return false;
  *out = v;
  return true;
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool ReadModuleIdentity(std::string_view output) {
  std::string_view vendor, device;
  for (int pair = 0; pair < 2; ++pair) {
    const std::string_view name = NextWord(output);
    const std::string_view value = NextWord(output);
    if (name == "vendorid") vendor = value;
    else if (name == "deviceid") device = value;
    else return false;
  }
  return vendor == "0x14e4" && device == "0x4346";
}

bool ReadSignal(std::string_view output, int32_t* antenna0, int32_t* antenna1) {
  bool has0 = false, has1 = false;
  for (std::string_view word = NextWord(output); !word.empty() && !(has0 && has1); word = NextWord(output)) {
    const bool is0 = word.find("rssi[0]") != std::string_view::npos;
    const bool is1 = word.find("rssi[1]") != std::string_view::npos;
    if (!is0 && !is1) continue;
    int32_t v = 0;
    if (!ParseInt(NextWord(output), -32768, 32767, &v)) return false;
    if (is0) {
      *antenna0 = v;
      has0 = true;
    } else {
      *antenna1 = v;
      has1 = true;
    }
  }
  return has0 && has1;
}

int32_t ReadWlanTestFile(std::string_view text, WlanTestFile* out) {
  *out = WlanTestFile{};
  for (int32_t line = 0; line < 4; ++line) {
    const size_t end = text.find('\n');
    std::string_view row = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    const std::string_view name = NextWord(row);
    const std::string_view value = NextWord(row);
    if (name.empty() || value.empty()) return line;
    int32_t v = 0;
    if (StartsWith(name, "ssid")) {
      if (value.size() > static_cast<size_t>(kSsidBytes)) return line;
      std::memcpy(out->ssid, value.data(), value.size());
    } else if (StartsWith(name, "key")) {
      if (value.size() > static_cast<size_t>(kKeyBytes)) return line;
      std::memcpy(out->key, value.data(), value.size());
    } else if (StartsWith(name, "ant_a")) {
      if (!ParseInt(value, -32768, 32767, &v)) return line;
      out->mainThreshold = static_cast<int16_t>(v);
    } else if (StartsWith(name, "ant_b")) {
      if (!ParseInt(value, -32768, 32767, &v)) return line;
      out->subThreshold = static_cast<int16_t>(v);
    } else {
      return line;
    }
  }
  return -1;
}

bool IsUsableMacAddress(std::string_view text) {
  if (text.size() != 17) return false;
  int octets[6];
  for (int i = 0; i < 6; ++i) {
    const int hi = HexDigit(text[i * 3]);
    const int lo = HexDigit(text[i * 3 + 1]);
    if (hi < 0 || lo < 0) return false;
    if (i < 5 && text[i * 3 + 2] != ':') return false;
    octets[i] = hi * 16 + lo;
  }
  bool allZero = true, allOnes = true;
  for (int o : octets) {
    allZero = allZero && o == 0;
    allOnes = allOnes && o == 0xFF;
  }
  return !allZero && !allOnes && (octets[0] & 1) == 0;
}

}  // namespace factory
