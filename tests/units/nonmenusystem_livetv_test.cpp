// The live-TV dispatcher and the message bar through the whole system: the
// key filter in each situation, the key table, every event class, every
// message type with its time-out, keys and follow-up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nonmenusystem_support.h"
#include "runtime/runtime.h"
#include "runtime/text.h"
#include "strings/NonMenuSystem.h"
#include "strings/Strings.h"
#include "units/Agent/EventAgent.h"
#include "units/Constants/Constants.h"
#include "units/Constants/MessageTypes.h"
#include "units/Events/CEC_EVENT_SOURCE_DETECTED.h"
#include "units/Events/DMRStatusEvent.h"
#include "units/Events/MediaRemovedEvent.h"
#include "units/Events/PVRRecordStatusEvent.h"
#include "units/Events/StatusEvent.h"
#include "units/Events/TimerRecordWarningEvent.h"
#include "units/Events/TimerStandbyEvent.h"
#include "units/Events/XPM_EVENT_3D_STATUS.h"
#include "units/Events/XPM_EVENT_CHANNEL_ACQUIRED.h"
#include "units/Events/XPM_EVENT_FAN_ERROR.h"
#include "units/Events/XPM_EVENT_KEY.h"
#include "units/Events/XPM_EVENT_SOURCE_ACQUIRED.h"
#include "units/Events/XPM_EVENT_UBN_MEDIA_INSERTED.h"
#include "units/Events/XPM_EVENT_UBN_UPDATE_REMIND.h"
#include "units/Events/XPM_EVENT_USB_OVERCURRENT.h"
#include "units/Media/MediaEvents.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/PersistentData/PersistentData.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/VirtualChannel.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SubSystem/State.h"
#include "units/WinIDs/WinIDs.h"
#include "platform/sim/sim_3d_status.h"
#include "platform/sim/sim_apps.h"
#include "units/SkinBin/StatusRecords.h"
#include "platform/tvsm/tvsm.h"
#include "platform/xpm/xpm_event_ids.h"

namespace livetvtest {

// A screen of a given window id and layer, to set up the key filter's situations.
class Window : public NonMenuSystem::WidgetClass {
  KV_CLASS(livetvtest, Window, NonMenuSystem::WidgetClass)
 public:
  Window() { KeyRoutingForm::OnSetBounds({0, 0, 200, 100}); }
};
KV_REGISTER_CLASS(livetvtest::Window);

class LiveTVDispatchTest : public LiveTVTest {
 protected:
  // A key press dispatched as the host does; the consumer, or null.
  kv::Object* Key(uint16_t code) {
    kv::Persistent<Events::XPM_EVENT_KEY> key = kv::New<Events::XPM_EVENT_KEY>();
    key->Initialize(code, 1);
    kv::Object* taken = Dispatch(key);
    Settle();
    return taken;
  }
  Window* OpenWindow(uint32_t winId, uint32_t layer = 32) {
    kv::Persistent<Window> w = kv::New<Window>();
    w->WinID = winId;
    w->Layer = layer;
    kv::Persistent<SubSystem::State> state = kv::New<SubSystem::State>();
    state->Instance = w;
    state->Class = &Window::StaticClass();
    Nms()->ChangeState(state);
    Settle();
    return w;
  }
  void OnTuner() { ASSERT_TRUE(SwitchToSourceType(Constants::XPM_SOURCE_TYPE_RF_TUNER)); }
  void OnHdmi() { ASSERT_TRUE(SwitchToSourceType(Constants::XPM_SOURCE_TYPE_AV_HDMI)); }
  // Keeps an acquisition event of the main window in the event agent.
  void KeepAcquired(int32_t status) {
    kv::Persistent<Events::XPM_EVENT_SOURCE_ACQUIRED> e = kv::New<Events::XPM_EVENT_SOURCE_ACQUIRED>();
    e->Status = status;
    e->Source = W()->GetCurrentSource(0);
    kv::GetAutoObject<Agent::EventAgent>(MainApp::EventAgent)->InsertEvent(e);
  }
  void CloseBar() {
    Nms()->ClearAll();
    Settle();
  }
};

// --- The key filter and the key table -------------------------------------------------

TEST_F(LiveTVDispatchTest, NoScreenOnTheTuner) {
  OnTuner();
  Nms()->ClearAll();
  Settle();
  // Channel keys, digits and the playback keys are live TV's on the tuner.
  for (uint16_t code : {36, 37, 10, 15, 19, 50, 51, 39, 40, 58, 59, 22, 23, 38, 48, 66, 76, 83, 86, 97, 100, 104}) {
    SCOPED_TRACE(code);
    // An open screen (the channel entry after a digit) takes the next key itself.
    Nms()->ClearAll();
    Settle();
    EXPECT_EQ(Key(code), Nms());
    EXPECT_NE(BarType(), Constants::DirectMsgTypeNotAvailable);
  }
  // OK, exit, arrows and back with no screen open are not live TV's.
  for (uint16_t code : {1, 2, 4, 5, 6, 7, 41, 8, 9, 21}) EXPECT_EQ(Key(code), nullptr) << code;
  // Keys without a row are not consumed: 24 to 28, 31 to 35, 42, 43, 45, 49, ...
  for (uint16_t code : {24, 28, 31, 35, 42, 43, 49, 55, 57, 60, 62, 64, 65, 67, 68, 71, 75, 78, 81, 82, 85, 87,
                        88, 91, 93, 98, 105, 109})
    EXPECT_EQ(Key(code), nullptr) << code;
  // Codes above 110 pass the filter but have no row.
  EXPECT_EQ(Key(111), nullptr);
}

TEST_F(LiveTVDispatchTest, NotAvailableWhereLiveTVCannotAct) {
  OnTuner();
  // The dash key never reaches the table: with no screen it says "not available".
  EXPECT_EQ(Key(44), nullptr);
  EXPECT_EQ(BarType(), Constants::DirectMsgTypeNotAvailable);
  // The notice is drawn, and leaves after 2000 ms.
  kv::Persistent<NonMenuSystem::DirectMessageBar> bar = Bar();
  ASSERT_NE(bar, nullptr);
  const kv::Rect b = bar->GetAbsoluteBounds();
  EXPECT_EQ(b, (kv::Rect{270, 450, 690, 510}));
  EXPECT_GT(Osd().Row(b.y1 + 30)[b.x1 + 30] >> 24, 0u);
  EXPECT_TRUE(bar->Icon().IsVisible());
  Run(2100);
  EXPECT_EQ(Bar(), nullptr);
  // Table rows that answer "not available" on the tuner in the simulated set's
  // state: red with no USB disk says message 36; stop, PIP, the browser with
  // no lists, the application key.
  EXPECT_EQ(Key(20), Nms());
  EXPECT_EQ(BarType(), 36);
  auto* skin = kv::Cast<SkinBin::Wrapper>(W());
  ASSERT_NE(skin, nullptr);
  for (int32_t bit = 0; bit < 8; ++bit) skin->SetCBListStatus(bit, false);
  for (uint16_t code : {53, 69, 99, 101}) {
    CloseBar();
    EXPECT_EQ(Key(code), Nms()) << code;
    EXPECT_EQ(BarType(), Constants::DirectMsgTypeNotAvailable) << code;
  }
  // The panel-lock key shows message 13; the record key opens the record options (pending).
  EXPECT_EQ(Key(96), Nms());
  EXPECT_EQ(BarType(), 13);
  EXPECT_EQ(Key(52), Nms());
}

// The key filter by the network application that owns the screen. Channel
// up tunes with none and under the widget engine; Flash and the video dock
// keep it. The guide key on a digital channel opens the guide with none,
// says "not available" under the widget engine, and is kept without a word
// by Flash and the video dock. (A dock widget cannot arise: the Wrapper
// reports no widget name.)
TEST_F(LiveTVDispatchTest, TheKeyFilterFollowsTheRunningNetworkApplication) {
  OnTuner();
  auto* skin = kv::Cast<SkinBin::Wrapper>(W());
  ASSERT_NE(skin, nullptr);
  struct Row {
    const char* name;
    int32_t kind;  // 0: none
    bool tunes;
    bool guide;
    int32_t bar;  // after the guide key
  };
  const Row rows[] = {{"none", 0, true, true, 0},
                      {"widgets", TVSM_APP_WIDGET, true, false, Constants::DirectMsgTypeNotAvailable},
                      {"netflix", TVSM_APP_FLASH, false, false, 0},
                      {"vudu", TVSM_APP_DOCK, false, false, 0}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    for (int32_t kind : {TVSM_APP_WIDGET, TVSM_APP_FLASH, TVSM_APP_DOCK}) sim::EndApps(Tv(), kind);
    if (r.kind != 0) sim::StartApp(Tv(), r.kind, r.name);
    skin->RefreshActiveAppStatus();
    Nms()->ClearAll();
    Settle();
    // The guide lists the digital channels: start on one.
    ASSERT_TRUE(skin->GetCurrentChannelDetailInfo() && skin->GetCurrentChannelDetailInfo()->IsDigital);
    ClearCallLog();
    Key(36);
    Run(3000);
    Settle();
    EXPECT_EQ(!Calls("XPM_SetChannel").empty(), r.tunes);
    Nms()->ClearAll();
    Settle();
    // Back to a digital channel for the guide key.
    if (!skin->GetCurrentChannelDetailInfo()->IsDigital) {
      Key(37);
      Run(3000);
      Nms()->ClearAll();
      Settle();
    }
    const size_t forms = OpenForms().size();
    Key(66);
    Run(200);
    Settle();
    EXPECT_EQ(OpenForms().size() > forms && BarType() == 0, r.guide);
    EXPECT_EQ(BarType(), r.bar);
  }
  for (int32_t kind : {TVSM_APP_WIDGET, TVSM_APP_FLASH, TVSM_APP_DOCK}) sim::EndApps(Tv(), kind);
}

TEST_F(LiveTVDispatchTest, NonTunerSourceRefusesChannelAndPlaybackKeys) {
  OnHdmi();
  Nms()->ClearAll();
  Settle();
  for (uint16_t code : {36, 37, 50, 51, 52, 53, 58, 59, 39, 40}) {
    SCOPED_TRACE(code);
    CloseBar();
    EXPECT_EQ(Key(code), nullptr);
    EXPECT_EQ(BarType(), Constants::DirectMsgTypeNotAvailable);
  }
  // The guide needs a digital channel of the tuner.
  CloseBar();
  EXPECT_EQ(Key(66), nullptr);
  EXPECT_EQ(BarType(), Constants::DirectMsgTypeNotAvailable);
  // The sound-track key: no CEC device on the input, so "not available" (consumed).
  CloseBar();
  EXPECT_EQ(Key(70), Nms());
  EXPECT_EQ(BarType(), Constants::DirectMsgTypeNotAvailable);
  // Digits still open the channel entry (which tunes the tuner).
  CloseBar();
  EXPECT_EQ(Key(12), Nms());
  EXPECT_EQ(Bar(), nullptr);
  // The TV key goes back to the tuner input.
  ClearCallLog();
  EXPECT_EQ(Key(63), Nms());
  EXPECT_FALSE(Calls("XPM_SetSource").empty());
}

TEST_F(LiveTVDispatchTest, AScreenOpen) {
  OnTuner();
  // OK, exit, arrows and back reach live TV while a screen that does not take
  // them is open, except over the input list, picture size, volume bar and banner.
  kv::Persistent<Window> w = OpenWindow(0x020000e1);
  EXPECT_TRUE(Nms()->KeyEventNeedHandled(1));
  EXPECT_TRUE(Nms()->KeyEventNeedHandled(41));
  for (uint32_t id : {WinIDs::WIN_ID_ExternalInputDialog, WinIDs::WIN_ID_PictureSizeDialog, WinIDs::WIN_ID_VolumeBar,
                      WinIDs::WIN_ID_InfoBanner}) {
    SCOPED_TRACE(id);
    kv::Persistent<Window> overlay = OpenWindow(id, 64);
    EXPECT_FALSE(Nms()->KeyEventNeedHandled(1));
    // The dash key there says "not available", clearing the screens first.
    EXPECT_EQ(Key(44), nullptr);
    EXPECT_FALSE(overlay->IsOpen());
    EXPECT_EQ(BarType(), Constants::DirectMsgTypeNotAvailable);
    CloseBar();
  }
  // Over another screen the dash key is refused silently.
  w = OpenWindow(0x020000e1);
  EXPECT_EQ(Key(44), nullptr);
  EXPECT_EQ(Bar(), nullptr);
  // A channel key clears the screens.
  EXPECT_EQ(Key(36), Nms());
  EXPECT_FALSE(w->IsOpen());
  // Digits are refused while a screen opened from the menu or the quick menu has the focus.
  kv::Persistent<SkinBin::UserRefInt> ref = kv::New<SkinBin::UserRefInt>();
  ref->Code = Constants::MSG_FROM_MENUSYSTEM;
  kv::Persistent<SubSystem::State> state = kv::New<SubSystem::State>();
  state->Class = &Window::StaticClass();
  state->Param = ref;
  ASSERT_NE(Nms()->ChangeState(state), nullptr);
  EXPECT_FALSE(Nms()->KeyEventNeedHandled(12));
  ref->Code = Constants::MSG_FROM_QUICKMENU;
  Nms()->ChangeState(state);
  EXPECT_FALSE(Nms()->KeyEventNeedHandled(12));
  // ... and while a menu-tree or quick-menu screen is open.
  CloseBar();
  OpenWindow(WinIDs::WIN_ID_MainMenu, 64);
  Nms()->OnSetFocus(nullptr);
  EXPECT_FALSE(Nms()->KeyEventNeedHandled(12));
  CloseBar();
  OpenWindow(WinIDs::WIN_ID_QuickMenu, 64);
  EXPECT_FALSE(Nms()->KeyEventNeedHandled(99));
}

TEST_F(LiveTVDispatchTest, The3DDialogAndTheMediaScreens) {
  OnTuner();
  OpenWindow(WinIDs::WIN_ID_3D_Dialog, 64);
  for (uint32_t code : {46u, 47u, 84u, 0x10000u + 46u}) EXPECT_TRUE(Nms()->KeyEventNeedHandled(code)) << code;
  for (uint32_t code : {36u, 94u, 97u, 12u, 104u}) EXPECT_FALSE(Nms()->KeyEventNeedHandled(code)) << code;
  CloseBar();
  OpenWindow(WinIDs::WIN_ID_PhotoMultiView, 64);
  EXPECT_FALSE(Nms()->KeyEventNeedHandled(12));
  EXPECT_FALSE(Nms()->KeyEventNeedHandled(36));
  EXPECT_TRUE(Nms()->KeyEventNeedHandled(48));
  EXPECT_FALSE(Nms()->KeyEventNeedHandled(77));
  EXPECT_TRUE(Nms()->KeyEventNeedHandled(94));
  EXPECT_FALSE(Nms()->KeyEventNeedHandled(104));
  // Sound-track and caption keys over the media screens: not available, unless the photo frame shows.
  EXPECT_FALSE(Nms()->KeyEventNeedHandled(76));
  Settle();
  EXPECT_EQ(BarType(), Constants::DirectMsgTypeNotAvailable);
  CloseBar();
  OpenWindow(WinIDs::WIN_ID_MoviePlayer, 128);
  EXPECT_TRUE(Nms()->KeyEventNeedHandled(77));
  OpenWindow(WinIDs::WIN_ID_PhotoFrame, 64);
  EXPECT_FALSE(Nms()->KeyEventNeedHandled(70));
  Settle();
  EXPECT_EQ(Bar(), nullptr);
}

TEST_F(LiveTVDispatchTest, SettingKeysAndTheFreezeKey) {
  OnTuner();
  // Freeze: the picture freezes, and the next press unfreezes it.
  ClearCallLog();
  EXPECT_EQ(Key(89), Nms());
  EXPECT_EQ(Calls("XPM_SetVideoFreezeState").size(), 1u);
  EXPECT_EQ(Key(89), Nms());
  EXPECT_EQ(Calls("XPM_SetVideoFreezeState").size(), 2u);
  // PIP keys do nothing while picture-in-picture is off.
  EXPECT_EQ(Key(29), Nms());
  EXPECT_EQ(Key(30), Nms());
  EXPECT_TRUE(Calls("XPM_SetSecondaryWindowAudio").empty());
  // The output-mode key is taken; Last goes through the event agent.
  EXPECT_EQ(Key(94), Nms());
  EXPECT_EQ(Key(54), Nms());
  // The 3D key is refused on a set without 3D (the series type is not 2 or 3).
  EXPECT_EQ(Key(95), nullptr);
  // 101 to 103: the application keys.
  EXPECT_EQ(Key(102), Nms());
  EXPECT_EQ(Key(103), Nms());
}

// The freeze key pressed twice on a new set's live TV: the set holds the
// picture after the first press and runs it again after the second (read
// from the set each time); a key afterwards is still answered.
TEST_F(LiveTVDispatchTest, TheFreezeKeyPressedTwiceHoldsThenRunsThePicture) {
  ClearCallLog();
  Press("freeze");
  ASSERT_EQ(Calls("XPM_SetVideoFreezeState").size(), 1u);
  EXPECT_EQ(W()->OnGetIsFrozen(), 1);
  Press("freeze");
  ASSERT_EQ(Calls("XPM_SetVideoFreezeState").size(), 2u);
  EXPECT_EQ(W()->OnGetIsFrozen(), 0);
  EXPECT_NE(Calls("XPM_SetVideoFreezeState")[0], Calls("XPM_SetVideoFreezeState")[1]);
  Press("vol+");
  Run(300);
  EXPECT_TRUE(Sees(std::to_string(W()->OnGetVolume()))) << SeenList();
}

// Rows whose screens come with later classes: each is checked once its class
// exists (the key must open it); until then the test names it as pending.
TEST_F(LiveTVDispatchTest, RowsThatOpenLaterScreens) {
  struct Row {
    uint16_t code;
    const char* cls;
  };
  const Row rows[] = {
      {12, "NonMenuSystem::ChannelEntry"},        {36, "NonMenuSystem::ChannelEntry"},
      {38, "NonMenuSystem::OptionDialogWithCaption"}, {46, "NonMenuSystem::CommonVolumeBar"},
      {84, "NonMenuSystem::CommonMuteBar"},       {47, "NonMenuSystem::CommonVolumeBar"},
      {66, "Channels::FullEPGDialog"},
      {76, "NonMenuSystem::OptionDialogWithCaption"}, {77, "NonMenuSystem::OptionDialogWithCaption"},
      {79, "Channels::MiniGuideDialog"},          {83, "NonMenuSystem::ExternalInputDialog"},
      {97, "NonMenuSystem::SleepTimerDialog"},    {100, "NonMenuSystem::ChBrowserDialog"},
      {48, "QuickMenu::QuickMenu"},               {52, "Record::RecordOptionsDialog"},
  };
  OnTuner();
  std::vector<std::string> pending;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.cls);
    CloseBar();
    EXPECT_EQ(Key(r.code), Nms());
    const kv::Class* cls = kv::FindClass(r.cls);
    if (!cls) {
      pending.push_back(std::to_string(r.code) + " " + r.cls);
      continue;
    }
    bool open = false;
    for (auto* f : OpenForms()) open = open || f->KvClass() == cls;
    EXPECT_TRUE(open);
  }
  for (const std::string& p : pending) std::printf("pending: key %s\n", p.c_str());
}

// --- Events --------------------------------------------------------------------------------

TEST_F(LiveTVDispatchTest, EachEventClassIsConsumed) {
  OnTuner();
  // Media status: MSG_MM_STATUS_INFO to every receiver; nothing opens without auto start.
  kv::Persistent<Events::StatusEvent> status = kv::New<Events::StatusEvent>();
  status->Code = 18;
  // The media bridge takes it first and hands it on to the screens.
  EXPECT_EQ(Dispatch(status), status.get());
  kv::Persistent<Events::DMRStatusEvent> dmr = kv::New<Events::DMRStatusEvent>();
  dmr->Kind = 10;
  // With the renderer off the bridge swallows renderer status.
  EXPECT_EQ(Dispatch(dmr), dmr.get());
  EXPECT_EQ(Nms()->HandleEvent(dmr), Nms());
  dmr->Kind = 99;
  EXPECT_EQ(Nms()->HandleEvent(dmr), Nms());
  EXPECT_EQ(Dispatch(kv::New<Media::MetadataReadyEvent>()), Nms());
  auto* picture = kv::New<Media::PictureEvent>();
  EXPECT_EQ(Dispatch(picture), picture);
  kv::Persistent<Events::PVRRecordStatusEvent> record = kv::New<Events::PVRRecordStatusEvent>();
  record->Status = 99;
  EXPECT_EQ(Dispatch(record), Nms());
  EXPECT_EQ(Dispatch(kv::New<Events::XPM_EVENT_3D_STATUS>()), Nms());

  // A CEC device asks for its input: the screens close and the source is set.
  OpenWindow(0x020000e1);
  kv::Persistent<Events::CEC_EVENT_SOURCE_DETECTED> cec = kv::New<Events::CEC_EVENT_SOURCE_DETECTED>();
  cec->Source = W()->GetSourceByType(0, Constants::XPM_SOURCE_TYPE_AV_HDMI, 1);
  ClearCallLog();
  EXPECT_EQ(Dispatch(cec), Nms());
  Settle();
  // (The banner of the new input may follow.)
  for (auto* f : OpenForms()) EXPECT_NE(f->WinID, 0x020000e1u);
  EXPECT_FALSE(Calls("XPM_SetSource").empty());

  // Over-current and the fan's warning show their messages; a fan shutdown goes to standby (reason 7).
  EXPECT_EQ(Dispatch(kv::New<Events::XPM_EVENT_USB_OVERCURRENT>()), Nms());
  Settle();
  EXPECT_EQ(BarType(), 31);
  EXPECT_EQ(Bar()->Bounds().x1, (960 - Bar()->Bounds().W()) / 2) << "type 31 is centred";
  kv::Persistent<Events::XPM_EVENT_FAN_ERROR> fan = kv::New<Events::XPM_EVENT_FAN_ERROR>();
  EXPECT_EQ(Dispatch(fan), Nms());
  fan->Warning = 1;
  EXPECT_EQ(Dispatch(fan), Nms());
  Settle();
  EXPECT_EQ(BarType(), 28);
  fan->Shutdown = 1;
  ClearCallLog();
  EXPECT_EQ(Dispatch(fan), Nms());
  Settle();
  ASSERT_EQ(Calls("XPM_StandbyMode").size(), 1u);
  EXPECT_NE(Calls("XPM_StandbyMode")[0].find("7"), std::string::npos);
  EXPECT_EQ(Bar(), nullptr) << "a shutdown shows no message";
}

TEST_F(LiveTVDispatchTest, RecordingStatusesAndTimers) {
  OnTuner();
  const std::pair<int32_t, int32_t> statusToMessage[] = {{4, 36}, {5, 37}, {8, 34}, {10, 38}, {11, 35}, {12, 39}, {14, 42}};
  for (auto [status, message] : statusToMessage) {
    kv::Persistent<Events::PVRRecordStatusEvent> e = kv::New<Events::PVRRecordStatusEvent>();
    e->Status = status;
    EXPECT_EQ(Dispatch(e), Nms());
    Settle();
    EXPECT_EQ(BarType(), message) << status;
  }
  // A timer-standby event: the 60000 ms timer sends the set to standby.
  kv::Persistent<Events::TimerStandbyEvent> standby = kv::New<Events::TimerStandbyEvent>();
  standby->TimerId = 3;
  ClearCallLog();
  EXPECT_EQ(Dispatch(standby), Nms());
  EXPECT_TRUE(Nms()->TimerStandbyTimer().IsEnabled());
  Run(59000);
  EXPECT_TRUE(Calls("XPM_StandbyMode").empty());
  Run(1500);
  EXPECT_EQ(Calls("XPM_StandbyMode").size(), 1u);
  Press("power");
  kv::Persistent<Events::TimerRecordWarningEvent> warning = kv::New<Events::TimerRecordWarningEvent>();
  warning->TimerId = 4;
  EXPECT_EQ(Dispatch(warning), Nms());
}

TEST_F(LiveTVDispatchTest, CachedAcquisitionsAndUpdateEvents) {
  OnHdmi();
  auto cached = [&](Core::Event* e) { Send(Constants::MSG_EVENT_CACHED, -1, e); };
  // No signal on an input: message 1 with the failure text; back and exit leave it.
  KeepAcquired(17);
  kv::Persistent<Events::XPM_EVENT_SOURCE_ACQUIRED> lost = kv::New<Events::XPM_EVENT_SOURCE_ACQUIRED>();
  lost->Status = 17;
  lost->LockResult = 2;
  cached(lost);
  ASSERT_EQ(BarType(), 1);
  EXPECT_EQ(Bar()->MessageInfo, kv::GetVariantOfString(Strings::SID_NO_SIGNAL_MSG));
  Press("back");
  Press("exit");
  EXPECT_EQ(BarType(), 1);
  Run(60000);
  EXPECT_EQ(BarType(), 1) << "type 1 has no time-out action";
  // Lock result 1 only refreshes the banner (not forced).
  kv::Persistent<Events::XPM_EVENT_SOURCE_ACQUIRED> refresh = kv::New<Events::XPM_EVENT_SOURCE_ACQUIRED>();
  refresh->Status = 2;
  refresh->LockResult = 1;
  Nms()->BannerSource = -1;
  cached(refresh);
  EXPECT_EQ(Nms()->BannerSource, W()->GetCurrentSource(0));
  // The picture is back: the bar closes (also over types 15 to 17 and 29).
  Nms()->ShowMessage(16);
  Settle();
  kv::Persistent<Events::XPM_EVENT_SOURCE_ACQUIRED> ok = kv::New<Events::XPM_EVENT_SOURCE_ACQUIRED>();
  ok->Status = 16;
  cached(ok);
  EXPECT_NE(BarType(), 16);
  // MSG_CLEAR_MESSAGE closes types 1 and 14 only.
  for (int32_t type : {1, 14, 4}) {
    Nms()->ShowMessage(type);
    Settle();
    Send(Constants::MSG_CLEAR_MESSAGE);
    EXPECT_EQ(BarType() == type, type == 4) << type;
    CloseBar();
  }
  // Types 18 and 19 keep the event back (last: the update-done notice ends
  // in the set's restart, through standby).
  Nms()->ShowMessage(18);
  Settle();
  cached(lost);
  EXPECT_EQ(BarType(), 18);
  CloseBar();
  // The update-medium event stores its path.
  kv::Persistent<Events::XPM_EVENT_UBN_MEDIA_INSERTED> media = kv::New<Events::XPM_EVENT_UBN_MEDIA_INSERTED>();
  media->Path = KV_STR(u"/mnt/usb/update.bin");
  cached(media);
  EXPECT_EQ(kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData)
                ->GetString(NonMenuSystem::KEY_UPDATE_PATH),
            KV_STR(u"/mnt/usb/update.bin"));
  cached(kv::New<Events::XPM_EVENT_UBN_UPDATE_REMIND>());
  // The set's 3D report arrives as an event and is consumed.
  sim::Send3DStatus(Tv(), 2);
  Run(100);
  EXPECT_FALSE(Logged("rror"));
}

// --- The message bar --------------------------------------------------------------------

TEST_F(LiveTVDispatchTest, EveryMessageTypeOpensWithItsText) {
  OnTuner();
  KeepAcquired(1);
  for (int32_t type = 1; type <= 52; ++type) {
    SCOPED_TRACE(type);
    kv::Persistent<NonMenuSystem::DirectMessageBar> bar = Nms()->ShowMessage(type);
    ASSERT_NE(bar, nullptr);
    Settle();
    ASSERT_TRUE(bar->IsOpen());
    EXPECT_EQ(bar->MessageType, type);
    const bool known = type <= 50 && type != 30;
    EXPECT_EQ(bar->MessageInfo.Length() > 0, known);
    if (!known) {
      EXPECT_EQ(bar->Bounds(), (kv::Rect{270, 450, 690, 510}));
    }
    const kv::Rect b = bar->Bounds();
    EXPECT_LE(b.y2, 535);
    // Drawn: the bar's panel covers its middle.
    EXPECT_GT(Osd().Row((b.y1 + b.y2) / 2)[b.x1 + 6] >> 24, 0u);
    if (type >= 22 && type <= 26 && type != 25) {
      EXPECT_EQ(b, (kv::Rect{550, 370, 910, 410}));
    }
    CloseBar();
    // An update-done notice ends in the set's restart, through standby,
    // where no notice shows: the power key brings the set back.
    if (App().IsInStandby()) {
      Press("power");
      Run(3000);
    }
  }
}

TEST_F(LiveTVDispatchTest, MessageTimeOutsKeysAndFollowUps) {
  OnTuner();
  struct Timed {
    int32_t type;
    int32_t ms;  // 0: stays
  };
  for (Timed t : {Timed{4, 2000}, Timed{41, 5000}, Timed{18, 8000}, Timed{22, 2000}, Timed{44, 4000}, Timed{48, 5000},
                  Timed{14, 0}, Timed{28, 0}, Timed{2, 6000}}) {
    SCOPED_TRACE(t.type);
    Nms()->ShowMessage(t.type);
    Settle();
    ClearCallLog();
    Run(t.ms ? t.ms - 100 : 59000);
    EXPECT_EQ(BarType(), t.type);
    Run(t.ms ? 200 : 2000);
    EXPECT_EQ(Bar() == nullptr, t.ms != 0);
    CloseBar();
    // The update-done notice restarts the set when it closes: through standby
    // (reason 7), from which the power key brings it back.
    if (t.type == 18 && NonMenuSystem::Live::Skin()) {
      EXPECT_EQ(Calls("XPM_StandbyMode").size(), 1u);
      Press("power");
      Settle();
    }
  }
  // Type 8 eats every key and hands over to the 3D wizard after 2000 ms.
  Nms()->ShowMessage(8);
  Settle();
  ClearCallLog();
  Press("vol+");
  EXPECT_EQ(BarType(), 8);
  EXPECT_TRUE(Calls("XPM_SetVolume").empty());
  Run(2100);
  EXPECT_EQ(Bar(), nullptr);
  // Type 2: any key closes it. Type 14: OK closes it. Type 17: exit goes to the base.
  for (auto [type, key] : {std::pair{2, "left"}, std::pair{14, "ok"}, std::pair{17, "exit"}, std::pair{29, "ok"}}) {
    SCOPED_TRACE(type);
    Nms()->ShowMessage(type);
    Settle();
    Press(key);
    EXPECT_EQ(Bar(), nullptr);
  }
  Nms()->ShowMessage(17);
  Settle();
  Press("left");
  EXPECT_EQ(BarType(), 17);
  CloseBar();
  // Type 19 closes on the removal of the update medium; the reboot is asked for once.
  Nms()->ShowMessage(19);
  Settle();
  ClearCallLog();
  EXPECT_NE(Dispatch(kv::New<Events::MediaRemovedEvent>()), nullptr);
  Settle();
  EXPECT_EQ(Bar(), nullptr);
  EXPECT_EQ(Calls("XPM_StandbyMode").size(), NonMenuSystem::Live::Skin() ? 1u : 0u);
}

TEST_F(LiveTVDispatchTest, ALongTextGrowsTheBarAboutItsCentre) {
  kv::Persistent<NonMenuSystem::DirectMessageBar> bar = Nms()->ShowMessage(4);
  Settle();
  const kv::Rect small = bar->Bounds();
  std::u16string text;
  for (int i = 0; i < 30; ++i) text += u"A rather long notice that wraps. ";
  bar->OnSetMessageInfo(kv::NewStringAnsi(std::string(text.begin(), text.end()).c_str()));
  const kv::Point o = bar->WidgetOrigin;
  EXPECT_GT(bar->Bounds().H(), small.H());
  EXPECT_LE(o.y + bar->Bounds().H(), 535);
  // The short text of type 4 keeps the type's size.
  bar = Nms()->ShowMessage(4);
  Settle();
  EXPECT_EQ(bar->Bounds(), (kv::Rect{270, 450, 690, 510}));
}

}  // namespace livetvtest
