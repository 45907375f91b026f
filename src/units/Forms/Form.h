// Forms::Form: a group whose Forms::Ctrl children are walked and focused in
// child order (back to front, i.e. the order they were added in) and by
// geometry. Children that are not controls are skipped by every walk.
//
// The ordered walk (GetFirstCtrl, GetLastCtrl, GetNextCtrl, GetPrevCtrl and
// the Select* calls) sees only controls that can take the focus: enabled
// and visible. Indexing (GetCtrlAt, GetIndexOf, GetCount) counts every
// control.
//
// Geometric search from a control picks, among the enabled, visible controls
// lying wholly beyond the source's edge in that direction, the one whose
// facing edge is nearest; then the one whose centre is nearest across the
// direction; then the first in child order.
//
// A control passed in that belongs to another group is the panic "The
// control does not belong to the form".
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "units/Core/Group.h"
#include "units/Forms/Ctrl.h"

namespace Core {
class Root;
}

namespace Forms {

class Form : public Core::Group {
  KV_CLASS(Forms, Form, Core::Group)
 public:
  Form() = default;

  Ctrl* GetFirstCtrl();
  Ctrl* GetLastCtrl();
  // The next (previous) enabled, visible control after (before) `ctrl`, or null.
  Ctrl* GetNextCtrl(Ctrl* ctrl);
  Ctrl* GetPrevCtrl(Ctrl* ctrl);
  // The control at `index` among all controls (0-based), null outside.
  Ctrl* GetCtrlAt(int32_t index);
  // The number of controls before `ctrl`, or -1 when it is not a control of this form.
  int32_t GetIndexOf(Ctrl* ctrl);
  // The number of controls.
  int32_t GetCount();

  // Focus the next (previous) control after the focused child and return it;
  // null at the end, the focus then stays. With no focus SelectNext takes the
  // first control and SelectPrev the last.
  Ctrl* SelectNext();
  Ctrl* SelectPrev();
  // Focus the first (last) control and return it; null when there is none.
  Ctrl* SelectFirst();
  Ctrl* SelectLast();

  // The nearest control in that direction from `ctrl`, or null.
  Ctrl* GetUpperCtrl(Ctrl* ctrl);
  Ctrl* GetLowerCtrl(Ctrl* ctrl);
  Ctrl* GetLeftCtrl(Ctrl* ctrl);
  Ctrl* GetRightCtrl(Ctrl* ctrl);
  // Move the focus from the focused child to the nearest control in that
  // direction and return it; null (focus unchanged) when there is none or
  // nothing is focused. Screens with their own layout override them.
  virtual Ctrl* SelectUpper();
  virtual Ctrl* SelectLower();
  virtual Ctrl* SelectLeft();
  virtual Ctrl* SelectRight();

  // Modality: the root hands every event to the top modal form first and
  // bubbles no further. BeginModal needs the form to be on screen.
  void BeginModal();
  void EndModal();
  bool IsModal();

 private:
  enum class Direction { kUp, kDown, kLeft, kRight };
  void CheckOwn(const Ctrl* ctrl) const;
  Ctrl* FindFrom(int32_t index, int32_t step);
  Ctrl* FindNearest(const Core::View* from, Direction dir);
  Ctrl* SelectToward(Direction dir);
  Ctrl* Focus(Ctrl* ctrl);

  kv::Member<Core::Root> modalRoot_;
};

}  // namespace Forms
