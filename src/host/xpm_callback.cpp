#include "host/xpm_callback.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>

#include "host/gui_mailbox.h"
#include "platform/tvsm/tvsm.h"
#include "platform/xpm/xpm_event_ids.h"
#include "runtime/trace.h"

namespace host {

namespace {
std::atomic<bool> g_processing{true};
std::atomic<void (*)()> g_hook{nullptr};
}  // namespace

void SetEventProcessing(bool on) { g_processing.store(on); }
bool EventProcessing() { return g_processing.load(); }
void SetMiddlewareEventHook(void (*hook)()) { g_hook.store(hook); }

bool PackChannelScanProgress(const uint8_t* payload, size_t length, XPM_ChannelScanProgressPayload* out) {
  std::memset(out, 0, sizeof *out);
  XPM_FullScanProgress in;
  if (!payload || length < sizeof in) {
    kv::Log("kv_xpmEventCallback: scan progress of " + std::to_string(length) + " bytes is too short, dropped");
    return false;
  }
  std::memcpy(&in, payload, sizeof in);
  out->physicalChannel = in.param[0];
  out->value1 = in.param[1];
  out->percent = in.param[2];
  out->flag = in.param[3];
  if (in.param[7] <= 0) {
    kv::Log("kv_xpmEventCallback: channel " + std::to_string(in.param[0]) + ": No lock");
    return true;
  }
  const size_t present = (length - sizeof in) / sizeof(XPM_ScanChannel);
  int32_t found = std::min(in.param[7], XPM_MAX_SCAN_CHANNELS);
  if (static_cast<size_t>(found) > present) {
    kv::Log("kv_xpmEventCallback: scan progress names " + std::to_string(in.param[7]) + " channels but carries " +
            std::to_string(present));
    found = static_cast<int32_t>(present);
  }
  out->found = found;
  std::memcpy(out->channels, payload + sizeof in, size_t(found) * sizeof(XPM_ScanChannel));
  return true;
}

bool PackEpgScanProgress(const uint8_t* payload, size_t length, XPM_EpgChannelScanProgressPayload* out) {
  std::memset(out, 0, sizeof *out);
  XPM_EpgScanProgress in;
  if (!payload || length < sizeof in) {
    kv::Log("kv_xpmEventCallback: guide scan progress of " + std::to_string(length) + " bytes is too short, dropped");
    return false;
  }
  std::memcpy(&in, payload, sizeof in);
  out->position = static_cast<uint32_t>(in.position) & 0xFFFFu;
  out->total = static_cast<uint32_t>(in.total) & 0xFFFFu;
  out->channel.major = static_cast<uint16_t>(in.major);
  out->channel.minor = static_cast<uint16_t>(in.minor);
  return true;
}

void kv_xpmEventCallback(uint32_t eventId, const void* payload, uint32_t length) {
  if (auto hook = g_hook.load()) hook();
  if (!g_processing.load()) return;
  const auto* bytes = static_cast<const uint8_t*>(payload);
  if (length > 0 && !bytes) {
    kv::Log("kv_xpmEventCallback: event " + std::to_string(eventId) + " without its payload, dropped");
    return;
  }
  switch (eventId) {
    case XPM_EVT_FULL_SCAN_PROGRESS: {
      XPM_ChannelScanProgressPayload packed;
      if (PackChannelScanProgress(bytes, length, &packed)) PostToGui(eventId, &packed, sizeof packed);
      return;
    }
    case XPM_EVT_EPG_SCAN_PROGRESS: {
      XPM_EpgChannelScanProgressPayload packed;
      if (PackEpgScanProgress(bytes, length, &packed)) PostToGui(eventId, &packed, sizeof packed);
      return;
    }
    case XPM_EVT_NETWORK_STATUS:
      if (TVSM_ReportAsyncEvent(TVSM_SENDER_UI, TVSM_ASYNC_NETWORK_STATUS, bytes, length) == 0)
        kv::Log("TVSM_ReportAsyncEvent Error (network status)");
      PostToGui(eventId, bytes, length);
      return;
    default:
      PostToGui(eventId, bytes, length);
      return;
  }
}

}  // namespace host
