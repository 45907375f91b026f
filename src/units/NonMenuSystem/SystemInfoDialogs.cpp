#include "units/NonMenuSystem/SystemInfoDialogs.h"

#include "keys/keycodes.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "strings/NonMenuSystem.h"
#include "strings/Strings.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/SubSystem/State.h"
#include "units/Wrapper/Wrapper.h"

KV_REGISTER_CLASS(NonMenuSystem::SystemInfoDialog);
KV_REGISTER_CLASS(NonMenuSystem::KXDSystemInfoDialog);

namespace NonMenuSystem {

namespace {

using namespace keys;

constexpr uint32_t kSystemInfoHelpMask = 0x40000;
constexpr int32_t kCodeLength = 4;
constexpr int32_t kLineHeight = 30;


kv::String Line(const kv::MultiTextId& caption, const kv::String& value) {
  return kv::ConcatString(kv::ConcatString(kv::GetVariantOfString(caption), kv::GetVariantOfString(SYSINFO_SEPARATOR)), value);
}

}  // namespace

// --- SystemInfoDialog ------------------------------------------------------------------

SystemInfoDialog::SystemInfoDialog() {
  WidgetOrigin = {130, 39};
  PrevState = KV_LATE_CLASS("MenuSystem::SetupMenu");
  OnSetBounds({0, 0, 702, 463});
  OnSetCaption(kv::GetVariantOfString(Strings::SID_SYS_INFO));
  const kv::MultiTextId* texts[kTextLines] = {
      &Strings::SID_SUPPORT_INFORMATION, &Strings::SID_SYSINFO_LINE,       &Strings::SID_SYSINFO_US_URL,
      &Strings::SID_SYSINFO_US_FONE,     &Strings::SID_SYSINFO_CANADA_URL, &Strings::SID_SYSINFO_MEXICO_URL,
      &Strings::SID_SYSINFO_MEXICO_FONE, &Strings::SID_SYSINFO_OTHER_SUPP, &Strings::SID_SYSINFO_INFO_AVAIL};
  for (int32_t i = 0; i < kTextLines; ++i) {
    lines_[i].OnSetString(kv::GetVariantOfString(*texts[i]));
    // The heading and the closing line in the information colour.
    lines_[i].OnSetColor(i == 0 || i == kTextLines - 1 ? Colors::InputLabelStandardTextColor : Colors::StandardTextColor);
  }
  for (Views::Text* t : {&model_, &version_}) t->OnSetColor(Colors::StandardTextColor);
  for (int32_t i = 0; i < kTextLines + 2; ++i) {
    Views::Text* t = i < 2 ? (i == 0 ? &model_ : &version_) : &lines_[i - 2];
    t->OnSetFont(Resources::LoadResource(Fonts::MediumFont));
    t->OnSetAlignV(1);
    t->OnSetEllipsis(true);
    Add(t);
  }
  background_.OnSetColor(Colors::StandardBgColor);
  SystemInfoDialog::Refresh();
}

void SystemInfoDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  BorderWidgetClass::Initialize(param);
  Code = kv::String();
  if (::NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem())
    s->UpdateHelp(static_cast<int32_t>(kSystemInfoHelpMask), kv::GetVariantOfString(Strings::SID_BACK));
  SkinBin::Wrapper* w = Live::Skin();
  SkinBin::ModelInfo* model = w ? w->GetModelInfo() : nullptr;
  model_.OnSetString(Line(Strings::SID_MODEL_NAME, model ? model->Name : kv::String()));
  ::Wrapper::Wrapper* base = Live::Base();
  version_.OnSetString(Line(Strings::SID_SOFTWARE_VER, base ? base->GetFirmwareVersion() : kv::String()));
}

kv::Object* SystemInfoDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return BorderWidgetClass::HandleEvent(event);
  if (key->Code == KEY_OK) {
    Post(PrevState ? &WidgetClass::EnterPrevStateSlot : &WidgetClass::ClearAllSlot);
    return this;
  }
  if (!IsDigitKey(key->Code)) return BorderWidgetClass::HandleEvent(event);
  Code = kv::ConcatString(Code, kv::NewStringInt(key->Code - KEY_0, 0));
  if (Code.Length() >= kCodeLength) {
    const bool match = Code == kv::LoadString(BRONTEL_CODE);
    Code = kv::String();
    if (match) ShowBrontelMenu();
  }
  ResetTimeout();
  return this;
}

void SystemInfoDialog::ShowBrontelMenu() {
  ::NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
  if (!s) return;
  auto* param = kv::New<SkinBin::UserRefInt>();
  param->Value = 0;
  if (OpenedFromQuickMenu())
    param->Code = Constants::MSG_FROM_QUICKMENU;
  else if (MenuTriggered)
    param->Code = Constants::MSG_FROM_MENUSYSTEM;
  auto* state = kv::New<SubSystem::State>();
  state->Class = KV_LATE_CLASS("MenuSystem::BrontelMenu");
  state->PrevState = KvClass();
  state->Param = param;
  Close();
  s->ChangeState(state);
}

void SystemInfoDialog::Refresh() {
  BorderWidgetClass::Refresh();
  const int32_t w = Bounds().W();
  int32_t y = 40;
  model_.OnSetBounds({20, y, w - 20, y + kLineHeight});
  version_.OnSetBounds({20, y + kLineHeight, w - 20, y + 2 * kLineHeight});
  y += 2 * kLineHeight + 20;
  for (Views::Text& t : lines_) {
    t.OnSetBounds({20, y, w - 20, y + kLineHeight});
    y += kLineHeight + 8;
  }
}

// --- KXDSystemInfoDialog ------------------------------------------------------------

KXDSystemInfoDialog::KXDSystemInfoDialog() {
  IsShortcut = true;
  OnSetFrameWidth(0);
  OnSetBounds({0, 0, 620, 420});
  OnSetCaption(kv::GetVariantOfString(Strings::SID_SYS_INFO));
  list_.OnSetBounds({6, 56, 446, 326});
  list_.FocusMove = kv::MakeSlot(static_cast<Primitives::KeyRoutingForm*>(this), &KeyRoutingForm::ResetTimeout);
  ok_.OnSetBounds({446, 296, 536, 326});
  ok_.OnSetText(kv::GetVariantOfString(Strings::SID_OK));
  ok_.OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::ChannelLockButtonNonfocus));
  ok_.OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::ChannelLockButtonFocus));
  ok_.OnSetTextFont(Resources::LoadResource(Fonts::BannerBasicInfo));
  ok_.OnActivate = kv::MakeSlot<WidgetClass>(this, &WidgetClass::EnterPrevStateSlot);
  logo_.OnSetBounds({452, 60, 542, 96});
  logo_.OnSetBitmap(Resources::LoadResource(Bitmaps::SystemInfoLogo));
  logo_.OnSetAutoSize(true);
  Add(&logo_);
  Add(&ok_);
  Add(&list_);
  OnSetFocus(&list_);
}

void KXDSystemInfoDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  if (OpenedFromQuickMenu()) {
    PrevState = KV_LATE_CLASS("QuickMenu::QuickMenu");
    NextState = PrevState;
  }
  auto* p = kv::New<Primitives::KeyRoutingParameter>();
  p->Owner = this;
  if (param) p->Param = param->Param.get();
  list_.Initialize(p);
  list_.Open();
  OnSetFocus(&list_);
}

kv::Object* KXDSystemInfoDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && (key->Code == KEY_LEFT || key->Code == KEY_RIGHT)) {
    if (key->Code == KEY_LEFT && OnGetFocus() == &ok_) OnSetFocus(&list_);
    if (key->Code == KEY_RIGHT && OnGetFocus() == &list_) OnSetFocus(&ok_);
    ResetTimeout();
    return this;
  }
  return KXDWidgetClass::HandleEvent(event);
}

}  // namespace NonMenuSystem
