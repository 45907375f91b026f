// The confirmation dialogs and the key pad through the whole system: each
// confirm type with its question and its Yes and No actions against the
// simulated set, and the key pad's layouts, editing and answers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nonmenusystem_support.h"
#include "platform/sim/sim_tv_state.h"
#include "runtime/runtime.h"
#include "runtime/text.h"
#include "strings/SkinBinWrapper.h"
#include "units/Constants/Constants.h"
#include "units/Events/XPM_EVENT_KEY.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/NonMenuSystem/KeyPad.h"
#include "units/PersistentData/PersistentData.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/RefHolders.h"

namespace dialogtest {

// A receiver of the message agent's messages: keeps the key pad's answers.
class Listener : public Primitives::KeyRoutingForm {
  KV_CLASS(dialogtest, Listener, Primitives::KeyRoutingForm)
 public:
  Listener() = default;
  void HandleMessage(Structures::Message* msg) override {
    if (msg->Code != Constants::MSG_LABEL_CHANGE) return;
    ++answers;
    auto* text = kv::Cast<Structures::RefString>(msg->ObjParam.get());
    withText = text != nullptr;
    last = text ? text->Value.ToUtf8() : std::string();
  }
  int answers = 0;
  bool withText = false;
  std::string last;
};
KV_REGISTER_CLASS(dialogtest::Listener);

class DialogTest : public livetvtest::LiveTVTest {
 protected:
  kv::Object* Key(uint16_t code) {
    kv::Persistent<Events::XPM_EVENT_KEY> key = kv::New<Events::XPM_EVENT_KEY>();
    key->Initialize(code, 1);
    if (code >= 10 && code <= 19) key->Char = Core::KeyCodeToChar(code);
    kv::Object* taken = Dispatch(key);
    Settle();
    return taken;
  }
  NonMenuSystem::ConfirmMultiOptionDialog* Confirm(int32_t type) {
    Nms()->ClearAll();
    Settle();
    auto* d = kv::Cast<NonMenuSystem::ConfirmMultiOptionDialog>(
        Nms()->ShowConfirmDialog(type, Constants::MSG_FROM_NONMENUSYSTEM));
    Settle();
    return d;
  }
  NonMenuSystem::KeyPad* OpenKeyPad(const char* text, int32_t max, uint8_t flag = 0) {
    Nms()->ClearAll();
    Settle();
    auto* ref = SkinBin::UserRefInt::Make(max, Constants::MSG_FROM_NONMENUSYSTEM);
    ref->Flag = flag;
    ref->String = kv::String::FromUtf8(text);
    auto* pad = kv::Cast<NonMenuSystem::KeyPad>(Nms()->Open(&NonMenuSystem::KeyPad::StaticClass(), ref));
    Settle();
    return pad;
  }
  bool IsOpen(const kv::Class* cls) {
    for (auto* f : OpenForms())
      if (f->KvClass() == cls) return true;
    return false;
  }
  static std::string Text(NonMenuSystem::KeyPad* pad) { return pad->OnGetLabelString().ToUtf8(); }
  static std::string FocusedKey(NonMenuSystem::KeyPad* pad) {
    auto* key = kv::Cast<NonMenuSystem::KeyPadButton>(pad->Keyboard().OnGetFocus());
    return key ? key->OnGetText().ToUtf8() : std::string();
  }
  SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(W()); }
  PersistentData::PersistentData* Store() {
    return kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
  }
};

// --- Confirmation dialogs -------------------------------------------------------------------

// Every type with a row opens with its question; Yes carries out its action
// against the set (checked where the set sees it); No leaves without it.
TEST_F(DialogTest, EveryConfirmTypeAsksAndAnswers) {
  struct Row {
    int32_t type;
    const char* yesCall;  // a middleware call Yes makes, or null
  };
  const Row rows[] = {
      {2, nullptr},  {3, nullptr},  {4, nullptr},  {5, nullptr},  {6, nullptr},  {17, "XPM_ResetVideoPreset"},
      {18, nullptr}, {19, nullptr}, {20, nullptr}, {21, nullptr}, {22, nullptr}, {33, nullptr},
      {34, nullptr}, {35, "XPM_SetUsAgeRating"}, {36, nullptr}, {37, nullptr}, {38, nullptr}, {39, nullptr},
      {40, nullptr}, {41, nullptr}, {42, nullptr}, {43, nullptr}, {49, nullptr}, {50, nullptr},
      {51, nullptr}, {52, nullptr}, {53, "XPM_SetUsAgeRating"}, {54, nullptr}, {55, nullptr}, {56, nullptr},
      {57, nullptr}, {58, nullptr}, {59, nullptr}, {60, nullptr}, {61, nullptr}, {62, nullptr},
      {63, nullptr}, {64, nullptr}, {65, nullptr},
  };
  const kv::Class* cls = &NonMenuSystem::ConfirmMultiOptionDialog::StaticClass();
  for (const Row& r : rows) {
    SCOPED_TRACE(r.type);
    kv::Persistent<NonMenuSystem::ConfirmMultiOptionDialog> d = Confirm(r.type);
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(IsOpen(cls));
    EXPECT_EQ(d->ConfirmType, r.type);
    EXPECT_FALSE(d->WarningInfo.Empty());
    // The question fits: the dialog is taller than its text and buttons.
    EXPECT_GE(d->Bounds().H(), d->WarningView().Bounds().H() + d->ItemHeight);
    if (r.type >= 55 && r.type != 60) {
      EXPECT_EQ(d->YesButton().OnGetText().ToUtf8(), "Yes");
      EXPECT_EQ(d->NoButton().OnGetText().ToUtf8(), "No");
    }
    if (!r.yesCall) continue;
    ClearCallLog();
    d->OnSetFocus(&d->YesButton());
    Key(1);
    EXPECT_FALSE(Calls(r.yesCall).empty()) << r.yesCall;
    EXPECT_FALSE(IsOpen(cls));
    // No: nothing of the action.
    d = Confirm(r.type);
    ClearCallLog();
    d->OnSetFocus(&d->NoButton());
    Key(1);
    EXPECT_TRUE(Calls(r.yesCall).empty());
    EXPECT_FALSE(IsOpen(cls));
  }
}

// No leaves each question without its action; Yes carries it out where the
// set (or the settings store) sees it. The factory reset and the sleep after
// stopping every recording come last: they leave the set reset or asleep.
TEST_F(DialogTest, YesAndNoOfEachResetAndRecordingQuestionReachTheSet) {
  struct Row {
    int32_t type;
    const char* call;  // the call Yes makes, with the start of its arguments
  };
  const Row rows[] = {
      {3, "TVSM_ResetConnectedApps(0)"},
      {5, "TVSM_ResetConnectedApps(1)"},
      {18, "XPM_SetCM3D(0)"},
      {19, "XPM_SetColorTemperature_RGB_Filter(1118481)"},
      {21, "XPM_SetExtOemProperty(55, "},
      {22, "XPM_ResetTintForge(0, 0)"},
      {37, nullptr},
      {38, "XPM_ResetRatingRegion(5)"},
      {40, "XPM_SetAdvancedCaptionProperty(0, 4)"},
      {41, "XPM_SetVerticalPostition(0)"},
      {42, "XPM_AutoSync()"},
      {43, "TVSM_ResetConnectedApps(3)"},
      {51, "XPM_ResetAudioDefaults()"},
      {52, "XPM_SetCaptionDecodeMode(2)"},
      {54, nullptr},
      {55, "XPM_RECORDING_START(0, "},
      {56, "XPM_RECORDING_STOP(0)"},
      {57, "XPM_TIMESHIFT_START(0)"},
      {58, "XPM_TIMESHIFT_STOP(0)"},
      {65, "XPM_StandbyMode(1, 5)"},
      // The factory reset (33) leaves the set in the first-time setup: its
      // road is tested with the application root (mainapp_test.cpp).
  };
  auto made = [this](const char* call) {
    const std::string c(call);
    for (const std::string& line : Calls(c.substr(0, c.find('('))))
      if (line.rfind(c, 0) == 0) return true;
    return false;
  };
  const kv::Class* cls = &NonMenuSystem::ConfirmMultiOptionDialog::StaticClass();
  // The two questions without a call: what they change in the settings store.
  auto prime = [&] {
    Store()->PutInteger(SkinBinWrapper::KEY_AUTO_INPUT_TV, 3);
    Store()->PutString(SkinBinWrapper::KEY_SCREEN_SAVER_DELAY, kv::String::FromUtf8("5"));
  };
  auto changed = [&](int32_t type) {
    if (type == 37) return Store()->GetInteger(SkinBinWrapper::KEY_AUTO_INPUT_TV) == -1;
    return Store()->GetString(SkinBinWrapper::KEY_SCREEN_SAVER_DELAY).ToUtf8() == "30";
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.type);
    prime();
    kv::Persistent<NonMenuSystem::ConfirmMultiOptionDialog> d = Confirm(r.type);
    ASSERT_NE(d, nullptr);
    ClearCallLog();
    d->OnSetFocus(&d->NoButton());
    Key(1);
    Run(200);
    EXPECT_FALSE(IsOpen(cls));
    if (r.call)
      EXPECT_FALSE(made(r.call)) << r.call;
    else
      EXPECT_FALSE(changed(r.type));
    d = Confirm(r.type);
    ASSERT_NE(d, nullptr);
    ClearCallLog();
    d->OnSetFocus(&d->YesButton());
    Key(1);
    Run(200);
    EXPECT_FALSE(IsOpen(cls));
    if (r.call)
      EXPECT_TRUE(made(r.call)) << r.call;
    else
      EXPECT_TRUE(changed(r.type));
    // The rating-region reset names the region the set holds.
    if (r.type == 38) {
      EXPECT_FALSE(Logged("XPM_ResetRatingRegion Error"));
    }
    Log().Clear();
  }
}

// Yes on the advanced-picture reset in each of the eight picture modes: the
// set takes every value the reset writes and then holds the mode's colour
// temperature, dynamic contrast, noise reduction and super-resolution level;
// the level row shows the level the reset chose.
TEST_F(DialogTest, AdvancedPictureResetInEveryPictureModeIsTakenByTheSet) {
  using sim::Setting;
  struct Mode {
    int32_t temperature, contrast;
    bool processing;  // noise reduction and super resolution on (all but game and PC)
    int32_t level;    // the super-resolution level shown afterwards
  };
  const Mode modes[8] = {{5, 5, true, 0},  {10, 10, true, 3}, {7, 7, true, 3},  {2, 3, true, 3},
                         {2, 5, true, 3},  {10, 10, true, 4}, {7, 7, false, 0}, {7, 5, false, 0}};
  SkinBin::Wrapper* skin = Skin();
  ASSERT_NE(skin, nullptr);
  for (int32_t p = 0; p < 8; ++p) {
    SCOPED_TRACE(p);
    skin->OnSetVideoPreset(p);
    Settle();
    ASSERT_EQ(skin->OnGetVideoPreset(), p);
    // Super resolution off with level 2 before the reset.
    ASSERT_TRUE(Tv().SetState("enh.sr_number.0", "2"));
    Log().Clear();
    kv::Persistent<NonMenuSystem::ConfirmMultiOptionDialog> d = Confirm(18);
    ASSERT_NE(d, nullptr);
    ClearCallLog();
    d->OnSetFocus(&d->YesButton());
    Key(1);
    Run(200);
    EXPECT_FALSE(Logged("refused")) << "a value of the reset was refused";
    const Mode& m = modes[p];
    EXPECT_EQ(Tv().Tv().Value(Setting::kColorTemperature), m.temperature);
    EXPECT_EQ(Tv().Tv().Value(Setting::kDynamicContrast), m.contrast);
    EXPECT_EQ(Tv().Tv().Value(Setting::kDigitalNR), m.processing ? 1 : 0);
    EXPECT_EQ(Tv().Tv().Value(Setting::kAnalogNR), m.processing ? 4 : 0);
    if (m.processing) {
      EXPECT_EQ(skin->OnGetSuperResolutionStatus(), 1);
      EXPECT_EQ(skin->OnGetSuperResolutionLevel(), m.level);
    }
    EXPECT_FALSE(IsOpen(&NonMenuSystem::ConfirmMultiOptionDialog::StaticClass()));
  }
}

TEST_F(DialogTest, ConfirmKeysAndLayout) {
  kv::Persistent<NonMenuSystem::ConfirmMultiOptionDialog> d = Confirm(51);
  ASSERT_NE(d, nullptr);
  // No has the focus on opening; left and right wrap between the two buttons.
  EXPECT_EQ(Focused(), &d->NoButton());
  Key(7);
  EXPECT_EQ(Focused(), &d->YesButton());
  Key(6);
  EXPECT_EQ(Focused(), &d->NoButton());
  // Yes left of No, 20 pixels apart, centred on one line.
  const kv::Rect y = d->YesButton().Bounds(), n = d->NoButton().Bounds();
  EXPECT_EQ(n.x1 - y.x2, 20);
  EXPECT_EQ(y.y1, n.y1);
  EXPECT_EQ(y.x1, d->Bounds().W() - n.x2);
  // Types 6 and 50 cannot be left by a key.
  for (int32_t type : {6, 50}) {
    d = Confirm(type);
    for (uint16_t code : {2, 41, 45}) {
      EXPECT_EQ(Key(code), d.get());
      EXPECT_TRUE(d->IsOpen()) << type << " " << code;
    }
  }
  // Record rows give Yes the focus; the delete rows keep it on No.
  d = Confirm(56);
  EXPECT_EQ(Focused(), &d->YesButton());
  d = Confirm(61);
  EXPECT_EQ(Focused(), &d->NoButton());
  EXPECT_EQ(d->Layer, 128u);
  // A type without a row keeps the constructed reset question.
  d = Confirm(12);
  EXPECT_EQ(d->Caption.ToUtf8(), "Reset");
}

TEST_F(DialogTest, ConfirmActionsOnTheSettings) {
  // Delete PIN (34) removes the parental PIN; delete 3D PIN (36) the 3D PIN.
  Store()->PutString(SkinBinWrapper::KEY_PIN, kv::String::FromUtf8("1234"));
  Store()->PutString(SkinBinWrapper::KEY_3D_PIN, kv::String::FromUtf8("4321"));
  kv::Persistent<NonMenuSystem::ConfirmMultiOptionDialog> d = Confirm(34);
  d->OnSetFocus(&d->YesButton());
  Key(1);
  EXPECT_TRUE(Store()->GetString(SkinBinWrapper::KEY_PIN).Empty());
  EXPECT_FALSE(Store()->GetString(SkinBinWrapper::KEY_3D_PIN).Empty());
  d = Confirm(36);
  d->OnSetFocus(&d->YesButton());
  Key(1);
  EXPECT_TRUE(Store()->GetString(SkinBinWrapper::KEY_3D_PIN).Empty());
  // The channel-browser reset stores 111.
  Store()->PutInteger(SkinBinWrapper::KEY_CB_LISTS, 3);
  d = Confirm(39);
  d->OnSetFocus(&d->YesButton());
  Key(1);
  EXPECT_EQ(Store()->GetInteger(SkinBinWrapper::KEY_CB_LISTS), 111);
  // The scale-window reset puts the window back to 0.
  Skin()->OnSetWindowHPos(5);
  d = Confirm(60);
  d->OnSetFocus(&d->YesButton());
  Key(1);
  EXPECT_EQ(Skin()->OnGetWindowHPos(), 0);
  // Type 63 answered by its time-out asks the set for standby.
  d = Confirm(63);
  ASSERT_TRUE(d->IsOpen());
  EXPECT_EQ(d->TimeOutValue, 60000);
  // Type 64's question names the tuner; exit cancels then leaves.
  d = Confirm(64);
  EXPECT_NE(d->WarningInfo.ToUtf8().find(" 1"), std::string::npos);
  EXPECT_EQ(d->TimeOutValue, 15000);
}

TEST_F(DialogTest, ConfirmCensusReturnsToBaseline) {
  auto cycle = [&] {
    Confirm(51);
    Key(41);
    Settle();
  };
  cycle();
  auto baseline = Census();
  for (int i = 0; i < 50; ++i) cycle();
  EXPECT_EQ(Census(), baseline);
}

// --- The key pad ------------------------------------------------------------------------------

TEST_F(DialogTest, KeyPadEntersDeletesAndAnswers) {
  kv::Persistent<Listener> listener = kv::New<Listener>();
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Register(listener);
  kv::Persistent<NonMenuSystem::KeyPad> pad = OpenKeyPad("Ab", 10);
  ASSERT_NE(pad, nullptr);
  EXPECT_EQ(Text(pad), "Ab");
  EXPECT_EQ(pad->OnGetCursorPos(), 2);
  EXPECT_EQ(pad->Keyboard().KeyCount(), 27);
  EXPECT_EQ(FocusedKey(pad), "A");
  // Latin right after opening (nothing typed) does nothing.
  Key(23);
  EXPECT_FALSE(pad->IsLatinMode);
  // OK types the focused key; right moves along the row.
  Key(1);
  Key(7);
  Key(1);
  EXPECT_EQ(Text(pad), "AbAB");
  // Red deletes the character before the cursor.
  Key(20);
  EXPECT_EQ(Text(pad), "AbA");
  EXPECT_EQ(pad->OnGetCursorPos(), 3);
  // After typing A, Latin shows its 8 variants; OK replaces the A.
  Key(6);
  Key(1);
  EXPECT_EQ(Text(pad), "AbAA");
  Key(23);
  EXPECT_TRUE(pad->IsLatinMode);
  EXPECT_EQ(pad->Keyboard().KeyCount(), 8);
  Key(7);
  Key(1);
  EXPECT_EQ(Text(pad), "AbA\xc3\x81");  // Á
  // Red does nothing in Latin mode; a cursor move leaves it.
  Key(20);
  EXPECT_EQ(Text(pad), "AbA\xc3\x81");
  Key(58);
  EXPECT_FALSE(pad->IsLatinMode);
  EXPECT_EQ(pad->Keyboard().KeyCount(), 27);
  EXPECT_EQ(pad->OnGetCursorPos(), 3);
  Key(40);
  // Modes: lower case, digits, symbols, upper case again.
  Key(21);
  EXPECT_EQ(pad->KeyboardMode, NonMenuSystem::KEYBOARD_LOWER);
  EXPECT_EQ(FocusedKey(pad), "a");
  Key(21);
  EXPECT_EQ(pad->Keyboard().KeyCount(), 10);
  Key(21);
  EXPECT_EQ(pad->Keyboard().KeyCount(), 33);
  Key(21);
  EXPECT_EQ(pad->KeyboardMode, NonMenuSystem::KEYBOARD_UPPER);
  // Digits: code 10 types the layout's tenth key.
  Key(10);
  Key(15);
  EXPECT_EQ(Text(pad), "AbA\xc3\x81" "05");
  // Done answers the text and closes.
  Key(22);
  EXPECT_FALSE(pad->IsOpen());
  EXPECT_EQ(listener->answers, 1);
  EXPECT_TRUE(listener->withText);
  EXPECT_EQ(listener->last, "AbA\xc3\x81" "05");
  // Back answers without a text.
  pad = OpenKeyPad("x", 10);
  Key(41);
  EXPECT_FALSE(pad->IsOpen());
  EXPECT_EQ(listener->answers, 2);
  EXPECT_FALSE(listener->withText);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->UnRegister(listener);
}

TEST_F(DialogTest, KeyPadLimitsWrapAndFlag) {
  kv::Persistent<NonMenuSystem::KeyPad> pad = OpenKeyPad("abc", 3);
  ASSERT_NE(pad, nullptr);
  // At the maximum length no key is taken.
  Key(1);
  Key(12);
  EXPECT_EQ(Text(pad), "abc");
  // Right from the last key of a row wraps to its first; up and down wrap in the column.
  for (int i = 0; i < 6; ++i) Key(7);
  EXPECT_EQ(FocusedKey(pad), "G");
  Key(7);
  EXPECT_EQ(FocusedKey(pad), "A");
  Key(4);
  EXPECT_EQ(FocusedKey(pad), "V");
  Key(5);
  EXPECT_EQ(FocusedKey(pad), "A");
  // With the flag set, Latin mode is never offered.
  pad = OpenKeyPad("", 10, 1);
  Key(1);
  Key(23);
  EXPECT_FALSE(pad->IsLatinMode);
  // A long text scrolls: the left arrow shows.
  pad = OpenKeyPad("WWWWWWWWWWWWWWWWWWWWWWWW", 100);
  EXPECT_TRUE(pad->LeftArrow().IsVisible());
  EXPECT_FALSE(pad->RightArrow().IsVisible());
  Key(39);
  EXPECT_FALSE(pad->LeftArrow().IsVisible());
  EXPECT_TRUE(pad->RightArrow().IsVisible());
}

TEST_F(DialogTest, KeyPadCensusReturnsToBaseline) {
  auto cycle = [&] {
    OpenKeyPad("abc", 10);
    Key(1);
    Key(41);
    Settle();
  };
  cycle();
  auto baseline = Census();
  for (int i = 0; i < 50; ++i) cycle();
  EXPECT_EQ(Census(), baseline);
}

}  // namespace dialogtest

