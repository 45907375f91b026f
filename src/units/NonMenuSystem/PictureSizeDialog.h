// NonMenuSystem::PictureSizeDialog (0x2000028): the numbered list of the
// picture sizes the current source allows, bound to the picture-size option.
// The current size has the focus; moving the focus applies a size at once
// (the picture-size key steps down the list like Down), OK closes. Nothing
// is undone on close. While the picture is in 3D only the native size can
// be applied; the other rows are disabled.
//
// NonMenuSystem::PictureSizeItem: one row, its index image at the left.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "units/Button/Button.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/Views/Image.h"

namespace NonMenuSystem {

class PictureSizeItem : public ::Button::IconButton {
  KV_CLASS(NonMenuSystem, PictureSizeItem, ::Button::IconButton)
 public:
  static constexpr int32_t kHeight = 27;

  PictureSizeItem();

  void OnSetIndexImage(Resources::Bitmap* bitmap);
  Resources::Bitmap* OnGetIndexImage() { return indexImage_.OnGetBitmap(); }
  void RefreshCtrlState(int32_t state) override;
  void Refresh() override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

  int32_t Index = 0;

 private:
  Views::Image indexImage_;
};

class PictureSizeDialog : public KXDWidgetClass {
  KV_CLASS(NonMenuSystem, PictureSizeDialog, KXDWidgetClass)
 public:
  PictureSizeDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Refresh() override;

  // The rows' focus slot: applies the row's size.
  void SetViewMode(kv::Object* item);
  void OnSetOptionType(int32_t id) { OptionType = id; }
  int32_t OnGetOptionType() const { return OptionType; }

  int32_t RowCount() const { return rowCount_; }
  PictureSizeItem* Row(int32_t i) { return i >= 0 && i < rowCount_ ? rows_[static_cast<size_t>(i)] : nullptr; }
  bool PreferredBits() const { return preferredBits_; }

  int32_t OptionType = 0;

 private:
  kv::MemberVector<PictureSizeItem> rows_;
  int32_t rowCount_ = 0;
  bool preferredBits_ = false;
};

}  // namespace NonMenuSystem
