// Logged errors of the view framework: refused input is reported with one
// log line and the system goes on.
#pragma once

#include <initializer_list>
#include <string_view>

#include "runtime/trace.h"

namespace Core {

// Formats like kv::Trace and writes the line to the system log.
inline void LogError(std::string_view format, std::initializer_list<kv::TraceArg> args = {}) {
  kv::Log(kv::FormatTrace(format, args));
}

}  // namespace Core
