// The wireless security methods as the set numbers them, their
// (authentication, encryption) pairs and the key each accepts.
//
//   method  authentication  encryption
//   0       0 open/shared   0 none        an open network
//   1       0 open/shared   1 WEP
//   2       1 WPA-PSK       3 AES
//   3       1 WPA-PSK       2 TKIP
//   4       2 WPA2-PSK      3 AES
//   5       2 WPA2-PSK      2 TKIP
//   6       3 (none)        4 (none)     every pair without a row of its own
//
// Key lengths count bytes (the key pad gives 8-bit text): WEP takes 5 or 13
// of any character or 10 or 26 hexadecimal digits; the pass-phrase methods
// 8 to 63 of any character or 64 hexadecimal digits; any other method
// (open, 6, or the set finding the security itself) takes every key.
#pragma once

#include <cstdint>

#include "runtime/string.h"

namespace Network {

inline constexpr int32_t kMethodOpen = 0;
inline constexpr int32_t kMethodWep = 1;
inline constexpr int32_t kMethodOther = 6;
inline constexpr int32_t kMethodCount = 7;

struct SecurityPair {
  int32_t authentication;
  int32_t encryption;
};

// The pair of a method; below 0 or from 7 on, that of method 6.
SecurityPair MethodPair(int32_t method);
// The first method 0 to 5 with that pair, else 6.
int32_t MethodOf(int32_t authentication, int32_t encryption);
// Whether `key` suits the method.
bool KeyFits(int32_t method, const kv::String& key);
// A non-empty key of hexadecimal digits only (either case).
bool IsKeyHex(const kv::String& key);

}  // namespace Network
