// The option database: every option id and its record (kind, choices,
// range), the ids no module serves, the maps between value and index, the
// round trip of a value through a record's property reference to the
// simulated set, the list of records whose property is not bound yet, and
// the heap after many look-ups.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/auto_object.h"
#include "runtime/ref.h"
#include "runtime/text.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionModule.h"
#include "units/SkinBin/OptionDatabase.h"
#include "units/SkinBin/Wrapper.h"
#include "wrapper_fixture.h"

namespace wrappertest {
namespace {

using OptionDatabase::OptionCourier;
using OptionDatabase::OptionDataClass;
using OptionDatabase::OptionKind;
using OptionDatabase::SliderCourier;
constexpr OptionKind kSlider = OptionKind::Slider;
constexpr OptionKind kChoice = OptionKind::Choice;

// Every option id the system uses: its kind, its number of choices where
// the choices are fixed (-1: not checked) and a slider's range.
struct Expected {
  uint32_t id;
  OptionKind kind;
  int32_t choices;
  int32_t min, max, step;
};
constexpr Expected kAllOptions[] = {
    {0x01000001u, kSlider, -1, 0, 100, 1},
    {0x01000002u, kSlider, -1, 0, 100, 1},
    {0x01000003u, kSlider, -1, 0, 100, 1},
    {0x01000004u, kSlider, -1, 0, 100, 1},
    {0x01000005u, kSlider, -1, -50, 50, 1},
    {0x01000006u, kSlider, -1, 0, 100, 1},
    {0x01000008u, kChoice, -1, 0, 0, 0},
    {0x0100000Au, kSlider, -1, 0, 100, 1},
    {0x0100000Bu, kSlider, -1, 0, 100, 1},
    {0x0100000Cu, kSlider, -1, 0, 100, 1},
    {0x0100000Du, kSlider, -1, 0, 100, 1},
    {0x0100000Eu, kSlider, -1, 0, 100, 1},
    {0x0100000Fu, kSlider, -1, 0, 100, 1},
    {0x01000010u, kChoice, -1, 0, 0, 0},
    {0x01000011u, kSlider, -1, 0, 100, 1},
    {0x01000012u, kChoice, -1, 0, 0, 0},
    {0x01000013u, kChoice, -1, 0, 0, 0},
    {0x01000015u, kSlider, -1, -50, 50, 1},
    {0x01000016u, kSlider, -1, -50, 50, 1},
    {0x01000018u, kSlider, -1, 0, 100, 1},
    {0x01000019u, kSlider, -1, 0, 100, 1},
    {0x02000000u, kChoice, -1, 0, 0, 0},
    {0x02000001u, kSlider, -1, -50, 50, 1},
    {0x02000002u, kSlider, -1, -50, 50, 1},
    {0x02000003u, kSlider, -1, -50, 50, 1},
    {0x02000004u, kSlider, -1, 0, 100, 1},
    {0x02000005u, kChoice, -1, 0, 0, 0},
    {0x02000006u, kChoice, -1, 0, 0, 0},
    {0x02000008u, kChoice, -1, 0, 0, 0},
    {0x02000009u, kChoice, -1, 0, 0, 0},
    {0x0200000Bu, kChoice, -1, 0, 0, 0},
    {0x0200000Cu, kChoice, -1, 0, 0, 0},
    {0x0200000Du, kChoice, -1, 0, 0, 0},
    {0x0200000Eu, kChoice, -1, 0, 0, 0},
    {0x0200000Fu, kChoice, -1, 0, 0, 0},
    {0x02000010u, kChoice, -1, 0, 0, 0},
    {0x02000011u, kSlider, -1, 0, 100, 1},
    {0x02000012u, kChoice, 2, 0, 0, 0},
    {0x03000001u, kChoice, -1, 0, 0, 0},
    {0x03000002u, kChoice, -1, 0, 0, 0},
    {0x03000003u, kChoice, -1, 0, 0, 0},
    {0x03000004u, kChoice, 3, 0, 0, 0},
    {0x03000005u, kChoice, 2, 0, 0, 0},
    {0x03000006u, kChoice, -1, 0, 0, 0},
    {0x03000007u, kChoice, -1, 0, 0, 0},
    {0x03000008u, kChoice, -1, 0, 0, 0},
    {0x0300000Bu, kChoice, -1, 0, 0, 0},
    {0x0300000Cu, kChoice, -1, 0, 0, 0},
    {0x0300000Du, kChoice, -1, 0, 0, 0},
    {0x0300000Eu, kChoice, -1, 0, 0, 0},
    {0x0300000Fu, kChoice, -1, 0, 0, 0},
    {0x03000010u, kChoice, -1, 0, 0, 0},
    {0x03000011u, kChoice, -1, 0, 0, 0},
    {0x03000012u, kChoice, -1, 0, 0, 0},
    {0x03000013u, kChoice, -1, 0, 0, 0},
    {0x03000017u, kChoice, 2, 0, 0, 0},
    {0x0300001Bu, kChoice, -1, 0, 0, 0},
    {0x0300001Cu, kChoice, -1, 0, 0, 0},
    {0x0300001Du, kChoice, -1, 0, 0, 0},
    {0x0300001Eu, kChoice, -1, 0, 0, 0},
    {0x04000000u, kChoice, -1, 0, 0, 0},
    {0x04000001u, kChoice, -1, 0, 0, 0},
    {0x04000002u, kChoice, -1, 0, 0, 0},
    {0x04000003u, kChoice, -1, 0, 0, 0},
    {0x04000004u, kChoice, -1, 0, 0, 0},
    {0x04000005u, kChoice, 2, 0, 0, 0},
    {0x04000006u, kChoice, -1, 0, 0, 0},
    {0x04000007u, kChoice, 3, 0, 0, 0},
    {0x04000008u, kChoice, 4, 0, 0, 0},
    {0x04000009u, kChoice, -1, 0, 0, 0},
    {0x0400000Au, kChoice, -1, 0, 0, 0},
    {0x0400000Bu, kChoice, -1, 0, 0, 0},
    {0x0400000Cu, kChoice, 2, 0, 0, 0},
    {0x0400000Du, kChoice, -1, 0, 0, 0},
    {0x81000000u, kChoice, -1, 0, 0, 0},
    {0x81000001u, kSlider, -1, -50, 50, 1},
    {0x81000002u, kChoice, -1, 0, 0, 0},
    {0x81000004u, kChoice, -1, 0, 0, 0},
    {0x81000005u, kChoice, -1, 0, 0, 0},
    {0x81000006u, kChoice, -1, 0, 0, 0},
    {0x81000007u, kSlider, -1, 0, 100, 1},
    {0x81000008u, kChoice, -1, 0, 0, 0},
    {0x81000009u, kChoice, -1, 0, 0, 0},
    {0x8100000Au, kChoice, -1, 0, 0, 0},
    {0x8100000Bu, kChoice, -1, 0, 0, 0},
    {0x8100000Cu, kChoice, -1, 0, 0, 0},
    {0x8100000Du, kChoice, -1, 0, 0, 0},
    {0x8100000Eu, kChoice, -1, 0, 0, 0},
    {0x8100000Fu, kChoice, -1, 0, 0, 0},
    {0x81000010u, kChoice, -1, 0, 0, 0},
    {0x81000011u, kChoice, -1, 0, 0, 0},
    {0x81000012u, kChoice, -1, 0, 0, 0},
    {0x81000013u, kSlider, -1, 0, 100, 1},
    {0x81000014u, kSlider, -1, 0, 100, 1},
    {0x81000015u, kSlider, -1, 0, 100, 1},
    {0x81000016u, kSlider, -1, 0, 100, 1},
    {0x81000017u, kSlider, -1, 0, 100, 1},
    {0x81000018u, kSlider, -1, 0, 100, 1},
    {0x81000019u, kSlider, -1, 0, 100, 1},
    {0x8100001Au, kSlider, -1, -5, 5, 1},
    {0x8100001Bu, kChoice, 8, 0, 0, 0},
    {0x8100001Cu, kChoice, 8, 0, 0, 0},
    {0x8100001Du, kSlider, -1, 0, 100, 1},
    {0x8100001Eu, kChoice, -1, 0, 0, 0},
    {0x8100001Fu, kChoice, -1, 0, 0, 0},
    {0x82000001u, kChoice, -1, 0, 0, 0},
    {0x82000002u, kChoice, 3, 0, 0, 0},
    {0x82000003u, kChoice, -1, 0, 0, 0},
    {0x82000004u, kSlider, -1, 0, 100, 1},
    {0x82000005u, kChoice, -1, 0, 0, 0},
    {0x82000006u, kChoice, -1, 0, 0, 0},
    {0x82000007u, kChoice, -1, 0, 0, 0},
    {0x83000000u, kSlider, -1, 2, 69, 1},
    {0x83000001u, kChoice, 3, 0, 0, 0},
    {0x83000002u, kChoice, 2, 0, 0, 0},
    {0x83000003u, kChoice, -1, 0, 0, 0},
    {0x83000004u, kChoice, -1, 0, 0, 0},
    {0x83000005u, kChoice, -1, 0, 0, 0},
    {0x83000006u, kChoice, 2, 0, 0, 0},
    {0x83000007u, kChoice, 2, 0, 0, 0},
    {0x83000008u, kChoice, -1, 0, 0, 0},
    {0x8300000Au, kChoice, -1, 0, 0, 0},
    {0x8300000Bu, kSlider, -1, 0, 100, 1},
    {0x8300000Cu, kChoice, -1, 0, 0, 0},
    {0x8300000Du, kChoice, -1, 0, 0, 0},
    {0x8300000Eu, kChoice, -1, 0, 0, 0},
    {0x8300000Fu, kChoice, -1, 0, 0, 0},
    {0x83000010u, kChoice, -1, 0, 0, 0},
    {0x83000011u, kChoice, -1, 0, 0, 0},
    {0x83000012u, kChoice, -1, 0, 0, 0},
    {0x83000013u, kChoice, 4, 0, 0, 0},
    {0x83000014u, kChoice, 5, 0, 0, 0},
    {0x83000015u, kSlider, -1, 0, 100, 1},
    {0x83000016u, kSlider, -1, 0, 100, 1},
    {0x83000017u, kSlider, -1, 0, 100, 1},
    {0x83000018u, kSlider, -1, 0, 100, 1},
    {0x83000019u, kChoice, 2, 0, 0, 0},
    {0x8300001Au, kChoice, 11, 0, 0, 0},
    {0x8300001Bu, kChoice, 10, 0, 0, 0},
    {0x84000000u, kChoice, -1, 0, 0, 0},
    {0x84000001u, kChoice, -1, 0, 0, 0},
    {0x84000002u, kChoice, -1, 0, 0, 0},
    {0x84000003u, kChoice, -1, 0, 0, 0},
    {0x84000004u, kChoice, 3, 0, 0, 0},
    {0x84000005u, kChoice, 2, 0, 0, 0},
    {0x84000006u, kChoice, 2, 0, 0, 0},
    {0x84000007u, kChoice, -1, 0, 0, 0},
    {0x84000008u, kChoice, -1, 0, 0, 0},
    {0x84000009u, kChoice, -1, 0, 0, 0},
    {0x8400000Au, kChoice, -1, 0, 0, 0},
    {0x8400000Bu, kChoice, -1, 0, 0, 0},
    {0x8400000Cu, kChoice, -1, 0, 0, 0},
    {0x8400000Du, kChoice, -1, 0, 0, 0},
    {0x8400000Eu, kChoice, -1, 0, 0, 0},
    {0x8400000Fu, kChoice, -1, 0, 0, 0},
    {0x84000010u, kChoice, -1, 0, 0, 0},
    {0x84000011u, kChoice, 5, 0, 0, 0},
    {0x84000012u, kChoice, 7, 0, 0, 0},
    {0x84000013u, kSlider, -1, 0, 100, 1},
    {0x84000014u, kChoice, 5, 0, 0, 0},
    {0x84000015u, kChoice, -1, 0, 0, 0},
    {0x84000016u, kChoice, -1, 0, 0, 0},
    {0x84000017u, kChoice, -1, 0, 0, 0},
    {0x84000018u, kChoice, -1, 0, 0, 0},
    {0x85000000u, kChoice, -1, 0, 0, 0},
    {0x85000001u, kChoice, -1, 0, 0, 0},
    {0x85000002u, kChoice, -1, 0, 0, 0},
    {0x85000003u, kChoice, -1, 0, 0, 0},
    {0x85000004u, kChoice, -1, 0, 0, 0},
    {0x85000006u, kChoice, -1, 0, 0, 0},
    {0x85000007u, kChoice, -1, 0, 0, 0},
    {0x85000008u, kChoice, -1, 0, 0, 0},
    {0x85000009u, kChoice, -1, 0, 0, 0},
    {0x8500000Au, kChoice, -1, 0, 0, 0},
    {0x8500000Bu, kChoice, 2, 0, 0, 0},
    {0x8500000Cu, kChoice, -1, 0, 0, 0},
    {0x8500000Du, kChoice, -1, 0, 0, 0},
    {0x8500000Eu, kChoice, -1, 0, 0, 0},
    {0x8500000Fu, kChoice, -1, 0, 0, 0},
    {0x85000010u, kChoice, -1, 0, 0, 0},
    {0x85000011u, kChoice, 9, 0, 0, 0},
    {0x85000012u, kChoice, -1, 0, 0, 0},
    {0x86000000u, kChoice, -1, 0, 0, 0},
    {0x86000001u, kChoice, -1, 0, 0, 0},
    {0x86000002u, kChoice, -1, 0, 0, 0},
    {0x86000003u, kChoice, 2, 0, 0, 0},
    {0x86000004u, kChoice, 3, 0, 0, 0},
    {0x86000005u, kChoice, 3, 0, 0, 0},
    {0x86000007u, kChoice, 7, 0, 0, 0},
    {0x86000008u, kSlider, -1, 0, 100, 1},
    {0x8600000Au, kChoice, -1, 0, 0, 0},
    {0x8600000Bu, kChoice, 2, 0, 0, 0},
    {0x87000000u, kSlider, -1, 0, 100, 1},
    {0x87000001u, kSlider, -1, 0, 100, 1},
    {0x87000002u, kSlider, -1, 0, 100, 1},
    {0x87000003u, kSlider, -1, 0, 100, 1},
    {0x87000004u, kSlider, -1, 0, 100, 1},
    {0x87000005u, kSlider, -1, 0, 100, 1},
    {0x87000006u, kSlider, -1, 0, 100, 1},
    {0x87000007u, kSlider, -1, 0, 100, 1},
    {0x87000008u, kSlider, -1, 0, 100, 1},
    {0x87000009u, kSlider, -1, 0, 100, 1},
    {0x8700000Au, kSlider, -1, 0, 100, 1},
    {0x8700000Bu, kSlider, -1, 0, 100, 1},
    {0x8700000Cu, kSlider, -1, 0, 100, 1},
    {0x8700000Du, kSlider, -1, 0, 100, 1},
    {0x8700000Eu, kSlider, -1, 0, 100, 1},
    {0x8700000Fu, kSlider, -1, 0, 100, 1},
    {0x87000010u, kSlider, -1, 0, 100, 1},
    {0x87000011u, kSlider, -1, 0, 100, 1},
    {0x87000012u, kSlider, -1, 0, 255, 1},
    {0x87000013u, kSlider, -1, 0, 255, 1},
    {0x87000014u, kSlider, -1, 0, 255, 1},
    {0x87000015u, kSlider, -1, 0, 255, 1},
    {0x87000016u, kSlider, -1, 0, 255, 1},
    {0x87000017u, kSlider, -1, 0, 255, 1},
    {0x87000018u, kSlider, -1, 0, 255, 1},
    {0x87000019u, kSlider, -1, 0, 255, 1},
    {0x8700001Au, kSlider, -1, 0, 255, 1},
    {0x8700001Bu, kSlider, -1, 0, 255, 1},
};

std::string Hex(uint32_t id) {
  char text[12];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(id));
  return text;
}

class OptionDatabaseTest : public WrapperTest {
 protected:
  bool AppWrapper() const override { return true; }
  void SetUp() override {
    WrapperTest::SetUp();
    db_ = kv::GetAutoObject<OptionDatabase::OptionDatabaseClass>(MainApp::OptionDB);
    ASSERT_NE(db_, nullptr);
  }
  OptionDataClass* Record(uint32_t id) { return db_->GetOptionData(static_cast<int32_t>(id)); }
  OptionDataClass* Record(int32_t id) { return db_->GetOptionData(id); }
  // The widgets' road to the current state: initialise, read the property,
  // value to index, fill the courier.
  static void Load(OptionDataClass* r) {
    r->Initialize();
    if (r->HasProperty()) r->Value = kv::OnGetInt32(r->RefValue);
    r->Val2Id();
    r->GetData();
  }
  // The widgets' road after a change: index to value, write through.
  static void Choose(OptionDataClass* r, int32_t index) {
    r->Id = index;
    r->Id2Value();
    if (r->HasProperty()) kv::OnSetInt32(r->RefValue, r->Value);
  }
  OptionDatabase::OptionDatabaseClass* db_ = nullptr;
};

TEST_F(OptionDatabaseTest, EveryOptionIdHasARecordOfItsKindChoicesAndRange) {
  EXPECT_NE(kv::Cast<SkinBin::OptionDatabaseClass>(db_), nullptr) << "MainApp::OptionDB is the skin's database";
  size_t served = 0;
  for (const auto* m : db_->Modules().Snapshot()) served += m->DefCount();
  EXPECT_EQ(served, std::size(kAllOptions)) << "the database serves exactly the ids of the system";

  for (const Expected& e : kAllOptions) {
    SCOPED_TRACE(Hex(e.id));
    OptionDataClass* r = Record(e.id);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r, Record(e.id)) << "the same record each time";
    EXPECT_EQ(r->OptionId, e.id);
    EXPECT_EQ(r->Kind, e.kind);
    EXPECT_FALSE(r->Name.Empty()) << "every record has a caption";
    if (e.choices >= 0) {
      EXPECT_EQ(r->Num, e.choices);
    }
    r->Initialize();
    r->GetData();
    if (e.kind == kSlider) {
      auto* c = kv::Cast<SliderCourier>(r->Courier.get());
      ASSERT_NE(c, nullptr);
      EXPECT_EQ(c->Min, e.min);
      EXPECT_EQ(c->Max, e.max);
      EXPECT_EQ(c->Step, e.step);
    } else {
      EXPECT_GE(r->Num, 1);
      for (int32_t i = 0; i < r->Num; ++i) {
        r->Id = i;
        r->GetData();
        auto* c = kv::Cast<OptionCourier>(r->Courier.get());
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->Index, i);
        EXPECT_FALSE(c->Caption.Empty()) << "choice " << i << " has a caption";
        // Each choice's value leads back to its index, except where two
        // choices share a value (the first one wins).
        r->Id2Value();
        r->Val2Id();
        // Records whose index counts minutes have no list: the value is the index.
        if (r->Choices.empty())
          EXPECT_EQ(r->Value, i);
        else
          EXPECT_EQ(r->Id, r->IndexOfValue(r->Value));
      }
    }
  }
}

// Every choice of every option bound to a property, as a viewer picks it:
// written through the property and read back from what the set holds, it
// is the choice picked (or the first choice of the same value); then the
// option gets its first value back. Every slider is stepped to both ends of
// its range from both sides and read back the same way.
//
// The options below do not read back what the walk writes through the same
// property, one after the other, for these reasons (each seen with the values
// written and read):
// - 0x03000004 menu language: choice 1 switches the menus to French, and the
//   property then reads 0.
// - 0x0400000A automatic network set-up: the set refuses the change while
//   the interface's addresses have not been read ("AutoSetup not applied"):
//   the walk opens no network screen first.
// - 0x81000010 white-balance window, 0x81000012 test pattern: both read
//   whether the pattern source shows; switching to it is not done by the
//   time the walk reads.
// - 0x81000019 and 0x8100001D super resolution level: the sliders have the
//   default range 0 to 100, and the set refuses the top of it
//   ("XPM_SetSuperResolutionLevel: 103 out of range"), so 100 reads back as
//   the value before.
// - 0x82000005 amplifier mute: reads the audio system's mute, which only the
//   mute key sent to it changes; the record writes nothing.
// - 0x8300000A timer channel: its value is a packed major and minor number
//   (131073 is 2-1); the walk writes the choice index as the value.
// - 0x85000010 model id: the set starts with model 0, which no choice has,
//   and keeps 0 whatever is written.
// They stay out of the walk until each is settled.
constexpr uint32_t kNotReadBack[] = {0x03000004u, 0x0400000Au, 0x81000010u, 0x81000012u, 0x81000019u,
                                     0x8100001Du, 0x82000005u, 0x8300000Au, 0x85000010u};

TEST_F(OptionDatabaseTest, EveryChoiceAndBothEndsOfEverySliderReachTheSetAndReadBack) {
  int walked = 0;
  for (const Expected& e : kAllOptions) {
    SCOPED_TRACE(Hex(e.id));
    if (std::find(std::begin(kNotReadBack), std::end(kNotReadBack), e.id) != std::end(kNotReadBack)) continue;
    OptionDataClass* r = Record(e.id);
    ASSERT_NE(r, nullptr);
    if (!r->HasProperty()) continue;
    Load(r);
    const int32_t first = r->Value;
    if (e.kind == kSlider) {
      auto* c = kv::Cast<SliderCourier>(r->Courier.get());
      ASSERT_NE(c, nullptr);
      const int32_t lo = c->Min, hi = c->Max;
      for (int32_t v : {lo, hi, hi - c->Step, hi, lo + c->Step, lo}) {
        kv::OnSetInt32(r->RefValue, v);
        r->GetData();
        EXPECT_EQ(c->Value, v) << "slider set to " << v;
      }
    } else {
      for (int32_t i = 0; i < r->Num; ++i) {
        Choose(r, i);
        const int32_t written = r->Value;
        Load(r);
        EXPECT_EQ(r->Value, written) << "choice " << i << ": the set holds another value";
        const int32_t expected = r->Choices.empty() ? i : r->IndexOfValue(written);
        EXPECT_EQ(r->Id, expected) << "choice " << i << " reads back as another";
      }
    }
    kv::OnSetInt32(r->RefValue, first);
    ++walked;
  }
  EXPECT_GT(walked, 100) << "the options bound to a property";
}

TEST_F(OptionDatabaseTest, IdsThatNoModuleServesAnswerNone) {
  for (uint32_t id : {0u, 0x01000000u, 0x01000007u, 0x01000014u, 0x02000007u, 0x02000013u, 0x03000000u,
                      0x0400000Eu, 0x05000000u, 0x80000000u, 0x81000003u, 0x82000000u, 0x86000006u, 0x8700001Cu,
                      0x88000001u, 0xFF000000u, 0xFFFFFFFFu}) {
    EXPECT_EQ(Record(id), nullptr) << Hex(id);
  }
  EXPECT_EQ(db_->FindModule(0), nullptr);
}

TEST_F(OptionDatabaseTest, DefaultAndListMapsBetweenValueAndIndex) {
  // Offset: repeat type values 1 to 4 stand at indexes 0 to 3.
  OptionDataClass* times = Record(SkinBin::OPTION_TYPE_TIMER_TIMES_TYPE);
  ASSERT_NE(times, nullptr);
  times->Value = 4;
  times->Val2Id();
  EXPECT_EQ(times->Id, 3);
  times->Id = 0;
  times->Id2Value();
  EXPECT_EQ(times->Value, 1);

  // A value list: the start-early choices carry seconds.
  OptionDataClass* early = Record(SkinBin::OPTION_TYPE_TIMER_START_EARLY);
  ASSERT_NE(early, nullptr);
  early->Value = 300;
  early->Val2Id();
  EXPECT_EQ(early->Id, 5);
  early->Id = 10;
  early->Id2Value();
  EXPECT_EQ(early->Value, 600);

  // A value the list does not hold shows the first choice, with a log line;
  // an index outside the list keeps the value.
  ClearLines();
  early->Value = 17;
  early->Val2Id();
  EXPECT_EQ(early->Id, 0);
  EXPECT_TRUE(Logged("0x8300001A has no choice of value 17"));
  early->Value = 120;
  early->Id = 11;
  early->Id2Value();
  EXPECT_EQ(early->Value, 120);
  EXPECT_TRUE(Logged("0x8300001A has no choice 11"));
  early->Id = 11;
  early->GetData();
  EXPECT_TRUE(kv::Cast<OptionCourier>(early->Courier.get())->Caption.Empty()) << "no caption outside the list";

  // A module's own map replaces the default one.
  OptionDataClass* cm = Record(OptionDatabase::OPTION_TYPE_CONNECT_MODE);
  ASSERT_NE(cm, nullptr);
  cm->Value = 2;
  cm->Val2Id();
  EXPECT_EQ(cm->Id, 1) << "connect modes 1 and 2 stand at indexes 0 and 1";
}

TEST_F(OptionDatabaseTest, ASliderAndChoicesRoundTripThroughTheSimulatedSet) {
  // Module 1, a slider: contrast.
  OptionDataClass* contrast = Record(OptionDatabase::OPTION_TYPE_CONTRAST);
  ASSERT_NE(contrast, nullptr);
  ASSERT_TRUE(contrast->HasProperty());
  EXPECT_EQ(contrast->RefValue.object(), kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper));
  Load(contrast);
  auto* slider = kv::Cast<SliderCourier>(contrast->Courier.get());
  ASSERT_NE(slider, nullptr);
  EXPECT_EQ(slider->Value, w_->GetContrast()) << "the courier carries the set's value";
  tv_->ClearCallLog();
  Choose(contrast, 70);
  EXPECT_EQ(Calls("XPM_SetContrast"), std::vector<std::string>{"XPM_SetContrast(0, 70)"});
  contrast->GetData();
  EXPECT_EQ(slider->Value, 70) << "read back from the set";

  // Module 2, a choice: the analogue audio preference.
  OptionDataClass* mts = Record(OptionDatabase::OPTION_TYPE_MTS);
  ASSERT_NE(mts, nullptr);
  tv_->ClearCallLog();
  Choose(mts, 2);
  EXPECT_EQ(Value(sim::Setting::kPreferredAudioDecodeMode), 2) << "the set received SAP";
  Load(mts);
  EXPECT_EQ(mts->Id, 2);
  EXPECT_EQ(kv::Cast<OptionCourier>(mts->Courier.get())->Caption.ToUtf8(), "SAP");

  // Module 3, a choice: the caption text size (caption property 3).
  OptionDataClass* size = Record(OptionDatabase::OPTION_TYPE_CC_FONT_SIZE);
  ASSERT_NE(size, nullptr);
  tv_->ClearCallLog();
  Choose(size, 1);
  EXPECT_EQ(Calls("XPM_SetAdvancedCaptionProperty"), std::vector<std::string>{"XPM_SetAdvancedCaptionProperty(3, 1)"});
  EXPECT_EQ(Value(sim::Setting::kAdvancedCaptionProperty, 3), 1);
  Load(size);
  EXPECT_EQ(size->Id, 1);
  EXPECT_EQ(kv::Cast<OptionCourier>(size->Courier.get())->Caption.ToUtf8(), "Small");

  // Module 4: a property of the skin's Wrapper, the network type; wireless
  // switches the wired interface off.
  OptionDataClass* network = Record(OptionDatabase::OPTION_TYPE_NETWORK_TYPE);
  ASSERT_NE(network, nullptr);
  ASSERT_TRUE(network->HasProperty());
  tv_->ClearCallLog();
  Choose(network, 1);
  auto* skin = kv::Cast<SkinBin::Wrapper>(w_);
  ASSERT_NE(skin, nullptr);
  EXPECT_EQ(skin->OnGetNetworkType(), 1);
  EXPECT_FALSE(tv_->CallLog().empty());
  network->GetData();
  EXPECT_EQ(kv::Cast<OptionCourier>(network->Courier.get())->Caption.ToUtf8(), "Wireless");

  // The wireless records write the skin Wrapper's plain integers, read back
  // by the screens that follow (scan dialog, advanced dialog, access-point form).
  struct Wireless {
    int32_t id;
    int32_t index, value;
    int32_t (SkinBin::Wrapper::*get)();
  };
  const Wireless wireless[] = {
      {OptionDatabase::OPTION_TYPE_WPS_CONFIGURATION, 1, 1, &SkinBin::Wrapper::OnGetWPSConfiguration},
      {OptionDatabase::OPTION_TYPE_AUTHENTICATION, 2, 2, &SkinBin::Wrapper::OnGetAuthentication},
      {OptionDatabase::OPTION_TYPE_ENCRYPTION, 3, 3, &SkinBin::Wrapper::OnGetEncryption},
      {OptionDatabase::OPTION_TYPE_KEY_ID, 2, 2, &SkinBin::Wrapper::OnGetKeyID},
      {OptionDatabase::OPTION_TYPE_CONNECT_MODE, 1, 2, &SkinBin::Wrapper::OnGetConnectMode},
      {OptionDatabase::OPTION_TYPE_WPS_PIN_MODE, 1, 1, &SkinBin::Wrapper::OnGetWPSPinMode},
  };
  for (const Wireless& o : wireless) {
    SCOPED_TRACE(Hex(static_cast<uint32_t>(o.id)));
    OptionDataClass* r = Record(o.id);
    ASSERT_NE(r, nullptr);
    ASSERT_TRUE(r->HasProperty());
    Choose(r, o.index);
    EXPECT_EQ((skin->*o.get)(), o.value);
    Choose(r, 0);
    Load(r);
    EXPECT_EQ(r->Id, 0);
  }
}

TEST_F(OptionDatabaseTest, ACaptionFollowsTheLanguage) {
  OptionDataClass* contrast = Record(OptionDatabase::OPTION_TYPE_CONTRAST);
  OptionDataClass* mute = Record(OptionDatabase::OPTION_TYPE_MUTE);
  ASSERT_NE(contrast, nullptr);
  ASSERT_NE(mute, nullptr);
  EXPECT_EQ(contrast->Name.ToUtf8(), "Contrast");
  kv::SetLanguage(1);
  driver.Pass();
  EXPECT_EQ(contrast->Name.ToUtf8(), "Contraste");
  mute->Id = 0;
  mute->GetData();
  EXPECT_EQ(kv::Cast<OptionCourier>(mute->Courier.get())->Caption.ToUtf8(), "Arrêt");
  kv::SetLanguage(0);
  driver.Pass();
}

// The skin Wrapper's service records reach the set through their properties.
TEST_F(OptionDatabaseTest, SkinServiceRecordsReachTheSet) {
  OptionDataClass* pip = Record(SkinBin::OPTION_TYPE_PIP_SIZE);
  OptionDataClass* block = Record(SkinBin::OPTION_TYPE_ENABLE_RATING_BLOCK);
  OptionDataClass* country = Record(SkinBin::OPTION_TYPE_COUNTRY);
  for (OptionDataClass* r : {pip, block, country}) {
    ASSERT_NE(r, nullptr);
    EXPECT_TRUE(r->HasProperty());
  }
  Choose(pip, 2);
  EXPECT_EQ(Calls("XPM_SetPipSize"), std::vector<std::string>{"XPM_SetPipSize(2)"});
  Choose(block, 1);
  EXPECT_EQ(Calls("XPM_SetParentalLocksMask").size(), 1u);
  Choose(country, 2);
  Load(country);
  EXPECT_EQ(country->Value, 2);
  Load(pip);
  EXPECT_EQ(pip->Id, 2);
}

// The records whose property is not bound yet, with the owner that binds
// each. The list only shrinks: a record bound later leaves it, and the
// count here is lowered with it. Every property the skin Wrapper has is bound.
TEST_F(OptionDatabaseTest, RecordsWithoutABoundPropertyAreListedWithTheirOwner) {
  constexpr size_t kUnboundNow = 28;
  std::vector<std::string> lines;
  size_t skin = 0;
  for (auto* module : db_->Modules().Snapshot()) {
    for (size_t i = 0; i < module->DefCount(); ++i) {
      const auto& entry = module->Entries()[i];
      OptionDataClass* r = Record(entry.id);
      ASSERT_NE(r, nullptr);
      if (r->HasProperty()) {
        EXPECT_EQ(entry.bind.pending, nullptr) << Hex(entry.id) << " is bound and named as pending";
        continue;
      }
      std::string owner;
      if (!entry.bind.pending) {
        owner = "none: the caller keeps the value";
      } else if (*entry.bind.pending == '\0') {
        owner = "property not named yet";
      } else {
        owner = std::string(entry.bind.pending) + " of the skin Wrapper";
        ++skin;
      }
      lines.push_back(Hex(entry.id) + "  " + r->Name.ToUtf8() + "  -> " + owner);
    }
  }
  std::printf("Option records without a bound property (%zu, %zu of them the skin Wrapper's):\n", lines.size(),
              skin);
  for (const auto& l : lines) std::printf("  %s\n", l.c_str());
  EXPECT_LE(lines.size(), kUnboundNow);
  EXPECT_EQ(skin, 0u);
}

TEST_F(OptionDatabaseTest, FetchingEveryRecordFiftyTimesLeavesTheHeapAtItsBaseline) {
  kv::Runtime::SetCollectEveryPass(true);
  auto fetchAll = [&] {
    for (const Expected& e : kAllOptions) {
      OptionDataClass* r = Record(e.id);
      ASSERT_NE(r, nullptr);
      Load(r);
    }
  };
  fetchAll();
  driver.Pass();
  const auto baseline = kv::HeapCensus();
  EXPECT_EQ(baseline.at("OptionDatabase::OptionDataClass"), std::size(kAllOptions));
  for (int round = 0; round < 50; ++round) {
    fetchAll();
    driver.Pass();
  }
  EXPECT_EQ(kv::HeapCensus(), baseline);
}

}  // namespace
}  // namespace wrappertest
