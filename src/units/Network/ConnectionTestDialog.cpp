#include "units/Network/ConnectionTestDialog.h"

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/trace.h"
#include "strings/MenuSystemPages.h"
#include "strings/Network.h"
#include "strings/Strings.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Events/NetworkTestResultsEvent.h"
#include "units/Events/WlanConnectCompleteEvent.h"
#include "units/Fonts/Fonts.h"
#include "units/Network/Address.h"
#include "units/Network/Dispatch.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Views/Align.h"

KV_REGISTER_CLASS(Network::NetworkStatusDialog);
KV_REGISTER_CLASS(Network::TestingButton);
KV_REGISTER_CLASS(Network::ConnectionTestDialog);

namespace Network {

namespace {

using namespace keys;

constexpr int32_t kWidth = 450;
constexpr int32_t kHeight = 330;
constexpr int32_t kConnected = 2;

const kv::TextId* const kFrames[4] = {&TEST_FRAME_0, &TEST_FRAME_1, &TEST_FRAME_2, &TEST_FRAME_3};

}  // namespace

// --- NetworkStatusDialog -------------------------------------------------------------

NetworkStatusDialog::NetworkStatusDialog() {
  OnSetBounds({0, 0, kWidth, kHeight});
  OnSetItemWidth(110);
  button_.OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::DialogButtonNonfocus));
  button_.OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::DialogButtonFocus));
  button_.OnActivate = kv::MakeSlot(this, &NetworkStatusDialog::DoActivate);
  SetButtonLabel(Strings::SID_CANCEL);
  // Cancel and Done show the menu again.
  IsShortcut = true;
}

void NetworkStatusDialog::SetButtonLabel(const kv::MultiTextId& label) {
  label_ = &label;
  OnSetYesButtonLabel(kv::GetVariantOfString(label));
}

void NetworkStatusDialog::ReInit() {
  ConfirmOneOptionDialog::ReInit();
  if (label_) OnSetYesButtonLabel(kv::GetVariantOfString(*label_));
  if (ShowsJoin()) OnSetCaption(kv::GetVariantOfString(CONFIRM_CAPTION));
}

void NetworkStatusDialog::DoActivate(kv::Object*) {
  if (label_ == &Strings::SID_DONE)
    Post(&WidgetClass::EnterNextStateSlot);
  else if (label_ == &Strings::SID_CANCEL)
    Post(&WidgetClass::EnterPrevStateSlot);
}

void NetworkStatusDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  ConfirmOneOptionDialog::Initialize(param);
  if (!ShowsJoin()) return;
  awaitingJoin_ = true;
  // The title the join's dialogs share: the title bar is never empty.
  OnSetCaption(kv::GetVariantOfString(CONFIRM_CAPTION));
  SetButtonLabel(Strings::SID_CANCEL);
  SetStatusText(kv::GetVariantOfString(STATUS_CONNECTING));
  OnTimeOut = kv::MakeSlot(this, &NetworkStatusDialog::JoinTimeout);
  OnSetTimeOutValue(kJoinTimeOut);
}

void NetworkStatusDialog::ShowOutcome(bool connected) {
  awaitingJoin_ = false;
  SetStatusText(kv::GetVariantOfString(connected ? STATUS_CONNECTED : STATUS_FAILED));
  if (connected) SetButtonLabel(Strings::SID_DONE);
  // Left alone, the dialog closes as the captioned dialogs do.
  OnTimeOut = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::ClearAllSlot);
  OnSetTimeOutValue(NonMenuSystem::kMenuTriggeredTimeOut);
  if (IsOpen()) SetTimeout(true);
}

void NetworkStatusDialog::SetStatusText(const kv::String& text) {
  // The dialog keeps its size: the text only changes.
  WarningInfo = text;
  WarningView().OnSetString(text);
}

void NetworkStatusDialog::JoinTimeout(kv::Object*) {
  if (awaitingJoin_) ShowOutcome(false);
}

void NetworkStatusDialog::EnterNextState() {
  if (!NextState) {
    EnterPrevState();
    return;
  }
  ConfirmOneOptionDialog::EnterNextState();
}

kv::Object* NetworkStatusDialog::HandleEvent(Core::Event* event) {
  if (auto* done = kv::Cast<Events::WlanConnectCompleteEvent>(event)) {
    kv::Trace("%s%i", {kv::LoadString(T_CONNECT_STATUS), done->Status});
    if (done->Status == kConnected) kv::Trace("%s", {kv::LoadString(T_CONNECT_OK)});
    if (awaitingJoin_) {
      ShowOutcome(done->Status == kConnected);
      return this;
    }
    if (done->Status == kConnected) return this;
  }
  return ConfirmOneOptionDialog::HandleEvent(event);
}

// --- TestingButton ---------------------------------------------------------------------

TestingButton::TestingButton() {
  OnSetNonfocused_BackgroundBitmap(nullptr);
  OnSetFocused_BackgroundBitmap(nullptr);
  OnSetTextAlignH(Views::ALIGN_LEFT);
  timer_.OnSetPeriod(kFramePeriod);
  timer_.OnSetBegin(kFramePeriod);
  timer_.OnTrigger = kv::MakeSlot(this, &TestingButton::WaitingSlot);
  StartWaiting();
}

void TestingButton::StartWaiting() {
  Step = 0;
  OnSetText(kv::LoadString(*kFrames[0]));
  timer_.OnSetEnabled(true);
}

void TestingButton::WaitingSlot(kv::Object*) {
  const int32_t frame = Step & 3;
  OnSetText(kv::LoadString(*kFrames[frame]));
  Step = (frame + 1) & 3;
}

void TestingButton::ShowResult(const kv::String& text) {
  StopWaiting();
  OnSetText(text);
}

// --- ConnectionTestDialog ------------------------------------------------------------

ConnectionTestDialog::ConnectionTestDialog() {
  OnTimeOut = kv::MakeSlot(this, &ConnectionTestDialog::DoTimeout);
  OnSetTimeOutValue(kTestTimeOut);
  PrevState = KV_LATE_CLASS("MenuSystem::VidiNetworkingMenu");
  NextState = PrevState;
  IsShortcut = true;
  OnSetCaption(kv::GetVariantOfString(MenuSystemPages::SID_NETWORK_CONNECTION_TEST));
  button_.OnActivate = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::EnterPrevStateSlot);
  const kv::MultiTextId* captions[3] = {&TEST_ROW_CONNECTION, &TEST_ROW_INTERNET, &TEST_ROW_SPEED};
  for (int32_t i = 0; i < 3; ++i) {
    const int32_t y = 70 + i * 50;
    Views::Text& t = labels_[i];
    SetUpLabel(t, kv::GetVariantOfString(*captions[i]));
    const kv::Rect a = t.Bounds();
    t.OnSetBounds({40, y + (27 - a.H()) / 2, 40 + a.W(), y + (27 - a.H()) / 2 + a.H()});
    Add(&t);
    TestingButton& r = rows_[i];
    r.OnSetBounds({220, y, 410, y + 27});
    r.OnSetEnabled(false);
    Add(&r);
  }
}

void ConnectionTestDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  NetworkStatusDialog::Initialize(param);
  // A reused dialog starts afresh; the test runs 120 s whatever screen opened it.
  TestDone = false;
  SetButtonLabel(Strings::SID_CANCEL);
  for (TestingButton& r : rows_) r.StartWaiting();
  OnTimeOut = kv::MakeSlot(this, &ConnectionTestDialog::DoTimeout);
  OnSetTimeOutValue(kTestTimeOut);
  if (SkinBin::Wrapper* w = Skin()) {
    w->StartAnimation();
    w->NetworkSetup.LAN_TestConnection(kTestMask);
  }
}

kv::Object* ConnectionTestDialog::HandleEvent(Core::Event* event) {
  if (auto* key = kv::Cast<Core::KeyEvent>(event)) {
    if (key->Down && (key->Code == KEY_EXIT || key->Code == KEY_EXIT_ALT)) {
      Post(&WidgetClass::EnterPrevStateSlot);
      ResetTimeout();
      return this;
    }
    return NetworkStatusDialog::HandleEvent(event);
  }
  auto* result = kv::Cast<Events::NetworkTestResultsEvent>(event);
  if (!result) return NetworkStatusDialog::HandleEvent(event);
  if (TestDone) return this;
  const kv::String success = kv::GetVariantOfString(TEST_SUCCESS);
  const kv::String failure = kv::GetVariantOfString(TEST_FAILURE);
  const int32_t first = result->Word1;
  const int32_t second = result->Word0;
  const int32_t measured = result->Word2;
  if (first == 0) {
    for (TestingButton& r : rows_) r.ShowResult(failure);
    OnSetTestDone(true);
  } else if (first == 1) {
    rows_[0].ShowResult(success);
    if (second == 0) rows_[1].ShowResult(failure);
    if (second == 1) rows_[1].ShowResult(success);
    if (measured >= 1) {
      rows_[2].ShowResult(
          kv::ConcatString(kv::NewStringInt(measured, 0), kv::GetVariantOfString(TEST_SPEED_SUFFIX)));
      if (second == 1) OnSetTestDone(true);
    }
  }
  return this;
}

void ConnectionTestDialog::DoTimeout(kv::Object*) {
  const kv::String failure = kv::GetVariantOfString(TEST_FAILURE);
  for (TestingButton& r : rows_)
    if (r.IsWaiting()) r.ShowResult(failure);
  OnSetTestDone(true);
}

void ConnectionTestDialog::OnSetTestDone(bool done) {
  TestDone = done;
  if (!done) return;
  SetButtonLabel(Strings::SID_DONE);
  OnTimeOut = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::EnterPrevStateSlot);
  OnSetTimeOutValue(kReturnTime);
  if (IsOpen()) SetTimeout(true);
  if (SkinBin::Wrapper* w = Skin()) w->NetworkSetup.LAN_QuitTestConnection();
}

void ConnectionTestDialog::Close() {
  const bool wasOpen = IsOpen();
  NetworkStatusDialog::Close();
  // The rows' animation stops with the dialog (a running timer would keep
  // the closed dialog alive).
  for (TestingButton& r : rows_) r.StopWaiting();
  if (!wasOpen) return;
  SkinBin::Wrapper* w = Skin();
  if (!w) return;
  if (!TestDone) w->NetworkSetup.LAN_QuitTestConnection();
  w->StopAnimation();
}

}  // namespace Network
