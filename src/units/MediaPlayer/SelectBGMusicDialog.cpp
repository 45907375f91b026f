#include "units/MediaPlayer/SelectBGMusicDialog.h"

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/trace.h"
#include "strings/Media.h"
#include "strings/MediaPlayerDialogs.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/BrowserBitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Constants/MessageTypes.h"
#include "units/Core/Event.h"
#include "units/Events/NetworkInterfaceDownEvent.h"
#include "units/Events/NetworkInterfaceUpEvent.h"
#include "units/Events/StatusEvent.h"
#include "units/Fonts/Fonts.h"
#include "units/Media/MediaEvents.h"
#include "units/Media/MediaWrapper.h"
#include "units/MediaPlayer/PhotoFullViewBanner.h"
#include "units/MediaPlayer/PhotoSingleView.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/NonMenuSystem/OptionBinding.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(MediaPlayer::SelectBGMusicDialog);

namespace MediaPlayer {

using namespace ::MediaPlayerDialogs;

namespace {
using namespace keys;

// Select, page and back.
constexpr uint32_t kHelpMask = 0x40a00;
constexpr int32_t kDeviceStatus = 18;
constexpr int32_t kDeviceRemoved = 5;
// The slide show's advance report.
constexpr int32_t kSlideAdvanced = 27;
constexpr int32_t kWidth = 450;
constexpr int32_t kHeight = 200;

Media::MediaWrapper* Bridge() { return kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper); }

WidgetManager::WidgetManager* Manager() {
  return kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
}

void Send(int32_t code, int32_t value, const kv::Class* target) {
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(code, nullptr, value);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Dispatch(msg, target);
}

// True when the removal event takes away the medium being browsed.
bool TakesCurrentMedium(Core::Event* event) {
  Media::MediaWrapper* bridge = Bridge();
  Media::MediumDevice* medium = bridge->GetCurMedium();
  if (!medium) return false;
  if (auto* status = kv::Cast<Events::StatusEvent>(event))
    return medium->Kind == Media::MEDIUM_USB && Media::UriOnRemovedDevice(medium->Uri, status->SubCode2 & 0xFFFF);
  if (auto* server = kv::Cast<Media::ServerEvent>(event)) return Media::UriWithin(medium->Uri, server->Text);
  return medium->Kind == Media::MEDIUM_SERVER;
}
}  // namespace

SelectBGMusicDialog::SelectBGMusicDialog() {
  WinID = WinIDs::WIN_ID_BGM_SELECT;
  KeyRoutingForm::OnSetBounds({0, 0, kWidth, kHeight});
  OnSetCaption(kv::GetVariantOfString(SID_SELECT_MUSIC));
  PrevState = NextState = KV_LATE_CLASS("QuickMenu::BgMusicMenu");
  folderIcon_.OnSetBitmap(Resources::LoadResource(MediaPlayerListFolderWhite));
  folderIcon_.OnSetAutoSize(true);
  folderIcon_.OnSetVisible(false);
  path_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  path_.OnSetColor(Colors::StandardTextColor);
  path_.OnSetAutoSize(true);
  list_.OnSetBounds({15, 76, kWidth - 15, kHeight - 10});
  list_.OnItemActivate = kv::MakeSlot(this, &SelectBGMusicDialog::DoItemActivate);
  Add(&folderIcon_);
  Add(&path_);
  Add(&list_);
  OnSetFocus(&list_);
  SelectBGMusicDialog::Refresh();
}

void SelectBGMusicDialog::Refresh() {
  MediaPlayerDialogTemplate::Refresh();
  const int32_t y = caption_.Bounds().y2 + 8;
  const kv::Rect icon = folderIcon_.Bounds();
  folderIcon_.OnSetBounds(kv::Rect{0, 0, icon.W(), icon.H()}.MoveTo({20, y + 2}));
  const kv::Rect text = path_.Bounds();
  path_.OnSetBounds(kv::Rect{0, 0, text.W(), text.H()}.MoveTo({20 + icon.W() + 6, y}));
}

void SelectBGMusicDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  MediaPlayerDialogTemplate::Initialize(param);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Register(this);
  Bridge()->RequestBgmBrowse(kv::LoadString(Media::BGM_ROOT));
  UpdateFolderInfo();
  NonMenuSystem::OptionBinding::ShowHelp(
      this, kHelpMask,
      {kv::GetVariantOfString(SID_SELECT), kv::GetVariantOfString(SID_PAGE), kv::GetVariantOfString(SID_BACK)});
  OnSetShowWaiting(1);
  UpdateList();
}

void SelectBGMusicDialog::OnSetShowWaiting(int32_t v) {
  ShowWaiting = v;
  if (v >= 0) Send(Constants::MSG_SHOW_WAITING_CIRCLE, v, &NonMenuSystem::NonMenuSystem::StaticClass());
}

void SelectBGMusicDialog::UpdateList() {
  UpdateFolderInfo();
  if (!Bridge()->IsBgmBrowseDataReady()) {
    list_.OnSetVisible(false);
    return;
  }
  auto* param = kv::New<Primitives::KeyRoutingParameter>();
  param->Owner = this;
  list_.Initialize(param);
  list_.Open();
  list_.OnSetVisible(true);
  OnSetFocus(&list_);
  OnSetShowWaiting(0);
}

void SelectBGMusicDialog::UpdateFolderInfo() {
  Media::MediaWrapper* bridge = Bridge();
  const kv::String mark = kv::LoadString(FOLDER_MARK);
  if (bridge->IsInBgmRootFolder()) {
    folderIcon_.OnSetVisible(false);
    path_.OnSetString(mark);
  } else {
    folderIcon_.OnSetVisible(true);
    const kv::String folder = bridge->GetBgmCurrentFolder();
    const int32_t depth = bridge->GetBgmCurrentFolderDepth();
    if (!folder.Empty() && depth > 0) {
      kv::String text;
      for (int32_t i = 0; i < depth; ++i) text = kv::ConcatString(text, mark);
      int32_t slash = -1;
      for (int32_t i = 0; i < folder.Length(); ++i)
        if (folder.At(i) == u'/') slash = i;
      text = kv::ConcatString(text, slash < 0 ? folder : kv::StringMiddle(folder, slash + 1, folder.Length() - slash - 1));
      path_.OnSetString(text);
    }
  }
  Refresh();
}

void SelectBGMusicDialog::DoItemActivate(kv::Object* sender) {
  auto* row = kv::Cast<ListForm::BGMListItem>(sender);
  Media::MediaItem* item = row ? row->DataItem.get() : nullptr;
  if (!item) return;
  Media::MediaWrapper* bridge = Bridge();
  if (row->IsFolder || item->Type == Media::ITEM_TYPE_FOLDER) {
    bridge->RequestBgmBrowse(item->Uri);
    OnSetShowWaiting(1);
    UpdateList();
    return;
  }
  bridge->RequestBgmStop();
  bridge->SetBgmPlaylist(5, item);
  auto* w = kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<kv::Object>(MainApp::Wrapper));
  if (w && w->OnGetBackgroundMusicOnOff() == 1 && w->OnGetIsSlideshow()) bridge->RequestBgmPlay();
  if (auto* viewer = kv::Cast<PhotoSingleView>(Manager()->FindForm(WinIDs::WIN_ID_PhotoSingleView)))
    if (PhotoFullViewBanner* banner = viewer->Banner()) banner->OnSetIsBGM(bridge->IsBgmPlaying());
  if (NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem()) s->ClearHelpBar();
  EnterPrevState();
}

void SelectBGMusicDialog::Leave() {
  Close();
  if (NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem()) s->ClearHelpBar();
  OnSetShowWaiting(0);
}

void SelectBGMusicDialog::Close() {
  const bool wasOpen = IsOpen();
  list_.Close();
  MediaPlayerDialogTemplate::Close();
  if (wasOpen) kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->UnRegister(this);
}

void SelectBGMusicDialog::HandleMessage(Structures::Message* msg) {
  MediaPlayerDialogTemplate::HandleMessage(msg);
  if (msg->Code != Constants::MSG_MM_STATUS_INFO || !IsOpen()) return;
  if (auto* status = kv::Cast<Events::StatusEvent>(msg->ObjParam.get())) HandleEvent(status);
}

void SelectBGMusicDialog::ExitByDeviceRemoved(Core::Event* removal) {
  kv::Trace("%s", {kv::LoadString(T_BGM_REMOVED)});
  Leave();
  // The photo viewer under the dialog leaves by its own road, which tells
  // the user and gives the set its source back.
  if (Primitives::KeyRoutingForm* viewer = Manager()->FindForm(WinIDs::WIN_ID_PhotoSingleView)) {
    viewer->HandleEvent(removal);
    return;
  }
  Send(Constants::MSG_CLEAR_ALL, -1, nullptr);
  Send(Constants::MSG_SHOW_MESSAGE, Constants::DirectMsgTypeDeviceRemoved,
       &NonMenuSystem::NonMenuSystem::StaticClass());
}

kv::Object* SelectBGMusicDialog::HandleEvent(Core::Event* event) {
  if (auto* key = kv::Cast<Core::KeyEvent>(event); key && key->Down) {
    switch (key->Code) {
      case KEY_OK:
      case KEY_PLAY:
        DoItemActivate(list_.GetFocusedRow());
        return this;
      case KEY_EXIT:
      case KEY_EXIT_ALT:
        Leave();
        return MediaPlayerDialogTemplate::HandleEvent(event);
      case KEY_BACK:
        OnSetShowWaiting(0);
        if (Bridge()->BrowseBgmPreviousFolder()) {
          UpdateList();
          return this;
        }
        Close();
        if (NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem()) s->ClearHelpBar();
        return MediaPlayerDialogTemplate::HandleEvent(event);
      default:
        return MediaPlayerDialogTemplate::HandleEvent(event);
    }
  }
  if (kv::Cast<Media::DataListUpdateEvent>(event)) {
    UpdateList();
    return this;
  }
  auto* network = kv::Cast<Media::NetworkEvent>(event);
  if (kv::Cast<Events::NetworkInterfaceDownEvent>(event) || (network && network->Value != 0)) {
    if (!TakesCurrentMedium(event)) return MediaPlayerDialogTemplate::HandleEvent(event);
    ExitByDeviceRemoved(event);
    return this;
  }
  if (kv::Cast<Events::NetworkInterfaceUpEvent>(event)) return this;
  if (auto* status = kv::Cast<Events::StatusEvent>(event)) {
    if (status->Code == kDeviceStatus) {
      if (status->SubCode0 == kDeviceRemoved && TakesCurrentMedium(event)) ExitByDeviceRemoved(event);
    } else if (status->Code == kSlideAdvanced) {
      if (Primitives::KeyRoutingForm* viewer = Manager()->FindForm(WinIDs::WIN_ID_PhotoSingleView))
        viewer->HandleEvent(event);
    }
    return this;
  }
  if (kv::Cast<Media::PictureEvent>(event)) {
    if (Primitives::KeyRoutingForm* viewer = Manager()->FindForm(WinIDs::WIN_ID_PhotoSingleView))
      viewer->HandleEvent(event);
    return this;
  }
  if (auto* server = kv::Cast<Media::ServerEvent>(event)) {
    if (server->Code == 0 && TakesCurrentMedium(event)) ExitByDeviceRemoved(event);
    return this;
  }
  return MediaPlayerDialogTemplate::HandleEvent(event);
}

}  // namespace MediaPlayer
