// MenuSystem::ThirdMenu: the base of the setting pages. A framed list of
// rows (MenuItems.h) with a title; up and down move the focus with
// wrap-around over the rows present, Back closes the page (returning to the
// parent page on levels 4 and deeper), activating a row opens its target.
//
// Opening (Initialize): a page with fewer than 8 rows shrinks by
// (ItemGap + 25) x (8 - rows); the row remembered for the page's level is
// focused (a remembered row beyond the rows present counts as 1, 0 or
// below focuses nothing); LoadSettings binds each row to its option; a
// SkinBin::UserRefInt parameter with the quick-menu code sets QuickMenu, a
// key event it carries is handled at once; a Structures::RefInt focuses
// that row.
#pragma once

#include <cstdint>

#include "runtime/string.h"
#include "runtime/text.h"
#include "units/SubSystem/MenuClass.h"
#include "units/Views/Border.h"
#include "units/Views/Image.h"
#include "units/Views/MultilineText.h"
#include "units/Views/Rectangle.h"

namespace MenuSystem {

class SubMenuItem;

inline constexpr int32_t THIRD_MENU_ITEM_MAX_NUM = 8;
inline constexpr int32_t kPageWidth = 526;
inline constexpr int32_t kPageHeight = 258;
inline constexpr int32_t kPageX = 160;

class ThirdMenu : public SubSystem::MenuClass {
  KV_CLASS(MenuSystem, ThirdMenu, SubSystem::MenuClass)
 public:
  ThirdMenu();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void DoActivate(kv::Object* sender) override;
  void DoFocus(kv::Object* sender) override;
  // Puts the focused row's keys on the help bar, as this page's. A slot.
  void ShowFocusedHelp(kv::Object* sender = nullptr);
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;
  // Draws its parts and its rows (cut to the rows' area) its own way: offers no opaque cover.
  void CollectOpaque(const kv::Rect& /*clip*/, kv::Point /*origin*/, Core::OpaqueCover& /*cover*/) const override {}
  void ReInit() override;
  // Binds every row present to its option.
  virtual void LoadSettings();
  // The up arrow while the first row lies above the rows' area, the down
  // arrow while the last lies below it.
  void RefreshArrow();

  void OnSetCaption(const kv::String& caption);
  const kv::String& OnGetCaption() const { return caption_; }

  // Focuses the row at `index` (1-based) or, when that row cannot take the
  // focus (a grey row that is passed over), the next one that can, going
  // `step` (1 down, -1 up) with wrap-around; nothing when no row can.
  void FocusRowFrom(int32_t index, int32_t step);
  // The rows present, in order (those a page took out are not counted).
  int32_t RowCount();
  SubMenuItem* Row(int32_t index);
  // Adds a row at the next place with caption, option and target, wired to
  // DoActivate and DoFocus.
  SubMenuItem* AddRow(SubMenuItem* row, const kv::MultiTextId* caption, int32_t option,
                      const kv::Class* target = nullptr);
  // Takes a row out of the page (it is no longer reached by up and down).
  void RemoveRow(SubMenuItem* row);
  // The row bound to that option, or null.
  SubMenuItem* RowOf(int32_t option);
  // Re-places the rows one under another in the rows' area and lays each
  // one out for its new bounds.
  void PlaceRows();
  // The rows' area in page coordinates: the focused row is scrolled into it
  // and no row draws outside it.
  kv::Rect GetPageArea() override;

  bool IsShortcut = false;
  bool QuickMenu = false;
  int32_t ItemGap = 1;
  // The height the page takes after the shrink rule; 0 keeps the rule's.
  int32_t FixedHeight = 0;
  // Height kept free at the top of the rows' area (column headings).
  int32_t HeaderHeight = 0;
  const kv::MultiTextId* CaptionId = nullptr;

 protected:
  // Resets the level's remembered row, closes the page and goes back.
  virtual void GoBack();
  // The owner's remembered row of this level (1 without an owner).
  int32_t RememberedIndex();
  void Remember(int32_t index);

 private:
  void UpdateHelp(int32_t mask, const kv::String& text);
  void ResetTimeoutSlot(kv::Object* sender) { ResetTimeout(sender); }

  Views::Rectangle background_;
  Views::Rectangle black_;
  Views::Border border_;
  Views::MultilineText title_;
  Views::Image upArrow_;
  Views::Image downArrow_;
  kv::String caption_;
};

}  // namespace MenuSystem
