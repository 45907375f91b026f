#include "units/WidgetManager/WidgetManager.h"

#include <vector>

#include "runtime/ref.h"
#include "units/Core/Group.h"
#include "units/Core/Log.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/Structures/ArrayInt.h"


namespace WidgetManager {

KV_REGISTER_CLASS(WidgetManager::WidgetManager);

namespace {
using Primitives::KeyRoutingForm;

std::vector<KeyRoutingForm*> OpenForms(const Structures::DuLinkList& list) {
  std::vector<KeyRoutingForm*> out;
  for (kv::Object* o : list.Snapshot())
    if (auto* f = kv::Cast<KeyRoutingForm>(o)) out.push_back(f);
  return out;
}
}  // namespace

KeyRoutingForm* WidgetManager::FindForm(uint32_t winId) {
  for (KeyRoutingForm* f : OpenForms(*this))
    if (f->WinID == winId) return f;
  return nullptr;
}

KeyRoutingForm* WidgetManager::FindFormOf(const kv::Class* cls) {
  for (KeyRoutingForm* f : OpenForms(*this))
    if (f->KvClass() == cls) return f;
  return nullptr;
}

bool WidgetManager::HasWidget(Structures::ArrayInt* list) {
  if (!list) {
    Core::LogError("WidgetManager::WidgetManager::HasWidget: no list");
    return false;
  }
  for (KeyRoutingForm* f : OpenForms(*this))
    if (list->Contains(static_cast<int32_t>(f->WinID))) return true;
  return false;
}

bool WidgetManager::HasWidgetExcept(Structures::ArrayInt* list) {
  if (!list) {
    Core::LogError("WidgetManager::WidgetManager::HasWidgetExcept: no list");
    return false;
  }
  for (KeyRoutingForm* f : OpenForms(*this))
    if (!list->Contains(static_cast<int32_t>(f->WinID))) return true;
  return false;
}

bool WidgetManager::HasWidgetInGroup(uint32_t id) {
  for (KeyRoutingForm* f : OpenForms(*this))
    if ((f->WinID >> 24) == (id >> 24)) return true;
  return false;
}

void WidgetManager::CloseLayers(uint32_t mask) {
  std::vector<KeyRoutingForm*> forms = OpenForms(*this);
  for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
    KeyRoutingForm* f = *it;
    // A form closed by an earlier form's Close is not closed again.
    if (Contains(f) && (f->Layer & mask) != 0) f->Close();
  }
}

void WidgetManager::CloseSameLayer(KeyRoutingForm* form) {
  std::vector<KeyRoutingForm*> forms = OpenForms(*this);
  for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
    KeyRoutingForm* f = *it;
    if (f != form && Contains(f) && f->Layer == form->Layer) f->Close();
  }
}

void WidgetManager::InsertForm(KeyRoutingForm* form, Core::Group* group, int32_t order) {
  if (!form || !group) {
    Core::LogError("WidgetManager::WidgetManager::InsertForm: no form or no group");
    return;
  }
  CloseSameLayer(form);
  // The open form of the lowest layer above the new one, in the same group.
  KeyRoutingForm* behind = nullptr;
  for (KeyRoutingForm* f : OpenForms(*this)) {
    if (f == form || f->Owner() != group || f->Layer <= form->Layer) continue;
    if (!behind || f->Layer < behind->Layer) behind = f;
  }
  if (behind)
    group->Core::Group::AddBehind(form, behind);
  else
    group->Core::Group::Add(form, order);
  if (form->Owner() == group && !Contains(form) && Append(form)) UpdateUIStatus();
}

void WidgetManager::InsertFormBehind(KeyRoutingForm* form, Core::Group* group, Core::View* sibling) {
  if (!form || !group) {
    Core::LogError("WidgetManager::WidgetManager::InsertFormBehind: no form or no group");
    return;
  }
  CloseSameLayer(form);
  group->Core::Group::AddBehind(form, sibling);
  if (form->Owner() == group && !Contains(form) && Append(form)) UpdateUIStatus();
}

void WidgetManager::RemoveForm(KeyRoutingForm* form) {
  if (!Remove(form)) return;
  UpdateUIStatus();
  // Those that follow the open screens (the help bar) hear it.
  kv::NotifyObjObservers(this, form);
}

void WidgetManager::UpdateUIStatus() {}

}  // namespace WidgetManager
