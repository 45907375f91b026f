#include "units/MediaPlayer/PhotoFullViewBanner.h"

#include "runtime/auto_object.h"
#include "runtime/text.h"
#include "strings/MediaPlayerPhoto.h"
#include "units/Bitmaps/PhotoViewerBitmaps.h"
#include "units/Bitmaps/BrowserBitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Fonts/Fonts.h"
#include "units/Media/DataItems.h"
#include "units/Media/MediaItem.h"
#include "units/MediaPlayer/PhotoSingleView.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Views/Align.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(MediaPlayer::PhotoFullViewBanner);

namespace MediaPlayer {

using namespace ::MediaPlayerPhoto;

namespace {

// The light blue of the picture's date line.
constexpr kv::Color kLightBlue{140, 200, 255, 255};

SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper)); }

void InitLine(Views::Text& t, kv::Rect bounds, kv::Color colour) {
  t.OnSetBounds(bounds);
  t.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  t.OnSetColor(colour);
  t.OnSetEllipsis(true);
  t.OnSetAlignV(Views::ALIGN_CENTER);
}

// Screens over the viewer that keep its help bar when the banner hides.
constexpr uint32_t kHelpKeepers[] = {WinIDs::WIN_ID_BGM_SELECT,       WinIDs::WIN_ID_SoundMenu,
                                     WinIDs::WIN_ID_PictureMenu,      WinIDs::WIN_ID_NetworkSetupMenu,
                                     WinIDs::WIN_ID_DEVICE_INFO,      WinIDs::WIN_ID_BGM_SETUP_MENU};

}  // namespace

PhotoFullViewBanner::PhotoFullViewBanner() {
  InitLine(resolution_, {420, 5, 690, 28}, Colors::TitleTextColor);
  InitLine(metadata_, {420, 30, 690, 52}, kLightBlue);
  slideshowIcon_.OnSetAutoSize(true);
  slideshowIcon_.OnSetBounds({760, 16, 760, 16});
  slideshowIcon_.OnSetBitmap(Resources::LoadResource(MediaPlayerSlideshowGray));
  musicIcon_.OnSetAutoSize(true);
  musicIcon_.OnSetBounds({804, 16, 804, 16});
  musicIcon_.OnSetBitmap(Resources::LoadResource(BgmGrayout));
  // The icons take the top right: the file's size ends where the counter's
  // line does, right of the short counter.
  sizeRight_ = 390;
  sizeTop_ = 5;
  Add(&resolution_);
  Add(&metadata_);
  Add(&slideshowIcon_);
  Add(&musicIcon_);
}

void PhotoFullViewBanner::OnSetIsBGM(bool on) {
  IsBGM = on;
  musicIcon_.OnSetBitmap(Resources::LoadResource(on ? MediaPlayerBGM : BgmGrayout));
}

void PhotoFullViewBanner::OnSetSlideshow(bool on) {
  Slideshow = on;
  slideshowIcon_.OnSetBitmap(Resources::LoadResource(on ? MediaPlayerSlideshow : MediaPlayerSlideshowGray));
}

void PhotoFullViewBanner::OnSetRepeatMode(uint16_t mode) {
  if (mode == RepeatMode) return;
  MediaPlayerBannerTemplate::OnSetRepeatMode(mode);
  repeat_.OnSetBitmap(Resources::LoadResource(mode == 1 ? MediaPlayerRepeatDisable : MediaPlayerRepeat));
}

void PhotoFullViewBanner::UpdateResolution(int32_t width, int32_t height) {
  if (width < 1 || height < 1) {
    resolution_.OnSetString({});
    return;
  }
  kv::String text = kv::ConcatString(kv::GetVariantOfString(SID_RESOLUTION), kv::GetVariantOfString(RESOLUTION_SEPARATOR));
  text = kv::ConcatString(text, kv::NewStringInt(width, 1));
  text = kv::ConcatString(text, kv::LoadString(RESOLUTION_TIMES));
  resolution_.OnSetString(kv::ConcatString(text, kv::NewStringInt(height, 1)));
}

void PhotoFullViewBanner::UpdateMetadata(Media::MediaItem* item) {
  auto* picture = item ? kv::Cast<Media::PictureMetadata>(item->Metadata.get()) : nullptr;
  if (item) ShowFileSize(item->Uri);
  metadata_.OnSetString(picture ? picture->Date : kv::String());
}

void PhotoFullViewBanner::ShowInfo(bool show) {
  MediaPlayerBannerTemplate::ShowInfo(show);
  SkinBin::Wrapper* skin = Skin();
  if (skin && skin->OnGetIsInDmrPlay()) {
    slideshowIcon_.OnSetVisible(false);
    musicIcon_.OnSetVisible(false);
  } else {
    slideshowIcon_.OnSetVisible(true);
    const bool musicOn = skin && skin->OnGetBackgroundMusicOnOff() == 1;
    musicIcon_.OnSetBitmap(Resources::LoadResource(musicOn ? MediaPlayerBGM : BgmGrayout));
    musicIcon_.OnSetVisible(show);
  }
  metadata_.OnSetVisible(false);
  resolution_.OnSetVisible(show);
  InvalidateView();
}

void PhotoFullViewBanner::Open() {
  if (auto* viewer = kv::Cast<PhotoSingleView>(Parent.get())) OnSetRepeatMode(viewer->GetRepeatMode());
  MediaPlayerBannerTemplate::Open();
  ShowInfo(true);
}

void PhotoFullViewBanner::GetPlaybackInfo() {
  MediaPlayerBannerTemplate::GetPlaybackInfo();
  auto* viewer = kv::Cast<PhotoSingleView>(Parent.get());
  SkinBin::Wrapper* skin = Skin();
  if (!viewer || (skin && skin->OnGetIsInDmrPlay())) return;
  Media::SlideShowAnimator& animator = viewer->Animator();
  PslPlaybackInfo& r = info_.Record;
  r.kind = PSL_KIND_PICTURE;
  r.repeat = animator.OnGetRepeat();
  r.current = static_cast<uint32_t>(animator.OnGetCurrentUID() + 1);
  const int32_t total = animator.GetTotalItems();
  r.positionKnown = total != 0 ? 1 : 0;
  r.total = total != 0 ? static_cast<uint32_t>(total) : 0;
  r.navStatus = animator.OnGetState();
}

void PhotoFullViewBanner::TimeOutSlot(kv::Object* sender) {
  MediaPlayerBannerTemplate::TimeOutSlot(sender);
  auto* viewer = kv::Cast<PhotoSingleView>(Parent.get());
  if (!viewer) return;
  auto* wm = kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
  bool keep = false;
  for (uint32_t id : kHelpKeepers) keep = keep || wm->FindForm(id) != nullptr;
  if (!keep) viewer->HideHelpBar();
  viewer->Show3DInfo(false);
}

}  // namespace MediaPlayer
