#include "units/Primitives/KeyRoutingScrollForm.h"

#include "units/Forms/Ctrl.h"

namespace Primitives {

KV_REGISTER_CLASS(Primitives::KeyRoutingScrollForm);

void KeyRoutingScrollForm::OnSetAutoScroll(bool on) {
  AutoScroll = on;
  if (on) ScrollFocusIntoView();
}

void KeyRoutingScrollForm::OnSetFocus(Core::View* view) {
  KeyRoutingForm::OnSetFocus(view);
  if (AutoScroll) ScrollFocusIntoView();
}

bool KeyRoutingScrollForm::IsExcluded(Core::View* view) { return !kv::Cast<Forms::Ctrl>(view); }

kv::Rect KeyRoutingScrollForm::GetPageArea() { return {0, 0, Bounds().W(), Bounds().H()}; }

// The shift along one axis that brings [lo, hi) inside [pageLo, pageHi); a
// span longer than the page is aligned to the page's start.
static int32_t ShiftInto(int32_t lo, int32_t hi, int32_t pageLo, int32_t pageHi) {
  if (lo < pageLo || hi - lo > pageHi - pageLo) return pageLo - lo;
  if (hi > pageHi) return pageHi - hi;
  return 0;
}

void KeyRoutingScrollForm::ScrollFocusIntoView() {
  Core::View* focus = OnGetFocus();
  if (!focus) return;
  const kv::Rect page = GetPageArea();
  const kv::Rect b = focus->Bounds();
  const int32_t dx = ShiftInto(b.x1, b.x2, page.x1, page.x2);
  const int32_t dy = ShiftInto(b.y1, b.y2, page.y1, page.y2);
  if (dx != 0 || dy != 0) DoScrollContent(dx, dy);
}

void KeyRoutingScrollForm::DoScrollContent(int32_t dx, int32_t dy) {
  if (dx == 0 && dy == 0) return;
  for (int32_t i = 0; i < GetChildCount(); ++i) {
    Core::View* child = GetChild(i);
    if (child && !IsExcluded(child)) child->OnSetBounds(child->Bounds().Move({dx, dy}));
  }
}

}  // namespace Primitives
