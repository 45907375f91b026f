// The base-colour overlays of the picture and screen-saver menus.
//
// NonMenuSystem::BaseColorAdjustmentBar (0x200000E): one of the six base
//   colours (red, green, blue, yellow, magenta, cyan) in three columns, hue,
//   saturation and brightness. Up and Down step the focused column and write
//   it at once; Left and Right move between the columns in a ring. It is
//   opened with the colour's hue option id (a SkinBin::UserRefInt) and the
//   columns edit that id, id + 1 and id + 2.
// NonMenuSystem::BaseColorAdjustItem: one column: the value between an up
//   and a down arrow that show while the column has the focus.
// NonMenuSystem::ColorPad: 35 swatches in 5 rows of 7 for the screen-saver
//   background. A pick is stored in the persistent data as an 11-character
//   text (row digit, column digit, then red, green and blue as three digits
//   each) and announced with MSG_OPTION_CHANGE.
#pragma once

#include <cstdint>

#include "runtime/geometry.h"
#include "runtime/slot.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/Views/Border.h"
#include "units/Views/Image.h"
#include "units/Views/Rectangle.h"
#include "units/Views/Text.h"

namespace NonMenuSystem {

class BaseColorAdjustItem : public SkinBin::Button {
  KV_CLASS(NonMenuSystem, BaseColorAdjustItem, SkinBin::Button)
 public:
  BaseColorAdjustItem();

  // Binds the column to an option: range, step and value from its record.
  void OnSetOptionType(int32_t id);
  int32_t OnGetOptionType() const { return OptionType; }
  // Clamps to [Min, Max] and shows the value ("+" before a positive one).
  void OnSetValue(int32_t v);
  int32_t OnGetValue() const { return Value; }
  void OnSetMax(int32_t v) { Max = v; }
  int32_t OnGetMax() const { return Max; }
  void OnSetMin(int32_t v) { Min = v; }
  int32_t OnGetMin() const { return Min; }
  void OnSetStep(int32_t v) { Step = v; }
  int32_t OnGetStep() const { return Step; }
  // Writes Value through the record's property and marks the option changed.
  void ChangeValue();

  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;
  void Refresh() override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

  const kv::String& Text() const { return OnGetText(); }
  bool ArrowsShown() { return up_.OnGetVisible(); }

  int32_t OptionType = 0;
  int32_t Max = 100;
  int32_t Min = 0;
  int32_t Value = 0;
  int32_t Step = 1;
  kv::Slot OnResetTimeout;

 private:
  Views::Image up_;
  Views::Image down_;
};

class BaseColorAdjustmentBar : public BorderWidgetClass {
  KV_CLASS(NonMenuSystem, BaseColorAdjustmentBar, BorderWidgetClass)
 public:
  BaseColorAdjustmentBar();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;

  void OnSetOptionType(int32_t id);
  int32_t OnGetOptionType() const { return OptionType; }

  BaseColorAdjustItem& Item(int32_t i) { return items_[i]; }
  Views::Text& Name() { return name_; }
  Views::Rectangle& Swatch() { return swatch_; }

  int32_t OptionType = 0;

 private:
  void ResetTimeoutSlot(kv::Object* sender);

  Views::Text name_;
  Views::Rectangle swatch_;
  Views::Border swatchBorder_;
  Views::Text headings_[3];
  BaseColorAdjustItem items_[3];
};

class ColorPad : public KXDWidgetClass {
  KV_CLASS(NonMenuSystem, ColorPad, KXDWidgetClass)
 public:
  static constexpr int32_t kRows = 5;
  static constexpr int32_t kColumns = 7;

  ColorPad();

  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;

  // The activate slot of every swatch: store, announce and leave.
  void SelectSlot(kv::Object* button);
  // x = row (0 to 4), y = column (0 to 6).
  kv::Point OnGetCurrentButton() const { return CurrentButton; }
  void OnSetCurrentButton(kv::Point p);

  SkinBin::ColorButton& Button(int32_t row, int32_t column) { return buttons_[row * kColumns + column]; }

  kv::Point CurrentButton{0, 0};

 private:
  SkinBin::ColorButton buttons_[kRows * kColumns];
};

}  // namespace NonMenuSystem
