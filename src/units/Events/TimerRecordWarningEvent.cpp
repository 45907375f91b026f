#include "units/Events/TimerRecordWarningEvent.h"

KV_REGISTER_CLASS(Events::TimerRecordWarningEvent);
