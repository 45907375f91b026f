#include "platform/sim/sim.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/os/gui_lock.h"
#include "platform/psl/psl.h"
#include "platform/sim/sim_net_state.h"
#include "platform/sim/sim_tv_state.h"
#include "platform/storage/SimpleFileReader.h"
#include "platform/storage/kept_aside.h"
#include "platform/xpm/xpm_record.h"
#include "runtime/clock.h"
#include "runtime/trace.h"

namespace sim {

namespace {
std::atomic<Sim*> g_current{nullptr};
constexpr size_t kMaxLogEntries = 100000;
constexpr size_t kMaxLogBytes = size_t{4} << 20;  // the entries' texts together
constexpr const char* kStateFile = "tvsim.state";
// The Sim (its serial) whose last save could not make the last good copy:
// said once for a run of such saves.
std::atomic<uint64_t> g_backupFailing{0};
// The last line of a complete state file, followed by its number of entries.
constexpr std::string_view kStateEnd = "#end ";

bool WriteAll(int fd, const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}
// Revisions count up across every simulation of the process, so that two
// states never share one.
uint64_t NextRevision() {
  static std::atomic<uint64_t> last{0};
  return ++last;
}
}  // namespace

Sim::Sim(std::string dataDir) : dataDir_(std::move(dataDir)) {
  revision_ = NextRevision();
  BKNI_CreateMutex(&guiLock_);
  LoadState();
  tv_ = std::make_unique<TvState>(*this);
  net_ = std::make_unique<NetState>(*this);
}

Sim::~Sim() {
  Stop();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (middleware_.uart) std::fclose(middleware_.uart);
    middleware_.uart = nullptr;
  }
  if (g_qvak_mutex == guiLock_) g_qvak_mutex = nullptr;
  BKNI_DestroyMutex(guiLock_);
}

void Sim::Start() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (running_) return;
    running_ = true;
    stopping_ = false;
  }
  thread_ = std::thread([this] { ThreadMain(); });
  saver_ = std::thread([this] { SaverMain(); });
  g_current.store(this);
  g_qvak_mutex = guiLock_;
  TimersChanged(*this);  // the stored timers come due from now on
}

void Sim::Stop() {
  psl::OnSimStop(*this);  // the media service's worker ends first
  bool wasRunning = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    wasRunning = running_;
    stopping_ = true;
  }
  if (wasRunning) {
    cv_.notify_all();
    if (thread_.joinable()) thread_.join();
    {
      std::lock_guard<std::mutex> lock(mutex_);
      running_ = false;
      while (!items_.empty()) items_.pop();
    }
    doneCv_.notify_all();
    Sim* self = this;
    g_current.compare_exchange_strong(self, nullptr);
  }
  if (saver_.joinable()) {
    {
      std::lock_guard<std::mutex> lock(stateMutex_);
      saverStopping_ = true;
    }
    saveCv_.notify_all();
    saver_.join();
    std::lock_guard<std::mutex> lock(stateMutex_);
    saverStopping_ = false;
  }
  Flush();  // nothing is lost
}

bool Sim::Running() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return running_;
}

Sim* Sim::Current() { return g_current.load(); }

std::string Sim::TargetPath(std::string_view path) const {
  std::string out = dataDir_;
  if (!path.empty() && path.front() != '/') out += '/';
  out += path;
  return out;
}

// --- Time line ---------------------------------------------------------------

void Sim::Schedule(int64_t at, std::function<void()> fn) {
  if (!fn) return;
  const int64_t now = kv::GetClock().Now();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    items_.push(Item{at < 0 ? now : at, seq_++, std::move(fn)});
  }
  cv_.notify_all();
}

void Sim::Inject(uint32_t id, const void* payload, size_t length, int64_t at) {
  std::vector<uint8_t> bytes;
  if (length > 0) {
    if (!payload) {
      kv::Log("Sim::Inject: event " + std::to_string(id) + " without its payload, not sent");
      return;
    }
    const auto* p = static_cast<const uint8_t*>(payload);
    bytes.assign(p, p + length);
  }
  Schedule(at, [this, id, bytes = std::move(bytes)] { DeliverEvent(id, bytes); });
}

void Sim::DeliverEvent(uint32_t id, const std::vector<uint8_t>& bytes) {
  XPM_EventCallback cb;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    cb = middleware_.callback;
    if (cb) ++middleware_.callbacksRunning;
  }
  if (!cb) {
    kv::Log("Sim: middleware event " + std::to_string(id) + " dropped, nobody subscribed");
    return;
  }
  // Exactly `size` bytes, so that a reader going past the end is caught.
  std::unique_ptr<uint8_t[]> block(new uint8_t[bytes.size()]);
  if (!bytes.empty()) std::memcpy(block.get(), bytes.data(), bytes.size());
  cb(id, block.get(), static_cast<uint32_t>(bytes.size()));
  {
    std::lock_guard<std::mutex> lock(mutex_);
    --middleware_.callbacksRunning;
  }
  stateCv_.notify_all();
}

void Sim::ThreadMain() {
  threadId_ = std::this_thread::get_id();
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stopping_) {
    // The clock is read on every pass: it may be replaced while the set runs
    // (a test moving from its fake clock to the real one), and a thread bound
    // to the old clock would wait for a time that never comes.
    kv::Clock& clock = kv::GetClock();
    if (items_.empty()) {
      doneCv_.notify_all();
      cv_.wait(lock);
      continue;
    }
    const int64_t due = items_.top().due;
    if (due > clock.Now()) {
      doneCv_.notify_all();
      clock.WaitUntil(cv_, lock, due);
      continue;
    }
    // The top item is moved out before popping (priority_queue::top is const).
    Item item = std::move(const_cast<Item&>(items_.top()));
    items_.pop();
    busy_ = true;
    lock.unlock();
    item.fn();
    item.fn = nullptr;
    lock.lock();
    busy_ = false;
  }
  doneCv_.notify_all();
}

void Sim::Quiesce() {
  // The media service's worker and the time line feed each other: wait for
  // both until neither had anything left to do.
  do {
    kv::Clock& clock = kv::GetClock();
    std::unique_lock<std::mutex> lock(mutex_);
    if (!running_ || OnSimThread()) return;
    const int64_t now = clock.Now();
    cv_.notify_all();
    // Bounded: on the real clock the set's time line never stands still, and a
    // caller must not hang on it; the bound is far above any real settling.
    if (!doneCv_.wait_for(lock, std::chrono::seconds(10),
                          [&] { return stopping_ || (!busy_ && (items_.empty() || items_.top().due > now)); })) {
      kv::Log("Sim::Quiesce: the set's thread did not settle within 10 s");
      return;
    }
  } while (psl::WaitIdle());
  // On a clock that jumps ahead when idle the state is written here, where
  // the program waits, and not at a moment of the saver thread's own: the
  // file then holds the same state at the same point of every run.
  if (kv::GetClock().AdvancesOnIdle()) SaveIfDue();
}

int64_t Sim::NextDue() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return items_.empty() ? -1 : items_.top().due;
}

// --- The system manager's side -------------------------------------------------

void Sim::SendCommand(uint32_t id, int32_t param, const void* data, uint32_t length, int64_t at) {
  auto cmd = std::make_shared<TVSM_Command>();
  std::memset(cmd.get(), 0, sizeof(TVSM_Command));
  cmd->id = id;
  cmd->param = param;
  if (length > TVSM_COMMAND_DATA_SIZE) {
    kv::Log("Sim::SendCommand: " + std::to_string(length) + " bytes of data cut to " +
            std::to_string(TVSM_COMMAND_DATA_SIZE));
    length = TVSM_COMMAND_DATA_SIZE;
  }
  if (data && length) std::memcpy(cmd->data, data, length);
  cmd->length = data ? length : 0;
  Schedule(at, [this, cmd] {
    TVSM_ProcessCommandCallback cb;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      cb = manager_.command;
    }
    if (!cb) {
      kv::Log("Sim: process command " + std::to_string(cmd->id) + " dropped, no callback registered");
      return;
    }
    cb(cmd.get());
  });
}

void Sim::SendOsdState(int32_t osdShown) {
  Schedule(-1, [this, osdShown] {
    TVSM_OSDStateCallback cb;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      cb = manager_.osd;
    }
    if (cb) cb(osdShown);
  });
}

void Sim::SendKey(int32_t key, int32_t down) {
  Schedule(-1, [this, key, down] {
    TVSM_KeyCallback cb;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      cb = manager_.key;
    }
    if (cb) cb(key, down);
  });
}

void Sim::Standby() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    manager_.power = Power::kStandby;
  }
  stateCv_.notify_all();
  SendCommand(TVSM_CMD_STOP);
}

void Sim::Resume() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    manager_.power = Power::kOn;
  }
  stateCv_.notify_all();
}

void Sim::PowerOff() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    manager_.power = Power::kOff;
  }
  stateCv_.notify_all();
  SendCommand(TVSM_CMD_STOP);
}

// --- Call log and failures -------------------------------------------------------

std::optional<int32_t> Sim::Enter(std::string_view name, std::string_view args) {
  std::lock_guard<std::mutex> lock(logMutex_);
  // Each entry gets a buffer of its own size, and a full log drops its
  // oldest entries, so its memory stays within its bounds however long the
  // set runs and however long a single call's arguments were.
  std::string entry;
  entry.reserve(name.size() + args.size() + 2);
  entry.append(name);
  entry += '(';
  entry += args;
  entry += ')';
  logBytes_ += entry.size();
  log_.push_back(std::move(entry));
  while (log_.size() > kMaxLogEntries || logBytes_ > kMaxLogBytes) {
    logBytes_ -= log_.front().size();
    log_.pop_front();
  }
  if (auto later = delayedFailures_.find(name); later != delayedFailures_.end()) {
    if (later->second.second > 0) {
      --later->second.second;
    } else {
      failures_[std::string(name)] = later->second.first;
      delayedFailures_.erase(later);
    }
  }
  auto it = failures_.find(name);
  if (it != failures_.end()) return it->second;
  if (everyCallFails_ && std::find(everyCallExcept_.begin(), everyCallExcept_.end(), name) == everyCallExcept_.end())
    return everyCallFails_;
  return std::nullopt;
}

std::vector<std::string> Sim::CallLog() const {
  std::lock_guard<std::mutex> lock(logMutex_);
  return {log_.begin(), log_.end()};
}

std::vector<std::string> Sim::Calls(std::string_view name) const {
  std::lock_guard<std::mutex> lock(logMutex_);
  std::vector<std::string> out;
  for (const auto& e : log_)
    if (e.size() > name.size() && e.compare(0, name.size(), name) == 0 && e[name.size()] == '(') out.push_back(e);
  return out;
}

size_t Sim::CountCalls(std::string_view name) const { return Calls(name).size(); }

void Sim::ClearCallLog() {
  std::lock_guard<std::mutex> lock(logMutex_);
  log_.clear();
  logBytes_ = 0;
}

void Sim::FailCall(std::string name, int32_t code) {
  std::lock_guard<std::mutex> lock(logMutex_);
  failures_[std::move(name)] = code;
}

void Sim::FailCallAfter(std::string name, int32_t code, int successes) {
  std::lock_guard<std::mutex> lock(logMutex_);
  delayedFailures_[std::move(name)] = {code, successes};
}

void Sim::FailEveryCall(int32_t code, std::vector<std::string> except) {
  std::lock_guard<std::mutex> lock(logMutex_);
  everyCallFails_ = code;
  everyCallExcept_ = std::move(except);
}

void Sim::ClearFailures() {
  std::lock_guard<std::mutex> lock(logMutex_);
  failures_.clear();
  delayedFailures_.clear();
  everyCallFails_.reset();
  everyCallExcept_.clear();
}

std::optional<int32_t> EnterCall(const char* name, std::string_view args, int32_t noSimCode) {
  Sim* sim = Sim::Current();
  if (!sim) {
    kv::Log(std::string(name) + ": no simulated television");
    return noSimCode;
  }
  return sim->Enter(name, args);
}

// --- Persistent state ------------------------------------------------------------

std::string Sim::StatePath() const { return dataDir_ + "/" + kStateFile; }

namespace {

// The first part of every key the stand-ins keep ("tv" of "tv.set.volume");
// a line of another key comes from elsewhere and is dropped.
constexpr std::string_view kKnownKeyParts[] = {
    "3d",  "back_to_tv_source", "caption", "cec", "db",  "enh", "factory", "frc", "gpio", "net",
    "oam", "oem",               "record",  "reg", "ring", "rrt", "svc",     "sys", "tv",   "upd",
};

bool KnownStateKey(std::string_view key) {
  const std::string_view part = key.substr(0, key.find('.'));
  for (std::string_view known : kKnownKeyParts)
    if (part == known) return true;
  return false;
}

// A key of printable ASCII without '=' or spaces, and a value without
// control bytes (tab allowed): what SetState stores and the file reads back.
bool CleanStateLine(std::string_view key, std::string_view value) {
  if (key.empty()) return false;
  for (unsigned char c : key)
    if (c <= 0x20 || c >= 0x7F || c == '=') return false;
  for (unsigned char c : value)
    if ((c < 0x20 && c != '\t') || c == 0x7F) return false;
  return true;
}

// FNV-1a over the text before the closing line: any changed byte (a stray
// byte inside a value, a line cut and joined) shows.
uint32_t StateChecksum(std::string_view text) {
  uint32_t h = 2166136261u;
  for (unsigned char c : text) h = (h ^ c) * 16777619u;
  return h;
}

std::string Hex8(uint32_t v) {
  char out[9];
  std::snprintf(out, sizeof out, "%08x", v);
  return out;
}

// "#end <entries> <checksum>": the entries before it and the checksum of
// every byte before it.
std::string ClosingLine(std::string_view body, size_t entries) {
  return std::string(kStateEnd) + std::to_string(entries) + " " + Hex8(StateChecksum(body)) + "\n";
}

// A state file as read: its known entries and what was wrong with it.
struct StateRead {
  bool exists = false;
  // Something is in the file's place that gives no text: what it is ("is a
  // folder, not a file", "cannot be read (Permission denied)"); empty else.
  std::string unusable;
  bool complete = false;  // closed by its closing line, with the right count
  bool checked = false;   // the closing line carried a checksum, and it matched
  size_t bad = 0, unknown = 0;
  std::string firstUnknown;
  std::map<std::string, std::string> entries;
  std::string text;
  // Read whole and as written: nothing dropped.
  bool Whole() const { return exists && complete && bad == 0; }
};

StateRead ReadStateFile(const std::string& path) {
  StateRead r;
  auto cannotRead = [&r](int error) {
    r.unusable = std::string("cannot be read (") + std::strerror(error) + ")";
    return r;
  };
  // Opened without waiting, and judged by the open descriptor: a pipe with
  // no writer at the name must not hold the start.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0 && errno == ENOENT) return r;
  r.exists = true;
  if (fd < 0) return cannotRead(errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    r.unusable = S_ISDIR(st.st_mode) ? "is a folder, not a file" : std::string("is not a plain file (") + SFR_KindOf(st.st_mode) + ")";
    ::close(fd);
    return r;
  }
  char chunk[16384];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      ::close(fd);
      r.text.clear();
      return cannotRead(error);
    }
    if (n == 0) break;
    r.text.append(chunk, static_cast<size_t>(n));
  }
  ::close(fd);
  const std::string& text = r.text;

  // Complete lines only; the closing line counts the entries before it and
  // carries the checksum of every byte before it (files of older versions
  // close without one and are taken on their count).
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
    lines.emplace_back(text.data() + start, nl - start);
  if (start == text.size() && !lines.empty()) {
    const std::string_view last = lines.back();
    const std::string_view body(text.data(), text.size() - last.size() - 1);
    const std::string count = std::string(kStateEnd) + std::to_string(lines.size() - 1);
    if (std::string(last) == count) {
      r.complete = true;
    } else if (std::string(last) + "\n" == ClosingLine(body, lines.size() - 1)) {
      r.complete = r.checked = true;
    } else if (last.substr(0, count.size() + 1) == count + " ") {
      r.bad = 1;  // closed, but its bytes changed since: no line of it is trusted alone
    }
  }
  if (r.complete) lines.pop_back();
  for (std::string_view line : lines) {
    const size_t eq = line.find('=');
    const std::string_view key = line.substr(0, eq);
    const std::string_view value = eq == std::string_view::npos ? std::string_view() : line.substr(eq + 1);
    if (eq == std::string_view::npos || !CleanStateLine(key, value) || r.entries.count(std::string(key)) != 0) {
      ++r.bad;
    } else if (!KnownStateKey(key)) {
      if (r.unknown++ == 0) r.firstUnknown = std::string(key);
    } else {
      r.entries.emplace(key, value);
    }
  }
  return r;
}

// Keeps a copy of what was read as <path>.bad; the copies kept before it
// move on to .bad.1 and .bad.2 (storage::MakeRoomAside), so that a second
// damaged file never takes the place of the first.
void KeepCopy(const std::string& path, const std::string& text) {
  const std::string copy = path + ".bad";
  std::string why;
  if (!storage::MakeRoomAside(copy, &why)) {
    kv::Log("Sim: cannot keep a copy of " + kv::EscapedText(path, kv::kMaxLoggedPath) + ": " + why);
    return;
  }
  std::ofstream out(copy, std::ios::binary | std::ios::trunc);
  out << text;
  if (out.flush())
    kv::Log("Sim: the file as it was is kept as " + kv::EscapedText(copy, kv::kMaxLoggedPath));
  else
    kv::Log("Sim: cannot keep a copy of " + kv::EscapedText(path, kv::kMaxLoggedPath));
}

// Keeps a damaged file beside as <path>.bad: a copy of what was read, or,
// when nothing could be read (a folder, a file without read permission), the
// thing itself moved there, so that no save puts a file over it unseen.
void KeepAside(const std::string& path, const StateRead& read) {
  if (!read.exists) return;
  if (read.unusable.empty()) {
    KeepCopy(path, read.text);
    return;
  }
  const std::string aside = path + ".bad";
  std::string why;
  if (storage::MoveAside(path, aside, &why))
    kv::Log("Sim: what was there is kept as " + kv::EscapedText(aside, kv::kMaxLoggedPath));
  else
    kv::Log("Sim: cannot move " + kv::EscapedText(path, kv::kMaxLoggedPath) + " aside: " + why);
}

// A new file that is not used: a save's half-written file goes; anything
// else standing at its name (a folder, a pipe) is said and kept aside.
void DropNewFile(const std::string& path, const StateRead& fresh) {
  if (!fresh.exists) return;
  const std::string name = path + ".new";
  if (fresh.unusable.empty()) {
    ::unlink(name.c_str());
    return;
  }
  const std::string aside = name + ".bad";
  struct stat st {};
  const char* kind = ::lstat(name.c_str(), &st) == 0 ? SFR_KindOf(st.st_mode) : "not a plain file";
  std::string why;
  if (storage::MoveAside(name, aside, &why))
    kv::Log("Sim: " + kv::EscapedText(name, kv::kMaxLoggedPath) + " (" + kind + ") is kept as " +
            kv::EscapedText(aside, kv::kMaxLoggedPath));
  else
    kv::Log("Sim: cannot move " + kv::EscapedText(name, kv::kMaxLoggedPath) + " aside: " + why);
}

// What is wrong with a state file that is not whole, as "<file> <this>".
std::string Trouble(const StateRead& read) {
  if (!read.exists) return "is missing";
  if (!read.unusable.empty()) return read.unusable;
  return std::string("is damaged (") +
         (read.text.empty()               ? "empty"
          : read.bad > 0 && read.complete ? "bad lines"
          : read.bad > 0                ? "its checksum does not match"
                                        : "cut short or not closed") +
         ")";
}

}  // namespace

// The state comes from the first whole file of: the new file a save wrote
// completely before a power cut stopped its renames, the state file, the
// last good copy (tvsim.state.bak). When none is whole, every complete known
// line of the state file is kept (of the last good copy, when the state file
// gives none) and the rest take their defaults. A state file that is not
// whole is said in one line and kept beside as tvsim.state.bad (moved there
// when it cannot be read or is no file); so is a last good copy that was
// needed and is not whole. Whatever was not read from a whole state file is
// written back at once.
void Sim::LoadState() {
  const std::string path = StatePath();
  const std::string shown = kv::EscapedText(path, kv::kMaxLoggedPath);
  const StateRead fresh = ReadStateFile(path + ".new");
  StateRead main = ReadStateFile(path);

  const StateRead* used = &main;
  bool rewrite = false;
  if (fresh.Whole() && fresh.checked) {
    kv::Log("Sim: state taken from the complete new file " + shown + ".new");
    if (!main.unusable.empty()) {
      kv::Log("Sim: " + shown + " " + main.unusable);
      KeepAside(path, main);
    }
    used = &fresh;
    rewrite = true;
  } else if (!main.Whole()) {
    StateRead backup = ReadStateFile(path + ".bak");
    if (!main.exists && !backup.exists) {
      DropNewFile(path, fresh);
      return;  // a new set
    }
    const std::string trouble = Trouble(main);
    if (backup.Whole()) {
      kv::Log("Sim: " + shown + " " + trouble + "; the last good copy " + shown + ".bak is used");
      KeepAside(path, main);
      main = std::move(backup);
    } else if (main.entries.empty() && !backup.entries.empty()) {
      kv::Log("Sim: " + shown + " " + trouble + ", and its last good copy " + shown + ".bak " + Trouble(backup) +
              ": " + std::to_string(backup.entries.size()) + " entries of the copy read, " +
              std::to_string(backup.bad) + " bad lines dropped; the other settings of the set take their defaults");
      KeepAside(path, main);
      KeepAside(path + ".bak", backup);
      main = std::move(backup);
    } else {
      std::string line = "Sim: " + shown + " " + trouble;
      if (backup.exists) line += ", and its last good copy " + shown + ".bak " + Trouble(backup);
      if (main.entries.empty() && main.bad == 0)
        line += ": the settings of the set take their defaults";
      else
        line += ": " + std::to_string(main.entries.size()) + " entries read, " + std::to_string(main.bad) +
                " bad lines dropped; the other settings of the set take their defaults";
      kv::Log(line);
      KeepAside(path, main);
      if (backup.exists) KeepAside(path + ".bak", backup);
    }
    rewrite = true;
  }
  if (used != &fresh) DropNewFile(path, fresh);
  if (used->unknown > 0) {
    kv::Log("Sim: " + shown + ": dropped " + std::to_string(used->unknown) +
            (used->unknown == 1 ? " line" : " lines") + " of unknown keys (the first \"" +
            kv::EscapedText(used->firstUnknown) + "\")");
    if (!rewrite) KeepCopy(path, used->text);
    rewrite = true;
  }

  std::lock_guard<std::mutex> lock(stateMutex_);
  revision_ = NextRevision();
  state_ = used->entries;
  if (!rewrite) return;
  dirty_ = true;
  unsaved_ += 1;
}

std::string Sim::GetState(const std::string& key, const std::string& fallback) const {
  std::lock_guard<std::mutex> lock(stateMutex_);
  auto it = state_.find(key);
  return it == state_.end() ? fallback : it->second;
}

bool Sim::SetState(const std::string& key, const std::string& value) {
  if (!CleanStateLine(key, value)) {
    kv::Log("Sim::SetState: bad key or value for \"" + kv::EscapedText(key) + "\", not stored");
    return false;
  }
  std::lock_guard<std::mutex> lock(stateMutex_);
  auto it = state_.find(key);
  if (it != state_.end() && it->second == value) return true;
  state_[key] = value;
  ++unsaved_;
  revision_ = NextRevision();
  MarkDirtyLocked();
  return true;
}

bool Sim::UpdateState(const std::map<std::string, std::string>& set, const std::vector<std::string>& erase) {
  for (const auto& [key, value] : set) {
    if (!CleanStateLine(key, value)) {
      kv::Log("Sim::UpdateState: bad key or value for \"" + kv::EscapedText(key) + "\", nothing stored");
      return false;
    }
  }
  std::lock_guard<std::mutex> lock(stateMutex_);
  for (const auto& [key, value] : set) state_[key] = value;
  for (const auto& key : erase) state_.erase(key);
  unsaved_ += set.size() + erase.size();
  revision_ = NextRevision();
  MarkDirtyLocked();
  return true;
}

uint64_t Sim::StateRevision() const {
  std::lock_guard<std::mutex> lock(stateMutex_);
  return revision_;
}

size_t Sim::UnsavedChanges() const {
  std::lock_guard<std::mutex> lock(stateMutex_);
  return unsaved_;
}

std::map<std::string, std::string> Sim::StateWithPrefix(std::string_view prefix) const {
  std::lock_guard<std::mutex> lock(stateMutex_);
  std::map<std::string, std::string> out;
  for (auto it = state_.lower_bound(std::string(prefix)); it != state_.end(); ++it) {
    if (it->first.compare(0, prefix.size(), prefix) != 0) break;
    out.insert(*it);
  }
  return out;
}

void Sim::VisitStateWithPrefix(std::string_view prefix,
                               const std::function<void(const std::string&, const std::string&)>& fn) const {
  std::lock_guard<std::mutex> lock(stateMutex_);
  for (auto it = state_.lower_bound(std::string(prefix)); it != state_.end(); ++it) {
    if (it->first.compare(0, prefix.size(), prefix) != 0) break;
    fn(it->first, it->second);
  }
}

void Sim::MarkDirtyLocked() {
  if (dirty_) return;
  dirty_ = true;
  saveCv_.notify_all();
}

void Sim::SaverMain() {
  std::unique_lock<std::mutex> lock(stateMutex_);
  for (;;) {
    // On a clock that jumps ahead when idle, Quiesce writes instead (SaveIfDue).
    saveCv_.wait(lock, [this] { return (dirty_ && !kv::GetClock().AdvancesOnIdle()) || saverStopping_; });
    kv::Clock& clock = kv::GetClock();  // read each pass, as in ThreadMain
    if (saverStopping_) return;  // Stop writes what is pending
    if (savedOnce_ && clock.Now() < lastSave_ + kSaveIntervalMs) {
      clock.WaitUntil(saveCv_, lock, lastSave_ + kSaveIntervalMs);
      continue;
    }
    lock.unlock();
    Flush();
    lock.lock();
  }
}

void Sim::SaveIfDue() {
  {
    std::lock_guard<std::mutex> lock(stateMutex_);
    if (!dirty_ || (savedOnce_ && kv::GetClock().Now() < lastSave_ + kSaveIntervalMs)) return;
  }
  Flush();
}

bool Sim::Flush() {
  std::lock_guard<std::mutex> order(saveMutex_);
  std::string text;
  size_t written = 0;  // the changes this write holds
  {
    std::lock_guard<std::mutex> lock(stateMutex_);
    if (!dirty_) return true;
    dirty_ = false;
    lastSave_ = kv::GetClock().Now();
    savedOnce_ = true;
    for (const auto& [k, v] : state_) text += k + "=" + v + "\n";
    text += ClosingLine(text, state_.size());
    written = unsaved_;
  }
  if (WriteStateFile(text)) {
    saveFailing_ = false;
    std::lock_guard<std::mutex> lock(stateMutex_);
    unsaved_ -= written;
    return true;
  }
  saveFailing_ = true;
  std::lock_guard<std::mutex> lock(stateMutex_);
  MarkDirtyLocked();  // tried again after the interval
  return false;
}

bool Sim::WriteStateFile(const std::string& text) {
  std::error_code ec;
  std::filesystem::create_directories(dataDir_, ec);
  const std::string path = StatePath();
  const std::string tmp = path + ".new";
  // Whatever stands at the new file's name (a folder left there) is moved
  // aside, said once, and the save goes on.
  std::string movedAside;
  int fd = storage::OpenNewFile(tmp, tmp + ".bad", &movedAside);
  if (!movedAside.empty() && (fd >= 0 || !saveFailing_)) kv::Log("Sim: " + movedAside);
  if (fd < 0) {
    if (!saveFailing_) kv::Log("Sim: cannot write " + kv::EscapedText(tmp, kv::kMaxLoggedPath) + ": " + std::strerror(errno));
    return false;
  }
  bool ok = WriteAll(fd, text) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  // The file it replaces becomes the last good copy, when it is whole. When
  // that copy cannot be made (a folder in its place) the state is saved all
  // the same, and the copy not made is named once.
  if (ok && ReadStateFile(path).Whole()) {
    const std::string backup = path + ".bak";
    if (std::rename(path.c_str(), backup.c_str()) == 0) {
      uint64_t mine = serial_;
      g_backupFailing.compare_exchange_strong(mine, 0);
    } else if (g_backupFailing.exchange(serial_) != serial_) {
      kv::Log("Sim: the last good copy " + kv::EscapedText(backup, kv::kMaxLoggedPath) + " cannot be made (" +
              std::strerror(errno) + "); the state is saved without it");
    }
  }
  if (!ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
    if (!saveFailing_) kv::Log("Sim: saving " + kv::EscapedText(path, kv::kMaxLoggedPath) + " failed: " + std::strerror(errno));
    ::unlink(tmp.c_str());
    return false;
  }
  int dir = ::open(dataDir_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

// --- Snapshots ---------------------------------------------------------------------

Sim::MiddlewareState Sim::MiddlewareSnapshot() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return middleware_;
}
Sim::ManagerState Sim::ManagerSnapshot() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return manager_;
}
Sim::ServicesState Sim::ServicesSnapshot() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return services_;
}

// --- Partitions ----------------------------------------------------------------------

int32_t MountPartition(const char* partition, const char* mountPoint) {
  if (auto fail = EnterCall("MPLCore_MountPartition", Args(partition, mountPoint), BKNI_OS_ERROR)) return *fail;
  if (!partition || !mountPoint || mountPoint[0] != '/') {
    kv::Log("MPLCore_MountPartition: bad partition or mount point");
    return BKNI_OS_ERROR;
  }
  std::error_code ec;
  const std::string path = Sim::Current()->TargetPath(mountPoint);
  std::filesystem::create_directories(path, ec);
  if (ec) {
    kv::Log("MPLCore_MountPartition: cannot make " + kv::EscapedText(path, kv::kMaxLoggedPath) + ": " + ec.message());
    return BKNI_OS_ERROR;
  }
  return BKNI_SUCCESS;
}

}  // namespace sim
