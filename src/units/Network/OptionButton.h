// Network::OptionButton: a dialog button bound to an option of the option
// database (OptionType, 0 for none). It shows the caption of the option's
// current choice, as its owner loads it, and names in NextState the screen
// that edits the option (an option dialog), which its owner opens when the
// button is activated. The network dialogs and the recording timer editor
// use it.
#pragma once

#include <cstdint>

#include "units/SkinBin/SkinButtons.h"

namespace Network {

class OptionButton : public SkinBin::Button {
  KV_CLASS(Network, OptionButton, SkinBin::Button)
 public:
  OptionButton();

  int32_t OnGetOptionType() const { return OptionType; }
  void OnSetOptionType(int32_t id) { OptionType = id; }

  int32_t OptionType = 0;
};

}  // namespace Network
