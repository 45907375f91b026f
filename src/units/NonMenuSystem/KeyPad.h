// NonMenuSystem::KeyPad (0x200000A, layer 128): the text-entry pop-up. A
// one-line edit field (NonMenuSystem::KeyPadEditButton), four mode buttons
// and an on-screen keyboard (NonMenuSystem::KeyboardForm) of up to 7 x 5
// keys: upper-case and lower-case letters, digits and symbols, and for the
// letters with accented variants a sub-keyboard of those variants (Latin
// mode: the variant replaces the letter before the cursor).
//
// Opened by a state change with a SkinBin::UserRefInt {flag: no Latin mode,
// value: maximum length, string: the text}; answers MSG_LABEL_CHANGE to every
// receiver: with a Structures::RefString of the text on done (22), with none
// on back (41). Keys: 10 to 19 digits, 20 (red) deletes before the cursor,
// 21 next keyboard mode, 23 accented variants, 39/40/58/59 cursor home, end,
// left and right; arrows and OK work the keyboard.
#pragma once

#include <cstdint>

#include "runtime/slot.h"
#include "runtime/string.h"
#include "units/Button/Button.h"
#include "units/Button/TextEdit.h"
#include "units/Core/Timer.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/Views/Image.h"
#include "units/Views/Line.h"
#include "units/Views/Text.h"

namespace NonMenuSystem {

// Keyboard modes; KEYBOARD_LATIN is added to a letter mode for its variants.
inline constexpr uint8_t KEYBOARD_UPPER = 1;
inline constexpr uint8_t KEYBOARD_LOWER = 2;
inline constexpr uint8_t KEYBOARD_DIGITS = 4;
inline constexpr uint8_t KEYBOARD_SYMBOLS = 8;
inline constexpr uint8_t KEYBOARD_LATIN = 16;

class KeyPadButton : public SkinBin::Button {
  KV_CLASS(NonMenuSystem, KeyPadButton, SkinBin::Button)
 public:
  KeyPadButton();
  int32_t Index = 0;
};

class KeyPadModeButton : public ::Button::IconButton {
  KV_CLASS(NonMenuSystem, KeyPadModeButton, ::Button::IconButton)
 public:
  KeyPadModeButton();
  // The icon fills the button.
  void Refresh() override;
};

class KeyPadEditButton : public ::Button::TextEdit {
  KV_CLASS(NonMenuSystem, KeyPadEditButton, ::Button::TextEdit)
 public:
  KeyPadEditButton();

  kv::Object* HandleEvent(Core::Event* event) override;
  // Stores the cursor, leaves Latin mode (OnExitLatinMode), places the
  // cursor line and reports the overflow (OnRefreshArrows).
  void OnSetCursorPos(int32_t pos) override;
  void OnSetTextString(const kv::String& text) override;
  // Hides the cursor and shows the replaced character highlighted, or back.
  void OnSetIsLatinMode(bool on);
  bool OnGetIsLatinMode() const { return IsLatinMode; }
  // The blink: the cursor line, or in Latin mode the highlight.
  void CursorSlot(kv::Object* sender = nullptr);
  // Cursor line, highlight and overflow flags from the text and cursor. The
  // line is the field's own, drawn between its face and its letters; the
  // highlight is the field's own letter drawn in the highlight colour.
  void Refresh() override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;
  // Inserts `part` at the cursor, or replaces the character before it.
  void Insert(const kv::String& part);
  void ReplaceBeforeCursor(const kv::String& part);

  bool OverflowsLeft() const { return overflowLeft_; }
  bool OverflowsRight() const { return overflowRight_; }
  Views::Line& CursorLine() { return cursor_; }
  // Whether the letter before the cursor shows highlighted now (Latin
  // mode, between blinks).
  bool HighlightShown() const { return IsLatinMode && highlightOn_; }
  // The 600 ms blink; it runs while the key pad is open.
  Core::Timer& Blink() { return blink_; }

  bool IsLatinMode = false;
  kv::Slot OnRefreshArrows;
  kv::Slot OnExitLatinMode;

 private:
  // After a change of text or cursor: refresh and report the arrows.
  void Changed();
  // Draws the letter before the cursor in the highlight colour while the
  // highlight is on, else the whole text plain.
  void ShowHighlight();

  Views::Line cursor_;
  bool highlightOn_ = false;
  Core::Timer blink_;
  bool overflowLeft_ = false;
  bool overflowRight_ = false;
};

class KeyboardForm : public Primitives::KeyRoutingForm {
  KV_CLASS(NonMenuSystem, KeyboardForm, Primitives::KeyRoutingForm)
 public:
  KeyboardForm();

  // Keys in reading order, 7 a row, 28 pixels apart.
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;

  void OnSetKeyboardMode(uint8_t mode);
  uint8_t OnGetKeyboardMode() const { return KeyboardMode; }
  // Replaces the keys by those of the mode and focuses the current key.
  void LoadKeyboard();
  kv::String GetItemLabel(int32_t index) const;
  // Shows or leaves the accented variants; false when neither applies.
  bool SwitchLatinMode();
  // Moves the focus with an arrow key, wrapping within the row or column.
  void SelectWrap(uint16_t key);
  // A key's activation: types its label into the key pad's field.
  void DoActivate(kv::Object* sender);
  void RemoveAllButtons();
  const kv::Slot& OnGetFocusMove() const { return FocusMove; }
  void OnSetFocusMove(const kv::Slot& slot) { FocusMove = slot; }

  // The number of keys of a mode (with the accented bit: the current letter's variants).
  int32_t KeyCount() const;
  // The accented variants of the letter at that position (0 when none).
  static int32_t VariantCount(int32_t letter);

  uint8_t KeyboardMode = KEYBOARD_UPPER;
  int32_t CurrentIndex = 0;
  bool KeyTyped = false;
  kv::Slot FocusMove;
};

class KeyPad : public BorderWidgetClass {
  KV_CLASS(NonMenuSystem, KeyPad, BorderWidgetClass)
 public:
  static constexpr int32_t kDefaultMaxLabelLength = 100;
  static constexpr int32_t kWidth = 240;
  static constexpr int32_t kHeight = 216;

  KeyPad();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  // Closes and leaves the message agent.
  void Close() override;

  // MSG_LABEL_CHANGE to every receiver, with the text or without.
  void NotifyLabelChanged(bool withText);
  // The next keyboard mode (1, 2, 4, 8, 1, ...).
  void SwitchKeyboardMode();
  // The help bar: cursor, input, enter, delete, mode, [accents,] done.
  void UpdateHelp(bool withLatin);
  // The edit field's slots.
  void RefreshArrows(kv::Object* sender = nullptr);
  void ExitLatinMode(kv::Object* sender = nullptr);

  int32_t OnGetMaxLabelLength() const { return MaxLabelLength; }
  void OnSetMaxLabelLength(int32_t length);
  kv::String OnGetLabelString() const { return edit_.OnGetTextString(); }
  void OnSetLabelString(const kv::String& text) { edit_.OnSetTextString(text); }
  int32_t OnGetCursorPos() { return edit_.OnGetCursorPos(); }
  void OnSetCursorPos(int32_t pos) { edit_.OnSetCursorPos(pos); }
  uint8_t OnGetKeyboardMode() const { return KeyboardMode; }
  void OnSetKeyboardMode(uint8_t mode);
  bool OnGetIsLatinMode() const { return IsLatinMode; }
  void OnSetIsLatinMode(bool on);

  KeyPadEditButton& EditField() { return edit_; }
  KeyboardForm& Keyboard() { return keyboard_; }
  KeyPadModeButton& ModeButton(int i) { return i == 0 ? upper_ : i == 1 ? lower_ : i == 2 ? digits_ : symbols_; }
  Views::Image& LeftArrow() { return leftArrow_; }
  Views::Image& RightArrow() { return rightArrow_; }
  bool LatinAllowed() const { return latinAllowed_; }

  uint8_t KeyboardMode = KEYBOARD_UPPER;
  bool IsLatinMode = false;
  int32_t MaxLabelLength = kDefaultMaxLabelLength;

 private:
  // The mode buttons' icons: plain, and the focus icon on the current mode.
  void ShowModeIcons();
  // After a Latin switch: IsLatinMode from the keyboard, and the help.
  void LatinSwitched();

  KeyPadModeButton upper_;
  KeyPadModeButton lower_;
  KeyPadModeButton digits_;
  KeyPadModeButton symbols_;
  KeyPadEditButton edit_;
  KeyboardForm keyboard_;
  Views::Image leftArrow_;
  Views::Image rightArrow_;
  bool latinAllowed_ = true;
};

}  // namespace NonMenuSystem
