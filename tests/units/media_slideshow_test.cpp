// The slide show engine over a plugged stick of real photos: pictures
// decoded by the media service into the two buffers, drawn on the screen,
// stepped by Next/Prev, played at the interval of the settings on the fake
// clock, and every transition's geometry as the user sees it.
#include <string>
#include <vector>

#include "media_fixture.h"
#include "units/Media/DataSources.h"
#include "units/Media/SlideShowAnimator.h"

namespace listtest {

// Takes the animator's reports to the host (as the GUI root takes them to
// the viewer).
class ReportSink : public Core::Group {
  KV_CLASS(listtest, ReportSink, Core::Group)
 public:
  kv::Object* Broadcast(Core::Event* event, int32_t) override { return HandleEvent(event); }
  kv::Object* HandleEvent(Core::Event* event) override { return to ? to->HandleEvent(event) : nullptr; }
  Core::View* to = nullptr;
};

// Stands where the photo viewer will: owns the animator and its two images,
// hands it the decoded pictures and records its reports.
class SlideHost : public Primitives::KeyRoutingForm {
  KV_CLASS(listtest, SlideHost, Primitives::KeyRoutingForm)
 public:
  SlideHost() {
    for (Media::ScalableImage* image : {&imageA, &imageB}) {
      image->OnSetBounds({0, 0, 960, 540});
      image->OnSetVisible(false);
      Add(image);
    }
    Add(&animator);
    animator.OnSetImageA(&imageA);
    animator.OnSetImageB(&imageB);
    sink.to = this;
  }
  kv::Object* HandleEvent(Core::Event* event) override {
    if (auto* s = kv::Cast<Events::StatusEvent>(event)) {
      reports.push_back(std::to_string(s->Code) + ":" + std::to_string(s->SubCode0) + "," +
                        std::to_string(s->SubCode1) + "," + std::to_string(s->SubCode2) + "," +
                        std::to_string(s->SubCode3));
      if (s->Code == 1 && s->SubCode3 == 1) animator.ShowInvalidText();
      return this;
    }
    if (kv::Cast<Media::PictureEvent>(event)) return animator.HandleEvent(event);
    return Primitives::KeyRoutingForm::HandleEvent(event);
  }
  std::vector<std::string> Reports(const std::string& code) const {
    std::vector<std::string> out;
    for (const std::string& r : reports)
      if (r.starts_with(code + ":")) out.push_back(r);
    return out;
  }
  Media::SlideShowAnimator animator;
  Media::ScalableImage imageA, imageB;
  ReportSink sink;
  std::vector<std::string> reports;
};

}  // namespace listtest

KV_REGISTER_CLASS(listtest::SlideHost);
KV_REGISTER_CLASS(listtest::ReportSink);

namespace listtest {
namespace {

// Solid pictures: red, green, blue (0xRRGGBB).
constexpr uint32_t kColours[3] = {0xE00000, 0x00E000, 0x0000E0};

class SlideShowTest : public MediaTest {
 protected:
  // A stick of three photos a, b, c browsed, the animator opened on its
  // slide-show play list at picture `index` (paused).
  SlideHost* OpenShow(int32_t index, const std::vector<std::string>& extra = {}) {
    const char* names[3] = {"a.jpg", "b.jpg", "c.jpg"};
    for (int i = 0; i < 3; ++i)
      media_writer::WriteBytes(StickDir("photos") + "/" + names[i], media_writer::Jpeg(64, 48, kColours[i], kColours[i]));
    for (const std::string& f : extra) media_writer::WriteBytes(StickDir("photos") + "/" + f, {'n', 'o', 't', 'a'});
    // No question over the pictures: the show is opened here as the browser opens it.
    W()->OnSetUSBSDAutoStart(0);
    Plug("photos");
    Browse(0, Media::MEDIA_TYPE_PICTURE);
    auto* h = kv::New<SlideHost>();
    h->OnSetBounds({0, 0, 960, 540});
    h->WinID = WinIDs::WIN_ID_PhotoSingleView;  // live TV hands decoded pictures to it
    h->Layer = 0x100;
    h->OnSetTimeOutValue(0);
    h->Parent = App().GetStandby();
    h->Open();
    App().GetStandby()->OnSetFocus(h);
    App().OnSetFocus(App().GetStandby());
    host = h;
    Media::MediaPlaylistDataSource* list = Bridge()->SetSlideshowPlaylist();
    EXPECT_NE(list, nullptr);
    h->animator.OnSetRoot(&h->sink);
    h->animator.OnSetPlaylist(list);
    h->animator.OnSetCurrentUID(index);
    Settle();
    Run(100);
    return h;
  }
  // The colour on screen at the centre, as 0xRRGGBB with each channel
  // reduced to "high" (0xE0) or none, so JPEG noise does not matter.
  uint32_t Centre() {
    const uint32_t p = Osd().Row(270)[480];
    uint32_t out = 0;
    if ((p & 0xFF) > 0x80) out |= 0xE00000;
    if (((p >> 8) & 0xFF) > 0x80) out |= 0x00E000;
    if (((p >> 16) & 0xFF) > 0x80) out |= 0x0000E0;
    return out;
  }
};

TEST_F(SlideShowTest, OpensPausedOnTheChosenPhotoAndStepsWithNextAndPrev) {
  SlideHost* h = OpenShow(1);
  EXPECT_EQ(h->animator.OnGetState(), 2);
  EXPECT_EQ(Centre(), kColours[1]) << "the chosen photo is drawn";
  EXPECT_EQ(h->animator.OnGetCurrentUID(), 1);
  EXPECT_EQ(h->Reports("11"), std::vector<std::string>{"11:10,0,2,0"});
  EXPECT_FALSE(Calls("PslScreenSaverStop").empty()) << "the screen saver is held off while the viewer shows";

  h->animator.Next();
  Settle();
  Run(100);
  EXPECT_EQ(Centre(), kColours[2]);
  EXPECT_EQ(h->Reports("11").back(), "11:10,0,3,0");

  // The end of the list, repeat off: reported, the picture stays.
  h->animator.Next();
  Settle();
  Run(100);
  EXPECT_EQ(Centre(), kColours[2]);
  EXPECT_EQ(h->Reports("5"), std::vector<std::string>{"5:0,0,1,0"});

  h->animator.Prev();
  Settle();
  Run(100);
  EXPECT_EQ(Centre(), kColours[1]);
  EXPECT_EQ(h->Reports("11").back(), "11:10,1,2,0");
  EXPECT_EQ(h->animator.OnGetState(), 2) << "a step back while paused stays paused";

  // Repeat all: Prev on the first shows the last.
  h->animator.OnSetRepeat(2);
  h->animator.Prev();
  Settle();
  Run(100);
  h->animator.Prev();
  Settle();
  Run(100);
  EXPECT_EQ(Centre(), kColours[2]);
  EXPECT_EQ(h->Reports("14"), std::vector<std::string>{"14:2,0,0,0"});

  // Closing frees the screen saver and hides both pictures.
  h->animator.OnSetState(7);
  Settle();
  EXPECT_FALSE(Calls("PslScreenSaverStart").empty());
  EXPECT_FALSE(h->imageA.IsVisible() || h->imageB.IsVisible());
  EXPECT_EQ(h->Reports("5").back(), "5:0,0,0,0");
}

TEST_F(SlideShowTest, PlaysAtTheIntervalOfTheSettingsAndTakesANewIntervalAtOnce) {
  W()->OnSetMM_IntervalTime(1);  // 5 s
  SlideHost* h = OpenShow(0);
  ASSERT_EQ(Centre(), kColours[0]);
  // (Run, not Settle: settling would run the waiting timers through.)
  h->animator.OnSetState(1);
  Run(50);
  EXPECT_EQ(h->Reports("30"), std::vector<std::string>{"30:5,0,0,0"});
  Run(4800);
  EXPECT_EQ(Centre(), kColours[0]) << "the first photo stays its interval";
  Run(400);
  EXPECT_EQ(Centre(), kColours[1]);
  EXPECT_EQ(h->Reports("27").size(), 1u) << "an automatic step reports 27";

  // A new interval from the quick menu: the Wrapper stores it first, then
  // the viewer hands it on; the waiting picture takes it and it is reported.
  W()->OnSetMM_IntervalTime(0);  // 3 s
  h->animator.OnSetSpeed(0);
  Run(10);
  EXPECT_EQ(h->Reports("30").back(), "30:3,0,0,0");
  Run(3200);
  EXPECT_EQ(Centre(), kColours[2]);

  // The end without repeat: reported once, the last photo stays.
  Run(3200);
  EXPECT_EQ(Centre(), kColours[2]);
  EXPECT_EQ(h->Reports("5"), std::vector<std::string>{"5:0,0,1,0"});

  // Pausing reports 2 and stops the clock.
  h->animator.OnSetSpeed(7);
  h->animator.OnSetSpeed(-1);
  EXPECT_EQ(h->Reports("30").size(), 2u) << "intervals out of the table are ignored";
  h->animator.OnSetState(2);
  EXPECT_EQ(h->Reports("2").back(), "2:0,0,0,0");
}

TEST_F(SlideShowTest, APhotoTheServiceCannotDecodeShowsTheInvalidTextAndTheShowGoesOn) {
  SlideHost* h = OpenShow(0, {"d.jpg"});
  h->animator.OnSetInvalidText(kv::String::FromUtf8("Unsupported file"));
  h->animator.OnSetCurrentUID(3);
  Settle();
  Run(100);
  EXPECT_EQ(h->Reports("1"), std::vector<std::string>{"1:1,0,0,1"});
  EXPECT_EQ(Centre(), 0u) << "the broken photo's buffer is cleared";
  int lit = 0;  // the white text over the cleared buffer
  for (int32_t y = 250; y < 290; ++y)
    for (int32_t x = 380; x < 580; ++x) lit += (Osd().Row(y)[x] & 0xFF) > 0xC0;
  EXPECT_GT(lit, 20);
  // Going on: repeat all wraps to the first photo.
  h->animator.OnSetRepeat(2);
  h->animator.Next();
  Settle();
  Run(100);
  EXPECT_EQ(Centre(), kColours[0]);
}

// The transitions between the two images, frame by frame as the effect
// writes them (the slide show must run for a transition to play).
TEST_F(SlideShowTest, TransitionsPlaceBothImagesAndTheShutterClosesOnTheCentre) {
  SlideHost* h = OpenShow(0);
  Media::SlideShowAnimator& a = h->animator;
  a.OnSetState(1);
  a.OnSetEffect(4);
  a.Next();  // the next photo's buffer is on its way; b shown on the next frame
  Settle();
  Run(10);
  // Shutter: the old picture closes on the centre until 127 ...
  auto rects = [&](int32_t v) {
    a.OnSetEffectValue(v);
    Media::ScalableImage* shownNew = a.OnGetCurrentItem()->Picture.get() == a.CanvasB() ? &h->imageB : &h->imageA;
    Media::ScalableImage* shownOld = shownNew == &h->imageA ? &h->imageB : &h->imageA;
    return std::pair{shownNew->Bounds(), shownOld->Bounds()};
  };
  for (int32_t v = 0; v < 128; ++v) {
    const auto [n, o] = rects(v);
    EXPECT_TRUE(n.x2 - n.x1 == 0 && n.y2 - n.y1 == 0) << v;
    EXPECT_LE(o.x1, o.x2) << "the closing rectangle never turns inside out, value " << v;
    EXPECT_LE(o.y1, o.y2) << v;
  }
  EXPECT_EQ(rects(127).second, (kv::Rect{480, 270, 480, 270})) << "closed on the centre";
  EXPECT_EQ(rects(64).second, (kv::Rect{241, 136, 719, 404}));
  // ... and the new one opens from it.
  EXPECT_EQ(rects(128).first, (kv::Rect{480, 270, 480, 270}));
  EXPECT_EQ(rects(255).first, (kv::Rect{0, 0, 960, 540}));
  // A late frame that leaps over the centre leaves nothing of the old picture.
  rects(100);
  const kv::Rect left = rects(140).second;
  EXPECT_TRUE(left.W() == 0 && left.H() == 0) << left.x1 << "," << left.y1 << " " << left.x2 << "," << left.y2;

  a.OnSetEffect(1);  // horizontal scroll: the new picture pushes in from the left
  EXPECT_EQ(rects(128).first, (kv::Rect{-479, 0, 481, 540}));
  EXPECT_EQ(rects(128).second, (kv::Rect{481, 0, 1441, 540}));
  a.OnSetEffect(5);
  EXPECT_EQ(rects(255).first, (kv::Rect{0, 0, 960, 540}));
  EXPECT_EQ(rects(255).second, (kv::Rect{0, 540, 960, 1080}));
  a.OnSetEffect(2);
  rects(100);
  EXPECT_EQ(h->imageA.OnGetOpacity() + h->imageB.OnGetOpacity(), 255);

  // Paused, a transition setting has no effect: a cut.
  a.OnSetState(2);
  a.OnSetEffect(4);
  const auto [n, o] = rects(10);
  EXPECT_EQ(n, (kv::Rect{0, 0, 960, 540}));
  (void)o;
  EXPECT_TRUE(a.OnGetCurrentItem() != nullptr);
}

}  // namespace
}  // namespace listtest
