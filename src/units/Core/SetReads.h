// What the screens read of the set that the program keeps in tables of its
// own, for checked builds (KV_VERIFY): the HDMI-CEC device table and the
// home-network sources are read from the set once and kept, so a screen that
// shows them leaves no middleware call behind. Their readers note the read
// here, and a test that wants to know what a screen reads while it opens
// takes the notes with the set's call log. Release builds keep nothing.
#pragma once

#include <string>
#include <vector>

namespace Core {

#ifdef KV_VERIFY
// Notes that the table named `table` was read ("HdmiCecData", "MediaSources").
void NoteSetRead(const char* table);
// The tables read since the last call, each once, in name order, forgetting them.
std::vector<std::string> TakeSetReads();
#else
inline void NoteSetRead(const char*) {}
#endif

}  // namespace Core
