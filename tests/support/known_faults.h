// The faults of the picture that the checks find today and that issues
// still open will mend: tests/scenes/known-faults.txt, one case a line,
// "FAULT | TEXT", where TEXT is a part of the reported line. The scene
// runner (tools/play_scene.sh), the key storms and the application tests
// pass over a reported line that contains a listed TEXT and fail on any
// other.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kvtest {

// The TEXT of every case listed, read once.
const std::vector<std::string>& KnownFaults();
// True when `report` contains a listed TEXT.
bool IsKnownFault(std::string_view report);

}  // namespace kvtest
