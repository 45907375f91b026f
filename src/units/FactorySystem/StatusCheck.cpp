#include "keys/keycodes.h"
#include "units/FactorySystem/StatusCheck.h"

#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "strings/FactorySystem.h"
#include "strings/Strings.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/IF_Configuration.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(FactorySystem::StatusCheck);

namespace FactorySystem {

using namespace keys;

namespace {

constexpr int32_t kStatusTimeOut = 120000;
constexpr int32_t kWidth = 760;
constexpr int32_t kHeight = 410;
constexpr int32_t kAdcOk = 1;  // ADC_CALIB_RESULT_OK
constexpr int32_t kAdcDeviceSd = 0, kAdcDeviceHd = 1, kAdcDeviceVga = 2;  // ADC_CALIB_DEVICE_*

struct Place {
  int32_t labelX, labelY, valueX, valueY;
};
// Where each item's label and value stand.
constexpr Place kPlaces[StatusCheck::kItems] = {
    {40, 50, 230, 50},   {40, 78, 230, 78},   {40, 110, 230, 110}, {40, 140, 230, 140}, {40, 170, 230, 170},
    {40, 200, 230, 200}, {40, 230, 230, 230}, {410, 50, 570, 80},  {410, 50, 660, 80},  {410, 110, 572, 110},
    {410, 140, 572, 140}, {410, 170, 572, 170}, {410, 201, 572, 201}, {410, 230, 572, 230}, {39, 280, 230, 280},
    {39, 310, 230, 310}, {39, 340, 230, 340}, {39, 370, 230, 370},
};
// The label of each item (the ADC results share theirs).
const kv::MultiTextId* const kLabels[StatusCheck::kItems - 1] = {
    &STATUS_MODEL,    &STATUS_MODEL_NUMBER, &STATUS_FIRMWARE, &STATUS_TVM,     &STATUS_ITEM_A,
    &STATUS_PANEL,    &STATUS_POWER_ON,     &STATUS_ADC,      &STATUS_ITEM_B,  &STATUS_MAC,
    &STATUS_NETWORK,  &STATUS_IP,           &STATUS_MASK,     &STATUS_TEST,    &STATUS_ESN,
    &STATUS_WIDEVINE, &STATUS_3D_EEPROM,
};
int32_t LabelOf(int32_t item) { return item <= StatusCheck::kAdcSdHd ? item : item - 1; }

SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper)); }

void SetUpText(Views::Text& text, int32_t x, int32_t y) {
  text.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  text.OnSetColor(Colors::White);
  text.OnSetAutoSize(true);
  text.OnSetBounds({x, y, x + 10, y + 24});
}

kv::String Concat(std::initializer_list<kv::String> parts) {
  kv::String out;
  for (const kv::String& p : parts) out = kv::ConcatString(out, p);
  return out;
}

}  // namespace

StatusCheck::StatusCheck() {
  WinID = WinIDs::WIN_ID_StatusCheck;
  Layer = kFactoryTopLayer;
  WidgetOrigin = {100, 40};
  OnSetTimeOutValue(kStatusTimeOut);
  OnTimeOut = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::DismissSlot);
  FocusOnOpen = true;
  TakesKeys = true;
  KeyRoutingForm::OnSetBounds({0, 0, kWidth, kHeight});
  SetUpText(title_, 159, 10);
  title_.OnSetString(kv::GetVariantOfString(STATUS_TITLE));
  Add(&title_);
  for (int32_t i = 0; i < kItems; ++i) {
    if (i != kAdcVga) {
      Views::Text& label = labels_[LabelOf(i)];
      SetUpText(label, kPlaces[i].labelX, kPlaces[i].labelY);
      label.OnSetString(kv::GetVariantOfString(*kLabels[LabelOf(i)]));
      Add(&label);
    }
    SetUpText(values_[i], kPlaces[i].valueX, kPlaces[i].valueY);
    values_[i].OnSetString(kv::LoadString(STATUS_PLACEHOLDER));
    Add(&values_[i]);
  }
  SetUpText(subLabels_[0], kPlaces[kAdcSdHd].valueX, kPlaces[kAdcSdHd].labelY);
  subLabels_[0].OnSetString(kv::LoadString(STATUS_ADC_SD_HD));
  SetUpText(subLabels_[1], kPlaces[kAdcVga].valueX, kPlaces[kAdcVga].labelY);
  subLabels_[1].OnSetString(kv::LoadString(STATUS_ADC_VGA));
  Add(&subLabels_[0]);
  Add(&subLabels_[1]);
  values_[kItemA].OnSetString(kv::GetVariantOfString(STATUS_ITEM_A_VALUE));
  values_[kItemB].OnSetString(kv::GetVariantOfString(STATUS_ITEM_B_VALUE));
}

kv::String StatusCheck::Dec2Hex(int32_t n) { return ValueDisplay::Dec2Hex(n); }

kv::String StatusCheck::HexByte(int32_t v) const {
  const int32_t low = v & 0xFF;
  return Concat({kv::LoadString(STATUS_HEX_PREFIX), Dec2Hex(low >> 4), Dec2Hex(low & 0xF),
                 kv::LoadString(STATUS_HEX_SUFFIX)});
}

kv::String StatusCheck::GetAddressString(uint32_t a) {
  const kv::String sep = kv::LoadString(STATUS_ADDRESS_SEPARATOR);
  kv::String out;
  for (int32_t shift = 24; shift >= 0; shift -= 8) {
    out = kv::ConcatString(out, kv::NewStringUInt((a >> shift) & 0xFF, 0));
    if (shift > 0) out = kv::ConcatString(out, sep);
  }
  return out;
}

void StatusCheck::SetValue(Item item, const kv::String& text) { values_[item].OnSetString(text); }

void StatusCheck::Initialize(Primitives::KeyRoutingParameter* param) {
  WidgetClass::Initialize(param);
  SkinBin::Wrapper* w = Skin();
  if (!w) return;
  SkinBin::ModelInfo* info = w->GetModelInfo();
  SetValue(kModelName, info->Name);
  SetValue(kModelText2, info->Text2);
  SetValue(kModelNumber, HexByte(info->Number));
  SetValue(kFirmware, w->GetFirmwareVersion());
  SetValue(kTvm, HexByte(w->GetTvmVersion()));
  SetValue(kPowerOn, kv::NewStringUInt(static_cast<uint32_t>(w->GetPowerOnTime()), 0));
  SetValue(kEsn, w->GetNetflixESN());
  SetValue(kWidevine, w->GetWidevineDeviceId());
  SetValue(k3dEeprom, w->Get3DE2PROMVersion());
  const kv::String ok = kv::GetVariantOfString(Strings::SID_OK);
  const kv::String fail = kv::GetVariantOfString(STATUS_ADC_FAIL);
  const int32_t sd = w->GetADCCalibResult(kAdcDeviceSd);
  const int32_t hd = w->GetADCCalibResult(kAdcDeviceHd);
  SetValue(kAdcSdHd, sd == kAdcOk && hd == sd ? ok : fail);
  SetValue(kAdcVga, w->GetADCCalibResult(kAdcDeviceVga) == kAdcOk ? ok : fail);
  Structures::IF_Configuration* state = w->NetworkSetup.LAN_GetIfState(0);
  SetValue(kMac, w->NetworkSetup.LAN_GetMacAddr(0));
  SetValue(kIp, GetAddressString(w->OnGetIPAddress()));
  SetValue(kMask, GetAddressString(w->OnGetSubnetMask()));
  SetValue(kNetwork, kv::GetVariantOfString(state && state->DHCP ? Strings::SID_ENABLED : Strings::SID_DISABLED));
  SetValue(kTestStatus, w->GetFactoryTestStatus());
}

void StatusCheck::PrintStatusResults() {
  SkinBin::Wrapper* w = Skin();
  if (!w) return;
  w->OpenUART(true);
  const kv::String sep = kv::LoadString(STATUS_SEPARATOR);
  if (w->OnGetSeriesType() != 0) {
    for (int32_t i = 0; i < kItems; ++i) {
      kv::String itemSep = sep;
      if (i == kAdcSdHd) itemSep = kv::LoadString(STATUS_ADC_SD_HD_SEPARATOR);
      if (i == kAdcVga) itemSep = kv::LoadString(STATUS_ADC_VGA_SEPARATOR);
      w->PrintKvString(Concat({labels_[LabelOf(i)].OnGetString(), itemSep, values_[i].OnGetString()}));
    }
  } else {
    w->PrintKvString(kv::ConcatString(kv::LoadString(STATUS_MAC_PREFIX), values_[kMac].OnGetString()));
    w->PrintKvString(Concat({labels_[LabelOf(kEsn)].OnGetString(), sep, values_[kEsn].OnGetString()}));
    w->PrintKvString(Concat({labels_[LabelOf(kWidevine)].OnGetString(), sep, values_[kWidevine].OnGetString()}));
  }
  w->OpenUART(false);
}

kv::Object* StatusCheck::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key) return WidgetClass::HandleEvent(event);
  if (!key->Down) return nullptr;
  if (key->Code == KEY_EXIT || key->Code == KEY_9 || key->Code == KEY_BACK || key->Code == KEY_EXIT_ALT) Close();
  return this;
}

}  // namespace FactorySystem
