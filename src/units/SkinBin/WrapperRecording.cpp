// SkinBin::Wrapper: the recorder, scheduler database, guide, timeshift and
// USB-disk services. Each operation converts between the Wrapper's records
// and one or a few middleware calls; scheduler and recorder calls answer the
// middleware's result unchanged, getters their preset value on failure.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/db/db.h"
#include "platform/os/bkni.h"
#include "platform/xpm/xpm_record.h"
#include "runtime/path_text.h"
#include "runtime/string.h"
#include "runtime/trace.h"
#include "strings/SkinBinRecording.h"
#include "units/SkinBin/GuideEvent.h"
#include "units/SkinBin/RatingData.h"
#include "units/SkinBin/RecordData.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/ChannelData.h"
#include "units/Structures/EventInfo.h"
#include "units/Structures/LocalTime.h"
#include "units/Structures/RRTDimensionData.h"
#include "units/Structures/VirtualChannel.h"
#include "units/Wrapper/WrapperInternal.h"

namespace SkinBin {
namespace {

namespace detail = ::Wrapper::detail;

// Timer ids the scheduler keeps (0-31); higher ids belong to nothing.
constexpr int32_t kSchedulerTimers = 32;
constexpr int32_t kNoTuner = 2;
constexpr size_t kPathBytes = 256;  // 255 bytes of 8-bit text and the terminator

// The seconds that the local time runs ahead of the network time.
int64_t LocalOffset() {
  int64_t now = 0;
  XPM_LocalTime t{};
  if (XPM_CALL(XPM_GetNetworkTime, &now) != XPM_OK || XPM_CALL(XPM_NetworkSeconds2LocalTime, now, &t) != XPM_OK)
    return 0;
  return detail::FromMiddleware(t)->GetTicks() - now;
}

// A media path as the middleware takes it: without the scheme prefix when it
// starts with it, in the bytes of its file name. False (logged) for an empty
// path or one that does not fit.
bool MediaPath(const kv::String& path, char (&out)[kPathBytes], const char* op) {
  if (path.Empty()) return false;
  const kv::String scheme = kv::LoadString(SkinBinRecording::MEDIA_SCHEME);
  const bool prefixed = path.View().substr(0, static_cast<size_t>(scheme.Length())) == scheme.View();
  const kv::String rest = prefixed ? kv::StringMiddle(path, scheme.Length(), path.Length()) : path;
  // The path keeps its bytes: a name that is not plain ASCII names the same file.
  const std::string bytes = kv::PathToBytes(rest);
  if (bytes.empty() || bytes.size() >= kPathBytes) {
    kv::Log(std::string("SkinBin::Wrapper::") + op + ": the path does not fit " + std::to_string(kPathBytes - 1) +
            " bytes, refused");
    return false;
  }
  std::memcpy(out, bytes.c_str(), bytes.size() + 1);
  return true;
}

// Text of a fixed middleware field that may lack its terminator.
template <size_t N>
kv::String FieldText(const char (&field)[N]) {
  char copy[N + 1] = {};
  std::memcpy(copy, field, N);
  return kv::NewStringAnsi(copy);
}

// A record's text as zero-terminated 8-bit text of at most N - 1 bytes.
template <size_t N>
void AnsiField(const kv::String& text, char (&out)[N]) {
  std::memset(out, 0, N);
  kv::StringToAnsi(text, out, static_cast<int32_t>(N), '?');
  out[N - 1] = 0;
}

int64_t TicksOf(const Structures::LocalTime* t) { return t ? t->GetTicks() : 0; }

}  // namespace

// --- Recorder and scheduler --------------------------------------------------------

int32_t Wrapper::StartRecord(int32_t tuner, Structures::VirtualChannel* channel) {
  if (!channel) {
    kv::Log("SkinBin::Wrapper::StartRecord: no channel, refused");
    return XPM_ERR_INVALID_PARAM;
  }
  return XPM_CALL(XPM_RECORDING_START, tuner, channel->Major, channel->Minor, 0);
}

int32_t Wrapper::StopRecord(int32_t timerId) {
  kv::Log("SkinBin::Wrapper::StopRecord: timer " + std::to_string(timerId));
  XPM_CALL(XPM_Update_Scheduled_Show_Status, timerId, DB_SHOW_STOPPED);
  XPM_CALL(XPM_CheckIn_TimerId, timerId);
  return XPM_CALL(XPM_RECORDING_STOP, timerId);
}

int32_t Wrapper::SetActiveTimer(int32_t a, int32_t b) { return XPM_CALL(XPM_SetActiveTimer, a, b); }

// The middleware takes the first two the other way round.
int32_t Wrapper::SetTimerRecordValid(int32_t a, int32_t b, int32_t c, int32_t d) {
  return XPM_CALL(XPM_Set_Timer_Record_Valid, b, a, c, d);
}

int32_t Wrapper::CancelTimerRecord(int32_t id) { return XPM_CALL(XPM_CancelTimerRecord, id); }

int32_t Wrapper::GetScheduleIdByTimerId(int32_t timerId) {
  int32_t id = 0;
  if (XPM_CALL(DB_Get_ScheduledID, timerId, &id) != DB_OK) return 0;
  return id;
}

int32_t Wrapper::DB_DeleteScheduledRecord(int32_t id) { return XPM_CALL(XPM_Delete_Scheduled_Show, id); }
int32_t Wrapper::DB_DeleteRecordedShow(int32_t id) { return XPM_CALL(XPM_Delete_Recorded_Show, id); }

int32_t Wrapper::DB_CheckInTimerId(int32_t id) {
  if (id >= kSchedulerTimers) return 1;
  return XPM_CALL(DB_CheckIn_Timer, id);
}

int32_t Wrapper::DB_CheckOutTimerId(int32_t id) {
  if (id >= kSchedulerTimers) return 1;
  return XPM_CALL(DB_CheckOut_Timer, id);
}

int32_t Wrapper::DB_InsertScheduledData(SkinBin::ScheduledRecordData* record, const kv::String& title,
                                        const kv::String& description) {
  if (!record) return 1;
  // The scheduler refuses a block whose reserved words (11, 12, 23, 24) are
  // not zero: the block starts zeroed and only the named words are filled.
  DB_ScheduleBlock b{};
  b.repeat2 = record->Repeat2;
  b.flag = static_cast<int8_t>(record->Flag);
  b.start = detail::ToMiddleware(record->StartTime);
  b.duration = record->Duration;
  b.timerId = record->TimerId;
  b.tuner = record->Tuner;
  b.major = record->Major;
  b.minor = record->Minor;
  b.mapId = record->MapId;
  b.dayOfWeek = record->DayOfWeek;
  b.repeat1 = record->Repeat1;
  b.repeat3 = record->Repeat3;
  b.repeat4 = record->Repeat4;
  char name[DB_CHANNEL_NAME_MAX + 1], t[DB_TITLE_MAX + 1], d[DB_DESCRIPTION_MAX + 1];
  const Structures::ChannelData* channel = GetChannelInfo(record->Major, record->Minor);
  AnsiField(channel ? channel->Name : kv::String(), name);
  AnsiField(title, t);
  AnsiField(description, d);
  return XPM_CALL(DB_Insert_Scheduled_Data, record->Id, &b, 0, 0, name, t, d);
}

// Writes the fields in which `newRecord` differs from `oldRecord`. The
// scheduler has no call that changes a show's channel or flag: such a change
// is skipped with a log line. Answers 0 when every change was written, else
// the first failing status, or 1 when a change had to be skipped.
int32_t Wrapper::DB_UpdateScheduledData(SkinBin::ScheduledRecordData* oldRecord,
                                        SkinBin::ScheduledRecordData* newRecord) {
  if (!oldRecord || !newRecord || oldRecord->Id != newRecord->Id) return 1;
  const int32_t id = newRecord->Id;
  int32_t result = 0;
  auto note = [&result](int32_t status) {
    if (status != DB_OK && result == 0) result = status;
  };
  if (oldRecord->DayOfWeek != newRecord->DayOfWeek)
    note(XPM_CALL(DB_Update_Scheduled_Show_Dayofweek, id, newRecord->DayOfWeek));
  if (oldRecord->Duration != newRecord->Duration)
    note(XPM_CALL(DB_Update_Scheduled_Show_Duration, id, newRecord->Duration));
  const int64_t start = TicksOf(newRecord->StartTime);
  if (TicksOf(oldRecord->StartTime) != start) note(XPM_CALL(DB_Update_Scheduled_Show_Starttime, id, start));
  if (oldRecord->Tuner != newRecord->Tuner)
    note(XPM_CALL(DB_Update_Scheduled_Show_TunerId, id, newRecord->Tuner != 0 ? 1 : 0));
  if (oldRecord->Major != newRecord->Major || oldRecord->Minor != newRecord->Minor) {
    kv::Log("SkinBin::Wrapper::DB_UpdateScheduledData: show " + std::to_string(id) +
            ": the scheduler cannot change the channel, skipped");
    note(1);
  }
  if (oldRecord->Flag != newRecord->Flag) {
    kv::Log("SkinBin::Wrapper::DB_UpdateScheduledData: show " + std::to_string(id) +
            ": the scheduler cannot change the flag, skipped");
    note(1);
  }
  return result;
}

int32_t Wrapper::OnGetTuner1RecordAll() { return Tuner1RecordAll = WRAPPER_READ(0, XPM_Get_Record_All, 0) != 0; }
void Wrapper::OnSetTuner1RecordAll(int32_t v) {
  Tuner1RecordAll = v;
  XPM_CALL(XPM_Set_Record_All, 0, v);
}
int32_t Wrapper::OnGetTuner2RecordAll() { return Tuner2RecordAll = WRAPPER_READ(0, XPM_Get_Record_All, 1) != 0; }
void Wrapper::OnSetTuner2RecordAll(int32_t v) {
  Tuner2RecordAll = v;
  XPM_CALL(XPM_Set_Record_All, 1, v);
}

int32_t Wrapper::SetSourceRecord(int32_t v) { return XPM_CALL(xpm_setsource_record, 0, v); }

// --- Guide and channel information -------------------------------------------------------

int32_t Wrapper::GetCurrentTunerId() {
  int32_t tuner = kNoTuner;
  if (XPM_CALL(XPM_GetCurrent_TunerId, &tuner) != XPM_OK) return kNoTuner;
  return tuner;
}

int32_t Wrapper::GetLiveTVState(int32_t window) {
  // No tuner (what a failed read of the current tuner gives) is not asked about.
  if (window == kNoTuner) return XPM_TV_STATE_LIVE;
  return WRAPPER_READ(XPM_TV_STATE_LIVE, XPM_Get_TV_State, window);
}

Structures::ChannelData* Wrapper::GetChannelInfo(int32_t major, int32_t minor) {
  // The channel none (what a failed read of the current channel gives) is not asked for.
  if (major == XPM_VIRTUAL_CHANNEL_MAJOR_NONE) return nullptr;
  XPM_ChannelInfo info{};
  if (XPM_CALL(XPM_GetChannelInfo, major, minor, &info) != XPM_OK) return nullptr;
  auto* c = kv::New<Structures::ChannelData>();
  c->Major = major;
  c->Minor = minor;
  info.name[sizeof info.name - 1] = 0;
  c->Name = kv::NewStringAnsi(info.name);
  c->IsDigital = info.digital != 0;
  // The flag that stops tuning by number is the exclusion byte (a channel the
  // viewer skipped), not the lock byte: a locked channel is tuned and asks
  // for the PIN.
  c->InfoFlag = info.excluded;
  c->Locked = info.reserved0[0];
  c->Extra0 = info.reserved[0] > 0;  // the channel has programme data
  c->Extra1 = info.reserved[1];
  return c;
}

kv::String Wrapper::VerifySingleDigitChannel(int32_t n, bool entered) {
  kv::String text = kv::String::FromUtf8(std::to_string(n));
  if (n < 0 || entered) return text;
  // The second flag byte of the channel record marks the channel that the
  // single digit reaches.
  XPM_ChannelInfo analogue{}, digital{};
  if (XPM_CALL(XPM_GetChannelInfo, n, -2, &analogue) != XPM_OK) return text;
  const bool hasDigital = XPM_CALL(XPM_GetChannelInfo, n, 0, &digital) == XPM_OK;
  if (!hasDigital || (!digital.reserved0[0] && analogue.reserved0[0]))
    text = kv::ConcatString(text, kv::LoadString(SkinBinRecording::SINGLE_DIGIT_SUFFIX));
  return text;
}

Structures::VirtualChannel* Wrapper::GetTempCurrentChannel(bool tuner, bool map) {
  XPM_VirtualChannel pair{XPM_VIRTUAL_CHANNEL_MAJOR_NONE, XPM_VIRTUAL_CHANNEL_MINOR_NONE};
  XPM_CALL(XPM_GetTempCurrentChannel, tuner ? 1 : 0, map ? 1 : 0, &pair);
  auto* c = kv::New<Structures::VirtualChannel>();
  c->Major = pair.major;
  c->Minor = pair.minor;
  return c;
}

Structures::EventInfo* Wrapper::DB_GetCurrentProgramInfo() {
  int64_t now = 0;
  if (XPM_CALL(XPM_GetNetworkTime, &now) != XPM_OK) return nullptr;
  Structures::VirtualChannel* c = GetCurrentChannel();
  DB_ProgramInfo p{};
  if (XPM_CALL(DB_Get_Program_Info, c->Major, c->Minor, now, GetCurrentTunerId(), OnGetAntCableIn(), &p) != DB_OK)
    return nullptr;
  return NewGuideEvent(p.eventId, p.start, p.duration, p.rating, p.flags, p.title, p.description);
}

Structures::EventInfo* Wrapper::DB_GetNextProgramInfo(Structures::EventInfo* event) {
  if (!event || !event->StartTime) return nullptr;
  // The first programme starting after this one's start.
  const int64_t start = event->StartTime->GetTicks() - LocalOffset() + 1;
  Structures::VirtualChannel* c = GetCurrentChannel();
  DB_ProgramInfo p{};
  if (XPM_CALL(DB_Get_Program_Info_Next, c->Major, c->Minor, start, GetCurrentTunerId(), OnGetAntCableIn(), &p) !=
      DB_OK)
    return nullptr;
  return NewGuideEvent(p.eventId, p.start, p.duration, p.rating, p.flags, p.title, p.description);
}

// The scheduled recording of the programme of channel (id1, id2) starting at
// `start`; a record with id and status 0 when none is scheduled.
SkinBin::ScheduledRecordData* Wrapper::GetEPGProgramStatus(int32_t id1, int32_t id2, Structures::LocalTime* start) {
  auto* r = kv::New<SkinBin::ScheduledRecordData>();
  if (!start || id1 == XPM_VIRTUAL_CHANNEL_MAJOR_NONE) return r;
  DB_ScheduledFreq f{};
  const int32_t status =
      DB_Get_Scheduled_Show_Freq(start->GetTicks(), id1, id2, GetCurrentTunerId(), OnGetAntCableIn(), &f);
  if (status == DB_ERR_NOT_FOUND) return r;  // not scheduled: an answer, not an error
  if (kv::LogFailedCall("DB_Get_Scheduled_Show_Freq", status) != DB_OK) return r;
  r->Id = f.id;
  r->TimerId = f.timerId;
  r->Status = f.status;
  r->DayOfWeek = f.dayOfWeek;
  r->Repeat1 = f.repeat1;
  r->Repeat2 = f.repeat2;
  r->Repeat3 = f.repeat3;
  r->Repeat4 = f.repeat4;
  return r;
}

Structures::EventInfo* Wrapper::GetEventInfoByTime(Structures::LocalTime* time) {
  XPM_CurrentChannelInfo channel{};
  const bool known = XPM_CALL(XPM_GetCurrentChannelInfo, 0, &channel) == XPM_OK;
  Structures::EventInfo* e = nullptr;
  if (!known || channel.eventCount > 0) {
    int64_t now = 0;
    XPM_EventList list = nullptr;
    if (XPM_CALL(XPM_GetNetworkTime, &now) != XPM_OK ||
        XPM_CALL(XPM_GetEventsByFixedCount, channel.major, channel.minor, now, 1, &list) != XPM_OK)
      return nullptr;
    int32_t count = 0;
    XPM_CALL(XPM_GetEventCount, list, &count);
    XPM_EventRecord r{};
    for (int32_t i = 0; i < count; ++i) {
      if (XPM_CALL(XPM_GetEventInfo, list, i, &r) != XPM_OK) continue;
      r.title[sizeof r.title - 1] = 0;
      r.description[sizeof r.description - 1] = 0;
      e = NewGuideEvent(r.eventId, r.start, r.duration, r.rating, 0, r.title, r.description);
      break;
    }
    XPM_CALL(XPM_ReleaseEvents, list);
  } else {
    XPM_CurrentEvent cur{};
    if (XPM_CALL(XPM_GetCurrentEventInformation, 0, &cur) == XPM_OK) {
      e = kv::New<Structures::EventInfo>();
      e->EventId = cur.eventId;
      e->Title = kv::NewStringAnsi(cur.title ? cur.title : "");
      if (cur.description && std::strcmp(cur.description, cur.title ? cur.title : "") != 0)
        e->Description = kv::NewStringAnsi(cur.description);
      e->UsRating = cur.rating[0];
      e->CanadianRating = cur.rating[1];
    }
    if (cur.title) BKNI_Free(cur.title);
    if (cur.description) BKNI_Free(cur.description);
  }
  if (!e) return nullptr;
  // The answer starts at the time asked for (now when none was given).
  if (time) e->StartTime = detail::CopyTime(time);
  e->Flags = (e->UsRating != 0 || e->CanadianRating != 0) ? 1 : 0;
  return e;
}

Structures::EventInfo* Wrapper::GetCurrentRatingInfo() {
  void* block = nullptr;
  const int32_t status = XPM_CALL(XPM_GetCurrentChannelRatingInfo, 0, &block);
  auto* e = kv::New<Structures::EventInfo>();
  if (status == XPM_OK && block) {
    const auto* header = static_cast<const XPM_RatingInfoHeader*>(block);
    e->UsRating = header->rating[0];
    e->CanadianRating = header->rating[1];
  }
  if (block) BKNI_Free(block);
  return e;
}

// The alternative ratings of the channel in tune: at most MAX_ALT_RATINGS
// entries whatever count the middleware reports. The block is freed on every
// path.
SkinBin::UsAlternateRatingInfo* Wrapper::GetCurrentChannelRatingInfo() {
  void* block = nullptr;
  const int32_t status = XPM_CALL(XPM_GetCurrentChannelRatingInfo, 0, &block);
  auto* info = kv::New<SkinBin::UsAlternateRatingInfo>();
  if (status == XPM_OK && block) {
    const auto* header = static_cast<const XPM_RatingInfoHeader*>(block);
    info->NumAltRatings = header->altCount;
    kv::Trace("Num Alt Ratings = %i", {header->altCount});
    const int32_t count = std::clamp(header->altCount, 0, SkinBin::MAX_ALT_RATINGS);
    if (header->altCount > count)
      kv::Log("SkinBin::Wrapper::GetCurrentChannelRatingInfo: " + std::to_string(header->altCount) +
              " alternative ratings, the first " + std::to_string(count) + " kept");
    const auto* entries = reinterpret_cast<const XPM_RatingDimension*>(header + 1);
    for (int32_t i = 0; i < count; ++i) {
      const XPM_RatingDimension& e = entries[i];
      auto* d = kv::New<Structures::RRTDimensionData>();
      d->DimensionId = e.dimensionId;
      d->Name = FieldText(e.name);
      d->Value = e.value;
      d->Text1 = FieldText(e.text1);
      d->Text2 = FieldText(e.text2);
      info->Add(d);
    }
  }
  if (block) BKNI_Free(block);
  return info;
}

// The channel in tune on the tuner's window; none without a tuner window or
// when the middleware cannot answer.
SkinBin::CurrentChannelInfo* Wrapper::GetCurrentChannelDetailInfo() {
  const int32_t window = GetTunerWindow();
  if (window < 0) return nullptr;
  XPM_CurrentChannelInfo c{};
  if (XPM_CALL(XPM_GetCurrentChannelInfo, window, &c) != XPM_OK) return nullptr;
  auto* d = kv::New<SkinBin::CurrentChannelInfo>();
  d->Name = FieldText(c.name);
  d->Major = c.major;
  d->Minor = c.minor;
  d->IsDigital = c.digital != 0;
  d->SignalStrength = c.signalStrength;
  d->ClosedCaption = c.caption;
  d->Excluded = c.excluded;
  d->UsRating = c.rating[0];
  d->CanadianRating = c.rating[1];
  return d;
}

// --- Timeshift ---------------------------------------------------------------------------

int32_t Wrapper::StartTimeshift(int32_t tuner) { return XPM_CALL(XPM_TIMESHIFT_START, tuner); }
int32_t Wrapper::StopTimeshift(int32_t tuner) { return XPM_CALL(XPM_TIMESHIFT_STOP, tuner); }

int32_t Wrapper::TimeshiftKeyProc(int32_t action) {
  static constexpr int32_t kCodes[] = {102, 104, 110, 109, 108, 107, 114, 115};
  const int32_t code = action >= 0 && action < 8 ? kCodes[action] : 0;
  return XPM_CALL(Timeshift_KeyProc, code);
}

// The current tuner's timeshift; all zero when there is no tuner or the
// middleware cannot answer.
SkinBin::TimeshiftStatus* Wrapper::GetTimeshiftStatus() {
  auto* r = kv::New<SkinBin::TimeshiftStatus>();
  const int32_t tuner = GetCurrentTunerId();
  XPM_TimeshiftStatus st{};
  if (tuner == kNoTuner || XPM_CALL(XPM_TimeShifting_Status_Check, tuner, &st) != XPM_OK) return r;
  r->Active = st.active;
  r->Recording = st.recording;
  r->BufferedSeconds = st.bufferedSeconds;
  r->PositionSeconds = st.positionSeconds;
  r->PlayRate = st.playRate;
  r->PlayState = st.playState;
  r->IntervalMinutes = st.intervalMinutes;
  r->StartTime = st.startTime;
  r->Tuner = st.tuner;
  return r;
}

int32_t Wrapper::OnGetTimeshiftDuration() { return TimeshiftDuration = WRAPPER_READ(0, XPM_Get_Timeshift_Interval); }

void Wrapper::OnSetTimeshiftDuration(int32_t v) {
  TimeshiftDuration = v;
  XPM_CALL(XPM_Set_Timeshift_Interval, v & 255);
}

// --- USB disk and files ----------------------------------------------------------------

bool Wrapper::IsUSBDiskMounted() {
  int32_t mounted = 0;
  char mountPoint[XPM_USB_PATH_MAX] = {};
  XPM_CALL(XPM_Get_USB_MountPoint, &mounted, mountPoint);
  return mounted != 0;
}

// Mounted flag, mount point and file system (the placeholder text for both
// when nothing is mounted), total and free space in KiB (0 when the space
// cannot be read).
SkinBin::USBDiskStatus* Wrapper::GetUSBDiskStatus() {
  auto* r = kv::New<SkinBin::USBDiskStatus>();
  int32_t mounted = 0;
  char mountPoint[XPM_USB_PATH_MAX] = {}, fileSystem[XPM_USB_FS_MAX] = {};
  if (XPM_CALL(XPM_Get_USB_MountPoint_File, &mounted, mountPoint, fileSystem) != XPM_OK) mounted = 0;
  r->Mounted = mounted != 0;
  if (!r->Mounted) {
    r->MountPoint = r->FileSystem = kv::LoadString(SkinBinRecording::USB_NONE);
    return r;
  }
  r->MountPoint = FieldText(mountPoint);
  r->FileSystem = FieldText(fileSystem);
  uint64_t total = 0, free = 0;
  if (XPM_CALL(XPM_CheckUSB_Space, mountPoint, &total, &free) == XPM_OK) {
    r->TotalKiB = static_cast<int64_t>(total >> 10);
    r->FreeKiB = static_cast<int64_t>(free >> 10);
  }
  return r;
}

int32_t Wrapper::USBDiskFormat() { return XPM_CALL(XPM_USB_Format_Start); }
int32_t Wrapper::USBSpeedCheck() { return XPM_CALL(XPM_USB_Test); }
int32_t Wrapper::AbortUSBSpeedCheck() { return XPM_CALL(XPM_USB_Test_Abort); }

int32_t Wrapper::DeleteFile(const kv::String& path) {
  char p[kPathBytes];
  if (!MediaPath(path, p, "DeleteFile")) return -1;
  return XPM_CALL(XPM_Delete_File, p);
}

// The size coded in 32 bits: bytes below 1 MiB, else KiB with bit 30, else
// MiB with bit 31; -1 when the file cannot be examined.
int32_t Wrapper::GetFileSize(const kv::String& path) {
  char p[kPathBytes];
  if (!MediaPath(path, p, "GetFileSize")) return -1;
  uint64_t size = 0;
  if (XPM_CALL(XPM_Get_File_Size, p, &size) != XPM_OK) return -1;
  if (size <= 0xFFFFF) return static_cast<int32_t>(size);
  if (size <= 0x3FFFFFFF) return static_cast<int32_t>((size >> 10) | (1u << 30));
  return static_cast<int32_t>(static_cast<uint32_t>((size >> 20) & 0x3FFFFFFF) | (1u << 31));
}

}  // namespace SkinBin
