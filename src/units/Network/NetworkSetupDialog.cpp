#include "units/Network/NetworkSetupDialog.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/slot.h"
#include "strings/Network.h"
#include "strings/Strings.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Events/XPM_EVENT_STANDBY.h"
#include "units/Fonts/Fonts.h"
#include "units/Network/Address.h"
#include "units/Network/AddressErrorInfo.h"
#include "units/Network/Dispatch.h"
#include "units/Network/IPConfigDialog.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/Wrapper.h"
#include "units/SubSystem/State.h"
#include "units/Views/Align.h"

KV_REGISTER_CLASS(Network::KXDNetworkWidgetClass);
KV_REGISTER_CLASS(Network::IPAddressButton);
KV_REGISTER_CLASS(Network::NetworkSetupDialog);

namespace Network {

namespace {

using namespace keys;

// The dialog's geometry (its frame inset is 0). The check box sits right
// under the title and ends above the error box's top (61, where every
// refused address's box stands); the box fills the band between it and the
// address rows, which holds no text, so it hides no letter of any row. The
// address buttons are as wide as the address editor that opens over them;
// they start after the widest label of the menu language.
constexpr int32_t kLabelX = 18;
constexpr int32_t kLabelGap = 12;
constexpr int32_t kMinButtonX = 170;
constexpr int32_t kButtonW = IPConfigDialog::kWidth;
constexpr int32_t kRightMargin = 12;
constexpr int32_t kDhcpY = 40;
constexpr int32_t kDhcpHeight = 22;
constexpr int32_t kErrorHeight = 30;
constexpr int32_t kFirstRowY = NetworkSetupDialog::kErrorOrigin.y + kErrorHeight + 2;
constexpr int32_t kRowStep = 31;
constexpr int32_t kRowHeight = 27;
constexpr int32_t kOkY = kFirstRowY + 5 * kRowStep + 6;
constexpr int32_t kOkWidth = 110;
constexpr int32_t kHeight = kOkY + kRowHeight + 12;

}  // namespace

// --- KXDNetworkWidgetClass ------------------------------------------------------------

KXDNetworkWidgetClass::KXDNetworkWidgetClass() {
  IsModal = 1;
  OnSetFrameWidth(0);
}

void KXDNetworkWidgetClass::OnSetShowWaiting(int32_t v) {
  ShowWaiting = v;
  if (v >= 0) SendWaitingCircle(v);
}

void KXDNetworkWidgetClass::DoCancel(kv::Object*) {
  OnSetShowWaiting(0);
  Close();
}

kv::Object* KXDNetworkWidgetClass::HandleEvent(Core::Event* event) {
  if (auto* standby = kv::Cast<Events::XPM_EVENT_STANDBY>(event)) {
    if (!IsModal) return KXDWidgetClass::HandleEvent(event);
    DoCancel();
    PassOnStandby(standby);
    return this;
  }
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return KXDWidgetClass::HandleEvent(event);
  const bool waiting = ShowWaiting == 1;
  switch (key->Code) {
    case KEY_OK:
      if (!waiting) Post(&WidgetClass::EnterNextStateSlot);
      break;
    case KEY_EXIT:
    case KEY_EXIT_ALT:
      if (waiting) DoCancel();
      Post(&WidgetClass::ClearAllSlot);
      break;
    case KEY_UP:
    case KEY_DOWN:
      MoveFocus(*this, key->Code == KEY_DOWN);
      break;
    case KEY_BACK:
      if (waiting) DoCancel();
      Post(&WidgetClass::EnterPrevStateSlot);
      break;
    default:
      break;
  }
  ResetTimeout();
  return this;
}

// --- IPAddressButton -----------------------------------------------------------------

IPAddressButton::IPAddressButton() {
  OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::TimeZoneListButtonNonfocus));
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::TimeZoneListButtonFocus));
  OnSetTextAlignH(Views::ALIGN_CENTER);
  OnSetText(kv::LoadString(ADDRESS_INITIAL));
}

uint32_t IPAddressButton::OnGetAddress() { return Address = JoinOctets(Octets); }

void IPAddressButton::OnSetAddress(uint32_t address) {
  Address = address;
  SplitOctets(address, Octets);
  OnSetText(AddressText(address));
}

// --- NetworkSetupDialog ----------------------------------------------------------------

NetworkSetupDialog::NetworkSetupDialog() {
  const kv::MultiTextId* captions[4] = {&Strings::IPAddress, &Strings::SubnetMask, &Strings::DefaultGateway,
                                        &Strings::DNSServer};
  int32_t widest = 0;
  for (int32_t i = 0; i < 4; ++i) {
    SetUpLabel(labels_[i], kv::GetVariantOfString(*captions[i]));
    widest = std::max(widest, labels_[i].Bounds().W());
  }
  const int32_t buttonX = std::max(kMinButtonX, kLabelX + widest + kLabelGap);
  const int32_t width = buttonX + kButtonW + kRightMargin;
  OnSetBounds({0, 0, width + 68, kHeight + 68});
  OnSetFrameWidth(0);
  IsShortcut = true;
  OnSetCaption(kv::GetVariantOfString(Strings::SID_NETWORK_SETUP));

  dhcp_.OnSetBounds({kLabelX, kDhcpY, buttonX + kButtonW, kDhcpY + kDhcpHeight});
  dhcp_.OnSetText(kv::GetVariantOfString(Strings::DHCP));
  dhcp_.OnSetNonfocused_BackgroundBitmap(nullptr);
  dhcp_.OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::TimeZoneListButtonFocus));
  dhcp_.OnActivate = kv::MakeSlot(this, &NetworkSetupDialog::SetDHCP);
  Add(&dhcp_);

  for (int32_t i = 0; i < 5; ++i) {
    IPAddressButton& b = buttons_[i];
    const int32_t y = kFirstRowY + i * kRowStep;
    b.OnSetBounds({buttonX, y, buttonX + kButtonW, y + kRowHeight});
    b.OnSetTag(i);
    b.NextState = &IPConfigDialog::StaticClass();
    b.OnActivate = kv::MakeSlot(this, &NetworkSetupDialog::DoActivate);
    Add(&b);
  }
  for (int32_t i = 0; i < 4; ++i) {
    Views::Text& t = labels_[i];
    const kv::Rect a = t.Bounds();
    // Auto-sized, centred on its row.
    const int32_t top = kFirstRowY + i * kRowStep + (kRowHeight - a.H()) / 2;
    t.OnSetBounds({kLabelX, top, kLabelX + a.W(), top + a.H()});
    Add(&t);
  }

  ok_.OnSetBounds({(width - kOkWidth) / 2, kOkY, (width - kOkWidth) / 2 + kOkWidth, kOkY + kRowHeight});
  ok_.OnSetText(kv::GetVariantOfString(Strings::SID_OK));
  ok_.OnSetTextAlignH(Views::ALIGN_CENTER);
  ok_.OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::DialogButtonNonfocus));
  ok_.OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::DialogButtonFocus));
  ok_.OnActivate = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::EnterPrevStateSlot);
  Add(&ok_);
  OnSetFocus(&dhcp_);
}

void NetworkSetupDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  ReadInterfaceState();
  LoadAddresses(true);
  OnSetFocus(&dhcp_);
}

void NetworkSetupDialog::LoadAddresses(bool dns) {
  SkinBin::Wrapper* w = Skin();
  dhcp_.OnSetIsChecked(w && w->OnGetAutoSetup() == 1);
  const int32_t last = dns ? ADDRESS_DNS2 : ADDRESS_GATEWAY;
  for (int32_t i = ADDRESS_IP; i <= last; ++i) buttons_[i].OnSetAddress(StoredAddress(i));
  RefreshGrayout();
}

void NetworkSetupDialog::RefreshGrayout(kv::Object*) {
  SkinBin::Wrapper* w = Skin();
  const bool automatic = w && w->OnGetAutoSetup() == 1;
  for (IPAddressButton& b : buttons_) {
    b.OnSetEnabled(!automatic);
    b.OnSetIsDisabled(automatic);
  }
}

void NetworkSetupDialog::SetDHCP(kv::Object*) {
  if (!StoreAutoSetup(dhcp_.OnGetIsChecked())) {
    // The set kept its setting: show what it holds.
    LoadAddresses(true);
    ShowError(kv::GetVariantOfString(APPLY_FAILED), &dhcp_);
    return;
  }
  kv::Signal(kv::MakeSlot(this, &NetworkSetupDialog::RefreshGrayout), this);
}

void NetworkSetupDialog::DoActivate(kv::Object* sender) {
  auto* button = kv::Cast<IPAddressButton>(sender);
  if (!button || !button->NextState) return;
  NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
  if (!s) return;
  auto* state = kv::New<SubSystem::State>();
  state->Class = button->NextState;
  state->PrevState = KvClass();
  auto* dialog = kv::Cast<IPConfigDialog>(s->ChangeState(state));
  if (!dialog) return;
  dialog->OnSetAddress(button->OnGetAddress());
  dialog->Index = button->OnGetTag();
  dialog->OnValueSaved = kv::MakeSlot(this, &NetworkSetupDialog::SaveAddress);
  dialog->OnSetOpener(this);
  // Over the button it edits, as wide as it, its fields where the address
  // stood: inside this dialog, and the rows above and below stay whole.
  const kv::Rect b = button->Bounds();
  const kv::Rect d = dialog->Bounds();
  const int32_t x = Bounds().x1 + b.x1;
  const int32_t y = Bounds().y1 + b.y1 + (b.H() - d.H()) / 2;
  dialog->OnSetBounds({x, y, x + d.W(), y + d.H()});
}

void NetworkSetupDialog::SaveAddress(kv::Object* sender) {
  auto* dialog = kv::Cast<IPConfigDialog>(sender);
  if (!dialog) return;
  const uint32_t address = dialog->OnGetAddress();
  const int32_t index = dialog->Index;
  const kv::MultiTextId* refusal = RefusalOf(index, address);
  bool applied = true;
  if (!refusal && index >= ADDRESS_IP && index <= ADDRESS_DNS2) {
    buttons_[index].OnSetAddress(address);
    applied = StoreAddress(index, address);
  }
  dialog->Close();
  // The box closes onto the row of the address, so that OK edits it again.
  Core::View* row = index >= ADDRESS_IP && index <= ADDRESS_DNS2 ? &buttons_[index] : nullptr;
  if (refusal) {
    ShowError(kv::GetVariantOfString(*refusal), row);
  } else if (!applied) {
    // The interface keeps what it had: the dialog shows it again.
    LoadAddresses(true);
    ShowError(kv::GetVariantOfString(APPLY_FAILED), row);
  }
}

void NetworkSetupDialog::ShowError(const kv::String& message, Core::View* back) {
  if (AddressErrorInfo* old = error_.get()) old->Close();
  errorBack_ = -1;
  for (int32_t i = ADDRESS_IP; i <= ADDRESS_DNS2; ++i)
    if (back == &buttons_[i]) errorBack_ = i;
  if (back == &dhcp_) errorBack_ = kBackToDhcp;
  error_ = AddressErrorInfo::Show(this, kErrorOrigin.x, kErrorOrigin.y, message,
                                  kv::MakeSlot(this, &NetworkSetupDialog::DoCloseErrorInfo));
  // The box keeps its place and width but takes the height of the band
  // between the check box and the address rows: it covers no text.
  const kv::Rect box = error_->Bounds();
  error_->OnSetBounds({box.x1, box.y1, box.x2, box.y1 + kErrorHeight});
}

void NetworkSetupDialog::DoCloseErrorInfo(kv::Object* sender) {
  auto* box = kv::Cast<AddressErrorInfo>(sender);
  if (!box || box->Owner() != this) return;
  box->Close();
  if (error_.get() == box) error_ = nullptr;
  // The refused entry disappears: IP address, mask and gateway as stored.
  for (int32_t i = ADDRESS_IP; i <= ADDRESS_GATEWAY; ++i) buttons_[i].OnSetAddress(StoredAddress(i));
  Core::View* back = errorBack_ == kBackToDhcp                                ? static_cast<Core::View*>(&dhcp_)
                     : errorBack_ >= ADDRESS_IP && errorBack_ <= ADDRESS_DNS2 ? &buttons_[errorBack_]
                                                                               : nullptr;
  errorBack_ = -1;
  if (back && back->CanFocus())
    OnSetFocus(back);
  else if (!OnGetFocus() || !OnGetFocus()->CanFocus())
    OnSetFocus(&dhcp_);
}

kv::Object* NetworkSetupDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && (key->Code == KEY_UP || key->Code == KEY_DOWN)) {
    MoveFocus(*this, key->Code == KEY_DOWN);
    ResetTimeout();
    return this;
  }
  return KXDWidgetClass::HandleEvent(event);
}

}  // namespace Network
