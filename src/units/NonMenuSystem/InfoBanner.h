// The information banner: NonMenuSystem::InfoBanner (window 0x2000008) is a
// transparent full-screen container that hosts up to four banner forms:
//   basic (mask 1)   source, channel, signal, badges and rating, at (40, 40)
//   EPG (2)          the current or next guide event, at (269, 47)
//   misc (4)         recording, game timer and 3D status, at (45, 116)
//   HDMI (8)         the HDMI signal details, at (45, 288)
// GetInfoType picks the kinds: the basic form alone until the Info key was
// pressed; then the EPG form too on a digital tuner channel, or the HDMI form
// on an HDMI or DVI input with HDMIInformationDisplay on. LoadSettings
// creates, fills and closes the forms; a timer repeats it 2000 ms after
// construction and every 4000 ms after, so the banner follows the set.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "units/Core/Timer.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/Views/Frame.h"
#include "units/Views/Image.h"
#include "units/Views/ImageList.h"
#include "units/Views/MultilineText.h"
#include "units/Views/Text.h"

namespace SkinBin {
class Wrapper;
}

namespace NonMenuSystem {

// A rating text: `part` joined to `text` with the rating separator; an
// empty part adds nothing and replaces no "None".
kv::String JoinRatingPart(const kv::String& text, const kv::String& part);
// The rating text of a US rating word and a Canadian rating code: the TV
// rating with its content suffixes (FV alone when present), the movie rating
// and the Canadian rating, empty parts skipped; empty without a Wrapper.
kv::String RatingText(SkinBin::Wrapper* w, int32_t usWord, int32_t canadian);

class BannerForm : public Primitives::KeyRoutingForm {
  KV_CLASS(NonMenuSystem, BannerForm, Primitives::KeyRoutingForm)
 public:
  BannerForm();
  // Fills the form from the Wrapper; each kind overrides it.
  virtual void LoadSettings() {}
  // Background image and frame over the whole form.
  void Refresh() override;
  // A change of size posts a Refresh.
  void OnSetBounds(kv::Rect bounds) override;
  void RefreshSlot(kv::Object* = nullptr) { Refresh(); }

  kv::Point WidgetOrigin{0, 0};

 protected:
  Views::Image background_;
  Views::Frame frame_;
};

class BannerBasicInfo : public BannerForm {
  KV_CLASS(NonMenuSystem, BannerBasicInfo, BannerForm)
 public:
  BannerBasicInfo();
  void LoadSettings() override;
  void HideAllInfo();
  void ShowRatingInfo();

  bool HasEPG = false;

  Views::Image SourceIcon;
  Views::ImageList Signal;
  Views::Text SourceLabel;
  Views::Text ChannelNumber;
  Views::Text ChannelName;
  Views::Image Dolby;
  Views::Image Resolution;
  Views::Image SDHD;
  Views::Image ThreeD;
  Views::Text Rating;
  Views::Text PCTiming;
  Views::Image AudioMode;
  Views::Image SecondAudio;
  Views::Image ClosedCaption;
  Views::Image Analogue;

 private:
  void ShowAudioBadges(bool dolbyPlus);
  void ShowVideoBadges(int32_t type);
  void ShowTvResolution(int32_t height);
  // The badge row at `top`, the 3D badge and the rating below it: an input
  // without channels has no number and name line, and its badges stand
  // right under the source line.
  void PlaceBadges(int32_t top);
};

class BannerEPGInfo : public BannerForm {
  KV_CLASS(NonMenuSystem, BannerEPGInfo, BannerForm)
 public:
  BannerEPGInfo();
  void LoadSettings() override;
  void Refresh() override;

  // 0: the current event, 1: the next one.
  int32_t EPGIndex = 0;

  Views::Text Time;
  Views::Text Title;
  Views::MultilineText Description;

 private:
  kv::Member<kv::Object> events_;  // SkinBin::EPGEventsInfo_DB, made on first use
};

class BannerHDMIInfo : public BannerForm {
  KV_CLASS(NonMenuSystem, BannerHDMIInfo, BannerForm)
 public:
  static constexpr int32_t kRows = 9;
  BannerHDMIInfo();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void LoadSettings() override;
  static kv::String GetFrameRateString(int32_t code);
  static kv::String GetColorDepthString(int32_t code);
  const kv::String& Value(int32_t row) const { return values_[row].OnGetString(); }
  bool RowVisible(int32_t row) const { return values_[row].IsVisible(); }

 private:
  void SetValue(int32_t row, const kv::String& text);
  Views::Text captions_[kRows];
  Views::Text values_[kRows];
};

class BannerMiscInfo : public BannerForm {
  KV_CLASS(NonMenuSystem, BannerMiscInfo, BannerForm)
 public:
  BannerMiscInfo();
  void LoadSettings() override;

  Views::Text ThreeDMode;
  Views::Text ThreeDFormat;
  Views::Image GameIcon;
  Views::Text GameText;
  Views::Text Recording;
};

class InfoBanner : public WidgetClass {
  KV_CLASS(NonMenuSystem, InfoBanner, WidgetClass)
 public:
  InfoBanner();
  ~InfoBanner() override;

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  virtual void LoadSettings();
  int32_t GetInfoType();
  void ProcessInfoKey();
  BannerForm* CreateBannerForm(const kv::Class* cls);
  kv::Object* HandleEvent(Core::Event* event) override;
  void Close() override;
  // Opened by the Info key, the banner holds the acquisition events back.
  bool HoldsAcquisition() override { return InfoKeyPressed; }
  void ReInit() override;

  void OnSetInfoKeyPressed(bool on);
  bool OnGetInfoKeyPressed() const { return InfoKeyPressed; }
  bool OnGetIsEPGDisplayed();
  void RefreshSlot(kv::Object* = nullptr) { LoadSettings(); }

  BannerBasicInfo* Basic() const { return basic_.get(); }
  BannerEPGInfo* EPG() const { return epg_.get(); }
  BannerMiscInfo* Misc() const { return misc_.get(); }
  BannerHDMIInfo* HDMI() const { return hdmi_.get(); }
  Core::Timer& RefreshTimer() { return refreshTimer_; }

  bool InfoKeyPressed = false;
  int32_t PressCount = 0;

 private:
  // Creates (when absent) and loads, or closes and forgets, one form.
  template <class F>
  void Keep(kv::Member<F>& form, bool wanted);
  void StartTimer();

  kv::Member<BannerBasicInfo> basic_;
  kv::Member<BannerEPGInfo> epg_;
  kv::Member<BannerMiscInfo> misc_;
  kv::Member<BannerHDMIInfo> hdmi_;
  Core::Timer refreshTimer_;
};

}  // namespace NonMenuSystem
