#include "units/Media/MediaEvents.h"

#include "units/Media/DataItems.h"
#include "units/Media/DataSources.h"
#include "units/Media/MediaItem.h"

KV_REGISTER_CLASS(Media::MediaEvent);
KV_REGISTER_CLASS(Media::DataItemListEvent);
KV_REGISTER_CLASS(Media::MetadataEvent);
KV_REGISTER_CLASS(Media::PictureEvent);
KV_REGISTER_CLASS(Media::NetworkEvent);
KV_REGISTER_CLASS(Media::ServerEvent);
KV_REGISTER_CLASS(Media::DmcEvent);
KV_REGISTER_CLASS(Media::DataListUpdateEvent);
KV_REGISTER_CLASS(Media::MetadataReadyEvent);
KV_REGISTER_CLASS(Media::PictureReadyEvent);

namespace Media {

DataItemListEvent* DataItemListEvent::Initialize(DataItemList* page) {
  Page = page;
  return this;
}

MetadataEvent* MetadataEvent::Initialize(DataItem* item) {
  Item = item;
  return this;
}

PictureEvent* PictureEvent::Initialize(int32_t value) {
  Value = value;
  return this;
}

NetworkEvent* NetworkEvent::Initialize(int32_t value) {
  Value = value;
  return this;
}

ServerEvent* ServerEvent::Initialize(uint8_t code, const kv::String& text) {
  Code = code;
  Text = text;
  return this;
}

}  // namespace Media
