// MenuSystem::SettingPage: a setting page declared by a table (window id,
// caption, level, parent page, rows with kind, caption, option and target).
// The page builds its rows from the table in order and keeps every row it
// built, also those it takes out again, so that page rules can name a row
// by its place in the table.
//
// Every in-place change of a row (a choice stepped, a slider moved) restarts
// the page's time-out and calls RowChanged, which by default runs the
// page's grey-out refresh; pages override both to apply their rules.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/text.h"
#include "units/MenuSystem/ThirdMenu.h"

namespace SkinBin {
class Wrapper;
}
namespace Wrapper {
class Wrapper;
}

namespace MenuSystem {

enum class RowKind : uint8_t {
  Link,          // SubMenuItem
  Value,         // SubMenuItemValue (opens its overlay)
  Select,        // SubMenuItemValueSelect (changed in place)
  Slider,        // AdjustItemSlider (opens its bar)
  SliderSelect,  // AdjustItemSliderSelect (changed in place)
  Arrow,         // AdjustItemArrow
  RGBOption,     // RGBFilterOptionItem
  RGBSlider,     // RGBFilterSliderItem
  BaseColor,     // BaseColorAdjustItem
  Timer,         // TimerSetItem
  Channel,       // ChannelSetItem
  TimerSource,   // TimerSourceItem
  Volume,        // VolumeSetItem
};

// A row's target, looked up when the page is built (null: no target yet).
using ClassOf = const kv::Class* (*)();
// A target: a class of this unit, or a class of a later unit looked up by
// name (no target until it exists).
#define MS_TARGET(expr) +[]() -> const kv::Class* { return expr; }
// The dialog of the rows that ask to confirm (the row's option is the
// confirmation type).
const kv::Class* ConfirmDialog();

// Source types of the current source.
inline constexpr int32_t kTypeRF = 1;
inline constexpr int32_t kTypeHDMI = 5;
inline constexpr int32_t kTypeVGA = 6;
inline constexpr int32_t kTypeMM = 7;
inline constexpr int32_t kTypeExt = 9;
inline constexpr int32_t kTypeDVI = 10;
inline constexpr int32_t kTypeRFDigital = 12;
inline bool IsRF(int32_t type) { return type == kTypeRF || type == kTypeRFDigital; }

struct RowDef {
  RowKind kind;
  const kv::MultiTextId* caption;
  int32_t option = 0;
  ClassOf target = nullptr;
  bool noMark = false;  // a slider drawn without its centre mark
};

struct PageLayout {
  uint32_t winId;
  const kv::MultiTextId* caption;
  int32_t level;
  ClassOf parent;
  const RowDef* rows;
  int32_t rowCount;
  int32_t itemGap = 1;
  int32_t fixedHeight = 0;
};

template <size_t N>
constexpr PageLayout Page(uint32_t winId, const kv::MultiTextId* caption, int32_t level, ClassOf parent,
                        const RowDef (&rows)[N], int32_t itemGap = 1, int32_t fixedHeight = 0) {
  return PageLayout{winId, caption, level, parent, rows, static_cast<int32_t>(N), itemGap, fixedHeight};
}

class SettingPage : public ThirdMenu {
  KV_CLASS(MenuSystem, SettingPage, ThirdMenu)
 public:
  SettingPage() = default;

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void ReInit() override;
  void Close() override;

  // The row built from table line `i` (also when taken out), or null.
  SubMenuItem* R(int32_t i) { return i >= 0 && i < static_cast<int32_t>(rows_.size()) ? rows_[static_cast<size_t>(i)] : nullptr; }
  // Disables or enables the row of table line `i`.
  void Grey(int32_t i, bool disabled);
  // Takes the row of table line `i` out of the page.
  void Drop(int32_t i);

  // Runs after the rows are bound and after every in-place change.
  virtual void RefreshGrayout() {}
  // An in-place change of `row` (its value is already written).
  virtual void RowChanged(SubMenuItem* row);

  // A row's in-place change: restarts the time-out, then RowChanged.
  void RowChangedSlot(kv::Object* sender);
  // Opens `target` from code, as a row would, with value 0.
  void OpenSubPage(const kv::Class* target);

 protected:
  void Build(const PageLayout& page);
  const PageLayout* layout_ = nullptr;

 private:
  kv::MemberVector<SubMenuItem> rows_;
};

// The Wrappers the pages read (the skin one is null before it exists).
SkinBin::Wrapper* SkinOf();
::Wrapper::Wrapper* BaseOf();
// The current source's type, a network application other than the store
// demo owns the screen, a window of that id is open.
int32_t SourceType();
bool NetAppActive();
bool WindowOpen(uint32_t winId);
// Sends a message to every receiver, or to `target` only.
void SendMessage(int32_t code, int32_t param, const kv::Class* target = nullptr);

}  // namespace MenuSystem
