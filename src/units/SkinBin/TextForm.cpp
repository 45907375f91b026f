#include "units/SkinBin/TextForm.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "units/Core/Event.h"
#include "units/Core/SeenTexts.h"

namespace SkinBin {

using namespace keys;

KV_REGISTER_CLASS(SkinBin::TextForm);

TextForm::TextForm() {
  text_.OnSetAutoSize(true);
  // The text is taller than the form and scrolls in it line by line.
  Core::MarkScrollsInField(&text_, true);
}

TextForm::~TextForm() { Core::MarkScrollsInField(&text_, false); }

int32_t TextForm::MaxScroll() const { return std::max(0, text_.Bounds().H() - Bounds().H()); }

void TextForm::Relayout() {
  text_.OnSetBounds({0, 0, std::max(1, Bounds().W()), std::max(1, Bounds().H())});
  scroll_ = std::min(scroll_, MaxScroll());
  InvalidateView();
  kv::Signal(OnScrollNotice, this);
}

void TextForm::OnSetString(const kv::String& text) {
  text_.OnSetString(text);
  scroll_ = 0;
  Relayout();
}

void TextForm::OnSetFont(Resources::Font* font) {
  text_.OnSetFont(font);
  Relayout();
}

void TextForm::OnSetColor(kv::Color color) {
  text_.OnSetColor(color);
  InvalidateView();
}

void TextForm::OnSetBounds(kv::Rect bounds) {
  Ctrl::OnSetBounds(bounds);
  Relayout();
}

kv::Object* TextForm::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && (key->Code == KEY_UP || key->Code == KEY_DOWN)) {
    const int32_t next = std::clamp(scroll_ + (key->Code == KEY_DOWN ? kLineStep : -kLineStep), 0, MaxScroll());
    if (next == scroll_) return Ctrl::HandleEvent(event);  // at the end: the owner moves on
    scroll_ = next;
    InvalidateView();
    kv::Signal(OnScrollNotice, this);
    return this;
  }
  return Ctrl::HandleEvent(event);
}

void TextForm::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  const kv::Rect box = Bounds().MoveTo(origin).Intersect(clip);
  if (box.IsEmpty()) return;
  text_.Draw(target, box, {origin.x, origin.y - scroll_}, opacity);
}

}  // namespace SkinBin
