// The confirmation dialogs: one question over the picture and a fixed
// action for the answer.
//
// NonMenuSystem::ConfirmOptionDialog: the base (captioned dialog, no frame
// inset) with the question (WarningInfo, a wrapped text that grows the
// dialog), the confirm type, the button size and the Yes and No labels.
// NonMenuSystem::ConfirmOneOptionDialog (0x2000004): one button that runs
// EnterNextState. NonMenuSystem::ConfirmMultiOptionDialog (0x2000005): Yes
// and No, and the table of confirm types 2 to 65 (Constants::ConfirmDialogType,
// the table in ConfirmActions.cpp): every
// reset the menus offer, the record, timeshift and delete questions, the
// software-update questions, the timer warnings and the 3D time limit.
// Other units derive their own confirmations from these classes.
#pragma once

#include <cstdint>

#include "runtime/slot.h"
#include "runtime/string.h"
#include "units/Constants/ConfirmTypes.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/Views/MultilineText.h"

namespace NonMenuSystem {

class ConfirmOptionDialog : public KXDWidgetClass {
  KV_CLASS(NonMenuSystem, ConfirmOptionDialog, KXDWidgetClass)
 public:
  ConfirmOptionDialog();

  // The base initialisation; a SkinBin::UserRefInt's value is the confirm type.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  // The question 8 pixels inside the client area, under the caption when
  // there is one.
  void Refresh() override;

  // Keeps the text; when the wrapped text changes height, the dialog's
  // height becomes 2 x FrameWidth + 80 + the larger height (+ 30 with a caption).
  virtual void OnSetWarningInfo(const kv::String& text);
  virtual void OnSetConfirmType(int32_t type) { ConfirmType = type; }
  virtual void OnSetYesButtonLabel(const kv::String& text) { YesButtonLabel = text; }
  virtual void OnSetNoButtonLabel(const kv::String& text) { NoButtonLabel = text; }
  const kv::String& OnGetWarningInfo() const { return WarningInfo; }
  int32_t OnGetConfirmType() const { return ConfirmType; }
  const kv::String& OnGetYesButtonLabel() const { return YesButtonLabel; }
  const kv::String& OnGetNoButtonLabel() const { return NoButtonLabel; }
  // Setting either posts a Refresh.
  void OnSetItemWidth(int32_t w);
  void OnSetItemHeight(int32_t h);
  int32_t OnGetItemWidth() const { return ItemWidth; }
  int32_t OnGetItemHeight() const { return ItemHeight; }

  Views::MultilineText& WarningView() { return warning_; }

  kv::String WarningInfo;
  int32_t ConfirmType = 0;
  int32_t ItemWidth = 0;
  int32_t ItemHeight = 0;
  kv::String YesButtonLabel;
  kv::String NoButtonLabel;

 protected:
  // Two buttons of ItemWidth x ItemHeight side by side, 20 pixels apart,
  // centred, ItemHeight + FrameWidth + 25 above the bottom.
  void PlaceButtonPair(Core::View& first, Core::View& second);

  Views::MultilineText warning_;
};

class ConfirmOneOptionDialog : public ConfirmOptionDialog {
  KV_CLASS(NonMenuSystem, ConfirmOneOptionDialog, ConfirmOptionDialog)
 public:
  ConfirmOneOptionDialog();

  // The button centred, ItemHeight + FrameWidth + 20 above the bottom.
  void Refresh() override;
  void OnSetYesButtonLabel(const kv::String& text) override;
  // The focused button's help in the sub-system's help bar.
  void UpdateHelp(kv::Object* control);

  SkinBin::Button& YesButton() { return button_; }

 protected:
  SkinBin::Button button_;
};

class ConfirmMultiOptionDialog : public ConfirmOptionDialog {
  KV_CLASS(NonMenuSystem, ConfirmMultiOptionDialog, ConfirmOptionDialog)
 public:
  ConfirmMultiOptionDialog();

  // The base initialisation, then the record flag of the parameter.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  // Yes and No side by side, centred, ItemHeight + FrameWidth + 25 above the bottom.
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  // Stops the sub-system's timer standby, then closes.
  void Close() override;
  // The base ClearAll; the 3D time-limit question then aborts 3D.
  void ClearAll() override;
  void EnterNextState() override;
  void EnterPrevState() override;
  // The confirm-type table (ConfirmActions.cpp).
  void OnSetConfirmType(int32_t type) override;
  void OnSetYesButtonLabel(const kv::String& text) override;
  void OnSetNoButtonLabel(const kv::String& text) override;

  // True when leaving for `target` hands the keys back to the menu: a
  // shortcut not opened from the menu, or whose target is still open (or
  // that names none).
  bool HandsBackTo(const kv::Class* target) const;
  // The state types handed to the next and the previous screen.
  int32_t GetNextStateType() const;
  int32_t GetPrevStateType() const;

  // Hooks of derived dialogs; empty here.
  virtual void UpdateHelp(kv::Object*) {}
  virtual void ClearHelp(kv::Object*) {}
  virtual void StartUpdateCheck(int32_t, const kv::String&) {}

  // The buttons' activation: No signals OnNoSlot; Yes runs DoYesMethod
  // (the reset of the set: OnYesSlot only).
  void DoActivate(kv::Object* sender);
  void DoYesMethod(kv::Object* sender = nullptr);

  // --- The Yes and No actions (ConfirmActions.cpp) ---------------------------------
  void StartQuickSetup(kv::Object* = nullptr);
  void DeactivateNetAppSlot(kv::Object* = nullptr);
  void ResetYahoo(kv::Object* = nullptr);
  void Continue3DSlot(kv::Object* = nullptr);
  void Abort3DSlot(kv::Object* = nullptr);
  void CorfirmUpdate(kv::Object* = nullptr);
  void USBUpdateAbort(kv::Object* = nullptr);
  void ResetAllPictureSettingsSlot(kv::Object* = nullptr);
  void ResetAdvancedPictureSettingsSlot(kv::Object* = nullptr);
  void ResetExpertPictureSettingsSlot(kv::Object* = nullptr);
  void ResetColorTemperatureSlot(kv::Object* = nullptr) {}
  void CopyToAllInputsSlot(kv::Object* = nullptr);
  void ResetBaseColorSettingsSlot(kv::Object* = nullptr);
  void ResetAllSlot(kv::Object* = nullptr);
  void DeletePinSlot(kv::Object* = nullptr);
  void ResetRatingSlot(kv::Object* = nullptr);
  void Delete3DPinSlot(kv::Object* = nullptr);
  void ResetAutoInputSlot(kv::Object* = nullptr);
  void ResetRRTSlot(kv::Object* = nullptr);
  void ResetChBrowserSlot(kv::Object* = nullptr);
  void ResetDigitalCC(kv::Object* = nullptr);
  void ResetPicturePosition(kv::Object* = nullptr);
  void ResetPCSettings(kv::Object* = nullptr);
  void ResetAudioSlot(kv::Object* = nullptr);
  void ResetCCSettings(kv::Object* = nullptr);
  void ResetLocksSlot(kv::Object* = nullptr);
  void ResetScreenSaver(kv::Object* = nullptr);
  void ResetScaleWindow(kv::Object* = nullptr);
  void StartRecord(kv::Object* = nullptr);
  void StopRecord(kv::Object* = nullptr);
  void StartTimeshift(kv::Object* = nullptr);
  void StopTimeshift(kv::Object* = nullptr);
  void DeleteMovieFile(kv::Object* = nullptr);
  void DeleteRecordedShow(kv::Object* = nullptr);
  void DeleteScheduledRecord(kv::Object* = nullptr);
  void StandbyByTimerExpired(kv::Object* = nullptr);
  void StartTimerRecord(kv::Object* = nullptr);
  void CancelTimerRecord(kv::Object* = nullptr);
  void StartTimerRecordAndClose(kv::Object* = nullptr);
  void CancelTimerRecordAndClose(kv::Object* = nullptr);
  void StopAllRecordAndSleep(kv::Object* = nullptr);
  // Yes to the timer's warning: the set records the active timer's channel
  // (what the question's time-out does too; in standby, where no question
  // opens, live TV does it at once).
  static void RecordActiveTimer();
  void ClearAllAction(kv::Object* = nullptr) { ClearAll(); }
  void NothingSlot(kv::Object* = nullptr) {}

  SkinBin::Button& YesButton() { return yes_; }
  SkinBin::Button& NoButton() { return no_; }

  kv::Slot OnYesSlot;
  kv::Slot OnNoSlot;
  uint8_t RecordFlag = 0;

 private:
  using Action = void (ConfirmMultiOptionDialog::*)(kv::Object*);
  kv::Slot Make(Action a) { return kv::MakeSlot(this, a); }
  // The caption and question of a row.
  void SetTexts(const kv::String& caption, const kv::String& warning);
  // A record question: Yes and No labels, no shortcut, no states; the Yes
  // button takes the focus unless `keepFocus`.
  void SetRecordRow(const kv::String& caption, const kv::String& warning, bool keepFocus);
  // "Settings changed": MSG_OPTION_CHANGE to every receiver.
  static void SettingsChanged();
  // The stored USB update path, and its removal.
  static kv::String UpdatePath();
  static void RemoveUpdatePath();

  SkinBin::Button yes_;
  SkinBin::Button no_;
};

}  // namespace NonMenuSystem
