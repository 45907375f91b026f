// Bitmaps of the full-screen movie and music players and their banners.
#pragma once

#include "units/Resources/Resources.h"

namespace MediaPlayer {

// (The repeat-off mark MediaPlayerRepeatDisable is the browser's, BrowserBitmaps.h.)
extern const Resources::BitmapId MediaPlayerRepeatAll;          // 30 x 24 repeat arrows
extern const Resources::BitmapId MediaPlayerRepeatOne;          // 30 x 24 repeat arrows with a "1"
extern const Resources::BitmapId MediaPlayerDolbySound;         // 58 x 48 Dolby logo of the movie player
extern const Resources::BitmapId MediaPlayerMusicPlayAnimation; // 516 x 235 music animation (never shown)

}  // namespace MediaPlayer
