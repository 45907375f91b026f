// The icons of the product-tree carousels. Main-menu icons (72 x 72): Off is
// the default and unfocused icon, On the focused one. Second-level icons
// (100 x 100, 4 frames, one per size level).
#pragma once

#include "units/Resources/Resources.h"

namespace Bitmaps {

extern const Resources::BitmapId L1SettingsMenuOff;
extern const Resources::BitmapId L1SettingsMenuOn;
extern const Resources::BitmapId L1NetworkMenuOff;
extern const Resources::BitmapId L1NetworkMenuOn;
extern const Resources::BitmapId L1MediaPlayerMenuOff;
extern const Resources::BitmapId L1MediaPlayerMenuOn;
extern const Resources::BitmapId L1WallpaperMenuOff;
extern const Resources::BitmapId L1WallpaperMenuOn;
extern const Resources::BitmapId L1TimerMenuOff;
extern const Resources::BitmapId L1TimerMenuOn;
extern const Resources::BitmapId L2PictureMenu;
extern const Resources::BitmapId L2SoundMenu;
extern const Resources::BitmapId L2ApplicationsMenu;
extern const Resources::BitmapId L2PreferenceMenu;
extern const Resources::BitmapId L2SetupMenu;
extern const Resources::BitmapId L2WebTideMenu;
extern const Resources::BitmapId L2NetworkSetupMenu;
extern const Resources::BitmapId L2WirelessInfoMenu;
extern const Resources::BitmapId L2PhotoMenu;
extern const Resources::BitmapId L2MovieMenu;
extern const Resources::BitmapId L2MusicMenu;
extern const Resources::BitmapId L2OnTimerMenu;
extern const Resources::BitmapId L2SleepTimerMenu;
extern const Resources::BitmapId L2GameTimerMenu;

}  // namespace Bitmaps
