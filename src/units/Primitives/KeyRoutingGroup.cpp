#include "units/Primitives/KeyRoutingGroup.h"
#include "units/Primitives/TimeOut.h"

#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "units/Core/Log.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/WidgetManager/WidgetManager.h"

namespace Primitives {

KV_REGISTER_CLASS(Primitives::KeyRoutingGroup);

namespace {
WidgetManager::WidgetManager* Manager() {
  return kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
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
}

void KeyRoutingGroup::AddBehind(Core::View* view, Core::View* sibling) {
  auto* form = kv::Cast<KeyRoutingForm>(view);
  if (!form) {
    Core::Group::AddBehind(view, sibling);
    return;
  }
  Manager()->InsertFormBehind(form, this, sibling);
}

void KeyRoutingGroup::Remove(Core::View* view) {
  const bool hadKeys = view && OnGetFocus() == view;
  Core::Group::Remove(view);
  auto* form = kv::Cast<KeyRoutingForm>(view);
  if (!form) return;
  Manager()->RemoveForm(form);
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
}

void KeyRoutingGroup::ResetTimeout(kv::Object* /*sender*/) { ResetTimeOut(timeOutTimer_); }

void KeyRoutingGroup::SetTimeout(bool on) { SwitchTimeOut(timeOutTimer_, TimeOutValue, on); }

void KeyRoutingGroup::OnSetTimeOutValue(int32_t ms) {
  TimeOutValue = ConfigureTimeOut(timeOutTimer_, ms, "Primitives::KeyRoutingGroup::OnSetTimeOutValue");
}

}  // namespace Primitives
