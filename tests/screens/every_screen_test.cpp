// Every screen a key script's "state Unit::Class [VALUE]" line can open, in
// each menu language, looked at as the viewer sees it.
//
// The screens are not listed by hand: every registered class that is a
// screen (a key-routing form) with a sub-system to open it is one, opened with
// each VALUE the scenes of tests/scenes give it (0 when none does). The set
// has what the screens show rows of: the scenes' stick plugged, a
// home-network server, the channels of a new set, a PIN, a recording timer
// and the HDMI-CEC devices with the CEC control on. A test fails on every
// fault of the picture (a text cut, partly hidden, overlapping another,
// running into a box, one of ours shortened, two reading the same) that
// tests/scenes/known-faults.txt does not list, looking twice: once the
// screen has opened and once its rows have come. Every fault seen, listed
// or not, is printed as a line "screen fault: LANGUAGE CLASS VALUE: ..." so
// that one run lists them all.
#include <gtest/gtest.h>

#include <unistd.h>

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
#include "platform/xpm/xpm_settings.h"
#include "screen_list.h"
#include "tvui_paths.h"
#include "runtime/object.h"
#include "runtime/runtime.h"
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
  // An empty `cls`: the pages of the first-time setup on a new set, which
  // no "state" line opens (the setup walks them itself), each page in turn
  // as OK leads from the language chosen on the first one.
  EveryScreen(std::string cls, int64_t value, Language language)
      : cls_(std::move(cls)), value_(value), language_(language) {
    freshSet_ = cls_.empty();
  }

 protected:
  void SetUpData() override {
    // A home-network server with the stick's media, for the server list.
    const fs::path server = DataDir() / "media" / "servers" / "Living room";
    fs::create_directories(server);
    fs::copy(StickSet(), server, fs::copy_options::recursive);
    std::ofstream(server / "server.ini") << "name=Living room\n";
  }

  void TestBody() override {
    if (cls_.empty()) {
      WalkTheFirstTimeSetup();
      return;
    }
    PrepareTheSet();
    host::KeyScript::Step step;
    const std::string rest = cls_ + " " + std::to_string(value_);
    ASSERT_TRUE(host::ParseScreenStep("state", rest, &step)) << rest;
    host::RunScreenStep(step);
    Settle();
    Look("opened", 600);
    Look("rows come", 2000);
  }

 private:
  SkinBin::Wrapper* Skin() { return kv::GetAutoObject<SkinBin::Wrapper>(MainApp::Wrapper); }

  void PrepareTheSet() {
    // The menu language, as the Setup menu sets it.
    Skin()->SetMenuLanguage(language_.menuLanguage);
    Settle();
    // A PIN, as the Locks page stores it.
    kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData)
        ->PutString(kv::String::FromUtf8("Pin"), kv::String::FromUtf8("1234"));
    // A recording timer on channel 7-1 tomorrow evening, every weekday.
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
    EXPECT_EQ(XPM_SetTimer(1, timer), XPM_OK);
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

  void WalkTheFirstTimeSetup() {
    Run(1000);
    Look("language page", 0);
    // English, Spanish, French from the top of the first page.
    Press("down", language_.menuLanguage == 0 ? 0 : language_.menuLanguage == 1 ? 1 : 2);
    const char* pages[] = {"second page", "third page", "fourth page", "fifth page", "sixth page"};
    for (const char* page : pages) {
      Press("ok");
      Look(page, 500);
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
      const std::string screen = cls_.empty() ? std::string("first-time setup, ") + when : cls_;
      std::printf("screen fault: %s %s %lld: %s\n", language_.name, screen.c_str(), static_cast<long long>(value_),
                  f.c_str());
      if (!kvtest::IsKnownFault(f))
        ADD_FAILURE() << language_.name << ", " << cls_ << " " << value_ << ", " << when << ": " << f;
    }
  }

  std::string cls_;
  int64_t value_;
  Language language_;
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
    ::testing::RegisterTest(language.name, "FirstTimeSetupPages", nullptr, nullptr, __FILE__, __LINE__,
                            [=]() -> EveryScreen* { return new EveryScreen("", 0, language); });
    for (const std::string& cls : classes) {
      const auto it = values.find(cls);
      const std::set<int64_t> used = it != values.end() ? it->second : std::set<int64_t>{0};
      for (int64_t value : used)
        ::testing::RegisterTest(language.name, TestName(cls, value).c_str(), nullptr, nullptr, __FILE__, __LINE__,
                                [=]() -> EveryScreen* { return new EveryScreen(cls, value, language); });
    }
  }
  return RUN_ALL_TESTS();
}
