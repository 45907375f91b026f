// SkinBin::OptionDatabaseClass: the option database of the skin. It serves
// the skin's modules 0x81 to 0x87 beside the base modules 1 to 4; the auto
// object MainApp::OptionDB is one.
#pragma once

#include "units/OptionDatabase/OptionDatabase.h"
#include "units/SkinBin/OptionDatabaseTypes.h"

namespace SkinBin {

class OptionDatabaseClass : public OptionDatabase::OptionDatabaseClass {
  KV_CLASS(SkinBin, OptionDatabaseClass, OptionDatabase::OptionDatabaseClass)
 public:
  OptionDatabaseClass();
};

}  // namespace SkinBin
