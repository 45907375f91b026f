#include "units/SkinBin/OptionModules.h"

#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "units/Core/Log.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/OptionModulesTables.h"
#include "units/SkinBin/Wrapper.h"

namespace SkinBin {

KV_REGISTER_CLASS(SkinBin::SkinOptionModule);
KV_REGISTER_CLASS(SkinBin::CustomPictureModule1);
KV_REGISTER_CLASS(SkinBin::ApplicationSetupModule);
KV_REGISTER_CLASS(SkinBin::PreferencesModule1);
KV_REGISTER_CLASS(SkinBin::PreferencesModule2);

using OptionDatabase::OptionDataClass;
using OptionDatabase::OptionEntry;

namespace {
void SetupFrom(OptionDatabase::OptionModuleClass* module, const OptionDatabase::OptionTable& table) {
  module->Setup(table.number, table.entries, table.count);
}

bool IsOption(const OptionEntry& entry, int32_t id) { return entry.id == static_cast<uint32_t>(id); }
}  // namespace

CustomPictureModule1::CustomPictureModule1() { SetupFrom(this, CustomPictureOptions()); }
ApplicationSetupModule::ApplicationSetupModule() { SetupFrom(this, ApplicationSetupOptions()); }
PreferencesModule1::PreferencesModule1() { SetupFrom(this, PreferencesOptions()); }
PreferencesModule2::PreferencesModule2() { SetupFrom(this, ConnectionOptions()); }

SkinBin::Wrapper* SkinOptionModule::GetWrapper() {
  if (SkinWrapper) return SkinWrapper.get();
  auto* w = kv::Cast<SkinBin::Wrapper>(kv::GetAutoObjectRaw(MainApp::Wrapper));
  if (!w) Core::LogError("SkinBin option module %i: the application's Wrapper is not the skin's", {Number()});
  return w;
}

void SkinOptionModule::MapThroughList(OptionDataClass* record) {
  record->SetVal2Id = kv::MakeSlot(static_cast<OptionModuleClass*>(this), &OptionModuleClass::ValueToIndex);
  record->SetId2Val = kv::MakeSlot(static_cast<OptionModuleClass*>(this), &OptionModuleClass::IndexToValue);
}

void SkinOptionModule::OfferByMask(OptionDataClass* record, uint32_t mask) {
  const OptionEntry* entry = record->Entry;
  record->Choices.clear();
  for (int32_t i = 0; entry && i < entry->numChoices && i < 32; ++i)
    if (mask >> i & 1u) record->Choices.push_back({entry->choices[i].caption, {}, entry->choices[i].value});
  record->Num = static_cast<int32_t>(record->Choices.size());
  MapThroughList(record);
}

void CustomPictureModule1::PrepareRecord(OptionDataClass* record, const OptionEntry& entry) {
  OptionModuleClass::PrepareRecord(record, entry);
  if (IsOption(entry, OPTION_TYPE_PICTURE_MODE))
    record->DoInitialize = kv::MakeSlot(this, &CustomPictureModule1::PictureMode_Initialize);
  else if (IsOption(entry, OPTION_TYPE_PICTURE_SIZE))
    record->DoInitialize = kv::MakeSlot(this, &CustomPictureModule1::PictureSize_Initialize);
}

void ApplicationSetupModule::PrepareRecord(OptionDataClass* record, const OptionEntry& entry) {
  OptionModuleClass::PrepareRecord(record, entry);
  if (IsOption(entry, OPTION_TYPE_ONTIMER_INPUT) || IsOption(entry, OPTION_TYPE_ONTIMER_MEDIUM))
    record->DoInitialize = kv::MakeSlot(this, &ApplicationSetupModule::OnTimerInput_Initialize);
  else if (IsOption(entry, OPTION_TYPE_ONTIMER_CHANNEL) || IsOption(entry, OPTION_TYPE_GUIDE_CHANNEL))
    record->DoInitialize = kv::MakeSlot(this, &ApplicationSetupModule::Channel_Initialize);
  else if (IsOption(entry, OPTION_TYPE_SLEEP_TIMER) || IsOption(entry, OPTION_TYPE_ONTIMER_TILL_POWER_ON))
    record->DoInitialize = kv::MakeSlot(this, &ApplicationSetupModule::Minutes_Initialize);
}

void PreferencesModule1::PrepareRecord(OptionDataClass* record, const OptionEntry& entry) {
  OptionModuleClass::PrepareRecord(record, entry);
  if (IsOption(entry, OPTION_TYPE_CURRENT_CBLIST))
    record->DoInitialize = kv::MakeSlot(this, &PreferencesModule1::CurrentCBList_Initialize);
}

void PreferencesModule2::PrepareRecord(OptionDataClass* record, const OptionEntry& entry) {
  OptionModuleClass::PrepareRecord(record, entry);
  if (IsOption(entry, OPTION_TYPE_REAR_AUDIO))
    record->DoInitialize = kv::MakeSlot(this, &PreferencesModule2::RearShared_Initialize);
  else if (IsOption(entry, OPTION_TYPE_CC_KEY))
    record->DoInitialize = kv::MakeSlot(this, &PreferencesModule2::CCKey_Initialize);
  else if (IsOption(entry, OPTION_TYPE_TV_MODEL_ID))
    record->DoInitialize = kv::MakeSlot(this, &PreferencesModule2::ModelId_Initialize);
  else if (IsOption(entry, OPTION_TYPE_AUTO_INPUT_ENABLE) || IsOption(entry, OPTION_TYPE_AUTO_INPUT_TV) ||
           IsOption(entry, OPTION_TYPE_AUTO_INPUT_CABLE_SAT) || IsOption(entry, OPTION_TYPE_AUTO_INPUT_BD_DVD) ||
           IsOption(entry, OPTION_TYPE_AUTO_INPUT_AUX))
    record->DoInitialize = kv::MakeSlot(this, &PreferencesModule2::AutoInput_Initialize);
}

}  // namespace SkinBin
