// The long key storm: 200,000 random remote keys (the script names of
// `tvui --help`'s key map, a fixed seed) played headless through tvui as a
// user would meet it: the sample stick plugged (`make sample-media`'s
// folder, written here when missing), a collection after every pass, a
// screenshot every 500 keys. It prints the keys per second over the first
// and the last fifth and the resident memory after the first fifth and at the
// end. Goal: the last fifth at least 0.8 of the first, the memory within 10 %.
// A closed screen that stays alive shows as a falling rate (every collection
// marks it again) and a growing memory.
//
// tvui runs as a process of its own in the folder of this program (its font
// and the default wallpaper lie there); the times are those at which its
// screenshots appear, the memory its VmRSS read at that moment.
//
//   cd build-bench && ./bench_storm
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "host/keys/keytable.h"

namespace {

constexpr int kKeys = 200000;
constexpr int kShotEvery = 500;
constexpr int kShots = kKeys / kShotEvery;
constexpr int kFifthShots = kShots / 5;
constexpr uint32_t kSeed = 20240612;
constexpr int kTimeoutSeconds = 600;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string ShotName(int n) { return "s" + std::to_string(n); }

// Resident memory of a process in KiB, or -1 when it cannot be read.
long ResidentKiB(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return -1;
}

bool WriteScript(const fs::path& path) {
  const std::vector<std::string> names = host::KeyMapScriptNames();
  std::mt19937 random(kSeed);
  std::uniform_int_distribution<size_t> pick(0, names.size() - 1);
  std::ofstream out(path);
  out << "shot " << ShotName(0) << "\n";
  for (int i = 1; i <= kKeys; ++i) {
    out << names[pick(random)] << "\n";
    if (i % kShotEvery == 0) out << "shot " << ShotName(i / kShotEvery) << "\n";
  }
  return static_cast<bool>(out);
}

}  // namespace

int main(int, char** argv) {
  const fs::path here = fs::canonical("/proc/self/exe").parent_path();
  const fs::path stick = here / "sample-media";
  if (!fs::exists(stick)) {
    const std::string write = "cd '" + here.string() + "' && ./sample_media sample-media default_wallpaper.jpg >/dev/null 2>&1";
    if (std::system(write.c_str()) != 0) {
      std::fprintf(stderr, "%s: the sample stick could not be written\n", argv[0]);
      return 1;
    }
  }
  const fs::path work = fs::temp_directory_path() / ("tvui-bench-storm-" + std::to_string(getpid()));
  fs::remove_all(work);
  fs::create_directories(work / "shots");
  const fs::path script = work / "storm.keys";
  if (!WriteScript(script)) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], script.c_str());
    return 1;
  }
  const std::string log = (work / "log.txt").string();
  const pid_t pid = fork();
  if (pid == 0) {
    if (chdir(here.c_str()) != 0) _exit(127);
    setenv("KV_COLLECT_EVERY_PASS", "1", 1);
    if (!freopen(log.c_str(), "w", stdout) || !freopen(log.c_str(), "a", stderr)) _exit(127);
    const std::string shots = (work / "shots").string(), data = (work / "data").string(), keys = script.string();
    execl("./tvui", "tvui", "--headless", "--keys", keys.c_str(), "--shots", shots.c_str(), "--data-dir",
          data.c_str(), "--media-dir", stick.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  // Follows the shots as they appear: the time of each, the memory at the
  // end of the first fifth and at the last.
  std::vector<Clock::time_point> at(kShots + 1);
  long firstFifthKiB = -1, endKiB = -1;
  int next = 0, status = 0;
  bool ended = false;
  const Clock::time_point deadline = Clock::now() + std::chrono::seconds(kTimeoutSeconds);
  while (next <= kShots) {
    if (fs::exists(work / "shots" / (ShotName(next) + ".png"))) {
      at[next] = Clock::now();
      if (next == kFifthShots) firstFifthKiB = ResidentKiB(pid);
      if (next == kShots) endKiB = ResidentKiB(pid);
      ++next;
      continue;
    }
    if (waitpid(pid, &status, WNOHANG) == pid) {
      ended = true;
      break;
    }
    if (Clock::now() > deadline) {
      kill(pid, SIGKILL);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (!ended) waitpid(pid, &status, 0);
  if (next <= kShots) {
    std::printf("key storm: tvui stopped after %d of %d keys (status %d); its log: %s\n", next > 0 ? (next - 1) * kShotEvery : 0,
                kKeys, WIFEXITED(status) ? WEXITSTATUS(status) : -1, log.c_str());
    return 1;
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    std::printf("key storm: tvui ended with status %d after the last key; its log: %s\n",
                WIFEXITED(status) ? WEXITSTATUS(status) : -1, log.c_str());
  auto rate = [&](int from, int to) {
    return (to - from) * kShotEvery / std::chrono::duration<double>(at[to] - at[from]).count();
  };
  const double first = rate(0, kFifthShots), last = rate(kShots - kFifthShots, kShots);
  std::printf("key storm: %d random keys of %zu names (seed %u), a shot every %d keys, a collection every pass,\n"
              "the sample stick plugged\n",
              kKeys, host::KeyMapScriptNames().size(), kSeed, kShotEvery);
  std::printf("  keys per second, first fifth %8.0f, last fifth %8.0f: %.2f of the first (goal: at least 0.80)\n",
              first, last, last / first);
  if (firstFifthKiB > 0 && endKiB > 0)
    std::printf("  resident memory after the first fifth %6.1f MB, at the end %6.1f MB: %+.1f %% (goal: within 10 %%)\n",
                firstFifthKiB / 1024.0, endKiB / 1024.0, 100.0 * (endKiB - firstFifthKiB) / firstFifthKiB);
  else
    std::printf("  resident memory could not be read\n");
  std::printf("  the whole storm took %.1f s\n", std::chrono::duration<double>(at[kShots] - at[0]).count());
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) fs::remove_all(work);
  return 0;
}
