// Bitmaps of the photo viewer and its dialogs: the white folder of the music
// selection's path line.
#pragma once

#include "units/Resources/Resources.h"

namespace MediaPlayer {

extern const Resources::BitmapId MediaPlayerListFolderWhite;  // 22 x 18

}  // namespace MediaPlayer
