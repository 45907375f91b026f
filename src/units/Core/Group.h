// Core::Group: a view holding child views.
//
// Children are kept in stacking order: the first child is at the back (drawn
// first), the last one at the front. "Child order" of the form walks is this
// order, so controls added one after another are walked in that order.
//
// Focus: a group has at most one focused child; an empty focus is allowed and
// then no child gets keys. Add never focuses. When the focused child is
// removed, hidden or disabled the focus goes to the next sibling that is a
// focusable control (IsFocusableControl), then the previous one, else none;
// plain views such as labels never get it. The hand-off goes through the
// virtual OnSetFocus, so subclasses see it like any other focus change.
//
// Opacity: below 255 a group in blended mode (the default) draws its children
// into a scratch surface and blends the result with that opacity; in plain
// mode it hands the opacity down to each child instead, which is cheaper but
// lets overlapping children show through one another.
#pragma once

#include <cstdint>
#include <vector>

#include "units/Core/View.h"

namespace Core {

enum class DrawMode : uint8_t {
  kBlended,  // children drawn into a scratch surface, blended at the group's opacity
  kPlain,    // the group's opacity multiplies each child's drawing
};

class Group : public View {
  KV_CLASS(Core, Group, View)
 public:
  Group() = default;

  // Adds `view` in front of its children, then moves it `order` steps
  // towards the back (0 or less: stays in front). A view that already has an
  // owner is the panic "The view already belongs to a group". Does not focus.
  virtual void Add(View* view, int32_t order = 0);
  // Adds `view` directly behind `sibling` (a child of this group).
  virtual void AddBehind(View* view, View* sibling);
  // Takes a child out; a view of another owner is the panic "The view does
  // not belong to the group". A focused child hands the focus on.
  virtual void Remove(View* view);
  // Moves a child `steps` places towards the front (negative: towards the
  // back), stopping at either end.
  virtual void Restack(View* view, int32_t steps);
  // Moves a child to the front.
  void RestackTop(View* view);

  // Focuses a child, or nothing with null. A view that is not a child, or
  // that cannot take the focus (hidden, disabled), is refused with a logged
  // error and the focus stays.
  virtual void OnSetFocus(View* view);
  View* OnGetFocus() const { return focus_.get(); }

  // Moves the children with the group (they are relative to it).
  void OnSetBounds(kv::Rect bounds) override;

  // Hands `event` to the focused chain below this group, deepest first, and
  // then to the group's own HandleEvent; the first non-null answer ends it.
  virtual kv::Object* DispatchEvent(Event* event);
  // Offers `event` to every child, front to back. Mode 0 stops at the first
  // child that consumes it (and returns its answer); mode 1 offers it to all
  // (and returns the first answer).
  virtual kv::Object* Broadcast(Event* event, int32_t mode);

  // 0..255; other values are clamped with a logged error.
  void OnSetOpacity(int32_t opacity);
  int32_t OnGetOpacity() { return opacity_; }
  void OnSetDrawMode(DrawMode mode);
  DrawMode OnGetDrawMode() const { return drawMode_; }

  // Children in stacking order, back to front.
  int32_t GetChildCount() const { return static_cast<int32_t>(children_.size()); }
  View* GetChild(int32_t index) const;
  int32_t GetChildIndex(const View* view) const { return children_.IndexOf(view); }

  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;
  // What the visible children offer, each clipped as Draw clips it; nothing
  // below full opacity, where the children are seen through. A group whose
  // Draw hands its children another clip or opacity offers only what that
  // Draw paints.
  void CollectOpaque(const kv::Rect& clip, kv::Point origin, OpaqueCover& cover) const override;

  // Moves the focus away from `child` (the focused child that is being
  // hidden, disabled or removed): next focusable control among the siblings,
  // then the previous one, else none. Nothing when `child` is not the focus.
  void MoveFocusFrom(View* child);

 protected:
#ifdef KV_VERIFY
  // Checked builds count the draws that skipped children beneath an opaque
  // cover, and can turn the skipping off to draw a pass again for comparison.
  static int64_t CoverSkips();
  static void SetCoverSkips(bool on);
#endif
  // Runs the dispatch walk over a chain snapshot, deepest first. chain[0] is
  // the top of the walk; owners[i] is the owner chain[i] had when the snapshot
  // was taken. A view whose owner changed before its turn ends the walk,
  // counting as consumed.
  static kv::Object* WalkChain(Event* event, const std::vector<View*>& chain,
                               const std::vector<Group*>& owners);
  // The chain from `top` down through each focused child.
  static void SnapshotChain(Group* top, std::vector<View*>& chain, std::vector<Group*>& owners);

 private:
  void Insert(View* view, int32_t index);
  void ChangeFocus(View* next);
  void DrawChildren(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity);
  // The index of the frontmost visible child that paints every pixel of
  // `clip` opaque at full opacity; 0 when none does.
  size_t FrontCover(const kv::Rect& clip, kv::Point origin) const;

  kv::MemberVector<View> children_;
  kv::Member<View> focus_;
  int32_t opacity_ = 255;
  DrawMode drawMode_ = DrawMode::kBlended;
};

}  // namespace Core
