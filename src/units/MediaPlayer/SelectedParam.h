// MediaPlayer::SelectedParam: what a browse screen, the open question of a
// new stick or the device selection hands the screen it opens: the medium
// (device) number, the chosen item's index in its folder, the opening
// screen's own previous-state class (handed back when the player returns to
// the browser, so that the browser keeps its way back) and two texts, the
// first the item's name.
//
// Made from an Events::StatusEvent (the plug report that opens the question,
// kv::NewObjectIndirect(class, status)), it takes the report's third value
// as the device number.
#pragma once

#include <cstdint>

#include "runtime/object.h"
#include "runtime/string.h"

namespace MediaPlayer {

class SelectedParam : public kv::Object {
  KV_CLASS(MediaPlayer, SelectedParam, kv::Object)
 public:
  SelectedParam() = default;
  // From a status event: its third value is the device number; any other
  // object (or none) leaves the defaults.
  explicit SelectedParam(kv::Object* from);

  // A parameter for the screen that plays item `index` of medium `medium`,
  // opened from a screen whose previous state is `prev`.
  static SelectedParam* Make(int32_t medium, int32_t index, const kv::Class* prev, const kv::String& name = {});

  // The medium (device number of a plugged stick).
  int32_t Medium = 0;
  // The chosen item's absolute index in its folder; -1 for none.
  int32_t Index = -1;
  // The previous-state class of the screen that opened the player.
  const kv::Class* PrevClass = nullptr;
  kv::String Name;
  kv::String Text2;
};

}  // namespace MediaPlayer
