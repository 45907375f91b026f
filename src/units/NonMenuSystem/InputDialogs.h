// The input selection dialogs: a frame around one embedded list that does
// the row work. Each dialog shrinks to the rows its list holds, restarts its
// time-out on every key the list handles (FocusMove) and closes on the
// list's exit notification.
//
// NonMenuSystem::ExternalInputDialog (0x2000006): the inputs of the set;
//   choosing one switches window 0 to it. It listens to the message agent
//   while open, so that cached middleware events and keys (the CEC list's
//   "down past the last device") reach its list.
// NonMenuSystem::CecInputDialog (0x200000D): the HDMI-CEC devices of one
//   input, over the input dialog (layer 64).
// NonMenuSystem::InputLabelingDialog (0x200000B): per input a label and a
//   skip mark; a shortcut screen of the menu's input page.
#pragma once

#include <cstdint>

#include "units/ListForm/InputLists.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/Views/Image.h"
#include "units/Views/Text.h"

namespace NonMenuSystem {

// The height a dialog of `height` keeps when its list shows `count` of `max`
// rows, each missing row taking `pitch` pixels; never below zero.
int32_t ShrunkHeight(int32_t height, int32_t max, int32_t count, int32_t pitch);

class ExternalInputDialog : public KXDWidgetClass {
  KV_CLASS(NonMenuSystem, ExternalInputDialog, KXDWidgetClass)
 public:
  static constexpr int32_t kWidth = 370;
  static constexpr int32_t kHeight = 410;

  ExternalInputDialog();
  // Starts the list, shrinks to its rows and registers with the message agent.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void HandleMessage(Structures::Message* msg) override;
  void Close() override;
  void Refresh() override;

  ListForm::ExternalInputList& List() { return list_; }

 private:
  ListForm::ExternalInputList list_;
};

class CecInputDialog : public WidgetClass {
  KV_CLASS(NonMenuSystem, CecInputDialog, WidgetClass)
 public:
  static constexpr int32_t kWidth = 250;
  static constexpr int32_t kHeight = 181;

  CecInputDialog();
  // The parameter (devices and input) goes on to the list.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;

  ListForm::CecInputList& List() { return list_; }

 private:
  ListForm::CecInputList list_;
  Views::Image top_;
  Views::Image bottom_;
};

class InputLabelingDialog : public KXDWidgetClass {
  KV_CLASS(NonMenuSystem, InputLabelingDialog, KXDWidgetClass)
 public:
  static constexpr int32_t kWidth = 450;
  static constexpr int32_t kHeight = 360;

  InputLabelingDialog();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  // The list first, then the dialog.
  void Close() override;
  // Gaining the focus shows the dialog's help.
  void HandleFocus(bool focused) override;
  void Refresh() override;

  ListForm::InputLabelingList& List() { return list_; }

 private:
  // The "Skip" heading centred over the rows' check boxes (once rows exist).
  void PlaceSkipHeading();

  ListForm::InputLabelingList list_;
  Views::Text input_;
  Views::Text label_;
  Views::Text skip_;
};

}  // namespace NonMenuSystem
