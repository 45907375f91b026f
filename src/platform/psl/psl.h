// The platform's media service (Psl*): finds media on USB sticks and
// home-network servers, decodes pictures, reads tags and plays files (the
// playback itself is simulated on the shared clock, without sound).
//
// Every call takes the service handle `globalPsl` first (all but PslInit).
// Status: 0 success, PSL_ERR_* otherwise. Objects of the GUI (data sources,
// items, canvases) travel as opaque `PslObject` pointers; the service builds
// and fills them only through the table the GUI registers (psl::SetExports),
// and only on the GUI task, in closures it posts there (the program's
// exported `runOnGuiTask`). Requests made on the GUI task are answered later
// by media events built through the same table; the records a call fills
// (pages, availability, playback information) are filled before it returns.
//
// Where the media is: <data dir>/media/usb/<stick>/ (each folder one stick),
// <data dir>/media/servers/<server>/ (each folder one home-network server,
// described by its server.ini), the set's USB disk while mounted, and folders
// plugged with psl::PlugFolder. A plugged stick is linked as
// <data dir>/mnt/usb1 .. usb5; its files' Uris are "file://<link path>/...".
// Stick number n has the device number 241 + n (242 .. 246).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace dfb {
class Surface;
}

using PslHandle = void*;
using PslObject = void*;

// The service handle; the platform fills it in (the stand-in at PslInit).
extern PslHandle globalPsl;

constexpr int32_t PSL_OK = 0;
constexpr int32_t PSL_ERR_NOT_READY = -1;    // no simulated set, or the service is not started
constexpr int32_t PSL_ERR_INVALID = -2;      // a bad argument (logged)
constexpr int32_t PSL_ERR_NOT_FOUND = -3;    // no such object, list, playlist or file

constexpr size_t PSL_URI_MAX = 1024;  // bytes of an out Uri, with its terminating zero
constexpr size_t PSL_PATH_MAX = 256;  // bytes of an out path, with its terminating zero

// Application kinds.
constexpr int32_t PSL_KIND_MUSIC = 7;
constexpr int32_t PSL_KIND_PICTURE = 10;
constexpr int32_t PSL_KIND_VIDEO = 11;
constexpr int32_t PSL_KIND_FLASH = 26;

// Media types of a browse request.
constexpr int32_t PSL_TYPE_ANY = 0;
constexpr int32_t PSL_TYPE_MUSIC = 1;
constexpr int32_t PSL_TYPE_PICTURE = 2;
constexpr int32_t PSL_TYPE_VIDEO = 3;

// Root item classes of PslExports::createRoot.
constexpr int32_t PSL_ROOT_USB = 0;
constexpr int32_t PSL_ROOT_SERVER = 1;
constexpr int32_t PSL_ROOT_CONTROLLER = 2;

// Picture and thumbnail states: 1 ready, 2 failed (0 while asked).
constexpr uint16_t PSL_STATE_READY = 1;
constexpr uint16_t PSL_STATE_FAILED = 2;

// Sort modes of PslMediaSetSortMode: 0 by name, 2 newest first, 3 oldest first.
constexpr int32_t PSL_SORT_NAME = 0;
constexpr int32_t PSL_SORT_NEWEST = 2;
constexpr int32_t PSL_SORT_OLDEST = 3;

// Sizes the service decodes to.
constexpr int32_t PSL_PICTURE_WIDTH = 960;
constexpr int32_t PSL_PICTURE_HEIGHT = 540;
// Larger pictures are refused (state 2): more than this a side or in pixels.
constexpr int32_t PSL_PICTURE_MAX_SIDE = 16384;
constexpr int64_t PSL_PICTURE_MAX_PIXELS = 100'000'000;

// A page of items: the service's list handle and the number of entries.
struct PslPage {
  uint32_t handle;
  int32_t count;
};

// What one medium holds: per kind (music, pictures, movies, Flash, AVCHD)
// four counts: files, folders holding such files, files scanned, 0.
struct PslMediaAvailability {
  int32_t flag;  // 1 once the counts are known
  int32_t counts[5][4];
};
static_assert(sizeof(PslMediaAvailability) == 84);

// The playback information, in the fields of the overlay's record.
struct PslPlaybackInfo {
  uint16_t positionKnown;  // 1: total and current item are valid
  uint16_t repeat;         // 1 off, 2 all, 7 one
  uint16_t kind;           // 7, 10, 11
  uint16_t navStatus;      // 1 playing, 2 paused, 3 fast forward, 4 rewind, 7 stopped
  uint32_t elapsed;        // seconds
  uint32_t duration;       // seconds
  uint32_t total;          // items of the playlist
  uint32_t current;        // the current item, counted from 1
  int32_t rate;            // 1 normal, 2 .. 32 forward, -2 .. -32 backward, 0 paused or stopped
  char title[PSL_PATH_MAX];
};

// What the GUI registers: the program's exported constructors and setters
// the service builds media objects with. Called only on the GUI task. Every
// entry may be null; the service then leaves that step out.
struct PslExports {
  // Items of a data source: a medium's root item (class PSL_ROOT_*), a folder,
  // a file. They answer the new item.
  PslObject (*createRoot)(PslObject source, int32_t rootClass, const char* uri, const char* title, uint32_t handle,
                          int32_t count, bool canRecursiveScan, const char* ipAddr) = nullptr;
  PslObject (*createContainer)(PslObject source, const char* uri, const char* title, uint32_t handle, int32_t count,
                               bool canRecursiveScan, bool supportsPaging) = nullptr;
  PslObject (*createItem)(PslObject source, const char* uri, const char* title, int32_t unused,
                          uint32_t handle) = nullptr;
  // The service handle of an item, or of the folder item a data source shows
  // (0 when it has none).
  uint32_t (*handleOf)(PslObject itemOrSource) = nullptr;
  // The URI of an item into `out` (NUL-terminated, cut to `size`); false
  // without one. Play-list items carry only their URI.
  bool (*uriOf)(PslObject item, char* out, size_t size) = nullptr;
  // A server's root: its MAC address and whether it wakes over the network.
  void (*setServerInfo)(PslObject root, const char* mac, bool wakeOnLan) = nullptr;
  // A controller's root: its name, MAC address and whether it may control the set (1) or not (0).
  void (*initController)(PslObject root, const char* text, const char* mac, int8_t access) = nullptr;
  // Metadata: creates it on the item and answers it; then the item's kind's initialiser.
  PslObject (*createMetadata)(PslObject item) = nullptr;
  void (*initPictureMetadata)(PslObject metadata, const char* title, const char* make, const char* model,
                              const char* type, const char* date, int32_t orientation) = nullptr;
  void (*initMusicMetadata)(PslObject metadata, const char* title, const char* artist, const char* album,
                            const char* year, const char* track, const char* genre, int32_t seconds) = nullptr;
  void (*initVideoMetadata)(PslObject metadata, const char* text) = nullptr;
  // Pictures: state and original size; the state alone.
  void (*setPictureInfo)(PslObject item, uint16_t state, int32_t width, int32_t height) = nullptr;
  void (*setPictureState)(PslObject item, uint16_t state) = nullptr;
  // Thumbnails: the canvas made on the item (its pixels, or null when none
  // could be made), its state, and dropping it.
  dfb::Surface* (*createThumb)(PslObject item) = nullptr;
  // The size of the canvases createThumb makes now: the service prepares
  // the thumbnail at that size on its worker, so that the GUI only copies it.
  void (*thumbSize)(int32_t* width, int32_t* height) = nullptr;
  void (*setThumbState)(PslObject item, uint16_t state) = nullptr;
  void (*destroyThumb)(PslObject item, uint16_t state) = nullptr;
  // The GUI's 960 x 540 canvas a picture item is decoded into: the item's
  // own buffer when it was given one, else the bridge's shared canvas.
  dfb::Surface* (*decodedPicture)(PslObject item) = nullptr;
  // Events, built and then delivered to the media bridge (deliver).
  PslObject (*newListEvent)(PslObject source, uint32_t listHandle, int32_t count, int32_t start) = nullptr;
  PslObject (*newMetadataEvent)(PslObject item) = nullptr;
  PslObject (*newPictureEvent)(PslObject item, int32_t value) = nullptr;
  PslObject (*newNetworkEvent)(int32_t value) = nullptr;
  PslObject (*newServerEvent)(uint8_t code, const char* text) = nullptr;
  void (*deliver)(PslObject event) = nullptr;
  // The program's other event initialisers the service may use: a media
  // status (code and four values), a renderer status, and a media error
  // naming one of the error dialogs (0 invalid file format, 1 audio codec,
  // 2 sample rate, 3 bit rate not supported).
  PslObject (*newStatusEvent)(uint16_t code, int32_t v0, int32_t v1, int32_t v2, int32_t v3) = nullptr;
  PslObject (*newDmrStatusEvent)(uint16_t kind, uint16_t state, const char* uri, const char* title) = nullptr;
  PslObject (*newMediaErrorEvent)(int32_t dialog, int32_t code, int32_t subCode, const char* text) = nullptr;
};

// --- Start and switches --------------------------------------------------------------

// Starts the service for the bridge object with the three flags; 0 is success.
int32_t PslInit(PslHandle psl, void* bridge, int32_t dlna, int32_t renderer, int32_t access);
// Stops it: its worker ends (joined), playback stops, its objects are freed.
int32_t PslDeinit(PslHandle psl);
// Home-network media: bit 0 DLNA on, bit 1 renderer on.
int32_t PslMediaEnableDLNA(PslHandle psl, int32_t mode);
// The order of browsed folders (PSL_SORT_*); the next browse uses it.
int32_t PslMediaSetSortMode(PslHandle psl, int32_t mode);

// --- Media and browsing ------------------------------------------------------------------

// Fills the page with a list of roots: with 0 the media (sticks, then
// servers while DLNA is on); with PSL_ROOT_CONTROLLER the home-network
// controllers that have asked to control the set (psl::AddController).
int32_t PslMediaGetMediumList(PslHandle psl, int32_t list, PslPage* page);
// Fills the record for the medium of a root item.
int32_t PslMediaGetAvailabilityPerMedium(PslHandle psl, PslObject rootItem, PslMediaAvailability* record);
// flag = 1 when the medium (its number in the medium list) holds AVCHD video.
int32_t PslMediaAVCHDGetMediumAvailabliity(PslHandle psl, int32_t mediumUid, int32_t* flag, int32_t zero);
// Asks for entries start .. start + length - 1 of the folder the source shows,
// of one media type: answered by one list event naming the source and start.
int32_t PslMediaRequestBrowse(PslHandle psl, PslObject source, int32_t mediaType, int32_t start, int32_t length);
// The item of entry `index` of a page, built through the source's constructors.
int32_t PslMediaConvertObject(PslHandle psl, uint32_t listHandle, int32_t index, PslObject source, PslObject* item);
int32_t PslMediaDeleteObjectList(PslHandle psl, uint32_t listHandle);
int32_t PslMediaDeleteObject(PslHandle psl, uint32_t handle);
int32_t PslMediaSelectItem(PslHandle psl, PslObject item);

// --- Metadata and pictures ---------------------------------------------------------------

// Answered by a metadata event (pictures: their size first, state 0).
int32_t PslMediaRequestMetadata(PslHandle psl, PslObject item);
// mode 0: decode into the decoded-picture canvas, fitted to 960 x 540;
// mode 1: copy the file into the wallpaper store. Answered by a picture event.
int32_t PslMediaRequestPicture(PslHandle psl, PslObject item, int32_t mode);
// Decodes a file into a surface now, at the surface's size (in: the size
// wanted, out: the size drawn). The last result is kept.
int32_t PslGuiDecodeImage(PslHandle psl, dfb::Surface* surface, const char* fileName, int32_t* width,
                          int32_t* height);
// Turns the decoded picture by 90, 180, 270 or 360 degrees and fits it again
// into the surface; width and height become the turned picture's size.
int32_t PslGuiRotateImage(PslHandle psl, dfb::Surface* image, int32_t* width, int32_t* height, int32_t angle);

// --- Playback ------------------------------------------------------------------------------

int32_t PslMediaStart(PslHandle psl, int32_t kind, const char* argument);
int32_t PslMediaStop(PslHandle psl, int32_t kind);
// Play lists: mode 2 empty, 3 and 5 a folder's files (with the folder source
// for 5), 4 one item. Out Uris are PSL_URI_MAX bytes.
int32_t PslMediaPlaylistCreate(PslHandle psl, int32_t kind, int32_t mode, PslObject item, PslObject source,
                               uint32_t* handle);
int32_t PslMediaPlaylistCount(PslHandle psl, uint32_t handle, int32_t kind, int32_t mode, int32_t* count);
int32_t PslMediaPlaylistGetItemAt(PslHandle psl, uint32_t handle, int32_t kind, int32_t mode, int32_t n, char* uri);
int32_t PslMediaPlaylistCurrent(PslHandle psl, uint32_t handle, int32_t kind, int32_t mode, char* uri,
                                int32_t* index);
int32_t PslMediaPlaylistSeek(PslHandle psl, uint32_t handle, int32_t kind, int32_t mode, int32_t n, char* uri);
int32_t PslMediaPlaylistAdd(PslHandle psl, uint32_t handle, int32_t kind, int32_t mode, PslObject item);
int32_t PslMediaPlaylistRemove(PslHandle psl, uint32_t handle, int32_t kind, int32_t mode, PslObject item);
int32_t PslMediaPlaylistDestroy(PslHandle psl, uint32_t handle, int32_t kind, int32_t mode);
// The playlist the next navigation commands of that kind act on.
int32_t PslMediaSetPlaylist(PslHandle psl, uint32_t handle, int32_t kind, int32_t mode);
// 3 play, 5 stop, 7 pause, 21 next, 23 previous, 25 faster forward, 27 faster
// backward, 31/32 a step, 38 seek (a = 1: to item b counted from 1, a = 2: to
// second b), 45 subtitles, 51 audio track, 58 shuffle on or off.
int32_t PslExternalSendNavCommand(PslHandle psl, int32_t code, int32_t a, int32_t b);
// 1 off, 2 repeat all, 7 repeat one.
int32_t PslGuiSetRepeatMode(PslHandle psl, int32_t mode);
int32_t PslGuiPlaybackGetInfo(PslHandle psl, PslPlaybackInfo* info);

// --- Picture viewer, screen saver, wallpaper, diagnostics, renderer -----------------------

int32_t PslMediaSetPictureViewerPlaybackState(PslHandle psl, int32_t state);
int32_t PslScreenSaverStart(PslHandle psl);
int32_t PslScreenSaverStop(PslHandle psl);
// The wallpaper the user copied, or "" (PSL_PATH_MAX bytes).
int32_t PslMediaWallpaperPath(PslHandle psl, char* path);
int32_t PslMediaWallpaperDelete(PslHandle psl);
int32_t PslGuiSettingsPrintQaOutput(PslHandle psl, const char* text);
int32_t updateDMRState(PslHandle psl, int32_t state);

namespace sim {
class Sim;
}

namespace psl {

// Registers the GUI's table (copied); an empty table unregisters.
void SetExports(const PslExports& exports);

// --- The outside world (tests, the window, the command line) --------------------------------

// How many sticks the set takes at once (numbers 1 .. kMaxSticks).
inline constexpr int32_t kMaxSticks = 5;

// These act on the running service (without one they log and do nothing).
// Plugs a folder as a USB stick; its number 1 .. 5, or 0 when five are in
// or the folder does not exist (logged). A folder already in answers its number.
int32_t PlugFolder(const std::string& folder);
// Pulls the stick out.
void Unplug(int32_t number);
// Looks for new or vanished folders under <data dir>/media/usb/ and servers
// under <data dir>/media/servers/, and for the set's USB disk. The service
// does so at start and, on the real clock, once a second by itself.
void Rescan();
// The set lost its network (no cable, no wireless): every server is gone,
// answered by a network event of value 1.
void NetworkDown();
// The network is back: servers are looked for again.
void NetworkUp();
// The folders plugged with PlugFolder when the service starts (--media-dir).
void SetStartupFolders(std::vector<std::string> folders);
// Pulls those folders out when any is plugged, else plugs them in (Ctrl+U).
void ToggleStartupFolders();
// The default wallpaper's file (the bridge's default name); opened like the store.
void SetDefaultWallpaper(const std::string& path);
// The default wallpaper's name: a file in the working folder, written by
// `make sample-media` (tools/sample_media.cpp).
inline constexpr char MediaDefaultWallpaperName[] = "default_wallpaper.jpg";

// Knobs: answers wait this long (ms of the shared clock); they never come;
// every decode fails.
void SetAnswerDelay(int64_t ms);
void SetNeverAnswer(bool on);
void SetFailDecode(bool on);
// The position that playback reports runs `ms` ahead of the stream played,
// so that near the end it passes the stream's length, as a service whose
// clock and length disagree may report it (0: the position played).
void SetPositionAhead(int64_t ms);

// A home-network controller plays `uri` (a file of a server or stick) on the
// set, of kind 7, 10 or 11: with the renderer on, the renderer status event
// (state 3, the Uri and title), then music and movies play as a one-item
// playlist. PSL_ERR_NOT_READY with the renderer off, PSL_ERR_NOT_FOUND for a
// file that is on no medium.
int32_t ControllerPlay(int32_t kind, const std::string& uri, const std::string& title);

// A home-network controller appears in the controller list of the running
// service (after those already there), with its name, addresses and whether
// it is allowed to control the set.
void AddController(const std::string& name, const std::string& mac, const std::string& ip, bool allowed);

// True when a path of the set ("/mnt/usbN/...") lies on a plugged stick.
bool IsStickPath(const std::string& setPath);

// Waits until the worker of the running service has nothing to do; true
// when it had (the simulated set's Quiesce calls it).
bool WaitIdle();
// The simulated set stops: the service bound to it stops (its worker joined).
void OnSimStop(sim::Sim& tv);

}  // namespace psl
