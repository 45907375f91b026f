// The list tests: the application as it runs, with the skin Wrapper behind
// MainApp::Wrapper, and a small test screen that plays the owner of one list
// (the dialogs that host the lists come later): it embeds the list, starts
// it with the owner's parameter and opens with the focus on it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/auto_object.h"
#include "runtime/collector.h"
#include "support/app_fixture.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/Constants.h"
#include "units/Forms/Ctrl.h"
#include "units/ListForm/ListClass.h"
#include "units/MainApp/Root.h"
#include "units/MainApp/Standby.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"

namespace listtest {

// Counts the signals of the list's slots.
class Probe : public kv::Object {
  KV_CLASS(listtest, Probe, kv::Object)
 public:
  void Hit(kv::Object* /*sender*/) { ++hits; }
  int hits = 0;
};

class ListTest : public apptest::AppTest {
 protected:
  void SetUpData() override {
    // The skin Wrapper is the concrete class of MainApp::Wrapper here.
    savedClass_ = MainApp::Wrapper.cls;
    MainApp::Wrapper.cls = []() -> const kv::Class* { return &SkinBin::Wrapper::StaticClass(); };
    MainApp::Wrapper.instance = nullptr;
  }
  void SetUp() override {
    apptest::AppTest::SetUp();
    W()->PersistentData = kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
    Settle();
  }
  void TearDown() override {
    host = nullptr;
    apptest::AppTest::TearDown();
    MainApp::Wrapper.cls = savedClass_;
  }

  SkinBin::Wrapper* W() { return kv::GetAutoObject<SkinBin::Wrapper>(MainApp::Wrapper); }

  // Opens a test screen of `bounds` that embeds `list` (at `listBounds`,
  // relative to the screen) and starts it with a SkinBin::UserRefInt of
  // `value` and `value2`. A `form` given plays the owner (else a plain one).
  template <class L>
  L* Open(L* list, kv::Rect listBounds, int32_t value = 0, int32_t value2 = 0, kv::Rect bounds = {60, 60, 900, 500},
          Primitives::KeyRoutingForm* form = nullptr) {
    if (!form) form = kv::New<Primitives::KeyRoutingForm>();
    form->OnSetBounds(bounds);
    if (form->WinID == 0) form->WinID = 0x02000006;
    form->Layer = 0x100;  // its own layer: the banner that follows a tuning stays beside it
    form->OnSetTimeOutValue(0);
    form->Parent = App().GetStandby();
    list->OnSetBounds(listBounds);
    auto* param = kv::New<Primitives::KeyRoutingParameter>();
    param->Owner = form;
    auto* ref = SkinBin::UserRefInt::Make(value, 0);
    ref->Value2 = value2;
    param->Param = ref;
    list->Initialize(param);
    list->Open();
    form->OnSetFocus(list);
    form->Open();
    App().GetStandby()->OnSetFocus(form);
    App().OnSetFocus(App().GetStandby());
    host = form;
    Settle();
    return list;
  }
  // Closes the screen and, as the dialogs do, the lists it embeds first.
  void CloseHost() {
    if (host) {
      for (int32_t i = host->GetChildCount() - 1; i >= 0; --i)
        if (auto* list = kv::Cast<Primitives::KeyRoutingListForm>(host->GetChild(i))) list->Close();
      host->Close();
    }
    host = nullptr;
    Settle();
    Run(1);  // one pass more: the area the screen left is drawn again
  }

  // The visible rows, in order, and their texts.
  static std::vector<Forms::Ctrl*> Rows(ListForm::ListClass* l) { return l->GetRows(); }
  template <class R>
  static R* Row(ListForm::ListClass* l, size_t i) {
    auto rows = l->GetRows();
    return i < rows.size() ? kv::Cast<R>(rows[i]) : nullptr;
  }
  static std::string Text(Forms::Ctrl* row) {
    auto* item = kv::Cast<ListForm::ListItem>(row);
    return item ? item->OnGetText().ToUtf8() : std::string();
  }
  static std::string FocusedText(ListForm::ListClass* l) { return Text(l->GetFocusedRow()); }

  // Each of `kinds` lists, opened, used and closed by `cycle(kind)` 50
  // times, returns to the census it had after the first time.
  template <class Cycle>
  void ExpectCensusBaseline(int kinds, Cycle cycle) {
    for (int kind = 0; kind < kinds; ++kind) {
      cycle(kind);
      // The banner that a tuning brought up has gone, and so has the
      // question on the stick plugged at start, after its minute.
      Run(61000);
      auto baseline = Census();
      for (int i = 0; i < 50; ++i) cycle(kind);
      Run(10000);
      // Tuning from a list adds to the history of watched channels (up to
      // its cap): that record is the set's, not the list's.
      auto now = Census();
      for (auto* census : {&baseline, &now})
        // The banner that follows a tuning loads its icons on first use
        // into the resource cache.
        for (const char* history : {"Structures::HistoryInfo", "Structures::HistoryChannelInfo", "Structures::VirtualChannel",
                                    "Resources::Bitmap"})
          census->erase(history);
      EXPECT_EQ(now, baseline) << kind;
    }
  }

  kv::Persistent<Primitives::KeyRoutingForm> host;

 private:
  const kv::Class* (*savedClass_)() = nullptr;
};

}  // namespace listtest
