#include "units/Media/MediaItem.h"

#include "units/Resources/Bitmap.h"

KV_REGISTER_CLASS(Media::MediaItem);
KV_REGISTER_CLASS(Media::MediumDevice);
KV_REGISTER_CLASS(Media::UsbMediumDevice);
KV_REGISTER_CLASS(Media::NetworkMediumDevice);
KV_REGISTER_CLASS(Media::MediaServer);
KV_REGISTER_CLASS(Media::MediaControllor);
KV_REGISTER_CLASS(Media::MediaCount);
KV_REGISTER_CLASS(Media::MediaAvailability);
KV_REGISTER_CLASS(Media::VideoPlayWindow);
