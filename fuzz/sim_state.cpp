// Writes arbitrary bytes as the simulated set's state file and starts a set
// from it (its television loads its settings, sources, channel maps,
// favourites and timers from the "tv.*" lines).
//
// What must hold: no crash or sanitizer report; a state that loaded saves
// back to a file that loads to the same state: the file's entries, and the
// television's own state, both as they stand and once written as a state
// file of their own.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>
#include <vector>

#include "fuzz_runtime.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_tv_state.h"

using fuzzrt::Require;

namespace {

const std::filesystem::path& Dir() {
  static const std::filesystem::path dir = [] {
    const char* shm = "/dev/shm";
    const std::filesystem::path base = access(shm, W_OK) == 0 ? shm : "/tmp";
    return base / ("tvui-fuzz-sim-" + std::to_string(getpid()));
  }();
  return dir;
}

bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && written;
}

std::string AsFile(const std::map<std::string, std::string>& entries) {
  std::string text;
  for (const auto& [k, v] : entries) text += k + "=" + v + "\n";
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzrt::Start();
  std::error_code ec;
  std::filesystem::remove_all(Dir(), ec);
  std::filesystem::create_directories(Dir(), ec);
  sim::Sim probe(Dir().string());
  const std::filesystem::path path = probe.StatePath();
  if (!WriteFile(path, std::string(reinterpret_cast<const char*>(data), size))) return 0;

  std::map<std::string, std::string> entries, tv;
  {
    sim::Sim first(Dir().string());
    entries = first.StateWithPrefix("");
    tv = first.Tv().SavedForm();
    if (!first.UpdateState({}, {}) || !first.Flush()) return 0;  // saves the whole state
  }
  {
    sim::Sim second(Dir().string());
    Require(second.StateWithPrefix("") == entries);
    Require(second.Tv().SavedForm() == tv);
  }
  // The television's state written alone is a state of its own that loads the same.
  if (!WriteFile(path, AsFile(tv))) return 0;
  {
    sim::Sim third(Dir().string());
    Require(third.Tv().SavedForm() == tv);
  }
  return 0;
}
