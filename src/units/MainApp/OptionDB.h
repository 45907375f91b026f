// MainApp::OptionDB: the option database through which option-bound widgets
// find the record of an option id
// (kv::GetAutoObject<OptionDatabase::OptionDatabaseClass>(MainApp::OptionDB)).
#pragma once

#include "runtime/auto_object.h"

KV_DECLARE_AUTO_OBJECT(MainApp, OptionDB);
