// Shared set-up of the live-TV tests: the whole system through the
// application fixture, with the non-menu sub-system at hand.
#pragma once

#include <cstdint>

#include "app_fixture.h"
#include "runtime/auto_object.h"
#include "units/Agent/MessageAgent.h"
#include "units/MainApp/ActiveApp.h"
#include "units/MainApp/Root.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Constants/Constants.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"
#include "units/SubSystem/State.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/Wrapper/Wrapper.h"

namespace livetvtest {

class LiveTVTest : public apptest::AppTest {
 protected:
  MainApp::ActiveApp* App2() {
    for (int32_t i = 0; i < App().GetChildCount(); ++i)
      if (auto* a = kv::Cast<MainApp::ActiveApp>(App().GetChild(i))) return a;
    return nullptr;
  }
  NonMenuSystem::NonMenuSystem* Nms() {
    MainApp::ActiveApp* a = App2();
    return a ? kv::Cast<NonMenuSystem::NonMenuSystem>(a->FindSubSystem(&NonMenuSystem::NonMenuSystem::StaticClass()))
             : nullptr;
  }
  Wrapper::Wrapper* W() { return kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper); }
  WidgetManager::WidgetManager* Wm() {
    return kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
  }
  // The open message bar, or null.
  NonMenuSystem::DirectMessageBar* Bar() { return Nms()->MessageBar(); }
  int32_t BarType() { return Bar() ? Bar()->MessageType : 0; }
  // Sends a message to every receiver of the message agent, as the set's services do.
  void Send(int32_t code, int32_t intParam = -1, kv::Object* obj = nullptr) {
    auto* msg = kv::New<Structures::Message>();
    msg->Initialize(code, obj, intParam);
    kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Dispatch(msg);
    Settle();
  }
  // Opens a screen outside the menu by a state change, as its callers do.
  template <class T>
  T* OpenScreen(kv::Object* param = nullptr) {
    kv::Persistent<SubSystem::State> state = kv::New<SubSystem::State>();
    state->Class = &T::StaticClass();
    state->Param = param;
    auto* form = kv::Cast<T>(Nms()->ChangeState(state));
    Settle();
    return form;
  }
  // Switches the main window to the first source of `type`; false when there is none.
  bool SwitchToSourceType(int32_t type) {
    for (int32_t i = 0; i < W()->GetNumSources(); ++i) {
      const int32_t id = W()->GetSourceId(i);
      if (W()->GetSourceType(id) == type) {
        W()->SetSource(0, id);
        Run(500);
        Settle();
        return W()->GetSourceType(W()->GetCurrentSource(0)) == type;
      }
    }
    return false;
  }
  // Chooses the menu language (0 English, 1 Spanish, 2 French) as a viewer
  // does: the setup page, whose first row steps English, Spanish, French
  // with right, then exit.
  void ChooseMenuLanguage(int32_t language) {
    auto* ref = kv::New<Structures::RefInt>();
    ref->Value = 1;
    auto* state = kv::New<SubSystem::State>();
    state->Class = KV_LATE_CLASS("MenuSystem::SetupMenu");
    state->Param = ref;
    auto* msg = kv::New<Structures::Message>();
    msg->Initialize(Constants::MSG_CHANGE_STATE, state);
    kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->DispatchTo(msg, KV_LATE_CLASS("MenuSystem::MenuSystem"));
    Run(300);
    auto* skin = kv::Cast<SkinBin::Wrapper>(W());
    const int32_t now = skin ? skin->OnGetMenuLanguage() : 0;
    for (int32_t i = (language - now + 3) % 3; i > 0; --i) {
      Press("right");
      Run(300);
    }
    Press("exit");
    Run(300);
  }
};

}  // namespace livetvtest
