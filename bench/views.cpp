// The view framework drawing a fixed 960 x 540 scene: a full-screen
// translucent panel, two framed dialogs, 30 lines of text, 15 list rows and
// 10 images (60 views). Measured: a full redraw, a focus move between two
// rows (two row rectangles redrawn), and a full-window memcpy. After the runs
// the medians are printed with the ratios against the goals: a full redraw
// within 8 times the memcpy, a focus move within 1/10 of the full redraw.
// One full-window translucent blend is measured too, as a yardstick for the
// engine's share of the full redraw.
//
//   cd build-bench && ./bench_views --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "median_reporter.h"
#include "view_scene.h"
#include "ge/fill.h"
#include "platform/fontengine/font_engine.h"
#include "runtime/member.h"
#include "runtime/runtime.h"
#include "runtime/string.h"
#include "units/Core/Root.h"
#include "units/Forms/Ctrl.h"
#include "units/Forms/Form.h"
#include "units/Resources/Bitmap.h"
#include "units/Resources/Font.h"
#include "units/Views/Frame.h"
#include "units/Views/Image.h"
#include "units/Views/Rectangle.h"
#include "units/Views/Text.h"

namespace bench {

KV_REGISTER_CLASS(bench::Row);

Scene* g_scene = nullptr;

void FullRedraw(benchmark::State& state) { FullRedrawLoop(state, *g_scene); }

void FocusMove(benchmark::State& state) {
  bool down = true;
  for (auto _ : state) {
    if (down)
      g_scene->list->SelectNext();
    else
      g_scene->list->SelectPrev();
    down = !down;
    g_scene->root->Redraw();
    benchmark::DoNotOptimize(g_scene->osd.Pixels());
    benchmark::ClobberMemory();
  }
}

// For reference: one full-window translucent fill drawn over the window,
// the cheapest thing the full-screen panel alone costs.
void BlendWindow(benchmark::State& state) {
  ge::Bitmap a(kW, kH);
  const ge::Surface s = a.View();
  for (auto _ : state) {
    ge::GenBlendRect(s, s.Bounds(), s.Bounds(), 0xa01e100au);
    benchmark::DoNotOptimize(a.Pixels());
    benchmark::ClobberMemory();
  }
}

void Memcpy(benchmark::State& state) {
  ge::Bitmap a(kW, kH), b(kW, kH);
  std::memset(a.Pixels(), 0x5a, sizeof(uint32_t) * kW * kH);
  for (auto _ : state) {
    std::memcpy(b.Pixels(), a.Pixels(), sizeof(uint32_t) * kW * kH);
    benchmark::DoNotOptimize(b.Pixels());
    benchmark::ClobberMemory();
  }
}

using benchutil::MedianReporter;

}  // namespace bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  kv::Runtime::SetGuiThread();
  FS_Init(20000);
  FS_AddFont(fe::DefaultFontPath());
  bench::Scene scene;
  bench::g_scene = &scene;
  std::printf("scene: %zu views\n", scene.Views());

  benchmark::RegisterBenchmark("full_redraw", bench::FullRedraw);
  benchmark::RegisterBenchmark("focus_move", bench::FocusMove);
  benchmark::RegisterBenchmark("memcpy_960x540", bench::Memcpy);
  benchmark::RegisterBenchmark("blend_960x540", bench::BlendWindow);
  bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  const double full = reporter.Median("full_redraw"), move = reporter.Median("focus_move"),
               copy = reporter.Median("memcpy_960x540"), blend = reporter.Median("blend_960x540");
  if (full > 0 && move > 0 && copy > 0) {
    std::printf("\n%-28s %10s %8s %8s\n", "median (us)", "", "ratio", "goal");
    std::printf("%-28s %10.1f\n", "memcpy 960x540", copy / 1000);
    std::printf("%-28s %10.1f %8.2f %8s  (reference: one full-window blend)\n", "blend 960x540 / memcpy",
                blend / 1000, blend / copy, "");
    std::printf("%-28s %10.1f %8.2f %8s  %s\n", "full redraw / memcpy", full / 1000, full / copy, "<= 8",
                full / copy <= 8 ? "met" : "MISSED");
    std::printf("%-28s %10.1f %8.3f %8s  %s\n", "focus move / full redraw", move / 1000, move / full, "<= 0.1",
                move / full <= 0.1 ? "met" : "MISSED");
  }
  bench::g_scene = nullptr;
  benchmark::Shutdown();
  return reporter.ExitStatus();
}
