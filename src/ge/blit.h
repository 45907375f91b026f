// Bitmap copies, blends and nearest-neighbour stretches. Every drawing stays
// inside `clip` and the destination surface, and reads only pixels inside
// the source surface: the parts of a source rectangle that lie outside the
// source are not drawn.
#pragma once

#include <cstdint>

#include "ge/surface.h"

namespace ge {

// Copies the w x h pixels at (sx, sy) of src to (dx, dy) of dst. Source and
// destination may be the same surface and overlap (scrolling).
void GenCopyBitmap(const Surface& dst, const Rect& clip, const Surface& src, int32_t dx, int32_t dy,
                   int32_t sx, int32_t sy, int32_t w, int32_t h);

// Draws the w x h pixels at (sx, sy) of src over (dx, dy) of dst with the
// source scaled by opacity (0 draws nothing). Source and destination must
// not overlap.
void GenBlendBitmap(const Surface& dst, const Rect& clip, const Surface& src, int32_t dx, int32_t dy,
                    int32_t sx, int32_t sy, int32_t w, int32_t h, uint8_t opacity);

// Stretches the sw x sh pixels at (sx, sy) of src onto the dw x dh pixels at
// (dx, dy) of dst, nearest neighbour: destination pixel k of a row takes the
// source pixel under (k + 1/2) * sw / dw; a point exactly on the border of two
// source pixels takes the left (upper) one. Without blend it copies, whatever the opacity;
// with blend it draws over the destination with the source scaled by opacity
// (0 draws nothing). Source and destination must not overlap.
void GenScaleBitmap(const Surface& dst, const Rect& clip, const Surface& src, int32_t dx, int32_t dy,
                    int32_t dw, int32_t dh, int32_t sx, int32_t sy, int32_t sw, int32_t sh, bool blend,
                    uint8_t opacity);

// Draws a bitmap cut in nine slices (a panel whose corners keep their size
// while its edges and middle stretch): the source is cut at columns sx[1],
// sx[2] and rows sy[1], sy[2], between its edges sx[0], sx[3] and sy[0],
// sy[3], the destination likewise by dx[] and dy[]; the cuts of each must
// not decrease. Every slice is stretched onto its destination slice and
// blended with the opacity, the same pixels as GenScaleBitmap with blend
// for each slice; slices empty in the source or the destination are not
// drawn. Drawn in one pass over the rows, so a row crosses the slices once.
void GenBlendNineSlice(const Surface& dst, const Rect& clip, const Surface& src, const int32_t dx[4],
                       const int32_t dy[4], const int32_t sx[4], const int32_t sy[4], uint8_t opacity);

}  // namespace ge
