// The last four pages of the first-time setup: the scan confirmation, the
// scan, its result and the "no channels" page.
//
// AutoTuningConfirmDialog (step 5): opening it stores setup step 9 in the
// settings (with the backup), so that the setup does not come back at the
// next start whatever happens to the scan; exit ends the setup here.
// AutoTuningDialog: the channel scan screen in its setup mode, embedded; it
// reads the tuner media and the both-tuners flag through the page's
// sequencer and signals DoStop when its pass or passes have ended: the
// result page follows when either tuner found channels, else the error page.
// AutoTuningCompleteDialog: the scan's result list, embedded; exit ends the
// setup, Back returns to the tuner choice.
// AutoTuningErrorDialog (step 5): OK returns to the tuner choice with the
// both-tuners flag cleared, Exit ends the setup without channels.
//
// The scan and result pages hide their own panel and show the embedded
// screen over the whole page, sized so that the screen's rows fit (the scan
// page 596 x 250, the result page 560 x 440, before the frame adjustment).
#pragma once

#include <cstdint>

#include "units/Channels/AutoTuning.h"
#include "units/InitialSetup/InitialSetupDialog.h"
#include "units/SkinBin/SkinButtons.h"

namespace InitialSetup {

class AutoTuningConfirmDialog : public InitialSetupDialog {
  KV_CLASS(InitialSetup, AutoTuningConfirmDialog, InitialSetupDialog)
 public:
  AutoTuningConfirmDialog();

  // The base, then step 9 stored through the sequencer.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  // Grows or shrinks the page with the explanation's height.
  void OnSetInfo(const kv::String& text) override;

  SkinBin::Button& Start() { return start_; }

 protected:
  Core::View* FirstControl() override { return &start_; }

 private:
  SkinBin::Button start_;
};

class AutoTuningDialog : public InitialSetupDialog {
  KV_CLASS(InitialSetup, AutoTuningDialog, InitialSetupDialog)
 public:
  AutoTuningDialog();

  // The base, the scan screen's own start-up, then the Stop help.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  // A page closed while its scan runs (standby) aborts the scan.
  void Close() override;
  // The scan has stopped: the result page when a tuner found channels, else the error page.
  void DoStop(kv::Object* sender = nullptr);

  Channels::AutoTuningDialog& Scan() { return scan_; }

 protected:
  Core::View* FirstControl() override { return &scan_; }

 private:
  Channels::AutoTuningDialog scan_;
};

class AutoTuningCompleteDialog : public InitialSetupDialog {
  KV_CLASS(InitialSetup, AutoTuningCompleteDialog, InitialSetupDialog)
 public:
  AutoTuningCompleteDialog();

  // The base, the result screen's own start-up, then its help.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  void Close() override;

  Channels::AutoTuningCompleteDialog& Result() { return result_; }

 protected:
  Core::View* FirstControl() override { return &result_; }

 private:
  Channels::AutoTuningCompleteDialog result_;
};

class AutoTuningErrorDialog : public InitialSetupDialog {
  KV_CLASS(InitialSetup, AutoTuningErrorDialog, InitialSetupDialog)
 public:
  AutoTuningErrorDialog();

  // The base, then the no-channel indication on the front display.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  void NextStep(kv::Object* sender) override;

  SkinBin::Button& Ok() { return ok_; }
  SkinBin::Button& Exit() { return exit_; }

 protected:
  Core::View* FirstControl() override { return &ok_; }

 private:
  SkinBin::Button ok_;
  SkinBin::Button exit_;
};

}  // namespace InitialSetup
