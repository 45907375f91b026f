// SkinBin::EventAgent::HandleEvent: the skin's rules for the events it
// takes before the screens (see EventAgent.h).
#include "runtime/trace.h"
#include "strings/SkinBin.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/Constants.h"
#include "units/Constants/MessageTypes.h"
#include "units/Core/Event.h"
#include "units/Events/USER_EVENT_CABLE_ON_OFF.h"
#include "units/Events/USER_EVENT_CACHED_MESSAGE.h"
#include "units/Events/USER_EVENT_LAST_CHANNEL.h"
#include "units/Events/USER_EVENT_TIMER_WAKEUP.h"
#include "units/Events/XPM_EVENT_CHANNEL_ACQUIRED.h"
#include "units/Events/XPM_EVENT_RATING_REGION_UPDATED.h"
#include "units/Events/XPM_EVENT_SOURCE_ACQUIRED.h"
#include "units/Events/XPM_EVENT_UBN_MEDIA_INSERTED.h"
#include "units/Events/XPM_EVENT_UBN_UPDATE_REMIND.h"
#include "units/PersistentData/PersistentData.h"
#include "units/SkinBin/EventAgent.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/Structures/VideoContentInfo.h"
#include "units/Structures/VirtualChannel.h"

namespace SkinBin {

namespace {

constexpr int32_t kStatusOk = 16;
constexpr int32_t kStatusInvalidFormat = 18;
constexpr int32_t kStatusRatingLock = 20;
constexpr int32_t kStatusSourceLock = 23;
// The picture that counts as an invalid format although the input reports it.
constexpr int32_t kInvalidLines = 576;
constexpr int32_t kInvalidContentType = 6;

bool IsHdmiType(int32_t type) {
  return type == Constants::XPM_SOURCE_TYPE_AV_HDMI || type == Constants::XPM_SOURCE_TYPE_AV_DVI;
}

}  // namespace

const kv::Class* EventAgent::NonMenuSystemClass() const {
  return KV_LATE_CLASS("NonMenuSystem::NonMenuSystem");
}

void EventAgent::DispatchMessage(int32_t code, int32_t intParam, const kv::Class* target) {
  auto* agent = kv::Cast<Agent::MessageAgent>(MessageAgent.get());
  if (!agent) return;
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(code, nullptr, intParam);
  if (target)
    agent->DispatchTo(msg, target);
  else
    agent->Dispatch(msg);
}

void EventAgent::PostCached(Core::Event* event) {
  auto* agent = kv::Cast<Agent::MessageAgent>(MessageAgent.get());
  if (!agent) return;
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_EVENT_CACHED, event);
  agent->DispatchTo(msg, NonMenuSystemClass());
}

int32_t EventAgent::HandleEvent(Core::Event* event) {
  auto* w = kv::Cast<SkinBin::Wrapper>(Wrapper.get());
  if (!event || !w || !WidgetManager || !MessageAgent) return 0;
  uint8_t* handled = HandledFlag(event);
  if (!handled) return 0;
  if (*handled) return *handled;

  if (auto* ch = kv::Cast<Events::XPM_EVENT_CHANNEL_ACQUIRED>(event)) {
    if (ch->Window == 0) w->IsTuningChannel = false;
    if (!CheckHandle(event)) return *handled;
    if (!KeepEventUnhandled(event)) *handled = 1;
    if (w->IsSameChannelWithCurrent(ch->Channel.get())) PostCached(event);
    return *handled;
  }

  if (auto* src = kv::Cast<Events::XPM_EVENT_SOURCE_ACQUIRED>(event)) {
    if (src->Window == 0) w->IsTuningChannel = false;
    if (!CheckHandle(event)) return *handled;
    if (src->Status == kStatusOk) {
      Structures::VideoContentInfo* video = w->GetVideoContentInfo(0);
      if (video && video->Height == kInvalidLines && video->ContentType == kInvalidContentType)
        src->Status = kStatusInvalidFormat;
    }
    if (!KeepEventUnhandled(event)) *handled = 1;
    const int32_t current = w->GetCurrentSource(0);
    const kv::String label = kv::LoadString(T_SOURCE_ACQUIRED);
    if (IsHdmiType(w->GetSourceType(current)) && src->Status != kStatusOk && src->Status != kStatusSourceLock &&
        src->Status != kStatusRatingLock) {
      *handled = 0;
      kv::Trace("%s%b%u%u", {label, false, static_cast<uint32_t>(src->Source), static_cast<uint32_t>(current)});
      if (w->IsHDMIAvMuted()) {
        DispatchMessage(Constants::MSG_CLEAR_ALL, -1, nullptr);
        return *handled;
      }
    } else {
      kv::Trace("%s%b%u%u",
                {label, *handled != 0, static_cast<uint32_t>(src->Source), static_cast<uint32_t>(current)});
    }
    if (src->Source == current) PostCached(event);
    return *handled;
  }

  if (auto* region = kv::Cast<Events::XPM_EVENT_RATING_REGION_UPDATED>(event)) {
    *handled = 1;
    if (auto* store = kv::Cast<PersistentData::PersistentData>(PersistentData.get()))
      store->PutInteger(KEY_RATING_REGION, region->Region);
    return *handled;
  }

  if (auto* wake = kv::Cast<Events::USER_EVENT_TIMER_WAKEUP>(event)) {
    if (!wake->WakeUp) wake->WakeUp = 1;
    return 1;
  }

  if (auto* cable = kv::Cast<Events::USER_EVENT_CABLE_ON_OFF>(event)) {
    if (w->IsTuningChannel) return 0;
    *handled = 1;
    if (cable->Medium != w->GetMedium()) {
      w->SetMedium(cable->Medium);
      w->CableOnOffTuning();
    }
    return *handled;
  }

  if (kv::Cast<Events::USER_EVENT_LAST_CHANNEL>(event)) {
    if (w->IsTuningChannel) return 0;
    *handled = 1;
    DispatchMessage(Constants::MSG_CLEAR_ALL, -1, nullptr);
    if (Structures::VirtualChannel* back = w->RememberedChannel.get()) {
      const int32_t major = back->Major, minor = back->Minor;
      w->RememberedChannel = nullptr;
      if (major < 0)
        w->SetSource(0, minor);
      else
        w->SetChannel(major, minor, true, true);
      return *handled;
    }
    if (w->IsTunerSource() && w->SetLastChannel() == 0) {
      w->IsTuningChannel = true;
      return *handled;
    }
    if (w->SetLastSource() == 0) DispatchMessage(Constants::MSG_SHOW_MESSAGE, Constants::DirectMsgTypeNotAvailable, NonMenuSystemClass());
    return *handled;
  }

  if (kv::Cast<Events::XPM_EVENT_UBN_UPDATE_REMIND>(event) || kv::Cast<Events::XPM_EVENT_UBN_MEDIA_INSERTED>(event)) {
    *handled = 1;
    PostCached(event);
    return *handled;
  }

  if (kv::Cast<Events::USER_EVENT_CACHED_MESSAGE>(event)) {
    if (!CheckHandle(event)) return *handled;
    return Agent::EventAgent::HandleEvent(event);
  }
  return 0;
}

}  // namespace SkinBin
