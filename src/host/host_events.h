// The events the host itself builds from middleware payloads: scan progress,
// scan ends and the factory events (a factory remote code is processed here,
// on the GUI task, into its result event).
#pragma once

namespace host {

// Registers their factories in the event-factory table. Safe to call more than once.
void RegisterHostEvents();

}  // namespace host
