// The graphics engine side by side with pixman on the same premultiplied
// surfaces and operators (PIXMAN_a8b8g8r8 is premultiplied RGBA with red in
// the low byte, as ours). Each pair first checks that both give the same
// pixels. After the runs, the medians and the ratios ours / pixman are
// printed, and the opaque fill against a full-window memcpy, the cost of
// merely moving the window's pixels.
//
//   cd build-bench && ./bench_ge
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "median_reporter.h"
#include "ge/blit.h"
#include "ge/fill.h"

namespace {

constexpr int32_t kW = 960, kH = 540;

struct Image {
  ge::Bitmap bitmap;
  pixman_image_t* pixman = nullptr;

  Image(int32_t w, int32_t h) : bitmap(w, h) {
    pixman = pixman_image_create_bits(PIXMAN_a8b8g8r8, w, h, bitmap.Pixels(), w * 4);
  }
  ~Image() { pixman_image_unref(pixman); }
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;
  ge::Surface View() const { return bitmap.View(); }
  size_t Count() const { return static_cast<size_t>(bitmap.Width()) * static_cast<size_t>(bitmap.Height()); }
};

// Premultiplied pixels of every alpha: the source of the blends and scales.
void FillPattern(Image& image) {
  uint32_t seed = 12345;
  uint32_t* p = image.bitmap.Pixels();
  for (size_t i = 0; i < image.Count(); ++i) {
    seed = seed * 1664525u + 1013904223u;
    const uint32_t a = seed >> 24;
    auto part = [&](int shift) { return ((seed >> shift) & 0xff) * a / 255; };
    p[i] = part(0) | part(8) << 8 | part(16) << 16 | a << 24;
  }
}

void Background(Image& image) {
  uint32_t* p = image.bitmap.Pixels();
  for (size_t i = 0; i < image.Count(); ++i) p[i] = 0xff000000u | static_cast<uint32_t>(i * 2654435761u >> 8);
}

pixman_color_t PixmanColour(uint32_t premultiplied) {
  auto c = [&](int shift) { return static_cast<uint16_t>(((premultiplied >> shift) & 0xff) * 0x101); };
  return {c(0), c(8), c(16), c(24)};
}

// One operation done both ways.
struct Case {
  const char* name;
  int32_t dstW, dstH;
  int32_t srcW, srcH;  // 0: no source
  void (*ours)(Image& dst, Image* src);
  void (*pixman)(Image& dst, Image* src);
};

const uint32_t kOpaque = 0xff3080c0u;       // straight colours
const uint32_t kTranslucent = 0x80c85020u;

pixman_image_t* ScaledSource(Image* src, int32_t dw, int32_t dh) {
  pixman_transform_t t;
  pixman_transform_init_scale(&t, pixman_double_to_fixed(double(src->bitmap.Width()) / dw),
                              pixman_double_to_fixed(double(src->bitmap.Height()) / dh));
  pixman_image_set_transform(src->pixman, &t);
  pixman_image_set_filter(src->pixman, PIXMAN_FILTER_NEAREST, nullptr, 0);
  return src->pixman;
}

const Case kCases[] = {
    {"fill_opaque", kW, kH, 0, 0,
     [](Image& d, Image*) { ge::GenFillRect(d.View(), d.View().Bounds(), d.View().Bounds(), kOpaque); },
     [](Image& d, Image*) {
       pixman_fill(d.bitmap.Pixels(), kW, 32, 0, 0, kW, kH, ge::Premultiply(kOpaque));
     }},
    {"fill_translucent", kW, kH, 0, 0,
     [](Image& d, Image*) { ge::GenBlendRect(d.View(), d.View().Bounds(), d.View().Bounds(), kTranslucent); },
     [](Image& d, Image*) {
       const pixman_color_t c = PixmanColour(ge::Premultiply(kTranslucent));
       const pixman_rectangle16_t r{0, 0, kW, kH};
       pixman_image_fill_rectangles(PIXMAN_OP_OVER, d.pixman, &c, 1, &r);
     }},
    {"blend_300x200", kW, kH, 300, 200,
     [](Image& d, Image* s) { ge::GenBlendBitmap(d.View(), d.View().Bounds(), s->View(), 17, 9, 0, 0, 300, 200, 255); },
     [](Image& d, Image* s) {
       pixman_image_composite32(PIXMAN_OP_OVER, s->pixman, nullptr, d.pixman, 0, 0, 0, 0, 17, 9, 300, 200);
     }},
    {"blend_300x200_opacity128", kW, kH, 300, 200,
     [](Image& d, Image* s) { ge::GenBlendBitmap(d.View(), d.View().Bounds(), s->View(), 17, 9, 0, 0, 300, 200, 128); },
     [](Image& d, Image* s) {
       const pixman_color_t half{0, 0, 0, 128 * 0x101};
       pixman_image_t* mask = pixman_image_create_solid_fill(&half);
       pixman_image_composite32(PIXMAN_OP_OVER, s->pixman, mask, d.pixman, 0, 0, 0, 0, 17, 9, 300, 200);
       pixman_image_unref(mask);
     }},
    {"scale_x2_copy", kW, kH, kW / 2, kH / 2,
     [](Image& d, Image* s) {
       ge::GenScaleBitmap(d.View(), d.View().Bounds(), s->View(), 0, 0, kW, kH, 0, 0, kW / 2, kH / 2, false, 255);
     },
     [](Image& d, Image* s) {
       pixman_image_composite32(PIXMAN_OP_SRC, ScaledSource(s, kW, kH), nullptr, d.pixman, 0, 0, 0, 0, 0, 0, kW, kH);
     }},
    {"scale_x0.5_copy", kW / 2, kH / 2, kW, kH,
     [](Image& d, Image* s) {
       ge::GenScaleBitmap(d.View(), d.View().Bounds(), s->View(), 0, 0, kW / 2, kH / 2, 0, 0, kW, kH, false, 255);
     },
     [](Image& d, Image* s) {
       pixman_image_composite32(PIXMAN_OP_SRC, ScaledSource(s, kW / 2, kH / 2), nullptr, d.pixman, 0, 0, 0, 0, 0, 0,
                                kW / 2, kH / 2);
     }},
    {"scale_x2_blend", kW, kH, kW / 2, kH / 2,
     [](Image& d, Image* s) {
       ge::GenScaleBitmap(d.View(), d.View().Bounds(), s->View(), 0, 0, kW, kH, 0, 0, kW / 2, kH / 2, true, 255);
     },
     [](Image& d, Image* s) {
       pixman_image_composite32(PIXMAN_OP_OVER, ScaledSource(s, kW, kH), nullptr, d.pixman, 0, 0, 0, 0, 0, 0, kW, kH);
     }},
};

// Both ways must give the same pixels; a blend is applied once to the same background.
bool SamePixels(const Case& c) {
  Image a(c.dstW, c.dstH), b(c.dstW, c.dstH);
  Background(a);
  Background(b);
  Image src(std::max(c.srcW, 1), std::max(c.srcH, 1));
  FillPattern(src);
  Image* s = c.srcW > 0 ? &src : nullptr;
  c.ours(a, s);
  c.pixman(b, s);
  return std::memcmp(a.bitmap.Pixels(), b.bitmap.Pixels(), a.Count() * sizeof(uint32_t)) == 0;
}

void RunCase(benchmark::State& state, const Case& c, bool ours) {
  Image dst(c.dstW, c.dstH);
  Background(dst);
  Image src(std::max(c.srcW, 1), std::max(c.srcH, 1));
  FillPattern(src);
  Image* s = c.srcW > 0 ? &src : nullptr;
  for (auto _ : state) {
    (ours ? c.ours : c.pixman)(dst, s);
    benchmark::DoNotOptimize(dst.bitmap.Pixels());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * int64_t{c.dstW} * c.dstH);
}

void Memcpy(benchmark::State& state) {
  Image a(kW, kH), b(kW, kH);
  Background(a);
  for (auto _ : state) {
    std::memcpy(b.bitmap.Pixels(), a.bitmap.Pixels(), a.Count() * sizeof(uint32_t));
    benchmark::DoNotOptimize(b.bitmap.Pixels());
    benchmark::ClobberMemory();
  }
}

using benchutil::MedianReporter;

}  // namespace

int main(int argc, char** argv) {
  // Repetitions of the pairs interleave, so that a change of load on the
  // machine weighs on both sides alike.
  if (!benchutil::InitializeInterleaved(argc, argv, 10, 0.05)) return 1;
  std::vector<bool> same;
  for (const Case& c : kCases) {
    same.push_back(SamePixels(c));
    benchmark::RegisterBenchmark((std::string(c.name) + "/ours").c_str(), RunCase, c, true);
    benchmark::RegisterBenchmark((std::string(c.name) + "/pixman").c_str(), RunCase, c, false);
  }
  benchmark::RegisterBenchmark("memcpy_960x540", Memcpy);

  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\n%-26s %12s %12s %8s  %s\n", "median (us)", "ours", "pixman", "ratio", "same pixels");
  for (size_t i = 0; i < std::size(kCases); ++i) {
    const std::string name = kCases[i].name;
    const double ours = reporter.Median(name + "/ours"), pix = reporter.Median(name + "/pixman");
    if (ours <= 0 || pix <= 0) continue;
    std::printf("%-26s %12.1f %12.1f %8.2f  %s\n", name.c_str(), ours / 1000, pix / 1000, ours / pix,
                same[i] ? "yes" : "NO");
  }
  const double fill = reporter.Median("fill_opaque/ours"), copy = reporter.Median("memcpy_960x540");
  if (fill > 0 && copy > 0) {
    std::printf("%-26s %12.1f %12.1f %8.2f  (opaque fill / memcpy)\n", "fill_opaque vs memcpy", fill / 1000,
                copy / 1000, fill / copy);
  }
  benchmark::Shutdown();
  return reporter.ExitStatus();
}
