#include "platform/display/display.h"

#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "platform/display/display_backend.h"
#include "runtime/trace.h"

namespace dfb {
namespace {

constexpr kv::Rect kScreen{0, 0, kScreenWidth, kScreenHeight};

class HeadlessBackend final : public DisplayBackend {
 public:
  bool IsHeadless() const override { return true; }
  void Present(const Surface&, const kv::Rect*, size_t) override {}
  void Pump(int32_t, const std::function<void(const WindowInput&)>&) override {}
};

// Colour bars over a grey ramp: what the video plane shows until the TV
// supplies a channel's picture.
void DrawTestPicture(Surface& s) {
  static constexpr uint32_t kBars[] = {
      PackPixel(191, 191, 191, 255), PackPixel(191, 191, 0, 255), PackPixel(0, 191, 191, 255),
      PackPixel(0, 191, 0, 255),     PackPixel(191, 0, 191, 255), PackPixel(191, 0, 0, 255),
      PackPixel(0, 0, 191, 255)};
  constexpr int32_t kBarCount = 7;
  const int32_t w = s.Width(), h = s.Height();
  const int32_t barsEnd = h * 2 / 3;
  // Every row of the bars is the same, and every row of the ramp: each is
  // worked out once and copied down.
  uint32_t* const bars = s.Pixels();
  uint32_t* const ramp = s.Pixels() + size_t(std::min(barsEnd, h - 1)) * s.Stride();
  for (int32_t x = 0; x < w; ++x) {
    const uint32_t v = uint32_t(x * 255 / std::max(w - 1, 1));
    bars[x] = kBars[x * kBarCount / w];
    ramp[x] = PackPixel(v, v, v, 255);
  }
  for (int32_t y = 1; y < h; ++y) {
    uint32_t* row = s.Pixels() + size_t(y) * s.Stride();
    if (y < barsEnd) {
      std::copy(bars, bars + w, row);
    } else if (row != ramp) {
      std::copy(ramp, ramp + w, row);
    }
  }
}

bool WritePng(const std::string& path, const std::vector<uint8_t>& bytes, int32_t width, int32_t height,
              bool withAlpha) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = withAlpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  const png_int_32 rowStride = width * (withAlpha ? 4 : 3);
  if (!png_image_write_to_file(&image, path.c_str(), 0, bytes.data(), rowStride, nullptr)) {
    kv::Log("Screenshot " + kv::EscapedText(path, kv::kMaxLoggedPath) + " not written: " + image.message);
    png_image_free(&image);
    return false;
  }
  return true;
}

uint8_t Unpremultiply(uint32_t c, uint32_t a) { return uint8_t(a ? std::min<uint32_t>(255, (c * 255 + a / 2) / a) : 0); }

}  // namespace

// --- Window ---

Window::Window(Display& display) : display_(display), surface_(kScreenWidth, kScreenHeight) {}

Window::~Window() {
  if (events_) events_->SetPump(nullptr);
}

void Window::Flip(const kv::Rect* rects, size_t count) {
  if (!display_.OnOwnerThread("Window::Flip")) return;
  if (count > 0 && !rects) {
    kv::Log("Window::Flip: no rectangles given");
    return;
  }
  if (display_.ApplyVideoPicture()) {
    Flip();
    return;
  }
  std::vector<kv::Rect> clipped;
  clipped.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const kv::Rect r = rects[i].Intersect(kScreen);
    if (r.IsEmpty()) continue;
    display_.Compose(r);
    clipped.push_back(r);
  }
  if (!clipped.empty()) display_.Present(clipped.data(), clipped.size());
}

void Window::Flip() {
  if (!display_.OnOwnerThread("Window::Flip")) return;
  display_.ApplyVideoPicture();
  display_.Compose(kScreen);
  display_.Present(&kScreen, 1);
}

void Window::AttachEventBuffer(EventBuffer* events) {
  if (!display_.OnOwnerThread("Window::AttachEventBuffer")) return;
  if (events_) events_->SetPump(nullptr);
  events_ = events;
  if (events_ && !display_.IsHeadless()) {
    Display* display = &display_;
    events_->SetPump([display](int32_t maxMs) { display->Pump(maxMs); });
  }
}

// --- Display ---

std::unique_ptr<Display> Display::Create(Backend backend) {
  std::unique_ptr<DisplayBackend> impl;
  if (backend == Backend::kSdl ||
      (backend == Backend::kAuto && (std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY")))) {
    impl = OpenSdlBackend(kScreenWidth, kScreenHeight);
  }
  if (!impl) impl = std::make_unique<HeadlessBackend>();
  return std::unique_ptr<Display>(new Display(std::move(impl)));
}

Display::Display(std::unique_ptr<DisplayBackend> backend)
    : owner_(std::this_thread::get_id()),
      backend_(std::move(backend)),
      picture_(kScreenWidth, kScreenHeight),
      frame_(kScreenWidth, kScreenHeight) {
  DrawTestPicture(picture_);
  Compose(kScreen);
  Present(&kScreen, 1);
}

Display::~Display() {
  // The window first: it detaches its event buffer's pump.
  window_.reset();
  buffers_.clear();
  backend_.reset();
}

bool Display::IsHeadless() const { return backend_->IsHeadless(); }

bool Display::OnOwnerThread(const char* what) const {
  if (std::this_thread::get_id() == owner_) return true;
  kv::Log(std::string(what) + ": called outside the display's thread, ignored");
  return false;
}

Window* Display::CreateWindow(int32_t width, int32_t height) {
  if (!OnOwnerThread("Display::CreateWindow")) return nullptr;
  if (width != kScreenWidth || height != kScreenHeight) {
    kv::Log("Display::CreateWindow: " + std::to_string(width) + " x " + std::to_string(height) +
            " asked, the window is " + std::to_string(kScreenWidth) + " x " + std::to_string(kScreenHeight));
  }
  if (!window_) window_.reset(new Window(*this));
  return window_.get();
}

std::unique_ptr<Surface> Display::CreateSurface(int32_t width, int32_t height) {
  if (width < 1 || height < 1 || width > kMaxSurfaceSize || height > kMaxSurfaceSize) {
    kv::Log("Display::CreateSurface: size " + std::to_string(width) + " x " + std::to_string(height) +
            " refused");
    return nullptr;
  }
  return std::make_unique<Surface>(width, height);
}

EventBuffer* Display::CreateEventBuffer() {
  buffers_.push_back(std::make_unique<EventBuffer>());
  return buffers_.back().get();
}

void Display::SetKeyMap(std::function<int(int)> keyMap) { keyMap_ = std::move(keyMap); }
void Display::SetControlKeys(std::function<void(int)> handler) { controlKeys_ = std::move(handler); }

void Display::SetVideoPicture(const uint32_t* pixels, int32_t width, int32_t height, int32_t stride) {
  std::vector<uint32_t> scaled;
  if (pixels) {
    if (width < 1 || height < 1 || stride < width) {
      kv::Log("Display::SetVideoPicture: picture " + std::to_string(width) + " x " + std::to_string(height) +
              " (stride " + std::to_string(stride) + ") refused");
      return;
    }
    // Nearest neighbour to the screen; the video plane is opaque.
    scaled.resize(size_t(kScreenWidth) * kScreenHeight);
    for (int32_t y = 0; y < kScreenHeight; ++y) {
      const uint32_t* src = pixels + size_t(int64_t(y) * height / kScreenHeight) * size_t(stride);
      uint32_t* dst = scaled.data() + size_t(y) * kScreenWidth;
      for (int32_t x = 0; x < kScreenWidth; ++x) dst[x] = src[int64_t(x) * width / kScreenWidth] | 0xFF000000u;
    }
  }
  std::lock_guard<std::mutex> lock(pictureMutex_);
  pendingPicture_ = std::move(scaled);
  picturePending_ = true;
}

bool Display::ApplyVideoPicture() {
  std::vector<uint32_t> picture;
  {
    std::lock_guard<std::mutex> lock(pictureMutex_);
    if (!picturePending_) return false;
    picturePending_ = false;
    picture.swap(pendingPicture_);
  }
  if (picture.empty()) {
    DrawTestPicture(picture_);
  } else {
    std::copy(picture.begin(), picture.end(), picture_.Pixels());
  }
  return true;
}

void Display::Compose(const kv::Rect& r) {
  const Surface* osd = window_ ? &window_->GetSurface() : nullptr;
  for (int32_t y = r.y1; y < r.y2; ++y) {
    const size_t row = size_t(y) * kScreenWidth;
    const uint32_t* pic = picture_.Pixels() + row;
    uint32_t* out = frame_.Pixels() + row;
    if (!osd) {
      std::copy(pic + r.x1, pic + r.x2, out + r.x1);
      continue;
    }
    const uint32_t* src = osd->Pixels() + row;
    // Most of the OSD is either clear or opaque: those pixels need no blend
    // (the blend gives the picture or the OSD pixel itself for them).
    for (int32_t x = r.x1; x < r.x2; ++x) {
      const uint32_t s = src[x];
      out[x] = s == 0 ? pic[x] : (s >> 24) == 0xFF ? s : BlendOver(s, pic[x]);
    }
  }
}

void Display::Present(const kv::Rect* rects, size_t count) { backend_->Present(frame_, rects, count); }

void Display::Pump(int32_t maxMs) {
  if (!OnOwnerThread("Display::Pump")) return;
  if (ApplyVideoPicture()) {
    Compose(kScreen);
    Present(&kScreen, 1);
  }
  EventBuffer* events = window_ ? window_->events_ : nullptr;
  backend_->Pump(maxMs, [this, events](const WindowInput& in) {
    if (!events) return;
    if (in.kind == WindowInput::kQuit) {
      events->PostQuit();
      return;
    }
    if (in.ctrl) {
      if (in.down && controlKeys_) controlKeys_(in.sdlKeycode);
      return;
    }
    const int code = keyMap_ ? keyMap_(in.sdlKeycode) : -1;
    if (code >= 0) events->PostKey(code, in.down);
  });
}

bool Display::SaveScreenshot(const std::string& path) {
  if (!OnOwnerThread("Display::SaveScreenshot")) return false;
  if (ApplyVideoPicture()) {
    Compose(kScreen);
    Present(&kScreen, 1);
  }
  std::vector<uint8_t> bytes(size_t(kScreenWidth) * kScreenHeight * 3);
  uint8_t* out = bytes.data();
  for (int32_t y = 0; y < kScreenHeight; ++y) {
    for (int32_t x = 0; x < kScreenWidth; ++x) {
      const uint32_t p = frame_.At(x, y);
      *out++ = uint8_t(p);
      *out++ = uint8_t(p >> 8);
      *out++ = uint8_t(p >> 16);
    }
  }
  return WritePng(path, bytes, kScreenWidth, kScreenHeight, false);
}

bool Display::SaveOsdScreenshot(const std::string& path) {
  if (!OnOwnerThread("Display::SaveOsdScreenshot")) return false;
  if (!window_) {
    kv::Log("Screenshot " + kv::EscapedText(path, kv::kMaxLoggedPath) + " not written: there is no window");
    return false;
  }
  const Surface& osd = window_->GetSurface();
  std::vector<uint8_t> bytes(size_t(osd.Width()) * osd.Height() * 4);
  uint8_t* out = bytes.data();
  for (int32_t y = 0; y < osd.Height(); ++y) {
    for (int32_t x = 0; x < osd.Width(); ++x) {
      const uint32_t p = osd.At(x, y);
      const uint32_t a = p >> 24;
      *out++ = Unpremultiply(p & 0xFF, a);
      *out++ = Unpremultiply((p >> 8) & 0xFF, a);
      *out++ = Unpremultiply((p >> 16) & 0xFF, a);
      *out++ = uint8_t(a);
    }
  }
  return WritePng(path, bytes, osd.Width(), osd.Height(), true);
}

}  // namespace dfb
