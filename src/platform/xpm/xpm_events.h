// Raw payloads of the middleware events (ids in xpm_event_ids.h). Plain
// structs of fixed-width fields, little-endian as the set is; their layout is
// checked below. A payload may be shorter than its struct only where a
// comment says so; readers check the length before reading.
#pragma once

#include <cstddef>
#include <cstdint>

// A virtual channel number: major and minor (minor 0 for analogue channels).
struct XPM_VirtualChannel {
  uint16_t major;
  uint16_t minor;
};
static_assert(sizeof(XPM_VirtualChannel) == 4);

// XPM_EVT_FULL_SCAN_PROGRESS as the middleware sends it: eight parameters,
// then param[7] channels (the payload's length bounds how many are there).
struct XPM_FullScanProgress {
  int32_t param[8];  // 0 physical channel, 1 a further number, 2 percent, 3 flag, 4-6 unused, 7 channels found
  // XPM_VirtualChannel channels[param[7]] follow
};
static_assert(sizeof(XPM_FullScanProgress) == 32);

constexpr int32_t XPM_MAX_SCAN_CHANNELS = 99;

// XPM_EVT_FULL_SCAN_PROGRESS as the GUI's event buffer carries it: 105 words.
struct XPM_ChannelScanProgressPayload {
  int32_t physicalChannel;                            // word 0
  int32_t value1;                                     // word 1
  int32_t percent;                                    // word 2
  int32_t found;                                      // word 3, 0..99
  XPM_VirtualChannel channels[XPM_MAX_SCAN_CHANNELS];  // words 4..102
  int32_t reserved;                                   // word 103
  int32_t flag;                                       // word 104
};
static_assert(offsetof(XPM_ChannelScanProgressPayload, found) == 3 * 4);
static_assert(offsetof(XPM_ChannelScanProgressPayload, channels) == 4 * 4);
static_assert(offsetof(XPM_ChannelScanProgressPayload, flag) == 104 * 4);
static_assert(sizeof(XPM_ChannelScanProgressPayload) == 105 * 4);

// XPM_EVT_EPG_SCAN_PROGRESS as the middleware sends it.
struct XPM_EpgScanProgress {
  int32_t position;  // the channel's place in the run
  int32_t total;     // channels in the run
  int32_t major;
  int32_t minor;
};
static_assert(sizeof(XPM_EpgScanProgress) == 16);

// XPM_EVT_EPG_SCAN_PROGRESS in the event buffer: words 0 and 1 hold 16-bit values.
struct XPM_EpgChannelScanProgressPayload {
  uint32_t position;           // word 0
  uint32_t total;              // word 1
  XPM_VirtualChannel channel;  // word 2
};
static_assert(offsetof(XPM_EpgChannelScanProgressPayload, channel) == 2 * 4);
static_assert(sizeof(XPM_EpgChannelScanProgressPayload) == 12);

// The end of a full scan or of a guide scan: two numbers that are only logged.
struct XPM_ScanEndPayload {
  int32_t value0;
  int32_t value1;
};
static_assert(sizeof(XPM_ScanEndPayload) == 8);

// The command record of a factory remote code.
struct XPM_FactoryCommandRecord {
  uint32_t code;  // the remote code
  char text[20];  // zero-terminated argument text
  int32_t flag;
};
static_assert(sizeof(XPM_FactoryCommandRecord) == 28);

enum : int32_t {
  XPM_FACTORY_TYPE_COMMAND = 0,       // a factory remote code: `command` follows
  XPM_FACTORY_TYPE_DISCRETE_KEY = 2,  // a discrete key: its code in the second word
  XPM_FACTORY_TYPE_FAN_ERROR = 4,     // the fan stopped: nothing follows
};

// XPM_EVT_FACTORY. Its length depends on the type: 4 bytes for a fan error,
// 8 for a discrete key (the key in command.code), the whole struct for a command.
struct XPM_FactoryEvent {
  int32_t type;
  XPM_FactoryCommandRecord command;  // starts at the second word
};
static_assert(offsetof(XPM_FactoryEvent, command) == 4);
static_assert(sizeof(XPM_FactoryEvent) == 32);

// XPM_EVT_NETWORK_STATUS.
struct XPM_NetworkStatusPayload {
  int32_t interfaceId;  // 0 wired, 1 wireless
  int32_t status;       // 0 down, 1 up
};
static_assert(sizeof(XPM_NetworkStatusPayload) == 8);
