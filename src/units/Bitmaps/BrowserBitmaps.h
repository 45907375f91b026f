// Bitmaps of the media browser screens: the header's title icons, the large
// folder and default pictures of the information panel and the page keys of
// the list views' help strip. The folder, line, stop and repeat-off icons
// are the players' and the viewer's (included here).
#pragma once

#include "units/Bitmaps/MediaBitmaps.h"
#include "units/Bitmaps/PhotoViewerBitmaps.h"
#include "units/Bitmaps/PlayerBitmaps.h"
#include "units/Resources/Resources.h"

namespace MediaPlayer {
extern const Resources::BitmapId MediaPlayerTitleIconPhoto;   // 40 x 40 camera
extern const Resources::BitmapId MediaPlayerTitleIconMusic;   // 40 x 40 note
extern const Resources::BitmapId MediaPlayerTitleIconMovie;   // 40 x 40 film
extern const Resources::BitmapId MediaPlayerMusicMain;        // 320 x 180 default music picture
}  // namespace MediaPlayer

namespace Bitmaps {
extern const Resources::BitmapId MediaPhotoFolder;  // 320 x 180 folder pictures of the preview
extern const Resources::BitmapId MediaMusicFolder;
extern const Resources::BitmapId MediaMovieFolder;
extern const Resources::BitmapId MediaHelpChUp;   // 24 x 24 channel keys of the help strip
extern const Resources::BitmapId MediaHelpChDown;
}  // namespace Bitmaps
