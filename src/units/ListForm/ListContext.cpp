#include "units/ListForm/ListContext.h"

#include "runtime/auto_object.h"
#include "units/Agent/MessageAgent.h"
#include "units/Core/Log.h"
#include "units/OptionDatabase/OptionDatabase.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/SkinBin/Wrapper.h"
#include "units/SubSystem/SubSystemClass.h"


namespace ListForm {

SkinBin::Wrapper* SkinWrapper() {
  auto* w = kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper));
  if (!w) Core::LogError("ListForm: the Wrapper is not the skin Wrapper; the list shows nothing");
  return w;
}

OptionDatabase::OptionDatabaseClass* OptionDB() {
  return kv::GetAutoObject<OptionDatabase::OptionDatabaseClass>(MainApp::OptionDB);
}

Agent::MessageAgent* MessageAgent() { return kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent); }

bool IsOfClass(const kv::Object* obj, const kv::Class* cls) {
  return obj && cls && kv::CastClass(kv::ClassOf(obj), cls) != nullptr;
}

SubSystem::SubSystemClass* SubSystemOf(Primitives::KeyRoutingForm* form) {
  return form ? kv::Cast<SubSystem::SubSystemClass>(form->SubSystemInstance.get()) : nullptr;
}

namespace {
TimerEditorSetup g_timerEditorSetup = nullptr;
}  // namespace

void SetTimerEditorSetup(TimerEditorSetup setup) { g_timerEditorSetup = setup; }

void SetUpTimerEditor(Primitives::KeyRoutingForm* editor, const TimerEditorHandoff& handoff) {
  if (editor && g_timerEditorSetup) g_timerEditorSetup(editor, handoff);
}

void HandToTimerEditor(Primitives::KeyRoutingForm* editor, const TimerEditorHandoff& handoff) {
  if (!editor) return;
  editor->PrevState = nullptr;
  editor->NextState = nullptr;
  SetUpTimerEditor(editor, handoff);
}

}  // namespace ListForm
