// NonMenuSystem::SoftwareLicencesDialog: the licences of the software this
// set runs, read from the licence file installed beside the program, in a
// scrolling text box with a scroll bar. Up and down scroll (each scroll
// restarts the time-out); OK and back return to the set-up menu.
#pragma once

#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/TextForm.h"
#include "units/Views/Rectangle.h"

namespace NonMenuSystem {

class SoftwareLicencesDialog : public BorderWidgetClass {
  KV_CLASS(NonMenuSystem, SoftwareLicencesDialog, BorderWidgetClass)
 public:
  static constexpr uint32_t kHelpMask = 0x40020;

  SoftwareLicencesDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;

  // The text form scrolled or changed (sender: the form).
  void Scrolled(kv::Object* sender);

  SkinBin::TextForm& Text() { return text_; }

 private:
  void PlaceThumb();

  Views::Rectangle area_;
  SkinBin::TextForm text_;
  Views::Rectangle track_;
  Views::Rectangle thumb_;
};

}  // namespace NonMenuSystem
