#include "units/ParentalLocks/RatingScreens.h"

#include <algorithm>

#include "runtime/slot.h"
#include "strings/MenuSystemPages.h"
#include "strings/ParentalLocks.h"
#include "strings/Strings.h"
#include "units/Colors/Colors.h"
#include "units/Constants/ConfirmTypes.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/ListForm/ListContext.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/NonMenuSystem/OptionBinding.h"
#include "units/ParentalLocks/RatingDialogs.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/RatingData.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/SubSystem/State.h"

KV_REGISTER_CLASS(ParentalLocks::EditRatingLimits);
KV_REGISTER_CLASS(ParentalLocks::EditDynamicRatings);
KV_REGISTER_CLASS(ParentalLocks::RRTDimensionDialog);
KV_REGISTER_CLASS(ParentalLocks::RRTLevelDialog);

namespace ParentalLocks {

namespace {

constexpr uint32_t kHelpMask = 0x40300;
// The dialogs' lists: rows of the dimension list and of the level list.
constexpr int32_t kDimensionRows = 8;
constexpr int32_t kDimensionRowHeight = 28;
constexpr int32_t kLevelRows = 6;
constexpr int32_t kLevelRowHeight = 32;
constexpr kv::Point kListAt{30, 80};

kv::String Text(const kv::MultiTextId& id) { return kv::GetVariantOfString(id); }

void ShowButtonsHelp(NonMenuSystem::WidgetClass* w) {
  NonMenuSystem::OptionBinding::ShowHelp(w, kHelpMask,
                                         {Text(Strings::SID_SELECT), Text(Strings::SID_ENTER), Text(Strings::SID_BACK)});
}

// Starts an embedded list or grid with `owner` as its parent.
void Start(Primitives::KeyRoutingForm& embedded, Core::Group* owner) {
  auto* p = kv::New<Primitives::KeyRoutingParameter>();
  p->Owner = owner;
  embedded.Initialize(p);
}

// Closes `w` and opens confirmation `type`, which returns to `w`'s class.
void AskConfirmation(NonMenuSystem::WidgetClass* w, int32_t type) {
  NonMenuSystem::NonMenuSystem* system = w->OnGetNonMenuSystem();
  const kv::Class* confirm = KV_LATE_CLASS("NonMenuSystem::ConfirmMultiOptionDialog");
  w->Close();
  if (!system || !confirm) return;
  auto* state = kv::New<SubSystem::State>();
  state->Class = confirm;
  state->PrevState = kv::ClassOf(w);
  state->Param = SkinBin::UserRefInt::Make(type, Constants::MSG_FROM_MENUSYSTEM);
  system->ChangeState(state);
}

SkinBin::DynamicRatingData* Rating() {
  SkinBin::Wrapper* w = ListForm::SkinWrapper();
  return w ? &w->DynamicRatingData : nullptr;
}

// The dimension of a state's SkinBin::UserRefInt, else `otherwise`.
int32_t ValueOf(Primitives::KeyRoutingParameter* param, int32_t otherwise) {
  auto* ref = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr;
  return ref ? ref->Value : otherwise;
}

void Shorten(Core::View& v, int32_t by) {
  if (by <= 0) return;
  const kv::Rect b = v.Bounds();
  v.OnSetBounds({b.x1, b.y1, b.x2, std::max(b.y1, b.y2 - by)});
}

}  // namespace

// --- Rating limits ----------------------------------------------------------------------

EditRatingLimits::EditRatingLimits() {
  KeyRoutingForm::OnSetBounds({0, 0, 517, 360});
  OnTimeOut = kv::Slot();
  OnSetCaption(Text(MenuSystemPages::SID_EDIT_RATING_LIMITS));
  PrevState = KV_LATE_CLASS("MenuSystem::ParentalLocksMenu");
  grid_.OnSetBounds({20, 39, 513, 287});
  grid_.OnMove = kv::MakeSlot(this, &EditRatingLimits::DoMove);
  grid_.OnReset = kv::MakeSlot(this, &EditRatingLimits::DoReset);
  grid_.OnTriggerRRT = kv::MakeSlot(this, &EditRatingLimits::DoTriggerRRT);
  helpPanel_.OnSetColor(Colors::StandardBgColor);
  helpPanel_.OnSetBounds({20, 290, 501, 349});
  help_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  help_.OnSetColor(Colors::StandardTextColor);
  help_.OnSetAlignH(0);
  help_.OnSetAlignV(0);
  help_.OnSetBounds({26, 294, 498, 350});
  help_.OnSetString(Text(RATING_HELP_START));
  Add(&grid_);
  Add(&helpPanel_);
  Add(&help_);
  OnSetFocus(&grid_);
}

void EditRatingLimits::Initialize(Primitives::KeyRoutingParameter* param) {
  BorderWidgetClass::Initialize(param);
  Start(grid_, this);
  ShowButtonsHelp(this);
}

void EditRatingLimits::DoMove(kv::Object* /*sender*/) { help_.OnSetString(grid_.GetButtonHelp()); }

void EditRatingLimits::DoReset(kv::Object* /*sender*/) { AskConfirmation(this, Constants::ConfirmTypeResetRating); }

void EditRatingLimits::DoTriggerRRT(kv::Object* /*sender*/) {
  NextState = &EditDynamicRatings::StaticClass();
  Post(&WidgetClass::EnterNextStateSlot);
}

// --- Alternate ratings ------------------------------------------------------------------

EditDynamicRatings::EditDynamicRatings() {
  KeyRoutingForm::OnSetBounds({0, 0, 648, 380});
  OnTimeOut = kv::Slot();
  OnSetCaption(Text(Strings::SID_EDIT_ALTERNATE_RATINGS));
  PrevState = &EditRatingLimits::StaticClass();
  helpPanel_.OnSetColor(Colors::StandardBgColor);
  helpPanel_.OnSetBounds({7, 313, 641, 341});
  help_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  help_.OnSetColor(Colors::StandardTextColor);
  help_.OnSetAlignH(0);
  help_.OnSetAlignV(1);
  help_.OnSetEllipsis(true);
  help_.OnSetBounds({11, 313, 637, 341});
  table_.OnSetBounds({7, 27, 641, 307});
  table_.OnFocusOption = kv::MakeSlot(this, &EditDynamicRatings::PostUpdateRRTHelp);
  table_.FocusMove = kv::MakeSlot(this, &EditDynamicRatings::DoFocusMove);
  done_.OnSetText(Text(Strings::SID_DONE));
  done_.OnSetBounds({174, 346, 314, 374});
  done_.OnActivate = kv::MakeSlot(this, &EditDynamicRatings::DoApplyRRT);
  reset_.OnSetText(Text(Strings::SID_RESET));
  reset_.OnSetBounds({334, 346, 474, 374});
  reset_.OnActivate = kv::MakeSlot(this, &EditDynamicRatings::DoReset);
  for (SkinBin::Button* b : {&done_, &reset_}) b->OnFocus = kv::MakeSlot(this, &EditDynamicRatings::UpdateRRTHelp);
  Add(&helpPanel_);
  Add(&help_);
  Add(&table_);
  Add(&done_);
  Add(&reset_);
  OnSetFocus(&table_);
}

void EditDynamicRatings::Initialize(Primitives::KeyRoutingParameter* param) {
  BorderWidgetClass::Initialize(param);
  Start(table_, this);
  // A region without levels hides the table: the buttons take the keys.
  if (!table_.IsVisible()) OnSetFocus(&done_);
  ShowButtonsHelp(this);
  kv::IdleSignal(kv::MakeSlot(this, &EditDynamicRatings::UpdateRRTHelp));
}

void EditDynamicRatings::UpdateRRTHelp(kv::Object* sender) {
  if (sender == &done_ || sender == &reset_ || OnGetFocus() != &table_) {
    help_.OnSetString(kv::String());
    return;
  }
  help_.OnSetString(table_.GetButtonHelp());
}

void EditDynamicRatings::PostUpdateRRTHelp(kv::Object* /*sender*/) {
  kv::PostSignal(kv::MakeSlot(this, &EditDynamicRatings::UpdateRRTHelp));
}

void EditDynamicRatings::DoApplyRRT(kv::Object* /*sender*/) { table_.ApplyRRT(); }

void EditDynamicRatings::DoReset(kv::Object* /*sender*/) { AskConfirmation(this, Constants::ConfirmTypeResetRRT); }

void EditDynamicRatings::DoFocusMove(kv::Object* /*sender*/) {
  ResetTimeout();
  PostUpdateRRTHelp(this);
}

Forms::Ctrl* EditDynamicRatings::SelectUpper() {
  Core::View* f = OnGetFocus();
  if ((f == &done_ || f == &reset_) && table_.IsVisible()) {
    OnSetFocus(&table_);
    PostUpdateRRTHelp(this);
    return nullptr;
  }
  return BorderWidgetClass::SelectUpper();
}

kv::Object* EditDynamicRatings::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down || !MoveFocusByArrow(this, key->Code)) return BorderWidgetClass::HandleEvent(event);
  ResetTimeout();
  return this;
}

// --- Dimension and level dialogs ------------------------------------------------------------

RRTDimensionDialog::RRTDimensionDialog() {
  OnSetFrameWidth(0);
  KeyRoutingForm::OnSetBounds({0, 0, 358, 350});
  OnSetCaption(Text(Strings::RatingLocksMenuRRTDefaultName));
  PrevState = KV_LATE_CLASS("MenuSystem::VidiRatingsLocksMenu");
  IsShortcut = true;
  list_.FocusMove = kv::MakeSlot(this, &RRTDimensionDialog::ResetTimeoutSlot);
  Add(&list_);
  OnSetFocus(&list_);
}

void RRTDimensionDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  list_.FocusIndex = std::max(0, ValueOf(param, 0));
  list_.OnSetBounds({kListAt.x, kListAt.y, kListAt.x + 290, kListAt.y + 224});
  Start(list_, this);
  const int32_t dimensions = list_.DataSource ? list_.DataSource->Num : 0;
  if (dimensions < kDimensionRows)
    Shorten(*this, (list_.ItemInterval + kDimensionRowHeight) * (kDimensionRows - dimensions));
}

void RRTDimensionDialog::Refresh() {
  KXDWidgetClass::Refresh();
  const kv::Rect b = list_.Bounds();
  list_.OnSetBounds(b.MoveTo({kListAt.x + FrameWidth, kListAt.y}));
}

RRTLevelDialog::RRTLevelDialog() {
  OnSetFrameWidth(0);
  KeyRoutingForm::OnSetBounds({0, 0, 288, 350});
  PrevState = &RRTDimensionDialog::StaticClass();
  list_.FocusMove = kv::MakeSlot(this, &RRTLevelDialog::ResetTimeoutSlot);
  Add(&list_);
  OnSetFocus(&list_);
}

void RRTLevelDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  list_.Dimension = std::max(0, ValueOf(param, 0));
  if (SkinBin::DynamicRatingData* d = Rating()) {
    // Opened on its own (not from the dimensions), the table is read first.
    if (d->Region == 0 || !d->Array) {
      ListForm::ReadRegion(*d);
      d->LoadRRTArray();
    }
  }
  list_.OnSetBounds({kListAt.x, kListAt.y, kListAt.x + 220, kListAt.y + 222});
  Start(list_, this);
  if (SkinBin::DynamicRatingData* d = Rating()) {
    d->SetRegionDimension(d->Region, list_.Dimension);
    d->GetDimensionInfo();
    OnSetCaption(ListForm::DimensionName(*d, list_.Dimension));
  }
  const int32_t levels = list_.DataSource ? list_.DataSource->Num : 0;
  if (levels < kLevelRows) Shorten(*this, (list_.ItemInterval + kLevelRowHeight) * (kLevelRows - levels));
}

void RRTLevelDialog::Refresh() {
  KXDWidgetClass::Refresh();
  const kv::Rect b = list_.Bounds();
  list_.OnSetBounds(b.MoveTo({kListAt.x + FrameWidth, kListAt.y}));
}

void RRTLevelDialog::EnterPrevState() {
  NonMenuSystem::NonMenuSystem* system = OnGetNonMenuSystem();
  Close();
  if (!system || !PrevState) return;
  auto* state = kv::New<SubSystem::State>();
  state->Class = PrevState;
  state->Param = SkinBin::UserRefInt::Make(list_.Dimension, TransitionCode());
  system->ChangeState(state);
}

}  // namespace ParentalLocks
