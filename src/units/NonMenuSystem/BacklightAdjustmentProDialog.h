// NonMenuSystem::BacklightAdjustmentProDialog (0x200000F): the backlight
// against ambient light curve. Eleven vertical sliders, one per tenth of
// the ambient-light range, give the backlight level for that light.
//
// Result view: the curve (blue) and the light meter, the sensor read every
// 1500 ms. OK switches to the adjusting view: sliders, Cancel and Reset, the
// curve in grey, polling off, the focus on the slider of the light measured
// now. Every slider step is written at once, one curve point at a time, and
// the other sliders follow so that the curve never falls from left to right.
// Cancel restores the levels that stood when adjusting began; Reset asks the
// set for its defaults. OK again saves the levels as the new cancel point.
//
// The sensor reading is clamped to 0..1023, and the curve's points are
// scaled into the curve view.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "units/Core/Timer.h"
#include "units/Curves/SmoothCurve.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/Progress/Progress.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/SkinBin/Sliders.h"
#include "units/Views/Image.h"
#include "units/Views/Rectangle.h"
#include "units/Views/Text.h"

namespace NonMenuSystem {

class BacklightAdjustSlider : public ::Progress::Progress {
  KV_CLASS(NonMenuSystem, BacklightAdjustSlider, ::Progress::Progress)
 public:
  BacklightAdjustSlider();
  void HandleFocus(bool focused) override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

  // The curve point this slider edits.
  int32_t PointIndex = 0;

 private:
  bool focusLine_ = false;
};

class BacklightAdjustmentProDialog : public BorderWidgetClass {
  KV_CLASS(NonMenuSystem, BacklightAdjustmentProDialog, BorderWidgetClass)
 public:
  static constexpr int32_t kLevels = 11;
  static constexpr int32_t kMaxReading = 1023;

  BacklightAdjustmentProDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Refresh() override;

  void OnSetInAdjusting(bool on);
  bool OnGetInAdjusting() const { return InAdjusting; }

  void UpdateCurve(uint32_t colour, bool linear);
  void RefreshAllLevels(int32_t index);
  // Slots.
  void SetBacklightControlLevel(kv::Object* slider);
  void ResetSlot(kv::Object* sender = nullptr);
  void CancelSlot(kv::Object* sender = nullptr);
  void GetLightSensor(kv::Object* sender = nullptr);
  void DoFocus(kv::Object* control);

  BacklightAdjustSlider& Slider(int32_t i) { return sliders_[i]; }
  SkinBin::Button& CancelButton() { return cancel_; }
  SkinBin::Button& ResetButton() { return reset_; }
  Curves::SmoothCurve& Curve() { return curve_; }
  SkinBin::Progress& LightMeter() { return meter_; }
  Views::Text& ValueText() { return value_; }
  Core::Timer& SensorTimer() { return sensor_; }
  uint16_t LightLevel() const { return lightLevel_; }
  int32_t SavedLevel(int32_t i) const { return saved_[i]; }

  bool InAdjusting = false;

 private:
  // Reads the sensor (clamped to 0..1023) into the light level and the meter.
  void ReadSensor();
  void SetLevel(int32_t i, int32_t level);
  void Remember(SkinBin::Button* button);

  Views::Image background_;
  Curves::SmoothCurve curve_;
  Views::Text ambient_;
  SkinBin::Progress meter_;
  Views::Text controlLevel_;
  Views::Text backlightControlLevel_;
  Views::Rectangle valueBox_;
  Views::Text value_;
  Views::Text axisHigh_;
  Views::Text axisLow_;
  BacklightAdjustSlider sliders_[kLevels];
  SkinBin::Button cancel_;
  SkinBin::Button reset_;
  kv::Member<SkinBin::Button> remembered_;
  Core::Timer sensor_;
  int32_t saved_[kLevels] = {};
  uint16_t lightLevel_ = 0;
};

}  // namespace NonMenuSystem
