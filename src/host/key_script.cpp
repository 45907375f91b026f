#include "host/key_script.h"

#include <cctype>
#include <charconv>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "host/factory_remote.h"
#include "host/keys/keytable.h"
#include "platform/display/display.h"
#include "platform/psl/psl.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_tv_air.h"
#include "platform/xpm/xpm_record.h"
#include "runtime/clock.h"
#include "runtime/slot.h"
#include "runtime/trace.h"
#include "host/script_events.h"
#include "host/script_state.h"
#include "units/Core/Root.h"
#include "units/Core/SeenTexts.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/WidgetManager/WidgetManager.h"

namespace host {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool ValidShotName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  // A folder name (a media set) or, with ".png", a file name: both within
  // the longest name a file system takes.
  if (name.size() > KeyScript::kMaxShotName) return false;
  for (char c : name)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.')) return false;
  return true;
}

}  // namespace

bool KeyScript::Parse(std::string_view text, std::string* error) {
  steps_.clear();
  freshSet_ = false;
  mediaSet_.clear();
  serverSet_.clear();
  std::string errors;  // every bad line, one per line
  int bad = 0;
  auto refuse = [&](int lineNo, const std::string& what) {
    if (++bad <= kMaxReportedErrors) errors += (errors.empty() ? "" : "\n") + ("line " + std::to_string(lineNo) + ": " + what);
  };
  int lineNo = 0;
  while (!text.empty()) {
    const size_t nl = text.find('\n');
    std::string_view line = Trim(text.substr(0, nl));
    text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
    ++lineNo;
    if (line.empty() || line.front() == '#') continue;
    const size_t sp = line.find_first_of(" \t");
    const std::string_view word = line.substr(0, sp);
    const std::string_view rest = sp == std::string_view::npos ? std::string_view() : Trim(line.substr(sp));
    Step step;
    if (line == "fresh set") {
      freshSet_ = true;
      continue;
    }
    if (word == "media" || word == "server") {
      std::string& set = word == "media" ? mediaSet_ : serverSet_;
      if (!ValidShotName(rest) || !set.empty()) {
        refuse(lineNo, "\"" + std::string(word) + "\" needs one set name of letters, digits, '-', '_' or '.'");
        continue;
      }
      set = std::string(rest);
      continue;
    }
    if (word == "wait") {
      int64_t ms = -1;
      auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), ms);
      if (ec != std::errc() || end != rest.data() + rest.size() || ms < 0 || ms > kMaxWaitMs) {
        refuse(lineNo, "\"wait\" needs milliseconds");
        continue;
      }
      step.kind = Step::kWait;
      step.ms = ms;
    } else if (word == "shot" || word == "snap") {
      if (rest.size() > KeyScript::kMaxShotName) {
        refuse(lineNo, "\"" + std::string(word) + "\" needs a name of at most " +
                           std::to_string(KeyScript::kMaxShotName) + " bytes, not " + std::to_string(rest.size()));
        continue;
      }
      if (!ValidShotName(rest)) {
        refuse(lineNo, "\"" + std::string(word) + "\" needs a name of letters, digits, '-', '_' or '.'");
        continue;
      }
      step.kind = Step::kShot;
      step.name = std::string(rest);
      // "snap" shoots in the middle of an animation.
      step.value = word == "snap" ? 1 : 0;
    } else if (word == "usb") {
      if (rest != "mount" && rest != "remove" && rest != "stick") {
        refuse(lineNo, "\"usb\" needs \"mount\", \"remove\" or \"stick\"");
        continue;
      }
      step.kind = Step::kUsb;
      // "stick" pulls the media folders out or plugs them in, as Ctrl+U does.
      step.value = rest == "mount" ? 1 : rest == "stick" ? 2 : 0;
    } else if (word == "event") {
      if (!IsScriptEvent(rest)) {
        std::string names;
        for (const std::string& n : ScriptEventNames()) names += (names.empty() ? "" : ", ") + n;
        refuse(lineNo, "\"event\" needs one of " + names);
        continue;
      }
      step.kind = Step::kEvent;
      step.name = std::string(rest);
    } else if (word == "air") {
      if (rest != "0 empty" && rest != "1 empty") {
        refuse(lineNo, "\"air\" needs \"0 empty\" or \"1 empty\"");
        continue;
      }
      step.kind = Step::kAir;
      step.value = rest[0] - '0';
    } else if (word == "sim") {
      const size_t space = rest.find_first_of(" \t");
      if (rest.empty() || space == std::string_view::npos) {
        refuse(lineNo, "\"sim\" needs a state key and a value");
        continue;
      }
      step.kind = Step::kSimState;
      step.name = std::string(rest.substr(0, space));
      step.text = std::string(Trim(rest.substr(space)));
    } else if (word == "factory" || word == "discrete") {
      FactoryRemoteLine remote;
      std::string why;
      if (!ParseFactoryRemoteLine(line, &remote, &why)) {
        refuse(lineNo, why);
        continue;
      }
      step.kind = Step::kFactory;
      step.ms = remote.code;
      step.value = remote.discrete ? 1 : 0;
      step.text = remote.text;
    } else if (word == "state" || word == "message") {
      std::string why;
      if (!ParseScreenStep(word, rest, &step, &why)) {
        refuse(lineNo, why.empty() ? "\"state\" needs a class and a number, \"message\" a code" : why);
        continue;
      }
    } else {
      const int code = ScriptNameToPlatformKey(line);
      if (code < 0) {
        // Outside text: escaped and cut, so that a line of garbage stays one short line.
        refuse(lineNo, "unknown key \"" + kv::EscapedText(line, kMaxShownName) + "\"");
        continue;
      }
      step.kind = Step::kKey;
      step.key = code;
    }
    steps_.push_back(std::move(step));
  }
  if (bad == 0) return true;
  if (bad > kMaxReportedErrors) errors += "\n" + std::to_string(bad - kMaxReportedErrors) + " more bad lines";
  steps_.clear();
  if (error) *error = errors;
  return false;
}

bool KeyScript::Read(const std::string& path, std::string* text, std::string* error) {
  text->clear();
  // A folder would read as nothing: it would play as an empty script.
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    if (error) *error = "it is a folder, not a file";
    return false;
  }
  auto cannotRead = [error](int cause) {
    if (error) *error = std::string("cannot read it (") + std::strerror(cause) + ")";
    return false;
  };
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return cannotRead(errno);
  // A pipe or standard input ends only when its writer closes it: said once
  // before the wait, so that a run that seems to stand still explains itself.
  struct stat st {};
  if (::fstat(fd, &st) == 0 && !S_ISREG(st.st_mode))
    kv::Log("tvui: the key script " + kv::EscapedText(path, kv::kMaxLoggedPath) +
            " is read until its writer closes it");
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int cause = errno;
      ::close(fd);
      text->clear();
      return cannotRead(cause);
    }
    if (n == 0) break;
    if (text->size() + static_cast<size_t>(n) > kMaxScriptBytes) {
      ::close(fd);
      text->clear();
      if (error) *error = "it does not end within " + std::to_string(kMaxScriptBytes >> 20) + " MiB";
      return false;
    }
    text->append(chunk, static_cast<size_t>(n));
  }
  ::close(fd);
  return true;
}

bool KeyScript::Load(const std::string& path, std::string* error) {
  std::string text;
  if (!Read(path, &text, error)) {
    steps_.clear();
    return false;
  }
  return Parse(text, error);
}

void KeyScript::Attach(dfb::EventBuffer* events, dfb::Display* display, Core::Root* root, std::string shotsDir,
                       std::function<void()> onEnd) {
  events_ = events;
  display_ = display;
  root_ = root;
  shotsDir_ = std::move(shotsDir);
  onEnd_ = std::move(onEnd);
}

int64_t KeyScript::Deadline() const {
  if (next_ < steps_.size() && steps_[next_].kind == Step::kWait && stepStarted_) return waitUntil_;
  return -1;
}

void KeyScript::AfterPass(const PassResult& pass) {
  if (pass.gotEvent && pass.type == dfb::EventType::kKey && pendingKeys_ > 0) --pendingKeys_;
  while (!ended_) {
    if (next_ >= steps_.size()) {
      ended_ = true;
      kv::Log("key script: done");
      if (onEnd_) onEnd_();
      return;
    }
    const Step& step = steps_[next_];
    // Every step starts on a quiet set: what the set has due at this moment
    // (the events it scheduled, the media service's answers) is posted
    // before the step's key, so that each run meets the same order of events.
    if (!stepStarted_ && step.kind != Step::kWait)
      if (sim::Sim* tv = sim::Sim::Current()) tv->Quiesce();
    switch (step.kind) {
      case Step::kKey:
        if (!stepStarted_) {
          stepStarted_ = true;
          pendingKeys_ = 0;
          if (events_ && events_->PostKey(step.key, true)) ++pendingKeys_;
          if (events_ && events_->PostKey(step.key, false)) ++pendingKeys_;
        }
        if (pendingKeys_ > 0) return;  // the next passes take them
        CheckPicture();
        break;
      case Step::kWait:
        if (!stepStarted_) {
          stepStarted_ = true;
          waitUntil_ = kv::GetClock().Now() + step.ms;
        }
        if (kv::GetClock().Now() < waitUntil_) return;
        CheckPicture();
        break;
      case Step::kState:
      case Step::kMessage:
        RunScreenStep(step);
        break;
      case Step::kSimState:
        if (sim::Sim* tv = sim::Sim::Current()) tv->SetState(step.name, step.text);
        break;
      case Step::kEvent:
        RunScriptEvent(step.name);
        break;
      case Step::kAir:
        if (sim::Sim* tv = sim::Sim::Current()) sim::SetAir(*tv, step.value, {});
        break;
      case Step::kFactory:
        if (sim::Sim* tv = sim::Sim::Current())
          SendFactoryRemote(*tv, {step.value == 1, static_cast<uint32_t>(step.ms), step.text});
        break;
      case Step::kUsb:
        if (sim::Sim* tv = sim::Sim::Current()) {
          if (step.value == 2)
            psl::ToggleStartupFolders();
          else if (step.value)
            sim::MountUsbDisk(*tv);
          else
            sim::RemoveUsbDisk(*tv);
        }
        break;
      case Step::kShot: {
        // Waits for the signals and animations to settle and for every dirty
        // area to be drawn and flipped (the first redraw as well). A screen
        // that animates for as long as it is shown (the screen saver) is
        // shot after kShotAnimationLimit ms.
        if (!stepStarted_) {
          stepStarted_ = true;
          waitUntil_ = kv::GetClock().Now() + kShotAnimationLimit;
        }
        // The posted events and closures (the set's picture among them) are
        // taken before the shot.
        if (events_ && events_->Pending() > 0 && kv::GetClock().Now() < waitUntil_) return;
        if (kv::SignalsPending()) return;
        const bool animating =
            step.value == 0 && root_ && root_->IsAnimationRunning() && kv::GetClock().Now() < waitUntil_;
        if (animating || (root_ && root_->GetDirtyCount() > 0)) return;
        CheckPicture();
        LogScreens(step.name);
        std::error_code ec;
        if (!shotsDir_.empty()) std::filesystem::create_directories(shotsDir_, ec);
        const std::string path = (shotsDir_.empty() ? std::string(".") : shotsDir_) + "/" + step.name + ".png";
        if (!display_ || !display_->SaveScreenshot(path)) {
          kv::Log("key script: screenshot " + kv::EscapedText(path, kv::kMaxLoggedPath) + " could not be written");
          ++failures_;
        } else {
          kv::Log("key script: wrote " + kv::EscapedText(path, kv::kMaxLoggedPath));
        }
        break;
      }
    }
    ++next_;
    stepStarted_ = false;
  }
}

void KeyScript::CheckPicture() {
#ifdef KV_VERIFY
  // A picture half way through an animation that ends is not what the
  // viewer reads; a screen whose animation stands while it is open (a
  // player, the media browser) is looked at as it is.
  if (!root_ || root_->IsTransitionRunning()) return;
  for (const std::string& fault : Core::TextFaults(Core::LookAtTexts(*root_)))
    if (faultsSeen_.insert(fault).second) kv::Log("screen check: error: " + fault);
#endif
}

void KeyScript::LogScreens(const std::string& shot) {
  std::string line = "key script: shot " + shot + " shows:";
  auto* wm = kv::GetAutoObject<::WidgetManager::WidgetManager>(MainApp::WidgetManager);
  const char* sep = " ";
  for (kv::Object* o : wm->Snapshot()) {
    auto* form = kv::Cast<Primitives::KeyRoutingForm>(o);
    if (!form || !form->IsVisible()) continue;
    line += sep;
    line += kv::ClassOf(form)->name;
    line += " (win " + std::to_string(form->WinID) + ")";
    sep = ", ";
  }
  kv::Log(line);
}

}  // namespace host
