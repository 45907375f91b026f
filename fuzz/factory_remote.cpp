// Feeds arbitrary text to the reader of the factory remote's lines (key
// scripts and the named pipe of window runs).
//
// What must hold: no crash or sanitizer report; a refused line says why; an
// accepted one is a factory code with at most 19 bytes of text, or a
// discrete key without text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_runtime.h"
#include "host/factory_remote.h"

using fuzzrt::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzrt::Start();
  host::FactoryRemoteLine line;
  std::string error;
  if (!host::ParseFactoryRemoteLine(std::string_view(reinterpret_cast<const char*>(data), size), &line, &error)) {
    Require(!error.empty());
    return 0;
  }
  Require(line.text.size() <= host::kFactoryTextBytes);
  Require(!line.discrete || line.text.empty());
  return 0;
}
