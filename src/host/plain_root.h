// host::PlainRoot: the root object until the application's own root exists.
// It answers the host loop's three questions (no screen is shown, an
// animation runs while an effect does, the TV101 state as set) and shows a
// small translucent label in a corner so that a person sees the window live.
#pragma once

#include "units/Core/Root.h"

namespace host {

class PlainRoot : public Core::Root {
  KV_CLASS(host, PlainRoot, Core::Root)
 public:
  PlainRoot();

  // The corner label is not a screen.
  bool IsScreenShown() override { return false; }
};

}  // namespace host
