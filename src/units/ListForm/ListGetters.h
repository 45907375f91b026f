// The table from list class to item getter: each list kind registers the
// function that builds the courier of item i for it. The data source looks
// a list up by its exact class; a class not in the table (a subclass of a
// kind included) gets no data.
#pragma once

#include <cstdint>

#include "runtime/object.h"
#include "units/Resources/Resources.h"

namespace ListForm {

class ListClass;
class ListDataSource;

using ItemGetter = kv::Object* (*)(ListDataSource* source, ListClass* list, int32_t i);

// The getter of exactly that class, or null.
ItemGetter FindItemGetter(const kv::Class* cls);
// The ten index images of the input rows, InputListSource0 to 9.
const Resources::BitmapId* const* SourceIconIds();

// Getters of the kinds, one per row of the table.
kv::Object* GetInputItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetCecInputItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetMasterChannelItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetManualChannelItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetChannelOptionItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetChannelLockItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetInputLabelingItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetBrowserItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetInputBrowserItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetChannelBrowserItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetCECBrowserItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetHistoryBrowserItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetFavBrowserItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetOptionItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetSystemInfoItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetEPGChannelItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetEPGProgramItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetMediumItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetMediaListItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetMediaControllerItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetMediaServerItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetBgmListItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetApItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetKXDApItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetRRTLevelItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetRRTDimensionItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetScheduledRecordItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetRecordedShowItemData(ListDataSource* source, ListClass* list, int32_t i);
kv::Object* GetMiniGuideItemData(ListDataSource* source, ListClass* list, int32_t i);

}  // namespace ListForm
