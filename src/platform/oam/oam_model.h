// Platform services of the set's identity and front panel (OAM_*), the
// customized properties kept across power cycles, and the factory-exit
// calls of the board (BCM_ControlPrintf, MPLCore_GpioSetPin). Served by the
// simulated television.
//
// Status convention: OAM_OK (0) is success.
#pragma once

#include <cstdint>

#include "platform/oam/oam.h"

struct OAM_ModelInfo {
  int32_t number;     // model number
  char name[32];      // model name, zero-terminated
  char text2[32];
  int32_t type;       // model type (3: a board without a control console)
  char text3[32];
};
static_assert(sizeof(OAM_ModelInfo) == 104);

// Customized property ids.
enum : int32_t {
  OAM_CUSTOM_FACTORY_FLAG = 26,  // set while the set is in factory mode
};

int32_t OAM_GetModelInfo(OAM_ModelInfo* info);
// The power LED: 0 off, 1 normal, other values the middleware's patterns.
int32_t OAM_Led_SetState(int32_t state);
int32_t OAM_GetCustomizedProperty(int32_t id, int32_t* value);
int32_t OAM_SetCustomizedProperty(int32_t id, int32_t value);

// Switches the platform's console print on (1) or off (0).
int32_t BCM_ControlPrintf(int32_t on);
int32_t MPLCore_GpioSetPin(int32_t pin, int32_t value);
