// The screens a key script's "state Unit::Class [VALUE]" line can open, found
// from the program itself rather than listed by hand: every registered class
// that is a key-routing form naming the sub-system that opens it, with each
// VALUE the scenes of tests/scenes give it in their "state" lines.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kvtest {

// The VALUEs the scenes give each class in their "state" lines: "state
// Unit::Class" alone is 0, a VALUE is decimal or 0x-prefixed hexadecimal.
std::map<std::string, std::set<int64_t>> ValuesOfTheScenes();

// Every registered class a "state" line opens: a key-routing form that names
// the sub-system that opens it. Makes an object of each class, so it runs
// before the system starts (it resets the runtime after).
std::vector<std::string> ScreenClasses();

// Each screen class with each of its VALUEs (0 when no scene gives one).
std::vector<std::pair<std::string, int64_t>> EveryScreen();

}  // namespace kvtest
