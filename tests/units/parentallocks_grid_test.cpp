// The rating grids through the whole system: the rating limits (US TV,
// movie and not-rated boxes written on Done, the presets, Reset through
// confirmation 35), the downloadable table announced by the simulated set
// and shown one dimension at a time (written at once) or as the alternate
// ratings grid (written on Done, reset through confirmation 38).
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "parentallocks_support.h"
#include "platform/sim/sim_rating_region.h"
#include "platform/xpm/xpm_rating_region.h"
#include "runtime/runtime.h"
#include "runtime/text.h"
#include "strings/ListForm.h"
#include "strings/SkinBin.h"
#include "strings/Strings.h"
#include "units/MenuSystem/SettingPages.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/ParentalLocks/RatingScreens.h"
#include "units/Resources/Font.h"
#include "units/SkinBin/RatingData.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SubSystem/State.h"

namespace parentallockstest {
namespace {

using ParentalLocks::EditDynamicRatings;
using ParentalLocks::EditRatingLimits;
using ParentalLocks::RRTDimensionDialog;
using ParentalLocks::RRTLevelDialog;
using ParentalLocks::USARatings;

std::string Str(const kv::MultiTextId& id) { return kv::GetVariantOfString(id).ToUtf8(); }

// Region 5 as a broadcaster may send it: seven dimensions, graduated and
// plain, one without a name, a level without a first name, one of 100.
sim::RatingRegionTable SevenDimensions() {
  sim::RatingRegionTable r = sim::DefaultRatingRegion();
  r.dimensions.push_back({"", false, {{"", "no name"}, {"B", "bee"}, {"C", "sea"}, {"D", "dee"}}});
  sim::RatingDimensionEntry hundred{"Hundred", true, {}};
  for (int i = 0; i < 100; ++i) hundred.levels.push_back({"H" + std::to_string(i), "level " + std::to_string(i)});
  r.dimensions.push_back(hundred);
  r.dimensions.push_back({"Violence", false, {{"", ""}, {"V", "Violence"}}});
  return r;
}

class RatingGridTest : public ParentalLocksTest {
 protected:
  // The set's movie table G..X as flags.
  std::string Movies() { return SetMovie(); }
  // The grid's TV boxes in the order of the set's strings (SetTV).
  std::string GridTV(USARatings& g) {
    std::string s;
    for (const TVRow& r : kRows)
      for (int32_t i = 0; i < USARatings::kTVBoxes; ++i) {
        ParentalLocks::TVRatingItem& b = g.TV(i);
        const int32_t content = b.ContentRating == kWhole ? 1 : b.ContentRating;
        if (b.IsChildRating == r.child && b.AgeRating == r.level && content == r.content)
          s += b.OnGetIsChecked() ? 'x' : '.';
      }
    return s;
  }
  std::string GridMovies(USARatings& g) {
    std::string s;
    for (int32_t i = 0; i < USARatings::kMovieBoxes; ++i) s += g.Movie(i).OnGetIsChecked() ? 'x' : '.';
    return s;
  }
  void PutMovies(const std::string& flags) {
    for (int32_t r = 2; r <= 7; ++r) XPM_SetUsMovieRating(r, flags[static_cast<size_t>(r - 2)] == 'x', 0);
  }
  size_t RatingWrites() {
    return Calls("XPM_SetUsAgeRating").size() + Calls("XPM_SetUsChildRating").size() +
           Calls("XPM_SetUsMovieRating").size();
  }
  // The parental-locks setting page as the product tree opens it after the
  // PIN, then down and OK on "Edit rating limits".
  EditRatingLimits* OpenRatingLimits() {
    Nms()->ClearAll();
    Ms()->TearDownMenus();
    Settle();
    auto* state = kv::New<SubSystem::State>();
    state->Class = &MenuSystem::ParentalLocksMenu::StaticClass();
    state->Param = SkinBin::UserRefInt::Make(0, Constants::MSG_FROM_MENUSYSTEM);
    auto* msg = kv::New<Structures::Message>();
    msg->Initialize(Constants::MSG_CHANGE_STATE, state);
    kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)
        ->DispatchTo(msg, &MenuSystem::MenuSystem::StaticClass());
    Settle();
    auto* page = Open<MenuSystem::ParentalLocksMenu>();
    EXPECT_NE(page, nullptr);
    if (!page) return nullptr;
    for (int n = 0; n < 5 && Focused() != page->R(1); ++n) Press("down");
    EXPECT_EQ(Focused(), page->R(1));
    Press("ok");
    Settle();
    return Open<EditRatingLimits>();
  }
  // Tunes a digital channel with rated programmes: the set announces its
  // rating table and the settings keep the region.
  void TuneRatedChannel() {
    Skin()->SetChannelApi(0, 5, 1);
    Run(500);
    Settle();
  }
  int32_t StoredRegion() { return Store()->GetInteger(SkinBin::KEY_RATING_REGION); }
  int32_t SetLevel(int32_t dimension, int32_t level) {
    int32_t b = -1;
    XPM_GetRatingLevel(5, dimension, level, &b);
    return b;
  }
  std::string SetLevels(int32_t dimension, int32_t count) {
    std::string s;
    for (int32_t l = 0; l < count; ++l) s += SetLevel(dimension, l) ? 'x' : '.';
    return s;
  }
};

// --- Rating limits ----------------------------------------------------------------------

TEST_F(RatingGridTest, PresetsMoveOnlyBoxesAndDoneWritesThem) {
  PutTV("xxxxxxxxxxxxxxxxxx");
  PutMovies("xxxxxx");
  kv::Persistent<EditRatingLimits> s = OpenRatingLimits();
  ASSERT_NE(s, nullptr);
  USARatings& g = s->Grid();
  EXPECT_EQ(Focused(), &g.TV(0));
  EXPECT_EQ(GridTV(g), "xxxxxxxxxxxxxxxxxx");
  EXPECT_EQ(s->HelpText().OnGetString().ToUtf8(), Str(Strings::SID_RATING_TV_Y_INFO));

  // Children from everything blocked, then Youth from the result, then
  // Children again from everything open: each ends the same whatever the start.
  ClearCallLog();
  g.SelectButton(&g.Button(USARatings::kChildren));
  EXPECT_EQ(GridTV(g), "..xxxxxxxxxxxxxxxx");
  EXPECT_EQ(GridMovies(g), ".xxxxx");
  EXPECT_TRUE(g.NoneBox().OnGetIsChecked());
  g.SelectButton(&g.Button(USARatings::kYouth));
  EXPECT_EQ(GridTV(g), ".........xxxxxxxxx");
  EXPECT_EQ(GridMovies(g), "...xxx");
  for (int32_t i = 0; i < USARatings::kTVBoxes; ++i) g.TV(i).OnSetIsChecked(false);
  for (int32_t i = 0; i < USARatings::kMovieBoxes; ++i) g.Movie(i).OnSetIsChecked(false);
  g.NoneBox().OnSetIsChecked(false);
  // Children through the keys: right to the buttons, OK.
  g.OnSetFocus(&g.Button(USARatings::kChildren));
  Press("ok");
  Settle();
  EXPECT_EQ(GridTV(g), "..xxxxxxxxxxxxxxxx");
  EXPECT_EQ(GridMovies(g), ".xxxxx");
  EXPECT_EQ(s->HelpText().OnGetString().ToUtf8(), Str(Strings::SID_RATING_BTN_CHILDREN_INFO));
  EXPECT_EQ(RatingWrites(), 0u);

  // Leaving without Done changes nothing; back returns to the setting page.
  Press("back");
  Settle();
  EXPECT_FALSE(s->IsOpen());
  EXPECT_EQ(SetTV(), "xxxxxxxxxxxxxxxxxx");
  EXPECT_EQ(Movies(), "xxxxxx");
  auto* page = Open<MenuSystem::ParentalLocksMenu>();
  ASSERT_NE(page, nullptr);
  EXPECT_TRUE(page->IsVisible());
  EXPECT_EQ(Focused(), page->R(1));

  // Youth and Done: the set holds what the boxes show.
  s = OpenRatingLimits();
  ASSERT_NE(s, nullptr);
  s->Grid().OnSetFocus(&s->Grid().Button(USARatings::kYouth));
  Press("ok");
  s->Grid().OnSetFocus(&s->Grid().Button(USARatings::kReset));
  Press("up");  // the alternate-ratings button is hidden: Reset, Done
  ASSERT_EQ(Focused(), &s->Grid().Button(USARatings::kDone));
  Press("up");  // then the movie column
  EXPECT_EQ(Focused(), &s->Grid().Movie(4));
  Press("right");
  ASSERT_EQ(Focused(), &s->Grid().Button(USARatings::kDone));
  EXPECT_TRUE(s->HelpText().OnGetString().Empty());
  Press("ok");
  Settle();
  EXPECT_EQ(SetTV(), ".........xxxxxxxxx");
  EXPECT_EQ(Movies(), "...xxx");
  EXPECT_TRUE(Skin()->GetNoneRating());

  // The not-rated box alone: no other box moves; Done writes it.
  kv::Persistent<EditRatingLimits> t = OpenRatingLimits();
  ASSERT_NE(t, nullptr);
  t->Grid().OnSetFocus(&t->Grid().NoneBox());
  Press("ok");
  Settle();
  EXPECT_EQ(GridTV(t->Grid()), ".........xxxxxxxxx");
  EXPECT_EQ(GridMovies(t->Grid()), "...xxx");
  EXPECT_EQ(t->HelpText().OnGetString().ToUtf8(), Str(Strings::SID_RATING_NONE_INFO));
  t->Grid().OnSetFocus(&t->Grid().Button(USARatings::kDone));
  ClearCallLog();
  Press("ok");
  Settle();
  EXPECT_FALSE(Skin()->GetNoneRating());
  EXPECT_EQ(SetTV(), ".........xxxxxxxxx");
}

TEST_F(RatingGridTest, FocusFollowsTheGridsOverridesAndTheHelpFollowsTheFocus) {
  kv::Persistent<EditRatingLimits> s = OpenRatingLimits();
  ASSERT_NE(s, nullptr);
  USARatings& g = s->Grid();
  struct Move {
    Forms::Ctrl* from;
    const char* key;
    Forms::Ctrl* to;
  };
  const Move moves[] = {
      {&g.TV(2), "down", &g.NoneBox()},     {&g.TV(13), "down", &g.NoneBox()},  {&g.Movie(5), "down", &g.NoneBox()},
      {&g.NoneBox(), "up", &g.TV(14)},      {&g.Movie(0), "left", &g.TV(0)},   {&g.Movie(1), "left", &g.TV(2)},
      {&g.Movie(2), "left", &g.TV(3)},      {&g.TV(15), "left", &g.TV(14)},    {&g.TV(0), "right", &g.Movie(0)},
      {&g.TV(2), "right", &g.Movie(1)},     {&g.TV(3), "right", &g.Movie(2)},  {&g.TV(14), "right", &g.TV(15)},
      {&g.TV(4), "down", &g.TV(9)},         {&g.Movie(0), "right", &g.Button(USARatings::kChildren)},
  };
  for (const Move& m : moves) {
    SCOPED_TRACE(std::string(m.key));
    g.OnSetFocus(m.from);
    Press(m.key);
    Settle();
    EXPECT_EQ(Focused(), m.to);
  }
  // The help line describes the focused box.
  g.OnSetFocus(&g.TV(4));
  Press("down");
  Settle();
  EXPECT_EQ(s->HelpText().OnGetString().ToUtf8(), Str(Strings::SID_RATING_TV_14_INFO));
  // The placeholders take no focus: right from TV-Y7 FV skips to the movies.
  EXPECT_TRUE(s->IsOpen());
}

// The five content columns carry their headings over the boxes: without
// them the viewer cannot tell a D box from an L box.
TEST_F(RatingGridTest, TheContentColumnsShowTheirHeadings) {
  kv::Persistent<EditRatingLimits> s = OpenRatingLimits();
  ASSERT_NE(s, nullptr);
  USARatings& g = s->Grid();
  Run(200);
  const std::vector<Core::SeenText> seen = SeenTexts();
  const kv::Rect fv = g.TV(2).GetAbsoluteBounds();  // TV-Y7 FV
  for (const char* head : {"FV", "D", "L", "S", "V"}) {
    const auto h = std::find_if(seen.begin(), seen.end(), [&](const Core::SeenText& t) { return t.text == head; });
    ASSERT_NE(h, seen.end()) << head << " not seen\n" << SeenList();
    EXPECT_TRUE(h->Readable()) << h->Describe();
    EXPECT_LE(h->ink.y2, g.TV(0).GetAbsoluteBounds().y1) << h->Describe();  // over the first row
  }
  // The boxes' own names read whole beside their check images.
  for (const char* name : {"TV-Y7", "TV-PG", "TV-14", "PG-13", "NC-17"}) EXPECT_TRUE(Sees(name)) << name;
  const auto h = std::find_if(seen.begin(), seen.end(), [](const Core::SeenText& t) { return t.text == "FV"; });
  const int32_t middle = (h->ink.x1 + h->ink.x2) / 2;
  EXPECT_TRUE(middle >= fv.x1 && middle <= fv.x2) << h->Describe() << " not over the FV box at x " << fv.x1;
}

// Youth on a new set, where every box is open: R and everything stricter
// blocked, on the screen and, after Done, in the set.
TEST_F(RatingGridTest, YouthOnANewSetBlocksRAndStricter) {
  kv::Persistent<EditRatingLimits> s = OpenRatingLimits();
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(GridMovies(s->Grid()), "......");
  s->Grid().OnSetFocus(&s->Grid().Button(USARatings::kYouth));
  Press("ok");
  Settle();
  EXPECT_EQ(GridMovies(s->Grid()), "...xxx");
  s->Grid().OnSetFocus(&s->Grid().Button(USARatings::kDone));
  Press("ok");
  Settle();
  EXPECT_EQ(Movies(), "...xxx");
}

// The cells without a descriptor hold inert boxes: they must not look like
// boxes the viewer can tick. Under TV-G (whose row has no descriptor) the
// outline of an empty cell stays dim, while the live TV-Y7 FV box above it
// shows the bright outline of a box that takes OK.
TEST_F(RatingGridTest, TheEmptyCellsLookDisabledBesideTheBoxesThatTick) {
  kv::Persistent<EditRatingLimits> s = OpenRatingLimits();
  ASSERT_NE(s, nullptr);
  USARatings& g = s->Grid();
  Run(200);
  // The brightest channel of any pixel in a box.
  auto brightest = [&](const kv::Rect& box) {
    const ge::Surface& osd = Osd();
    uint32_t top = 0;
    for (int32_t y = box.y1; y < box.y2; ++y)
      for (int32_t x = box.x1; x < box.x2; ++x) {
        const uint32_t p = osd.Row(y)[x];
        top = std::max({top, p & 0xFFu, p >> 8 & 0xFFu, p >> 16 & 0xFFu});
      }
    return top;
  };
  const kv::Rect live = g.TV(2).GetAbsoluteBounds();  // TV-Y7 FV
  ASSERT_FALSE(g.TV(2).OnGetIsChecked());
  ASSERT_FALSE(g.TV(2).IsFocused());
  const kv::Rect underTVG = live.Move({0, 32});      // TV-G, FV column: no descriptor
  const kv::Rect underTVPG = live.Move({0, 64});     // TV-PG, FV column: no descriptor
  const uint32_t bright = brightest(live);
  EXPECT_GE(bright, 180u);
  for (const kv::Rect& cell : {underTVG, underTVPG}) {
    const uint32_t dim = brightest(cell);
    EXPECT_LT(dim, bright / 2) << "an empty cell at y " << cell.y1 << " looks like a live box";
    EXPECT_GT(dim, 30u) << "an empty cell at y " << cell.y1 << " shows no box at all";
  }
  // They still take no focus: right from TV-G goes to the movies.
  g.OnSetFocus(&g.TV(3));
  Press("right");
  Settle();
  EXPECT_EQ(Focused(), &g.Movie(2));
}

// Reset asks confirmation 35; Yes clears the set's tables and the screen
// comes back showing them; No comes back unchanged.
TEST_F(RatingGridTest, ResetThroughConfirmation35ClearsTheTablesAndComesBack) {
  PutTV("xxxxxxxxxxxxxxxxxx");
  PutMovies("xxxxxx");
  Skin()->SetNoneRating(true);
  kv::Persistent<EditRatingLimits> s = OpenRatingLimits();
  ASSERT_NE(s, nullptr);
  s->Grid().OnSetFocus(&s->Grid().Button(USARatings::kReset));
  Press("ok");
  Settle();
  EXPECT_FALSE(s->IsOpen());
  auto* confirm = Open<NonMenuSystem::ConfirmMultiOptionDialog>();
  ASSERT_NE(confirm, nullptr);
  EXPECT_EQ(confirm->OnGetConfirmType(), 35);
  Press("ok");  // No
  Settle();
  s = Open<EditRatingLimits>();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(SetTV(), "xxxxxxxxxxxxxxxxxx");
  s->Grid().OnSetFocus(&s->Grid().Button(USARatings::kReset));
  Press("ok");
  Settle();
  confirm = Open<NonMenuSystem::ConfirmMultiOptionDialog>();
  ASSERT_NE(confirm, nullptr);
  Press("left");
  Press("ok");
  Settle();
  EXPECT_EQ(SetTV(), "..................");
  EXPECT_EQ(Movies(), "......");
  EXPECT_FALSE(Skin()->GetNoneRating());
  kv::Persistent<EditRatingLimits> again = Open<EditRatingLimits>();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(GridTV(again->Grid()), "..................");
  EXPECT_EQ(GridMovies(again->Grid()), "......");
  EXPECT_EQ(Focused(), &again->Grid().TV(0));
  Press("ok");  // the keys still act
  Settle();
  EXPECT_TRUE(again->Grid().TV(0).OnGetIsChecked());
}

// While the display is locked the set takes no write: after Done the boxes
// show the set's state again.
TEST_F(RatingGridTest, ARefusedDoneReloadsTheBoxes) {
  PutTV("..................");
  PutMovies("......");
  kv::Persistent<EditRatingLimits> s = OpenRatingLimits();
  ASSERT_NE(s, nullptr);
  USARatings& g = s->Grid();
  g.SelectButton(&g.Button(USARatings::kYouth));
  W()->SetOSDLock(true);
  g.OnSetFocus(&g.Button(USARatings::kDone));
  Press("ok");
  Settle();
  W()->SetOSDLock(false);
  EXPECT_EQ(SetTV(), "..................");
  EXPECT_EQ(GridTV(g), "..................");
  EXPECT_EQ(GridMovies(g), "......");
  EXPECT_FALSE(g.NoneBox().OnGetIsChecked());
}

// --- The downloadable table ---------------------------------------------------------------

TEST_F(RatingGridTest, TheAnnouncedTableShowsInTheDimensionAndLevelDialogs) {
  // No region stored: the menu has no downloadable row, the dialog no rows,
  // the grid no alternate-ratings button.
  ASSERT_EQ(StoredRegion(), 0);
  kv::Persistent<RRTDimensionDialog> dims = OpenFromMenu<RRTDimensionDialog>();
  ASSERT_NE(dims, nullptr);
  EXPECT_EQ(dims->List().DataSource->Num, 0);
  kv::Persistent<EditDynamicRatings> empty = OpenFromMenu<EditDynamicRatings>();
  ASSERT_NE(empty, nullptr);
  EXPECT_FALSE(empty->Table().IsVisible());
  EXPECT_EQ(Focused(), &empty->DoneButton());
  kv::Persistent<EditRatingLimits> limits = OpenRatingLimits();
  ASSERT_NE(limits, nullptr);
  // No key reaches the hidden alternate-ratings button.
  USARatings& g = limits->Grid();
  EXPECT_FALSE(g.Button(USARatings::kAlternate).IsVisible());
  for (int32_t i = 0; i < g.GetChildCount(); ++i) {
    auto* from = kv::Cast<Forms::Ctrl>(g.GetChild(i));
    if (!from || !from->CanFocus()) continue;
    for (const char* key : {"up", "down", "left", "right"}) {
      g.OnSetFocus(from);
      Press(key);
      EXPECT_NE(Focused(), &g.Button(USARatings::kAlternate)) << key << " from " << i;
    }
  }

  // A rated digital channel announces region 5 (four dimensions): stored.
  TuneRatedChannel();
  EXPECT_EQ(StoredRegion(), 5);
  dims = OpenFromMenu<RRTDimensionDialog>();
  ASSERT_NE(dims, nullptr);
  EXPECT_EQ(dims->List().DataSource->Num, 4);
  EXPECT_EQ(dims->Bounds().H(), 350 - 4 * 28);
  EXPECT_EQ(dims->OnGetTimeOutValue(), 60000);

  // A new table of seven: announced at once.
  sim::SetRatingRegion(Tv(), SevenDimensions());
  Run(100);
  Settle();
  dims = OpenFromMenu<RRTDimensionDialog>();
  ASSERT_NE(dims, nullptr);
  EXPECT_EQ(dims->List().DataSource->Num, 7);
  EXPECT_EQ(dims->Bounds().H(), 350 - 28);
  // The unnamed dimension 4: the level dialog's caption is the prefix and 4.
  Press("down", 4);
  Press("ok");
  Settle();
  kv::Persistent<RRTLevelDialog> levels = Open<RRTLevelDialog>();
  ASSERT_NE(levels, nullptr);
  EXPECT_FALSE(dims->IsOpen());
  EXPECT_EQ(levels->OnGetCaption().ToUtf8(), Str(ListForm::UNNAMED_DIMENSION) + "4");
  EXPECT_EQ(levels->Bounds().H(), 350 - 2 * (6 + 32));  // four levels of six rows
  EXPECT_EQ(levels->OnGetTimeOutValue(), 60000);
  // Back reopens the dimensions on the same one.
  Press("back");
  Settle();
  dims = Open<RRTDimensionDialog>();
  ASSERT_NE(dims, nullptr);
  auto* row = kv::Cast<ListForm::KXDRRTDimensionItem>(Focused());
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->ItemIndex, 4);

  // The graduated "Entire Audience": a toggle reaches the set at once, with
  // its cascade; the caption is the dimension's name.
  Press("up", 4);
  Press("ok");
  Settle();
  levels = Open<RRTLevelDialog>();
  ASSERT_NE(levels, nullptr);
  EXPECT_EQ(levels->OnGetCaption().ToUtf8(), "Entire Audience");
  EXPECT_EQ(levels->Bounds().H(), 350);
  ClearCallLog();
  Press("down", 3);  // TV-PG
  Press("ok");
  Settle();
  EXPECT_EQ(Calls("XPM_SetRatingLevel").size(), 3u);
  EXPECT_EQ(SetLevels(0, 6), "...xxx");
  // A region of three dimensions: the dimension dialog is five rows shorter.
  sim::RatingRegionTable three = sim::DefaultRatingRegion();
  three.dimensions.pop_back();
  sim::SetRatingRegion(Tv(), three);
  Run(100);
  Settle();
  dims = OpenFromMenu<RRTDimensionDialog>();
  ASSERT_NE(dims, nullptr);
  EXPECT_EQ(dims->Bounds().H(), 350 - 5 * 28);
}

TEST_F(RatingGridTest, AlternateRatingsEditSevenDimensionsAndWriteOnlyOnDone) {
  sim::SetRatingRegion(Tv(), SevenDimensions());
  Run(100);
  Settle();
  ASSERT_EQ(StoredRegion(), 5);
  kv::Persistent<EditRatingLimits> limits = OpenRatingLimits();
  ASSERT_NE(limits, nullptr);
  SkinBin::Button& alternate = limits->Grid().Button(USARatings::kAlternate);
  ASSERT_TRUE(alternate.IsVisible());
  limits->Grid().OnSetFocus(&limits->Grid().Button(USARatings::kDone));
  Press("up");
  ASSERT_EQ(Focused(), &alternate);
  EXPECT_EQ(limits->HelpText().OnGetString().ToUtf8(), Str(Strings::SID_EDIT_ALTERNATE_RATINGS));
  Press("ok");
  Settle();
  kv::Persistent<EditDynamicRatings> alt = Open<EditDynamicRatings>();
  ASSERT_NE(alt, nullptr);
  ListForm::RRTDimensionList& table = alt->Table();
  EXPECT_TRUE(table.IsVisible());
  EXPECT_EQ(table.Bounds().W(), 634);
  EXPECT_EQ(table.Bounds().H(), 280);
  auto column = [&] { return kv::Cast<ListForm::RRTDimensionItem>(table.GetFocusedRow()); };
  ASSERT_NE(column(), nullptr);
  EXPECT_EQ(column()->ItemIndex, 0);
  EXPECT_EQ(table.GetRows().size(), 5u);
  // The columns stand on the table's flat panel, the colour of the help
  // line's panel: the gap between two columns shows it, not the frame.
  {
    Settle();
    const kv::Rect first = table.GetRows()[0]->GetAbsoluteBounds();
    const kv::Rect dialog = alt->GetAbsoluteBounds();
    const uint32_t panel = Osd().Row(dialog.y1 + 315)[dialog.x1 + 8];
    EXPECT_EQ(Osd().Row((first.y1 + first.y2) / 2)[first.x2 + 1], panel);
  }
  // The first dimension's heading reads whole, not cut to "Entire Audi...":
  // its text fits the column it heads.
  {
    ASSERT_EQ(column()->OnGetText().ToUtf8(), "Entire Audience");
    Resources::Font* font = column()->OnGetTextFont();
    ASSERT_NE(font, nullptr);
    EXPECT_LE(font->GetTextWidth(column()->OnGetText()), column()->Bounds().W());
  }
  // The help line names the focused level.
  Press("down", 2);
  Settle();
  EXPECT_EQ(alt->HelpText().OnGetString().ToUtf8(), "General audience");

  // A graduated toggle moves the table only: nothing reaches the set.
  ClearCallLog();
  Press("ok");  // TV-G blocked, and every stricter level with it
  Settle();
  EXPECT_TRUE(Calls("XPM_SetRatingLevel").empty());
  auto* levels = &column()->Levels();
  auto checked = [](ListForm::RRTLevelList* l) {
    std::string s;
    for (Forms::Ctrl* r : l->GetRows()) s += kv::Cast<ListForm::RRTLevelItem>(r)->OnGetIsChecked() ? 'x' : '.';
    return s;
  };
  EXPECT_EQ(checked(levels), "..xxxx");
  // Only the focused column shows its focused level as focused.
  auto state = [](ListForm::RRTLevelList& l) { return kv::Cast<ListForm::RRTLevelItem>(l.GetFocusedRow())->GetCtrlState(); };
  EXPECT_EQ(state(*levels), ::Button::kStateFocused);
  Press("right");
  EXPECT_NE(state(*levels), ::Button::kStateFocused);
  EXPECT_EQ(state(column()->Levels()), ::Button::kStateFocused);
  Press("left");
  // Right across the columns: the sixth and seventh scroll in.
  Press("right", 6);
  Settle();
  ASSERT_NE(column(), nullptr);
  EXPECT_EQ(column()->ItemIndex, 6);
  EXPECT_EQ(column()->OnGetText().ToUtf8(), "Violence");
  Press("down");
  Press("ok");  // V blocked: plain, alone
  Settle();
  EXPECT_EQ(checked(&column()->Levels()), ".x");
  // Down on the last level leaves the table for Done.
  Press("down");
  Settle();
  ASSERT_EQ(Focused(), &alt->DoneButton());
  EXPECT_TRUE(alt->HelpText().OnGetString().Empty());
  EXPECT_TRUE(Calls("XPM_SetRatingLevel").empty());
  Press("ok");
  Settle();
  EXPECT_EQ(SetLevels(0, 6), "..xxxx");
  EXPECT_EQ(SetLevels(6, 2), ".x");
  EXPECT_EQ(Calls("XPM_SetRatingLevel").size(), 5u);
  Press("up");
  Settle();
  EXPECT_EQ(Focused()->Owner(), &table);  // a column of the table

  // Reset asks confirmation 38; Yes resets the region and comes back.
  alt->OnSetFocus(&alt->ResetButton());
  Press("ok");
  Settle();
  auto* confirm = Open<NonMenuSystem::ConfirmMultiOptionDialog>();
  ASSERT_NE(confirm, nullptr);
  EXPECT_EQ(confirm->OnGetConfirmType(), 38);
  ClearCallLog();
  Press("left");
  Press("ok");
  Settle();
  EXPECT_EQ(Calls("XPM_ResetRatingRegion"), std::vector<std::string>{"XPM_ResetRatingRegion(5)"});
  EXPECT_EQ(SetLevels(0, 6), "......");
  alt = Open<EditDynamicRatings>();
  ASSERT_NE(alt, nullptr);
  EXPECT_EQ(checked(&kv::Cast<ListForm::RRTDimensionItem>(alt->Table().GetFocusedRow())->Levels()), "......");
  // Back to the rating limits.
  Press("back");
  Settle();
  EXPECT_NE(Open<EditRatingLimits>(), nullptr);
}

// The alternate ratings of the table a rated channel announces: every
// column heading stands whole inside its column, a little in from the
// grid's edge and well clear of the next heading; no column lists a level
// name twice, nor does the level dialog of "Entire Audience".
TEST_F(RatingGridTest, AlternateRatingsHeadingsStandApartAndNoLevelShowsTwice) {
  TuneRatedChannel();
  ASSERT_EQ(StoredRegion(), 5);
  kv::Persistent<EditRatingLimits> limits = OpenRatingLimits();
  ASSERT_NE(limits, nullptr);
  limits->Grid().OnSetFocus(&limits->Grid().Button(USARatings::kAlternate));
  Press("ok");
  Settle();
  kv::Persistent<EditDynamicRatings> alt = Open<EditDynamicRatings>();
  ASSERT_NE(alt, nullptr);
  std::vector<Core::SeenText> seen = SeenTexts();
  auto inside = [](const Core::SeenText& t, const kv::Rect& r) {
    return t.box.x1 >= r.x1 && t.box.x2 <= r.x2 && t.box.y1 >= r.y1 && t.box.y2 <= r.y2;
  };
  std::vector<const Core::SeenText*> headings;
  for (Forms::Ctrl* row : alt->Table().GetRows()) {
    auto* column = kv::Cast<ListForm::RRTDimensionItem>(row);
    if (!column || !column->IsVisible()) continue;
    const kv::Rect c = column->GetAbsoluteBounds();
    const std::string name = column->OnGetText().ToUtf8();
    const auto h = std::find_if(seen.begin(), seen.end(), [&](const Core::SeenText& t) {
      return t.text == name && inside(t, c) && t.box.y1 < c.y1 + 24;
    });
    ASSERT_NE(h, seen.end()) << name << " not seen\n" << SeenList();
    EXPECT_TRUE(h->Readable()) << h->Describe();
    EXPECT_GE(h->ink.x1, c.x1 + 3) << h->Describe();  // in line with the check boxes
    EXPECT_LE(h->ink.x2, c.x2 - 2) << h->Describe();
    headings.push_back(&*h);
    // The column's level names, each once.
    std::set<std::string> names;
    for (const Core::SeenText& t : seen)
      if (&t != &*h && inside(t, c) && t.Readable()) {
        EXPECT_TRUE(names.insert(t.text).second) << name << ": " << t.Describe();
      }
    EXPECT_GE(names.size(), 2u) << name;
  }
  ASSERT_EQ(headings.size(), 4u) << SeenList();
  for (size_t i = 0; i + 1 < headings.size(); ++i)
    EXPECT_GE(headings[i + 1]->ink.x1 - headings[i]->ink.x2, 12) << headings[i]->Describe() << "\n"
                                                                << headings[i + 1]->Describe();

  kv::Persistent<RRTDimensionDialog> dims = OpenFromMenu<RRTDimensionDialog>();
  ASSERT_NE(dims, nullptr);
  Press("ok");  // Entire Audience
  Settle();
  kv::Persistent<RRTLevelDialog> levels = Open<RRTLevelDialog>();
  ASSERT_NE(levels, nullptr);
  seen = SeenTexts();
  std::set<std::string> names;
  for (const Core::SeenText& t : seen)
    if (inside(t, levels->GetAbsoluteBounds()) && t.text != "Entire Audience") {
      EXPECT_TRUE(names.insert(t.text).second) << t.Describe();
    }
  EXPECT_EQ(names.size(), 6u) << SeenList();
}

TEST_F(RatingGridTest, EachScreenReturnsToItsCensus) {
  sim::SetRatingRegion(Tv(), SevenDimensions());
  Run(100);
  Settle();
  ExpectEachReturnsToItsCensus({&EditRatingLimits::StaticClass(), &EditDynamicRatings::StaticClass(),
                                &RRTDimensionDialog::StaticClass(), &RRTLevelDialog::StaticClass()});
}

}  // namespace
}  // namespace parentallockstest
