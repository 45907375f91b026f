#include "units/Events/MediaRemovedEvent.h"

KV_REGISTER_CLASS(Events::MediaRemovedEvent);
