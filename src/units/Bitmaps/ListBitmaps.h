// Bitmaps of the list rows: the input index badges, the source-type icons,
// the HDMI-CEC mark, the tuner kind marks and the signal indicator strip.
#pragma once

#include "units/Resources/Resources.h"

namespace Bitmaps {

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
extern const Resources::BitmapId InputListCECImage;  // 20 x 14
extern const Resources::BitmapId BannerRF1Input;     // 24 x 18 source-type icons
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

}  // namespace Bitmaps
