// Logging of the native utilities. Every line goes through one replaceable sink;
// the host routes it to its own log, the default writes to stderr.
#pragma once

using NativeLogFn = void (*)(const char* line);

// Sets the sink for log lines (a line carries no trailing newline). nullptr restores stderr.
void NativeSetLogger(NativeLogFn fn);

// Formats one line and hands it to the sink.
void NativeLog(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
