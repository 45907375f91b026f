// The factory screens: their base and the mode indicator, value display,
// message boxes and light-sensor readout. The adjustment menu and the
// status check have their own files.
//
// FactorySystem::WidgetClass: a key-routing form of the factory sub-system
// with a background rectangle (ColorsMenuBgColor) and a frame over the whole
// screen, a 10000 ms time-out (that does nothing unless a screen gives it a
// slot), layer 0x1000 and the place where the sub-system puts it
// (WidgetOrigin). Screens that take keys (TakesKeys) give the running-TV
// application's focus back to live TV when they close.
#pragma once

#include <cstdint>

#include "runtime/geometry.h"
#include "runtime/member.h"
#include "runtime/string.h"
#include "units/Core/Timer.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/Views/Frame.h"
#include "units/Views/MultilineText.h"
#include "units/Views/Rectangle.h"
#include "units/Views/Text.h"

namespace FactorySystem {

class FactorySystem;

inline constexpr uint32_t kFactoryLayer = 0x1000;
inline constexpr uint32_t kFactoryTopLayer = 0x2000;
inline constexpr uint32_t kTouchKeyLayer = 0x4000;

class WidgetClass : public Primitives::KeyRoutingForm {
  KV_CLASS(FactorySystem, WidgetClass, Primitives::KeyRoutingForm)
 public:
  WidgetClass();

  // The key-routing form's Initialize; the screen lays itself out once it
  // is placed and opened.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  // A change of size posts a Refresh.
  void OnSetBounds(kv::Rect bounds) override;
  void Close() override;

  ::FactorySystem::FactorySystem* OnGetFactorySystem() const { return factorySystem_.get(); }
  void OnSetFactorySystem(::FactorySystem::FactorySystem* s);
  void RefreshSlot(kv::Object* = nullptr) { Refresh(); }
  void DismissSlot(kv::Object* = nullptr) { Close(); }

  kv::Point WidgetOrigin{100, 100};
  // The screen takes keys: opening it focuses the factory sub-system.
  bool TakesKeys = false;

 protected:
  Views::Rectangle background_;
  Views::Frame frame_;

 private:
  kv::Member<::FactorySystem::FactorySystem> factorySystem_;
};

// The corner mark of factory ("F") or service ("S") mode, 32 x 32.
class ModeIndicator : public WidgetClass {
  KV_CLASS(FactorySystem, ModeIndicator, WidgetClass)
 public:
  ModeIndicator();
  void Refresh() override;
  void OnSetCaption(const kv::String& text);
  const kv::String& OnGetCaption() const { return Caption; }
  kv::String Caption;

 private:
  Views::Text caption_;
};

// A name and an 8-bit value, shown in hexadecimal and as bits (175 x 87).
class ValueDisplay : public WidgetClass {
  KV_CLASS(FactorySystem, ValueDisplay, WidgetClass)
 public:
  ValueDisplay();
  void OnSetFacName(const kv::String& text);
  const kv::String& OnGetFacName() const { return FacName; }
  // Only the low byte is shown.
  void OnSetFacValue(int32_t v);
  int32_t OnGetFacValue() const { return FacValue; }
  // 0 to 9 the digit, 10 to 15 the letter, any other value the default text.
  static kv::String Dec2Hex(int32_t n);
  // The texts shown, for tests and the status report.
  const kv::String& HexText() const { return hex_.OnGetString(); }
  const kv::String& BitText() const { return bits_.OnGetString(); }

  kv::String FacName;
  int32_t FacValue = 52;

 protected:
  Views::Text name_;
  Views::Text headerHex_;
  Views::Text headerBin_;
  Views::Text hex_;
  Views::Text bits_;
};

// A message box of 250 x 60 at the bottom left; the state parameter (a
// SkinBin::UserRefInt) gives the text and the parameter word: time-out
// seconds, text and background colours from the colour table, and the touch
// -key type, which raises the box to its own layer over the other screens.
class SmallMessage : public WidgetClass {
  KV_CLASS(FactorySystem, SmallMessage, WidgetClass)
 public:
  SmallMessage();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  const kv::String& Text() const { return text_.OnGetString(); }
  kv::Color TextColor() { return text_.OnGetColor(); }
  kv::Color BackgroundColor() { return background_.OnGetColor(); }
  static kv::Color ColorOf(int32_t index);

 protected:
  Views::MultilineText text_;
  kv::Rect textArea_{15, 0, 250, 60};
};

// The same, 470 x 230 in the middle, its text centred.
class LargeMessage : public SmallMessage {
  KV_CLASS(FactorySystem, LargeMessage, SmallMessage)
 public:
  LargeMessage();
};

// The ambient-light sensor's reading, refreshed every 1.5 s on the screen
// and on the service serial port, which stays open while the screen is.
class DetectLightSensor : public SmallMessage {
  KV_CLASS(FactorySystem, DetectLightSensor, SmallMessage)
 public:
  DetectLightSensor();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Close() override;
  void GetLightSensor(kv::Object* sender = nullptr);
  void OnSetLightSensor(int32_t v);

  uint16_t LightSensor = 0;

 private:
  Core::Timer timer_;
};

}  // namespace FactorySystem
