// Texts of our own tables read whole in Spanish and French as well as in
// English: the screens whose buttons, captions, labels and headings ran short
// in the longer languages, each opened as a viewer opens it, with the menu
// language chosen on the setup page; and the English texts' one spelling.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/script_state.h"
#include "menusystem_support.h"
#include "player_fixture.h"
#include "record_support.h"
#include "media_writer.h"
#include "units/Core/SeenTexts.h"
#include "units/InitialSetup/SetupPages.h"
#include "units/MediaPlayer/PhotoSingleView.h"
#include "units/MediaPlayer/Players.h"
#include "units/MenuSystem/LiveMenu.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/Record/RecordListScreens.h"
#include "units/Views/Text.h"

#ifdef KV_VERIFY
namespace textstest {
namespace {

constexpr int32_t kSpanish = 1;
constexpr int32_t kFrench = 2;

template <class Base>
class Texts : public Base {
 protected:
  using Base::Press;
  using Base::Run;
  using Base::SeenTexts;
  using Base::SeenList;
  // A key script's "state CLASS [VALUE]" line: the screen opened as its
  // callers open it.
  void State(const std::string& line) {
    host::KeyScript::Step step;
    ASSERT_TRUE(host::ParseScreenStep("state", line, &step)) << line;
    host::RunScreenStep(step);
    Run(500);
  }
  // The menu language as a viewer chooses it on a new set: the setup page,
  // whose first row steps English, Spanish, French with right.
  void Language(int32_t steps) {
    State("MenuSystem::SetupMenu");
    for (int32_t i = 0; i < steps; ++i) {
      Press("right");
      Run(300);
    }
    Press("exit");
    Run(500);
  }
  // The texts a viewer sees shortened: cut at an edge, or laid out with "…"
  // because the whole text does not fit the part of its view that shows.
  // Texts wholly under a screen above are not seen at all.
  std::vector<std::string> Shortened() {
    std::vector<std::string> out;
    for (const Core::SeenText& t : SeenTexts()) {
      // Texts that wrap onto lines of their own are not laid out on one.
      if (t.cover == Core::Cover::kWholly || t.text.empty() || t.viewClass == "Views::MultilineText") continue;
      auto* v = kv::Cast<Views::Text>(const_cast<Core::View*>(t.view));
      const int32_t whole = v ? v->WidthIn(1 << 20) : 0;
      if (t.Cut() || whole > t.visible.W()) out.push_back(t.Describe());
    }
    return out;
  }
  // Nothing shortened, cut, partly hidden or overlapping (only the texts
  // of `screen` when one is named).
  void ExpectAllWhole(const char* what, std::string_view screen = {}) {
    std::vector<std::string> shortened;
    for (const std::string& line : Shortened())
      if (screen.empty() || line.find(screen) != std::string::npos) shortened.push_back(line);
    EXPECT_EQ(shortened, std::vector<std::string>{}) << what << "\n" << SeenList();
    EXPECT_EQ(Core::TextFaults(SeenTexts()), std::vector<std::string>{}) << what << "\n" << SeenList();
  }
  // A text shown whole that contains `part`.
  const Core::SeenText* Seen(std::string_view part) {
    seen_ = SeenTexts();
    for (const Core::SeenText& t : seen_)
      if (t.text.find(part) != std::string::npos && t.Readable()) return &t;
    return nullptr;
  }
  // French writes a space before a colon: no text of ours shown (a label,
  // or a label with its value) has a colon right after a letter. A time
  // (07:00) and a ratio (4:3) are not labels.
  void ExpectFrenchColons(const char* what) {
    int labels = 0;
    for (const Core::SeenText& t : SeenTexts()) {
      if (t.cover == Core::Cover::kWholly) continue;
      const std::string& s = t.text;
      for (size_t i = 1; i < s.size(); ++i) {
        if (s[i] != ':') continue;
        const bool digits = std::isdigit(static_cast<unsigned char>(s[i - 1])) && i + 1 < s.size() &&
                            std::isdigit(static_cast<unsigned char>(s[i + 1]));
        if (digits) continue;
        ++labels;
        EXPECT_EQ(s[i - 1], ' ') << what << ": \"" << s << "\"";
      }
    }
    EXPECT_GT(labels, 0) << what << "\n" << SeenList();
  }
  std::vector<Core::SeenText> seen_;
};

class TextsWholeTest : public Texts<menutest::MenuTest> {
 protected:
  void WalkLocks(int32_t language);
  void ExpectLabelsClearOfBoxes(const char* what);
};

// The rating limits' grid and the three one-scale rating dialogs: the Reset
// button and the dialogs' captions read whole in Spanish and French.
TEST_F(TextsWholeTest, RatingLimitsAndRatingDialogsReadWholeInSpanishAndFrench) {
  for (int32_t language : {kSpanish, kFrench}) {
    SCOPED_TRACE(language);
    ChooseMenuLanguage(language);
    State("ParentalLocks::EditRatingLimits");
    ExpectAllWhole("rating limits");
    Press("exit");
    Run(300);
    for (const char* dialog : {"ParentalLocks::USMovieRatingsDialog", "ParentalLocks::CANEnglishRatingsDialog",
                               "ParentalLocks::CANFrenchRatingsDialog"}) {
      State(dialog);
      ExpectAllWhole(dialog);
      Press("exit");
      Run(300);
    }
  }
}

// Menu > Locks on a new set: the new PIN page, the Rating locks page, then
// the PIN entry page. Every label of a PIN page stops before the PIN boxes
// (labels at x 80 of the page, boxes from x 204) and the rows' captions stop
// before their values.
void TextsWholeTest::WalkLocks(int32_t language) {
  ChooseMenuLanguage(language);
  Press("menu");
  Run(500);
  for (int i = 0; i < 4; ++i) {
    Press("down");
    Run(400);
  }
  Press("ok");
  Run(300);
  ASSERT_NE(Find<MenuSystem::ChangePinMenu>(), nullptr) << SeenList();
  for (const char* k : {"1", "2", "3", "4"}) Press(k);
  Run(200);
  Press("1");
  Press("2");
  Run(300);
  ExpectLabelsClearOfBoxes("new PIN");
  Press("3");
  Press("4");
  Run(500);
  Press("ok");
  Run(500);
  ExpectAllWhole("rating locks");
  Press("menu");
  Run(500);
  Press("menu");
  Run(500);
  Press("ok");
  Run(300);
  Press("1");
  Run(300);
  ASSERT_NE(Find<MenuSystem::EnterPinMenu>(), nullptr) << SeenList();
  ExpectLabelsClearOfBoxes("PIN entry");
}

void TextsWholeTest::ExpectLabelsClearOfBoxes(const char* what) {
  bool any = false;
  for (const Core::SeenText& t : SeenTexts()) {
    if (t.where.rfind("Views::Text in MenuSystem::ChangePinMenu", 0) != 0 &&
        t.where.rfind("Views::Text in MenuSystem::EnterPinMenu", 0) != 0)
      continue;
    if (t.text.empty() || t.text.back() != ':') continue;  // the labels, not the title
    any = true;
    EXPECT_LE(t.ink.x2, t.box.x1 - 80 + 204) << what << ": " << t.Describe();
  }
  EXPECT_TRUE(any) << what << "\n" << SeenList();
  ExpectAllWhole(what);
}

TEST_F(TextsWholeTest, LocksPagesInSpanish) { WalkLocks(kSpanish); }
TEST_F(TextsWholeTest, LocksPagesInFrench) { WalkLocks(kFrench); }

// The record timer editor, new from the menu, by record now and over the
// guide, then the scheduled list with the guide's timer: labels, choices and
// headings whole in Spanish and French.
class RecordTextsTest : public Texts<recordtest::RecordTest> {
 protected:
  void WalkEditors(int32_t language) {
    ChooseMenuLanguage(language);
    ASSERT_NE(OpenEditorFromMenu(), nullptr);
    Run(500);
    ExpectAllWhole("new timer", "Record::RecordTimerDialog");
    if (language == kFrench) ExpectFrenchColons("new timer");
    // Every repeat choice.
    Record::RecordTimerDialog* e = Editor();
    e->OnSetFocus(&e->TypeButton);
    for (int i = 0; i < 4; ++i) {
      Press("right");
      Run(200);
      ExpectAllWhole("repeat choice", "Record::RecordTimerDialog");
      // The choice keeps clear of its button's rims.
      const kv::Rect button = e->TypeButton.GetAbsoluteBounds();
      int found = 0;
      for (const Core::SeenText& t : SeenTexts()) {
        if (t.where.find("Record::RecordTimerDialog <") == std::string::npos || !button.Contains(t.ink)) continue;
        ++found;
        EXPECT_GE(t.ink.x1 - button.x1, 8) << t.text;
        EXPECT_GE(button.x2 - t.ink.x2, 8) << t.text;
      }
      EXPECT_EQ(found, 1) << SeenList();
    }
    Press("exit");
    Run(500);
    Press("exit");
    Run(500);
    Press("record");
    Run(500);
    Press("down");
    Press("ok");
    Run(500);
    ASSERT_NE(Editor(), nullptr) << SeenList();
    ExpectAllWhole("record now", "Record::RecordTimerDialog");
    Press("back");
    Run(400);
    Press("back");
    Run(400);
    Press("guide");
    Run(1000);
    Press("right");
    Press("down");
    Press("down");
    Run(300);
    Press("ok");
    Run(500);
    ASSERT_NE(Editor(), nullptr) << SeenList();
    ExpectAllWhole("over the guide", "Record::RecordTimerDialog");
    Press("down");
    Press("ok");
    Run(500);
    Press("exit");
    Run(500);
    Press("exit");
    Run(500);
    Ms()->SetMenuIndex(1, 7);
    Press("menu");
    Run(500);
    Press("ok");
    Run(400);
    Press("down");
    Run(400);
    Press("ok");
    Run(800);
    auto* scheduled = Find<Record::ScheduledRecordDialog>();
    ASSERT_NE(scheduled, nullptr) << SeenList();
    ExpectAllWhole("scheduled recordings", "Record::ScheduledRecordDialog");
    // The clock's box, as wide as the language's clock text, keeps its gap
    // to the channel's box beside it.
    EXPECT_GE(scheduled->Parts.ClockFrame.GetAbsoluteBounds().x1 - scheduled->Parts.BannerFrame.GetAbsoluteBounds().x2,
              10);
  }
};

TEST_F(RecordTextsTest, TimerEditorAndScheduledListInSpanish) { WalkEditors(kSpanish); }
TEST_F(RecordTextsTest, TimerEditorAndScheduledListInFrench) { WalkEditors(kFrench); }

// The wireless scan list's headings keep a gap between them; the input
// labels' names and the sleep dialog's title read whole and say what they
// are.
TEST_F(TextsWholeTest, ScanListHeadingsInputLabelsAndSleepTitleInSpanish) {
  ChooseMenuLanguage(kSpanish);
  State("Network::WirelessScanDialog 0");
  Run(2500);
  // The headings: the texts on the row of the first one.
  const std::vector<Core::SeenText> seen = SeenTexts();
  int32_t row = -1;
  for (const Core::SeenText& t : seen)
    if (t.text == "Nombre de red") row = t.box.y1;
  std::vector<Core::SeenText> headings;
  for (const Core::SeenText& t : seen)
    if (t.box.y1 == row && t.where.find("Network::WirelessScanDialog") != std::string::npos) headings.push_back(t);
  ASSERT_GE(headings.size(), 4u) << SeenList();
  for (size_t i = 0; i < headings.size(); ++i)
    for (size_t j = 0; j < headings.size(); ++j)
      if (i != j && headings[i].ink.x1 < headings[j].ink.x1) {
        EXPECT_GE(headings[j].ink.x1 - headings[i].ink.x2, 8) << headings[i].text << " / " << headings[j].text;
      }
  ExpectAllWhole("scan list", "Network::WirelessScanDialog");
  Press("exit");
  Run(500);
  Press("exit");
  Run(500);

  State("NonMenuSystem::InputLabelingDialog");
  ExpectAllWhole("input labels", "NonMenuSystem::InputLabelingDialog");
  Press("exit");
  Run(500);

  // The title names the sleep timer, not the value Off of its first choice.
  Press("sleep");
  Run(300);
  EXPECT_TRUE(Sees("Temporizador")) << SeenList();
  EXPECT_FALSE(Sees("Apagado")) << SeenList();
  ExpectAllWhole("sleep", "NonMenuSystem::SleepTimerDialog");
}

// The IP address page's refusal covers whole rows or none: no label or
// octet is left half covered.
TEST_F(TextsWholeTest, TheIPAddressRefusalLeavesNoRowHalfCovered) {
  State("Network::IPAddressSetupMenu 1");
  Run(400);
  Press("right");
  Run(300);
  Press("down");
  for (int i = 0; i < 4; ++i) {
    Press("right");
    Press("0");
  }
  Press("ok");
  Run(300);
  ASSERT_TRUE(Sees("Invalid address")) << SeenList();
  EXPECT_EQ(Core::TextFaults(SeenTexts()), std::vector<std::string>{}) << SeenList();
}

// English: one spelling of setup and one casing on the pages that showed
// both, and across screens.
TEST_F(TextsWholeTest, EnglishTextsSpellSetupOneWayInSentenceCase) {
  auto expectOneForm = [&](const char* what) {
    for (const Core::SeenText& t : SeenTexts()) {
      if (t.cover == Core::Cover::kWholly) continue;
      EXPECT_EQ(t.text.find("set-up"), std::string::npos) << what << ": " << t.text;
      EXPECT_EQ(t.text.find(" Setup"), std::string::npos) << what << ": " << t.text;
      EXPECT_EQ(t.text.find(" Version"), std::string::npos) << what << ": " << t.text;
    }
  };
  State("Network::WirelessSetupMenu 1");
  for (const char* text : {"Wireless setup", "Easy setup", "Assisted setup"}) EXPECT_TRUE(Sees(text)) << text << "\n" << SeenList();
  expectOneForm("wireless setup");
  Press("exit");
  Run(500);
  State("MediaPlayer::MediaRenderSetupMenu");
  for (const char* text : {"Media renderer setup", "Device name setup", "Controller setup"})
    EXPECT_TRUE(Sees(text)) << text << "\n" << SeenList();
  expectOneForm("media renderer setup");
  Press("exit");
  Run(500);
  State("NonMenuSystem::SystemInfoDialog");
  EXPECT_TRUE(Sees("Software version")) << SeenList();
  expectOneForm("system information");
}

// A word written as a title inside an English text of ours: a capital
// followed by small letters after the first word, not after the end of a
// sentence ("?", "!", ":", or "." after a word longer than an abbreviation),
// and not a name.
std::string TitleCaseWord(const std::string& text) {
  static const std::vector<std::string> kNames = {"Kelvo-Link", "TruVolume", "TruSurround", "Web", "Tide",
                                                  "Monday", "Friday", "Saturday", "Sunday", "Canadian",
                                                  "English", "French", "Spanish"};
  std::vector<std::string> words;
  for (size_t i = 0; i < text.size();) {
    const size_t end = std::min(text.find(' ', i), text.size());
    if (end > i) words.push_back(text.substr(i, end - i));
    i = end + 1;
  }
  for (size_t i = 1; i < words.size(); ++i) {
    const std::string& w = words[i];
    const std::string& before = words[i - 1];
    const char last = before.back();
    if (last == '?' || last == '!' || last == ':' || (last == '.' && before.size() > 5)) continue;
    if (w.size() < 2 || !std::isupper(static_cast<unsigned char>(w[0])) || !std::islower(static_cast<unsigned char>(w[1])))
      continue;
    if (std::find(kNames.begin(), kNames.end(), w) != kNames.end()) continue;
    return w;
  }
  return {};
}

// English: the quick menu and its pages write their rows in sentence case,
// as every other screen does (acronyms and names kept).
TEST_F(TextsWholeTest, EnglishQuickMenuAndItsPagesReadInSentenceCase) {
  auto expectSentenceCase = [&](const char* what) {
    int32_t looked = 0;
    for (const Core::SeenText& t : SeenTexts()) {
      if (t.cover == Core::Cover::kWholly || !t.ours) continue;
      ++looked;
      EXPECT_EQ(TitleCaseWord(t.text), "") << what << ": \"" << t.text << "\"";
    }
    EXPECT_GT(looked, 3) << what << "\n" << SeenList();
  };
  Press("quick");
  Run(500);
  ASSERT_TRUE(Sees("Picture")) << SeenList();
  expectSentenceCase("quick menu");
  Press("ok");
  Run(500);
  ASSERT_TRUE(Sees("Brightness")) << SeenList();
  expectSentenceCase("picture page");
  Press("exit");
  Run(500);
  State("QuickMenu::ScaleWindowMenu");
  expectSentenceCase("scale page");
  Press("exit");
  Run(500);
  State("QuickMenu::PlayerControlMenu");
  expectSentenceCase("player control pad");
}

// French: the first tuner input has the second one's name without the
// number, and the picture size one name on the menu page, in its pop-up
// and in the quick menu.
TEST_F(TextsWholeTest, FrenchNamesTheTunerInputsAndThePictureSizeOneWay) {
  ChooseMenuLanguage(kFrench);
  State("MenuSystem::NoSignalPowerDownMenu");
  std::vector<std::string> rows;
  for (const Core::SeenText& t : SeenTexts())
    if (t.cover != Core::Cover::kWholly) rows.push_back(t.text);
  EXPECT_NE(std::find(rows.begin(), rows.end(), "T\u00e9l\u00e9 2"), rows.end()) << SeenList();
  EXPECT_NE(std::find(rows.begin(), rows.end(), "T\u00e9l\u00e9"), rows.end()) << SeenList();
  EXPECT_EQ(std::find(rows.begin(), rows.end(), "TV"), rows.end()) << SeenList();
  Press("exit");
  Run(500);

  // Menu > Picture: the picture size's row, then its pop-up.
  Press("menu");
  Run(500);
  Press("ok");
  Run(500);
  for (int i = 0; i < 6; ++i) {
    auto* row = kv::Cast<MenuSystem::VidiSubMenuItem>(Focused());
    if (row && row->OptionType == SkinBin::OPTION_TYPE_PICTURE_SIZE) break;
    Press("down");
    Run(300);
  }
  auto* row = kv::Cast<MenuSystem::VidiSubMenuItem>(Focused());
  ASSERT_TRUE(row && row->OptionType == SkinBin::OPTION_TYPE_PICTURE_SIZE) << SeenList();
  const std::string name = row->OnGetText().ToUtf8();
  ASSERT_TRUE(Sees(name)) << name << "\n" << SeenList();
  Press("ok");
  Run(500);
  EXPECT_TRUE(Sees(name)) << name << "\n" << SeenList();
  Press("exit");
  Run(500);
  // The picture size dialog of live TV (the picture size key).
  State("NonMenuSystem::PictureSizeDialog");
  EXPECT_TRUE(Sees(name)) << name << "\n" << SeenList();
}

// French: the HDMI details' captions read whole, each apart from its value.
TEST_F(TextsWholeTest, FrenchHdmiDetailsReadWhole) {
  ChooseMenuLanguage(kFrench);
  Press("input");
  Run(500);
  Press("down", 4);
  Press("ok");
  Run(3000);
  Press("info");
  Run(300);
  ASSERT_NE(Seen("colorim"), nullptr) << SeenList();
  ExpectAllWhole("HDMI details");
}

// Menu > Channels > Channel list, OK on a row: the label key pad opens
// and leaves no sliver of the rows' numbers and labels at its edges.
TEST_F(TextsWholeTest, TheChannelLabelKeyPadLeavesTheRowsWhole) {
  Press("menu");
  Run(500);
  Press("down");
  Run(400);
  Press("down");
  Run(400);
  Press("right");
  Run(400);
  Press("ok");
  Run(500);
  Press("ok");
  Run(500);
  ASSERT_NE(Seen("Metro HD"), nullptr) << SeenList();
  bool pad = false;
  for (const apptest::OpenScreen& o : Screens()) pad = pad || o.cls == "NonMenuSystem::KeyPad";
  ASSERT_TRUE(pad) << SeenList();
  EXPECT_EQ(Core::TextFaults(SeenTexts()), std::vector<std::string>{}) << SeenList();
}

// The first-time setup's tuner page: its three buttons read whole and tell
// tuner 1 from tuner 2.
class FreshSetTextsTest : public Texts<apptest::AppTest> {
 protected:
  FreshSetTextsTest() { freshSet_ = true; }
  void TunerPage(int32_t downs) {
    for (int32_t i = 0; i < downs; ++i) Press("down");
    Press("ok");
    Press("ok");
    Press("ok");
    Run(500);
    auto* page = Find<InitialSetup::TunerSelectDialog>();
    ASSERT_NE(page, nullptr) << SeenList();
    ExpectAllWhole("tuner page");
    const std::string one = page->Button(0).OnGetText().ToUtf8();
    const std::string two = page->Button(1).OnGetText().ToUtf8();
    EXPECT_NE(one, two);
    EXPECT_TRUE(Sees(one)) << one << "\n" << SeenList();
    EXPECT_TRUE(Sees(two)) << two << "\n" << SeenList();
  }
};

TEST_F(FreshSetTextsTest, TunerButtonsInSpanish) { TunerPage(1); }
TEST_F(FreshSetTextsTest, TunerButtonsInFrench) { TunerPage(2); }

// The photo grid's details in Spanish: the size of a photo of five digits
// of bytes reads whole.
class PhotoTextsTest : public Texts<playertest::PlayerTest> {};

TEST_F(PhotoTextsTest, PhotoSizeReadsWholeInSpanish) {
  W()->OnSetUSBSDAutoStart(0);
  std::vector<uint8_t> photo = media_writer::Jpeg(800, 600, 0x204080, 0xC0E0FF);
  ASSERT_LT(photo.size(), 38822u);
  photo.resize(38822, 0);  // padding after the picture's end
  std::filesystem::create_directories(StickDir("photos"));
  ASSERT_TRUE(media_writer::WriteBytes(StickDir("photos") + "/a.jpg", photo));
  Plug("photos");
  Language(1);
  State("MediaPlayer::PhotoMultiView");
  Run(2000);
  EXPECT_TRUE(Sees("Tamaño: 38.822 bytes")) << SeenList();
  ExpectAllWhole("photo grid", "MediaPlayer::PhotoMultiView");
}

// French: the photo viewer's banner and the music player's lines write
// their labels with the space before the colon, as every French text.
TEST_F(PhotoTextsTest, FrenchPhotoViewerAndMusicPlayerWriteTheSpaceBeforeTheColon) {
  W()->OnSetUSBSDAutoStart(0);
  std::filesystem::create_directories(StickDir("mix"));
  ASSERT_TRUE(media_writer::WriteBytes(StickDir("mix") + "/a.jpg", media_writer::Jpeg(800, 600, 0x204080, 0xC0E0FF)));
  media_writer::WriteWav(StickDir("mix") + "/b.wav", 20);
  Plug("mix");
  Language(2);
  Browse(0, Media::MEDIA_TYPE_PICTURE);
  ASSERT_NE(OpenPlayer<MediaPlayer::PhotoSingleView>(&MediaPlayer::PhotoSingleView::StaticClass(), 0), nullptr);
  Run(500);
  ExpectFrenchColons("photo viewer");
  Nms()->ClearAll();
  Run(500);
  Browse(0, Media::MEDIA_TYPE_MUSIC);
  ASSERT_NE(OpenPlayer<MediaPlayer::MusicFullScreenPlay>(&MediaPlayer::MusicFullScreenPlay::StaticClass(), 0), nullptr);
  Run(2000);
  ExpectFrenchColons("music player");
}

// The movie list: the file size line stands between the two divider lines
// under the list, neither crossing its letters.
TEST_F(PhotoTextsTest, TheMovieListsFileSizeStandsBetweenItsDividers) {
  W()->OnSetUSBSDAutoStart(0);
  media_writer::WriteMovie(StickDir("films") + "/m.avi", 4, 64, 48, 120, 100, 160);
  Plug("films");
  State("MediaPlayer::MovieListView");
  Run(2000);
  const Core::SeenText* size = Seen("bytes");
  ASSERT_NE(size, nullptr) << SeenList();
  const kv::Rect ink = size->ink;
  // The dividers: rows of the gap between the list and the information
  // panel (x 520, where only they are drawn) much lighter than the rows
  // around them.
  auto light = [&](int32_t y) {
    const uint32_t p = Osd().Row(y)[520];
    return static_cast<int>(p & 0xFF) + static_cast<int>(p >> 8 & 0xFF) + static_cast<int>(p >> 16 & 0xFF);
  };
  std::vector<int32_t> dividers;
  for (int32_t y = ink.y1 - 20; y < ink.y2 + 20; ++y)
    if (light(y) > light(y - 3) + 60 && light(y) > light(y + 3) + 60) dividers.push_back(y);
  ASSERT_GE(dividers.size(), 2u) << ink.y1 << "-" << ink.y2;
  int above = 0, below = 0;
  for (int32_t y : dividers) {
    EXPECT_TRUE(y < ink.y1 || y >= ink.y2) << "a divider at y " << y << " crosses " << size->Describe();
    above += y < ink.y1 ? 1 : 0;
    below += y >= ink.y2 ? 1 : 0;
  }
  EXPECT_GT(above, 0) << size->Describe();
  EXPECT_GT(below, 0) << size->Describe();
}

}  // namespace
}  // namespace textstest
#endif
