#include "units/ListForm/ListGetters.h"

#include <iterator>

#include "units/Bitmaps/ListBitmaps.h"
#include "units/ListForm/AccessPointLists.h"
#include "units/ListForm/CBChannelLists.h"
#include "units/ListForm/CBLists.h"
#include "units/ListForm/ChannelLists.h"
#include "units/ListForm/GridView.h"
#include "units/ListForm/GuideLists.h"
#include "units/ListForm/InputLists.h"
#include "units/ListForm/MediaLists.h"
#include "units/ListForm/OptionLists.h"
#include "units/ListForm/RatingLists.h"
#include "units/ListForm/RecordLists.h"

namespace ListForm {

namespace {

struct GetterEntry {
  const kv::Class* cls;
  ItemGetter getter;
};

// In the order the kinds are numbered.
const GetterEntry* Table(size_t* count) {
  static const GetterEntry table[] = {
      {&ExternalInputList::StaticClass(), &GetInputItemData},
      {&CecInputList::StaticClass(), &GetCecInputItemData},
      {&MasterChannelList::StaticClass(), &GetMasterChannelItemData},
      {&ManualChannelList::StaticClass(), &GetManualChannelItemData},
      {&ChannelOptionList::StaticClass(), &GetChannelOptionItemData},
      {&ChannelLockList::StaticClass(), &GetChannelLockItemData},
      {&MediumDeviceList::StaticClass(), &GetMediumItemData},
      {&MediaContentList::StaticClass(), &GetMediaListItemData},
      {&MediaControllerList::StaticClass(), &GetMediaControllerItemData},
      {&MediaServerList::StaticClass(), &GetMediaServerItemData},
      {&InputLabelingList::StaticClass(), &GetInputLabelingItemData},
      {&AccessPointList::StaticClass(), &GetApItemData},
      {&KXDAccessPointList::StaticClass(), &GetKXDApItemData},
      {&PhotoGridView::StaticClass(), &GetMediaListItemData},
      {&CBListClass::StaticClass(), &GetBrowserItemData},
      {&CBInputList::StaticClass(), &GetInputBrowserItemData},
      {&CBChannelList::StaticClass(), &GetChannelBrowserItemData},
      {&CBCECList::StaticClass(), &GetCECBrowserItemData},
      {&CBHistoryList::StaticClass(), &GetHistoryBrowserItemData},
      {&CBFavoritesList::StaticClass(), &GetFavBrowserItemData},
      {&RRTLevelList::StaticClass(), &GetRRTLevelItemData},
      {&RRTDimensionList::StaticClass(), &GetRRTDimensionItemData},
      {&KXDRRTLevelList::StaticClass(), &GetRRTLevelItemData},
      {&KXDRRTDimensionList::StaticClass(), &GetRRTDimensionItemData},
      {&BGMList::StaticClass(), &GetBgmListItemData},
      {&EPGChannelList::StaticClass(), &GetEPGChannelItemData},
      {&EPGProgramList::StaticClass(), &GetEPGProgramItemData},
      {&OptionList::StaticClass(), &GetOptionItemData},
      {&MiniGuideList::StaticClass(), &GetMiniGuideItemData},
      {&SystemInfoList::StaticClass(), &GetSystemInfoItemData},
      {&RecordedShowsList::StaticClass(), &GetRecordedShowItemData},
      {&ScheduledRecordList::StaticClass(), &GetScheduledRecordItemData},
  };
  *count = std::size(table);
  return table;
}

}  // namespace

ItemGetter FindItemGetter(const kv::Class* cls) {
  size_t count = 0;
  const GetterEntry* table = Table(&count);
  for (size_t k = 0; k < count; ++k)
    if (table[k].cls == cls) return table[k].getter;
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
