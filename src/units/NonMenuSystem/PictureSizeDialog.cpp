#include "units/NonMenuSystem/PictureSizeDialog.h"

#include "keys/keycodes.h"
#include "strings/NonMenuSystem.h"
#include "strings/SkinBin.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Bitmaps/ListBitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/OptionBinding.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/Wrapper.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(NonMenuSystem::PictureSizeItem);
KV_REGISTER_CLASS(NonMenuSystem::PictureSizeDialog);

namespace NonMenuSystem {

namespace {

using namespace keys;

constexpr int32_t kVgaSource = 6;
// The preferred-mode bits, kept when a size is written on a PC input.
constexpr int32_t kPreferredBits = 0x300;
constexpr int32_t kRowWidth = 180;

const Resources::BitmapId* const kIndexImages[] = {
    &Bitmaps::InputListSource0, &Bitmaps::InputListSource1, &Bitmaps::InputListSource2, &Bitmaps::InputListSource3,
    &Bitmaps::InputListSource4, &Bitmaps::InputListSource5, &Bitmaps::InputListSource6, &Bitmaps::InputListSource7,
    &Bitmaps::InputListSource8, &Bitmaps::InputListSource9};

int32_t CurrentSourceType() {
  ::Wrapper::Wrapper* w = Live::Base();
  return w ? w->GetSourceType(w->GetCurrentSource(0)) : -1;
}

// The 3D picture allows only the native size: a 3D input, or a 3D display
// of a mode other than 2D.
bool OnlyNativeSize() {
  SkinBin::Wrapper* w = Live::Skin();
  if (!w) return false;
  SkinBin::Setup3D& s = w->Setup3D;
  s.RefreshState();
  return s.Format >= 2 || ((s.State == 1 || s.State == 3) && s.Mode != 1);
}

}  // namespace

// --- PictureSizeItem -------------------------------------------------------------

PictureSizeItem::PictureSizeItem() {
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::TimeZoneListButtonFocus));
  OnSetTextFont(Resources::LoadResource(Fonts::MediumFont));
  OnSetTextColor(Colors::StandardTextColor);
  indexImage_.OnSetAutoSize(true);
  OnSetBounds({0, 0, kRowWidth, kHeight});
}

void PictureSizeItem::OnSetIndexImage(Resources::Bitmap* bitmap) {
  indexImage_.OnSetBitmap(bitmap);
  Refresh();
}

void PictureSizeItem::RefreshCtrlState(int32_t state) {
  ::Button::IconButton::RefreshCtrlState(state);
  // A disabled row fades into the option background.
  if (OnGetIsDisabled()) TextView().OnSetColor(Colors::DefaultOptionBgColor);
}

void PictureSizeItem::Refresh() {
  ::Button::IconButton::Refresh();
  const int32_t h = Bounds().H();
  const kv::Rect r = indexImage_.Bounds();
  const int32_t y = (h - r.H()) / 2;
  // The index images are the input list's row backdrops, whose digit stands
  // in a column kInputIndexLeft from their right end: shift the image so
  // that column starts at x 11, before the caption, inside this narrow row.
  const int32_t x = r.W() > Bitmaps::kInputIndexLeft ? 11 - (r.W() - Bitmaps::kInputIndexLeft) : 11;
  indexImage_.OnSetBounds({x, y, x + r.W(), y + r.H()});
  const kv::Rect t = TextView().Bounds();
  TextView().OnSetBounds({10 + 24, t.y1, Bounds().W(), t.y2});
}

void PictureSizeItem::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  ::Button::IconButton::Draw(target, clip, origin, opacity);
  DrawPart(indexImage_, target, clip, origin, opacity);
}

// --- PictureSizeDialog -----------------------------------------------------------

PictureSizeDialog::PictureSizeDialog() {
  WinID = WinIDs::WIN_ID_PictureSizeDialog;
  WidgetOrigin = {60, -1};
  OnSetFrameWidth(0);
  OnSetCaption(kv::GetVariantOfString(PictureMenuViewMode));
  OptionType = SkinBin::OPTION_TYPE_PICTURE_SIZE;
}

void PictureSizeDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  // A dialog opened again builds its rows afresh.
  for (size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i]->Owner() == this) Remove(rows_[i]);
  rows_.clear();
  rowCount_ = 0;
  OptionDatabase::OptionDataClass* record = OptionBinding::Find(OptionType);
  if (record) {
    record->Initialize();
    const int32_t count = record->Num < 0 ? 0 : record->Num;
    const bool nativeOnly = OnlyNativeSize();
    for (int32_t i = 0; i < count; ++i) {
      auto* row = kv::New<PictureSizeItem>();
      row->Index = i;
      row->OnFocus = kv::MakeSlot(this, &PictureSizeDialog::SetViewMode);
      row->OnSetIndexImage(Resources::LoadResource(*kIndexImages[i % 10]));
      record->Id = i;
      auto* courier = OptionBinding::ChoiceOf(record);
      row->OnSetText(courier ? courier->Caption : kv::String());
      const bool native = static_cast<size_t>(i) < record->Choices.size() &&
                          record->Choices[static_cast<size_t>(i)].caption == &SkinBin::OPT_C_PS_NATIVE;
      row->OnSetIsDisabled(nativeOnly && !native);
      rows_.push_back(row);
      Add(row);
    }
    rowCount_ = count;
    const int32_t current = OptionBinding::ReadIndex(record);
    if (PictureSizeItem* row = Row(current)) OnSetFocus(row);
  }
  KeyRoutingForm::OnSetBounds({0, 0, Bounds().W(), 2 * FrameWidth + PictureSizeItem::kHeight * rowCount_ + 64});
  preferredBits_ = CurrentSourceType() == kVgaSource;
}

void PictureSizeDialog::SetViewMode(kv::Object* item) {
  OptionDatabase::OptionDataClass* record = OptionBinding::Find(OptionType);
  auto* row = kv::Cast<PictureSizeItem>(item);
  if (!record || !row || row->OnGetIsDisabled()) return;
  record->Id = row->Index;
  record->Id2Value();
  if (!record->HasProperty()) return;
  // The property may carry the preferred-mode bits: compare without them.
  if ((record->RefValue.Get() & ~kPreferredBits) == (record->Value & ~kPreferredBits)) return;
  record->RefValue.Set(preferredBits_ ? OptionBinding::PictureSizeWithPreferredBits(record->Value) : record->Value);
}

kv::Object* PictureSizeDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return KXDWidgetClass::HandleEvent(event);
  switch (key->Code) {
    case KEY_UP:
      if (!SelectPrev()) SelectLast();
      break;
    case KEY_DOWN:
    case KEY_PICTURE_SIZE:
      if (!SelectNext()) SelectFirst();
      break;
    case KEY_OK:
      Post(&WidgetClass::ExitSlot);
      return this;
    default:
      return KXDWidgetClass::HandleEvent(event);
  }
  ResetTimeout();
  return this;
}

void PictureSizeDialog::Refresh() {
  KXDWidgetClass::Refresh();
  const int32_t left = FrameWidth + 5, top = HasCaption ? caption_.Bounds().y2 + 2 : FrameWidth;
  for (int32_t i = 0; i < rowCount_; ++i) {
    PictureSizeItem* row = rows_[static_cast<size_t>(i)];
    const int32_t y = top + 10 + i * PictureSizeItem::kHeight;
    row->OnSetBounds({left + 14, y, left + 14 + kRowWidth, y + PictureSizeItem::kHeight});
  }
}

}  // namespace NonMenuSystem
