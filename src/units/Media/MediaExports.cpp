// The table of constructors and setters the media service builds our
// objects with (psl::SetExports). The service calls them on the GUI task
// only; an object it hands back is one of ours, so every entry checks its
// class and ignores (logs) anything else.
#include <cstring>
#include <string>

#include "platform/psl/psl.h"
#include "runtime/path_text.h"
#include "runtime/ref.h"
#include "runtime/trace.h"
#include "units/Core/Group.h"
#include "units/Media/DataItems.h"
#include "units/Media/DataSources.h"
#include "units/Media/MediaEvents.h"
#include "units/Events/DMRStatusEvent.h"
#include "units/Events/StatusEvent.h"
#include "units/Media/MediaWrapper.h"
#include "units/MessageDialogs/MessageDialogs.h"

namespace Media {

namespace {

kv::Object* Obj(PslObject o) { return static_cast<kv::Object*>(o); }
kv::String Text(const char* s) { return kv::String::FromUtf8(s ? s : ""); }
// A file's uri keeps its bytes, also those that are no UTF-8.
kv::String Path(const char* s) { return kv::PathFromBytes(s ? s : ""); }

template <class T>
T* As(PslObject o, const char* what) {
  T* t = kv::Cast<T>(Obj(o));
  if (!t && o) kv::Log(std::string("media service: ") + what + " is handed an object of another class");
  return t;
}

const kv::Class* RootClass(int32_t c) {
  switch (c) {
    case PSL_ROOT_USB:
      return &UsbRootDataItem::StaticClass();
    case PSL_ROOT_SERVER:
      return &ServerRootDataItem::StaticClass();
    case PSL_ROOT_CONTROLLER:
      return &DmcRootDataItem::StaticClass();
    default:
      return nullptr;
  }
}

PslObject CreateRoot(PslObject source, int32_t cls, const char* uri, const char* title, uint32_t handle, int32_t count,
                     bool recursive, const char* ip) {
  auto* s = As<RootDataSource>(source, "createRoot");
  return s ? s->CreateRoot(RootClass(cls), Path(uri), Text(title), handle, count, recursive, Text(ip)) : nullptr;
}

PslObject CreateContainer(PslObject source, const char* uri, const char* title, uint32_t handle, int32_t count,
                          bool recursive, bool paging) {
  auto* s = As<ContainerDataSource>(source, "createContainer");
  return s ? s->CreateContainer(Path(uri), Text(title), handle, count, recursive, paging) : nullptr;
}

PslObject CreateItem(PslObject source, const char* uri, const char* title, int32_t /*unused*/, uint32_t handle) {
  auto* s = As<ContainerDataSource>(source, "createItem");
  return s ? s->CreateItem(Path(uri), Text(title), handle) : nullptr;
}

bool UriOf(PslObject o, char* out, size_t size) {
  auto* item = kv::Cast<DataItem>(Obj(o));
  if (!item || !out || size == 0) return false;
  const std::string uri = kv::PathToBytes(item->Uri);
  if (uri.empty() || uri.size() >= size) return false;
  std::memcpy(out, uri.c_str(), uri.size() + 1);
  return true;
}

uint32_t HandleOf(PslObject o) {
  if (auto* item = kv::Cast<DataItem>(Obj(o))) return item->Handle;
  if (auto* source = kv::Cast<ListWidgets::DataSource>(Obj(o)))
    if (auto* folder = kv::Cast<DataItem>(source->Parent.get())) return folder->Handle;
  return 0;
}

void SetServerInfo(PslObject root, const char* mac, bool wakeOnLan) {
  if (auto* r = As<RootDataItem>(root, "setServerInfo")) {
    r->MacAddress = Text(mac);
    r->WakeOnLan = wakeOnLan;
  }
}

void InitController(PslObject root, const char* text, const char* mac, int8_t access) {
  if (auto* c = As<DmcRootDataItem>(root, "initController")) c->Initialize(Text(text), Text(mac), access);
}

PslObject CreateMetadata(PslObject item) {
  auto* i = As<MediaDataItem>(item, "createMetadata");
  return i ? i->CreateMetadata() : nullptr;
}

void InitPicture(PslObject md, const char* a, const char* b, const char* c, const char* d, const char* e, int32_t v) {
  if (auto* m = As<PictureMetadata>(md, "initPictureMetadata")) m->Initialize(Text(a), Text(b), Text(c), Text(d), Text(e), v);
}

void InitMusic(PslObject md, const char* a, const char* b, const char* c, const char* d, const char* e, const char* f,
               int32_t v) {
  if (auto* m = As<MusicMetadata>(md, "initMusicMetadata"))
    m->Initialize(Text(a), Text(b), Text(c), Text(d), Text(e), Text(f), v);
}

void InitVideo(PslObject md, const char* text) {
  if (auto* m = As<VideoMetadata>(md, "initVideoMetadata")) m->Initialize(Text(text));
}

void SetPictureInfo(PslObject item, uint16_t state, int32_t w, int32_t h) {
  if (auto* p = As<PictureDataItem>(item, "setPictureInfo")) p->SetPictureInfo(state, w, h);
}

void SetPictureState(PslObject item, uint16_t state) {
  if (auto* p = As<PictureDataItem>(item, "setPictureState")) p->OnSetPictureState(state);
}

dfb::Surface* CreateThumb(PslObject item) {
  auto* i = As<DataItem>(item, "createThumb");
  ServiceCanvas* c = i ? i->CreateThumb() : nullptr;
  return c ? c->ServiceSurface() : nullptr;
}

void ThumbSize(int32_t* width, int32_t* height) {
  const kv::Point size = kv::GetAutoObject<MediaWrapper>(MainApp::MediaWrapper)->ThumbnailSize();
  *width = size.x;
  *height = size.y;
}

void SetThumbState(PslObject item, uint16_t state) {
  if (auto* i = As<DataItem>(item, "setThumbState")) {
    i->OnSetThumbState(state);
    // The rows showing the thumbnail redraw.
    if (i->Thumb) kv::NotifyObjObservers(i->Thumb.get());
  }
}

void DestroyThumb(PslObject item, uint16_t state) {
  if (auto* i = As<DataItem>(item, "destroyThumb")) i->DestroyThumb(state);
}

dfb::Surface* DecodedPicture(PslObject item) {
  auto* picture = kv::Cast<PictureDataItem>(static_cast<kv::Object*>(item));
  if (auto* own = picture ? kv::Cast<ServiceCanvas>(picture->Picture.get()) : nullptr)
    if (dfb::Surface* s = own->PictureSurface()) return s;
  ServiceCanvas* c = kv::GetAutoObject<MediaWrapper>(MainApp::MediaWrapper)->GetDecodedPicture();
  return c ? c->PictureSurface() : nullptr;
}

PslObject NewListEvent(PslObject source, uint32_t list, int32_t count, int32_t start) {
  auto* s = As<ContainerDataSource>(source, "newListEvent");
  if (!s) return nullptr;
  auto* page = kv::New<DataItemList>();
  page->Handle = list;
  page->Count = count < 0 ? 0 : count;
  page->Start = start < 0 ? 0 : start;
  page->Owner = s;
  return kv::New<DataItemListEvent>()->Initialize(page);
}

PslObject NewMetadataEvent(PslObject item) {
  return kv::New<MetadataEvent>()->Initialize(As<DataItem>(item, "newMetadataEvent"));
}

PslObject NewPictureEvent(PslObject item, int32_t value) {
  auto* e = kv::New<PictureEvent>()->Initialize(value);
  e->Item = As<DataItem>(item, "newPictureEvent");
  return e;
}

PslObject NewNetworkEvent(int32_t value) { return kv::New<NetworkEvent>()->Initialize(value); }

PslObject NewServerEvent(uint8_t code, const char* text) { return kv::New<ServerEvent>()->Initialize(code, Text(text)); }

// The event reaches the root's broadcast road, the bridge first.
void Deliver(PslObject event) {
  kv::GetAutoObject<MediaWrapper>(MainApp::MediaWrapper)->Deliver(kv::Cast<Core::Event>(Obj(event)));
}

PslObject NewStatusEvent(uint16_t code, int32_t v0, int32_t v1, int32_t v2, int32_t v3) {
  auto* e = kv::New<Events::StatusEvent>();
  e->Initialize(code, v0, v1, v2, v3);
  return e;
}

PslObject NewDmrStatusEvent(uint16_t kind, uint16_t state, const char* uri, const char* title) {
  auto* e = kv::New<Events::DMRStatusEvent>();
  e->Initialize(kind, state, Path(uri), title);
  return e;
}

PslObject NewMediaErrorEvent(int32_t dialog, int32_t code, int32_t subCode, const char* text) {
  static const kv::Class* const kDialogs[] = {
      &MessageDialogs::MediaInvalidFileFormatDialog::StaticClass(),
      &MessageDialogs::MediaNotSuppAudioCodecDialog::StaticClass(),
      &MessageDialogs::MediaNotSuppAudioSampDialog::StaticClass(),
      &MessageDialogs::MediaNotSuppAudioBitRateDialog::StaticClass()};
  const kv::Class* cls = dialog >= 0 && dialog < 4 ? kDialogs[dialog] : &MessageDialogs::MediaErrorDialog::StaticClass();
  return kv::New<MessageDialogs::MediaEvent>()->Initialize(cls, code, subCode, Text(text));
}

}  // namespace

void RegisterExports() {
  PslExports ex;
  ex.createRoot = CreateRoot;
  ex.createContainer = CreateContainer;
  ex.createItem = CreateItem;
  ex.handleOf = HandleOf;
  ex.uriOf = UriOf;
  ex.setServerInfo = SetServerInfo;
  ex.initController = InitController;
  ex.createMetadata = CreateMetadata;
  ex.initPictureMetadata = InitPicture;
  ex.initMusicMetadata = InitMusic;
  ex.initVideoMetadata = InitVideo;
  ex.setPictureInfo = SetPictureInfo;
  ex.setPictureState = SetPictureState;
  ex.createThumb = CreateThumb;
  ex.thumbSize = ThumbSize;
  ex.setThumbState = SetThumbState;
  ex.destroyThumb = DestroyThumb;
  ex.decodedPicture = DecodedPicture;
  ex.newListEvent = NewListEvent;
  ex.newMetadataEvent = NewMetadataEvent;
  ex.newPictureEvent = NewPictureEvent;
  ex.newNetworkEvent = NewNetworkEvent;
  ex.newServerEvent = NewServerEvent;
  ex.deliver = Deliver;
  ex.newStatusEvent = NewStatusEvent;
  ex.newDmrStatusEvent = NewDmrStatusEvent;
  ex.newMediaErrorEvent = NewMediaErrorEvent;
  psl::SetExports(ex);
}

}  // namespace Media
