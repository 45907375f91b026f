#include "runtime/trace.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <utility>

#include "runtime/object.h"
#include "runtime/trace_level.h"

namespace kv {

namespace {

// Stand-in threads log too, so the sink is guarded; it is called outside the
// lock, so a sink may log itself.
struct SinkState {
  std::mutex mutex;
  std::function<void(std::string_view)> sink;
};
SinkState& Sink() {
  static SinkState s;
  return s;
}

std::function<void(std::string_view)> CurrentSink() {
  SinkState& s = Sink();
  std::lock_guard<std::mutex> lock(s.mutex);
  return s.sink;
}

// One fwrite per line, so that lines of several threads do not interleave.
void WriteStderr(std::string_view line) {
  std::string out(line);
  out.push_back('\n');
  std::fwrite(out.data(), 1, out.size(), stderr);
}

// A log line as it may reach a terminal: C0 control bytes, DEL and the C1
// controls of UTF-8 (U+0080 to U+009F) as \xNN, other text as it is; cut
// after kMaxLogLine bytes with the count of what was left out.
std::string SafeLine(std::string_view line) {
  static constexpr char kDigits[] = "0123456789abcdef";
  auto hex = [](std::string& out, unsigned char c) {
    out += "\\x";
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  };
  std::string out;
  out.reserve(std::min(line.size(), kMaxLogLine) + 8);
  size_t i = 0;
  for (; i < line.size() && out.size() < kMaxLogLine; ++i) {
    const auto c = static_cast<unsigned char>(line[i]);
    if (c < 0x20 || c == 0x7F) {
      hex(out, c);
    } else if (c == 0xC2 && i + 1 < line.size() && static_cast<unsigned char>(line[i + 1]) < 0xA0 &&
               static_cast<unsigned char>(line[i + 1]) >= 0x80) {
      hex(out, c);
      hex(out, static_cast<unsigned char>(line[++i]));
    } else {
      out += static_cast<char>(c);
    }
  }
  if (i < line.size()) out += "... (" + std::to_string(line.size() - i) + " bytes more)";
  return out;
}

void AppendHex(std::string& out, uintptr_t v) {
  char buf[2 + 2 * sizeof(uintptr_t) + 1];
  std::snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(v));
  out += buf;
}

void AppendClass(std::string& out, const Class* cls) {
  out += cls && cls->name ? cls->name : "null";
}

void AppendObject(std::string& out, const Object* obj) {
  if (!obj) {
    out += "null";
    return;
  }
  AppendClass(out, ClassOf(obj));
  out += '@';
  AppendHex(out, reinterpret_cast<uintptr_t>(obj));
}

// Formats one argument for conversion `conv`. An argument of another kind
// than the conversion expects is printed by its own kind, so that a wrong
// format never loses information or crashes.
void AppendArg(std::string& out, char conv, const TraceArg& a) {
  switch (a.kind) {
    case TraceArg::kString:
      out += a.s.ToUtf8();
      return;
    case TraceArg::kText:
      out += a.p ? static_cast<const char*>(a.p) : "null";
      return;
    case TraceArg::kObject:
      if (conv == '$') AppendClass(out, ClassOf(static_cast<const Object*>(a.p)));
      else AppendObject(out, static_cast<const Object*>(a.p));
      return;
    case TraceArg::kClass:
      AppendClass(out, static_cast<const Class*>(a.p));
      return;
    case TraceArg::kBool:
    case TraceArg::kInt:
    case TraceArg::kUInt:
      break;
  }
  if (conv == 'b' || (a.kind == TraceArg::kBool && conv != 'i' && conv != 'u' && conv != 'e')) {
    out += a.i ? "true" : "false";
  } else if (conv == 'u' && a.i < 0) {
    // As the value would read when passed as a 32-bit unsigned word.
    uint64_t u = a.i >= INT32_MIN ? static_cast<uint32_t>(a.i) : static_cast<uint64_t>(a.i);
    out += std::to_string(u);
  } else {
    out += std::to_string(a.i);
  }
}

}  // namespace

std::string FormatTrace(std::string_view format, std::initializer_list<TraceArg> args) {
  std::string out;
  out.reserve(format.size() + 16 * args.size());
  auto next = args.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    char c = format[i];
    if (c != '%' || i + 1 == format.size()) {
      out += c;
      continue;
    }
    char conv = format[++i];
    switch (conv) {
      case '%':
        out += '%';
        break;
      case 's':
      case 'i':
      case 'u':
      case 'b':
      case '*':
      case 'e':
      case '$':
        if (next == args.end()) out += "<?>";
        else AppendArg(out, conv, *next++);
        break;
      default:
        out += '%';
        out += conv;
        break;
    }
  }
  return out;
}

namespace {
std::atomic<bool> debugTraces{false};
}  // namespace

void SetDebugTraces(bool on) { debugTraces.store(on, std::memory_order_relaxed); }
bool DebugTraces() { return debugTraces.load(std::memory_order_relaxed); }

// A routine trace: formatted and written only at the debug level.
void Trace(std::string_view format, std::initializer_list<TraceArg> args) {
  if (!DebugTraces()) return;
  std::string line = SafeLine(FormatTrace(format, args));
  if (auto sink = CurrentSink()) sink(line);
  else WriteStderr(line);
}

void SetTraceSink(std::function<void(std::string_view line)> sink) {
  SinkState& s = Sink();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.sink = std::move(sink);
}

void Log(std::string_view line) {
  const std::string safe = SafeLine(line);
  WriteStderr(safe);
  if (auto sink = CurrentSink()) sink(safe);
}

int32_t LogFailedCall(const char* call, int32_t status) {
  if (status != 0) {
    char line[160];
    std::snprintf(line, sizeof line, "%s Error 0x%x", call ? call : "?", static_cast<unsigned>(status));
    Log(line);
  }
  return status;
}

}  // namespace kv
