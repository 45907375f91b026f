#include "host/plain_root.h"

#include "runtime/string.h"
#include "units/Resources/Font.h"
#include "units/Views/Rectangle.h"
#include "units/Views/Text.h"

namespace host {

KV_REGISTER_CLASS(host::PlainRoot);

PlainRoot::PlainRoot() {
  auto* panel = kv::New<Views::Rectangle>();
  panel->OnSetBounds({16, 16, 176, 52});
  panel->OnSetColor({16, 24, 40, 160});
  Add(panel);
  auto* label = kv::New<Views::Text>();
  label->OnSetBounds({26, 24, 166, 46});
  label->OnSetString(KV_STR(u"TV interface"));
  label->OnSetColor({235, 235, 235, 255});
  Add(label);
}

}  // namespace host
