#include "platform/psl/psl_service.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

#include "platform/display/surface.h"
#include "platform/psl/psl_knobs.h"
#include "platform/psl/psl_probe.h"
#include "platform/sim/program_exports.h"
#include "platform/sim/sim.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "platform/xpm/xpm_record.h"
#include "runtime/clock.h"
#include "runtime/runtime.h"
#include "runtime/trace.h"

namespace psl {
namespace fs = std::filesystem;

namespace {

constexpr int32_t kSticks = kMaxSticks;
constexpr int32_t kFirstDevice = 241;  // stick n is device 241 + n
constexpr int32_t kThumbW = 160, kThumbH = 120;
constexpr int32_t kScanBudget = 20000;
constexpr size_t kMaxPictureBytes = 64u << 20;

std::string Canonical(const std::string& path) {
  std::error_code ec;
  fs::path p = fs::canonical(path, ec);
  return ec ? std::string() : p.string();
}

bool Inside(const std::string& path, const std::string& root) {
  return !root.empty() && (path == root || (path.size() > root.size() && path.compare(0, root.size(), root) == 0 &&
                                            path[root.size()] == '/'));
}

bool HasDotDot(const std::string& p) {
  size_t start = 0;
  while (start <= p.size()) {
    const size_t end = std::min(p.find('/', start), p.size());
    if (p.compare(start, end - start, "..") == 0 && end - start == 2) return true;
    start = end + 1;
  }
  return false;
}

void CopyText(char* out, size_t size, const std::string& text) {
  const size_t n = std::min(text.size(), size - 1);
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

int32_t TypeOfKind(int32_t kind) {
  switch (kind) {
    case PSL_KIND_MUSIC: return PSL_TYPE_MUSIC;
    case PSL_KIND_PICTURE: return PSL_TYPE_PICTURE;
    case PSL_KIND_VIDEO: return PSL_TYPE_VIDEO;
    default: return PSL_TYPE_ANY;
  }
}

bool PostToGui(std::function<void()> fn) {
  auto run = GetProgramExports().runOnGuiTask;
  if (!run) {
    kv::Log("media service: no GUI task to answer to, answer dropped");
    return false;
  }
  return run(std::move(fn));
}

}  // namespace

Service::Service(sim::Sim& tv, bool dlna, bool renderer) : tv_(tv), dlna_(dlna), renderer_(renderer) {
  sticks_.resize(kSticks);
}

Service::~Service() { Stop(); }

void Service::Start() {
  std::lock_guard<std::mutex> lock(mu_);
  if (worker_.joinable()) return;
  stopping_ = false;
  worker_ = std::thread([this] { WorkerMain(); });
}

void Service::Stop() {
  {
    std::lock_guard<std::mutex> lock(mu_);
    stopping_ = true;
    jobs_.clear();
    ++music_.generation;
    ++video_.generation;
    music_.state = video_.state = 7;
  }
  workCv_.notify_all();
  idleCv_.notify_all();
  if (worker_.joinable() && worker_.get_id() != std::this_thread::get_id()) worker_.join();
  std::lock_guard<std::mutex> lock(mu_);
  std::error_code ec;
  for (auto& m : sticks_)
    if (m) fs::remove(tv_.TargetPath("/mnt/usb" + std::to_string(m->number)), ec);
  sticks_.clear();
  sticks_.resize(kSticks);
  // Persistent handles belong to the GUI task; elsewhere (the process ends) they are left.
  if (kv::Runtime::OnGuiThread()) held_.clear();
  else
    for (auto& [id, h] : held_) (void)h.release();
  held_.clear();
}

// --- Worker -----------------------------------------------------------------------------

void Service::WorkerMain() {
  // On the real clock the worker also looks for folders that came or went
  // once a second; on a simulated clock only when told (psl::Rescan), so that
  // tests and scripted runs stay repeatable.
  const bool watch = !kv::GetClock().IsSimulated();
  std::unique_lock<std::mutex> lock(mu_);
  while (!stopping_) {
    if (jobs_.empty()) {
      idleCv_.notify_all();
      if (!watch) {
        workCv_.wait(lock);
      } else if (workCv_.wait_for(lock, std::chrono::seconds(1)) == std::cv_status::timeout && !stopping_) {
        lock.unlock();
        Rescan();
        lock.lock();
      }
      continue;
    }
    Job job = std::move(jobs_.front());
    jobs_.pop_front();
    busy_ = true;
    lock.unlock();
    job();
    job = nullptr;
    lock.lock();
    busy_ = false;
  }
  idleCv_.notify_all();
}

void Service::Enqueue(Job job) {
  {
    std::lock_guard<std::mutex> lock(mu_);
    if (stopping_) return;
    jobs_.push_back(std::move(job));
  }
  workCv_.notify_all();
}

bool Service::WaitIdle() {
  std::unique_lock<std::mutex> lock(mu_);
  if (std::this_thread::get_id() == worker_.get_id()) return false;
  const bool had = busy_ || !jobs_.empty();
  idleCv_.wait(lock, [&] { return stopping_ || (!busy_ && jobs_.empty()); });
  return had;
}

void Service::Answer(std::function<void()> fn) {
  const Knobs knobs = GetKnobs();
  if (knobs.neverAnswer) return;
  if (knobs.delay > 0) {
    tv_.Schedule(kv::GetClock().Now() + knobs.delay, [fn = std::move(fn)]() mutable { PostToGui(std::move(fn)); });
    return;
  }
  PostToGui(std::move(fn));
}

uint64_t Service::Hold(PslObject obj) {
  const uint64_t id = nextHold_++;
  held_[id] = std::make_unique<kv::Persistent<kv::Object>>(static_cast<kv::Object*>(obj));
  return id;
}

std::unique_ptr<kv::Persistent<kv::Object>> Service::Take(uint64_t id) {
  auto it = held_.find(id);
  if (it == held_.end()) return nullptr;
  auto out = std::move(it->second);
  held_.erase(it);
  return out;
}

// --- Events -----------------------------------------------------------------------------

void Service::SendStatus(uint16_t code, int32_t v0, int32_t v2) {
  XPM_MediaStatusPayload p{};
  p.code = code;
  p.subCode[0] = v0;
  p.subCode[2] = v2;
  tv_.Inject(XPM_EVT_MEDIA_STATUS, p);
}

void Service::SendServer(uint8_t code, const std::string& text) {
  Answer([code, text] {
    const PslExports ex = Exports();
    if (!ex.newServerEvent || !ex.deliver) return;
    if (PslObject e = ex.newServerEvent(code, text.c_str())) ex.deliver(e);
  });
}

void Service::SendNetwork(int32_t value) {
  Answer([value] {
    const PslExports ex = Exports();
    if (!ex.newNetworkEvent || !ex.deliver) return;
    if (PslObject e = ex.newNetworkEvent(value)) ex.deliver(e);
  });
}

// --- Media ------------------------------------------------------------------------------

int32_t Service::PlugLocked(const std::string& folder, std::vector<int32_t>* plugged) {
  const std::string real = Canonical(folder);
  std::error_code ec;
  if (real.empty() || !fs::is_directory(real, ec)) {
    kv::Log("media service: \"" + kv::EscapedText(folder, kv::kMaxLoggedPath) + "\" is not a folder, not plugged");
    return 0;
  }
  for (auto& m : sticks_)
    if (m && m->folder == real) return m->number;
  auto free = std::find(sticks_.begin(), sticks_.end(), nullptr);
  if (free == sticks_.end()) {
    kv::Log("media service: five sticks are in, \"" + kv::EscapedText(folder, kv::kMaxLoggedPath) + "\" not plugged");
    return 0;
  }
  auto m = std::make_unique<Medium>();
  m->number = static_cast<int32_t>(free - sticks_.begin()) + 1;
  m->folder = real;
  m->uri = "file:///mnt/usb" + std::to_string(m->number);
  m->title = BaseName(real);
  const std::string link = tv_.TargetPath("/mnt/usb" + std::to_string(m->number));
  fs::create_directories(fs::path(link).parent_path(), ec);
  fs::remove(link, ec);
  fs::create_directory_symlink(real, link, ec);
  if (ec) kv::Log("media service: cannot link " + kv::EscapedText(link, kv::kMaxLoggedPath) + ": " + ec.message());
  m->counts = CountMedium(real, kScanBudget);
  kv::Log("media service: " + kv::EscapedText(real, kv::kMaxLoggedPath) + " plugged as /mnt/usb" + std::to_string(m->number));
  plugged->push_back(m->number);
  *free = std::move(m);
  return (*free)->number;
}

int32_t Service::Plug(const std::string& folder) {
  std::vector<int32_t> plugged;
  int32_t n;
  {
    std::lock_guard<std::mutex> lock(mu_);
    n = PlugLocked(folder, &plugged);
  }
  for (int32_t p : plugged) SendStatus(18, 4, kFirstDevice + p);
  return n;
}

void Service::Unplug(int32_t number) {
  {
    std::lock_guard<std::mutex> lock(mu_);
    if (number < 1 || number > kSticks || !sticks_[size_t(number - 1)]) return;
    Medium& m = *sticks_[size_t(number - 1)];
    std::error_code ec;
    fs::remove(tv_.TargetPath("/mnt/usb" + std::to_string(number)), ec);
    for (auto it = listings_.begin(); it != listings_.end();)
      it = Inside(it->first.substr(0, it->first.find('|')), m.folder) ? listings_.erase(it) : std::next(it);
    kv::Log("media service: /mnt/usb" + std::to_string(number) + " removed");
    sticks_[size_t(number - 1)].reset();
  }
  SendStatus(18, 5, kFirstDevice + number);
}

void Service::Rescan() {
  std::vector<std::string> candidates;
  std::error_code ec;
  const std::string usb = tv_.DataDir() + "/media/usb";
  for (const auto& de : fs::directory_iterator(usb, ec))
    if (de.is_directory(ec)) candidates.push_back(de.path().string());
  std::sort(candidates.begin(), candidates.end(), NaturalLess);
  const std::string disk = tv_.TargetPath(sim::kUsbMountPoint);
  const bool diskIn = sim::UsbDiskMounted(tv_);
  if (diskIn) candidates.push_back(disk);

  std::vector<int32_t> plugged, gone;
  std::vector<std::pair<uint8_t, std::string>> serverEvents;
  {
    std::lock_guard<std::mutex> lock(mu_);
    // Sticks from the media folder or the disk whose folder went away.
    for (auto& m : sticks_) {
      if (!m) continue;
      const bool fromDisk = m->folder == Canonical(disk);
      if (fromDisk ? !diskIn : Inside(m->folder, Canonical(usb)) && !fs::is_directory(m->folder, ec))
        gone.push_back(m->number);
    }
    for (const std::string& c : candidates) {
      const std::string real = Canonical(c);
      const bool in = std::any_of(sticks_.begin(), sticks_.end(), [&](const auto& m) { return m && m->folder == real; });
      if (!in) PlugLocked(c, &plugged);
    }
    // Servers: each folder with a server.ini.
    std::vector<std::unique_ptr<Medium>> found;
    for (const auto& de : fs::directory_iterator(tv_.DataDir() + "/media/servers", ec)) {
      if (networkDown_) break;
      std::ifstream ini(de.path() / "server.ini");
      if (!ini) continue;
      auto m = std::make_unique<Medium>();
      m->server = true;
      m->folder = Canonical(de.path().string());
      m->title = de.path().filename().string();
      m->address = "192.168.1.20";
      std::string line;
      while (std::getline(ini, line)) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "name") {
          // A name of blanks names nothing: the server keeps its folder's name.
          const size_t first = value.find_first_not_of(" \t\r");
          if (first == std::string::npos)
            kv::Log("media service: " + (de.path() / "server.ini").string() + " names no server; it is called " +
                    m->title);
          else
            m->title = value.substr(first, value.find_last_not_of(" \t\r") - first + 1);
        }
        else if (key == "address") m->address = value;
        else if (key == "mac") m->mac = value;
        else if (key == "wake-on-lan") m->wakeOnLan = value == "1" || value == "yes";
      }
      m->uri = "http://" + m->address + ":8200/" + de.path().filename().string();
      found.push_back(std::move(m));
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return NaturalLess(a->title, b->title); });
    for (const auto& old : servers_)
      if (std::none_of(found.begin(), found.end(), [&](const auto& f) { return f->uri == old->uri; }))
        serverEvents.emplace_back(0, old->uri);
    for (auto& f : found) {
      auto old = std::find_if(servers_.begin(), servers_.end(), [&](const auto& o) { return o->uri == f->uri; });
      if (old == servers_.end()) {
        serverEvents.emplace_back(1, f->uri);
        f->counts = CountMedium(f->folder, kScanBudget);  // once, when it comes
      } else {
        f->counts = (*old)->counts;
      }
    }
    servers_ = std::move(found);
    if (!dlna_) serverEvents.clear();
  }
  for (int32_t n : gone) Unplug(n);
  for (int32_t p : plugged) SendStatus(18, 4, kFirstDevice + p);
  for (const auto& [code, text] : serverEvents) SendServer(code, text);
}

void Service::ToggleFolders(const std::vector<std::string>& folders) {
  std::vector<int32_t> in;
  {
    std::lock_guard<std::mutex> lock(mu_);
    for (const std::string& f : folders) {
      const std::string real = Canonical(f);
      for (const auto& m : sticks_)
        if (m && m->folder == real) in.push_back(m->number);
    }
  }
  for (int32_t n : in) Unplug(n);
  if (in.empty())
    for (const std::string& f : folders) Plug(f);
}

void Service::EnableDlna(int32_t mode) {
  std::lock_guard<std::mutex> lock(mu_);
  dlna_ = (mode & 1) != 0;
  renderer_ = (mode & 2) != 0;
}

void Service::NetworkDown() {
  bool had;
  {
    std::lock_guard<std::mutex> lock(mu_);
    had = !servers_.empty();
    servers_.clear();
    networkDown_ = true;
  }
  if (had) SendNetwork(1);
}

void Service::NetworkUp() {
  {
    std::lock_guard<std::mutex> lock(mu_);
    if (!networkDown_) return;
    networkDown_ = false;
  }
  Rescan();
}

bool Service::IsStickPath(const std::string& setPath) {
  if (setPath.rfind("/mnt/usb", 0) != 0 || setPath.size() < 10 || setPath[9] != '/' || HasDotDot(setPath))
    return false;
  const int32_t n = setPath[8] - '0';
  std::lock_guard<std::mutex> lock(mu_);
  return n >= 1 && n <= kSticks && sticks_[size_t(n - 1)] != nullptr;
}

std::string Service::Resolve(const std::string& uriOrPath) {
  std::lock_guard<std::mutex> lock(mu_);
  return ResolveLocked(uriOrPath);
}

std::string Service::ResolveLocked(const std::string& uriOrPath) {
  std::string p = uriOrPath;
  if (HasDotDot(p)) {
    kv::Log("media service: \"" + kv::EscapedText(uriOrPath, kv::kMaxLoggedPath) + "\" refused (\"..\")");
    return {};
  }
  std::vector<std::string> roots;
  for (const auto& m : sticks_)
    if (m) roots.push_back(m->folder);
  for (const auto& m : servers_) roots.push_back(m->folder);
  auto mapPrefix = [&](const std::string& prefix, const std::string& folder) {
    if (p == prefix || p.rfind(prefix + "/", 0) == 0) {
      p = folder + p.substr(prefix.size());
      return true;
    }
    return false;
  };
  bool mapped = false;
  for (const auto& m : sticks_)
    if (m && !mapped) mapped = mapPrefix(m->uri, m->folder) || mapPrefix(m->uri.substr(7), m->folder);
  for (const auto& m : servers_)
    if (!mapped) mapped = mapPrefix(m->uri, m->folder);
  if (p.rfind("file://", 0) == 0) p = p.substr(7);
  const std::string real = Canonical(p);
  const std::string store = Canonical(tv_.DataDir() + "/wallpaper");
  const std::string def = GetKnobs().defaultWallpaper;
  const bool ok = !real.empty() && (std::any_of(roots.begin(), roots.end(), [&](const auto& r) { return Inside(real, r); }) ||
                                    Inside(real, store) || (!def.empty() && real == Canonical(def)));
  if (!ok) {
    kv::Log("media service: \"" + kv::EscapedText(uriOrPath, kv::kMaxLoggedPath) + "\" is not on a medium, answered as missing");
    return {};
  }
  return real;
}

uint32_t Service::AddNode(Node node) {
  const uint32_t h = NewHandle();
  nodes_[h] = std::move(node);
  return h;
}

bool Service::NodeOf(PslObject obj, Node* out) {
  const PslExports ex = Exports();
  if (!obj || !ex.handleOf) return false;
  const uint32_t h = ex.handleOf(obj);
  std::lock_guard<std::mutex> lock(mu_);
  auto it = nodes_.find(h);
  if (it == nodes_.end()) return false;
  *out = it->second;
  return true;
}

int32_t Service::GetMediumList(PslPage* page) {
  std::lock_guard<std::mutex> lock(mu_);
  std::vector<Node> list;
  auto add = [&](const Medium& m) {
    Node n;
    n.path = m.folder;
    n.uri = m.uri;
    n.kind = FileKind::kFolder;
    n.title = m.title;
    n.rootClass = m.server ? PSL_ROOT_SERVER : PSL_ROOT_USB;
    n.address = m.server ? m.address : "";
    n.mac = m.server ? m.mac : "";
    n.wakeOnLan = m.server && m.wakeOnLan;
    n.count = m.counts.top;  // at least the entries a browse of its top folder lists
    list.push_back(n);
  };
  for (const auto& m : sticks_)
    if (m) add(*m);
  if (dlna_)
    for (const auto& m : servers_) add(*m);
  const uint32_t h = NewHandle();
  page->handle = h;
  page->count = static_cast<int32_t>(list.size());
  lists_[h] = std::move(list);
  return PSL_OK;
}

int32_t Service::GetControllerList(PslPage* page) {
  std::lock_guard<std::mutex> lock(mu_);
  std::vector<Node> list;
  for (const Controller& c : controllers_) {
    Node n;
    n.kind = FileKind::kOther;
    n.title = c.name;
    n.rootClass = PSL_ROOT_CONTROLLER;
    n.address = c.ip;
    n.mac = c.mac;
    n.allowed = c.allowed;
    list.push_back(n);
  }
  const uint32_t h = NewHandle();
  page->handle = h;
  page->count = static_cast<int32_t>(list.size());
  lists_[h] = std::move(list);
  return PSL_OK;
}

void Service::AddController(const std::string& name, const std::string& mac, const std::string& ip, bool allowed) {
  std::lock_guard<std::mutex> lock(mu_);
  controllers_.push_back(Controller{name, mac, ip, allowed});
}

const Medium* Service::MediumOfLocked(const std::string& path) const {
  for (const auto& m : sticks_)
    if (m && Inside(path, m->folder)) return m.get();
  for (const auto& m : servers_)
    if (Inside(path, m->folder)) return m.get();
  return nullptr;
}

int32_t Service::Availability(PslObject root, PslMediaAvailability* record) {
  Node n;
  if (!NodeOf(root, &n)) return PSL_ERR_NOT_FOUND;
  std::lock_guard<std::mutex> lock(mu_);
  const Medium* m = MediumOfLocked(n.path);
  if (!m) return PSL_ERR_NOT_FOUND;
  record->flag = 1;
  for (int k = 0; k < 3; ++k) {
    record->counts[k][0] = m->counts.files[k + 1];
    record->counts[k][1] = m->counts.folders[k + 1];
  }
  record->counts[4][0] = m->counts.avchd ? 1 : 0;
  return PSL_OK;
}

int32_t Service::Avchd(int32_t mediumUid, int32_t* flag) {
  std::lock_guard<std::mutex> lock(mu_);
  std::vector<const Medium*> order;
  for (const auto& m : sticks_)
    if (m) order.push_back(m.get());
  if (dlna_)
    for (const auto& m : servers_) order.push_back(m.get());
  if (mediumUid < 0 || mediumUid >= static_cast<int32_t>(order.size())) return PSL_ERR_NOT_FOUND;
  *flag = order[size_t(mediumUid)]->counts.avchd ? 1 : 0;
  return PSL_OK;
}

void Service::SetSortMode(int32_t mode) {
  std::lock_guard<std::mutex> lock(mu_);
  sortMode_ = mode;
}

// The listing of a folder for a type in the current order, once per order (worker or GUI).
std::vector<Entry> Service::Listing(const std::string& folder, int32_t mediaType) {
  int32_t sort;
  std::string key;
  {
    std::lock_guard<std::mutex> lock(mu_);
    sort = sortMode_;
    key = folder + "|" + std::to_string(mediaType) + "|" + std::to_string(sort);
  }
  std::error_code ec;
  const fs::file_time_type mtime = fs::last_write_time(folder, ec);
  {
    std::lock_guard<std::mutex> lock(mu_);
    auto it = listings_.find(key);
    if (it != listings_.end() && it->second.mtime == mtime) return it->second.entries;
  }
  std::vector<Entry> entries = ListFolder(folder, mediaType, sort);
  std::lock_guard<std::mutex> lock(mu_);
  listings_[key] = CachedListing{mtime, entries};
  return entries;
}

Node Service::ChildNode(const Node& folder, const Entry& e) {
  Node n;
  n.path = folder.path + "/" + e.name;
  n.uri = folder.uri + "/" + e.name;
  n.kind = e.kind;
  n.title = e.name;
  n.count = e.count;
  return n;
}

int32_t Service::RequestBrowse(PslObject source, int32_t mediaType, int32_t start, int32_t length) {
  Node folder;
  if (!NodeOf(source, &folder) || folder.kind != FileKind::kFolder) {
    kv::Log("PslMediaRequestBrowse: the source shows no folder of the service");
    return PSL_ERR_NOT_FOUND;
  }
  if (mediaType < 0 || mediaType > 3) mediaType = 0;
  start = std::max(start, 0);
  length = std::max(length, 0);
  const uint64_t hold = Hold(source);
  auto self = shared_from_this();
  Enqueue([self, folder, mediaType, start, length, hold] {
    const std::vector<Entry> all = self->Listing(folder.path, mediaType);
    std::vector<Node> page;
    for (size_t i = size_t(start); i < all.size() && page.size() < size_t(length); ++i)
      page.push_back(self->ChildNode(folder, all[i]));
    self->Answer([self, page = std::move(page), start, hold]() mutable {
      auto kept = self->Take(hold);
      if (!kept) return;
      uint32_t h;
      {
        std::lock_guard<std::mutex> lock(self->mu_);
        h = self->NewHandle();
        self->lists_[h] = page;
      }
      const PslExports ex = Exports();
      if (!ex.newListEvent || !ex.deliver) return;
      if (PslObject e = ex.newListEvent(kept->get(), h, static_cast<int32_t>(page.size()), start)) ex.deliver(e);
    });
  });
  return PSL_OK;
}

int32_t Service::ConvertObject(uint32_t list, int32_t index, PslObject source, PslObject* item) {
  Node n;
  uint32_t h;
  {
    std::lock_guard<std::mutex> lock(mu_);
    auto it = lists_.find(list);
    if (it == lists_.end() || index < 0 || index >= static_cast<int32_t>(it->second.size())) {
      kv::Log("PslMediaConvertObject: no entry " + std::to_string(index) + " in list " + std::to_string(list));
      return PSL_ERR_NOT_FOUND;
    }
    n = it->second[size_t(index)];
    h = NewHandle();
    nodes_[h] = n;
  }
  const PslExports ex = Exports();
  if (n.rootClass >= 0) {
    if (ex.createRoot)
      *item = ex.createRoot(source, n.rootClass, n.uri.c_str(), n.title.c_str(), h, n.count, true, n.address.c_str());
    if (*item && n.rootClass == PSL_ROOT_SERVER && ex.setServerInfo) ex.setServerInfo(*item, n.mac.c_str(), n.wakeOnLan);
    if (*item && n.rootClass == PSL_ROOT_CONTROLLER && ex.initController)
      ex.initController(*item, n.title.c_str(), n.mac.c_str(), n.allowed ? 1 : 0);
  } else if (n.kind == FileKind::kFolder) {
    if (ex.createContainer) *item = ex.createContainer(source, n.uri.c_str(), n.title.c_str(), h, n.count, true, true);
  } else if (ex.createItem) {
    *item = ex.createItem(source, n.uri.c_str(), n.title.c_str(), 0, h);
  }
  if (!*item) {
    std::lock_guard<std::mutex> lock(mu_);
    nodes_.erase(h);
    return PSL_ERR_NOT_FOUND;
  }
  if (n.kind == FileKind::kPicture || n.kind == FileKind::kMusic || n.kind == FileKind::kVideo) RequestThumb(*item, n);
  return PSL_OK;
}

void Service::RequestThumb(PslObject item, const Node& n) {
  const std::string path = Resolve(n.path);
  const uint64_t hold = Hold(item);
  auto self = shared_from_this();
  const FileKind kind = n.kind;
  // The canvas the answer will draw into has the GUI's thumbnail size: the
  // worker decodes and scales to fit it, so that the answer on the GUI task
  // only copies the rows (and draws the bars beside them).
  const PslExports requested = Exports();
  int32_t boxW = kThumbW, boxH = kThumbH;
  if (requested.thumbSize) requested.thumbSize(&boxW, &boxH);
  if (boxW <= 0 || boxH <= 0) boxW = kThumbW, boxH = kThumbH;
  Enqueue([self, path, kind, hold, boxW, boxH] {
    Image img;
    PictureInfo info;
    std::string error = "not on a medium";
    std::vector<uint8_t> data;
    bool ok = !path.empty() && !GetKnobs().failDecode;
    if (!ok && !path.empty()) error = "decoding fails (knob)";
    if (ok && kind == FileKind::kPicture)
      ok = ReadFile(path, kMaxPictureBytes, &data, &error) &&
           DecodePicture(data.data(), data.size(), boxW, boxH, &img, &info, &error);
    else if (ok && kind == FileKind::kMusic)
      ok = (CoverArt(path, &data) || (error = "no cover", false)) &&
           DecodePicture(data.data(), data.size(), boxW, boxH, &img, &info, &error);
    else if (ok)
      ok = VideoFrame(path, 0, boxW, boxH, &img, &error);
    if (!ok) kv::Log("media service: no thumbnail of " + kv::EscapedText(path, kv::kMaxLoggedPath) + ": " + kv::EscapedText(error, 120));
    self->Answer([self, img = std::move(img), ok, hold] {
      auto kept = self->Take(hold);
      if (!kept) return;
      const PslExports ex = Exports();
      if (ok && ex.createThumb) {
        if (dfb::Surface* s = ex.createThumb(kept->get())) DrawCentred(img, s);
      }
      if (ex.setThumbState) ex.setThumbState(kept->get(), ok ? PSL_STATE_READY : PSL_STATE_FAILED);
    });
  });
}

int32_t Service::DeleteList(uint32_t list) {
  std::lock_guard<std::mutex> lock(mu_);
  return lists_.erase(list) ? PSL_OK : PSL_ERR_NOT_FOUND;
}

int32_t Service::DeleteObject(uint32_t handle) {
  std::lock_guard<std::mutex> lock(mu_);
  return nodes_.erase(handle) ? PSL_OK : PSL_ERR_NOT_FOUND;
}

// --- Metadata and pictures -----------------------------------------------------------------

int32_t Service::RequestMetadata(PslObject item) {
  Node n;
  if (!NodeOf(item, &n) || n.kind == FileKind::kFolder) return PSL_ERR_NOT_FOUND;
  const std::string path = Resolve(n.path);
  const uint64_t hold = Hold(item);
  auto self = shared_from_this();
  Enqueue([self, n, path, hold] {
    Probe probe;
    std::string error = "not on a medium";
    bool ok = false;
    PictureInfo pic;
    if (!path.empty()) {
      if (n.kind == FileKind::kPicture) {
        std::vector<uint8_t> data;
        ok = ReadFile(path, kMaxPictureBytes, &data, &error) && ReadPictureInfo(data.data(), data.size(), &pic, &error);
      } else {
        ok = ProbeFile(path, n.kind, &probe, &error);
      }
    }
    if (!ok) kv::Log("media service: no metadata of " + kv::EscapedText(n.path, kv::kMaxLoggedPath) + ": " + kv::EscapedText(error, 120));
    self->Answer([self, n, ok, pic, probe, hold] {
      auto kept = self->Take(hold);
      if (!kept) return;
      PslObject it = kept->get();
      const PslExports ex = Exports();
      // Every request is answered by a metadata event, also for a file that
      // cannot be read (no metadata on the item then): the lists load their
      // rows one answer after the other and would stop at a silent one.
      if (n.kind == FileKind::kPicture && !ok) {
        if (ex.setPictureInfo) ex.setPictureInfo(it, PSL_STATE_FAILED, 0, 0);
      } else if (n.kind == FileKind::kPicture) {
        if (PslObject md = ex.createMetadata ? ex.createMetadata(it) : nullptr; md && ex.initPictureMetadata)
          ex.initPictureMetadata(md, n.title.c_str(), pic.make.c_str(), pic.model.c_str(), pic.type.c_str(),
                                 pic.date.c_str(), pic.orientation);
        if (ex.setPictureInfo) ex.setPictureInfo(it, 0, pic.UprightWidth(), pic.UprightHeight());
      } else if (ok) {
        PslObject md = ex.createMetadata ? ex.createMetadata(it) : nullptr;
        if (md && n.kind == FileKind::kMusic && ex.initMusicMetadata)
          ex.initMusicMetadata(md, probe.title.c_str(), probe.artist.c_str(), probe.album.c_str(), probe.year.c_str(),
                               probe.track.c_str(), probe.genre.c_str(), static_cast<int32_t>(probe.durationMs / 1000));
        if (md && n.kind == FileKind::kVideo && ex.initVideoMetadata) ex.initVideoMetadata(md, probe.summary.c_str());
      }
      if (ex.newMetadataEvent && ex.deliver)
        if (PslObject e = ex.newMetadataEvent(it)) ex.deliver(e);
    });
  });
  return PSL_OK;
}

int32_t Service::RequestPicture(PslObject item, int32_t mode) {
  if (mode != 0 && mode != 1) return PSL_ERR_INVALID;
  Node n;
  std::string path;
  if (NodeOf(item, &n)) {
    if (n.kind != FileKind::kPicture) return PSL_ERR_NOT_FOUND;
    path = Resolve(n.path);
  } else {
    // A play-list item: known by its URI only.
    const PslExports ex = Exports();
    char uri[PSL_URI_MAX] = {0};
    if (!item || !ex.uriOf || !ex.uriOf(item, uri, sizeof uri)) return PSL_ERR_NOT_FOUND;
    path = Resolve(uri);
    if (path.empty()) return PSL_ERR_NOT_FOUND;
  }
  const std::string store = tv_.DataDir() + "/wallpaper";
  const uint64_t hold = Hold(item);
  auto self = shared_from_this();
  Enqueue([self, path, mode, store, hold] {
    Image img;
    PictureInfo info;
    std::string error = "not on a medium";
    std::vector<uint8_t> data;
    bool ok = !path.empty() && ReadFile(path, kMaxPictureBytes, &data, &error);
    if (ok && GetKnobs().failDecode) ok = false, error = "decoding fails (knob)";
    if (ok) ok = DecodePicture(data.data(), data.size(), PSL_PICTURE_WIDTH, PSL_PICTURE_WIDTH, &img, &info, &error);
    std::string saved;
    if (ok && mode == 1) {
      // One user wallpaper: the store holds only the latest copy.
      std::error_code ec;
      fs::remove_all(store, ec);
      fs::create_directories(store, ec);
      saved = store + "/" + BaseName(path);
      std::ofstream out(saved, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
      if (!out.flush()) ok = false, error = "cannot write " + saved;
    }
    if (!ok) kv::Log("media service: picture " + kv::EscapedText(path, kv::kMaxLoggedPath) + " failed: " + kv::EscapedText(error, 120));
    // The canvases the GUI shows pictures on are screen-sized: the picture is
    // fitted and laid out on a whole screen here, on the worker, and the GUI
    // task takes that frame's pixels in exchange for the canvas's old ones
    // (the larger decode stays for turning the picture).
    std::shared_ptr<dfb::Surface> frame;
    if (ok && mode == 0) {
      {
        std::lock_guard<std::mutex> lock(self->mu_);
        frame = std::move(self->spareFrame_);
      }
      if (!frame) frame = std::make_shared<dfb::Surface>(PSL_PICTURE_WIDTH, PSL_PICTURE_HEIGHT);
      DrawCentred(img, frame.get());
    }
    self->Answer([self, img = std::move(img), frame, info, ok, mode, saved, hold]() mutable {
      auto kept = self->Take(hold);
      if (!kept) return;
      PslObject it = kept->get();
      const PslExports ex = Exports();
      if (ok && mode == 0) {
        if (ex.decodedPicture)
          if (dfb::Surface* s = ex.decodedPicture(it))
            if (!s->Exchange(*frame)) DrawCentred(img, s);
        // The canvas's old pixels are the next picture's frame; the picture
        // shown before is freed on the worker.
        Image before;
        {
          std::lock_guard<std::mutex> lock(self->mu_);
          self->spareFrame_ = std::move(frame);
          before = std::exchange(self->lastPicture_, std::move(img));
          self->lastTurn_ = 0;
        }
        if (!before.Empty()) self->Enqueue([before = std::move(before)] {});
      }
      if (ok && mode == 1) {
        std::lock_guard<std::mutex> lock(self->mu_);
        self->wallpaper_ = saved;
      }
      if (ex.setPictureInfo)
        ex.setPictureInfo(it, ok ? PSL_STATE_READY : PSL_STATE_FAILED, ok ? info.UprightWidth() : 0,
                          ok ? info.UprightHeight() : 0);
      if (ex.newPictureEvent && ex.deliver)
        if (PslObject e = ex.newPictureEvent(it, ok ? 0 : PSL_STATE_FAILED)) ex.deliver(e);
    });
  });
  return PSL_OK;
}

int32_t Service::DecodeImage(dfb::Surface* surface, const char* file, int32_t* w, int32_t* h) {
  const std::string path = Resolve(file);
  if (path.empty()) return PSL_ERR_NOT_FOUND;
  const int32_t boxW = *w > 0 ? std::min(*w, surface->Width()) : surface->Width();
  const int32_t boxH = *h > 0 ? std::min(*h, surface->Height()) : surface->Height();
  std::vector<uint8_t> data;
  Image img;
  PictureInfo info;
  std::string error;
  if (GetKnobs().failDecode || !ReadFile(path, kMaxPictureBytes, &data, &error) ||
      !DecodePicture(data.data(), data.size(), boxW, boxH, &img, &info, &error)) {
    kv::Log("PslGuiDecodeImage: " + kv::EscapedText(file, kv::kMaxLoggedPath) + ": " + (error.empty() ? "decoding fails (knob)" : kv::EscapedText(error, 120)));
    return PSL_ERR_INVALID;
  }
  DrawCentred(img, surface);
  *w = img.width;
  *h = img.height;
  std::lock_guard<std::mutex> lock(mu_);
  lastPicture_ = std::move(img);
  lastTurn_ = 0;
  return PSL_OK;
}

int32_t Service::RotateImage(dfb::Surface* surface, int32_t* w, int32_t* h, int32_t angle) {
  if (angle != 90 && angle != 180 && angle != 270 && angle != 360) return PSL_ERR_INVALID;
  Image turned;
  {
    std::lock_guard<std::mutex> lock(mu_);
    if (lastPicture_.Empty()) return PSL_ERR_NOT_FOUND;
    // The buffer is turned in place: the step adds to the turn it shows.
    lastTurn_ = (lastTurn_ + angle) % 360;
    turned = Fit(Rotate(lastPicture_, lastTurn_), surface->Width(), surface->Height());
  }
  DrawCentred(turned, surface);
  *w = turned.width;
  *h = turned.height;
  return PSL_OK;
}

int32_t Service::WallpaperPath(char* path) {
  std::lock_guard<std::mutex> lock(mu_);
  std::error_code ec;
  if (!wallpaper_.empty() && !fs::exists(wallpaper_, ec)) wallpaper_.clear();
  if (wallpaper_.empty()) {
    // A copy from an earlier run.
    for (const auto& de : fs::directory_iterator(tv_.DataDir() + "/wallpaper", ec))
      if (de.is_regular_file(ec)) wallpaper_ = de.path().string();
  }
  CopyText(path, PSL_PATH_MAX, wallpaper_);
  return PSL_OK;
}

int32_t Service::WallpaperDelete() {
  std::lock_guard<std::mutex> lock(mu_);
  std::error_code ec;
  fs::remove_all(tv_.DataDir() + "/wallpaper", ec);
  wallpaper_.clear();
  return PSL_OK;
}

// --- Playlists ------------------------------------------------------------------------------

std::vector<Node> Service::FolderFiles(const Node& folder, int32_t mediaType) {
  std::vector<Node> out;
  for (const Entry& e : Listing(folder.path, mediaType))
    if (e.kind != FileKind::kFolder) out.push_back(ChildNode(folder, e));
  return out;
}

int32_t Service::PlaylistCreate(int32_t kind, int32_t mode, PslObject item, PslObject, uint32_t* handle) {
  if (kind != PSL_KIND_MUSIC && kind != PSL_KIND_PICTURE && kind != PSL_KIND_VIDEO && kind != PSL_KIND_FLASH)
    return PSL_ERR_INVALID;
  if (mode < 1 || mode > 5) return PSL_ERR_INVALID;
  Playlist pl;
  pl.kind = kind;
  pl.mode = mode;
  if (mode >= 3) {
    Node n;
    if (!NodeOf(item, &n)) return PSL_ERR_NOT_FOUND;
    if (mode == 4) {
      if (n.kind == FileKind::kFolder) return PSL_ERR_INVALID;
      pl.items.push_back(n);
    } else {
      if (n.kind != FileKind::kFolder) return PSL_ERR_INVALID;
      pl.items = FolderFiles(n, TypeOfKind(kind));
    }
  }
  std::lock_guard<std::mutex> lock(mu_);
  *handle = NewHandle();
  playlists_[*handle] = std::move(pl);
  return PSL_OK;
}

Playlist* Service::PlaylistLocked(uint32_t handle) {
  auto it = playlists_.find(handle);
  return it == playlists_.end() ? nullptr : &it->second;
}

int32_t Service::PlaylistCount(uint32_t handle, int32_t* count) {
  std::lock_guard<std::mutex> lock(mu_);
  Playlist* pl = PlaylistLocked(handle);
  if (!pl) return PSL_ERR_NOT_FOUND;
  *count = static_cast<int32_t>(pl->items.size());
  return PSL_OK;
}

int32_t Service::PlaylistItemAt(uint32_t handle, int32_t n, char* uri) {
  std::lock_guard<std::mutex> lock(mu_);
  Playlist* pl = PlaylistLocked(handle);
  if (!pl || n < 0 || n >= static_cast<int32_t>(pl->items.size())) return PSL_ERR_NOT_FOUND;
  CopyText(uri, PSL_URI_MAX, pl->items[size_t(n)].uri);
  return PSL_OK;
}

int32_t Service::PlaylistCurrent(uint32_t handle, char* uri, int32_t* index) {
  std::lock_guard<std::mutex> lock(mu_);
  Playlist* pl = PlaylistLocked(handle);
  if (!pl || pl->items.empty()) return PSL_ERR_NOT_FOUND;
  *index = pl->current;
  CopyText(uri, PSL_URI_MAX, pl->items[size_t(pl->current)].uri);
  return PSL_OK;
}

int32_t Service::PlaylistSeek(uint32_t handle, int32_t n, char* uri) {
  std::lock_guard<std::mutex> lock(mu_);
  Playlist* pl = PlaylistLocked(handle);
  if (!pl || n < 0 || n >= static_cast<int32_t>(pl->items.size())) return PSL_ERR_NOT_FOUND;
  pl->current = n;
  CopyText(uri, PSL_URI_MAX, pl->items[size_t(n)].uri);
  return PSL_OK;
}

int32_t Service::PlaylistAdd(uint32_t handle, PslObject item) {
  Node n;
  if (!NodeOf(item, &n) || n.kind == FileKind::kFolder) return PSL_ERR_INVALID;
  std::lock_guard<std::mutex> lock(mu_);
  Playlist* pl = PlaylistLocked(handle);
  if (!pl) return PSL_ERR_NOT_FOUND;
  pl->items.push_back(n);
  return PSL_OK;
}

int32_t Service::PlaylistRemove(uint32_t handle, PslObject item) {
  Node n;
  if (!NodeOf(item, &n)) return PSL_ERR_NOT_FOUND;
  std::lock_guard<std::mutex> lock(mu_);
  Playlist* pl = PlaylistLocked(handle);
  if (!pl) return PSL_ERR_NOT_FOUND;
  auto it = std::find_if(pl->items.begin(), pl->items.end(), [&](const Node& x) { return x.uri == n.uri; });
  if (it == pl->items.end()) return PSL_ERR_NOT_FOUND;
  const auto at = static_cast<int32_t>(it - pl->items.begin());
  pl->items.erase(it);
  if (pl->current > at || pl->current >= static_cast<int32_t>(pl->items.size()))
    pl->current = std::max(0, pl->current - 1);
  return PSL_OK;
}

int32_t Service::PlaylistDestroy(uint32_t handle) {
  std::lock_guard<std::mutex> lock(mu_);
  for (Player* p : {&music_, &video_})
    if (p->playlist == handle) {
      p->playlist = 0;
      p->state = 7;
      ++p->generation;
    }
  return playlists_.erase(handle) ? PSL_OK : PSL_ERR_NOT_FOUND;
}

}  // namespace psl
