// The volume and mute bars: short-lived overlays (2000 ms, layer 256) that
// the live-TV volume and mute keys open.
//
// NonMenuSystem::VolumeMuteBar: the family's base; back, exit and 45 close it.
// NonMenuSystem::CommonVolumeBar (0x2000001): the TV's volume on a slider;
//   46 and 47 step it and write it at once (no option-change mark).
// NonMenuSystem::CommonMuteBar (0x2000010): the mute option's choices; 84
//   steps through them and writes each; back at the first (off) it closes.
// NonMenuSystem::AmplifierVolumeBar and AmplifierMuteBar: what the key did to
//   an external audio system over HDMI-CEC; each key goes to the audio system
//   as its key code, and they write no TV setting. The mute bar starts from
//   the audio system's own mute, so a second mute unmutes.
// A volume key on a mute bar, or the mute key on a volume bar, goes to the
// sub-system, which replaces the bar.
#pragma once

#include <cstdint>

#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/Sliders.h"
#include "units/Views/Image.h"
#include "units/Views/Text.h"

namespace NonMenuSystem {

class VolumeMuteBar : public KXDWidgetClass {
  KV_CLASS(NonMenuSystem, VolumeMuteBar, KXDWidgetClass)
 public:
  VolumeMuteBar();

  // The base's Initialize, then OnSetOptionType with the bar's own option,
  // so each opening reads the current state again.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;

  virtual void OnSetOptionType(int32_t id) { OptionType = id; }
  int32_t OnGetOptionType() const { return OptionType; }

  Views::Text& CaptionView() { return caption_; }

  int32_t OptionType = 0;

 protected:
  // Hands the key to the owning sub-system (which replaces the bar); without
  // one, only the time-out restarts.
  kv::Object* ToSubSystem(Core::Event* event);
};

class CommonVolumeBar : public VolumeMuteBar {
  KV_CLASS(NonMenuSystem, CommonVolumeBar, VolumeMuteBar)
 public:
  CommonVolumeBar();

  void OnSetOptionType(int32_t id) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Refresh() override;
  // The slider's value-changed slot: the number and the volume follow it.
  void DoVolumeChanged(kv::Object* sender = nullptr);

  SkinBin::ProgressKXD& Slider() { return slider_; }
  Views::Text& Number() { return number_; }

 private:
  SkinBin::ProgressKXD slider_;
  Views::Text number_;
  Views::Image image_;
};

class CommonMuteBar : public VolumeMuteBar {
  KV_CLASS(NonMenuSystem, CommonMuteBar, VolumeMuteBar)
 public:
  CommonMuteBar();

  void OnSetOptionType(int32_t id) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Refresh() override;
  virtual void ToggleMute();

  int32_t OnGetMuteIndex() const { return MuteIndex; }
  void OnSetMuteIndex(int32_t index) { MuteIndex = index; }
  Views::Image& Image() { return image_; }

  int32_t MuteIndex = 0;
  int32_t Count = 0;

 protected:
  // The count, the current index and the caption from the option record.
  bool Bind(int32_t id);
  // The next index, wrapping to 0 after the last choice.
  void StepIndex();

  Views::Image image_;
};

class AmplifierVolumeBar : public VolumeMuteBar {
  KV_CLASS(NonMenuSystem, AmplifierVolumeBar, VolumeMuteBar)
 public:
  AmplifierVolumeBar();

  kv::Object* HandleEvent(Core::Event* event) override;
  void Refresh() override;

  Views::Image& KeyImage() { return keyImage_; }

 private:
  Views::Image image_;
  Views::Image keyImage_;
};

class AmplifierMuteBar : public CommonMuteBar {
  KV_CLASS(NonMenuSystem, AmplifierMuteBar, CommonMuteBar)
 public:
  AmplifierMuteBar();

  void OnSetOptionType(int32_t id) override;
  void ToggleMute() override;
};

}  // namespace NonMenuSystem
