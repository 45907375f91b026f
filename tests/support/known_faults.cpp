#include "known_faults.h"

#include <fstream>

#include "tvui_paths.h"

namespace kvtest {

const std::vector<std::string>& KnownFaults() {
  static const std::vector<std::string> cases = [] {
    std::vector<std::string> out;
    std::ifstream in(std::string(TVUI_SOURCE_DIR) + "/tests/scenes/known-faults.txt");
    std::string line;
    while (std::getline(in, line)) {
      if (line.empty() || line[0] == '#') continue;
      const size_t bar = line.find(" | ");
      if (bar != std::string::npos && bar + 3 < line.size()) out.push_back(line.substr(bar + 3));
    }
    return out;
  }();
  return cases;
}

bool IsKnownFault(std::string_view report) {
  for (const std::string& c : KnownFaults())
    if (report.find(c) != std::string_view::npos) return true;
  return false;
}

}  // namespace kvtest
