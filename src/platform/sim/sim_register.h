// The simulated system manager's register table, as another application of
// the set changes it: stores the value and, when the program registered a
// change notice for the key, sends TVSM_CMD_REGISTER_VALUE_CHANGED with the key.
#pragma once

#include <string>

namespace sim {

class Sim;

void ChangeRegisterValue(Sim& tv, const std::string& key, const std::string& value);
// Whether a change notice is registered for the key.
bool RegisterNoticeOn(Sim& tv, const std::string& key);

}  // namespace sim
