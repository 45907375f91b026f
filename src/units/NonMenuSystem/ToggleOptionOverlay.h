// NonMenuSystem::ToggleOptionOverlay (0x2000002): the one-line overlay of an
// option with named choices: caption, the current choice between two
// arrows; the toggle keys step through the choices, wrapping at both ends,
// and write each one at once (and mark the option changed). The sound-track
// key (70) on the sound-track option and the caption key (76) on the
// caption-key option step too. OK, back, Up and Down leave as the
// adjustment bars do. An option with no choices steps nothing.
#pragma once

#include <cstdint>

#include "keys/keycodes.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/Views/Image.h"
#include "units/Views/Text.h"

namespace NonMenuSystem {

class ToggleOptionOverlay : public BorderWidgetClass {
  KV_CLASS(NonMenuSystem, ToggleOptionOverlay, BorderWidgetClass)
 public:
  ToggleOptionOverlay();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void EnterPrevState() override;
  void Refresh() override;

  void OnSetOptionType(int32_t id);
  int32_t OnGetOptionType() const { return OptionType; }
  void ToggleOption(bool increase);

  void OnSetToggleIncreaseKey(uint32_t key) { ToggleIncreaseKey = static_cast<uint16_t>(key); }
  uint16_t OnGetToggleIncreaseKey() const { return ToggleIncreaseKey; }
  void OnSetToggleDecreaseKey(uint32_t key) { ToggleDecreaseKey = static_cast<uint16_t>(key); }
  uint16_t OnGetToggleDecreaseKey() const { return ToggleDecreaseKey; }

  Views::Text& ValueText() { return value_; }
  Views::Image& LeftArrow() { return left_; }
  Views::Image& RightArrow() { return right_; }

  int32_t OptionType = 0;
  int32_t Index = 0;
  int32_t Count = 0;
  uint16_t ToggleIncreaseKey = keys::KEY_RIGHT;
  uint16_t ToggleDecreaseKey = keys::KEY_LEFT;
  bool UpPressed = false;
  bool DownPressed = false;

 private:
  Views::Text value_;
  Views::Image left_;
  Views::Image right_;
};

}  // namespace NonMenuSystem
