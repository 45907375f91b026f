// Events of the media bridge that the live-TV dispatcher hands to the open
// media screens: the metadata of a listed item is ready (the list views
// update the row), and a picture was decoded (the photo viewer shows it).
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Media {

class MetadataReadyEvent : public Core::Event {
  KV_CLASS(Media, MetadataReadyEvent, Core::Event)
 public:
  MetadataReadyEvent() = default;

  uint8_t Handled = 0;
  // The absolute index of the item whose metadata arrived.
  int32_t ItemIndex = 0;
};

class PictureEvent : public Core::Event {
  KV_CLASS(Media, PictureEvent, Core::Event)
 public:
  PictureEvent() = default;

  uint8_t Handled = 0;
  // 0: the picture is decoded; other values are the media service's errors.
  int32_t Status = 0;
};

}  // namespace Media
