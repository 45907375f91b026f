#include "units/SkinBin/SkinButtons.h"

#include <algorithm>

#include "ge/fill.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Resources/Bitmap.h"
#include "units/Views/Align.h"

namespace SkinBin {

KV_REGISTER_CLASS(SkinBin::Button);
KV_REGISTER_CLASS(SkinBin::ColorButton);
KV_REGISTER_CLASS(SkinBin::CheckBoxWithCaption);
KV_REGISTER_CLASS(SkinBin::MenuEffect);
KV_REGISTER_CLASS(SkinBin::FocusFrame);
KV_REGISTER_CLASS(SkinBin::CBFocusFrame);
KV_REGISTER_CLASS(SkinBin::Navigator);

Button::Button() {
  OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::DialogButtonNonfocus));
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::DialogButtonFocus));
  OnSetTextAlignH(1);
}

void Button::Refresh() {
  ::Button::Button::Refresh();
  const int32_t align = OnGetTextAlignH();
  if (align == Views::ALIGN_CENTER) return;
  bool framed = false;
  for (Resources::Bitmap* b : {OnGetDefault_BackgroundBitmap(), OnGetDisabled_BackgroundBitmap(),
                               OnGetNonfocused_BackgroundBitmap(), OnGetFocused_BackgroundBitmap()})
    framed = framed || b != nullptr;
  if (!framed) return;
  const kv::Rect t = TextView().Bounds();
  if (t.W() <= 2 * kCaptionInset) return;
  if (align == Views::ALIGN_LEFT)
    TextView().OnSetBounds({t.x1 + kCaptionInset, t.y1, t.x2, t.y2});
  else
    TextView().OnSetBounds({t.x1, t.y1, t.x2 - kCaptionInset, t.y2});
}

void ColorButton::OnSetColor(uint32_t color) {
  color_ = color;
  InvalidateView();
}

void ColorButton::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  Button::Draw(target, clip, origin, opacity);
  // The swatch: the button less a 4-pixel margin, the colour's own alpha scaled by the opacity.
  const kv::Rect b = Bounds().MoveTo(origin);
  const uint32_t a = ge::Mul8(color_ >> 24, static_cast<uint32_t>(std::clamp(opacity, 0, 255)));
  ge::GenBlendRect(target, Core::ToGeRect(clip), {b.x1 + 4, b.y1 + 4, b.x2 - 4, b.y2 - 4},
                   (color_ & 0x00FFFFFFu) | (a << 24));
}

MenuEffect::MenuEffect() {
  OnSetNoOfFrames(6);
  OnSetFactor(2);
}

FocusFrame::FocusFrame() {
  OnSetBitmap(Resources::LoadResource(Bitmaps::ChBrowserFocusFrame));
  OnSetFrameWidth(8);
}

CBFocusFrame::CBFocusFrame() {
  OnSetBitmap(Resources::LoadResource(Bitmaps::ChBrowserFocusFrame));
  OnSetFrameWidth(8);
  OnSetMargin(3);
}

Navigator::Navigator() {
  OnSetArrowBitmap(kUp, Resources::LoadResource(Bitmaps::OptionButtonUpArrow));
  OnSetArrowBitmap(kDown, Resources::LoadResource(Bitmaps::OptionButtonDownArrow));
  OnSetArrowBitmap(kLeft, Resources::LoadResource(Bitmaps::ToggleButtonLeftArrow));
  OnSetArrowBitmap(kRight, Resources::LoadResource(Bitmaps::ToggleButtonRightArrow));
  OnSetSpacing(2);
}

}  // namespace SkinBin
