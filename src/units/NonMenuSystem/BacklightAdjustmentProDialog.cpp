#include "units/NonMenuSystem/BacklightAdjustmentProDialog.h"

#include <algorithm>

#include "ge/fill.h"
#include "ge/surface.h"
#include "keys/keycodes.h"
#include "units/Core/Log.h"
#include "strings/NonMenuSystem.h"
#include "strings/Strings.h"
#include "units/Bitmaps/BarBitmaps.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/OptionBinding.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/Wrapper.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(NonMenuSystem::BacklightAdjustSlider);
KV_REGISTER_CLASS(NonMenuSystem::BacklightAdjustmentProDialog);

namespace NonMenuSystem {

namespace {

using namespace keys;

constexpr uint32_t kAdjustingHelpMask = 0x10000024;
constexpr uint32_t kResultHelpMask = 0x10040200;
constexpr uint32_t kAdjustingCurve = 0xFFCCCCCCu;
constexpr uint32_t kResultCurve = 0xFF8C5617u;
constexpr int32_t kSensorPeriod = 1500;
constexpr int32_t kCurveDivisions = 8;
constexpr kv::Rect kCurveBounds{120, 86, 378, 215};
constexpr int32_t kSliderX[BacklightAdjustmentProDialog::kLevels] = {114, 139, 165, 191, 217, 243,
                                                                     268, 294, 320, 346, 372};
// The focus line of a slider, in its highlight colour.
constexpr kv::Rect kFocusLine{6, 8, 8, 136};

void SetupText(Views::Text& t, int32_t alignH, kv::Rect bounds) {
  t.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  t.OnSetColor(Colors::StandardTextColor);
  t.OnSetAlignH(alignH);
  t.OnSetAlignV(1);
  t.OnSetBounds(bounds);
}

void SetupButton(SkinBin::Button& b, const kv::MultiTextId& text, kv::Rect bounds) {
  b.OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::SelectButtonFocused));
  b.OnSetText(kv::GetVariantOfString(text));
  b.OnSetBounds(bounds);
}

}  // namespace

// --- BacklightAdjustSlider -------------------------------------------------------

BacklightAdjustSlider::BacklightAdjustSlider() {
  OnSetBounds({0, 0, 14, 144});
  OnSetVertical(true);
  OnSetIncreaseKey(KEY_UP);
  OnSetDecreaseKey(KEY_DOWN);
  OnSetStretchIndicator(::Progress::kIndicatorPosition);
  OnSetIndicatorImageBitmap(Resources::LoadResource(Bitmaps::Point));
  OnSetIndicatorTopLeft({2, 0});
  OnSetValue(50);
}

void BacklightAdjustSlider::HandleFocus(bool focused) {
  ::Progress::Progress::HandleFocus(focused);
  focusLine_ = focused;
  OnSetIndicatorImageBitmap(Resources::LoadResource(focused ? Bitmaps::FocusedPoint : Bitmaps::Point));
  OnSetIndicatorTopLeft({focused ? 0 : 2, 0});
  InvalidateView();
}

void BacklightAdjustSlider::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  if (focusLine_) {
    const kv::Rect r{origin.x + kFocusLine.x1, origin.y + kFocusLine.y1, origin.x + kFocusLine.x2,
                     origin.y + kFocusLine.y2};
    const uint32_t c = Colors::StandardOptionBgColor.ToWord();
    const uint32_t a = ge::Mul8(c >> 24, static_cast<uint32_t>(std::clamp(opacity, 0, 255)));
    ge::GenBlendRect(target, Core::ToGeRect(clip), Core::ToGeRect(r), (c & 0x00FFFFFFu) | (a << 24));
  }
  ::Progress::Progress::Draw(target, clip, origin, opacity);
}

// --- BacklightAdjustmentProDialog -----------------------------------------------

BacklightAdjustmentProDialog::BacklightAdjustmentProDialog() {
  WinID = WinIDs::WIN_ID_BacklightAdjustmentProDialog;
  KeyRoutingForm::OnSetBounds({0, 0, 500, 300});
  WidgetOrigin = {5, 235};
  PrevState = KV_LATE_CLASS("MenuSystem::AutoBrightnessSensorMenu");
  OnTimeOut = kv::MakeSlot(this, &WidgetClass::ClearAllSlot);
  OnSetCaption(kv::GetVariantOfString(SID_BACKLIGHT_ADJ_PRO));

  background_.OnSetBounds({118, 83, 382, 219});
  background_.OnSetBitmap(Resources::LoadResource(Bitmaps::BacklightAdjustResultBg));
  Add(&background_);
  curve_.OnSetBounds(kCurveBounds);
  curve_.OnSetPointBitmap(Resources::LoadResource(Bitmaps::CurvePoint));
  Add(&curve_);
  SetupText(ambient_, 1, {120, 240, 380, 262});
  ambient_.OnSetString(kv::GetVariantOfString(SID_AMBIENT_LIGHT));
  Add(&ambient_);
  meter_.OnSetBounds({120, 267, 380, 287});
  meter_.OnSetBgImageBitmap(Resources::LoadResource(Bitmaps::ScanSliderBackground));
  meter_.OnSetIndicatorImageBitmap(Resources::LoadResource(Bitmaps::ScanSliderIndicator));
  meter_.OnSetStretchIndicator(::Progress::kIndicatorStretch);
  meter_.OnSetReadOnly(true);
  meter_.OnSetValue(50);
  Add(&meter_);

  // The side label wraps into the narrow column left of the plot.
  SetupText(controlLevel_, 2, {10, 110, 104, 190});
  controlLevel_.OnSetFont(Resources::LoadResource(Fonts::BannerDescription));
  controlLevel_.OnSetString(kv::GetVariantOfString(SID_CONTROL_LEVEL));
  SetupText(backlightControlLevel_, 0, {160, 40, 320, 80});
  backlightControlLevel_.OnSetFont(Resources::LoadResource(Fonts::BannerDescription));
  backlightControlLevel_.OnSetString(kv::GetVariantOfString(SID_BACKLIGHT_CONTROL_LEVEL));
  valueBox_.OnSetBounds({330, 45, 380, 75});
  valueBox_.OnSetColor(Colors::StandardOptionBgColor);
  SetupText(value_, 1, {330, 45, 380, 75});
  value_.OnSetString(kv::LoadString(BACKLIGHT_VALUE_PLACEHOLDER));
  SetupText(axisHigh_, 2, {54, 77, 104, 98});
  axisHigh_.OnSetString(kv::LoadString(BACKLIGHT_AXIS_HIGH));
  SetupText(axisLow_, 2, {54, 206, 104, 227});
  axisLow_.OnSetString(kv::LoadString(BACKLIGHT_AXIS_LOW));
  for (Views::Text* t : {&controlLevel_, &backlightControlLevel_}) Add(t);
  Add(&valueBox_);
  for (Views::Text* t : {&value_, &axisHigh_, &axisLow_}) Add(t);

  for (int32_t i = 0; i < kLevels; ++i) {
    BacklightAdjustSlider& s = sliders_[i];
    s.PointIndex = i;
    s.OnSetBounds({kSliderX[i], 79, kSliderX[i] + 14, 223});
    s.OnFocus = kv::MakeSlot(this, &BacklightAdjustmentProDialog::DoFocus);
    s.OnValueChanged = kv::MakeSlot(this, &BacklightAdjustmentProDialog::SetBacklightControlLevel);
    Add(&s);
  }
  SetupButton(cancel_, Strings::SID_CANCEL, {395, 148, 485, 178});
  cancel_.OnActivate = kv::MakeSlot(this, &BacklightAdjustmentProDialog::CancelSlot);
  cancel_.OnFocus = kv::MakeSlot(this, &BacklightAdjustmentProDialog::DoFocus);
  SetupButton(reset_, Strings::SID_RESET, {395, 186, 485, 216});
  reset_.OnActivate = kv::MakeSlot(this, &BacklightAdjustmentProDialog::ResetSlot);
  reset_.OnFocus = kv::MakeSlot(this, &BacklightAdjustmentProDialog::DoFocus);
  Add(&cancel_);
  Add(&reset_);
  remembered_ = &cancel_;

  sensor_.OnSetBegin(kSensorPeriod);
  sensor_.OnSetPeriod(0);
  sensor_.OnTrigger = kv::MakeSlot(this, &BacklightAdjustmentProDialog::GetLightSensor);
}

void BacklightAdjustmentProDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  BorderWidgetClass::Initialize(param);
  SkinBin::Wrapper* w = Live::Skin();
  for (int32_t i = 0; i < kLevels; ++i) {
    BacklightAdjustSlider& s = sliders_[i];
    s.OnSetValue(w ? w->GetBacklightAdjustment(s.PointIndex) : s.OnGetValue());
    saved_[i] = s.OnGetValue();
  }
  ReadSensor();
  OnSetInAdjusting(false);
}

void BacklightAdjustmentProDialog::ReadSensor() {
  SkinBin::Wrapper* w = Live::Skin();
  int32_t reading = w ? w->GetLightSensor() : 0;
  if (reading < 0 || reading > kMaxReading) {
    Core::LogError("BacklightAdjustmentProDialog: light sensor reading %i outside 0..1023", {reading});
    reading = std::clamp(reading, 0, kMaxReading);
  }
  lightLevel_ = static_cast<uint16_t>(reading * 100 / kMaxReading);
  meter_.OnSetValue(lightLevel_);
}

void BacklightAdjustmentProDialog::OnSetInAdjusting(bool on) {
  InAdjusting = on;
  Post(&WidgetClass::RefreshSlot);
  if (on) {
    OptionBinding::ShowHelp(this, kAdjustingHelpMask,
                            {kv::GetVariantOfString(Strings::SID_SELECT), kv::GetVariantOfString(SID_ADJUST)});
    sensor_.OnSetEnabled(false);
    // The slider of the light measured now, rounded to the nearest tenth.
    const int32_t i = (lightLevel_ + 5) / 10;
    sliders_[i].OnSetEnabled(true);
    sliders_[i].OnSetVisible(true);
    OnSetFocus(&sliders_[i]);
    UpdateCurve(kAdjustingCurve, true);
  } else {
    OptionBinding::ShowHelp(this, kResultHelpMask,
                            {kv::GetVariantOfString(SID_ADJUST), kv::GetVariantOfString(Strings::SID_BACK)});
    sensor_.Restart(kSensorPeriod, 0);
    for (int32_t i = 0; i < kLevels; ++i) saved_[i] = sliders_[i].OnGetValue();
    UpdateCurve(kResultCurve, true);
  }
}

void BacklightAdjustmentProDialog::UpdateCurve(uint32_t colour, bool linear) {
  curve_.OnSetPointNum(kLevels);
  curve_.OnSetLinear(linear);
  curve_.OnSetColor(colour);
  // The points run x 0..260 and y 0 (level 100) .. 130 (level 0); they are
  // scaled into the view so that the last column and row stay inside it.
  const int32_t w = curve_.Bounds().W() - 1, h = curve_.Bounds().H() - 1;
  for (int32_t i = 0; i < kLevels; ++i) {
    const int32_t x = 26 * i, y = (100 - sliders_[i].OnGetValue()) * 13 / 10;
    curve_.SetPoint(i, x * w / 260, y * h / 130);
  }
  curve_.CreateCurve(kCurveDivisions);
}

void BacklightAdjustmentProDialog::SetLevel(int32_t i, int32_t level) {
  sliders_[i].OnSetValue(level);
  if (SkinBin::Wrapper* w = Live::Skin()) w->SetBacklightAdjustment(sliders_[i].PointIndex, level);
}

void BacklightAdjustmentProDialog::SetBacklightControlLevel(kv::Object* sender) {
  auto* slider = kv::Cast<BacklightAdjustSlider>(sender);
  if (!slider) return;
  if (SkinBin::Wrapper* w = Live::Skin()) w->SetBacklightAdjustment(slider->PointIndex, slider->OnGetValue());
  OptionBinding::MarkOptionChange(SkinBin::OPTION_TYPE_AUTO_BRIGHTNESS_SENSOR);
  if (OnGetFocus() != slider) return;
  value_.OnSetString(kv::NewStringInt(slider->OnGetValue(), 0));
  ResetTimeout();
  InvalidateView();
  RefreshAllLevels(slider->PointIndex);
}

void BacklightAdjustmentProDialog::RefreshAllLevels(int32_t index) {
  if (index < 0 || index >= kLevels) return;
  const int32_t v = sliders_[index].OnGetValue();
  for (int32_t i = 0; i < index; ++i)
    if (sliders_[i].OnGetValue() > v) SetLevel(i, v);
  for (int32_t i = index; i < kLevels; ++i)
    if (sliders_[i].OnGetValue() < v) SetLevel(i, v);
  UpdateCurve(kAdjustingCurve, true);
}

void BacklightAdjustmentProDialog::CancelSlot(kv::Object*) {
  SkinBin::Wrapper* w = Live::Skin();
  for (int32_t i = 0; i < kLevels; ++i) {
    sliders_[i].OnSetValue(saved_[i]);
    if (w && w->GetBacklightAdjustment(sliders_[i].PointIndex) != saved_[i])
      w->SetBacklightAdjustment(sliders_[i].PointIndex, saved_[i]);
  }
  UpdateCurve(kAdjustingCurve, true);
}

void BacklightAdjustmentProDialog::ResetSlot(kv::Object*) {
  SkinBin::Wrapper* w = Live::Skin();
  if (w) w->ResetBacklightAdjustment();
  for (BacklightAdjustSlider& s : sliders_)
    if (w) s.OnSetValue(w->GetBacklightAdjustment(s.PointIndex));
  UpdateCurve(kAdjustingCurve, true);
}

void BacklightAdjustmentProDialog::GetLightSensor(kv::Object*) {
  sensor_.Restart(kSensorPeriod, 0);
  ReadSensor();
}

void BacklightAdjustmentProDialog::DoFocus(kv::Object* control) {
  auto* slider = kv::Cast<BacklightAdjustSlider>(control);
  value_.OnSetString(slider ? kv::NewStringInt(slider->OnGetValue(), 0) : kv::LoadString(BACKLIGHT_VALUE_PLACEHOLDER));
}

void BacklightAdjustmentProDialog::Remember(SkinBin::Button* button) {
  OnSetFocus(button);
  remembered_ = button;
}

kv::Object* BacklightAdjustmentProDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return BorderWidgetClass::HandleEvent(event);
  InvalidateView();
  const uint16_t code = key->Code;
  Core::View* focus = OnGetFocus();
  SkinBin::Button* remembered = remembered_.get();
  if (code == KEY_OK) {
    OnSetInAdjusting(!InAdjusting);
  } else if (code < KEY_UP || code > KEY_RIGHT) {
    return BorderWidgetClass::HandleEvent(event);
  } else if (!InAdjusting) {
    // The arrows only restart the time-out in the result view.
  } else if (code == KEY_UP || code == KEY_DOWN) {
    if (focus == &cancel_) Remember(&reset_);
    else if (focus == &reset_) Remember(&cancel_);
  } else if (code == KEY_LEFT) {
    if (focus == remembered) OnSetFocus(&sliders_[kLevels - 1]);
    else if (!SelectLeft()) OnSetFocus(remembered);
  } else {
    if (focus == remembered) OnSetFocus(&sliders_[0]);
    else if (focus == &sliders_[kLevels - 1]) OnSetFocus(remembered);
    else SelectRight();
  }
  ResetTimeout();
  return this;
}

void BacklightAdjustmentProDialog::Refresh() {
  BorderWidgetClass::Refresh();
  for (Core::View* v : std::initializer_list<Core::View*>{&axisHigh_, &axisLow_, &value_, &valueBox_})
    v->OnSetVisible(InAdjusting);
  for (BacklightAdjustSlider& s : sliders_) {
    s.OnSetVisible(InAdjusting);
    s.OnSetEnabled(InAdjusting);
  }
  for (SkinBin::Button* b : {&cancel_, &reset_}) {
    b->OnSetVisible(InAdjusting);
    b->OnSetEnabled(InAdjusting);
  }
  if (InAdjusting) {
    background_.OnSetBounds({112, 83, 382, 219});
    background_.OnSetBitmap(Resources::LoadResource(Bitmaps::BacklightAdjustingBg));
  } else {
    background_.OnSetBounds({118, 83, 382, 219});
    background_.OnSetBitmap(Resources::LoadResource(Bitmaps::BacklightAdjustResultBg));
  }
}

}  // namespace NonMenuSystem
