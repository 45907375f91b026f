#include "units/MediaPlayer/MediaPlayerDialogs.h"

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/trace.h"
#include "strings/MediaPlayerDialogs.h"
#include "units/Agent/MessageAgent.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Events/StatusEvent.h"
#include "units/Fonts/Fonts.h"
#include "units/Media/MediaWrapper.h"
#include "units/MediaPlayer/SelectedParam.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/OptionButton.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/SubSystem/State.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(MediaPlayer::MediaPlayerDialogTemplate);
KV_REGISTER_CLASS(MediaPlayer::MediaPlayerConfirmDialogTemplate);
KV_REGISTER_CLASS(MediaPlayer::MediaPlayerConfirmDialog);
KV_REGISTER_CLASS(MediaPlayer::MediaPlayerOpenConfirmDialog);
KV_REGISTER_CLASS(MediaPlayer::DmsDeviceInfo);

namespace MediaPlayer {

using namespace ::MediaPlayerDialogs;

namespace {
using namespace keys;

constexpr int32_t kButtonWidth = 110;
constexpr int32_t kButtonHeight = 27;
// The device information's help: Back only.
constexpr int32_t kBackHelpMask = 0x40000;
// Status code of the media devices, and its sub-code of a removal.
constexpr int32_t kDeviceStatus = 18;
constexpr int32_t kDeviceRemoved = 5;

// Leaving by Exit ends an unfinished renderer installation.
void ClearRendererInstallation() {
  if (auto* w = kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<kv::Object>(MainApp::Wrapper))) w->RendererInstalled = false;
}

bool IsExitKey(uint16_t code) { return code == KEY_EXIT || code == KEY_EXIT_ALT; }

// A left-aligned text in the shape of a button, which never takes the focus.
void MakeLabel(SkinBin::Button& b, kv::Rect bounds) {
  b.OnSetNonfocused_BackgroundBitmap(nullptr);
  b.OnSetFocused_BackgroundBitmap(nullptr);
  b.OnSetTextAlignH(0);
  b.OnSetTextEllipsis(true);
  b.OnSetBounds(bounds);
  b.OnSetEnabled(false);
}
}  // namespace

// --- MediaPlayerDialogTemplate ------------------------------------------------------------

MediaPlayerDialogTemplate::MediaPlayerDialogTemplate() {
  KeyRoutingForm::OnSetBounds({0, 0, 450, 200});
  OnSetTimeOutValue(kDialogTimeOut);
  OnTimeOut = {};
  OnSetFrameWidth(0);
}

void MediaPlayerDialogTemplate::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
}

kv::Object* MediaPlayerDialogTemplate::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down) {
    if (key->Code == KEY_OK) {
      if (OnGetNonMenuSystem()) {
        // The next screen opens without a parameter.
        Close();
        if (NextState) {
          auto* state = kv::New<SubSystem::State>();
          state->Class = NextState;
          OnGetNonMenuSystem()->ChangeState(state);
        }
      }
      return this;
    }
    if (IsExitKey(key->Code)) ClearRendererInstallation();
  }
  return KXDWidgetClass::HandleEvent(event);
}

// --- MediaPlayerConfirmDialogTemplate ----------------------------------------------------

MediaPlayerConfirmDialogTemplate::MediaPlayerConfirmDialogTemplate() {
  message_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  message_.OnSetColor(Colors::StandardTextColor);
  message_.OnSetAlignH(0);
  message_.OnSetAlignV(0);
  Add(&message_);
  MediaPlayerConfirmDialogTemplate::Refresh();
}

void MediaPlayerConfirmDialogTemplate::Refresh() {
  MediaPlayerDialogTemplate::Refresh();
  const int32_t top = HasCaption ? caption_.Bounds().y2 + 10 : FrameWidth + 16;
  message_.OnSetBounds({20, top, Bounds().W() - 20, Bounds().H() - 50});
}

kv::Object* MediaPlayerConfirmDialogTemplate::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return MediaPlayerDialogTemplate::HandleEvent(event);
  switch (key->Code) {
    case KEY_OK:
    case KEY_EXIT:
    case KEY_MENU:
    case KEY_LEFT:
    case KEY_RIGHT:
    case KEY_RED:
    case KEY_BACK:
    case KEY_EXIT_ALT:
      return MediaPlayerDialogTemplate::HandleEvent(event);
    default:
      return this;
  }
}

void MediaPlayerConfirmDialogTemplate::DoFocus(kv::Object* control) {
  auto* button = kv::Cast<SkinBin::OptionButton>(control);
  NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
  if (button && s) s->UpdateHelp(static_cast<int32_t>(button->HelpMask), button->HelpString);
}

// --- MediaPlayerConfirmDialog --------------------------------------------------------------

MediaPlayerConfirmDialog::MediaPlayerConfirmDialog() {
  WinID = WinIDs::WIN_ID_ConfirmMultiOptionsDialog;
  OnSetTimeOutValue(kDialogTimeOut);
  OnTimeOut = {};
  ItemWidth = kButtonWidth;
  ItemHeight = kButtonHeight;
  YesButtonLabel = kv::GetVariantOfString(SID_YES);
  NoButtonLabel = kv::GetVariantOfString(SID_NO);
  for (SkinBin::Button* b : {&yes_, &no_}) {
    b->OnSetBounds({0, 0, kButtonWidth, kButtonHeight});
    b->OnActivate = kv::MakeSlot(this, &MediaPlayerConfirmDialog::DoActivate);
    Add(b);
  }
  yes_.OnSetText(YesButtonLabel);
  no_.OnSetText(NoButtonLabel);
  OnSetFocus(&no_);
  MediaPlayerConfirmDialog::Refresh();
}

void MediaPlayerConfirmDialog::Refresh() {
  ConfirmOptionDialog::Refresh();
  PlaceButtonPair(yes_, no_);
}

void MediaPlayerConfirmDialog::OnSetYesButtonLabel(const kv::String& text) {
  ConfirmOptionDialog::OnSetYesButtonLabel(text);
  yes_.OnSetText(text);
}

void MediaPlayerConfirmDialog::OnSetNoButtonLabel(const kv::String& text) {
  ConfirmOptionDialog::OnSetNoButtonLabel(text);
  no_.OnSetText(text);
}

kv::Object* MediaPlayerConfirmDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return ConfirmOptionDialog::HandleEvent(event);
  switch (key->Code) {
    case KEY_OK:
      EnterNextState();
      return this;
    case KEY_UP:
      SelectUpper();
      break;
    case KEY_DOWN:
      SelectLower();
      break;
    case KEY_LEFT:
      if (OnGetFocus() == &no_) OnSetFocus(&yes_);
      break;
    case KEY_RIGHT:
      if (OnGetFocus() == &yes_) OnSetFocus(&no_);
      break;
    case KEY_EXIT:
    case KEY_EXIT_ALT:
      ClearRendererInstallation();
      return ConfirmOptionDialog::HandleEvent(event);
    default:
      return ConfirmOptionDialog::HandleEvent(event);
  }
  ResetTimeout();
  return this;
}

void MediaPlayerConfirmDialog::DoActivate(kv::Object* sender) {
  if (sender == &no_) {
    DoNoMethod();
  } else if (sender == &yes_) {
    DoYesMethod();
  }
}

void MediaPlayerConfirmDialog::DoYesMethod() {
  kv::Signal(OnYesSlot, this);
  EnterNextState();
}

void MediaPlayerConfirmDialog::DoNoMethod() {
  kv::Signal(OnNoSlot, this);
  EnterPrevState();
}

// --- MediaPlayerOpenConfirmDialog -------------------------------------------------------------

MediaPlayerOpenConfirmDialog::MediaPlayerOpenConfirmDialog() {
  NextState = KV_LATE_CLASS("MediaPlayer::USBMediaPlayerMenu");
  OnSetHasCaption(false);
  OnSetWarningInfo(kv::GetVariantOfString(SID_USB_DEVICE_CONNECTED));
  OnSetFocus(&yes_);
  // Unanswered for a minute, the question goes: it would otherwise stand
  // over the picture until a key answers it.
  OnTimeOut = kv::MakeSlot<WidgetClass>(this, &WidgetClass::ExitSlot);
}

void MediaPlayerOpenConfirmDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  MediaPlayerConfirmDialog::Initialize(param);
  if (auto* selected = param ? kv::Cast<SelectedParam>(param->Param.get()) : nullptr) DeviceNumber = selected->Medium;
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Register(this);
  // At once: posted, it would close this question too.
  ClearAll();
}

void MediaPlayerOpenConfirmDialog::HandleMessage(Structures::Message* msg) {
  MediaPlayerConfirmDialog::HandleMessage(msg);
  if (msg->Code != Constants::MSG_MM_STATUS_INFO) return;
  if (auto* status = kv::Cast<Events::StatusEvent>(msg->ObjParam.get())) HandleEvent(status);
}

void MediaPlayerOpenConfirmDialog::Close() {
  const bool wasOpen = IsOpen();
  MediaPlayerConfirmDialog::Close();
  if (wasOpen) kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->UnRegister(this);
}

kv::Object* MediaPlayerOpenConfirmDialog::HandleEvent(Core::Event* event) {
  if (auto* status = kv::Cast<Events::StatusEvent>(event)) {
    if (status->Code == kDeviceStatus && status->SubCode0 == kDeviceRemoved && status->SubCode2 == DeviceNumber) {
      kv::Trace("%s%i%i", {kv::LoadString(T_OPEN_CONFIRM_REMOVED), status->SubCode2, DeviceNumber});
      Close();
    }
    return this;
  }
  return MediaPlayerConfirmDialog::HandleEvent(event);
}

// --- DmsDeviceInfo ------------------------------------------------------------------------------

DmsDeviceInfo::DmsDeviceInfo() {
  WinID = WinIDs::WIN_ID_DEVICE_INFO;
  KeyRoutingForm::OnSetBounds({0, 0, 620, 200});
  OnSetCaption(kv::GetVariantOfString(SID_DLNA_DEVICE_INFORMATION));
  OnTimeOut = kv::MakeSlot<WidgetClass>(this, &WidgetClass::ExitSlot);
  const kv::String separator = kv::GetVariantOfString(CAPTION_SEPARATOR);
  // The caption column holds "Device name:" whole in every language; the
  // values take the rest of the row.
  MakeLabel(nameCaption_, {25, 80, 245, 110});
  MakeLabel(addressCaption_, {25, 120, 245, 150});
  MakeLabel(nameValue_, {250, 80, 600, 110});
  MakeLabel(addressValue_, {250, 120, 600, 150});
  nameCaption_.OnSetText(kv::ConcatString(kv::GetVariantOfString(SID_DLNA_DEVICE_NAME), separator));
  addressCaption_.OnSetText(kv::ConcatString(kv::GetVariantOfString(SID_IP_ADDRESS), separator));
  for (SkinBin::Button* b : {&nameCaption_, &addressCaption_, &nameValue_, &addressValue_}) Add(b);
}

void DmsDeviceInfo::Initialize(Primitives::KeyRoutingParameter* param) {
  MediaPlayerDialogTemplate::Initialize(param);
  OnSetFocus(nullptr);
  auto* bridge = kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper);
  Media::MediumDevice* medium = bridge ? bridge->GetCurMedium() : nullptr;
  Media::MediumDevice* detail = medium ? bridge->GetMediumDetail(medium->Uri) : nullptr;
  if (detail) nameValue_.OnSetText(detail->Caption);
  auto* server = kv::Cast<Media::MediaServer>(detail);
  if (server) addressValue_.OnSetText(server->IpAddress);
  addressCaption_.OnSetVisible(server != nullptr);
  addressValue_.OnSetVisible(server != nullptr);
}

void DmsDeviceInfo::Refresh() {
  MediaPlayerDialogTemplate::Refresh();
  if (NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem())
    s->UpdateHelp(kBackHelpMask, kv::GetVariantOfString(SID_BACK));
  else
    kv::Trace("%s", {kv::LoadString(T_DEVICE_INFO_NO_SUBSYSTEM)});
}

}  // namespace MediaPlayer
