#include "units/ListForm/GridView.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Bitmaps/ListBitmaps.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/ListForm/ListContext.h"
#include "units/ListForm/RowColumns.h"
#include "units/Media/MediaEvents.h"
#include "units/Media/MediaItem.h"
#include "runtime/ref.h"
#include "units/Media/MediaWrapper.h"
#include "units/Primitives/KeyRoutingCtrl.h"
#include "units/Structures/Message.h"

namespace ListForm {

KV_REGISTER_CLASS(ListForm::GridView);
KV_REGISTER_CLASS(ListForm::PhotoGridItem);
KV_REGISTER_CLASS(ListForm::PhotoGridView);

namespace {

constexpr int32_t kPhotoCells = 28;
using namespace keys;

void Show(Core::View& v, bool on) {
  if (v.IsVisible() != on) v.OnSetVisible(on);
}

}  // namespace

// --- Grid ---------------------------------------------------------------------------

GridView::GridView() {
  OnTimeOut = kv::Slot();
  OnSetTimeOutValue(0);
  OnSetItemsPerRow(7);
}

void GridView::Initialize(Primitives::KeyRoutingParameter* param) {
  KeyRoutingListForm::Initialize(param);
  CellsPerPage = TotalRows * ItemsPerRow;
}

std::vector<Forms::Ctrl*> GridView::GetAllCells() {
  std::vector<Forms::Ctrl*> cells;
  for (int32_t i = 0; i < GetChildCount(); ++i)
    if (auto* ctrl = kv::Cast<Forms::Ctrl>(GetChild(i))) cells.push_back(ctrl);
  return cells;
}

void GridView::OnSetItemNum(int32_t n) {
  n = std::clamp(n, 0, std::max(0, CellsPerPage));
  if (n == ItemNum) return;
  int32_t previous = ItemNum;
  ItemNum = n;
  if (!ItemClass) return;
  if (previous < 0) {
    for (int32_t k = 0; k < CellsPerPage; ++k) {
      auto* cell = NewRow(ItemClass, kv::ClassOf(this));
      if (!cell) break;
      cell->OnActivate = OnActivateOption;
      cell->OnFocus = OnFocusOption;
      cell->OnUnfocus = OnUnfocusOption;
      cell->OnSetTag(k);
      cell->Position = k;
      Add(cell);
    }
    Refresh();
    previous = CellsPerPage;
  }
  std::vector<Forms::Ctrl*> cells = GetAllCells();
  const auto count = static_cast<int32_t>(cells.size());
  for (int32_t k = std::min(previous, count) - 1; k >= n; --k) {
    cells[static_cast<size_t>(k)]->OnSetVisible(false);
    cells[static_cast<size_t>(k)]->OnSetEnabled(false);
  }
  for (int32_t k = 0; k < std::min(n, count); ++k) {
    cells[static_cast<size_t>(k)]->OnSetVisible(true);
    cells[static_cast<size_t>(k)]->OnSetEnabled(true);
  }
}

void GridView::Refresh() {
  std::vector<Forms::Ctrl*> cells = GetAllCells();
  if (cells.empty() || (ArrangeMode != 0 && ArrangeMode != 1)) return;
  const kv::Rect first = cells[0]->Bounds();
  const int32_t w = first.W(), h = first.H();
  size_t k = 0;
  auto place = [&](int32_t r, int32_t c) {
    if (k >= cells.size()) return;
    cells[k++]->OnSetBounds(kv::Rect{0, 0, w, h}.MoveTo(
        {ItemXOffset + c * (w + ItemXInterval), ItemYOffset + r * (h + ItemYInterval)}));
  };
  if (ArrangeMode == 0) {
    for (int32_t r = 0; r < TotalRows; ++r)
      for (int32_t c = 0; c < ItemsPerRow; ++c) place(r, c);
  } else {
    for (int32_t c = 0; c < ItemsPerRow; ++c)
      for (int32_t r = 0; r < TotalRows; ++r) place(r, c);
  }
}

void GridView::OnSetBounds(kv::Rect bounds) {
  const kv::Rect old = Bounds();
  KeyRoutingListForm::OnSetBounds(bounds);
  if (old.W() != bounds.W() || old.H() != bounds.H()) Refresh();
}

int32_t GridView::MoveCursor(int32_t delta, int32_t mode) { return DataSource ? DataSource->MoveCursor(delta, mode) : 0; }

kv::Object* GridView::GetItemData(int32_t offset) {
  return DataSource ? DataSource->GetItemDataOf(kv::ClassOf(this), offset) : nullptr;
}

int32_t GridView::GetItemsCount() { return DataSource ? DataSource->Num : 0; }
int32_t GridView::GetCursorIndex() { return DataSource ? DataSource->Cursor : 0; }

int32_t GridView::VisibleCells(int32_t page) const {
  const int32_t n = DataSource ? DataSource->Num : 0;
  if (page == PageCount - 1 && CellsPerPage > 0) {
    const int32_t rest = n % CellsPerPage;
    return rest == 0 ? CellsPerPage : rest;
  }
  return CellsPerPage;
}

void GridView::FocusCell(int32_t position) {
  std::vector<Forms::Ctrl*> cells = GetRows();
  if (position >= 0 && position < static_cast<int32_t>(cells.size())) OnSetFocus(cells[static_cast<size_t>(position)]);
}

void GridView::TurnTo(int32_t page, bool last) {
  PageIndex = page;
  const int32_t visible = VisibleCells(page);
  OnSetItemNum(visible);
  if (DataSource) DataSource->Cursor = page * CellsPerPage + (last ? visible - 1 : 0);
  FocusCell(last ? visible - 1 : 0);
  Reload();
}

int32_t GridView::ScrollItems(int32_t n) {
  const int32_t c0 = DataSource ? DataSource->Cursor : 0;
  const int32_t focus = GetFocusPosition();
  if (!DataSource || Fixed || focus < 0) {
    const int32_t moved = MoveCursor(n, Primitives::CURSOR_RELATIVE);
    kv::PostSignal(kv::MakeSlot(this, &GridView::updateScrollBars));
    return moved;
  }
  const int32_t p = focus + n;
  const int32_t visible = static_cast<int32_t>(GetRows().size());
  if (p >= visible && PageCount >= 2) {
    int32_t page = PageIndex + 1 + (p - visible) / std::max(1, CellsPerPage);
    if (page > PageCount - 1) page = WrapAround ? page - PageCount : -1;
    if (page >= 0) {
      TurnTo(page, false);
      // A jump of more than one cell lands on its item, not on the first
      // cell of the item's page.
      const int32_t target = c0 + n;
      if (target < DataSource->Num && CellsPerPage > 0 && target / CellsPerPage == page) {
        DataSource->Cursor = target;
        FocusCell(target - page * CellsPerPage);
      }
    }
  } else if (p < 0 && PageCount >= 2) {
    int32_t page = PageIndex - 1 + p / std::max(1, CellsPerPage);
    if (page < 0) page = WrapAround ? page + PageCount : -1;
    if (page >= 0) TurnTo(page, true);
  } else if (p < 0 || p >= visible) {
    if (WrapAround) {
      const int32_t cell = p >= visible ? p - visible : visible + p;
      DataSource->Cursor = PageIndex * CellsPerPage + cell;
      FocusCell(cell);
    }
  } else {
    DataSource->Cursor = PageIndex * CellsPerPage + p;
    FocusCell(p);
  }
  kv::PostSignal(kv::MakeSlot(this, &GridView::updateScrollBars));
  return DataSource->Cursor - c0;
}

int32_t GridView::ScrollRows(int32_t n) {
  const int32_t focus = GetFocusPosition();
  if (n == 0 || focus < 0 || !DataSource) return 0;
  if (n < 0 && focus < ItemsPerRow) return 0;
  if (n > 0 && focus >= (TotalRows - 1) * ItemsPerRow) return 0;
  const int32_t target = focus + n * ItemsPerRow;
  if (target < 0 || target >= static_cast<int32_t>(GetRows().size())) return 0;
  const int32_t moved = MoveCursor(n * ItemsPerRow, Primitives::CURSOR_RELATIVE);
  if (!Fixed) FocusCell(focus + moved);
  kv::PostSignal(kv::MakeSlot(this, &GridView::updateScrollBars));
  return moved;
}

int32_t GridView::ScrollPages(int32_t n) {
  if (PageCount < 2 || n == 0 || !DataSource) return 0;
  const int32_t c0 = DataSource->Cursor;
  const int32_t focus = GetFocusPosition();
  const int32_t visible = static_cast<int32_t>(GetRows().size());
  if (n > 0 && PageIndex == PageCount - 1 && focus >= 0 && focus != visible - 1) {
    DataSource->Cursor = PageIndex * CellsPerPage + visible - 1;
    FocusCell(visible - 1);
  } else if (n < 0 && PageIndex == 0 && focus > 0) {
    DataSource->Cursor = 0;
    FocusCell(0);
  } else {
    int32_t page = PageIndex + n;
    if (page < 0 || page > PageCount - 1) {
      if (!WrapAround || !WrapAroundPage) return 0;
      page = (page % PageCount + PageCount) % PageCount;
    }
    PageIndex = page;
    OnSetItemNum(VisibleCells(page));
    if (!Fixed && focus >= 0) TurnTo(page, false);
  }
  kv::PostSignal(kv::MakeSlot(this, &GridView::updateScrollBars));
  return DataSource->Cursor - c0;
}

void GridView::forceReload(kv::Object* /*sender*/) {
  std::vector<Forms::Ctrl*> cells = GetRows();
  if (cells.empty()) return;
  int32_t focus = GetFocusPosition();
  const bool hasCursorItem = IsItemValid(0);
  if (focus < 0 && hasCursorItem) {
    FocusCell(0);
    focus = GetFocusPosition();
  }
  const int32_t base = std::max(0, focus);
  for (size_t k = 0; k < cells.size(); ++k)
    if (auto* cell = kv::Cast<Primitives::KeyRoutingCtrl>(cells[k])) {
      cell->Position = static_cast<int32_t>(k);
      cell->SetData(GetItemData(static_cast<int32_t>(k) - base));
    }
  if (!hasCursorItem && !Fixed && OnGetFocus()) OnSetFocus(nullptr);
}

kv::Object* GridView::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return KeyRoutingListForm::HandleEvent(event);
  const uint16_t code = key->Code;
  if (code == IncreaseItemKey)
    ScrollItems(1);
  else if (code == DecreaseItemKey)
    ScrollItems(-1);
  else if (code == IncreaseRowKey)
    ScrollRows(1);
  else if (code == DecreaseRowKey)
    ScrollRows(-1);
  else if (code == PageUpKey)
    ScrollPages(-1);
  else if (code == PageDownKey)
    ScrollPages(1);
  else
    return KeyRoutingListForm::HandleEvent(event);
  kv::Signal(FocusMove, this);
  return this;
}

void GridView::OnSetCurrentItemIndex(int32_t n) {
  CurrentItemIndex = n;
  FocusCell(n - 1);
}

int32_t GridView::OnGetCurrentItemIndex() {
  const int32_t value = GetFocusPosition() + 1;
  if (value != CurrentItemIndex) {
    LastItemIndex = CurrentItemIndex;
    CurrentItemIndex = value;
  }
  return value;
}

void GridView::OnSetDataSource(ListDataSource* source) {
  if (DataSource.get() == source) return;
  DataSource = source;
  Reload();
}

// --- Photo grid -----------------------------------------------------------------------

PhotoGridItem::PhotoGridItem() {
  OnSetBounds({0, 0, kCellWidth, kCellHeight});
  OnSetFocused_BackgroundBitmap(nullptr);
  TextView().OnSetVisible(false);
  image_.OnSetBitmap(Resources::LoadResource(MediaPlayer::ThumbnailPhoto));
  AddColumn(image_);
}

void PhotoGridItem::OnSetBitmap(Resources::Bitmap* bitmap) {
  image_.OnSetBitmap(bitmap);
  Refresh();
  InvalidateView();
}

void PhotoGridItem::OnSetIsFolder(bool folder) {
  MediaListItem::OnSetIsFolder(folder);
  OnSetBitmap(Resources::LoadResource(folder ? MediaPlayer::ThumbnailFolder : MediaPlayer::ThumbnailPhoto));
}

void PhotoGridItem::UpdateMetadata(Media::MediaItem* data) {
  MediaListItem::UpdateMetadata(data);
  if (!IsFolder && DataItem)
    OnSetBitmap(DataItem->Thumb ? DataItem->Thumb.get() : Resources::LoadResource(MediaPlayer::ThumbnailBroken));
  InvalidateView();
}

void PhotoGridItem::Refresh() {
  ListItem::Refresh();
  TextView().OnSetVisible(false);
  // The thumbnail fills the cell (the grid keeps every cell at its own size).
  image_.OnSetBounds({0, 0, Bounds().W(), Bounds().H()});
}

PhotoGridView::PhotoGridView() {
  ItemXOffset = 24;
  ItemXInterval = 14;
  ItemYOffset = 6;
  ItemYInterval = 12;
  WrapAround = true;
  WrapAroundPage = false;
  ItemClass = &PhotoGridItem::StaticClass();
  OnActivateOption = kv::MakeSlot(this, &PhotoGridView::DoOnActivate);
  OnFocusOption = kv::MakeSlot(this, &PhotoGridView::DoFocus);
  right_.OnSetBitmap(Resources::LoadResource(MediaPlayer::ArrowRight));
  left_.OnSetBitmap(Resources::LoadResource(MediaPlayer::ArrowLeft));
  for (Views::Image* arrow : {&right_, &left_}) {
    arrow->OnSetBounds({0, 0, 24, 48});
    arrow->OnSetVisible(false);
    Add(arrow);
  }
  frame_.OnSetBitmap(Resources::LoadResource(MediaPlayer::ThumbnailCellFocus));
  frame_.OnSetVisible(false);
  thumbs_.OnSetBegin(kThumbnailPaceMs);
  thumbs_.OnSetPeriod(0);
  thumbs_.OnSetEnabled(false);
  thumbs_.OnTrigger = kv::MakeSlot(this, &PhotoGridView::StartRetrieveThumb);
}

void PhotoGridView::SourceChanged(kv::Object* /*sender*/) {
  Media::MediaWrapper* bridge = MediaBridge();
  if (!IsVisible() || !DataSource || !bridge) return;
  const int32_t count = bridge->GetMediaItemCount();
  if (count < 1) return;
  if (count != DataSource->Num) {
    DataSource->Num = count;
    if (DataSource->Cursor >= count) DataSource->Cursor = count - 1;
    PageCount = (count - 1) / kPhotoCells + 1;
  }
  Reload();
}

void PhotoGridView::Initialize(Primitives::KeyRoutingParameter* param) {
  GridView::Initialize(param);
  Media::MediaWrapper* bridge = MediaBridge();
  if (bridge && bridge->GetCurrentSource())
    kv::AttachObjObserver(kv::MakeSlot(this, &PhotoGridView::SourceChanged), bridge->GetCurrentSource());
  const int32_t count = bridge ? bridge->GetMediaItemCount() : 0;
  if (count < 1) {
    OnSetItemNum(0);
    Show(left_, false);
    Show(right_, false);
    Show(*this, false);
    Show(frame_, false);
    OnSetFocus(nullptr);
    kv::Log("ListForm::PhotoGridView: no media files in the folder");
    auto* msg = kv::New<Structures::Message>();
    msg->Initialize(Constants::MSG_NO_MEDIA_FILES, nullptr);
    if (Agent::MessageAgent* agent = MessageAgent()) agent->Dispatch(msg);
    return;
  }
  Show(*this, true);
  PageCount = (count - 1) / kPhotoCells + 1;
  Show(left_, PageCount >= 2);
  Show(right_, PageCount >= 2);
  OnSetItemNum(std::min(kPhotoCells, count));
  auto* source = kv::New<ListDataSource>();
  source->Num = count;
  DataSource = nullptr;
  OnSetDataSource(source);
  PageIndex = 0;
  // The shared focus frame is drawn over the cells.
  if (!frame_.Owner()) Add(&frame_);
  for (Forms::Ctrl* cell : GetAllCells())
    if (auto* button = kv::Cast<::Button::ButtonClass>(cell)) button->OnSetFocusFrame(&frame_);
  Show(frame_, true);
  OnSetCurrentItemIndex(1);
  IsLoadingMetadata = false;
}

void PhotoGridView::updateScrollBars(kv::Object* sender) {
  GridView::updateScrollBars(sender);
  Show(left_, PageIndex >= 1);
  Show(right_, PageIndex < PageCount - 1);
  const kv::Rect b = Bounds();
  left_.OnSetBounds(left_.Bounds().MoveTo({0, (b.H() - 48) / 2}));
  right_.OnSetBounds(right_.Bounds().MoveTo({b.W() - 24, (b.H() - 48) / 2}));
}

void PhotoGridView::forceReload(kv::Object* sender) {
  GridView::forceReload(sender);
  if (!GetRows().empty() && OnGetFocus()) {
    kv::PostSignal(kv::MakeSlot(this, &PhotoGridView::DoFocus));
    kv::PostSignal(kv::MakeSlot(this, &PhotoGridView::LoadItemMetadata));
  }
}

void PhotoGridView::LoadItemMetadata(kv::Object* /*sender*/) {
  if (IsLoadingMetadata) return;
  for (Forms::Ctrl* ctrl : GetRows())
    if (auto* cell = kv::Cast<MediaListItem>(ctrl); cell && cell->LoadMetadata()) {
      IsLoadingMetadata = true;
      return;
    }
}

kv::Object* PhotoGridView::HandleEvent(Core::Event* event) {
  if (auto* ready = kv::Cast<Media::MetadataReadyEvent>(event)) {
    IsLoadingMetadata = false;
    MediaListItem* found = nullptr;
    for (Forms::Ctrl* ctrl : GetRows())
      if (auto* cell = kv::Cast<MediaListItem>(ctrl); cell && ready->Item && cell->ItemIndex == ready->Item->Index)
        found = cell;
    if (found) {
      found->UpdateMetadata(ready->Item.get());
      if (found == OnGetFocus()) DoFocus(this);
      thumbs_.Activate();
    } else {
      LoadItemMetadata();
    }
    return this;
  }
  if (auto* key = kv::Cast<Core::KeyEvent>(event); key && !IsVisible()) {
    // Back and the two exit keys still reach the owner of an empty (hidden) list.
    const uint16_t code = key->Code;
    return code == KEY_BACK || code == KEY_EXIT || code == KEY_EXIT_ALT ? nullptr : this;
  }
  return GridView::HandleEvent(event);
}

void PhotoGridView::Close() {
  GridView::Close();
  thumbs_.OnSetEnabled(false);
}

void PhotoGridView::DoFocus(kv::Object* /*sender*/) {
  if (OnGetFocus()) kv::Signal(OnUpdateMediaInfo, this);
}

void PhotoGridView::DoOnActivate(kv::Object* /*sender*/) {
  if (auto* cell = kv::Cast<PhotoGridItem>(OnGetFocus())) kv::Signal(OnItemActivate, cell);
}

}  // namespace ListForm
