// Channels::ScanDialog: what the two scan screens (the automatic scan and
// the guide-data scan) share. The scan panel, no time-out, every key and
// every event its own while it shows, except the standby event (which
// aborts) and the rating-region event (passed on); Exit and 45 abort.
// An abort the set refuses, or leaves unanswered for kAbortAnswerMs, counts
// as answered: the scan ends as aborted. A screen closed while its scan runs
// (standby closes every screen; another screen clears all) aborts the scan.
#pragma once

#include <cstdint>

#include "units/Channels/ChannelsDialog.h"

namespace Core {
class KeyEvent;
}

namespace Channels {

class ScanDialog : public ChannelsDialogClass {
  KV_CLASS(Channels, ScanDialog, ChannelsDialogClass)
 public:
  ScanDialog();

  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Close() override;

  // Asks the set to abort the running scan.
  void AbortScan();
  void ShowWaiting(bool on) { panel_.ShowWaiting(on); }
  ScanPanel& Panel() { return panel_; }
  bool IsScanning() const { return scanning_; }

 protected:
  // The base initialisation, then: no time-out, the Stop help, the waiting text.
  void InitializeScan(Primitives::KeyRoutingParameter* param);
  // The scan runs from now on (`on`), or has ended.
  void SetScanning(bool on);
  // The set's abort call; its status.
  virtual int32_t CallAbort() { return 0; }
  // The end of the scan (its end event, or an abort counted as answered).
  virtual void EndOfScan(int32_t value0, int32_t value1) { (void)value0, (void)value1; }
  // Progress and end events; true when the event was one.
  virtual bool HandleScanEvent(Core::Event* event) { (void)event; return false; }
  // A key code as the screen reads it (a panel key may stand for another).
  virtual uint16_t KeyCode(Core::KeyEvent* key);
  // Closed while the scan ran (after the abort call).
  virtual void ClosedWhileScanning() {}
  // The screen moves on by itself: its closing aborts nothing.
  void Finishing() { finishing_ = true; }

  ScanPanel panel_;

 private:
  void AbortUnanswered(kv::Object* sender);

  Core::Timer abortTimer_;
  bool scanning_ = false;
  bool finishing_ = false;
};

}  // namespace Channels
