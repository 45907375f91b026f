// Named bitmaps. Each is drawn by its recipe (src/resources/bitmaps) the
// first time Resources::LoadResource asks for it. A screen that needs a new
// picture declares its id here and adds a recipe with KV_BITMAP.
//
// Sizes are those of one frame; "nine-slice" panels are drawn by
// Views::Frame over any size, the rest stretched or auto-sized by images.
#pragma once

#include "units/Resources/Resources.h"

namespace Bitmaps {

// Dialog frames, panels and backgrounds (nine-slice panels are 80 x 80 or 64 x 64).
extern const Resources::BitmapId MiniGuideBackground;   // the standard dialog panel
extern const Resources::BitmapId MediaQuickMenuBg;      // panel over the media screens
extern const Resources::BitmapId MediaPopBg;            // media information panel
extern const Resources::BitmapId KeyPadBg;              // on-screen keyboard panel
extern const Resources::BitmapId VolumeBarBackground;   // bar panel, 80 x 54
extern const Resources::BitmapId CECListTopFrame;       // 250 x 7, rounded upper edge
extern const Resources::BitmapId CECListBottomFrame;    // 250 x 7, rounded lower edge
extern const Resources::BitmapId BacklightAdjustResultBg;  // 264 x 136 plot area
extern const Resources::BitmapId BacklightAdjustingBg;     // 270 x 136 with eleven slider tracks
extern const Resources::BitmapId EPG_Background;        // 960 x 540 guide backdrop
extern const Resources::BitmapId EPG_PopupBackground;   // inner guide panel
extern const Resources::BitmapId EPG_VideoBorder;       // light border, transparent inside
extern const Resources::BitmapId L1Background;          // 960 x 540 main-menu backdrop
extern const Resources::BitmapId L1BgLine;              // 960 x 4 line under the carousel
extern const Resources::BitmapId BannerSmallTopBg;      // 250 x 63
extern const Resources::BitmapId BannerBigBg;           // 647 x 129
extern const Resources::BitmapId BannerSmallBottomBg;   // 219 x 60
extern const Resources::BitmapId BannerHDMIBgBig;       // 340 x 236
extern const Resources::BitmapId BannerHDMIBg;          // 340 x 210
extern const Resources::BitmapId MediaPhotoBg;          // 960 x 540, photo theme
extern const Resources::BitmapId MediaMovieBg;          // 960 x 540, movie theme
extern const Resources::BitmapId PopUpDivider;          // 320 x 2 separator under captions

// Button and row backgrounds: Focus is the highlight, Nonfocus the normal state.
extern const Resources::BitmapId DialogButtonFocus;           // 110 x 27
extern const Resources::BitmapId DialogButtonNonfocus;
extern const Resources::BitmapId TimeZoneListButtonFocus;     // 180 x 27
extern const Resources::BitmapId TimeZoneListButtonNonfocus;
extern const Resources::BitmapId ChannelLockButtonFocus;      // 70 x 30
extern const Resources::BitmapId ChannelLockButtonNonfocus;
extern const Resources::BitmapId ChannelOptionButtonFocus;    // 250 x 27
extern const Resources::BitmapId ChannelListButtonFocus;      // 250 x 27
extern const Resources::BitmapId NetworkButtonFocus;          // 150 x 27
extern const Resources::BitmapId NetworkButtonNonfocus;
extern const Resources::BitmapId IPAddressFocus;              // 40 x 27
extern const Resources::BitmapId IPAddressNonfocus;
extern const Resources::BitmapId SelectButtonFocused;         // 90 x 30
extern const Resources::BitmapId SelectButtonNonFocused;
extern const Resources::BitmapId KeyPadButtonFocus;           // 27 x 27
extern const Resources::BitmapId KeyPadButtonNonfocus;
extern const Resources::BitmapId CECInputDialogButtonFocus;   // 250 x 28
extern const Resources::BitmapId CECInputDialogButtonNonfocus;
extern const Resources::BitmapId InputDialogButtonFocus;      // 250 x 27
extern const Resources::BitmapId InputLabelsListButtonFocus;  // 250 x 27
extern const Resources::BitmapId EPG_ChanButtonFocus;         // 336 x 26
extern const Resources::BitmapId EPG_ProgramButtonFocus;      // 300 x 27
extern const Resources::BitmapId MiniGuide_ButtonFocus;       // 250 x 27
extern const Resources::BitmapId MediaListButtonFocus;        // 300 x 27
extern const Resources::BitmapId WiFiScanButtonFocus;         // 300 x 27
extern const Resources::BitmapId PinButtonFocus;              // 32 x 32
extern const Resources::BitmapId PinButtonNonfocus;

// Arrows and page indicators (auto-sized).
extern const Resources::BitmapId OptionButtonFocus;       // 490 x 25
extern const Resources::BitmapId OptionButtonNonfocus;
// The focus bar of a grey row: pale, so that the grey row's dark caption reads on it.
extern const Resources::BitmapId OptionButtonDisabledFocus;  // 490 x 25
extern const Resources::BitmapId OptionButtonUpArrow;     // 20 x 20
extern const Resources::BitmapId OptionButtonDownArrow;
extern const Resources::BitmapId EPG_ListScrollUp;        // 16 x 12
extern const Resources::BitmapId EPG_ListScrollDown;
extern const Resources::BitmapId InputListRightArrow;     // 10 x 14
extern const Resources::BitmapId InputListLeftArrow;
extern const Resources::BitmapId SubMenuRightArrow;       // 14 x 20
extern const Resources::BitmapId ToggleButtonLeftArrow;   // 13 x 10
extern const Resources::BitmapId ToggleButtonRightArrow;
extern const Resources::BitmapId KeyPadLeftArrow;         // 14 x 18
extern const Resources::BitmapId KeyPadRightArrow;
// The key pad's mode buttons (18 x 20): plain, and highlighted for the current mode.
extern const Resources::BitmapId KeyPadUpperA;
extern const Resources::BitmapId KeyPadUpperAFocus;
extern const Resources::BitmapId KeyPadLowerA;
extern const Resources::BitmapId KeyPadLowerAFocus;
extern const Resources::BitmapId KeyPadNum;
extern const Resources::BitmapId KeyPadNumFocus;
extern const Resources::BitmapId KeyPadSymbol;
extern const Resources::BitmapId KeyPadSymbolFocus;
extern const Resources::BitmapId BaseColorAdjustUpArrow;  // 12 x 6
extern const Resources::BitmapId BaseColorAdjustDownArrow;
extern const Resources::BitmapId ChBrowserArrowLeft;      // 24 x 48
extern const Resources::BitmapId ChBrowserArrowRight;

// Check boxes and lock.
extern const Resources::BitmapId CheckBox;       // 20 x 20
extern const Resources::BitmapId CheckBoxCheck;
extern const Resources::BitmapId CheckBox_s;     // 28 x 24
extern const Resources::BitmapId CheckBox_x;
extern const Resources::BitmapId LockImage;      // 24 x 24

// Help-bar key icons (28 x 28): one per help-mask bit 0 to 19.
extern const Resources::BitmapId HelpBarCursor;
extern const Resources::BitmapId HelpBarNum;
extern const Resources::BitmapId HelpBarLeftRight;
extern const Resources::BitmapId HelpBarLeft;
extern const Resources::BitmapId HelpBarRight;
extern const Resources::BitmapId HelpBarUpDown;
extern const Resources::BitmapId HelpBarUp;
extern const Resources::BitmapId HelpBarDown;
extern const Resources::BitmapId HelpBarUpDownLeftRight;
extern const Resources::BitmapId HelpBarOk;
extern const Resources::BitmapId HelpBarQuick;
extern const Resources::BitmapId HelpBarPageUpDown;
extern const Resources::BitmapId HelpBarRedBall;
extern const Resources::BitmapId HelpBarGreenBall;
extern const Resources::BitmapId HelpBarYellowBall;
extern const Resources::BitmapId HelpBarBlueBall;
extern const Resources::BitmapId HelpBarPageLeftRight;
extern const Resources::BitmapId HelpBarRecord;
extern const Resources::BitmapId HelpBarReturn;
extern const Resources::BitmapId HelpBarExit;
extern const Resources::BitmapId HelpBarPageUp;
extern const Resources::BitmapId HelpBarPageDown;
extern const Resources::BitmapId EPG_ProgramRecordFlag;

// Message bar, waiting indicator and screen saver.
extern const Resources::BitmapId Alert_Large;       // 40 x 40 warning sign
extern const Resources::BitmapId WaitingCircleKXD;  // 36 x 36, 12 frames of a spinning circle
extern const Resources::BitmapId RecordFlag;        // 28 x 28 red recording dot
extern const Resources::BitmapId ScreenSaverLogo;   // 168 x 59
extern const Resources::BitmapId SystemInfoLogo;    // 90 x 36, the system-information dialog's logo box

// Skinned sliders and the channel browser's tile frame.
extern const Resources::BitmapId ProgressGroove;       // 200 x 12, stretched
extern const Resources::BitmapId ProgressIndicator;    // 12 x 12 knob
extern const Resources::BitmapId ChBrowserFocusFrame;  // 64 x 64 nine-slice frame

}  // namespace Bitmaps

// Bitmaps of other units, declared here until those units have headers of their own.
namespace MediaPlayer {
extern const Resources::BitmapId MediaPlayerBackground;  // 960 x 540, music theme
extern const Resources::BitmapId ThumbnailCellFocus;     // 120 x 92 focus frame round a thumbnail
extern const Resources::BitmapId ArrowLeft;              // 24 x 48 page arrows of the photo grid
extern const Resources::BitmapId ArrowRight;
}  // namespace MediaPlayer

namespace Media {
extern const Resources::BitmapId DefaultBackground;  // 960 x 540 picture after the last slide
}  // namespace Media

namespace Bitmaps {
// Slider rows of the setting pages (186 x 20 frames, 10 x 20 knobs).
extern const Resources::BitmapId SliderBgFrame;         // with a centre mark
extern const Resources::BitmapId SliderBgFrameNoY;      // without
extern const Resources::BitmapId SliderIndicator;
extern const Resources::BitmapId GraySliderBgFrame;     // disabled rows
extern const Resources::BitmapId GraySliderBgFrameNoY;
extern const Resources::BitmapId GraySliderIndicator;
}  // namespace Bitmaps
