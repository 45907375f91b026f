// A headless key script: one remote key name per line (host::ScriptNameToPlatformKey),
// "wait MS", "shot NAME"; blank lines and lines starting with '#' are skipped.
// For the screens that no key reaches, "state Unit::Class [VALUE]" opens the
// screen by a state change (a SkinBin::UserRefInt of VALUE) through the
// screen's sub-system, and "message CODE [INT [TEXT]]" sends a message
// through the message agent (TEXT as a Structures::RefString), as the
// screens' callers do. "usb mount" and "usb remove" plug the simulated USB
// disk in and pull it out; "air 0 empty" and "air 1 empty" leave the
// antenna's or the cable's air without channels; "sim KEY VALUE" sets a key of the simulated set's
// state (how it answers, such as "usb.format none"). "factory CODE [TEXT]"
// and "discrete CODE" send a factory remote code or a discrete key through
// the simulated set (host/factory_remote.h). "event NAME" makes something
// happen to the set (an update found, a timer falling due, the sleep timer
// running out: host/script_events.h). A script plays on a set whose
// first-time setup is done (marked so before the start when it is not)
// unless it has the line "fresh set": then a new set starts in the setup.
// The line "media NAME" names the set of sample media a scene expects plugged
// as a stick at start; the scene player (tools/play_scene.sh) writes it and
// passes it as --media-dir; the script itself plays no step for it.
//
// The script advances from the GUI loop's pass hook, on the GUI task:
// every line but "wait" starts once the simulated set is quiet (what it has
// due now delivered); a key is posted (press and release) and the next line
// waits for the pass that handled it; "wait" lets the clock run MS milliseconds; "shot" writes
// DIR/NAME.png once no posted signal waits, no animation runs (at most 3000 ms
// are waited for one) and every dirty
// area of the root has been drawn and flipped; "snap NAME" does the same
// without waiting for animations (a carousel half way through a move). With the
// virtual clock the same script gives the same screens every run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "host/gui_loop.h"

namespace dfb {
class Display;
class EventBuffer;
}  // namespace dfb
namespace Core {
class Root;
}

namespace host {

class KeyScript {
 public:
  struct Step {
    enum Kind { kKey, kWait, kShot, kState, kMessage, kUsb, kAir, kSimState, kFactory, kEvent } kind = kKey;
    int32_t key = 0;    // kKey: platform key code
    int64_t ms = 0;     // kWait; kState and kMessage: the value, the code
    std::string name;   // kShot; kState: the class; kSimState: the key; kEvent: the event
    int32_t value = 0;  // kMessage: the integer parameter; kUsb: 1 mount, 0 remove; kShot: 1 snap;
                        // kFactory: 1 discrete; kAir: the medium
    std::string text;   // kMessage: the text parameter; kSimState: the value; kFactory: the text
  };

  // The longest "wait": about 24 days, so that the end of a wait stays on the clock.
  static constexpr int64_t kMaxWaitMs = 2147483647;

  // Bad lines reported by Parse, and the longest part of a bad name shown.
  static constexpr int kMaxReportedErrors = 10;
  static constexpr size_t kMaxShownName = 40;
  // The longest shot name: NAME.png stays within the 255 bytes a file
  // name may have.
  static constexpr size_t kMaxShotName = 251;

  // Parses the whole script; false (and no steps) when a line is bad, with
  // `error` naming each bad line ("line N: ...", one per line, at most
  // kMaxReportedErrors) and a bad key name escaped and cut to kMaxShownName.
  bool Parse(std::string_view text, std::string* error);
  // The most a script may hold; a source that goes on past it (a device
  // such as /dev/zero) cannot be read whole and is refused.
  static constexpr size_t kMaxScriptBytes = 64u << 20;
  // Reads the script once, whole, to its end: a file, a pipe that a writer
  // closes, standard input. False (with the cause in `error`) for a folder,
  // a path that cannot be read and a source that does not end within
  // kMaxScriptBytes. The text read is what is checked and then played, so a
  // source that can be read only once plays as it was checked.
  static bool Read(const std::string& path, std::string* text, std::string* error);
  // Reads (Read) and parses the file.
  bool Load(const std::string& path, std::string* error);
  const std::vector<Step>& Steps() const { return steps_; }
  // The script has the line "fresh set".
  bool FreshSet() const { return freshSet_; }
  // The set named by the line "media NAME"; empty without one.
  const std::string& MediaSet() const { return mediaSet_; }
  // The set named by the line "server NAME" (a home-network server); empty without one.
  const std::string& ServerSet() const { return serverSet_; }

  // Where it plays. `onEnd` runs once, on the GUI task, after the last line.
  void Attach(dfb::EventBuffer* events, dfb::Display* display, Core::Root* root, std::string shotsDir,
              std::function<void()> onEnd);
  // Advances after a pass (and once before the first).
  void AfterPass(const PassResult& pass);
  // The time the loop's wait must not pass: the end of a running "wait"; -1 otherwise.
  int64_t Deadline() const;
  bool Finished() const { return ended_; }
  // Screenshots that could not be written.
  int Failures() const { return failures_; }

 private:
  // Checked builds look at the picture (Core::LookAtTexts) after every key,
  // wait and shot, unless an animation that ends is under way (a standing
  // one, a player's, does not count), and log each cut,
  // partly hidden or overlapping text once as an error.
  void CheckPicture();
  // Logs the screens open at a shot: "key script: shot NAME shows: ...",
  // each form's class and window id (the gallery check reads it).
  void LogScreens(const std::string& shot);

  std::vector<Step> steps_;
  bool freshSet_ = false;
  std::string mediaSet_;
  std::string serverSet_;
  size_t next_ = 0;
  int pendingKeys_ = 0;       // key events posted and not yet taken
  bool stepStarted_ = false;
  int64_t waitUntil_ = -1;
  bool ended_ = false;
  int failures_ = 0;
  dfb::EventBuffer* events_ = nullptr;
  dfb::Display* display_ = nullptr;
  Core::Root* root_ = nullptr;
  std::set<std::string> faultsSeen_;  // picture faults logged already
  std::string shotsDir_;
  std::function<void()> onEnd_;
};

}  // namespace host
