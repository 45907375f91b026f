// The mini guide: the strip that the Info key brings up over a digital
// channel (Channels::MiniGuideDialog, window 0x2000008, the information
// banner's id, so that the two replace each other).
//   step 1  Channels::ProgramForm at (100, 400): channel, clock, signal and
//           stream badges, ratings and a three-row list of the next ten
//           programmes (ListForm::MiniGuideList), focused
//   step 2  Channels::DescriptionForm at (100, 260) added above it: the
//           focused programme's description (58/59 scroll it)
//   Info    one step on; from step 2 it closes
// Every 2000 ms the current step is rebuilt; 15 s without a key closes it.
// The forms and the dialog can slide out (EndGuide); a running slide counts
// as an animation of the Wrapper until it ends or its form closes.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/slot.h"
#include "runtime/string.h"
#include "units/Core/Timer.h"
#include "units/ListForm/GuideLists.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/SkinBin/TextForm.h"
#include "units/Views/Frame.h"
#include "units/Views/Image.h"
#include "units/Views/ImageList.h"
#include "units/Views/Line.h"
#include "units/Views/Text.h"

namespace Channels {

// Raises or lowers the Wrapper's animation count as `on` changes; the same
// value again changes nothing.
void SetAnimating(bool& flag, bool on);

class MiniGuideForm : public Primitives::KeyRoutingForm {
  KV_CLASS(Channels, MiniGuideForm, Primitives::KeyRoutingForm)
 public:
  MiniGuideForm();
  ~MiniGuideForm() override;
  virtual void LoadSettings() {}
  // End of the slide: stopped, not animating; an opening form rests at its place.
  virtual void EndMove(kv::Object* sender = nullptr);
  void OnSetBounds(kv::Rect bounds) override;
  void Refresh() override;
  void Close() override;
  void RefreshSlot(kv::Object* = nullptr) { Refresh(); }

  void OnSetAnimating(bool on) { SetAnimating(Animating, on); }
  bool OnGetAnimating() const { return Animating; }
  SkinBin::MenuEffect& Effect() { return effect_; }

  kv::Point WidgetOrigin{0, 0};
  bool IsStart = true;
  bool Animating = false;

 protected:
  // Slides from the form's place to `to`.
  void SlideTo(kv::Point to);

  Views::Frame background_;
  SkinBin::MenuEffect effect_;
};

class ProgramForm : public MiniGuideForm {
  KV_CLASS(Channels, ProgramForm, MiniGuideForm)
 public:
  ProgramForm();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void LoadSettings() override;
  void Close() override;
  void EndMove(kv::Object* sender = nullptr) override;
  void UpdateBanner();
  void HideAllInfo();
  void EndGuide();
  void UpdateEPGInfo(kv::Object* sender = nullptr);
  void FocusMove(kv::Object* sender = nullptr);

  ListForm::MiniGuideList List;
  Views::Text Number;
  Views::Text Name;
  Views::Text Clock;
  Views::ImageList Signal;
  Views::Image Dolby;
  Views::Image SDHD;
  Views::Image AudioMode;
  Views::Image Resolution;
  Views::Image Caption;
  Views::Image Record;
  Views::Image RFInput;
  Views::Text Rating;
  Views::Text RatingRegion;
  kv::Slot OnEPGChanged;
  kv::Slot OnFocusMove;
  int32_t FocusedEvent = 0;

 private:
  Views::Line line1_;
  Views::Line line2_;
};

class DescriptionForm : public MiniGuideForm {
  KV_CLASS(Channels, DescriptionForm, MiniGuideForm)
 public:
  DescriptionForm();
  void Close() override;
  void EndMove(kv::Object* sender = nullptr) override;
  void OnSetDescriptionText(const kv::String& text);
  const kv::String& OnGetDescriptionText() const { return DescriptionText; }

  kv::String DescriptionText;
  SkinBin::TextForm Text;
};

class MiniGuideDialog : public NonMenuSystem::WidgetClass {
  KV_CLASS(Channels, MiniGuideDialog, NonMenuSystem::WidgetClass)
 public:
  MiniGuideDialog();
  ~MiniGuideDialog() override;
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  void Close() override;
  void FakeInit() override {}
  kv::Object* HandleEvent(Core::Event* event) override;
  void ReInit() override;

  void LoadSettings();
  MiniGuideForm* CreateBannerForm(const kv::Class* cls);
  void ProcessInfoKey();
  void UpdateDescription(kv::Object* sender = nullptr);
  void RefreshSlot(kv::Object* = nullptr) { LoadSettings(); }
  void EndGuide();
  void EndMove(kv::Object* sender = nullptr);
  void OnSetAnimating(bool on) { SetAnimating(Animating, on); }

  ProgramForm* Program() const { return program_.get(); }
  DescriptionForm* Description() const { return description_.get(); }
  Core::Timer& RefreshTimer() { return refreshTimer_; }

  int32_t InfoStep = 0;
  bool Animating = false;

 private:
  void StartTimer();

  kv::Member<ProgramForm> program_;
  kv::Member<DescriptionForm> description_;
  Core::Timer refreshTimer_;
  SkinBin::MenuEffect effect_;
};

}  // namespace Channels
