#include "ge/rows.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "ge/surface.h"

namespace ge::rows {
namespace {

// Pixels per step of the chunked kernels: small enough for the scratch
// arrays to stay in the first-level cache.
constexpr int32_t kChunk = 128;

// (t + (t >> 8)) >> 8 for t = a * b + 128, written as (t * 257) >> 16, which
// is equal for every t and maps to one high-half multiply of 16-bit lanes.
inline uint8_t Div255(uint32_t t) { return static_cast<uint8_t>((t * 257) >> 16); }

// Source-over of k pixels, byte by byte: d = s + d * inv, where inv holds
// 255 - alpha of the source pixel, repeated in each byte of that pixel.
// Spelling the multiplier out per byte keeps the loop free of shuffles, so
// that it vectorises into 16-bit multiplies.
void OverBytes(uint8_t* d, const uint8_t* s, const uint8_t* inv, int32_t bytes) {
  for (int32_t j = 0; j < bytes; ++j) {
    d[j] = static_cast<uint8_t>(s[j] + Div255(uint32_t{d[j]} * inv[j] + 128));
  }
}

// Blends k pixels of s over d (k <= kChunk), skipping the multiplications
// where the whole chunk is transparent or opaque.
void BlendChunk(uint32_t* d, const uint32_t* s, int32_t k) {
  uint32_t inv[kChunk];
  uint32_t all = 0xffffffffu, any = 0;
  for (int32_t i = 0; i < k; ++i) {
    uint32_t x = ~s[i] >> 24;  // 255 - alpha
    x |= x << 8;
    inv[i] = x | x << 16;
    all &= s[i];
    any |= s[i];
  }
  if (any == 0) return;
  if ((all >> 24) == 255) {
    std::memcpy(d, s, sizeof(uint32_t) * static_cast<size_t>(k));
    return;
  }
  OverBytes(reinterpret_cast<uint8_t*>(d), reinterpret_cast<const uint8_t*>(s),
            reinterpret_cast<const uint8_t*>(inv), 4 * k);
}

int32_t Saturate(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

Rect RectAt(int32_t x, int32_t y, int32_t w, int32_t h) {
  return {x, y, Saturate(int64_t{x} + w), Saturate(int64_t{y} + h)};
}

void Fill(uint32_t* d, int32_t n, uint32_t c) { std::fill_n(d, n, c); }

void BlendSolid(uint32_t* d32, int32_t n, uint32_t c) {
  uint8_t* d = reinterpret_cast<uint8_t*>(d32);
  const uint8_t inv = static_cast<uint8_t>(255 - (c >> 24));
  const uint8_t c0 = static_cast<uint8_t>(c), c1 = static_cast<uint8_t>(c >> 8),
                c2 = static_cast<uint8_t>(c >> 16), c3 = static_cast<uint8_t>(c >> 24);
  for (int32_t i = 0; i < n; ++i) {
    uint8_t* p = d + 4 * i;
    p[0] = static_cast<uint8_t>(c0 + Div255(p[0] * inv + 128));
    p[1] = static_cast<uint8_t>(c1 + Div255(p[1] * inv + 128));
    p[2] = static_cast<uint8_t>(c2 + Div255(p[2] * inv + 128));
    p[3] = static_cast<uint8_t>(c3 + Div255(p[3] * inv + 128));
  }
}

void Blend(uint32_t* d, const uint32_t* s, int32_t n) {
  for (int32_t i = 0; i < n; i += kChunk) BlendChunk(d + i, s + i, std::min(kChunk, n - i));
}

void BlendOpacity(uint32_t* d, const uint32_t* s, int32_t n, uint32_t opacity) {
  uint32_t scaled[kChunk];
  const auto op = static_cast<uint8_t>(opacity);  // a byte, so that products fit 16-bit lanes
  for (int32_t i = 0; i < n; i += kChunk) {
    const int32_t k = std::min(kChunk, n - i);
    const uint8_t* sb = reinterpret_cast<const uint8_t*>(s + i);
    uint8_t* tb = reinterpret_cast<uint8_t*>(scaled);
    for (int32_t j = 0; j < 4 * k; ++j) tb[j] = Div255(uint32_t{sb[j]} * op + 128);
    BlendChunk(d + i, scaled, k);
  }
}

void BlendMask(uint32_t* d, const uint8_t* m, int32_t n, uint32_t c) {
  const bool opaque = (c >> 24) == 255;
  for (int32_t i = 0; i < n; ++i) {
    const uint32_t cov = m[i];
    if (cov == 0) continue;
    if (cov == 255 && opaque) {
      d[i] = c;
    } else {
      d[i] = Over(MulPixel(c, cov), d[i]);
    }
  }
}

}  // namespace ge::rows
