// WidgetManager::WidgetManager: the list of the open screens that the
// sub-systems hold, oldest first.
//
// A key-routing form added to a sub-system (Primitives::KeyRoutingGroup) is
// inserted here: every open form of the same Layer closes first, so one
// screen is open per layer, and the new form is stacked in its group behind
// the open form of the lowest higher Layer in the same group, so that higher
// layers stay in front. A form taken out of its group leaves the list.
#pragma once

#include <cstdint>

#include "runtime/auto_object.h"
#include "units/Structures/DuLinkList.h"

namespace Core {
class Group;
class View;
}  // namespace Core
namespace Primitives {
class KeyRoutingForm;
}
namespace Structures {
class ArrayInt;
}

namespace WidgetManager {

class WidgetManager : public Structures::DuLinkList {
  KV_CLASS(WidgetManager, WidgetManager, Structures::DuLinkList)
 public:
  WidgetManager() = default;

  // The open form with that window id (the oldest when several share it), or null.
  Primitives::KeyRoutingForm* FindForm(uint32_t winId);
  // The open form of exactly class `cls` (the oldest), or null.
  Primitives::KeyRoutingForm* FindFormOf(const kv::Class* cls);
  // True when an open form's window id is one of the list's.
  bool HasWidget(Structures::ArrayInt* list);
  // True when an open form's window id is not in the list.
  bool HasWidgetExcept(Structures::ArrayInt* list);
  // True when an open form's window id has the same top byte as `id`.
  bool HasWidgetInGroup(uint32_t id);
  // Closes every open form whose Layer shares a bit with `mask`, newest first.
  void CloseLayers(uint32_t mask);

  // The sub-systems' insertion (see above): closes the open forms of the
  // form's Layer, adds the form to `group` (stacked behind the lowest higher
  // layer, else as Core::Group::Add with `order`) and appends it to the list.
  void InsertForm(Primitives::KeyRoutingForm* form, Core::Group* group, int32_t order);
  // As InsertForm, but the form is stacked directly behind `sibling`.
  void InsertFormBehind(Primitives::KeyRoutingForm* form, Core::Group* group, Core::View* sibling);
  // Takes a form out of the list (nothing when it is not there).
  void RemoveForm(Primitives::KeyRoutingForm* form);

  // Runs after a form entered or left the list (the skin reports the
  // on-screen state from here). The base does nothing.
  virtual void UpdateUIStatus();

 private:
  // Closes the open forms of `layer` other than `form`, newest first.
  void CloseSameLayer(Primitives::KeyRoutingForm* form);
};

}  // namespace WidgetManager

KV_DECLARE_AUTO_OBJECT(MainApp, WidgetManager);
