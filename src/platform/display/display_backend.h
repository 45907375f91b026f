// Where the display's frames go: an SDL window, or nowhere (headless).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "runtime/geometry.h"

namespace dfb {

class Surface;

struct WindowInput {
  enum Kind { kKey, kQuit } kind = kQuit;
  int32_t sdlKeycode = 0;
  bool down = false;
  bool ctrl = false;  // a Control key was held
};

class DisplayBackend {
 public:
  virtual ~DisplayBackend() = default;
  virtual bool IsHeadless() const = 0;
  // Shows the changed rectangles of the frame.
  virtual void Present(const Surface& frame, const kv::Rect* rects, size_t count) = 0;
  // Waits up to `maxMs` for window input and hands each to `sink`.
  virtual void Pump(int32_t maxMs, const std::function<void(const WindowInput&)>& sink) = 0;
};

// Null (logged) when SDL's video does not start.
std::unique_ptr<DisplayBackend> OpenSdlBackend(int32_t width, int32_t height);

}  // namespace dfb
