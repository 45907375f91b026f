#include "runtime/string.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <vector>

#include "runtime/trace.h"

namespace kv {

namespace {

using detail::StringRep;

int64_t g_live = 0;

// Allocates an uninitialised representation of `len` units (len > 0) with
// one reference and the terminator already written.
StringRep* AllocRep(int32_t len) {
  size_t bytes = offsetof(StringRep, data) + (static_cast<size_t>(len) + 1) * sizeof(char16_t);
  auto* rep = static_cast<StringRep*>(::operator new(bytes));
  rep->refs = 1;
  rep->length = len;
  rep->data[len] = 0;
  ++g_live;
  return rep;
}

void Retain(StringRep* rep) {
  if (rep && rep->refs != StringRep::kImmortal) ++rep->refs;
}

void Release(StringRep* rep) {
  if (!rep || rep->refs == StringRep::kImmortal) return;
  if (--rep->refs == 0) {
    --g_live;
    ::operator delete(rep);
  }
}

// Latin-1 case tables. Characters whose other case lies outside Latin-1
// (ß, ÿ, µ) and the signs × and ÷ map to themselves.
constexpr std::array<uint8_t, 256> MakeLowerTable() {
  std::array<uint8_t, 256> t{};
  for (int c = 0; c < 256; ++c) {
    bool upper = (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
    t[c] = static_cast<uint8_t>(upper ? c + 0x20 : c);
  }
  return t;
}
constexpr std::array<uint8_t, 256> MakeUpperTable() {
  std::array<uint8_t, 256> t{};
  for (int c = 0; c < 256; ++c) {
    bool lower = (c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7);
    t[c] = static_cast<uint8_t>(lower ? c - 0x20 : c);
  }
  return t;
}
constexpr std::array<uint8_t, 256> kLower = MakeLowerTable();
constexpr std::array<uint8_t, 256> kUpper = MakeUpperTable();

String MapCase(const String& s, const std::array<uint8_t, 256>& table) {
  std::u16string_view v = s.View();
  // Returns the same string when nothing changes.
  size_t first = 0;
  while (first < v.size() && (v[first] > 0xFF || table[v[first]] == v[first])) ++first;
  if (first == v.size()) return s;
  std::u16string out(v);
  for (size_t i = first; i < out.size(); ++i)
    if (out[i] <= 0xFF) out[i] = table[out[i]];
  return String::FromUtf16(out);
}

// The decimal text of a magnitude, zero-padded, written into `out`
// (kMaxDecimalLength units); returns its length.
int32_t WriteDecimal(bool negative, uint32_t magnitude, int32_t digits, char16_t* out) {
  char16_t buf[kMaxDecimalLength];
  int32_t n = 0;
  do {
    buf[n++] = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  const int32_t width = std::min<int32_t>(digits, 32);
  while (n < width) buf[n++] = u'0';
  if (negative) buf[n++] = u'-';
  for (int32_t i = 0; i < n; ++i) out[i] = buf[n - 1 - i];
  return n;
}

String Decimal(bool negative, uint32_t magnitude, int32_t digits) {
  char16_t out[kMaxDecimalLength];
  return String::FromUtf16(out, WriteDecimal(negative, magnitude, digits, out));
}

// The part of [index, index + n) that lies within [0, len), as (begin, end).
std::pair<int32_t, int32_t> ClampRange(int32_t len, int32_t index, int32_t n) {
  int64_t b = std::max<int64_t>(index, 0);
  int64_t e = std::min<int64_t>(static_cast<int64_t>(index) + std::max<int32_t>(n, 0), len);
  if (b >= e) return {0, 0};
  return {static_cast<int32_t>(b), static_cast<int32_t>(e)};
}

}  // namespace

String::String(const String& o) : rep_(o.rep_) { Retain(rep_); }

String& String::operator=(const String& o) {
  Retain(o.rep_);
  Release(rep_);
  rep_ = o.rep_;
  return *this;
}

String& String::operator=(String&& o) noexcept {
  if (this != &o) {
    Release(rep_);
    rep_ = o.rep_;
    o.rep_ = nullptr;
  }
  return *this;
}

String::~String() { Release(rep_); }

int64_t String::LiveCount() { return g_live; }

String String::FromUtf16(const char16_t* s, int32_t len) {
  String r;
  if (!s || len <= 0) return r;
  r.rep_ = AllocRep(len);
  std::memcpy(r.rep_->data, s, static_cast<size_t>(len) * sizeof(char16_t));
  return r;
}

String String::FromUtf8(std::string_view s) {
  // Malformed sequences become U+FFFD, one per offending byte.
  std::u16string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    auto b = static_cast<unsigned char>(s[i]);
    uint32_t cp;
    int extra;
    uint32_t min;
    if (b < 0x80) {
      out.push_back(b);
      ++i;
      continue;
    } else if ((b & 0xE0) == 0xC0) {
      cp = b & 0x1F, extra = 1, min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
      cp = b & 0x0F, extra = 2, min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
      cp = b & 0x07, extra = 3, min = 0x10000;
    } else {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    bool ok = i + static_cast<size_t>(extra) < s.size();
    for (int k = 1; ok && k <= extra; ++k) {
      auto c = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
      if ((c & 0xC0) != 0x80) ok = false;
      else cp = (cp << 6) | (c & 0x3F);
    }
    if (!ok || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += static_cast<size_t>(extra) + 1;
  }
  return FromUtf16(out);
}

std::string String::ToUtf8() const {
  // Unpaired surrogates become U+FFFD.
  std::string out;
  std::u16string_view v = View();
  out.reserve(v.size());
  for (size_t i = 0; i < v.size(); ++i) {
    uint32_t cp = v[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < v.size() && v[i + 1] >= 0xDC00 && v[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (v[i + 1] - 0xDC00u);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

String NewStringAnsi(const char* text) {
  if (!text) return String();
  const size_t n = std::strlen(text);
  // Widened on the stack when short (titles, descriptions), so that the
  // string is the only allocation.
  char16_t small[256];
  std::u16string large;
  char16_t* out = small;
  if (n > std::size(small)) {
    large.resize(n);
    out = large.data();
  }
  for (size_t i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(text[i]);
  return String::FromUtf16(out, static_cast<int32_t>(n));
}

namespace {
// The magnitude is computed unsigned so that INT32_MIN works.
uint32_t Magnitude(int32_t value) { return value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value); }
}  // namespace

String NewStringInt(int32_t value, int32_t digits) { return Decimal(value < 0, Magnitude(value), digits); }

int32_t WriteDecimal(int32_t value, int32_t digits, char16_t* out) {
  return WriteDecimal(value < 0, Magnitude(value), digits, out);
}

String NewStringUInt(uint32_t value, int32_t digits) { return Decimal(false, value, digits); }

String NewStringChar(char16_t c, int32_t n) {
  if (n <= 0) return String();
  std::u16string out(static_cast<size_t>(n), c);
  return String::FromUtf16(out);
}

String ConcatString(const String& a, const String& b) {
  if (b.Empty()) return a;
  if (a.Empty()) return b;
  std::u16string out;
  out.reserve(static_cast<size_t>(a.Length()) + static_cast<size_t>(b.Length()));
  out.append(a.View());
  out.append(b.View());
  return String::FromUtf16(out);
}

int32_t CompString(const String& a, const String& b) {
  int c = a.View().compare(b.View());
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int32_t StringFind(const String& text, const String& part, int32_t start) {
  // An empty part is found at any start within [0, length]; a non-empty one
  // needs a start within [0, length).
  int32_t len = text.Length();
  if (start < 0 || start > len) return -1;
  if (part.Empty()) return start;
  if (start == len) return -1;
  size_t pos = text.View().find(part.View(), static_cast<size_t>(start));
  return pos == std::u16string_view::npos ? -1 : static_cast<int32_t>(pos);
}

int32_t StringFindChar(const String& text, char16_t c, int32_t start) {
  if (start < 0 || start >= text.Length()) return -1;
  size_t pos = text.View().find(c, static_cast<size_t>(start));
  return pos == std::u16string_view::npos ? -1 : static_cast<int32_t>(pos);
}

String StringLeft(const String& s, int32_t n) { return StringMiddle(s, 0, n); }

String StringRight(const String& s, int32_t n) {
  int32_t len = s.Length();
  n = std::clamp(n, 0, len);
  return StringMiddle(s, len - n, n);
}

String StringMiddle(const String& s, int32_t index, int32_t n) {
  auto [b, e] = ClampRange(s.Length(), index, n);
  if (b == 0 && e == s.Length()) return s;
  return String::FromUtf16(s.Data() + b, e - b);
}

String StringInsert(const String& s, const String& part, int32_t index) {
  if (part.Empty()) return s;
  index = std::clamp(index, 0, s.Length());
  std::u16string out(s.View());
  out.insert(static_cast<size_t>(index), part.View());
  return String::FromUtf16(out);
}

String StringRemove(const String& s, int32_t index, int32_t n) {
  auto [b, e] = ClampRange(s.Length(), index, n);
  if (b == e) return s;
  std::u16string out(s.View());
  out.erase(static_cast<size_t>(b), static_cast<size_t>(e - b));
  return String::FromUtf16(out);
}

String GetStringLower(const String& s) { return MapCase(s, kLower); }
String GetStringUpper(const String& s) { return MapCase(s, kUpper); }

void StringToAnsi(const String& s, char* buffer, int32_t size, char defaultChar) {
  if (!buffer || size <= 0) return;
  int32_t n = std::min(s.Length(), size - 1);
  const char16_t* d = s.Data();
  for (int32_t i = 0; i < n; ++i)
    buffer[i] = d[i] <= 0xFF ? static_cast<char>(static_cast<unsigned char>(d[i])) : defaultChar;
  buffer[n] = '\0';
}

String LoadStringFromFile(const char* path) {
  constexpr size_t kMaxBytes = 256 * 1024;
  if (!path) {
    Log("LoadStringFromFile: no path given");
    return String();
  }
  std::FILE* f = std::fopen(path, "rb");
  if (!f) {
    Log("LoadStringFromFile: cannot open " + EscapedText(path, kMaxLoggedPath));
    return String();
  }
  // One byte more than the limit tells a file that is too large.
  std::vector<unsigned char> bytes(kMaxBytes + 1);
  size_t n = std::fread(bytes.data(), 1, bytes.size(), f);
  bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) {
    Log("LoadStringFromFile: cannot read " + EscapedText(path, kMaxLoggedPath));
    return String();
  }
  if (n > kMaxBytes) {
    Log("LoadStringFromFile: " + EscapedText(path, kMaxLoggedPath) + " is larger than 262144 bytes");
    return String();
  }
  std::u16string out(n, u'\0');
  for (size_t i = 0; i < n; ++i) out[i] = bytes[i];
  return String::FromUtf16(out);
}

std::string ProgramFile(const std::string& relative) {
  namespace fs = std::filesystem;
  const fs::path path(relative);
  std::error_code ec;
  if (path.empty() || path.is_absolute() || fs::exists(path, ec)) return relative;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec && fs::exists(exe.parent_path() / path, ec)) return (exe.parent_path() / path).string();
  return relative;
}

}  // namespace kv
