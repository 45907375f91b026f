// Images, image lists, frames, rectangles, borders and lines, checked by the
// pixels they draw.
#include <gtest/gtest.h>

#include "core_test_support.h"
#include "ge/blit.h"
#include "runtime/collector.h"
#include "runtime/ref.h"
#include "runtime/slot.h"
#include "units/Colors/Colors.h"
#include "units/Core/Group.h"
#include "units/Resources/Bitmap.h"
#include "units/Views/Align.h"
#include "units/Views/Border.h"
#include "units/Views/Frame.h"
#include "units/Views/Image.h"
#include "units/Views/ImageList.h"
#include "units/Views/Line.h"
#include "units/Views/Rectangle.h"

namespace {

constexpr uint32_t kRed = 0xff0000ffu;
constexpr uint32_t kGreen = 0xff00ff00u;
constexpr uint32_t kBlue = 0xffff0000u;
constexpr uint32_t kWhite = 0xffffffffu;

// Counts how often an image finished its animation.
class Finish : public kv::Object {
  KV_CLASS(ViewsTest, Finish, kv::Object)
 public:
  int count = 0;
  void OnFinished(kv::Object*) { ++count; }
};

class ImageTest : public coretest::ViewTest {
 protected:
  // An opaque bitmap whose pixel (x, y) of frame f is Code(f, x, y).
  Resources::Bitmap* NewBitmap(int32_t w, int32_t h, int32_t frames = 1) {
    auto* b = kv::New<Resources::Bitmap>();
    b->OnSetNoOfFrames(frames);
    b->OnSetSize({w * frames, h});
    for (int32_t f = 0; f < frames; ++f) {
      const ge::Surface s = b->GetFrameSurface(f);
      for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) s.Row(y)[x] = Code(f, x, y);
    }
    return b;
  }
  static uint32_t Code(int32_t f, int32_t x, int32_t y) {
    return 0xff000000u | static_cast<uint32_t>(f) << 16 | static_cast<uint32_t>(y) << 8 | static_cast<uint32_t>(x);
  }
  template <class T>
  T* Add(kv::Rect bounds) {
    T* v = kv::New<T>();
    v->OnSetBounds(bounds);
    root->Add(v);
    return v;
  }
};

TEST_F(ImageTest, StretchedByDefaultOrAlignedAtItsOwnSize) {
  auto* img = Add<Views::Image>({100, 100, 140, 120});
  img->OnSetBitmap(NewBitmap(4, 2));
  driver.Pass();
  // 4 x 2 pixels stretched tenfold.
  EXPECT_EQ(Pixel(100, 100), Code(0, 0, 0));
  EXPECT_EQ(Pixel(109, 109), Code(0, 0, 0));
  EXPECT_EQ(Pixel(110, 110), Code(0, 1, 1));
  EXPECT_EQ(Pixel(139, 119), Code(0, 3, 1));
  EXPECT_EQ(Pixel(140, 119), 0u);

  img->OnSetAlignH(Views::ALIGN_CENTER);
  img->OnSetAlignV(Views::ALIGN_BOTTOM);
  driver.Pass();
  EXPECT_EQ(Pixel(118, 118), Code(0, 0, 0));  // centred across, at the bottom
  EXPECT_EQ(Pixel(121, 119), Code(0, 3, 1));
  EXPECT_EQ(Pixel(117, 118), 0u);
  EXPECT_EQ(Pixel(122, 118), 0u);
  EXPECT_EQ(Pixel(118, 117), 0u);

  // One axis aligned, the other stretched.
  img->OnSetAlignH(Views::ALIGN_LEFT);
  img->OnSetAlignV(Views::ALIGN_STRETCH);
  driver.Pass();
  EXPECT_EQ(Pixel(100, 100), Code(0, 0, 0));
  EXPECT_EQ(Pixel(103, 119), Code(0, 3, 1));
  EXPECT_EQ(Pixel(104, 110), 0u);
}

// A see-through frame (alpha varying across it) stretched over a gradient:
// every pixel of the blend shows whether it is drawn from the right pixels.
class StretchedImageTest : public ImageTest {
 protected:
  static constexpr int32_t kW = 60, kH = 40;
  static constexpr kv::Point kAt{7, 5};

  Resources::Bitmap* NewSeeThroughBitmap(int32_t w, int32_t h, int32_t frames) {
    auto* b = kv::New<Resources::Bitmap>();
    b->OnSetNoOfFrames(frames);
    b->OnSetSize({w * frames, h});
    Paint(b, 0);
    return b;
  }
  // Premultiplied pixels: colour channels at most the alpha.
  static void Paint(Resources::Bitmap* b, uint32_t seed) {
    const ge::Surface s = b->GetSurface();
    for (int32_t y = 0; y < s.height; ++y)
      for (int32_t x = 0; x < s.width; ++x) {
        const uint32_t a = (x * 37 + y * 11 + seed * 5) % 256;
        const uint32_t r = a * ((x + seed) % 4) / 3, g = a * (y % 3) / 2, bl = a / 2;
        s.Row(y)[x] = a << 24 | bl << 16 | g << 8 | r;
      }
  }
  static ge::Bitmap Gradient() {
    ge::Bitmap g(kW, kH);
    for (int32_t y = 0; y < kH; ++y)
      for (int32_t x = 0; x < kW; ++x)
        g.View().Row(y)[x] = 0xff000000u | static_cast<uint32_t>(x * 4) << 16 | static_cast<uint32_t>(y * 6) << 8 | 0x40;
    return g;
  }
  // The image drawn through the view, and the frame stretched by ge itself
  // onto the same gradient, must be the same pixels.
  void ExpectDrawnAsStretched(Views::Image* img, const kv::Rect& clip, int32_t frame) {
    ge::Bitmap got = Gradient(), want = Gradient();
    img->Draw(got.View(), clip, kAt, 255);
    const ge::Surface src = img->OnGetBitmap()->GetFrameSurface(frame);
    const kv::Rect b = img->Bounds();
    ge::GenScaleBitmap(want.View(), Core::ToGeRect(clip), src, kAt.x, kAt.y, b.W(), b.H(), 0, 0, src.width,
                       src.height, true, static_cast<uint8_t>(img->OnGetOpacity()));
    int32_t differ = 0;
    for (int32_t y = 0; y < kH; ++y)
      for (int32_t x = 0; x < kW; ++x) differ += got.View().Row(y)[x] != want.View().Row(y)[x];
    EXPECT_EQ(differ, 0) << "opacity " << img->OnGetOpacity() << ", " << b.W() << " x " << b.H();
  }
};

TEST_F(StretchedImageTest, DrawsTheSamePixelsAsStretchingEveryTime) {
  Resources::Bitmap* b = NewSeeThroughBitmap(24, 18, 2);
  auto* img = Add<Views::Image>({0, 0, 36, 18});
  img->OnSetBitmap(b);
  const kv::Rect whole{0, 0, kW, kH}, part{12, 9, 33, 20};
  for (int32_t opacity : {255, 128}) {
    img->OnSetOpacity(opacity);
    for (const kv::Rect& clip : {whole, part, whole})  // the second whole draw is from the kept copy
      ExpectDrawnAsStretched(img, clip, 0);
  }
  // Another size is stretched anew, not taken from the copy of the old one.
  img->OnSetBounds({0, 0, 50, 31});
  ExpectDrawnAsStretched(img, whole, 0);
  img->OnSetBounds({0, 0, 36, 18});
  ExpectDrawnAsStretched(img, whole, 0);
  // So are another frame and pixels drawn into the bitmap since.
  img->OnSetFrameNumber(1);
  ExpectDrawnAsStretched(img, whole, 1);
  Paint(b, 3);
  ExpectDrawnAsStretched(img, whole, 1);
  img->OnSetFrameNumber(0);
  ExpectDrawnAsStretched(img, part, 0);

  // Images of different sizes sharing the bitmap each get their own pixels.
  auto* other = Add<Views::Image>({0, 0, 40, 30});
  other->OnSetBitmap(b);
  for (int32_t i = 0; i < 2; ++i) {
    ExpectDrawnAsStretched(img, whole, 0);
    ExpectDrawnAsStretched(other, whole, 0);
  }
}

TEST_F(StretchedImageTest, KeptCopiesCountTowardsTheNextCollection) {
  // Each copy holds about 56 KB: twenty of them call for a collection.
  std::vector<Views::Image*> images;
  for (int32_t i = 0; i < 20; ++i) {
    auto* img = Add<Views::Image>({0, 0, 120, 120});
    img->OnSetBitmap(NewSeeThroughBitmap(4, 4, 1));
    images.push_back(img);
  }
  kv::Collect();
  ASSERT_FALSE(kv::CollectionDue());
  ge::Bitmap target(120, 120);
  for (Views::Image* img : images) img->Draw(target.View(), {0, 0, 120, 120}, {0, 0}, 255);
  EXPECT_TRUE(kv::CollectionDue());
  // A full-screen stretch is never kept: drawing it again costs no memory.
  auto* wide = Add<Views::Image>({0, 0, 960, 540});
  wide->OnSetBitmap(NewSeeThroughBitmap(96, 54, 1));
  kv::Collect();
  ge::Bitmap screen(960, 540);
  for (int32_t i = 0; i < 30; ++i) wide->Draw(screen.View(), {0, 0, 960, 540}, {0, 0}, 255);
  EXPECT_FALSE(kv::CollectionDue());
}

TEST_F(ImageTest, OpacityScalesThePixels) {
  auto* img = Add<Views::Image>({10, 10, 20, 20});
  Resources::Bitmap* b = NewBitmap(1, 1);
  b->GetSurface().Row(0)[0] = kRed;
  img->OnSetBitmap(b);
  img->OnSetOpacity(128);
  driver.Pass();
  EXPECT_EQ(Pixel(15, 15), 0x80000080u);
  // A group's opacity multiplies in (plain drawing mode hands it down).
  auto* g = kv::New<Core::Group>();
  g->OnSetBounds({0, 0, 100, 100});
  root->Remove(img);
  g->Add(img);
  g->OnSetDrawMode(Core::DrawMode::kPlain);
  g->OnSetOpacity(128);
  root->Add(g);
  driver.Pass();
  EXPECT_EQ(Pixel(15, 15), ge::MulPixel(kRed, ge::Mul8(128, 128)));
  img->OnSetOpacity(0);
  driver.Pass();
  EXPECT_EQ(Pixel(15, 15), 0u);
  img->OnSetOpacity(300);  // logged, clamped
  EXPECT_EQ(img->OnGetOpacity(), 255);
}

TEST_F(ImageTest, AutoSizeTakesTheFrameSize) {
  auto* img = Add<Views::Image>({30, 40, 31, 41});
  img->OnSetAutoSize(true);
  img->OnSetBitmap(NewBitmap(12, 7, 3));
  EXPECT_EQ(img->Bounds(), (kv::Rect{30, 40, 42, 47}));
  img->OnSetBounds({0, 0, 500, 500});
  EXPECT_EQ(img->Bounds(), (kv::Rect{0, 0, 12, 7}));
  // A bitmap that changes size and tells its observers resizes the image.
  img->OnGetBitmap()->OnSetNoOfFrames(1);
  img->OnGetBitmap()->OnSetSize({20, 10});
  kv::NotifyObjObservers(img->OnGetBitmap());
  EXPECT_EQ(img->Bounds(), (kv::Rect{0, 0, 20, 10}));
}

TEST_F(ImageTest, FrameAnimationStepsOnTheClockAndEndsOnItsLastFrame) {
  auto* img = Add<Views::Image>({0, 0, 4, 4});
  img->OnSetBitmap(NewBitmap(4, 4, 4));
  kv::Persistent<Finish> done = kv::New<Finish>();
  img->OnFinished = kv::MakeSlot(done.get(), &Finish::OnFinished);
  img->OnSetFrameNumber(2);
  driver.Pass();
  EXPECT_EQ(Pixel(1, 1), Code(2, 1, 1));

  img->Activate();  // back to the first frame, then one frame every 100 ms
  EXPECT_TRUE(img->OnGetAnimated());
  driver.Pass();
  EXPECT_EQ(Pixel(1, 1), Code(0, 1, 1));
  for (int32_t f = 1; f <= 3; ++f) {
    driver.Pass(99);
    EXPECT_EQ(img->OnGetFrameNumber(), f - 1);
    driver.Pass(1);
    EXPECT_EQ(img->OnGetFrameNumber(), f);
    EXPECT_EQ(Pixel(1, 1), Code(f, 1, 1));
  }
  EXPECT_EQ(done->count, 1);
  EXPECT_FALSE(img->OnGetAnimated());
  driver.RunFor(500);
  EXPECT_EQ(img->OnGetFrameNumber(), 3);
  EXPECT_EQ(done->count, 1);

  // Endless over a range: 1, 2, back to 1, without finishing.
  img->OnSetEndless(true);
  img->OnSetStartFrame(1);
  img->OnSetEndFrame(2);
  img->OnSetFrameDelay(50);
  img->Activate();
  EXPECT_EQ(img->OnGetFrameNumber(), 1);
  driver.Pass(50);
  EXPECT_EQ(img->OnGetFrameNumber(), 2);
  driver.Pass(50);
  EXPECT_EQ(img->OnGetFrameNumber(), 1);
  driver.Pass(50);
  EXPECT_EQ(img->OnGetFrameNumber(), 2);
  // Stopping keeps the frame; a backwards range runs down.
  img->OnSetAnimated(false);
  driver.RunFor(200);
  EXPECT_EQ(img->OnGetFrameNumber(), 2);
  img->OnSetEndless(false);
  img->OnSetStartFrame(3);
  img->OnSetEndFrame(0);
  img->Activate();
  driver.RunFor(300, 50);
  EXPECT_EQ(img->OnGetFrameNumber(), 0);
  EXPECT_EQ(done->count, 2);
}

TEST_F(ImageTest, ImageListShowsTheChosenImageOfTheStrip) {
  auto* list = Add<Views::ImageList>({200, 200, 223, 210});
  Resources::Bitmap* strip = NewBitmap(6 * 23, 10);
  list->OnSetBitmap(strip);
  list->OnSetImageSize(23);
  list->OnSetImageNumber(6);
  list->OnSetImageIndex(4);
  driver.Pass();
  EXPECT_EQ(Pixel(200, 200), Code(0, 4 * 23, 0));
  EXPECT_EQ(Pixel(222, 209), Code(0, 4 * 23 + 22, 9));
  list->OnSetImageIndex(9);  // past the end: the last image
  driver.Pass();
  EXPECT_EQ(Pixel(200, 200), Code(0, 5 * 23, 0));
  list->OnSetImageNumber(0);
  driver.Pass();
  EXPECT_EQ(Pixel(200, 200), 0u);
}

TEST_F(ImageTest, FrameKeepsItsCornersAndStretchesTheRest) {
  // A 40 x 40 bitmap with frame width 16: each corner is a 16 x 16 square.
  auto* frame = Add<Views::Frame>({100, 100, 400, 300});
  Resources::Bitmap* b = NewBitmap(40, 40);
  frame->OnSetBitmap(b);
  EXPECT_EQ(frame->OnGetFrameWidth(), Views::Frame::kDefaultFrameWidth);
  driver.Pass();
  for (int32_t y = 0; y < 16; ++y) {
    for (int32_t x = 0; x < 16; ++x) {
      ASSERT_EQ(Pixel(100 + x, 100 + y), Code(0, x, y));
      ASSERT_EQ(Pixel(384 + x, 100 + y), Code(0, 24 + x, y));
      ASSERT_EQ(Pixel(100 + x, 284 + y), Code(0, x, 24 + y));
      ASSERT_EQ(Pixel(384 + x, 284 + y), Code(0, 24 + x, 24 + y));
    }
  }
  // Edges stretch along their length only; the middle fills the rest.
  EXPECT_EQ(Pixel(116, 100) & 0xff, 16u);
  EXPECT_EQ(Pixel(383, 100) & 0xff, 23u);
  EXPECT_EQ(Pixel(250, 105), Code(0, 20, 5));
  EXPECT_EQ(Pixel(105, 200), Code(0, 5, 20));
  EXPECT_EQ(Pixel(250, 200), Code(0, 20, 20));

  // Wider borders; a frame smaller than two borders keeps half each.
  frame->OnSetFrameWidth(34);
  frame->OnSetBounds({100, 100, 130, 120});
  driver.Pass();
  auto sx = [this](int32_t x, int32_t y) { return static_cast<int32_t>(Pixel(x, y) & 0xff); };
  auto sy = [this](int32_t x, int32_t y) { return static_cast<int32_t>((Pixel(x, y) >> 8) & 0xff); };
  EXPECT_EQ(Pixel(100, 100), Code(0, 0, 0));
  EXPECT_LT(sx(114, 109), 20);  // top-left corner up to the middle
  EXPECT_LT(sy(114, 109), 20);
  EXPECT_GE(sx(115, 110), 20);  // bottom-right corner from there
  EXPECT_GE(sy(115, 110), 20);
  EXPECT_EQ(sx(129, 119), 39);
  // Frame opacity.
  frame->OnSetOpacity(0);
  driver.Pass();
  EXPECT_EQ(Pixel(110, 110), 0u);
}

TEST_F(ImageTest, RectangleBorderAndLinePixels) {
  auto* rect = Add<Views::Rectangle>({10, 10, 30, 30});
  rect->OnSetColor(kv::Color::FromWord(kBlue));
  auto* shade = Add<Views::Rectangle>({20, 20, 40, 40});
  shade->OnSetColor({0, 0, 0, 128});
  auto* border = Add<Views::Border>({100, 100, 120, 110});
  border->OnSetColor(kv::Color::FromWord(kGreen));
  border->OnSetWidth(2);
  auto* cursor = Add<Views::Line>({200, 10, 202, 36});
  cursor->OnSetColor(Colors::White);
  auto* diagonal = Add<Views::Line>({});
  diagonal->OnSetColor(Colors::White);
  diagonal->OnSetPoints({310, 10}, {300, 20});
  driver.Pass();

  EXPECT_EQ(Pixel(15, 15), kBlue);
  EXPECT_EQ(Pixel(25, 25), ge::Over(0x80000000u, kBlue));  // translucent black shades
  EXPECT_EQ(Pixel(35, 35), 0x80000000u);

  EXPECT_EQ(Pixel(100, 100), kGreen);
  EXPECT_EQ(Pixel(101, 105), kGreen);
  EXPECT_EQ(Pixel(119, 109), kGreen);
  EXPECT_EQ(Pixel(102, 102), 0u);  // inside the border
  EXPECT_EQ(Pixel(117, 107), 0u);

  EXPECT_EQ(Pixel(200, 10), kWhite);  // the thin rectangle: 2 x 26
  EXPECT_EQ(Pixel(201, 35), kWhite);
  EXPECT_EQ(Pixel(202, 20), 0u);

  EXPECT_EQ(diagonal->Bounds(), (kv::Rect{300, 10, 311, 21}));
  for (int32_t i = 0; i <= 10; ++i) EXPECT_EQ(Pixel(310 - i, 10 + i), kWhite) << i;
  EXPECT_EQ(Pixel(300, 10), 0u);
}

}  // namespace
