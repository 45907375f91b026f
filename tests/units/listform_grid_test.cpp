// The photo grid in a small screen that plays the photo browser (it comes
// later), over the media bridge's folder: pages of 4 x 7 cells, wrap,
// page keys and thumbnails.
#include <gtest/gtest.h>

#include <string>

#include "media_fixture.h"
#include "units/Media/DataItems.h"
#include "units/Bitmaps/ListBitmaps.h"
#include "units/Core/Event.h"
#include "units/ListForm/GridView.h"
#include "units/Media/MediaWrapper.h"
#include "units/WinIDs/WinIDs.h"

namespace listtest {
namespace {

using namespace ListForm;

class GridTest : public MediaTest {
 protected:
  // `folders` folders, then `photos` photos on a stick, browsed and shown in the grid.
  PhotoGridView* OpenGrid(int photos, int folders = 0) {
    std::vector<std::string> names;
    for (int i = 0; i < folders; ++i) names.push_back("Folder " + std::to_string(i) + "/");
    WriteStick("Grid", names);
    if (photos > 0) ManyPictures("Grid", photos);
    std::filesystem::create_directories(StickDir("Grid"));
    Plug("Grid");
    Browse(0, Media::MEDIA_TYPE_PICTURE);
    auto* form = kv::New<Primitives::KeyRoutingForm>();
    form->WinID = WinIDs::WIN_ID_PhotoMultiView;
    return Open(kv::New<PhotoGridView>(), {0, 0, 930, 400}, 0, 0, {10, 60, 950, 470}, form);
  }
  static int32_t Cell(PhotoGridView* g) { return g->GetFocusPosition(); }
};

TEST_F(GridTest, TwentyEightPhotosAreOnePageThatWraps) {
  auto* g = OpenGrid(28);
  EXPECT_EQ(g->PageCount, 1);
  EXPECT_EQ(g->GetRows().size(), 28u);
  EXPECT_FALSE(g->IsLeftArrowShown());
  EXPECT_FALSE(g->IsRightArrowShown());
  Press("right", 27);
  EXPECT_EQ(Cell(g), 27);
  EXPECT_EQ(g->DataSource->Cursor, 27);
  Press("down");  // the bottom row: nothing
  EXPECT_EQ(Cell(g), 27);
  Press("right");  // wraps to the first cell
  EXPECT_EQ(Cell(g), 0);
  EXPECT_EQ(g->DataSource->Cursor, 0);
  Press("left");
  EXPECT_EQ(Cell(g), 27);
  Press("up");
  EXPECT_EQ(Cell(g), 20);
  EXPECT_EQ(g->DataSource->Cursor, 20);
}

TEST_F(GridTest, TwentyNinePhotosTurnToASecondPageAndBack) {
  auto* g = OpenGrid(29);
  EXPECT_EQ(g->PageCount, 2);
  EXPECT_FALSE(g->IsLeftArrowShown());
  EXPECT_TRUE(g->IsRightArrowShown());
  Press("right", 28);  // past cell 28: page 2 with one cell
  EXPECT_EQ(g->PageIndex, 1);
  EXPECT_EQ(g->GetRows().size(), 1u);
  EXPECT_EQ(Cell(g), 0);
  EXPECT_EQ(g->DataSource->Cursor, 28);
  EXPECT_EQ(kv::Cast<PhotoGridItem>(g->GetRows()[0])->ItemIndex, 28);
  EXPECT_TRUE(g->IsLeftArrowShown());
  EXPECT_FALSE(g->IsRightArrowShown());
  Press("left");  // back to page 1, on its last cell
  EXPECT_EQ(g->PageIndex, 0);
  EXPECT_EQ(Cell(g), 27);
  EXPECT_EQ(g->DataSource->Cursor, 27);
  Press("right");
  EXPECT_EQ(g->PageIndex, 1);
  Press("down");  // no cell below on the short page
  EXPECT_EQ(Cell(g), 0);
  Press("right");  // wraps to page 1, first cell
  EXPECT_EQ(g->PageIndex, 0);
  EXPECT_EQ(g->GetRows().size(), 28u);
  EXPECT_EQ(Cell(g), 0);
  EXPECT_EQ(g->DataSource->Cursor, 0);
  Press("left");  // from the first cell of page 1 to the last of page 2
  EXPECT_EQ(g->PageIndex, 1);
  EXPECT_EQ(g->DataSource->Cursor, 28);
}

TEST_F(GridTest, PageKeysNeverWrap) {
  auto* g = OpenGrid(40);
  Press("fav");  // next page
  EXPECT_EQ(g->PageIndex, 1);
  EXPECT_EQ(g->DataSource->Cursor, 28);
  EXPECT_EQ(Cell(g), 0);
  Press("fav");  // the last page: to its last cell
  EXPECT_EQ(Cell(g), 11);
  EXPECT_EQ(g->DataSource->Cursor, 39);
  Press("fav");  // and no further
  EXPECT_EQ(g->PageIndex, 1);
  EXPECT_EQ(g->DataSource->Cursor, 39);
  Press("browse");
  EXPECT_EQ(g->PageIndex, 0);
  Press("browse");
  EXPECT_EQ(g->PageIndex, 0);
  EXPECT_EQ(Cell(g), 0);
}

TEST_F(GridTest, ThumbnailsArriveOneAtATimeAndShowTheDecodedPhoto) {
  auto* g = OpenGrid(5, 1);
  EXPECT_EQ(Calls("PslMediaRequestMetadata").size(), 1u);  // the next only after the answer, 100 ms on
  Run(1000);
  EXPECT_EQ(Calls("PslMediaRequestMetadata").size(), 5u);
  auto* folder = kv::Cast<PhotoGridItem>(g->GetRows()[0]);
  auto* photo = kv::Cast<PhotoGridItem>(g->GetRows()[1]);
  EXPECT_EQ(folder->OnGetBitmap(), Resources::LoadResource(MediaPlayer::ThumbnailFolder));
  // The photo's own thumbnail, drawn by the service from the file.
  auto* thumb = kv::Cast<Media::ServiceCanvas>(photo->OnGetBitmap());
  ASSERT_NE(thumb, nullptr);
  const ge::Surface px = thumb->GetSurface();
  ASSERT_NE(px.pixels, nullptr);
  EXPECT_NE(px.Row(px.height / 2)[px.width / 2] >> 24, 0u);  // opaque picture in the middle
  for (int i = 1; i < 6; ++i) EXPECT_TRUE(kv::Cast<PhotoGridItem>(g->GetRows()[size_t(i)])->DataItem->MetadataLoaded) << i;
}

// A truncated JPEG in the grid shows the broken-picture thumbnail and the
// photos after it still get theirs.
TEST_F(GridTest, ABrokenPhotoShowsTheBrokenThumbnailAndLaterPhotosStillLoad) {
  WriteStick("Grid", {});
  std::filesystem::create_directories(StickDir("Grid"));
  const std::vector<uint8_t> good = media_writer::Jpeg(64, 48, 0x204080, 0xC0E0FF);
  std::vector<uint8_t> cut = good;
  cut.resize(cut.size() / 3);
  media_writer::WriteBytes(StickDir("Grid") + "/a.jpg", good);
  media_writer::WriteBytes(StickDir("Grid") + "/b.jpg", cut);
  media_writer::WriteBytes(StickDir("Grid") + "/c.jpg", good);
  media_writer::WriteBytes(StickDir("Grid") + "/d.jpg", good);
  Plug("Grid");
  Browse(0, Media::MEDIA_TYPE_PICTURE);
  auto* form = kv::New<Primitives::KeyRoutingForm>();
  form->WinID = WinIDs::WIN_ID_PhotoMultiView;
  auto* g = Open(kv::New<PhotoGridView>(), {0, 0, 930, 400}, 0, 0, {10, 60, 950, 470}, form);
  Run(1000);
  EXPECT_EQ(Calls("PslMediaRequestMetadata").size(), 4u);
  auto* broken = kv::Cast<PhotoGridItem>(g->GetRows()[1]);
  EXPECT_EQ(broken->OnGetBitmap(), Resources::LoadResource(MediaPlayer::ThumbnailBroken));
  for (size_t i : {size_t(0), size_t(2), size_t(3)}) {
    auto* thumb = kv::Cast<Media::ServiceCanvas>(kv::Cast<PhotoGridItem>(g->GetRows()[i])->OnGetBitmap());
    ASSERT_NE(thumb, nullptr) << i;
    const ge::Surface px = thumb->GetSurface();
    ASSERT_NE(px.pixels, nullptr) << i;
    EXPECT_NE(px.Row(px.height / 2)[px.width / 2] >> 24, 0u) << i;
  }
  Press("right", 2);
  EXPECT_EQ(Cell(g), 2);
}

TEST_F(GridTest, AnEmptyFolderHidesTheGridAndPassesOnlyBackAndExit) {
  auto* g = OpenGrid(0);
  EXPECT_FALSE(g->IsVisible());
  auto key = [&](uint16_t code) {
    auto* k = kv::New<Core::KeyEvent>();
    k->Code = code;
    k->Down = true;
    return g->HandleEvent(k);
  };
  EXPECT_EQ(key(41), nullptr);
  EXPECT_EQ(key(2), nullptr);
  EXPECT_EQ(key(7), g);
}

}  // namespace
}  // namespace listtest
