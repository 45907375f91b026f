// Bitmaps of the list rows: the input index badges, the source-type icons,
// the HDMI-CEC mark, the tuner kind marks and the signal indicator strip.
#pragma once

#include <cstdint>

#include "units/Resources/Resources.h"

namespace Bitmaps {

// The index digit of an input row stands in an 18 px box this far from the
// row's right edge: left of the CEC mark and the arrow that end the row. The
// digit keeps to the right half of its box.
inline constexpr int32_t kInputIndexLeft = 68;
inline constexpr int32_t kInputIndexBox = 18;

extern const Resources::BitmapId InputListSource0;  // 250 x 27 row backdrops with the index digit
extern const Resources::BitmapId InputListSource1;
extern const Resources::BitmapId InputListSource2;
extern const Resources::BitmapId InputListSource3;
extern const Resources::BitmapId InputListSource4;
extern const Resources::BitmapId InputListSource5;
extern const Resources::BitmapId InputListSource6;
extern const Resources::BitmapId InputListSource7;
extern const Resources::BitmapId InputListSource8;
extern const Resources::BitmapId InputListSource9;
extern const Resources::BitmapId InputListCECImage;  // 30 x 14
extern const Resources::BitmapId BannerRF1Input;     // 36 x 18 source-type icons
extern const Resources::BitmapId BannerRF2Input;
extern const Resources::BitmapId BannerVideoInput;
extern const Resources::BitmapId BannerHDInput;
extern const Resources::BitmapId BannerHDMIInput;
extern const Resources::BitmapId BannerPCInput;
extern const Resources::BitmapId DTV;              // 30 x 16
extern const Resources::BitmapId ATV;
extern const Resources::BitmapId SignalIndicator;  // 6 frames of 23 x 16, 0 to 5 bars lit
extern const Resources::BitmapId ChBrowserFB;      // 24 x 16 hint keys
extern const Resources::BitmapId ChBrowserMinus;
// Repeat kinds (30 x 16) and status marks (18 x 18) of recordings.
extern const Resources::BitmapId EPG_RecordTypeEveryday;
extern const Resources::BitmapId EPG_RecordTypeDaily;
extern const Resources::BitmapId EPG_RecordTypeWeekly;
extern const Resources::BitmapId EPG_RecordTypeOnce;
extern const Resources::BitmapId RecordStatusInRecording;
extern const Resources::BitmapId RecordStatusNoUSB;
extern const Resources::BitmapId RecordStatusNoSize;
extern const Resources::BitmapId RecordStatusFailed;
extern const Resources::BitmapId RecordStatusWillRecord;
extern const Resources::BitmapId RecordStatusStop;

}  // namespace Bitmaps

namespace MediaPlayer {
// The folder icon of media rows (22 x 18) and the photo grid's cell
// pictures (104 x 78): folder, photo without its thumbnail yet, broken.
extern const Resources::BitmapId ListFolderBlue;
extern const Resources::BitmapId ThumbnailFolder;
extern const Resources::BitmapId ThumbnailPhoto;
extern const Resources::BitmapId ThumbnailBroken;
}  // namespace MediaPlayer
