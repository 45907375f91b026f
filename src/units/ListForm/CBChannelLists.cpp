#include "units/ListForm/CBChannelLists.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/ListForm.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/Bitmaps/ListBitmaps.h"
#include "units/ListForm/InputLists.h"
#include "units/ListForm/ListContext.h"
#include "units/ListForm/ListGetters.h"
#include "units/SkinBin/ChannelListData.h"
#include "units/SkinBin/HdmiCecData.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/VirtualChannel.h"

namespace ListForm {

using namespace keys;

KV_REGISTER_CLASS(ListForm::CBChannelList);
KV_REGISTER_CLASS(ListForm::CBFavoritesList);

namespace {

// The minor number a channel row shows: the alternative one when there is one.
int32_t ShownMinor(const SkinBin::ChannelData* c) { return c->AltMinor >= 0 ? c->AltMinor : c->Minor; }

// The current channel's number, or (-2, -2) off the tuner.
Structures::VirtualChannel* Current(SkinBin::Wrapper* w) { return w->GetCurrentChannel(); }

Structures::VirtualChannel* Channel(int32_t major, int32_t minor) {
  auto* v = kv::New<Structures::VirtualChannel>();
  v->Major = major;
  v->Minor = minor;
  return v;
}

}  // namespace

// --- All channels ---------------------------------------------------------------------

CBChannelList::CBChannelList() { ItemClass = &CBChannelListItem::StaticClass(); }

void CBChannelList::Initialize(Primitives::KeyRoutingParameter* param) {
  if (SkinBin::Wrapper* w = SkinWrapper()) {
    const bool flag = w->OnGetChannelTuningMode() == 2 && w->OnGetAntCableIn() == 0;
    w->GetChannelListData()->LoadGuideChannelTable(flag);
  }
  CBListClass::Initialize(param);
}

int32_t CBChannelList::GetItemsNum() {
  SkinBin::Wrapper* w = SkinWrapper();
  return w ? w->GetChannelListData()->GetNumChannels() : 0;
}

int32_t CBChannelList::GetFocusItemIndex() {
  SkinBin::Wrapper* w = SkinWrapper();
  if (!w) return 0;
  Structures::VirtualChannel* now = Current(w);
  return std::max(0, w->GetChannelListData()->GetChannelIndexInTable(now->Major, now->Minor));
}

void CBChannelList::TuneAction() {
  auto* tile = kv::Cast<CBChannelListItem>(FocusedTile());
  SkinBin::Wrapper* w = SkinWrapper();
  if (tile && w && tile->Major != -2) {
    Structures::VirtualChannel* now = Current(w);
    if (tile->Major != now->Major || tile->Minor != now->Minor) w->SetChannel(tile->Major, tile->Minor, true, true);
  }
  CBListClass::TuneAction();
}

kv::Object* GetChannelBrowserItemData(ListDataSource* /*source*/, ListClass* /*list*/, int32_t i) {
  auto* c = kv::New<CBChannelListCourier>();
  c->ItemIndex = i;
  SkinBin::Wrapper* w = SkinWrapper();
  SkinBin::ChannelData* record = w ? w->GetChannelListData()->GetChannel(i) : nullptr;
  if (!record) {
    c->Major = -2;
    c->Minor = -2;
    c->LabelText = kv::GetVariantOfString(NO_PROGRAMME);
    return c;
  }
  c->SourceId = record->SourceId;
  c->SourceType = record->SourceType;
  c->Major = record->Major;
  c->Minor = ShownMinor(record);
  c->ChannelKind = record->IsDigital;
  c->LabelText = record->Name;
  return c;
}

// --- Favourites ----------------------------------------------------------------------------

CBFavoritesList::CBFavoritesList() {
  ItemClass = &CBFavHistoryListItem::StaticClass();
  hint_.OnSetVisible(false);
  hint_.OnSetBounds({600, -40, 858, -2});
  const kv::MultiTextId* texts[] = {&HOLD_3_SEC, &TO_ADD, &TO_DEL};
  Views::Text* views[] = {&hintHold_, &hintAdd_, &hintDel_};
  for (int k = 0; k < 3; ++k) {
    views[k]->OnSetFont(Resources::LoadResource(Fonts::SmallestFont));
    views[k]->OnSetString(kv::GetVariantOfString(*texts[k]));
    views[k]->OnSetBounds({4, 2 + 12 * k, 120, 14 + 12 * k});
    hint_.Add(views[k]);
  }
  hintAddKey_.OnSetBitmap(Resources::LoadResource(Bitmaps::ChBrowserFB));
  hintDelKey_.OnSetBitmap(Resources::LoadResource(Bitmaps::ChBrowserMinus));
  hintAddKey_.OnSetBounds({124, 2, 154, 18});
  hintDelKey_.OnSetBounds({124, 20, 148, 36});
  hint_.Add(&hintAddKey_);
  hint_.Add(&hintDelKey_);
  Add(&hint_);
}

void CBFavoritesList::LoadRing() {
  if (SkinBin::Wrapper* w = SkinWrapper()) w->GetChannelListData()->LoadFavoritesChannels(FavoriteRing);
}

void CBFavoritesList::Initialize(Primitives::KeyRoutingParameter* param) {
  SkinBin::Wrapper* w = SkinWrapper();
  const int32_t which = w ? w->OnGetCurrentCBList() : 0;
  FavoriteRing = which == 5 ? 2 : which == 6 ? 3 : 1;
  LoadRing();
  CBListClass::Initialize(param);
}

int32_t CBFavoritesList::GetItemsNum() {
  SkinBin::Wrapper* w = SkinWrapper();
  return w ? w->GetChannelListData()->GetNumChannels() : 0;
}

int32_t CBFavoritesList::GetFocusItemIndex() {
  SkinBin::Wrapper* w = SkinWrapper();
  if (!w) return 0;
  SkinBin::ChannelListData* table = w->GetChannelListData();
  const int32_t source = w->GetCurrentSource(0);
  const bool tuner = IsTunerType(w->GetSourceType(source));
  Structures::VirtualChannel* now = Current(w);
  for (int32_t i = 0; i < table->GetNumChannels(); ++i) {
    SkinBin::ChannelData* c = table->GetChannel(i);
    if (c->SourceId != source) continue;
    if (!tuner || (c->Major == now->Major && c->Minor == now->Minor)) return i;
  }
  return 0;
}

kv::Object* CBFavoritesList::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down) {
    if (key->Code == KEY_GREEN || key->Code == KEY_RED) {
      if (key->Code == KEY_GREEN)
        AddSourceToFav();
      else
        RemoveSourcefromFav();
      kv::Signal(FocusMove, this);
      return this;
    }
    if (key->Code == KEY_FAV || key->Code == KEY_FAV_ALT) {
      Core::KeyEvent right;
      right.Initialize(IncreaseKey, 1);
      return CBListClass::HandleEvent(&right);
    }
  }
  return CBListClass::HandleEvent(event);
}

void CBFavoritesList::AddSourceToFav() {
  SkinBin::Wrapper* w = SkinWrapper();
  if (!w || !IsTunerType(w->GetSourceType(w->GetCurrentSource(0)))) return;
  w->AddChannelToRing(FavoriteRing, Current(w));
  RefreshFavList();
}

void CBFavoritesList::RemoveSourcefromFav() {
  auto* tile = kv::Cast<CBFavHistoryListItem>(FocusedTile());
  SkinBin::Wrapper* w = SkinWrapper();
  // With no tile focused there is nothing to remove.
  if (tile && w) w->RemoveChannelFromRing(FavoriteRing, Channel(tile->Major, tile->Minor));
  RefreshFavList();
}

void CBFavoritesList::RefreshFavList() {
  LoadRing();
  const int32_t n = std::max(0, GetItemsNum());
  kv::Trace("ListForm::CBFavoritesList: %i channels in ring %i", {n, FavoriteRing});
  OnSetItemNum(std::min(MaxRows, n));
  if (DataSource) DataSource->Num = n;
  Reload();
  FocusOnFocusItem();
  FrameTheFocusedTile();
}

void CBFavoritesList::TuneAction() {
  auto* tile = kv::Cast<CBFavHistoryListItem>(FocusedTile());
  SkinBin::Wrapper* w = SkinWrapper();
  if (tile && w) {
    if (IsTunerType(tile->SourceType)) {
      w->SetChannel(tile->Major, tile->Minor, true, true);
    } else if (!IsInputLock(tile->SourceId)) {
      if (tile->IsCec) w->GetHdmiCecData()->SetHdmiCecAddr(tile->SourceId, tile->CecAddress);
      w->SetSource(0, tile->SourceId);
    }
  }
  CBListClass::TuneAction();
}

kv::Object* GetFavBrowserItemData(ListDataSource* /*source*/, ListClass* /*list*/, int32_t i) {
  auto* c = kv::New<CBFavHistoryListCourier>();
  c->ItemIndex = i;
  SkinBin::Wrapper* w = SkinWrapper();
  SkinBin::ChannelData* record = w ? w->GetChannelListData()->GetChannel(i) : nullptr;
  if (!record) return c;
  c->Major = record->Major;
  c->Minor = ShownMinor(record);
  c->ChannelKind = record->IsDigital;
  c->Text = record->Name;
  c->SourceType = record->SourceType;
  c->SourceId = record->SourceId;
  if (SkinBin::CecDeviceEntry* dev = w->GetHdmiCecData()->IsCecDeviceConnected(record->SourceId)) {
    c->IsCec = true;
    c->LabelText = dev->Name;
    c->CecAddress = static_cast<uint8_t>(dev->LogicalAddress);
  } else {
    c->LabelText = record->Name;
  }
  return c;
}

}  // namespace ListForm
