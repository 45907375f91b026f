// The factory remote in runs: a line "factory CODE [TEXT]" sends a factory
// remote code (TEXT, the MAC address command's argument, cut to 19 bytes),
// "discrete CODE" a discrete key, both as the platform reports them: the
// middleware's factory event, posted by the simulated set. CODE is decimal
// or 0x-hexadecimal, at most 32 bits.
//
// Key scripts take these lines; a window run reads them from the named pipe
// "factory-remote" in the data directory (one command per line; a bad line
// is logged and skipped).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sim {
class Sim;
}

namespace host {

struct FactoryRemoteLine {
  bool discrete = false;
  uint32_t code = 0;
  std::string text;  // at most 19 bytes
};

inline constexpr size_t kFactoryTextBytes = 19;

// Reads one line ("factory ..." or "discrete ..."); false when it is not one
// or is malformed, with the reason in `error`.
bool ParseFactoryRemoteLine(std::string_view line, FactoryRemoteLine* out, std::string* error);
// Posts it through the simulated set as a factory event.
void SendFactoryRemote(sim::Sim& tv, const FactoryRemoteLine& line);

// Reads the named pipe of a window run on its own thread until Stop.
class FactoryRemotePipe {
 public:
  FactoryRemotePipe() = default;
  FactoryRemotePipe(const FactoryRemotePipe&) = delete;
  FactoryRemotePipe& operator=(const FactoryRemotePipe&) = delete;
  ~FactoryRemotePipe() { Stop(); }
  // Makes the pipe (when missing) and starts reading; false when it cannot.
  bool Start(const std::string& dataDir);
  void Stop();

 private:
  struct Impl;
  Impl* impl_ = nullptr;
};

}  // namespace host
