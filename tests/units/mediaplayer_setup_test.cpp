// The renderer and media player setup through the whole system: pages opened
// by a state change as nothing in the menu leads to them, keys from the
// remote, the settings in the set's file after a restart, the media
// service's calls in the call log.
#include <gtest/gtest.h>

#include <string>

#include "menusystem_support.h"
#include "strings/MainApp.h"
#include "units/MediaPlayer/RendererSetupPages.h"
#include "units/MediaPlayer/SetupItems.h"
#include "units/NonMenuSystem/HelpBar.h"
#include "units/PersistentData/PersistentData.h"

namespace menutest {
namespace {

using namespace MediaPlayer;

class RendererSetupTest : public MenuTest {
 protected:
  PersistentData::PersistentData* Data() {
    return kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
  }
  std::string HelpText() {
    auto* bar = Open<NonMenuSystem::HelpBar>();
    return bar ? bar->OnGetHelpStringList().ToUtf8() : std::string();
  }
  int32_t HelpMask() {
    auto* bar = Open<NonMenuSystem::HelpBar>();
    return bar ? bar->OnGetHelpButtonMask() : -1;
  }
};

TEST_F(RendererSetupTest, RendererPageRowsSwitchTheRendererAndKeepTheSettingOverARestart) {
  kv::Persistent<MediaRenderSetupMenu> page{OpenPage<MediaRenderSetupMenu>()};
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->RowCount(), 5);
  EXPECT_EQ(Focused(), page->Item(MediaRenderSetupMenu::kInstall));
  EXPECT_EQ(page->Item(MediaRenderSetupMenu::kInstall)->OnGetText().ToUtf8(), "Installation");
  // The renderer row is on by default; stepping it switches the service to
  // network media only, then back to media and renderer.
  Press("down");
  ASSERT_EQ(Focused(), page->Item(MediaRenderSetupMenu::kRenderer));
  ASSERT_EQ(Skin()->OnGetMediaRenderer(), 1);
  ClearCallLog();
  Press("right");
  EXPECT_EQ(Skin()->OnGetMediaRenderer(), 0);
  Press("right");
  EXPECT_EQ(Skin()->OnGetMediaRenderer(), 1);
  const std::vector<std::string> calls = Calls("PslMediaEnableDLNA");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_NE(calls[0].find("1"), std::string::npos) << calls[0];
  EXPECT_NE(calls[1].find("3"), std::string::npos) << calls[1];
  Press("left");
  ASSERT_EQ(Skin()->OnGetMediaRenderer(), 0);
  Restart();
  EXPECT_EQ(Data()->GetInteger(MainApp::KEY_MEDIA_RENDERER), 0);
  // The next key still answers: the page opens again with the stored value.
  page = OpenPage<MediaRenderSetupMenu>(2);
  ASSERT_NE(page, nullptr);
  auto* row = kv::Cast<MenuSystem::SubMenuItemValue>(page->Item(MediaRenderSetupMenu::kRenderer));
  EXPECT_EQ(row->Value, 0);
}

TEST_F(RendererSetupTest, MaximumVolumeByArrowsAndDigitsReachesTheSettingsFile) {
  kv::Persistent<MediaRenderSetupMenu> page{OpenPage<MediaRenderSetupMenu>(5)};
  ASSERT_NE(page, nullptr);
  kv::Persistent<MaxVolSeptupItem> item{page->MaxVolume()};
  ASSERT_EQ(Focused(), item.get());
  EXPECT_EQ(item->Value, 50);
  EXPECT_EQ(HelpMask(), 0x40006);
  Press("right", 3);
  EXPECT_EQ(Skin()->OnGetMax_Volume_Setup(), 53);
  Press("left");
  EXPECT_EQ(Skin()->OnGetMax_Volume_Setup(), 52);

  // Two digits and OK: the entry shows instead of the value, with its help.
  Press("7");
  EXPECT_TRUE(item->IsNumberEdit);
  EXPECT_TRUE(item->NumberForm().IsVisible());
  EXPECT_FALSE(item->ValueText().IsVisible());
  EXPECT_EQ(HelpMask(), 0x40202);
  EXPECT_NE(HelpText().find("Enter"), std::string::npos) << HelpText();
  Press("5");
  Press("ok");
  EXPECT_FALSE(item->IsNumberEdit);
  EXPECT_EQ(Skin()->OnGetMax_Volume_Setup(), 75);
  EXPECT_EQ(HelpMask(), 0x40006);
  // Three digits end the entry by themselves; above 100 is kept at 100.
  Press("1");
  Press("2");
  Press("0");
  EXPECT_FALSE(item->IsNumberEdit);
  EXPECT_EQ(Skin()->OnGetMax_Volume_Setup(), 100);
  // Up inside the entry does nothing; down puts 50 back and ends it.
  Press("3");
  Press("up");
  EXPECT_TRUE(item->IsNumberEdit);
  EXPECT_EQ(Focused(), item.get());
  Press("down");
  EXPECT_FALSE(item->IsNumberEdit);
  EXPECT_EQ(Skin()->OnGetMax_Volume_Setup(), 50);
  // Back cancels an entry and keeps the value.
  Press("9");
  Press("back");
  EXPECT_FALSE(item->IsNumberEdit);
  EXPECT_EQ(Skin()->OnGetMax_Volume_Setup(), 50);
  Press("1");
  Press("0");
  Press("0");
  Press("left");
  ASSERT_EQ(Skin()->OnGetMax_Volume_Setup(), 99);
  Restart();
  EXPECT_EQ(Data()->GetInteger(MainApp::KEY_MAX_VOLUME_SETUP), 99);
}

// Digits typed on the maximum-volume row show in the entry's cells as they
// are typed, and the value the entry gave shows on the row after it.
TEST_F(RendererSetupTest, MaximumVolumeDigitsShowAsTypedAndTheValueAfter) {
  kv::Persistent<MediaRenderSetupMenu> page{OpenPage<MediaRenderSetupMenu>(5)};
  ASSERT_NE(page, nullptr);
  ASSERT_EQ(Focused(), page->MaxVolume());
  EXPECT_TRUE(Sees("50")) << SeenList();
  Press("7");
  EXPECT_TRUE(Sees("7")) << SeenList();
  EXPECT_FALSE(Sees("50")) << SeenList();
  Press("0");
  EXPECT_TRUE(Sees("7")) << SeenList();
  EXPECT_TRUE(Sees("0")) << SeenList();
  Press("ok");
  Run(100);
  EXPECT_TRUE(Sees("70")) << SeenList();
  // A leading zero shows as typed; the third digit ends the entry.
  Press("0");
  Press("4");
  EXPECT_TRUE(Sees("0")) << SeenList();
  EXPECT_TRUE(Sees("4")) << SeenList();
  EXPECT_FALSE(Sees("70")) << SeenList();
  Press("2");
  Run(100);
  EXPECT_TRUE(Sees("42")) << SeenList();
  EXPECT_EQ(Skin()->OnGetMax_Volume_Setup(), 42);
}

// Back from the page on its maximum-volume row: the page goes and its keys
// ("Input", "Edit") go with it from the help bar; the next key answers.
TEST_F(RendererSetupTest, BackFromThePageTakesItsHelpKeysAlong) {
  kv::Persistent<MediaRenderSetupMenu> page{OpenPage<MediaRenderSetupMenu>(5)};
  ASSERT_NE(page, nullptr);
  Run(300);
  ASSERT_TRUE(Sees("Input")) << SeenList();
  Press("back");
  Run(500);
  EXPECT_FALSE(page->IsOpen());
  EXPECT_FALSE(Sees("Input")) << SeenList();
  EXPECT_FALSE(Sees("Edit")) << SeenList();
  // Opened without the menu, the page had no menu page to go back to: Back
  // leaves live TV bare (no Media page without its column, which nothing
  // could close), and live TV takes the next key.
  EXPECT_FALSE(Sees("Video")) << SeenList();
  EXPECT_FALSE(Sees("Photo")) << SeenList();
  Press("info");
  Run(500);
  EXPECT_TRUE(Sees("2-1")) << SeenList();
  Press("exit");
  Run(500);
  Press("menu");
  Run(500);
  EXPECT_NE(Open<MenuSystem::VidiMainMenu>(), nullptr);
}

TEST_F(RendererSetupTest, BackFromThePageOpenedFromTheMenuReturnsToTheMediaPage) {
  Press("menu");
  Run(1000);
  for (int i = 0; i < 2; ++i) {  // Picture, up to Record, up to Media
    Press("up");
    Run(400);
  }
  Press("right");
  Run(500);
  ASSERT_TRUE(Sees("Video")) << SeenList();
  kv::Persistent<MediaRenderSetupMenu> page{OpenPage<MediaRenderSetupMenu>()};
  ASSERT_NE(page, nullptr);
  Press("back");
  Run(500);
  EXPECT_FALSE(page->IsOpen());
  EXPECT_TRUE(Sees("Video")) << SeenList();
  Press("exit");
  Run(500);
  EXPECT_FALSE(Sees("Video")) << SeenList();
}

TEST_F(RendererSetupTest, ControllerChoiceIsGreyedWhileAccessControlIsOff) {
  Skin()->OnSetDMC_AccessControl(0);
  kv::Persistent<MediaControllerSetupMenu> page{OpenPage<MediaControllerSetupMenu>()};
  ASSERT_NE(page, nullptr);
  EXPECT_TRUE(page->SelectController()->OnGetIsDisabled());
  // The greyed row is reached but opens nothing.
  Press("down");
  ASSERT_EQ(Focused(), page->SelectController());
  Press("ok");
  EXPECT_EQ(Open<MediaControllerSetupMenu>(), page.get());
  EXPECT_TRUE(page->IsOpen());
  Press("up");
  Press("right");
  EXPECT_EQ(Skin()->OnGetDMC_AccessControl(), 1);
  EXPECT_FALSE(page->SelectController()->OnGetIsDisabled());
  Press("down");
  EXPECT_EQ(Focused(), page->SelectController());
  Press("up");
  Press("left");
  EXPECT_EQ(Skin()->OnGetDMC_AccessControl(), 0);
  EXPECT_TRUE(page->SelectController()->OnGetIsDisabled());
  // Back returns to the renderer page.
  Press("back");
  Settle();
  EXPECT_NE(Open<MediaRenderSetupMenu>(), nullptr);
}

TEST_F(RendererSetupTest, MediaPlayerSetupShowsOneRowWithOrWithoutANetworkDevice) {
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    if (round == 1) FailCall("XPM_LAN_GetActivatedDev", -1);
    kv::Persistent<MediaPlayerSetupMenu> page{OpenPage<MediaPlayerSetupMenu>()};
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->RowCount(), 1);
    EXPECT_EQ(page->Servers()->Owner(), nullptr);
    EXPECT_EQ(Focused(), page->AutoStart());
    const int32_t before = Skin()->OnGetUSBSDAutoStart();
    Press("right");
    EXPECT_NE(Skin()->OnGetUSBSDAutoStart(), before);
    Press("down");
    EXPECT_EQ(Focused(), page->AutoStart());
    Press("back");
    Settle();
  }
}

}  // namespace
}  // namespace menutest
