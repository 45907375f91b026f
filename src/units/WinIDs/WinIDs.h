// Window ids of the screens. A window id carries its group in the top byte
// (Constants::WIN_GROUP_*): 0x01 menu tree, 0x02 screens outside the menu,
// 0x03 factory, 0x04 first-time setup, 0x05 quick menu, 0x12 media player.
// Several screens share an id (the widget manager's FindForm can answer any
// of them): code that needs one class also checks the class.
#pragma once

#include <cstdint>

namespace WinIDs {

// Screens outside the menu (group 0x02).
inline constexpr uint32_t WIN_ID_VolumeBar = 0x2000001;  // volume bars
inline constexpr uint32_t WIN_ID_ToggleOptionOverlay = 0x2000002;
inline constexpr uint32_t WIN_ID_AdjustmentBar = 0x2000003;
inline constexpr uint32_t WIN_ID_ConfirmOneOptionDialog = 0x2000004;
inline constexpr uint32_t WIN_ID_ConfirmMultiOptionsDialog = 0x2000005;
inline constexpr uint32_t WIN_ID_ExternalInputDialog = 0x2000006;
inline constexpr uint32_t WIN_ID_HelpBar = 0x2000007;
inline constexpr uint32_t WIN_ID_InfoBanner = 0x2000008;  // also the mini guide
inline constexpr uint32_t WIN_ID_DirectMessageBar = 0x2000009;
inline constexpr uint32_t WIN_ID_KeyPad = 0x200000a;
inline constexpr uint32_t WIN_ID_InputLabelingDialog = 0x200000b;
inline constexpr uint32_t WIN_ID_ChannelEntry = 0x200000c;
inline constexpr uint32_t WIN_ID_CecInputDialog = 0x200000d;
inline constexpr uint32_t WIN_ID_BaseColorAdjustmentBar = 0x200000e;
inline constexpr uint32_t WIN_ID_BacklightAdjustmentProDialog = 0x200000f;
inline constexpr uint32_t WIN_ID_MuteBar = 0x2000010;
inline constexpr uint32_t WIN_ID_PinEntry = 0x2000011;  // every PIN screen
inline constexpr uint32_t WIN_ID_ChBrowserDialog = 0x2000012;
inline constexpr uint32_t WIN_ID_3D_Dialog = 0x2000013;  // every 3D wizard dialog
inline constexpr uint32_t WIN_ID_UBN_Message = 0x2000014;
inline constexpr uint32_t WIN_ID_UBN_Updating = 0x2000015;
inline constexpr uint32_t WIN_ID_AutoTuningConfirmDialog = 0x2000021;
inline constexpr uint32_t WIN_ID_AutoTuningDialog = 0x2000022;
inline constexpr uint32_t WIN_ID_AutoTuningErrorDialog = 0x2000023;
inline constexpr uint32_t WIN_ID_AutoTuningCompleteDialog = 0x2000024;
inline constexpr uint32_t WIN_ID_ManualTuningDialog = 0x2000025;
inline constexpr uint32_t WIN_ID_ChannelOptionDialog = 0x2000026;
inline constexpr uint32_t WIN_ID_NetworkWidget = 0x2000027;  // every network wizard state
// The picture-size dialog, the sleep-timer dialog and the captioned option dialog.
inline constexpr uint32_t WIN_ID_PictureSizeDialog = 0x2000028;
inline constexpr uint32_t WIN_ID_BGM_SELECT = 0x2000029;
inline constexpr uint32_t WIN_ID_DEVICE_INFO = 0x2000030;
inline constexpr uint32_t WIN_ID_BGM_SETUP_MENU = 0x2000031;
inline constexpr uint32_t WIN_ID_FullEPGDialog = 0x2000032;
inline constexpr uint32_t WIN_ID_RecordedShowsDialog = 0x2000033;
inline constexpr uint32_t WIN_ID_ScheduledRecordDialog = 0x2000034;
inline constexpr uint32_t WIN_ID_TimeshiftStatusDialog = 0x2000035;

// The menu tree (group 0x01).
inline constexpr uint32_t WIN_ID_MenuSystem = 0x1000000;  // the group
inline constexpr uint32_t WIN_ID_MainMenu = 0x1000001;
inline constexpr uint32_t WIN_ID_NetworkMenu = 0x1000011;
inline constexpr uint32_t WIN_ID_TimerMenu = 0x1000012;
inline constexpr uint32_t WIN_ID_SettingsMenu = 0x1000015;
inline constexpr uint32_t WIN_ID_PictureMenu = 0x1000151;
inline constexpr uint32_t WIN_ID_SoundMenu = 0x1000152;
inline constexpr uint32_t WIN_ID_AdvancedPictureMenu = 0x1001511;
inline constexpr uint32_t WIN_ID_ExpertPictureMenu = 0x1001512;
// The base-colour page and the colour-sensor page.
inline constexpr uint32_t WIN_ID_BaseColorAdjustmentMenu = 0x1015111;
inline constexpr uint32_t WIN_ID_AutoBrightnessSensorMenu = 0x1015112;
inline constexpr uint32_t WIN_ID_NoiseReductionMenu = 0x1015113;
inline constexpr uint32_t WIN_ID_FinexaMenu = 0x1015114;
inline constexpr uint32_t WIN_ID_RGBFilterMenu = 0x1015121;
inline constexpr uint32_t WIN_ID_WhiteBalanceMenu = 0x1015122;
inline constexpr uint32_t WIN_ID_PicturePositionMenu = 0x1015451;
inline constexpr uint32_t WIN_ID_PCSettingsMenu = 0x1015452;
inline constexpr uint32_t WIN_ID_WhiteBalance2PMenu = 0x1151211;
inline constexpr uint32_t WIN_ID_WhiteBalance10PMenu = 0x1151212;
inline constexpr uint32_t WIN_ID_NetworkSetupMenu = 0x1001542;
inline constexpr uint32_t WIN_ID_PINSettingMenu = 0x1001547;
inline constexpr uint32_t WIN_ID_ThreeDMenu = 0x100154a;
inline constexpr uint32_t WIN_ID_ThreeDPinMenu = 0x10154a1;
inline constexpr uint32_t WIN_ID_ThreeDSafetyMenu = 0x10154a2;

// Factory mode (group 0x03).
inline constexpr uint32_t WIN_ID_ModeIndicator = 0x3000001;
inline constexpr uint32_t WIN_ID_ValueDisplay = 0x3000002;
inline constexpr uint32_t WIN_ID_FactoryMessage = 0x3000003;
inline constexpr uint32_t WIN_ID_StatusCheck = 0x3000004;
inline constexpr uint32_t WIN_ID_AdjustmentMenu = 0x3000005;

// First-time setup (group 0x04): every page.
inline constexpr uint32_t WIN_ID_OutOfBox = 0x4000000;

// Quick menu (group 0x05).
inline constexpr uint32_t WIN_ID_QuickMenu = 0x5000000;  // also the group
inline constexpr uint32_t WIN_ID_PlayerControlMenu = 0x5000001;
inline constexpr uint32_t WIN_ID_Quick3DSettings = 0x5000002;

// Media player (group 0x12).
inline constexpr uint32_t WIN_ID_MediaPlayer = 0x12000000;  // the group
inline constexpr uint32_t WIN_ID_PhotoMultiView = 0x12000031;  // also the photo list view
inline constexpr uint32_t WIN_ID_PhotoSingleView = 0x12000032;
inline constexpr uint32_t WIN_ID_PhotoSingleViewDMR = 0x12000033;
inline constexpr uint32_t WIN_ID_MovieListView = 0x12000034;
inline constexpr uint32_t WIN_ID_MoviePlayer = 0x12000035;
inline constexpr uint32_t WIN_ID_MoviePlayerDMR = 0x12000036;
inline constexpr uint32_t WIN_ID_MusicListView = 0x12000037;
inline constexpr uint32_t WIN_ID_MusicPlayer = 0x12000038;
inline constexpr uint32_t WIN_ID_MusicPlayerDMR = 0x12000039;
inline constexpr uint32_t WIN_ID_PhotoFrame = 0x1200003a;
// The full-screen players: they see the media service's events and standby
// before live TV does.
inline constexpr uint32_t kFullScreenPlayers[] = {WIN_ID_PhotoSingleView, WIN_ID_PhotoSingleViewDMR,
                                                  WIN_ID_MoviePlayer,     WIN_ID_MoviePlayerDMR,
                                                  WIN_ID_MusicPlayer,     WIN_ID_MusicPlayerDMR};
// The media screens a menu or dialog opened over them hands the focus back
// to when it closes: the full-screen players, then the browse screens.
inline constexpr uint32_t kMediaScreens[] = {WIN_ID_PhotoSingleView, WIN_ID_PhotoSingleViewDMR, WIN_ID_MoviePlayer,
                                             WIN_ID_MoviePlayerDMR,  WIN_ID_MusicPlayer,        WIN_ID_MusicPlayerDMR,
                                             WIN_ID_PhotoMultiView,  WIN_ID_MovieListView,      WIN_ID_MusicListView};

}  // namespace WinIDs
