#include "units/InitialSetup/SetupPages.h"

#include <algorithm>

#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "strings/InitialSetup.h"
#include "strings/MenuSystemPages.h"
#include "strings/Strings.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Channels/ChannelsDialog.h"
#include "units/Colors/Colors.h"
#include "units/Core/Log.h"
#include "units/Fonts/Fonts.h"
#include "units/OptionDatabase/OptionTypes.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/Wrapper.h"

KV_REGISTER_CLASS(InitialSetup::LanguageDialog);
KV_REGISTER_CLASS(InitialSetup::TimeZoneDialog);
KV_REGISTER_CLASS(InitialSetup::DaylightSavingDialog);
KV_REGISTER_CLASS(InitialSetup::TunerSelectDialog);
KV_REGISTER_CLASS(InitialSetup::BothMediumSelectDialog);
KV_REGISTER_CLASS(InitialSetup::KXDAntennaCableDialog);

namespace InitialSetup {

namespace {

kv::String Text(const kv::MultiTextId& id) { return kv::GetVariantOfString(id); }

using Channels::Skin;

// "Tuner 1", "Tuner 2".
kv::String TunerCaption(int32_t tuner) {
  return kv::ConcatString(Text(Strings::SID_TUNER), kv::LoadString(tuner == 0 ? TUNER_1_SUFFIX : TUNER_2_SUFFIX));
}

// The buttons of the pages stand at x 286 (the language page's at 316), 30 pixels apart.
constexpr int32_t kButtonX = 286;
constexpr int32_t kFirstButtonY = 66;
constexpr int32_t kButtonStep = 30;

}  // namespace

// --- LanguageDialog --------------------------------------------------------------------

LanguageDialog::LanguageDialog() {
  FollowGraph(StaticClass());
  KeyRoutingForm::OnSetBounds({0, 0, 540, 270});
  OnSetFrameWidth(0);
  for (int32_t i = 0; i < 3; ++i)
    AddButton(buttons_[i], 316, kFirstButtonY + i * kButtonStep, kv::String(), true);
  RefreshLanguage();
}

void LanguageDialog::RefreshLanguage(kv::Object*) {
  OnSetTitle(Text(Strings::SID_QUICK_SETUP));
  OnSetInfo(Text(Strings::Lang_Instructions));
  // Each language named in its own language, in the order of the menu
  // language's values.
  buttons_[0].OnSetText(kv::LoadString(Strings::Language1));
  buttons_[1].OnSetText(kv::LoadString(Strings::Language3));
  buttons_[2].OnSetText(kv::LoadString(Strings::Language2));
  for (SkinBin::Button& b : buttons_) b.HelpString = EnterBackHelp();
  Refresh();
}

void LanguageDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  if (SkinBin::Wrapper* w = Skin()) w->SetMenuLanguage(w->GetMenuLanguage());
  RefreshLanguage();
  InitialSetupDialog::Initialize(param);
}

void LanguageDialog::Refresh() {
  InitialSetupDialog::Refresh();
  EndInfoAt(290);
}

void LanguageDialog::DoFocus(kv::Object* control) {
  auto* ctrl = kv::Cast<Forms::Ctrl>(control);
  const int32_t lang = ctrl ? GetIndexOf(ctrl) : -1;
  if (lang < 0 || lang > 2) return;
  if (SkinBin::Wrapper* w = Skin()) w->OnSetMenuLanguage(lang);
  // The texts follow once the language has changed (at the end of the pass, ReInit).
  RefreshLanguage();
}

void LanguageDialog::ReInit() {
  InitialSetupDialog::ReInit();
  RefreshLanguage();
}

// --- TimeZoneDialog --------------------------------------------------------------------

TimeZoneDialog::TimeZoneDialog() {
  FollowGraph(StaticClass());
  KeyRoutingForm::OnSetBounds({0, 0, 530, 320});
  OnSetFrameWidth(0);
  OnSetTitle(Text(Strings::SID_TIME_ZONE));
  OnSetInfo(Text(Strings::TimeZone_Msg));
  list_.OptionType = OptionDatabase::OPTION_TYPE_TIME_ZONE_KXD;
  list_.OnSetBounds({250, 90, 470, 262});
  list_.OnValueChanged = kv::MakeSlot<InitialSetupDialog>(this, &InitialSetupDialog::NextStep);
  Add(&list_);
}

void TimeZoneDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  InitialSetupDialog::Initialize(param);
  auto* p = kv::New<Primitives::KeyRoutingParameter>();
  p->Owner = this;
  list_.Initialize(p);
  list_.Open();
  Refresh();
}

void TimeZoneDialog::Refresh() {
  InitialSetupDialog::Refresh();
  EndInfoAt(210);
  const kv::Rect l = list_.Bounds();
  list_.OnSetBounds(l.MoveTo({FrameWidth + 216, FrameWidth + 56}));
}

void TimeZoneDialog::Close() {
  list_.Close();
  InitialSetupDialog::Close();
}

// --- DaylightSavingDialog --------------------------------------------------------------

DaylightSavingDialog::DaylightSavingDialog() {
  FollowGraph(StaticClass());
  KeyRoutingForm::OnSetBounds({0, 0, 500, 230});
  OnSetFrameWidth(0);
  OnSetTitle(Text(Strings::SID_DAYLIGHT_SAVINGS));
  OnSetInfo(Text(Strings::DaylightSaving_Msg));
  AddButton(yes_, kButtonX, kFirstButtonY, Text(Strings::SID_YES), false);
  AddButton(no_, kButtonX, kFirstButtonY + kButtonStep, Text(Strings::SID_NO), false);
}

void DaylightSavingDialog::Refresh() {
  InitialSetupDialog::Refresh();
  EndInfoAt(260);
}

void DaylightSavingDialog::NextStep(kv::Object* sender) {
  if (SkinBin::Wrapper* w = Skin()) w->OnSetDaylightSavingTime(sender == &yes_ ? 1 : 0);
  InitialSetupDialog::NextStep(sender);
}

// --- TunerSelectDialog -----------------------------------------------------------------

TunerSelectDialog::TunerSelectDialog() {
  FollowGraph(StaticClass());
  KeyRoutingForm::OnSetBounds({0, 0, 500, 250});
  OnSetFrameWidth(0);
  OnSetTitle(Text(TUNER_TITLE));
  OnSetInfo(Text(TUNER_INFO));
  AddButton(buttons_[0], kButtonX, kFirstButtonY, TunerCaption(0), false);
  AddButton(buttons_[1], kButtonX, kFirstButtonY + kButtonStep, TunerCaption(1), false);
  AddButton(buttons_[2], kButtonX, kFirstButtonY + 2 * kButtonStep, Text(BOTH_TUNERS), false);
}

void TunerSelectDialog::Refresh() {
  InitialSetupDialog::Refresh();
  EndInfoAt(260);
}

void TunerSelectDialog::NextStep(kv::Object* sender) {
  MainApp::InitialSetup* setup = Sequencer.get();
  if (sender == &buttons_[2]) {
    NextState = &BothMediumSelectDialog::StaticClass();
    if (setup) setup->BothTuners = 1;
  } else if (sender == &buttons_[0] || sender == &buttons_[1]) {
    // One tuner: the scan runs once, on it.
    if (setup) setup->BothTuners = 0;
    if (SkinBin::Wrapper* w = Skin()) {
      const int32_t source = w->GetSourceId(sender == &buttons_[0] ? 0 : 1);
      if (source != w->GetCurrentSource(0)) w->SetSource(0, source);
    }
    NextState = &KXDAntennaCableDialog::StaticClass();
  }
  InitialSetupDialog::NextStep(sender);
}

// --- BothMediumSelectDialog ------------------------------------------------------------

namespace {
constexpr int32_t kRowY[] = {112, 146};
// The tuner's name ("Sintonizador 1") reads whole beside its boxes: the page
// is wider than the other pages by what the longest name needs.
constexpr int32_t kPageWidth = 540;
constexpr int32_t kLabelWidth = 160;
constexpr int32_t kBoxX = 24 + kLabelWidth + 6;
constexpr int32_t kBoxWidth = 120;
}  // namespace

BothMediumSelectDialog::BothMediumSelectDialog() {
  FollowGraph(StaticClass());
  KeyRoutingForm::OnSetBounds({0, 0, kPageWidth, 290});
  OnSetFrameWidth(0);
  OnSetTitle(Text(MEDIUM_TITLE));
  OnSetInfo(Text(MEDIUM_INFO));
  for (int32_t row = 0; row < 2; ++row) {
    labels_[row].OnSetFont(Resources::LoadResource(Fonts::EPGListFont));
    labels_[row].OnSetColor(Colors::StandardTextColor);
    labels_[row].OnSetAlignH(0);
    labels_[row].OnSetAlignV(1);
    labels_[row].OnSetEllipsis(true);
    labels_[row].OnSetString(TunerCaption(row));
    Add(&labels_[row]);
    for (int32_t k = 0; k < 2; ++k) {
      SkinBin::CheckBoxWithCaption& box = boxes_[row][k];
      box.OnSetText(Text(k == 0 ? Strings::SID_ANTENNA : Strings::SID_CABLE));
      box.OnSetTextAlignH(0);
      box.OnSetTextEllipsis(true);
      // The focused box shows the dialogs' focus bar, as every button does.
      box.OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::DialogButtonFocus));
      box.HelpString = EnterBackHelp();
      box.HelpMask = kEnterBackMask;
      box.OnActivate = row == 0 ? kv::MakeSlot(this, &BothMediumSelectDialog::UpdateTuner1Medium)
                                : kv::MakeSlot(this, &BothMediumSelectDialog::UpdateTuner2Medium);
      Add(&box);
    }
    boxes_[row][0].OnSetIsChecked(true);
  }
  AddButton(next_, 0, 0, Text(Strings::SID_NEXT), false);
}

void BothMediumSelectDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  InitialSetupDialog::Initialize(param);
  MainApp::InitialSetup* setup = Sequencer.get();
  if (!setup) return;
  const int32_t media[] = {setup->Tuner1Medium, setup->Tuner2Medium};
  for (int32_t row = 0; row < 2; ++row) {
    boxes_[row][0].OnSetIsChecked(media[row] != 1);
    boxes_[row][1].OnSetIsChecked(media[row] == 1);
  }
}

void BothMediumSelectDialog::Refresh() {
  InitialSetupDialog::Refresh();
  // The explanation 12 pixels under the divider.
  const kv::Rect d = divider_.Bounds();
  const kv::Rect i = info_.Bounds();
  info_.OnSetBounds({i.x1, d.y2 + 12, i.x2, d.y2 + 12 + i.H()});
  const int32_t fw = FrameWidth;
  const int32_t w = Bounds().W();
  const int32_t h = Bounds().H();
  for (int32_t row = 0; row < 2; ++row) {
    const int32_t y = fw + kRowY[row];
    labels_[row].OnSetBounds({fw + 24, y, fw + 24 + kLabelWidth, y + 27});
    for (int32_t k = 0; k < 2; ++k) {
      const int32_t x = fw + kBoxX + k * (kBoxWidth + 10);
      boxes_[row][k].OnSetBounds({x, y, x + kBoxWidth, y + 27});
    }
  }
  // Next under the cable column, so that left and right stay within the rows.
  const kv::Rect n = next_.Bounds();
  const int32_t x = std::min(fw + kBoxX + kBoxWidth + 10, w - n.W());
  const int32_t y = h - fw - 14 - n.H();
  next_.OnSetBounds({x, y, x + n.W(), y + n.H()});
}

void BothMediumSelectDialog::UpdateTuner1Medium(kv::Object* sender) { UpdateRow(0, sender); }
void BothMediumSelectDialog::UpdateTuner2Medium(kv::Object* sender) { UpdateRow(1, sender); }

void BothMediumSelectDialog::UpdateRow(int32_t row, kv::Object* sender) {
  SkinBin::CheckBoxWithCaption& antenna = boxes_[row][0];
  SkinBin::CheckBoxWithCaption& cable = boxes_[row][1];
  // A row always has exactly one medium: the toggled box stays checked.
  if (sender == &antenna) {
    if (!antenna.OnGetIsChecked()) antenna.OnSetIsChecked(true);
    cable.OnSetIsChecked(false);
  } else if (sender == &cable) {
    if (!cable.OnGetIsChecked()) cable.OnSetIsChecked(true);
    antenna.OnSetIsChecked(false);
  }
  if (MainApp::InitialSetup* setup = Sequencer.get())
    (row == 0 ? setup->Tuner1Medium : setup->Tuner2Medium) = antenna.OnGetIsChecked() ? 0 : 1;
}

// --- KXDAntennaCableDialog -------------------------------------------------------------

KXDAntennaCableDialog::KXDAntennaCableDialog() {
  FollowGraph(StaticClass());
  KeyRoutingForm::OnSetBounds({0, 0, 500, 230});
  OnSetFrameWidth(0);
  OnSetTitle(Text(MEDIUM_TITLE));
  OnSetInfo(Text(MEDIUM_INFO));
  AddButton(antenna_, kButtonX, kFirstButtonY, Text(Strings::SID_ANTENNA), false);
  AddButton(cable_, kButtonX, kFirstButtonY + kButtonStep, Text(Strings::SID_CABLE), false);
}

void KXDAntennaCableDialog::Refresh() {
  InitialSetupDialog::Refresh();
  EndInfoAt(260);
}

void KXDAntennaCableDialog::NextStep(kv::Object* sender) {
  const int32_t medium = sender == &cable_ ? 1 : 0;
  if (SkinBin::Wrapper* w = Skin())
    if (w->OnGetAntCableIn() != medium) w->OnSetAntCableIn(medium);
  InitialSetupDialog::NextStep(sender);
}

}  // namespace InitialSetup
