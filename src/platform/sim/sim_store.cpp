#include "platform/sim/sim_store.h"

#include <charconv>
#include <cstring>

#include "runtime/trace.h"

namespace sim {

int64_t StoredNumber(const Sim& tv, const std::string& key, int64_t fallback) {
  const std::string v = tv.GetState(key);
  if (v.empty()) return fallback;
  int64_t n = 0;
  auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
  if (ec != std::errc() || end != v.data() + v.size()) {
    kv::Log("simulated set: bad stored value for " + kv::EscapedText(key) + ",, default used");
    return fallback;
  }
  return n;
}

bool StoreNumber(Sim& tv, const std::string& key, int64_t value) { return tv.SetState(key, std::to_string(value)); }

std::string HexText(std::string_view text) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size() * 2);
  for (unsigned char c : text) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

bool UnhexText(std::string_view hex, std::string* out) {
  if (hex.size() % 2) return false;
  out->clear();
  auto digit = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1; };
  for (size_t i = 0; i < hex.size(); i += 2) {
    int hi = digit(hex[i]), lo = digit(hex[i + 1]);
    if (hi < 0 || lo < 0) return false;
    *out += static_cast<char>(hi * 16 + lo);
  }
  return true;
}

std::string JoinNumbers(const std::vector<int64_t>& numbers) {
  std::string out;
  for (size_t i = 0; i < numbers.size(); ++i) out += (i ? "," : "") + std::to_string(numbers[i]);
  return out;
}

bool SplitNumbers(std::string_view text, std::vector<int64_t>* out) {
  out->clear();
  if (text.empty()) return true;
  const char* p = text.data();
  const char* end = p + text.size();
  while (true) {
    int64_t n = 0;
    auto [next, ec] = std::from_chars(p, end, n);
    if (ec != std::errc()) return false;
    out->push_back(n);
    if (next == end) return true;
    if (*next != ',') return false;
    p = next + 1;
  }
}

void CopyCText(char* out, size_t size, std::string_view text) {
  if (!out || size == 0) return;
  std::memset(out, 0, size);
  std::memcpy(out, text.data(), std::min(text.size(), size - 1));
}

// Seconds since 1970 of a broken-down time, by calendar arithmetic.
int64_t LocalTicks(const XPM_LocalTime& t) {
  int64_t y = 1900 + t.year + t.month / 12, m = t.month % 12;
  if (m < 0) m += 12, --y;
  const int64_t yy = m < 2 ? y - 1 : y;
  const int64_t era = (yy >= 0 ? yy : yy - 399) / 400;
  const int64_t yoe = yy - era * 400;
  const int64_t mp = (m + 10) % 12;  // months from March; m counts from January = 0
  const int64_t doy = (153 * mp + 2) / 5 + t.day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const int64_t days = era * 146097 + doe - 719468;
  return days * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

XPM_LocalTime LocalFromTicks(int64_t ticks) {
  XPM_LocalTime t{};
  int64_t days = ticks / 86400, rem = ticks % 86400;
  if (rem < 0) rem += 86400, --days;
  t.hour = static_cast<int32_t>(rem / 3600);
  t.minute = static_cast<int32_t>(rem / 60 % 60);
  t.second = static_cast<int32_t>(rem % 60);
  t.weekday = static_cast<int32_t>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
  const int64_t z = days + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t m = mp < 10 ? mp + 3 : mp - 9;
  const int64_t y = yoe + era * 400 + (m <= 2);
  t.day = static_cast<int32_t>(doy - (153 * mp + 2) / 5 + 1);
  t.month = static_cast<int32_t>(m - 1);
  t.year = static_cast<int32_t>(y - 1900);
  return t;
}

}  // namespace sim
