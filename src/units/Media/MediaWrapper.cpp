#include "units/Media/MediaWrapper.h"

#include <sys/stat.h>

#include <string>
#include <vector>

#include "platform/psl/psl.h"
#include "platform/xpm/xpm.h"
#include "platform/xpm/xpm_settings.h"
#include "runtime/panic.h"
#include "runtime/path_text.h"
#include "runtime/ref.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/Media.h"
#include "units/Core/Event.h"
#include "units/Core/Group.h"
#include "units/Core/SetReads.h"
#include "units/Events/DMRStatusEvent.h"
#include "units/Events/StatusEvent.h"
#include "units/Media/MediaEvents.h"
#include "units/Overlay/PlaybackInfo.h"
#include "units/Wrapper/Wrapper.h"

namespace Media {

KV_REGISTER_CLASS(Media::MediaWrapper);

namespace {

constexpr int32_t kMaxRegistered = 8;

// 2: the same Uri; 1: `wanted` found in it as whole path components (what
// follows it is the end or a "/"); 0: neither.
int32_t UriMatch(const kv::String& uri, const kv::String& wanted) {
  if (wanted.Length() == 0) return 0;
  if (kv::CompString(uri, wanted) == 0) return 2;
  for (int32_t at = kv::StringFind(uri, wanted, 0); at >= 0; at = kv::StringFind(uri, wanted, at + 1)) {
    const int32_t end = at + wanted.Length();
    if (end == uri.Length() || uri.At(end) == u'/') return 1;
  }
  return 0;
}

uint16_t ItemTypeOf(DataItem* item) {
  if (kv::Cast<ContainerDataItem>(item)) return ITEM_TYPE_FOLDER;
  if (kv::Cast<VideoDataItem>(item)) return ITEM_TYPE_VIDEO;
  if (kv::Cast<PictureDataItem>(item)) return ITEM_TYPE_PICTURE;
  if (kv::Cast<MusicDataItem>(item)) return ITEM_TYPE_MUSIC;
  if (kv::Cast<FlashDataItem>(item)) return ITEM_TYPE_FLASH;
  return ITEM_TYPE_NONE;
}

bool IsLoading(DataItem* item) { return item == kv::GetAutoObject<DataItem>(MediaLoadingDataItem); }

std::string Utf8(const kv::String& s) { return s.ToUtf8(); }

}  // namespace

bool UriWithin(const kv::String& uri, const kv::String& wanted) {
  if (wanted.Length() == 0 || uri.Length() < wanted.Length()) return false;
  if (kv::StringFind(uri, wanted, 0) != 0) return false;
  return uri.Length() == wanted.Length() || uri.At(wanted.Length()) == u'/';
}

bool UriOnRemovedDevice(const kv::String& uri, int32_t code) {
  const kv::String device = kv::GetAutoObject<MediaWrapper>(MainApp::MediaWrapper)->ConvertRemovableCode(code);
  return device.Length() > 0 && UriMatch(uri, device) > 0;
}

MediaWrapper::MediaWrapper() {
  registered_.Type = 1;
  sources_.Type = 2;
  controllers_.Count = 0;
}

// --- Lifecycle -----------------------------------------------------------------------------------

void MediaWrapper::PslInitialize(bool dlna, bool renderer, bool access) {
  if (serviceInitialized_) return;
  RegisterExports();
  const int32_t result = PslInit(globalPsl, this, dlna, renderer, access);
  if (result != PSL_OK) {
    kv::LogFailedCall("PslInit", result);
    return;
  }
  serviceInitialized_ = true;
  rendererEnabled_ = renderer;
  dlnaEnabled_ = dlna;
  SetEnableDlna(!dlna ? 0 : (renderer ? 3 : 1));
}

void MediaWrapper::PslDeinitialize() {
  if (!serviceInitialized_) return;
  const int32_t result = PslDeinit(globalPsl);
  if (result != PSL_OK) {
    kv::LogFailedCall("PslDeinit", result);
    return;
  }
  serviceInitialized_ = false;
}

void MediaWrapper::Initialize(Core::Group* root) {
  if (!root) kv::Panic("Media::MediaWrapper: Initialize without a root");
  Root = root;
  sources_.RootObject = root;
  decoded_ = kv::New<ServiceCanvas>();
  decoded_->Allocate(PSL_PICTURE_WIDTH, PSL_PICTURE_HEIGHT);
}

void MediaWrapper::Reset() {
  sources_.OnSetChanged(true);
  rendererActive_ = false;
  curMedium_ = nullptr;
  root_ = current_ = newest_ = deepest_ = nullptr;
  decoded_ = nullptr;
  playlist_ = nullptr;
  customPlaylist_ = nullptr;
  playlistClass_ = nullptr;
}

void MediaWrapper::RequestMediumList() {
  if (!Root) Root = TheRoot();
  if (!Root) kv::Log("Media::MediaWrapper: the medium list is asked before the root is known");
}

Core::Group* MediaWrapper::TheRoot() {
  if (!Root) {
    Root = kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper)->OnGetRoot();
    if (Root) kv::Trace("%s", {kv::LoadString(T_ROOT_TAKEN)});
  }
  return Root.get();
}

void MediaWrapper::Dispatch(Core::Event* event) {
  Core::Group* root = TheRoot();
  if (!root) return;
  // The root offers it to the bridge again first: this time it goes on.
  kv::Object* outer = dispatching_;
  dispatching_ = event;
  root->DispatchEvent(event);
  dispatching_ = outer;
}

// --- Events -------------------------------------------------------------------------------------

void MediaWrapper::Deliver(Core::Event* event) {
  if (!event) return;
  if (Core::Group* root = OnGetRoot())
    root->Broadcast(event, 0);
  else
    HandleEvent(event);
}

kv::Object* MediaWrapper::HandleEvent(Core::Event* event) {
  if (!event || event == dispatching_) return nullptr;
  if (!TheRoot()) {
    kv::Log("Media::MediaWrapper: no root to send media events to");
    return nullptr;
  }
  if (auto* status = kv::Cast<Events::StatusEvent>(event)) {
    kv::Trace("%s%i%i%i%i%i", {kv::LoadString(T_STATUS), static_cast<int32_t>(status->Code), status->SubCode0,
                                 status->SubCode1, status->SubCode2, status->SubCode3});
    if (status->Code == 18 && (status->SubCode0 == 4 || status->SubCode0 == 5)) SourcesChanged();
    Dispatch(event);
    return event;
  }
  if (kv::Cast<ServerEvent>(event)) {
    SourcesChanged();
    Dispatch(event);
    return event;
  }
  if (kv::Cast<NetworkEvent>(event)) {
    // The servers are gone with the network: the list is read again, and the
    // screens see it on the dispatch road (a player of a server leaves).
    sources_.OnSetChanged(true);
    Dispatch(event);
    return event;
  }
  if (auto* list = kv::Cast<DataItemListEvent>(event)) {
    DataItemList* page = list->Page.get();
    auto* source = page ? kv::Cast<ContainerDataSource>(page->Owner.get()) : nullptr;
    if (!source || !OnAStack(source)) {
      // The folder that asked was left: its late page goes.
      kv::Trace("%s", {kv::LoadString(T_PAGE_DROPPED)});
      return event;
    }
    const bool first = page->Start == 0 || page->Count == 0;
    source->AppendList(page);
    if (first) Dispatch(kv::New<DataListUpdateEvent>());
    return event;
  }
  if (auto* md = kv::Cast<MetadataEvent>(event)) {
    DataItem* item = md->Item.get();
    if (!item) {
      kv::Log("Media::MediaWrapper: a metadata event without its item");
      return event;
    }
    auto* record = kv::New<MediaItem>();
    record->Index = item->UID;
    record->Type = ItemTypeOf(item);
    record->Bitmap = item->Bitmap;
    record->Thumb = item->Thumb.get();
    record->Caption = item->Title;
    record->Uri = item->Uri;
    if (auto* media = kv::Cast<MediaDataItem>(item); media && media->Metadata) {
      if (auto* picture = kv::Cast<PictureMetadata>(media->Metadata.get())) {
        const int32_t at = kv::StringFindChar(picture->Date, u'T', 0);
        if (at >= 0)
          picture->Date = kv::StringInsert(kv::StringRemove(picture->Date, at, 1), kv::LoadString(DATE_SEPARATOR), at);
      }
      record->Metadata = media->Metadata.get();
    }
    auto* ready = kv::New<MetadataReadyEvent>();
    ready->Item = record;
    Dispatch(ready);
    return event;
  }
  if (kv::Cast<PictureEvent>(event)) {
    Dispatch(event);
    return event;
  }
  if (auto* dmr = kv::Cast<Events::DMRStatusEvent>(event)) {
    if (!rendererEnabled_) return event;
    kv::Trace("%s%i%i%s", {kv::LoadString(T_DMR_STATUS), static_cast<int32_t>(dmr->Kind),
                             static_cast<int32_t>(dmr->State), dmr->Uri});
    if (auto* item = kv::Cast<DataItem>(dmr->Item.get())) {
      rendererItem_.UID = item->UID;
      rendererItem_.Bitmap = item->Bitmap;
      rendererItem_.ThumbState = item->ThumbState;
      rendererItem_.Uri = item->Uri;
      rendererItem_.Title = item->Title;
      rendererItem_.Caption = item->Caption;
      rendererItem_.Thumb = item->Thumb;
    }
    rendererItem_.Uri = dmr->Uri;
    rendererItem_.Title = dmr->Title;
    rendererItem_.Caption = dmr->Title;
    rendererActive_ = true;
    Dispatch(event);
    return event;
  }
  if (auto* dmc = kv::Cast<DmcEvent>(event)) {
    kv::Trace("%s%s%i", {kv::LoadString(T_DMC_EVENT), dmc->Text, static_cast<int32_t>(dmc->Code)});
    controllers_.OnSetChanged(true);
    return nullptr;
  }
  return nullptr;
}

void MediaWrapper::SourcesChanged() {
  sources_.OnSetChanged(true);
  // What the set can browse now, in the log.
  const int32_t count = sources_.OnGetCount();
  std::string line = "media: " + std::to_string(count) + " source(s)";
  for (int32_t i = 0; i < count; ++i)
    if (auto* root = kv::Cast<RootDataItem>(sources_.GetItemAtAbsolute(i)))
      line += std::string(i ? "; " : ": ") + (kv::Cast<ServerRootDataItem>(root) ? "server \"" : "USB \"") +
              kv::EscapedText(Utf8(root->Title)) + "\" " + kv::EscapedText(Utf8(root->Uri), kv::kMaxLoggedPath);
  kv::Log(line);
}

bool MediaWrapper::IsOnStack(ContainerDataSource* root, ContainerDataSource* source) const {
  for (ContainerDataSource* s = root; s; s = s->Child.get())
    if (s == source) return true;
  return false;
}

bool MediaWrapper::OnAStack(ContainerDataSource* source) const {
  return IsOnStack(root_.get(), source) || IsOnStack(bgmRoot_.get(), source);
}

// --- Sources and servers ----------------------------------------------------------------------------

int32_t MediaWrapper::GetMediumCount() {
  Core::NoteSetRead("MediaSources");
  return sources_.OnGetCount();
}

MediumDevice* MediaWrapper::GetMedium(int32_t n) {
  auto* root = kv::Cast<DataItem>(sources_.GetItemAtAbsolute(n));
  return root ? ConvertToMedium(root) : nullptr;
}

MediumDevice* MediaWrapper::ConvertToMedium(DataItem* root) {
  auto* record = kv::New<MediumDevice>();
  if (kv::Cast<ServerRootDataItem>(root)) {
    record->Kind = MEDIUM_SERVER;
    record->Enabled = true;
  } else if (kv::Cast<UsbRootDataItem>(root)) {
    record->Kind = MEDIUM_USB;
    record->Enabled = true;
  } else {
    record->Kind = MEDIUM_OTHER;
  }
  if (root) {
    record->Caption = root->Caption;
    record->UID = root->UID;
    record->Uri = root->Uri;
  }
  return record;
}

int32_t MediaWrapper::GetCurMediumType() const { return curMedium_ ? curMedium_->Kind : MEDIUM_NONE; }

MediumDevice* MediaWrapper::GetMediumDetail(const kv::String& uri) {
  const int32_t count = sources_.OnGetCount();
  RootDataItem* found = nullptr;
  int32_t best = 0;
  for (int32_t i = 0; i < count; ++i)
    if (auto* root = kv::Cast<RootDataItem>(sources_.GetItemAtAbsolute(i))) {
      const int32_t m = UriMatch(root->Uri, uri);
      if (m > best) best = m, found = root;
    }
  if (!found) {
    kv::Trace("%s%s", {kv::LoadString(T_NO_MEDIUM), uri});
    return nullptr;
  }
  if (kv::Cast<ServerRootDataItem>(found)) {
    auto* server = kv::New<MediaServer>();
    server->Kind = MEDIUM_SERVER;
    server->IpAddress = found->IpAddr;
    server->MacAddress = found->MacAddress.Length() ? found->MacAddress : kv::LoadString(NO_MAC_ADDRESS);
    server->SupportWoL = found->WakeOnLan ? 1 : 0;
    server->UID = found->UID;
    server->Caption = found->Title;
    server->Uri = found->Uri;
    server->Registered = server->Enabled = true;
    server->Size1 = 1024;
    server->Size2 = 512;
    return server;
  }
  auto* usb = kv::New<UsbMediumDevice>();
  usb->Kind = MEDIUM_USB;
  usb->UID = found->UID;
  usb->Caption = found->Title;
  usb->Uri = found->Uri;
  usb->Size1 = 1024;
  usb->Size2 = 512;
  usb->Flag = usb->Enabled = true;
  usb->Text = kv::LoadString(USB_DEVICE_TEXT);
  return usb;
}

void MediaWrapper::GetMediaServerList() {
  Core::NoteSetRead("MediaSources");
  servers_.clear();
  const int32_t count = sources_.OnGetCount();
  for (int32_t i = 0; i < count; ++i)
    if (auto* server = kv::Cast<ServerRootDataItem>(sources_.GetItemAtAbsolute(i))) servers_.push_back(server);
  serverListBuilt_ = true;
}

int32_t MediaWrapper::GetMediaServerCount() { return static_cast<int32_t>(servers_.size()); }

MediaServer* MediaWrapper::GetMediaServer(int32_t n) {
  if (!serverListBuilt_ || n < 0 || n >= GetMediaServerCount()) return nullptr;
  RootDataItem* root = servers_[static_cast<size_t>(n)];
  auto* record = kv::New<MediaServer>();
  record->Kind = MEDIUM_SERVER;
  record->Enabled = true;
  record->UID = root->UID;
  record->Caption = root->Caption;
  record->Uri = root->Uri;
  record->IpAddress = root->IpAddr;
  record->MacAddress = root->MacAddress;
  record->SupportWoL = root->WakeOnLan ? 1 : 0;
  for (int32_t i = 0; i < registered_.OnGetCount(); ++i)
    if (auto* r = kv::Cast<DataItem>(registered_.GetItemAtAbsolute(i)); r && UriMatch(r->Uri, root->Uri) == 2)
      record->Registered = true;
  return record;
}

bool MediaWrapper::RegisterMediaServer(int32_t n) {
  if (!serverListBuilt_ || n < 0 || n >= GetMediaServerCount()) return false;
  if (GetRegisteredServerCount() >= kMaxRegistered) {
    kv::Log("Media::MediaWrapper: 8 media servers are registered; server " + std::to_string(n) + " is not");
    return false;
  }
  RootDataItem* server = servers_[static_cast<size_t>(n)];
  auto* copy = kv::New<RootDataItem>();
  copy->Caption = server->Caption;
  copy->UID = server->UID;
  copy->Uri = server->Uri;
  copy->Title = server->Title;
  copy->Count = server->Count;
  // The copy names the service's object but does not own it: the server's own item frees it.
  registered_.Insert(copy, false, registered_.OnGetLast());
  return true;
}

bool MediaWrapper::UnRegisterMediaServer(int32_t n) {
  if (!serverListBuilt_ || n < 0 || n >= GetMediaServerCount()) return false;
  const kv::String uri = servers_[static_cast<size_t>(n)]->Uri;
  for (int32_t i = 0; i < registered_.OnGetCount(); ++i)
    if (auto* r = kv::Cast<DataItem>(registered_.GetItemAtAbsolute(i)); r && UriMatch(r->Uri, uri) == 2) {
      registered_.Remove(r);
      return true;
    }
  return false;
}

int32_t MediaWrapper::GetRegisteredServerCount() {
  Core::NoteSetRead("MediaSources");
  return registered_.OnGetCount();
}

RootDataItem* MediaWrapper::GetRegisteredMeidaServer(int32_t n) {
  return kv::Cast<RootDataItem>(registered_.GetItemAtAbsolute(n));
}

bool MediaWrapper::RequestWakeOnLan(int32_t uid) {
  const int32_t count = sources_.OnGetCount();
  for (int32_t i = 0; i < count; ++i)
    if (auto* root = kv::Cast<DataItem>(sources_.GetItemAtAbsolute(i)); root && root->UID == uid) {
      kv::Trace("%s%i", {kv::LoadString(T_WAKE_ON_LAN), uid});
      return true;
    }
  return false;
}

// --- Controllers and the renderer ------------------------------------------------------------------

void MediaWrapper::RequestMediaControllorList() { controllers_.OnSetChanged(true); }

int32_t MediaWrapper::GetMediaControllorCount() {
  Core::NoteSetRead("MediaSources");
  return controllers_.OnGetCount();
}

MediaControllor* MediaWrapper::GetMediaControllor(int32_t n) {
  auto* item = kv::Cast<DmcRootDataItem>(controllers_.GetItemAtAbsolute(n));
  if (!item) return nullptr;
  auto* record = kv::New<MediaControllor>();
  record->Enabled = true;
  record->UID = item->UID;
  record->Caption = item->Caption;
  record->IpAddress = item->IpAddr;
  record->MacAddress = item->MacAddress;
  record->Allowed = item->Access != 0;
  kv::Trace("%s%s%b", {kv::LoadString(T_CONTROLLER), record->Caption, record->Allowed});
  return record;
}

void MediaWrapper::RegisterMediaControllor(int32_t n) {
  MediaControllor* c = GetMediaControllor(n);
  if (c && !c->Allowed)
    controllers_.OnSetChanged(true);
  else
    kv::Trace("%s%i", {kv::LoadString(T_CONTROLLER), n});
}

void MediaWrapper::UnRegisterMediaControllor(int32_t n) {
  MediaControllor* c = GetMediaControllor(n);
  if (c && c->Allowed)
    controllers_.OnSetChanged(true);
  else
    kv::Trace("%s%i", {kv::LoadString(T_CONTROLLER), n});
}

void MediaWrapper::RemoveMediaControllor(int32_t n) {
  kv::Trace("%s%i", {kv::LoadString(T_CONTROLLER), n});
  controllers_.OnSetChanged(true);
}

void MediaWrapper::EnableDlna(int32_t mode) {
  const int32_t result = PslMediaEnableDLNA(globalPsl, mode);
  if (result != PSL_OK) kv::LogFailedCall("PslMediaEnableDLNA", result);
  // The service lists servers or not from now on.
  sources_.OnSetChanged(true);
}

void MediaWrapper::SetEnableDlna(int32_t mode) {
  kv::Trace("%s%i", {kv::LoadString(T_SET_ENABLE_DLNA), mode});
  dlnaEnabled_ = (mode & 1) != 0;
  rendererEnabled_ = (mode & 2) != 0;
  EnableDlna(mode);
}

bool MediaWrapper::IsDmrConfiged() {
  kv::Log("DMR feature is disabled");
  return false;
}

bool MediaWrapper::GetDmrEnable() {
  kv::Log("GetDmrEnable : This API will be obsolete");
  return rendererEnabled_;
}

void MediaWrapper::SetDmrEnable(bool on) {
  if (on == rendererEnabled_) return;
  kv::Log("SetDmrEnable : This API will be obsolete");
  rendererEnabled_ = on;
}

kv::String MediaWrapper::GetDmrName() const { return kv::LoadString(DMR_NAME); }

void MediaWrapper::SetMaxDMCVolume(int32_t v) { kv::Log("SetMaxDMCVolume not support yet! " + std::to_string(v)); }

// --- Browsing ------------------------------------------------------------------------------------------

ContainerDataSource* MediaWrapper::NewFolderSource(int32_t mediaType, bool setFilter) {
  ContainerDataSource* source = nullptr;
  uint16_t kind = 0;
  switch (mediaType) {
    case MEDIA_TYPE_MUSIC:
      source = kv::New<MusicContainerDataSource>();
      kind = PSL_KIND_MUSIC;
      break;
    case MEDIA_TYPE_PICTURE:
      source = kv::New<PictureContainerDataSource>();
      kind = PSL_KIND_PICTURE;
      break;
    case MEDIA_TYPE_VIDEO:
      source = kv::New<VideoContainerDataSource>();
      kind = PSL_KIND_VIDEO;
      break;
    default:
      kv::Trace("%s%i", {kv::LoadString(T_NO_SOURCE_TYPE), mediaType});
      return nullptr;
  }
  if (setFilter) MediaFilter = kind;
  source->RootObject = Root.get();
  source->Loading = false;
  return source;
}

void MediaWrapper::Open(ContainerDataSource* source) {
  if (!source->GetItemAtAbsolute(0)) kv::Trace("%s", {kv::LoadString(T_FIRST_ITEM_NULL)});
}

void MediaWrapper::RequestBrowseMedium(int32_t n, int32_t mediaType) {
  ContainerDataSource* source = NewFolderSource(mediaType, true);
  auto* root = n >= 0 && n < sources_.OnGetCount() ? kv::Cast<RootDataItem>(sources_.GetItemAtAbsolute(n)) : nullptr;
  if (!source || !root) {
    curMedium_ = nullptr;
    PslMediaStop(globalPsl, MediaFilter);
    return;
  }
  source->Parent = root;
  PslMediaStart(globalPsl, MediaFilter, nullptr);
  root_ = current_ = deepest_ = newest_ = source;
  curMedium_ = ConvertToMedium(root);
  bgmBrowseActive_ = false;
  Open(source);
}

ContainerDataItem* MediaWrapper::FindFolder(ContainerDataSource* source, const kv::String& uri) {
  if (!source) return nullptr;
  ContainerDataItem* found = nullptr;
  int32_t best = 0;
  // Only what is loaded, and only the folders: they come before the files,
  // so reading stops at the first file (no file is made for nothing).
  for (DataItemList* page = source->FirstList.get(); page && best < 2; page = page->NextList.get())
    for (int32_t i = 0; i < page->Count; ++i) {
      auto* folder = kv::Cast<ContainerDataItem>(page->GetObjectAt(i));
      if (!folder) break;
      const int32_t m = kv::CompString(folder->Uri, uri) == 0 ? 2 : (kv::StringFind(folder->Uri, uri, 0) >= 0 ? 1 : 0);
      if (m > best) best = m, found = folder;
      if (best == 2) break;
    }
  return found;
}

void MediaWrapper::RequestBrowseFolder(const kv::String& uri, int32_t mediaType) {
  ContainerDataItem* folder = FindFolder(current_.get(), uri);
  if (!folder) {
    kv::Trace("%s%s", {kv::LoadString(T_NO_FOLDER), uri});
    return;
  }
  ContainerDataSource* source = NewFolderSource(mediaType, true);
  if (!source || !deepest_) return;
  source->Parent = folder;
  deepest_->Child = source;
  deepest_ = current_ = newest_ = source;
  bgmBrowseActive_ = false;
  Open(source);
}

bool MediaWrapper::BrowsePreviousFolder() {
  if (!root_ || root_ == current_) return false;
  if (!root_->Child) {
    current_ = deepest_ = root_;
    return true;
  }
  ContainerDataSource* before = root_.get();
  while (before->Child && before->Child->Child) before = before->Child.get();
  before->Child = nullptr;
  current_ = deepest_ = before;
  return true;
}

bool MediaWrapper::IsInRootFolder() const { return !root_ || root_ == current_; }

int32_t MediaWrapper::GetCurrentFolderDepth() const {
  int32_t depth = 0;
  for (ContainerDataSource* s = root_.get(); s && s != current_.get(); s = s->Child.get()) ++depth;
  return current_ ? depth : 0;
}

kv::String MediaWrapper::GetCurrentFolder() const {
  auto* item = current_ ? kv::Cast<DataItem>(current_->Parent.get()) : nullptr;
  return item ? item->Title : kv::String();
}

bool MediaWrapper::IsBrowseDataReady() const { return current_ && current_->FirstList; }

int32_t MediaWrapper::GetMediaItemCount() { return current_ ? std::max(current_->OnGetCount(), 0) : 0; }

MediaItem* MediaWrapper::RecordOf(ContainerDataSource* source, int32_t n, bool bgm) {
  if (!source) {
    kv::Trace("%s%i", {kv::LoadString(T_NO_CURRENT_SOURCE), n});
    return nullptr;
  }
  DataItem* item = source->GetItemAtAbsolute(n);
  if (!item || IsLoading(item)) return nullptr;
  const uint16_t type = ItemTypeOf(item);
  if (type == ITEM_TYPE_NONE || (bgm && type != ITEM_TYPE_FOLDER && type != ITEM_TYPE_MUSIC)) {
    kv::Trace("%s%i", {kv::LoadString(T_NO_RECORD), n});
    return nullptr;
  }
  auto* record = kv::New<MediaItem>();
  record->Type = type;
  record->Bitmap = item->Bitmap;
  record->Caption = item->Caption;
  record->Uri = item->Uri;
  record->Index = n;
  record->Thumb = item->Thumb.get();
  if (auto* media = kv::Cast<MediaDataItem>(item)) record->Metadata = media->Metadata.get();
  return record;
}

MediaItem* MediaWrapper::GetMediaItem(int32_t n) { return RecordOf(current_.get(), n, false); }

bool MediaWrapper::IsFolderItem(int32_t n) {
  return current_ && !kv::Cast<MediaDataItem>(current_->GetItemAtAbsolute(n));
}

void MediaWrapper::SelectMediaItem(int32_t n) {
  if (auto* item = current_ ? kv::Cast<MediaDataItem>(current_->GetItemAtAbsolute(n)) : nullptr) item->Select();
}

int32_t MediaWrapper::RequestMetadata(int32_t n) {
  if (!current_) {
    kv::Trace("%s%i", {kv::LoadString(T_NO_CURRENT_SOURCE), n});
    return 0;
  }
  return RequestItemMetadata(kv::Cast<MediaDataItem>(current_->GetItemAtAbsolute(n)));
}

int32_t MediaWrapper::RequestMetadataOf(const DataItem& shown) {
  if (!current_ || shown.Uri.Length() == 0) return 0;
  if (DataItem* item = FolderEntryOf(shown)) return RequestItemMetadata(kv::Cast<MediaDataItem>(item));
  for (DataItemList* page = current_->FirstList.get(); page; page = page->NextList.get())
    for (int32_t i = 0; i < page->Count; ++i)
      if (DataItem* item = page->GetObjectAt(i); item && kv::CompString(item->Uri, shown.Uri) == 0)
        return RequestItemMetadata(kv::Cast<MediaDataItem>(item));
  return 0;
}

DataItem* MediaWrapper::FolderEntryOf(const DataItem& entry, int32_t* index) {
  // A folder lists its sub-folders first, then its files in the order the
  // playlist made of it (mode 5) holds them: the playlist's entry n is the
  // folder's entry (entries - files + n). Only that row is built (building a
  // row asks the service for its thumbnail), and its Uri must match.
  if (!current_ || !playlist_ || playlist_->PlaylistMode != 5 || entry.Group() != playlist_.get() ||
      playlist_->Count <= 0 || entry.UID < 0)
    return nullptr;
  const int32_t n = current_->OnGetCount() - playlist_->Count + entry.UID;
  for (DataItemList* page = current_->FirstList.get(); page; page = page->NextList.get())
    if (n >= page->Start && n < page->Start + page->Count) {
      DataItem* item = page->GetObjectAt(n - page->Start);
      if (!item || kv::CompString(item->Uri, entry.Uri) != 0) return nullptr;
      if (index) *index = n;
      return item;
    }
  return nullptr;
}

DataItem* MediaWrapper::FolderEntryMatching(const DataItem& entry, int32_t* index) {
  if (DataItem* item = FolderEntryOf(entry, index)) return item;
  // Else the folder's entry whose Uri matches best: the same Uri, or one
  // ending in it at a path step.
  DataItem* found = nullptr;
  int32_t best = 0;
  for (DataItemList* page = current_ ? current_->FirstList.get() : nullptr; page && best < 2;
       page = page->NextList.get())
    for (int32_t i = 0; i < page->Count && best < 2; ++i)
      if (DataItem* item = page->GetObjectAt(i)) {
        const int32_t m = UriMatch(item->Uri, entry.Uri);
        if (m > best) {
          best = m;
          found = item;
          if (index) *index = page->Start + i;
        }
      }
  return found;
}

int32_t MediaWrapper::RequestItemMetadata(MediaDataItem* item) {
  if (!item) return 0;
  const int32_t status = PslMediaRequestMetadata(globalPsl, item);
  if (status != PSL_OK) {
    kv::LogFailedCall("PslMediaRequestMetadata", status);
    return 0;
  }
  return 1;
}

void MediaWrapper::SetThumbnailSize(int32_t width, int32_t height) {
  thumbW_ = width;
  thumbH_ = height;
}

void MediaWrapper::ReBrowseCurrentFolder() {
  if (!current_) return;
  current_->DropPages();
  current_->Notify();
  Open(current_.get());
}

void MediaWrapper::SetMediaSortMode(uint16_t mode) {
  MediaSortMode = mode;
  const int32_t status = PslMediaSetSortMode(globalPsl, mode);
  if (status != PSL_OK) kv::LogFailedCall("PslMediaSetSortMode", status);
}

// --- Background music -------------------------------------------------------------------------------------

void MediaWrapper::RequestBgmBrowse(const kv::String& uri) {
  if (!curMedium_) {
    kv::Trace("%s", {kv::LoadString(T_NO_MEDIUM)});
    return;
  }
  if (bgmCurrent_ && kv::CompString(uri, kv::LoadString(BGM_ROOT)) != 0) {
    ContainerDataItem* folder = FindFolder(bgmCurrent_.get(), uri);
    if (!folder) return;
    ContainerDataSource* source = NewFolderSource(MEDIA_TYPE_MUSIC, false);
    source->Parent = folder;
    bgmDeepest_->Child = source;
    bgmDeepest_ = bgmCurrent_ = bgmNewest_ = source;
    bgmBrowseActive_ = true;
    Open(source);
    return;
  }
  RootDataItem* root = nullptr;
  int32_t best = 0;
  for (int32_t i = 0; i < sources_.OnGetCount(); ++i)
    if (auto* r = kv::Cast<RootDataItem>(sources_.GetItemAtAbsolute(i))) {
      const int32_t m = UriMatch(r->Uri, curMedium_->Uri);
      if (m > best) best = m, root = r;
    }
  if (!root) {
    kv::Trace("%s%s", {kv::LoadString(T_NO_MEDIUM), curMedium_->Uri});
    return;
  }
  ContainerDataSource* source = NewFolderSource(MEDIA_TYPE_MUSIC, false);
  source->Parent = root;
  PslMediaStart(globalPsl, PSL_KIND_MUSIC, nullptr);
  bgmRoot_ = bgmDeepest_ = bgmCurrent_ = bgmNewest_ = source;
  bgmBrowseActive_ = true;
  Open(source);
}

bool MediaWrapper::BrowseBgmPreviousFolder() {
  if (!bgmRoot_ || bgmRoot_ == bgmCurrent_) return false;
  ContainerDataSource* before = bgmRoot_.get();
  while (before->Child && before->Child->Child) before = before->Child.get();
  before->Child = nullptr;
  bgmCurrent_ = bgmDeepest_ = before;
  return true;
}

bool MediaWrapper::IsInBgmRootFolder() const { return !bgmRoot_ || bgmRoot_ == bgmCurrent_; }

int32_t MediaWrapper::GetBgmCurrentFolderDepth() const {
  int32_t depth = 0;
  for (ContainerDataSource* s = bgmRoot_.get(); s && s != bgmCurrent_.get(); s = s->Child.get()) ++depth;
  return bgmCurrent_ ? depth : 0;
}

kv::String MediaWrapper::GetBgmCurrentFolder() const {
  auto* item = bgmCurrent_ ? kv::Cast<DataItem>(bgmCurrent_->Parent.get()) : nullptr;
  return item ? item->Title : kv::String();
}

bool MediaWrapper::IsBgmBrowseDataReady() const { return bgmCurrent_ && bgmCurrent_->FirstList; }

int32_t MediaWrapper::GetBgmItemCount() { return bgmCurrent_ ? std::max(bgmCurrent_->OnGetCount(), 0) : 0; }

MediaItem* MediaWrapper::GetBgmItem(int32_t n) { return RecordOf(bgmCurrent_.get(), n, true); }

bool MediaWrapper::IsBgmFolderItem(int32_t n) {
  return bgmCurrent_ && !kv::Cast<MediaDataItem>(bgmCurrent_->GetItemAtAbsolute(n));
}

void MediaWrapper::SelectBgmItem(int32_t n) {
  if (auto* item = bgmCurrent_ ? kv::Cast<MediaDataItem>(bgmCurrent_->GetItemAtAbsolute(n)) : nullptr)
    item->Select();
}

// --- Playlists and playback -----------------------------------------------------------------------------

void MediaWrapper::Nav(int32_t code, int32_t a, int32_t b) {
  const int32_t status = PslExternalSendNavCommand(globalPsl, code, a, b);
  if (status != PSL_OK) kv::LogFailedCall("PslExternalSendNavCommand", status);
}

void MediaWrapper::PlaylistClassFor(uint16_t filter) {
  switch (filter) {
    case PSL_KIND_PICTURE:
      playlistClass_ = &PicturePlaylistDataSource::StaticClass();
      break;
    case PSL_KIND_VIDEO:
      playlistClass_ = &VideoPlaylistDataSource::StaticClass();
      break;
    case PSL_KIND_MUSIC:
      playlistClass_ = &MusicPlaylistDataSource::StaticClass();
      break;
    default:
      playlistClass_ = nullptr;
  }
}

void MediaWrapper::SetPlaylist(uint16_t mode, DataItem* item, ListWidgets::DataSource* source) {
  if (mode == 0 || mode > 5) kv::Panic("Media::MediaWrapper: no playlist mode 0 or above 5");
  if (mode == 1) {
    if (!customPlaylist_) {
      kv::Log("Media::MediaWrapper: no custom playlist to play");
      return;
    }
    playlist_ = customPlaylist_;
  } else {
    auto* list = kv::Cast<MediaPlaylistDataSource>(playlistClass_ ? kv::NewObjectIndirect(playlistClass_) : nullptr);
    if (!list) {
      kv::Log("Media::MediaWrapper: no playlist class for the media kind " + std::to_string(MediaFilter));
      return;
    }
    list->Initialize(mode, item, source);
    playlist_ = list;
  }
  const int32_t status = PslMediaSetPlaylist(globalPsl, playlist_->Handle, MediaFilter, mode);
  if (status != PSL_OK) kv::LogFailedCall("PslMediaSetPlaylist", status);
}

MediaPlaylistDataSource* MediaWrapper::SetSlideshowPlaylist() {
  auto* folder = current_ ? kv::Cast<ContainerDataItem>(current_->Parent.get()) : nullptr;
  if (!folder) return nullptr;
  playlistClass_ = &PicturePlaylistDataSource::StaticClass();
  SetPlaylist(5, folder, current_.get());
  return playlist_.get();
}

ListWidgets::DataItem* MediaWrapper::FindInPlaylist(MediaPlaylistDataSource* list, const kv::String& uri) {
  if (!list) return nullptr;
  ListWidgets::DataItem* found = nullptr;
  int32_t best = 0;
  const int32_t count = list->OnGetCount();
  for (int32_t i = 0; i < count && best < 2; ++i)
    if (auto* item = kv::Cast<DataItem>(list->GetItemAtAbsolute(i))) {
      const int32_t m = UriMatch(item->Uri, uri);
      if (m > best) best = m, found = item;
    }
  return found;
}

void MediaWrapper::SetPlaylistCurrent(const kv::String& uri) {
  if (ListWidgets::DataItem* item = FindInPlaylist(playlist_.get(), uri)) playlist_->OnSetCurrent(item);
}

MediaItem* MediaWrapper::GetPlaylistCurrent() {
  if (!playlist_ || !current_) return nullptr;
  auto* now = kv::Cast<DataItem>(playlist_->OnGetCurrent());
  if (!now || now->Uri.Length() == 0) return nullptr;
  int32_t index = -1;
  return FolderEntryMatching(*now, &index) ? GetMediaItem(index) : nullptr;
}

int32_t MediaWrapper::GetPlaylistCurUID() {
  ListWidgets::DataItem* now = playlist_ ? playlist_->OnGetCurrent() : nullptr;
  return now ? now->UID : -1;
}

int32_t MediaWrapper::GetPlaylistTotal() { return playlist_ ? playlist_->OnGetCount() : 0; }

uint16_t MediaWrapper::GetCurPlaylistMode() { return playlist_ ? playlist_->PlaylistMode : 0; }

void MediaWrapper::RequestPlay(MediaItem* record, uint16_t mode) {
  if (!record || !current_) {
    kv::Trace("%s", {kv::LoadString(T_REQUEST_PLAY)});
    return;
  }
  PlaylistClassFor(MediaFilter);
  if (playlistClass_) {
    if (mode == 4) {
      auto* item = kv::Cast<MediaDataItem>(current_->GetItemAtAbsolute(record->Index));
      if (!item) {
        kv::Log("Media::MediaWrapper: item " + std::to_string(record->Index) + " is no media item to play");
        return;
      }
      SetPlaylist(4, item, nullptr);
    } else if (mode == 1 || mode == 2) {
      SetPlaylist(mode, nullptr, nullptr);
      SetPlaylistCurrent(record->Uri);
    } else if (mode == 5) {
      SetPlaylist(5, kv::Cast<ContainerDataItem>(current_->Parent.get()), current_.get());
      SetPlaylistCurrent(record->Uri);
    }
  }
  if (MediaFilter == PSL_KIND_VIDEO) kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper)->SetDisplayWindow(0, 0, 960, 540);
  if (mode == 4) {
    Nav(3);
    return;
  }
  if (MediaFilter == PSL_KIND_VIDEO || MediaFilter == PSL_KIND_MUSIC) Nav(38, 1, GetPlaylistCurUID() + 1);
}

void MediaWrapper::RequestMoviePreviewPlay(MediaItem* record, uint16_t mode) {
  if (MediaFilter != PSL_KIND_VIDEO) {
    playlistClass_ = nullptr;
    kv::Trace("%s", {kv::LoadString(T_REQUEST_PREVIEW)});
    return;
  }
  if (!record || !current_) {
    kv::Trace("%s", {kv::LoadString(T_REQUEST_PREVIEW)});
    return;
  }
  playlistClass_ = &VideoPlaylistDataSource::StaticClass();
  if (mode == 4) {
    auto* item = kv::Cast<MediaDataItem>(current_->GetItemAtAbsolute(record->Index));
    if (!item) return;
    SetPlaylist(4, item, nullptr);
    Nav(3);
  } else {
    if (mode == 5) SetPlaylist(5, kv::Cast<ContainerDataItem>(current_->Parent.get()), current_.get());
    else SetPlaylist(mode, nullptr, nullptr);
    SetPlaylistCurrent(record->Uri);
    Nav(38, 1, GetPlaylistCurUID() + 1);
  }
  kv::Trace("%s%s", {kv::LoadString(T_REQUEST_PREVIEW), record->Caption});
}

void MediaWrapper::SetRepeatMode(uint16_t mode) {
  kv::Trace("%s%i", {kv::LoadString(T_REPEAT), static_cast<int32_t>(mode)});
  const int32_t status = PslGuiSetRepeatMode(globalPsl, mode);
  if (status != PSL_OK) kv::LogFailedCall("PslGuiSetRepeatMode", status);
}

void MediaWrapper::StartMedia(int32_t kind) { PslMediaStart(globalPsl, kind, nullptr); }

void MediaWrapper::StopMedia(int32_t kind) { PslMediaStop(globalPsl, kind); }

void MediaWrapper::GetPlaybackInfo(Overlay::PlaybackInfo* info) {
  if (!info) return;
  const int32_t status = PslGuiPlaybackGetInfo(globalPsl, &info->Record);
  if (status != PSL_OK) kv::LogFailedCall("PslGuiPlaybackGetInfo", status);
  if (rendererActive_) {
    info->SetTitle(rendererItem_.Caption);
    return;
  }
  if (!playlist_ || !current_) return;
  auto* now = kv::Cast<DataItem>(playlist_->OnGetCurrent());
  if (!now) return;
  DataItem* item = FolderEntryMatching(*now);
  info->SetTitle(item ? item->Title : kv::String());
}

void MediaWrapper::SetBgmPlaylist(uint16_t mode, MediaItem* record) {
  bgmPlaylist_ = kv::New<MusicPlaylistDataSource>();
  if (!bgmCurrent_ || !record) {
    kv::Trace("%s", {kv::LoadString(T_BGM_PLAY)});
    return;
  }
  bgmPlaylistMode_ = mode;
  bgmRecord_ = record;
  if (mode == 4) {
    auto* item = kv::Cast<MediaDataItem>(bgmCurrent_->GetItemAtAbsolute(record->Index));
    if (!item) {
      bgmPlaylist_ = nullptr;
      return;
    }
    bgmPlaylist_->Initialize(4, item, nullptr);
  } else if (mode == 1 || mode == 2) {
    bgmPlaylist_->Initialize(mode, nullptr, nullptr);
  } else if (mode == 5) {
    bgmPlaylist_->Initialize(5, kv::Cast<ContainerDataItem>(bgmCurrent_->Parent.get()), bgmCurrent_.get());
  } else {
    kv::Trace("%s%i", {kv::LoadString(T_BGM_PLAY), static_cast<int32_t>(mode)});
    bgmPlaylist_ = nullptr;
  }
}

void MediaWrapper::SetBgmPlaylistCurrent(const kv::String& uri) {
  if (ListWidgets::DataItem* item = FindInPlaylist(bgmPlaylist_.get(), uri)) bgmPlaylist_->OnSetCurrent(item);
}

void MediaWrapper::RequestBgmPlay() {
  if (bgmPlaylist_) {
    const int32_t status = PslMediaSetPlaylist(globalPsl, bgmPlaylist_->Handle, PSL_KIND_MUSIC, bgmPlaylistMode_);
    if (status != PSL_OK) kv::LogFailedCall("PslMediaSetPlaylist", status);
  }
  if (bgmRecord_) SetBgmPlaylistCurrent(bgmRecord_->Uri);
  ListWidgets::DataItem* now = bgmPlaylist_ ? bgmPlaylist_->OnGetCurrent() : nullptr;
  const int32_t n = now ? now->UID + 1 : 0;
  Nav(38, 1, n);
  Nav(3);
  SetRepeatMode(2);
  kv::Trace("%s%i", {kv::LoadString(T_BGM_PLAY), n});
  bgmPlaying_ = true;
}

void MediaWrapper::RequestBgmStop() {
  kv::Trace("%s", {kv::LoadString(T_BGM_STOP)});
  if (!bgmPlaying_) return;
  Nav(5);
  bgmPlaying_ = false;
}

void MediaWrapper::BgmReset() {
  kv::Trace("%s", {kv::LoadString(T_BGM_RESET)});
  if (bgmPlaylist_) StopMedia(PSL_KIND_MUSIC);
  bgmPlaying_ = false;
  bgmBrowseActive_ = false;
  bgmNewest_ = bgmRoot_ = bgmDeepest_ = bgmCurrent_ = nullptr;
  bgmPlaylist_ = nullptr;
  bgmRecord_ = nullptr;
}

// --- Video window and pictures ------------------------------------------------------------------------

void MediaWrapper::GetVideoWindow() {
  int32_t x = 0, y = 0, w = 1920, h = 1080;
  const int32_t status = XPM_GetDisplayWindow(0, &x, &y, &w, &h);
  if (status != 0) kv::LogFailedCall("XPM_GetDisplayWindow", status);
  videoWindow_.X = x;
  videoWindow_.Y = y;
  videoWindow_.Width = w;
  videoWindow_.Height = h;
}

void MediaWrapper::RestoreVideoWindow() {
  const VideoPlayWindow& v = videoWindow_;
  const int32_t status = XPM_SetDisplayWindow(0, v.X, v.Y, v.Width, v.Height);
  if (status != 0) kv::LogFailedCall("XPM_SetDisplayWindow", status);
  kv::Log("Restore Video Window as " + std::to_string(v.X) + ", " + std::to_string(v.Y) + ", " +
          std::to_string(v.Width) + ", " + std::to_string(v.Height));
}

void MediaWrapper::SetVideoPreviewWindow(int32_t x, int32_t y, int32_t width, int32_t height) {
  const int32_t status = XPM_SetDisplayWindow(0, x, y, width, height);
  if (status != 0) kv::LogFailedCall("XPM_SetDisplayWindow", status);
  kv::Log("Set Video Window as " + std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(width) +
          ", " + std::to_string(height));
}

void MediaWrapper::SetMediaPreviewFrame(int32_t x, int32_t y, int32_t width, int32_t height) {
  kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper)->SetDisplayWindow(x * 2, y * 2, width * 2, height * 2);
}

void MediaWrapper::CopyUserWallpaper(int32_t n, const kv::String& name) {
  kv::Trace("%s%i%s", {kv::LoadString(T_WALLPAPER), n, name});
  auto* item = current_ ? kv::Cast<PictureDataItem>(current_->GetItemAtAbsolute(n)) : nullptr;
  if (!item) return;
  const int32_t status = PslMediaRequestPicture(globalPsl, item, 1);
  if (status != PSL_OK) kv::LogFailedCall("PslMediaRequestPicture", status);
}

kv::Point MediaWrapper::SetBitmapOrientation(Resources::Bitmap* bitmap, kv::Point size, int32_t angle) {
  auto* canvas = kv::Cast<ServiceCanvas>(bitmap);
  const bool angleOk = angle == 90 || angle == 180 || angle == 270 || angle == 360;
  if (!bitmap || size.x < 1 || size.y < 1 || !angleOk) return {0, 0};
  if (!canvas || !canvas->ServiceSurface()) {
    kv::Log("Media::MediaWrapper: the bitmap to turn holds no picture of the service");
    return {0, 0};
  }
  int32_t w = size.x, h = size.y;
  const int32_t status = PslGuiRotateImage(globalPsl, canvas->ServiceSurface(), &w, &h, angle);
  if (status != PSL_OK) {
    kv::LogFailedCall("PslGuiRotateImage", status);
    return {0, 0};
  }
  kv::NotifyObjObservers(canvas);
  return {w, h};
}

ServiceCanvas* MediaWrapper::GetDecodedPicture() {
  kv::Trace("%s", {kv::LoadString(T_DECODED_PICTURE)});
  return decoded_.get();
}

bool MediaWrapper::IsUserWallpaperSet() {
  char path[PSL_PATH_MAX] = {0};
  PslMediaWallpaperPath(globalPsl, path);
  return path[0] != 0;
}

kv::String MediaWrapper::GetWallpaperPath() {
  char path[PSL_PATH_MAX] = {0};
  PslMediaWallpaperPath(globalPsl, path);
  // The copy keeps the bytes of the photo's own name, which need not be UTF-8.
  if (path[0]) return kv::PathFromBytes(path);
  kv::Trace("%s", {kv::LoadString(T_WALLPAPER)});
  std::string name(psl::MediaDefaultWallpaperName);
  if (name.size() > 255) name.resize(255);
  struct stat st{};
  if (stat(name.c_str(), &st) == 0) return kv::String::FromUtf8(name);
  kv::Trace("%s", {kv::LoadString(T_NO_WALLPAPER)});
  return {};
}

void MediaWrapper::DeleteUserWallpaper(const kv::String& path) {
  kv::Log(">>>>>DeleteUserWallpaper: Delete user wallpaper " + kv::EscapedText(Utf8(path), kv::kMaxLoggedPath));
  const int32_t status = PslMediaWallpaperDelete(globalPsl);
  if (status != PSL_OK) kv::LogFailedCall("PslMediaWallpaperDelete", status);
}

bool MediaWrapper::IsAVCHDContentPresent() {
  if (!curMedium_) return false;
  int32_t flag = 0;
  PslMediaAVCHDGetMediumAvailabliity(globalPsl, curMedium_->UID, &flag, 0);
  return flag != 0;
}

kv::String MediaWrapper::ConvertRemovableCode(int32_t code) const {
  static constexpr kv::TextId kDevices[] = {DEVICE_USB1, DEVICE_USB2, DEVICE_USB3, DEVICE_USB4, DEVICE_USB5};
  if (code < 242 || code > 246) return {};
  return kv::LoadString(kDevices[code - 242]);
}

}  // namespace Media
