// MediaPlayer::SelectedParam: the parameter that opens a browse screen, a
// player or a media dialog: an integer (the medium index, or the number of
// a plugged device), the selected item's absolute index, the opening
// screen's previous-state class (handed back when the opened screen
// returns) and two texts, the first the item's name.
#pragma once

#include <cstdint>

#include "runtime/object.h"
#include "runtime/string.h"

namespace MediaPlayer {

class SelectedParam : public kv::Object {
  KV_CLASS(MediaPlayer, SelectedParam, kv::Object)
 public:
  SelectedParam() = default;

  int32_t Value = 0;
  int32_t Index = -1;
  const kv::Class* PrevClass = nullptr;
  kv::String Text;
  kv::String Text2;
};

}  // namespace MediaPlayer
