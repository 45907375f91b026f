// The list model, the playback overlay, the picture views and the media
// error event: their edge cases, on the running application.
#include <gtest/gtest.h>

#include <string>

#include "media_fixture.h"
#include "runtime/ref.h"
#include "runtime/slot.h"
#include "units/Core/Event.h"
#include "units/ListWidgets/DataSource.h"
#include "units/Media/DataSources.h"
#include "units/Media/PictureViews.h"
#include "units/MessageDialogs/MessageDialogs.h"
#include "units/Overlay/PlaybackInfo.h"
#include "units/Overlay/Player.h"

namespace listtest {
namespace {

using ListWidgets::DataItem;
using ListWidgets::DataSource;

class MediaModelTest : public MediaTest {
 protected:
  // An editable source of `n` items with UIDs 0 .. n-1.
  DataSource* Chain(int n) {
    auto* s = kv::New<DataSource>();
    s->Type = 1;
    for (int i = 0; i < n; ++i) {
      auto* item = kv::New<DataItem>();
      item->UID = i;
      s->Insert(item, false, s->OnGetLast());
    }
    return s;
  }
  kv::Object* Key(Overlay::Player* p, uint16_t code, bool down = true) {
    auto* k = kv::New<Core::KeyEvent>();
    k->Initialize(code, down ? 1 : 0);
    return p->HandleEvent(k);
  }
};

class Counter : public kv::Object {
  KV_CLASS(listtest, Counter, kv::Object)
 public:
  void Hit(kv::Object*) { ++hits; }
  int hits = 0;
};
KV_REGISTER_CLASS(listtest::Counter);

TEST_F(MediaModelTest, TheListModelCountsMovesTheCursorAndLinks) {
  auto* empty = kv::New<DataSource>();
  EXPECT_EQ(empty->OnGetCount(), 0);
  EXPECT_EQ(empty->OnGetCurrent(), nullptr);
  EXPECT_EQ(empty->OnGetCursor(), 0);
  EXPECT_EQ(empty->GetItemAtRelative(3), nullptr);

  DataSource* s = Chain(5);
  kv::Persistent<DataSource> keep(s);
  EXPECT_EQ(s->OnGetCount(), 5);
  s->OnSetCursor(4);
  EXPECT_EQ(s->MoveCursor(1, 1), 1);
  EXPECT_EQ(s->OnGetCursor(), 0);
  EXPECT_EQ(s->MoveCursor(-1, 1), -1);
  EXPECT_EQ(s->OnGetCursor(), 4);
  s->MoveCursor(-1, 2);
  EXPECT_EQ(s->OnGetCursor(), 4);
  // A cursor of -1 with a current item follows the item.
  s->OnSetCurrent(s->GetItemAtAbsolute(2));
  s->Cursor = -1;
  EXPECT_EQ(s->OnGetCursor(), 2);

  // Insert into the middle: the next item's Prev changes only at the next build.
  DataItem* one = s->GetItemAtAbsolute(1);
  DataItem* two = s->GetItemAtAbsolute(2);
  auto* mid = kv::New<DataItem>();
  mid->UID = 10;
  s->Insert(mid, false, one);
  EXPECT_EQ(two->Prev.get(), one);
  EXPECT_EQ(s->OnGetCount(), 6);
  EXPECT_EQ(two->Prev.get(), mid);

  // Removing the current item leaves none; the next read answers the first.
  s->OnSetCurrent(mid);
  s->Remove(mid);
  EXPECT_EQ(s->Current.get(), nullptr);
  EXPECT_EQ(s->OnGetCurrent(), s->GetItemAtAbsolute(0));

  // Observers hear a change.
  auto* counter = kv::New<Counter>();
  kv::Persistent<Counter> keepCounter(counter);
  kv::AttachObjObserver(kv::MakeSlot(counter, &Counter::Hit), s);
  s->OnSetChanged(true);
  EXPECT_EQ(counter->hits, 1);
}

TEST_F(MediaModelTest, InAnIndexedSourceItemsOfOneUidAreTheSame) {
  WriteStick("S", {"a.jpg", "b.jpg"});
  Plug("S");
  Browse(0, Media::MEDIA_TYPE_PICTURE);
  Media::ContainerDataSource* folder = Bridge()->GetCurrentSource();
  ASSERT_NE(folder, nullptr);
  auto* a = kv::New<Media::PictureDataItem>();
  a->UID = 1;
  a->group = folder;
  folder->OnSetCurrent(folder->GetItemAtAbsolute(1));
  EXPECT_TRUE(a->IsSelected());
  EXPECT_EQ(folder->GetNext(folder->GetItemAtAbsolute(0))->UID, 1);
  // A page index out of range answers null (logged), no halt.
  EXPECT_EQ(folder->GetItemAtAbsolute(7), nullptr);
  EXPECT_EQ(folder->GetItemAtAbsolute(-1), nullptr);
  // A medium holding only pictures shows only the picture entry in its top list.
  auto* top = kv::New<Media::MediaTopDataSource>();
  kv::Persistent<Media::MediaTopDataSource> keep(top);
  top->Parent = Bridge()->Sources().GetItemAtAbsolute(0);
  EXPECT_EQ(top->OnGetCount(), 1);
  EXPECT_EQ(top->GetItemAtAbsolute(0)->UID, 2);
  // SetPictureInfo without metadata stores the size in the item only.
  auto* p = kv::New<Media::PictureDataItem>();
  p->SetPictureInfo(1, 40, 30);
  EXPECT_EQ(p->Width, 40);
  EXPECT_EQ(p->Metadata.get(), nullptr);
  // A root class naming its own source class keeps it; else the source's.
  auto* roots = kv::New<Media::MediumTopDataSource>();
  roots->ItemDataSourceClass = &Media::MusicContainerDataSource::StaticClass();
  Media::RootDataItem* usb = roots->CreateRoot(&Media::UsbRootDataItem::StaticClass(), {}, {}, 0, 1, false, {});
  EXPECT_EQ(usb->DataSourceClass, &Media::MediaTopDataSource::StaticClass());
  auto* plain = kv::New<Media::RootDataSource>();
  plain->ItemDataSourceClass = &Media::MusicContainerDataSource::StaticClass();
  Media::RootDataItem* pl = plain->CreateRoot(&Media::PlaylistRootDataItem::StaticClass(), {}, {}, 0, 1, false, {});
  EXPECT_EQ(pl->DataSourceClass, &Media::MusicContainerDataSource::StaticClass());
}

TEST_F(MediaModelTest, ThePlayerStepsSpeedsAndPassesPowerOn) {
  auto* p = kv::New<Overlay::Player>();
  kv::Persistent<Overlay::Player> keep(p);
  EXPECT_EQ(p->State, 7);
  for (int expect : {1, 2, 3, 0}) {
    EXPECT_EQ(Key(p, 55), p);
    EXPECT_EQ(p->Speed, expect);
  }
  p->Speed = -2;
  Key(p, 55);
  EXPECT_EQ(p->Speed, 0);
  Key(p, 54);
  EXPECT_EQ(p->Speed, -1);
  Key(p, 57);
  EXPECT_EQ(p->Speed, 0);
  Key(p, 57);
  EXPECT_EQ(p->Speed, 4);
  Key(p, 51);
  EXPECT_EQ(p->State, 2);
  Key(p, 50);
  EXPECT_EQ(p->State, 1);
  EXPECT_EQ(p->Speed, 0);
  EXPECT_EQ(Key(p, 80), nullptr);  // power stops the player and goes on
  EXPECT_EQ(p->State, 7);
  EXPECT_EQ(Key(p, 4), p);
  EXPECT_EQ(Key(p, 20), nullptr);
  EXPECT_EQ(Key(p, 104), nullptr);
  EXPECT_EQ(Key(p, 53, false), nullptr);

  auto* info = kv::New<Overlay::PlaybackInfo>();
  EXPECT_EQ(info->GetProgress(), 0u);
  info->Record.duration = 60;
  info->Record.elapsed = 60;
  EXPECT_EQ(info->GetProgress(), 0u);
  info->Record.elapsed = 59;
  EXPECT_EQ(info->GetProgress(), 98u);
  EXPECT_EQ(info->FormatTime(3725).ToUtf8(), "01:02:05");
  EXPECT_EQ(info->FormatTime(360000).ToUtf8(), "100:00:00");
}

TEST_F(MediaModelTest, PictureViewsLoadOnceAndDrawNothingAtOpacityZero) {
  WriteStick("W", {"w.jpg"});
  Plug("W");
  const kv::String file = kv::String::FromUtf8(StickDir("W") + "/w.jpg");
  auto* empty = kv::New<Media::ExternalBitmap>();
  kv::Persistent<Media::ExternalBitmap> keepEmpty(empty);
  ClearCallLog();
  empty->OnSetFileName(file);  // 0 x 0: the service is not asked
  EXPECT_TRUE(Calls("PslGuiDecodeImage").empty());
  auto* b = kv::New<Media::ExternalBitmap>();
  kv::Persistent<Media::ExternalBitmap> keep(b);
  b->OnSetSize(kv::Point{32, 24});
  b->OnSetFileName(file);
  b->OnSetFileName(file);
  EXPECT_EQ(Calls("PslGuiDecodeImage").size(), 1u);
  EXPECT_EQ(b->PictureWidth, 32);  // the size drawn, as the service answers it
  EXPECT_NE(b->GetSurface().Row(12)[16] >> 24, 0u);  // the picture is drawn
  auto* dot = kv::New<Media::ExternalBitmap>();  // the smallest bitmap still takes the picture
  kv::Persistent<Media::ExternalBitmap> keepDot(dot);
  dot->OnSetSize(kv::Point{1, 1});
  dot->OnSetFileName(file);
  EXPECT_EQ(Calls("PslGuiDecodeImage").size(), 2u);
  EXPECT_NE(dot->GetSurface().Row(0)[0] >> 24, 0u);

  auto* c = kv::New<Media::ScalingCanvas>();
  kv::Persistent<Media::ScalingCanvas> keepC(c);
  c->OnSetSize(kv::Point{16, 16});
  const uint32_t before = c->GetSurface().Row(8)[8];
  c->DrawScaledBitmap({0, 0, 16, 16}, {0, 0, 16, 16}, {0, 0, 32, 24}, b, 1, 0);
  EXPECT_EQ(c->GetSurface().Row(8)[8], before);
  c->DrawScaledBitmap({0, 0, 16, 16}, {0, 0, 16, 16}, {0, 0, 32, 24}, b, 0, 255);
  EXPECT_NE(c->GetSurface().Row(8)[8], before);

  auto* image = kv::New<Media::ScalableImage>();
  kv::Persistent<Media::ScalableImage> keepI(image);
  image->OnSetFrameNumber(2);
  EXPECT_TRUE(Logged("frame 2 refused"));
}

TEST_F(MediaModelTest, AMediaErrorEventReachesNoScreen) {
  auto* e = kv::New<MessageDialogs::MediaEvent>()->Initialize(
      &MessageDialogs::MediaNotSuppAudioCodecDialog::StaticClass(), 3, 4, kv::String::FromUtf8("codec"));
  EXPECT_EQ(e->OnGetCode(), 3);
  EXPECT_EQ(e->OnGetString0().ToUtf8(), "codec");
  EXPECT_NE(kv::CastClass(e->OnGetType(), &MessageDialogs::MediaDialog::StaticClass()), nullptr);
  EXPECT_EQ(Dispatch(e), nullptr);
}

}  // namespace
}  // namespace listtest
