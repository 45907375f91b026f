// The test build's check on texts that do not fit: a one-line text drawn
// wider than its view without an ellipsis is recorded with its view's class,
// the screen it is on and the text, once per pass of the check, and logged
// as an error (the scene runner fails on it). Outside test builds nothing is
// checked or recorded.
#pragma once

#include <string>
#include <vector>

namespace Views {

// The texts drawn cut since the last call, one line each, forgetting them.
std::vector<std::string> TakeCutTexts();

}  // namespace Views
