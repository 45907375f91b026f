#include "units/NonMenuSystem/ToggleOptionOverlay.h"

#include "keys/keycodes.h"
#include "runtime/slot.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/OptionBinding.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(NonMenuSystem::ToggleOptionOverlay);

namespace NonMenuSystem {

using namespace keys;

ToggleOptionOverlay::ToggleOptionOverlay() {
  WinID = WinIDs::WIN_ID_ToggleOptionOverlay;
  Layer = 64;
  KeyRoutingForm::OnSetBounds({0, 0, 490, 26});
  WidgetOrigin = {10, 504};
  OnTimeOut = kv::MakeSlot(this, &WidgetClass::EnterPrevStateSlot);
  value_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  value_.OnSetColor(Colors::StandardTextColor);
  value_.OnSetAlignH(1);
  value_.OnSetAlignV(1);
  value_.OnSetEllipsis(true);
  left_.OnSetAutoSize(true);
  left_.OnSetBitmap(Resources::LoadResource(Bitmaps::ToggleButtonLeftArrow));
  right_.OnSetAutoSize(true);
  right_.OnSetBitmap(Resources::LoadResource(Bitmaps::ToggleButtonRightArrow));
  Add(&value_);
  Add(&left_);
  Add(&right_);
}

void ToggleOptionOverlay::Initialize(Primitives::KeyRoutingParameter* param) {
  BorderWidgetClass::Initialize(param);
  if (auto* ref = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr) OnSetOptionType(ref->Value);
  if (Count < 2) {
    left_.OnSetVisible(false);
    right_.OnSetVisible(false);
  }
}

void ToggleOptionOverlay::OnSetOptionType(int32_t id) {
  OptionType = id;
  OptionDatabase::OptionDataClass* record = OptionBinding::Find(id);
  if (!record) return;
  record->Initialize();
  Count = record->Num;
  Index = OptionBinding::ReadIndex(record);
  OptionDatabase::OptionCourier* c = OptionBinding::ChoiceOf(record);
  if (!c) return;
  OnSetCaption(record->Name);
  value_.OnSetString(c->Caption);
}

void ToggleOptionOverlay::ToggleOption(bool increase) {
  ResetTimeout();
  // An option without choices has no index to hand to its record.
  if (Count < 1) return;
  if (increase)
    Index = Index < Count - 1 ? Index + 1 : 0;
  else
    Index = Index >= 1 ? Index - 1 : Count - 1;
  OptionDatabase::OptionDataClass* record = OptionBinding::Find(OptionType);
  if (!record) {
    OptionBinding::MarkOptionChange(OptionType);
    return;
  }
  // Only an option courier names a choice: any other record is not written.
  record->Id = Index;
  OptionDatabase::OptionCourier* c = OptionBinding::ChoiceOf(record);
  if (c) {
    OptionBinding::WriteIndex(record, Index);
    if ((c = OptionBinding::ChoiceOf(record))) value_.OnSetString(c->Caption);
  }
  OptionBinding::MarkOptionChange(OptionType);
}

kv::Object* ToggleOptionOverlay::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return BorderWidgetClass::HandleEvent(event);
  const uint16_t code = key->Code;
  if (ToggleDecreaseKey != KEY_NONE && code == ToggleDecreaseKey) {
    ToggleOption(false);
  } else if (ToggleIncreaseKey != KEY_NONE && code == ToggleIncreaseKey) {
    ToggleOption(true);
  } else if (code == KEY_AUDIO && OptionType == SkinBin::OPTION_TYPE_MTS_KEY) {
    ToggleOption(true);
  } else if (code == KEY_CC && OptionType == SkinBin::OPTION_TYPE_CC_KEY) {
    ToggleOption(true);
  } else if (code == KEY_OK || code == KEY_UP || code == KEY_DOWN || code == KEY_BACK) {
    if (code == KEY_UP) UpPressed = true;
    if (code == KEY_DOWN) DownPressed = true;
    Post(&WidgetClass::EnterPrevStateSlot);
  } else {
    return BorderWidgetClass::HandleEvent(event);
  }
  return this;
}

void ToggleOptionOverlay::EnterPrevState() { OptionBinding::LeaveWithKey(this, UpPressed, DownPressed); }

void ToggleOptionOverlay::Refresh() {
  BorderWidgetClass::Refresh();
  const int32_t w = Bounds().W(), h = Bounds().H();
  caption_.OnSetAlignH(0);
  caption_.OnSetBounds({8, 3, w / 2, h});
  value_.OnSetBounds({w / 2, 3, w, h});
  const auto centre = [h](Views::Image& img, int32_t x) {
    const kv::Rect r = img.Bounds();
    const int32_t y = (h - r.H()) / 2;
    img.OnSetBounds({x, y, x + r.W(), y + r.H()});
  };
  centre(left_, value_.Bounds().x1 + 7);
  centre(right_, w - 7 - right_.Bounds().W());
}

}  // namespace NonMenuSystem
