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

int32_t TextForm::MaxScroll() const { return std::max(0, lines_ - shownLines_) * pitch_; }

void TextForm::Relayout() {
  text_.OnSetBounds({0, 0, std::max(1, Bounds().W()), std::max(1, Bounds().H())});
  const ge::TextLayout layout = text_.GetLayout();
  pitch_ = std::max(1, layout.LinePitch());
  lines_ = static_cast<int32_t>(layout.lines.size());
  // n lines take n pitches less the leading after the last one.
  shownLines_ = std::max(1, (Bounds().H() + layout.leading) / pitch_);
  shownHeight_ = std::min(Bounds().H(), shownLines_ * pitch_ - layout.leading);
  scroll_ = std::min(scroll_ / pitch_ * pitch_, MaxScroll());
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
  const bool up = key && (key->Code == KEY_UP || key->Code == KEY_REWIND);
  const bool down = key && (key->Code == KEY_DOWN || key->Code == KEY_FORWARD);
  if (key && key->Down && (up || down)) {
    const int32_t next = std::clamp(scroll_ + (down ? pitch_ : -pitch_), 0, MaxScroll());
    if (next == scroll_) return Ctrl::HandleEvent(event);  // at the end: the owner moves on
    scroll_ = next;
    InvalidateView();
    kv::Signal(OnScrollNotice, this);
    return this;
  }
  return Ctrl::HandleEvent(event);
}

void TextForm::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  kv::Rect box = Bounds().MoveTo(origin);
  box.y2 = box.y1 + shownHeight_;
  box = box.Intersect(clip);
  if (box.IsEmpty()) return;
  text_.Draw(target, box, {origin.x, origin.y - scroll_}, opacity);
}

}  // namespace SkinBin
