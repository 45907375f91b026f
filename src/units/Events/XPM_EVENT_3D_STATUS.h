// Events::XPM_EVENT_3D_STATUS: the middleware's report of the 3D format that
// the input carries (SkinBin::OAM_3D_MODE_*: 0 none, -2 unsupported, 1 2D,
// 2 side by side, 3 top and bottom, 5 and 6 frame packing).
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class XPM_EVENT_3D_STATUS : public Core::Event {
  KV_CLASS(Events, XPM_EVENT_3D_STATUS, Core::Event)
 public:
  XPM_EVENT_3D_STATUS() = default;

  uint8_t Handled = 0;
  int32_t Format = 0;
};

}  // namespace Events
