// The channel lists over the Wrapper's channel table: per channel a lock
// (ListForm::ChannelLockList), a skip flag and a label (ChannelOptionList),
// the result of a scan (MasterChannelList) and the virtual channels of one
// physical channel (ManualChannelList). The lock and option rows write to
// the middleware at the moment of the change; a change the middleware does
// not take (the on-screen display is locked, or the call fails) leaves the
// row and the table as they were.
#pragma once

#include <cstdint>

#include "runtime/slot.h"
#include "runtime/string.h"
#include "units/Core/Timer.h"
#include "units/ListForm/ListCourier.h"
#include "units/ListForm/OptionLists.h"
#include "units/Views/Image.h"
#include "units/Views/ImageList.h"
#include "units/Views/Text.h"

namespace SkinBin {
class ChannelData;
}

namespace ListForm {

// Delay of the preview tuning after the focus last moved.
inline constexpr int32_t kPreviewTuneMs = 1500;

// What every channel row carries: the number and its kind (the label is the
// courier's text).
class ChannelRowCourier : public ListCourier {
  KV_CLASS(ListForm, ChannelRowCourier, ListCourier)
 public:
  bool IsDigital = true;
  int32_t Major = 2;
  int32_t Minor = 0;
};

class ChannelLockCourier : public ChannelRowCourier {
  KV_CLASS(ListForm, ChannelLockCourier, ChannelRowCourier)
 public:
  bool IsLocked = false;
};

class ChannelOptionCourier : public ChannelRowCourier {
  KV_CLASS(ListForm, ChannelOptionCourier, ChannelRowCourier)
 public:
  bool IsEnabled = true;
};

class ManualChannelCourier : public ChannelRowCourier {
  KV_CLASS(ListForm, ManualChannelCourier, ChannelRowCourier)
 public:
  bool IsScaned = true;
  bool IsNew = true;
  int32_t SignalStrength = 70;
};

class ChannelCourier : public ChannelRowCourier {
  KV_CLASS(ListForm, ChannelCourier, ChannelRowCourier)
 public:
  bool IsSkip = false;
  int32_t PhysicalChNum = 2;
};

// A channel row: the channel number as its text, the channel's label in a
// second text.
class ChannelRow : public ListItem {
  KV_CLASS(ListForm, ChannelRow, ListItem)
 public:
  ChannelRow();
  void Refresh() override;
  int32_t GetCtrlState() override;
  // The label takes the number's focused colour with the focused look.
  void RefreshCtrlState(int32_t state) override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

  // Number text from the digital flag, major and minor.
  void ShowNumber();
  // The row's number from a courier; ShowChannel then takes the courier's
  // label and shows the number. PutChannel fills a courier from the row.
  void TakeChannel(const ChannelRowCourier& c);
  void ShowChannel(const ChannelRowCourier& c);
  void PutChannel(ChannelRowCourier* c) const;
  void OnSetChannelLabel(const kv::String& text);
  const kv::String& OnGetChannelLabel() const { return label_.OnGetString(); }
  void OnSetIsDigital(bool on);

  bool IsDigital = true;
  int32_t Major = 2;
  int32_t Minor = 0;

 protected:
  // The second view of the row (a mark, a check box, a text), drawn after
  // the label; null for none.
  virtual Core::View* FlagView() { return nullptr; }
  // The tuner-kind image (shown by the rows that have one).
  Views::Image& KindView() { return kind_; }
  Views::Text& LabelView() { return label_; }

 private:
  Views::Text label_;
  Views::Image kind_;
};

class ChannelLockItem : public ChannelRow {
  KV_CLASS(ListForm, ChannelLockItem, ChannelRow)
 public:
  ChannelLockItem();
  void SetData(kv::Object* data) override;
  kv::Object* GetData(kv::Object* data) override;
  void Refresh() override;
  void OnSetIsLocked(bool on);
  bool IsLocked = false;

 protected:
  Core::View* FlagView() override { return &lock_; }

 private:
  Views::Image lock_;
};

class ChannelOptionItem : public ChannelRow {
  KV_CLASS(ListForm, ChannelOptionItem, ChannelRow)
 public:
  ChannelOptionItem();
  void SetData(kv::Object* data) override;
  kv::Object* GetData(kv::Object* data) override;
  void Refresh() override;
  // 20 skips or restores the channel; other key-downs go to the control.
  kv::Object* HandleEvent(Core::Event* event) override;
  // Flips the channel's ring membership in the table and the middleware.
  void EnableChannel();
  void OnSetIsEnabled(bool on);
  bool IsEnabled = true;
  kv::Slot FocusMove;

 protected:
  Core::View* FlagView() override { return &check_; }

 private:
  Views::Image check_;
};

class ManualChannelItem : public ChannelRow {
  KV_CLASS(ListForm, ManualChannelItem, ChannelRow)
 public:
  ManualChannelItem();
  void SetData(kv::Object* data) override;
  kv::Object* GetData(kv::Object* data) override;
  void Refresh() override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;
  void OnSetIsScaned(bool on);
  void OnSetIsNew(bool on);
  // 0 shows no bar, 100 or more five, else s x 5 / 100 + 1; below 0 none.
  void OnSetSignalStrength(int32_t s);
  int32_t ShownBars() { return bars_.OnGetImageIndex(); }
  bool IsScaned = true;
  bool IsNew = true;
  int32_t SignalStrength = 70;

 private:
  Views::ImageList bars_;
  Views::Text newMark_;
};

class ChannelItem : public ChannelRow {
  KV_CLASS(ListForm, ChannelItem, ChannelRow)
 public:
  ChannelItem();
  void SetData(kv::Object* data) override;
  kv::Object* GetData(kv::Object* data) override;
  void Refresh() override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;
  void OnSetIsSkip(bool on);
  void OnSetPhysicalChNum(int32_t n);
  bool IsSkip = false;
  int32_t PhysicalChNum = 2;

 private:
  Views::Text skip_;
  Views::Text physical_;
};

// The shared parts: page keys 39/40 and the indicators at the right edge.
class ChannelListBase : public IndicatedList {
  KV_CLASS(ListForm, ChannelListBase, IndicatedList)
 public:
  ChannelListBase();
  // Loads the master table (see the Wrapper's tuning mode) and counts it.
  int32_t GetItemsNum() override;
  // The table record at row `row`'s index, or null.
  SkinBin::ChannelData* RecordOf(kv::Object* row);
};

// A channel list that tunes to the focused channel 1500 ms after the focus
// last moved.
class PreviewChannelList : public ChannelListBase {
  KV_CLASS(ListForm, PreviewChannelList, ChannelListBase)
 public:
  PreviewChannelList();
  void DoFocus(kv::Object* sender);
  void TuneToChannel(kv::Object* sender = nullptr);
  bool IsPreviewPending() const { return timer_.IsEnabled(); }

 private:
  Core::Timer timer_;
};

class ChannelLockList : public ChannelListBase {
  KV_CLASS(ListForm, ChannelLockList, ChannelListBase)
 public:
  ChannelLockList();
  // OK on a row: locks or unlocks its channel.
  void DoChannelLock(kv::Object* sender);
  // Every channel at once: (-1, -1) to the middleware.
  void LockAllChannels(bool on);
};

class ChannelOptionList : public PreviewChannelList {
  KV_CLASS(ListForm, ChannelOptionList, PreviewChannelList)
 public:
  ChannelOptionList();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Close() override;
  int32_t GetFocusItemIndex() override;
  void InitializeItems() override;
  // OK on a row: the key pad for its label.
  void DoChangeLabel(kv::Object* sender);
  // The key pad's answer (MSG_LABEL_CHANGE).
  void HandleMessage(Structures::Message* msg) override;
  void EnableAllChannels(bool on);
};

class MasterChannelList : public PreviewChannelList {
  KV_CLASS(ListForm, MasterChannelList, PreviewChannelList)
 public:
  MasterChannelList();
  // OK does what the owner's exit does.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
};

class ManualChannelList : public ChannelListBase {
  KV_CLASS(ListForm, ManualChannelList, ChannelListBase)
 public:
  ManualChannelList();
  int32_t GetItemsNum() override;
  // Loads the virtual channels of the physical channel and shows them.
  void OnSetPhysicalChannel(int32_t channel);
  int32_t OnGetPhysicalChannel() const { return PhysicalChannel; }
  // After a single-channel scan replaced the table.
  void LoadScanedChannels();

  int32_t PhysicalChannel = 0;

 private:
  void ShowCount(int32_t n);
};

}  // namespace ListForm
