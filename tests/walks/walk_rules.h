// The rules a random walk and the exploration check after every key, wait
// and event (tests/walks/walks_test.cpp, tests/explore/explore_test.cpp),
// the starts they set out from, and how a screen is seen on the picture.
//
// After every step: no screen opens under an open menu or dialog that it
// overlaps, the picture check finds nothing that
// tests/scenes/known-faults.txt does not list, an open screen's texts
// stand on its panel, an input without a signal says so, no application
// runs on in standby and nothing is drawn there (WalkRules::StepRules).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "host/key_script.h"
#include "host/keys/keytable.h"
#include "host/script_events.h"
#include "host/script_state.h"
#include "known_faults.h"
#include "screen_list.h"
#include "platform/psl/psl.h"
#include "platform/tvsm/tvsm.h"
#include "platform/xpm/xpm_record.h"
#include "platform/sim/sim_apps.h"
#include "platform/sim/sim_tv_air.h"
#include "platform/sim/sim_tv_state.h"
#include "units/Core/Group.h"
#include "units/Core/Root.h"
#include "units/Core/SeenTexts.h"
#include "units/MainApp/Root.h"
#include "units/MainApp/Standby.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/MenuSystem/LiveMenu.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "tvui_paths.h"

namespace walks {

// Where a walk starts: the script lines that bring a new set there.
struct Start {
  std::string name;
  std::string media;  // the sample set whose stick is plugged at start ("players", "broken"), or none
  std::string lines;  // key-script lines, one a line
};

// The places a viewer spends time, each a start of its own: the players on
// the stick (its question answered Yes by the first OK: the media kind menu,
// then Photo, Music or Movie), live TV on the antenna, a locked channel,
// cable, HDMI 1, each input without a signal, the video and the widgets
// application running, and with the USB disk plugged a recording, timeshift
// and the recorded list.
const Start kPlaces[] = {
    {"photo viewer", "players", "ok\nwait 1500\nok\nwait 2000\nright\nright\nok\nwait 2000\nok\nwait 2000\n"},
    {"slide show", "players", "ok\nwait 1500\nok\nwait 2000\nright\nright\nok\nwait 2000\nok\nwait 2000\nok\nwait 3000\n"},
    {"music", "players", "ok\nwait 1500\ndown\ndown\nok\nwait 2000\ndown\nok\nwait 2000\nok\nwait 2000\n"},
    {"movie", "players", "ok\nwait 1500\ndown\nok\nwait 2000\nok\nwait 2000\nok\nwait 2000\n"},
    // The set "broken": a short song, then one of random bytes (its bar,
    // then the next song); a short clip, then a movie of random bytes.
    {"music, a broken song next", "broken",
     "ok\nwait 1500\ndown\ndown\nok\nwait 3000\ndown\ndown\nok\nwait 1500\nok\nwait 2000\n"},
    {"movie, a broken movie next", "broken", "ok\nwait 1500\ndown\nok\nwait 3000\ndown\nok\nwait 1500\nok\nwait 2000\n"},
    {"live TV", "", "wait 1000\n"},
    {"locked channel", "",
     "wait 1000\nstate Channels::ChannelLockDialog\nwait 300\ndown\nok\nwait 300\nexit\nwait 500\nch+\nwait 3000\n"},
    {"cable", "",
     "wait 1000\nmenu\nwait 1000\ndown\nwait 500\ndown\nwait 500\nright\nwait 500\ndown\nwait 300\ndown\nwait 300\n"
     "right\nwait 500\ndown\nok\nwait 500\nexit\nwait 3000\n"},
    {"AV input, no signal", "", "wait 1000\ninput\nwait 500\ndown\ndown\nok\nwait 3000\n"},
    {"HDMI 1", "", "wait 1000\ninput\nwait 500\ndown\ndown\ndown\ndown\nok\nwait 3000\n"},
    {"HDMI 2, no signal", "", "wait 1000\ninput\nwait 500\ndown\ndown\ndown\ndown\ndown\nok\nwait 3000\n"},
    {"HDMI 3, no signal", "", "wait 1000\ninput\nwait 500\ndown\ndown\ndown\ndown\ndown\ndown\nok\nwait 3000\n"},
    {"video application", "", "wait 1000\nvideo-app\nwait 2000\n"},
    {"widgets application", "", "wait 1000\nwidgets\nwait 2000\n"},
    {"recording", "", "usb mount\nwait 1000\nrecord\nwait 500\nok\nwait 2000\n"},
    {"timeshift", "", "usb mount\nwait 1000\nred\nwait 500\nok\nwait 2000\n"},
    // Menu > Channels, its page entered: the focus on its first row.
    {"Channels page", "", "wait 1000\nmenu\nwait 1000\ndown\nwait 400\ndown\nwait 400\nok\nwait 500\n"},
    {"live TV in standby", "", "wait 1000\npower\nwait 3000\n"},
    // Menu > Channels > Channel list, kept in use for two minutes (its
    // menu page's own time-out is a minute).
    {"channel list in use", "",
     "wait 2000\nmenu\nwait 800\ndown\nwait 600\ndown\nwait 600\nright\nwait 600\nok\nwait 1500\n"
     "down\nwait 10000\ndown\nwait 10000\ndown\nwait 10000\nup\nwait 10000\nup\nwait 10000\nup\nwait 10000\n"
     "down\nwait 10000\ndown\nwait 10000\ndown\nwait 10000\nup\nwait 10000\nup\nwait 10000\nup\nwait 10000\n"},
    {"recorded list", "",
     "usb mount\nwait 1000\nrecord\nwait 500\nok\nwait 2000\nstop\nwait 500\nok\nwait 1000\nexit\nwait 500\n"
     "state Record::RecordedShowsDialog\nwait 1000\n"},
};

inline bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }
inline bool EndsWith(const std::string& s, const std::string& suffix) {
  return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Every start: the places above, then every screen a "state" line opens,
// with each value the scenes give it (the list the screen checks open),
// on a new set.
inline const std::vector<Start>& Starts() {
  static const std::vector<Start> starts = [] {
    std::vector<Start> out(std::begin(kPlaces), std::end(kPlaces));
    // A page of the menu opens over the menu, as from its row: it stands
    // beside the menu's column and takes the keys from it. An option's
    // list of choices, which opens only beside a page's value row, opens
    // over the menu too (the column keeps the keys). The screens of a task under way
    // (a channel scan, a software update, a disk's format) open only with
    // it: a "state" line opens them empty, with nothing to end them. A
    // "...Template" class is the common base of the media screens,
    // MenuSystem::ThirdMenu that of the menu's pages and
    // NonMenuSystem::VolumeMuteBar that of the volume and mute bars: never
    // opened as themselves (a bare ThirdMenu has no rows, no caption and no
    // focus; a bare VolumeMuteBar is an empty pill in the middle of the
    // screen, not at the bars' place). The photo viewer opens only from the photo list,
    // which the place "photo viewer" is; nothing opens the players of a
    // controller's media (no controller's request reaches the set): opened
    // empty they wait for ever for the media.
    const std::set<std::string> kTaskScreens = {"Channels::ScanDialog",
                                                "Update::UpdatingDialog",
                                                "Record::USBDiskFormatStatusDialog",
                                                "MediaPlayer::PhotoSingleView",
                                                "MediaPlayer::PhotoSingleViewDMR",
                                                "MediaPlayer::MovieFullScreenPlayDMR",
                                                "MediaPlayer::MusicFullScreenPlayDMR"};
    // The automatic scan's question and its two result screens open only
    // from the Channels page's row (through the PIN prompt with locks set)
    // and the scan: a "state" line would open them with no menu under them,
    // and Back would then find a bare page. They start by the viewer's keys.
    const auto channelsPage = std::find_if(std::begin(kPlaces), std::end(kPlaces),
                                           [](const Start& p) { return p.name == "Channels page"; });
    const std::string scanQuestion = channelsPage->lines +
                                     "down\nwait 300\ndown\nwait 300\ndown\nwait 300\nok\nwait 800\n";
    const std::map<std::string, std::string> kByKeys = {
        {"Channels::AutoTuningConfirmDialog", scanQuestion},
        {"Channels::AutoTuningCompleteDialog", scanQuestion + "ok\nwait 6000\n"},
        {"Channels::AutoTuningErrorDialog", "air 0 empty\n" + scanQuestion + "ok\nwait 6000\n"},
    };
    std::set<std::string> pages = {"MenuSystem::VidiOptionMenu"};
    for (const kv::Class* c : kv::AllClasses())
      if (c->Is(&MenuSystem::VidiSubMenu::StaticClass()))
        pages.insert(c->name);
    for (const auto& [cls, value] : kvtest::EveryScreen()) {
      if (kTaskScreens.count(cls) || EndsWith(cls, "Template") || cls == "MenuSystem::ThirdMenu" ||
          cls == "NonMenuSystem::VolumeMuteBar")
        continue;
      const std::string name = cls + (value ? " " + std::to_string(value) : std::string());
      if (auto road = kByKeys.find(cls); road != kByKeys.end()) {
        out.push_back({name, "", road->second});
        continue;
      }
      out.push_back({name, "",
                     std::string(pages.count(cls) ? "wait 1000\nmenu\nwait 1000\n" : "wait 1000\n") + "state " + cls +
                         " " + std::to_string(value) + "\nwait 1000\n"});
    }
    return out;
  }();
  return starts;
}


// One line, commas for new lines, as scripts are quoted in notes.
inline std::string OneLine(const std::string& script) {
  std::string out;
  for (size_t i = 0; i < script.size();) {
    size_t nl = script.find('\n', i);
    if (nl == std::string::npos) nl = script.size();
    const std::string line = script.substr(i, nl - i);
    if (!line.empty() && line[0] != '#') out += (out.empty() ? "" : ", ") + line;
    i = nl + 1;
  }
  return out;
}

// --- What the screen shows -----------------------------------------------------

// A form drawn on screen: its class, its box on screen, its place in the
// drawing order.
struct Drawn {
  Primitives::KeyRoutingForm* form = nullptr;
  std::string cls;
  kv::Rect box;
  bool screen = false;  // open in the widget manager (not a form inside one)
};


// Banners, bars and notices: they show over the picture and go by themselves.
inline bool IsOverlay(const std::string& cls) {
  static const std::set<std::string> kOverlays = {
      "NonMenuSystem::BannerForm",      "NonMenuSystem::BannerBasicInfo",        "NonMenuSystem::BannerEPGInfo",
      "NonMenuSystem::BannerHDMIInfo",  "NonMenuSystem::BannerMiscInfo",         "NonMenuSystem::CommonVolumeBar",
      "NonMenuSystem::CommonMuteBar",   "NonMenuSystem::AmplifierVolumeBar",     "NonMenuSystem::AmplifierMuteBar",
      "NonMenuSystem::AdjustmentBar",   "NonMenuSystem::AdjustmentBarTint",      "NonMenuSystem::AdjustmentBarKXD",
      "NonMenuSystem::NoSliderAdjustmentBar", "NonMenuSystem::ToggleOptionOverlay", "NonMenuSystem::DirectMessageBar",
      "NonMenuSystem::ChannelEntry"};
  return kOverlays.count(cls) > 0;
}

// The media screens that fill the screen: browsers and players.
inline bool IsMediaScreen(const std::string& cls) {
  return StartsWith(cls, "MediaPlayer::") && cls.find("Dialog") == std::string::npos &&
         cls.find("Menu") == std::string::npos;
}

// Screens that hold nothing a viewer reads or that are no screen of their own.
inline bool IsContainer(const std::string& cls) {
  return cls == "NonMenuSystem::InfoBanner" || cls == "NonMenuSystem::HelpBar";
}

// Menus and dialogs: screens a viewer works in.
inline bool IsMenuOrDialog(const std::string& cls) { return !IsOverlay(cls) && !IsMediaScreen(cls) && !IsContainer(cls); }

inline void CollectDrawn(Core::View* view, kv::Point origin, std::vector<Drawn>& out) {
  if (!view || !view->IsVisible()) return;
  const kv::Rect b = view->OnGetBounds();
  const kv::Rect box = b.Move(origin);
  const kv::Point at = box.Origin();
  if (auto* form = kv::Cast<Primitives::KeyRoutingForm>(view)) out.push_back({form, kv::ClassOf(form)->name, box});
  if (auto* group = kv::Cast<Core::Group>(view))
    for (int32_t i = 0; i < group->GetChildCount(); ++i) CollectDrawn(group->GetChild(i), at, out);
}

inline bool Intersect(const kv::Rect& a, const kv::Rect& b) {
  return !a.IsEmpty() && !b.IsEmpty() && !a.Intersect(b).IsEmpty();
}

// --- Walks found before -------------------------------------------------------

// A line of tests/walks/found.txt: a key script on one line (commas between
// its lines, "media players" first where the stick is plugged), or
// "still to mend | RULE | SCRIPT" for a fault that breaks RULE until it is
// mended (random walks that break RULE are counted apart, not failed).
struct FoundWalk {
  std::string script;       // as written
  std::string lines;        // key-script lines
  std::string media;        // the sample set plugged at start ("media NAME"), or none
  std::string stillToMend;  // the rule it breaks until mended
};

inline std::string Trimmed(std::string s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.erase(0, 1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.pop_back();
  return s;
}

inline std::vector<FoundWalk> FoundWalks(const std::string& file) {
  std::vector<FoundWalk> out;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    line = Trimmed(line);
    if (line.empty() || line[0] == '#') continue;
    FoundWalk f;
    if (line.rfind("still to mend |", 0) == 0) {
      const size_t bar = line.find('|', 16);
      if (bar == std::string::npos) continue;
      f.stillToMend = Trimmed(line.substr(15, bar - 15));
      line = Trimmed(line.substr(bar + 1));
    }
    f.script = line;
    for (size_t i = 0; i <= line.size();) {
      size_t comma = line.find(',', i);
      if (comma == std::string::npos) comma = line.size();
      const std::string part = Trimmed(line.substr(i, comma - i));
      if (part.rfind("media ", 0) == 0)
        f.media = Trimmed(part.substr(6));
      else if (!part.empty())
        f.lines += part + "\n";
      i = comma + 1;
    }
    out.push_back(std::move(f));
  }
  return out;
}

// The walks still to mend, as "RULE | SCRIPT": a random walk that breaks
// RULE and shrinks to SCRIPT is that fault again; one that breaks RULE for
// another cause is a fault of its own.
inline const std::set<std::string>& StillToMend() {
  static const std::set<std::string> known = [] {
    std::set<std::string> r;
    for (const FoundWalk& f : FoundWalks(std::string(TVUI_SOURCE_DIR) + "/tests/walks/found.txt"))
      if (!f.stillToMend.empty()) r.insert(f.stillToMend + " | " + f.script);
    return r;
  }();
  return known;
}

// --- The walks ----------------------------------------------------------------

// What happens to a set while someone watches, as a step of a walk or of
// the exploration: a key-script line and the wait after it (the time the
// event takes to come). Every notice type the message bar shows (1 the
// signal lost, 25 a weak signal, 40 a recording stopped ...; 0x1f000f
// clears the signal's notice: the signal back), an update found and its
// reminder, a timer falling due, a recording that ends, the sleep timer's
// warning and its end, the USB disk and the stick plugged and pulled,
// standby and wake (the power key), and waits of minutes and of half an
// hour.
struct SetEvent {
  std::string line;
  int wait = 0;  // ms after the line
};
inline const std::vector<SetEvent>& SetEvents() {
  static const std::vector<SetEvent> events = [] {
    std::vector<SetEvent> out;
    // Type 30 is none; 27, "Please wait...", belongs to a task that closes
    // it when done (a line opens it with no task behind it); 2, 3 and 20
    // answer the PIN typed into a PIN prompt, stand over it and hand it the
    // keys back as they close: with no prompt under them a line shows them
    // where the set never does (the PIN prompts' own roads raise them).
    // 44 to 46 and 48 to 50 are the timer editor's and the recorded list's
    // refusals of what the viewer just asked of them, centred over those
    // screens: the set raises them nowhere else. 17 to 19 are a software
    // update's end, raised by its progress screen as it closes (the events
    // "update-found" and "update-reminder" lead there): a line shows them
    // with no update behind them, and 18 and 19 restart the set.
    const auto raisedByAScreen = [](int type) {
      return (type >= 44 && type <= 50 && type != 47) || (type >= 17 && type <= 19);
    };
    for (int type = 1; type <= 50; ++type)
      if (type != 30 && type != 27 && type != 2 && type != 3 && type != 20 && !raisedByAScreen(type))
        out.push_back({"message 0x1f000e " + std::to_string(type), 0});
    out.push_back({"message 0x1f000f", 0});
    for (const char* e : {"update-reminder", "update-found", "recording-ends"}) out.push_back({std::string("event ") + e, 0});
    out.push_back({"event timer-due", 125000});
    out.push_back({"event sleep-warning", 61000});
    out.push_back({"event sleep-ends", 61000});
    for (const char* u : {"usb mount", "usb remove", "usb stick"}) out.push_back({u, 0});
    out.push_back({"power", 3000});
    out.push_back({"wait 180000", 0});
    out.push_back({"wait 1800000", 0});
    return out;
  }();
  return events;
}
// The message bar's notices among them (the exploration takes one a state).
inline bool IsNoticeEvent(const SetEvent& e) { return StartsWith(e.line, "message 0x1f000e "); }

// What a walk broke: the rule and the screen (the same for a shorter prefix
// that breaks it the same way), and what was seen.
struct Verdict {
  std::string rule;    // empty: the walk kept every rule
  std::string detail;  // what the screen showed
  bool Broken() const { return !rule.empty(); }
};

// A new set in the application fixture with the rules of every step.
class WalkRules : public apptest::AppTest {
 public:
  // The starts list the screens from the registered classes, which makes an
  // object of each: before any set runs.
  static void SetUpTestSuite() { Starts(); }

 protected:
  void SetUp() override {
    stick_ = kvtest::FreshTestDir("walks-stick");
    const std::string writer = std::string(TVUI_BINARY_DIR) + "/sample_media";
    for (const char* set : {"players", "broken"}) {
      const std::string command = "'" + writer + "' --set " + set + " '" + (stick_ / set).string() + "'";
      ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    AppTest::SetUp();
  }
  void TearDown() override {
    psl::SetStartupFolders({});
    AppTest::TearDown();
    kvtest::RemoveTestDir(stick_);
  }
  void SetUpData() override {
    psl::SetStartupFolders(plugged_.empty() ? std::vector<std::string>{} : std::vector<std::string>{Stick()});
  }
  // The stick of the set plugged at start, else of "players".
  std::string Stick() const { return (stick_ / (plugged_.empty() ? "players" : plugged_)).string(); }

  // Plays lines of a key script with the checks of every step (the first
  // broken rule in `broken`); false when a line cannot be played here.
  bool PlayLines(const std::string& lines, Verdict* broken) {
    host::KeyScript script;
    std::string error;
    if (!script.Parse(lines, &error)) {
      ADD_FAILURE() << "bad key-script lines: " << error;
      return false;
    }
    if (!script.MediaSet().empty() && script.MediaSet() != plugged_) {
      ADD_FAILURE() << "the stick is plugged by the start, not by a line";
      return false;
    }
    for (const host::KeyScript::Step& step : script.Steps()) {
      switch (step.kind) {
        case host::KeyScript::Step::kKey: PressCode(step.key); break;
        case host::KeyScript::Step::kWait: Run(step.ms); break;
        case host::KeyScript::Step::kState:
        case host::KeyScript::Step::kMessage:
          host::RunScreenStep(step);
          Settle();
          break;
        case host::KeyScript::Step::kSimState: Tv().SetState(step.name, step.text); break;
        case host::KeyScript::Step::kAir:
          sim::SetAir(Tv(), step.value, {});
          Settle();
          break;
        case host::KeyScript::Step::kUsb:
          if (step.value == 1) {
            sim::MountUsbDisk(Tv());
          } else if (step.value == 0) {
            sim::RemoveUsbDisk(Tv());
          } else {
            // The stick of the set plugged at start (else of "players"),
            // pulled out or plugged in.
            psl::SetStartupFolders({Stick()});
            psl::ToggleStartupFolders();
          }
          Settle();
          break;
        case host::KeyScript::Step::kEvent:
          host::RunScriptEvent(step.name);
          Settle();
          break;
        case host::KeyScript::Step::kShot: break;
        default: ADD_FAILURE() << "a line the walks do not play"; return false;
      }
      const bool settled = step.kind == host::KeyScript::Step::kWait && step.ms >= 300;
      if ((*broken = judging_ ? StepRules(settled) : Covers()).Broken()) return true;
    }
    return true;
  }

  // The rules that hold after every key and wait: no screen opens under a
  // menu or dialog, the picture check finds nothing, a screen listed as open
  // is drawn whole, an input without a signal says so, and no application
  // runs on in standby. `settled`: a wait went by, no key is on its way.
  Verdict StepRules(bool settled) {
    Verdict v;
    if ((v = Covers()).Broken()) return v;
    if (App().GetStandby()->IsInStandby()) {
      if (AppOwnsTheScreen()) return {"an application runs on in standby", AppsText()};
      return NothingDrawnInStandby();
    }
    if (App().IsTransitionRunning()) return {};
    const std::vector<Core::SeenText> texts = SeenTexts();
    for (const std::string& fault : Core::TextFaults(texts))
      if (!kvtest::IsKnownFault(fault)) return {"picture: " + fault, Classes(DrawnForms())};
    if ((v = DrawnWhole(texts)).Broken()) return v;
    if (settled && (v = NoSignalSaid()).Broken()) return v;
    return {};
  }

  // In standby the screen is dark: no screen is open and the on-screen
  // display holds nothing.
  Verdict NothingDrawnInStandby() {
    Settle();
    App().Redraw();
    const ge::Surface& osd = Osd();
    int64_t drawn = 0;
    for (int32_t y = 0; y < osd.height; ++y)
      for (int32_t x = 0; x < osd.width; ++x) drawn += (osd.Row(y)[x] >> 24) != 0 ? 1 : 0;
    if (drawn > 0 || !Screens().empty())
      return {"something is drawn in standby", Classes(DrawnForms()) + ", " + std::to_string(drawn) + " pixels"};
    return {};
  }

  // The applications that run, for reports.
  std::string AppsText() {
    std::string out;
    for (const sim::Sim::RunningApp& a : sim::RunningApps(Tv()))
      out += (out.empty() ? "" : ", ") + a.name + " (kind " + std::to_string(a.kind) + ")";
    return out;
  }

  // Every screen listed as open is drawn whole: where its texts show, its
  // own panel is under them, not the live picture (the picture plane shows
  // where the on-screen display is clear).
  Verdict DrawnWhole(const std::vector<Core::SeenText>& texts) {
    if (AppOwnsTheScreen()) return {};
    const ge::Surface& osd = Osd();
    for (const Core::SeenText& t : texts) {
      if (t.cover == Core::Cover::kWholly || t.ink.IsEmpty() || !t.form) continue;
      const kv::Rect area = t.ink.Intersect(t.visible).Intersect({0, 0, osd.width, osd.height});
      if (area.IsEmpty()) continue;
      int64_t clear = 0, around = 0;
      for (int32_t y = area.y1; y < area.y2; ++y)
        for (int32_t x = area.x1; x < area.x2; ++x) {
          if (t.MaskAt(x, y)) continue;
          ++around;
          clear += (osd.Row(y)[x] >> 24) == 0 ? 1 : 0;
        }
      if (around > 0 && clear * 2 > around)
        return {"a screen's text is drawn over the live picture without its panel: " + t.Describe(),
                Classes(DrawnForms())};
    }
    return {};
  }

  // An input without a signal says "No signal" whenever no other screen
  // covers the picture.
  Verdict NoSignalSaid() {
    const std::string source = Tv().GetState("tv.source.0");
    if (source != std::to_string(sim::kSourceAv) && source != std::to_string(sim::kSourceHdmi2) &&
        source != std::to_string(sim::kSourceHdmi3))
      return {};
    if (AppOwnsTheScreen()) return {};
    const std::vector<Drawn> drawn = DrawnForms();
    for (const Drawn& d : drawn)
      if ((d.screen || InOpenContainer(d.form)) && !IsContainer(d.cls) && d.cls != "NonMenuSystem::DirectMessageBar")
        return {};
    for (const Core::SeenText& t : SeenTexts())
      if (t.where.find("NonMenuSystem::DirectMessageBar") != std::string::npos && t.Readable()) return {};
    return {"an input without a signal does not say so", Classes(drawn)};
  }

  // A panel drawn inside an open screen that is only a container (the
  // information banner's basic, programme and HDMI panels): a screen of its
  // own to the viewer.
  bool InOpenContainer(Primitives::KeyRoutingForm* form) {
    const std::vector<Primitives::KeyRoutingForm*> open = OpenForms();
    for (Core::View* v = form ? form->Owner() : nullptr; v; v = v->Owner())
      if (auto* f = kv::Cast<Primitives::KeyRoutingForm>(v))
        if (IsContainer(kv::ClassOf(f)->name) && std::find(open.begin(), open.end(), f) != open.end()) return true;
    return false;
  }

  std::vector<Drawn> DrawnForms() {
    std::vector<Drawn> out;
    CollectDrawn(&App(), {0, 0}, out);
    const std::vector<Primitives::KeyRoutingForm*> open = OpenForms();
    for (Drawn& d : out) d.screen = std::find(open.begin(), open.end(), d.form) != open.end();
    return out;
  }
  // The screen drawn last (over all others) that a viewer works in, or null.
  const Drawn* Front(const std::vector<Drawn>& drawn) {
    for (auto it = drawn.rbegin(); it != drawn.rend(); ++it)
      if (it->screen && !IsContainer(it->cls)) return &*it;
    return nullptr;
  }
  // The screen the focused view belongs to, or null.
  Primitives::KeyRoutingForm* KeysGoTo() {
    const std::vector<Primitives::KeyRoutingForm*> open = OpenForms();
    for (Core::View* v = Focused(); v; v = v->Owner())
      if (auto* f = kv::Cast<Primitives::KeyRoutingForm>(v))
        if (std::find(open.begin(), open.end(), f) != open.end()) return f;
    return nullptr;
  }
  // The keys go to a form of that unit ("Unit::").
  bool KeysGoToUnit(const char* unit) {
    Primitives::KeyRoutingForm* f = KeysGoTo();
    return f && StartsWith(kv::ClassOf(f)->name, unit);
  }
  bool KeysGoToUnitOf(const std::string& held) {
    if (held == "first-time setup") return KeysGoToUnit("InitialSetup::");
    if (held == "factory mode") return KeysGoToUnit("FactorySystem::");
    if (held == "update question") return IsUpdateQuestion(KeysGoTo());
    if (held == "sleep question") return IsSleepQuestion(KeysGoTo());
    return KeysGoToUnit("ParentalLocks::ChannelLockEnterPin");
  }
  std::string Classes(const std::vector<Drawn>& drawn) {
    std::string out;
    for (const Drawn& d : drawn)
      if (d.screen && !IsContainer(d.cls)) out += (out.empty() ? "" : ", ") + d.cls;
    return out.empty() ? "no screen" : out;
  }
  // The texts a form shows, joined (for reports).
  std::string TextsOf(const std::string& cls) {
    std::string out;
    for (const Core::SeenText& t : SeenTexts())
      if (t.where.find(cls) != std::string::npos && t.cover != Core::Cover::kWholly)
        out += (out.empty() ? "\"" : " \"") + t.text + "\"";
    return out;
  }
  // What the viewer sees changes: the screens open and the picture.
  std::string Look() {
    Settle();
    App().Redraw();
    const ge::Surface& s = Osd();
    uint64_t h = 1469598103934665603ull;
    for (int32_t y = 0; y < s.height; ++y) {
      const uint32_t* row = s.Row(y);
      for (int32_t x = 0; x < s.width; ++x) h = (h ^ row[x]) * 1099511628211ull;
    }
    return Classes(DrawnForms()) + " #" + std::to_string(h);
  }

  // No screen opens under an open menu or dialog that it overlaps: no
  // banner, bar or notice is drawn under one at all, and no other screen
  // (a dialog, a status panel) that was not open at the last look is drawn
  // under one that was (but the covers known-faults.txt lists as on
  // purpose, and a page opening under the set's update question while the
  // question keeps the keys).
  Verdict Covers() {
    const std::vector<Drawn> drawn = DrawnForms();
    std::set<std::pair<const void*, std::string>> open;
    for (const Drawn& d : drawn)
      if (d.screen) open.insert({d.form, d.cls});
    Verdict v;
    for (size_t i = 0; i < drawn.size() && !v.Broken(); ++i) {
      const bool overlay = IsOverlay(drawn[i].cls);
      const bool opened = drawn[i].screen && !IsContainer(drawn[i].cls) && !lastOpen_.count({drawn[i].form, drawn[i].cls});
      if (!overlay && !opened) continue;
      for (size_t j = i + 1; j < drawn.size(); ++j) {
        if (!drawn[j].screen || !IsMenuOrDialog(drawn[j].cls) || !Intersect(drawn[i].box, drawn[j].box)) continue;
        if (!overlay && !lastOpen_.count({drawn[j].form, drawn[j].cls})) continue;
        // The set's update question stands apart over whatever is open: a
        // page the viewer's last key asked for may still open under it, as
        // long as the question keeps the keys.
        if (!overlay && IsUpdateQuestion(drawn[j].form) && KeysGoTo() == drawn[j].form) continue;
        const std::string report = "drawn under a screen: " + drawn[i].cls + " under " + drawn[j].cls;
        if (kvtest::IsKnownFault(report)) continue;
        v = {report, TextsOf(drawn[i].cls)};
        break;
      }
    }
    lastOpen_ = std::move(open);
    return v;
  }
  // A software update's question, which takes no key but its answer (an
  // update found or started must be answered, not put aside).
  static bool IsUpdateQuestion(Primitives::KeyRoutingForm* form) {
    auto* q = kv::Cast<NonMenuSystem::ConfirmMultiOptionDialog>(form);
    return q && (q->ConfirmType == Constants::ConfirmTypeStartUpdate || q->ConfirmType == Constants::ConfirmTypeUpdateAvailable);
  }
  // The sleep timer's end while a recording or timeshift runs asks whether
  // to stop them and turn off: it waits for its answer.
  static bool IsSleepQuestion(Primitives::KeyRoutingForm* form) {
    auto* q = kv::Cast<NonMenuSystem::ConfirmMultiOptionDialog>(form);
    return q && q->ConfirmType == Constants::ConfirmTypeRecordSleepWarning;
  }
  // The state a viewer may rightly be held in, by the screen it shows, or
  // empty: standby, the first-time setup, factory mode, a PIN prompt
  // waiting, an update's question, the sleep timer's question.
  std::string HeldIn(const std::vector<Drawn>& drawn) {
    if (App().GetStandby()->IsInStandby()) return "standby";
    for (const Drawn& d : drawn) {
      if (StartsWith(d.cls, "InitialSetup::")) return "first-time setup";
      if (StartsWith(d.cls, "FactorySystem::")) return "factory mode";
      if (d.cls == "ParentalLocks::ChannelLockEnterPin") return "PIN prompt";
      if (IsUpdateQuestion(d.form)) return "update question";
      if (IsSleepQuestion(d.form)) return "sleep question";
    }
    return {};
  }

 protected:
  std::filesystem::path stick_;
  std::string plugged_;  // the sample set plugged at start, or none
  std::set<std::pair<const void*, std::string>> lastOpen_;  // the screens open at the last look
  // False while steps judged before are played again to reach a state: only
  // the screens open are followed (for Covers), the other rules wait.
  bool judging_ = true;
};

}  // namespace walks
