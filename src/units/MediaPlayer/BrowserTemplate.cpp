#include "units/MediaPlayer/BrowserTemplate.h"

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/ref.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "strings/MediaBrowser.h"
#include "strings/Strings.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Bitmaps/BrowserBitmaps.h"
#include "units/Bitmaps/PhotoViewerBitmaps.h"
#include "units/Constants/Constants.h"
#include "units/Constants/MessageTypes.h"
#include "units/Core/Event.h"
#include "units/Events/NetworkInterfaceDownEvent.h"
#include "units/Events/NetworkInterfaceUpEvent.h"
#include "units/Events/StatusEvent.h"
#include "units/Events/XPM_EVENT_STANDBY.h"
#include "units/Fonts/Fonts.h"
#include "units/ListForm/MediaLists.h"
#include "units/Media/MediaEvents.h"
#include "units/Media/MediaWrapper.h"
#include "units/MediaPlayer/FileSize.h"
#include "units/MediaPlayer/SelectedParam.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/LocalTime.h"
#include "units/Structures/Message.h"
#include "units/SubSystem/State.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(MediaPlayer::MediaPlayerTemplate);

namespace MediaPlayer {

namespace {

using namespace keys;

// Status event kind 18 (storage), first value 5: a device was removed.
constexpr uint16_t STATUS_STORAGE = 18;
constexpr int32_t STORAGE_REMOVED = 5;
// The clock frame's right edge, and the gap round the text.
constexpr int32_t kClockRight = 950;
constexpr int32_t kClockGap = 10;

kv::String Text(const kv::MultiTextId& id) { return kv::GetVariantOfString(id); }
kv::String Text(const kv::TextId& id) { return kv::LoadString(id); }
kv::String Cat(std::initializer_list<kv::String> parts) {
  kv::String out;
  for (const kv::String& p : parts) out = kv::ConcatString(out, p);
  return out;
}

void Send(int32_t code, int32_t value, const kv::Class* target) {
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(code, nullptr, value);
  auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent);
  if (target)
    agent->DispatchTo(msg, target);
  else
    agent->Dispatch(msg);
}

}  // namespace

Media::MediaWrapper* Bridge() { return kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper); }
SkinBin::Wrapper* Settings() { return kv::GetAutoObject<SkinBin::Wrapper>(MainApp::Wrapper); }

MediaPlayerTemplate::MediaPlayerTemplate() {
  OnSetBounds({0, 0, 960, 540});
  WidgetOrigin = {0, 0};
  OnSetTimeOutValue(0);
  OnTimeOut = {};
  PrevState = KV_LATE_CLASS("MediaPlayer::MediaDeviceSelectDialog");
  Layer = 1;
  background_.OnSetBitmap(Resources::LoadResource(MediaPlayer::MediaPlayerBackground));
  background_.OnSetBounds({0, 0, 960, 540});
  folderIcon_.OnSetBitmap(Resources::LoadResource(MediaPlayer::MediaPlayerListFolderWhite));
  folderIcon_.OnSetAutoSize(true);
  folderIcon_.OnSetVisible(false);
  Resources::Font* font = Resources::LoadResource(Fonts::EPGListFont);
  for (Views::Text* t : {&sort_, &path_, &position_, &clock_, &volume_, &fileSize_}) {
    t->OnSetFont(font);
    t->OnSetColor(kv::Color{240, 240, 240, 255});
  }
  path_.OnSetEllipsis(true);
  position_.OnSetAlignH(2);
  sort_.OnSetAlignH(2);
  clockFrame_.OnSetBitmap(Resources::LoadResource(Bitmaps::EPG_PopupBackground));
  clockFrame_.OnSetOpacity(255);
  volume_.OnSetVisible(false);
  fileSize_.OnSetVisible(false);
  volumeTimer_.OnSetBegin(kVolumeShowMs);
  volumeTimer_.OnSetPeriod(0);
  volumeTimer_.OnSetEnabled(false);
  volumeTimer_.OnTrigger = kv::MakeSlot(this, &MediaPlayerTemplate::ClearVolume);
  clockTimer_.OnSetBegin(kClockRefreshMs);
  clockTimer_.OnSetPeriod(kClockRefreshMs);
  clockTimer_.OnSetEnabled(false);
  clockTimer_.OnTrigger = kv::MakeSlot(this, &MediaPlayerTemplate::UpdateClock);
  for (Core::View* v : std::initializer_list<Core::View*>{&background_, &titleIcon_, &folderIcon_, &sort_, &path_,
                                                         &position_, &clockFrame_, &clock_, &volume_, &fileSize_})
    Add(v);
}

void MediaPlayerTemplate::SetTitleIcon(const Resources::BitmapId& id) {
  titleIcon_.OnSetBitmap(Resources::LoadResource(id));
}

void MediaPlayerTemplate::SetBackground(const Resources::BitmapId& id) {
  background_.OnSetBitmap(Resources::LoadResource(id));
}

void MediaPlayerTemplate::Refresh() {
  // The background and frame of the widget base stay behind everything.
  WidgetClass::Refresh();
  background_.OnSetBounds({0, 0, 960, 540});
  titleIcon_.OnSetBounds({40, 14, 100, 54});
  folderIcon_.OnSetBounds(folderIcon_.Bounds().MoveTo({110, 62}));
  path_.OnSetBounds({140, 60, 560, 86});
  sort_.OnSetBounds({560, 60, 912, 86});
  position_.OnSetBounds({700, 470, 912, 496});
  fileSize_.OnSetBounds({560, 440, 912, 466});
  volume_.OnSetBounds({400, 14, 600, 44});
}

bool MediaPlayerTemplate::IsPhotoScreen() const { return WinID == WinIDs::WIN_ID_PhotoMultiView; }

void MediaPlayerTemplate::Initialize(Primitives::KeyRoutingParameter* param) {
  WidgetClass::Initialize(param);
  SkinBin::Wrapper* w = Settings();
  w->StartStandingAnimation();
  kv::AttachRefObserver(kv::MakeSlot(this, &MediaPlayerTemplate::SortModeChanged), w->MM_SortModeRef());
  kv::Object* p = param ? param->Param.get() : nullptr;
  if (auto* selected = kv::Cast<SelectedParam>(p)) {
    MediumIndex = selected->Medium;
    w->MediaReturnClass = selected->PrevClass;
  } else if (auto* ref = kv::Cast<SkinBin::UserRefInt>(p)) {
    RestorePosition = ref->Value;
  }
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Register(this);
  if (w->GetCurrentSource(0) != SkinBin::Wrapper::GetExtSourceId()) w->SetSource(0, SkinBin::Wrapper::GetExtSourceId());
  if (!Bridge()->GetCurMedium()) {
    OnSetShowWaiting(1);
    Bridge()->RequestBrowseMedium(MediumIndex, MediaFilter);
  }
  UpdateFolderInfo();
  UpdateSortName();
  UpdateClock();
  clockTimer_.Activate();
}

void MediaPlayerTemplate::UpdateClock(kv::Object* /*sender*/) {
  kv::Persistent<Structures::LocalTime> now(Settings()->GetCurrentTime());
  if (!now || now->Year == 0) return;
  static const kv::MultiTextId* const kDays[] = {&Strings::Sun, &Strings::Mon, &Strings::Tue, &Strings::Wed,
                                                 &Strings::Thu, &Strings::Fri, &Strings::Sat};
  static const kv::MultiTextId* const kMonths[] = {&Strings::Jan, &Strings::Feb, &Strings::Mar, &Strings::Apr,
                                                   &Strings::May, &Strings::Jun, &Strings::Jul, &Strings::Aug,
                                                   &Strings::Sep, &Strings::Oct, &Strings::Nov, &Strings::Dec};
  const kv::String sep = Text(MediaBrowser::CLOCK_SEPARATOR);
  const kv::String text =
      Cat({Text(*kDays[static_cast<uint32_t>(now->Weekday) % 7]), sep, Text(*kMonths[static_cast<uint32_t>(now->Month) % 12]),
           Text(MediaBrowser::CLOCK_SEPARATOR2), kv::String::FromUtf8(std::to_string(now->Day)), sep,
           SkinBin::Wrapper::GetTimeAMPM(now->Hour, now->Minute)});
  clock_.OnSetAutoSize(true);
  clock_.OnSetString(text);
  const int32_t w = clock_.Bounds().W();
  const int32_t h = clock_.Bounds().H();
  const int32_t textLeft = kClockRight - kClockGap - w;
  clock_.OnSetBounds({textLeft, 18, textLeft + w, 18 + h});
  clockFrame_.OnSetBounds({textLeft - kClockGap, 12, kClockRight, 24 + h});
}

void MediaPlayerTemplate::Close() {
  clockTimer_.OnSetEnabled(false);
  volumeTimer_.OnSetEnabled(false);
  WidgetClass::Close();
  Settings()->StopStandingAnimation();
  kv::DetachRefObserver(kv::MakeSlot(this, &MediaPlayerTemplate::SortModeChanged), Settings()->MM_SortModeRef());
  RemoveWarningMessage();
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->UnRegister(this);
}

void MediaPlayerTemplate::StopMedia(bool reset) {
  Media::MediaWrapper* bridge = Bridge();
  bridge->RequestStop();
  bridge->RequestBrowseMedium(-1, MediaFilter);
  if (reset) bridge->Reset();
}

void MediaPlayerTemplate::LeaveMediaPlayer(bool reset) {
  Media::MediaWrapper* bridge = Bridge();
  if (bridge->IsBgmPlaying()) bridge->RequestBgmStop();
  StopMedia(reset);
  if (IsPhotoScreen()) ForgetSlideShowMusic();
}

void MediaPlayerTemplate::ForgetSlideShowMusic() {
  // The slide show's music is stopped and forgotten, so that the next slide
  // show does not take it for playing.
  Media::MediaWrapper* bridge = Bridge();
  bridge->RequestBgmStop();
  bridge->BgmReset();
  Settings()->BackgroundMusicOnOff = 0;
}

kv::Object* MediaPlayerTemplate::HandleEvent(Core::Event* event) {
  if (auto* key = kv::Cast<Core::KeyEvent>(event)) {
    if (!key->Down) return WidgetClass::HandleEvent(event);
    switch (key->Code) {
      case KEY_EXIT:
      case KEY_EXIT_ALT:
        LeaveMediaPlayer(true);
        OnSetShowWaiting(0);
        Close();
        Settings()->SetLastSource();
        return WidgetClass::HandleEvent(event);
      case KEY_BACK: {
        OnSetShowWaiting(0);
        if (Bridge()->BrowsePreviousFolder()) {
          UpdateFolderInfo();
          UpdateMediaList();
          RemoveWarningMessage();
          return this;
        }
        LeaveMediaPlayer(false);
        Settings()->SetLastSource();
        // The base's back key posts EnterPrevState, which closes this screen.
        return WidgetClass::HandleEvent(event);
      }
      case KEY_OK:
        DoItemActivate(GetFocusItem());
        return this;
      case KEY_VOL_UP:
      case KEY_VOL_DOWN:
        UpdateVolume(key->Code);
        volumeTimer_.Activate();
        return this;
      case KEY_MUTE:
        ToggleMute();
        return this;
      default:
        return WidgetClass::HandleEvent(event);
    }
  }
  Media::MediaWrapper* bridge = Bridge();
  if (kv::Cast<Media::DataListUpdateEvent>(event)) {
    UpdateMediaList();
    return this;
  }
  if (kv::Cast<Events::NetworkInterfaceDownEvent>(event)) {
    if (bridge->GetCurMediumType() == Media::MEDIUM_SERVER) ExitByDeviceRemoved();
    return this;
  }
  if (kv::Cast<Events::NetworkInterfaceUpEvent>(event)) return this;
  if (auto* net = kv::Cast<Media::NetworkEvent>(event); net && net->Value != 0) {
    if (bridge->GetCurMediumType() == Media::MEDIUM_SERVER) ExitByDeviceRemoved();
    return this;
  }
  if (auto* status = kv::Cast<Events::StatusEvent>(event)) {
    Media::MediumDevice* medium = bridge->GetCurMedium();
    if (status->Code == STATUS_STORAGE && status->SubCode0 == STORAGE_REMOVED && medium &&
        bridge->GetCurMediumType() == Media::MEDIUM_USB && Media::UriOnRemovedDevice(medium->Uri, status->SubCode2))
      ExitByDeviceRemoved();
    return this;
  }
  if (auto* server = kv::Cast<Media::ServerEvent>(event)) {
    Media::MediumDevice* medium = bridge->GetCurMedium();
    if (server->Code == 0 && medium && !server->Text.Empty() && Media::UriWithin(medium->Uri, server->Text))
      ExitByDeviceRemoved();
    return this;
  }
  if (kv::Cast<Events::XPM_EVENT_STANDBY>(event)) {
    if (IsPhotoScreen()) ForgetSlideShowMusic();
    StopMedia(true);
    return WidgetClass::HandleEvent(event);
  }
  return WidgetClass::HandleEvent(event);
}

void MediaPlayerTemplate::ExitByDeviceRemoved() {
  if (IsPhotoScreen()) ForgetSlideShowMusic();
  StopMedia(true);
  Close();
  OnSetShowWaiting(0);
  Settings()->SetLastSource();
  Send(Constants::MSG_CLEAR_ALL, -1, nullptr);
  Send(Constants::MSG_SHOW_MESSAGE, Constants::DirectMsgTypeDeviceRemoved,
       &NonMenuSystem::NonMenuSystem::StaticClass());
}

void MediaPlayerTemplate::HandleMessage(Structures::Message* msg) {
  WidgetClass::HandleMessage(msg);
  if (!msg) return;
  switch (msg->Code) {
    case Constants::MSG_NO_MEDIA_FILES:
      ShowWarningMessage();
      break;
    case Constants::MSG_CLEAR_ALL:
      ClearNotices();
      break;
    case Constants::MSG_MM_STATUS_INFO:
      // Live TV takes the service's status events and passes each on in
      // this message: the screen acts on them as on its own events
      // (playback progress, the end of a song, a device removed).
      if (auto* status = kv::Cast<Events::StatusEvent>(msg->ObjParam.get())) HandleEvent(status);
      break;
    case Constants::MSG_EXIT_MEDIA_STATE: {
      auto* key = kv::New<Core::KeyEvent>();
      key->Initialize(KEY_EXIT_ALT, 1);
      HandleEvent(key);
      break;
    }
    default:
      break;
  }
}

void MediaPlayerTemplate::DoItemActivate(kv::Object* item) {
  auto* row = kv::Cast<ListForm::MediaListItem>(item);
  if (!row || !row->DataItem) return;
  if (row->IsFolder) {
    Bridge()->RequestBrowseFolder(row->DataItem->Uri, MediaFilter);
    OnSetShowWaiting(1);
    UpdateFolderInfo();
    UpdateMediaList();
    return;
  }
  kv::PostSignal(kv::MakeSlot(this, &MediaPlayerTemplate::LaunchSlot));
}

SubSystem::State* MediaPlayerTemplate::PhotoBrowseSwapState(const kv::Class* cls) {
  auto* param = kv::New<SelectedParam>();
  param->Medium = MediumIndex;
  param->PrevClass = Settings()->MediaReturnClass;
  auto* state = kv::New<SubSystem::State>();
  state->Class = cls;
  state->Param = param;
  state->PrevState = PrevState;
  state->NextState = NextState;
  return state;
}

void MediaPlayerTemplate::ChangeStateTo(const kv::Class* cls, kv::Object* param, const kv::Class* prev,
                                        const kv::Class* next) {
  NonMenuSystem::NonMenuSystem* owner = OnGetNonMenuSystem();
  if (!owner || !cls) return;
  auto* state = kv::New<SubSystem::State>();
  state->Class = cls;
  state->Param = param;
  state->PrevState = prev;
  state->NextState = next;
  owner->ChangeState(state);
}

void MediaPlayerTemplate::LaunchFullScreenPlayer() {
  NonMenuSystem::NonMenuSystem* owner = OnGetNonMenuSystem();
  if (!owner) return;
  const char* player = MediaFilter == Media::MEDIA_TYPE_PICTURE ? "MediaPlayer::PhotoSingleView"
                       : MediaFilter == Media::MEDIA_TYPE_VIDEO ? "MediaPlayer::MovieFullScreenPlay"
                       : MediaFilter == Media::MEDIA_TYPE_MUSIC ? "MediaPlayer::MusicFullScreenPlay"
                                                                : nullptr;
  if (!player) return;
  ListForm::MediaListItem* row = GetFocusItem();
  if (!row) return;
  auto* param = kv::New<SelectedParam>();
  param->Index = row->ItemIndex;
  Bridge()->SelectMediaItem(row->ItemIndex);
  param->PrevClass = PrevState;
  if (row->DataItem) param->Name = row->DataItem->Caption;
  kv::Persistent<SelectedParam> keep(param);
  const kv::Class* own = KvClass();
  Close();
  // The player comes back to a screen of this class.
  ChangeStateTo(kv::FindClass(player), param, own);
}

void MediaPlayerTemplate::EnterPrevState() {
  Close();
  if (!PrevState) return;
  auto* ref = kv::New<SkinBin::UserRefInt>();
  ref->Value = MediaFilter >= 1 && MediaFilter <= 3 ? MediaFilter : -1;
  ref->Flag = 1;
  ref->Code = TransitionCode();
  ChangeStateTo(PrevState, ref, Settings()->MediaReturnClass);
}

void MediaPlayerTemplate::UpdateFolderInfo() {
  Media::MediaWrapper* bridge = Bridge();
  folderIcon_.OnSetVisible(true);
  path_.OnSetVisible(true);
  const kv::String marker = Text(MediaBrowser::LEVEL_MARKER);
  if (bridge->IsInRootFolder()) {
    path_.OnSetString(marker);
    return;
  }
  const kv::String folder = bridge->GetCurrentFolder();
  const int32_t depth = bridge->GetCurrentFolderDepth();
  if (folder.Empty() || depth <= 0) return;
  kv::String text;
  for (int32_t i = 0; i < depth; ++i) text = kv::ConcatString(text, marker);
  const std::string f = folder.ToUtf8();
  const size_t slash = f.rfind('/');
  path_.OnSetString(kv::ConcatString(text, kv::String::FromUtf8(slash == std::string::npos ? f : f.substr(slash + 1))));
}

void MediaPlayerTemplate::ShowFileSize(const kv::String& path) {
  const kv::String text = FileSizeText(Settings()->GetFileSize(path));
  if (text.Empty()) {
    fileSize_.OnSetVisible(false);
    return;
  }
  fileSize_.OnSetString(text);
  fileSize_.OnSetVisible(true);
}

void MediaPlayerTemplate::HideFileSize() { fileSize_.OnSetVisible(false); }

uint16_t MediaPlayerTemplate::GetSortMode() {
  SkinBin::Wrapper* w = Settings();
  if (!w) return SORT_BY_NAME;
  const int32_t mode = w->OnGetMM_SortMode();
  return mode == SORT_NEWEST || mode == SORT_OLDEST ? static_cast<uint16_t>(mode) : SORT_BY_NAME;
}

void MediaPlayerTemplate::OnSetSortType(uint16_t type) {
  if (type == SortType) return;
  SortType = type;
  UpdateSortName();
}

void MediaPlayerTemplate::UpdateSortName() {
  kv::String name;
  if (SortType == SORT_NEWEST)
    name = Text(Strings::SID_DLNA_NEW);
  else if (SortType == SORT_OLDEST)
    name = Text(Strings::SID_DLNA_OLD);
  else if (Bridge()->GetCurMediumType() == Media::MEDIUM_SERVER)
    name = Text(Strings::SID_DLNA_CONTENT_TITLE);
  else
    name = Text(Strings::SID_DLNA_CONTENT_FILE_NAME);
  sort_.OnSetString(Cat({Text(Strings::SID_SORT), Text(MediaBrowser::SORT_SEPARATOR), name}));
}

void MediaPlayerTemplate::SortModeChanged(kv::Object* /*sender*/) {
  auto* wm = kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
  for (uint32_t id : {WinIDs::WIN_ID_PhotoMultiView, WinIDs::WIN_ID_MovieListView, WinIDs::WIN_ID_MusicListView})
    if (auto* browser = kv::Cast<MediaPlayerTemplate>(wm->FindForm(id))) {
      if (browser == this) ApplySortChange();
      return;
    }
}

void MediaPlayerTemplate::ApplySortChange() {
  OnSetSortType(GetSortMode());
  Bridge()->SetMediaSortMode(SortType);
  UpdateSortName();
  SortMediaList();
}

void MediaPlayerTemplate::SortMediaList() {
  // The service now sorts by the new mode: the open folder is read again
  // where it is (the browse stack stays), and its first page reloads the list.
  Bridge()->ReBrowseCurrentFolder();
  UpdateMediaList();
}

void MediaPlayerTemplate::UpdateVolume(uint16_t key) {
  const int32_t volume = Settings()->StepVolume(key == KEY_VOL_UP);
  volume_.OnSetString(Cat({Text(Strings::SID_VOLUME), Text(MediaBrowser::VOLUME_SEPARATOR),
                           kv::String::FromUtf8(std::to_string(volume))}));
  volume_.OnSetVisible(true);
}

void MediaPlayerTemplate::ClearVolume(kv::Object* /*sender*/) {
  volumeTimer_.OnSetEnabled(false);
  volume_.OnSetVisible(false);
}

void MediaPlayerTemplate::ToggleMute() {
  SkinBin::Wrapper* w = Settings();
  if (w->OnGetMute() != 0) {
    volume_.OnSetVisible(false);
    volumeTimer_.OnSetEnabled(false);
    w->OnSetMute(0);
    return;
  }
  volume_.OnSetString(Text(Strings::SID_MUTE_FULL));
  volume_.OnSetVisible(true);
  volumeTimer_.Activate();
  w->OnSetMute(1);
}

NonMenuSystem::DirectMessageBar* MediaPlayerTemplate::OpenNotice(const kv::String& text) {
  if (!HoldsTheKeys()) return nullptr;
  auto* bar = kv::New<NonMenuSystem::DirectMessageBar>();
  bar->OnSetBounds({230, 390, 790, 452});
  bar->WidgetOrigin = {230, 390};
  bar->OnSetMessageInfo(text);
  bar->OnSetTimeOutValue(kWarningMs);
  bar->Parent = this;
  bar->FocusOnOpen = false;
  bar->Open();
  return bar;
}

void MediaPlayerTemplate::ShowWarningMessage() {
  if (warning_) return;
  warning_ = OpenNotice(Text(Strings::SID_NO_APPLICABLE_MEDIA_FILES));
  if (warning_) warning_->OnTimeOut = kv::MakeSlot(this, &MediaPlayerTemplate::WarningMessageTimeOutSlot);
}

void MediaPlayerTemplate::RemoveWarningMessage() {
  NonMenuSystem::DirectMessageBar* bar = warning_.get();
  warning_ = nullptr;
  if (bar) bar->Close();
}

void MediaPlayerTemplate::WarningMessageTimeOutSlot(kv::Object* /*sender*/) { RemoveWarningMessage(); }

void MediaPlayerTemplate::ClearNotices() { RemoveWarningMessage(); }

void MediaPlayerTemplate::OnSetShowWaiting(int32_t value) {
  ShowWaiting = value;
  if (value >= 0) Send(Constants::MSG_SHOW_WAITING_CIRCLE, value, &NonMenuSystem::NonMenuSystem::StaticClass());
}

void MediaPlayerTemplate::HandleFocus(bool focused) {
  WidgetClass::HandleFocus(focused);
  if (focused)
    kv::PostSignal(kv::MakeSlot(this, &MediaPlayerTemplate::UpdateHelpBar));
  else
    ShowHelpBar();
}

void MediaPlayerTemplate::UpdateHelpBar(kv::Object* /*sender*/) {
  if (IsOpen() && IsFocused()) ShowHelpBar();
}

}  // namespace MediaPlayer
