#include "units/MediaPlayer/FullPlayTemplate.h"

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/MediaPlayer.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Events/StatusEvent.h"
#include "units/Media/MediaWrapper.h"
#include "units/MediaPlayer/SelectedParam.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Structures/Message.h"
#include "units/Wrapper/Wrapper.h"

KV_REGISTER_CLASS(MediaPlayer::MovieMusicFullPlayTemplate);

namespace MediaPlayer {

namespace {

using namespace keys;

// Keys from here up belong to the template.
constexpr uint16_t kFirstTemplateKey = KEY_POWER;
// Status codes from here up belong to the template.
constexpr uint16_t STATUS_TEMPLATE = 30;

Media::MediaWrapper* Bridge() { return kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper); }

}  // namespace

MovieMusicFullPlayTemplate::MovieMusicFullPlayTemplate() {
  OnTimeOut = kv::MakeSlot(static_cast<NonMenuSystem::WidgetClass*>(this), &NonMenuSystem::WidgetClass::ExitSlot);
  seekTimer_.OnSetBegin(0);
  seekTimer_.OnSetPeriod(kSeekPeriod);
  seekTimer_.OnTrigger = kv::MakeSlot(this, &MovieMusicFullPlayTemplate::SeekDownKeyTimerSlot);
  warningTimer_.OnSetBegin(kWarningDelay);
  warningTimer_.OnSetPeriod(0);
  warningTimer_.OnTrigger = kv::MakeSlot(this, &MovieMusicFullPlayTemplate::ShowWarningMsg);
}

void MovieMusicFullPlayTemplate::Initialize(Primitives::KeyRoutingParameter* param) {
  MediaPlayerFullScreenTemplate::Initialize(param);
  if (NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem()) s->ClearHelpBar();
  kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper)->StartStandingAnimation();
  if (IsDMR) return;  // the renderer's time-out (ExitDMR) stays
  auto* selected = param ? kv::Cast<SelectedParam>(param->Param.get()) : nullptr;
  if (selected && (MediaFilter == FILTER_MUSIC || MediaFilter == FILTER_MOVIE)) {
    Media::MediaWrapper* bridge = Bridge();
    if (Media::MediaItem* item = bridge->GetMediaItem(selected->Index)) {
      bridge->RequestPlay(item, 5);
      ApplyRepeatChange();
    }
  }
  OnTimeOut = kv::MakeSlot(this, &MovieMusicFullPlayTemplate::ExitByTimeout);
  OnSetTimeOutValue(0);
}

void MovieMusicFullPlayTemplate::OpenBanner(MovieMusicFullViewBanner* banner) {
  Banner = banner;
  const kv::Rect b = banner->Bounds();
  const kv::Point o = banner->WidgetOrigin;
  banner->OnSetBounds({o.x, o.y, o.x + b.W(), o.y + b.H()});
  banner->Parent = this;
  banner->Open();
  if (IsDMR) banner->OnSetVisible(false);
}

void MovieMusicFullPlayTemplate::Close() {
  MediaPlayerFullScreenTemplate::Close();
  if (Banner) Banner->Close();
  kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper)->StopStandingAnimation();
  warningTimer_.OnSetEnabled(false);
  seekTimer_.OnSetEnabled(false);
}

void MovieMusicFullPlayTemplate::HandleMessage(Structures::Message* msg) {
  MediaPlayerFullScreenTemplate::HandleMessage(msg);
  if (!msg) return;
  if (msg->Code == Constants::MSG_3D_STARTED) {
    Show3DInfo(msg->IntParam == 1 && BannerVisible());
  } else if (msg->Code == Constants::MSG_APPLY_REPEAT) {
    ApplyRepeatChange();
  }
}

void MovieMusicFullPlayTemplate::ApplyRepeatChange() {
  const uint16_t mode = GetRepeatMode();
  Bridge()->SetRepeatMode(mode);
  if (Banner) Banner->OnSetRepeatMode(mode);
}

void MovieMusicFullPlayTemplate::KeyPressTimerSlot(kv::Object*) { firstPrevious_ = true; }

void MovieMusicFullPlayTemplate::Exit3DMode() {
  MediaPlayerFullScreenTemplate::Exit3DMode();
  if (BannerVisible()) Show3DInfo(false);
}

void MovieMusicFullPlayTemplate::WarningMsgTimeOutSlot(kv::Object*) {
  if (IsDMR) return;
  const uint16_t repeat = GetRepeatMode();
  if (repeat != REPEAT_OFF && repeat != REPEAT_ALL) return;
  RemovePlaybackWarnMsg();
  Bridge()->RequestNext();
  SetScreenTimeOut(0);
}

void MovieMusicFullPlayTemplate::ShowWarningMsg(kv::Object*) { ShowPlaybackWarnMsg(); }

void MovieMusicFullPlayTemplate::ExitByTimeout(kv::Object*) { HandleNewKey(KEY_BACK); }

void MovieMusicFullPlayTemplate::UpdateBanner() {
  MovieMusicFullViewBanner* b = Banner.get();
  if (!b) return;
  const uint32_t total = b->Info().Record.duration;
  const int32_t percent = total != 0 ? static_cast<int32_t>(static_cast<int64_t>(seekTarget_) * 100 / total) : 0;
  b->ShowSeekTarget(percent, total != 0, static_cast<uint32_t>(seekTarget_));
}

void MovieMusicFullPlayTemplate::SeekDownKeyTimerSlot(kv::Object*) {
  if (!seekArmed_) {
    seekArmed_ = true;
    return;
  }
  seekTimer_.OnSetEnabled(false);
  seekStep_ = 1;
  Bridge()->RequestSeek(seekTarget_);
  if (Banner) Banner->GetPlaybackInfo();
  seekArmed_ = false;
}

void MovieMusicFullPlayTemplate::StepSeek(int32_t direction) {
  // Every press starts the wait for the seek again.
  seekTimer_.OnSetEnabled(false);
  seekArmed_ = false;
  seekTimer_.OnSetEnabled(true);
  MovieMusicFullViewBanner* b = Banner.get();
  if (!b) return;
  const auto position = static_cast<int32_t>(b->Info().Record.elapsed);
  const int32_t target = position + direction * seekStep_;
  const bool inside = direction < 0 ? target >= 0 : target <= static_cast<int32_t>(b->Info().Record.duration);
  if (inside) {
    seekTarget_ = target;
    ++seekStep_;
    UpdateBanner();
  }
  b->ChangeTimeOut(kBannerStepTime);
  b->OnSetVisible(true);
}

kv::Object* MovieMusicFullPlayTemplate::HandlePlaybackKey(Core::KeyEvent* key) {
  Media::MediaWrapper* bridge = Bridge();
  MovieMusicFullViewBanner* b = Banner.get();
  if (!b) return nullptr;
  switch (key->Code) {
    case KEY_OK:
    case KEY_PLAY:
      if (b->NavStatus == NAV_PAUSED || b->NavStatus == NAV_FORWARD || b->NavStatus == NAV_REWIND) {
        bridge->RequestResume();
        b->OnSetNavStatus(NAV_PLAYING);
        b->HidePlayRate();
        b->OnSetVisible(true);
      }
      b->ChangeTimeOut(kBannerPlayTime);
      return this;
    case KEY_LEFT:
    case KEY_RIGHT:
      if (b->NavStatus != NAV_PAUSED) return nullptr;
      StepSeek(key->Code == KEY_LEFT ? -1 : 1);
      return this;
    case KEY_PREV:
      if (IsDMR) return this;
      if (b->RepeatMode == REPEAT_ONE) {
        bridge->RequestRestart();
      } else {
        if (firstPrevious_) {
          firstPrevious_ = false;
          bridge->RequestRestart();
        } else if (bridge->GetPlaylistCurUID() == 0 && b->RepeatMode != REPEAT_ALL) {
          bridge->RequestRestart();
        } else {
          bridge->RequestPrevious();
          b->OnSetNavStatus(NAV_PREVIOUS);
        }
        keyPressTimer_.OnSetEnabled(false);
        keyPressTimer_.OnSetEnabled(true);
      }
      b->ChangeTimeOut(kBannerStepTime);
      b->HidePlayRate();
      b->OnSetVisible(true);
      SetScreenTimeOut(0);
      return this;
    case KEY_NEXT:
      if (IsDMR) return this;
      bridge->RequestNext();
      b->OnSetNavStatus(NAV_NEXT);
      b->ChangeTimeOut(kBannerStepTime);
      b->HidePlayRate();
      b->OnSetVisible(true);
      SetScreenTimeOut(0);
      return this;
    case KEY_PAUSE:
      b->OnSetVisible(true);
      b->HidePlayRate();
      bridge->RequestPause();
      b->ChangeTimeOut(kBannerStepTime);
      return this;
    case KEY_STOP:
      return HandleBack(key);
    case KEY_REWIND:
    case KEY_FORWARD:
      if (key->Code == KEY_REWIND)
        bridge->RequestRewind();
      else
        bridge->RequestFastForward();
      b->ChangeTimeOut(0);
      b->OnSetVisible(true);
      return this;
    case KEY_INFO:
      if (b->OnGetTimeOutValue() == 0) return this;
      b->OnSetVisible(!b->IsVisible());
      if (b->IsVisible()) {
        b->ChangeTimeOut(kBannerDisplayTime);
        ClearAll();
      }
      return this;
    default:
      return nullptr;
  }
}

bool MovieMusicFullPlayTemplate::HandleStatus(uint16_t code, Events::StatusEvent* status) {
  MovieMusicFullViewBanner* b = Banner.get();
  switch (code) {
    case 1:
      kv::Trace("%s%i %i %i %i", {kv::LoadString(T_PLAYER_STATUS), status->SubCode0, status->SubCode1,
                                   status->SubCode2, status->SubCode3});
      warningTimer_.OnSetEnabled(true);
      if (b) b->RefreshBannerInfo();
      return true;
    case 2:
    case 3:
    case 9:
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 29:
      OnSetShowWaiting(0);
      if (b) {
        if (code == 2)
          b->GetPlaybackInfo();
        else
          b->RefreshBannerInfo();
      }
      if (IsDMR && startBar_) {
        if (b) b->OnSetVisible(true);
        RemoveDmrStartMsg();
      }
      if (code == 3) {
        warningTimer_.OnSetEnabled(false);
        RemovePlaybackWarnMsg();
        if (IsDMR) SetScreenTimeOut(0);
      }
      return true;
    case 4:
    case 5:
      return true;
    case 27:
      if (b && b->NavStatus == NAV_PAUSED) {
        b->GetPlaybackInfo();
      } else {
        if (b) b->RefreshBannerInfo();
        warningTimer_.OnSetEnabled(false);
        RemovePlaybackWarnMsg();
      }
      return true;
    default:
      return false;
  }
}

kv::Object* MovieMusicFullPlayTemplate::HandleEvent(Core::Event* event) {
  if (auto* key = kv::Cast<Core::KeyEvent>(event)) {
    if (key->Down && key->Code < kFirstTemplateKey)
      if (kv::Object* taken = HandlePlaybackKey(key)) return taken;
    return MediaPlayerFullScreenTemplate::HandleEvent(event);
  }
  if (auto* status = kv::Cast<Events::StatusEvent>(event))
    if (status->Code < STATUS_TEMPLATE && HandleStatus(status->Code, status)) return this;
  return MediaPlayerFullScreenTemplate::HandleEvent(event);
}

}  // namespace MediaPlayer
