#include "units/NonMenuSystem/LiveContext.h"

#include "runtime/auto_object.h"
#include "runtime/text.h"
#include "strings/NonMenuSystem.h"
#include "strings/Strings.h"
#include "units/Constants/Constants.h"
#include "units/MainApp/WrapperAuto.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/ActiveAppStatus.h"
#include "units/Structures/VirtualChannel.h"
#include "units/Wrapper/Wrapper.h"

namespace NonMenuSystem::Live {

::Wrapper::Wrapper* Base() { return kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper); }
SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(Base()); }

Structures::ActiveAppStatus* NetApp() { return nullptr; }
bool IsDemoFlash() { return false; }
bool IsYahoo() { return false; }
bool IsDockWidget() { return false; }
bool IsFlashlite() { return false; }
bool IsVuduDock() { return false; }
void RefreshActiveAppStatus() {}
void RequestTVResources() {}
void TerminateYahooApp() {}
void LaunchYahooApp(int32_t, bool) {}
void LaunchFlashApp(int32_t, bool) {}
bool OtherNetAppActive() { return NetApp() && !IsDemoFlash(); }

int32_t CurrentTunerId() { return 0; }
int32_t LiveTVState(int32_t tuner) {
  SkinBin::Wrapper* s = Skin();
  return s ? s->GetLiveTVState(tuner) : 1;
}
bool IsUSBDiskMounted() { return false; }
void TimeshiftKeyProc(int32_t) {}

int32_t SeriesType() {
  SkinBin::Wrapper* s = Skin();
  return s ? s->OnGetSeriesType() : SkinBin::SERIES_TYPE_UNKNOWN;
}
int32_t CBListsNum() {
  SkinBin::Wrapper* s = Skin();
  return s ? s->GetCBListsNum() : 0;
}
int32_t CurrentCBList() {
  SkinBin::Wrapper* s = Skin();
  return s ? s->OnGetCurrentCBList() : 0;
}
void SetCurrentCBList(int32_t list) {
  if (SkinBin::Wrapper* s = Skin()) s->OnSetCurrentCBList(list);
}
namespace {
// Without the skin Wrapper the TV input is remembered here for the session.
int32_t sessionAutoInputTV = 0;
}  // namespace
int32_t AutoInputTV() {
  SkinBin::Wrapper* s = Skin();
  return s ? s->OnGetAutoInputTV() : sessionAutoInputTV;
}
void SetAutoInputTV(int32_t source) {
  if (SkinBin::Wrapper* s = Skin())
    s->OnSetAutoInputTV(source);
  else
    sessionAutoInputTV = source;
}
int32_t EnableKELVO() {
  SkinBin::Wrapper* s = Skin();
  return s ? s->OnGetEnableKELVO() : 0;
}
int32_t AmplifierControl() {
  SkinBin::Wrapper* s = Skin();
  return s ? s->OnGetAmplifierControl() : 0;
}
int32_t USBSDAutoStart() {
  SkinBin::Wrapper* s = Skin();
  return s ? s->OnGetUSBSDAutoStart() : 0;
}
bool AppCriticalSection() {
  SkinBin::Wrapper* s = Skin();
  return s && s->AppCriticalSection;
}
bool TVAgingMode() {
  SkinBin::Wrapper* s = Skin();
  return s && s->OnGetTVAgingMode() != 0;
}
bool StartDemo() {
  SkinBin::Wrapper* s = Skin();
  return s && s->OnGetStartDemo() != 0;
}
int32_t RemainGameTime() {
  SkinBin::Wrapper* s = Skin();
  return s ? s->OnGetRemainGameTime() : 0;
}
void SwitchOutputMode() {
  if (SkinBin::Wrapper* s = Skin()) s->SwitchOutputMode();
}
void CancelOnTimer(bool fromTimer) {
  if (SkinBin::Wrapper* s = Skin()) s->CancelOnTimer(fromTimer);
}
void StopOnTimerShutdownTimer() {
  if (SkinBin::Wrapper* s = Skin()) s->StopOnTimerShutdownTimer();
}
void UpdateReboot() {
  if (SkinBin::Wrapper* s = Skin()) s->UpdateReboot();
}
void PowerKeyControl(int32_t) {}
void ResumeSignalEvent() {}

bool IsAudioSelectedSource(int32_t) { return false; }
bool IsCHLowSignal() { return false; }
void DisplayNoChannel() {}

kv::String FailReasonText(int32_t status) {
  switch (status) {
    case 1:
    case 17:
      return kv::GetVariantOfString(Strings::SID_NO_SIGNAL_MSG);
    case 2:
    case 6:
    case 7:
      return kv::GetVariantOfString(Strings::SID_NO_CHANNELS_WARNING);
    case 3:
      return kv::GetVariantOfString(Strings::SID_NO_VIDEO);
    case 4:
      return kv::GetVariantOfString(Strings::SID_CH_BLOCKED);
    case 5:
    case 20:
      return kv::GetVariantOfString(Strings::SID_RATING_OSD_MESG);
    case 18:
    case 19:
      return kv::GetVariantOfString(Strings::SID_UNSUPPORTED_VIDEO_SIGNAL);
    case 23:
      return kv::GetVariantOfString(Strings::SID_INPUT_LOCK);
    case 48:
      return kv::GetVariantOfString(Strings::SID_RE_TUNE);
    default:
      return kv::String();
  }
}

kv::String ResolutionText() { return kv::String(); }

bool QuickCecAudioStatus() { return false; }
bool IsCecDeviceConnected(int32_t) { return false; }
void SetHdmiCecAddr(int32_t, int32_t) {}
bool Is3DPictureLocked() { return false; }
bool Is3DDisplay() { return false; }

int32_t CurrentSource() { return Base()->GetCurrentSource(0); }
int32_t CurrentSourceType() { return Base()->GetSourceType(CurrentSource()); }
bool IsTunerType(int32_t type) {
  return type == Constants::XPM_SOURCE_TYPE_RF_TUNER || type == Constants::XPM_SOURCE_TYPE_RF_DIGITAL;
}
bool OnTuner() { return IsTunerType(CurrentSourceType()) || Base()->IsTunerSource(); }
bool CurrentChannelDigital() {
  Structures::VirtualChannel* ch = Base()->GetCurrentChannel();
  return ch && Base()->IsDigitalChannel(ch->Major, ch->Minor);
}

}  // namespace NonMenuSystem::Live
