// What the network dialogs and the wizard's states share: messages to the
// other sub-systems through the message agent, the wrapping focus walk of
// their up and down keys, and the look of their row labels.
#pragma once

#include <cstdint>

namespace kv {
struct Class;
class Object;
class String;
}  // namespace kv
namespace Forms {
class Form;
}
namespace Views {
class Text;
}

namespace Network {

// Hands the message (code, object, integer) to the receivers of class
// `target`; nothing without the message agent or a target.
void SendTo(int32_t code, kv::Object* object, int32_t param, const kv::Class* target);
// The waiting circle of the screens outside the menu: 1 shown, 2 hidden,
// 0 removed.
void SendWaitingCircle(int32_t value);
// Hands a standby event on to the standby handling, once the screen that
// held it has cancelled what it was doing.
void PassOnStandby(kv::Object* event);
// Up and down in a dialog: the next or previous control, wrapping round.
void MoveFocus(Forms::Form& form, bool down);
// A row label: medium font, standard text colour, vertically centred,
// auto-sized to `text`.
void SetUpLabel(Views::Text& label, const kv::String& text);

}  // namespace Network
