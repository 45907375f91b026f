// The 3D wizard's notices (window WIN_ID_3D_Dialog):
// ThreeD::StartMessage       the 3D warning with the 3D icon; OK, Exit or 20 s
//                            hand back to the wizard.
// ThreeD::DisplayMode        the 76 x 76 icon of the 3D state at the lower left
//                            for 6 s.
// ThreeD::ImportantInfoDialog the 3D viewing information with its "do not
//                            display again" option; it stays until answered.
#pragma once

#include "runtime/member.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/OptionButton.h"
#include "units/SkinBin/TextForm.h"
#include "units/Views/Image.h"
#include "units/Views/MultilineText.h"

namespace ThreeD {

class StartMessage : public NonMenuSystem::WidgetClass {
  KV_CLASS(ThreeD, StartMessage, NonMenuSystem::WidgetClass)
 public:
  StartMessage();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;

 private:
  Views::Image icon_;
  Views::MultilineText text_;
};

class DisplayMode : public NonMenuSystem::WidgetClass {
  KV_CLASS(ThreeD, DisplayMode, NonMenuSystem::WidgetClass)
 public:
  DisplayMode();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  Resources::Bitmap* Icon() { return icon_.OnGetBitmap(); }

 private:
  Views::Image icon_;
};

class ImportantInfoDialog : public NonMenuSystem::BorderWidgetClass {
  KV_CLASS(ThreeD, ImportantInfoDialog, NonMenuSystem::BorderWidgetClass)
 public:
  ImportantInfoDialog();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  // The help bar of the focused control.
  void UpdateHelp();

  SkinBin::OptionButton* Option() const { return option_.get(); }
  SkinBin::TextForm* TextBox() const { return textForm_.get(); }

 private:
  bool OpenedByWizard() const { return PrevState == nullptr; }
  bool OpenedFromMenu() const;

  kv::Member<SkinBin::TextForm> textForm_;
  kv::Member<SkinBin::OptionButton> option_;
  Views::Text optionLabel_;
};

}  // namespace ThreeD
