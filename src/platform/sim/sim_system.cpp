// The simulated set's device serial, DRM device id and source rings
// (xpm_system.h), over the Sim's persistent state: "sys.esn", "sys.widevine"
// (defaults below) and "ring.<window>.<source>" (the channel "major.minor"
// while the source is in the ring).
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/sim/sim.h"
#include "platform/xpm/xpm.h"
#include "platform/xpm/xpm_system.h"

namespace {

#define SYS_ENTER(name, args)                                                   \
  sim::Sim* tv = sim::Sim::Current();                                          \
  if (auto fail = sim::EnterCall(name, args, XPM_ERR_NOT_READY)) return *fail; \
  if (!tv) return XPM_ERR_NOT_READY

std::string RingKey(int32_t window, int32_t source) {
  return "ring." + std::to_string(window) + "." + std::to_string(source);
}

}  // namespace

int32_t XPM_NetFlixGetESN(char* esn, int32_t size) {
  SYS_ENTER("XPM_NetFlixGetESN", sim::Args(size));
  if (!esn || size <= 0) return XPM_ERR_INVALID_PARAM;
  const std::string text = tv->GetState("sys.esn", "SIMTV-0000000000000042");
  if (static_cast<int32_t>(text.size()) >= size) return XPM_ERR_INVALID_PARAM;
  std::memcpy(esn, text.c_str(), text.size() + 1);
  return XPM_OK;
}

int32_t XPM_GetWidevineDeviceId(char* id) {
  SYS_ENTER("XPM_GetWidevineDeviceId", "");
  if (!id) return XPM_ERR_INVALID_PARAM;
  std::string text = tv->GetState("sys.widevine", "WV00SIM000000042");
  text.resize(XPM_WIDEVINE_ID_LENGTH, '0');
  // Exactly 16 bytes, as the real middleware writes them: no terminator.
  std::memcpy(id, text.data(), XPM_WIDEVINE_ID_LENGTH);
  return XPM_OK;
}

int32_t XPM_AddSourceToRing(int32_t window, int32_t source, int32_t flag, int32_t major, int32_t minor) {
  SYS_ENTER("XPM_AddSourceToRing", sim::Args(window, source, flag, major, minor));
  if (window < 0 || window > 1 || source < 0) return XPM_ERR_INVALID_PARAM;
  return tv->SetState(RingKey(window, source), std::to_string(major) + "." + std::to_string(minor)) ? XPM_OK
                                                                                                  : XPM_ERR_FAILED;
}

int32_t XPM_RemoveSourceFromRing(int32_t window, int32_t source, int32_t flag, int32_t major, int32_t minor) {
  SYS_ENTER("XPM_RemoveSourceFromRing", sim::Args(window, source, flag, major, minor));
  if (window < 0 || window > 1 || source < 0) return XPM_ERR_INVALID_PARAM;
  if (tv->GetState(RingKey(window, source)).empty()) return XPM_ERR_INVALID_PARAM;
  return tv->SetState(RingKey(window, source), "") ? XPM_OK : XPM_ERR_FAILED;
}

