// Shared parts of the guide, recording and media lists: ListForm::PagedList,
// a list with its previous and next page marks side by side at its bottom
// right corner, and ListForm::ColumnRow, a row that draws further views
// (columns, icons) after its caption.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/string.h"
#include "units/Forms/ImageIndicator.h"
#include "units/ListForm/ListClass.h"
#include "units/Resources/Resources.h"

namespace Structures {
class LocalTime;
}
namespace Views {
class Text;
}

namespace ListForm {

class PagedList : public ListClass {
  KV_CLASS(ListForm, PagedList, ListClass)
 public:
  PagedList();
  // The engine's layout, then the previous mark at (width - 40, height - 14)
  // and the next one at (width - 20, height - 14).
  void Refresh() override;
  // The engine's marks, then the rows lay themselves out again when a mark
  // came or went (a row's texts keep clear of the marks that show).
  void updateScrollBars(kv::Object* sender = nullptr) override;
  // Where the marks that show stand, in the list's own coordinates (empty
  // when neither shows): a row whose box reaches it keeps its texts clear
  // of it.
  kv::Rect MarksArea();

 protected:
  // The marks' bitmaps (EPG_ListScrollUp / Down unless a kind sets others).
  void SetMarks(const Resources::BitmapId& prev, const Resources::BitmapId& next);
  Forms::ImageIndicator& PrevMark() { return prev_; }
  Forms::ImageIndicator& NextMark() { return next_; }

 private:
  Forms::ImageIndicator prev_;
  Forms::ImageIndicator next_;
};

class ColumnRow : public ListItem {
  KV_CLASS(ListForm, ColumnRow, ListItem)
 public:
  ColumnRow() = default;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;
  // The caption's state, then every following text column takes the
  // caption's colour (and font, unless the column keeps its own).
  void RefreshCtrlState(int32_t state) override;

 protected:
  // Views drawn after the row's own, in the order added (they stay the
  // row's members; the row only draws them). A following text takes the
  // caption's colour as the focus moves; `font` also its font.
  void AddColumn(Core::View& view, bool follow = false, bool font = false);

 private:
  struct Column {
    Core::View* view;
    bool follow;
    bool font;
  };
  std::vector<Column> columns_;
};

// The short name of a month (0-11) in the GUI language; empty outside.
kv::String MonthName(int32_t month);
// "hh<sep>mm" and "<month><sep>dd" of a local time; month 0-11 by the
// month names, numbers in two digits.
kv::String TimeText(const Structures::LocalTime& t);
kv::String DateText(const Structures::LocalTime& t);
// "hh<sep>mm" of two numbers, with the separator given.
kv::String ClockText(int32_t hours, int32_t minutes, const kv::String& separator);
// Two digits (zero-padded) of a number below 100; more digits as they come.
kv::String TwoDigits(int32_t n);

// Puts a short text together in one buffer and makes one string of it: the
// parts are copied once, with no string for each number or joint.
class TextBuilder {
 public:
  TextBuilder& Add(std::u16string_view part);
  TextBuilder& Add(const kv::String& part) { return Add(part.View()); }
  // The decimal digits of n, zero-padded to `digits` (as kv::NewStringInt).
  TextBuilder& AddNumber(int32_t n, int32_t digits);
  kv::String Make() const;

 private:
  static constexpr int32_t kFixed = 48;
  char16_t fixed_[kFixed];
  int32_t length_ = 0;
  std::u16string spill_;  // the whole text once it outgrows fixed_
};

}  // namespace ListForm
