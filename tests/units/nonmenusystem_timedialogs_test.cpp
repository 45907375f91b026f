// The sleep timer dialog, the date and time dialog with its editors, and the
// software licences dialog, driven through the whole system.
#include <gtest/gtest.h>

#include <string>

#include "nonmenusystem_support.h"
#include "platform/sim/sim_tv_state.h"
#include "platform/xpm/xpm_settings.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/DateTimeDialog.h"
#include "units/NonMenuSystem/DateTimeEditors.h"
#include "units/NonMenuSystem/SleepTimerDialog.h"
#include "units/NonMenuSystem/SoftwareLicencesDialog.h"
#include "ge/surface.h"
#include "units/Resources/Font.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/LocalTime.h"

namespace livetvtest {

namespace {

template <class T>
T* OpenOf(const std::vector<Primitives::KeyRoutingForm*>& forms) {
  for (auto* f : forms)
    if (auto* t = kv::Cast<T>(f)) return t;
  return nullptr;
}

}  // namespace

class TimeDialogsTest : public LiveTVTest {
 protected:
  NonMenuSystem::SleepTimerDialog* Sleep() { return OpenOf<NonMenuSystem::SleepTimerDialog>(OpenForms()); }
  NonMenuSystem::DateTimeDialog* DateTime() { return OpenOf<NonMenuSystem::DateTimeDialog>(OpenForms()); }
  NonMenuSystem::DateSettingDialog* DateEditor() { return OpenOf<NonMenuSystem::DateSettingDialog>(OpenForms()); }
  NonMenuSystem::TimeSettingDialog* TimeEditor() { return OpenOf<NonMenuSystem::TimeSettingDialog>(OpenForms()); }
  NonMenuSystem::DateTimeDialog* OpenDateTime() {
    Nms()->Open(&NonMenuSystem::DateTimeDialog::StaticClass());
    Settle();
    return DateTime();
  }
  std::string Caption(NonMenuSystem::KXDWidgetClass* w) { return w->Caption.ToUtf8(); }
  // The set's clock in seconds since 1970 (plain calendar arithmetic).
  int64_t SetClock() {
    const sim::BrokenDownTime t = Tv().Tv().LocalTime();
    Structures::LocalTime lt;
    lt.Second = t.second;
    lt.Minute = t.minute;
    lt.Hour = t.hour;
    lt.Day = t.day;
    lt.Month = t.month;
    lt.Year = t.year;
    return lt.GetTicks();
  }
};

// --- Sleep timer ----------------------------------------------------------------------------

TEST_F(TimeDialogsTest, SleepTimerChosenCountsDownAndEndsInStandby) {
  Press("sleep");
  NonMenuSystem::SleepTimerDialog* d = Sleep();
  ASSERT_NE(d, nullptr);
  // No timer running: the plain caption, 232 pixels wide, in the upper left.
  EXPECT_EQ(Caption(d), "Sleep");
  EXPECT_EQ(d->Bounds().W(), 232);
  EXPECT_EQ(d->Bounds().x1, 60);
  EXPECT_EQ(d->OnGetFocus(), &d->Choice(0));
  // The buttons stand centred, one under the other.
  EXPECT_EQ(d->Choice(0).Bounds().x1, (232 - 180) / 2);
  EXPECT_EQ(d->Choice(1).Bounds().y1 - d->Choice(0).Bounds().y1, 31);
  // Up from the first wraps to the last; down from the last to the first.
  Press("up");
  EXPECT_EQ(d->OnGetFocus(), &d->Choice(6));
  Press("down");
  EXPECT_EQ(d->OnGetFocus(), &d->Choice(0));
  // 15 minutes.
  Press("down");
  ClearCallLog();
  Press("ok");
  Settle();
  EXPECT_EQ(Sleep(), nullptr) << "a choice closes the dialog";
  EXPECT_EQ(W()->OnGetRemainSleepTime(), 15);
  // Eight minutes later the dialog tells the minutes left.
  Run(8 * 60000);
  Press("sleep");
  d = Sleep();
  ASSERT_NE(d, nullptr);
  const int32_t left = W()->OnGetRemainSleepTime();
  EXPECT_GE(left, 6);
  EXPECT_LE(left, 8);
  EXPECT_EQ(d->Bounds().W(), 450);
  EXPECT_NE(Caption(d).find("TV turns off in " + std::to_string(left) + " min"), std::string::npos) << Caption(d);
  Press("exit");
  Settle();
  EXPECT_EQ(Sleep(), nullptr);
  // The set switches itself off when the time is up.
  ClearCallLog();
  Run(9 * 60000);
  Settle();
  EXPECT_FALSE(Calls("XPM_StandbyMode").empty()) << "the sleep timer ends in standby";
}

// The minutes chosen are the minutes the set stays on, counted from the
// choice, whatever other countdowns run (every key restarts the automatic
// power-down's): 15 minutes end in standby 15 minutes later, within a
// second or two, and the last minute's notice comes one minute before.
TEST_F(TimeDialogsTest, SleepTimerOfFifteenMinutesEndsFifteenMinutesAfterTheChoice) {
  Run(1000);
  Run(27300);  // the automatic power-down's minute is under way
  Press("sleep");
  Run(300);
  Press("down");
  Run(200);
  ClearCallLog();
  Press("ok");
  // A viewer presses a key now and then.
  for (int32_t s = 0; s < 820; s += 41) {
    Run(41000);
    Press("exit");
  }
  Run(838000 - 820 * 1000 - 500);
  EXPECT_TRUE(Calls("XPM_StandbyMode").empty());
  EXPECT_FALSE(Sees("turns off in 1 minute")) << SeenList();
  Run(4000);
  EXPECT_TRUE(Sees("turns off in 1 minute")) << "the last minute's notice " << SeenList();
  Run(900000 - 842000 - 2500);
  EXPECT_TRUE(Calls("XPM_StandbyMode").empty()) << "not before the time chosen";
  Run(5000);
  EXPECT_FALSE(Calls("XPM_StandbyMode").empty()) << "standby within seconds of the time chosen";
}

TEST_F(TimeDialogsTest, SleepTimerCancelledShowsNothing) {
  W()->SetSleepTimer(30);
  Settle();
  Press("sleep");
  ASSERT_NE(Sleep(), nullptr);
  EXPECT_EQ(Sleep()->Bounds().W(), 450);
  // "Off" is the first choice and has the focus.
  Press("ok");
  Settle();
  EXPECT_EQ(W()->OnGetRemainSleepTime(), 0);
  Press("sleep");
  ASSERT_NE(Sleep(), nullptr);
  EXPECT_EQ(Caption(Sleep()), "Sleep");
  EXPECT_EQ(Sleep()->Bounds().W(), 232);
  // Its time-out closes it.
  Run(16000);
  EXPECT_EQ(Sleep(), nullptr);
  // Nothing switches the set off later.
  ClearCallLog();
  Run(40 * 60000);
  EXPECT_TRUE(Calls("XPM_StandbyMode").empty());
}

// --- Date and time --------------------------------------------------------------------------

// The focused check box stands inside the focus bar as the buttons' texts
// do: a strip of the bar's blue shows between the bar's left edge and the
// box. And while an editor covers the two buttons, no heading of the other
// field stands over it.
TEST_F(TimeDialogsTest, TheFocusedCheckBoxIsInsetAndNoHeadingStandsOverAnEditor) {
  NonMenuSystem::DateTimeDialog* d = OpenDateTime();
  ASSERT_NE(d, nullptr);
  for (int i = 0; i < 4 && Focused() != &d->ChannelBox(); ++i) Press("down");
  ASSERT_EQ(Focused(), &d->ChannelBox());
  Run(300);
  const kv::Rect box = d->ChannelBox().GetAbsoluteBounds();
  const int32_t y = (box.y1 + box.y2) / 2;
  for (int32_t x = box.x1 + 3; x < box.x1 + 6; ++x) {
    const uint32_t p = Osd().Row(y)[x];
    const int32_t r = static_cast<int32_t>(p & 0xFF), b = static_cast<int32_t>(p >> 16 & 0xFF);
    EXPECT_TRUE(b >= 120 && b > r + 60) << "x " << x - box.x1 << " is not the bar's blue: the box sits on its edge";
  }
  // Each editor (automatic updates switched off first, as a viewer does):
  // only its own heading shows, and no heading's ink falls on it.
  for (::Button::CheckBox* automatic : {&d->ChannelBox(), &d->NetworkBox()}) {
    d->OnSetFocus(automatic);
    if (automatic->OnGetIsChecked()) Press("ok");
  }
  for (const char* editor : {"date", "time"}) {
    SCOPED_TRACE(editor);
    d->OnSetFocus(std::string(editor) == "date" ? static_cast<Core::View*>(&d->DateButton())
                                                : static_cast<Core::View*>(&d->TimeButton()));
    Press("ok");
    Run(300);
    Core::View* open = std::string(editor) == "date" ? static_cast<Core::View*>(DateEditor())
                                                     : static_cast<Core::View*>(TimeEditor());
    ASSERT_NE(open, nullptr);
    const kv::Rect e = open->GetAbsoluteBounds();
    for (const Core::SeenText& t : SeenTexts()) {
      if (t.screen != "NonMenuSystem::DateTimeDialog" || t.ink.IsEmpty()) continue;
      if (t.text != "Date" && t.text != "Time") continue;
      EXPECT_EQ(t.text, std::string(editor) == "date" ? "Date" : "Time") << "the other field's heading shows";
      EXPECT_TRUE(t.ink.x2 <= e.x1 + 80) << t.text << " stands over the editor's second box";
    }
    Press("back");
    Run(300);
    ASSERT_NE(DateTime(), nullptr);
    EXPECT_TRUE(Sees("Date")) << SeenList();
    EXPECT_TRUE(Sees("Time")) << SeenList();
  }
}

TEST_F(TimeDialogsTest, AutomaticUpdateFlagsAndStatus) {
  XPM_SetAutoTimeUpdate(3);
  NonMenuSystem::DateTimeDialog* d = OpenDateTime();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->Bounds().W(), 312);
  EXPECT_EQ(d->Bounds().H(), 242);
  // Status 3: both boxes checked, the buttons disabled, the focus on the channel box.
  EXPECT_TRUE(d->ChannelBox().OnGetIsChecked());
  EXPECT_TRUE(d->NetworkBox().OnGetIsChecked());
  EXPECT_TRUE(d->DateButton().OnGetIsDisabled());
  EXPECT_EQ(d->OnGetFocus(), &d->ChannelBox());
  // Up stays on the channel box while the date button is disabled.
  Press("up");
  EXPECT_EQ(d->OnGetFocus(), &d->ChannelBox());
  // Unchecking the channel box writes status 2 (network only).
  ClearCallLog();
  Press("ok");
  ASSERT_EQ(Calls("XPM_SetAutoTimeUpdate").size(), 1u);
  EXPECT_EQ(Calls("XPM_SetAutoTimeUpdate")[0], "XPM_SetAutoTimeUpdate(2)");
  EXPECT_FALSE(d->ChannelBox().OnGetIsChecked());
  // Down, then unchecking the network box: off, the buttons enabled again.
  Press("down");
  EXPECT_EQ(d->OnGetFocus(), &d->NetworkBox());
  Press("ok");
  EXPECT_EQ(Calls("XPM_SetAutoTimeUpdate").back(), "XPM_SetAutoTimeUpdate(0)");
  EXPECT_FALSE(d->IsAutoUpdate);
  EXPECT_FALSE(d->DateButton().OnGetIsDisabled());
  Press("up", 2);
  EXPECT_EQ(d->OnGetFocus(), &d->DateButton());
  Press("right");
  EXPECT_EQ(d->OnGetFocus(), &d->TimeButton());
  Press("left");
  EXPECT_EQ(d->OnGetFocus(), &d->DateButton());
  // Any other status is traced and leaves the flags.
  d->SetAutoUpdateStatus(1);
  EXPECT_TRUE(d->AutoUpdateNet);
  EXPECT_FALSE(d->AutoUpdateNTP);
  d->SetAutoUpdateStatus(7);
  EXPECT_TRUE(d->AutoUpdateNet);
  EXPECT_FALSE(d->AutoUpdateNTP);
}

TEST_F(TimeDialogsTest, DateEditorSetsTheDateAndKeepsLeapDays) {
  XPM_SetAutoTimeUpdate(0);
  NonMenuSystem::DateTimeDialog* d = OpenDateTime();
  ASSERT_NE(d, nullptr);
  const int64_t before = SetClock();
  Press("ok");
  NonMenuSystem::DateSettingDialog* e = DateEditor();
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->OnGetFocus(), &e->MonthSpinner());
  EXPECT_EQ(e->OnGetYearVal(), d->OnGetLocalTime()->Year + 1900);
  // February 29th 2012, then the year to 2013: the day becomes 28.
  e->OnSetYearVal(2012);
  e->OnSetMonthVal(1);
  EXPECT_EQ(e->DaySpinner().OnGetMaximum(), 29);
  e->OnSetDateVal(29);
  Press("right", 2);
  EXPECT_EQ(e->OnGetFocus(), &e->YearSpinner());
  Press("up");
  EXPECT_EQ(e->OnGetYearVal(), 2013);
  EXPECT_EQ(e->DaySpinner().OnGetMaximum(), 28);
  EXPECT_EQ(e->OnGetDateVal(), 28);
  EXPECT_NE(d->DateButton().OnGetText().ToUtf8().find("Feb 28 2013"), std::string::npos)
      << d->DateButton().OnGetText().ToUtf8();
  // Right from the last spinner wraps to the first.
  Press("right");
  EXPECT_EQ(e->OnGetFocus(), &e->MonthSpinner());
  // 2000 is a leap year, 2100 would not be.
  EXPECT_TRUE(NonMenuSystem::IsLeapYear(2000));
  EXPECT_FALSE(NonMenuSystem::IsLeapYear(2100));
  EXPECT_EQ(NonMenuSystem::MonthLength(1, 2100), 28);
  // Back closes the editor and writes the date; the dialog stays and has the keys.
  ClearCallLog();
  Press("back");
  Settle();
  EXPECT_EQ(DateEditor(), nullptr);
  ASSERT_EQ(DateTime(), d);
  EXPECT_EQ(Calls("XPM_SetLocalTime").size(), 1u);
  const sim::BrokenDownTime t = Tv().Tv().LocalTime();
  EXPECT_EQ(t.year + 1900, 2013);
  EXPECT_EQ(t.month, 1);
  EXPECT_EQ(t.day, 28);
  // The time of day is the clock's, not the one read when the dialog opened.
  const int64_t gone = ((SetClock() % 86400) - (before % 86400) + 86400) % 86400;
  EXPECT_LT(gone, 5);
  Press("down");
  EXPECT_EQ(d->OnGetFocus(), &d->ChannelBox());
}

// The date button shows every date whole in every menu language: each month
// (the longest names are French) at its last day, with a four-digit year.
TEST_F(TimeDialogsTest, TheDateButtonShowsEveryDateWholeInEveryLanguage) {
  XPM_SetAutoTimeUpdate(0);
  auto* skin = kv::Cast<SkinBin::Wrapper>(W());
  ASSERT_NE(skin, nullptr);
  for (int32_t lang = 0; lang < 3; ++lang) {
    skin->SetMenuLanguage(lang);
    NonMenuSystem::DateTimeDialog* d = OpenDateTime();
    ASSERT_NE(d, nullptr);
    SkinBin::Button& b = d->DateButton();
    for (int32_t month = 0; month < 12; ++month) {
      d->UpdateDateSettings(month, NonMenuSystem::MonthLength(month, 2026), 2026);
      for (Resources::Font* f : {b.OnGetTextFont(), b.OnGetFocused_TextFont()}) {
        ASSERT_NE(f, nullptr);
        EXPECT_LE(f->GetTextWidth(b.OnGetText()), b.Bounds().W() - 8)
            << "language " << lang << ": " << b.OnGetText().ToUtf8();
      }
    }
    Press("exit");
    Settle();
  }
  skin->SetMenuLanguage(0);
}

// Each editor stands over the row of the two buttons and covers both whole:
// no end of the other button shows beside it, and it stays inside the
// dialog's frame. A new set: the clock follows the channel, so the viewer
// first unticks that box, then goes up to the buttons.
TEST_F(TimeDialogsTest, EachEditorCoversBothButtonsInsideTheDialog) {
  NonMenuSystem::DateTimeDialog* d = OpenDateTime();
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d->OnGetFocus(), &d->ChannelBox());
  Press("ok");
  Press("up");
  Settle();
  ASSERT_EQ(d->OnGetFocus(), &d->DateButton());
  const kv::Rect dialog = d->GetAbsoluteBounds();
  const kv::Rect date = d->DateButton().GetAbsoluteBounds();
  const kv::Rect time = d->TimeButton().GetAbsoluteBounds();
  auto covers = [](const kv::Rect& outer, const kv::Rect& inner) {
    return outer.x1 <= inner.x1 && outer.y1 <= inner.y1 && inner.x2 <= outer.x2 && inner.y2 <= outer.y2;
  };
  for (const char* side : {"date", "time"}) {
    SCOPED_TRACE(side);
    if (side[0] == 't') Press("right");
    Press("ok");
    Settle();
    Primitives::KeyRoutingForm* e = side[0] == 'd' ? static_cast<Primitives::KeyRoutingForm*>(DateEditor())
                                                   : static_cast<Primitives::KeyRoutingForm*>(TimeEditor());
    ASSERT_NE(e, nullptr);
    const kv::Rect r = e->GetAbsoluteBounds();
    EXPECT_TRUE(covers(r, date)) << "the date button shows beside the editor";
    EXPECT_TRUE(covers(r, time)) << "the time button shows beside the editor";
    EXPECT_TRUE(covers(dialog, r)) << "the editor overhangs the dialog: " << r.x1 << ".." << r.x2 << " in "
                                   << dialog.x1 << ".." << dialog.x2;
    Press("back");
    Settle();
  }
}

TEST_F(TimeDialogsTest, TimeEditorLeftAfterTwoMinutesKeepsTheClockRight) {
  XPM_SetAutoTimeUpdate(0);
  NonMenuSystem::DateTimeDialog* d = OpenDateTime();
  ASSERT_NE(d, nullptr);
  Press("right");
  Press("ok");
  NonMenuSystem::TimeSettingDialog* e = TimeEditor();
  ASSERT_NE(e, nullptr);
  // 3 PM: hour 15.
  e->OnSetAMPMVal(1);
  Press("right", 2);
  Press("down");  // PM -> AM
  Press("up");    // AM -> PM
  const int32_t minute = e->OnGetMinVal();
  // Two minutes with keys every ten seconds (each restarts the time-out).
  for (int i = 0; i < 12; ++i) {
    Run(10000);
    Press(i % 2 ? "left" : "right");
  }
  ASSERT_NE(TimeEditor(), nullptr);
  const int32_t hour12 = e->OnGetHourVal();
  const int32_t hour24 = hour12 == 12 ? 12 : hour12 + 12;
  EXPECT_EQ(d->OnGetLocalTime()->Hour, hour24);
  Press("back");
  Settle();
  const sim::BrokenDownTime t = Tv().Tv().LocalTime();
  EXPECT_EQ(t.hour, hour24);
  // The minute was not edited: it is the clock's, two minutes on from what
  // the dialog read when it opened, not set back to it.
  const int32_t gone = (t.minute - minute + 60) % 60;
  EXPECT_GE(gone, 2);
  EXPECT_LE(gone, 3);
  // The editor's own time-out closes only the editor, and writes nothing new.
  Press("ok");
  ASSERT_NE(TimeEditor(), nullptr);
  ClearCallLog();
  Run(16000);
  EXPECT_EQ(TimeEditor(), nullptr);
  EXPECT_EQ(DateTime(), d);
  EXPECT_TRUE(Calls("XPM_SetLocalTime").empty()) << "nothing was changed";
}

TEST_F(TimeDialogsTest, TwelveHourConversion) {
  NonMenuSystem::DateTimeDialog* d = OpenDateTime();
  ASSERT_NE(d, nullptr);
  d->UpdateTimeSettings(12, 5, 0);
  EXPECT_EQ(d->OnGetLocalTime()->Hour, 0);
  EXPECT_EQ(d->TimeButton().OnGetText().ToUtf8(), "12:05 AM");
  d->UpdateTimeSettings(12, 5, 1);
  EXPECT_EQ(d->OnGetLocalTime()->Hour, 12);
  d->UpdateTimeSettings(3, 0, 1);
  EXPECT_EQ(d->OnGetLocalTime()->Hour, 15);
}

// --- Licences ---------------------------------------------------------------------------

TEST_F(TimeDialogsTest, LicencesScrollToTheEnd) {
  Nms()->Open(&NonMenuSystem::SoftwareLicencesDialog::StaticClass());
  Settle();
  auto* d = OpenOf<NonMenuSystem::SoftwareLicencesDialog>(OpenForms());
  ASSERT_NE(d, nullptr);
  EXPECT_NE(d->Text().OnGetString().ToUtf8().find("FreeType"), std::string::npos) << "the licence file is read";
  EXPECT_EQ(Focused(), &d->Text());
  ASSERT_GT(d->Text().MaxScroll(), 0);
  // Text pixels in the text box (bright ink of the standard text colour).
  const kv::Rect box = d->Text().Bounds().MoveTo(
      {d->Bounds().x1 + d->Text().Bounds().x1, d->Bounds().y1 + d->Text().Bounds().y1});
  auto ink = [&] {
    const ge::Surface& osd = Osd();
    int n = 0;
    for (int32_t y = box.y1; y < box.y2; ++y)
      for (int32_t x = box.x1; x < box.x2; ++x) {
        const uint32_t p = osd.Row(y)[x];
        if ((p & 0xFFu) >= 180 && ((p >> 8) & 0xFFu) >= 180) ++n;
      }
    return n;
  };
  EXPECT_GT(ink(), 1000);
  // Scrolling keeps it open far beyond its 6 s time-out, and every
  // position shows its lines.
  int presses = 0, blank = 0;
  while (d->Text().CanScrollDown() && presses < 2000) {
    Press("down");
    Run(1000);
    ++presses;
    if (presses % 25 == 0 && ink() < 200) ++blank;
  }
  EXPECT_FALSE(d->Text().CanScrollDown());
  EXPECT_GT(presses, 6);
  EXPECT_EQ(blank, 0);
  EXPECT_GT(ink(), 200) << "the last lines are drawn";
  EXPECT_EQ(OpenOf<NonMenuSystem::SoftwareLicencesDialog>(OpenForms()), d);
  // Without the set-up menu to return to, OK closes every screen.
  Press("ok");
  Settle();
  EXPECT_EQ(OpenOf<NonMenuSystem::SoftwareLicencesDialog>(OpenForms()), nullptr);
}

// Scrolled, the licence text moves by whole lines: at every position the
// text box starts and ends between lines, and no line shows only the tips of
// its letters along the box's top or bottom edge.
TEST_F(TimeDialogsTest, LicencesScrollByWholeLines) {
  Nms()->Open(&NonMenuSystem::SoftwareLicencesDialog::StaticClass());
  Settle();
  auto* d = OpenOf<NonMenuSystem::SoftwareLicencesDialog>(OpenForms());
  ASSERT_NE(d, nullptr);
  const kv::Rect box = d->Text().GetAbsoluteBounds();
  // Ink of the text (bright on the dark text area) in one pixel row of the box.
  auto inkIn = [&](int32_t y) {
    int n = 0;
    for (int32_t x = box.x1; x < box.x2; ++x) {
      const uint32_t p = Osd().Row(y)[x];
      if ((p & 0xFFu) >= 120 && ((p >> 8) & 0xFFu) >= 120) ++n;
    }
    return n;
  };
  // A whole line keeps room above its letters; the top tips of a line cut
  // at the bottom make a band of ink lower than any whole line's letters
  // (a whole line's last band may end at the edge with its descenders).
  int cut = 0;
  std::string where;
  for (int press = 0; press <= 40; ++press) {
    if (press) Press("down");
    Run(100);
    const std::string at = " after " + std::to_string(press) + " downs;";
    if (inkIn(box.y1) + inkIn(box.y1 + 1) > 0) {
      ++cut;
      where += " top" + at;
    }
    int32_t band = 0;
    for (int32_t y = box.y2 - 1; y >= box.y1 && inkIn(y) > 0; --y) ++band;
    if (band == 0 && inkIn(box.y2 - 2) > 0)
      for (int32_t y = box.y2 - 2; y >= box.y1 && inkIn(y) > 0; --y) ++band;
    if (band > 0 && band < 9) {
      ++cut;
      where += " bottom (" + std::to_string(band) + " rows)" + at;
    }
  }
  EXPECT_EQ(cut, 0) << "a line shows a fragment at the box's edge:" << where;
  // Up again by whole lines, back to the first line.
  Press("up", 41);
  Run(100);
  EXPECT_EQ(d->Text().GetScroll(), 0);
  EXPECT_EQ(inkIn(box.y1) + inkIn(box.y1 + 1), 0);
}

// The licence text is laid out in a proportional font: its opening list does
// not line up columns with runs of spaces, and its rules between licences
// fit the text box instead of wrapping onto a second line.
TEST_F(TimeDialogsTest, LicencesLinesNeitherAlignBySpacesNorWrapTheirRules) {
  Nms()->Open(&NonMenuSystem::SoftwareLicencesDialog::StaticClass());
  Settle();
  auto* d = OpenOf<NonMenuSystem::SoftwareLicencesDialog>(OpenForms());
  ASSERT_NE(d, nullptr);
  const std::string text = d->Text().OnGetString().ToUtf8();
  Resources::Font* font = Resources::LoadResource(Fonts::MediumFont);
  ASSERT_NE(font, nullptr);
  const int32_t room = d->Text().Bounds().W();
  bool opening = true;
  int rules = 0;
  for (size_t start = 0, nl; start < text.size(); start = nl + 1) {
    nl = text.find('\n', start);
    if (nl == std::string::npos) nl = text.size();
    const std::string line = text.substr(start, nl - start);
    SCOPED_TRACE(line);
    if (!line.empty() && line.find_first_not_of('=') == std::string::npos) {
      ++rules;
      opening = false;
      EXPECT_LE(font->GetTextWidth(kv::String::FromUtf8(line)), room);
    } else if (opening) {
      const size_t ink = line.find_first_not_of(' ');
      EXPECT_TRUE(ink == std::string::npos || line.find("  ", ink) == std::string::npos);
    }
  }
  EXPECT_GE(rules, 5);
}

TEST_F(TimeDialogsTest, CensusReturnsToBaseline) {
  auto cycle = [this] {
    Press("sleep");
    Press("exit");
    OpenDateTime();
    Press("ok");
    Press("back");
    Press("exit");
    Nms()->Open(&NonMenuSystem::SoftwareLicencesDialog::StaticClass());
    Settle();
    Press("exit");
    Settle();
  };
  cycle();
  Run(100);
  const auto before = Census();
  for (int i = 0; i < 50; ++i) cycle();
  Run(100);
  const auto after = Census();
  for (const char* cls : {"NonMenuSystem::SleepTimerDialog", "NonMenuSystem::DateTimeDialog",
                          "NonMenuSystem::DateSettingDialog", "NonMenuSystem::SoftwareLicencesDialog",
                          "Structures::LocalTime", "SkinBin::UserRefInt"}) {
    const size_t b = before.count(cls) ? before.at(cls) : 0;
    const size_t a = after.count(cls) ? after.at(cls) : 0;
    EXPECT_EQ(a, b) << cls;
  }
}

}  // namespace livetvtest
