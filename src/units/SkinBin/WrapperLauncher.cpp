// The skin Wrapper's application launcher: launches and terminations of the
// network applications through the system manager, the table of the
// applications that run, the UI status reports and the store demo.
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "platform/tvsm/tvsm.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/trace.h"
#include "strings/SkinBinServices.h"
#include "units/Core/Root.h"
#include "units/Structures/ArrayInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"
#include "units/Wrapper/WrapperInternal.h"

namespace SkinBin {

using namespace ::SkinBinServices;

namespace {

// The source type of the external input, where no demo runs.
constexpr int32_t kSourceTypeExternal = 9;

// Sends one event to the system manager; 0 (logged) when it was not taken.
int32_t Report(uint32_t code, const void* data = nullptr, uint32_t length = 0) {
  const int32_t result = TVSM_ReportAsyncEvent(TVSM_SENDER_UI, code, data, length);
  if (result == 0) kv::Log("TVSM_ReportAsyncEvent(" + std::to_string(code) + ") failed");
  return result;
}

int32_t ReportWord(uint32_t code, int32_t word) { return Report(code, &word, sizeof word); }

// The launch message, zeroed whole so that nothing after the text's
// terminator goes out uninitialised.
int32_t SendLaunch(int32_t type, const std::string& text, bool flag) {
  TVSM_LaunchMessage msg;
  std::memset(&msg, 0, sizeof msg);
  msg.type = type;
  std::strncpy(msg.name, text.c_str(), sizeof msg.name - 1);
  msg.flag = flag ? TVSM_START_FLAG_SET : TVSM_START_FLAG_CLEAR;
  return Report(TVSM_ASYNC_LAUNCH_APP, &msg, sizeof msg);
}

// The name or command line of a Flash application id; empty when the id has none.
std::string FlashAppText(int32_t id) {
  static constexpr const char* kApps[] = {"demo",      "netflix", "vudu",        "flingo",    "cinemanow", "pandora",
                                          "napster",   "cinemanow", "blockbuster", "ytleanback", "skype"};
  static constexpr const char* kDemoModels[] = {"KB200", "KB210", "KC300", "KA100"};
  static constexpr const char* kDemoLanguages[] = {"_en", "_fr", "_sp"};
  if (id >= 0 && id < static_cast<int32_t>(std::size(kApps))) return kApps[id];
  if (id < 100 || id >= 133 || id % 10 > 2) return {};
  return std::string("/VORN/") + kDemoModels[(id - 100) / 10] + kDemoLanguages[id % 10] +
         ".swf --bgalpha 0 --contentdims 960,540 --name demo --compliance 1";
}

::WidgetManager::WidgetManager* TheWidgetManager() {
  return kv::GetAutoObject<::WidgetManager::WidgetManager>(MainApp::WidgetManager);
}

bool IsFlashKind(int32_t kind) { return kind == TVSM_APP_FLASH || kind == TVSM_APP_FLASH_2; }

// The set shows nothing in standby, and no application starts there: a key
// that clears every screen first may find the set switched off by one of
// them as it closed (the update-done notice restarts the set).
bool RefusedInStandby(Core::Group* root, const char* what) {
  auto* r = kv::Cast<Core::Root>(root);
  if (!r || !r->IsInStandby()) return false;
  kv::Log(std::string("SkinBin::Wrapper::") + what + ": the set is in standby; no application starts");
  return true;
}

}  // namespace

// --- Launches and terminations -------------------------------------------------------

int32_t Wrapper::LaunchFlashApp(int32_t id, bool flag) {
  if (RefusedInStandby(Root.get(), "LaunchFlashApp")) return 0;
  FlashAppRunning = true;
  const std::string text = FlashAppText(id);
  if (text.empty()) {
    kv::Log("SkinBin::Wrapper::LaunchFlashApp: no application of id " + std::to_string(id));
    return 0;
  }
  const int32_t result = SendLaunch(TVSM_LAUNCH_FLASH, text, flag);
  kv::Log("Launch Flash " + text);
  return result;
}

int32_t Wrapper::LaunchYahooApp(int32_t which, bool flag) {
  if (RefusedInStandby(Root.get(), "LaunchYahooApp")) return 0;
  if (which != 0 && which != 1) {
    kv::Log("SkinBin::Wrapper::LaunchYahooApp: no widget selector " + std::to_string(which));
    return 0;
  }
  const std::string name = which == 1 ? kv::LoadString(WIDGET_MENU).ToUtf8() : std::string();
  const int32_t result = SendLaunch(TVSM_LAUNCH_WIDGET, name, flag);
  kv::Log("Launch Yahoo " + name);
  return result;
}

int32_t Wrapper::LaunchVuduDock(bool on, bool flag) {
  ::Wrapper::detail::TraceBool(T_LAUNCH_DOCK, on);
  FlashAppRunning = on;
  if (!on) {
    const int32_t result = Report(TVSM_ASYNC_CLOSE_DOCK);
    RefreshActiveAppStatus();
    return result;
  }
  return SendLaunch(TVSM_LAUNCH_DOCK, kv::LoadString(DOCK_NAME).ToUtf8(), flag);
}

int32_t Wrapper::TerminateFlashApp() {
  FlashAppRunning = false;
  const int32_t result = Report(TVSM_ASYNC_TERMINATE_FLASH);
  RefreshActiveAppStatus();
  return result;
}

// Live TV reads what runs from the record of the running applications: once
// one has been ended it is read again, so that the ended application no
// longer holds back Info, Guide, the channel banner or the PIN prompt.
int32_t Wrapper::TerminateYahooApp() {
  const int32_t result = Report(TVSM_ASYNC_TERMINATE_WIDGET);
  RefreshActiveAppStatus();
  return result;
}

void Wrapper::TerminateAllcApps() {
  TerminateYahooApp();
  LaunchVuduDock(false, false);
  TerminateFlashApp();
}

int32_t Wrapper::DeactivateNetworkApp(int32_t id) {
  ::Wrapper::detail::TraceInt(T_DEACTIVATE_APP, id);
  return kv::LogFailedCall("TVSM_ResetConnectedApps", TVSM_ResetConnectedApps(id));
}

void Wrapper::RequestTVResources() {
  ::Wrapper::detail::TraceLabel(T_REQUEST_TV_RESOURCES);
  Report(TVSM_ASYNC_REQUEST_RESOURCES);
}

// --- The applications that run ---------------------------------------------------------

void Wrapper::RefreshActiveAppStatus() {
  std::unique_ptr<TVSM_ActiveApps> answer(new (std::nothrow) TVSM_ActiveApps());
  if (!answer) {
    kv::Log("RefreshActiveAppStatus: Out of memory");
    return;
  }
  if (kv::LogFailedCall("TVSM_GetActiveAppsStatus", TVSM_GetActiveAppsStatus(answer.get(), sizeof *answer)) != 0)
    return;
  int32_t count = answer->count;
  if (count < 0) {
    kv::Log("SkinBin::Wrapper::RefreshActiveAppStatus: count " + std::to_string(count) + " read as 0");
    count = 0;
  } else if (count > Structures::AllActiveAppStatus::kCapacity) {
    kv::Log("SkinBin::Wrapper::RefreshActiveAppStatus: count " + std::to_string(count) + " cut to " +
            std::to_string(Structures::AllActiveAppStatus::kCapacity));
    count = Structures::AllActiveAppStatus::kCapacity;
  }
  ActiveApps.Count = count;
  for (int32_t i = 0; i < Structures::AllActiveAppStatus::kCapacity; ++i) {
    Structures::ActiveAppStatus& app = ActiveApps.Apps[i];
    if (i >= count) {
      app.Kind = 0;
      app.Name = kv::String();
      app.Flags = 0;
      continue;
    }
    const TVSM_LaunchMessage& rec = answer->apps[i];
    app.Kind = rec.type;
    app.Name = kv::NewStringAnsi(std::string(rec.name, strnlen(rec.name, sizeof rec.name)).c_str());
    app.Flags = rec.flag;
    kv::Trace("%s%i%s%u%u", {kv::LoadString(T_ACTIVE_APP), i, app.Name, static_cast<uint32_t>(app.Kind),
                               static_cast<uint32_t>(app.Flags)});
  }
  if (count == 0) ::Wrapper::detail::TraceLabel(T_NO_ACTIVE_APP);
}

Structures::ActiveAppStatus* Wrapper::GetActiveNetAppStatus() {
  for (int32_t i = 0; i < ActiveApps.Count && i < Structures::AllActiveAppStatus::kCapacity; ++i) {
    Structures::ActiveAppStatus& app = ActiveApps.Apps[i];
    if (app.Kind != 1 && (app.Flags & TVSM_APP_FLAG_BACKGROUND) == 0) return &app;
  }
  return nullptr;
}

Structures::ActiveAppStatus* Wrapper::GetNetAppStatusById(int32_t kind) {
  for (int32_t i = 0; i < ActiveApps.Count && i < Structures::AllActiveAppStatus::kCapacity; ++i)
    if (ActiveApps.Apps[i].Kind == kind) return &ActiveApps.Apps[i];
  return nullptr;
}

bool Wrapper::IsYahoo() {
  const Structures::ActiveAppStatus* app = GetActiveNetAppStatus();
  return app && app->Kind == TVSM_APP_WIDGET;
}

bool Wrapper::IsVuduDock() {
  const Structures::ActiveAppStatus* app = GetActiveNetAppStatus();
  return app && app->Kind == TVSM_APP_DOCK;
}

bool Wrapper::IsDemoFlash() {
  const Structures::ActiveAppStatus* app = GetActiveNetAppStatus();
  return app && IsFlashKind(app->Kind) && kv::StringFind(app->Name, kv::LoadString(DEMO_MARKER), 0) >= 0;
}

bool Wrapper::IsFlashlite() {
  const Structures::ActiveAppStatus* app = GetActiveNetAppStatus();
  return app && IsFlashKind(app->Kind) && kv::StringFind(app->Name, kv::LoadString(DEMO_MARKER), 0) < 0;
}

kv::String Wrapper::GetYahooWidgetName() {
  ::Wrapper::detail::TraceLabel(T_YAHOO_WIDGET_NAME);
  return kv::String();
}

// --- Status reports ---------------------------------------------------------------

void Wrapper::NotifySetupStatus(int32_t status) {
  if (status == 0 || status == 1) {
    kv::Log(std::string("@@@Informing TVSM that we ") + (status == 1 ? "will" : "will not") + " perform onboarding...");
    ReportWord(TVSM_ASYNC_SETUP_STATUS, status);
  } else if (status == 2) {
    kv::Log("@@@Informing TVSM that onboarding is finished...");
    Report(TVSM_ASYNC_SETUP_FINISHED);
  }
}

void Wrapper::ReportGraphicsStatus(bool sidebar, bool status) {
  if (ReportWord(sidebar ? TVSM_ASYNC_SIDEBAR_STATUS : TVSM_ASYNC_FLOATING_STATUS, status ? 1 : 0) == 0)
    kv::Log(sidebar ? "Error in sending sidebar status to TVSM!" : "Error in sending floating graphics status to TVSM!");
}

void Wrapper::ReportInputOSDStatus(int32_t kind, bool shown) {
  kv::Trace("%s%i%b", {kv::LoadString(T_INPUT_OSD_STATUS), kind, shown});
  const int32_t payload[2] = {shown ? 1 : 0, kind == 2 ? 9 : kind == 3 ? 10 : 1};
  if (Report(TVSM_ASYNC_INPUT_OSD_STATUS, payload, sizeof payload) == 0)
    kv::Log("Error sending input osd status to TVSM!");
}

// --- Store demo ------------------------------------------------------------------------

void Wrapper::OnSetStartDemo(int32_t v) {
  const bool on = v != 0;
  if (on == StartDemo) return;
  if (!on) {
    StartDemo = false;
    TerminateFlashApp();
    StartAutoDemoTimer();
    return;
  }
  const int32_t series = OnGetSeriesType();
  if (series < 0 || series > 3) {
    kv::Log("SkinBin::Wrapper: no store demo for series type " + std::to_string(series));
    return;
  }
  StartDemo = true;
  LaunchFlashApp(100 + 10 * series + OnGetCountry(), false);
}

void Wrapper::StartAutoDemoTimer(kv::Object*) {
  if (OnGetLocation() != 1) return;
  ::WidgetManager::WidgetManager* wm = TheWidgetManager();
  if (AppCriticalSection || wm->FindForm(WinIDs::WIN_ID_UBN_Message) ||
      wm->FindForm(WinIDs::WIN_ID_UBN_Updating) || OnGetStickerDemo() != 1) {
    StopAutoDemoTimer();
    return;
  }
  if (!AutoDemoTimer) {
    auto* timer = kv::New<Core::Timer>();
    timer->OnSetBegin(AUTO_DEMO_DELAY_MS);
    timer->OnSetPeriod(0);
    timer->OnTrigger = kv::MakeSlot(this, &Wrapper::AutoDemoTimerSlot);
    AutoDemoTimer = timer;
  }
  AutoDemoTimer->Activate();
}

void Wrapper::StopAutoDemoTimer(kv::Object*) {
  if (AutoDemoTimer) AutoDemoTimer->OnSetEnabled(false);
}

void Wrapper::AutoDemoTimerSlot(kv::Object*) {
  if (GetSourceType(GetCurrentSource(0)) == kSourceTypeExternal) return;
  RefreshActiveAppStatus();
  if (GetActiveNetAppStatus() && !IsDemoFlash()) return;
  auto* volumeBarOnly = kv::New<Structures::ArrayInt>();
  volumeBarOnly->Add(static_cast<int32_t>(WinIDs::WIN_ID_VolumeBar));
  if (TheWidgetManager()->HasWidgetExcept(volumeBarOnly)) return;
  OnSetStartDemo(1);
}

}  // namespace SkinBin
