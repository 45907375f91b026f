// Feeds arbitrary bytes to the factory tests' readers of outside text: the
// wireless module's identity and signal answers, the USB stick's test file
// and a MAC address text.
//
// What must hold: no crash or sanitizer report; an accepted test file holds
// a name of at most 32 bytes and a key of at most 64, both terminated; a
// refused one names a line 0 to 3; signal values are 16-bit; an accepted
// MAC address is 17 characters, not all zeros or ones, without the group bit.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "factory/readers.h"
#include "fuzz_runtime.h"

using fuzzrt::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzrt::Start();
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)factory::ReadModuleIdentity(text);
  int32_t a0 = 7, a1 = 7;
  if (factory::ReadSignal(text, &a0, &a1)) Require(a0 >= -32768 && a0 <= 32767 && a1 >= -32768 && a1 <= 32767);
  factory::WlanTestFile file;
  const int32_t bad = factory::ReadWlanTestFile(text, &file);
  Require(bad >= -1 && bad <= 3);
  Require(strnlen(file.ssid, sizeof file.ssid) <= static_cast<size_t>(factory::kSsidBytes));
  Require(strnlen(file.key, sizeof file.key) <= static_cast<size_t>(factory::kKeyBytes));
  if (factory::IsUsableMacAddress(text)) {
    Require(text.size() == 17 && text != "00:00:00:00:00:00");
    Require(text[2] == ':' && text[14] == ':');
  }
  return 0;
}
