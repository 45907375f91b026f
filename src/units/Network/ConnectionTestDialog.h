// The one-button dialogs that close the network flows.
//
// Network::NetworkStatusDialog: the state the wireless joins move on to; its
// button goes back while it reads Cancel and on when it reads Done.
//
// Network::ConnectionTestDialog: runs the set's network test (all four
// steps) from the networking page, animates three result rows while it
// waits and fills them from the test results:
//   first result 0         every row failed; done
//   first result 1         row 1 success; row 2 success (second 1), failure
//                          (second 0) or waiting (other); row 3 the measured
//                          speed once it is at least 1; done when the second
//                          result is 1 and the speed is known
//   any other first result ignored
// 120 s without a final result fail the rows still waiting. Once done the
// button reads Done, the test is quit and the dialog returns to the
// networking page 6 s later (or at once on its button). Leaving before the
// end quits the test; the Wrapper's animation runs while the dialog is open.
//
// Network::TestingButton: one result row with its waiting animation (a
// frame every 500 ms).
#pragma once

#include <cstdint>

#include "runtime/text.h"
#include "units/Core/Timer.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/Views/Text.h"

namespace Network {

class NetworkStatusDialog : public NonMenuSystem::ConfirmOneOptionDialog {
  KV_CLASS(Network, NetworkStatusDialog, NonMenuSystem::ConfirmOneOptionDialog)
 public:
  // How long a join may take before it counts as failed.
  static constexpr int32_t kJoinTimeOut = 36000;

  NetworkStatusDialog();

  // Waits for the join's outcome: "connecting", Cancel, 36 s.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void ReInit() override;
  // Done without a next state returns to the menu as Cancel does.
  void EnterNextState() override;
  // No outcome within 36 s: the join failed.
  void JoinTimeout(kv::Object* sender = nullptr);
  // The button: back while it reads Cancel, on while it reads Done.
  void DoActivate(kv::Object* sender = nullptr);
  // Shows one of the two labels (Strings::SID_CANCEL or SID_DONE).
  void SetButtonLabel(const kv::MultiTextId& label);
  const kv::MultiTextId* ButtonLabel() const { return label_; }

 protected:
  // The outcome of a join shows here (not for the connection test).
  virtual bool ShowsJoin() const { return true; }
  void ShowOutcome(bool connected);
  void SetStatusText(const kv::String& text);
  const kv::MultiTextId* label_ = nullptr;
  bool awaitingJoin_ = false;
};

class TestingButton : public SkinBin::Button {
  KV_CLASS(Network, TestingButton, SkinBin::Button)
 public:
  static constexpr int32_t kFramePeriod = 500;

  TestingButton();

  // Shows the next frame of the waiting animation.
  void WaitingSlot(kv::Object* sender = nullptr);
  // Frame 0, and the animation running.
  void StartWaiting();
  void StopWaiting() { timer_.OnSetEnabled(false); }
  // Stops the animation and shows a result.
  void ShowResult(const kv::String& text);
  bool IsWaiting() const { return timer_.IsEnabled(); }

  int32_t Step = 0;

 private:
  Core::Timer timer_;
};

class ConnectionTestDialog : public NetworkStatusDialog {
  KV_CLASS(Network, ConnectionTestDialog, NetworkStatusDialog)
 public:
  static constexpr int32_t kTestTimeOut = 120000;
  static constexpr int32_t kReturnTime = 6000;
  static constexpr int32_t kTestMask = 15;

  ConnectionTestDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Close() override;
  // 120 s without a final result: the waiting rows fail.
  void DoTimeout(kv::Object* sender = nullptr);

  // True: the button reads Done, the dialog returns by itself after 6 s and
  // the test is quit.
  void OnSetTestDone(bool done);
  bool OnGetTestDone() const { return TestDone; }
  bool ShowsJoin() const override { return false; }

  TestingButton& ResultRow(int32_t i) { return rows_[i]; }

  bool TestDone = false;

 private:
  TestingButton rows_[3];
  Views::Text labels_[3];
};

}  // namespace Network
