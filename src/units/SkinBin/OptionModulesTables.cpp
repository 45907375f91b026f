// The option records of the skin's modules 0x81 to 0x87. Records whose
// property belongs to the skin's Wrapper name it and are bound when that
// Wrapper has it; sliders take their range from the Wrapper's adjustment
// ranges (0 to 100, step 1, unless the record states its own).
#include "units/SkinBin/OptionModulesTables.h"

#include "strings/OptionDatabase.h"
#include "strings/SkinBin.h"
#include "units/OptionDatabase/OptionChoices.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/OptionSkinBinding.h"
#include "units/Wrapper/Wrapper.h"

namespace SkinBin {
namespace {

using OptionDatabase::ChoiceOption;
using OptionDatabase::ChoiceDef;
using OptionDatabase::kAntennaCable;
using OptionDatabase::kLowMediumHigh;
using OptionDatabase::kMonoStereoSap;
using OptionDatabase::kNoYes;
using OptionDatabase::kOffLowMediumHigh;
using OptionDatabase::kOffOn;
using OptionDatabase::kSpdifFormats;
using OptionDatabase::kSpeakerChoices;
using OptionDatabase::kYesNo;
using OptionDatabase::OptionEntry;
using OptionDatabase::SliderOption;
namespace T = OptionDatabase;

constexpr uint32_t Id(int32_t id) { return static_cast<uint32_t>(id); }

// --- Choice lists ---------------------------------------------------------------------
constexpr ChoiceDef kWbSettingType[] = {{&OPT_C_2_POINT, 0}, {&OPT_C_10_POINT, 1}};
// Picture modes by menu value; which are offered depends on the source.
constexpr ChoiceDef kPictureMode[] = {{&OPT_C_PM_CUSTOM, 0},  {&OPT_C_PM_STANDARD, 1}, {&OPT_C_PM_VIVID, 2},
                                       {&OPT_C_PM_CINEMA, 3},  {&OPT_C_PM_GAME, 4},     {&OPT_C_PM_RETAIL, 5},
                                       {&OPT_C_PM_SPORTS, 6},  {&OPT_C_PM_ENERGY, 7}};
// Picture sizes by mask bit: entry 0 is the native size, entry 6 the normal
// one, both of view mode 0.
constexpr ChoiceDef kPictureSize[] = {{&OPT_C_PS_NATIVE, 0},  {&OPT_C_PS_FULL, 1},   {&OPT_C_PS_PANORAMIC, 2},
                                       {&OPT_C_PS_ZOOM1, 3},   {&OPT_C_PS_ZOOM2, 4},  {&OPT_C_PS_4_3, 5},
                                       {&OPT_C_PS_NORMAL, 0},  {&OPT_C_PS_DIRECT, 7}};
constexpr ChoiceDef kBassBoost[] = {{&T::C_OFF, 0}, {&T::C_LOW, 1}, {&T::C_HIGH, 2}};
constexpr ChoiceDef kAmplifierMute[] = {{&T::C_OFF, 0}, {&T::C_FULL_MUTE, 1}};
// The country: 0 English, 1 French, 2 Spanish.
constexpr ChoiceDef kCountry[] = {{&T::C_ENGLISH, 0}, {&T::C_FRENCH, 1}, {&T::C_SPANISH, 2}};
constexpr ChoiceDef kLocation[] = {{&OPT_C_HOME, 0}, {&OPT_C_STORE, 1}};
constexpr ChoiceDef kTuningMode[] = {{&OPT_C_ANALOG_DIGITAL, 0}, {&OPT_C_ANALOG_ONLY, 1}, {&OPT_C_DIGITAL_ONLY, 2}};
// The caption state: 0 off, 1 on, 2 on while muted.
constexpr ChoiceDef kCaptionState[] = {{&T::C_OFF, 0}, {&T::C_ON, 1}, {&T::C_ON_WHEN_MUTED, 2}};
constexpr ChoiceDef kPipSize[] = {{&OPT_C_SMALL, 0}, {&OPT_C_MEDIUM, 1}, {&OPT_C_LARGE, 2}};
constexpr ChoiceDef kPipMode[] = {{&T::C_OFF, 0}, {&OPT_C_PIP, 1}, {&OPT_C_SIDE_BY_SIDE, 2}};
constexpr ChoiceDef kPipAudio[] = {{&OPT_C_MAIN_PICTURE, 0}, {&OPT_C_SUB_PICTURE, 1}};
// Repeat type by value: 1 every day, 2 Monday to Friday, 3 weekends, 4 once.
constexpr ChoiceDef kTimesType[] = {{&OPT_C_EVERY_DAY, 1}, {&OPT_C_WEEKDAYS, 2}, {&OPT_C_WEEKENDS, 3}, {&OPT_C_ONCE, 4}};
// The pause buffer the set keeps for settings 0 to 4.
constexpr ChoiceDef kTimeshiftDuration[] = {{&OPT_C_5_MIN, 0}, {&OPT_C_10_MIN, 1}, {&OPT_C_20_MIN, 2},
                                             {&OPT_C_30_MIN, 3}, {&OPT_C_60_MIN, 4}};
// Values in seconds.
constexpr ChoiceDef kStartEarly[] = {{&T::C_OFF, 0},        {&OPT_C_1_MIN, 60},   {&OPT_C_2_MIN, 120},
                                      {&OPT_C_3_MIN, 180},   {&OPT_C_4_MIN, 240},  {&OPT_C_5_MIN, 300},
                                      {&OPT_C_6_MIN, 360},   {&OPT_C_7_MIN, 420},  {&OPT_C_8_MIN, 480},
                                      {&OPT_C_9_MIN, 540},   {&OPT_C_10_MIN, 600}};
constexpr ChoiceDef kEndDelay[] = {{&T::C_OFF, 0},      {&OPT_C_1_MIN, 60},  {&OPT_C_2_MIN, 120}, {&OPT_C_3_MIN, 180},
                                    {&OPT_C_4_MIN, 240}, {&OPT_C_5_MIN, 300}, {&OPT_C_6_MIN, 360}, {&OPT_C_7_MIN, 420},
                                    {&OPT_C_8_MIN, 480}, {&OPT_C_9_MIN, 540}};
constexpr ChoiceDef kInputLock[] = {{&T::C_OFF, 0}, {&OPT_C_CURRENT_INPUT, 1}, {&OPT_C_ALL_INPUTS, 2}};
constexpr ChoiceDef kNavigation[] = {{&OPT_C_HORIZONTAL, 0}, {&OPT_C_VERTICAL, 1}};
// 0, 30, 60, 90 and 120 minutes.
constexpr ChoiceDef kLockTimer[] = {{&T::C_OFF, 0}, {&OPT_C_30_MIN, 1}, {&OPT_C_60_MIN, 2}, {&OPT_C_90_MIN, 3},
                                     {&OPT_C_2_HOURS, 4}};
// The channel-browser lists by bit; which are offered depends on the source.
constexpr ChoiceDef kCBList[] = {{&OPT_C_CB_HISTORY, 0},   {&OPT_C_CB_CHANNELS, 1},  {&OPT_C_CB_INPUTS, 2},
                                  {&OPT_C_CB_FAVORITES, 3}, {&OPT_C_CB_CEC, 4},       {&OPT_C_CB_FAVORITES_2, 5},
                                  {&OPT_C_CB_FAVORITES_3, 6}};
constexpr ChoiceDef kLeftRight[] = {{&OPT_C_LEFT_RIGHT, 0}, {&OPT_C_RIGHT_LEFT, 1}};
constexpr ChoiceDef kSharedAudio[] = {{&OPT_C_VIDEO, 0}, {&OPT_C_COMPONENT, 1}};
constexpr ChoiceDef kSharedPc[] = {{&OPT_C_PC, 0}, {&OPT_C_HD2, 1}};
constexpr ChoiceDef kVideo1Hd1[] = {{&OPT_C_VIDEO1, 0}, {&OPT_C_HD1, 1}};
constexpr ChoiceDef kPcHdmi3[] = {{&OPT_C_PC, 0}, {&OPT_C_HDMI3, 1}};
constexpr ChoiceDef kRgbRange[] = {{&T::C_AUTO, 0}, {&OPT_C_FULL, 1}, {&OPT_C_LIMITED, 2}};
constexpr ChoiceDef kHdmiInputMode[] = {{&T::C_AUTO, 0}, {&OPT_C_VIDEO, 1}, {&OPT_C_PC, 2}};
// Until the sources are counted, only "none".
constexpr ChoiceDef kAutoInput[] = {{&T::C_NONE, 0}};
// Without a digital channel: off and the eight caption services.
constexpr ChoiceDef kCCKey[] = {{&T::C_OFF, 0}, {&T::C_CC1, 1},   {&T::C_CC2, 2},   {&T::C_CC3, 3},  {&T::C_CC4, 4},
                                 {&T::C_TEXT1, 5}, {&T::C_TEXT2, 6}, {&T::C_TEXT3, 7}, {&T::C_TEXT4, 8}};
// 2 newest first, 3 oldest first.
constexpr ChoiceDef kSort[] = {{&OPT_C_BY_TITLE, 0}, {&OPT_C_BY_FILE_NAME, 1}, {&OPT_C_NEWEST_FIRST, 2},
                                {&OPT_C_OLDEST_FIRST, 3}};
constexpr ChoiceDef kInterval[] = {{&OPT_C_3_SEC, 0}, {&OPT_C_5_SEC, 1}, {&OPT_C_10_SEC, 2}, {&OPT_C_20_SEC, 3}};
constexpr ChoiceDef kRepeat[] = {{&T::C_OFF, 0}, {&OPT_C_REPEAT_ALL, 1}, {&OPT_C_REPEAT_ONE, 2}};
constexpr ChoiceDef kAutoPowerOff[] = {{&T::C_NONE, 0},      {&OPT_C_30_MIN, 1},   {&OPT_C_1_HOUR, 2},
                                        {&OPT_C_2_HOURS, 3},  {&OPT_C_4_HOURS, 4},  {&OPT_C_6_HOURS, 5},
                                        {&OPT_C_12_HOURS, 6}};
constexpr ChoiceDef kBrowse[] = {{&OPT_C_THUMBNAILS, 0}, {&OPT_C_LIST, 1}};
// Lists filled when the option is opened (sources, channels, model ids).
constexpr ChoiceDef kFilledOnOpen[] = {{&T::C_NONE, 0}};

// --- 0x81: picture --------------------------------------------------------------------
constexpr OptionEntry kPicture[] = {
    ChoiceOption(Id(OPTION_TYPE_THEATER_LOCK), OPT_THEATER_LOCK, kOffOn, OPTION_SKIN_BOUND(TheaterLock)),
    // The set's backlight 0..100 seen from its middle point.
    SliderOption(Id(OPTION_TYPE_BACKLIGHT_AUTO), OPT_BACKLIGHT, OPTION_SKIN_BOUND(BacklightAuto), -50, 50, 1),
    ChoiceOption(Id(OPTION_TYPE_AUTO_BRIGHTNESS_SENSOR), OPT_AUTO_BRIGHTNESS_SENSOR, kOffOn,
                 OPTION_SKIN_BOUND(AutoBrightnessSensor)),
    ChoiceOption(Id(OPTION_TYPE_ROOM_LIGHTING), OPT_ROOM_LIGHTING, kLowMediumHigh, OPTION_SKIN_BOUND(RoomLighting)),
    ChoiceOption(Id(OPTION_TYPE_LUMIFLUX), OPT_LUMIFLUX, kOffOn, OPTION_SKIN_BOUND(Lumiflux)),
    ChoiceOption(Id(OPTION_TYPE_DNR), OPT_DNR, kOffLowMediumHigh, OPTION_NOT_GIVEN),
    SliderOption(Id(OPTION_TYPE_DYNAMIC_CONTRAST_AUTO), OPT_DYNAMIC_CONTRAST, OPTION_NOT_GIVEN),
    ChoiceOption(Id(OPTION_TYPE_STILLPANE_240), OPT_STILLPANE_240, kOffOn, OPTION_SKIN_BOUND(Stillpane240)),
    ChoiceOption(Id(OPTION_TYPE_STILLPANE), OPT_STILLPANE, kOffOn, OPTION_SKIN_BOUND(Stillpane)),
    ChoiceOption(Id(OPTION_TYPE_RGB_FILTER_RED), OPT_RGB_FILTER_RED, kOffOn, OPTION_SKIN_BOUND(RGBFilterRed)),
    ChoiceOption(Id(OPTION_TYPE_RGB_FILTER_GREEN), OPT_RGB_FILTER_GREEN, kOffOn, OPTION_SKIN_BOUND(RGBFilterGreen)),
    ChoiceOption(Id(OPTION_TYPE_RGB_FILTER_BLUE), OPT_RGB_FILTER_BLUE, kOffOn, OPTION_SKIN_BOUND(RGBFilterBlue)),
    ChoiceOption(Id(OPTION_TYPE_FILM_STABILIZATION_240), OPT_FILM_STABILIZATION, kOffOn,
                 OPTION_SKIN_BOUND(FilmStabilization240)),
    ChoiceOption(Id(OPTION_TYPE_FILM_STABILIZATION_AUTO), OPT_FILM_STABILIZATION, kOffOn, OPTION_NOT_GIVEN),
    ChoiceOption(Id(OPTION_TYPE_FILM_STABILIZATION), OPT_FILM_STABILIZATION, kOffOn, OPTION_SKIN_BOUND(FilmStabilization)),
    ChoiceOption(Id(OPTION_TYPE_WB_WINDOW_DISPLAY), OPT_WB_WINDOW_DISPLAY, kOffOn, OPTION_SKIN_BOUND(WB_WindowDisplay)),
    ChoiceOption(Id(OPTION_TYPE_WB_SETTING_TYPE), OPT_WB_SETTING_TYPE, kWbSettingType, OPTION_NOT_GIVEN),
    ChoiceOption(Id(OPTION_TYPE_TEST_PATTERN), OPT_TEST_PATTERN, kOffOn, OPTION_SKIN_BOUND(TestPattern)),
    SliderOption(Id(OPTION_TYPE_COLOR_TEMPERATURE), OPT_COLOR_TEMPERATURE, OPTION_WRAPPER(ColorTemperature)),
    SliderOption(Id(OPTION_TYPE_COLOR_TEMPERATURE_AUTO), OPT_COLOR_TEMPERATURE, OPTION_NOT_GIVEN),
    SliderOption(Id(OPTION_TYPE_WB_IRE), OPT_WB_IRE, OPTION_NOT_GIVEN),
    SliderOption(Id(OPTION_TYPE_WB_RED), OPT_WB_RED, OPTION_NOT_GIVEN),
    SliderOption(Id(OPTION_TYPE_WB_GREEN), OPT_WB_GREEN, OPTION_NOT_GIVEN),
    SliderOption(Id(OPTION_TYPE_WB_BLUE), OPT_WB_BLUE, OPTION_NOT_GIVEN),
    SliderOption(Id(OPTION_TYPE_SUPER_RESOLUTION_LEVEL), OPT_SUPER_RESOLUTION_LEVEL, OPTION_SKIN_BOUND(SuperResolutionLevel)),
    // The set's gamma offset takes -5..5.
    SliderOption(Id(OPTION_TYPE_STATIC_GAMMA), OPT_STATIC_GAMMA, OPTION_SKIN_BOUND(StaticGamma), -5, 5, 1),
    ChoiceOption(Id(OPTION_TYPE_PICTURE_MODE), OPT_PICTURE_MODE, kPictureMode, OPTION_WRAPPER(VideoPreset)),
    ChoiceOption(Id(OPTION_TYPE_PICTURE_SIZE), OPT_PICTURE_SIZE, kPictureSize, OPTION_WRAPPER(PreferViewMode)),
    SliderOption(Id(OPTION_TYPE_SUPER_RESOLUTION_LEVEL_AUTO), OPT_SUPER_RESOLUTION_LEVEL,
                 OPTION_SKIN_BOUND(SuperResolutionLevel)),
    ChoiceOption(Id(OPTION_TYPE_QRV_CINEMA_MODE), OPT_CINEMA_MODE, kOffOn, OPTION_SKIN_BOUND(QRV_CinemaMode)),
    ChoiceOption(Id(OPTION_TYPE_QUIL_LAR_240), OPT_QUIL_LAR_240, kOffOn, OPTION_NOT_GIVEN),
};

// --- 0x82: sound ----------------------------------------------------------------------
constexpr OptionEntry kSound[] = {
    ChoiceOption(Id(OPTION_TYPE_VOICE_ENHANCEMENT), OPT_VOICE_ENHANCEMENT, kOffOn, OPTION_SKIN_BOUND(VoiceEnhancement)),
    ChoiceOption(Id(OPTION_TYPE_DYNAMIC_BASS_BOOST), OPT_DYNAMIC_BASS_BOOST, kBassBoost, OPTION_SKIN_BOUND(DynamicBassBoost)),
    ChoiceOption(Id(OPTION_TYPE_DYNAMIC_RANGE_CONTROL), OPT_DYNAMIC_RANGE_CONTROL, kOffOn,
                 OPTION_SKIN_BOUND(DynamicRangeControl)),
    // The amplifier's volume bar only carries the id.
    SliderOption(Id(OPTION_TYPE_AMPLIFIER_VOLUME), OPT_AMPLIFIER_VOLUME, OPTION_UNBOUND),
    // The amplifier's mute bar reads the audio system's mute and writes nothing.
    ChoiceOption(Id(OPTION_TYPE_AMPLIFIER_MUTE), OPT_AMPLIFIER_MUTE, kAmplifierMute,
                 (::OptionDatabase::Binding{
                     static_cast<::OptionDatabase::WrapperGetter>(&::SkinBin::Wrapper::OnGetAmplifierMute), nullptr,
                     nullptr})),
    ChoiceOption(Id(OPTION_TYPE_QUICK_SPEAKER_PREFERENCE), OPT_SPEAKERS, kSpeakerChoices,
                 OPTION_SKIN_BOUND(SpeakerPreference)),
    ChoiceOption(Id(OPTION_TYPE_MTS_KEY), OPT_MTS_KEY, kMonoStereoSap, OPTION_SKIN_BOUND(MTSKey)),
};

// --- 0x83: setup, timers and captions --------------------------------------------------
constexpr OptionEntry kSetup[] = {
    SliderOption(Id(OPTION_TYPE_MANUAL_TUNING_CHANNEL), OPT_MANUAL_TUNING_CHANNEL, OPTION_NOT_GIVEN, 2, 69, 1),
    ChoiceOption(Id(OPTION_TYPE_COUNTRY), OPT_COUNTRY, kCountry, OPTION_SKIN_BOUND(Country)),
    ChoiceOption(Id(OPTION_TYPE_LOCATION), OPT_LOCATION, kLocation, OPTION_SKIN_BOUND(Location)),
    // The sleep timer's index counts minutes; its item shows the number.
    ChoiceOption(Id(OPTION_TYPE_SLEEP_TIMER), OPT_SLEEP_TIMER, kFilledOnOpen, OPTION_SKIN_BOUND(SleepIndex)),
    ChoiceOption(Id(OPTION_TYPE_CHANNEL_TUNING_MODE), OPT_CHANNEL_TUNING_MODE, kTuningMode,
                 OPTION_SKIN_BOUND(ChannelTuningMode)),
    ChoiceOption(Id(OPTION_TYPE_BRONTEL), OPT_BRONTEL, kOffOn, OPTION_SKIN_BOUND(Brontel)),
    ChoiceOption(Id(OPTION_TYPE_USB_AUTO_START), OPT_USB_AUTO_START, kOffOn, OPTION_SKIN_BOUND(USBSDAutoStart)),
    ChoiceOption(Id(OPTION_TYPE_STICKER_DEMO), OPT_STICKER_DEMO, kOffOn, OPTION_SKIN_BOUND(StickerDemo)),
    ChoiceOption(Id(OPTION_TYPE_ONTIMER_INPUT), OPT_INPUT, kFilledOnOpen, OPTION_WRAPPER(TimerSource)),
    ChoiceOption(Id(OPTION_TYPE_ONTIMER_CHANNEL), OPT_CHANNEL, kFilledOnOpen, OPTION_WRAPPER(TimerChannel)),
    SliderOption(Id(OPTION_TYPE_ONTIMER_VOLUME), OPT_ONTIMER_VOLUME, OPTION_SKIN_BOUND(OnTimerVolume)),
    // The time till power on counts minutes; the page stores it itself.
    ChoiceOption(Id(OPTION_TYPE_ONTIMER_TILL_POWER_ON), OPT_TILL_POWER_ON, kFilledOnOpen, OPTION_NOT_GIVEN),
    ChoiceOption(Id(OPTION_TYPE_GUIDE_CHANNEL), OPT_CHANNEL, kFilledOnOpen, OPTION_NOT_GIVEN),
    ChoiceOption(Id(OPTION_TYPE_CLOSED_CAPTION_STATE), OPT_CLOSED_CAPTIONS, kCaptionState,
                 OPTION_WRAPPER(ClosedCaptionState)),
    ChoiceOption(Id(OPTION_TYPE_PIP_INPUT), OPT_PIP_INPUT, kFilledOnOpen, OPTION_SKIN_BOUND(PipSource)),
    ChoiceOption(Id(OPTION_TYPE_PIP_SIZE), OPT_PIP_SIZE, kPipSize, OPTION_SKIN_BOUND(PipSize)),
    ChoiceOption(Id(OPTION_TYPE_PIP_MODE), OPT_PIP_MODE, kPipMode, OPTION_SKIN_BOUND(PipMode)),
    ChoiceOption(Id(OPTION_TYPE_PIP_AUDIO), OPT_PIP_AUDIO, kPipAudio, OPTION_SKIN_BOUND(PipAudio)),
    ChoiceOption(Id(OPTION_TYPE_TIMER_TIMES_TYPE), OPT_TIMER_TIMES_TYPE, kTimesType, OPTION_WRAPPER(TimerTimesType), 1),
    ChoiceOption(Id(OPTION_TYPE_TIMESHIFT_DURATION), OPT_TIMESHIFT_DURATION, kTimeshiftDuration,
                 OPTION_SKIN_BOUND(TimeshiftDuration)),
    SliderOption(Id(OPTION_TYPE_WINDOW_HPOS), OPT_WINDOW_HPOS, OPTION_SKIN_BOUND(WindowHPos)),
    SliderOption(Id(OPTION_TYPE_WINDOW_VPOS), OPT_WINDOW_VPOS, OPTION_SKIN_BOUND(WindowVPos)),
    SliderOption(Id(OPTION_TYPE_WINDOW_HSIZE), OPT_WINDOW_HSIZE, OPTION_SKIN_BOUND(WindowHSize)),
    SliderOption(Id(OPTION_TYPE_WINDOW_VSIZE), OPT_WINDOW_VSIZE, OPTION_SKIN_BOUND(WindowVSize)),
    ChoiceOption(Id(OPTION_TYPE_ONTIMER_MEDIUM), OPT_ONTIMER_MEDIUM, kAntennaCable, OPTION_WRAPPER(TimerMapId)),
    ChoiceOption(Id(OPTION_TYPE_TIMER_START_EARLY), OPT_TIMER_START_EARLY, kStartEarly, OPTION_WRAPPER(TimerStartEarly)),
    ChoiceOption(Id(OPTION_TYPE_TIMER_END_DELAY), OPT_TIMER_END_DELAY, kEndDelay, OPTION_WRAPPER(TimerEndDelay)),
};

// --- 0x84: preferences and locks -------------------------------------------------------
constexpr OptionEntry kPreferences[] = {
    ChoiceOption(Id(OPTION_TYPE_3D_AUTO_START), OPT_3D_AUTO_START, kOffOn, OPTION_SKIN_BOUND(ThreeDAutoStart)),
    ChoiceOption(Id(OPTION_TYPE_3D_START_MESSAGE), OPT_3D_START_MESSAGE, kOffOn, OPTION_SKIN_BOUND(ThreeDStartMessage)),
    ChoiceOption(Id(OPTION_TYPE_3D_LOCK), OPT_3D_LOCK, kOffOn, OPTION_SKIN_BOUND(ThreeDLock)),
    ChoiceOption(Id(OPTION_TYPE_3D_TIMER_LOCK), OPT_3D_TIMER_LOCK, kOffOn, OPTION_SKIN_BOUND(ThreeDTimerLock)),
    ChoiceOption(Id(OPTION_TYPE_INPUT_LOCK), OPT_INPUT_LOCK, kInputLock, OPTION_SKIN_BOUND(InputLock)),
    ChoiceOption(Id(OPTION_TYPE_MEDIA_RENDERER), OPT_MEDIA_RENDERER, kOffOn, OPTION_SKIN_BOUND(MediaRenderer)),
    ChoiceOption(Id(OPTION_TYPE_DMC_ACCESS_CONTROL), OPT_ACCESS_CONTROL, kOffOn, OPTION_SKIN_BOUND(DMC_AccessControl)),
    ChoiceOption(Id(OPTION_TYPE_HDMI_INFORMATION_DISPLAY), OPT_HDMI_INFORMATION_DISPLAY, kOffOn,
                 OPTION_SKIN_BOUND(HDMIInformationDisplay)),
    ChoiceOption(Id(OPTION_TYPE_POWER_LED), OPT_POWER_LED, kOffOn, OPTION_SKIN_BOUND(PowerLed)),
    ChoiceOption(Id(OPTION_TYPE_IR_CONTROL), OPT_IR_CONTROL, kOffOn, OPTION_SKIN_BOUND(IRControl)),
    ChoiceOption(Id(OPTION_TYPE_CB_NAVIGATION), OPT_NAVIGATION, kNavigation, OPTION_SKIN_BOUND(Navigation)),
    ChoiceOption(Id(OPTION_TYPE_CB_HISTORY_LIST), OPT_HISTORY_LIST, kOffOn, OPTION_SKIN_BOUND(HistoryList)),
    ChoiceOption(Id(OPTION_TYPE_CB_ANT_CABLE_LIST), OPT_ANT_CABLE_LIST, kOffOn, OPTION_SKIN_BOUND(AntCableList)),
    ChoiceOption(Id(OPTION_TYPE_CB_INPUTS_LIST), OPT_INPUTS_LIST, kOffOn, OPTION_SKIN_BOUND(InputsList)),
    ChoiceOption(Id(OPTION_TYPE_CB_FAVORITES_LIST), OPT_FAVORITES_LIST, kOffOn, OPTION_SKIN_BOUND(FavoritesList)),
    ChoiceOption(Id(OPTION_TYPE_CB_KELVO_LINK_LIST), OPT_KELVO_LINK_LIST, kOffOn, OPTION_SKIN_BOUND(KELVOLinkList)),
    ChoiceOption(Id(OPTION_TYPE_ENABLE_RATING_BLOCK), OPT_RATING_BLOCKING, kOffOn, OPTION_SKIN_BOUND(EnableRatingBlock)),
    ChoiceOption(Id(OPTION_TYPE_GAME_TIMER), OPT_GAME_TIMER, kLockTimer, OPTION_SKIN_BOUND(GameTimerIndex)),
    ChoiceOption(Id(OPTION_TYPE_CURRENT_CBLIST), OPT_CURRENT_CBLIST, kCBList, OPTION_SKIN_BOUND(CurrentCBList)),
    SliderOption(Id(OPTION_TYPE_2D_3D_DEPTH), OPT_2D_3D_DEPTH, OPTION_NOT_GIVEN),
    ChoiceOption(Id(OPTION_TYPE_ENABLE_3D_TIMER), OPT_3D_TIMER, kLockTimer, OPTION_SKIN_BOUND(ThreeD_EnableTimer)),
    // "Do not display again": Yes stores 0 (the information is not shown
    // again), No stores 1 (shown at each 3D start).
    ChoiceOption(Id(OPTION_TYPE_3D_IMPORTANT_INFO), OPT_3D_IMPORTANT_INFO, kYesNo, OPTION_SKIN_BOUND(ThreeD_DisplayInfo)),
    ChoiceOption(Id(OPTION_TYPE_3D_LEFT_RIGHT_IMAGE), OPT_3D_LEFT_RIGHT_IMAGE, kLeftRight, OPTION_NOT_GIVEN),
    ChoiceOption(Id(OPTION_TYPE_TV_POWERON_CONTROL), OPT_TV_POWERON_CONTROL, kOffOn, OPTION_SKIN_BOUND(TVPowerOnControl)),
    ChoiceOption(Id(OPTION_TYPE_ENABLE_DLNA), OPT_ENABLE_DLNA, kOffOn, OPTION_SKIN_BOUND(EnableDlna)),
};

// --- 0x85: connections and energy ------------------------------------------------------
constexpr OptionEntry kConnections[] = {
    ChoiceOption(Id(OPTION_TYPE_SIDE_AUDIO), OPT_SIDE_AUDIO, kSharedAudio, OPTION_SKIN_BOUND(SideSharedAudio)),
    ChoiceOption(Id(OPTION_TYPE_REAR_AUDIO), OPT_REAR_AUDIO, kSharedAudio, OPTION_SKIN_BOUND(RearSharedAudio)),
    ChoiceOption(Id(OPTION_TYPE_PC_INPUT), OPT_PC_INPUT, kSharedPc, OPTION_SKIN_BOUND(SharedPCInput)),
    ChoiceOption(Id(OPTION_TYPE_VIDEO1_HD1_AUDIO), OPT_VIDEO1_HD1_AUDIO, kVideo1Hd1, OPTION_NOT_GIVEN),
    ChoiceOption(Id(OPTION_TYPE_PC_HDMI3_AUDIO), OPT_PC_HDMI3_AUDIO, kPcHdmi3, OPTION_NOT_GIVEN),
    ChoiceOption(Id(OPTION_TYPE_HDMI_INSTAPORT), OPT_INSTAPORT, kOffOn, OPTION_SKIN_BOUND(HDMI_Instaport)),
    ChoiceOption(Id(OPTION_TYPE_HDMI_RGB_RANGE), OPT_RGB_RANGE, kRgbRange, OPTION_SKIN_BOUND(HDMI_RGBRange)),
    ChoiceOption(Id(OPTION_TYPE_HDMI_INPUT_MODE), OPT_HDMI_INPUT_MODE, kHdmiInputMode, OPTION_SKIN_BOUND(HDMI_InputMode)),
    ChoiceOption(Id(OPTION_TYPE_DIGITAL_AUDIO_OUTPUT), OPT_DIGITAL_OUTPUT, kSpdifFormats,
                 OPTION_SKIN_BOUND(DigitalAudioOutput)),
    ChoiceOption(Id(OPTION_TYPE_AUTO_INPUT_ENABLE), OPT_AUTO_INPUT_ENABLE, kOffOn, OPTION_SKIN_BOUND(EnableAutoInput)),
    ChoiceOption(Id(OPTION_TYPE_AUTOMATIC_POWER_DOWN), OPT_AUTOMATIC_POWER_DOWN, kOffOn,
                 OPTION_SKIN_BOUND(AutomaticPowerDown)),
    ChoiceOption(Id(OPTION_TYPE_AUTO_INPUT_TV), OPT_AUTO_INPUT_TV, kAutoInput, OPTION_SKIN_BOUND(AutoInputTV)),
    ChoiceOption(Id(OPTION_TYPE_AUTO_INPUT_CABLE_SAT), OPT_AUTO_INPUT_CABLE_SAT, kAutoInput,
                 OPTION_SKIN_BOUND(AutoInputCableSat)),
    ChoiceOption(Id(OPTION_TYPE_AUTO_INPUT_BD_DVD), OPT_AUTO_INPUT_BD_DVD, kAutoInput, OPTION_SKIN_BOUND(AutoInputBDDVD)),
    ChoiceOption(Id(OPTION_TYPE_AUTO_INPUT_AUX), OPT_AUTO_INPUT_AUX, kAutoInput, OPTION_SKIN_BOUND(AutoInputAUX)),
    ChoiceOption(Id(OPTION_TYPE_TV_MODEL_ID), OPT_TV_MODEL_ID, kFilledOnOpen, OPTION_SKIN_BOUND(TVModelId)),
    ChoiceOption(Id(OPTION_TYPE_CC_KEY), OPT_CC_KEY, kCCKey, OPTION_SKIN_BOUND(CCKey)),
    // One row per source: the page reads and writes the source's bit itself.
    ChoiceOption(Id(OPTION_TYPE_NO_SIGNAL_POWER_DOWN), OPT_NO_SIGNAL_POWER_DOWN, kOffOn, OPTION_UNBOUND),
};

// --- 0x86: media and quick settings ----------------------------------------------------
constexpr OptionEntry kMedia[] = {
    ChoiceOption(Id(OPTION_TYPE_SELECT_YESNO), OPT_DELETE_WALLPAPER, kYesNo, OPTION_UNBOUND),
    ChoiceOption(Id(OPTION_TYPE_MM_SORT), OPT_SORT, kSort, OPTION_SKIN_BOUND(MM_SortMode)),
    ChoiceOption(Id(OPTION_TYPE_MM_INTERVAL_TIME), OPT_INTERVAL_TIME, kInterval, OPTION_SKIN_BOUND(MM_IntervalTime)),
    ChoiceOption(Id(OPTION_TYPE_PHOTO_REPEAT), OPT_REPEAT, kOffOn, OPTION_SKIN_BOUND(Photo_Repeat)),
    ChoiceOption(Id(OPTION_TYPE_MOVIE_REPEAT), OPT_REPEAT, kRepeat, OPTION_SKIN_BOUND(Movie_Repeat)),
    ChoiceOption(Id(OPTION_TYPE_MUSIC_REPEAT), OPT_REPEAT, kRepeat, OPTION_SKIN_BOUND(Music_Repeat)),
    ChoiceOption(Id(OPTION_TYPE_TV_AUTO_POWEROFF), OPT_AUTO_POWER_OFF, kAutoPowerOff, OPTION_SKIN_BOUND(TV_Auto_PowerOff)),
    SliderOption(Id(OPTION_TYPE_MAX_VOLUME_SETUP), OPT_MAX_VOLUME_SETUP, OPTION_SKIN_BOUND(Max_Volume_Setup), 0, 100, 1),
    ChoiceOption(Id(OPTION_TYPE_BGM_ONOFF), OPT_BACKGROUND_MUSIC, kOffOn, OPTION_SKIN_BOUND(BackgroundMusicOnOff)),
    ChoiceOption(Id(OPTION_TYPE_PHOTO_BROWSE), OPT_BROWSE_MODE, kBrowse, OPTION_SKIN_BOUND(PhotoBrowseMode)),
};

// --- 0x87: base colours and service adjustments -------------------------------------------
#define BASE_COLOR(C, N)                                                                                      \
  SliderOption(Id(OPTION_TYPE_BASECOLOR_ADJUST_##C##_HUE), OPT_BASECOLOR_##C##_HUE, OPTION_SKIN_BOUND(N##Hue)),      \
      SliderOption(Id(OPTION_TYPE_BASECOLOR_ADJUST_##C##_SATURATION), OPT_BASECOLOR_##C##_SATURATION,           \
                   OPTION_SKIN_BOUND(N##Saturation)),                                                               \
      SliderOption(Id(OPTION_TYPE_BASECOLOR_ADJUST_##C##_BRIGHTNESS), OPT_BASECOLOR_##C##_BRIGHTNESS,           \
                   OPTION_SKIN_BOUND(N##Brightness))
#define SERVICE(C, N) SliderOption(Id(OPTION_TYPE_##C), OPT_##C, OPTION_SKIN_BOUND(N), 0, 255, 1)
constexpr OptionEntry kPicture2[] = {
    BASE_COLOR(RED, Red),
    BASE_COLOR(GREEN, Green),
    BASE_COLOR(BLUE, Blue),
    BASE_COLOR(YELLOW, Yellow),
    BASE_COLOR(MAGENTA, Magenta),
    BASE_COLOR(CYAN, Cyan),
    SERVICE(ADJUSTMENT_BRIGHTNESS_CENTER, BrightnessCenter),
    SERVICE(ADJUSTMENT_COLOR_CENTER, ColorCenter),
    SERVICE(ADJUSTMENT_BASEBAND_TINT, BasebandTint),
    SERVICE(ADJUSTMENT_CONTRAST_MAX, ContrastMax),
    SERVICE(SRV_RED_OFFSET, SRV_Red_Offset),
    SERVICE(SRV_GREEN_OFFSET, SRV_Green_Offset),
    SERVICE(SRV_BLUE_OFFSET, SRV_Blue_Offset),
    SERVICE(SRV_RED_GAIN, SRV_Red_Gain),
    SERVICE(SRV_GREEN_GAIN, SRV_Green_Gain),
    SERVICE(SRV_BLUE_GAIN, SRV_Blue_Gain),
};
#undef BASE_COLOR
#undef SERVICE

static_assert(T::IsSortedById(kPicture, std::size(kPicture)));
static_assert(T::IsSortedById(kSound, std::size(kSound)));
static_assert(T::IsSortedById(kSetup, std::size(kSetup)));
static_assert(T::IsSortedById(kPreferences, std::size(kPreferences)));
static_assert(T::IsSortedById(kConnections, std::size(kConnections)));
static_assert(T::IsSortedById(kMedia, std::size(kMedia)));
static_assert(T::IsSortedById(kPicture2, std::size(kPicture2)));

}  // namespace

T::OptionTable CustomPictureOptions() { return T::MakeOptionTable(0x81, kPicture); }
T::OptionTable SoundOptions() { return T::MakeOptionTable(0x82, kSound); }
T::OptionTable ApplicationSetupOptions() { return T::MakeOptionTable(0x83, kSetup); }
T::OptionTable PreferencesOptions() { return T::MakeOptionTable(0x84, kPreferences); }
T::OptionTable ConnectionOptions() { return T::MakeOptionTable(0x85, kConnections); }
T::OptionTable MediaOptions() { return T::MakeOptionTable(0x86, kMedia); }
T::OptionTable SecondPictureOptions() { return T::MakeOptionTable(0x87, kPicture2); }

}  // namespace SkinBin
