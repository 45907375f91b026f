// Core::Root: the screen (960 x 540) at the top of the view tree.
//
// Dispatch: DispatchEvent first offers the event to PreDispatch (a non-null
// answer ends dispatch). Then it snapshots the chain from the modal group (the
// top of the modal stack) or the root itself down through each focused child
// to the deepest focused view, and runs the handlers from the deepest up; the
// first non-null answer consumes the event; bubbling stops at the modal group
// or the root. A view removed from its owner before its turn ends the walk,
// the event counting as consumed. Dispatch may be re-entered from a handler.
//
// Drawing: the root keeps at most 16 dirty rectangles (when full, the pair
// whose union adds the least area is merged). Redraw clears each dirty
// rectangle of the attached surface to transparent, draws the views that
// intersect it back to front, clipped, and then hands the rectangles to the
// flip callback. Install() makes this root the one the end of each GUI loop
// pass redraws (kv::Runtime::SetRedrawHook) and keeps it alive until
// Uninstall() or another root is installed.
#pragma once

#include <cstdint>
#include <functional>

#include "units/Core/Group.h"

namespace Core {

class Root : public Group {
  KV_CLASS(Core, Root, Group)
 public:
  static constexpr int32_t kWidth = 960;
  static constexpr int32_t kHeight = 540;
  static constexpr int kMaxDirty = 16;

  using FlipCallback = std::function<void(const kv::Rect* rects, int count)>;

  Root();

  // Offered every event before the view tree; a non-null answer ends dispatch.
  virtual kv::Object* PreDispatch(Event* event);
  kv::Object* DispatchEvent(Event* event) override;

  // The modal stack. BeginModal pushes a group (a group already on the stack
  // is logged and left where it is); EndModal takes it off wherever it is
  // (a group not on the stack is logged).
  void BeginModal(Group* group);
  void EndModal(Group* group);
  // The top of the modal stack that is still attached to this root, or null.
  Group* GetModalGroup();
  bool IsModal(const Group* group) const { return modal_.IndexOf(group) >= 0; }

  // The surface drawn into: the display window's OSD buffer. A surface whose
  // size differs from the root's bounds is clipped to both. Attaching
  // invalidates the whole screen.
  void AttachSurface(const ge::Surface& surface);
  void DetachSurface();
  const ge::Surface& GetSurface() const { return surface_; }
  void SetFlipCallback(FlipCallback flip) { flip_ = std::move(flip); }

  // Makes this root the one redrawn at the end of each pass.
  void Install();
  // Stops redrawing this root at the end of the pass (when it is the installed one).
  void Uninstall();
  // The installed root, or null.
  static Root* GetInstalled();

  // Adds a screen rectangle to the dirty list (clipped to the root).
  void AddDirty(const kv::Rect& screen);
  // Marks the whole screen dirty.
  void InvalidateAll();
  int GetDirtyCount() const { return dirtyCount_; }
  const kv::Rect* GetDirtyRects() const { return dirty_; }
  // Clears and redraws every dirty rectangle, then flips them. Without a
  // surface the dirty list is dropped.
  void Redraw();

  // Questions the host loop asks; the application root refines them.
  // A screen is shown when the root has any visible child.
  virtual bool IsScreenShown();
  // An animation runs while any effect is enabled.
  virtual bool IsAnimationRunning();
  // An animation that ends runs (a move, a fade in): the picture is half
  // way to what the viewer will read. An effect that repeats for as long as
  // its screen stays (a standing animation) is not one.
  virtual bool IsTransitionRunning();
  // The effects count themselves in (+1) when enabled and out (-1) when
  // they stop, the standing ones as such; RunningAnimations is the number
  // enabled now.
  static void CountAnimation(int32_t delta, bool standing = false);
  static int32_t RunningAnimations();
  // The set is in standby (the application root knows).
  virtual bool IsInStandby() { return false; }
  virtual bool GetTV101State() { return tv101_; }
  virtual void SetTV101State(bool on) { tv101_ = on; }

  // A language change re-initialises every object; the whole screen is redrawn.
  void ReInit() override;

 private:
  kv::MemberVector<Group> modal_;
  ge::Surface surface_;
  FlipCallback flip_;
  kv::Rect dirty_[kMaxDirty + 1];
  int dirtyCount_ = 0;
  bool tv101_ = false;
};

}  // namespace Core
