#include "units/ListForm/AccessPointLists.h"

#include <algorithm>

#include "runtime/text.h"
#include "strings/ListForm.h"
#include "strings/Strings.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Bitmaps/ListBitmaps.h"
#include "units/Button/ButtonClass.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/ListForm/ListContext.h"
#include "units/ListForm/ListGetters.h"
#include "units/ListForm/RowColumns.h"
#include "units/SkinBin/NetworkSetup.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/WLAN_Connection.h"
#include "units/Structures/WLAN_Info.h"
#include "units/Structures/WPS_Connection.h"

namespace ListForm {

KV_REGISTER_CLASS(ListForm::ApCourier);
KV_REGISTER_CLASS(ListForm::KXDApCourier);
KV_REGISTER_CLASS(ListForm::ApItem);
KV_REGISTER_CLASS(ListForm::ApItem_Protocol);
KV_REGISTER_CLASS(ListForm::KXDApItem);
KV_REGISTER_CLASS(ListForm::AccessPointList);
KV_REGISTER_CLASS(ListForm::KXDAccessPointList);

namespace {

constexpr int32_t kApRows = 8;
constexpr int32_t kKXDApRows = 6;
// Where the arrows of the assisted list go once results are shown.
constexpr int32_t kResultArrowsX = 690;
// Security method -1: the middleware finds it (an open network here).
constexpr int8_t kSecurityFind = -1;

SkinBin::NetworkSetup* Network() {
  SkinBin::Wrapper* w = SkinWrapper();
  return w ? &w->NetworkSetup : nullptr;
}

const kv::MultiTextId* const kProtocolNames[16] = {
    &Strings::SID_NONE,         &Strings::SID_WIFI_11A,     &Strings::SID_WIFI_11B,     &Strings::SID_WIFI_11A_B,
    &Strings::SID_WIFI_11G,     &Strings::SID_WIFI_11A_G,   &Strings::SID_WIFI_11B_G,   &Strings::SID_WIFI_11A_B_G,
    &Strings::SID_WIFI_11N,     &Strings::SID_WIFI_11A_N,   &Strings::SID_UNSUPPORTED,  &Strings::SID_UNSUPPORTED,
    &Strings::SID_WIFI_11G_N,   &Strings::SID_WIFI_11A_G_N, &Strings::SID_WIFI_11B_G_N, &Strings::SID_WIFI_11A_B_G_N};

// While a scan runs the rows show disabled (and, empty, activate nothing).
void SetRowsEnabled(ListClass& list, bool on) {
  for (Forms::Ctrl* row : list.GetAllRows())
    if (auto* button = kv::Cast<::Button::ButtonClass>(row)) button->OnSetIsDisabled(!on);
}

// The dialog-information text colour of the headings is the one the
// other column headings use.
void SetupHeading(ListClass& list, Views::Text& t, kv::Color colour) {
  t.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  t.OnSetColor(colour);
  t.OnSetEllipsis(true);
  list.Add(&t);
}

// Shows the kept result once, or empty rows while a new scan runs.
template <class L>
void StartUp(L& list, Primitives::KeyRoutingParameter* param) {
  SkinBin::NetworkSetup* net = Network();
  list.ListClass::Initialize(param);
  auto* source = kv::New<ListDataSource>();
  source->Num = list.MaxRows;
  list.DataSource = nullptr;
  list.OnSetDataSource(source);
  if (net && net->KeepResult && net->GetAccessPointNum() != 0) {
    net->KeepResult = 0;
    const int32_t n = net->GetAccessPointNum();
    source->Num = n;
    list.OnSetItemNum(std::min(n, list.MaxRows));
    SetRowsEnabled(list, true);
    list.OnSetCurrentItemIndex(1);
    return;
  }
  list.StartScan();
}

template <class L>
void Scan(L& list) {
  if (SkinBin::NetworkSetup* net = Network()) net->WLAN_ScanAccessPoint({});
  if (list.DataSource) list.DataSource->Num = list.MaxRows;
  list.OnSetItemNum(list.MaxRows);
  list.OnSetCurrentItemIndex(1);
  SetRowsEnabled(list, false);
  list.Reload();
}

template <class L>
int32_t LoadResult(L& list) {
  SkinBin::NetworkSetup* net = Network();
  const int32_t n = net ? net->WLAN_LoadAccessPoints() : 0;
  if (n >= 1 && list.DataSource) {
    list.DataSource->Num = n;
    list.OnSetItemNum(std::min(n, list.MaxRows));
    SetRowsEnabled(list, true);
    list.OnSetCurrentItemIndex(1);
    list.Reload();
  }
  return n;
}

// The selected index of the network setup, when the row names a result.
void Select(int32_t index) {
  SkinBin::NetworkSetup* net = Network();
  if (net && index >= 0 && index < net->GetAccessPointNum()) net->SelectedIndex = index;
}

}  // namespace

kv::String ProtocolName(int32_t mask) {
  return kv::GetVariantOfString(*kProtocolNames[mask >= 0 && mask < 16 ? mask : 0]);
}

kv::String SignalWord(int32_t level) {
  level = std::clamp(level, 0, 4);
  if (level <= 1) return kv::GetVariantOfString(Strings::SID_WEAK);
  if (level <= 3) return kv::GetVariantOfString(Strings::SID_MEDIUM_U);
  return kv::GetVariantOfString(Strings::SID_STRONG);
}

// --- Getters ---------------------------------------------------------------------

namespace {

// The courier of access point i: the fields both kinds carry, then the
// kind's own through `extra`; empty strings beyond the results.
template <class C, class Extra>
kv::Object* ApCourierOf(int32_t i, Extra extra) {
  auto* c = kv::New<C>();
  c->ItemIndex = i;
  SkinBin::NetworkSetup* net = Network();
  if (Structures::WLAN_Info* ap = net ? net->GetAccessPoint(i) : nullptr) {
    c->NetworkName = ap->SSID;
    c->MacAddress = ap->MacAddress;
    c->Signal = ap->Signal;
    c->Protocol = ap->Mode;
    extra(*c, *ap);
  }
  return c;
}

}  // namespace

kv::Object* GetApItemData(ListDataSource* /*source*/, ListClass* /*list*/, int32_t i) {
  return ApCourierOf<ApCourier>(i, [](ApCourier& c, const Structures::WLAN_Info& ap) { c.Channel = ap.Channel; });
}

kv::Object* GetKXDApItemData(ListDataSource* /*source*/, ListClass* /*list*/, int32_t i) {
  return ApCourierOf<KXDApCourier>(i, [](KXDApCourier& c, const Structures::WLAN_Info& ap) { c.Security = ap.Security; });
}

// --- Rows -----------------------------------------------------------------------------

ApItem::ApItem() {
  OnSetBounds({0, 0, 620, 27});
  OnSetTextAlignH(0);
  TextView().OnSetEllipsis(true);
  // The focus bar of the access-point rows (as on the skin's list).
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::WiFiScanButtonFocus));
  for (Views::Text* t : {&second_, &channel_, &signal_}) {
    t->OnSetFont(Resources::LoadResource(Fonts::MediumFont));
    t->OnSetColor(Colors::White);
    t->OnSetEllipsis(true);
    AddColumn(*t);
  }
}

// A disabled row (the list scans) takes no keys: it looks disabled, focused
// or not.
int32_t ApItem::GetCtrlState() {
  return ::Button::StateShown(*this, ColumnRow::GetCtrlState(), !OnGetIsDisabled());
}

void ApItem::Refresh() {
  ListItem::Refresh();
  const int32_t h = Bounds().H();
  TextView().OnSetBounds({4, 0, 274, h});
  second_.OnSetBounds({276, 0, 480, h});
  channel_.OnSetBounds({482, 0, 550, h});
  signal_.OnSetBounds({552, 0, std::max(552, Bounds().W()), h});
}

void ApItem::OnSetText(const kv::String& text) {
  ColumnRow::OnSetText(text);
  PostRefreshCtrlState();
}

void ApItem::OnSetNetworkName(const kv::String& name) {
  NetworkName = name;
  OnSetText(name);
}

void ApItem::OnSetChannel(int32_t channel) {
  Channel = channel;
  channel_.OnSetString(kv::NewStringInt(channel, 0));
  InvalidateView();
}

void ApItem::OnSetSignal(int32_t signal) {
  Signal = signal;
  signal_.OnSetString(SignalWord(signal));
  InvalidateView();
}

void ApItem::ClearNumbers() {
  channel_.OnSetString({});
  signal_.OnSetString({});
  InvalidateView();
}

void ApItem::SetData(kv::Object* data) {
  auto* c = kv::Cast<ApCourier>(data);
  if (!c) {
    OnSetNetworkName({});
    second_.OnSetString({});
    ClearNumbers();
    return;
  }
  ItemIndex = c->ItemIndex;
  OnSetNetworkName(c->NetworkName);
  second_.OnSetString(c->MacAddress);
  if (c->NetworkName.Empty() && c->MacAddress.Empty()) {
    ClearNumbers();
    return;
  }
  OnSetChannel(c->Channel);
  OnSetSignal(c->Signal);
}

kv::Object* ApItem::GetData(kv::Object* data) {
  auto* c = kv::Cast<ApCourier>(data);
  if (!c) c = kv::New<ApCourier>();
  ListItem::GetData(c);
  c->NetworkName = NetworkName;
  c->MacAddress = second_.OnGetString();
  c->Channel = static_cast<uint8_t>(Channel);
  c->Signal = static_cast<uint8_t>(Signal);
  return c;
}

void ApItem_Protocol::OnSetProtocol(int32_t mask) {
  Protocol = mask;
  SecondView().OnSetString(ProtocolName(mask));
  InvalidateView();
}

void ApItem_Protocol::SetData(kv::Object* data) {
  ApItem::SetData(data);
  auto* c = kv::Cast<ApCourier>(data);
  if (!c) return;
  if (c->NetworkName.Empty() && c->MacAddress.Empty())
    SecondView().OnSetString({});
  else
    OnSetProtocol(c->Protocol);
}

kv::Object* ApItem_Protocol::GetData(kv::Object* data) {
  auto* c = kv::Cast<ApCourier>(ApItem::GetData(data));
  c->Protocol = static_cast<uint8_t>(Protocol);
  return c;
}

KXDApItem::KXDApItem() {
  OnSetBounds({0, 0, 500, 30});
  OnSetTextAlignH(0);
  TextView().OnSetEllipsis(true);
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::WiFiScanButtonFocus));
  bar_.OnSetBitmap(Resources::LoadResource(Bitmaps::SignalIndicator));
  bar_.OnSetImageSize(23);
  bar_.OnSetImageNumber(6);
  bar_.OnSetImageIndex(3);  // level 2
  lock_.OnSetBitmap(Resources::LoadResource(Bitmaps::LockImage));
  lock_.OnSetVisible(false);
  protocol_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  protocol_.OnSetColor(Colors::White);
  protocol_.OnSetEllipsis(true);
  protocol_.OnSetAlignV(1);  // on the row's middle, level with the name
  AddColumn(lock_);
  AddColumn(bar_);
  AddColumn(protocol_);
}

int32_t KXDApItem::GetCtrlState() {
  return ::Button::StateShown(*this, ColumnRow::GetCtrlState(), !OnGetIsDisabled());
}

void KXDApItem::Refresh() {
  ListItem::Refresh();
  const kv::Rect b = Bounds();
  const int32_t w = b.W();
  using namespace KXDApColumns;
  TextView().OnSetBounds(kName.In(w, 0, b.H()));
  lock_.OnSetBounds(kSecurity.Centred(w, 24, 24, b.H()));
  bar_.OnSetBounds(kSignal.Centred(w, 23, 16, b.H()));
  protocol_.OnSetBounds(kMode.In(w, 0, b.H()));
}

void KXDApItem::OnSetNetworkName(const kv::String& name) {
  NetworkName = name;
  OnSetText(name);
}

void KXDApItem::OnSetSecurity(int32_t security) {
  Security = security;
  lock_.OnSetVisible(security > 0);
  InvalidateView();
}

void KXDApItem::OnSetProtocol(int32_t mask) {
  Protocol = mask;
  protocol_.OnSetString(ProtocolName(mask));
  InvalidateView();
}

void KXDApItem::OnSetSignal(int32_t signal) {
  Signal = signal;
  bar_.OnSetImageIndex(std::clamp(signal, 0, 4) + 1);
  InvalidateView();
}

void KXDApItem::SetData(kv::Object* data) {
  auto* c = kv::Cast<KXDApCourier>(data);
  if (!c) {
    OnSetNetworkName({});
    protocol_.OnSetString({});
    bar_.OnSetVisible(false);
    OnSetSecurity(0);
    return;
  }
  ItemIndex = c->ItemIndex;
  MacAddress = c->MacAddress;
  OnSetNetworkName(c->NetworkName);
  OnSetSecurity(c->Security);
  OnSetProtocol(c->Protocol);
  OnSetSignal(c->Signal);
  // The bar shows results, not the rows of a running scan.
  bar_.OnSetVisible(!OnGetIsDisabled());
  if (c->NetworkName.Empty() && c->MacAddress.Empty()) protocol_.OnSetString({});
}

kv::Object* KXDApItem::GetData(kv::Object* data) {
  auto* c = kv::Cast<KXDApCourier>(data);
  if (!c) c = kv::New<KXDApCourier>();
  ListItem::GetData(c);
  c->NetworkName = NetworkName;
  c->MacAddress = MacAddress;
  c->Security = static_cast<uint8_t>(Security);
  c->Protocol = static_cast<uint8_t>(Protocol);
  c->Signal = static_cast<uint8_t>(Signal);
  return c;
}

// --- Assisted-setup list --------------------------------------------------------------

AccessPointList::AccessPointList() {
  MaxRows = kApRows;
  ItemYOffset = 30;
  ItemInterval = 1;
  ItemClass = &ApItem::StaticClass();
  OnActivateOption = kv::MakeSlot(this, &AccessPointList::ConnectAP);
  AddArrowIndicators(*this, up_, down_);
  for (Views::Text& t : headings_) SetupHeading(*this, t, Colors::InputLabelStandardTextColor);
}

void AccessPointList::Initialize(Primitives::KeyRoutingParameter* param) {
  if (ProtocolMode && ItemNum < 0) ItemClass = &ApItem_Protocol::StaticClass();
  headings_[0].OnSetString(kv::GetVariantOfString(Strings::SID_NETWORK_NAME));
  headings_[1].OnSetString(kv::GetVariantOfString(ProtocolMode ? Strings::SID_MODE : Strings::SID_MAC_ADDRESS));
  headings_[2].OnSetString(kv::GetVariantOfString(Strings::SID_CH));
  headings_[3].OnSetString(kv::GetVariantOfString(Strings::SID_SIGNAL));
  StartUp(*this, param);
}

void AccessPointList::InitializeItems() { FitRows(); }

void AccessPointList::FitRows() {
  const int32_t w = Bounds().W() - ItemXOffset;
  if (w <= 0) return;  // not laid out yet: the first Refresh fits them
  for (Forms::Ctrl* row : GetAllRows()) {
    const kv::Rect b = row->Bounds();
    if (b.W() != w) row->OnSetBounds({b.x1, b.y1, b.x1 + w, b.y2});
  }
}

void AccessPointList::Refresh() {
  FitRows();
  ListClass::Refresh();
  const kv::Rect b = Bounds();
  const int32_t x[5] = {4, 276, 482, 552, b.W()};
  for (int32_t k = 0; k < 4; ++k) headings_[k].OnSetBounds({x[k], 0, std::max(x[k], x[k + 1]), ItemYOffset - 2});
  const int32_t arrows = arrowsX_ >= 0 ? arrowsX_ : b.W() - 20;
  up_.OnSetBounds(up_.Bounds().MoveTo({arrows, ItemYOffset - 20}));
  down_.OnSetBounds(down_.Bounds().MoveTo({arrows, b.H() - 16}));
}

void AccessPointList::StartScan() {
  Scan(*this);
  arrowsX_ = -1;
  PostRefresh();
}

int32_t AccessPointList::GetScanResult() {
  const int32_t n = LoadResult(*this);
  if (n >= 1 && DataSource) {
    arrowsX_ = kResultArrowsX;
    PostRefresh();
  }
  return n;
}

void AccessPointList::ConnectAP(kv::Object* sender) {
  auto* row = kv::Cast<ApItem>(sender);
  if (!row || row->NetworkName.Empty()) return;
  Select(row->ItemIndex);
  if (!PIN.Empty()) {
    auto* wps = kv::New<Structures::WPS_Connection>();
    wps->Flag = 1;
    wps->SSID = row->NetworkName;
    wps->PIN = PIN;
    wps->Mode = 0;
    if (SkinBin::NetworkSetup* net = Network()) net->WPS_Join(wps);
  }
  kv::Signal(OnConnectAP, this);
}

// --- The skin's list --------------------------------------------------------------------

KXDAccessPointList::KXDAccessPointList() {
  MaxRows = kKXDApRows;
  RowsTakeWidth = true;  // the columns spread across the list, inside the focus bar
  ItemYOffset = 30;
  WrapAround = false;
  ItemClass = &KXDApItem::StaticClass();
  OnActivateOption = kv::MakeSlot(this, &KXDAccessPointList::ConnectAP);
  AddArrowIndicators(*this, up_, down_);
  for (Views::Text& t : headings_) SetupHeading(*this, t, Colors::StandardTextColor);
  headings_[0].OnSetString(kv::GetVariantOfString(Strings::SID_NETWORK_NAME));
  headings_[1].OnSetString(kv::GetVariantOfString(AP_HEADING_SECURITY));
  headings_[2].OnSetString(kv::GetVariantOfString(Strings::SID_SIGNAL));
  headings_[3].OnSetString(kv::GetVariantOfString(AP_HEADING_MODE));
}

void KXDAccessPointList::Initialize(Primitives::KeyRoutingParameter* param) { StartUp(*this, param); }

void KXDAccessPointList::Refresh() {
  ListClass::Refresh();
  const kv::Rect b = Bounds();
  // Name, security (the padlock), signal (the bar), mode (the protocol).
  using namespace KXDApColumns;
  PlaceHeadings(*this,
                {{&headings_[0], kName}, {&headings_[1], kSecurity}, {&headings_[2], kSignal}, {&headings_[3], kMode}},
                0, ItemYOffset - 2);
  up_.OnSetBounds(up_.Bounds().MoveTo({b.W() - 20, ItemYOffset - 4 - 20}));
  down_.OnSetBounds(down_.Bounds().MoveTo({b.W() - 20, b.H() - 16}));
}

kv::Object* KXDAccessPointList::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down || key->Code != IncreaseKey) return ListClass::HandleEvent(event);
  if (ScrollItems(1) == 0) return nullptr;  // the owner takes the focus on
  kv::Signal(FocusMove, this);
  return this;
}

void KXDAccessPointList::StartScan() { Scan(*this); }

int32_t KXDAccessPointList::GetScanResult() { return LoadResult(*this); }

void KXDAccessPointList::ConnectAP(kv::Object* sender) {
  auto* row = kv::Cast<KXDApItem>(sender);
  if (!row || row->NetworkName.Empty()) return;
  Select(row->ItemIndex);
  Security = static_cast<uint8_t>(row->Security);
  NetworkName = row->NetworkName;
  if (row->Security == 0) {
    auto* join = kv::New<Structures::WLAN_Connection>();
    join->SecurityMethod = kSecurityFind;
    join->NoApRecord = 0;
    join->SSID = row->NetworkName;
    if (SkinBin::NetworkSetup* net = Network()) net->WLAN_JoinNetwork(join);
  }
  kv::Signal(OnConnectAP, this);
}

}  // namespace ListForm
