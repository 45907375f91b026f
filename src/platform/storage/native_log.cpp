#include "platform/storage/native_log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace {

void LogToStderr(const char* line) { std::fprintf(stderr, "%s\n", line); }

std::atomic<NativeLogFn> g_logger{&LogToStderr};

}  // namespace

void NativeSetLogger(NativeLogFn fn) { g_logger.store(fn != nullptr ? fn : &LogToStderr); }

void NativeLog(const char* fmt, ...) {
    char line[1024];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(line, sizeof line, fmt, args);
    va_end(args);
    g_logger.load()(line);
}
