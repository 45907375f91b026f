// The live menu tree: the column that the Menu key opens and the base of
// the pages shown beside it.
//
// MenuSystem::VidiMainMenu (level 1) shows the seven areas as a vertical
// carousel of icon entries; the focused entry always stands in slot 1 and
// has its page open beside the column. MenuSystem::VidiSubMenu is the page
// base: its focused item always stands in slot 0, the following items below
// it. Both move with up and down over 6 frames of 50 ms (every entry slides
// one slot, the entering one fades in, the leaving one fades out), wrap
// around, and keep CurrentItemIndex as a stored number that the focus
// follows only through ApplyCurrentItemIndex. When every entry fits on the
// screen a spare entry plays the part of the one entering at the other end.
//
// MenuSystem::VidiSubMenuItem is a page item: a value shown at the right
// (IsItemValue, with the option pop-up beside the page), an inline slider
// (IsSlider; with IsSelect it takes left and right itself), a colour swatch,
// or a plain item that opens a page or a screen outside the menu.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/string.h"
#include "runtime/text.h"
#include "units/Button/Button.h"
#include "units/SkinBin/Sliders.h"
#include "units/SubSystem/MenuClass.h"
#include "units/Views/Image.h"
#include "units/Views/Rectangle.h"
#include "units/Views/Text.h"

namespace SkinBin {
class MenuEffect;
}
namespace Structures {
class Message;
}

namespace MenuSystem {

class MenuSystem;
class VidiOptionMenu;
// The menu sub-system, by a name that the pages' MenuSystem field does not hide.
using MenuController = MenuSystem;

inline constexpr int32_t HelpTypeEnter = 1;
inline constexpr int32_t HelpTypeUpDown = 2;
inline constexpr int32_t HelpTypeLeftRight = 3;
// APPEARANCE value of MSG_CHANGE_APPEARANCE with which a PIN page hands the
// page it opened to the column.
inline constexpr int32_t APPEARANCE_PIN_PASSED = 11;
inline constexpr int32_t kVisibleSlots = 6;
inline constexpr int32_t kMoveFrames = 6;
inline constexpr int32_t kMovePeriod = 50;  // EFFECT_PERIOD_PLATFORM

// One entry of the column.
class VidiMainMenuItem : public ::Button::IconButton {
  KV_CLASS(MenuSystem, VidiMainMenuItem, ::Button::IconButton)
 public:
  VidiMainMenuItem();

  // Key 7 (right) activates the entry like OK.
  kv::Object* HandleEvent(Core::Event* event) override;
  // Gaining the focus plays the icon's frames 0 to 7; losing it stops them.
  void HandleFocus(bool focused) override;
  // Focused only while the column takes the keys (see RefreshFocusedRow).
  int32_t GetCtrlState() override;
  void RefreshCtrlState(int32_t state) override;
  void Refresh() override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

  void OnSetIconBitmap(Resources::Bitmap* bitmap);
  Resources::Bitmap* OnGetIconBitmap() { return image_.OnGetBitmap(); }
  void OnSetAnimationEndless(bool endless);
  // Shows frame 7 and, the first time, ends the animation. A slot.
  void StopAnimation(kv::Object* sender = nullptr);
  // Opacity of the whole entry while it fades in or out.
  void OnSetOpacity(int32_t opacity);
  int32_t OnGetOpacity() const { return Opacity; }

  int32_t OptionType = 0;
  bool AnimationEndless = false;
  int32_t Opacity = 255;

 private:
  Views::Image image_;
  bool stopped_ = true;
};

class VidiSubMenuItem : public ::Button::IconButton {
  KV_CLASS(MenuSystem, VidiSubMenuItem, ::Button::IconButton)
 public:
  VidiSubMenuItem();

  // Key 7 activates a value item; left and right step an item whose slider
  // has the focus (IsSlider and IsSelect).
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;
  // Focused only while its page or pop-up takes the keys (see RefreshFocusedRow).
  int32_t GetCtrlState() override;
  void RefreshCtrlState(int32_t state) override;
  void Refresh() override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;
  void ReInit() override;

  void OnSetIsItemValue(bool on);
  void OnSetIsSlider(bool on);
  void OnSetIsSelect(bool on);
  void OnSetIsColor(bool on);
  void OnSetColor(kv::Color color);
  void OnSetCaptionGap(int32_t gap);
  void OnSetValueString(const kv::String& text);
  // Value, CurrentValue, the slider and the value text at once.
  void OnSetValue(int32_t v);
  void OnSetOpacity(int32_t opacity);
  // Reads and writes the option through the slider (the slider's change slot).
  void DoValueChanged(kv::Object* sender = nullptr);
  // The slider and the value text, for tests and the pages.
  SkinBin::ProgressKXD& Slider() { return slider_; }
  const kv::String& OnGetValueString() const { return ValueString; }
  bool IsArrowShown() { return arrow_.OnGetVisible(); }
  // The caption from a Strings symbol, set again on a language change.
  void SetCaptionId(const kv::MultiTextId* id);

  int32_t OptionType = 0;
  bool IsItemValue = false;
  bool IsSlider = false;
  bool IsSelect = false;
  bool IsColor = false;
  kv::Color Color;
  bool NeedHideMenu = false;
  int32_t CaptionGap = 5;
  int32_t HelpType = HelpTypeEnter;
  int32_t Min = 0;
  int32_t Max = 100;
  int32_t Step = 1;
  int32_t CurrentValue = 0;
  int32_t Value = 0;
  kv::String ValueString;
  int32_t Opacity = 255;
  kv::Slot OnValueChanged;
  kv::Slot OnResetTimeout;

 private:
  Views::Text value_;
  SkinBin::ProgressKXD slider_;
  Views::Image arrow_;
  Views::Rectangle swatch_;
  const kv::MultiTextId* captionId_ = nullptr;
};

class VidiSubMenu;

class VidiMainMenu : public SubSystem::MenuClass {
  KV_CLASS(MenuSystem, VidiMainMenu, SubSystem::MenuClass)
 public:
  VidiMainMenu();
  void ReInit() override;

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;
  void HandleMessage(Structures::Message* msg) override;
  void Close() override;
  void DoActivate(kv::Object* sender) override;
  void DoFocus(kv::Object* sender) override;
  void DoTimeout(kv::Object* sender) override;
  int32_t OnGetCurrentItemIndex() override { return CurrentItemIndex; }
  void OnSetCurrentItemIndex(int32_t index) override { CurrentItemIndex = index; }

  void UpdateHelp(int32_t type);
  void ApplyCurrentItemIndex(kv::Object* sender = nullptr);
  void LaunchSecondaryMenu(kv::Object* sender = nullptr);
  void CloseSecondaryMenu(kv::Object* sender = nullptr);
  void StartMove();
  void MoveTriggerSlot(kv::Object* sender);
  void MoveEndSlot(kv::Object* sender);
  void OnSetAnimating(bool on);

  // The entries in column order (the Locks entry may be removed), and the page beside them.
  int32_t EntryCount() const { return static_cast<int32_t>(items_.size()); }
  VidiMainMenuItem* Entry(int32_t i) const { return items_.at(static_cast<size_t>(i)); }
  VidiMainMenuItem* Spare() const { return spare_.get(); }
  VidiSubMenu* OpenPage() const;
  // Whether `page` is the page of one of the column's entries (the Locks
  // entry's PIN pages aside).
  static bool IsEntryPage(const kv::Class* page);
  // Moves the column to the entry whose page is `page` and opens that page
  // beside it; false when no entry leads there.
  bool ShowEntryOf(const kv::Class* page);
  VidiMainMenuItem* LocksEntry() const { return locks_.get(); }
  Views::Image& HelpIcon() { return helpIcon_; }
  Views::Text& HelpText() { return helpText_; }
  // Slot -1..visible+1 to the entry (0-based) shown there.
  int32_t PositionIndexToItemIndex(int32_t slot) const;

  bool Animating = false;
  int32_t VisibleSlots = kVisibleSlots;
  int32_t FirstSlot = 0;
  int32_t FrameCounter = 0;
  uint16_t MoveDirection = 0;

 private:
  friend struct LiveCarousel;
  void PlaceEntries();
  Views::Rectangle shade_;
  Views::Image background_;
  Views::Image helpIcon_;
  Views::Text helpText_;
  Views::Image returnIcon_;
  Views::Text returnText_;
  Views::Image exitIcon_;
  Views::Text exitText_;
  kv::MemberVector<VidiMainMenuItem> items_;
  kv::Member<VidiMainMenuItem> spare_;
  kv::Member<VidiMainMenuItem> locks_;
  kv::Member<VidiSubMenu> openPage_;
  kv::MemberVector<SkinBin::MenuEffect> effects_;
  kv::Member<VidiMainMenuItem> entering_;
  kv::Member<VidiMainMenuItem> leaving_;
};

class VidiSubMenu : public SubSystem::MenuClass {
  KV_CLASS(MenuSystem, VidiSubMenu, SubSystem::MenuClass)
 public:
  VidiSubMenu();
  void ReInit() override;

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;
  void HandleMessage(Structures::Message* msg) override;
  void Close() override;
  void DoActivate(kv::Object* sender) override;
  void DoFocus(kv::Object* sender) override;
  void DoTimeout(kv::Object* sender) override;
  int32_t OnGetCurrentItemIndex() override { return CurrentItemIndex; }
  void OnSetCurrentItemIndex(int32_t index) override { CurrentItemIndex = index; }

  // Reads every item's option (the first ItemsNum items).
  virtual void LoadSettings();
  void LaunchOptionMenu(kv::Object* sender = nullptr);
  void CloseOptionMenu(kv::Object* sender = nullptr);
  void ApplyCurrentItemIndex(kv::Object* sender = nullptr);
  void StartMove();
  void MoveTriggerSlot(kv::Object* sender);
  void MoveEndSlot(kv::Object* sender);
  void OnSetAnimating(bool on);
  void OnSetLabelstring(const kv::String& s);
  const kv::String& OnGetLabelstring() const { return Labelstring; }
  // Back: to the column at level 2, else to the PrevState page.
  void GoBack();

  // Builds an item and adds it to the page (pages call it in their constructors).
  VidiSubMenuItem* AddItem(const kv::MultiTextId* caption, const kv::Class* target, int32_t optionType = 0);
  VidiSubMenuItem* AddItem(const kv::String& caption, const kv::Class* target, int32_t optionType = 0);
  // Removes an item built with the page (a condition failed) and lowers ItemsNum.
  void RemoveItem(VidiSubMenuItem* item);
  // Moves an item behind the others (it keeps its place in the page but
  // leaves the items that move).
  void MoveItemLast(VidiSubMenuItem* item);
  int32_t ItemCount() const { return static_cast<int32_t>(items_.size()); }
  VidiSubMenuItem* Item(int32_t i) const {
    return i >= 0 && i < ItemCount() ? items_.at(static_cast<size_t>(i)) : nullptr;
  }
  VidiSubMenuItem* Spare() const { return spare_.get(); }
  VidiOptionMenu* OptionMenu() const;
  int32_t PositionIndexToItemIndex(int32_t slot) const;
  // Places the visible items again (after items were hidden or restacked).
  void PlaceItems();
  // The remembered index of this page's level, 1 when it exceeds the items.
  int32_t RememberedIndex();

  bool NeedAdjustCurrentItemIndex = false;
  kv::String Labelstring;
  bool Animating = false;
  int32_t VisibleSlots = kVisibleSlots;
  int32_t FirstSlot = 0;
  int32_t FrameCounter = 0;
  uint16_t MoveDirection = 0;

 protected:
  // The title's Strings symbols ("A / B" when both are set).
  void SetTitle(const kv::MultiTextId* a, const kv::MultiTextId* b = nullptr);
  void SetTitleText(const kv::String& a, const kv::MultiTextId* b = nullptr);

 private:
  friend struct LiveCarousel;
  Views::Text title_;
  kv::MemberVector<VidiSubMenuItem> items_;
  kv::Member<VidiSubMenuItem> spare_;
  kv::Member<VidiOptionMenu> optionMenu_;
  kv::MemberVector<SkinBin::MenuEffect> effects_;
  kv::Member<VidiSubMenuItem> entering_;
  kv::Member<VidiSubMenuItem> leaving_;
  const kv::MultiTextId* titleA_ = nullptr;
  const kv::MultiTextId* titleB_ = nullptr;
  kv::String titleText_;
};

// The owning menu sub-system of a page, or null.
MenuController* OwnerOf(SubSystem::MenuClass* page);

}  // namespace MenuSystem
