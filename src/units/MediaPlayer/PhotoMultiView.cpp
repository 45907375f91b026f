#include "units/MediaPlayer/PhotoMultiView.h"

#include <string>

#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/MediaBrowser.h"
#include "strings/NonMenuSystem.h"
#include "strings/Strings.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Bitmaps/BrowserBitmaps.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Events/StatusEvent.h"
#include "units/Fonts/Fonts.h"
#include "units/Media/DataItems.h"
#include "units/Media/MediaEvents.h"
#include "units/Media/MediaWrapper.h"
#include "units/MediaPlayer/SelectedParam.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/SubSystem/State.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(MediaPlayer::PhotoMultiView);

namespace MediaPlayer {

namespace {

constexpr uint32_t kNormalHelpMask = 0x40e00;
constexpr uint32_t kPickHelpMask = 0x40a00;
// Picture state of an item the service could not read.
constexpr uint16_t kPictureFailed = 2;
constexpr kv::Color kTextColour{240, 240, 240, 255};
// Between the header's rule (y 90) and the status line's (y 460), centred:
// the page arrows at both ends, the cells between them.
constexpr kv::Rect kGridBounds{50, 96, 910, 460};

kv::String Text(const kv::MultiTextId& id) { return kv::GetVariantOfString(id); }
kv::String Text(const kv::TextId& id) { return kv::LoadString(id); }
kv::String Number(int64_t n) { return kv::String::FromUtf8(std::to_string(n)); }
kv::String Join(std::initializer_list<kv::String> parts, const kv::String& sep) {
  kv::String out;
  bool first = true;
  for (const kv::String& p : parts) {
    if (!first) out = kv::ConcatString(out, sep);
    out = kv::ConcatString(out, p);
    first = false;
  }
  return out;
}

}  // namespace

PhotoMultiView::PhotoMultiView() {
  WinID = WinIDs::WIN_ID_PhotoMultiView;
  MediaFilter = Media::MEDIA_TYPE_PICTURE;
  SetBackground(Bitmaps::MediaPhotoBg);
  SetTitleIcon(MediaPlayer::MediaPlayerTitleIconPhoto);
  Resources::Font* font = Resources::LoadResource(Fonts::EPGListFont);
  for (Views::Text* t : {&info_, &resolution_, &title_}) {
    t->OnSetFont(font);
    t->OnSetColor(kTextColour);
    t->OnSetEllipsis(true);
  }
  prompt_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  prompt_.OnSetColor(kTextColour);
  prompt_.OnSetString(Text(Strings::SID_PHOTO_SELECT));
  prompt_.OnSetVisible(false);
  grid_.OnUpdateMediaInfo = kv::MakeSlot(this, &PhotoMultiView::MediaInfoSlot);
  grid_.OnItemActivate = kv::MakeSlot(this, &PhotoMultiView::ActivateSlot);
  grid_.OnSetBounds(kGridBounds);
  Add(&info_);
  Add(&resolution_);
  Add(&title_);
  Add(&grid_);
  Add(&prompt_);
}

void PhotoMultiView::Refresh() {
  MediaPlayerTemplate::Refresh();
  folderIcon_.OnSetBounds(folderIcon_.Bounds().MoveTo({42, 60}));
  path_.OnSetBounds({71, 60, 480, 86});
  sort_.OnSetBounds({560, 67, 912, 93});
  position_.OnSetAlignH(0);
  // One line under the grid, above the help bar: position, title,
  // resolution and file size.
  // Room for a four-digit position and count ("1000/1000"), the longest
  // resolution line ("Résolution : 1200 x 1600") and a size of ten digits
  // with its unit in every menu language; the file's name takes what is
  // left and ends in "..." when longer.
  position_.OnSetBounds({46, 464, 196, 490});
  grid_.OnSetBounds(kGridBounds);
  title_.OnSetBounds({206, 464, 370, 490});
  resolution_.OnSetBounds({380, 464, 640, 490});
  info_.OnSetBounds({46, 492, 560, 516});
  fileSize_.OnSetBounds({650, 464, 912, 490});
  prompt_.OnSetBounds({280, 20, 680, 44});
}

void PhotoMultiView::Initialize(Primitives::KeyRoutingParameter* param) {
  MediaPlayerTemplate::Initialize(param);
  auto* selected = kv::Cast<SelectedParam>(param ? param->Param.get() : nullptr);
  pickMode_ = selected && selected->PrevClass && selected->PrevClass == KV_LATE_CLASS("MediaPlayer::PhotoFrameSetup");
  if (pickMode_)
    prompt_.OnSetVisible(true);
  else
    prompt_.OnSetVisible(false);
  ShowHelpBar();
  grid_.Filter = static_cast<int16_t>(MediaFilter);
  Bridge()->SetThumbnailSize(ListForm::PhotoGridItem::kCellWidth, ListForm::PhotoGridItem::kCellHeight);
  UpdateMediaList();
}

void PhotoMultiView::Close() {
  NonMenuSystem::DirectMessageBar* bar = failure_.get();
  failure_ = nullptr;
  if (bar && bar->IsOpen()) bar->Close();
  MediaPlayerTemplate::Close();
  grid_.Close();
}

ListForm::MediaListItem* PhotoMultiView::GetFocusItem() {
  return kv::Cast<ListForm::MediaListItem>(grid_.OnGetFocus());
}

void PhotoMultiView::UpdateMediaList() {
  if (!Bridge()->IsBrowseDataReady()) {
    grid_.OnSetVisible(false);
    HideMediaInfo();
    return;
  }
  auto* param = kv::New<Primitives::KeyRoutingParameter>();
  param->Owner = this;
  grid_.Initialize(param);
  if (grid_.ItemNum < 1) {
    // Nothing to list: the grid stays hidden (it has sent the warning), and
    // the status line shows nothing of the folder shown before.
    HideMediaInfo();
    HideFileSize();
    OnSetShowWaiting(0);
    return;
  }
  if (RestorePosition > 0) {
    grid_.ScrollToFirst();
    grid_.ScrollItems(RestorePosition - 1);
    RestorePosition = -1;
  }
  grid_.OnSetVisible(true);
  OnSetFocus(&grid_);
  OnSetShowWaiting(0);
}

void PhotoMultiView::UpdateMediaInfo() {
  auto* cell = kv::Cast<ListForm::PhotoGridItem>(GetFocusItem());
  if (!cell || !cell->DataItem) {
    kv::Trace("%s", {kv::LoadString(MediaBrowser::T_FOCUS_NONE)});
    for (Core::View* v : std::initializer_list<Core::View*>{&info_, &resolution_, &title_, &position_}) v->OnSetVisible(false);
    HideFileSize();
    return;
  }
  title_.OnSetString(cell->DataItem->Caption);
  title_.OnSetVisible(true);
  position_.OnSetString(kv::ConcatString(kv::ConcatString(Number(cell->ItemIndex + 1), Text(MediaBrowser::LEVEL_MARKER)),
                                         Number(grid_.GetItemsCount())));
  position_.OnSetVisible(true);
  auto* m = cell->IsFolder ? nullptr : kv::Cast<Media::PictureMetadata>(cell->DataItem->Metadata.get());
  if (!m) {
    info_.OnSetVisible(false);
    resolution_.OnSetVisible(false);
    HideFileSize();
    return;
  }
  if (m->Width > 0 && m->Height > 0) {
    resolution_.OnSetString(kv::ConcatString(
        kv::ConcatString(kv::ConcatString(Text(Strings::SID_RESOLUTION), Text(MediaBrowser::RESOLUTION_SEPARATOR)),
                         kv::ConcatString(Number(m->Width), Text(MediaBrowser::RESOLUTION_TIMES))),
        Number(m->Height)));
    resolution_.OnSetVisible(true);
  } else {
    resolution_.OnSetVisible(false);
  }
  ShowFileSize(cell->DataItem->Uri);
}

void PhotoMultiView::HideMediaInfo() {
  for (Core::View* v : std::initializer_list<Core::View*>{&info_, &title_, &resolution_, &position_}) v->OnSetVisible(false);
}

void PhotoMultiView::ShowHelpBar() {
  NonMenuSystem::NonMenuSystem* owner = OnGetNonMenuSystem();
  if (!owner) return;
  const kv::String sep = kv::LoadString(NonMenuSystem::HELP_SEPARATOR);
  if (pickMode_)
    owner->UpdateHelp(static_cast<int32_t>(kPickHelpMask),
                      Join({Text(Strings::SID_SELECT), Text(Strings::SID_PAGE), Text(Strings::SID_BACK)}, sep));
  else
    owner->UpdateHelp(
        static_cast<int32_t>(kNormalHelpMask),
        Join({Text(Strings::SID_SELECT), Text(Strings::SID_FEATURES), Text(Strings::SID_PAGE), Text(Strings::SID_BACK)},
             sep));
}

void PhotoMultiView::LaunchFullScreenPlayer() {
  if (!pickMode_) {
    MediaPlayerTemplate::LaunchFullScreenPlayer();
    return;
  }
  ListForm::MediaListItem* cell = GetFocusItem();
  if (!cell) return;
  OnSetShowWaiting(1);
  picked_ = cell;
  // The wallpaper's orientation is reset only once the copy succeeded.
  Bridge()->CopyUserWallpaper(cell->ItemIndex, kv::LoadString(MediaBrowser::USER_WALLPAPER_NAME));
}

void PhotoMultiView::ShowCopyFailure() {
  if (failure_ && failure_->IsOpen()) return;
  failure_ = OpenNotice(Text(Strings::SID_UNSUPPORTED_FILE));
}

kv::Object* PhotoMultiView::HandleEvent(Core::Event* event) {
  if (auto* picture = kv::Cast<Media::PictureEvent>(event); picture && pickMode_) {
    OnSetShowWaiting(0);
    auto* item = kv::Cast<Media::PictureDataItem>(picture->Item.get());
    ListForm::MediaListItem* picked = picked_.get();
    if (!item || !picked || !picked->DataItem || item->Uri != picked->DataItem->Uri) return this;
    picked_ = nullptr;
    if (item->PictureState == kPictureFailed) {
      // The copy failed: the old wallpaper and its orientation stay.
      ShowCopyFailure();
      return this;
    }
    Settings()->OnSetWallpaperOrientation(0);
    auto* ref = kv::New<SkinBin::UserRefInt>();
    ref->Code = Constants::MSG_FROM_NONMENUSYSTEM;
    kv::Persistent<SkinBin::UserRefInt> keep(ref);
    StopMedia(true);
    Close();
    ChangeStateTo(KV_LATE_CLASS("MediaPlayer::PhotoFrameSetup"), ref, nullptr);
    return this;
  }
  if (auto* status = kv::Cast<Events::StatusEvent>(event); status && status->Code == 1) {
    if (Bridge()->IsBgmPlaying()) Bridge()->RequestNext();
    return this;
  }
  return MediaPlayerTemplate::HandleEvent(event);
}

void PhotoMultiView::ClearNotices() {
  if (NonMenuSystem::DirectMessageBar* bar = failure_.get(); bar && bar->IsOpen()) bar->Close();
  failure_ = nullptr;
  MediaPlayerTemplate::ClearNotices();
}

void PhotoMultiView::HandleMessage(Structures::Message* msg) {
  MediaPlayerTemplate::HandleMessage(msg);
  if (!msg || msg->Code != Constants::MSG_APPLY_PHOTO_BROWSE || Settings()->OnGetPhotoBrowseMode() != 1) return;
  NonMenuSystem::NonMenuSystem* owner = OnGetNonMenuSystem();
  if (!owner) return;
  SubSystem::State* state = PhotoBrowseSwapState(KV_LATE_CLASS("MediaPlayer::PhotoListView"));
  kv::Persistent<SubSystem::State> keep(state);
  const bool menu = MenuTriggered;
  const bool quick = OpenedFromQuickMenu();
  Close();
  auto* list = kv::Cast<NonMenuSystem::WidgetClass>(owner->ChangeState(state));
  if (list) {
    list->OnSetMenuTriggered(menu);
    list->OnSetFromQuickMenu(quick);
  }
}

}  // namespace MediaPlayer
