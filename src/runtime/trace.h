// Debug traces with single-letter conversions:
//   %s string, %i signed, %u unsigned, %b boolean, %* object, %e enumeration
//   value as an integer, %$ class by its name; other text is literal.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

#include "runtime/escaped_text.h"
#include "runtime/string.h"

namespace kv {

class Object;
struct Class;

struct TraceArg {
  enum Kind { kString, kInt, kUInt, kBool, kObject, kClass, kText } kind;
  int64_t i = 0;
  const void* p = nullptr;
  String s;
  TraceArg(const String& v) : kind(kString), s(v) {}                // NOLINT
  TraceArg(const char* v) : kind(kText), p(v) {}                     // NOLINT
  TraceArg(bool v) : kind(kBool), i(v) {}                            // NOLINT
  TraceArg(int32_t v) : kind(kInt), i(v) {}                          // NOLINT
  TraceArg(int64_t v) : kind(kInt), i(v) {}                          // NOLINT
  TraceArg(uint32_t v) : kind(kUInt), i(v) {}                        // NOLINT
  TraceArg(const Object* v) : kind(kObject), p(v) {}                 // NOLINT
  TraceArg(const Class* v) : kind(kClass), p(v) {}                   // NOLINT
  template <class E, std::enable_if_t<std::is_enum_v<E>, int> = 0>
  TraceArg(E v) : kind(kInt), i(static_cast<int64_t>(v)) {}          // NOLINT
};

// Formats one trace line (without the newline).
std::string FormatTrace(std::string_view format, std::initializer_list<TraceArg> args);
// Writes one trace line to the trace sink.
void Trace(std::string_view format, std::initializer_list<TraceArg> args = {});

// Where trace lines go (default: standard error). Null restores the default.
void SetTraceSink(std::function<void(std::string_view line)> sink);

// Log lines of the system (errors of middleware calls, refused input, the
// program's own notes): one line to standard error, also kept by the trace
// sink. Every line the program writes goes through here, so that lines of
// several threads never cut into each other. As a last guard a control byte
// (a newline among them) is written as \xNN and a line longer than
// kMaxLogLine bytes is cut; outside text is escaped and cut by EscapedText
// before it is put into a line (runtime/escaped_text.h).
void Log(std::string_view line);
inline constexpr size_t kMaxLogLine = 2048;

// Logs a failed platform call as "<call> Error 0x<status>" when the status
// is not 0; returns the status.
int32_t LogFailedCall(const char* call, int32_t status);

}  // namespace kv
