// The source-dependent option lists of the skin's modules, opened as the
// option widgets open them (the record's Initialize) on the tuner, an HDMI,
// a PC and a composite input of the simulated set: picture modes and sizes,
// the channel-browser lists, the rear shared input's caption, the caption
// key, the automatic inputs, the on-timer's inputs and the channels.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sim/sim_tv_state.h"
#include "runtime/auto_object.h"
#include "runtime/member.h"
#include "runtime/ref.h"
#include "support/app_fixture.h"
#include "units/MainApp/Root.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/PersistentData/PersistentData.h"
#include "units/SkinBin/ChannelListData.h"
#include "units/SkinBin/OptionDatabase.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/OptionModules.h"
#include "units/SkinBin/Wrapper.h"

namespace {

using OptionDatabase::OptionDataClass;
using V = std::vector<int32_t>;
using S = std::vector<std::string>;

class SkinOptionListTest : public apptest::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    // The application's Wrapper is the skin's once the skin binding is
    // complete; until then the modules get one here.
    auto* w = kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper));
    if (!w) {
      w = kv::New<SkinBin::Wrapper>();
      w->OnSetRoot(&App());
      w->Initialize();
    }
    if (!w->PersistentData)
      w->PersistentData = kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
    w_ = w;
    auto* db = kv::GetAutoObject<SkinBin::OptionDatabaseClass>(MainApp::OptionDB);
    for (uint32_t m : {0x81u, 0x83u, 0x84u, 0x85u})
      kv::Cast<SkinBin::SkinOptionModule>(db->FindModule(m))->SkinWrapper = w;
    Settle();
  }
  SkinBin::Wrapper& W() { return *w_.get(); }
  sim::TvState& State() { return Tv().Tv(); }

  void Watch(int32_t source) {
    ASSERT_EQ(W().SetSource(0, source), 0);
    Settle();
  }
  // A channel map of one analogue and one digital channel on both media;
  // the digital one carries the caption services given.
  void SetChannels(int32_t basic, int32_t advanced, int32_t easyReader = 0) {
    sim::Channel analogue;
    analogue.major = 3;
    analogue.physical = 3;
    analogue.name = "ANALOG";
    sim::Channel digital;
    digital.major = 7;
    digital.minor = 1;
    digital.digital = true;
    digital.physical = 7;
    digital.name = "DIGITAL";
    digital.basicCaptions = basic;
    digital.advancedCaptions = advanced;
    digital.easyReaderService = easyReader;
    for (int32_t medium : {0, 1}) State().ReplaceChannelMap(medium, {analogue, digital});
  }
  void Tune(int32_t major, int32_t minor) {
    Watch(sim::kSourceTv);
    ASSERT_EQ(State().SetChannel(0, major, minor, "test"), 0);
    Settle();
  }

  // Opens the option as its widget does and answers the record.
  OptionDataClass* Open(int32_t id) {
    auto* record = kv::GetAutoObject<SkinBin::OptionDatabaseClass>(MainApp::OptionDB)->GetOptionData(id);
    EXPECT_NE(record, nullptr);
    record->Initialize();
    return record;
  }
  static V Values(OptionDataClass* r) {
    V out;
    for (int32_t i = 0; i < r->Num; ++i) out.push_back(r->Choices.at(static_cast<size_t>(i)).value);
    return out;
  }
  static std::string Caption(OptionDataClass* r, int32_t value) {
    const int32_t i = r->IndexOfValue(value);
    return i < 0 ? std::string("<none>") : r->ChoiceCaption(i).ToUtf8();
  }
  // The index a value shows at, and the value an index writes.
  static int32_t IndexOf(OptionDataClass* r, int32_t value) {
    r->Value = value;
    r->Val2Id();
    return r->Id;
  }
  kv::Persistent<SkinBin::Wrapper> w_;
};

TEST_F(SkinOptionListTest, PictureModesFollowTheSourceTypeAndTheRetailMode) {
  struct Case {
    int32_t source;
    V home, store;
  };
  const Case cases[] = {
      {sim::kSourceTv, {1, 2, 3, 4}, {1, 2, 3, 4, 5}},
      {sim::kSourceExternal, {1, 2, 3, 4}, {1, 2, 3, 4, 5}},
      {sim::kSourceMultimedia, {1, 2}, {1, 2, 5}},
      {sim::kSourceAv, {1, 2, 3, 4, 6}, {1, 2, 3, 4, 5, 6}},
      {sim::kSourceComponent, {1, 2, 3, 4, 6}, {1, 2, 3, 4, 5, 6}},
      {sim::kSourceHdmi1, {1, 2, 3, 4, 6, 7}, {1, 2, 3, 4, 5, 6, 7}},
      {sim::kSourcePc, {1, 2, 3, 4, 6, 7}, {1, 2, 3, 4, 5, 6, 7}},
  };
  for (const Case& c : cases) {
    Watch(c.source);
    W().OnSetRetailMode(0);
    EXPECT_EQ(Values(Open(SkinBin::OPTION_TYPE_PICTURE_MODE)), c.home) << "source " << c.source;
    W().OnSetRetailMode(1);
    EXPECT_EQ(Values(Open(SkinBin::OPTION_TYPE_PICTURE_MODE)), c.store) << "source " << c.source;
  }
  // The list maps value and index both ways: on HDMI at home, mode 6 is the fifth entry.
  Watch(sim::kSourceHdmi1);
  W().OnSetRetailMode(0);
  OptionDataClass* r = Open(SkinBin::OPTION_TYPE_PICTURE_MODE);
  EXPECT_EQ(IndexOf(r, 6), 4);
  r->Id = 5;
  r->Id2Value();
  EXPECT_EQ(r->Value, 7);
}

TEST_F(SkinOptionListTest, PictureSizesFollowTheSignalAndBindTheViewModeInUse) {
  const V video = {0, 1, 2, 3, 4, 5, 7};  // mask 191
  const V pc = {1, 0, 7};                 // mask 194
  Watch(sim::kSourcePc);
  EXPECT_EQ(Values(Open(SkinBin::OPTION_TYPE_PICTURE_SIZE)), pc);
  Watch(sim::kSourceAv);
  EXPECT_EQ(Values(Open(SkinBin::OPTION_TYPE_PICTURE_SIZE)), video);
  Tune(3, sim::kAnalogMinor);
  EXPECT_EQ(Values(Open(SkinBin::OPTION_TYPE_PICTURE_SIZE)), video);
  // An HDMI input with a PC signal offers the PC sizes, unless the picture
  // is 640 x 480, a video format too.
  State().SetSourceVideo(sim::kSourceHdmi1, 1024, 768, true);
  Watch(sim::kSourceHdmi1);
  EXPECT_EQ(Values(Open(SkinBin::OPTION_TYPE_PICTURE_SIZE)), pc);
  State().SetSourceVideo(sim::kSourceHdmi1, 640, 480, true);
  EXPECT_EQ(Values(Open(SkinBin::OPTION_TYPE_PICTURE_SIZE)), video);
  // The external input is always video.
  State().SetSourceVideo(sim::kSourceExternal, 1024, 768, true);
  Watch(sim::kSourceExternal);
  EXPECT_EQ(Values(Open(SkinBin::OPTION_TYPE_PICTURE_SIZE)), video);

  // Auto aspect on: the size shown now; off, or on the PC input: the preferred one.
  using Base = ::Wrapper::Wrapper;
  const auto preferred = kv::MakeRef<int32_t>(static_cast<Base*>(&W()), &Base::OnGetPreferViewMode,
                                              &Base::OnSetPreferViewMode);
  const auto current = kv::MakeRef<int32_t>(static_cast<Base*>(&W()), &Base::OnGetViewMode, &Base::OnSetViewMode);
  Watch(sim::kSourceHdmi1);
  W().OnSetAutoAspect(1);
  ASSERT_EQ(W().OnGetAutoAspect(), 1);
  EXPECT_TRUE(Open(SkinBin::OPTION_TYPE_PICTURE_SIZE)->RefValue == current);
  Watch(sim::kSourcePc);
  EXPECT_TRUE(Open(SkinBin::OPTION_TYPE_PICTURE_SIZE)->RefValue == preferred);
  Watch(sim::kSourceHdmi1);
  W().OnSetAutoAspect(0);
  EXPECT_TRUE(Open(SkinBin::OPTION_TYPE_PICTURE_SIZE)->RefValue == preferred);
}

TEST_F(SkinOptionListTest, ChannelBrowserListsOfATunerAndOfOtherInputs) {
  for (int32_t bit = 0; bit < 7; ++bit) W().SetCBListStatus(bit, bit == 0 || bit == 2);
  Tune(3, sim::kAnalogMinor);
  W().OnSetCurrentCBList(3);
  OptionDataClass* r = Open(SkinBin::OPTION_TYPE_CURRENT_CBLIST);
  EXPECT_EQ(Values(r), (V{0, 1, 2, 3, 5, 6}));
  EXPECT_EQ(W().OnGetCurrentCBList(), 3);
  EXPECT_EQ(kv::OnGetInt32(r->RefValue), 3);
  // Another input switches the tuner's lists off; the favourites chosen
  // before give way to the first list offered.
  Watch(sim::kSourceHdmi1);
  EXPECT_EQ(Values(Open(SkinBin::OPTION_TYPE_CURRENT_CBLIST)), (V{0, 2}));
  EXPECT_EQ(W().OnGetCurrentCBList(), 0);
  EXPECT_EQ(W().IsCBListEnabled(1), 0);
  EXPECT_EQ(W().IsCBListEnabled(3), 0);
  // No list at all: nothing offered, nothing chosen, logged.
  W().SetCBListStatus(0, false);
  W().SetCBListStatus(2, false);
  EXPECT_EQ(Open(SkinBin::OPTION_TYPE_CURRENT_CBLIST)->Num, 0);
  EXPECT_TRUE(Logged("no channel-browser list is enabled"));
}

TEST_F(SkinOptionListTest, RearSharedInputIsNamedAfterTheSharedPcInput) {
  W().OnSetSharedPCInput(1);
  EXPECT_EQ(Open(SkinBin::OPTION_TYPE_REAR_AUDIO)->Name.ToUtf8(), "HD 2");
  W().OnSetSharedPCInput(0);
  EXPECT_EQ(Open(SkinBin::OPTION_TYPE_REAR_AUDIO)->Name.ToUtf8(), "PC");
}

TEST_F(SkinOptionListTest, CaptionKeyOffersTheServicesOfADigitalChannel) {
  const V fixed = {0, 1, 2, 3, 4, 5, 6, 7, 8};
  using SW = SkinBin::Wrapper;
  const auto analogueKey = kv::MakeRef<int32_t>(&W(), &SW::OnGetCCKey, &SW::OnSetCCKey);
  const auto digitalKey = kv::MakeRef<int32_t>(&W(), &SW::OnGetCCKeyDigital, &SW::OnSetCCKeyDigital);

  // Other inputs and analogue channels: the nine fixed entries of CCKey.
  SetChannels(4, 6, 2);
  for (int32_t source : {sim::kSourceHdmi1, sim::kSourcePc, sim::kSourceAv}) {
    Watch(source);
    OptionDataClass* r = Open(SkinBin::OPTION_TYPE_CC_KEY);
    EXPECT_EQ(Values(r), fixed) << "source " << source;
    EXPECT_TRUE(r->RefValue == analogueKey);
  }
  Tune(3, sim::kAnalogMinor);
  EXPECT_EQ(Values(Open(SkinBin::OPTION_TYPE_CC_KEY)), fixed);

  // Every service present: off, four basic and six advanced, eleven entries.
  Tune(7, 1);
  OptionDataClass* r = Open(SkinBin::OPTION_TYPE_CC_KEY);
  EXPECT_EQ(Values(r), (V{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(r->Num, SkinBin::MAX_OPTION_CHOICES);
  EXPECT_TRUE(r->RefValue == digitalKey);
  EXPECT_EQ(Caption(r, 0), "Off");
  EXPECT_EQ(Caption(r, 1), "English - CC1");
  EXPECT_EQ(Caption(r, 2), "Spanish - CC2");
  EXPECT_EQ(Caption(r, 5), "English");
  EXPECT_EQ(Caption(r, 6), "Spanish (ER)");  // the easy-reader form
  EXPECT_EQ(Caption(r, 10), "Digital caption");  // a language without a name
  // A choice reaches the digital key.
  r->Id = r->IndexOfValue(6);
  r->Id2Value();
  kv::OnSetInt32(r->RefValue, r->Value);
  EXPECT_EQ(W().OnGetCCKeyDigital(), 6);
  EXPECT_EQ(IndexOf(r, W().OnGetCCKeyDigital()), 6);

  // The usual services: one basic, two advanced.
  SetChannels(-1, -1);
  Tune(7, 1);
  r = Open(SkinBin::OPTION_TYPE_CC_KEY);
  EXPECT_EQ(Values(r), (V{0, 1, 5, 6}));
  EXPECT_EQ(Caption(r, 6), "Spanish");

  // None at all: the fixed digital list of nine.
  SetChannels(0, 0);
  Tune(7, 1);
  r = Open(SkinBin::OPTION_TYPE_CC_KEY);
  EXPECT_EQ(Values(r), (V{0, 1, 3, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(Caption(r, 3), "CC3");
  EXPECT_EQ(Caption(r, 10), "CS6");
  EXPECT_TRUE(r->RefValue == digitalKey);
}

TEST_F(SkinOptionListTest, AutomaticInputsListEveryValidSource) {
  const int32_t sources = W().GetValidSourceNum();
  ASSERT_GT(sources, 3);
  Open(SkinBin::OPTION_TYPE_AUTO_INPUT_ENABLE);
  auto* module = kv::Cast<SkinBin::PreferencesModule2>(
      kv::GetAutoObject<SkinBin::OptionDatabaseClass>(MainApp::OptionDB)->FindModule(0x85));
  EXPECT_EQ(module->ValidSourceNum, sources);
  for (int32_t id : {SkinBin::OPTION_TYPE_AUTO_INPUT_TV, SkinBin::OPTION_TYPE_AUTO_INPUT_CABLE_SAT,
                     SkinBin::OPTION_TYPE_AUTO_INPUT_BD_DVD, SkinBin::OPTION_TYPE_AUTO_INPUT_AUX}) {
    OptionDataClass* r = Open(id);
    ASSERT_EQ(r->Num, sources + 1);
    EXPECT_EQ(r->Choices[0].value, -1);
    EXPECT_EQ(Caption(r, -1), "None");
    for (int32_t i = 0; i < sources; ++i) EXPECT_EQ(r->Choices[static_cast<size_t>(i) + 1].value, W().GetSourceId(i));
    EXPECT_EQ(Caption(r, sim::kSourceHdmi1), W().GetSourceName(sim::kSourceHdmi1).ToUtf8());
  }
}

TEST_F(SkinOptionListTest, OnTimerOffersItsMediaAndTheSelectableInputs) {
  EXPECT_EQ(Open(SkinBin::OPTION_TYPE_ONTIMER_MEDIUM)->Num, 2);
  const int32_t sources = W().GetValidSourceNum();
  V all;
  for (int32_t i = 0; i < sources; ++i) all.push_back(i);
  EXPECT_EQ(Values(Open(SkinBin::OPTION_TYPE_ONTIMER_INPUT)), all);
  // A disabled input and one the set cannot select now are left out.
  const int32_t hdmi = W().GetSourceIndex(sim::kSourceHdmi2);
  const int32_t pc = W().GetSourceIndex(sim::kSourcePc);
  W().SetSourceDisable(sim::kSourceHdmi2, 1);
  State().SetSourceSelectable(sim::kSourcePc, false);
  V left;
  for (int32_t i : all)
    if (i != hdmi && i != pc) left.push_back(i);
  OptionDataClass* r = Open(SkinBin::OPTION_TYPE_ONTIMER_INPUT);
  EXPECT_EQ(Values(r), left);
  EXPECT_EQ(Caption(r, W().GetSourceIndex(sim::kSourceAv)), W().GetSourceName(sim::kSourceAv).ToUtf8());
}

TEST_F(SkinOptionListTest, ChannelOptionsCountTheTableOrOfferTheNoneChannel) {
  SetChannels(-1, -1);
  Settle();
  OptionDataClass* guide = Open(SkinBin::OPTION_TYPE_GUIDE_CHANNEL);
  SkinBin::ChannelListData* table = W().GetChannelListData();
  EXPECT_EQ(table->GetTableType(), SkinBin::CHANNEL_TABLE_GUIDE);
  EXPECT_GT(table->GetNumChannels(), 0);
  EXPECT_EQ(guide->Num, table->GetNumChannels());
  OptionDataClass* timer = Open(SkinBin::OPTION_TYPE_ONTIMER_CHANNEL);
  EXPECT_EQ(timer->Num, W().GetChannelListData()->GetNumChannels());
  EXPECT_EQ(W().GetChannelListData(), table);  // one shared table

  // No channel in the master ring: one entry, the none channel (-2, -2).
  for (int32_t medium : {0, 1}) State().ReplaceChannelMap(medium, {});
  Settle();
  for (int32_t id : {SkinBin::OPTION_TYPE_GUIDE_CHANNEL, SkinBin::OPTION_TYPE_ONTIMER_CHANNEL}) {
    OptionDataClass* r = Open(id);
    EXPECT_EQ(r->Num, 1);
    EXPECT_EQ(r->Id, 0);
    ASSERT_NE(table->GetChannel(0), nullptr);
    EXPECT_EQ(table->GetChannel(0)->Major, -2);
    EXPECT_EQ(table->GetChannel(0)->Minor, -2);
    EXPECT_EQ(r->ChoiceCaption(0).ToUtf8(), "None");
  }
}

}  // namespace
