// The two screens between a media-player entry and the browse screens.
//
// MediaPlayer::USBMediaPlayerMenu: asks for the kind of media (Photo 2,
// Video 3, Music 1); each button opens the device dialog with its value.
// With no medium and no registered server all three are disabled.
//
// MediaPlayer::MediaDeviceSelectDialog: lists the media sources (USB sticks
// and home-network servers) and opens the browse screen of the media type
// for the chosen one. With exactly one source ready at once it passes
// straight on (to the browser, or back to where the user came from when
// returning from the browser). No source: the no-devices notice. A plug,
// a removal, a server event, a network event or the red key reloads the
// list.
#pragma once

#include <cstdint>

#include "units/ListForm/MediaLists.h"
#include "units/MediaPlayer/MediaPlayerDialogs.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/SkinButtons.h"

namespace MediaPlayer {

class USBMediaPlayerMenu : public NonMenuSystem::KXDWidgetClass {
  KV_CLASS(MediaPlayer, USBMediaPlayerMenu, NonMenuSystem::KXDWidgetClass)
 public:
  USBMediaPlayerMenu();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Refresh() override;
  void DoActivate(kv::Object* sender);
  // The TV source's banner waits until the menu closes.
  bool HoldsAcquisition() override { return true; }

  SkinBin::Button& ButtonAt(int32_t i) { return buttons_[i]; }

 private:
  SkinBin::Button buttons_[3];
  kv::Color focusedText_;  // the focused caption's colour of an enabled button
};

class MediaDeviceSelectDialog : public MediaPlayerDialogTemplate {
  KV_CLASS(MediaPlayer, MediaDeviceSelectDialog, MediaPlayerDialogTemplate)
 public:
  MediaDeviceSelectDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Close() override;
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleMessage(Structures::Message* msg) override;
  void EnterNextState() override;
  bool HoldsAcquisition() override { return true; }

  // The source list activated a row.
  void LaunchPlayer(int32_t row, int32_t medium, int32_t kind, int32_t ready);
  void ReturnPrevState(kv::Object* sender = nullptr);
  void ShowNoDevice(kv::Object* sender = nullptr);

  ListForm::MediumDeviceList& List() { return list_; }
  int32_t OnGetChosenMedium() const { return chosen_; }
  bool IsReturning() const { return returning_; }

 private:
  void RowActivated(kv::Object* sender);
  void Reload();
  int32_t SourceCount();

  int32_t chosen_ = -1;
  bool returning_ = false;
  ListForm::MediumDeviceList list_;
};

}  // namespace MediaPlayer
