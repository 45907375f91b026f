// The base of every state of the menu-style wireless wizard, and its cancel
// confirmation.
//
// Network::NetworkWidgetClass: one state of the wizard: a modal overlay with
// a caption, an information text, a help bar (HelpString, HelpMask) and the
// waiting circle (ShowWaiting: -1 untouched, 0 removed, 1 shown, 2 hidden).
// Its keys:
//   OK             EnterNextState; ignored while waiting
//   exit (2, 45)   ClearAll; while waiting CheckCancel (PromptCancel) or
//                  DoCancel then ClearAll
//   back (41)      EnterPrevState; while waiting CheckCancel (PromptCancel)
//                  or DoCancel then EnterPrevState
//   up, down       the previous or next control
// every key restarts the time-out and is consumed. Standby while the state
// is modal cancels its operation first (DoCancel), then hands the event to
// the standby handling. The time-out runs only while the state has the
// focus. EnterNextState hands the caption on to the next state.
//
// Network::CancelDialog: "cancel the set-up?" over a waiting state (which
// stays open, hidden). Yes stops the state's operation and goes to the
// state's previous state; No, Back or 60 s show the waiting state again
// (circle and help as they were) and hand it the connection or scan result
// that came meanwhile.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/member.h"
#include "runtime/string.h"
#include "runtime/text.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/OptionButton.h"
#include "units/Views/Border.h"
#include "units/Views/MultilineText.h"
#include "units/Views/Text.h"

namespace Core {
class Event;
}

namespace Network {

// The place and size of the wizard's states: over the menu's pages.
inline constexpr kv::Rect kWizardBounds{0, 0, 780, 330};
inline constexpr kv::Point kWizardOrigin{90, 20};

class NetworkWidgetClass : public NonMenuSystem::WidgetClass {
  KV_CLASS(Network, NetworkWidgetClass, NonMenuSystem::WidgetClass)
 public:
  static constexpr uint32_t kWinId = 0x2000027;
  // Time-outs the states use.
  static constexpr int32_t kIdleTimeOut = 60000;
  static constexpr int32_t kLongTimeOut = 120000;
  static constexpr int32_t kJoinTimeOut = 36000;
  static constexpr int32_t kNoticeTimeOut = 4000;
  static constexpr int32_t kPauseTimeOut = 2000;

  NetworkWidgetClass();

  // The inherited initialisation (transition code), the caption that came
  // with the state (ArrivedCaption), then this state's help bar.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;
  // A state that closes while it waits (standby closes every screen)
  // stops its operation and removes the circle.
  void Close() override;
  // Only stores the flag: each state keeps the time-out it set.
  void OnSetMenuTriggered(bool flag) override;
  // Closes; NextState opens with the transition code and this caption.
  void EnterNextState() override;

  // Stops the state's operation, removes the waiting circle and closes.
  virtual void DoCancel(kv::Object* sender = nullptr);
  // The middleware operation the state waits for stops (nothing here).
  virtual void StopOperation() {}
  // Hides the state and asks whether to cancel it.
  void CheckCancel(kv::Object* sender = nullptr);
  // The cancel was declined: the state shows again as it was.
  void UndoCancel();
  // The help bar shows this state's help.
  void ShowHelp();
  // Slots of the base actions for SetTimeOut.
  void ClearAllAction(kv::Object* = nullptr) { ClearAll(); }
  void PrevAction(kv::Object* = nullptr) { EnterPrevState(); }
  void NextAction(kv::Object* = nullptr) { EnterNextState(); }

  void OnSetCaption(const kv::String& text);
  const kv::String& OnGetCaption() const { return Caption; }
  void OnSetInfo(const kv::String& text);
  const kv::String& OnGetInfo() const { return Info; }
  void OnSetHelpString(const kv::String& text) { HelpString = text; }
  void OnSetHelpMask(int32_t mask) { HelpMask = mask; }
  void OnSetShowWaiting(int32_t value);
  int32_t OnGetShowWaiting() const { return ShowWaiting; }
  void OnSetPromptCancel(bool on) { PromptCancel = on; }

  kv::String Caption;
  kv::String HelpString;
  int32_t HelpMask = 0x40000;
  kv::String Info;
  int32_t ShowWaiting = -1;
  bool PromptCancel = false;
  // The caption the previous state handed on (empty when none).
  kv::String ArrivedCaption;

  Views::Text& CaptionView() { return caption_; }
  Views::MultilineText& InfoView() { return info_; }

 protected:
  // Sets the help labels from string ids, joined by the help separator.
  void SetHelp(std::initializer_list<const kv::MultiTextId*> labels, int32_t mask);
  // Time-out value and action, restarted when the state is open.
  void SetTimeOut(int32_t ms, void (NetworkWidgetClass::*action)(kv::Object*));
  // Changes state to `cls` with `param`; the form the sub-system opened
  // (null: none, and nothing happens without the sub-system).
  Primitives::KeyRoutingForm* ChangeTo(const kv::Class* cls, kv::Object* param, const kv::Class* next = nullptr);

  Views::Border border_;
  Views::Text caption_;
  Views::MultilineText info_;
};

// The yes/no option button of the wizard's questions, drawn as its two
// choices side by side, each a dialog button with its caption; the focus bar
// lies on the current choice while the button has the focus. Left and right
// move between them as on any option button.
class YesNoButton : public SkinBin::OptionButton {
  KV_CLASS(Network, YesNoButton, SkinBin::OptionButton)
 public:
  static constexpr int32_t kFaceWidth = 110;
  static constexpr int32_t kFaceHeight = 27;
  static constexpr int32_t kFaceGap = 20;
  static constexpr int32_t kWidth = 2 * kFaceWidth + kFaceGap;

  YesNoButton();
  // Reads the choices' captions from the option again.
  void LoadChoices();
  void ReInit() override;
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

  // The button that shows choice i (0 or 1).
  SkinBin::Button& Face(int32_t i) { return faces_[i == 0 ? 0 : 1]; }

 private:
  SkinBin::Button faces_[2];
};

// A yes/no question over another state (layer 128): the yes/no option
// button centred under the question, starting on its first answer; OK on
// yes is EnterNextState, on no EnterPrevState, as are back and the 60 s
// time-out.
class YesNoState : public NetworkWidgetClass {
  KV_CLASS(Network, YesNoState, NetworkWidgetClass)
 public:
  static constexpr uint32_t kLayer = 128;

  YesNoState();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  void DoActivate(kv::Object* sender = nullptr);

  YesNoButton& Choice() { return choice_; }

 protected:
  YesNoButton choice_;
};

class CancelDialog : public YesNoState {
  KV_CLASS(Network, CancelDialog, YesNoState)
 public:
  CancelDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  // Yes: the state's operation stops, its previous state opens.
  void EnterNextState() override;
  // No, Back or the time-out: the state shows again.
  void EnterPrevState() override;

  NetworkWidgetClass* Cancelled() const { return cancelled_.get(); }

 private:
  kv::Member<NetworkWidgetClass> cancelled_;
  kv::Member<Core::Event> deferred_;
};

}  // namespace Network
