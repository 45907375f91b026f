#include "units/NonMenuSystem/ChBrowserDialog.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "strings/NonMenuSystem.h"
#include "strings/Strings.h"
#include "units/Agent/EventAgent.h"
#include "units/Colors/Colors.h"
#include "units/Constants/MessageTypes.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/Events/XPM_EVENT_CHANNEL_ACQUIRED.h"
#include "units/Events/XPM_EVENT_SOURCE_ACQUIRED.h"
#include "units/Fonts/Fonts.h"
#include "units/ListForm/CBChannelLists.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionDatabase.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/ChannelData.h"
#include "units/Structures/VirtualChannel.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(NonMenuSystem::ChBrowserDialog);

namespace NonMenuSystem {

Resources::Bitmap* SourceTypeImage(int32_t type);  // InfoBanner.cpp

namespace {

using namespace keys;

constexpr uint32_t kHelpMask = 0x80300;
constexpr uint32_t kHelpMaskFavorites = 0x83300;

constexpr int32_t kStripX = 6;
constexpr int32_t kStripY = 34;
constexpr int32_t kStripWidth = 858;
constexpr int32_t kStripHeight = 68;

bool IsFavoriteKind(int32_t kind) { return kind == 3 || kind == 5 || kind == 6; }

// The list class of each kind.
const kv::Class* ListClassOf(int32_t kind) {
  switch (kind) {
    case 1: return &ListForm::CBChannelList::StaticClass();
    case 2: return &ListForm::CBInputList::StaticClass();
    case 3: case 5: case 6: return &ListForm::CBFavoritesList::StaticClass();
    case 4: return &ListForm::CBCECList::StaticClass();
    default: return &ListForm::CBHistoryList::StaticClass();
  }
}

OptionDatabase::OptionDataClass* KindRecord() {
  auto* db = kv::GetAutoObject<OptionDatabase::OptionDatabaseClass>(MainApp::OptionDB);
  return db ? db->GetOptionData(SkinBin::OPTION_TYPE_CURRENT_CBLIST) : nullptr;
}

kv::String Join(const kv::String& a, const kv::String& sep, const kv::String& b) {
  return a.Empty() ? b : kv::ConcatString(kv::ConcatString(a, sep), b);
}

}  // namespace

ChBrowserDialog::ChBrowserDialog() {
  WinID = WinIDs::WIN_ID_ChBrowserDialog;
  WidgetOrigin = {51, 417};
  Layer = kWidgetLayer;
  OnSetFrameWidth(0);
  OnSetBounds({0, 0, 927, 154});
  OnSetCaption(kv::GetVariantOfString(Strings::SID_FAVORITES_BROWSER));
  medium_.OnSetString(kv::GetVariantOfString(Strings::SID_ANT));
  kind_.OnSetString(kv::GetVariantOfString(Strings::SID_ANT_CABLE_LIST));
  for (Views::Text* t : {&medium_, &name_, &number_, &resolution_, &kind_}) {
    t->OnSetFont(Resources::LoadResource(Fonts::BannerBasicInfo));
    t->OnSetColor(Colors::StandardTextColor);
    t->OnSetAlignV(1);
    t->OnSetEllipsis(true);
  }
  kind_.OnSetColor(Colors::TitleTextColor);
  kind_.OnSetAlignH(2);
  Add(&icon_);
  Add(&medium_);
  Add(&name_);
  Add(&number_);
  Add(&resolution_);
  Add(&kind_);
  ChBrowserDialog::Refresh();
}

void ChBrowserDialog::ReadKind() {
  OptionDatabase::OptionDataClass* record = KindRecord();
  if (!record) return;
  record->Initialize();
  const int32_t stored = record->HasProperty() ? record->RefValue.Get() : 0;
  // A kind outside the table (a damaged settings file) counts as history.
  if (stored < 0 || stored >= kCBListKinds) {
    Core::LogError("NonMenuSystem::ChBrowserDialog: list kind %i is out of range; showing kind 0", {stored});
    CBListValue = 0;
  } else {
    CBListValue = stored;
  }
  CBListCount = record->Num;
  record->Value = CBListValue;
  record->Val2Id();
  CBListIndex = record->Id;
  record->GetData();
  if (auto* courier = kv::Cast<OptionDatabase::OptionCourier>(record->Courier.get()))
    kind_.OnSetString(courier->Caption);
  else if (CBListIndex >= 0 && CBListIndex < record->Num)
    kind_.OnSetString(record->ChoiceCaption(CBListIndex));
}

void ChBrowserDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  Initialized = false;
  CBListValue = 0;
  CBListCount = 0;
  ReadKind();
  CreateCBList(param ? param : kv::New<Primitives::KeyRoutingParameter>());
  UpdateBanner();
  // What is on screen now, as if it had just been acquired.
  auto* agent = kv::GetAutoObject<Agent::EventAgent>(MainApp::EventAgent);
  const int32_t status = agent ? agent->GetMainWindowAcquiredStatus() : 0;
  ::Wrapper::Wrapper* base = Live::Base();
  const int32_t source = base ? base->GetCurrentSource(0) : 0;
  const int32_t type = base ? base->GetSourceType(source) : 0;
  if (type == 1 || type == 12) {
    Events::XPM_EVENT_CHANNEL_ACQUIRED acquired;
    acquired.Status = status;
    HandleAcquiredEvent(&acquired);
  } else {
    Events::XPM_EVENT_SOURCE_ACQUIRED acquired;
    acquired.Source = source;
    acquired.Status = status;
    HandleAcquiredEvent(&acquired);
  }
  Initialized = true;
}

void ChBrowserDialog::CreateCBList(Primitives::KeyRoutingParameter* param) {
  if (ListForm::CBListClass* old = list_.get()) old->Close();
  list_ = nullptr;
  if (::NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem()) {
    const kv::String sep = kv::LoadString(HELP_SEPARATOR);
    kv::String help = Join(kv::GetVariantOfString(Strings::SID_SELECT), sep, kv::GetVariantOfString(Strings::SID_TUNE));
    if (IsFavoriteKind(CBListValue)) {
      help = Join(help, sep, kv::GetVariantOfString(Strings::SID_DELETE));
      help = Join(help, sep, kv::GetVariantOfString(HELP_FAVORITE));
    }
    help = Join(help, sep, kv::GetVariantOfString(Strings::SID_EXIT));
    s->UpdateHelp(static_cast<int32_t>(IsFavoriteKind(CBListValue) ? kHelpMaskFavorites : kHelpMask), help);
  }
  auto* list = kv::Cast<ListForm::CBListClass>(kv::NewObjectIndirect(ListClassOf(CBListValue)));
  if (!list) return;
  list_ = list;
  auto* p = kv::New<Primitives::KeyRoutingParameter>();
  p->Owner = this;
  if (param) p->Param = param->Param.get();
  list->Initialize(p);
  // A new strip has no size of its own: it spans its six tiles and the right
  // arrow (x 834-858), tiles 60 high with 4 pixels above and below.
  list->OnSetBounds({kStripX, kStripY, kStripX + kStripWidth, kStripY + kStripHeight});
  list->Open();
  list->FocusMove = kv::MakeSlot(static_cast<Primitives::KeyRoutingForm*>(this), &KeyRoutingForm::ResetTimeout);
  list->OnUpdateBanner = kv::MakeSlot(this, &ChBrowserDialog::UpdateBanner);
  OnSetFocus(list);
}

void ChBrowserDialog::ToggleCBList(bool next) {
  if (CBListCount < 2) return;
  OptionDatabase::OptionDataClass* record = KindRecord();
  if (!record) return;
  CBListIndex = next ? (CBListIndex >= CBListCount - 1 ? 0 : CBListIndex + 1)
                     : (CBListIndex <= 0 ? CBListCount - 1 : CBListIndex - 1);
  record->Id = CBListIndex;
  record->Id2Value();
  CBListValue = (record->Value < 0 || record->Value >= kCBListKinds) ? 0 : record->Value;
  if (record->HasProperty()) record->RefValue.Set(CBListValue);
  record->GetData();
  if (auto* courier = kv::Cast<OptionDatabase::OptionCourier>(record->Courier.get()))
    kind_.OnSetString(courier->Caption);
  CreateCBList(kv::New<Primitives::KeyRoutingParameter>());
}

void ChBrowserDialog::UpdateSourceImage(int32_t type) { icon_.OnSetBitmap(SourceTypeImage(type)); }

void ChBrowserDialog::UpdateBanner(kv::Object* /*sender*/) {
  ::Wrapper::Wrapper* base = Live::Base();
  SkinBin::Wrapper* w = Live::Skin();
  if (!base) return;
  const int32_t source = base->GetCurrentSource(0);
  const int32_t type = base->GetSourceType(source);
  UpdateSourceImage(type);
  if (type == 1 || type == 12) {
    medium_.OnSetString(kv::GetVariantOfString(base->OnGetAntCableIn() == 1 ? Strings::SID_CABLE_UPPERCASE : Strings::SID_ANT));
    SkinBin::CurrentChannelInfo* current = w ? w->GetCurrentChannelDetailInfo() : nullptr;
    Structures::ChannelData* record = current && w ? w->GetChannelInfo(current->Major, current->Minor) : nullptr;
    if (record) {
      name_.OnSetString(record->Name);
      number_.OnSetString(w->GetChannelNumberStr(record->IsDigital != 0, current->Major, current->Minor));
    }
    number_.OnSetVisible(true);
  } else {
    medium_.OnSetString(w ? w->GetSourceName(source) : kv::String());
    name_.OnSetString(w ? w->GetSourceLabel(source) : kv::String());
    number_.OnSetVisible(false);
  }
  if (Initialized) ReadKind();
}

void ChBrowserDialog::HandleAcquiredEvent(Core::Event* event) {
  resolution_.OnSetString(kv::String());
  ::Wrapper::Wrapper* base = Live::Base();
  SkinBin::Wrapper* w = Live::Skin();
  ::NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
  if (!base || !w) return;
  auto show = [s](int32_t type) {
    if (s) s->ShowMessage(type);
  };
  if (auto* ch = kv::Cast<Events::XPM_EVENT_CHANNEL_ACQUIRED>(event)) {
    const int32_t c = ch->Status;
    if (c == 0 || c == 4 || c == 5) resolution_.OnSetString(w->GetResolutionString(base->GetVideoContentInfo(0)));
    if (c == 4) show(Constants::DirectMsgTypeChannelLock);
    if (c == 5) show(Constants::DirectMsgTypeRatingLock);
    SkinBin::CurrentChannelInfo* current = w->GetCurrentChannelDetailInfo();
    if (c == 0 && current && base->IsDigitalChannel(current->Major, current->Minor) && w->IsCHLowSignal())
      show(Constants::DirectMsgTypeCBLowSignal);
    return;
  }
  auto* src = kv::Cast<Events::XPM_EVENT_SOURCE_ACQUIRED>(event);
  if (!src) return;
  const int32_t c = src->Status;
  if (c != 16 && c != 20 && c != 23) return;
  const int32_t type = base->GetSourceType(base->GetCurrentSource(0));
  Structures::VideoContentInfo* video = base->GetVideoContentInfo(0);
  resolution_.OnSetString(type == 6 || type == 10 ? w->GetVGAInfo(video) : w->GetResolutionString(video));
  if (c == 23 && type != 7 && type != 9) show(Constants::DirectMsgTypeInputLock);
  if (c == 20 && (type == 2 || type == 3 || type == 4)) show(Constants::DirectMsgTypeRatingLock);
}

kv::Object* ChBrowserDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && (key->Code == KEY_UP || key->Code == KEY_DOWN)) {
    ToggleCBList(key->Code == KEY_DOWN);
    ResetTimeout();
    return this;
  }
  if (kv::Cast<Events::XPM_EVENT_CHANNEL_ACQUIRED>(event) || kv::Cast<Events::XPM_EVENT_SOURCE_ACQUIRED>(event))
    HandleAcquiredEvent(event);
  return KXDWidgetClass::HandleEvent(event);
}

void ChBrowserDialog::Close() {
  const bool wasOpen = IsOpen();
  if (ListForm::CBListClass* list = list_.get()) list->Close();
  KXDWidgetClass::Close();
  // Handed on once the pass is over, so that whatever closes the dialog
  // (Exit closes every screen) has finished first.
  if (wasOpen)
    if (auto* agent = kv::GetAutoObject<Agent::EventAgent>(MainApp::EventAgent)) agent->PostProcessEvents();
}

void ChBrowserDialog::Refresh() {
  KXDWidgetClass::Refresh();
  // The banner line over the strip: icon, medium, name, number, resolution,
  // and the list kind at the right.
  const int32_t w = Bounds().W();
  caption_.OnSetVisible(false);
  divider_.OnSetVisible(false);
  icon_.OnSetBounds({10, 4, 50, 30});
  medium_.OnSetBounds({56, 4, 200, 30});
  name_.OnSetBounds({204, 4, 420, 30});
  number_.OnSetBounds({424, 4, 520, 30});
  resolution_.OnSetBounds({524, 4, 680, 30});
  kind_.OnSetBounds({684, 4, std::min(w, 960 - 51) - 12, 30});
}

}  // namespace NonMenuSystem
