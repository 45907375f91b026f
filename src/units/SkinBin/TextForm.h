// SkinBin::TextForm: a text box that wraps its text and scrolls it with up
// and down (keys 4 and 5), or rewind and fast forward (58 and 59, the keys
// the guides and the recorded list hand it), one line at a time when it is
// taller than the box.
// It shows whole lines only: a scroll moves by the line pitch, and the box
// draws as many whole lines as its height holds, so no line shows a part of
// its letters at the top or the bottom edge.
// Its scroll notice, OnScrollNotice (sender: the form), is signalled whenever
// what can be scrolled changes (new text, font or size, or a scroll), so
// that its owner shows or hides the scroll arrows (CanScrollUp/Down).
#pragma once

#include "runtime/slot.h"
#include "units/Forms/Ctrl.h"
#include "units/Views/MultilineText.h"

namespace SkinBin {

class TextForm : public Forms::Ctrl {
  KV_CLASS(SkinBin, TextForm, Forms::Ctrl)
 public:
  TextForm();
  ~TextForm() override;

  void OnSetString(const kv::String& text);
  const kv::String& OnGetString() const { return text_.OnGetString(); }
  void OnSetFont(Resources::Font* font);
  void OnSetColor(kv::Color color);
  void OnSetBounds(kv::Rect bounds) override;

  bool CanScrollUp() const { return scroll_ > 0; }
  bool CanScrollDown() const { return scroll_ < MaxScroll(); }
  int32_t GetScroll() const { return scroll_; }
  // The largest scroll offset (0 when the text fits).
  int32_t MaxScroll() const;

  kv::Object* HandleEvent(Core::Event* event) override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

  kv::Slot OnScrollNotice;

 private:
  void Relayout();

  Views::MultilineText text_;
  int32_t scroll_ = 0;      // a whole number of lines
  int32_t pitch_ = 1;       // from one line's top to the next
  int32_t lines_ = 0;       // of the whole text
  int32_t shownLines_ = 1;  // whole lines the box holds
  int32_t shownHeight_ = 0; // their height: the part of the box drawn
};

}  // namespace SkinBin
