// Bitmaps of the media browser screens: the header's title and folder
// icons, the large folder and default pictures of the information panel,
// the music panel's line icons, the stop state, the repeat-off mark and the
// page keys of the list views' help strip.
#pragma once

#include "units/Resources/Resources.h"

namespace MediaPlayer {
extern const Resources::BitmapId MediaPlayerTitleIconPhoto;   // 40 x 40 camera
extern const Resources::BitmapId MediaPlayerTitleIconMusic;   // 40 x 40 note
extern const Resources::BitmapId MediaPlayerTitleIconMovie;   // 40 x 40 film
extern const Resources::BitmapId MediaPlayerListFolderWhite;  // 22 x 18 white folder
extern const Resources::BitmapId MediaPlayerMusicMain;        // 320 x 180 default music picture
extern const Resources::BitmapId MediaPlayerRepeatDisable;    // 30 x 24 repeat off
}  // namespace MediaPlayer

namespace Bitmaps {
extern const Resources::BitmapId MediaPhotoFolder;  // 320 x 180 folder pictures of the preview
extern const Resources::BitmapId MediaMusicFolder;
extern const Resources::BitmapId MediaMovieFolder;
extern const Resources::BitmapId MediaMusicTitle;  // 20 x 20 line icons of the music panel
extern const Resources::BitmapId MediaMusicArtist;
extern const Resources::BitmapId MediaMusicAlbum;
extern const Resources::BitmapId MediaMusicGenre;
extern const Resources::BitmapId MediaStop;       // 60 x 60 stop state
extern const Resources::BitmapId MediaHelpChUp;   // 24 x 24 channel keys of the help strip
extern const Resources::BitmapId MediaHelpChDown;
}  // namespace Bitmaps
