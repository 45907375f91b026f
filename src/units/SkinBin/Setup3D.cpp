#include "units/SkinBin/Setup3D.h"

#include "platform/xpm/xpm.h"
#include "platform/xpm/xpm_cec3d.h"
#include "runtime/trace.h"

namespace SkinBin {

KV_REGISTER_CLASS(SkinBin::Setup3D);

void Setup3D::RefreshState(kv::Object*) {
  XPM_3DVideoStatus status{};
  const int32_t r = XPM_3DTV_GetVideoStatus(&status);
  if (r != XPM_OK) {
    kv::LogFailedCall("XPM_3DTV_GetVideoStatus", r);
    return;
  }
  Mode = status.mode;
  State = status.displayState;
  Format = status.inputFormat;
}

void Setup3D::ApplyState(kv::Object*) {
  int32_t mode = Mode;
  switch (State) {
    case Setup3D_State_3D:
      if (!Is3DMode(mode)) mode = Is3DMode(Format) ? Format : OAM_3D_MODE_SBS;
      break;
    case Setup3D_State_2D:
    case Setup3D_State_2Dto3D:
      mode = OAM_3D_MODE_2D;
      break;
    case Setup3D_State_3Dto2D:
      if (!Is3DMode(mode)) mode = OAM_3D_MODE_2D;
      break;
    default:
      kv::Trace("SkinBin::Setup3D::ApplyState: nothing to apply in state %i", {State});
      return;
  }
  Mode = mode;
  kv::Trace("SkinBin::Setup3D::ApplyState %i %i", {State, mode});
  int32_t r = XPM_3DTV_SetMode(mode);
  if (r != XPM_OK) kv::LogFailedCall("XPM_3DTV_SetMode", r);
  r = XPM_3DTV_SetOutput(Is3DDisplay(State) ? 1 : 0);
  if (r != XPM_OK) kv::LogFailedCall("XPM_3DTV_SetOutput", r);
}

void Setup3D::SwitchTo2DState(bool deferred) {
  if (Is3DMode(Format)) {
    Mode = Format;
    State = Setup3D_State_3Dto2D;
  } else {
    Mode = OAM_3D_MODE_2D;
    State = Setup3D_State_2D;
  }
  if (deferred)
    kv::IdleSignal(kv::MakeSlot(this, &Setup3D::ApplyState));
  else
    ApplyState();
}

}  // namespace SkinBin
