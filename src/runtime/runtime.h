// The end of a GUI loop pass and the runtime's global state.
#pragma once

#include <cstdint>
#include <functional>

namespace kv {

class Runtime {
 public:
  // The end of one pass, in this order: expired timers, posted and idle
  // signals, a pending language change (re-initialise every live object),
  // the redraw hook, collection, string-cache trim.
  static void EndOfPass();

  // Plugged in by the view framework: redraws dirty areas and flips them.
  static void SetRedrawHook(std::function<void()> hook);
  // Plugged in by the resources: called after a language change re-initialised objects.
  static void SetLanguageHook(std::function<void()> hook);
  // Called at the start of each collection's mark phase for extra roots.
  // Collect after every pass (tests) or when enough was allocated.
  static void SetCollectEveryPass(bool on);
  static bool CollectEveryPass();

  // Number of passes run since start.
  static uint64_t PassCount();

  // Marks the calling thread as the GUI task (asserted in debug builds).
  static void SetGuiThread();
  // The GUI task has ended: the next task to start the GUI (or a test
  // reading what it left) may use the runtime.
  static void ReleaseGuiThread();
  static bool OnGuiThread();

  // Adds a function that ResetForTests calls (caches of other modules).
  static void AddResetHook(void (*fn)());

  // The end of the process, on the GUI task with no pass running: cancels
  // every timer, drops every root, auto object, handle, queued signal and
  // observer, and destroys every object (their destructors run), so that
  // nothing the GUI made outlives it. The runtime may be used again after.
  static void Shutdown();

  // Shutdown, on the calling thread, for tests, and the test settings back
  // to their defaults (language 0, the panic handler, collection mode).
  // Frees every object and clears every table (roots, auto objects, queues,
  // timers, caches, hooks); tests call it after each test.
  static void ResetForTests();
};

// Debug check that GUI objects are touched only on the GUI task.
void AssertGuiThread();

}  // namespace kv

namespace kv::detail {
// Asks for the re-initialisation of every live object at the end of the pass.
void RequestReInit();
}  // namespace kv::detail
