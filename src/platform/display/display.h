// The display layer: one 960 x 540 ARGB window (the on-screen display) shown
// over the TV's video plane, off-screen surfaces, and the event buffers.
//
//   auto display = dfb::Display::Create();            // SDL window or headless
//   dfb::EventBuffer* events = display->CreateEventBuffer();
//   dfb::Window* osd = display->CreateWindow(960, 540);
//   osd->AttachEventBuffer(events);                    // window input goes there
//   ... draw into osd->GetSurface() ..., osd->Flip(&dirty, 1);
//
// Two back ends behind the same calls: an SDL2 window (scaled to the screen,
// resizable, aspect kept), and headless (memory only). Both keep the
// composed frame, the video picture with the OSD blended over it, in memory
// for screenshots.
//
// Threads: the display, its window and every SDL call belong to the thread
// that created the display (the GUI task); calls from elsewhere are logged and
// ignored. SetVideoPicture may come from any thread; it takes effect at the
// next flip, screenshot or pump on the GUI task. Event buffers take posts from
// any thread (see event_buffer.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/display/event_buffer.h"
#include "platform/display/surface.h"
#include "runtime/geometry.h"

namespace dfb {

constexpr int32_t kScreenWidth = 960;
constexpr int32_t kScreenHeight = 540;
constexpr int32_t kMaxSurfaceSize = 4096;

enum class Backend { kAuto, kHeadless, kSdl };

class Display;
class DisplayBackend;

// The on-screen display's window: a full-screen premultiplied RGBA surface.
class Window {
 public:
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // The id the system manager knows the window by.
  int32_t GetID() const { return 1; }
  Surface& GetSurface() { return surface_; }

  // Composes the changed rectangles (clipped to the window) over the video
  // picture and presents them.
  void Flip(const kv::Rect* rects, size_t count);
  void Flip();  // the whole window

  // The window's input (keys through the display's key map, and "quit")
  // goes to `events`; null detaches. The buffer must stay attached no longer
  // than it lives.
  void AttachEventBuffer(EventBuffer* events);

 private:
  friend class Display;
  explicit Window(Display& display);

  Display& display_;
  Surface surface_;
  EventBuffer* events_ = nullptr;
};

class Display {
 public:
  // kAuto picks the SDL window when DISPLAY or WAYLAND_DISPLAY is set and
  // SDL's video starts, headless otherwise; a failed kSdl falls back to
  // headless with a log line.
  static std::unique_ptr<Display> Create(Backend backend = Backend::kAuto);
  ~Display();
  Display(const Display&) = delete;
  Display& operator=(const Display&) = delete;

  bool IsHeadless() const;

  // The one window, kScreenWidth x kScreenHeight; another size is logged and
  // the full-screen window made. A second call returns the same window.
  Window* CreateWindow(int32_t width, int32_t height);
  Window* GetWindow() { return window_.get(); }

  // An off-screen surface; null (logged) for sizes outside 1..kMaxSurfaceSize.
  std::unique_ptr<Surface> CreateSurface(int32_t width, int32_t height);

  // A new event buffer, owned by the display.
  EventBuffer* CreateEventBuffer();

  // Maps an SDL key code to a platform key code (0..278), or -1 to ignore.
  void SetKeyMap(std::function<int(int sdlKeycode)> keyMap);
  // Keys pressed with Control: handed here (on the GUI task), never to the set.
  void SetControlKeys(std::function<void(int sdlKeycode)> handler);

  // The video plane's picture: opaque RGBA (red in the low byte, alpha
  // ignored), `stride` in pixels, scaled to the screen. Null pixels restore
  // the test picture. Any thread.
  void SetVideoPicture(const uint32_t* pixels, int32_t width, int32_t height, int32_t stride);

  // What the screen shows: the video picture with the OSD over it.
  const Surface& Frame() const { return frame_; }

  // The composed frame as an opaque RGB PNG.
  bool SaveScreenshot(const std::string& path);
  // The OSD alone as a straight-alpha RGBA PNG.
  bool SaveOsdScreenshot(const std::string& path);

 private:
  friend class Window;
  explicit Display(std::unique_ptr<DisplayBackend> backend);

  bool OnOwnerThread(const char* what) const;
  void Compose(const kv::Rect& r);
  void Present(const kv::Rect* rects, size_t count);
  // Takes a picture handed over by SetVideoPicture; true when one was there.
  bool ApplyVideoPicture();
  // Gathers window input for at most `maxMs` (the attached buffer's pump).
  void Pump(int32_t maxMs);

  const std::thread::id owner_;
  std::unique_ptr<DisplayBackend> backend_;
  Surface picture_;  // the video plane
  Surface frame_;    // what is presented
  std::function<int(int)> keyMap_;
  std::function<void(int)> controlKeys_;
  std::vector<std::unique_ptr<EventBuffer>> buffers_;
  std::unique_ptr<Window> window_;

  std::mutex pictureMutex_;  // guards the hand-over below (a leaf)
  bool picturePending_ = false;
  std::vector<uint32_t> pendingPicture_;  // empty: the test picture
};

}  // namespace dfb
