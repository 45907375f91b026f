// The channel entry (window 0x200000C): the small banner in the top-left
// corner through which the viewer types a channel number (digits and the
// dash) or surfs with channel up and down. It shows the source icon, the
// source label and the number; OK or the time-out tunes the number and the
// entry closes one time-out later. A number without sub-channel that is not
// in the list starts a scan of that physical channel.
//
// Surfing: the first channel key tunes at once (surf pending); 1500 ms
// later the entry is in surf mode, where channel keys only move the shown
// number and the tuning follows 1500 ms after the last key; 1500 ms in surf
// mode without a key close the entry.
#pragma once

#include <cstdint>

#include "runtime/string.h"
#include "units/Button/TextEdit.h"
#include "units/Core/Timer.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/Views/Frame.h"
#include "units/Views/Image.h"
#include "units/Views/Text.h"

namespace NonMenuSystem {

// The number field: digits and at most one separator, normalised so that at
// most three digits stand on each side that counts (HandleNumber).
class ChannelNumberEdit : public ::Button::TextEdit {
  KV_CLASS(NonMenuSystem, ChannelNumberEdit, ::Button::TextEdit)
 public:
  ChannelNumberEdit();
  kv::Object* HandleEvent(Core::Event* event) override;
  kv::String HandleNumber(const kv::String& text) override;

  int32_t LargeLength = 9;
  // The next digit replaces the whole text.
  bool NeedClearNumber = false;
};

class ChannelEntry : public WidgetClass {
  KV_CLASS(NonMenuSystem, ChannelEntry, WidgetClass)
 public:
  static constexpr int32_t kSurfDelay = 1500;

  ChannelEntry();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Refresh() override;
  // While the number is not tuned (surfing, typing) the entry holds the
  // acquisition events back; the end of surfing hands them on (the banner
  // follows).
  bool HoldsAcquisition() override { return !TuneIssued; }
  // A closed entry (Exit, ClearAll, standby) runs no surf timer.
  void Close() override;

  void UpdateSourceImage(int32_t type);
  void ChannelChange(bool up);
  void TuneChannel();
  void FindChannel(int32_t number);
  void TuneChannelAndExit(kv::Object* sender = nullptr);
  void OnTextChanged(kv::Object* sender = nullptr);
  void EnterSurfMode(kv::Object* sender = nullptr);
  void ExitSurfMode();
  void ExitSurfModeAndExit(kv::Object* sender = nullptr);
  void SurfTuneChannel(kv::Object* sender = nullptr);

  ChannelNumberEdit& NumberField() { return number_; }
  const kv::String& Number() const { return number_.OnGetTextString(); }
  const kv::String& Label() const { return label_.OnGetString(); }
  Core::Timer& SurfTimer() { return surfTimer_; }

  bool EntryActive = false;
  // A tuning or single-channel scan was accepted by the middleware.
  bool TuneIssued = false;
  bool SurfPending = false;
  bool SurfMode = false;
  int32_t GuideChannelCount = 0;
  int32_t GuideChannelIndex = 0;

 private:
  void StartSurfTimer(void (ChannelEntry::*slot)(kv::Object*));
  // Shows the guide-channel record's caption for the entry's index.
  void SyncGuideChannel(bool resync);

  Views::Image icon_;
  Views::Text label_;
  Views::Text caption_;
  Views::Frame box_;
  ChannelNumberEdit number_;
  Core::Timer surfTimer_;
};

}  // namespace NonMenuSystem
