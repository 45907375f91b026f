#include "units/Core/Root.h"

#include <algorithm>
#include <cstring>

#include "runtime/member.h"
#include "runtime/panic.h"
#include "runtime/runtime.h"
#include "units/Core/Log.h"
#include "units/Core/SeenTexts.h"

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

// Fills `r`, a part of the surface, with `pixel`.
void Fill(const ge::Surface& s, const kv::Rect& r, uint32_t pixel) {
  if (r.IsEmpty()) return;
  for (int32_t y = r.y1; y < r.y2; ++y) std::fill(s.Row(y) + r.x1, s.Row(y) + r.x2, pixel);
}
#ifdef KV_VERIFY
// Transparent with a colour: no premultiplied drawing produces it.
constexpr uint32_t kUncleared = 0x00FF00FFu;
#endif
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
    // What an opaque view paints over needs no clearing first (a full-screen
    // player's black background under its picture).
    OpaqueCover cover;
    if (IsVisible()) CollectOpaque(clip, {0, 0}, cover);
    const kv::Rect keep = cover.rect;
    if (keep.IsEmpty()) {
      Fill(surface_, clip, 0);
    } else {
      Fill(surface_, {clip.x1, clip.y1, clip.x2, keep.y1}, 0);
      Fill(surface_, {clip.x1, keep.y1, keep.x1, keep.y2}, 0);
      Fill(surface_, {keep.x2, keep.y1, clip.x2, keep.y2}, 0);
      Fill(surface_, {clip.x1, keep.y2, clip.x2, clip.y2}, 0);
#ifdef KV_VERIFY
      // Checked builds mark the part not cleared: a mark left after drawing
      // is a pixel no opaque view painted, which the clear was needed for.
      Fill(surface_, keep, kUncleared);
#endif
    }
#ifdef KV_VERIFY
    const int64_t skipsBefore = CoverSkips();
    const DrawArea area(clip);
#endif
    if (IsVisible()) Draw(surface_, clip, {0, 0}, 255);
#ifdef KV_VERIFY
    for (int32_t y = keep.y1; y < keep.y2; ++y)
      for (int32_t x = keep.x1; x < keep.x2; ++x)
        if (surface_.Row(y)[x] == kUncleared) kv::Panic("Core::Root: an opaque cover left a pixel unpainted");
    // Children left undrawn beneath a cover: the area drawn again, cleared
    // and with every child, must give the same pixels.
    if (CoverSkips() != skipsBefore) {
      static ge::Bitmap whole;  // kept: this runs on most passes of a checked build
      whole.Resize(surface_.width, surface_.height);
      Fill(whole.View(), clip, 0);
      SetCoverSkips(false);
      Draw(whole.View(), clip, {0, 0}, 255);
      SetCoverSkips(true);
      for (int32_t y = clip.y1; y < clip.y2; ++y)
        if (!std::equal(surface_.Row(y) + clip.x1, surface_.Row(y) + clip.x2, whole.View().Row(y) + clip.x1))
          kv::Panic("Core::Root: a view left undrawn beneath an opaque cover would have shown");
    }
#endif
    rects[flipped++] = clip;
  }
  if (flip_ && flipped > 0) flip_(rects, flipped);
}

bool Root::IsScreenShown() {
  for (int32_t i = 0; i < GetChildCount(); ++i)
    if (GetChild(i)->IsVisible()) return true;
  return false;
}

namespace {
int32_t runningAnimations = 0;
int32_t standingAnimations = 0;  // among them, those that repeat while their screen stays
}  // namespace

void Root::CountAnimation(int32_t delta, bool standing) {
  runningAnimations += delta;
  if (standing) standingAnimations += delta;
}

int32_t Root::RunningAnimations() { return runningAnimations; }

bool Root::IsAnimationRunning() { return runningAnimations > 0; }

bool Root::IsTransitionRunning() { return runningAnimations > standingAnimations; }

void Root::ReInit() {
  Group::ReInit();
  InvalidateAll();
}

}  // namespace Core
