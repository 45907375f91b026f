// The application test fixture: the whole system as it runs, headless.
//
// Each test gets the application root (MainApp::Root, initialised), the GUI
// loop on a virtual clock (it jumps ahead whenever the loop would wait idle),
// the event buffer, the simulated television, the settings file in a fresh
// per-test directory, the headless display and the font. Collections run
// at the end of every pass when KV_COLLECT_EVERY_PASS=1.
//
//   class VolumeBarTest : public apptest::AppTest {};
//   TEST_F(VolumeBarTest, ...) {
//     Press("vol+", 3);                        // remote keys by script name
//     Run(4000);                               // let 4 s pass
//     EXPECT_EQ(Calls("XPM_SetVolume").size(), 3u);
//     EXPECT_TRUE(OpenForms().empty());
//     EXPECT_TRUE(Sees("Volume"));             // on screen, readable
//   }
//
// What the user sees (test builds, KV_VERIFY): SeenTexts() draws the whole
// current picture again (whatever the dirty areas) and answers every text
// in it with its view's class and owner chain, the rectangle the viewer can
// see of its view (the box clipped by every owner), where its glyphs fall
// and how much of it something drawn later hides. Sees("...") is true when
// a text containing that string shows whole: not hidden, not cut. Screens()
// lists the open screens with their class, window id and layer. Assert on
// these a moment after the action, not on "opened", a flag or a log line:
//     Run(500);
//     EXPECT_TRUE(Sees("The device was removed")) << SeenList();
// TextFaults(SeenTexts()) gives the cut, partly hidden and overlapping texts
// of the picture; TearDown fails a test whose screens drew a cut text,
// unless tests/scenes/known-faults.txt lists it.
//
// A test that needs settings before start-up writes them in SetUpData()
// (override), which runs before the root starts. Restart() ends the system
// and starts it again on the same data folder. The set starts in live TV
// unless the test asks for a fresh set (freshSet_).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "capture.h"
#include "platform/sim/sim.h"
#include "runtime/clock.h"
#include "runtime/object.h"
#include "units/Core/SeenTexts.h"

namespace dfb {
class Display;
class EventBuffer;
class Window;
}  // namespace dfb
namespace host {
class GuiLoop;
}
namespace Core {
class Event;
class View;
}  // namespace Core
namespace Primitives {
class KeyRoutingForm;
}
namespace MainApp {
class Root;
}
namespace ge {
struct Surface;
}

namespace apptest {

// A screen open in the widget manager (AppTest::Screens).
struct OpenScreen {
  std::string cls;     // the form's class
  uint32_t winId = 0;  // its window id
  uint32_t layer = 0;  // its layer bit
  bool visible = false;
};

class AppTest : public ::testing::Test {
 protected:
  AppTest();
  ~AppTest() override;

  void SetUp() override;
  void TearDown() override;
  // Runs before the root starts: write settings the start-up should find.
  virtual void SetUpData() {}
  // Switches the set off without standby and on again on the same data
  // folder, as a restart of the process does: every object goes, the
  // simulated set writes its state file and reads it again, the settings
  // store reads the settings file again. Only what reached the files
  // survives.
  void Restart();
  // Ends the system and starts a new set on a new, empty data folder, as a
  // second set fresh from the factory would (SetUpData runs again first).
  void StartAfresh();

  // --- Driving ------------------------------------------------------------
  // Presses (and releases) a remote key by its script name ("ok", "menu",
  // "vol+", "panel-ch+", "power" ...) `times` times; each press is handled
  // by its own pass before the next is posted.
  void Press(std::string_view name, int times = 1);
  // The same by platform key code (0 to 278, docs/keys.md).
  void PressCode(int platformCode);
  // Presses the keys in a row, all posted before one pass handles them (a
  // viewer quicker than the set's reports).
  void PressAtOnce(std::initializer_list<std::string_view> names);
  // Plugs the USB disk, closes the question it raises and records the
  // programme on screen with Record and OK (the Record key's first choice).
  void RecordOnANewDisk();
  // Lets `ms` milliseconds pass on the clock, running the loop (timers,
  // middleware events due in that time).
  void Run(int64_t ms);
  // Runs passes until nothing is posted or pending.
  void Settle();
  // A middleware event from the simulated set (id and raw payload), handled.
  void Inject(uint32_t id, const void* payload, size_t length);
  template <class T>
  void Inject(uint32_t id, const T& payload) {
    Inject(id, &payload, sizeof payload);
  }
  // An event object dispatched to the root, as the host does; its answer.
  kv::Object* Dispatch(Core::Event* event);

  // --- The simulated set ---------------------------------------------------
  // The call answers `code` from now on without doing anything; with 0 it
  // seems to succeed and the set does nothing (a tune that never comes).
  void FailCall(const std::string& name, int32_t code);
  // Every call does its work again.
  void ClearFailures();
  // Calls of that name, as "name(args)" lines, oldest first.
  std::vector<std::string> Calls(std::string_view name) const;
  std::vector<std::string> CallLog() const;
  void ClearCallLog();
  // The key pad's answer as it sends it through the message agent: a
  // confirmed text, or none (null) for a cancelled entry; then settles.
  void KeyPadAnswers(const char* text);
  void KeyPadAnswers(const std::string& text) { KeyPadAnswers(text.c_str()); }
  sim::Sim& Tv() { return *tv_; }

  // --- The screen ----------------------------------------------------------
  MainApp::Root& App() { return *root_; }
  // The open forms of the widget manager, oldest first.
  std::vector<Primitives::KeyRoutingForm*> OpenForms();
  // The first open form of class T (or derived from it), else null.
  template <class T>
  T* Find() {
    for (Primitives::KeyRoutingForm* f : OpenForms())
      if (auto* t = kv::Cast<T>(f)) return t;
    return nullptr;
  }
  // The deepest focused view of the modal group or the root, or null.
  Core::View* Focused();
  // The keys go to a view of class T (or derived from it): it lies on the
  // focused path.
  template <class T>
  bool KeysIn() {
    return KeysInClass(&T::StaticClass());
  }
  bool KeysInClass(const kv::Class* cls);
  // An application that the system manager runs owns the screen (not one in
  // the background, not the set's own kind 1).
  bool AppOwnsTheScreen();
  // Every text of the current picture, back to front (see the top).
  std::vector<Core::SeenText> SeenTexts();
  // A text containing `text` shows whole (readable, not cut, not hidden).
  bool Sees(std::string_view text);
  // The texts of the picture, one line each, for failure messages.
  std::string SeenList();
  // The screens open (the widget manager's forms), oldest first.
  std::vector<OpenScreen> Screens();
  // Writes the on-screen display as a PNG; false when it could not.
  bool Shot(const std::string& path);
  // The on-screen display's pixels (premultiplied RGBA).
  const ge::Surface& Osd();
  // Live objects per class after a collection.
  std::map<std::string, size_t> Census();

  // --- Log -----------------------------------------------------------------
  bool Logged(std::string_view part) const { return log_.Contains(part); }
  kvtest::LogCapture& Log() { return log_; }

  const std::filesystem::path& DataDir() const { return dir_; }

  // Cleared by a test's constructor: the data folder does not exist at the
  // start, as on a new set.
  bool makeDataFolder_ = true;
  // Set by a test's constructor: the set starts as a new one, in the
  // first-time setup (and goes on in it after Restart while the setup has
  // not ended). Otherwise the setup is marked done before the start, so that
  // the set starts in live TV.
  bool freshSet_ = false;

 private:
  void StartSystem(bool first);
  void StopSystem();

  std::unique_ptr<kv::VirtualClock> clock_ = std::make_unique<kv::VirtualClock>(1000);
  kvtest::LogCapture log_;
  std::filesystem::path dir_;
  std::unique_ptr<sim::Sim> tv_;
  std::unique_ptr<dfb::Display> display_;
  dfb::EventBuffer* events_ = nullptr;
  dfb::Window* window_ = nullptr;
  MainApp::Root* root_ = nullptr;
  std::unique_ptr<host::GuiLoop> loop_;
  int64_t deadline_ = -1;
};

}  // namespace apptest
