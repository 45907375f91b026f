// Events::XPM_EVENT_KEY: a key of the remote or of the television's own
// panel, as the host dispatches it to the root.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class XPM_EVENT_KEY : public Core::KeyEvent {
  KV_CLASS(Events, XPM_EVENT_KEY, Core::KeyEvent)
 public:
  XPM_EVENT_KEY() = default;

  using Core::KeyEvent::Initialize;
  // Fills code and down flag (the character follows from the code) and the
  // from-panel value.
  void Initialize(uint16_t code, uint8_t down, int32_t fromPanel) {
    Initialize(code, down);
    FromPanel = fromPanel;
  }

  uint8_t Handled = 0;
  int32_t FromPanel = 0;  // 1 for the panel's keys (platform codes 255 to 261)
};

}  // namespace Events
