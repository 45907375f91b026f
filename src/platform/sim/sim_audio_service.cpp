// The simulated coding and channel mode of the audio service (sim_audio_service.h).
#include "platform/sim/sim_audio_service.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/sim/sim_store.h"
#include "platform/sim/sim_tv_call.h"
#include "platform/xpm/xpm_audio_service.h"
#include "runtime/trace.h"

namespace sim {

namespace {
struct Format {
  int32_t coding = XPM_AUDIO_CODING_PCM;
  int32_t audioMode = 2;
};
Volatile<Format> g_format;
}  // namespace

void SetAudioServiceFormat(Sim& tv, int32_t coding, int32_t audioMode) {
  std::lock_guard<std::mutex> lock(g_format.Mutex());
  g_format.Of(tv) = Format{coding, audioMode};
}

}  // namespace sim

int32_t XPM_GetCurrentAudioServiceInfo(int32_t window, XPM_CurrentAudioServiceInfo* info) {
  SIM_TV_ENTER("XPM_GetCurrentAudioServiceInfo", sim::Args(window));
  SIM_TV_NEED(info);
  std::memset(info, 0, sizeof *info);
  int32_t index = 0;
  if (const int32_t status = state.CurrentAudioService(window, &index, kCall); status != XPM_OK) return status;
  std::string language;
  if (state.AudioServiceLanguage(window, index, &language, kCall) == XPM_OK)
    std::memcpy(info->language, language.c_str(), std::min(language.size(), sizeof info->language - 1));
  std::lock_guard<std::mutex> lock(sim::g_format.Mutex());
  const sim::Format& f = sim::g_format.Of(*tv);
  info->coding = f.coding;
  info->audioMode = f.audioMode;
  return XPM_OK;
}
