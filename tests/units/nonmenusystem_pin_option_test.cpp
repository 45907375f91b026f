// The PIN dialogs and the option pop-ups through the whole system: each PIN
// type with its expected PIN, right and wrong entries, new PINs set, refused
// and mismatched; the hot-key pop-up applying each focused choice and
// writing nothing on open; the list pop-up reporting its choice.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "focus_look.h"
#include "nonmenusystem_support.h"
#include "runtime/runtime.h"
#include "strings/SkinBinWrapper.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/MainApp/InitialSetup.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/NonMenuSystem/OptionDialogs.h"
#include "units/NonMenuSystem/PinDialogs.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionDatabase.h"
#include "units/PersistentData/PersistentData.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/WinIDs/WinIDs.h"

namespace pinoptiontest {

// Counts the list pop-up's reports.
class Reporter : public kv::Object {
  KV_CLASS(pinoptiontest, Reporter, kv::Object)
 public:
  void Changed(kv::Object*) { ++reports; }
  int reports = 0;
};
KV_REGISTER_CLASS(pinoptiontest::Reporter);

using NonMenuSystem::ChangePinDialog;
using NonMenuSystem::EnterPinDialog;
using NonMenuSystem::OptionDialog;
using NonMenuSystem::OptionDialogWithCaption;

class PinOptionTest : public livetvtest::LiveTVTest {
 protected:
  PersistentData::PersistentData* Store() {
    return kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
  }
  SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(W()); }
  void StorePins(const char* parental, const char* threeD) {
    Store()->PutString(SkinBinWrapper::KEY_PIN, kv::String::FromUtf8(parental));
    Store()->PutString(SkinBinWrapper::KEY_3D_PIN, kv::String::FromUtf8(threeD));
  }
  std::string Pin() { return Store()->GetString(SkinBinWrapper::KEY_PIN).ToUtf8(); }
  std::string Pin3D() { return Store()->GetString(SkinBinWrapper::KEY_3D_PIN).ToUtf8(); }
  template <typename T>
  T* OpenWith(int32_t value, int32_t code = Constants::MSG_FROM_NONMENUSYSTEM) {
    Nms()->ClearAll();
    Settle();
    auto* form = kv::Cast<T>(Nms()->OpenWithValue(&T::StaticClass(), value, code));
    Settle();
    return form;
  }
  template <typename T>
  T* Open() {
    for (auto* f : OpenForms())
      if (auto* t = kv::Cast<T>(f); t && f->KvClass() == &T::StaticClass()) return t;
    return nullptr;
  }
  void Type(const char* digits) {
    for (const char* d = digits; *d; ++d) Press(std::string(1, *d));
    Settle();
  }
  // Closes the message bar the way its time-out does.
  void CloseBar() {
    if (Bar()) Bar()->Close();
    Settle();
  }
  OptionDatabase::OptionDataClass* Record(int32_t id) {
    return kv::GetAutoObject<OptionDatabase::OptionDatabaseClass>(MainApp::OptionDB)->GetOptionData(id);
  }
};

// --- Enter PIN ---------------------------------------------------------------------------

// Each PIN type expects its PIN; the right one leaves the dialog, a wrong one
// keeps it with message 2 over it, as often as the viewer likes.
TEST_F(PinOptionTest, EachPinTypeExpectsItsPin) {
  struct Row {
    int32_t type;
    const char* expected;
  };
  const Row rows[] = {{1, "1234"}, {2, "1234"}, {3, "1234"},  {4, "1234"},  {7, "1234"},
                      {8, "1234"}, {9, "5678"}, {10, "5678"}, {11, "5678"}, {12, "1234"}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.type);
    StorePins("1234", "5678");
    kv::Persistent<EnterPinDialog> d = OpenWith<EnterPinDialog>(r.type);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->OnGetEnterPinType(), r.type);
    EXPECT_EQ(d->ExpectedPin().ToUtf8(), r.expected);
    EXPECT_EQ(Focused(), &d->Entry());
    // Three wrong tries: each clears the entry and shows message 2 centred on the dialog.
    const char* wrong = r.expected[0] == '1' ? "5678" : "1234";
    for (int i = 0; i < 3; ++i) {
      Type(wrong);
      ASSERT_EQ(BarType(), 2);
      EXPECT_TRUE(d->IsOpen());
      EXPECT_TRUE(d->Entry().CurrentPin().Empty());
      const kv::Rect db = d->Bounds();
      const kv::Rect bb = Bar()->Bounds();
      EXPECT_EQ(bb.x1 - db.x1, (db.W() - bb.W()) / 2);
      EXPECT_EQ(bb.y1 - db.y1, (db.H() - bb.H()) / 2);
      CloseBar();
      EXPECT_EQ(Focused(), &d->Entry());
      EXPECT_EQ(d->OnGetEnterPinType(), r.type);
    }
    Type(r.expected);
    EXPECT_FALSE(d->IsOpen());
    EXPECT_EQ(BarType(), 0);
    if (r.type == 8) {
      // The quick-setup PIN starts the first-time setup again on its first
      // page; ended here so that the next row is asked for in live TV.
      auto* page = kv::Cast<MainApp::InitialSetupPage>(Wm()->FindForm(WinIDs::WIN_ID_OutOfBox));
      ASSERT_NE(page, nullptr);
      EXPECT_STREQ(page->KvClass()->name, "InitialSetup::LanguageDialog");
      kv::Signal(page->OnAbortSetup, page);
      Settle();
    }
  }
}

TEST_F(PinOptionTest, ResetPinFallsBackToThe3DPinAndOpensTheResetQuestion) {
  StorePins("", "5678");
  kv::Persistent<EnterPinDialog> d = OpenWith<EnterPinDialog>(4);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->ExpectedPin().ToUtf8(), "5678");
  EXPECT_EQ(d->GetNextStateType(), 33);
  Type("5678");
  kv::Persistent<NonMenuSystem::ConfirmMultiOptionDialog> confirm = Open<NonMenuSystem::ConfirmMultiOptionDialog>();
  ASSERT_NE(confirm, nullptr);
  EXPECT_EQ(confirm->ConfirmType, 33);
}

TEST_F(PinOptionTest, QuickSetupPinGoesBackToItsQuestion) {
  StorePins("1234", "");
  kv::Persistent<EnterPinDialog> d = OpenWith<EnterPinDialog>(8);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->GetPrevStateType(), 2);
  Press("back");
  Settle();
  kv::Persistent<NonMenuSystem::ConfirmMultiOptionDialog> confirm = Open<NonMenuSystem::ConfirmMultiOptionDialog>();
  ASSERT_NE(confirm, nullptr);
  EXPECT_EQ(confirm->ConfirmType, 2);
}

// The 3D time lock's PIN: without the timer lock it never times out, takes
// only digits and exit, and leaving it returns the picture to 2D.
TEST_F(PinOptionTest, ThreeDTimeLockPinStaysUntilAnsweredAndExitLeaves3D) {
  StorePins("1234", "5678");
  Skin()->OnSetThreeDTimerLock(0);
  kv::Persistent<EnterPinDialog> d = OpenWith<EnterPinDialog>(11);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->TimeOutValue, 0);
  Run(70000);
  Settle();
  EXPECT_TRUE(d->IsOpen());
  for (const char* k : {"back", "menu", "ok", "up"}) {
    Press(k);
    Settle();
    EXPECT_TRUE(d->IsOpen()) << k;
  }
  Skin()->Setup3D.State = SkinBin::Setup3D_State_3D;
  Press("exit");
  Settle();
  EXPECT_FALSE(d->IsOpen());
  EXPECT_NE(Skin()->Setup3D.State, SkinBin::Setup3D_State_3D);

  Skin()->OnSetThreeDTimerLock(1);
  d = OpenWith<EnterPinDialog>(11);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->TimeOutValue, 60000);
}

// Deleting the PIN (confirmation 34) and the rating resets (35, 53) unblock
// every rating on the set without a refused call.
TEST_F(PinOptionTest, RatingResetsAreAcceptedByTheSet) {
  for (int32_t type : {34, 35, 53}) {
    SCOPED_TRACE(type);
    StorePins("1234", "5678");
    ASSERT_EQ(W()->SetUsAgeRating(5, 0x1111111, true, true), 0);
    Log().Clear();
    ClearCallLog();
    kv::Persistent<NonMenuSystem::ConfirmMultiOptionDialog> d = kv::Cast<NonMenuSystem::ConfirmMultiOptionDialog>(
        Nms()->ShowConfirmDialog(type, Constants::MSG_FROM_NONMENUSYSTEM));
    Settle();
    ASSERT_NE(d, nullptr);
    d->OnSetFocus(&d->YesButton());
    Press("ok");
    Settle();
    const std::vector<std::string> age = Calls("XPM_SetUsAgeRating");
    ASSERT_FALSE(age.empty());
    EXPECT_EQ(age[0], "XPM_SetUsAgeRating(5, 17895697, 0, 1)");
    EXPECT_EQ(Calls("XPM_SetUsChildRating"), std::vector<std::string>{"XPM_SetUsChildRating(2, 17895697, 0, 1)"});
    EXPECT_EQ(Calls("XPM_SetUsMovieRating").back(), "XPM_SetUsMovieRating(7, 0, 1)");
    EXPECT_EQ(W()->GetUsAgeRating(5, 1), 0);
    EXPECT_FALSE(Logged("Rating: rating"));  // no rating call refused
    EXPECT_EQ(Pin().empty(), type == 34);
  }
}

// --- Change PIN -------------------------------------------------------------------------

TEST_F(PinOptionTest, ChangePinStoresEachTypesPin) {
  struct Row {
    int32_t type;
    bool parental;  // else the 3D PIN
  };
  for (const Row r : {Row{1, true}, Row{2, false}, Row{3, true}}) {
    SCOPED_TRACE(r.type);
    StorePins("1234", "5678");
    kv::Persistent<ChangePinDialog> d = OpenWith<ChangePinDialog>(r.type);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(Focused(), &d->FirstEntry());
    // Each entry row names what it asks for, under the caption of the PIN
    // it changes.
    Run(200);
    EXPECT_TRUE(Sees(r.parental ? "PIN setting" : "3D PIN")) << SeenList();
    EXPECT_FALSE(Sees(r.parental ? "3D PIN" : "PIN setting")) << SeenList();
    EXPECT_TRUE(Sees("New PIN:")) << SeenList();
    EXPECT_TRUE(Sees("Confirm PIN:")) << SeenList();
    Type("4321");
    EXPECT_EQ(Focused(), &d->SecondEntry());
    Type("4321");
    EXPECT_FALSE(d->IsOpen());
    EXPECT_EQ(r.parental ? Pin() : Pin3D(), "4321");
    EXPECT_EQ(r.parental ? Pin3D() : Pin(), r.parental ? "5678" : "1234");
  }
}

TEST_F(PinOptionTest, MismatchedOrRefusedNewPinStartsAgainAndKeepsTheOldPin) {
  StorePins("1234", "5678");
  kv::Persistent<ChangePinDialog> d = OpenWith<ChangePinDialog>(1);
  ASSERT_NE(d, nullptr);
  Type("1111");
  Type("2222");
  EXPECT_EQ(BarType(), 2);
  EXPECT_TRUE(d->IsOpen());
  EXPECT_TRUE(d->FirstEntry().CurrentPin().Empty());
  EXPECT_TRUE(d->SecondEntry().CurrentPin().Empty());
  CloseBar();
  EXPECT_EQ(Focused(), &d->FirstEntry());
  Type("0000");
  Type("0000");
  EXPECT_EQ(BarType(), 3);
  EXPECT_EQ(Pin(), "1234");
  CloseBar();
  EXPECT_EQ(Focused(), &d->FirstEntry());
  // Up and down are consumed; the entry keeps its digits.
  Type("12");
  Press("down");
  EXPECT_EQ(d->FirstEntry().CurrentPin().ToUtf8(), "12");
}

TEST_F(PinOptionTest, PinDialogCensusReturnsToBaseline) {
  StorePins("1234", "5678");
  auto cycle = [&] {
    OpenWith<EnterPinDialog>(2);
    Type("9999");
    CloseBar();
    Press("exit");
    OpenWith<ChangePinDialog>(1);
    Press("exit");
    Settle();
  };
  cycle();
  auto baseline = Census();
  for (int i = 0; i < 50; ++i) cycle();
  EXPECT_EQ(Census(), baseline);
}

// --- Hot-key option pop-up --------------------------------------------------------------

// The picture-size key opens the pop-up on the size that is set, writing
// nothing; each focused choice is written at once; the key steps on.
TEST_F(PinOptionTest, HotKeyPopUpAppliesEachFocusedChoice) {
  ASSERT_TRUE(SwitchToSourceType(W()->GetSourceType(W()->GetCurrentSource(0))));
  const int32_t id = SkinBin::OPTION_TYPE_PICTURE_SIZE;
  kv::Persistent<OptionDatabase::OptionDataClass> record = Record(id);
  ASSERT_NE(record, nullptr);
  ClearCallLog();
  Press("size");
  Settle();
  kv::Persistent<OptionDialogWithCaption> d = Open<OptionDialogWithCaption>();
  ASSERT_NE(d, nullptr);
  EXPECT_TRUE(Calls("XPM_SetPreferredViewMode").empty());
  EXPECT_EQ(d->OnGetOptionType(), id);
  const int32_t n = d->OnGetCount();
  ASSERT_GE(n, 2);
  EXPECT_EQ(d->Bounds().H(), 27 * n + 64);
  EXPECT_EQ(d->OnGetCaption(), record->Name);
  record->Value = kv::OnGetInt32(record->RefValue);
  record->Val2Id();
  const int32_t start = record->Id;
  EXPECT_EQ(d->GetIndexOf(kv::Cast<Forms::Ctrl>(d->OnGetFocus())), start);
  // The choice set shows the focus bar.
  Run(200);
  EXPECT_TRUE(apptest::LooksFocused(Osd(), d->OnGetFocus()));

  // Down through every choice with wrap-around: each step writes that choice.
  for (int32_t step = 1; step <= n; ++step) {
    const int32_t before = kv::OnGetInt32(record->RefValue);
    ClearCallLog();
    Press("down");
    const int32_t index = (start + step) % n;
    EXPECT_EQ(d->GetIndexOf(kv::Cast<Forms::Ctrl>(d->OnGetFocus())), index);
    record->Id = index;
    record->Id2Value();
    const std::vector<std::string> writes = Calls("XPM_SetPreferredViewMode");
    if (record->Value == before) {
      EXPECT_TRUE(writes.empty()) << step;
    } else {
      EXPECT_EQ(writes.size(), 1u) << step;
    }
  }
  Press("up");
  EXPECT_EQ(d->GetIndexOf(kv::Cast<Forms::Ctrl>(d->OnGetFocus())), (start + n - 1) % n);
  // The hot key steps on; the caption key is not this pop-up's.
  Press("size");
  EXPECT_EQ(d->GetIndexOf(kv::Cast<Forms::Ctrl>(d->OnGetFocus())), start);
  ClearCallLog();
  auto* key = kv::New<Core::KeyEvent>();
  key->Code = 76;
  key->Down = true;
  EXPECT_EQ(d->HandleEvent(key), nullptr);
  EXPECT_TRUE(Calls("XPM_SetPreferredViewMode").empty());
  Press("ok");
  Settle();
  EXPECT_FALSE(d->IsOpen());
}

// Re-focusing the choice that is set writes nothing; a missing record gives
// the empty pop-up of zero choices.
TEST_F(PinOptionTest, HotKeyPopUpWritesNothingForTheSetChoiceAndOpensEmptyWithoutARecord) {
  const int32_t id = SkinBin::OPTION_TYPE_PICTURE_MODE;
  ClearCallLog();
  kv::Persistent<OptionDialogWithCaption> d = OpenWith<OptionDialogWithCaption>(id);
  ASSERT_NE(d, nullptr);
  EXPECT_TRUE(Calls("XPM_SetVideoPreset").empty());
  kv::Persistent<Forms::Ctrl> set = kv::Cast<Forms::Ctrl>(d->OnGetFocus());
  ASSERT_NE(set, nullptr);
  d->OnSetFocus(d->GetNextCtrl(set) ? d->GetNextCtrl(set) : d->GetFirstCtrl());
  d->OnSetFocus(set);
  EXPECT_EQ(Calls("XPM_SetVideoPreset").size(), 2u);  // away, and back to the set choice
  ClearCallLog();
  d->DoFocus(set);
  EXPECT_TRUE(Calls("XPM_SetVideoPreset").empty());

  d = OpenWith<OptionDialogWithCaption>(0x12345);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->OnGetCount(), 0);
  EXPECT_EQ(d->GetCount(), 0);
  EXPECT_EQ(d->Bounds().H(), 2 * d->FrameWidth + 64);
  Press("down");
  EXPECT_TRUE(d->IsOpen());
}

// --- List pop-up ---------------------------------------------------------------------------

TEST_F(PinOptionTest, ListPopUpReportsTheActivatedChoiceAndCloses) {
  const int32_t id = SkinBin::OPTION_TYPE_PICTURE_MODE;
  kv::Persistent<Reporter> reporter = kv::New<Reporter>();
  kv::Persistent<OptionDialog> d = OpenWith<OptionDialog>(id);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->OnGetOptionType(), id);
  const kv::Rect l = d->List().Bounds();
  EXPECT_EQ(d->Bounds().W(), l.W());
  EXPECT_EQ(d->Bounds().H(), l.H() + 28);
  EXPECT_EQ(l.x1, 0);
  EXPECT_EQ(l.y1, 14);
  d->OnSetOnValueChanged(kv::MakeSlot(reporter.get(), &Reporter::Changed));
  ClearCallLog();
  Press("down");
  Press("ok");
  Settle();
  EXPECT_EQ(reporter->reports, 1);
  EXPECT_FALSE(d->IsOpen());
  EXPECT_EQ(Calls("XPM_SetVideoPreset").size(), 1u);

  d = OpenWith<OptionDialog>(id);
  d->OnSetOnValueChanged(kv::MakeSlot(reporter.get(), &Reporter::Changed));
  Press("back");
  Settle();
  EXPECT_FALSE(d->IsOpen());
  EXPECT_EQ(reporter->reports, 1);
}

TEST_F(PinOptionTest, OptionPopUpCensusReturnsToBaseline) {
  auto cycle = [&] {
    OpenWith<OptionDialogWithCaption>(SkinBin::OPTION_TYPE_PICTURE_MODE);
    Press("down");
    Press("ok");
    OpenWith<OptionDialog>(SkinBin::OPTION_TYPE_PICTURE_MODE);
    Press("back");
    Settle();
  };
  cycle();
  auto baseline = Census();
  for (int i = 0; i < 50; ++i) cycle();
  EXPECT_EQ(Census(), baseline);
}

}  // namespace pinoptiontest
