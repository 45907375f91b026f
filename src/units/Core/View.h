// Core::View: the base of everything drawn on the on-screen display.
//
// A view has bounds relative to its owner (the group it was added to, which
// need not be the object that holds it in memory), a visible flag, and two
// virtual entry points: HandleEvent for events and Draw for pixels.
//
// Invalidation belongs to the framework: setters that change how a view
// looks call InvalidateView (or InvalidateArea for a part of it); the root
// collects the dirty rectangles and redraws them at the end of the pass.
// Nothing happens for a view that is not attached to a root.
#pragma once

#include <cstdint>

#include "ge/surface.h"
#include "runtime/geometry.h"
#include "runtime/member.h"
#include "runtime/object.h"

namespace Core {

class Event;
class Group;
class Root;

// The engine's rectangle of a framework rectangle (same layout, x2 and y2 exclusive).
constexpr ge::Rect ToGeRect(const kv::Rect& r) { return {r.x1, r.y1, r.x2, r.y2}; }

// The largest rectangle of an area about to be redrawn that one view paints
// opaque in every pixel (View::CollectOpaque): the root need not clear it
// before drawing, whatever lies beneath it.
struct OpaqueCover {
  kv::Rect rect;
  void Add(const kv::Rect& r) {
    if (r.IsEmpty()) return;
    if (int64_t{r.W()} * r.H() > int64_t{rect.W()} * rect.H()) rect = r;
  }
};

class View : public kv::Object {
  KV_CLASS(Core, View, kv::Object)
 public:
  View() = default;

  // Bounds relative to the owner's top-left corner. Setting new bounds
  // invalidates the old and the new rectangle. Groups override it.
  virtual void OnSetBounds(kv::Rect bounds);
  kv::Rect OnGetBounds() { return bounds_; }
  const kv::Rect& Bounds() const { return bounds_; }

  // A hidden view draws nothing and gets no focus; hiding the focused view
  // moves its owner's focus on (next focusable sibling, then previous).
  virtual void OnSetVisible(bool visible);
  bool OnGetVisible() { return visible_; }
  bool IsVisible() const { return visible_; }

  // The group this view was added to, or null.
  Group* Owner() const;
  // The root at the top of the owner chain, or null when not attached to one.
  Root* GetRoot() const;
  // Bounds in screen coordinates (the owners' origins added up).
  kv::Rect GetAbsoluteBounds() const;
  // True when this view is its owner's focus.
  bool IsFocused() const;
  // True when the view may take the focus (visible; controls also enabled).
  virtual bool CanFocus() const { return visible_; }
  // True for an enabled, visible control: what an automatic focus hand-off
  // may land on. Plain views and groups take the focus only when asked.
  virtual bool IsFocusableControl() const { return false; }

  // Called by the owner when the view gains (true) or loses (false) the focus.
  virtual void HandleFocus(bool focused);

  // Offers an event; a non-null result means consumed (the view itself, or
  // whatever its handler answers). The base consumes nothing.
  virtual kv::Object* HandleEvent(Event* event);

  // Marks the whole view for redrawing.
  void InvalidateView();
  // Marks a part of the view for redrawing; `area` is relative to the view's
  // own top-left corner and is clipped to the view and its owners.
  void InvalidateArea(const kv::Rect& area);

  // Draws the view into `target`.
  //   clip     the part of `target` that may be touched, in target
  //            coordinates; already inside the view's rectangle and the
  //            target's bounds, never empty.
  //   origin   the position of the view's top-left corner in target
  //            coordinates (the view's rectangle is Bounds() moved there).
  //   opacity  0..255, multiplies the alpha of everything drawn (255 is the
  //            common case; groups in plain drawing mode hand theirs down).
  // Target coordinates are screen coordinates when drawing to the display;
  // a group that draws into a scratch surface moves them. The base draws nothing.
  virtual void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity);
  // Offers `cover` the part of `clip` that Draw with the same clip and origin
  // at full opacity paints with opaque pixels, each one whatever was there
  // before. The base offers nothing: only a view that knows it is opaque
  // says so (an opaque rectangle, a group for its children).
  virtual void CollectOpaque(const kv::Rect& clip, kv::Point origin, OpaqueCover& cover) const;

 protected:
  // The part of the screen this view covers as drawn: its absolute bounds
  // clipped by every owner; empty when it or an owner is hidden, or when it
  // is not attached to a root.
  kv::Rect ScreenArea() const;
  // Hands a screen rectangle to the root's dirty list (no root: nothing).
  void InvalidateScreen(const kv::Rect& screen) const;

 private:
  friend class Group;
  kv::Member<Group> owner_;
  kv::Rect bounds_;
  bool visible_ = true;
};

}  // namespace Core
