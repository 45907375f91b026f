#include "units/Media/MediaEvents.h"

KV_REGISTER_CLASS(Media::MetadataReadyEvent);
KV_REGISTER_CLASS(Media::PictureEvent);
