// Bitmaps of the bars and dialogs over the picture: the adjustment bars'
// sliders, the volume and mute images, the amplifier keys and the marks of
// the backlight curve.
#pragma once

#include "units/Resources/Resources.h"

namespace Bitmaps {

extern const Resources::BitmapId BlueSliderBgFrame;     // 260 x 14 slider frame with a centre mark
extern const Resources::BitmapId BlueSliderBgFrameNoY;  // the same without the mark
extern const Resources::BitmapId BlueSliderIndicator;   // 10 x 14 knob
extern const Resources::BitmapId VolumeBarImage;        // 32 x 32 loudspeaker
extern const Resources::BitmapId FullMuteImage;         // 32 x 32 loudspeaker crossed out
extern const Resources::BitmapId HalfMuteImage;         // 32 x 32 loudspeaker, one wave
extern const Resources::BitmapId AmplifierVolumePlus;   // 30 x 20 "+" key
extern const Resources::BitmapId AmplifierVolumeMinus;  // 30 x 20 "-" key
extern const Resources::BitmapId ScanSliderBackground;  // 260 x 20 progress trough
extern const Resources::BitmapId ScanSliderIndicator;   // 20 x 20 progress fill (stretched)
extern const Resources::BitmapId SliderIndicatorRed0;   // 20 x 20 red progress fill (stretched)
extern const Resources::BitmapId TimeshiftBufferFill;   // 20 x 20 grey-blue fill of the buffered time
extern const Resources::BitmapId Point;                 // 10 x 10 dot of a backlight slider
extern const Resources::BitmapId FocusedPoint;          // 14 x 14 highlighted dot
extern const Resources::BitmapId CurvePoint;            // 7 x 7 mark on each point of a curve

}  // namespace Bitmaps
