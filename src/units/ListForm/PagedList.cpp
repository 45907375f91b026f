#include "units/ListForm/PagedList.h"

#include "runtime/text.h"
#include "strings/ListForm.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/NonMenuSystem/DateTimeEditors.h"
#include "units/Structures/LocalTime.h"
#include "units/Views/Text.h"

namespace ListForm {

KV_REGISTER_CLASS(ListForm::PagedList);
KV_REGISTER_CLASS(ListForm::ColumnRow);

PagedList::PagedList() {
  for (Forms::ImageIndicator* mark : {&prev_, &next_}) {
    mark->OnSetBounds({0, 0, 16, 12});
    Add(mark);
  }
  SetMarks(Bitmaps::EPG_ListScrollUp, Bitmaps::EPG_ListScrollDown);
  PrevIndicator = &prev_;
  NextIndicator = &next_;
}

void PagedList::SetMarks(const Resources::BitmapId& prev, const Resources::BitmapId& next) {
  prev_.OnSetEnabledBitmap(Resources::LoadResource(prev));
  next_.OnSetEnabledBitmap(Resources::LoadResource(next));
}

void PagedList::Refresh() {
  ListClass::Refresh();
  const kv::Rect b = Bounds();
  prev_.OnSetBounds(prev_.Bounds().MoveTo({b.W() - 40, b.H() - 14}));
  next_.OnSetBounds(next_.Bounds().MoveTo({b.W() - 20, b.H() - 14}));
}

// A column's text ends in an ellipsis where the row's font makes it wider
// than its column.
void ColumnRow::AddColumn(Core::View& view, bool follow, bool font) {
  if (auto* text = kv::Cast<Views::Text>(&view)) text->OnSetEllipsis(true);
  columns_.push_back({&view, follow, font});
}

void ColumnRow::RefreshCtrlState(int32_t state) {
  ListItem::RefreshCtrlState(state);
  for (const Column& c : columns_) {
    auto* text = kv::Cast<Views::Text>(c.view);
    if (!text || !c.follow) continue;
    if (text->OnGetColor() != TextView().OnGetColor()) text->OnSetColor(TextView().OnGetColor());
    if (c.font && text->OnGetFont() != TextView().OnGetFont()) text->OnSetFont(TextView().OnGetFont());
  }
}

void ColumnRow::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  ListItem::Draw(target, clip, origin, opacity);
  for (const Column& c : columns_)
    if (c.view->IsVisible()) DrawPart(*c.view, target, clip, origin, opacity);
}

kv::String TwoDigits(int32_t n) { return kv::NewStringInt(n, 2); }

kv::String TimeText(const Structures::LocalTime& t) {
  return kv::ConcatString(kv::ConcatString(TwoDigits(t.Hour), kv::LoadString(TIME_SEPARATOR)), TwoDigits(t.Minute));
}

kv::String DateText(const Structures::LocalTime& t) {
  return kv::ConcatString(kv::ConcatString(NonMenuSystem::MonthName(t.Month), kv::LoadString(DATE_SEPARATOR)),
                          TwoDigits(t.Day));
}

}  // namespace ListForm
