// MainApp::ActiveApp: the application that runs while the set shows
// television. It covers the screen inside the root and holds the three
// sub-systems, created in this order when it initialises: the screens
// outside the menu (NonMenuSystem::NonMenuSystem, which takes the focus),
// the menu system and factory mode (each once its class exists).
//
// Keys travel down the focused chain (root, this application, the focused
// sub-system, its screen) and bubble back up; a key press that the focused
// sub-system left is then offered here to the other sub-systems, in the
// order above, so that the Menu key reaches the menu system from live TV
// and the volume keys reach live TV over the menu. Middleware events reach
// the sub-systems through the root's event road, not through here.
#pragma once

#include "units/Primitives/KeyRoutingGroup.h"

namespace MainApp {

class ActiveApp : public Primitives::KeyRoutingGroup {
  KV_CLASS(MainApp, ActiveApp, Primitives::KeyRoutingGroup)
 public:
  ActiveApp() = default;

  // The parent, full-screen bounds, then the sub-systems.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  // Opens into the root and takes the root's focus.
  void Open() override;
  kv::Object* HandleEvent(Core::Event* event) override;

  // The sub-system of that class among the children, or null.
  Primitives::KeyRoutingGroup* FindSubSystem(const kv::Class* cls) const;

 private:
  // Creates, initialises and opens one sub-system; null when its class does not exist.
  Primitives::KeyRoutingGroup* AddSubSystem(const kv::Class* cls);
};

}  // namespace MainApp
