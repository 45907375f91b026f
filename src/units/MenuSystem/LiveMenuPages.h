// The pages of the live menu tree: for each page its level, the page Back
// returns to, its title and its items. Items whose presence depends on the
// set (source, live-TV state, stored PIN, USB disk, picture-in-picture,
// network type, media renderer, rating region) are decided as the page
// opens, or in LoadSettings where they follow every option change.
#pragma once

#include "units/MenuSystem/LiveMenu.h"

namespace MenuSystem {

class VidiPictureMenu : public VidiSubMenu {
  KV_CLASS(MenuSystem, VidiPictureMenu, VidiSubMenu)
 public:
  VidiPictureMenu();
};

class VidiPictureSettingsMenu : public VidiSubMenu {
  KV_CLASS(MenuSystem, VidiPictureSettingsMenu, VidiSubMenu)
 public:
  VidiPictureSettingsMenu();
};

class VidiAdvancedSettingsMenu : public VidiSubMenu {
  KV_CLASS(MenuSystem, VidiAdvancedSettingsMenu, VidiSubMenu)
 public:
  VidiAdvancedSettingsMenu();
};

class VidiAudioMenu : public VidiSubMenu {
  KV_CLASS(MenuSystem, VidiAudioMenu, VidiSubMenu)
 public:
  VidiAudioMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void LoadSettings() override;
};

class VidiTrebleBassMenu : public VidiSubMenu {
  KV_CLASS(MenuSystem, VidiTrebleBassMenu, VidiSubMenu)
 public:
  VidiTrebleBassMenu();
};

class VidiChannelsMenu : public VidiSubMenu {
  KV_CLASS(MenuSystem, VidiChannelsMenu, VidiSubMenu)
 public:
  VidiChannelsMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void DoActivate(kv::Object* sender) override;
};

class VidiSettingsMenu : public VidiSubMenu {
  KV_CLASS(MenuSystem, VidiSettingsMenu, VidiSubMenu)
 public:
  VidiSettingsMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
};

class VidiScaleWindowMenu : public VidiSubMenu {
  KV_CLASS(MenuSystem, VidiScaleWindowMenu, VidiSubMenu)
 public:
  VidiScaleWindowMenu();
};

class VidiCCMenu : public VidiSubMenu {
  KV_CLASS(MenuSystem, VidiCCMenu, VidiSubMenu)
 public:
  VidiCCMenu();
};

class VidiDTVCCStyleMenu : public VidiSubMenu {
  KV_CLASS(MenuSystem, VidiDTVCCStyleMenu, VidiSubMenu)
 public:
  VidiDTVCCStyleMenu();
};

class VidiPIPMenu : public VidiSubMenu {
  KV_CLASS(MenuSystem, VidiPIPMenu, VidiSubMenu)
 public:
  VidiPIPMenu();
  void LoadSettings() override;
  // Tears the menu down and swaps the main and sub window sources. A slot.
  void SwapSource(kv::Object* sender = nullptr);
};

class VidiDateTimeMenu : public VidiSubMenu {
  KV_CLASS(MenuSystem, VidiDateTimeMenu, VidiSubMenu)
 public:
  VidiDateTimeMenu();
};

class VidiNetworkingMenu : public VidiSubMenu {
  KV_CLASS(MenuSystem, VidiNetworkingMenu, VidiSubMenu)
 public:
  VidiNetworkingMenu();
  void LoadSettings() override;
};

class VidiWirelessSetup : public VidiSubMenu {
  KV_CLASS(MenuSystem, VidiWirelessSetup, VidiSubMenu)
 public:
  VidiWirelessSetup();
};

class VidiWPSPinMenu : public VidiSubMenu {
  KV_CLASS(MenuSystem, VidiWPSPinMenu, VidiSubMenu)
 public:
  VidiWPSPinMenu();
};

class VidiInputMenu : public VidiSubMenu {
  KV_CLASS(MenuSystem, VidiInputMenu, VidiSubMenu)
 public:
  VidiInputMenu();
};

class VidiCECMenu : public VidiSubMenu {
  KV_CLASS(MenuSystem, VidiCECMenu, VidiSubMenu)
 public:
  VidiCECMenu();
};

class VidiLocksMenu : public VidiSubMenu {
  KV_CLASS(MenuSystem, VidiLocksMenu, VidiSubMenu)
 public:
  VidiLocksMenu();
};

class VidiRatingsLocksMenu : public VidiSubMenu {
  KV_CLASS(MenuSystem, VidiRatingsLocksMenu, VidiSubMenu)
 public:
  VidiRatingsLocksMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
};

class VidiRecordMenu : public VidiSubMenu {
  KV_CLASS(MenuSystem, VidiRecordMenu, VidiSubMenu)
 public:
  VidiRecordMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
};

class VidiScheduleRecordMenu : public VidiSubMenu {
  KV_CLASS(MenuSystem, VidiScheduleRecordMenu, VidiSubMenu)
 public:
  VidiScheduleRecordMenu();
  void DoActivate(kv::Object* sender) override;
};

class VidiMediaMenu : public VidiSubMenu {
  KV_CLASS(MenuSystem, VidiMediaMenu, VidiSubMenu)
 public:
  VidiMediaMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
};

}  // namespace MenuSystem
