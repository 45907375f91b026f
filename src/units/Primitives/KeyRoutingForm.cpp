#include "units/Primitives/KeyRoutingForm.h"
#include "units/Primitives/TimeOut.h"

#include "units/Core/Event.h"
#include "units/Core/Group.h"
#include "units/Core/Log.h"
#include "units/Primitives/KeyRoutingParameter.h"

namespace Primitives {

KV_REGISTER_CLASS(Primitives::KeyRoutingForm);
KV_REGISTER_CLASS(Primitives::KeyRoutingParameter);

KeyRoutingForm::KeyRoutingForm() {
  timeOutTimer_.OnTrigger = kv::MakeSlot(this, &KeyRoutingForm::TimeOutSlot);
  timeOutTimer_.OnSetPeriod(0);
  timeOutTimer_.OnSetBegin(TimeOutValue);
}

void KeyRoutingForm::Initialize(KeyRoutingParameter* param) {
  if (!param) return;
  kv::Object* owner = param->Owner.get();
  auto* group = kv::Cast<Core::Group>(owner);
  if (owner && !group) {
    Core::LogError("Primitives::KeyRoutingForm::Initialize: owner %* of %* is not a group",
                   {static_cast<const kv::Object*>(owner), static_cast<const kv::Object*>(this)});
    return;
  }
  Parent = group;
}

void KeyRoutingForm::Refresh() { InvalidateView(); }

bool KeyRoutingForm::IsOpen() const { return Parent && Owner() == Parent.get(); }

void KeyRoutingForm::Open() {
  if (!Parent) {
    Core::LogError("Primitives::KeyRoutingForm::Open: %* has no parent", {static_cast<const kv::Object*>(this)});
    return;
  }
  if (IsOpen()) return;
  if (Owner()) {
    Core::LogError("Primitives::KeyRoutingForm::Open: %* is still in another group",
                   {static_cast<const kv::Object*>(this)});
    return;
  }
  Parent->Add(this);
  // The parent may have refused or replaced the form (the widget manager closes
  // forms of the same layer); only a form that arrived goes on.
  if (!IsOpen()) return;
  if (IsModal) Forms::Form::BeginModal();
  SetTimeout(true);
}

void KeyRoutingForm::Close() {
  if (!IsOpen()) return;
  SetTimeout(false);
  if (Forms::Form::IsModal()) Forms::Form::EndModal();
  Parent->Remove(this);
}

void KeyRoutingForm::HandleMessage(Structures::Message* /*msg*/) {}

void KeyRoutingForm::TimeOutSlot(kv::Object* /*sender*/) { kv::Signal(OnTimeOut, this); }

kv::Object* KeyRoutingForm::HandleEvent(Core::Event* event) { return Forms::Form::HandleEvent(event); }

void KeyRoutingForm::ResetTimeout(kv::Object* /*sender*/) { ResetTimeOut(timeOutTimer_); }

void KeyRoutingForm::SetTimeout(bool on) { SwitchTimeOut(timeOutTimer_, TimeOutValue, on); }

void KeyRoutingForm::OnSetTimeOutValue(int32_t ms) {
  TimeOutValue = ConfigureTimeOut(timeOutTimer_, ms, "Primitives::KeyRoutingForm::OnSetTimeOutValue");
}

}  // namespace Primitives
