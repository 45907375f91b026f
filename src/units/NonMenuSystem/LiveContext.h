// What live TV asks of the set before it acts on a key or an event: the
// running network applications, the recorder's live-TV state, the skin's
// application settings and a few texts. Everything goes through the skin
// Wrapper (SkinBin::Wrapper, the class behind MainApp::Wrapper); while the
// live Wrapper is the plain base, or while an operation of the skin Wrapper
// is not there yet, the answer is the neutral one named beside it (no
// network application, live-TV state 1, tuner 0, setting 0, no text), so
// that live TV works on a set without those services.
#pragma once

#include <cstdint>

#include "runtime/string.h"

namespace Structures {
class ActiveAppStatus;
}
namespace SkinBin {
class Wrapper;
}
namespace Wrapper {
class Wrapper;
}

namespace NonMenuSystem::Live {

// The live Wrapper, and the skin Wrapper when that is the live one (else null).
::Wrapper::Wrapper* Base();
SkinBin::Wrapper* Skin();

// --- Network applications (without the skin Wrapper: none) ------------------------
// The running network application that owns the screen, or null.
Structures::ActiveAppStatus* NetApp();
bool IsDemoFlash();
bool IsYahoo();
// The widget engine shows the dock widget (its name is DOCK_WIDGET_NAME).
bool IsDockWidget();
bool IsFlashlite();
bool IsVuduDock();
void RefreshActiveAppStatus();
void RequestTVResources();
void TerminateYahooApp();
void LaunchYahooApp(int32_t which, bool flag);
void LaunchFlashApp(int32_t id, bool flag);
// A network application other than the store demo is active.
bool OtherNetAppActive();
// Live TV shows nothing of the picture's own: an external application's
// input, the store demo, a network application.
bool PictureNotOurs();

// --- Recorder (without the skin Wrapper: state 1, tuner 0, no disk) ------------------
int32_t CurrentTunerId();
int32_t LiveTVState(int32_t tuner);
bool IsUSBDiskMounted();
void TimeshiftKeyProc(int32_t command);

// --- Skin settings and flags (without the skin Wrapper: 0 / false) -------------------
int32_t SeriesType();
int32_t CBListsNum();
int32_t CurrentCBList();
void SetCurrentCBList(int32_t list);
// The TV input that the TV key returns to (without the skin Wrapper: the
// last one set in this session).
int32_t AutoInputTV();
void SetAutoInputTV(int32_t source);
int32_t EnableKELVO();
int32_t AmplifierControl();
int32_t USBSDAutoStart();
bool AppCriticalSection();
bool TVAgingMode();
bool StartDemo();
int32_t RemainGameTime();
void SwitchOutputMode();
void CancelOnTimer(bool fromTimer);
void StopOnTimerShutdownTimer();
void UpdateReboot();
void PowerKeyControl(int32_t on);
void ResumeSignalEvent();
// The event agent goes through its kept events again: an acquisition held
// back while a screen was in operation is handled now.
void ProcessHeldEvents();

// --- Signal (no notice: the source's audio is as selected, no low signal) -----------
bool IsAudioSelectedSource(int32_t source);
bool IsCHLowSignal();
void DisplayNoChannel();
// The notice for an acquisition or lock status (empty for a status without one).
kv::String FailReasonText(int32_t status);
// The resolution label of the current picture.
kv::String ResolutionText();

// --- HDMI-CEC and 3D (no device, a 2D picture) ---------------------------------------
bool QuickCecAudioStatus();
bool IsCecDeviceConnected(int32_t source);
void SetHdmiCecAddr(int32_t source, int32_t address);
// The 3D state is refreshed and shows a 3D picture (so the picture size is locked).
bool Is3DPictureLocked();
// A 3D picture is on screen (the 3D key switches it off).
bool Is3DDisplay();

// --- The current source and channel -----------------------------------------------
int32_t CurrentSource();
int32_t CurrentSourceType();
// Source type 1 or 12.
bool IsTunerType(int32_t type);
// A page of the menu is on screen (the menu is not hidden behind a screen it
// opened, and the page may stand without the menu's column): live TV's
// screens would be drawn under it.
bool MenuShown();
// The current source is a tuner source.
bool OnTuner();
// The current channel is digital.
bool CurrentChannelDigital();

}  // namespace NonMenuSystem::Live
