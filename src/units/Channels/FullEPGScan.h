// The guide-data scan: confirmation, progress screen and "nothing scanned"
// screen (screens outside the menu).
//
// Channels::FullEPGScanDialog asks the middleware to collect the programme
// guide of every physical channel of the medium (antenna 2..69, cable
// 1..135, XPM_EPG_FullChannelScan on the tuner in use). Each progress event
// moves the bar to position x 100 / total, clamped to 0..100; a total of 0
// keeps the bar. At the end every screen closes, or the error screen follows
// when no progress was reported. Exit and 45 abort (see ScanDialog). The
// screen takes no critical section and leaves the channel table alone.
#pragma once

#include <cstdint>

#include "units/Channels/ChannelsDialog.h"
#include "units/Channels/ScanDialog.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/SkinBin/SkinButtons.h"

namespace Channels {

class FullEPGScanConfirmDialog : public NonMenuSystem::ConfirmOneOptionDialog {
  KV_CLASS(Channels, FullEPGScanConfirmDialog, NonMenuSystem::ConfirmOneOptionDialog)
 public:
  FullEPGScanConfirmDialog();
  void OnSetConfirmType(int32_t type) override;
};

class FullEPGScanDialog : public ScanDialog {
  KV_CLASS(Channels, FullEPGScanDialog, ScanDialog)
 public:
  FullEPGScanDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void StartScanProgress(kv::Object* sender = nullptr);
  void StopScan();

  // Channels in the run, from the last progress event.
  uint32_t Total = 0;

 protected:
  int32_t CallAbort() override;
  void EndOfScan(int32_t value0, int32_t value1) override;
  bool HandleScanEvent(Core::Event* event) override;
};

class FullEPGScanErrorDialog : public ChannelsDialogClass {
  KV_CLASS(Channels, FullEPGScanErrorDialog, ChannelsDialogClass)
 public:
  FullEPGScanErrorDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;

  SkinBin::Button& OkButton() { return panel_.ok; }
  SkinBin::Button& ExitButton() { return panel_.exit; }

 private:
  ErrorPanel panel_;
};

}  // namespace Channels
