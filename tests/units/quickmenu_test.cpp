// The quick menu over the whole system: its rows per quick type, the row
// filter, the remembered row, the option and slider rows, the quick pages
// and the player control pad.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "nonmenusystem_support.h"
#include "platform/sim/sim_apps.h"
#include "platform/tvsm/tvsm.h"
#include "platform/xpm/xpm_record.h"
#include "runtime/runtime.h"
#include "strings/QuickMenu.h"
#include "strings/SkinBinWrapper.h"
#include "button_caption.h"
#include "units/Constants/Constants.h"
#include "units/Events/StatusEvent.h"
#include "units/Media/MediaWrapper.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/QuickMenu/PlayerControlMenu.h"
#include "units/QuickMenu/QuickItems.h"
#include "units/QuickMenu/QuickMenu.h"
#include "units/QuickMenu/QuickPages.h"
#include "units/SkinBin/Wrapper.h"
#include "units/SubSystem/State.h"
#include "units/WinIDs/WinIDs.h"

namespace quicktest {

using QuickMenu::QuickMenuItem;

class QuickMenuTest : public livetvtest::LiveTVTest {
 protected:
  SkinBin::Wrapper* Skin() { return NonMenuSystem::Live::Skin(); }
  QuickMenu::QuickMenu* Menu() {
    return kv::Cast<QuickMenu::QuickMenu>(Wm()->FindForm(WinIDs::WIN_ID_QuickMenu));
  }
  template <class T>
  T* Open() {
    for (auto* f : OpenForms())
      if (auto* t = kv::Cast<T>(f)) return t;
    return nullptr;
  }
  // The captions of the rows of the open quick screen `form`.
  static std::vector<std::string> Rows(Primitives::KeyRoutingForm* form) {
    std::vector<std::string> out;
    if (!form) return out;
    for (int32_t i = 0; i < form->GetChildCount(); ++i)
      if (auto* row = kv::Cast<QuickMenuItem>(form->GetChild(i)))
        if (row->IsVisible()) out.push_back(row->OnGetText().ToUtf8());
    return out;
  }
  static std::string T(const kv::MultiTextId& id) { return kv::GetVariantOfString(id).ToUtf8(); }
  std::string FocusedText() {
    auto* row = kv::Cast<QuickMenuItem>(Focused());
    return row ? row->OnGetText().ToUtf8() : std::string();
  }
  void Quick() {
    Press("quick");
    Settle();
  }
};

TEST_F(QuickMenuTest, RowsOnTheTunerFollowTimeshiftAndTheUsbDisk) {
  Quick();
  ASSERT_NE(Menu(), nullptr);
  EXPECT_EQ(Menu()->QuickType, QuickMenu::QuickType_SingleWindow);
  const std::vector<std::string> live = {T(QuickMenu::SID_PICTURE), T(QuickMenu::SID_SOUND),
                                         T(QuickMenu::InputMenuPCSettings), T(QuickMenu::SettingsMenuSystemInfo),
                                         T(QuickMenu::TimeshiftMenuDuration)};
  EXPECT_EQ(Rows(Menu()), live);
  // 5 rows: 5 x 26 + 60 high, standing on a line 10 pixels above the bottom.
  EXPECT_EQ(Menu()->Bounds(), (kv::Rect{10, 530 - 190, 10 + 366, 530}));
  EXPECT_EQ(FocusedText(), T(QuickMenu::SID_PICTURE));
  Press("exit");
  Settle();
  EXPECT_EQ(Menu(), nullptr);

  // While the set timeshifts the status row takes the duration row's place.
  // The USB row sits in the ninth slot of this type, beyond the eight examined.
  sim::MountUsbDisk(Tv());
  ASSERT_EQ(XPM_TIMESHIFT_START(0), 0);
  // The disk's plug report (and the question it may raise) comes before the key.
  Settle();
  Quick();
  const std::vector<std::string> shifting = {T(QuickMenu::SID_PICTURE), T(QuickMenu::SID_SOUND),
                                             T(QuickMenu::InputMenuPCSettings), T(QuickMenu::SettingsMenuSystemInfo),
                                             T(QuickMenu::TimeshiftMenuStatus)};
  EXPECT_EQ(Rows(Menu()), shifting);
}

TEST_F(QuickMenuTest, HdmiHasNoTimeshiftRowAndAppsPickTheirType) {
  ASSERT_TRUE(SwitchToSourceType(Constants::XPM_SOURCE_TYPE_AV_HDMI));
  Quick();
  const std::vector<std::string> hdmi = {T(QuickMenu::SID_PICTURE), T(QuickMenu::SID_SOUND),
                                         T(QuickMenu::InputMenuPCSettings), T(QuickMenu::SettingsMenuSystemInfo)};
  EXPECT_EQ(Rows(Menu()), hdmi);
  Press("exit");
  Settle();

  struct Case {
    int32_t kind;
    const char* name;
    int32_t flags;
    int32_t type;  // -1: no menu
  } cases[] = {
      {TVSM_APP_DOCK, "dock", 1, QuickMenu::QuickType_Movie_DMR},
      {TVSM_APP_DOCK, "dock", 0, QuickMenu::QuickType_TVWidget_Stream},
      {TVSM_APP_FLASH, "Vudu", 0, QuickMenu::QuickType_TVWidget_Stream},
      {TVSM_APP_FLASH, "my netflix app", 1, QuickMenu::QuickType_Movie_DMR},
      {TVSM_APP_FLASH, "Pandora radio", 0, QuickMenu::QuickType_Pandora},
      {TVSM_APP_FLASH, "unknown game", 0, -1},
      {TVSM_APP_WIDGET, "widgets", 1, QuickMenu::QuickType_TVWidget_Stream},
      {TVSM_APP_WIDGET, "widgets", 0, QuickMenu::QuickType_TVWidget_Input},
  };
  for (const Case& c : cases) {
    sim::EndApps(Tv(), c.kind);
    sim::StartApp(Tv(), c.kind, c.name, c.flags);
    auto* state = kv::New<SubSystem::State>();
    state->Class = &QuickMenu::QuickMenu::StaticClass();
    auto* menu = kv::Cast<QuickMenu::QuickMenu>(Nms()->ChangeState(state));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->QuickType, c.type) << c.name << " " << c.flags;
    Settle();
    EXPECT_EQ(Menu() != nullptr, c.type != -1) << c.name;
    Nms()->ClearAll();
    Settle();
    sim::EndApps(Tv(), c.kind);
  }
}

TEST_F(QuickMenuTest, MediaScreensByWindowId) {
  SwitchToSourceType(Constants::XPM_SOURCE_TYPE_EXT);
  const struct {
    uint32_t id;
    int32_t type;
  } screens[] = {{WinIDs::WIN_ID_PhotoFrame, -1},
                 {WinIDs::WIN_ID_PhotoSingleView, QuickMenu::QuickType_Photo_SingleView},
                 {WinIDs::WIN_ID_MovieListView, QuickMenu::QuickType_Movie_List},
                 {WinIDs::WIN_ID_MusicPlayer, QuickMenu::QuickType_Music_Play}};
  if (NonMenuSystem::Live::CurrentSourceType() != Constants::XPM_SOURCE_TYPE_EXT) GTEST_SKIP() << "no media source on this set";
  for (bool disk : {false, true}) {
  if (disk) sim::MountUsbDisk(Tv()); else sim::RemoveUsbDisk(Tv());
  for (const auto& s : screens) {
    auto* screen = kv::New<NonMenuSystem::WidgetClass>();
    screen->WinID = s.id;
    auto* state = kv::New<SubSystem::State>();
    state->Instance = screen;
    state->Class = screen->KvClass();
    Nms()->ChangeState(state);
    auto* qs = kv::New<SubSystem::State>();
    qs->Class = &QuickMenu::QuickMenu::StaticClass();
    auto* menu = kv::Cast<QuickMenu::QuickMenu>(Nms()->ChangeState(qs));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->QuickType, s.type);
    const std::vector<std::string> rows = Rows(menu);
    const bool usb = std::find(rows.begin(), rows.end(), T(QuickMenu::RecordMenuUSBDiskStatus)) != rows.end();
    EXPECT_EQ(usb, disk && s.type != -1) << s.id;
    Nms()->ClearAll();
    Settle();
  }
  }
}

TEST_F(QuickMenuTest, RemembersTheRowPerTypeAndWraps) {
  Quick();
  Press("up");
  EXPECT_EQ(FocusedText(), T(QuickMenu::TimeshiftMenuDuration));  // up from the first: the last
  Press("down");
  EXPECT_EQ(FocusedText(), T(QuickMenu::SID_PICTURE));  // down from the last: the first
  Press("down", 2);
  EXPECT_EQ(FocusedText(), T(QuickMenu::InputMenuPCSettings));
  Press("quick");  // back to the previous state: none, so the menu closes
  Settle();
  EXPECT_EQ(Menu(), nullptr);
  EXPECT_EQ(Nms()->GetQuickMenuIndex(QuickMenu::QuickType_SingleWindow), 2);
  Quick();
  EXPECT_EQ(FocusedText(), T(QuickMenu::InputMenuPCSettings));
  Nms()->ClearAll();
  Settle();

  // A row remembered from a longer menu, or none (-1), starts at the top.
  for (int32_t remembered : {9, -1}) {
    Nms()->SetQuickMenuIndex(QuickMenu::QuickType_SingleWindow, remembered);
    Quick();
    EXPECT_EQ(FocusedText(), T(QuickMenu::SID_PICTURE)) << remembered;
    Nms()->ClearAll();
    Settle();
  }
  // 15 s without a key close the menu.
  Quick();
  Run(15100);
  EXPECT_EQ(Menu(), nullptr);
}

TEST_F(QuickMenuTest, ItemDataIsBoundsChecked) {
  auto* source = kv::GetAutoObject<QuickMenu::ItemDataSource>(QuickMenu::QuickItemData);
  EXPECT_NE(source->GetItemData(1, 0), nullptr);
  EXPECT_EQ(source->GetItemData(0, 0), nullptr);
  EXPECT_EQ(source->GetItemData(1, 9), nullptr);  // the row ends at slot 9
  EXPECT_EQ(source->GetItemData(-1, 0), nullptr);
  EXPECT_EQ(source->GetItemData(16, 0), nullptr);
  EXPECT_EQ(source->GetItemData(1, 10), nullptr);
  EXPECT_EQ(source->GetItemData(1, -1), nullptr);
}

TEST_F(QuickMenuTest, DurationRowStepsWrapsAndWritesWithoutMarking) {
  Skin()->OnSetTimeshiftDuration(0);
  Quick();
  Press("up");  // the duration row
  ASSERT_EQ(FocusedText(), T(QuickMenu::TimeshiftMenuDuration));
  auto* row = kv::Cast<QuickMenu::QuickOptionItemSelect>(Focused());
  ASSERT_NE(row, nullptr);
  const int32_t first = row->Index;
  ClearCallLog();
  Press("right");
  EXPECT_EQ(row->Index, (first + 1) % row->Count);
  EXPECT_EQ(Calls("XPM_Set_Timeshift_Interval").size(), 1u);
  Press("left", 2);
  EXPECT_EQ(row->Index, (first + row->Count - 1) % row->Count);
  EXPECT_EQ(Calls("XPM_Set_Timeshift_Interval").size(), 3u);
  EXPECT_EQ(Skin()->TimeshiftDuration, row->Value);
  EXPECT_FALSE(Skin()->IsOptionChanged(SkinBinWrapper::GROUP_BASIC_PICTURE));
}

// Each pause-buffer choice reads the minutes the set keeps for it, from a
// new set's own setting on.
TEST_F(QuickMenuTest, DurationRowReadsTheBufferTheSetKeeps) {
  Quick();
  Press("up");
  auto* row = kv::Cast<QuickMenu::QuickOptionItemSelect>(Focused());
  ASSERT_NE(row, nullptr);
  ASSERT_EQ(row->Count, XPM_TIMESHIFT_DURATIONS);
  for (int32_t i = 0; i < row->Count; ++i) {
    const int32_t setting = Skin()->OnGetTimeshiftDuration();
    ASSERT_GE(setting, 0);
    ASSERT_LT(setting, XPM_TIMESHIFT_DURATIONS);
    EXPECT_EQ(row->OnGetValueString().ToUtf8(), std::to_string(kTimeshiftBufferSeconds[setting] / 60) + " minutes");
    Press("right");
  }
}

TEST_F(QuickMenuTest, OptionRowWithoutChoicesStaysPut) {
  Quick();
  Press("up");
  auto* row = kv::Cast<QuickMenu::QuickOptionItemSelect>(Focused());
  ASSERT_NE(row, nullptr);
  for (int32_t count : {0, 1}) {
    row->Count = count;
    row->Index = 0;
    ClearCallLog();
    Press("right");
    Press("left");
    EXPECT_EQ(row->Index, 0) << count;
    EXPECT_EQ(Calls("XPM_Set_Timeshift_Interval").size(), count == 0 ? 0u : 2u) << count;
  }
}

TEST_F(QuickMenuTest, PicturePageChangesBrightnessAndReturns) {
  Quick();
  Press("ok");  // Picture
  Settle();
  auto* page = Open<QuickMenu::PictureMenu>();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(Menu(), nullptr);
  EXPECT_EQ(Rows(page).size(), 8u);
  EXPECT_EQ(FocusedText(), T(QuickMenu::SID_BRIGHTNESS));
  auto* slider = kv::Cast<QuickMenu::QuickSliderItemSelect>(Focused());
  ASSERT_NE(slider, nullptr);
  const int32_t before = slider->Value;
  ClearCallLog();
  Press("right");
  EXPECT_EQ(slider->Value, before + slider->Step);
  EXPECT_EQ(slider->OnGetValueString().ToUtf8(), std::to_string(before + slider->Step));
  EXPECT_EQ(Calls("XPM_SetBrightness").size(), 1u);
  EXPECT_TRUE(Skin()->IsOptionChanged(SkinBinWrapper::GROUP_BASIC_PICTURE));
  Press("back");
  Settle();
  EXPECT_EQ(Open<QuickMenu::PictureMenu>(), nullptr);
  ASSERT_NE(Menu(), nullptr);
  Press("ok");
  Settle();
  ASSERT_NE(Open<QuickMenu::PictureMenu>(), nullptr);
  Press("quick");  // the quick key goes to the previous state too
  Settle();
  EXPECT_NE(Menu(), nullptr);
  Press("down");
  Press("ok");  // Sound
  Settle();
  ASSERT_NE(Open<QuickMenu::AudioMenu>(), nullptr);
  Run(15100);
  EXPECT_EQ(Open<QuickMenu::AudioMenu>(), nullptr);
}

TEST_F(QuickMenuTest, ResetRowsAskTheirConfirmation) {
  struct Page {
    const kv::Class* cls;
    int32_t confirm;
  } pages[] = {{&QuickMenu::PictureMenu::StaticClass(), 0x11},
               {&QuickMenu::AudioMenu::StaticClass(), 0x33},
               {&QuickMenu::ScaleWindowMenu::StaticClass(), 0x3c}};
  for (const Page& p : pages) {
    auto* page = kv::Cast<QuickMenu::QuickMenuClass>(Nms()->Open(p.cls));
    ASSERT_NE(page, nullptr);
    Settle();
    auto* reset = kv::Cast<QuickMenuItem>(page->GetCtrlAt(page->GetCount() - 1));
    ASSERT_NE(reset, nullptr);
    EXPECT_EQ(reset->OptionType, p.confirm);
    EXPECT_EQ(reset->NextState, static_cast<const kv::Class*>(KV_LATE_CLASS("NonMenuSystem::ConfirmMultiOptionDialog")));
    // Activated: up from the first row reaches the reset row, OK asks.
    for (int32_t i = 0; i < page->GetCount() && Focused() != reset; ++i) Press("up");
    ASSERT_EQ(Focused(), reset);
    Press("ok");
    Settle();
    auto* confirm = Open<NonMenuSystem::ConfirmMultiOptionDialog>();
    ASSERT_NE(confirm, nullptr);
    EXPECT_EQ(confirm->OnGetConfirmType(), p.confirm);
    Nms()->ClearAll();
    Settle();
    EXPECT_EQ(Open<NonMenuSystem::ConfirmMultiOptionDialog>(), nullptr);
  }
}

TEST_F(QuickMenuTest, BackgroundMusicAndScaleWindowReachTheMediaBridge) {
  auto* media = kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper);
  auto* page = kv::Cast<QuickMenu::BgMusicMenu>(Nms()->Open(&QuickMenu::BgMusicMenu::StaticClass()));
  ASSERT_NE(page, nullptr);
  Settle();
  Log().Clear();
  // On without a slide show: the option changes, nothing starts.
  Skin()->OnSetBackgroundMusicOnOff(0);
  page->BgmChange();
  EXPECT_TRUE(Logged("MediaWrapper::RequestBgmStop"));
  EXPECT_TRUE(Logged("MediaWrapper::BgmReset"));
  Log().Clear();
  Skin()->OnSetBackgroundMusicOnOff(1);
  page->BgmChange();
  EXPECT_FALSE(Logged("MediaWrapper::RequestBgmPlay"));
  Skin()->OnSetIsSlideshow(1);
  page->BgmChange();
  EXPECT_FALSE(Logged("MediaWrapper::RequestBgmPlay"));  // no music chosen
  EXPECT_FALSE(media->IsBgmPlaying());
  // A status event goes no further than the page.
  EXPECT_EQ(page->HandleEvent(kv::New<Events::StatusEvent>()), page);
  Nms()->ClearAll();
  Settle();

  auto* scale = kv::Cast<QuickMenu::ScaleWindowMenu>(Nms()->Open(&QuickMenu::ScaleWindowMenu::StaticClass()));
  ASSERT_NE(scale, nullptr);
  Settle();
  ClearCallLog();
  Press("right");
  EXPECT_TRUE(Calls("XPM_SetDisplayWindow").empty());
  Nms()->ClearAll();
  Settle();
  // With the movie list open the preview follows.
  auto* list = kv::New<NonMenuSystem::WidgetClass>();
  list->WinID = WinIDs::WIN_ID_MovieListView;
  auto* state = kv::New<SubSystem::State>();
  state->Instance = list;
  state->Class = list->KvClass();
  Nms()->ChangeState(state);
  scale = kv::Cast<QuickMenu::ScaleWindowMenu>(Nms()->Open(&QuickMenu::ScaleWindowMenu::StaticClass()));
  ASSERT_NE(scale, nullptr);
  Settle();
  Press("right");
  EXPECT_FALSE(Calls("XPM_SetDisplayWindow").empty());
}

TEST_F(QuickMenuTest, PlayerControlSendsOneCodeAndClosesAll) {
  const uint8_t codes[] = {1, 2, 3, 0};
  for (int32_t i = 0; i < 4; ++i) {
    auto* pad = kv::Cast<QuickMenu::PlayerControlMenu>(Nms()->Open(&QuickMenu::PlayerControlMenu::StaticClass()));
    ASSERT_NE(pad, nullptr);
    Settle();
    EXPECT_EQ(Focused(), pad->Row(0));
    Press("down", i);
    ClearCallLog();
    Press("ok");
    Settle();
    const auto calls = Calls("XPM_HdmiCec_Set");
    ASSERT_EQ(calls.size(), 1u) << i;
    EXPECT_NE(calls[0].find("(19, " + std::to_string(codes[i]) + ")"), std::string::npos) << calls[0];
    // Closes all: no screen is left open (the help bar is the only form that may stay).
    for (Primitives::KeyRoutingForm* f : OpenForms())
      EXPECT_STREQ(f->KvClass()->name, "NonMenuSystem::HelpBar") << i;
  }
  auto* pad = kv::Cast<QuickMenu::PlayerControlMenu>(Nms()->Open(&QuickMenu::PlayerControlMenu::StaticClass()));
  Settle();
  // Every shown button reads whole on its panel, one under the other.
  int32_t lastY = -1;
  for (int32_t i = 0; i < QuickMenu::PlayerControlMenu::kButtons; ++i) {
    SkinBin::Button* b = pad->Row(i);
    if (!b || !b->IsVisible()) continue;
    const std::string label = b->OnGetText().ToUtf8();
    EXPECT_TRUE(Sees(label)) << label << "\n" << SeenList();
    const kv::Rect r = b->GetAbsoluteBounds();
    EXPECT_GT(r.y1, lastY) << label;
    lastY = r.y1;
  }
  Press("up");  // from the first shown button to the last (Power; Top and DVD are hidden)
  EXPECT_EQ(Focused(), pad->Row(5));
}

namespace {
// Where a one-line text is drawn across its view: a text wider than its
// view starts at the left edge and is clipped there.
struct Span {
  int32_t x1 = 0, x2 = 0;
};
Span Drawn(Views::Text& text) {
  const kv::Rect b = text.Bounds();
  const int32_t w = text.GetLayout().width;
  if (w > b.W()) return {b.x1, b.x2};
  const int32_t x = text.OnGetAlignH() == 1 ? b.x1 + (b.W() - w) / 2 : text.OnGetAlignH() == 2 ? b.x2 - w : b.x1;
  return {x, x + w};
}
}  // namespace

// Every quick screen's row captions stand whole or end in "..." inside the
// row, and keep clear of the arrow, the value and the slider beside them,
// focused (medium font) or not, in the three menu languages.
TEST_F(QuickMenuTest, RowCaptionsFitAndKeepClearOfTheirValuesInEveryLanguage) {
  const kv::Class* pages[] = {&QuickMenu::QuickMenu::StaticClass(), &QuickMenu::PictureMenu::StaticClass(),
                              &QuickMenu::AudioMenu::StaticClass(), &QuickMenu::BgMusicMenu::StaticClass(),
                              &QuickMenu::ScaleWindowMenu::StaticClass()};
  constexpr int32_t kGap = 4;
  for (int32_t language : {0, 1, 2}) {
    Skin()->SetMenuLanguage(language);
    for (const kv::Class* cls : pages) {
      auto* form = kv::Cast<Primitives::KeyRoutingForm>(Nms()->Open(cls));
      ASSERT_NE(form, nullptr) << cls->name;
      Settle();
      int32_t rows = 0;
      for (int32_t i = 0; i < form->GetChildCount(); ++i)
        if (auto* row = kv::Cast<QuickMenuItem>(form->GetChild(i)); row && row->IsVisible()) ++rows;
      // Every row's caption is on screen.
      const std::vector<Core::SeenText> seen = SeenTexts();
      for (int32_t i = 0; i < form->GetChildCount(); ++i) {
        auto* row = kv::Cast<QuickMenuItem>(form->GetChild(i));
        if (!row || !row->IsVisible()) continue;
        const std::string caption = apptest::ButtonCaption::Of(*row).OnGetString().ToUtf8();
        bool shown = false;
        for (const Core::SeenText& t : seen) shown = shown || (t.text == caption && t.visible.W() > 0);
        EXPECT_TRUE(shown) << cls->name << " language " << language << ": \"" << caption << "\" not on screen";
      }
      for (int32_t step = 0; step < rows; ++step) {
        for (int32_t i = 0; i < form->GetChildCount(); ++i) {
          auto* row = kv::Cast<QuickMenuItem>(form->GetChild(i));
          if (!row || !row->IsVisible()) continue;
          Views::Text& caption = apptest::ButtonCaption::Of(*row);
          const std::string where = std::string(cls->name) + " language " + std::to_string(language) + " \"" +
                                    caption.OnGetString().ToUtf8() + "\"" + (row->IsFocused() ? " focused" : "");
          const ge::TextLayout layout = caption.GetLayout();
          const bool ellipsis = !layout.lines.empty() && layout.lines.front().ellipsis;
          EXPECT_TRUE(layout.width <= caption.Bounds().W() || ellipsis) << where << ": cut";
          const Span text = Drawn(caption);
          EXPECT_LE(text.x2, row->Bounds().W()) << where << ": past the row";
          int32_t next = row->Bounds().W();
          if (auto* option = kv::Cast<QuickMenu::QuickOptionItem>(row)) {
            if (option->LeftArrow().IsVisible()) next = std::min(next, option->LeftArrow().Bounds().x1);
            if (!option->ValueText().OnGetString().Empty()) next = std::min(next, Drawn(option->ValueText()).x1);
          }
          if (auto* slider = kv::Cast<QuickMenu::QuickSliderItem>(row)) {
            if (!slider->ValueText().OnGetString().Empty()) next = std::min(next, Drawn(slider->ValueText()).x1);
            if (slider->Slider().IsVisible()) next = std::min(next, slider->Slider().Bounds().x1);
          }
          EXPECT_LE(text.x2 + kGap, next) << where << ": touches what stands beside it";
        }
        Press("down");
      }
      Nms()->ClearAll();
      Settle();
    }
  }
  Skin()->SetMenuLanguage(0);
}

TEST_F(QuickMenuTest, OpenedAndClosedFiftyTimesReturnsToTheBaseline) {
  kv::Runtime::SetCollectEveryPass(true);
  Settle();
  const auto before = Census();
  for (int i = 0; i < 50; ++i) {
    Quick();
    Press("ok");
    Settle();
    Press("exit");
    Settle();
  }
  Run(100);
  const auto after = Census();
  for (const char* cls : {"QuickMenu::QuickMenu", "QuickMenu::QuickMenuItem", "QuickMenu::QuickOptionItemSelect",
                          "QuickMenu::PictureMenu", "QuickMenu::QuickSliderItemSelect"}) {
    const size_t b = before.count(cls) ? before.at(cls) : 0;
    const size_t a = after.count(cls) ? after.at(cls) : 0;
    EXPECT_EQ(a, b) << cls;
  }
}

}  // namespace quicktest
