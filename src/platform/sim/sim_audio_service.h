// The simulated set's audio coding and channel mode of the service on the
// air (xpm_audio_service.h); stereo PCM until a test or the picture says
// otherwise.
#pragma once

#include <cstdint>

namespace sim {

class Sim;

void SetAudioServiceFormat(Sim& tv, int32_t coding, int32_t audioMode);

}  // namespace sim
