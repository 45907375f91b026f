#include "units/OptionDatabase/OptionDatabase.h"

#include "units/Core/Log.h"
#include "units/OptionDatabase/BaseModules.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionModule.h"

namespace OptionDatabase {

KV_REGISTER_CLASS(OptionDatabase::OptionDatabaseClass);

OptionDatabaseClass::OptionDatabaseClass() {
  for (const OptionTable& table : BaseOptionTables()) {
    auto* module = kv::New<OptionModuleClass>();
    module->Setup(table.number, table.entries, table.count);
    AddModule(module);
  }
}

void OptionDatabaseClass::AddModule(OptionModuleClass* module) {
  if (!module) return;
  if (FindModule(module->Number())) {
    Core::LogError("OptionDatabase: a second module %u refused", {module->Number()});
    return;
  }
  Modules_.push_back(module);
}

OptionModuleClass* OptionDatabaseClass::FindModule(uint32_t number) const {
  for (size_t i = 0; i < Modules_.size(); ++i)
    if (Modules_[i]->Number() == number) return Modules_[i];
  return nullptr;
}

OptionDataClass* OptionDatabaseClass::GetOptionData(int32_t id) {
  const auto u = static_cast<uint32_t>(id);
  OptionModuleClass* module = FindModule(OptionModuleOf(u));
  return module ? module->GetRecord(u) : nullptr;
}

}  // namespace OptionDatabase
