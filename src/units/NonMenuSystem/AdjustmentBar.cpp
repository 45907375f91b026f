#include "units/NonMenuSystem/AdjustmentBar.h"

#include "keys/keycodes.h"
#include "runtime/slot.h"
#include "units/Bitmaps/BarBitmaps.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/OptionBinding.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionTypes.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(NonMenuSystem::AdjustmentBar);
KV_REGISTER_CLASS(NonMenuSystem::AdjustmentBarTint);
KV_REGISTER_CLASS(NonMenuSystem::AdjustmentBarKXD);
KV_REGISTER_CLASS(NonMenuSystem::NoSliderAdjustmentBar);

namespace NonMenuSystem {

namespace {

using OptionDatabase::OptionDataClass;

using namespace keys;

constexpr uint32_t kBarLayer = 64;
constexpr kv::Point kBarOrigin{10, 504};
// The white-balance test patterns: 13 for the offsets, 18 for the gains.
constexpr int32_t kOffsetPattern = 13;
constexpr int32_t kGainPattern = 18;

Core::KeyEvent* DownKey(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  return key && key->Down ? key : nullptr;
}

SkinBin::UserRefInt* RefOf(Primitives::KeyRoutingParameter* param) {
  return param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr;
}

void SetupValueText(Views::Text& t, int32_t alignH) {
  t.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  t.OnSetColor(Colors::StandardTextColor);
  t.OnSetAlignH(alignH);
  t.OnSetAlignV(1);
}

void SetupSlider(::Progress::Progress& s) {
  s.OnSetBgImageBitmap(Resources::LoadResource(Bitmaps::BlueSliderBgFrame));
  s.OnSetIndicatorImageBitmap(Resources::LoadResource(Bitmaps::BlueSliderIndicator));
}

// The record's flag chooses the frame with or without the centre mark.
void ChooseFrame(::Progress::Progress& s, const SkinBin::UserRefInt* ref) {
  if (!ref) return;
  s.OnSetBgImageBitmap(
      Resources::LoadResource(ref->Flag ? Bitmaps::BlueSliderBgFrame : Bitmaps::BlueSliderBgFrameNoY));
}

// Binds a slider to the option: caption, range, step and shown value.
// Returns false (nothing changed) without a slider record.
bool BindSlider(int32_t id, ::Progress::Progress& slider, Views::Text& value, kv::String* caption) {
  OptionDataClass* record = OptionBinding::Find(id);
  OptionDatabase::SliderCourier* c = OptionBinding::SliderOf(record);
  if (!c) return false;
  *caption = record->Name;
  slider.OnSetMax(c->Max);
  slider.OnSetMin(c->Min);
  slider.OnSetStep(c->Step);
  record->Value = c->Value;
  record->Val2Id();
  value.OnSetString(kv::NewStringInt(record->Id, 0));
  slider.OnSetValue(record->Id);
  return true;
}

// Shows the white-balance test pattern of a gain or offset while the
// white-balance window is on.
void ShowTestPattern(int32_t id) {
  SkinBin::Wrapper* w = Live::Skin();
  if (!w || !w->OnGetWB_WindowDisplay()) return;
  if (id >= OptionDatabase::OPTION_TYPE_RED_OFFSET && id <= OptionDatabase::OPTION_TYPE_BLUE_OFFSET)
    w->SetTestPattern(kOffsetPattern);
  else if (id >= OptionDatabase::OPTION_TYPE_RED_GAIN && id <= OptionDatabase::OPTION_TYPE_BLUE_GAIN)
    w->SetTestPattern(kGainPattern);
}

// A step of a bound bar: map the shown number to a value, write it, mark it.
void WriteStep(int32_t id, int32_t shown) {
  if (OptionDataClass* record = OptionBinding::Find(id)) OptionBinding::WriteIndex(record, shown);
  OptionBinding::MarkOptionChange(id);
}

bool IsLeavingKey(uint16_t code) { return code == KEY_OK || code == KEY_UP || code == KEY_DOWN || code == KEY_BACK; }

}  // namespace

// --- AdjustmentBar -----------------------------------------------------------------

AdjustmentBar::AdjustmentBar() {
  WinID = WinIDs::WIN_ID_AdjustmentBar;
  Layer = kBarLayer;
  KeyRoutingForm::OnSetBounds({0, 0, 490, 25});
  WidgetOrigin = kBarOrigin;
  OnTimeOut = kv::MakeSlot(this, &WidgetClass::EnterPrevStateSlot);
  SetupSlider(slider_);
  slider_.OnSetValue(0);
  slider_.OnValueChanged = kv::MakeSlot(this, &AdjustmentBar::DoValueChanged);
  SetupValueText(value_, 2);
  Add(&value_);
  Add(&slider_);
  OnSetFocus(&slider_);
}

void AdjustmentBar::Initialize(Primitives::KeyRoutingParameter* param) {
  BorderWidgetClass::Initialize(param);
  SkinBin::UserRefInt* ref = RefOf(param);
  if (ref) OnSetOptionType(ref->Value);
  ChooseFrame(slider_, ref);
}

void AdjustmentBar::OnSetOptionType(int32_t id) {
  OptionType = id;
  kv::String caption;
  if (!BindSlider(id, slider_, value_, &caption)) return;
  bound_ = true;
  OnSetCaption(caption);
}

void AdjustmentBar::DoValueChanged(kv::Object*) {
  value_.OnSetString(kv::NewStringInt(slider_.OnGetValue(), 0));
  if (bound_) {
    ShowTestPattern(OptionType);
    WriteStep(OptionType, slider_.OnGetValue());
  }
  ResetTimeout();
}

kv::Object* AdjustmentBar::HandleEvent(Core::Event* event) {
  Core::KeyEvent* key = DownKey(event);
  if (!key || !IsLeavingKey(key->Code)) return BorderWidgetClass::HandleEvent(event);
  if (key->Code == KEY_UP) UpPressed = true;
  if (key->Code == KEY_DOWN) DownPressed = true;
  Post(&WidgetClass::EnterPrevStateSlot);
  return this;
}

void AdjustmentBar::EnterPrevState() { OptionBinding::LeaveWithKey(this, UpPressed, DownPressed); }

void AdjustmentBar::Refresh() {
  BorderWidgetClass::Refresh();
  const int32_t w = Bounds().W(), h = Bounds().H();
  caption_.OnSetBounds({caption_.Bounds().x1, 3, w / 2, h});
  value_.OnSetBounds({w / 2, 3, w / 2 + 40, h});
  const int32_t sh = slider_.Bounds().H() > 0 ? slider_.Bounds().H() : 14;
  const int32_t y = (h - sh) / 2 + 1;
  slider_.OnSetBounds({value_.Bounds().x2 + 8, y, w - 11, y + sh});
}

// --- AdjustmentBarTint -------------------------------------------------------------

namespace {
constexpr kv::Color kTintLeft{0x73, 0x3E, 0x59, 255};
constexpr kv::Color kTintRight{0x08, 0x78, 0x03, 255};
constexpr int32_t kTintSignRoom = 17;

void SetupSwatch(Views::Rectangle& fill, Views::Border& border, kv::Color c, kv::Rect r) {
  fill.OnSetColor(c);
  fill.OnSetBounds(r);
  border.OnSetWidth(1);
  border.OnSetColor(Colors::DialogBorder);
  border.OnSetBounds(r);
}
}  // namespace

AdjustmentBarTint::AdjustmentBarTint() {
  SetupSwatch(left_, leftBorder_, kTintLeft, {281, 7, 291, 17});
  SetupSwatch(right_, rightBorder_, kTintRight, {465, 7, 475, 17});
  value_.OnSetBounds({245, 4, 268, 24});
  Add(&left_);
  Add(&leftBorder_);
  Add(&right_);
  Add(&rightBorder_);
}

void AdjustmentBarTint::Refresh() {
  AdjustmentBar::Refresh();
  const int32_t w = Bounds().W(), h = Bounds().H();
  // Right-aligned, ending where the slider's gap begins; room to the left
  // for the sign of -50.
  const kv::Rect v = value_.Bounds();
  value_.OnSetBounds({v.x1 - kTintSignRoom, v.y1, v.x1 + 23, v.y2});
  const int32_t sh = slider_.Bounds().H();
  const int32_t y = (h - sh) / 2 + 1;
  slider_.OnSetBounds({v.x1 + 23 + 30, y, w - 30, y + sh});
}

// --- AdjustmentBarKXD --------------------------------------------------------------

AdjustmentBarKXD::AdjustmentBarKXD() {
  KeyRoutingForm::OnSetBounds({0, 0, 480, 40});
  WidgetOrigin = {30, 470};
  OnSetFrameWidth(12);
  KeyRoutingForm::OnSetBounds({0, 0, 480, 40});
  HasCaption = false;
  SetupSlider(slider_);
  slider_.OnSetStretchIndicator(::Progress::kIndicatorPosition);
  slider_.OnSetValue(20);
  slider_.OnValueChanged = kv::MakeSlot(this, &AdjustmentBarKXD::DoValueChanged);
  SetupValueText(value_, 2);
  value_.OnSetBounds({200, 12, 240, 32});
  caption_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  caption_.OnSetColor(Colors::StandardTextColor);
  Add(&value_);
  Add(&slider_);
  OnSetFocus(&slider_);
}

void AdjustmentBarKXD::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  SkinBin::UserRefInt* ref = RefOf(param);
  if (ref) OnSetOptionType(ref->Value);
  ChooseFrame(slider_, ref);
}

void AdjustmentBarKXD::OnSetOptionType(int32_t id) {
  OptionType = id;
  kv::String caption;
  if (!BindSlider(id, slider_, value_, &caption)) return;
  bound_ = true;
  OnSetCaption(caption);
}

void AdjustmentBarKXD::DoValueChanged(kv::Object*) {
  value_.OnSetString(kv::NewStringInt(slider_.OnGetValue(), 0));
  if (bound_) {
    ShowTestPattern(OptionType);
    WriteStep(OptionType, slider_.OnGetValue());
  }
  ResetTimeout();
  if (bound_) OptionBinding::Announce(Constants::MSG_OPTION_CHANGE);
}

kv::Object* AdjustmentBarKXD::HandleEvent(Core::Event* event) {
  Core::KeyEvent* key = DownKey(event);
  if (key && (key->Code == KEY_OK || key->Code == KEY_BACK)) {
    Post(&WidgetClass::EnterPrevStateSlot);
    return this;
  }
  return KXDWidgetClass::HandleEvent(event);
}

void AdjustmentBarKXD::EnterPrevState() {
  Close();
  HandBackToMenu();
}

void AdjustmentBarKXD::Refresh() {
  KXDWidgetClass::Refresh();
  frame_.OnSetVisible(true);
  const int32_t w = Bounds().W(), h = Bounds().H();
  caption_.OnSetVisible(true);
  caption_.OnSetBounds({20, 0, 200, h});
  value_.OnSetBounds({200, 0, 240, h});
  const int32_t sh = slider_.Bounds().H() > 0 ? slider_.Bounds().H() : 14;
  const int32_t y = (h - sh) / 2;
  slider_.OnSetBounds({value_.Bounds().x2 + 8, y, w - 16, y + sh});
}

// --- NoSliderAdjustmentBar ---------------------------------------------------------

NoSliderAdjustmentBar::NoSliderAdjustmentBar() {
  Layer = kBarLayer;
  KeyRoutingForm::OnSetBounds({0, 0, 490, 25});
  WidgetOrigin = kBarOrigin;
  OnTimeOut = kv::MakeSlot(this, &WidgetClass::EnterPrevStateSlot);
  SetupValueText(value_, 1);
  left_.OnSetAutoSize(true);
  left_.OnSetBitmap(Resources::LoadResource(Bitmaps::ToggleButtonLeftArrow));
  right_.OnSetAutoSize(true);
  right_.OnSetBitmap(Resources::LoadResource(Bitmaps::ToggleButtonRightArrow));
  Add(&value_);
  Add(&left_);
  Add(&right_);
}

void NoSliderAdjustmentBar::Initialize(Primitives::KeyRoutingParameter* param) {
  BorderWidgetClass::Initialize(param);
  if (SkinBin::UserRefInt* ref = RefOf(param)) OnSetOptionType(ref->Value);
}

void NoSliderAdjustmentBar::OnSetOptionType(int32_t id) {
  OptionType = id;
  OptionDataClass* record = OptionBinding::Find(id);
  OptionDatabase::SliderCourier* c = OptionBinding::SliderOf(record);
  if (!c) return;
  bound_ = true;
  OnSetCaption(record->Name);
  Max = c->Max;
  Min = c->Min;
  Step = c->Step;
  record->Value = c->Value;
  record->Val2Id();
  OnSetValue(record->Id);
}

void NoSliderAdjustmentBar::OnSetValue(int32_t v) {
  bool leftShown = true, rightShown = true;
  if (v > Max) {
    Value = Max;
    rightShown = false;
  } else {
    const int32_t c = v > Min ? v : Min;
    if (c == Max) {
      Value = Max;
      rightShown = false;
    } else if (c == Min) {
      Value = Min;
      leftShown = false;
    } else {
      Value = c;
    }
  }
  left_.OnSetVisible(leftShown);
  right_.OnSetVisible(rightShown);
  OnSetValueString(kv::NewStringInt(Value, 0));
}

void NoSliderAdjustmentBar::OnSetValueString(const kv::String& text) {
  ValueString = text;
  value_.OnSetString(text);
}

kv::Object* NoSliderAdjustmentBar::HandleEvent(Core::Event* event) {
  Core::KeyEvent* key = DownKey(event);
  if (!key) return BorderWidgetClass::HandleEvent(event);
  const uint16_t code = key->Code;
  if (IsLeavingKey(code)) {
    if (code == KEY_UP) UpPressed = true;
    if (code == KEY_DOWN) DownPressed = true;
    Post(&WidgetClass::EnterPrevStateSlot);
  } else if (code == KEY_LEFT || code == KEY_RIGHT) {
    OnSetValue(code == KEY_RIGHT ? Value + Step : Value - Step);
    if (bound_) WriteStep(OptionType, Value);
  } else {
    return BorderWidgetClass::HandleEvent(event);
  }
  ResetTimeout();
  return this;
}

void NoSliderAdjustmentBar::EnterPrevState() { OptionBinding::LeaveWithKey(this, UpPressed, DownPressed); }

void NoSliderAdjustmentBar::Refresh() {
  BorderWidgetClass::Refresh();
  const int32_t w = Bounds().W(), h = Bounds().H();
  caption_.OnSetBounds({caption_.Bounds().x1, 3, w / 2, h});
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
