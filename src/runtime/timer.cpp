#include "runtime/timer.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "runtime/clock.h"
#include "runtime/collector.h"
#include "runtime/runtime.h"

namespace kv {

namespace {
std::vector<TimerEntry*> g_entries;
uint64_t g_seq = 0;
}  // namespace

void TimerEntry::Schedule(int64_t begin, int64_t period) {
  AssertGuiThread();
  detail::CheckNotInSweep("A timer's Schedule");
  if (begin < 0) begin = 0;
  if (period < 0) period = 0;
  due_ = GetClock().Now() + begin;
  period_ = period;
  seq_ = ++g_seq;
  if (!scheduled_) {
    scheduled_ = true;
    index_ = static_cast<int32_t>(g_entries.size());
    g_entries.push_back(this);
  }
}

void TimerEntry::Cancel() {
  if (!scheduled_) return;
  AssertGuiThread();
  scheduled_ = false;
  size_t i = static_cast<size_t>(index_);
  TimerEntry* last = g_entries.back();
  g_entries[i] = last;
  last->index_ = static_cast<int32_t>(i);
  g_entries.pop_back();
  index_ = -1;
}

void TimerRegistry::RunExpired(int64_t now) {
  AssertGuiThread();
  struct Due {
    TimerEntry* e;
    int64_t due;
    uint64_t seq;
  };
  const uint64_t stepSeq = g_seq;
  std::vector<Due> due;
  for (TimerEntry* e : g_entries)
    if (e->due_ <= now && e->seq_ <= stepSeq) due.push_back({e, e->due_, e->seq_});
  if (due.empty()) return;
  std::sort(due.begin(), due.end(), [](const Due& a, const Due& b) {
    return a.due != b.due ? a.due < b.due : a.seq < b.seq;
  });
  for (const Due& d : due) {
    TimerEntry* e = d.e;
    // Skip entries cancelled or rescheduled by an earlier callback of this step.
    // Objects are freed only by the collector, never during this step, so the
    // entry's memory is still valid here.
    if (!e->scheduled_ || e->seq_ != d.seq) continue;
    if (e->period_ > 0) {
      int64_t next = e->due_ + e->period_;
      if (next <= now) next = now + e->period_;
      e->due_ = next;
    } else {
      e->Cancel();
    }
    e->cb_(e->owner_);
  }
}

int64_t TimerRegistry::NextDue() {
  int64_t best = -1;
  for (TimerEntry* e : g_entries)
    if (best < 0 || e->due_ < best) best = e->due_;
  return best;
}

bool TimerRegistry::AnyScheduled() { return !g_entries.empty(); }
size_t TimerRegistry::Count() { return g_entries.size(); }

void TimerRegistry::ForEachOwner(void (*fn)(Object*, void*), void* ctx) {
  for (TimerEntry* e : g_entries) fn(e->owner_, ctx);
}

void TimerRegistry::CancelIn(const char* begin, const char* end) {
  auto inside = [begin, end](const void* p) {
    const char* c = static_cast<const char*>(p);
    return c >= begin && c < end;
  };
  for (size_t i = g_entries.size(); i-- > 0;) {
    TimerEntry* e = g_entries[i];
    if (inside(e) || inside(e->owner_)) e->Cancel();
  }
}

void TimerRegistry::CancelInBlocks(const std::vector<std::pair<const char*, const char*>>& blocks) {
  if (blocks.empty()) return;
  auto inside = [&blocks](const void* p) {
    const char* c = static_cast<const char*>(p);
    auto it = std::upper_bound(blocks.begin(), blocks.end(), c,
                               [](const char* v, const std::pair<const char*, const char*>& b) { return v < b.first; });
    return it != blocks.begin() && c < std::prev(it)->second;
  };
  // Cancel moves the last entry into the freed place: walking from the end
  // meets every entry once.
  for (size_t i = g_entries.size(); i-- > 0;) {
    TimerEntry* e = g_entries[i];
    if (inside(e) || inside(e->owner_)) e->Cancel();
  }
}

void TimerRegistry::ResetForTests() {
  for (TimerEntry* e : g_entries) {
    e->scheduled_ = false;
    e->index_ = -1;
  }
  g_entries.clear();
}

}  // namespace kv

