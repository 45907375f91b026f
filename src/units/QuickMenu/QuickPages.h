// The quick pages that rows of the quick menu open: picture and audio
// settings, background music of the slide show and the scale window of the
// video preview. Each is a quick screen of option and slider rows whose
// changes take effect at once; Back returns to the quick menu.
//
// QuickMenu::Quick3DSettings is a page of the 3D settings that no row opens
// (the row filter drops its record).
#pragma once

#include "runtime/text.h"
#include "units/QuickMenu/QuickMenu.h"

namespace QuickMenu {

// The common set-up of the pages: caption, window id, open position and size.
class QuickPage : public QuickMenuClass {
  KV_CLASS(QuickMenu, QuickPage, QuickMenuClass)
 public:
  QuickPage();

  // The base initialisation, the first row focused, then LoadSettings.
  void Initialize(Primitives::KeyRoutingParameter* param) override;

 protected:
  void Setup(const kv::MultiTextId& caption, uint32_t winId, kv::Point at, kv::Point size);
};

class PictureMenu : public QuickPage {
  KV_CLASS(QuickMenu, PictureMenu, QuickPage)
 public:
  PictureMenu();
};

class AudioMenu : public QuickPage {
  KV_CLASS(QuickMenu, AudioMenu, QuickPage)
 public:
  AudioMenu();
};

// The slide show behind these two pages keeps its status and picture events.
class MediaEventPage : public QuickPage {
  KV_CLASS(QuickMenu, MediaEventPage, QuickPage)
 public:
  MediaEventPage() = default;
  kv::Object* HandleEvent(Core::Event* event) override;
};

class BgMusicMenu : public MediaEventPage {
  KV_CLASS(QuickMenu, BgMusicMenu, MediaEventPage)
 public:
  BgMusicMenu();
  // The on/off row changed: stop, or start when a slide show runs with music chosen.
  void BgmChange(kv::Object* sender = nullptr);
};

class ScaleWindowMenu : public MediaEventPage {
  KV_CLASS(QuickMenu, ScaleWindowMenu, MediaEventPage)
 public:
  ScaleWindowMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  // A slider changed: the movie list's preview follows.
  void DoValueChanged(kv::Object* sender = nullptr);
};

class Quick3DSettings : public NonMenuSystem::BorderWidgetClass {
  KV_CLASS(QuickMenu, Quick3DSettings, NonMenuSystem::BorderWidgetClass)
 public:
  Quick3DSettings();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Refresh() override;
  void DoActivateSlot(kv::Object* sender);
  void ResetTimeoutSlot(kv::Object* = nullptr) { ResetTimeout(); }
};

}  // namespace QuickMenu
