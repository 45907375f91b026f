// Drawing through the root: only dirty areas are cleared and redrawn, back to
// front and clipped; invalidation by setters, bounds, visibility, stacking;
// dirty-rectangle merging; group opacity.
#include <gtest/gtest.h>

#include "core_test_support.h"
#include "platform/display/surface.h"
#include "units/Media/DataItems.h"
#include "units/Views/Image.h"
#include "units/Views/Rectangle.h"

namespace coretest {
namespace {

constexpr uint32_t kRed = 0xff0000ffu;    // opaque, straight = premultiplied
constexpr uint32_t kBlue = 0xffff0000u;
constexpr uint32_t kGreen = 0xff00ff00u;

class DrawTest : public ViewTest {
 protected:
  FillView* NewFill(Core::Group* owner, kv::Rect bounds, uint32_t color) {
    auto* v = kv::New<FillView>();
    v->color = color;
    v->OnSetBounds(bounds);
    owner->Add(v);
    return v;
  }
};

TEST_F(DrawTest, OnlyTheChangedAreaIsClearedAndRedrawn) {
  FillView* a = NewFill(root, {0, 0, 100, 100}, kRed);
  FillView* b = NewFill(root, {50, 50, 150, 150}, kBlue);  // overlaps a
  FillView* c = NewFill(root, {500, 300, 600, 400}, kGreen);
  driver.Pass();
  // a is drawn for its own rectangle and again for b's, where they overlap.
  EXPECT_EQ(a->drawn, 100 * 100 + 50 * 50);
  EXPECT_EQ(Pixel(75, 75), kBlue);  // b is in front
  EXPECT_EQ(Pixel(25, 25), kRed);

  a->drawn = b->drawn = c->drawn = 0;
  c->SetColor(kRed);
  driver.Pass();
  EXPECT_EQ(c->drawn, 100 * 100);
  EXPECT_EQ(a->drawn + b->drawn, 0);
  EXPECT_EQ(Pixel(550, 350), kRed);
  ASSERT_EQ(flipped.size(), 1u);
  EXPECT_EQ(flipped[0], (kv::Rect{500, 300, 600, 400}));

  // Redrawing b draws the overlapped part of a behind it first.
  c->drawn = 0;
  b->SetColor(kGreen);
  driver.Pass();
  EXPECT_EQ(b->drawn, 100 * 100);
  EXPECT_EQ(a->drawn, 50 * 50);
  EXPECT_EQ(c->drawn, 0);
  EXPECT_EQ(Pixel(75, 75), kGreen);

  // A pass with nothing dirty draws and flips nothing.
  a->drawn = b->drawn = 0;
  flipped.clear();
  driver.Pass();
  EXPECT_EQ(a->drawn + b->drawn + c->drawn, 0);
  EXPECT_TRUE(flipped.empty());
}

TEST_F(DrawTest, BoundsVisibilityStackingAndRemovalRedrawTheirAreas) {
  FillView* a = NewFill(root, {0, 0, 100, 100}, kRed);
  FillView* b = NewFill(root, {50, 50, 150, 150}, kBlue);
  driver.Pass();

  a->OnSetBounds({300, 0, 400, 100});
  driver.Pass();
  EXPECT_EQ(Pixel(10, 10), 0u);  // the old place is cleared
  EXPECT_EQ(Pixel(310, 10), kRed);

  a->OnSetBounds({0, 0, 100, 100});
  root->RestackTop(a);
  driver.Pass();
  EXPECT_EQ(Pixel(75, 75), kRed);
  root->Restack(a, -1);
  driver.Pass();
  EXPECT_EQ(Pixel(75, 75), kBlue);

  b->OnSetVisible(false);
  driver.Pass();
  EXPECT_EQ(Pixel(75, 75), kRed);
  EXPECT_EQ(Pixel(120, 120), 0u);
  b->OnSetVisible(true);
  driver.Pass();
  EXPECT_EQ(Pixel(120, 120), kBlue);

  root->Remove(b);
  driver.Pass();
  EXPECT_EQ(Pixel(120, 120), 0u);
  EXPECT_EQ(Pixel(75, 75), kRed);

  // A view that is not on screen invalidates nothing.
  auto* offscreen = kv::New<Core::Group>();
  FillView* d = NewFill(offscreen, {0, 0, 10, 10}, kRed);
  d->SetColor(kBlue);
  d->OnSetBounds({5, 5, 20, 20});
  offscreen->OnSetBounds({1, 1, 100, 100});
  EXPECT_EQ(root->GetDirtyCount(), 0);
  root->Add(offscreen);
  EXPECT_EQ(root->GetDirtyCount(), 1);
}

TEST_F(DrawTest, ChildrenAreClippedToTheirGroup) {
  auto* group = kv::New<Core::Group>();
  group->OnSetBounds({100, 100, 200, 200});
  root->Add(group);
  FillView* child = NewFill(group, {50, 50, 150, 150}, kRed);  // half outside
  driver.Pass();
  EXPECT_EQ(child->drawn, 50 * 50);
  EXPECT_EQ(Pixel(199, 199), kRed);
  EXPECT_EQ(Pixel(200, 200), 0u);
  EXPECT_EQ(child->GetAbsoluteBounds(), (kv::Rect{150, 150, 250, 250}));

  // Invalidating a part of a view redraws only that part.
  child->drawn = 0;
  child->InvalidateArea({0, 0, 10, 10});
  driver.Pass();
  EXPECT_EQ(child->drawn, 10 * 10);
}

TEST_F(DrawTest, AtMostSixteenDirtyRectanglesCoverEveryInvalidatedArea) {
  std::vector<FillView*> views;
  for (int i = 0; i < 20; ++i)
    views.push_back(NewFill(root, {i * 45, (i % 4) * 120, i * 45 + 20, (i % 4) * 120 + 20}, kRed));
  driver.Pass();
  for (FillView* v : views) v->SetColor(kGreen);
  EXPECT_EQ(root->GetDirtyCount(), Core::Root::kMaxDirty);
  for (FillView* v : views) {
    bool covered = false;
    for (int i = 0; i < root->GetDirtyCount(); ++i) covered |= root->GetDirtyRects()[i].Contains(v->Bounds());
    EXPECT_TRUE(covered);
  }
  driver.Pass();
  for (FillView* v : views) EXPECT_EQ(Pixel(v->Bounds().x1, v->Bounds().y1), kGreen);

  // A rectangle inside one already dirty adds nothing; one that holds
  // others replaces them.
  root->AddDirty({10, 10, 20, 20});
  root->AddDirty({30, 30, 40, 40});
  root->AddDirty({0, 0, 200, 200});
  root->AddDirty({50, 50, 60, 60});
  EXPECT_EQ(root->GetDirtyCount(), 1);
}

TEST_F(DrawTest, AGroupBelowFullOpacityIsBlendedAsAWhole) {
  auto* group = kv::New<Core::Group>();
  group->OnSetBounds({0, 0, 200, 100});
  root->Add(group);
  NewFill(group, {0, 0, 100, 100}, kRed);
  NewFill(group, {50, 0, 150, 100}, kBlue);
  group->OnSetOpacity(128);
  driver.Pass();
  // Blended: the overlap shows only the front child, at half opacity.
  EXPECT_EQ(Pixel(75, 50), 0x80800000u);
  EXPECT_EQ(Pixel(25, 50), 0x80000080u);
  EXPECT_EQ(Pixel(175, 50), 0u);

  // Plain: each child is drawn at half opacity, so red shows through blue.
  group->OnSetDrawMode(Core::DrawMode::kPlain);
  driver.Pass();
  const uint32_t p = Pixel(75, 50);
  EXPECT_GT(p & 0xffu, 0u);
  EXPECT_GT(p >> 24, 0x80u);
  EXPECT_EQ(Pixel(25, 50), 0x80000080u);

  group->OnSetOpacity(0);
  driver.Pass();
  EXPECT_EQ(Pixel(75, 50), 0u);
  group->OnSetOpacity(300);  // clamped
  EXPECT_EQ(group->OnGetOpacity(), 255);
  driver.Pass();
  EXPECT_EQ(Pixel(75, 50), kBlue);
}

// Beneath an opaque rectangle the screen is not cleared before drawing
// (nothing there can show), but everywhere else it is: under a rectangle
// seen through its group or through its own colour, where a rectangle moved
// away from, and where one was hidden in the pass that the view it covered
// went.
TEST_F(DrawTest, OnlyWhatAnOpaqueRectanglePaintsIsLeftUncleared) {
  const auto rect = [](Core::Group* owner, kv::Rect bounds, kv::Color colour) {
    auto* r = kv::New<Views::Rectangle>();
    r->OnSetBounds(bounds);
    r->OnSetColor(colour);
    owner->Add(r);
    return r;
  };
  const kv::Color blue{0, 0, 255, 255};
  FillView* under = NewFill(root, {0, 0, 100, 100}, kRed);
  driver.Pass();
  auto* group = kv::New<Core::Group>();
  group->OnSetBounds({0, 0, 100, 100});
  group->OnSetOpacity(128);
  root->Add(group);
  rect(group, {0, 0, 100, 100}, blue);
  root->Remove(under);
  driver.Pass();
  EXPECT_EQ(Pixel(50, 50), 0x80800000u) << "half the blue over nothing";
  root->Remove(group);
  driver.Pass();
  EXPECT_EQ(Pixel(50, 50), 0u);

  under = NewFill(root, {0, 0, 100, 100}, kRed);
  driver.Pass();
  Views::Rectangle* glass = rect(root, {0, 0, 100, 100}, {0, 0, 255, 128});
  root->Remove(under);
  driver.Pass();
  EXPECT_EQ(Pixel(50, 50) & 0xffu, 0u) << "no red left under the see-through colour";
  EXPECT_GT(Pixel(50, 50) >> 24, 0u);
  root->Remove(glass);

  Views::Rectangle* card = rect(root, {0, 0, 100, 100}, blue);
  driver.Pass();
  EXPECT_EQ(Pixel(25, 50), kBlue);
  card->OnSetBounds({50, 0, 150, 100});
  driver.Pass();
  EXPECT_EQ(Pixel(25, 50), 0u) << "the place it left";
  EXPECT_EQ(Pixel(125, 50), kBlue);

  under = NewFill(root, {50, 0, 150, 100}, kRed);
  root->RestackTop(card);
  driver.Pass();
  EXPECT_EQ(Pixel(100, 50), kBlue);
  card->OnSetVisible(false);
  root->Remove(under);
  driver.Pass();
  EXPECT_EQ(Pixel(100, 50), 0u) << "hidden with what it covered";
}

// A picture canvas the service has just covered with an opaque picture is
// copied; once anything else draws into it, it is blended again, so its
// see-through pixels show what lies beneath.
TEST_F(DrawTest, AnImageCopiesOnlyAPictureKnownOpaque) {
  NewFill(root, {0, 0, 100, 100}, kRed);
  auto* canvas = kv::New<Media::ServiceCanvas>();
  canvas->Allocate(100, 100);
  auto* image = kv::New<Views::Image>();
  image->OnSetBounds({0, 0, 100, 100});
  image->OnSetBitmap(canvas);
  root->Add(image);
  const auto redraw = [&] {
    image->InvalidateView();
    driver.Pass();
  };
  // As the service lays a decoded picture: opaque in every pixel.
  canvas->PictureSurface()->Clear(kBlue);
  redraw();
  EXPECT_EQ(Pixel(25, 50), kBlue);

  const kv::Rect left{0, 0, 50, 100};
  canvas->DrawRectangle(left, left, kv::Color{0}, false);
  redraw();
  EXPECT_EQ(Pixel(25, 50), kRed) << "cleared by the canvas: see-through again";
  EXPECT_EQ(Pixel(75, 50), kBlue);

  canvas->PictureSurface()->Clear(kBlue);
  redraw();
  EXPECT_EQ(Pixel(25, 50), kBlue);
  canvas->ServiceSurface()->Clear(0);  // as a thumbnail or a turn may leave it
  redraw();
  EXPECT_EQ(Pixel(25, 50), kRed) << "drawn by the service outside a picture";

  canvas->PictureSurface()->Clear(kBlue);
  image->OnSetOpacity(128);
  driver.Pass();
  EXPECT_NEAR(static_cast<double>(Pixel(25, 50) & 0xffu), 127.0, 1.0) << "half the red under half the picture";
}

// A picture known opaque, drawn at its own size, hides what lies beneath it
// in its group and below: that is not drawn. What is above it, beside it,
// or beneath it while it is smaller than its view, hidden or seen through
// still shows.
TEST_F(DrawTest, WhatAnOpaquePictureHidesIsNotDrawnAndAllElseShows) {
  constexpr uint32_t kYellow = 0xff00ffffu;
  const auto green = [&](int32_t x, int32_t y) { return (Pixel(x, y) >> 8) & 0xffu; };
  NewFill(root, {0, 0, 200, 100}, kRed);
  auto* screen = kv::New<Core::Group>();
  screen->OnSetBounds({0, 0, 200, 100});
  root->Add(screen);
  NewFill(screen, {0, 0, 100, 100}, kYellow);
  auto* canvas = kv::New<Media::ServiceCanvas>();
  const auto picture = [&](int32_t size) {
    canvas->Allocate(size, size);
    canvas->PictureSurface()->Clear(kBlue);
  };
  picture(100);
  auto* image = kv::New<Views::Image>();
  image->OnSetBounds({0, 0, 100, 100});
  image->OnSetBitmap(canvas);
  screen->Add(image);
  NewFill(screen, {40, 40, 60, 60}, kGreen);
  driver.Pass();
  EXPECT_EQ(Pixel(25, 25), kBlue);
  EXPECT_EQ(Pixel(50, 50), kGreen);
  EXPECT_EQ(Pixel(150, 50), kRed) << "beside the picture";

  image->InvalidateView();  // the picture's area alone: what it hides is not drawn
  driver.Pass();
  EXPECT_EQ(Pixel(25, 25), kBlue);
  EXPECT_EQ(Pixel(50, 50), kGreen) << "above the picture";

  picture(50);
  image->OnSetAlignH(1);
  image->OnSetAlignV(1);
  driver.Pass();
  EXPECT_EQ(Pixel(10, 10), kYellow) << "around the centred smaller picture";
  EXPECT_EQ(Pixel(30, 30), kBlue);

  picture(100);
  image->OnSetAlignH(3);
  image->OnSetAlignV(3);
  screen->OnSetDrawMode(Core::DrawMode::kPlain);
  screen->OnSetOpacity(128);
  driver.Pass();
  image->InvalidateView();
  driver.Pass();
  EXPECT_GT(green(25, 25), 32u) << "the yellow seen through the half-seen group";

  screen->OnSetOpacity(255);
  driver.Pass();
  image->OnSetOpacity(128);
  driver.Pass();
  EXPECT_GT(green(25, 25), 64u) << "the yellow under the half-seen picture";

  image->OnSetOpacity(255);
  image->OnSetVisible(false);
  driver.Pass();
  EXPECT_EQ(Pixel(25, 25), kYellow) << "under the hidden picture";
}

TEST_F(DrawTest, TheRootReportsShownScreensAndALanguageChangeRedrawsAll) {
  EXPECT_FALSE(root->IsScreenShown());
  FillView* a = NewFill(root, {0, 0, 10, 10}, kRed);
  EXPECT_TRUE(root->IsScreenShown());
  a->OnSetVisible(false);
  EXPECT_FALSE(root->IsScreenShown());
  driver.Pass();
  root->ReInit();
  EXPECT_EQ(root->GetDirtyCount(), 1);
  EXPECT_EQ(root->GetDirtyRects()[0], (kv::Rect{0, 0, 960, 540}));
}

}  // namespace
}  // namespace coretest
