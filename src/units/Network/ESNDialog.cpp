#include "units/Network/ESNDialog.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "strings/MenuSystemPages.h"
#include "strings/Network.h"
#include "strings/Strings.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/Network/Address.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/Wrapper.h"

KV_REGISTER_CLASS(Network::ESNDialog);

namespace Network {

namespace {
using namespace keys;

// The help bar: Back only.
constexpr int32_t kHelpMask = 0x40000;

void SetUp(Views::Text& t, bool autoSize) {
  t.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  t.OnSetColor(Colors::StandardTextColor);
  t.OnSetAlignV(1);
  t.OnSetAutoSize(autoSize);
}
}  // namespace

ESNDialog::ESNDialog() {
  OnSetCaption(kv::GetVariantOfString(MenuSystemPages::SID_ESN));
  PrevState = KV_LATE_CLASS("MenuSystem::NetflixSetupMenu");
  SetUp(label_, false);
  label_.OnSetString(kv::GetVariantOfString(ESN_LABEL));
  label_.OnSetBounds({20, 50, 90, 80});
  SetUp(value_, true);
  value_.OnSetBounds({90, 50, 91, 80});
  Add(&label_);
  Add(&value_);
}

void ESNDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  BorderWidgetClass::Initialize(param);
  if (NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem())
    s->UpdateHelp(kHelpMask, kv::GetVariantOfString(Strings::SID_BACK));
  SkinBin::Wrapper* w = Skin();
  value_.OnSetString(w ? w->GetNetflixESN() : kv::String());
  // Auto-sized on its row; a value wider than the dialog ends in "...".
  value_.OnSetAutoSize(true);
  const kv::Rect v = value_.Bounds();
  const int32_t room = Bounds().W() - 18 - 90;
  if (v.W() > room) {
    value_.OnSetAutoSize(false);
    value_.OnSetEllipsis(true);
  }
  const int32_t top = 50 + (30 - v.H()) / 2;
  value_.OnSetBounds({90, top, 90 + std::min(v.W(), room), top + v.H()});
}

kv::Object* ESNDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && key->Code == KEY_OK) {
    Post(PrevState ? &WidgetClass::EnterPrevStateSlot : &WidgetClass::ClearAllSlot);
    ResetTimeout();
    return this;
  }
  return BorderWidgetClass::HandleEvent(event);
}

}  // namespace Network
