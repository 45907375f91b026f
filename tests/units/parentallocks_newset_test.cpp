// The locks as a new set meets them: no state forced, the PIN stored as the
// PIN screen stores it, blocks set through the dialogs and the set's own
// calls, channels tuned by the remote. What counts is what the viewer sees:
// the picture blacked out and the PIN prompt on screen, and the picture back
// after the PIN.
#include <gtest/gtest.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "parentallocks_support.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_guide.h"
#include "platform/sim/sim_tv_state.h"
#include "platform/xpm/xpm.h"
#include "platform/xpm/xpm_settings.h"
#include "runtime/member.h"
#include "strings/SkinBinWrapper.h"
#include "units/Channels/ChannelLockDialogs.h"
#include "units/Constants/Constants.h"
#include "units/ParentalLocks/PinPrompts.h"
#include "units/ParentalLocks/RatingDialogs.h"

namespace parentallockstest {
namespace {

using ParentalLocks::ChannelLockEnterPin;

class NewSetLocksTest : public ParentalLocksTest {
 protected:
  void SetUpData() override { WatchThePicture(); }
  void TearDown() override {
    Tv().Quiesce();
    sim::SetPictureSink(nullptr);
    ParentalLocksTest::TearDown();
  }
  void WatchThePicture() {
    sim::SetPictureSink([this](const uint32_t* px, int32_t w, int32_t h) {
      std::lock_guard<std::mutex> lock(planeMutex_);
      plane_.assign(px, px + size_t(w) * size_t(h));
      planeWidth_ = w;
    });
  }
  // The set shows a picture (not black) in the middle of the screen.
  bool Picture() {
    Tv().Quiesce();
    std::lock_guard<std::mutex> lock(planeMutex_);
    const size_t i = size_t(270) * size_t(planeWidth_) + size_t(480);
    return planeWidth_ == sim::kPlaneWidth && i < plane_.size() && (plane_[i] & 0xFFFFFFu) != 0;
  }
  void StorePin() { Store()->PutString(SkinBinWrapper::KEY_PIN, kv::String::FromUtf8("1234")); }
  // The PIN prompt on screen, focused on its entry.
  bool Prompt() {
    auto* p = Open<ChannelLockEnterPin>();
    return p && p->IsOpen() && p->IsVisible();
  }
  // Blocks, in the US TV dialog as the viewer does, the TV rating of the
  // programme on 7-1 now (and so each stronger one).
  void BlockTheProgrammeOn71() {
    sim::GuideEvent now;
    ASSERT_TRUE(sim::GuideEventAt(7, 1, Tv().Tv().NetworkTime(), &now));
    const int32_t level = (sim::UsRatingWord(now) >> 28) & 0xF;  // 3 TV-G ... 6 TV-MA
    ASSERT_GE(level, 3);
    const int32_t box[] = {3, 4, 9, 14};  // TV-G, TV-PG, TV-14, TV-MA, whole
    kv::Persistent<ParentalLocks::USTVRatingsDialog> d = OpenFromMenu<ParentalLocks::USTVRatingsDialog>();
    ASSERT_NE(d, nullptr);
    FocusBox(d, box[level - 3]);
    Press("ok");
    Press("exit");
    Settle();
  }
  // The picture black under the PIN prompt; the right PIN closes the prompt
  // and brings the picture back.
  void ExpectBlackedOutUntilThePin() {
    EXPECT_TRUE(Prompt());
    EXPECT_FALSE(Picture());
    Type("1234");
    EXPECT_FALSE(Prompt());
    Run(500);
    EXPECT_TRUE(Picture());
  }
  // Menu > Locks as the remote reaches it: the first time a new PIN typed
  // twice, after that (the menu remembers its item) the PIN asked once.
  void EnterLocks(const char* pin, bool newPin) {
    Press("menu");
    Run(500);
    if (newPin) Step("up", 3);
    Press("ok");
    Run(300);
    Type(pin);
    Run(300);
    if (newPin) Type(pin);
    Run(500);
    Settle();
  }
  // From the locks page: Channel locks, OK on the first row (2-1).
  void ToggleTheFirstChannelLock() {
    Step("down");
    Press("ok");
    Run(800);
    Settle();
    ASSERT_NE(Open<Channels::ChannelLockDialog>(), nullptr) << SeenList();
    Press("ok");
    Run(600);
    Settle();
  }
  int32_t ChannelLock(int32_t major, int32_t minor) {
    int32_t locked = -1;
    XPM_GetChannelLock(major, minor, &locked);
    return locked;
  }
  // With a PIN stored and 2-2 locked, ch+ from 2-1.
  void UpToTheLocked22() {
    StorePin();
    ASSERT_EQ(XPM_SetChannelLock(2, 2, 1), XPM_OK);
    Press("ch+");
    Run(3000);
    Settle();
  }
  void TuneByNumber(const char* major, const char* minor) {
    Digits(major);
    Press("dash");
    Digits(minor);
    Press("ok");
    Run(3000);
    Settle();
  }

 private:
  std::mutex planeMutex_;
  std::vector<uint32_t> plane_;
  int32_t planeWidth_ = 0;
};

// A new set with a PIN and a rating blocked blacks out the blocked
// programme and asks for the PIN; the PIN brings the picture back.
TEST_F(NewSetLocksTest, ANewSetBlocksARatingAndAsksForThePin) {
  EXPECT_EQ(LocksState(), 2);  // locks on, as the set comes from the factory
  StorePin();
  BlockTheProgrammeOn71();
  TuneByNumber("7", "1");
  ExpectBlackedOutUntilThePin();
  // The keys act again: the next channel.
  ClearCallLog();
  Press("ch+");
  Run(2000);
  Settle();
  EXPECT_FALSE(Calls("XPM_SetChannel").empty());

  // Settings > Reset all brings the locks back on.
  ASSERT_EQ(XPM_SetParentalLocksState(0), XPM_OK);
  ASSERT_EQ(XPM_Reset(0), XPM_OK);
  EXPECT_EQ(LocksState(), 2);
}

// A locked channel asks for the PIN, whichever way it is reached: ch+, its
// number, and at start-up.
TEST_F(NewSetLocksTest, ALockedChannelAsksForThePinByChannelUpByNumberAndAtStartUp) {
  UpToTheLocked22();
  ExpectBlackedOutUntilThePin();

  Press("ch-");  // back to 2-1, the locks on again
  Run(3000);
  Settle();
  EXPECT_TRUE(Picture());
  TuneByNumber("2", "2");
  int32_t major = 0, minor = 0;
  Tv().Tv().CurrentChannel(0, &major, &minor, "test");
  EXPECT_EQ(major * 10 + minor, 22);
  EXPECT_TRUE(Prompt());
  EXPECT_FALSE(Picture());

  // Switched off on 2-2 and on again: the prompt at once.
  Restart();
  WatchThePicture();
  XPM_InitClient();  // the client's start, as the host makes it
  Run(3000);
  Settle();
  EXPECT_TRUE(Prompt());
  EXPECT_FALSE(Picture());
  Type("1234");
  EXPECT_FALSE(Prompt());
}

// A locked input asks for the PIN when it is chosen with Input.
TEST_F(NewSetLocksTest, ALockedInputAsksForThePinByInput) {
  StorePin();
  // The first input after the tuners, as the input dialog lists them.
  int32_t index = 1, av = -1;
  for (; index < 8; ++index) {
    av = W()->GetSourceId(index);
    const int32_t type = W()->GetSourceType(av);
    if (type != Constants::XPM_SOURCE_TYPE_RF_TUNER && type != Constants::XPM_SOURCE_TYPE_RF_DIGITAL) break;
  }
  ASSERT_EQ(XPM_SetSourceLock(av, 1), XPM_OK);
  Press("input");
  Settle();
  Press("down", index);
  Press("ok");
  Run(3000);
  Settle();
  EXPECT_EQ(W()->GetCurrentSource(0), av);
  EXPECT_TRUE(Prompt());
  Type("1234");
  EXPECT_FALSE(Prompt());
  EXPECT_EQ(LocksState(), 1);
}

// The block follows the programme on now: a channel watched while a lower
// rating plays blacks out with the prompt when the blocked programme starts,
// and comes back when a lower rating follows it, without a key pressed.
TEST_F(NewSetLocksTest, TheBlockFollowsTheProgrammeOnNowAsItChanges) {
  StorePin();
  {
    kv::Persistent<ParentalLocks::USTVRatingsDialog> d = OpenFromMenu<ParentalLocks::USTVRatingsDialog>();
    ASSERT_NE(d, nullptr);
    FocusBox(d, 9);  // TV-14, whole
    Press("ok");
    Press("exit");
    Settle();
  }
  // 7-1: TV-PG for ten more minutes, then TV-14 for half an hour, then TV-G.
  const int64_t now = Tv().Tv().NetworkTime();
  auto programme = [](int32_t id, int64_t start, int32_t minutes, int32_t rating) {
    sim::GuideEvent e;
    e.id = id;
    e.start = start;
    e.duration = minutes * 60;
    e.title = "Rated " + std::to_string(rating);
    e.rating = rating;
    return e;
  };
  sim::SetChannelGuide(Tv(), 7, 1,
                       {programme(971, now - 600, 20, 1), programme(972, now + 600, 30, 2),
                        programme(973, now + 2400, 600, 0)});
  TuneByNumber("7", "1");
  EXPECT_FALSE(Prompt());
  EXPECT_TRUE(Picture());

  Run(12 * 60 * 1000);  // past the start of the TV-14 programme
  Settle();
  EXPECT_TRUE(Prompt());
  EXPECT_FALSE(Picture());

  Run(30 * 60 * 1000);  // past its end: TV-G
  Settle();
  EXPECT_TRUE(Picture());
  EXPECT_FALSE(Prompt());
}

// Lifted until standby, the locks are on again after a power cut, and the
// programme blocked asks for the PIN at start-up and after standby.
TEST_F(NewSetLocksTest, ALiftedLockEndsAtAPowerCutAndAtStandby) {
  StorePin();
  ASSERT_EQ(XPM_SetChannelLock(2, 1, 1), XPM_OK);
  ASSERT_EQ(XPM_SetChannel(0, 2, 1), XPM_OK);
  Run(3000);
  Settle();
  ASSERT_TRUE(Prompt());
  Type("1234");
  EXPECT_EQ(LocksState(), 1);
  Run(500);
  EXPECT_TRUE(Picture());

  Restart();
  WatchThePicture();
  XPM_InitClient();  // the client's start, as the host makes it
  Run(3000);
  Settle();
  EXPECT_EQ(LocksState(), 2);
  EXPECT_TRUE(Prompt());
  EXPECT_FALSE(Picture());
  Type("1234");
  Run(500);
  EXPECT_TRUE(Picture());

  Press("power");  // standby
  Run(2000);
  Settle();
  Press("power");  // on again
  Run(3000);
  Settle();
  EXPECT_EQ(LocksState(), 2);
  EXPECT_TRUE(Prompt());
  EXPECT_FALSE(Picture());
}

// A lock set on the channel watched takes effect at once: the picture goes
// black while the locks screens stay open, the prompt opens when the viewer
// leaves them and stays, and lifting the lock brings the picture back.
TEST_F(NewSetLocksTest, ALockSetOnTheChannelWatchedBlacksItOutAtOnce) {
  XPM_InitClient();  // the client's start, as the host makes it
  Run(1000);
  ASSERT_TRUE(Picture());
  EnterLocks("1357", true);
  ToggleTheFirstChannelLock();
  ASSERT_EQ(ChannelLock(2, 1), 1);
  EXPECT_FALSE(Picture());
  EXPECT_FALSE(Prompt());
  EXPECT_NE(Open<Channels::ChannelLockDialog>(), nullptr);
  Press("exit");
  Run(1500);
  Settle();
  EXPECT_TRUE(Prompt());
  EXPECT_TRUE(Sees("Locked programme")) << SeenList();
  EXPECT_FALSE(Picture());
  Run(10000);
  Settle();
  EXPECT_TRUE(Prompt());
  EXPECT_FALSE(Picture());

  // The lock lifted in the same dialog: the picture at once, no prompt after.
  EnterLocks("1357", false);
  ToggleTheFirstChannelLock();
  ASSERT_EQ(ChannelLock(2, 1), 0);
  EXPECT_TRUE(Picture());
  EXPECT_NE(Open<Channels::ChannelLockDialog>(), nullptr) << SeenList();
  Press("exit");
  Run(1500);
  Settle();
  EXPECT_FALSE(Prompt());
  EXPECT_TRUE(Picture());
}

// A rating blocked while a programme of that rating (or a stronger one)
// plays blacks it out at once; the prompt follows the locks screens.
TEST_F(NewSetLocksTest, ARatingBlockedWhileItPlaysBlacksItOutAtOnce) {
  OnNow(2, 1, 3);  // TV-MA on 2-1, the channel watched
  XPM_InitClient();
  Run(1000);
  ASSERT_TRUE(Picture());
  EnterLocks("1357", true);
  Press("ok");  // the ratings locks page
  Run(800);
  Step("down");
  Press("ok");  // US TV
  Run(800);
  Settle();
  ASSERT_NE(Open<USTVRatingsDialog>(), nullptr) << SeenList();
  Step("down", 3);
  Press("ok");  // TV-PG, and so TV-14 and TV-MA
  Run(500);
  Settle();
  ASSERT_EQ(SetTV().substr(14, 1), "x");
  EXPECT_FALSE(Picture());
  EXPECT_FALSE(Prompt());
  Press("exit");
  Run(1500);
  Settle();
  EXPECT_TRUE(Prompt());
  EXPECT_FALSE(Picture());
  Type("1357");
  EXPECT_FALSE(Prompt());
  Run(500);
  EXPECT_TRUE(Picture());
}

// The prompt of a locked channel ignores Exit and Back; the keys whose
// screens clear every other one (Info, volume, Menu) close it only while
// their screens are open, and it comes back after them. The right PIN ends
// it for good.
TEST_F(NewSetLocksTest, ThePromptComesBackAfterInfoVolumeAndMenu) {
  UpToTheLocked22();
  ASSERT_TRUE(Prompt());
  for (const char* key : {"exit", "back"}) {
    Press(key);
    Run(300);
    EXPECT_TRUE(Prompt()) << key;
  }
  for (const char* key : {"vol+", "info", "menu"}) {
    SCOPED_TRACE(key);
    Press(key);
    Run(1000);
    Settle();
    EXPECT_FALSE(Prompt());
    if (std::string(key) == "menu") Press("exit");
    Run(20000);
    Settle();
    EXPECT_TRUE(Prompt()) << SeenList();
    EXPECT_FALSE(Picture());
  }
  Type("1234");
  EXPECT_FALSE(Prompt());
  Press("vol+");
  Run(20000);
  Settle();
  EXPECT_FALSE(Prompt());
  EXPECT_TRUE(Picture());
}

}  // namespace
}  // namespace parentallockstest
