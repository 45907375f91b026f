#include "units/Core/SetReads.h"

#ifdef KV_VERIFY
#include <mutex>
#include <set>

namespace Core {

namespace {
std::mutex g_mutex;
std::set<std::string>& Reads() {
  static std::set<std::string> reads;
  return reads;
}
}  // namespace

void NoteSetRead(const char* table) {
  std::lock_guard lock(g_mutex);
  Reads().insert(table);
}

std::vector<std::string> TakeSetReads() {
  std::lock_guard lock(g_mutex);
  std::vector<std::string> out(Reads().begin(), Reads().end());
  Reads().clear();
  return out;
}

}  // namespace Core
#endif
