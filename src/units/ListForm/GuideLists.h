// The lists of the programme guide: the channel column of the full guide
// (ListForm::EPGChannelList, tunes 500 ms after the focus rests), its
// programme list (ListForm::EPGProgramList, reads the guide events eight at
// a time as the user scrolls past the last one held, and starts recordings
// from a row) and the three-row list of the mini guide (ListForm::
// MiniGuideList, at most ten events of the channel in tune). All programme
// lists read the one event store the Wrapper keeps.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/slot.h"
#include "runtime/string.h"
#include "units/Core/Timer.h"
#include "units/ListForm/ListCourier.h"
#include "units/ListForm/PagedList.h"
#include "units/Structures/LocalTime.h"
#include "units/Structures/VirtualChannel.h"
#include "units/Views/Image.h"
#include "units/Views/Text.h"

namespace ListForm {

// The column tunes this long after the focus last moved.
inline constexpr int32_t kGuideTuneMs = 500;
// Rows of the full guide's two lists, their height and the height of all.
inline constexpr int32_t kGuideRows = 8;
inline constexpr int32_t kGuideRowHeight = 28;
inline constexpr int32_t kGuideRowsHeight = kGuideRows * kGuideRowHeight;
// Events of the mini guide.
inline constexpr int32_t kMiniGuideEvents = 10;

class EPGChannelCourier : public ListCourier {
  KV_CLASS(ListForm, EPGChannelCourier, ListCourier)
 public:
  int32_t Major = 2;
  int32_t Minor = 0;
  uint8_t IsDigital = 1;
};

class EPGProgramListCourier : public ListCourier {
  KV_CLASS(ListForm, EPGProgramListCourier, ListCourier)
 public:
  kv::Member<Structures::LocalTime> StartTime;  // null: no start
  int32_t Duration = 0;                         // minutes
  kv::String Description;
  int32_t RecordType = 0;  // 0 none, 1-4 the repeat kind of its recording
  int32_t TimerId = 0;
};

class MiniGuideListCourier : public EPGProgramListCourier {
  KV_CLASS(ListForm, MiniGuideListCourier, EPGProgramListCourier)
 public:
};

class EPGChannelItem : public ColumnRow {
  KV_CLASS(ListForm, EPGChannelItem, ColumnRow)
 public:
  // The name is the channel's, a name from outside.
  EPGChannelItem();
  ~EPGChannelItem() override;
  void SetData(kv::Object* data) override;
  kv::Object* GetData(kv::Object* data) override;
  void Refresh() override;
  // A move places the name again: the row on the list's marks keeps it clear of them.
  void OnSetBounds(kv::Rect bounds) override;
  // Focused (with the arrow) only while the column and the guide take the keys.
  int32_t GetCtrlState() override;
  void RefreshCtrlState(int32_t state) override;
  void OnSetIsDigital(bool on) { IsDigital = on ? 1 : 0; }
  const kv::String& OnGetNumberText() const { return number_.OnGetString(); }
  // The arrow's box in the row (it shows only while the row is focused).
  kv::Rect OnGetArrowBounds() const { return arrow_.Bounds(); }

  int32_t Major = 2;
  int32_t Minor = 0;
  uint8_t IsDigital = 1;

 private:
  // The arrow's and the name's boxes: clear of the list's marks, the name up
  // to the arrow while the arrow shows.
  void PlaceName();

  Views::Text number_;
  Views::Image arrow_;
};

// What the two programme rows share: the event's start, length, text,
// recording kind and timer; a time text and the repeat icon.
class ProgramRow : public ColumnRow {
  KV_CLASS(ListForm, ProgramRow, ColumnRow)
 public:
  ProgramRow();
  // From a programme courier; anything else shows no information.
  void SetData(kv::Object* data) override;
  kv::Object* GetData(kv::Object* data) override;
  // Focused only while its list and the guide take the keys.
  int32_t GetCtrlState() override;
  // Null leaves the texts as they are.
  virtual void OnSetStartTime(Structures::LocalTime* time);
  // 0 clears the icon, 1-4 show the kind, other values leave it.
  void OnSetRecordType(int32_t type);
  Resources::Bitmap* RecordIcon() { return icon_.OnGetBitmap(); }
  const kv::String& OnGetTimeText() const { return time_.OnGetString(); }

  kv::Member<Structures::LocalTime> StartTime;
  int32_t Duration = 0;
  kv::String Description;
  int32_t RecordType = 0;
  int32_t TimerId = 0;

 protected:
  virtual EPGProgramListCourier* NewCourier() const = 0;
  Views::Text& TimeView() { return time_; }
  Views::Image& IconView() { return icon_; }

 private:
  Views::Text time_;
  Views::Image icon_;
};

class EPGProgramListItem : public ProgramRow {
  KV_CLASS(ListForm, EPGProgramListItem, ProgramRow)
 public:
  EPGProgramListItem();
  void OnSetStartTime(Structures::LocalTime* time) override;
  void Refresh() override;
  const kv::String& OnGetDateText() const { return date_.OnGetString(); }
  Views::Text& DateColumn() { return date_; }
  Views::Text& TimeColumn() { return TimeView(); }
  Views::Image& IconColumn() { return IconView(); }

 protected:
  EPGProgramListCourier* NewCourier() const override;

 private:
  Views::Text date_;
};

class MiniGuideListItem : public ProgramRow {
  KV_CLASS(ListForm, MiniGuideListItem, ProgramRow)
 public:
  MiniGuideListItem();
  void Refresh() override;

 protected:
  EPGProgramListCourier* NewCourier() const override;
};

class EPGChannelList : public PagedList {
  KV_CLASS(ListForm, EPGChannelList, PagedList)
 public:
  EPGChannelList();
  // Loads the guide channel table, then the engine's start-up.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Close() override;
  int32_t GetItemsNum() override;
  // The table position of the channel in tune, else 0.
  int32_t GetFocusItemIndex() override;
  // The movement keys are consumed (only FocusMove) while busy.
  kv::Object* HandleEvent(Core::Event* event) override;
  // Focus slot: (re)starts the tune timer.
  void DoFocus(kv::Object* sender);
  // Browse only: the guide follows the focused channel; else the set tunes.
  void TuneToChannel(kv::Object* sender = nullptr);
  bool IsTunePending() const { return timer_.IsEnabled(); }

  bool BrowseOnly = false;
  bool Busy = false;
  // The channel the guide lists (the dialog's record).
  kv::Member<Structures::VirtualChannel> GuideChannel;
  kv::Slot OnFocusChanged;

 private:
Core::Timer timer_;
  // Set by the first key that moves the column's focus: the focus the
  // opening gives never tunes.
  bool viewerMoved_ = false;
};

class EPGProgramList : public PagedList {
  KV_CLASS(ListForm, EPGProgramList, PagedList)
 public:
  EPGProgramList();
  // The events held for the channel (the store is filled by OnSetm_channel).
  int32_t GetItemsNum() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleMessage(Structures::Message* msg) override;
  // Reads the first page of the channel's events and starts on the first.
  void OnSetm_channel(Structures::VirtualChannel* channel);
  Structures::VirtualChannel* OnGetm_channel() const { return m_channel.get(); }
  // Appends the next page of events (nothing once the store has no more).
  void UpdateEPGbyPage();
  void DoFocus(kv::Object* sender);
  // Activation: record the programme on now, or set a timer for a later one.
  void ToggleRecord(kv::Object* sender);

  kv::Member<Structures::VirtualChannel> m_channel;
  int32_t FocusedIndex = 0;
  kv::Slot OnProgramChanged;

 private:
  // One page or row move with paging: `pages` moves pages, else rows.
  void MoveWithPaging(int32_t direction, bool pages);
};

class MiniGuideList : public PagedList {
  KV_CLASS(ListForm, MiniGuideList, PagedList)
 public:
  MiniGuideList();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  // Reads up to 10 events of the channel in tune; at least 1 (the
  // no-information row).
  int32_t GetItemsNum() override;
  // The marks at the right edge, 20 pixels in.
  void Refresh() override;
  void DoFocus(kv::Object* sender);

  int32_t FocusedIndex = 0;
  kv::Slot OnProgramChanged;
};

// Packs a channel into the programme list's parameter and back.
int32_t PackChannel(int32_t major, int32_t minor);
int32_t PackedMajor(int32_t packed);
int32_t PackedMinor(int32_t packed);

}  // namespace ListForm
