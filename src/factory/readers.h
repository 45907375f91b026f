// Readers of what the factory tests get from outside: the wireless module's
// identity and signal readings, the USB stick's test file, and a MAC
// address text. Each is bounded and never trusts its input.
#pragma once

#include <cstdint>
#include <string_view>

namespace factory {

// "wl revinfo": up to two pairs of words; true when the vendor id is 0x14e4
// and the device id 0x4346. A first word other than "vendorid" or "deviceid"
// ends the reading (not good).
bool ReadModuleIdentity(std::string_view output);

// "wl phy_rssi_ant": the word after one containing "rssi[0]" is antenna 0's
// value, after "rssi[1]" antenna 1's. False when either value is missing or
// not a decimal number.
bool ReadSignal(std::string_view output, int32_t* antenna0, int32_t* antenna1);

// The test file: four lines of a name (matched by "ssid", "key", "ant_a",
// "ant_b") and a value. The name fits 32 bytes, the key 64, the thresholds
// 16-bit signed decimals.
inline constexpr int32_t kSsidBytes = 32;
inline constexpr int32_t kKeyBytes = 64;
struct WlanTestFile {
  char ssid[kSsidBytes + 1] = {};
  char key[kKeyBytes + 1] = {};
  int16_t mainThreshold = 0;
  int16_t subThreshold = 0;
};
// Answers -1 when the four lines were read, else the index (0 to 3) of the
// first line that is missing or malformed.
int32_t ReadWlanTestFile(std::string_view text, WlanTestFile* out);

// Six two-digit hexadecimal groups joined by colons, not all 00 nor all FF,
// and without the group bit (bit 0 of the first octet).
bool IsUsableMacAddress(std::string_view text);

}  // namespace factory
