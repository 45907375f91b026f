// The recording lists: ListForm::ScheduledRecordList (the recording timers,
// OK edits one) and ListForm::RecordedShowsList (the recordings on the USB
// disk). Both read the Wrapper's caches, reloaded on every Initialize; the
// row in focus fills the list's focused-programme record for the screen's
// information panel.
#pragma once

#include <climits>
#include <cstdint>

#include "runtime/member.h"
#include "runtime/slot.h"
#include "runtime/string.h"
#include "units/ListForm/ListCourier.h"
#include "units/ListForm/PagedList.h"
#include "units/Structures/LocalTime.h"
#include "units/Views/Image.h"
#include "units/Views/Text.h"

namespace Structures {
class TimerData;
}

namespace ListForm {

// Rows the scheduled list asks the cache for (the cache keeps 40).
inline constexpr int32_t kScheduledAsked = 64;

// What both recording couriers carry besides caption and index.
class RecordCourier : public ListCourier {
  KV_CLASS(ListForm, RecordCourier, ListCourier)
 public:
  bool EventFlag = false;
  kv::Member<Structures::LocalTime> StartTime;
  int32_t Duration = 0;  // seconds
  kv::String Description;
  int32_t Rating = 0;
  int32_t RecordId = 0;
  int32_t ChannelMajor = 0;
  int32_t ChannelMinor = 0;
  kv::Member<Structures::LocalTime> EventStartTime;
  int32_t EventDuration = 0;  // minutes
  int32_t TunerId = 0;
  int32_t MapId = 0;
  int32_t Status = 0;
};

class ScheduledRecordListCourier : public RecordCourier {
  KV_CLASS(ListForm, ScheduledRecordListCourier, RecordCourier)
 public:
  bool Active = false;
  int32_t TimesType = 0;
  int32_t SourceType = 1;
  int32_t TimerId = 0;
  kv::String EventTitle;
};

class RecordedShowsListCourier : public RecordCourier {
  KV_CLASS(ListForm, RecordedShowsListCourier, RecordCourier)
 public:
  bool HasEventInfo = false;
  kv::String FileName;
  kv::String SecondText;
};

// The focused programme as the screen's panel reads it.
class FocusedProgramme : public kv::Object {
  KV_CLASS(ListForm, FocusedProgramme, kv::Object)
 public:
  bool ShowInfo = false;
  bool EventFlag = false;
  kv::String EventTitle;
  kv::Member<Structures::LocalTime> EventStartTime;
  int32_t EventDuration = 0;
  kv::String Description;
  int32_t Rating = 0;
  int32_t FocusedIndex = 0;
  int32_t SourceType = 0;
};

// The columns both rows share: date, time, tuner icon, channel, antenna or
// cable, duration, status icon; and the event fields they keep.
class RecordRow : public ColumnRow {
  KV_CLASS(ListForm, RecordRow, ColumnRow)
 public:
  RecordRow();
  void Refresh() override;
  // Null keeps the date and time texts.
  void OnSetRecordStartTime(Structures::LocalTime* time);
  void OnSetRecordDuration(int32_t seconds);
  void OnSetTunerId(int32_t id);
  void OnSetMapId(int32_t id);
  void OnSetStatus(int32_t status);
  void SetChannel(int32_t major, int32_t minor);
  Resources::Bitmap* StatusIcon() { return status_.OnGetBitmap(); }
  const kv::String& OnGetDurationText() const { return duration_.OnGetString(); }
  const kv::String& OnGetChannelText() const { return channel_.OnGetString(); }
  const kv::String& OnGetDateText() const { return date_.OnGetString(); }
  const kv::String& OnGetTimeText() const { return time_.OnGetString(); }
  const kv::String& OnGetMapText() const { return map_.OnGetString(); }

  kv::Member<Structures::LocalTime> RecordStartTime;
  int32_t RecordDuration = 0;
  int32_t TunerId = 0;
  int32_t MapId = 0;
  int32_t Status = 0;
  int32_t ChannelMajor = 0;
  int32_t ChannelMinor = 0;
  bool EventFlag = false;
  kv::String Description;
  int32_t Rating = 0;
  int32_t RecordId = 0;
  kv::Member<Structures::LocalTime> EventStartTime;
  int32_t EventDuration = 0;

 protected:
  // Base data, then the shared fields of a recording courier; false (and
  // the no-information row) when the courier is not one.
  bool TakeRecord(kv::Object* data);
  void PutRecord(RecordCourier* c);

  // While one lives, the setters leave the redraw to it: the row is
  // invalidated once at its end if any of them changed what the row shows.
  class Fill {
   public:
    explicit Fill(RecordRow& row) : row_(row) { ++row_.filling_; }
    ~Fill();
    Fill(const Fill&) = delete;
    Fill& operator=(const Fill&) = delete;

   private:
    RecordRow& row_;
  };
  // What the row shows changed: a redraw now, or at the end of the fill.
  void Changed();

  // The values the columns were last made from, so that a setter given the
  // value it already shows makes no new text or icon and no redraw. kUnset
  // until the column is first set; all are forgotten when the language
  // changes, as the texts come from the string tables.
  static constexpr int32_t kUnset = INT32_MIN;
  struct Shown {
    int32_t language = kUnset;
    int32_t month = kUnset, day = kUnset, hour = kUnset, minute = kUnset;
    int32_t duration = kUnset, tuner = kUnset, map = kUnset, status = kUnset;
    int32_t major = kUnset, minor = kUnset;
    int32_t active = kUnset, timesType = kUnset, sourceType = kUnset;  // the scheduled row's
  };
  // The values shown, forgotten first if the language is not the one they
  // were made in.
  Shown& Current();
  // The status icon of a status (null: none).
  virtual const Resources::BitmapId* StatusBitmap(int32_t status) const = 0;
  // The x where the status column starts (after the duration or the source kind).
  Views::Text& DurationView() { return duration_; }
  Views::Image& StatusView() { return status_; }

 private:
  Views::Text date_;
  Views::Text time_;
  Views::Image tuner_;
  Views::Text channel_;
  Views::Text map_;
  Views::Text duration_;
  Views::Image status_;
  Shown shown_;
  int32_t filling_ = 0;  // Fill scopes open
  bool changed_ = false;  // something changed during the fill
  // The time separator, loaded once (per language) for the time and the duration texts.
  kv::String timeSeparator_;
  const kv::String& TimeSeparator();
};

class ScheduledRecordListItem : public RecordRow {
  KV_CLASS(ListForm, ScheduledRecordListItem, RecordRow)
 public:
  ScheduledRecordListItem();
  void SetData(kv::Object* data) override;
  kv::Object* GetData(kv::Object* data) override;
  void Refresh() override;
  // The columns from the Wrapper's current timer record (the one edited last).
  void UpdateSettings();
  void OnSetActive(bool on);
  void OnSetTimesType(int32_t type);
  void OnSetSourceType(int32_t type);
  // The columns of a timer record.
  void ShowTimer(const Structures::TimerData& t);
  Resources::Bitmap* RepeatIcon() { return repeat_.OnGetBitmap(); }
  const kv::String& OnGetSourceText() const { return source_.OnGetString(); }

  bool Active = false;
  int32_t TimesType = 0;
  int32_t SourceType = 1;
  int32_t TimerId = 0;
  kv::String EventTitle;

 protected:
  const Resources::BitmapId* StatusBitmap(int32_t status) const override;

 private:
  Views::Image repeat_;
  Views::Text source_;
  Views::Image check_;
};

class RecordedShowsListItem : public RecordRow {
  KV_CLASS(ListForm, RecordedShowsListItem, RecordRow)
 public:
  RecordedShowsListItem();
  void SetData(kv::Object* data) override;
  kv::Object* GetData(kv::Object* data) override;
  void Refresh() override;
  const kv::String& OnGetFileText() const { return file_.OnGetString(); }

  bool HasEventInfo = false;
  kv::String SecondText;

 protected:
  const Resources::BitmapId* StatusBitmap(int32_t status) const override;

 private:
  Views::Text file_;
};

// What both lists share: 8 rows, page keys 39/40, the focused programme.
class RecordListBase : public PagedList {
  KV_CLASS(ListForm, RecordListBase, PagedList)
 public:
  RecordListBase();
  // The engine's reload, then the focus action (posted), so that the panel
  // follows the new focus.
  void forceReload(kv::Object* sender = nullptr) override;
  // Focus slot: the focused row fills the record, then OnProgramChanged.
  virtual void DoFocus(kv::Object* sender) = 0;

  // The rows' focus slot: the focus action runs once the rows show their
  // items (a scroll focuses a row before it is refilled).
  void FocusLater(kv::Object* sender);

  kv::Slot OnProgramChanged;
  FocusedProgramme Focused;

 private:
  void PostedFocus(kv::Object* sender) { DoFocus(sender); }
};

class ScheduledRecordList : public RecordListBase {
  KV_CLASS(ListForm, ScheduledRecordList, RecordListBase)
 public:
  ScheduledRecordList();
  // Reloads the Wrapper's scheduled cache, then the engine's start-up.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  int32_t GetItemsNum() override;
  // The getter gives a courier for every show, so a show exists when it is
  // in range: no courier (and no read of its timer) is made only to be
  // dropped.
  bool IsItemValid(int32_t offset) override;
  void DoFocus(kv::Object* sender) override;
  // OK on a row: the timer editor on its timer (message 47 away from a tuner).
  void UpdateRecordInfo(kv::Object* sender);
  // MSG_UPDATE_RECORD_TYPE: the focused row shows the timer just saved.
  void HandleMessage(Structures::Message* msg) override;
};

class RecordedShowsList : public RecordListBase {
  KV_CLASS(ListForm, RecordedShowsList, RecordListBase)
 public:
  RecordedShowsList();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  int32_t GetItemsNum() override;
  // The USB disk's mount path (empty while no disk is mounted).
  kv::String GetStringParam() override;
  void DoFocus(kv::Object* sender) override;
};

// "hh<sep>mm" of a duration in seconds (negative counts as 0).
kv::String DurationText(int32_t seconds);
kv::String DurationText(int32_t seconds, const kv::String& separator);
// A recording's path without everything up to and including the mount
// path; the whole path when that is empty or not in it.
kv::String PathAfterMount(const kv::String& path, const kv::String& mount);

}  // namespace ListForm
