// SubSystem::MenuClass: the base of the menu pages and carousels.
//
// A page times out after 60000 ms without a handled key (DoTimeout asks the
// menu system to tear the menu down), except while it stands hidden behind
// a screen opened from the menu that is still open. Its items are its
// controls; pages bind each item's OnActivate and OnFocus to DoActivate and
// DoFocus.
// Refresh lines the items up for ArrangeMode 0 (side by side) and 1 (one
// under another); other modes leave them where the page put them.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "units/Primitives/KeyRoutingScrollForm.h"

namespace SubSystem {

class MenuSystemClass;

// Time-out of a menu page, in milliseconds.
inline constexpr int32_t kMenuTimeOut = 60000;

class MenuClass : public Primitives::KeyRoutingScrollForm {
  KV_CLASS(SubSystem, MenuClass, Primitives::KeyRoutingScrollForm)
 public:
  MenuClass();

  // An item was activated (sender: the item): opens the item's NextState
  // class through the menu system's ChangeState, with this page's class as
  // the previous state. Nothing for an item without a target.
  virtual void DoActivate(kv::Object* sender);
  // An item took the focus (sender: the item); pages update their help bar
  // here. The base does nothing.
  virtual void DoFocus(kv::Object* sender);
  // The page timed out: the menu system's MenuTimeout.
  virtual void DoTimeout(kv::Object* sender);
  // The time-out expired: while the page stands hidden behind a screen
  // opened from the menu (the menu system's HiddenBehindScreen), it starts
  // again instead; otherwise OnTimeOut is signalled (DoTimeout).
  void TimeOutSlot(kv::Object* sender) override;
  // A handled key restarts the time-out of every open form of the menu
  // (the menu system's RestartTimeOuts); only this one without a menu system.
  void ResetTimeout(kv::Object* sender = nullptr) override;

  // 1-based index of the focused item among the controls, 0 when none.
  virtual int32_t OnGetCurrentItemIndex();
  // Stores the index and focuses that item (1-based); an index without an
  // item is stored and moves no focus.
  virtual void OnSetCurrentItemIndex(int32_t index);

  // Places the visible items for ArrangeMode 0 and 1, then redraws.
  void Refresh() override;

  kv::Member<MenuSystemClass> MenuSystem;
  // 1 main menu, 2 a page opened from it, 3 and deeper for further pages.
  int32_t MenuLevel = 1;
  // 0 side by side from (ItemXOffset, ItemYOffset), 1 one under another
  // from the same corner, other values: items are not placed.
  int32_t ArrangeMode = 0;
  int32_t ItemXOffset = 0;
  int32_t ItemYOffset = 0;
  // Gap between an item's far edge and the next item.
  int32_t ItemInterval = 0;
  // The stored CurrentItemIndex (see OnGetCurrentItemIndex for the live value).
  int32_t CurrentItemIndex = 0;
  int32_t LastItemIndex = 0;
  int32_t ItemsNum = 0;
  // The page this one was opened from.
  const kv::Class* ParentPage = nullptr;
};

}  // namespace SubSystem
