#include "units/ListForm/InputLists.h"

#include <algorithm>
#include <array>

#include "keys/keycodes.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/ListForm.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Bitmaps/ListBitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Core/Group.h"
#include "units/Core/Log.h"
#include "units/Core/Root.h"
#include "units/Events/CEC_EVENT_NAME_UPDATED.h"
#include "units/Fonts/Fonts.h"
#include "units/ListForm/ListContext.h"
#include "units/ListForm/ListGetters.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/SkinBin/HdmiCecData.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"
#include "units/SubSystem/State.h"
#include "units/SubSystem/SubSystemClass.h"

namespace ListForm {

using namespace keys;

KV_REGISTER_CLASS(ListForm::InputCourier);
KV_REGISTER_CLASS(ListForm::CecInputCourier);
KV_REGISTER_CLASS(ListForm::InputLabelingCourier);
KV_REGISTER_CLASS(ListForm::InputItem);
KV_REGISTER_CLASS(ListForm::CecInputItem);
KV_REGISTER_CLASS(ListForm::InputLabelingItem);
KV_REGISTER_CLASS(ListForm::AutoTuneList);
KV_REGISTER_CLASS(ListForm::ExternalInputList);
KV_REGISTER_CLASS(ListForm::CecInputList);
KV_REGISTER_CLASS(ListForm::InputLabelingList);

namespace {

constexpr int32_t kRowPitch = 28;

// The fixed label choices 0 to 8 (0 is no label). Labels are stored as
// these texts, so they are language-neutral.
const std::array<const kv::TextId*, kLabelChoices>& FixedLabels() {
  static const std::array<const kv::TextId*, kLabelChoices> labels{
      nullptr,          &INPUT_LABEL_BLURAY, &INPUT_LABEL_CABLE,    &INPUT_LABEL_DVD, &INPUT_LABEL_GAME,
      &INPUT_LABEL_PC, &INPUT_LABEL_RECORDER, &INPUT_LABEL_SATELLITE, &INPUT_LABEL_VCR};
  return labels;
}

kv::String FixedLabel(int32_t index) {
  if (index <= 0 || index >= kLabelChoices) return {};
  return kv::LoadString(*FixedLabels()[static_cast<size_t>(index)]);
}

void SetShown(Core::View& v, bool on) {
  if (v.IsVisible() != on) v.OnSetVisible(on);
}

}  // namespace

bool IsTunerType(int32_t type) { return type == 1 || type == 12; }

Resources::Bitmap* SourceTypeIcon(int32_t type) {
  switch (type) {
    case 1: return Resources::LoadResource(Bitmaps::BannerRF1Input);
    case 2:
    case 3: return Resources::LoadResource(Bitmaps::BannerVideoInput);
    case 4: return Resources::LoadResource(Bitmaps::BannerHDInput);
    case 5:
    case 10: return Resources::LoadResource(Bitmaps::BannerHDMIInput);
    case 6: return Resources::LoadResource(Bitmaps::BannerPCInput);
    case 12: return Resources::LoadResource(Bitmaps::BannerRF2Input);
    default: return nullptr;
  }
}

// --- Input row ----------------------------------------------------------------

// The room kept between a row's label and its number, as between the name
// and the label.
constexpr int32_t kLabelGap = 8;
// On a disabled row name and label are drawn in the same grey, where
// kLabelGap reads as a space inside one phrase ("TV Blu-ray"): there the
// label keeps more than a word space away.
constexpr int32_t kDisabledLabelGap = 14;

InputItem::InputItem() {
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::InputDialogButtonFocus));
  OnSetTextFont(Resources::LoadResource(Fonts::MediumFont));
  OnSetTextAlignH(0);
  TextView().OnSetAutoSize(true);
  // The label (a device name can be long) is sized in Refresh to its text or
  // to the room before the row's number, ending in an ellipsis there.
  label_.OnSetEllipsis(true);
  label_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  cec_.OnSetBitmap(Resources::LoadResource(Bitmaps::InputListCECImage));
  arrow_.OnSetBitmap(Resources::LoadResource(Bitmaps::InputListRightArrow));
  cec_.OnSetVisible(false);
  arrow_.OnSetVisible(false);
}

void InputItem::OnSetIndexImage(Resources::Bitmap* bitmap) {
  index_.OnSetBitmap(bitmap);
  InvalidateView();
}

void InputItem::OnSetLabelText(const kv::String& text) {
  label_.OnSetString(text);
  Refresh();
}

void InputItem::OnSetSourceType(int32_t type) {
  SourceType = type;
  typeIcon_.OnSetBitmap(SourceTypeIcon(type));
  Refresh();
}

void InputItem::OnSetText(const kv::String& text) {
  ListItem::OnSetText(text);
  Refresh();
}

void InputItem::ShowMarks() {
  SetShown(cec_, HasCecDevice);
  SetShown(arrow_, HasCecDevice && IsFocused());
  InvalidateView();
}

void InputItem::HandleFocus(bool focused) {
  ListItem::HandleFocus(focused);
  ShowMarks();
}

void InputItem::RefreshCtrlState(int32_t state) {
  ListItem::RefreshCtrlState(state);
  if (OnGetIsDisabled() != disabledLayout_) {
    disabledLayout_ = OnGetIsDisabled();
    Refresh();
  }
  // The label is light on the focus bar (and on a default row), dim on the
  // other rows and grey on a disabled one.
  if (state == ::Button::kStateDisabled)
    label_.OnSetColor(Colors::DisableTextColor);
  else if (state == ::Button::kStateNonfocused)
    label_.OnSetColor(Colors::InputLabelDefaultTextColor);
  else
    label_.OnSetColor(Colors::InputLabelStandardTextColor);
}

void InputItem::Refresh() {
  ListItem::Refresh();
  const kv::Rect b = Bounds();
  index_.OnSetBounds({0, 0, b.W(), b.H()});
  int32_t x = 8;
  if (Resources::Bitmap* icon = typeIcon_.OnGetBitmap()) {
    const kv::Point s = icon->GetFrameSize();
    typeIcon_.OnSetBounds({x, (b.H() - s.y) / 2, x + s.x, (b.H() - s.y) / 2 + s.y});
    x += s.x + 2;
  } else {
    typeIcon_.OnSetBounds({});
  }
  // The name and the label take the height of their line (auto size) and
  // stand in the middle of the row.
  const kv::Rect caption = TextView().Bounds();
  TextView().OnSetBounds(caption.MoveTo({x, (b.H() - caption.H()) / 2}));
  x += caption.W() + (OnGetIsDisabled() ? kDisabledLabelGap : kLabelGap);
  label_.OnSetFont(OnGetTextFont());
  // The label ends a gap before the row's number and the CEC badge beyond
  // it, with an ellipsis only when it is longer; it takes the name's line
  // height. The number's digit keeps to the right half of its box,
  // Bitmaps::kInputIndexLeft from the right edge of its image, which is
  // stretched over the whole row.
  Resources::Bitmap* index = index_.OnGetBitmap();
  const int32_t indexW = index ? index->GetFrameSize().x : 0;
  const int32_t digit = Bitmaps::kInputIndexLeft - Bitmaps::kInputIndexBox / 2;
  const int32_t numberX = indexW > digit ? (indexW - digit) * b.W() / indexW : b.W() - digit;
  const int32_t room = std::max(0, numberX - kLabelGap - x);
  const int32_t labelW = label_.WidthIn(room);
  const int32_t labelY = (b.H() - caption.H()) / 2;
  label_.OnSetBounds({x, labelY, x + labelW, labelY + caption.H()});
  cec_.OnSetBounds(kv::Rect{0, 0, 30, 14}.MoveTo({b.W() - 48 - 30 + 22, (b.H() - 14) / 2}));
  arrow_.OnSetBounds(kv::Rect{0, 0, 10, 14}.MoveTo({b.W() - 20, (b.H() - 14) / 2}));
  ShowMarks();
}

void InputItem::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  // The number stands on the row's background, the focus bar included.
  DrawBackground(target, clip, origin, opacity);
  DrawPart(index_, target, clip, origin, opacity);
  DrawContent(target, clip, origin, opacity);
  for (Core::View* part : {static_cast<Core::View*>(&typeIcon_), static_cast<Core::View*>(&label_),
                           static_cast<Core::View*>(&cec_), static_cast<Core::View*>(&arrow_)})
    DrawPart(*part, target, clip, origin, opacity);
}

void InputItem::SetData(kv::Object* data) {
  ListItem::SetData(data);
  auto* c = kv::Cast<InputCourier>(data);
  if (!c) return;
  CecAddress = c->CecAddress;
  HasCecDevice = c->HasCecDevice;
  SourceId = c->SourceId;
  OnSetLabelText(c->Label);
  OnSetIndexImage(c->IndexImage.get());
  OnSetSourceType(c->SourceType);
  OnSetIsDisabled(c->IsDisabled != 0);
  ShowMarks();
}

kv::Object* InputItem::GetData(kv::Object* data) {
  auto* c = kv::Cast<InputCourier>(data);
  if (!c) c = kv::New<InputCourier>();
  ListItem::GetData(c);
  c->IsDisabled = OnGetIsDisabled() ? 1 : 0;
  c->CecAddress = CecAddress;
  c->HasCecDevice = HasCecDevice;
  c->SourceId = SourceId;
  c->Label = OnGetLabelText();
  c->IndexImage = index_.OnGetBitmap();
  c->SourceType = SourceType;
  return c;
}

// --- CEC row --------------------------------------------------------------------

CecInputItem::CecInputItem() {
  OnSetBounds({0, 0, 250, 28});
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::CECInputDialogButtonFocus));
  OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::CECInputDialogButtonNonfocus));
  OnSetTextAlignH(0);
  marker_.OnSetBitmap(Resources::LoadResource(Bitmaps::InputListLeftArrow));
  marker_.OnSetVisible(false);
}

void CecInputItem::OnSetIsCurrent(bool on) {
  IsCurrent = on;
  SetShown(marker_, on);
  InvalidateView();
}

void CecInputItem::Refresh() {
  ListItem::Refresh();
  const kv::Rect b = Bounds();
  TextView().OnSetBounds({20, 0, std::max(20, b.W()), b.H()});
  marker_.OnSetBounds(kv::Rect{0, 0, 10, 14}.MoveTo({4, (b.H() - 14) / 2}));
}

void CecInputItem::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  ListItem::Draw(target, clip, origin, opacity);
  DrawPart(marker_, target, clip, origin, opacity);
}

void CecInputItem::SetData(kv::Object* data) {
  auto* c = kv::Cast<CecInputCourier>(data);
  if (!c) return;
  ListItem::SetData(data);
  // "n - name": the row's number before the device name.
  OnSetText(kv::ConcatString(kv::ConcatString(kv::NewStringInt(c->ItemIndex + 1, 0), kv::LoadString(CEC_ROW_SEPARATOR)),
                             c->Text));
  CecAddress = c->CecAddress;
  SourceId = c->SourceId;
  OnSetIsCurrent(c->IsCurrent);
}

kv::Object* CecInputItem::GetData(kv::Object* data) {
  auto* c = kv::Cast<CecInputCourier>(data);
  if (!c) c = kv::New<CecInputCourier>();
  ListItem::GetData(c);
  c->IsCurrent = IsCurrent;
  c->CecAddress = CecAddress;
  c->SourceId = SourceId;
  return c;
}

// --- Labelling row --------------------------------------------------------------

InputLabelingItem::InputLabelingItem() {
  ActivateKey = KEY_GREEN;
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::InputLabelsListButtonFocus));
  OnSetTextAlignH(0);
  TextView().OnSetEllipsis(true);
  label_.OnSetAlignH(1);
  label_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  label_.OnSetString(kv::LoadString(INPUT_LABEL_EMPTY));
  check_.OnSetBitmap(Resources::LoadResource(Bitmaps::CheckBox));
  left_.OnSetBitmap(Resources::LoadResource(Bitmaps::InputListLeftArrow));
  right_.OnSetBitmap(Resources::LoadResource(Bitmaps::InputListRightArrow));
  left_.OnSetVisible(false);
  right_.OnSetVisible(false);
}

void InputLabelingItem::OnSetIsSkip(bool on) {
  IsSkip = on;
  check_.OnSetBitmap(Resources::LoadResource(on ? Bitmaps::CheckBoxCheck : Bitmaps::CheckBox));
  InvalidateView();
}

void InputLabelingItem::OnSetLabelText(const kv::String& text) {
  LabelText = text;
  label_.OnSetString(text.Empty() ? kv::LoadString(INPUT_LABEL_EMPTY) : text);
  InvalidateView();
}

// The lowest the key pad opened from a labelling row reaches: the top of
// the help bar at the foot of the screen.
constexpr int32_t kKeyPadFoot = 503;
// The key pad beside the labelling dialog keeps this gap from its frame.
constexpr int32_t kKeyPadGap = 4;

void InputLabelingItem::Refresh() {
  ListItem::Refresh();
  const kv::Rect b = Bounds();
  TextView().OnSetBounds({8, 0, 126, b.H()});
  label_.OnSetBounds({146, 0, 270, b.H()});
  label_.OnSetFont(OnGetTextFont());
  left_.OnSetBounds(kv::Rect{0, 0, 10, 14}.MoveTo({134, (b.H() - 14) / 2}));
  right_.OnSetBounds(kv::Rect{0, 0, 10, 14}.MoveTo({272, (b.H() - 14) / 2}));
  check_.OnSetBounds(kv::Rect{0, 0, 20, 20}.MoveTo({std::max(292, b.W() - 28), (b.H() - 20) / 2}));
}

void InputLabelingItem::HandleFocus(bool focused) {
  ListItem::HandleFocus(focused);
  SetShown(left_, focused);
  SetShown(right_, focused);
  label_.OnSetColor(focused ? Colors::White : Colors::StandardTextColor);
}

void InputLabelingItem::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  ListItem::Draw(target, clip, origin, opacity);
  for (Core::View* part : {static_cast<Core::View*>(&label_), static_cast<Core::View*>(&check_),
                           static_cast<Core::View*>(&left_), static_cast<Core::View*>(&right_)})
    DrawPart(*part, target, clip, origin, opacity);
}

kv::String InputLabelingItem::ChoiceText(int32_t index) const {
  if (!CustomLabel.Empty() && index == LabelCount - 1) return CustomLabel;
  return FixedLabel(index);
}

void InputLabelingItem::ChangeLabel(bool forward) {
  const int32_t count = std::max(1, LabelCount);
  LabelOptionIndex = ((LabelOptionIndex + (forward ? 1 : -1)) % count + count) % count;
  OnSetLabelText(ChoiceText(LabelOptionIndex));
  if (SkinBin::Wrapper* w = SkinWrapper()) w->SetSourceLabel(SourceId, LabelText);
}

void InputLabelingItem::SkipSource() {
  OnSetIsSkip(!IsSkip);
  if (SkinBin::Wrapper* w = SkinWrapper()) w->SetSourceDisable(SourceId, IsSkip ? 1 : 0);
}

kv::Object* InputLabelingItem::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return ListItem::HandleEvent(event);
  switch (key->Code) {
    case KEY_LEFT: ChangeLabel(false); break;
    case KEY_RIGHT: ChangeLabel(true); break;
    case KEY_RED: SkipSource(); break;
    case KEY_OK: break;
    default: return ListItem::HandleEvent(event);
  }
  kv::Signal(FocusMove, this);
  return this;
}

void InputLabelingItem::SetData(kv::Object* data) {
  ListItem::SetData(data);
  auto* c = kv::Cast<InputLabelingCourier>(data);
  if (!c) return;
  OnSetIsSkip(c->IsSkip);
  SourceId = c->SourceId;
  CustomLabel = c->CustomLabel;
  LabelCount = c->LabelCount;
  OnSetLabelText(c->LabelText);
  if (!CustomLabel.Empty() && LabelText == CustomLabel) {
    LabelOptionIndex = kLabelChoicesCustom - 1;
    return;
  }
  for (int32_t i = 0; i < kLabelChoices; ++i) {
    if (FixedLabel(i) == LabelText) {
      LabelOptionIndex = i;
      return;
    }
  }
  // A stored label that matches no choice keeps the row's index.
}

kv::Object* InputLabelingItem::GetData(kv::Object* data) {
  auto* c = kv::Cast<InputLabelingCourier>(data);
  if (!c) c = kv::New<InputLabelingCourier>();
  ListItem::GetData(c);
  c->IsSkip = IsSkip;
  c->SourceId = SourceId;
  c->LabelText = LabelText;
  c->LabelCount = LabelCount;
  c->CustomLabel = CustomLabel;
  return c;
}

// --- Auto-tune lists --------------------------------------------------------------

AutoTuneList::AutoTuneList() {
  timer_.OnSetBegin(kInputAutoTuneMs);
  timer_.OnSetPeriod(0);
  timer_.OnSetEnabled(false);
  timer_.OnTrigger = kv::MakeSlot(this, &AutoTuneList::TimerSlot);
}

void AutoTuneList::TuneToSource(kv::Object* /*sender*/) {}

void AutoTuneList::TimerSlot(kv::Object* /*sender*/) { TuneToSource(this); }

void AutoTuneList::ShrinkToRows() {
  const kv::Rect b = Bounds();
  if (fullHeight_ < 0) fullHeight_ = b.H();
  const int32_t missing = std::max(0, MaxRows - std::max(0, ItemNum));
  const int32_t h = std::max(0, fullHeight_ - missing * (ItemInterval + kRowPitch));
  OnSetBounds({b.x1, b.y1, b.x2, b.y1 + h});
}

kv::Object* AutoTuneList::StepAndRestartTune(Core::Event* event) {
  StopAutoTune();
  Core::KeyEvent step;
  step.Initialize(IncreaseKey, 1);
  (void)event;
  ListClass::HandleEvent(&step);
  timer_.Activate();
  return this;
}

// --- Input list -------------------------------------------------------------------

ExternalInputList::ExternalInputList() {
  MaxRows = 10;
  // The focus bar spans the panel, as far from its right edge as its left.
  RowsTakeWidth = true;
  ListMode = false;
  ItemClass = &InputItem::StaticClass();
  OnActivateOption = kv::MakeSlot(this, &ExternalInputList::TuneToSource);
}

void ExternalInputList::Initialize(Primitives::KeyRoutingParameter* param) {
  SkinBin::Wrapper* w = SkinWrapper();
  // The rows name the HDMI-CEC devices of the device table: it is read as
  // the list opens, so that the devices show (and Right reaches them) as
  // soon as HDMI-CEC control is on, whatever screen read it before.
  if (w && w->GetHdmiCecData()->GetEnableKELVO()) {
    w->GetHdmiCecData()->InitDevList();
    cecListInitialized_ = true;
  }
  ListClass::Initialize(param);
  ShrinkToRows();
  InputLock = w && w->OnGetInputLock() != 0;
}

int32_t ExternalInputList::GetItemsNum() {
  SkinBin::Wrapper* w = SkinWrapper();
  return w ? std::max(0, w->GetValidSourceNum()) : 0;
}

int32_t ExternalInputList::GetFocusItemIndex() {
  SkinBin::Wrapper* w = SkinWrapper();
  return w ? std::max(0, w->GetSourceIndex(w->GetCurrentSource(0))) : 0;
}

Forms::Ctrl* ExternalInputList::GetScrolledItem(Forms::Ctrl* row, int32_t direction) {
  if (!row) return nullptr;
  Forms::Ctrl* next = row;
  for (size_t guard = GetRows().size(); guard > 0; --guard) {
    next = ListClass::GetScrolledItem(next, direction);
    if (!next || next == row) return row;
    auto* item = kv::Cast<ListItem>(next);
    if (item && !item->OnGetIsDisabled()) return next;
  }
  return row;
}

kv::Object* ExternalInputList::HandleEvent(Core::Event* event) {
  if (kv::Cast<Events::CEC_EVENT_NAME_UPDATED>(event)) {
    // The rows show the device names of the CEC table: read it again.
    if (SkinBin::Wrapper* w = SkinWrapper()) w->GetHdmiCecData()->InitDevList();
    Reload();
    return nullptr;
  }
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down) {
    if (key->Code == IncreaseKey || key->Code == DecreaseKey) {
      StopAutoTune();
    } else if (key->Code == KEY_RIGHT) {
      ProcessRightKey();
      kv::Signal(FocusMove, this);
      return this;
    } else if (key->Code == KEY_INPUT) {
      return StepAndRestartTune(event);
    }
  }
  return ListClass::HandleEvent(event);
}

void ExternalInputList::TuneToSource(kv::Object* /*sender*/) {
  StopAutoTune();
  auto* row = kv::Cast<InputItem>(GetFocusedRow());
  SkinBin::Wrapper* w = SkinWrapper();
  if (!row || row->OnGetIsDisabled() || !w) return;
  if (row->SourceId != w->GetCurrentSource(0)) {
    if (row->SourceType == 5 || row->SourceType == 10)
      w->GetHdmiCecData()->SetHdmiCecAddrEx(row->SourceId, row->CecAddress, 1);
    w->SetSource(0, row->SourceId);
  }
  kv::Signal(OnExit, this);
}

void ExternalInputList::ProcessRightKey() {
  auto* row = kv::Cast<InputItem>(GetFocusedRow());
  SkinBin::Wrapper* w = SkinWrapper();
  if (!row || !row->HasCecDevice || !w) return;
  SkinBin::HdmiCecData* cec = w->GetHdmiCecData();
  if (!cecListInitialized_) {
    cec->InitDevList();
    cecListInitialized_ = true;
  }
  const int32_t count = cec->GetDevNumBySrcId(row->SourceId);
  if (count <= 0) return;
  auto* param = SkinBin::UserRefInt::Make(count, Constants::MSG_FROM_NONMENUSYSTEM);
  param->Value2 = row->SourceId;
  auto* state = kv::New<SubSystem::State>();
  state->Class = KV_LATE_CLASS("NonMenuSystem::CecInputDialog");
  state->Param = param;
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_CHANGE_STATE, state);
  if (Agent::MessageAgent* agent = MessageAgent()) agent->Dispatch(msg, KV_LATE_CLASS("NonMenuSystem::NonMenuSystem"));
}

void ExternalInputList::RefreshItems(int32_t index) {
  SkinBin::Wrapper* w = SkinWrapper();
  if (!w || index < 1 || index >= w->GetValidSourceNum()) return;
  kv::Trace("ListForm::ExternalInputList: row %i rebuilt", {index});
  std::vector<Forms::Ctrl*> rows = GetRows();
  if (index >= static_cast<int32_t>(rows.size())) return;
  auto* c = kv::New<InputCourier>();
  c->SourceId = w->GetSourceId(index);
  c->Text = w->GetSourceName(c->SourceId);
  c->Label = w->GetSourceLabel(c->SourceId);
  c->ItemIndex = index;
  c->IsDisabled = 0;
  if (auto* row = kv::Cast<InputItem>(rows[static_cast<size_t>(index)])) row->SetData(c);
}

kv::Object* GetInputItemData(ListDataSource* source, ListClass* /*list*/, int32_t i) {
  auto* c = kv::New<InputCourier>();
  c->ItemIndex = i;
  SkinBin::Wrapper* w = SkinWrapper();
  if (!w) return c;
  c->SourceId = w->GetSourceId(i);
  c->Text = w->GetSourceName(c->SourceId);
  c->SourceType = w->GetSourceType(c->SourceId);
  if (SkinBin::CecDeviceEntry* dev = w->GetHdmiCecData()->IsCecDeviceConnected(c->SourceId)) {
    c->HasCecDevice = true;
    c->Label = dev->Name;
    c->CecAddress = static_cast<uint8_t>(dev->LogicalAddress);
  } else {
    c->Label = w->GetSourceLabel(c->SourceId);
  }
  const bool tuner = IsTunerType(c->SourceType);
  bool disabled = false;
  if (w->OnGetInputLock() != 0)
    disabled = !tuner;
  else if (w->GetLiveTVState(0) == Constants::XPM_TV_STATE_RECORDING_LIVE_TV)
    disabled = !tuner;
  else
    disabled = w->GetSourceDisable(c->SourceId);
  c->IsDisabled = disabled ? 1 : 0;
  c->IndexImage = source->GetSourceIcon(i);
  return c;
}

// --- CEC list ----------------------------------------------------------------------

CecInputList::CecInputList() {
  MaxRows = 6;
  WrapAround = false;
  ItemClass = &CecInputItem::StaticClass();
  OnActivateOption = kv::MakeSlot(this, &CecInputList::TuneToSource);
}

void CecInputList::Initialize(Primitives::KeyRoutingParameter* param) {
  auto* ref = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr;
  DeviceCount = ref ? ref->Value : 0;
  // The rows read the input from the data source as soon as the start-up
  // moves the cursor.
  if (!DataSource) OnSetDataSource(kv::New<ListDataSource>());
  if (ref) DataSource->Param = ref->Value2;
  ListClass::Initialize(param);
  ShrinkToRows();
}

int32_t CecInputList::GetItemsNum() { return std::max(0, DeviceCount); }

int32_t CecInputList::GetFocusItemIndex() {
  SkinBin::Wrapper* w = SkinWrapper();
  if (!w || !DataSource) return 0;
  SkinBin::HdmiCecData* cec = w->GetHdmiCecData();
  for (int32_t i = 0; i < DeviceCount; ++i) {
    SkinBin::CecDeviceEntry* dev = cec->GetDevInfoBySrcId(DataSource->Param, i);
    if (dev && dev->IsCurrent) return i;
  }
  return 0;
}

kv::Object* CecInputList::HandleEvent(Core::Event* event) {
  if (kv::Cast<Events::CEC_EVENT_NAME_UPDATED>(event)) {
    if (SkinBin::Wrapper* w = SkinWrapper()) w->GetHdmiCecData()->InitDevList();
    Reload();
    return nullptr;
  }
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down) {
    if (key->Code == IncreaseKey || key->Code == DecreaseKey) {
      StopAutoTune();
      Forms::Ctrl* before = GetFocusedRow();
      const int32_t cursor = DataSource ? DataSource->Cursor : 0;
      kv::Object* answer = ListClass::HandleEvent(event);
      if (GetFocusedRow() == before && (DataSource ? DataSource->Cursor : 0) == cursor) {
        // The end of the devices: the input list carries the move on.
        const kv::Class* dialogClass = KV_LATE_CLASS("NonMenuSystem::CecInputDialog");
        const kv::Class* inputDialog = KV_LATE_CLASS("NonMenuSystem::ExternalInputDialog");
        auto* dialog = kv::Cast<Primitives::KeyRoutingForm>(Owner());
        if (dialog && dialogClass && kv::ClassOf(dialog) == dialogClass && inputDialog) {
          dialog->Close();
          auto* msg = kv::New<Structures::Message>();
          msg->Initialize(Constants::MSG_EVENT_CACHED, event);
          if (Agent::MessageAgent* agent = MessageAgent()) agent->Dispatch(msg, inputDialog);
        }
      }
      return answer;
    }
    if (key->Code == KEY_LEFT) {
      kv::Signal(OnExit, this);
      return this;
    }
    if (key->Code == KEY_INPUT) return StepAndRestartTune(event);
  }
  return ListClass::HandleEvent(event);
}

void CecInputList::TuneToSource(kv::Object* /*sender*/) {
  StopAutoTune();
  auto* row = kv::Cast<CecInputItem>(GetFocusedRow());
  SkinBin::Wrapper* w = SkinWrapper();
  if (!row || !row->IsEnabled() || !w) return;
  w->GetHdmiCecData()->SetHdmiCecAddr(row->SourceId, row->CecAddress);
  w->SetSource(0, row->SourceId);
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_CLEAR_ALL, nullptr);
  if (Agent::MessageAgent* agent = MessageAgent()) agent->Dispatch(msg);
}

kv::Object* GetCecInputItemData(ListDataSource* source, ListClass* /*list*/, int32_t i) {
  auto* c = kv::New<CecInputCourier>();
  c->ItemIndex = i;
  c->SourceId = source->Param;
  SkinBin::Wrapper* w = SkinWrapper();
  SkinBin::CecDeviceEntry* dev = w ? w->GetHdmiCecData()->GetDevInfoBySrcId(source->Param, i) : nullptr;
  if (dev) {
    c->Text = dev->Name;
    c->CecAddress = static_cast<uint8_t>(dev->LogicalAddress);
    c->IsCurrent = dev->IsCurrent != 0;
  }
  return c;
}

// --- Labelling list -----------------------------------------------------------------

InputLabelingList::InputLabelingList() {
  MaxRows = 8;
  ItemXOffset = 20;
  RowsTakeWidth = true;
  ItemClass = &InputLabelingItem::StaticClass();
  OnActivateOption = kv::MakeSlot(this, &InputLabelingList::DoChangeLabel);
}

void InputLabelingList::Initialize(Primitives::KeyRoutingParameter* param) {
  ListClass::Initialize(param);
  if (Agent::MessageAgent* agent = MessageAgent()) agent->Register(this);
}

void InputLabelingList::Close() {
  IndicatedList::Close();
  if (Agent::MessageAgent* agent = MessageAgent()) agent->UnRegister(this);
}

int32_t InputLabelingList::GetItemsNum() {
  SkinBin::Wrapper* w = SkinWrapper();
  return w ? std::max(0, w->GetValidSourceNum()) : 0;
}

void InputLabelingList::InitializeItems() {
  for (Forms::Ctrl* ctrl : GetAllRows())
    if (auto* row = kv::Cast<InputLabelingItem>(ctrl)) row->FocusMove = FocusMove;
}

void InputLabelingList::DoChangeLabel(kv::Object* sender) {
  auto* row = kv::Cast<InputLabelingItem>(sender);
  const kv::Class* dialogClass = KV_LATE_CLASS("NonMenuSystem::InputLabelingDialog");
  const kv::Class* keyPad = KV_LATE_CLASS("NonMenuSystem::KeyPad");
  auto* dialog = kv::Cast<Primitives::KeyRoutingForm>(Owner());
  if (!row || !dialog || !dialogClass || !keyPad || kv::ClassOf(dialog) != dialogClass) return;
  auto* system = kv::Cast<SubSystem::SubSystemClass>(dialog->SubSystemInstance.get());
  if (!system) return;
  auto* widget = kv::Cast<NonMenuSystem::WidgetClass>(dialog);
  const bool fromMenu = widget && widget->MenuTriggered;
  auto* param = SkinBin::UserRefInt::Make(
      MaxLabelLength, fromMenu ? Constants::MSG_FROM_MENUSYSTEM : Constants::MSG_FROM_NONMENUSYSTEM);
  if (!row->CustomLabel.Empty() && row->LabelOptionIndex == row->LabelCount - 1) param->String = row->CustomLabel;
  auto* state = kv::New<SubSystem::State>();
  state->Class = keyPad;
  state->PrevState = dialogClass;
  state->Param = param;
  Primitives::KeyRoutingForm* pad = system->ChangeState(state);
  // The key pad stands right of the names' column, just below the row being
  // labelled: the row's name and label stay in sight whole, and its edges
  // fall between rows, so no other row's label is left half covered. Where
  // the help bar leaves no room below, it stands beside the dialog, level
  // with the row: above the row it would cut the dialog's caption and
  // headings.
  if (pad && pad->IsOpen()) {
    const kv::Rect r = row->GetAbsoluteBounds();
    const kv::Rect p = pad->Bounds();
    int32_t x = r.x1 + InputLabelingItem::kNameColumnEnd;
    int32_t y = r.y2;
    if (y + p.H() > kKeyPadFoot) {
      x = std::min(dialog->GetAbsoluteBounds().x2 + kKeyPadGap, Core::Root::kWidth - p.W());
      y = std::max(0, std::min(r.y1, kKeyPadFoot - p.H()));
    }
    pad->OnSetBounds({x, y, x + p.W(), y + p.H()});
  }
}

void InputLabelingList::HandleMessage(Structures::Message* msg) {
  if (!msg || msg->Code != Constants::MSG_LABEL_CHANGE) return;
  if (Core::Group* owner = Owner()) {
    if (owner->Owner()) owner->Owner()->OnSetFocus(owner);
    owner->OnSetFocus(this);
  }
  auto* text = kv::Cast<Structures::RefString>(msg->ObjParam.get());
  auto* row = kv::Cast<InputLabelingItem>(GetFocusedRow());
  SkinBin::Wrapper* w = SkinWrapper();
  if (!text || !row || !w) return;
  if (text->Value.Empty()) {
    // An empty entry means no label: choice 0, and no custom choice.
    row->CustomLabel = kv::String();
    row->LabelCount = kLabelChoices;
    row->LabelOptionIndex = 0;
    row->OnSetLabelText(kv::String());
    w->SetSourceLabel(row->SourceId, kv::String());
    w->SetSourceCustomLabel(row->SourceId, kv::String());
    return;
  }
  if (text->Value == row->LabelText && text->Value == row->CustomLabel) return;
  row->CustomLabel = text->Value;
  row->LabelCount = kLabelChoicesCustom;
  row->LabelOptionIndex = kLabelChoicesCustom - 1;
  row->OnSetLabelText(text->Value);
  w->SetSourceLabel(row->SourceId, text->Value);
  w->SetSourceCustomLabel(row->SourceId, text->Value);
}

kv::Object* GetInputLabelingItemData(ListDataSource* /*source*/, ListClass* /*list*/, int32_t i) {
  auto* c = kv::New<InputLabelingCourier>();
  c->ItemIndex = i;
  SkinBin::Wrapper* w = SkinWrapper();
  if (!w) return c;
  c->SourceId = w->GetSourceId(i);
  c->Text = w->GetSourceName(c->SourceId);
  c->LabelText = w->GetSourceLabel(c->SourceId);
  c->IsSkip = w->GetSourceDisable(c->SourceId);
  c->CustomLabel = w->GetSourceCustomLabel(c->SourceId);
  c->LabelCount = c->CustomLabel.Empty() ? kLabelChoices : kLabelChoicesCustom;
  return c;
}

}  // namespace ListForm
