// The product tree: a horizontal carousel of large icons (MenuSystem::MainMenu,
// level 1: Settings, Network, Media player, Wallpaper, Timer) whose entries
// open carousels of the second level (MenuSystem::SecondaryMenu and its
// SettingsMenu, NetworkMenu, MediaPlayerMenu and TimerMenu), whose entries
// open setting pages. Nothing opens the main menu; the timer menu is opened
// by the game-timer PIN dialog.
//
// MenuSystem::Carousel holds what the two levels share: the items centred on
// the visible positions, the position-to-item mapping, the move (left and
// right, 6 frames of 50 ms for the main menu, 5 for a secondary one) with the
// item entering at the edge fading in and the one leaving fading out, the
// size level of each position and the animation report to the platform.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/text.h"
#include "units/Button/Button.h"
#include "units/Core/Timer.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/SubSystem/MenuClass.h"
#include "units/Views/Image.h"
#include "units/Views/MultilineText.h"
#include "units/Views/Rectangle.h"
#include "units/Views/Text.h"

namespace Structures {
class Message;
}

namespace MenuSystem {

// Default item sizes.
inline constexpr kv::Rect MAIN_MENU_ITEM_DEFAULT_BOUNDS{0, 0, 100, 214};
inline constexpr kv::Rect SECOND_MENU_ITEM_DEFAULT_BOUNDS{0, 0, 120, 180};
// Caption opacities.
inline constexpr int32_t MAIN_MENU_TEXT_FOCUSED_ALPHA = 255;
inline constexpr int32_t MAIN_MENU_TEXT_MEDIUM_ALPHA = 224;
inline constexpr int32_t MAIN_MENU_TEXT_SMALL_ALPHA = 208;
inline constexpr int32_t SECOND_MENU_TEXT_FOCUSED_ALPHA = 255;
inline constexpr int32_t SECOND_MENU_TEXT_MEDIUM_ALPHA = 224;
inline constexpr int32_t SECOND_MENU_TEXT_SMALL_ALPHA = 208;
inline constexpr int32_t SECOND_MENU_TEXT_EXTRA_SMALL_ALPHA = 192;

// An entry of a carousel: an icon above its caption. The size level picks the
// icon frame, the caption's opacity and its offset below the icon. The
// caption keeps the item's width and takes a second line when one does not
// hold it.
class CarouselItem : public ::Button::IconButton {
  KV_CLASS(MenuSystem, CarouselItem, ::Button::IconButton)
 public:
  CarouselItem();

  void SetIcons(const Resources::BitmapId& normal, const Resources::BitmapId& focused);
  // Level, caption opacity and caption offset.
  void OnSetImageSize(int32_t level, int32_t alpha, int32_t offset);
  int32_t OnGetImageSize() const { return ImageSize; }
  // Shows the caption above the icon (while the main menu is shifted).
  void OnSetTextUp(bool up);
  void HandleFocus(bool focused) override;
  void OnSetText(const kv::String& text) override;
  // Focused only while its carousel takes the keys.
  int32_t GetCtrlState() override;
  void RefreshCtrlState(int32_t state) override;
  void Refresh() override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;
  // The caption as drawn (for tests).
  Views::Text& Caption() { return caption_; }
  // The icon as drawn (for tests).
  Views::Image& Icon() { return icon_; }
  // Fade of the whole item, 0..255 (the entering and leaving items).
  void OnSetOpacity(int32_t opacity);
  // Takes caption, icons and the disabled state of `from` (the spare item
  // standing in for the item that enters during a move).
  void CopyLook(CarouselItem& from);
  int32_t OnGetOpacity() const { return opacity_; }

  int32_t ImageSize = 0;
  bool TextUp = false;
  // Passed on to the page the entry opens.
  int32_t OptionType = 0;

 protected:
  // The icon's height at each level (the frame drawn).
  virtual int32_t IconSize(int32_t level) const;
  void UpdateTextPos();

  Views::Image icon_;
  // The focus ring round the icon of an entry with one icon for every state
  // (the channel browser's tile frame): the entry that takes the keys shows it.
  SkinBin::CBFocusFrame focusRing_;
  Views::MultilineText caption_;
  kv::Member<Resources::Bitmap> normal_;
  kv::Member<Resources::Bitmap> focused_;
  int32_t textOffset_ = 0;
  int32_t opacity_ = 255;
};

class MainMenuItem : public CarouselItem {
  KV_CLASS(MenuSystem, MainMenuItem, CarouselItem)
 public:
  MainMenuItem();
  // The up key activates the entry.
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;

 protected:
  int32_t IconSize(int32_t level) const override;
};

class SecondaryMenuItem : public CarouselItem {
  KV_CLASS(MenuSystem, SecondaryMenuItem, CarouselItem)
 public:
  SecondaryMenuItem();

 protected:
  int32_t IconSize(int32_t level) const override;
};

class Carousel : public SubSystem::MenuClass {
  KV_CLASS(MenuSystem, Carousel, SubSystem::MenuClass)
 public:
  Carousel();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Close() override;
  void HandleMessage(Structures::Message* msg) override;

  // The item index (0-based) shown at carousel position `pos`.
  int32_t PositionIndexToItemIndex(int32_t pos) const;
  // Focuses the current item (1-based; nothing below 1).
  void ApplyCurrentItemIndex();
  // Gaining or losing the keys shows or drops the current item's focused look.
  void HandleFocus(bool focused) override;
  // Reports a change of the animating flag to the platform.
  void OnSetAnimating(bool on);
  bool OnGetAnimating() const { return Animating; }
  // Starts a move (-1 left, +1 right) unless one runs; a running show
  // effect ends first.
  void StartMove(int32_t direction);
  // The opening effect runs (the items fade in).
  bool Showing() const { return showing_; }
  // Ends the opening effect at once: every item at full opacity.
  void EndShow();
  // A move runs (an opening effect is ended first: it never holds a key).
  bool Moving();
  int32_t CurrentIndex() const { return CurrentItemIndex; }
  int32_t ItemCount() const { return static_cast<int32_t>(items_.size()); }
  CarouselItem* Item(int32_t i) const { return items_[static_cast<size_t>(i)]; }
  CarouselItem* Spare() const { return spare_.get(); }
  int32_t FirstPosition() const { return first_; }
  int32_t VisibleCount() const { return visible_; }

  bool Animating = false;
  int32_t MoveDirection = 0;

 protected:
  // Adds an entry (in order).
  CarouselItem* AddItem(CarouselItem* item, const kv::MultiTextId& caption, const Resources::BitmapId& normal,
                        const Resources::BitmapId& focused, const char* target);
  // The size level, caption opacity and offset of a position (focus aside).
  virtual void LevelOf(int32_t pos, int32_t& level, int32_t& alpha, int32_t& offset) const = 0;
  // Places every visible item at its position (for `step` of `frames` of a
  // move): the item at the near edge glides one slot further out and fades
  // out, the spare shows the entering item at the far edge, fading in.
  void Layout(int32_t step, int32_t frames);
  void MoveTick(kv::Object* sender = nullptr);
  void MoveEnd();
  kv::Object* HandleMoveKeys(Core::Event* event);

  // Carousel geometry: positions, their x, the y, and the move frames.
  int32_t positions_ = 5;
  const int32_t* x_ = nullptr;
  int32_t y_ = 0;
  int32_t frames_ = 6;

  kv::MemberVector<CarouselItem> items_;
  kv::Member<CarouselItem> spare_;
  Core::Timer moveTimer_;
  int32_t step_ = 0;
  bool showing_ = false;
  int32_t visible_ = 0;
  int32_t first_ = 0;
  // The items shifted into their second place (main menu).
  bool shifted_ = false;
};

class MainMenu : public Carousel {
  KV_CLASS(MenuSystem, MainMenu, Carousel)
 public:
  MainMenu();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Close() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleMessage(Structures::Message* msg) override;
  void DoFocus(kv::Object* sender) override;
  void DoActivate(kv::Object* sender) override;
  void DoActivateWallpaper(kv::Object* sender);
  void LaunchSecondaryMenu(kv::Object* sender = nullptr);
  void CloseSecondaryMenu(kv::Object* sender = nullptr);
  Primitives::KeyRoutingForm* OpenSecondary() const { return secondary_.get(); }
  bool IsShifted() const { return shifted_; }

 protected:
  void LevelOf(int32_t pos, int32_t& level, int32_t& alpha, int32_t& offset) const override;

 private:
  void Shift(bool shifted);
  // Down and Back: the whole menu comes down (posted).
  void TearDown(kv::Object* sender = nullptr);

  Views::Image background_;
  Views::Image line_;
  kv::Member<Primitives::KeyRoutingForm> secondary_;
};

class SecondaryMenu : public Carousel {
  KV_CLASS(MenuSystem, SecondaryMenu, Carousel)
 public:
  SecondaryMenu();

  void Close() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void DoActivate(kv::Object* sender) override;

 protected:
  void LevelOf(int32_t pos, int32_t& level, int32_t& alpha, int32_t& offset) const override;
  // Hides the main menu and this page and opens the entry's target with `param`.
  void OpenTarget(CarouselItem* item, kv::Object* param);

 private:
  // The band behind the row, so that it reads over any picture.
  Views::Rectangle panel_;
};

class SettingsMenu : public SecondaryMenu {
  KV_CLASS(MenuSystem, SettingsMenu, SecondaryMenu)
 public:
  SettingsMenu();
};

class NetworkMenu : public SecondaryMenu {
  KV_CLASS(MenuSystem, NetworkMenu, SecondaryMenu)
 public:
  NetworkMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void HandleMessage(Structures::Message* msg) override;
  // The wireless entry needs a network.
  void RefreshGrayout();
};

class MediaPlayerMenu : public SecondaryMenu {
  KV_CLASS(MenuSystem, MediaPlayerMenu, SecondaryMenu)
 public:
  MediaPlayerMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
};

class TimerMenu : public SecondaryMenu {
  KV_CLASS(MenuSystem, TimerMenu, SecondaryMenu)
 public:
  TimerMenu();
  // The game timer needs a PIN.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void DoActivate(kv::Object* sender) override;
};

}  // namespace MenuSystem
