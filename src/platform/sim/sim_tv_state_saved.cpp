#include "platform/sim/sim_tv_state.h"

namespace sim {

std::map<std::string, std::string> TvState::SavedForm() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return Serialize();
}

}  // namespace sim
