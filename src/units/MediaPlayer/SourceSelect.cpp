#include "units/MediaPlayer/SourceSelect.h"

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/MediaBrowser.h"
#include "strings/NonMenuSystem.h"
#include "strings/Strings.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Constants/MessageTypes.h"
#include "units/Core/Event.h"
#include "units/Events/StatusEvent.h"
#include "units/Media/MediaEvents.h"
#include "units/Media/MediaWrapper.h"
#include "units/MediaPlayer/BrowserTemplate.h"
#include "units/MediaPlayer/SelectedParam.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/SubSystem/State.h"

KV_REGISTER_CLASS(MediaPlayer::USBMediaPlayerMenu);
KV_REGISTER_CLASS(MediaPlayer::MediaDeviceSelectDialog);

namespace MediaPlayer {

namespace {

using namespace keys;

constexpr uint16_t STATUS_STORAGE = 18;
constexpr uint32_t kDeviceHelpMask = 0x41200;
constexpr int32_t kMenuTimeOut = 60000;

kv::String Text(const kv::MultiTextId& id) { return kv::GetVariantOfString(id); }

void Send(int32_t code, int32_t value, const kv::Class* target) {
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(code, nullptr, value);
  auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent);
  if (target)
    agent->DispatchTo(msg, target);
  else
    agent->Dispatch(msg);
}

}  // namespace

// --- The media kind menu ------------------------------------------------------------------------

USBMediaPlayerMenu::USBMediaPlayerMenu() {
  OnSetCaption(Text(Strings::SID_MEDIA_PLAYER));
  OnSetFrameWidth(0);
  OnSetBounds({0, 0, 300, 230});
  OnSetTimeOutValue(kMenuTimeOut);
  struct Entry {
    const kv::MultiTextId* text;
    int32_t value;
  };
  const Entry entries[3] = {{&Strings::SID_PHOTO, 2}, {&Strings::SID_VIDEO, 3}, {&Strings::SID_MUSIC, 1}};
  Resources::Bitmap* focus = Resources::LoadResource(Bitmaps::TimeZoneListButtonFocus);
  for (int32_t i = 0; i < 3; ++i) {
    SkinBin::Button& b = buttons_[i];
    b.OnSetText(Text(*entries[i].text));
    b.Value = entries[i].value;
    b.TargetClass = &MediaDeviceSelectDialog::StaticClass();
    b.OnSetTextAlignH(0);
    b.OnSetNonfocused_BackgroundBitmap(nullptr);
    b.OnSetDefault_BackgroundBitmap(nullptr);
    b.OnSetFocused_BackgroundBitmap(focus);
    b.OnActivate = kv::MakeSlot(this, &USBMediaPlayerMenu::DoActivate);
    Add(&b);
  }
  focusedText_ = buttons_[0].OnGetFocused_TextColor();
  OnSetFocus(&buttons_[0]);
}

void USBMediaPlayerMenu::Refresh() {
  KXDWidgetClass::Refresh();
  for (int32_t i = 0; i < 3; ++i) buttons_[i].OnSetBounds({26, 56 + 30 * i, 26 + 180, 56 + 30 * i + 27});
}

void USBMediaPlayerMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  Media::MediaWrapper* bridge = Bridge();
  const bool none = bridge->GetMediumCount() + bridge->GetRegisteredServerCount() < 1;
  // A disabled button keeps the focus it can take, with the look of a
  // focused grey row: the pale bar under the grey row's dark caption.
  Resources::Bitmap* focus =
      Resources::LoadResource(none ? Bitmaps::OptionButtonDisabledFocus : Bitmaps::TimeZoneListButtonFocus);
  for (SkinBin::Button& b : buttons_) {
    b.OnSetIsDisabled(none);
    b.OnSetFocused_BackgroundBitmap(focus);
    b.OnSetFocused_TextColor(none ? Colors::FocusDisableTextColor : focusedText_);
  }
  if (!none) OnSetFocus(&buttons_[0]);
  // The menu has no help bar: a browse screen's left behind goes.
  if (NonMenuSystem::NonMenuSystem* owner = OnGetNonMenuSystem()) owner->ClearHelpBar();
}

kv::Object* USBMediaPlayerMenu::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return KXDWidgetClass::HandleEvent(event);
  int32_t at = 0;
  for (int32_t i = 0; i < 3; ++i)
    if (OnGetFocus() == &buttons_[i]) at = i;
  switch (key->Code) {
    case KEY_UP:
      OnSetFocus(&buttons_[(at + 2) % 3]);
      break;
    case KEY_DOWN:
      OnSetFocus(&buttons_[(at + 1) % 3]);
      break;
    case KEY_OK:
    case KEY_LEFT:
    case KEY_RIGHT:
      break;
    default:
      // The screen base answers the rest: Back and Exit close the menu as
      // they close every screen outside the menu system.
      return KXDWidgetClass::HandleEvent(event);
  }
  ResetTimeout();
  return this;
}

void USBMediaPlayerMenu::DoActivate(kv::Object* sender) {
  auto* button = kv::Cast<SkinBin::Button>(sender);
  NonMenuSystem::NonMenuSystem* owner = OnGetNonMenuSystem();
  if (!button || !owner || button->OnGetIsDisabled()) return;
  auto* ref = kv::New<SkinBin::UserRefInt>();
  ref->Value = button->Value;
  ref->Code = TransitionCode();
  auto* state = kv::New<SubSystem::State>();
  state->Class = button->TargetClass;
  state->Param = ref;
  state->PrevState = KvClass();
  kv::Persistent<SubSystem::State> keep(state);
  Close();
  owner->ChangeState(state);
}

// --- The source dialog -----------------------------------------------------------------------------

MediaDeviceSelectDialog::MediaDeviceSelectDialog() {
  OnSetCaption(Text(Strings::SID_SELECT_DEVICE));
  OnSetFrameWidth(0);
  OnSetBounds({0, 0, 560, 280});
  OnSetTimeOutValue(kMenuTimeOut);
  list_.OnItemActivate = kv::MakeSlot(this, &MediaDeviceSelectDialog::RowActivated);
  list_.OnFocusOption = kv::MakeSlot(this, &MediaDeviceSelectDialog::ResetTimeout);
  list_.OnSetBounds({16, 56, 476, 192});
  Add(&list_);
  OnSetFocus(&list_);
}

void MediaDeviceSelectDialog::Refresh() {
  MediaPlayerDialogTemplate::Refresh();
  list_.OnSetBounds({16, 56, 476, 192});
}

int32_t MediaDeviceSelectDialog::SourceCount() {
  Media::MediaWrapper* bridge = Bridge();
  bridge->RequestMediumList();
  return bridge->GetMediumCount() + bridge->GetRegisteredServerCount();
}

void MediaDeviceSelectDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  MediaPlayerDialogTemplate::Initialize(param);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Register(this);
  if (auto* ref = kv::Cast<SkinBin::UserRefInt>(param ? param->Param.get() : nullptr)) {
    switch (ref->Value) {
      case 2:
        NextState = Settings()->OnGetPhotoBrowseMode() != 0 ? KV_LATE_CLASS("MediaPlayer::PhotoListView")
                                                           : KV_LATE_CLASS("MediaPlayer::PhotoMultiView");
        break;
      case 3: NextState = KV_LATE_CLASS("MediaPlayer::MovieListView"); break;
      case 1: NextState = KV_LATE_CLASS("MediaPlayer::MusicListView"); break;
      default: NextState = nullptr; break;
    }
    returning_ = ref->Flag != 0;
  }
  const int32_t count = SourceCount();
  SkinBin::Wrapper* w = Settings();
  if (count < 1) {
    Close();
    kv::PostSignal(kv::MakeSlot(this, &MediaDeviceSelectDialog::ShowNoDevice));
    if (w->GetCurrentSource(0) == SkinBin::Wrapper::GetExtSourceId()) w->SetLastSource();
    return;
  }
  auto* listParam = kv::New<Primitives::KeyRoutingParameter>();
  listParam->Owner = this;
  list_.Initialize(listParam);
  Media::MediumDevice* first = Bridge()->GetMedium(0);
  const bool readyAtOnce = first && (first->Kind < 2 || (first->Kind == 2 && first->Enabled));
  if (count == 1 && readyAtOnce) {
    if (returning_) {
      kv::PostSignal(kv::MakeSlot(this, &MediaDeviceSelectDialog::ReturnPrevState));
    } else {
      chosen_ = 0;
      Post(&WidgetClass::EnterNextStateSlot);
    }
    return;
  }
  if (NonMenuSystem::NonMenuSystem* owner = OnGetNonMenuSystem()) {
    const kv::String sep = kv::LoadString(NonMenuSystem::HELP_SEPARATOR);
    kv::String help = Text(Strings::SID_ENTER);
    help = kv::ConcatString(kv::ConcatString(help, sep), Text(Strings::SID_UPDATE));
    help = kv::ConcatString(kv::ConcatString(help, sep), Text(Strings::SID_BACK));
    owner->UpdateHelp(static_cast<int32_t>(kDeviceHelpMask), help);
  }
}

void MediaDeviceSelectDialog::Close() {
  MediaPlayerDialogTemplate::Close();
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->UnRegister(this);
}

void MediaDeviceSelectDialog::RowActivated(kv::Object* sender) {
  auto* row = kv::Cast<ListForm::MediumDeviceItem>(sender);
  if (!row) return;
  LaunchPlayer(row->ItemIndex, row->ItemIndex, row->DeviceKind, row->IsActive ? 1 : 0);
}

void MediaDeviceSelectDialog::LaunchPlayer(int32_t /*row*/, int32_t medium, int32_t kind, int32_t ready) {
  chosen_ = medium;
  if (kind == 0 || kind == 1) {
    if (ready != 0) EnterNextState();
  } else if (kind == 2) {
    if (ready == 1) EnterNextState();
  } else {
    kv::Trace("%s%e", {kv::LoadString(MediaBrowser::T_BROWSE_KIND), kind});
    Close();
  }
}

void MediaDeviceSelectDialog::EnterNextState() {
  if (!NextState) return;
  NonMenuSystem::NonMenuSystem* owner = OnGetNonMenuSystem();
  Close();
  if (!owner) return;
  auto* param = kv::New<SelectedParam>();
  param->Medium = chosen_;
  param->PrevClass = PrevState;
  auto* state = kv::New<SubSystem::State>();
  state->Class = NextState;
  state->Param = param;
  state->PrevState = KvClass();
  kv::Persistent<SubSystem::State> keep(state);
  owner->ChangeState(state);
}

void MediaDeviceSelectDialog::ReturnPrevState(kv::Object* /*sender*/) {
  const kv::Class* prev = PrevState;
  if (prev && (prev == &USBMediaPlayerMenu::StaticClass() || prev == KV_LATE_CLASS("MenuSystem::AppMediaPlayerMenu") ||
               prev == KV_LATE_CLASS("MediaPlayer::PhotoFrameSetup"))) {
    EnterPrevState();
    return;
  }
  Close();
  if (NonMenuSystem::NonMenuSystem* owner = OnGetNonMenuSystem()) owner->ClearHelpBar();
  Send(Constants::MSG_CHANGE_APPEARANCE, Constants::APPEARANCE_VISIBLE, nullptr);
  Send(Constants::MSG_CHANGE_APPEARANCE, Constants::APPEARANCE_FOCUS, KV_LATE_CLASS("MenuSystem::MenuSystem"));
}

void MediaDeviceSelectDialog::ShowNoDevice(kv::Object* /*sender*/) {
  Send(Constants::MSG_CLEAR_ALL, -1, nullptr);
  Send(Constants::MSG_SHOW_MESSAGE, Constants::DirectMsgTypeNoDevicesConnected,
       &NonMenuSystem::NonMenuSystem::StaticClass());
}

void MediaDeviceSelectDialog::Reload() {
  auto* param = kv::New<Primitives::KeyRoutingParameter>();
  param->Owner = this;
  list_.Initialize(param);
}

kv::Object* MediaDeviceSelectDialog::HandleEvent(Core::Event* event) {
  if (auto* key = kv::Cast<Core::KeyEvent>(event)) {
    if (key->Down && key->Code == KEY_BACK) {
      kv::PostSignal(kv::MakeSlot(this, &MediaDeviceSelectDialog::ReturnPrevState));
      return this;
    }
    if (key->Down && key->Code == KEY_RED) {
      Reload();
      return this;
    }
    return MediaPlayerDialogTemplate::HandleEvent(event);
  }
  if (auto* net = kv::Cast<Media::NetworkEvent>(event); net && net->Value != 0) {
    kv::Trace("%s", {kv::LoadString(MediaBrowser::T_NETWORK)});
    Reload();
    return this;
  }
  if (auto* status = kv::Cast<Events::StatusEvent>(event)) {
    if (status->Code == STATUS_STORAGE) Reload();
    return this;
  }
  if (kv::Cast<Media::ServerEvent>(event)) {
    Reload();
    return this;
  }
  return MediaPlayerDialogTemplate::HandleEvent(event);
}

void MediaDeviceSelectDialog::HandleMessage(Structures::Message* msg) {
  MediaPlayerDialogTemplate::HandleMessage(msg);
  // A device plugged or removed: live TV passes its status event on here.
  if (msg && msg->Code == Constants::MSG_MM_STATUS_INFO && IsOpen())
    if (auto* status = kv::Cast<Events::StatusEvent>(msg->ObjParam.get())) HandleEvent(status);
  if (msg && msg->Code == Constants::MSG_CHANGE_APPEARANCE && msg->IntParam == Constants::APPEARANCE_FOCUS && Owner() &&
      IsOpen())
    Owner()->OnSetFocus(this);
}

}  // namespace MediaPlayer
