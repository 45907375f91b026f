#include "units/InitialSetup/ScanPages.h"

#include <algorithm>

#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "strings/MenuSystemPages.h"
#include "strings/Strings.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Core/Log.h"
#include "units/InitialSetup/SetupPages.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/Wrapper.h"

KV_REGISTER_CLASS(InitialSetup::AutoTuningConfirmDialog);
KV_REGISTER_CLASS(InitialSetup::AutoTuningDialog);
KV_REGISTER_CLASS(InitialSetup::AutoTuningCompleteDialog);
KV_REGISTER_CLASS(InitialSetup::AutoTuningErrorDialog);

namespace InitialSetup {

namespace {

kv::String Text(const kv::MultiTextId& id) { return kv::GetVariantOfString(id); }

constexpr uint32_t kStopHelpMask = 0x80000;
constexpr uint32_t kResultHelpMask = 0x40a00;
constexpr uint32_t kErrorHelpMask = 0x40204;
constexpr int32_t kStartWidth = 160;
constexpr int32_t kButtonWidth = 110;
constexpr int32_t kButtonHeight = 27;

// An embedded screen of the Channels unit drawn over the whole page, its
// content flush with its panel as the pages' is.
void Embed(InitialSetupDialog* page, NonMenuSystem::KXDWidgetClass& screen) {
  screen.OnSetFrameWidth(0);
  page->Add(&screen);
}

}  // namespace

// --- AutoTuningConfirmDialog -----------------------------------------------------------

AutoTuningConfirmDialog::AutoTuningConfirmDialog() {
  FollowGraph(StaticClass());
  SetupStep = INITIAL_SETUP_ABORTABLE;
  KeyRoutingForm::OnSetBounds({0, 0, 450, 180});
  OnSetFrameWidth(0);
  OnSetTitle(Text(MenuSystemPages::SID_AUTO_TUNING));
  AddButton(start_, 0, 0, Text(Strings::SID_START_SCAN), true);
  start_.OnSetBounds({0, 0, kStartWidth, kButtonHeight});
  start_.OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::TimeZoneListButtonFocus));
  // Laid out first, so that the explanation wraps at its own width.
  AutoTuningConfirmDialog::Refresh();
  AutoTuningConfirmDialog::OnSetInfo(Text(Strings::SID_AUTO_TUNE_WARNING));
}

void AutoTuningConfirmDialog::OnSetInfo(const kv::String& text) {
  const int32_t before = info_.Bounds().H();
  InitialSetupDialog::OnSetInfo(text);
  const int32_t after = info_.Bounds().H();
  if (after == before) return;
  const kv::Rect b = Bounds();
  OnSetBounds({b.x1, b.y1, b.x2, b.y1 + 2 * FrameWidth + 110 + std::max(before, after)});
}

void AutoTuningConfirmDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  InitialSetupDialog::Initialize(param);
  // From here on the setup does not come back at the next start.
  if (MainApp::InitialSetup* setup = Sequencer.get()) setup->OnSetSetupStep(INITIAL_SETUP_DONE);
}

void AutoTuningConfirmDialog::Refresh() {
  InitialSetupDialog::Refresh();
  const kv::Rect d = divider_.Bounds();
  const kv::Rect i = info_.Bounds();
  info_.OnSetBounds({i.x1, d.y2 + 12, i.x2, d.y2 + 12 + i.H()});
  const int32_t w = Bounds().W();
  const int32_t h = Bounds().H();
  const int32_t y = h - FrameWidth - 50;
  start_.OnSetBounds({(w - kStartWidth) / 2, y, (w - kStartWidth) / 2 + kStartWidth, y + kButtonHeight});
}

// --- AutoTuningDialog ------------------------------------------------------------------

AutoTuningDialog::AutoTuningDialog() {
  FollowGraph(StaticClass());
  // Taller than the page's 210 so that the scan screen's rows fit.
  KeyRoutingForm::OnSetBounds({0, 0, 596, 250});
  OnSetFrameWidth(0);
  HideOwnViews();
  scan_.OnSetIsInitialSetup(true);
  scan_.OnStop = kv::MakeSlot(this, &AutoTuningDialog::DoStop);
  Embed(this, scan_);
}

void AutoTuningDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  InitialSetupDialog::Initialize(param);
  scan_.Initialize(nullptr);
  if (MainApp::InitialSetup* setup = Sequencer.get())
    setup->UpdateHelp(static_cast<int32_t>(kStopHelpMask), Text(Strings::SID_STOP));
}

void AutoTuningDialog::Refresh() {
  InitialSetupDialog::Refresh();
  scan_.OnSetBounds({0, 0, Bounds().W(), Bounds().H()});
}

void AutoTuningDialog::Close() {
  scan_.Close();
  InitialSetupDialog::Close();
}

void AutoTuningDialog::DoStop(kv::Object*) {
  const bool found = scan_.GetFirstPassCount() != 0 || scan_.GetSecondPassCount() != 0;
  NextState = found ? &AutoTuningCompleteDialog::StaticClass() : &AutoTuningErrorDialog::StaticClass();
  NextStep(this);
}

// --- AutoTuningCompleteDialog ----------------------------------------------------------

AutoTuningCompleteDialog::AutoTuningCompleteDialog() {
  FollowGraph(StaticClass());
  // The result screen's own size: the list's eight rows and four headings fit.
  KeyRoutingForm::OnSetBounds({0, 0, Channels::kDialogWidth, 440});
  OnSetFrameWidth(0);
  HideOwnViews();
  result_.OnSetIsInitialSetup(true);
  result_.OnExit = kv::MakeSlot<InitialSetupDialog>(this, &InitialSetupDialog::NextStep);
  result_.OnReturn = kv::MakeSlot<InitialSetupDialog>(this, &InitialSetupDialog::PrevStep);
  Embed(this, result_);
}

void AutoTuningCompleteDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  InitialSetupDialog::Initialize(param);
  result_.Initialize(nullptr);
  if (MainApp::InitialSetup* setup = Sequencer.get())
    setup->UpdateHelp(static_cast<int32_t>(kResultHelpMask),
                      HelpText({Text(Strings::SID_WATCH_TV), Text(Strings::SID_PAGE), Text(Strings::SID_BACK)}));
}

void AutoTuningCompleteDialog::Refresh() {
  InitialSetupDialog::Refresh();
  result_.OnSetBounds({0, 0, Bounds().W(), Bounds().H()});
}

void AutoTuningCompleteDialog::Close() {
  result_.Close();
  InitialSetupDialog::Close();
}

// --- AutoTuningErrorDialog -------------------------------------------------------------

AutoTuningErrorDialog::AutoTuningErrorDialog() {
  FollowGraph(StaticClass());
  SetupStep = INITIAL_SETUP_ABORTABLE;
  KeyRoutingForm::OnSetBounds({0, 0, 596, 186});
  OnSetFrameWidth(0);
  title_.OnSetVisible(false);
  divider_.OnSetVisible(false);
  OnSetInfo(Text(Strings::SID_NO_CHANNELS_WARNING));
  info_.OnSetAutoSize(false);
  info_.OnSetAlignV(1);
  const kv::String help =
      HelpText({Text(Strings::SID_SELECT), Text(Strings::SID_ENTER), Text(Strings::SID_BACK)});
  AddButton(ok_, 0, 0, Text(Strings::SID_OK), true);
  AddButton(exit_, 0, 0, Text(Strings::SID_EXIT), true);
  for (SkinBin::Button* b : {&ok_, &exit_}) {
    b->HelpString = help;
    b->HelpMask = kErrorHelpMask;
  }
}

void AutoTuningErrorDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  InitialSetupDialog::Initialize(param);
  if (SkinBin::Wrapper* w = Channels::Skin()) w->DisplayNoChannel();
}

void AutoTuningErrorDialog::Refresh() {
  InitialSetupDialog::Refresh();
  const int32_t fw = FrameWidth;
  const int32_t w = Bounds().W();
  const int32_t h = Bounds().H();
  info_.OnSetBounds({fw + 20, fw + 20, w - fw - 20, fw + 64});
  // The two buttons side by side, 20 pixels apart, centred as a pair.
  const int32_t x = (w - (2 * kButtonWidth + 20)) / 2;
  const int32_t y = h - fw - 20 - kButtonHeight;
  ok_.OnSetBounds({x, y, x + kButtonWidth, y + kButtonHeight});
  exit_.OnSetBounds({x + kButtonWidth + 20, y, x + 2 * kButtonWidth + 20, y + kButtonHeight});
}

void AutoTuningErrorDialog::NextStep(kv::Object* sender) {
  if (sender == &ok_) {
    // Try again from the tuner choice, one tuner at a time unless chosen again.
    NextState = &TunerSelectDialog::StaticClass();
    if (MainApp::InitialSetup* setup = Sequencer.get()) setup->BothTuners = 0;
  } else if (sender == &exit_) {
    NextState = nullptr;
  }
  InitialSetupDialog::NextStep(sender);
}

}  // namespace InitialSetup
