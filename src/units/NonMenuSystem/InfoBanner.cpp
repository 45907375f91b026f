#include "units/NonMenuSystem/InfoBanner.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/NonMenuSystem.h"
#include "strings/Strings.h"
#include "units/Agent/EventAgent.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/BannerBitmaps.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Bitmaps/ListBitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/Views/Align.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Font.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/EPGEventsInfo_DB.h"
#include "units/SkinBin/HdmiCecData.h"
#include "units/SkinBin/RatingData.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/ChannelData.h"
#include "units/Structures/EventInfo.h"
#include "units/Structures/LocalTime.h"
#include "units/Structures/RRTDimensionData.h"
#include "units/Structures/VideoContentInfo.h"
#include "units/Structures/VirtualChannel.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(NonMenuSystem::BannerForm);
KV_REGISTER_CLASS(NonMenuSystem::BannerBasicInfo);
KV_REGISTER_CLASS(NonMenuSystem::BannerEPGInfo);
KV_REGISTER_CLASS(NonMenuSystem::BannerHDMIInfo);
KV_REGISTER_CLASS(NonMenuSystem::BannerMiscInfo);
KV_REGISTER_CLASS(NonMenuSystem::InfoBanner);

namespace NonMenuSystem {

namespace {

using namespace Strings;

using namespace keys;

constexpr int32_t kFirstRefresh = 2000;
constexpr int32_t kRefreshPeriod = 4000;
constexpr int32_t kEPGTimeOut = 60000;
constexpr kv::Color kActive = kv::Color::FromWord(0xFFB4B4B4u);
constexpr kv::Color kInactive = kv::Color::FromWord(0xFF323232u);

Resources::Bitmap* Bmp(const Resources::BitmapId& id) { return Resources::LoadResource(id); }
Resources::Font* Fnt(const Resources::FontId& id) { return Resources::LoadResource(id); }
kv::String S(const kv::MultiTextId& id) { return kv::GetVariantOfString(id); }
kv::String T(kv::TextId id) { return kv::LoadString(id); }
kv::String Cat(const kv::String& a, const kv::String& b) { return kv::ConcatString(a, b); }

int32_t MainWindowStatus() {
  return kv::GetAutoObject<Agent::EventAgent>(MainApp::EventAgent)->GetMainWindowAcquiredStatus();
}
bool GoodChannelStatus(int32_t a) { return a == 0 || a == 4 || a == 5; }
bool GoodSourceStatus(int32_t a) { return a == 16 || a == 20 || a == 23; }

void Place(Core::View& v, int32_t x, int32_t y, int32_t w, int32_t h) { v.OnSetBounds({x, y, x + w, y + h}); }

// The basic banner's badge row: under the channel's number and name on a
// tuner, right under the source line on any other input. The banner keeps
// its size on every source.
constexpr int32_t kTunerBadgesTop = 76;
constexpr int32_t kInputBadgesTop = 36;
// The source label's width: on a tuner it ends before the signal strength;
// an input shows none, so there it runs to the frame's inner edge, where the
// badges end (a device's name from HDMI-CEC can be long).
constexpr int32_t kTunerLabelWidth = 150;
constexpr int32_t kInputLabelWidth = 184;

void Badge(Views::Image& v, const Resources::BitmapId& id) {
  v.OnSetBitmap(Bmp(id));
  v.OnSetVisible(true);
}

void SetupText(Views::Text& t, const Resources::FontId& font, kv::Color colour = Colors::StandardTextColor) {
  t.OnSetFont(Fnt(font));
  t.OnSetColor(colour);
  t.OnSetAlignV(Views::ALIGN_CENTER);
}

// The number takes the width of its text and the name the rest of the row up
// to 12 px from the frame, in the extra-large font where it fits there, else
// in the large or the medium font (a name too long even for that ends in
// "...").
void PlaceNumberAndName(BannerBasicInfo& b) {
  constexpr int32_t kLeft = 12, kRight = 238, kGap = 10, kTop = 32, kHeight = 40;
  Resources::Font* large = Fnt(Fonts::ExtraLargeFont);
  const kv::String& number = b.ChannelNumber.OnGetString();
  const int32_t numberWidth = number.Empty() || !large ? 0 : large->GetTextWidth(number);
  Place(b.ChannelNumber, kLeft, kTop, numberWidth, kHeight);
  const int32_t x = kLeft + numberWidth + (numberWidth > 0 ? kGap : 0);
  const kv::String& name = b.ChannelName.OnGetString();
  Resources::Font* font = large;
  for (const Resources::FontId* id : {&Fonts::ExtraLargeFont, &Fonts::LargeFont, &Fonts::MediumFont}) {
    font = Fnt(*id);
    if (!font || name.Empty() || font->GetTextWidth(name) <= kRight - x) break;
  }
  b.ChannelName.OnSetFont(font);
  Place(b.ChannelName, x, kTop, kRight - x, kHeight);
}

}  // namespace

// The image of a signal strength of 0 to 100 (5 bars at full strength).
int32_t SignalImage(int32_t q) {
  if (q <= 0) return 0;
  if (q >= 100) return 5;
  return q * 5 / 100 + 1;
}

// The source icon of a source type (none for unknown types).
Resources::Bitmap* SourceTypeImage(int32_t type) {
  switch (type) {
    case 1: return Bmp(Bitmaps::BannerRF1Input);
    case 2: case 3: return Bmp(Bitmaps::BannerVideoInput);
    case 4: return Bmp(Bitmaps::BannerHDInput);
    case 5: case 10: return Bmp(Bitmaps::BannerHDMIInput);
    case 6: return Bmp(Bitmaps::BannerPCInput);
    case 12: return Bmp(Bitmaps::BannerRF2Input);
    default: return nullptr;
  }
}

// The source's label, else its name; on a tuner followed by the medium word.
kv::String SourceLabelText(int32_t source, bool tuner) {
  SkinBin::Wrapper* w = Live::Skin();
  if (!w) return {};
  kv::String label = w->GetSourceLabel(source);
  if (label.Empty()) label = w->GetSourceName(source);
  if (!tuner) return label;
  const kv::String medium = S(w->OnGetAntCableIn() == 1 ? SID_CABLE_UPPERCASE : SID_ANT);
  return Cat(Cat(label, T(::NonMenuSystem::BANNER_SEPARATOR)), medium);
}

// --- BannerForm ---------------------------------------------------------------------

BannerForm::BannerForm() {
  OnSetTimeOutValue(0);
  background_.OnSetBitmap(Bmp(Bitmaps::BannerSmallTopBg));
  background_.OnSetVisible(false);
  frame_.OnSetBitmap(Bmp(Bitmaps::MiniGuideBackground));
  Add(&background_);
  Add(&frame_);
  KeyRoutingForm::OnSetBounds({0, 0, 219, 97});
  Refresh();
}

void BannerForm::Refresh() {
  const kv::Rect own{0, 0, Bounds().W(), Bounds().H()};
  background_.OnSetBounds(own);
  frame_.OnSetBounds(own);
  KeyRoutingForm::Refresh();
}

void BannerForm::OnSetBounds(kv::Rect bounds) {
  const bool resized = bounds.W() != Bounds().W() || bounds.H() != Bounds().H();
  KeyRoutingForm::OnSetBounds(bounds);
  if (resized) kv::PostSignal(kv::MakeSlot(this, &BannerForm::RefreshSlot));
}

// --- BannerBasicInfo -----------------------------------------------------------------

BannerBasicInfo::BannerBasicInfo() {
  WidgetOrigin = {40, 40};
  OnSetBounds({0, 0, 250, 126});
  Place(SourceIcon, 12, 10, 36, 18);
  SetupText(SourceLabel, Fonts::BannerBasicInfo);
  Place(SourceLabel, 54, 8, kTunerLabelWidth, 22);
  SourceLabel.OnSetEllipsis(true);
  Signal.OnSetBitmap(Bmp(Bitmaps::SignalIndicator));
  Signal.OnSetImageSize(23);
  Signal.OnSetImageNumber(1);
  Place(Signal, 214, 11, 23, 16);
  SetupText(ChannelNumber, Fonts::ExtraLargeFont);
  SetupText(ChannelName, Fonts::ExtraLargeFont);
  ChannelName.OnSetEllipsis(true);
  PlaceNumberAndName(*this);
  SetupText(Rating, Fonts::BannerBasicInfo);
  // Rating names come from the broadcast: a long line ends in "...".
  Rating.OnSetEllipsis(true);
  SetupText(PCTiming, Fonts::BannerBasicInfo);
  PlaceBadges(kTunerBadgesTop);
  SecondAudio.OnSetBitmap(Bmp(Bitmaps::BannerMultiAudio));
  ClosedCaption.OnSetBitmap(Bmp(Bitmaps::BannerCC));
  Analogue.OnSetBitmap(Bmp(Bitmaps::BannerNTSC));
  Dolby.OnSetBitmap(Bmp(Bitmaps::BannerDolbyDigital));
  ThreeD.OnSetBitmap(Bmp(Bitmaps::Banner3D));
  for (Core::View* v : std::initializer_list<Core::View*>{&SourceIcon, &SourceLabel, &Signal, &ChannelNumber, &ChannelName,
                                                          &SDHD, &Resolution, &AudioMode, &SecondAudio, &Dolby,
                                                          &ClosedCaption, &Analogue, &ThreeD, &Rating, &PCTiming})
    Add(v);
  ClosedCaption.OnSetVisible(false);
  HideAllInfo();
}

void BannerBasicInfo::PlaceBadges(int32_t top) {
  // Six badges 2 px apart, 12 px in from both sides of the frame.
  Place(SDHD, 12, top, 36, 18);
  Place(Resolution, 50, top, 36, 18);
  Place(AudioMode, 88, top, 36, 18);
  Place(SecondAudio, 126, top, 36, 18);
  Place(Dolby, 164, top, 36, 18);
  Place(ClosedCaption, 202, top, 36, 18);
  Place(Analogue, 12, top, 36, 18);
  Place(ThreeD, 12, top + 24, 36, 18);
  Place(Rating, 52, top + 22, 186, 22);
  Place(PCTiming, 52, top - 2, 188, 22);
}

void BannerBasicInfo::HideAllInfo() {
  for (Core::View* v : std::initializer_list<Core::View*>{&ChannelNumber, &ChannelName, &Signal, &Dolby, &AudioMode,
                                                          &SecondAudio, &Resolution, &PCTiming, &SDHD, &ThreeD, &Rating,
                                                          &Analogue})
    v->OnSetVisible(false);
}

void BannerBasicInfo::ShowAudioBadges(bool dolbyPlus) {
  SkinBin::Wrapper* w = Live::Skin();
  SkinBin::CurrentAudioServiceInfo* a = w ? w->GetCurrentAudioServiceInfo(0) : nullptr;
  if (!a) return;
  if (a->Coding == 3 || (dolbyPlus && a->Coding == 4)) Dolby.OnSetVisible(true);
  switch (a->AudioMode) {
    case 1: Badge(AudioMode, Bitmaps::BannerMono); break;
    case 2: Badge(AudioMode, Bitmaps::BannerStereo); break;
    case 3: case 4:
      Badge(AudioMode, Bitmaps::BannerStereo);
      SecondAudio.OnSetVisible(true);
      break;
    case 5: case 6: case 7: case 8: Badge(AudioMode, Bitmaps::BannerMultiAudio); break;
    default: break;
  }
}

void BannerBasicInfo::ShowTvResolution(int32_t height) {
  if (height < 601) {
    Badge(SDHD, Bitmaps::BannerSD);
    Badge(Resolution, Bitmaps::Banner480);
  } else {
    Badge(SDHD, Bitmaps::BannerHD);
    Badge(Resolution, height < 801 ? Bitmaps::Banner720 : Bitmaps::Banner1080);
  }
}

void BannerBasicInfo::ShowVideoBadges(int32_t type) {
  ::Wrapper::Wrapper* base = Live::Base();
  Structures::VideoContentInfo* v = base ? base->GetVideoContentInfo(0) : nullptr;
  if (!v) return;
  const bool vga = v->Width == 640 && v->Height == 480;
  const bool pc = type == 6 || ((type == 5 || type == 10) && (v->PCTiming || vga));
  if (!pc) {
    ShowTvResolution(v->Height);
    return;
  }
  struct Timing {
    int32_t w, h;
    const Resources::BitmapId* id;
  };
  static const Timing kTimings[] = {{640, 480, &Bitmaps::BannerVGA},    {800, 600, &Bitmaps::BannerSVGA},
                                    {1024, 768, &Bitmaps::BannerXGA},   {1280, 768, &Bitmaps::BannerWXGA},
                                    {1280, 800, &Bitmaps::BannerWXGA},  {1360, 768, &Bitmaps::BannerWXGA},
                                    {1280, 1024, &Bitmaps::BannerSXGA}};
  for (const Timing& t : kTimings) {
    if (v->Width == t.w && v->Height == t.h) {
      // The timing badge is the PC's only badge: it takes the first place.
      const kv::Rect first = SDHD.Bounds();
      Place(Resolution, first.x1, first.y1, first.W(), first.H());
      Badge(Resolution, *t.id);
      return;
    }
  }
  Resolution.OnSetVisible(false);
  SkinBin::Wrapper* w = Live::Skin();
  PCTiming.OnSetString(w ? w->GetVGAInfo(v) : kv::String());
  PCTiming.OnSetVisible(true);
}

void BannerBasicInfo::LoadSettings() {
  ::Wrapper::Wrapper* base = Live::Base();
  SkinBin::Wrapper* w = Live::Skin();
  if (!base) return;
  const int32_t s = base->GetCurrentSource(0);
  const int32_t t = base->GetSourceType(s);
  const int32_t a = MainWindowStatus();
  ChannelName.OnSetString({});
  PCTiming.OnSetString({});
  HideAllInfo();
  Place(SourceLabel, 54, 8, Live::IsTunerType(t) ? kTunerLabelWidth : kInputLabelWidth, 22);
  if (!Live::IsTunerType(t)) {
    PlaceBadges(kInputBadgesTop);
    SourceLabel.OnSetString(SourceLabelText(s, false));
    SourceIcon.OnSetBitmap(SourceTypeImage(t));
    if ((t == 5 || t == 10) && w) {
      if (SkinBin::CecDeviceEntry* dev = w->GetHdmiCecData()->IsCecDeviceConnected(s)) SourceLabel.OnSetString(dev->Name);
    }
    if (!GoodSourceStatus(a)) return;
    if (t == 5 || t == 9) ShowAudioBadges(true);
    ShowVideoBadges(t);
    if (t == 2 || t == 3 || t == 4) ShowRatingInfo();
    return;
  }
  PlaceBadges(kTunerBadgesTop);
  SourceLabel.OnSetString(SourceLabelText(s, true));
  SkinBin::CurrentChannelInfo* d = w ? w->GetCurrentChannelDetailInfo() : nullptr;
  if (d && w) {
    kv::String number = w->GetChannelNumberStr(d->IsDigital != 0, d->Major, d->Minor);
    if (number == T(::NonMenuSystem::NUMBER_PLACEHOLDER)) number = kv::String();
    ChannelNumber.OnSetString(number);
    ChannelName.OnSetString(d->Name);
  }
  PlaceNumberAndName(*this);
  ChannelNumber.OnSetVisible(true);
  SourceIcon.OnSetBitmap(Bmp(t == 12 ? Bitmaps::BannerRF2Input : Bitmaps::BannerRF1Input));
  ChannelName.OnSetVisible(true);
  if (!d || !GoodChannelStatus(a)) return;
  if (d->IsDigital) {
    Signal.OnSetImageIndex(SignalImage(d->SignalStrength));
    Signal.OnSetVisible(true);
    ShowAudioBadges(false);
    Structures::VideoContentInfo* v = base->GetVideoContentInfo(0);
    if (v) ShowTvResolution(v->Height);
  } else {
    const bool stereo = base->IsStereo_Present() != 0;
    const bool sap = base->IsSAP_Present() != 0;
    if (stereo) {
      AudioMode.OnSetBitmap(Bmp(Bitmaps::BannerStereo));
      SecondAudio.OnSetVisible(sap);
    } else {
      AudioMode.OnSetBitmap(Bmp(sap ? Bitmaps::BannerMultiAudio : Bitmaps::BannerMono));
    }
    AudioMode.OnSetVisible(true);
    Analogue.OnSetVisible(true);
    Resolution.OnSetBitmap(Bmp(Bitmaps::Banner480));
    const kv::Rect n = Analogue.Bounds();
    Place(Resolution, n.x2 + 4, n.y1, 36, 18);
    Resolution.OnSetVisible(true);
    // The sound badges follow the resolution with the same room as the
    // analogue badge leaves before it.
    const kv::Rect r = Resolution.Bounds();
    Place(AudioMode, r.x2 + 4, r.y1, 36, 18);
    Place(SecondAudio, r.x2 + 4 + 36 + 2, r.y1, 36, 18);
  }
  ClosedCaption.OnSetVisible(d->ClosedCaption != 0);
  ShowRatingInfo();
}

kv::String JoinRatingPart(const kv::String& text, const kv::String& part) {
  if (part.Empty()) return text;
  if (text == S(SID_NONE)) return part;
  return text.Empty() ? part : Cat(Cat(text, T(::NonMenuSystem::RATING_SEPARATOR)), part);
}

kv::String RatingText(SkinBin::Wrapper* w, int32_t word, int32_t canadian) {
  if (!w) return {};
  kv::String r;
  if (word != 0) {
    const int32_t tv = w->GetUsRatingIndex(word & ~15);
    kv::String part = tv < 7 ? w->GetUsRatingName(tv) : kv::String();
    static const kv::TextId* const kKeys[] = {&::NonMenuSystem::CONTENT_KEY_FV, &::NonMenuSystem::CONTENT_KEY_D,
                                              &::NonMenuSystem::CONTENT_KEY_L, &::NonMenuSystem::CONTENT_KEY_S,
                                              &::NonMenuSystem::CONTENT_KEY_V};
    static const kv::TextId* const kSuffixes[] = {&::NonMenuSystem::CONTENT_SUFFIX_FV, &::NonMenuSystem::CONTENT_SUFFIX_D,
                                                  &::NonMenuSystem::CONTENT_SUFFIX_L, &::NonMenuSystem::CONTENT_SUFFIX_S,
                                                  &::NonMenuSystem::CONTENT_SUFFIX_V};
    if (w->GetUsTVContent(word, T(*kKeys[0]))) {
      part = Cat(part, T(*kSuffixes[0]));
    } else {
      for (size_t i = 1; i < 5; ++i)
        if (w->GetUsTVContent(word, T(*kKeys[i]))) part = Cat(part, T(*kSuffixes[i]));
    }
    r = part;
  }
  const int32_t movie = w->GetUsRatingIndex(word & 15);
  if (movie >= 7 && movie < 15) r = JoinRatingPart(r, w->GetUsRatingName(movie));
  if (canadian != 0) {
    const int32_t index = w->GetCanRatingIndex(canadian);
    if (index < 11) r = JoinRatingPart(r, w->GetCanRatingName(index));
  }
  return r;
}

void BannerBasicInfo::ShowRatingInfo() {
  SkinBin::Wrapper* w = Live::Skin();
  Structures::EventInfo* info = w ? w->GetCurrentRatingInfo() : nullptr;
  if (!info) return;
  Rating.OnSetString({});
  Rating.OnSetVisible(true);
  kv::String r = RatingText(w, info->UsRating, info->CanadianRating);
  if (SkinBin::UsAlternateRatingInfo* alt = w->GetCurrentChannelRatingInfo(); alt && alt->GetCount() > 0) {
    const kv::String sep = T(::NonMenuSystem::RATING_SEPARATOR);
    kv::String levels;
    for (int32_t i = 0; i < alt->GetCount(); ++i) {
      Structures::RRTDimensionData* d = alt->Get(i);
      if (!d || d->Text1.Empty()) continue;
      levels = Cat(Cat(levels, d->Text1), sep);
    }
    if (!levels.Empty()) levels = kv::StringLeft(levels, levels.Length() - sep.Length());
    r = JoinRatingPart(r, levels);
  }
  Rating.OnSetString(r);
}

// --- BannerEPGInfo -------------------------------------------------------------------

BannerEPGInfo::BannerEPGInfo() {
  WidgetOrigin = {269, 47};
  background_.OnSetBitmap(Bmp(Bitmaps::BannerBigBg));
  background_.OnSetVisible(true);
  frame_.OnSetVisible(false);
  SetupText(Time, Fonts::BannerBasicInfo);
  Time.OnSetAlignH(Views::ALIGN_RIGHT);
  Time.OnSetAutoSize(true);
  SetupText(Title, Fonts::BannerBasicInfo);
  Title.OnSetEllipsis(true);
  Description.OnSetFont(Fnt(Fonts::BannerDescription));
  Description.OnSetColor(Colors::BannerDescription);
  Add(&Time);
  Add(&Title);
  Add(&Description);
  OnSetBounds({0, 0, 647, 129});
  Refresh();
}

void BannerEPGInfo::Refresh() {
  BannerForm::Refresh();
  const int32_t w = Bounds().W();
  const int32_t h = Bounds().H();
  const int32_t tw = Time.Bounds().W();
  Place(Time, w - 6 - tw, 0, tw, 30);
  Place(Title, 6, 0, std::max(0, w - 18 - tw), 30);
  Place(Description, 6, 30, std::max(0, w - 12), std::max(0, h - 36));
}

void BannerEPGInfo::LoadSettings() {
  ::Wrapper::Wrapper* base = Live::Base();
  SkinBin::Wrapper* w = Live::Skin();
  const kv::String none = S(SID_NO_INFORMATION_AVAILABLE);
  Structures::EventInfo* e = nullptr;
  if (w && base && GoodChannelStatus(MainWindowStatus())) {
    auto* db = kv::Cast<SkinBin::EPGEventsInfo_DB>(events_.get());
    if (!db) {
      db = kv::New<SkinBin::EPGEventsInfo_DB>();
      events_ = db;
    }
    const int32_t n = db->GetEventInfoByCount(base->GetCurrentChannel(), 2);
    if (EPGIndex >= 0 && EPGIndex < n) e = db->GetEvent(EPGIndex);
  }
  kv::String title = none;
  if (e) {
    title = e->Title;
    Description.OnSetString(e->Description.Empty() ? none : e->Description);
    kv::String time;
    if (Structures::LocalTime* start = e->StartTime.get()) {
      time = ::Wrapper::Wrapper::GetTimeAMPM(start->Hour, start->Minute);
      if (Structures::LocalTime* end = start->AddTicks(static_cast<int64_t>(e->Duration) * 60))
        time = Cat(Cat(time, T(::NonMenuSystem::TIME_SEPARATOR)), ::Wrapper::Wrapper::GetTimeAMPM(end->Hour, end->Minute));
      const kv::String zone = w->GetTimeZoneAbbrev();
      if (!zone.Empty()) time = Cat(Cat(time, T(::NonMenuSystem::RATING_SEPARATOR)), zone);
    }
    Time.OnSetString(time);
  } else {
    Description.OnSetString(none);
    Time.OnSetString({});
  }
  if (EPGIndex == 1) title = Cat(Cat(S(SID_NEXT), T(::NonMenuSystem::BANNER_SEPARATOR)), title);
  Title.OnSetString(title);
  Refresh();
}

// --- BannerHDMIInfo ------------------------------------------------------------------

BannerHDMIInfo::BannerHDMIInfo() {
  WidgetOrigin = {45, 288};
  background_.OnSetBitmap(Bmp(Bitmaps::BannerHDMIBgBig));
  background_.OnSetVisible(true);
  frame_.OnSetVisible(false);
  static const kv::MultiTextId* const kCaptions[kRows] = {&SID_RESOLUTION, &SID_VIDEO_SCAN_TYPE, &SID_FRAME_RATE,
                                                          &SID_ASPECT_RATIO, &SID_BIT_DEPTH, &SID_COLOUR_SPACE,
                                                          &SID_RGB_SLASH_YUV, &SID_CHROMA_FORMAT, &SID_3D_STRUCTURE};
  // The captions' column takes the widest caption of the menu language and
  // a gap that keeps it apart from its value (at least 150 px); the values,
  // each after its colon, take the rest of the banner up to x 330.
  int32_t column = 150;
  for (int32_t i = 0; i < kRows; ++i) {
    SetupText(captions_[i], Fonts::BannerDescription, Colors::BannerDescription);
    captions_[i].OnSetString(S(*kCaptions[i]));
    column = std::max(column, captions_[i].WidthIn(1 << 20) + 10);
  }
  for (int32_t i = 0; i < kRows; ++i) {
    Place(captions_[i], 14, 1 + 26 * i, column, 26);
    SetupText(values_[i], Fonts::BannerDescription);
    Place(values_[i], 14 + column, 1 + 26 * i, 316 - column, 26);
    Add(&captions_[i]);
    Add(&values_[i]);
  }
  OnSetBounds({0, 0, 340, 236});
  Refresh();
}

void BannerHDMIInfo::Initialize(Primitives::KeyRoutingParameter* param) {
  BannerForm::Initialize(param);
  SkinBin::Wrapper* w = Live::Skin();
  const int32_t series = w ? w->OnGetSeriesType() : 0;
  if (series == 2 || series == 3) return;
  OnSetBounds({Bounds().x1, Bounds().y1, Bounds().x1 + 340, Bounds().y1 + 210});
  WidgetOrigin = {45, 314};
  background_.OnSetBitmap(Bmp(Bitmaps::BannerHDMIBg));
  captions_[kRows - 1].OnSetVisible(false);
  values_[kRows - 1].OnSetVisible(false);
}

kv::String BannerHDMIInfo::GetFrameRateString(int32_t code) {
  const kv::TextId* label = nullptr;
  switch (code) {
    case 2: label = &::NonMenuSystem::FRAME_RATE_24; break;
    case 4: case 5: label = &::NonMenuSystem::FRAME_RATE_25; break;
    case 8: case 9: label = &::NonMenuSystem::FRAME_RATE_30; break;
    case 11: label = &::NonMenuSystem::FRAME_RATE_50; break;
    case 12: label = &::NonMenuSystem::FRAME_RATE_5994; break;
    case 13: label = &::NonMenuSystem::FRAME_RATE_60; break;
    default: return S(SID_OTHER);
  }
  return Cat(T(*label), S(SID_FRAME_RATE_HZ));
}

kv::String BannerHDMIInfo::GetColorDepthString(int32_t code) {
  switch (code) {
    case 4: return S(SID_COLOUR_DEPTH_8_BIT);
    case 5: return S(SID_COLOUR_DEPTH_10_BIT);
    case 6: return S(SID_COLOUR_DEPTH_12_BIT);
    default: return S(SID_OTHER);
  }
}

void BannerHDMIInfo::SetValue(int32_t row, const kv::String& text) {
  values_[row].OnSetString(Cat(kv::GetVariantOfString(::NonMenuSystem::HDMI_VALUE_PREFIX), text));
}

void BannerHDMIInfo::LoadSettings() {
  ::Wrapper::Wrapper* base = Live::Base();
  SkinBin::Wrapper* w = Live::Skin();
  if (Structures::VideoContentInfo* v = base ? base->GetVideoContentInfo(0) : nullptr) {
    SetValue(0, Cat(Cat(kv::NewStringInt(v->Width, 0), T(::NonMenuSystem::HDMI_RES_SEPARATOR)), kv::NewStringInt(v->Height, 0)));
    if (v->ScanType == 1) SetValue(1, S(SID_SCAN_TYPE_INTERLACED));
    if (v->ScanType == 2) SetValue(1, S(SID_SCAN_TYPE_PROGRESSIVE));
    SetValue(2, GetFrameRateString(v->FrameRate));
    SetValue(3, S(v->AspectRatio == 1 ? SID_ASPECT_RATION_4_TO_3 : v->AspectRatio == 2 ? SID_ASPECT_RATIO_16_TO_9 : SID_OTHER));
    SetValue(4, GetColorDepthString(v->ColorDepth));
    const int32_t f = v->ColorFormat;
    SetValue(5, S(f == 0 || f == 3 ? SID_COLOUR_SPACE_SRGB : SID_COLOUR_SPACE_XVYCC));
    SetValue(6, S(f == 0 ? SID_RGB_FULL : f == 3 ? SID_RGB_LIMITED : SID_RGB_YUV));
    SetValue(7, S(f == 0 || f == 1 || f == 3 ? SID_CHROMA_FORMAT_4_4_4 : SID_CHROMA_FORMAT_4_2_2));
  }
  const int32_t series = w ? w->OnGetSeriesType() : 0;
  if (w && (series == 2 || series == 3)) {
    switch (w->Setup3D.Format) {
      case 0: SetValue(8, S(SID_OTHER)); break;
      case 2: SetValue(8, S(SID_SIDE_BY_SIDE)); break;
      case 3: SetValue(8, S(SID_TOP_AND_BOTTOM)); break;
      case 5: case 6: SetValue(8, S(SID_FRAME_PACKING)); break;
      default: break;
    }
  }
}

// --- BannerMiscInfo ------------------------------------------------------------------

BannerMiscInfo::BannerMiscInfo() {
  WidgetOrigin = {45, 116};
  background_.OnSetBitmap(Bmp(Bitmaps::BannerSmallBottomBg));
  background_.OnSetVisible(true);
  frame_.OnSetVisible(false);
  SetupText(Recording, Fonts::BannerDescription, kInactive);
  Recording.OnSetString(S(::NonMenuSystem::RECORDING_TEXT));
  Place(Recording, 10, 2, 200, 18);
  Place(GameIcon, 10, 21, 18, 18);
  SetupText(GameText, Fonts::BannerDescription, kInactive);
  Place(GameText, 32, 21, 180, 18);
  SetupText(ThreeDMode, Fonts::BannerDescription, kInactive);
  Place(ThreeDMode, 10, 40, 90, 18);
  SetupText(ThreeDFormat, Fonts::BannerDescription, kInactive);
  Place(ThreeDFormat, 100, 40, 110, 18);
  for (Core::View* v : std::initializer_list<Core::View*>{&Recording, &GameIcon, &GameText, &ThreeDMode, &ThreeDFormat})
    Add(v);
  OnSetBounds({0, 0, 219, 60});
  Refresh();
}

void BannerMiscInfo::LoadSettings() {
  SkinBin::Wrapper* w = Live::Skin();
  ::Wrapper::Wrapper* base = Live::Base();
  bool active = false;
  // Recording: a recording of what is on screen.
  bool recording = false;
  if (w && base && Live::LiveTVState(Live::CurrentTunerId()) == Constants::XPM_TV_STATE_RECORDING_LIVE_TV) {
    const int32_t type = base->GetSourceType(base->GetCurrentSource(0));
    recording = Live::IsTunerType(type);
  }
  Recording.OnSetColor(recording ? kActive : kInactive);
  active |= recording;
  const int32_t minutes = w ? w->OnGetRemainGameTime() : 0;
  if (w && w->OnGetGameTimerIndex() != 0 && minutes > 0) {
    GameText.OnSetString(Cat(Cat(S(::NonMenuSystem::GAME_TIMER_PREFIX), kv::NewStringInt(minutes, 0)),
                             S(::NonMenuSystem::GAME_TIMER_SUFFIX)));
    GameIcon.OnSetBitmap(Bmp(Bitmaps::BannerGameTimerActivated));
    GameText.OnSetColor(kActive);
    active = true;
  } else {
    GameText.OnSetString(S(::NonMenuSystem::GAME_TIMER_OFF));
    GameIcon.OnSetBitmap(Bmp(Bitmaps::BannerGameTimer));
    GameText.OnSetColor(kInactive);
  }
  const int32_t series = w ? w->OnGetSeriesType() : 0;
  if (!w || (series != 2 && series != 3)) {
    ThreeDMode.OnSetVisible(false);
    ThreeDFormat.OnSetVisible(false);
  } else {
    const SkinBin::Setup3D& s3 = w->Setup3D;
    bool on = true;
    switch (s3.State) {
      case 3: ThreeDMode.OnSetString(S(s3.Mode == 1 ? SID_2D_TO_3D : SID_3D)); break;
      case 4: ThreeDMode.OnSetString(S(SID_3D_TO_2D)); break;
      case 1: ThreeDMode.OnSetString(S(SID_3D)); break;
      default: ThreeDMode.OnSetString(S(SID_2D)); on = false; break;
    }
    ThreeDMode.OnSetColor(on ? kActive : kInactive);
    ThreeDFormat.OnSetColor(on ? kActive : kInactive);
    if (on) {
      switch (s3.Mode) {
        case 2: ThreeDFormat.OnSetString(S(SID_SIDE_BY_SIDE)); break;
        case 3: ThreeDFormat.OnSetString(S(SID_TOP_AND_BOTTOM)); break;
        case 5: case 6: ThreeDFormat.OnSetString(S(SID_FRAME_PACKING)); break;
        default: ThreeDFormat.OnSetColor(kInactive); break;
      }
    }
    active |= on;
  }
  OnSetVisible(active);
}

// --- InfoBanner ------------------------------------------------------------------------

InfoBanner::InfoBanner() {
  WinID = WinIDs::WIN_ID_InfoBanner;
  WidgetOrigin = {0, 0};
  OnSetBounds({0, 0, 960, 540});
  background_.OnSetColor({0, 0, 0, 0});
  background_.OnSetVisible(false);
  frame_.OnSetVisible(false);
  OnTimeOut = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::ExitSlot);
  refreshTimer_.OnTrigger = kv::MakeSlot(this, &InfoBanner::RefreshSlot);
  StartTimer();
}

InfoBanner::~InfoBanner() = default;

void InfoBanner::StartTimer() {
  refreshTimer_.OnSetBegin(kFirstRefresh);
  refreshTimer_.OnSetPeriod(kRefreshPeriod);
  refreshTimer_.OnSetEnabled(true);
}

void InfoBanner::ReInit() {
  WidgetClass::ReInit();
  StartTimer();
}

void InfoBanner::Initialize(Primitives::KeyRoutingParameter* param) {
  WidgetClass::Initialize(param);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Register(this);
  kv::Trace("%s%i", {T(::NonMenuSystem::T_INFO_BANNER), static_cast<int32_t>(WinID)});
}

void InfoBanner::OnSetInfoKeyPressed(bool on) {
  InfoKeyPressed = on;
  if (!on) PressCount = 0;
}

bool InfoBanner::OnGetIsEPGDisplayed() {
  ::Wrapper::Wrapper* base = Live::Base();
  if (!base || !Live::IsTunerType(base->GetSourceType(base->GetCurrentSource(0)))) return false;
  Structures::ChannelData* ch = base->GetCurrentChannelInfo();
  return ch && ch->IsDigital > 0;
}

int32_t InfoBanner::GetInfoType() {
  if (!InfoKeyPressed) return 1;
  ::Wrapper::Wrapper* base = Live::Base();
  if (!base) return 1;
  const int32_t t = base->GetSourceType(base->GetCurrentSource(0));
  if (Live::IsTunerType(t)) return OnGetIsEPGDisplayed() ? 3 : 1;
  if (t == 5 || t == 10) {
    SkinBin::Wrapper* w = Live::Skin();
    return w && w->OnGetHDMIInformationDisplay() ? 9 : 1;
  }
  return 1;
}

BannerForm* InfoBanner::CreateBannerForm(const kv::Class* cls) {
  auto* form = kv::Cast<BannerForm>(cls ? kv::NewObjectIndirect(cls, nullptr) : nullptr);
  if (!form) return nullptr;
  auto* param = kv::New<Primitives::KeyRoutingParameter>();
  param->Owner = this;
  form->Initialize(param);
  const kv::Rect b = form->Bounds();
  form->OnSetBounds({form->WidgetOrigin.x, form->WidgetOrigin.y, form->WidgetOrigin.x + b.W(),
                     form->WidgetOrigin.y + b.H()});
  form->Open();
  return form;
}

template <class F>
void InfoBanner::Keep(kv::Member<F>& form, bool wanted) {
  if (!wanted) {
    if (F* f = form.get()) f->Close();
    form = nullptr;
    return;
  }
  if (!form) form = kv::Cast<F>(CreateBannerForm(&F::StaticClass()));
  if (F* f = form.get()) f->LoadSettings();
}

void InfoBanner::LoadSettings() {
  const int32_t m = GetInfoType();
  if ((m & 1) && !basic_) basic_ = kv::Cast<BannerBasicInfo>(CreateBannerForm(&BannerBasicInfo::StaticClass()));
  if (BannerBasicInfo* b = basic_.get()) b->HasEPG = (m & 2) != 0;
  Keep(basic_, (m & 1) != 0);
  Keep(epg_, (m & 2) != 0);
  Keep(misc_, (m & 4) != 0);
  Keep(hdmi_, (m & 8) != 0);
  if (m & 2) OnSetTimeOutValue(kEPGTimeOut);
}

void InfoBanner::ProcessInfoKey() {
  InfoKeyPressed = true;
  const int32_t c = ++PressCount;
  if (OnGetIsEPGDisplayed()) {
    if (c < 3) {
      if (BannerEPGInfo* e = epg_.get()) e->EPGIndex = c - 1;
      LoadSettings();
    } else {
      Post(&WidgetClass::ExitSlot);
    }
  } else if (c < 2) {
    LoadSettings();
  } else {
    Post(&WidgetClass::ExitSlot);
  }
}

kv::Object* InfoBanner::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && key->Code == KEY_INFO && !OnGetIsEPGDisplayed()) {
    ProcessInfoKey();
    ResetTimeout();
    return this;
  }
  return WidgetClass::HandleEvent(event);
}

void InfoBanner::Close() {
  if (BannerBasicInfo* f = basic_.get()) f->Close();
  if (BannerEPGInfo* f = epg_.get()) f->Close();
  if (BannerMiscInfo* f = misc_.get()) f->Close();
  if (BannerHDMIInfo* f = hdmi_.get()) f->Close();
  basic_ = nullptr;
  epg_ = nullptr;
  misc_ = nullptr;
  hdmi_ = nullptr;
  refreshTimer_.OnSetEnabled(false);
  KeyRoutingForm::Close();
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->UnRegister(this);
}

}  // namespace NonMenuSystem
