// The PIN prompts over a blocked picture (window 0x2000011). The right
// parental PIN lifts the locks (parental-locks state 1) until the next
// channel or input change; a wrong one clears the digits and shows message
// 2 centred on the prompt, as often as the viewer likes.
//
// ParentalLocks::ChannelLockEnterPin: opened by live TV over a locked
// channel or a blocked programme; checks the fourth digit against the PIN
// stored when it opened. Exit and back do nothing: only the PIN closes it.
//
// ParentalLocks::TempUnlock: opened with Mute from the blocked-programme
// message; checks the digits only on Done, against the PIN stored at that
// moment. Cancel closes it.
#pragma once

#include <cstdint>

#include "runtime/string.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/EntryForms.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/Views/MultilineText.h"
#include "units/Views/Text.h"

namespace ParentalLocks {

class ChannelLockEnterPin : public NonMenuSystem::KXDWidgetClass {
  KV_CLASS(ParentalLocks, ChannelLockEnterPin, NonMenuSystem::KXDWidgetClass)
 public:
  ChannelLockEnterPin();

  // The base start-up; keeps the stored PIN.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Refresh() override;
  // The entry's completion slot.
  void CheckPassword(kv::Object* sender);
  void ResetTimeoutSlot(kv::Object* = nullptr) { ResetTimeout(); }

  SkinBin::PinEntry& Entry() { return entry_; }
  const kv::String& ExpectedPin() const { return expected_; }

 private:
  Views::Text prompt_;
  SkinBin::PinEntry entry_;
  kv::String expected_;
};

class TempUnlock : public NonMenuSystem::BorderWidgetClass {
  KV_CLASS(ParentalLocks, TempUnlock, NonMenuSystem::BorderWidgetClass)
 public:
  TempUnlock();

  kv::Object* HandleEvent(Core::Event* event) override;
  // Done checks the PIN, Cancel closes.
  void ButtonSlot(kv::Object* sender);
  void ResetTimeoutSlot(kv::Object* = nullptr) { ResetTimeout(); }

  SkinBin::PinEntry& Entry() { return entry_; }
  SkinBin::Button& CancelButton() { return cancel_; }
  SkinBin::Button& DoneButton() { return done_; }

 private:
  Views::Text heading_;
  // Wraps to a second line where a language needs it.
  Views::MultilineText prompt_;
  SkinBin::PinEntry entry_;
  SkinBin::Button cancel_;
  SkinBin::Button done_;
};

}  // namespace ParentalLocks
