#include "units/MediaPlayer/SetupItems.h"

#include "keys/keycodes.h"
#include "strings/MediaPlayerSetup.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Core/Event.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/Resources/Resources.h"

namespace MediaPlayer {

using namespace keys;

KV_REGISTER_CLASS(MediaPlayer::MaxVolNumInput);
KV_REGISTER_CLASS(MediaPlayer::MaxVolSeptupItem);
KV_REGISTER_CLASS(MediaPlayer::AdjustArrowButton);

namespace {


uint16_t DownKey(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  return key && key->Down ? key->Code : 0;
}

// The option record of the row takes `value` as its index, converts it and
// writes the value through the option's property.
void WriteOption(MenuSystem::SubMenuItemAdjust& item) {
  OptionDatabase::OptionDataClass* record = MenuSystem::OptionRecord(item.OptionType);
  if (!record) return;
  record->Id = item.Value;
  record->Id2Value(&item);
  if (record->HasProperty()) kv::OnSetInt32(record->RefValue, record->Value);
}

}  // namespace

// --- MaxVolNumInput --------------------------------------------------------------------

kv::Object* MaxVolNumInput::HandleEvent(Core::Event* event) {
  switch (DownKey(event)) {
    case KEY_UP:
      return this;
    case KEY_DOWN:
      DigitCount = 0;
      SetNum(kDefault);
      kv::Signal(OnNumChanged, this);
      return this;
    default:
      return SkinBin::NumberInput::HandleEvent(event);
  }
}

// --- MaxVolSeptupItem ------------------------------------------------------------------

MaxVolSeptupItem::MaxVolSeptupItem() { AttachNumberForm({245, 0, MenuSystem::kItemWidth, MenuSystem::kItemHeight}); }

// --- AdjustArrowButton -----------------------------------------------------------------

AdjustArrowButton::AdjustArrowButton() {
  Resources::Bitmap* normal = Resources::LoadResource(Bitmaps::SelectButtonNonFocused);
  OnSetDefault_BackgroundBitmap(normal);
  OnSetNonfocused_BackgroundBitmap(normal);
  OnSetDisabled_BackgroundBitmap(normal);
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::SelectButtonFocused));
  LeftArrow().OnSetVisible(true);
  RightArrow().OnSetVisible(true);
}

void AdjustArrowButton::Refresh() {
  AdjustItemArrow::Refresh();
  const kv::Rect b = Bounds();
  Views::Text& value = ValueText();
  value.OnSetBounds({0, 0, b.W(), b.H()});
  value.OnSetAlignH(1);
  TextView().OnSetVisible(false);
  Views::Image& left = LeftArrow();
  Views::Image& right = RightArrow();
  const kv::Rect l = left.Bounds();
  const kv::Rect r = right.Bounds();
  const int32_t ly = (b.H() - l.H()) / 2;
  const int32_t ry = (b.H() - r.H()) / 2;
  left.OnSetBounds({7, ly, 7 + l.W(), ly + l.H()});
  right.OnSetBounds({b.W() - 7 - r.W(), ry, b.W() - 7, ry + r.H()});
}

kv::Object* AdjustArrowButton::HandleEvent(Core::Event* event) {
  const uint16_t code = DownKey(event);
  if (code == KEY_OK) {
    Activate();
    return this;
  }
  if (code == KEY_LEFT || code == KEY_RIGHT) {
    if (!OnGetIsDisabled()) {
      OnSetValue(code == KEY_RIGHT ? Value + Step : Value - Step);
      WriteOption(*this);
      kv::Signal(OnValueChanged, this);
    }
    kv::Signal(OnResetTimeout, this);
    return this;
  }
  return AdjustItemArrow::HandleEvent(event);
}

}  // namespace MediaPlayer
