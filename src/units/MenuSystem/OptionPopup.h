// MenuSystem::VidiOptionMenu: the list of an option's choices that stands
// to the right of a live-menu page beside a value item. It opens unfocused
// with the current choice focused; every choice that gets the focus is
// applied to the set at once (unchanged values are not written again) and
// MSG_OPTION_CHANGE lets the open pages show it. Left or Back hands the
// focus back to the page.
#pragma once

#include <cstdint>

#include "units/SubSystem/MenuClass.h"
#include "units/Views/Border.h"
#include "units/Views/Rectangle.h"

namespace MenuSystem {

class VidiOptionMenu : public SubSystem::MenuClass {
  KV_CLASS(MenuSystem, VidiOptionMenu, SubSystem::MenuClass)
 public:
  static constexpr int32_t kChoiceWidth = 200;
  static constexpr int32_t kChoiceHeight = 35;

  VidiOptionMenu();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;
  void Refresh() override;
  void DoFocus(kv::Object* sender) override;
  void DoTimeout(kv::Object* sender) override;
  // A new menu language names the choices again in it.
  void ReInit() override;
  void LoadingSettings();

  int32_t OptionType = 0;
  int32_t ItemNum = 0;

 private:
  // The choice `index` (0-based), or null.
  Forms::Ctrl* Choice(int32_t index);
  Views::Rectangle background_;
  Views::Border border_;
};

}  // namespace MenuSystem
