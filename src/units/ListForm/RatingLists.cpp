#include "units/ListForm/RatingLists.h"

#include <algorithm>

#include "runtime/auto_object.h"
#include "runtime/text.h"
#include "strings/ListForm.h"
#include "strings/SkinBin.h"
#include "strings/Strings.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Constants/Constants.h"
#include "units/Core/Log.h"
#include "units/ListForm/ListContext.h"
#include "units/ListForm/ListGetters.h"
#include "units/MainApp/WrapperAuto.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/SkinBin/RatingData.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/SubSystem/State.h"
#include "units/SubSystem/SubSystemClass.h"

namespace ListForm {

KV_REGISTER_CLASS(ListForm::RRTLevelCourier);
KV_REGISTER_CLASS(ListForm::KXDRRTDimensionItem);
KV_REGISTER_CLASS(ListForm::KXDRRTLevelItem);
KV_REGISTER_CLASS(ListForm::KXDRRTDimensionList);
KV_REGISTER_CLASS(ListForm::KXDRRTLevelList);

namespace {

constexpr int32_t kDimensionRows = 8;
constexpr int32_t kLevelRows = 6;
constexpr int32_t kDimensionRowHeight = 28;
constexpr int32_t kLevelRowHeight = 32;

SkinBin::DynamicRatingData* Rating() {
  SkinBin::Wrapper* w = SkinWrapper();
  return w ? &w->DynamicRatingData : nullptr;
}

// The region the set keeps (0: none).
int32_t StoredRegion() {
  SkinBin::Wrapper* w = SkinWrapper();
  return w && w->PersistentData ? w->PersistentData->GetInteger(SkinBin::KEY_RATING_REGION) : 0;
}

// The dimension's name, or the unnamed text followed by its index.
kv::String DimensionName(const SkinBin::DynamicRatingData& d, int32_t dimension) {
  if (!d.DimensionName.Empty()) return d.DimensionName;
  return kv::ConcatString(kv::GetVariantOfString(UNNAMED_DIMENSION), kv::NewStringInt(dimension, 0));
}

// Shortens `list` by `step` for each row of `rows` it does not fill.
void ShrinkHeight(Core::View& list, int32_t rows, int32_t items, int32_t step) {
  if (items >= rows) return;
  const kv::Rect b = list.Bounds();
  list.OnSetBounds({b.x1, b.y1, b.x2, std::max(b.y1, b.y2 - step * (rows - items))});
}

}  // namespace

void StoreRatingBlock(SkinBin::DynamicRatingData& d, int32_t dimension, int32_t level, bool blocked) {
  d.SetRRTArray(dimension, level, blocked ? 1 : 0);
  if (!d.Graduated) return;
  if (blocked)
    for (int32_t l = level; l < d.LevelCount; ++l) d.SetRRTArray(dimension, l, 1);
  else
    for (int32_t l = 0; l < level; ++l) d.SetRRTArray(dimension, l, 0);
}

// --- Getters ---------------------------------------------------------------------

kv::Object* GetKXDRRTLevelItemData(ListDataSource* source, ListClass* /*list*/, int32_t i) {
  auto* c = kv::New<RRTLevelCourier>();
  c->ItemIndex = i;
  SkinBin::DynamicRatingData* d = Rating();
  if (!d) return c;
  d->SetRegionDimension(d->Region, source->Param);
  d->SetLevel(i);
  d->GetLevelInfo();
  c->Text = d->LevelAbbrev.Empty() ? kv::GetVariantOfString(Strings::SID_NONE) : d->LevelAbbrev;
  c->SecondName = d->LevelText;
  c->Block = static_cast<uint8_t>(d->GetRRTArray(source->Param, i) != 0 ? 1 : 0);
  return c;
}

kv::Object* GetKXDRRTDimensionItemData(ListDataSource* /*source*/, ListClass* /*list*/, int32_t i) {
  auto* c = kv::New<ListCourier>();
  c->ItemIndex = i;
  SkinBin::DynamicRatingData* d = Rating();
  if (!d) return c;
  d->SetRegionDimension(d->Region, i);
  d->GetDimensionInfo();
  c->Text = DimensionName(*d, i);
  return c;
}

// --- Rows -----------------------------------------------------------------------------

KXDRRTDimensionItem::KXDRRTDimensionItem() {
  OnSetBounds({0, 0, 250, kDimensionRowHeight});
  OnSetTextAlignH(0);
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::CECInputDialogButtonFocus));
}

void KXDRRTDimensionItem::Refresh() {
  ListItem::Refresh();
  TextView().OnSetBounds({8, 0, std::max(8, Bounds().W()), Bounds().H()});
}

KXDRRTLevelItem::KXDRRTLevelItem() { OnSetBounds({0, 0, 180, kLevelRowHeight}); }

void KXDRRTLevelItem::Refresh() {
  ParentalLocks::KXDRatingItem::Refresh();
  CheckView().OnSetBounds({3, 3, 31, 27});
  TextView().OnSetBounds({36, 0, std::max(36, Bounds().W()), Bounds().H()});
}

void KXDRRTLevelItem::SetData(kv::Object* data) {
  if (!data) return;
  auto* c = kv::Cast<RRTLevelCourier>(data);
  if (!c) {
    OnSetVisible(false);
    return;
  }
  OnSetText(c->Text);
  ItemIndex = c->ItemIndex;
  SecondName = c->SecondName;
  OnSetIsChecked(c->Block != 0);
}

kv::Object* KXDRRTLevelItem::GetData(kv::Object* data) {
  auto* c = kv::Cast<RRTLevelCourier>(data);
  if (!c) c = kv::New<RRTLevelCourier>();
  c->Text = OnGetText();
  c->ItemIndex = ItemIndex;
  c->SecondName = SecondName;
  c->Block = OnGetIsChecked() ? 1 : 0;
  return c;
}

// --- Lists --------------------------------------------------------------------------------

KXDRRTDimensionList::KXDRRTDimensionList() {
  MaxRows = kDimensionRows;
  ItemXOffset = 20;
  WrapAround = false;
  ItemClass = &KXDRRTDimensionItem::StaticClass();
  OnActivateOption = kv::MakeSlot(this, &KXDRRTDimensionList::DoActivate);
  OnSetBounds({0, 0, 290, 224});
}

void KXDRRTDimensionList::Initialize(Primitives::KeyRoutingParameter* param) {
  // The table covers the region's dimensions: read how many first.
  if (SkinBin::DynamicRatingData* d = Rating()) {
    d->SetRegionDimension(StoredRegion(), 0);
    d->GetRegionInfo();
    d->LoadRRTArray();
  }
  ListClass::Initialize(param);
  ShrinkHeight(*this, MaxRows, DataSource ? DataSource->Num : 0, ItemInterval + kDimensionRowHeight);
}

int32_t KXDRRTDimensionList::GetItemsNum() {
  SkinBin::DynamicRatingData* d = Rating();
  const int32_t region = StoredRegion();
  if (!d || region == 0) return 0;
  d->SetRegionDimension(region, 0);
  d->GetRegionInfo();
  return std::max(0, d->DimensionCount);
}

void KXDRRTDimensionList::DoActivate(kv::Object* sender) {
  auto* row = kv::Cast<KXDRRTDimensionItem>(sender);
  auto* dialog = kv::Cast<Primitives::KeyRoutingForm>(Owner());
  SubSystem::SubSystemClass* system = SubSystemOf(dialog);
  const kv::Class* levels = KV_LATE_CLASS("ParentalLocks::RRTLevelDialog");
  if (!row || !system || !levels) return;
  // A dialog opened from the menu runs on the menu's time-out.
  const bool fromMenu = dialog->TimeOutValue == 60000;
  auto* s = kv::New<SubSystem::State>();
  s->Class = levels;
  s->PrevState = kv::ClassOf(dialog);
  s->Param = SkinBin::UserRefInt::Make(row->ItemIndex,
                                       fromMenu ? Constants::MSG_FROM_MENUSYSTEM : Constants::MSG_FROM_NONMENUSYSTEM);
  system->ChangeState(s);
}

KXDRRTLevelList::KXDRRTLevelList() {
  MaxRows = kLevelRows;
  ItemXOffset = 20;
  ItemInterval = 6;
  WrapAround = false;
  ItemClass = &KXDRRTLevelItem::StaticClass();
  OnActivateOption = kv::MakeSlot(this, &KXDRRTLevelList::SetRatingBlock);
  OnSetBounds({0, 0, 220, 222});
}

void KXDRRTLevelList::Initialize(Primitives::KeyRoutingParameter* param) {
  ListClass::Initialize(param);
  if (DataSource) DataSource->Param = Dimension;
  ShrinkHeight(*this, MaxRows, DataSource ? DataSource->Num : 0, ItemInterval + kLevelRowHeight);
}

int32_t KXDRRTLevelList::GetItemsNum() {
  SkinBin::DynamicRatingData* d = Rating();
  if (!d || d->Region == 0) return 0;
  d->SetRegionDimension(d->Region, Dimension);
  d->GetDimensionInfo();
  return std::max(0, d->LevelCount);
}

void KXDRRTLevelList::SetRatingBlock(kv::Object* sender) {
  auto* row = kv::Cast<KXDRRTLevelItem>(sender);
  SkinBin::DynamicRatingData* d = Rating();
  if (!row || !d) return;
  d->SetRegionDimension(d->Region, Dimension);
  d->GetDimensionInfo();
  StoreRatingBlock(*d, Dimension, row->ItemIndex, row->OnGetIsChecked());
  // The level dialog has no Done: the change reaches the middleware now
  // (only the levels whose state differs are written).
  d->ApplyRRTArray();
  Reload();
}

}  // namespace ListForm
