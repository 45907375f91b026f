// The non-menu sub-system and its screen bases driven through the whole
// system: opening, placing and handing over screens, the standard keys and
// time-outs, the help bar, the waiting circle and the screen saver.
#include <gtest/gtest.h>

#include <string>

#include "nonmenusystem_support.h"
#include "ge/surface.h"
#include "runtime/member.h"
#include "runtime/runtime.h"
#include "runtime/text.h"
#include "strings/NonMenuSystem.h"
#include "strings/Strings.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Constants/Constants.h"
#include "units/Events/PVRRecordStatusEvent.h"
#include "units/NonMenuSystem/HelpBar.h"
#include "units/NonMenuSystem/ScreenSaverWindow.h"
#include "units/NonMenuSystem/WaitingCircle.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SubSystem/State.h"
#include "units/SubSystem/SubSystemClass.h"

namespace livetvtest {

// A plain screen, 380 x 250, layer 32.
class Plain : public NonMenuSystem::WidgetClass {
  KV_CLASS(livetvtest, Plain, NonMenuSystem::WidgetClass)
 public:
  Plain() {
    WinID = 0x020000f1;
    KeyRoutingForm::OnSetBounds({0, 0, 380, 250});
  }
};
KV_REGISTER_CLASS(livetvtest::Plain);

// A captioned dialog on layer 64.
class Captioned : public NonMenuSystem::KXDWidgetClass {
  KV_CLASS(livetvtest, Captioned, NonMenuSystem::KXDWidgetClass)
 public:
  Captioned() {
    WinID = 0x020000f2;
    Layer = 64;
  }
  kv::Rect CaptionRect() const { return caption_.Bounds(); }
  kv::Rect DividerRect() const { return divider_.Bounds(); }
};
KV_REGISTER_CLASS(livetvtest::Captioned);

// A bordered dialog on layer 128.
class Bordered : public NonMenuSystem::BorderWidgetClass {
  KV_CLASS(livetvtest, Bordered, NonMenuSystem::BorderWidgetClass)
 public:
  Bordered() {
    WinID = 0x020000f3;
    Layer = 128;
  }
};
KV_REGISTER_CLASS(livetvtest::Bordered);

// Another sub-system and a screen of it: the non-menu sub-system hands such
// screens over.
class OtherSub : public SubSystem::SubSystemClass {
  KV_CLASS(livetvtest, OtherSub, SubSystem::SubSystemClass)
 public:
  OtherSub() = default;
  void HandleMessage(Structures::Message* msg) override {
    if (msg->Code == Constants::MSG_CHANGE_STATE) Received = kv::Cast<SubSystem::State>(msg->ObjParam.get());
  }
  kv::Member<SubSystem::State> Received;
};
KV_REGISTER_CLASS(livetvtest::OtherSub);

class ForeignForm : public Primitives::KeyRoutingForm {
  KV_CLASS(livetvtest, ForeignForm, Primitives::KeyRoutingForm)
 public:
  ForeignForm() { SubSystemClass = &OtherSub::StaticClass(); }
};
KV_REGISTER_CLASS(livetvtest::ForeignForm);

class NonMenuSystemTest : public LiveTVTest {
 protected:
  template <class T>
  T* OpenScreen(int32_t code = Constants::MSG_FROM_NONMENUSYSTEM, const kv::Class* prev = nullptr) {
    kv::Persistent<SkinBin::UserRefInt> ref = kv::New<SkinBin::UserRefInt>();
    ref->Code = code;
    kv::Persistent<SubSystem::State> state = kv::New<SubSystem::State>();
    state->Class = &T::StaticClass();
    state->Param = ref;
    state->PrevState = prev;
    auto* form = kv::Cast<T>(Nms()->ChangeState(state));
    Settle();
    return form;
  }
  bool IsOpenForm(const kv::Class* cls) {
    for (auto* f : OpenForms())
      if (f->KvClass() == cls) return true;
    return false;
  }
};

TEST_F(NonMenuSystemTest, TheActiveApplicationHoldsTheFocusedSubSystem) {
  ASSERT_NE(App2(), nullptr);
  ASSERT_NE(Nms(), nullptr);
  EXPECT_EQ(App().OnGetFocus(), App2());
  EXPECT_EQ(App2()->OnGetFocus(), Nms());
  EXPECT_EQ(Nms()->Bounds(), (kv::Rect{0, 0, 960, 540}));
  EXPECT_TRUE(kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->IsRegistered(Nms()));
  EXPECT_FALSE(Nms()->ClearWaitingCircleTimer().IsEnabled());
  EXPECT_FALSE(Nms()->TimerStandbyTimer().IsEnabled());
  // A second wake-up keeps the one active application.
  Press("power", 2);
  int apps = 0;
  for (int32_t i = 0; i < App().GetChildCount(); ++i) apps += kv::Cast<MainApp::ActiveApp>(App().GetChild(i)) ? 1 : 0;
  EXPECT_EQ(apps, 1);
}

TEST_F(NonMenuSystemTest, ChangeStatePlacesOpensFocusesOrHandsOver) {
  kv::Persistent<Plain> centred = OpenScreen<Plain>();
  ASSERT_NE(centred, nullptr);
  EXPECT_EQ(centred->Bounds(), (kv::Rect{290, 127, 670, 377}));
  EXPECT_TRUE(centred->IsOpen());
  EXPECT_EQ(Nms()->OnGetFocus(), centred);
  EXPECT_EQ(centred->OnGetNonMenuSystem(), Nms());

  // WidgetOrigin (0, 0): the top-left corner; a reused instance opens again.
  centred->Close();
  centred->WidgetOrigin = {0, 0};
  kv::Persistent<SubSystem::State> state = kv::New<SubSystem::State>();
  state->Class = &Plain::StaticClass();
  state->Instance = centred;
  state->PrevState = &Captioned::StaticClass();
  EXPECT_EQ(Nms()->ChangeState(state), centred);
  EXPECT_EQ(centred->Bounds(), (kv::Rect{0, 0, 380, 250}));
  EXPECT_EQ(centred->PrevState, &Captioned::StaticClass());
  // A PrevState the screen has is kept.
  state->PrevState = &Bordered::StaticClass();
  EXPECT_EQ(Nms()->ChangeState(state), centred);
  EXPECT_EQ(centred->PrevState, &Captioned::StaticClass());

  // A screen of another sub-system is handed over and not opened here.
  kv::Persistent<OtherSub> other = kv::New<OtherSub>();
  auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent);
  agent->Register(other.get());
  kv::Persistent<SubSystem::State> foreign = kv::New<SubSystem::State>();
  foreign->Class = &ForeignForm::StaticClass();
  Primitives::KeyRoutingForm* form = Nms()->ChangeState(foreign);
  ASSERT_NE(form, nullptr);
  EXPECT_FALSE(form->Owner());
  ASSERT_TRUE(other->Received);
  EXPECT_EQ(other->Received->Instance.get(), form);
  agent->UnRegister(other.get());

  // A class that does not exist yet opens nothing, and says nothing.
  Log().Clear();
  EXPECT_EQ(Nms()->Open(KV_LATE_CLASS("NonMenuSystem::NoSuchScreen")), nullptr);
  EXPECT_EQ(Nms()->ChangeState(nullptr), nullptr);
  EXPECT_FALSE(Logged("rror"));
}

TEST_F(NonMenuSystemTest, MessagesFocusQuickMenuIndexesAndBanner) {
  App2()->OnSetFocus(nullptr);
  Send(Constants::MSG_CHANGE_APPEARANCE, Constants::APPEARANCE_VISIBLE);
  EXPECT_EQ(App2()->OnGetFocus(), nullptr);
  Send(Constants::MSG_CHANGE_APPEARANCE, Constants::APPEARANCE_FOCUS);
  EXPECT_EQ(App2()->OnGetFocus(), Nms());
  // MSG_CHANGE_STATE focuses the sub-system and opens the state.
  App2()->OnSetFocus(nullptr);
  kv::Persistent<SubSystem::State> state = kv::New<SubSystem::State>();
  state->Class = &Plain::StaticClass();
  Send(Constants::MSG_CHANGE_STATE, -1, state);
  EXPECT_EQ(App2()->OnGetFocus(), Nms());
  EXPECT_TRUE(IsOpenForm(&Plain::StaticClass()));
  // Unknown codes and a missing message change nothing.
  Send(0x1f00ff);
  Nms()->HandleMessage(nullptr);
  EXPECT_TRUE(IsOpenForm(&Plain::StaticClass()));

  Nms()->SetQuickMenuIndex(3, 7);
  Nms()->SetQuickMenuIndex(16, 9);
  EXPECT_EQ(Nms()->GetQuickMenuIndex(3), 7);
  EXPECT_EQ(Nms()->GetQuickMenuIndex(15), 0);
  EXPECT_EQ(Nms()->GetQuickMenuIndex(16), 0);

  // The banner's memory: a non-tuner source is remembered once, force keeps it.
  const int32_t hdmi = W()->GetSourceByType(0, Constants::XPM_SOURCE_TYPE_AV_HDMI, 1);
  ASSERT_GE(hdmi, 0);
  Nms()->ShowInfoBar(false, hdmi);
  EXPECT_EQ(Nms()->BannerSource, hdmi);
  EXPECT_EQ(Nms()->BannerChannel, 0);
  Nms()->ShowInfoBar(true, -1);
  EXPECT_EQ(Nms()->BannerSource, hdmi);
}

TEST_F(NonMenuSystemTest, StandardKeysAndTimeOuts) {
  kv::Persistent<Captioned> captioned = OpenScreen<Captioned>();
  kv::Persistent<Plain> plain = OpenScreen<Plain>();
  ASSERT_TRUE(captioned && plain);
  // Arrows are consumed and restart the time-out; back without PrevState
  // closes that screen only.
  Run(5000);
  Press("up");
  Run(5000);
  EXPECT_TRUE(plain->IsOpen());
  Press("back");
  EXPECT_FALSE(plain->IsOpen());
  EXPECT_TRUE(captioned->IsOpen());
  // Exit closes every screen outside the menu.
  OpenScreen<Plain>();
  Press("exit");
  EXPECT_TRUE(OpenForms().empty());

  // 6000 ms for a plain screen (its time-out closes everything), 15000 for a
  // captioned one, 60000 when opened from the menu.
  OpenScreen<Captioned>();
  kv::Persistent<Plain> timed = OpenScreen<Plain>();
  Run(5900);
  EXPECT_TRUE(timed->IsOpen());
  Run(200);
  EXPECT_TRUE(OpenForms().empty());
  kv::Persistent<Captioned> kxd = OpenScreen<Captioned>();
  EXPECT_EQ(kxd->TimeOutValue, NonMenuSystem::kCaptionedTimeOut);
  Run(14900);
  EXPECT_EQ(OpenForms().size(), 1u);
  Run(200);
  EXPECT_TRUE(OpenForms().empty());
  kv::Persistent<Plain> fromMenu = OpenScreen<Plain>(Constants::MSG_FROM_MENUSYSTEM);
  EXPECT_TRUE(fromMenu->MenuTriggered);
  Run(59000);
  EXPECT_TRUE(fromMenu->IsOpen());
  Run(1100);
  EXPECT_FALSE(fromMenu->IsOpen());
  fromMenu->OnSetMenuTriggered(false);
  EXPECT_EQ(fromMenu->TimeOutValue, NonMenuSystem::kMenuTriggeredTimeOut);

  // A persistent screen's time-out stops while another has the focus; a
  // non-persistent one keeps running.
  kv::Persistent<Plain> persistent = OpenScreen<Plain>();
  kv::Persistent<Captioned> other = OpenScreen<Captioned>();
  EXPECT_FALSE(persistent->IsTimeoutRunning());
  Nms()->OnSetFocus(persistent);
  persistent->IsPersistent = false;
  Nms()->OnSetFocus(other);
  EXPECT_TRUE(persistent->IsTimeoutRunning());
}

TEST_F(NonMenuSystemTest, NextAndPreviousStatesCarryTheTransitionCode) {
  // Opened from the quick menu, Back opens the previous screen "from the quick menu".
  kv::Persistent<Captioned> dialog = OpenScreen<Captioned>(Constants::MSG_FROM_QUICKMENU, &Plain::StaticClass());
  EXPECT_TRUE(dialog->OpenedFromQuickMenu());
  EXPECT_FALSE(dialog->IsShortcut);
  Press("back");
  EXPECT_FALSE(dialog->IsOpen());
  kv::Persistent<Plain> back = kv::Cast<Plain>(Nms()->OnGetFocus());
  ASSERT_NE(back, nullptr);
  EXPECT_TRUE(back->OpenedFromQuickMenu());
  // EnterNextState: this class becomes the previous state of the next one.
  back->NextState = &Bordered::StaticClass();
  back->EnterNextState();
  Settle();
  kv::Persistent<Bordered> next = kv::Cast<Bordered>(Nms()->OnGetFocus());
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->PrevState, &Plain::StaticClass());
  EXPECT_EQ(next->Bounds().W(), 450);
  // A shortcut returns to the menu: it closes and clears the help bar.
  Nms()->UpdateHelp(0x200, KV_STR(u"OK"));
  Settle();
  next->IsShortcut = true;
  Press("back");
  EXPECT_TRUE(OpenForms().empty());
}

TEST_F(NonMenuSystemTest, CaptionedDialogLayoutAndFrameWidth) {
  kv::Persistent<Captioned> c = OpenScreen<Captioned>();
  EXPECT_EQ(c->Bounds().W(), 380);
  EXPECT_EQ(c->CaptionRect(), (kv::Rect{45, 41, 335, 71}));
  EXPECT_EQ(c->DividerRect(), (kv::Rect{39, 71, 341, 73}));
  c->OnSetFrameWidth(34);
  EXPECT_EQ(c->Bounds().W(), 380);
  c->OnSetFrameWidth(30);
  Settle();
  EXPECT_EQ(c->Bounds().W(), 372);
  EXPECT_EQ(c->Bounds().H(), 242);
  c->OnSetHasCaption(false);
  c->OnSetCaption(KV_STR(u"Title"));
  Settle();
  EXPECT_EQ(c->OnGetCaption(), KV_STR(u"Title"));
  // The frame is drawn: the dialog's middle is not transparent.
  const ge::Surface& osd = Osd();
  const kv::Rect b = c->GetAbsoluteBounds();
  EXPECT_GT(osd.Row(b.y1 + b.H() / 2)[b.x1 + b.W() / 2] >> 24, 0u);
}

TEST_F(NonMenuSystemTest, HelpBarMasksTextsAndLanguage) {
  Nms()->UpdateHelp(0x200, kv::GetVariantOfString(Strings::SID_ENTER));
  Settle();
  kv::Persistent<NonMenuSystem::HelpBar> bar = kv::Cast<NonMenuSystem::HelpBar>(Wm()->FindForm(0x2000007));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->Bounds(), (kv::Rect{0, 503, 960, 540}));
  EXPECT_EQ(bar->GetParsedCount(), 1);
  EXPECT_NE(Nms()->OnGetFocus(), bar) << "the help bar never takes the focus";
  auto buttons = [&] {
    std::vector<NonMenuSystem::HelpButton*> out;
    for (int32_t i = 0; i < bar->GetChildCount(); ++i)
      if (auto* b = kv::Cast<NonMenuSystem::HelpButton>(bar->GetChild(i))) out.push_back(b);
    return out;
  };
  ASSERT_EQ(buttons().size(), 1u);
  NonMenuSystem::HelpButton* ok = buttons()[0];
  EXPECT_EQ(ok->OnGetIcon(), Resources::LoadResource(Bitmaps::HelpBarOk));
  const int32_t w = ok->Bounds().W();
  EXPECT_GT(w, 28 + 3);
  EXPECT_EQ(ok->Bounds().x1, (960 + 14 - (w + 14)) / 2);
  // The bar is drawn: its background darkens the bottom row of the screen.
  EXPECT_GT(Osd().Row(520)[5] >> 24, 0u);
  // The same keys with another text (a slide show's "Single View" for
  // "Slide Show"): the button says it.
  Nms()->UpdateHelp(0x200, KV_STR(u"Play"));
  Settle();
  ASSERT_EQ(buttons().size(), 1u);
  EXPECT_EQ(buttons()[0]->OnGetText(), KV_STR(u"Play"));

  // The short bar; fewer texts than bits; bits 20 to 27 have no icon; 29 to 31 are ignored.
  Nms()->UpdateHelp((1 << 28) | (1 << 0) | (1 << 12) | (1 << 20) | (1 << 30), KV_STR(u"Move,Delete"));
  Settle();
  EXPECT_EQ(bar->Bounds(), (kv::Rect{660, 498, 955, 535}));
  ASSERT_EQ(buttons().size(), 3u);
  EXPECT_EQ(buttons()[0]->OnGetText(), KV_STR(u"Move"));
  EXPECT_EQ(buttons()[1]->OnGetIcon(), Resources::LoadResource(Bitmaps::HelpBarRedBall));
  EXPECT_EQ(buttons()[2]->OnGetText().Length(), 0);
  EXPECT_EQ(buttons()[2]->OnGetIcon(), nullptr);
  EXPECT_EQ(NonMenuSystem::HelpBar::IconOf(19), &Bitmaps::HelpBarExit);
  EXPECT_EQ(NonMenuSystem::HelpBar::IconOf(20), nullptr);

  // A language change resets the texts to the default in the new language.
  kv::SetLanguage(1);
  Run(100);
  ASSERT_EQ(buttons().size(), 3u);
  EXPECT_EQ(bar->HelpStringList, kv::GetVariantOfString(Strings::SID_ENTER));
  EXPECT_EQ(buttons()[0]->OnGetText(), KV_STR(u"Entrer"));
  kv::SetLanguage(0);
  Run(100);

  // No time-out; cleared by MSG_CLEAR_HELP_BAR.
  Run(70000);
  EXPECT_TRUE(bar->IsOpen());
  Nms()->ClearHelpBar();
  Settle();
  EXPECT_FALSE(bar->IsOpen());
}

TEST_F(NonMenuSystemTest, WaitingCircleShowsHidesAndGoes) {
  Send(Constants::MSG_SHOW_WAITING_CIRCLE, NonMenuSystem::WAITING_SHOW);
  kv::Persistent<NonMenuSystem::WaitingCircle> circle = Nms()->GetWaitingCircle();
  ASSERT_NE(circle, nullptr);
  EXPECT_EQ(circle->Bounds(), (kv::Rect{904, 20, 940, 56}));
  EXPECT_EQ(W()->AnimationCount, 1);
  Nms()->ShowWaitingCircle(NonMenuSystem::WAITING_HIDE, 1);
  EXPECT_FALSE(circle->IsVisible());
  EXPECT_EQ(W()->AnimationCount, 0);
  circle->OnSetBounds({800, 20, 836, 56});
  Nms()->ShowWaitingCircle(NonMenuSystem::WAITING_SHOW, NonMenuSystem::WAITING_KIND_RECORD_FLAG);
  EXPECT_TRUE(circle->IsVisible());
  EXPECT_EQ(circle->Bounds().x1, 800) << "showing a hidden circle keeps its place and image";
  Nms()->ShowWaitingCircle(NonMenuSystem::WAITING_SHOW, 1);
  EXPECT_EQ(W()->AnimationCount, 1) << "a visible circle only moves to the top";
  // MSG_CLEAR_ALL removes it at once.
  Nms()->ClearAll();
  EXPECT_EQ(Nms()->GetWaitingCircle(), nullptr);
  EXPECT_EQ(W()->AnimationCount, 0);

  // Recording status 2: the record flag at the top right for 5000 ms.
  kv::Persistent<Events::PVRRecordStatusEvent> started = kv::New<Events::PVRRecordStatusEvent>();
  started->Status = 2;
  EXPECT_EQ(Dispatch(started), Nms());
  circle = Nms()->GetWaitingCircle();
  ASSERT_NE(circle, nullptr);
  EXPECT_EQ(circle->OnGetWaitingImage(), NonMenuSystem::WaitingCircle::RecordFlagImage());
  EXPECT_EQ(circle->Bounds(), (kv::Rect{912, 20, 940, 48}));
  Run(4900);
  EXPECT_NE(Nms()->GetWaitingCircle(), nullptr);
  Run(200);
  EXPECT_EQ(Nms()->GetWaitingCircle(), nullptr);
  // Status 13 as well; status 3 removes it at once with message 40.
  started->Status = 13;
  Dispatch(started);
  EXPECT_NE(Nms()->GetWaitingCircle(), nullptr);
  kv::Persistent<Events::PVRRecordStatusEvent> stopped = kv::New<Events::PVRRecordStatusEvent>();
  stopped->Status = 3;
  Dispatch(stopped);
  Settle();
  EXPECT_EQ(Nms()->GetWaitingCircle(), nullptr);
  EXPECT_EQ(BarType(), 40);
}

TEST_F(NonMenuSystemTest, ScreenSaverMovesEndsOnAKeyAndOpensAgain) {
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    Send(Constants::MSG_ENTER_SCREEN_SAVER);
    kv::Persistent<NonMenuSystem::ScreenSaverWindow> saver = Nms()->GetScreenSaver();
    ASSERT_NE(saver, nullptr) << "a screen saver opens every time it is asked for";
    EXPECT_EQ(saver->Bounds(), (kv::Rect{0, 0, 960, 540}));
    EXPECT_FALSE(saver->IsShortcut);
    EXPECT_FALSE(saver->ReturnToPrevious);
    EXPECT_EQ(saver->Logo().Bounds().x1, 110);
    EXPECT_EQ(W()->AnimationCount, 1);
    // The logo fades out over 32 frames of 50 ms, then jumps and fades in.
    Run(800);
    EXPECT_LT(saver->Logo().OnGetOpacity(), 255);
    Run(900);
    EXPECT_FALSE(saver->FadingOut());
    Run(1700);
    EXPECT_TRUE(saver->FadingOut());
    // It has no time-out: it stays until a key or MSG_EXIT_SCREEN_SAVER.
    Run(10000);
    ASSERT_EQ(Nms()->GetScreenSaver(), saver);
    EXPECT_EQ(saver->BackgroundColor(), NonMenuSystem::kWidgetBackground);
    EXPECT_EQ(Osd().Row(530)[950], 0xff000000u | (11u << 16) | (10u << 8) | 9u) << "the background covers the screen";
    if (round == 2) {
      Send(Constants::MSG_EXIT_SCREEN_SAVER);
    } else {
      ClearCallLog();
      Press("vol+");
      EXPECT_TRUE(Calls("XPM_SetVolume").empty()) << "the key is not passed on";
    }
    EXPECT_EQ(Nms()->GetScreenSaver(), nullptr);
    EXPECT_TRUE(OpenForms().empty());
    EXPECT_EQ(W()->AnimationCount, 0);
  }
}

TEST_F(NonMenuSystemTest, ScreenSaverColourAndAFullWindowLogo) {
  auto* data = kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
  data->PutString(NonMenuSystem::KEY_SCREEN_SAVER_COLOR, KV_STR(u"0x255000128"));
  Send(Constants::MSG_ENTER_SCREEN_SAVER);
  kv::Persistent<NonMenuSystem::ScreenSaverWindow> saver = Nms()->GetScreenSaver();
  ASSERT_NE(saver, nullptr);
  EXPECT_EQ(saver->BackgroundColor(), (kv::Color{255, 0, 128, 255}));
  // Fields out of range, missing or not numbers leave the colour as it is.
  for (const char* bad : {"0x300000000", "0x255000", "", "0xab0000000"}) {
    EXPECT_FALSE(saver->ApplyColorText(kv::NewStringAnsi(bad)));
    EXPECT_EQ(saver->BackgroundColor(), (kv::Color{255, 0, 128, 255}));
  }
  // A logo as large as the window jumps to (0, 0).
  saver->Logo().OnSetAutoSize(false);
  saver->Logo().OnSetBounds({5, 5, 965, 545});
  saver->MoveSlot0();
  EXPECT_EQ(saver->Logo().Bounds(), (kv::Rect{0, 0, 960, 540}));
  Nms()->ExitScreenSaver();
  // A default-coloured saver next time: nothing stored.
  data->PutString(NonMenuSystem::KEY_SCREEN_SAVER_COLOR, kv::String());
  Send(Constants::MSG_ENTER_SCREEN_SAVER);
  ASSERT_NE(Nms()->GetScreenSaver(), nullptr);
  EXPECT_EQ(Nms()->GetScreenSaver()->BackgroundColor(), NonMenuSystem::kWidgetBackground);
}

TEST_F(NonMenuSystemTest, ScreensOpenedAndClosedFiftyTimesReturnToTheBaseline) {
  kv::Runtime::SetCollectEveryPass(true);
  Settle();
  const auto before = Census();
  for (int i = 0; i < 50; ++i) {
    Nms()->ShowMessage(4 + i % 40);
    Nms()->UpdateHelp(0x3ff, KV_STR(u"a,b,c"));
    Send(Constants::MSG_ENTER_SCREEN_SAVER);
    Nms()->ShowWaitingCircle(NonMenuSystem::WAITING_SHOW, 1);
    Settle();
    Press("exit");
    Nms()->ClearAll();
    Settle();
  }
  Run(100);
  const auto after = Census();
  for (const char* cls : {"NonMenuSystem::DirectMessageBar", "NonMenuSystem::HelpBar", "NonMenuSystem::HelpButton",
                          "NonMenuSystem::ScreenSaverWindow", "NonMenuSystem::WaitingCircle"}) {
    const size_t b = before.count(cls) ? before.at(cls) : 0;
    const size_t a = after.count(cls) ? after.at(cls) : 0;
    EXPECT_EQ(a, b) << cls;
  }
}

}  // namespace livetvtest
