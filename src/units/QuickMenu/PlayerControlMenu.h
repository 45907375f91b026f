// QuickMenu::PlayerControlMenu: a small remote pad for a player on HDMI-CEC.
// Each button sends its user-control code to the device (XPM_HdmiCec_Set,
// item 19) and then closes every screen. Up and down wrap over the shown
// buttons; Back returns to the quick menu.
#pragma once

#include "runtime/member.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/Views/Image.h"
#include "units/Views/Line.h"

namespace QuickMenu {

class PlayerControlMenu : public NonMenuSystem::WidgetClass {
  KV_CLASS(QuickMenu, PlayerControlMenu, NonMenuSystem::WidgetClass)
 public:
  static constexpr int32_t kButtons = 6;

  PlayerControlMenu();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Close() override;
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  // A button's activation: sends its code (when it is a skin button), then ClearAll.
  void SetCecUserControl(kv::Object* button);

  SkinBin::Button* Row(int32_t i) const { return buttons_[static_cast<size_t>(i)]; }

 private:
  Views::Border border_;
  Views::Text title_;
  Views::Image upArrow_;
  kv::MemberVector<SkinBin::Button> buttons_;
  Views::Line divider_;
  Views::Text label_;
};

}  // namespace QuickMenu
