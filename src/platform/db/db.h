// The recording database (DB_*) and the middleware calls that change its
// entries (XPM_Delete_*, XPM_Update_Scheduled_Show_Status, XPM_CheckIn_TimerId),
// served by the simulated television and kept in its state file
// ("db.sched.<id>", "db.rec.<id>", "db.timer.<timer id>").
//
// Status convention: DB_OK (0) is success. A getter writes its answer only
// on success. Texts are zero-terminated 8-bit text.
//
// Scheduled shows. A show is identified by its id (1 or more) and holds the
// 25-word block of DB_Insert_Scheduled_Data, its texts, a status (18
// waiting to record, 1 recording, 2 done, 3 stopped by the viewer: the
// recording status codes the screens show) and is tied to a timer id
// 0-31 (block word 14). The scheduler refuses a show whose start and
// duration overlap another one of the same tuner (DB_ERR_CONFLICT), an id in
// use, and a block whose reserved words 11, 12, 23 and 24 are not zero.
//
// Timer ids 0-31 are checked out while a timer uses them and checked in
// when it is free again.
//
// Recorded shows: the recordings on the USB disk (XPM_RECORDING_START and
// XPM_RECORDING_STOP add and finish them, xpm_record.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/xpm/xpm_settings.h"

enum : int32_t {
  DB_OK = 0,
  DB_ERR_FAILED = 1,
  DB_ERR_INVALID_PARAM = 2,
  DB_ERR_NOT_READY = 3,
  DB_ERR_NOT_FOUND = 4,
  DB_ERR_CONFLICT = 5,
  DB_ERR_END_OF_LIST = 11,
};

enum : int32_t {
  DB_TIMER_IDS = 32,
  DB_CHANNEL_NAME_MAX = 36,
  DB_TITLE_MAX = 255,
  DB_DESCRIPTION_MAX = 2047,
  DB_PATH_MAX = 255,
};

// Statuses of a scheduled show.
enum : int32_t {
  DB_SHOW_RECORDING = 1,
  DB_SHOW_DONE = 2,
  DB_SHOW_STOPPED = 3,
  DB_SHOW_WAITING = 18,
};

// The block of DB_Insert_Scheduled_Data: 25 words.
struct DB_ScheduleBlock {
  int32_t repeat2;     // [0]  the second repeat word
  int32_t flag;        // [1]  the record's flag byte, sign-extended
  XPM_LocalTime start; // [2-10]
  int32_t reserved11;  // [11] zero
  int32_t reserved12;  // [12] zero
  int32_t duration;    // [13] minutes
  int32_t timerId;     // [14] the timer 0-31 that records it
  int32_t tuner;       // [15]
  int32_t major;       // [16]
  int32_t minor;       // [17]
  int32_t mapId;       // [18] the word after the channel
  int32_t dayOfWeek;   // [19] repeat days, bit 0 Sunday
  int32_t repeat1;     // [20] the first repeat word
  int32_t repeat3;     // [21]
  int32_t repeat4;     // [22]
  int32_t reserved23;  // [23] zero
  int32_t reserved24;  // [24] zero
};
static_assert(sizeof(DB_ScheduleBlock) == 25 * 4);
static_assert(offsetof(DB_ScheduleBlock, duration) == 13 * 4);
static_assert(offsetof(DB_ScheduleBlock, repeat4) == 22 * 4);

// One scheduled show as the walks answer it.
struct DB_ScheduledEntry {
  int32_t id;
  int32_t status;
  DB_ScheduleBlock block;
  char channelName[DB_CHANNEL_NAME_MAX + 1];
  char title[DB_TITLE_MAX + 1];
  char description[DB_DESCRIPTION_MAX + 1];
};

// One recorded show.
struct DB_RecordedEntry {
  int32_t id;
  int32_t status;    // 1 recording, 2 done
  int32_t tuner;
  int32_t major;
  int32_t minor;
  int32_t mapId;
  int64_t start;     // network seconds
  int32_t duration;  // seconds
  int32_t eventId;   // the guide's programme, 0 none
  int64_t eventStart;
  int32_t eventDuration;
  int32_t rating;
  char title[DB_TITLE_MAX + 1];
  char description[DB_DESCRIPTION_MAX + 1];
  char path[DB_PATH_MAX + 1];  // the file on the USB disk
};

// The scheduler's answer for one programme (DB_Get_Scheduled_Show_Freq).
struct DB_ScheduledFreq {
  int32_t id;
  int32_t timerId;
  int32_t status;
  int32_t dayOfWeek;
  int32_t repeat1;
  int32_t repeat2;
  int32_t repeat3;
  int32_t repeat4;
};

// A guide programme (DB_Get_Program_Info, DB_Get_Program_Info_Next).
struct DB_ProgramInfo {
  int32_t eventId;
  int64_t start;     // network seconds
  int32_t duration;  // seconds
  int32_t rating[2]; // US rating word, Canadian rating word (0 none)
  int32_t flags;     // bit 0: a rating is present
  char title[DB_TITLE_MAX + 1];
  char description[DB_DESCRIPTION_MAX + 1];
};

// --- Scheduled shows ---------------------------------------------------------
// `zero1` and `zero2` are reserved (0).
int32_t DB_Insert_Scheduled_Data(int32_t id, const DB_ScheduleBlock* block, int32_t zero1, int32_t zero2,
                                 const char* channelName, const char* title, const char* description);
int32_t DB_Get_ScheduledID(int32_t timerId, int32_t* id);
int32_t DB_Update_Scheduled_Show_Dayofweek(int32_t id, int32_t dayOfWeek);
int32_t DB_Update_Scheduled_Show_Duration(int32_t id, int32_t minutes);
// ticks: seconds since 1970 of the local start time.
int32_t DB_Update_Scheduled_Show_Starttime(int32_t id, int64_t ticks);
int32_t DB_Update_Scheduled_Show_TunerId(int32_t id, int32_t tuner);
// The show recording the programme of (major, minor) starting at `ticks`.
int32_t DB_Get_Scheduled_Show_Freq(int64_t ticks, int32_t major, int32_t minor, int32_t tuner, int32_t medium,
                                   DB_ScheduledFreq* out);
// Walks in id order; DB_ERR_END_OF_LIST after the last.
int32_t DB_Get_First_Scheduled_Show(DB_ScheduledEntry* out);
int32_t DB_Get_Scheduled_Show_Next(int32_t afterId, DB_ScheduledEntry* out);
// Removes the shows that ended before the local time (repeating shows stay).
int32_t DB_Delete_Scheduled_Event_Via_Starttime(const XPM_LocalTime* now);
int32_t DB_CheckIn_Timer(int32_t timerId);
int32_t DB_CheckOut_Timer(int32_t timerId);
// Whether the timer id is checked out (1) or free (0).
int32_t DB_Get_Timer_CheckedOut(int32_t timerId, int32_t* out);

int32_t XPM_Delete_Scheduled_Show(int32_t id);
int32_t XPM_Update_Scheduled_Show_Status(int32_t timerId, int32_t status);
int32_t XPM_CheckIn_TimerId(int32_t timerId);
int32_t XPM_Check_Update_Scheduled_Data_Status(void);

// --- Recorded shows ------------------------------------------------------------
int32_t DB_Get_First_Recorded_Show(DB_RecordedEntry* out);
int32_t DB_Get_Recorded_Show_Next(int32_t afterId, DB_RecordedEntry* out);
// The id list of the recorded shows, in the walks' order: the first `max`
// ids are written to `ids`, *count is the number of shows stored (it may be
// larger than `max`).
int32_t DB_Get_Recorded_Show_IDs(int32_t* ids, int32_t max, int32_t* count);
// One recorded show by its id; DB_ERR_NOT_FOUND when there is none.
int32_t DB_Get_Recorded_Show(int32_t id, DB_RecordedEntry* out);
// Removes the entry and its file.
int32_t XPM_Delete_Recorded_Show(int32_t id);

// --- Guide ---------------------------------------------------------------------
// The programme of (major, minor) running at network time `time`; the first
// one starting at `time` or later (a guide read continues from the end time
// of the programme before).
int32_t DB_Get_Program_Info(int32_t major, int32_t minor, int64_t time, int32_t tuner, int32_t medium,
                            DB_ProgramInfo* out);
int32_t DB_Get_Program_Info_Next(int32_t major, int32_t minor, int64_t time, int32_t tuner, int32_t medium,
                                 DB_ProgramInfo* out);

namespace sim {
class Sim;
// For the recorder (sim_record.cpp): adds a recorded show (its id is
// written to *id) and finishes it.
int32_t AddRecordedShow(Sim& tv, const DB_RecordedEntry& entry, int32_t* id);
int32_t FinishRecordedShow(Sim& tv, int32_t id, int32_t duration);
// For the recorder: the status of the scheduled show of a timer (none: nothing).
void SetScheduledShowStatus(Sim& tv, int32_t timerId, int32_t status);
}  // namespace sim
