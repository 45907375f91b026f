#include "units/MainApp/InitialSetup.h"

#include "runtime/trace.h"
#include "strings/MainApp.h"
#include "units/Core/Log.h"
#include "units/Core/Root.h"
#include "units/MainApp/AppData.h"
#include "units/NonMenuSystem/HelpBar.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/SubSystem/State.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"
#include "units/Wrapper/Wrapper.h"

namespace MainApp {

KV_REGISTER_CLASS(MainApp::InitialSetupPage);
KV_REGISTER_CLASS(MainApp::InitialSetup);

InitialSetupPage::InitialSetupPage() { SubSystemClass = &InitialSetup::StaticClass(); }

InitialSetup::InitialSetup()
    : StartPages{KV_LATE_CLASS("InitialSetup::LanguageDialog"), KV_LATE_CLASS("InitialSetup::TimeZoneDialog"),
                 KV_LATE_CLASS("InitialSetup::DaylightSavingDialog"),
                 KV_LATE_CLASS("InitialSetup::TunerSelectDialog")} {}

int32_t InitialSetup::PersistedStep() {
  return kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData)->GetInteger(KEY_SETUP_STEP);
}

bool InitialSetup::Start() {
  const int32_t step = PersistedStep();
  const int32_t index = (step >= 1 && step <= 4) ? step - 1 : 0;
  const kv::Class* page = StartPages[static_cast<size_t>(index)];
  if (!page) {
    kv::Trace("%s%i", {kv::LoadString(T_SETUP_NO_PAGE), index + 1});
    return false;
  }
  auto* state = kv::New<SubSystem::State>();
  state->Class = page;
  return ChangeState(state) != nullptr;
}

Primitives::KeyRoutingForm* InitialSetup::ChangeState(SubSystem::State* state) {
  Primitives::KeyRoutingForm* form = SubSystemClass::ChangeState(state);
  auto* page = kv::Cast<InitialSetupPage>(form);
  if (!page) {
    // Other forms of the setup (the help bar) open, and take the focus when
    // they ask for it.
    if (form && form->SubSystemInstance.get() == this) {
      auto* param = kv::New<Primitives::KeyRoutingParameter>();
      param->Owner = this;
      param->Param = state->Param.get();
      form->Initialize(param);
      form->Open();
      if (form->FocusOnOpen && form->IsOpen()) OnSetFocus(form);
    }
    return form;
  }
  if (page->SubSystemInstance.get() != this) {
    Core::LogError("MainApp::InitialSetup::ChangeState: %$ is not a page of the setup", {page->KvClass()});
    return nullptr;
  }
  page->Sequencer = this;
  auto* param = kv::New<Primitives::KeyRoutingParameter>();
  param->Owner = this;
  param->Param = state->Param.get();
  page->Initialize(param);
  const kv::Rect b = page->OnGetBounds();
  page->OnSetBounds(b.MoveTo(Wrapper::Wrapper::GetCenterPosition(Core::Root::kWidth, Core::Root::kHeight, b.W(), b.H())));
  page->OnNextStep = kv::MakeSlot(this, &InitialSetup::StepForward);
  page->OnPrevStep = kv::MakeSlot(this, &InitialSetup::StepBackward);
  page->OnAbortSetup = kv::MakeSlot(this, &InitialSetup::AbortSetup);
  page->OnCompleteSetup = kv::MakeSlot(this, &InitialSetup::SetupDone);
  page->Open();
  if (page->IsOpen()) {
    OnSetFocus(page);
    // While a page shows, the setup has the keys.
    if (Parent) Parent->OnSetFocus(this);
  }
  OnSetSetupStep(page->SetupStep);
  kv::Trace("%s%i", {kv::LoadString(T_SETUP_STEP), SetupStep});
  return page;
}

void InitialSetup::ChangeTo(const kv::Class* cls, InitialSetupPage* from) {
  // The state carries no previous page: each page names its own, so that
  // the first page reached again by Back still has none.
  auto* state = kv::New<SubSystem::State>();
  state->Class = cls;
  if (from) from->Close();
  ChangeState(state);
}

void InitialSetup::StepForward(kv::Object* sender) {
  auto* page = kv::Cast<InitialSetupPage>(sender);
  if (page && page->NextState)
    ChangeTo(page->NextState, page);
  else
    kv::Signal(kv::MakeSlot(this, &InitialSetup::SetupDone), sender);
}

void InitialSetup::StepBackward(kv::Object* sender) {
  auto* page = kv::Cast<InitialSetupPage>(sender);
  if (page && page->PrevState) ChangeTo(page->PrevState, page);
}

void InitialSetup::SetupDone(kv::Object* sender) {
  if (auto* page = kv::Cast<InitialSetupPage>(sender)) page->Close();
  CloseHelpBar();
  OnSetSetupStep(kSetupDone);
  kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper)->SetExtOutputMute(false);
  kv::Signal(OnComplete, this);
}

void InitialSetup::AbortSetup(kv::Object* sender) {
  if (auto* page = kv::Cast<InitialSetupPage>(sender)) page->Close();
  CloseHelpBar();
  OnSetSetupStep(1);
  kv::Signal(OnComplete, this);
}

void InitialSetup::OnSetSetupStep(int32_t step) {
  SetupStep = step;
  if (step != kSetupDone || PersistedStep() == kSetupDone) return;
  auto* data = kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
  data->PutInteger(KEY_SETUP_STEP, kSetupDone);
  // Saving writes the new file and keeps the previous one as the backup.
  data->SyncData();
}

void InitialSetup::UpdateHelp(int32_t mask, const kv::String& text) {
  const kv::Class* barClass = KV_LATE_CLASS("InitialSetup::HelpBar");
  if (!barClass) {
    Core::LogError("MainApp::InitialSetup::UpdateHelp: the setup has no help bar class");
    return;
  }
  auto* wm = kv::GetAutoObject<::WidgetManager::WidgetManager>(MainApp::WidgetManager);
  // The keys belong to the page in focus; they go when it closes.
  Primitives::KeyRoutingForm* owner = NonMenuSystem::HelpBar::ScreenInFocus(this);
  auto* bar = kv::Cast<NonMenuSystem::HelpBar>(wm->FindForm(WinIDs::WIN_ID_HelpBar));
  if (!bar || !bar->KvClass()->Is(barClass)) {
    auto* state = kv::New<SubSystem::State>();
    state->Class = barClass;
    bar = kv::Cast<NonMenuSystem::HelpBar>(ChangeState(state));
    if (!bar) return;
  }
  bar->PutUpFor(owner, mask, text);
}

void InitialSetup::CloseHelpBar() {
  auto* wm = kv::GetAutoObject<::WidgetManager::WidgetManager>(MainApp::WidgetManager);
  Primitives::KeyRoutingForm* bar = wm->FindForm(WinIDs::WIN_ID_HelpBar);
  if (bar && bar->SubSystemInstance.get() == this) bar->Close();
}

}  // namespace MainApp
