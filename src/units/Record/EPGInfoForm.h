// Record::EPGInfoForm: the details pane of the scheduled-recordings and
// recorded-shows screens. It shows the title, the start and end time, a
// scrolling description, the caption mark and the rating of one recording,
// and the legend of its screen's keys. The owner sets title, description,
// Duration, start time, caption flag and rating word, then calls
// UpdateBanner; with no entry it calls HideAllInfo.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/string.h"
#include "units/Channels/FullEPGDialog.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/SkinBin/TextForm.h"
#include "units/Structures/LocalTime.h"
#include "units/Views/Frame.h"
#include "units/Views/Image.h"
#include "units/Views/Line.h"
#include "units/Views/Text.h"

namespace Record {

class EPGInfoForm : public Primitives::KeyRoutingForm {
  KV_CLASS(Record, EPGInfoForm, Primitives::KeyRoutingForm)
 public:
  static constexpr int32_t kWidth = 470;
  static constexpr int32_t kHeight = 152;

  EPGInfoForm();
  ~EPGInfoForm() override;
  void OnSetBounds(kv::Rect bounds) override;
  void Refresh() override;

  void OnSetTitle(const kv::String& text);
  const kv::String& OnGetTitle() const { return Title; }
  void OnSetDescriptionText(const kv::String& text);
  const kv::String& OnGetDescriptionText() const { return DescriptionText; }
  // Writes the time span from the start and Duration (minutes); null clears it.
  void OnSetStartTime(Structures::LocalTime* time);
  Structures::LocalTime* OnGetStartTime() const { return StartTime.get(); }
  void OnSetCaptionFlag(bool on) { CaptionFlag = on; }
  void OnSetRating(int32_t word) { Rating = word; }

  // Shows time span, title and description, the caption mark when the
  // flag is set and the rating text when the rating word is not 0.
  void UpdateBanner();
  // Hides the Dolby mark, the caption mark, the rating, time span, title
  // and description.
  void HideAllInfo();

  kv::String Title;
  kv::String DescriptionText;
  kv::Member<Structures::LocalTime> StartTime;
  int32_t Duration = 0;
  bool CaptionFlag = false;
  int32_t Rating = 0;

  Views::Text TimeSpan;
  Views::Text TitleText;
  SkinBin::TextForm Description;
  Views::Image Dolby;
  Views::Text RatingText;
  Views::Image Caption;

 private:
  Views::Frame background_;
  Views::Line line1_;
  Views::Line line2_;
  Channels::GuideLegend legend_;
};

}  // namespace Record
