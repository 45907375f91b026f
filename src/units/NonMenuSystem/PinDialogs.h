// The PIN dialogs (window 0x2000011): the guards of the protected screens.
//
// NonMenuSystem::EnterPinDialog asks for the stored PIN. Its PIN type (1 to
// 12, the SkinBin::UserRefInt value it is opened with) says which screen it
// guards, which PIN it expects and where it goes on success and on back:
//   1 PIN setting menu         7 locks menu (from the timer menu)
//   2 parental locks menu      8 quick setup (from confirmation 2)
//   3 automatic channel scan   9, 10 3D PIN and 3D safety menus (3D PIN)
//   4 reset of the set         11 3D viewing after the 3D time lock (3D PIN)
//                              12 USB disk format
// Types 9 to 11 expect the 3D PIN, type 4 the parental PIN or, when none is
// stored, the 3D PIN; the others the parental PIN. The expected PIN is read
// once, when the dialog opens. A wrong PIN clears the entry and shows
// message 2 over the dialog; attempts are not limited.
//
// NonMenuSystem::ChangePinDialog sets a new PIN, entered twice. Type 1
// changes the parental PIN, 2 the 3D PIN, 3 the parental PIN from the locks
// menu. Two entries that differ show message 2, the refused PIN (0000)
// message 3; both start again at the first entry, the old PIN kept.
//
// PINs are kept as strings in the application settings.
#pragma once

#include <cstdint>

#include "runtime/string.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/EntryForms.h"
#include "units/Views/Rectangle.h"
#include "units/Views/Text.h"

namespace NonMenuSystem {

// Opens message `type` and centres it on `dialog` (a refused PIN).
void ShowMessageOver(WidgetClass* dialog, int32_t type);

class EnterPinDialog : public KXDWidgetClass {
  KV_CLASS(NonMenuSystem, EnterPinDialog, KXDWidgetClass)
 public:
  EnterPinDialog();

  // The base initialisation, the PIN type of a SkinBin::UserRefInt, the
  // expected PIN and the help bar.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  // The base ClearAll; type 11 then leaves 3D one pass later.
  void ClearAll() override;
  void EnterNextState() override;
  void EnterPrevState() override;

  // Stores the type and sets the states, caption and time-out of its row.
  void OnSetEnterPinType(int32_t type);
  int32_t OnGetEnterPinType() const { return EnterPinType; }
  // The entry's completion slot: the right PIN goes on, a wrong one is refused.
  void CheckPassword(kv::Object* control);
  void ResetTimeoutSlot(kv::Object* = nullptr) { ResetTimeout(); }

  int32_t GetNextStateType() const;
  int32_t GetPrevStateType() const;

  SkinBin::PinEntry& Entry() { return entry_; }
  const kv::String& ExpectedPin() const { return expected_; }

  int32_t EnterPinType = 0;

 private:
  Views::Text prompt_;
  SkinBin::PinEntry entry_;
  kv::String expected_;
  // Opened by a page of the live menu, which stays hidden behind the dialog:
  // going back shows that page again.
  bool fromLivePage_ = false;
};

class ChangePinDialog : public BorderWidgetClass {
  KV_CLASS(NonMenuSystem, ChangePinDialog, BorderWidgetClass)
 public:
  ChangePinDialog();

  // The base initialisation, the change type of a SkinBin::UserRefInt and
  // the help bar.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;

  // Stores the type and sets the title and the states of its row.
  void OnSetChangePinType(int32_t type);
  int32_t OnGetChangePinType() const { return ChangePinType; }
  // The first entry is complete: keep it and go on to the confirmation.
  void FirstPassword(kv::Object* = nullptr);
  // The confirmation is complete: store the new PIN, or start again.
  void CheckPassword(kv::Object* = nullptr);
  void ResetTimeoutSlot(kv::Object* = nullptr) { ResetTimeout(); }

  SkinBin::PinEntry& FirstEntry() { return first_; }
  SkinBin::PinEntry& SecondEntry() { return second_; }

  int32_t ChangePinType = 0;

 private:
  Views::Rectangle panel_;
  Views::Text newLabel_;
  Views::Text confirmLabel_;
  SkinBin::PinEntry first_;
  SkinBin::PinEntry second_;
  kv::String firstPin_;
};

}  // namespace NonMenuSystem
