// SkinBin::ChannelListData: the channel table behind the channel lists, the
// programme guide, the timer editor, the favourites and the scan-progress
// screen, with its entry class SkinBin::ChannelData; SkinBin::VirtualChannels:
// the channel numbers of one physical channel.
//
// Both tables are fixed-size: an entry beyond the capacity is refused with a
// log line and the table keeps what it holds; a loader stops there.
//
// The loaders (ChannelListLoaders.cpp) walk the middleware's channels from
// (-1, -1) until the walk fails, appending one entry per channel from index
// 0 (Count restarts at 0; slots past Count keep an earlier fill until
// overwritten). A walk also ends when it comes back to a channel it has
// already listed, so a ring that wraps round cannot run for ever.
//   master(flag)       ring 0, select 20 (flag) / 4: name, number, flags,
//                      lock, digital, the physical channel in Extra0
//   guide(flag)        ring 0, select 21 / 5: name, number, flags, lock,
//                      digital
//   timer(a, b)        walk (a, b) = the timer's source and map-id flags,
//                      ring 0, select 21: numbers only
//   single(physical)   the virtual channels of one physical channel,
//                      excluded ones left out
//   favourites(ring)   the channel ring `ring`, select 4, with the input
//   favourites0(ring)  the source ring `ring` (XPM_GetNextSource)
// An entry whose channel information cannot be read takes the name and
// flags of the last entry that could (the default channel name and flags 1
// before the first).
//
// The master walk reads numbers only: the rest of an entry (information,
// lock, ring) is read from the middleware when GetChannel first asks for
// it, so a list over a large map reads only the rows it shows. An entry
// read that way takes the same values the walk would have given it,
// including the last readable entry's name and flags.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "runtime/member.h"
#include "runtime/object.h"
#include "runtime/string.h"
#include "units/Structures/ChannelData.h"

namespace Core {
class Event;
}

namespace SkinBin {

inline constexpr int32_t MAX_CHANNEL_TABLE_ENTRIES = 4096;
inline constexpr int32_t MAX_VIRTUAL_CHANNELS = 200;

// Kinds of channel table (TableType).
inline constexpr int32_t CHANNEL_TABLE_MASTER = 1;
inline constexpr int32_t CHANNEL_TABLE_FAVORITES = 2;
inline constexpr int32_t CHANNEL_TABLE_GUIDE = 3;

class ChannelData : public Structures::ChannelData {
  KV_CLASS(SkinBin, ChannelData, Structures::ChannelData)
 public:
  ChannelData() = default;

  uint8_t IsNew = 0;        // found by the last scan step and not listed before
  double ScanChannel = 0;   // the scan-progress event's channel word
  int32_t ScanValue = 0;    // the scan-progress event's second word
  uint8_t ScanFound = 0;    // made from scan results
  uint8_t IsCable = 1;      // favourites: the antenna/cable input is cable
  int32_t SourceId = 0;     // favourites: the input the entry belongs to
  int32_t SourceType = 0;
  kv::String Label;         // favourites: the source's label
  int32_t TimerIndex = -1;
  int32_t AltMinor = -1;        // the alternative minor number; -1 when the middleware gives none
  uint8_t InRing = 1;           // in ring 0 (not skipped)
  int32_t PhysicalChannel = 0;  // the physical channel that carries it
};

class ChannelListData : public kv::Object {
  KV_CLASS(SkinBin, ChannelListData, kv::Object)
 public:
  ChannelListData() = default;

  // The loaders (see above). Each answers Count, except as noted.
  int32_t LoadMasterChannelTable(bool flag);
  int32_t LoadGuideChannelTable(bool flag);
  // One channel the guide's walk leaves out (the channel watched, though the
  // viewer skipped it) put into the guide table at its place in number
  // order, read in full; false when the set has no such channel or the
  // table is full.
  bool InsertGuideChannel(int32_t major, int32_t minor);
  int32_t LoadTimerChannelTable(int32_t a, int32_t b);
  // Answers 1.
  int32_t LoadSingleChannelTable(int32_t physical);
  // Answer 11 when the walk ended at the end of the ring, else the ring's
  // channel count (0 for an empty or unreadable ring).
  int32_t LoadFavoritesChannels(int32_t ring);
  int32_t LoadFavoritesChannels0(int32_t ring);
  // One step of the channel scan: the table becomes the channels found by
  // that step (Events::XPM_EVENT_CHANNEL_SCAN_PROGRESS; other events leave an
  // empty table). An entry is new unless the table listed the same number
  // before this step. Answers Count.
  int32_t HandleSingleScanEvent(Core::Event* event);

  int32_t GetNumChannels() const { return Count; }
  int32_t GetTableType() const { return TableType; }
  // Index of the first entry numbered (major, minor); -1 when none.
  int32_t GetChannelIndexInTable(int32_t major, int32_t minor) const;
  // Entry i, read in full; null outside 0..Count-1.
  ChannelData* GetChannel(int32_t i) const;
  // The channel number (major, minor as Wrapper::UniteChannelNum joins them)
  // a timer keeps for entry i; -1 outside 0..Count-1. A timer with a
  // negative minor number has no channel, so an analogue entry (no minor
  // number of its own, listed negative) is kept with minor 0, which the set
  // tunes as the same channel.
  int32_t GetTimerChannelNum(int32_t i) const;
  // Index of the entry a timer's channel number stands for (an analogue
  // entry also for minor 0); -1 when none.
  int32_t GetIndexOfTimerChannelNum(int32_t number) const;

  // Appends `entry` at Count. False (and a log line) for null or when the
  // table is full.
  bool Append(ChannelData* entry);
  // Empties the table and zeroes the scan counters.
  void Clear();
  // The entries of the last fills, also those past Count that a new fill
  // has not overwritten yet (the scan step compares against them): slot i
  // for 0 <= i < GetStoredCount(), else null. Its numbers are always set;
  // a master entry not yet asked for through GetChannel holds nothing else.
  int32_t GetStoredCount() const { return static_cast<int32_t>(entries_.size()); }
  ChannelData* GetStored(int32_t i) const;

  int32_t ScanPercent = 0;
  int32_t Count = 0;
  int32_t AnalogCount = 0;
  int32_t DigitalCount = 0;
  int32_t HighValueCount = 0;  // entries whose ScanValue is 60 or more
  int32_t TableType = 0;
  int32_t NewCount = 0;

 private:
  // Reads the rest of master entry i (see GetChannel).
  void ReadEntry(int32_t i) const;

  // Slot i holds entry i for i < Count; slots past Count keep the entries of
  // an earlier fill (the scan step compares against them) until overwritten.
  kv::MemberVector<ChannelData> entries_;
  // Per slot: 1 while the master walk's entry holds its numbers only.
  mutable std::vector<uint8_t> unread_;
};

class VirtualChannels : public kv::Object {
  KV_CLASS(SkinBin, VirtualChannels, kv::Object)
 public:
  VirtualChannels() = default;

  struct Pair {
    int32_t Major = 0;
    int32_t Minor = 0;
  };

  int32_t GetCount() const { return count_; }
  // Pair i; (0, 0) outside 0..GetCount()-1.
  Pair Get(int32_t i) const;
  // False (and a log line) once MAX_VIRTUAL_CHANNELS pairs are held.
  bool Add(int32_t major, int32_t minor);
  void Clear() { count_ = 0; }

 private:
  std::array<Pair, MAX_VIRTUAL_CHANNELS> pairs_{};
  int32_t count_ = 0;
};

}  // namespace SkinBin
