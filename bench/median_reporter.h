// A console reporter that also keeps the median time (ns) of every benchmark,
// so that a benchmark's main can print ratios after the run: the "median"
// aggregate when there are repetitions, else the median of the runs seen.
// Of a benchmark with repetitions it prints the aggregates and the failed
// repetitions (which the library leaves out of the aggregates), and it keeps
// every failure for ExitStatus.
#pragma once

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace benchutil {

class MedianReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    std::vector<Run> shown;
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Aggregate || run.error_occurred || run.repetitions <= 1) shown.push_back(run);
    for (const Run& run : runs) {
      const std::string name = run.run_name.args.empty() ? run.run_name.function_name
                                                          : run.run_name.function_name + "/" + run.run_name.args;
      const double ns = run.GetAdjustedRealTime() * benchmark::GetTimeUnitMultiplier(benchmark::kNanosecond) /
                        benchmark::GetTimeUnitMultiplier(run.time_unit);
      if (run.run_type == Run::RT_Aggregate) {
        if (run.aggregate_name == "median") {
          medians_[name] = ns;
          for (const auto& [key, c] : run.counters) counters_[name][key] = c.value;
        }
      } else if (run.error_occurred) {
        failed_.push_back(name + ": " + run.error_message);
      } else {
        samples_[name].push_back(ns);
        if (!medians_.count(name))
          for (const auto& [key, c] : run.counters) counters_[name][key] = c.value;
      }
    }
    if (!shown.empty()) ConsoleReporter::ReportRuns(shown);
  }

  // Prints the failed cases after the results; the program's exit status:
  // 1 when a case failed, else 0.
  int ExitStatus() const {
    for (const std::string& f : failed_) std::printf("FAILED %s\n", f.c_str());
    return failed_.empty() ? 0 : 1;
  }

  // The median of the benchmark `name` (with its arguments, e.g. "BM_Mark/10000"), or 0.
  double Median(const std::string& name) const {
    if (auto it = medians_.find(name); it != medians_.end()) return it->second;
    auto it = samples_.find(name);
    if (it == samples_.end() || it->second.empty()) return 0;
    std::vector<double> v = it->second;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
  }

  // A counter of the benchmark `name`: of its median aggregate when there are
  // repetitions, else of its last run; 0 when it has none.
  double Counter(const std::string& name, const std::string& counter) const {
    auto it = counters_.find(name);
    if (it == counters_.end()) return 0;
    auto c = it->second.find(counter);
    return c == it->second.end() ? 0 : c->second;
  }

 private:
  std::map<std::string, std::map<std::string, double>> counters_;
  std::map<std::string, double> medians_;
  std::map<std::string, std::vector<double>> samples_;
  std::vector<std::string> failed_;
};

// Initialises the library with the program's defaults: `repetitions`
// repetitions of every case (MedianReporter prints their aggregates),
// interleaved at random (the machine's speed drifts over seconds, and
// benchmarks compared by their ratio must see the same drift), each at least
// `minSeconds` of CPU time (the library's default, half a second, made ten
// repetitions of every case last many minutes on a loaded machine; a case's
// own MinTime or Repetitions still wins). A flag given on the command line
// wins. Returns false (reported) on an unknown argument.
inline bool InitializeInterleaved(int argc, char** argv, int repetitions, double minSeconds) {
  std::vector<char*> args(argv, argv + argc);
  static char interleave[] = "--benchmark_enable_random_interleaving=true";
  static char repeat[64], minTime[64];
  std::snprintf(repeat, sizeof repeat, "--benchmark_repetitions=%d", repetitions);
  std::snprintf(minTime, sizeof minTime, "--benchmark_min_time=%g", minSeconds);
  args.insert(args.begin() + 1, {interleave, repeat, minTime});
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  return !benchmark::ReportUnrecognizedArguments(count, args.data());
}

// Sends what the system itself writes (its log lines, the stand-ins' notes)
// to a file, so that the benchmark's output holds its results and nothing
// else: standard output and standard error go to `path`; Results() writes
// where standard output went before (appending, so that benchmarks run one
// after the other into one file all stay), and Summary() puts standard
// output back there while the benchmark prints its own lines.
class SystemLogToFile {
 public:
  explicit SystemLogToFile(const char* path) : path_(path) {
    std::fflush(stdout);
    results_ = dup(STDOUT_FILENO);
    const int log = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (results_ < 0 || log < 0) return;
    stream_.open("/proc/self/fd/" + std::to_string(results_), std::ios::app);
    dup2(log, STDOUT_FILENO);
    dup2(log, STDERR_FILENO);
    close(log);
  }
  SystemLogToFile(const SystemLogToFile&) = delete;
  SystemLogToFile& operator=(const SystemLogToFile&) = delete;
  ~SystemLogToFile() {
    if (results_ >= 0) close(results_);
  }
  // Where the results go; standard output when the log could not be opened.
  std::ostream& Results() { return stream_.is_open() ? static_cast<std::ostream&>(stream_) : std::cout; }
  // From here on, standard output is the results' (the benchmark's summary
  // lines); standard error stays in the log.
  void Summary() {
    if (!stream_.is_open()) return;
    stream_.flush();
    std::fflush(stdout);
    dup2(results_, STDOUT_FILENO);
  }
  const char* Path() const { return path_; }

 private:
  const char* path_;
  int results_ = -1;
  std::ofstream stream_;
};

}  // namespace benchutil
