// Keeps the last picture the simulated set hands its picture sink (the
// video plane under the on-screen display) while it lives, so that a test
// can look at what plays under the screens.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/sim/sim.h"
#include "platform/sim/sim_tv_state.h"

namespace apptest {

class PictureWatch {
 public:
  explicit PictureWatch(sim::Sim& tv) : tv_(tv) {
    sim::SetPictureSink([this](const uint32_t* px, int32_t w, int32_t h) {
      std::lock_guard<std::mutex> lock(mu_);
      plane_.assign(px, px + size_t(w) * size_t(h));
    });
  }
  ~PictureWatch() {
    tv_.Quiesce();
    sim::SetPictureSink(nullptr);
  }
  PictureWatch(const PictureWatch&) = delete;
  PictureWatch& operator=(const PictureWatch&) = delete;

  // The last picture, once everything due has been delivered.
  std::vector<uint32_t> Picture() {
    tv_.Quiesce();
    std::lock_guard<std::mutex> lock(mu_);
    return plane_;
  }
  // The pixels of the last picture that are not black.
  size_t Lit() {
    size_t n = 0;
    for (uint32_t p : Picture()) n += (p & 0xFFFFFFu) != 0;
    return n;
  }

 private:
  sim::Sim& tv_;
  std::mutex mu_;
  std::vector<uint32_t> plane_;
};

}  // namespace apptest
