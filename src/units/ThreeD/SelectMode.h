// The 3D selection dialogs (window WIN_ID_3D_Dialog): a caption, a message
// and two or three picture buttons; left and right move between the buttons
// with wrap-around, Exit signals OnExit, OK activates the focused button.
//
// ThreeD::SelectMode_Flag     a 3D signal arrived: 3D or 2D.
// ThreeD::SelectMode_Button   the 3D key while the picture is 2D: 2D-to-3D or 3D.
// ThreeD::SelectFormat        side by side or top and bottom; moving the focus
//                             applies the format; OK, Exit and the 8 s
//                             time-out hand back to the 3D wizard (not when
//                             opened from the quick menu: Back returns there).
// ThreeD::Select2DFormat      how a 3D input is shown in 2D: native, side by
//                             side or top and bottom (the format the input
//                             does not carry is disabled).
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "units/Button/Button.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/Resources/Resources.h"
#include "units/Views/Image.h"

namespace SkinBin {
class Setup3D;
}

namespace ThreeD {

// A picture button: the picture above, the caption below it (medium font).
class IconButton : public ::Button::IconButton {
  KV_CLASS(ThreeD, IconButton, ::Button::IconButton)
 public:
  IconButton();

  void SetPictures(const Resources::BitmapId& normal, const Resources::BitmapId& focused);
  void SetDisabledPictures(const Resources::BitmapId& normal, const Resources::BitmapId& focused);
  void OnSetIsDisabled(bool disabled) override;
  void HandleFocus(bool focused) override;
  void Refresh() override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

  // The picture shown now (for tests).
  Resources::Bitmap* Picture() { return picture_.OnGetBitmap(); }
  int32_t Tag = 0;

 private:
  void ShowPicture();

  Views::Image picture_;
  kv::Member<Resources::Bitmap> normal_;
  kv::Member<Resources::Bitmap> focused_;
  kv::Member<Resources::Bitmap> disabled_;
  kv::Member<Resources::Bitmap> disabledFocused_;
};

class SelectMode : public NonMenuSystem::BorderWidgetClass {
  KV_CLASS(ThreeD, SelectMode, NonMenuSystem::BorderWidgetClass)
 public:
  SelectMode();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;

  int32_t ButtonCount() const { return static_cast<int32_t>(buttons_.size()); }
  IconButton* GetButton(int32_t i) const { return buttons_[static_cast<size_t>(i)]; }
  IconButton* FocusedButton() const;

  // Signalled by Exit (and by the 3D key in SelectMode_Button).
  kv::Slot OnExit;

 protected:
  // Adds a button at x with its pictures and caption; its activation and
  // focus go to the given slots of this dialog.
  IconButton* AddButton(int32_t x, const Resources::BitmapId& normal, const Resources::BitmapId& focused,
                        const kv::String& caption, int32_t tag);
  void SetMessage(const kv::String& text);
  // Back: what this dialog does with key 41; the base consumes it.
  virtual kv::Object* HandleBack(Core::Event* event);
  // The 3D state machine of the set.
  static SkinBin::Setup3D* State3D();
  // Hands over to the 3D wizard (its next state), or to `cls`.
  void EnterWizard();
  void EnterState(const kv::Class* cls);
  void FocusButton(int32_t i);

  Views::Text message_;
  kv::MemberVector<IconButton> buttons_;
  // Reads the set's 3D state when the dialog opens.
  bool refreshOnOpen_ = true;
};

class SelectMode_Flag : public SelectMode {
  KV_CLASS(ThreeD, SelectMode_Flag, SelectMode)
 public:
  SelectMode_Flag();
  // The activation slot of the buttons.
  void SelectModeSlot(kv::Object* button);
};

class SelectMode_Button : public SelectMode {
  KV_CLASS(ThreeD, SelectMode_Button, SelectMode)
 public:
  SelectMode_Button();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void SelectModeSlot(kv::Object* button);
};

class SelectFormat : public SelectMode {
  KV_CLASS(ThreeD, SelectFormat, SelectMode)
 public:
  SelectFormat();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  // The focus slot of the buttons: applies their format.
  void SelectFormatSlot(kv::Object* button);
  // Closes every screen, then hands back to the wizard (when it has one).
  void ExitSlot(kv::Object* = nullptr);

 protected:
  kv::Object* HandleBack(Core::Event* event) override;
};

class Select2DFormat : public SelectMode {
  KV_CLASS(ThreeD, Select2DFormat, SelectMode)
 public:
  Select2DFormat();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void SelectFormatSlot(kv::Object* button);

 protected:
  kv::Object* HandleBack(Core::Event* event) override;
};

}  // namespace ThreeD
