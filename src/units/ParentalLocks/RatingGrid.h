// ParentalLocks::USARatings: the US TV ratings, the US movie ratings and a
// not-rated box on one form, with the Children and Youth presets, the
// alternate-ratings button and Done and Reset. Boxes and presets only move
// check marks (with the same cascades as the rating dialogs); Done writes
// every box that differs from the set. The host screen connects OnMove
// (after every key and change: its help line follows the focus), OnReset and
// OnTriggerRRT.
#pragma once

#include <cstdint>

#include "runtime/slot.h"
#include "runtime/string.h"
#include "units/ParentalLocks/RatingItem.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/Views/Text.h"

namespace ParentalLocks {

class USARatings : public Primitives::KeyRoutingForm {
  KV_CLASS(ParentalLocks, USARatings, Primitives::KeyRoutingForm)
 public:
  static constexpr int32_t kTVBoxes = 18;
  static constexpr int32_t kMovieBoxes = 6;
  static constexpr int32_t kPlaceholders = 18;
  enum ButtonIndex { kChildren, kYouth, kAlternate, kDone, kReset, kButtons };

  USARatings();

  // Loads every box from the set; the alternate-ratings button shows only
  // when the stored region has dimensions.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  Forms::Ctrl* SelectUpper() override;
  Forms::Ctrl* SelectLower() override;
  Forms::Ctrl* SelectLeft() override;
  Forms::Ctrl* SelectRight() override;

  void ReloadTVRating();
  void ReloadMPAARating();
  // Write the boxes that differ from the set; false when the set refused one.
  bool ApplyTVRating();
  bool ApplyMPAARating();
  void ToggleTVRating(kv::Object* sender);
  void ToggleMPAARating(kv::Object* sender);
  void ToggleNoneRating(kv::Object* sender);
  void SelectButton(kv::Object* sender);
  // The focused box's or button's help sentence (empty otherwise).
  kv::String GetButtonHelp();

  const kv::Slot& OnGetOnMove() const { return OnMove; }
  void OnSetOnMove(const kv::Slot& s) { OnMove = s; }
  const kv::Slot& OnGetOnReset() const { return OnReset; }
  void OnSetOnReset(const kv::Slot& s) { OnReset = s; }
  const kv::Slot& OnGetOnTriggerRRT() const { return OnTriggerRRT; }
  void OnSetOnTriggerRRT(const kv::Slot& s) { OnTriggerRRT = s; }

  TVRatingItem& TV(int32_t i) { return tv_[i]; }
  MPAARatingItem& Movie(int32_t i) { return movie_[i]; }
  RatingItem& NoneBox() { return none_; }
  SkinBin::Button& Button(int32_t i) { return buttons_[i]; }

  kv::Slot OnMove;
  kv::Slot OnReset;
  kv::Slot OnTriggerRRT;

 private:
  void Moved() { kv::Signal(OnMove, this); }
  // Sets a box, then runs its cascade.
  void SetTV(int32_t i, bool checked);
  void SetMovie(int32_t i, bool checked);
  void ApplyPreset(bool children);
  Forms::Ctrl* Override(int32_t key);

  RatingItem none_;
  TVRatingItem tv_[kTVBoxes];
  Views::Text heads_[7];
  RatingItem placeholders_[kPlaceholders];
  MPAARatingItem movie_[kMovieBoxes];
  SkinBin::Button buttons_[kButtons];
};

}  // namespace ParentalLocks
