#include "units/Channels/FullEPGDialog.h"

#include <algorithm>
#include <initializer_list>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/text.h"
#include "strings/Channels.h"
#include "strings/MenuSystemPages.h"
#include "strings/NonMenuSystem.h"
#include "strings/Strings.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/BannerBitmaps.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Channels/GuideTexts.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Events/XPM_EVENT_CHANNEL_ACQUIRED.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/InfoBanner.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/EPGEventsInfo_DB.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/ChannelData.h"
#include "units/Structures/EventInfo.h"
#include "units/Structures/Message.h"
#include "units/Structures/VirtualChannel.h"
#include "units/Views/Align.h"
#include "units/WinIDs/WinIDs.h"
#include "units/Wrapper/Wrapper.h"

KV_REGISTER_CLASS(Channels::EPGInfoForm);
KV_REGISTER_CLASS(Channels::FullEPGDialog);

namespace Channels {

namespace {

using namespace keys;

constexpr int32_t kTimeOut = 60000;
constexpr int32_t kVolumeMs = 2000;
constexpr int32_t kClockMs = 2000;
constexpr int32_t kInfoRefreshMs = 2000;
constexpr int32_t kGuideRefreshMs = 10;
// The live picture's window in the guide.
constexpr kv::Rect kVideo{10, 324, 376, 530};
constexpr kv::Rect kHeader{10, 8, 950, 52};
// The two list panels above the video: a heading clear of the panel's top
// frame, a divider, then the eight rows clear of the divider and of the
// panel's bottom frame.
constexpr int32_t kPanelTop = 56;
constexpr int32_t kPanelBottom = 318;
constexpr int32_t kHeadingTop = kPanelTop + 3;
constexpr int32_t kDividerY = kHeadingTop + 23;
constexpr int32_t kListTop = kDividerY + 4;
// Header texts.
constexpr int32_t kTextTop = 17;
// Between texts and badges that share a line.
constexpr int32_t kGap = 16;
// Where the channel's number stands when the texts before it leave room.
constexpr int32_t kChannelX = 380;

Resources::Bitmap* Bmp(const Resources::BitmapId& id) { return Resources::LoadResource(id); }
kv::String Cat(const kv::String& a, const kv::String& b) { return kv::ConcatString(a, b); }
void Place(Core::View& v, int32_t x, int32_t y, int32_t w, int32_t h) { v.OnSetBounds({x, y, x + w, y + h}); }
// The width of `t`'s text laid out `maxW` wide, no more than `maxW`; 0 when
// hidden or empty. `t` itself does not move.
int32_t FittedWidth(const Views::Text& t, int32_t maxW) {
  if (!t.IsVisible() || t.OnGetString().Empty()) return 0;
  return std::min(maxW, t.WidthIn(maxW));
}
// Places `t` at (x, y) as wide as its text laid out in `maxW`, no wider.
void PlaceFitted(Views::Text& t, int32_t x, int32_t y, int32_t maxW, int32_t h) {
  Place(t, x, y, FittedWidth(t, maxW), h);
}

void SetupText(Views::Text& t, const Resources::FontId& font, bool ellipsis = true) {
  t.OnSetFont(Resources::LoadResource(font));
  t.OnSetColor(Colors::StandardTextColor);
  t.OnSetAlignV(Views::ALIGN_CENTER);
  t.OnSetEllipsis(ellipsis);
}

void SetVideo(const kv::Rect& r) {
  kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper)->SetDisplayWindow(r.x1, r.y1, r.W(), r.H());
}

Structures::VirtualChannel* CopyOf(const Structures::VirtualChannel* c) {
  auto* copy = kv::New<Structures::VirtualChannel>();
  if (c) {
    copy->Major = c->Major;
    copy->Minor = c->Minor;
  }
  return copy;
}

}  // namespace

// --- Legend ---------------------------------------------------------------------------

void GuideLegend::Build(Core::Group& form, std::initializer_list<Entry> entries, int32_t x, int32_t y) {
  int32_t i = 0;
  for (const Entry& e : entries) {
    if (i == kMax) break;
    icons_[i].OnSetBitmap(Bmp(*e.icon));
    Place(icons_[i], x, y, 20, 20);
    Views::Text& t = captions_[i];
    SetupText(t, Fonts::BannerDescription, false);
    t.OnSetString(kv::GetVariantOfString(*e.caption));
    const int32_t w = t.InkWidth();
    Place(t, x + 22, y, w, t.EffectiveFont()->LineHeight());
    x += 22 + w + 10;
    form.Add(&icons_[i]);
    form.Add(&t);
    ++i;
  }
}

// --- ProgrammePane ---------------------------------------------------------------------

ProgrammePane::ProgrammePane(const Resources::BitmapId& background) {
  OnSetTimeOutValue(0);
  background_.OnSetBitmap(Bmp(background));
  Add(&background_);
  SetupText(TimeSpan, Fonts::EPGListFont);
  SetupText(TitleText, Fonts::EPGListFont);
  Description.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  Description.OnSetColor(Colors::StandardTextColor);
  line1_.OnSetColor(Colors::StandardTextColor);
  line2_.OnSetColor(Colors::StandardTextColor);
  for (Core::View* v : std::initializer_list<Core::View*>{&TimeSpan, &TitleText, &line1_, &Description, &line2_}) Add(v);
}

void ProgrammePane::OnSetBounds(kv::Rect bounds) {
  KeyRoutingForm::OnSetBounds(bounds);
  Refresh();
}

void ProgrammePane::PlaceTexts() {
  const int32_t w = Bounds().W();
  const int32_t h = Bounds().H();
  background_.OnSetBounds({0, 0, w, h});
  Place(TitleText, 14, 6, w - 28, 26);
  PlaceFitted(TimeSpan, 14, 32, std::max(0, w - 28), 22);
  Place(line1_, 14, 58, w - 28, 1);
  Place(Description, 14, 62, std::max(0, w - 28), std::max(0, h - 100));
  // The legend stays at the bottom of the pane.
  Place(line2_, 14, h - 34, w - 28, 1);
}

int32_t ProgrammePane::PlaceBadges(std::initializer_list<Views::Image*> badges) {
  int32_t x = TimeSpan.Bounds().x2 + kGap;
  for (Views::Image* v : badges) {
    Place(*v, x, 34, 36, 18);
    if (v->IsVisible()) x += 40;
  }
  return x;
}

void ProgrammePane::OnSetTitle(const kv::String& text) {
  Title = text;
  TitleText.OnSetString(text);
}

void ProgrammePane::OnSetDescriptionText(const kv::String& text) {
  DescriptionText = text;
  Description.OnSetString(text);
}

void ProgrammePane::OnSetStartTime(Structures::LocalTime* time) {
  StartTime = time;
  TimeSpan.OnSetString(TimeSpanText(time, Duration));
}

// --- EPGInfoForm ----------------------------------------------------------------------

EPGInfoForm::EPGInfoForm() : ProgrammePane(Bitmaps::EPG_PopupBackground) {
  SetupText(Rating, Fonts::BannerBasicInfo);
  SetupText(SignalText, Fonts::BannerBasicInfo);
  Caption.OnSetBitmap(Bmp(Bitmaps::BannerCC));
  for (Core::View* v :
       std::initializer_list<Core::View*>{&Dolby, &AudioMode, &SDHD, &Resolution, &Caption, &Record, &Rating, &SignalText})
    Add(v);
  legend_.Build(*this,
                {{&Bitmaps::HelpBarUpDownLeftRight, &Strings::SID_SELECT},
                 {&Bitmaps::HelpBarRecord, &Strings::MainMenuRecord},
                 {&Bitmaps::HelpBarPageUp, &Strings::SID_PAGE},
                 {&Bitmaps::HelpBarPageDown, &Strings::SID_PAGE},
                 {&Bitmaps::HelpBarExit, &Strings::SID_EXIT}},
                14, 178);
  refreshTimer_.OnTrigger = kv::MakeSlot(this, &EPGInfoForm::RefreshSlot);
  StartTimer();
  KeyRoutingForm::OnSetBounds({0, 0, 564, 206});
  Refresh();
  HideAllInfo();
}

EPGInfoForm::~EPGInfoForm() = default;

void EPGInfoForm::StartTimer() {
  refreshTimer_.OnSetBegin(kInfoRefreshMs);
  refreshTimer_.OnSetPeriod(kInfoRefreshMs);
  refreshTimer_.OnSetEnabled(true);
}

void EPGInfoForm::ReInit() {
  KeyRoutingForm::ReInit();
  StartTimer();
}

void EPGInfoForm::Refresh() {
  PlaceTexts();
  const int32_t w = Bounds().W();
  const int32_t room = std::max(0, w - 28);
  // The rating stands at the right end of the title's line, whole; the
  // title takes what it leaves.
  const int32_t ratingW = FittedWidth(Rating, room);
  Place(Rating, w - 14 - ratingW, 8, ratingW, 22);
  if (ratingW > 0) Place(TitleText, 14, 6, std::max(0, room - ratingW - kGap), 26);
  PlaceBadges({&SDHD, &Resolution, &AudioMode, &Dolby, &Caption, &Record});
  Place(SignalText, w - 120, Bounds().H() - 28, 106, 20);
  KeyRoutingForm::Refresh();
}

void EPGInfoForm::Close() {
  refreshTimer_.OnSetEnabled(false);
  KeyRoutingForm::Close();
}

void EPGInfoForm::HideAllInfo() {
  for (Core::View* v : std::initializer_list<Core::View*>{&Dolby, &AudioMode, &Resolution, &SignalText, &SDHD, &Caption,
                                                          &Record, &Rating})
    v->OnSetVisible(false);
}

void EPGInfoForm::UpdateBanner() {
  SignalText.OnSetString({});
  HideAllInfo();
  ::Wrapper::Wrapper* base = NonMenuSystem::Live::Base();
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  if (!base || !w) return;
  const int32_t type = base->GetSourceType(base->GetCurrentSource(0));
  if ((type != 1 && type != 12) || !MainWindowAcquired()) return;
  ShowStreamBadges({&Dolby, &AudioMode, &SDHD, &Resolution, &Caption, &Record});
  Rating.OnSetString(NonMenuSystem::RatingText(w, UsRating, CanadianRating));
  Rating.OnSetVisible(true);
  Refresh();
}

void EPGInfoForm::OnSetRating(int32_t usWord, int32_t canadian) {
  UsRating = usWord;
  CanadianRating = canadian;
  UpdateBanner();
}

// --- FullEPGDialog --------------------------------------------------------------------

FullEPGDialog::FullEPGDialog() {
  WinID = WinIDs::WIN_ID_FullEPGDialog;
  WidgetOrigin = {0, 0};
  OnSetTimeOutValue(kTimeOut);
  OnSetBounds({0, 0, 960, 540});
  background_.OnSetVisible(false);
  frame_.OnSetVisible(false);
  backdrop_.OnSetBitmap(Bmp(Bitmaps::EPG_Background));
  backdrop_.OnSetBounds({0, 0, 960, 540});
  for (Views::Frame* f : {&header_, &clockPanel_, &columnPanel_, &listPanel_}) f->OnSetBitmap(Bmp(Bitmaps::EPG_PopupBackground));
  header_.OnSetBounds(kHeader);
  clockPanel_.OnSetBounds({700, 12, 946, 48});
  columnPanel_.OnSetBounds({10, kPanelTop, 206, kPanelBottom});
  listPanel_.OnSetBounds({212, kPanelTop, 950, kPanelBottom});
  videoBorder_.OnSetBitmap(Bmp(Bitmaps::EPG_VideoBorder));
  videoBorder_.OnSetBounds({kVideo.x1 - 4, kVideo.y1 - 4, kVideo.x2 + 4, kVideo.y2 + 4});
  videoWindow_.OnSetColor({0, 0, 0, 0});
  videoWindow_.OnSetCut(true);
  videoWindow_.OnSetBounds(kVideo);
  for (Core::View* v : std::initializer_list<Core::View*>{&backdrop_, &header_, &clockPanel_, &columnPanel_, &listPanel_,
                                                          &videoBorder_, &videoWindow_})
    Add(v);
  // The channel column is wide enough for names such as "Movies One" and
  // "Movies Two" to read whole, not both as "Movies...".
  Column.OnSetBounds({16, kListTop, 200, kListTop + ListForm::kGuideRowsHeight});
  Programs.OnSetBounds({218, kListTop, 944, kListTop + ListForm::kGuideRowsHeight});
  SetupText(Number, Fonts::EPGListFont, false);
  Number.OnSetAutoSize(true);
  SetupText(Name, Fonts::EPGListFont);
  SetupText(Clock, Fonts::EPGListFont, false);
  Clock.OnSetAutoSize(true);
  SetupText(caption_, Fonts::EPGListFont);
  caption_.OnSetString(kv::GetVariantOfString(GUIDE_CAPTION));
  SetupText(SourceCaption, Fonts::BannerBasicInfo);
  Place(Number, kChannelX, kTextTop, 60, 26);
  SetupText(columnCaption_, Fonts::BannerBasicInfo);
  columnCaption_.OnSetString(kv::GetVariantOfString(GUIDE_CHANNELS_CAPTION));
  Place(columnCaption_, 20, kHeadingTop, 176, 20);
  SetupText(listCaption_, Fonts::BannerBasicInfo);
  listCaption_.OnSetString(kv::GetVariantOfString(GUIDE_PROGRAMS_CAPTION));
  Place(listCaption_, 222, kHeadingTop, 300, 20);
  divider1_.OnSetColor(Colors::StandardTextColor);
  Place(divider1_, 16, kDividerY, 184, 1);
  divider2_.OnSetColor(Colors::StandardTextColor);
  Place(divider2_, 218, kDividerY, 726, 1);
  SetupText(Volume, Fonts::EPGListFont);
  Place(Volume, 520, 56, 200, 20);
  Volume.OnSetVisible(false);
  RecordMark.OnSetBitmap(Bmp(Bitmaps::EPG_ProgramRecordFlag));
  Place(RecordMark, 922, 56, 20, 20);
  RecordMark.OnSetVisible(false);
  Info.OnSetBounds({386, 324, 950, 530});
  for (Core::View* v : std::initializer_list<Core::View*>{&Number, &Name, &Clock, &caption_, &SourceCaption,
                                                          &columnCaption_, &listCaption_, &divider1_, &divider2_,
                                                          &Volume, &RecordMark})
    Add(v);
  Column.FocusMove = kv::MakeSlot(static_cast<Primitives::KeyRoutingForm*>(this), &KeyRoutingForm::ResetTimeout);
  Programs.FocusMove = kv::MakeSlot(static_cast<Primitives::KeyRoutingForm*>(this), &KeyRoutingForm::ResetTimeout);
  Column.OnFocusChanged = kv::MakeSlot(this, &FullEPGDialog::ChannelChangeSlot);
  Programs.OnProgramChanged = kv::MakeSlot(this, &FullEPGDialog::UpdateEPGInfo);
  volumeTimer_.OnTrigger = kv::MakeSlot(this, &FullEPGDialog::ClearVolume);
  clockTimer_.OnTrigger = kv::MakeSlot(this, &FullEPGDialog::RefreshSlot);
  refreshTimer_.OnTrigger = kv::MakeSlot(this, &FullEPGDialog::UpdateEPGSlot);
  StartTimers();
  IsShortcut = true;
}

FullEPGDialog::~FullEPGDialog() = default;

void FullEPGDialog::StartTimers() {
  volumeTimer_.OnSetBegin(kVolumeMs);
  volumeTimer_.OnSetPeriod(0);
  clockTimer_.OnSetBegin(kClockMs);
  clockTimer_.OnSetPeriod(kClockMs);
  clockTimer_.OnSetEnabled(true);
  // Created disabled: a full reload runs only where it is asked for.
  refreshTimer_.OnSetBegin(kGuideRefreshMs);
  refreshTimer_.OnSetPeriod(0);
  refreshTimer_.OnSetEnabled(false);
}

void FullEPGDialog::ReInit() {
  WidgetClass::ReInit();
  clockTimer_.OnSetEnabled(true);
}

void FullEPGDialog::HandleFocus(bool focused) {
  WidgetClass::HandleFocus(focused);
  for (ListForm::ListClass* list : {static_cast<ListForm::ListClass*>(&Column), static_cast<ListForm::ListClass*>(&Programs)})
    if (auto* row = kv::Cast<::Button::ButtonClass>(list->GetFocusedRow())) row->RefreshCtrlState(row->GetCtrlState());
}

void FullEPGDialog::SetWaiting(int32_t mode) {
  if (NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem()) s->ShowWaitingCircle(mode, NonMenuSystem::WAITING_KIND_CIRCLE);
}

void FullEPGDialog::PlaceClock() {
  const int32_t w = Clock.Bounds().W();
  const int32_t right = kHeader.x2 - 10;
  Clock.OnSetBounds({right - w, kTextTop, right, kTextTop + 26});
  clockPanel_.OnSetBounds({right - w - 10, kHeader.y1 + 4, kHeader.x2 - 4, kHeader.y2 - 4});
}

void FullEPGDialog::RefreshSlot(kv::Object*) {
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  Structures::LocalTime* t = w ? w->GetCurrentTime() : nullptr;
  if (t && t->Year > 0) Clock.OnSetString(GuideClockText(t));
  PlaceClock();
}

void FullEPGDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  WidgetClass::Initialize(param);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Register(this);
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  ::Wrapper::Wrapper* base = NonMenuSystem::Live::Base();
  if (w && base) {
    const int32_t source = base->GetCurrentSource(0);
    kv::String label = w->GetSourceLabel(source);
    if (label.Empty()) label = w->GetSourceName(source);
    SourceCaption.OnSetString(Cat(Cat(label, kv::LoadString(GUIDE_SOURCE_SEPARATOR)),
                                  kv::GetVariantOfString(w->OnGetAntCableIn() == 1 ? Strings::SID_CABLE_UPPERCASE
                                                                                    : Strings::SID_ANT)));
  }
  RefreshSlot();
  UpdateBanner();
  const int32_t state = NonMenuSystem::Live::LiveTVState(NonMenuSystem::Live::CurrentTunerId());
  const bool recording = state == Constants::XPM_TV_STATE_PAUSE_LIVE_TV || state == Constants::XPM_TV_STATE_RECORDING_LIVE_TV;
  RecordMark.OnSetVisible(recording);
  Column.BrowseOnly = recording;
  Column.GuideChannel = CopyOf(w ? w->GetCurrentChannel() : nullptr);
  Column.Busy = true;
  for (ListForm::PagedList* l : std::initializer_list<ListForm::PagedList*>{&Column, &Programs}) {
    auto* p = kv::New<Primitives::KeyRoutingParameter>();
    p->Owner = this;
    l->Initialize(p);
    l->Open();
  }
  Programs.OnSetm_channel(Column.GuideChannel.get());
  Column.Busy = false;
  auto* p = kv::New<Primitives::KeyRoutingParameter>();
  p->Owner = this;
  Info.Initialize(p);
  Info.Open();
  UpdateEPGInfo();
  Info.UpdateBanner();
  OnSetFocus(&Column);
  SetVideo(kVideo);
}

void FullEPGDialog::UpdateBanner() {
  Number.OnSetString({});
  Name.OnSetString({});
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  Structures::VirtualChannel* now = w ? w->GetCurrentChannel() : nullptr;
  Structures::ChannelData* info = now ? w->GetChannelInfo(now->Major, now->Minor) : nullptr;
  if (!info) {
    PlaceHeader();
    return;
  }
  kv::String number = w->GetChannelNumberStr(info->IsDigital != 0, info->Major, info->Minor);
  if (number == kv::LoadString(NonMenuSystem::NUMBER_PLACEHOLDER)) number = kv::String();
  Number.OnSetString(number);
  Name.OnSetString(info->Name);
  PlaceHeader();
}

void FullEPGDialog::PlaceHeader() {
  // The title, the input and the channel follow one another by the width
  // of their texts (the title is longer in French and Spanish); the channel
  // stands at x 380 at the least, its name ends clear of the clock.
  PlaceFitted(caption_, 24, kTextTop, kHeader.W() / 2, 26);
  int32_t x = caption_.Bounds().x2 + kGap;
  PlaceFitted(SourceCaption, x, kTextTop, kHeader.W() / 2, 26);
  x = std::max(kChannelX, SourceCaption.Bounds().x2 + kGap);
  Number.OnSetBounds({x, kTextTop, x + Number.Bounds().W(), kTextTop + 26});
  x = Number.Bounds().x2 + 10;
  Name.OnSetBounds({x, kTextTop, std::max(x, Clock.Bounds().x1 - 20), kTextTop + 26});
}

void FullEPGDialog::UpdateEPGInfo(kv::Object*) {
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  SkinBin::EPGEventsInfo_DB* store = w ? w->EPGProgramList.get() : nullptr;
  if (store && store->GetNumEvents() > 0) {
    Structures::EventInfo* e = store->GetEvent(Programs.FocusedIndex);
    if (!e) return;
    Info.OnSetTitle(e->Title);
    Info.OnSetDescriptionText(e->Description);
    Info.Duration = e->Duration;
    Info.OnSetStartTime(e->StartTime.get());
    Info.OnSetRating(e->UsRating, e->CanadianRating);
    return;
  }
  const kv::String none = kv::GetVariantOfString(Strings::SID_NO_INFORMATION_AVAILABLE);
  Info.OnSetTitle(none);
  Info.OnSetDescriptionText(none);
  Info.Duration = 0;
  Info.OnSetStartTime(nullptr);
  Info.OnSetRating(0, 0);
}

void FullEPGDialog::UpdateEPGSlot(kv::Object*) {
  SetVideo(kVideo);
  SetWaiting(NonMenuSystem::WAITING_SHOW);
  Programs.OnSetm_channel(Column.GuideChannel.get());
  Column.Busy = false;
  UpdateEPGInfo();
  Info.UpdateBanner();
  SetWaiting(NonMenuSystem::WAITING_REMOVE);
}

void FullEPGDialog::ChannelChangeSlot(kv::Object*) {
  Programs.OnSetm_channel(Column.GuideChannel.get());
  UpdateEPGInfo();
  Info.UpdateBanner();
  Column.Busy = false;
  SetWaiting(NonMenuSystem::WAITING_REMOVE);
}

void FullEPGDialog::UpdateVolume(uint16_t key) {
  Volume.OnSetVisible(true);
  auto* w = kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper);
  const int32_t v = w->StepVolume(key == KEY_VOL_UP);
  Volume.OnSetString(Cat(Cat(kv::GetVariantOfString(MenuSystemPages::SID_VOLUME), kv::LoadString(GUIDE_VOLUME_SEPARATOR)),
                         kv::NewStringInt(v, 0)));
  volumeTimer_.Activate();
}

void FullEPGDialog::ToggleMute() {
  auto* w = kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper);
  if (w->OnGetMute()) {
    Volume.OnSetVisible(false);
    volumeTimer_.OnSetEnabled(false);
    w->OnSetMute(0);
    return;
  }
  Volume.OnSetString(kv::GetVariantOfString(Strings::SID_MUTE_FULL));
  Volume.OnSetVisible(true);
  volumeTimer_.Activate();
  w->OnSetMute(1);
}

void FullEPGDialog::ClearVolume(kv::Object*) {
  volumeTimer_.OnSetEnabled(false);
  Volume.OnSetVisible(false);
}

kv::Object* FullEPGDialog::HandleEvent(Core::Event* event) {
  if (auto* acquired = kv::Cast<Events::XPM_EVENT_CHANNEL_ACQUIRED>(event)) {
    UpdateBanner();
    const int32_t s = acquired->Status;
    if (s == 0 || s == 4 || s == 5) {
      SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
      Column.GuideChannel = CopyOf(w ? w->GetCurrentChannel() : nullptr);
      Programs.OnSetm_channel(Column.GuideChannel.get());
      UpdateEPGInfo();
      Info.UpdateBanner();
    }
    Column.Busy = false;
    SetWaiting(NonMenuSystem::WAITING_REMOVE);
    return WidgetClass::HandleEvent(event);
  }
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return WidgetClass::HandleEvent(event);
  switch (key->Code) {
    case KEY_OK:
      break;
    case KEY_LEFT:
      OnSetFocus(&Column);
      break;
    case KEY_RIGHT:
      OnSetFocus(&Programs);
      break;
    case KEY_VOL_UP:
    case KEY_VOL_DOWN:
      UpdateVolume(key->Code);
      ResetTimeout();
      return this;
    case KEY_REWIND:
    case KEY_FORWARD:
      Info.Description.HandleEvent(event);
      break;
    case KEY_GUIDE:
      Post(&WidgetClass::ExitSlot);
      break;
    case KEY_MUTE:
      ToggleMute();
      break;
    default:
      return WidgetClass::HandleEvent(event);
  }
  ResetTimeout();
  return this;
}

void FullEPGDialog::HandleMessage(Structures::Message* msg) {
  Programs.HandleMessage(msg);
  if (msg && msg->Code == Constants::MSG_SET_VIDEO_PREVIEW_WINDOW) SetVideo(kVideo);
}

void FullEPGDialog::Close() {
  // A tuning or reload still under way ends with the guide: no tune after
  // the close and no waiting circle left over live TV.
  const bool waiting = Column.Busy;
  Column.Close();
  Column.Busy = false;
  if (waiting) SetWaiting(NonMenuSystem::WAITING_REMOVE);
  Programs.Close();
  Info.Close();
  volumeTimer_.OnSetEnabled(false);
  clockTimer_.OnSetEnabled(false);
  refreshTimer_.OnSetEnabled(false);
  KeyRoutingForm::Close();
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->UnRegister(this);
  SetVideo({0, 0, 960, 540});
}

}  // namespace Channels
