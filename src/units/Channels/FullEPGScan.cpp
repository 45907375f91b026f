#include "units/Channels/FullEPGScan.h"

#include <algorithm>

#include "runtime/slot.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/Channels.h"
#include "strings/Strings.h"
#include "units/Colors/Colors.h"
#include "units/Constants/ConfirmTypes.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/Events/XPM_EVENT_EPG_CHANNEL_SCAN_PROGRESS.h"
#include "units/Events/XPM_EVENT_EPG_FULL_SCAN_ABORTED.h"
#include "units/Events/XPM_EVENT_EPG_FULL_SCAN_COMPLETE.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/OptionBinding.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/Wrapper.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(Channels::FullEPGScanConfirmDialog);
KV_REGISTER_CLASS(Channels::FullEPGScanDialog);
KV_REGISTER_CLASS(Channels::FullEPGScanErrorDialog);

namespace Channels {

namespace {

constexpr uint32_t kErrorHelpMask = 0x40204;

kv::String Text(const kv::MultiTextId& id) { return kv::GetVariantOfString(id); }

using NonMenuSystem::OptionBinding::ShowHelp;

}  // namespace

// --- FullEPGScanConfirmDialog ---------------------------------------------------------

FullEPGScanConfirmDialog::FullEPGScanConfirmDialog() {
  WinID = WinIDs::WIN_ID_AutoTuningConfirmDialog;
  PrevState = KV_LATE_CLASS("MenuSystem::VidiChannelsMenu");
  NextState = &FullEPGScanDialog::StaticClass();
  IsShortcut = true;
  FullEPGScanConfirmDialog::OnSetConfirmType(Constants::ConfirmTypeStartScan);
}

void FullEPGScanConfirmDialog::OnSetConfirmType(int32_t type) {
  ConfirmOneOptionDialog::OnSetConfirmType(type);
  OnSetCaption(Text(GUIDE_SCAN_CAPTION));
  OnSetWarningInfo(Text(Strings::SID_AUTO_TUNE_WARNING));
  OnSetYesButtonLabel(Text(Strings::SID_START_SCAN));
}

// --- FullEPGScanDialog ----------------------------------------------------------------

FullEPGScanDialog::FullEPGScanDialog() {
  panel_.Build(this, Text(GUIDE_SCAN_SCANNED));
  panel_.count.OnSetString(Number(0));
  FullEPGScanDialog::Refresh();
}

void FullEPGScanDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  InitializeScan(param);
  if (SkinBin::Wrapper* w = Skin()) OnSetCaption(ScanCaption(w->OnGetAntCableIn(), w->GetCurrentSource(0)));
  kv::IdleSignal(kv::MakeSlot(this, &FullEPGScanDialog::StartScanProgress));
}

void FullEPGScanDialog::StartScanProgress(kv::Object*) {
  if (!IsOpen()) return;
  ShowWaiting(false);
  SkinBin::Wrapper* w = Skin();
  if (!w) return;
  const int32_t medium = w->OnGetAntCableIn();
  const int32_t tuner = w->GetCurrentTunerId();
  const int32_t first = medium != 0 ? 1 : 2;
  const int32_t last = medium != 0 ? 135 : 69;
  SetScanning(true);
  if (w->StartEPGChannelScan(tuner, medium, first, last) != 0) StopScan();
}

int32_t FullEPGScanDialog::CallAbort() {
  SkinBin::Wrapper* w = Skin();
  return w ? w->AbortEPGChannelScan() : -1;
}

void FullEPGScanDialog::EndOfScan(int32_t value0, int32_t value1) {
  if (!IsScanning()) return;
  panel_.ShowPercent(100);
  kv::Trace("Channels::FullEPGScanDialog: guide scan ended %i %i", {value0, value1});
  StopScan();
}

void FullEPGScanDialog::StopScan() {
  SetScanning(false);
  Finishing();
  if (Total == 0) {
    NextState = &FullEPGScanErrorDialog::StaticClass();
    EnterNextState();
  } else if (OnGetNonMenuSystem()) {
    ClearAll();
  }
}

bool FullEPGScanDialog::HandleScanEvent(Core::Event* event) {
  if (auto* p = kv::Cast<Events::XPM_EVENT_EPG_CHANNEL_SCAN_PROGRESS>(event)) {
    Total = p->Total;
    panel_.count.OnSetString(kv::NewStringUInt(p->Position, 0));
    panel_.ShowChannel(kv::ConcatString(kv::ConcatString(Number(p->Channel.Major), kv::LoadString(NUMBER_SEPARATOR)),
                                        Number(p->Channel.Minor)));
    // No percentage without a total: the bar keeps its value. A position
    // past the total shows 100.
    if (Total != 0) {
      const uint64_t percent = uint64_t{p->Position} * 100u / Total;
      panel_.ShowPercent(static_cast<int32_t>(std::min<uint64_t>(percent, 100)));
    } else {
      Core::LogError("Channels::FullEPGScanDialog: a progress event with a total of 0; the bar stays");
      panel_.ShowPercent(panel_.bar.OnGetValue());
    }
    return true;
  }
  if (auto* done = kv::Cast<Events::XPM_EVENT_EPG_FULL_SCAN_COMPLETE>(event)) {
    EndOfScan(done->Value0, done->Value1);
    return true;
  }
  if (auto* aborted = kv::Cast<Events::XPM_EVENT_EPG_FULL_SCAN_ABORTED>(event)) {
    EndOfScan(aborted->Value0, aborted->Value1);
    return true;
  }
  return false;
}

// --- FullEPGScanErrorDialog -----------------------------------------------------------

FullEPGScanErrorDialog::FullEPGScanErrorDialog() {
  WinID = WinIDs::WIN_ID_AutoTuningErrorDialog;
  PrevState = &FullEPGScanConfirmDialog::StaticClass();
  HasCaption = false;
  panel_.Build(this);
  panel_.ok.OnActivate = kv::MakeSlot<WidgetClass>(this, &WidgetClass::EnterPrevStateSlot);
  panel_.exit.OnActivate = kv::MakeSlot<WidgetClass>(this, &WidgetClass::ClearAllSlot);
  FullEPGScanErrorDialog::Refresh();
}

void FullEPGScanErrorDialog::Refresh() {
  ChannelsDialogClass::Refresh();
  panel_.Layout(Bounds().W(), Bounds().H(), FrameWidth);
}

void FullEPGScanErrorDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  ChannelsDialogClass::Initialize(param);
  ShowHelp(this, kErrorHelpMask, {Text(Strings::SID_SELECT), Text(Strings::SID_ENTER), Text(Strings::SID_BACK)});
}

kv::Object* FullEPGScanErrorDialog::HandleEvent(Core::Event* event) {
  if (panel_.HandleKey(this, event)) {
    ResetTimeout();
    return this;
  }
  return ChannelsDialogClass::HandleEvent(event);
}

}  // namespace Channels
