#include "units/Media/MediaWrapper.h"

#include <string>

#include "platform/psl/psl.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/Media.h"
#include "units/Core/Event.h"
#include "units/Core/Group.h"
#include "units/Media/MediaEvents.h"
#include "units/MainApp/WrapperAuto.h"
#include "units/Wrapper/Wrapper.h"

namespace Media {

KV_REGISTER_CLASS(Media::MediaWrapper);

kv::Object* MediaWrapper::HandleEvent(Core::Event* event) {
  if (!event) return nullptr;
  if (!Root) Root = kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper)->OnGetRoot();
  return nullptr;
}

void MediaWrapper::PslInitialize(bool dlna, bool renderer, bool access) {
  if (serviceInitialized_) return;
  const int32_t result = PslInit(globalPsl, this, dlna, renderer, access);
  if (result != PSL_OK) {
    kv::LogFailedCall("PslInit", result);
    return;
  }
  serviceInitialized_ = true;
  rendererEnabled_ = renderer;
  dlnaEnabled_ = dlna;
  const int32_t mode = !dlna ? 0 : (renderer ? 3 : 1);
  kv::Trace("%s%i", {kv::LoadString(T_SET_ENABLE_DLNA), mode});
  EnableDlna(mode);
}

void MediaWrapper::Initialize(Core::Group* root) { Root = root; }

bool MediaWrapper::IsDmrConfiged() {
  kv::Log("DMR feature is disabled");
  return false;
}

void MediaWrapper::EnableDlna(int32_t mode) {
  const int32_t result = PslMediaEnableDLNA(globalPsl, mode);
  if (result != PSL_OK) kv::LogFailedCall("PslMediaEnableDLNA", result);
}

void MediaWrapper::SetDmcAccessControl(bool on) { dmcAccessControl_ = on; }

void MediaWrapper::ResetDmcAccessControl() { controllersChanged_ = true; }

void MediaWrapper::RequestBgmStop() {
  kv::Trace("%s", {kv::LoadString(T_BGM_STOP)});
  bgmPlaying_ = false;
}

void MediaWrapper::BgmReset() {
  kv::Trace("%s", {kv::LoadString(T_BGM_RESET)});
  bgmSelected_ = false;
}

void MediaWrapper::RequestBgmPlay() {
  kv::Trace("%s", {kv::LoadString(T_BGM_PLAY)});
  // Nothing plays without a chosen playlist.
  bgmPlaying_ = bgmSelected_;
}

int32_t MediaWrapper::GetRegisteredServerCount() const {
  int32_t n = 0;
  for (size_t i = 0; i < Servers.size(); ++i)
    if (Servers[i] && Servers[i]->Registered) ++n;
  return n;
}

MediaItem* MediaWrapper::GetMediaItem(int32_t i) const {
  return i >= 0 && i < GetMediaItemCount() ? Items[static_cast<size_t>(i)] : nullptr;
}

void MediaWrapper::SelectMediaItem(int32_t i) {
  kv::Trace("%s%i", {kv::LoadString(T_SELECT_ITEM), i});
  selectedItem_ = i;
}

int32_t MediaWrapper::RequestMetadata(int32_t i) {
  MediaItem* item = GetMediaItem(i);
  if (!item || item->Type == MEDIA_TYPE_FOLDER) return 0;
  kv::Trace("%s%i", {kv::LoadString(T_REQUEST_METADATA), i});
  metadataAnswers_.push_back(i);
  kv::PostSignal(kv::MakeSlot(this, &MediaWrapper::DeliverMetadata));
  return 1;
}

void MediaWrapper::DeliverMetadata(kv::Object* /*sender*/) {
  if (metadataAnswers_.empty()) return;
  const int32_t index = metadataAnswers_.front();
  metadataAnswers_.erase(metadataAnswers_.begin());
  if (!Root) Root = kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper)->OnGetRoot();
  if (!Root) return;
  auto* event = kv::New<MetadataReadyEvent>();
  event->ItemIndex = index;
  Root->DispatchEvent(event);
}

void MediaWrapper::RequestPlay(MediaItem* item, int32_t mode) {
  kv::Trace("%s%s%i", {kv::LoadString(T_REQUEST_PLAY), item ? item->Caption : kv::String(), mode});
  playing_ = item;
}

void MediaWrapper::RequestMoviePreviewPlay(MediaItem* item, int32_t mode) {
  kv::Trace("%s%s%i", {kv::LoadString(T_REQUEST_PREVIEW), item ? item->Caption : kv::String(), mode});
  playing_ = item;
}

void MediaWrapper::RequestStop() {
  kv::Trace("%s", {kv::LoadString(T_REQUEST_STOP)});
  playing_ = nullptr;
}

void MediaWrapper::SetRepeatMode(int32_t mode) { repeatMode_ = mode; }

MediaItem* MediaWrapper::GetBgmItem(int32_t i) const {
  return i >= 0 && i < GetBgmItemCount() ? BgmTracks[static_cast<size_t>(i)] : nullptr;
}

void MediaWrapper::SelectBgmItem(int32_t i) {
  selectedBgm_ = i;
  bgmSelected_ = GetBgmItem(i) != nullptr;
}

void MediaWrapper::RequestMediumList() { kv::Trace("%s", {kv::LoadString(T_REQUEST_MEDIA)}); }

MediumRecord* MediaWrapper::GetMedium(int32_t i) const {
  return i >= 0 && i < GetMediumCount() ? Media[static_cast<size_t>(i)] : nullptr;
}

void MediaWrapper::GetMediaServerList() { kv::Trace("%s", {kv::LoadString(T_REQUEST_SERVERS)}); }

MediaServerRecord* MediaWrapper::GetMediaServer(int32_t i) const {
  return i >= 0 && i < GetMediaServerCount() ? Servers[static_cast<size_t>(i)] : nullptr;
}

int32_t MediaWrapper::RegisterMediaServer(int32_t i) {
  MediaServerRecord* server = GetMediaServer(i);
  if (!server) return 0;
  if (server->Registered) return 1;
  if (GetRegisteredServerCount() >= 8) {
    kv::Log("MediaWrapper: 8 media servers are registered; server " + std::to_string(i) + " is not");
    return 0;
  }
  server->Registered = true;
  return 1;
}

int32_t MediaWrapper::UnRegisterMediaServer(int32_t i) {
  MediaServerRecord* server = GetMediaServer(i);
  if (!server) return 0;
  server->Registered = false;
  return 1;
}

void MediaWrapper::RequestMediaControllorList() { kv::Trace("%s", {kv::LoadString(T_REQUEST_CONTROLLERS)}); }

MediaControllerRecord* MediaWrapper::GetMediaControllor(int32_t i) const {
  return i >= 0 && i < GetMediaControllorCount() ? Controllers[static_cast<size_t>(i)] : nullptr;
}

void MediaWrapper::SetVideoPreviewWindow(int32_t x, int32_t y, int32_t width, int32_t height) {
  kv::Trace("%s%i%i%i%i", {kv::LoadString(T_VIDEO_PREVIEW), x, y, width, height});
}

}  // namespace Media
