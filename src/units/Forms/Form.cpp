#include "units/Forms/Form.h"

#include <cstdlib>

#include "runtime/panic.h"
#include "units/Core/Log.h"
#include "units/Core/Root.h"

namespace Forms {

KV_REGISTER_CLASS(Forms::Form);

namespace {
Ctrl* Selectable(Core::View* v) {
  Ctrl* c = kv::Cast<Ctrl>(v);
  return (c && c->CanFocus()) ? c : nullptr;
}
}  // namespace

void Form::CheckOwn(const Ctrl* ctrl) const {
  if (!ctrl || ctrl->Owner() != this) kv::Panic("The control does not belong to the form");
}

// The first selectable control from `index` on, moving by `step`.
Ctrl* Form::FindFrom(int32_t index, int32_t step) {
  for (int32_t i = index; i >= 0 && i < GetChildCount(); i += step)
    if (Ctrl* c = Selectable(GetChild(i))) return c;
  return nullptr;
}

Ctrl* Form::GetFirstCtrl() { return FindFrom(0, 1); }
Ctrl* Form::GetLastCtrl() { return FindFrom(GetChildCount() - 1, -1); }

Ctrl* Form::GetNextCtrl(Ctrl* ctrl) {
  CheckOwn(ctrl);
  return FindFrom(GetChildIndex(ctrl) + 1, 1);
}

Ctrl* Form::GetPrevCtrl(Ctrl* ctrl) {
  CheckOwn(ctrl);
  return FindFrom(GetChildIndex(ctrl) - 1, -1);
}

Ctrl* Form::GetCtrlAt(int32_t index) {
  if (index < 0) return nullptr;
  for (int32_t i = 0; i < GetChildCount(); ++i) {
    if (Ctrl* c = kv::Cast<Ctrl>(GetChild(i))) {
      if (index == 0) return c;
      --index;
    }
  }
  return nullptr;
}

int32_t Form::GetIndexOf(Ctrl* ctrl) {
  if (!ctrl || ctrl->Owner() != this) return -1;
  int32_t n = 0;
  for (int32_t i = 0; i < GetChildCount(); ++i) {
    Core::View* v = GetChild(i);
    if (v == ctrl) return n;
    if (kv::Cast<Ctrl>(v)) ++n;
  }
  return -1;
}

int32_t Form::GetCount() {
  int32_t n = 0;
  for (int32_t i = 0; i < GetChildCount(); ++i)
    if (kv::Cast<Ctrl>(GetChild(i))) ++n;
  return n;
}

Ctrl* Form::Focus(Ctrl* ctrl) {
  if (!ctrl) return nullptr;
  OnSetFocus(ctrl);
  return OnGetFocus() == ctrl ? ctrl : nullptr;
}

Ctrl* Form::SelectNext() {
  Core::View* f = OnGetFocus();
  return Focus(f ? FindFrom(GetChildIndex(f) + 1, 1) : GetFirstCtrl());
}

Ctrl* Form::SelectPrev() {
  Core::View* f = OnGetFocus();
  return Focus(f ? FindFrom(GetChildIndex(f) - 1, -1) : GetLastCtrl());
}

Ctrl* Form::SelectFirst() { return Focus(GetFirstCtrl()); }
Ctrl* Form::SelectLast() { return Focus(GetLastCtrl()); }

Ctrl* Form::FindNearest(const Core::View* from, Direction dir) {
  const kv::Rect s = from->Bounds();
  Ctrl* best = nullptr;
  int64_t bestEdge = 0, bestCross = 0;
  for (int32_t i = 0; i < GetChildCount(); ++i) {
    Core::View* v = GetChild(i);
    if (v == from) continue;
    Ctrl* c = Selectable(v);
    if (!c) continue;
    const kv::Rect r = c->Bounds();
    int64_t edge = 0, cross = 0;
    // Centres are compared doubled, to stay in integers.
    const int64_t dx = std::llabs(int64_t{r.x1} + r.x2 - s.x1 - s.x2);
    const int64_t dy = std::llabs(int64_t{r.y1} + r.y2 - s.y1 - s.y2);
    switch (dir) {
      case Direction::kUp:
        if (r.y2 > s.y1) continue;
        edge = int64_t{s.y1} - r.y2;
        cross = dx;
        break;
      case Direction::kDown:
        if (r.y1 < s.y2) continue;
        edge = int64_t{r.y1} - s.y2;
        cross = dx;
        break;
      case Direction::kLeft:
        if (r.x2 > s.x1) continue;
        edge = int64_t{s.x1} - r.x2;
        cross = dy;
        break;
      case Direction::kRight:
        if (r.x1 < s.x2) continue;
        edge = int64_t{r.x1} - s.x2;
        cross = dy;
        break;
    }
    if (!best || edge < bestEdge || (edge == bestEdge && cross < bestCross)) {
      best = c;
      bestEdge = edge;
      bestCross = cross;
    }
  }
  return best;
}

Ctrl* Form::GetUpperCtrl(Ctrl* ctrl) {
  CheckOwn(ctrl);
  return FindNearest(ctrl, Direction::kUp);
}
Ctrl* Form::GetLowerCtrl(Ctrl* ctrl) {
  CheckOwn(ctrl);
  return FindNearest(ctrl, Direction::kDown);
}
Ctrl* Form::GetLeftCtrl(Ctrl* ctrl) {
  CheckOwn(ctrl);
  return FindNearest(ctrl, Direction::kLeft);
}
Ctrl* Form::GetRightCtrl(Ctrl* ctrl) {
  CheckOwn(ctrl);
  return FindNearest(ctrl, Direction::kRight);
}

Ctrl* Form::SelectToward(Direction dir) {
  Core::View* f = OnGetFocus();
  return f ? Focus(FindNearest(f, dir)) : nullptr;
}

Ctrl* Form::SelectUpper() { return SelectToward(Direction::kUp); }
Ctrl* Form::SelectLower() { return SelectToward(Direction::kDown); }
Ctrl* Form::SelectLeft() { return SelectToward(Direction::kLeft); }
Ctrl* Form::SelectRight() { return SelectToward(Direction::kRight); }

void Form::BeginModal() {
  Core::Root* root = GetRoot();
  if (!root) {
    Core::LogError("Forms::Form::BeginModal: %* is not on screen", {static_cast<const kv::Object*>(this)});
    return;
  }
  if (modalRoot_ && modalRoot_.get() != root) modalRoot_->EndModal(this);
  modalRoot_ = root;
  root->BeginModal(this);
}

void Form::EndModal() {
  if (!modalRoot_) {
    Core::LogError("Forms::Form::EndModal: %* is not modal", {static_cast<const kv::Object*>(this)});
    return;
  }
  modalRoot_->EndModal(this);
  modalRoot_ = nullptr;
}

bool Form::IsModal() { return modalRoot_ && modalRoot_->IsModal(this); }

}  // namespace Forms
