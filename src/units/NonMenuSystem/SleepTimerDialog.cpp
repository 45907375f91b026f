#include "units/NonMenuSystem/SleepTimerDialog.h"

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "strings/NonMenuSystem.h"
#include "strings/Strings.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Core/Event.h"
#include "units/Resources/Resources.h"
#include "units/WinIDs/WinIDs.h"
#include "units/Wrapper/Wrapper.h"

KV_REGISTER_CLASS(NonMenuSystem::SleepTimerDialog);

namespace NonMenuSystem {

namespace {

using namespace keys;

constexpr int32_t kDividerGap = 14;

struct Choice {
  int32_t minutes;
  const kv::MultiTextId& text;
};

const Choice kChoiceTable[SleepTimerDialog::kChoices] = {
    {0, Strings::LeaveSTBOn},      {15, Strings::SID_15_MINUTES}, {30, Strings::SID_30_MINUTES},
    {45, Strings::SID_45_MINUTES}, {60, Strings::SID_60_MINUTES}, {90, Strings::SID_90_MINUTES},
    {120, Strings::SID_120_MINUTES},
};

Wrapper::Wrapper* TheWrapper() { return kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper); }

}  // namespace

SleepTimerDialog::SleepTimerDialog() {
  OnSetBounds({0, 0, 300, 360});
  OnSetFrameWidth(0);
  WidgetOrigin = {60, 60};
  WinID = WinIDs::WIN_ID_PictureSizeDialog;
  OnSetCaption(kv::GetVariantOfString(Strings::Sleep));
  Resources::Bitmap* focus = Resources::LoadResource(Bitmaps::TimeZoneListButtonFocus);
  for (int32_t i = 0; i < kChoices; ++i) {
    SkinBin::Button& b = buttons_[i];
    b.Value = kChoiceTable[i].minutes;
    b.OnSetText(kv::GetVariantOfString(kChoiceTable[i].text));
    b.OnSetBounds({0, 0, kButtonWidth, kButtonHeight});
    b.OnSetNonfocused_BackgroundBitmap(nullptr);
    b.OnSetDefault_BackgroundBitmap(nullptr);
    b.OnSetFocused_BackgroundBitmap(focus);
    b.OnActivate = kv::MakeSlot(this, &SleepTimerDialog::DoActivate);
    Add(&b);
  }
  OnSetFocus(&buttons_[0]);
}

void SleepTimerDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  const int32_t remain = TheWrapper()->OnGetRemainSleepTime();
  if (remain < 1) return;
  const kv::Rect b = Bounds();
  OnSetBounds({b.x1, b.y1, b.x1 + kWideWidth, b.y2});
  kv::String caption = kv::GetVariantOfString(Strings::Sleep);
  caption = kv::ConcatString(caption, kv::GetVariantOfString(SLEEP_CAPTION_SEPARATOR));
  caption = kv::ConcatString(caption, kv::GetVariantOfString(Strings::TVTurnOffIn));
  caption = kv::ConcatString(caption, kv::NewStringInt(remain, 0));
  caption = kv::ConcatString(caption, kv::GetVariantOfString(Strings::Minutes));
  OnSetCaption(caption);
}

void SleepTimerDialog::DoActivate(kv::Object* sender) {
  if (auto* button = kv::Cast<SkinBin::Button>(sender)) TheWrapper()->SetSleepTimer(button->Value);
  Post(&WidgetClass::ExitSlot);
}

kv::Object* SleepTimerDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down || (key->Code != KEY_UP && key->Code != KEY_DOWN)) return KXDWidgetClass::HandleEvent(event);
  int32_t at = 0;
  for (int32_t i = 0; i < kChoices; ++i)
    if (OnGetFocus() == &buttons_[i]) at = i;
  const int32_t next = key->Code == KEY_UP ? (at + kChoices - 1) % kChoices : (at + 1) % kChoices;
  OnSetFocus(&buttons_[next]);
  ResetTimeout();
  return this;
}

void SleepTimerDialog::Refresh() {
  KXDWidgetClass::Refresh();
  const int32_t x = (Bounds().W() - kButtonWidth) / 2;
  const int32_t top = divider_.Bounds().y2 + kDividerGap;
  for (int32_t i = 0; i < kChoices; ++i) {
    const int32_t y = top + i * (kButtonHeight + kButtonGap);
    buttons_[i].OnSetBounds({x, y, x + kButtonWidth, y + kButtonHeight});
  }
}

}  // namespace NonMenuSystem
