#include "units/Fonts/Fonts.h"

KV_FONT(Fonts, MediumFont, 18, false);
KV_FONT(Fonts, EPGListFont, 20, false);
KV_FONT(Fonts, EPGListFont0, 16, false);
KV_FONT(Fonts, BannerBasicInfo, 18, false);
KV_FONT(Fonts, ExtraLargeFont, 34, false);
KV_FONT(Fonts, BannerDescription, 15, false);
KV_FONT(Fonts, BannerChannelNumber, 28, true);
KV_FONT(Fonts, LargeFont, 24, false);
KV_FONT(Fonts, ExtraSmallFont, 14, false);
KV_FONT(Fonts, SmallestFont, 12, false);
