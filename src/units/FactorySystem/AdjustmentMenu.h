// FactorySystem::AdjustmentMenu: the service mode's adjustment menu. It
// shows one option at a time as a value display: the six white-balance
// offsets and gains, four picture-centre settings and the model id.
// Channel up and down step through the options (wrapping), volume up and
// down change the value (sliders stop at their ends, the model id wraps),
// each change written through the option's property at once. Digit 9 opens
// the status check; the panel's menu key closes the menu; back on the model
// id while held-key code 58 is reported raises a factory reset.
#pragma once

#include <cstdint>

#include "units/FactorySystem/Screens.h"

namespace Core {
class Event;
}
namespace OptionDatabase {
class OptionDataClass;
}

namespace FactorySystem {

inline constexpr int32_t kAdjustmentOptions = 11;
inline constexpr int32_t kModelIdOption = 10;

class AdjustmentMenu : public ValueDisplay {
  KV_CLASS(FactorySystem, AdjustmentMenu, ValueDisplay)
 public:
  AdjustmentMenu();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;

  void ToggleType(bool forward);
  void SetOptionType(int32_t optionId);
  void ChangeValue(bool up);
  // The option id of an index of the menu (0 to 10).
  static int32_t OptionId(int32_t index);

  int32_t OptionIndex = 0;
  int32_t ModelIdIndex = 0;
  int32_t ModelIdCount = 0;
  int32_t SliderMax = 255;
  int32_t SliderMin = 0;
  int32_t SliderStep = 1;

 private:
  OptionDatabase::OptionDataClass* Record(int32_t optionId);
  void ShowOptionName();
};

}  // namespace FactorySystem
