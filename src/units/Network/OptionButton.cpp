#include "units/Network/OptionButton.h"

#include "units/Bitmaps/Bitmaps.h"
#include "units/NonMenuSystem/OptionDialogs.h"
#include "units/Resources/Resources.h"

KV_REGISTER_CLASS(Network::OptionButton);

namespace Network {

OptionButton::OptionButton() {
  OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::NetworkButtonNonfocus));
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::NetworkButtonFocus));
  NextState = &NonMenuSystem::OptionDialog::StaticClass();
}

}  // namespace Network
