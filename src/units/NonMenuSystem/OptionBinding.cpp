#include "units/NonMenuSystem/OptionBinding.h"

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "strings/NonMenuSystem.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/Constants.h"
#include "units/Structures/Message.h"
#include "units/Core/Event.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionDatabase.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/SubSystem/State.h"

namespace NonMenuSystem::OptionBinding {

using OptionDatabase::OptionDataClass;

OptionDataClass* Find(int32_t id) {
  auto* db = kv::GetAutoObject<OptionDatabase::OptionDatabaseClass>(MainApp::OptionDB);
  return db ? db->GetOptionData(id) : nullptr;
}

OptionDatabase::SliderCourier* SliderOf(OptionDataClass* record) {
  if (!record) return nullptr;
  record->Initialize();
  record->GetData();
  return kv::Cast<OptionDatabase::SliderCourier>(record->Courier.get());
}

OptionDatabase::OptionCourier* ChoiceOf(OptionDataClass* record) {
  if (!record) return nullptr;
  record->GetData();
  return kv::Cast<OptionDatabase::OptionCourier>(record->Courier.get());
}

int32_t WriteIndex(OptionDataClass* record, int32_t id) {
  record->Id = id;
  record->Id2Value();
  if (record->HasProperty()) record->RefValue.Set(record->Value);
  return record->Value;
}

int32_t ReadIndex(OptionDataClass* record) {
  if (record->HasProperty()) record->Value = record->RefValue.Get();
  record->Val2Id();
  return record->Id;
}

int32_t PictureSizeWithPreferredBits(int32_t value) {
  constexpr int32_t kPreferredBits = 0x300;
  constexpr int32_t kVgaSource = 6;
  ::Wrapper::Wrapper* w = Live::Base();
  if (!w || w->GetSourceType(w->GetCurrentSource(0)) != kVgaSource) return value;
  return (w->GetPreferViewMode() & kPreferredBits) | value;
}

void MarkOptionChange(int32_t id) {
  if (SkinBin::Wrapper* w = Live::Skin()) w->MarkOptionChange(id);
}

void Announce(int32_t code) {
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(code, nullptr, -1);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Dispatch(msg);
}

void ShowHelp(WidgetClass* w, uint32_t mask, std::initializer_list<kv::String> parts) {
  ::NonMenuSystem::NonMenuSystem* s = w->OnGetNonMenuSystem();
  if (!s) return;
  const kv::String sep = kv::LoadString(HELP_SEPARATOR);
  kv::String text;
  for (const kv::String& part : parts) text = text.Empty() ? part : kv::ConcatString(kv::ConcatString(text, sep), part);
  s->UpdateHelp(static_cast<int32_t>(mask), text);
}

void LeaveWithKey(WidgetClass* w, bool up, bool down) {
  w->Close();
  ::NonMenuSystem::NonMenuSystem* s = w->OnGetNonMenuSystem();
  if (!w->PrevState || !s) return;
  auto* key = kv::New<Core::KeyEvent>();
  key->Initialize(down ? keys::KEY_DOWN : (up ? keys::KEY_UP : keys::KEY_NONE), 1);
  auto* param = kv::New<SkinBin::UserRefInt>();
  param->Object = key;
  param->Code = w->MenuTriggered          ? Constants::MSG_FROM_MENUSYSTEM
                : w->OpenedFromQuickMenu() ? Constants::MSG_FROM_QUICKMENU
                                           : Constants::MSG_FROM_NONMENUSYSTEM;
  auto* state = kv::New<SubSystem::State>();
  state->Class = w->PrevState;
  state->Param = param;
  s->ChangeState(state);
}

}  // namespace NonMenuSystem::OptionBinding
