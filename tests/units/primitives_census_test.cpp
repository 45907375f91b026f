// A screen holding a list, opened through a sub-system's state change and
// closed again fifty times with a collection after every pass, leaves no
// object behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "runtime/collector.h"
#include "runtime/member.h"
#include "runtime/runtime.h"
#include "support/kv_test.h"
#include "units/Core/Event.h"
#include "units/Core/Root.h"
#include "units/Forms/ImageIndicator.h"
#include "units/Primitives/KeyRoutingCtrl.h"
#include "units/Primitives/KeyRoutingListForm.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Structures/RefHolders.h"
#include "units/SubSystem/State.h"
#include "units/SubSystem/SubSystemClass.h"

namespace censustest {
namespace {

class System : public SubSystem::SubSystemClass {
  KV_CLASS(censustest, System, SubSystem::SubSystemClass)
};

class NumberList : public Primitives::KeyRoutingListForm {
  KV_CLASS(censustest, NumberList, Primitives::KeyRoutingListForm)
 public:
  int32_t MoveCursor(int32_t delta, int32_t mode) override {
    const int32_t target =
        std::clamp(mode == Primitives::CURSOR_RELATIVE ? cursor + delta : mode == Primitives::CURSOR_FROM_FIRST ? delta : 19 + delta, 0, 19);
    const int32_t moved = target - cursor;
    cursor = target;
    return moved;
  }
  // A fresh record per call, as the real lists build them.
  kv::Object* GetItemData(int32_t offset) override {
    const int32_t i = cursor + offset;
    if (i < 0 || i >= 20) return nullptr;
    auto* item = kv::New<Structures::RefInt>();
    item->Value = i;
    return item;
  }
  int32_t GetItemsCount() override { return 20; }
  int32_t cursor = 0;
};

// A screen that builds its list with rows and indicators when it starts.
class Screen : public Primitives::KeyRoutingForm {
  KV_CLASS(censustest, Screen, Primitives::KeyRoutingForm)
 public:
  Screen() {
    SubSystemClass = &System::StaticClass();
    Layer = 32;
  }
  void Initialize(Primitives::KeyRoutingParameter* param) override {
    Primitives::KeyRoutingForm::Initialize(param);
    list = kv::New<NumberList>();
    for (int32_t r = 0; r < 5; ++r) {
      auto* row = kv::New<Primitives::KeyRoutingCtrl>();
      row->OnSetBounds({0, 20 * r, 100, 20 * r + 20});
      list->Add(row);
    }
    list->PrevIndicator = kv::New<Forms::ImageIndicator>();
    list->NextIndicator = kv::New<Forms::ImageIndicator>();
    list->Add(list->PrevIndicator);
    list->Add(list->NextIndicator);
    auto* inner = kv::New<Primitives::KeyRoutingParameter>();
    inner->Owner = this;
    list->Initialize(inner);
    list->Open();
    OnSetFocus(list);
    list->Reload();
  }
  kv::Member<NumberList> list;
};

class ListScreenCensusTest : public kvtest::RuntimeTest {};

TEST_F(ListScreenCensusTest, AScreenWithAListOpenedAndClosedFiftyTimesLeavesNothingBehind) {
  kv::Runtime::SetCollectEveryPass(true);
  kv::Persistent<Core::Root> root = kv::New<Core::Root>();
  kv::Persistent<System> system = kv::New<System>();
  root->Add(system);
  root->OnSetFocus(system);

  auto cycle = [&] {
    auto* state = kv::New<SubSystem::State>();
    state->Class = &Screen::StaticClass();
    Primitives::KeyRoutingForm* form = system->ChangeState(state);
    ASSERT_NE(form, nullptr);
    auto* param = kv::New<Primitives::KeyRoutingParameter>();
    param->Owner = system.get();
    form->Initialize(param);
    form->Open();
    system->OnSetFocus(form);
    driver.Pass();
    auto* down = kv::New<Core::KeyEvent>();
    down->Initialize(5, 1);
    root->DispatchEvent(down);
    static_cast<Screen*>(form)->list->ScrollItems(3);
    static_cast<Screen*>(form)->list->ScrollPages(2);
    // Shown for a while: the list's own time-out passes too (a running timer
    // keeps its object alive).
    driver.RunFor(12000, 1000);
    form->Close();
    driver.Pass();
  };

  cycle();  // the first round creates the shared objects (widget and message agents)
  const std::map<std::string, size_t> baseline = kv::HeapCensus();
  EXPECT_EQ(baseline.count("censustest::Screen"), 0u);
  for (int i = 0; i < 50; ++i) cycle();
  EXPECT_EQ(kv::HeapCensus(), baseline);
}

}  // namespace
}  // namespace censustest
