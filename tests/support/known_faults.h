// The faults of the picture that the checks find today and that issues
// still open will mend, and the few covers a screen shows on purpose:
// tests/scenes/known-faults.txt, one case a line, "FAULT | TEXT", where TEXT
// names one report exactly: its kind, the whole place of the text (from the
// view to the outermost screen) and the whole text in quotes (both texts of
// a pair), so that a line never passes over another fault of the same
// screen or the same fault in another language. The scene runner
// (tools/play_scene.sh, through known_faults_filter), the walks, the key
// storms and the application tests pass over a reported line that contains
// a listed TEXT, once its rectangles are left out, and fail on any other.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kvtest {

// The TEXT of every case listed that names one report, read once.
const std::vector<std::string>& KnownFaults();
// The lines refused, each with its number and why: a TEXT that stops before
// the end of a text or of a place (a class name and "<", an open quote), or
// that is no report the checks write.
const std::vector<std::string>& RefusedKnownFaults();
// Empty when `pattern` names one report exactly, else why not.
std::string WhyRefused(std::string_view pattern);
// A report without its rectangles (" glyphs (x,y)-(x,y) visible (x,y)-(x,y)"),
// as a listed TEXT names it.
std::string WithoutRectangles(std::string_view report);
// True when `report`, without its rectangles, contains a listed TEXT.
bool IsKnownFault(std::string_view report);
// The reports of `faults` that no listed TEXT names.
std::vector<std::string> Unlisted(const std::vector<std::string>& faults);

}  // namespace kvtest
