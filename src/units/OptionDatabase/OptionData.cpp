#include "units/OptionDatabase/OptionData.h"

#include <algorithm>

namespace OptionDatabase {

KV_REGISTER_CLASS(OptionDatabase::OptionCourier);
KV_REGISTER_CLASS(OptionDatabase::SliderCourier);
KV_REGISTER_CLASS(OptionDatabase::OptionDataClass);

void OptionDataClass::Setup(const OptionEntry& entry) {
  Entry = &entry;
  OptionId = entry.id;
  Kind = entry.kind;
  Offset = entry.offset;
  Min = entry.min;
  Max = entry.max;
  Step = entry.step;
  Choices.clear();
  Choices.reserve(static_cast<size_t>(entry.numChoices));
  for (int32_t i = 0; i < entry.numChoices; ++i) Choices.push_back({entry.choices[i].caption, {}, entry.choices[i].value});
  Num = entry.numChoices;
  Name = entry.name ? kv::GetVariantOfString(*entry.name) : kv::String();
}

void OptionDataClass::ReInit() {
  if (Entry && Entry->name) Name = kv::GetVariantOfString(*Entry->name);
}

void OptionDataClass::Initialize(kv::Object*) { kv::Signal(DoInitialize, this); }

void OptionDataClass::GetData(kv::Object*) { kv::Signal(DoGetData, this); }

void OptionDataClass::Val2Id(kv::Object*) {
  if (SetVal2Id)
    kv::Signal(SetVal2Id, this);
  else
    Id = Value - Offset;
}

void OptionDataClass::Id2Value(kv::Object*) {
  if (SetId2Val)
    kv::Signal(SetId2Val, this);
  else
    Value = Id + Offset;
}

kv::String OptionDataClass::ChoiceCaption(int32_t index) const {
  if (index < 0 || index >= Num || static_cast<size_t>(index) >= Choices.size()) return {};
  const OptionChoice& c = Choices[static_cast<size_t>(index)];
  if (!c.text.Empty() || !c.caption) return c.text;
  return kv::GetVariantOfString(*c.caption);
}

int32_t OptionDataClass::IndexOfValue(int32_t value) const {
  const size_t n = std::min(Choices.size(), static_cast<size_t>(std::max(Num, 0)));
  for (size_t i = 0; i < n; ++i)
    if (Choices[i].value == value) return static_cast<int32_t>(i);
  return -1;
}

}  // namespace OptionDatabase
