#include "units/NonMenuSystem/VolumeMuteBar.h"

#include "keys/keycodes.h"
#include "platform/xpm/xpm_cec3d.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "strings/NonMenuSystem.h"
#include "strings/Strings.h"
#include "units/Bitmaps/BarBitmaps.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Core/SeenTexts.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/NonMenuSystem/OptionBinding.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionTypes.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/HdmiCecData.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/Wrapper.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(NonMenuSystem::VolumeMuteBar);
KV_REGISTER_CLASS(NonMenuSystem::CommonVolumeBar);
KV_REGISTER_CLASS(NonMenuSystem::CommonMuteBar);
KV_REGISTER_CLASS(NonMenuSystem::AmplifierVolumeBar);
KV_REGISTER_CLASS(NonMenuSystem::AmplifierMuteBar);

namespace NonMenuSystem {

namespace {
using namespace keys;

constexpr int32_t kBarTimeOut = 2000;
constexpr uint32_t kBarLayer = 256;
// The bars' pill is drawn with 20-pixel rounded ends.
constexpr int32_t kPillWidth = 20;
// The mute caption's colour (red 0x28, green 0xBC, blue 0xF9).
constexpr kv::Color kMuteCaptionColor{0x28, 0xBC, 0xF9, 255};
// The focused-menu-text colour of the volume caption and number.
constexpr kv::Color kFocusedMenuText = Colors::White;

Core::KeyEvent* DownKey(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  return key && key->Down ? key : nullptr;
}

// The amplifier bars show what a key did to the audio system: the key goes to
// it over HDMI-CEC.
void SendToAudioSystem(int32_t code) {
  if (SkinBin::Wrapper* w = Live::Skin()) w->GetHdmiCecData()->SendAudioSystemKey(code);
}

kv::Rect Centred(const kv::Rect& r, int32_t x, int32_t h) {
  const int32_t y = (h - r.H()) / 2;
  return {x, y, x + r.W(), y + r.H()};
}

void PlaceImage(Views::Image& image, int32_t x, int32_t barHeight) {
  image.OnSetBounds(Centred(image.Bounds(), x, barHeight));
}
}  // namespace

// --- VolumeMuteBar -----------------------------------------------------------------

VolumeMuteBar::VolumeMuteBar() {
  // The bars stand at their own place at the foot of the screen, over
  // whatever is open.
  Core::MarkStandsApart(this, true);
  KeyRoutingForm::OnSetBounds({0, 0, 387, 54});
  Layer = kBarLayer;
  OnSetTimeOutValue(kBarTimeOut);
  OnTimeOut = kv::MakeSlot(this, &WidgetClass::ExitSlot);
  frame_.OnSetBitmap(Resources::LoadResource(Bitmaps::VolumeBarBackground));
  frame_.OnSetFrameWidth(kPillWidth);
  HasCaption = false;
  caption_.OnSetAlignV(1);
}

void VolumeMuteBar::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  OnSetOptionType(OptionType);
}

kv::Object* VolumeMuteBar::HandleEvent(Core::Event* event) {
  if (Core::KeyEvent* key = DownKey(event)) {
    if (key->Code == KEY_BACK || key->Code == KEY_EXIT || key->Code == KEY_EXIT_ALT) {
      Post(&WidgetClass::ExitSlot);
      return this;
    }
  }
  return KXDWidgetClass::HandleEvent(event);
}

kv::Object* VolumeMuteBar::ToSubSystem(Core::Event* event) {
  if (::NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem()) return s->HandleEvent(event);
  ResetTimeout();
  return this;
}

// --- CommonVolumeBar ---------------------------------------------------------------

CommonVolumeBar::CommonVolumeBar() {
  WinID = WinIDs::WIN_ID_VolumeBar;
  OptionType = OptionDatabase::OPTION_TYPE_VOLUME;
  KeyRoutingForm::OnSetBounds({0, 0, 430, 54});
  WidgetOrigin = {265, 460};
  caption_.OnSetFont(Resources::LoadResource(Fonts::EPGListFont));
  caption_.OnSetColor(kFocusedMenuText);
  caption_.OnSetBounds({52, 2, 146, 56});
  number_.OnSetFont(Resources::LoadResource(Fonts::LargeFont));
  number_.OnSetColor(kFocusedMenuText);
  number_.OnSetAlignH(2);
  number_.OnSetAlignV(1);
  number_.OnSetBounds({148, 2, 196, 56});
  number_.OnSetString(kv::NewStringInt(0, 0));
  image_.OnSetAutoSize(true);
  image_.OnSetBitmap(Resources::LoadResource(Bitmaps::VolumeBarImage));
  image_.OnSetBounds({10, 10, 42, 42});
  slider_.OnSetBounds({206, 21, 406, 33});
  slider_.OnSetValue(0);
  slider_.OnSetDecreaseKey(KEY_VOL_DOWN);
  slider_.OnSetIncreaseKey(KEY_VOL_UP);
  slider_.OnValueChanged = kv::MakeSlot(this, &CommonVolumeBar::DoVolumeChanged);
  Add(&image_);
  Add(&number_);
  Add(&slider_);
  OnSetFocus(&slider_);
}

void CommonVolumeBar::OnSetOptionType(int32_t id) {
  OptionType = id;
  OptionDatabase::OptionDataClass* record = OptionBinding::Find(id);
  OptionDatabase::SliderCourier* c = OptionBinding::SliderOf(record);
  if (!c) return;
  caption_.OnSetString(record->Name);
  slider_.OnSetMin(c->Min);
  slider_.OnSetMax(c->Max);
  slider_.OnSetStep(c->Step);
  slider_.OnSetValue(c->Value);
  number_.OnSetString(kv::NewStringInt(c->Value, 0));
}

kv::Object* CommonVolumeBar::HandleEvent(Core::Event* event) {
  if (Core::KeyEvent* key = DownKey(event)) {
    if (key->Code == KEY_VOL_UP || key->Code == KEY_VOL_DOWN) {
      slider_.HandleEvent(event);
      ResetTimeout();
      return this;
    }
    if (key->Code == KEY_MUTE) return ToSubSystem(event);
  }
  return VolumeMuteBar::HandleEvent(event);
}

void CommonVolumeBar::DoVolumeChanged(kv::Object*) {
  ResetTimeout();
  const int32_t value = slider_.OnGetValue();
  number_.OnSetString(kv::NewStringInt(value, 0));
  OptionDatabase::OptionDataClass* record = OptionBinding::Find(OptionType);
  if (record && record->HasProperty()) record->RefValue.Set(value);
}

void CommonVolumeBar::Refresh() {
  KXDWidgetClass::Refresh();
  frame_.OnSetVisible(true);
  const int32_t h = Bounds().H();
  caption_.OnSetVisible(true);
  PlaceImage(image_, 12, h);
  const int32_t captionX = image_.Bounds().x2 + 8;
  caption_.OnSetBounds({captionX, 0, captionX + 94, h});
  const int32_t numberX = caption_.Bounds().x2 + 2;
  number_.OnSetBounds({numberX, 0, numberX + 48, h});
  const int32_t sliderX = number_.Bounds().x2 + 12;
  const int32_t sliderY = (h - 12) / 2;
  slider_.OnSetBounds({sliderX, sliderY, Bounds().W() - 24, sliderY + 12});
}

// --- CommonMuteBar -----------------------------------------------------------------

CommonMuteBar::CommonMuteBar() {
  WinID = WinIDs::WIN_ID_MuteBar;
  OptionType = OptionDatabase::OPTION_TYPE_MUTE;
  // Wide enough for the longest choice in every language ("Sourdine" in
  // the large font), centred at x 480 as before.
  KeyRoutingForm::OnSetBounds({0, 0, 208, 54});
  WidgetOrigin = {376, 460};
  caption_.OnSetFont(Resources::LoadResource(Fonts::ExtraLargeFont));
  caption_.OnSetColor(kMuteCaptionColor);
  caption_.OnSetString(kv::GetVariantOfString(Strings::SID_MUTE_FULL));
  image_.OnSetAutoSize(true);
  image_.OnSetBitmap(Resources::LoadResource(Bitmaps::FullMuteImage));
  Add(&image_);
}

bool CommonMuteBar::Bind(int32_t id) {
  OptionType = id;
  OptionDatabase::OptionDataClass* record = OptionBinding::Find(id);
  if (!record) return false;
  record->Initialize();
  Count = record->Num;
  MuteIndex = OptionBinding::ReadIndex(record);
  if (OptionDatabase::OptionCourier* c = OptionBinding::ChoiceOf(record)) caption_.OnSetString(c->Caption);
  return true;
}

void CommonMuteBar::OnSetOptionType(int32_t id) {
  Bind(id);
  // The mute option has two choices, off and mute: a muted set shows the
  // full-mute loudspeaker.
  if (MuteIndex != 0) image_.OnSetBitmap(Resources::LoadResource(Bitmaps::FullMuteImage));
}

void CommonMuteBar::StepIndex() { MuteIndex = MuteIndex < Count - 1 ? MuteIndex + 1 : 0; }

void CommonMuteBar::ToggleMute() {
  StepIndex();
  if (OptionDatabase::OptionDataClass* record = OptionBinding::Find(OptionType)) {
    OptionBinding::WriteIndex(record, MuteIndex);
    if (OptionDatabase::OptionCourier* c = OptionBinding::ChoiceOf(record)) caption_.OnSetString(c->Caption);
  }
  image_.OnSetBitmap(Resources::LoadResource(Bitmaps::FullMuteImage));
  if (MuteIndex == 0) Post(&WidgetClass::ExitSlot);
}

kv::Object* CommonMuteBar::HandleEvent(Core::Event* event) {
  if (Core::KeyEvent* key = DownKey(event)) {
    if (key->Code == KEY_VOL_UP || key->Code == KEY_VOL_DOWN) return ToSubSystem(event);
    if (key->Code == KEY_MUTE) {
      ToggleMute();
      ResetTimeout();
      return this;
    }
  }
  return VolumeMuteBar::HandleEvent(event);
}

void CommonMuteBar::Refresh() {
  KXDWidgetClass::Refresh();
  frame_.OnSetVisible(true);
  const int32_t h = Bounds().H();
  PlaceImage(image_, 7, h);
  caption_.OnSetVisible(true);
  caption_.OnSetAlignH(1);
  caption_.OnSetBounds({image_.Bounds().x2, 0, Bounds().W() - 8, h});
}

// --- AmplifierVolumeBar ------------------------------------------------------------

AmplifierVolumeBar::AmplifierVolumeBar() {
  WinID = WinIDs::WIN_ID_VolumeBar;
  OptionType = SkinBin::OPTION_TYPE_AMPLIFIER_VOLUME;
  KeyRoutingForm::OnSetBounds({0, 0, 260, 40});
  WidgetOrigin = {672, 498};
  caption_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  caption_.OnSetColor(Colors::StandardTextColor);
  caption_.OnSetString(kv::GetVariantOfString(::NonMenuSystem::SID_AMPLIFIER_VOLUME));
  image_.OnSetAutoSize(true);
  image_.OnSetBitmap(Resources::LoadResource(Bitmaps::VolumeBarImage));
  keyImage_.OnSetBounds({180, 0, 210, 20});
  keyImage_.OnSetBitmap(Resources::LoadResource(Bitmaps::AmplifierVolumePlus));
  Add(&image_);
  Add(&keyImage_);
}

kv::Object* AmplifierVolumeBar::HandleEvent(Core::Event* event) {
  if (Core::KeyEvent* key = DownKey(event)) {
    if (key->Code == KEY_VOL_UP || key->Code == KEY_VOL_DOWN) {
      SendToAudioSystem(key->Code == KEY_VOL_UP ? XPM_CEC_KEY_VOLUME_UP : XPM_CEC_KEY_VOLUME_DOWN);
      keyImage_.OnSetBitmap(Resources::LoadResource(key->Code == KEY_VOL_UP ? Bitmaps::AmplifierVolumePlus
                                                                                : Bitmaps::AmplifierVolumeMinus));
      ResetTimeout();
      return this;
    }
    if (key->Code == KEY_MUTE) return ToSubSystem(event);
  }
  return VolumeMuteBar::HandleEvent(event);
}

void AmplifierVolumeBar::Refresh() {
  KXDWidgetClass::Refresh();
  frame_.OnSetVisible(true);
  const int32_t h = Bounds().H();
  PlaceImage(image_, 7, h);
  caption_.OnSetVisible(true);
  const int32_t captionX = image_.Bounds().x2 + 6;
  caption_.OnSetBounds({captionX, 0, 174, h});
  keyImage_.OnSetBounds(Centred(keyImage_.Bounds(), 180, h));
}

// --- AmplifierMuteBar --------------------------------------------------------------

AmplifierMuteBar::AmplifierMuteBar() {
  OptionType = SkinBin::OPTION_TYPE_AMPLIFIER_MUTE;
  KeyRoutingForm::OnSetBounds({0, 0, 228, 40});
  WidgetOrigin = {704, 498};
  caption_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  caption_.OnSetString(kv::GetVariantOfString(::NonMenuSystem::SID_AMPLIFIER_MUTE));
}

void AmplifierMuteBar::OnSetOptionType(int32_t id) { Bind(id); }

void AmplifierMuteBar::ToggleMute() {
  SendToAudioSystem(XPM_CEC_KEY_MUTE);
  StepIndex();
  if (OptionDatabase::OptionDataClass* record = OptionBinding::Find(OptionType)) {
    record->Id = MuteIndex;
    if (OptionDatabase::OptionCourier* c = OptionBinding::ChoiceOf(record)) caption_.OnSetString(c->Caption);
  }
  if (MuteIndex == 1) image_.OnSetBitmap(Resources::LoadResource(Bitmaps::FullMuteImage));
  if (MuteIndex == 0) Post(&WidgetClass::ExitSlot);
}

}  // namespace NonMenuSystem
