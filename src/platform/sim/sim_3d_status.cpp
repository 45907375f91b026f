#include "platform/sim/sim_3d_status.h"

#include "platform/sim/sim.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"

namespace sim {

void Send3DStatus(Sim& tv, int32_t format, int64_t at) {
  tv.Inject(XPM_EVT_3D_STATUS, XPM_Int32Payload{format}, at);
}

}  // namespace sim
