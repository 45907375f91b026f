// Media::MediaWrapper: the one bridge between the GUI and the platform's
// media service (Psl*, src/platform/psl). An auto object
// (kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper)).
//
// It starts the service with normal TV operation, keeps the media sources
// (USB sticks and home-network servers), the registered servers and the
// network controllers, takes every event the root broadcasts first (the
// service's answers become GUI events: DataListUpdateEvent for a folder's
// first page, MetadataReadyEvent with the item's record, PictureEvent), and
// serves the browser, the lists and the players:
//   - browsing: RequestBrowseMedium, RequestBrowseFolder, BrowsePreviousFolder,
//     GetMediaItemCount / GetMediaItem (a fresh MediaItem record, null while
//     its page loads), IsFolderItem, SelectMediaItem, RequestMetadata;
//     the current folder (GetCurrentSource) notifies its observers when a
//     page arrives, so a list watching it reloads its rows in place;
//     ReBrowseCurrentFolder re-reads the current folder (sort change, delete);
//   - the background-music stack: RequestBgmBrowse and the Bgm* twins;
//   - playback: RequestPlay, RequestMoviePreviewPlay, the navigation
//     commands (RequestResume ... SetShufflePlayMode), SetRepeatMode,
//     GetPlaybackInfo, playlists (SetPlaylist, SetSlideshowPlaylist ...),
//     background music (SetBgmPlaylist, RequestBgmPlay, RequestBgmStop, BgmReset);
//   - pictures: the 960 x 540 decoded-picture canvas, SetBitmapOrientation,
//     CopyUserWallpaper, the wallpaper path and delete; the video window.
// Only the GUI task calls it. Outside data (an event without its item, an
// index out of range) is logged and answered with null; misuse of the
// list model by code panics.
#pragma once

#include <cstdint>

#include "runtime/auto_object.h"
#include "runtime/geometry.h"
#include "runtime/member.h"
#include "runtime/object.h"
#include "units/Media/DataSources.h"
#include "units/Media/MediaItem.h"

namespace Core {
class Event;
class Group;
}  // namespace Core
namespace Overlay {
class PlaybackInfo;
}
namespace Resources {
class Bitmap;
}

namespace Media {

// Helpers on Uris, shared by the bridge and the media screens.
// True when `uri` is `wanted` or lies inside it as whole path components
// ("/x/Music" holds "/x/Music/a.mp3", not "/x/Music Videos").
bool UriWithin(const kv::String& uri, const kv::String& wanted);
// True when the Uri lies on the stick of removal code 242 .. 246 (the text
// ConvertRemovableCode gives, "/mnt/usb1" .. "/mnt/usb5", as whole components).
bool UriOnRemovedDevice(const kv::String& uri, int32_t code);

class MediaWrapper : public kv::Object {
  KV_CLASS(Media, MediaWrapper, kv::Object)
 public:
  MediaWrapper();

  // --- Lifecycle -------------------------------------------------------------------
  // Starts the service once: PslInit with the three flags; a failure is
  // logged and leaves it stopped; on success DLNA is switched (0 off, 1 on,
  // 3 with the renderer).
  void PslInitialize(bool dlna, bool renderer, bool access);
  void PslDeinitialize();
  // The root media events go to; the decoded-picture canvas. A null root panics.
  void Initialize(Core::Group* root);
  // Sources re-read on next use; renderer, medium, browse stack, decoded
  // picture, playlists dropped.
  void Reset();
  void RequestMediumList();

  // Offered every event before the root broadcasts it; a non-null answer ends its road.
  kv::Object* HandleEvent(Core::Event* event);
  // Hands a media event to the root's broadcast road, the bridge first (or
  // to the bridge alone before there is a root).
  void Deliver(Core::Event* event);

  // --- Sources and servers ------------------------------------------------------------
  int32_t GetMediumCount();
  MediumDevice* GetMedium(int32_t n);
  MediumDevice* ConvertToMedium(DataItem* root);
  MediumDevice* GetCurMedium() const { return curMedium_.get(); }
  int32_t GetCurMediumType() const;
  MediumDevice* GetMediumDetail(const kv::String& uri);
  void GetMediaServerList();
  int32_t GetMediaServerCount();
  MediaServer* GetMediaServer(int32_t n);
  // Registers server n of the server list; refused (false) while 8 are registered.
  bool RegisterMediaServer(int32_t n);
  // Unregisters server n of the server list (the list's row).
  bool UnRegisterMediaServer(int32_t n);
  int32_t GetRegisteredServerCount();
  RootDataItem* GetRegisteredMeidaServer(int32_t n);
  bool RequestWakeOnLan(int32_t uid);

  // --- Controllers and the renderer ---------------------------------------------------
  void RequestMediaControllorList();
  int32_t GetMediaControllorCount();
  MediaControllor* GetMediaControllor(int32_t n);
  void RegisterMediaControllor(int32_t n);
  void UnRegisterMediaControllor(int32_t n);
  // Forgets controller n of the list (the service keeps no list of its own
  // here): the list is read again.
  void RemoveMediaControllor(int32_t n);
  void ResetDmcAccessControl() { controllers_.OnSetChanged(true); }
  // Kept and answered back (the setting's value).
  void SetDmcAccessControl(bool on) { dmcAccessControl_ = on; }
  bool GetDmcAccessControl() const { return dmcAccessControl_; }
  void ResetDmrName() {}
  void EnableDlna(int32_t mode);
  void SetEnableDlna(int32_t mode);
  bool IsDmrConfiged();
  bool GetDmrEnable();
  void SetDmrEnable(bool on);
  kv::String GetDmrName() const;
  void SetDmrName(const kv::String&) {}
  DataItem* GetDmrMediaItem() { return &rendererItem_; }
  void SetMaxDMCVolume(int32_t v);
  bool IsRendererActive() const { return rendererActive_; }
  bool IsDlnaEnabled() const { return dlnaEnabled_; }

  // --- Browsing -----------------------------------------------------------------------------
  void RequestBrowseMedium(int32_t n, int32_t mediaType);
  void RequestBrowseFolder(const kv::String& uri, int32_t mediaType);
  bool BrowsePreviousFolder();
  bool IsInRootFolder() const;
  int32_t GetCurrentFolderDepth() const;
  kv::String GetCurrentFolder() const;
  bool IsBrowseDataReady() const;
  int32_t GetMediaItemCount();
  MediaItem* GetMediaItem(int32_t n);
  bool IsFolderItem(int32_t n);
  void SelectMediaItem(int32_t n);
  // 1 when a request went out; 0 without a folder, for a folder or a loading item.
  int32_t RequestMetadata(int32_t n);
  // The same for the current folder's item of a playlist item's Uri (a play
  // list's picture is the service's only as the folder's item).
  int32_t RequestMetadataOf(const DataItem& shown);
  void SetThumbnailSize(int32_t width, int32_t height);
  kv::Point ThumbnailSize() const { return {thumbW_, thumbH_}; }
  // The folder shown (observe it for its pages), or null.
  ContainerDataSource* GetCurrentSource() const { return current_.get(); }
  // Re-reads the current folder in place: its pages are dropped and asked
  // again (the stack stays); the sort change and a delete call it.
  void ReBrowseCurrentFolder();
  void SetMediaSortMode(uint16_t mode);
  uint16_t GetMediaSortMode() const { return MediaSortMode; }
  uint16_t OnGetMediaFilter() const { return MediaFilter; }
  void OnSetMediaFilter(uint16_t kind) { MediaFilter = kind; }
  Core::Group* OnGetRoot() const { return Root.get(); }
  void OnSetRoot(Core::Group* root) { Root = root; }

  // --- The background-music stack ---------------------------------------------------------
  void RequestBgmBrowse(const kv::String& uri);
  bool BrowseBgmPreviousFolder();
  bool IsInBgmRootFolder() const;
  int32_t GetBgmCurrentFolderDepth() const;
  kv::String GetBgmCurrentFolder() const;
  bool IsBgmBrowseDataReady() const;
  int32_t GetBgmItemCount();
  MediaItem* GetBgmItem(int32_t n);
  bool IsBgmFolderItem(int32_t n);
  void SelectBgmItem(int32_t n);
  ContainerDataSource* GetBgmCurrentSource() const { return bgmCurrent_.get(); }

  // --- Playlists and playback -----------------------------------------------------------
  void SetPlaylist(uint16_t mode, DataItem* item, ListWidgets::DataSource* source);
  MediaPlaylistDataSource* SetSlideshowPlaylist();
  void SetPlaylistCurrent(const kv::String& uri);
  MediaItem* GetPlaylistCurrent();
  int32_t GetPlaylistCurUID();
  int32_t GetPlaylistTotal();
  uint16_t GetCurPlaylistMode();
  MediaPlaylistDataSource* GetCurrentPlaylist() const { return playlist_.get(); }
  void RequestPlay(MediaItem* record, uint16_t mode);
  void RequestMoviePreviewPlay(MediaItem* record, uint16_t mode);
  void RequestResume() { Nav(3); }
  void RequestStop() { Nav(5); }
  void RequestPause() { Nav(7); }
  void RequestNext() { Nav(21); }
  void RequestPrevious() { Nav(23); }
  void RequestFastForward() { Nav(25); }
  void RequestRewind() { Nav(27); }
  void RequestStepForward() { Nav(31); }
  void RequestStepBackward() { Nav(32); }
  void RequestSeek(int32_t t) { Nav(38, 2, t); }
  void RequestRestart() { Nav(38, 2, 0); }
  void RequestChangeSubtitle() { Nav(45); }
  void RequestChangeAudioTrack() { Nav(51); }
  void SetShufflePlayMode() { Nav(58); }
  void SetRepeatMode(uint16_t mode);
  void StartMedia(int32_t kind);
  void StopMedia(int32_t kind);
  void GetPlaybackInfo(Overlay::PlaybackInfo* info);
  // Background music of the slide show.
  void SetBgmPlaylist(uint16_t mode, MediaItem* record);
  void SetBgmPlaylistCurrent(const kv::String& uri);
  void RequestBgmPlay();
  void RequestBgmStop();
  void BgmReset();
  bool IsBgmSelected() const { return bgmPlaylist_; }
  bool IsBgmPlaying() const { return bgmPlaying_; }

  // --- Video window and pictures ------------------------------------------------------------
  void GetVideoWindow();
  void RestoreVideoWindow();
  void SetVideoPreviewWindow(int32_t x, int32_t y, int32_t width, int32_t height);
  void SetMediaPreviewFrame(int32_t x, int32_t y, int32_t width, int32_t height);
  // Copies picture item n of the current folder into the wallpaper store.
  void CopyUserWallpaper(int32_t n, const kv::String& name);
  // Turns the decoded picture shown in `bitmap` by 90, 180, 270 or 360
  // degrees: the turned size, or (0, 0) without a bitmap, size or such angle.
  kv::Point SetBitmapOrientation(Resources::Bitmap* bitmap, kv::Point size, int32_t angle);
  ServiceCanvas* GetDecodedPicture();
  bool IsUserWallpaperSet();
  // The copied wallpaper, else the default one when its file exists, else "".
  kv::String GetWallpaperPath();
  void DeleteUserWallpaper(const kv::String& path);
  bool IsAVCHDContentPresent();

  // --- Others ---------------------------------------------------------------------------
  // The removal message of a device code 242 .. 246; empty for others.
  kv::String ConvertRemovableCode(int32_t code) const;
  void SetDisplaySizeMode(int32_t) {}
  void DispatchEvent(Core::Event*) {}
  bool IsServiceInitialized() const { return serviceInitialized_; }
  const VideoPlayWindow& SavedVideoWindow() const { return videoWindow_; }
  MediumTopDataSource& Sources() { return sources_; }
  MediaControllorDataSource& Controllers() { return controllers_; }

  uint16_t MediaSortMode = 0;
  uint16_t MediaFilter = 0;
  kv::Member<Core::Group> Root;

 private:
  Core::Group* TheRoot();
  // The media sources changed: read again and logged.
  void SourcesChanged();
  void Dispatch(Core::Event* event);
  void Nav(int32_t code, int32_t a = 0, int32_t b = 0);
  // A folder source of a media type (null, traced, for another type).
  ContainerDataSource* NewFolderSource(int32_t mediaType, bool setFilter);
  // Reads item 0 of a new folder (asks for its first page).
  void Open(ContainerDataSource* source);
  MediaItem* RecordOf(ContainerDataSource* source, int32_t n, bool bgm);
  int32_t RequestItemMetadata(MediaDataItem* item);
  // The container item of the source matching the Uri: an equal Uri first,
  // else the first containing it.
  ContainerDataItem* FindFolder(ContainerDataSource* source, const kv::String& uri);
  // True when the source is on the main or the background-music stack.
  bool OnAStack(ContainerDataSource* source) const;
  bool IsOnStack(ContainerDataSource* root, ContainerDataSource* source) const;
  ListWidgets::DataItem* FindInPlaylist(MediaPlaylistDataSource* list, const kv::String& uri);
  // The current folder's entry (and its index) of an item of the current
  // playlist, found without building the rows before it; null when not found
  // that way (another order, a page not read yet): the callers then search
  // the pages.
  DataItem* FolderEntryOf(const DataItem& entry, int32_t* index = nullptr);
  // The same, else the folder's entry whose Uri matches the item's best
  // (searching the pages); null when none matches.
  DataItem* FolderEntryMatching(const DataItem& entry, int32_t* index = nullptr);
  void PlaylistClassFor(uint16_t filter);

  bool bgmPlaying_ = false;
  bool rendererActive_ = false;
  bool bgmBrowseActive_ = false;
  bool serviceInitialized_ = false;
  bool rendererEnabled_ = true;
  bool dlnaEnabled_ = true;
  bool dmcAccessControl_ = false;
  uint16_t bgmPlaylistMode_ = 5;
  PictureContainerDataSource pictures_;
  MusicContainerDataSource music_;
  VideoContainerDataSource videos_;
  Media::DataSource registered_;
  kv::Member<MediaPlaylistDataSource> customPlaylist_;
  kv::Member<MediaPlaylistDataSource> bgmPlaylist_;
  kv::Member<MediaPlaylistDataSource> playlist_;
  kv::Member<MediumDevice> curMedium_;
  MediumTopDataSource sources_;
  MediaControllorDataSource controllers_;
  kv::Member<ContainerDataSource> root_, current_, newest_, deepest_;
  const kv::Class* playlistClass_ = nullptr;
  int32_t thumbW_ = 160;
  int32_t thumbH_ = 120;
  kv::Member<ServiceCanvas> decoded_;
  kv::MemberVector<RootDataItem> servers_;
  bool serverListBuilt_ = false;
  kv::Member<ContainerDataSource> bgmNewest_, bgmRoot_, bgmDeepest_, bgmCurrent_;
  DataItem rendererItem_;
  kv::Member<MediaItem> bgmRecord_;
  VideoPlayWindow videoWindow_;
  // The event the bridge is handing to the root (a local's object, valid for the call).
  kv::Object* dispatching_ = nullptr;
};

// Registers the bridge's constructors and setters with the media service
// (psl::SetExports); the host calls it at start.
void RegisterExports();

}  // namespace Media

KV_DECLARE_AUTO_OBJECT(MainApp, MediaWrapper);
