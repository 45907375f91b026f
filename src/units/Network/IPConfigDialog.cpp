#include "units/Network/IPConfigDialog.h"

#include "keys/keycodes.h"
#include "runtime/slot.h"
#include "strings/Network.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/Network/Address.h"
#include "units/Resources/Resources.h"
#include "units/Views/Align.h"

KV_REGISTER_CLASS(Network::KXDNumberSpinner);
KV_REGISTER_CLASS(Network::NumberSpinner);
KV_REGISTER_CLASS(Network::IPConfigDialog);

namespace Network {

namespace {

using namespace keys;

constexpr int32_t kOctetMax = 255;
constexpr kv::Color kGrey200{200, 200, 200, 255};

// The fields' height inside the dialog (its frame inset is 0; the widths
// are the class's). The dialog is one address row high (27 + 2 + 2, the
// set-up dialog's row step), so that it can stand over the row it edits
// without cutting into the rows beside it.
constexpr int32_t kMarginY = 2;
constexpr int32_t kFieldHeight = 27;

uint16_t DownCode(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  return key && key->Down ? key->Code : 0;
}

// What both spinners do with a typed digit: appended while the verify timer
// runs and the last number did not pass the maximum; else a new number. The
// base setter shows a value above the maximum as the maximum.
template <class Spinner>
void TypeDigit(Spinner& s, int32_t digit, bool verifyRunning) {
  int32_t value = digit;
  if (verifyRunning && !s.FreshEntry) {
    value = s.OnGetCurrent() * 10 + digit;
    if (value > s.OnGetMaximum()) s.FreshEntry = true;
  } else {
    s.FreshEntry = false;
  }
  s.OnSetCurrent(value);
}

// The text sits in the button's face with its top at 3.
void PlaceText(Views::Text& text, kv::Rect face) { text.OnSetBounds({face.x1, 3, face.x2, face.y2}); }

}  // namespace

// --- KXDNumberSpinner -------------------------------------------------------------------

KXDNumberSpinner::KXDNumberSpinner() {
  OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::IPAddressNonfocus));
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::IPAddressFocus));
  OnSetNonfocused_TextColor(kGrey200);
  OnSetFocused_TextColor(kGrey200);
  OnSetNonfocused_TextFont(Resources::LoadResource(Fonts::MediumFont));
  OnSetFocused_TextFont(Resources::LoadResource(Fonts::EPGListFont));
  OnSetMaximum(kOctetMax);
  OnSetHasLeadingZeros(false);
  OnSetIncreaseKey(KEY_NONE);
  OnSetDecreaseKey(KEY_NONE);
}

void KXDNumberSpinner::processDigit(int32_t digit) {
  if (digit < 0 || digit > 9) return;
  SetTyping(true);
  TypeDigit(*this, digit, IsVerifyRunning());
  RestartVerifyTimer();
}

kv::Object* KXDNumberSpinner::HandleEvent(Core::Event* event) {
  switch (DownCode(event)) {
    case KEY_UP:
      return this;
    case KEY_DOWN:
      OnSetText(kv::String());
      FreshEntry = true;
      kv::Signal(OnValueChange, this);
      return this;
    default:
      return ::Button::NumberSpinner::HandleEvent(event);
  }
}

void KXDNumberSpinner::HandleFocus(bool focused) {
  ::Button::NumberSpinner::HandleFocus(focused);
  if (focused) return;
  if (IsEmpty()) kv::Signal(OnValueBack, this);
  FreshEntry = true;
}

void KXDNumberSpinner::Refresh() {
  ::Button::NumberSpinner::Refresh();
  PlaceText(TextView(), GetTextRect());
}

// --- NumberSpinner ----------------------------------------------------------------------

NumberSpinner::NumberSpinner() {
  OnSetNonfocused_BackgroundBitmap(nullptr);
  OnSetFocused_BackgroundBitmap(nullptr);
  OnSetDisabled_TextColor(kv::Color::FromWord(0xFF585858u));
  OnSetFocused_TextColor(kv::Color::FromWord(0xFF714B18u));
  OnSetNonfocused_TextColor(kv::Color::FromWord(0xFFC8C8C8u));
  OnSetDefault_TextColor(kv::Color::FromWord(0xFFC8C8C8u));
  OnSetTextFont(Resources::LoadResource(Fonts::MediumFont));
  OnSetMaximum(kOctetMax);
  OnSetHasLeadingZeros(false);
  OnSetIncreaseKey(KEY_NONE);
  OnSetDecreaseKey(KEY_NONE);
}

void NumberSpinner::processDigit(int32_t digit) {
  if (digit < 0 || digit > 9) return;
  SetTyping(true);
  TypeDigit(*this, digit, IsVerifyRunning());
  RestartVerifyTimer();
}

kv::Object* NumberSpinner::HandleEvent(Core::Event* event) {
  switch (DownCode(event)) {
    case KEY_UP:
      return this;
    case KEY_OK:
      if (IsEmpty()) kv::Signal(OnValueBack, this);
      kv::Signal(OnValueSaved, this);
      return this;
    case KEY_DOWN:
      OnSetText(kv::String());
      FreshEntry = true;
      return this;
    case KEY_BACK:
      kv::Signal(OnValueBack, this);
      return this;
    default:
      return ::Button::NumberSpinner::HandleEvent(event);
  }
}

int32_t NumberSpinner::GetCtrlState() {
  return focused_ ? ::Button::kStateFocused : ::Button::NumberSpinner::GetCtrlState();
}

void NumberSpinner::HandleFocus(bool focused) {
  focused_ = focused;
  ::Button::NumberSpinner::HandleFocus(focused);
  RefreshCtrlState(GetCtrlState());
  if (focused) return;
  if (IsEmpty()) kv::Signal(OnValueBack, this);
  FreshEntry = true;
}

void NumberSpinner::Refresh() {
  ::Button::NumberSpinner::Refresh();
  PlaceText(TextView(), GetTextRect());
}

// --- IPConfigDialog ---------------------------------------------------------------------

IPConfigDialog::IPConfigDialog() {
  const int32_t width = kWidth;
  const int32_t height = 2 * kMarginY + kFieldHeight;
  OnSetBounds({0, 0, width + 68, height + 68});
  OnSetFrameWidth(0);
  OnSetHasCaption(false);
  Layer = kLayer;
  // The time-out closes this dialog alone; the set-up dialog stays.
  OnTimeOut = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::ExitSlot);
  for (int32_t i = 0; i < 4; ++i) {
    KXDNumberSpinner& f = fields_[i];
    const int32_t x = kMargin + i * (kFieldWidth + kGap);
    f.OnSetBounds({x, kMarginY, x + kFieldWidth, kMarginY + kFieldHeight});
    f.OnSetTag(i);
    f.OnActivate = kv::MakeSlot(this, &IPConfigDialog::DoActivate);
    f.OnValueChange = kv::MakeSlot(static_cast<Primitives::KeyRoutingForm*>(this),
                                   &Primitives::KeyRoutingForm::ResetTimeout);
    f.OnValueBack = kv::MakeSlot(this, &IPConfigDialog::DoBack);
    Add(&f);
  }
  for (int32_t i = 0; i < 3; ++i) {
    Views::Text& t = separators_[i];
    t.OnSetFont(Resources::LoadResource(Fonts::EPGListFont));
    t.OnSetAlignH(Views::ALIGN_LEFT);
    t.OnSetAlignV(1);
    t.OnSetAutoSize(true);
    t.OnSetString(kv::LoadString(ADDRESS_SEPARATOR));
    const kv::Rect a = t.Bounds();
    const int32_t x = kMargin + (i + 1) * (kFieldWidth + kGap) - (kGap + a.W()) / 2;
    const int32_t y = kMarginY + (kFieldHeight - a.H()) / 2;
    t.OnSetBounds({x, y, x + a.W(), y + a.H()});
    Add(&t);
  }
  OnSetFocus(&fields_[0]);
}

uint32_t IPConfigDialog::OnGetAddress() { return Address = JoinOctets(Octets); }

void IPConfigDialog::OnSetAddress(uint32_t address) {
  Address = address;
  SplitOctets(address, Octets);
  for (int32_t i = 3; i >= 0; --i)
    if (auto* f = kv::Cast<KXDNumberSpinner>(GetCtrlAt(i))) f->OnSetCurrent(Octets[i]);
}

void IPConfigDialog::DoActivate(kv::Object*) {
  for (int32_t i = 0; i < 4; ++i)
    if (auto* f = kv::Cast<KXDNumberSpinner>(GetCtrlAt(i))) Octets[i] = static_cast<uint8_t>(f->OnGetCurrent());
  kv::Signal(OnValueSaved, this);
}

void IPConfigDialog::DoBack(kv::Object* sender) {
  auto* f = kv::Cast<KXDNumberSpinner>(sender);
  if (!f) return;
  const int32_t i = f->OnGetTag();
  if (i < 0 || i > 3) return;
  if (f->OnGetCurrent() == Octets[i] && !f->IsEmpty()) return;
  f->OnSetCurrent(Octets[i]);
}

void IPConfigDialog::Close() {
  Core::Group* parent = Parent.get();
  const bool wasOpen = IsOpen();
  KXDWidgetClass::Close();
  Primitives::KeyRoutingForm* opener = opener_.get();
  opener_ = nullptr;
  if (wasOpen && parent && opener && opener->IsOpen() && opener->Owner() == parent) parent->OnSetFocus(opener);
}

kv::Object* IPConfigDialog::HandleEvent(Core::Event* event) {
  const uint16_t code = DownCode(event);
  if (code == KEY_RIGHT || code == KEY_LEFT) {
    int32_t at = 0;
    for (int32_t i = 0; i < 4; ++i)
      if (OnGetFocus() == &fields_[i]) at = i;
    OnSetFocus(&fields_[code == KEY_RIGHT ? (at + 1) % 4 : (at + 3) % 4]);
    ResetTimeout();
    return this;
  }
  if (code == KEY_BACK) {
    Post(&WidgetClass::ExitSlot);
    ResetTimeout();
    return this;
  }
  return KXDWidgetClass::HandleEvent(event);
}

}  // namespace Network
