// Events::DMRStatusEvent: a status of the media renderer.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/string.h"
#include "units/Core/Event.h"

namespace Events {

class DMRStatusEvent : public Core::Event {
  KV_CLASS(Events, DMRStatusEvent, Core::Event)
 public:
  DMRStatusEvent() = default;

  // Fills kind, state and the two texts; the second comes as 8-bit (Latin-1)
  // text, null giving the empty text.
  void Initialize(uint16_t kind, uint16_t state, const kv::String& uri, const char* title);

  uint8_t Handled = 0;
  uint16_t Kind = 0;   // 7 music, 10 photo, 11 movie
  uint16_t State = 0;  // 3 playing, 4 and 5 stopping
  kv::Member<kv::Object> Item;  // the media item played, or none
  kv::String Uri;
  kv::String Title;
};

}  // namespace Events
