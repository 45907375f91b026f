// The rating lock dialogs of the ratings-locks menu page. A checked box
// means the rating is blocked; every toggle cascades to the related boxes
// and then writes each box that differs from the set at once.
//
// ParentalLocks::USTVRatingsDialog: the US TV parental guidelines, one box
// per (rating, descriptor). Blocking a whole rating blocks every stricter
// box; opening one opens every milder box and its own descriptors. A
// descriptor blocks or opens the same descriptor of the stricter (milder)
// ratings. Blocking a children's rating also blocks TV-G; opening an age
// rating also opens TV-Y7.
//
// ParentalLocks::USMovieRatingsDialog, CANEnglishRatingsDialog and
// CANFrenchRatingsDialog: one box per level of a one-dimensional scale;
// blocking a level blocks the stricter ones, opening one opens the milder
// ones. Up and down wrap round.
//
// When the set refuses a write (the on-screen display is locked), the boxes
// show the set's state again.
#pragma once

#include <cstdint>

#include "units/NonMenuSystem/WidgetClass.h"
#include "units/ParentalLocks/RatingItem.h"
#include "units/Views/Text.h"

namespace ParentalLocks {

// Moves the focus of a lock screen by an arrow key through the form's own
// (possibly overridden) selection rules; false for any other key.
bool MoveFocusByArrow(Forms::Form* form, int32_t code);

class USTVRatingsDialog : public NonMenuSystem::KXDWidgetClass {
  KV_CLASS(ParentalLocks, USTVRatingsDialog, NonMenuSystem::KXDWidgetClass)
 public:
  static constexpr int32_t kBoxes = 18;
  USTVRatingsDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  Forms::Ctrl* SelectLower() override;
  Forms::Ctrl* SelectLeft() override;
  Forms::Ctrl* SelectRight() override;

  // Every box := the set's state.
  void ReloadTVRating();
  bool GetRatingStatus(bool isChild, int32_t level, int32_t content);
  // Writes one rating (with the side write of its table); false when refused.
  bool SetRatingStatus(bool isChild, int32_t level, int32_t content, bool blocked);
  // The activation slot of every box.
  void ToggleTVRating(kv::Object* sender);
  void UpdateRelatedItem(KXDTVRatingItem* item);
  // Writes every box that differs from the set.
  void ApplyTVRating();

  KXDTVRatingItem& Box(int32_t i) { return boxes_[i]; }

 private:
  int32_t IndexOf(const Core::View* c) const;
  KXDTVRatingItem boxes_[kBoxes];
  Views::Text rowHeads_[6];
  Views::Text columnHeads_[5];
};

class USMovieRatingsDialog : public NonMenuSystem::KXDWidgetClass {
  KV_CLASS(ParentalLocks, USMovieRatingsDialog, NonMenuSystem::KXDWidgetClass)
 public:
  static constexpr int32_t kBoxes = 6;
  USMovieRatingsDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void ReloadMPAARating();
  void ToggleMPAARating(kv::Object* sender);
  void ApplyMPAARating();

  KXDMPAARatingItem& Box(int32_t i) { return boxes_[i]; }

 private:
  KXDMPAARatingItem boxes_[kBoxes];
};

// The Canadian scales: system 0 (English, six levels) or 1 (French, five).
class CANRatingsDialog : public NonMenuSystem::KXDWidgetClass {
  KV_CLASS(ParentalLocks, CANRatingsDialog, NonMenuSystem::KXDWidgetClass)
 public:
  static constexpr int32_t kMaxBoxes = 6;
  explicit CANRatingsDialog(int32_t system = 0);

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void ReloadRating();
  void ToggleRating(kv::Object* sender);
  void ApplyRating();

  int32_t System() const { return system_; }
  int32_t Levels() const { return count_; }
  KXDRatingItem& Box(int32_t i) { return boxes_[i]; }

 private:
  int32_t system_;
  int32_t count_;
  KXDRatingItem boxes_[kMaxBoxes];
};

class CANEnglishRatingsDialog : public CANRatingsDialog {
  KV_CLASS(ParentalLocks, CANEnglishRatingsDialog, CANRatingsDialog)
 public:
  CANEnglishRatingsDialog() : CANRatingsDialog(0) {}
};

class CANFrenchRatingsDialog : public CANRatingsDialog {
  KV_CLASS(ParentalLocks, CANFrenchRatingsDialog, CANRatingsDialog)
 public:
  CANFrenchRatingsDialog() : CANRatingsDialog(1) {}
};

}  // namespace ParentalLocks
