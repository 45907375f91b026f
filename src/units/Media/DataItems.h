// The items in which the media service delivers what it finds: media
// roots (USB sticks, home-network servers, network controllers), folders,
// files, their metadata, and the canvases it draws thumbnails and decoded
// pictures into. The service builds them through the exported table
// (MediaExports.cpp); every item holds its service object (`Handle`), freed
// in the service when the item is collected.
#pragma once

#include <cstdint>
#include <memory>

#include "runtime/member.h"
#include "runtime/string.h"
#include "units/Graphics/RootCanvas.h"
#include "units/ListWidgets/DataSource.h"

namespace dfb {
class Surface;
}

namespace Media {

// A canvas over pixels the media service can draw into (thumbnails, the
// decoded picture): it owns them as a plain surface, handed to the service.
class ServiceCanvas : public Graphics::RootCanvas {
  KV_CLASS(Media, ServiceCanvas, Graphics::RootCanvas)
 public:
  ServiceCanvas();
  ~ServiceCanvas() override;
  // Gives the canvas `width` x `height` transparent pixels of its own surface.
  void Allocate(int32_t width, int32_t height);
  // The surface handed to the service to draw anything into (a thumbnail, a
  // turned picture): the canvas is no longer known opaque.
  dfb::Surface* ServiceSurface() const {
    SetOpaque(false);
    return surface_.get();
  }
  // The surface handed to the service to lay a decoded picture on: the
  // service covers it wholly with opaque pixels (alpha flattened onto black,
  // black bars around the picture), so the canvas is known opaque after it.
  dfb::Surface* PictureSurface() const {
    SetOpaque(surface_ != nullptr);
    return surface_.get();
  }
  // The service's surface as it is now: the media service may exchange its
  // pixels for a picture laid out on its worker (dfb::Surface::Exchange).
  ge::Surface GetSurface() const override;

 private:
  std::unique_ptr<dfb::Surface> surface_;
};

// --- Metadata ------------------------------------------------------------------------------

class Metadata : public kv::Object {
  KV_CLASS(Media, Metadata, kv::Object)
 public:
  Metadata() = default;
};

class FlashMetadata : public Metadata {
  KV_CLASS(Media, FlashMetadata, Metadata)
 public:
  void Initialize(const kv::String& text) { Text = text; }
  kv::String Text;
};

// "1280 × 720, H.264, AAC, 1:02:03" as the service writes it.
class VideoMetadata : public Metadata {
  KV_CLASS(Media, VideoMetadata, Metadata)
 public:
  void Initialize(const kv::String& text) { Text = text; }
  kv::String Text;
};

// Title, make, model, type, date (its "T" made two spaces by the bridge),
// the orientation; the original size written by SetPictureInfo.
class PictureMetadata : public Metadata {
  KV_CLASS(Media, PictureMetadata, Metadata)
 public:
  void Initialize(const kv::String& title, const kv::String& make, const kv::String& model, const kv::String& type,
                  const kv::String& date, int32_t orientation);
  kv::String Title, Make, Model, Type, Date;
  int32_t Orientation = 0;
  int32_t Width = 0;
  int32_t Height = 0;
};

// Title, artist, album, year, track, genre (the year is kept after track
// and genre), the duration in seconds.
class MusicMetadata : public Metadata {
  KV_CLASS(Media, MusicMetadata, Metadata)
 public:
  void Initialize(const kv::String& title, const kv::String& artist, const kv::String& album, const kv::String& year,
                  const kv::String& track, const kv::String& genre, int32_t seconds);
  kv::String Title, Artist, Album, Track, Genre, Year;
  int32_t Duration = 0;
};

// --- Items ------------------------------------------------------------------------------------

class DataItem : public ListWidgets::DataItem {
  KV_CLASS(Media, DataItem, ListWidgets::DataItem)
 public:
  DataItem() = default;
  // Frees the service object.
  ~DataItem() override;
  void Release() override;

  // A canvas of the bridge's thumbnail size into `Thumb`; null (traced) when none could be made.
  ServiceCanvas* CreateThumb();
  void DestroyThumb(uint16_t state);
  ServiceCanvas* OnGetThumb() const { return Thumb.get(); }
  void OnSetThumbState(uint16_t state) { ThumbState = state; }

  uint16_t ThumbState = 0;
  kv::String Uri;
  kv::String Title;
  uint32_t Handle = 0;
  kv::Member<ServiceCanvas> Thumb;
};

class ContainerDataItem : public DataItem {
  KV_CLASS(Media, ContainerDataItem, DataItem)
 public:
  ContainerDataItem() = default;
  bool SupportsPaging = true;
  bool CanRecursiveScan = false;
  int32_t Count = 64;
};

class RootDataItem : public ContainerDataItem {
  KV_CLASS(Media, RootDataItem, ContainerDataItem)
 public:
  RootDataItem();
  kv::String IpAddr;
  // Servers: what the service tells of them.
  kv::String MacAddress;
  bool WakeOnLan = false;
};

KV_NAMED_CLASS(Media, UsbRootDataItem, RootDataItem);
KV_NAMED_CLASS(Media, ServerRootDataItem, RootDataItem);
KV_NAMED_CLASS(Media, OpticalRootDataItem, RootDataItem);
KV_NAMED_CLASS(Media, PlaylistRootDataItem, RootDataItem);

// The entries of the medium list: their children are the medium's top list.
class UsbTopDataItem : public UsbRootDataItem {
  KV_CLASS(Media, UsbTopDataItem, UsbRootDataItem)
 public:
  UsbTopDataItem();
};
class ServerTopDataItem : public ServerRootDataItem {
  KV_CLASS(Media, ServerTopDataItem, ServerRootDataItem)
 public:
  ServerTopDataItem();
};
class OpticalTopDataItem : public OpticalRootDataItem {
  KV_CLASS(Media, OpticalTopDataItem, OpticalRootDataItem)
 public:
  OpticalTopDataItem();
};

// A network controller: the access flag, its MAC address and a second text.
class DmcRootDataItem : public RootDataItem {
  KV_CLASS(Media, DmcRootDataItem, RootDataItem)
 public:
  void Initialize(const kv::String& text, const kv::String& mac, int8_t access);
  int8_t Access = 0;
  kv::String Text;
};

KV_NAMED_CLASS(Media, MediaTopDataItem, RootDataItem);

class VideoContainerDataItem : public ContainerDataItem {
  KV_CLASS(Media, VideoContainerDataItem, ContainerDataItem)
 public:
  VideoContainerDataItem();
};
class PictureContainerDataItem : public ContainerDataItem {
  KV_CLASS(Media, PictureContainerDataItem, ContainerDataItem)
 public:
  PictureContainerDataItem();
};
class MusicContainerDataItem : public ContainerDataItem {
  KV_CLASS(Media, MusicContainerDataItem, ContainerDataItem)
 public:
  MusicContainerDataItem();
};

class MediaDataItem : public DataItem {
  KV_CLASS(Media, MediaDataItem, DataItem)
 public:
  MediaDataItem() = default;
  // Tells the service, then becomes current in its group.
  void Select() override;
  void Release() override;
  virtual void DebugMetadata() {}
  // A new object of the metadata class into `Metadata`.
  Media::Metadata* CreateMetadata();
  void DestroyMetadata() { Metadata = nullptr; }

  const kv::Class* MetadataClass = &Media::Metadata::StaticClass();
  kv::Member<Media::Metadata> Metadata;
  kv::String CreationInfo;
};

class FlashDataItem : public MediaDataItem {
  KV_CLASS(Media, FlashDataItem, MediaDataItem)
 public:
  FlashDataItem();
  // Starts the service's Flash player on the item; the current item stays.
  void Select() override;
};

class VideoDataItem : public MediaDataItem {
  KV_CLASS(Media, VideoDataItem, MediaDataItem)
 public:
  VideoDataItem();
};

class PictureDataItem : public MediaDataItem {
  KV_CLASS(Media, PictureDataItem, MediaDataItem)
 public:
  PictureDataItem();
  // State and original size, also into picture metadata when there is some.
  void SetPictureInfo(uint16_t state, int32_t width, int32_t height);
  void OnSetPictureState(uint16_t state) { PictureState = state; }
  // Asks the service to decode the picture into the bridge's canvas. A
  // request the service refuses is answered as a picture that failed (a
  // picture event of state 2, posted), so that the viewer goes on.
  void RequestPicture();

  uint16_t PictureState = 0;
  kv::Member<kv::Object> Picture;
  int32_t Width = 0;
  int32_t Height = 0;
  // The turn the viewer gives the picture, in degrees (0, 90, 180, 270).
  int32_t Rotation = 0;

 private:
  void AnswerRefused(kv::Object* sender);
};

class MusicDataItem : public MediaDataItem {
  KV_CLASS(Media, MusicDataItem, MediaDataItem)
 public:
  MusicDataItem();
};

}  // namespace Media
