// The list-style browse screens of the media player.
//
// MediaPlayer::MediaListViewTemplate: the browser template with the
// scrolling content list (ListForm::MediaContentList), the information
// panel of the focused row (title, position, preview picture, progress
// with elapsed and total time, play-state and repeat icons), its own help
// strip, and the preview playback of the focused file with transport keys:
//   6 / 7    while paused: seek back / forward by a step that grows with
//            each press (1, 2, 3 ...); the seek follows 200 ms later
//   39       previous: restart; a second press within 2000 ms goes back
//   40, 50, 51, 53, 58, 59   next, play, pause, stop, rewind, fast forward
// Play while stopped starts the focused row's preview (music and movies).
//
// MediaPlayer::PhotoListView (resolution, size, thumbnail; switches to the
// grid when the photo browse mode becomes thumbnails), MusicListView
// (artist, album, genre and cover), MovieListView (size, the preview video
// inside the screen, the red key deletes the focused movie).
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/string.h"
#include "units/Core/Timer.h"
#include "units/ListForm/MediaLists.h"
#include "units/MediaPlayer/BrowserTemplate.h"
#include "units/SkinBin/Sliders.h"
#include "units/Views/Frame.h"
#include "units/Views/Image.h"
#include "units/Views/Line.h"
#include "units/Views/Rectangle.h"
#include "units/Views/Text.h"

namespace MediaPlayer {

// Navigation states of the preview.
inline constexpr uint16_t PREVIEW_PLAY = 1;
inline constexpr uint16_t PREVIEW_PAUSE = 2;
inline constexpr uint16_t PREVIEW_FORWARD = 3;
inline constexpr uint16_t PREVIEW_REWIND = 4;
inline constexpr uint16_t PREVIEW_STOP = 7;
inline constexpr uint16_t PREVIEW_STOPPED = 8;
inline constexpr uint16_t PREVIEW_PREVIOUS = 10;
inline constexpr uint16_t PREVIEW_NEXT = 12;
// Repeat modes of the bridge.
inline constexpr uint16_t PREVIEW_REPEAT_OFF = 1;
inline constexpr uint16_t PREVIEW_REPEAT_ALL = 2;
inline constexpr uint16_t PREVIEW_REPEAT_ONE = 7;
// The preview's play mode.
inline constexpr uint16_t kPreviewPlayMode = 4;
inline constexpr int32_t kKeyPressMs = 2000;
inline constexpr int32_t kSeekTickMs = 200;
inline constexpr int32_t kPreviewWarningDelayMs = 500;

class MediaListViewTemplate : public MediaPlayerTemplate {
  KV_CLASS(MediaPlayer, MediaListViewTemplate, MediaPlayerTemplate)
 public:
  MediaListViewTemplate();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Close() override;
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void UpdateMediaInfo() override;
  void UpdateMediaList() override;
  ListForm::MediaListItem* GetFocusItem() override;
  void HideMediaInfo() override;
  void ShowHelpBar() override;

  virtual void UpdateContentInfo();
  virtual void RefreshBannerInfo();
  virtual void OnSetRepeatMode(uint16_t mode) { RepeatMode = mode; }
  virtual uint16_t GetRepeatMode() { return PREVIEW_REPEAT_OFF; }

  void UpdateBanner();
  void UpdateTime();
  void GetPlaybackInfo();
  void OnSetNavStatus(uint16_t status);
  void OnSetPlayRate(int32_t rate);
  void ShowInfo(int32_t on);
  void KeyPressTimerSlot(kv::Object* sender = nullptr);
  void SeekDownKeyTimerSlot(kv::Object* sender = nullptr);
  void ShowWarningMsg(kv::Object* sender = nullptr);
  void RemovePreviewWarnMsg();
  void ClearNotices() override;

  ListForm::MediaContentList& List() { return list_; }
  NonMenuSystem::DirectMessageBar* PreviewWarning() const { return previewWarning_.get(); }
  Resources::Bitmap* PreviewBitmap() { return preview_.OnGetBitmap(); }
  bool IsPreviewShown() const { return preview_.IsVisible(); }
  const kv::String& TitleText() const { return title_.OnGetString(); }
  const kv::String& ElapsedText() const { return elapsed_.OnGetString(); }
  const kv::String& ArtistText() const { return artist_.OnGetString(); }
  Resources::Bitmap* PlayStateIcon() { return playState_.OnGetBitmap(); }
  int32_t SeekTarget() const { return seekTarget_; }
  int32_t SeekStep() const { return seekStep_; }

  bool IsDMR = false;
  bool IsFastForwardOrBackward = false;
  uint16_t NavStatus = 0;
  uint16_t RepeatMode = 0;
  int32_t PlayRate = 0;

 protected:
  // The content list's slots.
  void ContentInfoSlot(kv::Object* /*sender*/) { UpdateContentInfo(); }
  void MediaInfoSlot(kv::Object* /*sender*/) { UpdateMediaInfo(); }
  void ActivateSlot(kv::Object* sender) { DoItemActivate(sender); }
  void Seek(int32_t delta);
  void ShowPreview(const Resources::BitmapId& id);
  void ShowPreview(Resources::Bitmap* bitmap);

  bool keyPress_ = true;
  bool seekTick_ = false;
  int32_t seekTarget_ = 0;
  int32_t seekStep_ = 1;
  kv::Member<NonMenuSystem::DirectMessageBar> previewWarning_;

  Views::Rectangle grey_;
  Views::Image preview_;
  Views::Frame infoFrame_;
  Views::Text title_;
  Views::Text elapsed_;
  Views::Text total_;
  Views::Text artist_;
  ListForm::MediaContentList list_;
  SkinBin::ProgressKXD progress_;
  Core::Timer warningDelay_;
  Views::Frame videoBorder1_;
  Views::Frame videoBorder2_;
  Views::Line line1_;
  Views::Line line2_;
  Views::Text label_;
  Views::Frame videoBorder3_;
  Views::Image playState_;
  Views::Line line3_;
  Views::Image repeat_;
  Core::Timer keyPressTimer_;
  Core::Timer seekTimer_;
  Views::Image helpIcons_[5];
  Views::Text helpTexts_[5];
  Views::Line line4_;
  Views::Text rate_;
};

class PhotoListView : public MediaListViewTemplate {
  KV_CLASS(MediaPlayer, PhotoListView, MediaListViewTemplate)
 public:
  PhotoListView();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Close() override;
  void HandleMessage(Structures::Message* msg) override;
  void UpdateMediaInfo() override;
  void HideMediaInfo() override;

  const kv::String& ResolutionText() const { return resolution_.OnGetString(); }
  bool IsResolutionShown() const { return resolution_.IsVisible(); }

 private:
  Views::Line line_;
  Views::Text resolution_;
};

class MusicListView : public MediaListViewTemplate {
  KV_CLASS(MediaPlayer, MusicListView, MediaListViewTemplate)
 public:
  MusicListView();
  void Refresh() override;
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void UpdateMediaInfo() override;
  void HideMediaInfo() override;
  void UpdateContentInfo() override;
  void RefreshBannerInfo() override;
  uint16_t GetRepeatMode() override;

  const kv::String& AlbumText() const { return album_.OnGetString(); }
  const kv::String& GenreText() const { return genre_.OnGetString(); }

 private:
  Views::Image artistIcon_;
  Views::Image albumIcon_;
  Views::Image genreIcon_;
  Views::Text album_;
  Views::Text genre_;
  Views::Image titleIcon2_;
  Views::Frame titleFrame_;
};

class MovieListView : public MediaListViewTemplate {
  KV_CLASS(MediaPlayer, MovieListView, MediaListViewTemplate)
 public:
  MovieListView();
  kv::Object* HandleEvent(Core::Event* event) override;
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Close() override;
  void HandleMessage(Structures::Message* msg) override;
  void DoItemActivate(kv::Object* item) override;
  void UpdateMediaInfo() override;
  void UpdateMediaList() override;
  void HideMediaInfo() override;
  void UpdateContentInfo() override;
  void RefreshBannerInfo() override;
  uint16_t GetRepeatMode() override;

  // The preview frame (the video plays inside it).
  kv::Rect PreviewFrame() const;
  const kv::String& SavedFolder() const { return savedFolder_; }

 private:
  void DeleteFocusedMovie();

  kv::Member<kv::Object> param_;
  kv::String savedFolder_;
  Views::Line line_;
  Views::Text resolution_;
  Views::Text saved_;
  Views::Rectangle videoWindow_;  // the preview video shows through it
};

// The companion file of a movie: the name's extension (after its last dot)
// replaced by the companion's; empty for a name without a dot.
kv::String MovieCompanionPath(const kv::String& path);

}  // namespace MediaPlayer
