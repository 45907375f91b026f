// The setting pages of the home-network renderer and the media player.
//
// MediaPlayer::MediaRenderSetupMenu: installation (the wizard), the renderer
// switch, the device name, the controller page and the maximum volume.
// Opening the page ends a wizard left unfinished; installation starts one
// (the skin Wrapper's RendererInstalled flag), which the wizard's dialogs
// read to choose their previous and next screens.
//
// MediaPlayer::MediaControllerSetupMenu: access control and the controller
// choice, which is greyed while access control is off.
//
// MediaPlayer::MediaPlayerSetupMenu: automatic start of a plugged stick. The
// server row is taken out whenever the page opens, so the page shows one
// row; the server dialog is reached by a state change only.
#pragma once

#include <cstdint>

#include "units/MenuSystem/ThirdMenu.h"

namespace MenuSystem {
class SubMenuItem;
}

namespace MediaPlayer {

class MaxVolSeptupItem;

class MediaRenderSetupMenu : public MenuSystem::ThirdMenu {
  KV_CLASS(MediaPlayer, MediaRenderSetupMenu, MenuSystem::ThirdMenu)
 public:
  static constexpr uint32_t kWinId = 0x0100154b;
  enum Row : int32_t { kInstall, kRenderer, kDeviceName, kControllers, kMaxVolume, kRows };

  MediaRenderSetupMenu();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void ReInit() override;

  // The renderer row changed: the network media stay on, the renderer
  // follows the setting.
  void RenderEnable(kv::Object* sender = nullptr);
  // Starts the wizard, then opens the row's target as any row does.
  void DoActivate_Install(kv::Object* sender);
  void DoActivate_DeviceName(kv::Object* sender);
  // Number entry of the maximum-volume row began or ended: its help.
  void DoNumberEditChange(kv::Object* sender);

  MenuSystem::SubMenuItem* Item(Row r) { return rows_[r].get(); }
  MaxVolSeptupItem* MaxVolume();

 private:
  kv::Member<MenuSystem::SubMenuItem> rows_[kRows];
};

class MediaControllerSetupMenu : public MenuSystem::ThirdMenu {
  KV_CLASS(MediaPlayer, MediaControllerSetupMenu, MenuSystem::ThirdMenu)
 public:
  static constexpr uint32_t kWinId = 0x010154b1;
  MediaControllerSetupMenu();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void ReInit() override;
  // The controller choice is greyed while access control is off.
  void RefreshGrayout(kv::Object* sender = nullptr);

  MenuSystem::SubMenuItem* AccessControl() { return access_.get(); }
  MenuSystem::SubMenuItem* SelectController() { return select_.get(); }

 private:
  kv::Member<MenuSystem::SubMenuItem> access_;
  kv::Member<MenuSystem::SubMenuItem> select_;
};

class MediaPlayerSetupMenu : public MenuSystem::ThirdMenu {
  KV_CLASS(MediaPlayer, MediaPlayerSetupMenu, MenuSystem::ThirdMenu)
 public:
  static constexpr uint32_t kWinId = 0x01015311;
  MediaPlayerSetupMenu();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void ReInit() override;

  MenuSystem::SubMenuItem* AutoStart() { return autoStart_.get(); }
  MenuSystem::SubMenuItem* Servers() { return servers_.get(); }

 private:
  kv::Member<MenuSystem::SubMenuItem> autoStart_;
  kv::Member<MenuSystem::SubMenuItem> servers_;
};

}  // namespace MediaPlayer
