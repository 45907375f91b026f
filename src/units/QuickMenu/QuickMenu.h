// The quick menu: a short pop-up of shortcuts whose rows depend on what the
// set shows (live TV, a media screen, a network application).
//
// QuickMenu::QuickMenuClass: the base of every quick screen: rows that wrap
// with up and down, the quick key back to the previous state, OK on a row
// opening its NextState (with the row's OptionType and MSG_FROM_QUICKMENU,
// so that Back there returns here), LoadSettings for the option rows.
// QuickMenu::QuickMenu: computes the quick type, builds its rows from the
// table of QuickMenu::QuickItemData through the row filter, sits 10 pixels
// above the bottom edge and remembers the focused row per quick type in the
// live-TV sub-system. With no row it closes again at once.
#pragma once

#include <cstdint>

#include "units/NonMenuSystem/WidgetClass.h"

namespace Forms {
class Ctrl;
}

namespace QuickMenu {

class ItemDataClass;

inline constexpr uint32_t kQuickLayer = 256;

class QuickMenuClass : public NonMenuSystem::KXDWidgetClass {
  KV_CLASS(QuickMenu, QuickMenuClass, NonMenuSystem::KXDWidgetClass)
 public:
  QuickMenuClass();

  kv::Object* HandleEvent(Core::Event* event) override;
  // Opens the row's NextState (nothing for a row without one, a disabled
  // row or without an owner).
  virtual void DoActivate(Forms::Ctrl* row);
  // Loads every option and slider row from the option database.
  void LoadSettings();
  // Places the rows from y 48, 26 pixels apart.
  void Refresh() override;
  // The slot the rows' OnActivate reaches.
  void DoActivateSlot(kv::Object* sender) { DoActivate(kv::Cast<Forms::Ctrl>(sender)); }
  // The slot the option and slider rows re-arm the time-out with.
  void ResetTimeoutSlot(kv::Object* = nullptr) { ResetTimeout(); }

 protected:
  // Adds a row of `cls` with that caption, option and target; answers it.
  Forms::Ctrl* AddRow(const kv::Class* cls, const kv::String& caption, int32_t option, const kv::Class* next,
                      bool enabled = true);
  // The y of the first row.
  int32_t firstRowY_ = 48;
};

class QuickMenu : public QuickMenuClass {
  KV_CLASS(QuickMenu, QuickMenu, QuickMenuClass)
 public:
  QuickMenu();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Close() override;

  // Works out the quick type of what the set shows now (QuickType_None: no menu).
  int32_t GetQuickType();
  // The row filter.
  bool IsValidItem(int32_t quickType, ItemDataClass* record);

  int32_t OnGetQuickType() const { return QuickType; }
  int32_t OnGetItemCount() const { return ItemCount; }

  int32_t QuickType = -1;
  int32_t ItemCount = 0;
};

}  // namespace QuickMenu
