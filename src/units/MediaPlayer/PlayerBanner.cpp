#include "units/MediaPlayer/PlayerBanner.h"

#include "runtime/auto_object.h"
#include "runtime/text.h"
#include "strings/MediaPlayer.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Bitmaps/BrowserBitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Fonts/Fonts.h"
#include "units/MainApp/WrapperAuto.h"
#include "units/Media/MediaWrapper.h"
#include "units/MediaPlayer/BrowserTemplate.h"
#include "units/MediaPlayer/FileSize.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Views/Align.h"

KV_REGISTER_CLASS(MediaPlayer::MediaPlayerBannerTemplate);

namespace MediaPlayer {

MediaPlayerBannerTemplate::MediaPlayerBannerTemplate() {
  KeyRoutingForm::OnSetBounds({0, 0, 960, 55});
  OnSetTimeOutValue(kBannerTimeOut);
  frame_.OnSetBitmap(Resources::LoadResource(Bitmaps::MiniGuideBackground));
  frame_.OnSetBounds({0, 0, 960, 55});
  InitText(title_, {40, 30, 390, 52}, Colors::TitleTextColor);
  InitText(counter_, {40, 5, 390, 28}, Colors::TitleTextColor);
  repeat_.OnSetAutoSize(true);
  repeat_.OnSetBounds({704, 19, 704, 19});
  repeat_.OnSetBitmap(Resources::LoadResource(MediaPlayerRepeatDisable));
  InitText(size_, {sizeRight_, sizeTop_, sizeRight_, sizeTop_ + 23}, Colors::TitleTextColor);
  size_.OnSetEllipsis(false);
  size_.OnSetAutoSize(true);
  size_.OnSetVisible(false);
  Add(&frame_);
  Add(&title_);
  Add(&counter_);
  Add(&repeat_);
  Add(&size_);
}

void MediaPlayerBannerTemplate::InitText(Views::Text& t, kv::Rect bounds, kv::Color colour) {
  t.OnSetBounds(bounds);
  t.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  t.OnSetColor(colour);
  t.OnSetEllipsis(true);
  t.OnSetAlignV(Views::ALIGN_CENTER);
}

bool MediaPlayerBannerTemplate::InDmrPlay() {
  auto* skin = kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper));
  return skin && skin->OnGetIsInDmrPlay();
}

void MediaPlayerBannerTemplate::OnSetBounds(kv::Rect bounds) {
  KeyRoutingForm::OnSetBounds(bounds);
  frame_.OnSetBounds({0, 0, bounds.W(), bounds.H()});
}

void MediaPlayerBannerTemplate::TimeOutSlot(kv::Object*) { OnSetVisible(false); }

void MediaPlayerBannerTemplate::ChangeTimeOut(int32_t ms) {
  OnSetTimeOutValue(ms);
  SetTimeout(ms > 0);
}

void MediaPlayerBannerTemplate::GetPlaybackInfo() {
  kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper)->GetPlaybackInfo(&info_);
}

void MediaPlayerBannerTemplate::RefreshBannerInfo() {
  GetPlaybackInfo();
  OnSetRepeatMode(info_.Record.repeat);
  const kv::String counter = kv::ConcatString(
      kv::ConcatString(kv::NewStringUInt(info_.Record.current, 1), kv::LoadString(COUNTER_SEPARATOR)),
      kv::NewStringUInt(info_.Record.total, 1));
  counter_.OnSetString(counter);
  title_.OnSetString(info_.Title());
  ShowInfo(true);
}

void MediaPlayerBannerTemplate::UpdateMetadata(Media::MediaItem*) {}

void MediaPlayerBannerTemplate::ShowInfo(bool show) {
  if (InDmrPlay()) {
    counter_.OnSetVisible(false);
    repeat_.OnSetVisible(false);
  } else {
    counter_.OnSetVisible(show);
    repeat_.OnSetVisible(show);
  }
  title_.OnSetVisible(show);
}

void MediaPlayerBannerTemplate::OnSetRepeatMode(uint16_t mode) { RepeatMode = mode; }

void MediaPlayerBannerTemplate::OnSetNavStatus(uint16_t status) { NavStatus = status; }

void MediaPlayerBannerTemplate::OnSetPlayRate(int32_t rate) { PlayRate = rate; }

void MediaPlayerBannerTemplate::ShowFileSize(const kv::String& uri) {
  auto* skin = kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper));
  const kv::String text = FileSizeText(skin ? skin->GetFileSize(uri) : -1);
  sizeUri_ = uri;
  if (text.Length() == 0) {
    size_.OnSetVisible(false);
    return;
  }
  size_.OnSetString(text);
  // Sized to its content, its right edge kept.
  const kv::Rect b = size_.Bounds();
  size_.OnSetBounds({sizeRight_ - b.W(), sizeTop_, sizeRight_, sizeTop_ + b.H()});
  size_.OnSetVisible(true);
}

}  // namespace MediaPlayer
