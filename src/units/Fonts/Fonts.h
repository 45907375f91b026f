// The font descriptors of the Fonts unit: every font is a pixel size of the
// one font file. Resources::LoadResource(Fonts::MediumFont) gives the shared
// Resources::Font.
#pragma once

#include "units/Resources/Resources.h"

namespace Fonts {

extern const Resources::FontId MediumFont;           // 18 px: the common text face
extern const Resources::FontId EPGListFont;          // 20 px: captions, focused spinners, guide texts
extern const Resources::FontId EPGListFont0;         // 16 px: quick-menu rows
extern const Resources::FontId BannerBasicInfo;      // 18 px: banner body text
extern const Resources::FontId ExtraLargeFont;       // 34 px: the largest face
extern const Resources::FontId BannerDescription;    // 15 px: small banner text
extern const Resources::FontId BannerChannelNumber;  // 28 px bold: large digits
extern const Resources::FontId LargeFont;            // 24 px: volume number, pop-up choices
extern const Resources::FontId ExtraSmallFont;       // 14 px: tile sub-text
extern const Resources::FontId SmallestFont;         // 12 px: hint text

}  // namespace Fonts
