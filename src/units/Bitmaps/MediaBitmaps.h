// Bitmaps of the play states: 60 x 60 round buttons with the play, pause,
// forward, backward and stop glyphs.
#pragma once

#include "units/Resources/Resources.h"

namespace Bitmaps {

extern const Resources::BitmapId MediaPlay;
extern const Resources::BitmapId MediaPause;
extern const Resources::BitmapId MediaForward;
extern const Resources::BitmapId MediaBackward;
extern const Resources::BitmapId MediaStop;

}  // namespace Bitmaps
