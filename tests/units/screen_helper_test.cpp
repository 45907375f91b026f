// The application fixture's view of the screen: the texts a viewer reads a
// moment after a key, and the screens open.
#include <gtest/gtest.h>

#include <string>

#include "nonmenusystem_support.h"

namespace livetvtest {
namespace {

class ScreenHelperTest : public LiveTVTest {
 protected:
  bool VolumeBarOpen() {
    for (const apptest::OpenScreen& s : Screens())
      if (s.cls == "NonMenuSystem::CommonVolumeBar" && s.visible) return true;
    return false;
  }
};

#ifdef KV_VERIFY
// The volume number is read on screen while the bar shows, and is gone once
// the bar's time-out has passed; a key afterwards is answered again.
TEST_F(ScreenHelperTest, TheVolumeNumberIsSeenWhileTheBarShowsAndNotAfterItsTimeOut) {
  Press("vol+");
  Run(300);
  ASSERT_TRUE(VolumeBarOpen());
  const std::string number = std::to_string(W()->OnGetVolume());
  EXPECT_TRUE(Sees(number)) << SeenList();
  bool drawnByTheBar = false;
  for (const Core::SeenText& t : SeenTexts())
    if (t.text == number) drawnByTheBar = t.screen == "NonMenuSystem::CommonVolumeBar" && t.Readable();
  EXPECT_TRUE(drawnByTheBar) << SeenList();
  Run(3000);
  EXPECT_FALSE(VolumeBarOpen());
  EXPECT_FALSE(Sees(number)) << SeenList();
  Press("vol-");
  Run(300);
  EXPECT_TRUE(VolumeBarOpen());
  EXPECT_TRUE(Sees(std::to_string(W()->OnGetVolume()))) << SeenList();
}
#endif

}  // namespace
}  // namespace livetvtest
