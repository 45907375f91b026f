// Feeds arbitrary payloads to the table of event factories, the way the GUI
// loop builds an event object from what the middleware posted. The first
// byte picks the event id (one of the registered ids, or a raw id from the
// next four bytes); for the two scan-progress ids it can also say that the
// payload is the middleware's own form, which the callback packs first.
//
// What must hold: no crash or sanitizer report; a payload shorter than its
// id's minimum builds nothing; a payload that builds nothing was logged (but
// for a factory code that answers "no event"); an event's fields lie within
// the record (channel counts within what the payload carried, texts within
// their fields).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_runtime.h"
#include "host/host_events.h"
#include "host/xpm_callback.h"
#include "platform/events/event_factory.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "runtime/object.h"
#include "units/Events/DMRStatusEvent.h"
#include "units/Events/EventFactories.h"
#include "units/Events/MediaRemovedEvent.h"
#include "units/Events/XPM_EVENT_CHANNEL_SCAN_PROGRESS.h"
#include "units/Events/XPM_EVENT_EPG_CHANNEL_SCAN_PROGRESS.h"
#include "units/Events/XPM_EVENT_FACTORY_COMMAND.h"
#include "units/Events/XPM_EVENT_UBN_MEDIA_INSERTED.h"

namespace {

using fuzzrt::Require;

struct Id {
  uint32_t id;
  size_t minLength;
};

// Every registered id with its minimum length.
const std::vector<Id>& Ids() {
  static const std::vector<Id> ids = [] {
    host::RegisterHostEvents();
    Events::RegisterAll();
    std::vector<Id> out = {
        {XPM_EVT_FULL_SCAN_PROGRESS, sizeof(XPM_ChannelScanProgressPayload)},
        {XPM_EVT_EPG_SCAN_PROGRESS, sizeof(XPM_EpgChannelScanProgressPayload)},
        {XPM_EVT_FULL_SCAN_COMPLETE, sizeof(XPM_ScanEndPayload)},
        {XPM_EVT_FULL_SCAN_ABORTED, sizeof(XPM_ScanEndPayload)},
        {XPM_EVT_EPG_FULL_SCAN_COMPLETE, sizeof(XPM_ScanEndPayload)},
        {XPM_EVT_EPG_FULL_SCAN_ABORTED, sizeof(XPM_ScanEndPayload)},
        {XPM_EVT_FACTORY, sizeof(int32_t)},
    };
    for (const Events::PayloadEvent& e : Events::PayloadEvents()) out.push_back({e.id, e.minLength});
    return out;
  }();
  return ids;
}

// The full-scan progress in the middleware's form: what the packing keeps.
bool PackScan(const uint8_t* data, size_t size, XPM_ChannelScanProgressPayload* out) {
  const uint64_t logged = fuzzrt::LogCount();
  const bool ok = host::PackChannelScanProgress(data, size, out);
  if (!ok) {
    Require(size < sizeof(XPM_FullScanProgress) && fuzzrt::LogCount() > logged);
    return false;
  }
  const size_t present = (size - sizeof(XPM_FullScanProgress)) / sizeof(XPM_ScanChannel);
  Require(out->found >= 0 && out->found <= XPM_MAX_SCAN_CHANNELS && static_cast<size_t>(out->found) <= present);
  for (int32_t i = out->found; i < XPM_MAX_SCAN_CHANNELS; ++i)
    Require(out->channels[i].major == 0 && out->channels[i].minor == 0);
  if (out->found > 0)
    Require(std::memcmp(out->channels, data + sizeof(XPM_FullScanProgress),
                        static_cast<size_t>(out->found) * sizeof(XPM_ScanChannel)) == 0);
  return true;
}

bool PackGuideScan(const uint8_t* data, size_t size, XPM_EpgChannelScanProgressPayload* out) {
  const uint64_t logged = fuzzrt::LogCount();
  const bool ok = host::PackEpgScanProgress(data, size, out);
  if (!ok) Require(size < sizeof(XPM_EpgScanProgress) && fuzzrt::LogCount() > logged);
  else Require(out->position <= 0xFFFF && out->total <= 0xFFFF);
  return ok;
}

bool TextFits(const kv::String& s, size_t field) { return static_cast<size_t>(s.Length()) < field; }

void CheckEvent(kv::Object* obj) {
  if (auto* e = kv::Cast<Events::XPM_EVENT_CHANNEL_SCAN_PROGRESS>(obj)) {
    Require(e->Found >= 0 && e->Found <= Events::XPM_EVENT_CHANNEL_SCAN_PROGRESS::kMaxChannels);
  } else if (auto* m = kv::Cast<Events::MediaRemovedEvent>(obj)) {
    Require(TextFits(m->Path, sizeof(XPM_PathPayload::path) + 1));
  } else if (auto* u = kv::Cast<Events::XPM_EVENT_UBN_MEDIA_INSERTED>(obj)) {
    Require(TextFits(u->Path, sizeof(XPM_PathPayload::path) + 1));
  } else if (auto* d = kv::Cast<Events::DMRStatusEvent>(obj)) {
    Require(TextFits(d->Uri, sizeof(XPM_DmrStatusPayload::uri) + 1));
    Require(TextFits(d->Title, sizeof(XPM_DmrStatusPayload::title) + 1));
  } else if (auto* f = kv::Cast<Events::XPM_EVENT_FACTORY_COMMAND>(obj)) {
    Require(f->Kind >= 0 && f->Kind <= 3);
  }
}

void Build(uint32_t id, size_t minLength, const uint8_t* payload, size_t length) {
  const uint64_t logged = fuzzrt::LogCount();
  kv::Object* obj = evreg::NewEventFromPayload(id, payload, length);
  if (length < minLength) Require(obj == nullptr);
  if (obj) {
    CheckEvent(obj);
    return;
  }
  // A factory code may answer "no event" without a word.
  int32_t type = -1;
  if (id == XPM_EVT_FACTORY && length >= sizeof type) std::memcpy(&type, payload, sizeof type);
  const bool quietNone = type == XPM_FACTORY_TYPE_COMMAND && length >= sizeof(XPM_FactoryEvent);
  if (!quietNone) Require(fuzzrt::LogCount() > logged);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzrt::Start();
  const std::vector<Id>& ids = Ids();
  if (size == 0) return 0;
  const uint8_t pick = data[0];
  const uint8_t* payload = data + 1;
  size_t length = size - 1;
  if (pick >= 250) {
    // A raw id: mostly unknown ones.
    if (length < 4) return 0;
    uint32_t id;
    std::memcpy(&id, payload, sizeof id);
    size_t minLength = 0;
    for (const Id& known : ids)
      if (known.id == id) minLength = known.minLength;
    Build(id, minLength, payload + 4, length - 4);
  } else if (pick >= 128) {
    // The middleware's form of a scan progress, packed as the callback does.
    if (pick & 1) {
      XPM_ChannelScanProgressPayload packed;
      if (PackScan(payload, length, &packed))
        Build(XPM_EVT_FULL_SCAN_PROGRESS, sizeof packed, reinterpret_cast<const uint8_t*>(&packed), sizeof packed);
    } else {
      XPM_EpgChannelScanProgressPayload packed;
      if (PackGuideScan(payload, length, &packed))
        Build(XPM_EVT_EPG_SCAN_PROGRESS, sizeof packed, reinterpret_cast<const uint8_t*>(&packed), sizeof packed);
    }
  } else {
    const Id& id = ids[pick % ids.size()];
    Build(id.id, id.minLength, payload, length);
  }
  fuzzrt::EndPass();
  return 0;
}
