#include "host/gui_loop.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "factory/factory_command.h"
#include "platform/events/event_factory.h"
#include "host/gui_mailbox.h"
#include "host/keys/keytable.h"
#include "host/xpm_callback.h"
#include "platform/os/gui_lock.h"
#include "platform/xpm/xpm.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "runtime/clock.h"
#include "runtime/object.h"
#include "runtime/runtime.h"
#include "runtime/slot.h"
#include "runtime/string.h"
#include "runtime/timer.h"
#include "runtime/trace.h"
#include "units/Core/Event.h"
#include "units/Core/Root.h"
#include "units/Events/XPM_EVENT_FACTORY_COMMAND.h"
#include "units/Events/XPM_EVENT_KEY.h"

namespace host {

namespace {

std::atomic<bool> g_osdShown{false};
std::atomic<bool> g_captionOn{false};

// The GUI lock for one step; nothing while the platform has not filled it in.
class GuiLock {
 public:
  GuiLock() : m_(g_qvak_mutex) {
    if (m_) BKNI_AcquireMutex(m_);
  }
  ~GuiLock() {
    if (m_) BKNI_ReleaseMutex(m_);
  }
  GuiLock(const GuiLock&) = delete;
  GuiLock& operator=(const GuiLock&) = delete;

 private:
  BKNI_MutexHandle m_;
};

// The factory sub-system shows the panel key's name as a small message.
void PostPanelKeyMessage(int platformCode) {
  const char* name = PanelKeyName(platformCode);
  RunOnGuiTask([name] {
    auto* root = Core::Root::GetInstalled();
    if (!root) return;
    auto* e = kv::New<Events::XPM_EVENT_FACTORY_COMMAND>();
    e->Initialize(3, KV_LATE_CLASS("FactorySystem::SmallMessage"), kPanelKeyMessageParam,
                  kv::NewStringAnsi(name ? name : ""));
    root->DispatchEvent(e);
  });
}

}  // namespace

bool PublishedOsdShown() { return g_osdShown.load(); }
bool PublishedCaptionOn() { return g_captionOn.load(); }

GuiLoop::GuiLoop(dfb::EventBuffer* events, Core::Root* root) : events_(events), root_(root) {}

void GuiLoop::Stop() {
  stop_.store(true);
  if (events_) events_->WakeUp();
}

void GuiLoop::Run() {
  while (!stop_.load()) RunPass();
}

int32_t GuiLoop::WaitTimeout() {
  int32_t timeout = kIdleWaitMs;
  if ((root_ && root_->IsAnimationRunning()) || kv::SignalsPending())
    timeout = kFastWaitMs;
  else if (kv::TimerRegistry::AnyScheduled())
    timeout = kTimerWaitMs;
  int64_t next = kv::TimerRegistry::NextDue();
  // A wireless factory test waiting for its join verdict wakes the loop when
  // the wait is over.
  const int64_t join = factory::WlanJoinDeadline();
  if (join >= 0 && (next < 0 || join < next)) next = join;
  if (next >= 0) {
    const int64_t left = std::max<int64_t>(0, next - kv::GetClock().Now());
    timeout = static_cast<int32_t>(std::min<int64_t>(timeout, left));
  }
  return timeout;
}

void GuiLoop::SetCaptionsAllowed(bool on) {
  captionsAllowed_ = on;
  SyncCaptions();
}

void GuiLoop::SyncCaptions() {
  const int32_t want = (captionsAllowed_ && EventProcessing() && !screenShown_) ? 1 : 0;
  if (want != captionSent_) {
    captionSent_ = want;
    kv::LogFailedCall("XPM_SetCaptionRendering", XPM_SetCaptionRendering(want));
  }
  g_captionOn.store(captionSent_ == 1);
}

void GuiLoop::SyncOsd() {
  screenShown_ = root_ && root_->IsScreenShown();
  const int32_t shown = screenShown_ ? 1 : 0;
  if (shown != osdSent_) {
    osdSent_ = shown;
    kv::LogFailedCall("XPM_SetOSDState", XPM_SetOSDState(shown));
  }
  g_osdShown.store(screenShown_);
  SyncCaptions();
}

PassResult GuiLoop::RunPass() {
  PassResult result;
  int32_t timeout;
  {
    GuiLock lock;
    factory::CheckWlanJoinDeadline(kv::GetClock().Now());
    SyncOsd();
    timeout = WaitTimeout();
    if (deadline_) {
      const int64_t extra = deadline_();
      if (extra >= 0)
        timeout = static_cast<int32_t>(
            std::clamp<int64_t>(extra - kv::GetClock().Now(), 0, static_cast<int64_t>(timeout)));
    }
  }
  dfb::Event ev;
  if (events_ && events_->Wait(timeout, &ev)) {
    result.gotEvent = true;
    result.type = ev.type;
    GuiLock lock;
    Dispatch(ev, result);
  }
  {
    GuiLock lock;
    kv::Runtime::EndOfPass();
  }
  if (afterPass_) afterPass_(result);
  return result;
}

void GuiLoop::Dispatch(dfb::Event& ev, PassResult& result) {
  switch (ev.type) {
    case dfb::EventType::kKey:
      DispatchKey(ev, result);
      break;
    case dfb::EventType::kUser:
      DispatchUser(ev);
      break;
    case dfb::EventType::kQuit:
      kv::Log("GUI loop: the window was closed");
      if (onQuit_)
        onQuit_();
      else
        Stop();
      break;
    case dfb::EventType::kWakeUp:
      break;
  }
}

void GuiLoop::DispatchKey(const dfb::Event& ev, PassResult& result) {
  if (!ev.down) return;
  if (!EventProcessing()) return;  // streaming: another application has the keys
  const int64_t age = kv::GetClock().Now() - ev.timestamp;
  if (age > kMaxKeyAgeMs) {
    kv::Log("GUI loop: key " + std::to_string(ev.key) + " dropped, " + std::to_string(age) + " ms old");
    return;
  }
  const uint16_t code = PlatformToGuiKey(ev.key);
  if (code == keys::KEY_NONE) {
    kv::Log("GUI loop: unknown platform key code " + std::to_string(ev.key) + ", dropped");
    return;
  }
  const bool panel = IsPanelKey(ev.key);
  if (panel) PostPanelKeyMessage(ev.key);
  auto* e = kv::New<Events::XPM_EVENT_KEY>();
  e->Initialize(code, 1);
  e->FromPanel = panel ? 1 : 0;
  if (root_) root_->DispatchEvent(e);
  result.keyDispatched = true;
}

void GuiLoop::DispatchUser(const dfb::Event& ev) {
  if (ev.id == XPM_EVT_HOST_CLOSURE) {
    RunPostedClosure(ev.payload.data(), ev.payload.size());
    return;
  }
  // A join while a wireless factory test waits for it is also that test's
  // verdict, chained as a factory code.
  if (ev.id == XPM_EVT_WLAN_CONNECT_COMPLETE && ev.payload.size() >= sizeof(XPM_Int32Payload)) {
    XPM_Int32Payload status{};
    std::memcpy(&status, ev.payload.data(), sizeof status);
    factory::OnWlanConnectComplete(status.value);
  }
  kv::Object* obj = evreg::NewEventFromPayload(ev.id, ev.payload.data(), ev.payload.size());
  if (!obj) return;
  auto* event = kv::Cast<Core::Event>(obj);
  if (!event) {
    kv::Log("GUI loop: the factory of event id " + std::to_string(ev.id) + " made no event object, dropped");
    return;
  }
  if (root_) root_->DispatchEvent(event);
}

}  // namespace host
