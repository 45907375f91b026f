// A list over 4096 channels against one over 40: opening the list in its
// screen and moving one page, each to the flip of the finished screen. The
// list engine materialises only the visible rows, so both take the same
// time (goal: ratio at most 1.2). The channel table is loaded beforehand
// (loading it is the middleware's walk, not the list's work).
// The whole application runs on the simulated set, drawing into a 960 x 540
// surface; the end of a pass runs until nothing is pending.
//
//   cd build-bench && ./bench_list_screens --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "median_reporter.h"
#include "ge/surface.h"
#include "platform/fontengine/font_engine.h"
#include "platform/sim/sim.h"
#include "runtime/auto_object.h"
#include "runtime/clock.h"
#include "runtime/member.h"
#include "runtime/runtime.h"
#include "runtime/slot.h"
#include "units/Events/EventFactories.h"
#include "units/Events/XPM_EVENT_KEY.h"
#include "units/ListForm/ChannelLists.h"
#include "units/MainApp/Root.h"
#include "units/MainApp/Standby.h"
#include "units/MainApp/WrapperAuto.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/SkinBin/ChannelListData.h"
#include "units/SkinBin/Wrapper.h"

namespace bench {

constexpr int32_t kW = Core::Root::kWidth, kH = Core::Root::kHeight;

struct App {
  kv::FakeClock clock{1000};
  std::string dir;
  std::unique_ptr<sim::Sim> tv;
  ge::Bitmap osd{kW, kH};
  kv::Persistent<MainApp::Root> root;

  App() {
    kv::SetClock(&clock);
    dir = (std::filesystem::temp_directory_path() / "tvui-bench-lists").string();
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    tv = std::make_unique<sim::Sim>(dir);
    tv->Start();
    Events::RegisterAll();
    PersistentData::SetStoragePaths(dir + "/settings.dat", dir + "/settings.bak");
    // The lists work on the skin Wrapper.
    MainApp::Wrapper.cls = []() -> const kv::Class* { return &SkinBin::Wrapper::StaticClass(); };
    root = kv::New<MainApp::Root>();
    root->OnSetBounds({0, 0, kW, kH});
    root->AttachSurface(osd.View());
    root->Install();
    root->Init();
    Settle();
  }
  ~App() {
    root->Uninstall();
    root->DetachSurface();
    root = nullptr;
    tv->Stop();
    kv::SetClock(nullptr);
    std::filesystem::remove_all(dir);
  }
  void Settle() {
    for (int i = 0; i < 100; ++i) {
      tv->Quiesce();
      kv::Runtime::EndOfPass();
      if (!kv::SignalsPending()) return;
    }
  }
  void Key(uint16_t code) {
    auto* key = kv::New<Events::XPM_EVENT_KEY>();
    key->Initialize(code, 1);
    root->DispatchEvent(key);
    Settle();
  }
  SkinBin::Wrapper* W() { return kv::GetAutoObject<SkinBin::Wrapper>(MainApp::Wrapper); }
  // The channel table with `n` digital channels.
  void FillTable(int32_t n) {
    SkinBin::ChannelListData* table = W()->GetChannelListData();
    table->Clear();
    for (int32_t i = 0; i < n; ++i) {
      auto* c = kv::New<SkinBin::ChannelData>();
      c->Major = 2 + i / 10;
      c->Minor = 1 + i % 10;
      c->IsDigital = 1;
      c->Name = kv::String::FromUtf8("Channel " + std::to_string(i));
      table->Append(c);
    }
  }
  // A screen with the list of the table, opened with the focus on it.
  Primitives::KeyRoutingForm* OpenList() {
    auto* form = kv::New<Primitives::KeyRoutingForm>();
    form->OnSetBounds({200, 100, 760, 440});
    form->OnSetTimeOutValue(0);
    form->Parent = root->GetStandby();
    auto* list = kv::New<ListForm::ManualChannelList>();
    list->OnSetBounds({20, 20, 380, 200});
    auto* param = kv::New<Primitives::KeyRoutingParameter>();
    param->Owner = form;
    list->Initialize(param);
    list->Open();
    form->OnSetFocus(list);
    form->Open();
    root->GetStandby()->OnSetFocus(form);
    root->OnSetFocus(root->GetStandby());
    Settle();
    return form;
  }
};

App* g_app = nullptr;

void OpenAndPage(benchmark::State& state) {
  g_app->FillTable(static_cast<int32_t>(state.range(0)));
  for (auto _ : state) {
    Primitives::KeyRoutingForm* form = g_app->OpenList();
    g_app->Key(40);  // one page down
    state.PauseTiming();
    form->Close();
    g_app->Settle();
    state.ResumeTiming();
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
  bench::App app;
  bench::g_app = &app;

  benchmark::RegisterBenchmark("list_open_page", bench::OpenAndPage)->Arg(40)->Arg(4096);
  bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  const double small = reporter.Median("list_open_page/40"), big = reporter.Median("list_open_page/4096");
  if (small > 0 && big > 0) {
    std::printf("\n%-34s %10s %8s %8s\n", "median (us)", "", "ratio", "goal");
    std::printf("%-34s %10.1f\n", "open + page, 40 channels", small / 1000);
    std::printf("%-34s %10.1f %8.2f %8s  %s\n", "open + page, 4096 / 40 channels", big / 1000, big / small,
                "<= 1.2", big / small <= 1.2 ? "met" : "MISSED");
  }
  bench::g_app = nullptr;
  benchmark::Shutdown();
  return 0;
}
