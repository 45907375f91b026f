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

EPGInfoForm::EPGInfoForm() : ProgrammePane(Bitmaps::MiniGuideBackground) {
  Dolby.OnSetBitmap(Resources::LoadResource(Bitmaps::BannerDolbyDigital));
  SetupText(RatingText, Fonts::BannerBasicInfo);
  Caption.OnSetBitmap(Resources::LoadResource(Bitmaps::BannerCC));
  for (Core::View* v : std::initializer_list<Core::View*>{&Dolby, &Caption, &RatingText}) Add(v);
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

void EPGInfoForm::Refresh() {
  PlaceTexts();
  const int32_t w = Bounds().W();
  // The badges shown and the rating follow the time span's text.
  const int32_t x = PlaceBadges({&Dolby, &Caption});
  Place(RatingText, x, 32, std::max(0, w - 14 - x), 22);
  KeyRoutingForm::Refresh();
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
  Refresh();
}

}  // namespace Record
