#include "units/Network/Security.h"

#include <string>

namespace Network {

namespace {

constexpr SecurityPair kPairs[kMethodCount] = {{0, 0}, {0, 1}, {1, 3}, {1, 2}, {2, 3}, {2, 2}, {3, 4}};
constexpr char kHexDigits[] = "0123456789abcdef";

}  // namespace

SecurityPair MethodPair(int32_t method) {
  return kPairs[method < 0 || method >= kMethodCount ? kMethodOther : method];
}

int32_t MethodOf(int32_t authentication, int32_t encryption) {
  for (int32_t m = 0; m < kMethodOther; ++m)
    if (kPairs[m].authentication == authentication && kPairs[m].encryption == encryption) return m;
  return kMethodOther;
}

bool KeyFits(int32_t method, const kv::String& key) {
  const int32_t n = key.Length();
  if (method == kMethodWep) return n == 5 || n == 13 || ((n == 10 || n == 26) && IsKeyHex(key));
  if (method < kMethodWep || method >= kMethodOther) return true;
  return (n >= 8 && n <= 63) || (n == 64 && IsKeyHex(key));
}

bool IsKeyHex(const kv::String& key) {
  if (key.Empty()) return false;
  const std::string lower = kv::GetStringLower(key).ToUtf8();
  return lower.find_first_not_of(kHexDigits) == std::string::npos;
}

}  // namespace Network
