// The named colours of the Colors unit (straight alpha). Colours that the
// screens use as 32-bit words (red in the low byte, alpha in the high byte)
// are written as such and decoded by kv::Color::FromWord; the others are
// written as (r, g, b, a).
#pragma once

#include "runtime/geometry.h"

namespace Colors {

inline constexpr kv::Color TitleTextColor{229, 208, 23, 255};       // gold
inline constexpr kv::Color StandardTextColor{200, 200, 200, 255};
inline constexpr kv::Color DialogBorder{88, 88, 88, 255};
inline constexpr kv::Color Black{0, 0, 0, 255};
inline constexpr kv::Color FocusDisableTextColor{64, 87, 106, 255};
inline constexpr kv::Color BannerDescription{180, 180, 180, 255};
inline constexpr kv::Color DisableTextColor = kv::Color::FromWord(0xff585858u);              // (88, 88, 88)
inline constexpr kv::Color InputLabelStandardTextColor = kv::Color::FromWord(0xffedc3aau);   // (170, 195, 237)
inline constexpr kv::Color InputLabelDefaultTextColor = kv::Color::FromWord(0xff967864u);    // (100, 120, 150)
inline constexpr kv::Color MenuBgColor = kv::Color::FromWord(0xff0b0a09u);                   // (9, 10, 11)

// The primaries: the swatch words of the base-colour bar.
inline constexpr kv::Color White{255, 255, 255, 255};
inline constexpr kv::Color Red = kv::Color::FromWord(0xff0000ffu);
inline constexpr kv::Color Green = kv::Color::FromWord(0xff00ff00u);
inline constexpr kv::Color Blue = kv::Color::FromWord(0xffff0000u);
inline constexpr kv::Color Yellow = kv::Color::FromWord(0xff00ffffu);
inline constexpr kv::Color Magenta = kv::Color::FromWord(0xffff00ffu);
inline constexpr kv::Color Cyan = kv::Color::FromWord(0xffffff00u);
inline constexpr kv::Color Violet = Magenta;

// Panel colours of our own choosing, matching the menu-item words.
inline constexpr kv::Color ChannelScanBlockColor{28, 30, 34, 255};
inline constexpr kv::Color StandardBgColor = kv::Color::FromWord(0xff2a2928u);   // (40, 41, 42)
inline constexpr kv::Color DirectMessageBg{16, 18, 22, 224};
inline constexpr kv::Color DefaultOptionBgColor = kv::Color::FromWord(0xff2a2928u);
inline constexpr kv::Color DisableOptionBgColor = kv::Color::FromWord(0xff2a2928u);
inline constexpr kv::Color StandardOptionBgColor = kv::Color::FromWord(0xff8c5617u);  // (23, 86, 140), focused

}  // namespace Colors

namespace MediaPlayer {
// The media player's light blue (a colour of the MediaPlayer unit).
inline constexpr kv::Color MediaPlayerLightBlue{120, 190, 240, 255};
}  // namespace MediaPlayer
