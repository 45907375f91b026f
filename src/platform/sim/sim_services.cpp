// The simulated set's caption service in use, picture-in-picture size, power
// key, HDMI audio-video mute and audio-video reset, over the Sim's
// persistent state: "svc.cc.type", "svc.cc.service", "svc.cc.basic.count"
// and "svc.cc.advanced.count" (the services the programme carries, 4 and 6
// when unset), "svc.pip.size", "svc.powerkey" and "svc.hdmi.avmute".
#include <string>

#include "platform/sim/sim.h"
#include "platform/xpm/xpm.h"
#include "platform/xpm/xpm_services.h"

namespace {

#define SVC_ENTER(name, args)                                                   \
  sim::Sim* tv = sim::Sim::Current();                                          \
  if (auto fail = sim::EnterCall(name, args, XPM_ERR_NOT_READY)) return *fail; \
  if (!tv) return XPM_ERR_NOT_READY

int32_t Read(sim::Sim& tv, const std::string& key, int32_t fallback) {
  const std::string v = tv.GetState(key);
  try {
    return v.empty() ? fallback : std::stoi(v);
  } catch (...) {
    return fallback;
  }
}

int32_t Write(sim::Sim& tv, const std::string& key, int32_t value) {
  return tv.SetState(key, std::to_string(value)) ? XPM_OK : XPM_ERR_FAILED;
}

}  // namespace

int32_t XPM_GetCurrentCaptionService(int32_t window, XPM_CaptionService* service) {
  SVC_ENTER("XPM_GetCurrentCaptionService", sim::Args(window));
  if (!service || window < 0 || window > 1) return XPM_ERR_INVALID_PARAM;
  service->type = Read(*tv, "svc.cc.type", 0);
  service->service = Read(*tv, "svc.cc.service", 1);
  return XPM_OK;
}

int32_t XPM_SetCaptionService(int32_t window, int32_t type, int32_t service) {
  SVC_ENTER("XPM_SetCaptionService", sim::Args(window, type, service));
  if (window < 0 || window > 1 || type < 0 || type > 1) return XPM_ERR_INVALID_PARAM;
  const int32_t count = type == 0 ? Read(*tv, "svc.cc.basic.count", 4) : Read(*tv, "svc.cc.advanced.count", 6);
  if (service < 1 || service > count) return XPM_ERR_INVALID_PARAM;
  if (Write(*tv, "svc.cc.type", type) != XPM_OK) return XPM_ERR_FAILED;
  return Write(*tv, "svc.cc.service", service);
}

int32_t XPM_GetPipSize(int32_t* size) {
  SVC_ENTER("XPM_GetPipSize", "");
  if (!size) return XPM_ERR_INVALID_PARAM;
  *size = Read(*tv, "svc.pip.size", 0);
  return XPM_OK;
}

int32_t XPM_SetPipSize(int32_t size) {
  SVC_ENTER("XPM_SetPipSize", sim::Args(size));
  if (size < 0 || size > 2) return XPM_ERR_INVALID_PARAM;
  return Write(*tv, "svc.pip.size", size);
}

int32_t XPM_PowerKeyCtrl(int8_t on) {
  SVC_ENTER("XPM_PowerKeyCtrl", sim::Args(static_cast<int32_t>(on)));
  return Write(*tv, "svc.powerkey", on ? 1 : 0);
}

int32_t XPM_GetHdmiAvMute(int32_t window, int32_t* muted) {
  SVC_ENTER("XPM_GetHdmiAvMute", sim::Args(window));
  if (!muted || window < 0 || window > 1) return XPM_ERR_INVALID_PARAM;
  *muted = Read(*tv, "svc.hdmi.avmute", 0) != 0;
  return XPM_OK;
}

int32_t XPM_ResetAudioVideoProperties(void) {
  SVC_ENTER("XPM_ResetAudioVideoProperties", "");
  return XPM_OK;
}
