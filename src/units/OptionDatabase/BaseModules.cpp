// The option records of the base modules: 1 picture, 2 sound, 3 setup and
// captions, 4 CEC and network. Sliders take their range from the Wrapper's
// adjustment ranges (0 to 100, step 1, until it gives others).
#include "units/OptionDatabase/BaseModules.h"

#include "strings/OptionDatabase.h"
#include "units/OptionDatabase/OptionChoices.h"
#include "units/OptionDatabase/OptionTypes.h"
#include "units/SkinBin/OptionSkinBinding.h"
#include "units/Wrapper/Wrapper.h"

namespace OptionDatabase {
namespace {

constexpr uint32_t Id(int32_t id) { return static_cast<uint32_t>(id); }

// --- Choice lists ---------------------------------------------------------------------
constexpr ChoiceDef kDynamicVolume[] = {{&C_OFF, 0}, {&C_LOW, 1}, {&C_HIGH, 2}};
constexpr ChoiceDef kEqualizer[] = {{&C_NONE, 0},          {&C_EQ_VOICE, 1}, {&C_EQ_BASS_1, 2},
                                     {&C_EQ_BASS_1_VOICE, 3}, {&C_EQ_BASS_2, 4}, {&C_EQ_BASS_2_VOICE, 5}};
// The audio language: 0 English, 1 Spanish, 2 French.
constexpr ChoiceDef kLanguage[] = {{&C_ENGLISH, 0}, {&C_SPANISH, 1}, {&C_FRENCH, 2}};
// The mute bar: the set's mute read back as 0 (sound on: the bar closes)
// or 1 (muted). Each press steps to the other, so the key always does what
// its caption then says.
constexpr ChoiceDef kMute[] = {{&C_OFF, 0}, {&C_FULL_MUTE, 1}};
constexpr ChoiceDef kTimeZone[] = {{&C_ZONE_EASTERN, 0}, {&C_ZONE_CENTRAL, 1}, {&C_ZONE_MOUNTAIN, 2},
                                    {&C_ZONE_PACIFIC, 3}, {&C_ZONE_ALASKA, 4},  {&C_ZONE_HAWAII, 5},
                                    {&C_ZONE_ATLANTIC, 6}, {&C_ZONE_NEWFOUNDLAND, 7}};
constexpr ChoiceDef kBasicService[] = {{&C_CC1, 0},   {&C_CC2, 1},   {&C_CC3, 2},   {&C_CC4, 3},
                                        {&C_TEXT1, 4}, {&C_TEXT2, 5}, {&C_TEXT3, 6}, {&C_TEXT4, 7}};
constexpr ChoiceDef kAdvancedService[] = {{&C_SERVICE1, 0}, {&C_SERVICE2, 1}, {&C_SERVICE3, 2},
                                           {&C_SERVICE4, 3}, {&C_SERVICE5, 4}, {&C_SERVICE6, 5}};
constexpr ChoiceDef kCaptionDecode[] = {{&C_ANALOG, 0}, {&C_DIGITAL, 1}, {&C_AUTO, 2}};
constexpr ChoiceDef kFontSize[] = {{&C_AUTO, 0}, {&C_SMALL, 1}, {&C_STANDARD, 2}, {&C_LARGE, 3}};
constexpr ChoiceDef kFontStyle[] = {{&C_AUTO, 0},        {&C_FONT_MONO_SERIF, 1}, {&C_FONT_SERIF, 2},
                                     {&C_FONT_MONO_SANS, 3}, {&C_FONT_SANS, 4},       {&C_FONT_CASUAL, 5},
                                     {&C_FONT_CURSIVE, 6},   {&C_FONT_SMALL_CAPS, 7}};
constexpr ChoiceDef kEdgeType[] = {{&C_AUTO, 0},          {&C_NONE, 1},           {&C_EDGE_RAISED, 2},
                                    {&C_EDGE_DEPRESSED, 3}, {&C_EDGE_UNIFORM, 4},   {&C_EDGE_LEFT_SHADOW, 5},
                                    {&C_EDGE_RIGHT_SHADOW, 6}};
// The caption colours as the set stores them (0xRRGGBB; the set's own
// choice, which its caption reset restores, is 0xFF000000).
constexpr ChoiceDef kCaptionColor[] = {{&C_AUTO, static_cast<int32_t>(0xFF000000u)},
                                       {&C_BLACK, 0x000000},
                                       {&C_WHITE, 0xABABAB},
                                       {&C_RED, 0xAB0000},
                                       {&C_GREEN, 0x00AB00},
                                       {&C_BLUE, 0x0000AB},
                                       {&C_YELLOW, 0xABAB00},
                                       {&C_MAGENTA, 0xAB00AB},
                                       {&C_CYAN, 0x00ABAB}};
constexpr ChoiceDef kOpacity[] = {
    {&C_AUTO, 0}, {&C_SOLID, 1}, {&C_FLASHING, 2}, {&C_TRANSLUCENT, 3}, {&C_TRANSPARENT, 4}};
constexpr ChoiceDef kNetworkType[] = {{&C_WIRED, 0}, {&C_WIRELESS, 1}};
constexpr ChoiceDef kWpsConfiguration[] = {{&C_PUSH_BUTTON, 0}, {&C_PIN, 1}};
constexpr ChoiceDef kAuthentication[] = {{&C_OPEN_SHARED, 0}, {&C_WPA_PSK, 1}, {&C_WPA2_PSK, 2}};
constexpr ChoiceDef kEncryption[] = {{&C_NONE, 0}, {&C_WEP, 1}, {&C_TKIP, 2}, {&C_AES, 3}};
constexpr ChoiceDef kKeyId[] = {{&C_KEY1, 0}, {&C_KEY2, 1}, {&C_KEY3, 2}, {&C_KEY4, 3}};
// 1 security found by the middleware, 2 security set by hand.
constexpr ChoiceDef kConnectMode[] = {{&C_AUTO, 1}, {&C_MANUAL, 2}};
constexpr ChoiceDef kWpsPinMode[] = {{&C_DEVICE_PIN, 0}, {&C_ACCESS_POINT_PIN, 1}};

// --- Module 1: picture ------------------------------------------------------------------
// Sliders run 0..100 but for the ones centred on 0 (tint, the picture
// position, balance, bass and treble), which run -50..50: the factory
// commands set hue and balance in that range, resetting the position writes
// index 0, and the set keeps bass and treble around 0.
constexpr OptionEntry kPicture[] = {
    SliderOption(Id(OPTION_TYPE_BACKLIGHT), OPT_BACKLIGHT, OPTION_WRAPPER(Backlight)),
    SliderOption(Id(OPTION_TYPE_CONTRAST), OPT_CONTRAST, OPTION_WRAPPER(Contrast)),
    SliderOption(Id(OPTION_TYPE_BRIGHTNESS), OPT_BRIGHTNESS, OPTION_WRAPPER(Brightness)),
    SliderOption(Id(OPTION_TYPE_COLOR), OPT_COLOR, OPTION_WRAPPER(Color)),
    SliderOption(Id(OPTION_TYPE_TINT), OPT_TINT, OPTION_WRAPPER(Tint), -50, 50),
    SliderOption(Id(OPTION_TYPE_SHARPNESS), OPT_SHARPNESS, OPTION_WRAPPER(Sharpness)),
    ChoiceOption(Id(OPTION_TYPE_DIGITAL_NR), OPT_DIGITAL_NR, kOffLowMediumHigh, OPTION_WRAPPER(DigitalNR)),
    SliderOption(Id(OPTION_TYPE_RED_OFFSET), OPT_RED_OFFSET, OPTION_WRAPPER(Red_Offset)),
    SliderOption(Id(OPTION_TYPE_GREEN_OFFSET), OPT_GREEN_OFFSET, OPTION_WRAPPER(Green_Offset)),
    SliderOption(Id(OPTION_TYPE_BLUE_OFFSET), OPT_BLUE_OFFSET, OPTION_WRAPPER(Blue_Offset)),
    SliderOption(Id(OPTION_TYPE_RED_GAIN), OPT_RED_GAIN, OPTION_WRAPPER(Red_Gain)),
    SliderOption(Id(OPTION_TYPE_GREEN_GAIN), OPT_GREEN_GAIN, OPTION_WRAPPER(Green_Gain)),
    SliderOption(Id(OPTION_TYPE_BLUE_GAIN), OPT_BLUE_GAIN, OPTION_WRAPPER(Blue_Gain)),
    ChoiceOption(Id(OPTION_TYPE_ANALOG_NR), OPT_ANALOG_NR, kOffLowMediumHigh, OPTION_WRAPPER(AnalogNR)),
    SliderOption(Id(OPTION_TYPE_DYNAMIC_CONTRAST), OPT_DYNAMIC_CONTRAST, OPTION_WRAPPER(DynamicContrast)),
    ChoiceOption(Id(OPTION_TYPE_SUPER_RESOLUTION), OPT_SUPER_RESOLUTION, kOffOn, OPTION_WRAPPER(SuperResolution)),
    ChoiceOption(Id(OPTION_TYPE_COLOR_MANAGER), OPT_COLOR_MANAGER, kOffOn, OPTION_WRAPPER(ColorManager)),
    SliderOption(Id(OPTION_TYPE_VERTICAL_POSITION), OPT_VERTICAL_POSITION, OPTION_WRAPPER(VerticalPosition), -50,
                 50),
    SliderOption(Id(OPTION_TYPE_HORIZONTAL_POSITION), OPT_HORIZONTAL_POSITION, OPTION_WRAPPER(HorizontalPosition),
                 -50, 50),
    SliderOption(Id(OPTION_TYPE_SAMPLE_CLOCK), OPT_SAMPLE_CLOCK, OPTION_NOT_GIVEN),
    SliderOption(Id(OPTION_TYPE_CLOCK_PHASE), OPT_CLOCK_PHASE, OPTION_WRAPPER(VGAPhase)),
};

// --- Module 2: sound --------------------------------------------------------------------
constexpr OptionEntry kSound[] = {
    ChoiceOption(Id(OPTION_TYPE_MTS), OPT_MTS, kMonoStereoSap, OPTION_WRAPPER(MTS)),
    SliderOption(Id(OPTION_TYPE_BALANCE), OPT_BALANCE, OPTION_WRAPPER(Balance), -50, 50),
    SliderOption(Id(OPTION_TYPE_BASS), OPT_BASS, OPTION_WRAPPER(Bass), -50, 50),
    SliderOption(Id(OPTION_TYPE_TREBLE), OPT_TREBLE, OPTION_WRAPPER(Treble), -50, 50),
    SliderOption(Id(OPTION_TYPE_VOLUME), OPT_VOLUME, OPTION_WRAPPER(Volume)),
    ChoiceOption(Id(OPTION_TYPE_AUDYSSEY_EQ), OPT_AUDYSSEY_EQ, kOffOn, OPTION_WRAPPER(AudysseyEQ)),
    ChoiceOption(Id(OPTION_TYPE_DYNAMIC_VOLUME), OPT_DYNAMIC_VOLUME, kDynamicVolume, OPTION_WRAPPER(DynamicVolume)),
    ChoiceOption(Id(OPTION_TYPE_EQUALIZER), OPT_EQUALIZER, kEqualizer, OPTION_WRAPPER(EqualizerPreset)),
    ChoiceOption(Id(OPTION_TYPE_SPDIF_FORMAT), OPT_SPDIF_FORMAT, kSpdifFormats, OPTION_WRAPPER(SpdifFormat)),
    ChoiceOption(Id(OPTION_TYPE_AUTO_VOLUME_LEVEL), OPT_AUTO_VOLUME_LEVEL, kOffOn, OPTION_WRAPPER(AutoVolumeLevel)),
    ChoiceOption(Id(OPTION_TYPE_SRS_TRUVOLUME), OPT_SRS_TRUVOLUME, kOffOn, OPTION_WRAPPER(SRSTruVolume)),
    ChoiceOption(Id(OPTION_TYPE_SRS_TRUSURROUND), OPT_SRS_TRUSURROUND, kOffOn, OPTION_WRAPPER(SRSTruSurround)),
    ChoiceOption(Id(OPTION_TYPE_SS_TRUVOLUME), OPT_SS_TRUVOLUME, kOffOn, OPTION_WRAPPER(SSTruVolume)),
    ChoiceOption(Id(OPTION_TYPE_SS_TRUSURROUND), OPT_SS_TRUSURROUND, kOffOn, OPTION_WRAPPER(SSTruSurround)),
    ChoiceOption(Id(OPTION_TYPE_DIGITAL_PREFERENCE), OPT_DIGITAL_PREFERENCE, kLanguage,
                 OPTION_WRAPPER(DigitalPreference)),
    SliderOption(Id(OPTION_TYPE_LIP_SYNC), OPT_LIP_SYNC, OPTION_WRAPPER(LipSync)),
    ChoiceOption(Id(OPTION_TYPE_MUTE), OPT_MUTE, kMute, OPTION_WRAPPER(Mute)),
};

// --- Module 3: setup and captions -----------------------------------------------------
constexpr OptionEntry kSetup[] = {
    ChoiceOption(Id(OPTION_TYPE_ENABLE_ON_TIMER), OPT_ENABLE_ON_TIMER, kOffOn, OPTION_WRAPPER(EnableTimer)),
    ChoiceOption(Id(OPTION_TYPE_TIME_ZONE), OPT_TIME_ZONE, kTimeZone, OPTION_WRAPPER(TimeZone)),
    ChoiceOption(Id(OPTION_TYPE_DAYLIGHT_SAVING_TIME), OPT_DAYLIGHT_SAVING_TIME, kNoYes,
                 OPTION_WRAPPER(DaylightSavingTime)),
    // The menu-language order: 0 English, 1 Spanish, 2 French.
    ChoiceOption(Id(OPTION_TYPE_MENU_LANGUAGE), OPT_MENU_LANGUAGE, kLanguage, OPTION_SKIN_BOUND(MenuLanguage)),
    ChoiceOption(Id(OPTION_TYPE_ANT_CABLE_IN), OPT_ANT_CABLE_IN, kAntennaCable, OPTION_WRAPPER(AntCableIn)),
    ChoiceOption(Id(OPTION_TYPE_AUTO_ASPECT), OPT_AUTO_ASPECT, kOffOn, OPTION_SKIN_BOUND(AutoAspect)),
    ChoiceOption(Id(OPTION_TYPE_STRETCH_4_3), OPT_STRETCH_4_3, kOffOn, OPTION_SKIN_BOUND(Stretch43)),
    ChoiceOption(Id(OPTION_TYPE_PANEL_LOCK), OPT_PANEL_LOCK, kOffOn, OPTION_WRAPPER(PanelLock)),
    ChoiceOption(Id(OPTION_TYPE_BASIC_CC_MODE), OPT_BASIC_CC_MODE, kBasicService, OPTION_WRAPPER(BasicCCMode)),
    ChoiceOption(Id(OPTION_TYPE_CC_FONT_SIZE), OPT_CC_FONT_SIZE, kFontSize, OPTION_WRAPPER(CC708_FontSize)),
    ChoiceOption(Id(OPTION_TYPE_CC_FONT_STYLE), OPT_CC_FONT_STYLE, kFontStyle, OPTION_WRAPPER(CC708_FontStyle)),
    ChoiceOption(Id(OPTION_TYPE_CC_EDGE_TYPE), OPT_CC_EDGE_TYPE, kEdgeType, OPTION_WRAPPER(CC708_EdgeType)),
    ChoiceOption(Id(OPTION_TYPE_CC_EDGE_COLOR), OPT_CC_EDGE_COLOR, kCaptionColor, OPTION_WRAPPER(CC708_EdgeColor)),
    ChoiceOption(Id(OPTION_TYPE_CC_FG_COLOR), OPT_CC_FG_COLOR, kCaptionColor, OPTION_WRAPPER(CC708_FontColor)),
    ChoiceOption(Id(OPTION_TYPE_CC_FG_OPACITY), OPT_CC_FG_OPACITY, kOpacity, OPTION_WRAPPER(CC708_FontOpacity)),
    ChoiceOption(Id(OPTION_TYPE_CC_BG_COLOR), OPT_CC_BG_COLOR, kCaptionColor, OPTION_WRAPPER(CC708_BgColor)),
    ChoiceOption(Id(OPTION_TYPE_CC_BG_OPACITY), OPT_CC_BG_OPACITY, kOpacity, OPTION_WRAPPER(CC708_BgOpacity)),
    // The yes or no of the network confirmations: the first choice confirms.
    ChoiceOption(Id(OPTION_TYPE_SELECT_CONFIRM), OPT_CONFIRM, kYesNo, OPTION_UNBOUND),
    ChoiceOption(Id(OPTION_TYPE_ADVANCED_CC_MODE), OPT_ADVANCED_CC_MODE, kAdvancedService,
                 OPTION_WRAPPER(AdvancedCCMode)),
    ChoiceOption(Id(OPTION_TYPE_CC_PREFERENCE), OPT_CC_PREFERENCE, kCaptionDecode, OPTION_WRAPPER(CCPreference)),
    ChoiceOption(Id(OPTION_TYPE_BLOCK_UNRATED_CONTENT), OPT_BLOCK_UNRATED_CONTENT, kOffOn,
                 OPTION_WRAPPER(BlockUnratedContent)),
    // The time zone of the live menu and the first-time setup: the same
    // property and choices as the product-tree time zone.
    ChoiceOption(Id(OPTION_TYPE_TIME_ZONE_KXD), OPT_TIME_ZONE, kTimeZone, OPTION_WRAPPER(TimeZone)),
};

// --- Module 4: CEC and network ------------------------------------------------------------
constexpr OptionEntry kCecNetwork[] = {
    ChoiceOption(Id(OPTION_TYPE_ENABLE_CEC), OPT_ENABLE_CEC, kOffOn, OPTION_SKIN_BOUND(EnableKELVO)),
    ChoiceOption(Id(OPTION_TYPE_TV_AUTO_POWER), OPT_TV_AUTO_POWER, kOffOn, OPTION_NOT_GIVEN),
    ChoiceOption(Id(OPTION_TYPE_AUTO_STANDBY), OPT_AUTO_STANDBY, kOffOn, OPTION_NOT_GIVEN),
    ChoiceOption(Id(OPTION_TYPE_AMPLIFIER_CONTROL), OPT_AMPLIFIER_CONTROL, kOffOn, OPTION_SKIN_BOUND(AmplifierControl)),
    ChoiceOption(Id(OPTION_TYPE_SPEAKER_PREFERENCE), OPT_SPEAKER_PREFERENCE, kSpeakerChoices,
                 OPTION_SKIN_BOUND(SpeakerPreference)),
    ChoiceOption(Id(OPTION_TYPE_NETWORK_TYPE), OPT_NETWORK_TYPE, kNetworkType, OPTION_SKIN_BOUND(NetworkType)),
    ChoiceOption(Id(OPTION_TYPE_WPS_CONFIGURATION), OPT_WPS_CONFIGURATION, kWpsConfiguration,
                 OPTION_SKIN_BOUND(WPSConfiguration)),
    ChoiceOption(Id(OPTION_TYPE_AUTHENTICATION), OPT_AUTHENTICATION, kAuthentication, OPTION_SKIN_BOUND(Authentication)),
    ChoiceOption(Id(OPTION_TYPE_ENCRYPTION), OPT_ENCRYPTION, kEncryption, OPTION_SKIN_BOUND(Encryption)),
    ChoiceOption(Id(OPTION_TYPE_ENHANCED_11N), OPT_ENHANCED_11N, kOffOn, OPTION_NOT_GIVEN),
    ChoiceOption(Id(OPTION_TYPE_AUTO_NETWORK_SETUP), OPT_AUTO_NETWORK_SETUP, kOffOn, OPTION_SKIN_BOUND(AutoSetup)),
    ChoiceOption(Id(OPTION_TYPE_KEY_ID), OPT_KEY_ID, kKeyId, OPTION_SKIN_BOUND(KeyID)),
    ChoiceOption(Id(OPTION_TYPE_CONNECT_MODE), OPT_CONNECT_MODE, kConnectMode, OPTION_SKIN_BOUND(ConnectMode), 1),
    ChoiceOption(Id(OPTION_TYPE_WPS_PIN_MODE), OPT_WPS_PIN_MODE, kWpsPinMode, OPTION_SKIN_BOUND(WPSPinMode)),
};

static_assert(IsSortedById(kPicture, std::size(kPicture)));
static_assert(IsSortedById(kSound, std::size(kSound)));
static_assert(IsSortedById(kSetup, std::size(kSetup)));
static_assert(IsSortedById(kCecNetwork, std::size(kCecNetwork)));

constexpr OptionTable kTables[] = {
    MakeOptionTable(1, kPicture),
    MakeOptionTable(2, kSound),
    MakeOptionTable(3, kSetup),
    MakeOptionTable(4, kCecNetwork),
};

}  // namespace

std::span<const OptionTable> BaseOptionTables() { return kTables; }

}  // namespace OptionDatabase
