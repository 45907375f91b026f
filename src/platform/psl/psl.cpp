#include "platform/psl/psl.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>

#include "platform/psl/psl_knobs.h"
#include "platform/psl/psl_service.h"
#include "platform/sim/sim.h"
#include "runtime/trace.h"

PslHandle globalPsl = nullptr;

namespace psl {
namespace {

std::mutex g_mutex;  // the service pointer, the exports and the settings below (a leaf)
std::shared_ptr<Service> g_service;
PslExports g_exports;
std::vector<std::string> g_startupFolders;
std::string g_defaultWallpaper;
int64_t g_delay = 0;
bool g_neverAnswer = false;
bool g_failDecode = false;
int64_t g_positionAhead = 0;
int g_handleWord = 0;  // what globalPsl points at

std::shared_ptr<Service> Running() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_service;
}

}  // namespace

PslExports Exports() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_exports;
}
Knobs GetKnobs() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return Knobs{g_delay, g_neverAnswer, g_failDecode, g_positionAhead, g_defaultWallpaper};
}

void SetExports(const PslExports& exports) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_exports = exports;
}

int32_t PlugFolder(const std::string& folder) {
  if (auto s = Running()) return s->Plug(folder);
  kv::Log("media service: not started, \"" + kv::EscapedText(folder, kv::kMaxLoggedPath) + "\" not plugged");
  return 0;
}

void Unplug(int32_t number) {
  if (auto s = Running()) s->Unplug(number);
}

void Rescan() {
  if (auto s = Running()) s->Rescan();
}

void ToggleStartupFolders() {
  auto s = Running();
  if (!s) return;
  std::vector<std::string> folders;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    folders = g_startupFolders;
  }
  s->ToggleFolders(folders);
}

void AddController(const std::string& name, const std::string& mac, const std::string& ip, bool allowed) {
  if (auto s = Running())
    s->AddController(name, mac, ip, allowed);
  else
    kv::Log("media service: not started, controller \"" + kv::EscapedText(name) + "\" not added");
}

int32_t ControllerPlay(int32_t kind, const std::string& uri, const std::string& title) {
  auto s = Running();
  return s ? s->ControllerPlay(kind, uri, title) : PSL_ERR_NOT_READY;
}

void NetworkDown() {
  if (auto s = Running()) s->NetworkDown();
}

void NetworkUp() {
  if (auto s = Running()) s->NetworkUp();
}

void SetStartupFolders(std::vector<std::string> folders) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_startupFolders = std::move(folders);
}

void SetDefaultWallpaper(const std::string& path) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_defaultWallpaper = path;
}

void SetAnswerDelay(int64_t ms) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_delay = ms < 0 ? 0 : ms;
}
void SetNeverAnswer(bool on) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_neverAnswer = on;
}
void SetFailDecode(bool on) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_failDecode = on;
}
void SetPositionAhead(int64_t ms) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_positionAhead = ms < 0 ? 0 : ms;
}

bool IsStickPath(const std::string& setPath) {
  auto s = Running();
  return s && s->IsStickPath(setPath);
}

bool WaitIdle() {
  auto s = Running();
  return s && s->WaitIdle();
}

void OnSimStop(sim::Sim& tv) {
  std::shared_ptr<Service> s;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_service || &g_service->Tv() != &tv) return;
    s = std::move(g_service);
  }
  s->Stop();
}

}  // namespace psl

// --- The calls --------------------------------------------------------------------------

// Records the call; answers a chosen failure, "not ready" without a set or a
// started service; otherwise defines `svc`.
#define PSL_CALL(name, args)                                                     \
  if (auto fail = sim::EnterCall(name, args, PSL_ERR_NOT_READY)) return *fail; \
  std::shared_ptr<psl::Service> svc = psl::Running();                            \
  if (!svc) {                                                                    \
    kv::Log(std::string(name) + ": the media service is not started");         \
    return PSL_ERR_NOT_READY;                                                    \
  }

int32_t PslInit(PslHandle, void*, int32_t dlna, int32_t renderer, int32_t access) {
  if (auto fail = sim::EnterCall("PslInit", sim::Args(dlna, renderer, access), PSL_ERR_NOT_READY)) return *fail;
  sim::Sim* tv = sim::Sim::Current();
  if (!tv) return PSL_ERR_NOT_READY;
  std::vector<std::string> folders;
  {
    std::lock_guard<std::mutex> lock(psl::g_mutex);
    if (psl::g_service) return PSL_OK;  // already running
    psl::g_service = std::make_shared<psl::Service>(*tv, dlna != 0, renderer != 0);
    globalPsl = &psl::g_handleWord;
    folders = psl::g_startupFolders;
  }
  std::shared_ptr<psl::Service> svc = psl::Running();
  svc->Start();
  svc->Rescan();
  for (const std::string& f : folders) svc->Plug(f);
  return PSL_OK;
}

int32_t PslDeinit(PslHandle) {
  if (auto fail = sim::EnterCall("PslDeinit", "", PSL_ERR_NOT_READY)) return *fail;
  std::shared_ptr<psl::Service> svc;
  {
    std::lock_guard<std::mutex> lock(psl::g_mutex);
    svc = std::move(psl::g_service);
  }
  if (!svc) return PSL_ERR_NOT_READY;
  svc->Stop();
  return PSL_OK;
}

int32_t PslMediaEnableDLNA(PslHandle, int32_t mode) {
  PSL_CALL("PslMediaEnableDLNA", sim::Args(mode));
  if (mode < 0 || mode > 3) {
    kv::Log("PslMediaEnableDLNA: mode " + std::to_string(mode) + " refused");
    return PSL_ERR_INVALID;
  }
  svc->EnableDlna(mode);
  return PSL_OK;
}

int32_t PslMediaSetSortMode(PslHandle, int32_t mode) {
  PSL_CALL("PslMediaSetSortMode", sim::Args(mode));
  svc->SetSortMode(mode == PSL_SORT_NEWEST || mode == PSL_SORT_OLDEST ? mode : PSL_SORT_NAME);
  return PSL_OK;
}

int32_t PslMediaGetMediumList(PslHandle, int32_t list, PslPage* page) {
  PSL_CALL("PslMediaGetMediumList", sim::Args(list));
  if (!page) return PSL_ERR_INVALID;
  return list == PSL_ROOT_CONTROLLER ? svc->GetControllerList(page) : svc->GetMediumList(page);
}

int32_t PslMediaGetAvailabilityPerMedium(PslHandle, PslObject rootItem, PslMediaAvailability* record) {
  PSL_CALL("PslMediaGetAvailabilityPerMedium", "");
  if (!record) return PSL_ERR_INVALID;
  std::memset(record, 0, sizeof *record);
  return svc->Availability(rootItem, record);
}

int32_t PslMediaAVCHDGetMediumAvailabliity(PslHandle, int32_t mediumUid, int32_t* flag, int32_t zero) {
  PSL_CALL("PslMediaAVCHDGetMediumAvailabliity", sim::Args(mediumUid, zero));
  if (!flag) return PSL_ERR_INVALID;
  *flag = 0;
  return svc->Avchd(mediumUid, flag);
}

int32_t PslMediaRequestBrowse(PslHandle, PslObject source, int32_t mediaType, int32_t start, int32_t length) {
  PSL_CALL("PslMediaRequestBrowse", sim::Args(mediaType, start, length));
  return svc->RequestBrowse(source, mediaType, start, length);
}

int32_t PslMediaConvertObject(PslHandle, uint32_t listHandle, int32_t index, PslObject source, PslObject* item) {
  PSL_CALL("PslMediaConvertObject", sim::Args(listHandle, index));
  if (!item) return PSL_ERR_INVALID;
  *item = nullptr;
  return svc->ConvertObject(listHandle, index, source, item);
}

int32_t PslMediaDeleteObjectList(PslHandle, uint32_t listHandle) {
  PSL_CALL("PslMediaDeleteObjectList", sim::Args(listHandle));
  return svc->DeleteList(listHandle);
}

int32_t PslMediaDeleteObject(PslHandle, uint32_t handle) {
  PSL_CALL("PslMediaDeleteObject", sim::Args(handle));
  return svc->DeleteObject(handle);
}

int32_t PslMediaSelectItem(PslHandle, PslObject) {
  PSL_CALL("PslMediaSelectItem", "");
  return PSL_OK;
}

int32_t PslMediaRequestMetadata(PslHandle, PslObject item) {
  PSL_CALL("PslMediaRequestMetadata", "");
  return svc->RequestMetadata(item);
}

int32_t PslMediaRequestPicture(PslHandle, PslObject item, int32_t mode) {
  PSL_CALL("PslMediaRequestPicture", sim::Args(mode));
  return svc->RequestPicture(item, mode);
}

int32_t PslGuiDecodeImage(PslHandle, dfb::Surface* surface, const char* fileName, int32_t* width, int32_t* height) {
  PSL_CALL("PslGuiDecodeImage", sim::Args(fileName));
  if (!surface || !fileName || !width || !height) return PSL_ERR_INVALID;
  return svc->DecodeImage(surface, fileName, width, height);
}

int32_t PslGuiRotateImage(PslHandle, dfb::Surface* image, int32_t* width, int32_t* height, int32_t angle) {
  PSL_CALL("PslGuiRotateImage", sim::Args(angle));
  if (!image || !width || !height) return PSL_ERR_INVALID;
  return svc->RotateImage(image, width, height, angle);
}

int32_t PslMediaStart(PslHandle, int32_t kind, const char* argument) {
  PSL_CALL("PslMediaStart", sim::Args(kind, argument));
  return PSL_OK;
}

int32_t PslMediaStop(PslHandle, int32_t kind) {
  PSL_CALL("PslMediaStop", sim::Args(kind));
  return svc->StopKind(kind);
}

int32_t PslMediaPlaylistCreate(PslHandle, int32_t kind, int32_t mode, PslObject item, PslObject source,
                               uint32_t* handle) {
  PSL_CALL("PslMediaPlaylistCreate", sim::Args(kind, mode));
  if (!handle) return PSL_ERR_INVALID;
  *handle = 0;
  return svc->PlaylistCreate(kind, mode, item, source, handle);
}

int32_t PslMediaPlaylistCount(PslHandle, uint32_t handle, int32_t kind, int32_t mode, int32_t* count) {
  PSL_CALL("PslMediaPlaylistCount", sim::Args(handle, kind, mode));
  if (!count) return PSL_ERR_INVALID;
  *count = 0;
  return svc->PlaylistCount(handle, count);
}

int32_t PslMediaPlaylistGetItemAt(PslHandle, uint32_t handle, int32_t kind, int32_t mode, int32_t n, char* uri) {
  PSL_CALL("PslMediaPlaylistGetItemAt", sim::Args(handle, kind, mode, n));
  if (!uri) return PSL_ERR_INVALID;
  uri[0] = '\0';
  return svc->PlaylistItemAt(handle, n, uri);
}

int32_t PslMediaPlaylistCurrent(PslHandle, uint32_t handle, int32_t kind, int32_t mode, char* uri, int32_t* index) {
  PSL_CALL("PslMediaPlaylistCurrent", sim::Args(handle, kind, mode));
  if (!uri || !index) return PSL_ERR_INVALID;
  uri[0] = '\0';
  *index = -1;
  return svc->PlaylistCurrent(handle, uri, index);
}

int32_t PslMediaPlaylistSeek(PslHandle, uint32_t handle, int32_t kind, int32_t mode, int32_t n, char* uri) {
  PSL_CALL("PslMediaPlaylistSeek", sim::Args(handle, kind, mode, n));
  if (!uri) return PSL_ERR_INVALID;
  uri[0] = '\0';
  return svc->PlaylistSeek(handle, n, uri);
}

int32_t PslMediaPlaylistAdd(PslHandle, uint32_t handle, int32_t kind, int32_t mode, PslObject item) {
  PSL_CALL("PslMediaPlaylistAdd", sim::Args(handle, kind, mode));
  return svc->PlaylistAdd(handle, item);
}

int32_t PslMediaPlaylistRemove(PslHandle, uint32_t handle, int32_t kind, int32_t mode, PslObject item) {
  PSL_CALL("PslMediaPlaylistRemove", sim::Args(handle, kind, mode));
  return svc->PlaylistRemove(handle, item);
}

int32_t PslMediaPlaylistDestroy(PslHandle, uint32_t handle, int32_t kind, int32_t mode) {
  PSL_CALL("PslMediaPlaylistDestroy", sim::Args(handle, kind, mode));
  return svc->PlaylistDestroy(handle);
}

int32_t PslMediaSetPlaylist(PslHandle, uint32_t handle, int32_t kind, int32_t mode) {
  PSL_CALL("PslMediaSetPlaylist", sim::Args(handle, kind, mode));
  return svc->SetPlaylist(handle, kind);
}

int32_t PslExternalSendNavCommand(PslHandle, int32_t code, int32_t a, int32_t b) {
  PSL_CALL("PslExternalSendNavCommand", sim::Args(code, a, b));
  return svc->NavCommand(code, a, b);
}

int32_t PslGuiSetRepeatMode(PslHandle, int32_t mode) {
  PSL_CALL("PslGuiSetRepeatMode", sim::Args(mode));
  return svc->SetRepeat(mode);
}

int32_t PslGuiPlaybackGetInfo(PslHandle, PslPlaybackInfo* info) {
  PSL_CALL("PslGuiPlaybackGetInfo", "");
  if (!info) return PSL_ERR_INVALID;
  std::memset(info, 0, sizeof *info);
  info->repeat = 1;
  return svc->PlaybackInfo(info);
}

int32_t PslMediaSetPictureViewerPlaybackState(PslHandle, int32_t state) {
  PSL_CALL("PslMediaSetPictureViewerPlaybackState", sim::Args(state));
  return PSL_OK;
}

int32_t PslScreenSaverStart(PslHandle) {
  PSL_CALL("PslScreenSaverStart", "");
  return PSL_OK;
}

int32_t PslScreenSaverStop(PslHandle) {
  PSL_CALL("PslScreenSaverStop", "");
  return PSL_OK;
}

int32_t PslMediaWallpaperPath(PslHandle, char* path) {
  PSL_CALL("PslMediaWallpaperPath", "");
  if (!path) return PSL_ERR_INVALID;
  path[0] = '\0';
  return svc->WallpaperPath(path);
}

int32_t PslMediaWallpaperDelete(PslHandle) {
  PSL_CALL("PslMediaWallpaperDelete", "");
  return svc->WallpaperDelete();
}

int32_t PslGuiSettingsPrintQaOutput(PslHandle, const char* text) {
  PSL_CALL("PslGuiSettingsPrintQaOutput", sim::Args(text));
  kv::Log(std::string("media QA: ") + (text ? kv::EscapedText(text, 120) : "(none)"));
  return PSL_OK;
}

int32_t updateDMRState(PslHandle, int32_t state) {
  PSL_CALL("updateDMRState", sim::Args(state));
  return PSL_OK;
}
