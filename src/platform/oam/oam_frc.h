// The frame-rate converter board's platform services (OAM_frc_*), served
// by the simulated television.
//
// Status convention: OAM_OK (0) is success.
#pragma once

#include <cstdint>

#include "platform/oam/oam.h"

// Commands of OAM_frc_IOControl.
enum : int32_t {
  OAM_FRC_LOCAL_DIMMING_ON = 9,
  OAM_FRC_LOCAL_DIMMING_OFF = 10,
};

// The board's EEPROM version record.
struct OAM_FrcFirmwareVersion {
  uint8_t version;
  uint8_t modelId;
  uint8_t panelSize;  // inches
  uint8_t reserved;
};
static_assert(sizeof(OAM_FrcFirmwareVersion) == 4);

int32_t OAM_frc_IOControl(int32_t command, int32_t argument);
int32_t OAM_frc_get_firmware_versionRC(OAM_FrcFirmwareVersion* version);
