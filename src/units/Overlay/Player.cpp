#include "units/Overlay/Player.h"

#include "keys/keycodes.h"
#include "units/Core/Event.h"

KV_REGISTER_CLASS(Overlay::Player);

namespace Overlay {

using namespace keys;

Player::Player() { OnSetVisible(false); }

void Player::StepSpeed(int32_t a, int32_t b, int32_t c) {
  OnSetState(1);
  const int32_t s = OnGetSpeed();
  OnSetSpeed(s == 0 ? a : s == a ? b : s == b ? c : 0);
}

kv::Object* Player::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down || key->Code >= KEY_CLEAR) return nullptr;
  switch (key->Code) {
    case KEY_EXIT:
    case KEY_STOP:
      OnSetState(7);
      return this;
    case KEY_PREV:
      Prev();
      return this;
    case KEY_NEXT:
      Next();
      return this;
    case KEY_PLAY:
      OnSetState(1);
      OnSetSpeed(0);
      return this;
    case KEY_PAUSE:
      OnSetState(2);
      return this;
    case KEY_LAST:
      StepSpeed(-1, -2, -3);
      return this;
    case KEY_SPEED:
      StepSpeed(1, 2, 3);
      return this;
    case KEY_FAR_BACK:
      StepSpeed(-4, -5, -6);
      return this;
    case KEY_FAR_AHEAD:
      StepSpeed(4, 5, 6);
      return this;
    case KEY_POWER:
      OnSetState(7);
      return nullptr;
    case KEY_OK:
    case KEY_MENU:
    case KEY_UP:
    case KEY_DOWN:
    case KEY_LEFT:
    case KEY_RIGHT:
    case KEY_RESERVED_60:
    case KEY_WIDGETS:
      return this;
    default:
      return nullptr;
  }
}

}  // namespace Overlay
