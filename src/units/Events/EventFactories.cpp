#include "units/Events/EventFactories.h"

#include <cstring>
#include <string>

#include "platform/tvsm/tvsm.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "runtime/string.h"
#include "runtime/trace.h"
#include "units/Events/CEC_EVENT_NAME_UPDATED.h"
#include "units/Events/CEC_EVENT_SOURCE_DETECTED.h"
#include "units/Events/DMRStatusEvent.h"
#include "units/Events/MediaRemovedEvent.h"
#include "units/Events/NetworkInterfaceDownEvent.h"
#include "units/Events/NetworkInterfaceUpEvent.h"
#include "units/Events/NetworkTestResultsEvent.h"
#include "units/Events/PVRPerfStatusEvent.h"
#include "units/Events/PVRRecordStatusEvent.h"
#include "units/Events/PVRUSBFormatEvent.h"
#include "units/Events/StatusEvent.h"
#include "units/Events/TimerRecordWarningEvent.h"
#include "units/Events/TimerStandbyEvent.h"
#include "units/Events/USER_EVENT_CABLE_ON_OFF.h"
#include "units/Events/USER_EVENT_LAST_CHANNEL.h"
#include "units/Events/USER_EVENT_TIMER_WAKEUP.h"
#include "units/Events/WlanConnectCompleteEvent.h"
#include "units/Events/WlanScanCompleteEvent.h"
#include "units/Events/XPM_EVENT_3D_STATUS.h"
#include "units/Events/XPM_EVENT_CHANNEL_ACQUIRED.h"
#include "units/Events/XPM_EVENT_FAN_ERROR.h"
#include "units/Events/XPM_EVENT_RATING_REGION_UPDATED.h"
#include "units/Events/XPM_EVENT_SOURCE_ACQUIRED.h"
#include "units/Events/XPM_EVENT_STANDBY.h"
#include "units/Events/XPM_EVENT_UBN_MEDIA_INSERTED.h"
#include "units/Events/XPM_EVENT_UBN_RESULT.h"
#include "units/Events/XPM_EVENT_UBN_UPDATE_REMIND.h"
#include "units/Events/XPM_EVENT_USB_OVERCURRENT.h"
#include "units/Structures/VirtualChannel.h"

namespace Events {

namespace {

// Payloads may sit at any address: copy them out.
template <class T>
T Read(const uint8_t* payload) {
  T value;
  std::memcpy(&value, payload, sizeof(T));
  return value;
}

// A zero-padded 8-bit text field of at most `size` bytes.
template <size_t N>
kv::String TextField(const char (&text)[N]) {
  return kv::NewStringAnsi(std::string(text, strnlen(text, N)).c_str());
}

template <class E>
kv::Object* NewPlain(const uint8_t*, size_t) {
  return kv::New<E>();
}

// An event whose payload is one XPM_Int32Payload stored in `Field`.
template <class E, int32_t E::*Field>
kv::Object* NewInt32(const uint8_t* payload, size_t) {
  auto* e = kv::New<E>();
  e->*Field = Read<XPM_Int32Payload>(payload).value;
  return e;
}

kv::Object* NewChannelAcquired(const uint8_t* payload, size_t) {
  const auto p = Read<XPM_ChannelAcquiredPayload>(payload);
  auto* e = kv::New<XPM_EVENT_CHANNEL_ACQUIRED>();
  auto* channel = kv::New<Structures::VirtualChannel>();
  channel->Major = p.major;
  channel->Minor = p.minor;
  e->Channel = channel;
  e->Window = p.window;
  e->Status = p.status;
  e->LockResult = p.lockResult;
  return e;
}

kv::Object* NewSourceAcquired(const uint8_t* payload, size_t) {
  const auto p = Read<XPM_SourceAcquiredPayload>(payload);
  auto* e = kv::New<XPM_EVENT_SOURCE_ACQUIRED>();
  e->Source = p.source;
  e->Window = p.window;
  e->Status = p.status;
  e->LockResult = p.lockResult;
  return e;
}

// Without a payload the factory event only said that the fan stopped: a
// warning for the viewer.
kv::Object* NewFanError(const uint8_t* payload, size_t length) {
  auto* e = kv::New<XPM_EVENT_FAN_ERROR>();
  if (length == 0) {
    e->Warning = 1;
    return e;
  }
  if (length < sizeof(XPM_FanErrorPayload)) {
    kv::Log("fan error event: payload of " + std::to_string(length) + " bytes, needs 0 or " +
            std::to_string(sizeof(XPM_FanErrorPayload)) + ", dropped");
    return nullptr;
  }
  const auto p = Read<XPM_FanErrorPayload>(payload);
  e->Shutdown = p.shutdown;
  e->Warning = p.warning;
  return e;
}

kv::Object* NewNetworkStatus(const uint8_t* payload, size_t) {
  const auto p = Read<XPM_NetworkStatusPayload>(payload);
  switch (p.status) {
    case 0: return kv::New<NetworkInterfaceDownEvent>();
    case 1: return kv::New<NetworkInterfaceUpEvent>();
    default:
      kv::Log("network status event: interface " + std::to_string(p.interfaceId) + " has unknown status " +
              std::to_string(p.status) + ", dropped");
      return nullptr;
  }
}

kv::Object* NewNetworkTestResults(const uint8_t* payload, size_t) {
  const auto p = Read<XPM_NetworkTestResultsPayload>(payload);
  auto* e = kv::New<NetworkTestResultsEvent>();
  e->Word2 = p.word[2];
  e->Word1 = p.word[1];
  e->Word0 = p.word[0];
  return e;
}

kv::Object* NewUbnMediaInserted(const uint8_t* payload, size_t) {
  auto* e = kv::New<XPM_EVENT_UBN_MEDIA_INSERTED>();
  e->Path = TextField(Read<XPM_PathPayload>(payload).path);
  return e;
}

kv::Object* NewMediaRemoved(const uint8_t* payload, size_t) {
  auto* e = kv::New<MediaRemovedEvent>();
  e->Path = TextField(Read<XPM_PathPayload>(payload).path);
  return e;
}

kv::Object* NewCecSourceDetected(const uint8_t* payload, size_t) {
  const auto p = Read<XPM_CecSourceDetectedPayload>(payload);
  auto* e = kv::New<CEC_EVENT_SOURCE_DETECTED>();
  e->Source = p.source;
  e->Address = p.address;
  return e;
}

kv::Object* NewCecNameUpdated(const uint8_t* payload, size_t) {
  auto* e = kv::New<CEC_EVENT_NAME_UPDATED>();
  e->Address = Read<XPM_CecNameUpdatedPayload>(payload).address;
  return e;
}

kv::Object* NewMediaStatus(const uint8_t* payload, size_t) {
  const auto p = Read<XPM_MediaStatusPayload>(payload);
  auto* e = kv::New<StatusEvent>();
  e->Initialize(p.code, p.subCode[0], p.subCode[1], p.subCode[2], p.subCode[3]);
  return e;
}

kv::Object* NewDmrStatus(const uint8_t* payload, size_t) {
  const auto p = Read<XPM_DmrStatusPayload>(payload);
  auto* e = kv::New<DMRStatusEvent>();
  e->Initialize(p.kind, p.state, TextField(p.uri),
                std::string(p.title, strnlen(p.title, sizeof p.title)).c_str());
  return e;
}

// System-manager commands: the command record up to its data.
constexpr size_t kCommandHeader = offsetof(TVSM_Command, data);

int32_t CommandParam(const uint8_t* payload) {
  int32_t param;
  std::memcpy(&param, payload + offsetof(TVSM_Command, param), sizeof param);
  return param;
}

kv::Object* NewCableOnOff(const uint8_t* payload, size_t) {
  auto* e = kv::New<USER_EVENT_CABLE_ON_OFF>();
  e->Medium = CommandParam(payload);
  return e;
}

}  // namespace

const std::vector<PayloadEvent>& PayloadEvents() {
  static const std::vector<PayloadEvent> events = {
      {XPM_EVT_CHANNEL_ACQUIRED, sizeof(XPM_ChannelAcquiredPayload), NewChannelAcquired},
      {XPM_EVT_SOURCE_ACQUIRED, sizeof(XPM_SourceAcquiredPayload), NewSourceAcquired},
      {XPM_EVT_RATING_REGION_UPDATED, sizeof(XPM_Int32Payload),
       NewInt32<XPM_EVENT_RATING_REGION_UPDATED, &XPM_EVENT_RATING_REGION_UPDATED::Region>},
      {XPM_EVT_FAN_ERROR, 0, NewFanError},
      {XPM_EVT_NETWORK_STATUS, sizeof(XPM_NetworkStatusPayload), NewNetworkStatus},
      {XPM_EVT_WLAN_SCAN_COMPLETE, sizeof(XPM_Int32Payload),
       NewInt32<WlanScanCompleteEvent, &WlanScanCompleteEvent::Status>},
      {XPM_EVT_WLAN_CONNECT_COMPLETE, sizeof(XPM_Int32Payload),
       NewInt32<WlanConnectCompleteEvent, &WlanConnectCompleteEvent::Status>},
      {XPM_EVT_NETWORK_TEST_RESULTS, sizeof(XPM_NetworkTestResultsPayload), NewNetworkTestResults},
      {XPM_EVT_STANDBY, sizeof(XPM_Int32Payload), NewInt32<XPM_EVENT_STANDBY, &XPM_EVENT_STANDBY::Reason>},
      {XPM_EVT_USB_OVERCURRENT, 0, NewPlain<XPM_EVENT_USB_OVERCURRENT>},
      {XPM_EVT_UBN_UPDATE_REMIND, 0, NewPlain<XPM_EVENT_UBN_UPDATE_REMIND>},
      {XPM_EVT_UBN_MEDIA_INSERTED, sizeof(XPM_PathPayload), NewUbnMediaInserted},
      {XPM_EVT_UBN_RESULT, sizeof(XPM_Int32Payload), NewInt32<XPM_EVENT_UBN_RESULT, &XPM_EVENT_UBN_RESULT::Result>},
      {XPM_EVT_PVR_RECORD_STATUS, sizeof(XPM_Int32Payload),
       NewInt32<PVRRecordStatusEvent, &PVRRecordStatusEvent::Status>},
      {XPM_EVT_PVR_USB_FORMAT, sizeof(XPM_Int32Payload), NewInt32<PVRUSBFormatEvent, &PVRUSBFormatEvent::Result>},
      {XPM_EVT_PVR_PERF_STATUS, sizeof(XPM_Int32Payload), NewInt32<PVRPerfStatusEvent, &PVRPerfStatusEvent::Speed>},
      {XPM_EVT_TIMER_STANDBY, sizeof(XPM_Int32Payload), NewInt32<TimerStandbyEvent, &TimerStandbyEvent::TimerId>},
      {XPM_EVT_TIMER_RECORD_WARNING, sizeof(XPM_Int32Payload),
       NewInt32<TimerRecordWarningEvent, &TimerRecordWarningEvent::TimerId>},
      {XPM_EVT_CEC_SOURCE_DETECTED, sizeof(XPM_CecSourceDetectedPayload), NewCecSourceDetected},
      {XPM_EVT_CEC_NAME_UPDATED, sizeof(XPM_CecNameUpdatedPayload), NewCecNameUpdated},
      {XPM_EVT_MEDIA_STATUS, sizeof(XPM_MediaStatusPayload), NewMediaStatus},
      {XPM_EVT_DMR_STATUS, sizeof(XPM_DmrStatusPayload), NewDmrStatus},
      {XPM_EVT_MEDIA_REMOVED, sizeof(XPM_PathPayload), NewMediaRemoved},
      {XPM_EVT_3D_STATUS, sizeof(XPM_Int32Payload), NewInt32<XPM_EVENT_3D_STATUS, &XPM_EVENT_3D_STATUS::Format>},
      {XPM_USER_EVENT_LAST_CHANNEL, kCommandHeader, NewPlain<USER_EVENT_LAST_CHANNEL>},
      {XPM_USER_EVENT_CABLE_ON_OFF, kCommandHeader, NewCableOnOff},
      {XPM_USER_EVENT_TIMER_WAKEUP, kCommandHeader, NewPlain<USER_EVENT_TIMER_WAKEUP>},
  };
  return events;
}

}  // namespace Events
