#include "units/Network/AddressErrorInfo.h"

#include "strings/Strings.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/Resources/Resources.h"
#include "units/Views/Align.h"

KV_REGISTER_CLASS(Network::AddressErrorInfo);

namespace Network {

AddressErrorInfo::AddressErrorInfo() {
  background_.OnSetColor(Colors::Black);
  border_.OnSetWidth(1);
  border_.OnSetColor(Colors::DialogBorder);
  text_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  text_.OnSetColor(Colors::StandardTextColor);
  text_.OnSetAlignH(Views::ALIGN_CENTER);
  text_.OnSetAlignV(1);
  text_.OnSetEllipsis(true);
  Add(&background_);
  Add(&border_);
  Add(&text_);
  OnSetCaption(kv::GetVariantOfString(Strings::SID_INVALID_ADDRESS_MSG));
  OnSetBounds({0, 0, kWidth, kHeight});
  OnSetTimeOutValue(kTimeOut);
  OnTimeOut = kv::MakeSlot(this, &AddressErrorInfo::DoTimeout);
}

void AddressErrorInfo::OnSetBounds(kv::Rect bounds) {
  KeyRoutingForm::OnSetBounds(bounds);
  Refresh();
}

void AddressErrorInfo::Refresh() {
  const kv::Rect own{0, 0, Bounds().W(), Bounds().H()};
  background_.OnSetBounds(own);
  border_.OnSetBounds(own);
  text_.OnSetBounds({8, 0, own.x2 - 8, own.y2});
  KeyRoutingForm::Refresh();
}

void AddressErrorInfo::OnSetCaption(const kv::String& text) {
  Caption = text;
  text_.OnSetString(text);
}

kv::Object* AddressErrorInfo::HandleEvent(Core::Event* event) {
  if (!kv::Cast<Core::KeyEvent>(event)) return KeyRoutingForm::HandleEvent(event);
  // Only a press closes it: the release of the key that opened the box
  // must not take it away again.
  if (static_cast<Core::KeyEvent*>(event)->Down) kv::Signal(OnClose, this);
  return this;
}

void AddressErrorInfo::HandleFocus(bool focused) {
  KeyRoutingForm::HandleFocus(focused);
  SetTimeout(focused);
}

void AddressErrorInfo::DoTimeout(kv::Object*) { kv::Signal(OnClose, this); }

AddressErrorInfo* AddressErrorInfo::Show(Core::Group* owner, int32_t x, int32_t y, const kv::String& message,
                                         const kv::Slot& onClose) {
  auto* box = kv::New<AddressErrorInfo>();
  const kv::Rect b = box->Bounds();
  box->OnSetBounds({x, y, x + b.W(), y + b.H()});
  box->OnSetCaption(message);
  box->OnClose = onClose;
  box->Parent = owner;
  box->FocusOnOpen = true;
  box->Open();
  owner->OnSetFocus(box);
  return box;
}

}  // namespace Network
