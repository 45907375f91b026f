// What television this is and which software it runs.
//
// NonMenuSystem::SystemInfoDialog: a static page with the model name, the
// software version and the support contacts; OK returns to the set-up page.
// While it shows, a four-digit access code typed on the digit keys opens the
// hidden dynamic-contrast menu (MenuSystem::BrontelMenu). Digits are taken
// in groups of four; each group is compared and dropped.
// NonMenuSystem::KXDSystemInfoDialog: the skin's variant, the system
// information list beside a logo and an OK button.
#pragma once

#include <cstdint>

#include "runtime/string.h"
#include "units/ListForm/OptionLists.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/Views/Image.h"
#include "units/Views/Text.h"

namespace NonMenuSystem {

class SystemInfoDialog : public BorderWidgetClass {
  KV_CLASS(NonMenuSystem, SystemInfoDialog, BorderWidgetClass)
 public:
  static constexpr int32_t kTextLines = 9;

  SystemInfoDialog();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Refresh() override;
  void ShowBrontelMenu();

  const kv::String& ModelLine() { return model_.OnGetString(); }
  const kv::String& VersionLine() { return version_.OnGetString(); }

  // The digits typed so far (at most four).
  kv::String Code;

 private:
  Views::Text lines_[kTextLines];
  Views::Text model_;
  Views::Text version_;
};

class KXDSystemInfoDialog : public KXDWidgetClass {
  KV_CLASS(NonMenuSystem, KXDSystemInfoDialog, KXDWidgetClass)
 public:
  KXDSystemInfoDialog();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;

  ListForm::SystemInfoList& List() { return list_; }
  SkinBin::Button& OkButton() { return ok_; }

 private:
  ListForm::SystemInfoList list_;
  SkinBin::Button ok_;
  Views::Image logo_;
};

}  // namespace NonMenuSystem
