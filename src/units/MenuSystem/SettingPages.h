// The setting pages of setup, preferences and applications: each a table of
// rows (SettingPages.cpp) and, where the page has one, its own rule for
// greying or removing rows and for what its rows do beyond opening a page.
#pragma once

#include <cstdint>

#include "units/MenuSystem/SettingPage.h"

namespace MenuSystem {

// A page that is its table and nothing more.
#define MENUSYSTEM_TABLE_PAGE(Name)                 \
  class Name : public SettingPage {                 \
    KV_CLASS(MenuSystem, Name, SettingPage)         \
   public:                                          \
    Name();                                         \
  };

MENUSYSTEM_TABLE_PAGE(LocalTimeMenu)
MENUSYSTEM_TABLE_PAGE(HDMIInputModeMenu)
MENUSYSTEM_TABLE_PAGE(AudysseyEQMenu)
MENUSYSTEM_TABLE_PAGE(BrontelMenu)

// Tuner rows follow the source; the PIN decides where reset and auto tuning go.
class SetupMenu : public SettingPage {
  KV_CLASS(MenuSystem, SetupMenu, SettingPage)
 public:
  SetupMenu();
  void RefreshGrayout() override;
  void RowChanged(SubMenuItem* row) override;
  // The menu language row changed: the language is applied (every page
  // re-reads its texts and help strings at the end of the pass).
  void UpdateMenuLanguage(SubMenuItem* row);
};

class PreferencesMenu : public SettingPage {
  KV_CLASS(MenuSystem, PreferencesMenu, SettingPage)
 public:
  PreferencesMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void RefreshGrayout() override;
};

class ApplicationsMenu : public SettingPage {
  KV_CLASS(MenuSystem, ApplicationsMenu, SettingPage)
 public:
  ApplicationsMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void RefreshGrayout() override;
  void DoActivate(kv::Object* sender) override;
  // The favourites browser opens on the favourites list.
  void EnterBrowser(kv::Object* sender);
  // The widget and web-portal rows launch the widget application.
  void LaunchYahoo(kv::Object* sender);
};

class TVSettingsMenu : public SettingPage {
  KV_CLASS(MenuSystem, TVSettingsMenu, SettingPage)
 public:
  TVSettingsMenu();
  void RefreshGrayout() override;
};

class ClosedCaptionMenu : public SettingPage {
  KV_CLASS(MenuSystem, ClosedCaptionMenu, SettingPage)
 public:
  ClosedCaptionMenu();
  void RefreshGrayout() override;
};

// Shows a caption sample while open; text and background colour may not
// hold the same colour.
class DigitalCCMenu : public SettingPage {
  KV_CLASS(MenuSystem, DigitalCCMenu, SettingPage)
 public:
  DigitalCCMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Close() override;
  void RowChanged(SubMenuItem* row) override;
  // The captions' own settings back to their defaults.
  void ResetSlot(kv::Object* sender);

 private:
  void ShowSample(bool on);
  int32_t last_[2] = {0, 0};
};

class CECSetupMenu : public SettingPage {
  KV_CLASS(MenuSystem, CECSetupMenu, SettingPage)
 public:
  CECSetupMenu();
  void RefreshGrayout() override;
  void RefreshSpeaker();
};

class NetworkSetupMenu : public SettingPage {
  KV_CLASS(MenuSystem, NetworkSetupMenu, SettingPage)
 public:
  NetworkSetupMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void RefreshGrayout() override;
};

class ChBrowserSetupMenu : public SettingPage {
  KV_CLASS(MenuSystem, ChBrowserSetupMenu, SettingPage)
 public:
  ChBrowserSetupMenu();
  void RefreshGrayout() override;
};

class NetflixSetupMenu : public SettingPage {
  KV_CLASS(MenuSystem, NetflixSetupMenu, SettingPage)
 public:
  NetflixSetupMenu();
  void RefreshGrayout() override;
};

class DisplaySettingsMenu : public SettingPage {
  KV_CLASS(MenuSystem, DisplaySettingsMenu, SettingPage)
 public:
  DisplaySettingsMenu();
  void RefreshGrayout() override;
};

class AVConnectionMenu : public SettingPage {
  KV_CLASS(MenuSystem, AVConnectionMenu, SettingPage)
 public:
  AVConnectionMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void RefreshGrayout() override;
};

// The hidden combination 8+2 opens a further page.
class HiddenComboPage : public SettingPage {
  KV_CLASS(MenuSystem, HiddenComboPage, SettingPage)
 public:
  HiddenComboPage() = default;
  kv::Object* HandleEvent(Core::Event* event) override;

 protected:
  virtual const kv::Class* HiddenPage() { return nullptr; }
};

class HDMISettingsMenu : public HiddenComboPage {
  KV_CLASS(MenuSystem, HDMISettingsMenu, HiddenComboPage)
 public:
  HDMISettingsMenu();
  void ShowInputModeMenu() { OpenSubPage(HiddenPage()); }

 protected:
  const kv::Class* HiddenPage() override;
};

class AdvancedSoundSettingsMenu : public HiddenComboPage {
  KV_CLASS(MenuSystem, AdvancedSoundSettingsMenu, HiddenComboPage)
 public:
  AdvancedSoundSettingsMenu();
  void ShowAudEQMenu() { OpenSubPage(HiddenPage()); }
  void RowChanged(SubMenuItem* row) override;

 protected:
  const kv::Class* HiddenPage() override;
};

class EnergySavingSettingsMenu : public SettingPage {
  KV_CLASS(MenuSystem, EnergySavingSettingsMenu, SettingPage)
 public:
  EnergySavingSettingsMenu();
  void RefreshGrayout() override;
};

// One row per valid source, each a bit of the no-signal power-down mask.
class NoSignalPowerDownMenu : public SettingPage {
  KV_CLASS(MenuSystem, NoSignalPowerDownMenu, SettingPage)
 public:
  NoSignalPowerDownMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void LoadSettings() override;
  void RowChanged(SubMenuItem* row) override;
  void ChangeNoSignal(SubMenuItem* row);
  // The mask with the bit of `source` set or cleared; a source outside
  // 0..31 has no bit and leaves the mask as it is.
  static int32_t NoSignalMask(int32_t mask, int32_t source, bool on);
};

class ParentalLocksMenu : public SettingPage {
  KV_CLASS(MenuSystem, ParentalLocksMenu, SettingPage)
 public:
  ParentalLocksMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
};

class AutoInputMenu : public SettingPage {
  KV_CLASS(MenuSystem, AutoInputMenu, SettingPage)
 public:
  AutoInputMenu();
  void RefreshGrayout() override;
};

class AppMediaPlayerMenu : public SettingPage {
  KV_CLASS(MenuSystem, AppMediaPlayerMenu, SettingPage)
 public:
  AppMediaPlayerMenu();
  void Open() override;
};

class AutoDemoMenu : public SettingPage {
  KV_CLASS(MenuSystem, AutoDemoMenu, SettingPage)
 public:
  AutoDemoMenu();
  void RefreshGrayout() override;
  void DoActivate(kv::Object* sender) override;
  void StartDemoSlot(kv::Object* sender);
};

class OnTimerMenu : public SettingPage {
  KV_CLASS(MenuSystem, OnTimerMenu, SettingPage)
 public:
  OnTimerMenu();
  void RefreshGrayout() override;
  void DoActivate(kv::Object* sender) override;
  // Stores the on-timer from the rows and leaves the page.
  void SetTimerData(kv::Object* sender);
};

class DummyMenu : public SettingPage {
  KV_CLASS(MenuSystem, DummyMenu, SettingPage)
 public:
  DummyMenu();
  void DoActivate(kv::Object* sender) override;
  void DoActivateChannels(kv::Object* sender);
};

}  // namespace MenuSystem
