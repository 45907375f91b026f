#include "units/Channels/MiniGuide.h"

#include <initializer_list>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/text.h"
#include "strings/NonMenuSystem.h"
#include "strings/Strings.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/BannerBitmaps.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Bitmaps/ListBitmaps.h"
#include "units/Channels/GuideTexts.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/InfoBanner.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/EPGEventsInfo_DB.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/ChannelData.h"
#include "units/Structures/EventInfo.h"
#include "units/Structures/LocalTime.h"
#include "units/Structures/VirtualChannel.h"
#include "units/Views/Align.h"
#include "units/WinIDs/WinIDs.h"
#include "units/Wrapper/Wrapper.h"

KV_REGISTER_CLASS(Channels::MiniGuideForm);
KV_REGISTER_CLASS(Channels::ProgramForm);
KV_REGISTER_CLASS(Channels::DescriptionForm);
KV_REGISTER_CLASS(Channels::MiniGuideDialog);

namespace Channels {

namespace {

using namespace keys;

constexpr int32_t kTimeOut = 15000;
constexpr int32_t kRefreshMs = 2000;
constexpr int32_t kSlidePeriod = 10;
constexpr int32_t kSlideFrames = 5;
constexpr int32_t kSlideFactor = 2;
constexpr kv::Point kProgramRest{100, 400};
constexpr kv::Point kProgramGone{100, 680};
constexpr kv::Point kDescriptionRest{100, 260};
constexpr kv::Point kDescriptionGone{100, 540};
constexpr int32_t kFormW = 760;
constexpr int32_t kFormH = 140;
// The form's frame starts this far in.
constexpr int32_t kMargin = 20;
// The strip's left margin, clear of the frame's rim; its texts, lines and
// list start 4 pixels right of it and end 10 pixels before the form's end.
constexpr int32_t kLeft = kMargin + 8;
constexpr int32_t kContentW = kFormW - kLeft - 4 - 10;

Resources::Bitmap* Bmp(const Resources::BitmapId& id) { return Resources::LoadResource(id); }

void Place(Core::View& v, int32_t x, int32_t y, int32_t w, int32_t h) { v.OnSetBounds({x, y, x + w, y + h}); }

void SetupText(Views::Text& t, const Resources::FontId& font) {
  t.OnSetFont(Resources::LoadResource(font));
  t.OnSetColor(Colors::StandardTextColor);
  t.OnSetAlignV(Views::ALIGN_CENTER);
  t.OnSetEllipsis(true);
}

void SetupSlide(SkinBin::MenuEffect& e) {
  e.OnSetBegin(kSlidePeriod);
  e.OnSetPeriod(kSlidePeriod);
  e.OnSetNoOfFrames(kSlideFrames);
  e.OnSetFactor(kSlideFactor);
  e.OnSetEnabled(false);
}

kv::Rect At(kv::Rect r, kv::Point p) { return r.MoveTo(p); }

// The Wrapper's guide store, filled for the channel in tune by the list.
SkinBin::EPGEventsInfo_DB* Store() {
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  return w ? w->EPGProgramList.get() : nullptr;
}

}  // namespace

void SetAnimating(bool& flag, bool on) {
  if (flag == on) return;
  flag = on;
  auto* w = kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper);
  if (on)
    w->StartAnimation();
  else
    w->StopAnimation();
}

// --- MiniGuideForm --------------------------------------------------------------------

MiniGuideForm::MiniGuideForm() {
  OnSetTimeOutValue(0);
  background_.OnSetBitmap(Bmp(Bitmaps::MiniGuideBackground));
  Add(&background_);
  SetupSlide(effect_);
  effect_.OnFinished = kv::MakeSlot(this, &MiniGuideForm::EndMove);
  effect_.OnSetOutlet(kv::MakeRef<kv::Rect>(static_cast<Core::View*>(this), &Core::View::OnGetBounds,
                                            &Core::View::OnSetBounds));
  KeyRoutingForm::OnSetBounds({0, 0, 250, 100});
  Refresh();
}

MiniGuideForm::~MiniGuideForm() = default;

void MiniGuideForm::Refresh() {
  background_.OnSetBounds({kMargin, 0, Bounds().W(), Bounds().H()});
  KeyRoutingForm::Refresh();
}

void MiniGuideForm::OnSetBounds(kv::Rect bounds) {
  const bool resized = bounds.W() != Bounds().W() || bounds.H() != Bounds().H();
  KeyRoutingForm::OnSetBounds(bounds);
  if (resized) kv::PostSignal(kv::MakeSlot(this, &MiniGuideForm::RefreshSlot));
}

void MiniGuideForm::SlideTo(kv::Point to) {
  effect_.OnSetStartRect(Bounds());
  effect_.OnSetEndRect(At(Bounds(), to));
  IsStart = false;
  effect_.OnSetEnabled(true);
  OnSetAnimating(true);
}

void MiniGuideForm::EndMove(kv::Object* /*sender*/) {
  OnSetAnimating(false);
  effect_.OnSetEnabled(false);
  if (IsStart) OnSetBounds(At(Bounds(), WidgetOrigin));
}

void MiniGuideForm::Close() {
  effect_.OnSetEnabled(false);
  // A slide cut short by the close still owes the Wrapper its count.
  OnSetAnimating(false);
  KeyRoutingForm::Close();
}

// --- ProgramForm ----------------------------------------------------------------------

ProgramForm::ProgramForm() {
  WidgetOrigin = kProgramRest;
  SetupText(Number, Fonts::BannerBasicInfo);
  Number.OnSetAutoSize(true);
  Number.OnSetEllipsis(false);
  SetupText(Name, Fonts::BannerBasicInfo);
  SetupText(Clock, Fonts::BannerBasicInfo);
  Clock.OnSetAlignH(Views::ALIGN_RIGHT);
  // Three bands from the top: number, name and clock; the stream badges and
  // the rating; the three programme rows, which end 5 pixels above the
  // form's bottom (the screen's bottom edge at the form's rest position).
  Place(Number, kLeft + 4, 2, 60, 24);
  Place(Name, kLeft + 74, 2, 330, 24);
  Place(Clock, 480, 2, 270, 24);
  line1_.OnSetColor(Colors::StandardTextColor);
  Place(line1_, kLeft + 4, 27, kContentW, 1);
  int32_t x = kLeft + 4;
  for (Views::Image* v : {&RFInput, &SDHD, &Resolution, &AudioMode, &Dolby, &Caption, &Record}) {
    Place(*v, x, 30, 36, 18);
    x += 40;
  }
  Signal.OnSetBitmap(Bmp(Bitmaps::SignalIndicator));
  Signal.OnSetImageSize(23);
  Signal.OnSetImageNumber(6);
  Place(Signal, x, 31, 23, 16);
  Caption.OnSetBitmap(Bmp(Bitmaps::BannerCC));
  SetupText(Rating, Fonts::BannerBasicInfo);
  Place(Rating, x + 32, 28, 200, 22);
  SetupText(RatingRegion, Fonts::BannerBasicInfo);
  Place(RatingRegion, x + 236, 28, kFormW - x - 246, 22);
  line2_.OnSetColor(Colors::StandardTextColor);
  Place(line2_, kLeft + 4, 50, kContentW, 1);
  Place(List, kLeft + 4, 51, kContentW, 84);
  for (Core::View* v : std::initializer_list<Core::View*>{&Number, &Name, &Clock, &line1_, &RFInput, &SDHD, &Resolution,
                                                          &AudioMode, &Dolby, &Caption, &Record, &Signal, &Rating,
                                                          &RatingRegion, &line2_})
    Add(v);
  List.OnProgramChanged = kv::MakeSlot(this, &ProgramForm::UpdateEPGInfo);
  List.FocusMove = kv::MakeSlot(this, &ProgramForm::FocusMove);
  OnSetBounds({0, 0, kFormW, kFormH});
  HideAllInfo();
}

void ProgramForm::Initialize(Primitives::KeyRoutingParameter* param) {
  MiniGuideForm::Initialize(param);
  auto* p = kv::New<Primitives::KeyRoutingParameter>();
  p->Owner = this;
  List.Initialize(p);
  List.Open();
  OnSetFocus(&List);
}

void ProgramForm::HideAllInfo() {
  for (Core::View* v : std::initializer_list<Core::View*>{&Dolby, &AudioMode, &SDHD, &Caption, &Resolution, &Rating,
                                                          &RatingRegion, &Record, &Signal, &RFInput})
    v->OnSetVisible(false);
}

void ProgramForm::UpdateBanner() {
  Number.OnSetString({});
  Name.OnSetString({});
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  if (!w) return;
  Structures::VirtualChannel* now = w->GetCurrentChannel();
  Structures::ChannelData* info = now ? w->GetChannelInfo(now->Major, now->Minor) : nullptr;
  if (!info) return;
  Name.OnSetString(info->Name);
  kv::String number = w->GetChannelNumberStr(info->IsDigital != 0, info->Major, info->Minor);
  if (number == kv::LoadString(NonMenuSystem::NUMBER_PLACEHOLDER)) number = kv::String();
  Number.OnSetString(number);
  const kv::Rect n = Number.Bounds();
  const int32_t x = n.x2 + 10;
  Name.OnSetBounds({x, n.y1, 470, n.y1 + 24});
}

void ProgramForm::LoadSettings() {
  UpdateBanner();
  if (SkinBin::Wrapper* w = NonMenuSystem::Live::Skin())
    if (Structures::LocalTime* t = w->GetCurrentTime()) Clock.OnSetString(GuideClockText(t));
  HideAllInfo();
  ::Wrapper::Wrapper* base = NonMenuSystem::Live::Base();
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  if (!base || !w) return;
  const int32_t type = base->GetSourceType(base->GetCurrentSource(0));
  if (type != 1 && type != 12) return;
  RFInput.OnSetBitmap(Bmp(type == 12 ? Bitmaps::BannerRF2Input : Bitmaps::BannerRF1Input));
  RFInput.OnSetVisible(true);
  if (!MainWindowAcquired()) return;
  SkinBin::CurrentChannelInfo* d = w->GetCurrentChannelDetailInfo();
  Signal.OnSetImageIndex(SignalFrame(d ? d->SignalStrength : 0));
  Signal.OnSetVisible(true);
  ShowStreamBadges({&Dolby, &AudioMode, &SDHD, &Resolution, &Caption, &Record});
  if (d) {
    Rating.OnSetString(NonMenuSystem::RatingText(w, d->UsRating, d->CanadianRating));
    Rating.OnSetVisible(true);
  }
  const kv::String regions = RatingRegionText();
  RatingRegion.OnSetString(regions);
  RatingRegion.OnSetVisible(!regions.Empty());
}

void ProgramForm::UpdateEPGInfo(kv::Object* /*sender*/) {
  FocusedEvent = List.FocusedIndex;
  kv::Signal(OnEPGChanged, this);
}

void ProgramForm::FocusMove(kv::Object* /*sender*/) {
  // A scroll refills the rows under the focus: the focused programme is
  // read again once the rows show their new items.
  kv::PostSignal(kv::MakeSlot(&List, &ListForm::MiniGuideList::DoFocus));
  kv::Signal(OnFocusMove, this);
}

void ProgramForm::EndGuide() { SlideTo(kProgramGone); }

void ProgramForm::EndMove(kv::Object* sender) { MiniGuideForm::EndMove(sender); }

void ProgramForm::Close() {
  List.Close();
  MiniGuideForm::Close();
}

// --- DescriptionForm ------------------------------------------------------------------

DescriptionForm::DescriptionForm() {
  WidgetOrigin = kDescriptionRest;
  Text.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  Text.OnSetColor(Colors::StandardTextColor);
  Place(Text, kMargin + 14, 10, kFormW - kMargin - 28, kFormH - 20);
  Add(&Text);
  OnSetBounds({0, 0, kFormW, kFormH});
}

void DescriptionForm::OnSetDescriptionText(const kv::String& text) {
  DescriptionText = text;
  Text.OnSetString(text);
}

void DescriptionForm::EndMove(kv::Object* sender) { MiniGuideForm::EndMove(sender); }

void DescriptionForm::Close() { MiniGuideForm::Close(); }

// --- MiniGuideDialog ------------------------------------------------------------------

MiniGuideDialog::MiniGuideDialog() {
  WinID = WinIDs::WIN_ID_InfoBanner;
  WidgetOrigin = {0, 0};
  OnSetTimeOutValue(kTimeOut);
  OnTimeOut = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::ExitSlot);
  OnSetBounds({0, 0, 960, 540});
  background_.OnSetVisible(false);
  frame_.OnSetVisible(false);
  refreshTimer_.OnTrigger = kv::MakeSlot(this, &MiniGuideDialog::RefreshSlot);
  StartTimer();
  SetupSlide(effect_);
  effect_.OnFinished = kv::MakeSlot(this, &MiniGuideDialog::EndMove);
}

MiniGuideDialog::~MiniGuideDialog() = default;

void MiniGuideDialog::StartTimer() {
  refreshTimer_.OnSetBegin(kRefreshMs);
  refreshTimer_.OnSetPeriod(kRefreshMs);
  refreshTimer_.OnSetEnabled(true);
}

void MiniGuideDialog::ReInit() {
  WidgetClass::ReInit();
  StartTimer();
}

void MiniGuideDialog::Refresh() {
  WidgetClass::Refresh();
  background_.OnSetVisible(false);
  frame_.OnSetVisible(false);
}

void MiniGuideDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  WidgetClass::Initialize(param);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Register(this);
  InfoStep = 1;
  LoadSettings();
}

MiniGuideForm* MiniGuideDialog::CreateBannerForm(const kv::Class* cls) {
  auto* form = kv::Cast<MiniGuideForm>(cls ? kv::NewObjectIndirect(cls, nullptr) : nullptr);
  if (!form) {
    Core::LogError("Channels::MiniGuideDialog: no form of that class");
    return nullptr;
  }
  auto* param = kv::New<Primitives::KeyRoutingParameter>();
  param->Owner = this;
  form->Initialize(param);
  form->OnSetBounds(At(form->Bounds(), form->WidgetOrigin));
  form->Open();
  return form;
}

void MiniGuideDialog::LoadSettings() {
  if (InfoStep == 1) {
    if (!program_) program_ = kv::Cast<ProgramForm>(CreateBannerForm(&ProgramForm::StaticClass()));
    ProgramForm* p = program_.get();
    if (!p) return;
    p->LoadSettings();
    p->OnEPGChanged = kv::MakeSlot(this, &MiniGuideDialog::UpdateDescription);
    p->OnFocusMove = kv::MakeSlot(static_cast<Primitives::KeyRoutingForm*>(this), &KeyRoutingForm::ResetTimeout);
    OnSetFocus(p);
  } else if (InfoStep == 2) {
    if (!description_) description_ = kv::Cast<DescriptionForm>(CreateBannerForm(&DescriptionForm::StaticClass()));
    if (DescriptionForm* d = description_.get()) d->LoadSettings();
    UpdateDescription();
  }
}

void MiniGuideDialog::UpdateDescription(kv::Object* /*sender*/) {
  ProgramForm* p = program_.get();
  DescriptionForm* d = description_.get();
  if (!p || !d) return;
  SkinBin::EPGEventsInfo_DB* store = Store();
  if (store && store->GetNumEvents() > 0) {
    if (Structures::EventInfo* e = store->GetEvent(p->FocusedEvent)) d->OnSetDescriptionText(e->Description);
  } else {
    d->OnSetDescriptionText(kv::GetVariantOfString(Strings::SID_NO_INFORMATION_AVAILABLE));
  }
}

void MiniGuideDialog::ProcessInfoKey() {
  ++InfoStep;
  if (InfoStep < 3)
    LoadSettings();
  else
    Post(&WidgetClass::ExitSlot);
}

kv::Object* MiniGuideDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return WidgetClass::HandleEvent(event);
  switch (key->Code) {
    case KEY_UP:
    case KEY_DOWN:
      // The strip's list (focused) scrolls first; a key it leaves is spent here.
      break;
    case KEY_REWIND:
    case KEY_FORWARD:
      if (DescriptionForm* d = description_.get()) d->Text.HandleEvent(event);
      break;
    case KEY_INFO:
      ProcessInfoKey();
      break;
    default:
      return WidgetClass::HandleEvent(event);
  }
  ResetTimeout();
  return this;
}

void MiniGuideDialog::EndGuide() {
  if (ProgramForm* p = program_.get()) p->EndGuide();
  if (DescriptionForm* d = description_.get()) {
    effect_.OnSetOutlet(kv::MakeRef<kv::Rect>(static_cast<Core::View*>(d), &Core::View::OnGetBounds,
                                              &Core::View::OnSetBounds));
    effect_.OnSetStartRect(At(d->Bounds(), kDescriptionRest));
    effect_.OnSetEndRect(At(d->Bounds(), kDescriptionGone));
  } else {
    effect_.OnSetOutlet(Effects::RefRect());
  }
  effect_.OnSetEnabled(true);
  OnSetAnimating(true);
}

// The slide out has ended (the effect stopped itself before it said so);
// Close clears the animating count and takes the guide off the screen.
void MiniGuideDialog::EndMove(kv::Object* /*sender*/) { Close(); }

void MiniGuideDialog::Close() {
  if (ProgramForm* p = program_.get()) p->Close();
  if (DescriptionForm* d = description_.get()) d->Close();
  program_ = nullptr;
  description_ = nullptr;
  refreshTimer_.OnSetEnabled(false);
  effect_.OnSetEnabled(false);
  OnSetAnimating(false);
  KeyRoutingForm::Close();
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->UnRegister(this);
}

}  // namespace Channels
