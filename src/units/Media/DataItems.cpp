#include "units/Media/DataItems.h"

#include <string>

#include "platform/display/surface.h"
#include "platform/psl/psl.h"
#include "runtime/path_text.h"
#include "runtime/collector.h"
#include "runtime/slot.h"
#include "runtime/trace.h"
#include "strings/Media.h"
#include "units/Media/DataSources.h"
#include "units/Media/MediaEvents.h"
#include "units/Media/MediaWrapper.h"

KV_REGISTER_CLASS(Media::ServiceCanvas);
KV_REGISTER_CLASS(Media::Metadata);
KV_REGISTER_CLASS(Media::FlashMetadata);
KV_REGISTER_CLASS(Media::VideoMetadata);
KV_REGISTER_CLASS(Media::PictureMetadata);
KV_REGISTER_CLASS(Media::MusicMetadata);
KV_REGISTER_CLASS(Media::DataItem);
KV_REGISTER_CLASS(Media::ContainerDataItem);
KV_REGISTER_CLASS(Media::RootDataItem);
KV_REGISTER_CLASS(Media::UsbRootDataItem);
KV_REGISTER_CLASS(Media::ServerRootDataItem);
KV_REGISTER_CLASS(Media::OpticalRootDataItem);
KV_REGISTER_CLASS(Media::PlaylistRootDataItem);
KV_REGISTER_CLASS(Media::UsbTopDataItem);
KV_REGISTER_CLASS(Media::ServerTopDataItem);
KV_REGISTER_CLASS(Media::OpticalTopDataItem);
KV_REGISTER_CLASS(Media::DmcRootDataItem);
KV_REGISTER_CLASS(Media::MediaTopDataItem);
KV_REGISTER_CLASS(Media::VideoContainerDataItem);
KV_REGISTER_CLASS(Media::PictureContainerDataItem);
KV_REGISTER_CLASS(Media::MusicContainerDataItem);
KV_REGISTER_CLASS(Media::MediaDataItem);
KV_REGISTER_CLASS(Media::FlashDataItem);
KV_REGISTER_CLASS(Media::VideoDataItem);
KV_REGISTER_CLASS(Media::PictureDataItem);
KV_REGISTER_CLASS(Media::MusicDataItem);

namespace Media {

// --- Canvases --------------------------------------------------------------------------------

ServiceCanvas::ServiceCanvas() = default;
ServiceCanvas::~ServiceCanvas() = default;

void ServiceCanvas::Allocate(int32_t width, int32_t height) {
  if (width < 1 || height < 1) return;
  surface_ = std::make_unique<dfb::Surface>(width, height);
  // The pixels count towards the next collection like object memory: a
  // closed viewer's screen-sized canvases go with the next collection, not
  // once enough small objects were made.
  kv::ReportExternalAllocation(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  SetOpaque(false);
  Attach(ge::Surface{surface_->Pixels(), width, height, surface_->Stride()});
}

ge::Surface ServiceCanvas::GetSurface() const {
  if (surface_ && IsAttached())
    return ge::Surface{surface_->Pixels(), surface_->Width(), surface_->Height(), surface_->Stride()};
  return RootCanvas::GetSurface();
}

// --- Metadata ---------------------------------------------------------------------------------

void PictureMetadata::Initialize(const kv::String& title, const kv::String& make, const kv::String& model,
                                 const kv::String& type, const kv::String& date, int32_t orientation) {
  Title = title;
  Make = make;
  Model = model;
  Type = type;
  Date = date;
  Orientation = orientation;
}

void MusicMetadata::Initialize(const kv::String& title, const kv::String& artist, const kv::String& album,
                               const kv::String& year, const kv::String& track, const kv::String& genre,
                               int32_t seconds) {
  Title = title;
  Artist = artist;
  Album = album;
  Track = track;
  Genre = genre;
  Year = year;
  Duration = seconds;
}

// --- Items -------------------------------------------------------------------------------------

DataItem::~DataItem() {
  if (Handle) PslMediaDeleteObject(globalPsl, Handle);
}

void DataItem::Release() {
  if (Thumb) DestroyThumb(0);
}

ServiceCanvas* DataItem::CreateThumb() {
  const kv::Point size = kv::GetAutoObject<MediaWrapper>(MainApp::MediaWrapper)->ThumbnailSize();
  auto* canvas = kv::New<ServiceCanvas>();
  canvas->Allocate(size.x, size.y);
  if (!canvas->ServiceSurface()) {
    kv::Trace("%s%i%i", {kv::LoadString(T_NO_THUMB), size.x, size.y});
    Thumb = nullptr;
    return nullptr;
  }
  Thumb = canvas;
  return canvas;
}

void DataItem::DestroyThumb(uint16_t state) {
  ThumbState = state;
  Thumb = nullptr;
}

RootDataItem::RootDataItem() : IpAddr(kv::LoadString(NO_ADDRESS)) { SupportsPaging = false; }

UsbTopDataItem::UsbTopDataItem() { DataSourceClass = &MediaTopDataSource::StaticClass(); }
ServerTopDataItem::ServerTopDataItem() { DataSourceClass = &MediaTopDataSource::StaticClass(); }
OpticalTopDataItem::OpticalTopDataItem() { DataSourceClass = &MediaTopDataSource::StaticClass(); }

void DmcRootDataItem::Initialize(const kv::String& text, const kv::String& mac, int8_t access) {
  Text = text;
  MacAddress = mac;
  Access = access;
}

VideoContainerDataItem::VideoContainerDataItem() { DataSourceClass = &VideoContainerDataSource::StaticClass(); }
PictureContainerDataItem::PictureContainerDataItem() {
  DataSourceClass = &PictureContainerDataSource::StaticClass();
}
MusicContainerDataItem::MusicContainerDataItem() { DataSourceClass = &MusicContainerDataSource::StaticClass(); }

void MediaDataItem::Select() {
  PslMediaSelectItem(globalPsl, this);
  ListWidgets::DataItem::Select();
}

void MediaDataItem::Release() {
  DataItem::Release();
  if (Metadata) DestroyMetadata();
}

Media::Metadata* MediaDataItem::CreateMetadata() {
  Metadata = kv::Cast<Media::Metadata>(kv::NewObjectIndirect(MetadataClass));
  return Metadata.get();
}

FlashDataItem::FlashDataItem() { MetadataClass = &FlashMetadata::StaticClass(); }

void FlashDataItem::Select() { PslMediaStart(globalPsl, PSL_KIND_FLASH, kv::PathToBytes(Uri).c_str()); }

VideoDataItem::VideoDataItem() { MetadataClass = &VideoMetadata::StaticClass(); }

PictureDataItem::PictureDataItem() { MetadataClass = &PictureMetadata::StaticClass(); }

void PictureDataItem::SetPictureInfo(uint16_t state, int32_t width, int32_t height) {
  PictureState = state;
  Width = width;
  Height = height;
  if (auto* md = kv::Cast<PictureMetadata>(Metadata.get())) {
    md->Width = width;
    md->Height = height;
  }
}

void PictureDataItem::RequestPicture() {
  PictureState = 0;
  Width = 0;
  Height = 0;
  // A play-list item knows its file by its uri only.
  std::string name = kv::PathToBytes(Title.Empty() ? Uri : Title);
  if (Title.Empty()) name = name.substr(name.rfind('/') + 1);
  const int32_t status = PslMediaRequestPicture(globalPsl, this, 0);
  if (status != PSL_OK) {
    kv::LogFailedCall("PslMediaRequestPicture", status);
    kv::Log("Media::PictureDataItem: the picture " + kv::EscapedText(name, kv::kMaxLoggedPath) +
            " is not read; it shows as a picture that failed");
    SetPictureInfo(PSL_STATE_FAILED, 0, 0);
    kv::PostSignal(kv::MakeSlot(this, &PictureDataItem::AnswerRefused));
    return;
  }
  kv::Log("PslMediaRequestPicture " + kv::EscapedText(name, kv::kMaxLoggedPath));
}

void PictureDataItem::AnswerRefused(kv::Object*) {
  auto* event = kv::New<PictureEvent>()->Initialize(PSL_STATE_FAILED);
  event->Item = this;
  kv::GetAutoObject<MediaWrapper>(MainApp::MediaWrapper)->Deliver(event);
}

MusicDataItem::MusicDataItem() { MetadataClass = &MusicMetadata::StaticClass(); }

}  // namespace Media
