// SkinBin::Setup3D: the set's 3D state as the screens see it: the 3D state
// (Setup3D_State_*), the 3D mode to set and the format the input carries.
//
// RefreshState reads all three from the middleware's video status;
// ApplyState sets the middleware's mode and output from the state:
//   3D: mode (the input's 3D format when the mode is not a 3D one), output on;
//   2D to 3D: mode 2D (1), output on;   2D: mode 1, output off;
//   3D shown as 2D: the mode as it is, output off;
//   none and unsupported: nothing is applied.
#pragma once

#include <cstdint>

#include "runtime/slot.h"
#include "units/Core/Timer.h"

namespace SkinBin {

inline constexpr int32_t Setup3D_State_None = 0;
inline constexpr int32_t Setup3D_State_3D = 1;
inline constexpr int32_t Setup3D_State_2D = 2;
inline constexpr int32_t Setup3D_State_2Dto3D = 3;
inline constexpr int32_t Setup3D_State_3Dto2D = 4;
inline constexpr int32_t Setup3D_State_Unsupported = 5;

inline constexpr int32_t OAM_3D_MODE_NONE = 0;
inline constexpr int32_t OAM_3D_MODE_2D = 1;
inline constexpr int32_t OAM_3D_MODE_SBS = 2;
inline constexpr int32_t OAM_3D_MODE_OU = 3;
inline constexpr int32_t OAM_3D_MODE_FP_720 = 5;
inline constexpr int32_t OAM_3D_MODE_FP_1080 = 6;
inline constexpr int32_t OAM_3D_MODE_UNSUPPORTED = -2;

class Setup3D : public kv::Object {
  KV_CLASS(SkinBin, Setup3D, kv::Object)
 public:
  Setup3D() = default;

  // Slots.
  void RefreshState(kv::Object* sender = nullptr);
  void ApplyState(kv::Object* sender = nullptr);

  static bool Is3DMode(int32_t value) { return value >= 2; }
  static bool Is3DDisplay(int32_t value) { return value == Setup3D_State_3D || value == Setup3D_State_2Dto3D; }
  // The input carries a format the set can show (neither none nor unsupported).
  bool IsFormatSupported() const { return Format != OAM_3D_MODE_NONE && Format != OAM_3D_MODE_UNSUPPORTED; }
  // A 3D picture is chosen: the input carries a 3D format or 2D is turned into 3D.
  bool IsFormatSelected() const { return Is3DMode(Format) || State == Setup3D_State_2Dto3D; }
  // Back to a 2D picture: a 3D input is shown as 2D (mode: its format), else
  // plain 2D. Applied at once, or in the next pass when `deferred`.
  void SwitchTo2DState(bool deferred);

  int32_t State = Setup3D_State_None;
  int32_t Mode = OAM_3D_MODE_2D;
  int32_t Format = OAM_3D_MODE_NONE;
};

}  // namespace SkinBin
