// Button::TextSpinner: one of a list of texts (month names, AM and PM),
// stepped with IncreaseKey (next text) and DecreaseKey (previous text),
// wrapping round at either end. Each step signals OnValueChange; setting
// Current does not. Keys are taken on key-down; others go on to the
// key-routing control.
#pragma once

#include <cstdint>
#include <vector>

#include "keys/keycodes.h"
#include "runtime/slot.h"
#include "runtime/string.h"
#include "units/Button/Button.h"

namespace Button {

class TextSpinner : public Button {
  KV_CLASS(Button, TextSpinner, Button)
 public:
  static constexpr uint16_t kDefaultIncreaseKey = keys::KEY_UP;
  static constexpr uint16_t kDefaultDecreaseKey = keys::KEY_DOWN;

  TextSpinner();

  // Appends a text to the list.
  void AddText(const kv::String& text);
  // Empties the list (Current becomes 0, nothing shown).
  void ClearTexts();
  int32_t GetTextCount() const { return static_cast<int32_t>(texts_.size()); }
  kv::String GetTextAt(int32_t index) const;

  // The index of the text shown; an index outside the list is logged and ignored.
  void OnSetCurrent(int32_t index);
  int32_t OnGetCurrent() { return current_; }
  // The text shown (empty for an empty list).
  kv::String GetCurrentText() const { return GetTextAt(current_); }

  void OnSetIncreaseKey(uint16_t key) { increaseKey_ = key; }
  uint16_t OnGetIncreaseKey() { return increaseKey_; }
  void OnSetDecreaseKey(uint16_t key) { decreaseKey_ = key; }
  uint16_t OnGetDecreaseKey() { return decreaseKey_; }

  kv::Object* HandleEvent(Core::Event* event) override;

  // Signalled (sender: the spinner) after each step.
  kv::Slot OnValueChange;

 private:
  std::vector<kv::String> texts_;
  int32_t current_ = 0;
  uint16_t increaseKey_ = kDefaultIncreaseKey;
  uint16_t decreaseKey_ = kDefaultDecreaseKey;
};

}  // namespace Button
