// The level of the routine traces.
//
// kv::Trace lines (what the set is doing: keys, settings written, screens
// reported) are debug output: off unless switched on (`tvui --debug`, and
// the tests that read them), so a run or a benchmark spends no time printing
// them. kv::Log lines (warnings and errors) always go out.
#pragma once

namespace kv {

void SetDebugTraces(bool on);
bool DebugTraces();

}  // namespace kv
