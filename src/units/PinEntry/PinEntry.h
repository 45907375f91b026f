// PinEntry::PinEntry: entry of a PIN of MaxNumDigits digits.
//
// Digit keys (10 to 19, key-down) add their digit while fewer than
// MaxNumDigits are entered; DeleteKey removes the last digit, and on an empty
// entry signals OnPrevPin (the screen goes back). Every added or deleted
// digit signals OnResetTimeout, so that the screen re-arms its time-out.
// Other keys go on to the key-routing control.
//
// The entry is drawn as MaxNumDigits boxes side by side; a box holding a
// digit shows a mask square, never the digit.
#pragma once

#include <cstdint>

#include "keys/keycodes.h"
#include "runtime/slot.h"
#include "runtime/string.h"
#include "units/Primitives/KeyRoutingCtrl.h"

namespace PinEntry {

class PinEntry : public Primitives::KeyRoutingCtrl {
  KV_CLASS(PinEntry, PinEntry, Primitives::KeyRoutingCtrl)
 public:
  static constexpr int32_t kDefaultMaxNumDigits = 4;
  static constexpr uint16_t kDefaultDeleteKey = keys::KEY_LEFT;
  // The most digits an entry takes.
  static constexpr int32_t kMaxDigits = 16;

  PinEntry() = default;

  kv::Object* HandleEvent(Core::Event* event) override;

  // The digits entered so far.
  kv::String CurrentPin() const { return pin_; }
  // Empties the entry and redraws it (no signal).
  void Clear();
  // Removes the last digit and signals OnResetTimeout; nothing when empty.
  void DeleteCurrentDigit();
  // Adds one digit (0 to 9) when the entry is not full and signals
  // OnResetTimeout; other values are logged and ignored. Derived entries
  // extend it (completion).
  virtual void AddDigit(int32_t digit);
  bool IsComplete() const { return pin_.Length() >= maxNumDigits_; }

  // 1 to kMaxDigits; other values are logged and clamped. Digits beyond a
  // smaller maximum are dropped.
  void OnSetMaxNumDigits(int32_t count);
  int32_t OnGetMaxNumDigits() { return maxNumDigits_; }
  void OnSetDeleteKey(uint16_t key) { deleteKey_ = key; }
  uint16_t OnGetDeleteKey() { return deleteKey_; }

  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

  // Signalled (sender: the entry) on every added or deleted digit.
  kv::Slot OnResetTimeout;
  // Signalled (sender: the entry) by the delete key on an empty entry.
  kv::Slot OnPrevPin;

 protected:
  // Draws the boxes side by side, filling `area` (screen coordinates).
  void DrawBoxes(const ge::Surface& target, const kv::Rect& clip, const kv::Rect& area, int32_t opacity);
  static constexpr int32_t kBoxGap = 6;
  // The entry takes the keys: it is focused, and so is every group above it
  // up to the top modal group or the root.
  bool TakesKeys() const;

 private:
  kv::String pin_;
  int32_t maxNumDigits_ = kDefaultMaxNumDigits;
  uint16_t deleteKey_ = kDefaultDeleteKey;
};

}  // namespace PinEntry
