// Every list draws in its test screen: its rows change the on-screen
// display inside the list and nowhere outside the screen, a screenshot of
// each can be written, and closing gives the picture back as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "ge/surface.h"
#include "listform_fixture.h"
#include "units/ListForm/CBChannelLists.h"
#include "units/ListForm/CBLists.h"
#include "units/ListForm/ChannelLists.h"
#include "units/ListForm/InputLists.h"
#include "units/ListForm/OptionLists.h"
#include "units/OptionDatabase/OptionTypes.h"
#include "units/SkinBin/HdmiCecData.h"

namespace listtest {
namespace {

class ListDrawTest : public ListTest {
 protected:
};

TEST_F(ListDrawTest, EveryListDrawsInsideItsScreen) {
  W()->OnSetEnableKELVO(1);
  W()->GetHdmiCecData()->InitDevList();
  W()->AddChannelToRing(1, W()->GetCurrentChannel());
  struct Case {
    const char* name;
    std::function<ListForm::ListClass*()> open;
  };
  const std::vector<Case> cases = {
      {"option", [&] { return Open(kv::New<ListForm::OptionList>(), {100, 60, 300, 300}, OptionDatabase::OPTION_TYPE_CC_FG_COLOR); }},
      {"sysinfo", [&] { return Open(kv::New<ListForm::SystemInfoList>(), {60, 40, 560, 340}); }},
      {"inputs", [&] { return Open(kv::New<ListForm::ExternalInputList>(), {100, 60, 350, 340}); }},
      {"cec", [&] { return Open(kv::New<ListForm::CecInputList>(), {100, 60, 350, 228}, 2, 40); }},
      {"labels", [&] { return Open(kv::New<ListForm::InputLabelingList>(), {100, 60, 460, 300}); }},
      {"channel-lock", [&] { return Open(kv::New<ListForm::ChannelLockList>(), {100, 40, 460, 300}); }},
      {"channel-option", [&] { return Open(kv::New<ListForm::ChannelOptionList>(), {100, 40, 460, 300}); }},
      {"master", [&] { return Open(kv::New<ListForm::MasterChannelList>(), {100, 40, 460, 300}); }},
      {"cb-inputs", [&] { return Open(kv::New<ListForm::CBInputList>(), {10, 10, 870, 80}, 0, 0, {40, 380, 920, 480}); }},
      {"cb-channels", [&] { return Open(kv::New<ListForm::CBChannelList>(), {10, 10, 870, 80}, 0, 0, {40, 380, 920, 480}); }},
      {"cb-history", [&] { return Open(kv::New<ListForm::CBHistoryList>(), {10, 10, 870, 80}, 0, 0, {40, 380, 920, 480}); }},
      {"cb-favourites", [&] { return Open(kv::New<ListForm::CBFavoritesList>(), {10, 10, 870, 80}, 0, 0, {40, 380, 920, 480}); }},
  };
  for (const Case& c : cases) {
    const std::vector<uint32_t> before(Osd().pixels, Osd().pixels + Osd().stride * Osd().height);
    ListForm::ListClass* l = c.open();
    const kv::Rect inside = l->GetAbsoluteBounds();
    // Rows changed the picture inside the list, and nothing outside the screen.
    int changed = 0, outside = 0;
    const kv::Rect screen = host->GetAbsoluteBounds();
    for (int32_t y = 0; y < Osd().height; ++y)
      for (int32_t x = 0; x < Osd().width; ++x) {
        if (Osd().Row(y)[x] == before[static_cast<size_t>(y * Osd().stride + x)]) continue;
        const bool inList = x >= inside.x1 && x < inside.x2 && y >= inside.y1 && y < inside.y2;
        const bool inScreen = x >= screen.x1 && x < screen.x2 && y >= screen.y1 && y < screen.y2;
        if (inList) ++changed;
        if (!inScreen) ++outside;
      }
    EXPECT_GT(changed, 200) << c.name;
    EXPECT_EQ(outside, 0) << c.name;
    EXPECT_TRUE(Shot((DataDir() / (std::string("list-") + c.name + ".png")).string())) << c.name;
    CloseHost();
    // Closed, the picture is what it was.
    EXPECT_TRUE(std::equal(before.begin(), before.end(), Osd().pixels)) << c.name;
  }
}

}  // namespace
}  // namespace listtest
