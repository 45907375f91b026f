// Headless key scripts: parsing, and repeatable screens on the virtual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "host/app.h"
#include "host/key_script.h"
#include "host/keys/keytable.h"
#include "platform/sim/sim.h"
#include "runtime/clock.h"
#include "runtime/runtime.h"
#include "runtime/slot.h"
#include "units/Core/Event.h"
#include "units/Core/Root.h"
#include "units/Core/Timer.h"
#include "units/Events/XPM_EVENT_KEY.h"
#include "units/Views/Rectangle.h"
#include "tvui_paths.h"

namespace {

TEST(KeyScriptTest, ParsesKeysWaitsAndShotsAndNamesTheFirstBadLine) {
  host::KeyScript script;
  std::string error;
  ASSERT_TRUE(script.Parse("# start\nmenu\n\n  wait 250 \nshot main-menu_1\nvol+\n", &error)) << error;
  ASSERT_EQ(script.Steps().size(), 4u);
  EXPECT_EQ(script.Steps()[0].kind, host::KeyScript::Step::kKey);
  EXPECT_EQ(script.Steps()[0].key, host::ScriptNameToPlatformKey("menu"));
  EXPECT_EQ(script.Steps()[1].ms, 250);
  EXPECT_EQ(script.Steps()[2].name, "main-menu_1");
  EXPECT_EQ(script.Steps()[3].key, host::ScriptNameToPlatformKey("vol+"));

  EXPECT_FALSE(script.Parse("ok\nfrobnicate\n", &error));
  EXPECT_EQ(error, "line 2: unknown key \"frobnicate\"");
  EXPECT_FALSE(script.Parse("wait soon\n", &error));
  EXPECT_EQ(error, "line 1: \"wait\" needs milliseconds");
  EXPECT_FALSE(script.Parse("shot ../escape\n", &error));
  EXPECT_NE(error.find("line 1"), std::string::npos);
}

TEST(KeyScriptTest, EveryBadLineIsNamedEscapedAndCutAndNothingIsKept) {
  host::KeyScript script;
  std::string error;
  // Random bytes as a key name: escape sequences, a NUL, 300 bytes.
  std::string garbage = "\x1b]0;owned\x07\x1b[2J";
  garbage += std::string(1, '\0') + std::string(300, 'x');
  const std::string text = "menu\nok\n" + garbage + "\nvol+\nfrobnicate\nwait soon\n";
  EXPECT_FALSE(script.Parse(text, &error));
  EXPECT_TRUE(script.Steps().empty()) << "a script with a bad line plays nothing";
  EXPECT_EQ(error,
            "line 3: unknown key \"\\x1b]0;owned\\x07\\x1b[2J\\x00xxxxxxxxxxxxxxxxxxxxxxxxx...\"\n"
            "line 5: unknown key \"frobnicate\"\n"
            "line 6: \"wait\" needs milliseconds");
  for (char c : error) EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F)) << "raw byte " << int(c);

  // Many bad lines: the first ten named, the rest counted.
  std::string many;
  for (int i = 0; i < 25; ++i) many += "nokey\n";
  EXPECT_FALSE(script.Parse(many, &error));
  EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 10);
  EXPECT_NE(error.find("line 10: unknown key \"nokey\""), std::string::npos);
  EXPECT_NE(error.find("15 more bad lines"), std::string::npos);
}

TEST(KeyScriptTest, TheOutsideWorldPlugsTheDiskAndSetsTheSetsAnswers) {
  host::KeyScript script;
  std::string error;
  ASSERT_TRUE(script.Parse("usb mount\nsim usb.format  none\nusb remove\n", &error)) << error;
  ASSERT_EQ(script.Steps().size(), 3u);
  EXPECT_EQ(script.Steps()[0].kind, host::KeyScript::Step::kUsb);
  EXPECT_EQ(script.Steps()[0].value, 1);
  EXPECT_EQ(script.Steps()[1].kind, host::KeyScript::Step::kSimState);
  EXPECT_EQ(script.Steps()[1].name, "usb.format");
  EXPECT_EQ(script.Steps()[1].text, "none");
  EXPECT_EQ(script.Steps()[2].value, 0);
  EXPECT_FALSE(script.Parse("menu\nusb eject\n", &error));
  EXPECT_EQ(error, "line 2: \"usb\" needs \"mount\", \"remove\" or \"stick\"");
  EXPECT_FALSE(script.Parse("sim usb.format\n", &error));
  EXPECT_EQ(error, "line 1: \"sim\" needs a state key and a value");
  // A new set's script: "fresh set" is no step; "air" empties a medium.
  EXPECT_FALSE(script.FreshSet());
  ASSERT_TRUE(script.Parse("fresh set\nair 1 empty\nok\n", &error)) << error;
  EXPECT_TRUE(script.FreshSet());
  ASSERT_EQ(script.Steps().size(), 2u);
  EXPECT_EQ(script.Steps()[0].kind, host::KeyScript::Step::kAir);
  EXPECT_EQ(script.Steps()[0].value, 1);
  EXPECT_FALSE(script.Parse("air 2 empty\n", &error));
  EXPECT_EQ(error, "line 1: \"air\" needs \"0 empty\" or \"1 empty\"");
  EXPECT_FALSE(script.FreshSet());
  // "event NAME" makes one of the set's events happen; other names are refused.
  ASSERT_TRUE(script.Parse("event update-found\nevent sleep-ends\n", &error)) << error;
  ASSERT_EQ(script.Steps().size(), 2u);
  EXPECT_EQ(script.Steps()[0].kind, host::KeyScript::Step::kEvent);
  EXPECT_EQ(script.Steps()[1].name, "sleep-ends");
  EXPECT_FALSE(script.Parse("event rain\n", &error));
  EXPECT_EQ(error.rfind("line 1: \"event\" needs one of update-reminder, ", 0), 0u) << error;
  // "media NAME" names the stick the scene player plugs; it is no step, and one name only.
  ASSERT_TRUE(script.Parse("media players\nok\n", &error)) << error;
  EXPECT_EQ(script.MediaSet(), "players");
  ASSERT_EQ(script.Steps().size(), 1u);
  EXPECT_FALSE(script.Parse("media\nmedia a/b\nmedia x\nmedia y\n", &error));
  EXPECT_EQ(error,
            "line 1: \"media\" needs one set name of letters, digits, '-', '_' or '.'\n"
            "line 2: \"media\" needs one set name of letters, digits, '-', '_' or '.'\n"
            "line 4: \"media\" needs one set name of letters, digits, '-', '_' or '.'");
  // "server NAME" likewise names the set the scene player offers as a home-network server.
  ASSERT_TRUE(script.Parse("media players\nserver players\nok\n", &error)) << error;
  EXPECT_EQ(script.ServerSet(), "players");
  ASSERT_EQ(script.Steps().size(), 1u);
  EXPECT_FALSE(script.Parse("server a b\nserver x\nserver y\n", &error));
  EXPECT_EQ(error,
            "line 1: \"server\" needs one set name of letters, digits, '-', '_' or '.'\n"
            "line 3: \"server\" needs one set name of letters, digits, '-', '_' or '.'");
  ASSERT_TRUE(script.Parse("ok\n", &error));
  EXPECT_EQ(script.MediaSet(), "");
  EXPECT_EQ(script.ServerSet(), "");
}

// The lines of the outside world are checked like the others: each bad one
// is named, before and after other bad lines. A shot's file name (NAME.png)
// fits the 255 bytes of a file name; a folder is no script.
TEST(KeyScriptTest, EveryBadLineOfEveryKindIsNamedAndShotNamesFitAFileName) {
  host::KeyScript script;
  std::string error;
  EXPECT_FALSE(script.Parse("nokey\nusb eject\nok\nsim usb.format\nair 2 empty\nwait soon\n", &error));
  EXPECT_EQ(error,
            "line 1: unknown key \"nokey\"\n"
            "line 2: \"usb\" needs \"mount\", \"remove\" or \"stick\"\n"
            "line 4: \"sim\" needs a state key and a value\n"
            "line 5: \"air\" needs \"0 empty\" or \"1 empty\"\n"
            "line 6: \"wait\" needs milliseconds");
  EXPECT_TRUE(script.Steps().empty());

  const std::string longest(host::KeyScript::kMaxShotName, 'a');
  ASSERT_TRUE(script.Parse("shot " + longest + "\nsnap " + longest + "\n", &error)) << error;
  EXPECT_EQ((longest + ".png").size(), 255u);
  EXPECT_FALSE(script.Parse("shot " + longest + "b\nsnap " + longest + "b\n", &error));
  EXPECT_EQ(error,
            "line 1: \"shot\" needs a name of at most 251 bytes, not 252\n"
            "line 2: \"snap\" needs a name of at most 251 bytes, not 252");

  const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("tvui-keys-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  EXPECT_FALSE(script.Load(folder.string(), &error));
  EXPECT_EQ(error, "it is a folder, not a file");
  std::filesystem::remove_all(folder);
  EXPECT_FALSE(script.Load(folder.string(), &error));
  EXPECT_EQ(error, "cannot read it (No such file or directory)");
}

// A root that shows a box: Right moves it, and a timer moves it down every 400 ms.
class BoxRoot : public Core::Root {
  KV_CLASS(hosttest, BoxRoot, Core::Root)
 public:
  BoxRoot() {
    box_ = kv::New<Views::Rectangle>();
    box_->OnSetBounds({100, 100, 200, 160});
    box_->OnSetColor({250, 120, 20, 200});
    Add(box_);
    timer_.OnTrigger = kv::MakeSlot(this, &BoxRoot::Down);
    timer_.OnSetBegin(400);
    timer_.OnSetPeriod(400);
  }
  kv::Object* PreDispatch(Core::Event* event) override {
    auto* key = kv::Cast<Events::XPM_EVENT_KEY>(event);
    if (key && key->Code == keys::KEY_RIGHT) {
      box_->OnSetBounds(box_->Bounds().Move({40, 0}));
      timer_.OnSetEnabled(true);
      return this;
    }
    return nullptr;
  }
  bool IsScreenShown() override { return true; }
  void Down(kv::Object*) { box_->OnSetBounds(box_->Bounds().Move({0, 30})); }

 private:
  kv::Member<Views::Rectangle> box_;
  Core::Timer timer_;
};

std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class ScriptRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = std::filesystem::temp_directory_path() / ("tvui-script-" + std::to_string(::getpid()));
    std::filesystem::remove_all(base_);
    std::filesystem::create_directories(base_);
    std::ofstream(base_ / "keys.txt") << "right\nshot a\nright\nwait 1000\nshot b\nleft\nshot c\n";
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(base_, ec);
  }

  // One headless run of the script on a fresh virtual clock and a new set.
  int Run(const std::string& name) {
    kv::Runtime::ResetForTests();
    kv::VirtualClock clock(0);
    kv::SetClock(&clock);
    int status;
    {
      sim::Sim tv((base_ / (name + "-data")).string());
      tv.Start();
      host::Options options;
      options.dataDir = (base_ / (name + "-data")).string();
      options.backend = dfb::Backend::kHeadless;
      options.rootClass = &BoxRoot::StaticClass();
      options.fontPath = TVUI_BINARY_DIR "/fonts/tt7268m_803.ttf";
      options.keysFile = (base_ / "keys.txt").string();
      EXPECT_TRUE(host::KeyScript::Read(options.keysFile, &options.keysScript, nullptr));
      options.shotsDir = (base_ / name).string();
      status = host::app_main(options);
      tv.Stop();
    }
    kv::SetClock(nullptr);
    kv::Runtime::ResetForTests();
    return status;
  }

  std::filesystem::path base_;
};

TEST_F(ScriptRunTest, SameScriptTwiceGivesTheSameScreenshots) {
  ASSERT_EQ(Run("first"), 0);
  ASSERT_EQ(Run("second"), 0);
  for (const char* shot : {"a.png", "b.png", "c.png"}) {
    const std::string one = ReadFile(base_ / "first" / shot);
    ASSERT_FALSE(one.empty()) << shot;
    EXPECT_EQ(one, ReadFile(base_ / "second" / shot)) << shot;
  }
  // The keys and the timer changed the screen between the shots; the unused key did not.
  EXPECT_NE(ReadFile(base_ / "first/a.png"), ReadFile(base_ / "first/b.png"));
  EXPECT_EQ(ReadFile(base_ / "first/b.png"), ReadFile(base_ / "first/c.png"));
}

// A shot first thing waits for the first redraw: it shows the box just as a
// shot taken later on an unchanged screen does.
TEST_F(ScriptRunTest, AShotAtTheStartShowsTheFirstRedraw) {
  std::ofstream(base_ / "keys.txt") << "shot start\nwait 100\nshot later\n";
  ASSERT_EQ(Run("early"), 0);
  const std::string start = ReadFile(base_ / "early/start.png");
  ASSERT_FALSE(start.empty());
  EXPECT_EQ(start, ReadFile(base_ / "early/later.png"));
}

TEST_F(ScriptRunTest, ABadScriptEndsTheRunWithAFailure) {
  std::ofstream(base_ / "keys.txt") << "ok\nnot-a-key\n";
  EXPECT_EQ(Run("bad"), 1);
}

}  // namespace
