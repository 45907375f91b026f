// The middleware's recorder, timeshift, USB-disk, guide-event and
// current-channel calls, served by the simulated television.
//
// Status convention as in xpm.h (XPM_OK is success; a getter writes only on
// success). Tuners are 0 and 1. Texts are zero-terminated 8-bit text.
//
// Recorder: XPM_RECORDING_START records the channel on a tuner to a file on
// the mounted USB disk and adds a recorded show (db.h) that keeps the map it
// came from: a timer made valid on the tuner records from the timer's own
// medium, any other recording from the medium the tuner receives, whatever
// the set shows. It refuses a channel that map lacks, a start without a disk
// and one while the tuner records, each reported as a recording status (4
// without a disk, 12 otherwise). A manual recording has the timer id
// 32 + tuner; XPM_RECORDING_STOP (timer id) finishes the recording of that
// timer, or with 0 or 1 the recording of that tuner. Each start and stop is
// reported as a recording status (XPM_RECORD_STATUS_STARTED, _STOPPED).
//
// Timers: the set watches its recording timers (xpm_settings.h). When an
// occurrence's start less the timer's start-early seconds comes, it sends
// XPM_EVT_TIMER_RECORD_WARNING with the timer id. The program answers with
// XPM_Set_Timer_Record_Valid (once flag, tuner, timer id, start early) and
// XPM_RECORDING_START on that tuner: that recording is the timer's (its
// scheduled show reads "recording") and the set stops it when the duration
// and the end delay have passed; the scheduled show then waits for the next
// occurrence, a one-time timer's is done.
//
// Timeshift: XPM_TIMESHIFT_START (tuner) starts buffering the tuner's channel
// (the USB disk must be mounted) and reports XPM_TIMESHIFT_STATUS_START as a
// recording status; Timeshift_KeyProc moves the playback (102 play, 104
// pause, 110 faster forward, 109 faster rewind; 107, 108, 114, 115 are kept in
// the call log and change nothing). The timeshift duration setting (0 to 4)
// chooses how much the buffer holds: 300, 600, 1200, 1800 or 3600 s, taken
// when timeshifting starts.
//
// USB disk: a folder of the data directory ("<data dir>/mnt/usb/sda1", the
// set's "/mnt/usb/sda1"), mounted and removed by the outside world
// (sim::MountUsbDisk, sim::RemoveUsbDisk); its sizes are the real file
// system's. File paths are the set's paths inside the mounted disk.
#pragma once

#include <cstdint>
#include <string>

#include "platform/xpm/xpm_settings.h"

enum : int32_t {
  XPM_USB_PATH_MAX = 256,  // mount point buffers, with the terminator
  XPM_USB_FS_MAX = 16,     // file-system name buffers, with the terminator
  XPM_EVENT_TITLE_MAX = 256,
  XPM_EVENT_TEXT_MAX = 1024,
  XPM_RATING_ENTRY_BYTES = 192,
};

// Live-TV states (XPM_Get_TV_State).
enum : int32_t {
  XPM_TV_STATE_LIVE = 1,
  XPM_TV_STATE_TIMESHIFT = 2,
  XPM_TV_STATE_RECORD = 3,  // the tuner records (this wins over timeshift)
};

// Play states of the timeshift status.
enum : int32_t {
  XPM_TIMESHIFT_PLAY_STATE_PAUSE = 1,
  XPM_TIMESHIFT_PLAY_STATE_PLAY = 2,
  XPM_TIMESHIFT_PLAY_STATE_FAST_FORWARD = 3,
  XPM_TIMESHIFT_PLAY_STATE_SLOW_FORWARD = 4,
  XPM_TIMESHIFT_PLAY_STATE_FAST_BACKWARD = 5,
  XPM_TIMESHIFT_PLAY_STATE_SLOW_BACKWARD = 6,
};
// Recording statuses (XPM_EVT_PVR_RECORD_STATUS): a recording started, ended,
// and timeshifting started.
inline constexpr int32_t XPM_RECORD_STATUS_STARTED = 2;
inline constexpr int32_t XPM_RECORD_STATUS_STOPPED = 3;
inline constexpr int32_t XPM_TIMESHIFT_STATUS_START = 13;
// The timeshift duration settings, and the seconds the buffer holds for each.
inline constexpr int32_t XPM_TIMESHIFT_DURATIONS = 5;
inline constexpr int32_t kTimeshiftBufferSeconds[XPM_TIMESHIFT_DURATIONS] = {300, 600, 1200, 1800, 3600};

// XPM_TimeShifting_Status_Check's answer: two flag bytes and seven words.
struct XPM_TimeshiftStatus {
  uint8_t active;     // timeshifting on this tuner
  uint8_t recording;  // the tuner also records
  uint8_t reserved[2];
  int32_t bufferedSeconds;
  int32_t positionSeconds;  // from the buffer's start
  int32_t playRate;         // 1 playing or paused; 2 to 9 trick play at 2^(rate - 1) times
  int32_t playState;        // XPM_TIMESHIFT_PLAY_STATE_*
  int32_t intervalMinutes;  // what the buffer holds
  int32_t startTime;  // network seconds of the buffer's start, low 32 bits
  int32_t tuner;
};
static_assert(sizeof(XPM_TimeshiftStatus) == 32);

// XPM_GetCurrentChannelInfo's answer for a window.
struct XPM_CurrentChannelInfo {
  int32_t major;
  int32_t minor;
  int32_t digital;
  char name[52];
  int32_t signalStrength;  // 0-100
  uint8_t caption;         // the channel carries captions
  uint8_t excluded;        // the viewer skips it when surfing
  uint8_t reserved0[2];
  int32_t eventCount;      // programmes of its guide (0 none)
  int32_t rating[2];       // the programme's US and Canadian rating words (0 none)
  int32_t reserved[3];
};
static_assert(sizeof(XPM_CurrentChannelInfo) == 96);

// One guide programme (XPM_GetEventInfo).
struct XPM_EventRecord {
  int32_t eventId;
  int32_t duration;  // seconds
  int64_t start;     // network seconds
  int32_t rating[2]; // US rating word, Canadian rating word (0 none)
  int32_t flags;     // bit 0: a rating is present
  int32_t reserved;
  char title[XPM_EVENT_TITLE_MAX];
  char description[XPM_EVENT_TEXT_MAX];
};

// XPM_GetCurrentEventInformation's answer: the texts are BKNI_Malloc'ed (or
// null); the caller frees them with BKNI_Free.
struct XPM_CurrentEvent {
  int32_t eventId;
  int32_t rating[2];
  int32_t reserved;
  char* title;
  char* description;
};

// XPM_GetCurrentChannelRatingInfo's block (BKNI_Malloc'ed; the caller frees
// it): this header, then `altCount` entries of XPM_RATING_ENTRY_BYTES.
struct XPM_RatingInfoHeader {
  int32_t rating[2];
  int32_t altCount;
  int32_t reserved;
};
struct XPM_RatingDimension {
  int32_t dimensionId;
  int32_t value;
  char name[64];
  char text1[60];
  char text2[60];
};
static_assert(sizeof(XPM_RatingDimension) == XPM_RATING_ENTRY_BYTES);

typedef struct XPM_EventListImpl* XPM_EventList;

// --- Recorder ------------------------------------------------------------------
int32_t XPM_RECORDING_START(int32_t tuner, int32_t major, int32_t minor, int32_t flags);
int32_t XPM_RECORDING_STOP(int32_t timerId);
int32_t XPM_SetActiveTimer(int32_t timerId, int32_t active);
int32_t XPM_Set_Timer_Record_Valid(int32_t once, int32_t tuner, int32_t timerId, int32_t startEarly);
int32_t XPM_CancelTimerRecord(int32_t timerId);
int32_t XPM_Get_Record_All(int32_t tuner, int32_t* on);
int32_t XPM_Set_Record_All(int32_t tuner, int32_t on);
int32_t xpm_setsource_record(int32_t window, int32_t on);

// --- Tuners, live TV and the clock ---------------------------------------------
int32_t XPM_GetCurrent_TunerId(int32_t* tuner);
int32_t XPM_Get_TV_State(int32_t window, int32_t* state);
// The channel the tuner's window tunes on the antenna (map 0) or cable
// (map non-zero) channel map, whichever medium is in use: its last channel
// there, else the map's first, else -2.-2.
int32_t XPM_GetTempCurrentChannel(int32_t tuner, int32_t map, XPM_VirtualChannel* channel);
int32_t XPM_GetNetworkTime(int64_t* seconds);
int32_t XPM_NetworkSeconds2LocalTime(int64_t seconds, XPM_LocalTime* out);

// --- Guide and the current channel ---------------------------------------------------
int32_t XPM_GetCurrentChannelInfo(int32_t window, XPM_CurrentChannelInfo* info);
// A list of at most `count` programmes from network time `time`; release it
// with XPM_ReleaseEvents (also after a failing XPM_GetEventInfo).
int32_t XPM_GetEventsByFixedCount(int32_t major, int32_t minor, int64_t time, int32_t count, XPM_EventList* list);
int32_t XPM_GetEventCount(XPM_EventList list, int32_t* count);
int32_t XPM_GetEventInfo(XPM_EventList list, int32_t index, XPM_EventRecord* out);
int32_t XPM_ReleaseEvents(XPM_EventList list);
int32_t XPM_GetCurrentEventInformation(int32_t window, XPM_CurrentEvent* out);
int32_t XPM_GetCurrentChannelRatingInfo(int32_t window, void** block);

// --- Timeshift -------------------------------------------------------------------------
int32_t XPM_TIMESHIFT_START(int32_t tuner);
int32_t XPM_TIMESHIFT_STOP(int32_t tuner);
int32_t Timeshift_KeyProc(int32_t code);
int32_t XPM_TimeShifting_Status_Check(int32_t tuner, XPM_TimeshiftStatus* status);
// The timeshift duration setting, 0 to 4 (others refused).
int32_t XPM_Get_Timeshift_Interval(int32_t* setting);
int32_t XPM_Set_Timeshift_Interval(int32_t setting);

// --- USB disk and files ----------------------------------------------------------------
// mountPoint: XPM_USB_PATH_MAX bytes.
int32_t XPM_Get_USB_MountPoint(int32_t* mounted, char* mountPoint);
// mountPoint: XPM_USB_PATH_MAX bytes, fileSystem: XPM_USB_FS_MAX bytes.
int32_t XPM_Get_USB_MountPoint_File(int32_t* mounted, char* mountPoint, char* fileSystem);
int32_t XPM_CheckUSB_Space(const char* mountPoint, uint64_t* total, uint64_t* free);
// Answer later with XPM_EVT_PVR_USB_FORMAT and XPM_EVT_PVR_PERF_STATUS. The
// simulated set's state "usb.format" chooses the format's result (a number;
// 0 when unset) or "none" (no answer ever); "usb.test" "none" makes the
// speed test never answer.
int32_t XPM_USB_Format_Start(void);
int32_t XPM_USB_Test(void);
int32_t XPM_USB_Test_Abort(void);
// A path on a medium where no file is answers XPM_ERR_NOT_FOUND (a companion
// file looked for may well not exist); a path on no medium is refused.
int32_t XPM_Delete_File(const char* path);
int32_t XPM_Get_File_Size(const char* path, uint64_t* size);

namespace sim {
class Sim;
inline constexpr const char* kUsbMountPoint = "/mnt/usb/sda1";
// The outside world: a disk plugged in (its folder made) or pulled out.
void MountUsbDisk(Sim& tv);
void RemoveUsbDisk(Sim& tv);
// Whether the disk is in (its folder made and not pulled out).
bool UsbDiskMounted(const Sim& tv);
// The set's recording timers changed (or the set started): the timer watch
// looks again when the next one comes due.
void TimersChanged(Sim& tv);
// Milliseconds of the simulated disk format and speed test.
inline constexpr int64_t kUsbFormatMs = 2000;
inline constexpr int64_t kUsbTestMs = 3000;
inline constexpr int32_t kUsbSpeed = 24;  // the measured speed, MB/s
// The simulated disk's size in bytes, unless its state key usb.capacity
// says otherwise (a 500 GB disk); its free space is that less its files.
inline constexpr int64_t kUsbCapacity = 500107862016;
}  // namespace sim
