#include "units/MediaPlayer/PlayerTemplate.h"

#include "keys/keycodes.h"
#include "platform/xpm/xpm.h"
#include "platform/xpm/xpm_cec3d.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/MediaPlayer.h"
#include "strings/Strings.h"
#include "units/Agent/MessageAgent.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Constants/MessageTypes.h"
#include "units/Core/Event.h"
#include "units/Events/DMRStatusEvent.h"
#include "units/Events/NetworkInterfaceDownEvent.h"
#include "units/Events/NetworkInterfaceUpEvent.h"
#include "units/Events/StatusEvent.h"
#include "units/Events/XPM_EVENT_STANDBY.h"
#include "units/Fonts/Fonts.h"
#include "units/Media/MediaEvents.h"
#include "units/Media/MediaWrapper.h"
#include "units/MediaPlayer/SelectedParam.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/SubSystem/State.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(MediaPlayer::MediaPlayerFullScreenTemplate);

namespace MediaPlayer {

namespace {

using namespace keys;

// Where the unsupported-file and renderer start bars stand.
constexpr kv::Rect kBarBounds{230, 390, 790, 452};
// The status report of a pulled stick.
constexpr uint16_t STATUS_DEVICE = 18;
constexpr int32_t DEVICE_REMOVED = 5;

Media::MediaWrapper* Bridge() { return kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper); }
::Wrapper::Wrapper* Base() { return kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper); }

void InitIndicator(SkinBin::Button& b, kv::Rect bounds, const kv::MultiTextId& text) {
  b.OnSetBounds(bounds);
  b.OnSetVisible(false);
  b.OnSetText(kv::GetVariantOfString(text));
  b.OnSetTextFont(Resources::LoadResource(Fonts::MediumFont));
  b.OnSetTextColor(Colors::BannerDescription);
  b.OnSetDefault_TextColor(Colors::BannerDescription);
  b.OnSetNonfocused_TextColor(Colors::BannerDescription);
  b.OnSetFocused_TextColor(Colors::BannerDescription);
  b.OnSetDefault_BackgroundColor({0, 0, 0, 0});
  b.OnSetNonfocused_BackgroundColor({0, 0, 0, 0});
  b.OnSetFocused_BackgroundColor({0, 0, 0, 0});
  // Wide enough for the longest caption ("Empaquetado de cuadros"), from the left edge.
  b.OnSetTextAlignH(0);
  b.OnSetTextEllipsis(true);
}

}  // namespace

MediaPlayerFullScreenTemplate::MediaPlayerFullScreenTemplate() {
  KeyRoutingForm::OnSetBounds({0, 0, 960, 540});
  WidgetOrigin = {0, 0};
  Layer = kPlayerLayer;
  background_.OnSetBounds({0, 0, 960, 540});
  background_.OnSetColor({0, 0, 0, 255});
  OnSetTimeOutValue(0);
  OnTimeOut = {};
  keyPressTimer_.OnSetBegin(kKeyPressTime);
  keyPressTimer_.OnSetPeriod(0);
  keyPressTimer_.OnTrigger = kv::MakeSlot(this, &MediaPlayerFullScreenTemplate::KeyPressTimerSlot);
  InitIndicator(mode3D_, {30, 38, 250, 58}, Strings::SID_3D_TO_2D);
  InitIndicator(format3D_, {30, 61, 250, 81}, Strings::SID_TOP_AND_BOTTOM);
  Add(&mode3D_);
  Add(&format3D_);
}

SkinBin::Wrapper* MediaPlayerFullScreenTemplate::Skin() {
  return kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper));
}

int32_t MediaPlayerFullScreenTemplate::ServiceKind() const {
  switch (MediaFilter) {
    case FILTER_MUSIC: return PSL_KIND_MUSIC;
    case FILTER_PHOTO: return PSL_KIND_PICTURE;
    case FILTER_MOVIE: return PSL_KIND_VIDEO;
    default: return 0;
  }
}

void MediaPlayerFullScreenTemplate::Initialize(Primitives::KeyRoutingParameter* param) {
  WidgetClass::Initialize(param);
  ::Wrapper::Wrapper* w = Base();
  if (SkinBin::Wrapper::GetExtSourceId() != w->GetCurrentSource(0)) w->SetSource(0, SkinBin::Wrapper::GetExtSourceId());
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Register(this);
  if (auto* selected = param ? kv::Cast<SelectedParam>(param->Param.get()) : nullptr) {
    selectedIndex_ = selected->Index;
    browserPrev_ = selected->PrevClass;
  }
  if (SkinBin::Wrapper* skin = Skin()) skin->OnSetIsInDmrPlay(IsDMR);
  OnSetTimeOutValue(0);
  if (IsDMR) {
    // At once: this screen is not open yet, so only the others close.
    if (NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem()) s->ClearAll();
    OnTimeOut = kv::MakeSlot(this, &MediaPlayerFullScreenTemplate::ExitDMR);
    ShowDmrStartMsg();
  } else {
    OnTimeOut = {};
  }
  OnSetShowWaiting(1);
}

void MediaPlayerFullScreenTemplate::Close() {
  const bool wasOpen = IsOpen();
  WidgetClass::Close();
  if (SkinBin::Wrapper* skin = Skin()) skin->OnSetIsInDmrPlay(false);
  keyPressTimer_.OnSetEnabled(false);
  if (IsDMR) RemoveDmrStartMsg();
  RemovePlaybackWarnMsg();
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->UnRegister(this);
  if (wasOpen && Is3DMode()) {
    if (SkinBin::Wrapper* skin = Skin()) skin->Clear3DLockTimer();
  }
}

void MediaPlayerFullScreenTemplate::EnterPrevState() {
  Close();
  NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
  if (!PrevState || !s) return;
  auto* ref = kv::New<SkinBin::UserRefInt>();
  ref->Value = selectedIndex_;
  // From the quick menu (and not the menu), from neither, or from the menu.
  ref->Code = TransitionCode();
  auto* state = kv::New<SubSystem::State>();
  state->Class = PrevState;
  state->Param = ref;
  if (!IsDMR && browserPrev_) state->PrevState = browserPrev_;
  s->ChangeState(state);
}

void MediaPlayerFullScreenTemplate::HandleMessage(Structures::Message* msg) {
  WidgetClass::HandleMessage(msg);
  if (!msg) return;
  if (msg->Code == Constants::MSG_MM_STATUS_INFO) {
    auto* status = kv::Cast<Events::StatusEvent>(msg->ObjParam.get());
    if (status && status->Code == 27) HandleEvent(status);
  } else if (msg->Code == Constants::MSG_EXIT_MEDIA_STATE) {
    HandleNewKey(KEY_EXIT_ALT);
  } else if (msg->Code == Constants::MSG_CLEAR_ALL) {
    // Every screen outside the menu cleared, before the quick menu or live
    // TV's screens open over the player: the unsupported-file bar would be
    // drawn under them. It hides, keeping its time and the move to the next
    // item.
    if (NonMenuSystem::DirectMessageBar* bar = warningBar_.get()) bar->OnSetVisible(false);
  }
}

void MediaPlayerFullScreenTemplate::HandleNewKey(uint16_t code) {
  auto* key = kv::New<Core::KeyEvent>();
  key->Code = code;
  key->Down = true;
  HandleEvent(key);
}

void MediaPlayerFullScreenTemplate::SetScreenTimeOut(int32_t ms) {
  OnSetTimeOutValue(ms);
  if (IsOpen()) SetTimeout(ms > 0);
}

void MediaPlayerFullScreenTemplate::KeyPressTimerSlot(kv::Object*) {}

void MediaPlayerFullScreenTemplate::WarningMsgTimeOutSlot(kv::Object*) { RemovePlaybackWarnMsg(); }

bool MediaPlayerFullScreenTemplate::Is3DMode() {
  SkinBin::Wrapper* skin = Skin();
  if (!skin) return false;
  const int32_t series = skin->OnGetSeriesType();
  if (series != 2 && series != 3) return false;
  skin->Setup3D.RefreshState();
  return skin->Setup3D.State == SkinBin::Setup3D_State_3D || skin->Setup3D.State == SkinBin::Setup3D_State_2Dto3D;
}

void MediaPlayerFullScreenTemplate::Exit3DMode() {
  if (!Is3DMode()) return;
  XPM_3DVideoStatus status{};
  const int32_t r = XPM_3DTV_GetVideoStatus(&status);
  if (r != XPM_OK) {
    kv::LogFailedCall("XPM_3DTV_GetVideoStatus", r);
    return;
  }
  if (status.mode != 2) return;
  if (const int32_t m = XPM_3DTV_SetMode(1); m != XPM_OK) kv::LogFailedCall("XPM_3DTV_SetMode", m);
  if (const int32_t o = XPM_3DTV_SetOutput(0); o != XPM_OK) kv::LogFailedCall("XPM_3DTV_SetOutput", o);
}

void MediaPlayerFullScreenTemplate::Show3DInfo(bool show) {
  SkinBin::Wrapper* skin = Skin();
  const int32_t series = skin ? skin->OnGetSeriesType() : 0;
  if (!show || (series != 2 && series != 3)) {
    mode3D_.OnSetVisible(false);
    format3D_.OnSetVisible(false);
    return;
  }
  // What the set shows now: the state kept in the wrapper is only read at
  // start and by the 3D screens, so a picture turned 3D since would show stale.
  skin->Setup3D.RefreshState();
  switch (skin->Setup3D.State) {
    case SkinBin::Setup3D_State_2Dto3D:
      mode3D_.OnSetText(kv::GetVariantOfString(Strings::SID_2D_TO_3D));
      mode3D_.OnSetVisible(true);
      break;
    case SkinBin::Setup3D_State_3Dto2D:
      mode3D_.OnSetText(kv::GetVariantOfString(Strings::SID_3D_TO_2D));
      mode3D_.OnSetVisible(true);
      break;
    case SkinBin::Setup3D_State_3D:
      mode3D_.OnSetText(kv::GetVariantOfString(Strings::SID_3D));
      mode3D_.OnSetVisible(true);
      break;
    default:
      mode3D_.OnSetText(kv::GetVariantOfString(Strings::SID_2D));
      mode3D_.OnSetVisible(false);
      break;
  }
  format3D_.OnSetVisible(mode3D_.IsVisible());
  if (!format3D_.IsVisible()) return;
  switch (skin->Setup3D.Format) {
    case SkinBin::OAM_3D_MODE_SBS: format3D_.OnSetText(kv::GetVariantOfString(Strings::SID_SIDE_BY_SIDE)); break;
    case SkinBin::OAM_3D_MODE_OU: format3D_.OnSetText(kv::GetVariantOfString(Strings::SID_TOP_AND_BOTTOM)); break;
    case SkinBin::OAM_3D_MODE_FP_720:
    case SkinBin::OAM_3D_MODE_FP_1080:
      format3D_.OnSetText(kv::GetVariantOfString(Strings::SID_FRAME_PACKING));
      break;
    default:
      format3D_.OnSetText({});
      format3D_.OnSetVisible(false);
      break;
  }
}

void MediaPlayerFullScreenTemplate::ShowPlaybackWarnMsg() {
  if (warningBar_) return;
  auto* bar = kv::New<NonMenuSystem::DirectMessageBar>();
  bar->OnSetBounds(kBarBounds);
  bar->OnSetMessageInfo(kv::GetVariantOfString(Strings::SID_UNSUPPORTED_FILE));
  bar->Parent = this;
  bar->OnSetTimeOutValue(kWarningTime);
  bar->OnTimeOut = kv::MakeSlot(this, &MediaPlayerFullScreenTemplate::WarningMsgTimeOutSlot);
  // Under a screen opened over the player since (the quick menu) the bar
  // would be drawn beneath it: it keeps its time, and what its time-out
  // does (the next item), but shows nothing.
  if (!HoldsTheKeys()) bar->OnSetVisible(false);
  warningBar_ = bar;
  bar->Open();
}

void MediaPlayerFullScreenTemplate::RemovePlaybackWarnMsg() {
  if (NonMenuSystem::DirectMessageBar* bar = warningBar_.get()) {
    warningBar_ = nullptr;
    bar->Close();
  }
}

void MediaPlayerFullScreenTemplate::ShowDmrStartMsg() {
  if (startBar_) return;
  auto* bar = kv::New<NonMenuSystem::DirectMessageBar>();
  bar->OnSetBounds(kBarBounds);
  bar->OnSetMessageInfo(kv::GetVariantOfString(Strings::SID_DLNA_DMR_STARTING));
  bar->Icon().OnSetVisible(false);
  bar->Parent = this;
  bar->OnTimeOut = {};
  startBar_ = bar;
  bar->Open();
}

void MediaPlayerFullScreenTemplate::RemoveDmrStartMsg() {
  if (NonMenuSystem::DirectMessageBar* bar = startBar_.get()) {
    startBar_ = nullptr;
    bar->Close();
  }
}

void MediaPlayerFullScreenTemplate::OnSetShowWaiting(int32_t value) {
  ShowWaiting = value;
  if (value < 0) return;
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_SHOW_WAITING_CIRCLE, nullptr, value);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)
      ->DispatchTo(msg, &NonMenuSystem::NonMenuSystem::StaticClass());
}

void MediaPlayerFullScreenTemplate::ExitDMR(kv::Object*) {
  OnSetShowWaiting(0);
  Close();
  Bridge()->Reset();
  if (NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem()) s->ClearAll();
  Base()->SetLastSource();
  kv::Trace("%s", {kv::LoadString(T_PLAYER_EXIT_DMR)});
}

void MediaPlayerFullScreenTemplate::ExitByDeviceRemoved() {
  Media::MediaWrapper* bridge = Bridge();
  bridge->RequestStop();
  bridge->RequestBrowseMedium(-1, MediaFilter);
  bridge->Reset();
  Close();
  OnSetShowWaiting(0);
  Base()->SetLastSource();
  auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent);
  auto* clear = kv::New<Structures::Message>();
  clear->Initialize(Constants::MSG_CLEAR_ALL, nullptr);
  agent->Dispatch(clear);
  auto* show = kv::New<Structures::Message>();
  show->Initialize(Constants::MSG_SHOW_MESSAGE, nullptr, Constants::DirectMsgTypeDeviceRemoved);
  agent->DispatchTo(show, &NonMenuSystem::NonMenuSystem::StaticClass());
}

// --- Keys and events --------------------------------------------------------------------

kv::Object* MediaPlayerFullScreenTemplate::HandleBack(Core::Event* /*event*/) {
  Media::MediaWrapper* bridge = Bridge();
  // The browser focuses the played item's row again (rows count from 1).
  Media::MediaItem* current = bridge->GetPlaylistCurrent();
  selectedIndex_ = current ? current->Index + 1 : -1;
  if (!bridge->IsBgmPlaying()) bridge->RequestStop();
  OnSetShowWaiting(0);
  Close();
  Exit3DMode();
  if (!IsDMR) {
    // Back and Stop alike go back to the list (the previous state), once the
    // pass is over; without one the player only closes.
    Post(PrevState ? &WidgetClass::EnterPrevStateSlot : &WidgetClass::ExitSlot);
    return this;
  }
  Base()->SetLastSource();
  bridge->Reset();
  ClearAll();
  return this;
}

kv::Object* MediaPlayerFullScreenTemplate::HandleExit(Core::Event* event) {
  Media::MediaWrapper* bridge = Bridge();
  if (bridge->IsBgmPlaying()) bridge->RequestBgmStop();
  bridge->RequestStop();
  bridge->RequestBrowseMedium(-1, MediaFilter);
  bridge->Reset();
  if (WinID == WinIDs::WIN_ID_PhotoSingleView) {
    bridge->BgmReset();
    if (SkinBin::Wrapper* skin = Skin()) skin->OnSetBackgroundMusicOnOff(0);
  }
  OnSetShowWaiting(0);
  Close();
  Base()->SetLastSource();
  return WidgetClass::HandleEvent(event);
}

kv::Object* MediaPlayerFullScreenTemplate::HandleEvent(Core::Event* event) {
  if (auto* key = kv::Cast<Core::KeyEvent>(event)) {
    if (key->Down) {
      if (key->Code == KEY_BACK) return HandleBack(event);
      if (key->Code == KEY_EXIT || key->Code == KEY_EXIT_ALT) return HandleExit(event);
    }
    return WidgetClass::HandleEvent(event);
  }
  if (auto* dmr = kv::Cast<Events::DMRStatusEvent>(event)) {
    NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
    if (!IsDMR || !s) return WidgetClass::HandleEvent(event);
    if (dmr->State == 4 || dmr->State == 5) {
      kv::Trace("%s%i %i", {kv::LoadString(T_PLAYER_DMR), static_cast<int32_t>(dmr->Kind),
                            static_cast<int32_t>(dmr->State)});
      OnSetShowWaiting(1);
      SetScreenTimeOut(kDmrStopTimeOut);
    } else if (dmr->State == 3) {
      OnSetShowWaiting(0);
      SetScreenTimeOut(0);
      if (dmr->Kind != ServiceKind()) {
        const kv::Class* next = nullptr;
        if (dmr->Kind == PSL_KIND_MUSIC) next = KV_LATE_CLASS("MediaPlayer::MusicFullScreenPlayDMR");
        if (dmr->Kind == PSL_KIND_PICTURE) next = KV_LATE_CLASS("MediaPlayer::PhotoSingleViewDMR");
        if (dmr->Kind == PSL_KIND_VIDEO) next = KV_LATE_CLASS("MediaPlayer::MovieFullScreenPlayDMR");
        if (next) {
          kv::Trace("%s%$", {kv::LoadString(T_PLAYER_DMR_SWITCH), next});
          s->Open(next);
        }
      }
    }
    return this;
  }
  Media::MediaWrapper* bridge = Bridge();
  auto* network = kv::Cast<Media::NetworkEvent>(event);
  if (kv::Cast<Events::NetworkInterfaceDownEvent>(event) || (network && network->Value != 0)) {
    if (bridge->GetCurMediumType() == Media::MEDIUM_SERVER) ExitByDeviceRemoved();
    return this;
  }
  if (kv::Cast<Events::NetworkInterfaceUpEvent>(event)) return this;
  if (auto* status = kv::Cast<Events::StatusEvent>(event)) {
    Media::MediumDevice* medium = bridge->GetCurMedium();
    if (status->Code == STATUS_DEVICE && status->SubCode0 == DEVICE_REMOVED && medium &&
        medium->Kind == Media::MEDIUM_USB && Media::UriOnRemovedDevice(medium->Uri, status->SubCode2 & 0xFFFF))
      ExitByDeviceRemoved();
    return this;
  }
  if (auto* server = kv::Cast<Media::ServerEvent>(event)) {
    Media::MediumDevice* medium = bridge->GetCurMedium();
    if (server->Code == 0 && medium && Media::UriWithin(medium->Uri, server->Text)) ExitByDeviceRemoved();
    return this;
  }
  if (kv::Cast<Events::XPM_EVENT_STANDBY>(event)) {
    bridge->RequestStop();
    bridge->RequestBrowseMedium(-1, MediaFilter);
    bridge->Reset();
    Close();
  }
  return WidgetClass::HandleEvent(event);
}

}  // namespace MediaPlayer
