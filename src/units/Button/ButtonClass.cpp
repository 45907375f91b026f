#include "units/Button/ButtonClass.h"

#include <algorithm>
#include <optional>

#include "ge/fill.h"
#include "units/Colors/Colors.h"
#include "units/Core/Group.h"
#include "units/Core/Log.h"
#include "units/Core/SeenTexts.h"
#include "units/Cursor/FocusFrame.h"
#include "units/Resources/Font.h"
#include "units/Views/Align.h"

namespace Button {

KV_REGISTER_CLASS(ButtonClass);

ButtonClass::ButtonClass() {
  textColors_.fill(Colors::StandardTextColor);
  textColors_[kStateDisabled] = Colors::DisableTextColor;
  text_.OnSetAlignV(Views::ALIGN_CENTER);
  text_.OnSetColor(textColors_[kStateNonfocused]);
  icon_.OnSetAlignH(Views::ALIGN_CENTER);
  icon_.OnSetAlignV(Views::ALIGN_CENTER);
}

void ButtonClass::OnSetText(const kv::String& text) {
  if (text == text_.OnGetString()) return;
  text_.OnSetString(text);
  InvalidateView();
}

void ButtonClass::OnSetIcon(Resources::Bitmap* bitmap) {
  if (bitmap == icon_.OnGetBitmap()) return;
  icon_.OnSetBitmap(bitmap);
  Refresh();
}

void ButtonClass::OnSetTextFont(Resources::Font* font) {
  for (auto& f : fonts_) f = font;
  Reapply(ctrlState_);
}

void ButtonClass::OnSetTextColor(kv::Color color) {
  textColors_.fill(color);
  Reapply(ctrlState_);
}

void ButtonClass::OnSetTextAlignH(int32_t align) {
  align = Views::CheckAlign(align, Views::ALIGN_RIGHT, "Button::ButtonClass TextAlignH");
  textAlignH_ = align;
  text_.OnSetAlignH(align);
  Refresh();
}

void ButtonClass::OnSetTextAlpha(int32_t alpha) {
  if (alpha < 0 || alpha > 255) {
    Core::LogError("Button::ButtonClass: text alpha %i outside 0..255", {alpha});
    alpha = std::clamp(alpha, 0, 255);
  }
  textAlpha_ = alpha;
  InvalidateView();
}

void ButtonClass::SetBackgroundColor(int32_t state, kv::Color c) {
  bgColors_[static_cast<size_t>(state)] = c;
  Reapply(state);
}

void ButtonClass::SetTextColor(int32_t state, kv::Color c) {
  textColors_[static_cast<size_t>(state)] = c;
  Reapply(state);
}

void ButtonClass::SetTextFont(int32_t state, Resources::Font* f) {
  fonts_[static_cast<size_t>(state)] = f;
  Reapply(state);
}

void ButtonClass::SetBackgroundBitmap(int32_t state, Resources::Bitmap* b) {
  bitmaps_[static_cast<size_t>(state)] = b;
  // The non-focused bitmap also stands in for states without their own.
  Reapply(state == kStateNonfocused ? ctrlState_ : state);
}

void ButtonClass::Reapply(int32_t state) {
  if (state == ctrlState_) RefreshCtrlState(ctrlState_);
}

void ButtonClass::OnSetFocusFrame(Cursor::FocusFrame* frame) {
  focusFrame_ = frame;
  if (frame && IsFocused()) frame->MoveTo(this);
}

Cursor::FocusFrame* ButtonClass::OnGetFocusFrame() { return focusFrame_.get(); }

void ButtonClass::OnSetIsDisabled(bool disabled) {
  isDisabled_ = disabled;
  PostRefreshCtrlState();
}

int32_t ButtonClass::GetCtrlState() {
  if (IsFocused()) return kStateFocused;
  if (isDisabled_) return kStateDisabled;
  return kStateNonfocused;
}

void ButtonClass::RefreshCtrlState(int32_t state) {
  if (state < 0 || state >= kStateCount) {
    Core::LogError("Button::ButtonClass: control state %i outside 0..3", {state});
    return;
  }
  ctrlState_ = state;
  const auto s = static_cast<size_t>(state);
  text_.OnSetColor(textColors_[s]);
  text_.OnSetFont(fonts_[s].get());
  Resources::Bitmap* bg = bitmaps_[s] ? bitmaps_[s].get() : bitmaps_[kStateNonfocused].get();
  background_.OnSetBitmap(bg);
  InvalidateView();
}

kv::Rect ButtonClass::GetTextRect() {
  const kv::Rect b = Bounds();
  const int32_t iconW = icon_.OnGetBitmap() ? icon_.Bounds().W() : 0;
  return {iconW, 0, std::max(iconW, b.W()), b.H()};
}

kv::Rect ButtonClass::GetTextClip() { return {0, 0, Bounds().W(), Bounds().H()}; }

void ButtonClass::Refresh() {
  const kv::Rect b = Bounds();
  background_.OnSetBounds({0, 0, b.W(), b.H()});
  if (Resources::Bitmap* icon = icon_.OnGetBitmap()) {
    const int32_t w = std::min(icon->GetFrameSize().x, b.W());
    icon_.OnSetBounds({0, 0, w, b.H()});
  } else {
    icon_.OnSetBounds({});
  }
  text_.OnSetBounds(GetTextRect());
  RefreshCtrlState(GetCtrlState());
}

void ButtonClass::HandleFocus(bool focused) {
  RefreshCtrlState(GetCtrlState());
  if (focused && focusFrame_) focusFrame_->MoveTo(this);
  KeyRoutingCtrl::HandleFocus(focused);
}

void ButtonClass::OnSetBounds(kv::Rect bounds) {
  const bool resized = bounds.Size() != Bounds().Size();
  KeyRoutingCtrl::OnSetBounds(bounds);
  if (resized) Refresh();
}

void ButtonClass::DrawPart(Core::View& part, const ge::Surface& target, const kv::Rect& clip, kv::Point origin,
                           int32_t opacity) {
  if (!part.IsVisible()) return;
  const kv::Rect at = part.Bounds().Move(origin);
  const kv::Rect c = clip.Intersect(at);
  if (c.IsEmpty()) return;
#ifdef KV_VERIFY
  // A part that is not a text (the face, an icon, the image of a row's
  // number) is watched like a view of its own: a caption running into it
  // shows.
  std::optional<Core::BoxWatch> watch;
  if (!kv::Cast<Views::Text>(&part)) watch.emplace(&part, c, target);
#endif
  part.Draw(target, c, at.Origin(), opacity);
}

void ButtonClass::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  DrawBackground(target, clip, origin, opacity);
  DrawContent(target, clip, origin, opacity);
}

void ButtonClass::DrawBackground(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  const kv::Color bg = bgColors_[static_cast<size_t>(ctrlState_)];
  if (bg.a != 0) {
    const uint32_t a = ge::Mul8(bg.a, static_cast<uint32_t>(std::clamp(opacity, 0, 255)));
    const uint32_t word = (bg.ToWord() & 0x00FFFFFFu) | (a << 24);
    ge::GenBlendRect(target, Core::ToGeRect(clip), Core::ToGeRect(Bounds().MoveTo(origin)), word);
  }
  DrawPart(background_, target, clip, origin, opacity);
}

void ButtonClass::DrawContent(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  DrawPart(icon_, target, clip, origin, opacity);
  const kv::Rect textClip = clip.Intersect(GetTextClip().Move(origin));
  if (!textClip.IsEmpty()) DrawPart(text_, target, textClip, origin, Views::CombineOpacity(opacity, textAlpha_));
}

void ButtonClass::PostRefreshCtrlState() {
  kv::PostSignal(kv::MakeSlot(this, &ButtonClass::RefreshCtrlStateSlot));
}

void ButtonClass::RefreshCtrlStateSlot(kv::Object* /*sender*/) { RefreshCtrlState(GetCtrlState()); }

int32_t StateShown(ButtonClass& button, int32_t state, bool takesKeys) {
  if (state != kStateFocused || takesKeys) return state;
  return button.OnGetIsDisabled() ? kStateDisabled : kStateNonfocused;
}

bool OwnersFocused(const Core::View& view, int32_t levels) {
  for (const Core::View* group = view.Owner(); group && levels > 0; group = group->Owner(), --levels)
    if (group->Owner() && !group->IsFocused()) return false;
  return true;
}

}  // namespace Button
