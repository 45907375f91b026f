// Sub-systems and menu pages: ChangeState creating, reusing and refusing
// screens and handing a screen of another sub-system over with
// MSG_CHANGE_STATE; a menu page's CurrentItemIndex, its arrangement of
// items, its activation through OK and its 60-second time-out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/auto_object.h"
#include "runtime/collector.h"
#include "runtime/member.h"
#include "support/kv_test.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Core/Root.h"
#include "units/Primitives/KeyRoutingCtrl.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"
#include "units/SubSystem/MenuClass.h"
#include "units/SubSystem/MenuSystemClass.h"
#include "units/SubSystem/State.h"
#include "units/Views/Rectangle.h"
#include "units/WidgetManager/WidgetManager.h"

namespace subtest {
namespace {

class HomeSystem : public SubSystem::SubSystemClass {
  KV_CLASS(subtest, HomeSystem, SubSystem::SubSystemClass)
};

// A sub-system that notes the state changes handed to it.
class AwaySystem : public SubSystem::SubSystemClass {
  KV_CLASS(subtest, AwaySystem, SubSystem::SubSystemClass)
 public:
  void HandleMessage(Structures::Message* msg) override {
    if (msg->Code == Constants::MSG_CHANGE_STATE) handed.push_back(kv::Cast<SubSystem::State>(msg->ObjParam));
  }
  kv::MemberVector<SubSystem::State> handed;
};

class HomeScreen : public Primitives::KeyRoutingForm {
  KV_CLASS(subtest, HomeScreen, Primitives::KeyRoutingForm)
 public:
  HomeScreen() { SubSystemClass = &HomeSystem::StaticClass(); }
};

class AwayScreen : public Primitives::KeyRoutingForm {
  KV_CLASS(subtest, AwayScreen, Primitives::KeyRoutingForm)
 public:
  AwayScreen() { SubSystemClass = &AwaySystem::StaticClass(); }
};

class Homeless : public Primitives::KeyRoutingForm {
  KV_CLASS(subtest, Homeless, Primitives::KeyRoutingForm)
};

// The menu system of the tests: opens what ChangeState finds at layer 8.
class Menus : public SubSystem::MenuSystemClass {
  KV_CLASS(subtest, Menus, SubSystem::MenuSystemClass)
 public:
  Primitives::KeyRoutingForm* ChangeState(SubSystem::State* state) override {
    Primitives::KeyRoutingForm* form = SubSystem::MenuSystemClass::ChangeState(state);
    if (form) {
      opened.push_back(form);
      form->Parent = this;
      form->Open();
    }
    return form;
  }
  kv::MemberVector<Primitives::KeyRoutingForm> opened;
};

class Page : public SubSystem::MenuClass {
  KV_CLASS(subtest, Page, SubSystem::MenuClass)
 public:
  Page() {
    SubSystemClass = &Menus::StaticClass();
    Layer = 4;
  }
};

class SubPage : public SubSystem::MenuClass {
  KV_CLASS(subtest, SubPage, SubSystem::MenuClass)
 public:
  SubPage() {
    SubSystemClass = &Menus::StaticClass();
    Layer = 8;
  }
};

class SubSystemTest : public kvtest::RuntimeTest {
 protected:
  void SetUp() override {
    kvtest::RuntimeTest::SetUp();
    root = kv::New<Core::Root>();
    home = kv::New<HomeSystem>();
    away = kv::New<AwaySystem>();
    root->Add(home);
    root->Add(away);
    kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Register(away);
  }
  SubSystem::State* NewState(const kv::Class* cls) {
    auto* s = kv::New<SubSystem::State>();
    s->Class = cls;
    s->PrevState = &Homeless::StaticClass();
    s->NextState = &AwayScreen::StaticClass();
    return s;
  }
  size_t Census(const char* cls) {
    auto census = kv::HeapCensus();
    auto it = census.find(cls);
    return it == census.end() ? 0 : it->second;
  }

  kv::Persistent<Core::Root> root;
  kv::Persistent<HomeSystem> home;
  kv::Persistent<AwaySystem> away;
};

TEST_F(SubSystemTest, ChangeStateCreatesOrReusesItsOwnScreensAndFillsOnlyUnsetStates) {
  SubSystem::State* state = NewState(&HomeScreen::StaticClass());
  Primitives::KeyRoutingForm* form = home->ChangeState(state);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->KvClass(), &HomeScreen::StaticClass());
  EXPECT_EQ(form->PrevState, &Homeless::StaticClass());
  EXPECT_EQ(form->NextState, &AwayScreen::StaticClass());
  EXPECT_EQ(form->SubSystemInstance.get(), home.get());
  EXPECT_EQ(form->Owner(), nullptr);  // the base neither places nor opens
  EXPECT_TRUE(away->handed.empty());

  auto* reused = kv::New<HomeScreen>();
  reused->PrevState = &HomeScreen::StaticClass();
  state = NewState(&HomeScreen::StaticClass());
  state->Instance = reused;
  EXPECT_EQ(home->ChangeState(state), reused);
  EXPECT_EQ(reused->PrevState, &HomeScreen::StaticClass());  // set already: kept
  EXPECT_EQ(reused->NextState, &AwayScreen::StaticClass());

  // A screen of no sub-system is answered as it is.
  form = home->ChangeState(NewState(&Homeless::StaticClass()));
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->PrevState, nullptr);
  EXPECT_TRUE(away->handed.empty());
}

TEST_F(SubSystemTest, ChangeStateRefusesMissingAndForeignClasses) {
  EXPECT_EQ(home->ChangeState(nullptr), nullptr);
  EXPECT_EQ(home->ChangeState(NewState(nullptr)), nullptr);
  const size_t before = Census("Structures::RefInt");
  EXPECT_EQ(home->ChangeState(NewState(&Structures::RefInt::StaticClass())), nullptr);
  EXPECT_EQ(home->ChangeState(NewState(&Primitives::KeyRoutingCtrl::StaticClass())), nullptr);
  EXPECT_EQ(Census("Structures::RefInt"), before);  // refused before creating anything
  SubSystem::State* state = NewState(&HomeScreen::StaticClass());
  state->Instance = kv::New<Structures::RefInt>();
  EXPECT_EQ(home->ChangeState(state), nullptr);
}

TEST_F(SubSystemTest, AScreenOfAnotherSubSystemIsHandedOverWithChangeState) {
  SubSystem::State* state = NewState(&AwayScreen::StaticClass());
  state->PrevState = nullptr;
  Primitives::KeyRoutingForm* form = home->ChangeState(state);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(state->Instance.get(), form);
  ASSERT_EQ(away->handed.size(), 1u);
  EXPECT_EQ(away->handed[0], state);
  EXPECT_EQ(form->NextState, nullptr);  // left to its own sub-system
  EXPECT_EQ(form->SubSystemInstance.get(), nullptr);

  // The owner's ChangeState takes the same screen over.
  EXPECT_EQ(away->ChangeState(state), form);
  EXPECT_EQ(form->NextState, &AwayScreen::StaticClass());
  EXPECT_EQ(form->SubSystemInstance.get(), away.get());
  EXPECT_EQ(away->handed.size(), 1u);
}

class MenuTest : public SubSystemTest {
 protected:
  void SetUp() override {
    SubSystemTest::SetUp();
    menus = kv::New<Menus>();
    root->Add(menus);
    root->OnSetFocus(menus);
    page = kv::New<Page>();
    page->MenuSystem = menus.get();
    page->OnSetBounds({0, 0, 400, 300});
    auto* background = kv::New<Views::Rectangle>();
    background->OnSetBounds({0, 0, 400, 300});
    page->Add(background);
    const int32_t widths[] = {50, 60, 40};
    for (int32_t w : widths) {
      auto* item = kv::New<Primitives::KeyRoutingCtrl>();
      item->OnSetBounds({200, 200, 200 + w, 220});
      item->OnActivate = kv::MakeSlot(page.get(), &SubSystem::MenuClass::DoActivate);
      page->Add(item);
      items.push_back(item);
    }
    page->Parent = menus.get();
  }
  kv::Object* Press(uint16_t code) {
    auto* key = kv::New<Core::KeyEvent>();
    key->Initialize(code, 1);
    kv::Object* answer = root->DispatchEvent(key);
    driver.Pass();
    return answer;
  }

  kv::Persistent<Menus> menus;
  kv::Persistent<Page> page;
  std::vector<Primitives::KeyRoutingCtrl*> items;
};

TEST_F(MenuTest, CurrentItemIndexCountsItemsFromOneAndFocusesThem) {
  EXPECT_EQ(page->MenuLevel, 1);
  EXPECT_EQ(page->OnGetCurrentItemIndex(), 0);
  page->OnSetCurrentItemIndex(2);
  EXPECT_EQ(page->OnGetFocus(), items[1]);
  EXPECT_EQ(page->OnGetCurrentItemIndex(), 2);
  page->OnSetCurrentItemIndex(7);  // no such item: stored, the focus stays
  EXPECT_EQ(page->CurrentItemIndex, 7);
  EXPECT_EQ(page->OnGetCurrentItemIndex(), 2);
  page->OnSetCurrentItemIndex(3);
  EXPECT_EQ(page->OnGetCurrentItemIndex(), 3);
  page->OnSetFocus(nullptr);
  EXPECT_EQ(page->OnGetCurrentItemIndex(), 0);
}

TEST_F(MenuTest, RefreshLinesUpTheVisibleItemsSideBySideOrOneUnderAnother) {
  page->ItemXOffset = 10;
  page->ItemYOffset = 5;
  page->ItemInterval = 4;
  page->ArrangeMode = 0;
  page->Refresh();
  EXPECT_EQ(items[0]->Bounds(), kv::Rect({10, 5, 60, 25}));
  EXPECT_EQ(items[1]->Bounds(), kv::Rect({64, 5, 124, 25}));
  EXPECT_EQ(items[2]->Bounds(), kv::Rect({128, 5, 168, 25}));
  EXPECT_EQ(page->GetChild(0)->Bounds(), kv::Rect({0, 0, 400, 300}));  // not an item

  page->ArrangeMode = 1;
  items[1]->OnSetVisible(false);
  page->Refresh();
  EXPECT_EQ(items[0]->Bounds(), kv::Rect({10, 5, 60, 25}));
  EXPECT_EQ(items[2]->Bounds(), kv::Rect({10, 29, 50, 49}));

  page->ArrangeMode = 2;
  items[0]->OnSetBounds({300, 300, 350, 320});
  page->Refresh();
  EXPECT_EQ(items[0]->Bounds(), kv::Rect({300, 300, 350, 320}));
}

TEST_F(MenuTest, OkOnAnItemOpensItsTargetThroughTheMenuSystem) {
  items[1]->NextState = &SubPage::StaticClass();
  page->Open();
  menus->OnSetFocus(page);
  page->OnSetCurrentItemIndex(1);
  Press(keys::KEY_OK);  // the first item has no target
  EXPECT_TRUE(menus->opened.empty());
  page->OnSetCurrentItemIndex(2);
  EXPECT_EQ(Press(keys::KEY_OK), items[1]);
  ASSERT_EQ(menus->opened.size(), 1u);
  Primitives::KeyRoutingForm* sub = menus->opened[0];
  EXPECT_EQ(sub->KvClass(), &SubPage::StaticClass());
  EXPECT_EQ(sub->PrevState, &Page::StaticClass());
  EXPECT_TRUE(sub->IsOpen());
  EXPECT_EQ(kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager)->Count(), 2);
}

TEST_F(MenuTest, APageTimesOutAfterAMinuteAndTheMenuLayersClose) {
  EXPECT_EQ(page->OnGetTimeOutValue(), SubSystem::kMenuTimeOut);
  page->Open();
  auto* dialog = kv::New<Homeless>();
  dialog->Layer = 32;
  dialog->Parent = menus.get();
  dialog->Open();
  driver.RunFor(59000, 1000);
  EXPECT_TRUE(page->IsOpen());
  driver.RunFor(1000, 1000);
  EXPECT_FALSE(page->IsOpen());
  EXPECT_TRUE(dialog->IsOpen());  // not a menu layer
}

}  // namespace
}  // namespace subtest
