// Button::CheckBox: a button with a check image before its caption.
//
// A key-down of the activate key (OK) on a box that is not IsDisabled flips
// IsChecked and then signals OnActivate (sender: the box); on a disabled box
// the key is taken and nothing happens. OnSetIsChecked only stores the state
// and shows the matching image: it does not signal.
#pragma once

#include "units/Button/Button.h"
#include "units/Views/Image.h"

namespace Button {

class CheckBox : public Button {
  KV_CLASS(Button, CheckBox, Button)
 public:
  // Gap between the check image and the caption.
  static constexpr int32_t kCaptionGap = 6;
  // Gap between the box's left edge (the focus bar's) and the check image.
  static constexpr int32_t kImageInset = 6;

  CheckBox();

  void OnSetIsChecked(bool checked);
  bool OnGetIsChecked() { return isChecked_; }
  // The images of the two states (default: Bitmaps::CheckBoxCheck and Bitmaps::CheckBox).
  void OnSetCheckedBitmap(Resources::Bitmap* bitmap);
  Resources::Bitmap* OnGetCheckedBitmap() { return checked_.get(); }
  void OnSetUncheckedBitmap(Resources::Bitmap* bitmap);
  Resources::Bitmap* OnGetUncheckedBitmap() { return unchecked_.get(); }

  kv::Object* HandleEvent(Core::Event* event) override;
  // The check image kImageInset in from the left edge (inside the focus
  // bar, as a button's text is), vertically centred, at its own size; the
  // caption after it.
  void Refresh() override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

 protected:
  Views::Image& CheckView() { return check_; }

 private:
  void ShowState();

  Views::Image check_;
  kv::Member<Resources::Bitmap> checked_;
  kv::Member<Resources::Bitmap> unchecked_;
  bool isChecked_ = false;
};

}  // namespace Button
