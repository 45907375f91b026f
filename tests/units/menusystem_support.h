// Shared set-up of the menu tests: the whole system through the application
// fixture, with the menu sub-system, its column and open pages at hand.
#pragma once

#include <cstdint>
#include <string>

#include "nonmenusystem_support.h"
#include "units/MenuSystem/LiveMenu.h"
#include "units/MenuSystem/LiveMenuPages.h"
#include "units/MenuSystem/MenuSystem.h"
#include "units/MenuSystem/OptionPopup.h"
#include "units/MenuSystem/MenuItems.h"
#include "units/MenuSystem/PinMenus.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Constants/Constants.h"
#include "units/Structures/RefHolders.h"

namespace menutest {

class MenuTest : public livetvtest::LiveTVTest {
 protected:
  MenuSystem::MenuSystem* Ms() {
    MainApp::ActiveApp* a = App2();
    return a ? kv::Cast<MenuSystem::MenuSystem>(a->FindSubSystem(&MenuSystem::MenuSystem::StaticClass())) : nullptr;
  }
  SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(W()); }
  // The first open form of class T, or null.
  template <class T>
  T* Open() {
    for (Primitives::KeyRoutingForm* f : OpenForms())
      if (auto* t = kv::Cast<T>(f)) return t;
    return nullptr;
  }
  MenuSystem::VidiMainMenu* Column() { return Open<MenuSystem::VidiMainMenu>(); }
  MenuSystem::VidiSubMenu* Page() {
    for (Primitives::KeyRoutingForm* f : OpenForms())
      if (auto* p = kv::Cast<MenuSystem::VidiSubMenu>(f); p && p->IsOpen()) return p;
    return nullptr;
  }
  // Presses a key and lets a move (6 frames of 50 ms) finish.
  void Step(std::string_view key, int times = 1) {
    for (int i = 0; i < times; ++i) {
      Press(key);
      Run(400);
    }
    Settle();
  }
  // Types digits ("1234") on the remote.
  void Digits(const std::string& digits) {
    for (char c : digits) Press(std::string(1, c));
    Settle();
  }
  // Opens a setting page as the dialogs and the product tree do: a state
  // change to the menu sub-system with a Structures::RefInt naming the row
  // to focus.
  template <class T>
  T* OpenPage(int32_t row = 1) {
    auto* ref = kv::New<Structures::RefInt>();
    ref->Value = row;
    auto* state = kv::New<SubSystem::State>();
    state->Class = &T::StaticClass();
    state->Param = ref;
    auto* msg = kv::New<Structures::Message>();
    msg->Initialize(Constants::MSG_CHANGE_STATE, state);
    kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)
        ->DispatchTo(msg, &MenuSystem::MenuSystem::StaticClass());
    Settle();
    return Open<T>();
  }
  // The caption of the focused page item, or "".
  std::string FocusedCaption() {
    auto* item = kv::Cast<MenuSystem::VidiSubMenuItem>(Focused());
    return item ? item->OnGetText().ToUtf8() : std::string();
  }
};

}  // namespace menutest
