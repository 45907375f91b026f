#include "units/Button/TextEdit.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "units/Core/Event.h"
#include "units/Core/SeenTexts.h"
#include "units/Core/Log.h"
#include "units/Resources/Font.h"
#include "units/Views/Align.h"

namespace Button {

using namespace keys;

KV_REGISTER_CLASS(TextEdit);

// The text scrolls inside the field to keep the cursor in view.
TextEdit::TextEdit() { Core::MarkScrollsInField(&TextView(), true); }
TextEdit::~TextEdit() { Core::MarkScrollsInField(&TextView(), false); }

void TextEdit::OnSetTextString(const kv::String& text) {
  // A cursor at the end stays at the end; elsewhere it keeps its place.
  const int32_t cursor = cursorPos_ == textString_.Length() ? text.Length() : cursorPos_;
  SetTextAndCursor(text, cursor);
}

void TextEdit::ClearText() { SetTextAndCursor(kv::String(), 0); }

void TextEdit::OnSetMaxLength(int32_t length) {
  if (length < 0) {
    Core::LogError("Button::TextEdit: negative maximum length %i counts as 0", {length});
    length = 0;
  }
  maxLength_ = length;
}

void TextEdit::OnSetCursorString(const kv::String& cursor) {
  cursorString_ = cursor;
  LayoutText();
}

void TextEdit::OnSetEditModeEnabled(bool on) {
  editModeEnabled_ = on;
  LayoutText();
}

void TextEdit::OnSetCursorPos(int32_t pos) {
  if (pos < 0 || pos > textString_.Length()) {
    Core::LogError("Button::TextEdit: cursor %i outside 0..%i", {pos, textString_.Length()});
    pos = std::clamp(pos, 0, textString_.Length());
  }
  cursorPos_ = pos;
  LayoutText();
}

void TextEdit::InsertAtCursor(const kv::String& part) {
  SetTextAndCursor(kv::StringInsert(textString_, part, cursorPos_), cursorPos_ + part.Length());
}

void TextEdit::DeleteBeforeCursor() {
  if (cursorPos_ <= 0) return;
  SetTextAndCursor(kv::StringRemove(textString_, cursorPos_ - 1, 1), cursorPos_ - 1);
}

void TextEdit::OnSetLeftMargin(int32_t margin) {
  if (margin < 0) {
    Core::LogError("Button::TextEdit: negative margin %i counts as 0", {margin});
    margin = 0;
  }
  leftMargin_ = margin;
  LayoutText();
}

void TextEdit::OnSetRightMargin(int32_t margin) {
  if (margin < 0) {
    Core::LogError("Button::TextEdit: negative margin %i counts as 0", {margin});
    margin = 0;
  }
  rightMargin_ = margin;
  LayoutText();
}

bool TextEdit::HoldsDot(const kv::String& text) const {
  return !dotString_.Empty() && kv::StringFind(text, dotString_, 0) >= 0;
}

kv::String TextEdit::HandleNumber(const kv::String& text) {
  const int32_t limit = maxLength_ + (HoldsDot(text) ? 1 : 0);
  if (text.Length() <= limit) return text;
  return kv::StringRight(text, 1);
}

kv::Object* TextEdit::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return Button::HandleEvent(event);
  const uint16_t code = key->Code;
  if (enableEraseKey_ && code != KEY_NONE && code == eraseKey_) {
    if (!editModeEnabled_) return Button::HandleEvent(event);
    if (cursorPos_ > 0) ApplyTypedText(kv::StringRemove(textString_, cursorPos_ - 1, 1), cursorPos_ - 1);
    return this;
  }
  if (IsDigitKey(code)) {
    const kv::String digit = kv::NewStringChar(Core::KeyCodeToChar(code), 1);
    ApplyTypedText(kv::StringInsert(textString_, digit, cursorPos_), cursorPos_ + 1);
    return this;
  }
  if (code == KEY_DASH) {
    if (supportDot_ && !textString_.Empty() && textString_.Length() < maxLength_ && !HoldsDot(textString_))
      ApplyTypedText(kv::StringInsert(textString_, dotString_, cursorPos_), cursorPos_ + dotString_.Length());
    return this;
  }
  return Button::HandleEvent(event);
}

void TextEdit::ApplyTypedText(const kv::String& typed, int32_t cursor) {
  const kv::String kept = HandleNumber(typed);
  SetTextAndCursor(kept, kept == typed ? cursor : kept.Length());
  kv::Signal(OnTextChanged, this);
}

void TextEdit::SetTextAndCursor(const kv::String& text, int32_t cursor) {
  textString_ = text;
  cursorPos_ = std::clamp(cursor, 0, text.Length());
  LayoutText();
}

void TextEdit::RefreshCtrlState(int32_t state) {
  Button::RefreshCtrlState(state);
  LayoutText();  // the state's font measures differently
}

kv::Rect TextEdit::GetTextClip() {
  const int32_t w = Bounds().W();
  const int32_t right = std::max(leftMargin_, w - rightMargin_);
  return {leftMargin_, 0, right, Bounds().H()};
}

void TextEdit::LayoutText() {
  const bool showCursor = editModeEnabled_ && !cursorString_.Empty();
  const kv::String shown = showCursor ? kv::StringInsert(textString_, cursorString_, cursorPos_) : textString_;
  ButtonClass::OnSetText(shown);

  Views::Text& view = TextView();
  const Resources::Font* font = view.EffectiveFont();
  const kv::Rect face = GetTextClip();
  const int32_t room = face.W();
  const int32_t beforeCursor = cursorPos_ + (showCursor ? cursorString_.Length() : 0);
  const int32_t cursorWidth = font->GetTextWidth(shown, 0, beforeCursor);
  const int32_t textWidth = font->GetTextWidth(shown);
  textShift_ = std::max(0, cursorWidth - room);
  cursorX_ = face.x1 + cursorWidth - textShift_;
  const int32_t h = Bounds().H();
  if (textShift_ == 0 && textWidth <= room) {
    view.OnSetAlignH(OnGetTextAlignH());
    view.OnSetBounds({face.x1, 0, face.x2, h});
  } else {
    // Wider than the room: laid out at its full width from the shifted start
    // and clipped to the margins when drawn.
    view.OnSetAlignH(Views::ALIGN_LEFT);
    view.OnSetBounds({face.x1 - textShift_, 0, face.x1 - textShift_ + std::max(textWidth, 1), h});
  }
  InvalidateView();
}

}  // namespace Button
