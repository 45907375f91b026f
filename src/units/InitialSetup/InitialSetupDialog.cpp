#include "units/InitialSetup/InitialSetupDialog.h"

#include <algorithm>
#include <array>

#include "keys/keycodes.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "strings/InitialSetup.h"
#include "strings/Strings.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Channels/ChannelsDialog.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/InitialSetup/ScanPages.h"
#include "units/InitialSetup/SetupPages.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(InitialSetup::InitialSetupDialog);
KV_REGISTER_CLASS(InitialSetup::HelpBar);

namespace InitialSetup {

namespace {

using namespace keys;

constexpr int32_t kTitleHeight = 30;
// The choice buttons: wide enough for the longest choice of every menu
// language ("Sintonizador 1", "Syntoniseur 1").
constexpr int32_t kButtonWidth = 140;
constexpr int32_t kButtonHeight = 27;

// The page graph: each page with the page Back opens and the page OK leads
// to (null: none). The tuner choice leads to the two-tuner page instead when
// both tuners are chosen, the scan page to the result or the error page, the
// error page's buttons to the tuner choice or the end: those pages set their
// NextState themselves.
struct Edge {
  const kv::Class* page;
  const kv::Class* prev;
  const kv::Class* next;
};

const std::array<Edge, 10>& PageGraph() {
  static const std::array<Edge, 10> graph{{
      {&LanguageDialog::StaticClass(), nullptr, &TimeZoneDialog::StaticClass()},
      {&TimeZoneDialog::StaticClass(), &LanguageDialog::StaticClass(), &DaylightSavingDialog::StaticClass()},
      {&DaylightSavingDialog::StaticClass(), &TimeZoneDialog::StaticClass(), &TunerSelectDialog::StaticClass()},
      {&TunerSelectDialog::StaticClass(), &DaylightSavingDialog::StaticClass(), &KXDAntennaCableDialog::StaticClass()},
      {&BothMediumSelectDialog::StaticClass(), &TunerSelectDialog::StaticClass(),
       &AutoTuningConfirmDialog::StaticClass()},
      {&KXDAntennaCableDialog::StaticClass(), &TunerSelectDialog::StaticClass(),
       &AutoTuningConfirmDialog::StaticClass()},
      {&AutoTuningConfirmDialog::StaticClass(), &KXDAntennaCableDialog::StaticClass(),
       &AutoTuningDialog::StaticClass()},
      {&AutoTuningDialog::StaticClass(), nullptr, nullptr},
      {&AutoTuningCompleteDialog::StaticClass(), &TunerSelectDialog::StaticClass(), nullptr},
      {&AutoTuningErrorDialog::StaticClass(), nullptr, nullptr},
  }};
  return graph;
}

}  // namespace

kv::String EnterBackHelp() {
  return HelpText({kv::GetVariantOfString(Strings::SID_ENTER), kv::GetVariantOfString(Strings::SID_BACK)});
}

kv::String HelpText(std::initializer_list<kv::String> parts) { return Channels::Join(kv::LoadString(HELP_SEPARATOR), parts); }

// --- InitialSetupDialog -------------------------------------------------------------------

InitialSetupDialog::InitialSetupDialog() {
  WinID = WinIDs::WIN_ID_OutOfBox;
  Layer = 2;
  SetupStep = INITIAL_SETUP_START;
  // The setup waits for the viewer.
  OnSetTimeOutValue(0);
  background_.OnSetBitmap(Resources::LoadResource(Bitmaps::MiniGuideBackground));
  divider_.OnSetBitmap(Resources::LoadResource(Bitmaps::PopUpDivider));
  title_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  title_.OnSetColor(Colors::TitleTextColor);
  title_.OnSetAlignV(1);
  title_.OnSetEllipsis(true);
  info_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  info_.OnSetColor(Colors::StandardTextColor);
  info_.OnSetAlignV(0);
  info_.OnSetEllipsis(true);
  Add(&background_);
  Add(&title_);
  Add(&divider_);
  Add(&info_);
}

void InitialSetupDialog::FollowGraph(const kv::Class& page) {
  for (const Edge& e : PageGraph())
    if (e.page == &page) {
      PrevState = e.prev;
      NextState = e.next;
      return;
    }
}

void InitialSetupDialog::OnSetBounds(kv::Rect bounds) {
  const kv::Rect old = Bounds();
  MainApp::InitialSetupPage::OnSetBounds(bounds);
  if (old.W() != bounds.W() || old.H() != bounds.H())
    kv::PostSignal(kv::MakeSlot(this, &InitialSetupDialog::RefreshSlot));
}

void InitialSetupDialog::Refresh() {
  MainApp::InitialSetupPage::Refresh();
  const int32_t fw = FrameWidth;
  const int32_t w = Bounds().W();
  const int32_t h = Bounds().H();
  background_.OnSetBounds({0, 0, w, h});
  const kv::Rect title{fw + 11, fw + 7, fw + 11 + std::max(0, w - 2 * fw - 22), fw + 7 + kTitleHeight};
  title_.OnSetBounds(title);
  divider_.OnSetBounds({fw + 5, title.y2, fw + 5 + std::max(0, w - 2 * fw - 10), title.y2 + 2});
  // The explanation keeps the height of its lines.
  const int32_t top = title.y2 + 26;
  const int32_t height = std::max(info_.Bounds().H(), 1);
  info_.OnSetBounds({fw + 24, top, fw + 24 + std::max(1, w - 2 * (fw + 24)), top + height});
}

void InitialSetupDialog::EndInfoAt(int32_t right) {
  const kv::Rect b = info_.Bounds();
  info_.OnSetBounds({b.x1, b.y1, std::max(b.x1 + 1, right), b.y2});
}

void InitialSetupDialog::HideOwnViews() {
  for (Core::View* v : std::initializer_list<Core::View*>{&background_, &divider_, &title_, &info_}) v->OnSetVisible(false);
}

void InitialSetupDialog::Open() {
  MainApp::InitialSetupPage::Open();
  if (Core::View* first = FirstControl(); first && IsOpen() && OnGetFocus() != first) OnSetFocus(first);
  if (!IsOpen()) return;
  auto* wm = kv::GetAutoObject<::WidgetManager::WidgetManager>(MainApp::WidgetManager);
  auto* bar = kv::Cast<HelpBar>(wm->FindForm(WinIDs::WIN_ID_HelpBar));
  if (!bar || !bar->IsOpen()) return;
  // Only a button or check box has keys to put up (the base's DoFocus);
  // the scan and result pages put up their own in Initialize.
  InitialSetupDialog::DoFocus(OnGetFocus());
}

void InitialSetupDialog::OnSetTitle(const kv::String& text) {
  Title = text;
  title_.OnSetString(text);
}

void InitialSetupDialog::OnSetInfo(const kv::String& text) {
  Info = text;
  // The explanation wraps at its width and is as high as its lines.
  info_.OnSetAutoSize(true);
  info_.OnSetString(text);
}

void InitialSetupDialog::OnSetFrameWidth(int32_t w) {
  FrameWidth = w;
  const int32_t shrink = 2 * (kDefaultFrameWidth - w);
  const kv::Rect b = Bounds();
  OnSetBounds({b.x1, b.y1, b.x2 - shrink, b.y2 - shrink});
  kv::PostSignal(kv::MakeSlot(this, &InitialSetupDialog::RefreshSlot));
}

void InitialSetupDialog::AddButton(SkinBin::Button& b, int32_t x, int32_t y, const kv::String& text, bool focusHelp) {
  b.OnSetBounds({x, y, x + kButtonWidth, y + kButtonHeight});
  b.OnSetText(text);
  b.OnSetTextEllipsis(true);
  b.HelpString = EnterBackHelp();
  b.HelpMask = kEnterBackMask;
  b.OnActivate = kv::MakeSlot(this, &InitialSetupDialog::NextStep);
  if (focusHelp) b.OnFocus = kv::MakeSlot(this, &InitialSetupDialog::DoFocus);
  Add(&b);
}

kv::Object* InitialSetupDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key) return MainApp::InitialSetupPage::HandleEvent(event);
  if (!key->Down) return MainApp::InitialSetupPage::HandleEvent(event);
  switch (key->Code) {
    case KEY_OK:
      NextStep(this);
      break;
    case KEY_EXIT:
    case KEY_EXIT_ALT:
      // Only from the scan confirmation on may the viewer leave the setup.
      if (SetupStep >= INITIAL_SETUP_ABORTABLE) {
        NextState = nullptr;
        NextStep(this);
      }
      break;
    case KEY_UP:
      SelectUpper();
      break;
    case KEY_DOWN:
      SelectLower();
      break;
    case KEY_LEFT:
      SelectLeft();
      break;
    case KEY_RIGHT:
      SelectRight();
      break;
    case KEY_BACK:
      PrevStep(this);
      break;
    default:
      break;
  }
  return this;
}

void InitialSetupDialog::NextStep(kv::Object*) {
  kv::PostSignal(kv::MakeSlot(this, &InitialSetupDialog::SignalNext));
}

void InitialSetupDialog::SignalNext(kv::Object*) {
  // A page closed in the meantime (standby) moves nothing on.
  if (IsOpen()) kv::Signal(OnNextStep, this);
}

void InitialSetupDialog::PrevStep(kv::Object*) {
  if (PrevState) kv::PostSignal(kv::MakeSlot(this, &InitialSetupDialog::SignalPrev));
}

void InitialSetupDialog::SignalPrev(kv::Object*) {
  if (IsOpen()) kv::Signal(OnPrevStep, this);
}

void InitialSetupDialog::SetupDone(kv::Object*) { kv::Signal(OnCompleteSetup, this); }

void InitialSetupDialog::AbortSetup(kv::Object*) { kv::Signal(OnAbortSetup, this); }

void InitialSetupDialog::DoFocus(kv::Object* control) {
  MainApp::InitialSetup* setup = Sequencer.get();
  if (!setup) return;
  if (auto* b = kv::Cast<SkinBin::Button>(control)) {
    setup->UpdateHelp(static_cast<int32_t>(b->HelpMask), b->HelpString);
  } else if (auto* c = kv::Cast<SkinBin::CheckBoxWithCaption>(control)) {
    setup->UpdateHelp(static_cast<int32_t>(c->HelpMask), c->HelpString);
  }
}

// --- HelpBar ---------------------------------------------------------------------------

HelpBar::HelpBar() { SubSystemClass = &MainApp::InitialSetup::StaticClass(); }

}  // namespace InitialSetup
