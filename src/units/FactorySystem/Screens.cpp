#include "units/FactorySystem/Screens.h"

#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "strings/FactorySystem.h"
#include "units/Colors/Colors.h"
#include "units/Core/Group.h"
#include "units/FactorySystem/FactorySystem.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(FactorySystem::WidgetClass);
KV_REGISTER_CLASS(FactorySystem::ModeIndicator);
KV_REGISTER_CLASS(FactorySystem::ValueDisplay);
KV_REGISTER_CLASS(FactorySystem::SmallMessage);
KV_REGISTER_CLASS(FactorySystem::LargeMessage);
KV_REGISTER_CLASS(FactorySystem::DetectLightSensor);

namespace FactorySystem {

namespace {

constexpr int32_t kWidgetTimeOut = 10000;
constexpr int32_t kLightSensorPeriod = 1500;

SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper)); }

Resources::Font* MediumFont() { return Resources::LoadResource(Fonts::MediumFont); }

void SetUpText(Views::Text& text, kv::Rect bounds, bool autoSize) {
  text.OnSetFont(MediumFont());
  text.OnSetColor(Colors::White);
  text.OnSetBounds(bounds);
  text.OnSetAutoSize(autoSize);
}

// Message colours by index: white, red, green, blue, yellow, magenta, cyan,
// violet, then white.
constexpr kv::Color kMessageColors[16] = {
    Colors::White,  Colors::Red,   Colors::Green, Colors::Blue,  Colors::Yellow, Colors::Magenta,
    Colors::Cyan,   Colors::Violet, Colors::White, Colors::White, Colors::White,  Colors::White,
    Colors::White,  Colors::White, Colors::White, Colors::White};

}  // namespace

// --- WidgetClass ----------------------------------------------------------------------

WidgetClass::WidgetClass() {
  OnSetTimeOutValue(kWidgetTimeOut);
  Layer = kFactoryLayer;
  SubSystemClass = &FactorySystem::StaticClass();
  background_.OnSetColor(Colors::MenuBgColor);
  frame_.OnSetBounds({0, 0, 200, 150});
  background_.OnSetBounds({0, 0, 200, 150});
  Add(&background_);
  Add(&frame_);
}

void WidgetClass::OnSetFactorySystem(::FactorySystem::FactorySystem* s) {
  factorySystem_ = s;
  SubSystemInstance = s;
}

void WidgetClass::Initialize(Primitives::KeyRoutingParameter* param) {
  KeyRoutingForm::Initialize(param);
  kv::PostSignal(kv::MakeSlot(this, &WidgetClass::RefreshSlot));
}

void WidgetClass::Refresh() {
  const kv::Rect own{0, 0, Bounds().W(), Bounds().H()};
  background_.OnSetBounds(own);
  frame_.OnSetBounds(own);
  KeyRoutingForm::Refresh();
}

void WidgetClass::OnSetBounds(kv::Rect bounds) {
  const bool resized = bounds.W() != Bounds().W() || bounds.H() != Bounds().H();
  KeyRoutingForm::OnSetBounds(bounds);
  if (resized) kv::PostSignal(kv::MakeSlot(this, &WidgetClass::RefreshSlot));
}

void WidgetClass::Close() {
  const bool wasOpen = IsOpen();
  KeyRoutingForm::Close();
  if (wasOpen && TakesKeys) {
    if (::FactorySystem::FactorySystem* s = factorySystem_.get()) s->ReleaseKeys();
  }
}

// --- ModeIndicator --------------------------------------------------------------------

ModeIndicator::ModeIndicator() {
  WinID = WinIDs::WIN_ID_ModeIndicator;
  Layer = kFactoryTopLayer;
  WidgetOrigin = {870, 32};
  FocusOnOpen = false;
  KeyRoutingForm::OnSetBounds({0, 0, 32, 32});
  SetUpText(caption_, {0, 0, 32, 32}, false);
  caption_.OnSetAlignH(1);
  caption_.OnSetAlignV(1);
  Add(&caption_);
}

void ModeIndicator::Refresh() {
  WidgetClass::Refresh();
  caption_.OnSetBounds({0, 0, Bounds().W(), Bounds().H()});
}

void ModeIndicator::OnSetCaption(const kv::String& text) {
  Caption = text;
  caption_.OnSetString(text);
}

// --- ValueDisplay ---------------------------------------------------------------------

ValueDisplay::ValueDisplay() {
  WinID = WinIDs::WIN_ID_ValueDisplay;
  WidgetOrigin = {32, 32};
  FocusOnOpen = false;
  KeyRoutingForm::OnSetBounds({0, 0, 175, 87});
  SetUpText(name_, {10, 7, 170, 30}, true);
  SetUpText(headerHex_, {10, 32, 60, 55}, true);
  SetUpText(headerBin_, {70, 32, 170, 55}, true);
  SetUpText(hex_, {10, 60, 60, 83}, true);
  SetUpText(bits_, {70, 60, 170, 83}, true);
  name_.OnSetString(kv::LoadString(VALUE_NAME_INITIAL));
  headerHex_.OnSetString(kv::GetVariantOfString(VALUE_HEADER_HEX));
  headerBin_.OnSetString(kv::GetVariantOfString(VALUE_HEADER_BIN));
  Add(&name_);
  Add(&headerHex_);
  Add(&headerBin_);
  Add(&hex_);
  Add(&bits_);
}

kv::String ValueDisplay::Dec2Hex(int32_t n) {
  static const kv::TextId* const kLetters[] = {&HEX_DIGIT_A, &HEX_DIGIT_B, &HEX_DIGIT_C,
                                               &HEX_DIGIT_D, &HEX_DIGIT_E, &HEX_DIGIT_F};
  if (n >= 0 && n <= 9) return kv::NewStringChar(static_cast<char16_t>(u'0' + n), 1);
  if (n >= 10 && n <= 15) return kv::LoadString(*kLetters[n - 10]);
  return kv::LoadString(HEX_DIGIT_DEFAULT);
}

void ValueDisplay::OnSetFacName(const kv::String& text) {
  FacName = text;
  name_.OnSetString(text);
}

void ValueDisplay::OnSetFacValue(int32_t v) {
  FacValue = v;
  const int32_t low = v & 0xFF;
  hex_.OnSetString(
      kv::ConcatString(kv::ConcatString(Dec2Hex(low >> 4), Dec2Hex(low & 0xF)), kv::LoadString(VALUE_HEX_SUFFIX)));
  const kv::String one = kv::LoadString(VALUE_BIT_ONE);
  const kv::String zero = kv::LoadString(VALUE_BIT_ZERO);
  kv::String bits;
  for (int32_t bit = 7; bit >= 0; --bit) bits = kv::ConcatString(bits, (low >> bit) & 1 ? one : zero);
  bits_.OnSetString(bits);
}

// --- Message boxes --------------------------------------------------------------------

SmallMessage::SmallMessage() {
  WinID = WinIDs::WIN_ID_FactoryMessage;
  WidgetOrigin = {32, 460};
  FocusOnOpen = false;
  OnTimeOut = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::DismissSlot);
  KeyRoutingForm::OnSetBounds({0, 0, 250, 60});
  text_.OnSetFont(MediumFont());
  text_.OnSetColor(Colors::White);
  text_.OnSetAlignV(1);
  text_.OnSetEllipsis(true);
  text_.OnSetBounds(textArea_);
  Add(&text_);
}

kv::Color SmallMessage::ColorOf(int32_t index) { return kMessageColors[index & 15]; }

void SmallMessage::Refresh() {
  WidgetClass::Refresh();
  text_.OnSetBounds(textArea_);
}

void SmallMessage::Initialize(Primitives::KeyRoutingParameter* param) {
  WidgetClass::Initialize(param);
  auto* ref = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr;
  if (!ref) return;
  const int32_t p = ref->Value;
  text_.OnSetString(ref->String);
  const int32_t seconds = (p & MESSAGE_PARAM_TIMEOUT) >> MESSAGE_PARAM_TIMEOUT_SHIFT;
  if (seconds != 0) {
    OnSetTimeOutValue(seconds * 1000);
    SetTimeout(true);
    ResetTimeout();
  } else {
    SetTimeout(false);
    OnSetTimeOutValue(0);
  }
  if (const int32_t fg = (p & MESSAGE_PARAM_FG_COLOR) >> MESSAGE_PARAM_FG_COLOR_SHIFT) text_.OnSetColor(ColorOf(fg));
  if (const int32_t bg = (p & MESSAGE_PARAM_BG_COLOR) >> MESSAGE_PARAM_BG_COLOR_SHIFT)
    background_.OnSetColor(ColorOf(bg));
  if ((p & MESSAGE_PARAM_TYPE) == MESSAGE_PARAM_TYPE_TOUCH_KEY) Layer = kTouchKeyLayer;
}

LargeMessage::LargeMessage() {
  WidgetOrigin = {245, 155};
  KeyRoutingForm::OnSetBounds({0, 0, 470, 230});
  textArea_ = {40, 20, 420, 200};
  text_.OnSetAlignH(1);
  text_.OnSetBounds(textArea_);
}

// --- DetectLightSensor ----------------------------------------------------------------

DetectLightSensor::DetectLightSensor() {
  OnTimeOut = kv::Slot();
  timer_.OnSetBegin(kLightSensorPeriod);
  timer_.OnSetPeriod(0);
  timer_.OnTrigger = kv::MakeSlot(this, &DetectLightSensor::GetLightSensor);
}

void DetectLightSensor::Initialize(Primitives::KeyRoutingParameter* param) {
  SmallMessage::Initialize(param);
  SkinBin::Wrapper* w = Skin();
  if (!w) return;
  w->OpenUART(true);
  OnSetLightSensor(w->GetLightSensor());
  timer_.OnSetEnabled(true);
}

void DetectLightSensor::GetLightSensor(kv::Object*) {
  timer_.Activate();
  if (SkinBin::Wrapper* w = Skin()) OnSetLightSensor(w->GetLightSensor());
}

void DetectLightSensor::OnSetLightSensor(int32_t v) {
  LightSensor = static_cast<uint16_t>(v);
  const kv::String text =
      kv::ConcatString(kv::LoadString(LIGHT_SENSOR_PREFIX), kv::NewStringUInt(static_cast<uint32_t>(LightSensor), 0));
  text_.OnSetString(text);
  if (SkinBin::Wrapper* w = Skin()) w->PrintKvString(text);
}

void DetectLightSensor::Close() {
  const bool wasOpen = IsOpen();
  timer_.OnSetEnabled(false);
  SmallMessage::Close();
  if (wasOpen)
    if (SkinBin::Wrapper* w = Skin()) w->OpenUART(false);
}

}  // namespace FactorySystem
