// What the media bridge hands the lists: Media::MediaItem, one file or
// folder of the folder being browsed (type 0 folder, 1 music, 2 picture,
// 3 video; caption; whether its metadata was read, the thumbnail and the
// metadata), the metadata records, and the records of the media sources,
// servers and controllers.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/object.h"
#include "runtime/string.h"

namespace Resources {
class Bitmap;
}

namespace Media {

inline constexpr int16_t MEDIA_TYPE_FOLDER = 0;
inline constexpr int16_t MEDIA_TYPE_MUSIC = 1;
inline constexpr int16_t MEDIA_TYPE_PICTURE = 2;
inline constexpr int16_t MEDIA_TYPE_VIDEO = 3;

class MediaItem : public kv::Object {
  KV_CLASS(Media, MediaItem, kv::Object)
 public:
  MediaItem() = default;

  int16_t Type = MEDIA_TYPE_FOLDER;
  kv::String Caption;
  bool MetadataLoaded = false;
  kv::Member<Resources::Bitmap> Thumbnail;
  kv::Member<kv::Object> Metadata;  // MusicMetadata, VideoMetadata ...
};

class MusicMetadata : public kv::Object {
  KV_CLASS(Media, MusicMetadata, kv::Object)
 public:
  int32_t Duration = 0;  // seconds
  kv::String Artist;
  kv::String Album;
};

class VideoMetadata : public kv::Object {
  KV_CLASS(Media, VideoMetadata, kv::Object)
 public:
  int32_t Duration = 0;  // seconds
};

class PictureMetadata : public kv::Object {
  KV_CLASS(Media, PictureMetadata, kv::Object)
 public:
  int32_t Width = 0;
  int32_t Height = 0;
};

// A medium the set can browse: kind 0 USB storage, 2 network media server,
// other values as the media service reports them.
class MediumRecord : public kv::Object {
  KV_CLASS(Media, MediumRecord, kv::Object)
 public:
  int16_t Kind = 3;
  bool Active = true;
  kv::String Name;
  kv::Member<kv::Object> Device;
};

class MediaServerRecord : public kv::Object {
  KV_CLASS(Media, MediaServerRecord, kv::Object)
 public:
  kv::String Name;
  kv::String Address;
  bool Registered = false;
  int16_t SupportWoL = 0;  // 1: wake-on-LAN supported
};

class MediaControllerRecord : public kv::Object {
  KV_CLASS(Media, MediaControllerRecord, kv::Object)
 public:
  kv::String Name;
  kv::String MacAddress;
  bool Allowed = false;
};

}  // namespace Media
