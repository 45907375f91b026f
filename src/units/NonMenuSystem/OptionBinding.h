// The road that the option-bound screens outside the menu share: the record
// of an option id in MainApp::OptionDB, a choice written through the
// record's property reference, the option-change mark of the skin Wrapper,
// and the way the adjustment bars and the toggle overlay leave (closing and
// handing the Up or Down key that closed them back to the page that opened
// them).
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/string.h"

namespace OptionDatabase {
class OptionDataClass;
class OptionCourier;
class SliderCourier;
}  // namespace OptionDatabase

namespace NonMenuSystem {

class WidgetClass;

namespace OptionBinding {

// The record of `id` (null for 0 or an id no module serves).
OptionDatabase::OptionDataClass* Find(int32_t id);
// The record after its Initialize and GetData, with its courier as a slider
// or choice courier (null when the courier is of the other kind).
OptionDatabase::SliderCourier* SliderOf(OptionDatabase::OptionDataClass* record);
OptionDatabase::OptionCourier* ChoiceOf(OptionDatabase::OptionDataClass* record);
// Record id = `id`, Id2Value, and the value written through the property
// reference when the record has one. Returns the mapped value.
int32_t WriteIndex(OptionDatabase::OptionDataClass* record, int32_t id);
// The property's value into the record, then Val2Id; returns the record's id.
int32_t ReadIndex(OptionDatabase::OptionDataClass* record);
// The picture size `value` as written on a PC input: with the preferred-mode
// bits (auto aspect, 4:3 stretch) the set holds now, so that choosing a size
// does not clear them. Elsewhere `value` as it is.
int32_t PictureSizeWithPreferredBits(int32_t value);
// SkinBinWrapper_MarkOptionChange (nothing while the skin Wrapper is not the live one).
void MarkOptionChange(int32_t id);

// Sends a Structures::Message with `code` to every registered form.
void Announce(int32_t code);

// With an owning sub-system, the help bar shows `parts` joined by the help
// separator, with the button mask `mask`.
void ShowHelp(WidgetClass* w, uint32_t mask, std::initializer_list<kv::String> parts);

// Closes `w`; with a previous state and an owning sub-system, opens the
// previous state with a SkinBin::UserRefInt carrying a key event (down flag
// set; code 5 when `down`, else 4 when `up`, else 0) and the transition code
// of where `w` was opened from.
void LeaveWithKey(WidgetClass* w, bool up, bool down);

}  // namespace OptionBinding
}  // namespace NonMenuSystem
