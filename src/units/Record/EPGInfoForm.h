// Record::EPGInfoForm: the details pane of the scheduled-recordings and
// recorded-shows screens. It shows the title, the start and end time, a
// scrolling description (Channels::ProgrammePane, as the guide's pane), the
// caption mark and the rating of one recording, and the legend of its
// screen's keys. The owner sets title, description,
// Duration, start time, caption flag and rating word, then calls
// UpdateBanner; with no entry it calls HideAllInfo.
#pragma once

#include <cstdint>

#include "units/Channels/FullEPGDialog.h"
#include "units/Views/Image.h"
#include "units/Views/Text.h"

namespace Record {

class EPGInfoForm : public Channels::ProgrammePane {
  KV_CLASS(Record, EPGInfoForm, Primitives::KeyRoutingForm)
 public:
  static constexpr int32_t kWidth = 470;
  static constexpr int32_t kHeight = 152;

  EPGInfoForm();
  ~EPGInfoForm() override;
  void Refresh() override;

  void OnSetCaptionFlag(bool on) { CaptionFlag = on; }
  void OnSetRating(int32_t word) { Rating = word; }

  // Shows time span, title and description, the caption mark when the
  // flag is set and the rating text when the rating word is not 0.
  void UpdateBanner();
  // Hides the Dolby mark, the caption mark, the rating, time span, title
  // and description.
  void HideAllInfo();

  bool CaptionFlag = false;
  int32_t Rating = 0;

  Views::Image Dolby;
  Views::Text RatingText;
  Views::Image Caption;
};

}  // namespace Record
