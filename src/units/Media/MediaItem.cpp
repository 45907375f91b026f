#include "units/Media/MediaItem.h"

#include "units/Resources/Resources.h"

KV_REGISTER_CLASS(Media::MediaItem);
KV_REGISTER_CLASS(Media::MusicMetadata);
KV_REGISTER_CLASS(Media::VideoMetadata);
KV_REGISTER_CLASS(Media::PictureMetadata);
KV_REGISTER_CLASS(Media::MediumRecord);
KV_REGISTER_CLASS(Media::MediaServerRecord);
KV_REGISTER_CLASS(Media::MediaControllerRecord);
