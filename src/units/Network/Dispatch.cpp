#include "units/Network/Dispatch.h"

#include "runtime/auto_object.h"
#include "units/Agent/MessageAgent.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Fonts/Fonts.h"
#include "units/Forms/Form.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Resources/Resources.h"
#include "units/Structures/Message.h"
#include "units/Views/Text.h"
#include "units/Wrapper/Wrapper.h"

namespace Network {

void SendTo(int32_t code, kv::Object* object, int32_t param, const kv::Class* target) {
  auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent);
  if (!agent || !target) return;
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(code, object, param);
  agent->DispatchTo(msg, target);
}

void SendWaitingCircle(int32_t value) {
  SendTo(Constants::MSG_SHOW_WAITING_CIRCLE, nullptr, value, &NonMenuSystem::NonMenuSystem::StaticClass());
}

void PassOnStandby(kv::Object* event) {
  SendTo(Constants::MSG_EVENT_CACHED, event, -1, KV_LATE_CLASS("MainApp::Standby"));
}

void MoveFocus(Forms::Form& form, bool down) {
  if (down) {
    if (!form.SelectNext()) form.SelectFirst();
  } else if (!form.SelectPrev()) {
    form.SelectLast();
  }
}

void SetUpLabel(Views::Text& label, const kv::String& text) {
  label.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  label.OnSetColor(Colors::StandardTextColor);
  label.OnSetAlignV(1);
  label.OnSetAutoSize(true);
  label.OnSetString(text);
}

}  // namespace Network
