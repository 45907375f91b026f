// The IP configuration dialog and its octet spinners.
//
// Network::IPConfigDialog edits one address as four octet fields (typed
// digits only, 0 to 255). OK on any field saves the fields and signals
// OnValueSaved (the opener checks, stores and closes it); back closes it
// without saving; right and left move between the fields with wrap-around;
// 15 s without a key close this dialog alone.
//
// The octet spinners: up does nothing; down empties the field; a field left
// empty gets its saved octet back when it loses the focus (OnValueBack).
// Typing: within the 3000 ms of the verify timer a digit is appended; a
// value above 255 shows 255 and the next digit starts a new number.
// Network::KXDNumberSpinner is the dialog's field; Network::NumberSpinner
// the address rows' field of the menu pages, which also saves on OK
// (OnValueSaved) and gives the octet back on Back.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/slot.h"
#include "units/Button/NumberSpinner.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/Views/Text.h"

namespace Network {

class KXDNumberSpinner : public ::Button::NumberSpinner {
  KV_CLASS(Network, KXDNumberSpinner, ::Button::NumberSpinner)
 public:
  KXDNumberSpinner();

  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;
  void Refresh() override;
  void processDigit(int32_t digit) override;

  // The field shows no number (emptied by down).
  bool IsEmpty() const { return OnGetText().Empty(); }
  bool FreshEntry = false;
  kv::Slot OnValueBack;
};

class NumberSpinner : public ::Button::NumberSpinner {
  KV_CLASS(Network, NumberSpinner, ::Button::NumberSpinner)
 public:
  NumberSpinner();

  kv::Object* HandleEvent(Core::Event* event) override;
  // The address row holds its spinners without adding them to a group: the
  // row hands the focus to them, and the focused look follows it.
  void HandleFocus(bool focused) override;
  int32_t GetCtrlState() override;
  void Refresh() override;
  void processDigit(int32_t digit) override;

  bool IsEmpty() const { return OnGetText().Empty(); }
  bool FreshEntry = false;
  kv::Slot OnValueSaved;
  kv::Slot OnValueBack;

 private:
  bool focused_ = false;
};

class IPConfigDialog : public NonMenuSystem::KXDWidgetClass {
  KV_CLASS(Network, IPConfigDialog, NonMenuSystem::KXDWidgetClass)
 public:
  // Its own layer over the set-up dialog.
  static constexpr uint32_t kLayer = 64;
  // Its width, that of the set-up dialog's address buttons it opens over:
  // four octet fields between two margins, a separator in each gap; three
  // digits stand in a field with room on both sides.
  static constexpr int32_t kMargin = 6;
  static constexpr int32_t kFieldWidth = 47;
  static constexpr int32_t kGap = 10;
  static constexpr int32_t kWidth = 2 * kMargin + 4 * kFieldWidth + 3 * kGap;

  IPConfigDialog();

  kv::Object* HandleEvent(Core::Event* event) override;
  // Closes; the screen that opened it takes the focus back.
  void Close() override;

  // The screen the dialog edits an address for.
  void OnSetOpener(Primitives::KeyRoutingForm* form) { opener_ = form; }

  // The address of the saved octets (octet 1 most significant).
  uint32_t OnGetAddress();
  // Stores the address; the saved octets and the fields show it.
  void OnSetAddress(uint32_t address);

  // OK on a field: the fields become the saved octets; OnValueSaved.
  void DoActivate(kv::Object* sender = nullptr);
  // A field left empty gets its saved octet back.
  void DoBack(kv::Object* sender);

  KXDNumberSpinner& Field(int32_t i) { return fields_[i]; }

  uint32_t Address = 0xFFFFFFFFu;
  uint8_t Octets[4] = {255, 255, 255, 255};
  // Which address is edited (see Address.h); set and read by the opener.
  int32_t Index = 0;
  kv::Slot OnValueSaved;

 private:
  KXDNumberSpinner fields_[4];
  Views::Text separators_[3];
  kv::Member<Primitives::KeyRoutingForm> opener_;
};

}  // namespace Network
