// MediaPlayer::MediaPlayerTemplate: the common base of the four full-screen
// browse screens of the media player (photo list, photo grid, music list,
// movie list).
//
// It enters the medium through the media bridge, moves through folders,
// opens a file in the matching full-screen player, and shows the folder
// path, the file size, the sort label, the clock (refreshed every minute),
// the volume and mute overlay, the "no applicable media files" warning and
// the waiting indicator. Every way out (exit, back at the root, device
// removal, server loss) stops playback and returns the television to the
// last TV source; standby only stops playback.
//
// Keys: exit (2, 45) leaves the media player and resets the bridge; back
// (41) moves up a folder, and at the root leaves to the previous screen
// without resetting the bridge; OK opens the focused row; volume up and
// down (46, 47) step the volume while it lies within 1 .. 99; mute (84).
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/string.h"
#include "units/Core/Timer.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/Overlay/PlaybackInfo.h"
#include "units/Views/Image.h"
#include "units/Views/Text.h"

namespace ListForm {
class MediaListItem;
}
namespace Media {
class MediaWrapper;
}
namespace NonMenuSystem {
class DirectMessageBar;
}
namespace Resources {
struct BitmapId;
}
namespace SkinBin {
class Wrapper;
}

namespace SubSystem {
class State;
}

namespace MediaPlayer {

// Sort types of the browser: by name, newest first, oldest first.
inline constexpr uint16_t SORT_BY_NAME = 0;
inline constexpr uint16_t SORT_NEWEST = 2;
inline constexpr uint16_t SORT_OLDEST = 3;
// The media input source of the set.
inline constexpr int32_t kMediaSource = 22;
inline constexpr int32_t kVolumeShowMs = 2000;
inline constexpr int32_t kWarningMs = 2000;
inline constexpr int32_t kClockRefreshMs = 60000;

// The media bridge (auto object).
Media::MediaWrapper* Bridge();
// The skin Wrapper (auto object).
SkinBin::Wrapper* Settings();

class MediaPlayerTemplate : public NonMenuSystem::WidgetClass {
  KV_CLASS(MediaPlayer, MediaPlayerTemplate, NonMenuSystem::WidgetClass)
 public:
  MediaPlayerTemplate();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Close() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleMessage(Structures::Message* msg) override;
  void HandleFocus(bool focused) override;
  void EnterPrevState() override;
  void Refresh() override;

  // --- What each screen fills in -----------------------------------------------------
  virtual void LaunchFullScreenPlayer();
  // A folder row opens the folder; a file row opens its player (posted).
  virtual void DoItemActivate(kv::Object* item);
  virtual void UpdateMediaInfo() {}
  virtual void UpdateMediaList() {}
  virtual ListForm::MediaListItem* GetFocusItem() { return nullptr; }
  virtual void HideMediaInfo() {}
  virtual void ShowHelpBar() {}

  // --- Shared parts ----------------------------------------------------------------------
  void UpdateFolderInfo();
  // The size of the file at `path`; hidden when the size cannot be read.
  void ShowFileSize(const kv::String& path);
  void HideFileSize();
  void UpdateSortName();
  void OnSetSortType(uint16_t type);
  uint16_t OnGetSortType() const { return SortType; }
  // The Wrapper's MM_SortMode as a sort type (2, 3, else 0).
  uint16_t GetSortMode();
  // The sort setting changed: the service sorts by it and the open folder
  // is read again in place, so its rows come in the new order.
  void ApplySortChange();
  // Observer of the sort setting while the screen is up: the open browse
  // screen (the photo list or grid, else the movie list, else the music
  // list) applies the change.
  void SortModeChanged(kv::Object* sender = nullptr);
  void SortMediaList();
  void UpdateVolume(uint16_t key);
  void ClearVolume(kv::Object* sender = nullptr);
  void ToggleMute();
  void ShowWarningMessage();
  void RemoveWarningMessage();
  // Opens a notice of this screen with `text` at the browse screens' notice
  // place for two seconds, leaving the keys where they are (its caller keeps
  // it and sets what its time-out does). None, and null returned, while a
  // screen opened over this one since holds the keys (the quick menu, a
  // dialog, the volume bar): the notice, a part of this screen, would be
  // drawn under it, as a notice that comes late.
  NonMenuSystem::DirectMessageBar* OpenNotice(const kv::String& text);
  // Every screen outside the menu cleared (MSG_CLEAR_ALL, which comes before
  // the quick menu and live TV's screens open over this one): this screen's
  // own notices go too, else they would be drawn under what opens.
  virtual void ClearNotices();
  void WarningMessageTimeOutSlot(kv::Object* sender = nullptr);
  void ExitByDeviceRemoved();
  void OnSetShowWaiting(int32_t value);
  int32_t OnGetShowWaiting() const { return ShowWaiting; }
  void UpdateHelpBar(kv::Object* sender = nullptr);
  // Shows the current date and time; runs again every minute.
  void UpdateClock(kv::Object* sender = nullptr);

  // Leaves the media player: background music, playback and the open
  // medium stopped, the photo screens' music forgotten, the screen closed
  // and the last TV source back. `reset`: the bridge is reset too (exit).
  void LeaveMediaPlayer(bool reset);
  // The photo screens' roads out: the slide show's music stopped and reset,
  // BackgroundMusicOnOff 0.
  void ForgetSlideShowMusic();

  int32_t OnGetMediumIndex() const { return MediumIndex; }
  int32_t OnGetRestorePosition() const { return RestorePosition; }
  NonMenuSystem::DirectMessageBar* WarningBar() const { return warning_.get(); }
  const kv::String& ClockText() const { return clock_.OnGetString(); }
  const kv::String& PathText() const { return path_.OnGetString(); }
  const kv::String& SortText() const { return sort_.OnGetString(); }
  const kv::String& FileSizeString() const { return fileSize_.OnGetString(); }
  bool IsFileSizeShown() const { return fileSize_.IsVisible(); }
  const kv::String& VolumeText() const { return volume_.OnGetString(); }
  bool IsVolumeShown() const { return volume_.IsVisible(); }
  const kv::String& PositionText() const { return position_.OnGetString(); }

  uint16_t SortType = SORT_BY_NAME;
  uint16_t MediaFilter = 0;
  int32_t ShowWaiting = -1;
  int32_t MediumIndex = 0;
  int32_t RestorePosition = -1;

 protected:
  // The state that swaps the photo list and the photo grid (`cls`): this
  // screen's medium and the Wrapper's media return class in a
  // SelectedParam, this screen's previous and next classes.
  SubSystem::State* PhotoBrowseSwapState(const kv::Class* cls);
  // The launched player's state change (posted by DoItemActivate).
  void LaunchSlot(kv::Object* /*sender*/ = nullptr) { LaunchFullScreenPlayer(); }
  // Opens `cls` on the owning sub-system with `param`, this screen's class
  // as the previous state.
  void ChangeStateTo(const kv::Class* cls, kv::Object* param, const kv::Class* prev, const kv::Class* next = nullptr);
  // Stops, unmounts and (with `reset`) resets the bridge.
  void StopMedia(bool reset);
  bool IsPhotoScreen() const;
  void SetTitleIcon(const Resources::BitmapId& id);
  void SetBackground(const Resources::BitmapId& id);

  Views::Image background_;
  Views::Image titleIcon_;
  Views::Image folderIcon_;
  Views::Text sort_;
  Views::Text path_;
  Views::Text position_;
  Overlay::PlaybackInfo playback_;
  Views::Image clockFrame_;
  Views::Text clock_;
  Views::Text volume_;
  Core::Timer volumeTimer_;
  Views::Text fileSize_;
  Core::Timer clockTimer_;

 private:
  kv::Member<NonMenuSystem::DirectMessageBar> warning_;
};

}  // namespace MediaPlayer
