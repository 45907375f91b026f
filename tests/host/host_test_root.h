// A root for host tests: records every event it is offered (before the view
// tree) as plain values, readable from any thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "units/Core/Event.h"
#include "units/Core/Root.h"

namespace hosttest {

struct Seen {
  std::string cls;
  int32_t code = 0;       // key events: GUI code
  int32_t down = 0;
  int32_t fromPanel = -1;
  int32_t kind = -1;      // factory command events
  int32_t value = 0;
  std::string text;
  const kv::Class* target = nullptr;
  std::vector<int32_t> numbers;  // scan events: their fields in order
};

class RecordingRoot : public Core::Root {
  KV_CLASS(hosttest, RecordingRoot, Core::Root)
 public:
  RecordingRoot() = default;
  kv::Object* PreDispatch(Core::Event* event) override;
  bool IsScreenShown() override { return screenShown; }

  bool screenShown = false;

  static std::vector<Seen> Take();  // and forget
  static std::vector<Seen> Peek();
  static void Clear();
};

// Polls `done` in real time until it holds (true) or 20 s pass (false). The
// limit only stops a broken test; no result depends on timing.
inline bool Eventually(const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace hosttest
