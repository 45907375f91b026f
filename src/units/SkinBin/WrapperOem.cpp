// OEM properties of the skin's Wrapper: words and records read and written
// through the middleware's generic OEM property calls. A getter answers 0
// (or keeps the in-words of a record) when the read fails.
#include <cstdio>
#include <cstring>

#include "platform/xpm/xpm_oem.h"
#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/string.h"
#include "runtime/trace.h"
#include "strings/SkinBinWrapper.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/Constants.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/Wrapper/WrapperInternal.h"

namespace SkinBin {

using namespace ::SkinBinWrapper;

namespace {

int32_t ReadOem(int32_t id) {
  int32_t v = 0;
  if (XPM_CALL(XPM_GetExtOemProperty, id, &v) != 0) v = 0;
  return v;
}

void WriteOem(int32_t id, int32_t v) { XPM_CALL(XPM_SetExtOemProperty, id, v); }

}  // namespace

// An OEM word property with a cache field.
#define SKIN_OEM_PROPERTY(P, id)                       \
  int32_t Wrapper::OnGet##P() { return P = ReadOem(id); } \
  void Wrapper::OnSet##P(int32_t v) {                  \
    P = v;                                             \
    WriteOem(id, v);                                   \
  }

SKIN_OEM_PROPERTY(RearSharedAudio, XPM_OEM_REAR_SHARED_AUDIO)
SKIN_OEM_PROPERTY(SideSharedAudio, XPM_OEM_SIDE_SHARED_AUDIO)
SKIN_OEM_PROPERTY(RoomLighting, XPM_OEM_ROOM_LIGHTING)
SKIN_OEM_PROPERTY(SRV_Red_Gain, XPM_OEM_SRV_RED_GAIN)
SKIN_OEM_PROPERTY(SRV_Green_Gain, XPM_OEM_SRV_GREEN_GAIN)
SKIN_OEM_PROPERTY(SRV_Blue_Gain, XPM_OEM_SRV_BLUE_GAIN)
SKIN_OEM_PROPERTY(SRV_Red_Offset, XPM_OEM_SRV_RED_OFFSET)
SKIN_OEM_PROPERTY(SRV_Green_Offset, XPM_OEM_SRV_GREEN_OFFSET)
SKIN_OEM_PROPERTY(SRV_Blue_Offset, XPM_OEM_SRV_BLUE_OFFSET)
SKIN_OEM_PROPERTY(BrightnessCenter, XPM_OEM_BRIGHTNESS_CENTER)
SKIN_OEM_PROPERTY(ColorCenter, XPM_OEM_COLOR_CENTER)
SKIN_OEM_PROPERTY(BasebandTint, XPM_OEM_BASEBAND_TINT)
SKIN_OEM_PROPERTY(ContrastMax, XPM_OEM_CONTRAST_MAX)
SKIN_OEM_PROPERTY(PowerLed, XPM_OEM_POWER_LED)
SKIN_OEM_PROPERTY(HDMI_InputMode, XPM_OEM_HDMI_INPUT_MODE)
SKIN_OEM_PROPERTY(HDMI_Instaport, XPM_OEM_HDMI_INSTAPORT)
SKIN_OEM_PROPERTY(Brontel, XPM_OEM_BRONTEL)
SKIN_OEM_PROPERTY(TVPowerOnControl, XPM_OEM_TV_POWER_ON_CONTROL)
SKIN_OEM_PROPERTY(WindowHPos, XPM_OEM_WINDOW_H_POS)
SKIN_OEM_PROPERTY(WindowVPos, XPM_OEM_WINDOW_V_POS)
SKIN_OEM_PROPERTY(WindowHSize, XPM_OEM_WINDOW_H_SIZE)
SKIN_OEM_PROPERTY(WindowVSize, XPM_OEM_WINDOW_V_SIZE)

#undef SKIN_OEM_PROPERTY

int32_t Wrapper::GetADCCalibResult(int32_t item) {
  int32_t v = item;
  XPM_CALL(XPM_GetExtOemProperty, XPM_OEM_ADC_CALIB_RESULT, &v);
  return v;
}

int32_t Wrapper::GetTVModelID() { return ReadOem(XPM_OEM_TV_MODEL_ID); }
int32_t Wrapper::OnGetSharedPCInput() { return SharedPCInput = ReadOem(XPM_OEM_SHARED_PC_INPUT); }
int32_t Wrapper::GetTvmVersion() { return ReadOem(XPM_OEM_TVM_VERSION) & 255; }

int32_t Wrapper::OnGetSeriesType() {
  if (SeriesType != SERIES_TYPE_UNKNOWN) return SeriesType;
  int32_t code = 0;
  // A failed read tells nothing of the panel: the set answers as a model
  // without the panel's features (3D) and reads the code again next time,
  // rather than taking the cleared word for a panel code.
  if (XPM_CALL(XPM_GetExtOemProperty, XPM_OEM_PANEL_CODE, &code) != 0) return SERIES_TYPE_PLAIN;
  switch (code) {
    case 0: case 2: case 3: case 12: SeriesType = 2; break;
    case 6: case 7: case 8: SeriesType = 0; break;
    case 9: case 10: case 11: SeriesType = 3; break;
    default: SeriesType = SERIES_TYPE_PLAIN; break;
  }
  return SeriesType;
}

kv::String Wrapper::GetModelName() {
  static constexpr kv::TextId kNames[] = {MODEL_NAME_0, MODEL_NAME_1, MODEL_NAME_2, MODEL_NAME_3};
  const int32_t type = OnGetSeriesType();
  return type >= 0 && type < 4 ? kv::LoadString(kNames[type]) : kv::String();
}

int32_t Wrapper::GetBacklightAdjustment(int32_t point) {
  XPM_OemBacklightPoint r{GetVideoPreset(), point, 0};
  if (XPM_CALL(XPM_GetExtOemProperty, XPM_OEM_BACKLIGHT_CURVE, static_cast<void*>(&r)) != 0) r.value = 0;
  return r.value;
}

void Wrapper::SetBacklightAdjustment(int32_t point, int32_t value) {
  const XPM_OemBacklightPoint r{GetVideoPreset(), point, value};
  XPM_CALL(XPM_SetExtOemProperty, XPM_OEM_BACKLIGHT_CURVE, static_cast<const void*>(&r));
}

void Wrapper::ResetBacklightAdjustment() { WriteOem(XPM_OEM_BACKLIGHT_CURVE_RESET, 0); }

bool Wrapper::GetKeyHeld(int32_t key) {
  int32_t id = 0;
  switch (key & 0xFFFF) {
    case keys::KEY_HELD_SERVICE: id = XPM_OEM_KEY_HELD_SERVICE; break;
    case keys::KEY_HELD_HIDDEN_PAGE: id = XPM_OEM_KEY_HELD_HIDDEN_MENU; break;
    case keys::KEY_HELD_FACTORY_RESET: id = XPM_OEM_KEY_HELD_FACTORY_RESET; break;
    default: return false;
  }
  return ReadOem(id) == 1;
}

int32_t Wrapper::GetWhiteBalance(int32_t index) {
  if (index < 0 || index > 5) return 0;
  XPM_OemWhiteBalance r{};
  r.pictureMode = GetVideoPreset();
  r.source = GetCurrentSource(0);
  if (XPM_CALL(XPM_GetExtOemProperty, XPM_OEM_WHITE_BALANCE, static_cast<void*>(&r)) != 0) return 0;
  return r.values[index];
}

void Wrapper::SetWhiteBalance(int32_t index, int32_t value) {
  if (index < 0 || index > 5) return;
  XPM_OemWhiteBalance r{};
  r.pictureMode = GetVideoPreset();
  r.source = GetCurrentSource(0);
  // A failed read leaves the other five values unknown: writing them back
  // would overwrite the set's calibration with zeros.
  if (XPM_CALL(XPM_GetExtOemProperty, XPM_OEM_WHITE_BALANCE, static_cast<void*>(&r)) != 0) return;
  r.values[index] = value;
  XPM_CALL(XPM_SetExtOemProperty, XPM_OEM_WHITE_BALANCE, static_cast<const void*>(&r));
}

void Wrapper::WB_Copy2AllInputs() {
  const XPM_OemPictureSource r{GetVideoPreset(), GetCurrentSource(0)};
  XPM_CALL(XPM_SetExtOemProperty, XPM_OEM_WB_COPY_ALL_INPUTS, static_cast<const void*>(&r));
}

void Wrapper::WB_Reset() {
  const XPM_OemPictureSource r{GetVideoPreset(), GetCurrentSource(0)};
  XPM_CALL(XPM_SetExtOemProperty, XPM_OEM_WB_RESET, static_cast<const void*>(&r));
}

kv::String Wrapper::GetFactoryTestStatus() {
  uint32_t sum = static_cast<uint32_t>(ReadOem(XPM_OEM_FACTORY_TEST_FIRST)) & 0xFFFF;
  for (int32_t id = XPM_OEM_FACTORY_TEST_FIRST + 1; id <= XPM_OEM_FACTORY_TEST_LAST; ++id)
    sum = (sum + static_cast<uint32_t>(ReadOem(id))) & 0xFFFF;
  char text[16];
  std::snprintf(text, sizeof text, "0x%04xH", sum);
  return kv::NewStringAnsi(text);
}

int32_t Wrapper::OnGetAutoBrightnessSensor() {
  int32_t v = static_cast<int32_t>(static_cast<uint32_t>(GetVideoPreset()) << 16);
  if (XPM_CALL(XPM_GetExtOemProperty, XPM_OEM_AUTO_BRIGHTNESS_SENSOR, &v) != 0) v = 0;
  return AutoBrightnessSensor = v & 0xFFFF;
}

void Wrapper::OnSetAutoBrightnessSensor(int32_t v) {
  AutoBrightnessSensor = v;
  const auto word = static_cast<int32_t>(static_cast<uint32_t>(GetVideoPreset()) << 16 | (static_cast<uint32_t>(v) & 0xFFFF));
  WriteOem(XPM_OEM_AUTO_BRIGHTNESS_SENSOR, word);
  if (v) {
    StartGlowSyncThread();
  } else {
    StopGlowSyncThread();
    OnSetBacklight(OnGetBacklight());
  }
}

int32_t Wrapper::OnGetIRControl() {
  int32_t v = 0;
  if (XPM_CALL(XPM_GetExtOemProperty, XPM_OEM_IR_CONTROL, &v) != 0) v = 0;
  kv::Log(kv::LoadString(T_IR_CONTROL).ToUtf8() + std::to_string(v));
  return v;
}

void Wrapper::OnSetIRControl(int32_t v) {
  kv::Log(kv::LoadString(T_SET_IR_CONTROL).ToUtf8() + std::to_string(v));
  WriteOem(XPM_OEM_IR_CONTROL, v);
}

void Wrapper::SwitchOutputMode() {
  auto mode = static_cast<uint32_t>(ReadOem(XPM_OEM_VIDEO_OUTPUT_MODE)) + 1;
  if (mode >= 3) mode = 1;
  WriteOem(XPM_OEM_VIDEO_OUTPUT_MODE, static_cast<int32_t>(mode));
  auto* message = kv::New<Structures::Message>();
  message->Initialize(Constants::MSG_SET_VIDEO_PREVIEW_WINDOW, nullptr);
  if (auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)) agent->Dispatch(message);
}

int32_t Wrapper::GetTestPattern() {
  int32_t v = 0;
  if (XPM_CALL(XPM_GetExtOemPathProperty, 0, XPM_OEM_PATH_TEST_PATTERN, &v) != 0) v = 0;
  return v;
}

void Wrapper::SetTestPattern(int32_t n) { XPM_CALL(XPM_SetExtOemPathProperty, 0, XPM_OEM_PATH_TEST_PATTERN, n); }

int32_t Wrapper::StartGlowSyncThread() {
  GlowSyncRunning = true;
  return 1;
}

void Wrapper::StopGlowSyncThread() { GlowSyncRunning = false; }

int32_t Wrapper::ForceApplyGlowSync() {
  if (!GlowSyncRunning) return 0;
  return XPM_CALL(XPM_Utility_GlowSync_ForceApply);
}

int32_t Wrapper::GetPowerOnTime() {
  uint32_t hours = 0;
  XPM_CALL(XPM_GetPowerOnTime, &hours);
  return static_cast<int32_t>(hours);
}

}  // namespace SkinBin
