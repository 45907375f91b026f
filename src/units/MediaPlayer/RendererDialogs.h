// The dialogs of the renderer setup. Installation on the renderer page runs
// them as a wizard: renderer on or off (off ends it), device name, access
// control (off skips to the maximum volume), whether to choose controllers
// now (no skips to the maximum volume), the controller list, the maximum
// volume, back to the renderer page. Opened from the page without the
// wizard each dialog returns to it. Exit anywhere ends the wizard (the skin
// Wrapper's RendererInstalled flag).
//
// The three wizard questions and the auto power-on question are yes/no
// dialogs (MediaPlayerConfirmDialog) of 510 x 258 without a frame, Yes
// focused; the device name and the maximum volume are confirm-dialog
// templates (their key filter applies), the two lists dialog templates.
//
// The device name is typed on the key pad. A name longer than 64
// characters, with one of # $ @ [ \ ] ^ ` { } ~, or ending in a space is
// refused: the invalid-name bar shows for two seconds, then the key pad
// opens again with the name. The renderer keeps its fixed name: Done and
// Reset reach the media bridge, which stores no name.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/slot.h"
#include "runtime/string.h"
#include "runtime/text.h"
#include "units/MediaPlayer/MediaPlayerDialogs.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/Views/MultilineText.h"
#include "units/Views/Text.h"

namespace ListForm {
class MediaControllerList;
class MediaServerList;
}
namespace NonMenuSystem {
class DirectMessageBar;
}

namespace MediaPlayer {

class AdjustArrowButton;

// The help bar of the dialog's non-menu sub-system.
void ShowHelp(NonMenuSystem::WidgetClass* dialog, int32_t mask, const kv::String& text);

class MediaRendererOnOffDialog : public MediaPlayerConfirmDialog {
  KV_CLASS(MediaPlayer, MediaRendererOnOffDialog, MediaPlayerConfirmDialog)
 public:
  MediaRendererOnOffDialog();
  void ReInit() override;
  void EnableMediaRenderer(kv::Object* sender = nullptr);
  void DisableMediaRenderer(kv::Object* sender = nullptr);
};

class AccessControlSelectDialog : public MediaPlayerConfirmDialog {
  KV_CLASS(MediaPlayer, AccessControlSelectDialog, MediaPlayerConfirmDialog)
 public:
  AccessControlSelectDialog();
  void ReInit() override;
  // Off stores access control off and goes on to the maximum volume.
  void DoNoMethod() override;
  void AccessOn(kv::Object* sender = nullptr);
};

class SelectMediaControllerConfirmDialog : public MediaPlayerConfirmDialog {
  KV_CLASS(MediaPlayer, SelectMediaControllerConfirmDialog, MediaPlayerConfirmDialog)
 public:
  SelectMediaControllerConfirmDialog();
  void ReInit() override;
  // No goes on to the maximum volume.
  void DoNoMethod() override;
};

// Defined for the wizard's end; no step opens it (the maximum volume
// returns to the renderer page). Yes and No both go on and store nothing.
class AutoPowerOnSettingDialog : public MediaPlayerConfirmDialog {
  KV_CLASS(MediaPlayer, AutoPowerOnSettingDialog, MediaPlayerConfirmDialog)
 public:
  AutoPowerOnSettingDialog();
  void ReInit() override;
  void DoNoMethod() override { DoYesMethod(); }
};

class DeviceNameSetupDialog : public MediaPlayerConfirmDialogTemplate {
  KV_CLASS(MediaPlayer, DeviceNameSetupDialog, MediaPlayerConfirmDialogTemplate)
 public:
  static constexpr int32_t kMaxName = 64;
  static constexpr int32_t kKeyPadLength = 255;

  DeviceNameSetupDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Close() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleMessage(Structures::Message* msg) override;
  void Refresh() override;
  void ReInit() override;
  void DoFocus(kv::Object* sender) override;

  // A name the renderer may carry.
  static bool IsValidName(const kv::String& name);
  void OpenKeyPad();

  SkinBin::Button& NameButton() { return name_; }
  SkinBin::Button& DoneButton() { return done_; }
  SkinBin::Button& ResetButton() { return reset_; }
  NonMenuSystem::DirectMessageBar* InvalidBar() { return bar_.get(); }

 private:
  void Activate(kv::Object* sender);
  void TakeName(const kv::String& name);
  void RefuseName();
  void BarTimedOut(kv::Object* sender = nullptr);
  void CloseBar();
  void ShowParts(bool on);
  void TakeFocusBack(kv::Object* sender = nullptr);

  Views::Text label_;
  SkinBin::Button name_;
  SkinBin::Button done_;
  SkinBin::Button reset_;
  kv::Member<NonMenuSystem::DirectMessageBar> bar_;
  // The focused button while the parts are hidden behind the bar.
  kv::Member<Core::View> kept_;
};

class MaximumVolumeSetupDialog : public MediaPlayerConfirmDialogTemplate {
  KV_CLASS(MediaPlayer, MaximumVolumeSetupDialog, MediaPlayerConfirmDialogTemplate)
 public:
  MaximumVolumeSetupDialog();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  void ReInit() override;
  // OK on the button: the value to the bridge, then the renderer page.
  void DoActivate(kv::Object* sender);
  void RestartTimeOut(kv::Object* = nullptr) { ResetTimeout(); }
  AdjustArrowButton* Button() { return button_.get(); }

 private:
  kv::Member<AdjustArrowButton> button_;
};

class SelectMediaControllerDialog : public MediaPlayerDialogTemplate {
  KV_CLASS(MediaPlayer, SelectMediaControllerDialog, MediaPlayerDialogTemplate)
 public:
  SelectMediaControllerDialog();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Refresh() override;
  void ReInit() override;
  void UpdateHelp(kv::Object* sender = nullptr);
  // Registers the ticked controllers, unregisters the others, goes on.
  void DoDone(kv::Object* sender = nullptr);
  ListForm::MediaControllerList* List() { return list_.get(); }
  SkinBin::Button& DoneButton() { return done_; }

 private:
  void Reload();
  kv::Member<ListForm::MediaControllerList> list_;
  Views::Text heads_[2];
  SkinBin::Button done_;
};

class MediaServerSetupDialog : public MediaPlayerDialogTemplate {
  KV_CLASS(MediaPlayer, MediaServerSetupDialog, MediaPlayerDialogTemplate)
 public:
  MediaServerSetupDialog();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Refresh() override;
  void ReInit() override;
  void DoDone(kv::Object* sender = nullptr);
  ListForm::MediaServerList* List() { return list_.get(); }
  SkinBin::Button& DoneButton() { return done_; }

 private:
  kv::Member<ListForm::MediaServerList> list_;
  Views::Text heads_[3];
  SkinBin::Button done_;
};

}  // namespace MediaPlayer
