// MainApp::Root: the application root. It owns the screen, holds the
// start-up and standby sub-system and the first-time setup sequencer, and
// routes every event before the view tree sees it:
//
// Keys (presses): the power key becomes an Events::XPM_EVENT_STANDBY
// dispatched to the root, ahead of any dialog (also one that eats every key),
// unless the power key is switched off; in standby the power key wakes the
// set up and every other key is dropped. While the main menu or the
// first-time setup is shown, a front-panel key is remapped to the menu keys
// (CH+ up, CH- down, Vol+ right, Vol- left, Input OK). A key while the store
// demo runs only ends the demo; any other key restarts the automatic
// power-down and the store-demo delay. Then the modal group
// or the focused chain of screens gets the key (Core::Root).
//
// Other events: XPM_EVENT_STANDBY puts the set into standby,
// XPM_EVENT_FACTORY_RESET runs the factory reset; every other event is
// offered first to the media bridge, then in order to the active
// application, the live-TV dispatcher, the menu system and factory mode
// (each the first view of its class in the root's tree, when that class
// exists), and only then to the focused chain. The first that answers takes
// it.
#pragma once

#include <array>
#include <cstdint>

#include "keys/keycodes.h"
#include "runtime/member.h"
#include "units/Core/Root.h"

namespace Core {
class KeyEvent;
}

namespace MainApp {

class Standby;
class InitialSetup;

// The remap of the front-panel keys while the main menu or the setup is shown.
struct PanelRemap {
  uint16_t from;
  uint16_t to;
};
inline constexpr PanelRemap kPanelRemap[] = {{keys::KEY_CH_UP, keys::KEY_UP},
                                             {keys::KEY_CH_DOWN, keys::KEY_DOWN},
                                             {keys::KEY_VOL_UP, keys::KEY_RIGHT},
                                             {keys::KEY_VOL_DOWN, keys::KEY_LEFT},
                                             {keys::KEY_INPUT, keys::KEY_OK}};

class Root : public Core::Root {
  KV_CLASS(MainApp, Root, Core::Root)
 public:
  Root();

  // Once, at start: hands the Wrapper this root and initialises it, makes
  // DefaultAppData the persistent data's default-data slot, gives the event
  // agent its objects, then starts the set (the standby sub-system's
  // wake-up). A second call changes nothing.
  void Init();

  // Set before Init: a set whose first-time setup has not ended starts in
  // live TV all the same, the setup marked done in its settings (the test
  // harnesses and the key scripts that do not ask for a fresh set).
  bool SkipSetupAtStart = false;

  kv::Object* PreDispatch(Core::Event* event) override;
  // Also the skin Wrapper's TV101 flag (the user interface owns the screen).
  void SetTV101State(bool on) override;
  // The media bridge first (a non-null answer ends it), then the children.
  kv::Object* Broadcast(Core::Event* event, int32_t mode) override;

  // A screen is shown while the widget manager holds an open form.
  bool IsScreenShown() override;
  // While an effect runs or a screen announced an animation to the Wrapper.
  bool IsAnimationRunning() override;
  // While an effect that ends runs or a screen announced an animation that
  // ends (the players' and the media browser's stand while they are open).
  bool IsTransitionRunning() override;
  // The standby sub-system's view.
  bool IsInStandby() override;

  // Fills the default application settings (the persistent data's
  // OnLoadDefaultData slot); the table is in AppData.cpp.
  void DefaultAppData(kv::Object* sender);

  // The event road's stages after the media bridge, in order (null: the
  // class does not exist yet). Filled by the constructor.
  // A channel-acquired or source-acquired event is kept by the event agent
  // (the acquisition status screens read) and handled by it: the main
  // window's goes to live TV as a cached event. Answers the event when the
  // agent took it, else null (it goes on down the road).
  static kv::Object* KeepAcquired(Core::Event* event);

  std::array<const kv::Class*, 4> EventStages{};

  Standby* GetStandby() const { return standby_.get(); }
  InitialSetup* GetInitialSetup() const { return setup_.get(); }
  bool IsInitialized() const { return initialized_; }

 private:
  kv::Object* PreDispatchKey(Core::KeyEvent* key);
  // True while the main menu or the first-time setup is shown.
  bool IsMenuOrSetupShown();
  // The first view of `cls` in the tree below the root (two levels), or null.
  Core::View* FindStage(const kv::Class* cls);

  kv::Member<Standby> standby_;
  kv::Member<InitialSetup> setup_;
  bool initialized_ = false;
};

}  // namespace MainApp
