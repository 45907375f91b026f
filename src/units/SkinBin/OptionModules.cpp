#include "units/SkinBin/OptionModules.h"

#include "units/SkinBin/OptionModulesTables.h"

namespace SkinBin {

KV_REGISTER_CLASS(SkinBin::CustomPictureModule1);
KV_REGISTER_CLASS(SkinBin::ApplicationSetupModule);
KV_REGISTER_CLASS(SkinBin::PreferencesModule1);
KV_REGISTER_CLASS(SkinBin::PreferencesModule2);

namespace {
void SetupFrom(OptionDatabase::OptionModuleClass* module, const OptionDatabase::OptionTable& table) {
  module->Setup(table.number, table.specs, table.count);
}
}  // namespace

CustomPictureModule1::CustomPictureModule1() { SetupFrom(this, CustomPictureOptions()); }
ApplicationSetupModule::ApplicationSetupModule() { SetupFrom(this, ApplicationSetupOptions()); }
PreferencesModule1::PreferencesModule1() { SetupFrom(this, PreferencesOptions()); }
PreferencesModule2::PreferencesModule2() { SetupFrom(this, ConnectionOptions()); }

}  // namespace SkinBin
