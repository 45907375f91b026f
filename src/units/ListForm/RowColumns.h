// The columns of list rows, shared by the rows that lay their views out in
// them and the dialogs whose headings stand over them, and the making of
// rows.
//
// A column keeps its left and right edges from the row's left edge; an edge
// below 0 counts from the row's right edge (-10: 10 px before it), so that a
// row taking its list's width (ListClass::RowsTakeWidth) spreads its columns
// across it. Each row kind keeps its columns in one table below: its
// Refresh places its views from it, and the dialog showing the list places
// its headings with PlaceHeadings from the same entries.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "runtime/geometry.h"

namespace kv {
struct Class;
}
namespace Core {
class View;
}
namespace Primitives {
class KeyRoutingCtrl;
}

namespace ListForm {

class ListClass;

struct RowColumn {
  int32_t x1 = 0;
  int32_t x2 = 0;
  constexpr int32_t Left(int32_t width) const { return x1 < 0 ? width + x1 : x1; }
  constexpr int32_t Right(int32_t width) const { return x2 < 0 ? width + x2 : x2; }
  // The column across a row `width` wide, `top` to `bottom`.
  constexpr kv::Rect In(int32_t width, int32_t top, int32_t bottom) const {
    return {Left(width), top, Right(width), bottom};
  }
  // A view `w` x `h` at the column's left edge, centred in a row `rowH` high.
  constexpr kv::Rect Icon(int32_t width, int32_t w, int32_t h, int32_t rowH) const {
    return kv::Rect{0, 0, w, h}.MoveTo({Left(width), (rowH - h) / 2});
  }
  // A view `w` x `h` in the middle of the column, centred in a row `rowH` high.
  constexpr kv::Rect Centred(int32_t width, int32_t w, int32_t h, int32_t rowH) const {
    return kv::Rect{0, 0, w, h}.MoveTo({(Left(width) + Right(width) - w) / 2, (rowH - h) / 2});
  }
};

// The channel rows (ChannelLists.h): every one shows its number and its
// label; each kind adds its columns at the row's right.
namespace ChannelColumns {
inline constexpr RowColumn kNumber{8, 64};
// ChannelLockItem
inline constexpr RowColumn kLockLabel{68, -44};
inline constexpr RowColumn kLock{-36, -12};
// ChannelOptionItem
inline constexpr RowColumn kOptionLabel{68, -110};
inline constexpr RowColumn kOptionKind{-100, -70};
inline constexpr RowColumn kOptionCheck{-36, -16};
// ManualChannelItem
inline constexpr RowColumn kManualLabel{68, -200};
inline constexpr RowColumn kManualKind{-190, -160};
inline constexpr RowColumn kManualNew{-120, -46};
inline constexpr RowColumn kManualBars{-36, -13};
// ChannelItem (the scan's result)
inline constexpr RowColumn kResultLabel{68, -260};
inline constexpr RowColumn kResultPhysical{-250, -180};
inline constexpr RowColumn kResultKind{-170, -140};
inline constexpr RowColumn kResultSkip{-90, -20};
}  // namespace ChannelColumns

// The recording rows (RecordLists.h): the map wide enough for "CABLE" in
// every menu language, the date 10 px after the caption, the time and the
// duration 4 px apart.
namespace RecordColumns {
inline constexpr RowColumn kTuner{8, 44};
inline constexpr RowColumn kChannel{48, 100};
// The map reads whole in every menu language ("CABLE", "CÂBLE").
inline constexpr RowColumn kMap{102, 172};
inline constexpr RowColumn kTitle{176, 334};
inline constexpr RowColumn kDate{344, 420};
inline constexpr RowColumn kTime{424, 488};
// Wide enough for its heading in every menu language ("Duración").
inline constexpr RowColumn kDuration{492, 578};
// Scheduled: the timer's kind 4 px after the duration, wide enough for it in
// every menu language ("Temporizador"), then its repeat; the status and the
// active box each under a heading of their own.
inline constexpr RowColumn kSource{582, 716};
inline constexpr RowColumn kRepeat{720, 750};
inline constexpr RowColumn kStatus{760, 830};
inline constexpr RowColumn kActive{836, 896};
// Recorded: the status icon 10 px after the duration, the file name 15 px
// after the icon.
inline constexpr RowColumn kFile{588, -10};
inline constexpr RowColumn kFileName{621, -10};
}  // namespace RecordColumns

// The skin's access-point rows (KXDApItem): the network name, then the
// padlock and the signal bar each centred in its column, then the mode
// (protocol) text, whose longest name ("802.11a/b/g/n") fits whole and
// ends 10 px before the focus bar's right end; the headings over them stand
// well apart.
namespace KXDApColumns {
inline constexpr RowColumn kName{8, -340};
inline constexpr RowColumn kSecurity{-332, -228};
inline constexpr RowColumn kSignal{-216, -150};
inline constexpr RowColumn kMode{-138, -10};
}  // namespace KXDApColumns

// A new row (or grid cell) of class `cls`, laid out by its own class's
// Refresh: a constructor's call reaches only the Refresh of the class being
// built, and a row given the size it already has is never laid out again.
// Null, with a logged error naming `owner`, when `cls` is no control class.
Primitives::KeyRoutingCtrl* NewRow(const kv::Class* cls, const kv::Class* owner);

// The width `list`'s rows have: the list's less ItemXOffset on each side
// when they take it, else the first row's.
int32_t RowWidth(ListClass& list);
// The left and right edges of a column of `list`'s rows, in the coordinates
// of the list's owner (where a dialog places its headings).
std::pair<int32_t, int32_t> ColumnEdges(ListClass& list, const RowColumn& column);

struct ColumnHeading {
  Core::View* view = nullptr;
  RowColumn column;
};
// Places each heading over its column of `list`'s rows, from `top` to
// `bottom` in the coordinates of the list's owner: from the column's left
// edge to 4 px before the next heading to its right, the rightmost to the
// list's right edge. A heading the list holds itself is placed in the
// list's own coordinates (still `top` to `bottom`).
void PlaceHeadings(ListClass& list, const std::vector<ColumnHeading>& headings, int32_t top, int32_t bottom);

}  // namespace ListForm
