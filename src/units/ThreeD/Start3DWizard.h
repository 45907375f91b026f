// ThreeD::Start3DWizard: the invisible step machine that leads into 3D. It is
// opened by each screen that hands over to it (that screen's class is its
// PrevState), decides at once what follows, and opens it:
//   the format check (3D unsupported: message bar 9), a running 3D lock
//   period (3D starts at once), the important information (once by request),
//   the 3D timer expiry (confirmation 4), the 3D lock (PIN type 11, then the
//   lock timer), the format dialog (skipped when a format is detected), the
//   start message and at last the display-mode icon.
// All 3D state lives in the skin Wrapper's Setup3D.
#pragma once

#include <cstdint>

#include "units/NonMenuSystem/WidgetClass.h"

namespace ThreeD {

// The PIN type the wizard opens.
inline constexpr int32_t EnterPinType3DUnlock = 11;

class Start3DWizard : public NonMenuSystem::WidgetClass {
  KV_CLASS(ThreeD, Start3DWizard, NonMenuSystem::WidgetClass)
 public:
  Start3DWizard();

  // The base initialisation, then CheckNextState.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  // Decides the next screen from the previous one (see above) and posts
  // EnterNextState.
  void CheckNextState();
  // Applies the 3D state, then decides again. A slot (run one idle pass later).
  void PostCheckState(kv::Object* sender = nullptr);
  // Closes the wizard and opens the next state, if any, with the parameter.
  void EnterNextState() override;

  int32_t Param = 0;

 private:
  // Sets the next state (and its parameter) and posts EnterNextState.
  void Next(const kv::Class* cls, int32_t param = 0);
  // Starts 3D now: applied in the next pass, MSG_3D_STARTED, the icon.
  void Start3D();
  void StepTimerExpiry();
  void StepLockTimerAndFormat();
  void StepStart();
};

// Sends MSG_3D_STARTED (integer parameter 1) to every receiver.
void Send3DStarted();

// A 3D screen that the 3D signal, the 3D key or the wizard opened (no
// previous screen: not a step back to the menu's 3D pages) comes centred
// over whatever is open, a player or a page, as the set's own questions do:
// what it hides of the screens under it is marked as its own cover.
void MarkComesOverAll(NonMenuSystem::WidgetClass* screen);

}  // namespace ThreeD
