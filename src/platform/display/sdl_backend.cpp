// The SDL2 window. Every call here runs on the display's thread.
#include <SDL.h>

#include <algorithm>
#include <string>

#include "platform/display/display_backend.h"
#include "platform/display/surface.h"
#include "runtime/trace.h"

namespace dfb {
namespace {

class SdlBackend final : public DisplayBackend {
 public:
  SdlBackend(int32_t width, int32_t height) : width_(width), height_(height) {}

  ~SdlBackend() override {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SDL_Quit();
  }

  bool Open() {
    // The window starts at the OSD's size, shrunk to fit a smaller screen.
    int w = width_, h = height_;
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w > 0 && usable.h > 0) {
      const double scale = std::min({1.0, double(usable.w) / w, double(usable.h) / h});
      w = std::max(1, int(w * scale));
      h = std::max(1, int(h * scale));
    }
    window_ = SDL_CreateWindow("tvui", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h, SDL_WINDOW_RESIZABLE);
    if (!window_) return Fail("SDL_CreateWindow");
    SDL_SetWindowMinimumSize(window_, width_ / 8, height_ / 8);
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (!renderer_) return Fail("SDL_CreateRenderer");
    // Letterboxed to keep the aspect whatever the window's size.
    SDL_RenderSetLogicalSize(renderer_, width_, height_);
    // ABGR8888 is a 32-bit word with red in the low byte, as our surfaces hold.
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STREAMING, width_, height_);
    if (!texture_) return Fail("SDL_CreateTexture");
    return true;
  }

  bool IsHeadless() const override { return false; }

  void Present(const Surface& frame, const kv::Rect* rects, size_t count) override {
    const int pitch = frame.Stride() * 4;
    for (size_t i = 0; i < count; ++i) {
      const kv::Rect& r = rects[i];
      const SDL_Rect area{r.x1, r.y1, r.W(), r.H()};
      SDL_UpdateTexture(texture_, &area, frame.Pixels() + size_t(r.y1) * frame.Stride() + r.x1, pitch);
    }
    Repaint();
  }

  void Pump(int32_t maxMs, const std::function<void(const WindowInput&)>& sink) override {
    SDL_Event ev;
    bool got = maxMs > 0 ? SDL_WaitEventTimeout(&ev, maxMs) != 0 : SDL_PollEvent(&ev) != 0;
    while (got) {
      Handle(ev, sink);
      got = SDL_PollEvent(&ev) != 0;
    }
  }

 private:
  bool Fail(const char* call) {
    kv::Log(std::string(call) + " failed: " + SDL_GetError());
    return false;
  }

  void Repaint() {
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
  }

  void Handle(const SDL_Event& ev, const std::function<void(const WindowInput&)>& sink) {
    switch (ev.type) {
      case SDL_QUIT:
        sink({WindowInput::kQuit});
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        sink({WindowInput::kKey, ev.key.keysym.sym, ev.type == SDL_KEYDOWN, (ev.key.keysym.mod & KMOD_CTRL) != 0});
        break;
      case SDL_WINDOWEVENT:
        if (ev.window.event == SDL_WINDOWEVENT_CLOSE) {
          sink({WindowInput::kQuit});
        } else if (ev.window.event == SDL_WINDOWEVENT_EXPOSED || ev.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
                   ev.window.event == SDL_WINDOWEVENT_RESTORED) {
          Repaint();
        }
        break;
      default:
        break;
    }
  }

  const int32_t width_;
  const int32_t height_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
};

}  // namespace

std::unique_ptr<DisplayBackend> OpenSdlBackend(int32_t width, int32_t height) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    kv::Log(std::string("SDL video unavailable (") + SDL_GetError() + "), running headless");
    SDL_Quit();
    return nullptr;
  }
  auto backend = std::make_unique<SdlBackend>(width, height);
  if (!backend->Open()) {
    kv::Log("The SDL window could not open, running headless");
    return nullptr;
  }
  return backend;
}

}  // namespace dfb
