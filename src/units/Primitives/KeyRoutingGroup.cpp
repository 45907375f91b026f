#include "units/Primitives/KeyRoutingGroup.h"
#include "units/Primitives/TimeOut.h"

#include <algorithm>
#include <vector>

#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "units/Core/Log.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"

namespace Primitives {

KV_REGISTER_CLASS(Primitives::KeyRoutingGroup);

namespace {
WidgetManager::WidgetManager* Manager() {
  return kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
}

// The highest layer among the open screens of a sub-system, 0 without any.
// The help bar shows the keys of the screen in front and counts for none.
uint32_t TopLayer(const Core::Group* group) {
  uint32_t top = 0;
  for (int32_t i = 0; i < group->GetChildCount(); ++i) {
    const auto* form = kv::Cast<KeyRoutingForm>(group->GetChild(i));
    if (form && form->WinID != WinIDs::WIN_ID_HelpBar) top = std::max(top, form->Layer);
  }
  return top;
}

// The sub-systems of the group that holds them (the active application)
// stand in the order of the layers of their screens, so that layers stay in
// front across them as within one: a sub-system whose screens reach a
// higher layer than another's stands in front of it (a notice or a question
// of live TV, layers 32 to 256, in front of the menu's pages, layers 2 to
// 16; the menu in front of a media player, layer 1). Sub-systems of equal
// height keep their places. Run after each screen that enters or leaves one.
void StackSubSystems(KeyRoutingGroup* changed) {
  auto* holder = kv::Cast<KeyRoutingGroup>(changed->Owner());
  if (!holder) return;
  std::vector<KeyRoutingGroup*> now;
  for (int32_t i = 0; i < holder->GetChildCount(); ++i)
    if (auto* sub = kv::Cast<KeyRoutingGroup>(holder->GetChild(i))) now.push_back(sub);
  std::vector<KeyRoutingGroup*> wanted = now;
  std::stable_sort(wanted.begin(), wanted.end(),
                   [](const KeyRoutingGroup* a, const KeyRoutingGroup* b) { return TopLayer(a) < TopLayer(b); });
  if (wanted == now) return;
  for (KeyRoutingGroup* sub : wanted) holder->RestackTop(sub);
}

}  // namespace

KeyRoutingGroup::KeyRoutingGroup() {
  timeOutTimer_.OnTrigger = kv::MakeSlot(this, &KeyRoutingGroup::TimeOutSlot);
  timeOutTimer_.OnSetPeriod(0);
  timeOutTimer_.OnSetBegin(TimeOutValue);
}

void KeyRoutingGroup::Initialize(KeyRoutingParameter* param) {
  if (!param) return;
  kv::Object* owner = param->Owner.get();
  auto* group = kv::Cast<Core::Group>(owner);
  if (owner && !group) {
    Core::LogError("Primitives::KeyRoutingGroup::Initialize: owner %* of %* is not a group",
                   {static_cast<const kv::Object*>(owner), static_cast<const kv::Object*>(this)});
    return;
  }
  Parent = group;
}

void KeyRoutingGroup::Open() {
  if (!Parent) {
    Core::LogError("Primitives::KeyRoutingGroup::Open: %* has no parent", {static_cast<const kv::Object*>(this)});
    return;
  }
  if (IsOpen()) return;
  if (Owner()) {
    Core::LogError("Primitives::KeyRoutingGroup::Open: %* is still in another group",
                   {static_cast<const kv::Object*>(this)});
    return;
  }
  Parent->Add(this);
  if (IsOpen()) SetTimeout(true);
}

void KeyRoutingGroup::Close() {
  if (!IsOpen()) return;
  SetTimeout(false);
  Parent->Remove(this);
}

void KeyRoutingGroup::HandleMessage(Structures::Message* /*msg*/) {}

void KeyRoutingGroup::TimeOutSlot(kv::Object* /*sender*/) { kv::Signal(OnTimeOut, this); }

kv::Object* KeyRoutingGroup::HandleEvent(Core::Event* /*event*/) { return nullptr; }

void KeyRoutingGroup::Add(Core::View* view, int32_t order) {
  auto* form = kv::Cast<KeyRoutingForm>(view);
  if (!form) {
    Core::Group::Add(view, order);
    return;
  }
  Manager()->InsertForm(form, this, order);
  StackSubSystems(this);
}

void KeyRoutingGroup::AddBehind(Core::View* view, Core::View* sibling) {
  auto* form = kv::Cast<KeyRoutingForm>(view);
  if (!form) {
    Core::Group::AddBehind(view, sibling);
    return;
  }
  Manager()->InsertFormBehind(form, this, sibling);
  StackSubSystems(this);
}

void KeyRoutingGroup::Remove(Core::View* view) {
  const bool hadKeys = view && OnGetFocus() == view;
  Core::Group::Remove(view);
  auto* form = kv::Cast<KeyRoutingForm>(view);
  if (!form) return;
  Manager()->RemoveForm(form);
  StackSubSystems(this);
  if (hadKeys) kv::PostSignal(kv::MakeSlot(this, &KeyRoutingGroup::KeysToScreenUnder));
}

void KeyRoutingGroup::KeysToScreenUnder(kv::Object* /*sender*/) {
  if (OnGetFocus()) return;
  for (int32_t i = GetChildCount() - 1; i >= 0; --i) {
    auto* form = kv::Cast<KeyRoutingForm>(GetChild(i));
    if (form && form->IsOpen() && form->IsVisible() && form->FocusOnOpen) {
      OnSetFocus(form);
      return;
    }
  }
  // None of its own: when this sub-system held the keys of the group that
  // holds the sub-systems, the frontmost other sub-system whose screen has
  // its focus takes them (a question answered over the menu gives them back
  // to the menu's page).
  auto* holder = kv::Cast<KeyRoutingGroup>(Owner());
  if (!holder || holder->OnGetFocus() != this) return;
  for (int32_t i = holder->GetChildCount() - 1; i >= 0; --i) {
    auto* other = kv::Cast<KeyRoutingGroup>(holder->GetChild(i));
    if (!other || other == this || !other->IsVisible()) continue;
    auto* screen = kv::Cast<KeyRoutingForm>(other->OnGetFocus());
    if (screen && screen->IsOpen() && screen->IsVisible()) {
      holder->OnSetFocus(other);
      return;
    }
  }
}

void KeyRoutingGroup::ResetTimeout(kv::Object* /*sender*/) { ResetTimeOut(timeOutTimer_); }

void KeyRoutingGroup::SetTimeout(bool on) { SwitchTimeOut(timeOutTimer_, TimeOutValue, on); }

void KeyRoutingGroup::OnSetTimeOutValue(int32_t ms) {
  TimeOutValue = ConfigureTimeOut(timeOutTimer_, ms, "Primitives::KeyRoutingGroup::OnSetTimeOutValue");
}

}  // namespace Primitives
