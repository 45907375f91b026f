// FactorySystem::FactorySystem: the sub-system of factory and service mode.
//
// The running-TV application offers it every event. It turns the factory
// command events (built by the host from the processor's result records and
// from discrete keys) into screens: an ordinary menu page at a 1-based row,
// the value display, the message boxes (a message with a post time waits
// for its timer), and the raw commands (picture mode and size, mute, input,
// antenna or cable, light sensor, local dimming, factory reset, the mode
// indicator, the status check). Service mode opens on a hidden combination:
// panel key 5 (input) while the held-key code 67 is reported.
//
// The Wrapper's factory-mode string is the mode's state: the skin's
// FACTORY_MODE_CAPTION in factory mode, SERVICE_MODE_CAPTION in service
// mode, empty otherwise.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/string.h"
#include "units/Core/Timer.h"
#include "units/SubSystem/SubSystemClass.h"

namespace Core {
class Event;
}
namespace OptionDatabase {
class OptionDataClass;
}
namespace Events {
class XPM_EVENT_FACTORY_COMMAND;
}

namespace FactorySystem {

class ModeIndicator;

// Kinds of Events::XPM_EVENT_FACTORY_COMMAND.
inline constexpr int32_t FACTORY_COMMAND_DISPLAY_MENU = 0;
inline constexpr int32_t FACTORY_COMMAND_DISPLAY_VALUE = 1;
inline constexpr int32_t FACTORY_COMMAND_RAW = 2;
inline constexpr int32_t FACTORY_COMMAND_DISPLAY_MESSAGE = 3;

// The message parameter word.
inline constexpr int32_t MESSAGE_PARAM_POST_TIME = 0xF;
inline constexpr int32_t MESSAGE_PARAM_TIMEOUT = 0xF0;
inline constexpr int32_t MESSAGE_PARAM_TIMEOUT_SHIFT = 4;
inline constexpr int32_t MESSAGE_PARAM_FG_COLOR = 0xF00;
inline constexpr int32_t MESSAGE_PARAM_FG_COLOR_SHIFT = 8;
inline constexpr int32_t MESSAGE_PARAM_BG_COLOR = 0xF000;
inline constexpr int32_t MESSAGE_PARAM_BG_COLOR_SHIFT = 12;
inline constexpr int32_t MESSAGE_PARAM_TYPE = 0xF0000;
inline constexpr int32_t MESSAGE_PARAM_TYPE_TOUCH_KEY = 0x10000;

class FactorySystem : public SubSystem::SubSystemClass {
  KV_CLASS(FactorySystem, FactorySystem, SubSystem::SubSystemClass)
 public:
  FactorySystem();

  // Key-routing group set-up, full-screen bounds, registration with the
  // message agent.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Close() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  // MSG_CLEAR_ALL closes the factory screens' layers (0x9000).
  void HandleMessage(Structures::Message* msg) override;
  Primitives::KeyRoutingForm* ChangeState(SubSystem::State* state) override;

  int32_t ProcessFacRawCommand(uint32_t code);
  // A menu page of `menuClass` focused at the 1-based row `index`.
  void DisplayResultMenu(const kv::Class* menuClass, int32_t index);
  // MSG_CLEAR_ALL to every receiver of the message agent.
  void ClearAll();
  // Keeps the event and hands it to HandleEvent again `seconds` later (a
  // second posted event replaces the first).
  void PostHandleEvent(Events::XPM_EVENT_FACTORY_COMMAND* event, int32_t seconds);
  void HandlePostEvent(kv::Object* sender = nullptr);
  int32_t DiscreteKey2KeyEvent(uint32_t code);
  bool DiscreteKeyNeedHandled(uint32_t code);
  bool IsDiscreteKeyNotAvailable(uint32_t code);
  static int32_t Command2Value(uint32_t code);
  static int32_t Command2SrcId(uint32_t code);
  // Whether one of the option's entries has that value (and, with a
  // caption, that caption).
  static bool IsValueValid(OptionDatabase::OptionDataClass* option, int32_t value);
  static bool IsValueCaptionValid(OptionDatabase::OptionDataClass* option, int32_t value, const kv::String& caption);
  static bool IsInFactoryMode();
  static bool IsInServiceMode();

  // Opens `cls` with `param` (nothing when the class does not exist).
  Primitives::KeyRoutingForm* OpenState(const kv::Class* cls, kv::Object* param = nullptr,
                                        const kv::Class* prev = nullptr);
  ModeIndicator* Indicator() const { return modeIndicator_.get(); }
  // A screen that takes keys closed: when none is left, the running-TV
  // application's focus goes back to live TV.
  void ReleaseKeys();

 private:
  void HandleFactoryEvent(Events::XPM_EVENT_FACTORY_COMMAND* event);
  void ShowIndicator(const kv::String& caption);
  void LeaveMode(const kv::String& caption);
  void SetPictureOption(uint32_t code, int32_t optionId, const kv::Class* screen);
  void Unfreeze();

  Core::Timer postTimer_;
  kv::Member<Events::XPM_EVENT_FACTORY_COMMAND> postedEvent_;
  kv::Member<ModeIndicator> modeIndicator_;
};

}  // namespace FactorySystem
