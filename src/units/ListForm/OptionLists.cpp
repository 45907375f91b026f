#include "units/ListForm/OptionLists.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/text.h"
#include "strings/SkinBin.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/ListForm/ListContext.h"
#include "units/ListForm/ListCourier.h"
#include "units/ListForm/ListGetters.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionDatabase.h"
#include "units/OptionDatabase/OptionTypes.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Font.h"
#include "units/SkinBin/SystemInfo.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"

namespace ListForm {

using namespace keys;

KV_REGISTER_CLASS(ListForm::IndicatedList);
KV_REGISTER_CLASS(ListForm::OptionListItem);
KV_REGISTER_CLASS(ListForm::OptionList);
KV_REGISTER_CLASS(ListForm::SystemInfoItem);
KV_REGISTER_CLASS(ListForm::SystemInfoList);

// --- IndicatedList ----------------------------------------------------------

void AddArrowIndicators(ListClass& list, Forms::ImageIndicator& up, Forms::ImageIndicator& down) {
  for (Forms::ImageIndicator* ind : {&up, &down}) {
    ind->OnSetBounds({0, 0, 20, 20});
    list.Add(ind);
  }
  up.OnSetEnabledBitmap(Resources::LoadResource(Bitmaps::OptionButtonUpArrow));
  down.OnSetEnabledBitmap(Resources::LoadResource(Bitmaps::OptionButtonDownArrow));
  list.PrevIndicator = &up;
  list.NextIndicator = &down;
}

IndicatedList::IndicatedList() { AddArrowIndicators(*this, up_, down_); }

void IndicatedList::Refresh() {
  ListClass::Refresh();
  const kv::Rect b = Bounds();
  const int32_t inset = indicatorInset_ >= 0 ? indicatorInset_ : ItemXOffset;
  up_.OnSetBounds(kv::Rect{0, 0, 20, 20}.MoveTo({b.W() - inset, -4}));
  down_.OnSetBounds(kv::Rect{0, 0, 20, 20}.MoveTo({b.W() - inset, b.H() - 16}));
}

// --- Option list --------------------------------------------------------------

namespace {
// A choice's text starts this far in from its row's left edge and keeps as
// much room before the right edge.
constexpr int32_t kChoiceInset = 8;
// No pop-up row grows wider than this; a longer choice ends in "...".
constexpr int32_t kWidestRow = 300;
}  // namespace

OptionListItem::OptionListItem() {
  OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::TimeZoneListButtonNonfocus));
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::TimeZoneListButtonFocus));
  OnSetTextAlignH(0);
  OnSetTextEllipsis(true);
}

void OptionListItem::Refresh() {
  ListItem::Refresh();
  const kv::Rect b = Bounds();
  TextView().OnSetBounds({kChoiceInset, 0, std::max(kChoiceInset, b.W() - kChoiceInset), b.H()});
}

OptionList::OptionList() {
  ItemXOffset = kOptionListInset;
  ItemInterval = 2;
  MaxRows = 6;
  ItemClass = &OptionListItem::StaticClass();
  OnActivateOption = kv::MakeSlot(this, &OptionList::DoActivate);
}

OptionDatabase::OptionDataClass* OptionList::GetRecord() const {
  OptionDatabase::OptionDatabaseClass* db = OptionDB();
  return db ? db->GetOptionData(OptionType) : nullptr;
}

int32_t OptionList::GetItemsWidth() const { return rowsWidth_; }

int32_t OptionRowsWidth(int32_t optionType) {
  if (optionType == OptionDatabase::OPTION_TYPE_TIME_ZONE_KXD) return 180;
  const int32_t choices = WidestChoice(optionType, Resources::LoadResource(Fonts::MediumFont)) + 2 * kChoiceInset;
  return std::clamp(choices, 150, kWidestRow);
}

int32_t WidestChoice(int32_t optionType, Resources::Font* font) {
  OptionDatabase::OptionDatabaseClass* db = OptionDB();
  OptionDatabase::OptionDataClass* record = db ? db->GetOptionData(optionType) : nullptr;
  if (!record || !font) return 0;
  record->Initialize();
  const int32_t current = record->Id;
  int32_t widest = 0;
  for (int32_t i = 0; i < record->Num; ++i) {
    record->Id = i;
    record->GetData();
    if (auto* oc = kv::Cast<OptionDatabase::OptionCourier>(record->Courier.get()))
      widest = std::max(widest, font->GetTextWidth(oc->Caption));
  }
  record->Id = current;
  return widest;
}

const Resources::BitmapId& OptionList::GetFocusBitmap() const {
  return OptionType == OptionDatabase::OPTION_TYPE_TIME_ZONE_KXD ? Bitmaps::TimeZoneListButtonFocus
                                                                 : Bitmaps::NetworkButtonFocus;
}

void OptionList::Initialize(Primitives::KeyRoutingParameter* param) {
  if (param)
    if (auto* ref = kv::Cast<SkinBin::UserRefInt>(param->Param.get())) OptionType = ref->Value;
  // The rows read the option from the data source's Param as soon as the
  // start-up moves the cursor.
  if (!DataSource) OnSetDataSource(kv::New<ListDataSource>());
  DataSource->Param = OptionType;
  rowsWidth_ = OptionRowsWidth(OptionType);
  ListClass::Initialize(param);
  DataSource->Param = OptionType;
  const int32_t rows = std::min(ItemNum, MaxRows);
  const int32_t height = std::max(0, rows * (ItemInterval + GetItemsHeight()) - ItemInterval);
  const kv::Rect b = Bounds();
  OnSetBounds({b.x1, b.y1, b.x1 + 2 * ItemXOffset + GetItemsWidth(), b.y1 + height});
}

int32_t OptionList::GetItemsNum() {
  OptionDatabase::OptionDataClass* record = GetRecord();
  if (!record) return 0;
  record->Initialize();
  return record->Num;
}

int32_t OptionList::GetFocusItemIndex() {
  OptionDatabase::OptionDataClass* record = GetRecord();
  if (!record) return 0;
  if (record->HasProperty()) record->Value = record->RefValue.Get();
  record->Val2Id();
  return record->Id;
}

void OptionList::InitializeItems() {
  Resources::Bitmap* focus = Resources::LoadResource(GetFocusBitmap());
  for (Forms::Ctrl* ctrl : GetAllRows()) {
    auto* row = kv::Cast<ListItem>(ctrl);
    if (!row) continue;
    const kv::Rect b = row->Bounds();
    row->OnSetBounds({b.x1, b.y1, b.x1 + GetItemsWidth(), b.y1 + GetItemsHeight()});
    row->OnSetNonfocused_BackgroundBitmap(nullptr);
    row->OnSetFocused_BackgroundBitmap(focus);
  }
}

void OptionList::DoActivate(kv::Object* sender) {
  OptionDatabase::OptionDataClass* record = GetRecord();
  auto* row = kv::Cast<ListItem>(sender);
  if (record && row) {
    record->Id = row->ItemIndex;
    record->Id2Value();
    if (record->HasProperty()) record->RefValue.Set(record->Value);
  }
  kv::Signal(OnValueChanged, this);
}

kv::Object* GetOptionItemData(ListDataSource* source, ListClass* /*list*/, int32_t i) {
  auto* courier = kv::New<ListCourier>();
  courier->ItemIndex = i;
  OptionDatabase::OptionDatabaseClass* db = OptionDB();
  OptionDatabase::OptionDataClass* record = db ? db->GetOptionData(source->Param) : nullptr;
  if (!record) return courier;
  record->Id = i;
  record->GetData();
  if (auto* oc = kv::Cast<OptionDatabase::OptionCourier>(record->Courier.get())) courier->Text = oc->Caption;
  return courier;
}

// --- System information -----------------------------------------------------

SystemInfoItem::SystemInfoItem() {
  OnSetTextAlignH(0);
  TextView().OnSetEllipsis(true);
  TextView().OnSetAutoSize(false);
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::ChannelOptionButtonFocus));
  OnSetIcon(nullptr);
}

void SystemInfoItem::Refresh() {
  ListItem::Refresh();
  const kv::Rect b = Bounds();
  TextView().OnSetBounds({10, 0, std::max(10, b.W()), b.H()});
}

void SystemInfoItem::SetData(kv::Object* data) {
  ListItem::SetData(data);
  if (auto* c = kv::Cast<SystemInfoCourier>(data)) OnSetText(kv::ConcatString(c->Caption, c->Value));
}

kv::Object* SystemInfoItem::GetData(kv::Object* data) {
  auto* c = kv::Cast<SystemInfoCourier>(data);
  if (!c) c = kv::New<SystemInfoCourier>();
  ListItem::GetData(c);
  const kv::String whole = OnGetText();
  const kv::String separator = kv::GetVariantOfString(SkinBin::SYSINFO_SEPARATOR);
  const std::u16string_view text = whole.View(), sep = separator.View();
  const size_t at = sep.empty() ? std::u16string_view::npos : text.find(sep);
  if (at == std::u16string_view::npos) {
    c->Caption = whole;
    c->Value = kv::String();
  } else {
    c->Caption = kv::String::FromUtf16(text.substr(0, at + sep.size()));
    c->Value = kv::String::FromUtf16(text.substr(at + sep.size()));
  }
  return c;
}

// With the OK button focused, one control looks so.
int32_t SystemInfoItem::GetCtrlState() { return FocusedOnlyWithList(ListItem::GetCtrlState()); }

kv::Object* SystemInfoItem::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && key->Code == ActivateKey) return this;
  return nullptr;
}

SystemInfoList::SystemInfoList() {
  ItemXOffset = 20;
  RowsTakeWidth = true;
  MaxRows = 10;
  PageUpKey = KEY_PREV;
  PageDownKey = KEY_NEXT;
  ItemClass = &SystemInfoItem::StaticClass();
}

int32_t SystemInfoList::GetItemsNum() {
  SkinBin::Wrapper* w = SkinWrapper();
  if (!w) return 0;
  SkinBin::SystemInfo* info = w->GetSystemInfo();
  info->Initialize();
  info->Refresh();
  return info->GetCount();
}

kv::Object* GetSystemInfoItemData(ListDataSource* /*source*/, ListClass* /*list*/, int32_t i) {
  SkinBin::Wrapper* w = SkinWrapper();
  SkinBin::SystemInfo* info = w ? w->GetSystemInfo() : nullptr;
  if (info && info->GetCount() > 0) {
    if (SystemInfoCourier* record = info->GetRecord(i)) {
      record->ItemIndex = i;
      return record;
    }
  }
  // No record at i (the information changed since the list counted): an
  // empty row, as for no information at all.
  auto* courier = kv::New<SystemInfoCourier>();
  courier->ItemIndex = i;
  return courier;
}

}  // namespace ListForm
