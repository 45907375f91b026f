// The two row kinds of the renderer setup.
//
// MediaPlayer::MaxVolSeptupItem: the maximum-volume row of the renderer page.
// Left and right step the value in place (written through the option); a
// digit starts number entry in a MaxVolNumInput that stands where the value
// was. Entry ends with the third digit or OK (the number is taken when it
// differs), with Back, or when the row loses the focus; each start and end
// is reported through OnNumberEditChanged.
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

class MaxVolSeptupItem : public MenuSystem::AdjustItemArrowSelect {
  KV_CLASS(MediaPlayer, MaxVolSeptupItem, MenuSystem::AdjustItemArrowSelect)
 public:
  MaxVolSeptupItem();

  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;
  void ReInit() override;

  void OnSetIsNumberEdit(bool on);
  bool OnGetIsNumberEdit() const { return IsNumberEdit; }

  void DoNumberChanged(kv::Object* sender);
  void DoCancelChange(kv::Object* sender);
  void DoResetTimeout(kv::Object* sender);

  MaxVolNumInput& NumberForm() { return number_; }

  bool IsNumberEdit = false;
  kv::Slot OnNumberEditChanged;

 private:
  void SetHelp(bool editing);
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
