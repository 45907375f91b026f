// The compiled-in tables of the skin's option modules.
#pragma once

#include "units/OptionDatabase/BaseModules.h"

namespace SkinBin {

OptionDatabase::OptionTable CustomPictureOptions();    // 0x81
OptionDatabase::OptionTable SoundOptions();            // 0x82
OptionDatabase::OptionTable ApplicationSetupOptions(); // 0x83
OptionDatabase::OptionTable PreferencesOptions();      // 0x84
OptionDatabase::OptionTable ConnectionOptions();       // 0x85
OptionDatabase::OptionTable MediaOptions();            // 0x86
OptionDatabase::OptionTable SecondPictureOptions();    // 0x87

}  // namespace SkinBin
