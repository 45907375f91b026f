// The GUI lock: exported data of the program that a platform library fills in
// (the simulated television does at Sim::Start). The host's GUI loop takes it
// for each step of a pass and never while waiting; while it is still null the
// loop runs unlocked.
#pragma once

#include "platform/os/bkni.h"

extern BKNI_MutexHandle g_qvak_mutex;
