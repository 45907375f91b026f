// Media::MediaWrapper: the bridge between the GUI and the platform's media
// service. It holds what the application root and the Wrapper call:
// starting the service with normal TV operation, the DLNA switch, the
// controller access-control setting, and the first look at every event the
// root broadcasts (it takes none yet); and what the media lists read: the
// items of the folder being browsed, the background-music tracks, the
// media, servers and controllers, kept in tables that the media service
// fills (tests fill them directly).
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/auto_object.h"
#include "runtime/member.h"
#include "runtime/object.h"
#include "units/Media/MediaItem.h"

namespace Core {
class Event;
class Group;
}  // namespace Core

namespace Media {

class MediaWrapper : public kv::Object {
  KV_CLASS(Media, MediaWrapper, kv::Object)
 public:
  MediaWrapper() = default;

  // Offered every event before the root broadcasts or routes it; a non-null
  // answer ends its road. Takes none yet. Without a Root of its own it takes
  // the one the Wrapper holds.
  kv::Object* HandleEvent(Core::Event* event);

  // Starts the service once (nothing when it runs): PslInit with the three
  // flags; a failure is logged and leaves it stopped; on success keeps the
  // renderer and DLNA flags and switches DLNA (0 off, 1 on, 3 with the renderer).
  void PslInitialize(bool dlna, bool renderer, bool access);
  // The root that media events go to.
  void Initialize(Core::Group* root);
  // The media-renderer feature is off on this set: false, with a log line.
  bool IsDmrConfiged();
  // Mounted media and registered media servers.
  int32_t GetMediumCount() const { return static_cast<int32_t>(Media.size()); }
  int32_t GetRegisteredServerCount() const;
  // Switches home-network media in the service (PslMediaEnableDLNA).
  void EnableDlna(int32_t mode);
  // The controller access-control setting: kept and answered back (0 until set).
  void SetDmcAccessControl(bool on);
  bool GetDmcAccessControl() const { return dmcAccessControl_; }
  // Marks the controller list changed, so that it is read again on next use.
  void ResetDmcAccessControl();
  // The renderer's name is not kept on this set: nothing to reset.
  void ResetDmrName() {}

  // The kind of the medium being browsed: 0 USB, 2 DLNA server, 4 other,
  // 3 none (no medium is browsed until the media screens exist).
  int32_t GetCurMediumType() const { return curMediumType_; }
  // Background music of the slide show. Without a playlist nothing is
  // selected and nothing plays; each call is traced.
  void RequestBgmStop();
  void BgmReset();
  bool IsBgmSelected() const { return bgmSelected_; }
  void RequestBgmPlay();
  bool IsBgmPlaying() const { return bgmPlaying_; }
  // Places the video preview of the movie list (traced; the media service
  // has no preview yet).
  void SetVideoPreviewWindow(int32_t x, int32_t y, int32_t width, int32_t height);

  // --- The folder being browsed (item i by its absolute index) ---------------
  int32_t GetMediaItemCount() const { return static_cast<int32_t>(Items.size()); }
  // The item, or null while it is still loading (or outside the folder).
  MediaItem* GetMediaItem(int32_t i) const;
  void SelectMediaItem(int32_t i);
  // Asks for the item's metadata: 1 when a request went out (answered by a
  // posted MetadataReadyEvent), 0 for a folder, an unknown or a loading item.
  int32_t RequestMetadata(int32_t i);
  // Playback of an item (preview mode 4), its stop and the repeat mode.
  void RequestPlay(MediaItem* item, int32_t mode);
  void RequestMoviePreviewPlay(MediaItem* item, int32_t mode);
  void RequestStop();
  void SetRepeatMode(int32_t mode);
  MediaItem* GetPlayingItem() const { return playing_.get(); }
  // --- Background music -----------------------------------------------------
  int32_t GetBgmItemCount() const { return static_cast<int32_t>(BgmTracks.size()); }
  MediaItem* GetBgmItem(int32_t i) const;
  void SelectBgmItem(int32_t i);
  int32_t GetSelectedBgmItem() const { return selectedBgm_; }
  // --- Media, servers, controllers ----------------------------------------------
  void RequestMediumList();
  MediumRecord* GetMedium(int32_t i) const;
  void GetMediaServerList();
  int32_t GetMediaServerCount() const { return static_cast<int32_t>(Servers.size()); }
  MediaServerRecord* GetMediaServer(int32_t i) const;
  // Registers server i for browsing; refused (0) while 8 are registered.
  int32_t RegisterMediaServer(int32_t i);
  int32_t UnRegisterMediaServer(int32_t i);
  void RequestMediaControllorList();
  int32_t GetMediaControllorCount() const { return static_cast<int32_t>(Controllers.size()); }
  MediaControllerRecord* GetMediaControllor(int32_t i) const;

  bool IsServiceInitialized() const { return serviceInitialized_; }
  bool IsControllerListChanged() const { return controllersChanged_; }
  Core::Group* OnGetRoot() const { return Root.get(); }

  kv::Member<Core::Group> Root;
  // The tables behind the lists (a null item is one still loading).
  kv::MemberVector<MediaItem> Items;
  kv::MemberVector<MediaItem> BgmTracks;
  kv::MemberVector<MediumRecord> Media;
  kv::MemberVector<MediaServerRecord> Servers;
  kv::MemberVector<MediaControllerRecord> Controllers;

 private:
  // Hands the posted metadata answers to the root.
  void DeliverMetadata(kv::Object* sender);
  std::vector<int32_t> metadataAnswers_;
  kv::Member<MediaItem> playing_;
  int32_t selectedItem_ = -1;
  int32_t selectedBgm_ = -1;
  int32_t repeatMode_ = 0;
  bool serviceInitialized_ = false;
  bool rendererEnabled_ = true;
  bool dlnaEnabled_ = true;
  bool dmcAccessControl_ = false;
  bool controllersChanged_ = false;
  int32_t curMediumType_ = 3;
  bool bgmSelected_ = false;
  bool bgmPlaying_ = false;
};

}  // namespace Media

KV_DECLARE_AUTO_OBJECT(MainApp, MediaWrapper);
