// Bitmaps of the photo viewer: the photo banner's slide-show, music and
// repeat icons (lit and grey).
#pragma once

#include "units/Resources/Resources.h"

namespace MediaPlayer {

extern const Resources::BitmapId MediaPlayerSlideshow;        // 32 x 24
extern const Resources::BitmapId MediaPlayerSlideshowGray;
extern const Resources::BitmapId MediaPlayerBGM;              // 24 x 24
extern const Resources::BitmapId BgmGrayout;
extern const Resources::BitmapId MediaPlayerRepeat;           // 30 x 24

}  // namespace MediaPlayer
