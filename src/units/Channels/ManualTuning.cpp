#include "units/Channels/ManualTuning.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "strings/Channels.h"
#include "strings/MenuSystemPages.h"
#include "strings/Strings.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/Events/XPM_EVENT_CHANNEL_ACQUIRED.h"
#include "units/Events/XPM_EVENT_CHANNEL_SCAN_PROGRESS.h"
#include "units/Events/XPM_EVENT_RATING_REGION_UPDATED.h"
#include "units/Events/XPM_EVENT_STANDBY.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/OptionBinding.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/ListForm/RowColumns.h"
#include "units/SkinBin/ChannelListData.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/Wrapper.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(Channels::ChannelSelectItem);
KV_REGISTER_CLASS(Channels::ManualTuningDialog);

namespace Channels {

namespace {

using namespace keys;

constexpr uint32_t kEditingHelpMask = 0x40202;
constexpr uint32_t kSelectHelpMask = 0x40006;
constexpr int32_t kArrowWidth = 13;

kv::String Text(const kv::MultiTextId& id) { return kv::GetVariantOfString(id); }


}  // namespace

// --- ChannelSelectItem ----------------------------------------------------------------

ChannelSelectItem::ChannelSelectItem() {
  OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::TimeZoneListButtonNonfocus));
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::TimeZoneListButtonFocus));
  OnSetTextAlignH(1);
  leftArrow_.OnSetBitmap(Resources::LoadResource(Bitmaps::ToggleButtonLeftArrow));
  rightArrow_.OnSetBitmap(Resources::LoadResource(Bitmaps::ToggleButtonRightArrow));
  number_.OnSetVisible(false);
  number_.OnSetEnabled(false);
  number_.OnResetTimeout = kv::MakeSlot(this, &ChannelSelectItem::DoResetTimeout);
  number_.OnNumChanged = kv::MakeSlot(this, &ChannelSelectItem::DoChannelNumChanged);
  number_.OnCancelChange = kv::MakeSlot(this, &ChannelSelectItem::DoCancelChange);
  OnSetChNum(ChNum);
}

void ChannelSelectItem::OnSetOptionType(uint32_t id) {
  OptionType = id;
  OptionDatabase::OptionDataClass* record = NonMenuSystem::OptionBinding::Find(static_cast<int32_t>(id));
  OptionDatabase::SliderCourier* slider = NonMenuSystem::OptionBinding::SliderOf(record);
  if (!slider) {
    Core::LogError("Channels::ChannelSelectItem: option %x has no slider record; range 0..100", {id});
    Min = 0;
    Max = 100;
    Step = 1;
    OnSetChNum(ChNum);
    return;
  }
  Max = slider->Max;
  Min = slider->Min;
  Step = slider->Step > 0 ? slider->Step : 1;
  OnSetChNum(slider->Value);
}

void ChannelSelectItem::OnSetChNum(int32_t value) {
  ChNum = std::clamp(value, Min, std::max(Min, Max));
  OnSetText(kv::NewStringInt(ChNum, 0));
}

void ChannelSelectItem::WriteOption() {
  OptionDatabase::OptionDataClass* record = NonMenuSystem::OptionBinding::Find(static_cast<int32_t>(OptionType));
  if (!record) return;
  record->Value = ChNum;
  if (record->HasProperty()) record->RefValue.Set(ChNum);
}

void ChannelSelectItem::ToggleOption(bool up) {
  int32_t v = up ? ChNum + Step : ChNum - Step;
  if (up && v > Max) v = Min;
  if (!up && v < Min) v = Max;
  OnSetChNum(v);
  WriteOption();
  kv::Signal(OnValueChanged, this);
}

void ChannelSelectItem::OnSetIsChannelEdit(bool on) {
  IsChannelEdit = on;
  number_.OnSetEnabled(on);
  number_.OnSetVisible(on);
  TextView().OnSetVisible(!on);
  leftArrow_.OnSetVisible(!on);
  rightArrow_.OnSetVisible(!on);
  InvalidateView();
  kv::Signal(OnIsChannelEditChanged, this);
}

void ChannelSelectItem::DoChannelNumChanged(kv::Object*) {
  // The input reports every digit; the entry ends with its last digit or OK.
  if (number_.DigitCount != 0) return;
  OnSetIsChannelEdit(false);
  const int32_t v = number_.GetNum();
  if (v == ChNum || v > Max || v < Min) return;
  OnSetChNum(v);
  WriteOption();
  kv::Signal(OnValueChanged, this);
}

void ChannelSelectItem::DoCancelChange(kv::Object*) { OnSetIsChannelEdit(false); }

void ChannelSelectItem::DoResetTimeout(kv::Object*) { kv::Signal(OnResetTimeout, this); }

kv::Object* ChannelSelectItem::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return IconButton::HandleEvent(event);
  if (key->Code == KEY_LEFT || key->Code == KEY_RIGHT) {
    if (!IsChannelEdit) ToggleOption(key->Code == KEY_RIGHT);
    kv::Signal(OnResetTimeout, this);
    return this;
  }
  if (IsDigitKey(key->Code)) {
    if (!IsChannelEdit) {
      OnSetIsChannelEdit(true);
      number_.DigitCount = 0;
      number_.RefreshButtons();
    }
    number_.HandleEvent(event);
    return this;
  }
  // While editing, OK ends the entry and Back cancels it.
  if (IsChannelEdit)
    if (kv::Object* answer = number_.HandleEvent(event)) return answer;
  return IconButton::HandleEvent(event);
}

void ChannelSelectItem::HandleFocus(bool focused) {
  IconButton::HandleFocus(focused);
  if (!focused && IsChannelEdit) OnSetIsChannelEdit(false);
}

void ChannelSelectItem::Refresh() {
  IconButton::Refresh();
  const kv::Rect b = Bounds();
  const int32_t mid = b.H() / 2;
  leftArrow_.OnSetBounds({8, mid - 5, 8 + kArrowWidth, mid + 5});
  rightArrow_.OnSetBounds({b.W() - 8 - kArrowWidth, mid - 5, b.W() - 8, mid + 5});
  number_.OnSetBounds({b.W() / 2 - 45, 1, b.W() / 2 + 45, std::max(2, b.H() - 1)});
}

void ChannelSelectItem::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  IconButton::Draw(target, clip, origin, opacity);
  DrawPart(leftArrow_, target, clip, origin, opacity);
  DrawPart(rightArrow_, target, clip, origin, opacity);
  DrawPart(number_, target, clip, origin, opacity);
}

// --- ManualTuningDialog ---------------------------------------------------------------

ManualTuningDialog::ManualTuningDialog() {
  WinID = WinIDs::WIN_ID_ManualTuningDialog;
  PrevState = KV_LATE_CLASS("MenuSystem::VidiChannelsMenu");
  IsShortcut = true;
  OnSetCaption(Text(MenuSystemPages::SID_MANUAL_TUNING));
  OnSetFrameWidth(0);
  KeyRoutingForm::OnSetBounds({0, 0, kDialogWidth, 400});
  list_.FocusMove = kv::MakeSlot(static_cast<Primitives::KeyRoutingForm*>(this), &KeyRoutingForm::ResetTimeout);
  list_.OnExit = kv::MakeSlot<WidgetClass>(this, &WidgetClass::ClearAllSlot);
  Add(&list_);
  for (Views::Text* t : {&channelHeading_, &newHeading_, &found_, &typeHeading_, &numberHeading_, &waiting_}) {
    t->OnSetFont(Resources::LoadResource(Fonts::MediumFont));
    t->OnSetColor(Colors::InputLabelStandardTextColor);
    t->OnSetAlignV(1);
    t->OnSetEllipsis(true);
  }
  found_.OnSetColor(Colors::StandardTextColor);
  waiting_.OnSetColor(Colors::StandardTextColor);
  waiting_.OnSetAlignH(1);
  channelHeading_.OnSetString(Text(Strings::SID_CHANNEL));
  newHeading_.OnSetString(Text(Strings::SID_NEW));
  found_.OnSetString(Text(Strings::SID_NEW_PROGRAMMES_FOUND));
  typeHeading_.OnSetString(Text(Strings::SID_TYPE));
  numberHeading_.OnSetString(Text(Strings::SID_CH_NUM));
  waiting_.OnSetString(Text(Strings::SID_WAITING));
  waiting_.OnSetVisible(false);
  Add(&channelHeading_);
  Add(&newHeading_);
  Add(&found_);
  Add(&typeHeading_);
  Add(&item_);
  Add(&numberHeading_);
  Add(&waiting_);
  item_.OnActivate = kv::MakeSlot(this, &ManualTuningDialog::SingleScanSlot);
  item_.OnResetTimeout = kv::MakeSlot(static_cast<Primitives::KeyRoutingForm*>(this), &KeyRoutingForm::ResetTimeout);
  item_.OnValueChanged = kv::MakeSlot(this, &ManualTuningDialog::PhysicalChannelChanged);
  item_.OnIsChannelEditChanged = kv::MakeSlot(this, &ManualTuningDialog::DoChangeChannelEdit);
  item_.OnSetOptionType(static_cast<uint32_t>(SkinBin::OPTION_TYPE_MANUAL_TUNING_CHANNEL));
  OnSetFocus(&item_);
  ManualTuningDialog::Refresh();
}

void ManualTuningDialog::Refresh() {
  ChannelsDialogClass::Refresh();
  const int32_t w = Bounds().W(), h = Bounds().H(), f = FrameWidth;
  const int32_t top = f + 7 + 30 + 10;
  numberHeading_.OnSetBounds({f + 20, top, f + 200, top + 27});
  item_.OnSetBounds({f + 210, top, f + 390, top + 27});
  const int32_t heads = top + 40;
  const int32_t listTop = heads + 26;
  const int32_t listBottom = std::max(listTop, h - f - 40);
  list_.OnSetBounds({f + 10, listTop, w - f - 10, listBottom});
  namespace C = ListForm::ChannelColumns;
  ListForm::PlaceHeadings(list_,
                          {{&channelHeading_, C::kNumber}, {&typeHeading_, C::kManualKind}, {&newHeading_, C::kManualNew}},
                          heads, heads + 24);
  found_.OnSetBounds({f + 20, h - f - 34, w - f - 20, h - f - 8});
  waiting_.OnSetBounds({f + 20, h - f - 34, w - f - 20, h - f - 8});
}

int32_t ManualTuningDialog::OnGetTotalChannelsNum() {
  SkinBin::Wrapper* w = Skin();
  return w ? w->GetNumChannelsInRing(0) : 0;
}

void ManualTuningDialog::OnSetPhysicalChannel(int32_t channel) {
  PhysicalChannel = channel;
  if (channel > 0) {
    list_.OnSetPhysicalChannel(channel);
    return;
  }
  // No channel chosen yet (0 is no physical channel of either medium): an
  // empty list, without asking the set for a channel it does not have.
  list_.PhysicalChannel = channel;
  if (SkinBin::Wrapper* w = Skin()) w->GetChannelListData()->Clear();
  if (!list_.OnGetDataSource()) {
    list_.OnSetItemNum(0);
    list_.OnSetDataSource(kv::New<ListForm::ListDataSource>());
  } else {
    list_.LoadScanedChannels();
  }
}

void ManualTuningDialog::ShowRingCount() {
  found_.OnSetString(kv::ConcatString(
      kv::LoadString(MANUAL_COUNT_LEAD),
      Join(Text(RING_SEPARATOR), {Text(Strings::SID_NEW_PROGRAMMES_FOUND), Number(OnGetTotalChannelsNum())})));
}

void ManualTuningDialog::ShowWaiting(bool on) {
  waiting_.OnSetVisible(on);
  found_.OnSetVisible(!on);
}

void ManualTuningDialog::DoChangeChannelEdit(kv::Object*) {
  if (item_.IsChannelEdit)
    NonMenuSystem::OptionBinding::ShowHelp(this, kEditingHelpMask,
                                           {Text(Strings::SID_INPUT), Text(Strings::SID_ENTER), Text(Strings::SID_BACK)});
  else
    NonMenuSystem::OptionBinding::ShowHelp(this, kSelectHelpMask,
                                           {Text(Strings::SID_INPUT), Text(Strings::SID_EDIT), Text(Strings::SID_BACK)});
}

void ManualTuningDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  ChannelsDialogClass::Initialize(param);
  DoChangeChannelEdit();
  auto* p = kv::New<Primitives::KeyRoutingParameter>();
  p->Owner = this;
  list_.Initialize(p);
  list_.Open();
  OnSetPhysicalChannel(PhysicalChannel);
  ShowRingCount();
  OnSetFocus(&item_);
}

void ManualTuningDialog::PhysicalChannelChanged(kv::Object*) {
  ShowRingCount();
  if (item_.ChNum != PhysicalChannel) OnSetPhysicalChannel(item_.ChNum);
}

void ManualTuningDialog::SingleScanSlot(kv::Object*) {
  SkinBin::Wrapper* w = Skin();
  if (!w) return;
  ShowWaiting(true);
  const ScanKinds kinds = ChosenScanKinds(w);
  if (w->StartSingleChannelScan(item_.ChNum, kinds.analog, kinds.digital, 1, 0, 1) != 0) {
    Core::LogError("Channels::ManualTuningDialog: the search of channel %i did not start", {item_.ChNum});
    ShowWaiting(false);
  }
}

void ManualTuningDialog::Close() {
  list_.Close();
  ChannelsDialogClass::Close();
}

kv::Object* ManualTuningDialog::HandleEvent(Core::Event* event) {
  if (auto* key = kv::Cast<Core::KeyEvent>(event)) {
    if (key->Down && (key->Code == KEY_PREV || key->Code == KEY_NEXT)) {
      list_.HandleEvent(event);
      ResetTimeout();
      return this;
    }
    return ChannelsDialogClass::HandleEvent(event);
  }
  if (kv::Cast<Events::XPM_EVENT_CHANNEL_SCAN_PROGRESS>(event)) {
    ShowWaiting(false);
    SkinBin::Wrapper* w = Skin();
    if (!w) return this;
    SkinBin::ChannelListData* table = w->GetChannelListData();
    table->HandleSingleScanEvent(event);
    list_.LoadScanedChannels();
    found_.OnSetString(kv::ConcatString(
        Join(kv::LoadString(COUNT_SEPARATOR), {Number(table->NewCount), Text(Strings::SID_NEW_PROGRAMMES_FOUND)}),
        kv::ConcatString(Text(RING_SEPARATOR), Number(OnGetTotalChannelsNum()))));
    if (w->OnGetMute() != 0) w->OnSetMute(0);
    return this;
  }
  if (kv::Cast<Events::XPM_EVENT_CHANNEL_ACQUIRED>(event)) return ChannelsDialogClass::HandleEvent(event);
  if (kv::Cast<Events::XPM_EVENT_RATING_REGION_UPDATED>(event) || kv::Cast<Events::XPM_EVENT_STANDBY>(event))
    return nullptr;
  return this;
}

}  // namespace Channels
