// Wrapper operations without a test elsewhere: replacement of the virtual
// operations by a subclass, channel numbers from text, the property walks,
// retuning and the first channel, the tuner on the main window, the current
// channel's record, caption service records, the picture questions, time
// zone and daylight saving, the GUI language, the rating languages and the
// screen-saver countdown's message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/text.h"
#include "strings/Wrapper.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/Constants.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/Structures/CaptionServiceInfo.h"
#include "units/Structures/ChannelData.h"
#include "units/Structures/Message.h"
#include "units/Structures/VirtualChannel.h"
#include "wrapper_fixture.h"

namespace wrappertest {
namespace {

using W = Wrapper::Wrapper;
using Ch = std::pair<int32_t, int32_t>;

// A Wrapper whose replaced operations note that they ran: the base calls
// them virtually, so the skin's Wrapper can stand in for them.
class SkinLikeWrapper : public W {
  KV_CLASS(wrappertest, SkinLikeWrapper, ::Wrapper::Wrapper)
 public:
  int32_t SetChannelApi(int32_t window, int32_t major, int32_t minor) override {
    noted.push_back("tune " + std::to_string(major) + "-" + std::to_string(minor));
    return W::SetChannelApi(window, major, minor);
  }
  int32_t SetSource(int32_t window, int32_t source) override {
    noted.push_back("source " + std::to_string(source));
    return W::SetSource(window, source);
  }
  Structures::VirtualChannel* GetNextChannel(int32_t ring, int32_t major, int32_t minor) override {
    noted.push_back("next");
    return W::GetNextChannel(ring, major, minor);
  }
  void ResetLastChannel() override {
    noted.push_back("reset last");
    W::ResetLastChannel();
  }
  std::vector<std::string> noted;
};

TEST_F(WrapperTest, ASubclassReplacesTheVirtualOperations) {
  kv::Persistent<SkinLikeWrapper> skin = kv::New<SkinLikeWrapper>();
  skin->OnSetRoot(root_);
  skin->Initialize();
  skin->noted.clear();
  skin->ChannelChange(true, false, false);
  skin->SetSource(0, kHdmi1);
  skin->RetuneChannel();  // back to the tuner through the replaced SetSource
  skin->ResetChannel();
  EXPECT_EQ(skin->noted, (std::vector<std::string>{"next", "tune 2-2", "source " + std::to_string(kHdmi1),
                                                   "source " + std::to_string(kTv), "tune 2-2", "reset last"}));
  EXPECT_EQ(Tuned(), (Ch{2, 2}));
}

TEST_F(WrapperTest, ChannelNumbersFromText) {
  const kv::String dash = KV_STR(u"-");
  EXPECT_EQ(Numbers(w_->GetVirtualChannelByString(KV_STR(u"7-2"), dash)), (Ch{7, 2}));
  EXPECT_EQ(Numbers(w_->GetVirtualChannelByString(KV_STR(u"7-"), dash)), (Ch{7, 0}));
  EXPECT_EQ(Numbers(w_->GetVirtualChannelByString(KV_STR(u"7"), dash)), (Ch{7, 0}));
  EXPECT_EQ(Numbers(w_->GetVirtualChannelByString(KV_STR(u"-5"), dash)), (Ch{-5, 0})) << "a separator first";
}

// The property walks skip locked channels (21 in place of 5) and, for b
// alone, analogue ones (16 in place of 0).
TEST_F(WrapperTest, PropertyWalksPassTheirSelectionFlags) {
  w_->GetNextChannelWithProp(0, 4, 2, false, false);
  w_->GetNextChannelWithProp(0, 4, 2, true, false);
  w_->GetNextChannelWithProp(0, 4, 2, false, true);
  w_->GetPrevChannelWithProp(0, 4, 2, true, true);
  EXPECT_EQ(Calls("XPM_GetNextChannel"), (std::vector<std::string>{
                                             "XPM_GetNextChannel(-1, -1, 0, 4, 2, 5, 0, 1)",
                                             "XPM_GetNextChannel(-1, -1, 0, 4, 2, 21, 0, 1)",
                                             "XPM_GetNextChannel(-1, -1, 0, 4, 2, 21, 16, 1)",
                                         }));
  EXPECT_EQ(Calls("XPM_GetPrevChannel"), std::vector<std::string>{"XPM_GetPrevChannel(0, 4, 2, 21, 0, 1)"});
  // From 4-2 the next channel with a service is 5-1, locked: skipped with a.
  EXPECT_EQ(Numbers(w_->GetNextChannelWithProp(0, 4, 2, false, false)), (Ch{5, 1}));
  EXPECT_EQ(Numbers(w_->GetNextChannelWithProp(0, 4, 2, true, false)), (Ch{6, -2}));
  EXPECT_EQ(Numbers(w_->GetNextChannelWithProp(0, 5, 1, false, true)), (Ch{7, 2})) << "6 is analogue";
}

TEST_F(WrapperTest, RetuneSwitchesTheSecondWindowOffAndTunesTheCurrentChannel) {
  w_->LastChannelToggling = true;
  EXPECT_EQ(w_->RetuneChannel(), 0);
  auto log = tv_->CallLog();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[0], "XPM_SetSecondaryWindowAudio(0)");
  EXPECT_EQ(log[1], "XPM_SetDualWindow(0)");
  EXPECT_EQ(Calls("XPM_SetChannel"), std::vector<std::string>{"XPM_SetChannel(0, 2, 1)"});
  EXPECT_FALSE(w_->LastChannelToggling);
}

TEST_F(WrapperTest, TuneToFirstChannelTunesTheFirstOfTheRing) {
  w_->SetChannel(9, 1, true, false);
  tv_->ClearCallLog();
  EXPECT_EQ(w_->TuneToFirstChannel(), 0);
  EXPECT_EQ(Calls("XPM_GetNextChannel"), std::vector<std::string>{"XPM_GetNextChannel(-1, -1, 0, -1, -1, 5, 0, 1)"});
  EXPECT_EQ(Tuned(), (Ch{2, 1}));
}

TEST_F(WrapperTest, SetMainWindowToTunerAnswersTheSourceItReplaced) {
  EXPECT_EQ(w_->SetMainWindowToTuner(), -1) << "the tuner is shown already";
  EXPECT_EQ(Count("XPM_SetSource"), 0u);
  State().SetSource(0, kHdmi2, kTest);
  EXPECT_EQ(w_->SetMainWindowToTuner(), kHdmi2);
  EXPECT_EQ(SourceOf(0), kTv);
  // The second tuner (type 12) is not what it looks for.
  State().SetSource(0, kTv2, kTest);
  EXPECT_EQ(w_->SetMainWindowToTuner(), kTv2);
  EXPECT_EQ(SourceOf(0), kTv);
}

TEST_F(WrapperTest, CurrentChannelInfoWithAndWithoutATuner) {
  Structures::ChannelData* tuned = w_->GetCurrentChannelInfo();
  EXPECT_EQ(tuned->Major, 2);
  EXPECT_EQ(tuned->Minor, 1);
  EXPECT_FALSE(tuned->Name.ToUtf8().empty());
  EXPECT_EQ(tuned->IsDigital, 1);

  State().SetSource(0, kHdmi1, kTest);
  State().SetSource(1, kPc, kTest);
  Structures::ChannelData* none = w_->GetCurrentChannelInfo();
  EXPECT_EQ(none->Name.ToUtf8(), kv::LoadString(Wrapper::T_NO_TUNER_CHANNEL_NAME).ToUtf8());
  EXPECT_EQ(none->IsDigital, 1);
  EXPECT_EQ(Count("XPM_GetChannelInfo"), 1u) << "no channel is read without a tuner";
}

// The record's first flag byte (wide aspect) is the answer's fifth word,
// the second (easy reader) its fourth.
TEST_F(WrapperTest, CaptionServiceRecordsTakeTheFlagsInTheirOrder) {
  Structures::CaptionServiceInfo* info = w_->GetCaptionServiceInfo(true, 1);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(Calls("XPM_GetCaptionServiceInfo"), std::vector<std::string>{"XPM_GetCaptionServiceInfo(0, 1, 2)"});
  EXPECT_EQ(info->WideAspect, 1);
  EXPECT_EQ(info->EasyReader, 0);
  EXPECT_FALSE(info->Language.ToUtf8().empty());
  EXPECT_EQ(w_->GetCaptionServiceInfo(true, 2), nullptr) << "a service the channel does not carry";
}

TEST_F(WrapperTest, PcSignalAnd1080pFollowTheVideoContent) {
  EXPECT_FALSE(w_->IsPCSignal());
  EXPECT_FALSE(w_->Is1080p()) << "the digital channel is 1080 interlaced";
  State().SetSource(0, kHdmi1, kTest);
  EXPECT_FALSE(w_->IsPCSignal());
  EXPECT_TRUE(w_->Is1080p());
  State().SetSource(0, kPc, kTest);
  EXPECT_TRUE(w_->IsPCSignal());
  EXPECT_FALSE(w_->Is1080p());
  State().SetSource(0, kHdmi2, kTest);  // no signal: no answer
  EXPECT_FALSE(w_->IsPCSignal());
  EXPECT_FALSE(w_->Is1080p());
}

TEST_F(WrapperTest, TimeZoneAndDaylightSavingKeepEachOthersValue) {
  w_->OnSetDaylightSavingTime(1);
  w_->OnSetTimeZone(3);
  EXPECT_EQ(Value(sim::Setting::kTimeZone), 3);
  EXPECT_EQ(Value(sim::Setting::kDaylightSaving), 1);
  w_->OnSetDaylightSavingTime(5);  // any non-zero flag is on
  EXPECT_EQ(Value(sim::Setting::kTimeZone), 3);
  EXPECT_EQ(Value(sim::Setting::kDaylightSaving), 1);
  w_->OnSetDaylightSavingTime(0);
  EXPECT_EQ(Value(sim::Setting::kTimeZone), 3);
  EXPECT_EQ(w_->OnGetDaylightSavingTime(), 0);
  EXPECT_EQ(w_->OnGetTimeZone(), 3);
}

TEST_F(WrapperTest, SetLanguageMapsTheMenuValueToTheGuiLanguage) {
  const int32_t expected[] = {0, 2, 1, 0};  // menu 0..3
  for (int32_t value = 0; value <= 3; ++value) {
    EXPECT_EQ(w_->SetLanguage(value), 0);
    driver.Pass();
    EXPECT_EQ(kv::GetLanguage(), expected[value]) << value;
  }
  EXPECT_TRUE(tv_->CallLog().empty()) << "no middleware call";
}

TEST_F(WrapperTest, RatingLanguagesAreSetFromTheChoiceDownToEnglish) {
  const std::vector<std::vector<std::string>> expected = {
      {"eng"}, {"spa", "fre", "eng"}, {"fre", "eng"}, {"eng"}};
  for (int32_t value = 0; value <= 3; ++value) {
    tv_->ClearCallLog();
    w_->SetPreferRatingLanguage(value);
    std::vector<std::string> want;
    for (const std::string& code : expected[static_cast<size_t>(value)])
      want.push_back("XPM_SetPreferredRatingLanguage(\"" + code + "\")");
    EXPECT_EQ(Calls("XPM_SetPreferredRatingLanguage"), want) << value;
  }
}

// Stands in for the non-menu sub-system, the one receiver of the screen
// saver's message, while that unit is not part of the build.
namespace standin {
class NonMenuSystem : public Primitives::KeyRoutingForm {
  KV_CLASS(NonMenuSystem, NonMenuSystem, Primitives::KeyRoutingForm)
 public:
  void HandleMessage(Structures::Message* msg) override { codes.push_back(msg->Code); }
  std::vector<int32_t> codes;
};
}  // namespace standin
using NonMenuSystemStandIn = standin::NonMenuSystem;

class OtherReceiver : public Primitives::KeyRoutingForm {
  KV_CLASS(wrappertest, OtherReceiver, Primitives::KeyRoutingForm)
 public:
  void HandleMessage(Structures::Message* msg) override { codes.push_back(msg->Code); }
  std::vector<int32_t> codes;
};

TEST_F(WrapperTest, TheScreenSaverCountdownAtZeroSendsItsMessageToTheNonMenuSystem) {
  const kv::Class* target = kv::FindClass("NonMenuSystem::NonMenuSystem");
  if (target == nullptr) kv::detail::RegisterClass(&NonMenuSystemStandIn::StaticClass());
  if (target != nullptr && target != &NonMenuSystemStandIn::StaticClass())
    GTEST_SKIP() << "the real non-menu sub-system is built; its own tests cover the message";
  auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent);
  kv::Persistent<NonMenuSystemStandIn> screens = kv::New<NonMenuSystemStandIn>();
  kv::Persistent<OtherReceiver> other = kv::New<OtherReceiver>();
  agent->Register(screens.get());
  agent->Register(other.get());

  w_->OnSetRemainScreenSaverTime(2);
  w_->OnSetRemainScreenSaverTime(1);
  EXPECT_TRUE(screens->codes.empty());
  w_->OnSetRemainScreenSaverTime(0);
  EXPECT_EQ(screens->codes, std::vector<int32_t>{Constants::MSG_ENTER_SCREEN_SAVER});
  EXPECT_TRUE(other->codes.empty()) << "only the non-menu sub-system is told";
  EXPECT_EQ(w_->OnGetRemainScreenSaverTime(), 0);
  agent->UnRegister(screens.get());
  agent->UnRegister(other.get());
}

}  // namespace
}  // namespace wrappertest
