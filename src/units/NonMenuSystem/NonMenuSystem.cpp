#include "units/NonMenuSystem/NonMenuSystem.h"

#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "units/Agent/EventAgent.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/ConfirmTypes.h"
#include "units/Constants/Constants.h"
#include "units/Constants/MessageTypes.h"
#include "runtime/trace.h"
#include "units/Core/Root.h"
#include "units/Events/XPM_EVENT_CHANNEL_ACQUIRED.h"
#include "units/Events/XPM_EVENT_SOURCE_ACQUIRED.h"
#include "units/Events/XPM_EVENT_STANDBY.h"
#include "units/Events/XPM_EVENT_UBN_MEDIA_INSERTED.h"
#include "units/Events/XPM_EVENT_UBN_UPDATE_REMIND.h"
#include "units/Events/StatusEvent.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/NonMenuSystem/HelpBar.h"
#include "units/NonMenuSystem/InfoBanner.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/ScreenSaverWindow.h"
#include "units/NonMenuSystem/VolumeMuteBar.h"
#include "units/NonMenuSystem/WaitingCircle.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"
#include "units/SubSystem/State.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"
#include "units/Wrapper/Wrapper.h"

KV_REGISTER_CLASS(NonMenuSystem::NonMenuSystem);

namespace NonMenuSystem {

namespace {
Agent::MessageAgent* Agent() { return kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent); }
WidgetManager::WidgetManager* Manager() {
  return kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
}
constexpr int32_t kScreenWidth = 960;
constexpr int32_t kScreenHeight = 540;
// A centred screen stands this much above the middle.
constexpr int32_t kCentreLift = 18;

// An open screen of a layer above the banner's, other than the help bar and
// the notices (which stand over the banner on purpose).
bool ScreenOverBanner() {
  for (kv::Object* item : Manager()->Snapshot()) {
    auto* form = kv::Cast<Primitives::KeyRoutingForm>(item);
    if (!form || !form->IsOpen() || !form->IsVisible() || form->Layer <= kWidgetLayer) continue;
    if (form->WinID == WinIDs::WIN_ID_HelpBar || kv::Cast<DirectMessageBar>(form)) continue;
    return true;
  }
  return false;
}

}  // namespace

NonMenuSystem::NonMenuSystem() {
  clearWaitingCircleTimer_.OnSetBegin(kClearWaitingCircleDelay);
  clearWaitingCircleTimer_.OnSetPeriod(0);
  clearWaitingCircleTimer_.OnTrigger = kv::MakeSlot(this, &NonMenuSystem::ClearWaitingCircle);
  timerStandbyTimer_.OnSetBegin(kTimerStandbyDelay);
  timerStandbyTimer_.OnSetPeriod(0);
  timerStandbyTimer_.OnTrigger = kv::MakeSlot(this, &NonMenuSystem::TimerStandby);
}

void NonMenuSystem::Initialize(Primitives::KeyRoutingParameter* param) {
  InitializeOnScreen(param);
  if (!watchingForms_) {
    kv::AttachObjObserver(kv::MakeSlot(this, &NonMenuSystem::FormLeft), Manager());
    watchingForms_ = true;
  }
}

void NonMenuSystem::Close() {
  if (watchingForms_) {
    kv::DetachObjObserver(kv::MakeSlot(this, &NonMenuSystem::FormLeft), Manager());
    watchingForms_ = false;
  }
  CloseOnScreen();
}

void NonMenuSystem::FormLeft(kv::Object*) {
  // Looked at once the pass is over, when whatever replaces the screen
  // (the next step of a dialog, the menu) is open.
  if (watchingForms_) kv::PostSignal(kv::MakeSlot(this, &NonMenuSystem::AskAgainForPicture));
}

void NonMenuSystem::TakeFocus() {
  if (Core::Group* owner = Owner()) owner->OnSetFocus(this);
}

// --- Opening screens ---------------------------------------------------------------

bool NonMenuSystem::InStandby() {
  Core::Root* root = GetRoot();
  return root && root->IsInStandby();
}

Primitives::KeyRoutingForm* NonMenuSystem::ChangeState(SubSystem::State* state) {
  // A class that does not exist yet opens nothing, quietly.
  if (!state || !state->Class) return nullptr;
  Primitives::KeyRoutingForm* form = SubSystemClass::ChangeState(state);
  if (!form || !form->SubSystemClass || !KvClass()->Is(form->SubSystemClass)) return form;
  auto* widget = kv::Cast<WidgetClass>(form);
  if (!widget) return form;
  // A set in standby shows nothing: a screen opened then (a banner for a
  // channel acquired as the menu closed, a notice, a question) would stand
  // on the dark screen, and still be there, stale, on waking.
  if (InStandby()) {
    kv::Log("NonMenuSystem: " + std::string(widget->KvClass()->name) + " not opened in standby");
    return nullptr;
  }
  auto* param = kv::New<Primitives::KeyRoutingParameter>();
  param->Owner = this;
  param->Param = state->Param.get();
  widget->OnSetNonMenuSystem(this);
  const SubSystem::OpeningScope opening(widget);
  widget->Initialize(param);
  const kv::Rect b = widget->Bounds();
  kv::Point at = widget->WidgetOrigin;
  if (at.x == -1 && at.y == -1) {
    at = ::Wrapper::Wrapper::GetCenterPosition(kScreenWidth, kScreenHeight, b.W(), b.H());
    at.y -= kCentreLift;
  }
  widget->OnSetBounds({at.x, at.y, at.x + b.W(), at.y + b.H()});
  widget->Open();
  // The screen it replaced may have sent the set to standby as it closed
  // (the update-done notice restarts the set): it closes as every screen
  // did, and nothing stands on the switched-off screen.
  if (InStandby()) {
    kv::Log("NonMenuSystem: " + std::string(widget->KvClass()->name) + " closed: the set went to standby");
    widget->Close();
    return nullptr;
  }
  if (widget->FocusOnOpen && widget->IsOpen() && !KeysStayWithScreen(widget)) {
    OnSetFocus(widget);
    StandInFrontOfDialogs(widget);
    HoldKeysOverModalScreen(widget);
  }
  return form;
}

void NonMenuSystem::HoldKeysOverModalScreen(WidgetClass* widget) {
  // The root hands every key to its modal screen (a step of the network
  // wizard) and to nothing beside it: a screen that takes the keys as it
  // opens over one (a question the set raises, a notice that takes every
  // key) would show with its button in focus while OK acted on the screen
  // under it. It holds the keys the same way while it shows: modal above
  // that screen, until its Close ends it and the keys are the modal
  // screen's again.
  Core::Root* root = widget->GetRoot();
  Core::Group* modal = root ? root->GetModalGroup() : nullptr;
  if (!modal || widget->Forms::Form::IsModal()) return;
  for (Core::View* v = widget; v; v = v->Owner())
    if (v == modal) return;
  widget->Forms::Form::BeginModal();
}

void NonMenuSystem::StandInFrontOfDialogs(WidgetClass* widget) {
  // The widget manager stacks a new screen behind the open screens of a
  // higher layer. A screen that takes the keys as it opens (a question the
  // set raises: an update found, the 3D information) must not be hidden by
  // a dialog that no longer has them (the Record key's choice): it stands in
  // front of every such dialog it overlaps, which waits behind it for the
  // keys to come back. The notices, the volume and mute bars and the help
  // bar stay in front, at their own places.
  if (kv::Cast<DirectMessageBar>(widget) || widget->Owner() != this) return;
  const int32_t at = GetChildIndex(widget);
  int32_t front = at;
  for (int32_t i = at + 1; i < GetChildCount(); ++i) {
    auto* other = kv::Cast<Primitives::KeyRoutingForm>(GetChild(i));
    if (!other || !other->IsOpen() || !other->IsVisible() || other->WinID == WinIDs::WIN_ID_HelpBar) continue;
    if (kv::Cast<DirectMessageBar>(other) || kv::Cast<VolumeMuteBar>(other)) continue;
    if (other->GetAbsoluteBounds().Intersects(widget->GetAbsoluteBounds())) front = i;
  }
  if (front > at) Restack(widget, front - at);
}

Primitives::KeyRoutingForm* NonMenuSystem::Open(const kv::Class* cls, kv::Object* param) {
  if (!cls) return nullptr;
  auto* state = kv::New<SubSystem::State>();
  state->Class = cls;
  state->Param = param;
  return ChangeState(state);
}

Primitives::KeyRoutingForm* NonMenuSystem::OpenWithValue(const kv::Class* cls, int32_t value, int32_t code) {
  if (!cls) return nullptr;
  auto* ref = kv::New<SkinBin::UserRefInt>();
  ref->Value = value;
  ref->Code = code;
  return Open(cls, ref);
}

DirectMessageBar* NonMenuSystem::ShowMessage(int32_t type) {
  // The cooling fan's notice takes every key until the set is switched off:
  // every screen goes first, none stays under it that nothing could close.
  // (In standby ChangeState opens nothing, a notice neither.)
  if (type == Constants::DirectMsgTypeCoolingFanStopped) ClearAll();
  // The signal's failure speaks of live TV's picture: not over an
  // application that owns the screen, where it would take the Exit that
  // ends the application. Live TV asks again once the application ends.
  if (type == Constants::DirectMsgTypeSignalFailure && Live::PictureNotOurs()) return nullptr;
  return kv::Cast<DirectMessageBar>(
      OpenWithValue(&DirectMessageBar::StaticClass(), type, Constants::MSG_FROM_NONMENUSYSTEM));
}

Primitives::KeyRoutingForm* NonMenuSystem::ShowConfirmDialog(int32_t type, int32_t code) {
  return OpenWithValue(KV_LATE_CLASS("NonMenuSystem::ConfirmMultiOptionDialog"), type, code);
}

DirectMessageBar* NonMenuSystem::MessageBar() {
  return kv::Cast<DirectMessageBar>(Manager()->FindForm(WinIDs::WIN_ID_DirectMessageBar));
}

void NonMenuSystem::ClearAll() {
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_CLEAR_ALL, nullptr);
  Agent()->Dispatch(msg);
}

void NonMenuSystem::ShowInfoBar(bool force, int32_t source) {
  // No banner under an open menu: the event agent keeps the acquisition
  // unhandled while a menu form is open and hands it on again when the
  // menu closes, and the banner shows then.
  if (Manager()->HasWidgetInGroup(Constants::WIN_GROUP_MENU << 24) || Live::MenuShown()) return;
  // Nor under a screen the viewer opened over the picture since (the quick
  // menu, a dialog, a bar): a banner opening there would take its keys.
  if (!Manager()->FindForm(WinIDs::WIN_ID_InfoBanner) && ScreenOverBanner()) return;
  ::Wrapper::Wrapper* w = Live::Base();
  int32_t key = 0;
  bool tuner = false;
  if (source >= 0 && Live::IsTunerType(w->GetSourceType(source))) {
    tuner = true;
    if (Structures::VirtualChannel* ch = w->GetCurrentChannel()) key = ::Wrapper::Wrapper::UniteChannelNum(ch->Major, ch->Minor);
  }
  if (!force) {
    if (source == BannerSource && !tuner) return;
    if (tuner && key == BannerChannel) return;
  }
  if (source >= 0) {
    BannerSource = source;
    BannerChannel = key;
  }
  Primitives::KeyRoutingForm* form = Manager()->FindForm(WinIDs::WIN_ID_InfoBanner);
  if (!form) form = Open(&InfoBanner::StaticClass());
  if (auto* banner = kv::Cast<InfoBanner>(form)) {
    banner->OnSetInfoKeyPressed(false);
    banner->LoadSettings();
  }
}

// --- Waiting circle, help bar, screen saver, timers ---------------------------------

void NonMenuSystem::ShowWaitingCircle(int32_t mode, int32_t kind) {
  ::Wrapper::Wrapper* w = Live::Base();
  WaitingCircle* circle = waitingCircle_.get();
  switch (mode) {
    case WAITING_SHOW:
      // Nor the waiting circle or the record flag on the dark screen.
      if (InStandby()) return;
      if (circle && circle->IsVisible()) {
        RestackTop(circle);
        return;
      }
      if (circle) {
        circle->OnSetVisible(true);
      } else {
        circle = kv::New<WaitingCircle>();
        waitingCircle_ = circle;
        Add(circle);
        if (kind == WAITING_KIND_CIRCLE) circle->OnSetWaitingImage(WaitingCircle::CircleImage());
        if (kind == WAITING_KIND_RECORD_FLAG) circle->OnSetWaitingImage(WaitingCircle::RecordFlagImage());
        const kv::Rect b = circle->Bounds();
        circle->OnSetBounds({940 - b.W(), 20, 940, 20 + b.H()});
      }
      w->StartAnimation();
      RestackTop(circle);
      break;
    case WAITING_HIDE:
      if (circle && circle->IsVisible()) {
        circle->OnSetVisible(false);
        w->StopAnimation();
      }
      break;
    case WAITING_REMOVE:
      if (circle) {
        if (circle->IsVisible()) w->StopAnimation();
        circle->ImageView().OnSetAnimated(false);
        if (circle->Owner() == this) Remove(circle);
        waitingCircle_ = nullptr;
      }
      break;
    default:
      break;
  }
}

void NonMenuSystem::ClearWaitingCircle(kv::Object*) {
  clearWaitingCircleTimer_.OnSetEnabled(false);
  ShowWaitingCircle(WAITING_REMOVE, WAITING_KIND_CIRCLE);
}

void NonMenuSystem::UpdateHelp(int32_t mask, const kv::String& strings) {
  auto* text = kv::New<Structures::RefString>();
  text->Value = strings;
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_UPDATE_HELP_BAR, text, mask);
  HandleMessage(msg);
}

void NonMenuSystem::ClearHelpBar() {
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_CLEAR_HELP_BAR, nullptr);
  HandleMessage(msg);
}

void NonMenuSystem::UpdateHelpBar(Structures::Message* msg) {
  // The keys belong to the screen being opened, else to the one in focus.
  Primitives::KeyRoutingForm* owner = SubSystem::OpeningScreen();
  if (!owner) owner = HelpBar::ScreenInFocus(this);
  auto* bar = kv::Cast<HelpBar>(Manager()->FindForm(WinIDs::WIN_ID_HelpBar));
  if (!bar) bar = kv::Cast<HelpBar>(Open(&HelpBar::StaticClass()));
  if (!bar) return;
  auto* text = kv::Cast<Structures::RefString>(msg->ObjParam.get());
  bar->PutUpFor(owner, msg->IntParam, text ? text->Value : bar->OnGetHelpStringList());
}

void NonMenuSystem::ExitScreenSaver() {
  ScreenSaverWindow* saver = screenSaver_.get();
  screenSaver_ = nullptr;
  if (saver) saver->Close();
}

void NonMenuSystem::ScreenSaverClosed(ScreenSaverWindow* saver) {
  // Forgetting the saver when it closes (also by ClearAll or a newer screen)
  // lets the next MSG_ENTER_SCREEN_SAVER open one again.
  if (screenSaver_.get() == saver) screenSaver_ = nullptr;
}

void NonMenuSystem::EnterScreenSaver() {
  ClearAll();
  if (screenSaver_) return;
  auto* saver = kv::Cast<ScreenSaverWindow>(Open(&ScreenSaverWindow::StaticClass()));
  if (!saver || !saver->IsOpen()) return;
  screenSaver_ = saver;
  saver->IsShortcut = false;
  saver->ReturnToPrevious = false;
}

void NonMenuSystem::TimerStandby(kv::Object*) {
  timerStandbyTimer_.OnSetEnabled(false);
  auto* standby = kv::New<Events::XPM_EVENT_STANDBY>();
  if (Core::Root* root = GetRoot()) root->DispatchEvent(standby);
}

void NonMenuSystem::SetQuickMenuIndex(uint32_t index, int32_t value) {
  if (index < kQuickMenuIndexes) quickMenuIndexes_[index] = value;
}

int32_t NonMenuSystem::GetQuickMenuIndex(uint32_t index) const {
  return index < kQuickMenuIndexes ? quickMenuIndexes_[index] : 0;
}

// --- Messages ------------------------------------------------------------------------

void NonMenuSystem::HandleMessage(Structures::Message* msg) {
  if (!msg) return;
  switch (msg->Code) {
    case Constants::MSG_CLEAR_ALL:
      Manager()->CloseLayers(Constants::LAYER_MASK_NONMENU);
      ClearWaitingCircle();
      break;
    case Constants::MSG_CHANGE_STATE:
      TakeFocus();
      ChangeState(kv::Cast<SubSystem::State>(msg->ObjParam.get()));
      break;
    case Constants::MSG_CHANGE_APPEARANCE:
      if (msg->IntParam == Constants::APPEARANCE_FOCUS) TakeFocus();
      break;
    case Constants::MSG_UPDATE_HELP_BAR:
      UpdateHelpBar(msg);
      break;
    case Constants::MSG_CLEAR_HELP_BAR:
      if (Primitives::KeyRoutingForm* bar = Manager()->FindForm(WinIDs::WIN_ID_HelpBar)) bar->Close();
      break;
    case Constants::MSG_EVENT_CACHED: {
      auto* event = kv::Cast<Core::Event>(msg->ObjParam.get());
      if (kv::Cast<Events::XPM_EVENT_CHANNEL_ACQUIRED>(event) || kv::Cast<Events::XPM_EVENT_SOURCE_ACQUIRED>(event)) {
        HandleCachedAcquired(event);
      } else if (kv::Cast<Events::XPM_EVENT_UBN_UPDATE_REMIND>(event) ||
                 kv::Cast<Events::XPM_EVENT_UBN_MEDIA_INSERTED>(event)) {
        TakeFocus();
        HandleUBNEvent(event);
      }
      break;
    }
    case Constants::MSG_SHOW_WAITING_CIRCLE:
      ShowWaitingCircle(msg->IntParam, WAITING_KIND_CIRCLE);
      break;
    case Constants::MSG_SHOW_MESSAGE:
      ShowMessage(msg->IntParam);
      break;
    case Constants::MSG_CLEAR_MESSAGE:
      if (DirectMessageBar* bar = MessageBar()) {
        if (bar->MessageType == Constants::DirectMsgTypeSignalFailure ||
            bar->MessageType == Constants::DirectMsgTypeAudioConfigWarning)
          bar->Close();
      }
      break;
    case Constants::MSG_MM_STATUS_INFO:
      HandleMediaStatus(msg);
      break;
    case Constants::MSG_ENTER_SCREEN_SAVER:
      EnterScreenSaver();
      break;
    case Constants::MSG_EXIT_SCREEN_SAVER:
      ExitScreenSaver();
      break;
    case Constants::MSG_RECORD_SLEEP_WARNING:
      ClearAll();
      ShowConfirmDialog(Constants::ConfirmTypeRecordSleepWarning, Constants::MSG_FROM_NONMENUSYSTEM);
      break;
    default:
      break;
  }
}

void NonMenuSystem::HandleCachedAcquired(Core::Event* event) {
  // The full guide shows and follows the channel it tuned itself: the
  // event goes to it, and no banner replaces it.
  if (kv::Cast<Events::XPM_EVENT_CHANNEL_ACQUIRED>(event)) {
    if (Primitives::KeyRoutingForm* guide = Manager()->FindForm(WinIDs::WIN_ID_FullEPGDialog)) {
      guide->HandleEvent(event);
      return;
    }
  }
  if (DirectMessageBar* bar = MessageBar()) {
    switch (bar->MessageType) {
      case Constants::DirectMsgTypeNetworkUpgradeComplete:
      case Constants::DirectMsgTypeUSBUpgradeComplete:
        return;
      case Constants::DirectMsgTypeNoUpgradeAvailable:
      case Constants::DirectMsgTypeUpgradeWarning:
      case Constants::DirectMsgTypeUpgradeError:
      case Constants::DirectMsgTypeNetworkUnavailable:
        bar->Close();
        break;
      default:
        break;
    }
  }
  HandleSignalEvent(event);
}

bool NonMenuSystem::SetupRunning() const {
  // The setup's sequencer stands beside the application, under the root.
  const kv::Class* setup = KV_LATE_CLASS("MainApp::InitialSetup");
  const Core::Group* top = GetRoot();
  if (!setup || !top) return false;
  for (int32_t i = 0; i < top->GetChildCount(); ++i) {
    auto* group = kv::Cast<Core::Group>(top->GetChild(i));
    if (group && group->KvClass()->Is(setup) && group->GetChildCount() > 0) return true;
  }
  return false;
}

void NonMenuSystem::HandleMediaStatus(Structures::Message* msg) {
  auto* status = kv::Cast<Events::StatusEvent>(msg->ObjParam.get());
  if (!status) return;
  if (Live::USBSDAutoStart() != 1 || status->Code != 18 || status->SubCode0 != 4) return;
  if (Live::NetApp() || Live::AppCriticalSection()) return;
  WidgetManager::WidgetManager* wm = Manager();
  for (uint32_t id : {WinIDs::WIN_ID_NetworkWidget, WinIDs::WIN_ID_3D_Dialog, WinIDs::WIN_ID_UBN_Updating,
                      WinIDs::WIN_ID_UBN_Message})
    if (wm->FindForm(id)) return;
  if (wm->HasWidgetInGroup(WinIDs::WIN_ID_MediaPlayer) && !wm->FindForm(WinIDs::WIN_ID_PhotoFrame)) return;
  // Nor while the first-time setup runs: its pages hold the keys until it
  // is done, and the question would stand over them and take the keys.
  if (SetupRunning()) return;
  const kv::Class* dialog = KV_LATE_CLASS("MediaPlayer::MediaPlayerOpenConfirmDialog");
  const kv::Class* paramClass = KV_LATE_CLASS("MediaPlayer::SelectedParam");
  if (!dialog || !paramClass) return;
  auto* appearance = kv::New<Structures::Message>();
  appearance->Initialize(Constants::MSG_CHANGE_APPEARANCE, nullptr, Constants::APPEARANCE_FOCUS);
  Agent()->DispatchTo(appearance, &StaticClass());
  // The parameter carries the medium (SubCode2); its class sets it from the status event.
  Open(dialog, kv::NewObjectIndirect(paramClass, status));
}

}  // namespace NonMenuSystem
