// The widget manager: one open screen per layer in a sub-system, higher
// layers kept in front, screens leaving the list when they close, the
// window-id questions and CloseLayers closing newest first.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/auto_object.h"
#include "runtime/member.h"
#include "support/kv_test.h"
#include "units/Core/Root.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/Primitives/KeyRoutingGroup.h"
#include "units/Structures/ArrayInt.h"
#include "units/WidgetManager/WidgetManager.h"

namespace wmtest {
namespace {

std::vector<std::string>& Closed() {
  static std::vector<std::string> closed;
  return closed;
}

// A screen that notes its closing; it may close a partner screen as it goes.
class Screen : public Primitives::KeyRoutingForm {
  KV_CLASS(wmtest, Screen, Primitives::KeyRoutingForm)
 public:
  void Close() override {
    Closed().push_back(name);
    Primitives::KeyRoutingForm::Close();
    if (partner) partner->Close();
  }
  std::string name;
  kv::Member<Screen> partner;
};

class WidgetManagerTest : public kvtest::RuntimeTest {
 protected:
  void SetUp() override {
    kvtest::RuntimeTest::SetUp();
    Closed().clear();
    root = kv::New<Core::Root>();
    system = kv::New<Primitives::KeyRoutingGroup>();
    root->Add(system);
    wm = kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
  }
  Screen* Open(const char* name, uint32_t layer, uint32_t winId = 0, Core::Group* parent = nullptr) {
    auto* s = kv::New<Screen>();
    s->name = name;
    s->Layer = layer;
    s->WinID = winId;
    s->Parent = parent ? parent : system.get();
    s->Open();
    return s;
  }
  // Names of the list, oldest first.
  std::vector<std::string> Listed() {
    std::vector<std::string> out;
    for (kv::Object* o : wm->Snapshot()) out.push_back(static_cast<Screen*>(o)->name);
    return out;
  }
  // Names of the sub-system's children, back to front.
  std::vector<std::string> Stacked() {
    std::vector<std::string> out;
    for (int32_t i = 0; i < system->GetChildCount(); ++i)
      if (auto* s = kv::Cast<Screen>(system->GetChild(i))) out.push_back(s->name);
    return out;
  }

  kv::Persistent<Core::Root> root;
  kv::Persistent<Primitives::KeyRoutingGroup> system;
  WidgetManager::WidgetManager* wm = nullptr;
};

using Names = std::vector<std::string>;

TEST_F(WidgetManagerTest, AScreenReplacesTheOpenScreenOfItsLayerAndStaysBehindHigherLayers) {
  Screen* page = Open("page", 4);
  Open("bar", 64);
  Open("dialog", 32);
  EXPECT_EQ(Stacked(), Names({"page", "dialog", "bar"}));
  Open("page2", 4);
  EXPECT_EQ(Closed(), Names({"page"}));
  EXPECT_FALSE(page->IsOpen());
  EXPECT_EQ(Stacked(), Names({"page2", "dialog", "bar"}));
  EXPECT_EQ(Listed(), Names({"bar", "dialog", "page2"}));
  Open("dialog2", 32);
  EXPECT_EQ(Stacked(), Names({"page2", "dialog2", "bar"}));
  Open("top", 256);
  EXPECT_EQ(Stacked(), Names({"page2", "dialog2", "bar", "top"}));

  // A screen of a higher layer elsewhere does not decide the stacking here.
  auto* other = kv::New<Primitives::KeyRoutingGroup>();
  root->Add(other);
  Open("elsewhere", 2, 0, other);
  Open("page3", 1);
  EXPECT_EQ(Stacked(), Names({"page3", "page2", "dialog2", "bar", "top"}));
}

TEST_F(WidgetManagerTest, ClosedScreensLeaveTheListAndOthersAreNotListed) {
  EXPECT_TRUE(wm->Empty());
  Screen* a = Open("a", 2);
  Screen* b = Open("b", 8);
  Screen* inner = Open("inner", 16, 0, a);  // inside a screen, not a sub-system
  EXPECT_EQ(Listed(), Names({"a", "b"}));
  b->Close();
  EXPECT_EQ(Listed(), Names({"a"}));
  system->Remove(a);  // taken out directly: leaves too
  EXPECT_TRUE(wm->Empty());
  EXPECT_TRUE(inner->IsOpen());
}

TEST_F(WidgetManagerTest, CloseLayersClosesTheMatchingScreensNewestFirst) {
  Open("menu8", 8);
  Open("dialog32", 32);
  Open("menu2", 2);
  Open("menu4", 4);
  Open("factory", 1024);
  wm->CloseLayers(30);
  EXPECT_EQ(Closed(), Names({"menu4", "menu2", "menu8"}));
  EXPECT_EQ(Listed(), Names({"dialog32", "factory"}));
  wm->CloseLayers(0);
  EXPECT_EQ(Listed().size(), 2u);
  wm->CloseLayers(480 | 1024);
  EXPECT_TRUE(wm->Empty());
  EXPECT_EQ(Stacked(), Names());
}

TEST_F(WidgetManagerTest, CloseLayersSkipsAScreenThatAnEarlierOneClosed) {
  Screen* a = Open("a", 2);
  Screen* b = Open("b", 4);
  b->partner = a;
  wm->CloseLayers(30);
  EXPECT_EQ(Closed(), Names({"b", "a"}));  // a is closed once, by b, and then skipped
}

TEST_F(WidgetManagerTest, AnswersWindowIdQuestions) {
  Open("guide", 32, 0x2000032);
  Open("photo", 64, 0x12000031);
  EXPECT_EQ(static_cast<Screen*>(wm->FindForm(0x12000031))->name, "photo");
  EXPECT_EQ(wm->FindForm(0x2000033), nullptr);

  auto* ids = kv::New<Structures::ArrayInt>();
  ids->Add(0x2000033);
  EXPECT_FALSE(wm->HasWidget(ids));
  EXPECT_TRUE(wm->HasWidgetExcept(ids));
  ids->Add(0x2000032);
  EXPECT_TRUE(wm->HasWidget(ids));
  EXPECT_TRUE(wm->HasWidgetExcept(ids));
  ids->Add(0x12000031);
  EXPECT_FALSE(wm->HasWidgetExcept(ids));
  EXPECT_FALSE(wm->HasWidget(nullptr));

  EXPECT_TRUE(wm->HasWidgetInGroup(0x12000000));
  EXPECT_TRUE(wm->HasWidgetInGroup(0x2000001));
  EXPECT_FALSE(wm->HasWidgetInGroup(0x1000000));

  for (int i = 3; i < Structures::ArrayInt::kCapacity; ++i) EXPECT_TRUE(ids->Add(i));
  EXPECT_FALSE(ids->Add(99));  // full: logged and refused
  EXPECT_EQ(ids->Count, Structures::ArrayInt::kCapacity);
}

}  // namespace
}  // namespace wmtest
