// The information banner and the channel entry, driven through the whole
// system: keys through the GUI loop, the simulated set answering.
#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "nonmenusystem_support.h"
#include "platform/sim/sim_guide.h"
#include "platform/sim/sim_tv_state.h"
#include "runtime/text.h"
#include "units/NonMenuSystem/ChannelEntry.h"
#include "units/NonMenuSystem/InfoBanner.h"
#include "units/Resources/Font.h"
#include "units/SkinBin/EventAgent.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/VirtualChannel.h"
#include "units/WinIDs/WinIDs.h"
#include "units/Wrapper/Wrapper.h"

namespace NonMenuSystem {
int32_t SignalImage(int32_t q);
}

namespace {

class BannerTest : public livetvtest::LiveTVTest {
 protected:
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

// Every channel of the air, by ch+: the banner shows its number at the
// number's width and its name whole beside it, and no text or badge touches
// the frame (12 px clear on the right, as on the left).
TEST_F(BannerTest, EveryChannelShowsItsNumberAndWholeNameInsideTheFrame) {
  std::set<std::string> seen;
  for (int i = 0; i < 40; ++i) {
    Press("ch+");
    // The banner follows once the channel entry has done surfing.
    NonMenuSystem::InfoBanner* banner = nullptr;
    for (int waited = 0; !banner && waited < 5000; waited += 250) {
      Run(250);
      banner = Find<NonMenuSystem::InfoBanner>();
    }
    if (!banner) continue;  // a programme the new set's locks block asks for the PIN instead
    NonMenuSystem::BannerBasicInfo* b = banner->Basic();
    ASSERT_NE(b, nullptr);
    const std::string name = b->ChannelName.OnGetString().ToUtf8();
    if (!seen.insert(name).second) break;
    SCOPED_TRACE(b->ChannelNumber.OnGetString().ToUtf8() + " " + name);
    const int32_t numberWidth = b->ChannelNumber.OnGetFont()->GetTextWidth(b->ChannelNumber.OnGetString());
    const int32_t nameWidth = b->ChannelName.OnGetFont()->GetTextWidth(b->ChannelName.OnGetString());
    EXPECT_GE(b->ChannelNumber.Bounds().W(), numberWidth);
    EXPECT_LE(b->ChannelNumber.Bounds().x2, b->ChannelName.Bounds().x1);
    EXPECT_LE(nameWidth, b->ChannelName.Bounds().W());
    const int32_t room = b->Bounds().W() - 12;
    for (const Core::View* v : std::initializer_list<const Core::View*>{
             &b->ChannelName, &b->SourceLabel, &b->Rating, &b->ClosedCaption, &b->Dolby, &b->Signal})
      EXPECT_LE(v->Bounds().x2, room);
  }
  EXPECT_GE(seen.size(), 10u);
  EXPECT_TRUE(seen.count("Metro HD"));
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

// A channel tuned while a menu page is open (the tuner changed in the
// Channels page) draws no banner under the menu; the banner of that channel
// comes when the menu closes.
TEST_F(BannerTest, NoBannerUnderAnOpenMenuPageTheBannerComesWhenItCloses) {
  Run(1000);
  Nms()->ClearAll();
  Settle();
  auto* skin = kv::Cast<SkinBin::Wrapper>(W());
  ASSERT_NE(skin, nullptr);
  const int32_t medium = skin->OnGetAntCableIn();
  const auto bannerShown = [&] {
    for (const apptest::OpenScreen& s : Screens())
      if (s.cls == "NonMenuSystem::InfoBanner" && s.visible) return true;
    return false;
  };
  const auto menuOpen = [&] {
    for (const apptest::OpenScreen& s : Screens())
      if (s.cls.rfind("MenuSystem::", 0) == 0 && s.visible) return true;
    return false;
  };
  // Menu, down to Channels, its page, down to the tuner, its pop-up, the
  // other tuner, OK.
  Press("menu");
  Run(500);
  for (const char* key : {"down", "down", "ok", "down", "down", "ok", "down", "ok"}) {
    Press(key);
    Run(350);
  }
  ASSERT_NE(skin->OnGetAntCableIn(), medium) << "the tuner changed";
  for (int64_t wait : {500, 2500, 4000}) {
    Run(wait);
    ASSERT_TRUE(menuOpen()) << SeenList();
    EXPECT_FALSE(bannerShown()) << wait << "\n" << SeenList();
    EXPECT_EQ(Core::TextFaults(SeenTexts()), std::vector<std::string>{}) << wait;
  }
  Press("exit");
  Run(1000);
  EXPECT_FALSE(menuOpen());
  EXPECT_TRUE(bannerShown()) << SeenList();
  // The banner names the channel the new tuner brought.
  SkinBin::CurrentChannelInfo* now = skin->GetCurrentChannelDetailInfo();
  ASSERT_NE(now, nullptr);
  ASSERT_FALSE(now->Name.Empty());
  EXPECT_TRUE(Sees(now->Name.ToUtf8())) << SeenList();
}

}  // namespace

namespace {

class BannerKindTest : public BannerTest {
 protected:
  // Tunes the main window to the channel and lets the banner of the tune pass.
  void Tune(int32_t major, int32_t minor) {
    W()->SetChannel(major, minor, true, false);
    Run(3000);
    Nms()->ClearAll();
    Settle();
  }
  NonMenuSystem::BannerBasicInfo* OpenBasic() {
    Nms()->ClearAll();
    Settle();
    Nms()->ShowInfoBar(true, W()->GetCurrentSource(0));
    Settle();
    auto* banner = Find<NonMenuSystem::InfoBanner>();
    return banner ? banner->Basic() : nullptr;
  }
  static std::string Text(const Views::Text& t) { return t.OnGetString().ToUtf8(); }
  // No two badges shown on one line of the banner meet: each keeps at least
  // the 2 px the row leaves between its badges.
  static void ExpectBadgesApart(NonMenuSystem::BannerBasicInfo* b) {
    std::vector<Core::View*> shown;
    for (Core::View* v : std::initializer_list<Core::View*>{&b->Analogue, &b->SDHD, &b->Resolution, &b->AudioMode,
                                                            &b->SecondAudio, &b->Dolby, &b->ClosedCaption})
      if (v->IsVisible()) shown.push_back(v);
    for (size_t i = 0; i < shown.size(); ++i)
      for (size_t j = i + 1; j < shown.size(); ++j) {
        const kv::Rect p = shown[i]->Bounds(), q = shown[j]->Bounds();
        if (p.y1 >= q.y2 || q.y1 >= p.y2) continue;
        EXPECT_GE(std::max(q.x1 - p.x2, p.x1 - q.x2), 2) << "badges " << i << " and " << j << " meet";
      }
  }
};

// The banner's basic form shows what each kind of source carries: a digital
// channel its number, name and signal bars; an analogue channel its number
// with the analogue, 480 and sound badges; an HDMI input its name and the
// picture's resolution; a PC input its name and its timing, never an SD or
// HD badge.
TEST_F(BannerKindTest, TheBasicFormShowsWhatEachKindOfSourceCarries) {
  sim::Channel digital, analogue;
  bool haveDigital = false, haveAnalogue = false;
  for (const sim::Channel& c : Tv().Tv().Ring(W()->OnGetAntCableIn(), 0)) {
    if (c.digital && !haveDigital) digital = c, haveDigital = true;
    if (!c.digital && !haveAnalogue) analogue = c, haveAnalogue = true;
  }
  ASSERT_TRUE(haveDigital && haveAnalogue);

  Tune(digital.major, digital.minor);
  auto* b = OpenBasic();
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(Text(b->ChannelNumber), std::to_string(digital.major) + "-" + std::to_string(digital.minor));
  EXPECT_TRUE(b->ChannelNumber.IsVisible());
  EXPECT_EQ(Text(b->ChannelName), digital.name);
  EXPECT_TRUE(b->Signal.IsVisible());
  EXPECT_FALSE(b->Analogue.IsVisible());
  EXPECT_FALSE(b->PCTiming.IsVisible());

  Tune(analogue.major, analogue.minor);
  b = OpenBasic();
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(Text(b->ChannelNumber), std::to_string(analogue.major));
  EXPECT_TRUE(b->Analogue.IsVisible());
  EXPECT_TRUE(b->Resolution.IsVisible());
  EXPECT_TRUE(b->AudioMode.IsVisible());
  EXPECT_FALSE(b->Signal.IsVisible());
  EXPECT_FALSE(b->SDHD.IsVisible());
  ExpectBadgesApart(b);

  ASSERT_TRUE(SwitchToSourceType(sim::kSourceTypeHdmi));
  b = OpenBasic();
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(Text(b->SourceLabel), "HDMI 1");
  EXPECT_FALSE(b->ChannelNumber.IsVisible());
  EXPECT_FALSE(b->Analogue.IsVisible());
  EXPECT_FALSE(b->Signal.IsVisible());
  EXPECT_TRUE(b->Resolution.IsVisible() || b->PCTiming.IsVisible());

  ASSERT_TRUE(SwitchToSourceType(sim::kSourceTypeVga));
  b = OpenBasic();
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(Text(b->SourceLabel), "PC");
  EXPECT_FALSE(b->ChannelNumber.IsVisible());
  EXPECT_FALSE(b->SDHD.IsVisible()) << "a PC timing has no SD or HD badge";
  EXPECT_TRUE(b->Resolution.IsVisible() || (b->PCTiming.IsVisible() && !Text(b->PCTiming).empty()));
}

// On an input without channels the basic banner keeps its size, 250 x 126,
// as on a tuner, and its badges stand right under the source line: the
// HDMI input's resolution and the PC input's timing read just below "HDMI 1"
// and "PC", inside the frame.
TEST_F(BannerKindTest, AnInputsBannerIsAsLargeAsAChannelsWithItsBadgesUnderTheSourceLine) {
  auto* b = OpenBasic();
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Bounds(), (kv::Rect{40, 40, 290, 166}));
  for (int32_t type : {sim::kSourceTypeHdmi, sim::kSourceTypeVga}) {
    SCOPED_TRACE(type);
    ASSERT_TRUE(SwitchToSourceType(type));
    b = OpenBasic();
    ASSERT_NE(b, nullptr);
    Settle();
    EXPECT_EQ(b->Bounds(), (kv::Rect{40, 40, 290, 166}));
    const Core::SeenText* source = nullptr;
    const std::vector<Core::SeenText> seen = SeenTexts();
    for (const Core::SeenText& t : seen)
      if (t.view == &b->SourceLabel) source = &t;
    ASSERT_NE(source, nullptr) << SeenList();
    // The input's video badge: its resolution, or a PC's timing in its place.
    Core::View* badge = b->Resolution.IsVisible() ? static_cast<Core::View*>(&b->Resolution) : &b->PCTiming;
    ASSERT_TRUE(badge->IsVisible());
    const int32_t top = badge->Bounds().y1 + b->Bounds().y1;
    EXPECT_GE(top, source->ink.y2);
    EXPECT_LE(top - source->ink.y2, 16) << "the badges stand right under the source line";
  }
}

// A programme's rating on the banner: the set rates its programmes with a TV
// rating and no movie rating, so the movie part is empty and adds no
// separator; a Canadian rating follows after one space.
TEST_F(BannerKindTest, AnEmptyRatingPartAddsNoSeparator) {
  const int64_t now = Tv().Tv().NetworkTime();
  int checked = 0;
  for (const sim::Channel& c : Tv().Tv().Ring(W()->OnGetAntCableIn(), 0)) {
    sim::GuideEvent e;
    if (!c.digital || !sim::GuideEventAt(c.major, c.minor, now, &e) || e.rating < 0) continue;
    SCOPED_TRACE(std::to_string(c.major) + "-" + std::to_string(c.minor));
    Tune(c.major, c.minor);
    auto* b = OpenBasic();
    ASSERT_NE(b, nullptr);
    const std::string r = Text(b->Rating);
    ASSERT_FALSE(r.empty());
    EXPECT_TRUE(b->Rating.IsVisible());
    EXPECT_NE(r.front(), ' ') << r;
    EXPECT_NE(r.back(), ' ') << r;
    EXPECT_EQ(r.find("  "), std::string::npos) << r;
    // The programme's TV rating comes first: the empty movie part added no
    // separator; a Canadian rating follows after one space.
    auto* skin = kv::Cast<SkinBin::Wrapper>(W());
    const std::string tv = skin->GetUsRatingName(skin->GetUsRatingIndex(sim::UsRatingWord(e) & ~15)).ToUtf8();
    ASSERT_FALSE(tv.empty());
    EXPECT_EQ(r.rfind(tv, 0), 0u) << r;
    if (e.canadianRating != 0) {
      const std::string can = skin->GetCanRatingName(skin->GetCanRatingIndex(e.canadianRating)).ToUtf8();
      EXPECT_EQ(r.rfind(tv + " " + can, 0), 0u) << r;
    }
    if (++checked == 3) break;
  }
  EXPECT_GT(checked, 0);
}

// The guide form of the banner (the Info key on a digital channel) loads
// the programme on now, then the next one, from the set's guide.
TEST_F(BannerKindTest, TheGuideFormShowsNowThenNextFromTheSetsGuide) {
  auto* skin = kv::Cast<SkinBin::Wrapper>(W());
  ASSERT_NE(skin, nullptr);
  SkinBin::CurrentChannelInfo* d = skin->GetCurrentChannelDetailInfo();
  ASSERT_TRUE(d && d->IsDigital);
  const std::vector<sim::GuideEvent> events = sim::GuideEvents(d->Major, d->Minor, Tv().Tv().NetworkTime(), 2);
  ASSERT_EQ(events.size(), 2u);
  Nms()->ShowInfoBar(true, W()->GetCurrentSource(0));
  Settle();
  auto* banner = Find<NonMenuSystem::InfoBanner>();
  ASSERT_NE(banner, nullptr);
  EXPECT_EQ(banner->EPG(), nullptr);
  banner->OnSetInfoKeyPressed(true);
  banner->ProcessInfoKey();
  Settle();
  ASSERT_NE(banner->EPG(), nullptr);
  EXPECT_EQ(Text(banner->EPG()->Title), events[0].title);
  EXPECT_FALSE(Text(banner->EPG()->Time).empty());
  banner->ProcessInfoKey();
  Settle();
  ASSERT_NE(banner->EPG(), nullptr);
  const std::string next = Text(banner->EPG()->Title);
  EXPECT_NE(next.find(events[1].title), std::string::npos) << next;
  EXPECT_NE(next, events[1].title) << "the next programme is marked as next";
  banner->ProcessInfoKey();
  Settle();
  EXPECT_EQ(Find<NonMenuSystem::InfoBanner>(), nullptr);
}

// With every channel out of the ring, channel up closes the entry and surfs
// no further: nothing is tuned, the entry is gone, and the next key answers.
TEST_F(BannerTest, ChannelUpOnAnEmptyRingClosesTheEntryAndSurfsNoFurther) {
  for (int32_t medium : {0, 1})
    for (const sim::Channel& c : Tv().Tv().Ring(medium, 0)) Tv().Tv().RemoveChannelFromRing(0, c.major, c.minor, "test");
  ASSERT_TRUE(W()->IsChannelRingEmpty(0, false));
  Nms()->ClearAll();
  Settle();
  ClearCallLog();
  Press("ch+");
  Settle();
  EXPECT_EQ(Find<NonMenuSystem::ChannelEntry>(), nullptr);
  Run(5000);
  EXPECT_TRUE(Calls("XPM_SetChannel").empty());
  EXPECT_EQ(Find<NonMenuSystem::ChannelEntry>(), nullptr);
  Press("vol+");
  EXPECT_FALSE(Calls("XPM_SetVolume").empty());
}

}  // namespace
