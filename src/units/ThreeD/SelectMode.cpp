#include "units/ThreeD/SelectMode.h"

#include "keys/keycodes.h"
#include "runtime/slot.h"
#include "strings/ThreeD.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Resources/Bitmap.h"
#include "units/SkinBin/Setup3D.h"
#include "units/SkinBin/Wrapper.h"
#include "units/ThreeD/Start3DWizard.h"
#include "units/ThreeD/ThreeDBitmaps.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(ThreeD::IconButton);
KV_REGISTER_CLASS(ThreeD::SelectMode);
KV_REGISTER_CLASS(ThreeD::SelectMode_Flag);
KV_REGISTER_CLASS(ThreeD::SelectMode_Button);
KV_REGISTER_CLASS(ThreeD::SelectFormat);
KV_REGISTER_CLASS(ThreeD::Select2DFormat);

namespace ThreeD {

using namespace keys;

using namespace SkinBin;

namespace {
// A button is wider than its picture so that its caption stands whole under
// it in every menu language ("Top & Bottom" is 123 px in the medium font); the
// narrowest gap between two buttons' positions is 132 px.
constexpr int32_t kButtonW = 130;
constexpr int32_t kButtonH = 104;
constexpr int32_t kPictureW = 100;
constexpr int32_t kPictureH = 80;
constexpr int32_t kDialogW = 450;
constexpr int32_t kDialogH = 200;
constexpr int32_t kButtonY = 72;
constexpr int32_t kHelpMask = 0x80004;
constexpr int32_t kFormatTimeOut = 8000;

enum Tag { kTag3D, kTag2D, kTag2Dto3D, kTagSBS, kTagTAB, kTagNative };

kv::String Text(const kv::MultiTextId& id) { return kv::GetVariantOfString(id); }
}  // namespace

// --- IconButton ----------------------------------------------------------------------

IconButton::IconButton() {
  OnSetTextFont(Resources::LoadResource(Fonts::MediumFont));
  OnSetTextColor(Colors::StandardTextColor);
  OnSetFocused_TextColor(Colors::White);
  OnSetDisabled_TextColor(Colors::DisableTextColor);
  OnSetTextAlignH(1);
  TextView().OnSetEllipsis(true);
  OnSetBounds({0, 0, kButtonW, kButtonH});
}

void IconButton::SetPictures(const Resources::BitmapId& normal, const Resources::BitmapId& focused) {
  normal_ = Resources::LoadResource(normal);
  focused_ = Resources::LoadResource(focused);
  ShowPicture();
}

void IconButton::SetDisabledPictures(const Resources::BitmapId& normal, const Resources::BitmapId& focused) {
  disabled_ = Resources::LoadResource(normal);
  disabledFocused_ = Resources::LoadResource(focused);
  ShowPicture();
}

void IconButton::OnSetIsDisabled(bool disabled) {
  ::Button::IconButton::OnSetIsDisabled(disabled);
  ShowPicture();
}

void IconButton::HandleFocus(bool focused) {
  ::Button::IconButton::HandleFocus(focused);
  ShowPicture();
}

void IconButton::ShowPicture() {
  const bool off = OnGetIsDisabled() && disabled_;
  Resources::Bitmap* b = IsFocused() ? (off ? disabledFocused_.get() : focused_.get())
                                     : (off ? disabled_.get() : normal_.get());
  picture_.OnSetBitmap(b);
  InvalidateView();
}

void IconButton::Refresh() {
  ::Button::IconButton::Refresh();
  const kv::Rect b = Bounds();
  const int32_t x = (b.W() - kPictureW) / 2;
  picture_.OnSetBounds({x, 0, x + kPictureW, kPictureH});
  // The caption takes the button's width, which clips it; a text too wide
  // for it ends in "...".
  TextView().OnSetBounds({0, kPictureH, b.W(), b.H()});
}

void IconButton::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  DrawPart(picture_, target, clip, origin, opacity);
  DrawPart(TextView(), target, clip, origin, opacity);
}

// --- SelectMode ------------------------------------------------------------------------

SelectMode::SelectMode() {
  WinID = WinIDs::WIN_ID_3D_Dialog;
  KeyRoutingForm::OnSetBounds({0, 0, kDialogW, kDialogH});
  OnSetCaption(Text(SID_3D_MODE_SELECT));
  message_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  message_.OnSetColor(Colors::StandardTextColor);
  message_.OnSetAlignH(1);
  message_.OnSetAlignV(1);
  message_.OnSetEllipsis(true);
  Add(&message_);
  OnExit = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::ClearAllSlot);
}

SkinBin::Setup3D* SelectMode::State3D() {
  SkinBin::Wrapper* skin = NonMenuSystem::Live::Skin();
  return skin ? &skin->Setup3D : nullptr;
}

IconButton* SelectMode::AddButton(int32_t x, const Resources::BitmapId& normal, const Resources::BitmapId& focused,
                                  const kv::String& caption, int32_t tag) {
  auto* b = kv::New<IconButton>();
  b->SetPictures(normal, focused);
  b->OnSetText(caption);
  b->Tag = tag;
  b->OnSetBounds({x, kButtonY, x + kButtonW, kButtonY + kButtonH});
  buttons_.push_back(b);
  Add(b);
  return b;
}

void SelectMode::SetMessage(const kv::String& text) { message_.OnSetString(text); }

void SelectMode::Initialize(Primitives::KeyRoutingParameter* param) {
  BorderWidgetClass::Initialize(param);
  // The choice depends on what the input carries now (the format dialog
  // keeps the state the wizard has chosen).
  Setup3D* s = State3D();
  if (s && refreshOnOpen_) s->RefreshState();
  if (!buttons_.empty()) FocusButton(0);
  MarkComesOverAll(this);
  if (NonMenuSystem::NonMenuSystem* owner = OnGetNonMenuSystem())
    owner->UpdateHelp(kHelpMask, kv::ConcatString(kv::ConcatString(Text(SID_OK), kv::LoadString(HELP_SEPARATOR)),
                                                  Text(SID_EXIT)));
}

void SelectMode::Refresh() {
  BorderWidgetClass::Refresh();
  message_.OnSetBounds({18, 36, Bounds().W() - 18, 64});
}

IconButton* SelectMode::FocusedButton() const { return kv::Cast<IconButton>(OnGetFocus()); }

void SelectMode::FocusButton(int32_t i) {
  if (i >= 0 && i < ButtonCount()) OnSetFocus(GetButton(i));
}

kv::Object* SelectMode::HandleBack(Core::Event*) { return this; }

kv::Object* SelectMode::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return BorderWidgetClass::HandleEvent(event);
  kv::Object* answer = this;
  switch (key->Code) {
    case KEY_OK:
      break;
    case KEY_EXIT:
    case KEY_EXIT_ALT:
      kv::Signal(OnExit, this);
      break;
    case KEY_LEFT:
    case KEY_RIGHT: {
      const int32_t n = ButtonCount();
      if (n == 0) break;
      int32_t i = 0;
      for (int32_t k = 0; k < n; ++k)
        if (GetButton(k) == FocusedButton()) i = k;
      FocusButton(key->Code == KEY_RIGHT ? (i + 1) % n : (i + n - 1) % n);
      break;
    }
    case KEY_BACK:
      answer = HandleBack(event);
      break;
    default:
      return BorderWidgetClass::HandleEvent(event);
  }
  ResetTimeout();
  return answer;
}

void SelectMode::EnterWizard() { EnterState(&Start3DWizard::StaticClass()); }

void SelectMode::EnterState(const kv::Class* cls) {
  NextState = cls;
  WidgetClass::EnterNextState();
}

// --- SelectMode_Flag -------------------------------------------------------------------

SelectMode_Flag::SelectMode_Flag() {
  SetMessage(kv::ConcatString(kv::ConcatString(Text(SID_3D_SIGNAL_DETECTED), KV_STR(u" ")),
                              Text(SID_SELECT_DESIRED_SETTING_MSG)));
  const kv::Slot activate = kv::MakeSlot(this, &SelectMode_Flag::SelectModeSlot);
  AddButton(110, Bitmaps::Mode3D_3D, Bitmaps::Mode3D_3D_Focus, Text(SID_3D), kTag3D)->OnActivate = activate;
  AddButton(242, Bitmaps::Mode3D_2D, Bitmaps::Mode3D_2D_Focus, Text(SID_2D), kTag2D)->OnActivate = activate;
}

void SelectMode_Flag::SelectModeSlot(kv::Object* sender) {
  auto* button = kv::Cast<IconButton>(sender);
  Setup3D* s = State3D();
  if (!button || !s) return;
  ClearAll();
  if (button->Tag == kTag3D) {
    s->State = Setup3D_State_3D;
    EnterWizard();
    return;
  }
  const int32_t old = s->State;
  s->SwitchTo2DState(true);
  if (Setup3D::Is3DDisplay(old)) EnterState(KV_LATE_CLASS("ThreeD::DisplayMode"));
}

// --- SelectMode_Button -----------------------------------------------------------------

SelectMode_Button::SelectMode_Button() {
  SetMessage(Text(SID_SELECT_DESIRED_SETTING_MSG));
  const kv::Slot activate = kv::MakeSlot(this, &SelectMode_Button::SelectModeSlot);
  AddButton(110, Bitmaps::Mode3D_2Dto3D, Bitmaps::Mode3D_2Dto3D_Focus, Text(SID_2D_TO_3D), kTag2Dto3D)->OnActivate =
      activate;
  AddButton(242, Bitmaps::Mode3D_3D, Bitmaps::Mode3D_3D_Focus, Text(SID_3D), kTag3D)->OnActivate = activate;
}

void SelectMode_Button::Initialize(Primitives::KeyRoutingParameter* param) {
  SelectMode::Initialize(param);
  SkinBin::Wrapper* skin = NonMenuSystem::Live::Skin();
  FocusButton(skin && skin->ThreeDKeyChoice == 1 ? 1 : 0);
}

kv::Object* SelectMode_Button::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && key->Code == KEY_3D) {
    kv::Signal(OnExit, this);
    ResetTimeout();
    return this;
  }
  return SelectMode::HandleEvent(event);
}

void SelectMode_Button::SelectModeSlot(kv::Object* sender) {
  auto* button = kv::Cast<IconButton>(sender);
  Setup3D* s = State3D();
  SkinBin::Wrapper* skin = NonMenuSystem::Live::Skin();
  if (!button || !s || !skin) return;
  ClearAll();
  if (button->Tag == kTag3D) {
    skin->ThreeDKeyChoice = 1;
    s->State = Setup3D_State_3D;
  } else {
    s->State = Setup3D_State_2Dto3D;
    s->Mode = OAM_3D_MODE_2D;
    skin->ThreeDKeyChoice = 0;
  }
  EnterWizard();
}

// --- SelectFormat ----------------------------------------------------------------------

SelectFormat::SelectFormat() {
  refreshOnOpen_ = false;
  OnSetCaption(Text(SID_3D_FORMAT_SELECT));
  OnSetTimeOutValue(kFormatTimeOut);
  OnTimeOut = kv::MakeSlot(this, &SelectFormat::ExitSlot);
  OnExit = kv::MakeSlot(this, &SelectFormat::ExitSlot);
  const kv::Slot exit = kv::MakeSlot(this, &SelectFormat::ExitSlot);
  AddButton(105, Bitmaps::Format3D_SBS, Bitmaps::Format3D_SBS_Focus, Text(SID_SIDE_BY_SIDE), kTagSBS)->OnActivate =
      exit;
  AddButton(242, Bitmaps::Format3D_TAB, Bitmaps::Format3D_TAB_Focus, Text(SID_TOP_AND_BOTTOM), kTagTAB)->OnActivate =
      exit;
}

void SelectFormat::Initialize(Primitives::KeyRoutingParameter* param) {
  SelectMode::Initialize(param);
  // Opened from the quick menu the dialog does not lead on into the wizard.
  NextState = OpenedFromQuickMenu() ? nullptr : &Start3DWizard::StaticClass();
  Setup3D* s = State3D();
  SkinBin::Wrapper* skin = NonMenuSystem::Live::Skin();
  const bool tab = s && (s->Mode == OAM_3D_MODE_OU ||
                         (s->Mode != OAM_3D_MODE_SBS && skin && skin->ThreeDFormatChoice == 1));
  FocusButton(tab ? 1 : 0);
  // Moving the focus from now on applies the format; so does the first focus.
  const kv::Slot select = kv::MakeSlot(this, &SelectFormat::SelectFormatSlot);
  for (int32_t i = 0; i < ButtonCount(); ++i) GetButton(i)->OnFocus = select;
  SelectFormatSlot(FocusedButton());
}

void SelectFormat::SelectFormatSlot(kv::Object* sender) {
  auto* button = kv::Cast<IconButton>(sender);
  Setup3D* s = State3D();
  SkinBin::Wrapper* skin = NonMenuSystem::Live::Skin();
  if (!button || !s || !skin) return;
  const bool tab = button->Tag == kTagTAB;
  skin->ThreeDFormatChoice = tab ? 1 : 0;
  const int32_t mode = tab ? OAM_3D_MODE_OU : OAM_3D_MODE_SBS;
  if (mode == s->Mode) return;
  s->Mode = mode;
  kv::IdleSignal(kv::MakeSlot(s, &Setup3D::ApplyState));
}

void SelectFormat::ExitSlot(kv::Object*) {
  ClearAll();
  if (NextState) WidgetClass::EnterNextState();
}

kv::Object* SelectFormat::HandleBack(Core::Event*) {
  if (OpenedFromQuickMenu()) {
    Close();
    OpenState(KV_LATE_CLASS("QuickMenu::QuickMenu"), nullptr);
  }
  return this;
}

// --- Select2DFormat --------------------------------------------------------------------

Select2DFormat::Select2DFormat() {
  OnSetCaption(Text(SID_2D_FORMAT_SELECT));
  OnSetTimeOutValue(kFormatTimeOut);
  KeyRoutingForm::OnSetBounds({0, 0, kDialogW + 60, kDialogH});
  const kv::Slot clear = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::ClearAllSlot);
  AddButton(60, Bitmaps::Format3D_Native, Bitmaps::Format3D_Native_Focus, Text(SID_NATIVE), kTagNative)->OnActivate =
      clear;
  IconButton* sbs = AddButton(205, Bitmaps::Format2D_SBS, Bitmaps::Format2D_SBS_Focus, Text(SID_SIDE_BY_SIDE), kTagSBS);
  sbs->SetDisabledPictures(Bitmaps::Format2D_SBS_Disabled, Bitmaps::Format2D_SBS_Disabled_Focus);
  sbs->OnActivate = clear;
  IconButton* tab =
      AddButton(350, Bitmaps::Format2D_TAB, Bitmaps::Format2D_TAB_Focus, Text(SID_TOP_AND_BOTTOM), kTagTAB);
  tab->SetDisabledPictures(Bitmaps::Format2D_TAB_Disabled, Bitmaps::Format2D_TAB_Disabled_Focus);
  tab->OnActivate = clear;
}

void Select2DFormat::Initialize(Primitives::KeyRoutingParameter* param) {
  SelectMode::Initialize(param);
  Setup3D* s = State3D();
  if (!s) return;
  GetButton(1)->OnSetIsDisabled(s->Format == OAM_3D_MODE_OU);
  GetButton(2)->OnSetIsDisabled(s->Format == OAM_3D_MODE_SBS);
  FocusButton(s->Mode == OAM_3D_MODE_SBS ? 1 : s->Mode == OAM_3D_MODE_OU ? 2 : 0);
  const kv::Slot select = kv::MakeSlot(this, &Select2DFormat::SelectFormatSlot);
  for (int32_t i = 0; i < ButtonCount(); ++i) GetButton(i)->OnFocus = select;
}

void Select2DFormat::SelectFormatSlot(kv::Object* sender) {
  auto* button = kv::Cast<IconButton>(sender);
  Setup3D* s = State3D();
  if (!button || !s || button->OnGetIsDisabled()) return;
  const int32_t mode =
      button->Tag == kTagSBS ? OAM_3D_MODE_SBS : button->Tag == kTagTAB ? OAM_3D_MODE_OU : OAM_3D_MODE_2D;
  if (mode == s->Mode) return;
  s->Mode = mode;
  kv::IdleSignal(kv::MakeSlot(s, &Setup3D::ApplyState));
}

kv::Object* Select2DFormat::HandleBack(Core::Event* event) { return BorderWidgetClass::HandleEvent(event); }

}  // namespace ThreeD
