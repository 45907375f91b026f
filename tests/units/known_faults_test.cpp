// tests/scenes/known-faults.txt names each report it passes over whole: a
// line that stops short would pass over every other fault of its screen, or
// of its text in another language.
#include <gtest/gtest.h>

#include "known_faults.h"

namespace {

TEST(KnownFaults, EveryLineNamesOneWholeReport) {
  for (const std::string& refused : kvtest::RefusedKnownFaults()) ADD_FAILURE() << refused;
  EXPECT_FALSE(kvtest::KnownFaults().empty());
}

TEST(KnownFaults, APatternThatCouldCoverAWholeScreenIsRefused) {
  const std::string place = "Views::Text in Record::ScheduledRecordDialog < NonMenuSystem::NonMenuSystem < MainApp::ActiveApp";
  struct Case {
    std::string pattern;
    bool refused;
  };
  const Case cases[] = {
      {"text partly hidden: " + place + ": \"Page\"", false},
      {"texts overlap: " + place + ": \"Page\" and " + place + ": \"Exit\"", false},
      {"drawn under a screen: MediaPlayer::MusicListView under NonMenuSystem::SleepTimerDialog", false},
      {"a notice stays on screen: \"No signal\"", false},
      {"gallery: shots menu-a and menu-b are the same picture", false},
      // Every text of the screen.
      {"text partly hidden: Views::Text in Record::ScheduledRecordDialog <", true},
      {"text partly hidden: Views::Text in Record::ScheduledRecordDialog < ", true},
      {"text partly hidden: " + place, true},
      {"text partly hidden: " + place + ": \"", true},
      // Every text that starts so, in one language.
      {"text partly hidden: " + place + ": \"Size: ", true},
      // One text of a pair, with anything.
      {"texts overlap: " + place + ": \"Page\"", true},
      // Any screen of a unit.
      {"drawn under a screen: MediaPlayer::MusicListView under NonMenuSystem::", true},
      // Any kind of report of a text.
      {place + ": \"Page\"", true},
      {"\"Page\"", true},
  };
  for (const Case& c : cases) EXPECT_EQ(!kvtest::WhyRefused(c.pattern).empty(), c.refused) << c.pattern;
}

TEST(KnownFaults, AReportIsMatchedWithoutItsRectangles) {
  const std::string report =
      "screen check: error: text partly hidden: Views::Text in NonMenuSystem::BannerHDMIInfo < NonMenuSystem::InfoBanner"
      ": \"Audio\" glyphs (10,20)-(40,32) visible (0,0)-(960,540)";
  EXPECT_EQ(kvtest::WithoutRectangles(report),
            "screen check: error: text partly hidden: Views::Text in NonMenuSystem::BannerHDMIInfo < "
            "NonMenuSystem::InfoBanner: \"Audio\"");
}

}  // namespace
