#include "keys/keycodes.h"
#include "units/FactorySystem/AdjustmentMenu.h"

#include "runtime/auto_object.h"
#include "strings/FactorySystem.h"
#include "units/Core/Event.h"
#include "units/Core/Root.h"
#include "units/Events/XPM_EVENT_FACTORY_RESET.h"
#include "units/Events/XPM_EVENT_KEY.h"
#include "units/FactorySystem/FactorySystem.h"
#include "units/FactorySystem/StatusCheck.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionDatabase.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/Wrapper.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(FactorySystem::AdjustmentMenu);

namespace FactorySystem {

using namespace keys;

namespace {


struct Option {
  int32_t id;
  const kv::MultiTextId* name;
};
const Option kOptions[kAdjustmentOptions] = {
    {SkinBin::OPTION_TYPE_SRV_RED_OFFSET, &ADJ_RED_OFFSET},
    {SkinBin::OPTION_TYPE_SRV_GREEN_OFFSET, &ADJ_GREEN_OFFSET},
    {SkinBin::OPTION_TYPE_SRV_BLUE_OFFSET, &ADJ_BLUE_OFFSET},
    {SkinBin::OPTION_TYPE_SRV_RED_GAIN, &ADJ_RED_GAIN},
    {SkinBin::OPTION_TYPE_SRV_GREEN_GAIN, &ADJ_GREEN_GAIN},
    {SkinBin::OPTION_TYPE_SRV_BLUE_GAIN, &ADJ_BLUE_GAIN},
    {SkinBin::OPTION_TYPE_ADJUSTMENT_BRIGHTNESS_CENTER, &ADJ_BRIGHTNESS_CENTER},
    {SkinBin::OPTION_TYPE_ADJUSTMENT_COLOR_CENTER, &ADJ_COLOR_CENTER},
    {SkinBin::OPTION_TYPE_ADJUSTMENT_BASEBAND_TINT, &ADJ_BASEBAND_TINT},
    {SkinBin::OPTION_TYPE_ADJUSTMENT_CONTRAST_MAX, &ADJ_CONTRAST_MAX},
    {SkinBin::OPTION_TYPE_TV_MODEL_ID, &ADJ_MODEL_ID},
};

SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper)); }

}  // namespace

AdjustmentMenu::AdjustmentMenu() {
  WinID = WinIDs::WIN_ID_AdjustmentMenu;
  FocusOnOpen = true;
  TakesKeys = true;
}

int32_t AdjustmentMenu::OptionId(int32_t index) {
  return index >= 0 && index < kAdjustmentOptions ? kOptions[index].id : 0;
}

OptionDatabase::OptionDataClass* AdjustmentMenu::Record(int32_t optionId) {
  auto* db = kv::GetAutoObject<OptionDatabase::OptionDatabaseClass>(MainApp::OptionDB);
  return db ? db->GetOptionData(optionId) : nullptr;
}

void AdjustmentMenu::ShowOptionName() { OnSetFacName(kv::GetVariantOfString(*kOptions[OptionIndex].name)); }

void AdjustmentMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  ValueDisplay::Initialize(param);
  ShowOptionName();
  SetOptionType(kOptions[OptionIndex].id);
}

void AdjustmentMenu::SetOptionType(int32_t optionId) {
  OptionDatabase::OptionDataClass* record = Record(optionId);
  if (!record) return;
  if (optionId == SkinBin::OPTION_TYPE_TV_MODEL_ID) {
    record->Initialize();
    ModelIdCount = record->Num;
    if (record->HasProperty()) record->Value = record->RefValue.Get();
    OnSetFacValue(record->Value);
    record->Val2Id();
    ModelIdIndex = record->Id;
    return;
  }
  record->Initialize();
  record->GetData();
  auto* slider = kv::Cast<OptionDatabase::SliderCourier>(record->Courier.get());
  if (!slider) return;
  SliderMax = slider->Max;
  SliderMin = slider->Min;
  SliderStep = slider->Step;
  record->Value = slider->Value;
  record->Val2Id();
  OnSetFacValue(record->Id);
}

void AdjustmentMenu::ToggleType(bool forward) {
  OptionIndex = forward ? (OptionIndex + 1) % kAdjustmentOptions
                        : (OptionIndex + kAdjustmentOptions - 1) % kAdjustmentOptions;
  ShowOptionName();
  SetOptionType(kOptions[OptionIndex].id);
}

void AdjustmentMenu::ChangeValue(bool up) {
  OptionDatabase::OptionDataClass* record = Record(kOptions[OptionIndex].id);
  if (!record) return;
  if (OptionIndex == kModelIdOption) {
    if (ModelIdCount <= 0) return;
    ModelIdIndex = up ? (ModelIdIndex + 1) % ModelIdCount : (ModelIdIndex + ModelIdCount - 1) % ModelIdCount;
    record->Id = ModelIdIndex;
    record->Id2Value();
    OnSetFacValue(record->Value);
  } else {
    int32_t v = up ? FacValue + SliderStep : FacValue - SliderStep;
    if (v > SliderMax) v = SliderMax;
    if (v < SliderMin) v = SliderMin;
    OnSetFacValue(v);
    record->Id = v;
    record->Id2Value();
  }
  if (record->HasProperty()) record->RefValue.Set(record->Value);
}

kv::Object* AdjustmentMenu::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key) return ValueDisplay::HandleEvent(event);
  if (!key->Down) return nullptr;
  auto* xkey = kv::Cast<Events::XPM_EVENT_KEY>(key);
  const bool panel = xkey && xkey->FromPanel == 1;
  switch (key->Code) {
    case KEY_MENU:
      if (panel) Close();
      break;
    case KEY_9:
      if (FactorySystem* s = OnGetFactorySystem()) s->OpenState(&StatusCheck::StaticClass(), nullptr, &StaticClass());
      break;
    case KEY_CH_UP: ToggleType(true); break;
    case KEY_CH_DOWN: ToggleType(false); break;
    case KEY_VOL_UP: ChangeValue(true); break;
    case KEY_VOL_DOWN: ChangeValue(false); break;
    case KEY_BACK: {
      SkinBin::Wrapper* w = Skin();
      if (OptionIndex == kModelIdOption && panel && w && w->GetKeyHeld(KEY_HELD_FACTORY_RESET)) {
        auto* reset = kv::New<Events::XPM_EVENT_FACTORY_RESET>();
        if (Core::Root* root = GetRoot()) root->DispatchEvent(reset);
      }
      break;
    }
    default: break;
  }
  return this;
}

}  // namespace FactorySystem
