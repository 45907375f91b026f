#include "units/ListForm/PagedList.h"

#include <algorithm>

#include "runtime/text.h"
#include "strings/ListForm.h"
#include "strings/Strings.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Structures/LocalTime.h"
#include "units/Views/Text.h"

namespace ListForm {

KV_REGISTER_CLASS(ListForm::PagedList);
KV_REGISTER_CLASS(ListForm::ColumnRow);

namespace {
const kv::MultiTextId* const kMonthNames[12] = {&Strings::Jan, &Strings::Feb, &Strings::Mar, &Strings::Apr,
                                                &Strings::May, &Strings::Jun, &Strings::Jul, &Strings::Aug,
                                                &Strings::Sep, &Strings::Oct, &Strings::Nov, &Strings::Dec};
}  // namespace

kv::String MonthName(int32_t month) {
  return month >= 0 && month < 12 ? kv::GetVariantOfString(*kMonthNames[month]) : kv::String();
}

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

kv::Rect PagedList::MarksArea() {
  const kv::Rect b = Bounds();
  if (!prev_.OnGetEnabled() && !next_.OnGetEnabled()) return {};
  return {b.W() - (prev_.OnGetEnabled() ? 40 : 20), b.H() - 14, b.W() - 4, b.H() - 2};
}

void PagedList::updateScrollBars(kv::Object* sender) {
  const bool before[2] = {prev_.OnGetEnabled(), next_.OnGetEnabled()};
  ListClass::updateScrollBars(sender);
  if (before[0] == prev_.OnGetEnabled() && before[1] == next_.OnGetEnabled()) return;
  for (Forms::Ctrl* row : GetAllRows())
    if (auto* item = kv::Cast<ListItem>(row)) item->Refresh();
}

void PagedList::Refresh() {
  ListClass::Refresh();
  const kv::Rect b = Bounds();
  prev_.OnSetBounds(prev_.Bounds().MoveTo({b.W() - 40, b.H() - 14}));
  next_.OnSetBounds(next_.Bounds().MoveTo({b.W() - 20, b.H() - 14}));
  // The marks stand over the rows, the focused row's bar included.
  const int32_t n = GetChildCount();
  if (GetChildIndex(&prev_) != n - 2 || GetChildIndex(&next_) != n - 1) {
    RestackTop(&prev_);
    RestackTop(&next_);
  }
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

TextBuilder& TextBuilder::Add(std::u16string_view part) {
  const auto n = static_cast<int32_t>(part.size());
  if (spill_.empty() && length_ + n <= kFixed) {
    std::copy(part.begin(), part.end(), fixed_ + length_);
    length_ += n;
    return *this;
  }
  if (spill_.empty()) spill_.assign(fixed_, static_cast<size_t>(length_));
  spill_.append(part);
  length_ += n;
  return *this;
}

TextBuilder& TextBuilder::AddNumber(int32_t n, int32_t digits) {
  char16_t out[kv::kMaxDecimalLength];
  return Add(std::u16string_view(out, static_cast<size_t>(kv::WriteDecimal(n, digits, out))));
}

kv::String TextBuilder::Make() const {
  if (!spill_.empty()) return kv::String::FromUtf16(spill_);
  return kv::String::FromUtf16(fixed_, length_);
}

kv::String ClockText(int32_t hours, int32_t minutes, const kv::String& separator) {
  static kv::NumberTexts made;
  return made.Get(hours, minutes, 0, separator, [&] {
    return TextBuilder().AddNumber(hours, 2).Add(separator).AddNumber(minutes, 2).Make();
  });
}

kv::String TimeText(const Structures::LocalTime& t) {
  return ClockText(t.Hour, t.Minute, kv::LoadString(TIME_SEPARATOR));
}

kv::String DateText(const Structures::LocalTime& t) {
  static kv::NumberTexts made;
  return made.Get(t.Month, t.Day, 0, kv::String(), [&t] {
    return TextBuilder()
        .Add(MonthName(t.Month))
        .Add(kv::LoadString(DATE_SEPARATOR))
        .AddNumber(t.Day, 2)
        .Make();
  });
}

}  // namespace ListForm
