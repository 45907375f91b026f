// What the lists reach outside themselves: the skin Wrapper, the option
// database and the message agent (auto objects), with a logged error when
// one is missing.
#pragma once

namespace SkinBin {
class Wrapper;
}
namespace OptionDatabase {
class OptionDatabaseClass;
}
namespace Agent {
class MessageAgent;
}

namespace ListForm {

// The skin Wrapper behind MainApp::Wrapper; null (logged once per call)
// while the auto object is of another class.
SkinBin::Wrapper* SkinWrapper();
OptionDatabase::OptionDatabaseClass* OptionDB();
Agent::MessageAgent* MessageAgent();

}  // namespace ListForm
