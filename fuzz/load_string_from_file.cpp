// Writes arbitrary bytes to a file and reads it back with
// kv::LoadStringFromFile, which reads 8-bit (Latin-1) text.
//
// What must hold: no crash or sanitizer report; every byte becomes exactly
// one code unit of the same value, zero bytes included.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_runtime.h"
#include "runtime/string.h"

using fuzzrt::Require;

namespace {

const std::string& Path() {
  static const std::string path = [] {
    const char* shm = "/dev/shm";
    const std::string dir = access(shm, W_OK) == 0 ? shm : "/tmp";
    return dir + "/tvui-fuzz-text-" + std::to_string(getpid()) + ".txt";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzrt::Start();
  std::FILE* f = std::fopen(Path().c_str(), "wb");
  if (!f) return 0;
  const bool written = std::fwrite(data, 1, size, f) == size;
  if (std::fclose(f) != 0 || !written) return 0;

  const kv::String text = kv::LoadStringFromFile(Path().c_str());
  std::remove(Path().c_str());
  Require(static_cast<size_t>(text.Length()) == size);
  for (size_t i = 0; i < size; ++i) Require(text.At(static_cast<int32_t>(i)) == data[i]);
  return 0;
}
