// Factory mode: the flag that the host's start-up and the factory screens
// test, and the way out of factory mode.
#pragma once

#include <cstdint>

// Exported data: non-zero while the set is in factory mode.
extern int32_t bInFactoryMode;

// Leaves factory mode: console print back on (unless the board has no
// console), normal LED, GPIO 75 low, the flag cleared, and the persisted
// factory flag (customized property 26) cleared when set. Answers 1.
int32_t FactoryCommandExitMMode();
