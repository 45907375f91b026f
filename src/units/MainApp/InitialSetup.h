// MainApp::InitialSetup: the first-time setup sequencer. Its pages never
// open each other: a page sets its next or previous state and signals one of
// four slots that the sequencer wires; the sequencer opens the next page as a
// new object (each page carries its own previous and next page), and the
// persisted SetupStep follows the open page. 9 means done; AbortSetup leaves
// step 1 and signals OnComplete as SetupDone does. The setup's help bar
// (window 0x2000007, the InitialSetup unit's HelpBar) opens with the first
// UpdateHelp and closes when the setup ends.
//
// MainApp::InitialSetupPage is the base of the setup pages.
#pragma once

#include <array>
#include <cstdint>

#include "runtime/member.h"
#include "runtime/slot.h"
#include "runtime/string.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/SubSystem/SubSystemClass.h"

namespace MainApp {

class InitialSetup;

class InitialSetupPage : public Primitives::KeyRoutingForm {
  KV_CLASS(MainApp, InitialSetupPage, Primitives::KeyRoutingForm)
 public:
  InitialSetupPage();

  // The step this page stands for (1 to 8).
  int32_t SetupStep = 0;
  kv::Member<InitialSetup> Sequencer;
  // Signalled by the page (sender: the page).
  kv::Slot OnNextStep;
  kv::Slot OnPrevStep;
  kv::Slot OnAbortSetup;
  kv::Slot OnCompleteSetup;
};

class InitialSetup : public SubSystem::SubSystemClass {
  KV_CLASS(MainApp, InitialSetup, SubSystem::SubSystemClass)
 public:
  InitialSetup();

  // Reads the persisted step and opens its start page (steps 1 to 4; any
  // other step the first). False when that page's class does not exist:
  // nothing opens.
  bool Start();

  // Builds (or takes) the page of the state; ignores one of another
  // sub-system; fills its empty PrevState and NextState from the state;
  // initialises it with this sequencer as owner, centres it, wires its four
  // slots, opens and focuses it, and takes its step. Other forms of the
  // setup (the help bar) open, and take the focus when they ask for it.
  Primitives::KeyRoutingForm* ChangeState(SubSystem::State* state) override;

  // Slots of the pages (sender: the page).
  void StepForward(kv::Object* sender);
  void StepBackward(kv::Object* sender);
  void SetupDone(kv::Object* sender);
  void AbortSetup(kv::Object* sender);

  // Stores the step; 9 also persists it (and saves the settings with their
  // backup) when the persisted step differs.
  void OnSetSetupStep(int32_t step);

  // The setup's help bar shows `mask` and `text` (opened when the form with
  // the help bar's window id is not the setup's).
  void UpdateHelp(int32_t mask, const kv::String& text);
  int32_t OnGetSetupStep() const { return SetupStep; }
  // The persisted step (0 when none).
  static int32_t PersistedStep();

  int32_t SetupStep = 0;
  // Signalled when the setup ends (done or aborted).
  kv::Slot OnComplete;
  // The start pages of steps 1 to 4 (null: the class does not exist yet).
  std::array<const kv::Class*, 4> StartPages{};
  // Values the setup pages share: both tuners (0 or 1), the media of tuner 1
  // and tuner 2 (0 antenna, 1 cable).
  int32_t BothTuners = 0;
  int32_t Tuner1Medium = 0;
  int32_t Tuner2Medium = 0;

 private:
  // Closes `from` and changes to a page class.
  void ChangeTo(const kv::Class* cls, InitialSetupPage* from);
  // Closes the setup's help bar when it is open.
  void CloseHelpBar();
};

}  // namespace MainApp
