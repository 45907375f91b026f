// SkinBin::Wrapper: the recorder, scheduler database, guide, timeshift and
// USB-disk services. Each operation converts between the Wrapper's records
// and one or a few middleware calls; scheduler and recorder calls answer the
// middleware's result unchanged, getters their preset value on failure.
#include <cstring>
#include <string>

#include "platform/db/db.h"
#include "platform/os/bkni.h"
#include "platform/xpm/xpm_record.h"
#include "runtime/string.h"
#include "runtime/trace.h"
#include "strings/SkinBinRecording.h"
#include "units/SkinBin/GuideEvent.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/ChannelData.h"
#include "units/Structures/EventInfo.h"
#include "units/Structures/LocalTime.h"
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
  auto* l = kv::New<Structures::LocalTime>();
  l->Second = t.second, l->Minute = t.minute, l->Hour = t.hour, l->Day = t.day, l->Month = t.month, l->Year = t.year;
  return l->GetTicks() - now;
}

// A media path as the middleware takes it: without the scheme prefix when it
// starts with it, as 8-bit text. False (logged) for an empty path or one
// that does not fit.
bool MediaPath(const kv::String& path, char (&out)[kPathBytes], const char* op) {
  if (path.Empty()) return false;
  const kv::String scheme = kv::LoadString(SkinBinRecording::MEDIA_SCHEME);
  const bool prefixed = path.View().substr(0, static_cast<size_t>(scheme.Length())) == scheme.View();
  const kv::String rest = prefixed ? kv::StringMiddle(path, scheme.Length(), path.Length()) : path;
  if (rest.Empty() || rest.Length() >= static_cast<int32_t>(kPathBytes)) {
    kv::Log(std::string("SkinBin::Wrapper::") + op + ": the path does not fit " + std::to_string(kPathBytes - 1) +
            " bytes, refused");
    return false;
  }
  kv::StringToAnsi(rest, out, kPathBytes, '?');
  return true;
}

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

int32_t Wrapper::GetLiveTVState(int32_t window) { return WRAPPER_READ(XPM_TV_STATE_LIVE, XPM_Get_TV_State, window); }

Structures::ChannelData* Wrapper::GetChannelInfo(int32_t major, int32_t minor) {
  XPM_ChannelInfo info{};
  if (XPM_CALL(XPM_GetChannelInfo, major, minor, &info) != XPM_OK) return nullptr;
  auto* c = kv::New<Structures::ChannelData>();
  c->Major = major;
  c->Minor = minor;
  info.name[sizeof info.name - 1] = 0;
  c->Name = kv::NewStringAnsi(info.name);
  c->IsDigital = info.digital != 0;
  c->InfoFlag = info.attributes;
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
  const int64_t start = event->StartTime->GetTicks() - LocalOffset();
  Structures::VirtualChannel* c = GetCurrentChannel();
  DB_ProgramInfo p{};
  if (XPM_CALL(DB_Get_Program_Info_Next, c->Major, c->Minor, start, GetCurrentTunerId(), OnGetAntCableIn(), &p) !=
      DB_OK)
    return nullptr;
  return NewGuideEvent(p.eventId, p.start, p.duration, p.rating, p.flags, p.title, p.description);
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
  if (time) {
    auto* t = kv::New<Structures::LocalTime>();
    t->Second = time->Second, t->Minute = time->Minute, t->Hour = time->Hour, t->Day = time->Day;
    t->Month = time->Month, t->Year = time->Year, t->Weekday = time->Weekday, t->YearDay = time->YearDay;
    t->DaylightSaving = time->DaylightSaving;
    e->StartTime = t;
  }
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

// --- Timeshift ---------------------------------------------------------------------------

int32_t Wrapper::StartTimeshift(int32_t tuner) { return XPM_CALL(XPM_TIMESHIFT_START, tuner); }
int32_t Wrapper::StopTimeshift(int32_t tuner) { return XPM_CALL(XPM_TIMESHIFT_STOP, tuner); }

int32_t Wrapper::TimeshiftKeyProc(int32_t action) {
  static constexpr int32_t kCodes[] = {102, 104, 110, 109, 108, 107, 114, 115};
  const int32_t code = action >= 0 && action < 8 ? kCodes[action] : 0;
  return XPM_CALL(Timeshift_KeyProc, code);
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
