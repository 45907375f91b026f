#include "units/Network/WirelessScanDialog.h"

#include "keys/keycodes.h"
#include "runtime/slot.h"
#include "strings/Strings.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Events/WlanScanCompleteEvent.h"
#include "units/Fonts/Fonts.h"
#include "units/Network/Address.h"
#include "units/Network/ConfirmDialogs.h"
#include "units/Network/ConnectionTestDialog.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/SubSystem/State.h"
#include "units/Views/Align.h"

KV_REGISTER_CLASS(Network::NoApFound);
KV_REGISTER_CLASS(Network::WirelessScanDialog);

namespace Network {

namespace {
using namespace keys;

constexpr int32_t kWidth = 560;
constexpr int32_t kHeight = 360;
constexpr int32_t kWpsPinMode = 1;
}  // namespace

// --- NoApFound -------------------------------------------------------------------------

NoApFound::NoApFound() {
  panel_.OnSetColor(Colors::MenuBgColor);
  text_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  text_.OnSetColor(Colors::StandardTextColor);
  text_.OnSetAlignH(Views::ALIGN_CENTER);
  text_.OnSetAlignV(1);
  text_.OnSetEllipsis(true);
  text_.OnSetString(kv::GetVariantOfString(Strings::SID_NO_APS_FOUND));
  OnSetEnabled(false);
  OnSetBounds({0, 0, 250, 40});
}

void NoApFound::OnSetBounds(kv::Rect bounds) {
  KeyRoutingCtrl::OnSetBounds(bounds);
  panel_.OnSetBounds({0, 0, bounds.W(), bounds.H()});
  text_.OnSetBounds({6, 0, bounds.W() - 6, bounds.H()});
}

void NoApFound::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  for (Core::View* part : {static_cast<Core::View*>(&panel_), static_cast<Core::View*>(&text_)}) {
    const kv::Rect b = part->Bounds().Move(origin);
    part->Draw(target, clip.Intersect(b), b.Origin(), opacity);
  }
}

// --- WirelessScanDialog ------------------------------------------------------------------

WirelessScanDialog::WirelessScanDialog() {
  OnSetBounds({0, 0, kWidth, kHeight});
  IsShortcut = true;
  NextState = &NetworkStatusDialog::StaticClass();
  OnSetCaption(kv::GetVariantOfString(Strings::NetworkingMenuWirelessScan));
  list_.OnSetBounds({16, 48, kWidth - 16, kHeight - 16});
  list_.OnConnectAP = kv::MakeSlot(this, &WirelessScanDialog::DoSelectAP);
  // Moving in the list is using the dialog: its time-out starts again.
  list_.FocusMove = kv::MakeSlot(static_cast<Primitives::KeyRoutingForm*>(this), &Primitives::KeyRoutingForm::ResetTimeout);
  Add(&list_);
  OnSetFocus(&list_);
  ShowWaiting = 1;
}

void WirelessScanDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDNetworkWidgetClass::Initialize(param);
  if (auto* ref = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr) Mode = ref->Value;
  SkinBin::Wrapper* w = Skin();
  const bool reuse = w && w->NetworkSetup.KeepResult != 0 && w->NetworkSetup.GetAccessPointNum() > 0;
  // A first scan waits the captioned dialogs' 15 s, wherever it was opened from.
  OnSetTimeOutValue(NonMenuSystem::kCaptionedTimeOut);
  ConfigScan(!reuse);
  auto* listParam = kv::New<Primitives::KeyRoutingParameter>();
  listParam->Owner = this;
  list_.Initialize(listParam);
  OnSetFocus(&list_);
}

void WirelessScanDialog::ConfigScan(bool on) {
  if (on) {
    ShowNoApFound(false);
    OnSetShowWaiting(1);
    OnTimeOut = kv::MakeSlot(this, &WirelessScanDialog::ScanTimeout);
  } else {
    OnSetShowWaiting(0);
    OnSetTimeOutValue(kListedTimeOut);
    OnTimeOut = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::ClearAllSlot);
  }
  SetTimeout(true);
  ResetTimeout();
}

void WirelessScanDialog::ScanTimeout(kv::Object*) {
  ConfigScan(false);
  ShowNoApFound(true);
}

void WirelessScanDialog::ShowNoApFound(bool show) {
  if (show) {
    if (notice_) return;
    auto* notice = kv::New<NoApFound>();
    const kv::Rect b = notice->Bounds();
    notice->OnSetBounds(kv::Rect{0, 0, b.W(), b.H()}.MoveTo(kNoticeOrigin));
    notice_ = notice;
    Add(notice);
    return;
  }
  if (NoApFound* notice = notice_.get()) {
    if (notice->Owner() == this) Remove(notice);
    notice_ = nullptr;
    OnSetFocus(&list_);
  }
}

kv::Object* WirelessScanDialog::HandleEvent(Core::Event* event) {
  if (kv::Cast<Events::WlanScanCompleteEvent>(event)) {
    ConfigScan(false);
    ShowNoApFound(list_.GetScanResult() < 1);
    return this;
  }
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && key->Code == KEY_OK) {
    ResetTimeout();
    return this;
  }
  if (key && key->Down && key->Code == kRescanKey) {
    if (ShowWaiting != 1) {
      ConfigScan(true);
      list_.StartScan();
    }
    ResetTimeout();
    return this;
  }
  return KXDNetworkWidgetClass::HandleEvent(event);
}

void WirelessScanDialog::DoSelectAP(kv::Object*) {
  if (ShowWaiting == 1) return;
  if (Mode == kWpsPinMode) {
    SkinBin::Wrapper* w = Skin();
    const int32_t pinMode = w ? w->OnGetWPSPinMode() : -1;
    if (pinMode == 0) NextState = KV_LATE_CLASS("Network::WPSGeneratePinDialog");
    if (pinMode == 1) NextState = &PinEnterDialog::StaticClass();
  } else {
    NextState = list_.Security != 0 ? &PinEnterDialog::StaticClass()
                                    : static_cast<const kv::Class*>(&NetworkStatusDialog::StaticClass());
  }
  Post(&WidgetClass::EnterNextStateSlot);
}

void WirelessScanDialog::EnterNextState() {
  Close();
  NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
  if (!NextState || !s) return;
  auto* param = kv::New<SkinBin::UserRefInt>();
  param->Code = TransitionCode();
  param->Value = Mode;
  param->String = list_.NetworkName;
  auto* state = kv::New<SubSystem::State>();
  state->Class = NextState;
  state->PrevState = KvClass();
  state->Param = param;
  s->ChangeState(state);
}

void WirelessScanDialog::DoCancel(kv::Object* sender) {
  if (SkinBin::Wrapper* w = Skin()) w->NetworkSetup.WLAN_StopScan();
  KXDNetworkWidgetClass::DoCancel(sender);
}

}  // namespace Network
