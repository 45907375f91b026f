// Alignment values of the text and image views: per axis 0 is left (top),
// 1 centred, 2 right (bottom). Images also know 3, stretched over the axis.
#pragma once

#include <cstdint>

#include "ge/attr_text.h"

namespace Views {

inline constexpr int32_t ALIGN_LEFT = 0;
inline constexpr int32_t ALIGN_TOP = 0;
inline constexpr int32_t ALIGN_CENTER = 1;
inline constexpr int32_t ALIGN_RIGHT = 2;
inline constexpr int32_t ALIGN_BOTTOM = 2;
inline constexpr int32_t ALIGN_STRETCH = 3;  // images only

// A stored alignment value checked against [0, max]: others are logged under
// `what` and replaced by 0.
int32_t CheckAlign(int32_t value, int32_t max, const char* what);

constexpr ge::AlignH ToGeAlignH(int32_t a) {
  return a == ALIGN_CENTER ? ge::AlignH::Center : a == ALIGN_RIGHT ? ge::AlignH::Right : ge::AlignH::Left;
}
constexpr ge::AlignV ToGeAlignV(int32_t a) {
  return a == ALIGN_CENTER ? ge::AlignV::Center : a == ALIGN_BOTTOM ? ge::AlignV::Bottom : ge::AlignV::Top;
}

// The offset of a span of `size` within `room` by an alignment value.
constexpr int32_t AlignOffset(int32_t align, int32_t room, int32_t size) {
  return align == ALIGN_CENTER ? (room - size) / 2 : align == ALIGN_RIGHT ? room - size : 0;
}

// Two opacities 0..255 combined.
inline uint8_t CombineOpacity(int32_t a, int32_t b) {
  return static_cast<uint8_t>(ge::Mul8(static_cast<uint32_t>(a & 0xff), static_cast<uint32_t>(b & 0xff)));
}

}  // namespace Views
