// NonMenuSystem::SleepTimerDialog: the sleep key's captioned dialog in the
// upper left: seven choices (off, 15, 30, 45, 60, 90, 120 minutes), one
// SkinBin::Button each. Choosing one starts the Wrapper's sleep timer with
// the button's minutes (0 stops it) and closes the dialog. While a sleep
// timer runs, the dialog is 450 pixels wide and its caption tells the
// minutes left. Up and down move through the choices, wrapping round.
#pragma once

#include <cstdint>

#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/SkinButtons.h"

namespace NonMenuSystem {

class SleepTimerDialog : public KXDWidgetClass {
  KV_CLASS(NonMenuSystem, SleepTimerDialog, KXDWidgetClass)
 public:
  static constexpr int32_t kChoices = 7;
  static constexpr int32_t kButtonWidth = 180;
  static constexpr int32_t kButtonHeight = 27;
  static constexpr int32_t kButtonGap = 4;
  static constexpr int32_t kWideWidth = 450;

  SleepTimerDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Refresh() override;

  // The activation of a choice (sender: the button).
  void DoActivate(kv::Object* sender);

  SkinBin::Button& Choice(int32_t i) { return buttons_[i]; }

 private:
  SkinBin::Button buttons_[kChoices];
};

}  // namespace NonMenuSystem
