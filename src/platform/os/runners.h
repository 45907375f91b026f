// The platform's application runners. Our stand-ins start nothing: they log
// what they would start and record the call in the simulated television's
// call log. Status convention: 0 is success.
#pragma once

#include <cstdint>

// The Flash Lite player of the application partition.
int32_t flashlite_runner_init(void);
// The video-service application.
int32_t vudu_runner_init(void);
