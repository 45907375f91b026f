// ListForm::GridView: a page of cells in rows and columns that turns whole
// pages (it never scrolls cell by cell), over a ListForm::ListDataSource
// like the lists; and ListForm::PhotoGridView, the photo browser's
// thumbnail grid of 4 x 7 cells (ListForm::PhotoGridItem) over the media
// bridge's folder, reading one thumbnail at a time.
#pragma once

#include <cstdint>

#include "keys/keycodes.h"
#include "runtime/member.h"
#include "runtime/slot.h"
#include "units/Core/Timer.h"
#include "units/ListForm/ListClass.h"
#include "units/ListForm/MediaLists.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/Views/Image.h"

namespace ListForm {

class GridView : public Primitives::KeyRoutingListForm {
  KV_CLASS(ListForm, GridView, Primitives::KeyRoutingListForm)
 public:
  GridView();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  // Places the cells row by row (ArrangeMode 0) or column by column (1).
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void OnSetBounds(kv::Rect bounds) override;
  int32_t MoveCursor(int32_t delta, int32_t mode) override;
  kv::Object* GetItemData(int32_t offset) override;
  int32_t GetItemsCount() override;
  int32_t GetCursorIndex() override;
  // Across the page's edge the grid turns to the next or previous page.
  int32_t ScrollItems(int32_t n) override;
  // Within the page only: never turns a page or wraps.
  int32_t ScrollRows(int32_t n) override;
  int32_t ScrollPages(int32_t n) override;
  // The list's reload without moving the focus (cells stay where they are).
  void forceReload(kv::Object* sender = nullptr) override;

  // Cells shown: the first call creates CellsPerPage cells.
  void OnSetItemNum(int32_t n);
  void OnSetCurrentItemIndex(int32_t n);
  int32_t OnGetCurrentItemIndex();
  void OnSetDataSource(ListDataSource* source);
  // Visible cells of page `page` (the last page may be short).
  int32_t VisibleCells(int32_t page) const;
  std::vector<Forms::Ctrl*> GetAllCells();

  int32_t TotalRows = 4;
  uint16_t ArrangeMode = 0;
  int32_t ItemXOffset = 0;
  int32_t ItemYOffset = 0;
  int32_t ItemXInterval = 0;
  int32_t ItemYInterval = 0;
  uint16_t IncreaseItemKey = keys::KEY_RIGHT;
  uint16_t DecreaseItemKey = keys::KEY_LEFT;
  uint16_t IncreaseRowKey = keys::KEY_DOWN;
  uint16_t DecreaseRowKey = keys::KEY_UP;
  uint16_t PageUpKey = keys::KEY_BROWSE;
  uint16_t PageDownKey = keys::KEY_FAV;
  bool WrapAround = false;
  bool WrapAroundPage = true;
  kv::Slot OnActivateOption;
  kv::Slot OnFocusOption;
  kv::Slot OnUnfocusOption;
  kv::Slot FocusMove;
  kv::Slot OnExit;
  int32_t ItemNum = -1;
  const kv::Class* ItemClass = nullptr;
  kv::Member<ListDataSource> DataSource;
  int32_t CurrentItemIndex = 0;
  int32_t LastItemIndex = 0;
  int32_t CellsPerPage = 28;
  int32_t PageCount = 0;
  int32_t PageIndex = 0;

 protected:
  // Shows page `page` with the focus on its first or last visible cell.
  void TurnTo(int32_t page, bool last);
  void FocusCell(int32_t position);
};

class PhotoGridItem : public MediaListItem {
  KV_CLASS(ListForm, PhotoGridItem, MediaListItem)
 public:
  // A 4:3 cell: four rows of them with the grid's offsets and gaps take
  // 354 pixels, seven columns with the page arrows at both ends 860.
  static constexpr int32_t kCellWidth = 104;
  static constexpr int32_t kCellHeight = 78;
  PhotoGridItem();
  // A folder or photo picture until the thumbnail comes.
  void OnSetIsFolder(bool folder) override;
  // The thumbnail, or the broken picture for a photo without one.
  void UpdateMetadata(Media::MediaItem* data) override;
  // The picture centred in the cell.
  void Refresh() override;
  void OnSetBitmap(Resources::Bitmap* bitmap);
  Resources::Bitmap* OnGetBitmap() { return image_.OnGetBitmap(); }

 private:
  Views::Image image_;
};

class PhotoGridView : public GridView {
  KV_CLASS(ListForm, PhotoGridView, GridView)
 public:
  PhotoGridView();
  // A new folder: first page; an empty one hides the grid and sends
  // MSG_NO_MEDIA_FILES.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void updateScrollBars(kv::Object* sender = nullptr) override;
  void forceReload(kv::Object* sender = nullptr) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Close() override;
  void LoadItemMetadata(kv::Object* sender = nullptr);
  // The bridge's folder announced a change (a page came): the cells are read
  // again in place, the focus kept.
  void SourceChanged(kv::Object* sender);
  void StartRetrieveThumb(kv::Object* sender = nullptr) { LoadItemMetadata(sender); }
  // The owner's information panel (OnUpdateMediaInfo) follows the focus.
  void DoFocus(kv::Object* sender);
  // OK on a cell: the owner opens the folder or the photo (OnItemActivate).
  void DoOnActivate(kv::Object* sender);
  bool IsLeftArrowShown() const { return left_.IsVisible(); }
  bool IsRightArrowShown() const { return right_.IsVisible(); }
  Views::Image& LeftArrow() { return left_; }
  Views::Image& RightArrow() { return right_; }

  int16_t Filter = 2;
  bool IsLoadingMetadata = false;
  kv::Slot OnUpdateMediaInfo;
  kv::Slot OnItemActivate;

 private:
  Views::Image right_;
  Views::Image left_;
  SkinBin::FocusFrame frame_;
  Core::Timer thumbs_;
};

}  // namespace ListForm
