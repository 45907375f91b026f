// OptionDatabase::OptionDataClass: one option record, and the two couriers
// that carry a record's current state to the widget that shows it.
//
// The widgets follow one road: `Initialize` (the module prepares the record),
// the current value read through `RefValue`, `Val2Id` (value to index),
// `GetData` (the courier of the current index); after a change the index is
// set, `Id2Value` gives the value and the value is written through
// `RefValue`, which reaches the Wrapper's setter.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/member.h"
#include "runtime/object.h"
#include "runtime/ref.h"
#include "runtime/slot.h"
#include "runtime/string.h"
#include "runtime/text.h"
#include "units/OptionDatabase/OptionEntry.h"

namespace OptionDatabase {

// Courier of a choice option: the caption of the current choice and its index.
class OptionCourier : public kv::Object {
  KV_CLASS(OptionDatabase, OptionCourier, kv::Object)
 public:
  kv::String Caption;
  int32_t Index = 0;
};

// Courier of a slider option: its range and the property's current value.
class SliderCourier : public kv::Object {
  KV_CLASS(OptionDatabase, SliderCourier, kv::Object)
 public:
  int32_t Max = 100;
  int32_t Min = 0;
  int32_t Step = 1;
  int32_t Value = 0;
};

// One entry of a record's choice list: a caption constant, or a text made at
// run time (a source name, a caption-service language), and its value.
struct OptionChoice {
  const kv::MultiTextId* caption = nullptr;
  kv::String text;
  int32_t value = 0;
};

class OptionDataClass : public kv::Object {
  KV_CLASS(OptionDatabase, OptionDataClass, kv::Object)
 public:
  // Takes the caption, kind, choices, offset and range of the entry. The
  // entry is compiled-in data and outlives the record.
  void Setup(const OptionEntry& entry);
  void ReInit() override;

  // Signal DoInitialize / DoGetData with this record as sender, when set.
  void Initialize(kv::Object* sender = nullptr);
  void GetData(kv::Object* sender = nullptr);
  // Id = Value - Offset, unless SetVal2Id maps it.
  void Val2Id(kv::Object* sender = nullptr);
  // Value = Id + Offset, unless SetId2Val maps it.
  void Id2Value(kv::Object* sender = nullptr);

  // The caption of choice `index`; empty outside the list.
  kv::String ChoiceCaption(int32_t index) const;
  // The index of the first choice with that value, or -1.
  int32_t IndexOfValue(int32_t value) const;
  // True when the record has a property to read and write.
  bool HasProperty() const { return !RefValue.IsNull(); }

  kv::String Name;
  int32_t Num = 0;
  kv::RefInt32 RefValue;
  int32_t Offset = 0;
  kv::Slot DoInitialize;
  kv::Slot DoGetData;
  kv::Slot SetVal2Id;
  kv::Slot SetId2Val;
  int32_t Value = 0;
  int32_t Id = 0;
  kv::Member<kv::Object> Courier;

  // The option id, its kind, its choice list (Num entries are offered) and
  // its own slider range (the courier's, unless the Wrapper gives another).
  uint32_t OptionId = 0;
  OptionKind Kind = OptionKind::Choice;
  std::vector<OptionChoice> Choices;
  int32_t Min = 0;
  int32_t Max = 100;
  int32_t Step = 1;
  const OptionEntry* Entry = nullptr;
};

}  // namespace OptionDatabase
