// The manual channel scan.
//
// Channels::ChannelSelectItem: a button that shows a physical channel
// number between two arrows. Left and right step it (wrapping within
// Min..Max), writing the option's value at once; digits open a three-digit
// number input (NumberInput), whose entry ends with its last digit or OK and
// is taken only when in range and different. The range and the value come
// from the option record bound with OnSetOptionType (a slider record; any
// other keeps 0..100 step 1, logged).
//
// Channels::ManualTuningDialog: the selector over the list of the virtual
// channels of the chosen physical channel (ListForm::ManualChannelList). OK
// on the selector searches that channel (XPM_StartChannelDiscovery); the
// progress event replaces the list with what was found, new channels
// marked, and the count line shows how many are new and the channels in the
// ring. A discovery the set refuses hides the waiting text again (logged).
#pragma once

#include <cstdint>

#include "runtime/slot.h"
#include "units/Button/Button.h"
#include "units/Channels/ChannelsDialog.h"
#include "units/ListForm/ChannelLists.h"
#include "units/SkinBin/EntryForms.h"
#include "units/Views/Image.h"

namespace Channels {

class ChannelSelectItem : public ::Button::IconButton {
  KV_CLASS(Channels, ChannelSelectItem, ::Button::IconButton)
 public:
  ChannelSelectItem();

  void OnSetOptionType(uint32_t id);
  uint32_t OnGetOptionType() const { return OptionType; }
  void ToggleOption(bool up);
  void OnSetChNum(int32_t value);
  int32_t OnGetChNum() const { return ChNum; }
  void OnSetIsChannelEdit(bool on);
  bool OnGetIsChannelEdit() const { return IsChannelEdit; }
  void OnSetMax(int32_t v) { Max = v; }
  int32_t OnGetMax() const { return Max; }
  void OnSetMin(int32_t v) { Min = v; }
  int32_t OnGetMin() const { return Min; }
  void OnSetStep(int32_t v) { Step = v; }
  int32_t OnGetStep() const { return Step; }
  void Init() {}

  void DoChannelNumChanged(kv::Object* sender = nullptr);
  void DoCancelChange(kv::Object* sender = nullptr);
  void DoResetTimeout(kv::Object* sender = nullptr);

  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;
  void Refresh() override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

  SkinBin::NumberInput& Input() { return number_; }

  uint32_t OptionType = 0;
  int32_t Max = 100;
  int32_t Min = 0;
  int32_t Step = 1;
  int32_t ChNum = 0;
  bool IsChannelEdit = false;
  kv::Slot OnResetTimeout;
  kv::Slot OnValueChanged;
  kv::Slot OnIsChannelEditChanged;

 private:
  // The option's value := ChNum (through its property when it has one).
  void WriteOption();

  SkinBin::NumberInput number_;
  Views::Image leftArrow_;
  Views::Image rightArrow_;
};

class ManualTuningDialog : public ChannelsDialogClass {
  KV_CLASS(Channels, ManualTuningDialog, ChannelsDialogClass)
 public:
  ManualTuningDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Close() override;

  void SingleScanSlot(kv::Object* sender = nullptr);
  void PhysicalChannelChanged(kv::Object* sender = nullptr);
  void DoChangeChannelEdit(kv::Object* sender = nullptr);
  void OnSetPhysicalChannel(int32_t channel);
  int32_t OnGetPhysicalChannel() const { return PhysicalChannel; }
  int32_t OnGetTotalChannelsNum();

  ChannelSelectItem& Selector() { return item_; }
  ListForm::ManualChannelList& List() { return list_; }
  const kv::String& FoundText() const { return found_.OnGetString(); }
  bool IsWaiting() { return waiting_.IsVisible(); }

  int32_t PhysicalChannel = 0;

 private:
  // The count line before a search: the lead, SID_NEW_PROGRAMMES_FOUND and
  // the channels in the ring.
  void ShowRingCount();
  void ShowWaiting(bool on);

  ListForm::ManualChannelList list_;
  Views::Text channelHeading_;
  Views::Text newHeading_;
  Views::Text found_;
  Views::Text typeHeading_;
  ChannelSelectItem item_;
  Views::Text numberHeading_;
  Views::Text waiting_;
};

}  // namespace Channels
