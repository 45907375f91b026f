#include "units/NonMenuSystem/DirectMessageBar.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/NonMenuSystem.h"
#include "strings/Strings.h"
#include "units/Agent/EventAgent.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Core/SeenTexts.h"
#include "units/Events/MediaRemovedEvent.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/Structures/Message.h"
#include "units/SubSystem/State.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(NonMenuSystem::DirectMessageBar);

namespace NonMenuSystem {

using namespace keys;

namespace {

constexpr int32_t kWidth = 420;
constexpr int32_t kHeight = 60;
constexpr kv::Point kOrigin{270, 450};
constexpr uint32_t kLayer = 256;
// A notice that closes by itself within this many milliseconds passes.
constexpr int32_t kPassingTimeOut = 2000;
// A notice moved off the channel browser's strip keeps this gap above it.
constexpr int32_t kBrowserGap = 4;
// The empty columns the text keeps on each side, inside the frame's rim.
constexpr int32_t kTextMargin = 10;

enum class Text { Keep, Plain, Prefixed, FailReason, GameTime, SleepTimer };
enum class Icon { Keep, Hidden, Alert, AlertLeft };
enum class Place { Keep, SizeBefore, SizeAndOriginAfter, CentredAfter };
enum class OnTimeOut { Keep, Nothing, Close, NextState };

// One row of the message types.
struct MessageRow {
  int32_t type;
  Text text;
  kv::MultiTextId id;
  Icon icon;
  Place place;
  int32_t w, h;
  int32_t timeout;  // 0: keep
  OnTimeOut action;
  bool mediaFrame;
};

using namespace Constants;
using namespace Strings;

constexpr kv::MultiTextId kNone{};

const MessageRow kRows[] = {
    {DirectMsgTypeSignalFailure, Text::FailReason, kNone, Icon::Hidden, Place::Keep, 0, 0, 0, OnTimeOut::Nothing, false},
    {DirectMsgTypeIncorrectPin, Text::Prefixed, SID_MSG_LOCKS_INCORRECT_PIN_CODE, Icon::AlertLeft, Place::SizeBefore, 330, 46, 0, OnTimeOut::Close, false},
    {DirectMsgTypeZeroPin, Text::Plain, SID_MSG_LOCKS_ZERO_PIN_CODE, Icon::Keep, Place::SizeBefore, 320, 46, 0, OnTimeOut::Close, false},
    {DirectMsgTypeNotAvailable, Text::Prefixed, SID_NOT_AVAILABLE, Icon::Alert, Place::Keep, 0, 0, 2000, OnTimeOut::Keep, false},
    {DirectMsgTypeGameTimer, Text::GameTime, kNone, Icon::Hidden, Place::Keep, 0, 0, 0, OnTimeOut::Keep, false},
    {DirectMsgTypeSleepTimer, Text::SleepTimer, kNone, Icon::Hidden, Place::Keep, 0, 0, 0, OnTimeOut::Nothing, false},
    {DirectMsgTypeNoDevicesConnected, Text::Plain, SID_NO_DEVICES_CONNECTED, Icon::Keep, Place::Keep, 0, 0, 0, OnTimeOut::Keep, false},
    {DirectMsgType3DSignalDetected, Text::Plain, SID_3D_SIGNAL_DETECTED, Icon::Hidden, Place::Keep, 0, 0, 2000, OnTimeOut::NextState, false},
    {DirectMsgType3DUnsupport, Text::Plain, SID_UNSUPPORTED_SIGNAL_FORMAT, Icon::Keep, Place::Keep, 0, 0, 0, OnTimeOut::Nothing, false},
    {DirectMsgTypeNoSignalPowerDown, Text::Plain, SID_NO_SIGNAL_POWER_DOWN_MSG, Icon::Keep, Place::Keep, 0, 0, 0, OnTimeOut::Nothing, false},
    {DirectMsgTypeAutoPowerDown, Text::Plain, SID_AUTO_POWER_DOWN_MESSAGE, Icon::Keep, Place::Keep, 0, 0, 0, OnTimeOut::Nothing, false},
    {DirectMsgTypeOnTimerShutdown, Text::Plain, SID_ON_TIMER_SHUTDOWN, Icon::Keep, Place::Keep, 0, 0, 0, OnTimeOut::Nothing, false},
    {DirectMsgTypePanelLock, Text::Plain, SID_PANEL_LOCK, Icon::Keep, Place::Keep, 0, 0, 0, OnTimeOut::Keep, false},
    {DirectMsgTypeAudioConfigWarning, Text::Plain, SID_AUDIO_CONFIG_WARNING, Icon::Keep, Place::Keep, 0, 0, 0, OnTimeOut::Nothing, false},
    {DirectMsgTypeNoUpgradeAvailable, Text::Plain, SID_NO_UPGRADE_AVAILABLE, Icon::Keep, Place::Keep, 0, 0, 0, OnTimeOut::Keep, false},
    {DirectMsgTypeUpgradeWarning, Text::Plain, SID_SWU_MSG_WARNING, Icon::Keep, Place::Keep, 0, 0, 0, OnTimeOut::Keep, false},
    {DirectMsgTypeUpgradeError, Text::Plain, SID_UPGRADE_ERROR, Icon::Alert, Place::Keep, 0, 0, 0, OnTimeOut::Nothing, false},
    {DirectMsgTypeNetworkUpgradeComplete, Text::Plain, SID_SWU_NETWORK_UPGRADE_COMPLETE_2, Icon::Hidden, Place::Keep, 0, 0, 8000, OnTimeOut::Keep, false},
    {DirectMsgTypeUSBUpgradeComplete, Text::Plain, SID_SWU_MSG_ATTENTION_COMPLETE, Icon::Hidden, Place::Keep, 0, 0, 8000, OnTimeOut::Keep, false},
    {DirectMsgTypePinNotSet, Text::Plain, SID_PIN_IS_NOT_SET, Icon::Keep, Place::SizeBefore, 320, 46, 0, OnTimeOut::Close, false},
    {DirectMsgTypeDeviceRemoved, Text::Plain, SID_DEVICE_IS_REMOVED, Icon::Keep, Place::Keep, 0, 0, 0, OnTimeOut::Keep, false},
    {DirectMsgTypeChannelLock, Text::Plain, SID_CH_LOCKED, Icon::Hidden, Place::SizeAndOriginAfter, 360, 40, 2000, OnTimeOut::Close, false},
    {DirectMsgTypeInputLock, Text::Plain, SID_INPUT_LOCK, Icon::Hidden, Place::SizeAndOriginAfter, 360, 40, 2000, OnTimeOut::Close, false},
    {DirectMsgTypeRatingLock, Text::Plain, SID_CH_RATINGS, Icon::Hidden, Place::SizeAndOriginAfter, 360, 40, 2000, OnTimeOut::Close, false},
    {DirectMsgTypeLowSignal, Text::Plain, SID_CH_LOW_SIGNAL, Icon::Hidden, Place::Keep, 0, 0, 0, OnTimeOut::Keep, false},
    {DirectMsgTypeCBLowSignal, Text::Plain, SID_CH_LOW_SIGNAL, Icon::Hidden, Place::SizeAndOriginAfter, 360, 40, 2000, OnTimeOut::Close, false},
    {DirectMsgTypePleaseWait, Text::Plain, SID_MSG_PLEASE_WAIT, Icon::Hidden, Place::Keep, 0, 0, 0, OnTimeOut::Nothing, false},
    {DirectMsgTypeCoolingFanStopped, Text::Plain, SID_MSG_COOLING_FAN_STOPPED, Icon::Keep, Place::Keep, 0, 0, 0, OnTimeOut::Nothing, false},
    {DirectMsgTypeNetworkUnavailable, Text::Plain, SID_NETWORK_UNAVAILABLE, Icon::Keep, Place::Keep, 0, 0, 0, OnTimeOut::Nothing, false},
    {DirectMsgTypeUSBOverCurrent, Text::Plain, SID_USB_OVER_CURRENT_DETECTED, Icon::Hidden, Place::CentredAfter, 0, 0, 2000, OnTimeOut::Keep, false},
    {DirectMsgTypeNAInTVMode, Text::Plain, SID_NOT_AVAILABLE_FROM_CURRENT_VIDEO_MODE, Icon::Keep, Place::Keep, 0, 0, 2000, OnTimeOut::Keep, false},
    {DirectMsgTypeResetYahooWarning, Text::Plain, SID_RESET_YAHOO_WARNING, Icon::Keep, Place::Keep, 0, 0, 0, OnTimeOut::Keep, false},
    {DirectMsgTypeRecordDiskFull, Text::Plain, MSG_TEXT_34, Icon::Keep, Place::Keep, 0, 0, 0, OnTimeOut::Keep, false},
    {DirectMsgTypeRecordSignalLost, Text::Plain, MSG_TEXT_35, Icon::Keep, Place::Keep, 0, 0, 0, OnTimeOut::Keep, false},
    {DirectMsgTypeRecordNoUSBDisk, Text::Plain, MSG_TEXT_36, Icon::Keep, Place::Keep, 0, 0, 0, OnTimeOut::Keep, false},
    {DirectMsgTypeRecordDiskTooSlow, Text::Plain, MSG_TEXT_37, Icon::Keep, Place::Keep, 0, 0, 0, OnTimeOut::Keep, false},
    {DirectMsgTypeRecordNotAllowed, Text::Plain, MSG_TEXT_38, Icon::Keep, Place::Keep, 0, 0, 0, OnTimeOut::Keep, false},
    {DirectMsgTypeRecordFailed, Text::Plain, MSG_TEXT_39, Icon::Keep, Place::Keep, 0, 0, 0, OnTimeOut::Keep, false},
    {DirectMsgTypeRecordStopped, Text::Plain, MSG_TEXT_40, Icon::Hidden, Place::Keep, 0, 0, 0, OnTimeOut::Keep, false},
    {DirectMsgTypeNotAvailableWhileRecording, Text::Plain, MSG_TEXT_41, Icon::Alert, Place::Keep, 0, 0, 5000, OnTimeOut::Keep, false},
    {DirectMsgTypeTimeshiftStopped, Text::Plain, MSG_TEXT_42, Icon::Hidden, Place::Keep, 0, 0, 0, OnTimeOut::Keep, false},
    {DirectMsgTypeTimerConflict, Text::Plain, MSG_TEXT_43, Icon::Alert, Place::Keep, 0, 0, 2000, OnTimeOut::Keep, false},
    {DirectMsgTypeInvalidTimerId, Text::Plain, MSG_TEXT_44, Icon::Hidden, Place::CentredAfter, 0, 0, 4000, OnTimeOut::Keep, true},
    {DirectMsgTypeInvalidTimerDuration, Text::Plain, MSG_TEXT_45, Icon::Hidden, Place::CentredAfter, 0, 0, 4000, OnTimeOut::Keep, true},
    {DirectMsgTypeTimerOverlap, Text::Plain, MSG_TEXT_46, Icon::Hidden, Place::CentredAfter, 0, 0, 4000, OnTimeOut::Keep, true},
    {DirectMsgTypeDisableTimerSetting, Text::Plain, MSG_TEXT_47, Icon::Alert, Place::Keep, 0, 0, 2000, OnTimeOut::Keep, false},
    {DirectMsgTypeInvalidTimerStarttime, Text::Plain, MSG_TEXT_48, Icon::Hidden, Place::CentredAfter, 0, 0, 5000, OnTimeOut::Keep, true},
    {DirectMsgTypeInvalidTimerChannel, Text::Plain, MSG_TEXT_49, Icon::Hidden, Place::CentredAfter, 0, 0, 4000, OnTimeOut::Keep, true},
    {DirectMsgTypeRecordingNotDeletable, Text::Plain, MSG_TEXT_50, Icon::Hidden, Place::CentredAfter, 0, 0, 4000, OnTimeOut::Keep, true},
};

const MessageRow* FindRow(int32_t type) {
  for (const MessageRow& r : kRows)
    if (r.type == type) return &r;
  return nullptr;
}

bool IsExitKey(uint16_t code) { return code == KEY_EXIT || code == KEY_EXIT_ALT; }

// The key table: how each type answers keys before the base handling.
enum class KeyRule {
  Base,                 // every key goes to the base handling
  ClosedByAnyKey,       // any key closes the bar
  HoldsEveryKey,        // every key is consumed
  UpgradeError,         // exit keys go to the base, every other key is consumed
  ClearsAllOnOk,        // OK and exit close every screen; every key is consumed
  StopsShutdownOnExit,  // exit keys stop the on-timer shutdown, then the base
  ClosedByOk,           // OK, back and exit close the bar
  KeepsBackAndExit,     // back and exit are consumed (kept from live TV); mute may unlock
};

KeyRule RuleOf(int32_t type) {
  switch (type) {
    case DirectMsgTypeIncorrectPin:
    case DirectMsgTypeZeroPin:
    case DirectMsgTypePinNotSet:
    case DirectMsgTypeInvalidTimerId:
    case DirectMsgTypeInvalidTimerDuration:
    case DirectMsgTypeTimerOverlap:
      return KeyRule::ClosedByAnyKey;
    case DirectMsgType3DSignalDetected:
    case DirectMsgTypeNetworkUpgradeComplete:
    case DirectMsgTypeUSBUpgradeComplete:
    case DirectMsgTypePleaseWait:
    case DirectMsgTypeCoolingFanStopped:
      return KeyRule::HoldsEveryKey;
    case DirectMsgTypeUpgradeError:
      return KeyRule::UpgradeError;
    case DirectMsgTypeNetworkUnavailable:
    case DirectMsgTypeUSBOverCurrent:
      return KeyRule::ClearsAllOnOk;
    case DirectMsgTypeOnTimerShutdown:
      return KeyRule::StopsShutdownOnExit;
    case DirectMsgTypeAudioConfigWarning:
      return KeyRule::ClosedByOk;
    case DirectMsgTypeSignalFailure:
      return KeyRule::KeepsBackAndExit;
    default:
      return KeyRule::Base;
  }
}

int32_t MainWindowStatus() {
  return kv::GetAutoObject<Agent::EventAgent>(MainApp::EventAgent)->GetMainWindowAcquiredStatus();
}

}  // namespace

DirectMessageBar::DirectMessageBar() {
  WinID = WinIDs::WIN_ID_DirectMessageBar;
  // A notice stands at the place its type gives, over whatever is open.
  Core::MarkStandsApart(this, true);
  Layer = kLayer;
  OnTimeOut = kv::MakeSlot(this, &WidgetClass::ExitSlot);
  IsPersistent = false;
  KeyRoutingForm::OnSetBounds({0, 0, kWidth, kHeight});
  WidgetOrigin = kOrigin;
  background_.OnSetVisible(false);
  frame_.OnSetBitmap(Resources::LoadResource(Bitmaps::MiniGuideBackground));
  frame_.OnSetVisible(true);
  text_.OnSetFont(Resources::LoadResource(Fonts::BannerBasicInfo));
  text_.OnSetColor(Colors::StandardTextColor);
  text_.OnSetAlignH(1);
  text_.OnSetAlignV(1);
  text_.OnSetBounds({0, 0, 520, 80});
  icon_.OnSetAutoSize(true);
  icon_.OnSetBounds({20, 10, 60, 50});
  icon_.OnSetVisible(false);
  Add(&icon_);
  Add(&text_);
  DirectMessageBar::Refresh();
}

void DirectMessageBar::Initialize(Primitives::KeyRoutingParameter* param) {
  WidgetClass::Initialize(param);
  if (auto* ref = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr) OnSetMessageType(ref->Value);
}

void DirectMessageBar::Resize(int32_t w, int32_t h) {
  const kv::Rect b = Bounds();
  OnSetBounds({b.x1, b.y1, b.x1 + w, b.y1 + h});
}

void DirectMessageBar::ShowAlert(bool atLeft) {
  icon_.OnSetBitmap(Resources::LoadResource(Bitmaps::Alert_Large));
  const kv::Rect ib = icon_.Bounds();
  if (atLeft) {
    const int32_t y = (Bounds().H() - ib.H()) / 2;
    icon_.OnSetBounds({5, y, 5 + ib.W(), y + ib.H()});
  } else {
    icon_.OnSetBounds({20, 10, 20 + ib.W(), 10 + ib.H()});
  }
  icon_.OnSetVisible(true);
}

void DirectMessageBar::HideIcon() { icon_.OnSetVisible(false); }

void DirectMessageBar::OnSetMessageType(int32_t type) {
  kv::Trace("%s%i", {kv::LoadString(T_MSG_TYPE), type});
  MessageType = type;
  fitted_ = false;
  Resize(kWidth, kHeight);
  WidgetOrigin = kOrigin;
  const MessageRow* row = FindRow(type);
  if (!row) return;

  if (row->place == Place::SizeBefore) Resize(row->w, row->h);
  switch (row->icon) {
    case Icon::Hidden: HideIcon(); break;
    case Icon::Alert: ShowAlert(false); break;
    case Icon::AlertLeft: ShowAlert(true); break;
    case Icon::Keep: break;
  }
  if (row->mediaFrame) frame_.OnSetBitmap(Resources::LoadResource(Bitmaps::MediaQuickMenuBg));

  kv::String text;
  switch (row->text) {
    case Text::Plain:
      text = kv::GetVariantOfString(row->id);
      break;
    case Text::Prefixed:
      text = kv::ConcatString(kv::LoadString(MSG_PREFIX), kv::GetVariantOfString(row->id));
      break;
    case Text::FailReason:
      text = Live::FailReasonText(MainWindowStatus());
      break;
    case Text::GameTime:
      switch (Live::RemainGameTime()) {
        case 10: text = kv::GetVariantOfString(SID_GAME_TIMER_10_MIN_LEFT); break;
        case 3: text = kv::GetVariantOfString(SID_GAME_TIMER_3_MIN_LEFT); break;
        case 1: text = kv::GetVariantOfString(SID_GAME_TIMER_1_MIN_LEFT); break;
        case 0: text = kv::GetVariantOfString(SID_GAME_TIMER_DONE); break;
        default: break;
      }
      break;
    case Text::SleepTimer:
      text = kv::ConcatString(kv::ConcatString(kv::GetVariantOfString(SID_TIMER_STARTING_MESSAGE),
                                               kv::GetVariantOfString(MSG_SEPARATOR)),
                              kv::GetVariantOfString(SID_SLEEP_TIMER));
      break;
    case Text::Keep:
      break;
  }
  // The signal-failure and game-timer notices without a text close at once
  // rather than show an empty notice.
  if ((row->text == Text::FailReason || row->text == Text::GameTime) && text.Length() == 0) {
    Post(&WidgetClass::ExitSlot);
    return;
  }
  OnSetMessageInfo(text);

  if (row->place == Place::SizeAndOriginAfter) {
    Resize(row->w, row->h);
    WidgetOrigin = {550, 370};
  } else if (row->place == Place::CentredAfter) {
    WidgetOrigin = {-1, -1};
  }
  if (row->timeout > 0) OnSetTimeOutValue(row->timeout);
  switch (row->action) {
    case OnTimeOut::Nothing:
      OnTimeOut = kv::Slot();
      closesItself_ = false;
      break;
    case OnTimeOut::Close:
      OnTimeOut = kv::MakeSlot(this, &WidgetClass::ExitSlot);
      closesItself_ = true;
      break;
    case OnTimeOut::NextState:
      NextState = KV_LATE_CLASS("ThreeD::Start3DWizard");
      OnTimeOut = kv::MakeSlot(this, &WidgetClass::EnterNextStateSlot);
      closesItself_ = false;
      break;
    case OnTimeOut::Keep: break;
  }
  // A notice of a couple of seconds that then closes passes over whatever
  // it covers, the control in focus included.
  Core::MarkPasses(this, closesItself_ && OnGetTimeOutValue() <= kPassingTimeOut);
  KeepClearOfTheBrowser();
  Post(&WidgetClass::RefreshSlot);
}

void DirectMessageBar::OnSetMessageInfo(const kv::String& text) {
  MessageInfo = text;
  fitted_ = false;
  const kv::Rect b = Bounds();
  text_.OnSetString(text);
  text_.OnSetBounds({kTextMargin, 0, b.W() - kTextMargin, b.H()});
  text_.OnSetAutoSize(true);
  const kv::Rect extent = text_.Bounds();
  text_.OnSetAutoSize(false);
  const int32_t needed = extent.H() + 30;
  if (b.H() >= needed) return;
  // The bar around the lines as they were measured, with the margins that
  // keep them off the frame's rim on both sides; the text is laid out in
  // that width again (Refresh), so that it breaks where it was measured.
  const int32_t w = extent.W() + 2 * kTextMargin;
  const int32_t growW = w - b.W();
  const int32_t growH = needed - b.H();
  fitted_ = true;
  Resize(w, needed);
  WidgetOrigin = {WidgetOrigin.x - growW / 2, WidgetOrigin.y - growH / 2};
  if (WidgetOrigin.y + needed >= 536) WidgetOrigin.y = 535 - needed;
}

void DirectMessageBar::Refresh() {
  WidgetClass::Refresh();
  const kv::Rect b = Bounds();
  int32_t left = 0;
  if (icon_.OnGetBitmap() && icon_.IsVisible()) left = icon_.Bounds().x2 + 10;
  if (MessageType == DirectMsgTypeUpgradeError) left = 30;
  // A bar fitted around its text keeps the text's margins on both sides.
  const int32_t right = fitted_ ? b.W() - kTextMargin : b.W();
  if (fitted_) left = std::max(left, kTextMargin);
  text_.OnSetBounds({left, 0, std::max(left, right), b.H()});
}

bool DirectMessageBar::AnswersKeys() const {
  const KeyRule rule = RuleOf(MessageType);
  return rule != KeyRule::Base && rule != KeyRule::KeepsBackAndExit;
}

bool DirectMessageBar::HoldsEveryKey() const { return RuleOf(MessageType) == KeyRule::HoldsEveryKey; }

kv::Object* DirectMessageBar::HandleKey(uint16_t code) {
  switch (RuleOf(MessageType)) {
    case KeyRule::ClosedByAnyKey:
      Post(&WidgetClass::ExitSlot);
      return this;
    case KeyRule::HoldsEveryKey:
      return this;
    case KeyRule::UpgradeError:
      return nullptr;  // exit keys: the base; others are consumed below
    case KeyRule::ClearsAllOnOk:
      if (code == KEY_OK || IsExitKey(code)) Post(&WidgetClass::ClearAllSlot);
      return this;
    case KeyRule::StopsShutdownOnExit:
      if (IsExitKey(code)) Live::StopOnTimerShutdownTimer();
      return nullptr;
    case KeyRule::ClosedByOk:
      if (code == KEY_OK || code == KEY_BACK || IsExitKey(code)) {
        Post(&WidgetClass::ExitSlot);
        return this;
      }
      return nullptr;
    case KeyRule::KeepsBackAndExit:
      if (code == KEY_BACK || IsExitKey(code)) return this;
      if (code == KEY_MUTE) {
        const int32_t s = MainWindowStatus();
        if (s == 4 || s == 5 || s == 20 || s == 23) {
          Post(&WidgetClass::ExitSlot);
          if (auto* sub = OnGetNonMenuSystem()) sub->Open(KV_LATE_CLASS("ParentalLocks::TempUnlock"));
          return this;
        }
      }
      return nullptr;
    case KeyRule::Base:
      return nullptr;
  }
  return nullptr;
}

kv::Object* DirectMessageBar::HandleEvent(Core::Event* event) {
  if (auto* key = kv::Cast<Core::KeyEvent>(event)) {
    if (key->Down) {
      if (kv::Object* taken = HandleKey(key->Code)) return taken;
      if (MessageType == DirectMsgTypeUpgradeError && !IsExitKey(key->Code)) return this;
    }
    return WidgetClass::HandleEvent(event);
  }
  if (kv::Cast<Events::MediaRemovedEvent>(event) && MessageType == DirectMsgTypeUSBUpgradeComplete) {
    // Close requests the reboot; it is requested once only.
    Close();
    return this;
  }
  return WidgetClass::HandleEvent(event);
}

void DirectMessageBar::KeepClearOfTheBrowser() {
  // At the foot of the screen a notice would stand on the channel browser's
  // strip, over the tile in focus, for as long as it stays while the
  // browser keeps the keys: it stands just above the strip instead, where
  // the browser's own notices stand. A centred notice stays centred.
  if (WidgetOrigin.x == -1 && WidgetOrigin.y == -1) return;
  auto* manager = kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
  Primitives::KeyRoutingForm* browser = manager ? manager->FindForm(WinIDs::WIN_ID_ChBrowserDialog) : nullptr;
  if (!browser || !browser->IsVisible()) return;
  const kv::Rect strip = browser->GetAbsoluteBounds();
  const kv::Rect bar{WidgetOrigin.x, WidgetOrigin.y, WidgetOrigin.x + Bounds().W(), WidgetOrigin.y + Bounds().H()};
  if (bar.Intersects(strip)) WidgetOrigin.y = std::max(0, strip.y1 - kBrowserGap - Bounds().H());
}

void DirectMessageBar::Close() {
  const bool wasOpen = IsOpen();
  WidgetClass::Close();
  if (!wasOpen) return;
  switch (MessageType) {
    case DirectMsgTypeSignalFailure:
      if (MessageInfo.Length() > 0) Live::ResumeSignalEvent();
      break;
    case DirectMsgTypeNetworkUpgradeComplete:
    case DirectMsgTypeUSBUpgradeComplete:
      Live::PowerKeyControl(1);
      Live::UpdateReboot();
      break;
    default:
      break;
  }
  const kv::Class* scheduleMenu = KV_LATE_CLASS("MenuSystem::VidiScheduleRecordMenu");
  if (IsShortcut && scheduleMenu && PrevState == scheduleMenu) HandBackToMenu();
}

}  // namespace NonMenuSystem
