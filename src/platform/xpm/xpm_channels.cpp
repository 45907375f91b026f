// The middleware's source, channel, scan and timer calls, the recording
// database's DB_Get_TimerId and the front display's BCM_DisplayChannelNumber
// (xpm_settings.h), served by the simulated television's state
// (sim_tv_state.h).
#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/os/bkni.h"
#include "platform/sim/sim_tv_call.h"
#include "platform/xpm/xpm_record.h"
#include "platform/xpm/xpm_settings.h"
#include "runtime/trace.h"

static_assert(sizeof(XPM_TimerRecord) == sim::kTimerRecordWords * sizeof(int32_t));

// --- Channel scans -----------------------------------------------------------------

int32_t BCM_DisplayChannelNumber(const BCM_ChannelNumberDisplay* record) {
  SIM_TV_ENTER("BCM_DisplayChannelNumber", record ? sim::Args(record->mode) : std::string("null"));
  SIM_TV_NEED(record);
  state.SetFrontDisplayMode(record->mode);
  return XPM_OK;
}

// Only the medium (and the physical channel of a discovery) steer the
// simulated scans; the further arguments are kept in the call log.
int32_t XPM_StartChannelScan(int32_t medium, int8_t b, int8_t c, int8_t d, int16_t e, int16_t f) {
  SIM_TV_ENTER("XPM_StartChannelScan", sim::Args(medium, b, c, d, e, f));
  return state.StartChannelScan(medium, b != 0, c != 0, d != 0, kCall);
}

int32_t XPM_AbortChannelScan(int32_t a) {
  SIM_TV_ENTER("XPM_AbortChannelScan", sim::Args(a));
  return state.AbortChannelScan(kCall);
}

int32_t XPM_StartChannelDiscovery(int32_t physical, int8_t b, int8_t c, int8_t d, int8_t e, int8_t f) {
  SIM_TV_ENTER("XPM_StartChannelDiscovery", sim::Args(physical, b, c, d, e, f));
  return state.StartChannelDiscovery(physical, b != 0, c != 0, f == 0, kCall);
}

int32_t XPM_AbortChannelDiscovery(int32_t a) {
  SIM_TV_ENTER("XPM_AbortChannelDiscovery", sim::Args(a));
  return state.AbortChannelScan(kCall);
}

int32_t XPM_EPG_FullChannelScan(int32_t window, int32_t p3, int32_t p4, int32_t p2, int32_t p1) {
  SIM_TV_ENTER("XPM_EPG_FullChannelScan", sim::Args(window, p3, p4, p2, p1));
  // (window, first, last, medium, tuner): the tuner is the call log's.
  return state.StartGuideScan(window, false, p3, p4, p2, kCall);
}

int32_t XPM_EPG_SingleChannelScan(int32_t window, int32_t p3, int32_t p2, int32_t p1) {
  SIM_TV_ENTER("XPM_EPG_SingleChannelScan", sim::Args(window, p3, p2, p1));
  return state.StartGuideScan(window, true, 0, 0, 0, kCall);
}

int32_t XPM_EPG_AbortScan(int32_t window) {
  SIM_TV_ENTER("XPM_EPG_AbortScan", sim::Args(window));
  return state.AbortGuideScan(window, kCall);
}

// --- Sources -------------------------------------------------------------------------

int32_t XPM_GetNumSources(int32_t* count) {
  SIM_TV_ENTER("XPM_GetNumSources", "");
  SIM_TV_NEED(count);
  *count = static_cast<int32_t>(state.Sources().size());
  return XPM_OK;
}

int32_t XPM_GetSourceID(int32_t index, int32_t* id) {
  SIM_TV_ENTER("XPM_GetSourceID", sim::Args(index));
  SIM_TV_NEED(id);
  return state.SourceIdAt(index, id, kCall);
}

int32_t XPM_GetSourceType(int32_t source, int32_t* type) {
  SIM_TV_ENTER("XPM_GetSourceType", sim::Args(source));
  SIM_TV_NEED(type);
  return state.SourceType(source, type, kCall);
}

int32_t XPM_GetCurrentSource(int32_t window, int32_t* source) {
  SIM_TV_ENTER("XPM_GetCurrentSource", sim::Args(window));
  SIM_TV_NEED(source);
  return state.CurrentSource(window, source, kCall);
}

int32_t XPM_SetSource(int32_t window, int32_t source) {
  SIM_TV_ENTER("XPM_SetSource", sim::Args(window, source));
  return state.SetSource(window, source, kCall);
}

int32_t XPM_IsSourceSelectable(int32_t window, int32_t source, int32_t* selectable) {
  SIM_TV_ENTER("XPM_IsSourceSelectable", sim::Args(window, source));
  SIM_TV_NEED(selectable);
  return state.IsSourceSelectable(source, window, selectable, kCall);
}

int32_t XPM_SetSourceLock(int32_t source, int32_t locked) {
  SIM_TV_ENTER("XPM_SetSourceLock", sim::Args(source, locked));
  return state.SetSourceLock(source, locked, kCall);
}

int32_t XPM_GetSourceLock(int32_t source, int32_t* locked) {
  SIM_TV_ENTER("XPM_GetSourceLock", sim::Args(source));
  SIM_TV_NEED(locked);
  return state.GetSourceLock(source, locked, kCall);
}

// --- Channels ----------------------------------------------------------------------------

int32_t XPM_GetCurrentChannel(int32_t window, XPM_VirtualChannel* channel) {
  SIM_TV_ENTER("XPM_GetCurrentChannel", sim::Args(window));
  SIM_TV_NEED(channel);
  int32_t major = 0, minor = 0;
  const int32_t status = state.CurrentChannel(window, &major, &minor, kCall);
  if (status == XPM_OK) *channel = {major, minor};
  return status;
}

int32_t XPM_SetChannel(int32_t window, int32_t major, int32_t minor) {
  SIM_TV_ENTER("XPM_SetChannel", sim::Args(window, major, minor));
  return state.SetChannel(window, major, minor, kCall);
}

int32_t XPM_GetChannelInfo(int32_t major, int32_t minor, XPM_ChannelInfo* info) {
  SIM_TV_ENTER("XPM_GetChannelInfo", sim::Args(major, minor));
  SIM_TV_NEED(info);
  sim::Channel c;
  const int32_t status = state.ChannelInfo(major, minor, &c, kCall);
  if (status != XPM_OK) return status;
  info->major = c.major;
  info->minor = c.minor;
  info->digital = c.digital ? 1 : 0;
  std::memset(info->name, 0, sizeof info->name);
  std::memcpy(info->name, c.name.data(), std::min(c.name.size(), sizeof info->name - 1));
  info->excluded = c.excluded ? 1 : 0;
  info->flags = c.service ? 1 : 0;
  info->attributes = c.locked ? 1 : 0;  // the lock byte
  info->physical = c.physical;
  return XPM_OK;
}

int32_t XPM_GetCurrentPhysicalChannel(int32_t window, int32_t* physical) {
  SIM_TV_ENTER("XPM_GetCurrentPhysicalChannel", sim::Args(window));
  SIM_TV_NEED(physical);
  return state.CurrentPhysicalChannel(window, physical, kCall);
}

int32_t XPM_GetNumChannelsInRing(int32_t ring, int32_t* count) {
  SIM_TV_ENTER("XPM_GetNumChannelsInRing", sim::Args(ring));
  SIM_TV_NEED(count);
  return state.NumChannelsInRing(ring, count, kCall);
}

int32_t XPM_IsChannelInRing(int32_t ring, int32_t major, int32_t minor, int32_t* in) {
  SIM_TV_ENTER("XPM_IsChannelInRing", sim::Args(ring, major, minor));
  SIM_TV_NEED(in);
  return state.IsChannelInRing(ring, major, minor, in, kCall);
}

int32_t XPM_GetNextChannel(int32_t window, int32_t source, int32_t ring, int32_t major, int32_t minor,
                           XPM_VirtualChannel* next, int32_t select, int32_t only, int32_t wrap) {
  SIM_TV_ENTER("XPM_GetNextChannel", sim::Args(window, source, ring, major, minor, select, only, wrap));
  SIM_TV_NEED(next);
  int32_t m = 0, n = 0;
  const int32_t status = state.WalkChannels(+1, window, source, ring, major, minor, select, only, wrap, &m, &n, kCall);
  if (status == XPM_OK) *next = {m, n};
  return status;
}

int32_t XPM_GetPrevChannel(int32_t ring, int32_t major, int32_t minor, XPM_VirtualChannel* prev, int32_t select,
                           int32_t only, int32_t wrap) {
  SIM_TV_ENTER("XPM_GetPrevChannel", sim::Args(ring, major, minor, select, only, wrap));
  SIM_TV_NEED(prev);
  int32_t m = 0, n = 0;
  const int32_t status = state.WalkChannels(-1, -1, -1, ring, major, minor, select, only, wrap, &m, &n, kCall);
  if (status == XPM_OK) *prev = {m, n};
  return status;
}

int32_t XPM_GetVirtualChannels(int32_t physical, XPM_VirtualChannel** list, int32_t* count) {
  SIM_TV_ENTER("XPM_GetVirtualChannels", sim::Args(physical));
  SIM_TV_NEED(list);
  SIM_TV_NEED(count);
  std::vector<std::pair<int32_t, int32_t>> channels;
  const int32_t status = state.VirtualChannels(physical, &channels, kCall);
  if (status != XPM_OK) return status;
  XPM_VirtualChannel* out = nullptr;
  if (!channels.empty()) {
    out = static_cast<XPM_VirtualChannel*>(BKNI_Malloc(channels.size() * sizeof(XPM_VirtualChannel)));
    if (!out) return XPM_ERR_FAILED;  // logged by BKNI_Malloc
    for (size_t i = 0; i < channels.size(); ++i) out[i] = {channels[i].first, channels[i].second};
  }
  *list = out;
  *count = static_cast<int32_t>(channels.size());
  return XPM_OK;
}

int32_t XPM_AddChannelToRing(int32_t ring, int32_t major, int32_t minor) {
  SIM_TV_ENTER("XPM_AddChannelToRing", sim::Args(ring, major, minor));
  return state.AddChannelToRing(ring, major, minor, kCall);
}

int32_t XPM_RemoveChannelFromRing(int32_t ring, int32_t major, int32_t minor) {
  SIM_TV_ENTER("XPM_RemoveChannelFromRing", sim::Args(ring, major, minor));
  return state.RemoveChannelFromRing(ring, major, minor, kCall);
}

int32_t XPM_SetChannelName(int32_t major, int32_t minor, const char* name) {
  SIM_TV_ENTER("XPM_SetChannelName", sim::Args(major, minor, name));
  return state.SetChannelName(major, minor, name, kCall);
}

int32_t XPM_SetChannelLock(int32_t major, int32_t minor, int32_t locked) {
  SIM_TV_ENTER("XPM_SetChannelLock", sim::Args(major, minor, locked));
  return state.SetChannelLock(major, minor, locked, kCall);
}

int32_t XPM_GetChannelLock(int32_t major, int32_t minor, int32_t* locked) {
  SIM_TV_ENTER("XPM_GetChannelLock", sim::Args(major, minor));
  SIM_TV_NEED(locked);
  return state.GetChannelLock(major, minor, locked, kCall);
}

// --- Timers ----------------------------------------------------------------------------------

int32_t XPM_GetTimer(int32_t id, XPM_TimerRecord* record) {
  SIM_TV_ENTER("XPM_GetTimer", sim::Args(id));
  SIM_TV_NEED(record);
  int32_t words[sim::kTimerRecordWords];
  const int32_t status = state.GetTimer(id, words, kCall);
  if (status == XPM_OK) std::memcpy(record, words, sizeof words);
  return status;
}

int32_t XPM_SetTimer(int32_t id, XPM_TimerRecord record) {
  SIM_TV_ENTER("XPM_SetTimer", sim::Args(id, record.enabled, record.daysOfWeek, record.duration));
  int32_t words[sim::kTimerRecordWords];
  std::memcpy(words, &record, sizeof words);
  const int32_t status = state.SetTimer(id, words, kCall);
  if (status == XPM_OK) sim::TimersChanged(*tv);
  return status;
}

int32_t DB_Get_TimerId(int32_t* id) {
  SIM_TV_ENTER("DB_Get_TimerId", "");
  SIM_TV_NEED(id);
  return state.FirstFreeTimerId(id, kCall);
}
