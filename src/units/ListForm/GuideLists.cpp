#include "units/ListForm/GuideLists.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/text.h"
#include "strings/Strings.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Bitmaps/ListBitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Constants/MessageTypes.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/Core/SeenTexts.h"
#include "units/Fonts/Fonts.h"
#include "units/ListForm/ListContext.h"
#include "units/ListForm/ListGetters.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/SkinBin/ChannelListData.h"
#include "units/SkinBin/EPGEventsInfo_DB.h"
#include "units/SkinBin/RecordData.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/EventInfo.h"
#include "units/Structures/Message.h"
#include "units/SubSystem/State.h"
#include "units/SubSystem/SubSystemClass.h"

namespace ListForm {

using namespace keys;

KV_REGISTER_CLASS(ListForm::EPGChannelCourier);
KV_REGISTER_CLASS(ListForm::EPGProgramListCourier);
KV_REGISTER_CLASS(ListForm::MiniGuideListCourier);
KV_REGISTER_CLASS(ListForm::EPGChannelItem);
KV_REGISTER_CLASS(ListForm::ProgramRow);
KV_REGISTER_CLASS(ListForm::EPGProgramListItem);
KV_REGISTER_CLASS(ListForm::MiniGuideListItem);
KV_REGISTER_CLASS(ListForm::EPGChannelList);
KV_REGISTER_CLASS(ListForm::EPGProgramList);
KV_REGISTER_CLASS(ListForm::MiniGuideList);

namespace {

constexpr int32_t kMiniGuideRows = 3;
// The timer editor's source type for a programme handed over by the guide.
constexpr int32_t kSourceTypeGuide = 2;

const Resources::BitmapId* RecordTypeIcon(int32_t type) {
  switch (type) {
    case 1: return &Bitmaps::EPG_RecordTypeEveryday;
    case 2: return &Bitmaps::EPG_RecordTypeDaily;
    case 3: return &Bitmaps::EPG_RecordTypeWeekly;
    case 4: return &Bitmaps::EPG_RecordTypeOnce;
    default: return nullptr;
  }
}

Structures::VirtualChannel* Channel(int32_t major, int32_t minor) {
  auto* c = kv::New<Structures::VirtualChannel>();
  c->Major = major;
  c->Minor = minor;
  return c;
}

// Caption and description "no information", no start, nothing recorded.
void NoInformation(EPGProgramListCourier* c) {
  c->Text = kv::GetVariantOfString(Strings::SID_NO_INFORMATION_AVAILABLE);
  c->Description = c->Text;
}

// Courier of guide event i of the Wrapper's store; the programme status
// of channel (major, minor) gives its recording kind and timer.
kv::Object* FillProgram(EPGProgramListCourier* c, int32_t i, int32_t major, int32_t minor) {
  c->ItemIndex = i;
  SkinBin::Wrapper* w = SkinWrapper();
  SkinBin::EPGEventsInfo_DB* store = w ? w->EPGProgramList.get() : nullptr;
  Structures::EventInfo* e = store && store->GetNumEvents() > 0 ? store->GetEvent(i) : nullptr;
  if (!e) {
    NoInformation(c);
    return c;
  }
  c->Text = e->Title;
  c->Description = e->Description;
  c->StartTime = e->StartTime;  // shared: the store never changes a held event
  c->Duration = e->Duration;
  if (SkinBin::ScheduledRecordData* s = w->GetEPGProgramStatus(major, minor, e->StartTime.get())) {
    c->RecordType = s->Repeat1;
    c->TimerId = s->TimerId;
  }
  return c;
}

// The guide dialog that owns `list`, or null (then no waiting circle and
// no record toggle).
Primitives::KeyRoutingForm* GuideDialog(Core::View* list) {
  auto* owner = kv::Cast<Primitives::KeyRoutingForm>(list->Owner());
  return IsOfClass(owner, KV_LATE_CLASS("Channels::FullEPGDialog")) ? owner : nullptr;
}

NonMenuSystem::NonMenuSystem* GuideSystem(Core::View* list) {
  return kv::Cast<NonMenuSystem::NonMenuSystem>(SubSystemOf(GuideDialog(list)));
}

void ShowGuideWaiting(Core::View* list, int32_t mode) {
  if (NonMenuSystem::NonMenuSystem* system = GuideSystem(list))
    system->ShowWaitingCircle(mode, NonMenuSystem::WAITING_KIND_CIRCLE);
}

}  // namespace

int32_t PackChannel(int32_t major, int32_t minor) {
  return static_cast<int32_t>((static_cast<uint32_t>(major) << 16) | (static_cast<uint32_t>(minor) & 0xFFFFu));
}
int32_t PackedMajor(int32_t packed) { return static_cast<int16_t>(static_cast<uint32_t>(packed) >> 16); }
int32_t PackedMinor(int32_t packed) { return static_cast<int16_t>(static_cast<uint32_t>(packed) & 0xFFFFu); }

// --- Getters ---------------------------------------------------------------------

kv::Object* GetEPGProgramItemData(ListDataSource* source, ListClass* /*list*/, int32_t i) {
  return FillProgram(kv::New<EPGProgramListCourier>(), i, PackedMajor(source->Param), PackedMinor(source->Param));
}

kv::Object* GetMiniGuideItemData(ListDataSource* /*source*/, ListClass* /*list*/, int32_t i) {
  auto* c = kv::New<MiniGuideListCourier>();
  SkinBin::Wrapper* w = SkinWrapper();
  if (!w) {
    c->ItemIndex = i;
    NoInformation(c);
    return c;
  }
  Structures::VirtualChannel* now = w->GetCurrentChannel();
  return FillProgram(c, i, now->Major, now->Minor);
}

kv::Object* GetEPGChannelItemData(ListDataSource* /*source*/, ListClass* /*list*/, int32_t i) {
  auto* c = kv::New<EPGChannelCourier>();
  c->ItemIndex = i;
  SkinBin::Wrapper* w = SkinWrapper();
  SkinBin::ChannelListData* table = w ? w->ChannelList.get() : nullptr;
  if (SkinBin::ChannelData* channel = table ? table->GetChannel(i) : nullptr) {
    c->Text = channel->Name;
    c->Major = channel->Major;
    c->Minor = channel->Minor;
    c->IsDigital = channel->IsDigital;
  }
  return c;
}

// --- Rows -----------------------------------------------------------------------------

EPGChannelItem::EPGChannelItem() {
  OnSetBounds({0, 0, 200, kGuideRowHeight});
  OnSetTextAlignH(0);
  TextView().OnSetEllipsis(true);
  Core::MarkNameFromOutside(&TextView(), true);
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::EPG_ChanButtonFocus));
  number_.OnSetFont(Resources::LoadResource(Fonts::EPGListFont));
  number_.OnSetEllipsis(true);
  arrow_.OnSetBitmap(Resources::LoadResource(Bitmaps::InputListRightArrow));
  arrow_.OnSetVisible(false);
  AddColumn(number_, true);
  AddColumn(arrow_);
}

EPGChannelItem::~EPGChannelItem() { Core::MarkNameFromOutside(&TextView(), false); }

void EPGChannelItem::SetData(kv::Object* data) {
  ListItem::SetData(data);
  auto* c = kv::Cast<EPGChannelCourier>(data);
  if (!c) return;
  Major = c->Major;
  Minor = c->Minor;
  IsDigital = c->IsDigital;
  if (SkinBin::Wrapper* w = SkinWrapper()) number_.OnSetString(w->GetChannelNumberStr(IsDigital != 0, Major, Minor));
  InvalidateView();
}

kv::Object* EPGChannelItem::GetData(kv::Object* data) {
  auto* c = kv::Cast<EPGChannelCourier>(data);
  if (!c) c = kv::New<EPGChannelCourier>();
  ListItem::GetData(c);
  c->Major = Major;
  c->Minor = Minor;
  c->IsDigital = IsDigital;
  return c;
}

void EPGChannelItem::Refresh() {
  ListItem::Refresh();
  const kv::Rect b = Bounds();
  number_.OnSetBounds({6, 0, 66, b.H()});
  PlaceName();
}

void EPGChannelItem::OnSetBounds(kv::Rect bounds) {
  ColumnRow::OnSetBounds(bounds);
  PlaceName();
}

void EPGChannelItem::PlaceName() {
  // The arrow stands at the row's end, and in the row that the list's scroll
  // marks stand on, 4 pixels short of the marks; the name runs up to it (to
  // the same end while the arrow is hidden).
  const kv::Rect b = Bounds();
  int32_t end = b.W();
  if (auto* list = kv::Cast<PagedList>(Owner())) {
    const kv::Rect marks = list->MarksArea();
    if (b.y1 < marks.y2 && marks.y1 < b.y2) end = std::min(end, marks.x1 - b.x1);
  }
  arrow_.OnSetBounds(kv::Rect{0, 0, 10, 14}.MoveTo({end - 14, (b.H() - 14) / 2}));
  const int32_t right = arrow_.IsVisible() ? end - 18 : end - 4;
  TextView().OnSetBounds({70, 0, std::max(70, right), b.H()});
}

// The column shares the guide with the programme list: its row looks
// focused, with its arrow, only while the column takes the keys, and not
// while a screen opened over the guide (the record timer) does.
int32_t EPGChannelItem::GetCtrlState() { return FocusedOnlyWithScreen(ColumnRow::GetCtrlState()); }

void EPGChannelItem::RefreshCtrlState(int32_t state) {
  ColumnRow::RefreshCtrlState(state);
  const bool arrow = state == ::Button::kStateFocused;
  if (arrow == arrow_.IsVisible()) return;
  arrow_.OnSetVisible(arrow);
  PlaceName();
  InvalidateView();
}

ProgramRow::ProgramRow() {
  OnSetTextAlignH(0);
  TextView().OnSetEllipsis(true);
  time_.OnSetFont(Resources::LoadResource(Fonts::EPGListFont));
  icon_.OnSetVisible(false);
}

void ProgramRow::OnSetStartTime(Structures::LocalTime* time) {
  StartTime = time;
  if (time) time_.OnSetString(TimeText(*time));
  InvalidateView();
}

void ProgramRow::OnSetRecordType(int32_t type) {
  if (type < 0 || type > 4) return;
  RecordType = type;
  const Resources::BitmapId* id = RecordTypeIcon(type);
  icon_.OnSetBitmap(id ? Resources::LoadResource(*id) : nullptr);
  icon_.OnSetVisible(id != nullptr);
  InvalidateView();
}

void ProgramRow::SetData(kv::Object* data) {
  if (!data) return;  // no courier: the row stays as it was
  ListItem::SetData(data);
  auto* c = kv::Cast<EPGProgramListCourier>(data);
  if (!c) {
    StartTime = nullptr;
    time_.OnSetString({});
    OnSetText(kv::GetVariantOfString(Strings::SID_NO_INFORMATION_AVAILABLE));
    Description = OnGetText();
    Duration = 0;
    TimerId = 0;
    OnSetRecordType(0);
    ItemIndex = 0;
    return;
  }
  OnSetStartTime(c->StartTime.get());
  Duration = c->Duration;
  Description = c->Description;
  TimerId = c->TimerId;
  OnSetRecordType(c->RecordType);
}

int32_t ProgramRow::GetCtrlState() { return FocusedOnlyWithScreen(ColumnRow::GetCtrlState()); }

kv::Object* ProgramRow::GetData(kv::Object* data) {
  auto* c = kv::Cast<EPGProgramListCourier>(data);
  if (!c) c = NewCourier();
  ListItem::GetData(c);
  c->StartTime = StartTime;
  c->Duration = Duration;
  c->Description = Description;
  c->RecordType = RecordType;
  c->TimerId = TimerId;
  return c;
}

EPGProgramListItem::EPGProgramListItem() {
  OnSetBounds({0, 0, 560, kGuideRowHeight});
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::EPG_ProgramButtonFocus));
  date_.OnSetFont(Resources::LoadResource(Fonts::EPGListFont));
  date_.OnSetEllipsis(true);
  AddColumn(date_, true);
  AddColumn(TimeView(), true);
  AddColumn(IconView());
}

void EPGProgramListItem::OnSetStartTime(Structures::LocalTime* time) {
  ProgramRow::OnSetStartTime(time);
  if (time) date_.OnSetString(DateText(*time));
}

void EPGProgramListItem::Refresh() {
  ListItem::Refresh();
  const kv::Rect b = Bounds();
  TextView().OnSetBounds({8, 0, 370, b.H()});
  // The repeat badge stands clear of the title's end and of the date; date
  // and time are two columns a clear gap apart (the widest date, "Sep 30",
  // never runs into the hour), the time well inside the row's end.
  IconView().OnSetBounds(kv::Rect{0, 0, 30, 16}.MoveTo({380, (b.H() - 16) / 2}));
  date_.OnSetBounds({422, 0, 502, b.H()});
  TimeView().OnSetBounds({514, 0, std::max(514, b.W() - 8), b.H()});
}

EPGProgramListCourier* EPGProgramListItem::NewCourier() const { return kv::New<EPGProgramListCourier>(); }

MiniGuideListItem::MiniGuideListItem() {
  OnSetBounds({0, 0, 400, 28});
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::MiniGuide_ButtonFocus));
  AddColumn(TimeView(), true);
  AddColumn(IconView());
}

void MiniGuideListItem::Refresh() {
  ListItem::Refresh();
  const kv::Rect b = Bounds();
  TimeView().OnSetBounds({8, 0, 74, b.H()});
  TextView().OnSetBounds({78, 0, std::max(78, b.W() - 40), b.H()});
  IconView().OnSetBounds(kv::Rect{0, 0, 30, 16}.MoveTo({b.W() - 36, (b.H() - 16) / 2}));
}

EPGProgramListCourier* MiniGuideListItem::NewCourier() const { return kv::New<MiniGuideListCourier>(); }

// --- Channel column -------------------------------------------------------------------

EPGChannelList::EPGChannelList() {
  MaxRows = kGuideRows;
  PageUpKey = KEY_PREV;
  PageDownKey = KEY_NEXT;
  ItemClass = &EPGChannelItem::StaticClass();
  RowsTakeWidth = true;  // a name too long for the column ends in an ellipsis inside it
  OnFocusOption = kv::MakeSlot(this, &EPGChannelList::DoFocus);
  timer_.OnSetBegin(kGuideTuneMs);
  timer_.OnSetPeriod(0);
  timer_.OnSetEnabled(false);
  timer_.OnTrigger = kv::MakeSlot(this, &EPGChannelList::TuneToChannel);
}

void EPGChannelList::Initialize(Primitives::KeyRoutingParameter* param) {
  // The column lists locked channels like any other (the table without the
  // walk's skip-locked bit, which ch+ keeps): the channel in tune, locked
  // and opened with the PIN, is in the column and focused, so the focus
  // never tunes away from it.
  // The channel watched is in the column even when the viewer skipped it
  // (tuned by its number): the header, the focus and the programmes all
  // name it, and opening the guide tunes nothing.
  if (SkinBin::Wrapper* w = SkinWrapper()) {
    SkinBin::ChannelListData* table = w->GetChannelListData();
    table->LoadGuideChannelTable(false);
    Structures::VirtualChannel* now = w->GetCurrentChannel();
    if (now && table->GetChannelIndexInTable(now->Major, now->Minor) < 0)
      table->InsertGuideChannel(now->Major, now->Minor);
  }
  viewerMoved_ = false;
  ListClass::Initialize(param);
}

void EPGChannelList::Close() {
  timer_.OnSetEnabled(false);
  PagedList::Close();
}

int32_t EPGChannelList::GetItemsNum() {
  SkinBin::Wrapper* w = SkinWrapper();
  return w && w->ChannelList ? w->ChannelList->GetNumChannels() : 0;
}

int32_t EPGChannelList::GetFocusItemIndex() {
  SkinBin::Wrapper* w = SkinWrapper();
  if (!w || !w->ChannelList) return 0;
  Structures::VirtualChannel* now = w->GetCurrentChannel();
  return std::max(0, w->ChannelList->GetChannelIndexInTable(now->Major, now->Minor));
}

kv::Object* EPGChannelList::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down) {
    const uint16_t code = key->Code;
    const bool move = code == DecreaseKey || code == IncreaseKey || code == PageUpKey || code == PageDownKey;
    if (move && Busy) {
      kv::Signal(FocusMove, this);
      return this;
    }
    if (move) viewerMoved_ = true;
  }
  return PagedList::HandleEvent(event);
}

void EPGChannelList::DoFocus(kv::Object* /*sender*/) { timer_.Activate(); }

void EPGChannelList::TuneToChannel(kv::Object* /*sender*/) {
  timer_.OnSetEnabled(false);
  auto* row = kv::Cast<EPGChannelItem>(GetFocusedRow());
  SkinBin::Wrapper* w = SkinWrapper();
  // Opening the guide never changes the channel: only a row the viewer
  // moved to is tuned.
  if (!row || !w || !viewerMoved_) return;
  if (BrowseOnly) {
    if (GuideChannel && GuideChannel->Major == row->Major && GuideChannel->Minor == row->Minor) return;
    GuideChannel = Channel(row->Major, row->Minor);
    ShowGuideWaiting(this, NonMenuSystem::WAITING_SHOW);
    Busy = true;
    kv::Signal(OnFocusChanged, this);
    return;
  }
  Structures::VirtualChannel* now = w->GetCurrentChannel();
  if (now->Major == row->Major && now->Minor == row->Minor) return;
  // Only a tuning that went out brings the acquired event that ends the
  // wait; a refused one leaves the keys free.
  if (w->SetChannel(row->Major, row->Minor, true, false) != 0) {
    Core::LogError("ListForm::EPGChannelList: channel %i.%i could not be tuned", {row->Major, row->Minor});
    return;
  }
  Busy = true;
  ShowGuideWaiting(this, NonMenuSystem::WAITING_SHOW);
}

// --- Programme list -----------------------------------------------------------------------

EPGProgramList::EPGProgramList() {
  MaxRows = kGuideRows;
  PageUpKey = KEY_PREV;
  PageDownKey = KEY_NEXT;
  WrapAround = false;
  ItemClass = &EPGProgramListItem::StaticClass();
  RowsTakeWidth = true;  // the focus bar spans the programme panel
  OnFocusOption = kv::MakeSlot(this, &EPGProgramList::DoFocus);
  OnActivateOption = kv::MakeSlot(this, &EPGProgramList::ToggleRecord);
}

int32_t EPGProgramList::GetItemsNum() {
  SkinBin::Wrapper* w = SkinWrapper();
  return w && w->EPGProgramList && m_channel ? std::max(0, w->EPGProgramList->GetNumEvents()) : 0;
}

void EPGProgramList::OnSetm_channel(Structures::VirtualChannel* channel) {
  m_channel = channel;
  SkinBin::Wrapper* w = SkinWrapper();
  if (!w || !channel) return;
  SkinBin::EPGEventsInfo_DB* store = w->GetEPGProgramList();
  const int32_t n = std::max(0, store->GetEventInfoByCount(channel, kGuideRows));
  OnSetItemNum(std::min(kGuideRows, n));
  if (!DataSource) {
    auto* source = kv::New<ListDataSource>();
    source->Num = n;
    source->Param = PackChannel(channel->Major, channel->Minor);
    OnSetDataSource(source);
  } else {
    DataSource->Num = n;
    DataSource->Param = PackChannel(channel->Major, channel->Minor);
    Reload();
  }
  OnSetCurrentItemIndex(1);
  FocusedIndex = 0;
}

void EPGProgramList::UpdateEPGbyPage() {
  SkinBin::Wrapper* w = SkinWrapper();
  SkinBin::EPGEventsInfo_DB* store = w ? w->EPGProgramList.get() : nullptr;
  if (!store || store->NoMoreEvents || !m_channel) return;
  ShowGuideWaiting(this, NonMenuSystem::WAITING_SHOW);
  const int32_t n = std::max(0, store->GetEventInfoByPage(m_channel.get()));
  ShowGuideWaiting(this, NonMenuSystem::WAITING_HIDE);
  if (!DataSource) return;
  DataSource->Num = n;
  DataSource->Param = PackChannel(m_channel->Major, m_channel->Minor);
}

void EPGProgramList::MoveWithPaging(int32_t direction, bool pages) {
  auto move = [&] { return pages ? ScrollPages(direction) : ScrollItems(direction); };
  if (move() != 0 || direction < 0) return;
  SkinBin::Wrapper* w = SkinWrapper();
  SkinBin::EPGEventsInfo_DB* store = w ? w->EPGProgramList.get() : nullptr;
  if (!store || store->NoMoreEvents) return;
  const int32_t before = DataSource ? DataSource->Num : 0;
  UpdateEPGbyPage();
  if (DataSource && DataSource->Num > before) move();
}

kv::Object* EPGProgramList::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return PagedList::HandleEvent(event);
  const int32_t c0 = DataSource ? DataSource->Cursor : 0;
  const uint16_t code = key->Code;
  if (code == DecreaseKey)
    MoveWithPaging(-1, false);
  else if (code == IncreaseKey)
    MoveWithPaging(1, false);
  else if (code == KEY_PREV)
    MoveWithPaging(-1, true);
  else if (code == KEY_NEXT)
    MoveWithPaging(1, true);
  else
    return ListClass::HandleEvent(event);
  // The rows were refilled under the focus (a one-row scroll turns the
  // rows round and focuses the row that came in before it is filled): the
  // focus action runs again once the rows show their new items.
  if (DataSource && DataSource->Cursor != c0) kv::PostSignal(kv::MakeSlot(this, &EPGProgramList::DoFocus));
  kv::Signal(FocusMove, this);
  return this;
}

void EPGProgramList::DoFocus(kv::Object* sender) {
  // A row reports its own focus; the list reports rows refilled under it.
  auto* row = kv::Cast<EPGProgramListItem>(sender);
  if (!row) row = kv::Cast<EPGProgramListItem>(GetFocusedRow());
  if (!row) return;
  FocusedIndex = row->ItemIndex;
  kv::Signal(OnProgramChanged, this);
}

void EPGProgramList::ToggleRecord(kv::Object* /*sender*/) {
  auto* row = kv::Cast<EPGProgramListItem>(GetFocusedRow());
  SkinBin::Wrapper* w = SkinWrapper();
  NonMenuSystem::NonMenuSystem* system = GuideSystem(this);
  if (!row || !w || !system) return;
  const int32_t state = w->GetLiveTVState(w->GetCurrentTunerId());
  if (row->ItemIndex == 0) {
    const kv::Class* recordNow = KV_LATE_CLASS("Record::RecordOptionsDialog");
    if (state != Constants::XPM_TV_STATE_LIVE_TV || !recordNow) return;
    auto* s = kv::New<SubSystem::State>();
    s->Class = recordNow;
    s->Param = SkinBin::UserRefInt::Make(kSourceTypeGuide, 0);
    system->ChangeState(s);
    return;
  }
  const kv::Class* editor = KV_LATE_CLASS("Record::RecordTimerDialog");
  if (!editor) return;
  const int32_t free = w->GetFirstAvailableTimerId();
  if (row->RecordType > 0) {
    w->OnSetActiveTimerId(row->TimerId);
  } else if (free < 0) {
    system->ShowMessage(Constants::DirectMsgTypeInvalidTimerId);
    return;
  }
  auto* s = kv::New<SubSystem::State>();
  s->Class = editor;
  s->Param = SkinBin::UserRefInt::Make(kSourceTypeGuide, Constants::MSG_FROM_NONMENUSYSTEM);
  TimerEditorHandoff handoff;
  handoff.isUpdate = row->RecordType > 0;
  handoff.start = row->StartTime.get();
  handoff.durationSeconds = row->Duration * 60;
  handoff.channel = m_channel.get();
  HandToTimerEditor(system->ChangeState(s), handoff);
}

void EPGProgramList::HandleMessage(Structures::Message* msg) {
  if (!msg || msg->Code != Constants::MSG_UPDATE_RECORD_TYPE) return;
  auto* row = kv::Cast<EPGProgramListItem>(GetFocusedRow());
  SkinBin::Wrapper* w = SkinWrapper();
  if (!row || !w) return;
  row->OnSetRecordType(w->OnGetTimerTimesType());
  // The row now stands for the timer just saved: OK on it edits that one.
  row->TimerId = w->OnGetActiveTimerId();
}

// --- Mini guide ---------------------------------------------------------------------------

MiniGuideList::MiniGuideList() {
  MaxRows = kMiniGuideRows;
  PageUpKey = KEY_PREV;
  PageDownKey = KEY_NEXT;
  ItemClass = &MiniGuideListItem::StaticClass();
  OnFocusOption = kv::MakeSlot(this, &MiniGuideList::DoFocus);
  SetMarks(Bitmaps::OptionButtonUpArrow, Bitmaps::OptionButtonDownArrow);
  PrevMark().OnSetBounds({0, 0, 20, 20});
  NextMark().OnSetBounds({0, 0, 20, 20});
}

void MiniGuideList::Initialize(Primitives::KeyRoutingParameter* param) {
  ListClass::Initialize(param);
  FocusedIndex = 0;
}

int32_t MiniGuideList::GetItemsNum() {
  SkinBin::Wrapper* w = SkinWrapper();
  if (!w) return 1;
  return std::max(1, w->GetEPGProgramList()->GetEventInfoByCount(w->GetCurrentChannel(), kMiniGuideEvents));
}

void MiniGuideList::Refresh() {
  ListClass::Refresh();
  const kv::Rect b = Bounds();
  PrevMark().OnSetBounds(PrevMark().Bounds().MoveTo({b.W() - 20, 0}));
  NextMark().OnSetBounds(NextMark().Bounds().MoveTo({b.W() - 20, b.H() - 20}));
}

void MiniGuideList::DoFocus(kv::Object* sender) {
  // A row reports its own focus; the list reports rows refilled under it.
  auto* row = kv::Cast<MiniGuideListItem>(sender);
  if (!row) row = kv::Cast<MiniGuideListItem>(GetFocusedRow());
  if (!row) return;
  FocusedIndex = row->ItemIndex;
  kv::Signal(OnProgramChanged, this);
}

}  // namespace ListForm
