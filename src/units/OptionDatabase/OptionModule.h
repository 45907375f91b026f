// OptionDatabase::OptionModuleClass: the option records of one module (the
// top byte of their ids). The module keeps a compiled-in table of its
// options, sorted by id, and makes a record the first time its id is asked
// for; the record then lives as long as the module.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/member.h"
#include "runtime/object.h"
#include "units/OptionDatabase/OptionEntry.h"

namespace OptionDatabase {

class OptionDataClass;

class OptionModuleClass : public kv::Object {
  KV_CLASS(OptionDatabase, OptionModuleClass, kv::Object)
 public:
  // The module number and its table (ascending ids, all of that module).
  void Setup(uint32_t number, const OptionEntry* entries, size_t count);
  uint32_t Number() const { return Number_; }
  const OptionEntry* Entries() const { return Entries_; }
  size_t DefCount() const { return DefCount_; }

  // The table entry of an id, or null.
  const OptionEntry* FindDef(uint32_t id) const;
  // The record of an id, or null when the module does not serve it.
  OptionDataClass* GetRecord(uint32_t id);

  // DoGetData of every record: fills the record's courier for its current
  // id (a SliderCourier or an OptionCourier, reused when there is one).
  void FillCourier(kv::Object* sender);
  // SetVal2Id and SetId2Val of records whose choice values are not
  // index + offset: map through the record's choice list.
  void ValueToIndex(kv::Object* sender);
  void IndexToValue(kv::Object* sender);

 protected:
  // Gives a new record its entry, its property reference and its slots.
  // Modules that prepare some records themselves (choice lists that depend
  // on the source, say) override it and call the base first.
  virtual void PrepareRecord(OptionDataClass* record, const OptionEntry& entry);
  // The slider range of a record: the skin Wrapper's range for its option
  // id, else the record's own (0 to 100, step 1, where its entry gives none).
  virtual void GetAdjustBarRange(OptionDataClass* record, int32_t& min, int32_t& max, int32_t& step);

 private:
  uint32_t Number_ = 0;
  const OptionEntry* Entries_ = nullptr;
  size_t DefCount_ = 0;
  // Parallel to the table; null until the id is first asked for.
  kv::MemberVector<OptionDataClass> Records;
};

}  // namespace OptionDatabase
