#include "units/Events/NetworkTestResultsEvent.h"

KV_REGISTER_CLASS(Events::NetworkTestResultsEvent);
