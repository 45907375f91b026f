// The scene runner's matcher of known faults (tools/play_scene.sh): the same
// as the tests' (tests/support/known_faults.h).
//   known_faults_filter REGEX < LOG
// Prints each line of LOG that REGEX (extended) finds and that no line of
// tests/scenes/known-faults.txt lists, and each line of that file that is
// refused because it could pass over more than one report. Status 1 when it
// printed any, else 0.
#include <iostream>
// GCC 12 sees a false "may be used uninitialised" inside <regex> when the
// sanitizers instrument it; the header's own code is not ours to change.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <regex>
#pragma GCC diagnostic pop
#include <string>

#include "known_faults.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: known_faults_filter REGEX < LOG\n";
    return 2;
  }
  int status = 0;
  for (const std::string& refused : kvtest::RefusedKnownFaults()) {
    std::cout << "refused: " << refused << "\n";
    status = 1;
  }
  const std::regex wanted(argv[1], std::regex::extended);
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!std::regex_search(line, wanted) || kvtest::IsKnownFault(line)) continue;
    std::cout << line << "\n";
    status = 1;
  }
  return status;
}
