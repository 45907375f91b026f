// The lists of the media browser and player, over the media bridge
// (Media::MediaWrapper): ListForm::MediaContentList (the files of a folder,
// a preview 500 ms after the focus rests, metadata read one item at a time),
// ListForm::BGMList (the slide show's music), ListForm::MediumDeviceList
// (the media to browse), ListForm::MediaServerList (network media servers
// with their registration) and ListForm::MediaControllerList (the network
// controllers allowed to control the set).
//
// The owning media screens answer through slots: OnUpdateMediaInfo (the
// information panel of the focused item), OnUpdateContentInfo (after every
// focus), OnItemActivate (OK on a row; sender: the row).
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/slot.h"
#include "runtime/string.h"
#include "units/Core/Timer.h"
#include "units/ListForm/ListCourier.h"
#include "units/ListForm/PagedList.h"
#include "units/Views/Image.h"
#include "units/Views/Rectangle.h"
#include "units/Views/Text.h"

namespace Media {
class MediaItem;
class MediaWrapper;
}  // namespace Media

namespace ListForm {

// Delay of the preview after the focus last moved, and between thumbnails.
inline constexpr int32_t kMediaPreviewMs = 500;
inline constexpr int32_t kThumbnailPaceMs = 100;
// Servers the bridge keeps registered; controllers a list may allow.
inline constexpr int32_t kMaxRegisteredServers = 8;
inline constexpr int32_t kMaxAllowedControllers = 8;

// The media bridge (auto object), or null with a logged error.
Media::MediaWrapper* MediaBridge();

class MediaContentListItemCourier : public ListCourier {
  KV_CLASS(ListForm, MediaContentListItemCourier, ListCourier)
 public:
  kv::Member<Media::MediaItem> DataItem;
};

class MediumDeviceCourier : public ListCourier {
  KV_CLASS(ListForm, MediumDeviceCourier, ListCourier)
 public:
  bool IsActive = true;
  int16_t DeviceKind = 3;
  kv::Member<kv::Object> Device;
};

class MediaServerCourier : public ListCourier {
  KV_CLASS(ListForm, MediaServerCourier, ListCourier)
 public:
  bool IsChecked = false;
  int16_t SupportWoL = 0;
  kv::String Address;
};

class MediaControllerCourier : public ListCourier {
  KV_CLASS(ListForm, MediaControllerCourier, ListCourier)
 public:
  bool IsChecked = false;
  kv::String MacAddress;
};

// The media row shared by the content list and the photo grid.
class MediaListItem : public ColumnRow {
  KV_CLASS(ListForm, MediaListItem, ColumnRow)
 public:
  MediaListItem();
  virtual void OnSetIsFolder(bool folder);
  // Marks the row's item as read and takes its thumbnail and metadata.
  virtual void UpdateMetadata(Media::MediaItem* data);
  void SetData(kv::Object* data) override;
  kv::Object* GetData(kv::Object* data) override;
  void Refresh() override;
  // Asks the bridge for the item's metadata when it has none yet (not for
  // folders); true when a request went out.
  bool LoadMetadata();

  bool IsFolder = false;
  kv::Member<Media::MediaItem> DataItem;
};

class MediaContentListItem : public MediaListItem {
  KV_CLASS(ListForm, MediaContentListItem, MediaListItem)
 public:
  MediaContentListItem();
  void OnSetIsFolder(bool folder) override;
  void UpdateMetadata(Media::MediaItem* data) override;
  // The folder icon at x 8, the text 4 pixels right of it.
  void Refresh() override;
  bool IsFolderIconShown() const { return icon_.IsVisible(); }

  bool IsLast = false;

 private:
  Views::Image icon_;
};

class BGMListItem : public MediaContentListItem {
  KV_CLASS(ListForm, BGMListItem, MediaContentListItem)
 public:
  BGMListItem() = default;
};

// "hh<sep>mm<sep>ss" (hours modulo 100); empty for a negative duration.
kv::String FormatDuration(int32_t seconds);

class MediaContentList : public PagedList {
  KV_CLASS(ListForm, MediaContentList, PagedList)
 public:
  MediaContentList();
  virtual void DoOnActivate(kv::Object* sender);
  virtual void DoFocus(kv::Object* sender);
  virtual void UpdateGroupInfo();
  // A new folder: the rows fill the list's height; an empty folder hides
  // the list and sends MSG_NO_MEDIA_FILES.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  int32_t GetItemsNum() override;
  void forceReload(kv::Object* sender = nullptr) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Close() override;
  // Preview timer: plays the focused file, stops on a folder.
  void StartToPlay(kv::Object* sender = nullptr);
  // One metadata request at a time, for the first row that needs one.
  void LoadItemMetadata(kv::Object* sender = nullptr);
  void StartRetrieveThumb(kv::Object* sender = nullptr) { LoadItemMetadata(sender); }
  bool IsPreviewPending() const { return preview_.IsEnabled(); }
  // The folder it shows announced a change (a page came, the folder shrank):
  // the rows are read again in place, the focus kept.
  void SourceChanged(kv::Object* sender);
  // The bridge's folder this list shows (the background-music one for BGMList).
  virtual kv::Object* ObservedSource();

  int16_t Filter = 3;
  bool IsPlayOnFocus = true;
  bool IsPreviewStarted = false;
  bool LoadMetadataEnable = true;
  int32_t PrevFocusedItemIndex = -1;
  bool IsLoaded = false;
  bool IsLoadingMetadata = false;
  int32_t PreviewIndex = -1;
  kv::Slot OnUpdateMediaInfo;
  kv::Slot OnUpdateContentInfo;
  kv::Slot OnItemActivate;

 protected:
  // The rows' focus slot: the focus action once the rows show their items.
  void FocusLater(kv::Object* sender);

 private:
  void PostedFocus(kv::Object* sender) { DoFocus(sender); }
  Core::Timer preview_;
  Core::Timer thumbs_;
};

class BGMList : public MediaContentList {
  KV_CLASS(ListForm, BGMList, MediaContentList)
 public:
  BGMList();
  int32_t GetItemsNum() override;
  void DoFocus(kv::Object* sender) override;
  void DoOnActivate(kv::Object* sender) override;
  void UpdateGroupInfo() override {}
  kv::Object* ObservedSource() override;
};

class MediumDeviceItem : public ListItem {
  KV_CLASS(ListForm, MediumDeviceItem, ListItem)
 public:
  MediumDeviceItem();
  void Refresh() override;
  void SetData(kv::Object* data) override;
  kv::Object* GetData(kv::Object* data) override;

  bool IsActive = true;
  int16_t DeviceKind = 3;
  kv::Member<kv::Object> Device;
};

// The device, server and controller lists: 20 x 20 arrows at x 440.
class MediaSetupList : public ListClass {
  KV_CLASS(ListForm, MediaSetupList, ListClass)
 public:
  MediaSetupList();
  void Refresh() override;

 private:
  Forms::ImageIndicator up_;
  Forms::ImageIndicator down_;
};

class MediumDeviceList : public MediaSetupList {
  KV_CLASS(ListForm, MediumDeviceList, MediaSetupList)
 public:
  MediumDeviceList();
  // Asks the bridge for its media afresh and counts them.
  int32_t GetItemsNum() override;
  // OK on a row: the owner launches the player on it (OnItemActivate).
  void DoOnActivateOption(kv::Object* sender);

  kv::Slot OnItemActivate;
};

class MediaServerListItem : public ColumnRow {
  KV_CLASS(ListForm, MediaServerListItem, ColumnRow)
 public:
  // The columns (x in the row) and the row's width: each column holds its
  // head in every menu language ("Nombre del dispositivo", "Réveil
  // réseau") with a few pixels to spare, and the address column the longest
  // address the format allows (six upper-case pairs), a word's space before
  // the next column.
  static constexpr int32_t kNameX = 32;
  static constexpr int32_t kAddressX = 250;
  static constexpr int32_t kWakeX = 456;
  static constexpr int32_t kRowWidth = 630;
  static constexpr int32_t kColumnGap = 4;

  MediaServerListItem();
  void SetData(kv::Object* data) override;
  kv::Object* GetData(kv::Object* data) override;
  void Refresh() override;
  void OnSetIsChecked(bool on);
  void OnSetIsSupportWoL(int16_t v);
  const kv::String& OnGetAddressText() const { return address_.OnGetString(); }
  const kv::String& OnGetWoLText() const { return wol_.OnGetString(); }

  bool IsChecked = false;
  int16_t IsSupportWoL = 0;

 private:
  Views::Image check_;
  Views::Text address_;
  Views::Text wol_;
};

class MediaServerList : public MediaSetupList {
  KV_CLASS(ListForm, MediaServerList, MediaSetupList)
 public:
  MediaServerList();
  // Refreshes the bridge's servers and counts them.
  int32_t GetItemsNum() override;
  // The table behind the rows, then the rows.
  void Refresh() override;
  // OK on a row: registers or unregisters its server now; the check shows
  // what the bridge holds afterwards.
  void DoOnActivateOption(kv::Object* sender);

 private:
  Views::Rectangle rows_[8];
  Views::Rectangle columns_[3];
};

class MediaControllerListItem : public ColumnRow {
  KV_CLASS(ListForm, MediaControllerListItem, ColumnRow)
 public:
  MediaControllerListItem();
  void SetData(kv::Object* data) override;
  kv::Object* GetData(kv::Object* data) override;
  void Refresh() override;
  void OnSetIsChecked(bool on);
  void OnSetMacAddr(const kv::String& mac);

  bool IsChecked = false;
  kv::String MacAddr;

 private:
  Views::Image check_;
  Views::Text mac_;
};

class MediaControllerList : public MediaSetupList {
  KV_CLASS(ListForm, MediaControllerList, MediaSetupList)
 public:
  MediaControllerList();
  int32_t GetItemsNum() override;
  // OK on a row: unchecks, or checks while fewer than 8 rows are checked.
  // The owner applies the marks.
  void DoOnActivateOption(kv::Object* sender);
  int32_t GetCheckedNumber();
};

}  // namespace ListForm
