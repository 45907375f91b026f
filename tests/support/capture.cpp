#include "capture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <system_error>
#include <utility>

#include "runtime/trace.h"
#include "runtime/trace_level.h"

namespace kvtest {

LogCapture::~LogCapture() { Stop(); }

void LogCapture::Start() {
  kv::SetTraceSink([this](std::string_view line) {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.emplace_back(line);
  });
  // The routine traces too: the tests read them.
  kv::SetDebugTraces(true);
  started_ = true;
}

void LogCapture::Stop() {
  if (!started_) return;
  kv::SetTraceSink(nullptr);
  kv::SetDebugTraces(false);
  started_ = false;
}

std::vector<std::string> LogCapture::Lines() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lines_;
}

std::vector<std::string> LogCapture::Take() {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::exchange(lines_, {});
}

bool LogCapture::Contains(std::string_view part) const { return AnyContains(Lines(), part); }

void LogCapture::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  lines_.clear();
}

bool AnyContains(const std::vector<std::string>& lines, std::string_view part) {
  for (const auto& l : lines)
    if (l.find(part) != std::string::npos) return true;
  return false;
}

std::filesystem::path FreshTestDir(std::string_view prefix) {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = "tvui-";
  name += prefix;
  name += "-" + std::to_string(::getpid()) + "-" + (info ? info->name() : "none");
  std::filesystem::path dir = std::filesystem::temp_directory_path() / name;
  std::filesystem::remove_all(dir);
  return dir;
}

void RemoveTestDir(const std::filesystem::path& dir) {
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
}

}  // namespace kvtest
