// The ways into and out of the media player as a person takes them: the
// question a plugged stick raises and the media kind menu behind it, the
// sources the device dialog offers, and standby from a browse screen.
// Driven by keys through the GUI loop with real sticks and server folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "player_fixture.h"
#include "units/MediaPlayer/ListViews.h"
#include "units/MediaPlayer/MediaPlayerDialogs.h"
#include "units/MediaPlayer/PhotoMultiView.h"
#include "units/MediaPlayer/SourceSelect.h"
#include "units/NonMenuSystem/HelpBar.h"

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
