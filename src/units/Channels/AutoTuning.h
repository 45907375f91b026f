// The automatic channel scan: confirmation, scan screen, result list and
// "no channels" screen (screens outside the menu).
//
// Channels::AutoTuningDialog runs one pass of the middleware's scan
// (XPM_StartChannelScan, started by an idle signal once the screen shows),
// follows its progress events, and at the end event stops: the critical
// section ends, input lock 2 locks 3-0 and 4-0, the first channel of the ring
// is tuned and the result or the error screen follows. Exit (and 45; Back
// and Menu from the front panel) abort the scan (see ScanDialog); closed
// while its scan runs it stops at once, without a next screen.
//
// In first-time setup (IsInitialSetup) the screen is embedded in a setup
// page (a MainApp::InitialSetupPage whose sequencer gives the tuner media and
// the both-tuners flag); with both tuners it scans source index 0 with the
// first medium, then source index 1 with the second, and signals OnStop
// instead of opening its own next screen.
#pragma once

#include <cstdint>

#include "runtime/slot.h"
#include "units/Channels/ChannelsDialog.h"
#include "units/Channels/ScanDialog.h"
#include "units/ListForm/ChannelLists.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/SkinBin/SkinButtons.h"

namespace Channels {

class AutoTuningConfirmDialog : public NonMenuSystem::ConfirmOneOptionDialog {
  KV_CLASS(Channels, AutoTuningConfirmDialog, NonMenuSystem::ConfirmOneOptionDialog)
 public:
  AutoTuningConfirmDialog();
  // The scan's screens hold the acquisition (see AutoTuningCompleteDialog):
  // Back from the result leads here, and the banner would close the question.
  bool HoldsAcquisition() override { return true; }
  void Close() override;
  // Every type shows the scan question.
  void OnSetConfirmType(int32_t type) override;
};

class AutoTuningDialog : public ScanDialog {
  KV_CLASS(Channels, AutoTuningDialog, ScanDialog)
 public:
  AutoTuningDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Close() override;
  // The scan's screens hold the acquisition (see AutoTuningCompleteDialog).
  bool HoldsAcquisition() override { return !IsInitialSetup; }

  void StartScanProgress(kv::Object* sender = nullptr);
  void StopScan();

  bool OnGetIsInitialSetup() const { return IsInitialSetup; }
  void OnSetIsInitialSetup(bool on) { IsInitialSetup = on; }
  const kv::Slot& OnGetOnStop() const { return OnStop; }
  void OnSetOnStop(const kv::Slot& s) { OnStop = s; }
  // Channels found in the first and in the second pass.
  int32_t GetFirstPassCount() const { return FirstPassCount; }
  int32_t GetSecondPassCount() const { return SecondPassCount; }

  bool IsInitialSetup = false;
  kv::Slot OnStop;
  bool BothTuners = false;
  int32_t FirstMedium = 0;
  int32_t SecondMedium = 0;
  int32_t FirstPassCount = 0;
  int32_t SecondPassCount = 0;
  int32_t SecondPass = 0;

 protected:
  int32_t CallAbort() override;
  // The end of a pass: the second pass, or the stop.
  void EndOfScan(int32_t value0, int32_t value1) override;
  bool HandleScanEvent(Core::Event* event) override;
  // Back and Menu from the front panel stand for Exit.
  uint16_t KeyCode(Core::KeyEvent* key) override;
  void ClosedWhileScanning() override { FinishScan(); }

 private:
  void OnProgress(Core::Event* event);
  // Window 0 to the source at `index`, when it shows another.
  static void SwitchToSourceIndex(SkinBin::Wrapper* w, int32_t index);
  // The stop without the next screen (StopScan's, and a close while scanning).
  void FinishScan();
};

class AutoTuningErrorDialog : public ChannelsDialogClass {
  KV_CLASS(Channels, AutoTuningErrorDialog, ChannelsDialogClass)
 public:
  AutoTuningErrorDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  // The Exit button: an empty channel table starts the discovery of
  // physical channel 2; then every screen closes.
  void ExitSlot(kv::Object* sender = nullptr);

  SkinBin::Button& OkButton() { return panel_.ok; }
  SkinBin::Button& ExitButton() { return panel_.exit; }

 private:
  ErrorPanel panel_;
};

class AutoTuningCompleteDialog : public ChannelsDialogClass {
  KV_CLASS(Channels, AutoTuningCompleteDialog, ChannelsDialogClass)
 public:
  AutoTuningCompleteDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Close() override;
  // The channel tuned at the end of the scan waits with its banner until
  // the viewer leaves the scan's screens, rather than showing it half under
  // the result. The first-time setup's page, which embeds the result,
  // leaves it alone.
  bool HoldsAcquisition() override { return !IsInitialSetup; }
  // Closes every screen and signals OnExit.
  void ExitSlot(kv::Object* sender = nullptr);

  bool OnGetIsInitialSetup() const { return IsInitialSetup; }
  void OnSetIsInitialSetup(bool on) { IsInitialSetup = on; }
  const kv::Slot& OnGetOnExit() const { return OnExit; }
  void OnSetOnExit(const kv::Slot& s) { OnExit = s; }
  const kv::Slot& OnGetOnReturn() const { return OnReturn; }
  void OnSetOnReturn(const kv::Slot& s) { OnReturn = s; }

  ListForm::MasterChannelList& List() { return list_; }
  const kv::String& FoundText() const { return found_.OnGetString(); }

  bool IsInitialSetup = false;
  kv::Slot OnExit;
  kv::Slot OnReturn;

 private:
  ListForm::MasterChannelList list_;
  Views::Text headings_[4];
  Views::Text found_;
};

}  // namespace Channels
