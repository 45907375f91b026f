#include "units/ListForm/ChannelLists.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/text.h"
#include "strings/ListForm.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Bitmaps/ListBitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Core/Group.h"
#include "units/Fonts/Fonts.h"
#include "units/ListForm/ListContext.h"
#include "units/ListForm/ListGetters.h"
#include "units/ListForm/RowColumns.h"
#include "units/Resources/Font.h"
#include "units/SkinBin/ChannelListData.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"
#include "units/Structures/VirtualChannel.h"
#include "units/SubSystem/State.h"
#include "units/SubSystem/SubSystemClass.h"

namespace ListForm {

using namespace keys;

KV_REGISTER_CLASS(ListForm::ChannelRowCourier);
KV_REGISTER_CLASS(ListForm::ChannelLockCourier);
KV_REGISTER_CLASS(ListForm::ChannelOptionCourier);
KV_REGISTER_CLASS(ListForm::ManualChannelCourier);
KV_REGISTER_CLASS(ListForm::ChannelCourier);
KV_REGISTER_CLASS(ListForm::ChannelRow);
KV_REGISTER_CLASS(ListForm::ChannelLockItem);
KV_REGISTER_CLASS(ListForm::ChannelOptionItem);
KV_REGISTER_CLASS(ListForm::ManualChannelItem);
KV_REGISTER_CLASS(ListForm::ChannelItem);
KV_REGISTER_CLASS(ListForm::ChannelListBase);
KV_REGISTER_CLASS(ListForm::PreviewChannelList);
KV_REGISTER_CLASS(ListForm::ChannelLockList);
KV_REGISTER_CLASS(ListForm::ChannelOptionList);
KV_REGISTER_CLASS(ListForm::MasterChannelList);
KV_REGISTER_CLASS(ListForm::ManualChannelList);

namespace {

constexpr int32_t kManualRows = 5;
// The key pad's parameter value for a channel label.
constexpr int32_t kKeyPadChannelLabel = 12;

SkinBin::ChannelListData* Table() {
  SkinBin::Wrapper* w = SkinWrapper();
  return w ? w->GetChannelListData() : nullptr;
}

SkinBin::ChannelData* Record(int32_t i) {
  SkinBin::ChannelListData* t = Table();
  return t ? t->GetChannel(i) : nullptr;
}

Structures::VirtualChannel* Pair(int32_t major, int32_t minor) {
  auto* v = kv::New<Structures::VirtualChannel>();
  v->Major = major;
  v->Minor = minor;
  return v;
}

int32_t ShownMinor(const SkinBin::ChannelData* c) { return c->AltMinor >= 0 ? c->AltMinor : c->Minor; }

void SetShown(Core::View& v, bool on) {
  if (v.IsVisible() != on) v.OnSetVisible(on);
}

}  // namespace

// --- Rows ---------------------------------------------------------------------------

ChannelRow::ChannelRow() {
  OnSetTextAlignH(0);
  TextView().OnSetEllipsis(true);
  label_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  label_.OnSetEllipsis(true);
  label_.OnSetColor(Colors::StandardTextColor);
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::ChannelOptionButtonFocus));
  kind_.OnSetVisible(false);
}

void ChannelRow::TakeChannel(const ChannelRowCourier& c) {
  OnSetIsDigital(c.IsDigital);
  Major = c.Major;
  Minor = c.Minor;
}

void ChannelRow::ShowChannel(const ChannelRowCourier& c) {
  OnSetChannelLabel(c.Text);
  ShowNumber();
}

void ChannelRow::PutChannel(ChannelRowCourier* c) const {
  c->Text = OnGetChannelLabel();
  c->IsDigital = IsDigital;
  c->Major = Major;
  c->Minor = Minor;
}

void ChannelRow::ShowNumber() {
  if (SkinBin::Wrapper* w = SkinWrapper()) OnSetText(w->GetChannelNumberStr(IsDigital, Major, Minor));
}

void ChannelRow::OnSetChannelLabel(const kv::String& text) {
  label_.OnSetString(text);
  InvalidateView();
}

void ChannelRow::OnSetIsDigital(bool on) {
  IsDigital = on;
  kind_.OnSetBitmap(Resources::LoadResource(on ? Bitmaps::DTV : Bitmaps::ATV));
  InvalidateView();
}

void ChannelRow::Refresh() {
  ListItem::Refresh();
  const kv::Rect b = Bounds();
  TextView().OnSetBounds(ChannelColumns::kNumber.In(b.W(), 0, b.H()));
  // The name in the number's font and on its line.
  label_.OnSetFont(OnGetTextFont());
  label_.OnSetAlignV(TextView().OnGetAlignV());
}

namespace {

// The label and the tuner-kind image of a row `b` in their columns.
void PlaceLabelAndKind(Views::Text& label, Views::Image& kind, const kv::Rect& b, const RowColumn& labelColumn,
                       const RowColumn& kindColumn) {
  label.OnSetBounds(labelColumn.In(b.W(), 0, b.H()));
  kind.OnSetBounds(kindColumn.Icon(b.W(), 30, 16, b.H()));
}

}  // namespace

// The lock and option lists share their dialog with the All and Clear
// buttons: the focused row looks so only while the list takes the keys.
int32_t ChannelRow::GetCtrlState() { return FocusedOnlyWithList(ListItem::GetCtrlState()); }

void ChannelRow::RefreshCtrlState(int32_t state) {
  ListItem::RefreshCtrlState(state);
  label_.OnSetColor(state == ::Button::kStateFocused ? Colors::White : Colors::StandardTextColor);
}

void ChannelRow::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  ListItem::Draw(target, clip, origin, opacity);
  DrawPart(label_, target, clip, origin, opacity);
  DrawPart(kind_, target, clip, origin, opacity);
  if (Core::View* mark = FlagView()) DrawPart(*mark, target, clip, origin, opacity);
}

ChannelLockItem::ChannelLockItem() {
  lock_.OnSetBitmap(Resources::LoadResource(Bitmaps::LockImage));
  lock_.OnSetVisible(false);
}

void ChannelLockItem::OnSetIsLocked(bool on) {
  IsLocked = on;
  SetShown(lock_, on);
  InvalidateView();
}

void ChannelLockItem::Refresh() {
  ChannelRow::Refresh();
  const kv::Rect b = Bounds();
  // The lock row shows no tuner kind.
  PlaceLabelAndKind(LabelView(), KindView(), b, ChannelColumns::kLockLabel, ChannelColumns::kLock);
  lock_.OnSetBounds(ChannelColumns::kLock.Icon(b.W(), 24, 24, b.H()));
}

void ChannelLockItem::SetData(kv::Object* data) {
  ListItem::SetData(data);
  auto* c = kv::Cast<ChannelLockCourier>(data);
  if (!c) return;
  TakeChannel(*c);
  OnSetIsLocked(c->IsLocked);
  ShowChannel(*c);
}

kv::Object* ChannelLockItem::GetData(kv::Object* data) {
  auto* c = kv::Cast<ChannelLockCourier>(data);
  if (!c) c = kv::New<ChannelLockCourier>();
  ListItem::GetData(c);
  PutChannel(c);
  c->IsLocked = IsLocked;
  return c;
}

ChannelOptionItem::ChannelOptionItem() {
  KindView().OnSetVisible(true);
  check_.OnSetBitmap(Resources::LoadResource(Bitmaps::CheckBoxCheck));
}

void ChannelOptionItem::OnSetIsEnabled(bool on) {
  IsEnabled = on;
  check_.OnSetBitmap(Resources::LoadResource(on ? Bitmaps::CheckBoxCheck : Bitmaps::CheckBox));
  InvalidateView();
}

void ChannelOptionItem::Refresh() {
  ChannelRow::Refresh();
  const kv::Rect b = Bounds();
  PlaceLabelAndKind(LabelView(), KindView(), b, ChannelColumns::kOptionLabel, ChannelColumns::kOptionKind);
  check_.OnSetBounds(ChannelColumns::kOptionCheck.Icon(b.W(), 20, 20, b.H()));
}

void ChannelOptionItem::SetData(kv::Object* data) {
  ListItem::SetData(data);
  auto* c = kv::Cast<ChannelOptionCourier>(data);
  if (!c) return;
  TakeChannel(*c);
  OnSetIsEnabled(c->IsEnabled);
  ShowChannel(*c);
}

kv::Object* ChannelOptionItem::GetData(kv::Object* data) {
  auto* c = kv::Cast<ChannelOptionCourier>(data);
  if (!c) c = kv::New<ChannelOptionCourier>();
  ListItem::GetData(c);
  PutChannel(c);
  c->IsEnabled = IsEnabled;
  return c;
}

void ChannelOptionItem::EnableChannel() {
  SkinBin::ChannelData* record = Record(ItemIndex);
  SkinBin::Wrapper* w = SkinWrapper();
  // Without a record, or when the middleware does not take the change (the
  // display is locked, the call fails), the row keeps showing what the set
  // has.
  if (!record || !w || w->GetOSDLock() != 0) return;
  const bool enable = !IsEnabled;
  Structures::VirtualChannel* pair = Pair(record->Major, record->Minor);
  const int32_t status = enable ? w->AddChannelToRing(0, pair) : w->RemoveChannelFromRing(0, pair);
  if (status != 0) return;
  record->InRing = enable ? 1 : 0;
  OnSetIsEnabled(enable);
}

kv::Object* ChannelOptionItem::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key) return nullptr;
  if (key->Down && key->Code == KEY_RED) {
    EnableChannel();
    kv::Signal(FocusMove, this);
    return this;
  }
  return ChannelRow::HandleEvent(event);
}

ManualChannelItem::ManualChannelItem() {
  KindView().OnSetVisible(true);
  bars_.OnSetBitmap(Resources::LoadResource(Bitmaps::SignalIndicator));
  bars_.OnSetImageSize(23);
  bars_.OnSetImageNumber(6);
  newMark_.OnSetFont(Resources::LoadResource(Fonts::ExtraSmallFont));
  newMark_.OnSetColor(Colors::TitleTextColor);
  newMark_.OnSetString(kv::GetVariantOfString(CHANNEL_NEW));
  OnSetSignalStrength(SignalStrength);
}

void ManualChannelItem::OnSetIsScaned(bool on) {
  IsScaned = on;
  SetShown(bars_, on);
  InvalidateView();
}

void ManualChannelItem::OnSetIsNew(bool on) {
  IsNew = on;
  SetShown(newMark_, on);
  InvalidateView();
}

void ManualChannelItem::OnSetSignalStrength(int32_t s) {
  SignalStrength = s;
  // A strength below 0 (no reading) shows no bar.
  const int32_t bars = s >= 100 ? 5 : s <= 0 ? 0 : s * 5 / 100 + 1;
  bars_.OnSetImageIndex(bars);
  InvalidateView();
}

void ManualChannelItem::Refresh() {
  ChannelRow::Refresh();
  const kv::Rect b = Bounds();
  PlaceLabelAndKind(LabelView(), KindView(), b, ChannelColumns::kManualLabel, ChannelColumns::kManualKind);
  newMark_.OnSetBounds(ChannelColumns::kManualNew.In(b.W(), 0, b.H()));
  bars_.OnSetBounds(ChannelColumns::kManualBars.Icon(b.W(), 23, 16, b.H()));
}

void ManualChannelItem::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  ChannelRow::Draw(target, clip, origin, opacity);
  DrawPart(bars_, target, clip, origin, opacity);
  DrawPart(newMark_, target, clip, origin, opacity);
}

void ManualChannelItem::SetData(kv::Object* data) {
  ListItem::SetData(data);
  auto* c = kv::Cast<ManualChannelCourier>(data);
  if (!c) return;
  TakeChannel(*c);
  OnSetIsScaned(c->IsScaned);
  OnSetIsNew(c->IsNew);
  OnSetSignalStrength(c->SignalStrength);
  ShowChannel(*c);
}

kv::Object* ManualChannelItem::GetData(kv::Object* data) {
  auto* c = kv::Cast<ManualChannelCourier>(data);
  if (!c) c = kv::New<ManualChannelCourier>();
  ListItem::GetData(c);
  PutChannel(c);
  c->IsScaned = IsScaned;
  c->IsNew = IsNew;
  c->SignalStrength = SignalStrength;
  return c;
}

ChannelItem::ChannelItem() {
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::ChannelListButtonFocus));
  KindView().OnSetVisible(true);
  skip_.OnSetFont(Resources::LoadResource(Fonts::ExtraSmallFont));
  skip_.OnSetColor(Colors::StandardTextColor);
  skip_.OnSetString(kv::GetVariantOfString(CHANNEL_SKIP));
  skip_.OnSetVisible(false);
  physical_.OnSetFont(Resources::LoadResource(Fonts::ExtraSmallFont));
  physical_.OnSetColor(Colors::StandardTextColor);
}

void ChannelItem::OnSetIsSkip(bool on) {
  IsSkip = on;
  SetShown(skip_, on);
  InvalidateView();
}

void ChannelItem::OnSetPhysicalChNum(int32_t n) {
  PhysicalChNum = n;
  physical_.OnSetString(kv::NewStringUInt(static_cast<uint32_t>(n), 0));
  InvalidateView();
}

void ChannelItem::Refresh() {
  ChannelRow::Refresh();
  const kv::Rect b = Bounds();
  PlaceLabelAndKind(LabelView(), KindView(), b, ChannelColumns::kResultLabel, ChannelColumns::kResultKind);
  // The small texts stand on the line of the number beside them (centred
  // in the row in the row's font), not at the row's top.
  int32_t top = 0;
  if (Resources::Font* big = OnGetTextFont())
    if (Resources::Font* small = physical_.OnGetFont())
      top = std::clamp((b.H() - big->LineHeight()) / 2 + big->Ascent() - small->Ascent(), 0, b.H());
  skip_.OnSetBounds(ChannelColumns::kResultSkip.In(b.W(), top, b.H()));
  physical_.OnSetBounds(ChannelColumns::kResultPhysical.In(b.W(), top, b.H()));
}

void ChannelItem::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  ChannelRow::Draw(target, clip, origin, opacity);
  DrawPart(skip_, target, clip, origin, opacity);
  DrawPart(physical_, target, clip, origin, opacity);
}

void ChannelItem::SetData(kv::Object* data) {
  ListItem::SetData(data);
  auto* c = kv::Cast<ChannelCourier>(data);
  if (!c) return;
  TakeChannel(*c);
  OnSetIsSkip(c->IsSkip);
  OnSetPhysicalChNum(c->PhysicalChNum);
  ShowChannel(*c);
}

kv::Object* ChannelItem::GetData(kv::Object* data) {
  auto* c = kv::Cast<ChannelCourier>(data);
  if (!c) c = kv::New<ChannelCourier>();
  ListItem::GetData(c);
  PutChannel(c);
  c->IsSkip = IsSkip;
  c->PhysicalChNum = PhysicalChNum;
  return c;
}

// --- Lists ---------------------------------------------------------------------------

ChannelListBase::ChannelListBase() {
  RowsTakeWidth = true;  // the rows' columns spread across the list
  MaxRows = 8;
  PageUpKey = KEY_PREV;
  PageDownKey = KEY_NEXT;
  indicatorInset_ = 20;
}

int32_t ChannelListBase::GetItemsNum() {
  SkinBin::Wrapper* w = SkinWrapper();
  if (!w) return 0;
  // Tuning mode 2 loads the antenna table with the flag set.
  const bool flag = w->OnGetChannelTuningMode() == 2 && w->OnGetAntCableIn() == 0;
  SkinBin::ChannelListData* table = w->GetChannelListData();
  table->LoadMasterChannelTable(flag);
  return table->GetNumChannels();
}

SkinBin::ChannelData* ChannelListBase::RecordOf(kv::Object* row) {
  auto* item = kv::Cast<ListItem>(row);
  return item ? Record(item->ItemIndex) : nullptr;
}

PreviewChannelList::PreviewChannelList() {
  timer_.OnSetBegin(kPreviewTuneMs);
  timer_.OnSetPeriod(0);
  timer_.OnSetEnabled(false);
  timer_.OnTrigger = kv::MakeSlot(this, &PreviewChannelList::TuneToChannel);
  OnFocusOption = kv::MakeSlot(this, &PreviewChannelList::DoFocus);
}

void PreviewChannelList::DoFocus(kv::Object* /*sender*/) { timer_.Activate(); }

void PreviewChannelList::TuneToChannel(kv::Object* /*sender*/) {
  timer_.OnSetEnabled(false);
  SkinBin::ChannelData* record = RecordOf(GetFocusedRow());
  SkinBin::Wrapper* w = SkinWrapper();
  if (!record || !w) return;
  Structures::VirtualChannel* now = w->GetCurrentChannel();
  if (record->Major != now->Major || record->Minor != now->Minor) w->SetChannel(record->Major, record->Minor, true, false);
}

ChannelLockList::ChannelLockList() {
  ItemClass = &ChannelLockItem::StaticClass();
  OnActivateOption = kv::MakeSlot(this, &ChannelLockList::DoChannelLock);
}

void ChannelLockList::DoChannelLock(kv::Object* sender) {
  auto* row = kv::Cast<ChannelLockItem>(sender);
  SkinBin::ChannelData* record = RecordOf(row);
  SkinBin::Wrapper* w = SkinWrapper();
  // The row changes only when the middleware took the change.
  if (row && record && w && w->GetOSDLock() == 0) {
    const bool locked = !row->IsLocked;
    if (w->SetChannelLock(Pair(record->Major, record->Minor), locked) == 0) {
      record->Locked = locked ? 1 : 0;
      row->OnSetIsLocked(locked);
    }
  }
  kv::Signal(FocusMove, this);
}

void ChannelLockList::LockAllChannels(bool on) {
  SkinBin::ChannelListData* table = Table();
  SkinBin::Wrapper* w = SkinWrapper();
  if (!table || !w || table->GetNumChannels() < 1) return;
  if (w->SetChannelLock(Pair(-1, -1), on) != 0) return;
  for (int32_t i = 0; i < table->GetNumChannels(); ++i) table->GetChannel(i)->Locked = on ? 1 : 0;
  Reload();
}

kv::Object* GetChannelLockItemData(ListDataSource* /*source*/, ListClass* /*list*/, int32_t i) {
  auto* c = kv::New<ChannelLockCourier>();
  c->ItemIndex = i;
  if (SkinBin::ChannelData* r = Record(i)) {
    c->Text = r->Name;
    c->Major = r->Major;
    c->Minor = ShownMinor(r);
    c->IsDigital = r->IsDigital != 0;
    c->IsLocked = r->Locked != 0;
  }
  return c;
}

ChannelOptionList::ChannelOptionList() {
  ItemClass = &ChannelOptionItem::StaticClass();
  OnActivateOption = kv::MakeSlot(this, &ChannelOptionList::DoChangeLabel);
}

void ChannelOptionList::Initialize(Primitives::KeyRoutingParameter* param) {
  ListClass::Initialize(param);
  if (Agent::MessageAgent* agent = MessageAgent()) agent->Register(this);
}

void ChannelOptionList::Close() {
  PreviewChannelList::Close();
  if (Agent::MessageAgent* agent = MessageAgent()) agent->UnRegister(this);
}

int32_t ChannelOptionList::GetFocusItemIndex() {
  SkinBin::ChannelListData* table = Table();
  SkinBin::Wrapper* w = SkinWrapper();
  if (!table || !w || !DataSource) return 0;
  Structures::VirtualChannel* now = w->GetCurrentChannel();
  const int32_t n = std::min(DataSource->Num, table->GetNumChannels());
  // By number: the rows' other fields are read when they are shown.
  const int32_t i = table->GetChannelIndexInTable(now->Major, now->Minor);
  return i >= 0 && i < n ? i : 0;
}

void ChannelOptionList::InitializeItems() {
  for (Forms::Ctrl* ctrl : GetAllRows())
    if (auto* row = kv::Cast<ChannelOptionItem>(ctrl)) row->FocusMove = FocusMove;
}

void ChannelOptionList::DoChangeLabel(kv::Object* sender) {
  auto* row = kv::Cast<ChannelOptionItem>(sender);
  const kv::Class* dialogClass = KV_LATE_CLASS("Channels::ChannelOptionDialog");
  const kv::Class* keyPad = KV_LATE_CLASS("NonMenuSystem::KeyPad");
  auto* dialog = kv::Cast<Primitives::KeyRoutingForm>(Owner());
  if (!row || !dialog || !dialogClass || !keyPad || kv::ClassOf(dialog) != dialogClass) return;
  auto* system = kv::Cast<SubSystem::SubSystemClass>(dialog->SubSystemInstance.get());
  if (!system) return;
  // A dialog opened from the menu runs on the menu's time-out.
  const bool fromMenu = dialog->TimeOutValue == 60000;
  auto* param = SkinBin::UserRefInt::Make(
      kKeyPadChannelLabel, fromMenu ? Constants::MSG_FROM_MENUSYSTEM : Constants::MSG_FROM_NONMENUSYSTEM);
  param->String = row->OnGetChannelLabel();
  auto* state = kv::New<SubSystem::State>();
  state->Class = keyPad;
  state->PrevState = dialogClass;
  state->Param = param;
  // The key pad opens beside the rows' numbers and labels, at the screen's
  // right edge level with the list's top, over the check boxes only: centred
  // it would leave slivers of the rows' texts at its edges.
  if (Primitives::KeyRoutingForm* pad = system->ChangeState(state)) {
    const kv::Rect b = pad->Bounds();
    const int32_t x = 960 - 4 - b.W();
    const int32_t y = std::clamp(GetAbsoluteBounds().y1, 4, 540 - 4 - b.H());
    pad->OnSetBounds({x, y, x + b.W(), y + b.H()});
  }
}

void ChannelOptionList::HandleMessage(Structures::Message* msg) {
  if (!msg || msg->Code != Constants::MSG_LABEL_CHANGE) return;
  if (Core::Group* owner = Owner()) {
    if (owner->Owner()) owner->Owner()->OnSetFocus(owner);
    owner->OnSetFocus(this);
  }
  auto* text = kv::Cast<Structures::RefString>(msg->ObjParam.get());
  auto* row = kv::Cast<ChannelOptionItem>(GetFocusedRow());
  SkinBin::ChannelData* record = RecordOf(row);
  SkinBin::Wrapper* w = SkinWrapper();
  if (!text || !row || !record || !w || text->Value == record->Name) return;
  if (w->SetChannelName(Pair(record->Major, record->Minor), text->Value) != 0) return;
  record->Name = text->Value;
  row->OnSetChannelLabel(text->Value);
}

void ChannelOptionList::EnableAllChannels(bool on) {
  SkinBin::ChannelListData* table = Table();
  SkinBin::Wrapper* w = SkinWrapper();
  if (!table || !w || table->GetNumChannels() < 1) return;
  Structures::VirtualChannel* all = Pair(-1, -1);
  if ((on ? w->AddChannelToRing(0, all) : w->RemoveChannelFromRing(0, all)) != 0) return;
  for (int32_t i = 0; i < table->GetNumChannels(); ++i) table->GetChannel(i)->InRing = on ? 1 : 0;
  Reload();
}

kv::Object* GetChannelOptionItemData(ListDataSource* /*source*/, ListClass* /*list*/, int32_t i) {
  auto* c = kv::New<ChannelOptionCourier>();
  c->ItemIndex = i;
  if (SkinBin::ChannelData* r = Record(i)) {
    c->Text = r->Name;
    c->Major = r->Major;
    c->Minor = ShownMinor(r);
    c->IsDigital = r->IsDigital != 0;
    c->IsEnabled = r->InRing != 0;
  }
  return c;
}

MasterChannelList::MasterChannelList() { ItemClass = &ChannelItem::StaticClass(); }

void MasterChannelList::Initialize(Primitives::KeyRoutingParameter* param) {
  OnActivateOption = OnExit;
  PreviewChannelList::Initialize(param);
}

kv::Object* GetMasterChannelItemData(ListDataSource* /*source*/, ListClass* /*list*/, int32_t i) {
  auto* c = kv::New<ChannelCourier>();
  c->ItemIndex = i;
  if (SkinBin::ChannelData* r = Record(i)) {
    c->Text = r->Name;
    c->Major = r->Major;
    c->Minor = ShownMinor(r);
    c->IsDigital = r->IsDigital != 0;
    c->IsSkip = r->InRing == 0;
    c->PhysicalChNum = r->PhysicalChannel;
  }
  return c;
}

ManualChannelList::ManualChannelList() {
  MaxRows = kManualRows;
  ItemClass = &ManualChannelItem::StaticClass();
}

int32_t ManualChannelList::GetItemsNum() {
  SkinBin::ChannelListData* table = Table();
  return table ? std::max(0, table->GetNumChannels()) : 0;
}

void ManualChannelList::ShowCount(int32_t n) {
  OnSetItemNum(std::min(kManualRows, n));
  if (DataSource) {
    DataSource->Num = n;
    Reload();
    // New contents start on their first channel.
    OnSetCurrentItemIndex(1);
  }
}

void ManualChannelList::OnSetPhysicalChannel(int32_t channel) {
  PhysicalChannel = channel;
  SkinBin::ChannelListData* table = Table();
  if (!table) return;
  table->LoadSingleChannelTable(channel);
  const int32_t n = std::max(0, table->GetNumChannels());
  if (!DataSource) {
    auto* source = kv::New<ListDataSource>();
    source->Num = n;
    OnSetItemNum(std::min(kManualRows, n));
    OnSetDataSource(source);
    return;
  }
  ShowCount(n);
}

void ManualChannelList::LoadScanedChannels() {
  if (!DataSource) return;
  ShowCount(std::max(0, GetItemsNum()));
}

kv::Object* GetManualChannelItemData(ListDataSource* /*source*/, ListClass* /*list*/, int32_t i) {
  auto* c = kv::New<ManualChannelCourier>();
  c->ItemIndex = i;
  if (SkinBin::ChannelData* r = Record(i)) {
    c->Text = r->Name;
    c->Major = r->Major;
    c->Minor = ShownMinor(r);
    c->IsDigital = r->IsDigital != 0;
    c->IsScaned = r->ScanFound != 0;
    c->IsNew = r->IsNew != 0;
    c->SignalStrength = r->ScanValue;
  }
  return c;
}

}  // namespace ListForm
