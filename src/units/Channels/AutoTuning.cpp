#include "units/Channels/AutoTuning.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/Channels.h"
#include "strings/MenuSystemPages.h"
#include "strings/Strings.h"
#include "units/Agent/EventAgent.h"
#include "units/Colors/Colors.h"
#include "units/Constants/ConfirmTypes.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/Events/XPM_EVENT_CHANNEL_SCAN_PROGRESS.h"
#include "units/Events/XPM_EVENT_FULL_SCAN_ABORTED.h"
#include "units/Events/XPM_EVENT_FULL_SCAN_COMPLETE.h"
#include "units/Events/XPM_EVENT_KEY.h"
#include "units/Fonts/Fonts.h"
#include "units/MainApp/InitialSetup.h"
#include "units/NonMenuSystem/OptionBinding.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/ListForm/RowColumns.h"
#include "units/SkinBin/ChannelListData.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/VirtualChannel.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(Channels::AutoTuningConfirmDialog);
KV_REGISTER_CLASS(Channels::AutoTuningDialog);
KV_REGISTER_CLASS(Channels::AutoTuningErrorDialog);
KV_REGISTER_CLASS(Channels::AutoTuningCompleteDialog);

namespace Channels {

namespace {

using namespace keys;

constexpr uint32_t kResultHelpMask = 0x40a00;
constexpr uint32_t kErrorHelpMask = 0x40204;
constexpr int32_t kInputLockScanned = 2;

kv::String Text(const kv::MultiTextId& id) { return kv::GetVariantOfString(id); }

using NonMenuSystem::OptionBinding::ShowHelp;

// The acquisition a scan screen held back goes on to live TV at the end of
// the pass that closed the screen, so that whatever the viewer went to is
// open by then: another scan screen holds it again, the menu keeps it until
// it closes, and live TV shows its banner (or PIN prompt, or notice) whole.
void HandOnTheHeldAcquisition() {
  if (auto* agent = kv::GetAutoObject<Agent::EventAgent>(MainApp::EventAgent)) agent->PostProcessEvents();
}

}  // namespace

// --- AutoTuningConfirmDialog ----------------------------------------------------------

AutoTuningConfirmDialog::AutoTuningConfirmDialog() {
  WinID = WinIDs::WIN_ID_AutoTuningConfirmDialog;
  PrevState = KV_LATE_CLASS("MenuSystem::VidiChannelsMenu");
  NextState = &AutoTuningDialog::StaticClass();
  AutoTuningConfirmDialog::OnSetConfirmType(Constants::ConfirmTypeStartScan);
}

void AutoTuningConfirmDialog::Close() {
  const bool wasOpen = IsOpen();
  ConfirmOneOptionDialog::Close();
  if (wasOpen) HandOnTheHeldAcquisition();
}

void AutoTuningConfirmDialog::OnSetConfirmType(int32_t type) {
  ConfirmOneOptionDialog::OnSetConfirmType(type);
  OnSetCaption(Text(MenuSystemPages::SID_AUTO_TUNING));
  OnSetWarningInfo(Text(Strings::SID_AUTO_TUNE_WARNING));
  OnSetYesButtonLabel(Text(Strings::SID_START_SCAN));
}

// --- AutoTuningDialog -----------------------------------------------------------------

AutoTuningDialog::AutoTuningDialog() {
  panel_.Build(this, Text(Strings::SID_FOUND));
  panel_.count.OnSetString(Number(0));
  AutoTuningDialog::Refresh();
}

void AutoTuningDialog::SwitchToSourceIndex(SkinBin::Wrapper* w, int32_t index) {
  const int32_t source = w->GetSourceId(index);
  if (w->GetCurrentSource(0) != source) w->SetSource(0, source);
}

void AutoTuningDialog::Close() {
  const bool wasOpen = IsOpen();
  ScanDialog::Close();
  if (wasOpen && HoldsAcquisition()) HandOnTheHeldAcquisition();
}

void AutoTuningDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  InitializeScan(param);
  SkinBin::Wrapper* w = Skin();
  if (!w) return;
  const int32_t source = w->GetCurrentSource(0);
  if (IsInitialSetup) {
    auto* page = kv::Cast<MainApp::InitialSetupPage>(Owner());
    MainApp::InitialSetup* setup = page ? page->Sequencer.get() : nullptr;
    if (setup) {
      FirstMedium = setup->Tuner1Medium;
      SecondMedium = setup->Tuner2Medium;
      BothTuners = setup->BothTuners != 0;
    } else {
      Core::LogError("Channels::AutoTuningDialog: no setup page with a sequencer holds the scan; one pass");
    }
    if (BothTuners) {
      SwitchToSourceIndex(w, 0);
      if (w->OnGetAntCableIn() != FirstMedium) w->OnSetAntCableIn(FirstMedium);
    }
  }
  OnSetCaption(ScanCaption(w->OnGetAntCableIn(), source));
  kv::IdleSignal(kv::MakeSlot(this, &AutoTuningDialog::StartScanProgress));
}

void AutoTuningDialog::StartScanProgress(kv::Object*) {
  // The screen closed before its pass began: nothing to start.
  if (!IsOpen() && !IsInitialSetup) return;
  ShowWaiting(false);
  SkinBin::Wrapper* w = Skin();
  if (!w) return;
  w->EnterAppCriticalSection(true);
  SetScanning(true);
  const int32_t medium = w->OnGetAntCableIn();
  const int32_t additive = w->OnGetAdditiveScan();
  const ScanKinds kinds = ChosenScanKinds(w);
  if (w->StartChannelScan(medium, kinds.analog, kinds.digital, additive != 0, 0, 0) != 0) StopScan();
}

int32_t AutoTuningDialog::CallAbort() {
  SkinBin::Wrapper* w = Skin();
  return w ? w->AbortChannelScan(0) : -1;
}

uint16_t AutoTuningDialog::KeyCode(Core::KeyEvent* key) {
  auto* xk = kv::Cast<Events::XPM_EVENT_KEY>(key);
  if (xk && xk->FromPanel == 1 && (key->Code == KEY_BACK || key->Code == KEY_MENU)) return KEY_EXIT;
  return key->Code;
}

bool AutoTuningDialog::HandleScanEvent(Core::Event* event) {
  if (kv::Cast<Events::XPM_EVENT_CHANNEL_SCAN_PROGRESS>(event)) {
    OnProgress(event);
    return true;
  }
  if (auto* done = kv::Cast<Events::XPM_EVENT_FULL_SCAN_COMPLETE>(event)) {
    EndOfScan(done->Value0, done->Value1);
    return true;
  }
  if (auto* aborted = kv::Cast<Events::XPM_EVENT_FULL_SCAN_ABORTED>(event)) {
    EndOfScan(aborted->Value0, aborted->Value1);
    return true;
  }
  return false;
}

void AutoTuningDialog::OnProgress(Core::Event* event) {
  auto* p = kv::Cast<Events::XPM_EVENT_CHANNEL_SCAN_PROGRESS>(event);
  SkinBin::Wrapper* w = Skin();
  if (!p || !w) return;
  // The caption is compared as a whole, suffix included.
  const bool hold = kv::CompString(Caption, Text(Strings::SID_AUTO_TUNING_CABLE)) != 0 && p->Flag == 1 &&
                    w->OnGetChannelTuningMode() == 2;
  if (!hold) {
    int32_t& passCount = SecondPass == 0 ? FirstPassCount : SecondPassCount;
    passCount += p->Found;
    panel_.count.OnSetString(kv::NewStringUInt(static_cast<uint32_t>(passCount), 0));
  }
  panel_.ShowChannel(Number(p->PhysicalChannel));
  panel_.ShowPercent(p->Percent);
}

void AutoTuningDialog::EndOfScan(int32_t value0, int32_t value1) {
  if (!IsScanning()) return;
  SetScanning(false);
  panel_.ShowPercent(100);
  kv::Trace("Channels::AutoTuningDialog: scan ended %i %i", {value0, value1});
  if (IsInitialSetup && BothTuners && SecondPass == 0) {
    ShowWaiting(true);
    SecondPass = 1;
    SecondPassCount = 0;
    panel_.count.OnSetString(Number(0));
    panel_.ShowPercent(0);
    if (SkinBin::Wrapper* w = Skin()) {
      SwitchToSourceIndex(w, 1);
      if (w->OnGetAntCableIn() != SecondMedium) w->OnSetAntCableIn(SecondMedium);
      OnSetCaption(ScanCaption(w->OnGetAntCableIn(), 1));
    }
    kv::IdleSignal(kv::MakeSlot(this, &AutoTuningDialog::StartScanProgress));
    return;
  }
  StopScan();
}

void AutoTuningDialog::FinishScan() {
  SetScanning(false);
  SkinBin::Wrapper* w = Skin();
  if (!w) return;
  w->ExitAppCriticalSection();
  if (w->OnGetInputLock() == kInputLockScanned) {
    for (int32_t major : {3, 4}) {
      auto* c = kv::New<Structures::VirtualChannel>();
      c->Major = major;
      c->Minor = 0;
      w->SetChannelLock(c, true);
    }
  }
  // Both tuners: the set goes to the first tuner that found channels, with
  // that tuner's medium, so that it shows the channels that tuner found.
  if (IsInitialSetup && BothTuners && (FirstPassCount != 0 || SecondPassCount != 0)) {
    const bool first = FirstPassCount != 0;
    SwitchToSourceIndex(w, first ? 0 : 1);
    const int32_t medium = first ? FirstMedium : SecondMedium;
    if (w->OnGetAntCableIn() != medium) w->OnSetAntCableIn(medium);
  }
  w->ResetLastChannel();
  w->TuneToFirstChannel();
}

void AutoTuningDialog::StopScan() {
  if (!IsInitialSetup)
    NextState = FirstPassCount == 0 ? &AutoTuningErrorDialog::StaticClass() : &AutoTuningCompleteDialog::StaticClass();
  FinishScan();
  if (IsInitialSetup) {
    kv::Signal(OnStop, this);
  } else {
    Finishing();
    EnterNextState();
  }
}

// --- AutoTuningErrorDialog ------------------------------------------------------------

AutoTuningErrorDialog::AutoTuningErrorDialog() {
  WinID = WinIDs::WIN_ID_AutoTuningErrorDialog;
  PrevState = &AutoTuningConfirmDialog::StaticClass();
  NextState = &AutoTuningDialog::StaticClass();
  HasCaption = false;
  panel_.Build(this);
  panel_.ok.OnActivate = kv::MakeSlot<WidgetClass>(this, &WidgetClass::EnterNextStateSlot);
  panel_.exit.OnActivate = kv::MakeSlot(this, &AutoTuningErrorDialog::ExitSlot);
  AutoTuningErrorDialog::Refresh();
}

void AutoTuningErrorDialog::Refresh() {
  ChannelsDialogClass::Refresh();
  panel_.Layout(Bounds().W(), Bounds().H(), FrameWidth);
}

void AutoTuningErrorDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  ChannelsDialogClass::Initialize(param);
  ShowHelp(this, kErrorHelpMask, {Text(Strings::SID_SELECT), Text(Strings::SID_ENTER), Text(Strings::SID_BACK)});
  if (SkinBin::Wrapper* w = Skin()) w->DisplayNoChannel();
}

kv::Object* AutoTuningErrorDialog::HandleEvent(Core::Event* event) {
  if (panel_.HandleKey(this, event)) {
    ResetTimeout();
    return this;
  }
  return ChannelsDialogClass::HandleEvent(event);
}

void AutoTuningErrorDialog::ExitSlot(kv::Object*) {
  if (SkinBin::Wrapper* w = Skin()) {
    SkinBin::ChannelListData* table = w->GetChannelListData();
    table->LoadMasterChannelTable(false);
    if (table->GetNumChannels() == 0) {
      const ScanKinds kinds = ChosenScanKinds(w);
      if (w->StartSingleChannelScan(2, kinds.analog, kinds.digital, 1, 0, 0) != 0) w->AbortSingleChannelScan(0);
    }
  }
  ClearAll();
}

// --- AutoTuningCompleteDialog ---------------------------------------------------------

AutoTuningCompleteDialog::AutoTuningCompleteDialog() {
  WinID = WinIDs::WIN_ID_AutoTuningCompleteDialog;
  PrevState = &AutoTuningConfirmDialog::StaticClass();
  KeyRoutingForm::OnSetBounds({0, 0, kDialogWidth, 440});
  list_.FocusMove = kv::MakeSlot(static_cast<Primitives::KeyRoutingForm*>(this), &KeyRoutingForm::ResetTimeout);
  list_.OnExit = kv::MakeSlot(this, &AutoTuningCompleteDialog::ExitSlot);
  Add(&list_);
  const kv::MultiTextId* captions[] = {&Strings::SID_CH_ABBREV, &Strings::SID_RF_CH, &Strings::SID_TYPE,
                                       &Strings::SID_SKIP};
  for (int i = 0; i < 4; ++i) {
    headings_[i].OnSetFont(Resources::LoadResource(Fonts::MediumFont));
    headings_[i].OnSetColor(Colors::InputLabelStandardTextColor);
    headings_[i].OnSetAlignV(1);
    headings_[i].OnSetEllipsis(true);
    headings_[i].OnSetString(Text(*captions[i]));
    Add(&headings_[i]);
  }
  found_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  found_.OnSetColor(Colors::StandardTextColor);
  found_.OnSetAlignV(1);
  found_.OnSetEllipsis(true);
  Add(&found_);
  OnSetFocus(&list_);
  AutoTuningCompleteDialog::Refresh();
}

void AutoTuningCompleteDialog::Refresh() {
  ChannelsDialogClass::Refresh();
  const int32_t w = Bounds().W(), h = Bounds().H(), f = FrameWidth;
  const int32_t top = f + 7 + 30 + 6;
  const int32_t listTop = top + 26;
  list_.OnSetBounds({f + 10, listTop, w - f - 10, std::max(listTop, h - f - 34)});
  namespace C = ListForm::ChannelColumns;
  ListForm::PlaceHeadings(list_,
                          {{&headings_[0], C::kNumber},
                           {&headings_[1], C::kResultPhysical},
                           {&headings_[2], C::kResultKind},
                           {&headings_[3], C::kResultSkip}},
                          top, top + 24);
  found_.OnSetBounds({f + 16, h - f - 30, w - f - 16, h - f - 4});
}

void AutoTuningCompleteDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  ChannelsDialogClass::Initialize(param);
  ShowHelp(this, kResultHelpMask, {Text(Strings::SID_WATCH_TV), Text(Strings::SID_PAGE), Text(Strings::SID_BACK)});
  auto* p = kv::New<Primitives::KeyRoutingParameter>();
  p->Owner = this;
  if (param) p->Param = param->Param.get();
  list_.Initialize(p);
  list_.Open();
  OnSetFocus(&list_);
  SkinBin::Wrapper* w = Skin();
  const int32_t medium = w ? w->OnGetAntCableIn() : 0;
  OnSetCaption(ScanCaption(medium, w ? w->GetCurrentSource(0) : 0));
  const int32_t rows = list_.OnGetDataSource() ? list_.OnGetDataSource()->Num : 0;
  found_.OnSetString(kv::ConcatString(
      kv::ConcatString(Text(medium == 1 ? Strings::SID_CABLE_FOUND_PROGRAMMES : Strings::SID_ANT_FOUND_PROGRAMMES),
                       kv::GetVariantOfString(LABEL_SEPARATOR)),
      Number(rows)));
}

kv::Object* AutoTuningCompleteDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down) {
    if (key->Code == KEY_BACK) kv::Signal(OnReturn, this);
    if (key->Code == KEY_EXIT || key->Code == KEY_EXIT_ALT) {
      kv::PostSignal(kv::MakeSlot(this, &AutoTuningCompleteDialog::ExitSlot));
      return this;
    }
  }
  return ChannelsDialogClass::HandleEvent(event);
}

void AutoTuningCompleteDialog::ExitSlot(kv::Object*) {
  ClearAll();
  kv::Signal(OnExit, this);
}

void AutoTuningCompleteDialog::Close() {
  const bool wasOpen = IsOpen();
  list_.Close();
  ChannelsDialogClass::Close();
  if (wasOpen && HoldsAcquisition()) HandOnTheHeldAcquisition();
}

}  // namespace Channels
