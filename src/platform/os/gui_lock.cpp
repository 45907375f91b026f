#include "platform/os/gui_lock.h"

BKNI_MutexHandle g_qvak_mutex = nullptr;
