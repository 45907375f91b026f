// The simulated players of the media service: a playlist, a position that
// moves on the shared clock at the chosen rate, and the status events a real
// player sends (all with the values 0, 0, 0, 0):
//   3 playing starts or resumes, 27 once a second while it plays, 2 paused
//   (followed by one 27 with the position it stopped at),
//   11 the next item plays, 5 the end of the list (after repeat), 1 an item
//   that cannot be opened. The player stops at such an item and shows black;
//   the next item plays when the GUI asks for it.
#include <algorithm>
#include <array>
#include <cstring>

#include "platform/psl/psl_knobs.h"
#include "platform/psl/psl_probe.h"
#include "platform/psl/psl_service.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_tv_state.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "runtime/clock.h"
#include "runtime/trace.h"

namespace psl {
namespace {

constexpr int64_t kTickMs = 1000;
constexpr uint16_t kStatusOpenFailed = 1, kStatusPaused = 2, kStatusPlaying = 3, kStatusEnd = 5,
                   kStatusNextItem = 11, kStatusPosition = 27;

enum PlayState : int32_t { kPlaying = 1, kPaused = 2, kForward = 3, kBackward = 4, kStopped = 7 };

// Stops the player; the ticks it has scheduled do nothing (a new generation).
void Halt(Player& p) {
  p.state = kStopped;
  p.rate = 0;
  ++p.generation;
}

}  // namespace

Player* Service::PlayerOf(int32_t kind) {
  if (kind == PSL_KIND_MUSIC) return &music_;
  if (kind == PSL_KIND_VIDEO || kind == PSL_KIND_FLASH) return &video_;
  return nullptr;
}

void Service::ShowFrameLocked(const Player& p, bool black) {
  int32_t source = -1;
  if (stopping_ || &p != &video_ || tv_.Tv().CurrentSource(0, &source, "media service") != 0 || source != 22) return;
  const Playlist* pl = PlaylistLocked(p.playlist);
  const std::string path =
      pl && !pl->items.empty() ? ResolveLocked(pl->items[size_t(pl->current)].path) : std::string();
  const std::array<int32_t, 4> window = tv_.Tv().DisplayWindow(0);
  const int64_t at = p.position;
  jobs_.push_back([path, window, at, black] {
    // The video plane (screen coordinates) at half its size.
    constexpr int32_t kW = 480, kH = 270;
    std::vector<uint32_t> plane(size_t(kW) * kH, 0xFF000000u);
    if (black) {
      sim::DeliverPicture(plane.data(), kW, kH);
      return;
    }
    const int32_t x0 = window[0] / 2, y0 = window[1] / 2, w = std::max(window[2] / 2, 1), h = std::max(window[3] / 2, 1);
    Image frame;
    std::string error;
    if (path.empty() || !VideoFrame(path, at, w, h, &frame, &error)) {
      // Colour bars: white, yellow, cyan, green, magenta, red, blue.
      static const uint32_t kBars[] = {0xFFC0C0C0, 0xFF00C0C0, 0xFFC0C000, 0xFF00C000,
                                       0xFFC000C0, 0xFF0000C0, 0xFFC00000};
      frame.width = w, frame.height = h;
      frame.pixels.resize(size_t(w) * size_t(h));
      for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) frame.pixels[size_t(y) * size_t(w) + size_t(x)] = kBars[x * 7 / w];
    }
    const int32_t ox = x0 + (w - frame.width) / 2, oy = y0 + (h - frame.height) / 2;
    for (int32_t y = 0; y < frame.height; ++y)
      for (int32_t x = 0; x < frame.width; ++x)
        if (ox + x >= 0 && ox + x < kW && oy + y >= 0 && oy + y < kH)
          plane[size_t(oy + y) * kW + size_t(ox + x)] = frame.pixels[size_t(y) * size_t(frame.width) + size_t(x)];
    sim::DeliverPicture(plane.data(), kW, kH);
  });
  workCv_.notify_all();
}

void Service::SendAll(const std::vector<uint16_t>& codes) {
  for (uint16_t c : codes) SendStatus(c);
}

int32_t Service::SetPlaylist(uint32_t handle, int32_t kind) {
  std::lock_guard<std::mutex> lock(mu_);
  if (!PlaylistLocked(handle)) return PSL_ERR_NOT_FOUND;
  navKind_ = kind;
  if (Player* p = PlayerOf(kind)) {
    if (p->playlist != handle) {
      p->playlist = handle;
      Halt(*p);
    }
  }
  return PSL_OK;
}

int32_t Service::SetRepeat(int32_t mode) {
  if (mode != 1 && mode != 2 && mode != 7) {
    kv::Log("PslGuiSetRepeatMode: mode " + std::to_string(mode) + " refused");
    return PSL_ERR_INVALID;
  }
  std::lock_guard<std::mutex> lock(mu_);
  repeat_ = mode;
  return PSL_OK;
}

int32_t Service::StopKind(int32_t kind) {
  std::lock_guard<std::mutex> lock(mu_);
  if (Player* p = PlayerOf(kind)) Halt(*p);
  return PSL_OK;
}

bool Service::OpenItemLocked(Player& p) {
  Playlist* pl = PlaylistLocked(p.playlist);
  p.position = 0;
  p.duration = 0;
  p.title.clear();
  if (!pl || pl->items.empty()) return false;
  pl->current = std::clamp(pl->current, 0, static_cast<int32_t>(pl->items.size()) - 1);
  const Node& item = pl->items[size_t(pl->current)];
  const std::string path = ResolveLocked(item.path);
  Probe probe;
  std::string error;
  // Say what really failed: the file gone from the medium, a file the
  // readers do not take, or one that reads but has no length.
  if (path.empty())
    error = "not on a medium";
  else if (!ProbeFile(path, item.kind, &probe, &error))
    error = error.empty() ? "unreadable" : error;
  else if (probe.durationMs <= 0)
    error = "no length";
  if (!error.empty()) {
    kv::Log("media service: cannot play " + kv::EscapedText(item.uri, kv::kMaxLoggedPath) + ": " + kv::EscapedText(error, 120));
    return false;
  }
  p.duration = probe.durationMs;
  p.title = probe.title.empty() ? item.title : probe.title;
  return true;
}

bool Service::PlayItemLocked(Player& p, uint16_t status, std::vector<uint16_t>* codes) {
  if (!OpenItemLocked(p)) {
    // Stops at the item it cannot open, so that the GUI can name it; the GUI
    // asks for the next one.
    p.state = kStopped;
    p.rate = 0;
    codes->push_back(kStatusOpenFailed);
    ShowFrameLocked(p, true);
    return false;
  }
  p.state = kPlaying;
  p.rate = 1;
  codes->push_back(status);
  ShowFrameLocked(p);
  return true;
}

bool Service::NextAfterEndLocked(Player& p) {
  Playlist* pl = PlaylistLocked(p.playlist);
  if (!pl || pl->items.empty()) return false;
  const auto n = static_cast<int32_t>(pl->items.size());
  if (repeat_ == 7) return true;  // the same item again
  if (shuffle_ && n > 1) {
    int32_t next = pl->current;
    while (next == pl->current) next = static_cast<int32_t>(random_() % uint32_t(n));
    pl->current = next;
    return true;
  }
  if (pl->current + 1 < n) {
    ++pl->current;
    return true;
  }
  if (repeat_ == 2) {
    pl->current = 0;
    return true;
  }
  return false;
}

void Service::ScheduleTick(int32_t kind, uint64_t generation) {
  std::weak_ptr<Service> weak = weak_from_this();
  tv_.Schedule(kv::GetClock().Now() + kTickMs, [weak, kind, generation] {
    if (auto self = weak.lock()) self->Tick(kind, generation);
  });
}

void Service::Tick(int32_t kind, uint64_t generation) {
  std::vector<uint16_t> codes;
  bool again = false;
  {
    std::lock_guard<std::mutex> lock(mu_);
    Player* p = PlayerOf(kind);
    if (!p || p->generation != generation || stopping_) return;
    if (p->state == kPaused || p->state == kStopped) return;
    p->position += kTickMs * (p->state == kPlaying ? 1 : p->rate);
    if (p->position < 0) {  // rewound to the start: plays on normally
      p->position = 0;
      p->state = kPlaying;
      p->rate = 1;
    }
    if (p->position >= p->duration) {
      if (!NextAfterEndLocked(*p)) {
        p->state = kStopped;
        p->rate = 0;
        p->position = p->duration;
        codes.push_back(kStatusEnd);
      } else {
        again = PlayItemLocked(*p, kStatusNextItem, &codes);
      }
    } else {
      codes.push_back(kStatusPosition);
      if (p->position % 2000 == 0) ShowFrameLocked(*p);
      again = true;
    }
  }
  SendAll(codes);
  if (again) ScheduleTick(kind, generation);
}

int32_t Service::NavCommand(int32_t code, int32_t a, int32_t b) {
  std::vector<uint16_t> codes;
  int32_t kind;
  uint64_t tick = 0;  // a generation to tick for, 0: none
  {
    std::lock_guard<std::mutex> lock(mu_);
    kind = navKind_;
    if (code == 58) {
      shuffle_ = !shuffle_;
      return PSL_OK;
    }
    Player* p = PlayerOf(kind);
    if (!p) return PSL_OK;  // pictures step through the playlist themselves
    Playlist* pl = PlaylistLocked(p->playlist);
    auto start = [&](bool itemChange) {
      ++p->generation;
      if (PlayItemLocked(*p, itemChange ? kStatusNextItem : kStatusPlaying, &codes)) tick = p->generation;
    };
    switch (code) {
      case 3:  // play or resume
        if (p->state == kStopped) {
          start(false);
        } else if (p->state != kPlaying || p->rate != 1) {
          p->state = kPlaying;
          p->rate = 1;
          ++p->generation;
          tick = p->generation;
          codes.push_back(kStatusPlaying);
        }
        break;
      case 5:
        Halt(*p);
        break;
      case 7:
        if (p->state != kStopped && p->state != kPaused) {
          p->state = kPaused;
          p->rate = 0;
          ++p->generation;
          // Then the position it stopped at, as a real player reports it.
          codes.push_back(kStatusPaused);
          codes.push_back(kStatusPosition);
        }
        break;
      case 21:
      case 23:
        if (pl && !pl->items.empty()) {
          const auto n = static_cast<int32_t>(pl->items.size());
          if (code == 21 && repeat_ == 1 && !shuffle_ && pl->current + 1 >= n) {
            // Next after the last item without repeat: the list has ended.
            Halt(*p);
            codes.push_back(kStatusEnd);
            break;
          }
          pl->current = (pl->current + (code == 21 ? 1 : n - 1)) % n;
          start(true);
        }
        break;
      case 25:
      case 27:
        if (p->state != kStopped) {
          const bool forward = code == 25;
          const int32_t mag = (forward ? p->rate > 1 : p->rate < -1) ? std::abs(p->rate) * 2 : 2;
          p->rate = (mag > 32 ? 2 : mag) * (forward ? 1 : -1);
          p->state = forward ? kForward : kBackward;
          ++p->generation;
          tick = p->generation;
        }
        break;
      case 31:
      case 32:
        if (p->state != kStopped) p->position = std::clamp<int64_t>(p->position + (code == 31 ? 10000 : -10000), 0, p->duration);
        break;
      case 38:
        if (a == 1 && pl) {
          pl->current = std::max(b, 1) - 1;
          if (pl->current >= static_cast<int32_t>(pl->items.size())) pl->current = 0;
          start(false);
        } else if (a == 2 && p->state != kStopped) {
          p->position = std::clamp<int64_t>(int64_t{b} * 1000, 0, p->duration);
          ShowFrameLocked(*p);
        }
        break;
      default:  // subtitles, audio tracks, others: nothing to change here
        break;
    }
  }
  SendAll(codes);
  if (tick) ScheduleTick(kind, tick);
  return PSL_OK;
}

int32_t Service::ControllerPlay(int32_t kind, const std::string& uri, const std::string& title) {
  if (kind != PSL_KIND_MUSIC && kind != PSL_KIND_PICTURE && kind != PSL_KIND_VIDEO) return PSL_ERR_INVALID;
  uint32_t handle;
  {
    std::lock_guard<std::mutex> lock(mu_);
    if (!renderer_) {
      kv::Log("media service: the renderer is off, the controller's " + kv::EscapedText(uri, kv::kMaxLoggedPath) + " is not played");
      return PSL_ERR_NOT_READY;
    }
    Node n;
    n.path = ResolveLocked(uri);
    if (n.path.empty()) return PSL_ERR_NOT_FOUND;
    n.uri = uri;
    n.kind = KindByExtension(n.path);
    n.title = title;
    Playlist pl;
    pl.kind = kind;
    pl.mode = 4;
    pl.items.push_back(n);
    handle = NewHandle();
    playlists_[handle] = std::move(pl);
  }
  XPM_DmrStatusPayload p{};
  p.kind = static_cast<uint16_t>(kind);
  p.state = 3;
  std::strncpy(p.uri, uri.c_str(), sizeof p.uri - 1);
  std::strncpy(p.title, title.c_str(), sizeof p.title - 1);
  tv_.Inject(XPM_EVT_DMR_STATUS, p);
  if (kind == PSL_KIND_PICTURE) return PSL_OK;
  SetPlaylist(handle, kind);
  return NavCommand(38, 1, 1);
}

int32_t Service::PlaybackInfo(PslPlaybackInfo* info) {
  const int64_t ahead = GetKnobs().positionAhead;
  std::lock_guard<std::mutex> lock(mu_);
  info->repeat = static_cast<uint16_t>(repeat_);
  info->kind = static_cast<uint16_t>(navKind_);
  const Player* p = PlayerOf(navKind_);
  if (!p) return PSL_OK;
  info->navStatus = static_cast<uint16_t>(p->state);
  info->elapsed = static_cast<uint32_t>((p->position + ahead) / 1000);
  info->duration = static_cast<uint32_t>(p->duration / 1000);
  info->rate = p->state == kPlaying ? 1 : (p->state == kForward || p->state == kBackward ? p->rate : 0);
  if (const Playlist* pl = PlaylistLocked(p->playlist); pl && !pl->items.empty()) {
    info->positionKnown = 1;
    info->total = static_cast<uint32_t>(pl->items.size());
    info->current = static_cast<uint32_t>(pl->current + 1);
  }
  const size_t n = std::min(p->title.size(), sizeof info->title - 1);
  std::memcpy(info->title, p->title.data(), n);
  info->title[n] = '\0';
  return PSL_OK;
}

}  // namespace psl
