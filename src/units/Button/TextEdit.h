// Button::TextEdit: a one-line text field typed with the remote's digit keys.
//
// Keys (key-down only; every other event goes on to the key-routing control):
//  - EraseKey, when EnableEraseKey is set: with EditModeEnabled it removes
//    the character before the cursor (the last one while the cursor is at
//    the end); without, the key goes on to the key-routing control;
//  - a digit key (10 to 19) inserts its digit at the cursor;
//  - the dash key (44) inserts DotString when SupportDot is set, the text is
//    not empty, shorter than MaxLength and holds no DotString yet.
// Each new text passes through the virtual HandleNumber, whose base keeps it
// while it has at most MaxLength characters (MaxLength + 1 when it holds
// DotString) and otherwise keeps only its last character; then
// OnTextChanged is signalled.
//
// Cursor: a position 0..length in TextString. It stays at the end while it
// is there (setting a text puts it at the new end), otherwise it keeps its
// place when the text changes. While EditModeEnabled, CursorString is shown
// at the cursor. The text is drawn between the left and right margins; when
// the text before the cursor is wider than that, it is shifted left
// (TextShift) so that the cursor stays at the right margin.
#pragma once

#include <cstdint>

#include "runtime/slot.h"
#include "runtime/string.h"
#include "units/Button/Button.h"

namespace Button {

class TextEdit : public Button {
  KV_CLASS(Button, TextEdit, Button)
 public:

  TextEdit();
  ~TextEdit() override;

  virtual void OnSetTextString(const kv::String& text);
  const kv::String& OnGetTextString() const { return textString_; }
  // The caption of a text field is its text.
  void OnSetText(const kv::String& text) override { OnSetTextString(text); }
  // Empties the text (no signal).
  void ClearText();

  void OnSetMaxLength(int32_t length);
  int32_t OnGetMaxLength() { return maxLength_; }
  void OnSetSupportDot(bool on) { supportDot_ = on; }
  bool OnGetSupportDot() { return supportDot_; }
  void OnSetDotString(const kv::String& dot) { dotString_ = dot; }
  const kv::String& OnGetDotString() const { return dotString_; }
  void OnSetCursorString(const kv::String& cursor);
  const kv::String& OnGetCursorString() const { return cursorString_; }
  void OnSetEditModeEnabled(bool on);
  bool OnGetEditModeEnabled() { return editModeEnabled_; }
  void OnSetEnableEraseKey(bool on) { enableEraseKey_ = on; }
  bool OnGetEnableEraseKey() { return enableEraseKey_; }
  void OnSetEraseKey(uint16_t key) { eraseKey_ = key; }
  uint16_t OnGetEraseKey() { return eraseKey_; }

  // The cursor, 0..length; other positions are logged and clamped.
  virtual void OnSetCursorPos(int32_t pos);
  int32_t OnGetCursorPos() { return cursorPos_; }
  // Inserts `part` at the cursor and moves the cursor after it (no
  // HandleNumber, no signal: the caller decides).
  void InsertAtCursor(const kv::String& part);
  // Removes the character before the cursor and moves the cursor back; nothing at 0.
  void DeleteBeforeCursor();

  // Margins of the text inside the field, in pixels (negative: logged, 0).
  void OnSetLeftMargin(int32_t margin);
  int32_t OnGetLeftMargin() { return leftMargin_; }
  void OnSetRightMargin(int32_t margin);
  int32_t OnGetRightMargin() { return rightMargin_; }
  // How far the text is shifted left to keep the cursor in view.
  int32_t OnGetTextShift() { return textShift_; }
  // The cursor's x relative to the field: where the text before it ends.
  int32_t GetCursorX() const { return cursorX_; }

  // The rule applied to every typed text (see above); derived fields normalise.
  virtual kv::String HandleNumber(const kv::String& text);

  kv::Object* HandleEvent(Core::Event* event) override;
  void RefreshCtrlState(int32_t state) override;

  // Signalled (sender: the field) after every typed change.
  kv::Slot OnTextChanged;

 protected:
  // Replaces text and cursor and redraws (no HandleNumber, no signal).
  void SetTextAndCursor(const kv::String& text, int32_t cursor);
  // A text made by a key: HandleNumber, then the cursor (at `cursor` when
  // HandleNumber kept the text, else at the end), then OnTextChanged.
  void ApplyTypedText(const kv::String& typed, int32_t cursor);
  bool HoldsDot(const kv::String& text) const;
  kv::Rect GetTextClip() override;

 private:
  // The caption shown (text and cursor string), the text's place and the shift.
  void LayoutText();

  kv::String textString_;
  kv::String dotString_;
  kv::String cursorString_;
  int32_t maxLength_ = 0;
  int32_t cursorPos_ = 0;
  int32_t leftMargin_ = 0;
  int32_t rightMargin_ = 0;
  int32_t textShift_ = 0;
  int32_t cursorX_ = 0;
  uint16_t eraseKey_ = 0;
  bool supportDot_ = false;
  bool editModeEnabled_ = false;
  bool enableEraseKey_ = false;
};

}  // namespace Button
