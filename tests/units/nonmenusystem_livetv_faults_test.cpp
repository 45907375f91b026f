// Live TV as the viewer meets it, where it once went wrong: the inputs'
// names, the channel browser's strip on a fresh set, the channel marked for
// Last, a recording that starts under the timer-standby question, and what
// the system manager hears when the menu opens and closes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "ge/surface.h"
#include "units/Bitmaps/ListBitmaps.h"
#include "units/Resources/Resources.h"
#include "menusystem_support.h"
#include "platform/sim/sim_net_state.h"
#include "platform/sim/sim_tv_state.h"
#include "platform/xpm/xpm_event_ids.h"
#include "units/Events/MediaRemovedEvent.h"
#include "units/Events/PVRRecordStatusEvent.h"
#include "units/Events/TimerStandbyEvent.h"
#include "units/ListForm/CBLists.h"
#include "units/ListForm/InputLists.h"
#include "units/NonMenuSystem/AdjustmentBar.h"
#include "units/NonMenuSystem/ChBrowserDialog.h"
#include "units/NonMenuSystem/ChannelEntry.h"
#include "units/NonMenuSystem/OptionDialogs.h"
#include "units/NonMenuSystem/PictureSizeDialog.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/Setup3D.h"
#include "units/ThreeD/SelectMode.h"
#include "units/WinIDs/WinIDs.h"
#include "units/OptionDatabase/OptionTypes.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/NonMenuSystem/InfoBanner.h"
#include "units/NonMenuSystem/InputDialogs.h"
#include "units/Constants/Constants.h"
#include "units/ListForm/OptionLists.h"
#include "units/NonMenuSystem/SystemInfoDialogs.h"
#include "units/SkinBin/HdmiCecData.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SubSystem/State.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/VirtualChannel.h"

namespace {

class LiveFaultTest : public menutest::MenuTest {
 protected:
  // The rows of the screen whose pixels change when `view` is hidden.
  std::pair<int32_t, int32_t> DrawnRows(Core::View& view) {
    Run(20);
    const std::vector<uint32_t> shown(Osd().pixels, Osd().pixels + Osd().stride * Osd().height);
    view.OnSetVisible(false);
    Run(20);
    int32_t top = Osd().height, bottom = -1;
    for (int32_t y = 0; y < Osd().height; ++y)
      for (int32_t x = 0; x < Osd().width; ++x)
        if (Osd().Row(y)[x] != shown[static_cast<size_t>(y * Osd().stride + x)]) {
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
    view.OnSetVisible(true);
    Run(20);
    return {top, bottom};
  }
  // The columns of the screen whose pixels change when `view` is hidden.
  std::pair<int32_t, int32_t> DrawnColumns(Core::View& view) {
    Run(20);
    const std::vector<uint32_t> shown(Osd().pixels, Osd().pixels + Osd().stride * Osd().height);
    view.OnSetVisible(false);
    Run(20);
    int32_t left = Osd().width, right = -1;
    for (int32_t y = 0; y < Osd().height; ++y)
      for (int32_t x = 0; x < Osd().width; ++x)
        if (Osd().Row(y)[x] != shown[static_cast<size_t>(y * Osd().stride + x)]) {
          left = std::min(left, x);
          right = std::max(right, x);
        }
    view.OnSetVisible(true);
    Run(20);
    return {left, right};
  }
  template <class T>
  T* OpenState(int32_t code) {
    auto* state = kv::New<SubSystem::State>();
    state->Class = &T::StaticClass();
    state->Param = SkinBin::UserRefInt::Make(0, code);
    Nms()->ChangeState(state);
    Settle();
    return Find<T>();
  }
  NonMenuSystem::AdjustmentBar* OpenBar(uint32_t option) {
    auto* ref = kv::New<SkinBin::UserRefInt>();
    ref->Value = static_cast<int32_t>(option);
    ref->Code = Constants::MSG_FROM_NONMENUSYSTEM;
    auto* state = kv::New<SubSystem::State>();
    state->Class = &NonMenuSystem::AdjustmentBar::StaticClass();
    state->Param = ref;
    auto* bar = kv::Cast<NonMenuSystem::AdjustmentBar>(Nms()->ChangeState(state));
    Settle();
    return bar;
  }
  void ShowConfirm(int32_t type) {
    Nms()->ShowConfirmDialog(type, Constants::MSG_FROM_NONMENUSYSTEM);
    Settle();
  }
  int32_t ChannelKey() {
    Structures::VirtualChannel* ch = W()->GetCurrentChannel();
    return ch ? ch->Major * 1000 + ch->Minor : -1;
  }
  // The input-OSD reports the system manager received (code 8), oldest first.
  std::vector<std::string> OsdReports() {
    std::vector<std::string> out;
    for (const std::string& c : Calls("TVSM_ReportAsyncEvent"))
      if (c.find(", 8, 8") != std::string::npos) out.push_back(c);
    return out;
  }
};

// What the set calls each of its inputs, by the input's type.
std::string NameByType(int32_t type, int hdmiOrdinal) {
  switch (type) {
    case sim::kSourceTypeTuner: return "TV";
    case sim::kSourceTypeDigitalTuner: return "TV 2";
    case sim::kSourceTypeComposite: return "AV";
    case sim::kSourceTypeComponent: return "Component";
    case sim::kSourceTypeHdmi: return "HDMI " + std::to_string(hdmiOrdinal);
    case sim::kSourceTypeVga: return "PC";
    case sim::kSourceTypeDvi: return "DVI";
    case sim::kSourceTypeMultimedia: return "Multimedia";
    case sim::kSourceTypeExternal: return "External";
    default: return "?";
  }
}

TEST_F(LiveFaultTest, EveryInputIsCalledByItsTypeInTheListAndOnTheBanner) {
  Press("input");
  auto* d = Find<NonMenuSystem::ExternalInputDialog>();
  ASSERT_NE(d, nullptr);
  const int32_t count = W()->GetNumSources();
  ASSERT_EQ(count, 10);
  int hdmi = 0;
  for (int32_t i = 0; i < count; ++i) {
    auto* row = kv::Cast<ListForm::InputItem>(d->List().GetFocusedRow());
    ASSERT_NE(row, nullptr) << i;
    const int32_t type = W()->GetSourceType(row->SourceId);
    if (type == sim::kSourceTypeHdmi) ++hdmi;
    EXPECT_EQ(row->OnGetText().ToUtf8(), NameByType(type, hdmi)) << "input " << row->SourceId;
    Press("down");
  }
  Press("exit");
  // The fifth input is HDMI 1: chosen, the banner names it so.
  Press("input");
  Press("down", 4);
  Press("ok");
  Run(500);
  ASSERT_EQ(W()->GetCurrentSource(0), sim::kSourceHdmi1);
  Press("info");
  auto* banner = Find<NonMenuSystem::InfoBanner>();
  ASSERT_NE(banner, nullptr);
  ASSERT_NE(banner->Basic(), nullptr);
  EXPECT_EQ(banner->Basic()->SourceLabel.OnGetString().ToUtf8(), "HDMI 1");
}

TEST_F(LiveFaultTest, OnAFreshSetTheBrowseKeyOpensTheBrowserWithHistoryAndInputs) {
  EXPECT_TRUE(Skin()->IsCBListEnabled(0));  // history
  EXPECT_TRUE(Skin()->IsCBListEnabled(2));  // inputs
  Press("browse");
  EXPECT_NE(BarType(), 4);  // not "not available"
  auto* d = Find<NonMenuSystem::ChBrowserDialog>();
  ASSERT_NE(d, nullptr);
  ASSERT_NE(d->List(), nullptr);
  // The next key still answers: down moves to the next kind.
  const int32_t kind = d->CBListValue;
  Press("down");
  EXPECT_NE(d->CBListValue, kind);
}

TEST_F(LiveFaultTest, TheBrowserDrawsItsTilesForEveryKindAndTunesTheChosenChannel) {
  Skin()->OnSetEnableKELVO(1);
  Skin()->GetHdmiCecData()->InitDevList();
  for (int32_t bit : {0, 1, 2, 3, 4}) Skin()->SetCBListStatus(bit, true);
  for (int32_t ring : {1, 2, 3}) W()->AddChannelToRing(ring, W()->GetCurrentChannel());
  // Tiles tune on OK only: a focused CEC tile would switch the input.
  Skin()->OnSetNavigation(0);
  Skin()->OnSetCurrentCBList(0);
  Press("browse");
  auto* d = Find<NonMenuSystem::ChBrowserDialog>();
  ASSERT_NE(d, nullptr);
  for (int32_t k = 0; k < d->CBListCount; ++k) {
    ListForm::CBListClass* strip = d->List();
    ASSERT_NE(strip, nullptr);
    const kv::Rect r = strip->GetAbsoluteBounds();
    // Six tiles of 128 x 60 with the arrows fit in the strip.
    EXPECT_GE(r.W(), 6 * 128 + 5 * 5) << k;
    EXPECT_GE(r.H(), 60) << k;
    // Hiding the strip changes the picture where the tiles are.
    Run(20);
    const ge::Surface& osd = Osd();
    const std::vector<uint32_t> shown(osd.pixels, osd.pixels + osd.stride * osd.height);
    strip->OnSetVisible(false);
    Run(20);
    int changed = 0;
    for (int32_t y = 0; y < Osd().height; ++y)
      for (int32_t x = 0; x < Osd().width; ++x)
        if (Osd().Row(y)[x] != shown[static_cast<size_t>(y * Osd().stride + x)]) ++changed;
    EXPECT_GT(changed, 2000) << "kind " << d->CBListValue;
    strip->OnSetVisible(true);
    Run(20);
    Press("down");
  }
  Press("exit");
  // The channel strip: right, OK tunes the next channel at the set.
  Skin()->OnSetCurrentCBList(1);
  Press("browse");
  const int32_t before = ChannelKey();
  ClearCallLog();
  Press("right");
  Press("ok");
  Run(500);
  EXPECT_FALSE(Calls("XPM_SetChannel").empty());
  EXPECT_NE(ChannelKey(), before);
}

TEST_F(LiveFaultTest, ARecordingThatStartsClosesTheTimerStandbyQuestion) {
  Events::TimerStandbyEvent* standby = kv::New<Events::TimerStandbyEvent>();
  standby->TimerId = 1;
  Dispatch(standby);
  Settle();
  auto* confirm = Find<NonMenuSystem::ConfirmMultiOptionDialog>();
  ASSERT_NE(confirm, nullptr);
  ASSERT_EQ(confirm->ConfirmType, 63);
  auto* record = kv::New<Events::PVRRecordStatusEvent>();
  record->Status = 2;
  Dispatch(record);
  Settle();
  EXPECT_EQ(Find<NonMenuSystem::ConfirmMultiOptionDialog>(), nullptr);
  ClearCallLog();
  Run(70000);
  EXPECT_TRUE(Calls("XPM_StandbyMode").empty());
  // The next key still answers.
  Press("vol+");
  EXPECT_FALSE(Calls("XPM_SetVolume").empty());
}

TEST_F(LiveFaultTest, TheMarkedChannelIsWhereLastGoesBack) {
  const int32_t marked = ChannelKey();
  Press("mark");
  Press("ch+");
  Run(3000);
  Press("ch+");
  Run(3000);
  ASSERT_NE(ChannelKey(), marked);
  Press("last");
  Run(3000);
  EXPECT_EQ(ChannelKey(), marked);
}

TEST_F(LiveFaultTest, TheMenuIsReportedOnceShownAndOnceWithdrawn) {
  Settle();
  ClearCallLog();
  Press("menu");
  Settle();
  std::vector<std::string> reports = OsdReports();
  ASSERT_EQ(reports.size(), 1u) << testing::PrintToString(reports);
  EXPECT_NE(reports[0].find("0100000009000000"), std::string::npos) << reports[0];
  ClearCallLog();
  Press("exit");
  Run(1000);
  // Closed: the menu withdrawn once; no input OSD claimed shown on the way.
  reports = OsdReports();
  const auto count = [&](const char* payload) {
    return std::count_if(reports.begin(), reports.end(),
                         [&](const std::string& r) { return r.find(payload) != std::string::npos; });
  };
  EXPECT_EQ(count("0000000009000000"), 1) << testing::PrintToString(reports);
  EXPECT_EQ(count("0100000001000000"), 0) << testing::PrintToString(reports);
  EXPECT_EQ(count("0100000009000000"), 0) << testing::PrintToString(reports);
  // The next key still answers.
  Press("menu");
  Settle();
  EXPECT_NE(Page(), nullptr);
}

TEST_F(LiveFaultTest, TheTwoEntriesOfTheNewPinPageDoNotOverlap) {
  Ms()->SetMenuIndex(1, 5);
  Press("menu");
  Settle();
  auto* page = kv::Cast<MenuSystem::ChangePinMenu>(Page());
  ASSERT_NE(page, nullptr);
  Press("ok");
  Run(400);
  // The rows a digit typed into each entry changes on screen.
  const auto typed = [&] {
    const std::vector<uint32_t> before(Osd().pixels, Osd().pixels + Osd().stride * Osd().height);
    Press("1");
    Run(20);
    int32_t top = Osd().height, bottom = -1;
    for (int32_t y = 0; y < Osd().height; ++y)
      for (int32_t x = 0; x < Osd().width; ++x)
        if (Osd().Row(y)[x] != before[static_cast<size_t>(y * Osd().stride + x)]) {
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
    return std::pair{top, bottom};
  };
  ASSERT_EQ(Focused(), &page->First());
  const auto first = typed();
  Digits("234");
  Run(20);
  ASSERT_EQ(Focused(), &page->Second());
  const auto second = typed();
  ASSERT_GE(first.second, first.first);
  ASSERT_GE(second.second, second.first);
  EXPECT_LT(first.second, second.first) << "first " << first.first << "-" << first.second << ", second "
                                        << second.first << "-" << second.second;
  // Both took the PIN: typed twice, it is stored.
  Digits("234");
  Run(10);
  Settle();
  EXPECT_TRUE(Skin()->IsPinExisting());
}

TEST_F(LiveFaultTest, TheLabellingRowsShowTheSkipBoxAndSystemInformationItsWholeValues) {
  auto* d = OpenState<NonMenuSystem::InputLabelingDialog>(Constants::MSG_FROM_MENUSYSTEM);
  ASSERT_NE(d, nullptr);
  Press("down", 2);
  auto* row = kv::Cast<ListForm::InputLabelingItem>(d->List().GetFocusedRow());
  ASSERT_NE(row, nullptr);
  const kv::Rect r = row->GetAbsoluteBounds();
  // Red skips the input: the check box right of the second divider (x 288)
  // changes on screen, and the set's input is skipped.
  Run(20);
  const std::vector<uint32_t> before(Osd().pixels, Osd().pixels + Osd().stride * Osd().height);
  Press("red");
  Run(20);
  ASSERT_TRUE(row->IsSkip);
  EXPECT_TRUE(Skin()->GetSourceDisable(row->SourceId));
  int boxChanged = 0;
  for (int32_t y = r.y1; y < r.y2; ++y)
    for (int32_t x = r.x1 + 289; x < Osd().width; ++x)
      if (Osd().Row(y)[x] != before[static_cast<size_t>(y * Osd().stride + x)]) ++boxChanged;
  EXPECT_GT(boxChanged, 20);
  EXPECT_TRUE(Shot((DataDir() / "labels.png").string()));
  Press("exit");
  Settle();

  auto* info = OpenState<NonMenuSystem::KXDSystemInfoDialog>(Constants::MSG_FROM_MENUSYSTEM);
  ASSERT_NE(info, nullptr);
  ListForm::SystemInfoList& list = info->List();
  const kv::Rect lb = list.GetAbsoluteBounds();
  int widest = 0;
  for (Forms::Ctrl* ctrl : list.GetAllRows()) {
    auto* item = kv::Cast<ListForm::SystemInfoItem>(ctrl);
    if (!item || !item->IsVisible() || item->OnGetText().Empty()) continue;
    EXPECT_GE(item->GetAbsoluteBounds().x2, lb.x2 - list.ItemXOffset) << item->OnGetText().ToUtf8();
    const auto cols = DrawnColumns(*item);
    widest = std::max(widest, cols.second - item->GetAbsoluteBounds().x1);
  }
  // The longest line (a MAC address) runs past where the rows once ended.
  EXPECT_GT(widest, 260);
}

TEST_F(LiveFaultTest, EverySliderReachesBothEndsAndTheSetHoldsWhatTheBarShows) {
  using sim::Setting;
  struct Case {
    uint32_t option;
    const char* name;
    std::function<int32_t()> held;  // the value the set holds
  };
  auto setting = [&](Setting s, int32_t index = 0) { return [this, s, index] { return Tv().Tv().Value(s, index); }; };
  const std::vector<Case> cases = {
      {OptionDatabase::OPTION_TYPE_TINT, "tint", setting(Setting::kHue)},
      {OptionDatabase::OPTION_TYPE_SHARPNESS, "sharpness", setting(Setting::kSharpness)},
      {OptionDatabase::OPTION_TYPE_DYNAMIC_CONTRAST, "dynamic contrast", setting(Setting::kDynamicContrast)},
      {OptionDatabase::OPTION_TYPE_VERTICAL_POSITION, "vertical position", setting(Setting::kVerticalPosition)},
      {OptionDatabase::OPTION_TYPE_HORIZONTAL_POSITION, "horizontal position", setting(Setting::kHorizontalPosition)},
      {OptionDatabase::OPTION_TYPE_CLOCK_PHASE, "phase", setting(Setting::kPhase)},
      {OptionDatabase::OPTION_TYPE_BALANCE, "balance", setting(Setting::kBalance)},
      {OptionDatabase::OPTION_TYPE_BASS, "bass", setting(Setting::kBass)},
      {OptionDatabase::OPTION_TYPE_TREBLE, "treble", setting(Setting::kTreble)},
      {OptionDatabase::OPTION_TYPE_RED_GAIN, "red gain", [this] { return Skin()->OnGetRed_Gain(); }},
      {OptionDatabase::OPTION_TYPE_GREEN_GAIN, "green gain", [this] { return Skin()->OnGetGreen_Gain(); }},
      {OptionDatabase::OPTION_TYPE_BLUE_GAIN, "blue gain", [this] { return Skin()->OnGetBlue_Gain(); }},
      {OptionDatabase::OPTION_TYPE_RED_OFFSET, "red offset", [this] { return Skin()->OnGetRed_Offset(); }},
      {OptionDatabase::OPTION_TYPE_GREEN_OFFSET, "green offset", [this] { return Skin()->OnGetGreen_Offset(); }},
      {OptionDatabase::OPTION_TYPE_BLUE_OFFSET, "blue offset", [this] { return Skin()->OnGetBlue_Offset(); }},
  };
  for (const Case& c : cases) {
    auto* bar = OpenBar(c.option);
    ASSERT_NE(bar, nullptr) << c.name;
    const int32_t min = bar->Slider().OnGetMin(), max = bar->Slider().OnGetMax();
    // The bar opens on what the set holds.
    EXPECT_EQ(bar->ValueText().OnGetString().ToUtf8(), std::to_string(c.held())) << c.name;
    Press("left", max - min + 1);
    EXPECT_EQ(c.held(), min) << c.name;
    EXPECT_EQ(bar->ValueText().OnGetString().ToUtf8(), std::to_string(c.held())) << c.name;
    Press("right", max - min + 1);
    EXPECT_EQ(c.held(), max) << c.name;
    EXPECT_EQ(bar->ValueText().OnGetString().ToUtf8(), std::to_string(c.held())) << c.name;
    Press("exit");
    Settle();
  }
  EXPECT_FALSE(Logged("refused")) << "a write was refused";
}

TEST_F(LiveFaultTest, TintRunsFromMinusFiftyToFifty) {
  auto* bar = OpenBar(OptionDatabase::OPTION_TYPE_TINT);
  ASSERT_NE(bar, nullptr);
  Press("left", 101);
  EXPECT_EQ(bar->ValueText().OnGetString().ToUtf8(), "-50");
  EXPECT_EQ(Tv().Tv().Value(sim::Setting::kHue), -50);
  Press("right", 101);
  EXPECT_EQ(bar->ValueText().OnGetString().ToUtf8(), "50");
  EXPECT_EQ(Tv().Tv().Value(sim::Setting::kHue), 50);
}

TEST_F(LiveFaultTest, ADigitOnAnExternalInputReadsNoTunerState) {
  ASSERT_TRUE(SwitchToSourceType(sim::kSourceTypeHdmi));
  Log().Clear();
  ClearCallLog();
  Press("5");
  EXPECT_TRUE(Calls("XPM_GetCurrent_TunerId").empty());
  EXPECT_TRUE(Calls("XPM_Get_TV_State").empty());
  EXPECT_FALSE(Logged("XPM_GetCurrent_TunerId"));
  EXPECT_FALSE(Logged("XPM_Get_TV_State"));
}

TEST_F(LiveFaultTest, TheChannelEntryShowsTheChannelThatChannelUpTuned) {
  const int32_t before = ChannelKey();
  Press("ch+");
  const int32_t after = ChannelKey();
  ASSERT_NE(after, before);
  auto* entry = Find<NonMenuSystem::ChannelEntry>();
  ASSERT_NE(entry, nullptr);
  const std::string shown = entry->Number().ToUtf8();
  const std::string tuned = Skin()->GetChannelNumberStr(true, after / 1000, after % 1000).ToUtf8();
  EXPECT_NE(shown.find(tuned), std::string::npos) << "shows " << shown << ", tuned " << tuned;
}

// The entry shows the input's picture in its corner: on the tuner of a new
// set, the aerial picture, drawn where the entry keeps it.
TEST_F(LiveFaultTest, TheChannelEntryShowsTheTunersPictureInItsCorner) {
  Press("5");
  auto* entry = Find<NonMenuSystem::ChannelEntry>();
  ASSERT_NE(entry, nullptr);
  Run(200);
  const ge::Surface picture = Resources::LoadResource(Bitmaps::BannerRF1Input)->GetFrameSurface(0);
  const kv::Rect at = entry->GetAbsoluteBounds();
  const ge::Surface& osd = Osd();
  int32_t opaque = 0, same = 0;
  for (int32_t y = 0; y < picture.height; ++y)
    for (int32_t x = 0; x < picture.width; ++x) {
      const uint32_t want = picture.Row(y)[x];
      if ((want >> 24) != 0xFF) continue;
      ++opaque;
      const uint32_t got = osd.Row(at.y1 + 10 + y)[at.x1 + 12 + x];
      bool near = true;
      for (int shift = 0; shift < 24; shift += 8)
        near = near && std::abs(static_cast<int32_t>((want >> shift) & 0xFF) - static_cast<int32_t>((got >> shift) & 0xFF)) <= 8;
      same += near ? 1 : 0;
    }
  ASSERT_GT(opaque, 10) << "the picture's solid pixels (its lettering)";
  EXPECT_GT(same * 10, opaque * 9) << same << " of " << opaque << " pixels of the picture on screen";
}

TEST_F(LiveFaultTest, AScreenSaverClosedByClearAllOpensAgainOnTheNextRequest) {
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    Send(Constants::MSG_ENTER_SCREEN_SAVER);
    Run(100);
    ASSERT_NE(Nms()->GetScreenSaver(), nullptr);
    EXPECT_EQ(Osd().Row(530)[950], 0xff000000u | (11u << 16) | (10u << 8) | 9u) << "the saver covers the screen";
    // Everything cleared, as a source change or a menu does.
    Send(Constants::MSG_CLEAR_ALL);
    Run(100);
    EXPECT_EQ(Nms()->GetScreenSaver(), nullptr);
    EXPECT_TRUE(OpenForms().empty());
    EXPECT_NE(Osd().Row(530)[950], 0xff000000u | (11u << 16) | (10u << 8) | 9u) << "the saver is gone";
  }
  // The next key still answers.
  ClearCallLog();
  Press("vol+");
  EXPECT_FALSE(Calls("XPM_SetVolume").empty());
}

TEST_F(LiveFaultTest, MessageNineteenAsksForTheRebootOnce) {
  // The update medium pulled out under message 19: one standby request for the
  // restart; a second would only be dropped as "already in standby".
  Nms()->ShowMessage(19);
  Settle();
  Log().Clear();
  ClearCallLog();
  EXPECT_NE(Dispatch(kv::New<Events::MediaRemovedEvent>()), nullptr);
  Settle();
  EXPECT_EQ(Bar(), nullptr);
  EXPECT_TRUE(Logged("MainApp::Standby: standby, reason 7"));
  EXPECT_FALSE(Logged("MainApp::Standby: already in standby"));
  EXPECT_EQ(Calls("XPM_StandbyMode").size(), 1u);
}

TEST_F(LiveFaultTest, TheGameTimerWarnsAtTenThreeAndOneMinutesAndEndsOnTheTuner) {
  ASSERT_TRUE(SwitchToSourceType(sim::kSourceTypeHdmi));
  Skin()->OnSetGameTimerIndex(1);  // 30 minutes
  Settle();
  std::vector<int32_t> warnedAt;
  bool shown = false;
  for (int s = 0; s < 31 * 60 && Skin()->OnGetGameTimerIndex() != 0; ++s) {
    Run(1000);
    const bool now = BarType() == 5;
    if (now && !shown) warnedAt.push_back(Skin()->OnGetRemainGameTime());
    shown = now;
  }
  // The "game timer done" notice opened on the way back to the tuner stays
  // for its time: the tuner's acquisition takes off only notices about the picture.
  EXPECT_EQ(warnedAt, (std::vector<int32_t>{10, 3, 1, 0}));
  // The end: the input goes back to the tuner and the game timer is off.
  Run(1000);
  const int32_t type = W()->GetSourceType(W()->GetCurrentSource(0));
  EXPECT_TRUE(type == sim::kSourceTypeTuner || type == sim::kSourceTypeDigitalTuner) << type;
  EXPECT_EQ(Skin()->OnGetGameTimerIndex(), 0);
}

// Each countdown warns with its message a minute before its end, on the
// fixture's clock, and the warning stays until the standby of its reason:
// the automatic power-down (message 11), the on-timer shutdown (12) and the
// sleep timer (6).
TEST_F(LiveFaultTest, EachCountdownWarnsAMinuteBeforeItsStandby) {
  constexpr int64_t kMinute = 60000;
  struct Row {
    int32_t minutes, bar;
    const char* standby;
  };
  const Row rows[] = {{240, 11, "XPM_StandbyMode(1, 1)"}, {60, 12, "XPM_StandbyMode(1, 2)"}, {5, 6, "XPM_StandbyMode(1, 5)"}};
  for (int i = 0; i < 3; ++i) {
    const Row& r = rows[i];
    SCOPED_TRACE(r.bar);
    Nms()->ClearAll();
    Settle();
    ClearCallLog();
    if (i == 0) Skin()->OnSetAutomaticPowerDown(1);
    if (i == 1) Skin()->StartOnTimerShutdownTimer();
    if (i == 2) Skin()->OnSetSleepIndex(r.minutes);
    Settle();
    int32_t warnedAt = -1, standbyAt = -1;
    for (int32_t m = 1; m <= r.minutes + 2 && standbyAt < 0; ++m) {
      Run(kMinute);
      if (!Calls("XPM_StandbyMode").empty()) {
        standbyAt = m;
      } else if (warnedAt < 0 && BarType() == r.bar) {
        warnedAt = m;
      }
      if (warnedAt > 0 && standbyAt < 0) {
        EXPECT_EQ(BarType(), r.bar) << "the warning stays, minute " << m;
      }
    }
    // A countdown started between two minute ticks counts its first minute
    // from the next tick.
    EXPECT_GE(warnedAt, r.minutes - 1);
    EXPECT_LE(warnedAt, r.minutes);
    EXPECT_EQ(standbyAt, warnedAt + 1);
    ASSERT_FALSE(Calls("XPM_StandbyMode").empty());
    EXPECT_EQ(Calls("XPM_StandbyMode")[0], r.standby);
    Skin()->OnSetAutomaticPowerDown(0);
    Press("power");
    Settle();
  }
}

// The modes the set received in XPM_SetPreferredViewMode calls, oldest first.
std::vector<int32_t> PreferredModeWrites(const std::vector<std::string>& calls) {
  std::vector<int32_t> out;
  for (const std::string& c : calls) out.push_back(std::stoi(c.substr(c.rfind(", ") + 2)));
  return out;
}

TEST_F(LiveFaultTest, ASizeChosenOnAPcInputKeepsAutoAspectAndStretch) {
  ASSERT_TRUE(SwitchToSourceType(sim::kSourceTypeVga));
  // The set holds auto aspect and 4:3 stretch with the size.
  ASSERT_EQ(W()->SetPreferViewMode(0x300 | (W()->GetPreferViewMode() & 0xff)), 0);
  ASSERT_EQ(W()->GetPreferViewMode() & 0x300, 0x300);
  // The size key's pop-up: every choice stepped through.
  ClearCallLog();
  Press("size");
  auto* popUp = Find<NonMenuSystem::OptionDialogWithCaption>();
  ASSERT_NE(popUp, nullptr);
  EXPECT_EQ(popUp->OnGetOptionType(), SkinBin::OPTION_TYPE_PICTURE_SIZE);
  ASSERT_EQ(popUp->OnGetCount(), 3);
  Press("down", 3);
  std::vector<int32_t> writes = PreferredModeWrites(Calls("XPM_SetPreferredViewMode"));
  EXPECT_GE(writes.size(), 2u);
  for (int32_t mode : writes) EXPECT_EQ(mode & 0x300, 0x300) << mode;
  EXPECT_EQ(W()->GetPreferViewMode() & 0x300, 0x300);
  Press("exit");
  Settle();
  // The picture-size list does the same.
  ClearCallLog();
  auto* list = OpenState<NonMenuSystem::PictureSizeDialog>(0);
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->RowCount(), 3);
  Press("down", 3);
  writes = PreferredModeWrites(Calls("XPM_SetPreferredViewMode"));
  EXPECT_GE(writes.size(), 2u);
  for (int32_t mode : writes) EXPECT_EQ(mode & 0x300, 0x300) << mode;
  EXPECT_EQ(W()->GetPreferViewMode() & 0x300, 0x300);
  // The next key still answers.
  Press("exit");
  Settle();
  ClearCallLog();
  Press("vol+");
  EXPECT_FALSE(Calls("XPM_SetVolume").empty());
}

// The 3D screens over a 3D picture.
class ThreeDFaultTest : public LiveFaultTest {
 protected:
  void SetUp() override {
    LiveFaultTest::SetUp();
    Skin()->SeriesType = 2;
    Skin()->OnSetThreeD_DisplayInfo(0);
    Skin()->OnSetThreeDStartMessage(0);
    Skin()->OnSetThreeDLock(0);
    Skin()->OnSetThreeD_EnableTimer(0);
  }
  // A side-by-side input shown in 3D, chosen with the 3D key.
  void Enter3D() {
    Tv().Net().SetInput3DFormat(SkinBin::OAM_3D_MODE_SBS);
    Press("3d");
    Settle();
    auto* dialog = Find<ThreeD::SelectMode_Button>();
    ASSERT_NE(dialog, nullptr);
    while (dialog->FocusedButton() != dialog->GetButton(1)) Press("right");
    Press("ok");
    Run(100);
    Settle();
    Press("exit");
    Settle();
    ASSERT_TRUE(Shown3D());
  }
  bool Shown3D() {
    Skin()->Setup3D.RefreshState();
    return SkinBin::Setup3D::Is3DDisplay(Skin()->Setup3D.State);
  }
};

TEST_F(ThreeDFaultTest, ThePictureSizeKeyIsNotAvailableOverA3DPicture) {
  // In 2D the key opens the picture size choice.
  Press("size");
  Settle();
  EXPECT_NE(BarType(), 4);
  bool open = false;
  for (auto* f : OpenForms()) open = open || f->WinID == WinIDs::WIN_ID_PictureSizeDialog;
  EXPECT_TRUE(open);
  Press("exit");
  Settle();
  Enter3D();
  Press("size");
  Settle();
  EXPECT_EQ(BarType(), 4);
  for (auto* f : OpenForms()) EXPECT_NE(f->WinID, WinIDs::WIN_ID_PictureSizeDialog);
}

TEST_F(ThreeDFaultTest, The3DKeyOverA3DPictureGoesBackTo2D) {
  Enter3D();
  ClearCallLog();
  Press("3d");
  Run(100);
  Settle();
  EXPECT_FALSE(Shown3D());
  EXPECT_EQ(Find<ThreeD::SelectMode_Button>(), nullptr);
  EXPECT_FALSE(Calls("XPM_3DTV_SetMode").empty());
  // Pressed again in 2D, the key offers the modes.
  Press("3d");
  Settle();
  EXPECT_NE(Find<ThreeD::SelectMode_Button>(), nullptr);
}

TEST_F(ThreeDFaultTest, TheEndOfContinualViewingKeepsTheLockPeriodWhile3DShows) {
  Skin()->OnSetThreeD_EnableTimer(1);  // 30 minutes
  Enter3D();
  Skin()->Start3DLockTimer();
  Settle();
  ASSERT_GT(Skin()->GetApplicationTimer(::Wrapper::APP_TIMER_3D_LOCK), 0);
  Skin()->OnSetRemain3DContinualTime(0);
  Settle();
  EXPECT_GT(Skin()->GetApplicationTimer(::Wrapper::APP_TIMER_3D_LOCK), 0);
}

TEST_F(ThreeDFaultTest, TheTimeOutQuestionNamesThePeriodContinueGrants) {
  Skin()->OnSetThreeD_EnableTimer(2);  // 60 minutes
  Enter3D();
  Skin()->Remain3DTime = 0;
  ShowConfirm(4);
  auto* d = Find<NonMenuSystem::ConfirmMultiOptionDialog>();
  ASSERT_NE(d, nullptr);
  const std::string text = d->OnGetWarningInfo().ToUtf8();
  EXPECT_EQ(text.find(" 0 "), std::string::npos) << text;
  EXPECT_NE(text.find("60"), std::string::npos) << text;
}

// The 3D lock period runs out on the clock while 3D shows: the time-out
// question (confirmation 4) opens by itself; No leaves 3D.
TEST_F(ThreeDFaultTest, TheLockPeriodRunningOutWhile3DShowsAsksTheTimeOutQuestion) {
  Skin()->OnSetThreeD_EnableTimer(1);  // 30 minutes
  Enter3D();
  Skin()->Start3DLockTimer();
  Settle();
  int32_t askedAt = -1;
  for (int32_t m = 1; m <= 32 && askedAt < 0; ++m) {
    Run(60000);
    auto* d = Find<NonMenuSystem::ConfirmMultiOptionDialog>();
    if (d && d->ConfirmType == 4) askedAt = m;
  }
  EXPECT_GE(askedAt, 30);
  EXPECT_LE(askedAt, 31);
  auto* d = Find<NonMenuSystem::ConfirmMultiOptionDialog>();
  ASSERT_NE(d, nullptr);
  d->OnSetFocus(&d->NoButton());
  Press("ok");
  Run(100);
  Settle();
  EXPECT_FALSE(Shown3D());
}


// Failed middleware calls in live TV: what a failed read leaves behind is
// never taken for a panel code, a channel or a source.
class FailedReadTest : public apptest::AppTest {
 protected:
  bool AnyThreeDScreen() {
    for (const apptest::OpenScreen& s : Screens())
      if (s.cls.rfind("ThreeD::", 0) == 0) return true;
    return false;
  }
  // Calls of `name` (window, then a major number or a source) that handed
  // the set the channel or the source none (-2); an analogue channel's
  // minor number is -2 as well, and fine.
  std::vector<std::string> CallsWithNone(std::string_view name) {
    std::vector<std::string> out;
    for (const std::string& c : Calls(name))
      if (c.find("(0, -2") != std::string::npos || c.find("(1, -2") != std::string::npos) out.push_back(c);
    return out;
  }
};

class FailedPanelCodeTest : public FailedReadTest {
 protected:
  void SetUpData() override { FailCall("XPM_GetExtOemProperty", XPM_ERR_FAILED); }
};

TEST_F(FailedPanelCodeTest, The3DKeyOpensNothingOnASetWithout3D) {
  Press("3d");
  Run(500);
  EXPECT_FALSE(AnyThreeDScreen());
  // The reads answer again: the set is still the model it is, without 3D.
  ClearFailures();
  Press("3d");
  Run(500);
  EXPECT_FALSE(AnyThreeDScreen());
  Press("vol+");
  Run(100);
  EXPECT_TRUE(Sees("Volume")) << SeenList();
}

class FailedPanelCodeOn3DSetTest : public FailedReadTest {
 protected:
  void SetUpData() override {
    ASSERT_TRUE(Tv().SetState("oem.38", "0"));  // a 3D panel
    FailCall("XPM_GetExtOemProperty", XPM_ERR_FAILED);
  }
};

TEST_F(FailedPanelCodeOn3DSetTest, A3DSetOffers3DOnceThePanelCodeIsRead) {
  Press("3d");
  Run(500);
  EXPECT_FALSE(AnyThreeDScreen()) << "nothing is known of the panel yet";
  ClearFailures();
  Press("3d");
  Run(500);
  EXPECT_TRUE(AnyThreeDScreen());
}

TEST_F(FailedReadTest, ChannelKeysAfterAFailedReadOfTheChannelTuneNoChannelNone) {
  FailCall("XPM_GetCurrentChannel", XPM_ERR_FAILED);
  FailCall("XPM_GetNextChannel", XPM_ERR_FAILED);
  ClearCallLog();
  Press("ch+");
  Run(500);
  EXPECT_TRUE(CallsWithNone("XPM_SetChannel").empty()) << CallsWithNone("XPM_SetChannel").front();
  // The calls answer again: once the channel entry has closed, the next
  // key tunes the next channel.
  ClearFailures();
  Run(10000);
  Press("ch+");
  Run(2000);
  const std::vector<std::string> tunes = Calls("XPM_SetChannel");
  ASSERT_FALSE(tunes.empty());
  EXPECT_EQ(tunes.back(), "XPM_SetChannel(0, 2, 2)");
  EXPECT_TRUE(Sees("2-2")) << SeenList();
}

TEST_F(FailedReadTest, TheLastKeyAfterAMarkThatCouldNotReadTheChannelSelectsNoSourceNone) {
  FailCall("XPM_GetCurrentChannel", XPM_ERR_FAILED);
  Press("mark");
  Run(300);
  ClearFailures();
  ClearCallLog();
  Press("last");
  Run(1000);
  EXPECT_TRUE(CallsWithNone("XPM_SetSource").empty()) << CallsWithNone("XPM_SetSource").front();
  EXPECT_TRUE(CallsWithNone("XPM_SetChannel").empty()) << CallsWithNone("XPM_SetChannel").front();
  Press("vol+");
  Run(100);
  EXPECT_TRUE(Sees("Volume")) << SeenList();
}

}  // namespace
