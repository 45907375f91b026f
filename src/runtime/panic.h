// Fatal runtime errors.
#pragma once

namespace kv {

// Prints "\nPANIC: ", the message and "\nSystem halted\n". In the window the
// GUI task halts for good; headless and in tests the process ends with
// status 70. A handler installed by a test may throw instead.
[[noreturn]] void Panic(const char* message);

enum class PanicMode { kExit, kHalt };
// kExit until the host opens a window (then kHalt) and after it closes it.
void SetPanicMode(PanicMode mode);
PanicMode GetPanicMode();
// A handler called before the default action; it may throw (tests). Null removes it.
void SetPanicHandler(void (*handler)(const char* message));

}  // namespace kv
