// The bases of every screen outside the menu.
//
// NonMenuSystem::WidgetClass: a key-routing form with a background rectangle
// and a (hidden) frame that both cover the screen, a 6000 ms time-out that
// closes every screen outside the menu (ClearAll), layer 32, its own place
// (WidgetOrigin, or centred when (-1, -1)) and the standard keys:
//   exit (2) and 45  ClearAll                              consumed
//   arrows 4 to 7    restart the time-out                  consumed
//   back (41)        EnterPrevState when there is a PrevState, else close
// Leaving keys are posted (they run at the end of the pass), so that a
// dispatch walk in progress never sees its screen vanish under it.
// A screen opened from the menu (code MSG_FROM_MENUSYSTEM) times out after
// 60000 ms. A persistent screen (the default) runs its time-out only while
// it has the focus.
//
// NonMenuSystem::KXDWidgetClass: the captioned dialog: the frame bitmap
// MiniGuideBackground, a caption line and a divider under it, 380 x 250,
// 15000 ms.
// NonMenuSystem::BorderWidgetClass: a black dialog with a one-pixel border
// and a caption at the top, 450 x 120.
#pragma once

#include <cstdint>

#include "runtime/geometry.h"
#include "runtime/member.h"
#include "runtime/string.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/Views/Border.h"
#include "units/Views/Frame.h"
#include "units/Views/Rectangle.h"
#include "units/Views/Text.h"

namespace NonMenuSystem {

class NonMenuSystem;

// Time-outs of the screens outside the menu.
inline constexpr int32_t kWidgetTimeOut = 6000;
inline constexpr int32_t kCaptionedTimeOut = 15000;
inline constexpr int32_t kMenuTriggeredTimeOut = 60000;
// The layer of the plain screens.
inline constexpr uint32_t kWidgetLayer = 32;
// The default background colour.
inline constexpr kv::Color kWidgetBackground{9, 10, 11, 255};

class WidgetClass : public Primitives::KeyRoutingForm {
  KV_CLASS(NonMenuSystem, WidgetClass, Primitives::KeyRoutingForm)
 public:
  WidgetClass();
  // Forgets the screen's mark as standing apart (Core::MarkStandsApart).
  ~WidgetClass() override;

  // The key-routing form's Initialize; then, for a SkinBin::UserRefInt
  // parameter, MSG_FROM_MENUSYSTEM sets MenuTriggered and
  // MSG_FROM_QUICKMENU marks the screen as opened from the quick menu (and
  // clears IsShortcut).
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  // Background and frame take the screen's rectangle.
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;
  // A change of size (not of position alone) posts a Refresh.
  void OnSetBounds(kv::Rect bounds) override;

  // False while a screen opened over this one since holds the keys (the
  // quick menu, a dialog, the volume bar): what this screen opens as its
  // own child then would be drawn under that screen. True with nothing
  // focused.
  bool HoldsTheKeys() const;
  // The owning sub-system's ClearAll (nothing without one).
  virtual void ClearAll();
  virtual void OnSetMenuTriggered(bool flag);
  // Closes the screen and opens its NextState (with this class as the
  // previous state) with the transition code of where it was opened from.
  virtual void EnterNextState();
  // Closes the screen; a shortcut hands the screen back to the menu, else
  // the PrevState opens (nothing without one).
  virtual void EnterPrevState();
  virtual void FakeInit() {}
  void Init() {}
  void Exit() { Close(); }

  // Slots (sender ignored): what the time-out and the posted keys run.
  void ClearAllSlot(kv::Object* = nullptr) { ClearAll(); }
  void ExitSlot(kv::Object* = nullptr) { Exit(); }
  void EnterNextStateSlot(kv::Object* = nullptr) { EnterNextState(); }
  void EnterPrevStateSlot(kv::Object* = nullptr) { EnterPrevState(); }
  void RefreshSlot(kv::Object* = nullptr) { Refresh(); }

  ::NonMenuSystem::NonMenuSystem* OnGetNonMenuSystem() const { return nonMenuSystem_.get(); }
  void OnSetNonMenuSystem(::NonMenuSystem::NonMenuSystem* s);
  kv::Point OnGetWidgetOrigin() const { return WidgetOrigin; }
  void OnSetWidgetOrigin(kv::Point p) { WidgetOrigin = p; }
  bool OnGetIsPersistent() const { return IsPersistent; }
  void OnSetIsPersistent(bool on) { IsPersistent = on; }
  bool OnGetIsShortcut() const { return IsShortcut; }
  void OnSetIsShortcut(bool on) { IsShortcut = on; }
  bool OnGetMenuTriggered() const { return MenuTriggered; }
  bool OpenedFromQuickMenu() const { return fromQuickMenu_; }
  // A screen replacing another hands it the quick-menu return flag.
  void OnSetFromQuickMenu(bool on) { fromQuickMenu_ = on; }

  // Opened as a shortcut from a menu page: Back returns to the menu.
  bool IsShortcut = false;
  // The time-out runs only while the screen has the focus.
  bool IsPersistent = true;
  // Opened from the menu; set it through OnSetMenuTriggered.
  bool MenuTriggered = false;
  // Where the sub-system places the screen; (-1, -1): centred.
  kv::Point WidgetOrigin{-1, -1};

 protected:
  // The transition code for the next or previous screen.
  int32_t TransitionCode() const;
  // Opens `cls` through the sub-system as the next or previous state.
  void OpenState(const kv::Class* cls, const kv::Class* prev);
  // The menu shows again and takes the focus (MSG_CHANGE_APPEARANCE, visible
  // to every receiver, then focus to the menu system).
  static void HandBackToMenu();
  // Posts `method` of this screen (runs at the end of the pass).
  void Post(void (WidgetClass::*method)(kv::Object*));

  Views::Rectangle background_;
  Views::Frame frame_;
  bool fromQuickMenu_ = false;

 private:
  kv::Member<::NonMenuSystem::NonMenuSystem> nonMenuSystem_;
};

class KXDWidgetClass : public WidgetClass {
  KV_CLASS(NonMenuSystem, KXDWidgetClass, WidgetClass)
 public:
  KXDWidgetClass();

  void Refresh() override;

  void OnSetCaption(const kv::String& text);
  const kv::String& OnGetCaption() const { return Caption; }
  void OnSetHasCaption(bool on);
  bool OnGetHasCaption() const { return HasCaption; }
  // Stores the width and shrinks the screen by 2 x (34 - width) each way.
  void OnSetFrameWidth(int32_t width);
  int32_t OnGetFrameWidth() const { return FrameWidth; }

  kv::String Caption;
  bool HasCaption = true;
  int32_t FrameWidth = 34;

 protected:
  Views::Text caption_;
  Views::Frame divider_;
};

class BorderWidgetClass : public WidgetClass {
  KV_CLASS(NonMenuSystem, BorderWidgetClass, WidgetClass)
 public:
  BorderWidgetClass();

  void Refresh() override;

  void OnSetCaption(const kv::String& text);
  const kv::String& OnGetCaption() const { return Caption; }

  kv::String Caption;

 protected:
  Views::Text caption_;
  Views::Border border_;
};

}  // namespace NonMenuSystem
