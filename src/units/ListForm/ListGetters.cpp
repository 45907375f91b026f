#include "units/ListForm/ListGetters.h"

#include <array>

#include "units/Bitmaps/ListBitmaps.h"
#include "units/ListForm/CBChannelLists.h"
#include "units/ListForm/CBLists.h"
#include "units/ListForm/ChannelLists.h"
#include "units/ListForm/InputLists.h"
#include "units/ListForm/OptionLists.h"

namespace ListForm {

namespace {

struct GetterEntry {
  const kv::Class* cls;
  ItemGetter getter;
};

// In the order the kinds are numbered; the guide, recording, rating,
// access-point and media kinds join with their lists.
const std::array<GetterEntry, 15>& Table() {
  static const std::array<GetterEntry, 15> table{{
      {&ExternalInputList::StaticClass(), &GetInputItemData},
      {&CecInputList::StaticClass(), &GetCecInputItemData},
      {&MasterChannelList::StaticClass(), &GetMasterChannelItemData},
      {&ManualChannelList::StaticClass(), &GetManualChannelItemData},
      {&ChannelOptionList::StaticClass(), &GetChannelOptionItemData},
      {&ChannelLockList::StaticClass(), &GetChannelLockItemData},
      {&InputLabelingList::StaticClass(), &GetInputLabelingItemData},
      {&CBListClass::StaticClass(), &GetBrowserItemData},
      {&CBInputList::StaticClass(), &GetInputBrowserItemData},
      {&CBChannelList::StaticClass(), &GetChannelBrowserItemData},
      {&CBCECList::StaticClass(), &GetCECBrowserItemData},
      {&CBHistoryList::StaticClass(), &GetHistoryBrowserItemData},
      {&CBFavoritesList::StaticClass(), &GetFavBrowserItemData},
      {&OptionList::StaticClass(), &GetOptionItemData},
      {&SystemInfoList::StaticClass(), &GetSystemInfoItemData},
  }};
  return table;
}

}  // namespace

ItemGetter FindItemGetter(const kv::Class* cls) {
  for (const GetterEntry& e : Table())
    if (e.cls == cls) return e.getter;
  return nullptr;
}

const Resources::BitmapId* const* SourceIconIds() {
  static const Resources::BitmapId* const ids[10] = {
      &Bitmaps::InputListSource0, &Bitmaps::InputListSource1, &Bitmaps::InputListSource2, &Bitmaps::InputListSource3,
      &Bitmaps::InputListSource4, &Bitmaps::InputListSource5, &Bitmaps::InputListSource6, &Bitmaps::InputListSource7,
      &Bitmaps::InputListSource8, &Bitmaps::InputListSource9};
  return ids;
}

}  // namespace ListForm
