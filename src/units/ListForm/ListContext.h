// What the lists reach outside themselves: the skin Wrapper, the option
// database and the message agent (auto objects), with a logged error when
// one is missing.
#pragma once

#include <cstdint>

#include "runtime/object.h"

namespace SkinBin {
class Wrapper;
}
namespace OptionDatabase {
class OptionDatabaseClass;
}
namespace Agent {
class MessageAgent;
}

namespace Primitives {
class KeyRoutingForm;
}
namespace Structures {
class LocalTime;
class VirtualChannel;
}
namespace SubSystem {
class SubSystemClass;
}

namespace ListForm {

// The skin Wrapper behind MainApp::Wrapper; null (logged once per call)
// while the auto object is of another class.
SkinBin::Wrapper* SkinWrapper();
OptionDatabase::OptionDatabaseClass* OptionDB();
Agent::MessageAgent* MessageAgent();

// True when `obj` is of the class `cls` or derives from it; false for a
// class not built yet (null).
bool IsOfClass(const kv::Object* obj, const kv::Class* cls);
// The sub-system of the screen `form`, or null.
SubSystem::SubSystemClass* SubSystemOf(Primitives::KeyRoutingForm* form);

// What a list hands to the timer editor it opened (the guide's record
// toggle, the scheduled recordings): update mode, start and length. The
// editor's unit installs the function that applies it; until then the
// editor opens with its own values.
struct TimerEditorHandoff {
  bool isUpdate = false;
  Structures::LocalTime* start = nullptr;
  int32_t durationSeconds = 0;
  // The programme's channel (the guide's); null: the channel in tune.
  Structures::VirtualChannel* channel = nullptr;
};
using TimerEditorSetup = void (*)(Primitives::KeyRoutingForm* editor, const TimerEditorHandoff& handoff);
void SetTimerEditorSetup(TimerEditorSetup setup);
// Applies the handoff to an editor just opened (nothing until the editor's
// unit installed its setup).
void SetUpTimerEditor(Primitives::KeyRoutingForm* editor, const TimerEditorHandoff& handoff);
// Clears the editor's previous and next screens (Back closes it and no
// screen follows) and applies the handoff.
void HandToTimerEditor(Primitives::KeyRoutingForm* editor, const TimerEditorHandoff& handoff);

}  // namespace ListForm
