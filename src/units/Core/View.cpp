#include "units/Core/View.h"

#include "units/Core/Group.h"
#include "units/Core/Root.h"

namespace Core {

KV_REGISTER_CLASS(Core::View);

namespace {

// The view's area on the screen and the root it is on, found in one walk up
// its owners: empty (and no root) when it or an owner is hidden or it is on
// no root.
kv::Rect AreaOnRoot(const View& view, Root** root) {
  if (!view.IsVisible()) return {};
  kv::Rect r = view.Bounds();
  const View* top = &view;
  for (const Group* o = view.Owner(); o; o = o->Owner()) {
    if (!o->IsVisible()) return {};
    r = r.Intersect({0, 0, o->Bounds().W(), o->Bounds().H()}).Move(o->Bounds().Origin());
    top = o;
  }
  Root* const on = kv::Cast<Root>(const_cast<View*>(top));
  if (!on || r.IsEmpty()) return {};
  if (root) *root = on;
  return r;
}

}  // namespace

void View::OnSetBounds(kv::Rect bounds) {
  if (bounds == bounds_) return;
  Root* root = nullptr;
  const kv::Rect old = AreaOnRoot(*this, &root);
  bounds_ = bounds;
  if (!old.IsEmpty()) root->AddDirty(old);
  InvalidateView();
}

void View::OnSetVisible(bool visible) {
  if (visible == visible_) return;
  if (!visible) {
    const kv::Rect old = ScreenArea();
    visible_ = false;
    InvalidateScreen(old);
    if (Group* owner = owner_.get()) owner->MoveFocusFrom(this);
  } else {
    visible_ = true;
    InvalidateView();
  }
}

Group* View::Owner() const { return owner_.get(); }

Root* View::GetRoot() const {
  const View* top = this;
  while (top->owner_) top = top->owner_.get();
  return kv::Cast<Root>(const_cast<View*>(top));
}

kv::Rect View::GetAbsoluteBounds() const {
  kv::Rect r = bounds_;
  for (const Group* o = owner_.get(); o; o = o->Owner()) r = r.Move(o->bounds_.Origin());
  return r;
}

bool View::IsFocused() const { return owner_ && owner_->OnGetFocus() == this; }

void View::HandleFocus(bool /*focused*/) {}

kv::Object* View::HandleEvent(Event* /*event*/) { return nullptr; }

void View::InvalidateView() {
  Root* root = nullptr;
  const kv::Rect area = AreaOnRoot(*this, &root);
  if (!area.IsEmpty()) root->AddDirty(area);
}

void View::InvalidateArea(const kv::Rect& area) {
  const kv::Rect visible = ScreenArea();
  if (visible.IsEmpty()) return;
  InvalidateScreen(area.Move(GetAbsoluteBounds().Origin()).Intersect(visible));
}

void View::CollectOpaque(const kv::Rect&, kv::Point, OpaqueCover&) const {}

void View::Draw(const ge::Surface& /*target*/, const kv::Rect& /*clip*/, kv::Point /*origin*/, int32_t /*opacity*/) {}

kv::Rect View::ScreenArea() const { return AreaOnRoot(*this, nullptr); }

void View::InvalidateScreen(const kv::Rect& screen) const {
  if (screen.IsEmpty()) return;
  if (Root* root = GetRoot()) root->AddDirty(screen);
}

}  // namespace Core
