#include "ge/rows.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>
#include <memory>
#include <span>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include "ge/memo.h"
#include "ge/surface.h"

namespace ge::rows {
namespace {

// Pixels per step of the chunked kernels: small enough for the scratch
// arrays to stay in the first-level cache.
constexpr int32_t kChunk = 128;

// The kernels see a pixel as two 16-bit lanes of two channels each; a
// product of a lane with an 8-bit factor then takes one 16-bit multiply per
// channel and no shuffling of bytes. Lanes are read and written through
// memcpy, which may alias the 32-bit pixels and which compilers turn into
// plain vector loads and stores. Every operation treats both channels of a
// lane alike, so the byte order of the machine does not matter.
inline uint16_t Lane(const void* p, int32_t j) {
  uint16_t v;
  std::memcpy(&v, static_cast<const uint8_t*>(p) + 2 * static_cast<std::ptrdiff_t>(j), sizeof v);
  return v;
}
inline void SetLane(void* p, int32_t j, uint16_t v) {
  std::memcpy(static_cast<uint8_t*>(p) + 2 * static_cast<std::ptrdiff_t>(j), &v, sizeof v);
}

// (t + (t >> 8)) >> 8 for t = a * b + 128, written as (t * 257) >> 16, which
// is equal for every such t and maps to one high-half multiply of 16-bit lanes.
inline uint16_t Div255(uint16_t t) { return static_cast<uint16_t>((uint32_t{t} * 257) >> 16); }

// Both channels of lane x times m / 255 (m at most 255), each rounded as Mul8.
// The products stay below 65536, so they are 16-bit multiplies.
inline uint16_t MulLane(uint16_t x, uint16_t m) {
  const uint16_t lo = Div255(static_cast<uint16_t>((x & 0xff) * m + 128));
  const uint16_t hi = Div255(static_cast<uint16_t>((x >> 8) * m + 128));
  return static_cast<uint16_t>(lo | hi << 8);
}

// 255 - alpha of a pixel, in both 16-bit halves: the factor of both lanes.
inline uint32_t KeepOf(uint32_t s) {
  const uint32_t a = ~s >> 24;
  return a | a << 16;
}

// d = s + d * keep / 255 for n pixels, lane by lane (keep as KeepOf makes it).
void OverLanes(uint32_t* d, const uint32_t* s, const uint32_t* keep, int32_t n) {
  for (int32_t j = 0; j < 2 * n; ++j) {
    SetLane(d, j, static_cast<uint16_t>(Lane(s, j) + MulLane(Lane(d, j), Lane(keep, j))));
  }
}

#if defined(__SSE2__)
// Source-over of four pixels s over four pixels d: each channel
// s + d * (255 - alpha of s) / 255, rounded as Mul8 and added in 16-bit lanes
// exactly as OverLanes adds them. The even and odd bytes of d are each moved
// to the high byte of a 16-bit lane, whose high-half product with the factor
// times 256 is then the exact product of byte and factor. A transparent pixel
// leaves d and an opaque one gives s, so every pixel goes through the same
// steps: a test of the alphas would cost more than it saves, since most
// groups of four in icons and stretched frames are neither.
struct OverQuad {
  const __m128i high = _mm_set1_epi16(static_cast<int16_t>(0xff00));
  const __m128i half = _mm_set1_epi16(128), by257 = _mm_set1_epi16(257);
  __m128i operator()(__m128i s, __m128i d) const {
    // Each pixel's lane of red and alpha in both its lanes, then the alpha's
    // complement in the high bytes: (255 - alpha) << 8.
    const __m128i alphas = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s, _MM_SHUFFLE(3, 3, 1, 1)), _MM_SHUFFLE(3, 3, 1, 1));
    const __m128i keep = _mm_andnot_si128(alphas, high);
    // Div255 of each product plus 128, as one high-half multiply by 257.
    const __m128i even = _mm_mulhi_epu16(_mm_add_epi16(_mm_mulhi_epu16(_mm_slli_epi16(d, 8), keep), half), by257);
    const __m128i odd = _mm_mulhi_epu16(_mm_add_epi16(_mm_mulhi_epu16(_mm_and_si128(d, high), keep), half), by257);
    return _mm_add_epi16(s, _mm_or_si128(even, _mm_slli_epi16(odd, 8)));
  }
};
#else
// Blends k pixels of s over d (k <= kChunk). A chunk that is wholly
// transparent is skipped and one that is wholly opaque (a photo, a backdrop)
// is copied: both are told by one pass over the alphas alone, before any
// blend factor is worked out.
void BlendChunk(uint32_t* d, const uint32_t* s, int32_t k) {
  uint32_t all = 0xffffffffu, any = 0;
  for (int32_t i = 0; i < k; ++i) {
    all &= s[i];
    any |= s[i];
  }
  if (any == 0) return;
  if ((all >> 24) == 255) {
    std::memcpy(d, s, sizeof(uint32_t) * static_cast<size_t>(k));
    return;
  }
  uint32_t keep[kChunk];
  for (int32_t i = 0; i < k; ++i) keep[i] = KeepOf(s[i]);
  OverLanes(d, s, keep, k);
}

#endif

// True when all k pixels equal v; neighbours are looked at first, so that
// a destination of varying colours is told at once.
bool AllEqual(const uint32_t* d, int32_t k, uint32_t v) {
  if (k > 2 && (d[1] != v || d[2] != v)) return false;
  uint32_t diff = 0;
  for (int32_t i = 0; i < k; ++i) diff |= d[i] ^ v;
  return diff == 0;
}

#if defined(__SSE2__)
// Four pixels at a time of a row of coverage over varying pixels: each
// pixel is the ink scaled by its coverage over d (OverQuad; ink pixels are
// premultiplied, so no channel's sum carries). Coverage 0 gives a transparent ink
// pixel, which leaves d as it is. The ink pixels are looked up one by one (a
// table has no vector load). Returns the pixels done: a multiple of 4.
int32_t OverCoverage4(uint32_t* d, const uint8_t* m, int32_t w, const MaskInk& ink) {
  const OverQuad over;
  int32_t i = 0;
  for (; i + 4 <= w; i += 4) {
    uint32_t four;
    std::memcpy(&four, m + i, sizeof four);
    if (four == 0) continue;
    const __m128i s = _mm_setr_epi32(static_cast<int>(ink.pixel[m[i]]), static_cast<int>(ink.pixel[m[i + 1]]),
                                     static_cast<int>(ink.pixel[m[i + 2]]), static_cast<int>(ink.pixel[m[i + 3]]));
    __m128i* p = reinterpret_cast<__m128i*>(d + i);
    _mm_storeu_si128(p, over(s, _mm_loadu_si128(p)));
  }
  return i;
}

// True when all w pixels of the row equal v. Four at a time; the last four
// overlap the ones before when w is not a multiple of 4.
bool RowIs(const uint32_t* row, int32_t w, uint32_t v) {
  if (w < 4) {
    uint32_t diff = 0;
    for (int32_t i = 0; i < w; ++i) diff |= row[i] ^ v;
    return diff == 0;
  }
  const __m128i vv = _mm_set1_epi32(static_cast<int>(v));
  __m128i same = _mm_and_si128(_mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row)), vv),
                               _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + w - 4)), vv));
  for (int32_t i = 4; i + 4 < w; i += 4) {
    same = _mm_and_si128(same, _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i)), vv));
  }
  return _mm_movemask_epi8(same) == 0xffff;
}

// The ink's channels in 16-bit lanes for OverColourQuad: its colour and alpha.
struct InkLanes {
  explicit InkLanes(uint32_t colour)
      : colour(_mm_unpacklo_epi64(Widen(colour), Widen(colour))),
        alpha(_mm_set1_epi16(static_cast<int16_t>(colour >> 24))),
        opaque((colour >> 24) == 255) {}
  // The four channels of a pixel in the low four 16-bit lanes.
  static __m128i Widen(uint32_t p) {
    return _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(p)), _mm_setzero_si128());
  }
  __m128i colour, alpha;
  bool opaque;
};

// a * b / 255 in every 16-bit lane (a, b at most 255), rounded as Mul8.
inline __m128i Mul8Lanes(__m128i a, __m128i b) {
  const __m128i t = _mm_add_epi16(_mm_mullo_epi16(a, b), _mm_set1_epi16(128));
  return _mm_mulhi_epu16(t, _mm_set1_epi16(257));
}

// Four pixels of coverage (one byte each in `four`) over pixels that are all
// one colour, given as `under` (InkLanes::Widen of it, twice): each becomes
// Over(ink.pixel[c], under), worked out from the coverage c alone: the ink's
// channels times c, plus the colour under it times 255 - its alpha times c,
// each rounded as Mul8, added as whole pixels as Over adds them. No table is
// read and no destination pixel is loaded.
inline __m128i OverColourQuad(uint32_t four, __m128i under, const InkLanes& ink) {
  const __m128i c255 = _mm_set1_epi16(255);
  // Each coverage byte in the four lanes of its pixel's channels.
  __m128i c = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(four)), _mm_setzero_si128());
  c = _mm_unpacklo_epi16(c, c);
  const __m128i c01 = _mm_unpacklo_epi32(c, c), c23 = _mm_unpackhi_epi32(c, c);
  const __m128i a01 = ink.opaque ? c01 : Mul8Lanes(c01, ink.alpha);
  const __m128i a23 = ink.opaque ? c23 : Mul8Lanes(c23, ink.alpha);
  const __m128i s = _mm_packus_epi16(Mul8Lanes(c01, ink.colour), Mul8Lanes(c23, ink.colour));
  const __m128i kept = _mm_packus_epi16(Mul8Lanes(_mm_sub_epi16(c255, a01), under),
                                        Mul8Lanes(_mm_sub_epi16(c255, a23), under));
  return _mm_add_epi32(s, kept);
}

// A row of coverage over pixels that are all one colour v (text over a
// vertical gradient: each row of a glyph has its own colour), four pixels a
// step. Coverage 0 leaves v, so steps of no coverage are skipped. When w is
// not a multiple of 4 the last step overlaps the one before, which writes
// the same values again; a row narrower than 4 goes through a scratch quad.
void OverColourRow(uint32_t* d, const uint8_t* m, int32_t w, uint32_t v, const InkLanes& ink) {
  const __m128i under = _mm_unpacklo_epi64(InkLanes::Widen(v), InkLanes::Widen(v));
  if (w < 4) {
    uint32_t four = 0;
    for (int32_t i = 0; i < w; ++i) four |= uint32_t{m[i]} << (8 * i);
    if (four == 0) return;
    alignas(16) uint32_t out[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(out), OverColourQuad(four, under, ink));
    for (int32_t i = 0; i < w; ++i) d[i] = out[i];
    return;
  }
  const auto step = [&](int32_t i) {
    uint32_t four;
    std::memcpy(&four, m + i, sizeof four);
    if (four != 0) _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), OverColourQuad(four, under, ink));
  };
  for (int32_t i = 0; i < w - 4; i += 4) step(i);
  step(w - 4);
}
// Copies a row of w pixels, four at a time; the last four overlap the ones
// before when w is not a multiple of 4.
void CopyRow(uint32_t* d, const uint32_t* s, int32_t w) {
  if (w < 4) {
    for (int32_t i = 0; i < w; ++i) d[i] = s[i];
    return;
  }
  for (int32_t i = 0; i + 4 < w; i += 4) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)));
  }
  _mm_storeu_si128(reinterpret_cast<__m128i*>(d + w - 4), _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + w - 4)));
}


// Boxes drawn over rows of one colour each (text and icons on the vertical
// gradients of list rows, bars and panels), remembered with the pixels they
// gave. Drawn at full opacity, those pixels depend on the source (a glyph's
// coverage bytes in an ink, or a bitmap's pixels) and each row's colour
// alone, and a screen draws the same few hundred such boxes at every
// redraw, so a box drawn again over the same colours is copied instead of
// blended. A look-up compares every input, every source element included:
// a glyph or bitmap whose memory now holds another one never finds the old
// one's pixels. Each thread that draws has its own of each kind; it is made
// on first use.
//
// Source is the type of one element of the source (rows `pitch` elements
// apart); `ink` is whatever else the pixels depend on (a glyph's ink, 0
// for a bitmap).
template <typename Source, int32_t MaxPixels, size_t Budget>
class BoxMemo {
 public:
  static constexpr int32_t kMaxRows = 64;           // taller boxes are blended each time
  static constexpr int32_t kMaxPixels = MaxPixels;  // and so are larger ones

  // The key of a box: where its source lies, its size, the ink and the
  // row colours, mixed. Equal keys are only a hint; Draw compares them all.
  static uint64_t KeyOf(const Source* m, int32_t w, int32_t h, uint32_t ink, const uint32_t* colours) {
    uint64_t k = reinterpret_cast<uintptr_t>(m) ^ (uint64_t{static_cast<uint32_t>(w)} << 40) ^
                 (uint64_t{static_cast<uint32_t>(h)} << 52) ^ (uint64_t{ink} * 0x9e3779b97f4a7c15u);
    return MemoKey(k, std::span<const uint32_t>(colours, static_cast<size_t>(h)));
  }

  // Copies the pixels remembered for the box into d when there are some;
  // else draws it with blend() and remembers what that gave.
  template <typename BlendFn>
  void DrawOrBlend(uint32_t* d, std::ptrdiff_t stride, const Source* m, std::ptrdiff_t pitch, int32_t w, int32_t h,
                   uint32_t ink, const uint32_t* colours, BlendFn blend) {
    const uint64_t key = KeyOf(m, w, h, ink, colours);
    if (Draw(d, stride, m, pitch, w, h, ink, colours, key)) return;
    blend();
    Keep(d, stride, m, pitch, w, h, ink, colours, key);
  }

  // Copies the pixels remembered for this box into d; false when there are none.
  bool Draw(uint32_t* d, std::ptrdiff_t stride, const Source* m, std::ptrdiff_t pitch, int32_t w, int32_t h,
            uint32_t ink, const uint32_t* colours, uint64_t key) {
    Entry* set = sets_.SetOf(key);
    if (set == nullptr) return false;
    for (size_t i = 0; i < Sets::kWays; ++i) {
      Entry& e = set[i];
      if (e.data == nullptr || e.key != key || e.ink != ink || e.w != w || e.h != h) continue;
      const uint32_t* kept = e.data.get();
      if (std::memcmp(kept, colours, sizeof(uint32_t) * static_cast<size_t>(h)) != 0) continue;
      const auto* source = reinterpret_cast<const Source*>(kept + h + w * h);
      if (!SameSource(source, m, pitch, w, h)) continue;
      CopyBox(d, stride, kept + h, w, w, h);
      sets_.Touch(e);
      return true;
    }
    return false;
  }

  // Remembers the pixels just drawn at d for this box (MemoSets::Place).
  void Keep(const uint32_t* d, std::ptrdiff_t stride, const Source* m, std::ptrdiff_t pitch, int32_t w, int32_t h,
            uint32_t ink, const uint32_t* colours, uint64_t key) {
    const size_t words = static_cast<size_t>(h + w * h) + (sizeof(Source) * static_cast<size_t>(w * h) + 3) / 4;
    Entry& e = sets_.Place(key, words);
    e.key = key;
    e.ink = ink;
    e.w = static_cast<int16_t>(w);
    e.h = static_cast<int16_t>(h);
    uint32_t* kept = e.data.get();
    std::memcpy(kept, colours, sizeof(uint32_t) * static_cast<size_t>(h));
    uint32_t* pixels = kept + h;
    auto* source = reinterpret_cast<Source*>(kept + h + w * h);
    for (int32_t y = 0; y < h; ++y, d += stride, m += pitch) {
      std::memcpy(pixels + static_cast<std::ptrdiff_t>(y) * w, d, sizeof(uint32_t) * static_cast<size_t>(w));
      std::memcpy(source + static_cast<std::ptrdiff_t>(y) * w, m, sizeof(Source) * static_cast<size_t>(w));
    }
  }

 private:
  struct Entry {
    uint64_t key = 0;
    uint32_t ink = 0, used = 0;
    int16_t w = 0, h = 0;
    size_t words = 0;
    std::unique_ptr<uint32_t[]> data;  // row colours, then pixels, then the source
  };
  using Sets = MemoSets<Entry, 128, 8, Budget>;  // Budget: bytes of kept boxes

  static bool SameSource(const Source* kept, const Source* m, std::ptrdiff_t pitch, int32_t w, int32_t h) {
    if (pitch == w) return std::memcmp(kept, m, sizeof(Source) * static_cast<size_t>(w * h)) == 0;
    for (int32_t y = 0; y < h; ++y, kept += w, m += pitch) {
      if (std::memcmp(kept, m, sizeof(Source) * static_cast<size_t>(w)) != 0) return false;
    }
    return true;
  }

  Sets sets_;
};

// Glyph boxes: coverage bytes in an ink.
using GlyphMemo = BoxMemo<uint8_t, 1024, 384 * 1024>;
// Bitmap boxes (icons): pixels blended at full opacity.
using BitmapMemo = BoxMemo<uint32_t, 4096, 256 * 1024>;
#else
int32_t OverCoverage4(uint32_t*, const uint8_t*, int32_t, const MaskInk&) { return 0; }
void CopyRow(uint32_t* d, const uint32_t* s, int32_t w) { std::memcpy(d, s, sizeof(uint32_t) * static_cast<size_t>(w)); }
bool RowIs(const uint32_t* row, int32_t w, uint32_t v) {
  uint32_t diff = 0;
  for (int32_t i = 0; i < w; ++i) diff |= row[i] ^ v;
  return diff == 0;
}
#endif

// A row of coverage over pixels of any colours. Coverage 0 leaves the
// pixel; full coverage of an opaque ink replaces it.
void OverCoverageRow(uint32_t* d, const uint8_t* m, int32_t w, const MaskInk& ink) {
  const uint32_t full = (ink.colour >> 24) == 255 ? 255 : 256;
  int32_t i = OverCoverage4(d, m, w, ink);
  for (; i < w; ++i) {
    const uint32_t c = m[i];
    if (c == 0) continue;
    d[i] = c == full ? ink.colour : Over(ink.pixel[c], d[i]);
  }
}

int32_t Saturate(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

Rect RectAt(int32_t x, int32_t y, int32_t w, int32_t h) {
  return {x, y, Saturate(int64_t{x} + w), Saturate(int64_t{y} + h)};
}

// Up to a 16-byte boundary one pixel at a time, then 64 bytes a step: the
// compiler makes each step four aligned 16-byte stores in a row, which the
// core retires two at a time into one cache line (a plain fill_n loop stores
// 16 bytes a turn and takes twice as long over a window).
void Fill(uint32_t* d, int32_t n, uint32_t c) {
  for (; n > 0 && reinterpret_cast<uintptr_t>(d) % 16 != 0; --n) *d++ = c;
  for (; n >= 16; n -= 16, d += 16) {
    uint32_t* line = std::assume_aligned<16>(d);
    for (int32_t i = 0; i < 16; ++i) line[i] = c;
  }
  for (int32_t i = 0; i < n; ++i) d[i] = c;
}

void BlendSolid(uint32_t* d, int32_t n, uint32_t c) {
  const auto keep = static_cast<uint16_t>(255 - (c >> 24));
  const uint16_t c0 = Lane(&c, 0), c1 = Lane(&c, 1);
  for (int32_t i = 0; i < n;) {
    int32_t k = std::min(kChunk, n - i);
    uint32_t* p = d + i;
    // A stretch of one colour (a cleared surface, a panel drawn before)
    // becomes one colour: blended once, then filled.
    const uint32_t v = p[0];
    if (AllEqual(p, k, v)) {
      while (i + k < n) {
        const int32_t more = std::min(kChunk, n - i - k);
        if (!AllEqual(p + k, more, v)) break;
        k += more;
      }
      std::fill_n(p, k, Over(c, v));
      i += k;
      continue;
    }
    for (int32_t q = 0; q < k; ++q) {
      SetLane(p, 2 * q, static_cast<uint16_t>(c0 + MulLane(Lane(p, 2 * q), keep)));
      SetLane(p, 2 * q + 1, static_cast<uint16_t>(c1 + MulLane(Lane(p, 2 * q + 1), keep)));
    }
    i += k;
  }
}

void Blend(uint32_t* d, const uint32_t* s, int32_t n) {
#if defined(__SSE2__)
  // Four pixels a step, then two and one through the low lanes.
  const OverQuad over;
  int32_t i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i q = over(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)),
                           _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), q);
  }
  if (i + 2 <= n) {
    const __m128i q = over(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(s + i)),
                           _mm_loadl_epi64(reinterpret_cast<const __m128i*>(d + i)));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(d + i), q);
    i += 2;
  }
  if (i < n) {
    const __m128i q = over(_mm_cvtsi32_si128(static_cast<int>(s[i])), _mm_cvtsi32_si128(static_cast<int>(d[i])));
    d[i] = static_cast<uint32_t>(_mm_cvtsi128_si32(q));
  }
#else
  for (int32_t i = 0; i < n; i += kChunk) BlendChunk(d + i, s + i, std::min(kChunk, n - i));
#endif
}

void BlendBox(uint32_t* d, std::ptrdiff_t stride, const uint32_t* s, std::ptrdiff_t pitch, int32_t w, int32_t h) {
  if (w <= 0 || h <= 0) return;
  const auto blend = [&] {
    for (int32_t y = 0; y < h; ++y) Blend(d + y * stride, s + y * pitch, w);
  };
#if defined(__SSE2__)
  // An icon on a list row, a bar or a panel: over rows of one colour each,
  // a box drawn before over the same colours is copied.
  if (h <= BitmapMemo::kMaxRows && int64_t{w} * h <= BitmapMemo::kMaxPixels) {
    uint32_t colours[BitmapMemo::kMaxRows];
    if (RowColours(d, stride, w, h, colours)) {
      thread_local BitmapMemo memo;
      memo.DrawOrBlend(d, stride, s, pitch, w, h, 0, colours, blend);
      return;
    }
  }
#endif
  blend();
}

void Scale(uint32_t* d, const uint32_t* s, int32_t n, uint32_t opacity) {
  const auto op = static_cast<uint16_t>(opacity);
  for (int32_t j = 0; j < 2 * n; ++j) SetLane(d, j, MulLane(Lane(s, j), op));
}

void BlendOpacity(uint32_t* d, const uint32_t* s, int32_t n, uint32_t opacity) {
  // Scaled below full opacity no pixel is opaque: only transparent chunks are skipped.
  uint32_t scaled[kChunk], keep[kChunk];
  for (int32_t i = 0; i < n; i += kChunk) {
    const int32_t k = std::min(kChunk, n - i);
    Scale(scaled, s + i, k, opacity);
    uint32_t any = 0;
    for (int32_t q = 0; q < k; ++q) {
      keep[q] = KeepOf(scaled[q]);
      any |= scaled[q];
    }
    if (any != 0) OverLanes(d + i, scaled, keep, k);
  }
}

MaskInk::MaskInk(uint32_t c) : colour(c) {
  const uint16_t c0 = Lane(&c, 0), c1 = Lane(&c, 1);
  for (int32_t m = 0; m < 256; ++m) {
    SetLane(pixel, 2 * m, MulLane(c0, static_cast<uint16_t>(m)));
    SetLane(pixel, 2 * m + 1, MulLane(c1, static_cast<uint16_t>(m)));
  }
}

const uint32_t* MaskInk::OverBackground(uint32_t background) const {
  if (hasOver_ && background_ == background) return over_;
  uint32_t keep[256];
  for (int32_t m = 0; m < 256; ++m) keep[m] = KeepOf(pixel[m]);
  std::fill_n(over_, 256, background);
  OverLanes(over_, pixel, keep, 256);
  hasOver_ = true;
  background_ = background;
  return over_;
}

void BlendMask(uint32_t* d, std::ptrdiff_t stride, const uint8_t* m, std::ptrdiff_t pitch, int32_t w, int32_t h,
               const MaskInk& ink) {
  if (w <= 0 || h <= 0) return;
  // Over one colour (text on a flat panel) every pixel depends on its
  // coverage alone: it is looked up.
  const auto overOneColour = [&](uint32_t background) {
    const uint32_t* over = ink.OverBackground(background);
    for (int32_t y = 0; y < h; ++y, d += stride, m += pitch) {
      for (int32_t i = 0; i < w; ++i) d[i] = over[m[i]];
    }
  };
#if defined(__SSE2__)
  // A glyph's box over rows of one colour each (on a panel all are the
  // same, under a vertical gradient each differs): drawn before over the
  // same colours, its pixels are copied; else each row is worked out from
  // its coverage.
  if (h <= GlyphMemo::kMaxRows && w * h <= GlyphMemo::kMaxPixels) {
    uint32_t colours[GlyphMemo::kMaxRows];
    if (RowColours(d, stride, w, h, colours)) {
      thread_local GlyphMemo memo;
      memo.DrawOrBlend(d, stride, m, pitch, w, h, ink.colour, colours, [&] {
        const InkLanes lanes(ink.colour);
        for (int32_t y = 0; y < h; ++y) OverColourRow(d + y * stride, m + y * pitch, w, colours[y], lanes);
      });
      return;
    }
  }
#endif
  // The look for one colour stops at the first row that differs: under a
  // gradient or a picture that is the first or second row.
  const uint32_t background = d[0];
  int32_t sameRows = 0;
  while (sameRows < h && RowIs(d + sameRows * stride, w, background)) ++sameRows;
  if (sameRows == h) return overOneColour(background);
#if defined(__SSE2__)
  // Rows of one colour each are worked out from their coverage; the first
  // `sameRows` rows are `background`, the others are looked at one by one.
  const InkLanes lanes(ink.colour);
  for (int32_t y = 0; y < h; ++y, d += stride, m += pitch) {
    if (y < sameRows || RowIs(d, w, d[0])) {
      OverColourRow(d, m, w, d[0], lanes);
    } else {
      OverCoverageRow(d, m, w, ink);
    }
  }
#else
  for (int32_t y = 0; y < h; ++y, d += stride, m += pitch) OverCoverageRow(d, m, w, ink);
#endif
}

#if defined(__x86_64__) && defined(__GNUC__)
// Boxes as wide as lines of text are looked at eight pixels a step where the
// processor can (the build assumes only SSE2).
namespace {

const bool g_avx2 = __builtin_cpu_supports("avx2");

__attribute__((target("avx2"))) bool RowIsWide(const uint32_t* row, int32_t w, uint32_t v) {
  const __m256i vv = _mm256_set1_epi32(static_cast<int>(v));
  __m256i diff = _mm256_xor_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + w - 8)), vv);
  for (int32_t i = 0; i + 8 < w; i += 8)
    diff = _mm256_or_si256(diff, _mm256_xor_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + i)), vv));
  return _mm256_testz_si256(diff, diff) != 0;
}

__attribute__((target("avx2"))) bool RowColoursWide(const uint32_t* d, std::ptrdiff_t stride, int32_t w, int32_t h,
                                                     uint32_t* colours) {
  for (int32_t y = 0; y < h; ++y, d += stride) {
    if (!RowIsWide(d, w, d[0])) return false;
    colours[y] = d[0];
  }
  return true;
}

__attribute__((target("avx2"))) bool RowsAreWide(const uint32_t* d, std::ptrdiff_t stride, int32_t w, int32_t h,
                                                 const uint32_t* colours) {
  for (int32_t y = 0; y < h; ++y, d += stride) {
    if (d[0] != colours[y] || !RowIsWide(d, w, colours[y])) return false;
  }
  return true;
}

}  // namespace
#endif

bool RowColours(const uint32_t* d, std::ptrdiff_t stride, int32_t w, int32_t h, uint32_t* colours) {
#if defined(__x86_64__) && defined(__GNUC__)
  if (w >= 16 && g_avx2) return RowColoursWide(d, stride, w, h, colours);
#endif
  for (int32_t y = 0; y < h; ++y, d += stride) {
    if (!RowIs(d, w, d[0])) return false;
    colours[y] = d[0];
  }
  return true;
}

bool RowsAre(const uint32_t* d, std::ptrdiff_t stride, int32_t w, int32_t h, const uint32_t* colours) {
#if defined(__x86_64__) && defined(__GNUC__)
  if (w >= 16 && g_avx2) return RowsAreWide(d, stride, w, h, colours);
#endif
  for (int32_t y = 0; y < h; ++y, d += stride) {
    if (d[0] != colours[y] || !RowIs(d, w, colours[y])) return false;
  }
  return true;
}

void CopyBox(uint32_t* d, std::ptrdiff_t stride, const uint32_t* s, std::ptrdiff_t pitch, int32_t w, int32_t h) {
  // Rows of a glyph are a few pixels: copied in place; longer ones by the
  // library, which uses the widest moves the processor has.
  if (w < 16) {
    for (int32_t y = 0; y < h; ++y, d += stride, s += pitch) CopyRow(d, s, w);
    return;
  }
  for (int32_t y = 0; y < h; ++y, d += stride, s += pitch) std::memcpy(d, s, sizeof(uint32_t) * static_cast<size_t>(w));
}

}  // namespace ge::rows
