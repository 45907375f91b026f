// The media data sources: a folder read page by page from the media
// service (ContainerDataSource and its three media types), the medium list
// (MediumTopDataSource), the controller list, a medium's top list of three
// media kinds, and playlists (MediaPlaylistDataSource).
//
// Paging. A folder keeps its pages (DataItemList) in the order of their
// start, each knowing where it starts, so a page read past a gap (the end
// of a folder before its beginning) is found by range. A miss answers the
// shared loading placeholder and asks the service for the 256-item page
// (65536 without paging support) holding the index, one request at a time
// per folder. The page comes back to the folder that asked; it notifies its
// observers (the lists showing it).
#pragma once

#include <cstdint>

#include "runtime/auto_object.h"
#include "runtime/member.h"
#include "units/ListWidgets/DataSource.h"
#include "units/Media/DataItems.h"

namespace Media {

inline constexpr int32_t kPageItems = 256;
inline constexpr int32_t kBlockItems = 65536;

class DataSource;

// One page of a folder: the service's list of entries start .. start + Count - 1.
class DataItemList : public kv::Object {
  KV_CLASS(Media, DataItemList, kv::Object)
 public:
  DataItemList() = default;
  // Frees the list in the service.
  ~DataItemList() override;
  // The item of entry i (0 <= i < Count), built by the service; null
  // (logged) for an index outside the page.
  DataItem* GetObjectAt(int32_t i);

  kv::Member<DataItemList> NextList;
  uint32_t Handle = 0;
  int32_t Count = 256;
  kv::Member<kv::Object> Owner;
  int32_t Position = 0;
  // The index in the folder of the page's first entry.
  int32_t Start = 0;

 private:
  // The items made so far, by entry (read again, the same item answers).
  kv::MemberVector<DataItem> items_;
};

class DataSource : public ListWidgets::DataSource {
  KV_CLASS(Media, DataSource, ListWidgets::DataSource)
 public:
  DataSource() = default;
  const kv::Class* ItemClass = &MediaDataItem::StaticClass();
};

class ContainerDataSource : public DataSource {
  KV_CLASS(Media, ContainerDataSource, DataSource)
 public:
  ContainerDataSource();
  void OnSetChanged(bool value) override;
  int32_t OnGetCount() override;
  DataItem* GetItemAtAbsolute(int32_t n) override;
  virtual void DebugItemListEvent() {}
  virtual DataItemList* OnGetFirstList() { return FirstList.get(); }
  void OnSetFirstList(DataItemList* list) { FirstList = list; }

  // A page answered: put in order of its start; the announced count shrinks
  // only when the page reaching the announced end came back short.
  // Observers are notified.
  void AppendList(DataItemList* page);
  // Drops every page (re-read on next use), keeping the folder's place.
  void DropPages();
  // The item a service answer names, built by the service into this source.
  DataItem* CreateContainer(const kv::String& uri, const kv::String& title, uint32_t handle, int32_t count,
                            bool canRecursiveScan, bool supportsPaging);
  DataItem* CreateItem(const kv::String& uri, const kv::String& title, uint32_t handle);
  // The folder's item (Parent) when it is a container item.
  ContainerDataItem* FolderItem() const;
  // Number of entries loaded in pages.
  int32_t LoadedCount() const;

  bool Loading = false;
  uint16_t MediaType = 0;
  kv::Member<DataItemList> FirstList;
  kv::Member<ContainerDataSource> Child;
  const kv::Class* ContainerItemClass = &ContainerDataItem::StaticClass();
  // The empty folder's page was broadcast (once per source).
  bool EmptyPosted = false;

 private:
  void PostEmptyPage(kv::Object* sender);
  // The request outstanding: its start (-1 none) and length.
  int32_t requestStart_ = -1;
  int32_t requestLength_ = 0;
};

class VideoContainerDataSource : public ContainerDataSource {
  KV_CLASS(Media, VideoContainerDataSource, ContainerDataSource)
 public:
  VideoContainerDataSource();
};
class PictureContainerDataSource : public ContainerDataSource {
  KV_CLASS(Media, PictureContainerDataSource, ContainerDataSource)
 public:
  PictureContainerDataSource();
};
class MusicContainerDataSource : public ContainerDataSource {
  KV_CLASS(Media, MusicContainerDataSource, ContainerDataSource)
 public:
  MusicContainerDataSource();
};

class RootDataSource : public ContainerDataSource {
  KV_CLASS(Media, RootDataSource, ContainerDataSource)
 public:
  RootDataSource();
  // A root item of the class (null and logged when none can be made).
  virtual RootDataItem* CreateRootItem(const kv::Class* cls);
  RootDataItem* CreateRoot(const kv::Class* cls, const kv::String& uri, const kv::String& title, uint32_t handle,
                           int32_t count, bool canRecursiveScan, const kv::String& ipAddr);

  bool HasCustomPlaylist = true;
  const kv::Class* ItemMenuClass = nullptr;
  const kv::Class* ItemDataSourceClass = nullptr;
};

// The media sources: one page the service fills at once.
class MediumTopDataSource : public RootDataSource {
  KV_CLASS(Media, MediumTopDataSource, RootDataSource)
 public:
  MediumTopDataSource();
  void OnSetChanged(bool value) override;
  int32_t OnGetCount() override;
  DataItem* GetItemAtAbsolute(int32_t n) override;
  DataItemList* OnGetFirstList() override;
  RootDataItem* CreateRootItem(const kv::Class* cls) override;

  bool DlnaEnabled = true;
};

// The network controllers: a page made empty on first use (no service call fills it).
class MediaControllorDataSource : public RootDataSource {
  KV_CLASS(Media, MediaControllorDataSource, RootDataSource)
 public:
  MediaControllorDataSource();
  void OnSetChanged(bool value) override;
  int32_t OnGetCount() override;
  DataItemList* OnGetFirstList() override;
};

// A medium's top list: music, pictures, video, the kinds it holds.
class MediaTopDataSource : public DataSource {
  KV_CLASS(Media, MediaTopDataSource, DataSource)
 public:
  MediaTopDataSource();
  bool ItemIsVisible(ListWidgets::DataItem* item) override;

  MediaTopDataItem Music;
  MediaTopDataItem Picture;
  MediaTopDataItem Video;
};

// --- Playlists ---------------------------------------------------------------------------

class MediaPlaylistDataSource : public DataSource {
  KV_CLASS(Media, MediaPlaylistDataSource, DataSource)
 public:
  MediaPlaylistDataSource() = default;
  // Frees the playlist in the service.
  ~MediaPlaylistDataSource() override;
  // Mode 1 a list of ours, 2 an empty list of the service, 3 and 5 a
  // folder's files (5 with the folder source), 4 one media item.
  void Initialize(uint16_t mode, DataItem* item, ListWidgets::DataSource* source);
  void OnSetPlaylistMode(uint16_t mode);
  uint16_t OnGetPlaylistMode() const { return PlaylistMode; }
  void SetRandom() {}

  void Insert(ListWidgets::DataItem* item, bool flag, ListWidgets::DataItem* reference) override;
  void Remove(ListWidgets::DataItem* item) override;
  void OnSetCurrent(ListWidgets::DataItem* item) override;
  ListWidgets::DataItem* OnGetCurrent() override;
  int32_t OnGetCount() override;
  ListWidgets::DataItem* GetItemAtAbsolute(int32_t n) override;

  uint16_t Kind = 0;
  uint16_t PlaylistMode = 0;
  uint32_t Handle = 0;

 private:
  DataItem* NewItem(int32_t uid, const char* uri);
};

class VideoPlaylistDataSource : public MediaPlaylistDataSource {
  KV_CLASS(Media, VideoPlaylistDataSource, MediaPlaylistDataSource)
 public:
  VideoPlaylistDataSource();
};
class MusicPlaylistDataSource : public MediaPlaylistDataSource {
  KV_CLASS(Media, MusicPlaylistDataSource, MediaPlaylistDataSource)
 public:
  MusicPlaylistDataSource();
};
class PicturePlaylistDataSource : public MediaPlaylistDataSource {
  KV_CLASS(Media, PicturePlaylistDataSource, MediaPlaylistDataSource)
 public:
  PicturePlaylistDataSource();
};

}  // namespace Media

// The shared placeholders: the item shown while its page loads, and the
// picture after the last one of a slide show.
KV_DECLARE_AUTO_OBJECT(Media, MediaLoadingDataItem);
KV_DECLARE_AUTO_OBJECT(Media, MediaEndPictureDataItem);
