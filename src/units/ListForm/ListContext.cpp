#include "units/ListForm/ListContext.h"

#include "runtime/auto_object.h"
#include "units/Agent/MessageAgent.h"
#include "units/Core/Log.h"
#include "units/MainApp/OptionDB.h"
#include "units/MainApp/WrapperAuto.h"
#include "units/OptionDatabase/OptionDatabase.h"
#include "units/SkinBin/Wrapper.h"


namespace ListForm {

SkinBin::Wrapper* SkinWrapper() {
  auto* w = kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper));
  if (!w) Core::LogError("ListForm: the Wrapper is not the skin Wrapper; the list shows nothing");
  return w;
}

OptionDatabase::OptionDatabaseClass* OptionDB() {
  return kv::GetAutoObject<OptionDatabase::OptionDatabaseClass>(MainApp::OptionDB);
}

Agent::MessageAgent* MessageAgent() { return kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent); }

}  // namespace ListForm
