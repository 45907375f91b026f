#include "units/Events/XPM_EVENT_KEY.h"

KV_REGISTER_CLASS(Events::XPM_EVENT_KEY);
