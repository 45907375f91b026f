// Bitmaps of the information banner: the picture, audio, caption and
// analogue badges, the PC-timing badges and the game-timer icons.
#pragma once

#include "units/Resources/Resources.h"

namespace Bitmaps {

extern const Resources::BitmapId BannerSD;  // 36 x 18 badges
extern const Resources::BitmapId BannerHD;
extern const Resources::BitmapId Banner480;
extern const Resources::BitmapId Banner720;
extern const Resources::BitmapId Banner1080;
extern const Resources::BitmapId BannerVGA;
extern const Resources::BitmapId BannerSVGA;
extern const Resources::BitmapId BannerXGA;
extern const Resources::BitmapId BannerWXGA;
extern const Resources::BitmapId BannerSXGA;
extern const Resources::BitmapId BannerCC;
extern const Resources::BitmapId BannerDolbyDigital;
extern const Resources::BitmapId BannerDolbyDigitalPlus;
extern const Resources::BitmapId BannerMono;
extern const Resources::BitmapId BannerStereo;
extern const Resources::BitmapId BannerMultiAudio;
extern const Resources::BitmapId BannerNTSC;
extern const Resources::BitmapId Banner3D;
extern const Resources::BitmapId BannerRecord;     // recording
extern const Resources::BitmapId BannerTimeshift;  // timeshifting
extern const Resources::BitmapId BannerGameTimer;           // 18 x 18
extern const Resources::BitmapId BannerGameTimerActivated;

}  // namespace Bitmaps
