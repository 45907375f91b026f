// The skin's option modules. The named ones are the modules whose options
// have choice lists that depend on the source, the channel or the sources
// present; they prepare those records each time the option is opened. The
// other skin modules (0x82 sound, 0x86 media, 0x87 second picture module)
// are plain OptionDatabase::OptionModuleClass objects.
#pragma once

#include "units/OptionDatabase/OptionModule.h"

namespace SkinBin {

// 0x81: picture.
class CustomPictureModule1 : public OptionDatabase::OptionModuleClass {
  KV_CLASS(SkinBin, CustomPictureModule1, OptionDatabase::OptionModuleClass)
 public:
  CustomPictureModule1();
};

// 0x83: setup, timers and captions.
class ApplicationSetupModule : public OptionDatabase::OptionModuleClass {
  KV_CLASS(SkinBin, ApplicationSetupModule, OptionDatabase::OptionModuleClass)
 public:
  ApplicationSetupModule();
};

// 0x84: preferences and locks.
class PreferencesModule1 : public OptionDatabase::OptionModuleClass {
  KV_CLASS(SkinBin, PreferencesModule1, OptionDatabase::OptionModuleClass)
 public:
  PreferencesModule1();
};

// 0x85: connections and energy.
class PreferencesModule2 : public OptionDatabase::OptionModuleClass {
  KV_CLASS(SkinBin, PreferencesModule2, OptionDatabase::OptionModuleClass)
 public:
  PreferencesModule2();
};

}  // namespace SkinBin
