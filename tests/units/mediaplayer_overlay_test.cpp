// The browse screens of the media player after something opened over them
// and closed again: the quick menu ("Features"), a message bar. The next
// key must still move the screen beneath, and a departing stick or server
// must still close it with its notice. Driven through the GUI loop with a
// real stick and server folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "player_fixture.h"
#include "runtime/auto_object.h"
#include "units/Constants/MessageTypes.h"
#include "units/Core/View.h"
#include "units/MediaPlayer/ListViews.h"
#include "units/MediaPlayer/PhotoMultiView.h"
#include "units/MediaPlayer/SelectedParam.h"
#include "units/MediaPlayer/SourceSelect.h"
#include "units/QuickMenu/QuickMenu.h"
#include "units/WinIDs/WinIDs.h"

namespace playertest {
namespace {

using namespace MediaPlayer;

class BrowseOverlayTest : public PlayerTest {
 protected:
  bool QuickMenuOpen() { return Wm()->FindForm(WinIDs::WIN_ID_QuickMenu) != nullptr; }
  // Where the focus bar is on screen.
  kv::Rect FocusAt() {
    Core::View* v = Focused();
    return v ? v->GetAbsoluteBounds() : kv::Rect{};
  }
  // Message bars of that type opened so far (the bar traces its type).
  size_t Notices(int32_t type) {
    const std::string line = MessageTypeTrace() + std::to_string(type);
    size_t n = 0;
    for (const std::string& l : Log().Lines()) n += l == line ? 1 : 0;
    return n;
  }
  void AddServer(const std::string& name, const std::vector<std::string>& files) {
    const std::filesystem::path dir = DataDir() / "media" / "servers" / name;
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "server.ini") << "name=" << name << "\naddress=10.0.0.7\n";
    for (const std::string& f : files) {
      if (f.ends_with(".jpg"))
        media_writer::WriteBytes((dir / f).string(), media_writer::Jpeg(64, 48, 0x204080, 0xC0E0FF));
      else if (f.ends_with(".avi"))
        media_writer::WriteMovie((dir / f).string(), 1, 64, 48, 120, 100, 160);
      else
        media_writer::WriteWav((dir / f).string(), 2);
    }
    psl::Rescan();
    Settle();
  }
  int32_t MediumOf(const std::string& caption) {
    for (int32_t i = 0; i < Bridge()->GetMediumCount(); ++i)
      if (Media::MediumDevice* m = Bridge()->GetMedium(i); m && m->Caption.ToUtf8().find(caption) != std::string::npos)
        return i;
    return -1;
  }
  // Opens the quick menu with Quick, closes it with `closer`, and checks
  // that the next arrow key moves the focus of the screen beneath.
  void QuickMenuThenKeyMoves(const char* closer, const char* arrow) {
    SCOPED_TRACE(closer);
    Press("quick");
    Settle();
    ASSERT_TRUE(QuickMenuOpen());
    Press(closer);
    Run(300);
    ASSERT_FALSE(QuickMenuOpen());
    const kv::Rect before = FocusAt();
    Press(arrow);
    Run(300);
    EXPECT_NE(FocusAt(), before) << "the key after the quick menu moved nothing";
  }
};

TEST_F(BrowseOverlayTest, TheMusicListReachedFromTheMenuTakesKeysAfterTheQuickMenu) {
  MusicStick();
  Plug("tunes");
  // The media page of the menu, Music: one stick, straight to its music list.
  MenuMediaEntry(1);
  auto* list = Find<MusicListView>();
  ASSERT_NE(list, nullptr);
  Press("down");
  Run(300);
  QuickMenuThenKeyMoves("back", "up");
  QuickMenuThenKeyMoves("quick", "down");
  QuickMenuThenKeyMoves("exit", "up");
  // OK opens the focused folder: the list answers it, not live TV.
  Press("ok");
  Run(1000);
  EXPECT_EQ(Find<MusicListView>(), list);
  EXPECT_EQ(W()->GetCurrentSource(0), kMediaSource);
}

TEST_F(BrowseOverlayTest, EveryBrowseScreenTakesKeysAndClosesForItsStickAfterTheQuickMenu) {
  WriteStick("mixed", {"a.jpg", "b.jpg", "c.jpg", "a.avi", "b.avi", "a.wav", "b.wav", "c.wav"});
  const int32_t stick = Plug("mixed");
  struct Case {
    const kv::Class* cls;
    const char* arrow;
  };
  const Case cases[] = {{&PhotoMultiView::StaticClass(), "right"},
                        {&PhotoListView::StaticClass(), "down"},
                        {&MusicListView::StaticClass(), "down"},
                        {&MovieListView::StaticClass(), "down"}};
  size_t removed = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cls->name);
    Bridge()->Reset();
    ASSERT_NE(OpenBrowser(c.cls), nullptr);
    QuickMenuThenKeyMoves("back", c.arrow);
    // Pulled after the quick menu: the browser closes with its notice.
    Press("quick");
    Press("back");
    Run(300);
    psl::Unplug(stick);
    Settle();
    Run(200);
    EXPECT_EQ(OpenScreenOf(c.cls), nullptr);
    EXPECT_EQ(Notices(Constants::DirectMsgTypeDeviceRemoved), ++removed);
    Run(3000);
    ASSERT_EQ(psl::PlugFolder(StickDir("mixed")), stick);
    Settle();
    Press("exit");
    Run(500);
  }
}

TEST_F(BrowseOverlayTest, AServerThatGoesClosesItsBrowserAfterTheQuickMenu) {
  AddServer("Den", {"a.wav", "b.wav"});
  const int32_t server = MediumOf("Den");
  ASSERT_GE(server, 0);
  ASSERT_NE(OpenBrowser(&MusicListView::StaticClass(), server), nullptr);
  Press("quick");
  Press("back");
  Run(300);
  ASSERT_FALSE(QuickMenuOpen());
  std::filesystem::remove_all(DataDir() / "media" / "servers" / "Den");
  psl::Rescan();
  Settle();
  Run(200);
  EXPECT_EQ(OpenScreenOf(&MusicListView::StaticClass()), nullptr);
  EXPECT_EQ(Notices(Constants::DirectMsgTypeDeviceRemoved), 1u);
}

}  // namespace
}  // namespace playertest
