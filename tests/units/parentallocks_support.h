// The parental-locks tests' fixture: the set's US rating tables as strings
// of flags, written and read straight through the middleware calls, and the
// ways the screens are opened.
#pragma once

#include <initializer_list>
#include <string>

#include "menusystem_support.h"
#include "platform/sim/sim_guide.h"
#include "platform/sim/sim_tv_state.h"
#include "platform/xpm/xpm_settings.h"
#include "strings/SkinBinWrapper.h"
#include "units/Constants/Constants.h"
#include "units/ParentalLocks/RatingDialogs.h"
#include "units/PersistentData/PersistentData.h"
#include "units/SkinBin/Wrapper.h"

namespace parentallockstest {

using ParentalLocks::USTVRatingsDialog;

constexpr int32_t kWhole = ParentalLocks::kWholeRating;

// The boxes of the US TV dialog in form order, as the set names them.
struct TVRow {
  bool child;
  int32_t level;
  int32_t content;
};
const TVRow kRows[18] = {{true, 1, 1},       {true, 2, 1},      {true, 2, 0x1000000}, {false, 2, 1},
                         {false, 3, 1},      {false, 3, 0x10},  {false, 3, 0x100},    {false, 3, 0x1000},
                         {false, 3, 0x10000}, {false, 4, 1},     {false, 4, 0x10},     {false, 4, 0x100},
                         {false, 4, 0x1000}, {false, 4, 0x10000}, {false, 5, 1},        {false, 5, 0x100},
                         {false, 5, 0x1000}, {false, 5, 0x10000}};

class ParentalLocksTest : public menutest::MenuTest {
 protected:
  PersistentData::PersistentData* Store() {
    return kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
  }
  // Each screen opened from the menu and closed 50 times leaves the live
  // objects as after the first time.
  void ExpectEachReturnsToItsCensus(std::initializer_list<const kv::Class*> classes) {
    for (const kv::Class* cls : classes) {
      SCOPED_TRACE(cls->name);
      auto cycle = [&] {
        Primitives::KeyRoutingForm* f = Nms()->OpenWithValue(cls, 0, Constants::MSG_FROM_MENUSYSTEM);
        Settle();
        ASSERT_NE(f, nullptr);
        f->Close();
        Settle();
      };
      cycle();
      auto baseline = Census();
      for (int i = 0; i < 50; ++i) cycle();
      EXPECT_EQ(Census(), baseline);
    }
  }
  template <typename T>
  T* OpenFromMenu() {
    Nms()->ClearAll();
    Settle();
    auto* form = kv::Cast<T>(Nms()->OpenWithValue(&T::StaticClass(), 0, Constants::MSG_FROM_MENUSYSTEM));
    Settle();
    return form;
  }
  // The set's US TV table as a string of 18 flags in the dialog's order.
  std::string SetTV() {
    std::string s;
    for (const TVRow& r : kRows) {
      int32_t b = 0;
      if (r.child)
        XPM_GetUsChildRating(r.level, r.content, &b);
      else
        XPM_GetUsAgeRating(r.level, r.content, &b);
      s += b ? 'x' : '.';
    }
    return s;
  }
  std::string Boxes(USTVRatingsDialog* d) {
    std::string s;
    for (int32_t i = 0; i < USTVRatingsDialog::kBoxes; ++i) s += d->Box(i).OnGetIsChecked() ? 'x' : '.';
    return s;
  }
  std::string SetMovie() {
    std::string s;
    for (int32_t r = 2; r <= 7; ++r) {
      int32_t b = 0;
      XPM_GetUsMovieRating(r, &b);
      s += b ? 'x' : '.';
    }
    return s;
  }
  std::string SetCanada(int32_t system, int32_t levels) {
    std::string s;
    for (int32_t l = 1; l <= levels; ++l) {
      int32_t b = 0;
      XPM_GetCanadaLevel(system, l, &b);
      s += b ? 'x' : '.';
    }
    return s;
  }
  // Sets the US TV table to `flags` (18 flags in the dialog's order).
  void PutTV(const std::string& flags) {
    for (size_t i = 0; i < 18; ++i) {
      const TVRow& r = kRows[i];
      const int32_t c = r.content == 1 ? kWhole : r.content;
      if (r.child)
        XPM_SetUsChildRating(r.level, c, flags[i] == 'x', 1);
      else
        XPM_SetUsAgeRating(r.level, c, flags[i] == 'x', 1);
    }
  }
  int32_t IndexOfFocus(USTVRatingsDialog* d) {
    for (int32_t i = 0; i < USTVRatingsDialog::kBoxes; ++i)
      if (Focused() == &d->Box(i)) return i;
    return -1;
  }
  // Moves the focus to box `i` of the US TV dialog.
  void FocusBox(USTVRatingsDialog* d, int32_t i) {
    d->OnSetFocus(&d->Box(i));
    Settle();
  }
  void Type(const char* digits) {
    for (const char* c = digits; *c; ++c) Press(std::string(1, *c));
    Settle();
  }
  int32_t LocksState() {
    int32_t s = 0;
    XPM_GetParentalLocksState(&s);
    return s;
  }
  // The channel's guide: one programme of TV rating `rating` (0 TV-G to 3
  // TV-MA) from an hour ago to a day from now.
  void OnNow(int32_t major, int32_t minor, int32_t rating) {
    sim::GuideEvent e;
    e.id = 900 + major * 10 + minor;
    e.start = Tv().Tv().NetworkTime() - 3600;
    e.duration = 25 * 3600;
    e.title = "Rated " + std::to_string(rating);
    e.rating = rating;
    sim::SetChannelGuide(Tv(), major, minor, {e});
  }
  void Tune(int32_t major, int32_t minor) {
    Skin()->SetChannelApi(0, major, minor);
    Run(500);
    Settle();
  }
};

}  // namespace parentallockstest
