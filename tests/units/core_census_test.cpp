// A dialog with a blink timer, a fade effect, an observer registration and
// controls, opened and closed 50 times through the loop with a collection
// after every pass, leaves the heap as it found it.
#include <gtest/gtest.h>

#include "core_test_support.h"
#include "runtime/collector.h"
#include "runtime/ref.h"
#include "units/Core/Timer.h"
#include "units/Effects/Int32Effect.h"

namespace coretest {
namespace {

// Something a dialog observes (a data source, say).
class Model : public kv::Object {
  KV_CLASS(coretest, Model, kv::Object)
 public:
  int32_t value = 0;
};
KV_REGISTER_CLASS(coretest::Model);

class Dialog : public Forms::Form {
  KV_CLASS(coretest, Dialog, Forms::Form)
 public:
  Dialog() {
    blink.OnTrigger = kv::MakeSlot(this, &Dialog::Blink);
    fade.OnSetOutlet(kv::MakeRef<int32_t>(this, &Core::Group::OnGetOpacity, &Core::Group::OnSetOpacity));
  }

  void Initialize(Model* source) {
    OnSetBounds({200, 100, 760, 440});
    for (int i = 0; i < 3; ++i) {
      auto* c = kv::New<KeyCtrl>();
      c->OnSetBounds({20, 20 + i * 50, 300, 60 + i * 50});
      Add(c);
    }
    auto* cursor = kv::New<FillView>();
    cursor->OnSetBounds({10, 300, 12, 320});
    Add(cursor);
    model = source;
    kv::AttachObjObserver(kv::MakeSlot(this, &Dialog::Changed), source);
  }

  void Open(Core::Root* root) {
    root->Add(this);
    root->OnSetFocus(this);
    SelectFirst();
    BeginModal();
    blink.Restart(500, 500);
    fade.OnSetNoOfFrames(8);
    fade.OnSetPeriod(20);
    fade.OnSetEnabled(true);
  }

  kv::Object* HandleEvent(Core::Event* event) override {
    auto* key = kv::Cast<Core::KeyEvent>(event);
    if (!key) return nullptr;
    if (key->Code == 5) SelectNext();
    if (key->Code == 2) {
      blink.OnSetEnabled(false);
      fade.OnSetEnabled(false);
      EndModal();
      Owner()->Remove(this);
    }
    return this;
  }

  void Blink(kv::Object*) {
    Core::View* cursor = GetChild(GetChildCount() - 1);
    cursor->OnSetVisible(!cursor->IsVisible());
  }
  void Changed(kv::Object*) { seen = model->value; }

  Core::Timer blink;
  Effects::Int32Effect fade;
  kv::Member<Model> model;
  int32_t seen = 0;
};
KV_REGISTER_CLASS(coretest::Dialog);

class CensusTest : public ViewTest {};

TEST_F(CensusTest, ADialogOpenedAndClosedFiftyTimesLeavesTheHeapAsItWas) {
  kv::Runtime::SetCollectEveryPass(true);
  kv::Persistent<Model> model = kv::New<Model>();
  driver.Pass();
  const auto baseline = kv::HeapCensus();

  for (int round = 0; round < 50; ++round) {
    auto* dialog = kv::New<Dialog>();
    dialog->Initialize(model);
    dialog->Open(root);
    driver.Pass();
    Press(5);
    driver.RunFor(600, 20);  // the fade ends, the cursor blinks once
    ASSERT_EQ(dialog->OnGetOpacity(), 255);
    ASSERT_FALSE(dialog->GetChild(dialog->GetChildCount() - 1)->IsVisible());
    model->value = round + 1;
    kv::NotifyObjObservers(model);
    ASSERT_EQ(dialog->seen, round + 1);
    ASSERT_EQ(kv::HeapCensus()["coretest::Dialog"], 1u);
    Press(2);
    ASSERT_EQ(root->GetChildCount(), 0);  // the dialog closed itself (and is freed by now)
    ASSERT_FALSE(root->IsAnimationRunning());
  }
  driver.Pass();
  EXPECT_EQ(kv::HeapCensus(), baseline);
  EXPECT_EQ(root->GetModalGroup(), nullptr);
}

}  // namespace
}  // namespace coretest
