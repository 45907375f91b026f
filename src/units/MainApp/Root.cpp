#include "units/MainApp/Root.h"

#include "runtime/slot.h"
#include "runtime/trace.h"
#include "strings/MainApp.h"
#include "units/Agent/EventAgent.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Events/XPM_EVENT_FACTORY_RESET.h"
#include "units/Events/XPM_EVENT_KEY.h"
#include "units/Events/XPM_EVENT_STANDBY.h"
#include "units/Events/XPM_EVENT_UBN_MEDIA_INSERTED.h"
#include "units/Events/XPM_EVENT_UBN_UPDATE_REMIND.h"
#include "units/MainApp/AppData.h"
#include "units/MainApp/InitialSetup.h"
#include "units/MainApp/Standby.h"
#include "units/Media/MediaWrapper.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/SkinBin/Wrapper.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"
#include "units/Wrapper/Wrapper.h"

namespace MainApp {

KV_REGISTER_CLASS(MainApp::Root);

namespace {
Wrapper::Wrapper* TheWrapper() { return kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper); }
::WidgetManager::WidgetManager* TheWidgetManager() {
  return kv::GetAutoObject<::WidgetManager::WidgetManager>(MainApp::WidgetManager);
}
Media::MediaWrapper* TheMediaWrapper() { return kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper); }

// A sub-system group that covers the screen, opened into the root.
template <class T>
T* NewSubSystem(Core::Root* root) {
  auto* s = kv::New<T>();
  s->OnSetBounds({0, 0, Core::Root::kWidth, Core::Root::kHeight});
  auto* param = kv::New<Primitives::KeyRoutingParameter>();
  param->Owner = root;
  s->Initialize(param);
  s->Open();
  return s;
}
}  // namespace

Root::Root()
    : EventStages{KV_LATE_CLASS("MainApp::ActiveApp"), KV_LATE_CLASS("NonMenuSystem::NonMenuSystem"),
                  KV_LATE_CLASS("MenuSystem::MenuSystem"), KV_LATE_CLASS("FactorySystem::FactorySystem")} {}

void Root::Init() {
  if (initialized_) return;
  initialized_ = true;
  auto* data = kv::GetAutoObject<::PersistentData::PersistentData>(MainApp::PersistentData);
  data->OnLoadDefaultData = kv::MakeSlot(this, &Root::DefaultAppData);
  Wrapper::Wrapper* wrapper = TheWrapper();
  wrapper->OnSetRoot(this);
  wrapper->Initialize();
  auto* agent = kv::GetAutoObject<Agent::EventAgent>(MainApp::EventAgent);
  agent->Wrapper = wrapper;
  agent->WidgetManager = TheWidgetManager();
  agent->MessageAgent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent);
  agent->PersistentData = data;
  if (auto* skin = kv::Cast<SkinBin::Wrapper>(wrapper)) {
    skin->PersistentData = data;
    skin->EventAgent = agent;
    skin->LoadMenuLanguage();
    skin->LoadPreviousSource();
    // The CEC and network helpers follow their stored settings.
    skin->OnGetEnableKELVO();
    skin->OnGetNetworkType();
  }

  standby_ = NewSubSystem<Standby>(this);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Register(standby_.get());
  setup_ = NewSubSystem<InitialSetup>(this);
  if (SkipSetupAtStart && data->GetInteger(KEY_SETUP_STEP) != kSetupDone) data->PutInteger(KEY_SETUP_STEP, kSetupDone);
  standby_->WakeUp();
}

void Root::DefaultAppData(kv::Object* sender) {
  WriteDefaultAppData(kv::Cast<::PersistentData::PersistentData>(sender));
}

bool Root::IsScreenShown() { return !TheWidgetManager()->Empty(); }

bool Root::IsInStandby() { return standby_ && standby_->IsInStandby(); }

bool Root::IsAnimationRunning() { return Core::Root::IsAnimationRunning() || TheWrapper()->IsAnimating(); }

bool Root::IsTransitionRunning() { return Core::Root::IsTransitionRunning() || TheWrapper()->IsTransitionRunning(); }

bool Root::IsMenuOrSetupShown() {
  auto* wm = TheWidgetManager();
  return wm->HasWidgetInGroup(Constants::WIN_GROUP_MENU << 24) || wm->HasWidgetInGroup(Constants::WIN_GROUP_SETUP << 24);
}

Core::View* Root::FindStage(const kv::Class* cls) {
  if (!cls) return nullptr;
  for (int32_t i = 0; i < GetChildCount(); ++i) {
    Core::View* child = GetChild(i);
    if (child->KvClass()->Is(cls)) return child;
    if (auto* group = kv::Cast<Core::Group>(child))
      for (int32_t j = 0; j < group->GetChildCount(); ++j)
        if (group->GetChild(j)->KvClass()->Is(cls)) return group->GetChild(j);
  }
  return nullptr;
}

kv::Object* Root::PreDispatchKey(Core::KeyEvent* key) {
  if (!key->Down) return nullptr;
  if (key->Code == keys::KEY_POWER) {
    if (standby_ && standby_->IsInStandby()) {
      standby_->WakeUp();
      return key;
    }
    // A screen that has switched the power key off (a software update) keeps the set on.
    auto* skin = kv::Cast<SkinBin::Wrapper>(TheWrapper());
    if (skin && !skin->PowerKeyEnabled) return key;
    auto* standby = kv::New<Events::XPM_EVENT_STANDBY>();
    DispatchEvent(standby);
    return key;
  }
  // The set is off: only the power key counts.
  if (standby_ && standby_->IsInStandby()) return key;
  if (auto* skin = kv::Cast<SkinBin::Wrapper>(TheWrapper())) {
    // A key ends the store demo, and does nothing else.
    if (skin->OnGetStartDemo()) {
      skin->OnSetStartDemo(0);
      return key;
    }
    // Every key restarts the automatic power-down and the store-demo delay
    // (not inside a critical section, which stopped them and restarts them
    // when it ends).
    if (!skin->AppCriticalSection) {
      kv::Signal(kv::MakeSlot(skin, &SkinBin::Wrapper::StartAutoPowerTimer), this);
      kv::Signal(kv::MakeSlot(skin, &SkinBin::Wrapper::StartAutoDemoTimer), this);
    }
  }
  auto* ev = kv::Cast<Events::XPM_EVENT_KEY>(key);
  if (ev && ev->FromPanel == 1 && IsMenuOrSetupShown()) {
    for (const PanelRemap& r : kPanelRemap)
      if (key->Code == r.from) {
        key->Code = r.to;
        break;
      }
  }
  return nullptr;
}

kv::Object* Root::KeepAcquired(Core::Event* event) {
  int32_t window = 0;
  if (!Agent::EventAgent::AcquiredWindow(event, window)) return nullptr;
  auto* agent = kv::GetAutoObject<Agent::EventAgent>(MainApp::EventAgent);
  if (!agent) return nullptr;
  agent->InsertEvent(event);
  return agent->HandleEvent(event) != 0 ? event : nullptr;
}

kv::Object* Root::PreDispatch(Core::Event* event) {
  if (auto* key = kv::Cast<Core::KeyEvent>(event)) return PreDispatchKey(key);
  if (auto* standby = kv::Cast<Events::XPM_EVENT_STANDBY>(event)) {
    // A software update that runs must not be cut off: its window swallows
    // every standby request until it ends.
    auto* wm = kv::GetAutoObject<::WidgetManager::WidgetManager>(MainApp::WidgetManager);
    if (wm->FindForm(WinIDs::WIN_ID_UBN_Updating)) {
      kv::Log("MainApp::Root: standby refused while the software update runs");
      standby->Handled = 1;
      return event;
    }
    // An open player stops its playback first (the screens close below).
    for (uint32_t id : WinIDs::kFullScreenPlayers)
      if (Primitives::KeyRoutingForm* player = wm->FindForm(id)) {
        player->DispatchEvent(standby);
        break;
      }
    if (standby_) standby_->EnterStandby(standby->Reason);
    standby->Handled = 1;
    return event;
  }
  if (auto* reset = kv::Cast<Events::XPM_EVENT_FACTORY_RESET>(event)) {
    if (standby_) standby_->DoResetFactory();
    reset->Handled = 1;
    return event;
  }
  if (kv::Object* taken = KeepAcquired(event)) return taken;
  // The software update's reminder and an update medium found go to the
  // event agent, which hands them to live TV as cached events: live TV takes
  // the keys and asks its question. Not while the set is off: nothing opens
  // on the switched-off screen.
  if (kv::Cast<Events::XPM_EVENT_UBN_UPDATE_REMIND>(event) || kv::Cast<Events::XPM_EVENT_UBN_MEDIA_INSERTED>(event)) {
    if (standby_ && standby_->IsInStandby()) return event;
    auto* agent = kv::GetAutoObject<Agent::EventAgent>(MainApp::EventAgent);
    if (agent && agent->HandleEvent(event) != 0) return event;
  }
  if (kv::Object* taken = TheMediaWrapper()->HandleEvent(event)) return taken;
  for (const kv::Class* cls : EventStages) {
    Core::View* stage = FindStage(cls);
    if (!stage) continue;
    if (kv::Object* taken = stage->HandleEvent(event)) return taken;
  }
  return nullptr;
}

void Root::SetTV101State(bool on) {
  Core::Root::SetTV101State(on);
  if (auto* skin = kv::Cast<SkinBin::Wrapper>(TheWrapper())) skin->TV101 = on;
}

kv::Object* Root::Broadcast(Core::Event* event, int32_t mode) {
  if (kv::Object* taken = TheMediaWrapper()->HandleEvent(event)) return taken;
  return Core::Root::Broadcast(event, mode);
}

}  // namespace MainApp
