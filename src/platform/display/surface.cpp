#include "platform/display/surface.h"

#include <sys/mman.h>

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <new>
#include <thread>
#include <utility>
#include <vector>

namespace dfb {

namespace {
// From this size on the pixels are mapped pages of their own.
constexpr size_t kMapFrom = size_t{64} << 10;
// Mappings waiting for the unmapper beyond this are unmapped by the caller:
// the memory given back cannot fall far behind.
constexpr size_t kMaxWaiting = 64;

// Unmaps the pixels of large surfaces on a thread of its own. Giving a
// screen-sized mapping back costs the system tens of microseconds; a
// collection that ends a closed viewer's canvases would otherwise spend it
// on the GUI task. Handing over takes a leaf lock and never waits for an
// unmapping. Made on first use and never destroyed, so that surfaces freed
// while the process ends still find it.
class Unmapper {
 public:
  static Unmapper& Get() {
    static Unmapper* u = new Unmapper;
    return *u;
  }
  void Hand(void* p, size_t bytes) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (waiting_.size() < kMaxWaiting) {
        waiting_.emplace_back(p, bytes);
        cv_.notify_one();
        return;
      }
    }
    munmap(p, bytes);
  }
  void WaitIdle() {
    std::unique_lock<std::mutex> lock(mutex_);
    idleCv_.wait(lock, [this] { return waiting_.empty() && !busy_; });
  }

 private:
  Unmapper() { std::thread([this] { Run(); }).detach(); }
  [[noreturn]] void Run() {
    std::vector<std::pair<void*, size_t>> now;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      cv_.wait(lock, [this] { return !waiting_.empty(); });
      now.swap(waiting_);
      busy_ = true;
      lock.unlock();
      for (const auto& [p, bytes] : now) munmap(p, bytes);
      now.clear();
      lock.lock();
      busy_ = false;
      if (waiting_.empty()) idleCv_.notify_all();
    }
  }
  std::mutex mutex_;
  std::condition_variable cv_;
  std::condition_variable idleCv_;
  std::vector<std::pair<void*, size_t>> waiting_;
  bool busy_ = false;
};
}  // namespace

void Surface::Free::operator()(uint32_t* p) const {
  if (!p) return;
  if (mapped > 0)
    Unmapper::Get().Hand(p, mapped);
  else
    std::free(p);
}

void WaitForReleasedPixels() { Unmapper::Get().WaitIdle(); }

Surface::Surface(int32_t width, int32_t height) : width_(std::max(width, 1)), height_(std::max(height, 1)) {
  const size_t bytes = size_t(width_) * size_t(height_) * sizeof(uint32_t);
  if (bytes >= kMapFrom) {
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    pixels_ = std::unique_ptr<uint32_t[], Free>(static_cast<uint32_t*>(p), Free{bytes});
  } else {
    pixels_.reset(static_cast<uint32_t*>(std::calloc(bytes / sizeof(uint32_t), sizeof(uint32_t))));
    if (!pixels_) throw std::bad_alloc();
  }
}

void Surface::Clear(uint32_t pixel) { std::fill(pixels_.get(), pixels_.get() + size_t(width_) * size_t(height_), pixel); }

bool Surface::Exchange(Surface& other) {
  if (other.width_ != width_ || other.height_ != height_) return false;
  pixels_.swap(other.pixels_);
  return true;
}

namespace {
// The 8-bit product a*b/255, rounded.
inline uint32_t Mul8(uint32_t a, uint32_t b) {
  const uint32_t t = a * b + 128;
  return (t + (t >> 8)) >> 8;
}
}  // namespace

uint32_t BlendOver(uint32_t src, uint32_t dst) {
  const uint32_t inv = 255 - (src >> 24);
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t c = ((src >> shift) & 0xFF) + Mul8((dst >> shift) & 0xFF, inv);
    out |= std::min<uint32_t>(c, 255) << shift;
  }
  return out;
}

}  // namespace dfb
