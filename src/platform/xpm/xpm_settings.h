// The middleware's settings, channel, source, timer and clock calls
// (XPM_*), with the recording database's DB_Get_TimerId and the front
// display's BCM_DisplayChannelNumber, served by the simulated television.
//
// Status convention (as in xpm.h): XPM_OK (0) is success, anything else an
// error code that the caller returns or logs. In addition:
//   - XPM_ERR_END_OF_LIST (11): a walk (XPM_GetNextChannel,
//     XPM_GetPrevChannel, XPM_GetSourceID) has passed the last entry. A
//     channel walk wraps round the ring only when its `wrap` argument is 1;
//     with 0 it answers 11 after the last (first) channel of the ring.
//   - A getter writes its out-values only on success; on failure they keep
//     what the caller preset (the caller presets its documented default).
//   - Records and buffers handed to a call are zeroed by the caller first;
//     the middleware writes only the fields it knows.
//   - Lists handed to the caller (XPM_GetVirtualChannels) are allocated with
//     BKNI_Malloc; the caller frees them with BKNI_Free (tracked, so a leak
//     or a double free shows in BKNI_LiveAllocations / BKNI_BadFrees), also
//     when the call failed but returned a list.
//   - Every call is recorded in the simulated television's call log as
//     "NAME(ARGS)" and can be told to fail (sim::Sim::FailCall).
//
// "window first": picture, caption and audio-service calls take the video
// window (0 the main window, 1 the second window) as their first argument.
// Channel numbers are (major, minor); -1 is the wildcard, -2 none.
//
// The calls are plain C++ functions (like xpm.h); XPM_SetSource(window,
// source) overloads xpm.h's one-argument XPM_SetSource, which addresses the
// main window.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/xpm/xpm.h"

// --- Status codes and fixed numbers ------------------------------------------

enum : int32_t {
  XPM_ERR_END_OF_LIST = 11,  // a walk has passed its last entry
  XPM_ERR_NOT_FOUND = 12,    // no such entry (a channel number not in the list): an answer
};

// Rings: 0 the master ring (every channel), 1 to 3 the favourite rings.
enum : int32_t {
  XPM_MASTER_RING = 0,
  XPM_FAVORITE_RING1 = 1,
  XPM_FAVORITE_RING2 = 2,
  XPM_FAVORITE_RING3 = 3,
  XPM_FAVORITE_RING_MAX = 40,  // channels a favourite ring holds at most
};

// The "none" channel numbers (-1 is the wildcard).
enum : int32_t {
  XPM_VIRTUAL_CHANNEL_MAJOR_NONE = -2,
  XPM_VIRTUAL_CHANNEL_MINOR_NONE = -2,
};

// Caption render states (XPM_SetCaptionRenderState).
enum : int32_t {
  XPM_CAPTION_RENDER_STATE_OFF = 0,
  XPM_CAPTION_RENDER_STATE_ON = 1,
  XPM_CAPTION_RENDER_STATE_ON_WHEN_MUTE = 2,
};

// Parental lock states (XPM_SetParentalLocksState).
enum : int32_t {
  XPM_PARENTAL_LOCKS_STATE_OFF = 0,
  XPM_PARENTAL_LOCKS_STATE_OFF_UNTIL_STANDBY = 1,
  XPM_PARENTAL_LOCKS_STATE_ON = 2,
};

// The audio path of XPM_SetMute: 8 is the main speakers' path.
enum : int32_t {
  XPM_AUDIO_PATH_MAIN = 8,
};

// Selection flags of the channel walks (XPM_GetNextChannel/XPM_GetPrevChannel
// argument `select`): which channels the walk steps over.
enum : int32_t {
  XPM_CHANNEL_SELECT_ALL = 0,              // every channel of the ring
  XPM_CHANNEL_SELECT_SKIP_EXCLUDED = 0x1,  // skip channels the viewer excluded from surfing
  XPM_CHANNEL_SELECT_SKIP_EMPTY = 0x4,     // skip channels without a service
  XPM_CHANNEL_SELECT_SKIP_LOCKED = 0x10,   // skip locked channels
};
// Further selection (argument `only`): 0 any channel, 0x10 digital channels only.
enum : int32_t {
  XPM_CHANNEL_ONLY_ANY = 0,
  XPM_CHANNEL_ONLY_DIGITAL = 0x10,
};

// --- Records -----------------------------------------------------------------

// A channel number.
struct XPM_VirtualChannel {
  int32_t major;
  int32_t minor;
};
static_assert(sizeof(XPM_VirtualChannel) == 8);

// XPM_GetChannelInfo's answer: word 0 major, word 1 minor, word 2 non-zero for
// a digital channel, the name as 8-bit text from byte 12 (at most 39
// characters and the terminator), byte 52 non-zero when the viewer excluded
// the channel, word 60 the channel's flags (bit 0: it carries a service),
// byte 64 the lock byte, word 76 the physical channel.
struct XPM_ChannelInfo {
  int32_t major;
  int32_t minor;
  int32_t digital;
  char name[40];
  uint8_t excluded;
  uint8_t reserved1[7];
  int32_t flags;
  uint8_t attributes;
  uint8_t reserved0[3];
  int32_t reserved[2];
  int32_t physical;
  int32_t reserved2[5];
};
static_assert(offsetof(XPM_ChannelInfo, name) == 12);
static_assert(offsetof(XPM_ChannelInfo, excluded) == 52);
static_assert(offsetof(XPM_ChannelInfo, flags) == 60);
static_assert(offsetof(XPM_ChannelInfo, attributes) == 64);
static_assert(offsetof(XPM_ChannelInfo, physical) == 76);
static_assert(sizeof(XPM_ChannelInfo) == 100);

// XPM_GetVideoContentInfo's answer, one 32-bit word each.
struct XPM_VideoContentInfo {
  int32_t width;        // word 0: pixels
  int32_t height;       // word 1: lines
  int32_t scanType;     // word 2: 1 interlaced, 2 progressive
  int32_t frameRate;    // word 3: frame-rate code
  int32_t aspect;       // word 4: 1 4:3, 2 16:9
  int32_t colorFormat;  // word 5: 0 RGB full, 3 RGB limited, 1 YUV 4:4:4, others YUV 4:2:2
  int32_t contentType;  // word 6
  int32_t colorDepth;   // word 7: 4 8 bit, 5 10 bit, 6 12 bit
  int32_t pcTiming;     // word 8: non-zero for a PC timing
  int32_t reserved[7];
};
static_assert(offsetof(XPM_VideoContentInfo, aspect) == 16);
static_assert(offsetof(XPM_VideoContentInfo, contentType) == 24);
static_assert(offsetof(XPM_VideoContentInfo, pcTiming) == 32);
static_assert(sizeof(XPM_VideoContentInfo) == 64);

// XPM_GetAudioServiceInfo's answer: the service's language as zero-terminated
// 8-bit text (a three-letter code), then its type.
struct XPM_AudioServiceInfo {
  char language[16];
  int32_t type;
  int32_t reserved[3];
};
static_assert(sizeof(XPM_AudioServiceInfo) == 32);

// XPM_GetCaptionServiceInfo's request: advanced (1) or basic (0) services,
// and the service counted from 1.
struct XPM_CaptionServiceRequest {
  int32_t advanced;
  int32_t service;
};
static_assert(sizeof(XPM_CaptionServiceRequest) == 8);

// XPM_GetCaptionServiceInfo's answer: the language as a three-letter code
// and its terminator in word 2, two flags in words 3 and 4.
struct XPM_CaptionServiceInfo {
  int32_t advanced;    // word 0: as requested
  int32_t service;     // word 1: as requested
  char language[4];    // word 2
  int32_t easyReader;  // word 3
  int32_t wideAspect;  // word 4
  int32_t reserved[3];
};
static_assert(offsetof(XPM_CaptionServiceInfo, language) == 8);
static_assert(offsetof(XPM_CaptionServiceInfo, easyReader) == 12);
static_assert(offsetof(XPM_CaptionServiceInfo, wideAspect) == 16);
static_assert(sizeof(XPM_CaptionServiceInfo) == 32);

// The local time, broken down: nine 32-bit words.
struct XPM_LocalTime {
  int32_t second;
  int32_t minute;
  int32_t hour;
  int32_t day;      // day of month, 1-31
  int32_t month;    // 0-11
  int32_t year;     // years since 1900
  int32_t weekday;  // 0 Sunday
  int32_t yearDay;  // 0-365
  int32_t dst;      // daylight-saving flag
};
static_assert(sizeof(XPM_LocalTime) == 36);

// A timer record: 25 little-endian 32-bit words, 100 bytes, exchanged with
// XPM_GetTimer / XPM_SetTimer.
struct XPM_TimerRecord {
  int32_t extra1;      // word 0
  int32_t enabled;     // word 1: 0 or 1
  XPM_LocalTime start; // words 2-10
  int32_t unused11;    // word 11: the program neither reads nor sets it (sent as 0)
  int32_t unused12;    // word 12: likewise
  int32_t duration;    // word 13
  int32_t daysOfWeek;  // word 14: bit 0 the first day
  int32_t source;      // word 15
  int32_t major;       // word 16: read back as a signed 16-bit value
  int32_t minor;       // word 17: read back as a signed 16-bit value
  int32_t extra2;      // word 18
  int32_t timesType;   // word 19
  int32_t extra3;      // word 20
  int32_t sourceType;  // word 21
  int32_t mapId;       // word 22
  int32_t startEarly;  // word 23
  int32_t endDelay;    // word 24
};
static_assert(offsetof(XPM_TimerRecord, enabled) == 4);
static_assert(offsetof(XPM_TimerRecord, start) == 8);
static_assert(offsetof(XPM_TimerRecord, unused11) == 44);
static_assert(offsetof(XPM_TimerRecord, duration) == 52);
static_assert(offsetof(XPM_TimerRecord, major) == 64);
static_assert(offsetof(XPM_TimerRecord, extra2) == 72);
static_assert(offsetof(XPM_TimerRecord, sourceType) == 84);
static_assert(offsetof(XPM_TimerRecord, endDelay) == 96);
static_assert(sizeof(XPM_TimerRecord) == 100);

// The front display's channel-number record: word 0 the mode (2 while a
// channel scan runs: the display shows the scan), the others unused (zero).
struct BCM_ChannelNumberDisplay {
  int32_t mode;
  int32_t reserved[7];
};
static_assert(sizeof(BCM_ChannelNumberDisplay) == 32);

enum : int32_t {
  BCM_DISPLAY_MODE_SCAN = 2,
};

// --- Picture -----------------------------------------------------------------

int32_t XPM_SetBacklight(int32_t value);
int32_t XPM_GetBacklight(int32_t* value);
int32_t XPM_SetContrast(int32_t window, int32_t value);
int32_t XPM_GetContrast(int32_t window, int32_t* value);
int32_t XPM_SetBrightness(int32_t window, int32_t value);
int32_t XPM_GetBrightness(int32_t window, int32_t* value);
int32_t XPM_SetSaturation(int32_t window, int32_t value);
int32_t XPM_GetSaturation(int32_t window, int32_t* value);
int32_t XPM_SetHue(int32_t window, int32_t value);
int32_t XPM_GetHue(int32_t window, int32_t* value);
int32_t XPM_SetSharpness(int32_t window, int32_t value);
int32_t XPM_GetSharpness(int32_t window, int32_t* value);
int32_t XPM_SetColorTemperature(int32_t value);
int32_t XPM_GetColorTemperature(int32_t* value);
// channel: 0 red, 1 green, 2 blue.
int32_t XPM_SetColorTemperatureOffset(int32_t channel, int32_t value);
int32_t XPM_GetColorTemperatureOffset(int32_t channel, int32_t* value);
int32_t XPM_SetColorTemperatureGain(int32_t channel, int32_t value);
int32_t XPM_GetColorTemperatureGain(int32_t channel, int32_t* value);
// The middleware's preset numbers 0 to 8.
int32_t XPM_SetVideoPreset(int32_t window, int32_t preset);
int32_t XPM_GetVideoPreset(int32_t window, int32_t* preset);
// Brings the given preset of the window back to its factory values.
int32_t XPM_ResetVideoPreset(int32_t window, int32_t preset);
// View modes 0 to 6 in the low byte.
int32_t XPM_SetViewMode(int32_t window, int32_t mode);
int32_t XPM_GetViewMode(int32_t window, int32_t* mode);
// The low byte as XPM_SetViewMode; bits 0x100 (automatic) and 0x200 (4:3
// stretch) are flags kept with it.
int32_t XPM_SetPreferredViewMode(int32_t window, int32_t mode);
int32_t XPM_GetPreferredViewMode(int32_t window, int32_t* mode);
int32_t XPM_SetCM3D(int32_t value);
int32_t XPM_GetCM3D(int32_t* value);
// digital: 1 the digital noise reduction, 0 the analogue one.
int32_t XPM_SetNoiseReduction(int32_t value, int32_t digital);
int32_t XPM_GetNoiseReduction(int32_t* value, int32_t digital);
int32_t XPM_SetSuperResolutionStatus(int32_t window, int32_t on);
int32_t XPM_GetSuperResolutionStatus(int32_t window, int32_t* on);
int32_t XPM_SetCinemaMode(int32_t mode);  // 0 to 255
int32_t XPM_GetCinemaMode(int32_t* mode);
int32_t XPM_SetDynamicContrast(int32_t value);
int32_t XPM_GetDynamicContrast(int32_t* value);
int32_t XPM_SetGameMode(int32_t value);
int32_t XPM_GetGameMode(int32_t* value);
int32_t XPM_SetVDECMotionSensitivity(int32_t window, int32_t value);
int32_t XPM_GetVDECMotionSensitivity(int32_t window, int32_t* value);
int32_t XPM_SetHorizontalPosition(int32_t value);
int32_t XPM_GetHorizontalPosition(int32_t* value);
int32_t XPM_SetVerticalPostition(int32_t value);  // the middleware's spelling
int32_t XPM_GetVerticalPostition(int32_t* value);
int32_t XPM_SetHLineAdjust(int32_t value);
int32_t XPM_GetHLineAdjust(int32_t* value);
int32_t XPM_SetVLineAdjust(int32_t value);
int32_t XPM_GetVLineAdjust(int32_t* value);
int32_t XPM_SetPhaseAdjust(int32_t value);
int32_t XPM_GetPhaseAdjust(int32_t* value);
int32_t XPM_SetVideoFreezeState(int32_t frozen);
int32_t XPM_GetVideoFreezeState(int32_t* frozen);
int32_t XPM_GetVideoContentInfo(int32_t window, XPM_VideoContentInfo* info);
// The video of window 0 (main) or 1 shown in a rectangle of the screen
// (960 x 540 is the whole picture); a rectangle outside it is refused.
int32_t XPM_SetDisplayWindow(int32_t window, int32_t x, int32_t y, int32_t width, int32_t height);
int32_t XPM_SetVideoWindow(int32_t x, int32_t y, int32_t width, int32_t height);
int32_t XPM_AutoSync(void);  // VGA automatic adjustment

// --- Sound -------------------------------------------------------------------

int32_t XPM_SetVolume(int32_t value);
int32_t XPM_GetVolume(int32_t* value);
// path: XPM_AUDIO_PATH_MAIN (8); muted 0 or 1.
int32_t XPM_SetMute(int32_t path, int32_t muted);
int32_t XPM_GetMute(int32_t* muted);
int32_t XPM_SetBalance(int32_t value);
int32_t XPM_GetBalance(int32_t* value);
int32_t XPM_SetBass(int32_t value);
int32_t XPM_GetBass(int32_t* value);
int32_t XPM_SetTreble(int32_t value);
int32_t XPM_GetTreble(int32_t* value);
int32_t XPM_SetEqualizerPreset(int32_t preset);
int32_t XPM_GetEqualizerPreset(int32_t* preset);
int32_t XPM_SetPreferredAudioDecodeMode(int32_t mode);
int32_t XPM_GetPreferredAudioDecodeMode(int32_t* mode);
int32_t XPM_SetAudioDecodeMode(int32_t window, int32_t mode);
int32_t XPM_GetAudioDecodeMode(int32_t window, int32_t* mode);
// A three-letter language code ("eng", "fre", "spa"), zero-terminated.
int32_t XPM_SetPreferredAudioLanguage(const char* code);
// Writes the code and its terminator into `code` (at least 4 bytes).
int32_t XPM_GetPreferredAudioLanguage(char* code);
int32_t XPM_SetVolumeLevelling(int32_t on);
int32_t XPM_GetVolumeLevelling(int32_t* on);
int32_t XPM_SetMuteExtOutput(int32_t muted);
int32_t XPM_GetMuteExtOutput(int32_t* muted);
int32_t XPM_SetAudDynamicVolume(int32_t value);
int32_t XPM_GetAudDynamicVolume(int32_t* value);
int32_t XPM_SetAEQ(int32_t on);
int32_t XPM_GetAEQ(int32_t* on);
int32_t XPM_SetTruSurround(int32_t on);
int32_t XPM_GetTruSurround(int32_t* on);
int32_t XPM_SetTruVolume(int32_t on);
int32_t XPM_GetTruVolume(int32_t* on);
int32_t XPM_SetStudioSoundTruSurround(int32_t on);
int32_t XPM_GetStudioSoundTruSurround(int32_t* on);
int32_t XPM_SetStudioSoundTruVolume(int32_t on);
int32_t XPM_GetStudioSoundTruVolume(int32_t* on);
int32_t XPM_SetAdditionalAudioDelay(int32_t ms);
int32_t XPM_GetAdditionalAudioDelay(int32_t* ms);
int32_t XPM_SetSpdifFormat(int32_t format);
int32_t XPM_GetSpdifFormat(int32_t* format);
int32_t XPM_SetSpeaker(int32_t on);
int32_t XPM_GetSpeaker(int32_t* on);
int32_t XPM_GetCurrentAudioService(int32_t window, int32_t* index);
int32_t XPM_SetAudioService(int32_t window, int32_t index);
int32_t XPM_GetAudioServiceInfo(int32_t window, int32_t index, XPM_AudioServiceInfo* info);
int32_t XPM_GetNumAudioServices(int32_t window, int32_t* count);
int32_t XPM_GetAudioReceptionInfo(int32_t window, int32_t* stereo, int32_t* sap);

// --- Captions ----------------------------------------------------------------

// state: XPM_CAPTION_RENDER_STATE_*.
int32_t XPM_SetCaptionRenderState(int32_t window, int32_t state);
int32_t XPM_GetCaptionRenderState(int32_t window, int32_t* state);
int32_t XPM_SetCaptionDecodeMode(int32_t mode);
int32_t XPM_GetCaptionDecodeMode(int32_t* mode);
// Services counted from 1.
int32_t XPM_SetPreferredBasicCaptionService(int32_t service);
int32_t XPM_GetPreferredBasicCaptionService(int32_t* service);
int32_t XPM_SetPreferredAdvancedCaptionService(int32_t service);
int32_t XPM_GetPreferredAdvancedCaptionService(int32_t* service);
// index: 0 window justification, 1 window colour, 2 window opacity, 3 font
// size, 4 font style, 5 edge colour, 6 edge type, 7 font colour, 8 font
// opacity, 9 background colour, 10 background opacity.
int32_t XPM_SetAdvancedCaptionProperty(int32_t index, int32_t value);
int32_t XPM_GetAdvancedCaptionProperty(int32_t index, int32_t* value);
int32_t XPM_SetBasicCaptionProperty(int32_t index, int32_t value);
int32_t XPM_GetBasicCaptionProperty(int32_t index, int32_t* value);
// Shows (show 1) or hides a sample caption: `length` 8-bit characters of `text`.
int32_t XPM_ShowAdvancedSampleCaptionText(int32_t show, const char* text, int32_t length, int32_t a, int32_t b);
int32_t XPM_GetCaptionServiceInfo(int32_t window, XPM_CaptionServiceRequest request, XPM_CaptionServiceInfo* info);

// --- Ratings and locks ---------------------------------------------------------

// state: XPM_PARENTAL_LOCKS_STATE_*; other values answer XPM_ERR_INVALID_PARAM.
int32_t XPM_SetParentalLocksState(int32_t state);
int32_t XPM_GetParentalLocksState(int32_t* state);
int32_t XPM_SetUnratedContent(int32_t blocked);
int32_t XPM_GetUnratedContent(int32_t* blocked);
int32_t XPM_SetFrontPanelLockState(int32_t locked);
int32_t XPM_GetFrontPanelLockState(int32_t* locked);
int32_t XPM_SetParentalLocksMask(int32_t mask);  // 0 to 255
int32_t XPM_GetParentalLocksMask(int32_t* mask);
int32_t XPM_SetUsChildRating(int32_t rating, int32_t content, int32_t blocked, int32_t d);
int32_t XPM_GetUsChildRating(int32_t rating, int32_t content, int32_t* blocked);
int32_t XPM_SetUsAgeRating(int32_t rating, int32_t content, int32_t blocked, int32_t d);
int32_t XPM_GetUsAgeRating(int32_t rating, int32_t content, int32_t* blocked);
int32_t XPM_SetUsMovieRating(int32_t rating, int32_t blocked, int32_t c);
int32_t XPM_GetUsMovieRating(int32_t rating, int32_t* blocked);
// system: 0 English, 1 French Canadian ratings; level 0-6 (English), 0-5 (French).
int32_t XPM_SetCanadaLevel(int32_t system, int32_t level, int32_t blocked, int32_t d);
int32_t XPM_GetCanadaLevel(int32_t system, int32_t level, int32_t* blocked);
int32_t XPM_SetChannelLock(int32_t major, int32_t minor, int32_t locked);
int32_t XPM_GetChannelLock(int32_t major, int32_t minor, int32_t* locked);
int32_t XPM_SetSourceLock(int32_t source, int32_t locked);
int32_t XPM_GetSourceLock(int32_t source, int32_t* locked);
// Adds a three-letter language to the rating texts' preferences.
int32_t XPM_SetPreferredRatingLanguage(const char* code);

// --- Time ----------------------------------------------------------------------

int32_t XPM_SetTimeZone(int32_t zone, int32_t dst);
int32_t XPM_GetTimeZone(int32_t* zone, int32_t* dst);
// 0 off, 1 from the broadcast channel, 2 from the network, 3 from both.
int32_t XPM_SetAutoTimeUpdate(int32_t status);
int32_t XPM_GetAutoTimeUpdate(int32_t* status);
int32_t XPM_GetGMTOffset(int32_t zone, int32_t dst, float* offset);
int32_t XPM_GetLocalTime(XPM_LocalTime* time);
int32_t XPM_SetLocalTime(const XPM_LocalTime* time);

// --- System ----------------------------------------------------------------------

int32_t XPM_SetMedium(int32_t medium);  // 0 antenna, 1 cable
int32_t XPM_GetMedium(int32_t* medium);
int32_t XPM_StandbyMode(int32_t mode, int32_t reason);
int32_t XPM_SetDualWindow(int32_t mode);  // 0 off
int32_t XPM_GetDualWindowMode(int32_t* mode);
int32_t XPM_SetSecondaryWindowAudio(int32_t on);
int32_t XPM_GetSecondaryWindowAudio(int32_t* on);
int32_t XPM_SetPipPosition(int32_t position);
int32_t XPM_GetPipPosition(int32_t* position);
int32_t XPM_SwapSources(void);
// Writes the version as zero-terminated 8-bit text, at most size - 1 characters.
int32_t XPM_GetFirmwareVersion(char* buffer, int32_t size);
int32_t XPM_GetSignalQuality(int32_t window, int32_t* quality);  // 0-100
// Brings the middleware's settings back to the factory's (mode 0: all).
int32_t XPM_Reset(int32_t mode);
int32_t XPM_ResetAudioDefaults(void);

// --- Channel scans -----------------------------------------------------------------

int32_t BCM_DisplayChannelNumber(const BCM_ChannelNumberDisplay* record);
int32_t XPM_StartChannelScan(int32_t medium, int8_t b, int8_t c, int8_t d, int16_t e, int16_t f);
int32_t XPM_AbortChannelScan(int32_t a);
int32_t XPM_StartChannelDiscovery(int32_t physical, int8_t b, int8_t c, int8_t d, int8_t e, int8_t f);
int32_t XPM_AbortChannelDiscovery(int32_t a);
int32_t XPM_EPG_FullChannelScan(int32_t window, int32_t p3, int32_t p4, int32_t p2, int32_t p1);
int32_t XPM_EPG_SingleChannelScan(int32_t window, int32_t p3, int32_t p2, int32_t p1);
int32_t XPM_EPG_AbortScan(int32_t window);

// --- Sources -----------------------------------------------------------------------

// Sources are numbered by index 0 .. count-1; each has an id and a type
// (Constants::XPM_SOURCE_TYPE_*).
int32_t XPM_GetNumSources(int32_t* count);
// XPM_ERR_END_OF_LIST for an index past the last source.
int32_t XPM_GetSourceID(int32_t index, int32_t* id);
int32_t XPM_GetSourceType(int32_t source, int32_t* type);
int32_t XPM_GetCurrentSource(int32_t window, int32_t* source);
int32_t XPM_SetSource(int32_t window, int32_t source);
// Whether window `window` may show input `source` now (1) or not (0).
int32_t XPM_IsSourceSelectable(int32_t window, int32_t source, int32_t* selectable);

// --- Channels ----------------------------------------------------------------------

int32_t XPM_GetCurrentChannel(int32_t window, XPM_VirtualChannel* channel);
// Tunes the window to the channel; a channel not in the map answers
// XPM_ERR_INVALID_PARAM.
int32_t XPM_SetChannel(int32_t window, int32_t major, int32_t minor);
int32_t XPM_GetChannelInfo(int32_t major, int32_t minor, XPM_ChannelInfo* info);
int32_t XPM_GetCurrentPhysicalChannel(int32_t window, int32_t* physical);
int32_t XPM_GetNumChannelsInRing(int32_t ring, int32_t* count);
int32_t XPM_IsChannelInRing(int32_t ring, int32_t major, int32_t minor, int32_t* in);
// The channel after (before) (major, minor) in the ring; (-1, -1) starts
// before the first (after the last) channel. `window` and `source` filter
// nothing when -1; else `window` is the tuner (0 the RF tuner, 1 the digital
// tuner: digital channels only) and `source` the map (0 antenna, 1 cable)
// that the walk goes through instead of the current medium's. `select` is a mask of XPM_CHANNEL_SELECT_*, `only` one of
// XPM_CHANNEL_ONLY_*. Past the end: with `wrap` 1 the walk goes round (a ring
// without any selectable channel answers XPM_ERR_END_OF_LIST), with 0 it
// answers XPM_ERR_END_OF_LIST. A channel not in the ring answers
// XPM_ERR_INVALID_PARAM.
int32_t XPM_GetNextChannel(int32_t window, int32_t source, int32_t ring, int32_t major, int32_t minor,
                           XPM_VirtualChannel* next, int32_t select, int32_t only, int32_t wrap);
int32_t XPM_GetPrevChannel(int32_t ring, int32_t major, int32_t minor, XPM_VirtualChannel* prev, int32_t select,
                           int32_t only, int32_t wrap);
// The virtual channels carried by a physical channel: a BKNI_Malloc'ed array
// of `count` pairs that the caller frees with BKNI_Free (null when count is 0).
int32_t XPM_GetVirtualChannels(int32_t physical, XPM_VirtualChannel** list, int32_t* count);
// Ring 0 is the channel map: (-1, -1) adds every channel on the air, or
// removes every channel of the map.
int32_t XPM_AddChannelToRing(int32_t ring, int32_t major, int32_t minor);
int32_t XPM_RemoveChannelFromRing(int32_t ring, int32_t major, int32_t minor);
// name: zero-terminated 8-bit text, at most 36 characters.
int32_t XPM_SetChannelName(int32_t major, int32_t minor, const char* name);

// --- Timers --------------------------------------------------------------------------

// A missing id answers XPM_ERR_INVALID_PARAM.
int32_t XPM_GetTimer(int32_t id, XPM_TimerRecord* record);
// XPM_SetTimer checks a timer that has days (daysOfWeek not 0) against the
// others: a timer id outside 1-16 (0 is the on-timer), a duration of 0 or
// more than a day, a window that shares a day and a time with another
// enabled timer of the same tuner (tuner 1 when the source is not 0), and a
// one-time timer (timesType 4) whose whole window, end delay included, is
// past are refused with these codes.
enum : int32_t {
  XPM_TIMER_ERROR_INVALID_TIMERID = 5,
  XPM_TIMER_ERROR_OVERLAP = 39,
  XPM_TIMER_ERROR_INVALID_DURATION = 41,
  XPM_TIMER_ERROR_INVALID_STARTTIME = 43,
};
int32_t XPM_SetTimer(int32_t id, XPM_TimerRecord record);
// The recording database: the first free timer id (0 is success).
int32_t DB_Get_TimerId(int32_t* id);
