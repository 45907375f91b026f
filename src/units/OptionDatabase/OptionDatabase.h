// OptionDatabase::OptionDatabaseClass: the option records of every module,
// looked up by option id (module x 2^24 + index). This class serves the
// base modules 1 to 4 (picture, sound, setup and captions, CEC and
// network); the skin's database adds its own modules.
#pragma once

#include <cstdint>

#include "runtime/auto_object.h"
#include "runtime/member.h"
#include "runtime/object.h"
#include "units/OptionDatabase/OptionTypes.h"

namespace OptionDatabase {

class OptionDataClass;
class OptionModuleClass;

class OptionDatabaseClass : public kv::Object {
  KV_CLASS(OptionDatabase, OptionDatabaseClass, kv::Object)
 public:
  OptionDatabaseClass();

  // The record of the option id, or null when no module serves it (0 among them).
  virtual OptionDataClass* GetOptionData(int32_t id);
  // The module of that number, or null.
  OptionModuleClass* FindModule(uint32_t number) const;
  const kv::MemberVector<OptionModuleClass>& Modules() const { return Modules_; }

 protected:
  // Adds a module; a second module of the same number is refused (logged).
  void AddModule(OptionModuleClass* module);

 private:
  kv::MemberVector<OptionModuleClass> Modules_;
};

}  // namespace OptionDatabase

// The option database through which option-bound widgets find the record of
// an option id
// (kv::GetAutoObject<OptionDatabase::OptionDatabaseClass>(MainApp::OptionDB)).
KV_DECLARE_AUTO_OBJECT(MainApp, OptionDB);
