// Power timers (automatic power-down, on-timer shutdown, sleep), the 3D and
// game locks, critical sections, factory mode and the software-update
// answers of the skin's Wrapper.
#include <string>

#include "platform/xpm/xpm_oem.h"
#include "platform/xpm/xpm_update.h"
#include "runtime/auto_object.h"
#include "runtime/string.h"
#include "runtime/trace.h"
#include "strings/SkinBinWrapper.h"
#include "units/Agent/EventAgent.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/ConfirmTypes.h"
#include "units/Constants/Constants.h"
#include "units/Constants/MessageTypes.h"
#include "units/Core/Group.h"
#include "units/Events/USER_EVENT_CACHED_MESSAGE.h"
#include "units/Events/USER_EVENT_LAST_CHANNEL.h"
#include "units/Events/XPM_EVENT_STANDBY.h"
#include "factory/factory_command.h"
#include "units/PersistentData/PersistentData.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/SubSystem/State.h"
#include "units/Structures/VirtualChannel.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"
#include "units/Wrapper/WrapperInternal.h"

namespace SkinBin {

using namespace ::SkinBinWrapper;
using ::Wrapper::detail::TraceInt;
using ::Wrapper::detail::TraceLabel;

namespace {

bool MediaPlayerOpen() {
  auto* wm = kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
  return wm && wm->HasWidgetInGroup(WinIDs::WIN_ID_MediaPlayer);
}

bool IsFactoryCaption(const kv::String& caption) {
  return !caption.Empty() && caption == kv::LoadString(FACTORY_MODE_CAPTION);
}
bool IsServiceCaption(const kv::String& caption) {
  return !caption.Empty() && caption == kv::LoadString(SERVICE_MODE_CAPTION);
}

int32_t LockMinutes(int32_t setting) { return setting >= 1 && setting <= 4 ? setting * 30 : 0; }

}  // namespace

void Wrapper::ShowTimerMessage(int32_t type, bool direct) {
  auto* message = kv::New<Structures::Message>();
  message->Initialize(Constants::MSG_SHOW_MESSAGE, nullptr, type);
  message->Target = KV_LATE_CLASS("NonMenuSystem::NonMenuSystem");
  DeliverMessage(message, direct);
}

// Cached delivery goes through the event agent's queue; direct delivery
// through the message agent at once.
void Wrapper::DeliverMessage(Structures::Message* message, bool direct) {
  if (!direct && EventAgent) {
    auto* cached = kv::New<Events::USER_EVENT_CACHED_MESSAGE>();
    cached->Message = message;
    EventAgent->InsertEvent(cached);
    EventAgent->ProcessEvents();
    return;
  }
  if (auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent))
    agent->DispatchTo(message, message->Target);
}

void Wrapper::RequestStandby(int32_t reason) {
  if (!Root) return;
  auto* event = kv::New<Events::XPM_EVENT_STANDBY>();
  event->Reason = reason;
  Root->DispatchEvent(event);
}

// --- Starting and stopping the countdowns -------------------------------------------------

void Wrapper::StartAutoPowerTimer(kv::Object*) {
  const bool on = OnGetAutomaticPowerDown() == 1 && !IsFactoryCaption(FactoryMode);
  SetApplicationTimer(::Wrapper::APP_TIMER_AUTO_POWER, on ? AUTO_POWER_DOWN_MINUTES : 0,
                      kv::MakeRef(this, &Wrapper::OnGetAutoPowerTimer, &Wrapper::OnSetAutoPowerTimer));
}

void Wrapper::StopAutoPowerTimer(kv::Object*) {
  TraceLabel(T_STOP_AUTO_POWER);
  SetApplicationTimer(::Wrapper::APP_TIMER_AUTO_POWER, 0, kv::NullRef());
}

void Wrapper::StartOnTimerShutdownTimer(kv::Object*) {
  TraceInt(T_ON_TIMER_SHUTDOWN, ON_TIMER_SHUTDOWN_MINUTES);
  SetApplicationTimer(::Wrapper::APP_TIMER_ON_TIMER_SHUTDOWN, ON_TIMER_SHUTDOWN_MINUTES,
                      kv::MakeRef(this, &Wrapper::OnGetOnTimerShutdownTimer, &Wrapper::OnSetOnTimerShutdownTimer));
}

void Wrapper::StopOnTimerShutdownTimer(kv::Object*) {
  SetApplicationTimer(::Wrapper::APP_TIMER_ON_TIMER_SHUTDOWN, 0, kv::NullRef());
}

void Wrapper::Start3DLockTimer(kv::Object*) {
  const int32_t minutes = LockMinutes(OnGetThreeD_EnableTimer());
  TraceInt(T_3D_LOCK_TIMER, minutes);
  SetApplicationTimer(::Wrapper::APP_TIMER_3D_LOCK, minutes,
                      kv::MakeRef(this, &Wrapper::OnGetRemain3DTime, &Wrapper::OnSetRemain3DTime));
  kv::Signal(kv::MakeSlot(this, &Wrapper::Stop3DContinualTimer), this);
}

int32_t Wrapper::ThreeDLockPeriod() { return LockMinutes(OnGetThreeD_EnableTimer()); }

void Wrapper::Stop3DLockTimer(kv::Object*) {
  TraceLabel(T_STOP_3D_LOCK);
  SetApplicationTimer(::Wrapper::APP_TIMER_3D_LOCK, 0, kv::NullRef());
}

void Wrapper::Clear3DLockTimer(kv::Object*) {
  kv::PostSignal(kv::MakeSlot(this, &Wrapper::Stop3DLockTimer));
  // Written directly: the setter's 0 is the end of the viewing limit.
  Accumulated3DMinutes = 0;
  Remain3DTime = 0;
}

void Wrapper::Start3DContinualTimer(kv::Object*) {
  if (OnGetThreeD_EnableTimer() == 0) return;
  TraceInt(T_3D_CONTINUAL, THREE_D_CONTINUAL_MINUTES);
  SetApplicationTimer(::Wrapper::APP_TIMER_3D_CONTINUAL, THREE_D_CONTINUAL_MINUTES,
                      kv::MakeRef(this, &Wrapper::OnGetRemain3DContinualTime, &Wrapper::OnSetRemain3DContinualTime));
}

void Wrapper::Stop3DContinualTimer(kv::Object*) {
  TraceInt(T_3D_CONTINUAL, 0);
  SetApplicationTimer(::Wrapper::APP_TIMER_3D_CONTINUAL, 0, kv::NullRef());
}

void Wrapper::EnterScreenSaver() {
  if (EventAgent && EventAgent->IsMainWindowSignalAcquired()) return;
  SetApplicationTimer(
      ::Wrapper::APP_TIMER_SCREEN_SAVER, OnGetScreenSaverDelay(),
      kv::MakeRef(this, &Wrapper::OnGetRemainScreenSaverTime, &Wrapper::OnSetRemainScreenSaverTime));
}

void Wrapper::OnSetSleepIndex(int32_t index) {
  SleepIndex = index;
  SetSleepTimer(index);
  // A cancelled (or restarted) sleep timer has no standby left to send.
  SleepStandbyPending = false;
}

// --- Countdown ends -------------------------------------------------------------------------

void Wrapper::OnSetAutoPowerTimer(int32_t minutes) {
  TraceInt(T_AUTO_POWER_TIMER, minutes);
  AutoPowerTimer = minutes;
  if (OnGetAutomaticPowerDown() != 1 || IsFactoryCaption(FactoryMode)) return;
  if (minutes == 1) ShowTimerMessage(Constants::DirectMsgTypeAutoPowerDown, MediaPlayerOpen());
  else if (minutes == 0) RequestStandby(STANDBY_REASON_AUTO_POWER_DOWN);
}

void Wrapper::OnSetOnTimerShutdownTimer(int32_t minutes) {
  TraceInt(T_ON_TIMER_SHUTDOWN_LEFT, minutes);
  OnTimerShutdownTimer = minutes;
  if (minutes == 1) ShowTimerMessage(Constants::DirectMsgTypeOnTimerShutdown, false);
  else if (minutes == 0) RequestStandby(STANDBY_REASON_ON_TIMER_SHUTDOWN);
}

void Wrapper::OnSetRemainSleepTime(int32_t minutes) {
  TraceInt(T_REMAIN_SLEEP, minutes);
  RemainSleepTime = minutes;
  if (AppCriticalSection) {
    // Kept for the end of the section, so that the set still switches off.
    if (minutes == 0) SleepStandbyPending = true;
    return;
  }
  if (minutes == 1) {
    ShowTimerMessage(Constants::DirectMsgTypeSleepTimer, MediaPlayerOpen());
  } else if (minutes == 0) {
    if (GetLiveTVState(0) == Constants::XPM_TV_STATE_LIVE_TV &&
        GetLiveTVState(1) == Constants::XPM_TV_STATE_LIVE_TV) {
      RequestStandby(::Wrapper::STANDBY_REASON_SLEEP_TIMER);
    } else {
      auto* message = kv::New<Structures::Message>();
      message->Initialize(Constants::MSG_RECORD_SLEEP_WARNING, nullptr);
      if (auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent))
        agent->DispatchTo(message, KV_LATE_CLASS("NonMenuSystem::NonMenuSystem"));
    }
  }
}

void Wrapper::OnSetRemainGameTime(int32_t minutes) {
  TraceInt(T_REMAIN_GAME, minutes);
  RemainGameTime = minutes;
  if (minutes == 10 || minutes == 3 || minutes == 1) {
    ShowTimerMessage(Constants::DirectMsgTypeGameTimer, false);
  } else if (minutes == 0) {
    ShowTimerMessage(Constants::DirectMsgTypeGameTimer, false);
    kv::Signal(kv::MakeSlot(this, &Wrapper::GameTimerTriggered), this);
  }
}

void Wrapper::OnSetRemain3DTime(int32_t minutes) {
  TraceInt(T_REMAIN_3D, minutes);
  Remain3DTime = minutes;
  if (minutes != 0) return;
  Accumulated3DMinutes += GetApplicationTimer(::Wrapper::APP_TIMER_3D_LOCK);
  if (!Setup3D::Is3DDisplay(Setup3D.State)) return;
  // The 3D viewing limit is reached: the 3D time-out dialog.
  auto* state = kv::New<SubSystem::State>();
  state->Class = KV_LATE_CLASS("NonMenuSystem::ConfirmMultiOptionDialog");
  state->Param = SkinBin::UserRefInt::Make(Constants::ConfirmType3DTimerExpire, Constants::MSG_FROM_MENUSYSTEM);
  auto* message = kv::New<Structures::Message>();
  message->Initialize(Constants::MSG_CHANGE_STATE, state);
  message->Target = KV_LATE_CLASS("NonMenuSystem::NonMenuSystem");
  auto* wm = kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
  const bool player =
      wm && (wm->FindForm(WinIDs::WIN_ID_MoviePlayer) || wm->FindForm(WinIDs::WIN_ID_MoviePlayerDMR) ||
             wm->FindForm(WinIDs::WIN_ID_PhotoSingleView) || wm->FindForm(WinIDs::WIN_ID_PhotoSingleViewDMR));
  DeliverMessage(message, player);
}

void Wrapper::OnSetRemain3DContinualTime(int32_t minutes) {
  TraceInt(T_REMAIN_3D_CONTINUAL, minutes);
  Remain3DContinualTime = minutes;
  if (minutes != 0) return;
  // The lock period goes only when 3D is off; while 3D shows it runs on.
  Setup3D.RefreshState();
  if (!Setup3D::Is3DDisplay(Setup3D.State)) Clear3DLockTimer();
}

void Wrapper::GameTimerTriggered(kv::Object*) {
  OnSetGameTimerIndex(0);
  OnSetInputLock(2);
  const int32_t type = GetSourceType(GetCurrentSource(0));
  if (type == 1 || type == 12) {
    Structures::VirtualChannel* ch = GetCurrentChannel();
    const bool locked = ch && ch->Minor == 0 && (ch->Major == 3 || ch->Major == 4);
    if (EventAgent && locked) {
      EventAgent->InsertEvent(kv::New<Events::USER_EVENT_LAST_CHANNEL>());
      EventAgent->ProcessEvents();
    }
  } else if (type != 9) {
    SetMainWindowToTuner();
  }
}

// --- Critical sections ------------------------------------------------------------------------

void Wrapper::EnterAppCriticalSection(bool keepSleep) {
  // Without keep-sleep (standby) the sleep timer is cancelled first, so that
  // its cancel is no expiry kept for the section's end. Either way the
  // section runs: what must not happen during a scan, an update or standby
  // (the question of a stick plugged while the set is off) looks at the flag.
  if (!keepSleep) OnSetSleepIndex(0);
  AppCriticalSection = true;
  OnSetGameTimerIndex(0);
  StopGlowSyncThread();
  kv::Signal(kv::MakeSlot(this, &Wrapper::StopAutoPowerTimer), this);
  kv::Signal(kv::MakeSlot(this, &Wrapper::StopAutoDemoTimer), this);
  kv::Signal(kv::MakeSlot(this, &Wrapper::StopOnTimerShutdownTimer), this);
  const int32_t series = OnGetSeriesType();
  if (series == 2 || series == 3) {
    kv::Signal(kv::MakeSlot(&Setup3D, &SkinBin::Setup3D::RefreshState), this);
    if (Setup3D::Is3DDisplay(Setup3D.State) || Setup3D::Is3DMode(Setup3D.Mode)) {
      Clear3DLockTimer();
      Setup3D.SwitchTo2DState(false);
    }
  }
}

void Wrapper::ExitAppCriticalSection() {
  if (OnGetAutoBrightnessSensor()) StartGlowSyncThread();
  kv::Signal(kv::MakeSlot(this, &Wrapper::StartAutoPowerTimer), this);
  kv::Signal(kv::MakeSlot(this, &Wrapper::StartAutoDemoTimer), this);
  AppCriticalSection = false;
  // The sleep timer ran out during the section: switch off now.
  if (SleepStandbyPending) {
    SleepStandbyPending = false;
    OnSetRemainSleepTime(0);
  }
}

// --- Factory mode -------------------------------------------------------------------------------

void Wrapper::OnSetFactoryMode(const kv::String& caption) {
  const kv::String old = FactoryMode;
  FactoryMode = caption;
  if (old == caption) return;
  if (IsFactoryCaption(caption)) {
    kv::Signal(kv::MakeSlot(this, &Wrapper::StopAutoPowerTimer), this);
  } else if (IsFactoryCaption(old)) {
    kv::Signal(kv::MakeSlot(this, &Wrapper::StartAutoPowerTimer), this);
    FactoryExitMMode();
  }
  if (IsServiceCaption(caption)) XPM_CALL(XPM_SetExtOemProperty, XPM_OEM_FACTORY_MODE, 1);
  else if (IsServiceCaption(old)) XPM_CALL(XPM_SetExtOemProperty, XPM_OEM_FACTORY_MODE, 0);
}

void Wrapper::FactoryExitMMode() { FactoryCommandExitMMode(); }

// --- Software update ------------------------------------------------------------------------------

// The platform's update service answers the check with XPM_EVENT_UBN_RESULT.
void Wrapper::StartUpdateCheck(int32_t mode, const kv::String&) { XPM_CALL(XPM_StartUpdateCheck, mode); }

int32_t Wrapper::GetUpdateProgress() {
  int32_t percent = 0;
  if (XPM_CALL(XPM_GetUpdateProgress, &percent) != 0) return 0;
  return percent;
}

bool Wrapper::IsUSBUpdate() { return Store() && !Store()->GetString(KEY_USB_UPDATE).Empty(); }

void Wrapper::UpdateReboot() { RequestStandby(STANDBY_REASON_UPDATE_RESTART); }

}  // namespace SkinBin
