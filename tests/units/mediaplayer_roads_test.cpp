// The ways into and out of the media player as a person takes them: the
// question a plugged stick raises and the media kind menu behind it, the
// sources the device dialog offers, and standby from a browse screen.
// Driven by keys through the GUI loop with real sticks and server folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/xpm/xpm_record.h"
#include "player_fixture.h"
#include "units/MediaPlayer/ListViews.h"
#include "units/MediaPlayer/MediaPlayerDialogs.h"
#include "units/MediaPlayer/PhotoMultiView.h"
#include "units/MediaPlayer/SourceSelect.h"
#include "units/NonMenuSystem/HelpBar.h"
#include "units/PersistentData/PersistentData.h"
#include "units/SkinBin/StatusRecords.h"

namespace playertest {
namespace {

using namespace MediaPlayer;

class MediaRoadTest : public PlayerTest {
 protected:
  std::string HelpText() {
    for (Primitives::KeyRoutingForm* f : OpenForms())
      if (auto* bar = kv::Cast<NonMenuSystem::HelpBar>(f); bar && bar->IsVisible())
        return bar->HelpStringList.ToUtf8();
    return {};
  }
  int32_t Source() { return W()->GetCurrentSource(0); }
  // The stick plugged anew: the question, then Yes: the media kind menu.
  USBMediaPlayerMenu* KindMenuByQuestion(int32_t& stick) {
    if (stick) psl::Unplug(stick);
    Settle();
    Run(500);
    stick = Plug("stick");
    Run(1500);
    if (!Find<MediaPlayerOpenConfirmDialog>()) return nullptr;
    Press("ok");
    Run(500);
    return Find<USBMediaPlayerMenu>();
  }
  // A key that reaches live TV: the menu opens.
  bool MenuKeyAnswers() {
    Press("menu");
    Run(300);
    const bool open = Wm()->FindFormOf(KV_LATE_CLASS("MenuSystem::VidiMainMenu")) != nullptr;
    Press("exit");
    Run(300);
    return open;
  }
};

TEST_F(MediaRoadTest, TheMediaKindMenuClosesWithBackAndExitAndTakesNoHelpBarAlong) {
  WriteStick("stick", {"a.jpg", "b.jpg", "c.wav"});
  int32_t stick = 0;
  for (const char* key : {"back", "exit"}) {
    SCOPED_TRACE(key);
    ASSERT_NE(KindMenuByQuestion(stick), nullptr);
    Press(key);
    Run(300);
    EXPECT_EQ(Find<USBMediaPlayerMenu>(), nullptr);
    // Back goes to the previous state, the question; Exit closes them all.
    EXPECT_EQ(Find<MediaPlayerOpenConfirmDialog>() != nullptr, std::string(key) == "back");
    Press("exit");
    Run(300);
    EXPECT_TRUE(MenuKeyAnswers());
  }
  // Photo, the grid of the only stick, Back at its top: the kind menu again,
  // without the grid's help bar.
  const int32_t tv = Source();
  ASSERT_NE(KindMenuByQuestion(stick), nullptr);
  Press("ok");
  Run(2000);
  ASSERT_NE(Find<PhotoMultiView>(), nullptr);
  ASSERT_NE(HelpText(), "");
  Press("back");
  Run(1000);
  ASSERT_NE(Find<USBMediaPlayerMenu>(), nullptr);
  EXPECT_EQ(HelpText(), "");
  EXPECT_EQ(Source(), tv);
  Press("back");
  Run(300);
  EXPECT_EQ(Find<USBMediaPlayerMenu>(), nullptr);
  Press("exit");
  Run(300);
  EXPECT_TRUE(MenuKeyAnswers());
}

TEST_F(MediaRoadTest, StandbyFromABrowseScreenWakesOnTheLastTvSource) {
  WriteStick("stick", {"a.wav", "b.wav"});
  Plug("stick");
  const int32_t tv = Source();
  ASSERT_NE(tv, kMediaSource);
  // The music list through the menu's media page.
  MenuMediaEntry(1);
  ASSERT_NE(Find<MusicListView>(), nullptr);
  ASSERT_EQ(Source(), kMediaSource);
  Press("power");
  Run(2000);
  ASSERT_TRUE(App().GetStandby()->IsInStandby());
  Press("power");
  Run(3000);
  EXPECT_FALSE(App().GetStandby()->IsInStandby());
  EXPECT_EQ(Find<MusicListView>(), nullptr);
  EXPECT_EQ(Source(), tv) << "awake on the empty media input";
  EXPECT_TRUE(MenuKeyAnswers());
}

// A stick or the USB disk plugged while the set is off raises no question:
// nothing is drawn on the switched-off screen, and the set wakes to live TV
// without one; taken out and plugged again once the set is on, the question
// comes as before.
TEST_F(MediaRoadTest, ADevicePluggedInStandbyRaisesNoQuestionThenNorOnWaking) {
  WriteStick("stick", {"a.jpg"});
  for (const bool disk : {false, true}) {
    SCOPED_TRACE(disk ? "the USB disk" : "a stick");
    int32_t stick = 0;
    auto plug = [&] {
      if (disk)
        sim::MountUsbDisk(Tv());
      else
        stick = Plug("stick");
      Run(2000);
    };
    auto unplug = [&] {
      if (disk)
        sim::RemoveUsbDisk(Tv());
      else
        psl::Unplug(stick);
      Run(2000);
    };
    Press("power");
    Run(2000);
    ASSERT_TRUE(App().GetStandby()->IsInStandby());
    plug();
    EXPECT_TRUE(SeenTexts().empty()) << "drawn on the switched-off screen:\n" << SeenList();
    Press("info");
    Run(500);
    EXPECT_TRUE(SeenTexts().empty()) << SeenList();
    Press("power");
    Run(3000);
    ASSERT_FALSE(App().GetStandby()->IsInStandby());
    EXPECT_EQ(Find<MediaPlayerOpenConfirmDialog>(), nullptr) << SeenList();
    EXPECT_TRUE(MenuKeyAnswers());
    unplug();
    plug();
    EXPECT_NE(Find<MediaPlayerOpenConfirmDialog>(), nullptr) << "plugged while the set is on\n" << SeenList();
    Press("exit");
    Run(500);
    unplug();
  }
}

// A set switched off at the plug while a browse screen is open starts again
// on the TV source the viewer left for the media player, with its channel:
// TV 1 on the channel watched, HDMI 1 when the player was entered from
// there; a set whose settings keep no such source starts on TV 1's channel.
TEST_F(MediaRoadTest, APowerCutOnABrowseScreenStartsOnTheLastTvSourceAndItsChannel) {
  WriteStick("stick", {"a.wav", "b.wav"});
  Plug("stick");
  const int32_t tv = Source();
  ASSERT_NE(tv, kMediaSource);
  // Away from the first channel, so that the channel is the one left.
  Press("ch+");
  Run(3000);
  Press("exit");
  Run(300);
  SkinBin::CurrentChannelInfo* watched = W()->GetCurrentChannelDetailInfo();
  ASSERT_NE(watched, nullptr);
  const std::string name = watched->Name.ToUtf8();
  ASSERT_FALSE(name.empty());
  const int32_t hdmi = W()->GetSourceByType(0, Constants::XPM_SOURCE_TYPE_AV_HDMI, 1);
  ASSERT_GE(hdmi, 0);
  struct Case {
    const char* what;
    int32_t from;       // the source the media player is entered from
    bool keep;          // the settings keep it across the power cut
    int32_t expected;   // the source the set starts on
    std::string reads;  // what Info shows there
  };
  const Case cases[] = {{"from TV 1", tv, true, tv, name},
                        {"from HDMI 1", hdmi, true, hdmi, "HDMI 1"},
                        {"none kept", hdmi, false, tv, name}};
  bool restarted = false;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // The stick plugged again after the power cut.
    if (restarted) Plug("stick");
    restarted = true;
    if (Source() != c.from) {
      W()->SetSource(0, c.from);
      Run(3000);
      Press("exit");
      Run(300);
    }
    MenuMediaEntry(1);
    ASSERT_NE(Find<MusicListView>(), nullptr) << SeenList();
    ASSERT_EQ(Source(), kMediaSource);
    // A set whose settings keep no source to return to (written before it kept one).
    if (!c.keep)
      kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData)
          ->RemoveString(kv::NewStringAnsi("PreviousSource"));
    Settle();
    Restart();
    Run(3000);
    EXPECT_EQ(Source(), c.expected);
    // The stick's question aside, Info tells what is on.
    Press("exit");
    Run(500);
    Press("info");
    Run(500);
    EXPECT_TRUE(Sees(c.reads)) << SeenList();
    Press("exit");
    Run(500);
    EXPECT_TRUE(MenuKeyAnswers());
  }
}

TEST_F(MediaRoadTest, AServerWhoseSettingsNameNothingIsListedByItsFolder) {
  WriteStick("stick", {"a.wav"});
  Plug("stick");
  for (const char* folder : {"attic", "den"}) {
    const std::filesystem::path dir = DataDir() / "media" / "servers" / folder;
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "server.ini") << (std::string(folder) == "attic" ? "name=\n" : "name=  \n") << "address=10.0.0.9\n";
    media_writer::WriteWav((dir / "x.wav").string(), 2);
  }
  psl::Rescan();
  Settle();
  // The media page's Music: three sources, the device dialog lists them.
  MenuMediaEntry(1);
  auto* dialog = Find<MediaDeviceSelectDialog>();
  ASSERT_NE(dialog, nullptr);
  std::vector<std::string> rows;
  for (Forms::Ctrl* row : dialog->List().GetRows()) rows.push_back(Text(row));
  EXPECT_EQ(rows, (std::vector<std::string>{"USB: stick", "DLNA: attic", "DLNA: den"}));
}

}  // namespace
}  // namespace playertest
