#include "units/QuickMenu/PlayerControlMenu.h"

#include "keys/keycodes.h"
#include "runtime/slot.h"
#include "strings/QuickMenu.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/QuickMenu/QuickMenu.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/HdmiCecData.h"
#include "units/SkinBin/Wrapper.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(QuickMenu::PlayerControlMenu);

namespace QuickMenu {

using namespace keys;

namespace {
struct ButtonDef {
  const kv::MultiTextId* caption;
  uint8_t code;
  bool shown;
};
constexpr ButtonDef kButtonDefs[PlayerControlMenu::kButtons] = {
    {&SID_ROOT_MENU, 1, true}, {&SID_CONTENTS_MENU, 2, true}, {&SID_SETUP_MENU, 3, true},
    {&SID_TOP_MENU, 4, false}, {&SID_DVD_MENU, 5, false},     {&SID_POWER, 0, true},
};
constexpr int32_t kWidth = 300;
constexpr int32_t kButtonHeight = 27;
// The help bar: up/down and OK, with Enter and Back.
constexpr int32_t kHelpMask = 0x40200;
}  // namespace

PlayerControlMenu::PlayerControlMenu() {
  WinID = WinIDs::WIN_ID_PlayerControlMenu;
  Layer = kQuickLayer;
  PrevState = &QuickMenu::StaticClass();
  OnTimeOut = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::ExitSlot);
  background_.OnSetColor(Colors::MenuBgColor);
  border_.OnSetWidth(1);
  border_.OnSetColor(Colors::DialogBorder);
  title_.OnSetFont(Resources::LoadResource(Fonts::EPGListFont));
  title_.OnSetColor(Colors::TitleTextColor);
  title_.OnSetString(kv::GetVariantOfString(SID_KELVO_LINK_PLAYER_CONTROL));
  upArrow_.OnSetBitmap(Resources::LoadResource(Bitmaps::OptionButtonUpArrow));
  label_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  label_.OnSetColor(Colors::StandardTextColor);
  label_.OnSetString(kv::GetVariantOfString(SID_RECORDER));
  divider_.OnSetColor(Colors::DialogBorder);
  Add(&border_);
  Add(&title_);
  Add(&upArrow_);
  Add(&divider_);
  Add(&label_);
  for (const ButtonDef& button : kButtonDefs) {
    auto* b = kv::New<SkinBin::Button>();
    b->OnSetText(kv::GetVariantOfString(*button.caption));
    b->Value = button.code;
    b->OnActivate = kv::MakeSlot(this, &PlayerControlMenu::SetCecUserControl);
    if (!button.shown) {
      b->OnSetVisible(false);
      b->OnSetEnabled(false);
    }
    buttons_.push_back(b);
    Add(b);
  }
  int32_t shown = 0;
  for (const ButtonDef& button : kButtonDefs) shown += button.shown ? 1 : 0;
  KeyRoutingForm::OnSetBounds({0, 0, kWidth, 80 + shown * (kButtonHeight + 3) + 10});
}

void PlayerControlMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  WidgetClass::Initialize(param);
  OnSetFocus(Row(0));
  if (NonMenuSystem::NonMenuSystem* owner = OnGetNonMenuSystem()) {
    const kv::String help = kv::ConcatString(
        kv::ConcatString(kv::GetVariantOfString(SID_ENTER), kv::LoadString(HELP_SEPARATOR)),
        kv::GetVariantOfString(SID_BACK));
    owner->UpdateHelp(kHelpMask, help);
  }
}

void PlayerControlMenu::Close() {
  WidgetClass::Close();
  if (NonMenuSystem::NonMenuSystem* owner = OnGetNonMenuSystem()) owner->ClearHelpBar();
}

void PlayerControlMenu::Refresh() {
  WidgetClass::Refresh();
  const kv::Rect b = Bounds();
  border_.OnSetBounds({0, 0, b.W(), b.H()});
  title_.OnSetBounds({18, 10, b.W() - 18, 40});
  label_.OnSetBounds({18, 45, b.W() - 40, 72});
  upArrow_.OnSetBounds({b.W() - 38, 48, b.W() - 18, 68});
  divider_.OnSetPoints({18, 76}, {b.W() - 18, 76});
  int32_t y = 80;
  for (size_t i = 0; i < buttons_.size(); ++i) {
    SkinBin::Button* button = buttons_[i];
    if (!button->IsVisible()) continue;
    button->OnSetBounds({18, y, b.W() - 18, y + kButtonHeight});
    y += kButtonHeight + 3;
  }
}

kv::Object* PlayerControlMenu::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down) {
    switch (key->Code) {
      case KEY_UP:
        if (!SelectPrev()) SelectLast();
        ResetTimeout();
        return this;
      case KEY_DOWN:
        if (!SelectNext()) SelectFirst();
        ResetTimeout();
        return this;
      case KEY_OK:
      case KEY_LEFT:
      case KEY_RIGHT:
        ResetTimeout();
        return this;
      default:
        break;
    }
  }
  return WidgetClass::HandleEvent(event);
}

void PlayerControlMenu::SetCecUserControl(kv::Object* sender) {
  if (auto* button = kv::Cast<SkinBin::Button>(sender)) {
    if (SkinBin::Wrapper* skin = NonMenuSystem::Live::Skin())
      skin->GetHdmiCecData()->SetCecUserControl(static_cast<uint8_t>(button->Value));
  }
  Post(&WidgetClass::ClearAllSlot);
}

}  // namespace QuickMenu
