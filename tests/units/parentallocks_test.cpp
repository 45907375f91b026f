// The parental locks through the whole system: the US TV, movie and
// Canadian rating dialogs writing the set's rating tables, and the PIN
// prompts over a blocked programme lifting the locks until the next change.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "parentallocks_support.h"
#include "platform/xpm/xpm_settings.h"
#include "runtime/runtime.h"
#include "strings/SkinBinWrapper.h"
#include "units/Constants/Constants.h"
#include "units/ParentalLocks/PinPrompts.h"
#include "units/ParentalLocks/RatingDialogs.h"
#include "units/PersistentData/PersistentData.h"
#include "units/SkinBin/Wrapper.h"

namespace parentallockstest {

using ParentalLocks::CANEnglishRatingsDialog;
using ParentalLocks::CANFrenchRatingsDialog;
using ParentalLocks::ChannelLockEnterPin;
using ParentalLocks::TempUnlock;
using ParentalLocks::USMovieRatingsDialog;
using ParentalLocks::USTVRatingsDialog;

// --- US TV ------------------------------------------------------------------------------

TEST_F(ParentalLocksTest, USTVDialogCascadesAndWritesOnlyTheDifferences) {
  PutTV("..................");
  kv::Persistent<USTVRatingsDialog> d = OpenFromMenu<USTVRatingsDialog>();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(Focused(), &d->Box(0));
  EXPECT_EQ(d->OnGetTimeOutValue(), 60000);

  // Down three times reaches TV-PG; OK blocks it and everything stricter.
  Press("down", 3);
  ASSERT_EQ(IndexOfFocus(d), 4);
  ClearCallLog();
  Press("ok");
  Settle();
  EXPECT_EQ(SetTV(), "....xxxxxxxxxxxxxx");
  EXPECT_EQ(Boxes(d), SetTV());
  EXPECT_EQ(Calls("XPM_SetUsAgeRating").size(), 14u);
  EXPECT_TRUE(Calls("XPM_SetUsChildRating").empty());

  // Opening TV-14 opens everything milder and its own descriptors, not TV-MA.
  PutTV("xxxxxxxxxxxxxxxxxx");
  d->ReloadTVRating();
  FocusBox(d, 9);
  Press("ok");
  Settle();
  EXPECT_EQ(SetTV(), "..............xxxx");
  EXPECT_EQ(Boxes(d), SetTV());

  // TV-PG V blocks the V of TV-14 and TV-MA only; TV-MA V opens them again.
  PutTV("..................");
  d->ReloadTVRating();
  FocusBox(d, 8);
  Press("ok");
  Settle();
  EXPECT_EQ(SetTV(), "........x....x...x");
  FocusBox(d, 17);
  Press("ok");
  Settle();
  EXPECT_EQ(SetTV(), "..................");
  // Opening TV-MA V alone leaves TV-MA blocked.
  PutTV("..............xxxx");
  d->ReloadTVRating();
  Press("ok");
  Settle();
  EXPECT_EQ(SetTV(), "..............xxx.");

  // TV-Y, the longest cascade, blocks everything; its side write blocks TV-G.
  PutTV("..................");
  d->ReloadTVRating();
  FocusBox(d, 0);
  ClearCallLog();
  Press("ok");
  Settle();
  EXPECT_EQ(SetTV(), "xxxxxxxxxxxxxxxxxx");
  EXPECT_EQ(Calls("XPM_SetUsChildRating").front(), "XPM_SetUsChildRating(1, 17895697, 1, 1)");
  EXPECT_EQ(Calls("XPM_SetUsAgeRating").front(), "XPM_SetUsAgeRating(2, 17895697, 1, 1)");

  // Opening TV-G opens TV-Y and TV-Y7 with it (and TV-Y7 through the side write).
  FocusBox(d, 3);
  ClearCallLog();
  Press("ok");
  Settle();
  EXPECT_EQ(SetTV(), "....xxxxxxxxxxxxxx");
  const std::vector<std::string> child = Calls("XPM_SetUsChildRating");
  EXPECT_NE(std::find(child.begin(), child.end(), "XPM_SetUsChildRating(2, 17895697, 0, 1)"), child.end());

  // The dialog still answers: back closes it.
  Press("back");
  Settle();
  EXPECT_FALSE(d->IsOpen());
}

TEST_F(ParentalLocksTest, USTVDialogFocusOverridesAndTimeOut) {
  kv::Persistent<USTVRatingsDialog> d = OpenFromMenu<USTVRatingsDialog>();
  ASSERT_NE(d, nullptr);
  struct Move {
    int32_t from;
    const char* key;
    int32_t to;
  };
  const Move moves[] = {{0, "right", 0},  {3, "right", 3},  {2, "right", 2},  {2, "down", 5},
                        {10, "down", 10}, {15, "left", 14}, {14, "right", 15}};
  for (const Move& m : moves) {
    SCOPED_TRACE(std::string(m.key) + " from " + std::to_string(m.from));
    FocusBox(d, m.from);
    Press(m.key);
    Settle();
    EXPECT_EQ(IndexOfFocus(d), m.to);
  }
  // Opened from the menu it waits 60 s after the last key.
  Run(50000);
  Press("up");
  Run(50000);
  Settle();
  EXPECT_TRUE(d->IsOpen());
  Run(11000);
  Settle();
  EXPECT_FALSE(d->IsOpen());
}

// While the on-screen display is locked the set takes no write: the boxes
// show the set's state again instead of the viewer's wish.
TEST_F(ParentalLocksTest, RefusedWritesReloadTheBoxes) {
  PutTV("..................");
  for (int32_t r = 2; r <= 7; ++r) XPM_SetUsMovieRating(r, 0, 1);
  kv::Persistent<USTVRatingsDialog> d = OpenFromMenu<USTVRatingsDialog>();
  ASSERT_NE(d, nullptr);
  W()->SetOSDLock(true);
  Press("ok");
  Settle();
  EXPECT_EQ(SetTV(), "..................");
  EXPECT_EQ(Boxes(d), "..................");

  kv::Persistent<USMovieRatingsDialog> m = OpenFromMenu<USMovieRatingsDialog>();
  ASSERT_NE(m, nullptr);
  Press("ok");
  Settle();
  EXPECT_EQ(SetMovie(), "......");
  EXPECT_FALSE(m->Box(0).OnGetIsChecked());
  EXPECT_FALSE(m->Box(5).OnGetIsChecked());

  kv::Persistent<CANEnglishRatingsDialog> c = OpenFromMenu<CANEnglishRatingsDialog>();
  ASSERT_NE(c, nullptr);
  Press("ok");
  Settle();
  EXPECT_FALSE(c->Box(0).OnGetIsChecked());
  W()->SetOSDLock(false);
  Press("ok");
  Settle();
  EXPECT_EQ(SetCanada(0, 6), "xxxxxx");
}

// The row headings stand whole and at least 4 px clear of the frame of the
// row's first box ("TV-MA", the widest, included).
TEST_F(ParentalLocksTest, USTVRowHeadingsKeepClearOfTheirBoxes) {
  kv::Persistent<USTVRatingsDialog> d = OpenFromMenu<USTVRatingsDialog>();
  ASSERT_NE(d, nullptr);
  const std::vector<Core::SeenText> seen = SeenTexts();
  const std::pair<const char*, int32_t> rows[] = {{"TV-Y", 0},  {"TV-Y7", 1}, {"TV-G", 3},
                                                  {"TV-PG", 4}, {"TV-14", 9}, {"TV-MA", 14}};
  for (const auto& [heading, box] : rows) {
    const kv::Rect b = d->Box(box).GetAbsoluteBounds();
    const auto t = std::find_if(seen.begin(), seen.end(), [&](const Core::SeenText& s) {
      return s.text == heading && s.box.y1 < b.y2 && s.box.y2 > b.y1;
    });
    ASSERT_NE(t, seen.end()) << heading << " not seen\n" << SeenList();
    EXPECT_TRUE(t->Readable()) << t->Describe();
    EXPECT_LE(t->ink.x2, b.x1 - 4) << t->Describe();
  }
}

// --- Movie and Canadian -----------------------------------------------------------------

TEST_F(ParentalLocksTest, MovieDialogCascadesAndWraps) {
  for (int32_t r = 2; r <= 7; ++r) XPM_SetUsMovieRating(r, 0, 1);
  kv::Persistent<USMovieRatingsDialog> d = OpenFromMenu<USMovieRatingsDialog>();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(Focused(), &d->Box(0));
  Press("up");
  EXPECT_EQ(Focused(), &d->Box(5));
  Press("down");
  EXPECT_EQ(Focused(), &d->Box(0));
  Press("down", 2);  // PG-13
  ClearCallLog();
  Press("ok");
  Settle();
  EXPECT_EQ(SetMovie(), "..xxxx");
  EXPECT_EQ(Calls("XPM_SetUsMovieRating").size(), 4u);
  // Opening R opens G, PG and PG-13 (already open) and keeps NC-17 and X.
  for (int32_t r = 2; r <= 7; ++r) XPM_SetUsMovieRating(r, 1, 1);
  d->ReloadMPAARating();
  Press("down");  // R
  ClearCallLog();
  Press("ok");
  Settle();
  EXPECT_EQ(SetMovie(), "....xx");
  EXPECT_EQ(Calls("XPM_SetUsMovieRating").size(), 4u);
  Press("back");
  Settle();
  EXPECT_FALSE(d->IsOpen());
}

TEST_F(ParentalLocksTest, CanadianDialogsWriteTheirOwnLevels) {
  for (int32_t l = 1; l <= 6; ++l) XPM_SetCanadaLevel(0, l, 0, 1);
  for (int32_t l = 1; l <= 5; ++l) XPM_SetCanadaLevel(1, l, 0, 1);
  kv::Persistent<CANFrenchRatingsDialog> fr = OpenFromMenu<CANFrenchRatingsDialog>();
  ASSERT_NE(fr, nullptr);
  EXPECT_EQ(fr->Bounds().H(), 340);
  Press("up");  // the last of five
  EXPECT_EQ(Focused(), &fr->Box(4));
  ClearCallLog();
  Press("ok");
  Settle();
  EXPECT_EQ(Calls("XPM_SetCanadaLevel"), std::vector<std::string>{"XPM_SetCanadaLevel(1, 5, 1, 1)"});
  Press("down");  // wraps to the first
  Press("ok");
  Settle();
  EXPECT_EQ(SetCanada(1, 5), "xxxxx");
  EXPECT_EQ(SetCanada(0, 6), "......");

  kv::Persistent<CANEnglishRatingsDialog> en = OpenFromMenu<CANEnglishRatingsDialog>();
  ASSERT_NE(en, nullptr);
  EXPECT_EQ(en->Bounds().H(), 380);
  Press("ok");
  Settle();
  EXPECT_EQ(SetCanada(0, 6), "xxxxxx");
  Press("down", 3);  // level 4 opened: 1 to 4 open
  Press("ok");
  Settle();
  EXPECT_EQ(SetCanada(0, 6), "....xx");
  EXPECT_EQ(SetCanada(1, 5), "xxxxx");
}

// Every box's caption (movie and both Canadian scales) stands whole inside
// its box, clear of the padlock and at least 4 px clear of the box's right
// end, so that "PG-13" and "NC-17" do not run into the frame.
TEST_F(ParentalLocksTest, ScaleBoxCaptionsKeepClearOfTheirBoxesEnds) {
  for (int32_t r = 2; r <= 7; ++r) XPM_SetUsMovieRating(r, 1, 1);  // every box shows its padlock
  for (int32_t l = 1; l <= 6; ++l) XPM_SetCanadaLevel(0, l, 1, 1);
  for (int32_t l = 1; l <= 5; ++l) XPM_SetCanadaLevel(1, l, 1, 1);
  auto check = [&](const char* name, auto box, int32_t count) {
    SCOPED_TRACE(name);
    const std::vector<Core::SeenText> seen = SeenTexts();
    for (int32_t i = 0; i < count; ++i) {
      const kv::Rect b = box(i).GetAbsoluteBounds();
      const std::string caption = box(i).OnGetText().ToUtf8();
      const auto t = std::find_if(seen.begin(), seen.end(), [&](const Core::SeenText& s) {
        return s.text == caption && s.box.x1 >= b.x1 && s.box.x2 <= b.x2 && s.box.y1 >= b.y1 && s.box.y2 <= b.y2;
      });
      ASSERT_NE(t, seen.end()) << caption << " not seen\n" << SeenList();
      EXPECT_TRUE(t->Readable()) << t->Describe();
      EXPECT_LE(t->ink.x2, b.x2 - 4) << t->Describe();
      EXPECT_GE(t->ink.x1, b.x1 + 24) << t->Describe();  // after the padlock
    }
  };
  kv::Persistent<USMovieRatingsDialog> m = OpenFromMenu<USMovieRatingsDialog>();
  ASSERT_NE(m, nullptr);
  check("movie", [&](int32_t i) -> ParentalLocks::KXDRatingItem& { return m->Box(i); }, USMovieRatingsDialog::kBoxes);
  kv::Persistent<CANEnglishRatingsDialog> en = OpenFromMenu<CANEnglishRatingsDialog>();
  ASSERT_NE(en, nullptr);
  check("Canadian English", [&](int32_t i) -> ParentalLocks::KXDRatingItem& { return en->Box(i); }, 6);
  kv::Persistent<CANFrenchRatingsDialog> fr = OpenFromMenu<CANFrenchRatingsDialog>();
  ASSERT_NE(fr, nullptr);
  check("Canadian French", [&](int32_t i) -> ParentalLocks::KXDRatingItem& { return fr->Box(i); }, 5);
}

// --- PIN prompts ------------------------------------------------------------------------

TEST_F(ParentalLocksTest, BlockedProgrammeAsksForThePinUntilTheNextChannel) {
  Store()->PutString(SkinBinWrapper::KEY_PIN, kv::String::FromUtf8("1234"));
  OnNow(7, 1, 2);  // TV-14
  OnNow(7, 2, 3);  // TV-MA
  Tune(2, 1);
  ASSERT_EQ(Open<ChannelLockEnterPin>(), nullptr);
  // Block TV-14 through the dialog, as the viewer does.
  PutTV("..................");
  kv::Persistent<USTVRatingsDialog> d = OpenFromMenu<USTVRatingsDialog>();
  ASSERT_NE(d, nullptr);
  FocusBox(d, 9);
  Press("ok");
  Press("exit");
  Settle();
  ASSERT_FALSE(d->IsOpen());

  Tune(7, 1);  // a TV-14 programme
  kv::Persistent<ChannelLockEnterPin> p = Open<ChannelLockEnterPin>();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(Focused(), &p->Entry());
  for (const char* key : {"exit", "exit2", "back"}) {
    Press(key);
    Settle();
    EXPECT_TRUE(p->IsOpen()) << key;
  }

  Type("9999");
  ASSERT_EQ(BarType(), 2);
  EXPECT_TRUE(p->Entry().CurrentPin().Empty());
  const kv::Rect pb = p->Bounds();
  const kv::Rect bb = Bar()->Bounds();
  EXPECT_EQ(bb.x1 - pb.x1, (pb.W() - bb.W()) / 2);
  EXPECT_EQ(bb.y1 - pb.y1, (pb.H() - bb.H()) / 2);
  Bar()->Close();
  Settle();
  EXPECT_EQ(LocksState(), 2);

  ClearCallLog();
  Type("1234");
  EXPECT_FALSE(p->IsOpen());
  EXPECT_EQ(LocksState(), 1);
  // The set acquires the channel again, unblocked.
  const std::vector<std::string> log = CallLog();
  EXPECT_NE(std::find(log.begin(), log.end(), "XPM_SetParentalLocksState(1)"), log.end());
  EXPECT_EQ(Open<ChannelLockEnterPin>(), nullptr);

  // The next channel change reinstates the locks: the TV-MA programme asks again.
  Tune(7, 2);
  EXPECT_EQ(LocksState(), 2);
  kv::Persistent<ChannelLockEnterPin> again = Open<ChannelLockEnterPin>();
  ASSERT_NE(again, nullptr);
  // A PIN stored while the prompt is open applies from its next opening.
  Store()->PutString(SkinBinWrapper::KEY_PIN, kv::String::FromUtf8("5678"));
  Type("5678");
  EXPECT_EQ(BarType(), 2);
  EXPECT_TRUE(again->IsOpen());
  Bar()->Close();
  Settle();
  Type("1234");
  EXPECT_FALSE(again->IsOpen());
  Tune(7, 1);
  kv::Persistent<ChannelLockEnterPin> third = Open<ChannelLockEnterPin>();
  ASSERT_NE(third, nullptr);
  Type("5678");
  EXPECT_FALSE(third->IsOpen());
  EXPECT_EQ(LocksState(), 1);
  // The keys still act after the prompt closed.
  Press("menu");
  Settle();
  EXPECT_FALSE(OpenForms().empty());
}

TEST_F(ParentalLocksTest, TempUnlockChecksOnlyOnDone) {
  Store()->PutString(SkinBinWrapper::KEY_PIN, kv::String::FromUtf8("1234"));
  OnNow(7, 1, 2);  // TV-14
  PutTV("......xxxxxxxxxxxx");
  XPM_SetUsAgeRating(4, kWhole, 1, 1);
  Tune(7, 1);
  if (auto* p = Open<ChannelLockEnterPin>()) p->Close();
  Settle();
  // Mute on message 1 over the blocked programme.
  Nms()->ShowMessage(1);
  Settle();
  ASSERT_EQ(BarType(), 1);
  Press("mute");
  Settle();
  kv::Persistent<TempUnlock> t = Open<TempUnlock>();
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(Focused(), &t->Entry());
  Type("1234");
  EXPECT_TRUE(t->IsOpen());
  EXPECT_EQ(LocksState(), 2);
  // A wrong PIN on Done: message 2, digits cleared.
  t->Entry().Clear();
  Type("4321");
  t->OnSetFocus(&t->DoneButton());
  Press("ok");
  Settle();
  EXPECT_EQ(BarType(), 2);
  EXPECT_TRUE(t->IsOpen());
  EXPECT_TRUE(t->Entry().CurrentPin().Empty());
  Bar()->Close();
  Settle();
  t->OnSetFocus(&t->Entry());
  Type("1234");
  t->OnSetFocus(&t->DoneButton());
  Press("ok");
  Settle();
  EXPECT_FALSE(t->IsOpen());
  EXPECT_EQ(LocksState(), 1);
}

// --- Census -----------------------------------------------------------------------------

TEST_F(ParentalLocksTest, EachScreenReturnsToItsCensus) {
  ExpectEachReturnsToItsCensus({&USTVRatingsDialog::StaticClass(), &USMovieRatingsDialog::StaticClass(),
                                &CANEnglishRatingsDialog::StaticClass(), &CANFrenchRatingsDialog::StaticClass(),
                                &ChannelLockEnterPin::StaticClass(), &TempUnlock::StaticClass()});
}

}  // namespace parentallockstest
