#include "units/NonMenuSystem/LiveContext.h"

#include "runtime/auto_object.h"
#include "runtime/text.h"
#include "strings/NonMenuSystem.h"
#include "units/Agent/EventAgent.h"
#include "units/Constants/Constants.h"
#include "strings/MainApp.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/SubSystem/MenuSystemClass.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/ActiveAppStatus.h"
#include "units/Structures/VirtualChannel.h"
#include "units/Wrapper/Wrapper.h"

namespace NonMenuSystem::Live {

::Wrapper::Wrapper* Base() { return kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper); }
SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(Base()); }

namespace {
// The skin Wrapper's answer, or the neutral one without it.
template <class R, class F>
R OrSkin(R neutral, F ask) {
  SkinBin::Wrapper* s = Skin();
  return s ? static_cast<R>(ask(*s)) : neutral;
}
// Without the skin Wrapper the TV input is remembered here for the session.
int32_t sessionAutoInputTV = 0;
}  // namespace

Structures::ActiveAppStatus* NetApp() {
  return OrSkin<Structures::ActiveAppStatus*>(nullptr, [](SkinBin::Wrapper& s) { return s.GetActiveNetAppStatus(); });
}
bool IsDemoFlash() {
  return OrSkin<bool>(false, [](SkinBin::Wrapper& s) { return s.IsDemoFlash(); });
}
bool IsYahoo() {
  return OrSkin<bool>(false, [](SkinBin::Wrapper& s) { return s.IsYahoo(); });
}
bool IsDockWidget() {
  return OrSkin<bool>(false, [](SkinBin::Wrapper& s) {
    return kv::CompString(s.GetYahooWidgetName(), kv::LoadString(DOCK_WIDGET_NAME)) == 0;
  });
}
bool IsFlashlite() {
  return OrSkin<bool>(false, [](SkinBin::Wrapper& s) { return s.IsFlashlite(); });
}
bool IsVuduDock() {
  return OrSkin<bool>(false, [](SkinBin::Wrapper& s) { return s.IsVuduDock(); });
}
void RefreshActiveAppStatus() {
  if (SkinBin::Wrapper* s = Skin()) s->RefreshActiveAppStatus();
}
void RequestTVResources() {
  if (SkinBin::Wrapper* s = Skin()) s->RequestTVResources();
}
void TerminateYahooApp() {
  if (SkinBin::Wrapper* s = Skin()) s->TerminateYahooApp();
}
void LaunchYahooApp(int32_t which, bool flag) {
  if (SkinBin::Wrapper* s = Skin()) s->LaunchYahooApp(which, flag);
}
void LaunchFlashApp(int32_t id, bool flag) {
  if (SkinBin::Wrapper* s = Skin()) s->LaunchFlashApp(id, flag);
}
bool OtherNetAppActive() { return NetApp() && !IsDemoFlash(); }
bool PictureNotOurs() {
  return CurrentSourceType() == Constants::XPM_SOURCE_TYPE_EXT || StartDemo() || NetApp();
}

int32_t CurrentTunerId() {
  return OrSkin<int32_t>(0, [](SkinBin::Wrapper& s) { return s.GetCurrentTunerId(); });
}
int32_t LiveTVState(int32_t tuner) {
  return OrSkin<int32_t>(Constants::XPM_TV_STATE_LIVE_TV,
                         [tuner](SkinBin::Wrapper& s) { return s.GetLiveTVState(tuner); });
}
bool IsUSBDiskMounted() {
  return OrSkin<bool>(false, [](SkinBin::Wrapper& s) { return s.IsUSBDiskMounted(); });
}
void TimeshiftKeyProc(int32_t command) {
  if (SkinBin::Wrapper* s = Skin()) s->TimeshiftKeyProc(command);
}

int32_t SeriesType() {
  return OrSkin<int32_t>(SkinBin::SERIES_TYPE_UNKNOWN, [](SkinBin::Wrapper& s) { return s.OnGetSeriesType(); });
}
int32_t CBListsNum() {
  return OrSkin<int32_t>(0, [](SkinBin::Wrapper& s) { return s.GetCBListsNum(); });
}
int32_t CurrentCBList() {
  return OrSkin<int32_t>(0, [](SkinBin::Wrapper& s) { return s.OnGetCurrentCBList(); });
}
void SetCurrentCBList(int32_t list) {
  if (SkinBin::Wrapper* s = Skin()) s->OnSetCurrentCBList(list);
}
int32_t AutoInputTV() {
  return OrSkin<int32_t>(sessionAutoInputTV, [](SkinBin::Wrapper& s) { return s.OnGetAutoInputTV(); });
}
void SetAutoInputTV(int32_t source) {
  if (SkinBin::Wrapper* s = Skin())
    s->OnSetAutoInputTV(source);
  else
    sessionAutoInputTV = source;
}
int32_t EnableKELVO() {
  return OrSkin<int32_t>(0, [](SkinBin::Wrapper& s) { return s.OnGetEnableKELVO(); });
}
int32_t AmplifierControl() {
  return OrSkin<int32_t>(0, [](SkinBin::Wrapper& s) { return s.OnGetAmplifierControl(); });
}
int32_t USBSDAutoStart() {
  return OrSkin<int32_t>(0, [](SkinBin::Wrapper& s) { return s.OnGetUSBSDAutoStart(); });
}
bool AppCriticalSection() {
  return OrSkin<bool>(false, [](SkinBin::Wrapper& s) { return s.AppCriticalSection; });
}
bool TVAgingMode() {
  return OrSkin<bool>(false, [](SkinBin::Wrapper& s) { return s.OnGetTVAgingMode() != 0; });
}
bool StartDemo() {
  return OrSkin<bool>(false, [](SkinBin::Wrapper& s) { return s.OnGetStartDemo() != 0; });
}
int32_t RemainGameTime() {
  return OrSkin<int32_t>(0, [](SkinBin::Wrapper& s) { return s.OnGetRemainGameTime(); });
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
void PowerKeyControl(int32_t on) {
  if (SkinBin::Wrapper* s = Skin()) s->PowerKeyControl(on);
}
void ResumeSignalEvent() {}
void ProcessHeldEvents() {
  if (auto* agent = kv::GetAutoObject<Agent::EventAgent>(MainApp::EventAgent)) agent->ProcessEvents();
}

bool IsAudioSelectedSource(int32_t) { return true; }
bool IsCHLowSignal() {
  return OrSkin<bool>(false, [](SkinBin::Wrapper& s) { return s.IsCHLowSignal(); });
}
void DisplayNoChannel() {}

kv::String FailReasonText(int32_t status) {
  return OrSkin<kv::String>({}, [status](SkinBin::Wrapper& s) { return s.GetFailReasonString(status); });
}

kv::String ResolutionText() {
  return OrSkin<kv::String>({}, [](SkinBin::Wrapper& s) { return s.GetResolutionString(s.GetVideoContentInfo(0)); });
}

bool QuickCecAudioStatus() {
  return OrSkin<bool>(false, [](SkinBin::Wrapper& s) { return s.HdmiCecData.GetQuickCecAudioStatus(); });
}
bool IsCecDeviceConnected(int32_t) { return false; }
void SetHdmiCecAddr(int32_t, int32_t) {}
// The picture-size key waits while 3D is set or shown: a 3D mode set, a 3D
// picture on screen not chosen as 2D (format 1), or a 3D format selected.
bool Is3DPictureLocked() {
  SkinBin::Wrapper* s = Skin();
  if (!s) return false;
  SkinBin::Setup3D& setup = s->Setup3D;
  setup.RefreshState();
  if (SkinBin::Setup3D::Is3DMode(setup.Mode)) return true;
  if (SkinBin::Setup3D::Is3DDisplay(setup.State) && setup.Format != SkinBin::OAM_3D_MODE_2D) return true;
  return SkinBin::Setup3D::Is3DMode(setup.Format);
}
bool Is3DDisplay() {
  SkinBin::Wrapper* s = Skin();
  if (!s) return false;
  s->Setup3D.RefreshState();
  return SkinBin::Setup3D::Is3DDisplay(s->Setup3D.State);
}

int32_t CurrentSource() { return Base()->GetCurrentSource(0); }
int32_t CurrentSourceType() { return Base()->GetSourceType(CurrentSource()); }
bool IsTunerType(int32_t type) {
  return type == Constants::XPM_SOURCE_TYPE_RF_TUNER || type == Constants::XPM_SOURCE_TYPE_RF_DIGITAL;
}
bool MenuShown() {
  auto* manager = kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
  if (!manager) return false;
  for (kv::Object* item : manager->Snapshot()) {
    auto* form = kv::Cast<Primitives::KeyRoutingForm>(item);
    Core::Group* owner = form ? form->Owner() : nullptr;
    if (owner && kv::Cast<SubSystem::MenuSystemClass>(owner) && owner->IsVisible() && form->IsVisible()) return true;
  }
  return false;
}
bool OnTuner() { return IsTunerType(CurrentSourceType()) || Base()->IsTunerSource(); }
bool CurrentChannelDigital() {
  Structures::VirtualChannel* ch = Base()->GetCurrentChannel();
  return ch && Base()->IsDigitalChannel(ch->Major, ch->Minor);
}

}  // namespace NonMenuSystem::Live
