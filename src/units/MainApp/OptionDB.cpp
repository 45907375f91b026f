// The concrete class of MainApp::OptionDB.
#include "units/SkinBin/OptionDatabase.h"

KV_AUTO_OBJECT(MainApp, OptionDB, ::SkinBin::OptionDatabaseClass);
