// A notice that the set raises over the Record key's choice: where the
// notice hides the button in focus, no key acts on that button until the
// notice goes (the set records nothing the viewer could not see asked for);
// a notice at the foot of the screen leaves the choice its keys; a notice
// that any key closes takes the first key only. Once the notice has gone the
// choice answers OK again. Driven from a new set's defaults by keys and the
// set's own messages through the GUI loop.
#include <gtest/gtest.h>

#include <string>

#include "app_fixture.h"
#include "platform/xpm/xpm_record.h"
#include "runtime/auto_object.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/Constants.h"
#include "units/Constants/MessageTypes.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Record/RecordOptionsDialog.h"
#include "units/Structures/Message.h"

namespace {

class NoticeKeysTest : public apptest::AppTest {
 protected:
  // The set's own message to live TV, as the recorder and the timers send it.
  void ShowMessage(int32_t type) {
    auto* msg = kv::New<Structures::Message>();
    msg->Initialize(Constants::MSG_SHOW_MESSAGE, nullptr, type);
    kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)
        ->DispatchTo(msg, &NonMenuSystem::NonMenuSystem::StaticClass());
  }
  bool ChoiceOpen() {
    auto* d = Find<Record::RecordOptionsDialog>();
    return d && d->IsOpen();
  }
  size_t Recordings() { return Calls("XPM_RECORDING_START").size(); }
};

struct NoticeRow {
  const char* what;
  int32_t type;
  bool okRecordsAtOnce;  // the first OK under the notice starts the recording
};

TEST_F(NoticeKeysTest, ANoticeOverTheRecordChoiceLetsNoKeyActOnAButtonItHides) {
  const NoticeRow rows[] = {
      // Centred over the choice's buttons, for 4 s; it takes no key itself.
      {"the timer's channel is not valid (centred)", Constants::DirectMsgTypeInvalidTimerChannel, false},
      // At the foot of the screen, clear of the buttons.
      {"a recording stopped (at the foot)", Constants::DirectMsgTypeRecordStopped, true},
      // Centred, and any key closes it: OK only closes the notice.
      {"a timer overlaps another (any key closes it)", Constants::DirectMsgTypeTimerOverlap, false},
  };
  for (const NoticeRow& row : rows) {
    SCOPED_TRACE(row.what);
    StartAfresh();
    Run(1000);
    // A disk to record to; its question closed.
    sim::MountUsbDisk(Tv());
    Run(1000);
    Press("exit");
    Run(500);
    Press("record");
    Run(300);
    ASSERT_TRUE(ChoiceOpen()) << SeenList();
    ShowMessage(row.type);
    Run(300);
    ASSERT_NE(Find<NonMenuSystem::DirectMessageBar>(), nullptr) << SeenList();
    ClearCallLog();
    Press("ok");
    Run(300);
    EXPECT_EQ(Recordings(), row.okRecordsAtOnce ? 1u : 0u) << SeenList();
    if (row.okRecordsAtOnce) continue;
    // Whatever took that OK, the choice is still there; once the notice has
    // gone it shows whole and OK records the channel in tune.
    ASSERT_TRUE(ChoiceOpen()) << SeenList();
    for (int i = 0; i < 50 && Find<NonMenuSystem::DirectMessageBar>(); ++i) Run(100);
    EXPECT_EQ(Find<NonMenuSystem::DirectMessageBar>(), nullptr) << SeenList();
    ASSERT_TRUE(ChoiceOpen()) << SeenList();
    EXPECT_TRUE(Sees("Record this channel now")) << SeenList();
    Press("ok");
    Run(300);
    EXPECT_EQ(Recordings(), 1u) << SeenList();
  }
}

}  // namespace
