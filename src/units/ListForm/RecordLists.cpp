#include "units/ListForm/RecordLists.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/text.h"
#include "strings/ListForm.h"
#include "strings/ProductTree.h"
#include "strings/Strings.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Bitmaps/ListBitmaps.h"
#include "units/Constants/Constants.h"
#include "units/Constants/MessageTypes.h"
#include "units/Fonts/Fonts.h"
#include "units/ListForm/ListContext.h"
#include "units/ListForm/ListGetters.h"
#include "units/ListForm/RowColumns.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/SkinBin/RecordData.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/Structures/TimerData.h"
#include "units/SubSystem/State.h"

namespace ListForm {

using namespace keys;

KV_REGISTER_CLASS(ListForm::RecordCourier);
KV_REGISTER_CLASS(ListForm::ScheduledRecordListCourier);
KV_REGISTER_CLASS(ListForm::RecordedShowsListCourier);
KV_REGISTER_CLASS(ListForm::FocusedProgramme);
KV_REGISTER_CLASS(ListForm::RecordRow);
KV_REGISTER_CLASS(ListForm::ScheduledRecordListItem);
KV_REGISTER_CLASS(ListForm::RecordedShowsListItem);
KV_REGISTER_CLASS(ListForm::RecordListBase);
KV_REGISTER_CLASS(ListForm::ScheduledRecordList);
KV_REGISTER_CLASS(ListForm::RecordedShowsList);

namespace {

constexpr int32_t kRecordRows = 8;

kv::String NoInformation() { return kv::GetVariantOfString(Strings::SID_NO_INFORMATION_AVAILABLE); }

// The timer record the timer properties address (the one edited last).
Structures::TimerData* CurrentTimer(SkinBin::Wrapper* w) {
  return w->ActiveTimer ? w->ActiveTimer.get() : w->GetTimer(w->ActiveTimerId);
}

// A view across its column, or an icon `w` x `ih` at its left edge, in a
// row `width` x `h`.
void Place(Core::View& v, const RowColumn& c, int32_t width, int32_t h) { v.OnSetBounds(c.In(width, 0, h)); }
// A text across its column, on the line of the row's title.
void Place(Views::Text& t, const RowColumn& c, int32_t width, int32_t h, Views::Text& title) {
  t.OnSetAlignV(title.OnGetAlignV());
  t.OnSetBounds(c.In(width, 0, h));
}
void PlaceIcon(Core::View& v, const RowColumn& c, int32_t w, int32_t ih, int32_t width, int32_t h) {
  v.OnSetBounds(c.Icon(width, w, ih, h));
}

}  // namespace

kv::String DurationText(int32_t seconds) { return DurationText(seconds, kv::LoadString(TIME_SEPARATOR)); }

kv::String DurationText(int32_t seconds, const kv::String& separator) {
  seconds = std::max(0, seconds);
  return ClockText(seconds / 3600, seconds / 60 % 60, separator);
}

kv::String PathAfterMount(const kv::String& path, const kv::String& mount) {
  if (mount.Empty()) return path;
  const int32_t at = kv::StringFind(path, mount, 0);
  if (at < 0) return path;
  const int32_t from = at + mount.Length();
  return kv::StringMiddle(path, from, path.Length() - from);
}

// --- Getters ---------------------------------------------------------------------

kv::Object* GetScheduledRecordItemData(ListDataSource* /*source*/, ListClass* /*list*/, int32_t i) {
  auto* c = kv::New<ScheduledRecordListCourier>();
  c->ItemIndex = i;
  SkinBin::Wrapper* w = SkinWrapper();
  SkinBin::ScheduledRecordData* e = w && w->ScheduledInfo ? w->ScheduledInfo->GetEntry(i) : nullptr;
  if (!e) {
    c->Text = c->Description = NoInformation();
    return c;
  }
  c->Text = e->Title;
  c->EventTitle = e->EventTitle;
  c->Description = e->Description;
  c->EventFlag = e->EventFlag != 0;
  c->Rating = e->Rating;
  c->RecordId = e->Id;
  c->Status = e->Status;
  c->TimerId = e->TimerId;
  c->EventStartTime = e->EventStartTime;
  c->EventDuration = e->EventDuration;
  // The row's own timer, read as it is: the timer being edited (the active
  // one) stays the editor's. Its start is mostly the show's, whose time the
  // courier then shares.
  SkinBin::Wrapper::TimerShown t;
  if (w->PeekTimerShown(e->TimerId, e->StartTime.get(), &t)) {
    c->StartTime = t.Start;
    c->Duration = t.Duration;
    c->ChannelMajor = t.ChannelMajor;
    c->ChannelMinor = t.ChannelMinor;
    c->MapId = t.MapId;
    c->Active = t.Enable != 0;
    c->TimesType = t.TimesType;
    c->SourceType = t.SourceType;
    c->TunerId = t.Source != 0 ? 1 : 0;
  }
  return c;
}

kv::Object* GetRecordedShowItemData(ListDataSource* source, ListClass* /*list*/, int32_t i) {
  auto* c = kv::New<RecordedShowsListCourier>();
  c->ItemIndex = i;
  SkinBin::Wrapper* w = SkinWrapper();
  SkinBin::RecordedShowData* e = w && w->RecordedInfo ? w->RecordedInfo->GetEntry(i) : nullptr;
  if (!e) {
    c->Text = c->Description = NoInformation();
    return c;
  }
  c->Text = e->Title;
  c->HasEventInfo = e->HasEventInfo != 0;
  c->EventFlag = e->EventFlag != 0;
  c->StartTime = e->StartTime;
  c->Duration = e->Duration;
  c->Description = e->Description;
  c->Rating = e->Rating;
  c->RecordId = e->RecordId;
  c->ChannelMajor = e->Major;
  c->ChannelMinor = e->Minor;
  c->EventStartTime = e->EventStartTime;
  c->EventDuration = e->EventDuration;
  c->TunerId = e->TunerId;
  c->MapId = e->MapId;
  c->FileName = PathAfterMount(e->FilePath, source->StringParam);
  c->SecondText = e->SecondText;
  c->Status = e->Status;
  return c;
}

// --- Rows -----------------------------------------------------------------------------

RecordRow::RecordRow() {
  OnSetBounds({0, 0, 860, 28});
  OnSetTextAlignH(0);
  TextView().OnSetEllipsis(true);
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::MediaListButtonFocus));
  for (Views::Text* t : {&date_, &time_, &channel_, &map_, &duration_}) {
    t->OnSetFont(Resources::LoadResource(Fonts::EPGListFont));
    t->OnSetEllipsis(true);
  }
  AddColumn(tuner_);
  AddColumn(channel_, true, true);
  AddColumn(date_, true, true);
  AddColumn(time_, true, true);
  AddColumn(duration_, true, true);
  AddColumn(map_, true, true);
  AddColumn(status_);
  OnSetTunerId(0);
  OnSetMapId(0);
}

void RecordRow::Refresh() {
  ListItem::Refresh();
  const int32_t h = Bounds().H(), w = Bounds().W();
  PlaceIcon(tuner_, RecordColumns::kTuner, 36, 18, w, h);
  Place(TextView(), RecordColumns::kTitle, w, h);
  Place(channel_, RecordColumns::kChannel, w, h, TextView());
  Place(map_, RecordColumns::kMap, w, h, TextView());
  Place(date_, RecordColumns::kDate, w, h, TextView());
  Place(time_, RecordColumns::kTime, w, h, TextView());
  Place(duration_, RecordColumns::kDuration, w, h, TextView());
}

RecordRow::Fill::~Fill() {
  if (--row_.filling_ > 0 || !row_.changed_) return;
  row_.changed_ = false;
  row_.InvalidateView();
}

void RecordRow::Changed() {
  if (filling_ > 0)
    changed_ = true;
  else
    InvalidateView();
}

RecordRow::Shown& RecordRow::Current() {
  const int32_t language = kv::GetLanguage();
  if (shown_.language != language) {
    shown_ = Shown{};
    shown_.language = language;
    timeSeparator_ = kv::String();  // the separator is a text of the language too
  }
  return shown_;
}

const kv::String& RecordRow::TimeSeparator() {
  Current();  // a language change drops the separator kept
  if (timeSeparator_.Empty()) timeSeparator_ = kv::LoadString(TIME_SEPARATOR);
  return timeSeparator_;
}

void RecordRow::OnSetRecordStartTime(Structures::LocalTime* time) {
  RecordStartTime = time;
  if (!time) return;
  Shown& shown = Current();
  if (time->Month != shown.month || time->Day != shown.day) {
    date_.OnSetString(DateText(*time));
    shown.month = time->Month;
    shown.day = time->Day;
    Changed();
  }
  if (time->Hour != shown.hour || time->Minute != shown.minute) {
    time_.OnSetString(ClockText(time->Hour, time->Minute, TimeSeparator()));
    shown.hour = time->Hour;
    shown.minute = time->Minute;
    Changed();
  }
}

void RecordRow::OnSetRecordDuration(int32_t seconds) {
  RecordDuration = seconds;
  Shown& shown = Current();
  // The text shows whole minutes of no less than nothing.
  const int32_t minutes = std::max(0, seconds) / 60;
  if (minutes == shown.duration) return;
  duration_.OnSetString(DurationText(seconds, TimeSeparator()));
  shown.duration = minutes;
  Changed();
}

void RecordRow::OnSetTunerId(int32_t id) {
  TunerId = id;
  Shown& shown = Current();
  const int32_t input = id == 0 ? 0 : 1;  // the first input, or the second
  if (input == shown.tuner) return;
  tuner_.OnSetBitmap(Resources::LoadResource(input == 0 ? Bitmaps::BannerRF1Input : Bitmaps::BannerRF2Input));
  shown.tuner = input;
  Changed();
}

void RecordRow::OnSetMapId(int32_t id) {
  MapId = id;
  Shown& shown = Current();
  const int32_t map = id == 0 ? 0 : 1;  // antenna, or cable
  if (map == shown.map) return;
  map_.OnSetString(map == 0 ? kv::GetVariantOfString(Strings::SID_ANT) : kv::GetVariantOfString(Strings::SID_CABLE));
  shown.map = map;
  Changed();
}

void RecordRow::OnSetStatus(int32_t status) {
  Status = status;
  Shown& shown = Current();
  if (status == shown.status) return;
  const Resources::BitmapId* id = StatusBitmap(status);
  status_.OnSetBitmap(id ? Resources::LoadResource(*id) : nullptr);
  status_.OnSetVisible(id != nullptr);
  shown.status = status;
  Changed();
}

void RecordRow::SetChannel(int32_t major, int32_t minor) {
  ChannelMajor = major;
  ChannelMinor = minor;
  Shown& shown = Current();
  if (major == shown.major && minor == shown.minor) return;
  SkinBin::Wrapper* w = SkinWrapper();
  if (!w) return;
  channel_.OnSetString(w->GetChannelNumberStr(true, major, minor));
  shown.major = major;
  shown.minor = minor;
  Changed();
}

bool RecordRow::TakeRecord(kv::Object* data) {
  Fill fill(*this);
  ListItem::SetData(data);
  auto* c = kv::Cast<RecordCourier>(data);
  if (!c) {
    OnSetRecordStartTime(nullptr);
    time_.OnSetString({});
    Current().hour = Current().minute = kUnset;
    OnSetText(NoInformation());
    Description = NoInformation();
    ItemIndex = 0;
    EventFlag = false;
    Rating = 0;
    Changed();
    return false;
  }
  EventFlag = c->EventFlag;
  Description = c->Description;
  Rating = c->Rating;
  RecordId = c->RecordId;
  EventStartTime = c->EventStartTime;
  EventDuration = c->EventDuration;
  OnSetRecordStartTime(c->StartTime.get());
  OnSetRecordDuration(c->Duration);
  OnSetTunerId(c->TunerId);
  OnSetMapId(c->MapId);
  SetChannel(c->ChannelMajor, c->ChannelMinor);
  OnSetStatus(c->Status);
  return true;
}

void RecordRow::PutRecord(RecordCourier* c) {
  ListItem::GetData(c);
  c->EventFlag = EventFlag;
  c->StartTime = RecordStartTime;
  c->Duration = RecordDuration;
  c->Description = Description;
  c->Rating = Rating;
  c->RecordId = RecordId;
  c->ChannelMajor = ChannelMajor;
  c->ChannelMinor = ChannelMinor;
  c->EventStartTime = EventStartTime;
  c->EventDuration = EventDuration;
  c->TunerId = TunerId;
  c->MapId = MapId;
  c->Status = Status;
}

ScheduledRecordListItem::ScheduledRecordListItem() {
  source_.OnSetFont(Resources::LoadResource(Fonts::EPGListFont));
  source_.OnSetEllipsis(true);
  AddColumn(source_, true, true);
  AddColumn(repeat_);
  AddColumn(check_);
  OnSetActive(false);
  OnSetSourceType(1);
}

const Resources::BitmapId* ScheduledRecordListItem::StatusBitmap(int32_t status) const {
  if (status == 1) return &Bitmaps::RecordStatusInRecording;
  if (status == 4) return &Bitmaps::RecordStatusNoUSB;
  if (status == 5) return &Bitmaps::RecordStatusNoSize;
  if (status >= 6 && status <= 12) return &Bitmaps::RecordStatusFailed;
  if (status == 18) return &Bitmaps::RecordStatusWillRecord;
  return nullptr;
}

void ScheduledRecordListItem::Refresh() {
  RecordRow::Refresh();
  const int32_t h = Bounds().H(), w = Bounds().W();
  Place(source_, RecordColumns::kSource, w, h, TextView());
  PlaceIcon(repeat_, RecordColumns::kRepeat, 30, 16, w, h);
  PlaceIcon(StatusView(), RecordColumns::kStatus, 18, 18, w, h);
  PlaceIcon(check_, RecordColumns::kActive, 20, 20, w, h);
}

void ScheduledRecordListItem::OnSetActive(bool on) {
  Active = on;
  Shown& shown = Current();
  if (int32_t{on} == shown.active) return;
  check_.OnSetBitmap(Resources::LoadResource(on ? Bitmaps::CheckBoxCheck : Bitmaps::CheckBox));
  shown.active = on;
  Changed();
}

void ScheduledRecordListItem::OnSetTimesType(int32_t type) {
  if (type < 0 || type > 4) return;  // an unknown kind leaves the icon
  TimesType = type;
  Shown& shown = Current();
  if (type == shown.timesType) return;
  static const Resources::BitmapId* const icons[5] = {nullptr, &Bitmaps::EPG_RecordTypeEveryday, &Bitmaps::EPG_RecordTypeDaily,
                                                      &Bitmaps::EPG_RecordTypeWeekly, &Bitmaps::EPG_RecordTypeOnce};
  const Resources::BitmapId* id = icons[type];
  repeat_.OnSetBitmap(id ? Resources::LoadResource(*id) : nullptr);
  repeat_.OnSetVisible(id != nullptr);
  shown.timesType = type;
  Changed();
}

void ScheduledRecordListItem::OnSetSourceType(int32_t type) {
  SourceType = type;
  Shown& shown = Current();
  if (type == shown.sourceType) return;
  if (type == 1)
    source_.OnSetString(kv::GetVariantOfString(ProductTree::SID_TIMER));
  else if (type == 2)
    source_.OnSetString(kv::GetVariantOfString(SOURCE_KIND_GUIDE));
  else
    source_.OnSetString({});
  shown.sourceType = type;
  Changed();
}

void ScheduledRecordListItem::SetData(kv::Object* data) {
  if (!data) return;
  Fill fill(*this);
  if (!TakeRecord(data)) return;
  auto* c = kv::Cast<ScheduledRecordListCourier>(data);
  if (!c) return;
  OnSetActive(c->Active);
  OnSetTimesType(c->TimesType);
  OnSetSourceType(c->SourceType);
  TimerId = c->TimerId;
  EventTitle = c->EventTitle;
}

kv::Object* ScheduledRecordListItem::GetData(kv::Object* data) {
  auto* c = kv::Cast<ScheduledRecordListCourier>(data);
  if (!c) c = kv::New<ScheduledRecordListCourier>();
  PutRecord(c);
  c->Active = Active;
  c->TimesType = TimesType;
  c->SourceType = SourceType;
  c->EventTitle = EventTitle;
  return c;
}

void ScheduledRecordListItem::ShowTimer(const Structures::TimerData& t) {
  Fill fill(*this);
  OnSetTunerId(t.Source != 0 ? 1 : 0);
  OnSetMapId(t.MapId);
  SetChannel(t.ChannelMajor, t.ChannelMinor);
  OnSetRecordStartTime(t.StartTime.get());
  OnSetRecordDuration(t.Duration);
  OnSetActive(t.Enable != 0);
  OnSetTimesType(t.TimesType);
  OnSetSourceType(t.SourceType);
}

void ScheduledRecordListItem::UpdateSettings() {
  SkinBin::Wrapper* w = SkinWrapper();
  if (Structures::TimerData* t = w ? CurrentTimer(w) : nullptr) ShowTimer(*t);
}

RecordedShowsListItem::RecordedShowsListItem() {
  OnSetActivateKey(KEY_NONE);  // no key activates a recorded show
  file_.OnSetFont(Resources::LoadResource(Fonts::EPGListFont));
  file_.OnSetEllipsis(true);
  AddColumn(file_, true, true);
}

const Resources::BitmapId* RecordedShowsListItem::StatusBitmap(int32_t status) const {
  if (status == 3) return &Bitmaps::RecordStatusStop;
  if (status == 19) return &Bitmaps::RecordStatusWillRecord;
  return nullptr;
}

void RecordedShowsListItem::Refresh() {
  RecordRow::Refresh();
  const int32_t h = Bounds().H(), w = Bounds().W();
  PlaceIcon(StatusView(), RecordColumns::kFile, 18, 18, w, h);
  Place(file_, RecordColumns::kFileName, w, h, TextView());
}

void RecordedShowsListItem::SetData(kv::Object* data) {
  if (!data) return;
  Fill fill(*this);
  if (!TakeRecord(data)) return;
  auto* c = kv::Cast<RecordedShowsListCourier>(data);
  if (!c) return;
  HasEventInfo = c->HasEventInfo;
  SecondText = c->SecondText;
  if (c->FileName == file_.OnGetString()) return;
  file_.OnSetString(c->FileName);
  Changed();
}

kv::Object* RecordedShowsListItem::GetData(kv::Object* data) {
  auto* c = kv::Cast<RecordedShowsListCourier>(data);
  if (!c) c = kv::New<RecordedShowsListCourier>();
  PutRecord(c);
  c->HasEventInfo = HasEventInfo;
  c->FileName = file_.OnGetString();
  c->SecondText = SecondText;
  return c;
}

// --- Lists --------------------------------------------------------------------------------

RecordListBase::RecordListBase() {
  RowsTakeWidth = true;  // the rows' columns spread across the list
  MaxRows = kRecordRows;
  PageUpKey = KEY_PREV;
  PageDownKey = KEY_NEXT;
}

void RecordListBase::forceReload(kv::Object* sender) {
  PagedList::forceReload(sender);
  FocusLater(this);
}

void RecordListBase::FocusLater(kv::Object* /*sender*/) { kv::PostSignal(kv::MakeSlot(this, &RecordListBase::PostedFocus)); }

ScheduledRecordList::ScheduledRecordList() {
  ItemClass = &ScheduledRecordListItem::StaticClass();
  OnFocusOption = kv::MakeSlot(this, &RecordListBase::FocusLater);
  OnActivateOption = kv::MakeSlot(this, &ScheduledRecordList::UpdateRecordInfo);
}

void ScheduledRecordList::Initialize(Primitives::KeyRoutingParameter* param) {
  if (SkinBin::Wrapper* w = SkinWrapper()) w->GetScheduledInfo()->GetEventInfoByCount(kScheduledAsked);
  ListClass::Initialize(param);
}

int32_t ScheduledRecordList::GetItemsNum() {
  SkinBin::Wrapper* w = SkinWrapper();
  return w && w->ScheduledInfo ? w->ScheduledInfo->GetNumEvents() : 0;
}

bool ScheduledRecordList::IsItemValid(int32_t offset) { return DataSource && DataSource->HasItem(this, offset); }

void ScheduledRecordList::DoFocus(kv::Object* /*sender*/) {
  auto* row = kv::Cast<ScheduledRecordListItem>(GetFocusedRow());
  if (!row) return;
  Focused.EventFlag = row->EventFlag;
  Focused.EventTitle = row->EventTitle;
  Focused.EventStartTime = row->EventStartTime;
  Focused.EventDuration = row->EventDuration;
  Focused.Description = row->Description;
  Focused.Rating = row->Rating;
  Focused.FocusedIndex = row->ItemIndex;
  Focused.SourceType = row->SourceType;
  kv::Signal(OnProgramChanged, this);
}

void ScheduledRecordList::UpdateRecordInfo(kv::Object* /*sender*/) {
  auto* row = kv::Cast<ScheduledRecordListItem>(GetFocusedRow());
  SkinBin::Wrapper* w = SkinWrapper();
  auto* system = kv::Cast<NonMenuSystem::NonMenuSystem>(SubSystemOf(kv::Cast<Primitives::KeyRoutingForm>(Owner())));
  if (!row || !w) return;
  if (!w->IsTunerSource()) {
    if (system) system->ShowMessage(Constants::DirectMsgTypeDisableTimerSetting);
    return;
  }
  w->OnSetActiveTimerId(row->TimerId);
  const kv::Class* editor = KV_LATE_CLASS("Record::RecordTimerDialog");
  if (!system || !editor) return;
  auto* s = kv::New<SubSystem::State>();
  s->Class = editor;
  s->Param = SkinBin::UserRefInt::Make(row->SourceType, Constants::MSG_FROM_NONMENUSYSTEM);
  TimerEditorHandoff handoff;
  handoff.isUpdate = true;
  handoff.start = row->RecordStartTime.get();
  handoff.durationSeconds = row->RecordDuration;
  HandToTimerEditor(system->ChangeState(s), handoff);
}

void ScheduledRecordList::HandleMessage(Structures::Message* msg) {
  if (!msg || msg->Code != Constants::MSG_UPDATE_RECORD_TYPE) return;
  if (auto* row = kv::Cast<ScheduledRecordListItem>(GetFocusedRow())) row->UpdateSettings();
}

RecordedShowsList::RecordedShowsList() {
  ItemClass = &RecordedShowsListItem::StaticClass();
  OnFocusOption = kv::MakeSlot(this, &RecordListBase::FocusLater);
}

void RecordedShowsList::Initialize(Primitives::KeyRoutingParameter* param) {
  if (SkinBin::Wrapper* w = SkinWrapper()) w->GetRecordedInfo()->GetEventInfoByCount();
  ListClass::Initialize(param);
}

int32_t RecordedShowsList::GetItemsNum() {
  SkinBin::Wrapper* w = SkinWrapper();
  return w && w->RecordedInfo ? w->RecordedInfo->GetNumEvents() : 0;
}

kv::String RecordedShowsList::GetStringParam() {
  SkinBin::Wrapper* w = SkinWrapper();
  SkinBin::USBDiskStatus* disk = w ? w->GetUSBDiskStatus() : nullptr;
  return disk && disk->Mounted ? disk->MountPoint : kv::String();
}

void RecordedShowsList::DoFocus(kv::Object* /*sender*/) {
  auto* row = kv::Cast<RecordedShowsListItem>(GetFocusedRow());
  if (!row) return;
  Focused.ShowInfo = row->HasEventInfo;
  Focused.EventFlag = row->EventFlag;
  Focused.EventTitle = row->OnGetText();
  Focused.EventStartTime = row->EventStartTime;
  Focused.EventDuration = row->EventDuration;
  Focused.Description = row->Description;
  Focused.Rating = row->Rating;
  Focused.FocusedIndex = row->ItemIndex;
  kv::Signal(OnProgramChanged, this);
}

}  // namespace ListForm
