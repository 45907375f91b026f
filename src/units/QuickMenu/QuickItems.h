// The rows of the quick menu and the quick pages, and the table of rows per
// quick type.
//
// QuickMenu::QuickMenuItem: a 336 x 26 row that opens its NextState on OK.
// QuickMenu::QuickOptionItem: a row that shows the current choice of an
//   option (value text from x 180, arrows while focused and enabled); left
//   and right signal OnActivate.
// QuickMenu::QuickOptionItemSelect: left and right step the option, wrap, and
//   write it at once (the option is not marked as changed).
// QuickMenu::QuickSliderItem: a row with a number and an inline slider.
// QuickMenu::QuickSliderItemSelect: left and right move the slider by Step
//   within [Min, Max], write the option and mark it as changed.
//
// QuickMenu::ItemDataClass describes one row; QuickMenu::ItemDataSource (the
// auto object QuickMenu::QuickItemData) holds the records and, per quick
// type, the slots of its rows.
#pragma once

#include <array>
#include <cstdint>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/member.h"
#include "runtime/object.h"
#include "runtime/slot.h"
#include "runtime/string.h"
#include "runtime/text.h"
#include "units/Button/Button.h"
#include "units/SkinBin/Sliders.h"
#include "units/Views/Image.h"
#include "units/Views/Text.h"

namespace OptionDatabase {
class OptionDataClass;
}

namespace QuickMenu {

// Row geometry.
inline constexpr int32_t kRowWidth = 336;
inline constexpr int32_t kRowHeight = 26;

class QuickMenuItem : public ::Button::IconButton {
  KV_CLASS(QuickMenu, QuickMenuItem, ::Button::IconButton)
 public:
  QuickMenuItem();

  void Refresh() override;

  int32_t OnGetOptionType() const { return OptionType; }
  void OnSetOptionType(int32_t id) { OptionType = id; }

  // The option record of OptionType, or null (logged).
  OptionDatabase::OptionDataClass* Record();

  int32_t OptionType = 0;

 protected:
  // The value rows' keys: OK is consumed, left and right signal OnActivate
  // unless the row is disabled. Null for other events.
  kv::Object* HandleValueKeys(Core::Event* event);
};

class QuickOptionItem : public QuickMenuItem {
  KV_CLASS(QuickMenu, QuickOptionItem, QuickMenuItem)
 public:
  QuickOptionItem();

  void Refresh() override;
  void HandleFocus(bool focused) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

  // Reads the option's value and shows its choice.
  void LoadSetting();

  void OnSetValueString(const kv::String& text);
  const kv::String& OnGetValueString() const { return valueText_.OnGetString(); }
  int32_t OnGetValue() const { return Value; }
  // The parts beside the caption (for tests).
  Views::Text& ValueText() { return valueText_; }
  Views::Image& LeftArrow() { return leftArrow_; }

  int32_t Value = 0;
  // The list index of the current choice and the option's choice count.
  int32_t Index = 0;
  int32_t Count = 0;
  kv::Slot OnResetTimeout;

 protected:
  void ShowArrows();

  Views::Text valueText_;
  Views::Image leftArrow_;
  Views::Image rightArrow_;
};

class QuickOptionItemSelect : public QuickOptionItem {
  KV_CLASS(QuickMenu, QuickOptionItemSelect, QuickOptionItem)
 public:
  QuickOptionItemSelect() = default;

  kv::Object* HandleEvent(Core::Event* event) override;
  // Steps the choice forward (+1) or back (-1) with wrap-around, writes the
  // option and signals OnValueChanged. Nothing without a choice.
  void ToggleOption(int32_t direction);

  uint16_t ToggleDecreaseKey = keys::KEY_LEFT;
  uint16_t ToggleIncreaseKey = keys::KEY_RIGHT;
  kv::Slot OnValueChanged;
};

class QuickSliderItem : public QuickMenuItem {
  KV_CLASS(QuickMenu, QuickSliderItem, QuickMenuItem)
 public:
  QuickSliderItem();

  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

  // Reads range and value of the option into the row and its slider.
  void LoadSetting();

  void OnSetMax(int32_t v);
  void OnSetMin(int32_t v);
  void OnSetStep(int32_t v);
  // Stores the value clamped to [Min, Max] and shows the number.
  void OnSetValue(int32_t v);
  int32_t OnGetValue() const { return Value; }
  const kv::String& OnGetValueString() const { return valueText_.OnGetString(); }
  void OnSetSliderVisible(bool on);
  void OnSetSliderMiddlePoint(bool on);
  SkinBin::ProgressKXD& Slider() { return slider_; }
  Views::Text& ValueText() { return valueText_; }

  int32_t Max = 100;
  int32_t Min = 0;
  int32_t Step = 1;
  int32_t Value = 0;
  bool SliderVisible = true;
  bool SliderMiddlePoint = true;
  kv::Slot OnResetTimeout;

 protected:
  Views::Text valueText_;
  SkinBin::ProgressKXD slider_;
};

class QuickSliderItemSelect : public QuickSliderItem {
  KV_CLASS(QuickMenu, QuickSliderItemSelect, QuickSliderItem)
 public:
  QuickSliderItemSelect();

  // Left and right go to the slider (while the row is enabled).
  kv::Object* HandleEvent(Core::Event* event) override;
  // The slider moved: shows, writes and marks the option, then signals
  // OnResetTimeout and OnValueChanged. A slot of the slider.
  void DoValueChanged(kv::Object* sender = nullptr);

  kv::Slot OnValueChanged;
};

// --- Row records -------------------------------------------------------------------

class ItemDataClass : public kv::Object {
  KV_CLASS(QuickMenu, ItemDataClass, kv::Object)
 public:
  ItemDataClass() = default;

  bool Enabled = true;
  const kv::MultiTextId* Caption = nullptr;
  const kv::Class* ItemClass = nullptr;
  const kv::Class* NextState = nullptr;
  int32_t OptionType = 0;
};

// Quick types: what the set shows when the quick menu opens.
inline constexpr int32_t QuickType_None = -1;
inline constexpr int32_t QuickType_Photo_Frame = 0;
inline constexpr int32_t QuickType_SingleWindow = 1;
inline constexpr int32_t QuickType_SingleWindow_3D = 1;
inline constexpr int32_t QuickType_Photo_MultiView = 2;
inline constexpr int32_t QuickType_Photo_SingleView = 3;
inline constexpr int32_t QuickType_Photo_DMR = 4;
inline constexpr int32_t QuickType_Movie_List = 5;
inline constexpr int32_t QuickType_Movie_Play = 6;
inline constexpr int32_t QuickType_Movie_DMR = 7;
inline constexpr int32_t QuickType_Vudu_Playback = 7;
inline constexpr int32_t QuickType_FlashlitePlayback = 7;
inline constexpr int32_t QuickType_Music_List = 8;
inline constexpr int32_t QuickType_Music_Play = 9;
inline constexpr int32_t QuickType_Music_DMR = 10;
inline constexpr int32_t QuickType_Pandora = 10;
inline constexpr int32_t QuickType_TVWidget_Stream = 11;
inline constexpr int32_t QuickType_Vudu_FullScreen = 11;
inline constexpr int32_t QuickType_FlashliteGraphics = 11;
inline constexpr int32_t QuickType_TVWidget_Input = 12;
// At most this many slots of a row are examined.
inline constexpr int32_t QuickMenu_MaxItemsNum = 8;
inline constexpr int32_t kQuickTypes = 16;
inline constexpr int32_t kQuickSlots = 10;

class ItemDataSource : public kv::Object {
  KV_CLASS(QuickMenu, ItemDataSource, kv::Object)
 public:
  ItemDataSource();

  // The record in slot `index` of quick type `type`; null for an empty slot
  // and outside types 0..15 and slots 0..9.
  ItemDataClass* GetItemData(int32_t type, int32_t index) const;

 private:
  kv::MemberVector<ItemDataClass> records_;
  // Per quick type and slot: the index into records_, or -1.
  std::array<std::array<int8_t, kQuickSlots>, kQuickTypes> table_{};
};

}  // namespace QuickMenu

KV_DECLARE_AUTO_OBJECT(QuickMenu, QuickItemData);
