// The guide, recording, rating, access-point and media lists draw in their
// test screens (a screenshot of each), give the picture back when closed,
// and each opened, used and closed 50 times returns to its census.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ge/surface.h"
#include "listform_fixture.h"
#include "platform/db/db.h"
#include "platform/sim/sim.h"
#include "platform/xpm/xpm_record.h"
#include "platform/sim/sim_net_state.h"
#include "strings/SkinBin.h"
#include "units/ListForm/AccessPointLists.h"
#include "units/ListForm/GridView.h"
#include "units/ListForm/GuideLists.h"
#include "units/ListForm/MediaLists.h"
#include "units/ListForm/RatingLists.h"
#include "units/ListForm/RecordLists.h"
#include "units/Media/MediaWrapper.h"
#include "units/SkinBin/RatingData.h"
#include "units/SkinBin/RecordData.h"
#include "units/WinIDs/WinIDs.h"
#include "strings/Media.h"
#include "media_fixture.h"

namespace listtest {
namespace {

using namespace ListForm;

class ListDraw2Test : public MediaTest {
 protected:
  void SetUp() override {
    MediaTest::SetUp();
    W()->PersistentData->PutInteger(SkinBin::KEY_RATING_REGION, 5);
    // A stick of two albums, 38 pictures and three songs, and three home-network servers.
    WriteStick("Stick", {"Album 0/", "Album 1/", "Album 0/a.jpg", "Track 0.wav", "Track 1.wav", "Track 2.wav"});
    const std::string first = StickDir("Stick") + "/Picture 02.jpg";
    media_writer::WriteBytes(first, media_writer::Jpeg(64, 48, 0x204080, 0xC0E0FF));
    for (int i = 3; i < 40; ++i)
      std::filesystem::create_hard_link(first, StickDir("Stick") + "/Picture " + (i < 10 ? "0" : "") +
                                                   std::to_string(i) + ".jpg");
    for (int i = 0; i < 3; ++i) {
      const std::filesystem::path dir = DataDir() / "media" / "servers" / ("server" + std::to_string(i));
      std::filesystem::create_directories(dir);
      std::ofstream(dir / "server.ini") << "name=Media server " << i << "\naddress=192.168.1." << 20 + i
                                        << "\nmac=00:1A:2B:3C:4D:5" << i << "\nwake-on-lan=" << (i == 1 ? 1 : 0)
                                        << "\n";
    }
    psl::Rescan();
    Plug("Stick");
    Browse(0, Media::MEDIA_TYPE_PICTURE);
    Bridge()->RequestBgmBrowse(kv::LoadString(Media::BGM_ROOT));
    Settle();
  }
  Primitives::KeyRoutingForm* Host(uint32_t winId) {
    auto* form = kv::New<Primitives::KeyRoutingForm>();
    form->WinID = winId;
    return form;
  }
  struct Case {
    const char* name;
    std::function<Primitives::KeyRoutingListForm*()> open;
  };
  std::vector<Case> Cases() {
    const kv::Rect screen{60, 60, 900, 500};
    return {
        {"guide-programmes",
         [=, this] {
           auto* l = Open(kv::New<EPGProgramList>(), {20, 40, 600, 300});
           l->OnSetm_channel(W()->GetCurrentChannel());
           Settle();
           return l;
         }},
        {"guide-channels", [=, this] { return Open(kv::New<EPGChannelList>(), {20, 40, 220, 300}); }},
        {"mini-guide", [=, this] { return Open(kv::New<MiniGuideList>(), {20, 40, 440, 130}); }},
        {"recorded-shows",
         [=, this] {
           if (W()->GetRecordedInfo()->GetNumEvents() == 0) {
             std::filesystem::create_directories(Tv().TargetPath(sim::kUsbMountPoint));
             for (int i = 0; i < 3; ++i) {
               DB_RecordedEntry e{};
               e.status = i == 0 ? 3 : 2;
               e.major = 2;
               e.minor = 1;
               e.duration = 1800 * (i + 1);
               std::snprintf(e.title, sizeof e.title, "Recording %d", i);
               std::snprintf(e.path, sizeof e.path, "%s/REC_%d.ts", sim::kUsbMountPoint, i);
               int32_t id = 0;
               sim::AddRecordedShow(Tv(), e, &id);
             }
           }
           return Open(kv::New<RecordedShowsList>(), {20, 40, 880, 300});
         }},
        {"rating-dimensions", [=, this] { return Open(kv::New<KXDRRTDimensionList>(), {30, 80, 320, 304}); }},
        {"rating-levels",
         [=, this] {
           auto* l = kv::New<KXDRRTLevelList>();
           l->Dimension = 0;
           return Open(l, {30, 80, 250, 302});
         }},
        {"access-points",
         [=, this] {
           auto* l = Open(kv::New<AccessPointList>(), {20, 20, 700, 330});
           Run(sim::NetState::kScanDelay + 100);
           l->GetScanResult();
           Settle();
           return l;
         }},
        {"access-points-skin",
         [=, this] {
           auto* l = Open(kv::New<KXDAccessPointList>(), {20, 20, 520, 240});
           Run(sim::NetState::kScanDelay + 100);
           l->GetScanResult();
           Settle();
           return l;
         }},
        {"media-files",
         [=, this] { return Open(kv::New<MediaContentList>(), {20, 20, 420, 300}, 0, 0, screen, Host(WinIDs::WIN_ID_MovieListView)); }},
        {"media-music", [=, this] { return Open(kv::New<BGMList>(), {20, 20, 420, 200}); }},
        {"media-devices", [=, this] { return Open(kv::New<MediumDeviceList>(), {20, 20, 460, 150}); }},
        {"media-servers", [=, this] { return Open(kv::New<MediaServerList>(), {20, 20, 630, 234}); }},
        {"photo-grid",
         [=, this] {
           return Open(kv::New<PhotoGridView>(), {0, 0, 900, 400}, 0, 0, {30, 60, 930, 470},
                       Host(WinIDs::WIN_ID_PhotoMultiView));
         }},
    };
  }
};

TEST_F(ListDraw2Test, EveryListDrawsInsideItsScreenAndClosesClean) {
  W()->DynamicRatingData.SetRegionDimension(5, 0);
  for (const Case& c : Cases()) {
    const std::vector<uint32_t> before(Osd().pixels, Osd().pixels + Osd().stride * Osd().height);
    Primitives::KeyRoutingListForm* l = c.open();
    Run(1000);  // previews, thumbnails and tunes have come
    const kv::Rect inside = l->GetAbsoluteBounds();
    const kv::Rect screen = host->GetAbsoluteBounds();
    int changed = 0, outside = 0;
    for (int32_t y = 0; y < Osd().height; ++y)
      for (int32_t x = 0; x < Osd().width; ++x) {
        if (Osd().Row(y)[x] == before[static_cast<size_t>(y * Osd().stride + x)]) continue;
        if (x >= inside.x1 && x < inside.x2 && y >= inside.y1 && y < inside.y2) ++changed;
        if (!(x >= screen.x1 && x < screen.x2 && y >= screen.y1 && y < screen.y2)) ++outside;
      }
    EXPECT_GT(changed, 200) << c.name;
    EXPECT_EQ(outside, 0) << c.name;
    EXPECT_TRUE(Shot((DataDir() / (std::string("list-") + c.name + ".png")).string())) << c.name;
    CloseHost();
    EXPECT_TRUE(std::equal(before.begin(), before.end(), Osd().pixels)) << c.name;
  }
}

TEST_F(ListDraw2Test, EachListReturnsToTheCensusBaseline) {
  const std::vector<Case> cases = Cases();
  ExpectCensusBaseline(static_cast<int>(cases.size()), [&](int kind) {
    cases[static_cast<size_t>(kind)].open();
    Press("down");
    Press("up");
    CloseHost();
  });
}

}  // namespace
}  // namespace listtest
