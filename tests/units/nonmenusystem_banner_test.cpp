// The information banner and the channel entry, driven through the whole
// system: keys through the GUI loop, the simulated set answering.
#include <gtest/gtest.h>

#include "nonmenusystem_support.h"
#include "runtime/text.h"
#include "units/NonMenuSystem/ChannelEntry.h"
#include "units/NonMenuSystem/InfoBanner.h"
#include "units/SkinBin/EventAgent.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/VirtualChannel.h"
#include "units/WinIDs/WinIDs.h"

namespace NonMenuSystem {
int32_t SignalImage(int32_t q);
}

namespace {

class BannerTest : public livetvtest::LiveTVTest {
 protected:
  template <class T>
  T* Find() {
    for (auto* f : OpenForms())
      if (auto* t = kv::Cast<T>(f)) return t;
    return nullptr;
  }
  std::string Utf8(const kv::String& s) {
    std::string out;
    for (int32_t i = 0; i < s.Length(); ++i) out += static_cast<char>(s.At(i));
    return out;
  }
};

TEST_F(BannerTest, SignalStrengthImages) {
  const int32_t q[] = {0, 1, 19, 20, 99, 100, 250};
  const int32_t n[] = {0, 1, 1, 2, 5, 5, 5};
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(NonMenuSystem::SignalImage(q[i]), n[i]) << q[i];
}

TEST_F(BannerTest, ShowInfoBarOpensTheBasicFormAndInfoKeyTwiceCloses) {
  ASSERT_TRUE(SwitchToSourceType(5));
  Nms()->ShowInfoBar(true, W()->GetCurrentSource(0));
  Settle();
  auto* banner = Find<NonMenuSystem::InfoBanner>();
  ASSERT_NE(banner, nullptr);
  ASSERT_NE(banner->Basic(), nullptr);
  EXPECT_EQ(banner->HDMI(), nullptr);
  EXPECT_FALSE(banner->InfoKeyPressed);
  EXPECT_EQ(banner->Basic()->Bounds().x1, 40);
  EXPECT_FALSE(banner->Basic()->SourceLabel.OnGetString().Empty());
  // The HDMI details follow the Info key only with HDMIInformationDisplay on.
  auto* skin = kv::Cast<SkinBin::Wrapper>(W());
  ASSERT_NE(skin, nullptr);
  skin->OnSetHDMIInformationDisplay(1);
  Press("info");
  banner = Find<NonMenuSystem::InfoBanner>();
  ASSERT_NE(banner, nullptr);
  EXPECT_TRUE(banner->InfoKeyPressed);
  EXPECT_EQ(banner->GetInfoType(), 9);
  ASSERT_NE(banner->HDMI(), nullptr);
  EXPECT_FALSE(banner->HDMI()->Value(0).Empty());
  Press("info");
  Settle();
  EXPECT_EQ(Find<NonMenuSystem::InfoBanner>(), nullptr);
}

TEST_F(BannerTest, InfoKeyOffTheTunerOpensTheBanner) {
  ASSERT_TRUE(SwitchToSourceType(5));
  Nms()->ClearAll();
  Settle();
  Press("info");
  auto* banner = Find<NonMenuSystem::InfoBanner>();
  ASSERT_NE(banner, nullptr);
  EXPECT_TRUE(banner->InfoKeyPressed);
  EXPECT_EQ(banner->PressCount, 1);
  ASSERT_NE(banner->Basic(), nullptr);
}

TEST_F(BannerTest, BannerRefreshesAndTimesOut) {
  Nms()->ShowInfoBar(true, W()->GetCurrentSource(0));
  Settle();
  auto* banner = Find<NonMenuSystem::InfoBanner>();
  ASSERT_NE(banner, nullptr);
  EXPECT_TRUE(banner->RefreshTimer().IsEnabled());
  Run(7000);
  EXPECT_EQ(Find<NonMenuSystem::InfoBanner>(), nullptr);
}

TEST_F(BannerTest, ChannelEntryNormalisesTheNumber) {
  Press("1");
  auto* entry = Find<NonMenuSystem::ChannelEntry>();
  ASSERT_NE(entry, nullptr);
  Press("2");
  Press("3");
  Press("4");
  EXPECT_EQ(Utf8(entry->Number()), "234");
  auto& field = entry->NumberField();
  EXPECT_EQ(Utf8(field.HandleNumber(KV_STR(u"007"))), "7");
  EXPECT_EQ(Utf8(field.HandleNumber(KV_STR(u"1000"))), "100");
  EXPECT_EQ(Utf8(field.HandleNumber(KV_STR(u"5-003"))), "5-3");
  EXPECT_EQ(Utf8(field.HandleNumber(KV_STR(u"000"))), "0");
}

TEST_F(BannerTest, DigitsTuneAfterOkAndTheEntryStaysOneTimeOut) {
  ClearCallLog();
  Press("5");
  auto* entry = Find<NonMenuSystem::ChannelEntry>();
  ASSERT_NE(entry, nullptr);
  Press("ok");
  Settle();
  // Channel 5 is not in the list: a scan of that one physical channel starts.
  ASSERT_EQ(Calls("XPM_StartChannelDiscovery").size(), 1u);
  EXPECT_EQ(Calls("XPM_StartChannelDiscovery")[0].rfind("XPM_StartChannelDiscovery(5,", 0), 0u);
  EXPECT_TRUE(entry->TuneIssued);
  EXPECT_NE(Find<NonMenuSystem::ChannelEntry>(), nullptr);
  Run(7000);
  EXPECT_EQ(Find<NonMenuSystem::ChannelEntry>(), nullptr);
}

TEST_F(BannerTest, SurfingTunesOnceThenOnlyMovesUntilThePause) {
  ClearCallLog();
  Press("ch+");
  auto* entry = Find<NonMenuSystem::ChannelEntry>();
  ASSERT_NE(entry, nullptr);
  EXPECT_TRUE(entry->SurfPending);
  const size_t tuned = Calls("XPM_SetChannel").size();
  Press("ch+");  // within 1500 ms: ignored
  EXPECT_EQ(Calls("XPM_SetChannel").size(), tuned);
  Run(1600);
  entry = Find<NonMenuSystem::ChannelEntry>();
  ASSERT_NE(entry, nullptr);
  EXPECT_TRUE(entry->SurfMode);
  Run(1600);  // surf mode without a key closes the entry
  EXPECT_EQ(Find<NonMenuSystem::ChannelEntry>(), nullptr);
}

}  // namespace

namespace {

// The set's channel-acquired event reaches live TV through the event agent;
// while the channel entry surfs (its number not tuned) the agent holds it
// back, and the banner of the new channel follows when the entry closes.
TEST_F(BannerTest, AChannelChangeBringsUpTheBannerOfTheNewChannel) {
  auto* skin = kv::Cast<SkinBin::Wrapper>(W());
  ASSERT_NE(skin, nullptr);
  Press("ch+");
  Run(1000);
  auto* entry = Find<NonMenuSystem::ChannelEntry>();
  ASSERT_NE(entry, nullptr);
  EXPECT_TRUE(entry->HoldsAcquisition());
  EXPECT_EQ(Find<NonMenuSystem::InfoBanner>(), nullptr);
  Run(3000);  // surf mode without a key closes the entry
  EXPECT_EQ(Find<NonMenuSystem::ChannelEntry>(), nullptr);
  auto* banner = Find<NonMenuSystem::InfoBanner>();
  ASSERT_NE(banner, nullptr);
  ASSERT_NE(banner->Basic(), nullptr);
  SkinBin::CurrentChannelInfo* now = skin->GetCurrentChannelDetailInfo();
  ASSERT_NE(now, nullptr);
  EXPECT_EQ(Nms()->BannerChannel, now->Major * 65536 + now->Minor);

  // Opened by the Info key the banner holds the events back too.
  EXPECT_FALSE(banner->HoldsAcquisition());
  Press("exit");
  Run(100);
  Nms()->ShowInfoBar(true, W()->GetCurrentSource(0));
  Settle();
  banner = Find<NonMenuSystem::InfoBanner>();
  ASSERT_NE(banner, nullptr);
  auto* agent = kv::Cast<SkinBin::EventAgent>(kv::GetAutoObject<Agent::EventAgent>(MainApp::EventAgent));
  ASSERT_NE(agent, nullptr);
  EXPECT_FALSE(agent->IsScreenInOperation());
  banner->OnSetInfoKeyPressed(true);  // as the Info key off a digital channel does
  EXPECT_TRUE(agent->IsScreenInOperation());
}

}  // namespace
