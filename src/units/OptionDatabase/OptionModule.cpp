#include "units/OptionDatabase/OptionModule.h"

#include <algorithm>
#include <cstdio>

#include "runtime/auto_object.h"
#include "runtime/ref.h"
#include "runtime/trace.h"
#include "units/Core/Log.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Wrapper/Wrapper.h"

namespace OptionDatabase {

KV_REGISTER_CLASS(OptionDatabase::OptionModuleClass);

namespace {
struct IdText {
  char text[12];
  explicit IdText(uint32_t id) { std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(id)); }
};
}  // namespace

void OptionModuleClass::Setup(uint32_t number, const OptionEntry* entries, size_t count) {
  Number_ = number;
  Entries_ = entries;
  DefCount_ = count;
  Records.clear();
  Records.reserve(count);
  for (size_t i = 0; i < count; ++i) Records.push_back(nullptr);
}

const OptionEntry* OptionModuleClass::FindDef(uint32_t id) const {
  if (OptionModuleOf(id) != Number_ || !Entries_) return nullptr;
  const OptionEntry* end = Entries_ + DefCount_;
  const OptionEntry* it = std::lower_bound(Entries_, end, id, [](const OptionEntry& s, uint32_t v) { return s.id < v; });
  return (it != end && it->id == id) ? it : nullptr;
}

OptionDataClass* OptionModuleClass::GetRecord(uint32_t id) {
  const OptionEntry* entry = FindDef(id);
  if (!entry) return nullptr;
  const size_t at = static_cast<size_t>(entry - Entries_);
  if (OptionDataClass* record = Records[at]) return record;
  auto* record = kv::New<OptionDataClass>();
  Records.set(at, record);
  PrepareRecord(record, *entry);
  return record;
}

void OptionModuleClass::PrepareRecord(OptionDataClass* record, const OptionEntry& entry) {
  record->Setup(entry);
  if (entry.bind.get || entry.bind.set) {
    auto* wrapper = kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper);
    record->RefValue = kv::MakeRef<int32_t>(wrapper, entry.bind.get, entry.bind.set);
  }
  record->DoGetData = kv::MakeSlot(this, &OptionModuleClass::FillCourier);
  if (entry.mapped) {
    record->SetVal2Id = kv::MakeSlot(this, &OptionModuleClass::ValueToIndex);
    record->SetId2Val = kv::MakeSlot(this, &OptionModuleClass::IndexToValue);
  }
}

void OptionModuleClass::GetAdjustBarRange(OptionDataClass* record, int32_t& min, int32_t& max, int32_t& step) {
  // The record's own range, which the skin's Wrapper changes where it
  // depends on the set (the manual tuning channel on antenna or cable).
  SkinBin::AdjustBarRange range{record->Min, record->Max, record->Step};
  if (auto* skin = kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper)))
    range = skin->GetAdjustBarRange(static_cast<int32_t>(record->OptionId), range);
  min = range.Min;
  max = range.Max;
  step = range.Step;
}

void OptionModuleClass::FillCourier(kv::Object* sender) {
  auto* record = kv::Cast<OptionDataClass>(sender);
  if (!record) {
    Core::LogError("OptionModule::FillCourier: the sender is not an option record");
    return;
  }
  if (record->Kind == OptionKind::Slider) {
    auto* courier = kv::Cast<SliderCourier>(record->Courier.get());
    if (!courier) {
      courier = kv::New<SliderCourier>();
      record->Courier = courier;
    }
    GetAdjustBarRange(record, courier->Min, courier->Max, courier->Step);
    courier->Value = record->HasProperty() ? kv::OnGetInt32(record->RefValue) : record->Value;
    return;
  }
  auto* courier = kv::Cast<OptionCourier>(record->Courier.get());
  if (!courier) {
    courier = kv::New<OptionCourier>();
    record->Courier = courier;
  }
  courier->Caption = record->ChoiceCaption(record->Id);
  courier->Index = record->Id;
}

void OptionModuleClass::ValueToIndex(kv::Object* sender) {
  auto* record = kv::Cast<OptionDataClass>(sender);
  if (!record) return;
  const int32_t index = record->IndexOfValue(record->Value);
  if (index < 0) {
    Core::LogError("OptionModule: option %s has no choice of value %i, first choice shown",
                   {IdText(record->OptionId).text, record->Value});
    record->Id = 0;
    return;
  }
  record->Id = index;
}

void OptionModuleClass::IndexToValue(kv::Object* sender) {
  auto* record = kv::Cast<OptionDataClass>(sender);
  if (!record) return;
  if (record->Id < 0 || record->Id >= record->Num || static_cast<size_t>(record->Id) >= record->Choices.size()) {
    Core::LogError("OptionModule: option %s has no choice %i, value kept", {IdText(record->OptionId).text, record->Id});
    return;
  }
  record->Value = record->Choices[static_cast<size_t>(record->Id)].value;
}

}  // namespace OptionDatabase
