// The media events. The media service answers with MediaEvent descendants
// (a page, an item's metadata, a decoded picture, the network, a server, a
// controller), which the bridge (MediaWrapper::HandleEvent) takes first and
// turns into the GUI events the screens handle: DataListUpdateEvent (a
// folder's first page arrived), MetadataReadyEvent (with the item's record)
// and, unchanged, PictureEvent.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/string.h"
#include "units/Core/Event.h"

namespace Media {

class DataItemList;
class DataItem;
class MediaItem;

class MediaEvent : public Core::Event {
  KV_CLASS(Media, MediaEvent, Core::Event)
 public:
  MediaEvent() = default;
  uint8_t Handled = 0;
};

// A page of a folder; its owner is the source that asked.
class DataItemListEvent : public MediaEvent {
  KV_CLASS(Media, DataItemListEvent, MediaEvent)
 public:
  DataItemListEvent* Initialize(DataItemList* page);
  kv::Member<DataItemList> Page;
};

class MetadataEvent : public MediaEvent {
  KV_CLASS(Media, MetadataEvent, MediaEvent)
 public:
  MetadataEvent* Initialize(DataItem* item);
  kv::Member<DataItem> Item;
};

// A picture was decoded (value 0) or failed (the service's state); the item
// is the picture item asked for.
class PictureEvent : public MediaEvent {
  KV_CLASS(Media, PictureEvent, MediaEvent)
 public:
  PictureEvent* Initialize(int32_t value);
  int32_t Value = 0;
  kv::Member<DataItem> Item;
};

// The set's network: 1 gone.
class NetworkEvent : public MediaEvent {
  KV_CLASS(Media, NetworkEvent, MediaEvent)
 public:
  NetworkEvent* Initialize(int32_t value);
  int32_t Value = 0;
};

// A server came (1) or went (0); the text is its Uri.
class ServerEvent : public MediaEvent {
  KV_CLASS(Media, ServerEvent, MediaEvent)
 public:
  ServerEvent* Initialize(uint8_t code, const kv::String& text);
  uint8_t Code = 0;
  kv::String Text;
};

class DmcEvent : public MediaEvent {
  KV_CLASS(Media, DmcEvent, MediaEvent)
 public:
  uint16_t Code = 2;
  kv::String Text;
};

// To the screens: a folder's first page (or its emptiness) is known.
class DataListUpdateEvent : public Core::Event {
  KV_CLASS(Media, DataListUpdateEvent, Core::Event)
 public:
  uint8_t Handled = 0;
};

// To the screens: the metadata of a listed item arrived.
class MetadataReadyEvent : public Core::Event {
  KV_CLASS(Media, MetadataReadyEvent, Core::Event)
 public:
  MetadataReadyEvent() = default;
  uint8_t Handled = 0;
  kv::Member<MediaItem> Item;
};

// Created by nothing in the system.
class PictureReadyEvent : public Core::Event {
  KV_CLASS(Media, PictureReadyEvent, Core::Event)
 public:
  int32_t Value = -1;
};

}  // namespace Media
