// The setting page base through the application: the shrink rule, the row
// a Structures::RefInt names, a remembered row beyond the rows present, up
// and down wrapping over the rows present, Back on a level-3 page.
#include <gtest/gtest.h>

#include "support/app_fixture.h"
#include "units/MainApp/Root.h"
#include "units/MainApp/Standby.h"
#include "units/MenuSystem/MenuItems.h"
#include "units/MenuSystem/ThirdMenu.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Structures/RefHolders.h"

namespace thirdmenutest {
namespace {

class ThirdMenuTest : public apptest::AppTest {
 protected:
  // A page of `rows` links opened with `param`.
  MenuSystem::ThirdMenu* Open(int rows, kv::Object* param) {
    auto* page = kv::New<MenuSystem::ThirdMenu>();
    for (int i = 0; i < rows; ++i) page->AddRow(kv::New<MenuSystem::SubMenuItem>(), nullptr, 0);
    auto* p = kv::New<Primitives::KeyRoutingParameter>();
    p->Owner = App().GetStandby();
    p->Param = param;
    page->Initialize(p);
    page->Open();
    App().GetStandby()->OnSetFocus(page);
    App().OnSetFocus(App().GetStandby());
    screen = page;
    Settle();
    return page;
  }
  Structures::RefInt* Ref(int32_t v) {
    auto* r = kv::New<Structures::RefInt>();
    r->Value = v;
    return r;
  }
  kv::Persistent<MenuSystem::ThirdMenu> screen;
};

TEST_F(ThirdMenuTest, ShortPageShrinksAndRefIntFocusesThatRow) {
  auto* page = Open(3, Ref(3));
  EXPECT_EQ(page->Bounds().H(), 258 - 130);
  EXPECT_EQ(page->OnGetCurrentItemIndex(), 3);
  Press("down");
  EXPECT_EQ(page->OnGetCurrentItemIndex(), 1);
  Press("up");
  EXPECT_EQ(page->OnGetCurrentItemIndex(), 3);
}

TEST_F(ThirdMenuTest, RememberedRowBeyondTheRowsCountsAsFirst) {
  auto* page = Open(2, Ref(9));
  EXPECT_EQ(page->OnGetCurrentItemIndex(), 1);
  EXPECT_EQ(page->Bounds().H(), 258 - 156);
}

TEST_F(ThirdMenuTest, RemovedRowIsNotReachedAndFullPageKeepsItsHeight) {
  auto* page = Open(9, Ref(1));
  EXPECT_EQ(page->Bounds().H(), 258);
  page->RemoveRow(page->Row(8));
  Press("up");
  EXPECT_EQ(page->OnGetCurrentItemIndex(), 8);
}

TEST_F(ThirdMenuTest, BackOnLevelThreeClosesThePage) {
  auto* page = Open(3, Ref(1));
  Press("back");
  EXPECT_FALSE(page->IsOpen());
}

}  // namespace
}  // namespace thirdmenutest
