#include "units/MediaPlayer/SetupItems.h"

#include "strings/MediaPlayerSetup.h"
#include "strings/MenuSystemItems.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Core/Event.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/Resources/Resources.h"

namespace MediaPlayer {

KV_REGISTER_CLASS(MediaPlayer::MaxVolNumInput);
KV_REGISTER_CLASS(MediaPlayer::MaxVolSeptupItem);
KV_REGISTER_CLASS(MediaPlayer::AdjustArrowButton);

namespace {

constexpr uint16_t kOk = 1;
constexpr uint16_t kUp = 4;
constexpr uint16_t kDown = 5;
constexpr uint16_t kLeft = 6;
constexpr uint16_t kRight = 7;

uint16_t DownKey(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  return key && key->Down ? key->Code : 0;
}

bool IsDigit(uint16_t code) { return code >= Core::KEY_DIGIT_0 && code <= Core::KEY_DIGIT_9; }

void SetShown(Core::View& v, bool on) {
  if (v.IsVisible() != on) v.OnSetVisible(on);
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
    case kUp:
      return this;
    case kDown:
      DigitCount = 0;
      SetNum(kDefault);
      kv::Signal(OnNumChanged, this);
      return this;
    default:
      return SkinBin::NumberInput::HandleEvent(event);
  }
}

// --- MaxVolSeptupItem ------------------------------------------------------------------

MaxVolSeptupItem::MaxVolSeptupItem() {
  SetHelp(false);
  number_.OnSetBounds({245, 0, MenuSystem::kItemWidth, MenuSystem::kItemHeight});
  number_.OnSetEnabled(false);
  number_.OnSetVisible(false);
  number_.OnNumChanged = kv::MakeSlot(this, &MaxVolSeptupItem::DoNumberChanged);
  number_.OnCancelChange = kv::MakeSlot(this, &MaxVolSeptupItem::DoCancelChange);
  number_.OnResetTimeout = kv::MakeSlot(this, &MaxVolSeptupItem::DoResetTimeout);
}

void MaxVolSeptupItem::SetHelp(bool editing) {
  namespace T = MenuSystemItems;
  HelpMask = editing ? MenuSystem::HELP_MASK_EDITING : MenuSystem::HELP_MASK_ENTRY;
  HelpString = MenuSystem::HelpText({&T::SID_INPUT, editing ? &T::SID_ENTER : &T::SID_EDIT, &T::SID_BACK});
}

void MaxVolSeptupItem::ReInit() {
  AdjustItemArrowSelect::ReInit();
  SetHelp(IsNumberEdit);
}

void MaxVolSeptupItem::OnSetIsNumberEdit(bool on) {
  IsNumberEdit = on;
  number_.OnSetEnabled(on);
  SetShown(number_, on);
  SetShown(ValueText(), !on);
  SetHelp(on);
  if (on) {
    SetShown(LeftArrow(), false);
    SetShown(RightArrow(), false);
  } else {
    RefreshArrow();
  }
  InvalidateView();
  kv::Signal(OnNumberEditChanged, this);
}

kv::Object* MaxVolSeptupItem::HandleEvent(Core::Event* event) {
  const uint16_t code = DownKey(event);
  if (IsDigit(code)) {
    if (OnGetIsDisabled()) {
      kv::Signal(OnResetTimeout, this);
      return this;
    }
    if (!IsNumberEdit) {
      OnSetIsNumberEdit(true);
      number_.DigitCount = 0;
      number_.RefreshButtons();
    }
    number_.HandleEvent(event);
    return this;
  }
  if (IsNumberEdit && code != 0) {
    if (kv::Object* answer = number_.HandleEvent(event)) return answer;
  }
  return AdjustItemArrowSelect::HandleEvent(event);
}

void MaxVolSeptupItem::HandleFocus(bool focused) {
  AdjustItemArrowSelect::HandleFocus(focused);
  if (!focused && IsNumberEdit) OnSetIsNumberEdit(false);
}

void MaxVolSeptupItem::DoNumberChanged(kv::Object*) {
  // Every digit is reported; the entry ends with the last digit, OK or down.
  if (number_.DigitCount != 0) return;
  OnSetIsNumberEdit(false);
  if (number_.GetNum() == Value) return;
  OnSetValue(number_.GetNum());
  WriteValue();
}

void MaxVolSeptupItem::DoCancelChange(kv::Object*) { OnSetIsNumberEdit(false); }

void MaxVolSeptupItem::DoResetTimeout(kv::Object*) { kv::Signal(OnResetTimeout, this); }

void MaxVolSeptupItem::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  AdjustItemArrowSelect::Draw(target, clip, origin, opacity);
  DrawPart(number_, target, clip, origin, opacity);
}

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
  if (code == kOk) {
    Activate();
    return this;
  }
  if (code == kLeft || code == kRight) {
    if (!OnGetIsDisabled()) {
      OnSetValue(code == kRight ? Value + Step : Value - Step);
      WriteOption(*this);
      kv::Signal(OnValueChanged, this);
    }
    kv::Signal(OnResetTimeout, this);
    return this;
  }
  return AdjustItemArrow::HandleEvent(event);
}

}  // namespace MediaPlayer
