// The skin's digit entries: SkinBin::PinEntry (four digits, signals
// OnCompleteEntry when the last one is entered), SkinBin::NumberInput (a
// three-digit number typed with the digit keys, shown as three cells) and
// SkinBin::EnterTime (a time typed as four digits hh:mm).
//
// NumberInput and EnterTime count the digits typed since entry (DigitCount,
// set to 0 by the owner on entry). Every digit signals OnResetTimeout.
// NumberInput: a digit makes Num = Num * 10 + digit (the first digit of an
// entry starts a new number) and signals OnNumChanged; after the third
// digit the count starts again. EnterTime: digits fill hh then mm (hours
// above 23 or tens of minutes above 5 are refused with nothing changed);
// OK ends the entry (OnTimeChanged, GetTimeIndex gives hours x 60 + tens of
// minutes x 10), Back cancels it (OnCancelChange), key 5 (down) clears the
// digits. NumberInput: OK signals OnNumChanged, Back signals OnCancelChange.
#pragma once

#include <cstdint>

#include "keys/keycodes.h"
#include "runtime/slot.h"
#include "units/PinEntry/PinEntry.h"
#include "units/Primitives/KeyRoutingCtrl.h"
#include "units/Views/Text.h"

namespace SkinBin {

class PinEntry : public ::PinEntry::PinEntry {
  KV_CLASS(SkinBin, PinEntry, ::PinEntry::PinEntry)
 public:
  // Cells of one fixed size, centred in the bounds: screens place entries
  // in bounds taller than a row (the new-PIN page's two entries overlap).
  static constexpr int32_t kCellWidth = 40;
  static constexpr int32_t kCellHeight = 30;

  PinEntry() = default;
  void AddDigit(int32_t digit) override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;
  // Signalled (sender: the entry) when the last digit is entered.
  kv::Slot OnCompleteEntry;
};

class NumberInput : public Primitives::KeyRoutingCtrl {
  KV_CLASS(SkinBin, NumberInput, Primitives::KeyRoutingCtrl)
 public:
  static constexpr int32_t kDigits = 3;
  NumberInput();

  kv::Object* HandleEvent(Core::Event* event) override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;
  // Shows the digits typed so far (the last DigitCount digits of Num) in
  // the cells and redraws them.
  void RefreshButtons();
  int32_t GetNum() const { return Num; }
  void SetNum(int32_t num);

  int32_t Num = 0;
  int32_t DigitCount = 0;
  kv::Slot OnNumChanged;
  kv::Slot OnCancelChange;
  kv::Slot OnResetTimeout;

 private:
  Views::Text digits_[kDigits];
};

class EnterTime : public Primitives::KeyRoutingCtrl {
  KV_CLASS(SkinBin, EnterTime, Primitives::KeyRoutingCtrl)
 public:
  static constexpr uint16_t kClearKey = keys::KEY_DOWN;
  static constexpr int32_t kDigits = 4;
  EnterTime();

  kv::Object* HandleEvent(Core::Event* event) override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;
  // Shows the digits typed so far in their cells and redraws them.
  void RefreshButtons();
  // Shows a time index (hours x 60 + minutes) as the starting value.
  void SetTimeIndex(int32_t index);
  int32_t GetTimeIndex() const;

  int32_t DigitCount = 0;
  int32_t Digits[kDigits] = {};
  kv::Slot OnTimeChanged;
  kv::Slot OnCancelChange;
  kv::Slot OnResetTimeout;

 private:
  Views::Text digits_[kDigits];
};

}  // namespace SkinBin
