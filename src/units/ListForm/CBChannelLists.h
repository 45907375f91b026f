// The channel-browser strips over the channel table: every channel of the
// guide table (ListForm::CBChannelList) and the channels of one favourite
// ring (ListForm::CBFavoritesList, which also adds and removes them).
#pragma once

#include <cstdint>

#include "units/ListForm/CBLists.h"

namespace ListForm {

class CBChannelList : public CBListClass {
  KV_CLASS(ListForm, CBChannelList, CBListClass)
 public:
  CBChannelList();
  // Loads the guide channel table first.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  int32_t GetItemsNum() override;
  int32_t GetFocusItemIndex() override;
  void TuneAction() override;
};

class CBFavoritesList : public CBListClass {
  KV_CLASS(ListForm, CBFavoritesList, CBListClass)
 public:
  CBFavoritesList();
  // Loads the ring of the current browser list first.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  int32_t GetItemsNum() override;
  int32_t GetFocusItemIndex() override;
  // 21 adds the current channel, 20 removes the focused one; 100 and 110
  // move right.
  kv::Object* HandleEvent(Core::Event* event) override;
  void TuneAction() override;
  void AddSourceToFav();
  void RemoveSourcefromFav();
  // Reloads the ring and lands back on the current channel.
  void RefreshFavList();

  int32_t FavoriteRing = 1;

 private:
  void LoadRing();

  Core::Group hint_;
  Views::Text hintHold_;
  Views::Text hintAdd_;
  Views::Text hintDel_;
  Views::Image hintAddKey_;
  Views::Image hintDelKey_;
};

}  // namespace ListForm
