// NonMenuSystem::ScreenSaverWindow: a full-screen window in which the logo
// fades out (32 frames of 50 ms), jumps to a random place, fades in and so
// on while it is open. The media service asks for it (MSG_ENTER_SCREEN_SAVER,
// then any key ends it through the sub-system's ExitScreenSaver); the
// screen-saver page of the menu opens it as a preview (a key returns to the
// page). It has no time-out. The background colour may be stored in the application settings as
// "(r,g,b)"-style text: three 3-digit fields at positions 2, 5 and 8.
#pragma once

#include <cstdint>

#include "units/Effects/Int32Effect.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/Views/Image.h"
#include "units/Views/Text.h"

namespace NonMenuSystem {

class ScreenSaverWindow : public WidgetClass {
  KV_CLASS(NonMenuSystem, ScreenSaverWindow, WidgetClass)
 public:
  ScreenSaverWindow();

  // The base initialisation, the Wrapper's animation on, the stored colour.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  // The Wrapper's animation off, the form's close; the sub-system forgets it.
  void Close() override;
  // A key press ends the screen saver and is consumed.
  kv::Object* HandleEvent(Core::Event* event) override;
  // The completion handler of both effects.
  void MoveSlot0(kv::Object* sender = nullptr);

  // Applies a stored colour text; false (background unchanged) unless it
  // holds three fields of 0 to 255.
  bool ApplyColorText(const kv::String& text);

  Views::Image& Logo() { return logo_; }
  kv::Color BackgroundColor() { return background_.OnGetColor(); }
  bool FadingOut() const { return fadingOut_; }

  // Set: a key returns to the previous state (the menu page); clear: it
  // ends the screen saver.
  bool ReturnToPrevious = true;

 private:
  Views::Image logo_;
  Views::Text text_;
  Effects::Int32Effect fadeIn_;
  Effects::Int32Effect fadeOut_;
  bool fadingOut_ = true;
  bool animating_ = false;
};

}  // namespace NonMenuSystem
