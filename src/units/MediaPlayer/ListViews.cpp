#include "units/MediaPlayer/ListViews.h"

#include <string>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/path_text.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/MediaBrowser.h"
#include "strings/Strings.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Bitmaps/BrowserBitmaps.h"
#include "units/Bitmaps/MediaBitmaps.h"
#include "units/Bitmaps/PlayerBitmaps.h"
#include "units/Constants/ConfirmTypes.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Events/StatusEvent.h"
#include "units/Fonts/Fonts.h"
#include "units/Media/DataItems.h"
#include "units/Media/MediaWrapper.h"
#include "units/MediaPlayer/SelectedParam.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/SubSystem/State.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(MediaPlayer::MediaListViewTemplate);
KV_REGISTER_CLASS(MediaPlayer::PhotoListView);
KV_REGISTER_CLASS(MediaPlayer::MusicListView);
KV_REGISTER_CLASS(MediaPlayer::MovieListView);

namespace MediaPlayer {

namespace {

using namespace keys;

// The companion file of a movie has this extension.
constexpr const char* kCompanionExtension = "srt";
// The panel on the right of the list.
constexpr kv::Rect kPreviewFrame{560, 100, 880, 280};
// The preview's border, 2 pixels round it.
constexpr kv::Rect kPreviewBorder{kPreviewFrame.x1 - 2, kPreviewFrame.y1 - 2, kPreviewFrame.x2 + 2, kPreviewFrame.y2 + 2};
constexpr kv::Color kTextColour{240, 240, 240, 255};
constexpr kv::Color kLineColour{110, 130, 160, 255};

kv::String Text(const kv::MultiTextId& id) { return kv::GetVariantOfString(id); }
kv::String Text(const kv::TextId& id) { return kv::LoadString(id); }
kv::String Cat(std::initializer_list<kv::String> parts) {
  kv::String out;
  for (const kv::String& p : parts) out = kv::ConcatString(out, p);
  return out;
}
kv::String Number(int64_t n) { return kv::String::FromUtf8(std::to_string(n)); }

void Show(Core::View& v, bool on) { v.OnSetVisible(on); }

kv::String Resolution(const Media::PictureMetadata* m) {
  return Cat({Text(Strings::SID_RESOLUTION), Text(MediaBrowser::RESOLUTION_SEPARATOR), Number(m->Width),
              Text(MediaBrowser::RESOLUTION_TIMES), Number(m->Height)});
}

}  // namespace

kv::String MovieCompanionPath(const kv::String& path) {
  // The name's own bytes, which need not be UTF-8, so that the companion of
  // a movie of any name is the file beside it.
  const std::string p = kv::PathToBytes(path);
  const size_t slash = p.rfind('/');
  const size_t dot = p.rfind('.');
  // Only a dot inside the file's own name starts an extension.
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return kv::PathFromBytes(p.substr(0, dot + 1) + kCompanionExtension);
}

// --- The list template ------------------------------------------------------------------------------

MediaListViewTemplate::MediaListViewTemplate() {
  grey_.OnSetColor({40, 40, 44, 255});
  grey_.OnSetVisible(false);
  preview_.OnSetBitmap(Resources::LoadResource(MediaPlayer::MediaPlayerMusicMain));
  preview_.OnSetAlignH(1);
  preview_.OnSetAlignV(1);
  infoFrame_.OnSetBitmap(Resources::LoadResource(Bitmaps::MediaPopBg));
  infoFrame_.OnSetVisible(false);
  Resources::Font* medium = Resources::LoadResource(Fonts::MediumFont);
  for (Views::Text* t : {&title_, &elapsed_, &total_, &artist_, &label_, &rate_}) {
    t->OnSetFont(medium);
    t->OnSetColor(kTextColour);
    t->OnSetEllipsis(true);
  }
  elapsed_.OnSetString(Text(MediaBrowser::EMPTY_TIME));
  total_.OnSetString(Text(MediaBrowser::EMPTY_TIME));
  total_.OnSetAlignH(2);
  rate_.OnSetVisible(false);
  list_.OnUpdateContentInfo = kv::MakeSlot(this, &MediaListViewTemplate::ContentInfoSlot);
  list_.OnUpdateMediaInfo = kv::MakeSlot(this, &MediaListViewTemplate::MediaInfoSlot);
  list_.OnItemActivate = kv::MakeSlot(this, &MediaListViewTemplate::ActivateSlot);
  progress_.OnSetValue(50);
  list_.OnSetBounds({40, 100, 500, 436});
  warningDelay_.OnSetBegin(kPreviewWarningDelayMs);
  warningDelay_.OnSetPeriod(0);
  warningDelay_.OnSetEnabled(false);
  warningDelay_.OnTrigger = kv::MakeSlot(this, &MediaListViewTemplate::ShowWarningMsg);
  for (Views::Frame* f : {&videoBorder1_, &videoBorder2_, &videoBorder3_}) {
    f->OnSetBitmap(Resources::LoadResource(Bitmaps::EPG_VideoBorder));
    f->OnSetOpacity(255);
  }
  for (Views::Line* l : {&line1_, &line2_, &line3_, &line4_}) l->OnSetColor(kLineColour);
  playState_.OnSetBitmap(Resources::LoadResource(Bitmaps::MediaPlay));
  repeat_.OnSetBitmap(Resources::LoadResource(MediaPlayer::MediaPlayerRepeatDisable));
  repeat_.OnSetVisible(false);
  keyPressTimer_.OnSetBegin(kKeyPressMs);
  keyPressTimer_.OnSetPeriod(0);
  keyPressTimer_.OnSetEnabled(false);
  keyPressTimer_.OnTrigger = kv::MakeSlot(this, &MediaListViewTemplate::KeyPressTimerSlot);
  seekTimer_.OnSetBegin(0);
  seekTimer_.OnSetPeriod(kSeekTickMs);
  seekTimer_.OnSetEnabled(false);
  seekTimer_.OnTrigger = kv::MakeSlot(this, &MediaListViewTemplate::SeekDownKeyTimerSlot);
  const Resources::BitmapId* icons[5] = {&Bitmaps::HelpBarQuick, &Bitmaps::HelpBarReturn, &Bitmaps::MediaHelpChUp,
                                         &Bitmaps::MediaHelpChDown, &Bitmaps::HelpBarExit};
  const kv::String texts[5] = {Text(Strings::SID_DLNA_FEATURE), Text(Strings::SID_BACK),
                               kv::ConcatString(Text(Strings::SID_PAGE), Text(MediaBrowser::PAGE_UP_SUFFIX)),
                               kv::ConcatString(Text(Strings::SID_PAGE), Text(MediaBrowser::PAGE_DOWN_SUFFIX)),
                               Text(Strings::SID_EXIT)};
  for (int i = 0; i < 5; ++i) {
    helpIcons_[i].OnSetBitmap(Resources::LoadResource(*icons[i]));
    helpIcons_[i].OnSetAutoSize(true);
    helpTexts_[i].OnSetFont(medium);
    helpTexts_[i].OnSetColor(kTextColour);
    helpTexts_[i].OnSetString(texts[i]);
  }
  for (Core::View* v : std::initializer_list<Core::View*>{&grey_, &preview_, &infoFrame_, &title_, &elapsed_, &total_,
                                                         &artist_, &list_, &progress_, &videoBorder1_, &videoBorder2_,
                                                         &line1_, &line2_, &label_, &videoBorder3_, &playState_,
                                                         &line3_, &repeat_})
    Add(v);
  for (int i = 0; i < 5; ++i) {
    Add(&helpIcons_[i]);
    Add(&helpTexts_[i]);
  }
  Add(&line4_);
  Add(&rate_);
}

void MediaListViewTemplate::Refresh() {
  MediaPlayerTemplate::Refresh();
  list_.OnSetBounds({40, 100, 500, 436});
  grey_.OnSetBounds(kPreviewFrame);
  preview_.OnSetBounds(kPreviewFrame);
  videoBorder1_.OnSetBounds(kPreviewBorder);
  infoFrame_.OnSetBounds({540, 290, 900, 436});
  title_.OnSetBounds({556, 296, 890, 320});
  artist_.OnSetBounds({556, 322, 890, 346});
  progress_.OnSetBounds({556, 396, 820, 408});
  elapsed_.OnSetBounds({556, 410, 680, 432});
  total_.OnSetBounds({700, 410, 820, 432});
  playState_.OnSetBounds({830, 376, 890, 436});
  // The repeat icon and the fast-forward rate ("x32" at most) share the
  // column over the play-state icon, right of the album and resolution
  // lines, which end at x 826.
  repeat_.OnSetBounds({830, 344, 860, 368});
  rate_.OnSetBounds({860, 344, 896, 368});
  line1_.OnSetPoints({40, 94}, {912, 94});
  // The file's size stands in the band between this line and the
  // backdrop's footer rule (y 460), clear of both.
  line4_.OnSetPoints({40, 438}, {912, 438});
  fileSize_.OnSetBounds({560, 436, 912, 462});
  int32_t x = 60;
  for (int i = 0; i < 5; ++i) {
    helpIcons_[i].OnSetBounds(helpIcons_[i].Bounds().MoveTo({x, 500}));
    x += helpIcons_[i].Bounds().W() + 4;
    // Each caption as wide as its glyphs reach, one line high.
    Views::Text& caption = helpTexts_[i];
    const int32_t w = caption.InkWidth();
    caption.OnSetBounds({x, 502, x + w, 502 + caption.EffectiveFont()->LineHeight()});
    x += w + 24;
  }
}

void MediaListViewTemplate::Initialize(Primitives::KeyRoutingParameter* param) {
  MediaPlayerTemplate::Initialize(param);
  ShowHelpBar();
  list_.Filter = static_cast<int16_t>(MediaFilter);
  OnSetFocus(&list_);
  UpdateMediaList();
  if (Settings()->OnGetIsInDmrPlay() == 0) OnSetRepeatMode(GetRepeatMode());
}

void MediaListViewTemplate::Close() {
  warningDelay_.OnSetEnabled(false);
  keyPressTimer_.OnSetEnabled(false);
  seekTimer_.OnSetEnabled(false);
  RemovePreviewWarnMsg();
  list_.Close();
  MediaPlayerTemplate::Close();
}

void MediaListViewTemplate::UpdateMediaList() {
  if (!Bridge()->IsBrowseDataReady()) {
    list_.OnSetVisible(false);
    HideMediaInfo();
    return;
  }
  auto* param = kv::New<Primitives::KeyRoutingParameter>();
  param->Owner = this;
  list_.Initialize(param);
  if (RestorePosition > 0) {
    list_.OnSetCurrentItemIndex(RestorePosition);
    RestorePosition = -1;
  }
  list_.OnSetVisible(true);
  OnSetFocus(&list_);
  OnSetShowWaiting(0);
  // A folder left without files (its last one deleted) shows none of that
  // file's facts, as a folder entered empty does.
  if (list_.GetItemsNum() < 1) HideMediaInfo();
}

ListForm::MediaListItem* MediaListViewTemplate::GetFocusItem() {
  return kv::Cast<ListForm::MediaListItem>(list_.GetFocusedRow());
}

void MediaListViewTemplate::ShowHelpBar() {
  // This screen shows its own help strip.
  if (NonMenuSystem::NonMenuSystem* owner = OnGetNonMenuSystem()) owner->ClearHelpBar();
}

void MediaListViewTemplate::UpdateMediaInfo() {
  auto* row = kv::Cast<ListForm::MediaContentListItem>(GetFocusItem());
  if (row && !row->IsFolder && row->DataItem) ShowFileSize(row->DataItem->Uri);
}

void MediaListViewTemplate::HideMediaInfo() {
  for (Core::View* v : std::initializer_list<Core::View*>{&position_, &title_, &artist_, &elapsed_, &total_,
                                                         &progress_, &playState_, &repeat_, &infoFrame_})
    v->OnSetVisible(false);
  HideFileSize();
}

void MediaListViewTemplate::UpdateContentInfo() {
  auto* row = kv::Cast<ListForm::MediaContentListItem>(GetFocusItem());
  if (!row) return;
  RemovePreviewWarnMsg();
  if (row->IsFolder) {
    HideMediaInfo();
    ShowHelpBar();
    return;
  }
  const kv::String caption = row->DataItem ? row->DataItem->Caption : kv::String();
  title_.OnSetString(Cat({Text(Strings::SID_DLNA_CONTENT_TITLE), Text(Strings::SID_PSIP_TITLE_COMMA), caption}));
  title_.OnSetVisible(true);
  position_.OnSetString(
      Cat({Number(row->ItemIndex + 1), Text(MediaBrowser::LEVEL_MARKER), Number(list_.GetItemsNum())}));
  position_.OnSetVisible(true);
  ShowHelpBar();
}

kv::Object* MediaListViewTemplate::HandleEvent(Core::Event* event) {
  Media::MediaWrapper* bridge = Bridge();
  if (auto* key = kv::Cast<Core::KeyEvent>(event); key && key->Down && key->Code >= KEY_LEFT && key->Code <= KEY_FORWARD) {
    switch (key->Code) {
      case KEY_LEFT:
      case KEY_RIGHT:
        if (NavStatus != PREVIEW_PAUSE) break;
        Seek(key->Code == KEY_LEFT ? -1 : 1);
        return this;
      case KEY_PREV:
        rate_.OnSetVisible(false);
        if (IsDMR) return this;
        if (RepeatMode == PREVIEW_REPEAT_ONE) {
          bridge->RequestRestart();
        } else if (keyPress_) {
          keyPress_ = false;
          bridge->RequestRestart();
          keyPressTimer_.Activate();
        } else {
          if (bridge->GetPlaylistCurUID() == 0 && RepeatMode != PREVIEW_REPEAT_ALL) {
            bridge->RequestRestart();
          } else {
            bridge->RequestPrevious();
            OnSetNavStatus(PREVIEW_PREVIOUS);
          }
          keyPressTimer_.Activate();
        }
        return this;
      case KEY_NEXT:
        rate_.OnSetVisible(false);
        bridge->RequestNext();
        OnSetNavStatus(PREVIEW_NEXT);
        return this;
      case KEY_PLAY:
        if (NavStatus == PREVIEW_PAUSE) {
          bridge->RequestResume();
          OnSetNavStatus(PREVIEW_PLAY);
        } else if (NavStatus == PREVIEW_FORWARD || NavStatus == PREVIEW_REWIND) {
          bridge->RequestResume();
          OnSetNavStatus(PREVIEW_PLAY);
          rate_.OnSetVisible(false);
        } else if (NavStatus == PREVIEW_STOP) {
          // The focused row's preview: a song plays as the content list
          // plays it, a movie in the preview window; a photo list has no
          // preview to start.
          auto* row = kv::Cast<ListForm::MediaContentListItem>(GetFocusItem());
          if (row && !row->IsFolder && row->DataItem) {
            if (MediaFilter == Media::MEDIA_TYPE_MUSIC) {
              bridge->RequestPlay(row->DataItem.get(), kPreviewPlayMode);
              OnSetNavStatus(PREVIEW_PLAY);
            } else if (MediaFilter == Media::MEDIA_TYPE_VIDEO) {
              bridge->RequestMoviePreviewPlay(row->DataItem.get(), kPreviewPlayMode);
              OnSetNavStatus(PREVIEW_PLAY);
            }
          }
        }
        return this;
      case KEY_PAUSE:
        rate_.OnSetVisible(false);
        bridge->RequestPause();
        OnSetNavStatus(PREVIEW_PAUSE);
        return this;
      case KEY_STOP:
        rate_.OnSetVisible(false);
        bridge->RequestStop();
        OnSetNavStatus(PREVIEW_STOP);
        progress_.OnSetValue(0);
        elapsed_.OnSetString(Text(MediaBrowser::EMPTY_TIME));
        return this;
      case KEY_REWIND:
        bridge->RequestRewind();
        OnSetNavStatus(PREVIEW_REWIND);
        return this;
      case KEY_FORWARD:
        bridge->RequestFastForward();
        OnSetNavStatus(PREVIEW_FORWARD);
        return this;
      default:
        break;
    }
    return MediaPlayerTemplate::HandleEvent(event);
  }
  auto* status = kv::Cast<Events::StatusEvent>(event);
  if (!status || status->Code >= 30) return MediaPlayerTemplate::HandleEvent(event);
  switch (status->Code) {
    case 1:
      kv::Trace("%s%i %i %i %i", {kv::LoadString(MediaBrowser::T_STATUS), status->SubCode0, status->SubCode1,
                                  status->SubCode2, status->SubCode3});
      warningDelay_.Activate();
      RefreshBannerInfo();
      break;
    case 2:
      OnSetShowWaiting(0);
      GetPlaybackInfo();
      break;
    case 3:
      OnSetShowWaiting(0);
      RefreshBannerInfo();
      warningDelay_.OnSetEnabled(false);
      break;
    case 9:
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 29:
      OnSetShowWaiting(0);
      RefreshBannerInfo();
      break;
    case 27:
      if (list_.IsPreviewStarted) {
        GetPlaybackInfo();
        auto* row = kv::Cast<ListForm::MediaContentListItem>(GetFocusItem());
        if (row && row->DataItem && row->DataItem->Caption == playback_.Title()) {
          const PslPlaybackInfo& r = playback_.Record;
          progress_.OnSetValue(static_cast<int32_t>(playback_.GetProgress()));
          elapsed_.OnSetString(playback_.FormatTime(r.elapsed > r.duration ? 0 : r.elapsed));
          total_.OnSetString(playback_.FormatTime(r.duration));
        } else {
          kv::Trace("%s", {kv::LoadString(MediaBrowser::T_PROGRESS_OTHER)});
        }
        warningDelay_.OnSetEnabled(false);
        RemovePreviewWarnMsg();
      }
      if (NavStatus == PREVIEW_PAUSE) {
        GetPlaybackInfo();
      } else {
        RefreshBannerInfo();
        warningDelay_.OnSetEnabled(false);
      }
      break;
    case 4:
    case 5:
      break;
    default:
      // Other kinds (a device plugged or removed) are the template's.
      return MediaPlayerTemplate::HandleEvent(event);
  }
  return this;
}

void MediaListViewTemplate::Seek(int32_t direction) {
  seekTimer_.Activate();
  GetPlaybackInfo();
  const int64_t position = playback_.Record.elapsed;
  const int64_t target = position + direction * seekStep_;
  if (target < 0 || target > playback_.Record.duration) return;
  seekTarget_ = static_cast<int32_t>(target);
  ++seekStep_;
  UpdateBanner();
}

void MediaListViewTemplate::SeekDownKeyTimerSlot(kv::Object* /*sender*/) {
  if (!seekTick_) {
    seekTick_ = true;
    return;
  }
  seekTimer_.OnSetEnabled(false);
  seekStep_ = 1;
  Bridge()->RequestSeek(seekTarget_);
  GetPlaybackInfo();
  seekTick_ = false;
}

void MediaListViewTemplate::KeyPressTimerSlot(kv::Object* /*sender*/) { keyPress_ = true; }

void MediaListViewTemplate::GetPlaybackInfo() { Bridge()->GetPlaybackInfo(&playback_); }

void MediaListViewTemplate::UpdateBanner() {
  const uint32_t duration = playback_.Record.duration;
  if (duration != 0) progress_.OnSetValue(static_cast<int32_t>(static_cast<int64_t>(seekTarget_) * 100 / duration));
  elapsed_.OnSetString(playback_.FormatTime(static_cast<uint32_t>(seekTarget_)));
}

void MediaListViewTemplate::UpdateTime() {
  const PslPlaybackInfo& r = playback_.Record;
  progress_.OnSetValue(static_cast<int32_t>(playback_.GetProgress()));
  elapsed_.OnSetString(playback_.FormatTime(r.elapsed > r.duration ? 0 : r.elapsed));
  total_.OnSetString(playback_.FormatTime(r.duration));
}

void MediaListViewTemplate::RefreshBannerInfo() {
  GetPlaybackInfo();
  OnSetRepeatMode(RepeatMode);
  ShowInfo(1);
}

void MediaListViewTemplate::ShowInfo(int32_t /*on*/) {
  if (Settings()->OnGetIsInDmrPlay() != 0) repeat_.OnSetVisible(false);
}

void MediaListViewTemplate::OnSetNavStatus(uint16_t status) {
  if (status == NavStatus) return;
  NavStatus = status;
  switch (status) {
    case PREVIEW_PLAY: playState_.OnSetBitmap(Resources::LoadResource(Bitmaps::MediaPlay)); break;
    case PREVIEW_PAUSE: playState_.OnSetBitmap(Resources::LoadResource(Bitmaps::MediaPause)); break;
    case PREVIEW_FORWARD:
    case PREVIEW_REWIND: OnSetPlayRate(playback_.Record.rate); break;
    case PREVIEW_STOP:
    case PREVIEW_STOPPED: playState_.OnSetBitmap(Resources::LoadResource(Bitmaps::MediaStop)); break;
    case PREVIEW_PREVIOUS:
    case PREVIEW_NEXT: break;
    default: playState_.OnSetBitmap(nullptr); break;
  }
  if (status == PREVIEW_PLAY || status == PREVIEW_STOP || status == PREVIEW_STOPPED) OnSetShowWaiting(0);
}

void MediaListViewTemplate::OnSetPlayRate(int32_t rate) {
  if (rate == PlayRate) return;
  PlayRate = rate;
  rate_.OnSetVisible(false);
  const int32_t speed = rate < 0 ? -rate : rate;
  if (NavStatus != PREVIEW_FORWARD && NavStatus != PREVIEW_REWIND) return;
  if (speed == 0 || speed == 1) {
    playState_.OnSetBitmap(Resources::LoadResource(Bitmaps::MediaPlay));
  } else if (speed == 2 || speed == 4 || speed == 8 || speed == 16 || speed == 32) {
    playState_.OnSetBitmap(
        Resources::LoadResource(NavStatus == PREVIEW_FORWARD ? Bitmaps::MediaForward : Bitmaps::MediaBackward));
    rate_.OnSetString(kv::ConcatString(Text(MediaBrowser::RATE_PREFIX), Number(speed)));
    rate_.OnSetVisible(true);
  }
}

void MediaListViewTemplate::ShowWarningMsg(kv::Object* /*sender*/) {
  if (previewWarning_) return;
  previewWarning_ = OpenNotice(Text(Strings::SID_UNSUPPORTED_FILE));
}

void MediaListViewTemplate::RemovePreviewWarnMsg() {
  NonMenuSystem::DirectMessageBar* bar = previewWarning_.get();
  previewWarning_ = nullptr;
  if (bar && bar->IsOpen()) bar->Close();
}

void MediaListViewTemplate::ClearNotices() {
  warningDelay_.OnSetEnabled(false);
  RemovePreviewWarnMsg();
  MediaPlayerTemplate::ClearNotices();
}

void MediaListViewTemplate::ShowPreview(const Resources::BitmapId& id) { ShowPreview(Resources::LoadResource(id)); }

void MediaListViewTemplate::ShowPreview(Resources::Bitmap* bitmap) {
  preview_.OnSetBitmap(bitmap);
  preview_.OnSetVisible(true);
}

// --- Photo list --------------------------------------------------------------------------------------------

PhotoListView::PhotoListView() {
  WinID = WinIDs::WIN_ID_PhotoMultiView;
  MediaFilter = Media::MEDIA_TYPE_PICTURE;
  SetBackground(Bitmaps::MediaPhotoBg);
  SetTitleIcon(MediaPlayer::MediaPlayerTitleIconPhoto);
  resolution_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  resolution_.OnSetColor(kTextColour);
  resolution_.OnSetBounds({556, 348, 890, 372});
  resolution_.OnSetVisible(false);
  line_.OnSetColor(kLineColour);
  Add(&line_);
  Add(&resolution_);
}

void PhotoListView::Initialize(Primitives::KeyRoutingParameter* param) {
  MediaListViewTemplate::Initialize(param);
  Bridge()->SetThumbnailSize(400, 225);
}

void PhotoListView::Close() {
  MediaListViewTemplate::Close();
  preview_.OnSetVisible(false);
  grey_.OnSetVisible(false);
}

void PhotoListView::UpdateMediaInfo() {
  MediaListViewTemplate::UpdateMediaInfo();
  artist_.OnSetVisible(false);
  auto* row = kv::Cast<ListForm::MediaContentListItem>(GetFocusItem());
  if (!row) return;
  if (row->IsFolder) {
    ShowPreview(Bitmaps::MediaPhotoFolder);
    return;
  }
  if (!row->DataItem) return;
  auto* m = kv::Cast<Media::PictureMetadata>(row->DataItem->Metadata.get());
  if (m) resolution_.OnSetString(Resolution(m));
  Show(resolution_, m != nullptr);
  if (row->DataItem->Thumb) ShowPreview(row->DataItem->Thumb.get());
}

void PhotoListView::HideMediaInfo() {
  MediaListViewTemplate::HideMediaInfo();
  resolution_.OnSetVisible(false);
}

void PhotoListView::HandleMessage(Structures::Message* msg) {
  MediaListViewTemplate::HandleMessage(msg);
  if (!msg || msg->Code != Constants::MSG_APPLY_PHOTO_BROWSE || Settings()->OnGetPhotoBrowseMode() != 0) return;
  NonMenuSystem::NonMenuSystem* owner = OnGetNonMenuSystem();
  if (!owner) return;
  SubSystem::State* state = PhotoBrowseSwapState(KV_LATE_CLASS("MediaPlayer::PhotoMultiView"));
  kv::Persistent<PhotoListView> self(this);
  auto* grid = kv::Cast<NonMenuSystem::WidgetClass>(owner->ChangeState(state));
  if (grid) {
    grid->OnSetMenuTriggered(MenuTriggered);
    grid->OnSetFromQuickMenu(OpenedFromQuickMenu());
  }
  Close();
  auto* wm = kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
  if (auto* quick = wm->FindForm(WinIDs::WIN_ID_QuickMenu); quick && quick->Owner()) quick->Owner()->OnSetFocus(quick);
}

// --- Music list ----------------------------------------------------------------------------------------------

MusicListView::MusicListView() {
  WinID = WinIDs::WIN_ID_MusicListView;
  MediaFilter = Media::MEDIA_TYPE_MUSIC;
  SetTitleIcon(MediaPlayer::MediaPlayerTitleIconMusic);
  artistIcon_.OnSetBitmap(Resources::LoadResource(Bitmaps::MediaMusicArtist));
  albumIcon_.OnSetBitmap(Resources::LoadResource(Bitmaps::MediaMusicAlbum));
  genreIcon_.OnSetBitmap(Resources::LoadResource(Bitmaps::MediaMusicGenre));
  titleIcon2_.OnSetBitmap(Resources::LoadResource(Bitmaps::MediaMusicTitle));
  titleFrame_.OnSetBitmap(Resources::LoadResource(Bitmaps::EPG_VideoBorder));
  Resources::Font* medium = Resources::LoadResource(Fonts::MediumFont);
  for (Views::Text* t : {&album_, &genre_}) {
    t->OnSetFont(medium);
    t->OnSetColor(kTextColour);
    t->OnSetEllipsis(true);
  }
  artistIcon_.OnSetBounds({556, 324, 576, 344});
  album_.OnSetBounds({580, 348, 826, 370});
  albumIcon_.OnSetBounds({556, 348, 576, 368});
  genre_.OnSetBounds({580, 372, 826, 394});
  genreIcon_.OnSetBounds({556, 372, 576, 392});
  titleIcon2_.OnSetBounds({556, 298, 576, 318});
  // On the template's border of the preview, not round it: one thin edge.
  titleFrame_.OnSetBounds(kPreviewBorder);
  for (Core::View* v : std::initializer_list<Core::View*>{&artistIcon_, &albumIcon_, &genreIcon_, &album_, &genre_,
                                                         &titleIcon2_, &titleFrame_}) {
    v->OnSetVisible(false);
    Add(v);
  }
}

void MusicListView::Refresh() {
  MediaListViewTemplate::Refresh();
  // Title and artist stand after their icons, inside the panel's frame,
  // like the album and genre lines.
  title_.OnSetBounds({580, 296, 890, 320});
  artist_.OnSetBounds({580, 322, 890, 346});
}

void MusicListView::Initialize(Primitives::KeyRoutingParameter* param) {
  MediaListViewTemplate::Initialize(param);
  Bridge()->SetThumbnailSize(320, 180);
}

uint16_t MusicListView::GetRepeatMode() {
  SkinBin::Wrapper* w = Settings();
  const int32_t setting = w ? w->OnGetMusic_Repeat() : 0;
  return setting == 1 ? PREVIEW_REPEAT_ALL : setting == 2 ? PREVIEW_REPEAT_ONE : PREVIEW_REPEAT_OFF;
}

void MusicListView::RefreshBannerInfo() {
  MediaListViewTemplate::RefreshBannerInfo();
  OnSetNavStatus(playback_.Record.navStatus);
  OnSetPlayRate(playback_.Record.rate);
  UpdateTime();
}

void MusicListView::UpdateContentInfo() {
  MediaListViewTemplate::UpdateContentInfo();
  auto* row = kv::Cast<ListForm::MediaContentListItem>(GetFocusItem());
  if (!row || row->IsFolder) return;
  for (Core::View* v : std::initializer_list<Core::View*>{&artist_, &artistIcon_, &albumIcon_, &genreIcon_, &album_,
                                                         &genre_, &titleIcon2_, &titleFrame_, &elapsed_, &total_,
                                                         &progress_, &playState_, &infoFrame_})
    v->OnSetVisible(true);
}

void MusicListView::UpdateMediaInfo() {
  MediaListViewTemplate::UpdateMediaInfo();
  auto* row = kv::Cast<ListForm::MediaContentListItem>(GetFocusItem());
  if (!row) return;
  RemovePreviewWarnMsg();
  if (row->IsFolder) {
    ShowPreview(Bitmaps::MediaMusicFolder);
    return;
  }
  const kv::String comma = Text(Strings::SID_PSIP_TITLE_COMMA);
  const kv::String artistLabel = kv::ConcatString(Text(Strings::SID_DLNA_CONTENT_ARTIST), comma);
  const kv::String albumLabel = kv::ConcatString(Text(MediaBrowser::ALBUM_LABEL), comma);
  const kv::String genreLabel = kv::ConcatString(Text(MediaBrowser::GENRE_LABEL), comma);
  if (row->DataItem) {
    auto* m = kv::Cast<Media::MusicMetadata>(row->DataItem->Metadata.get());
    artist_.OnSetString(m ? kv::ConcatString(artistLabel, m->Artist) : artistLabel);
    album_.OnSetString(m ? kv::ConcatString(albumLabel, m->Album) : albumLabel);
    genre_.OnSetString(m ? kv::ConcatString(genreLabel, m->Genre) : genreLabel);
    if (row->DataItem->Thumb)
      ShowPreview(row->DataItem->Thumb.get());
    else
      ShowPreview(MediaPlayer::MediaPlayerMusicMain);
  } else {
    artist_.OnSetString(artistLabel);
    ShowPreview(MediaPlayer::MediaPlayerMusicMain);
  }
  elapsed_.OnSetString(Text(MediaBrowser::EMPTY_TIME));
  total_.OnSetString(Text(MediaBrowser::EMPTY_TIME));
  progress_.OnSetValue(0);
  InvalidateView();
}

void MusicListView::HideMediaInfo() {
  MediaListViewTemplate::HideMediaInfo();
  for (Core::View* v : std::initializer_list<Core::View*>{&artistIcon_, &albumIcon_, &genreIcon_, &album_, &genre_,
                                                         &titleIcon2_, &titleFrame_})
    v->OnSetVisible(false);
}

// --- Movie list -------------------------------------------------------------------------------------------

MovieListView::MovieListView() {
  WinID = WinIDs::WIN_ID_MovieListView;
  MediaFilter = Media::MEDIA_TYPE_VIDEO;
  SetBackground(Bitmaps::MediaMovieBg);
  SetTitleIcon(MediaPlayer::MediaPlayerTitleIconMovie);
  helpIcons_[1].OnSetBitmap(Resources::LoadResource(Bitmaps::HelpBarRedBall));
  helpTexts_[1].OnSetString(Text(Strings::SID_DELETE));
  for (Views::Text* t : {&resolution_, &saved_}) {
    t->OnSetFont(Resources::LoadResource(Fonts::MediumFont));
    t->OnSetColor(kTextColour);
    t->OnSetVisible(false);
  }
  line_.OnSetColor(kLineColour);
  Add(&line_);
  Add(&resolution_);
  Add(&saved_);
  // The backdrop is cut open over the preview frame, under the folder
  // picture, so that the preview video plays inside the list screen.
  videoWindow_.OnSetColor({0, 0, 0, 0});
  videoWindow_.OnSetCut(true);
  videoWindow_.OnSetBounds(kPreviewFrame);
  AddBehind(&videoWindow_, &grey_);
}

kv::Rect MovieListView::PreviewFrame() const { return kPreviewFrame; }

void MovieListView::Initialize(Primitives::KeyRoutingParameter* param) {
  param_ = param ? param->Param.get() : nullptr;
  MediaListViewTemplate::Initialize(param);
  const kv::Rect f = PreviewFrame();
  Settings()->SetDisplayWindow(f.x1, f.y1, f.W(), f.H());
}

void MovieListView::Close() {
  MediaListViewTemplate::Close();
  preview_.OnSetVisible(false);
  grey_.OnSetVisible(false);
  Settings()->SetDisplayWindow(0, 0, 960, 540);
}

uint16_t MovieListView::GetRepeatMode() {
  SkinBin::Wrapper* w = Settings();
  const int32_t setting = w ? w->OnGetMovie_Repeat() : 0;
  return setting == 1 ? PREVIEW_REPEAT_ALL : setting == 2 ? PREVIEW_REPEAT_ONE : PREVIEW_REPEAT_OFF;
}

void MovieListView::RefreshBannerInfo() {
  MediaListViewTemplate::RefreshBannerInfo();
  OnSetNavStatus(playback_.Record.navStatus);
  OnSetPlayRate(playback_.Record.rate);
  UpdateTime();
}

void MovieListView::DoItemActivate(kv::Object* item) {
  auto* row = kv::Cast<ListForm::MediaListItem>(item);
  if (row && row->IsFolder && row->DataItem) savedFolder_ = row->DataItem->Uri;
  MediaListViewTemplate::DoItemActivate(item);
}

void MovieListView::UpdateMediaInfo() {
  MediaListViewTemplate::UpdateMediaInfo();
  artist_.OnSetVisible(false);
  auto* row = kv::Cast<ListForm::MediaContentListItem>(GetFocusItem());
  if (!row) return;
  if (row->IsFolder) {
    ShowPreview(Bitmaps::MediaMovieFolder);
    return;
  }
  preview_.OnSetVisible(false);
  resolution_.OnSetVisible(false);
}

void MovieListView::UpdateMediaList() {
  MediaListViewTemplate::UpdateMediaList();
  // The folder picture covers the frame, where the deleted movie's last
  // picture would otherwise stay.
  if (Bridge()->IsBrowseDataReady() && list_.GetItemsNum() < 1) ShowPreview(Bitmaps::MediaMovieFolder);
}

void MovieListView::HideMediaInfo() {
  MediaListViewTemplate::HideMediaInfo();
  resolution_.OnSetVisible(false);
}

void MovieListView::UpdateContentInfo() {
  MediaListViewTemplate::UpdateContentInfo();
  auto* row = kv::Cast<ListForm::MediaContentListItem>(GetFocusItem());
  if (!row || row->IsFolder) return;
  for (Core::View* v : std::initializer_list<Core::View*>{&elapsed_, &total_, &progress_, &playState_, &infoFrame_})
    v->OnSetVisible(true);
}

kv::Object* MovieListView::HandleEvent(Core::Event* event) {
  if (auto* key = kv::Cast<Core::KeyEvent>(event); key && key->Down && key->Code == KEY_RED) {
    auto* row = kv::Cast<ListForm::MediaContentListItem>(GetFocusItem());
    NonMenuSystem::NonMenuSystem* owner = OnGetNonMenuSystem();
    if (row && !row->IsFolder && owner) {
      // The list takes the keys and the service's answers again once the
      // question closes (the sub-system hands them to the screen under it).
      owner->ShowConfirmDialog(Constants::ConfirmTypeDeleteMovieFile, Constants::MSG_FROM_NONMENUSYSTEM);
    }
    return this;
  }
  if (auto* status = kv::Cast<Events::StatusEvent>(event); status && status->Code == 1) {
    kv::Trace("%s%i %i %i %i", {kv::LoadString(MediaBrowser::T_STATUS), status->SubCode0, status->SubCode1,
                                status->SubCode2, status->SubCode3});
    warningDelay_.Activate();
    RefreshBannerInfo();
    preview_.OnSetVisible(true);
    return this;
  }
  return MediaListViewTemplate::HandleEvent(event);
}

void MovieListView::HandleMessage(Structures::Message* msg) {
  MediaListViewTemplate::HandleMessage(msg);
  if (!msg) return;
  if (msg->Code == Constants::MSG_DELETE_ITEM && msg->IntParam == 1) {
    DeleteFocusedMovie();
  } else if (msg->Code == Constants::MSG_SET_VIDEO_PREVIEW_WINDOW) {
    const kv::Rect f = PreviewFrame();
    Bridge()->SetVideoPreviewWindow(f.x1, f.y1, f.W(), f.H());
  }
}

void MovieListView::DeleteFocusedMovie() {
  auto* row = kv::Cast<ListForm::MediaContentListItem>(GetFocusItem());
  if (!row || row->IsFolder || !row->DataItem) return;
  Media::MediaWrapper* bridge = Bridge();
  SkinBin::Wrapper* w = Settings();
  bridge->RequestStop();
  const kv::String path = row->DataItem->Uri;
  kv::Trace("%s%s", {kv::LoadString(MediaBrowser::T_DELETE), path});
  w->DeleteFile(path);
  // The companion shares the movie's name with its own extension; a movie
  // without one has nothing more to delete.
  const kv::String companion = MovieCompanionPath(path);
  if (!companion.Empty() && w->GetFileSize(companion) != -1) w->DeleteFile(companion);
  // The folder shown is read again where it is, so the user stays in it.
  bridge->ReBrowseCurrentFolder();
  UpdateFolderInfo();
  UpdateMediaList();
}

}  // namespace MediaPlayer
