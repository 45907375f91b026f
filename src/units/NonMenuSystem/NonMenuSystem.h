// NonMenuSystem::NonMenuSystem: the sub-system of every screen shown over
// the live picture outside the menu tree (banners, bars, dialogs, the help
// bar, the screen saver, the waiting indicator).
//
// - ChangeState opens a screen: a WidgetClass of this sub-system is
//   initialised with a Primitives::KeyRoutingParameter (this sub-system, the
//   state's parameter), placed at its WidgetOrigin (or centred, 18 pixels
//   above the middle), opened (the widget manager closes the open screen of
//   the same layer) and focused when its FocusOnOpen is set, but for a
//   notice that needs no keys opening over a dialog that holds them (and
//   does not hide its control in focus). A screen that took the keys
//   stands in front of the dialogs of a higher layer it overlaps. A screen
//   whose opening sent the set to standby closes again. A screen of
//   another sub-system is handed over with MSG_CHANGE_STATE. A state whose
//   class does not exist (yet) opens nothing.
// - HandleMessage takes the message agent's messages (see the .cpp).
// - HandleEvent is the live-TV dispatcher (LiveTV.cpp): the keys no screen
//   took, filtered by KeyEventNeedHandled, and the middleware events the
//   root routes here.
// - It keeps what outlives single screens: the quick-menu indexes, the
//   source and channel of the last information banner, the waiting circle,
//   the screen saver, and two one-shot timers (5000 ms waiting-circle
//   removal, 60000 ms timer standby).
// - While the picture on screen waits for the PIN (a locked channel or
//   input, a blocked programme), the PIN prompt stays: whatever screens
//   closed it (Info, a volume key, Menu), it opens again when they close.
#pragma once

#include <array>
#include <cstdint>

#include "runtime/member.h"
#include "runtime/string.h"
#include "units/Core/Timer.h"
#include "units/SubSystem/SubSystemClass.h"

namespace Core {
class Event;
class KeyEvent;
}  // namespace Core
namespace Structures {
class Message;
}

namespace NonMenuSystem {

class DirectMessageBar;
class HelpBar;
class ScreenSaverWindow;
class WaitingCircle;
class WidgetClass;

// ShowWaitingCircle modes and kinds.
inline constexpr int32_t WAITING_REMOVE = 0;
inline constexpr int32_t WAITING_SHOW = 1;
inline constexpr int32_t WAITING_HIDE = 2;
inline constexpr int32_t WAITING_KIND_CIRCLE = 1;
inline constexpr int32_t WAITING_KIND_RECORD_FLAG = 2;
inline constexpr int32_t kClearWaitingCircleDelay = 5000;
inline constexpr int32_t kTimerStandbyDelay = 60000;
inline constexpr size_t kQuickMenuIndexes = 16;

class NonMenuSystem : public SubSystem::SubSystemClass {
  KV_CLASS(NonMenuSystem, NonMenuSystem, SubSystem::SubSystemClass)
 public:
  NonMenuSystem();

  // Key-routing group initialisation, full-screen bounds, registration with
  // the message agent.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  // Key-routing group close, then deregistration.
  void Close() override;
  void HandleMessage(Structures::Message* msg) override;
  Primitives::KeyRoutingForm* ChangeState(SubSystem::State* state) override;

  // The set is in standby: no screen opens.
  bool InStandby();

  // --- The live-TV dispatcher (LiveTV.cpp) ---------------------------------------
  // Answers this sub-system when it consumed the event, else null.
  kv::Object* HandleEvent(Core::Event* event) override;
  // True when live TV may act on the key (only the low 16 bits count).
  bool KeyEventNeedHandled(uint32_t code);
  // A channel or source acquisition kept back by the event agent.
  void HandleSignalEvent(Core::Event* event);
  // Opens the PIN prompt again when the picture on screen still waits for
  // the PIN, and the no-signal notice again when the input on screen still
  // has no signal, once no screen but the help bar is open (posted whenever
  // a screen leaves the widget manager). A slot.
  void AskAgainForPicture(kv::Object* sender = nullptr);
  // The software-update reminder and update-medium events.
  void HandleUBNEvent(Core::Event* event);
  // Key 86: remembers the current channel (or source) for the Last key.
  void MarkChannel();
  // The 3D status report, and the 3D key (95).
  void Handle3DEvent(Core::Event* event);
  // The quick-menu key: ClearAll, then the quick menu.
  void HandleQuickConditions();

  // --- Helpers ------------------------------------------------------------------
  // MSG_CLEAR_ALL to every receiver of the message agent.
  void ClearAll();
  // Opens the message bar with that message type.
  DirectMessageBar* ShowMessage(int32_t type);
  // Opens the confirmation dialog with that type and transition code.
  Primitives::KeyRoutingForm* ShowConfirmDialog(int32_t type, int32_t code);
  // Shows or refreshes the information banner (source -1: the remembered one).
  void ShowInfoBar(bool force, int32_t source);
  // Mode WAITING_SHOW / HIDE / REMOVE, kind WAITING_KIND_*.
  void ShowWaitingCircle(int32_t mode, int32_t kind);
  // Stops the 5000 ms timer and removes the waiting circle. A slot.
  void ClearWaitingCircle(kv::Object* sender = nullptr);
  void UpdateHelp(int32_t mask, const kv::String& strings);
  void ClearHelpBar();
  // Closes the remembered screen saver and forgets it.
  void ExitScreenSaver();
  void ExitScreenSaverSlot(kv::Object* = nullptr) { ExitScreenSaver(); }
  // A standby event (reason 0) to the root. A slot.
  void TimerStandby(kv::Object* sender = nullptr);
  void SetQuickMenuIndex(uint32_t index, int32_t value);
  int32_t GetQuickMenuIndex(uint32_t index) const;

  // Opens a screen of `cls` with `param` (nothing when the class does not
  // exist yet); answers the screen. Open() is the sub-system's own opening.
  using SubSystem::SubSystemClass::Open;
  Primitives::KeyRoutingForm* Open(const kv::Class* cls, kv::Object* param = nullptr);
  // The same with a SkinBin::UserRefInt {value, code}.
  Primitives::KeyRoutingForm* OpenWithValue(const kv::Class* cls, int32_t value,
                                            int32_t code = 0x1a40000 /* MSG_FROM_NONMENUSYSTEM */);
  // The open message bar, or null.
  DirectMessageBar* MessageBar();
  // The screen saver tells the sub-system that it closed.
  void ScreenSaverClosed(ScreenSaverWindow* saver);
  // Gives this sub-system the focus within its owner.
  void TakeFocus();

  WaitingCircle* GetWaitingCircle() const { return waitingCircle_.get(); }
  ScreenSaverWindow* GetScreenSaver() const { return screenSaver_.get(); }
  Core::Timer& ClearWaitingCircleTimer() { return clearWaitingCircleTimer_; }
  Core::Timer& TimerStandbyTimer() { return timerStandbyTimer_; }

  // The source and channel key (major x 65536 + minor; 0 off the tuner)
  // for which the information banner was last shown.
  int32_t BannerSource = -1;
  int32_t BannerChannel = 0;

 private:
  kv::Object* HandleKey(Core::KeyEvent* key);
  // A notice that needs no keys of its own (the no-signal notice, a weak
  // signal, a recording stopped), opening while a dialog the viewer opened
  // holds the keys (a question, a list in use; not the banner, another
  // notice, the help bar or the picture's PIN prompt), leaves them there:
  // that dialog answers its keys and its time-out runs on, and the notice
  // stays in view. It gets the keys once that dialog closes (the
  // sub-system's rule for the keys after a screen closes). Not when the
  // notice hides the dialog's control in focus. And a full-screen media
  // screen that opens while a question waits for its answer or a notice
  // that holds every key shows (the cooling fan's) leaves the keys with that
  // screen. In LiveTV.cpp.
  bool KeysStayWithScreen(WidgetClass* widget);
  // A screen that took the keys as it opened moves in front of the dialogs
  // of a higher layer that would hide it.
  void StandInFrontOfDialogs(WidgetClass* widget);
  // A screen that took the keys as it opened over a modal screen is modal
  // above it while it shows, so that the keys reach it.
  void HoldKeysOverModalScreen(WidgetClass* widget);
  // The key table; false: the key is not consumed.
  bool DoKey(Core::KeyEvent* key);
  // The rules of KeyEventNeedHandled below code 104.
  bool FilterKey(uint16_t code);
  // The media check of the key filter.
  bool MediaCheck(uint16_t code);
  // The not-available notice; `clear`: ClearAll first when a screen is open.
  void NotAvailable(bool clearWhenOpen = false);
  // The notice of a channel key refused while the tuner records.
  void NotAvailableWhileRecording();
  void HandleCachedAcquired(Core::Event* event);
  // The PIN prompt of a locked channel or input, unless it is open.
  void AskForPin();
  // The widget manager's observer: a screen left it.
  void FormLeft(kv::Object* sender);
  void HandleMediaStatus(Structures::Message* msg);
  // Whether the first-time setup has a page open.
  bool SetupRunning() const;
  void EnterScreenSaver();
  void UpdateHelpBar(Structures::Message* msg);
  bool HandleOtherEvent(Core::Event* event);
  void HandleRecordStatus(int32_t status);

  kv::Member<WaitingCircle> waitingCircle_;
  kv::Member<ScreenSaverWindow> screenSaver_;
  Core::Timer clearWaitingCircleTimer_;
  Core::Timer timerStandbyTimer_;
  std::array<int32_t, kQuickMenuIndexes> quickMenuIndexes_{};
  bool watchingForms_ = false;
};

}  // namespace NonMenuSystem
