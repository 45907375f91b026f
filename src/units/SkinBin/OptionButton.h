// SkinBin::OptionButton: a skinned button bound to one option of the option
// database (MainApp::OptionDB). It shows the caption of the option's current
// choice; left and right step through the choices (with wrap-around) and
// write each new value through the option's property at once. OK stays the
// button's activation (OnActivate, or the owner's target class).
//
// OnSetOptionType prepares the option record, reads the property's value and
// finds its choice. An id that no module serves leaves the button empty and
// inert, with a log line.
#pragma once

#include <cstdint>

#include "units/SkinBin/SkinButtons.h"

namespace OptionDatabase {
class OptionDataClass;
}

namespace SkinBin {

class OptionButton : public Button {
  KV_CLASS(SkinBin, OptionButton, Button)
 public:
  OptionButton();

  void OnSetOptionType(int32_t id);
  int32_t OnGetOptionType() const { return OptionType; }
  // The index of the current choice; -1 without an option record.
  int32_t OnGetIndex() const { return Index; }
  // Moves the current choice by `step` (wrapping), writes its value through
  // the option's property and shows its caption. Nothing without a record.
  void ToggleOption(int32_t step);
  // Reads the property again and shows the choice it holds.
  void RefreshOption();

  kv::Object* HandleEvent(Core::Event* event) override;

  int32_t OptionType = 0;
  int32_t Index = -1;

 private:
  OptionDatabase::OptionDataClass* Record() const;
  void ShowCaption(OptionDatabase::OptionDataClass* record);
};

}  // namespace SkinBin
