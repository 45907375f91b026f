// The picture and sound enhancement options as the menus use them: each
// option record of the application's database reaches the simulated set
// through the skin Wrapper's property, reads back what was written, and
// marks its settings group for the current picture mode.
#include <gtest/gtest.h>

#include <string>

#include "strings/SkinBinWrapper.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionDatabase.h"
#include "units/PersistentData/PersistentData.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/Wrapper.h"
#include "wrapper_fixture.h"

namespace wrappertest {
namespace {

using OptionDatabase::OptionDataClass;
using OptionDatabase::OptionKind;
namespace G = ::SkinBinWrapper;

enum class Mark { None, Basic, Advanced };

struct Case {
  uint32_t id;
  int32_t value;     // written through the record
  const char* call;  // the middleware call that carries it
  Mark mark;
};

// Options of modules 0x81, 0x82, 0x87 and the aspect, sound-output and
// RGB-range options of the setup modules.
constexpr Case kCases[] = {
    {0x81000001, 12, "XPM_SetBacklight", Mark::Basic},                      // backlight with the sensor on
    {0x81000002, 1, "XPM_SetExtOemProperty", Mark::Advanced},               // brightness sensor
    {0x81000005, 1, "XPM_SetDCRBacklight", Mark::Advanced},                 // Lumiflux
    {0x81000008, 1, "XPM_SetFrcVideoStrength", Mark::Advanced},             // Stillpane 240
    {0x81000009, 1, "XPM_SetFrcMode", Mark::Advanced},                      // Stillpane
    {0x8100000A, 1, "XPM_SetColorTemperature_RGB_Filter", Mark::None},      // RGB filter red
    {0x8100000B, 1, "XPM_SetColorTemperature_RGB_Filter", Mark::None},      // green
    {0x8100000C, 1, "XPM_SetColorTemperature_RGB_Filter", Mark::None},      // blue
    {0x8100000D, 1, "XPM_SetCadenceMode", Mark::Advanced},                  // film stabilisation 240
    {0x8100000F, 1, "XPM_SetFrcFilmStrength", Mark::Advanced},              // film stabilisation
    {0x81000019, 3, "XPM_SetSuperResolutionLevel", Mark::Advanced},         // super-resolution level
    {0x8100001A, 4, "XPM_SetGammaOffset", Mark::Advanced},                  // static gamma
    {0x8100001E, 1, "XPM_SetCadenceMode", Mark::Advanced},                  // cinema mode
    {0x82000001, 1, "XPM_SetEqualizerPreset", Mark::None},                  // voice enhancement
    {0x82000002, 2, "XPM_SetEqualizerPreset", Mark::None},                  // bass boost level 2
    {0x82000003, 1, "XPM_SetDolbyDRC", Mark::None},                         // dynamic range control
    {0x85000007, 2, "XPM_SetRGBRange", Mark::None},                         // HDMI RGB range
    {0x87000000, 20, "XPM_SetCM3DTintForge", Mark::Advanced},               // red hue
    {0x87000004, 30, "XPM_SetCM3DTintForge", Mark::Advanced},               // green saturation
    {0x87000011, 40, "XPM_SetCM3DTintForge", Mark::Advanced},               // cyan brightness
    {0x03000006, 1, "", Mark::None},                                        // automatic aspect
    {0x03000007, 1, "", Mark::None},                                        // 4:3 stretch
};

class EnhanceOptionsTest : public WrapperTest {
 protected:
  bool AppWrapper() const override { return true; }
  void SetUp() override {
    WrapperTest::SetUp();
    PersistentData::SetStoragePaths((dir_ / "settings.dat").string(), (dir_ / "settings.bak").string());
    s_ = kv::Cast<SkinBin::Wrapper>(w_);
    ASSERT_NE(s_, nullptr) << "the application's Wrapper is the skin's";
    if (!s_->PersistentData) s_->PersistentData = kv::New<PersistentData::PersistentData>();
    db_ = kv::GetAutoObject<OptionDatabase::OptionDatabaseClass>(MainApp::OptionDB);
    tv_->ClearCallLog();
  }
  // What a menu does after a change: write through the record, then read
  // the property back into it.
  void Write(OptionDataClass* r, int32_t value) {
    r->Initialize();
    if (r->Kind == OptionKind::Choice) {
      r->Value = value;
      r->Val2Id();
      r->Id2Value();
    } else {
      r->Value = value;
    }
    kv::OnSetInt32(r->RefValue, r->Value);
  }
  int32_t ReadBack(OptionDataClass* r) {
    r->Value = -999;
    r->Value = kv::OnGetInt32(r->RefValue);
    return r->Value;
  }
  void ClearMarks() {
    for (kv::TextId g : {G::GROUP_BASIC_PICTURE, G::GROUP_ADVANCED_PICTURE, G::GROUP_COLOR})
      s_->SetOptionChange(g, false);
  }
  SkinBin::Wrapper* s_ = nullptr;
  OptionDatabase::OptionDatabaseClass* db_ = nullptr;
};

TEST_F(EnhanceOptionsTest, EachEnhancementReachesTheSetReadsBackAndMarksItsGroup) {
  // Picture mode 0 has records of its own for the level sliders.
  s_->OnSetVideoPreset(1);
  for (const Case& c : kCases) {
    SCOPED_TRACE(::testing::Message() << std::hex << "0x" << c.id);
    OptionDataClass* r = db_->GetOptionData(static_cast<int32_t>(c.id));
    ASSERT_NE(r, nullptr);
    ASSERT_TRUE(r->HasProperty()) << "bound to the skin Wrapper's property";
    tv_->ClearCallLog();
    Write(r, c.value);
    if (*c.call) {
      EXPECT_GE(Count(c.call), 1u) << "the change reaches the set";
    } else {
      EXPECT_FALSE(CallsStartingWith("XPM_Set").empty()) << "the change reaches the set";
    }
    EXPECT_EQ(ReadBack(r), c.value) << "the set answers what was written";

    ClearMarks();
    s_->MarkOptionChange(static_cast<int32_t>(c.id));
    EXPECT_EQ(s_->IsOptionChanged(G::GROUP_BASIC_PICTURE), c.mark == Mark::Basic);
    EXPECT_EQ(s_->IsOptionChanged(G::GROUP_ADVANCED_PICTURE), c.mark == Mark::Advanced);
  }
}

// The marks are per picture mode: a change in one mode leaves the others.
TEST_F(EnhanceOptionsTest, AMarkBelongsToThePictureModeItWasMadeIn) {
  OptionDataClass* stillpane = db_->GetOptionData(static_cast<int32_t>(SkinBin::OPTION_TYPE_STILLPANE));
  ASSERT_NE(stillpane, nullptr);
  ClearMarks();
  s_->OnSetVideoPreset(1);
  Write(stillpane, 1);
  s_->MarkOptionChange(static_cast<int32_t>(SkinBin::OPTION_TYPE_STILLPANE));
  EXPECT_TRUE(s_->IsOptionChanged(G::GROUP_ADVANCED_PICTURE));
  s_->OnSetVideoPreset(2);
  EXPECT_FALSE(s_->IsOptionChanged(G::GROUP_ADVANCED_PICTURE));
  s_->OnSetVideoPreset(1);
  EXPECT_TRUE(s_->IsOptionChanged(G::GROUP_ADVANCED_PICTURE));
}

}  // namespace
}  // namespace wrappertest
