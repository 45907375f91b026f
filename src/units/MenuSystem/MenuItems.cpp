#include "units/MenuSystem/MenuItems.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "strings/MenuSystemItems.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionDatabase.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/ChannelListData.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/VirtualChannel.h"

namespace MenuSystem {

using namespace keys;

KV_REGISTER_CLASS(MenuSystem::MenuItemCourier);
KV_REGISTER_CLASS(MenuSystem::SubMenuItem);
KV_REGISTER_CLASS(MenuSystem::SubMenuItemValue);
KV_REGISTER_CLASS(MenuSystem::SubMenuItemValueSelect);
KV_REGISTER_CLASS(MenuSystem::RGBFilterOptionItem);
KV_REGISTER_CLASS(MenuSystem::TimerSetItem);
KV_REGISTER_CLASS(MenuSystem::ChannelSetItem);
KV_REGISTER_CLASS(MenuSystem::TimerSourceItem);
KV_REGISTER_CLASS(MenuSystem::SubMenuItemAdjust);
KV_REGISTER_CLASS(MenuSystem::AdjustItemArrow);
KV_REGISTER_CLASS(MenuSystem::AdjustItemArrowSelect);
KV_REGISTER_CLASS(MenuSystem::VolumeSetItem);
KV_REGISTER_CLASS(MenuSystem::AdjustItemSlider);
KV_REGISTER_CLASS(MenuSystem::AdjustItemSliderSelect);
KV_REGISTER_CLASS(MenuSystem::RGBFilterSliderItem);
KV_REGISTER_CLASS(MenuSystem::BaseColorAdjustItem);

namespace {



SkinBin::Wrapper* Skin() {
  return kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper));
}

void MarkChanged(int32_t optionId) {
  if (SkinBin::Wrapper* w = Skin()) w->MarkOptionChange(optionId);
}

void WriteThrough(OptionDatabase::OptionDataClass* record) {
  if (record->HasProperty()) kv::OnSetInt32(record->RefValue, record->Value);
}

// The caption of the record's courier, when it is a choice courier.
bool CourierCaption(OptionDatabase::OptionDataClass* record, kv::String& out) {
  auto* courier = kv::Cast<OptionDatabase::OptionCourier>(record->Courier.get());
  if (!courier) return false;
  out = courier->Caption;
  return true;
}

void SetShown(Core::View& v, bool on) {
  if (v.IsVisible() != on) v.OnSetVisible(on);
}

}  // namespace

OptionDatabase::OptionDataClass* OptionRecord(int32_t id) {
  if (id == 0) return nullptr;
  auto* db = kv::GetAutoObject<OptionDatabase::OptionDatabaseClass>(MainApp::OptionDB);
  return db ? db->GetOptionData(id) : nullptr;
}

kv::String HelpText(std::initializer_list<const kv::MultiTextId*> words) {
  kv::String out;
  bool first = true;
  for (const kv::MultiTextId* w : words) {
    if (!first) out = kv::ConcatString(out, kv::LoadString(MenuSystemItems::HELP_SEPARATOR));
    out = kv::ConcatString(out, kv::GetVariantOfString(*w));
    first = false;
  }
  return out;
}

bool BindOption(SubMenuItem* item) {
  if (!item || item->OptionType == 0) return false;
  if (auto* base = kv::Cast<BaseColorAdjustItem>(item)) {
    int32_t values[3] = {0, 0, 0};
    bool any = false;
    for (int32_t i = 0; i < 3; ++i) {
      OptionDatabase::OptionDataClass* record = OptionRecord(item->OptionType + i);
      if (!record) continue;
      record->Initialize(item);
      record->GetData(item);
      if (auto* courier = kv::Cast<OptionDatabase::SliderCourier>(record->Courier.get())) values[i] = courier->Value;
      any = true;
    }
    base->OnSetHueValue(values[0]);
    base->OnSetSaturationValue(values[1]);
    base->OnSetBrightValue(values[2]);
    return any;
  }
  OptionDatabase::OptionDataClass* record = OptionRecord(item->OptionType);
  if (!record) return false;
  if (auto* value = kv::Cast<SubMenuItemValue>(item)) {
    record->Initialize(item);
    value->ChoiceNum = record->Num;
    value->ReadOption(record);
    return true;
  }
  if (auto* adjust = kv::Cast<SubMenuItemAdjust>(item)) {
    record->Initialize(item);
    record->GetData(item);
    if (auto* courier = kv::Cast<OptionDatabase::SliderCourier>(record->Courier.get())) {
      adjust->OnSetMax(courier->Max);
      adjust->OnSetMin(courier->Min);
      adjust->OnSetStep(courier->Step);
      record->Value = courier->Value;
    }
    record->Val2Id(item);
    adjust->OnSetValue(record->Id);
    return true;
  }
  return false;
}

// --- SubMenuItem ----------------------------------------------------------------------

SubMenuItem::SubMenuItem() {
  OnSetTextFont(Resources::LoadResource(Fonts::MediumFont));
  OnSetDisabled_BackgroundColor(kv::Color::FromWord(0xFF2A2928u));
  OnSetDefault_BackgroundColor(kv::Color::FromWord(0xFF2A2928u));
  OnSetNonfocused_BackgroundColor(kv::Color::FromWord(0xFF2A2928u));
  OnSetDisabled_TextColor(kv::Color::FromWord(0xFF585858u));
  OnSetNonfocused_TextColor(kv::Color::FromWord(0xFFC8C8C8u));
  OnSetFocused_BackgroundColor(kv::Color::FromWord(0xFF8C5617u));
  OnSetFocused_TextColor(kv::Color::FromWord(0xFFCCCCCCu));
  OnSetDefault_TextColor(kv::Color::FromWord(0xFFC8C8C8u));
  OnSetTextAlignH(0);
  disabledFocus_ = Resources::LoadResource(Bitmaps::OptionButtonDisabledFocus);
  HelpString = HelpText({&MenuSystemItems::SID_ENTER, &MenuSystemItems::SID_BACK});
  OnSetBounds({0, 0, kItemWidth, kItemHeight});
}

uint16_t SubMenuItem::DownCode(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  return key && key->Down ? key->Code : 0;
}

void SubMenuItem::Activate() {
  if (!OnActivate.empty() && !OnGetIsDisabled()) kv::Signal(OnActivate, this);
}

kv::Object* SubMenuItem::HandleEvent(Core::Event* event) {
  const uint16_t code = DownCode(event);
  if (code == KEY_NONE || code != ActivateKey || OnActivate.empty() || OnGetIsDisabled()) return nullptr;
  kv::Signal(OnActivate, this);
  return this;
}

void SubMenuItem::RefreshCtrlState(int32_t state) {
  IconButton::RefreshCtrlState(state);
  if (state == ::Button::kStateFocused && OnGetIsDisabled()) {
    // A grey row takes the focus like any other; its dark caption needs the
    // pale bar to be read.
    TextView().OnSetColor(Colors::FocusDisableTextColor);
    BackgroundView().OnSetBitmap(disabledFocus_.get());
  }
}

void SubMenuItem::Refresh() {
  IconButton::Refresh();
  // The caption is centred on the whole height of the row, as the value
  // text is: it stands in the middle of the row, its descenders clear of
  // the row's lower edge.
  kv::Rect r = TextView().Bounds();
  const int32_t bottom = std::max(1, Bounds().H());
  if (OnGetTextAlignH() == 0) r = {7, 0, std::max(7, r.x2), bottom};
  else r = {r.x1, 0, r.x2, bottom};
  TextView().OnSetBounds(r);
}

kv::Rect SubMenuItem::CaptionRect() { return TextView().Bounds(); }

kv::Object* SubMenuItem::GetData(kv::Object* data) {
  auto* courier = kv::Cast<MenuItemCourier>(data);
  if (!courier) courier = kv::New<MenuItemCourier>();
  courier->Text = OnGetText();
  courier->HelpString = HelpString;
  courier->Param1 = Param1;
  courier->Param2 = Param2;
  return courier;
}

void SubMenuItem::SetData(kv::Object* data) {
  auto* courier = kv::Cast<MenuItemCourier>(data);
  if (!courier) return;
  OnSetText(courier->Text);
  HelpString = courier->HelpString;
  Param1 = courier->Param1;
  Param2 = courier->Param2;
}

// --- SubMenuItemValue -----------------------------------------------------------------

namespace {

void SetUpValueLook(SubMenuItem& item, Views::Text& value) {
  item.OnSetActivateKey(KEY_NONE);
  item.OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::OptionButtonNonfocus));
  item.OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::OptionButtonFocus));
  item.HelpString = HelpText({&MenuSystemItems::SID_EDIT, &MenuSystemItems::SID_BACK});
  item.HelpMask = HELP_MASK_VALUE;
  value.OnSetBounds({299, 0, 482, 25});
  value.OnSetAlignH(1);
  value.OnSetAlignV(1);
  value.OnSetEllipsis(true);
  value.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
}

// The value and adjust kinds: caption in the left half, value in the rest.
void LayOutValue(SubMenuItem& item, Views::Text& caption, Views::Text& value) {
  const kv::Rect b = item.Bounds();
  kv::Rect c = caption.Bounds();
  c.x2 = std::max(c.x1, b.W() / 2);
  caption.OnSetBounds(c);
  value.OnSetBounds({c.x2, c.y1, std::max(c.x2, b.W()), c.y2});
  value.OnSetFont(item.OnGetTextFont());
}

// The left arrow 7 pixels inside the value's left edge, the right one 7
// pixels from the row's right edge, both centred vertically.
void PlaceArrows(Views::Image& left, Views::Image& right, const kv::Rect& value, const kv::Rect& row) {
  const kv::Rect l = left.Bounds();
  const kv::Rect r = right.Bounds();
  left.OnSetBounds(kv::Rect{0, 0, l.W(), l.H()}.MoveTo({value.x1 + 7, (row.H() - l.H()) / 2}));
  right.OnSetBounds(kv::Rect{0, 0, r.W(), r.H()}.MoveTo({row.W() - 7 - r.W(), (row.H() - r.H()) / 2}));
}

}  // namespace

SubMenuItemValue::SubMenuItemValue() {
  SetUpValueLook(*this, valueText_);
  valueString_ = kv::GetVariantOfString(MenuSystemItems::EMPTY_VALUE);
  valueText_.OnSetString(valueString_);
  leftArrow_.OnSetAutoSize(true);
  rightArrow_.OnSetAutoSize(true);
  leftArrow_.OnSetBitmap(Resources::LoadResource(Bitmaps::ToggleButtonLeftArrow));
  rightArrow_.OnSetBitmap(Resources::LoadResource(Bitmaps::ToggleButtonRightArrow));
  leftArrow_.OnSetBounds({300, 10, 313, 20});
  rightArrow_.OnSetBounds({354, 5, 367, 15});
  leftArrow_.OnSetVisible(false);
  rightArrow_.OnSetVisible(false);
}

void SubMenuItemValue::ReInit() {
  SubMenuItem::ReInit();
  HelpString = HelpText({&MenuSystemItems::SID_EDIT, &MenuSystemItems::SID_BACK});
}

void SubMenuItemValue::ReadOption(OptionDatabase::OptionDataClass* record) {
  if (record->HasProperty()) record->Value = kv::OnGetInt32(record->RefValue);
  Value = record->Value;
  record->Val2Id(this);
  Index = record->Id;
  ShowChoice(record);
}

void SubMenuItemValue::ShowChoice(OptionDatabase::OptionDataClass* record) {
  record->GetData(this);
  kv::String caption;
  if (CourierCaption(record, caption)) OnSetValueString(caption);
}

void SubMenuItemValue::OnSetValueString(const kv::String& text) {
  valueString_ = text;
  valueText_.OnSetString(text);
  InvalidateView();
}

void SubMenuItemValue::ShowArrows(bool on) {
  SetShown(leftArrow_, on && !valueHidden_);
  SetShown(rightArrow_, on && !valueHidden_);
  InvalidateView();
}

kv::Object* SubMenuItemValue::HandleEvent(Core::Event* event) {
  const uint16_t code = DownCode(event);
  if (code == KEY_LEFT || code == KEY_RIGHT) {
    Activate();
    return this;
  }
  if (code == KEY_OK) return this;
  return SubMenuItem::HandleEvent(event);
}

void SubMenuItemValue::HandleFocus(bool focused) {
  SubMenuItem::HandleFocus(focused);
  // A grey row shows no arrows: its value cannot move.
  ShowArrows(focused && !OnGetIsDisabled());
}

void SubMenuItemValue::RefreshCtrlState(int32_t state) {
  SubMenuItem::RefreshCtrlState(state);
  valueText_.OnSetColor(TextView().OnGetColor());
  if (state == ::Button::kStateFocused) ShowArrows(!OnGetIsDisabled());
}

void SubMenuItemValue::Refresh() {
  SubMenuItem::Refresh();
  LayOutValue(*this, TextView(), valueText_);
  PlaceArrows(leftArrow_, rightArrow_, valueText_.Bounds(), Bounds());
  valueText_.OnSetColor(TextView().OnGetColor());
}

void SubMenuItemValue::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  SubMenuItem::Draw(target, clip, origin, opacity);
  if (valueHidden_) return;
  DrawPart(valueText_, target, clip, origin, opacity);
  DrawPart(leftArrow_, target, clip, origin, opacity);
  DrawPart(rightArrow_, target, clip, origin, opacity);
}

// --- SubMenuItemValueSelect -----------------------------------------------------------

kv::Object* SubMenuItemValueSelect::HandleEvent(Core::Event* event) {
  const uint16_t code = DownCode(event);
  if (code != KEY_NONE && (code == ToggleDecreaseKey || code == ToggleIncreaseKey)) {
    if (!OnGetIsDisabled()) ToggleOption(code != ToggleDecreaseKey);
    kv::Signal(OnResetTimeout, this);
    return this;
  }
  return SubMenuItemValue::HandleEvent(event);
}

void SubMenuItemValueSelect::ValueOfIndex(OptionDatabase::OptionDataClass* record) {
  record->Id = Index;
  record->Id2Value(this);
  Value = record->Value;
}

void SubMenuItemValueSelect::ApplyIndex(OptionDatabase::OptionDataClass* record, bool write) {
  ValueOfIndex(record);
  if (write) WriteThrough(record);
  ShowChoice(record);
}

void SubMenuItemValueSelect::ToggleOption(bool increase) {
  const int32_t n = ChoiceNum;
  if (n < 2) return;
  if (increase) Index = Index < n - 1 ? Index + 1 : 0;
  else Index = Index >= 1 ? Index - 1 : n - 1;
  if (OptionDatabase::OptionDataClass* record = OptionRecord(OptionType)) ApplyIndex(record, true);
  MarkChanged(OptionType);
  kv::Signal(OnValueChanged, this);
}

void SubMenuItemValueSelect::ShowIndex(int32_t index) {
  Index = index;
  Value = index;
  if (OptionDatabase::OptionDataClass* record = OptionRecord(OptionType)) ApplyIndex(record, false);
}

// --- RGBFilterOptionItem --------------------------------------------------------------

RGBFilterOptionItem::RGBFilterOptionItem() {
  OnSetText(kv::GetVariantOfString(MenuSystemItems::SID_EDIT));
  OnSetBaseColor(Colors::Red);
}

void RGBFilterOptionItem::OnSetBaseColor(kv::Color color) {
  baseColor_ = color;
  swatch_.OnSetColor(color);
  InvalidateView();
}

void RGBFilterOptionItem::Refresh() {
  SubMenuItemValueSelect::Refresh();
  const kv::Rect b = Bounds();
  const int32_t top = (b.H() - 20) / 2;
  swatch_.OnSetBounds({7, top, 27, top + 20});
  kv::Rect c = TextView().Bounds();
  c.x1 = 27 + 7;
  c.x2 = std::max(c.x1, c.x2);
  TextView().OnSetBounds(c);
}

void RGBFilterOptionItem::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  SubMenuItemValueSelect::Draw(target, clip, origin, opacity);
  DrawPart(swatch_, target, clip, origin, opacity);
}

// --- Entry modes ------------------------------------------------------------------------

namespace {

// Rule of the entry rows: entering shows the form and takes its keys,
// leaving hides it; the help changes with the mode.
void SetEditHelp(SubMenuItem& item, bool editing) {
  if (editing) {
    item.HelpMask = HELP_MASK_EDITING;
    item.HelpString =
        HelpText({&MenuSystemItems::SID_INPUT, &MenuSystemItems::SID_ENTER, &MenuSystemItems::SID_BACK});
  } else {
    item.HelpMask = HELP_MASK_ENTRY;
    item.HelpString =
        HelpText({&MenuSystemItems::SID_INPUT, &MenuSystemItems::SID_EDIT, &MenuSystemItems::SID_BACK});
  }
}

void ShowForm(Forms::Ctrl& form, bool on) {
  form.OnSetEnabled(on);
  SetShown(form, on);
}

}  // namespace

// --- TimerSetItem -----------------------------------------------------------------------

TimerSetItem::TimerSetItem() {
  SetEditHelp(*this, false);
  time_.OnSetBounds({245, 0, 490, 25});
  ShowForm(time_, false);
  time_.OnTimeChanged = kv::MakeSlot(this, &TimerSetItem::DoTimeChanged);
  time_.OnCancelChange = kv::MakeSlot(this, &TimerSetItem::DoCancelChange);
  time_.OnResetTimeout = kv::MakeSlot(this, &TimerSetItem::DoResetTimeout);
}

void TimerSetItem::OnSetIsTimeEdit(bool on) {
  IsTimeEdit = on;
  // The time form stands where the value and its arrows were: they would
  // show between its boxes.
  valueHidden_ = on;
  ShowForm(time_, on);
  SetEditHelp(*this, on);
  if (!on) ShowArrows(IsFocused());
  InvalidateView();
  kv::Signal(OnIsEditChanged, this);
}

kv::Object* TimerSetItem::HandleEvent(Core::Event* event) {
  const uint16_t code = DownCode(event);
  // The time form is a part drawn by this row: a key it takes shows when the
  // row is drawn again.
  if (IsTimeEdit && code != KEY_NONE) {
    if (kv::Object* answer = time_.HandleEvent(event)) {
      InvalidateView();
      return answer;
    }
  }
  if (code == KEY_OK || IsDigitKey(code)) {
    if (!OnGetIsDisabled()) {
      if (!IsTimeEdit) OnSetIsTimeEdit(true);
      time_.DigitCount = 0;
      time_.RefreshButtons();
      InvalidateView();
      if (IsDigitKey(code)) return time_.HandleEvent(event);
    }
    kv::Signal(OnResetTimeout, this);
    return this;
  }
  return SubMenuItemValueSelect::HandleEvent(event);
}

void TimerSetItem::HandleFocus(bool focused) {
  SubMenuItemValueSelect::HandleFocus(focused);
  if (!focused && IsTimeEdit) OnSetIsTimeEdit(false);
}

void TimerSetItem::ToggleOption(bool increase) {
  const int32_t n = ChoiceNum;
  if (n < 2) return;
  const int32_t step = IndexStep < 1 ? 1 : IndexStep;
  const int32_t r = ((Index % step) + step) % step;
  if (increase) {
    Index = Index + step - r;
    if (Index > n - 1) Index = MinIndex;
  } else {
    Index = r != 0 ? Index - r : Index - step;
    if (Index < MinIndex) Index = n - 1;
  }
  if (OptionDatabase::OptionDataClass* record = OptionRecord(OptionType)) ApplyIndex(record, ApplyValue);
  kv::Signal(OnValueChanged, this);
}

void TimerSetItem::DoTimeChanged(kv::Object*) {
  OnSetIsTimeEdit(false);
  OptionDatabase::OptionDataClass* record = OptionRecord(OptionType);
  if (!record) return;
  // The entered time may lie past the last choice: take the last one.
  const int32_t last = std::max(MinIndex, ChoiceNum - 1);
  Index = std::min(std::max(MinIndex, time_.GetTimeIndex()), last);
  ApplyIndex(record, ApplyValue);
}

void TimerSetItem::DoCancelChange(kv::Object*) { OnSetIsTimeEdit(false); }

void TimerSetItem::DoResetTimeout(kv::Object*) { kv::Signal(OnResetTimeout, this); }

void TimerSetItem::Refresh() {
  SubMenuItemValueSelect::Refresh();
  time_.OnSetBounds({245, 0, 490, 25});
}

void TimerSetItem::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  SubMenuItemValueSelect::Draw(target, clip, origin, opacity);
  DrawPart(time_, target, clip, origin, opacity);
}

// --- ChannelSetItem ---------------------------------------------------------------------

ChannelSetItem::ChannelSetItem() {
  SetEditHelp(*this, false);
  edit_.OnSetBounds({313, -2, 423, 28});
  edit_.OnSetVisible(false);
  edit_.OnSetTextColor(Colors::White);
  edit_.OnSetNonfocused_TextColor(kv::Color::FromWord(0xFFC8C8C8u));
  edit_.OnSetFocused_TextColor(kv::Color::FromWord(0xFFCCCCCCu));
  edit_.OnSetTextFont(Resources::LoadResource(Fonts::MediumFont));
  edit_.OnSetMaxLength(7);
  edit_.OnSetSupportDot(true);
  edit_.OnSetEditModeEnabled(true);
  edit_.ClearText();
  edit_.OnSetDotString(kv::LoadString(MenuSystemItems::CHANNEL_DOT));
  edit_.OnActivate = kv::MakeSlot(this, &ChannelSetItem::DoChannelNumChanged);
  edit_.OnTextChanged = kv::MakeSlot(this, &ChannelSetItem::DoResetTimeout);
}

void ChannelSetItem::ReInit() {
  SubMenuItemValueSelect::ReInit();
  SetEditHelp(*this, IsChannelEdit);
}

void ChannelSetItem::OnSetIsChannelEdit(bool on) {
  IsChannelEdit = on;
  valueHidden_ = on;
  SetShown(edit_, on);
  edit_.OnSetEnabled(on);
  SetEditHelp(*this, on);
  if (!on) ShowArrows(IsFocused());
  InvalidateView();
  kv::Signal(OnChannelEditChanged, this);
}

kv::Object* ChannelSetItem::HandleEvent(Core::Event* event) {
  const uint16_t code = DownCode(event);
  // OK ends a typed number: the row takes the channel when it exists.
  if (IsChannelEdit && code == KEY_OK) {
    DoChannelNumChanged(nullptr);
    kv::Signal(OnResetTimeout, this);
    return this;
  }
  if (code != KEY_NONE && code < KEY_0) return SubMenuItemValueSelect::HandleEvent(event);
  if (IsDigitKey(code)) {
    if (OnGetIsDisabled()) {
      kv::Signal(OnResetTimeout, this);
      return this;
    }
    if (!IsChannelEdit) {
      OnSetIsChannelEdit(true);
      edit_.ClearText();
    }
    edit_.HandleEvent(event);
    return this;
  }
  if (IsChannelEdit && code == KEY_BACK) {
    OnSetIsChannelEdit(false);
    kv::Signal(OnResetTimeout, this);
    return this;
  }
  if (IsChannelEdit && code != KEY_NONE) {
    if (kv::Object* answer = edit_.HandleEvent(event)) return answer;
  }
  return SubMenuItemValueSelect::HandleEvent(event);
}

void ChannelSetItem::HandleFocus(bool focused) {
  SubMenuItemValueSelect::HandleFocus(focused);
  if (!focused && IsChannelEdit) OnSetIsChannelEdit(false);
}

void ChannelSetItem::DoChannelNumChanged(kv::Object*) {
  const kv::String typed = edit_.OnGetTextString();
  OnSetIsChannelEdit(false);
  SkinBin::Wrapper* w = Skin();
  if (!w) return;
  Structures::VirtualChannel* ch = w->GetVirtualChannelByString(typed, edit_.OnGetDotString());
  if (!ch || !w->IsChannelExist(ch->Major, ch->Minor)) return;
  OptionDatabase::OptionDataClass* record = OptionRecord(OptionType);
  if (!record) return;
  record->Value = ::Wrapper::Wrapper::UniteChannelNum(ch->Major, ch->Minor);
  WriteThrough(record);
  Value = record->Value;
  IndexOfValue(record);
  OnSetValueString(typed);
}

void ChannelSetItem::IndexOfValue(OptionDatabase::OptionDataClass* record) {
  SkinBin::Wrapper* w = Skin();
  SkinBin::ChannelListData* list = w ? w->GetChannelListData() : nullptr;
  Index = list ? list->GetIndexOfTimerChannelNum(Value) : -1;
  record->Id = Index;
}

void ChannelSetItem::ReadOption(OptionDatabase::OptionDataClass* record) {
  if (record->HasProperty()) record->Value = kv::OnGetInt32(record->RefValue);
  Value = record->Value;
  IndexOfValue(record);
  if (Index >= 0) return ShowChoice(record);
  // A channel outside the table (or none): its own number, else the empty value.
  SkinBin::Wrapper* w = Skin();
  const int32_t major = ::Wrapper::Wrapper::SplitChannelNum(Value, true);
  const int32_t minor = ::Wrapper::Wrapper::SplitChannelNum(Value, false);
  if (w && major >= 1 && minor >= 0)
    OnSetValueString(w->GetChannelNumberStr(w->IsDigitalChannel(major, minor), major, minor));
  else
    OnSetValueString(kv::GetVariantOfString(MenuSystemItems::EMPTY_VALUE));
}

void ChannelSetItem::ValueOfIndex(OptionDatabase::OptionDataClass* record) {
  record->Id = Index;
  // The row of the channel table: the property keeps that channel's number.
  SkinBin::Wrapper* w = Skin();
  const int32_t number = w ? w->GetChannelListData()->GetTimerChannelNum(Index) : -1;
  if (number != -1) record->Value = number;
  Value = record->Value;
}

void ChannelSetItem::DoResetTimeout(kv::Object*) { kv::Signal(OnResetTimeout, this); }

void ChannelSetItem::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  SubMenuItemValueSelect::Draw(target, clip, origin, opacity);
  DrawPart(edit_, target, clip, origin, opacity);
}

// --- TimerSourceItem --------------------------------------------------------------------

void TimerSourceItem::ReadOption(OptionDatabase::OptionDataClass* record) {
  const int32_t id = record->HasProperty() ? kv::OnGetInt32(record->RefValue) : record->Value;
  // The choice is the index of the timer's input among the set's inputs.
  SkinBin::Wrapper* w = Skin();
  record->Value = w ? w->GetSourceIndex(id) : id;
  record->Val2Id(this);
  Index = record->Id;
  record->Value = id;
  Value = id;
  ShowChoice(record);
}

void TimerSourceItem::ValueOfIndex(OptionDatabase::OptionDataClass* record) {
  SubMenuItemValueSelect::ValueOfIndex(record);
  // The choice's value is an input's index: the timer keeps its source id.
  if (SkinBin::Wrapper* w = Skin()) record->Value = w->GetSourceId(record->Value);
  Value = record->Value;
}

// --- SubMenuItemAdjust ------------------------------------------------------------------

SubMenuItemAdjust::SubMenuItemAdjust() {
  SetUpValueLook(*this, valueText_);
  ShowValueString(kv::GetVariantOfString(MenuSystemItems::EMPTY_VALUE));
}

const kv::MultiTextId& SubMenuItemAdjust::InitialValueText() const { return MenuSystemItems::EMPTY_VALUE; }

void SubMenuItemAdjust::ReInit() {
  SubMenuItem::ReInit();
  HelpString = HelpText({&MenuSystemItems::SID_EDIT, &MenuSystemItems::SID_BACK});
}

void SubMenuItemAdjust::ShowValueString(const kv::String& text) {
  valueString_ = text;
  valueText_.OnSetString(text);
  InvalidateView();
}

void SubMenuItemAdjust::OnSetValue(int32_t v) {
  Value = v > Max ? Max : std::max(v, Min);
  ShowValueString(kv::NewStringInt(Value, 0));
}

kv::Object* SubMenuItemAdjust::HandleEvent(Core::Event* event) {
  const uint16_t code = DownCode(event);
  if (code == KEY_LEFT || code == KEY_RIGHT) {
    Activate();
    return this;
  }
  if (code == KEY_OK) return this;
  return SubMenuItem::HandleEvent(event);
}

void SubMenuItemAdjust::RefreshCtrlState(int32_t state) {
  SubMenuItem::RefreshCtrlState(state);
  valueText_.OnSetColor(TextView().OnGetColor());
}

void SubMenuItemAdjust::Refresh() {
  SubMenuItem::Refresh();
  LayOutValue(*this, TextView(), valueText_);
  valueText_.OnSetColor(TextView().OnGetColor());
}

void SubMenuItemAdjust::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  SubMenuItem::Draw(target, clip, origin, opacity);
  DrawPart(valueText_, target, clip, origin, opacity);
}

// --- AdjustItemArrow --------------------------------------------------------------------

AdjustItemArrow::AdjustItemArrow() {
  leftArrow_.OnSetAutoSize(true);
  rightArrow_.OnSetAutoSize(true);
  leftArrow_.OnSetBitmap(Resources::LoadResource(Bitmaps::ToggleButtonLeftArrow));
  rightArrow_.OnSetBitmap(Resources::LoadResource(Bitmaps::ToggleButtonRightArrow));
  leftArrow_.OnSetVisible(false);
  rightArrow_.OnSetVisible(false);
}

void AdjustItemArrow::OnSetValue(int32_t v) {
  SubMenuItemAdjust::OnSetValue(v);
  RefreshArrow();
}

void AdjustItemArrow::RefreshArrow() {
  const bool focused = IsFocused();
  SetShown(leftArrow_, focused && Value != Min);
  SetShown(rightArrow_, focused && Value != Max);
  InvalidateView();
}

void AdjustItemArrow::HandleFocus(bool focused) {
  SubMenuItemAdjust::HandleFocus(focused);
  RefreshArrow();
}

void AdjustItemArrow::Refresh() {
  SubMenuItemAdjust::Refresh();
  PlaceArrows(leftArrow_, rightArrow_, ValueText().Bounds(), Bounds());
}

void AdjustItemArrow::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  SubMenuItemAdjust::Draw(target, clip, origin, opacity);
  DrawPart(leftArrow_, target, clip, origin, opacity);
  DrawPart(rightArrow_, target, clip, origin, opacity);
}

// --- AdjustItemArrowSelect --------------------------------------------------------------

void AdjustItemArrowSelect::WriteValue() {
  OptionDatabase::OptionDataClass* record = OptionRecord(OptionType);
  if (!record) return;
  record->Id = Value;
  record->Id2Value(this);
  WriteThrough(record);
  kv::Signal(OnValueChanged, this);
}

kv::Object* AdjustItemArrowSelect::HandleEvent(Core::Event* event) {
  const uint16_t code = DownCode(event);
  if (code == KEY_LEFT || code == KEY_RIGHT) {
    if (!OnGetIsDisabled()) {
      OnSetValue(code == KEY_RIGHT ? Value + Step : Value - Step);
      WriteValue();
    }
    kv::Signal(OnResetTimeout, this);
    return this;
  }
  return AdjustItemArrow::HandleEvent(event);
}

// --- NumberEntryItem --------------------------------------------------------------------

void NumberEntryItem::AttachNumberForm(kv::Rect bounds) {
  SkinBin::NumberInput& form = NumberForm();
  SetEditHelp(*this, false);
  form.OnSetBounds(bounds);
  ShowForm(form, false);
  form.OnNumChanged = kv::MakeSlot(this, &NumberEntryItem::DoNumberChanged);
  form.OnCancelChange = kv::MakeSlot(this, &NumberEntryItem::DoCancelChange);
  form.OnResetTimeout = kv::MakeSlot(this, &NumberEntryItem::DoResetTimeout);
}

void NumberEntryItem::ReInit() {
  AdjustItemArrowSelect::ReInit();
  SetEditHelp(*this, IsNumberEdit);
}

void NumberEntryItem::OnSetIsNumberEdit(bool on) {
  IsNumberEdit = on;
  ShowForm(NumberForm(), on);
  SetEditHelp(*this, on);
  SetShown(ValueText(), !on);
  if (on) {
    SetShown(LeftArrow(), false);
    SetShown(RightArrow(), false);
  } else {
    RefreshArrow();
  }
  InvalidateView();
  EditChanged();
}

kv::Object* NumberEntryItem::HandleEvent(Core::Event* event) {
  SkinBin::NumberInput& form = NumberForm();
  const uint16_t code = DownCode(event);
  if (IsDigitKey(code)) {
    if (OnGetIsDisabled()) {
      kv::Signal(OnResetTimeout, this);
      return this;
    }
    if (!IsNumberEdit) {
      OnSetIsNumberEdit(true);
      form.DigitCount = 0;
      form.RefreshButtons();
    }
    form.HandleEvent(event);
    // The form is a part drawn by this row, not a view of the screen: its
    // new digit shows when the row is drawn again.
    InvalidateView();
    return this;
  }
  if (IsNumberEdit && code != KEY_NONE) {
    if (kv::Object* answer = form.HandleEvent(event)) {
      InvalidateView();
      return answer;
    }
  }
  return AdjustItemArrowSelect::HandleEvent(event);
}

void NumberEntryItem::HandleFocus(bool focused) {
  AdjustItemArrowSelect::HandleFocus(focused);
  if (!focused && IsNumberEdit) OnSetIsNumberEdit(false);
}

void NumberEntryItem::DoNumberChanged(kv::Object*) {
  // The form reports every digit; the entry ends with its last digit or OK.
  SkinBin::NumberInput& form = NumberForm();
  if (form.DigitCount != 0) return;
  OnSetIsNumberEdit(false);
  if (form.GetNum() == Value) return;
  OnSetValue(form.GetNum());
  WriteValue();
}

void NumberEntryItem::DoCancelChange(kv::Object*) { OnSetIsNumberEdit(false); }

void NumberEntryItem::DoResetTimeout(kv::Object*) { kv::Signal(OnResetTimeout, this); }

void NumberEntryItem::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  AdjustItemArrowSelect::Draw(target, clip, origin, opacity);
  DrawPart(NumberForm(), target, clip, origin, opacity);
}

// --- VolumeSetItem ----------------------------------------------------------------------

VolumeSetItem::VolumeSetItem() { AttachNumberForm({245, 0, kItemWidth, kItemHeight}); }

// --- AdjustItemSlider -------------------------------------------------------------------

AdjustItemSlider::AdjustItemSlider() {
  slider_.OnSetBounds({293, 3, 479, 23});
  slider_.OnSetStretchIndicator(::Progress::kIndicatorPosition);
  slider_.OnSetMin(Min);
  slider_.OnSetMax(Max);
  slider_.OnSetStep(Step);
  slider_.OnSetValue(Value);
  ShowValueString(kv::GetVariantOfString(MenuSystemItems::SLIDER_VALUE));
  RefreshSlot(nullptr);
}

const kv::MultiTextId& AdjustItemSlider::InitialValueText() const { return MenuSystemItems::SLIDER_VALUE; }

void AdjustItemSlider::OnSetMax(int32_t max) {
  SubMenuItemAdjust::OnSetMax(max);
  slider_.OnSetMax(max);
}

void AdjustItemSlider::OnSetMin(int32_t min) {
  SubMenuItemAdjust::OnSetMin(min);
  slider_.OnSetMin(min);
}

void AdjustItemSlider::OnSetStep(int32_t step) {
  SubMenuItemAdjust::OnSetStep(step);
  slider_.OnSetStep(step);
}

void AdjustItemSlider::OnSetValue(int32_t v) {
  SubMenuItemAdjust::OnSetValue(v);
  slider_.OnSetValue(v);
}

void AdjustItemSlider::OnSetSliderMiddlePoint(bool on) {
  SliderMiddlePoint = on;
  kv::PostSignal(kv::MakeSlot(this, &AdjustItemSlider::RefreshSlot));
}

void AdjustItemSlider::OnSetSliderVisible(bool on) {
  SliderVisible = on;
  kv::PostSignal(kv::MakeSlot(this, &AdjustItemSlider::RefreshSlot));
}

void AdjustItemSlider::OnSetIsDisabled(bool disabled) {
  SubMenuItemAdjust::OnSetIsDisabled(disabled);
  kv::PostSignal(kv::MakeSlot(this, &AdjustItemSlider::RefreshSlot));
}

void AdjustItemSlider::RefreshSlot(kv::Object*) { Refresh(); }

void AdjustItemSlider::Refresh() {
  SubMenuItemAdjust::Refresh();
  Views::Text& value = ValueText();
  const kv::Rect b = Bounds();
  if (SliderVisible) {
    const kv::Rect v = value.Bounds();
    value.OnSetBounds({v.x1, v.y1, v.x1 + 43, v.y2});
    value.OnSetAlignH(2);
    const int32_t h = slider_.Bounds().H();
    const int32_t top = (b.H() - h) / 2 + 1;
    const int32_t left = v.x1 + 43 + 5;
    slider_.OnSetBounds({left, top, std::max(left, b.W() - 11), top + h});
    SetShown(slider_, true);
  } else {
    SetShown(slider_, false);
    const kv::Rect v = value.Bounds();
    value.OnSetBounds({v.x1, v.y1, std::max(v.x1, b.W()), v.y2});
    value.OnSetAlignH(1);
  }
  const bool enabled = !OnGetIsDisabled();
  const Resources::BitmapId& frame = enabled ? (SliderMiddlePoint ? Bitmaps::SliderBgFrame : Bitmaps::SliderBgFrameNoY)
                                             : (SliderMiddlePoint ? Bitmaps::GraySliderBgFrame : Bitmaps::GraySliderBgFrameNoY);
  slider_.OnSetBgImageBitmap(Resources::LoadResource(frame));
  slider_.OnSetIndicatorImageBitmap(
      Resources::LoadResource(enabled ? Bitmaps::SliderIndicator : Bitmaps::GraySliderIndicator));
  InvalidateView();
}

void AdjustItemSlider::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  SubMenuItemAdjust::Draw(target, clip, origin, opacity);
  DrawPart(slider_, target, clip, origin, opacity);
}

// --- AdjustItemSliderSelect -------------------------------------------------------------

AdjustItemSliderSelect::AdjustItemSliderSelect() {
  Slider().OnValueChanged = kv::MakeSlot(this, &AdjustItemSliderSelect::DoValueChanged);
}

kv::Object* AdjustItemSliderSelect::HandleEvent(Core::Event* event) {
  // The slider has the keys while the row is focused and enabled.
  if (sliderFocused_ && !OnGetIsDisabled()) {
    if (kv::Object* answer = Slider().HandleEvent(event)) return answer;
  }
  return AdjustItemSlider::HandleEvent(event);
}

void AdjustItemSliderSelect::HandleFocus(bool focused) {
  AdjustItemSlider::HandleFocus(focused);
  sliderFocused_ = focused && !OnGetIsDisabled();
}

void AdjustItemSliderSelect::DoValueChanged(kv::Object*) {
  const int32_t v = Slider().OnGetValue();
  Value = v;
  ShowValueString(kv::NewStringInt(v, 0));
  if (OptionDatabase::OptionDataClass* record = OptionRecord(OptionType)) {
    record->Id = v;
    record->Id2Value(this);
    WriteThrough(record);
  }
  MarkChanged(OptionType);
  kv::Signal(OnResetTimeout, this);
  kv::Signal(OnValueChanged, this);
}

// --- BaseColorAdjustItem ----------------------------------------------------------------

BaseColorAdjustItem::BaseColorAdjustItem() {
  OnSetActivateKey(KEY_RIGHT);
  OnSetText(kv::GetVariantOfString(MenuSystemItems::SID_EDIT));
  HelpString = HelpText({&MenuSystemItems::SID_EDIT, &MenuSystemItems::SID_BACK});
  HelpMask = HELP_MASK_BASE_COLOR;
  for (Views::Rectangle& bar : bars_) bar.OnSetColor(Colors::DialogBorder);
  for (Views::Text& t : values_) {
    t.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
    t.OnSetAlignH(1);
    t.OnSetAlignV(1);
    t.OnSetString(kv::GetVariantOfString(MenuSystemItems::HUE_VALUE));
  }
  arrow_.OnSetAutoSize(true);
  arrow_.OnSetBitmap(Resources::LoadResource(Bitmaps::InputListRightArrow));
  arrow_.OnSetVisible(false);
  OnSetBaseColor(Colors::Red);
}

void BaseColorAdjustItem::ShowNumber(int32_t column, int32_t v) {
  kv::String text = kv::NewStringInt(v, 0);
  if (v >= 1) text = kv::ConcatString(kv::GetVariantOfString(MenuSystemItems::SIGN_PREFIX), text);
  values_[column].OnSetString(text);
  InvalidateView();
}

void BaseColorAdjustItem::OnSetHueValue(int32_t v) {
  HueValue = v;
  ShowNumber(0, v);
}
void BaseColorAdjustItem::OnSetSaturationValue(int32_t v) {
  SaturationValue = v;
  ShowNumber(1, v);
}
void BaseColorAdjustItem::OnSetBrightValue(int32_t v) {
  BrightValue = v;
  ShowNumber(2, v);
}

void BaseColorAdjustItem::OnSetBaseColor(kv::Color color) {
  baseColor_ = color;
  swatch_.OnSetColor(color);
  InvalidateView();
}

void BaseColorAdjustItem::HandleFocus(bool focused) {
  SubMenuItem::HandleFocus(focused);
  SetShown(arrow_, focused);
  InvalidateView();
}

void BaseColorAdjustItem::Refresh() {
  SubMenuItem::Refresh();
  const kv::Rect b = Bounds();
  const int32_t swTop = (b.H() - 20) / 2;
  swatch_.OnSetBounds({7, swTop, 27, swTop + 20});
  const int32_t barTop = (b.H() - 28) / 2;
  static constexpr int32_t kBars[4] = {116, 233, 350, 467};
  for (int i = 0; i < 4; ++i) bars_[i].OnSetBounds({kBars[i], barTop, kBars[i] + 3, barTop + 28});
  for (int i = 0; i < 3; ++i) values_[i].OnSetBounds({kBars[i] + 3, 0, kBars[i + 1], b.H()});
  TextView().OnSetBounds({27 + 7, 3, kBars[0], b.H()});
  const kv::Rect a = arrow_.Bounds();
  arrow_.OnSetBounds(kv::Rect{0, 0, a.W(), a.H()}.MoveTo({475, (b.H() - a.H()) / 2}));
}

void BaseColorAdjustItem::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  SubMenuItem::Draw(target, clip, origin, opacity);
  DrawPart(swatch_, target, clip, origin, opacity);
  for (Views::Rectangle& bar : bars_) DrawPart(bar, target, clip, origin, opacity);
  for (Views::Text& t : values_) DrawPart(t, target, clip, origin, opacity);
  DrawPart(arrow_, target, clip, origin, opacity);
}

}  // namespace MenuSystem
