#include "units/NonMenuSystem/Spinners.h"

#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Fonts/Fonts.h"
#include "units/Resources/Resources.h"

KV_REGISTER_CLASS(NonMenuSystem::NumberSpinner);
KV_REGISTER_CLASS(NonMenuSystem::TextSpinner);

namespace NonMenuSystem {

namespace {

// One look for both kinds.
void Skin(::Button::ButtonClass& b) {
  Resources::Bitmap* plain = Resources::LoadResource(Bitmaps::ChannelLockButtonNonfocus);
  b.OnSetDefault_BackgroundBitmap(plain);
  b.OnSetNonfocused_BackgroundBitmap(plain);
  b.OnSetDisabled_BackgroundBitmap(plain);
  b.OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::ChannelLockButtonFocus));
  Resources::Font* medium = Resources::LoadResource(Fonts::MediumFont);
  b.OnSetDefault_TextFont(medium);
  b.OnSetNonfocused_TextFont(medium);
  b.OnSetDisabled_TextFont(medium);
  b.OnSetFocused_TextFont(Resources::LoadResource(Fonts::EPGListFont));
  b.OnSetDefault_TextColor(Colors::StandardTextColor);
  b.OnSetNonfocused_TextColor(Colors::StandardTextColor);
  b.OnSetFocused_TextColor(Colors::White);
  b.OnSetTextAlignH(1);
}

}  // namespace

NumberSpinner::NumberSpinner() { Skin(*this); }
TextSpinner::TextSpinner() { Skin(*this); }

}  // namespace NonMenuSystem
