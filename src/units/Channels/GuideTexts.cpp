#include "units/Channels/GuideTexts.h"

#include "runtime/auto_object.h"
#include "runtime/text.h"
#include "strings/Channels.h"
#include "strings/Strings.h"
#include "units/Agent/EventAgent.h"
#include "units/Bitmaps/BannerBitmaps.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Constants/Constants.h"
#include "units/ListForm/PagedList.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/RatingData.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/LocalTime.h"
#include "units/Structures/RRTDimensionData.h"
#include "units/Structures/VideoContentInfo.h"
#include "units/Views/Image.h"
#include "units/Wrapper/Wrapper.h"

namespace Channels {

namespace {

const kv::MultiTextId* const kWeekdays[7] = {&Strings::Sun, &Strings::Mon, &Strings::Tue, &Strings::Wed,
                                             &Strings::Thu, &Strings::Fri, &Strings::Sat};

kv::String Cat(const kv::String& a, const kv::String& b) { return kv::ConcatString(a, b); }

void Badge(Views::Image* v, const Resources::BitmapId& id) {
  if (!v) return;
  v->OnSetBitmap(Resources::LoadResource(id));
  v->OnSetVisible(true);
}

}  // namespace

kv::String GuideClockText(const Structures::LocalTime* t) {
  if (!t) return {};
  const kv::String a = kv::LoadString(GUIDE_CLOCK_SEPARATOR);
  const kv::String day = t->Weekday >= 0 && t->Weekday < 7 ? kv::GetVariantOfString(*kWeekdays[t->Weekday]) : kv::String();
  kv::String s = Cat(Cat(day, a), ListForm::MonthName(t->Month));
  s = Cat(Cat(s, kv::LoadString(GUIDE_DAY_SEPARATOR)), kv::NewStringInt(t->Day, 0));
  return Cat(Cat(s, a), ::Wrapper::Wrapper::GetTimeAMPM(t->Hour, t->Minute));
}

kv::String TimeSpanText(const Structures::LocalTime* start, int32_t minutes) {
  if (!start) return {};
  const int32_t length = minutes > 0 ? minutes : 0;
  int32_t endHour = start->Hour + length / 60;
  int32_t endMinute = start->Minute + length % 60;
  if (endMinute >= 60) {
    ++endHour;
    endMinute -= 60;
  }
  // A programme of a day or more still ends at an hour of the clock.
  endHour %= 24;
  return Cat(Cat(::Wrapper::Wrapper::GetTimeAMPM(start->Hour, start->Minute), kv::LoadString(GUIDE_SPAN_SEPARATOR)),
             ::Wrapper::Wrapper::GetTimeAMPM(endHour, endMinute));
}

kv::String RatingRegionText() {
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  SkinBin::UsAlternateRatingInfo* info = w ? w->GetCurrentChannelRatingInfo() : nullptr;
  if (!info) return {};
  const kv::String sep = kv::LoadString(GUIDE_REGION_SEPARATOR);
  kv::String s;
  for (int32_t i = 0; i < info->GetCount(); ++i) {
    Structures::RRTDimensionData* d = info->Get(i);
    if (!d || d->Text1.Empty()) continue;
    s = s.Empty() ? d->Text1 : Cat(Cat(s, sep), d->Text1);
  }
  return s;
}

bool MainWindowAcquired() {
  const int32_t a = kv::GetAutoObject<Agent::EventAgent>(MainApp::EventAgent)->GetMainWindowAcquiredStatus();
  return a == 0 || a == 4 || a == 5;
}

int32_t SignalFrame(int32_t s) {
  if (s <= 0) return 0;
  if (s >= 100) return 5;
  return 5 * s / 100 + 1;
}

void ShowStreamBadges(const StreamBadges& b) {
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  if (!w) return;
  if (SkinBin::CurrentAudioServiceInfo* a = w->GetCurrentAudioServiceInfo(0)) {
    if (a->Coding == 3) Badge(b.dolby, Bitmaps::BannerDolbyDigital);
    if (a->AudioMode == 1) Badge(b.audioMode, Bitmaps::BannerMono);
    if (a->AudioMode >= 2 && a->AudioMode <= 4) Badge(b.audioMode, Bitmaps::BannerStereo);
    if (a->AudioMode >= 5 && a->AudioMode <= 8) Badge(b.audioMode, Bitmaps::BannerMultiAudio);
  }
  if (Structures::VideoContentInfo* v = w->GetVideoContentInfo(0)) {
    if (v->Height <= 600) {
      Badge(b.sdhd, Bitmaps::BannerSD);
      Badge(b.resolution, Bitmaps::Banner480);
    } else {
      Badge(b.sdhd, Bitmaps::BannerHD);
      Badge(b.resolution, v->Height <= 800 ? Bitmaps::Banner720 : Bitmaps::Banner1080);
    }
  }
  if (SkinBin::CurrentChannelInfo* d = w->GetCurrentChannelDetailInfo(); d && d->ClosedCaption && b.caption)
    b.caption->OnSetVisible(true);
  const int32_t state = NonMenuSystem::Live::LiveTVState(NonMenuSystem::Live::CurrentTunerId());
  if (state == Constants::XPM_TV_STATE_RECORDING_LIVE_TV) Badge(b.record, Bitmaps::BannerRecord);
  if (state == Constants::XPM_TV_STATE_PAUSE_LIVE_TV) Badge(b.record, Bitmaps::BannerTimeshift);
}

}  // namespace Channels
