// The live-TV key and event dispatcher: NonMenuSystem::HandleEvent.
//
// A key press that no screen consumed passes the key filter
// (KeyEventNeedHandled: may live TV act on it in this situation?) and then
// the key table (DoKey: what it does). A refused key is not consumed, also
// when the filter showed "not available" (message type 4). The middleware
// events handled here are consumed whether or not they lead to an action.
// The 3D status report is tested after the other event classes and goes to
// Handle3DEvent, as does the 3D key (95) once the filter let it through.
#include <algorithm>
#include <initializer_list>
#include <iterator>

#include "runtime/auto_object.h"
#include "keys/keycodes.h"
#include "runtime/trace.h"
#include "strings/MainApp.h"
#include "strings/NonMenuSystem.h"
#include "units/Agent/EventAgent.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/ConfirmTypes.h"
#include "units/Constants/Constants.h"
#include "units/Constants/MessageTypes.h"
#include "units/Core/Event.h"
#include "units/Core/Root.h"
#include "units/Events/CEC_EVENT_SOURCE_DETECTED.h"
#include "units/Events/DMRStatusEvent.h"
#include "units/Events/PVRRecordStatusEvent.h"
#include "units/Events/StatusEvent.h"
#include "units/Events/TimerRecordWarningEvent.h"
#include "units/Events/TimerStandbyEvent.h"
#include "units/Events/USER_EVENT_CACHED_MESSAGE.h"
#include "units/Events/USER_EVENT_LAST_CHANNEL.h"
#include "units/Events/XPM_EVENT_3D_STATUS.h"
#include "units/Events/XPM_EVENT_CHANNEL_ACQUIRED.h"
#include "units/Events/XPM_EVENT_FAN_ERROR.h"
#include "units/Events/XPM_EVENT_SOURCE_ACQUIRED.h"
#include "units/Events/XPM_EVENT_STANDBY.h"
#include "units/Events/XPM_EVENT_UBN_MEDIA_INSERTED.h"
#include "units/Events/XPM_EVENT_UBN_UPDATE_REMIND.h"
#include "units/Events/XPM_EVENT_USB_OVERCURRENT.h"
#include "units/Media/MediaEvents.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/PersistentData/PersistentData.h"
#include "units/SkinBin/Wrapper.h"
#include "platform/tvsm/tvsm.h"
#include "units/Structures/ActiveAppStatus.h"
#include "units/Structures/Message.h"
#include "units/MediaPlayer/PhotoMultiView.h"
#include "units/Structures/VirtualChannel.h"
#include "units/SubSystem/MenuSystemClass.h"
#include "units/SubSystem/State.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"
#include "units/Wrapper/Wrapper.h"

namespace NonMenuSystem {

using namespace keys;

using namespace WinIDs;

namespace {

WidgetManager::WidgetManager* Manager() {
  return kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
}
Agent::EventAgent* EventAgent() { return kv::GetAutoObject<Agent::EventAgent>(MainApp::EventAgent); }
bool WindowOpen(uint32_t winId) { return Manager()->FindForm(winId) != nullptr; }
bool AnyOpen(std::initializer_list<uint32_t> ids) {
  for (uint32_t id : ids)
    if (WindowOpen(id)) return true;
  return false;
}
bool ScreenOpen() { return !Manager()->Empty(); }
using Live::MenuShown;
bool MediaScreenOpen() { return Manager()->HasWidgetInGroup(WIN_ID_MediaPlayer); }
// The menu or the quick menu is open.
bool MenuOpen() {
  return Manager()->HasWidgetInGroup(WIN_ID_MenuSystem) || Manager()->HasWidgetInGroup(WIN_ID_QuickMenu);
}
// The screens over which the live-TV keys OK, exit, arrows and back, and
// the dash key, do not act (window ids: see the note on shared ids).
bool LiveOverlayOpen() {
  return AnyOpen({WIN_ID_ExternalInputDialog, WIN_ID_PictureSizeDialog, WIN_ID_VolumeBar, WIN_ID_InfoBanner});
}
int32_t CurrentLiveTVState() { return Live::LiveTVState(Live::CurrentTunerId()); }
// Tuner 0 or tuner 1 records or timeshifts.
bool RecorderBusy() {
  for (int32_t tuner : {0, 1}) {
    const int32_t s = Live::LiveTVState(tuner);
    if (s == Constants::XPM_TV_STATE_PAUSE_LIVE_TV || s == Constants::XPM_TV_STATE_RECORDING_LIVE_TV) return true;
  }
  return false;
}

// The timeshift command of a playback key.
int32_t TimeshiftCommand(uint16_t code) {
  switch (code) {
    case KEY_PLAY: return 0;
    case KEY_PAUSE: return 1;
    case KEY_FORWARD: return 2;
    case KEY_REWIND: return 3;
    case KEY_NEXT: return 4;
    case KEY_PREV: return 5;
    case KEY_YELLOW: return 6;
    case KEY_BLUE: return 7;
    default: return -1;
  }
}

enum class Verdict { Refuse, Accept, AcceptThenMediaCheck };

constexpr int32_t OPTION_TYPE_PICTURE_MODE = 0x8100001b;
constexpr int32_t OPTION_TYPE_PICTURE_SIZE = 0x8100001c;
constexpr int32_t OPTION_TYPE_MTS_KEY = 0x82000007;
constexpr int32_t OPTION_TYPE_CLOSED_CAPTION_STATE = 0x8300000e;
// 3D formats of the status report: none, and a format the set cannot show.
constexpr int32_t k3DFormatNone = 0;
constexpr int32_t k3DFormatUnsupported = -2;

// No screen is open but the help bar: nothing of ours is over the picture.
bool NothingOpenButHelp() {
  for (kv::Object* item : Manager()->Snapshot()) {
    auto* form = kv::Cast<Primitives::KeyRoutingForm>(item);
    if (form && form->IsOpen() && form->WinID != WIN_ID_HelpBar) return false;
  }
  return true;
}

// Ends the application that owns the screen, if one does; true when it did.
bool EndFrontApplication() {
  SkinBin::Wrapper* skin = Live::Skin();
  if (!skin) return false;
  skin->RefreshActiveAppStatus();
  const Structures::ActiveAppStatus* app = skin->GetActiveNetAppStatus();
  // The store demo runs on its own terms; it is not the viewer's to end.
  if (!app || skin->IsDemoFlash()) return false;
  kv::Log("NonMenuSystem: Exit ends the application " + app->Name.ToUtf8());
  switch (app->Kind) {
    case TVSM_APP_WIDGET: skin->TerminateYahooApp(); break;
    case TVSM_APP_DOCK: skin->LaunchVuduDock(false, false); break;
    default: skin->TerminateFlashApp(); break;
  }
  return true;
}
}  // namespace

// --- Dispatch ------------------------------------------------------------------------

kv::Object* NonMenuSystem::HandleEvent(Core::Event* event) {
  if (auto* key = kv::Cast<Core::KeyEvent>(event)) return key->Down ? HandleKey(key) : nullptr;
  return HandleOtherEvent(event) ? this : nullptr;
}

kv::Object* NonMenuSystem::HandleKey(Core::KeyEvent* key) {
  kv::Trace("%s%i", {kv::LoadString(T_KEY), static_cast<int32_t>(key->Code)});
  // A key that ends the application owning the screen (Exit, Widgets, Input)
  // gives the picture back to live TV, and with it what live TV says about
  // the picture (the no-signal notice, the PIN prompt) once the pass is over.
  if (Live::PictureNotOurs() && watchingForms_) kv::PostSignal(kv::MakeSlot(this, &NonMenuSystem::AskAgainForPicture));
  // Exit over an application that owns the screen, with no screen of ours
  // left to close, ends that application: live TV is back.
  if ((key->Code == KEY_EXIT || key->Code == KEY_EXIT_ALT) && NothingOpenButHelp() && EndFrontApplication()) return this;
  if (!KeyEventNeedHandled(key->Code)) return nullptr;
  if (key->Code < KEY_0 || key->Code > KEY_FAV_ALT) return nullptr;
  return DoKey(key) ? this : nullptr;
}

void NonMenuSystem::NotAvailable(bool clear) {
  if (clear) ClearAll();
  // Live TV's notices open behind the menu: over a page of the menu the key
  // is only refused.
  if (MenuShown()) return;
  ShowMessage(Constants::DirectMsgTypeNotAvailable);
}

void NonMenuSystem::NotAvailableWhileRecording() {
  // As the not-available notice: over a page of the menu the key is only
  // refused.
  if (MenuShown()) return;
  ShowMessage(Constants::DirectMsgTypeNotAvailableWhileRecording);
}

// --- The key filter ----------------------------------------------------------------

bool NonMenuSystem::KeyEventNeedHandled(uint32_t fullCode) {
  const auto code = static_cast<uint16_t>(fullCode & 0xffffu);
  if (code == KEY_VOL_UP || code == KEY_VOL_DOWN || code == KEY_MUTE) return true;
  if (WindowOpen(WIN_ID_3D_Dialog)) return false;
  if (code == KEY_OUTPUT_MODE || code == KEY_SLEEP) return true;
  if (code >= KEY_CLEAR) return MediaCheck(code);
  return FilterKey(code);
}

bool NonMenuSystem::MediaCheck(uint16_t code) {
  if (!MediaScreenOpen()) return true;
  switch (code) {
    case KEY_QUICK: {
      // Refused while the photo grid is busy (its waiting indicator is up).
      auto* grid = kv::Cast<MediaPlayer::PhotoMultiView>(Manager()->FindForm(WIN_ID_PhotoMultiView));
      return !grid || !grid->IsBusy();
    }
    case KEY_3D:
      return !WindowOpen(WIN_ID_PhotoFrame);
    case KEY_PICTURE_SIZE:
      return AnyOpen({WIN_ID_MoviePlayer, WIN_ID_MoviePlayerDMR});
    case KEY_AUDIO:
    case KEY_CC:
      if (!WindowOpen(WIN_ID_PhotoFrame)) NotAvailable();
      return false;
    default:
      return false;
  }
}

bool NonMenuSystem::FilterKey(uint16_t code) {
  const bool yahoo = Live::IsYahoo();
  const bool dock = yahoo && Live::IsDockWidget();
  const bool flashOrDock = Live::IsFlashlite() || Live::IsVuduDock();
  const Verdict common = flashOrDock ? Verdict::Refuse : Verdict::AcceptThenMediaCheck;
  Verdict v = Verdict::AcceptThenMediaCheck;
  switch (code) {
    case KEY_OK: case KEY_EXIT: case KEY_UP: case KEY_DOWN: case KEY_LEFT: case KEY_RIGHT: case KEY_BACK:
      v = (!ScreenOpen() || LiveOverlayOpen()) ? Verdict::Refuse : Verdict::AcceptThenMediaCheck;
      break;
    case KEY_RESERVED_8: case KEY_RESERVED_9: case KEY_GREEN:
      v = Verdict::Refuse;
      break;
    case KEY_0: case KEY_1: case KEY_2: case KEY_3: case KEY_4: case KEY_5: case KEY_6: case KEY_7: case KEY_8: case KEY_9: case KEY_BROWSE: case KEY_FAV: {
      auto* focused = kv::Cast<WidgetClass>(OnGetFocus());
      if (focused && (focused->MenuTriggered || focused->OpenedFromQuickMenu()))
        v = Verdict::Refuse;
      else if (MenuOpen())
        v = Verdict::Refuse;
      else if (Live::OtherNetAppActive())
        v = Verdict::Refuse;
      break;
    }
    case KEY_CH_UP: case KEY_CH_DOWN:
      if (MediaScreenOpen() || dock || (!yahoo && flashOrDock)) {
        v = Verdict::Refuse;
      } else if (yahoo && Live::CurrentSourceType() == Constants::XPM_SOURCE_TYPE_EXT) {
        Live::RequestTVResources();
        v = Verdict::Refuse;
      } else if (Live::OnTuner()) {
        v = Verdict::Accept;
      } else {
        NotAvailable();
        v = Verdict::Refuse;
      }
      break;
    case KEY_PREV: case KEY_NEXT: case KEY_PLAY: case KEY_PAUSE: case KEY_RECORD: case KEY_STOP: case KEY_REWIND: case KEY_FORWARD:
      if (Live::OtherNetAppActive()) {
        v = Verdict::Refuse;
      } else if (MediaScreenOpen()) {
        return MediaCheck(code);
      } else if (!Live::OnTuner()) {
        NotAvailable(ScreenOpen());
        v = Verdict::Refuse;
      } else {
        v = Verdict::Accept;
      }
      break;
    case KEY_DASH:
      if (ScreenOpen()) {
        if (LiveOverlayOpen()) NotAvailable(true);
      } else if (!Live::OtherNetAppActive()) {
        NotAvailable();
      }
      v = Verdict::Refuse;
      break;
    case KEY_LAST:
      if (!yahoo) {
        v = common;
      } else if (dock) {
        v = Verdict::Refuse;
      } else if (Live::CurrentSourceType() == Constants::XPM_SOURCE_TYPE_EXT) {
        Live::RequestTVResources();
        v = Verdict::Refuse;
      }
      break;
    case KEY_TV: case KEY_RESERVED_90: case KEY_RESERVED_91: case KEY_RESERVED_92:
      if (!yahoo) {
        v = common;
      } else if (dock) {
        v = Verdict::Refuse;
      } else {
        Live::RequestTVResources();
      }
      break;
    case KEY_GUIDE:
      if (MediaScreenOpen() || dock || (!yahoo && flashOrDock)) {
        v = Verdict::Refuse;
      } else if (!yahoo && Live::OnTuner() && Live::CurrentChannelDigital()) {
        v = Verdict::Accept;
      } else {
        NotAvailable(ScreenOpen());
        v = Verdict::Refuse;
      }
      break;
    case KEY_AUDIO: case KEY_CC:
      if (yahoo ? (dock || Live::CurrentSourceType() == Constants::XPM_SOURCE_TYPE_EXT) : flashOrDock) {
        v = Verdict::Refuse;
      } else if (code == KEY_CC && !Live::IsTunerType(Live::CurrentSourceType()) &&
                 kv::CompString(Live::ResolutionText(), kv::LoadString(CAPTION_RESOLUTION)) != 0) {
        NotAvailable();
        v = Verdict::Refuse;
      }
      break;
    case KEY_PICTURE_SIZE:
      v = yahoo ? Verdict::Refuse : Verdict::AcceptThenMediaCheck;
      break;
    case KEY_INFO:
      v = yahoo ? (dock ? Verdict::Accept : Verdict::Refuse) : common;
      break;
    case KEY_INPUT:
      // The widget engine as the refreshed table has it: Input ends a widget
      // application that started since the last refresh.
      Live::RefreshActiveAppStatus();
      if (!Live::IsYahoo()) {
        v = common;
      } else if (Live::IsDockWidget()) {
        v = Verdict::Refuse;
      } else {
        Live::TerminateYahooApp();
        v = Verdict::Accept;
      }
      break;
    case KEY_FREEZE:
      if (!yahoo) {
        v = common;
      } else {
        if (!dock) NotAvailable(true);
        v = Verdict::Refuse;
      }
      break;
    case KEY_3D: {
      const int32_t series = Live::SeriesType();
      if (series != 2 && series != 3) {
        v = Verdict::Refuse;
      } else if (!yahoo) {
        if (AnyOpen({WIN_ID_PhotoMultiView, WIN_ID_MovieListView, WIN_ID_MusicListView, WIN_ID_MusicPlayer,
                     WIN_ID_MusicPlayerDMR})) {
          NotAvailable();
          v = Verdict::Refuse;
        } else {
          v = Verdict::Accept;
        }
      } else if (dock) {
        v = Live::Is3DDisplay() ? Verdict::Accept : Verdict::Refuse;
      } else {
        Live::RefreshActiveAppStatus();
        Structures::ActiveAppStatus* app = Live::NetApp();
        if (app && (app->Flags & 2)) {
          NotAvailable();
          v = Verdict::Refuse;
        } else {
          if (Live::CurrentSourceType() != Constants::XPM_SOURCE_TYPE_EXT) Live::TerminateYahooApp();
          v = Verdict::Accept;
        }
      }
      break;
    }
    case KEY_APP: case KEY_VIDEO_APP: case KEY_WIDGETS: {
      if (dock) return false;
      bool unavailable = false;
      Structures::ActiveAppStatus* app = Live::NetApp();
      if (Live::IsFlashlite() && app &&
          kv::StringFind(kv::GetStringLower(app->Name), kv::LoadString(CHECKED_APP_NAME), 0) >= 0) {
        kv::Trace("%s%i", {kv::LoadString(T_APP_FLAGS), app->Flags});
        if ((app->Flags & 3) == 1)
          unavailable = true;
        else if (app->Flags & 4)
          return false;
      }
      if (RecorderBusy()) {
        NotAvailable(true);
        v = Verdict::Refuse;
      } else if (unavailable) {
        NotAvailable();
        v = Verdict::Refuse;
      }
      break;
    }
    default:
      v = common;
      break;
  }
  if (v == Verdict::Refuse) return false;
  if (v == Verdict::Accept) return true;
  return MediaCheck(code);
}

// --- The key table -------------------------------------------------------------------

bool NonMenuSystem::DoKey(Core::KeyEvent* key) {
  ::Wrapper::Wrapper* w = Live::Base();
  const uint16_t code = key->Code;
  switch (code) {
    case KEY_0: case KEY_1: case KEY_2: case KEY_3: case KEY_4: case KEY_5: case KEY_6: case KEY_7: case KEY_8: case KEY_9: case KEY_CH_UP: case KEY_CH_DOWN:
      // Only a tuner source has a tuner state to read.
      if (Live::IsTunerType(Live::CurrentSourceType()) &&
          CurrentLiveTVState() == Constants::XPM_TV_STATE_RECORDING_LIVE_TV) {
        NotAvailableWhileRecording();
      } else {
        ClearAll();
        if (Primitives::KeyRoutingForm* entry = Open(KV_LATE_CLASS("NonMenuSystem::ChannelEntry")))
          entry->DispatchEvent(key);
      }
      return true;
    case KEY_RED:
      ClearAll();
      switch (CurrentLiveTVState()) {
        case Constants::XPM_TV_STATE_LIVE_TV:
          if (Live::IsUSBDiskMounted())
            ShowConfirmDialog(Constants::ConfirmTypeStartTimeshift, Constants::MSG_FROM_NONMENUSYSTEM);
          else
            ShowMessage(Constants::DirectMsgTypeRecordNoUSBDisk);
          break;
        case Constants::XPM_TV_STATE_PAUSE_LIVE_TV:
          ShowConfirmDialog(Constants::ConfirmTypeStopTimeshift, Constants::MSG_FROM_NONMENUSYSTEM);
          break;
        default:
          NotAvailable();
          break;
      }
      return true;
    case KEY_BLUE: case KEY_YELLOW: case KEY_PREV: case KEY_NEXT: case KEY_PLAY: case KEY_PAUSE: case KEY_REWIND: case KEY_FORWARD:
      Live::TimeshiftKeyProc(TimeshiftCommand(code));
      // The status opens over live TV, never under the menu or the quick
      // menu, which live TV's screens would stand behind.
      if (CurrentLiveTVState() == Constants::XPM_TV_STATE_PAUSE_LIVE_TV && code != KEY_BLUE && code != KEY_YELLOW &&
          !WindowOpen(WIN_ID_TimeshiftStatusDialog) && !MenuOpen() && !MenuShown())
        Open(KV_LATE_CLASS("Record::TimeshiftStatusDialog"));
      return true;
    case KEY_PIP_AUDIO:
      if (w->IsPipEnabled()) {
        kv::Trace("%s%i", {kv::LoadString(T_PIP), static_cast<int32_t>(code)});
        w->SetPipAudio(w->GetPipAudio() ? 0 : 1);
      }
      return true;
    case KEY_PIP_SWAP:
      if (w->IsPipEnabled()) {
        kv::Trace("%s%i", {kv::LoadString(T_PIP), static_cast<int32_t>(code)});
        w->SwapSource();
      }
      return true;
    case KEY_PICTURE_MODE:
      ClearAll();
      OpenWithValue(KV_LATE_CLASS("NonMenuSystem::OptionDialogWithCaption"), OPTION_TYPE_PICTURE_MODE);
      return true;
    case KEY_VOL_UP: case KEY_VOL_DOWN: case KEY_MUTE: {
      ClearAll();
      const bool amplifier =
          Live::EnableKELVO() == 1 && Live::AmplifierControl() == 1 && Live::QuickCecAudioStatus();
      const kv::Class* cls =
          code == KEY_MUTE ? (amplifier ? KV_LATE_CLASS("NonMenuSystem::AmplifierMuteBar")
                                  : KV_LATE_CLASS("NonMenuSystem::CommonMuteBar"))
                     : (amplifier ? KV_LATE_CLASS("NonMenuSystem::AmplifierVolumeBar")
                                  : KV_LATE_CLASS("NonMenuSystem::CommonVolumeBar"));
      if (Primitives::KeyRoutingForm* bar = Open(cls)) bar->DispatchEvent(key);
      return true;
    }
    case KEY_QUICK:
      HandleQuickConditions();
      return true;
    case KEY_RECORD:
      ClearAll();
      if (Live::CurrentTunerId() < 2 && CurrentLiveTVState() == Constants::XPM_TV_STATE_LIVE_TV)
        OpenWithValue(KV_LATE_CLASS("Record::RecordOptionsDialog"), 1);
      else
        NotAvailable();
      return true;
    case KEY_STOP:
      ClearAll();
      switch (CurrentLiveTVState()) {
        case Constants::XPM_TV_STATE_PAUSE_LIVE_TV:
          ShowConfirmDialog(Constants::ConfirmTypeStopTimeshift, Constants::MSG_FROM_NONMENUSYSTEM);
          break;
        case Constants::XPM_TV_STATE_RECORDING_LIVE_TV:
          ShowConfirmDialog(Constants::ConfirmTypeStopRecord, Constants::MSG_FROM_NONMENUSYSTEM);
          break;
        default:
          NotAvailable();
          break;
      }
      return true;
    case KEY_LAST:
      if (CurrentLiveTVState() == Constants::XPM_TV_STATE_RECORDING_LIVE_TV) {
        NotAvailableWhileRecording();
      } else {
        ClearAll();
        EventAgent()->InsertEvent(kv::New<Events::USER_EVENT_LAST_CHANNEL>());
        EventAgent()->ProcessEvents();
      }
      return true;
    case KEY_TV:
      Live::SetAutoInputTV(w->GetSourceId(Live::CurrentSourceType() == Constants::XPM_SOURCE_TYPE_RF_TUNER ? 1 : 0));
      ClearAll();
      w->SetSource(0, Live::AutoInputTV());
      return true;
    case KEY_GUIDE:
      ClearAll();
      if (auto* epg = kv::Cast<WidgetClass>(Open(KV_LATE_CLASS("Channels::FullEPGDialog")))) epg->IsShortcut = false;
      return true;
    case KEY_PIP:
      if (w->IsPipEnabled()) {
        const int32_t state = (w->GetPIPState() + 1) % 3;
        kv::Trace("%s%i", {kv::LoadString(T_PIP), state});
        w->SetPIP(state);
      } else {
        NotAvailable();
      }
      return true;
    case KEY_AUDIO:
      if (Live::OnTuner()) {
        ClearAll();
        OpenWithValue(KV_LATE_CLASS("NonMenuSystem::OptionDialogWithCaption"), OPTION_TYPE_MTS_KEY);
      } else if (!Live::IsCecDeviceConnected(Live::CurrentSource())) {
        NotAvailable();
      }
      return true;
    case KEY_CC:
      ClearAll();
      OpenWithValue(KV_LATE_CLASS("NonMenuSystem::OptionDialogWithCaption"), OPTION_TYPE_CLOSED_CAPTION_STATE);
      return true;
    case KEY_PICTURE_SIZE:
      if (Live::Is3DPictureLocked()) {
        NotAvailable();
      } else {
        ClearAll();
        OpenWithValue(KV_LATE_CLASS("NonMenuSystem::OptionDialogWithCaption"), OPTION_TYPE_PICTURE_SIZE);
      }
      return true;
    case KEY_INFO:
      ClearAll();
      if (Live::OnTuner() && Live::CurrentChannelDigital()) {
        Open(KV_LATE_CLASS("Channels::MiniGuideDialog"));
      } else {
        Primitives::KeyRoutingForm* banner = Manager()->FindForm(WIN_ID_InfoBanner);
        if (!banner) banner = Open(KV_LATE_CLASS("NonMenuSystem::InfoBanner"));
        if (banner) banner->DispatchEvent(key);
      }
      return true;
    case KEY_INPUT:
      ClearAll();
      Open(KV_LATE_CLASS("NonMenuSystem::ExternalInputDialog"));
      return true;
    case KEY_MARK_CHANNEL:
      MarkChannel();
      ShowInfoBar(true, -1);
      return true;
    case KEY_FREEZE: {
      const bool frozen = w->OnGetIsFrozen() != 0;
      if (!frozen) ClearAll();
      w->OnSetIsFrozen(frozen ? 0 : 1);
      return true;
    }
    case KEY_OUTPUT_MODE:
      Live::SwitchOutputMode();
      return true;
    case KEY_3D:
      Handle3DEvent(key);
      return true;
    case KEY_PANEL_LOCKED:
      ClearAll();
      ShowMessage(Constants::DirectMsgTypePanelLock);
      return true;
    case KEY_SLEEP:
      ClearAll();
      Open(KV_LATE_CLASS("NonMenuSystem::SleepTimerDialog"));
      return true;
    case KEY_BROWSE:
      if (Live::CBListsNum() > 0) {
        ClearAll();
        Open(KV_LATE_CLASS("NonMenuSystem::ChBrowserDialog"));
      } else {
        NotAvailable();
      }
      return true;
    case KEY_FAV:
    case KEY_FAV_ALT: {
      const int32_t list = Live::IsTunerType(Live::CurrentSourceType()) ? 3 : 0;
      if (Live::CurrentCBList() != list) Live::SetCurrentCBList(list);
      ClearAll();
      Open(KV_LATE_CLASS("NonMenuSystem::ChBrowserDialog"));
      return true;
    }
    case KEY_APP:
      ClearAll();
      NotAvailable();
      return true;
    case KEY_VIDEO_APP:
      ClearAll();
      Live::LaunchFlashApp(9, false);
      return true;
    case KEY_WIDGETS: {
      ClearAll();
      Live::RefreshActiveAppStatus();
      Structures::ActiveAppStatus* app = Live::NetApp();
      if (app && app->Kind == 2 && (app->Flags & 4))
        Live::TerminateYahooApp();
      else
        Live::LaunchYahooApp(0, true);
      return true;
    }
    case KEY_CLEAR:
      ClearAll();
      return true;
    default:
      return false;
  }
}

void NonMenuSystem::HandleQuickConditions() {
  ClearAll();
  // The quick menu closes itself again when it finds no context.
  Open(KV_LATE_CLASS("QuickMenu::QuickMenu"));
}

// --- Events ----------------------------------------------------------------------------

bool NonMenuSystem::HandleOtherEvent(Core::Event* event) {
  WidgetManager::WidgetManager* wm = Manager();
  // An open full-screen player takes the media service's events first (its
  // status, renderer, server and network events), as the focused screen.
  for (uint32_t id : kFullScreenPlayers)
    if (Primitives::KeyRoutingForm* player = wm->FindForm(id)) {
      if (player->DispatchEvent(event)) return true;
      break;
    }
  if (auto* status = kv::Cast<Events::StatusEvent>(event)) {
    kv::Trace("%s%i %i %i %i %i", {kv::LoadString(T_STATUS_EVENT), static_cast<int32_t>(status->Code),
                                    status->SubCode0, status->SubCode1, status->SubCode2, status->SubCode3});
    auto* msg = kv::New<Structures::Message>();
    msg->Initialize(Constants::MSG_MM_STATUS_INFO, status, status->Code);
    kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Dispatch(msg);
    return true;
  }
  if (auto* dmr = kv::Cast<Events::DMRStatusEvent>(event)) {
    kv::Trace("%s%i", {kv::LoadString(T_DMR_EVENT), static_cast<int32_t>(dmr->Kind)});
    switch (dmr->Kind) {
      case 10: Open(KV_LATE_CLASS("MediaPlayer::PhotoSingleViewDMR")); break;
      case 11: Open(KV_LATE_CLASS("MediaPlayer::MovieFullScreenPlayDMR")); break;
      case 7: Open(KV_LATE_CLASS("MediaPlayer::MusicFullScreenPlayDMR")); break;
      default: break;
    }
    return true;
  }
  if (auto* cec = kv::Cast<Events::CEC_EVENT_SOURCE_DETECTED>(event)) {
    if (MediaScreenOpen()) return true;
    ClearAll();
    if (Live::NetApp()) Live::RequestTVResources();
    Live::SetHdmiCecAddr(cec->Source, cec->Address);
    Live::Base()->SetSource(0, cec->Source);
    return true;
  }
  if (auto* fan = kv::Cast<Events::XPM_EVENT_FAN_ERROR>(event)) {
    kv::Trace("%s%i %i", {kv::LoadString(T_FAN_ERROR), static_cast<int32_t>(fan->Shutdown),
                          static_cast<int32_t>(fan->Warning)});
    if (fan->Shutdown == 1) {
      auto* standby = kv::New<Events::XPM_EVENT_STANDBY>();
      standby->Reason = 7;
      if (Core::Root* root = GetRoot()) root->DispatchEvent(standby);
    } else if (fan->Warning == 1) {
      ShowMessage(Constants::DirectMsgTypeCoolingFanStopped);
    }
    return true;
  }
  if (kv::Cast<Events::XPM_EVENT_USB_OVERCURRENT>(event)) {
    ClearAll();
    ShowMessage(Constants::DirectMsgTypeUSBOverCurrent);
    return true;
  }
  if (kv::Cast<Media::MetadataReadyEvent>(event)) {
    for (uint32_t id : {WIN_ID_PhotoMultiView, WIN_ID_MovieListView, WIN_ID_MusicListView})
      if (Primitives::KeyRoutingForm* view = wm->FindForm(id)) {
        view->DispatchEvent(event);
        break;
      }
    return true;
  }
  if (kv::Cast<Media::PictureEvent>(event)) {
    // The photo view waits for its decoded pictures; without it, the photo
    // grid picking a wallpaper waits for the answer to its copy.
    for (uint32_t id : {WIN_ID_PhotoSingleView, WIN_ID_PhotoMultiView})
      if (Primitives::KeyRoutingForm* view = wm->FindForm(id)) {
        view->DispatchEvent(event);
        break;
      }
    return true;
  }
  if (auto* record = kv::Cast<Events::PVRRecordStatusEvent>(event)) {
    HandleRecordStatus(record->Status);
    return true;
  }
  if (auto* standby = kv::Cast<Events::TimerStandbyEvent>(event)) {
    ClearAll();
    Live::Base()->OnSetActiveTimerId(standby->TimerId);
    Live::CancelOnTimer(true);
    timerStandbyTimer_.OnSetEnabled(true);
    ShowConfirmDialog(Constants::ConfirmTypeTimerStandby, Constants::MSG_FROM_NONMENUSYSTEM);
    return true;
  }
  if (auto* warning = kv::Cast<Events::TimerRecordWarningEvent>(event)) {
    ClearAll();
    Live::Base()->OnSetActiveTimerId(warning->TimerId);
    // A set in standby opens no question (nothing shows on the dark
    // screen), and nobody is there to answer it: the timer records at once,
    // as the unanswered question would.
    if (InStandby())
      ConfirmMultiOptionDialog::RecordActiveTimer();
    else
      ShowConfirmDialog(Constants::ConfirmTypeTimerRecordWarning, Constants::MSG_FROM_NONMENUSYSTEM);
    return true;
  }
  if (kv::Cast<Events::XPM_EVENT_3D_STATUS>(event)) {
    Handle3DEvent(event);
    return true;
  }
  return false;
}

void NonMenuSystem::HandleRecordStatus(int32_t status) {
  // A pending timer-standby question is answered by the
  // recorder: closing it also stops the standby timer behind it.
  if (auto* confirm = kv::Cast<ConfirmOptionDialog>(Manager()->FindForm(WIN_ID_ConfirmMultiOptionsDialog));
      confirm && confirm->OnGetConfirmType() == Constants::ConfirmTypeTimerStandby)
    confirm->Close();
  switch (status) {
    case 2:
    case 13:
      ShowWaitingCircle(WAITING_SHOW, WAITING_KIND_RECORD_FLAG);
      clearWaitingCircleTimer_.OnSetEnabled(true);
      if (status == 13) Open(KV_LATE_CLASS("Record::TimeshiftStatusDialog"));
      break;
    case 3:
      ClearWaitingCircle();
      ShowMessage(Constants::DirectMsgTypeRecordStopped);
      break;
    case 14:
      ClearWaitingCircle();
      ShowMessage(Constants::DirectMsgTypeTimeshiftStopped);
      break;
    case 4: ClearAll(); ShowMessage(Constants::DirectMsgTypeRecordNoUSBDisk); break;
    case 5: ClearAll(); ShowMessage(Constants::DirectMsgTypeRecordDiskTooSlow); break;
    case 8: ClearAll(); ShowMessage(Constants::DirectMsgTypeRecordDiskFull); break;
    case 10: ClearAll(); ShowMessage(Constants::DirectMsgTypeRecordNotAllowed); break;
    case 11: ClearAll(); ShowMessage(Constants::DirectMsgTypeRecordSignalLost); break;
    case 12: ClearAll(); ShowMessage(Constants::DirectMsgTypeRecordFailed); break;
    default: break;
  }
}

namespace {
// The notices about the picture on screen, which the next acquisition answers
// and takes off. Any other notice (a device removed, not available, a
// recording, a timer) stays for its time.
constexpr int32_t kPictureNotices[] = {
    Constants::DirectMsgTypeSignalFailure,    Constants::DirectMsgType3DUnsupport,
    Constants::DirectMsgTypeNoSignalPowerDown, Constants::DirectMsgTypeAudioConfigWarning,
    Constants::DirectMsgTypeChannelLock,      Constants::DirectMsgTypeInputLock,
    Constants::DirectMsgTypeRatingLock,       Constants::DirectMsgTypeLowSignal,
    Constants::DirectMsgTypeCBLowSignal,
};

bool AnsweredByAcquisition(int32_t messageType) {
  return std::find(std::begin(kPictureNotices), std::end(kPictureNotices), messageType) != std::end(kPictureNotices);
}

// The parental-locks state while the locks block.
constexpr int32_t kLocksOn = 2;

// The acquisition statuses of a picture that waits for the PIN: a locked
// channel, a blocked programme, a locked input, an input's blocked content.
bool WaitsForPin(int32_t status) { return status == 4 || status == 5 || status == 20 || status == 23; }

// A screen opened from the menu or the quick menu is open: the locks
// screens among them, where the viewer changes what is blocked.
bool MenuScreenOpen() {
  for (kv::Object* item : Manager()->Snapshot()) {
    auto* screen = kv::Cast<WidgetClass>(item);
    if (screen && screen->IsOpen() && (screen->MenuTriggered || screen->OpenedFromQuickMenu())) return true;
  }
  return false;
}

// A screen of ours holds the keys other than the banner, the notices and
// the help bar.
bool DialogHoldsKeys(Core::Group* live) {
  auto* form = kv::Cast<Primitives::KeyRoutingForm>(live->OnGetFocus());
  return form && form->IsOpen() && form->WinID != WIN_ID_InfoBanner && form->WinID != WIN_ID_HelpBar &&
         !kv::Cast<DirectMessageBar>(form);
}

// The menu, the quick menu or a screen opened from either is open.
bool MenuWorkOpen() { return MenuOpen() || MenuScreenOpen(); }

}  // namespace

bool NonMenuSystem::KeysStayWithScreen(WidgetClass* widget) {
  // A full-screen media screen that opens behind a question waiting for its
  // answer (the set's update question) or a notice that holds every key
  // (the cooling fan's) leaves them the keys: the list a player goes back to
  // as its last item ends gets them once that screen closes.
  if (widget->Layer < kWidgetLayer) {
    auto* holder = kv::Cast<WidgetClass>(OnGetFocus());
    auto* notice = kv::Cast<DirectMessageBar>(holder);
    if (holder && holder != widget && holder->IsOpen() &&
        ((notice && notice->HoldsEveryKey()) || kv::Cast<ConfirmMultiOptionDialog>(holder)))
      return true;
  }
  auto* notice = kv::Cast<DirectMessageBar>(widget);
  if (!notice || notice->AnswersKeys() || !DialogHoldsKeys(this)) return false;
  auto* dialog = kv::Cast<Primitives::KeyRoutingForm>(OnGetFocus());
  // The PIN prompt of the picture on screen is no dialog the viewer opened:
  // a notice about that picture takes the keys from it, as ever (Mute on a
  // blocked picture's notice unlocks it for now).
  if (dialog->WinID == WIN_ID_PinEntry) return false;
  // Nor does a dialog whose control in focus the notice hides (a centred
  // notice over a centred dialog's buttons): OK would act on a button the
  // viewer cannot see. The notice takes the keys until it goes by itself;
  // one that stays until its cause ends (no signal) leaves them.
  if (!notice->OnTimeOut) return true;
  Core::View* control = dialog;
  while (auto* group = kv::Cast<Core::Group>(control)) {
    Core::View* next = group->OnGetFocus();
    if (!next) break;
    control = next;
  }
  return control == dialog || !control->GetAbsoluteBounds().Intersects(notice->GetAbsoluteBounds());
}

void NonMenuSystem::HandleSignalEvent(Core::Event* event) {
  auto* channel = kv::Cast<Events::XPM_EVENT_CHANNEL_ACQUIRED>(event);
  auto* source = kv::Cast<Events::XPM_EVENT_SOURCE_ACQUIRED>(event);
  if (!channel && !source) return;
  // The acquisition takes off only a notice about the picture it replaces;
  // any other notice (the device removed on the way back to TV) stays for
  // its time.
  auto closePictureNotice = [this] {
    DirectMessageBar* bar = MessageBar();
    if (bar && AnsweredByAcquisition(bar->MessageType)) bar->Close();
  };
  // Nor while the first-time setup holds the screen (the set tuned back by a
  // factory reset): live TV's banner and notices wait for live TV.
  if (Live::PictureNotOurs() || Manager()->HasWidgetInGroup(Constants::WIN_GROUP_SETUP << 24)) {
    closePictureNotice();
    return;
  }
  int32_t s = channel ? channel->Status : source->Status;
  const int32_t lock = channel ? channel->LockResult : source->LockResult;
  kv::Trace("%s%$ %i %i", {kv::LoadString(T_SIGNAL), event->KvClass(), s, lock});
  const int32_t current = Live::CurrentSource();
  if (s == Agent::CHANNEL_OK || s == Agent::SOURCE_OK) {
    closePictureNotice();
    // A lock lifted in the menu brings the picture back under the locks
    // screens; the banner (on their layer) does not take their place.
    if (!MenuScreenOpen()) ShowInfoBar(true, current);
    if (!Live::IsAudioSelectedSource(current)) {
      auto* msg = kv::New<Structures::Message>();
      msg->Initialize(Constants::MSG_SHOW_MESSAGE, nullptr, Constants::DirectMsgTypeAudioConfigWarning);
      msg->Target = &StaticClass();
      auto* cached = kv::New<Events::USER_EVENT_CACHED_MESSAGE>();
      cached->Message = msg;
      EventAgent()->InsertEvent(cached);
      EventAgent()->ProcessEvents();
    }
    if (s == Agent::CHANNEL_OK && Live::CurrentChannelDigital() && Live::IsCHLowSignal() && !MenuShown())
      ShowMessage(Constants::DirectMsgTypeLowSignal);
    return;
  }
  if (s != Agent::OPERATION_NOT_AVAILABLE) {
    if (lock == 1) {
      ShowInfoBar(false, current);
      return;
    }
    if (lock <= 0) return;
  }
  if (Live::TVAgingMode()) return;
  if (WaitsForPin(s)) {
    // A lock set in the menu takes effect there at once, but the prompt
    // does not cover the locks screens: it opens when the viewer leaves
    // them (AskAgainForPicture).
    if (!MenuWorkOpen()) AskForPin();
    return;
  }
  const int32_t type = Live::CurrentSourceType();
  if (Live::IsTunerType(type) && s == 1) {
    Structures::VirtualChannel* ch = Live::Base()->GetCurrentChannel();
    if (ch && !Live::Base()->IsDigitalChannel(ch->Major, ch->Minor)) return;
  }
  Structures::VirtualChannel* ch = channel ? channel->Channel.get() : nullptr;
  const bool numbered = ch && (ch->Major >= 0 || ch->Minor >= 0);
  // An acquisition of no channel at all is the empty channel map: a channel
  // key's "not available" (48) there, like "not in stream" (2), is told as
  // the empty map (7), whose notice the message bar reads from this event.
  if (channel && !numbered && (s == 2 || s == Agent::OPERATION_NOT_AVAILABLE))
    channel->Status = s = Agent::CHANNEL_MAP_IS_EMPTY;
  // Not under the menu: the event agent keeps the acquisition while the menu
  // is open and hands it on again when it closes; the notice shows then.
  if (MenuShown()) return;
  // Nor over a dialog that holds the keys (the input list opened in the
  // menu's place): the notice would take them from it. It shows once the
  // dialog has closed (AskAgainForPicture).
  if (source && s == Agent::SOURCE_NO_SIGNAL && DialogHoldsKeys(this)) return;
  // The channel entry whose number found nothing keeps the keys and its
  // time-out: its number stays its one more time-out beside the notice,
  // and Exit clears both.
  auto* entry = kv::Cast<Primitives::KeyRoutingForm>(OnGetFocus());
  if (entry && (!entry->IsOpen() || entry->WinID != WIN_ID_ChannelEntry)) entry = nullptr;
  ShowMessage(Constants::DirectMsgTypeSignalFailure);
  if (entry && entry->IsOpen()) OnSetFocus(entry);
  if (!channel) return;
  if (s == 2 || s == Agent::CHANNEL_MAP_IS_EMPTY) Live::DisplayNoChannel();
}

void NonMenuSystem::AskForPin() {
  Primitives::KeyRoutingForm* pin = Manager()->FindForm(WIN_ID_PinEntry);
  const kv::Class* lockPin = KV_LATE_CLASS("ParentalLocks::ChannelLockEnterPin");
  if (!lockPin || (pin && pin->KvClass() == lockPin)) return;
  auto* state = kv::New<SubSystem::State>();
  state->Class = lockPin;
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_CHANGE_STATE, state);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->DispatchTo(msg, &StaticClass());
}

// Only the right PIN ends the prompt of a locked channel or input: the keys
// whose screens clear every other screen first (Info, volume, Menu) close
// it too, so it opens again once their screens have closed, while the
// picture on screen still waits for the PIN.
// An input without a signal says so for as long as no signal comes: its
// notice comes back once whatever took it away (another notice, the Clear
// key, a screen over the picture) has gone.
// The media input with nothing of ours open is a picture nobody can leave
// (a page that chose it closed under a question the set raised): live TV's
// own source comes back.
void NonMenuSystem::AskAgainForPicture(kv::Object*) {
  if (!watchingForms_ || !NothingOpenButHelp()) return;
  if (Core::Root* root = GetRoot(); !root || root->IsInStandby()) return;
  if (SkinBin::Wrapper* skin = Live::Skin(); skin && skin->GetCurrentSource(0) == SkinBin::Wrapper::GetExtSourceId())
    skin->SetLastSource();
  Live::RefreshActiveAppStatus();
  Core::Event* event = EventAgent()->GetMainWindowAcquiredEvent();
  auto* channel = kv::Cast<Events::XPM_EVENT_CHANNEL_ACQUIRED>(event);
  auto* source = kv::Cast<Events::XPM_EVENT_SOURCE_ACQUIRED>(event);
  if (source && source->Status == Agent::SOURCE_NO_SIGNAL && source->Source == Live::CurrentSource()) {
    if (!Live::TVAgingMode()) ShowMessage(Constants::DirectMsgTypeSignalFailure);
    return;
  }
  if (channel) {
    if (!WaitsForPin(channel->Status) || channel->LockResult < 2 ||
        !Live::Base()->IsSameChannelWithCurrent(channel->Channel.get()))
      return;
  } else if (source) {
    if (!WaitsForPin(source->Status) || source->LockResult < 2 || source->Source != Live::CurrentSource()) return;
  } else {
    return;
  }
  // The right PIN lifted the locks (state 1) before the set's answer came.
  if (Live::Base()->GetParentalLocksState() != kLocksOn) return;
  if (Live::PictureNotOurs() || Live::TVAgingMode()) return;
  AskForPin();
}

void NonMenuSystem::HandleUBNEvent(Core::Event* event) {
  if (kv::Cast<Events::XPM_EVENT_UBN_UPDATE_REMIND>(event)) {
    ShowConfirmDialog(Constants::ConfirmTypeUpdateReminder, Constants::MSG_FROM_NONMENUSYSTEM);
  } else if (auto* media = kv::Cast<Events::XPM_EVENT_UBN_MEDIA_INSERTED>(event)) {
    kv::Trace("%s%s", {kv::LoadString(T_UBN_PATH), media->Path});
    kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData)
        ->PutString(KEY_UPDATE_PATH, media->Path);
    ShowConfirmDialog(Constants::ConfirmTypeStartUpdate, Constants::MSG_FROM_NONMENUSYSTEM);
  }
}

// The mark key: the Wrapper remembers what is on screen for the Last key, the
// current channel on a tuner, else the source (major -2, minor the source).
void NonMenuSystem::MarkChannel() {
  SkinBin::Wrapper* skin = Live::Skin();
  if (!skin) return;
  Structures::VirtualChannel* mark = skin->RememberedChannel.get();
  if (!mark) mark = kv::New<Structures::VirtualChannel>();
  if (Live::IsTunerType(Live::CurrentSourceType())) {
    Structures::VirtualChannel* current = skin->GetCurrentChannel();
    // A channel that could not be read (the read failed, logged) is not marked.
    if (!current || current->Major < 0) return;
    mark->Major = current->Major;
    mark->Minor = current->Minor;
  } else {
    mark->Major = -2;
    mark->Minor = Live::CurrentSource();
  }
  skin->RememberedChannel = mark;
}

void NonMenuSystem::Handle3DEvent(Core::Event* event) {
  const int32_t series = Live::SeriesType();
  if (series != 2 && series != 3) return;
  if (kv::Cast<Core::KeyEvent>(event)) {
    // The 3D key: a 3D picture goes back to 2D, else the viewer picks a mode.
    if (!Live::Is3DDisplay())
      Open(KV_LATE_CLASS("ThreeD::SelectMode_Button"));
    else if (SkinBin::Wrapper* skin = Live::Skin())
      skin->Setup3D.SwitchTo2DState(false);
    return;
  }
  auto* report = kv::Cast<Events::XPM_EVENT_3D_STATUS>(event);
  if (!report) return;
  kv::Trace("%s%i", {kv::LoadString(T_3D_EVENT), report->Format});
  if (report->Format == k3DFormatNone) return;
  const int32_t autoStart =
      kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData)->GetInteger(MainApp::KEY_THREED_AUTO_START);
  if (autoStart == 0) {
    Open(KV_LATE_CLASS("ThreeD::SelectMode_Flag"));
  } else if (report->Format == k3DFormatUnsupported) {
    auto* state = kv::New<SubSystem::State>();
    state->Class = KV_LATE_CLASS("ThreeD::Start3DWizard");
    state->PrevState = KV_LATE_CLASS("ThreeD::SelectMode_Flag");
    ChangeState(state);
  } else if (Live::Is3DDisplay()) {
    Open(KV_LATE_CLASS("ThreeD::DisplayMode"));
  } else {
    ShowMessage(Constants::DirectMsgType3DSignalDetected);
  }
}

}  // namespace NonMenuSystem
