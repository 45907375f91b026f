#include "units/Network/NetworkPages.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "strings/MenuSystemPages.h"
#include "strings/Network.h"
#include "strings/Strings.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Events/NetworkTestResultsEvent.h"
#include "units/ListForm/AccessPointLists.h"
#include "units/Network/Address.h"
#include "units/Network/Security.h"
#include "units/Network/WizardStates.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionTypes.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/NetworkSetup.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"
#include "units/Structures/WPS_Connection.h"
#include "units/SubSystem/MenuSystemClass.h"
#include "units/SubSystem/State.h"
#include "units/Views/Align.h"

KV_REGISTER_CLASS(Network::SubMenuItemValue);
KV_REGISTER_CLASS(Network::WirelessSetupMenu);
KV_REGISTER_CLASS(Network::EasySetupMenu);
KV_REGISTER_CLASS(Network::AdvancedNetworkSetupMenu);
KV_REGISTER_CLASS(Network::ValuePage);
KV_REGISTER_CLASS(Network::MACAddressMenu);
KV_REGISTER_CLASS(Network::WirelessInformationMenu);

namespace Network {

namespace {

namespace S = Strings;
using K = MenuSystem::RowKind;
using M = WizardMove;

constexpr uint32_t kWinId = 0x1001542;
using namespace keys;

constexpr int32_t kConnected = 1;

const MenuSystem::ClassOf kNetworkSetup = MS_TARGET(KV_LATE_CLASS("MenuSystem::NetworkSetupMenu"));
const MenuSystem::ClassOf kWirelessSetup = MS_TARGET(&WirelessSetupMenu::StaticClass());
const MenuSystem::ClassOf kAdvanced = MS_TARGET(&AdvancedNetworkSetupMenu::StaticClass());

const MenuSystem::RowDef kWirelessSetupRows[] = {
    {K::Link, &S::SID_EASY_SETUP, 0, MS_TARGET(WizardNext("Network::WirelessSetupMenu", M::EasyItem))},
    {K::Link, &S::SID_ASSISTED_SETUP, 0, MS_TARGET(WizardNext("Network::WirelessSetupMenu", M::AssistedItem))},
    {K::Link, &S::SID_MANUAL_SETUP, 0, MS_TARGET(WizardNext("Network::WirelessSetupMenu", M::ManualItem))},
    {K::Select, &S::SID_ENHANCED_11N, OptionDatabase::OPTION_TYPE_ENHANCED_11N},
};
const MenuSystem::PageLayout kWirelessSetupPage =
    MenuSystem::Page(kWinId, &MenuSystemPages::SID_WIRELESS_SETUP, 5, kNetworkSetup, kWirelessSetupRows);
constexpr int32_t kEnhanced11nRow = 3;

const MenuSystem::RowDef kEasySetupRows[] = {
    {K::Select, &S::SID_WPS_CONFIGURATION, OptionDatabase::OPTION_TYPE_WPS_CONFIGURATION},
    {K::Link, &S::SID_START_SCAN},
};
const MenuSystem::PageLayout kEasySetupPage =
    MenuSystem::Page(kWinId, &S::SID_EASY_SETUP, 6, kWirelessSetup, kEasySetupRows);
constexpr int32_t kStartScanRow = 1;

const MenuSystem::RowDef kAdvancedRows[] = {
    {K::Link, &S::SID_IP_ADDRESS_SETUP, 0, MS_TARGET(KV_LATE_CLASS("Network::IPAddressSetupMenu"))},
    {K::Link, &S::SID_DNS_SETUP, 0, MS_TARGET(KV_LATE_CLASS("Network::DNSSetupMenu"))},
    {K::Link, &S::SID_MAC_ADDRESS, 0, MS_TARGET(&MACAddressMenu::StaticClass())},
};
const MenuSystem::PageLayout kAdvancedPage =
    MenuSystem::Page(kWinId, &MenuSystemPages::SID_ADVANCED_NETWORK_SETUP, 5, kNetworkSetup, kAdvancedRows);

const MenuSystem::PageLayout kMacPage{kWinId, &S::SID_MAC_ADDRESS, 6, kAdvanced, nullptr, 0};
// Opened from the product tree or the quick menu: back shows the opener.
const MenuSystem::PageLayout kInfoPage{kWinId, &S::SID_WIRELESS_INFORMATION, 3, nullptr, nullptr, 0};

SkinBin::NetworkSetup* Net() {
  SkinBin::Wrapper* w = Skin();
  return w ? &w->NetworkSetup : nullptr;
}

kv::String Text(const kv::MultiTextId& id) { return kv::GetVariantOfString(id); }

kv::String Octets(const uint8_t (&b)[4]) {
  return AddressText(JoinOctets(b));
}

}  // namespace

// --- SubMenuItemValue --------------------------------------------------------------------

SubMenuItemValue::SubMenuItemValue() { ShowArrows(false); }

void SubMenuItemValue::Refresh() {
  MenuSystem::SubMenuItemValue::Refresh();
  ShowArrows(false);
}

void SubMenuItemValue::HandleFocus(bool focused) {
  MenuSystem::SubMenuItemValue::HandleFocus(focused);
  ShowArrows(false);
}

void SubMenuItemValue::RefreshCtrlState(int32_t state) {
  MenuSystem::SubMenuItemValue::RefreshCtrlState(state);
  ShowArrows(false);
}

// --- Wireless set-up and easy set-up ------------------------------------------------------

WirelessSetupMenu::WirelessSetupMenu() { Build(kWirelessSetupPage); }

void WirelessSetupMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  Drop(kEnhanced11nRow);
  ItemsNum = 3;
  SettingPage::Initialize(param);
}

EasySetupMenu::EasySetupMenu() {
  Build(kEasySetupPage);
  if (MenuSystem::SubMenuItem* start = R(kStartScanRow)) {
    start->HelpString = MenuSystem::HelpText({&S::SID_ENTER, &S::SID_BACK});
    start->HelpMask = 0x40200;
    start->OnSetTextAlignH(Views::ALIGN_CENTER);
  }
}

void EasySetupMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  SettingPage::Initialize(param);
  const kv::Rect b = Bounds();
  OnSetBounds({b.x1, b.y1, b.x2, b.y1 + kHeight});
}

void EasySetupMenu::DoActivate(kv::Object* sender) {
  if (sender && sender == R(kStartScanRow)) return StartScanSlot(sender);
  SettingPage::DoActivate(sender);
}

void EasySetupMenu::StartScanSlot(kv::Object*) {
  SkinBin::Wrapper* w = Skin();
  if (w && w->OnGetWPSConfiguration() == 1) {
    OpenSubPage(WizardNext(KvClass(), M::PinScan));
    return;
  }
  // The push-button join starts before its waiting state opens.
  auto* wps = kv::New<Structures::WPS_Connection>();
  wps->Mode = 1;
  if (w) w->NetworkSetup.WPS_Join(wps);
  OpenSubPage(WizardNext(KvClass(), M::PushButton));
}

AdvancedNetworkSetupMenu::AdvancedNetworkSetupMenu() { Build(kAdvancedPage); }

// --- Read-only pages -----------------------------------------------------------------------

void ValuePage::AddValues(std::initializer_list<const kv::MultiTextId*> captions, int32_t helpMask,
                          std::initializer_list<const kv::MultiTextId*> help) {
  const kv::String helpText = MenuSystem::HelpText(help);
  for (const kv::MultiTextId* caption : captions) {
    auto* row = kv::New<SubMenuItemValue>();
    AddRow(row, caption, 0);
    row->HelpString = helpText;
    row->HelpMask = helpMask;
    values_.push_back(row);
  }
}

void ValuePage::Show(int32_t row, const kv::String& text) {
  if (SubMenuItemValue* v = Value(row)) v->OnSetValueString(text);
}

void ValuePage::ShowHelp(int32_t mask, const kv::String& text) {
  auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent);
  if (!agent) return;
  auto* s = kv::New<Structures::RefString>();
  s->Value = text;
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_UPDATE_HELP_BAR, s, mask);
  agent->Dispatch(msg);
}

MACAddressMenu::MACAddressMenu() {
  Build(kMacPage);
  AddValues({&S::SID_WIRED, &S::SID_WIRELESS}, 0x40000, {&S::SID_BACK});
  // Nothing on the page changes: the focused row keeps the plain look.
  for (int32_t i = 0; i < 2; ++i) {
    SubMenuItemValue* v = Value(i);
    if (!v) continue;
    v->OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::OptionButtonNonfocus));
    v->OnSetFocused_BackgroundColor(v->OnGetNonfocused_BackgroundColor());
    v->OnSetFocused_TextColor(v->OnGetNonfocused_TextColor());
  }
}

void MACAddressMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  SettingPage::Initialize(param);
  Show(0, SkinBin::NetworkSetup::LAN_GetMacAddr(0));
  Show(1, SkinBin::NetworkSetup::LAN_GetMacAddr(1));
}

// --- Wireless information ------------------------------------------------------------------

WirelessInformationMenu::WirelessInformationMenu() {
  Build(kInfoPage);
  AddValues({&S::SID_STATUS, &S::SID_SIGNAL, &S::SID_SPEED, &S::SID_MODE, &S::SID_AP_CHANNEL, &S::SID_NETWORK_NAME,
             &S::SID_AUTHENTICATION, &S::SID_ENCRYPTION, &S::SID_SECURITY_KEY, &S::SID_AP_MAC_ADDRESS,
             &S::SID_MAC_ADDRESS, &S::SID_DHCP, &S::SID_IP_ADDRESS, &S::SID_SUBNET_MASK, &S::SID_DEFAULT_GATEWAY,
             &S::SID_DNS},
            0x41000, {&S::SID_AP_SCAN, &S::SID_BACK});
  NextState = WizardNext(&StaticClass(), M::Next);
}

void WirelessInformationMenu::OnSetSecurityMethod(int32_t method) {
  const SecurityPair pair = MethodPair(method);
  Authentication = pair.authentication;
  Encryption = pair.encryption;
  SecurityMethod = method;
}

kv::String WirelessInformationMenu::OptionText(int32_t option, int32_t value) {
  OptionDatabase::OptionDataClass* record = MenuSystem::OptionRecord(option);
  if (!record) return {};
  record->Initialize();
  record->Value = value;
  record->Val2Id();
  // A value past the selectable choices is a combination the set cannot use.
  if (record->Id < 0 || record->Id >= record->Num) return Text(S::SID_UNSUPPORTED);
  record->GetData();
  auto* courier = kv::Cast<OptionDatabase::OptionCourier>(record->Courier.get());
  return courier ? courier->Caption : kv::String();
}

void WirelessInformationMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  scroll_ = 0;
  SettingPage::Initialize(param);
  // Read-only: no row takes the focus.
  OnSetFocus(nullptr);
  ShowHelp(0x41000, MenuSystem::HelpText({&S::SID_AP_SCAN, &S::SID_BACK}));
  SkinBin::NetworkSetup* net = Net();
  Structures::WLAN_Info* info = net ? net->WLAN_GetStatus() : nullptr;
  Show(kMac, SkinBin::NetworkSetup::LAN_GetMacAddr(1));
  ShowLink(info, net ? net->LAN_GetIfState(1) : nullptr);
}

void WirelessInformationMenu::ShowLink(const Structures::WLAN_Info* info, const Structures::IF_Configuration* config) {
  const int32_t state = info ? info->State : -1;
  const bool connected = state == kConnected;
  const kv::String none;
  if (!connected) {
    Show(kStatus, Text(S::SID_DISCONNECTED));
    for (int32_t r : {kSignal, kSpeed, kMode, kChannel, kApMac}) Show(r, none);
  } else {
    Show(kStatus, Text(S::SID_CONNECTED));
    Show(kSignal, ListForm::SignalWord(info->Signal > 4 ? 4 : info->Signal));
    Show(kSpeed, SpeedText(info->Rate / 2));
    Show(kMode, ListForm::ProtocolName(info->Mode >= 16 ? 0 : info->Mode));
    Show(kChannel, kv::NewStringInt(info->Channel, 0));
    Show(kApMac, info->MacAddress);
  }
  if (state != 0 && state != kConnected) {
    for (int32_t r : {kNetworkName, kAuthentication, kEncryption, kSecurityKey}) Show(r, none);
  } else {
    Show(kNetworkName, info->SSID);
    OnSetSecurityMethod(info->Security);
    Show(kAuthentication, OptionText(OptionDatabase::OPTION_TYPE_AUTHENTICATION, Authentication));
    Show(kEncryption, OptionText(OptionDatabase::OPTION_TYPE_ENCRYPTION, Encryption));
    Show(kSecurityKey, kv::LoadString(SECURITY_KEY_PLACEHOLDER));
  }
  const bool dhcp = config && config->DHCP != 0;
  Show(kDhcp, Text(dhcp ? S::SID_ENABLED : S::SID_DISABLED));
  if (!config || (!connected && dhcp)) {
    for (int32_t r : {kIp, kMask, kGateway, kDns}) Show(r, none);
  } else {
    Show(kIp, Octets(config->IPAddress));
    Show(kMask, Octets(config->SubnetMask));
    Show(kGateway, Octets(config->DefaultGateway));
    Show(kDns, Octets(config->DNS1));
  }
}

void WirelessInformationMenu::Scroll(int32_t step) {
  const int32_t n = RowCount();
  if (n == 0) return;
  const kv::Rect area = GetPageArea();
  const int32_t pitch = Row(0)->Bounds().H() + ItemGap;
  const int32_t shown = pitch > 0 ? area.H() / pitch : n;
  const int32_t last = std::max(0, n - shown);
  const int32_t to = std::clamp(scroll_ + step, 0, last);
  if (to == scroll_) return;
  scroll_ = to;
  PlaceRows();
  for (int32_t i = 0; i < n; ++i) {
    MenuSystem::SubMenuItem* row = Row(i);
    row->OnSetBounds(row->Bounds().Move({0, -scroll_ * pitch}));
  }
  InvalidateView();
}

kv::Object* WirelessInformationMenu::HandleEvent(Core::Event* event) {
  if (auto* result = kv::Cast<Events::NetworkTestResultsEvent>(event)) {
    // Words counted from 0: the third is the speed in kbit/s.
    Show(kSpeed, SpeedText(result->Word2 / 1024));
    return this;
  }
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && (key->Code == KEY_UP || key->Code == KEY_DOWN || key->Code == kScanKey)) {
    if (key->Code == kScanKey)
      EnterNextState();
    else
      Scroll(key->Code == KEY_DOWN ? 1 : -1);
    RefreshArrow();
    ResetTimeout();
    return this;
  }
  return SettingPage::HandleEvent(event);
}

void WirelessInformationMenu::EnterNextState() {
  if (!NextState || !MenuSystem) return;
  auto* state = kv::New<SubSystem::State>();
  state->Class = NextState;
  state->PrevState = KvClass();
  state->Param = SkinBin::UserRefInt::Make(0, Constants::MSG_FROM_MENUSYSTEM);
  SubSystem::MenuSystemClass* owner = MenuSystem.get();
  Close();
  owner->ChangeState(state);
}

}  // namespace Network
