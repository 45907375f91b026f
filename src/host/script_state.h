// The "state" and "message" lines of a headless key script: they open the
// screens that no key reaches, as those screens' callers do.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/key_script.h"

namespace host {

// How long "shot" waits for animations to end before it shoots anyway.
inline constexpr int64_t kShotAnimationLimit = 3000;

// Parses the rest of a "state" or "message" line into `step`; false when
// malformed, or when a number does not fit the 32 bits a screen is given or
// a "state" VALUE is not one its screen takes (Primitives::StateValues):
// then `why`, when given, says so.
bool ParseScreenStep(std::string_view word, std::string_view rest, KeyScript::Step* step,
                     std::string* why = nullptr);
// Carries the line out on the GUI task; a class that does not exist is logged and skipped.
void RunScreenStep(const KeyScript::Step& step);

}  // namespace host
