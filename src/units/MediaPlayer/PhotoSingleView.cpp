#include "units/MediaPlayer/PhotoSingleView.h"


#include "keys/keycodes.h"
#include "platform/psl/psl.h"
#include "platform/xpm/xpm.h"
#include "platform/xpm/xpm_cec3d.h"
#include "runtime/auto_object.h"
#include "runtime/ref.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/MediaPlayerPhoto.h"
#include "strings/NonMenuSystem.h"
#include "strings/Strings.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Events/DMRStatusEvent.h"
#include "units/Events/NetworkInterfaceDownEvent.h"
#include "units/Events/XPM_EVENT_STANDBY.h"
#include "units/Events/StatusEvent.h"
#include "units/Media/DataItems.h"
#include "units/Media/MediaEvents.h"
#include "units/Media/MediaWrapper.h"
#include "units/MediaPlayer/PhotoFullViewBanner.h"
#include "units/MediaPlayer/SelectedParam.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/NonMenuSystem/OptionBinding.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(MediaPlayer::PhotoSingleView);
KV_REGISTER_CLASS(MediaPlayer::PhotoSingleViewDMR);

namespace MediaPlayer {

using namespace ::MediaPlayerPhoto;

namespace {

using namespace keys;

// Help bar masks: the renderer's keys, the viewer's keys.
constexpr uint32_t kRendererHelpMask = 263200;
constexpr uint32_t kViewerHelpMask = 263716;
// Status codes the template handles from here on.
constexpr uint16_t kTemplateStatusCodes = 28;
// The animator's states.
constexpr uint16_t ANIM_PLAYING = 1;
constexpr uint16_t ANIM_PAUSED = 2;
constexpr uint16_t ANIM_STOPPED = 7;
constexpr uint16_t ANIM_RESUMING = 11;
// The renderer's picture kind.
constexpr uint16_t DMR_PHOTO = 10;

Media::MediaWrapper* Bridge() { return kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper); }
SkinBin::Wrapper* SkinWrapper() {
  return kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper));
}

kv::String Text(const kv::MultiTextId& id) { return kv::GetVariantOfString(id); }

}  // namespace

// --- PhotoSingleView --------------------------------------------------------------------

PhotoSingleView::PhotoSingleView() {
  WinID = WinIDs::WIN_ID_PhotoSingleView;
  MediaFilter = FILTER_PHOTO;
  // The pictures behind the 3D indicators, the bars and the banner.
  for (Media::ScalableImage* image : {&imageA_, &imageB_}) {
    image->OnSetBounds({0, 0, 960, 540});
    image->OnSetVisible(false);
  }
  animator_.OnSetBounds({0, 0, 960, 540});
  animator_.OnSetImageA(&imageA_);
  animator_.OnSetImageB(&imageB_);
  AddBehind(&animator_, &mode3D_);
  AddBehind(&imageA_, &animator_);
  AddBehind(&imageB_, &animator_);
}

void PhotoSingleView::Initialize(Primitives::KeyRoutingParameter* param) {
  MediaPlayerFullScreenTemplate::Initialize(param);
  if (const int32_t r = XPM_3DTV_SetVideoStatus(1, 1, 1); r != XPM_OK) kv::LogFailedCall("XPM_3DTV_SetVideoStatus", r);
  ShowHelpBar();
  Show3DInfo(true);
  pictureShown_ = false;
  if (SkinBin::Wrapper* skin = SkinWrapper())
    kv::AttachRefObserver(kv::MakeSlot(this, &PhotoSingleView::IntervalChanged), skin->MM_IntervalTimeRef());
  Media::MediaWrapper* bridge = Bridge();
  animator_.OnSetRoot(bridge->OnGetRoot());
  animator_.OnSetInvalidText(Text(Strings::SID_UNSUPPORTED_FILE));
  auto* selected = param && !IsDMR ? kv::Cast<SelectedParam>(param->Param.get()) : nullptr;
  if (Media::MediaItem* item = selected ? bridge->GetMediaItem(selected->Index) : nullptr) {
    Media::MediaPlaylistDataSource* playlist = bridge->SetSlideshowPlaylist();
    animator_.OnSetPlaylist(playlist);
    bridge->SetPlaylistCurrent(item->Uri);
    ApplyRepeatChange();
    ApplyIntervalChange();
    auto* current = playlist ? kv::Cast<ListWidgets::DataItem>(playlist->OnGetCurrent()) : nullptr;
    if (current) animator_.OnSetCurrentUID(current->UID);
  }
  auto* banner = kv::New<PhotoFullViewBanner>();
  const kv::Rect b = banner->Bounds();
  const kv::Point at = banner->OnGetWidgetOrigin();
  banner->OnSetBounds({at.x, at.y, at.x + b.W(), at.y + b.H()});
  banner->Parent = this;
  Banner_ = banner;
  banner->Open();
}

void PhotoSingleView::Close() {
  MediaPlayerFullScreenTemplate::Close();
  if (PhotoFullViewBanner* banner = Banner_.get()) banner->Close();
  animator_.OnSetState(ANIM_STOPPED);
  IsSlideshow = false;
  if (SkinBin::Wrapper* skin = SkinWrapper()) {
    skin->OnSetIsSlideshow(0);
    kv::DetachRefObserver(kv::MakeSlot(this, &PhotoSingleView::IntervalChanged), skin->MM_IntervalTimeRef());
  }
}

void PhotoSingleView::OnSetIsSlideshow(bool on) {
  IsSlideshow = on;
  if (PhotoFullViewBanner* banner = Banner_.get()) banner->OnSetSlideshow(on);
  if (SkinBin::Wrapper* skin = SkinWrapper()) skin->OnSetIsSlideshow(on ? 1 : 0);
}

uint16_t PhotoSingleView::GetRepeatMode() {
  SkinBin::Wrapper* skin = SkinWrapper();
  if (!skin) return REPEAT_OFF;
  return skin->OnGetPhoto_Repeat() == 1 ? REPEAT_ALL : REPEAT_OFF;
}

void PhotoSingleView::ApplyRepeatChange() {
  const uint16_t mode = GetRepeatMode();
  animator_.OnSetRepeat(mode);
  if (PhotoFullViewBanner* banner = Banner_.get()) banner->OnSetRepeatMode(mode);
}

int32_t PhotoSingleView::GetIntervalSetting() {
  SkinBin::Wrapper* skin = SkinWrapper();
  return skin ? skin->OnGetMM_IntervalTime() : 0;
}

void PhotoSingleView::ApplyIntervalChange() { animator_.OnSetSpeed(GetIntervalSetting()); }

void PhotoSingleView::IntervalChanged(kv::Object* /*sender*/) {
  auto* wm = kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
  if (wm->FindForm(WinIDs::WIN_ID_PhotoSingleView) == this) ApplyIntervalChange();
}

void PhotoSingleView::ResumeSlideshow(kv::Object*) {
  if (IsSlideshow && animator_.OnGetState() == ANIM_PAUSED && IsOpen() && IsFocused()) animator_.OnSetState(ANIM_RESUMING);
}

void PhotoSingleView::SlideshowExit(kv::Object*) {
  if (IsSlideshow) HandleNewKey(KEY_BACK);
}

void PhotoSingleView::ResetRotation() { animator_.ResetOrentation(); }

void PhotoSingleView::ShowHelpBar() {
  if (IsDMR) {
    NonMenuSystem::OptionBinding::ShowHelp(this, kRendererHelpMask,
                                           {Text(SID_ROTATE), Text(SID_FEATURES), Text(SID_BACK)});
    return;
  }
  NonMenuSystem::OptionBinding::ShowHelp(this, kViewerHelpMask,
                                         {Text(SID_PREV_NEXT), Text(SID_ROTATE),
                                          Text(IsSlideshow ? SID_SINGLE_VIEW : SID_SLIDE_SHOW), Text(SID_FEATURES),
                                          Text(SID_BACK)});
}

void PhotoSingleView::UpdateHelpBar(kv::Object*) {
  if (BannerVisible() && IsOpen() && IsFocused()) ShowHelpBar();
}

void PhotoSingleView::HideHelpBar() {
  if (NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem()) s->ClearHelpBar();
}

bool PhotoSingleView::BannerVisible() const {
  PhotoFullViewBanner* banner = Banner_.get();
  return banner && banner->IsVisible();
}

void PhotoSingleView::ShowBanner(int32_t ms) {
  if (PhotoFullViewBanner* banner = Banner_.get()) banner->OnSetVisible(true);
  ShowHelpBar();
  Show3DInfo(true);
  if (PhotoFullViewBanner* banner = Banner_.get()) banner->ChangeTimeOut(ms);
}

void PhotoSingleView::HandleFocus(bool focused) {
  MediaPlayerFullScreenTemplate::HandleFocus(focused);
  if (focused) {
    kv::PostSignal(kv::MakeSlot(this, &PhotoSingleView::ResumeSlideshow));
    kv::PostSignal(kv::MakeSlot(this, &PhotoSingleView::UpdateHelpBar));
    return;
  }
  const uint16_t state = animator_.OnGetState();
  if (IsSlideshow && (state == ANIM_PLAYING || state == ANIM_RESUMING)) animator_.OnSetState(ANIM_PAUSED);
  if (BannerVisible()) ShowHelpBar();
}

void PhotoSingleView::HandleMessage(Structures::Message* msg) {
  MediaPlayerFullScreenTemplate::HandleMessage(msg);
  if (!msg) return;
  if (msg->Code == Constants::MSG_3D_STARTED) {
    if (msg->IntParam == 1) {
      if (BannerVisible()) Show3DInfo(true);
      ResetRotation();
    } else {
      Show3DInfo(false);
    }
  } else if (msg->Code == Constants::MSG_APPLY_REPEAT) {
    ApplyRepeatChange();
  }
}

void PhotoSingleView::Exit3DMode() {
  MediaPlayerFullScreenTemplate::Exit3DMode();
  if (BannerVisible()) Show3DInfo(false);
}

void PhotoSingleView::DecodeUri(const kv::String& uri) {
  auto* item = kv::New<Media::PictureDataItem>();
  item->Uri = uri;
  animator_.DecodeItem(item, animator_.CanvasA());
}

kv::Object* PhotoSingleView::HandleKey(Core::KeyEvent* key) {
  switch (key->Code) {
    case KEY_UP:
    case KEY_DOWN:
      if (!Is3DMode()) animator_.RotatePicture(key->Code == KEY_DOWN);
      return this;
    case KEY_LEFT:
    case KEY_RIGHT:
      if (IsDMR) return this;
      if (key->Code == KEY_LEFT)
        animator_.Prev();
      else
        animator_.Next();
      ShowBanner(kStepBannerTimeOut);
      return this;
    case KEY_OK: {
      if (IsDMR) return this;
      OnSetIsSlideshow(!IsSlideshow);
      if (IsSlideshow) {
        if (animator_.GetTotalItems() > 0) {
          kv::Trace("%s%i", {kv::LoadString(T_SLIDESHOW_START), static_cast<int32_t>(animator_.OnGetState())});
          if (animator_.OnGetState() == ANIM_PLAYING) animator_.OnSetState(ANIM_PAUSED);
          if (animator_.IsDecoding()) animator_.Restart();
          animator_.OnSetState(ANIM_RESUMING);
          Media::MediaWrapper* bridge = Bridge();
          SkinBin::Wrapper* skin = SkinWrapper();
          if (skin && skin->OnGetBackgroundMusicOnOff() == 1 && bridge->IsBgmSelected()) {
            if (!bridge->IsBgmPlaying()) bridge->RequestBgmPlay();
            if (PhotoFullViewBanner* banner = Banner_.get()) banner->OnSetIsBGM(bridge->IsBgmPlaying());
          }
        }
      } else {
        animator_.OnSetState(ANIM_PAUSED);
      }
      ShowBanner(kSlideshowBannerTimeOut);
      return this;
    }
    case KEY_INFO: {
      PhotoFullViewBanner* banner = Banner_.get();
      if (!banner) return this;
      banner->OnSetVisible(!banner->IsVisible());
      if (!banner->IsVisible()) {
        HideHelpBar();
        Show3DInfo(false);
        return this;
      }
      banner->ChangeTimeOut(kDisplayBannerTimeOut);
      ClearAll();
      ShowHelpBar();
      Show3DInfo(true);
      return this;
    }
    default:
      return MediaPlayerFullScreenTemplate::HandleEvent(key);
  }
}

kv::Object* PhotoSingleView::HandleStatus(Events::StatusEvent* status) {
  switch (status->Code) {
    case 1:
      if (status->SubCode3 == 1)
        animator_.ShowInvalidText();
      else if (Bridge()->IsBgmPlaying())
        Bridge()->RequestNext();
      return this;
    case 5:
      if (status->SubCode2 != 1 || status->SubCode3 != 0) break;
      if (!IsSlideshow) {
        HandleNewKey(KEY_BACK);
        return this;
      }
      // The last picture stays up for one more interval.
      kv::Trace("%s%i", {kv::LoadString(T_SLIDESHOW_END), animator_.CurrentInterval()});
      OnTimeOut = kv::MakeSlot(this, &PhotoSingleView::SlideshowExit);
      OnSetTimeOutValue(animator_.CurrentInterval());
      SetTimeout(true);
      break;
    case 27:
      if (status->SubCode3 != 1) break;
      [[fallthrough]];
    case 11:
    case 14:
      OnSetShowWaiting(0);
      ShowPictureFacts();
      if (PhotoFullViewBanner* banner = Banner_.get()) banner->RefreshBannerInfo();
      return this;
    default:
      break;
  }
  return MediaPlayerFullScreenTemplate::HandleEvent(status);
}

void PhotoSingleView::ShowPictureFacts() {
  PhotoFullViewBanner* banner = Banner_.get();
  Media::PictureDataItem* shown = animator_.OnGetCurrentItem();
  if (!banner || !shown) return;
  if (shown->PictureState == 2) {
    // No picture in the file: no resolution or date, the file's own size.
    banner->UpdateResolution(0, 0);
    banner->UpdateMetadata(nullptr);
    banner->ShowFileSize(shown->Uri);
    return;
  }
  // The file's own size at once; its metadata (the date) follows.
  banner->ShowFileSize(shown->Uri);
  if (!IsDMR) Bridge()->RequestMetadataOf(*shown);
  banner->UpdateResolution(shown->Width, shown->Height);
}

kv::Object* PhotoSingleView::HandlePicture(Media::PictureEvent* picture) {
  auto* item = kv::Cast<Media::PictureDataItem>(picture->Item.get());
  if (!item) {
    kv::Trace("%s", {kv::LoadString(T_PICTURE_WITHOUT_ITEM)});
    return this;
  }
  // The banner learns the picture's resolution and size once it is on the
  // screen (ShowPictureFacts, on the animator's report): during a show the
  // next picture arrives decoded while the one before still shows.
  PhotoFullViewBanner* banner = Banner_.get();
  pictureShown_ = true;
  animator_.HandleEvent(picture);
  OnSetShowWaiting(0);
  if (!IsDMR) return this;
  const int32_t state = item->PictureState == 1 ? 2 : item->PictureState == 3 ? 0 : 1;
  if (state != 0) {
    kv::Log("------CALLING UPDATEDMRSTATE TO " + std::to_string(state));
    updateDMRState(globalPsl, state);
  }
  if (DmrStartBar()) {
    ShowHelpBar();
    Show3DInfo(true);
    if (banner) banner->OnSetVisible(true);
    RemoveDmrStartMsg();
  }
  return this;
}

kv::Object* PhotoSingleView::HandleEvent(Core::Event* event) {
  if (LeavingRoad(event)) {
    // A pulled stick, a lost server or network, standby: the template's road
    // resets the bridge; the music goes too, as on Exit, so that the next
    // slide show starts its music again.
    const bool wasOpen = IsOpen();
    kv::Object* taken = HandleViewerEvent(event);
    if (wasOpen && !IsOpen()) {
      Media::MediaWrapper* bridge = Bridge();
      bridge->RequestBgmStop();
      bridge->BgmReset();
    }
    return taken;
  }
  return HandleViewerEvent(event);
}

bool PhotoSingleView::LeavingRoad(Core::Event* event) {
  if (auto* status = kv::Cast<Events::StatusEvent>(event)) return status->Code == 18 && status->SubCode0 == 5;
  if (auto* server = kv::Cast<Media::ServerEvent>(event)) return server->Code == 0;
  if (auto* network = kv::Cast<Media::NetworkEvent>(event)) return network->Value != 0;
  return kv::Cast<Events::NetworkInterfaceDownEvent>(event) || kv::Cast<Events::XPM_EVENT_STANDBY>(event);
}

kv::Object* PhotoSingleView::HandleViewerEvent(Core::Event* event) {
  if (auto* key = kv::Cast<Core::KeyEvent>(event)) {
    if (key->Down) return HandleKey(key);
    return MediaPlayerFullScreenTemplate::HandleEvent(event);
  }
  if (auto* status = kv::Cast<Events::StatusEvent>(event)) {
    if (status->Code < kTemplateStatusCodes) return HandleStatus(status);
    return MediaPlayerFullScreenTemplate::HandleEvent(event);
  }
  if (auto* picture = kv::Cast<Media::PictureEvent>(event)) return HandlePicture(picture);
  if (auto* ready = kv::Cast<Media::MetadataReadyEvent>(event)) {
    // Only the facts of the picture on the screen: the grid's requests for
    // other photos may still be answered.
    Media::PictureDataItem* shown = animator_.OnGetCurrentItem();
    if (ready->Item && pictureShown_ && shown && ready->Item->Uri == shown->Uri)
      if (PhotoFullViewBanner* banner = Banner_.get()) banner->UpdateMetadata(ready->Item.get());
    return this;
  }
  if (auto* dmr = kv::Cast<Events::DMRStatusEvent>(event); dmr && IsDMR && dmr->Kind == DMR_PHOTO) {
    if (dmr->State == 3) {
      OnSetShowWaiting(0);
      OnSetTimeOutValue(0);
      if (dmr->Uri.Length() > 0) {
        animator_.OnSetState(ANIM_PAUSED);
        animator_.Restart();
        DecodeUri(dmr->Uri);
      }
      return this;
    }
    if (dmr->State == 4 || dmr->State == 5) animator_.Restart();
  }
  return MediaPlayerFullScreenTemplate::HandleEvent(event);
}

// --- PhotoSingleViewDMR -----------------------------------------------------------------

PhotoSingleViewDMR::PhotoSingleViewDMR() {
  WinID = WinIDs::WIN_ID_PhotoSingleViewDMR;
  IsDMR = true;
  background_.OnSetVisible(false);
  background_.OnSetColor({0, 0, 0, 0});
}

void PhotoSingleViewDMR::Initialize(Primitives::KeyRoutingParameter* param) {
  PhotoSingleView::Initialize(param);
  HideHelpBar();
  if (PhotoFullViewBanner* banner = Banner()) banner->OnSetVisible(false);
  Media::DataItem* item = Bridge()->GetDmrMediaItem();
  if (!item || item->Uri.Length() == 0) {
    if (NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem()) s->ClearAll();
    // Nothing to show: the screen, on the players' layer, which the ClearAll
    // leaves open, goes by the renderer's way out once it is open.
    kv::PostSignal(kv::MakeSlot<MediaPlayerFullScreenTemplate>(this, &MediaPlayerFullScreenTemplate::ExitDMR));
    return;
  }
  animator_.OnSetState(ANIM_PAUSED);
  animator_.Restart();
  DecodeUri(item->Uri);
}

void PhotoSingleViewDMR::Close() {
  PhotoSingleView::Close();
  HideHelpBar();
  Show3DInfo(false);
}

}  // namespace MediaPlayer
