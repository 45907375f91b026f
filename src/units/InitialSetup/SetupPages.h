// The first six pages of the first-time setup: menu language, time zone,
// daylight saving, tuner choice, and the medium of the tuner (antenna or
// cable) or of both tuners. All of them are step 1: a set switched off on
// one of them starts the setup again.
//
// LanguageDialog: moving the focus over its three buttons sets the menu
// language at once (the button's position: English 0, Español 1, Français 2)
// and the page redraws in it; the focus lands on the top button when the
// page opens, so the menu language is English again whenever it shows.
// TimeZoneDialog: the time-zone option's list; picking a zone stores it (the
// list's work) and steps forward.
// DaylightSavingDialog: writes 1 for Yes, 0 otherwise, then steps forward.
// TunerSelectDialog: tuner 1 or 2 switches window 0 to source index 0 or 1
// (when it shows another) and clears the both-tuners flag; both tuners set
// the flag and lead to the two-tuner page.
// BothMediumSelectDialog: a radio pair of check boxes per tuner, restored
// from and written to the sequencer's tuner media.
// KXDAntennaCableDialog: writes the input medium when it differs.
#pragma once

#include <cstdint>

#include "units/InitialSetup/InitialSetupDialog.h"
#include "units/ListForm/OptionLists.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/Views/Text.h"

namespace InitialSetup {

class LanguageDialog : public InitialSetupDialog {
  KV_CLASS(InitialSetup, LanguageDialog, InitialSetupDialog)
 public:
  LanguageDialog();

  // The stored menu language again, the texts in it, then the base.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  // The focused button's language, at once.
  void DoFocus(kv::Object* control) override;
  // A language change redraws the texts in the new language.
  void ReInit() override;
  void RefreshLanguage(kv::Object* sender = nullptr);

  SkinBin::Button& Button(int32_t i) { return buttons_[i]; }

 protected:
  Core::View* FirstControl() override { return &buttons_[0]; }

 private:
  SkinBin::Button buttons_[3];
};

class TimeZoneDialog : public InitialSetupDialog {
  KV_CLASS(InitialSetup, TimeZoneDialog, InitialSetupDialog)
 public:
  TimeZoneDialog();

  // The base, then the list of the time-zone option (owner: this page).
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  void Close() override;

  ListForm::OptionList& List() { return list_; }

 protected:
  Core::View* FirstControl() override { return &list_; }

 private:
  ListForm::OptionList list_;
};

class DaylightSavingDialog : public InitialSetupDialog {
  KV_CLASS(InitialSetup, DaylightSavingDialog, InitialSetupDialog)
 public:
  DaylightSavingDialog();
  void Refresh() override;
  void NextStep(kv::Object* sender) override;

  SkinBin::Button& Yes() { return yes_; }
  SkinBin::Button& No() { return no_; }

 protected:
  Core::View* FirstControl() override { return &no_; }

 private:
  SkinBin::Button yes_;
  SkinBin::Button no_;
};

class TunerSelectDialog : public InitialSetupDialog {
  KV_CLASS(InitialSetup, TunerSelectDialog, InitialSetupDialog)
 public:
  TunerSelectDialog();
  void Refresh() override;
  void NextStep(kv::Object* sender) override;

  SkinBin::Button& Button(int32_t i) { return buttons_[i]; }

 protected:
  Core::View* FirstControl() override { return &buttons_[0]; }

 private:
  SkinBin::Button buttons_[3];
};

class BothMediumSelectDialog : public InitialSetupDialog {
  KV_CLASS(InitialSetup, BothMediumSelectDialog, InitialSetupDialog)
 public:
  BothMediumSelectDialog();

  // The base, then each row's boxes from the sequencer's stored media.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;

  // The radio pairs (sender: the box toggled).
  void UpdateTuner1Medium(kv::Object* sender);
  void UpdateTuner2Medium(kv::Object* sender);

  // Row 0 or 1: its antenna box (`cable` false) or its cable box.
  SkinBin::CheckBoxWithCaption& Box(int32_t row, bool cable) { return boxes_[row][cable ? 1 : 0]; }
  SkinBin::Button& Next() { return next_; }

 protected:
  Core::View* FirstControl() override { return &next_; }

 private:
  // Keeps exactly one box of `row` checked; the row's medium to the sequencer.
  void UpdateRow(int32_t row, kv::Object* sender);

  Views::Text labels_[2];
  SkinBin::CheckBoxWithCaption boxes_[2][2];
  SkinBin::Button next_;
};

class KXDAntennaCableDialog : public InitialSetupDialog {
  KV_CLASS(InitialSetup, KXDAntennaCableDialog, InitialSetupDialog)
 public:
  KXDAntennaCableDialog();
  void Refresh() override;
  void NextStep(kv::Object* sender) override;

  SkinBin::Button& Antenna() { return antenna_; }
  SkinBin::Button& Cable() { return cable_; }

 protected:
  Core::View* FirstControl() override { return &antenna_; }

 private:
  SkinBin::Button antenna_;
  SkinBin::Button cable_;
};

}  // namespace InitialSetup
