// Bitmaps of the live menu: the column's backdrop, its seven animated entry
// icons (8 frames each), the help-row keys, the item skin and the inline
// slider. Recipes in src/resources/bitmaps/live_menu.cpp.
#pragma once

#include "units/Resources/Resources.h"

namespace Bitmaps {
extern const Resources::BitmapId VidiMainMenuBg;      // 710 x 540
extern const Resources::BitmapId VidiMenuPicture;     // 50 x 50, 8 frames
extern const Resources::BitmapId VidiMenuAudio;
extern const Resources::BitmapId VidiMenuChannels;
extern const Resources::BitmapId VidiMenuSettings;
extern const Resources::BitmapId VidiMenuLocks;
extern const Resources::BitmapId VidiMenuMedia;
extern const Resources::BitmapId VidiMenuRecord;
extern const Resources::BitmapId MenuHelpOk;          // 42 x 34
extern const Resources::BitmapId MenuHelpUD;          // 42 x 34
extern const Resources::BitmapId MenuHelpLR;          // 42 x 34
extern const Resources::BitmapId MenuHelpReturn;      // 42 x 34
extern const Resources::BitmapId MenuHelpExit;        // 40 x 40
extern const Resources::BitmapId VidiItemFocus;       // stretched over column entries and pop-up choices
extern const Resources::BitmapId VidiRowFocus;        // a page row's size: drawn unstretched
extern const Resources::BitmapId VidiItemNonfocus;
extern const Resources::BitmapId VidiItemDisabled;
extern const Resources::BitmapId SliderGroove;        // 180 x 16
extern const Resources::BitmapId SliderIndicatorRed;  // 12 x 16
}  // namespace Bitmaps
