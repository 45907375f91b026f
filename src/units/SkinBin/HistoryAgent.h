// SkinBin::HistoryAgent: the list of recently used channels, inputs, HDMI-CEC
// devices and media, oldest first, at most MAX_ITEMS_IN_HISTORY_LIST entries.
//
// AddHistory(entry, delayed): without delay the entry goes in at once; with
// delay it is kept pending and a one-shot 5000 ms timer puts it in, so a
// channel only counts once it was watched for five seconds (a newer delayed
// entry replaces a pending one and restarts the timer; zapping past a channel
// leaves no trace). Putting an entry in removes every entry it matches
// (channels: same antenna/cable flag, source and number; inputs: same
// source; CEC devices: same logical address; photo and music: same title and
// path), then appends it as the newest. When the list would hold more than
// 32 entries, the oldest is dropped.
//
// The deletes also drop a pending entry they match.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "units/Core/Timer.h"
#include "units/Structures/HistoryInfo.h"

namespace SkinBin {

inline constexpr int32_t MAX_ITEMS_IN_HISTORY_LIST = 32;
inline constexpr int32_t kHistoryDelay = 5000;

class HistoryAgent : public kv::Object {
  KV_CLASS(SkinBin, HistoryAgent, kv::Object)
 public:
  HistoryAgent();

  // Null is refused with a logged error.
  void AddHistory(Structures::HistoryInfo* entry, bool delayed);
  // Puts the pending entry in at once (the timer's slot).
  void InsertHistorySlot(kv::Object* sender = nullptr);
  int32_t GetHistoryNum() const { return static_cast<int32_t>(entries_.size()); }
  // Entry n, numbered from 1 (oldest); null outside 1..GetHistoryNum().
  Structures::HistoryInfo* GetHistory(int32_t n) const;
  Structures::HistoryInfo* GetPending() const { return pending_.get(); }

  // Removes every entry of one kind (HISTORY_ITEM_TYPE_*).
  void DeleteSourceHistoryByType(int32_t kind);
  // Removes the tuner channels of one medium (antCable: 1 cable, 0 antenna).
  void DeleteRFChannelHistory(int32_t antCable);
  void DeleteAllHistory();

  // True when the two entries stand for the same thing (see above).
  static bool Matches(Structures::HistoryInfo* a, Structures::HistoryInfo* b);

 private:
  void Insert(Structures::HistoryInfo* entry);
  template <class Pred>
  void RemoveIf(Pred pred);

  kv::MemberVector<Structures::HistoryInfo> entries_;
  kv::Member<Structures::HistoryInfo> pending_;
  Core::Timer timer_;
};

}  // namespace SkinBin
