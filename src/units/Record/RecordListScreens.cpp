#include "units/Record/RecordListScreens.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/text.h"
#include "strings/MenuSystemPages.h"
#include "strings/NonMenuSystem.h"
#include "strings/Record.h"
#include "strings/Strings.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Bitmaps/ListBitmaps.h"
#include "units/Channels/GuideTexts.h"
#include "units/Colors/Colors.h"
#include "units/Constants/ConfirmTypes.h"
#include "units/Constants/Constants.h"
#include "units/Constants/MessageTypes.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Record/RecordTimerDialog.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/ChannelData.h"
#include "units/Structures/Message.h"
#include "units/Structures/VirtualChannel.h"
#include "units/Views/Align.h"
#include "units/WinIDs/WinIDs.h"
#include "units/Wrapper/Wrapper.h"

KV_REGISTER_CLASS(Record::ScheduledRecordDialog);
KV_REGISTER_CLASS(Record::RecordedShowsDialog);

namespace Record {

namespace {

using namespace keys;

constexpr int32_t kTimeOut = 60000;
constexpr int32_t kVolumeMs = 2000;
constexpr int32_t kDeleteRecorded = 2;
constexpr int32_t kDeleteScheduled = 3;
constexpr int32_t kStatusRecording = 1;
constexpr int32_t kLastSchedulerTimer = 31;
// Layout: the header line, the list, the panel under it.
constexpr int32_t kTop = 14;
constexpr int32_t kLineH = 34;
constexpr int32_t kTextH = 26;
constexpr kv::Rect kList{20, 116, 940, 372};
constexpr kv::Rect kPanel{20, 380, 940, 380 + EPGInfoForm::kHeight};
constexpr int32_t kClockRight = 950;

kv::String Cat(const kv::String& a, const kv::String& b) { return kv::ConcatString(a, b); }
kv::String V(const kv::MultiTextId& id) { return kv::GetVariantOfString(id); }
void Place(Core::View& v, int32_t x, int32_t y, int32_t w, int32_t h) { v.OnSetBounds({x, y, x + w, y + h}); }

void SetupText(Views::Text& t, const Resources::FontId& font, bool autoSize) {
  t.OnSetFont(Resources::LoadResource(font));
  t.OnSetColor(Colors::StandardTextColor);
  t.OnSetAlignV(Views::ALIGN_CENTER);
  t.OnSetEllipsis(!autoSize);
  t.OnSetAutoSize(autoSize);
}

void Unregister(kv::Object* screen) {
  if (auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)) agent->UnRegister(screen);
}

// A form's start-up with the screen as its owner (the list, the panel), then open.
void StartPart(NonMenuSystem::WidgetClass& screen, Primitives::KeyRoutingForm& part) {
  auto* p = kv::New<Primitives::KeyRoutingParameter>();
  p->Owner = &screen;
  part.Initialize(p);
  part.Open();
}

}  // namespace

// --- RecordScreenParts ---------------------------------------------------------------

void RecordScreenParts::Build(NonMenuSystem::WidgetClass& screen, ListForm::RecordListBase& list,
                              const kv::MultiTextId& caption, std::initializer_list<Header> headers) {
  caption_ = &caption;
  for (Views::Frame* f : {&BannerFrame, &SecondFrame, &ClockFrame, &SourceFrame})
    f->OnSetBitmap(Resources::LoadResource(Bitmaps::MiniGuideBackground));
  Place(SourceFrame, 10, kTop - 4, 200, kLineH);
  Place(BannerFrame, 230, kTop - 4, 200, kLineH);
  Place(ClockFrame, 700, kTop - 4, kClockRight - 700, kLineH);
  Place(SecondFrame, 10, kList.y1 - 64, 940, kList.H() + 68);
  for (Core::View* v : std::initializer_list<Core::View*>{&SourceFrame, &BannerFrame, &ClockFrame, &SecondFrame})
    screen.Add(v);
  list.OnSetBounds(kList);
  screen.Add(&list);
  SetupText(Number, Fonts::EPGListFont, true);
  SetupText(Name, Fonts::EPGListFont, false);
  SetupText(Clock, Fonts::EPGListFont, true);
  SetupText(SourceText, Fonts::EPGListFont, true);
  SetupText(Caption, Fonts::EPGListFont, false);
  SetupText(Volume, Fonts::EPGListFont, true);
  Place(Caption, 24, kList.y1 - 62, 400, kTextH);
  Caption.OnSetColor(Colors::TitleTextColor);
  Separator.OnSetColor(Colors::StandardTextColor);
  Place(Separator, 24, kList.y1 - 8, 912, 1);
  Info.OnSetBounds(kPanel);
  Place(SourceImage, 16, kTop + 4, 24, 18);
  Place(Volume, 450, kTop, 200, kTextH);
  Volume.OnSetVisible(false);
  for (Core::View* v : std::initializer_list<Core::View*>{&Number, &Name, &Clock, &Info, &Separator, &Caption,
                                                          &SourceText, &Volume})
    screen.Add(v);
  headerCount_ = 0;
  std::vector<ListForm::ColumnHeading> placed;
  for (const Header& h : headers) {
    if (headerCount_ == kMaxHeaders) break;
    Views::Text& t = Headers[headerCount_];
    SetupText(t, Fonts::BannerBasicInfo, false);
    placed.push_back({&t, h.column});
    headerTexts_[headerCount_++] = h.text;
    screen.Add(&t);
  }
  ListForm::PlaceHeadings(list, placed, kList.y1 - 30, kList.y1 - 10);
  screen.Add(&SourceImage);
  VolumeTimer.OnSetBegin(kVolumeMs);
  VolumeTimer.OnSetPeriod(0);
  VolumeTimer.OnSetEnabled(false);
  ReloadTexts();
}

void RecordScreenParts::ReloadTexts() {
  if (caption_) Caption.OnSetString(V(*caption_));
  for (int32_t i = 0; i < headerCount_; ++i) Headers[i].OnSetString(V(*headerTexts_[i]));
}

void RecordScreenParts::ShowHeader() {
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  if (!w) return;
  const int32_t source = w->GetCurrentSource(0);
  const int32_t type = w->GetSourceType(source);
  UpdateSourceImage(type);
  kv::String label = w->GetSourceLabel(source);
  if (label.Empty()) label = w->GetSourceName(source);
  const bool tuner = type == 1 || type == 12;
  if (tuner)
    label = Cat(Cat(label, kv::LoadString(SOURCE_SEPARATOR)),
                V(w->OnGetAntCableIn() == 1 ? Strings::SID_CABLE_UPPERCASE : Strings::SID_ANT));
  SourceText.OnSetString(label);
  const int32_t textX = SourceImage.Bounds().x2 + 6;
  Place(SourceText, textX, kTop, SourceText.Bounds().W(), kTextH);
  const int32_t sourceRight = SourceText.Bounds().x2 + 10;
  Place(SourceFrame, 10, kTop - 4, sourceRight - 10, kLineH);
  for (Core::View* v : std::initializer_list<Core::View*>{&BannerFrame, &Number, &Name}) v->OnSetVisible(tuner);
  if (tuner) {
    const int32_t bannerX = sourceRight + 20;
    BannerFrame.OnSetBounds({bannerX, kTop - 4, bannerX + 10, kTop - 4 + kLineH});
    Place(Number, bannerX + 10, kTop, Number.Bounds().W(), kTextH);
    UpdateBanner();
  }
  UpdateClock();
}

void RecordScreenParts::UpdateSourceImage(int32_t sourceType) {
  const Resources::BitmapId* icon = nullptr;
  switch (sourceType) {
    case 1: icon = &Bitmaps::BannerRF1Input; break;
    case 2:
    case 3: icon = &Bitmaps::BannerVideoInput; break;
    case 4: icon = &Bitmaps::BannerHDInput; break;
    case 5:
    case 10: icon = &Bitmaps::BannerHDMIInput; break;
    case 6: icon = &Bitmaps::BannerPCInput; break;
    case 12: icon = &Bitmaps::BannerRF2Input; break;
    default: break;
  }
  SourceImage.OnSetBitmap(icon ? Resources::LoadResource(*icon) : nullptr);
  SourceImage.OnSetVisible(icon != nullptr);
}

void RecordScreenParts::UpdateBanner() {
  Number.OnSetString({});
  Name.OnSetString({});
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  Structures::VirtualChannel* now = w ? w->GetCurrentChannel() : nullptr;
  Structures::ChannelData* info = now ? w->GetChannelInfo(now->Major, now->Minor) : nullptr;
  if (info) {
    kv::String number = w->GetChannelNumberStr(info->IsDigital != 0, info->Major, info->Minor);
    if (number == kv::LoadString(NonMenuSystem::NUMBER_PLACEHOLDER)) number = kv::String();
    Number.OnSetString(number);
    Name.OnSetString(info->Name);
  }
  FitBanner();
}

// The channel box ends 20 px before the clock's box, whose width follows
// the clock text of the menu language: laid out again at every clock change.
void RecordScreenParts::FitBanner() {
  const kv::Rect frame = BannerFrame.Bounds();
  const int32_t nameX = Number.Bounds().x2 + 10;
  const int32_t limit = ClockFrame.Bounds().x1 - 20;
  Place(Name, nameX, kTop, std::max(0, limit - 10 - nameX), kTextH);
  BannerFrame.OnSetBounds({frame.x1, frame.y1, Name.Bounds().x2 + 10, frame.y2});
}

void RecordScreenParts::UpdateClock() {
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  Structures::LocalTime* t = w ? w->GetCurrentTime() : nullptr;
  if (t && t->Year > 0) Clock.OnSetString(Channels::GuideClockText(t));
  const int32_t width = Clock.Bounds().W();
  Place(Clock, kClockRight - 10 - width, kTop, width, kTextH);
  ClockFrame.OnSetBounds({Clock.Bounds().x1 - 10, kTop - 4, kClockRight, kTop - 4 + kLineH});
  FitBanner();
}

void RecordScreenParts::UpdateEPGInfo(const ListForm::FocusedProgramme& f, bool show) {
  if (!show) {
    Info.HideAllInfo();
    return;
  }
  Info.OnSetTitle(f.EventTitle);
  Info.OnSetDescriptionText(f.Description);
  Info.Duration = f.EventDuration / 60;
  Info.OnSetStartTime(f.EventStartTime.get());
  Info.OnSetCaptionFlag(f.EventFlag);
  Info.OnSetRating(f.Rating);
  Info.UpdateBanner();
}

void RecordScreenParts::UpdateVolume(uint16_t key) {
  auto* w = kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper);
  if (!w) return;
  Volume.OnSetVisible(true);
  const int32_t v = w->StepVolume(key == KEY_VOL_UP);
  Volume.OnSetString(Cat(Cat(V(MenuSystemPages::SID_VOLUME), kv::LoadString(VOLUME_SEPARATOR)), kv::NewStringInt(v, 0)));
  VolumeTimer.Activate();
}

void RecordScreenParts::ClearVolume() {
  VolumeTimer.OnSetEnabled(false);
  Volume.OnSetVisible(false);
}

void RecordScreenParts::ToggleMute() {
  auto* w = kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper);
  if (!w) return;
  if (w->OnGetMute()) {
    ClearVolume();
    w->OnSetMute(0);
    return;
  }
  Volume.OnSetString(kv::GetVariantOfString(Strings::SID_MUTE_FULL));
  Volume.OnSetVisible(true);
  VolumeTimer.Activate();
  w->OnSetMute(1);
}

// --- RecordListScreen -------------------------------------------------------------------

template <class ListT>
RecordListScreen<ListT>::RecordListScreen(int32_t winId, const kv::MultiTextId& caption,
                                          std::initializer_list<RecordScreenParts::Header> headers) {
  WinID = winId;
  WidgetOrigin = {0, 0};
  IsShortcut = true;
  PrevState = KV_LATE_CLASS("MenuSystem::VidiRecordMenu");
  OnSetTimeOutValue(kTimeOut);
  OnSetBounds({0, 0, 960, 540});
  Parts.Build(*this, List, caption, headers);
  List.FocusMove = kv::MakeSlot<Primitives::KeyRoutingForm>(this, &Primitives::KeyRoutingForm::ResetTimeout);
  List.OnProgramChanged = kv::MakeSlot(this, &RecordListScreen::UpdateEPGInfo);
  Parts.VolumeTimer.OnTrigger = kv::MakeSlot(this, &RecordListScreen::ClearVolume);
  OnSetFocus(&List);
}

template <class ListT>
RecordListScreen<ListT>::~RecordListScreen() = default;

template <class ListT>
void RecordListScreen<ListT>::ReInit() {
  WidgetClass::ReInit();
  Parts.ReloadTexts();
}

// After the base's start-up: messages reach the screen, the header, list and
// panel are filled, the panel follows the focus once the rows stand.
template <class ListT>
void RecordListScreen<ListT>::Initialize(Primitives::KeyRoutingParameter* param) {
  WidgetClass::Initialize(param);
  if (auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)) agent->Register(this);
  Parts.ShowHeader();
  StartPart(*this, List);
  StartPart(*this, Parts.Info);
  kv::PostSignal(kv::MakeSlot(this, &RecordListScreen::UpdateEPGInfo));
  OnSetFocus(&List);
}

template <class ListT>
void RecordListScreen<ListT>::UpdateEPGInfo(kv::Object*) {
  const bool any = List.GetItemsNum() > 0 && List.GetFocusedRow();
  Parts.UpdateEPGInfo(List.Focused, any && ShowsProgramme());
}

template <class ListT>
void RecordListScreen<ListT>::Reload() {
  StartPart(*this, List);
  UpdateEPGInfo();
}

template <class ListT>
void RecordListScreen<ListT>::AskToDelete(int32_t type) {
  NonMenuSystem::NonMenuSystem* system = OnGetNonMenuSystem();
  if (!system) return;
  system->ShowConfirmDialog(type, Constants::MSG_FROM_NONMENUSYSTEM);
}

template <class ListT>
kv::Object* RecordListScreen<ListT>::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return WidgetClass::HandleEvent(event);
  switch (key->Code) {
    case KEY_VOL_UP:
    case KEY_VOL_DOWN: Parts.UpdateVolume(key->Code); break;
    case KEY_REWIND:
    case KEY_FORWARD: Parts.Info.Description.HandleEvent(event); break;
    case KEY_MUTE: Parts.ToggleMute(); break;
    default: return WidgetClass::HandleEvent(event);
  }
  ResetTimeout();
  return this;
}

template <class ListT>
void RecordListScreen<ListT>::Close() {
  List.Close();
  Parts.Info.Close();
  Parts.ClearVolume();
  WidgetClass::Close();
  Unregister(this);
}

template class RecordListScreen<ListForm::ScheduledRecordList>;
template class RecordListScreen<ListForm::RecordedShowsList>;

// --- ScheduledRecordDialog -------------------------------------------------------------

namespace {
namespace Row = ListForm::RecordColumns;
}

ScheduledRecordDialog::ScheduledRecordDialog()
    : RecordListScreen(WinIDs::WIN_ID_ScheduledRecordDialog, SCHEDULED_CAPTION,
                       {{&Strings::SID_CH, Row::kTuner},
                        {&HEADER_TITLE, Row::kTitle},
                        {&Strings::SID_DATE, Row::kDate},
                        {&HEADER_DURATION, Row::kDuration},
                        {&Strings::SID_TYPE, Row::kSource},
                        {&Strings::SID_STATUS, Row::kStatus},
                        {&Strings::SID_ACTIVE, Row::kActive}}) {}

ScheduledRecordDialog::~ScheduledRecordDialog() = default;

// The panel shows the programme of a timer set from the guide only.
bool ScheduledRecordDialog::ShowsProgramme() { return List.Focused.SourceType == kKindGuide; }

void ScheduledRecordDialog::DeleteFocused() {
  auto* row = kv::Cast<ListForm::ScheduledRecordListItem>(List.GetFocusedRow());
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  if (!row || !w) return;
  // The scheduler's free pool knows ids 0 to 31 only.
  if (row->TimerId <= kLastSchedulerTimer) w->DB_CheckInTimerId(row->TimerId);
  w->ResetTimer(row->TimerId);
  w->DB_DeleteScheduledRecord(row->RecordId);
  Reload();
}

void ScheduledRecordDialog::HandleMessage(Structures::Message* msg) {
  List.HandleMessage(msg);
  if (msg && msg->Code == Constants::MSG_DELETE_ITEM && msg->IntParam == kDeleteScheduled) DeleteFocused();
}

kv::Object* ScheduledRecordDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down || key->Code != KEY_RED) return RecordListScreen::HandleEvent(event);
  auto* row = kv::Cast<ListForm::ScheduledRecordListItem>(List.GetFocusedRow());
  NonMenuSystem::NonMenuSystem* system = OnGetNonMenuSystem();
  if (row && system && List.GetItemsNum() > 0) {
    if (row->Status == kStatusRecording) {
      system->ShowMessage(Constants::DirectMsgTypeRecordingNotDeletable);
    } else {
      AskToDelete(Constants::ConfirmTypeDeleteScheduledRecord);
    }
  }
  ResetTimeout();
  return this;
}

// --- RecordedShowsDialog ----------------------------------------------------------------

namespace {
namespace Shown = ListForm::RecordColumns;
}

RecordedShowsDialog::RecordedShowsDialog()
    : RecordListScreen(WinIDs::WIN_ID_RecordedShowsDialog, RECORDED_CAPTION,
                       {{&Strings::SID_CH, Shown::kTuner},
                        {&HEADER_TITLE, Shown::kTitle},
                        {&Strings::SID_DATE, Shown::kDate},
                        {&HEADER_DURATION, Shown::kDuration},
                        {&HEADER_FILE, Shown::kFileName}}) {}

RecordedShowsDialog::~RecordedShowsDialog() = default;

// The panel shows a show's programme when it has one.
bool RecordedShowsDialog::ShowsProgramme() { return List.Focused.ShowInfo; }

void RecordedShowsDialog::DeleteFocused() {
  auto* row = kv::Cast<ListForm::RecordedShowsListItem>(List.GetFocusedRow());
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  if (!row || !w) return;
  w->DB_DeleteRecordedShow(row->RecordId);
  Reload();
}

// Unlike the scheduled screen, messages are not handed to the list.
void RecordedShowsDialog::HandleMessage(Structures::Message* msg) {
  if (msg && msg->Code == Constants::MSG_DELETE_ITEM && msg->IntParam == kDeleteRecorded) DeleteFocused();
}

kv::Object* RecordedShowsDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down || (key->Code != KEY_OK && key->Code != KEY_RED)) return RecordListScreen::HandleEvent(event);
  if (key->Code == KEY_RED && kv::Cast<ListForm::RecordedShowsListItem>(List.GetFocusedRow()) && List.GetItemsNum() > 0)
    AskToDelete(Constants::ConfirmTypeDeleteRecordedShow);
  ResetTimeout();
  return this;
}

}  // namespace Record
