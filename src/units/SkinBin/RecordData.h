// The recording records of the skin: SkinBin::ScheduledRecordData (one
// scheduled recording), SkinBin::RecordedShowData (one recorded show), and
// the two caches that the recording lists read, SkinBin::DB_ScheduledInfo
// (40 places) and SkinBin::DB_RecordedInfo (1000 places). A cache stops at
// its capacity and says so in the log. The recorded-show cache holds the
// database's id list and reads a show when it is first asked for, so a list
// over many recordings reads only the rows it shows.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/member.h"
#include "runtime/object.h"
#include "runtime/string.h"
#include "units/Structures/LocalTime.h"

namespace SkinBin {

inline constexpr int32_t MAX_SCHEDULED_INFO = 40;
inline constexpr int32_t MAX_RECORDED_INFO = 1000;

// Status words of scheduled and recorded shows: the recording status codes
// the lists show (a waiting show "will record").
inline constexpr int32_t SHOW_STATUS_NONE = 0;  // the programme is not scheduled
inline constexpr int32_t SHOW_STATUS_RECORDING = 1;
inline constexpr int32_t SHOW_STATUS_DONE = 2;
inline constexpr int32_t SHOW_STATUS_STOPPED = 3;
inline constexpr int32_t SHOW_STATUS_WAITING = 18;

class ScheduledRecordData : public kv::Object {
  KV_CLASS(SkinBin, ScheduledRecordData, kv::Object)
 public:
  ScheduledRecordData() = default;

  // The scheduler's words, in record order.
  uint8_t Flag = 0;
  int32_t Id = 0;       // the scheduler's record id
  int32_t TimerId = 0;  // the timer (0-31) that records it
  int32_t Duration = 0;
  int32_t Tuner = 0;
  int32_t Major = 0;
  int32_t Minor = 0;
  int32_t MapId = 0;  // the word after the channel
  kv::Member<Structures::LocalTime> StartTime;
  int32_t DayOfWeek = 0;  // repeat days, bit 0 Sunday
  int32_t Repeat1 = 0;    // the repeat type: 0 none, 1 to 4
  int32_t Repeat2 = 0;
  int32_t Repeat3 = 0;
  int32_t Repeat4 = 0;
  // What the recording lists show.
  kv::String Title;
  kv::String EventTitle;
  kv::String Description;
  uint8_t EventFlag = 0;  // a guide programme stands behind it
  int32_t Rating = 0;
  int32_t Status = SHOW_STATUS_NONE;
  kv::Member<Structures::LocalTime> EventStartTime;
  int32_t EventDuration = 0;
};

class RecordedShowData : public kv::Object {
  KV_CLASS(SkinBin, RecordedShowData, kv::Object)
 public:
  RecordedShowData() = default;

  kv::String Title;
  kv::Member<Structures::LocalTime> StartTime;
  int32_t Duration = 0;  // seconds
  kv::Member<Structures::LocalTime> EventStartTime;
  int32_t EventDuration = 0;
  kv::String Description;
  kv::String SecondText;
  uint8_t EventFlag = 0;
  uint8_t HasEventInfo = 0;
  int32_t Rating = 0;
  int32_t RecordId = 0;
  int32_t Major = 0;
  int32_t Minor = 0;
  int32_t TunerId = 0;
  int32_t MapId = 0;
  kv::String FilePath;
  int32_t Status = 0;  // 1 recording, 2 done
};

class DB_ScheduledInfo : public kv::Object {
  KV_CLASS(SkinBin, DB_ScheduledInfo, kv::Object)
 public:
  DB_ScheduledInfo() = default;

  // Reloads the cache from the scheduler (RecordLoaders.cpp): first drops
  // the shows that have ended, then reads at most `count` shows in the
  // scheduler's order, stopping with a log line once the 40 places are
  // taken.
  void GetEventInfoByCount(int32_t count);
  int32_t GetNumEvents() const { return static_cast<int32_t>(entries_.size()); }
  // Entry i; null outside 0..GetNumEvents()-1.
  ScheduledRecordData* GetEntry(int32_t i) const;
  // Appends in the scheduler's order. False (and a log line) for null or
  // once the 40 places are taken.
  bool Add(ScheduledRecordData* entry);
  void Clear() { entries_.clear(); }

 private:
  kv::MemberVector<ScheduledRecordData> entries_;
};

class DB_RecordedInfo : public kv::Object {
  KV_CLASS(SkinBin, DB_RecordedInfo, kv::Object)
 public:
  DB_RecordedInfo() = default;

  // Reloads the cache from the recording database's id list
  // (RecordLoaders.cpp), in its order, keeping the first 1000 ids with a log
  // line for the rest. The shows themselves are read by GetEntry.
  void GetEventInfoByCount();
  int32_t GetNumEvents() const { return static_cast<int32_t>(ids_.size()); }
  // Entry i, read from the database the first time it is asked for; null
  // outside 0..GetNumEvents()-1 or when the show can no longer be read
  // (deleted since the reload; the failed call is logged).
  RecordedShowData* GetEntry(int32_t i) const;
  // Appends a show read already. False (and a log line) for null or once the
  // 1000 places are taken.
  bool Add(RecordedShowData* entry);
  void Clear();

 private:
  // Reads show i of the id list into its slot (RecordLoaders.cpp).
  RecordedShowData* ReadEntry(int32_t i) const;

  std::vector<int32_t> ids_;
  // Slot i: show i once read, null before.
  mutable kv::MemberVector<RecordedShowData> entries_;
};

}  // namespace SkinBin
