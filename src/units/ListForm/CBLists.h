// The channel-browser strips: six tiles along the bottom of the picture,
// moved with left and right, from which the viewer picks a channel
// (ListForm::CBChannelList), an input (CBInputList), an HDMI-CEC device
// (CBCECList), a recently watched source (CBHistoryList) or a favourite
// (CBFavoritesList, CBChannelLists.h). With the Navigation setting on a strip tunes 300 ms
// after the viewer last moved the focus (left, right); otherwise OK tunes. The
// focus a strip takes when it opens, or after a tune or a favourite change
// brought it back to the current channel, is no move and tunes nothing.
#pragma once

#include <cstdint>

#include "runtime/slot.h"
#include "runtime/string.h"
#include "units/Core/Timer.h"
#include "units/Core/Group.h"
#include "units/Forms/ImageIndicator.h"
#include "units/ListForm/ListClass.h"
#include "units/ListForm/ListCourier.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/Views/Image.h"
#include "units/Views/Text.h"

namespace ListForm {

// Delay between the last move and the tuning in navigation mode.
inline constexpr int32_t kBrowserTuneMs = 300;

class CBListCourier : public ListCourier {
  KV_CLASS(ListForm, CBListCourier, ListCourier)
 public:
  kv::String LabelText;
  int32_t SourceType = 0;
  int32_t SourceId = 0;
};

class CBInputListCourier : public CBListCourier {
  KV_CLASS(ListForm, CBInputListCourier, CBListCourier)
};

class CBChannelListCourier : public CBListCourier {
  KV_CLASS(ListForm, CBChannelListCourier, CBListCourier)
 public:
  uint8_t ChannelKind = 0;
  int32_t Major = 0;
  int32_t Minor = 0;
};

class CBCECListCourier : public CBListCourier {
  KV_CLASS(ListForm, CBCECListCourier, CBListCourier)
 public:
  uint8_t CecAddress = 0;
};

class CBFavHistoryListCourier : public CBListCourier {
  KV_CLASS(ListForm, CBFavHistoryListCourier, CBListCourier)
 public:
  uint8_t ChannelKind = 0;
  bool IsCec = false;
  uint8_t CecAddress = 0;
  int32_t Major = 0;
  int32_t Minor = 0;
};

// A tile: the source icon, the main text, the label under it and a small
// name text (hidden unless a kind shows it).
class CBListItem : public ListItem {
  KV_CLASS(ListForm, CBListItem, ListItem)
 public:
  CBListItem();
  void SetData(kv::Object* data) override;
  kv::Object* GetData(kv::Object* data) override;
  void Refresh() override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

  void OnSetLabelText(const kv::String& text);
  const kv::String& OnGetLabelText() const { return label_.OnGetString(); }
  void OnSetSourceType(int32_t type);
  int32_t OnGetSourceType() const { return SourceType; }
  void OnSetNameText(const kv::String& text);

  int32_t SourceType = 0;
  int32_t SourceId = 0;

 protected:
  Views::Text& NameView() { return name_; }

 private:
  void Layout();

  Views::Image icon2_;
  Views::Text label_;
  Views::Text name_;
};

class CBInputListItem : public CBListItem {
  KV_CLASS(ListForm, CBInputListItem, CBListItem)
 public:
  CBInputListItem();
};

class CBChannelListItem : public CBListItem {
  KV_CLASS(ListForm, CBChannelListItem, CBListItem)
 public:
  void SetData(kv::Object* data) override;
  uint8_t ChannelKind = 0;
  int32_t Major = 0;
  int32_t Minor = 0;
};

class CBCECListItem : public CBListItem {
  KV_CLASS(ListForm, CBCECListItem, CBListItem)
 public:
  void SetData(kv::Object* data) override;
  uint8_t CecAddress = 0;
};

class CBFavHistoryListItem : public CBListItem {
  KV_CLASS(ListForm, CBFavHistoryListItem, CBListItem)
 public:
  CBFavHistoryListItem();
  void SetData(kv::Object* data) override;
  uint8_t ChannelKind = 0;
  bool IsCec = false;
  uint8_t CecAddress = 0;
  int32_t Major = 0;
  int32_t Minor = 0;
};

class CBListClass : public ListClass {
  KV_CLASS(ListForm, CBListClass, ListClass)
 public:
  CBListClass();

  // Chooses tune-on-focus or tune-on-OK by the Navigation setting, then the
  // engine's start-up.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void InitializeItems() override;
  void Refresh() override;
  // Keys of the engine; notes that the focus moves by the viewer's key.
  kv::Object* HandleEvent(Core::Event* event) override;
  // Tunes what the focused tile stands for; the base updates the banner.
  virtual void TuneAction();
  // Restarts the 300 ms tune timer (the focus slot in navigation mode) when
  // the viewer's key moved the focus.
  void DoFocus(kv::Object* sender);
  // True when the input may not be selected now (input lock on and not a
  // tuner input).
  bool IsInputLock(int32_t source);
  bool IsTunePending() const { return timer_.IsEnabled(); }

  kv::Slot OnUpdateBanner;

 protected:
  // The focused tile, or null; a tile hidden (its entry gone) stands for nothing.
  CBListItem* FocusedTile() {
    auto* tile = kv::Cast<CBListItem>(GetFocusedRow());
    return tile && tile->IsVisible() ? tile : nullptr;
  }
  // The focus frame stands on the focused tile, and goes when no tile is
  // left: a strip emptied looks as one opened empty.
  void FrameTheFocusedTile();

 private:
  void TuneSlot(kv::Object* sender);

  // True while a key of the viewer is being handled.
  bool viewerMove_ = false;
  SkinBin::CBFocusFrame focusFrame_;
  Core::Timer timer_;
  Forms::ImageIndicator left_;
  Forms::ImageIndicator right_;
};

class CBInputList : public CBListClass {
  KV_CLASS(ListForm, CBInputList, CBListClass)
 public:
  CBInputList();
  int32_t GetItemsNum() override;
  int32_t GetFocusItemIndex() override;
  void TuneAction() override;
};

class CBCECList : public CBListClass {
  KV_CLASS(ListForm, CBCECList, CBListClass)
 public:
  CBCECList();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  int32_t GetItemsNum() override;
  int32_t GetFocusItemIndex() override;
  void TuneAction() override;
};

class CBHistoryList : public CBListClass {
  KV_CLASS(ListForm, CBHistoryList, CBListClass)
 public:
  CBHistoryList();
  // Records the current source in the history first.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  int32_t GetItemsNum() override;
  int32_t GetFocusItemIndex() override;
  void TuneAction() override;
};

}  // namespace ListForm
