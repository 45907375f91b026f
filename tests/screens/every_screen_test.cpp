// Every screen a key script's "state Unit::Class [VALUE]" line can open, in
// each menu language, looked at as the viewer sees it, on every kind of set
// whose differences it shows.
//
// The screens are not listed by hand: every registered class that is a
// screen (a key-routing form) with a sub-system to open it is one, opened with
// each VALUE the scenes of tests/scenes give it (0 when none does). The first
// set has what the screens show rows of: the scenes' stick plugged, a
// home-network server, the channels of a new set on the antenna, a PIN, a
// recording timer and the HDMI-CEC devices with the CEC control on. Each
// screen opens there first; what it reads of the set while it opens (the
// set's call log, and the tables the program keeps of the set, Core::
// TakeSetReads) says on which other sets it opens again: a set on cable with
// a recording timer on cable, a set with both tuners watching TV 2 (tuner 2
// on cable), a set with HDMI-CEC devices of the longest names watching their
// input, a set whose addresses and server names are the longest their formats
// allow. Every set is made as a viewer's set gets there: the first-time
// setup walked by keys, the Setup pages, the outside world of the simulated
// set (its devices, its stored addresses, a server on the network).
// The first-time setup's pages, which no "state" line opens, are walked by
// keys on every road (one tuner or both, antenna or cable, a scan that finds
// nothing) in each language.
//
// A test fails on every fault of the picture (a text cut, partly hidden,
// overlapping another, running into a box, one of ours shortened, two
// reading the same) that tests/scenes/known-faults.txt does not list,
// looking twice: once the screen has opened and once its rows have come.
// Every fault seen, listed or not, is printed as a line "screen fault:
// LANGUAGE CLASS VALUE [on SET]: ..." so that one run lists them all. The
// cases ExtremeValues.CLASS open each screen with the largest and smallest
// values a "state" line lets through.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <set>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "host/script_state.h"
#include "known_faults.h"
#include "platform/psl/psl.h"
#include "platform/sim/sim_net_state.h"
#include "platform/sim/sim_tv_air.h"
#include "platform/sim/sim_tv_state.h"
#include "platform/xpm/xpm_network.h"
#include "platform/xpm/xpm_record.h"
#include "platform/xpm/xpm_settings.h"
#include "screen_list.h"
#include "tvui_paths.h"
#include "runtime/object.h"
#include "runtime/runtime.h"
#include "units/Core/SetReads.h"
#include "units/MainApp/Root.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/SkinBin/HdmiCecData.h"
#include "units/SkinBin/Wrapper.h"

namespace {

namespace fs = std::filesystem;

struct Language {
  const char* name;
  int32_t menuLanguage;  // as the Setup menu stores it
};
constexpr Language kLanguages[] = {{"English", 0}, {"Spanish", 1}, {"French", 2}};

// The kinds of set a screen is opened on. The first is every screen's; a
// screen opens on another when it reads, while it opens, what that set
// changes: one of the set's calls or tables named in `reads`.
enum class SetKind { kAntenna, kCable, kTunerTwo, kLongCecNames, kLongAddresses };
struct SetInfo {
  SetKind kind;
  const char* name;
  std::vector<std::string> reads;
};

// What a screen reads of the medium: the medium and the channel map in use
// (one map per medium).
const std::vector<std::string> kMediumReads = {
    "XPM_GetMedium",         "XPM_GetChannelInfo",       "XPM_GetCurrentChannel", "XPM_GetCurrentChannelInfo",
    "XPM_GetNextChannel",    "XPM_GetNumChannelsInRing", "XPM_IsChannelInRing",   "XPM_GetTempCurrentChannel"};
// Of the recording timers.
const std::vector<std::string> kTimerReads = {"XPM_GetTimer", "DB_Get_First_Scheduled_Show",
                                              "DB_Get_Scheduled_Show_Freq"};
// Of the tuner or input shown.
const std::vector<std::string> kTunerReads = {"XPM_GetCurrent_TunerId", "XPM_GetCurrentSource"};
// Of the HDMI-CEC device table.
const std::vector<std::string> kDeviceReads = {"XPM_HdmiCec_GetDevInfo", "HdmiCecData"};
// Of the addresses: the set's own, the home network's servers and controllers.
const std::vector<std::string> kAddressReads = {"XPM_LAN_GetMacAddr", "XPM_LAN_GetIFState", "XPM_LAN_GetIFConfig",
                                                "MediaSources"};

std::vector<std::string> Joined(std::initializer_list<const std::vector<std::string>*> parts) {
  std::vector<std::string> out;
  for (const auto* p : parts) out.insert(out.end(), p->begin(), p->end());
  return out;
}

const std::vector<SetInfo>& Sets() {
  static const std::vector<SetInfo> sets = {
      {SetKind::kAntenna, "antenna", {}},
      {SetKind::kCable, "cable", Joined({&kMediumReads, &kTimerReads})},
      {SetKind::kTunerTwo, "tuner two", Joined({&kTunerReads, &kMediumReads})},
      {SetKind::kLongCecNames, "long device names", Joined({&kDeviceReads, &kTunerReads})},
      {SetKind::kLongAddresses, "long addresses", kAddressReads},
  };
  return sets;
}

// HDMI-CEC devices whose names fill the device table's field (15 characters),
// in wide capitals, on the first two HDMI inputs.
const std::vector<sim::NetState::CecDevice> kLongCecDevices = {
    {sim::kSourceHdmi1, 4, "MEDIA WORLD MAX", true},
    {sim::kSourceHdmi1, 5, "HOME THEATRE MW", true},
    {sim::kSourceHdmi2, 8, "WARMOUNT GAMEMW", true},
};
// A home-network server with a long name and the longest addresses.
constexpr const char* kLongServerName = "Home media server in the upstairs living room";
constexpr const char* kLongServerAddress = "192.168.254.254";
constexpr const char* kLongServerMac = "DD:DB:DC:DD:DB:DC";
// The set's own hardware addresses, upper case.
constexpr const char* kLongWiredMac = "DD:DC:DB:DD:DC:DB";
constexpr const char* kLongWirelessMac = "DC:DD:DB:DC:DD:DB";

// The roads of the first-time setup: the tuner chosen (1, 2, or 3 for both),
// each tuner's medium (0 antenna, 1 cable), and whether the air is empty (the
// scan finds nothing: the error page).
struct Road {
  const char* name;
  int tuners;
  int medium1;
  int medium2;
  bool emptyAir;
};
constexpr Road kRoads[] = {
    {"OneTunerAntenna", 1, 0, 0, false}, {"OneTunerCable", 1, 1, 0, false}, {"TunerTwoCable", 2, 1, 0, false},
    {"BothTunersAntennaCable", 3, 0, 1, false}, {"BothTunersCableCable", 3, 1, 1, false},
    {"NoChannelsFound", 1, 0, 0, true},
};

// How many screens were opened on each set, and roads walked, in this process.
std::map<std::string, int>& Opened() {
  static std::map<std::string, int> opened;
  return opened;
}

// The scenes' stick, written once for every test of the process.
const std::string& StickSet() {
  static const std::string dir = [] {
    const fs::path out = fs::temp_directory_path() / ("tvui-screens-stick-" + std::to_string(::getpid()));
    fs::remove_all(out);
    const std::string command =
        std::string(TVUI_BINARY_DIR) + "/sample_media --set players '" + out.string() + "' >/dev/null";
    if (std::system(command.c_str()) != 0) ADD_FAILURE() << "cannot write the stick: " << command;
    std::atexit([] {
      std::error_code ec;
      fs::remove_all(fs::temp_directory_path() / ("tvui-screens-stick-" + std::to_string(::getpid())), ec);
    });
    return out.string();
  }();
  return dir;
}

class EveryScreen : public apptest::AppTest {
 public:
  // A screen opened by a "state" line on the first set, then on each set
  // whose differences it reads.
  EveryScreen(std::string cls, int64_t value, Language language)
      : cls_(std::move(cls)), value_(value), language_(language) {}
  // The pages of the first-time setup on a new set, which no "state" line
  // opens (the setup walks them itself), on one road.
  EveryScreen(const Road& road, Language language) : value_(0), language_(language), road_(&road) {
    freshSet_ = true;
  }

 protected:
  void SetUpData() override {
    // A home-network server with the stick's media, for the server list.
    const bool longNames = set_ == SetKind::kLongAddresses;
    const fs::path server = DataDir() / "media" / "servers" / (longNames ? "Upstairs" : "Living room");
    fs::create_directories(server);
    fs::copy(StickSet(), server, fs::copy_options::recursive);
    if (longNames)
      std::ofstream(server / "server.ini") << "name=" << kLongServerName << "\naddress=" << kLongServerAddress
                                           << "\nmac=" << kLongServerMac << "\nwake-on-lan=1\n";
    else
      std::ofstream(server / "server.ini") << "name=Living room\n";
  }

  void TestBody() override {
    if (road_) {
      WalkTheFirstTimeSetup(*road_, true);
      ++Opened()["first-time setup roads"];
      return;
    }
    PrepareTheSet();
    ClearCallLog();
    Core::TakeSetReads();
    OpenAndLook();
    if (HasFatalFailure()) return;
    // What the screen read while it opened: the calls it made to the set,
    // the tables of the set it looked into.
    std::set<std::string> reads;
    for (const std::string& call : CallLog()) reads.insert(call.substr(0, call.find('(')));
    for (const std::string& table : Core::TakeSetReads()) reads.insert(table);
    std::string opened = "antenna";
    // SCREENS_EVERY_SET opens every screen on every set, whatever it reads:
    // a run that shows the choice misses no fault.
    const bool everySet = std::getenv("SCREENS_EVERY_SET") != nullptr;
    for (const SetInfo& set : Sets()) {
      std::vector<std::string> why;
      for (const std::string& r : set.reads)
        if (reads.count(r)) why.push_back(r);
      if (set.kind == SetKind::kAntenna || (why.empty() && !everySet)) continue;
      set_ = set.kind;
      setName_ = set.name;
      MakeTheSet();
      if (HasFatalFailure()) return;
      OpenAndLook();
      opened += std::string(", ") + set.name + " (";
      for (size_t i = 0; i < why.size(); ++i) opened += (i ? " " : "") + why[i];
      opened += ")";
    }
    std::printf("screen sets: %s %s %lld: %s\n", language_.name, cls_.c_str(), static_cast<long long>(value_),
                opened.c_str());
  }

 private:
  SkinBin::Wrapper* Skin() { return kv::GetAutoObject<SkinBin::Wrapper>(MainApp::Wrapper); }

  void OpenAndLook() {
    host::KeyScript::Step step;
    const std::string rest = cls_ + " " + std::to_string(value_);
    ASSERT_TRUE(host::ParseScreenStep("state", rest, &step)) << rest;
    host::RunScreenStep(step);
    Settle();
    Look("opened", 600);
    Look("rows come", 2000);
    ++Opened()[setName_];
  }

  // A new set of the kind set_, made as a viewer's set gets there.
  void MakeTheSet() {
    switch (set_) {
      case SetKind::kAntenna:
        break;
      case SetKind::kCable:
        // The first-time setup with one tuner on cable.
        freshSet_ = true;
        StartAfresh();
        WalkTheFirstTimeSetup(kRoads[1], false);
        // Watching the first digital cable channel, 15-1, as a viewer zaps
        // there; the lists below it hold "Movies One" and "Movies Two".
        for (int i = 0; i < 12 && CurrentChannel() != std::pair{15, 1}; ++i) {
          Press("ch+");
          Run(1500);
        }
        EXPECT_EQ(CurrentChannel(), (std::pair{15, 1})) << "cable channel 15-1 is not in tune";
        Press("exit");
        Run(3000);
        // A recording timer on it, made in the timer editor (Menu > Record >
        // Schedule record: a new timer on the channel in tune, made active,
        // Done) with the USB disk plugged.
        sim::MountUsbDisk(Tv());
        Run(1000);
        for (const char* key : {"menu", "up", "ok", "ok", "down", "ok", "ok", "down", "ok"}) {
          Press(key);
          Run(500);
        }
        Run(1000);
        EXPECT_TRUE(HasCableTimer()) << "no recording timer on cable";
        Press("exit");
        Run(500);
        Press("exit");
        Run(500);
        break;
      case SetKind::kTunerTwo:
        // The first-time setup with both tuners, tuner 2 on cable; then TV 2
        // from the input list.
        freshSet_ = true;
        StartAfresh();
        WalkTheFirstTimeSetup(kRoads[3], false);
        Press("input");
        Run(500);
        Press("down");
        Press("ok");
        Run(3000);
        EXPECT_EQ(Skin()->GetCurrentSource(0), sim::kSourceTv2) << "TV 2 is not shown";
        break;
      case SetKind::kLongCecNames:
        freshSet_ = false;
        StartAfresh();
        // The devices answer on the bus before the set looks.
        Tv().Net().SetCecDevices(kLongCecDevices);
        break;
      case SetKind::kLongAddresses:
        freshSet_ = false;
        StartAfresh();
        break;
    }
    freshSet_ = false;
    PrepareTheSet();
    if (set_ == SetKind::kLongCecNames) {
      // Watching the first device's input, chosen in the input list.
      Press("input");
      Run(500);
      // Its rows: TV, TV 2, AV, Component, HDMI 1.
      Press("down", 4);
      Press("ok");
      Run(3000);
      EXPECT_EQ(Skin()->GetCurrentSource(0), sim::kSourceHdmi1) << "HDMI 1 is not shown";
      Press("exit");
      Run(3000);
    }
    if (set_ == SetKind::kLongAddresses) {
      // The set's own hardware addresses, as the factory writes them, and
      // fixed addresses of the longest form, as the address page stores them.
      Tv().SetState("net.mac.0", kLongWiredMac);
      Tv().SetState("net.mac.1", kLongWirelessMac);
      XPM_IfConfig config{};
      config.dhcp = 0;
      const uint8_t ip[4] = {192, 168, 254, 254}, mask[4] = {255, 255, 255, 252}, gateway[4] = {192, 168, 254, 253},
                    dns1[4] = {208, 222, 222, 222}, dns2[4] = {208, 220, 220, 220};
      std::copy(ip, ip + 4, config.ip);
      std::copy(mask, mask + 4, config.mask);
      std::copy(gateway, gateway + 4, config.gateway);
      std::copy(dns1, dns1 + 4, config.dns1);
      std::copy(dns2, dns2 + 4, config.dns2);
      EXPECT_EQ(XPM_LAN_SetIFConfig(0, &config), XPM_OK);
    }
    Settle();
    Core::TakeCutTexts();
  }

  std::pair<int32_t, int32_t> CurrentChannel() {
    XPM_VirtualChannel channel{};
    if (XPM_GetCurrentChannel(0, &channel) != XPM_OK) return {-1, -1};
    return {channel.major, channel.minor};
  }

  // An active recording timer on the cable map.
  bool HasCableTimer() {
    for (int32_t id = 1; id <= sim::kLastTimerId; ++id) {
      XPM_TimerRecord timer{};
      if (XPM_GetTimer(id, &timer) == XPM_OK && timer.enabled && timer.mapId == 1) return true;
    }
    return false;
  }

  void PrepareTheSet() {
    // The menu language, as the Setup menu sets it.
    Skin()->SetMenuLanguage(language_.menuLanguage);
    Settle();
    // A PIN, as the Locks page stores it.
    kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData)
        ->PutString(kv::String::FromUtf8("Pin"), kv::String::FromUtf8("1234"));
    // A recording timer tomorrow evening, every weekday, on 7-1 (the cable
    // set has its own from the timer editor).
    XPM_TimerRecord timer{};
    timer.enabled = 1;
    timer.start = XPM_LocalTime{0, 30, 20, 10, 11, 126, 0, 0, 0};
    timer.duration = 3600;
    timer.daysOfWeek = 0x3E;
    timer.source = Skin()->GetCurrentSource(0);
    timer.major = 7;
    timer.minor = 1;
    timer.timesType = 1;
    timer.sourceType = 1;
    if (set_ != SetKind::kCable) {
      EXPECT_EQ(XPM_SetTimer(1, timer), XPM_OK);
    }
    // The HDMI-CEC devices, with the CEC control on.
    Skin()->OnSetEnableKELVO(1);
    Skin()->GetHdmiCecData()->InitDevList();
    // The stick, and its question answered away.
    psl::PlugFolder(StickSet());
    Run(3000);
    Press("exit");
    Run(500);
    Core::TakeCutTexts();
  }

  // Walks the first-time setup from its first page on `road`, in the case's
  // language when `look` (looking at every page), else in English.
  void WalkTheFirstTimeSetup(const Road& road, bool look) {
    if (road.emptyAir) sim::SetAir(Tv(), road.medium1, {});
    Run(1000);
    const auto page = [&](const char* when, int64_t ms) {
      if (look)
        Look(when, ms);
      else
        Run(ms);
    };
    page("language page", 0);
    // English, Spanish, French from the top of the first page.
    if (look) Press("down", language_.menuLanguage);
    Press("ok");
    page("time zone page", 500);
    Press("ok");
    page("daylight saving page", 500);
    Press("ok");
    page("tuner page", 500);
    if (road.tuners == 3) {
      Press("down", 2);
      Press("ok");
      page("both tuners page", 500);
      // The focus starts on Next, under the cable column: up reaches tuner
      // 2's cable box, then tuner 1's; antenna is each row's default.
      int row = 2;
      if (road.medium2 == 1) {
        Press("up");
        Press("ok");
        row = 1;
      }
      if (road.medium1 == 1) {
        Press("up", row);
        Press("ok");
        row = 0;
      }
      page("both tuners page, media chosen", 500);
      Press("down", 2 - row);
      Press("ok");
    } else {
      Press("down", road.tuners - 1);
      Press("ok");
      page("medium page", 500);
      Press("down", road.medium1);
      Press("ok");
    }
    page("confirmation page", 500);
    Press("ok");
    page("scan, half way", 1100);
    page("scan result", 12000);
    if (road.emptyAir) {
      Press("ok");
      page("after the error page", 500);
      return;
    }
    Press("exit");
    Run(2000);
    // The road was the one meant: each tuner scanned on its medium.
    const auto medium = [&](sim::Setting which) {
      int32_t v = -1;
      Tv().Tv().Get(which, 0, &v, "test");
      return v;
    };
    if (road.tuners != 2) {
      EXPECT_EQ(medium(sim::Setting::kMedium), road.medium1) << road.name;
    }
    if (road.tuners != 1) {
      EXPECT_EQ(medium(sim::Setting::kTuner2Medium), road.tuners == 2 ? road.medium1 : road.medium2) << road.name;
    }
  }

  void Look(const char* when, int64_t ms) {
    Run(ms);
    const std::vector<Core::SeenText> texts = SeenTexts();
    if (std::getenv("SCREENS_LIST_TEXTS"))
      for (const Core::SeenText& t : texts)
        std::printf("  %s%s%s reads \"%s\"\n", t.Describe().c_str(), t.ours ? " [ours]" : "",
                    t.shortened ? " [shortened]" : "", t.shown.c_str());
    std::vector<std::string> faults = Core::TextFaults(texts);
    for (const std::string& cut : Core::TakeCutTexts()) faults.push_back("text cut: " + cut);
    std::set<std::string> seen;
    for (const std::string& f : faults) {
      if (!seen.insert(f).second) continue;
      std::string screen = road_ ? std::string("first-time setup ") + road_->name + ", " + when : cls_;
      if (!road_ && set_ != SetKind::kAntenna) screen += std::string(" ") + std::to_string(value_) + " on " + setName_;
      else if (!road_) screen += " " + std::to_string(value_);
      std::printf("screen fault: %s %s: %s\n", language_.name, screen.c_str(), f.c_str());
      if (!kvtest::IsKnownFault(f)) ADD_FAILURE() << language_.name << ", " << screen << ", " << when << ": " << f;
    }
  }

  std::string cls_;
  int64_t value_;
  Language language_;
  const Road* road_ = nullptr;
  SetKind set_ = SetKind::kAntenna;
  std::string setName_ = "antenna";
};

// Prints how many screens each set opened in this process (a shard prints its own).
class CountOpened : public ::testing::Environment {
 public:
  void TearDown() override {
    int total = 0;
    std::string line;
    for (const auto& [set, n] : Opened()) {
      total += n;
      line += (line.empty() ? "" : ", ") + std::to_string(n) + " on " + set;
    }
    std::printf("screens opened: %d (%s)\n", total, line.c_str());
  }
};

// A screen opened with the largest and the smallest value a "state" line can
// give it (those its checker lets through) and driven with the keys that move
// and choose: a screen adds to a value it was given without overflowing
// (the sanitizers stop the run on one), and it still answers.
class ExtremeValues : public apptest::AppTest {
 public:
  explicit ExtremeValues(std::string cls) : cls_(std::move(cls)) {}

 protected:
  void TestBody() override {
    for (const char* value : {"2147483647", "-2147483648", "0xFFFFFFFF"}) {
      host::KeyScript::Step step;
      if (!host::ParseScreenStep("state", cls_ + " " + value, &step)) continue;
      SCOPED_TRACE(value);
      host::RunScreenStep(step);
      Settle();
      Run(600);
      for (const char* key : {"ok", "down", "up", "right", "left", "ok"}) {
        Press(key);
        Run(100);
      }
      Run(1000);
      Press("exit", 3);
      Run(2000);
      Core::TakeCutTexts();
    }
  }

 private:
  std::string cls_;
};

std::string TestName(const std::string& cls, int64_t value) {
  std::string n = cls + "_" + (value < 0 ? "minus" + std::to_string(-value) : std::to_string(value));
  for (size_t at; (at = n.find("::")) != std::string::npos;) n.replace(at, 2, "_");
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const std::map<std::string, std::set<int64_t>> values = kvtest::ValuesOfTheScenes();
  const std::vector<std::string> classes = kvtest::ScreenClasses();
  for (const Language& language : kLanguages) {
    for (const Road& road : kRoads)
      ::testing::RegisterTest(language.name, (std::string("FirstTimeSetup_") + road.name).c_str(), nullptr, nullptr,
                              __FILE__, __LINE__, [&road, language]() -> EveryScreen* {
                                return new EveryScreen(road, language);
                              });
    for (const std::string& cls : classes) {
      const auto it = values.find(cls);
      const std::set<int64_t> used = it != values.end() ? it->second : std::set<int64_t>{0};
      for (int64_t value : used)
        ::testing::RegisterTest(language.name, TestName(cls, value).c_str(), nullptr, nullptr, __FILE__, __LINE__,
                                [=]() -> EveryScreen* { return new EveryScreen(cls, value, language); });
    }
  }
  for (const std::string& cls : classes) {
    std::string name = cls;
    for (size_t at; (at = name.find("::")) != std::string::npos;) name.replace(at, 2, "_");
    ::testing::RegisterTest("ExtremeValues", name.c_str(), nullptr, nullptr, __FILE__, __LINE__,
                            [=]() -> ExtremeValues* { return new ExtremeValues(cls); });
  }
  ::testing::AddGlobalTestEnvironment(new CountOpened);
  return RUN_ALL_TESTS();
}
