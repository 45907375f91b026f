#include "units/Button/CheckBox.h"

#include <algorithm>

#include "units/Bitmaps/Bitmaps.h"
#include "units/Core/Event.h"
#include "units/Views/Align.h"

namespace Button {

KV_REGISTER_CLASS(CheckBox);

namespace {
// Opacity (0..255) of the check image while the box is disabled.
constexpr int32_t kDisabledImageAlpha = 80;
}  // namespace

CheckBox::CheckBox() {
  checked_ = Resources::LoadResource(Bitmaps::CheckBoxCheck);
  unchecked_ = Resources::LoadResource(Bitmaps::CheckBox);
  check_.OnSetAlignH(Views::ALIGN_LEFT);
  check_.OnSetAlignV(Views::ALIGN_CENTER);
  ShowState();
}

void CheckBox::OnSetIsChecked(bool checked) {
  isChecked_ = checked;
  ShowState();
}

void CheckBox::OnSetCheckedBitmap(Resources::Bitmap* bitmap) {
  checked_ = bitmap;
  ShowState();
  Refresh();
}

void CheckBox::OnSetUncheckedBitmap(Resources::Bitmap* bitmap) {
  unchecked_ = bitmap;
  ShowState();
  Refresh();
}

void CheckBox::ShowState() {
  check_.OnSetBitmap(isChecked_ ? checked_.get() : unchecked_.get());
  InvalidateView();
}

kv::Object* CheckBox::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && key->Code == ActivateKey) {
    if (OnGetIsDisabled()) return this;
    OnSetIsChecked(!isChecked_);
    kv::Signal(OnActivate, this);
    return this;
  }
  return Button::HandleEvent(event);
}

void CheckBox::Refresh() {
  Button::Refresh();
  const kv::Rect b = Bounds();
  int32_t w = 0;
  for (Resources::Bitmap* bm : {checked_.get(), unchecked_.get()})
    if (bm) w = std::max(w, bm->GetFrameSize().x);
  const int32_t inset = std::min(kImageInset, b.W());
  w = std::min(w, b.W() - inset);
  check_.OnSetBounds({inset, 0, inset + w, b.H()});
  const kv::Rect t = GetTextRect();
  const int32_t x1 = std::min(t.x2, std::max(t.x1, inset + w + kCaptionGap));
  TextView().OnSetBounds({x1, t.y1, t.x2, t.y2});
}

void CheckBox::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  Button::Draw(target, clip, origin, opacity);
  // A disabled box shows its image faded, as its caption takes the disabled
  // text colour: it reads as a box nobody can tick.
  const int32_t image = OnGetCtrlState() == kStateDisabled ? opacity * kDisabledImageAlpha / 255 : opacity;
  DrawPart(check_, target, clip, origin, image);
}

}  // namespace Button
