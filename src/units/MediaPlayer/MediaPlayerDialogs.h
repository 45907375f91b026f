// The media player's small dialogs, screens of the non-menu sub-system.
//
// MediaPlayer::MediaPlayerDialogTemplate: a captioned dialog (450 x 200, no
// frame inset, 60 s, the time-out does nothing) that moves on to its
// NextState on OK; Exit clears the renderer-installation flag first.
// MediaPlayer::MediaPlayerConfirmDialogTemplate: the same with a wrapped
// message text; of the keys only OK, Exit, Menu, Left, Right, key 20, Back and
// 45 act, every other key is swallowed.
// MediaPlayer::MediaPlayerConfirmDialog: Yes and No (110 x 27, 20 apart,
// centred near the bottom); Yes signals OnYesSlot and moves on, No signals
// OnNoSlot and steps back.
// MediaPlayer::MediaPlayerOpenConfirmDialog: the question raised when a USB
// device is plugged while automatic start is on; Yes opens the media player,
// and the question goes away by itself when that device is pulled.
// MediaPlayer::DmsDeviceInfo: the name and, for a home-network server, the
// address of the medium being browsed.
#pragma once

#include <cstdint>

#include "runtime/slot.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/Views/MultilineText.h"

namespace MediaPlayer {

inline constexpr int32_t kDialogTimeOut = 60000;

class MediaPlayerDialogTemplate : public NonMenuSystem::KXDWidgetClass {
  KV_CLASS(MediaPlayer, MediaPlayerDialogTemplate, NonMenuSystem::KXDWidgetClass)
 public:
  MediaPlayerDialogTemplate();
  kv::Object* HandleEvent(Core::Event* event) override;
};

class MediaPlayerConfirmDialogTemplate : public MediaPlayerDialogTemplate {
  KV_CLASS(MediaPlayer, MediaPlayerConfirmDialogTemplate, MediaPlayerDialogTemplate)
 public:
  MediaPlayerConfirmDialogTemplate();
  kv::Object* HandleEvent(Core::Event* event) override;
  void Refresh() override;
  // A focused SkinBin::OptionButton puts its help into the help bar. A slot.
  virtual void DoFocus(kv::Object* control);

  Views::MultilineText& Message() { return message_; }

 protected:
  Views::MultilineText message_;
};

class MediaPlayerConfirmDialog : public NonMenuSystem::ConfirmOptionDialog {
  KV_CLASS(MediaPlayer, MediaPlayerConfirmDialog, NonMenuSystem::ConfirmOptionDialog)
 public:
  MediaPlayerConfirmDialog();
  kv::Object* HandleEvent(Core::Event* event) override;
  // Yes at x (width - 2 x item width - 20) / 2, No 20 to its right, both
  // item height + 25 above the bottom.
  void Refresh() override;
  void OnSetYesButtonLabel(const kv::String& text) override;
  void OnSetNoButtonLabel(const kv::String& text) override;

  // The buttons' activation: No runs DoNoMethod, Yes DoYesMethod.
  void DoActivate(kv::Object* sender);
  // OnYesSlot, then the next screen.
  virtual void DoYesMethod();
  // OnNoSlot, then the previous screen.
  virtual void DoNoMethod();

  SkinBin::Button& YesButton() { return yes_; }
  SkinBin::Button& NoButton() { return no_; }

  kv::Slot OnYesSlot;
  kv::Slot OnNoSlot;

 protected:
  SkinBin::Button yes_;
  SkinBin::Button no_;
};

class MediaPlayerOpenConfirmDialog : public MediaPlayerConfirmDialog {
  KV_CLASS(MediaPlayer, MediaPlayerOpenConfirmDialog, MediaPlayerConfirmDialog)
 public:
  MediaPlayerOpenConfirmDialog();
  // Remembers the device of a MediaPlayer::SelectedParam and closes every
  // other screen of the sub-system at once.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  // The media service's status reports come as MSG_MM_STATUS_INFO.
  void HandleMessage(Structures::Message* msg) override;
  void Close() override;

  // The device (242 .. 246) the question is about; -1 when not known.
  int32_t DeviceNumber = -1;
};

class DmsDeviceInfo : public MediaPlayerDialogTemplate {
  KV_CLASS(MediaPlayer, DmsDeviceInfo, MediaPlayerDialogTemplate)
 public:
  DmsDeviceInfo();
  // The current medium's name; its address for a home-network server.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  // The help bar shows Back.
  void Refresh() override;

  const kv::String& NameValue() const { return nameValue_.OnGetText(); }
  const kv::String& AddressValue() const { return addressValue_.OnGetText(); }
  bool AddressShown() const { return addressValue_.IsVisible(); }

 private:
  SkinBin::Button nameCaption_;
  SkinBin::Button addressCaption_;
  SkinBin::Button nameValue_;
  SkinBin::Button addressValue_;
};

}  // namespace MediaPlayer
