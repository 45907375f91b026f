// The confirm types of the confirmation dialogs
// (NonMenuSystem::ConfirmOptionDialog and its kin): the integer of the
// dialog's state parameter, of a menu row's option type and of the
// sub-system's ShowConfirmDialog. In NonMenuSystem::ConfirmMultiOptionDialog
// the type alone decides the question, the Yes and No actions and the states
// around it (the table in ConfirmActions.cpp). They live here, below the
// screens, because the skin Wrapper and the menus open these dialogs too,
// and they stay a plain enumeration because they travel as integers.
#pragma once

#include <cstdint>

namespace Constants {

enum ConfirmDialogType : int32_t {
  // The one-button question before a channel scan (the scans' own dialogs).
  ConfirmTypeStartScan = 1,
  ConfirmTypeQuickSetup = 2,
  ConfirmTypeNetflixDeactivation = 3,
  // The 3D viewing limit is reached: continue or back to 2D.
  ConfirmType3DTimerExpire = 4,
  ConfirmTypeVuduDeactivation = 5,
  // Install the update that was found.
  ConfirmTypeStartUpdate = 6,
  // 7 to 16 have no row.
  ConfirmTypeResetAllPictureSettings = 17,
  ConfirmTypeResetAdvancedPictureSettings = 18,
  ConfirmTypeResetExpertPictureSettings = 19,
  ConfirmTypeResetColorTemperature = 20,
  // The white balance of this picture mode to every input.
  ConfirmTypeCopyToAllInputs = 21,
  ConfirmTypeResetBaseColorSettings = 22,
  // 23 to 32 have no row.
  // Reset of the whole set.
  ConfirmTypeResetAll = 33,
  ConfirmTypeDeletePin = 34,
  ConfirmTypeResetRating = 35,
  ConfirmTypeDelete3DPin = 36,
  ConfirmTypeResetAutoInput = 37,
  // Reset of the downloadable rating region.
  ConfirmTypeResetRRT = 38,
  ConfirmTypeResetChBrowser = 39,
  ConfirmTypeResetDigitalCC = 40,
  ConfirmTypeResetPicturePosition = 41,
  ConfirmTypeResetPCSettings = 42,
  ConfirmTypeResetYahoo = 43,
  // 44 to 48 have no row.
  // The reminder that an update is available.
  ConfirmTypeUpdateReminder = 49,
  // The update check found an update.
  ConfirmTypeUpdateAvailable = 50,
  ConfirmTypeResetAudio = 51,
  ConfirmTypeResetCCSettings = 52,
  ConfirmTypeResetLocks = 53,
  ConfirmTypeResetScreenSaver = 54,
  // The record, timeshift and delete questions (60 is a reset among them).
  ConfirmTypeStartRecord = 55,
  ConfirmTypeStopRecord = 56,
  ConfirmTypeStartTimeshift = 57,
  ConfirmTypeStopTimeshift = 58,
  ConfirmTypeDeleteMovieFile = 59,
  ConfirmTypeResetScaleWindow = 60,
  ConfirmTypeDeleteRecordedShow = 61,
  ConfirmTypeDeleteScheduledRecord = 62,
  // The off timer switches the set off in a minute.
  ConfirmTypeTimerStandby = 63,
  // A timer recording is about to start.
  ConfirmTypeTimerRecordWarning = 64,
  // The sleep timer ends while a tuner records or timeshifts.
  ConfirmTypeRecordSleepWarning = 65,
};

}  // namespace Constants
