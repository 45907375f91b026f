// The Wrapper's properties: the accessor patterns (cache, OSD lock, trace,
// defaults), the preset and view-mode mappings, the freeze rule, the
// utilities, and every middleware call failing in turn.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/ref.h"
#include "runtime/string.h"
#include "units/Structures/CaptionServiceInfo.h"
#include "units/Structures/LocalTime.h"
#include "units/Structures/TimerData.h"
#include "units/Structures/VirtualChannel.h"
#include "wrapper_fixture.h"
#include "tvui_paths.h"

namespace wrappertest {
namespace {

using W = Wrapper::Wrapper;

// A guarded setter: the property setter, the middleware call it makes for
// the value 1 and the cache field it writes.
struct GuardedCase {
  std::function<void(W*, int32_t)> set;
  std::string call;
  std::function<int32_t(W*)> cache;
};
#define SETTER(Prop) [](W* w, int32_t v) { w->OnSet##Prop(v); }
#define CACHE(Field) [](W* w) { return w->Field; }

TEST_F(WrapperTest, GuardedSettersCacheTraceAndCallOnceUnlessTheOsdIsLocked) {
  const std::vector<GuardedCase> cases = {
      {SETTER(Contrast), "XPM_SetContrast(0, 1)", CACHE(Contrast)},
      {SETTER(Brightness), "XPM_SetBrightness(0, 1)", CACHE(Brightness)},
      {SETTER(Color), "XPM_SetSaturation(0, 1)", CACHE(Color)},
      {SETTER(Tint), "XPM_SetHue(0, 1)", CACHE(Tint)},
      {SETTER(Sharpness), "XPM_SetSharpness(0, 1)", CACHE(Sharpness)},
      {SETTER(ColorTemperature), "XPM_SetColorTemperature(1)", CACHE(ColorTemperature)},
      {SETTER(Red_Offset), "XPM_SetColorTemperatureOffset(0, 1)", CACHE(Red_Offset)},
      {SETTER(Blue_Gain), "XPM_SetColorTemperatureGain(2, 1)", CACHE(Blue_Gain)},
      {SETTER(Volume), "XPM_SetVolume(1)", CACHE(Volume)},
      {SETTER(Mute), "XPM_SetMute(8, 1)", CACHE(Mute)},
      {SETTER(Balance), "XPM_SetBalance(1)", CACHE(Balance)},
      {SETTER(DigitalNR), "XPM_SetNoiseReduction(1, 1)", CACHE(DigitalNR)},
      {SETTER(CCPreference), "XPM_SetCaptionDecodeMode(1)", CACHE(CCPreference)},
      {SETTER(CC708_FontSize), "XPM_SetAdvancedCaptionProperty(3, 1)", CACHE(CC708_FontSize)},
      {SETTER(CC708_WinJustification), "XPM_SetAdvancedCaptionProperty(0, 1)", CACHE(CC708_WinJustification)},
      {SETTER(MutePreference), "XPM_SetMuteExtOutput(1)", CACHE(MutePreference)},
      {SETTER(BlockUnratedContent), "XPM_SetUnratedContent(1)", CACHE(BlockUnratedContent)},
      {SETTER(Backlight), "XPM_SetBacklight(1)", CACHE(Backlight)},
      {SETTER(VideoPreset), "XPM_SetVideoPreset(0, 4)", CACHE(VideoPreset)},
      {SETTER(ParentalLocks), "XPM_SetParentalLocksState(1)", CACHE(ParentalLocks)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.call);
    std::string name = c.call.substr(0, c.call.find('('));
    tv_->ClearCallLog();
    ClearLines();
    c.set(w_, 1);
    EXPECT_EQ(Calls(name), std::vector<std::string>{c.call});
    EXPECT_EQ(c.cache(w_), 1);
    EXPECT_EQ(Lines().size(), 1u) << "one trace line, and the set took the value";

    w_->SetOSDLock(true);
    c.set(w_, 2);
    w_->SetOSDLock(false);
    EXPECT_EQ(Count(name), 1u) << "nothing reaches the middleware while the OSD is locked";
    EXPECT_EQ(c.cache(w_), 2) << "the cache is written before the lock test";
  }
  w_->SetOSDLock(true);
  EXPECT_EQ(w_->SetSharpness(3), 1) << "a locked setter answers the lock";
  EXPECT_EQ(w_->SetSource(0, kHdmi1), 1);
  EXPECT_EQ(w_->SetSleepTimer(5), 1);
  EXPECT_EQ(w_->ResetAll(), 1);
  EXPECT_EQ(Count("XPM_SetSharpness") + Count("XPM_SetSource") + Count("XPM_Reset"), 0u);
}

TEST_F(WrapperTest, DirectAndTracedSettersIgnoreTheLock) {
  w_->SetOSDLock(true);
  w_->OnSetGameMode(1);
  w_->OnSetSuperResolution(-3);  // any non-zero value is on
  w_->OnSetVDECSensitivity(2);
  w_->OnSetCinemaMode(0x1ff);
  w_->OnSetEqualizerPreset(2);
  EXPECT_EQ(Calls("XPM_SetGameMode"), std::vector<std::string>{"XPM_SetGameMode(1)"});
  EXPECT_EQ(Calls("XPM_SetSuperResolutionStatus"), std::vector<std::string>{"XPM_SetSuperResolutionStatus(0, 1)"});
  EXPECT_EQ(Calls("XPM_SetVDECMotionSensitivity"), std::vector<std::string>{"XPM_SetVDECMotionSensitivity(0, 2)"});
  EXPECT_EQ(Calls("XPM_SetCinemaMode"), std::vector<std::string>{"XPM_SetCinemaMode(255)"});
  EXPECT_EQ(Calls("XPM_SetEqualizerPreset"), std::vector<std::string>{"XPM_SetEqualizerPreset(2)"});
  EXPECT_EQ(w_->SuperResolution, -3);
}

TEST_F(WrapperTest, GettersAddressTheWindowAndOnlyCachingOnesKeepTheAnswer) {
  Put(sim::Setting::kContrast, 1, 12);
  Put(sim::Setting::kDynamicContrast, 0, 2);
  Put(sim::Setting::kAeq, 0, 1);
  Put(sim::Setting::kMute, 0, 1);
  w_->Window = 1;
  EXPECT_EQ(w_->OnGetContrast(), 12);
  EXPECT_EQ(w_->Contrast, 0) << "a plain getter leaves the cache";
  EXPECT_EQ(w_->OnGetDynamicContrast(), 2);
  EXPECT_EQ(w_->DynamicContrast, 2);
  EXPECT_EQ(w_->OnGetAudysseyEQ(), 1);
  EXPECT_EQ(w_->OnGetMute(), 1);
  EXPECT_EQ(w_->OnGetBrightness(), Value(sim::Setting::kBrightness, 1));
  w_->OnSetSharpness(6);
  EXPECT_EQ(Calls("XPM_SetSharpness"), std::vector<std::string>{"XPM_SetSharpness(1, 6)"});
  EXPECT_EQ(Value(sim::Setting::kSharpness, 1), 6);
}

TEST_F(WrapperTest, PictureAndViewModeMappings) {
  const int32_t toMiddleware[] = {8, 4, 0, 1, 6, 5, 2, 7, 8};  // menu 0..8
  for (int32_t menu = 0; menu <= 8; ++menu) {
    tv_->ClearCallLog();
    w_->OnSetVideoPreset(menu);
    EXPECT_EQ(Calls("XPM_SetVideoPreset"),
              std::vector<std::string>{"XPM_SetVideoPreset(0, " + std::to_string(toMiddleware[menu]) + ")"});
  }
  const int32_t fromMiddleware[] = {2, 3, 6, 0, 1, 5, 4, 7, 0};  // middleware 0..8
  for (int32_t preset = 0; preset <= 8; ++preset) {
    Put(sim::Setting::kVideoPreset, 0, preset);
    EXPECT_EQ(w_->OnGetVideoPreset(), fromMiddleware[preset]) << preset;
  }

  const int32_t viewTo[] = {0, 1, 2, 3, 4, 6, 0, 5, 1, 1};  // menu 0..9
  for (int32_t menu = 0; menu <= 9; ++menu) {
    tv_->ClearCallLog();
    w_->OnSetViewMode(menu);
    EXPECT_EQ(Calls("XPM_SetViewMode"),
              std::vector<std::string>{"XPM_SetViewMode(0, " + std::to_string(viewTo[menu]) + ")"});
  }
  const int32_t viewFrom[] = {0, 1, 2, 3, 4, 7, 5};  // middleware 0..6
  for (int32_t mode = 0; mode <= 6; ++mode) {
    Put(sim::Setting::kViewMode, 0, mode);
    EXPECT_EQ(w_->OnGetViewMode(), viewFrom[mode]) << mode;
  }

  // The preferred view mode maps the low byte and keeps the flag bits.
  w_->OnSetPreferViewMode(0x105);
  EXPECT_EQ(Value(sim::Setting::kPreferredViewMode), 0x106);
  w_->OnSetPreferViewMode(0x20a);
  EXPECT_EQ(Value(sim::Setting::kPreferredViewMode), 0x201);
  Put(sim::Setting::kPreferredViewMode, 0, 0x305);
  EXPECT_EQ(w_->OnGetPreferViewMode(), 0x307);
  Put(sim::Setting::kPreferredViewMode, 0, 0x100);
  EXPECT_EQ(w_->OnGetPreferViewMode(), 0x100);

  // The set takes no mode byte above 6, and says so by its rule.
  EXPECT_NE(State().Set(sim::Setting::kPreferredViewMode, 0, 0x107, kTest), 0);
  EXPECT_FALSE(Logged("outside 0..1023"));
  EXPECT_TRUE(Logged("a mode byte of at most 6 with the flags 0x100 and 0x200"));
  // A middleware that keeps one anyway (here in its stored state) is read
  // back as the flags alone.
  ASSERT_TRUE(tv_->SetState("tv.set.preferredViewMode@0", "263"));
  tv_->Stop();
  tv_.reset();
  tv_ = std::make_unique<sim::Sim>(dir_.string());
  tv_->Start();
  EXPECT_EQ(Value(sim::Setting::kPreferredViewMode), 0x107);
  EXPECT_EQ(w_->OnGetPreferViewMode(), 0x100);
}

TEST_F(WrapperTest, CaptionServiceChangesKeepTheRenderStateAndCountFromZero) {
  Put(sim::Setting::kCaptionRenderState, 0, 2);
  w_->OnSetBasicCCMode(2);
  EXPECT_EQ(CallsStartingWith("XPM_SetCaption"),
            (std::vector<std::string>{"XPM_SetCaptionRenderState(0, 0)", "XPM_SetCaptionRenderState(0, 2)"}));
  EXPECT_EQ(Value(sim::Setting::kBasicCaptionService), 3);
  EXPECT_EQ(w_->OnGetBasicCCMode(), 2);
  w_->OnSetDigitalPreference(1);
  EXPECT_EQ(State().AudioLanguage(), "spa");
  EXPECT_EQ(w_->OnGetDigitalPreference(), 1);
  w_->OnSetDigitalPreference(9);
  EXPECT_EQ(w_->OnGetDigitalPreference(), 0);
}

TEST_F(WrapperTest, FreezeKeepsItsStateWhenTheMiddlewareRefuses) {
  w_->OnSetIsFrozen(1);
  EXPECT_TRUE(w_->IsFrozen);
  tv_->FailCall("XPM_SetVideoFreezeState", 6);
  w_->OnSetIsFrozen(0);
  EXPECT_TRUE(w_->IsFrozen);
  EXPECT_TRUE(Logged("XPM_SetVideoFreezeState error: 6"));
  tv_->FailCall("XPM_GetVideoFreezeState", 6);
  EXPECT_EQ(w_->OnGetIsFrozen(), 1) << "the cached state answers";
}

TEST_F(WrapperTest, RefusedInputAnswersAnError) {
  w_->OnSetParentalLocks(3);
  EXPECT_EQ(w_->ParentalLocks, 3);
  EXPECT_NE(w_->SetParentalLocksState(-1), 0);
  EXPECT_NE(w_->SetParentalLocksState(3), 0);
  EXPECT_EQ(Count("XPM_SetParentalLocksState"), 0u);
  EXPECT_EQ(w_->SetParentalLocksState(1), 0);
  EXPECT_EQ(Value(sim::Setting::kParentalLocksState), 1);

  // A sample caption: at most 15 characters, and the middleware is told so.
  w_->ShowSampleCCText(true, kv::String::FromUtf8("ABCDEFGHIJKLMNOPQRST"), 1, 2);
  EXPECT_EQ(Calls("XPM_ShowAdvancedSampleCaptionText"),
            std::vector<std::string>{"XPM_ShowAdvancedSampleCaptionText(1, \"ABCDEFGHIJKLMNO\", 15, 1, 2)"});
  EXPECT_EQ(State().SampleCaption(), "ABCDEFGHIJKLMNO");
  w_->ShowSampleCCText(true, kv::String::FromUtf8("Hi"), 0, 0);
  EXPECT_EQ(State().SampleCaption(), "Hi");

  // The scan display record carries only its mode.
  w_->StartChannelScan(1, 2, 3, 4, 300, 5);
  EXPECT_EQ(State().FrontDisplayMode(), 2);
  EXPECT_EQ(Calls("BCM_DisplayChannelNumber"), std::vector<std::string>{"BCM_DisplayChannelNumber(2)"});
  EXPECT_EQ(Calls("XPM_StartChannelScan"), std::vector<std::string>{"XPM_StartChannelScan(1, 2, 3, 4, 300, 5)"});
  w_->AbortChannelScan(0);
}

kv::String S(const char* text) { return kv::String::FromUtf8(text); }

TEST(WrapperUtilities, StringsNumbersBitsAndChannelNumbers) {
  kvtest::ThrowOnPanic();
  EXPECT_EQ(W::ReplaceString(S("a.b.c"), S("."), S("..")).ToUtf8(), "a..b..c") << "new text holding the old";
  EXPECT_EQ(W::ReplaceString(S("xx"), S("x"), S("yxy")).ToUtf8(), "yxyyxy");
  EXPECT_EQ(W::ReplaceString(S("aab"), S("ab"), S("b")).ToUtf8(), "b") << "searched again from the start";
  EXPECT_EQ(W::ReplaceString(S("abc"), S("z"), S("y")).ToUtf8(), "abc");
  EXPECT_EQ(W::ReplaceString(S("abc"), S(""), S("y")).ToUtf8(), "abc");

  EXPECT_EQ(W::ParseStringItem(S("a,b,c"), 0, u',').ToUtf8(), "a");
  EXPECT_EQ(W::ParseStringItem(S("a,b,c"), 1, u',').ToUtf8(), "b");
  EXPECT_EQ(W::ParseStringItem(S("a,b,c"), 2, u',').ToUtf8(), "c");
  EXPECT_TRUE(W::ParseStringItem(S("a,b,c"), 3, u',').Empty());
  EXPECT_TRUE(W::ParseStringItem(S("a,b,c"), -1, u',').Empty());
  EXPECT_EQ(W::ParseStringItem(S("abc"), 0, u',').ToUtf8(), "abc");

  EXPECT_EQ(W::String2Int(S("-12")), -12);
  EXPECT_EQ(W::String2Int(S("")), 0);
  EXPECT_EQ(W::String2Int(S("2147483647")), 2147483647);
  EXPECT_EQ(W::String2Int(S("2147483648")), INT32_MIN) << "wraps to 32 bits";
  EXPECT_EQ(W::String2Int(S("99999999999")), 1215752191);
  EXPECT_EQ(W::String2Int(S("99999999999999999999999")), W::String2Int(S("99999999999999999999999")));

  EXPECT_EQ(W::SetBit(0, 33, true), 2);
  EXPECT_EQ(W::SetBit(-1, 31, false), INT32_MAX);
  EXPECT_EQ(W::IsBitSet(INT32_MIN, 31), 1);
  EXPECT_EQ(W::IsBitSet(4, -30), 1) << "bit -30 is bit 2 modulo 32";
  EXPECT_EQ(W::GetDaysOfWeek(true, false, false, false, false, false, true), 0x41);
  EXPECT_EQ(W::UniteChannelNum(5, 3), 327683);
  EXPECT_EQ(W::SplitChannelNum(327683, true), 5);
  EXPECT_EQ(W::SplitChannelNum(327683, false), 3);
  EXPECT_EQ(W::SplitChannelNum(W::UniteChannelNum(7, -1), false), -1);
  EXPECT_EQ(W::SplitChannelNum(W::UniteChannelNum(-2, -2), true), -2);
  EXPECT_EQ(W::GetCenterPosition(960, 540, 301, 100), (kv::Point{329, 220}));
}

// --- Every middleware call failing in turn --------------------------------------

constexpr int32_t kFail = 9;
constexpr int64_t kStatus = INT64_MIN;     // the call's failure status comes back
constexpr int64_t kNoResult = INT64_MIN + 1;  // nothing to compare: only that it went on

struct FailCase {
  const char* call;
  std::function<int64_t(W*)> run;
  int64_t expected;
  const char* printed = nullptr;  // a text the failure prints instead of the generic error line
};

std::vector<FailCase> FailCases() {
  auto ch = [](int32_t major, int32_t minor) {
    auto* c = kv::New<Structures::VirtualChannel>();
    c->Major = major;
    c->Minor = minor;
    return c;
  };
  return {
      {"XPM_SetBacklight", [](W* w) { return w->SetBacklight(1); }, kStatus},
      {"XPM_GetBacklight", [](W* w) { return w->GetBacklight(); }, 0},
      {"XPM_SetContrast", [](W* w) { return w->SetContrast(1); }, kStatus},
      {"XPM_GetContrast", [](W* w) { return w->GetContrast(); }, 0},
      {"XPM_SetBrightness", [](W* w) { return w->SetBrightness(1); }, kStatus},
      {"XPM_GetBrightness", [](W* w) { return w->OnGetBrightness(); }, 33},
      {"XPM_SetSaturation", [](W* w) { return w->SetSaturation(1); }, kStatus},
      {"XPM_GetSaturation", [](W* w) { return w->OnGetColor(); }, 33},
      {"XPM_SetHue", [](W* w) { return w->SetHue(1); }, kStatus},
      {"XPM_GetHue", [](W* w) { return w->OnGetTint(); }, 33},
      {"XPM_SetSharpness", [](W* w) { return w->SetSharpness(1); }, kStatus},
      {"XPM_GetSharpness", [](W* w) { return w->GetSharpness(); }, 0},
      {"XPM_SetColorTemperature", [](W* w) { return w->SetColorTemperature(1); }, kStatus},
      {"XPM_GetColorTemperature", [](W* w) { return w->GetColorTemperature(); }, 0},
      {"XPM_SetColorTemperatureOffset", [](W* w) { return w->SetColorTempOffset(1, 1); }, kStatus},
      {"XPM_GetColorTemperatureOffset", [](W* w) { return w->OnGetGreen_Offset(); }, 0},
      {"XPM_SetColorTemperatureGain", [](W* w) { return w->SetColorTempGain(1, 1); }, kStatus},
      {"XPM_GetColorTemperatureGain", [](W* w) { return w->OnGetRed_Gain(); }, 0},
      {"XPM_SetVideoPreset", [](W* w) { return w->SetVideoPreset(1); }, kStatus},
      {"XPM_GetVideoPreset", [](W* w) { return w->GetVideoPreset(); }, 0},
      {"XPM_ResetVideoPreset", [](W* w) { return w->ResetVideo(); }, kStatus},
      {"XPM_SetViewMode", [](W* w) { return w->SetViewMode(2); }, kStatus},
      {"XPM_GetViewMode", [](W* w) { return w->OnGetViewMode(); }, 1},
      {"XPM_SetPreferredViewMode", [](W* w) { return w->SetPreferViewMode(2); }, kStatus},
      {"XPM_GetPreferredViewMode", [](W* w) { return w->OnGetPreferViewMode(); }, 1},
      {"XPM_SetCM3D", [](W* w) { return w->OnSetColorManager(1), kNoResult; }, kNoResult},
      {"XPM_GetCM3D", [](W* w) { return w->OnGetColorManager(); }, 0},
      {"XPM_SetNoiseReduction", [](W* w) { return w->SetNoiseReduction(1); }, kStatus},
      {"XPM_GetNoiseReduction", [](W* w) { return w->OnGetAnalogNR(); }, 0},
      {"XPM_SetSuperResolutionStatus", [](W* w) { return w->OnSetSuperResolution(1), kNoResult; }, kNoResult},
      {"XPM_GetSuperResolutionStatus", [](W* w) { return w->OnGetSuperResolution(); }, 0},
      {"XPM_SetCinemaMode", [](W* w) { return w->OnSetCinemaMode(1), kNoResult; }, kNoResult},
      {"XPM_GetCinemaMode", [](W* w) { return w->OnGetCinemaMode(); }, 0},
      {"XPM_SetDynamicContrast", [](W* w) { return w->OnSetDynamicContrast(1), kNoResult; }, kNoResult},
      {"XPM_GetDynamicContrast", [](W* w) { return w->OnGetDynamicContrast(); }, 0},
      {"XPM_SetGameMode", [](W* w) { return w->OnSetGameMode(1), kNoResult; }, kNoResult},
      {"XPM_GetGameMode", [](W* w) { return w->OnGetGameMode(); }, 0},
      {"XPM_SetVDECMotionSensitivity", [](W* w) { return w->OnSetVDECSensitivity(1), kNoResult; }, kNoResult},
      {"XPM_GetVDECMotionSensitivity", [](W* w) { return w->OnGetVDECSensitivity(); }, 0},
      {"XPM_SetHorizontalPosition", [](W* w) { return w->OnSetHorizontalPosition(1), kNoResult; }, kNoResult},
      {"XPM_GetHorizontalPosition", [](W* w) { return w->OnGetHorizontalPosition(); }, 0},
      {"XPM_SetVerticalPostition", [](W* w) { return w->OnSetVerticalPosition(1), kNoResult; }, kNoResult},
      {"XPM_GetVerticalPostition", [](W* w) { return w->OnGetVerticalPosition(); }, 0},
      {"XPM_SetHLineAdjust", [](W* w) { return w->OnSetHorizontalSize(1), kNoResult; }, kNoResult},
      {"XPM_GetHLineAdjust", [](W* w) { return w->OnGetHorizontalSize(); }, 0},
      {"XPM_SetVLineAdjust", [](W* w) { return w->OnSetVerticalSize(1), kNoResult; }, kNoResult},
      {"XPM_GetVLineAdjust", [](W* w) { return w->OnGetVerticalSize(); }, 0},
      {"XPM_SetPhaseAdjust", [](W* w) { return w->SetPhaseAdjust(1); }, kStatus},
      {"XPM_GetPhaseAdjust", [](W* w) { return w->OnGetVGAPhase(); }, 0},
      {"XPM_SetVideoFreezeState", [](W* w) { return w->OnSetIsFrozen(1), int64_t{w->IsFrozen}; }, 0,
       "XPM_SetVideoFreezeState error: 9"},
      {"XPM_GetVideoFreezeState", [](W* w) { return w->OnGetIsFrozen(); }, 0},
      {"XPM_GetVideoContentInfo", [](W* w) { return w->GetVideoAspectRatio(); }, -1},
      {"XPM_SetDisplayWindow", [](W* w) { return w->SetDisplayWindow(0, 0, 960, 540); }, kStatus},
      {"XPM_SetVideoWindow", [](W* w) { return w->SetVideoWindow(0, 0, 960, 540); }, kStatus},
      {"XPM_AutoSync", [](W* w) { return w->AutoSync(); }, kStatus},
      {"XPM_SetVolume", [](W* w) { return w->SetVolume(1); }, kStatus},
      {"XPM_GetVolume", [](W* w) { return w->OnGetVolume(); }, 33},
      {"XPM_SetMute", [](W* w) { return w->SetAudioMute(true); }, kStatus},
      {"XPM_GetMute", [](W* w) { return w->OnGetMute(); }, 0},
      {"XPM_SetBalance", [](W* w) { return w->SetBalance(1); }, kStatus},
      {"XPM_GetBalance", [](W* w) { return w->GetBalance(); }, 0},
      {"XPM_SetBass", [](W* w) { return w->SetBass(1); }, kStatus},
      {"XPM_GetBass", [](W* w) { return w->GetBass(); }, 0},
      {"XPM_SetTreble", [](W* w) { return w->SetTreble(1); }, kStatus},
      {"XPM_GetTreble", [](W* w) { return w->GetTreble(); }, 0},
      {"XPM_SetEqualizerPreset", [](W* w) { return w->SetEqualizerPreset(1); }, kStatus},
      {"XPM_GetEqualizerPreset", [](W* w) { return w->GetEqualizerPreset(); }, 0},
      {"XPM_SetPreferredAudioDecodeMode", [](W* w) { return w->SetPreferAudioDecodeMode(2); }, kStatus},
      {"XPM_GetPreferredAudioDecodeMode", [](W* w) { return w->OnGetMTS(); }, 1},
      {"XPM_SetAudioDecodeMode", [](W* w) { return w->SetAudioDecodeMode(2); }, kStatus},
      {"XPM_GetAudioDecodeMode", [](W* w) { return w->GetAudioDecodeMode(); }, 1},
      {"XPM_SetPreferredAudioLanguage", [](W* w) { return w->SetPreferAudioLanguage(1); }, kStatus},
      {"XPM_GetPreferredAudioLanguage", [](W* w) { return w->GetPreferAudioLanguage(); }, 0},
      {"XPM_SetVolumeLevelling", [](W* w) { return w->SetVolumeLevelling(true); }, kStatus},
      {"XPM_GetVolumeLevelling", [](W* w) { return w->OnGetAutoVolumeLevel(); }, 0},
      {"XPM_SetMuteExtOutput", [](W* w) { return w->SetExtOutputMute(true); }, kStatus},
      {"XPM_GetMuteExtOutput", [](W* w) { return w->OnGetMutePreference(); }, 0},
      {"XPM_SetAudDynamicVolume", [](W* w) { return w->OnSetDynamicVolume(1), kNoResult; }, kNoResult},
      {"XPM_GetAudDynamicVolume", [](W* w) { return w->OnGetDynamicVolume(); }, 0},
      {"XPM_SetAEQ", [](W* w) { return w->OnSetAudysseyEQ(1), kNoResult; }, kNoResult},
      {"XPM_GetAEQ", [](W* w) { return w->OnGetAudysseyEQ(); }, 0},
      {"XPM_SetTruSurround", [](W* w) { return w->OnSetSRSTruSurround(1), kNoResult; }, kNoResult},
      {"XPM_GetTruSurround", [](W* w) { return w->OnGetSRSTruSurround(); }, 0},
      {"XPM_SetTruVolume", [](W* w) { return w->OnSetSRSTruVolume(1), kNoResult; }, kNoResult},
      {"XPM_GetTruVolume", [](W* w) { return w->OnGetSRSTruVolume(); }, 0},
      {"XPM_SetStudioSoundTruSurround", [](W* w) { return w->OnSetSSTruSurround(1), kNoResult; }, kNoResult},
      {"XPM_GetStudioSoundTruSurround", [](W* w) { return w->OnGetSSTruSurround(); }, 0},
      {"XPM_SetStudioSoundTruVolume", [](W* w) { return w->OnSetSSTruVolume(1), kNoResult; }, kNoResult},
      {"XPM_GetStudioSoundTruVolume", [](W* w) { return w->OnGetSSTruVolume(); }, 0},
      {"XPM_SetAdditionalAudioDelay", [](W* w) { return w->OnSetLipSync(1), kNoResult; }, kNoResult},
      {"XPM_GetAdditionalAudioDelay", [](W* w) { return w->OnGetLipSync(); }, 0},
      {"XPM_SetSpdifFormat", [](W* w) { return w->SetSpdifFormat(1); }, kStatus},
      {"XPM_GetSpdifFormat", [](W* w) { return w->GetSpdifFormat(); }, 0},
      {"XPM_SetSpeaker", [](W* w) { return w->SetSpeaker(true); }, kStatus},
      {"XPM_GetSpeaker", [](W* w) { return w->GetSpeaker(); }, 1},
      {"XPM_GetCurrentAudioService", [](W* w) { return w->GetCurrentAudioIndex(); }, 0},
      {"XPM_SetAudioService", [](W* w) { return w->SetAudioService(1); }, kStatus},
      {"XPM_GetAudioServiceInfo", [](W* w) { return w->GetAudioServiceLang(0).Length(); }, 0},
      {"XPM_GetNumAudioServices", [](W* w) { return w->HasAlternateAudio(); }, 0},
      {"XPM_GetAudioReceptionInfo", [](W* w) { return w->IsStereo_Present() + w->IsSAP_Present(); }, 0},
      {"XPM_SetCaptionRenderState", [](W* w) { return w->SetCCState(1); }, kStatus},
      {"XPM_GetCaptionRenderState", [](W* w) { return w->OnGetClosedCaptionState(); }, 0},
      {"XPM_SetCaptionDecodeMode", [](W* w) { return w->SetCaptionDecodeMode(1); }, kStatus},
      {"XPM_GetCaptionDecodeMode", [](W* w) { return w->OnGetCCPreference(); }, 1},
      {"XPM_SetPreferredBasicCaptionService", [](W* w) { return w->SetPreferBasicCaptionService(1); }, kStatus},
      {"XPM_GetPreferredBasicCaptionService", [](W* w) { return w->OnGetBasicCCMode(); }, 2},
      {"XPM_SetPreferredAdvancedCaptionService", [](W* w) { return w->SetPreferAdvanceCaptionService(1); },
       kStatus},
      {"XPM_GetPreferredAdvancedCaptionService", [](W* w) { return w->OnGetAdvancedCCMode(); }, 0},
      {"XPM_SetAdvancedCaptionProperty", [](W* w) { return w->SetAdvanceCaptionProperty(3, 1); }, kStatus},
      {"XPM_GetAdvancedCaptionProperty", [](W* w) { return w->OnGetCC708_EdgeType(); }, 1},
      {"XPM_SetBasicCaptionProperty", [](W* w) { return w->SetBasicCaptionProperty(3, 1); }, kStatus},
      {"XPM_GetBasicCaptionProperty", [](W* w) { return w->GetBasicCaptionProperty(3); }, 0},
      {"XPM_ShowAdvancedSampleCaptionText",
       [](W* w) { return w->ShowSampleCCText(true, kv::String::FromUtf8("Aa"), 0, 0); }, kStatus},
      {"XPM_GetCaptionServiceInfo", [](W* w) { return w->GetCaptionServiceInfo(true, 0) != nullptr; }, 0},
      {"XPM_SetParentalLocksState", [](W* w) { return w->SetParentalLocksState(2); }, kStatus},
      {"XPM_GetParentalLocksState", [](W* w) { return w->OnGetParentalLocks(); }, 0},
      {"XPM_SetUnratedContent", [](W* w) { return w->SetUnratedContent(true); }, kStatus},
      {"XPM_GetUnratedContent", [](W* w) { return w->OnGetBlockUnratedContent(); }, 0},
      {"XPM_SetFrontPanelLockState", [](W* w) { return w->OnSetPanelLock(1), kNoResult; }, kNoResult},
      {"XPM_GetFrontPanelLockState", [](W* w) { return w->OnGetPanelLock(); }, 0},
      {"XPM_SetParentalLocksMask", [](W* w) { return w->SetParentalLocksMask(3); }, kStatus},
      {"XPM_GetParentalLocksMask", [](W* w) { return w->GetParentalLocksMask(); }, 0},
      {"XPM_SetUsChildRating", [](W* w) { return w->SetUsChildRating(1, 2, true, false); }, kStatus},
      {"XPM_GetUsChildRating", [](W* w) { return w->GetUsChildRating(1, 2); }, 0},
      {"XPM_SetUsAgeRating", [](W* w) { return w->SetUsAgeRating(1, 2, true, false); }, kStatus},
      {"XPM_GetUsAgeRating", [](W* w) { return w->GetUsAgeRating(1, 2); }, 0},
      {"XPM_SetUsMovieRating", [](W* w) { return w->SetUsMovieRating(1, true, false); }, kStatus},
      {"XPM_GetUsMovieRating", [](W* w) { return w->GetUsMovieRating(1); }, 0},
      {"XPM_SetCanadaLevel", [](W* w) { return w->SetCanadaLevel(1, 2, true, false); }, kStatus},
      {"XPM_GetCanadaLevel", [](W* w) { return w->GetCanadaLevel(1, 2); }, 0},
      {"XPM_SetChannelLock", [ch](W* w) { return w->SetChannelLock(ch(2, 1), true); }, kStatus},
      {"XPM_GetChannelLock", [ch](W* w) { return w->GetChannelLock(ch(5, 1)); }, 0},
      {"XPM_SetSourceLock", [](W* w) { return w->SetSourceLock(kHdmi1, true); }, kStatus},
      {"XPM_GetSourceLock", [](W* w) { return w->GetSourceLock(kHdmi1); }, 0},
      {"XPM_SetPreferredRatingLanguage", [](W* w) { return w->SetPreferRatingLanguage(1), kNoResult; },
       kNoResult},
      {"XPM_SetTimeZone", [](W* w) { return w->OnSetTimeZone(3), kNoResult; }, kNoResult},
      {"XPM_GetTimeZone", [](W* w) { return w->OnGetTimeZone() + w->OnGetDaylightSavingTime(); }, 0},
      {"XPM_SetAutoTimeUpdate", [](W* w) { return w->SetAutoTimeUpdate(true); }, kStatus},
      {"XPM_GetAutoTimeUpdate", [](W* w) { return w->GetAutoTimeUpdate(); }, 0},
      {"XPM_GetGMTOffset", [](W* w) { return static_cast<int64_t>(w->GetGMTOffset(1, 0) * 10); }, 0},
      {"XPM_GetLocalTime", [](W* w) { return w->GetCurrentTime()->GetTicks(); },
       Structures::LocalTime().GetTicks()},
      {"XPM_SetLocalTime", [](W* w) { return w->SetCurrentTime(kv::New<Structures::LocalTime>()); }, kStatus},
      {"XPM_SetMedium", [](W* w) { return w->SetMedium(1); }, kStatus},
      {"XPM_GetMedium", [](W* w) { return w->OnGetAntCableIn(); }, 1},
      {"XPM_StandbyMode", [](W* w) { return w->Standby(1, 2); }, kStatus},
      {"XPM_SetDualWindow", [](W* w) { return w->SetPIP(1); }, kStatus},
      {"XPM_GetDualWindowMode", [](W* w) { return w->GetPIPState(); }, 0},
      {"XPM_SetSecondaryWindowAudio", [](W* w) { return w->SetPipAudio(1); }, kStatus},
      {"XPM_GetSecondaryWindowAudio", [](W* w) { return w->GetPipAudio(); }, 0},
      {"XPM_SetPipPosition", [](W* w) { return w->SetPipPosition(1); }, kStatus},
      {"XPM_GetPipPosition", [](W* w) { return w->GetPipPosition(); }, 0},
      {"XPM_SwapSources", [](W* w) { return w->SwapSource(); }, kStatus},
      {"XPM_GetFirmwareVersion", [](W* w) { return w->GetFirmwareVersion().Length(); }, 0,
       "Cannot get the firmware version info."},
      {"XPM_GetSignalQuality", [](W* w) { return w->GetSignalStrength(); }, 70},
      {"XPM_Reset", [](W* w) { return w->ResetAll(); }, kStatus},
      {"XPM_ResetAudioDefaults", [](W* w) { return w->ResetAudio(), kNoResult; }, kNoResult,
       "XPM_ResetAudioDefaults returned error: 9"},
      {"BCM_DisplayChannelNumber",
       [](W* w) {
         int32_t status = w->StartSingleChannelScan(28, 0, 0, 0, 0, 0);
         w->AbortSingleChannelScan(0);
         return status;
       },
       0},
      {"XPM_StartChannelScan", [](W* w) { return w->StartChannelScan(1, 0, 0, 0, 0, 0); }, kStatus},
      {"XPM_AbortChannelScan", [](W* w) { return w->AbortChannelScan(0); }, kStatus},
      {"XPM_StartChannelDiscovery", [](W* w) { return w->StartSingleChannelScan(14, 0, 0, 0, 0, 0); }, kStatus},
      {"XPM_AbortChannelDiscovery", [](W* w) { return w->AbortSingleChannelScan(0); }, kStatus},
      {"XPM_EPG_FullChannelScan", [](W* w) { return w->StartEPGChannelScan(1, 2, 3, 4); }, kStatus},
      {"XPM_EPG_SingleChannelScan", [](W* w) { return w->StartEPGSingleChannelScan(1, 2, 3); }, kStatus},
      {"XPM_EPG_AbortScan", [](W* w) { return w->AbortEPGChannelScan(); }, kStatus},
      {"XPM_GetNumSources", [](W* w) { return w->GetNumSources(); }, 10},
      {"XPM_GetSourceID", [](W* w) { return w->GetSourceId(3); }, 0},
      {"XPM_GetSourceType", [](W* w) { return w->GetSourceType(kHdmi1); }, 1},
      {"XPM_GetCurrentSource", [](W* w) { return w->GetCurrentSource(0) + w->GetTunerWindow(); }, -1},
      {"XPM_SetSource", [](W* w) { return w->SetSource(0, kHdmi1); }, kStatus},
      {"XPM_IsSourceSelectable", [](W* w) { return w->IsSourceSelectable(0, kHdmi1); }, 0},
      {"XPM_GetCurrentChannel", [](W* w) { return w->GetCurrentChannel()->Major; }, -2},
      {"XPM_SetChannel", [](W* w) { return w->SetChannel(4, 1, true, true); }, kStatus},
      {"XPM_GetChannelInfo", [](W* w) { return w->IsDigitalChannel(2, 1); }, 0},
      {"XPM_GetCurrentPhysicalChannel", [](W* w) { return w->GetCurrentPhysicalChannel(); }, 0},
      {"XPM_GetNumChannelsInRing", [](W* w) { return w->GetNumChannelsInRing(0); }, 0,
       "Get channel number of Ring(0) is wrong!"},
      {"XPM_IsChannelInRing", [](W* w) { return w->IsChannelInRing(0, 2, 1); }, 0},
      {"XPM_GetNextChannel", [](W* w) { return w->GetNextChannel(0, 4, 1)->Major; }, 4},
      {"XPM_GetPrevChannel", [](W* w) { return w->GetPrevChannel(0, 4, 1)->Major; }, 4},
      {"XPM_GetVirtualChannels", [](W* w) { return w->SetPhysicalChannel(28, 0); }, 0},
      {"XPM_AddChannelToRing", [ch](W* w) { return w->AddChannelToRing(1, ch(2, 1)); }, kStatus},
      {"XPM_RemoveChannelFromRing", [ch](W* w) { return w->RemoveChannelFromRing(0, ch(2, 1)); }, kStatus},
      {"XPM_SetChannelName", [ch](W* w) { return w->SetChannelName(ch(2, 1), kv::String::FromUtf8("News")); },
       kStatus},
      {"XPM_GetTimer", [](W* w) { return w->GetTimer(3) != nullptr; }, 0},
      {"XPM_SetTimer",
       [](W* w) {
         auto* t = kv::New<Structures::TimerData>();
         t->Id = 3;
         return w->SetTimer(t);
       },
       kStatus},
      {"DB_Get_TimerId", [](W* w) { return w->GetFirstAvailableTimerId(); }, -1},
  };
}

TEST_F(WrapperTest, EveryMiddlewareCallFailingInTurnYieldsItsDefaultAndIsLogged) {
  XPM_TimerRecord record{};
  record.daysOfWeek = 1;
  record.start.day = 1;
  record.duration = 60;
  ASSERT_EQ(XPM_SetTimer(3, record), 0);
  tv_->ClearCallLog();

  std::set<std::string> covered;
  for (const FailCase& c : FailCases()) {
    SCOPED_TRACE(c.call);
    covered.insert(c.call);
    tv_->ClearCallLog();
    ClearLines();
    tv_->FailCall(c.call, kFail);
    int64_t result = c.run(w_);
    tv_->ClearFailures();
    EXPECT_GE(Count(c.call), 1u) << "the failed call is in the call log";
    if (c.expected == kStatus) {
      EXPECT_EQ(result, kFail);
    } else if (c.expected != kNoResult) {
      EXPECT_EQ(result, c.expected);
    }
    std::string printed = c.printed ? c.printed : std::string(c.call) + " Error 0x9";
    EXPECT_TRUE(Logged(printed)) << "expected the line: " << printed;
    w_->Initialize();
  }

  // Every call of the middleware header is in the table.
  std::ifstream header(std::string(TVUI_SOURCE_DIR) + "/src/platform/xpm/xpm_settings.h");
  std::stringstream text;
  text << header.rdbuf();
  std::string all = text.str();
  // The declarations "\nint32_t <XPM_, DB_ or BCM_ name>(".
  const std::string start = "\nint32_t ";
  size_t declared = 0;
  for (size_t at = all.find(start); at != std::string::npos; at = all.find(start, at + 1)) {
    size_t from = at + start.size(), to = from;
    while (to < all.size() && (std::isalnum(static_cast<unsigned char>(all[to])) || all[to] == '_')) ++to;
    std::string name = all.substr(from, to - from);
    auto named = [&](std::string_view prefix) { return name.size() > prefix.size() && name.rfind(prefix, 0) == 0; };
    if (!(named("XPM_") || named("DB_") || named("BCM_")) || to == all.size() || all[to] != '(') continue;
    ++declared;
    EXPECT_TRUE(covered.count(name)) << name << " is not made to fail";
  }
  EXPECT_GT(declared, 150u);
}

}  // namespace
}  // namespace wrappertest
