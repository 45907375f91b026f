#include "units/SkinBin/ChannelListData.h"

#include <algorithm>

#include "units/Core/Log.h"
#include "units/Wrapper/Wrapper.h"

namespace SkinBin {

KV_REGISTER_CLASS(SkinBin::ChannelData);
KV_REGISTER_CLASS(SkinBin::ChannelListData);
KV_REGISTER_CLASS(SkinBin::VirtualChannels);

int32_t ChannelListData::GetChannelIndexInTable(int32_t major, int32_t minor) const {
  // The numbers are set in every entry: nothing needs to be read.
  const int32_t n = std::min(Count, GetStoredCount());
  for (int32_t i = 0; i < n; ++i) {
    ChannelData* c = entries_[static_cast<size_t>(i)];
    if (c && c->Major == major && c->Minor == minor) return i;
  }
  return -1;
}

int32_t ChannelListData::GetTimerChannelNum(int32_t i) const {
  if (i < 0 || i >= std::min(Count, GetStoredCount())) return -1;
  const ChannelData* c = entries_[static_cast<size_t>(i)];
  if (!c) return -1;
  return ::Wrapper::Wrapper::UniteChannelNum(c->Major, c->Minor < 0 ? 0 : c->Minor);
}

int32_t ChannelListData::GetIndexOfTimerChannelNum(int32_t number) const {
  const int32_t major = ::Wrapper::Wrapper::SplitChannelNum(number, true);
  const int32_t minor = ::Wrapper::Wrapper::SplitChannelNum(number, false);
  const int32_t n = std::min(Count, GetStoredCount());
  for (int32_t i = 0; i < n; ++i) {
    const ChannelData* c = entries_[static_cast<size_t>(i)];
    if (c && c->Major == major && (c->Minor == minor || (minor == 0 && c->Minor < 0))) return i;
  }
  return -1;
}

ChannelData* ChannelListData::GetChannel(int32_t i) const {
  if (i < 0 || i >= Count || static_cast<size_t>(i) >= entries_.size()) return nullptr;
  if (static_cast<size_t>(i) < unread_.size() && unread_[static_cast<size_t>(i)]) ReadEntry(i);
  return entries_[static_cast<size_t>(i)];
}

ChannelData* ChannelListData::GetStored(int32_t i) const {
  if (i < 0 || static_cast<size_t>(i) >= entries_.size()) return nullptr;
  return entries_[static_cast<size_t>(i)];
}

bool ChannelListData::Append(ChannelData* entry) {
  if (!entry) {
    Core::LogError("SkinBin::ChannelListData::Append: null entry refused");
    return false;
  }
  if (Count >= MAX_CHANNEL_TABLE_ENTRIES) {
    Core::LogError("SkinBin::ChannelListData: table full at %i entries, channel %i.%i dropped",
                   {MAX_CHANNEL_TABLE_ENTRIES, entry->Major, entry->Minor});
    return false;
  }
  if (Count < 0) Count = 0;
  const auto at = static_cast<size_t>(Count);
  if (at < entries_.size())
    entries_.set(at, entry);
  else
    entries_.push_back(entry);
  if (at < unread_.size()) unread_[at] = 0;
  ++Count;
  return true;
}

void ChannelListData::Clear() {
  entries_.clear();
  unread_.clear();
  Count = 0;
  ScanPercent = 0;
  AnalogCount = 0;
  DigitalCount = 0;
  HighValueCount = 0;
  NewCount = 0;
}

VirtualChannels::Pair VirtualChannels::Get(int32_t i) const {
  if (i < 0 || i >= count_) return {};
  return pairs_[static_cast<size_t>(i)];
}

bool VirtualChannels::Add(int32_t major, int32_t minor) {
  if (count_ >= MAX_VIRTUAL_CHANNELS) {
    Core::LogError("SkinBin::VirtualChannels: full at %i pairs, channel %i.%i dropped",
                   {MAX_VIRTUAL_CHANNELS, major, minor});
    return false;
  }
  pairs_[static_cast<size_t>(count_++)] = {major, minor};
  return true;
}

}  // namespace SkinBin
