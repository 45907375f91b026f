#include "units/Core/Root.h"

#include <cstring>

#include "runtime/member.h"
#include "runtime/runtime.h"
#include "units/Core/Log.h"
#include "units/Effects/Effect.h"

namespace Core {

KV_REGISTER_CLASS(Core::Root);

namespace {
// The installed root; a handle keeps it alive while it is installed.
kv::Persistent<Root>& Installed() {
  static auto* installed = new kv::Persistent<Root>();
  return *installed;
}
void ResetInstalled() { Installed().reset(); }

int64_t Area(const kv::Rect& r) { return r.IsEmpty() ? 0 : int64_t{r.W()} * r.H(); }
}  // namespace

Root::Root() { OnSetBounds({0, 0, kWidth, kHeight}); }

kv::Object* Root::PreDispatch(Event* /*event*/) { return nullptr; }

kv::Object* Root::DispatchEvent(Event* event) {
  if (!event) {
    LogError("Core::Root::DispatchEvent: null event ignored");
    return nullptr;
  }
  if (kv::Object* answer = PreDispatch(event)) return answer;
  Group* top = GetModalGroup();
  std::vector<View*> chain;
  std::vector<Group*> owners;
  SnapshotChain(top ? top : this, chain, owners);
  return WalkChain(event, chain, owners);
}

void Root::BeginModal(Group* group) {
  if (!group) {
    LogError("Core::Root::BeginModal: null group ignored");
    return;
  }
  if (IsModal(group)) {
    LogError("Core::Root::BeginModal: %* is already modal", {static_cast<const kv::Object*>(group)});
    return;
  }
  modal_.push_back(group);
}

void Root::EndModal(Group* group) {
  if (!modal_.Remove(group))
    LogError("Core::Root::EndModal: %* is not modal", {static_cast<const kv::Object*>(group)});
}

Group* Root::GetModalGroup() {
  while (!modal_.empty()) {
    Group* g = modal_.back();
    if (g->GetRoot() == this) return g;
    LogError("Core::Root: modal group %* left the screen without EndModal; dropped",
             {static_cast<const kv::Object*>(g)});
    modal_.pop_back();
  }
  return nullptr;
}

void Root::AttachSurface(const ge::Surface& surface) {
  surface_ = surface;
  InvalidateAll();
}

void Root::DetachSurface() { surface_ = {}; }

void Root::Install() {
  kv::Runtime::AddResetHook(&ResetInstalled);
  Installed() = this;
  kv::Runtime::SetRedrawHook([] {
    if (Root* root = Installed().get()) root->Redraw();
  });
  InvalidateAll();
}

void Root::Uninstall() {
  if (Installed().get() != this) return;
  Installed().reset();
  kv::Runtime::SetRedrawHook(nullptr);
}

Root* Root::GetInstalled() { return Installed().get(); }

void Root::AddDirty(const kv::Rect& screen) {
  const kv::Rect r = screen.Intersect({0, 0, Bounds().W(), Bounds().H()});
  if (r.IsEmpty()) return;
  int n = 0;
  for (int i = 0; i < dirtyCount_; ++i) {
    if (dirty_[i].Contains(r)) return;
    if (!r.Contains(dirty_[i])) dirty_[n++] = dirty_[i];
  }
  dirty_[n++] = r;
  // Full: merge the pair whose union adds the least area.
  while (n > kMaxDirty) {
    int bi = 0, bj = 1;
    int64_t best = INT64_MAX;
    for (int i = 0; i < n; ++i) {
      for (int j = i + 1; j < n; ++j) {
        const int64_t cost = Area(dirty_[i].Union(dirty_[j])) - Area(dirty_[i]) - Area(dirty_[j]);
        if (cost < best) {
          best = cost;
          bi = i;
          bj = j;
        }
      }
    }
    dirty_[bi] = dirty_[bi].Union(dirty_[bj]);
    dirty_[bj] = dirty_[--n];
  }
  dirtyCount_ = n;
}

void Root::InvalidateAll() { AddDirty({0, 0, Bounds().W(), Bounds().H()}); }

void Root::Redraw() {
  if (dirtyCount_ == 0) return;
  // Copy the list first: drawing may invalidate again, for the next pass.
  kv::Rect rects[kMaxDirty];
  const int n = dirtyCount_;
  std::memcpy(rects, dirty_, sizeof(kv::Rect) * static_cast<size_t>(n));
  dirtyCount_ = 0;
  if (!surface_.pixels) return;
  const kv::Rect surfaceArea{0, 0, surface_.width, surface_.height};
  int flipped = 0;
  for (int i = 0; i < n; ++i) {
    const kv::Rect clip = rects[i].Intersect(surfaceArea);
    if (clip.IsEmpty()) continue;
    for (int32_t y = clip.y1; y < clip.y2; ++y)
      std::memset(surface_.Row(y) + clip.x1, 0, sizeof(uint32_t) * static_cast<size_t>(clip.W()));
    if (IsVisible()) Draw(surface_, clip, {0, 0}, 255);
    rects[flipped++] = clip;
  }
  if (flip_ && flipped > 0) flip_(rects, flipped);
}

bool Root::IsScreenShown() {
  for (int32_t i = 0; i < GetChildCount(); ++i)
    if (GetChild(i)->IsVisible()) return true;
  return false;
}

bool Root::IsAnimationRunning() { return Effects::Effect::RunningCount() > 0; }

void Root::ReInit() {
  Group::ReInit();
  InvalidateAll();
}

}  // namespace Core
