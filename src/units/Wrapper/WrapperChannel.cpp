// Channel and source control of the Wrapper: channel up and down, direct
// entry, the last-channel memory and toggle, retuning, rings, physical
// channels and source switching.
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <utility>

#include "platform/os/bkni.h"
#include "platform/xpm/xpm_settings.h"
#include "runtime/string.h"
#include "runtime/trace.h"
#include "strings/Wrapper.h"
#include "units/Constants/Constants.h"
#include "units/Structures/ChannelData.h"
#include "units/Structures/VirtualChannel.h"
#include "units/Wrapper/Wrapper.h"
#include "units/Wrapper/WrapperInternal.h"

namespace Wrapper {

using detail::TraceLabel;

namespace {

Structures::VirtualChannel* NewChannel(int32_t major, int32_t minor) {
  auto* channel = kv::New<Structures::VirtualChannel>();
  channel->Major = major;
  channel->Minor = minor;
  return channel;
}

bool Same(const Structures::VirtualChannel* a, const Structures::VirtualChannel* b) {
  return a && b && a->Major == b->Major && a->Minor == b->Minor;
}

bool IsWildcard(const Structures::VirtualChannel* c) { return c && c->Major == -1 && c->Minor == -1; }

bool IsTunerType(int32_t type) {
  return type == Constants::XPM_SOURCE_TYPE_RF_TUNER || type == Constants::XPM_SOURCE_TYPE_RF_DIGITAL;
}

// Selection of the channel walks: skip excluded channels and channels
// without a service; the property variants also skip locked ones.
constexpr int32_t kSelect = XPM_CHANNEL_SELECT_SKIP_EXCLUDED | XPM_CHANNEL_SELECT_SKIP_EMPTY;
constexpr int32_t kSelectWithProp = kSelect | XPM_CHANNEL_SELECT_SKIP_LOCKED;

// The selection and the kind of channel of the property walks.
int32_t WalkSelect(bool a, bool b) { return (a || b) ? kSelectWithProp : kSelect; }
int32_t WalkOnly(bool a, bool b) { return (b && !a) ? XPM_CHANNEL_ONLY_DIGITAL : XPM_CHANNEL_ONLY_ANY; }

// A new record of the neighbour `step` writes into its argument, or of the
// channel itself when the step fails.
template <class Step>
Structures::VirtualChannel* Neighbour(int32_t major, int32_t minor, Step step) {
  XPM_VirtualChannel found{major, minor};
  if (step(&found) != 0) found = {major, minor};
  return NewChannel(found.major, found.minor);
}

// Adds to the ring every virtual channel of the physical channel that is
// not in it yet (add), or removes from it every one that is (!add).
void PutPhysicalChannelInRing(int32_t ring, int32_t physical, bool add) {
  XPM_VirtualChannel* list = nullptr;
  int32_t count = 0;
  if (XPM_CALL(XPM_GetVirtualChannels, physical, &list, &count) == 0 && list) {
    for (int32_t i = 0; i < count; ++i) {
      const XPM_VirtualChannel& c = list[i];
      int32_t in = 0;
      if (XPM_CALL(XPM_IsChannelInRing, ring, c.major, c.minor, &in) != 0 || (in != 0) == add) continue;
      char line[96];
      std::snprintf(line, sizeof line,
                    add ? "Add Channel %ld.%ld to master ring %ld" : "Remove Channel %ld.%ld from ring %ld",
                    static_cast<long>(c.major), static_cast<long>(c.minor), static_cast<long>(ring));
      kv::Log(line);
      if (add)
        XPM_CALL(XPM_AddChannelToRing, ring, c.major, c.minor);
      else
        XPM_CALL(XPM_RemoveChannelFromRing, ring, c.major, c.minor);
    }
  }
  if (list) BKNI_Free(list);
}

}  // namespace

// --- Queries -------------------------------------------------------------------------

int32_t Wrapper::GetTunerWindow() {
  for (int32_t window = 0; window <= 1; ++window) {
    int32_t source = 0;
    if (XPM_CALL(XPM_GetCurrentSource, window, &source) != 0) continue;
    int32_t type = 0;
    if (XPM_CALL(XPM_GetSourceType, source, &type) != 0) continue;
    if (IsTunerType(type)) return window;
  }
  return -1;
}

Structures::VirtualChannel* Wrapper::GetCurrentChannel() {
  int32_t window = GetTunerWindow();
  XPM_VirtualChannel channel{XPM_VIRTUAL_CHANNEL_MAJOR_NONE, XPM_VIRTUAL_CHANNEL_MINOR_NONE};
  if (window < 0 || XPM_CALL(XPM_GetCurrentChannel, window, &channel) != 0)
    return NewChannel(XPM_VIRTUAL_CHANNEL_MAJOR_NONE, XPM_VIRTUAL_CHANNEL_MINOR_NONE);
  return NewChannel(channel.major, channel.minor);
}

bool Wrapper::IsNoChannel(const Structures::VirtualChannel* channel) {
  return !channel || channel->Major == XPM_VIRTUAL_CHANNEL_MAJOR_NONE;
}

bool Wrapper::IsSameChannelWithCurrent(Structures::VirtualChannel* channel) {
  return channel && Same(channel, GetCurrentChannel());
}

Structures::ChannelData* Wrapper::GetCurrentChannelInfo() {
  auto* data = kv::New<Structures::ChannelData>();
  int32_t window = GetTunerWindow();
  if (window < 0) {
    data->Name = kv::LoadString(T_NO_TUNER_CHANNEL_NAME);
    data->IsDigital = 1;
    return data;
  }
  XPM_VirtualChannel channel{XPM_VIRTUAL_CHANNEL_MAJOR_NONE, XPM_VIRTUAL_CHANNEL_MINOR_NONE};
  // Without the current channel (its read failed, logged) there is nothing to ask about.
  if (XPM_CALL(XPM_GetCurrentChannel, window, &channel) != 0) return data;
  XPM_ChannelInfo info;
  std::memset(&info, 0, sizeof info);
  bool ok = XPM_CALL(XPM_GetChannelInfo, channel.major, channel.minor, &info) == 0;
  data->Major = info.major;
  data->Minor = info.minor;
  if (ok) {
    info.name[sizeof info.name - 1] = 0;
    data->Name = kv::NewStringAnsi(info.name);
  }
  data->IsDigital = info.digital != 0 ? 1 : 0;
  data->InfoFlag = info.attributes;
  return data;
}

bool Wrapper::IsChannelExist(int32_t major, int32_t minor) {
  XPM_ChannelInfo info;
  std::memset(&info, 0, sizeof info);
  // A missing channel is an answer here, not an error.
  return XPM_GetChannelInfo(major, minor, &info) == 0;
}

bool Wrapper::IsDigitalChannel(int32_t major, int32_t minor) {
  XPM_ChannelInfo info;
  std::memset(&info, 0, sizeof info);
  return XPM_CALL(XPM_GetChannelInfo, major, minor, &info) == 0 && info.digital != 0;
}

int32_t Wrapper::GetCurrentPhysicalChannel() { return WRAPPER_READ(0, XPM_GetCurrentPhysicalChannel, Window); }

int32_t Wrapper::GetNumChannelsInRing(int32_t ring) {
  int32_t count = 0;
  if (XPM_GetNumChannelsInRing(ring, &count) != 0) {
    char line[64];
    std::snprintf(line, sizeof line, "  Get channel number of Ring(%ld) is wrong!  ", static_cast<long>(ring));
    kv::Log(line);
    return 0;
  }
  return count;
}

bool Wrapper::IsChannelRingEmpty(int32_t ring, bool notify) {
  int32_t count = 0;
  if (XPM_CALL(XPM_GetNumChannelsInRing, ring, &count) == 0 && count != 0) {
    detail::TraceBool(T_RING_EMPTY, false);
    return false;
  }
  if (notify) SendChannelAcquired(0, 0, Window, CHANNEL_MAP_IS_EMPTY);
  detail::TraceBool(T_RING_EMPTY, true);
  return true;
}

bool Wrapper::IsChannelInRing(int32_t ring, int32_t major, int32_t minor) {
  int32_t in = 0;
  if (XPM_CALL(XPM_IsChannelInRing, ring, major, minor, &in) != 0) return false;
  return in != 0;
}

// The plain walks are the property walks without the properties.
Structures::VirtualChannel* Wrapper::GetNextChannel(int32_t ring, int32_t major, int32_t minor) {
  return GetNextChannelWithProp(ring, major, minor, false, false);
}

Structures::VirtualChannel* Wrapper::GetPrevChannel(int32_t ring, int32_t major, int32_t minor) {
  return GetPrevChannelWithProp(ring, major, minor, false, false);
}

Structures::VirtualChannel* Wrapper::GetNextChannelWithProp(int32_t ring, int32_t major, int32_t minor, bool a,
                                                            bool b) {
  return Neighbour(major, minor, [&](XPM_VirtualChannel* next) {
    return XPM_CALL(XPM_GetNextChannel, -1, -1, ring, major, minor, next, WalkSelect(a, b), WalkOnly(a, b), 1);
  });
}

Structures::VirtualChannel* Wrapper::GetPrevChannelWithProp(int32_t ring, int32_t major, int32_t minor, bool a,
                                                            bool b) {
  return Neighbour(major, minor, [&](XPM_VirtualChannel* prev) {
    return XPM_CALL(XPM_GetPrevChannel, ring, major, minor, prev, WalkSelect(a, b), WalkOnly(a, b), 1);
  });
}

Structures::VirtualChannel* Wrapper::GetVirtualChannelByString(const kv::String& text, const kv::String& separator) {
  int32_t pos = kv::StringFind(text, separator, 0);
  if (pos <= 0) return NewChannel(String2Int(text), 0);
  int32_t major = String2Int(kv::StringLeft(text, pos));
  int32_t rest = text.Length() - pos - 1;
  int32_t minor = rest > 0 ? String2Int(kv::StringMiddle(text, pos + 1, rest)) : 0;
  return NewChannel(major, minor);
}

namespace detail {

int32_t WalkRing(const char* call, const std::function<int32_t(int32_t, int32_t, XPM_VirtualChannel*)>& next,
                 const std::function<void(const XPM_VirtualChannel&)>& visit) {
  std::set<std::pair<int32_t, int32_t>> seen;
  XPM_VirtualChannel channel{-1, -1};
  for (int32_t step = 0; step < kRingCapacity; ++step) {
    XPM_VirtualChannel found;
    std::memset(&found, 0, sizeof found);
    const int32_t status = next(channel.major, channel.minor, &found);
    if (status == XPM_ERR_END_OF_LIST) return 0;
    if (Checked(call, status) != 0) return status;
    if (!seen.insert({found.major, found.minor}).second) {
      char line[96];
      std::snprintf(line, sizeof line, "%s: channel %ld-%ld came again; walk stopped", call,
                    static_cast<long>(found.major), static_cast<long>(found.minor));
      kv::Log(line);
      return XPM_ERR_FAILED;
    }
    channel = found;
    visit(channel);
  }
  kv::Log(std::string(call) + ": no end after " + std::to_string(kRingCapacity) + " channels; walk stopped");
  return XPM_ERR_FAILED;
}

}  // namespace detail

// --- Sources ----------------------------------------------------------------------------

int32_t Wrapper::GetCurrentSource(int32_t window) { return WRAPPER_READ(0, XPM_GetCurrentSource, window); }

int32_t Wrapper::GetSourceType(int32_t source) { return WRAPPER_READ(1, XPM_GetSourceType, source); }

int32_t Wrapper::GetNumSources() { return WRAPPER_READ(10, XPM_GetNumSources); }

int32_t Wrapper::GetSourceId(int32_t index) { return WRAPPER_READ(0, XPM_GetSourceID, index); }

int32_t Wrapper::GetSourceIndex(int32_t source) {
  if (source == -1) return -1;
  int32_t count = GetNumSources();
  if (count <= 0) return 0;
  for (int32_t i = 0; i < count; ++i)
    if (GetSourceId(i) == source) return i;
  return count;
}

int32_t Wrapper::GetSourceByType(int32_t start, int32_t type, int32_t nth) {
  int32_t count = GetNumSources();
  if (count <= 0) return -1;
  if (nth < 1) nth = 1;
  if (start < 0) start = 0;
  if (start > count - 1) start = count - 1;
  for (int32_t i = start; i < count; ++i) {
    int32_t id = GetSourceId(i);
    int32_t t = GetSourceType(id);
    if (t == Constants::XPM_SOURCE_TYPE_AV_DVI) t = Constants::XPM_SOURCE_TYPE_AV_HDMI;
    if (t == type && --nth == 0) return id;
  }
  return -1;
}

int32_t Wrapper::IsSourceSelectable(int32_t a, int32_t b) {
  int32_t selectable = 1;
  if (XPM_CALL(XPM_IsSourceSelectable, a, b, &selectable) != 0) return 0;
  return selectable;
}

bool Wrapper::IsTunerSource() {
  int32_t source = 0;
  int32_t type = 0;
  if (XPM_CALL(XPM_GetCurrentSource, Window, &source) != 0) return false;
  if (XPM_CALL(XPM_GetSourceType, source, &type) != 0) return false;
  return IsTunerType(type);
}

int32_t Wrapper::SetSource(int32_t window, int32_t source) {
  if (int32_t lock = GetOSDLock()) return lock;
  kv::Trace("%s%u%s%i", {kv::LoadString(T_SET_SOURCE), static_cast<uint32_t>(source),
                         kv::LoadString(T_WINDOW), window});
  // Remember the source being left, unless it is the multimedia or external
  // one, which the viewer never returns to by the previous-source key.
  int32_t leaving = 0;
  int32_t type = 0;
  if (XPM_CALL(XPM_GetCurrentSource, 0, &leaving) == 0 && XPM_CALL(XPM_GetSourceType, leaving, &type) == 0 &&
      source != leaving && type != Constants::XPM_SOURCE_TYPE_MULTI_MEDIA &&
      type != Constants::XPM_SOURCE_TYPE_EXT)
    KeepPreviousSource(leaving);
  return XPM_CALL(XPM_SetSource, window, source);
}

int32_t Wrapper::SetLastSource() {
  if (PreviousSource == -1) return 0;
  SetSource(0, PreviousSource);
  return 1;
}

int32_t Wrapper::SetMainWindowToTuner() {
  int32_t tuner = GetSourceByType(0, Constants::XPM_SOURCE_TYPE_RF_TUNER, 1);
  if (tuner < 0) {
    kv::Log("Wrapper::SetMainWindowToTuner: the set has no RF source");
    return -1;
  }
  int32_t current = GetCurrentSource(0);
  if (tuner == current) return -1;
  SetSource(0, tuner);
  return current;
}

// --- Tuning ---------------------------------------------------------------------------------

int32_t Wrapper::SetChannelApi(int32_t window, int32_t major, int32_t minor) {
  return XPM_CALL(XPM_SetChannel, window, major, minor);
}

int32_t Wrapper::SetChannel(int32_t major, int32_t minor, bool mayUseTuner, bool record) {
  kv::Trace("%s%i%s%i", {kv::LoadString(T_SET_CHANNEL), major, kv::LoadString(T_MINOR), minor});
  if (major < 0) return OPERATION_NOT_AVAILABLE;
  if (IsChannelRingEmpty(XPM_MASTER_RING, true)) return OPERATION_NOT_AVAILABLE;
  int32_t window = GetTunerWindow();
  if (window < 0) {
    if (GetPIPState() != 0) {
      Structures::VirtualChannel* current = GetCurrentChannel();
      SendChannelAcquired(current->Major, current->Minor, Window, OPERATION_NOT_AVAILABLE);
      return OPERATION_NOT_AVAILABLE;
    }
    if (!mayUseTuner) return OPERATION_NOT_AVAILABLE;
    SetMainWindowToTuner();
    window = 0;
    record = false;
  } else {
    KeepPreviousSource(-1);
  }
  Structures::VirtualChannel* left = GetCurrentChannel();
  int32_t status = SetChannelApi(window, major, minor);
  if (status != 0) {
    SendChannelAcquired(0, 0, 0, CHANNEL_NOT_AVAILABLE);
    return status;
  }
  if (record && !IsNoChannel(left)) RecordLastChannel(left->Major, left->Minor);
  LastChannelToggling = false;
  return 0;
}

void Wrapper::OnSetCurrentChannel(int32_t number) {
  CurrentChannel = number;
  SetChannel(SplitChannelNum(number, true), SplitChannelNum(number, false), true, true);
}

int32_t Wrapper::OnGetCurrentChannel() {
  Structures::VirtualChannel* current = GetCurrentChannel();
  return CurrentChannel = UniteChannelNum(current->Major, current->Minor);
}

void Wrapper::ChannelChange(bool up, bool retune, bool record) {
  int32_t window = GetTunerWindow();
  if (window < 0) {
    if (retune) RetuneChannel();
    return;
  }
  if (IsChannelRingEmpty(XPM_MASTER_RING, true)) {
    Structures::VirtualChannel* current = GetCurrentChannel();
    SendChannelAcquired(current->Major, current->Minor, window, OPERATION_NOT_AVAILABLE);
    return;
  }
  KeepPreviousSource(-1);
  int32_t lastMajor = LastChannel ? LastChannel->Major : -1;
  int32_t lastMinor = LastChannel ? LastChannel->Minor : -1;
  Structures::VirtualChannel* current = GetCurrentChannel();
  // Without the current channel (its read failed, logged) there is nothing
  // to step from.
  if (IsNoChannel(current)) return;
  Structures::VirtualChannel* target = up ? GetNextChannel(XPM_MASTER_RING, current->Major, current->Minor)
                                          : GetPrevChannel(XPM_MASTER_RING, current->Major, current->Minor);
  int32_t status = SetChannelApi(window, target->Major, target->Minor);
  // A failed tune records the last channel again, so that the memory keeps
  // its order.
  if (record) {
    if (status == 0)
      RecordLastChannel(current->Major, current->Minor);
    else
      RecordLastChannel(lastMajor, lastMinor);
  }
  LastChannelToggling = false;
}

int32_t Wrapper::TuneToFirstChannel() {
  if (IsChannelRingEmpty(XPM_MASTER_RING, true)) return 1;
  TraceLabel(T_TUNE_TO_FIRST_CHANNEL);
  XPM_VirtualChannel first{-1, -1};
  int32_t status = XPM_CALL(XPM_GetNextChannel, -1, -1, XPM_MASTER_RING, -1, -1, &first, kSelect,
                            XPM_CHANNEL_ONLY_ANY, 1);
  // Without an answer there is no channel to tune.
  if (status != 0) return status;
  return SetChannelApi(0, first.major, first.minor);
}

int32_t Wrapper::RetuneChannel() {
  TraceLabel(T_RETUNE_CHANNEL);
  XPM_CALL(XPM_SetSecondaryWindowAudio, 0);
  XPM_CALL(XPM_SetDualWindow, 0);
  SetMainWindowToTuner();
  Structures::VirtualChannel* current = GetCurrentChannel();
  // A failed read of the channel (logged) leaves nothing to tune again.
  if (IsNoChannel(current)) return OPERATION_NOT_AVAILABLE;
  int32_t status = SetChannelApi(0, current->Major, current->Minor);
  LastChannelToggling = false;
  return status;
}

int32_t Wrapper::SetPhysicalChannel(int32_t physical, int32_t index) {
  int32_t window = GetTunerWindow();
  if (window < 0) return 0;
  XPM_VirtualChannel* list = nullptr;
  int32_t count = 0;
  int32_t status = XPM_CALL(XPM_GetVirtualChannels, physical, &list, &count);
  XPM_VirtualChannel target{XPM_VIRTUAL_CHANNEL_MAJOR_NONE, XPM_VIRTUAL_CHANNEL_MINOR_NONE};
  if (status == 0 && list && count > 0) target = (index >= 0 && index < count) ? list[index] : list[0];
  if (list) BKNI_Free(list);
  if (target.major < 1) return 0;
  return SetChannelApi(window, target.major, target.minor) == 0 ? 1 : 0;
}

// --- Last-channel memory ------------------------------------------------------------------

void Wrapper::RecordLastChannel(int32_t major, int32_t minor) {
  if (!RecordLastChannelEnabled) return;
  if (!PreLastChannel) PreLastChannel = NewChannel(-1, -1);
  if (!LastChannel) LastChannel = NewChannel(-1, -1);
  if (!Same(PreLastChannel, LastChannel)) {
    PreLastChannel->Major = LastChannel->Major;
    PreLastChannel->Minor = LastChannel->Minor;
  }
  LastChannel->Major = major;
  LastChannel->Minor = minor;
}

void Wrapper::ResetLastChannel() {
  if (!LastChannel) LastChannel = NewChannel(-1, -1);
  LastChannel->Major = -1;
  LastChannel->Minor = -1;
  LastChannelToggling = true;
  ToggleChannel = nullptr;
}

int32_t Wrapper::EnableRecordLastChannel() {
  RecordLastChannelTimer.OnSetEnabled(false);
  RecordLastChannelEnabled = true;
  return 1;
}

void Wrapper::EnableRecordLastChannelSlot(kv::Object*) { EnableRecordLastChannel(); }

int32_t Wrapper::SetLastChannel() {
  TraceLabel(T_SET_LAST_CHANNEL);
  int32_t window = GetTunerWindow();
  if (window < 0) {
    SetMainWindowToTuner();
    LastChannelToggling = false;
    return 0;
  }
  if (!LastChannelToggling) {
    ToggleChannel = GetCurrentChannel();
    LastChannelToggling = true;
  }
  if (!LastChannel || IsWildcard(LastChannel) || !ToggleChannel || IsWildcard(ToggleChannel)) {
    LastChannelToggling = false;
    return CHANNEL_NOT_AVAILABLE;
  }
  if (Same(ToggleChannel, LastChannel)) {
    // Watching the channel left last: its partner is the one left before.
    if (!PreLastChannel || Same(PreLastChannel, LastChannel) || IsWildcard(PreLastChannel)) {
      LastChannelToggling = false;
      return CHANNEL_NOT_AVAILABLE;
    }
    ToggleChannel = PreLastChannel.get();
  }
  Structures::VirtualChannel* current = GetCurrentChannel();
  if (Same(current, LastChannel)) return SetChannelApi(window, ToggleChannel->Major, ToggleChannel->Minor);
  if (Same(current, ToggleChannel)) return SetChannelApi(window, LastChannel->Major, LastChannel->Minor);
  return CHANNEL_NOT_AVAILABLE;
}

// --- Rings ------------------------------------------------------------------------------------

int32_t Wrapper::AddChannelToRing(int32_t ring, Structures::VirtualChannel* channel) {
  if (int32_t lock = GetOSDLock()) return lock;
  if (IsNoChannel(channel)) {
    kv::Log("Wrapper::AddChannelToRing: no channel");
    return XPM_ERR_INVALID_PARAM;
  }
  kv::Trace("%s%i%i%s%i", {kv::LoadString(T_ADD_CHANNEL_TO_RING), channel->Major, channel->Minor,
                           kv::LoadString(T_RING), ring});
  return XPM_CALL(XPM_AddChannelToRing, ring, channel->Major, channel->Minor);
}

int32_t Wrapper::RemoveChannelFromRing(int32_t ring, Structures::VirtualChannel* channel) {
  if (int32_t lock = GetOSDLock()) return lock;
  if (!channel) {
    kv::Log("Wrapper::RemoveChannelFromRing: no channel");
    return XPM_ERR_INVALID_PARAM;
  }
  detail::TraceInt(T_REMOVE_CHANNEL_FROM_RING, ring);
  return XPM_CALL(XPM_RemoveChannelFromRing, ring, channel->Major, channel->Minor);
}

void Wrapper::AddPhysicalChannelsToRing(int32_t ring, int32_t physical) {
  PutPhysicalChannelInRing(ring, physical, true);
}

void Wrapper::RemovePhysicalChannelsFromRing(int32_t ring, int32_t physical) {
  PutPhysicalChannelInRing(ring, physical, false);
}

int32_t Wrapper::SetChannelName(Structures::VirtualChannel* channel, const kv::String& name) {
  if (int32_t lock = GetOSDLock()) return lock;
  if (!channel) {
    kv::Log("Wrapper::SetChannelName: no channel");
    return XPM_ERR_INVALID_PARAM;
  }
  kv::Trace("%s%*%s", {kv::LoadString(T_SET_CHANNEL_NAME), static_cast<const kv::Object*>(channel), name});
  char buffer[37] = {};
  kv::StringToAnsi(name, buffer, sizeof buffer, '?');
  return XPM_CALL(XPM_SetChannelName, channel->Major, channel->Minor, buffer);
}

int32_t Wrapper::GetRealVirtualChannel(int32_t major, int32_t minor) {
  kv::Log("get real " + std::to_string(major) + "." + std::to_string(minor) + " ");
  return 0;
}

int32_t Wrapper::GetPATVirtualChannel(int32_t major, int32_t minor) {
  kv::Log("get pat id of " + std::to_string(major) + "." + std::to_string(minor) + " ");
  return 0;
}

}  // namespace Wrapper
