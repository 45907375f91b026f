// The rows of the setting pages: one focusable button per row, bound to one
// option of the option database by its option id (OptionType, 0 = none).
//
//   SubMenuItem               a link: the activation key fires OnActivate
//   SubMenuItemValue          + the option's choice text; left/right activate
//   SubMenuItemValueSelect    + left/right step the choice in place and write it
//     RGBFilterOptionItem     + a colour swatch
//     TimerSetItem            + time entry; steps by IndexStep minutes
//     ChannelSetItem          + channel number entry
//     TimerSourceItem           the timer's input, kept as a source id
//   SubMenuItemAdjust         a number with Min/Max/Step; left/right activate
//     AdjustItemArrow         + arrows showing which way the value can move
//       AdjustItemArrowSelect + left/right change the value in place
//         NumberEntryItem     + number entry in a form the subclass owns
//           VolumeSetItem
//     AdjustItemSlider        + a slider bar (opens the adjustment bar)
//       AdjustItemSliderSelect  the slider takes left/right in place
//       RGBFilterSliderItem   a slider row whose focus stays on the row
//   BaseColorAdjustItem       a colour swatch with hue, saturation, brightness
//
// Items answer a key they handled with themselves, else null (the page then
// handles it). A missing option record is no error: the row keeps what it
// shows and nothing is written. A disabled row never changes; the keys that
// would change it still restart the menu time-out (OnResetTimeout).
#pragma once

#include <cstdint>
#include <initializer_list>

#include "keys/keycodes.h"
#include "runtime/member.h"
#include "runtime/slot.h"
#include "runtime/string.h"
#include "runtime/text.h"
#include "units/Button/Button.h"
#include "units/Button/TextEdit.h"
#include "units/SkinBin/EntryForms.h"
#include "units/SkinBin/Sliders.h"
#include "units/Views/Image.h"
#include "units/Views/Rectangle.h"
#include "units/Views/Text.h"

namespace OptionDatabase {
class OptionDataClass;
}

namespace MenuSystem {

// Help-bar key masks of the rows.
inline constexpr int32_t HELP_MASK_LINK = 0x40200;        // return, OK
inline constexpr int32_t HELP_MASK_VALUE = 0x40004;       // return, left/right
inline constexpr int32_t HELP_MASK_ENTRY = 0x40006;       // return, digits, left/right
inline constexpr int32_t HELP_MASK_EDITING = 0x40202;     // return, digits, OK
inline constexpr int32_t HELP_MASK_BASE_COLOR = 0x40010;  // return, right
// A row is 490 x 25.
inline constexpr int32_t kItemWidth = 490;
inline constexpr int32_t kItemHeight = 25;

// The option record of `id` in the option database, or null.
OptionDatabase::OptionDataClass* OptionRecord(int32_t id);
// The help text made of the words given (ids of the menu system's texts),
// joined by the separator.
kv::String HelpText(std::initializer_list<const kv::MultiTextId*> words);

class SubMenuItem;
// Binds a row to its option as a page does when it opens: value rows take
// the choice count, the property's value, its index and the choice caption;
// adjust rows the slider courier's range and value; base-colour rows the
// three values of their option and the next two. Answers false when the row
// has no option or the database has no record of it.
bool BindOption(SubMenuItem* item);

// Caption, help string and the two item parameters of a row.
class MenuItemCourier : public kv::Object {
  KV_CLASS(MenuSystem, MenuItemCourier, kv::Object)
 public:
  kv::String Text;
  kv::String HelpString;
  int32_t Param1 = 0;
  int32_t Param2 = 0;
};

class SubMenuItem : public ::Button::IconButton {
  KV_CLASS(MenuSystem, SubMenuItem, ::Button::IconButton)
 public:
  SubMenuItem();

  // Rule: a key-down of the activation key on an enabled item with an
  // activate slot fires it.
  kv::Object* HandleEvent(Core::Event* event) override;
  void RefreshCtrlState(int32_t state) override;
  void Refresh() override;

  // Fills `data` (a MenuItemCourier; one is made when null) / copies one back.
  kv::Object* GetData(kv::Object* data) override;
  void SetData(kv::Object* data) override;

  // The caption's text colour together with the value text's (value kinds).
  virtual void OnSetTextColor2(kv::Color color) { OnSetTextColor(color); }

  int32_t MessageType = 0;
  int32_t MessageParam = 0;
  kv::Member<kv::Object> MessageTarget;
  int32_t IndentLevel = 0;
  int32_t Param1 = 0;
  int32_t Param2 = 0;
  kv::String HelpString;
  int32_t HelpMask = HELP_MASK_LINK;
  int32_t ChoiceNum = 0;
  int32_t OptionType = 0;

 protected:
  // Key-down code of an event, 0 for anything else.
  static uint16_t DownCode(Core::Event* event);
  // Fires the activate slot (rule 1 without the key test).
  void Activate();
  // The caption's rectangle after the base layout.
  kv::Rect CaptionRect();

 private:
  // The focus bar of the row while it is grey.
  kv::Member<Resources::Bitmap> disabledFocus_;
};

// Value text on the right half of the row, with two arrows while focused.
class SubMenuItemValue : public SubMenuItem {
  KV_CLASS(MenuSystem, SubMenuItemValue, SubMenuItem)
 public:
  SubMenuItemValue();

  virtual void OnSetValueString(const kv::String& text);
  const kv::String& OnGetValueString() const { return valueString_; }

  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;
  void RefreshCtrlState(int32_t state) override;
  void Refresh() override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;
  void ReInit() override;
  // Reads the option into the row as the page loads its settings: the bound
  // property's value, the choice it stands for and that choice's caption.
  virtual void ReadOption(OptionDatabase::OptionDataClass* record);

  Views::Text& ValueText() { return valueText_; }
  Views::Image& LeftArrow() { return leftArrow_; }
  Views::Image& RightArrow() { return rightArrow_; }
  // Shows or hides both arrows.
  void ShowArrows(bool on);

  int32_t Index = 0;
  int32_t Value = 0;
  kv::Slot OnResetTimeout;

 protected:
  // Shows the caption of the record's choice (its index).
  void ShowChoice(OptionDatabase::OptionDataClass* record);

  // The value text and the arrows hidden while an entry form is shown.
  bool valueHidden_ = false;

 private:
  Views::Text valueText_;
  Views::Image leftArrow_;
  Views::Image rightArrow_;
  kv::String valueString_;
};

class SubMenuItemValueSelect : public SubMenuItemValue {
  KV_CLASS(MenuSystem, SubMenuItemValueSelect, SubMenuItemValue)
 public:
  SubMenuItemValueSelect() = default;

  kv::Object* HandleEvent(Core::Event* event) override;
  // Steps the choice (wrapping), writes it through and marks the option
  // changed, then fires OnValueChanged. Nothing with fewer than 2 choices.
  virtual void ToggleOption(bool increase);
  // Shows choice `index` (its value and caption) without writing it.
  void ShowIndex(int32_t index);

  uint16_t ToggleIncreaseKey = keys::KEY_RIGHT;
  uint16_t ToggleDecreaseKey = keys::KEY_LEFT;
  kv::Slot OnValueChanged;

 protected:
  // Sets the record's index, converts it, copies the value, writes it
  // through when `write`, and takes the caption of the courier.
  void ApplyIndex(OptionDatabase::OptionDataClass* record, bool write);
  // The record's index and value, and Value, for the choice Index.
  virtual void ValueOfIndex(OptionDatabase::OptionDataClass* record);
};

// A colour swatch before the caption.
class RGBFilterOptionItem : public SubMenuItemValueSelect {
  KV_CLASS(MenuSystem, RGBFilterOptionItem, SubMenuItemValueSelect)
 public:
  RGBFilterOptionItem();
  void OnSetBaseColor(kv::Color color);
  kv::Color OnGetBaseColor() const { return baseColor_; }
  void Refresh() override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

 private:
  Views::Rectangle swatch_;
  kv::Color baseColor_;
};

// The choice index counts minutes; left/right move to the previous or next
// multiple of IndexStep, OK or a digit enter a time.
class TimerSetItem : public SubMenuItemValueSelect {
  KV_CLASS(MenuSystem, TimerSetItem, SubMenuItemValueSelect)
 public:
  TimerSetItem();

  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;
  void ToggleOption(bool increase) override;
  void OnSetIsTimeEdit(bool on);
  bool OnGetIsTimeEdit() const { return IsTimeEdit; }
  // A step below 1 counts as 1.
  void OnSetIndexStep(int32_t step) { IndexStep = step < 1 ? 1 : step; }
  void Refresh() override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

  void DoTimeChanged(kv::Object* sender);
  void DoCancelChange(kv::Object* sender);
  void DoResetTimeout(kv::Object* sender);

  SkinBin::EnterTime& TimeForm() { return time_; }

  bool ApplyValue = true;
  bool IsTimeEdit = false;
  int32_t MinIndex = 0;
  int32_t IndexStep = 10;
  kv::Slot OnIsEditChanged;

 private:
  SkinBin::EnterTime time_;
};

// Digits enter a channel number ("major-minor"); a channel that does not
// exist leaves the old value. The option's property keeps the channel's
// number (UniteChannelNum) while its choices are the rows of the channel
// table its initialiser loads: the row converts both ways.
class ChannelSetItem : public SubMenuItemValueSelect {
  KV_CLASS(MenuSystem, ChannelSetItem, SubMenuItemValueSelect)
 public:
  ChannelSetItem();

  void ReadOption(OptionDatabase::OptionDataClass* record) override;

  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;
  void OnSetIsChannelEdit(bool on);
  bool OnGetIsChannelEdit() const { return IsChannelEdit; }
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;
  void ReInit() override;

  void DoChannelNumChanged(kv::Object* sender);
  void DoResetTimeout(kv::Object* sender);

  ::Button::TextEdit& ChannelEdit() { return edit_; }

  bool IsChannelEdit = false;
  kv::Slot OnChannelEditChanged;

 protected:
  void ValueOfIndex(OptionDatabase::OptionDataClass* record) override;

 private:
  // Index and the record's index from the channel number in Value: its row
  // of the channel table, -1 when the table does not hold it.
  void IndexOfValue(OptionDatabase::OptionDataClass* record);

  ::Button::TextEdit edit_;
};

// The timer's input: the option offers the set's inputs by index while the
// timer keeps the input's source id; the row converts both ways.
class TimerSourceItem : public SubMenuItemValueSelect {
  KV_CLASS(MenuSystem, TimerSourceItem, SubMenuItemValueSelect)
 public:
  TimerSourceItem() = default;
  void ReadOption(OptionDatabase::OptionDataClass* record) override;

 protected:
  void ValueOfIndex(OptionDatabase::OptionDataClass* record) override;
};

// A number between Min and Max.
class SubMenuItemAdjust : public SubMenuItem {
  KV_CLASS(MenuSystem, SubMenuItemAdjust, SubMenuItem)
 public:
  SubMenuItemAdjust();

  virtual void OnSetMax(int32_t max) { Max = max; }
  virtual void OnSetMin(int32_t min) { Min = min; }
  // Value := Max above Max, else the larger of v and Min; shows it.
  virtual void OnSetValue(int32_t v);
  virtual void OnSetStep(int32_t step) { Step = step; }

  kv::Object* HandleEvent(Core::Event* event) override;
  void RefreshCtrlState(int32_t state) override;
  void Refresh() override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;
  void ReInit() override;

  Views::Text& ValueText() { return valueText_; }
  const kv::String& OnGetValueString() const { return valueString_; }

  int32_t Max = 100;
  int32_t Min = 0;
  int32_t Value = 0;
  int32_t Step = 0;
  kv::Slot OnResetTimeout;

 protected:
  void ShowValueString(const kv::String& text);
  // The initial text of the value (a slider row has its own).
  virtual const kv::MultiTextId& InitialValueText() const;

 private:
  Views::Text valueText_;
  kv::String valueString_;
};

class AdjustItemArrow : public SubMenuItemAdjust {
  KV_CLASS(MenuSystem, AdjustItemArrow, SubMenuItemAdjust)
 public:
  AdjustItemArrow();
  void OnSetValue(int32_t v) override;
  void HandleFocus(bool focused) override;
  void Refresh() override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;
  // While focused: the left arrow unless at Min, the right one unless at Max.
  virtual void RefreshArrow();

  Views::Image& LeftArrow() { return leftArrow_; }
  Views::Image& RightArrow() { return rightArrow_; }

 private:
  Views::Image leftArrow_;
  Views::Image rightArrow_;
};

class AdjustItemArrowSelect : public AdjustItemArrow {
  KV_CLASS(MenuSystem, AdjustItemArrowSelect, AdjustItemArrow)
 public:
  AdjustItemArrowSelect() = default;
  kv::Object* HandleEvent(Core::Event* event) override;
  kv::Slot OnValueChanged;

 protected:
  // The record (when there is one) takes Value as its index and writes it.
  void WriteValue();
};

// A row whose value Left and Right step and digits type: a digit starts
// entry in a number form that stands where the value was (three digits at
// most). Entry ends with the form's last digit or OK (a changed number is
// taken and written), with the form's cancel, or when the row loses the
// focus; each start and end is reported through EditChanged. The subclass
// owns the form and hands it over with AttachNumberForm.
class NumberEntryItem : public AdjustItemArrowSelect {
  KV_CLASS(MenuSystem, NumberEntryItem, AdjustItemArrowSelect)
 public:
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;
  void ReInit() override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;
  void OnSetIsNumberEdit(bool on);
  bool OnGetIsNumberEdit() const { return IsNumberEdit; }

  void DoNumberChanged(kv::Object* sender);
  void DoCancelChange(kv::Object* sender);
  void DoResetTimeout(kv::Object* sender);

  virtual SkinBin::NumberInput& NumberForm() = 0;

  bool IsNumberEdit = false;

 protected:
  // Places the form, hidden until a digit, and connects its reports; called
  // by the subclass's constructor once its form exists.
  void AttachNumberForm(kv::Rect bounds);
  // Entry started or ended.
  virtual void EditChanged() = 0;
};

// Digits enter a number (three digits at most).
class VolumeSetItem : public NumberEntryItem {
  KV_CLASS(MenuSystem, VolumeSetItem, NumberEntryItem)
 public:
  VolumeSetItem();
  SkinBin::NumberInput& NumberForm() override { return number_; }

  kv::Slot OnIsEditChanged;

 protected:
  void EditChanged() override { kv::Signal(OnIsEditChanged, this); }

 private:
  SkinBin::NumberInput number_;
};

// A number and a slider bar (from a middle point or from the left end).
class AdjustItemSlider : public SubMenuItemAdjust {
  KV_CLASS(MenuSystem, AdjustItemSlider, SubMenuItemAdjust)
 public:
  AdjustItemSlider();

  void OnSetMax(int32_t max) override;
  void OnSetMin(int32_t min) override;
  void OnSetValue(int32_t v) override;
  void OnSetStep(int32_t step) override;
  void OnSetSliderMiddlePoint(bool on);
  bool OnGetSliderMiddlePoint() const { return SliderMiddlePoint; }
  void OnSetSliderVisible(bool on);
  bool OnGetSliderVisible() const { return SliderVisible; }
  void OnSetIsDisabled(bool disabled) override;

  void Refresh() override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

  SkinBin::Progress& Slider() { return slider_; }

  bool SliderMiddlePoint = true;
  bool SliderVisible = true;

 protected:
  const kv::MultiTextId& InitialValueText() const override;

 private:
  void RefreshSlot(kv::Object* sender);
  SkinBin::Progress slider_;
};

// Left/right move the slider in place; each change is written at once.
class AdjustItemSliderSelect : public AdjustItemSlider {
  KV_CLASS(MenuSystem, AdjustItemSliderSelect, AdjustItemSlider)
 public:
  AdjustItemSliderSelect();
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;
  void DoValueChanged(kv::Object* sender);
  // True while the slider holds the row's keys (focused and enabled).
  bool SliderHasFocus() const { return sliderFocused_; }

  kv::Slot OnValueChanged;

 private:
  bool sliderFocused_ = false;
};

class RGBFilterSliderItem : public AdjustItemSlider {
  KV_CLASS(MenuSystem, RGBFilterSliderItem, AdjustItemSlider)
 public:
  RGBFilterSliderItem() = default;
};

// A colour swatch and its hue, saturation and brightness in three columns;
// right opens the colour's adjustment.
class BaseColorAdjustItem : public SubMenuItem {
  KV_CLASS(MenuSystem, BaseColorAdjustItem, SubMenuItem)
 public:
  BaseColorAdjustItem();

  void OnSetHueValue(int32_t v);
  void OnSetSaturationValue(int32_t v);
  void OnSetBrightValue(int32_t v);
  void OnSetBaseColor(kv::Color color);
  kv::Color OnGetBaseColor() const { return baseColor_; }
  const kv::String& ValueTextOf(int32_t column) const { return values_[column].OnGetString(); }

  void HandleFocus(bool focused) override;
  void Refresh() override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

  int32_t HueValue = 0;
  int32_t SaturationValue = 0;
  int32_t BrightValue = 0;

 private:
  void ShowNumber(int32_t column, int32_t v);
  Views::Rectangle swatch_;
  Views::Rectangle bars_[4];
  Views::Image arrow_;
  Views::Text values_[3];
  kv::Color baseColor_;
};

}  // namespace MenuSystem
