// The media service behind the Psl* calls: one per started service, bound
// to the simulated set that was current at PslInit.
//
// Threads: the Psl* calls come from the GUI task; plugging comes from tests,
// the window or the Sim's thread; playback ticks run on the Sim's thread.
// One worker thread lists folders and decodes files. Shared state is guarded
// by mu_, which is never held while posting to the GUI, scheduling on the
// Sim or waiting. What the GUI must see is built in closures posted to the
// GUI task; objects awaiting an answer are kept alive there by persistent
// handles, held only by the GUI task.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/psl/psl.h"
#include "platform/psl/psl_decode.h"
#include "platform/psl/psl_library.h"
#include "runtime/member.h"

namespace sim {
class Sim;
}

namespace psl {

struct Medium {
  int32_t number = 0;  // sticks 1 .. 5; servers 0
  bool server = false;
  std::string folder;  // where the files are (canonical)
  std::string uri;     // "file:///mnt/usbN" or "http://<address>/<id>"
  std::string title;
  std::string address, mac;
  bool wakeOnLan = false;
  Counts counts;  // from the bounded scan at plug
};

// An object handed out: a medium's root, a folder or a file.
struct Node {
  std::string path;  // the real path
  std::string uri;
  FileKind kind = FileKind::kOther;
  std::string title;
  int32_t count = 0;
  int32_t rootClass = -1;  // PSL_ROOT_* for a medium's root
  std::string address;     // servers' roots
  std::string mac;
  bool wakeOnLan = false;
  bool allowed = false;  // controllers' roots: may control the set
};

// A home-network controller that asked to control the set.
struct Controller {
  std::string name, mac, ip;
  bool allowed = false;
};

struct Playlist {
  int32_t kind = 0, mode = 0;
  std::vector<Node> items;
  int32_t current = 0;
};

// The simulated player of one kind (music, video).
struct Player {
  uint32_t playlist = 0;
  int32_t state = 7;  // 1 playing, 2 paused, 3 forward, 4 backward, 7 stopped
  int32_t rate = 0;
  int64_t position = 0;  // ms
  int64_t duration = 0;  // ms
  std::string title;
  uint64_t generation = 0;  // ticks of older generations do nothing
};

class Service : public std::enable_shared_from_this<Service> {
 public:
  Service(sim::Sim& tv, bool dlna, bool renderer);
  ~Service();
  void Start();
  void Stop();

  sim::Sim& Tv() { return tv_; }

  // --- Media ------------------------------------------------------------
  int32_t Plug(const std::string& folder);
  void Unplug(int32_t number);
  void Rescan();
  // Unplugs those of the folders that are in; when none is, plugs them all.
  void ToggleFolders(const std::vector<std::string>& folders);
  void EnableDlna(int32_t mode);
  // The set's network went down: every server is gone.
  void NetworkDown();
  void NetworkUp();
  bool IsStickPath(const std::string& setPath);

  // --- The Psl* calls (GUI task) ---------------------------------------
  int32_t GetMediumList(PslPage* page);
  int32_t GetControllerList(PslPage* page);
  void AddController(const std::string& name, const std::string& mac, const std::string& ip, bool allowed);
  int32_t Availability(PslObject root, PslMediaAvailability* record);
  int32_t Avchd(int32_t mediumUid, int32_t* flag);
  int32_t RequestBrowse(PslObject source, int32_t mediaType, int32_t start, int32_t length);
  int32_t ConvertObject(uint32_t list, int32_t index, PslObject source, PslObject* item);
  int32_t DeleteList(uint32_t list);
  int32_t DeleteObject(uint32_t handle);
  int32_t RequestMetadata(PslObject item);
  int32_t RequestPicture(PslObject item, int32_t mode);
  int32_t DecodeImage(dfb::Surface* surface, const char* file, int32_t* w, int32_t* h);
  int32_t RotateImage(dfb::Surface* surface, int32_t* w, int32_t* h, int32_t angle);
  void SetSortMode(int32_t mode);
  int32_t WallpaperPath(char* path);
  int32_t WallpaperDelete();

  // --- Playlists and playback -------------------------------------------
  int32_t PlaylistCreate(int32_t kind, int32_t mode, PslObject item, PslObject source, uint32_t* handle);
  int32_t PlaylistCount(uint32_t handle, int32_t* count);
  int32_t PlaylistItemAt(uint32_t handle, int32_t n, char* uri);
  int32_t PlaylistCurrent(uint32_t handle, char* uri, int32_t* index);
  int32_t PlaylistSeek(uint32_t handle, int32_t n, char* uri);
  int32_t PlaylistAdd(uint32_t handle, PslObject item);
  int32_t PlaylistRemove(uint32_t handle, PslObject item);
  int32_t PlaylistDestroy(uint32_t handle);
  int32_t SetPlaylist(uint32_t handle, int32_t kind);
  int32_t NavCommand(int32_t code, int32_t a, int32_t b);
  int32_t SetRepeat(int32_t mode);
  int32_t PlaybackInfo(PslPlaybackInfo* info);
  int32_t StopKind(int32_t kind);
  int32_t ControllerPlay(int32_t kind, const std::string& uri, const std::string& title);

  // Waits until the worker has nothing to do; true when it had.
  bool WaitIdle();

 private:
  using Job = std::function<void()>;
  void WorkerMain();
  void Enqueue(Job job);
  // Posts `fn` to the GUI task, after the answer delay; never with the never-answer knob.
  void Answer(std::function<void()> fn);
  uint32_t NewHandle() { return nextHandle_++; }
  uint32_t AddNode(Node node);
  bool NodeOf(PslObject obj, Node* out);
  // The real path of a Uri or path that may be opened (on a medium, in the
  // wallpaper store, the default wallpaper; links resolved, no ".."), or "".
  std::string Resolve(const std::string& uriOrPath);
  std::string ResolveLocked(const std::string& uriOrPath);
  int32_t PlugLocked(const std::string& folder, std::vector<int32_t>* plugged);
  void SendStatus(uint16_t code, int32_t v0 = 0, int32_t v2 = 0);
  void SendServer(uint8_t code, const std::string& text);
  void SendNetwork(int32_t value);
  Medium* FindMedium(const std::string& uri);
  std::vector<Node> FolderFiles(const Node& folder, int32_t mediaType);
  std::vector<Entry> Listing(const std::string& folder, int32_t mediaType);
  Node ChildNode(const Node& folder, const Entry& e);
  const Medium* MediumOfLocked(const std::string& path) const;
  void RequestThumb(PslObject item, const Node& n);
  Playlist* PlaylistLocked(uint32_t handle);

  // Playback (mu_ held unless said otherwise).
  Player* PlayerOf(int32_t kind);
  // Opens the current item of the player's playlist: true when it plays.
  bool OpenItemLocked(Player& p);
  // Opens it and plays it from the start, adding `status` to `codes`; an
  // item that cannot be opened stops the player there (status 1, a black
  // plane). True when it plays.
  bool PlayItemLocked(Player& p, uint16_t status, std::vector<uint16_t>* codes);
  // Moves to the next item after the end (repeat, shuffle): false at the end of the list.
  bool NextAfterEndLocked(Player& p);
  void ScheduleTick(int32_t kind, uint64_t generation);
  void Tick(int32_t kind, uint64_t generation);
  void SendAll(const std::vector<uint16_t>& codes);
  // On the media input, the video plane shows the movie's picture at the
  // position inside the display window (decoded by the worker), or colour
  // bars; `black`: a black plane (no item plays).
  void ShowFrameLocked(const Player& p, bool black = false);

  sim::Sim& tv_;
  std::mutex mu_;
  bool dlna_;
  bool renderer_;
  bool networkDown_ = false;
  int32_t sortMode_ = 0;
  uint32_t nextHandle_ = 1;
  std::vector<std::unique_ptr<Medium>> sticks_;   // index number - 1 (null: free)
  std::vector<std::unique_ptr<Medium>> servers_;
  std::vector<Controller> controllers_;
  std::map<uint32_t, Node> nodes_;
  std::map<uint32_t, std::vector<Node>> lists_;
  std::map<uint32_t, Playlist> playlists_;
  // folder|type|sort; each with the folder's modification time when it was
  // read, so that a folder changed since (a file deleted) is read again.
  struct CachedListing {
    std::filesystem::file_time_type mtime;
    std::vector<Entry> entries;
  };
  std::map<std::string, CachedListing> listings_;
  Player music_, video_;
  int32_t navKind_ = PSL_KIND_MUSIC;
  int32_t repeat_ = 1;
  bool shuffle_ = false;
  std::minstd_rand random_{12345};
  Image lastPicture_;  // the last picture shown, upright, at most 960 x 960
  // How far the picture on screen is turned from lastPicture_ (0, 90, 180,
  // 270): a turn asked for is a step from what the viewer shows.
  int32_t lastTurn_ = 0;
  // A screen-sized surface the worker lays the next decoded picture out on:
  // the pixels a canvas gave up in exchange for the last one.
  std::shared_ptr<dfb::Surface> spareFrame_;
  std::string wallpaper_;
  // GUI task only: objects awaiting an answer, kept alive until it comes.
  std::map<uint64_t, std::unique_ptr<kv::Persistent<kv::Object>>> held_;
  uint64_t nextHold_ = 1;
  uint64_t Hold(PslObject obj);
  std::unique_ptr<kv::Persistent<kv::Object>> Take(uint64_t id);

  // The worker.
  std::thread worker_;
  std::condition_variable workCv_, idleCv_;
  std::deque<Job> jobs_;
  bool busy_ = false;
  bool stopping_ = false;
};

}  // namespace psl
