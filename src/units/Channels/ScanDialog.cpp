#include "units/Channels/ScanDialog.h"

#include "keys/keycodes.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "strings/Strings.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/Events/XPM_EVENT_RATING_REGION_UPDATED.h"
#include "units/Events/XPM_EVENT_STANDBY.h"
#include "units/NonMenuSystem/OptionBinding.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(Channels::ScanDialog);

namespace Channels {

namespace {
using namespace keys;

constexpr uint32_t kStopHelpMask = 0x80000;
// The scan screens hold three lines under the caption.
constexpr int32_t kScanHeight = 250;
}  // namespace

ScanDialog::ScanDialog() {
  WinID = WinIDs::WIN_ID_AutoTuningDialog;
  KeyRoutingForm::OnSetBounds({0, 0, kDialogWidth, kScanHeight});
  OnTimeOut = kv::Slot();
  abortTimer_.OnSetBegin(kAbortAnswerMs);
  abortTimer_.OnSetPeriod(0);
  abortTimer_.OnSetEnabled(false);
  abortTimer_.OnTrigger = kv::MakeSlot(this, &ScanDialog::AbortUnanswered);
}

void ScanDialog::Refresh() {
  ChannelsDialogClass::Refresh();
  panel_.Layout(Bounds().W(), Bounds().H(), FrameWidth);
}

void ScanDialog::InitializeScan(Primitives::KeyRoutingParameter* param) {
  ChannelsDialogClass::Initialize(param);
  // A screen over the live picture times out; a scan screen never does.
  OnTimeOut = kv::Slot();
  OnSetTimeOutValue(0);
  if (OnGetNonMenuSystem())
    NonMenuSystem::OptionBinding::ShowHelp(this, kStopHelpMask, {kv::GetVariantOfString(Strings::SID_STOP)});
  ShowWaiting(true);
}

void ScanDialog::SetScanning(bool on) {
  scanning_ = on;
  if (!on) abortTimer_.OnSetEnabled(false);
}

void ScanDialog::AbortScan() {
  if (!scanning_) return;
  if (CallAbort() != 0) {
    Core::LogError("%$: the abort was refused; the scan ends as aborted", {KvClass()});
    EndOfScan(-1, 0);
    return;
  }
  if (!abortTimer_.IsEnabled()) abortTimer_.Activate();
}

void ScanDialog::AbortUnanswered(kv::Object*) {
  abortTimer_.OnSetEnabled(false);
  if (!scanning_) return;
  Core::LogError("%$: no answer to the abort within %i ms; the scan ends as aborted", {KvClass(), kAbortAnswerMs});
  EndOfScan(-1, 0);
}

uint16_t ScanDialog::KeyCode(Core::KeyEvent* key) { return key->Code; }

kv::Object* ScanDialog::HandleEvent(Core::Event* event) {
  if (auto* key = kv::Cast<Core::KeyEvent>(event)) {
    const uint16_t code = KeyCode(key);
    if (key->Down && (code == KEY_EXIT || code == KEY_EXIT_ALT)) AbortScan();
    return this;
  }
  if (HandleScanEvent(event)) return this;
  if (kv::Cast<Events::XPM_EVENT_STANDBY>(event)) {
    AbortScan();
    return nullptr;
  }
  if (kv::Cast<Events::XPM_EVENT_RATING_REGION_UPDATED>(event)) return nullptr;
  return this;
}

void ScanDialog::Close() {
  if (scanning_ && !finishing_) {
    if (CallAbort() != 0) Core::LogError("%$: the abort at closing was refused", {KvClass()});
    SetScanning(false);
    ClosedWhileScanning();
  }
  ChannelsDialogClass::Close();
}

}  // namespace Channels
