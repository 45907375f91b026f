// The bars over the picture, driven through the whole system: the volume and
// mute bars by the remote keys, the adjustment bars and the toggle overlay
// by the state changes that open them, each step checked at the set.
#include <string>

#include "nonmenusystem_support.h"
#include "platform/sim/sim_net_state.h"
#include "platform/sim/sim_tv_state.h"
#include "runtime/slot.h"
#include "units/Constants/Constants.h"
#include "units/Bitmaps/BarBitmaps.h"
#include "units/Core/Event.h"
#include "units/Resources/Resources.h"
#include "units/NonMenuSystem/AdjustmentBar.h"
#include "units/NonMenuSystem/ToggleOptionOverlay.h"
#include "units/NonMenuSystem/VolumeMuteBar.h"
#include "units/OptionDatabase/OptionTypes.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "runtime/runtime.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/SubSystem/State.h"
#include "strings/SkinBinWrapper.h"

namespace livetvtest {

// The page a bar returns to: it keeps the parameter it was opened with.
class BarOpener : public NonMenuSystem::WidgetClass {
  KV_CLASS(livetvtest, BarOpener, NonMenuSystem::WidgetClass)
 public:
  void Initialize(Primitives::KeyRoutingParameter* param) override {
    WidgetClass::Initialize(param);
    Received = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr;
  }
  kv::Member<SkinBin::UserRefInt> Received;
};
KV_REGISTER_CLASS(livetvtest::BarOpener);

class BarsTest : public LiveTVTest {
 protected:
  SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(W()); }

  template <class T>
  T* OpenBar(int32_t option, int32_t code = Constants::MSG_FROM_NONMENUSYSTEM, const kv::Class* prev = nullptr,
             uint8_t flag = 0) {
    kv::Persistent<SkinBin::UserRefInt> ref = kv::New<SkinBin::UserRefInt>();
    ref->Value = option;
    ref->Code = code;
    ref->Flag = flag;
    kv::Persistent<SubSystem::State> state = kv::New<SubSystem::State>();
    state->Class = &T::StaticClass();
    state->Param = ref;
    state->PrevState = prev;
    auto* form = kv::Cast<T>(Nms()->ChangeState(state));
    Settle();
    return form;
  }
  template <class T>
  T* Open() {
    for (auto* f : OpenForms())
      if (f->KvClass() == &T::StaticClass()) return static_cast<T*>(f);
    return nullptr;
  }
  bool BasicPictureMarked() { return Skin()->IsOptionChanged(SkinBinWrapper::GROUP_BASIC_PICTURE); }
  void ClearMarks() { Skin()->SetOptionChange(SkinBinWrapper::GROUP_BASIC_PICTURE, false); }
};

TEST_F(BarsTest, VolumeKeysStepTheVolumeAndTheBarTimesOut) {
  Settle();
  const int32_t before = W()->OnGetVolume();
  ClearCallLog();
  Press("vol+");
  auto* bar = Open<NonMenuSystem::CommonVolumeBar>();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(W()->OnGetVolume(), before + 1);
  EXPECT_EQ(bar->Slider().OnGetValue(), before + 1);
  EXPECT_EQ(bar->Number().OnGetString(), kv::NewStringInt(before + 1, 0));
  EXPECT_EQ(Calls("XPM_SetVolume").size(), 1u);
  Press("vol-", 2);
  EXPECT_EQ(W()->OnGetVolume(), before - 1);
  // At the top the value stays and is written again.
  W()->OnSetVolume(bar->Slider().OnGetMax());
  Press("exit");
  Settle();
  EXPECT_EQ(Open<NonMenuSystem::CommonVolumeBar>(), nullptr);
  Press("vol+");
  bar = Open<NonMenuSystem::CommonVolumeBar>();
  ASSERT_NE(bar, nullptr);
  const size_t writes = Calls("XPM_SetVolume").size();
  Press("vol+");
  EXPECT_EQ(W()->OnGetVolume(), bar->Slider().OnGetMax());
  EXPECT_EQ(Calls("XPM_SetVolume").size(), writes + 1);
  // 2000 ms without a key closes it.
  Run(1900);
  EXPECT_NE(Open<NonMenuSystem::CommonVolumeBar>(), nullptr);
  Run(300);
  EXPECT_EQ(Open<NonMenuSystem::CommonVolumeBar>(), nullptr);
}

TEST_F(BarsTest, MuteStepsThroughItsChoicesAndTheKeysReplaceTheBars) {
  Settle();
  Press("vol+");
  ASSERT_NE(Open<NonMenuSystem::CommonVolumeBar>(), nullptr);
  ClearCallLog();
  // Mute on the volume bar replaces it by the mute bar and toggles once.
  Press("mute");
  EXPECT_EQ(Open<NonMenuSystem::CommonVolumeBar>(), nullptr);
  auto* mute = Open<NonMenuSystem::CommonMuteBar>();
  ASSERT_NE(mute, nullptr);
  EXPECT_EQ(mute->MuteIndex, 1);
  EXPECT_EQ(W()->OnGetMute(), 1);
  EXPECT_FALSE(Calls("XPM_SetMute").empty());
  EXPECT_EQ(mute->Image().OnGetBitmap(), Resources::LoadResource(Bitmaps::FullMuteImage));
  // Back at the first choice the bar closes at once.
  const int32_t count = mute->Count;
  for (int32_t i = 1; i < count; ++i) Press("mute");
  EXPECT_EQ(W()->OnGetMute(), 0);
  EXPECT_EQ(Open<NonMenuSystem::CommonMuteBar>(), nullptr);
  // A volume key on the mute bar brings the volume bar back.
  Press("mute");
  ASSERT_NE(Open<NonMenuSystem::CommonMuteBar>(), nullptr);
  Press("vol+");
  EXPECT_EQ(Open<NonMenuSystem::CommonMuteBar>(), nullptr);
  EXPECT_NE(Open<NonMenuSystem::CommonVolumeBar>(), nullptr);
  Press("back");
  Settle();
  EXPECT_EQ(Open<NonMenuSystem::CommonVolumeBar>(), nullptr);
}

// The mute key pressed again after its bar has gone: on a set with sound it
// mutes and says "Mute"; on a muted set it brings the sound back and the bar
// goes; the set keeps what the viewer last chose after a restart.
TEST_F(BarsTest, TheMuteKeyAfterItsBarHasGoneSwitchesTheSoundBackOn) {
  Run(1000);
  const auto muted = [&] { return Tv().Tv().Value(sim::Setting::kMute) != 0; };
  ASSERT_FALSE(muted());
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    Press("mute");
    Run(300);
    EXPECT_TRUE(muted());
    EXPECT_TRUE(Sees("Mute")) << SeenList();
    EXPECT_FALSE(Sees("Half")) << SeenList();
    Run(3000);
    EXPECT_FALSE(Sees("Mute")) << SeenList();
    Press("mute");
    Run(300);
    EXPECT_FALSE(muted());
    EXPECT_EQ(Open<NonMenuSystem::CommonMuteBar>(), nullptr);
    EXPECT_FALSE(Sees("Mute")) << SeenList();
    Run(3000);
  }
  Press("mute");
  Run(3000);
  ASSERT_TRUE(muted());
  Restart();
  Run(1000);
  EXPECT_TRUE(muted());
  // Muted after the restart: the key still brings the sound back.
  Press("mute");
  Run(300);
  EXPECT_FALSE(muted());
  Restart();
  Run(1000);
  EXPECT_FALSE(muted());
}

// Each of the mute bar's choices reads whole in every menu language: no
// letter cut off at the bar's edge, no text shortened to "...".
TEST_F(BarsTest, TheMuteBarsChoicesReadWholeInEveryLanguage) {
  for (int32_t language : {0, 1, 2}) {
    if (language > 0) ChooseMenuLanguage(language);
    ASSERT_EQ(kv::Cast<SkinBin::Wrapper>(W())->OnGetMenuLanguage(), language);
    Press("mute");
    // Every choice but the first (off, which closes the bar) is shown once.
    for (int32_t step = 1;; ++step) {
      Run(300);
      auto* bar = Open<NonMenuSystem::CommonMuteBar>();
      if (step > 1 && !bar) break;
      ASSERT_NE(bar, nullptr) << language << " " << step;
      ASSERT_LT(step, bar->Count) << language;
      int32_t seen = 0;
      for (const Core::SeenText& t : SeenTexts()) {
        if (t.where.find("NonMenuSystem::CommonMuteBar") == std::string::npos) continue;
        ++seen;
        EXPECT_TRUE(t.Readable()) << language << " " << step << ": " << t.Describe();
        // The glyphs stand inside the bar, clear of its frame.
        const kv::Rect inside = bar->GetAbsoluteBounds();
        EXPECT_TRUE(inside.Contains(t.ink)) << language << " " << step << ": " << t.Describe();
        auto* text = kv::Cast<Views::Text>(const_cast<Core::View*>(t.view));
        ASSERT_NE(text, nullptr);
        const ge::TextLayout l = text->GetLayout();
        EXPECT_FALSE(!l.lines.empty() && l.lines.front().ellipsis) << language << " " << step << ": " << t.Describe();
        EXPECT_LE(l.width, text->Bounds().W()) << language << " " << step << ": " << t.Describe();
      }
      EXPECT_EQ(seen, 1) << SeenList();
      Press("mute");
    }
    ASSERT_EQ(Open<NonMenuSystem::CommonMuteBar>(), nullptr);
  }
}

TEST_F(BarsTest, AnAudioSystemOverHdmiCecGetsTheAmplifierBars) {
  Settle();
  Skin()->OnSetEnableKELVO(1);
  Skin()->OnSetAmplifierControl(1);
  Tv().Net().SetAudioSystem(false);
  // No audio system answers: the common bars.
  Press("vol+");
  EXPECT_NE(Open<NonMenuSystem::CommonVolumeBar>(), nullptr);
  Press("exit");
  Settle();
  Tv().Net().SetAudioSystem(true);
  // It plays the TV's sound once the viewer chooses it over the TV's speakers.
  Press("vol+");
  EXPECT_NE(Open<NonMenuSystem::CommonVolumeBar>(), nullptr);
  Press("exit");
  Settle();
  Skin()->OnSetSpeakerPreference(1);
  const int32_t volume = W()->OnGetVolume();
  ClearCallLog();
  Press("vol+");
  auto* amp = Open<NonMenuSystem::AmplifierVolumeBar>();
  ASSERT_NE(amp, nullptr);
  EXPECT_EQ(amp->KeyImage().OnGetBitmap(), Resources::LoadResource(Bitmaps::AmplifierVolumePlus));
  Press("vol-");
  EXPECT_EQ(amp->KeyImage().OnGetBitmap(), Resources::LoadResource(Bitmaps::AmplifierVolumeMinus));
  EXPECT_EQ(W()->OnGetVolume(), volume);
  EXPECT_TRUE(Calls("XPM_SetVolume").empty());
  const int32_t muted = W()->OnGetMute();
  Press("mute");
  auto* ampMute = Open<NonMenuSystem::AmplifierMuteBar>();
  ASSERT_NE(ampMute, nullptr);
  EXPECT_EQ(Open<NonMenuSystem::AmplifierVolumeBar>(), nullptr);
  EXPECT_EQ(W()->OnGetMute(), muted);
  EXPECT_TRUE(Calls("XPM_SetMute").empty());
}

TEST_F(BarsTest, AdjustmentBarStepsWritesMarksAndHandsTheKeyBack) {
  Settle();
  auto* bar = OpenBar<NonMenuSystem::AdjustmentBar>(OptionDatabase::OPTION_TYPE_BRIGHTNESS,
                                                    Constants::MSG_FROM_MENUSYSTEM, &BarOpener::StaticClass(), 1);
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(bar->IsBound());
  EXPECT_EQ(bar->Slider().OnGetBgImageBitmap(), Resources::LoadResource(Bitmaps::BlueSliderBgFrame));
  const int32_t start = W()->OnGetBrightness();
  EXPECT_EQ(bar->Slider().OnGetValue(), start);
  ClearMarks();
  Press("right");
  EXPECT_EQ(W()->OnGetBrightness(), start + 1);
  EXPECT_EQ(bar->ValueText().OnGetString(), kv::NewStringInt(start + 1, 0));
  EXPECT_TRUE(BasicPictureMarked());
  // At the top: the value stays, is written again and marked again.
  const int32_t max = bar->Slider().OnGetMax();
  for (int32_t i = W()->OnGetBrightness(); i < max; ++i) Press("right");
  ClearMarks();
  ClearCallLog();
  Press("right");
  EXPECT_EQ(W()->OnGetBrightness(), max);
  EXPECT_TRUE(BasicPictureMarked());
  EXPECT_FALSE(CallLog().empty());
  // Down leaves and gives the menu page the Down key with the menu's code.
  Press("down");
  EXPECT_EQ(Open<NonMenuSystem::AdjustmentBar>(), nullptr);
  auto* page = Open<BarOpener>();
  ASSERT_NE(page, nullptr);
  ASSERT_NE(page->Received.get(), nullptr);
  EXPECT_EQ(page->Received->Code, Constants::MSG_FROM_MENUSYSTEM);
  auto* key = kv::Cast<Core::KeyEvent>(page->Received->Object.get());
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->Code, 5);
  EXPECT_NE(key->Down, 0);
}

TEST_F(BarsTest, AdjustmentBarWithoutASliderRecordWritesNothing) {
  Settle();
  // 0x0100007F is served by no module: the bar stays unbound.
  auto* bar = OpenBar<NonMenuSystem::AdjustmentBar>(0x0100007F, Constants::MSG_FROM_NONMENUSYSTEM);
  ASSERT_NE(bar, nullptr);
  EXPECT_FALSE(bar->IsBound());
  EXPECT_EQ(bar->Slider().OnGetBgImageBitmap(), Resources::LoadResource(Bitmaps::BlueSliderBgFrameNoY));
  ClearMarks();
  ClearCallLog();
  Press("right", 3);
  EXPECT_EQ(bar->Slider().OnGetValue(), 3);
  EXPECT_TRUE(CallLog().empty());
  EXPECT_FALSE(BasicPictureMarked());
  // Without a previous state, OK only closes it.
  Press("ok");
  Settle();
  EXPECT_TRUE(OpenForms().empty());
}

TEST_F(BarsTest, SkinAdjustmentBarLeavesOnlyOnOkAndAnnouncesChanges) {
  Settle();
  auto* bar = OpenBar<NonMenuSystem::AdjustmentBarKXD>(OptionDatabase::OPTION_TYPE_BRIGHTNESS);
  ASSERT_NE(bar, nullptr);
  const int32_t start = W()->OnGetBrightness();
  Press("left");
  EXPECT_EQ(W()->OnGetBrightness(), start - 1);
  Press("up");
  Press("down");
  EXPECT_EQ(Open<NonMenuSystem::AdjustmentBarKXD>(), bar);
  Press("ok");
  Settle();
  EXPECT_EQ(Open<NonMenuSystem::AdjustmentBarKXD>(), nullptr);
}

TEST_F(BarsTest, NoSliderBarClampsAndShowsTheArrowsThatLeadSomewhere) {
  Settle();
  auto* bar = OpenBar<NonMenuSystem::NoSliderAdjustmentBar>(OptionDatabase::OPTION_TYPE_BRIGHTNESS);
  ASSERT_NE(bar, nullptr);
  bar->OnSetMin(0);
  bar->OnSetMax(10);
  bar->OnSetStep(3);
  bar->OnSetValue(9);
  Press("right");
  EXPECT_EQ(bar->Value, 10);
  EXPECT_TRUE(bar->LeftArrow().IsVisible());
  EXPECT_FALSE(bar->RightArrow().IsVisible());
  EXPECT_EQ(W()->OnGetBrightness(), 10);
  bar->OnSetValue(3);
  Press("left");
  EXPECT_EQ(bar->Value, 0);
  EXPECT_FALSE(bar->LeftArrow().IsVisible());
  EXPECT_TRUE(bar->RightArrow().IsVisible());
  W()->OnSetBrightness(5);
  Press("left");
  EXPECT_EQ(bar->Value, 0);
  EXPECT_EQ(W()->OnGetBrightness(), 0);
  EXPECT_EQ(bar->ValueText().OnGetString(), kv::NewStringInt(0, 0));
  bar->OnSetMax(0);
  bar->OnSetValue(0);
  EXPECT_TRUE(bar->LeftArrow().IsVisible());
  EXPECT_FALSE(bar->RightArrow().IsVisible());
}

TEST_F(BarsTest, ToggleOverlayWrapsWritesAndKeepsItsOwnKeys) {
  Settle();
  auto* overlay =
      OpenBar<NonMenuSystem::ToggleOptionOverlay>(SkinBin::OPTION_TYPE_MTS_KEY, Constants::MSG_FROM_NONMENUSYSTEM);
  ASSERT_NE(overlay, nullptr);
  ASSERT_GE(overlay->Count, 2);
  const int32_t count = overlay->Count;
  overlay->Index = count - 1;
  Press("right");
  EXPECT_EQ(overlay->Index, 0);
  Press("left");
  EXPECT_EQ(overlay->Index, count - 1);
  // The sound-track key on its own overlay steps too.
  Press("left");
  PressCode(0);  // an unknown key goes to the base and changes nothing
  const int32_t at = overlay->Index;
  kv::Persistent<Core::KeyEvent> k = kv::New<Core::KeyEvent>();
  k->Initialize(70, 1);
  overlay->HandleEvent(k);
  EXPECT_EQ(overlay->Index, at + 1 < count ? at + 1 : 0);
  // With the increase key off, Right goes to the base (which swallows it).
  overlay->OnSetToggleIncreaseKey(0);
  const int32_t before = overlay->Index;
  Press("right");
  EXPECT_EQ(overlay->Index, before);
  Press("exit");
  Settle();
  // Key 70 on another option is not a step; the caption key is the CC option's.
  auto* other = OpenBar<NonMenuSystem::ToggleOptionOverlay>(SkinBin::OPTION_TYPE_CC_KEY);
  ASSERT_NE(other, nullptr);
  const int32_t idx = other->Index;
  k->Initialize(70, 1);
  other->HandleEvent(k);
  EXPECT_EQ(other->Index, idx);
  k->Initialize(76, 1);
  other->HandleEvent(k);
  EXPECT_NE(other->Index, idx);
}

TEST_F(BarsTest, ToggleOverlayWithoutChoicesStepsNothing) {
  Settle();
  auto* overlay = OpenBar<NonMenuSystem::ToggleOptionOverlay>(0x0100007F);
  ASSERT_NE(overlay, nullptr);
  EXPECT_EQ(overlay->Count, 0);
  EXPECT_FALSE(overlay->LeftArrow().IsVisible());
  ClearCallLog();
  overlay->ToggleOption(false);
  overlay->ToggleOption(true);
  EXPECT_EQ(overlay->Index, 0);
  EXPECT_TRUE(CallLog().empty());
}

TEST_F(BarsTest, BarsOpenedAndClosedFiftyTimesReturnToTheBaseline) {
  kv::Runtime::SetCollectEveryPass(true);
  Settle();
  const auto before = Census();
  for (int i = 0; i < 50; ++i) {
    Press(i % 2 ? "vol+" : "vol-");
    Press("mute");
    Press("mute");
    Press("exit");
    OpenBar<NonMenuSystem::AdjustmentBar>(OptionDatabase::OPTION_TYPE_CONTRAST);
    Press("ok");
    OpenBar<NonMenuSystem::ToggleOptionOverlay>(SkinBin::OPTION_TYPE_MTS_KEY);
    Press("back");
    Settle();
    Nms()->ClearAll();
    Settle();
  }
  Run(3000);
  const auto after = Census();
  for (const char* cls : {"NonMenuSystem::CommonVolumeBar", "NonMenuSystem::CommonMuteBar",
                          "NonMenuSystem::AdjustmentBar", "NonMenuSystem::ToggleOptionOverlay"}) {
    const size_t b = before.count(cls) ? before.at(cls) : 0;
    const size_t a = after.count(cls) ? after.at(cls) : 0;
    EXPECT_EQ(a, b) << cls;
  }
}

// The skin's adjustment bar gives its caption 180 pixels: every option it
// can show reads whole there, in every menu language.
TEST_F(BarsTest, SkinBarCaptionsReadWholeInEveryLanguage) {
  using namespace SkinBin;
  static const int32_t kSliders[] = {
      OPTION_TYPE_BACKLIGHT_AUTO,     OPTION_TYPE_DYNAMIC_CONTRAST_AUTO, OPTION_TYPE_COLOR_TEMPERATURE,
      OPTION_TYPE_WB_IRE,             OPTION_TYPE_WB_RED,                OPTION_TYPE_SUPER_RESOLUTION_LEVEL,
      OPTION_TYPE_STATIC_GAMMA,       OPTION_TYPE_AMPLIFIER_VOLUME,      OPTION_TYPE_MANUAL_TUNING_CHANNEL,
      OPTION_TYPE_ONTIMER_VOLUME,     OPTION_TYPE_WINDOW_HPOS,           OPTION_TYPE_WINDOW_VPOS,
      OPTION_TYPE_WINDOW_HSIZE,       OPTION_TYPE_WINDOW_VSIZE,          OPTION_TYPE_2D_3D_DEPTH,
      OPTION_TYPE_MAX_VOLUME_SETUP};
  Settle();
  for (int32_t language = 0; language <= 2; ++language) {
    Skin()->SetMenuLanguage(language);
    Settle();
    for (int32_t option : kSliders) {
      ASSERT_NE(OpenBar<NonMenuSystem::AdjustmentBarKXD>(option), nullptr);
      Core::TakeCutTexts();
      EXPECT_EQ(Core::TextFaults(SeenTexts()), std::vector<std::string>{}) << "language " << language << ", option " << option;
      Press("ok");
      Settle();
    }
  }
  Skin()->SetMenuLanguage(0);
}

}  // namespace livetvtest
