#include "units/SkinBin/OptionDatabase.h"

#include "units/SkinBin/OptionModules.h"
#include "units/SkinBin/OptionModulesTables.h"

namespace SkinBin {

KV_REGISTER_CLASS(SkinBin::OptionDatabaseClass);

namespace {
OptionDatabase::OptionModuleClass* PlainModule(const OptionDatabase::OptionTable& table) {
  auto* module = kv::New<OptionDatabase::OptionModuleClass>();
  module->Setup(table.number, table.entries, table.count);
  return module;
}
}  // namespace

OptionDatabaseClass::OptionDatabaseClass() {
  AddModule(kv::New<CustomPictureModule1>());
  AddModule(PlainModule(SoundOptions()));
  AddModule(kv::New<ApplicationSetupModule>());
  AddModule(kv::New<PreferencesModule1>());
  AddModule(kv::New<PreferencesModule2>());
  AddModule(PlainModule(MediaOptions()));
  AddModule(PlainModule(SecondPictureOptions()));
}

}  // namespace SkinBin
