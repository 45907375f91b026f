#include "units/ParentalLocks/RatingDialogs.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/trace.h"
#include "strings/ParentalLocks.h"
#include "strings/Strings.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/ParentalLocks/RatingRules.h"
#include "units/Resources/Font.h"
#include "units/Resources/Resources.h"
#include "units/Wrapper/Wrapper.h"

KV_REGISTER_CLASS(ParentalLocks::USTVRatingsDialog);
KV_REGISTER_CLASS(ParentalLocks::USMovieRatingsDialog);
KV_REGISTER_CLASS(ParentalLocks::CANRatingsDialog);
KV_REGISTER_CLASS(ParentalLocks::CANEnglishRatingsDialog);
KV_REGISTER_CLASS(ParentalLocks::CANFrenchRatingsDialog);

namespace ParentalLocks {

namespace {

using namespace keys;

struct TVBox {
  bool child;
  int32_t level;
  int32_t content;
  int32_t x;
  int32_t y;
};

// In form order: the order the cascade walks.
constexpr TVBox kTVBoxes[USTVRatingsDialog::kBoxes] = {
    {true, 1, kWholeRating, 86, 76},   {true, 2, kWholeRating, 86, 116},  {true, 2, kFV, 126, 116},
    {false, 2, kWholeRating, 86, 156}, {false, 3, kWholeRating, 86, 196}, {false, 3, kD, 166, 196},
    {false, 3, kL, 206, 196},          {false, 3, kS, 246, 196},          {false, 3, kV, 286, 196},
    {false, 4, kWholeRating, 86, 236}, {false, 4, kD, 166, 236},          {false, 4, kL, 206, 236},
    {false, 4, kS, 246, 236},          {false, 4, kV, 286, 236},          {false, 5, kWholeRating, 86, 276},
    {false, 5, kL, 206, 276},          {false, 5, kS, 246, 276},          {false, 5, kV, 286, 276},
};
constexpr int32_t kBoxSize = 32;
constexpr int32_t kRowHeadX = 26;
// The least room between a row heading and its row's first box.
constexpr int32_t kHeadGap = 5;
constexpr int32_t kColumnHeadY = 46;

const kv::MultiTextId* const kRowHeads[6] = {&Strings::SID_TV_RATING_TV_Y,  &Strings::SID_TV_RATING_TV_Y7,
                                             &Strings::SID_TV_RATING_TV_G,  &Strings::SID_TV_RATING_TV_PG,
                                             &Strings::SID_TV_RATING_14,    &Strings::SID_TV_RATING_TV_MA};
const kv::TextId kColumnHeads[5] = {HEAD_FV, HEAD_D, HEAD_L, HEAD_S, HEAD_V};

// The scales' column of boxes.
constexpr int32_t kScaleX = 66;
constexpr int32_t kScaleTop = 56;
constexpr int32_t kScaleStep = 40;

const kv::MultiTextId* const kMovieTexts[USMovieRatingsDialog::kBoxes] = {
    &Strings::SID_RATING_G, &Strings::SID_RATING_PG,   &Strings::SID_RATING_PG13,
    &Strings::SID_RATING_R, &Strings::SID_RATING_NC17, &Strings::SID_RATING_X};
const kv::TextId kCanadianTexts[2][CANRatingsDialog::kMaxBoxes] = {
    {CAN_EN_1, CAN_EN_2, CAN_EN_3, CAN_EN_4, CAN_EN_5, CAN_EN_6},
    {CAN_FR_1, CAN_FR_2, CAN_FR_3, CAN_FR_4, CAN_FR_5, CAN_FR_5}};

Wrapper::Wrapper* TheWrapper() { return kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper); }

void SetUpText(Views::Text& t, const kv::String& s, const kv::Rect& r) {
  t.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  t.OnSetColor(Colors::StandardTextColor);
  t.OnSetAlignH(0);
  t.OnSetAlignV(1);
  t.OnSetString(s);
  t.OnSetBounds(r);
}

// Up and down through a scale's boxes, wrapping round; true when taken.
template <typename Box>
bool MoveInScale(Forms::Form& form, Box* boxes, int32_t count, uint16_t code) {
  if (code != KEY_UP && code != KEY_DOWN) return false;
  int32_t at = 0;
  for (int32_t i = 0; i < count; ++i)
    if (form.OnGetFocus() == &boxes[i]) at = i;
  form.OnSetFocus(&boxes[code == KEY_UP ? (at + count - 1) % count : (at + 1) % count]);
  return true;
}

void ScaleLayout(NonMenuSystem::KXDWidgetClass& d, KXDRatingItem* boxes, int32_t count, int32_t w, int32_t h,
                 int32_t boxW) {
  d.OnSetFrameWidth(0);
  d.OnSetBounds({0, 0, w, h});
  for (int32_t i = 0; i < count; ++i) {
    const int32_t y = kScaleTop + i * kScaleStep;
    boxes[i].OnSetBounds({kScaleX, y, kScaleX + boxW, y + kBoxSize});
    d.Add(&boxes[i]);
  }
  d.OnSetFocus(&boxes[0]);
  d.PrevState = KV_LATE_CLASS("MenuSystem::VidiRatingsLocksMenu");
  d.OnSetIsShortcut(true);
}

}  // namespace

bool GetTVRatingStatus(bool isChild, int32_t level, int32_t content) {
  const int32_t c = content == kWholeRating ? 1 : content;
  Wrapper::Wrapper* w = TheWrapper();
  return (isChild ? w->GetUsChildRating(level, c) : w->GetUsAgeRating(level, c)) != 0;
}

bool SetTVRatingStatus(bool isChild, int32_t level, int32_t content, bool blocked) {
  Wrapper::Wrapper* w = TheWrapper();
  const auto l = static_cast<uint32_t>(level);
  const auto c = static_cast<uint32_t>(content);
  int32_t result = 0;
  if (isChild) {
    result = w->SetUsChildRating(l, c, blocked, true);
    // Blocking a children's rating blocks TV-G as well.
    if (blocked && content == kWholeRating) result |= w->SetUsAgeRating(2, kWholeRating, true, true);
  } else {
    result = w->SetUsAgeRating(l, c, blocked, true);
    // Opening an age rating opens TV-Y7 as well.
    if (!blocked && content == kWholeRating) result |= w->SetUsChildRating(2, kWholeRating, false, true);
  }
  return result == 0;
}

void LogRatingRefused() { kv::Trace("%s", {kv::LoadString(T_RATING_REFUSED)}); }

// --- US TV ------------------------------------------------------------------------------

USTVRatingsDialog::USTVRatingsDialog() {
  OnSetFrameWidth(0);
  OnSetBounds({0, 0, 410, 400});
  OnSetCaption(kv::GetVariantOfString(Strings::RatingLocksMenuUSATV));
  PrevState = KV_LATE_CLASS("MenuSystem::VidiRatingsLocksMenu");
  IsShortcut = true;
  int32_t row = 0;
  for (int32_t i = 0; i < kBoxes; ++i) {
    const TVBox& t = kTVBoxes[i];
    KXDTVRatingItem& b = boxes_[i];
    b.IsChildRating = t.child;
    b.AgeRating = t.level;
    b.ContentRating = t.content;
    b.OnSetBounds({t.x, t.y, t.x + kBoxSize, t.y + kBoxSize});
    b.OnActivate = kv::MakeSlot(this, &USTVRatingsDialog::ToggleTVRating);
    if (t.content == kWholeRating) {
      SetUpText(rowHeads_[row], kv::GetVariantOfString(*kRowHeads[row]), {kRowHeadX, t.y, t.x - 2, t.y + kBoxSize});
      Add(&rowHeads_[row]);
      ++row;
    }
  }
  // The six headings share one size: the medium font, or a size smaller
  // when the widest would come nearer than kHeadGap to its row's box.
  int32_t widest = 0;
  for (Views::Text& h : rowHeads_) widest = std::max(widest, h.OnGetFont()->GetTextWidth(h.OnGetString()));
  if (widest > kTVBoxes[0].x - kHeadGap - kRowHeadX)
    for (Views::Text& h : rowHeads_) h.OnSetFont(Resources::LoadResource(Fonts::EPGListFont0));
  const int32_t columns[5] = {126, 166, 206, 246, 286};
  for (int32_t c = 0; c < 5; ++c) {
    const int32_t x = columns[c] + 10;
    // Each heading's top at y 46, between the caption's line and the first boxes.
    SetUpText(columnHeads_[c], kv::LoadString(kColumnHeads[c]), {x, kColumnHeadY, x + 30, kColumnHeadY + 24});
    Add(&columnHeads_[c]);
  }
  for (KXDTVRatingItem& b : boxes_) Add(&b);
  OnSetFocus(&boxes_[0]);
}

void USTVRatingsDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  ReloadTVRating();
}

void USTVRatingsDialog::ReloadTVRating() {
  for (KXDTVRatingItem& b : boxes_) b.OnSetIsChecked(GetRatingStatus(b.IsChildRating, b.AgeRating, b.ContentRating));
}

bool USTVRatingsDialog::GetRatingStatus(bool isChild, int32_t level, int32_t content) {
  return GetTVRatingStatus(isChild, level, content);
}

bool USTVRatingsDialog::SetRatingStatus(bool isChild, int32_t level, int32_t content, bool blocked) {
  return SetTVRatingStatus(isChild, level, content, blocked);
}

void USTVRatingsDialog::ToggleTVRating(kv::Object* sender) {
  if (auto* item = kv::Cast<KXDTVRatingItem>(sender); item && IndexOf(item) >= 0) {
    UpdateRelatedItem(item);
    ApplyTVRating();
  }
  ResetTimeout();
}

int32_t USTVRatingsDialog::IndexOf(const Core::View* c) const {
  for (int32_t i = 0; i < kBoxes; ++i)
    if (c == &boxes_[i]) return i;
  return -1;
}

void USTVRatingsDialog::UpdateRelatedItem(KXDTVRatingItem* item) {
  if (const int32_t at = IndexOf(item); at >= 0) CascadeTV(boxes_, kBoxes, at);
}

void USTVRatingsDialog::ApplyTVRating() {
  bool refused = false;
  for (KXDTVRatingItem& b : boxes_) {
    const bool checked = b.OnGetIsChecked();
    if (GetRatingStatus(b.IsChildRating, b.AgeRating, b.ContentRating) == checked) continue;
    if (!SetRatingStatus(b.IsChildRating, b.AgeRating, b.ContentRating, checked)) refused = true;
  }
  if (!refused) return;
  LogRatingRefused();
  ReloadTVRating();
}

bool MoveFocusByArrow(Forms::Form* form, int32_t code) {
  switch (code) {
    case KEY_UP:
      form->SelectUpper();
      return true;
    case KEY_DOWN:
      form->SelectLower();
      return true;
    case KEY_LEFT:
      form->SelectLeft();
      return true;
    case KEY_RIGHT:
      form->SelectRight();
      return true;
    default:
      return false;
  }
}

kv::Object* USTVRatingsDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return KXDWidgetClass::HandleEvent(event);
  if (!MoveFocusByArrow(this, key->Code)) return KXDWidgetClass::HandleEvent(event);
  ResetTimeout();
  return this;
}

Forms::Ctrl* USTVRatingsDialog::SelectLower() {
  switch (IndexOf(OnGetFocus())) {
    case 10:  // TV-14 D: nothing below it in its column
      return nullptr;
    case 2:  // TV-Y7 FV
      OnSetFocus(&boxes_[5]);
      return &boxes_[5];
    default:
      return KXDWidgetClass::SelectLower();
  }
}

Forms::Ctrl* USTVRatingsDialog::SelectLeft() {
  if (IndexOf(OnGetFocus()) == 15) {  // TV-MA L
    OnSetFocus(&boxes_[14]);
    return &boxes_[14];
  }
  return KXDWidgetClass::SelectLeft();
}

Forms::Ctrl* USTVRatingsDialog::SelectRight() {
  switch (IndexOf(OnGetFocus())) {
    case 0:  // TV-Y, TV-Y7 FV and TV-G end their rows
    case 2:
    case 3:
      return nullptr;
    case 14:  // TV-MA has no D: on to its L
      OnSetFocus(&boxes_[15]);
      return &boxes_[15];
    default:
      return KXDWidgetClass::SelectRight();
  }
}

// --- US movie ---------------------------------------------------------------------------

USMovieRatingsDialog::USMovieRatingsDialog() {
  OnSetCaption(kv::GetVariantOfString(Strings::RatingLocksMenuUSAMovie));
  for (int32_t i = 0; i < kBoxes; ++i) {
    boxes_[i].MPAARating = i + 2;
    boxes_[i].OnSetText(kv::GetVariantOfString(*kMovieTexts[i]));
    boxes_[i].OnActivate = kv::MakeSlot(this, &USMovieRatingsDialog::ToggleMPAARating);
  }
  ScaleLayout(*this, boxes_, kBoxes, 290, 380, 86);
}

void USMovieRatingsDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  ReloadMPAARating();
}

void USMovieRatingsDialog::ReloadMPAARating() {
  for (KXDMPAARatingItem& b : boxes_) b.OnSetIsChecked(TheWrapper()->GetUsMovieRating(b.MPAARating) != 0);
}

void USMovieRatingsDialog::ToggleMPAARating(kv::Object* sender) {
  for (int32_t i = 0; i < kBoxes; ++i) {
    if (sender != &boxes_[i]) continue;
    CascadeScale(boxes_, kBoxes, i);
    ApplyMPAARating();
  }
  ResetTimeout();
}

void USMovieRatingsDialog::ApplyMPAARating() {
  bool refused = false;
  Wrapper::Wrapper* w = TheWrapper();
  for (KXDMPAARatingItem& b : boxes_) {
    const bool checked = b.OnGetIsChecked();
    if ((w->GetUsMovieRating(b.MPAARating) != 0) == checked) continue;
    if (w->SetUsMovieRating(static_cast<uint32_t>(b.MPAARating), checked, true) != 0) refused = true;
  }
  if (!refused) return;
  LogRatingRefused();
  ReloadMPAARating();
}

kv::Object* USMovieRatingsDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down || !MoveInScale(*this, boxes_, kBoxes, key->Code)) return KXDWidgetClass::HandleEvent(event);
  ResetTimeout();
  return this;
}

// --- Canadian ---------------------------------------------------------------------------

CANRatingsDialog::CANRatingsDialog(int32_t system) : system_(system == 1 ? 1 : 0), count_(system_ == 1 ? 5 : 6) {
  OnSetCaption(
      kv::GetVariantOfString(system_ == 1 ? Strings::RatingLocksMenuCANFrench : Strings::RatingLocksMenuCANEnglish));
  for (int32_t i = 0; i < count_; ++i) {
    boxes_[i].OnSetText(kv::LoadString(kCanadianTexts[system_][i]));
    boxes_[i].OnActivate = kv::MakeSlot(this, &CANRatingsDialog::ToggleRating);
  }
  ScaleLayout(*this, boxes_, count_, 290, system_ == 1 ? 340 : 380, system_ == 1 ? 100 : 86);
}

void CANRatingsDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  ReloadRating();
}

void CANRatingsDialog::ReloadRating() {
  // A box's level is its place in the column, the first being level 1.
  for (int32_t i = 0; i < count_; ++i) boxes_[i].OnSetIsChecked(TheWrapper()->GetCanadaLevel(system_, i + 1) != 0);
}

void CANRatingsDialog::ToggleRating(kv::Object* sender) {
  for (int32_t i = 0; i < count_; ++i) {
    if (sender != &boxes_[i]) continue;
    CascadeScale(boxes_, count_, i);
    ApplyRating();
  }
  ResetTimeout();
}

void CANRatingsDialog::ApplyRating() {
  bool refused = false;
  Wrapper::Wrapper* w = TheWrapper();
  for (int32_t i = 0; i < count_; ++i) {
    const bool checked = boxes_[i].OnGetIsChecked();
    if ((w->GetCanadaLevel(system_, i + 1) != 0) == checked) continue;
    if (w->SetCanadaLevel(static_cast<uint32_t>(system_), static_cast<uint32_t>(i + 1), checked, true) != 0)
      refused = true;
  }
  if (!refused) return;
  LogRatingRefused();
  ReloadRating();
}

kv::Object* CANRatingsDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down || !MoveInScale(*this, boxes_, count_, key->Code)) return KXDWidgetClass::HandleEvent(event);
  ResetTimeout();
  return this;
}

}  // namespace ParentalLocks
