// The adjustment bars: one-line overlays that edit one numeric option while
// the picture stays visible. The option id comes as the SkinBin::UserRefInt
// parameter; caption, range, step and value come from the option record,
// and every step is written at once through the record's property and marked
// as an option change. Nothing is written or undone on close.
//
// NonMenuSystem::AdjustmentBar (0x2000003): a blue slider; OK, back, Up and
//   Down leave, Up and Down handed back to the page that opened the bar.
// NonMenuSystem::AdjustmentBarTint: the same with two colour swatches at the
//   slider's ends.
// NonMenuSystem::AdjustmentBarKXD: the skin's variant: only OK and back leave,
//   through an appearance-change message to the menu; each change is
//   announced with MSG_OPTION_CHANGE.
// NonMenuSystem::NoSliderAdjustmentBar: the value between two arrows.
//
// A bar whose option has no slider record writes nothing while unbound.
#pragma once

#include <cstdint>

#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/Sliders.h"
#include "units/Views/Image.h"
#include "units/Views/Rectangle.h"
#include "units/Views/Text.h"

namespace NonMenuSystem {

class AdjustmentBar : public BorderWidgetClass {
  KV_CLASS(NonMenuSystem, AdjustmentBar, BorderWidgetClass)
 public:
  AdjustmentBar();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void EnterPrevState() override;
  void Refresh() override;

  void OnSetOptionType(int32_t id);
  int32_t OnGetOptionType() const { return OptionType; }
  // The slider's value-changed slot: show, map, write, mark.
  void DoValueChanged(kv::Object* sender = nullptr);

  SkinBin::Progress& Slider() { return slider_; }
  Views::Text& ValueText() { return value_; }
  // True once a slider record has been bound.
  bool IsBound() const { return bound_; }

  int32_t OptionType = 0;
  bool UpPressed = false;
  bool DownPressed = false;

 protected:
  SkinBin::Progress slider_;
  Views::Text value_;
  bool bound_ = false;
};

class AdjustmentBarTint : public AdjustmentBar {
  KV_CLASS(NonMenuSystem, AdjustmentBarTint, AdjustmentBar)
 public:
  AdjustmentBarTint();
  void Refresh() override;

 private:
  Views::Rectangle left_;
  Views::Rectangle right_;
  Views::Border leftBorder_;
  Views::Border rightBorder_;
};

class AdjustmentBarKXD : public KXDWidgetClass {
  KV_CLASS(NonMenuSystem, AdjustmentBarKXD, KXDWidgetClass)
 public:
  AdjustmentBarKXD();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void EnterPrevState() override;
  void Refresh() override;

  void OnSetOptionType(int32_t id);
  int32_t OnGetOptionType() const { return OptionType; }
  void DoValueChanged(kv::Object* sender = nullptr);

  SkinBin::ProgressKXD& Slider() { return slider_; }
  Views::Text& ValueText() { return value_; }

  int32_t OptionType = 0;

 private:
  SkinBin::ProgressKXD slider_;
  Views::Text value_;
  bool bound_ = false;
};

class NoSliderAdjustmentBar : public BorderWidgetClass {
  KV_CLASS(NonMenuSystem, NoSliderAdjustmentBar, BorderWidgetClass)
 public:
  NoSliderAdjustmentBar();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void EnterPrevState() override;
  void Refresh() override;

  void OnSetOptionType(int32_t id);
  int32_t OnGetOptionType() const { return OptionType; }
  // Clamps to [Min, Max], shows the arrows that lead somewhere, and the text.
  void OnSetValue(int32_t v);
  int32_t OnGetValue() const { return Value; }
  void OnSetValueString(const kv::String& text);
  const kv::String& OnGetValueString() const { return ValueString; }
  void OnSetMax(int32_t v) { Max = v; }
  int32_t OnGetMax() const { return Max; }
  void OnSetMin(int32_t v) { Min = v; }
  int32_t OnGetMin() const { return Min; }
  void OnSetStep(int32_t v) { Step = v; }
  int32_t OnGetStep() const { return Step; }

  Views::Image& LeftArrow() { return left_; }
  Views::Image& RightArrow() { return right_; }
  Views::Text& ValueText() { return value_; }

  int32_t Max = 10;
  int32_t Min = 0;
  int32_t Step = 1;
  int32_t Value = 0;
  kv::String ValueString;
  int32_t OptionType = 0;
  bool UpPressed = false;
  bool DownPressed = false;

 private:
  Views::Text value_;
  Views::Image left_;
  Views::Image right_;
  bool bound_ = false;
};

}  // namespace NonMenuSystem
