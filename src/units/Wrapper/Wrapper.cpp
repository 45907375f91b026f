#include "units/Wrapper/Wrapper.h"

#include <string>

#include "runtime/trace.h"
#include "strings/Wrapper.h"
#include "units/Core/Group.h"
#include "units/Events/XPM_EVENT_CHANNEL_ACQUIRED.h"
#include "units/Structures/VirtualChannel.h"
#include "units/Wrapper/WrapperInternal.h"

KV_REGISTER_CLASS(::Wrapper::Wrapper);

namespace Wrapper {

namespace detail {

void TraceLabel(kv::TextId label) { kv::Trace("%s", {kv::LoadString(label)}); }
void TraceInt(kv::TextId label, int32_t value) { kv::Trace("%s%i", {kv::LoadString(label), value}); }
void TraceBool(kv::TextId label, bool value) { kv::Trace("%s%b", {kv::LoadString(label), value}); }
void TraceIntInt(kv::TextId label, int32_t a, int32_t b) { kv::Trace("%s%i%i", {kv::LoadString(label), a, b}); }

}  // namespace detail

Wrapper::Wrapper() {
  RecordLastChannelTimer.OnSetBegin(RECORD_LAST_CHANNEL_DELAY_MS);
  RecordLastChannelTimer.OnSetPeriod(0);
  RecordLastChannelTimer.OnTrigger = kv::MakeSlot(this, &Wrapper::EnableRecordLastChannelSlot);
  ApplicationTimer.OnSetBegin(APP_TIMER_PERIOD_MS);
  ApplicationTimer.OnSetPeriod(APP_TIMER_PERIOD_MS);
  ApplicationTimer.OnTrigger = kv::MakeSlot(this, &Wrapper::ApplicationTimerOut);
}

Wrapper::~Wrapper() = default;

void Wrapper::ReInit() {
  RecordLastChannelTimer.ReInit();
  ApplicationTimer.ReInit();
}

void Wrapper::Initialize() {
  Window = 0;
  OSDLock = false;
  AnimationCount = 0;
  StandingAnimationCount = 0;
  if (!LastChannel) {
    auto* none = kv::New<Structures::VirtualChannel>();
    none->Major = -1;
    none->Minor = -1;
    LastChannel = none;
  }
}

int8_t Wrapper::GetOSDLock() {
  auto lock = static_cast<int8_t>(OSDLock);
  if (lock != 0) detail::TraceLabel(T_OSD_LOCKED);
  return lock;
}

void Wrapper::OnSetRoot(Core::Group* root) { Root = root; }

void Wrapper::SendChannelAcquired(int32_t major, int32_t minor, int32_t window, int32_t status) {
  if (!Root) return;
  auto* channel = kv::New<Structures::VirtualChannel>();
  channel->Major = major;
  channel->Minor = minor;
  auto* event = kv::New<Events::XPM_EVENT_CHANNEL_ACQUIRED>();
  event->Channel = channel;
  event->Window = window;
  event->Status = status;
  Root->DispatchEvent(event);
}

}  // namespace Wrapper
