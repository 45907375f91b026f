#include "units/Network/AddressPages.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/slot.h"
#include "strings/MenuSystemItems.h"
#include "strings/Network.h"
#include "strings/Strings.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/Network/Address.h"
#include "units/Network/AddressErrorInfo.h"
#include "units/OptionDatabase/OptionTypes.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Views/Align.h"

KV_REGISTER_CLASS(Network::SubMenuItemNetworkAddress);
KV_REGISTER_CLASS(Network::AddressSetupPage);
KV_REGISTER_CLASS(Network::IPAddressSetupMenu);
KV_REGISTER_CLASS(Network::DNSSetupMenu);

namespace Network {

namespace {

using namespace keys;

// Help masks of the row: not editing (back, left/right), editing (back,
// digits, OK, left/right, up/down).
constexpr int32_t kHelpMask = 0x40004;
constexpr int32_t kEditHelpMask = 0x40286;
// The octets on the right half of the row.
constexpr int32_t kOctetX = 262;
constexpr int32_t kOctetWidth = 40;
constexpr int32_t kOctetGap = 14;
constexpr kv::Color kHighlight{200, 200, 200, 255};

const MenuSystem::RowDef kAutoRow[] = {
    {MenuSystem::RowKind::Select, &Strings::SID_AUTO_NETWORK_SETUP, OptionDatabase::OPTION_TYPE_AUTO_NETWORK_SETUP},
};
// The page above both (the advanced network set-up).
const MenuSystem::ClassOf kParent = MS_TARGET(KV_LATE_CLASS("Network::AdvancedNetworkSetupMenu"));
constexpr int32_t kLevel = 5;
const MenuSystem::PageLayout kIPPage =
    MenuSystem::Page(AddressSetupPage::kWinId, &Strings::SID_IP_ADDRESS_SETUP, kLevel, kParent, kAutoRow);
const MenuSystem::PageLayout kDNSPage =
    MenuSystem::Page(AddressSetupPage::kWinId, &Strings::SID_DNS_SETUP, kLevel, kParent, kAutoRow);

}  // namespace

// --- SubMenuItemNetworkAddress -----------------------------------------------------------

SubMenuItemNetworkAddress::SubMenuItemNetworkAddress() {
  highlight_.OnSetColor(kHighlight);
  highlight_.OnSetVisible(false);
  const kv::Slot changed = kv::MakeSlot(this, &SubMenuItemNetworkAddress::DoValueChanged);
  const kv::Slot saved = kv::MakeSlot(this, &SubMenuItemNetworkAddress::DoValueSaved);
  const kv::Slot back = kv::MakeSlot(this, &SubMenuItemNetworkAddress::DoBack);
  for (int32_t i = 0; i < 4; ++i) {
    NumberSpinner& s = spinners_[i];
    s.OnSetTag(i);
    s.OnValueChange = changed;
    s.OnValueSaved = saved;
    s.OnValueBack = back;
    s.OnSetCurrent(255);
  }
  for (Views::Text& t : separators_) {
    t.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
    t.OnSetColor(Colors::StandardTextColor);
    t.OnSetAlignH(Views::ALIGN_LEFT);
    t.OnSetAlignV(1);
    t.OnSetString(kv::LoadString(ADDRESS_SEPARATOR));
  }
  SetHelp(false);
  Refresh();
}

void SubMenuItemNetworkAddress::SetHelp(bool editing) {
  const int32_t mask = editing ? kEditHelpMask : kHelpMask;
  if (mask == HelpMask) return;
  HelpMask = mask;
  HelpString = editing ? MenuSystem::HelpText({&MenuSystemItems::SID_INPUT, &Strings::SID_SELECT, &Strings::SID_CLEAR,
                                               &Strings::SID_SAVE, &MenuSystemItems::SID_BACK})
                       : MenuSystem::HelpText({&MenuSystemItems::SID_EDIT, &MenuSystemItems::SID_BACK});
}

void SubMenuItemNetworkAddress::Refresh() {
  SubMenuItem::Refresh();
  const kv::Rect b = Bounds();
  kv::Rect caption = TextView().Bounds();
  caption.x2 = std::min(caption.x2, b.W() / 2);
  TextView().OnSetBounds(caption);
  for (int32_t i = 0; i < 4; ++i) {
    const int32_t x = kOctetX + i * (kOctetWidth + kOctetGap);
    spinners_[i].OnSetBounds({x, 0, x + kOctetWidth, b.H()});
    spinners_[i].Refresh();
  }
  for (int32_t i = 0; i < 3; ++i) {
    const int32_t x = kOctetX + (i + 1) * (kOctetWidth + kOctetGap) - kOctetGap / 2 - 2;
    separators_[i].OnSetBounds({x, 3, x + 6, b.H()});
  }
  if (AddrIndex >= 0 && AddrIndex < 4) highlight_.OnSetBounds(spinners_[AddrIndex].Bounds());
}

void SubMenuItemNetworkAddress::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin,
                                     int32_t opacity) {
  SubMenuItem::Draw(target, clip, origin, opacity);
  DrawPart(highlight_, target, clip, origin, opacity);
  for (NumberSpinner& s : spinners_) DrawPart(s, target, clip, origin, opacity);
  for (Views::Text& t : separators_) DrawPart(t, target, clip, origin, opacity);
}

void SubMenuItemNetworkAddress::OnSetAddress(uint32_t address) {
  Address = address;
  SplitOctets(address, Octets);
  for (int32_t i = 3; i >= 0; --i) spinners_[i].OnSetCurrent(Octets[i]);
  InvalidateView();
}

uint32_t SubMenuItemNetworkAddress::OnGetAddress() { return Address = JoinOctets(Octets); }

void SubMenuItemNetworkAddress::OnSetAddrIndex(int32_t index) {
  if (index == AddrIndex || OnGetIsDisabled()) return;
  const int32_t old = AddrIndex;
  AddrIndex = index;
  if (old >= 0 && old < 4) spinners_[old].HandleFocus(false);
  const bool editing = index >= 0 && index < 4;
  if (editing) {
    spinners_[index].HandleFocus(true);
    highlight_.OnSetBounds(spinners_[index].Bounds());
  } else {
    AddrIndex = -1;
  }
  highlight_.OnSetVisible(editing);
  const int32_t mask = HelpMask;
  SetHelp(editing);
  if (mask != HelpMask) kv::Signal(OnFocus, this);
  InvalidateView();
}

kv::Object* SubMenuItemNetworkAddress::HandleEvent(Core::Event* event) {
  const uint16_t code = SubMenuItem::DownCode(event);
  if (code == KEY_LEFT || code == KEY_RIGHT) {
    if (!OnGetIsDisabled()) {
      const int32_t next = AddrIndex < 0 ? 0 : code == KEY_LEFT ? std::max(0, AddrIndex - 1) : std::min(3, AddrIndex + 1);
      OnSetAddrIndex(next);
    }
    kv::Signal(OnResetTimeout, this);
    return this;
  }
  if (code != KEY_NONE && AddrIndex >= 0 && AddrIndex < 4) {
    if (kv::Object* answer = spinners_[AddrIndex].HandleEvent(event)) {
      InvalidateView();
      kv::Signal(OnResetTimeout, this);
      return answer;
    }
  }
  return SubMenuItem::HandleEvent(event);
}

void SubMenuItemNetworkAddress::HandleFocus(bool focused) {
  SubMenuItem::HandleFocus(focused);
  if (!focused) OnSetAddrIndex(-1);
}

void SubMenuItemNetworkAddress::OnSetIsDisabled(bool disabled) {
  if (disabled) OnSetAddrIndex(-1);
  SubMenuItem::OnSetIsDisabled(disabled);
  for (NumberSpinner& s : spinners_) s.OnSetIsDisabled(disabled);
  for (Views::Text& t : separators_) t.OnSetColor(disabled ? Colors::DisableTextColor : Colors::StandardTextColor);
  InvalidateView();
}

void SubMenuItemNetworkAddress::DoValueChanged(kv::Object*) { kv::Signal(OnResetTimeout, this); }

void SubMenuItemNetworkAddress::DoValueSaved(kv::Object*) {
  for (int32_t i = 0; i < 4; ++i) Octets[i] = static_cast<uint8_t>(spinners_[i].OnGetCurrent());
  OnSetAddrIndex(-1);
  kv::Signal(OnValueSaved, this);
}

void SubMenuItemNetworkAddress::DoBack(kv::Object* sender) {
  auto* s = kv::Cast<NumberSpinner>(sender);
  const int32_t i = s ? s->OnGetTag() : -1;
  if (i < 0 || i > 3) {
    OnSetAddrIndex(-1);
    return;
  }
  if (s->OnGetCurrent() != Octets[i])
    s->OnSetCurrent(Octets[i]);
  else if (!s->IsEmpty())
    OnSetAddrIndex(-1);
  else
    s->OnSetCurrent(Octets[i]);
  InvalidateView();
}

// --- AddressSetupPage --------------------------------------------------------------------

void AddressSetupPage::BuildPage(const MenuSystem::PageLayout& layout,
                                 std::initializer_list<std::pair<const kv::MultiTextId*, int32_t>> rows) {
  Build(layout);
  for (const auto& [caption, index] : rows) {
    auto* row = kv::New<SubMenuItemNetworkAddress>();
    AddRow(row, caption, 0);
    row->AddressIndex = index;
    row->OnResetTimeout = kv::MakeSlot(static_cast<Primitives::KeyRoutingForm*>(this),
                                       &Primitives::KeyRoutingForm::ResetTimeout);
    row->OnValueSaved = kv::MakeSlot(this, &AddressSetupPage::SaveAddress);
    rows_.push_back(row);
  }
}

void AddressSetupPage::LoadSettings() {
  ReadInterfaceState();
  MenuSystem::SettingPage::LoadSettings();
  ReloadRows();
  RefreshGrayout();
}

void AddressSetupPage::ReloadRows() {
  for (size_t i = 0; i < rows_.size(); ++i) rows_[i]->OnSetAddress(StoredAddress(rows_[i]->AddressIndex));
}

void AddressSetupPage::RefreshGrayout() {
  SkinBin::Wrapper* w = Skin();
  const bool automatic = w && w->OnGetAutoSetup() == 1;
  for (size_t i = 0; i < rows_.size(); ++i) {
    SubMenuItemNetworkAddress* row = rows_[i];
    if (row->OnGetIsDisabled() != automatic) row->OnSetIsDisabled(automatic);
    row->OnSetEnabled(!automatic);
  }
  if (GreyAutoRowWhenOff) {
    // The grey automatic row is passed over like the grey address rows.
    Grey(0, !automatic);
    AutoRow()->OnSetEnabled(automatic);
  }
  // The focus leaves a row that can no longer take it for the next one.
  auto* focused = kv::Cast<MenuSystem::SubMenuItem>(OnGetFocus());
  if (!focused || !focused->CanFocus()) FocusRowFrom(std::max(1, OnGetCurrentItemIndex()), 1);
}

void AddressSetupPage::RowChanged(MenuSystem::SubMenuItem* row) {
  SkinBin::Wrapper* w = Skin();
  if (row == AutoRow() && w && w->NetworkSetup.LastApply != 0) {
    // The set kept its setting: the rows show what it holds.
    LoadSettings();
    ShowError(kv::GetVariantOfString(APPLY_FAILED));
    return;
  }
  RefreshGrayout();
}

void AddressSetupPage::SaveAddress(kv::Object* sender) {
  auto* row = kv::Cast<SubMenuItemNetworkAddress>(sender);
  if (!row || row->Owner() != this) return;
  const uint32_t address = row->OnGetAddress();
  if (const kv::MultiTextId* refusal = CheckAddresses ? RefusalOf(row->AddressIndex, address) : nullptr) {
    refused_ = row;
    ShowError(kv::GetVariantOfString(*refusal));
    return;
  }
  if (!StoreAddress(row->AddressIndex, address)) {
    refused_ = row;
    LoadSettings();
    ShowError(kv::GetVariantOfString(APPLY_FAILED));
  }
}

// The refusal stands under the rows: a box at x 115 over a row would hide
// the end of its label and the first octets and leave the rest readable.
// The page grows to hold it and takes its own height back when it goes.
void AddressSetupPage::ShowError(const kv::String& message) {
  if (AddressErrorInfo* old = error_.get()) old->Close();
  int32_t y = kErrorGap;
  for (int32_t i = 0; i < RowCount(); ++i)
    if (const MenuSystem::SubMenuItem* row = Row(i)) y = std::max(y, row->Bounds().y2 + kErrorGap);
  const kv::Rect b = Bounds();
  if (heightBeforeError_ == 0) heightBeforeError_ = b.H();
  OnSetBounds({b.x1, b.y1, b.x2, b.y1 + std::max(heightBeforeError_, y + AddressErrorInfo::kHeight + kErrorGap)});
  error_ = AddressErrorInfo::Show(this, kErrorX, y, message, kv::MakeSlot(this, &AddressSetupPage::DoCloseErrorInfo));
}

void AddressSetupPage::RestoreHeight() {
  if (heightBeforeError_ == 0) return;
  const kv::Rect b = Bounds();
  OnSetBounds({b.x1, b.y1, b.x2, b.y1 + heightBeforeError_});
  heightBeforeError_ = 0;
}

void AddressSetupPage::DoCloseErrorInfo(kv::Object* sender) {
  auto* box = kv::Cast<AddressErrorInfo>(sender);
  if (!box || box != error_.get()) return;
  box->Close();
  error_ = nullptr;
  RestoreHeight();
  SubMenuItemNetworkAddress* back = refused_.get();
  refused_ = nullptr;
  if (back && back->CanFocus())
    OnSetFocus(back);
  else if (MenuSystem::SubMenuItem* first = Row(0))
    OnSetFocus(first);
  ReloadRows();
}

void AddressSetupPage::Close() {
  if (AddressErrorInfo* box = error_.get()) box->Close();
  error_ = nullptr;
  refused_ = nullptr;
  RestoreHeight();
  MenuSystem::SettingPage::Close();
}

IPAddressSetupMenu::IPAddressSetupMenu() {
  BuildPage(kIPPage, {{&Strings::SID_IP_ADDRESS, ADDRESS_IP},
                      {&Strings::SID_SUBNET_MASK, ADDRESS_MASK},
                      {&Strings::SID_DEFAULT_GATEWAY, ADDRESS_GATEWAY}});
}

DNSSetupMenu::DNSSetupMenu() {
  GreyAutoRowWhenOff = true;
  CheckAddresses = false;
  BuildPage(kDNSPage, {{&Strings::SID_PRIMARY_DNS_ADDRESS, ADDRESS_DNS1},
                       {&Strings::SID_SECONDARY_DNS_ADDRESS, ADDRESS_DNS2}});
}

}  // namespace Network
