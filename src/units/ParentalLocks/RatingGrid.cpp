#include "units/ParentalLocks/RatingGrid.h"

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "strings/ParentalLocks.h"
#include "strings/SkinBin.h"
#include "strings/Strings.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/ParentalLocks/RatingDialogs.h"
#include "units/ParentalLocks/RatingRules.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/Wrapper.h"

KV_REGISTER_CLASS(ParentalLocks::USARatings);

namespace ParentalLocks {

namespace {

using namespace keys;

constexpr int32_t kCell = 28;
constexpr int32_t kWholeWidth = 86;
constexpr int32_t kColFV = 90;
constexpr int32_t kColD = 122;
constexpr int32_t kColL = 154;
constexpr int32_t kColS = 186;
constexpr int32_t kColV = 218;

struct TVBox {
  bool child;
  int32_t level;
  int32_t content;
  const kv::MultiTextId* text;  // whole ratings only
  const kv::MultiTextId* help;
  int32_t x;
  int32_t y;
};

// In form order: the order the cascade walks.
const TVBox kTV[USARatings::kTVBoxes] = {
    {true, 1, kWholeRating, &Strings::SID_TV_RATING_TV_Y, &Strings::SID_RATING_TV_Y_INFO, 0, 26},
    {true, 2, kWholeRating, &Strings::SID_TV_RATING_TV_Y7, &Strings::SID_RATING_TV_Y7_INFO, 0, 58},
    {true, 2, kFV, nullptr, &Strings::SID_RATING_FV_INFO, kColFV, 58},
    {false, 2, kWholeRating, &Strings::SID_TV_RATING_TV_G, &Strings::SID_RATING_TV_G_INFO, 0, 90},
    {false, 3, kWholeRating, &Strings::SID_TV_RATING_TV_PG, &Strings::SID_RATING_TV_PG_INFO, 0, 122},
    {false, 3, kL, nullptr, &Strings::SID_RATING_L_INFO, kColL, 122},
    {false, 3, kS, nullptr, &Strings::SID_RATING_S_INFO, kColS, 122},
    {false, 3, kV, nullptr, &Strings::SID_RATING_V_INFO, kColV, 122},
    {false, 3, kD, nullptr, &Strings::SID_RATING_D_INFO, kColD, 122},
    {false, 4, kWholeRating, &Strings::SID_TV_RATING_14, &Strings::SID_RATING_TV_14_INFO, 0, 154},
    {false, 4, kL, nullptr, &Strings::SID_RATING_L_INFO, kColL, 154},
    {false, 4, kS, nullptr, &Strings::SID_RATING_S_INFO, kColS, 154},
    {false, 4, kV, nullptr, &Strings::SID_RATING_V_INFO, kColV, 154},
    {false, 4, kD, nullptr, &Strings::SID_RATING_D_INFO, kColD, 154},
    {false, 5, kWholeRating, &Strings::SID_TV_RATING_TV_MA, &Strings::SID_RATING_TV_MA_INFO, 0, 186},
    {false, 5, kL, nullptr, &Strings::SID_RATING_L_INFO, kColL, 186},
    {false, 5, kS, nullptr, &Strings::SID_RATING_S_INFO, kColS, 186},
    {false, 5, kV, nullptr, &Strings::SID_RATING_V_INFO, kColV, 186},
};
enum TVIndex { kTVY = 0, kTVY7FV = 2, kTVG = 3, kTVPG = 4, kTV14 = 9, kTV14D = 13, kTVMA = 14, kTVMAL = 15 };

// The cells without a descriptor.
constexpr kv::Point kPlaceholderCells[USARatings::kPlaceholders] = {
    {kColFV, 26}, {kColD, 26}, {kColL, 26}, {kColS, 26}, {kColV, 26}, {kColD, 58},  {kColL, 58},
    {kColS, 58},  {kColV, 58}, {kColFV, 90}, {kColD, 90}, {kColL, 90}, {kColS, 90}, {kColV, 90},
    {kColFV, 122}, {kColFV, 154}, {kColFV, 186}, {kColD, 186}};

struct MovieBox {
  const kv::MultiTextId* text;
  const kv::MultiTextId* help;
};
const MovieBox kMovies[USARatings::kMovieBoxes] = {
    {&Strings::SID_RATING_G, &Strings::SID_RATING_MPAA_G_INFO},
    {&Strings::SID_RATING_PG, &Strings::SID_RATING_MPAA_PG_INFO},
    {&Strings::SID_RATING_PG13, &Strings::SID_RATING_MPAA_PG_13_INFO},
    {&Strings::SID_RATING_R, &Strings::SID_RATING_MPAA_R_INFO},
    {&Strings::SID_RATING_NC17, &Strings::SID_RATING_MPAA_NC_17_INFO},
    {&Strings::SID_RATING_X, &Strings::SID_RATING_MPAA_X_INFO}};
enum MovieIndex { kMovieG = 0, kMoviePG = 1, kMoviePG13 = 2, kMovieR = 3, kMovieX = 5 };
constexpr int32_t kMovieX1 = 268;
constexpr int32_t kMovieX2 = 354;

struct ButtonDef {
  const kv::MultiTextId* text;
  const kv::MultiTextId* help;
  int32_t y;
};
const ButtonDef kButtonDefs[USARatings::kButtons] = {
    {&Strings::SID_CHILDREN, &Strings::SID_RATING_BTN_CHILDREN_INFO, 26},
    {&Strings::SID_YOUTH, &Strings::SID_RATING_BTN_YOUNG_ADULTS_INFO, 58},
    {&Strings::SID_ALT_RS, &Strings::SID_EDIT_ALTERNATE_RATINGS, 154},
    {&Strings::SID_DONE, nullptr, 186},
    {&Strings::SID_RESET, nullptr, 218}};
constexpr int32_t kButtonX1 = 381;
constexpr int32_t kButtonX2 = 481;

kv::String Text(const kv::MultiTextId& id) { return kv::GetVariantOfString(id); }

Wrapper::Wrapper* TheWrapper() { return kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper); }
SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(TheWrapper()); }

void SetUpHeading(Views::Text& t, const kv::String& s, int32_t x, int32_t w) {
  t.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  t.OnSetColor(Colors::TitleTextColor);
  t.OnSetAlignH(0);
  t.OnSetAlignV(1);
  t.OnSetString(s);
  t.OnSetBounds({x, 3, x + w, 23});
}

}  // namespace

USARatings::USARatings() {
  OnSetBounds({0, 0, 493, 248});
  none_.OnSetBounds({0, 218, kMovieX2, 246});
  none_.OnSetText(Text(Strings::SID_NONE_RATING));
  none_.HelpString = Text(Strings::SID_RATING_NONE_INFO);
  none_.OnActivate = kv::MakeSlot(this, &USARatings::ToggleNoneRating);
  Add(&none_);
  for (int32_t i = 0; i < kTVBoxes; ++i) {
    const TVBox& t = kTV[i];
    TVRatingItem& b = tv_[i];
    b.IsChildRating = t.child;
    b.AgeRating = t.level;
    b.ContentRating = t.content;
    b.OnSetBounds({t.x, t.y, t.x + (t.text ? kWholeWidth : kCell), t.y + kCell});
    if (t.text) b.OnSetText(Text(*t.text));
    b.HelpString = Text(*t.help);
    b.OnActivate = kv::MakeSlot(this, &USARatings::ToggleTVRating);
    Add(&b);
  }
  SetUpHeading(heads_[0], Text(Strings::SID_TV_VCHIP), 5, 240);
  SetUpHeading(heads_[1], Text(Strings::SID_MOVIES), 285, 90);
  const kv::TextId columns[5] = {HEAD_FV, HEAD_D, HEAD_L, HEAD_S, HEAD_V};
  const int32_t xs[5] = {kColFV, kColD, kColL, kColS, kColV};
  for (int32_t c = 0; c < 5; ++c) {
    SetUpHeading(heads_[2 + c], kv::LoadString(columns[c]), xs[c], kCell);
    heads_[2 + c].OnSetAlignH(1);  // centred over the column's boxes
  }
  // The column headings sit over the first row of boxes: the TV heading ends before them.
  heads_[0].OnSetBounds({5, 3, kColFV - 2, 23});
  for (Views::Text& h : heads_) Add(&h);
  for (int32_t i = 0; i < kPlaceholders; ++i) {
    RatingItem& p = placeholders_[i];
    const kv::Point at = kPlaceholderCells[i];
    p.OnSetBounds({at.x, at.y, at.x + kCell, at.y + kCell});
    p.OnSetIsDisabled(true);
    p.OnSetEnabled(false);
    Add(&p);
  }
  for (int32_t i = 0; i < kMovieBoxes; ++i) {
    MPAARatingItem& m = movie_[i];
    m.MPAARating = i + 2;
    const int32_t y = 26 + 32 * i;
    m.OnSetBounds({kMovieX1, y, kMovieX2, y + kCell});
    m.OnSetText(Text(*kMovies[i].text));
    m.HelpString = Text(*kMovies[i].help);
    m.OnActivate = kv::MakeSlot(this, &USARatings::ToggleMPAARating);
    Add(&m);
  }
  for (int32_t i = 0; i < kButtons; ++i) {
    SkinBin::Button& b = buttons_[i];
    const ButtonDef& s = kButtonDefs[i];
    b.OnSetBounds({kButtonX1, s.y, kButtonX2, s.y + kCell});
    b.OnSetText(Text(*s.text));
    if (s.help) b.HelpString = Text(*s.help);
    b.OnActivate = kv::MakeSlot(this, &USARatings::SelectButton);
    Add(&b);
  }
  OnSetFocus(&tv_[kTVY]);
}

void USARatings::Initialize(Primitives::KeyRoutingParameter* param) {
  KeyRoutingForm::Initialize(param);
  ReloadTVRating();
  ReloadMPAARating();
  bool alternate = false;
  SkinBin::Wrapper* skin = Skin();
  const int32_t region =
      kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData)->GetInteger(SkinBin::KEY_RATING_REGION);
  if (skin && region != 0) {
    skin->DynamicRatingData.SetRegionDimension(region, 0);
    skin->DynamicRatingData.GetRegionInfo();
    alternate = skin->DynamicRatingData.RegionValid != 0 && skin->DynamicRatingData.DimensionCount >= 1;
  }
  buttons_[kAlternate].OnSetVisible(alternate);
  buttons_[kAlternate].OnSetEnabled(alternate);
  Moved();
}

void USARatings::ReloadTVRating() {
  for (TVRatingItem& b : tv_) b.OnSetIsChecked(GetTVRatingStatus(b.IsChildRating, b.AgeRating, b.ContentRating));
  SkinBin::Wrapper* skin = Skin();
  none_.OnSetIsChecked(skin && skin->GetNoneRating());
}

void USARatings::ReloadMPAARating() {
  for (MPAARatingItem& m : movie_) m.OnSetIsChecked(TheWrapper()->GetUsMovieRating(m.MPAARating) != 0);
}

bool USARatings::ApplyTVRating() {
  bool refused = false;
  for (TVRatingItem& b : tv_) {
    const bool checked = b.OnGetIsChecked();
    if (GetTVRatingStatus(b.IsChildRating, b.AgeRating, b.ContentRating) == checked) continue;
    if (!SetTVRatingStatus(b.IsChildRating, b.AgeRating, b.ContentRating, checked)) refused = true;
  }
  if (SkinBin::Wrapper* skin = Skin(); skin && skin->GetNoneRating() != none_.OnGetIsChecked()) {
    skin->SetNoneRating(none_.OnGetIsChecked());
    if (skin->GetNoneRating() != none_.OnGetIsChecked()) refused = true;
  }
  return !refused;
}

bool USARatings::ApplyMPAARating() {
  bool refused = false;
  Wrapper::Wrapper* w = TheWrapper();
  for (MPAARatingItem& m : movie_) {
    const bool checked = m.OnGetIsChecked();
    if ((w->GetUsMovieRating(m.MPAARating) != 0) == checked) continue;
    if (w->SetUsMovieRating(static_cast<uint32_t>(m.MPAARating), checked, true) != 0) refused = true;
  }
  return !refused;
}

void USARatings::SetTV(int32_t i, bool checked) {
  tv_[i].OnSetIsChecked(checked);
  CascadeTV(tv_, kTVBoxes, i);
}

void USARatings::SetMovie(int32_t i, bool checked) {
  movie_[i].OnSetIsChecked(checked);
  CascadeScale(movie_, kMovieBoxes, i);
}

void USARatings::ToggleTVRating(kv::Object* sender) {
  for (int32_t i = 0; i < kTVBoxes; ++i)
    if (sender == &tv_[i]) CascadeTV(tv_, kTVBoxes, i);
  Moved();
}

void USARatings::ToggleMPAARating(kv::Object* sender) {
  for (int32_t i = 0; i < kMovieBoxes; ++i)
    if (sender == &movie_[i]) CascadeScale(movie_, kMovieBoxes, i);
  Moved();
}

// The not-rated box stands alone: its toggle touches no other box.
void USARatings::ToggleNoneRating(kv::Object* /*sender*/) { Moved(); }

void USARatings::ApplyPreset(bool children) {
  if (children) {
    SetTV(1, false);  // TV-Y7
    SetTV(kTVY7FV, true);
    SetTV(kTVG, true);
    none_.OnSetIsChecked(true);
    SetMovie(kMovieG, false);
    SetMovie(kMoviePG, true);
  } else {
    SetTV(kTVPG, false);
    SetTV(kTV14, true);
    none_.OnSetIsChecked(true);
    SetMovie(kMoviePG13, false);
    SetMovie(kMovieR, true);
  }
}

void USARatings::SelectButton(kv::Object* sender) {
  if (sender == &buttons_[kChildren]) {
    ApplyPreset(true);
  } else if (sender == &buttons_[kYouth]) {
    ApplyPreset(false);
  } else if (sender == &buttons_[kAlternate]) {
    kv::Signal(OnTriggerRRT, this);
  } else if (sender == &buttons_[kDone]) {
    // Both tables are written; a refused write (the display locked) leaves
    // the boxes showing what the set holds rather than the viewer's wish.
    const bool tv = ApplyTVRating();
    const bool movies = ApplyMPAARating();
    if (!tv || !movies) {
      LogRatingRefused();
      ReloadTVRating();
      ReloadMPAARating();
    }
  } else if (sender == &buttons_[kReset]) {
    kv::Signal(OnReset, this);
  }
  Moved();
}

kv::String USARatings::GetButtonHelp() {
  Core::View* focus = OnGetFocus();
  if (auto* item = kv::Cast<RatingItem>(focus)) return item->HelpString;
  if (auto* button = kv::Cast<SkinBin::Button>(focus)) return button->HelpString;
  return {};
}

kv::Object* USARatings::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down || !MoveFocusByArrow(this, key->Code)) return KeyRoutingForm::HandleEvent(event);
  Moved();
  return this;
}

Forms::Ctrl* USARatings::Override(int32_t key) {
  Core::View* f = OnGetFocus();
  switch (key) {
    case KEY_DOWN:
      if (f == &tv_[kTVY7FV] || f == &tv_[kTV14D] || f == &movie_[kMovieX]) return &none_;
      break;
    case KEY_UP:
      if (f == &none_) return &tv_[kTVMA];
      break;
    case KEY_LEFT:
      if (f == &movie_[kMovieG]) return &tv_[kTVY];
      if (f == &movie_[kMoviePG]) return &tv_[kTVY7FV];
      if (f == &movie_[kMoviePG13]) return &tv_[kTVG];
      if (f == &tv_[kTVMAL]) return &tv_[kTVMA];
      break;
    case KEY_RIGHT:
      if (f == &tv_[kTVY]) return &movie_[kMovieG];
      if (f == &tv_[kTVY7FV]) return &movie_[kMoviePG];
      if (f == &tv_[kTVG]) return &movie_[kMoviePG13];
      if (f == &tv_[kTVMA]) return &tv_[kTVMAL];
      break;
    default:
      break;
  }
  return nullptr;
}

Forms::Ctrl* USARatings::SelectUpper() {
  if (Forms::Ctrl* to = Override(KEY_UP)) {
    OnSetFocus(to);
    return to;
  }
  return KeyRoutingForm::SelectUpper();
}

Forms::Ctrl* USARatings::SelectLower() {
  if (Forms::Ctrl* to = Override(KEY_DOWN)) {
    OnSetFocus(to);
    return to;
  }
  return KeyRoutingForm::SelectLower();
}

Forms::Ctrl* USARatings::SelectLeft() {
  if (Forms::Ctrl* to = Override(KEY_LEFT)) {
    OnSetFocus(to);
    return to;
  }
  return KeyRoutingForm::SelectLeft();
}

Forms::Ctrl* USARatings::SelectRight() {
  if (Forms::Ctrl* to = Override(KEY_RIGHT)) {
    OnSetFocus(to);
    return to;
  }
  return KeyRoutingForm::SelectRight();
}

}  // namespace ParentalLocks
