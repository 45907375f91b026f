// The GUI task's mailbox: the display's event buffer that the GUI loop waits
// on. Other threads post plain payloads into it, or closures that the loop
// runs on the GUI task between events (host::RunOnGuiTask).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace dfb {
class EventBuffer;
}

namespace host {

// Set by the GUI task when its event buffer exists; null when it goes away
// (pending closures are dropped then, and waiters released).
void SetGuiEventBuffer(dfb::EventBuffer* events);

// Posts a payload as a user event; false (logged) when there is no GUI task
// or the buffer refused it. Never blocks.
bool PostToGui(uint32_t id, const void* payload, size_t length);

// Reports the window closed, as the display does when a person closes it
// (headless runs have no window to close). False when there is no GUI task.
bool PostQuitToGui();

// Posts a closure that the GUI task runs in its loop; false (logged) when it
// cannot be posted. Never blocks.
bool RunOnGuiTask(std::function<void()> fn);
// Posts a closure and waits until the GUI task ran it (true), or until it
// was dropped because the GUI task ended (false). On the GUI task it runs at once.
bool RunOnGuiTaskAndWait(std::function<void()> fn);

// The loop's side: runs the closure a XPM_EVT_HOST_CLOSURE payload names.
void RunPostedClosure(const uint8_t* payload, size_t length);

}  // namespace host
