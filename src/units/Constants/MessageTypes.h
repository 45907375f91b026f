// The message types of the message bar (NonMenuSystem::DirectMessageBar):
// the integer of MSG_SHOW_MESSAGE and of the bar's state parameter. The type
// alone decides the bar's text, icon, place, time-out and keys (the table in
// DirectMessageBar.cpp). They live here, below the screens, because the skin
// Wrapper, the lists and the other sub-systems raise these notices too, and
// they stay a plain enumeration because they travel as integers in messages
// and state parameters.
#pragma once

#include <cstdint>

namespace Constants {

enum DirectMsgType : int32_t {
  // No row: the bar keeps its text; the caller sets one (OnSetMessageInfo).
  DirectMsgTypeNone = 0,
  // The signal-failure text of the main window's acquired status.
  DirectMsgTypeSignalFailure = 1,
  DirectMsgTypeIncorrectPin = 2,
  // A new PIN of zeros is refused.
  DirectMsgTypeZeroPin = 3,
  // A key or an action refused in the current state.
  DirectMsgTypeNotAvailable = 4,
  // The game timer's minutes left (10, 3, 1) or its end.
  DirectMsgTypeGameTimer = 5,
  // The sleep timer switches the set off in a minute.
  DirectMsgTypeSleepTimer = 6,
  DirectMsgTypeNoDevicesConnected = 7,
  // A 3D signal: the 3D wizard follows at the time-out.
  DirectMsgType3DSignalDetected = 8,
  // The incoming 3D format is not supported.
  DirectMsgType3DUnsupport = 9,
  DirectMsgTypeNoSignalPowerDown = 10,
  DirectMsgTypeAutoPowerDown = 11,
  DirectMsgTypeOnTimerShutdown = 12,
  DirectMsgTypePanelLock = 13,
  DirectMsgTypeAudioConfigWarning = 14,
  DirectMsgTypeNoUpgradeAvailable = 15,
  DirectMsgTypeUpgradeWarning = 16,
  DirectMsgTypeUpgradeError = 17,
  DirectMsgTypeNetworkUpgradeComplete = 18,
  DirectMsgTypeUSBUpgradeComplete = 19,
  DirectMsgTypePinNotSet = 20,
  DirectMsgTypeDeviceRemoved = 21,
  DirectMsgTypeChannelLock = 22,
  DirectMsgTypeInputLock = 23,
  DirectMsgTypeRatingLock = 24,
  DirectMsgTypeLowSignal = 25,
  // The low-signal notice of the channel browser.
  DirectMsgTypeCBLowSignal = 26,
  DirectMsgTypePleaseWait = 27,
  DirectMsgTypeCoolingFanStopped = 28,
  DirectMsgTypeNetworkUnavailable = 29,
  // 30 has no row.
  DirectMsgTypeUSBOverCurrent = 31,
  // Not available in the current video mode (a widget application from the menus).
  DirectMsgTypeNAInTVMode = 32,
  DirectMsgTypeResetYahooWarning = 33,
  // The recorder's statuses.
  DirectMsgTypeRecordDiskFull = 34,
  DirectMsgTypeRecordSignalLost = 35,
  DirectMsgTypeRecordNoUSBDisk = 36,
  DirectMsgTypeRecordDiskTooSlow = 37,
  DirectMsgTypeRecordNotAllowed = 38,
  DirectMsgTypeRecordFailed = 39,
  DirectMsgTypeRecordStopped = 40,
  // A live-TV key refused while the tuner records.
  DirectMsgTypeNotAvailableWhileRecording = 41,
  DirectMsgTypeTimeshiftStopped = 42,
  DirectMsgTypeTimerConflict = 43,
  // The timer editor's refusals.
  DirectMsgTypeInvalidTimerId = 44,
  DirectMsgTypeInvalidTimerDuration = 45,
  DirectMsgTypeTimerOverlap = 46,
  // Timers are edited on a tuner source only.
  DirectMsgTypeDisableTimerSetting = 47,
  DirectMsgTypeInvalidTimerStarttime = 48,
  DirectMsgTypeInvalidTimerChannel = 49,
  // A recording in progress cannot be deleted.
  DirectMsgTypeRecordingNotDeletable = 50,
};

}  // namespace Constants
