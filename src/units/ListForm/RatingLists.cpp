#include "units/ListForm/RatingLists.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/text.h"
#include "strings/ListForm.h"
#include "strings/SkinBin.h"
#include "strings/Strings.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/Fonts/Fonts.h"
#include "units/ListForm/ListContext.h"
#include "units/ListForm/ListGetters.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/RatingData.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/SubSystem/State.h"
#include "units/SubSystem/SubSystemClass.h"

namespace ListForm {

using namespace keys;

KV_REGISTER_CLASS(ListForm::RRTLevelCourier);
KV_REGISTER_CLASS(ListForm::KXDRRTDimensionItem);
KV_REGISTER_CLASS(ListForm::KXDRRTLevelItem);
KV_REGISTER_CLASS(ListForm::KXDRRTDimensionList);
KV_REGISTER_CLASS(ListForm::KXDRRTLevelList);
KV_REGISTER_CLASS(ListForm::RRTLevelItem);
KV_REGISTER_CLASS(ListForm::RRTLevelList);
KV_REGISTER_CLASS(ListForm::RRTDimensionItem);
KV_REGISTER_CLASS(ListForm::RRTDimensionList);

namespace {

constexpr int32_t kDimensionRows = 8;
constexpr int32_t kLevelRows = 6;
constexpr int32_t kDimensionRowHeight = 28;
constexpr int32_t kLevelRowHeight = 32;
// The grid: five columns of eight levels.
constexpr int32_t kColumns = 5;
constexpr int32_t kColumnWidth = 122;
constexpr int32_t kColumnLevels = 8;
constexpr int32_t kGridRowHeight = 28;
constexpr int32_t kGridRowStep = 32;
constexpr int32_t kHeadingHeight = 20;
constexpr int32_t kHeadingInset = 3;
constexpr int32_t kLevelsTop = 24;

SkinBin::DynamicRatingData* Rating() {
  SkinBin::Wrapper* w = SkinWrapper();
  return w ? &w->DynamicRatingData : nullptr;
}

// The region the set keeps (0: none).
int32_t StoredRegion() {
  SkinBin::Wrapper* w = SkinWrapper();
  return w && w->PersistentData ? w->PersistentData->GetInteger(SkinBin::KEY_RATING_REGION) : 0;
}

// The level count of `dimension` of the current region (0 without a region).
int32_t ReadLevels(SkinBin::DynamicRatingData& d, int32_t dimension) {
  if (d.Region == 0) return 0;
  d.SetRegionDimension(d.Region, dimension);
  d.GetDimensionInfo();
  return std::max(0, d.LevelCount);
}

// A level row shows a level courier and hides for anything else; null
// leaves it as it is.
template <typename Row>
void ShowLevel(Row& row, kv::Object* data) {
  if (!data) return;
  auto* c = kv::Cast<RRTLevelCourier>(data);
  if (!c) {
    row.OnSetVisible(false);
    return;
  }
  row.OnSetText(c->Text);
  row.ItemIndex = c->ItemIndex;
  row.SecondName = c->SecondName;
  row.OnSetIsChecked(c->Block != 0);
}

template <typename Row>
kv::Object* TakeLevel(Row& row, kv::Object* data) {
  auto* c = kv::Cast<RRTLevelCourier>(data);
  if (!c) c = kv::New<RRTLevelCourier>();
  c->Text = row.OnGetText();
  c->ItemIndex = row.ItemIndex;
  c->SecondName = row.SecondName;
  c->Block = row.OnGetIsChecked() ? 1 : 0;
  return c;
}

// A level row of `dimension` was toggled: the table takes its new state.
template <typename Row>
bool StoreToggle(kv::Object* sender, int32_t dimension) {
  auto* row = kv::Cast<Row>(sender);
  SkinBin::DynamicRatingData* d = Rating();
  if (!row || !d) return false;
  ReadLevels(*d, dimension);
  StoreRatingBlock(*d, dimension, row->ItemIndex, row->OnGetIsChecked());
  return true;
}

// Shortens `list` by `step` for each row of `rows` it does not fill.
void ShrinkHeight(Core::View& list, int32_t rows, int32_t items, int32_t step) {
  if (items >= rows) return;
  const kv::Rect b = list.Bounds();
  list.OnSetBounds({b.x1, b.y1, b.x2, std::max(b.y1, b.y2 - step * (rows - items))});
}

}  // namespace

kv::String DimensionName(const SkinBin::DynamicRatingData& d, int32_t dimension) {
  if (!d.DimensionName.Empty()) return d.DimensionName;
  return kv::ConcatString(kv::GetVariantOfString(UNNAMED_DIMENSION), kv::NewStringInt(dimension, 0));
}

int32_t ReadRegion(SkinBin::DynamicRatingData& d) {
  const int32_t region = StoredRegion();
  d.SetRegionDimension(region, 0);
  if (region == 0) return 0;
  d.GetRegionInfo();
  return std::max(0, d.DimensionCount);
}

void StoreRatingBlock(SkinBin::DynamicRatingData& d, int32_t dimension, int32_t level, bool blocked) {
  d.SetRRTArray(dimension, level, blocked ? 1 : 0);
  if (!d.Graduated) return;
  if (blocked)
    for (int32_t l = level; l < d.LevelCount; ++l) d.SetRRTArray(dimension, l, 1);
  else
    for (int32_t l = 0; l < level; ++l) d.SetRRTArray(dimension, l, 0);
}

// --- Getters ---------------------------------------------------------------------

kv::Object* GetRRTLevelItemData(ListDataSource* source, ListClass* /*list*/, int32_t i) {
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

kv::Object* GetRRTDimensionItemData(ListDataSource* /*source*/, ListClass* /*list*/, int32_t i) {
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

void KXDRRTLevelItem::SetData(kv::Object* data) { ShowLevel(*this, data); }

kv::Object* KXDRRTLevelItem::GetData(kv::Object* data) { return TakeLevel(*this, data); }

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
    ReadRegion(*d);
    d->LoadRRTArray();
  }
  ListClass::Initialize(param);
  ShrinkHeight(*this, MaxRows, DataSource ? DataSource->Num : 0, ItemInterval + kDimensionRowHeight);
}

int32_t KXDRRTDimensionList::GetItemsNum() {
  SkinBin::DynamicRatingData* d = Rating();
  return d ? ReadRegion(*d) : 0;
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
  return d ? ReadLevels(*d, Dimension) : 0;
}

void KXDRRTLevelList::SetRatingBlock(kv::Object* sender) {
  if (!StoreToggle<KXDRRTLevelItem>(sender, Dimension)) return;
  // The level dialog has no Done: the change reaches the middleware now
  // (only the levels whose state differs are written).
  Rating()->ApplyRRTArray();
  Reload();
}

// --- The grid -----------------------------------------------------------------------------

RRTLevelItem::RRTLevelItem() {
  OnSetBounds({0, 0, kColumnWidth, kGridRowHeight});
  OnSetTextEllipsis(true);  // level names come from the broadcast
}

void RRTLevelItem::SetData(kv::Object* data) {
  ShowLevel(*this, data);
  HelpString = SecondName;
}

kv::Object* RRTLevelItem::GetData(kv::Object* data) { return TakeLevel(*this, data); }

int32_t RRTLevelItem::GetCtrlState() {
  const int32_t state = RatingItem::GetCtrlState();
  auto* list = kv::Cast<RRTLevelList>(Owner());
  if (state == ::Button::kStateFocused && list && !list->Active)
    return OnGetIsDisabled() ? ::Button::kStateDisabled : ::Button::kStateNonfocused;
  return state;
}

RRTLevelList::RRTLevelList() {
  MaxRows = kColumnLevels;
  ItemInterval = 4;
  WrapAround = false;
  ItemClass = &RRTLevelItem::StaticClass();
  OnActivateOption = kv::MakeSlot(this, &RRTLevelList::SetRatingBlock);
  OnSetBounds({0, 0, kColumnWidth, kColumnLevels * (kGridRowHeight + 4) - 4});
}

void RRTLevelList::Initialize(Primitives::KeyRoutingParameter* param) {
  const kv::Rect b = Bounds();
  OnSetBounds({b.x1, b.y1, b.x2, b.y1 + kColumnLevels * (kGridRowHeight + ItemInterval) - ItemInterval});
  ListClass::Initialize(param);
  if (DataSource) DataSource->Param = Dimension;
  ShrinkHeight(*this, kColumnLevels, DataSource ? DataSource->Num : 0, ItemInterval + kGridRowHeight);
}

int32_t RRTLevelList::GetItemsNum() {
  SkinBin::DynamicRatingData* d = Rating();
  return d ? ReadLevels(*d, Dimension) : 0;
}

kv::Object* RRTLevelList::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down || key->Code != IncreaseKey) return ListClass::HandleEvent(event);
  Forms::Ctrl* r0 = GetFocusedRow();
  const int32_t c0 = DataSource ? DataSource->Cursor : 0;
  if (ScrollItems(1) == 0) return nullptr;  // the last level: the owner's key
  if (DataSource && GetFocusedRow() == r0 && DataSource->Cursor != c0) kv::Signal(OnFocusOption, this);
  kv::Signal(FocusMove, this);
  return this;
}

void RRTLevelList::SetRatingBlock(kv::Object* sender) {
  if (StoreToggle<RRTLevelItem>(sender, Dimension)) Reload();
}

kv::String RRTLevelList::GetButtonHelp() {
  auto* row = kv::Cast<RRTLevelItem>(GetFocusedRow());
  return row ? row->SecondName : kv::String();
}

RRTDimensionItem::RRTDimensionItem() : levels_(kv::New<RRTLevelList>()) {
  OnSetBounds({0, 0, kColumnWidth, kLevelsTop + kColumnLevels * kGridRowStep});
  OnSetTextAlignH(0);
  // The extra small face fits the usual names ("Entire Audience") between
  // the column's insets; longer ones come from the broadcast and end in "...".
  OnSetTextFont(Resources::LoadResource(Fonts::ExtraSmallFont));
  OnSetTextEllipsis(true);
}

void RRTDimensionItem::SetData(kv::Object* data) {
  if (!kv::Cast<ListCourier>(data)) return;
  ListItem::SetData(data);
  RRTLevelList& l = *levels_;
  l.Dimension = ItemIndex;
  l.OnFocusOption = OnFocus;
  l.FocusMove = kv::MakeSlot(this, &RRTDimensionItem::DoFocusMove);
  if (Core::Group* grid = Owner(); grid && l.Owner() != grid) grid->Add(&l);
  PlaceLevels();
  auto* p = kv::New<Primitives::KeyRoutingParameter>();
  p->Owner = this->Owner();
  l.Initialize(p);
  l.OnSetVisible(IsVisible());
}

void RRTDimensionItem::Refresh() {
  ListItem::Refresh();
  // In line with the check boxes below, and as far in from the column's
  // right end, so that neighbouring headings stand well apart.
  TextView().OnSetBounds({kHeadingInset, 0, std::max(kHeadingInset, Bounds().W() - kHeadingInset), kHeadingHeight});
}

void RRTDimensionItem::PlaceLevels() {
  const kv::Rect b = Bounds();
  const int32_t h = levels_->Bounds().H();
  levels_->OnSetBounds({b.x1, b.y1 + kLevelsTop, b.x2, b.y1 + kLevelsTop + h});
}

void RRTDimensionItem::OnSetBounds(kv::Rect bounds) {
  ListItem::OnSetBounds(bounds);
  if (levels_) PlaceLevels();
}

void RRTDimensionItem::OnSetVisible(bool visible) {
  ListItem::OnSetVisible(visible);
  if (levels_) levels_->OnSetVisible(visible);
}

void RRTDimensionItem::HandleFocus(bool focused) {
  levels_->Active = focused;
  if (auto* row = kv::Cast<::Button::ButtonClass>(levels_->GetFocusedRow())) row->RefreshCtrlState(row->GetCtrlState());
  ListItem::HandleFocus(focused);
}

kv::Object* RRTDimensionItem::HandleEvent(Core::Event* event) {
  if (levels_->Owner() && levels_->IsVisible())
    if (kv::Object* answer = levels_->DispatchEvent(event)) return answer;
  return ListItem::HandleEvent(event);
}

void RRTDimensionItem::DoFocusMove(kv::Object* /*sender*/) { kv::Signal(FocusMove, this); }

RRTDimensionList::RRTDimensionList() {
  MaxRows = kColumns;
  ArrangeMode = 0;
  DecreaseKey = KEY_LEFT;
  IncreaseKey = KEY_RIGHT;
  ItemInterval = 4;
  ItemXOffset = 4;
  WrapAround = false;
  ItemClass = &RRTDimensionItem::StaticClass();
  background_.OnSetColor(Colors::StandardBgColor);
  Add(&background_);
  OnSetBounds({0, 0, 634, 280});
}

void RRTDimensionList::Initialize(Primitives::KeyRoutingParameter* param) {
  int32_t longest = 0;
  if (SkinBin::DynamicRatingData* d = Rating()) {
    ReadRegion(*d);
    d->LoadRRTArray();
    longest = d->DimensionCount > 0 ? d->MaxLevelCount : 0;
  }
  ListClass::Initialize(param);
  const int32_t columns = DataSource ? DataSource->Num : 0;
  const kv::Rect b = Bounds();
  const int32_t narrower = columns < kColumns ? (ItemInterval + kColumnWidth) * (kColumns - columns) : 0;
  const int32_t shorter = longest < kColumnLevels ? kGridRowStep * (kColumnLevels - longest) : 0;
  OnSetBounds({b.x1, b.y1, std::max(b.x1, b.x2 - narrower), std::max(b.y1, b.y2 - shorter)});
  OnSetVisible(longest > 0);
}

void RRTDimensionList::Refresh() {
  ListClass::Refresh();
  background_.OnSetBounds({0, kHeadingHeight, std::max(0, Bounds().W() - 4), Bounds().H()});
}

void RRTDimensionList::InitializeItems() {
  for (Forms::Ctrl* row : GetAllRows())
    if (auto* column = kv::Cast<RRTDimensionItem>(row)) column->FocusMove = FocusMove;
}

int32_t RRTDimensionList::GetItemsNum() {
  SkinBin::DynamicRatingData* d = Rating();
  return d ? ReadRegion(*d) : 0;
}

void RRTDimensionList::ApplyRRT() {
  SkinBin::DynamicRatingData* d = Rating();
  if (!d) return;
  ReadRegion(*d);
  d->ApplyRRTArray();
}

kv::String RRTDimensionList::GetButtonHelp() {
  auto* column = kv::Cast<RRTDimensionItem>(GetFocusedRow());
  return column ? column->GetButtonHelp() : kv::String();
}

}  // namespace ListForm
