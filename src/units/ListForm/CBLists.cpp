#include "units/ListForm/CBLists.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/ListForm.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/MessageTypes.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/Fonts/Fonts.h"
#include "units/ListForm/InputLists.h"
#include "units/ListForm/ListContext.h"
#include "units/ListForm/ListGetters.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/HdmiCecData.h"
#include "units/SkinBin/HistoryAgent.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/ChannelData.h"
#include "units/Structures/HistoryInfo.h"
#include "units/Structures/VirtualChannel.h"

namespace ListForm {

using namespace keys;

KV_REGISTER_CLASS(ListForm::CBListCourier);
KV_REGISTER_CLASS(ListForm::CBInputListCourier);
KV_REGISTER_CLASS(ListForm::CBChannelListCourier);
KV_REGISTER_CLASS(ListForm::CBCECListCourier);
KV_REGISTER_CLASS(ListForm::CBFavHistoryListCourier);
KV_REGISTER_CLASS(ListForm::CBListItem);
KV_REGISTER_CLASS(ListForm::CBInputListItem);
KV_REGISTER_CLASS(ListForm::CBChannelListItem);
KV_REGISTER_CLASS(ListForm::CBCECListItem);
KV_REGISTER_CLASS(ListForm::CBFavHistoryListItem);
KV_REGISTER_CLASS(ListForm::CBListClass);
KV_REGISTER_CLASS(ListForm::CBInputList);
KV_REGISTER_CLASS(ListForm::CBCECList);
KV_REGISTER_CLASS(ListForm::CBHistoryList);

namespace {

// A tile and the focus frame 3 px around it end where the help bar begins
// (y 503 on screen: the strip's rows start at 455), so nothing of them runs
// under the bar.
constexpr int32_t kTileW = 128;
constexpr int32_t kTileH = 45;
constexpr int32_t kLabelTop = 29;
}  // namespace

// --- Tiles ----------------------------------------------------------------------

CBListItem::CBListItem() {
  OnSetBounds({0, 0, kTileW, kTileH});
  OnSetTextAlignH(1);
  // Source and channel names come from the set: a long one ends in "...".
  TextView().OnSetEllipsis(true);
  label_.OnSetFont(Resources::LoadResource(Fonts::ExtraSmallFont));
  label_.OnSetColor(Colors::StandardTextColor);
  label_.OnSetAlignH(1);
  label_.OnSetEllipsis(true);
  name_.OnSetFont(Resources::LoadResource(Fonts::ExtraSmallFont));
  name_.OnSetColor(Colors::StandardTextColor);
  name_.OnSetEllipsis(true);
  name_.OnSetVisible(false);
}

void CBListItem::OnSetLabelText(const kv::String& text) {
  label_.OnSetString(text);
  Layout();
  InvalidateView();
}

void CBListItem::OnSetSourceType(int32_t type) {
  SourceType = type;
  icon2_.OnSetBitmap(SourceTypeIcon(type));
  PostRefreshCtrlState();
  Refresh();
}

void CBListItem::OnSetNameText(const kv::String& text) {
  name_.OnSetString(text);
  InvalidateView();
}

void CBListItem::Refresh() {
  ListItem::Refresh();
  Layout();
}

// The tile stacks, top to bottom, the source icon, the text (number or
// source name) and the label (channel or device name) in its 45 px. Without
// a label the text takes the lower rows; with both an icon and a label the
// text keeps right of the icon, since the three cannot stack apart.
void CBListItem::Layout() {
  const kv::Rect b = Bounds();
  const Resources::Bitmap* icon = icon2_.OnGetBitmap();
  if (icon) {
    const kv::Point s = icon->GetFrameSize();
    icon2_.OnSetBounds({4, 1, 4 + s.x, 1 + s.y});
  } else {
    icon2_.OnSetBounds({});
  }
  const bool label = !label_.OnGetString().Empty();
  const int32_t textBottom = label ? kLabelTop : b.H() - 2;
  TextView().OnSetBounds({icon && label ? 42 : 2, textBottom - 20, b.W() - 2, textBottom});
  label_.OnSetBounds({4, kLabelTop, b.W() - 4, b.H()});
  name_.OnSetBounds({32, 1, b.W() - 4, 15});
}

void CBListItem::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  ListItem::Draw(target, clip, origin, opacity);
  for (Core::View* part : {static_cast<Core::View*>(&icon2_), static_cast<Core::View*>(&label_),
                           static_cast<Core::View*>(&name_)})
    DrawPart(*part, target, clip, origin, opacity);
}

void CBListItem::SetData(kv::Object* data) {
  ListItem::SetData(data);
  auto* c = kv::Cast<CBListCourier>(data);
  if (!c) return;
  OnSetLabelText(c->LabelText);
  OnSetSourceType(c->SourceType);
  SourceId = c->SourceId;
}

kv::Object* CBListItem::GetData(kv::Object* data) {
  auto* c = kv::Cast<CBListCourier>(data);
  if (!c) c = kv::New<CBListCourier>();
  ListItem::GetData(c);
  c->LabelText = OnGetLabelText();
  c->SourceType = SourceType;
  c->SourceId = SourceId;
  return c;
}

CBInputListItem::CBInputListItem() { NameView().OnSetBounds({32, 1, kTileW - 4, 15}); }

void CBChannelListItem::SetData(kv::Object* data) {
  CBListItem::SetData(data);
  auto* c = kv::Cast<CBChannelListCourier>(data);
  if (!c) return;
  ChannelKind = c->ChannelKind;
  Major = c->Major;
  Minor = c->Minor;
  if (SkinBin::Wrapper* w = SkinWrapper()) OnSetText(w->GetChannelNumberStr(ChannelKind != 0, Major, Minor));
}

void CBCECListItem::SetData(kv::Object* data) {
  CBListItem::SetData(data);
  if (auto* c = kv::Cast<CBCECListCourier>(data)) CecAddress = c->CecAddress;
}

CBFavHistoryListItem::CBFavHistoryListItem() { NameView().OnSetBounds({32, 1, kTileW - 4, 15}); }

void CBFavHistoryListItem::SetData(kv::Object* data) {
  CBListItem::SetData(data);
  auto* c = kv::Cast<CBFavHistoryListCourier>(data);
  if (!c) return;
  ChannelKind = c->ChannelKind;
  IsCec = c->IsCec;
  CecAddress = c->CecAddress;
  Major = c->Major;
  Minor = c->Minor;
  if (IsTunerType(SourceType))
    if (SkinBin::Wrapper* w = SkinWrapper()) OnSetText(w->GetChannelNumberStr(ChannelKind != 0, Major, Minor));
}

// --- The strip --------------------------------------------------------------------

CBListClass::CBListClass() {
  ArrangeMode = 0;
  ItemXOffset = 21;
  ItemYOffset = 4;
  ItemInterval = 5;
  MaxRows = 6;
  DecreaseKey = KEY_LEFT;
  IncreaseKey = KEY_RIGHT;
  ItemClass = &CBListItem::StaticClass();
  timer_.OnSetBegin(kBrowserTuneMs);
  timer_.OnSetPeriod(0);
  timer_.OnSetEnabled(false);
  timer_.OnTrigger = kv::MakeSlot(this, &CBListClass::TuneSlot);
  left_.OnSetEnabledBitmap(Resources::LoadResource(Bitmaps::ChBrowserArrowLeft));
  right_.OnSetEnabledBitmap(Resources::LoadResource(Bitmaps::ChBrowserArrowRight));
  left_.OnSetBounds({0, 4, 24, 4 + kTileH});
  right_.OnSetBounds({834, 4, 858, 4 + kTileH});
  Add(&left_);
  Add(&right_);
  focusFrame_.OnSetVisible(false);
  Add(&focusFrame_);
  PrevIndicator = &left_;
  NextIndicator = &right_;
}

void CBListClass::Initialize(Primitives::KeyRoutingParameter* param) {
  SkinBin::Wrapper* w = SkinWrapper();
  if (w && w->OnGetNavigation() != 0)
    OnFocusOption = kv::MakeSlot(this, &CBListClass::DoFocus);
  else
    OnActivateOption = kv::MakeSlot(this, &CBListClass::TuneSlot);
  ListClass::Initialize(param);
}

void CBListClass::InitializeItems() {
  for (Forms::Ctrl* ctrl : GetAllRows())
    if (auto* row = kv::Cast<CBListItem>(ctrl)) row->OnSetFocusFrame(&focusFrame_);
}

void CBListClass::Refresh() {
  ListClass::Refresh();
  RestackTop(&focusFrame_);
  FrameTheFocusedTile();
}

void CBListClass::FrameTheFocusedTile() {
  CBListItem* tile = FocusedTile();
  if (!tile)
    focusFrame_.MoveTo(nullptr);
  else if (!focusFrame_.IsVisible())
    focusFrame_.MoveTo(tile);
}

void CBListClass::TuneAction() { kv::Signal(OnUpdateBanner, this); }

void CBListClass::TuneSlot(kv::Object* /*sender*/) {
  timer_.OnSetEnabled(false);
  TuneAction();
}

kv::Object* CBListClass::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return ListClass::HandleEvent(event);
  const bool outer = viewerMove_;
  viewerMove_ = true;
  kv::Object* taken = ListClass::HandleEvent(event);
  viewerMove_ = outer;
  return taken;
}

void CBListClass::DoFocus(kv::Object* /*sender*/) {
  // Only a move by the viewer tunes: the strip's first focus, the refocus
  // after a tune or a reload is the channel already on.
  if (viewerMove_) timer_.Activate();
}

bool CBListClass::IsInputLock(int32_t source) {
  SkinBin::Wrapper* w = SkinWrapper();
  if (!w || IsTunerType(w->GetSourceType(source)) || w->OnGetInputLock() == 0) return false;
  kv::Trace("ListForm::CBListClass: input %i is locked", {source});
  // In the browser dialog the viewer is told so.
  auto* dialog = kv::Cast<NonMenuSystem::WidgetClass>(Owner());
  const kv::Class* browser = KV_LATE_CLASS("NonMenuSystem::ChBrowserDialog");
  if (dialog && browser && kv::ClassOf(dialog) == browser)
    if (NonMenuSystem::NonMenuSystem* s = dialog->OnGetNonMenuSystem()) s->ShowMessage(Constants::DirectMsgTypeInputLock);
  return true;
}

kv::Object* GetBrowserItemData(ListDataSource* /*source*/, ListClass* /*list*/, int32_t i) {
  auto* c = kv::New<CBListCourier>();
  c->ItemIndex = i;
  c->Text = kv::ConcatString(kv::LoadString(BROWSER_PLACEHOLDER_TEXT), kv::NewStringInt(i, 0));
  c->LabelText = kv::ConcatString(kv::LoadString(BROWSER_PLACEHOLDER_LABEL), kv::NewStringInt(i, 0));
  c->SourceType = 1;
  return c;
}

// --- Inputs -----------------------------------------------------------------------

CBInputList::CBInputList() { ItemClass = &CBInputListItem::StaticClass(); }

int32_t CBInputList::GetItemsNum() {
  SkinBin::Wrapper* w = SkinWrapper();
  return w ? std::max(0, w->GetValidSourceNum()) : 0;
}

int32_t CBInputList::GetFocusItemIndex() {
  SkinBin::Wrapper* w = SkinWrapper();
  return w ? std::max(0, w->GetSourceIndex(w->GetCurrentSource(0))) : 0;
}

void CBInputList::TuneAction() {
  CBListItem* tile = FocusedTile();
  SkinBin::Wrapper* w = SkinWrapper();
  if (tile && w && tile->SourceId != w->GetCurrentSource(0) && !IsInputLock(tile->SourceId))
    w->SetSource(0, tile->SourceId);
  CBListClass::TuneAction();
}

kv::Object* GetInputBrowserItemData(ListDataSource* /*source*/, ListClass* /*list*/, int32_t i) {
  auto* c = kv::New<CBInputListCourier>();
  c->ItemIndex = i;
  SkinBin::Wrapper* w = SkinWrapper();
  if (!w) return c;
  c->SourceId = w->GetSourceId(i);
  c->SourceType = w->GetSourceType(c->SourceId);
  c->Text = w->GetSourceName(c->SourceId);
  c->LabelText = w->GetSourceLabel(c->SourceId);
  return c;
}

// --- HDMI-CEC devices ---------------------------------------------------------------

CBCECList::CBCECList() { ItemClass = &CBCECListItem::StaticClass(); }

void CBCECList::Initialize(Primitives::KeyRoutingParameter* param) {
  if (SkinBin::Wrapper* w = SkinWrapper()) w->GetHdmiCecData()->InitDevList();
  CBListClass::Initialize(param);
}

int32_t CBCECList::GetItemsNum() {
  SkinBin::Wrapper* w = SkinWrapper();
  return w ? w->GetHdmiCecData()->GetDevNum() : 0;
}

int32_t CBCECList::GetFocusItemIndex() {
  SkinBin::Wrapper* w = SkinWrapper();
  if (!w) return 0;
  SkinBin::HdmiCecData* cec = w->GetHdmiCecData();
  for (int32_t i = 0; i < cec->GetDevNum(); ++i)
    if (cec->GetDev(i)->Active) return i;
  return 0;
}

void CBCECList::TuneAction() {
  auto* tile = kv::Cast<CBCECListItem>(FocusedTile());
  SkinBin::Wrapper* w = SkinWrapper();
  if (tile && w && !IsInputLock(tile->SourceId)) {
    w->GetHdmiCecData()->SetHdmiCecAddr(tile->SourceId, tile->CecAddress);
    w->SetSource(0, tile->SourceId);
  }
  CBListClass::TuneAction();
}

kv::Object* GetCECBrowserItemData(ListDataSource* /*source*/, ListClass* /*list*/, int32_t i) {
  auto* c = kv::New<CBCECListCourier>();
  c->ItemIndex = i;
  c->SourceType = 5;
  SkinBin::Wrapper* w = SkinWrapper();
  SkinBin::CecDeviceEntry* dev = w ? w->GetHdmiCecData()->GetDev(i) : nullptr;
  if (!dev) return c;
  c->SourceId = dev->SourceId;
  c->CecAddress = static_cast<uint8_t>(dev->LogicalAddress);
  c->Text = w->GetSourceName(dev->SourceId);
  c->LabelText = dev->Name;
  return c;
}

// --- History ----------------------------------------------------------------------------

CBHistoryList::CBHistoryList() { ItemClass = &CBFavHistoryListItem::StaticClass(); }

void CBHistoryList::Initialize(Primitives::KeyRoutingParameter* param) {
  if (SkinBin::Wrapper* w = SkinWrapper()) {
    const int32_t source = w->GetCurrentSource(0);
    const int32_t type = w->GetSourceType(source);
    auto* entry = kv::New<Structures::HistoryInfo>();
    if (IsTunerType(type)) {
      entry->Type = type == 1 ? Structures::HISTORY_ITEM_TYPE_RF1 : Structures::HISTORY_ITEM_TYPE_RF2;
      auto* info = kv::New<Structures::HistoryChannelInfo>();
      info->AntCableIn = static_cast<uint8_t>(w->OnGetAntCableIn());
      info->SourceId = source;
      info->Channel = w->GetCurrentChannel();
      if (Structures::ChannelData* data = w->GetCurrentChannelInfo()) {
        info->Name = data->Name;
        info->IsDigital = data->IsDigital;
      }
      entry->ChannelInfo = info;
    } else if (SkinBin::CecDeviceEntry* dev = w->GetHdmiCecData()->IsCecDeviceConnected(source)) {
      entry->Type = Structures::HISTORY_ITEM_TYPE_CEC;
      auto* info = kv::New<Structures::HistoryCECInfo>();
      info->DeviceName = dev->Name;
      info->SourceId = source;
      info->LogicalAddress = dev->LogicalAddress;
      entry->CECInfo = info;
    } else {
      entry->Type = Structures::HISTORY_ITEM_TYPE_NONRF;
      auto* info = kv::New<Structures::HistorySourceInfo>();
      info->SourceId = source;
      info->Label = w->GetSourceLabel(source);
      if (info->Label.Empty() || info->Label == kv::LoadString(INPUT_LABEL_EMPTY)) info->Label = w->GetSourceName(source);
      entry->SourceInfo = info;
    }
    w->GetHistoryAgent()->AddHistory(entry, false);
  }
  CBListClass::Initialize(param);
}

int32_t CBHistoryList::GetItemsNum() {
  SkinBin::Wrapper* w = SkinWrapper();
  return w ? w->GetHistoryAgent()->GetHistoryNum() : 0;
}

int32_t CBHistoryList::GetFocusItemIndex() { return std::max(0, GetItemsNum() - 1); }

void CBHistoryList::TuneAction() {
  auto* tile = kv::Cast<CBFavHistoryListItem>(FocusedTile());
  SkinBin::Wrapper* w = SkinWrapper();
  if (tile && w) {
    if (IsTunerType(tile->SourceType)) {
      w->SetChannel(tile->Major, tile->Minor, true, true);
    } else if (!IsInputLock(tile->SourceId)) {
      if (tile->IsCec) w->GetHdmiCecData()->SetHdmiCecAddr(tile->SourceId, tile->CecAddress);
      w->SetSource(0, tile->SourceId);
      w->GetHistoryAgent()->InsertHistorySlot(this);
    }
  }
  CBListClass::TuneAction();
  Reload();
  FocusOnFocusItem();
}

kv::Object* GetHistoryBrowserItemData(ListDataSource* /*source*/, ListClass* /*list*/, int32_t i) {
  auto* c = kv::New<CBFavHistoryListCourier>();
  c->ItemIndex = i;
  SkinBin::Wrapper* w = SkinWrapper();
  // After a tune the history may hold fewer entries than the strip counted:
  // an entry that is gone gives an empty tile.
  Structures::HistoryInfo* entry = w ? w->GetHistoryAgent()->GetHistory(i + 1) : nullptr;
  if (!entry) return c;
  switch (entry->Type) {
    case Structures::HISTORY_ITEM_TYPE_RF1:
    case Structures::HISTORY_ITEM_TYPE_RF2:
      if (Structures::HistoryChannelInfo* info = entry->ChannelInfo.get()) {
        c->SourceId = info->SourceId;
        c->SourceType = w->GetSourceType(info->SourceId);
        if (info->Channel) {
          c->Major = info->Channel->Major;
          c->Minor = info->Channel->Minor;
        }
        c->ChannelKind = info->IsDigital;
        c->LabelText = info->Name;
      }
      break;
    case Structures::HISTORY_ITEM_TYPE_NONRF:
      if (Structures::HistorySourceInfo* info = entry->SourceInfo.get()) {
        c->SourceId = info->SourceId;
        c->SourceType = w->GetSourceType(info->SourceId);
        c->Text = w->GetSourceName(info->SourceId);
        // An input without a label of its own is remembered under its name:
        // the tile shows the name once, over its whole width.
        if (info->Label != c->Text) c->LabelText = info->Label;
      }
      break;
    case Structures::HISTORY_ITEM_TYPE_CEC:
      if (Structures::HistoryCECInfo* info = entry->CECInfo.get()) {
        c->SourceType = 5;
        c->IsCec = true;
        c->SourceId = info->SourceId;
        c->CecAddress = static_cast<uint8_t>(info->LogicalAddress);
        c->Text = w->GetSourceName(info->SourceId);
        c->LabelText = info->DeviceName;
      }
      break;
    default: break;
  }
  return c;
}

}  // namespace ListForm
