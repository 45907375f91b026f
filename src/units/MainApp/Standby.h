// MainApp::Standby: the start-up and standby sub-system.
//
// WakeUp (at start, and on the power key in standby) enters the first-time
// setup while the persisted setup step is not 9 and its page exists, else
// normal TV. EnterStandby closes every screen and asks the middleware for
// standby; a second standby request while in standby changes nothing.
// Messages: MSG_RESTART_INITIAL_SETUP restarts the setup at its first page;
// MSG_EVENT_CACHED with a standby event as object puts the set into standby.
#pragma once

#include <cstdint>

#include "units/SubSystem/SubSystemClass.h"

namespace Structures {
class Message;
}

namespace MainApp {

class Root;

class Standby : public SubSystem::SubSystemClass {
  KV_CLASS(MainApp, Standby, SubSystem::SubSystemClass)
 public:
  Standby() = default;

  void WakeUp();
  void EnterStandby(int32_t reason);
  // Starts the normal TV operation: the media service, the DLNA setting and
  // the active application (when its class exists).
  void EnterNormalTVState();
  // Awake on the media input with no media screen open: back to the last
  // TV source, so that the set does not wake to an empty input.
  void LeaveEmptyMediaInput();
  // The factory reset: every screen closed, the Wrapper's ResetAll, then
  // the first-time setup from its first page (a slot).
  void DoResetFactory(kv::Object* sender = nullptr);
  void HandleMessage(Structures::Message* msg) override;

  bool IsInStandby() const { return inStandby_; }
  bool IsNormalTV() const { return normalTV_; }
  bool IsInSetup() const { return inSetup_; }

 private:
  void StartInitialSetup();
  void SetupComplete(kv::Object* sender);
  Root* AppRoot() const;

  bool inStandby_ = false;
  bool normalTV_ = false;
  bool inSetup_ = false;
};

}  // namespace MainApp
