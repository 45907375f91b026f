// Bitmaps of the full-screen movie and music players and their banners.
#pragma once

#include "units/Resources/Resources.h"

namespace MediaPlayer {

extern const Resources::BitmapId MediaPlayerRepeatAll;          // 40 x 20 repeat arrows
extern const Resources::BitmapId MediaPlayerRepeatOne;          // 40 x 20 repeat arrows with a "1"
extern const Resources::BitmapId MediaPlayerRepeatDisable;      // 40 x 20 grey repeat arrows
extern const Resources::BitmapId MediaPlayerDolbySound;         // 58 x 48 Dolby logo of the movie player
extern const Resources::BitmapId MediaPlayerMusicPlayAnimation; // 516 x 235 music animation (never shown)

}  // namespace MediaPlayer

namespace Bitmaps {

// The music banner's line icons, 24 x 20.
extern const Resources::BitmapId MediaMusicTitle;
extern const Resources::BitmapId MediaMusicArtist;
extern const Resources::BitmapId MediaMusicAlbum;
extern const Resources::BitmapId MediaMusicGenre;

}  // namespace Bitmaps
