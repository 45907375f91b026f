// Button::ButtonClass: the base of every button, menu item and list row.
//
// A button is drawn from three parts it holds: a background (the colour of
// its control state, then the state's background bitmap stretched over the
// bounds), an icon at the left edge, vertically centred, and its caption
// text in the rest, aligned by TextAlignH and centred vertically. Derived
// buttons lay the parts out differently in Refresh and may draw parts of
// their own (DrawPart).
//
// Control states: 0 disabled, 1 default, 2 not focused, 3 focused (the
// numbers rows colour and frame by). A focused button is in state 3 even
// when it is disabled; a disabled one is in state 0 otherwise; others are in
// state 2 (derived buttons may answer 1, see GetCtrlState). Each state has its own background colour, background
// bitmap, text colour and text font; RefreshCtrlState applies them. A state
// without a background bitmap of its own uses the non-focused one.
//
// IsDisabled changes the look only: the button keeps its keys and its focus
// (Forms::Ctrl's Enabled is what keeps the focus away).
#pragma once

#include <array>
#include <cstdint>

#include "runtime/geometry.h"
#include "runtime/member.h"
#include "runtime/string.h"
#include "units/Primitives/KeyRoutingCtrl.h"
#include "units/Resources/Bitmap.h"
#include "units/Resources/Font.h"
#include "units/Views/Image.h"
#include "units/Views/Text.h"

namespace Cursor {
class FocusFrame;
}

namespace Button {

// Control states.
inline constexpr int32_t kStateDisabled = 0;
inline constexpr int32_t kStateDefault = 1;
inline constexpr int32_t kStateNonfocused = 2;
inline constexpr int32_t kStateFocused = 3;
inline constexpr int32_t kStateCount = 4;

class ButtonClass : public Primitives::KeyRoutingCtrl {
  KV_CLASS(Button, ButtonClass, Primitives::KeyRoutingCtrl)
 public:
  ButtonClass();

  // Caption; the empty string is allowed.
  virtual void OnSetText(const kv::String& text);
  const kv::String& OnGetText() const { return TextView().OnGetString(); }
  // The icon at the left edge (null: none).
  virtual void OnSetIcon(Resources::Bitmap* bitmap);
  Resources::Bitmap* OnGetIcon() { return icon_.OnGetBitmap(); }

  // The text font and colour of every state at once.
  void OnSetTextFont(Resources::Font* font);
  Resources::Font* OnGetTextFont() { return fonts_[kStateNonfocused].get(); }
  void OnSetTextColor(kv::Color color);
  kv::Color OnGetTextColor() { return textColors_[kStateNonfocused]; }
  // A caption wider than the button ends in "..." (for texts made of data).
  void OnSetTextEllipsis(bool on) { text_.OnSetEllipsis(on); }
  // 0 left, 1 centred, 2 right; others are logged and count as 0.
  void OnSetTextAlignH(int32_t align);
  int32_t OnGetTextAlignH() { return textAlignH_; }
  // Opacity of the caption, 0..255 (others are logged and clamped).
  void OnSetTextAlpha(int32_t alpha);
  int32_t OnGetTextAlpha() { return textAlpha_; }

  // Per-state looks.
  void OnSetDefault_BackgroundColor(kv::Color c) { SetBackgroundColor(kStateDefault, c); }
  kv::Color OnGetDefault_BackgroundColor() { return bgColors_[kStateDefault]; }
  void OnSetDisabled_BackgroundColor(kv::Color c) { SetBackgroundColor(kStateDisabled, c); }
  kv::Color OnGetDisabled_BackgroundColor() { return bgColors_[kStateDisabled]; }
  void OnSetNonfocused_BackgroundColor(kv::Color c) { SetBackgroundColor(kStateNonfocused, c); }
  kv::Color OnGetNonfocused_BackgroundColor() { return bgColors_[kStateNonfocused]; }
  void OnSetFocused_BackgroundColor(kv::Color c) { SetBackgroundColor(kStateFocused, c); }
  kv::Color OnGetFocused_BackgroundColor() { return bgColors_[kStateFocused]; }
  void OnSetDefault_TextColor(kv::Color c) { SetTextColor(kStateDefault, c); }
  kv::Color OnGetDefault_TextColor() { return textColors_[kStateDefault]; }
  void OnSetDisabled_TextColor(kv::Color c) { SetTextColor(kStateDisabled, c); }
  kv::Color OnGetDisabled_TextColor() { return textColors_[kStateDisabled]; }
  void OnSetNonfocused_TextColor(kv::Color c) { SetTextColor(kStateNonfocused, c); }
  kv::Color OnGetNonfocused_TextColor() { return textColors_[kStateNonfocused]; }
  void OnSetFocused_TextColor(kv::Color c) { SetTextColor(kStateFocused, c); }
  kv::Color OnGetFocused_TextColor() { return textColors_[kStateFocused]; }
  void OnSetDefault_TextFont(Resources::Font* f) { SetTextFont(kStateDefault, f); }
  Resources::Font* OnGetDefault_TextFont() { return fonts_[kStateDefault].get(); }
  void OnSetDisabled_TextFont(Resources::Font* f) { SetTextFont(kStateDisabled, f); }
  Resources::Font* OnGetDisabled_TextFont() { return fonts_[kStateDisabled].get(); }
  void OnSetNonfocused_TextFont(Resources::Font* f) { SetTextFont(kStateNonfocused, f); }
  Resources::Font* OnGetNonfocused_TextFont() { return fonts_[kStateNonfocused].get(); }
  void OnSetFocused_TextFont(Resources::Font* f) { SetTextFont(kStateFocused, f); }
  Resources::Font* OnGetFocused_TextFont() { return fonts_[kStateFocused].get(); }
  void OnSetDefault_BackgroundBitmap(Resources::Bitmap* b) { SetBackgroundBitmap(kStateDefault, b); }
  Resources::Bitmap* OnGetDefault_BackgroundBitmap() { return bitmaps_[kStateDefault].get(); }
  void OnSetDisabled_BackgroundBitmap(Resources::Bitmap* b) { SetBackgroundBitmap(kStateDisabled, b); }
  Resources::Bitmap* OnGetDisabled_BackgroundBitmap() { return bitmaps_[kStateDisabled].get(); }
  void OnSetNonfocused_BackgroundBitmap(Resources::Bitmap* b) { SetBackgroundBitmap(kStateNonfocused, b); }
  Resources::Bitmap* OnGetNonfocused_BackgroundBitmap() { return bitmaps_[kStateNonfocused].get(); }
  void OnSetFocused_BackgroundBitmap(Resources::Bitmap* b) { SetBackgroundBitmap(kStateFocused, b); }
  Resources::Bitmap* OnGetFocused_BackgroundBitmap() { return bitmaps_[kStateFocused].get(); }

  // The focus frame this button moves onto itself when it gains the focus
  // (shared by the buttons of a group), or null.
  void OnSetFocusFrame(Cursor::FocusFrame* frame);
  Cursor::FocusFrame* OnGetFocusFrame();

  // Stores the flag and posts a refresh of the control state.
  virtual void OnSetIsDisabled(bool disabled);
  bool OnGetIsDisabled() { return isDisabled_; }

  // The control state the button is in now (see above).
  virtual int32_t GetCtrlState();
  // The state last applied by RefreshCtrlState.
  int32_t OnGetCtrlState() { return ctrlState_; }

  // Applies the look of a control state (0 to 3; others are logged and ignored).
  virtual void RefreshCtrlState(int32_t state);
  // Lays the parts out in the bounds and applies the current control state.
  virtual void Refresh();

  // Applies the focused or unfocused look, moves the focus frame here when
  // focused, then signals OnFocus or OnUnfocus.
  void HandleFocus(bool focused) override;
  void OnSetBounds(kv::Rect bounds) override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

 protected:
  Views::Text& TextView() { return text_; }
  const Views::Text& TextView() const { return text_; }
  Views::Image& IconView() { return icon_; }
  Views::Image& BackgroundView() { return background_; }
  // The rectangle left to the caption: the bounds, less the icon's width.
  kv::Rect GetTextRect();
  // The part of the button (relative to it) outside which no caption is
  // drawn; the base answers the whole button.
  virtual kv::Rect GetTextClip();
  // Draws a part held by the button (bounds relative to the button), clipped
  // to the part and to `clip`; hidden parts draw nothing.
  static void DrawPart(Core::View& part, const ge::Surface& target, const kv::Rect& clip, kv::Point origin,
                       int32_t opacity);
  // Draw in two steps, for a button that puts a part of its own between
  // them: the state's colour and background bitmap, then the icon and the
  // caption.
  void DrawBackground(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity);
  void DrawContent(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity);
  // Posts RefreshCtrlState(GetCtrlState()) to the end of the pass.
  void PostRefreshCtrlState();

 private:
  void SetBackgroundColor(int32_t state, kv::Color c);
  void SetTextColor(int32_t state, kv::Color c);
  void SetTextFont(int32_t state, Resources::Font* f);
  void SetBackgroundBitmap(int32_t state, Resources::Bitmap* b);
  // Re-applies the state when `state` is the one shown.
  void Reapply(int32_t state);
  void RefreshCtrlStateSlot(kv::Object* sender);

  Views::Image background_;
  Views::Image icon_;
  Views::Text text_;
  std::array<kv::Color, kStateCount> bgColors_{};
  std::array<kv::Color, kStateCount> textColors_{};
  std::array<kv::Member<Resources::Font>, kStateCount> fonts_;
  std::array<kv::Member<Resources::Bitmap>, kStateCount> bitmaps_;
  kv::Member<Cursor::FocusFrame> focusFrame_;
  int32_t textAlignH_ = 0;
  int32_t textAlpha_ = 255;
  int32_t ctrlState_ = kStateNonfocused;
  bool isDisabled_ = false;
};

// The state a button shows for `state`: the focused look only while the
// control that holds it takes the keys, else the unfocused (or disabled) one,
// so that one control at a time looks focused.
int32_t StateShown(ButtonClass& button, int32_t state, bool takesKeys);
// Whether the `levels` groups nearest above `view` (the form or list that
// holds it, then the screen that holds that, ...) each are their owner's
// focus; a group without an owner stands alone and counts as focused. A
// row's StateShown asks it with 1 (its list or form) or 2 (also its screen).
bool OwnersFocused(const Core::View& view, int32_t levels);

}  // namespace Button
