// The software-update screens through the whole system: the check answered
// with success, with failure or never, and the update that ends well, badly
// or never starts; the power key before and after.
#include <gtest/gtest.h>

#include <algorithm>

#include <string>

#include "nonmenusystem_support.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "strings/NonMenuSystem.h"
#include "strings/SkinBinWrapper.h"
#include "units/Events/XPM_EVENT_KEY.h"
#include "units/Constants/Constants.h"
#include "units/Events/XPM_EVENT_UBN_MEDIA_INSERTED.h"
#include "units/Events/XPM_EVENT_UBN_RESULT.h"
#include "units/Events/XPM_EVENT_UBN_UPDATE_REMIND.h"
#include "units/Events/XPM_EVENT_STANDBY.h"
#include "units/PersistentData/PersistentData.h"
#include "units/SkinBin/Wrapper.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/Update/CheckingMessage.h"
#include "units/Update/UpdatingDialog.h"

namespace livetvtest {

class UpdateTest : public LiveTVTest {
 protected:
  Update::CheckingMessage* Checking() { return Find<Update::CheckingMessage>(); }
  Update::UpdatingDialog* Updating() { return Find<Update::UpdatingDialog>(); }
  SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(W()); }
  PersistentData::PersistentData* Data() {
    return kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
  }
  void StartCheck(const std::string& answer) {
    Tv().SetState("upd.check", answer);
    Nms()->Open(&Update::CheckingMessage::StaticClass());
    Settle();
  }
  void StartUpdate() {
    Nms()->Open(&Update::UpdatingDialog::StaticClass());
    Settle();
  }
  void Result(int32_t code) {
    Inject(XPM_EVT_UBN_RESULT, XPM_Int32Payload{code});
    Settle();
  }
  // The power key switches the set off (and the next press wakes it).
  bool PowerWorks() {
    ClearCallLog();
    Press("power");
    Settle();
    const bool off = !Calls("XPM_StandbyMode").empty();
    if (off) {
      Press("power");
      Settle();
    }
    return off;
  }
};

TEST_F(UpdateTest, CheckThatSucceedsLeadsToTheInstallConfirmation) {
  Data()->PutString(SkinBinWrapper::KEY_USB_UPDATE, KV_STR(u"/mnt/usb/image.bin"));
  StartCheck("0");
  kv::Persistent<Update::CheckingMessage> c = Checking();
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(Calls("XPM_StartUpdateCheck").size(), 1u);
  EXPECT_TRUE(Data()->GetString(SkinBinWrapper::KEY_USB_UPDATE).Empty()) << "the check forgets the USB marker";
  // Centred on the screen, without a lift.
  EXPECT_EQ(c->Bounds().x1, (960 - 500) / 2);
  EXPECT_EQ(c->Bounds().y1, (540 - 80) / 2);
  // Every key is swallowed while it waits, exit included.
  Press("exit");
  Press("ok");
  EXPECT_EQ(Checking(), c);
  // The answer comes after 3 s: confirmation 50 (when that dialog exists).
  Run(3500);
  Settle();
  EXPECT_EQ(Checking(), nullptr);
  EXPECT_EQ(c->NextMessageType, 50);
  if (const kv::Class* confirm = kv::FindClass("NonMenuSystem::ConfirmMultiOptionDialog")) {
    bool open = false;
    for (auto* f : OpenForms()) open = open || f->KvClass() == confirm;
    EXPECT_TRUE(open);
  }
}

TEST_F(UpdateTest, CheckResultsChooseTheMessage) {
  const struct {
    const char* answer;
    int32_t type;
  } rows[] = {{"5000", 15}, {"6000", 16}, {"1234", 29}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.answer);
    StartCheck(r.answer);
    const kv::Rect area = Checking()->Bounds();
    Run(3500);
    Settle();
    EXPECT_EQ(Checking(), nullptr);
    ASSERT_NE(Bar(), nullptr);
    EXPECT_EQ(BarType(), r.type);
    // The notice stands centred over where the checking message stood.
    const kv::Rect b = Bar()->Bounds();
    EXPECT_EQ(b.x1, area.x1 + (area.W() - b.W()) / 2);
    EXPECT_EQ(b.y1, area.y1 + (area.H() - b.H()) / 2);
    Nms()->ClearAll();
    Settle();
  }
}

TEST_F(UpdateTest, CheckThatNeverAnswersEndsAsAFailure) {
  StartCheck("none");
  ASSERT_NE(Checking(), nullptr);
  Run(30000);
  EXPECT_NE(Checking(), nullptr) << "still waiting";
  Press("exit");
  EXPECT_NE(Checking(), nullptr);
  Run(31000);
  Settle();
  EXPECT_EQ(Checking(), nullptr);
  EXPECT_EQ(BarType(), 29);
  EXPECT_TRUE(Logged("no answer"));
  // A late answer finds no screen and changes nothing.
  Nms()->ClearAll();
  Settle();
  Result(0);
  EXPECT_EQ(Checking(), nullptr);
  EXPECT_TRUE(PowerWorks());
}

TEST_F(UpdateTest, UpdateThatSucceedsOverTheNetwork) {
  StartUpdate();
  Update::UpdatingDialog* u = Updating();
  ASSERT_NE(u, nullptr);
  EXPECT_TRUE(Skin()->AppCriticalSection);
  EXPECT_EQ(Calls("XPM_PowerKeyCtrl").back(), "XPM_PowerKeyCtrl(0)");
  // Progress 0: the bar stays hidden.
  Run(3000);
  EXPECT_FALSE(u->IsWaitingShown());
  // OK, exit, power and a standby request do nothing.
  ClearCallLog();
  Press("ok");
  Press("exit");
  Press("power");
  kv::Persistent<Events::XPM_EVENT_STANDBY> standby = kv::New<Events::XPM_EVENT_STANDBY>();
  Dispatch(standby);
  Settle();
  EXPECT_EQ(Updating(), u);
  EXPECT_TRUE(Calls("XPM_StandbyMode").empty());
  // The update writes: the bar shows it.
  Tv().SetState("upd.progress", "40");
  Run(1000);
  EXPECT_TRUE(u->IsWaitingShown());
  EXPECT_EQ(u->Progress(), 40);
  // Writing for longer than the start limit never cuts it short.
  Run(Update::UpdatingDialog::kStartLimit + 10000);
  EXPECT_EQ(Updating(), u);
  Data()->PutString(NonMenuSystem::KEY_UPDATE_PATH, KV_STR(u"/net/image.bin"));
  Result(0);
  EXPECT_EQ(Updating(), nullptr);
  EXPECT_FALSE(Skin()->AppCriticalSection);
  EXPECT_EQ(BarType(), 18);
  EXPECT_TRUE(Data()->GetString(NonMenuSystem::KEY_UPDATE_PATH).Empty());
}

// What the viewer reads and sees: the check's sentence whole, and, once the
// update writes, the bar's groove drawn to its right end beyond the
// indicator, set apart from the progress block around it.
TEST_F(UpdateTest, TheCheckAndTheProgressAsTheViewerSeesThem) {
  StartCheck("0");
  Run(300);
  EXPECT_TRUE(Sees("Checking for a newer TV software version...")) << SeenList();
  Nms()->ClearAll();
  Settle();
  StartUpdate();
  Tv().SetState("upd.progress", "20");
  Run(1000);
  Update::UpdatingDialog* u = Updating();
  ASSERT_NE(u, nullptr);
  ASSERT_TRUE(u->IsWaitingShown());
  // Past the 20 % the indicator covers, the bar's groove still shows: its
  // rim stands out from the progress block around it.
  const kv::Rect d = u->Bounds();
  const int32_t top = d.y1 + 96 + (28 - 10) / 2;
  int32_t brightest = 0;
  for (int32_t y = top - 2; y < top + 12; ++y)
    for (int32_t x = d.x1 + 66 + 20 + 120; x < d.x1 + 434 + 2; ++x) {
      const uint32_t p = Osd().Row(y)[x];
      brightest = std::max<int32_t>(brightest, int32_t((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF)));
    }
  EXPECT_GT(brightest, 3 * 0x40) << "no groove drawn past the indicator";
}

TEST_F(UpdateTest, UpdateFromUsbAndUpdateThatFails) {
  Data()->PutString(SkinBinWrapper::KEY_USB_UPDATE, KV_STR(u"1"));
  StartUpdate();
  ASSERT_NE(Updating(), nullptr);
  Result(0);
  EXPECT_EQ(BarType(), 19);
  EXPECT_TRUE(Data()->GetString(SkinBinWrapper::KEY_USB_UPDATE).Empty());
  // The notice gone, the set restarts through standby, where no screen
  // opens; the power key wakes it for the next update.
  Nms()->ClearAll();
  Settle();
  StartUpdate();
  EXPECT_EQ(Updating(), nullptr);
  Press("power");
  Settle();
  // A failure gives the power key back.
  StartUpdate();
  ASSERT_NE(Updating(), nullptr);
  EXPECT_FALSE(PowerWorks());
  Result(77);
  EXPECT_EQ(Updating(), nullptr);
  EXPECT_EQ(BarType(), 17);
  EXPECT_EQ(Calls("XPM_PowerKeyCtrl").back(), "XPM_PowerKeyCtrl(1)");
  Nms()->ClearAll();
  Settle();
  EXPECT_TRUE(PowerWorks());
}

TEST_F(UpdateTest, UpdateThatNeverStartsEndsAsAFailure) {
  StartUpdate();
  Update::UpdatingDialog* u = Updating();
  ASSERT_NE(u, nullptr);
  Run(Update::UpdatingDialog::kStartLimit - 5000);
  EXPECT_EQ(Updating(), u);
  Run(6000);
  Settle();
  EXPECT_EQ(Updating(), nullptr);
  EXPECT_EQ(BarType(), 17);
  EXPECT_FALSE(Skin()->AppCriticalSection);
  Nms()->ClearAll();
  Settle();
  EXPECT_TRUE(PowerWorks());
}

// The road in: the reminder opens confirmation 49 leading to the check; a
// successful check opens confirmation 50; an update medium opens
// confirmation 6 leading to the updating dialog.
TEST_F(UpdateTest, TheConfirmationsLeadToTheUpdateScreens) {
  auto confirm = [this]() { return Find<NonMenuSystem::ConfirmMultiOptionDialog>(); };
  kv::Persistent<Events::XPM_EVENT_UBN_UPDATE_REMIND> remind = kv::New<Events::XPM_EVENT_UBN_UPDATE_REMIND>();
  Send(Constants::MSG_EVENT_CACHED, -1, remind);
  ASSERT_NE(confirm(), nullptr);
  EXPECT_EQ(confirm()->ConfirmType, 49);
  EXPECT_EQ(confirm()->NextState, &Update::CheckingMessage::StaticClass());
  Nms()->ClearAll();
  Settle();
  StartCheck("0");
  Run(3500);
  ASSERT_NE(confirm(), nullptr);
  EXPECT_EQ(confirm()->ConfirmType, 50);
  Nms()->ClearAll();
  Settle();
  kv::Persistent<Events::XPM_EVENT_UBN_MEDIA_INSERTED> media = kv::New<Events::XPM_EVENT_UBN_MEDIA_INSERTED>();
  media->Path = KV_STR(u"/mnt/usb/update.bin");
  Send(Constants::MSG_EVENT_CACHED, -1, media);
  ASSERT_NE(confirm(), nullptr);
  EXPECT_EQ(confirm()->ConfirmType, 6);
  EXPECT_EQ(confirm()->NextState, &Update::UpdatingDialog::StaticClass());
}

TEST_F(UpdateTest, CensusReturnsToBaseline) {
  auto cycle = [this] {
    StartCheck("5000");
    Run(3500);
    Nms()->ClearAll();
    StartUpdate();
    Result(1);
    Nms()->ClearAll();
    Settle();
  };
  cycle();
  Run(100);
  const auto before = Census();
  for (int i = 0; i < 50; ++i) cycle();
  Run(100);
  const auto after = Census();
  for (const char* cls : {"Update::CheckingMessage", "Update::UpdatingDialog", "NonMenuSystem::DirectMessageBar",
                          "Events::XPM_EVENT_UBN_RESULT"}) {
    const size_t b = before.count(cls) ? before.at(cls) : 0;
    const size_t a = after.count(cls) ? after.at(cls) : 0;
    EXPECT_EQ(a, b) << cls;
  }
}

}  // namespace livetvtest
