// Overlay::Player: an invisible view standing for anything that plays a
// sequence of media items. It keeps the playback state (1 playing, 2
// paused, 7 stopped), the speed step, repeat and random modes, zoom and
// the current item, and turns the transport keys into changes of these
// through its virtual setters, which a concrete player overrides.
#pragma once

#include <cstdint>

#include "runtime/geometry.h"
#include "runtime/member.h"
#include "units/Core/View.h"

namespace Overlay {

class Player : public Core::View {
  KV_CLASS(Overlay, Player, Core::View)
 public:
  Player();

  kv::Object* HandleEvent(Core::Event* event) override;

  virtual void OnSetState(uint16_t state) { State = state; }
  virtual void OnSetSpeed(int32_t speed) { Speed = speed; }
  virtual void Next() {}
  virtual void Prev() {}
  virtual void Restart() {}
  virtual int32_t GetTotalItems() { return 0; }
  virtual void OnSetRepeat(uint16_t repeat) { Repeat = repeat; }
  virtual void OnSetRandom(uint16_t random) { Random = random; }
  virtual void HandleZoomChange(uint16_t factor, uint16_t /*direction*/) { ZoomFactor = factor; }
  virtual void OnSetZoomRect(kv::Rect rect) { ZoomRect = rect; }
  virtual bool IsRepeatModeSupported(uint16_t /*mode*/) { return false; }
  virtual void OnSetCurrentUID(int32_t uid) { CurrentUID = uid; }
  virtual int32_t OnGetCurrentUID() { return CurrentUID; }
  virtual int32_t OnGetSpeed() { return Speed; }

  uint16_t OnGetState() const { return State; }
  uint16_t OnGetRepeat() const { return Repeat; }
  uint16_t OnGetRandom() const { return Random; }
  Core::View* OnGetRoot() const { return Root.get(); }
  void OnSetRoot(Core::View* root) { Root = root; }
  uint16_t OnGetZoomFactor() const { return ZoomFactor; }
  void OnSetZoomFactor(uint16_t f) { ZoomFactor = f; }
  kv::Rect OnGetZoomRect() const { return ZoomRect; }
  uint16_t OnGetMediaType() const { return MediaType; }
  void OnSetMediaType(uint16_t t) { MediaType = t; }

  uint16_t MediaType = 0;
  uint16_t ZoomFactor = 0;
  uint16_t Random = 0;
  uint16_t Repeat = 0;
  uint16_t State = 7;
  int32_t Speed = 0;
  kv::Member<Core::View> Root;
  kv::Rect ZoomRect{};
  int32_t CurrentUID = 0;

 private:
  // Playing at the next step of the cycle 0 -> a -> b -> c -> 0.
  void StepSpeed(int32_t a, int32_t b, int32_t c);
};

}  // namespace Overlay
