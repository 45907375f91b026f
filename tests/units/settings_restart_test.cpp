// What the user sets survives a restart of the process: the whole system is
// stopped without standby and started again on the same data folder
// (AppTest::Restart), so only what reached the files is still there.
#include <gtest/gtest.h>

#include <filesystem>

#include "menusystem_support.h"
#include "platform/xpm/xpm_settings.h"

namespace menutest {
namespace {

using MenuSystem::EnterPinMenu;
using MenuSystem::VidiLocksMenu;

class SettingsRestartTest : public MenuTest {
 protected:
  SettingsRestartTest() { makeDataFolder_ = false; }
  bool SettingsFileExists() const { return std::filesystem::exists(DataDir() / "settings.dat"); }
};

TEST_F(SettingsRestartTest, PinMenuEntryAndVolumeSurviveARestartOfANewSet) {
  // The first change on a new set writes the settings file.
  Press("menu");
  Settle();
  Step("down", 4);  // Locks, the fifth entry
  ASSERT_NE(kv::Cast<MenuSystem::ChangePinMenu>(Page()), nullptr) << "no PIN yet: the page asks for a new one";
  Press("ok");
  Settle();
  Digits("4321");
  Digits("4321");
  ASSERT_NE(kv::Cast<VidiLocksMenu>(Page()), nullptr);
  EXPECT_TRUE(SettingsFileExists()) << "the PIN is written by the end of its pass";
  Press("exit");
  Settle();
  ASSERT_EQ(Column(), nullptr);
  Press("vol+", 3);
  Run(4000);
  int32_t volume = -1;
  ASSERT_EQ(XPM_GetVolume(&volume), XPM_OK);

  Restart();

  int32_t after = -1;
  ASSERT_EQ(XPM_GetVolume(&after), XPM_OK);
  EXPECT_EQ(after, volume);
  // The menu opens on Locks again, which asks for the PIN set before the restart.
  Press("menu");
  Settle();
  ASSERT_NE(Column(), nullptr);
  EXPECT_EQ(Column()->CurrentItemIndex, 5);
  auto* enter = kv::Cast<EnterPinMenu>(Page());
  ASSERT_NE(enter, nullptr) << "the PIN was lost: anyone may set a new one";
  Press("ok");
  Settle();
  Digits("1111");
  EXPECT_EQ(kv::Cast<VidiLocksMenu>(Page()), nullptr);
  Digits("4321");
  EXPECT_NE(kv::Cast<VidiLocksMenu>(Page()), nullptr);
}

}  // namespace
}  // namespace menutest
