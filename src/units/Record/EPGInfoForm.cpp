#include "units/Record/EPGInfoForm.h"

#include <algorithm>
#include <initializer_list>

#include "runtime/text.h"
#include "strings/Strings.h"
#include "units/Bitmaps/BannerBitmaps.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Channels/GuideTexts.h"
#include "units/Colors/Colors.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/InfoBanner.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/Resources/Resources.h"
#include "units/Views/Align.h"

KV_REGISTER_CLASS(Record::EPGInfoForm);

namespace Record {

namespace {

void Place(Core::View& v, int32_t x, int32_t y, int32_t w, int32_t h) { v.OnSetBounds({x, y, x + w, y + h}); }

void SetupText(Views::Text& t, const Resources::FontId& font) {
  t.OnSetFont(Resources::LoadResource(font));
  t.OnSetColor(Colors::StandardTextColor);
  t.OnSetAlignV(Views::ALIGN_CENTER);
  t.OnSetEllipsis(true);
}

}  // namespace

EPGInfoForm::EPGInfoForm() {
  OnSetTimeOutValue(0);
  background_.OnSetBitmap(Resources::LoadResource(Bitmaps::MiniGuideBackground));
  Add(&background_);
  SetupText(TimeSpan, Fonts::EPGListFont);
  SetupText(TitleText, Fonts::EPGListFont);
  Description.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  Description.OnSetColor(Colors::StandardTextColor);
  line1_.OnSetColor(Colors::StandardTextColor);
  line2_.OnSetColor(Colors::StandardTextColor);
  Dolby.OnSetBitmap(Resources::LoadResource(Bitmaps::BannerDolbyDigital));
  SetupText(RatingText, Fonts::BannerBasicInfo);
  Caption.OnSetBitmap(Resources::LoadResource(Bitmaps::BannerCC));
  for (Core::View* v :
       std::initializer_list<Core::View*>{&TimeSpan, &TitleText, &line1_, &Description, &line2_, &Dolby, &Caption, &RatingText})
    Add(v);
  legend_.Build(*this,
                {{&Bitmaps::HelpBarUpDown, &Strings::SID_SELECT},
                 {&Bitmaps::HelpBarRedBall, &Strings::SID_DELETE},
                 {&Bitmaps::HelpBarPageUp, &Strings::SID_PAGE},
                 {&Bitmaps::HelpBarPageDown, &Strings::SID_PAGE},
                 {&Bitmaps::HelpBarExit, &Strings::SID_EXIT},
                 {&Bitmaps::HelpBarOk, &Strings::SID_UPDATE}},
                14, kHeight - 28);
  KeyRoutingForm::OnSetBounds({0, 0, kWidth, kHeight});
  Refresh();
  HideAllInfo();
}

EPGInfoForm::~EPGInfoForm() = default;

void EPGInfoForm::OnSetBounds(kv::Rect bounds) {
  KeyRoutingForm::OnSetBounds(bounds);
  Refresh();
}

void EPGInfoForm::Refresh() {
  const int32_t w = Bounds().W();
  const int32_t h = Bounds().H();
  background_.OnSetBounds({0, 0, w, h});
  Place(TitleText, 14, 6, w - 28, 26);
  Place(TimeSpan, 14, 32, 220, 22);
  Place(Dolby, 240, 34, 36, 18);
  Place(Caption, 280, 34, 36, 18);
  Place(RatingText, 320, 32, std::max(0, w - 334), 22);
  Place(line1_, 14, 58, w - 28, 1);
  Place(Description, 14, 62, std::max(0, w - 28), std::max(0, h - 100));
  // The legend stays at the bottom of the pane.
  Place(line2_, 14, h - 34, w - 28, 1);
  KeyRoutingForm::Refresh();
}

void EPGInfoForm::OnSetTitle(const kv::String& text) {
  Title = text;
  TitleText.OnSetString(text);
}

void EPGInfoForm::OnSetDescriptionText(const kv::String& text) {
  DescriptionText = text;
  Description.OnSetString(text);
}

void EPGInfoForm::OnSetStartTime(Structures::LocalTime* time) {
  StartTime = time;
  TimeSpan.OnSetString(Channels::TimeSpanText(time, Duration));
}

void EPGInfoForm::HideAllInfo() {
  for (Core::View* v : std::initializer_list<Core::View*>{&Dolby, &Caption, &RatingText, &TimeSpan, &TitleText, &Description})
    v->OnSetVisible(false);
}

void EPGInfoForm::UpdateBanner() {
  HideAllInfo();
  TimeSpan.OnSetVisible(true);
  TitleText.OnSetVisible(true);
  Description.OnSetVisible(true);
  Caption.OnSetVisible(CaptionFlag);
  if (Rating != 0) {
    // The TV and movie parts of the US word; a recording keeps no Canadian rating.
    RatingText.OnSetString(NonMenuSystem::RatingText(NonMenuSystem::Live::Skin(), Rating, 0));
    RatingText.OnSetVisible(true);
  }
}

}  // namespace Record
