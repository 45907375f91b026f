// The system information dialogs, opened as the menu pages open them.
#include <gtest/gtest.h>

#include "nonmenusystem_support.h"
#include "units/Constants/Constants.h"
#include "units/NonMenuSystem/SystemInfoDialogs.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/SubSystem/State.h"

namespace {

using NonMenuSystem::KXDSystemInfoDialog;
using NonMenuSystem::SystemInfoDialog;

class SystemInfoDialogTest : public livetvtest::LiveTVTest {
 protected:
  template <class T>
  T* Open(int32_t code, const kv::Class* prev = nullptr) {
    auto* state = kv::New<SubSystem::State>();
    state->Class = &T::StaticClass();
    state->PrevState = prev;
    state->Param = SkinBin::UserRefInt::Make(0, code);
    Nms()->ChangeState(state);
    Settle();
    return Find<T>();
  }
};

TEST_F(SystemInfoDialogTest, ThePageShowsModelAndVersionAndTakesDigitsInGroupsOfFour) {
  auto* d = Open<SystemInfoDialog>(Constants::MSG_FROM_MENUSYSTEM);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->Bounds(), (kv::Rect{130, 39, 832, 502}));
  auto* skin = kv::Cast<SkinBin::Wrapper>(W());
  ASSERT_NE(skin, nullptr);
  const std::string model = d->ModelLine().ToUtf8();
  EXPECT_NE(model.find(skin->GetModelInfo()->Name.ToUtf8()), std::string::npos) << model;
  EXPECT_NE(d->VersionLine().ToUtf8().find(W()->GetFirmwareVersion().ToUtf8()), std::string::npos);
  // Five digits: the first four are a wrong code and dropped, the fifth starts anew.
  for (const char* k : {"1", "2", "3", "4", "7"}) Press(k);
  EXPECT_EQ(d->Code.ToUtf8(), "7");
  ASSERT_EQ(Find<SystemInfoDialog>(), d);
  // "7" and "913" make the access code: the page closes for the
  // dynamic-contrast menu.
  for (const char* k : {"9", "1", "3"}) Press(k);
  Settle();
  EXPECT_EQ(Find<SystemInfoDialog>(), nullptr);
}

TEST_F(SystemInfoDialogTest, OkWithoutAPreviousStateClosesEveryScreen) {
  auto* d = Open<SystemInfoDialog>(Constants::MSG_FROM_NONMENUSYSTEM);
  ASSERT_NE(d, nullptr);
  d->PrevState = nullptr;
  Press("ok");
  Settle();
  EXPECT_EQ(Find<SystemInfoDialog>(), nullptr);
}

TEST_F(SystemInfoDialogTest, TheSkinVariantMovesBetweenListAndOkAndRestartsItsTimeOut) {
  auto* d = Open<KXDSystemInfoDialog>(Constants::MSG_FROM_NONMENUSYSTEM);
  ASSERT_NE(d, nullptr);
  EXPECT_GT(d->List().ItemNum, 0);
  EXPECT_EQ(d->OnGetFocus(), &d->List());
  Press("left");  // stays on the list
  EXPECT_EQ(d->OnGetFocus(), &d->List());
  Run(10000);
  Press("right");
  EXPECT_EQ(d->OnGetFocus(), &d->OkButton());
  Run(10000);
  Press("right");  // stays on OK, time-out restarted
  EXPECT_EQ(d->OnGetFocus(), &d->OkButton());
  Run(10000);
  ASSERT_EQ(Find<KXDSystemInfoDialog>(), d);
  Press("ok");
  Settle();
  EXPECT_EQ(Find<KXDSystemInfoDialog>(), nullptr);
}

TEST_F(SystemInfoDialogTest, OpenedAndClosedFiftyTimesTheDialogsReturnToTheirBaseline) {
  auto cycle = [&] {
    ASSERT_NE(Open<KXDSystemInfoDialog>(Constants::MSG_FROM_NONMENUSYSTEM), nullptr);
    Press("exit");
    ASSERT_NE(Open<SystemInfoDialog>(Constants::MSG_FROM_NONMENUSYSTEM), nullptr);
    Press("exit");
    Settle();
  };
  cycle();
  const auto baseline = Census();
  for (int i = 0; i < 50; ++i) cycle();
  EXPECT_EQ(Census(), baseline);
}

}  // namespace
