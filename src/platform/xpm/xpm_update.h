// Middleware calls of the software update: the check for a newer software
// version and the progress of an update that runs. Status convention as
// xpm_settings.h. The check answers later with the event XPM_EVT_UBN_RESULT
// (0: a newer version can be installed; a multiple of 1000 names why there is
// none; any other value is a failure), or never when the update service does
// not answer.
#pragma once

#include <cstdint>

// Starts a check (mode 1: over the network).
int32_t XPM_StartUpdateCheck(int32_t mode);
// The progress of the running update, 0 to 100 (0: nothing written yet).
int32_t XPM_GetUpdateProgress(int32_t* percent);
