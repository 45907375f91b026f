// The "state" and "message" lines of a headless key script: they open the
// screens that no key reaches, as those screens' callers do.
#pragma once

#include <cstdint>
#include <string_view>

#include "host/key_script.h"

namespace host {

// How long "shot" waits for animations to end before it shoots anyway.
inline constexpr int64_t kShotAnimationLimit = 3000;

// Parses the rest of a "state" or "message" line into `step`; false when malformed.
bool ParseScreenStep(std::string_view word, std::string_view rest, KeyScript::Step* step);
// Carries the line out on the GUI task; a class that does not exist is logged and skipped.
void RunScreenStep(const KeyScript::Step& step);

}  // namespace host
