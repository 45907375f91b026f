// The skin's buttons and cursors.
//
// SkinBin::Button: a Button::Button with an integer value, a target class
// (the state its owner opens on activation), a help mask and help text, and
// the dialog-button bitmaps unless a screen sets others. SkinBin::ColorButton
// shows its Color (32-bit, red in the low byte) as a swatch.
// SkinBin::CheckBoxWithCaption: the skin's check box. SkinBin::MenuEffect:
// the menus' move effect (6 frames, factor 2). SkinBin::FocusFrame,
// SkinBin::CBFocusFrame (the channel browser's tile frame) and
// SkinBin::Navigator: the toolkit's cursors with the skin's look.
#pragma once

#include <cstdint>

#include "runtime/string.h"
#include "units/Button/Button.h"
#include "units/Button/CheckBox.h"
#include "units/Cursor/FocusFrame.h"
#include "units/Cursor/Navigator.h"
#include "units/Effects/RectEffect.h"

namespace SkinBin {

class Button : public ::Button::Button {
  KV_CLASS(SkinBin, Button, ::Button::Button)
 public:
  Button();
  // A caption aligned to one end over a background bitmap (a field, a
  // highlight) stands kCaptionInset in from that end, clear of its edge.
  void Refresh() override;
  static constexpr int32_t kCaptionInset = 6;
  int32_t Value = 0;
  const kv::Class* TargetClass = nullptr;
  uint32_t HelpMask = 0;
  kv::String HelpString;
};

class ColorButton : public Button {
  KV_CLASS(SkinBin, ColorButton, Button)
 public:
  ColorButton() = default;
  void OnSetColor(uint32_t color);
  uint32_t OnGetColor() const { return color_; }
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

 private:
  uint32_t color_ = 0xFF000000u;
};

class CheckBoxWithCaption : public ::Button::CheckBox {
  KV_CLASS(SkinBin, CheckBoxWithCaption, ::Button::CheckBox)
 public:
  CheckBoxWithCaption() = default;
  int32_t Value = 0;
  uint32_t HelpMask = 0;
  kv::String HelpString;
};

class MenuEffect : public Effects::RectEffect {
  KV_CLASS(SkinBin, MenuEffect, Effects::RectEffect)
 public:
  MenuEffect();
};

class FocusFrame : public Cursor::FocusFrame {
  KV_CLASS(SkinBin, FocusFrame, Cursor::FocusFrame)
 public:
  FocusFrame();
};

class CBFocusFrame : public Cursor::FocusFrame {
  KV_CLASS(SkinBin, CBFocusFrame, Cursor::FocusFrame)
 public:
  CBFocusFrame();
};

class Navigator : public Cursor::Navigator {
  KV_CLASS(SkinBin, Navigator, Cursor::Navigator)
 public:
  Navigator();
};

}  // namespace SkinBin
