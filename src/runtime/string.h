// kv::String: an immutable, reference-counted string of 16-bit code units.
// GUI task only (the count is not atomic). A null string equals the empty
// string; the empty string and literals are immortal.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

namespace detail {
struct StringRep {
  uint32_t refs;     // kImmortal for literals
  int32_t length;
  char16_t data[1];  // length + 1 units, zero-terminated
  static constexpr uint32_t kImmortal = 0xffffffffu;
};
template <size_t N>
struct StaticStringRep {
  uint32_t refs = StringRep::kImmortal;
  int32_t length = N - 1;
  char16_t data[N];
  constexpr StaticStringRep(const char16_t (&s)[N]) : data{} {  // NOLINT
    for (size_t i = 0; i < N; ++i) data[i] = s[i];
  }
};
}  // namespace detail

class String {
 public:
  String() = default;
  String(const String& o);
  String(String&& o) noexcept : rep_(o.rep_) { o.rep_ = nullptr; }
  String& operator=(const String& o);
  String& operator=(String&& o) noexcept;
  ~String();

  // A new string of `len` code units.
  static String FromUtf16(const char16_t* s, int32_t len);
  static String FromUtf16(std::u16string_view s) { return FromUtf16(s.data(), static_cast<int32_t>(s.size())); }
  // A new string from UTF-8 text (tests and logs; constants come from string tables).
  static String FromUtf8(std::string_view s);
  // Wraps an immortal static representation (see KV_STR).
  static String FromStatic(const detail::StringRep* rep) {
    String s;
    s.rep_ = const_cast<detail::StringRep*>(rep);
    return s;
  }

  int32_t Length() const { return rep_ ? rep_->length : 0; }
  bool Empty() const { return Length() == 0; }
  // Zero-terminated code units; never null.
  const char16_t* Data() const { return rep_ ? rep_->data : u""; }
  char16_t At(int32_t i) const { return (i >= 0 && i < Length()) ? rep_->data[i] : 0; }
  std::u16string_view View() const { return {Data(), static_cast<size_t>(Length())}; }
  std::string ToUtf8() const;

  bool operator==(const String& o) const { return View() == o.View(); }
  bool operator!=(const String& o) const { return !(*this == o); }

  // Number of live non-immortal strings (for leak tests).
  static int64_t LiveCount();

 private:
  detail::StringRep* rep_ = nullptr;
};

// An immortal literal: KV_STR(u"text").
#define KV_STR(lit)                                                                          \
  ([]() -> ::kv::String {                                                                    \
    static constexpr ::kv::detail::StaticStringRep kvRep(lit);                               \
    return ::kv::String::FromStatic(reinterpret_cast<const ::kv::detail::StringRep*>(&kvRep)); \
  }())

// 8-bit text is Latin-1.
String NewStringAnsi(const char* text);
// Decimal text, zero-padded to `digits` digits (at most 32; 0 or negative pads nothing).
String NewStringInt(int32_t value, int32_t digits);
// The longest text NewStringInt makes: 32 digits and a sign.
inline constexpr int32_t kMaxDecimalLength = 33;
// NewStringInt's text written into `out` (room for kMaxDecimalLength units),
// for texts put together without a string per number; returns its length.
int32_t WriteDecimal(int32_t value, int32_t digits, char16_t* out);
String NewStringUInt(uint32_t value, int32_t digits);
// `n` copies of one character.
String NewStringChar(char16_t c, int32_t n);
// a followed by b; when one side is empty the other is returned unchanged.
String ConcatString(const String& a, const String& b);
// -1, 0 or 1 by the first differing code unit; null counts as empty.
int32_t CompString(const String& a, const String& b);
// Index of the first occurrence at or after start; -1 when start is negative
// or outside the text or nothing is found; start itself for an empty part
// (for which start == length is still inside: an empty part ends every text).
int32_t StringFind(const String& text, const String& part, int32_t start);
int32_t StringFindChar(const String& text, char16_t c, int32_t start);
// Parts keep to the text: Middle and Remove act on the part of
// [index, index + n) inside it; Insert clamps its index to [0, length].
String StringLeft(const String& s, int32_t n);
String StringRight(const String& s, int32_t n);
String StringMiddle(const String& s, int32_t index, int32_t n);
String StringInsert(const String& s, const String& part, int32_t index);
String StringRemove(const String& s, int32_t index, int32_t n);
String GetStringLower(const String& s);
String GetStringUpper(const String& s);
inline int32_t GetStringLength(const String& s) { return s.Length(); }
inline char16_t GetStringChar(const String& s, int32_t i) { return s.At(i); }
// Copies into an 8-bit (Latin-1) buffer of `size` bytes including the
// terminator; characters that do not fit become `defaultChar`.
void StringToAnsi(const String& s, char* buffer, int32_t size, char defaultChar);
// The whole text of a file (at most 256 KB, read as Latin-1) as a new string;
// a larger or unreadable file gives the empty string and a log line.
String LoadStringFromFile(const char* path);
// Where a file the program ships with (its font, its licence text) is found:
// an absolute path as given; a relative one under the working folder when it
// is there, else next to the executable (a run started from another folder),
// else under the working folder again, so that the error names that path.
std::string ProgramFile(const std::string& relative);

}  // namespace kv
