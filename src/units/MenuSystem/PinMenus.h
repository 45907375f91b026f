// The PIN pages in front of the Locks page of the live menu.
//
// MenuSystem::EnterPinMenu asks for the stored parental PIN; a wrong one is
// cleared with a message and may be tried again. MenuSystem::ChangePinMenu
// asks for a new PIN twice and stores it when both agree and it is not the
// refused value. Either page then opens its NextState (the Locks page) and
// tells the column, whose Locks entry asks for the PIN from then on.
// Neither page moves or takes part in the message agent; up, down, left and
// right do nothing, Back returns as from any page.
#pragma once

#include <cstdint>

#include "runtime/string.h"
#include "units/MenuSystem/LiveMenu.h"
#include "units/MenuSystem/ThirdMenu.h"
#include "units/SkinBin/EntryForms.h"
#include "units/Views/MultilineText.h"
#include "units/Views/Text.h"

namespace MenuSystem {

// Page parameters (the PIN types of the PIN dialogs).
inline constexpr int32_t CHANGE_PIN_PASSWORD = 1;
inline constexpr int32_t ENTER_PIN_PARENTAL_LOCK = 2;
inline constexpr int32_t CHANGE_PIN_CHANGE_PIN = 3;

class PinPageBase : public VidiSubMenu {
  KV_CLASS(MenuSystem, PinPageBase, VidiSubMenu)
 public:
  PinPageBase();
  kv::Object* HandleEvent(Core::Event* event) override;
  void Close() override;
  // The entries show which box takes the next digit only while the page
  // takes the keys: the page draws again as it gains or loses the focus.
  void HandleFocus(bool focused) override;
  // Closes the page and opens NextState (a slot).
  void EnterNextState(kv::Object* sender = nullptr);
  // Goes back as the Back key does (a slot).
  void EnterPrevState(kv::Object* sender = nullptr);
  const kv::String& Message() const { return message_.OnGetString(); }

 protected:
  // Parent, the parameter's value (through SetType) and no spare item.
  void Start(Primitives::KeyRoutingParameter* param);
  virtual void SetType(int32_t type) = 0;
  void ShowMessage(const kv::MultiTextId& id);
  static void SetupLabel(Views::Text& label, kv::Rect r);
  Views::MultilineText message_;
};

class EnterPinMenu : public PinPageBase {
  KV_CLASS(MenuSystem, EnterPinMenu, PinPageBase)
 public:
  EnterPinMenu();
  void ReInit() override;
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void OnSetEnterPinType(int32_t type);
  void CheckPassword(kv::Object* sender = nullptr);
  SkinBin::PinEntry& Entry() { return entry_; }

  int32_t EnterPinType = 0;

 protected:
  void SetType(int32_t type) override { OnSetEnterPinType(type); }

 private:
  SkinBin::PinEntry entry_;
  Views::Text label_;
  kv::String expected_;
};

class ChangePinMenu : public PinPageBase {
  KV_CLASS(MenuSystem, ChangePinMenu, PinPageBase)
 public:
  ChangePinMenu();
  void ReInit() override;
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void OnSetChangePinType(int32_t type);
  void FirstPassword(kv::Object* sender = nullptr);
  void CheckPassword(kv::Object* sender = nullptr);
  SkinBin::PinEntry& First() { return first_; }
  SkinBin::PinEntry& Second() { return second_; }

  int32_t ChangePinType = 0;

 protected:
  void SetType(int32_t type) override { OnSetChangePinType(type); }

 private:
  SkinBin::PinEntry first_;
  SkinBin::PinEntry second_;
  Views::Text newLabel_;
  Views::Text confirmLabel_;
  kv::String firstPin_;
};

// The product tree's PIN page: change the PIN or delete it, through the PIN
// dialogs outside the menu.
class PINSettingMenu : public ThirdMenu {
  KV_CLASS(MenuSystem, PINSettingMenu, ThirdMenu)
 public:
  PINSettingMenu();
};

}  // namespace MenuSystem
