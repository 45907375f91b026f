// The two row kinds of the renderer setup.
//
// MediaPlayer::MaxVolSeptupItem: the maximum-volume row of the renderer page,
// a number entry row (MenuSystem::NumberEntryItem) whose form is a
// MaxVolNumInput; each start and end of entry is reported through
// OnNumberEditChanged.
//
// MediaPlayer::AdjustArrowButton: the value button of the maximum-volume
// dialog: the value spans the button with an arrow 7 pixels inside each end.
// Left and right step the value and write it through the option; OK fires
// the activation slot.
#pragma once

#include <cstdint>

#include "runtime/slot.h"
#include "units/MenuSystem/MenuItems.h"
#include "units/SkinBin/EntryForms.h"

namespace MediaPlayer {

// The entry form of the maximum-volume row: up does nothing, down puts the
// value back to 50 and reports it as entered.
class MaxVolNumInput : public SkinBin::NumberInput {
  KV_CLASS(MediaPlayer, MaxVolNumInput, SkinBin::NumberInput)
 public:
  static constexpr int32_t kDefault = 50;
  MaxVolNumInput() { Num = kDefault; }
  kv::Object* HandleEvent(Core::Event* event) override;
};

class MaxVolSeptupItem : public MenuSystem::NumberEntryItem {
  KV_CLASS(MediaPlayer, MaxVolSeptupItem, MenuSystem::NumberEntryItem)
 public:
  MaxVolSeptupItem();

  MaxVolNumInput& NumberForm() override { return number_; }

  kv::Slot OnNumberEditChanged;

 protected:
  void EditChanged() override { kv::Signal(OnNumberEditChanged, this); }

 private:
  MaxVolNumInput number_;
};

class AdjustArrowButton : public MenuSystem::AdjustItemArrow {
  KV_CLASS(MediaPlayer, AdjustArrowButton, MenuSystem::AdjustItemArrow)
 public:
  AdjustArrowButton();

  kv::Object* HandleEvent(Core::Event* event) override;
  void Refresh() override;
  // The arrows always stand at both ends.
  void RefreshArrow() override {}

  kv::Slot OnValueChanged;
};

}  // namespace MediaPlayer
