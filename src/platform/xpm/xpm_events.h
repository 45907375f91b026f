// Raw payloads of the middleware events (ids in xpm_event_ids.h). Plain
// structs of fixed-width fields, little-endian as the set is; their layout is
// checked below. A payload may be shorter than its struct only where a
// comment says so; readers check the length before reading.
#pragma once

#include <cstddef>
#include <cstdint>

// A channel number as scan events carry it: 16-bit major and minor (minor 0
// for analogue channels).
struct XPM_ScanChannel {
  uint16_t major;
  uint16_t minor;
};
static_assert(sizeof(XPM_ScanChannel) == 4);

// XPM_EVT_FULL_SCAN_PROGRESS as the middleware sends it: eight parameters,
// then param[7] channels (the payload's length bounds how many are there).
struct XPM_FullScanProgress {
  int32_t param[8];  // 0 physical channel, 1 a further number, 2 percent, 3 flag, 4-6 unused, 7 channels found
  // XPM_ScanChannel channels[param[7]] follow
};
static_assert(sizeof(XPM_FullScanProgress) == 32);

constexpr int32_t XPM_MAX_SCAN_CHANNELS = 99;

// XPM_EVT_FULL_SCAN_PROGRESS as the GUI's event buffer carries it: 105 words.
struct XPM_ChannelScanProgressPayload {
  int32_t physicalChannel;                            // word 0
  int32_t value1;                                     // word 1
  int32_t percent;                                    // word 2
  int32_t found;                                      // word 3, 0..99
  XPM_ScanChannel channels[XPM_MAX_SCAN_CHANNELS];  // words 4..102
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
  XPM_ScanChannel channel;  // word 2
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

// One 32-bit value: a status, a result, a reason, a region or a timer id (the
// ids say which).
struct XPM_Int32Payload {
  int32_t value;
};
static_assert(sizeof(XPM_Int32Payload) == 4);

// A zero-terminated 8-bit path (a shorter text is zero-padded).
struct XPM_PathPayload {
  char path[256];
};
static_assert(sizeof(XPM_PathPayload) == 256);

// XPM_EVT_FAN_ERROR when the monitor says what to do.
struct XPM_FanErrorPayload {
  uint8_t shutdown;  // 1: the set must go to standby
  uint8_t warning;   // 1: tell the viewer
  uint8_t reserved[2];
};
static_assert(sizeof(XPM_FanErrorPayload) == 4);

// XPM_EVT_CHANNEL_ACQUIRED.
struct XPM_ChannelAcquiredPayload {
  int32_t major;
  int32_t minor;
  int32_t window;
  int32_t status;      // 0 acquired, 4 channel locked, 5 rating locked ...
  int32_t lockResult;
};
static_assert(offsetof(XPM_ChannelAcquiredPayload, window) == 8);
static_assert(sizeof(XPM_ChannelAcquiredPayload) == 20);

// XPM_EVT_SOURCE_ACQUIRED.
struct XPM_SourceAcquiredPayload {
  int32_t source;
  int32_t window;
  int32_t status;  // 16 acquired, 17 no signal, 20 rating locked, 23 source locked ...
  int32_t lockResult;
};
static_assert(sizeof(XPM_SourceAcquiredPayload) == 16);

// XPM_EVT_NETWORK_TEST_RESULTS: the middleware's three result words.
struct XPM_NetworkTestResultsPayload {
  int32_t word[3];
};
static_assert(sizeof(XPM_NetworkTestResultsPayload) == 12);

// XPM_EVT_CEC_SOURCE_DETECTED.
struct XPM_CecSourceDetectedPayload {
  int32_t source;
  uint8_t address;  // the device's logical address
  uint8_t reserved[3];
};
static_assert(offsetof(XPM_CecSourceDetectedPayload, address) == 4);
static_assert(sizeof(XPM_CecSourceDetectedPayload) == 8);

// XPM_EVT_CEC_NAME_UPDATED.
struct XPM_CecNameUpdatedPayload {
  uint8_t address;  // the logical address of the device that was renamed
  uint8_t reserved[3];
};
static_assert(sizeof(XPM_CecNameUpdatedPayload) == 4);

// XPM_EVT_MEDIA_STATUS: a status of the media service.
struct XPM_MediaStatusPayload {
  uint16_t code;
  uint16_t reserved;
  int32_t subCode[4];
};
static_assert(offsetof(XPM_MediaStatusPayload, subCode) == 4);
static_assert(sizeof(XPM_MediaStatusPayload) == 20);

// XPM_EVT_DMR_STATUS: a status of the media renderer; texts are zero-terminated 8-bit.
struct XPM_DmrStatusPayload {
  uint16_t kind;   // 7 music, 10 photo, 11 movie
  uint16_t state;  // 3 playing, 4 and 5 stopping
  char uri[256];
  char title[256];
};
static_assert(offsetof(XPM_DmrStatusPayload, uri) == 4);
static_assert(offsetof(XPM_DmrStatusPayload, title) == 260);
static_assert(sizeof(XPM_DmrStatusPayload) == 516);
