#include "units/Button/TextSpinner.h"

#include "keys/keycodes.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/Views/Align.h"

namespace Button {

using namespace keys;

KV_REGISTER_CLASS(TextSpinner);

TextSpinner::TextSpinner() { OnSetTextAlignH(Views::ALIGN_CENTER); }

void TextSpinner::AddText(const kv::String& text) {
  texts_.push_back(text);
  if (texts_.size() == 1) OnSetText(text);
}

void TextSpinner::ClearTexts() {
  texts_.clear();
  current_ = 0;
  OnSetText(kv::String());
}

kv::String TextSpinner::GetTextAt(int32_t index) const {
  if (index < 0 || index >= GetTextCount()) return {};
  return texts_[static_cast<size_t>(index)];
}

void TextSpinner::OnSetCurrent(int32_t index) {
  if (index < 0 || index >= GetTextCount()) {
    Core::LogError("Button::TextSpinner: index %i outside the %i texts", {index, GetTextCount()});
    return;
  }
  current_ = index;
  OnSetText(texts_[static_cast<size_t>(index)]);
}

kv::Object* TextSpinner::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && key->Code != KEY_NONE && (key->Code == increaseKey_ || key->Code == decreaseKey_)) {
    const int32_t n = GetTextCount();
    if (n > 0) {
      const int32_t step = key->Code == increaseKey_ ? 1 : n - 1;
      OnSetCurrent((current_ + step) % n);
      kv::Signal(OnValueChange, this);
    }
    return this;
  }
  return Button::HandleEvent(event);
}

}  // namespace Button
