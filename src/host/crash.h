// Process start helpers: the crash back-trace and the network-boot test.
#pragma once

#include <string_view>

namespace host {

// On SIGSEGV, SIGBUS, SIGILL, SIGFPE and SIGABRT: prints the signal and a
// back-trace to standard error and ends the process.
void ArmCrashBacktrace();

// True when the kernel command line names a network root ("nfsroot" or "root=/dev/nfs").
bool IsNetworkBootCmdline(std::string_view cmdline);
// Reads /proc/cmdline; false when it cannot be read.
bool BootedFromNetwork();

}  // namespace host
