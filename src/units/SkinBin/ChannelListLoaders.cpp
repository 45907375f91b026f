// The loaders of SkinBin::ChannelListData (see ChannelListData.h): channel
// walks over the middleware's rings, the virtual channels of one physical
// channel and the channels found by one scan step.
#include <algorithm>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "platform/os/bkni.h"
#include "platform/xpm/xpm_rings.h"
#include "platform/xpm/xpm_settings.h"
#include "runtime/auto_object.h"
#include "runtime/trace.h"
#include "strings/SkinBin.h"
#include "units/Constants/Constants.h"
#include "units/Core/Log.h"
#include "units/Events/XPM_EVENT_CHANNEL_SCAN_PROGRESS.h"
#include "units/SkinBin/ChannelListData.h"
#include "units/SkinBin/Wrapper.h"

namespace SkinBin {

namespace {

// Selection masks of the walks (XPM_GetNextChannel's `select`).
constexpr int32_t kSelectMasterFlag = 20;
constexpr int32_t kSelectMaster = 4;
constexpr int32_t kSelectGuideFlag = 21;
constexpr int32_t kSelectGuide = 5;
constexpr int32_t kSelectTimer = 21;
constexpr int32_t kSelectFavorites = 4;

// A scan result's ScanValue from which it counts as a strong channel.
constexpr int32_t kHighScanValue = 60;

int64_t Key(int32_t major, int32_t minor) {
  return (static_cast<int64_t>(major) << 32) | static_cast<uint32_t>(minor);
}

bool IsTunerType(int32_t type) {
  return type == Constants::XPM_SOURCE_TYPE_RF_TUNER || type == Constants::XPM_SOURCE_TYPE_RF_DIGITAL;
}

// A walk's end: 11 is the ordinary end; anything else is logged.
void EndOfWalk(const char* call, int32_t status) {
  if (status != XPM_ERR_END_OF_LIST) kv::LogFailedCall(call, status);
}

// The channel information of one number; false (logged) when unreadable.
bool ReadInfo(int32_t major, int32_t minor, XPM_ChannelInfo* info) {
  std::memset(info, 0, sizeof *info);
  if (kv::LogFailedCall("XPM_GetChannelInfo", XPM_GetChannelInfo(major, minor, info)) != XPM_OK) return false;
  info->name[sizeof info->name - 1] = 0;
  return true;
}

// The name and flags an entry takes from the last readable information.
struct LastInfo {
  kv::String Name = kv::LoadString(CHANNEL_DEFAULT_NAME);
  uint8_t InfoFlag = 1;
  uint8_t IsDigital = 1;
  int32_t Physical = 0;
};

// `last` becomes what `info` says.
void TakeInfo(LastInfo& last, const XPM_ChannelInfo& info) {
  last.Name = kv::NewStringAnsi(info.name);
  last.InfoFlag = static_cast<uint8_t>(info.flags);
  last.IsDigital = info.digital != 0 ? 1 : 0;
  last.Physical = info.physical;
}

// Reads the information and lock of `c` into `last` and `c`; false when the
// information cannot be read (`last` and `c` unchanged).
bool ReadOwnInfo(ChannelData* c, LastInfo& last) {
  XPM_ChannelInfo info;
  if (!ReadInfo(c->Major, c->Minor, &info)) return false;
  TakeInfo(last, info);
  int32_t locked = 0;
  if (kv::LogFailedCall("XPM_GetChannelLock", XPM_GetChannelLock(c->Major, c->Minor, &locked)) == XPM_OK)
    c->Locked = info.attributes;
  return true;
}

// Name, flags and digital of `c` from `last`, and whether ring 0 holds it.
void FinishFromLast(ChannelData* c, const LastInfo& last) {
  c->Name = last.Name;
  c->InfoFlag = last.InfoFlag;
  c->IsDigital = last.IsDigital;
  c->PhysicalChannel = last.Physical;
  // Ring 0 holds the channels that are not skipped.
  int32_t in = 1;
  if (kv::LogFailedCall("XPM_IsChannelInRing", XPM_IsChannelInRing(XPM_MASTER_RING, c->Major, c->Minor, &in)) ==
      XPM_OK)
    c->InRing = in != 0 ? 1 : 0;
}

// Fills name, flags, lock and digital of `c` from the middleware, or from
// `last` when the information cannot be read.
void FillFromInfo(ChannelData* c, LastInfo& last) {
  ReadOwnInfo(c, last);
  FinishFromLast(c, last);
}

ChannelData* NewEntry(int32_t major, int32_t minor) {
  auto* c = kv::New<ChannelData>();
  c->Major = major;
  c->Minor = minor;
  c->TimerIndex = -1;
  return c;
}

SkinBin::Wrapper* SkinWrapper() {
  return kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper));
}

}  // namespace

// The walk of the master, guide and timer tables. `fill` completes each
// entry; the walk stops at capacity, at the walk's end or failure, and when
// it comes back to a channel already listed.
template <class Fill>
static int32_t WalkRing(ChannelListData& table, int32_t x, int32_t y, int32_t ring, int32_t select, Fill fill) {
  table.Count = 0;
  std::set<int64_t> seen;
  XPM_VirtualChannel at{-1, -1};
  for (;;) {
    XPM_VirtualChannel next{};
    const int32_t status = XPM_GetNextChannel(x, y, ring, at.major, at.minor, &next, select, 0, 0);
    if (status != XPM_OK) {
      EndOfWalk("XPM_GetNextChannel", status);
      break;
    }
    if (!seen.insert(Key(next.major, next.minor)).second) break;
    ChannelData* c = NewEntry(next.major, next.minor);
    fill(c);
    if (!table.Append(c)) break;
    at = next;
  }
  return table.Count;
}

int32_t ChannelListData::LoadMasterChannelTable(bool flag) {
  TableType = CHANNEL_TABLE_MASTER;
  // Numbers only: GetChannel reads the rest of an entry when it is asked for.
  const int32_t n = WalkRing(*this, -1, -1, XPM_MASTER_RING, flag ? kSelectMasterFlag : kSelectMaster,
                             [](ChannelData*) {});
  unread_.resize(entries_.size(), 0);
  std::fill(unread_.begin(), unread_.begin() + n, 1);
  return n;
}

void ChannelListData::ReadEntry(int32_t i) const {
  unread_[static_cast<size_t>(i)] = 0;
  ChannelData* c = entries_[static_cast<size_t>(i)];
  LastInfo last;
  if (!ReadOwnInfo(c, last)) {
    // The walk's last readable entry before this one: an entry read already
    // holds it; one not read yet is asked for its own information.
    for (int32_t j = i - 1; j >= 0; --j) {
      const ChannelData* p = entries_[static_cast<size_t>(j)];
      if (!unread_[static_cast<size_t>(j)]) {
        last.Name = p->Name;
        last.InfoFlag = p->InfoFlag;
        last.IsDigital = p->IsDigital;
        last.Physical = p->PhysicalChannel;
        break;
      }
      XPM_ChannelInfo info;
      if (ReadInfo(p->Major, p->Minor, &info)) {
        TakeInfo(last, info);
        break;
      }
    }
  }
  FinishFromLast(c, last);
  c->Extra0 = last.Physical;
}

int32_t ChannelListData::LoadGuideChannelTable(bool flag) {
  TableType = CHANNEL_TABLE_GUIDE;
  LastInfo last;
  return WalkRing(*this, -1, -1, XPM_MASTER_RING, flag ? kSelectGuideFlag : kSelectGuide,
                  [&](ChannelData* c) { FillFromInfo(c, last); });
}

bool ChannelListData::InsertGuideChannel(int32_t major, int32_t minor) {
  XPM_ChannelInfo info;
  if (!ReadInfo(major, minor, &info)) return false;
  const auto before = [](int32_t a1, int32_t a2, int32_t b1, int32_t b2) { return a1 != b1 ? a1 < b1 : a2 < b2; };
  std::vector<ChannelData*> held;
  for (int32_t i = 0; i < Count; ++i) held.push_back(entries_[static_cast<size_t>(i)]);
  size_t at = 0;
  while (at < held.size() && before(held[at]->Major, held[at]->Minor, major, minor)) ++at;
  ChannelData* c = NewEntry(major, minor);
  LastInfo last;
  FillFromInfo(c, last);
  held.insert(held.begin() + static_cast<std::ptrdiff_t>(at), c);
  Count = 0;
  for (ChannelData* e : held)
    if (!Append(e)) return false;
  return true;
}

int32_t ChannelListData::LoadTimerChannelTable(int32_t a, int32_t b) {
  TableType = CHANNEL_TABLE_GUIDE;
  return WalkRing(*this, a != 0 ? 1 : 0, b != 0 ? 1 : 0, XPM_MASTER_RING, kSelectTimer, [](ChannelData*) {});
}

int32_t ChannelListData::LoadSingleChannelTable(int32_t physical) {
  kv::Trace("%s%u", {kv::LoadString(T_LOAD_SINGLE), static_cast<uint32_t>(physical)});
  Clear();
  auto* pairs = kv::New<VirtualChannels>();
  XPM_VirtualChannel* list = nullptr;
  int32_t count = 0;
  if (kv::LogFailedCall("XPM_GetVirtualChannels", XPM_GetVirtualChannels(physical, &list, &count)) == XPM_OK)
    for (int32_t i = 0; i < count && list && pairs->Add(list[i].major, list[i].minor); ++i) {
    }
  if (list) BKNI_Free(list);
  for (int32_t i = 0; i < pairs->GetCount(); ++i) {
    const VirtualChannels::Pair p = pairs->Get(i);
    XPM_ChannelInfo info;
    if (ReadInfo(p.Major, p.Minor, &info) && info.excluded) continue;
    ChannelData* c = NewEntry(p.Major, p.Minor);
    LastInfo last;
    FillFromInfo(c, last);
    if (!Append(c)) break;
  }
  return 1;
}

// Both favourites loaders: the table's pointers and counters cleared,
// TableType 2, the trace line.
static void StartFavorites(ChannelListData& table, kv::TextId label, int32_t ring) {
  table.Clear();
  table.TableType = CHANNEL_TABLE_FAVORITES;
  kv::Trace("%s%i", {kv::LoadString(label), ring});
}

int32_t ChannelListData::LoadFavoritesChannels(int32_t ring) {
  StartFavorites(*this, T_LOAD_FAVORITES, ring);
  int32_t count = 0;
  if (kv::LogFailedCall("XPM_GetNumChannelsInRing", XPM_GetNumChannelsInRing(ring, &count)) != XPM_OK || count <= 0)
    return 0;
  SkinBin::Wrapper* w = SkinWrapper();
  int32_t source = 0, type = 0, medium = 0;
  kv::LogFailedCall("XPM_GetCurrentSource", XPM_GetCurrentSource(0, &source));
  kv::LogFailedCall("XPM_GetSourceType", XPM_GetSourceType(source, &type));
  kv::LogFailedCall("XPM_GetMedium", XPM_GetMedium(&medium));
  const bool tuner = IsTunerType(type);
  std::set<int64_t> seen;
  XPM_VirtualChannel at{-1, -1};
  for (;;) {
    XPM_VirtualChannel next{};
    const int32_t status = XPM_GetNextChannel(-1, -1, ring, at.major, at.minor, &next, kSelectFavorites, 0, 0);
    if (status != XPM_OK) {
      EndOfWalk("XPM_GetNextChannel", status);
      return status == XPM_ERR_END_OF_LIST ? XPM_ERR_END_OF_LIST : count;
    }
    if (!seen.insert(Key(next.major, next.minor)).second) return count;
    ChannelData* c = NewEntry(next.major, next.minor);
    c->SourceId = source;
    c->SourceType = type;
    c->IsCable = medium == 1 ? 1 : 0;
    XPM_ChannelInfo info;
    if (ReadInfo(next.major, next.minor, &info)) {
      c->InfoFlag = static_cast<uint8_t>(info.flags);
      c->IsDigital = info.digital != 0 ? 1 : 0;
      if (tuner) c->Name = kv::NewStringAnsi(info.name);
    }
    if (!tuner && w) {
      c->Name = w->GetSourceName(source);
      c->Label = w->GetSourceLabel(source);
    }
    if (!Append(c)) return count;
    at = next;
  }
}

int32_t ChannelListData::LoadFavoritesChannels0(int32_t ring) {
  StartFavorites(*this, T_LOAD_FAVORITES0, ring);
  int32_t count = 0;
  if (kv::LogFailedCall("XPM_GetNumSourcesInRing", XPM_GetNumSourcesInRing(ring, &count)) != XPM_OK || count <= 0)
    return 0;
  SkinBin::Wrapper* w = SkinWrapper();
  // Entries already listed: a ring that wraps round ends the walk there.
  std::set<std::pair<int64_t, int64_t>> seen;
  XPM_SourceRingEntry at{-1, 1, -1, -1};
  for (;;) {
    XPM_SourceRingEntry next{};
    const int32_t status = XPM_GetNextSource(ring, at.source, at.flag, at.major, at.minor, &next);
    if (status != XPM_OK) {
      EndOfWalk("XPM_GetNextSource", status);
      return status == XPM_ERR_END_OF_LIST ? XPM_ERR_END_OF_LIST : count;
    }
    if (!seen.insert({Key(next.source, next.flag), Key(next.major, next.minor)}).second) return count;
    ChannelData* c = NewEntry(next.major, next.minor);
    c->SourceId = next.source;
    c->IsCable = static_cast<uint8_t>(next.flag);
    int32_t type = 0;
    kv::LogFailedCall("XPM_GetSourceType", XPM_GetSourceType(next.source, &type));
    c->SourceType = type;
    XPM_ChannelInfo info;
    if (type == Constants::XPM_SOURCE_TYPE_RF_TUNER) {
      if (ReadInfo(next.major, next.minor, &info)) {
        c->Name = kv::NewStringAnsi(info.name);
        c->InfoFlag = static_cast<uint8_t>(info.flags);
        c->IsDigital = info.digital != 0 ? 1 : 0;
      }
    } else if (w) {
      c->Name = w->GetSourceName(next.source);
      c->Label = w->GetSourceLabel(next.source);
    }
    if (!Append(c)) return count;
    at = next;
  }
}

int32_t ChannelListData::HandleSingleScanEvent(Core::Event* event) {
  // The numbers listed before this step: the step overwrites those entries.
  std::set<int64_t> before;
  for (int32_t i = 0; i < GetStoredCount(); ++i)
    if (ChannelData* c = GetStored(i)) before.insert(Key(c->Major, c->Minor));
  NewCount = 0;
  Count = 0;
  auto* scan = kv::Cast<Events::XPM_EVENT_CHANNEL_SCAN_PROGRESS>(event);
  if (!scan) return Count;
  ScanPercent = scan->Percent;
  const int32_t found = std::min(std::max(scan->Found, 0), Events::XPM_EVENT_CHANNEL_SCAN_PROGRESS::kMaxChannels);
  for (int32_t i = 0; i < found; ++i) {
    const Events::ScanChannel& ch = scan->Channels[i];
    ChannelData* c = NewEntry(ch.Major, ch.Minor);
    c->ScanValue = scan->Value1;
    c->ScanChannel = static_cast<double>(scan->PhysicalChannel);
    c->IsDigital = ch.Minor > 0 ? 1 : 0;
    c->ScanFound = 1;
    XPM_ChannelInfo info;
    if (!ReadInfo(ch.Major, ch.Minor, &info) || info.excluded) continue;
    c->Name = kv::NewStringAnsi(info.name);
    c->IsNew = 1;
    if (c->IsDigital)
      ++DigitalCount;
    else
      ++AnalogCount;
    if (c->ScanValue >= kHighScanValue) ++HighValueCount;
    if (before.count(Key(ch.Major, ch.Minor)))
      c->IsNew = 0;
    else
      ++NewCount;
    if (!Append(c)) break;
  }
  return Count;
}

}  // namespace SkinBin
