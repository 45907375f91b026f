#include "units/Record/RecordTimerDialog.h"

#include <algorithm>
#include <initializer_list>
#include <string>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "strings/Record.h"
#include "strings/Strings.h"
#include "strings/Wrapper.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Channels/FullEPGDialog.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Constants/MessageTypes.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/Fonts/Fonts.h"
#include "units/ListForm/ListContext.h"
#include "units/ListForm/OptionLists.h"
#include "units/ListForm/PagedList.h"
#include "units/ListForm/RowColumns.h"
#include "units/NonMenuSystem/DateTimeEditors.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/NonMenuSystem/OptionDialogs.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionDatabase.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Record/RecordListScreens.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/ChannelListData.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/RecordData.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/AMPMHour.h"
#include "units/Structures/EventInfo.h"
#include "units/Structures/Message.h"
#include "units/Structures/VirtualChannel.h"
#include "units/SubSystem/State.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(Record::RecordTimerDialog);
KV_REGISTER_CLASS(Record::TimerDurationDialog);

namespace Record {

namespace {

using namespace keys;

constexpr int32_t kYearBase = 1900;
constexpr int32_t kPM = 1;
constexpr int32_t kMinutesPerDay = 24 * 60;
constexpr uint32_t kEditorLayer = 128;
constexpr uint32_t kDurationLayer = 256;
// The dialog's size (the frame width is 0) and its grid.
constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 336;
constexpr int32_t kRowHeight = 27;
constexpr int32_t kGridRows = 6;
constexpr int32_t kRow[6] = {54, 92, 130, 168, 206, 290};
constexpr int32_t kLabelX[2] = {20, 330};
constexpr int32_t kLabelW = 112;
constexpr int32_t kButtonX[2] = {136, 446};
constexpr int32_t kButtonW = 170;
// Columns sized to the menu language's labels (PlaceColumns): the margins,
// the gap from a label to its button and the gap between the columns.
constexpr int32_t kLeftMargin = 20;
constexpr int32_t kRightMargin = 24;
constexpr int32_t kLabelGap = 4;
constexpr int32_t kColumnGap = 24;
constexpr int32_t kWordGap = 6;
// The room a button's value keeps from either rim.
constexpr int32_t kValueMargin = 10;
// The right column's buttons never get narrower than this.
constexpr int32_t kNarrowestButton = 140;

// The width of the pop-up of an option's choices (NonMenuSystem::OptionDialog
// around its list).
int32_t PopUpWidth(int32_t optionType) { return ListForm::OptionRowsWidth(optionType) + 2 * ListForm::kOptionListInset; }
// The masks the repeat types write: all days, Monday to Friday, the weekend.
constexpr int32_t kMaskEveryday = 0x7F;
constexpr int32_t kMaskDaily = 0x3E;
constexpr int32_t kMaskWeekly = 0x41;

SkinBin::Wrapper* Skin() { return NonMenuSystem::Live::Skin(); }
kv::String T(const kv::TextId& id) { return kv::LoadString(id); }
kv::String V(const kv::MultiTextId& id) { return kv::GetVariantOfString(id); }
kv::String Cat(const kv::String& a, const kv::String& b) { return kv::ConcatString(a, b); }
kv::String Label(const kv::MultiTextId& id) { return Cat(V(id), V(LABEL_COLON)); }

void Place(Core::View& v, int32_t x, int32_t y, int32_t w, int32_t h) { v.OnSetBounds({x, y, x + w, y + h}); }

void SetUpLabel(Views::Text& t, int32_t column, int32_t row) {
  t.OnSetFont(Resources::LoadResource(Fonts::EPGListFont));
  t.OnSetColor(Colors::StandardTextColor);
  t.OnSetAlignV(1);
  t.OnSetEllipsis(true);
  Place(t, kLabelX[column], kRow[row], kLabelW, kRowHeight);
}

void SetUpButton(SkinBin::Button& b, int32_t column, int32_t row) {
  Place(b, kButtonX[column], kRow[row], kButtonW, kRowHeight);
  b.OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::DialogButtonNonfocus));
  b.OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::DialogButtonFocus));
  b.OnSetTextAlignH(1);
  b.OnSetTextEllipsis(true);
}

bool GuideOrListOpen() { return ScreenUnderEditor() != nullptr; }

// The scheduler's record of a timer: the scheduled show `id`.
SkinBin::ScheduledRecordData* ShowOf(const Structures::TimerData* t, int32_t id) {
  auto* r = kv::New<SkinBin::ScheduledRecordData>();
  if (!t) return r;
  r->Id = id;
  r->TimerId = t->Id;
  r->Flag = static_cast<uint8_t>(t->SourceType);
  r->Duration = t->Duration / 60;
  r->Tuner = t->Source != 0 ? 1 : 0;
  r->Major = t->ChannelMajor;
  r->Minor = t->ChannelMinor;
  r->MapId = t->MapId;
  r->StartTime = CopyLocalTime(t->StartTime.get());
  r->DayOfWeek = t->DaysOfWeek;
  r->Repeat1 = t->TimesType;
  return r;
}

int32_t MaskOf(int32_t timesType, int32_t current) {
  switch (timesType) {
    case kTimesEveryday: return kMaskEveryday;
    case kTimesDaily: return kMaskDaily;
    case kTimesWeekly: return kMaskWeekly;
    default: return current;
  }
}

int32_t TransitionOf(const NonMenuSystem::WidgetClass& w) {
  if (w.MenuTriggered) return Constants::MSG_FROM_MENUSYSTEM;
  if (w.OpenedFromQuickMenu()) return Constants::MSG_FROM_QUICKMENU;
  return Constants::MSG_FROM_NONMENUSYSTEM;
}

// What the guide and the scheduled list hand to the editor.
void SetUpFromList(Primitives::KeyRoutingForm* form, const ListForm::TimerEditorHandoff& handoff) {
  auto* editor = kv::Cast<RecordTimerDialog>(form);
  if (!editor) return;
  editor->OnSetIsUpdate(handoff.isUpdate);
  if (handoff.start) editor->SetStart(handoff.start);
  if (handoff.durationSeconds > 0) editor->SetDuration(handoff.durationSeconds);
  editor->SetChannel(handoff.channel);
  editor->IsShortcut = editor->MenuTriggered;
  editor->ApplySourceType();
}

struct InstallSetup {
  InstallSetup() { ListForm::SetTimerEditorSetup(&SetUpFromList); }
} g_installSetup;

// The option database's record of an option, or null.
OptionDatabase::OptionDataClass* OptionRecord(int32_t optionType) {
  auto* db = kv::GetAutoObject<OptionDatabase::OptionDatabaseClass>(MainApp::OptionDB);
  return db ? db->GetOptionData(optionType) : nullptr;
}

// The value of the choice just made in an option's pop-up (the index of an
// input or of a channel), as the pop-up left it in the option's record: the
// timer's property reads only a source id or a channel number back.
int32_t ChosenValue(int32_t optionType) {
  OptionDatabase::OptionDataClass* record = OptionRecord(optionType);
  return record ? record->Value : -1;
}

}  // namespace

Primitives::KeyRoutingForm* ScreenUnderEditor() {
  auto* wm = kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
  if (!wm) return nullptr;
  for (uint32_t id : {WinIDs::WIN_ID_FullEPGDialog, WinIDs::WIN_ID_ScheduledRecordDialog, WinIDs::WIN_ID_RecordedShowsDialog})
    if (Primitives::KeyRoutingForm* f = wm->FindForm(id)) return f;
  return nullptr;
}

Structures::LocalTime* CopyLocalTime(const Structures::LocalTime* t) {
  auto* c = kv::New<Structures::LocalTime>();
  if (!t) return c;
  c->Second = t->Second;
  c->Minute = t->Minute;
  c->Hour = t->Hour;
  c->Day = t->Day;
  c->Month = t->Month;
  c->Year = t->Year;
  c->Weekday = t->Weekday;
  c->YearDay = t->YearDay;
  c->DaylightSaving = t->DaylightSaving;
  return c;
}

Structures::TimerData* CopyTimer(const Structures::TimerData* t) {
  if (!t) return nullptr;
  auto* c = kv::New<Structures::TimerData>();
  c->Enable = t->Enable;
  c->Id = t->Id;
  c->DaysOfWeek = t->DaysOfWeek;
  c->Duration = t->Duration;
  c->Source = t->Source;
  c->ChannelMajor = t->ChannelMajor;
  c->ChannelMinor = t->ChannelMinor;
  c->Extra2 = t->Extra2;
  c->StartTime = t->StartTime ? CopyLocalTime(t->StartTime.get()) : nullptr;
  c->TimesType = t->TimesType;
  c->Extra3 = t->Extra3;
  c->Extra1 = t->Extra1;
  c->SourceType = t->SourceType;
  c->MapId = t->MapId;
  c->StartEarly = t->StartEarly;
  c->EndDelay = t->EndDelay;
  return c;
}

// --- RecordTimerDialog ----------------------------------------------------------------

RecordTimerDialog::RecordTimerDialog() {
  OnSetBounds({0, 0, kWidth + 68, kHeight + 68});
  OnSetFrameWidth(0);
  Layer = kEditorLayer;
  SetUpLabel(DateLabel, 0, 0);
  SetUpLabel(TimeLabel, 1, 0);
  SetUpButton(DateButton, 0, 0);
  SetUpButton(TimeButton, 1, 0);
  DateButton.TargetClass = &NonMenuSystem::DateSettingDialog::StaticClass();
  TimeButton.TargetClass = &NonMenuSystem::TimeSettingDialog::StaticClass();
  Place(ActiveBox, kButtonX[1], kRow[4], kButtonW, kRowHeight);
  ActiveBox.OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::DialogButtonFocus));
  SetUpLabel(TypeLabel, 0, 1);
  SetUpButton(TypeButton, 0, 1);
  TypeButton.OptionType = SkinBin::OPTION_TYPE_TIMER_TIMES_TYPE;
  SetUpLabel(InputLabel, 1, 1);
  SetUpLabel(ChannelLabel, 1, 2);
  SetUpButton(InputButton, 1, 1);
  InputButton.OptionType = SkinBin::OPTION_TYPE_ONTIMER_INPUT;
  SetUpButton(ChannelButton, 1, 2);
  ChannelButton.OptionType = SkinBin::OPTION_TYPE_ONTIMER_CHANNEL;
  SetUpLabel(DurationLabel, 0, 2);
  SetUpButton(DurationButton, 0, 2);
  DurationButton.TargetClass = &TimerDurationDialog::StaticClass();
  SetUpButton(DoneButton, 0, 5);
  Place(DoneButton, (kWidth - kButtonW) / 2, kRow[5], kButtonW, kRowHeight);
  SetUpLabel(MediumLabel, 1, 3);
  SetUpButton(MediumButton, 1, 3);
  MediumButton.OptionType = SkinBin::OPTION_TYPE_ONTIMER_MEDIUM;
  SetUpLabel(EarlyLabel, 0, 3);
  Place(EarlyLabel, kLabelX[0], kRow[3], 56, kRowHeight);
  SetUpLabel(EarlyStartLabel, 0, 3);
  Place(EarlyStartLabel, kLabelX[0] + 56, kRow[3], kLabelW - 56, kRowHeight);
  SetUpButton(EarlyButton, 0, 3);
  EarlyButton.OptionType = SkinBin::OPTION_TYPE_TIMER_START_EARLY;
  SetUpLabel(EndLabel, 0, 4);
  // "Late end:" and its button, as "Early Start:" above it.
  SetUpButton(EndDelayButton, 0, 4);
  EndDelayButton.OptionType = SkinBin::OPTION_TYPE_TIMER_END_DELAY;
  for (Core::View* v : std::initializer_list<Core::View*>{
           &DateLabel, &TimeLabel, &DateButton, &TimeButton, &ActiveBox, &TypeLabel, &TypeButton, &InputLabel,
           &ChannelLabel, &InputButton, &ChannelButton, &DurationLabel, &DurationButton, &DoneButton, &MediumLabel,
           &MediumButton, &EarlyLabel, &EarlyStartLabel, &EarlyButton, &EndLabel, &EndDelayButton})
    Add(v);
  for (SkinBin::Button* b : {static_cast<SkinBin::Button*>(&DateButton), static_cast<SkinBin::Button*>(&TimeButton),
                             static_cast<SkinBin::Button*>(&TypeButton), static_cast<SkinBin::Button*>(&InputButton),
                             static_cast<SkinBin::Button*>(&ChannelButton), &DurationButton,
                             static_cast<SkinBin::Button*>(&MediumButton), static_cast<SkinBin::Button*>(&EarlyButton),
                             static_cast<SkinBin::Button*>(&EndDelayButton)})
    b->OnActivate = kv::MakeSlot(this, &RecordTimerDialog::DoActivate);
  DoneButton.OnActivate = kv::MakeSlot(this, &RecordTimerDialog::DoneSlot);
  ActiveBox.OnActivate = kv::MakeSlot(this, &RecordTimerDialog::SetTimerActive);
  start_ = kv::New<Structures::LocalTime>();
  SetUpTexts();
  IsShortcut = true;
  OnSetFocus(&ActiveBox);
}

RecordTimerDialog::~RecordTimerDialog() = default;

void RecordTimerDialog::SetUpTexts() {
  OnSetCaption(V(TIMER_CAPTION));
  DateLabel.OnSetString(Label(Strings::SID_DATE));
  TimeLabel.OnSetString(Label(Strings::Time));
  TypeLabel.OnSetString(Label(Strings::SID_TYPE));
  InputLabel.OnSetString(Label(Strings::SID_INPUT));
  ChannelLabel.OnSetString(Label(Strings::SID_CH));
  DurationLabel.OnSetString(Label(Strings::Duration));
  MediumLabel.OnSetString(V(TIMER_MEDIUM_LABEL));
  EarlyLabel.OnSetString(V(TIMER_EARLY_LABEL));
  EarlyStartLabel.OnSetString(Label(Strings::SID_START));
  EndLabel.OnSetString(V(TIMER_END_LABEL));
  ActiveBox.OnSetText(V(Strings::SID_ACTIVE));
  MediumButton.OnSetText(V(Strings::SID_ANTENNA));
  DoneButton.OnSetText(V(IsUpdate ? Strings::SID_UPDATE : Strings::SID_DONE));
  PlaceColumns();
}

// Each column's labels take the width of its longest label in the menu
// language and the two columns' buttons share the rest, so that no label
// runs short: alike, unless the Type button needs more, for its longest
// choice ("Monday to Friday") with a margin on both sides and for the
// choices' pop-up, which may reach over the gaps beside the button but over
// no label; the right column's buttons (times, numbers, input names) then
// give it theirs.
void RecordTimerDialog::PlaceColumns() {
  const auto w = [](const Views::Text& t) { return t.WidthIn(kWidth); };
  const int32_t early = w(EarlyLabel) + kWordGap + w(EarlyStartLabel);
  const int32_t labels[2] = {std::max({w(DateLabel), w(TypeLabel), w(DurationLabel), w(EndLabel), early}),
                             std::max({w(TimeLabel), w(InputLabel), w(ChannelLabel), w(MediumLabel)})};
  const int32_t both = kWidth - kLeftMargin - kRightMargin - 2 * kLabelGap - kColumnGap - labels[0] - labels[1];
  const int32_t type =
      std::max(ListForm::WidestChoice(TypeButton.OptionType, TypeButton.OnGetTextFont()) + 2 * kValueMargin,
               PopUpWidth(TypeButton.OptionType) - kLabelGap - kColumnGap);
  const int32_t first = std::clamp(type, both / 2, std::max(both / 2, both - kNarrowestButton));
  const int32_t button[2] = {first, both - first};
  const int32_t labelX[2] = {kLeftMargin, kLeftMargin + labels[0] + kLabelGap + button[0] + kColumnGap};
  const auto label = [&](Views::Text& t, int32_t column, int32_t row) {
    Place(t, labelX[column], kRow[row], labels[column], kRowHeight);
  };
  const auto control = [&](Core::View& v, int32_t column, int32_t row) {
    Place(v, labelX[column] + labels[column] + kLabelGap, kRow[row], button[column], kRowHeight);
  };
  label(DateLabel, 0, 0);
  label(TimeLabel, 1, 0);
  label(TypeLabel, 0, 1);
  label(InputLabel, 1, 1);
  label(DurationLabel, 0, 2);
  label(ChannelLabel, 1, 2);
  label(MediumLabel, 1, 3);
  label(EndLabel, 0, 4);
  Place(EarlyLabel, labelX[0], kRow[3], w(EarlyLabel), kRowHeight);
  Place(EarlyStartLabel, labelX[0] + w(EarlyLabel) + kWordGap, kRow[3], w(EarlyStartLabel), kRowHeight);
  control(DateButton, 0, 0);
  control(TimeButton, 1, 0);
  control(TypeButton, 0, 1);
  control(InputButton, 1, 1);
  control(DurationButton, 0, 2);
  control(ChannelButton, 1, 2);
  control(EarlyButton, 0, 3);
  control(MediumButton, 1, 3);
  control(EndDelayButton, 0, 4);
  control(ActiveBox, 1, 4);
}

void RecordTimerDialog::ReInit() {
  KXDWidgetClass::ReInit();
  SetUpTexts();
  ShowDate();
  ShowTime();
  ShowDuration();
}

void RecordTimerDialog::OnSetIsUpdate(bool on) {
  IsUpdate = on;
  DoneButton.OnSetText(V(on ? Strings::SID_UPDATE : Strings::SID_DONE));
}

void RecordTimerDialog::SetStart(const Structures::LocalTime* start) { start_ = CopyLocalTime(start); }

void RecordTimerDialog::SetChannel(const Structures::VirtualChannel* channel) {
  if (!channel) {
    channel_ = nullptr;
    return;
  }
  auto* copy = kv::New<Structures::VirtualChannel>();
  copy->Major = channel->Major;
  copy->Minor = channel->Minor;
  channel_ = copy;
}

void RecordTimerDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  channel_ = nullptr;
  if (auto* ref = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr) {
    kind_ = ref->Value;
    fromGuide_ = ref->Flag != 0;
  }
  if (GuideOrListOpen()) frame_.OnSetBitmap(Resources::LoadResource(Bitmaps::MediaQuickMenuBg));
  // Over the guide the editor stands beside its channel column, from the top
  // of its programme list: the channel names stay whole, and the programme
  // rows it stands on are covered from end to end of their texts. Over the
  // scheduled recordings it stands on the list's rows, under the column
  // headers, from between the rows' map and title: the headers and each
  // row's tuner, channel and map stay whole, the rest of the row to its
  // status is covered, the active box shows; the panel's programme under it
  // (that of the timer it edits) is hidden until it goes. Elsewhere it
  // stands in the middle of the screen.
  WidgetOrigin = {-1, -1};
  if (auto* list = kv::Cast<ScheduledRecordDialog>(ScreenUnderEditor())) {
    namespace Row = ListForm::RecordColumns;
    const kv::Rect rows = list->List.GetAbsoluteBounds();
    const int32_t mapEnd = Row::kMap.Right(rows.W());
    WidgetOrigin = {rows.x1 + mapEnd + (Row::kTitle.Left(rows.W()) - mapEnd) / 2, rows.y1};
    list->Parts.Info.HideAllInfo();
  }
  if (auto* guide = kv::Cast<Channels::FullEPGDialog>(ScreenUnderEditor())) {
    const kv::Rect column = guide->Column.GetAbsoluteBounds();
    const kv::Rect programmes = guide->Programs.GetAbsoluteBounds();
    WidgetOrigin = {column.x2 + (programmes.x1 - column.x2) / 3, programmes.y1};
    // It stands on the top of the programme's details too, whose rating at
    // the right end of the title's line would show cut at its edge: the
    // details stay hidden until the editor goes.
    guide->Info.OnSetVisible(false);
  }
  if (SkinBin::Wrapper* w = Skin()) savedSource_ = w->GetCurrentSource(0);
  if (reloadOptions_) {
    for (Network::OptionButton* b : {&TypeButton, &InputButton, &MediumButton, &ChannelButton, &EarlyButton, &EndDelayButton})
      LoadOptionItem(*b);
    reloadOptions_ = false;
  }
}

// --- Texts ---------------------------------------------------------------------------------

void RecordTimerDialog::ShowDate() {
  const Structures::LocalTime* t = start_.get();
  kv::String text = Cat(ListForm::MonthName(t->Month), T(DATE_SEPARATOR));
  text = Cat(text, kv::NewStringInt(t->Day, 0));
  text = Cat(text, T(YEAR_SEPARATOR));
  DateButton.OnSetText(Cat(text, kv::NewStringInt(t->Year + kYearBase, 0)));
}

void RecordTimerDialog::ShowTime() { TimeButton.OnSetText(::Wrapper::Wrapper::GetTimeAMPM(start_->Hour, start_->Minute)); }

void RecordTimerDialog::ShowDuration() {
  const kv::String text = Cat(kv::NewStringInt(duration_ / 3600, 2), T(LABEL_SEPARATOR));
  DurationButton.OnSetText(Cat(text, kv::NewStringInt((duration_ / 60) % 60, 2)));
}

void RecordTimerDialog::WriteStart() {
  if (SkinBin::Wrapper* w = Skin()) w->OnSetTimerStartTime(start_.get());
}

// --- Filling ------------------------------------------------------------------------------

void RecordTimerDialog::ApplySourceType() {
  SkinBin::Wrapper* w = Skin();
  if (!w) return;
  // A new timer for a chosen programme records that programme once (Done
  // sets the weekday of its start); an empty slot's weekday repeat would
  // record other programmes at that hour and miss a weekend one. The type
  // button still offers the others; an edited timer keeps its type.
  if ((kind_ == kKindGuide || kind_ == kKindStart) && !IsUpdate) w->OnSetTimerTimesType(kTimesOnce);
  RefreshGrayout();
  if (kind_ == kKindGuide || kind_ == kKindStart) {
    w->OnSetTimerSourceType(kKindGuide);
    if (IsUpdate) {
      SetStart(w->OnGetTimerStartTime());
      duration_ = w->OnGetTimerDuration();
      ActiveBox.OnSetIsChecked(w->OnGetEnableTimer() != 0);
    } else {
      ActiveBox.OnSetIsChecked(true);
      SetTimerActive();
      WriteStart();
      if (duration_ < kMinDuration) duration_ = kMinDuration;
      w->OnSetTimerDuration(duration_);
    }
  } else {
    w->OnSetTimerSourceType(kKindTimer);
    for (Button::ButtonClass* b : {static_cast<Button::ButtonClass*>(&InputButton),
                                   static_cast<Button::ButtonClass*>(&MediumButton),
                                   static_cast<Button::ButtonClass*>(&ChannelButton),
                                   static_cast<Button::ButtonClass*>(&DurationButton)})
      SetButtonEnable(*b, true);
    if (IsUpdate) {
      SetStart(w->OnGetTimerStartTime());
      duration_ = w->OnGetTimerDuration();
      ActiveBox.OnSetIsChecked(w->OnGetEnableTimer() != 0);
    } else {
      SetStart(w->GetCurrentTime());
      duration_ = 3600;
      WriteStart();
      w->OnSetTimerDuration(duration_);
      ActiveBox.OnSetIsChecked(false);
      SetTimerActive();
    }
  }
  // A new timer records the input, medium and channel on screen (the
  // programme's channel when the opener named one) until the viewer picks
  // others: a free slot holds no channel, and its medium would be antenna.
  if (!IsUpdate) {
    w->OnSetTimerSource(w->GetCurrentSource(0));
    w->OnSetTimerMapId(w->OnGetAntCableIn() != 0 ? 1 : 0);
    if (channel_ && channel_->Major > 0)
      w->OnSetTimerChannel(::Wrapper::Wrapper::UniteChannelNum(channel_->Major, channel_->Minor));
    else
      ApplyCurrentChannel();
  }
  ShowDate();
  ShowTime();
  ShowDuration();
  const int32_t type = w->OnGetTimerTimesType();
  if (type != kTimesNone && type != kTimesOnce) w->OnSetTimerDaysOfWeek(MaskOf(type, w->OnGetTimerDaysOfWeek()));
  for (Network::OptionButton* b : {&TypeButton, &InputButton, &MediumButton, &ChannelButton, &EarlyButton, &EndDelayButton})
    LoadOptionItem(*b);
  // A copy: the active record changes under the editor from now on.
  captured_ = CopyTimer(w->ActiveTimer.get());
}

void RecordTimerDialog::RefreshGrayout() {
  SkinBin::Wrapper* w = Skin();
  const bool once = w && w->OnGetTimerTimesType() == kTimesOnce;
  const bool byHand = kind_ != kKindGuide && kind_ != kKindStart;
  SetButtonEnable(DateButton, byHand && once);
  for (Button::ButtonClass* b : {static_cast<Button::ButtonClass*>(&TimeButton),
                                 static_cast<Button::ButtonClass*>(&InputButton),
                                 static_cast<Button::ButtonClass*>(&MediumButton),
                                 static_cast<Button::ButtonClass*>(&ChannelButton),
                                 static_cast<Button::ButtonClass*>(&DurationButton)})
    SetButtonEnable(*b, byHand);
  SetButtonEnable(EarlyButton, kind_ == kKindGuide);
  SetButtonEnable(EndDelayButton, kind_ == kKindGuide || kind_ == kKindStart);
}

void RecordTimerDialog::SetButtonEnable(Button::ButtonClass& button, bool enabled) {
  if (button.OnGetIsDisabled() == !enabled) return;
  button.OnSetIsDisabled(!enabled);
  button.OnSetEnabled(enabled);
}

void RecordTimerDialog::ReadTimerChoice(OptionDatabase::OptionDataClass* record) {
  if (record->HasProperty()) {
    const int32_t value = kv::OnGetInt32(record->RefValue);
    SkinBin::Wrapper* w = Skin();
    const auto type = static_cast<int32_t>(record->OptionId);
    if (type == SkinBin::OPTION_TYPE_ONTIMER_INPUT && w) {
      // The timer keeps a source id; the input option offers sources by index.
      record->Value = w->GetSourceIndex(value);
    } else if (type == SkinBin::OPTION_TYPE_ONTIMER_CHANNEL && w) {
      // The timer keeps the channel's number; the option offers the timer's
      // channel table by index.
      record->Value = w->GetChannelListData()->GetIndexOfTimerChannelNum(value);
    } else {
      record->Value = value;
      kv::OnSetInt32(record->RefValue, value);
    }
  }
  record->Val2Id();
}

void RecordTimerDialog::LoadOptionItem(Network::OptionButton& button) {
  if (button.OptionType == 0) return;
  OptionDatabase::OptionDataClass* record = OptionRecord(button.OptionType);
  if (!record) return;
  // The input and channel options take their choices from the set when
  // initialised: always before they are shown.
  const bool fromSet = button.OptionType == SkinBin::OPTION_TYPE_ONTIMER_INPUT ||
                       button.OptionType == SkinBin::OPTION_TYPE_ONTIMER_CHANNEL;
  if (reloadOptions_ || fromSet) record->Initialize();
  ReadTimerChoice(record);
  record->GetData();
  auto* courier = kv::Cast<OptionDatabase::OptionCourier>(record->Courier.get());
  button.OnSetText(courier ? courier->Caption : kv::String());
}

// --- Activation ---------------------------------------------------------------------------

void RecordTimerDialog::DoActivate(kv::Object* sender) {
  NonMenuSystem::NonMenuSystem* system = OnGetNonMenuSystem();
  if (!system) return;
  ResetTimeout();
  if (auto* option = kv::Cast<Network::OptionButton>(sender)) {
    if (!option->NextState || option->OnGetIsDisabled()) return;
    auto* state = kv::New<SubSystem::State>();
    state->Class = option->NextState;
    state->Param = SkinBin::UserRefInt::Make(option->OptionType, TransitionOf(*this));
    if (auto* dialog = kv::Cast<NonMenuSystem::OptionDialog>(system->ChangeState(state))) {
      dialog->OnValueChanged = kv::MakeSlot(this, &RecordTimerDialog::DoValueChange);
      // The pop-up opens on the value the option's property holds; the input
      // and channel hold a source id and a channel number, not the index of
      // their choice, so it opens on the timer's own choice here.
      if (option == &InputButton || option == &ChannelButton) FocusTimerChoice(*dialog);
      // Its choices open where the value stood, centred over its button
      // and reaching no further than the gaps beside it: the labels stay
      // whole. From a low row they would reach down over Done and cut its
      // caption: they rise as far as needed to end above it, no higher than
      // the first row, still over their own button.
      const kv::Rect b = option->Bounds();
      const kv::Rect d = dialog->Bounds();
      const int32_t x = std::clamp(b.x1 + (b.W() - d.W()) / 2, b.x1 - kLabelGap,
                                   std::max(b.x1 - kLabelGap, b.x2 + kColumnGap - d.W()));
      const int32_t y = std::max(std::min(b.y1, DoneButton.Bounds().y1 - d.H()), DateButton.Bounds().y1);
      dialog->OnSetBounds({Bounds().x1 + x, Bounds().y1 + y, Bounds().x1 + x + d.W(), Bounds().y1 + y + d.H()});
    }
    return;
  }
  auto* button = kv::Cast<SkinBin::Button>(sender);
  if (!button || !button->TargetClass || button->OnGetIsDisabled()) return;
  auto* state = kv::New<SubSystem::State>();
  state->Class = button->TargetClass;
  state->Param = SkinBin::UserRefInt::Make(0, TransitionOf(*this));
  Primitives::KeyRoutingForm* form = system->ChangeState(state);
  const Structures::LocalTime* t = start_.get();
  if (auto* date = kv::Cast<NonMenuSystem::DateSettingDialog>(form)) {
    date->OnSetOwner(this);
    date->OnValueReport = kv::MakeSlot(this, &RecordTimerDialog::EditorReport);
    date->OnSetYearVal(t->Year + kYearBase);
    date->OnSetMonthVal(t->Month);
    date->OnSetDateVal(t->Day);
  } else if (auto* time = kv::Cast<NonMenuSystem::TimeSettingDialog>(form)) {
    time->OnSetOwner(this);
    time->OnValueReport = kv::MakeSlot(this, &RecordTimerDialog::EditorReport);
    Structures::AMPMHour* ampm = ::Wrapper::Wrapper::Convert24HourToAMPM(t->Hour);
    time->OnSetMinVal(t->Minute);
    time->OnSetHourVal(ampm->Hour);
    time->OnSetAMPMVal(ampm->AM ? 0 : kPM);
  } else if (auto* length = kv::Cast<TimerDurationDialog>(form)) {
    length->OnSetEditor(this);
    length->OnSetHourVal(duration_ / 3600);
    length->OnSetMinVal((duration_ / 60) % 60);
  }
  // The editors stand in front of this editor (their layer is above its
  // own), their spinners where the value stood: the duration editor
  // centred over its button, the date and time editors over the row of
  // both buttons and as wide as it, so that no part of the other button or
  // of the label between them shows beside them.
  if (!form || !form->IsOpen()) return;
  kv::Rect over = button->Bounds();
  if (kv::Cast<NonMenuSystem::EditorBase>(form)) {
    over.x1 = DateButton.Bounds().x1;
    over.x2 = TimeButton.Bounds().x2;
    const kv::Rect f = form->Bounds();
    form->OnSetBounds({f.x1, f.y1, f.x1 + std::max(f.W(), over.W()), f.y2});
  }
  PlaceOver(form, over, true);
}

void RecordTimerDialog::FocusTimerChoice(NonMenuSystem::OptionDialog& dialog) {
  OptionDatabase::OptionDataClass* record = OptionRecord(dialog.OptionType);
  if (!record) return;
  ReadTimerChoice(record);
  if (record->Id >= 0 && record->Id < record->Num) dialog.List().OnSetCurrentItemIndex(record->Id + 1);
}

void RecordTimerDialog::PlaceOver(Core::View* form, const kv::Rect& button, bool middle) {
  const kv::Rect f = form->Bounds();
  const int32_t x = Bounds().x1 + button.x1 + (button.W() - f.W()) / 2;
  const int32_t y = Bounds().y1 + button.y1 + (middle ? (button.H() - f.H()) / 2 : 0);
  form->OnSetBounds({x, y, x + f.W(), y + f.H()});
}

void RecordTimerDialog::EditorReport(kv::Object* sender) {
  if (auto* date = kv::Cast<NonMenuSystem::DateSettingDialog>(sender))
    UpdateDateSettings(date->OnGetMonthVal(), date->OnGetDateVal(), date->OnGetYearVal());
  else if (auto* time = kv::Cast<NonMenuSystem::TimeSettingDialog>(sender))
    UpdateTimeSettings(time->OnGetHourVal(), time->OnGetMinVal(), time->OnGetAMPMVal());
}

void RecordTimerDialog::DoValueChange(kv::Object* sender) {
  auto* dialog = kv::Cast<NonMenuSystem::OptionDialog>(sender);
  SkinBin::Wrapper* w = Skin();
  if (!dialog || !w) return;
  const int32_t option = dialog->OptionType;
  if (option == SkinBin::OPTION_TYPE_TIMER_TIMES_TYPE) {
    LoadOptionItem(TypeButton);
    RefreshGrayout();
  } else if (option == SkinBin::OPTION_TYPE_ONTIMER_INPUT) {
    // The option chose an input by index: the timer keeps its source id.
    w->OnSetTimerSource(w->GetSourceId(ChosenValue(option)));
    LoadOptionItem(InputButton);
    w->SetSourceRecord(w->OnGetTimerSource());
    ApplyCurrentChannel();
    reloadOptions_ = true;
    LoadOptionItem(ChannelButton);
    reloadOptions_ = false;
  } else if (option == SkinBin::OPTION_TYPE_ONTIMER_MEDIUM) {
    LoadOptionItem(MediumButton);
    ApplyCurrentChannel();
    reloadOptions_ = true;
    LoadOptionItem(ChannelButton);
    reloadOptions_ = false;
  } else if (option == SkinBin::OPTION_TYPE_ONTIMER_CHANNEL) {
    // The option chose a row of the timer's channel table: the timer keeps
    // that channel's number (an analogue channel with minor 0).
    const int32_t number = w->GetChannelListData()->GetTimerChannelNum(ChosenValue(option));
    if (number != -1) w->OnSetTimerChannel(number);
    LoadOptionItem(ChannelButton);
  } else if (option == SkinBin::OPTION_TYPE_TIMER_START_EARLY) {
    LoadOptionItem(EarlyButton);
  } else if (option == SkinBin::OPTION_TYPE_TIMER_END_DELAY) {
    LoadOptionItem(EndDelayButton);
  }
}

void RecordTimerDialog::ApplyCurrentChannel() {
  SkinBin::Wrapper* w = Skin();
  if (!w) return;
  // The timer's input and medium are those on screen: the channel in tune.
  // Otherwise the channel that input last tuned on that medium.
  Structures::VirtualChannel* c = nullptr;
  if (w->OnGetTimerSource() == w->GetCurrentSource(0) && (w->OnGetTimerMapId() != 0) == (w->OnGetAntCableIn() != 0)) {
    c = w->GetCurrentChannel();
    if (w->IsNoChannel(c)) c = nullptr;
  }
  if (!c) c = w->GetTempCurrentChannel(w->OnGetTimerSource() > 0, w->OnGetTimerMapId() != 0);
  if (c) w->OnSetTimerChannel(::Wrapper::Wrapper::UniteChannelNum(c->Major, c->Minor));
}

void RecordTimerDialog::SetTimerActive(kv::Object*) {
  if (SkinBin::Wrapper* w = Skin()) w->OnSetEnableTimer(ActiveBox.OnGetIsChecked() ? 1 : 0);
  ResetTimeout();
}

void RecordTimerDialog::UpdateTimeSettings(int32_t hour12, int32_t minute, int32_t ampm) {
  kv::String text = Cat(kv::NewStringInt(hour12, 2), T(LABEL_SEPARATOR));
  text = Cat(text, kv::NewStringInt(minute, 2));
  TimeButton.OnSetText(Cat(text, V(ampm == kPM ? ::Wrapper::SID_PM : ::Wrapper::SID_AM)));
  start_->Minute = minute;
  if (ampm != kPM && hour12 == 12)
    start_->Hour = 0;
  else if (ampm == kPM && hour12 != 12)
    start_->Hour = hour12 + 12;
  else
    start_->Hour = hour12;
  WriteStart();
}

void RecordTimerDialog::UpdateDateSettings(int32_t monthIndex, int32_t day, int32_t year) {
  start_->Day = day;
  start_->Year = year - kYearBase;
  start_->Month = monthIndex;
  ShowDate();
  WriteStart();
}

void RecordTimerDialog::UpdateDurationSettings(int32_t hours, int32_t minutes) {
  duration_ = (hours * 60 + minutes) * 60;
  ShowDuration();
  if (SkinBin::Wrapper* w = Skin()) w->OnSetTimerDuration(duration_);
}

// --- Done ---------------------------------------------------------------------------------

int32_t RecordTimerDialog::GetWeekDay(int32_t year, int32_t month, int32_t day) {
  if (month < 3) {
    month += 12;
    year -= 1;
  }
  const int32_t c = year / 100;
  const int32_t k = year % 100;
  int32_t w = (day - 1) + k + k / 4 + c / 4 + 13 * (month + 1) / 5 - 2 * c;
  if (w < 0) w *= -6;
  return w % 7;
}

bool RecordTimerDialog::IsInWindow(const Structures::TimerData& timer, const Structures::LocalTime& now) {
  if (!timer.StartTime) return false;
  const int32_t minute = now.Hour * 60 + now.Minute;
  const int32_t today = ((now.Weekday % 7) + 7) % 7;
  const int32_t yesterday = (today + 6) % 7;
  const int32_t start = timer.StartTime->Hour * 60 + timer.StartTime->Minute;
  const int32_t end = start + (timer.Duration + timer.EndDelay) / 60;
  const auto isDay = [&timer](int32_t d) { return (timer.DaysOfWeek & (1 << d)) != 0; };
  // An occurrence on day d covers start..end from d's midnight; the one of
  // yesterday reaches into today when it ends after midnight.
  if (isDay(today) && start <= minute && minute <= end) return true;
  return end > kMinutesPerDay && isDay(yesterday) && start <= minute + kMinutesPerDay &&
         minute + kMinutesPerDay <= end;
}

bool RecordTimerDialog::StoreInDatabase() {
  SkinBin::Wrapper* w = Skin();
  Structures::TimerData* active = w->ActiveTimer.get();
  const int32_t timerId = w->OnGetActiveTimerId();
  if (IsUpdate) {
    const int32_t show = w->GetScheduleIdByTimerId(timerId);
    const int32_t status = w->DB_UpdateScheduledData(ShowOf(captured_.get(), show), ShowOf(active, show));
    // The timer is stored; a field the scheduler could not change is only logged.
    if (status != 0)
      Core::LogError("Record::RecordTimerDialog: the scheduler kept part of show %u (status %u)",
                     {static_cast<uint32_t>(show), static_cast<uint32_t>(status)});
    return true;
  }
  kv::String title = V(TIMER_DEFAULT_TITLE);
  kv::String subtitle = V(TIMER_DEFAULT_TITLE);
  if (kind_ == kKindStart) {
    if (Structures::EventInfo* e = w->DB_GetCurrentProgramInfo()) {
      title = e->Title;
      subtitle = e->Description;
    }
  } else if (kind_ == kKindGuide) {
    auto* wm = kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
    if (auto* guide = wm ? kv::Cast<Channels::FullEPGDialog>(wm->FindForm(WinIDs::WIN_ID_FullEPGDialog)) : nullptr) {
      title = guide->GetFocusedProgramTitle();
      subtitle = guide->GetFocusedProgramSubtitle();
    }
  }
  const int32_t status = w->DB_InsertScheduledData(ShowOf(active, timerId), title, subtitle);
  if (status == 0) {
    w->DB_CheckOutTimerId(timerId);
    return true;
  }
  // Not in the database, the timer would record unlisted and its id be given
  // out again: take it back out of the set. The editor's values stay in the
  // active record for another Done.
  Core::LogError("Record::RecordTimerDialog: the scheduler refused timer %u (status %u); the timer is taken back",
                 {static_cast<uint32_t>(timerId), static_cast<uint32_t>(status)});
  const kv::Persistent<Structures::TimerData> keep(active);
  w->ResetTimer(timerId);
  w->ActiveTimer = keep.get();
  return false;
}

void RecordTimerDialog::DoneSlot(kv::Object*) {
  SkinBin::Wrapper* w = Skin();
  if (!w) return;
  ResetTimeout();
  const int32_t type = w->OnGetTimerTimesType();
  if (type == kTimesOnce)
    w->OnSetTimerDaysOfWeek(1 << GetWeekDay(start_->Year + kYearBase, start_->Month + 1, start_->Day));
  else if (type != kTimesNone)
    w->OnSetTimerDaysOfWeek(MaskOf(type, w->OnGetTimerDaysOfWeek()));
  Structures::TimerData* active = w->ActiveTimer.get();
  if (active && (active->ChannelMajor <= 0 || active->ChannelMinor < 0)) {
    ShowRefusal(Constants::DirectMsgTypeInvalidTimerChannel);
    return;
  }
  const int32_t result = w->SetTimer(nullptr);
  if (result != 0) {
    int32_t message = Constants::DirectMsgTypeNone;
    switch (result) {
      case 41: message = Constants::DirectMsgTypeInvalidTimerDuration; break;
      case 5: message = Constants::DirectMsgTypeInvalidTimerId; break;
      case 39: message = Constants::DirectMsgTypeTimerOverlap; break;
      case 43: message = Constants::DirectMsgTypeInvalidTimerStarttime; break;
      default:
        Core::LogError("Record::RecordTimerDialog: the set refused the timer (status %u)", {static_cast<uint32_t>(result)});
        break;
    }
    if (message != Constants::DirectMsgTypeNone) ShowRefusal(message);
    return;
  }
  if (!active) return;
  if (!StoreInDatabase()) return;
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_UPDATE_RECORD_TYPE, nullptr);
  if (auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)) agent->Dispatch(msg);
  if (kind_ == kKindStart) {
    StartRecord();
  } else if (kind_ == kKindTimer && w->OnGetEnableTimer() != 0) {
    if (Structures::LocalTime* now = w->GetCurrentTime(); now && IsInWindow(*active, *now)) StartRecord();
  }
  if (IsShortcut)
    EnterPrevState();
  else
    Close();
}

void RecordTimerDialog::StartRecord() {
  SkinBin::Wrapper* w = Skin();
  Structures::TimerData* t = w ? w->ActiveTimer.get() : nullptr;
  if (!t) return;
  const int32_t tuner = t->Source != 0 ? 1 : 0;
  const int32_t id = w->OnGetActiveTimerId();
  w->SetTimerRecordValid(tuner, t->TimesType == kTimesOnce ? 1 : 0, id, t->StartEarly);
  w->SetActiveTimer(tuner, id);
  auto* channel = kv::New<Structures::VirtualChannel>();
  channel->Major = t->ChannelMajor;
  channel->Minor = t->ChannelMinor;
  w->StartRecord(tuner, channel);
}

void RecordTimerDialog::ShowRefusal(int32_t type) {
  NonMenuSystem::NonMenuSystem* system = OnGetNonMenuSystem();
  if (!system) return;
  // The editor stays open under the bar and takes the keys again after it.
  system->ShowMessage(type);
}

int32_t RecordTimerDialog::GetPrevStateType() const {
  if (PrevState != KV_LATE_CLASS("Record::RecordOptionsDialog")) return 0;
  return fromGuide_ ? 2 : 1;
}

// --- Leaving --------------------------------------------------------------------------------

void RecordTimerDialog::Close() {
  const bool wasOpen = IsOpen();
  SkinBin::Wrapper* w = Skin();
  if (wasOpen && w && savedSource_ != w->OnGetTimerSource()) w->SetSourceRecord(savedSource_);
  KXDWidgetClass::Close();
  if (auto* guide = kv::Cast<Channels::FullEPGDialog>(ScreenUnderEditor())) guide->Info.OnSetVisible(true);
  if (auto* list = kv::Cast<ScheduledRecordDialog>(ScreenUnderEditor())) list->UpdateEPGInfo();
}

void RecordTimerDialog::EnterPrevState() {
  NonMenuSystem::NonMenuSystem* system = OnGetNonMenuSystem();
  if (system) system->ClearHelpBar();
  Close();
  if (IsShortcut) {
    HandBackToMenu();
    return;
  }
  if (!PrevState || PrevState == &Channels::FullEPGDialog::StaticClass() || !system) return;
  auto* state = kv::New<SubSystem::State>();
  state->Class = PrevState;
  state->Param = SkinBin::UserRefInt::Make(GetPrevStateType(), TransitionOf(*this));
  system->ChangeState(state);
}

kv::Object* RecordTimerDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return KXDWidgetClass::HandleEvent(event);
  // The controls stand in two columns of five rows over the done button.
  Forms::Ctrl* const grid[kGridRows][2] = {{&DateButton, &TimeButton},     {&TypeButton, &InputButton},
                                           {&DurationButton, &ChannelButton}, {&EarlyButton, &MediumButton},
                                           {&EndDelayButton, &ActiveBox},  {&DoneButton, &DoneButton}};
  int32_t row = kGridRows - 1, column = 0;
  for (int32_t r = 0; r < kGridRows; ++r)
    for (int32_t c = 0; c < 2; ++c)
      if (grid[r][c] == OnGetFocus() && row == kGridRows - 1 && r != kGridRows - 1) row = r, column = c;
  const auto usable = [](Forms::Ctrl* c) { return c->CanFocus(); };
  switch (key->Code) {
    case KEY_DOWN:
    case KEY_UP: {
      const int32_t step = key->Code == KEY_DOWN ? 1 : -1;
      for (int32_t r = row + step; r >= 0 && r < kGridRows; r += step)
        if (usable(grid[r][column])) {
          OnSetFocus(grid[r][column]);
          break;
        }
      break;
    }
    case KEY_LEFT:
    case KEY_RIGHT: {
      // The other column of the row; from the time button left reaches the
      // date button only while it is enabled.
      Forms::Ctrl* other = grid[row][1 - column];
      if (row != kGridRows - 1 && usable(other)) OnSetFocus(other);
      break;
    }
    default: return KXDWidgetClass::HandleEvent(event);
  }
  ResetTimeout();
  return this;
}

// --- TimerDurationDialog ------------------------------------------------------------------

TimerDurationDialog::TimerDurationDialog() {
  Layer = kDurationLayer;
  OnSetHasCaption(false);
  // One row of the timer editor high (30 + 4 + 4, its row step), so that it
  // can stand over the duration button without cutting into the rows beside it.
  OnSetBounds({0, 0, 200 + 68, 38 + 68});
  OnSetFrameWidth(0);
  OnTimeOut = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::ExitSlot);
  Hours.OnSetWrapAround(true);
  Minutes.OnSetWrapAround(true);
  Hours.OnSetHasLeadingZeros(true);
  Minutes.OnSetHasLeadingZeros(true);
  Hours.OnSetMinimum(0);
  Hours.OnSetMaximum(23);
  Minutes.OnSetMinimum(0);
  Minutes.OnSetMaximum(59);
  Place(Hours, 12, 4, 80, 30);
  Place(separator_, 92, 4, 16, 30);
  Place(Minutes, 108, 4, 80, 30);
  separator_.OnSetFont(Resources::LoadResource(Fonts::EPGListFont));
  separator_.OnSetColor(Colors::StandardTextColor);
  separator_.OnSetAlignV(1);
  separator_.OnSetAlignH(1);
  separator_.OnSetString(T(LABEL_SEPARATOR));
  Add(&Hours);
  Add(&navigator_);
  Add(&separator_);
  Add(&Minutes);
  Hours.OnValueChange = kv::MakeSlot(this, &TimerDurationDialog::ValueChanged);
  Minutes.OnValueChange = kv::MakeSlot(this, &TimerDurationDialog::ValueChanged);
  OnSetFocus(&Hours);
}

void TimerDurationDialog::ApplyMinimum() {
  if (Hours.OnGetCurrent() == 0) {
    Minutes.OnSetMinimum(5);
    if (Minutes.OnGetCurrent() < 5) Minutes.OnSetCurrent(5);
  } else {
    Minutes.OnSetMinimum(0);
  }
}

void TimerDurationDialog::OnSetHourVal(int32_t h) {
  HourVal = h;
  Hours.OnSetCurrent(h);
  ApplyMinimum();
}

void TimerDurationDialog::OnSetMinVal(int32_t m) {
  MinVal = m;
  Minutes.OnSetCurrent(m);
}

void TimerDurationDialog::ValueChanged(kv::Object*) {
  ResetTimeout();
  ApplyMinimum();
  HourVal = Hours.OnGetCurrent();
  MinVal = Minutes.OnGetCurrent();
  if (editor_) editor_->UpdateDurationSettings(HourVal, MinVal);
}

kv::Object* TimerDurationDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return KXDWidgetClass::HandleEvent(event);
  switch (key->Code) {
    case KEY_RIGHT: OnSetFocus(OnGetFocus() == &Hours ? &Minutes : &Hours); break;
    case KEY_LEFT: OnSetFocus(OnGetFocus() == &Minutes ? &Hours : &Minutes); break;
    case KEY_BACK: Post(&WidgetClass::ExitSlot); break;
    default: return KXDWidgetClass::HandleEvent(event);
  }
  ResetTimeout();
  return this;
}

}  // namespace Record
