#include "units/ListForm/MediaLists.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/ListForm.h"
#include "strings/Strings.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Bitmaps/ListBitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/Fonts/Fonts.h"
#include "units/ListForm/ListContext.h"
#include "units/ListForm/ListGetters.h"
#include "units/ListForm/OptionLists.h"
#include "units/Media/MediaEvents.h"
#include "units/Media/MediaItem.h"
#include "runtime/ref.h"
#include "units/Media/MediaWrapper.h"
#include "units/Structures/Message.h"

namespace ListForm {

KV_REGISTER_CLASS(ListForm::MediaContentListItemCourier);
KV_REGISTER_CLASS(ListForm::MediumDeviceCourier);
KV_REGISTER_CLASS(ListForm::MediaServerCourier);
KV_REGISTER_CLASS(ListForm::MediaControllerCourier);
KV_REGISTER_CLASS(ListForm::MediaListItem);
KV_REGISTER_CLASS(ListForm::MediaContentListItem);
KV_REGISTER_CLASS(ListForm::BGMListItem);
KV_REGISTER_CLASS(ListForm::MediaContentList);
KV_REGISTER_CLASS(ListForm::BGMList);
KV_REGISTER_CLASS(ListForm::MediumDeviceItem);
KV_REGISTER_CLASS(ListForm::MediaSetupList);
KV_REGISTER_CLASS(ListForm::MediumDeviceList);
KV_REGISTER_CLASS(ListForm::MediaServerListItem);
KV_REGISTER_CLASS(ListForm::MediaServerList);
KV_REGISTER_CLASS(ListForm::MediaControllerListItem);
KV_REGISTER_CLASS(ListForm::MediaControllerList);

namespace {

using namespace keys;

constexpr int32_t kPreviewMode = 4;
// The scroll arrows stand this far in from the list's right end.
constexpr int32_t kArrowsInset = 60;
// The room between a device row's rim and its text.
constexpr int32_t kDeviceTextMargin = 8;

// The courier of item i of the folder (null: still loading).
kv::Object* MediaCourier(Media::MediaItem* item, int32_t i) {
  auto* c = kv::New<MediaContentListItemCourier>();
  c->ItemIndex = i;
  c->DataItem = item;
  if (item) c->Text = item->Caption;
  return c;
}

void Show(Core::View& v, bool on) {
  if (v.IsVisible() != on) v.OnSetVisible(on);
}

}  // namespace

Media::MediaWrapper* MediaBridge() {
  auto* bridge = kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper);
  if (!bridge) Core::LogError("ListForm: no media bridge; the media list shows nothing");
  return bridge;
}

kv::String FormatDuration(int32_t seconds) {
  if (seconds < 0) return {};
  const kv::String sep = kv::LoadString(TIME_SEPARATOR);
  kv::String text = TwoDigits(seconds / 3600 % 100);
  text = kv::ConcatString(kv::ConcatString(text, sep), TwoDigits(seconds / 60 % 60));
  return kv::ConcatString(kv::ConcatString(text, sep), TwoDigits(seconds % 60));
}

// --- Getters ---------------------------------------------------------------------

kv::Object* GetMediaListItemData(ListDataSource* /*source*/, ListClass* /*list*/, int32_t i) {
  Media::MediaWrapper* bridge = MediaBridge();
  if (!bridge) return nullptr;
  return MediaCourier(bridge->GetMediaItem(i), i);
}

kv::Object* GetBgmListItemData(ListDataSource* /*source*/, ListClass* /*list*/, int32_t i) {
  Media::MediaWrapper* bridge = MediaBridge();
  if (!bridge) return nullptr;
  return MediaCourier(bridge->GetBgmItem(i), i);
}

kv::Object* GetMediumItemData(ListDataSource* /*source*/, ListClass* /*list*/, int32_t i) {
  Media::MediaWrapper* bridge = MediaBridge();
  Media::MediumDevice* m = bridge ? bridge->GetMedium(i) : nullptr;
  if (!m) return nullptr;
  auto* c = kv::New<MediumDeviceCourier>();
  c->ItemIndex = i;
  c->DeviceKind = static_cast<int16_t>(m->Kind);
  c->IsActive = m->Enabled;
  c->IsDisabled = m->Enabled ? 0 : 1;
  c->Device = m;
  if (m->Kind == 1)
    c->Text = kv::GetVariantOfString(MEDIUM_KIND1_TEXT);
  else if (m->Kind == 0)
    c->Text = kv::ConcatString(kv::LoadString(MEDIUM_USB_PREFIX), m->Caption);
  else if (m->Kind == 2)
    c->Text = kv::ConcatString(kv::LoadString(MEDIUM_SERVER_PREFIX), m->Caption);
  else
    c->Text = m->Caption;
  return c;
}

kv::Object* GetMediaServerItemData(ListDataSource* /*source*/, ListClass* /*list*/, int32_t i) {
  Media::MediaWrapper* bridge = MediaBridge();
  Media::MediaServer* s = bridge ? bridge->GetMediaServer(i) : nullptr;
  if (!s) return nullptr;
  auto* c = kv::New<MediaServerCourier>();
  c->ItemIndex = i;
  c->Text = s->Caption;
  // The list's address column stands under the "MAC Address" heading.
  c->Address = s->MacAddress;
  c->IsChecked = s->Registered;
  c->SupportWoL = s->SupportWoL;
  return c;
}

kv::Object* GetMediaControllerItemData(ListDataSource* /*source*/, ListClass* /*list*/, int32_t i) {
  Media::MediaWrapper* bridge = MediaBridge();
  Media::MediaControllor* r = bridge ? bridge->GetMediaControllor(i) : nullptr;
  if (!r) return nullptr;
  auto* c = kv::New<MediaControllerCourier>();
  c->ItemIndex = i;
  c->Text = r->Caption;
  c->MacAddress = r->MacAddress;
  c->IsChecked = r->Allowed;
  return c;
}

// --- Media rows -------------------------------------------------------------------------

MediaListItem::MediaListItem() {
  OnSetTextAlignH(0);
  TextView().OnSetEllipsis(true);
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::MediaListButtonFocus));
}

void MediaListItem::Refresh() {
  ListItem::Refresh();
  TextView().OnSetBounds({30, 0, std::max(30, Bounds().W()), Bounds().H()});
}

void MediaListItem::OnSetIsFolder(bool folder) {
  IsFolder = folder;
  InvalidateView();
}

void MediaListItem::SetData(kv::Object* data) {
  ListItem::SetData(data);
  auto* c = kv::Cast<MediaContentListItemCourier>(data);
  if (!c) return;
  // A row whose item is still loading keeps no item (not the one it showed).
  DataItem = c->DataItem;
  OnSetText(c->DataItem ? c->DataItem->Caption : kv::String());
  OnSetIsDisabled(false);
  OnSetIsFolder(c->DataItem && c->DataItem->Type == Media::ITEM_TYPE_FOLDER);
}

kv::Object* MediaListItem::GetData(kv::Object* data) {
  auto* c = kv::Cast<MediaContentListItemCourier>(data);
  if (!c) c = kv::New<MediaContentListItemCourier>();
  ListItem::GetData(c);
  c->DataItem = DataItem;
  c->IsDisabled = OnGetIsDisabled() ? 1 : 0;
  return c;
}

bool MediaListItem::LoadMetadata() {
  if (!DataItem || DataItem->MetadataLoaded || IsFolder) return false;
  Media::MediaWrapper* bridge = MediaBridge();
  return bridge && bridge->RequestMetadata(ItemIndex) == 1;
}

void MediaListItem::UpdateMetadata(Media::MediaItem* data) {
  if (!data || !DataItem) return;
  DataItem->MetadataLoaded = true;
  DataItem->Thumb = data->Thumb;
  DataItem->Metadata = data->Metadata;
}

MediaContentListItem::MediaContentListItem() {
  OnSetBounds({0, 0, 400, 28});
  icon_.OnSetBitmap(Resources::LoadResource(MediaPlayer::ListFolderBlue));
  icon_.OnSetVisible(false);
  AddColumn(icon_);
}

void MediaContentListItem::OnSetIsFolder(bool folder) {
  MediaListItem::OnSetIsFolder(folder);
  Show(icon_, folder);
}

void MediaContentListItem::Refresh() {
  ListItem::Refresh();
  const kv::Rect b = Bounds();
  icon_.OnSetBounds(kv::Rect{0, 0, 22, 18}.MoveTo({8, (b.H() - 18) / 2}));
  TextView().OnSetBounds({34, 1, std::max(34, b.W()), b.H()});
}

void MediaContentListItem::UpdateMetadata(Media::MediaItem* data) {
  MediaListItem::UpdateMetadata(data);
  if (IsFolder || !DataItem) return;
  kv::Object* m = DataItem->Metadata.get();
  if (kv::Cast<Media::MusicMetadata>(m) || kv::Cast<Media::VideoMetadata>(m)) InvalidateView();
}

// --- Content list -------------------------------------------------------------------------

MediaContentList::MediaContentList() {
  OnSetTimeOutValue(0);
  PageUpKey = KEY_CH_UP;
  PageDownKey = KEY_CH_DOWN;
  WrapAround = true;
  ItemClass = &MediaContentListItem::StaticClass();
  OnActivateOption = kv::MakeSlot(this, &MediaContentList::DoOnActivate);
  OnFocusOption = kv::MakeSlot(this, &MediaContentList::FocusLater);
  preview_.OnSetBegin(kMediaPreviewMs);
  preview_.OnSetPeriod(0);
  preview_.OnSetEnabled(false);
  preview_.OnTrigger = kv::MakeSlot(this, &MediaContentList::StartToPlay);
  thumbs_.OnSetBegin(kThumbnailPaceMs);
  thumbs_.OnSetPeriod(0);
  thumbs_.OnSetEnabled(false);
  thumbs_.OnTrigger = kv::MakeSlot(this, &MediaContentList::StartRetrieveThumb);
}

int32_t MediaContentList::GetItemsNum() {
  Media::MediaWrapper* bridge = MediaBridge();
  return bridge ? bridge->GetMediaItemCount() : 0;
}

kv::Object* MediaContentList::ObservedSource() {
  Media::MediaWrapper* bridge = MediaBridge();
  return bridge ? bridge->GetCurrentSource() : nullptr;
}

kv::Object* BGMList::ObservedSource() {
  Media::MediaWrapper* bridge = MediaBridge();
  return bridge ? bridge->GetBgmCurrentSource() : nullptr;
}

void MediaContentList::SourceChanged(kv::Object* /*sender*/) {
  if (!IsVisible() || !DataSource) return;
  const int32_t n = GetItemsNum();
  if (n < 1) return;
  if (n != DataSource->Num) {
    DataSource->Num = n;
    if (DataSource->Cursor >= n) DataSource->Cursor = n - 1;
    if (std::min(MaxRows, n) != ItemNum) OnSetItemNum(std::min(MaxRows, n));
  }
  Reload();
}

void MediaContentList::Initialize(Primitives::KeyRoutingParameter* param) {
  KeyRoutingListForm::Initialize(param);
  // Pages arriving later fill the rows where they are.
  if (kv::Object* source = ObservedSource()) kv::AttachObjObserver(kv::MakeSlot(this, &MediaContentList::SourceChanged), source);
  const int32_t n = GetItemsNum();
  if (n < 1) {
    OnSetItemNum(0);
    Show(PrevMark(), false);
    Show(NextMark(), false);
    Show(*this, false);
    OnSetFocus(nullptr);
    kv::Log("ListForm::MediaContentList: no media files in the folder");
    auto* msg = kv::New<Structures::Message>();
    msg->Initialize(Constants::MSG_NO_MEDIA_FILES, nullptr);
    if (Agent::MessageAgent* agent = MessageAgent()) agent->Dispatch(msg);
    return;
  }
  Show(*this, true);
  Show(PrevMark(), true);
  Show(NextMark(), true);
  if (IsPreviewStarted) {
    if (Media::MediaWrapper* bridge = MediaBridge()) bridge->RequestStop();
    IsPreviewStarted = false;
  }
  if (ItemNum < 0 && ItemClass) {
    // As many rows as the list's height holds, measured on a row.
    kv::Persistent<Core::View> probe(kv::Cast<Core::View>(kv::NewObjectIndirect(ItemClass)));
    const int32_t pitch = probe ? probe->Bounds().H() + ItemInterval : 0;
    MaxRows = pitch > 0 ? std::max(1, Bounds().H() / pitch) : 1;
  }
  OnSetItemNum(std::min(MaxRows, n));
  auto* source = kv::New<ListDataSource>();
  source->Num = n;
  OnSetDataSource(source);
  Reload();
  OnSetCurrentItemIndex(1);
  PrevFocusedItemIndex = -1;
  PreviewIndex = -1;
  IsLoadingMetadata = false;
  std::vector<Forms::Ctrl*> rows = GetAllRows();
  for (size_t r = 0; r < rows.size(); ++r)
    if (auto* row = kv::Cast<MediaContentListItem>(rows[r]))
      row->IsLast = static_cast<int32_t>(r) == std::min(MaxRows, n) - 1;
}

void MediaContentList::forceReload(kv::Object* sender) {
  PagedList::forceReload(sender);
  if (!GetFocusedRow()) return;
  IsLoaded = true;
  FocusLater(this);
  if (LoadMetadataEnable) kv::PostSignal(kv::MakeSlot(this, &MediaContentList::LoadItemMetadata));
}

void MediaContentList::FocusLater(kv::Object* /*sender*/) {
  kv::PostSignal(kv::MakeSlot(this, &MediaContentList::PostedFocus));
}

void MediaContentList::UpdateGroupInfo() { kv::Signal(OnUpdateMediaInfo, this); }

void MediaContentList::DoFocus(kv::Object* /*sender*/) {
  auto* row = kv::Cast<MediaContentListItem>(GetFocusedRow());
  if (!row) return;
  if (IsLoaded && row->ItemIndex != PrevFocusedItemIndex) {
    PrevFocusedItemIndex = row->ItemIndex;
    UpdateGroupInfo();
    if (IsPlayOnFocus) {
      if (Media::MediaWrapper* bridge = MediaBridge()) bridge->SelectMediaItem(row->ItemIndex);
      preview_.Activate();
    }
  }
  kv::Signal(OnUpdateContentInfo, this);
}

void MediaContentList::StartToPlay(kv::Object* /*sender*/) {
  preview_.OnSetEnabled(false);
  Media::MediaWrapper* bridge = MediaBridge();
  auto* row = kv::Cast<MediaContentListItem>(GetFocusedRow());
  if (!bridge) return;
  if (row && !row->IsFolder && row->DataItem) {
    if (PreviewIndex == row->ItemIndex) return;
    if (Filter == Media::MEDIA_TYPE_MUSIC)
      bridge->RequestPlay(row->DataItem.get(), kPreviewMode);
    else if (Filter == Media::MEDIA_TYPE_VIDEO && IsOfClass(Owner(), KV_LATE_CLASS("MediaPlayer::MovieListView")))
      bridge->RequestMoviePreviewPlay(row->DataItem.get(), kPreviewMode);
    bridge->SetRepeatMode(1);
    IsPreviewStarted = true;
    PreviewIndex = row->ItemIndex;
    return;
  }
  if (IsPreviewStarted) bridge->RequestStop();
  IsPreviewStarted = false;
  PreviewIndex = -1;
}

void MediaContentList::LoadItemMetadata(kv::Object* /*sender*/) {
  if (IsLoadingMetadata) return;
  for (Forms::Ctrl* ctrl : GetRows())
    if (auto* row = kv::Cast<MediaListItem>(ctrl); row && row->LoadMetadata()) {
      IsLoadingMetadata = true;
      return;
    }
}

kv::Object* MediaContentList::HandleEvent(Core::Event* event) {
  if (auto* ready = kv::Cast<Media::MetadataReadyEvent>(event)) {
    IsLoadingMetadata = false;
    MediaListItem* found = nullptr;
    for (Forms::Ctrl* ctrl : GetRows())
      if (auto* row = kv::Cast<MediaListItem>(ctrl); row && ready->Item && row->ItemIndex == ready->Item->Index)
        found = row;
    if (found) {
      found->UpdateMetadata(ready->Item.get());
      if (found == GetFocusedRow()) UpdateGroupInfo();
    }
    // An answer for an item no longer shown asks for the next one at once;
    // pictures are paced by the thumbnail timer.
    if (found && LoadMetadataEnable && Filter == Media::MEDIA_TYPE_PICTURE)
      thumbs_.Activate();
    else if (!found || LoadMetadataEnable)
      LoadItemMetadata();
    return this;
  }
  if (auto* key = kv::Cast<Core::KeyEvent>(event); key && !IsVisible()) {
    // Back and the two exit keys still reach the owner of an empty (hidden) list.
    const uint16_t code = key->Code;
    return code == KEY_BACK || code == KEY_EXIT || code == KEY_EXIT_ALT ? nullptr : this;
  }
  return PagedList::HandleEvent(event);
}

void MediaContentList::DoOnActivate(kv::Object* /*sender*/) {
  if (Forms::Ctrl* row = GetFocusedRow()) kv::Signal(OnItemActivate, row);
}

void MediaContentList::Close() {
  PagedList::Close();
  thumbs_.OnSetEnabled(false);
  preview_.OnSetEnabled(false);
}

BGMList::BGMList() {
  ItemClass = &BGMListItem::StaticClass();
  Filter = Media::MEDIA_TYPE_MUSIC;
  LoadMetadataEnable = false;
}

int32_t BGMList::GetItemsNum() {
  Media::MediaWrapper* bridge = MediaBridge();
  return bridge ? bridge->GetBgmItemCount() : 0;
}

void BGMList::DoFocus(kv::Object* /*sender*/) {
  auto* row = kv::Cast<BGMListItem>(GetFocusedRow());
  Media::MediaWrapper* bridge = MediaBridge();
  // Selecting tells the folder's observers, this list among them, which
  // reload and focus again: only a new row is selected.
  if (!row || !bridge || row->ItemIndex == PrevFocusedItemIndex) return;
  PrevFocusedItemIndex = row->ItemIndex;
  bridge->SelectBgmItem(row->ItemIndex);
}

void BGMList::DoOnActivate(kv::Object* sender) { MediaContentList::DoOnActivate(sender); }

// --- Devices, servers, controllers -------------------------------------------------

MediumDeviceItem::MediumDeviceItem() {
  OnSetBounds({0, 0, 420, 30});
  OnSetTextAlignH(0);
  TextView().OnSetEllipsis(true);
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::WiFiScanButtonFocus));
}

void MediumDeviceItem::Refresh() {
  ListItem::Refresh();
  // The device's name keeps a margin from the row's rim on both sides.
  const kv::Rect b = Bounds();
  TextView().OnSetBounds({kDeviceTextMargin, 0, std::max(kDeviceTextMargin, b.W() - kDeviceTextMargin), b.H()});
}

void MediumDeviceItem::SetData(kv::Object* data) {
  ListItem::SetData(data);
  auto* c = kv::Cast<MediumDeviceCourier>(data);
  if (!c) return;
  IsActive = c->IsActive;
  DeviceKind = c->DeviceKind;
  Device = c->Device;
  OnSetIsDisabled(!c->IsActive);
}

kv::Object* MediumDeviceItem::GetData(kv::Object* data) {
  auto* c = kv::Cast<MediumDeviceCourier>(data);
  if (!c) c = kv::New<MediumDeviceCourier>();
  ListItem::GetData(c);
  c->IsActive = IsActive;
  c->DeviceKind = DeviceKind;
  c->Device = Device;
  c->IsDisabled = OnGetIsDisabled() ? 1 : 0;
  return c;
}

MediaSetupList::MediaSetupList() {
  OnSetTimeOutValue(0);
  WrapAround = false;
  AddArrowIndicators(*this, up_, down_);
}

void MediaSetupList::Refresh() {
  ListClass::Refresh();
  const int32_t x = Bounds().W() - kArrowsInset;
  up_.OnSetBounds(up_.Bounds().MoveTo({x, -4}));
  down_.OnSetBounds(down_.Bounds().MoveTo({x, Bounds().H() - 16}));
}

MediumDeviceList::MediumDeviceList() {
  ItemInterval = 2;
  MaxRows = 4;
  ItemClass = &MediumDeviceItem::StaticClass();
  OnActivateOption = kv::MakeSlot(this, &MediumDeviceList::DoOnActivateOption);
}

int32_t MediumDeviceList::GetItemsNum() {
  Media::MediaWrapper* bridge = MediaBridge();
  if (!bridge) return 0;
  bridge->RequestMediumList();
  return bridge->GetMediumCount();
}

void MediumDeviceList::DoOnActivateOption(kv::Object* /*sender*/) {
  if (auto* row = kv::Cast<MediumDeviceItem>(GetFocusedRow())) kv::Signal(OnItemActivate, row);
}

MediaServerListItem::MediaServerListItem() {
  OnSetBounds({0, 0, kRowWidth, 25});
  OnSetTextAlignH(0);
  TextView().OnSetEllipsis(true);
  for (Views::Text* t : {&address_, &wol_}) {
    t->OnSetFont(Resources::LoadResource(Fonts::MediumFont));
    t->OnSetEllipsis(true);
    AddColumn(*t, true);
  }
  AddColumn(check_);
  OnSetIsChecked(false);
  OnSetIsSupportWoL(0);
}

void MediaServerListItem::Refresh() {
  ListItem::Refresh();
  const int32_t h = Bounds().H();
  check_.OnSetBounds(kv::Rect{0, 0, 20, 20}.MoveTo({5, (h - 20) / 2}));
  TextView().OnSetBounds({kNameX, 0, kAddressX - kColumnGap, h});
  address_.OnSetBounds({kAddressX, 0, kWakeX - kColumnGap, h});
  wol_.OnSetBounds({kWakeX, 0, std::max(kWakeX, Bounds().W()), h});
}

void MediaServerListItem::OnSetIsChecked(bool on) {
  IsChecked = on;
  check_.OnSetBitmap(Resources::LoadResource(on ? Bitmaps::CheckBoxCheck : Bitmaps::CheckBox));
  InvalidateView();
}

void MediaServerListItem::OnSetIsSupportWoL(int16_t v) {
  IsSupportWoL = v;
  wol_.OnSetString(kv::GetVariantOfString(v == 1 ? Strings::SID_SUPPORT : Strings::SID_UNKNOWN));
  InvalidateView();
}

void MediaServerListItem::SetData(kv::Object* data) {
  ListItem::SetData(data);
  auto* c = kv::Cast<MediaServerCourier>(data);
  if (!c) return;
  address_.OnSetString(c->Address.Empty() ? kv::LoadString(DEFAULT_ADDRESS) : c->Address);
  OnSetIsSupportWoL(c->SupportWoL);
  OnSetIsChecked(c->IsChecked);
}

kv::Object* MediaServerListItem::GetData(kv::Object* data) {
  auto* c = kv::Cast<MediaServerCourier>(data);
  if (!c) c = kv::New<MediaServerCourier>();
  ListItem::GetData(c);
  c->Address = address_.OnGetString();
  c->SupportWoL = IsSupportWoL;
  c->IsChecked = IsChecked;
  return c;
}

MediaServerList::MediaServerList() {
  ItemInterval = 2;
  MaxRows = 8;
  ItemClass = &MediaServerListItem::StaticClass();
  OnActivateOption = kv::MakeSlot(this, &MediaServerList::DoOnActivateOption);
  // The table behind the rows: eight row bands and three column lines.
  using Row = MediaServerListItem;
  for (int32_t r = 0; r < 8; ++r) {
    rows_[r].OnSetColor(Colors::StandardBgColor);
    rows_[r].OnSetBounds({0, r * 27, Row::kRowWidth, r * 27 + 25});
    Add(&rows_[r]);
  }
  const int32_t x[3] = {Row::kNameX - 2, Row::kAddressX - Row::kColumnGap, Row::kWakeX - Row::kColumnGap};
  for (int32_t k = 0; k < 3; ++k) {
    columns_[k].OnSetColor(Colors::MenuBgColor);
    columns_[k].OnSetBounds({x[k], 0, x[k] + 2, 214});
    Add(&columns_[k]);
  }
}

void MediaServerList::Refresh() { MediaSetupList::Refresh(); }

int32_t MediaServerList::GetItemsNum() {
  Media::MediaWrapper* bridge = MediaBridge();
  if (!bridge) return 0;
  bridge->GetMediaServerList();
  return bridge->GetMediaServerCount();
}

void MediaServerList::DoOnActivateOption(kv::Object* /*sender*/) {
  auto* row = kv::Cast<MediaServerListItem>(GetFocusedRow());
  Media::MediaWrapper* bridge = MediaBridge();
  if (!row || !bridge) return;
  if (row->IsChecked)
    bridge->UnRegisterMediaServer(row->ItemIndex);
  else
    bridge->RegisterMediaServer(row->ItemIndex);
  // The bridge keeps at most eight: a refused registration stays unchecked.
  Media::MediaServer* server = bridge->GetMediaServer(row->ItemIndex);
  row->OnSetIsChecked(server && server->Registered);
}

MediaControllerListItem::MediaControllerListItem() {
  OnSetBounds({0, 0, 420, 30});
  OnSetTextAlignH(0);
  TextView().OnSetEllipsis(true);
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::WiFiScanButtonFocus));
  mac_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  mac_.OnSetEllipsis(true);
  AddColumn(check_);
  AddColumn(mac_, true);
  OnSetIsChecked(false);
}

void MediaControllerListItem::Refresh() {
  ListItem::Refresh();
  const int32_t h = Bounds().H();
  check_.OnSetBounds(kv::Rect{0, 0, 20, 20}.MoveTo({8, (h - 20) / 2}));
  TextView().OnSetBounds({36, 0, 196, h});
  mac_.OnSetBounds({200, 0, std::max(200, Bounds().W()), h});
}

void MediaControllerListItem::OnSetIsChecked(bool on) {
  IsChecked = on;
  check_.OnSetBitmap(Resources::LoadResource(on ? Bitmaps::CheckBoxCheck : Bitmaps::CheckBox));
  InvalidateView();
}

void MediaControllerListItem::OnSetMacAddr(const kv::String& mac) {
  MacAddr = mac;
  mac_.OnSetString(mac);
  InvalidateView();
}

void MediaControllerListItem::SetData(kv::Object* data) {
  ListItem::SetData(data);
  auto* c = kv::Cast<MediaControllerCourier>(data);
  if (!c) return;
  OnSetMacAddr(c->MacAddress.Empty() ? kv::LoadString(DEFAULT_ADDRESS) : c->MacAddress);
  OnSetIsChecked(c->IsChecked);
}

kv::Object* MediaControllerListItem::GetData(kv::Object* data) {
  auto* c = kv::Cast<MediaControllerCourier>(data);
  if (!c) c = kv::New<MediaControllerCourier>();
  ListItem::GetData(c);
  c->MacAddress = MacAddr;
  c->IsChecked = IsChecked;
  return c;
}

MediaControllerList::MediaControllerList() {
  MaxRows = 8;
  ItemClass = &MediaControllerListItem::StaticClass();
  OnActivateOption = kv::MakeSlot(this, &MediaControllerList::DoOnActivateOption);
}

int32_t MediaControllerList::GetItemsNum() {
  Media::MediaWrapper* bridge = MediaBridge();
  if (!bridge) return 0;
  bridge->RequestMediaControllorList();
  const int32_t n = bridge->GetMediaControllorCount();
  kv::Log("ListForm::MediaControllerList: " + std::to_string(n) + " controllers");
  return n;
}

int32_t MediaControllerList::GetCheckedNumber() {
  // The rows' marks, and the bridge's flags of the controllers scrolled out
  // of view, so that scrolling cannot pass the limit.
  std::vector<bool> shown(static_cast<size_t>(std::max(0, DataSource ? DataSource->Num : 0)), false);
  int32_t n = 0;
  for (Forms::Ctrl* ctrl : GetRows())
    if (auto* row = kv::Cast<MediaControllerListItem>(ctrl)) {
      if (row->ItemIndex >= 0 && static_cast<size_t>(row->ItemIndex) < shown.size())
        shown[static_cast<size_t>(row->ItemIndex)] = true;
      if (row->IsChecked) ++n;
    }
  Media::MediaWrapper* bridge = MediaBridge();
  for (size_t i = 0; bridge && i < shown.size(); ++i)
    if (Media::MediaControllor* r = bridge->GetMediaControllor(static_cast<int32_t>(i)); r && !shown[i] && r->Allowed)
      ++n;
  return n;
}

void MediaControllerList::DoOnActivateOption(kv::Object* /*sender*/) {
  auto* row = kv::Cast<MediaControllerListItem>(GetFocusedRow());
  if (!row) return;
  if (row->IsChecked) {
    row->OnSetIsChecked(false);
    return;
  }
  if (GetCheckedNumber() >= kMaxAllowedControllers) {
    kv::Log("ListForm::MediaControllerList: 8 controllers are allowed already");
    return;
  }
  row->OnSetIsChecked(true);
}

}  // namespace ListForm
