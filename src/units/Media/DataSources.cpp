#include "units/Media/DataSources.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/psl/psl.h"
#include "runtime/panic.h"
#include "runtime/path_text.h"
#include "runtime/slot.h"
#include "runtime/trace.h"
#include "strings/Media.h"
#include "units/Media/MediaEvents.h"
#include "units/Media/MediaItem.h"
#include "units/Media/MediaWrapper.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Resources/Resources.h"

KV_REGISTER_CLASS(Media::DataItemList);
KV_REGISTER_CLASS(Media::DataSource);
KV_REGISTER_CLASS(Media::ContainerDataSource);
KV_REGISTER_CLASS(Media::VideoContainerDataSource);
KV_REGISTER_CLASS(Media::PictureContainerDataSource);
KV_REGISTER_CLASS(Media::MusicContainerDataSource);
KV_REGISTER_CLASS(Media::RootDataSource);
KV_REGISTER_CLASS(Media::MediumTopDataSource);
KV_REGISTER_CLASS(Media::MediaControllorDataSource);
KV_REGISTER_CLASS(Media::MediaTopDataSource);
KV_REGISTER_CLASS(Media::MediaPlaylistDataSource);
KV_REGISTER_CLASS(Media::VideoPlaylistDataSource);
KV_REGISTER_CLASS(Media::MusicPlaylistDataSource);
KV_REGISTER_CLASS(Media::PicturePlaylistDataSource);

namespace {

class LoadingItem : public Media::DataItem {
  KV_CLASS(Media, LoadingItem, Media::DataItem)
 public:
  LoadingItem() {
    Bitmap = Resources::LoadResource(Resources::DefaultBitmap);
    Caption = kv::GetVariantOfString(Media::LOADING_CAPTION);
  }
};

class EndPictureItem : public Media::PictureDataItem {
  KV_CLASS(Media, EndPictureItem, Media::PictureDataItem)
 public:
  EndPictureItem() {
    Bitmap = Resources::LoadResource(Media::DefaultBackground);
    PictureState = 1;
  }
};

Media::MediaWrapper* Bridge() { return kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper); }

}  // namespace

KV_AUTO_OBJECT(Media, MediaLoadingDataItem, LoadingItem)
KV_AUTO_OBJECT(Media, MediaEndPictureDataItem, EndPictureItem)

namespace Media {

// --- Pages ---------------------------------------------------------------------------------------

DataItemList::~DataItemList() {
  if (Handle) PslMediaDeleteObjectList(globalPsl, Handle);
}

DataItem* DataItemList::GetObjectAt(int32_t i) {
  if (i < 0 || i >= Count) {
    kv::Log("Media::DataItemList: entry " + std::to_string(i) + " is outside the page of " + std::to_string(Count));
    return nullptr;
  }
  while (items_.size() < static_cast<size_t>(Count)) items_.push_back(nullptr);
  if (DataItem* kept = items_[static_cast<size_t>(i)]) return kept;
  PslObject out = nullptr;
  const int32_t status = PslMediaConvertObject(globalPsl, Handle, i, Owner.get(), &out);
  auto* item = kv::Cast<DataItem>(static_cast<kv::Object*>(out));
  if (status != PSL_OK || !item) {
    kv::Log("Media::DataItemList: the service made no item of entry " + std::to_string(i));
    return nullptr;
  }
  items_.set(static_cast<size_t>(i), item);
  return item;
}

// --- Folders --------------------------------------------------------------------------------------

ContainerDataSource::ContainerDataSource() { Type = 2; }

ContainerDataItem* ContainerDataSource::FolderItem() const { return kv::Cast<ContainerDataItem>(Parent.get()); }

void ContainerDataSource::OnSetChanged(bool value) {
  if (value) DropPages();
  ListWidgets::DataSource::OnSetChanged(value);
}

void ContainerDataSource::DropPages() {
  FirstList = nullptr;
  Loading = false;
  EmptyPosted = false;
  requestStart_ = -1;
  Count = -1;
}

int32_t ContainerDataSource::OnGetCount() {
  if (Count == -1)
    if (ContainerDataItem* folder = FolderItem()) Count = folder->Count;
  return ListWidgets::DataSource::OnGetCount();
}

int32_t ContainerDataSource::LoadedCount() const {
  int32_t n = 0;
  for (DataItemList* p = FirstList.get(); p; p = p->NextList.get()) n += p->Count;
  return n;
}

DataItem* ContainerDataSource::GetItemAtAbsolute(int32_t n) {
  const int32_t count = OnGetCount();
  if (count < 1) {
    // An empty folder answers its (empty) page once, posted, not from inside the read.
    if (!EmptyPosted) {
      EmptyPosted = true;
      kv::Trace("%s%i", {kv::LoadString(T_EMPTY_FOLDER), static_cast<int32_t>(MediaType)});
      kv::PostSignal(kv::MakeSlot(this, &ContainerDataSource::PostEmptyPage));
    }
    return nullptr;
  }
  if (n < 0 || n >= count) {
    kv::Log("Media::ContainerDataSource: item " + std::to_string(n) + " is outside the folder of " +
            std::to_string(count));
    return nullptr;
  }
  for (DataItemList* p = FirstList.get(); p; p = p->NextList.get())
    if (n >= p->Start && n < p->Start + p->Count) {
      DataItem* item = p->GetObjectAt(n - p->Start);
      if (item) item->UID = n;
      return item;
    }
  auto* loading = kv::GetAutoObject<DataItem>(MediaLoadingDataItem);
  if (Loading) return loading;
  int32_t start = 0;
  int32_t length = 0;
  ContainerDataItem* folder = FolderItem();
  if (folder && folder->SupportsPaging) {
    if (count < kPageItems) {
      length = count;
    } else {
      start = n / kPageItems * kPageItems;
      length = kPageItems;
    }
  } else if (count < kBlockItems) {
    length = count;
  } else {
    start = n / kBlockItems * kBlockItems;
    length = kBlockItems;
  }
  kv::Trace("%s%*%e%i%i", {kv::LoadString(T_REQUEST_BROWSE), kv::String(), static_cast<int32_t>(MediaType), start,
                             length});
  requestStart_ = start;
  requestLength_ = length;
  const int32_t status = PslMediaRequestBrowse(globalPsl, this, MediaType, start, length);
  if (status != PSL_OK) {
    kv::LogFailedCall("PslMediaRequestBrowse", status);
    return loading;
  }
  Loading = true;
  return loading;
}

void ContainerDataSource::PostEmptyPage(kv::Object* /*sender*/) {
  auto* page = kv::New<DataItemList>();
  page->Count = 0;
  page->Owner = this;
  Bridge()->HandleEvent(kv::New<DataItemListEvent>()->Initialize(page));
}

void ContainerDataSource::AppendList(DataItemList* page) {
  if (!page) return;
  page->Owner = this;
  const int32_t announced = OnGetCount();
  // A page shorter than asked ends the folder there: what lies beyond goes.
  const bool asked = page->Start == requestStart_;
  if (asked && page->Count < requestLength_ && page->Start + page->Count < announced) {
    kv::Log("Media::ContainerDataSource: the folder holds " + std::to_string(page->Start + page->Count) +
            " items, not " + std::to_string(announced));
    Count = page->Start + page->Count;
  }
  // In order of the pages' starts; a page already held for that start is replaced.
  kv::Member<DataItemList>* link = &FirstList;
  while (*link && (*link)->Start < page->Start) link = &(*link)->NextList;
  if (*link && (*link)->Start == page->Start) page->NextList = (*link)->NextList;
  else page->NextList = link->get();
  *link = page;
  // Pages beyond the end are dropped.
  for (kv::Member<DataItemList>* l = &FirstList; *l;) {
    if (Count >= 0 && (*l)->Start >= Count && (*l)->Count > 0) {
      *l = (*l)->NextList.get();
      continue;
    }
    l = &(*l)->NextList;
  }
  int32_t position = 0;
  for (DataItemList* p = FirstList.get(); p; p = p->NextList.get()) p->Position = position++;
  if (asked) {
    requestStart_ = -1;
    Loading = false;
  }
  Notify();
}

DataItem* ContainerDataSource::CreateContainer(const kv::String& uri, const kv::String& title, uint32_t handle,
                                               int32_t count, bool canRecursiveScan, bool supportsPaging) {
  auto* item = kv::Cast<ContainerDataItem>(kv::NewObjectIndirect(ContainerItemClass));
  if (!item) item = kv::New<ContainerDataItem>();
  item->Uri = uri;
  item->Title = title;
  item->Caption = title;
  item->Handle = handle;
  item->Count = count;
  item->CanRecursiveScan = canRecursiveScan;
  item->SupportsPaging = supportsPaging;
  item->group = this;
  return item;
}

DataItem* ContainerDataSource::CreateItem(const kv::String& uri, const kv::String& title, uint32_t handle) {
  auto* item = kv::Cast<DataItem>(kv::NewObjectIndirect(ItemClass));
  if (!item) item = kv::New<MediaDataItem>();
  item->Uri = uri;
  item->Title = title;
  item->Caption = title;
  item->Handle = handle;
  item->group = this;
  return item;
}

VideoContainerDataSource::VideoContainerDataSource() {
  MediaType = 3;
  ItemClass = &VideoDataItem::StaticClass();
  ContainerItemClass = &VideoContainerDataItem::StaticClass();
}

PictureContainerDataSource::PictureContainerDataSource() {
  MediaType = 2;
  ItemClass = &PictureDataItem::StaticClass();
  ContainerItemClass = &PictureContainerDataItem::StaticClass();
}

MusicContainerDataSource::MusicContainerDataSource() {
  MediaType = 1;
  ItemClass = &MusicDataItem::StaticClass();
  ContainerItemClass = &MusicContainerDataItem::StaticClass();
}

// --- Roots ------------------------------------------------------------------------------------------

RootDataSource::RootDataSource() {
  Count = kBlockItems;
  ItemClass = &RootDataItem::StaticClass();
  ContainerItemClass = nullptr;
}

RootDataItem* RootDataSource::CreateRootItem(const kv::Class* cls) {
  return kv::Cast<RootDataItem>(cls ? kv::NewObjectIndirect(cls) : nullptr);
}

RootDataItem* RootDataSource::CreateRoot(const kv::Class* cls, const kv::String& uri, const kv::String& title,
                                         uint32_t handle, int32_t count, bool canRecursiveScan,
                                         const kv::String& ipAddr) {
  RootDataItem* item = CreateRootItem(cls);
  if (!item) {
    kv::Log("Media::RootDataSource: no root item of class " + std::string(cls ? cls->name : "(null)"));
    return nullptr;
  }
  item->Uri = uri;
  item->Title = title;
  item->Caption = title;
  item->Handle = handle;
  item->Count = count;
  item->CanRecursiveScan = canRecursiveScan;
  item->group = this;
  item->IpAddr = ipAddr;
  if (!item->DataSourceClass) item->DataSourceClass = ItemDataSourceClass;
  return item;
}

MediumTopDataSource::MediumTopDataSource() = default;

RootDataItem* MediumTopDataSource::CreateRootItem(const kv::Class* cls) {
  if (cls == &OpticalRootDataItem::StaticClass()) cls = &OpticalTopDataItem::StaticClass();
  else if (cls == &UsbRootDataItem::StaticClass()) cls = &UsbTopDataItem::StaticClass();
  else if (cls == &ServerRootDataItem::StaticClass()) cls = &ServerTopDataItem::StaticClass();
  return RootDataSource::CreateRootItem(cls);
}

DataItemList* MediumTopDataSource::OnGetFirstList() {
  if (!FirstList) {
    auto* list = kv::New<DataItemList>();
    list->Count = 0;
    list->Owner = this;
    PslPage page{0, 0};
    const int32_t status = PslMediaGetMediumList(globalPsl, 0, &page);
    if (status != PSL_OK) {
      kv::LogFailedCall("PslMediaGetMediumList", status);
    } else {
      list->Handle = page.handle;
      list->Count = std::max(page.count, 0);
    }
    DlnaEnabled = Bridge()->IsDlnaEnabled();
    FirstList = list;
  }
  return FirstList.get();
}

void MediumTopDataSource::OnSetChanged(bool value) {
  if (value) FirstList = nullptr;
  ListWidgets::DataSource::OnSetChanged(value);
}

int32_t MediumTopDataSource::OnGetCount() { return OnGetFirstList()->Count; }

DataItem* MediumTopDataSource::GetItemAtAbsolute(int32_t n) {
  DataItemList* list = OnGetFirstList();
  if (n < 0 || n >= list->Count) return nullptr;
  DataItem* item = list->GetObjectAt(n);
  if (item) item->UID = n;
  return item;
}

MediaControllorDataSource::MediaControllorDataSource() {
  ItemClass = &DmcRootDataItem::StaticClass();
  Count = 0;
}

DataItemList* MediaControllorDataSource::OnGetFirstList() {
  if (!FirstList) {
    auto* list = kv::New<DataItemList>();
    list->Count = 0;
    list->Owner = this;
    PslPage page{0, 0};
    const int32_t status = PslMediaGetMediumList(globalPsl, PSL_ROOT_CONTROLLER, &page);
    if (status != PSL_OK) {
      kv::LogFailedCall("PslMediaGetMediumList", status);
    } else {
      list->Handle = page.handle;
      list->Count = std::max(page.count, 0);
    }
    FirstList = list;
  }
  return FirstList.get();
}

void MediaControllorDataSource::OnSetChanged(bool value) {
  if (value) FirstList = nullptr;
  ListWidgets::DataSource::OnSetChanged(value);
}

int32_t MediaControllorDataSource::OnGetCount() { return OnGetFirstList()->Count; }

// --- A medium's top list ---------------------------------------------------------------------------

MediaTopDataSource::MediaTopDataSource() {
  struct Entry {
    MediaTopDataItem& item;
    int32_t uid;
    const kv::Class* source;
    kv::MultiTextId caption;
  };
  for (const Entry& e : {Entry{Music, 1, &MusicContainerDataSource::StaticClass(), TOP_MUSIC},
                         Entry{Picture, 2, &PictureContainerDataSource::StaticClass(), TOP_PICTURES},
                         Entry{Video, 3, &VideoContainerDataSource::StaticClass(), TOP_VIDEO}}) {
    e.item.UID = e.uid;
    e.item.DataSourceClass = e.source;
    e.item.Bitmap = Resources::LoadResource(Resources::DefaultBitmap);
    e.item.Caption = kv::GetVariantOfString(e.caption);
    e.item.group = this;
  }
  Music.Next = &Picture;
  Picture.Next = &Video;
  First = &Music;
}

bool MediaTopDataSource::ItemIsVisible(ListWidgets::DataItem* item) {
  auto* root = kv::Cast<DataItem>(Parent.get());
  if (!item || !root) return false;
  PslMediaAvailability record{};
  const int32_t status = PslMediaGetAvailabilityPerMedium(globalPsl, root, &record);
  if (status != PSL_OK) {
    kv::LogFailedCall("PslMediaGetAvailabilityPerMedium", status);
    return false;
  }
  auto any = [&](int k, int n) {
    for (int i = 0; i < n; ++i)
      if (record.counts[k][i] > 0) return true;
    return false;
  };
  switch (item->UID) {
    case 1:
      return any(0, 4);
    case 2:
      return any(1, 4);
    case 3:
      return any(2, 4);
    default:
      return false;
  }
}

// --- Playlists ---------------------------------------------------------------------------------------

MediaPlaylistDataSource::~MediaPlaylistDataSource() {
  if (Handle) PslMediaPlaylistDestroy(globalPsl, Handle, Kind, PlaylistMode);
}

void MediaPlaylistDataSource::OnSetPlaylistMode(uint16_t mode) {
  if (PlaylistMode != 0) kv::Panic("Media::MediaPlaylistDataSource: the playlist mode is set once");
  PlaylistMode = mode;
}

void MediaPlaylistDataSource::Initialize(uint16_t mode, DataItem* item, ListWidgets::DataSource* source) {
  if (mode != PlaylistMode) OnSetPlaylistMode(mode);
  if (mode >= 6) kv::Panic("Media::MediaPlaylistDataSource: no playlist mode above 5");
  if ((mode == 1 || mode == 2) && item) kv::Panic("Media::MediaPlaylistDataSource: modes 1 and 2 take no item");
  if ((mode == 3 || mode == 5) && !kv::Cast<ContainerDataItem>(item))
    kv::Panic("Media::MediaPlaylistDataSource: modes 3 and 5 take a container item");
  if (mode == 4 && !kv::Cast<MediaDataItem>(item)) kv::Panic("Media::MediaPlaylistDataSource: mode 4 takes a media item");
  Type = mode == 1 ? 1 : 2;
  const int32_t status = PslMediaPlaylistCreate(globalPsl, Kind, mode, item, source, &Handle);
  if (status != PSL_OK) kv::LogFailedCall("PslMediaPlaylistCreate", status);
}

int32_t MediaPlaylistDataSource::OnGetCount() {
  if (Type != 2) return ListWidgets::DataSource::OnGetCount();
  int32_t count = 0;
  const int32_t status = PslMediaPlaylistCount(globalPsl, Handle, Kind, PlaylistMode, &count);
  if (status != PSL_OK) kv::LogFailedCall("PslMediaPlaylistCount", status);
  Count = std::max(count, 0);
  return Count;
}

DataItem* MediaPlaylistDataSource::NewItem(int32_t uid, const char* uri) {
  auto* item = kv::Cast<DataItem>(kv::NewObjectIndirect(ItemClass));
  if (!item) item = kv::New<MediaDataItem>();
  item->UID = uid;
  item->Uri = kv::PathFromBytes(uri);  // a file name keeps its bytes, also those that are no UTF-8
  item->group = this;
  return item;
}

ListWidgets::DataItem* MediaPlaylistDataSource::GetItemAtAbsolute(int32_t n) {
  if (n < 0 || n >= OnGetCount()) return nullptr;
  if (Type != 2) return ListWidgets::DataSource::GetItemAtAbsolute(n);
  std::vector<char> uri(PSL_URI_MAX, 0);
  const int32_t status = PslMediaPlaylistGetItemAt(globalPsl, Handle, Kind, PlaylistMode, n, uri.data());
  if (status != PSL_OK) {
    kv::LogFailedCall("PslMediaPlaylistGetItemAt", status);
    return nullptr;
  }
  return NewItem(n, uri.data());
}

ListWidgets::DataItem* MediaPlaylistDataSource::OnGetCurrent() {
  if (Type != 2) return ListWidgets::DataSource::OnGetCurrent();
  std::vector<char> uri(PSL_URI_MAX, 0);
  int32_t index = -1;
  const int32_t status = PslMediaPlaylistCurrent(globalPsl, Handle, Kind, PlaylistMode, uri.data(), &index);
  if (status != PSL_OK || index < 0) return nullptr;
  Current = NewItem(index, uri.data());
  return Current.get();
}

void MediaPlaylistDataSource::OnSetCurrent(ListWidgets::DataItem* item) {
  const int32_t count = OnGetCount();
  if (count < 1 || !item) return;
  if (item->UID >= count) {
    // The service's list shrank under the caller: the last item is taken.
    kv::Log("Media::MediaPlaylistDataSource: item " + std::to_string(item->UID) + " is beyond the playlist of " +
            std::to_string(count));
  }
  if (Type != 2) {
    ListWidgets::DataSource::OnSetCurrent(item);
    return;
  }
  const int32_t n = std::clamp(item->UID, 0, count - 1);
  std::vector<char> uri(PSL_URI_MAX, 0);
  const int32_t status = PslMediaPlaylistSeek(globalPsl, Handle, Kind, PlaylistMode, n, uri.data());
  if (status != PSL_OK) kv::LogFailedCall("PslMediaPlaylistSeek", status);
  ListWidgets::DataSource::OnSetCurrent(NewItem(n, uri.data()));
}

void MediaPlaylistDataSource::Insert(ListWidgets::DataItem* item, bool flag, ListWidgets::DataItem* reference) {
  if (kv::Cast<ContainerDataItem>(item)) kv::Panic("Media::MediaPlaylistDataSource: a folder is no playlist item");
  if (Type != 2) ListWidgets::DataSource::Insert(item, flag, reference);
  const int32_t status = PslMediaPlaylistAdd(globalPsl, Handle, Kind, PlaylistMode, item);
  if (status != PSL_OK) kv::LogFailedCall("PslMediaPlaylistAdd", status);
  if (item) item->group = this;
}

void MediaPlaylistDataSource::Remove(ListWidgets::DataItem* item) {
  const int32_t status = PslMediaPlaylistRemove(globalPsl, Handle, Kind, PlaylistMode, item);
  if (status != PSL_OK) kv::LogFailedCall("PslMediaPlaylistRemove", status);
  if (Type != 2) ListWidgets::DataSource::Remove(item);
  if (item) item->group = nullptr;
}

VideoPlaylistDataSource::VideoPlaylistDataSource() {
  Kind = PSL_KIND_VIDEO;
  ItemClass = &VideoDataItem::StaticClass();
}
MusicPlaylistDataSource::MusicPlaylistDataSource() {
  Kind = PSL_KIND_MUSIC;
  ItemClass = &MusicDataItem::StaticClass();
}
PicturePlaylistDataSource::PicturePlaylistDataSource() {
  Kind = PSL_KIND_PICTURE;
  ItemClass = &PictureDataItem::StaticClass();
}

}  // namespace Media
