#include "units/SkinBin/RecordData.h"

#include "units/Core/Log.h"

namespace SkinBin {

KV_REGISTER_CLASS(SkinBin::ScheduledRecordData);
KV_REGISTER_CLASS(SkinBin::RecordedShowData);
KV_REGISTER_CLASS(SkinBin::DB_ScheduledInfo);
KV_REGISTER_CLASS(SkinBin::DB_RecordedInfo);

namespace {
// Appends to a cache of fixed capacity; refuses null and a full cache with a
// log line naming the cache.
template <class T>
bool AddCapped(kv::MemberVector<T>& entries, T* entry, int32_t capacity, const char* cache, int32_t id) {
  if (!entry) {
    Core::LogError("SkinBin::%s::Add: null entry refused", {cache});
    return false;
  }
  if (static_cast<int32_t>(entries.size()) >= capacity) {
    Core::LogError("SkinBin::%s: full at %i entries, record %i dropped", {cache, capacity, id});
    return false;
  }
  entries.push_back(entry);
  return true;
}

template <class T>
T* EntryAt(const kv::MemberVector<T>& entries, int32_t i) {
  if (i < 0 || static_cast<size_t>(i) >= entries.size()) return nullptr;
  return entries[static_cast<size_t>(i)];
}
}  // namespace

ScheduledRecordData* DB_ScheduledInfo::GetEntry(int32_t i) const { return EntryAt(entries_, i); }

bool DB_ScheduledInfo::Add(ScheduledRecordData* entry) {
  return AddCapped(entries_, entry, MAX_SCHEDULED_INFO, "DB_ScheduledInfo", entry ? entry->Id : 0);
}

RecordedShowData* DB_RecordedInfo::GetEntry(int32_t i) const {
  if (i < 0 || static_cast<size_t>(i) >= ids_.size()) return nullptr;
  if (RecordedShowData* read = entries_[static_cast<size_t>(i)]) return read;
  return ReadEntry(i);
}

bool DB_RecordedInfo::Add(RecordedShowData* entry) {
  if (!AddCapped(entries_, entry, MAX_RECORDED_INFO, "DB_RecordedInfo", entry ? entry->RecordId : 0)) return false;
  ids_.push_back(entry->RecordId);
  return true;
}

void DB_RecordedInfo::Clear() {
  ids_.clear();
  entries_.clear();
}

}  // namespace SkinBin
