// The platform's media service (Psl*): the calls the media bridge makes.
// Every call takes the service handle `globalPsl` first. Status: 0 success.
// The stand-in keeps the flags it was given in the simulated set (call log,
// chosen failures) and answers at once.
#pragma once

#include <cstdint>

using PslHandle = void*;

// The service handle; the platform fills it in (the stand-in: at the first call).
extern PslHandle globalPsl;

constexpr int32_t PSL_OK = 0;
constexpr int32_t PSL_ERR_NOT_READY = -1;

// Starts the service for the bridge object with the three flags.
int32_t PslInit(PslHandle psl, void* bridge, int32_t dlna, int32_t renderer, int32_t access);
// Home-network media: bit 0 DLNA on, bit 1 renderer on.
int32_t PslMediaEnableDLNA(PslHandle psl, int32_t mode);
