// The "event" lines of a headless key script: what happens to a set while
// someone watches, each as the set or the outside world brings it about.
//
//   event update-reminder  the set reminds of a software update found earlier
//   event update-found     an update file on a plugged medium
//   event timer-due        a one-time recording timer on the channel shown,
//                          stored as one saved earlier, that falls due in a
//                          minute (the set warns then)
//   event recording-ends   the recorder reports its recording stopped
//   event sleep-warning    the sleep timer set to two minutes: its one-minute
//                          warning comes a minute later
//   event sleep-ends       the sleep timer set to one minute: it runs out a
//                          minute later
//   event 3d-signal        the input starts to carry a side-by-side 3D
//                          picture, and the set reports it
// The line starts the event; the minute it takes to come is the script's
// "wait" after it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace host {

// The names an "event" line takes.
const std::vector<std::string>& ScriptEventNames();
bool IsScriptEvent(std::string_view name);
// Carries the event out on the GUI task; false (logged) for an unknown name
// or a set that is not running.
bool RunScriptEvent(std::string_view name);

}  // namespace host
