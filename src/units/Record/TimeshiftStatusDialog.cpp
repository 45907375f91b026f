#include "units/Record/TimeshiftStatusDialog.h"

#include <algorithm>
#include <string>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/NonMenuSystem.h"
#include "strings/Record.h"
#include "strings/Strings.h"
#include "units/Agent/EventAgent.h"
#include "units/Bitmaps/BannerBitmaps.h"
#include "units/Bitmaps/BarBitmaps.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Bitmaps/ListBitmaps.h"
#include "units/Bitmaps/MediaBitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/InfoBanner.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/QuickMenu/QuickMenu.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/ChannelData.h"
#include "units/Structures/EventInfo.h"
#include "units/Structures/LocalTime.h"
#include "units/Structures/VideoContentInfo.h"
#include "units/Structures/VirtualChannel.h"
#include "units/Views/Align.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(Record::TimeshiftStatusDialog);

namespace Record {

namespace {

using namespace Strings;

using namespace keys;

// Operations 4 to 7 and their GUI keys.
constexpr uint16_t kOtherKeys[] = {KEY_NEXT, KEY_PREV, KEY_YELLOW, KEY_BLUE};
constexpr int32_t kFirstOtherOperation = 4;

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 160;
constexpr kv::Point kOrigin{80, 360};
// The time bar.
constexpr int32_t kBarLeft = 96;
constexpr int32_t kBarRight = 784;
constexpr int32_t kBarTop = 116;
constexpr int32_t kBarBottom = 128;
constexpr int32_t kClockWidth = 110;
// The badges' row.
constexpr int32_t kBadgeTop = 44;
constexpr int32_t kBadgeStep = 40;

const kv::MultiTextId* const kWeekdays[7] = {&Sun, &Mon, &Tue, &Wed, &Thu, &Fri, &Sat};
const kv::MultiTextId* const kMonths[12] = {&Jan, &Feb, &Mar, &Apr, &May, &Jun, &Jul, &Aug, &Sep, &Oct, &Nov, &Dec};

Resources::Bitmap* Bmp(const Resources::BitmapId& id) { return Resources::LoadResource(id); }
kv::String Cat(const kv::String& a, const kv::String& b) { return kv::ConcatString(a, b); }
kv::String T(kv::TextId id) { return kv::LoadString(id); }
kv::String Clock(int32_t hour, int32_t minute) { return ::Wrapper::Wrapper::GetTimeAMPM(hour, minute); }
kv::String Clock(const Structures::LocalTime& t) { return Clock(t.Hour, t.Minute); }

void Place(Core::View& v, int32_t x, int32_t y, int32_t w, int32_t h) { v.OnSetBounds({x, y, x + w, y + h}); }

void SetupText(Views::Text& t, const Resources::FontId& font, int32_t alignH) {
  t.OnSetFont(Resources::LoadResource(font));
  t.OnSetColor(Colors::StandardTextColor);
  t.OnSetAlignH(alignH);
  t.OnSetAlignV(Views::ALIGN_CENTER);
  t.OnSetEllipsis(true);
}

void Show(Views::Image& v, const Resources::BitmapId& id) {
  v.OnSetBitmap(Bmp(id));
  v.OnSetVisible(true);
}

int32_t MainWindowStatus() {
  return kv::GetAutoObject<Agent::EventAgent>(MainApp::EventAgent)->GetMainWindowAcquiredStatus();
}

}  // namespace

TimeshiftStatusDialog::TimeshiftStatusDialog() {
  WinID = WinIDs::WIN_ID_TimeshiftStatusDialog;
  OnSetFrameWidth(0);
  KeyRoutingForm::OnSetBounds({0, 0, kWidth, kHeight});
  OnSetTimeOutValue(kTimeOut);
  IsShortcut = true;
  OnSetHasCaption(false);
  WidgetOrigin = kOrigin;
  frame_.OnSetBitmap(Bmp(Bitmaps::MediaPopBg));

  SetupText(number_, Fonts::BannerChannelNumber, Views::ALIGN_LEFT);
  Place(number_, kBarLeft, 8, 84, 32);
  number_.OnSetAutoSize(true);
  SetupText(name_, Fonts::EPGListFont, Views::ALIGN_LEFT);
  Place(name_, kBarLeft + 90, 8, 260, 32);
  SetupText(date_, Fonts::BannerBasicInfo, Views::ALIGN_RIGHT);
  Place(date_, 450, 8, kBarRight - 450, 32);
  Views::Image* badges[] = {&input_, &sdhd_, &resolution_, &audio_, &dolby_, &caption_cc_, &liveState_};
  for (int32_t i = 0; i < 7; ++i) Place(*badges[i], kBarLeft + i * kBadgeStep, kBadgeTop, 36, 18);
  dolby_.OnSetBitmap(Bmp(Bitmaps::BannerDolbyDigital));
  caption_cc_.OnSetBitmap(Bmp(Bitmaps::BannerCC));
  SetupText(rating_, Fonts::BannerBasicInfo, Views::ALIGN_LEFT);
  Place(rating_, kBarLeft + 7 * kBadgeStep, kBadgeTop - 2, kBarRight - kBarLeft - 7 * kBadgeStep, 22);
  SetupText(programTime_, Fonts::BannerBasicInfo, Views::ALIGN_RIGHT);
  Place(programTime_, kBarRight - 200, 66, 200, 22);
  programTime_.OnSetAutoSize(true);
  SetupText(title_, Fonts::BannerBasicInfo, Views::ALIGN_LEFT);
  title_.OnSetColor(Colors::TitleTextColor);
  Place(title_, kBarLeft, 66, kBarRight - 210 - kBarLeft, 22);

  Place(state_, 18, 44, 60, 60);
  state_.OnSetBitmap(Bmp(Bitmaps::MediaPlay));
  SetupText(rate_, Fonts::EPGListFont, Views::ALIGN_CENTER);
  Place(rate_, 8, 108, 80, 24);
  rate_.OnSetVisible(false);

  for (SkinBin::ProgressKXD* bar : {&bufferBar_, &positionBar_}) {
    bar->OnSetBounds({kBarLeft, kBarTop, kBarRight, kBarBottom});
    bar->OnSetStretchIndicator(::Progress::kIndicatorStretch);
    bar->OnSetMin(0);
    bar->OnSetMax(1);
    bar->OnSetValue(0);
  }
  bufferBar_.OnSetIndicatorImageBitmap(Bmp(Bitmaps::TimeshiftBufferFill));
  positionBar_.OnSetBgImageBitmap(nullptr);
  positionBar_.OnSetIndicatorImageBitmap(Bmp(Bitmaps::SliderIndicatorRed0));
  marker_.OnSetColor(Colors::StandardTextColor);
  marker_.OnSetPoints({kBarLeft + kMarkerOffset, kBarTop - 4}, {kBarLeft + kMarkerOffset, kBarBottom + 3});
  SetupText(positionClock_, Fonts::BannerDescription, Views::ALIGN_CENTER);
  Place(positionClock_, kBarLeft + kMarkerOffset - kClockWidth / 2, 94, kClockWidth, 20);
  SetupText(startClock_, Fonts::BannerDescription, Views::ALIGN_LEFT);
  Place(startClock_, kBarLeft, kBarBottom + 4, kClockWidth, 20);
  SetupText(endClock_, Fonts::BannerDescription, Views::ALIGN_RIGHT);
  Place(endClock_, kBarRight - kClockWidth, kBarBottom + 4, kClockWidth, 20);

  for (Core::View* v : std::initializer_list<Core::View*>{
           &number_, &name_, &date_, &input_, &sdhd_, &resolution_, &audio_, &dolby_, &caption_cc_, &liveState_,
           &rating_, &title_, &programTime_, &state_, &rate_, &bufferBar_, &positionBar_, &marker_, &positionClock_,
           &startClock_, &endClock_})
    Add(v);
  HideAllInfo();
  input_.OnSetVisible(false);

  pollTimer_.OnSetBegin(kPollPeriod);
  pollTimer_.OnSetPeriod(kPollPeriod);
  pollTimer_.OnTrigger = kv::MakeSlot(this, &TimeshiftStatusDialog::StatusCheckSlot);
}

int32_t TimeshiftStatusDialog::IntervalOf(int32_t setting) {
  static constexpr int32_t kSeconds[] = {300, 600, 1200, 1800, 3600};
  return setting >= 0 && setting < 5 ? kSeconds[setting] : 0;
}

void TimeshiftStatusDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  if (OpenedFromQuickMenu()) PrevState = NextState = &QuickMenu::QuickMenu::StaticClass();
  LoadSettings();
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  const int32_t setting = w ? w->OnGetTimeshiftDuration() : -1;
  Interval = IntervalOf(setting);
  if (Interval == 0) {
    kv::Log(T(T_TIMESHIFT_NO_INTERVAL).ToUtf8() + std::to_string(setting));
  } else {
    bufferBar_.OnSetMax(Interval);
    positionBar_.OnSetMax(Interval);
  }
  LoadProgram();
  // The label is hidden, which is what no rate means: the first poll then
  // shows any trick-play rate, the initial one included.
  PlayRate = 0;
  StatusCheckSlot();
  pollTimer_.OnSetEnabled(true);
}

void TimeshiftStatusDialog::Close() {
  pollTimer_.OnSetEnabled(false);
  KXDWidgetClass::Close();
}

void TimeshiftStatusDialog::LoadProgram() {
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  Structures::EventInfo* p = w ? w->DB_GetCurrentProgramInfo() : nullptr;
  HasProgram = p && p->StartTime.get();
  if (!HasProgram) {
    title_.OnSetString({});
    programTime_.OnSetString({});
    title_.OnSetVisible(false);
    programTime_.OnSetVisible(false);
    return;
  }
  const Structures::LocalTime* start = p->StartTime.get();
  const Structures::LocalTime* end = start->AddTicks(int64_t{p->Duration} * 60);
  programTime_.OnSetString(Cat(Cat(Clock(*start), T(PROGRAM_TIME_JOINER)), Clock(*end)));
  // The time stands at the right edge in its own width; the title ends 10
  // pixels left of it.
  const kv::Rect pt = programTime_.Bounds();
  programTime_.OnSetBounds({kBarRight - pt.W(), pt.y1, kBarRight, pt.y2});
  const kv::Rect t = title_.Bounds();
  title_.OnSetBounds({t.x1, t.y1, kBarRight - pt.W() - 10, t.y2});
  title_.OnSetString(p->Title);
  title_.OnSetVisible(true);
  programTime_.OnSetVisible(true);
}

void TimeshiftStatusDialog::HideAllInfo() {
  for (Core::View* v :
       std::initializer_list<Core::View*>{&dolby_, &audio_, &resolution_, &sdhd_, &caption_cc_, &liveState_, &rating_})
    v->OnSetVisible(false);
}

void TimeshiftStatusDialog::UpdateBanner() {
  number_.OnSetString({});
  name_.OnSetString({});
  ::Wrapper::Wrapper* base = NonMenuSystem::Live::Base();
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  Structures::VirtualChannel* c = base ? base->GetCurrentChannel() : nullptr;
  Structures::ChannelData* info = c && w ? w->GetChannelInfo(c->Major, c->Minor) : nullptr;
  if (!info) return;
  name_.OnSetString(info->Name);
  kv::String number = w->GetChannelNumberStr(info->IsDigital != 0, c->Major, c->Minor);
  if (number == T(::NonMenuSystem::NUMBER_PLACEHOLDER)) number = kv::String();
  number_.OnSetString(number);
  // The name follows the number.
  const int32_t right = std::min(number_.Bounds().x2, kBarLeft + 120);
  const kv::Rect n = name_.Bounds();
  name_.OnSetBounds({right + 10, n.y1, right + 10 + n.W(), n.y2});
}

void TimeshiftStatusDialog::SetDateLine(const Structures::LocalTime& now) {
  const kv::String year = T(YEAR_SEPARATOR);
  kv::String line;
  if (now.Weekday >= 0 && now.Weekday < 7) line = Cat(kv::GetVariantOfString(*kWeekdays[now.Weekday]), year);
  if (now.Month >= 0 && now.Month < 12) line = Cat(line, kv::GetVariantOfString(*kMonths[now.Month]));
  line = Cat(Cat(line, T(DATE_SEPARATOR)), kv::NewStringInt(now.Day, 0));
  date_.OnSetString(Cat(Cat(line, year), Clock(now)));
}

void TimeshiftStatusDialog::LoadSettings() {
  UpdateBanner();
  ::Wrapper::Wrapper* base = NonMenuSystem::Live::Base();
  if (Structures::LocalTime* now = base ? base->GetCurrentTime() : nullptr; now && now->Day != 0) SetDateLine(*now);
  HideAllInfo();
  ShowBadges();
  PackBadges();
}

void TimeshiftStatusDialog::ShowBadges() {
  ::Wrapper::Wrapper* base = NonMenuSystem::Live::Base();
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  if (!base || !w) return;
  const int32_t type = base->GetSourceType(base->GetCurrentSource(0));
  if (type != 1 && type != 12) {
    input_.OnSetVisible(false);
    return;
  }
  Show(input_, type == 12 ? Bitmaps::BannerRF2Input : Bitmaps::BannerRF1Input);
  const int32_t acquired = MainWindowStatus();
  if (acquired != 0 && acquired != 4 && acquired != 5) return;
  ShowStreamBadges(base, w);
}

void TimeshiftStatusDialog::ShowStreamBadges(::Wrapper::Wrapper* base, SkinBin::Wrapper* w) {
  if (SkinBin::CurrentAudioServiceInfo* a = w->GetCurrentAudioServiceInfo(0)) {
    dolby_.OnSetVisible(a->Coding == 3);
    if (a->AudioMode == 1)
      Show(audio_, Bitmaps::BannerMono);
    else if (a->AudioMode >= 2 && a->AudioMode <= 4)
      Show(audio_, Bitmaps::BannerStereo);
    else if (a->AudioMode >= 5 && a->AudioMode <= 8)
      Show(audio_, Bitmaps::BannerMultiAudio);
  }
  if (Structures::VideoContentInfo* v = base->GetVideoContentInfo(0)) {
    Show(sdhd_, v->Height <= 600 ? Bitmaps::BannerSD : Bitmaps::BannerHD);
    Show(resolution_, v->Height <= 600   ? Bitmaps::Banner480
                      : v->Height <= 800 ? Bitmaps::Banner720
                                         : Bitmaps::Banner1080);
  }
  if (SkinBin::CurrentChannelInfo* d = w->GetCurrentChannelDetailInfo()) {
    caption_cc_.OnSetVisible(d->ClosedCaption != 0);
    rating_.OnSetString(NonMenuSystem::RatingText(w, d->UsRating, d->CanadianRating));
    rating_.OnSetVisible(!rating_.OnGetString().Empty());
  }
  switch (w->GetLiveTVState(w->GetCurrentTunerId())) {
    case Constants::XPM_TV_STATE_RECORDING_LIVE_TV: Show(liveState_, Bitmaps::BannerRecord); break;
    case Constants::XPM_TV_STATE_PAUSE_LIVE_TV: Show(liveState_, Bitmaps::BannerTimeshift); break;
    default: break;
  }
}

void TimeshiftStatusDialog::PackBadges() {
  // The badges shown stand side by side, the rating after the last.
  int32_t x = kBarLeft;
  for (Views::Image* b : {&input_, &sdhd_, &resolution_, &audio_, &dolby_, &caption_cc_, &liveState_}) {
    if (!b->IsVisible()) continue;
    Place(*b, x, kBadgeTop, 36, 18);
    x += kBadgeStep;
  }
  const kv::Rect r = rating_.Bounds();
  rating_.OnSetBounds({x, r.y1, kBarRight, r.y2});
}

void TimeshiftStatusDialog::StatusCheckSlot(kv::Object*) {
  ::Wrapper::Wrapper* base = NonMenuSystem::Live::Base();
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  Structures::LocalTime* now = base ? base->GetCurrentTime() : nullptr;
  SkinBin::TimeshiftStatus* status = w ? w->GetTimeshiftStatus() : nullptr;
  // No clock or no timeshift this second: nothing changes.
  if (!now || now->Day == 0 || !status || !status->Active) return;
  SetDateLine(*now);
  OnSetPlayState(status->PlayState);
  OnSetPlayRate(status->PlayRate);
  if (Interval <= 0) return;
  int32_t buffered = std::max(status->BufferedSeconds, 0);
  int32_t position = status->PositionSeconds;
  if (buffered > Interval) {
    position -= buffered - Interval;
    buffered = Interval;
  }
  position = std::clamp(position, 0, Interval);
  const Structures::LocalTime* start = now->AddTicks(-buffered);
  startClock_.OnSetString(Clock(*start));
  endClock_.OnSetString(Clock(*start->AddTicks(Interval)));
  bufferBar_.OnSetValue(buffered);
  positionBar_.OnSetValue(position);
  const int32_t width = kBarRight - kBarLeft;
  const int32_t x = kBarLeft + std::min(static_cast<int32_t>(int64_t{position} * width / Interval) + kMarkerOffset, width);
  marker_.OnSetPoints({x, kBarTop - 4}, {x, kBarBottom + 3});
  positionClock_.OnSetString(Clock(*start->AddTicks(position)));
  // The clock stands over the marker; near either end of the bar it keeps
  // the panel's margin instead (the bar's left edge from the panel's edge).
  const kv::Rect c = positionClock_.Bounds();
  const int32_t textW = std::min(positionClock_.WidthIn(kClockWidth), kClockWidth);
  const int32_t left = std::clamp(x - textW / 2, kWidth - kBarRight, kWidth - (kWidth - kBarRight) - textW);
  positionClock_.OnSetBounds({left - (kClockWidth - textW) / 2, c.y1, left - (kClockWidth - textW) / 2 + kClockWidth, c.y2});
}

void TimeshiftStatusDialog::OnSetPlayState(int32_t s) {
  if (s == PlayState) return;
  PlayState = s;
  switch (s) {
    case XPM_TIMESHIFT_PLAY_STATE_PAUSE: state_.OnSetBitmap(Bmp(Bitmaps::MediaPause)); break;
    case XPM_TIMESHIFT_PLAY_STATE_PLAY: state_.OnSetBitmap(Bmp(Bitmaps::MediaPlay)); break;
    case XPM_TIMESHIFT_PLAY_STATE_FAST_FORWARD:
    case XPM_TIMESHIFT_PLAY_STATE_SLOW_FORWARD: state_.OnSetBitmap(Bmp(Bitmaps::MediaForward)); break;
    case XPM_TIMESHIFT_PLAY_STATE_FAST_BACKWARD:
    case XPM_TIMESHIFT_PLAY_STATE_SLOW_BACKWARD: state_.OnSetBitmap(Bmp(Bitmaps::MediaBackward)); break;
    default: break;  // an unknown state keeps the image
  }
}

void TimeshiftStatusDialog::OnSetPlayRate(int32_t r) {
  if (r == PlayRate) return;
  PlayRate = r;
  if (r < kFirstTrickRate || r > kLastTrickRate) {
    rate_.OnSetVisible(false);
    return;
  }
  const kv::String factor = kv::NewStringInt(1 << (r - 1), 0);
  if (PlayState == XPM_TIMESHIFT_PLAY_STATE_FAST_FORWARD || PlayState == XPM_TIMESHIFT_PLAY_STATE_FAST_BACKWARD)
    rate_.OnSetString(Cat(T(RATE_FAST_PREFIX), factor));
  else if (PlayState == XPM_TIMESHIFT_PLAY_STATE_SLOW_FORWARD || PlayState == XPM_TIMESHIFT_PLAY_STATE_SLOW_BACKWARD)
    rate_.OnSetString(Cat(T(RATE_SLOW_PREFIX), factor));
  rate_.OnSetVisible(true);
}

void TimeshiftStatusDialog::KeyOperation(int32_t operation) {
  if (SkinBin::Wrapper* w = NonMenuSystem::Live::Skin()) w->TimeshiftKeyProc(operation);
  ResetTimeout();
}

kv::Object* TimeshiftStatusDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return KXDWidgetClass::HandleEvent(event);
  // The next trick-play rate in a direction: the same direction steps up
  // (the last rate back to the first), another one starts at the first.
  auto trick = [this](int32_t direction) {
    const int32_t rate = PlayState == direction && PlayRate >= kFirstTrickRate && PlayRate < kLastTrickRate
                             ? PlayRate + 1
                             : kFirstTrickRate;
    OnSetPlayState(direction);
    OnSetPlayRate(rate);
  };
  switch (key->Code) {
    case KEY_PLAY:
      OnSetPlayState(XPM_TIMESHIFT_PLAY_STATE_PLAY);
      OnSetPlayRate(1);
      KeyOperation(0);
      return this;
    case KEY_PAUSE:
      OnSetPlayState(PlayState == XPM_TIMESHIFT_PLAY_STATE_PAUSE ? XPM_TIMESHIFT_PLAY_STATE_PLAY
                                                                 : XPM_TIMESHIFT_PLAY_STATE_PAUSE);
      OnSetPlayRate(1);
      KeyOperation(1);
      return this;
    case KEY_FORWARD:
      trick(XPM_TIMESHIFT_PLAY_STATE_FAST_FORWARD);
      KeyOperation(2);
      return this;
    case KEY_REWIND:
      trick(XPM_TIMESHIFT_PLAY_STATE_FAST_BACKWARD);
      KeyOperation(3);
      return this;
    default:
      for (int32_t i = 0; i < 4; ++i) {
        if (key->Code == kOtherKeys[i]) {
          KeyOperation(kFirstOtherOperation + i);
          return this;
        }
      }
      return KXDWidgetClass::HandleEvent(event);
  }
}

}  // namespace Record
