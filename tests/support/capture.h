// Per-test helpers shared by the fixtures: capturing trace lines, and a
// fresh temporary directory named after the running test.
#pragma once

#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace kvtest {

// Collects the trace lines written while started (from any thread).
// Start() installs the trace sink; Stop() or the destructor removes it.
class LogCapture {
 public:
  LogCapture() = default;
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;
  ~LogCapture();

  void Start();
  void Stop();

  // A copy of the lines captured so far.
  std::vector<std::string> Lines() const;
  // The lines captured so far, forgetting them (in one step).
  std::vector<std::string> Take();
  // True when a captured line contains `part`.
  bool Contains(std::string_view part) const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
  bool started_ = false;
};

// True when one of `lines` contains `part`.
bool AnyContains(const std::vector<std::string>& lines, std::string_view part);

// temp_directory_path()/"tvui-<prefix>-<pid>-<current test name>", with any
// leftover of an earlier run removed (the directory itself is not created).
std::filesystem::path FreshTestDir(std::string_view prefix);

// Removes `dir` and everything in it, ignoring errors.
void RemoveTestDir(const std::filesystem::path& dir);

}  // namespace kvtest
