// The pictures of the 3D screens: the mode and format buttons (a normal and a
// focused look each; the 2D format buttons also a disabled look, plain and
// focused) and the 3D icon of the start message and the display mode.
#pragma once

#include "units/Resources/Resources.h"

namespace Bitmaps {

// 100 x 80 button pictures.
extern const Resources::BitmapId Mode3D_3D;
extern const Resources::BitmapId Mode3D_3D_Focus;
extern const Resources::BitmapId Mode3D_2D;
extern const Resources::BitmapId Mode3D_2D_Focus;
extern const Resources::BitmapId Mode3D_2Dto3D;
extern const Resources::BitmapId Mode3D_2Dto3D_Focus;
extern const Resources::BitmapId Format3D_SBS;
extern const Resources::BitmapId Format3D_SBS_Focus;
extern const Resources::BitmapId Format3D_TAB;
extern const Resources::BitmapId Format3D_TAB_Focus;
extern const Resources::BitmapId Format3D_Native;
extern const Resources::BitmapId Format3D_Native_Focus;
extern const Resources::BitmapId Format2D_SBS;
extern const Resources::BitmapId Format2D_SBS_Focus;
extern const Resources::BitmapId Format2D_SBS_Disabled;
extern const Resources::BitmapId Format2D_SBS_Disabled_Focus;
extern const Resources::BitmapId Format2D_TAB;
extern const Resources::BitmapId Format2D_TAB_Focus;
extern const Resources::BitmapId Format2D_TAB_Disabled;
extern const Resources::BitmapId Format2D_TAB_Disabled_Focus;

}  // namespace Bitmaps
