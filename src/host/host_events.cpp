#include "host/host_events.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "factory/factory_command.h"
#include "platform/events/event_factory.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "runtime/object.h"
#include "runtime/string.h"
#include "runtime/trace.h"
#include "units/Events/XPM_EVENT_CHANNEL_SCAN_PROGRESS.h"
#include "units/Events/XPM_EVENT_EPG_CHANNEL_SCAN_PROGRESS.h"
#include "units/Events/XPM_EVENT_EPG_FULL_SCAN_ABORTED.h"
#include "units/Events/XPM_EVENT_EPG_FULL_SCAN_COMPLETE.h"
#include "units/Events/XPM_EVENT_FACTORY_COMMAND.h"
#include "units/Events/XPM_EVENT_FULL_SCAN_ABORTED.h"
#include "units/Events/XPM_EVENT_FULL_SCAN_COMPLETE.h"

namespace host {

using evreg::NewEventFromPayload;
using evreg::RegisterEventFactory;

namespace {

template <class T>
T Read(const uint8_t* payload) {
  T value;
  std::memcpy(&value, payload, sizeof(T));
  return value;
}

// A zero-padded 8-bit text field of at most `size` bytes.
kv::String TextField(const char* text, size_t size) {
  return kv::NewStringAnsi(std::string(text, strnlen(text, size)).c_str());
}

template <class E>
kv::Object* NewScanEnd(const uint8_t* payload, size_t) {
  auto p = Read<XPM_ScanEndPayload>(payload);
  auto* e = kv::New<E>();
  e->Value0 = p.value0;
  e->Value1 = p.value1;
  return e;
}

kv::Object* NewChannelScanProgress(const uint8_t* payload, size_t) {
  auto p = Read<XPM_ChannelScanProgressPayload>(payload);
  auto* e = kv::New<Events::XPM_EVENT_CHANNEL_SCAN_PROGRESS>();
  e->PhysicalChannel = p.physicalChannel;
  e->Value1 = p.value1;
  e->Percent = p.percent;
  e->Found = std::clamp(p.found, 0, XPM_MAX_SCAN_CHANNELS);
  for (int32_t i = 0; i < e->Found; ++i) e->Channels[i] = {p.channels[i].major, p.channels[i].minor};
  e->Flag = p.flag;
  return e;
}

kv::Object* NewEpgChannelScanProgress(const uint8_t* payload, size_t) {
  auto p = Read<XPM_EpgChannelScanProgressPayload>(payload);
  auto* e = kv::New<Events::XPM_EVENT_EPG_CHANNEL_SCAN_PROGRESS>();
  e->Position = static_cast<uint16_t>(p.position);
  e->Total = static_cast<uint16_t>(p.total);
  e->Channel = {p.channel.major, p.channel.minor};
  return e;
}

Events::XPM_EVENT_FACTORY_COMMAND* NewFactoryCommand(int32_t kind, const kv::Class* cls, int32_t value,
                                                     const kv::String& text) {
  auto* e = kv::New<Events::XPM_EVENT_FACTORY_COMMAND>();
  e->Initialize(kind, cls, value, text);
  return e;
}

// A factory remote code, a discrete key or the fan error.
kv::Object* NewFactoryEvent(const uint8_t* payload, size_t length) {
  const int32_t type = Read<int32_t>(payload);
  switch (type) {
    case XPM_FACTORY_TYPE_COMMAND: {
      if (length < sizeof(XPM_FactoryEvent)) {
        kv::Log("factory event: command record of " + std::to_string(length) + " bytes is too short, dropped");
        return nullptr;
      }
      auto ev = Read<XPM_FactoryEvent>(payload);
      factory::FactoryCommand cmd{};
      cmd.code = ev.command.code;
      std::memcpy(cmd.text, ev.command.text, sizeof cmd.text);
      cmd.text[sizeof cmd.text - 1] = '\0';
      cmd.flag = ev.command.flag;
      factory::FactoryResult result{};
      (void)FactoryCommandProcess(&cmd, &result);
      switch (result.kind) {
        case factory::FACTORY_RESULT_NONE:
          return nullptr;
        case factory::FACTORY_RESULT_DISPLAY_MENU:
          return NewFactoryCommand(0, result.menu.menuClass, result.menu.index, kv::String());
        case factory::FACTORY_RESULT_DISPLAY_VALUE:
          return NewFactoryCommand(1, nullptr, result.value.value, TextField(result.value.name, sizeof result.value.name));
        case factory::FACTORY_RESULT_RAW_COMMAND:
          return NewFactoryCommand(2, nullptr, static_cast<int32_t>(result.raw.code), kv::String());
        case factory::FACTORY_RESULT_DISPLAY_MESSAGE:
          return NewFactoryCommand(3, result.message.screenClass, result.message.parameter,
                                   TextField(result.message.text, sizeof result.message.text));
        default:
          kv::Log("factory event: unknown result kind " + std::to_string(result.kind) + ", no event");
          return nullptr;
      }
    }
    case XPM_FACTORY_TYPE_DISCRETE_KEY: {
      if (length < 8) {
        kv::Log("factory event: discrete key of " + std::to_string(length) + " bytes is too short, dropped");
        return nullptr;
      }
      const uint32_t key = Read<uint32_t>(payload + 4);
      char hex[16];
      std::snprintf(hex, sizeof hex, "%x", static_cast<unsigned>(key));
      kv::Log(std::string("OAM_EVENT_CUSTOM_DISCRET_KEY ") + hex);
      return NewFactoryCommand(2, nullptr, static_cast<int32_t>(key), kv::String());
    }
    case XPM_FACTORY_TYPE_FAN_ERROR:
      return NewEventFromPayload(XPM_EVT_FAN_ERROR, nullptr, 0);
    default:
      kv::Log("factory event: unknown type " + std::to_string(type) + ", dropped");
      return nullptr;
  }
}

}  // namespace

void RegisterHostEvents() {
  RegisterEventFactory(XPM_EVT_FULL_SCAN_PROGRESS, sizeof(XPM_ChannelScanProgressPayload), NewChannelScanProgress);
  RegisterEventFactory(XPM_EVT_EPG_SCAN_PROGRESS, sizeof(XPM_EpgChannelScanProgressPayload),
                       NewEpgChannelScanProgress);
  RegisterEventFactory(XPM_EVT_FULL_SCAN_COMPLETE, sizeof(XPM_ScanEndPayload),
                       NewScanEnd<Events::XPM_EVENT_FULL_SCAN_COMPLETE>);
  RegisterEventFactory(XPM_EVT_FULL_SCAN_ABORTED, sizeof(XPM_ScanEndPayload),
                       NewScanEnd<Events::XPM_EVENT_FULL_SCAN_ABORTED>);
  RegisterEventFactory(XPM_EVT_EPG_FULL_SCAN_COMPLETE, sizeof(XPM_ScanEndPayload),
                       NewScanEnd<Events::XPM_EVENT_EPG_FULL_SCAN_COMPLETE>);
  RegisterEventFactory(XPM_EVT_EPG_FULL_SCAN_ABORTED, sizeof(XPM_ScanEndPayload),
                       NewScanEnd<Events::XPM_EVENT_EPG_FULL_SCAN_ABORTED>);
  RegisterEventFactory(XPM_EVT_FACTORY, sizeof(int32_t), NewFactoryEvent);
}

}  // namespace host
