// The picture and sound setting pages: their row tables (PictureSoundPages.cpp)
// and the rules that grey rows out by source, picture preset and series,
// keep one colour of the RGB filter on and keep dynamic volume and the
// dynamic range control apart.
#pragma once

#include <cstdint>

#include "units/MenuSystem/SettingPages.h"
#include "units/Views/Text.h"

namespace MenuSystem {

MENUSYSTEM_TABLE_PAGE(WhiteBalance2PMenu)
MENUSYSTEM_TABLE_PAGE(WhiteBalance10PMenu)
MENUSYSTEM_TABLE_PAGE(PCSettingsMenu)
MENUSYSTEM_TABLE_PAGE(PicturePositionMenu)
MENUSYSTEM_TABLE_PAGE(ColorSensorSettingsMenu)
MENUSYSTEM_TABLE_PAGE(NoiseReductionMenu)

class PictureMenu : public SettingPage {
  KV_CLASS(MenuSystem, PictureMenu, SettingPage)
 public:
  PictureMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void RefreshGrayout() override;
};

class AdvancedPictureMenu : public SettingPage {
  KV_CLASS(MenuSystem, AdvancedPictureMenu, SettingPage)
 public:
  AdvancedPictureMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void RefreshGrayout() override;
  // Takes out the rows the series has no use for.
  void CheckSeries(int32_t series);
};

class ExpertPictureMenu : public SettingPage {
  KV_CLASS(MenuSystem, ExpertPictureMenu, SettingPage)
 public:
  ExpertPictureMenu();
  void RefreshGrayout() override;
};

class WhiteBalanceMenu : public SettingPage {
  KV_CLASS(MenuSystem, WhiteBalanceMenu, SettingPage)
 public:
  WhiteBalanceMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void RefreshGrayout() override;
  void RefreshWBType();
};

// At least one colour of the filter stays on.
class RGBFilterMenu : public SettingPage {
  KV_CLASS(MenuSystem, RGBFilterMenu, SettingPage)
 public:
  RGBFilterMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void RowChanged(SubMenuItem* row) override;
  void RefreshRGBFilter(SubMenuItem* changed);
  int32_t OffCount() const { return offCount_; }

 private:
  int32_t offCount_ = 0;
};

class BaseColorAdjustmentMenu : public SettingPage {
  KV_CLASS(MenuSystem, BaseColorAdjustmentMenu, SettingPage)
 public:
  BaseColorAdjustmentMenu();
  void ReInit() override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

 private:
  Views::Text headings_[3];
};

class AutoBrightnessSensorMenu : public SettingPage {
  KV_CLASS(MenuSystem, AutoBrightnessSensorMenu, SettingPage)
 public:
  AutoBrightnessSensorMenu();
  void RefreshGrayout() override;
};

class FinexaMenu : public SettingPage {
  KV_CLASS(MenuSystem, FinexaMenu, SettingPage)
 public:
  FinexaMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void RefreshGrayout() override;
};

class SoundMenu : public SettingPage {
  KV_CLASS(MenuSystem, SoundMenu, SettingPage)
 public:
  SoundMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void RefreshGrayout() override;
  void RowChanged(SubMenuItem* row) override;
  void UpdateSoundSettings(SubMenuItem* row);
};

}  // namespace MenuSystem
