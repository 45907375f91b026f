#include "units/SkinBin/HistoryAgent.h"

#include "units/Core/Log.h"

namespace SkinBin {

KV_REGISTER_CLASS(SkinBin::HistoryAgent);

using namespace Structures;

HistoryAgent::HistoryAgent() {
  timer_.OnSetPeriod(0);
  timer_.OnSetBegin(kHistoryDelay);
  timer_.OnTrigger = kv::MakeSlot(this, &HistoryAgent::InsertHistorySlot);
}

namespace {
bool IsChannel(int32_t type) { return type == HISTORY_ITEM_TYPE_RF1 || type == HISTORY_ITEM_TYPE_RF2; }
// An analogue channel's minor is -2 in the set's map and 0 where its number
// was typed without a sub-channel; a digital channel's minor is 1 or more.
bool SameMinor(int32_t a, int32_t b) { return a == b || (a <= 0 && b <= 0); }
}  // namespace

bool HistoryAgent::Matches(HistoryInfo* a, HistoryInfo* b) {
  if (!a || !b || a->Type != b->Type) return false;
  switch (a->Type) {
    case HISTORY_ITEM_TYPE_RF1:
    case HISTORY_ITEM_TYPE_RF2: {
      HistoryChannelInfo* x = a->ChannelInfo.get();
      HistoryChannelInfo* y = b->ChannelInfo.get();
      if (!x || !y) return x == y;
      if (x->AntCableIn != y->AntCableIn || x->SourceId != y->SourceId) return false;
      VirtualChannel* p = x->Channel.get();
      VirtualChannel* q = y->Channel.get();
      if (!p || !q) return p == q;
      return p->Major == q->Major && SameMinor(p->Minor, q->Minor);
    }
    case HISTORY_ITEM_TYPE_NONRF: {
      HistorySourceInfo* x = a->SourceInfo.get();
      HistorySourceInfo* y = b->SourceInfo.get();
      return x && y ? x->SourceId == y->SourceId : x == y;
    }
    case HISTORY_ITEM_TYPE_CEC: {
      HistoryCECInfo* x = a->CECInfo.get();
      HistoryCECInfo* y = b->CECInfo.get();
      return x && y ? x->LogicalAddress == y->LogicalAddress : x == y;
    }
    case HISTORY_ITEM_TYPE_PHOTO: {
      HistoryPhotoInfo* x = a->PhotoInfo.get();
      HistoryPhotoInfo* y = b->PhotoInfo.get();
      return x && y ? (x->Title == y->Title && x->Id == y->Id) : x == y;
    }
    case HISTORY_ITEM_TYPE_MUSIC: {
      HistoryMusicInfo* x = a->MusicInfo.get();
      HistoryMusicInfo* y = b->MusicInfo.get();
      return x && y ? (x->Title == y->Title && x->Id == y->Id) : x == y;
    }
    default:
      return false;
  }
}

void HistoryAgent::AddHistory(HistoryInfo* entry, bool delayed) {
  if (!entry) {
    Core::LogError("SkinBin::HistoryAgent: no entry to add");
    return;
  }
  if (!delayed) {
    Insert(entry);
    return;
  }
  pending_ = entry;
  timer_.Activate();
}

void HistoryAgent::InsertHistorySlot(kv::Object*) {
  timer_.OnSetEnabled(false);
  HistoryInfo* entry = pending_.get();
  pending_ = nullptr;
  if (entry) Insert(entry);
}

void HistoryAgent::Insert(HistoryInfo* entry) {
  RemoveIf([entry](HistoryInfo* e) { return e == entry || Matches(e, entry); });
  entries_.push_back(entry);
  while (entries_.size() > static_cast<size_t>(MAX_ITEMS_IN_HISTORY_LIST)) entries_.erase(0);
}

HistoryInfo* HistoryAgent::GetHistory(int32_t n) const {
  if (n < 1 || n > GetHistoryNum()) return nullptr;
  return entries_[static_cast<size_t>(n - 1)];
}

template <class Pred>
void HistoryAgent::RemoveIf(Pred pred) {
  for (size_t i = entries_.size(); i-- > 0;)
    if (pred(entries_[i])) entries_.erase(i);
  if (pending_ && pred(pending_.get())) {
    pending_ = nullptr;
    timer_.OnSetEnabled(false);
  }
}

void HistoryAgent::DeleteSourceHistoryByType(int32_t kind) {
  RemoveIf([kind](HistoryInfo* e) { return e->Type == kind; });
}

void HistoryAgent::DeleteRFChannelHistory(int32_t antCable) {
  RemoveIf([antCable](HistoryInfo* e) {
    return IsChannel(e->Type) && e->ChannelInfo && e->ChannelInfo->AntCableIn == antCable;
  });
}

void HistoryAgent::DeleteAllHistory() {
  RemoveIf([](HistoryInfo*) { return true; });
}

}  // namespace SkinBin
