// The records the media bridge hands the lists and screens, made fresh for
// each question: Media::MediaItem (one file or folder of the folder being
// browsed), the medium, server and controller records, availability counts
// and the saved video window.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/object.h"
#include "runtime/string.h"

namespace Resources {
class Bitmap;
}

namespace Media {

// The media types of the browser (its filter): music, picture, video.
inline constexpr int16_t MEDIA_TYPE_FOLDER = 0;
inline constexpr int16_t MEDIA_TYPE_MUSIC = 1;
inline constexpr int16_t MEDIA_TYPE_PICTURE = 2;
inline constexpr int16_t MEDIA_TYPE_VIDEO = 3;

// The item types of a MediaItem record.
inline constexpr uint16_t ITEM_TYPE_FOLDER = 0;
inline constexpr uint16_t ITEM_TYPE_VIDEO = 1;
inline constexpr uint16_t ITEM_TYPE_PICTURE = 2;
inline constexpr uint16_t ITEM_TYPE_MUSIC = 3;
inline constexpr uint16_t ITEM_TYPE_NONE = 4;
inline constexpr uint16_t ITEM_TYPE_FLASH = 5;

// Medium kinds of a MediumDevice record.
inline constexpr uint16_t MEDIUM_USB = 0;
inline constexpr uint16_t MEDIUM_SERVER = 2;
inline constexpr uint16_t MEDIUM_OTHER = 4;
inline constexpr uint16_t MEDIUM_NONE = 3;
inline constexpr uint16_t MEDIUM_CONTROLLER = 6;

class MediaItem : public kv::Object {
  KV_CLASS(Media, MediaItem, kv::Object)
 public:
  MediaItem() = default;

  // Set by the lists once the item's metadata arrived; the bridge clears it.
  bool MetadataLoaded = false;
  uint16_t Type = ITEM_TYPE_NONE;
  kv::Member<Resources::Bitmap> Bitmap;
  kv::String Uri;
  kv::String Caption;
  kv::Member<Resources::Bitmap> Thumb;
  kv::Member<kv::Object> Metadata;  // MusicMetadata, VideoMetadata, PictureMetadata
  int32_t Index = 0;               // in the folder
};

class MediumDevice : public kv::Object {
  KV_CLASS(Media, MediumDevice, kv::Object)
 public:
  MediumDevice() = default;

  bool Flag = false;
  bool Enabled = false;
  uint16_t Kind = MEDIUM_NONE;
  kv::String Caption;
  int32_t UID = 0;
  int32_t Size1 = 0;
  int32_t Size2 = 0;
  kv::String Uri;
};

class UsbMediumDevice : public MediumDevice {
  KV_CLASS(Media, UsbMediumDevice, MediumDevice)
 public:
  kv::String Text;
};

class NetworkMediumDevice : public MediumDevice {
  KV_CLASS(Media, NetworkMediumDevice, MediumDevice)
 public:
  kv::String IpAddress;
  kv::String MacAddress;
};

class MediaServer : public NetworkMediumDevice {
  KV_CLASS(Media, MediaServer, NetworkMediumDevice)
 public:
  bool Registered = false;
  // 1 when the server can be woken over the network.
  int16_t SupportWoL = 0;
};

class MediaControllor : public NetworkMediumDevice {
  KV_CLASS(Media, MediaControllor, NetworkMediumDevice)
 public:
  MediaControllor() { Kind = MEDIUM_CONTROLLER; }
  bool Allowed = false;
};

class MediaCount : public kv::Object {
  KV_CLASS(Media, MediaCount, kv::Object)
 public:
  int32_t Counts[4] = {0, 0, 0, 0};
};

// What a medium holds: music, pictures, movies, Flash, AVCHD.
class MediaAvailability : public kv::Object {
  KV_CLASS(Media, MediaAvailability, kv::Object)
 public:
  bool Flag = false;
  MediaCount Music, Pictures, Movies, Flash, Avchd;
};

class VideoPlayWindow : public kv::Object {
  KV_CLASS(Media, VideoPlayWindow, kv::Object)
 public:
  int32_t X = 0, Y = 0, Width = 1920, Height = 1080;
};

}  // namespace Media
