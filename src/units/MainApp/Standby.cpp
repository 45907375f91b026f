#include "units/MainApp/Standby.h"

#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/trace.h"
#include "units/Agent/MessageAgent.h"
#include "strings/MainApp.h"
#include "units/Constants/Constants.h"
#include "units/Events/XPM_EVENT_STANDBY.h"
#include "units/MainApp/AppData.h"
#include "units/MainApp/InitialSetup.h"
#include "units/MainApp/Root.h"
#include "units/Media/MediaWrapper.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"
#include "units/Wrapper/Wrapper.h"

namespace MainApp {

KV_REGISTER_CLASS(MainApp::Standby);

namespace {
// The standby mode asked of the middleware.
constexpr int32_t kStandbyMode = 1;

::PersistentData::PersistentData* Data() {
  return kv::GetAutoObject<::PersistentData::PersistentData>(MainApp::PersistentData);
}
SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper)); }
// Tells the system manager whether the first-time setup runs (1, 0) or has
// ended (2).
void NotifySetup(int32_t status) {
  if (auto* skin = Skin()) skin->NotifySetupStatus(status);
}
// Live TV's waiting circle (or record flag) goes: the message that removes
// it, to the non-menu sub-system only.
void RemoveWaitingCircle() {
  auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent);
  const kv::Class* live = KV_LATE_CLASS("NonMenuSystem::NonMenuSystem");
  if (!agent || !live) return;
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_SHOW_WAITING_CIRCLE, nullptr, 0);
  agent->DispatchTo(msg, live);
}
}  // namespace

Root* Standby::AppRoot() const { return kv::Cast<Root>(Parent.get()); }

void Standby::WakeUp() {
  inStandby_ = false;
  const int32_t step = InitialSetup::PersistedStep();
  kv::Trace("%s%i", {kv::LoadString(T_WAKE_UP), step});
  // The power timers and the store demo run again (standby stopped them).
  if (auto* skin = Skin()) skin->ExitAppCriticalSection();
  if (step != kSetupDone) {
    StartInitialSetup();
  } else {
    NotifySetup(0);
    EnterNormalTVState();
    LeaveEmptyMediaInput();
  }
}

void Standby::LeaveEmptyMediaInput() {
  // Standby closed the media screens but left the media input chosen: with
  // none of them open there is nothing to watch there, so the set goes back
  // to the last TV source.
  auto* wrapper = kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper);
  auto* wm = kv::GetAutoObject<::WidgetManager::WidgetManager>(MainApp::WidgetManager);
  if (!wrapper || wrapper->GetCurrentSource(0) != SkinBin::Wrapper::GetExtSourceId()) return;
  if (wm && wm->HasWidgetInGroup(WinIDs::WIN_ID_MediaPlayer)) return;
  kv::Log("MainApp::Standby: awake on the media input with no media screen, back to the last TV source");
  if (wrapper->SetLastSource() != 0) return;
  // None kept (a settings file written before the set kept it): TV 1, on
  // the channel its tuner is on.
  kv::Log("MainApp::Standby: no TV source kept, back to TV 1");
  wrapper->SetMainWindowToTuner();
}

void Standby::StartInitialSetup() {
  Root* root = AppRoot();
  InitialSetup* setup = root ? root->GetInitialSetup() : nullptr;
  normalTV_ = false;
  if (setup) {
    setup->OnComplete = kv::MakeSlot(this, &Standby::SetupComplete);
    inSetup_ = true;
    if (setup->Start()) {
      NotifySetup(1);
      return;
    }
    inSetup_ = false;
  }
  // Without its pages the set goes on into normal TV; the step stays as it was.
  NotifySetup(0);
  EnterNormalTVState();
}

void Standby::SetupComplete(kv::Object*) {
  inSetup_ = false;
  EnterNormalTVState();
}

void Standby::EnterNormalTVState() {
  kv::Trace("%s", {kv::LoadString(T_NORMAL_TV)});
  normalTV_ = true;
  NotifySetup(2);
  auto* media = kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper);
  const bool renderer = media->IsDmrConfiged() && Data()->GetInteger(KEY_MEDIA_RENDERER) == 1;
  media->PslInitialize(true, renderer, media->GetDmcAccessControl());
  media->Initialize(AppRoot());
  // The DLNA setting, written again (the skin Wrapper's setter does this).
  media->EnableDlna(Data()->GetInteger(KEY_ENABLE_DLNA));

  // The active application, once its class exists: one instance, in the root.
  const kv::Class* appClass = KV_LATE_CLASS("MainApp::ActiveApp");
  Root* root = AppRoot();
  if (!appClass || !root) return;
  for (int32_t i = 0; i < root->GetChildCount(); ++i) {
    Core::View* child = root->GetChild(i);
    if (child->KvClass() != appClass) continue;
    // It exists already (a setup ended that started from normal TV, or
    // one finished after it was cut short): the keys go back to it.
    root->OnSetFocus(child);
    return;
  }
  if (auto* app = kv::Cast<Primitives::KeyRoutingGroup>(kv::NewObjectIndirect(appClass))) {
    auto* param = kv::New<Primitives::KeyRoutingParameter>();
    param->Owner = root;
    app->Initialize(param);
    app->Open();
  }
}

void Standby::EnterStandby(int32_t reason) {
  if (inStandby_) {
    kv::Trace("%s%i", {kv::LoadString(T_STANDBY_AGAIN), reason});
    return;
  }
  kv::Trace("%s%i", {kv::LoadString(T_STANDBY), reason});
  inStandby_ = true;
  normalTV_ = false;
  inSetup_ = false;
  // Every screen closes: the set shows nothing while it is off. Nor does
  // live TV's waiting circle or record flag, which is no screen.
  kv::GetAutoObject<::WidgetManager::WidgetManager>(MainApp::WidgetManager)->CloseLayers(0xffffffffu);
  RemoveWaitingCircle();
  if (auto* skin = Skin()) {
    // Standby is a critical section: the sleep timer is cancelled (and with
    // it a sleep standby still pending), the power timers and the store demo
    // stop until wake-up.
    skin->EnterAppCriticalSection(false);
    // A frozen picture does not outlive standby.
    if (skin->FreezeRequest) skin->OnSetIsFrozen(0);
    // Nor does an application that owned the screen: the set wakes to live
    // TV (the store demo has stopped with the critical section).
    skin->RefreshActiveAppStatus();
    if (skin->GetActiveNetAppStatus() && !skin->IsDemoFlash()) skin->TerminateAllcApps();
  }
  kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper)->Standby(kStandbyMode, reason);
}

void Standby::DoResetFactory(kv::Object*) {
  kv::Trace("%s", {kv::LoadString(T_FACTORY_RESET)});
  // Every screen closes (the question that asked for the reset too), the
  // settings go back to the factory's, and the set starts as a new one: the
  // first-time setup at once, and again at every start until it is done.
  kv::GetAutoObject<::WidgetManager::WidgetManager>(MainApp::WidgetManager)->CloseLayers(0xffffffffu);
  kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper)->ResetAll();
  Data()->PutInteger(KEY_SETUP_STEP, 1);
  StartInitialSetup();
}

void Standby::HandleMessage(Structures::Message* msg) {
  if (!msg) return;
  switch (msg->Code) {
    case Constants::MSG_RESTART_INITIAL_SETUP: {
      auto* data = Data();
      data->PutInteger(KEY_SETUP_STEP, 1);
      StartInitialSetup();
      break;
    }
    case Constants::MSG_EVENT_CACHED:
      if (auto* standby = kv::Cast<Events::XPM_EVENT_STANDBY>(msg->ObjParam.get())) EnterStandby(standby->Reason);
      break;
    default:
      break;
  }
}

}  // namespace MainApp
