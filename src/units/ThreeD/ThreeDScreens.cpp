#include "units/ThreeD/ThreeDScreens.h"

#include "keys/keycodes.h"
#include "runtime/slot.h"
#include "strings/ThreeD.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/Setup3D.h"
#include "units/SkinBin/Wrapper.h"
#include "units/ThreeD/Start3DWizard.h"
#include "units/ThreeD/ThreeDBitmaps.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(ThreeD::StartMessage);
KV_REGISTER_CLASS(ThreeD::DisplayMode);
KV_REGISTER_CLASS(ThreeD::ImportantInfoDialog);

namespace ThreeD {

using namespace keys;

using namespace SkinBin;

namespace {
constexpr int32_t kStartMessageTimeOut = 20000;
constexpr int32_t kHelpExit = 512;
constexpr int32_t kHelpText = 0x40020;
constexpr int32_t kHelpOption = 0x40244;

kv::String Text(const kv::MultiTextId& id) { return kv::GetVariantOfString(id); }
kv::String Join(std::initializer_list<const kv::MultiTextId*> ids) {
  kv::String out;
  for (const kv::MultiTextId* id : ids)
    out = out.Empty() ? Text(*id) : kv::ConcatString(kv::ConcatString(out, kv::LoadString(HELP_SEPARATOR)), Text(*id));
  return out;
}
}  // namespace

// --- StartMessage ----------------------------------------------------------------------

StartMessage::StartMessage() {
  WinID = WinIDs::WIN_ID_3D_Dialog;
  NextState = &Start3DWizard::StaticClass();
  KeyRoutingForm::OnSetBounds({0, 0, 900, 190});
  WidgetOrigin = {30, 300};
  background_.OnSetColor(Colors::DirectMessageBg);
  OnSetTimeOutValue(kStartMessageTimeOut);
  OnTimeOut = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::EnterNextStateSlot);
  icon_.OnSetBitmap(Resources::LoadResource(Bitmaps::Mode3D_3D));
  text_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  text_.OnSetColor(Colors::StandardTextColor);
  text_.OnSetString(Text(SID_3D_WARNING));
  Add(&icon_);
  Add(&text_);
}

void StartMessage::Initialize(Primitives::KeyRoutingParameter* param) {
  WidgetClass::Initialize(param);
  NextState = &Start3DWizard::StaticClass();
  MarkComesOverAll(this);
  if (NonMenuSystem::NonMenuSystem* owner = OnGetNonMenuSystem()) owner->UpdateHelp(kHelpExit, Text(SID_EXIT));
}


void StartMessage::Refresh() {
  WidgetClass::Refresh();
  const kv::Rect b = Bounds();
  icon_.OnSetBounds({30, (b.H() - 80) / 2, 130, (b.H() + 80) / 2});
  text_.OnSetBounds({160, 20, b.W() - 30, b.H() - 20});
}

kv::Object* StartMessage::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return WidgetClass::HandleEvent(event);
  if (key->Code == KEY_OK || key->Code == KEY_EXIT || key->Code == KEY_EXIT_ALT) Post(&WidgetClass::EnterNextStateSlot);
  ResetTimeout();
  return this;
}

// --- DisplayMode -----------------------------------------------------------------------

DisplayMode::DisplayMode() {
  WinID = WinIDs::WIN_ID_3D_Dialog;
  KeyRoutingForm::OnSetBounds({0, 0, 76, 76});
  WidgetOrigin = {30, 430};
  background_.OnSetVisible(false);
  icon_.OnSetBitmap(Resources::LoadResource(Bitmaps::Mode3D_3D));
  Add(&icon_);
}

void DisplayMode::Initialize(Primitives::KeyRoutingParameter* param) {
  WidgetClass::Initialize(param);
  OnSetTimeOutValue(NonMenuSystem::kWidgetTimeOut);
  SkinBin::Wrapper* skin = NonMenuSystem::Live::Skin();
  const int32_t state = skin ? skin->Setup3D.State : Setup3D_State_None;
  switch (state) {
    case Setup3D_State_2D:
    case Setup3D_State_3Dto2D:
      icon_.OnSetBitmap(Resources::LoadResource(Bitmaps::Mode3D_2D));
      break;
    case Setup3D_State_2Dto3D:
      icon_.OnSetBitmap(Resources::LoadResource(Bitmaps::Mode3D_2Dto3D));
      break;
    default:
      icon_.OnSetBitmap(Resources::LoadResource(Bitmaps::Mode3D_3D));
      break;
  }
}

void DisplayMode::Refresh() {
  WidgetClass::Refresh();
  icon_.OnSetBounds({0, 0, Bounds().W(), Bounds().H()});
}

kv::Object* DisplayMode::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && key->Code == KEY_OK) {
    Post(&WidgetClass::ClearAllSlot);
    return this;
  }
  if (key && key->Down && key->Code == KEY_EXIT_ALT) return this;
  return WidgetClass::HandleEvent(event);
}

// --- ImportantInfoDialog ---------------------------------------------------------------

ImportantInfoDialog::ImportantInfoDialog() {
  WinID = WinIDs::WIN_ID_3D_Dialog;
  KeyRoutingForm::OnSetBounds({0, 0, 600, 330});
  OnSetCaption(Text(SID_3D_INFORMATION));
  background_.OnSetColor(Colors::StandardBgColor);
  OnSetTimeOutValue(0);
  OnTimeOut = kv::Slot();
  auto* text = kv::New<SkinBin::TextForm>();
  text->OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  text->OnSetColor(Colors::StandardTextColor);
  textForm_ = text;
  Add(text);
  auto* option = kv::New<SkinBin::OptionButton>();
  option_ = option;
  Add(option);
  optionLabel_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  optionLabel_.OnSetColor(Colors::StandardTextColor);
  optionLabel_.OnSetAlignV(1);
  optionLabel_.OnSetString(Text(SID_DO_NOT_DISPLAY_AGAIN));
  Add(&optionLabel_);
}

bool ImportantInfoDialog::OpenedFromMenu() const {
  return PrevState && PrevState == kv::FindClass("ThreeD::ThreeDMenu");
}

void ImportantInfoDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  BorderWidgetClass::Initialize(param);
  SkinBin::Wrapper* skin = NonMenuSystem::Live::Skin();
  const bool kc300 = skin && skin->OnGetSeriesType() == 2;
  textForm_->OnSetString(Text(kc300 ? SID_3D_INFORMATION_MSG_KC300 : SID_3D_INFORMATION_MSG));
  option_->OnSetOptionType(OPTION_TYPE_3D_IMPORTANT_INFO);
  OnSetFocus(textForm_.get());
  MarkComesOverAll(this);
  UpdateHelp();
}

void ImportantInfoDialog::Refresh() {
  BorderWidgetClass::Refresh();
  const kv::Rect b = Bounds();
  textForm_->OnSetBounds({20, 40, b.W() - 20, b.H() - 60});
  optionLabel_.OnSetBounds({20, b.H() - 50, 250, b.H() - 23});
  option_->OnSetBounds({260, b.H() - 50, b.W() - 20, b.H() - 23});
}

void ImportantInfoDialog::UpdateHelp() {
  NonMenuSystem::NonMenuSystem* owner = OnGetNonMenuSystem();
  if (!owner) return;
  if (OnGetFocus() == option_.get())
    owner->UpdateHelp(kHelpOption, Join({&SID_SELECT, &SID_PAGE, &SID_ENTER, &SID_BACK}));
  else
    owner->UpdateHelp(kHelpText, Join({&SID_PAGE, &SID_BACK}));
}

kv::Object* ImportantInfoDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return BorderWidgetClass::HandleEvent(event);
  SkinBin::Wrapper* skin = NonMenuSystem::Live::Skin();
  switch (key->Code) {
    case KEY_OK:
      if (OnGetFocus() != option_.get()) return this;
      if (OpenedByWizard()) {
        NextState = &Start3DWizard::StaticClass();
        Post(&WidgetClass::EnterNextStateSlot);
      } else if (OpenedFromMenu()) {
        Post(&WidgetClass::EnterPrevStateSlot);
      }
      return this;
    case KEY_EXIT:
    case KEY_EXIT_ALT:
      if (OpenedByWizard() && skin) skin->Setup3D.SwitchTo2DState(true);
      Post(&WidgetClass::ClearAllSlot);
      return this;
    case KEY_UP:
    case KEY_DOWN:
      if (key->Code == KEY_DOWN ? !SelectNext() : !SelectPrev()) key->Code == KEY_DOWN ? SelectFirst() : SelectLast();
      UpdateHelp();
      return this;
    case KEY_BACK:
      if (OpenedFromMenu()) {
        Post(&WidgetClass::EnterPrevStateSlot);
      } else {
        if (skin) skin->Setup3D.State = Setup3D_State_2D;
        Post(&WidgetClass::ClearAllSlot);
      }
      return this;
    default:
      return OpenedFromMenu() ? BorderWidgetClass::HandleEvent(event) : this;
  }
}

}  // namespace ThreeD
