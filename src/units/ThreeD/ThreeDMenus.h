// The 3D pages of the setting menu.
//
// ThreeD::ThreeDMenu (under Preferences): the 2D-to-3D depth slider (only
// while 2D is turned into 3D in the 2D mode), 3D auto start, the 3D PIN
// (a new one when none is stored, else the PIN first and then the PIN page),
// the safety settings behind the 3D PIN (greyed while there is none) and the
// 3D viewing information.
// ThreeD::ThreeDSafetyMenu: start message, 3D lock, 3D timer lock and 3D
// timer; the timer lock only counts while the 3D lock is on, so it is cleared
// and greyed whenever the lock is off.
// ThreeD::ThreeDPinMenu: change or delete the 3D PIN through the PIN dialogs.
#pragma once

#include "units/MenuSystem/SettingPage.h"

namespace ThreeD {

class ThreeDMenu : public MenuSystem::SettingPage {
  KV_CLASS(ThreeD, ThreeDMenu, MenuSystem::SettingPage)
 public:
  ThreeDMenu();
  void RefreshGrayout() override;
};

class ThreeDSafetyMenu : public MenuSystem::SettingPage {
  KV_CLASS(ThreeD, ThreeDSafetyMenu, MenuSystem::SettingPage)
 public:
  ThreeDSafetyMenu();
  void RefreshGrayout() override;
};

class ThreeDPinMenu : public MenuSystem::SettingPage {
  KV_CLASS(ThreeD, ThreeDPinMenu, MenuSystem::SettingPage)
 public:
  ThreeDPinMenu();
};

}  // namespace ThreeD
