#include "units/Core/Group.h"

#include <algorithm>
#include <optional>

#include "runtime/panic.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/Core/SeenTexts.h"

namespace Core {

KV_REGISTER_CLASS(Core::Group);

View* Group::GetChild(int32_t index) const {
  if (index < 0 || index >= GetChildCount()) return nullptr;
  return children_[static_cast<size_t>(index)];
}

void Group::Insert(View* view, int32_t index) {
  children_.insert(static_cast<size_t>(index), view);
  view->owner_ = this;
  view->InvalidateView();
}

// Checks a view about to be added: not null, not yet owned, not this group
// or one of its owners.
static bool CheckNewChild(Group* group, View* view, const char* op) {
  if (!view) {
    LogError("Core::Group::%s: null view refused", {op});
    return false;
  }
  if (view->Owner()) kv::Panic("The view already belongs to a group");
  for (const View* g = group; g; g = g->Owner()) {
    if (g == view) {
      LogError("Core::Group::%s: %* cannot contain itself", {op, static_cast<const kv::Object*>(view)});
      return false;
    }
  }
  return true;
}

void Group::Add(View* view, int32_t order) {
  if (!CheckNewChild(this, view, "Add")) return;
  const int32_t n = GetChildCount();
  Insert(view, order > 0 ? std::max(0, n - order) : n);
}

void Group::AddBehind(View* view, View* sibling) {
  if (!CheckNewChild(this, view, "AddBehind")) return;
  const int32_t i = GetChildIndex(sibling);
  if (i < 0) {
    LogError("Core::Group::AddBehind: %* is not a child; added in front", {static_cast<const kv::Object*>(sibling)});
    Insert(view, GetChildCount());
    return;
  }
  Insert(view, i);
}

void Group::Remove(View* view) {
  if (!view || view->owner_.get() != this) kv::Panic("The view does not belong to the group");
  const kv::Rect area = view->ScreenArea();
  MoveFocusFrom(view);
  children_.Remove(view);
  view->owner_ = nullptr;
  InvalidateScreen(area);
}

void Group::Restack(View* view, int32_t steps) {
  const int32_t i = GetChildIndex(view);
  if (i < 0) {
    LogError("Core::Group::Restack: %* is not a child", {static_cast<const kv::Object*>(view)});
    return;
  }
  const int64_t wanted = static_cast<int64_t>(i) + steps;
  const int32_t to = static_cast<int32_t>(std::clamp<int64_t>(wanted, 0, GetChildCount() - 1));
  if (to == i) return;
  children_.erase(static_cast<size_t>(i));
  children_.insert(static_cast<size_t>(to), view);
  view->InvalidateView();
}

void Group::RestackTop(View* view) { Restack(view, GetChildCount()); }

void Group::OnSetFocus(View* view) {
  if (view == focus_.get()) return;
  if (view) {
    if (view->owner_.get() != this) {
      LogError("Core::Group::OnSetFocus: %* is not a child; focus unchanged", {static_cast<const kv::Object*>(view)});
      return;
    }
    if (!view->CanFocus()) {
      LogError("Core::Group::OnSetFocus: %* cannot take the focus; focus unchanged",
                {static_cast<const kv::Object*>(view)});
      return;
    }
  }
  ChangeFocus(view);
}

void Group::ChangeFocus(View* next) {
  View* old = focus_.get();
  if (old == next) return;
  focus_ = next;
  if (old) old->HandleFocus(false);
  if (next && focus_.get() == next) next->HandleFocus(true);
}

void Group::MoveFocusFrom(View* child) {
  if (!child || focus_.get() != child) return;
  const int32_t i = GetChildIndex(child);
  const int32_t n = GetChildCount();
  View* next = nullptr;
  for (int32_t j = i + 1; j < n && !next; ++j)
    if (GetChild(j)->IsFocusableControl()) next = GetChild(j);
  for (int32_t j = i - 1; j >= 0 && !next; --j)
    if (GetChild(j)->IsFocusableControl()) next = GetChild(j);
  OnSetFocus(next);
}

void Group::OnSetBounds(kv::Rect bounds) { View::OnSetBounds(bounds); }

void Group::SnapshotChain(Group* top, std::vector<View*>& chain, std::vector<Group*>& owners) {
  chain.push_back(top);
  owners.push_back(top->Owner());
  for (Group* g = top; g;) {
    View* v = g->focus_.get();
    if (!v) break;
    chain.push_back(v);
    owners.push_back(g);
    g = kv::Cast<Group>(v);
  }
}

kv::Object* Group::WalkChain(Event* event, const std::vector<View*>& chain, const std::vector<Group*>& owners) {
  for (size_t i = chain.size(); i-- > 0;) {
    View* v = chain[i];
    if (v->Owner() != owners[i]) return v;  // removed before its turn: consumed
    if (kv::Object* answer = v->HandleEvent(event)) return answer;
  }
  return nullptr;
}

kv::Object* Group::DispatchEvent(Event* event) {
  if (!event) {
    LogError("Core::Group::DispatchEvent: null event ignored");
    return nullptr;
  }
  std::vector<View*> chain;
  std::vector<Group*> owners;
  SnapshotChain(this, chain, owners);
  return WalkChain(event, chain, owners);
}

kv::Object* Group::Broadcast(Event* event, int32_t mode) {
  if (!event) {
    LogError("Core::Group::Broadcast: null event ignored");
    return nullptr;
  }
  kv::Object* first = nullptr;
  const std::vector<View*> kids = children_.Snapshot();
  for (size_t i = kids.size(); i-- > 0;) {
    View* v = kids[i];
    if (v->Owner() != this) continue;  // removed by an earlier handler
    kv::Object* answer = v->HandleEvent(event);
    if (!answer) continue;
    if (!first) first = answer;
    if (mode == 0) break;
  }
  return first;
}

void Group::OnSetOpacity(int32_t opacity) {
  if (opacity < 0 || opacity > 255) {
    LogError("Core::Group::OnSetOpacity: %i is out of 0..255; clamped", {opacity});
    opacity = std::clamp(opacity, 0, 255);
  }
  if (opacity == opacity_) return;
  opacity_ = opacity;
  InvalidateView();
}

void Group::OnSetDrawMode(DrawMode mode) {
  if (mode == drawMode_) return;
  drawMode_ = mode;
  if (opacity_ < 255) InvalidateView();
}

#ifdef KV_VERIFY
namespace {
struct CoverChecks {
  bool skip = true;   // off while checked builds draw a pass again without skipping
  int64_t skips = 0;  // draws that skipped children beneath a cover
};
CoverChecks& Checks() {
  static CoverChecks c;
  return c;
}
}  // namespace

int64_t Group::CoverSkips() { return Checks().skips; }
void Group::SetCoverSkips(bool on) { Checks().skip = on; }
#endif

size_t Group::FrontCover(const kv::Rect& clip, kv::Point origin) const {
  for (size_t i = children_.size(); i-- > 1;) {
    const View* v = children_[i];
    if (!v->IsVisible()) continue;
    const kv::Rect r = v->Bounds().Move(origin);
    if (!r.Contains(clip)) continue;
    OpaqueCover cover;
    v->CollectOpaque(clip, r.Origin(), cover);
    if (cover.rect.Contains(clip)) return i;
  }
  return 0;
}

void Group::DrawChildren(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  // Children wholly beneath an opaque child that covers the clip are not
  // drawn (a player's black background under its picture).
  size_t front = opacity >= 255 ? FrontCover(clip, origin) : 0;
#ifdef KV_VERIFY
  if (!Checks().skip) front = 0;
  if (front > 0) ++Checks().skips;
#endif
  const size_t n = children_.size();
  for (size_t i = front; i < n; ++i) {
    View* v = children_[i];
    if (!v->IsVisible()) continue;
    const kv::Rect r = v->Bounds().Move(origin);
    const kv::Rect c = r.Intersect(clip);
    if (c.IsEmpty()) continue;
#ifdef KV_VERIFY
    // What a view that is not a group draws is watched while a look at the
    // texts records (a text running into it).
    std::optional<BoxWatch> watch;
    if (!kv::Cast<Group>(v)) watch.emplace(v, c, target);
#endif
    v->Draw(target, c, r.Origin(), opacity);
  }
}

void Group::CollectOpaque(const kv::Rect& clip, kv::Point origin, OpaqueCover& cover) const {
  if (opacity_ < 255) return;
  // Front to back: once the clip is covered whole, nothing here offers more.
  for (size_t i = children_.size(); i-- > 0;) {
    if (cover.rect.Contains(clip)) return;
    const View* v = children_[i];
    if (!v->IsVisible()) continue;
    const kv::Rect r = v->Bounds().Move(origin);
    const kv::Rect c = r.Intersect(clip);
    if (!c.IsEmpty()) v->CollectOpaque(c, r.Origin(), cover);
  }
}

void Group::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  if (opacity_ <= 0 || opacity <= 0) return;
  if (opacity_ >= 255) {
    DrawChildren(target, clip, origin, opacity);
    return;
  }
  const auto alpha = ge::Mul8(static_cast<uint32_t>(opacity), static_cast<uint32_t>(opacity_));
  if (drawMode_ == DrawMode::kPlain) {
    DrawChildren(target, clip, origin, static_cast<int32_t>(alpha));
    return;
  }
  // Blended: the children are drawn into a transparent scratch surface that
  // covers the clip, which is then blended over the target.
  ge::Bitmap scratch(clip.W(), clip.H());
  const ge::Surface s = scratch.View();
#ifdef KV_VERIFY
  const DrawShift shift(clip.Origin());
#endif
  DrawChildren(s, {0, 0, clip.W(), clip.H()}, origin - clip.Origin(), 255);
  for (int32_t y = 0; y < clip.H(); ++y) {
    const uint32_t* src = s.Row(y);
    uint32_t* dst = target.Row(clip.y1 + y) + clip.x1;
    for (int32_t x = 0; x < clip.W(); ++x) {
      const uint32_t p = ge::MulPixel(src[x], alpha);
      dst[x] = ge::Over(p, dst[x]);
    }
  }
}

}  // namespace Core
