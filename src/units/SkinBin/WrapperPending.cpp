// Operations of the launcher, services and recording files that the
// settings and power timers call, in their plain form until those files
// take them over (each removes its lines here).
#include "platform/xpm/xpm_settings.h"
#include "runtime/string.h"
#include "runtime/trace.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Wrapper/WrapperInternal.h"

namespace SkinBin {


}  // namespace SkinBin
