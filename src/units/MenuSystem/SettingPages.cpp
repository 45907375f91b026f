#include "units/MenuSystem/SettingPages.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "strings/MenuSystemPages.h"
#include "units/Constants/ConfirmTypes.h"
#include "units/Constants/Constants.h"
#include "units/Constants/MessageTypes.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/Events/XPM_EVENT_KEY.h"
#include "units/Media/MediaWrapper.h"
#include "units/MenuSystem/MenuItems.h"
#include "units/MenuSystem/PictureSoundPages.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/ActiveAppStatus.h"
#include "units/Structures/LocalTime.h"
#include "units/Structures/TimerData.h"
#include "units/SubSystem/MenuSystemClass.h"
#include "units/WinIDs/WinIDs.h"
#include "units/Wrapper/Wrapper.h"


namespace MenuSystem {

using namespace keys;

KV_REGISTER_CLASS(MenuSystem::LocalTimeMenu);
KV_REGISTER_CLASS(MenuSystem::HDMIInputModeMenu);
KV_REGISTER_CLASS(MenuSystem::AudysseyEQMenu);
KV_REGISTER_CLASS(MenuSystem::BrontelMenu);
KV_REGISTER_CLASS(MenuSystem::SetupMenu);
KV_REGISTER_CLASS(MenuSystem::PreferencesMenu);
KV_REGISTER_CLASS(MenuSystem::ApplicationsMenu);
KV_REGISTER_CLASS(MenuSystem::TVSettingsMenu);
KV_REGISTER_CLASS(MenuSystem::ClosedCaptionMenu);
KV_REGISTER_CLASS(MenuSystem::DigitalCCMenu);
KV_REGISTER_CLASS(MenuSystem::CECSetupMenu);
KV_REGISTER_CLASS(MenuSystem::NetworkSetupMenu);
KV_REGISTER_CLASS(MenuSystem::ChBrowserSetupMenu);
KV_REGISTER_CLASS(MenuSystem::NetflixSetupMenu);
KV_REGISTER_CLASS(MenuSystem::DisplaySettingsMenu);
KV_REGISTER_CLASS(MenuSystem::AVConnectionMenu);
KV_REGISTER_CLASS(MenuSystem::HiddenComboPage);
KV_REGISTER_CLASS(MenuSystem::HDMISettingsMenu);
KV_REGISTER_CLASS(MenuSystem::AdvancedSoundSettingsMenu);
KV_REGISTER_CLASS(MenuSystem::EnergySavingSettingsMenu);
KV_REGISTER_CLASS(MenuSystem::NoSignalPowerDownMenu);
KV_REGISTER_CLASS(MenuSystem::ParentalLocksMenu);
KV_REGISTER_CLASS(MenuSystem::AutoInputMenu);
KV_REGISTER_CLASS(MenuSystem::AppMediaPlayerMenu);
KV_REGISTER_CLASS(MenuSystem::AutoDemoMenu);
KV_REGISTER_CLASS(MenuSystem::OnTimerMenu);
KV_REGISTER_CLASS(MenuSystem::DummyMenu);

namespace {

namespace S = MenuSystemPages;
using K = RowKind;


const ClassOf kConfirm = MS_TARGET(ConfirmDialog());
const ClassOf kEnterPin = MS_TARGET(KV_LATE_CLASS("NonMenuSystem::EnterPinDialog"));
const ClassOf kChangePin = MS_TARGET(KV_LATE_CLASS("NonMenuSystem::ChangePinDialog"));
const ClassOf kChBrowser = MS_TARGET(KV_LATE_CLASS("NonMenuSystem::ChBrowserDialog"));
const ClassOf kMediaSelect = MS_TARGET(KV_LATE_CLASS("MediaPlayer::MediaDeviceSelectDialog"));
const ClassOf kSetup = MS_TARGET(&SetupMenu::StaticClass());
const ClassOf kPreferences = MS_TARGET(&PreferencesMenu::StaticClass());
const ClassOf kApplications = MS_TARGET(&ApplicationsMenu::StaticClass());
// The sleep-timer row of the applications page (constructor order).
constexpr int32_t kSleepRow = 7;
const ClassOf kTVSettings = MS_TARGET(&TVSettingsMenu::StaticClass());
const ClassOf kClosedCaption = MS_TARGET(&ClosedCaptionMenu::StaticClass());
const ClassOf kDisplaySettings = MS_TARGET(&DisplaySettingsMenu::StaticClass());
const ClassOf kAVConnection = MS_TARGET(&AVConnectionMenu::StaticClass());
const ClassOf kHDMISettings = MS_TARGET(&HDMISettingsMenu::StaticClass());
const ClassOf kEnergySaving = MS_TARGET(&EnergySavingSettingsMenu::StaticClass());
const ClassOf kSound = MS_TARGET(&SoundMenu::StaticClass());
const ClassOf kAdvancedSound = MS_TARGET(&AdvancedSoundSettingsMenu::StaticClass());

const RowDef kSetupRows[] = {
    {K::Select, &S::SID_MENU_LANGUAGE, 0x3000004},
    {K::Select, &S::SID_ANT_CABLE_IN, 0x3000005},
    {K::Link, &S::SID_AUTO_TUNING, 3, MS_TARGET(KV_LATE_CLASS("Channels::AutoTuningConfirmDialog"))},
    {K::Link, &S::SID_MANUAL_TUNING, 0, MS_TARGET(KV_LATE_CLASS("Channels::ManualTuningDialog"))},
    {K::Link, &S::SID_TV_SETTINGS, 0, kTVSettings},
    {K::Link, &S::SID_QUICK_SETUP, Constants::ConfirmTypeQuickSetup, kConfirm},
    {K::Select, &S::SID_LOCATION, static_cast<int32_t>(0x83000002)},
    {K::Link, &S::SID_SOFTWARE_UPGRADE, 0, MS_TARGET(KV_LATE_CLASS("Update::CheckingMessage"))},
    {K::Link, &S::SID_SOFTWARE_LICENCES, 0, MS_TARGET(KV_LATE_CLASS("NonMenuSystem::SoftwareLicencesDialog"))},
    {K::Link, &S::SID_SYS_INFO, 0, MS_TARGET(KV_LATE_CLASS("NonMenuSystem::SystemInfoDialog"))},
    {K::Link, &S::SID_RESET_TV, Constants::ConfirmTypeResetAll, kConfirm},
};
const PageLayout kSetupPage = Page(0x01000155, &S::SID_SETUP, 3, nullptr, kSetupRows);

const RowDef kPreferencesRows[] = {
    {K::Link, &S::SID_3D_SETUP, 0, MS_TARGET(KV_LATE_CLASS("ThreeD::ThreeDMenu"))},
    {K::Link, &S::SID_KELVO_LINK_SETUP, 0, MS_TARGET(&CECSetupMenu::StaticClass())},
    {K::Link, &S::SID_NETWORK_SETUP, 0, MS_TARGET(&NetworkSetupMenu::StaticClass())},
    {K::Link, &S::SID_NETFLIX_SETUP, 0, MS_TARGET(&NetflixSetupMenu::StaticClass())},
    {K::Link, &S::SID_VUDU_DEACTIVATION, Constants::ConfirmTypeVuduDeactivation, kConfirm},
    {K::Link, &S::SID_RESET_YAHOO, Constants::ConfirmTypeResetYahoo, kConfirm},
    {K::Select, &S::SID_TV_POWERON_CONTROL, static_cast<int32_t>(0x84000017)},
    {K::Link, &S::SID_DMR_SETUP, 0, MS_TARGET(KV_LATE_CLASS("MediaPlayer::MediaRenderSetupMenu"))},
    {K::Link, &S::SID_WALLPAPER_SETUP, 0, MS_TARGET(KV_LATE_CLASS("MediaPlayer::PhotoFrameSetup"))},
    {K::Link, &S::SID_CHAN_BROWSER_SETUP, 0, MS_TARGET(&ChBrowserSetupMenu::StaticClass())},
    {K::Link, &S::SID_PIN_SETTING, 1, kEnterPin},
    {K::Link, &S::SID_PARENTAL_CONTROL_AND_LOCKS, 2, kEnterPin},
    {K::Link, &S::SID_DISPLAY_SETTINGS, 0, kDisplaySettings},
    {K::Link, &S::SID_EXT_INPUT_SETTINGS, 0, kAVConnection},
    {K::Link, &S::SID_AUTO_INPUT, 37, MS_TARGET(&AutoInputMenu::StaticClass())},
    {K::Select, &S::SID_IR_CONTROL, static_cast<int32_t>(0x84000009)},
    {K::Link, &S::SID_ENERGY_SAVING_SETTINGS, 0, kEnergySaving},
    {K::Select, &S::SID_HDMI_INFORMATION_DISPLAY, static_cast<int32_t>(0x84000007)},
    {K::Select, &S::SID_POWER_LED, static_cast<int32_t>(0x84000008)},
};
const PageLayout kPreferencesPage = Page(0x01000154, &S::SID_PREFERENCE, 3, nullptr, kPreferencesRows);

const RowDef kApplicationsRows[] = {
    {K::Link, &S::SID_WIDGETS},
    {K::Link, &S::SID_WEB_TIDE},
    {K::Link, &S::APPS_MORE, 0, MS_TARGET(&DummyMenu::StaticClass())},
    {K::Link, &S::SID_MEDIA_PLAYER, 0, MS_TARGET(&AppMediaPlayerMenu::StaticClass())},
    {K::Link, &S::SID_CHANNEL_BROWSER, 0, kChBrowser},
    {K::Link, &S::SID_FAVORITES_BROWSER, 0, kChBrowser},
    {K::Link, &S::SID_ON_TIMER, 0, MS_TARGET(&OnTimerMenu::StaticClass())},
    {K::Timer, &S::SID_SLEEP_TIMER, static_cast<int32_t>(0x83000003)},
    {K::Link, &S::SID_AUTO_DEMO, 0, MS_TARGET(&AutoDemoMenu::StaticClass())},
};
const PageLayout kApplicationsPage = Page(0x01000153, &S::SID_APPLICATIONS, 3, nullptr, kApplicationsRows);

const RowDef kTVSettingsRows[] = {
    {K::Link, &S::SID_CHAN_OPTIONS, 0, MS_TARGET(KV_LATE_CLASS("Channels::ChannelOptionDialog"))},
    {K::Link, &S::SID_CC_AND_AUDIO, 0, kClosedCaption},
    {K::Link, &S::SID_LOCAL_TIME_SETTING, 0, MS_TARGET(&LocalTimeMenu::StaticClass())},
    {K::Select, &S::SID_CHANNEL_TUNING_MODE, static_cast<int32_t>(0x83000004)},
};
const PageLayout kTVSettingsPage = Page(0x01001551, &S::SID_TV_SETTINGS, 4, kSetup, kTVSettingsRows);

const RowDef kClosedCaptionRows[] = {
    {K::Select, &S::SID_CLOSED_CAPTIONS, static_cast<int32_t>(0x8300000e)},
    {K::Select, &S::SID_ANALOG_CC_MODE, 0x300000b},
    {K::Link, &S::SID_DIGITAL_CC_SETTINGS, 0, MS_TARGET(&DigitalCCMenu::StaticClass())},
};
const PageLayout kClosedCaptionPage = Page(0x01015511, &S::SID_CC_AND_AUDIO, 5, kTVSettings, kClosedCaptionRows);

const RowDef kDigitalCCRows[] = {
    {K::Select, &S::SID_CAPTION_SIZE, 0x300000c},
    {K::Select, &S::SID_CC_TEXT_TYPE, 0x300000d},
    {K::Select, &S::SID_CC_TEXT_EDGE, 0x300000e},
    {K::Select, &S::SID_CC_TEXT_COLOR, 0x3000010},
    {K::Select, &S::SID_DTVCC_FG_OPACITY, 0x3000011},
    {K::Select, &S::SID_CC_BG_COLOR, 0x3000012},
    {K::Select, &S::SID_DTVCC_BG_OPACITY, 0x3000013},
    {K::Select, &S::SID_CAPTION_TEXT_EDGE_COLOR, 0x300000f},
    {K::Link, &S::SID_RESET, Constants::ConfirmTypeResetDigitalCC, kConfirm},
};
const PageLayout kDigitalCCPage = Page(0x01155111, &S::SID_DIGITAL_CC_SETTINGS, 6, kClosedCaption, kDigitalCCRows);
// Text colour and background colour: the pair that may not match.
constexpr int32_t kCCTextColorRow = 3;
constexpr int32_t kCCBgColorRow = 5;

const RowDef kLocalTimeRows[] = {
    {K::Select, &S::SID_TIME_ZONE, 0x3000002},
    {K::Select, &S::SID_DAYLIGHT_SAVINGS, 0x3000003},
};
const PageLayout kLocalTimePage = Page(0x01015512, &S::SID_LOCAL_TIME_SETTING, 5, kTVSettings, kLocalTimeRows);

const RowDef kCECSetupRows[] = {
    {K::Select, &S::SID_ENABLE_KELVO, 0x4000000},     {K::Select, &S::SID_TV_AUTO_POWER, 0x4000001},
    {K::Select, &S::SID_AUTO_STANDBY, 0x4000002},     {K::Select, &S::SID_AMPLIFIER_CONTROL, 0x4000003},
    {K::Select, &S::SID_SPEAKER_PREFERENCE, 0x4000004},
};
const PageLayout kCECSetupPage = Page(0x01001541, &S::SID_KELVO_LINK_SETUP, 4, kPreferences, kCECSetupRows);

const RowDef kNetworkSetupRows[] = {
    {K::Select, &S::SID_NETWORK_TYPE, 0x4000005},
    {K::Link, &S::SID_WIRELESS_SETUP, 0, MS_TARGET(KV_LATE_CLASS("Network::WirelessSetupMenu"))},
    {K::Link, &S::SID_ADVANCED_NETWORK_SETUP, 0, MS_TARGET(KV_LATE_CLASS("Network::AdvancedNetworkSetupMenu"))},
    {K::Link, &S::SID_NETWORK_CONNECTION_TEST, 0, MS_TARGET(KV_LATE_CLASS("Network::NetworkConnectionTest"))},
};
const PageLayout kNetworkSetupPage = Page(0x01001542, &S::SID_NETWORK_SETUP, 4, kPreferences, kNetworkSetupRows);

const RowDef kChBrowserSetupRows[] = {
    {K::Select, &S::SID_NAVIGATION, static_cast<int32_t>(0x8400000a)},
    {K::Select, &S::SID_HISTORY_LIST, static_cast<int32_t>(0x8400000b)},
    {K::Select, &S::SID_ANT_CABLE_LIST, static_cast<int32_t>(0x8400000c)},
    {K::Select, &S::SID_INPUTS_LIST, static_cast<int32_t>(0x8400000d)},
    {K::Select, &S::SID_FAVORITES_LIST, static_cast<int32_t>(0x8400000e)},
    {K::Select, &S::SID_KELVO_LINK_LIST, static_cast<int32_t>(0x8400000f)},
    {K::Link, &S::SID_RESET, Constants::ConfirmTypeResetChBrowser, kConfirm},
};
const PageLayout kChBrowserSetupPage =
    Page(0x01001543, &S::SID_CHAN_BROWSER_SETUP, 4, kPreferences, kChBrowserSetupRows, 3, kPageHeight);

const RowDef kNetflixSetupRows[] = {
    {K::Link, &S::SID_ESN, 0, MS_TARGET(KV_LATE_CLASS("Network::ESNDialog"))},
    {K::Link, &S::SID_DEACTIVATION, Constants::ConfirmTypeNetflixDeactivation, kConfirm},
};
const PageLayout kNetflixSetupPage = Page(0x01001544, &S::SID_NETFLIX_SETUP, 4, kPreferences, kNetflixSetupRows);

const RowDef kDisplaySettingsRows[] = {
    {K::Select, &S::SID_AUTO_ASPECT, 0x3000006},
    {K::Select, &S::SID_4_3_STRETCH, 0x3000007},
    {K::Link, &S::SID_PIC_POSITION, 0, MS_TARGET(&PicturePositionMenu::StaticClass())},
    {K::Link, &S::SID_PC_SETTINGS, 0, MS_TARGET(&PCSettingsMenu::StaticClass())},
};
const PageLayout kDisplaySettingsPage =
    Page(0x01001545, &S::SID_DISPLAY_SETTINGS, 4, kPreferences, kDisplaySettingsRows);

const RowDef kAVConnectionRows[] = {
    {K::Link, &S::SID_INPUT_LABEL, 0, MS_TARGET(KV_LATE_CLASS("NonMenuSystem::InputLabelingDialog"))},
    {K::Select, &S::SID_SIDE_AUDIO, static_cast<int32_t>(0x85000000)},
    {K::Select, &S::SID_REAR_AUDIO, static_cast<int32_t>(0x85000001)},
    {K::Select, &S::SID_PC_INPUT, static_cast<int32_t>(0x85000002)},
    {K::Select, &S::SID_VIDEO1_HD1_AUDIO, static_cast<int32_t>(0x85000003)},
    {K::Select, &S::SID_PC_HDMI3_AUDIO, static_cast<int32_t>(0x85000004)},
    {K::Link, &S::SID_HDMI_SETTINGS, 0, kHDMISettings},
    {K::Select, &S::SID_DIGITAL_OUTPUT, static_cast<int32_t>(0x85000009)},
};
const PageLayout kAVConnectionPage = Page(0x01001546, &S::SID_EXT_INPUT_SETTINGS, 4, kPreferences, kAVConnectionRows);

const RowDef kHDMISettingsRows[] = {
    {K::Select, &S::SID_INSTAPORT, static_cast<int32_t>(0x85000006)},
    {K::Select, &S::SID_RGB_RANGE, static_cast<int32_t>(0x85000007)},
};
const PageLayout kHDMISettingsPage = Page(0x01015461, &S::SID_HDMI_SETTINGS, 5, kAVConnection, kHDMISettingsRows);

const RowDef kHDMIInputModeRows[] = {{K::Select, &S::SID_HDMI_INPUT_MODE, static_cast<int32_t>(0x85000008)}};
const PageLayout kHDMIInputModePage =
    Page(0x01154611, &S::SID_HDMI_INPUT_MODE, 6, kHDMISettings, kHDMIInputModeRows);

const RowDef kEnergySavingRows[] = {
    {K::Select, &S::SID_AUTOMATIC_POWER_DOWN, static_cast<int32_t>(0x8500000b)},
    {K::Link, &S::SID_NO_SIGNAL_POWER_DOWN, 0, MS_TARGET(&NoSignalPowerDownMenu::StaticClass())},
};
const PageLayout kEnergySavingPage =
    Page(0x01001548, &S::SID_ENERGY_SAVING_SETTINGS, 4, kPreferences, kEnergySavingRows);

const PageLayout kNoSignalPage{0x01001548, &S::SID_NO_SIGNAL_POWER_DOWN, 5, kEnergySaving, nullptr, 0};
constexpr int32_t kNoSignalOption = static_cast<int32_t>(0x85000012);

const RowDef kParentalLocksRows[] = {
    {K::Select, &S::SID_ENABLE_RATING_BLOCKING, static_cast<int32_t>(0x84000010)},
    {K::Link, &S::SID_EDIT_RATING_LIMITS, 0, MS_TARGET(KV_LATE_CLASS("ParentalLocks::EditRatingLimits"))},
    {K::Select, &S::SID_INPUT_LOCK, static_cast<int32_t>(0x84000004)},
    {K::Select, &S::SID_PANEL_LOCK, 0x3000008},
    {K::Select, &S::SID_GAME_TIMER, static_cast<int32_t>(0x84000011)},
};
const PageLayout kParentalLocksPage =
    Page(0x01001549, &S::SID_PARENTAL_CONTROL_AND_LOCKS, 4, kPreferences, kParentalLocksRows);

const RowDef kAutoInputRows[] = {
    {K::Select, &S::SID_AUTO_INPUT_ENABLE, static_cast<int32_t>(0x8500000a)},
    {K::Select, &S::SID_TV, static_cast<int32_t>(0x8500000c)},
    {K::Select, &S::SID_CABLE_SAT, static_cast<int32_t>(0x8500000d)},
    {K::Select, &S::SID_BD_DVD, static_cast<int32_t>(0x8500000e)},
    {K::Select, &S::SID_AUX, static_cast<int32_t>(0x8500000f)},
    {K::Link, &S::SID_RESET, Constants::ConfirmTypeResetAutoInput, kConfirm},
};
const PageLayout kAutoInputPage = Page(0x0100154a, &S::SID_AUTO_INPUT, 4, kPreferences, kAutoInputRows, 3, 320);

const RowDef kAppMediaPlayerRows[] = {
    {K::Link, &S::SID_PHOTO, 2, kMediaSelect},
    {K::Link, &S::SID_MOVIE, 3, kMediaSelect},
    {K::Link, &S::SID_MUSIC, 1, kMediaSelect},
    {K::Link, &S::SID_MEDIA_PLAYER_SETUP, 0, MS_TARGET(KV_LATE_CLASS("MediaPlayer::MediaPlayerSetupMenu"))},
};
const PageLayout kAppMediaPlayerPage =
    Page(0x01001531, &S::SID_MEDIA_PLAYER, 4, kApplications, kAppMediaPlayerRows);

const RowDef kAutoDemoRows[] = {
    {K::Select, &S::SID_STICKER_DEMO, static_cast<int32_t>(0x83000007)},
    {K::Select, &S::SID_COUNTRY, static_cast<int32_t>(0x83000001)},
    {K::Link, &S::SID_START_DEMO},
};
const PageLayout kAutoDemoPage = Page(0x01001532, &S::SID_AUTO_DEMO, 4, kApplications, kAutoDemoRows);

const RowDef kOnTimerRows[] = {
    {K::Select, &S::SID_ENABLE_ON_TIMER, 0x3000001},
    {K::TimerSource, &S::SID_INPUT, static_cast<int32_t>(0x83000008)},
    {K::Channel, &S::SID_CHAN, static_cast<int32_t>(0x8300000a)},
    {K::Volume, &S::SID_VOLUME, static_cast<int32_t>(0x8300000b)},
    {K::Timer, &S::SID_TILL_POWER_ON, static_cast<int32_t>(0x8300000c)},
    {K::Link, &S::SID_DONE},
};
const PageLayout kOnTimerPage = Page(0x01001534, &S::SID_ON_TIMER, 4, kApplications, kOnTimerRows, 1, 240);

const RowDef kDummyRows[] = {
    {K::Link, &S::SID_NETFLIX}, {K::Link, &S::SID_VUDU},      {K::Link, &S::SID_YOUTUBE},
    {K::Link, &S::SID_SKYPE},   {K::Link, &S::SID_PANDORA},   {K::Link, &S::DUMMY_APP},
    {K::Link, &S::DUMMY_APP},   {K::Link, &S::DUMMY_APP},
};
const PageLayout kDummyPage{0x01001535, nullptr, 4, kApplications, kDummyRows, 8};

const RowDef kAdvancedSoundRows[] = {
    {K::Select, &S::SID_VOICE_ENHANCEMENT, static_cast<int32_t>(0x82000001)},
    {K::Select, &S::SID_DYNAMIC_BASS_BOOST, static_cast<int32_t>(0x82000002)},
};
const PageLayout kAdvancedSoundPage =
    Page(0x01001521, &S::SID_ADVANCED_AUDIO_SETTINGS, 4, kSound, kAdvancedSoundRows);

const RowDef kAudysseyRows[] = {{K::Select, &S::SID_AUDYSSEY_EQ, 0x2000005}};
const PageLayout kAudysseyPage = Page(0x01015211, &S::SID_AUDYSSEY_EQ, 5, kAdvancedSound, kAudysseyRows);

const RowDef kBrontelRows[] = {{K::Select, &S::SID_BRONTEL, static_cast<int32_t>(0x83000005)}};
const PageLayout kBrontelPage = Page(0x01015521, &S::SID_BRONTEL, 5,
                                   MS_TARGET(KV_LATE_CLASS("NonMenuSystem::SystemInfoDialog")), kBrontelRows);

void Unmute() {
  ::Wrapper::Wrapper* w = BaseOf();
  if (w && w->OnGetMute() != 0) w->OnSetMute(0);
}

}  // namespace

LocalTimeMenu::LocalTimeMenu() { Build(kLocalTimePage); }
HDMIInputModeMenu::HDMIInputModeMenu() { Build(kHDMIInputModePage); }
AudysseyEQMenu::AudysseyEQMenu() { Build(kAudysseyPage); }
BrontelMenu::BrontelMenu() { Build(kBrontelPage); }

// --- Setup ----------------------------------------------------------------------------

SetupMenu::SetupMenu() { Build(kSetupPage); }

void SetupMenu::RefreshGrayout() {
  ::Wrapper::Wrapper* w = BaseOf();
  const bool tuner = w && w->IsTunerSource();
  for (int32_t i : {1, 2, 3, 5}) Grey(i, !tuner);
  const bool net = NetAppActive();
  Grey(7, net);
  Grey(10, net);
  SkinBin::Wrapper* skin = SkinOf();
  const bool pin = skin && (skin->IsPinExisting() || skin->Is3DPinExisting());
  // With a PIN, reset and auto tuning ask for it first (the row's option
  // carries the PIN type to the dialog).
  R(2)->OnSetNextState(pin ? kEnterPin() : kSetupRows[2].target());
  R(10)->OnSetNextState(pin ? kEnterPin() : kConfirm());
  R(10)->OptionType = pin ? 4 : Constants::ConfirmTypeResetAll;
}

void SetupMenu::RowChanged(SubMenuItem* row) {
  if (row == R(0)) UpdateMenuLanguage(row);
  RefreshGrayout();
}

void SetupMenu::UpdateMenuLanguage(SubMenuItem* row) {
  auto* value = kv::Cast<SubMenuItemValue>(row);
  SkinBin::Wrapper* skin = SkinOf();
  if (!value || !skin) return;
  if (skin->GetMenuLanguage() != value->Value) skin->SetMenuLanguage(value->Value);
}

// --- Preferences ----------------------------------------------------------------------

PreferencesMenu::PreferencesMenu() { Build(kPreferencesPage); }

void PreferencesMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  SkinBin::Wrapper* skin = SkinOf();
  const int32_t series = skin ? skin->OnGetSeriesType() : 0;
  // Sets without 3D have no 3D setup and no streaming setup; only series 3
  // has the widget reset; the video-store deactivation is never offered.
  if (series != 2 && series != 3) {
    Drop(0);
    Drop(3);
  }
  if (series != 3) Drop(5);
  Drop(4);
  auto* media = kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper);
  if (!media || !media->IsDmrConfiged()) Drop(7);
  SettingPage::Initialize(param);
}

void PreferencesMenu::RefreshGrayout() {
  SkinBin::Wrapper* skin = SkinOf();
  const bool pin = skin && skin->IsPinExisting();
  R(10)->OnSetNextState(pin ? kEnterPin() : kChangePin());
  Grey(11, !pin);
  const bool net = NetAppActive();
  Grey(2, net);
  Grey(7, net);
  Grey(8, skin && skin->IsVuduDock());
}

// --- Applications ---------------------------------------------------------------------

ApplicationsMenu::ApplicationsMenu() { Build(kApplicationsPage); }

void ApplicationsMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  SkinBin::Wrapper* skin = SkinOf();
  Drop(2);
  if (!skin || skin->OnGetLocation() == 0) Drop(8);
  SettingPage::Initialize(param);
  // The timer carousel's sleep entry opens this page for its sleep row.
  if (PrevState && PrevState == KV_LATE_CLASS("MenuSystem::TimerMenu"))
    for (int32_t i = 0, n = RowCount(); i < n; ++i)
      if (Row(i) == R(kSleepRow)) OnSetCurrentItemIndex(i + 1);
}

void ApplicationsMenu::RefreshGrayout() {
  SkinBin::Wrapper* skin = SkinOf();
  const bool net = NetAppActive();
  Grey(5, net || !skin || skin->OnGetFavoritesList() == 0);
  Grey(4, net || !skin || skin->GetCBListsNum() == 0);
  Grey(3, net);
  Grey(8, net);
}

void ApplicationsMenu::DoActivate(kv::Object* sender) {
  if (sender == R(5)) return EnterBrowser(sender);
  if (sender == R(0) || sender == R(1)) return LaunchYahoo(sender);
  SettingPage::DoActivate(sender);
}

void ApplicationsMenu::EnterBrowser(kv::Object* sender) {
  auto* row = kv::Cast<SubMenuItem>(sender);
  if (!row || row->OnGetIsDisabled()) return;
  if (SkinBin::Wrapper* skin = SkinOf()) skin->OnSetCurrentCBList(3);
  OpenSubPage(row->OnGetNextState());
}

void ApplicationsMenu::LaunchYahoo(kv::Object* sender) {
  if (NonMenuSystem::Live::Is3DDisplay()) {
    SendMessage(Constants::MSG_CLEAR_ALL, -1);
    SendMessage(Constants::MSG_SHOW_MESSAGE, Constants::DirectMsgTypeNAInTVMode,
                KV_LATE_CLASS("NonMenuSystem::NonMenuSystem"));
    return;
  }
  NonMenuSystem::Live::LaunchYahooApp(sender == R(0) ? 0 : 1, false);
  SendMessage(Constants::MSG_CLEAR_ALL, -1);
}

// --- TV settings and captions -----------------------------------------------------------

TVSettingsMenu::TVSettingsMenu() { Build(kTVSettingsPage); }

void TVSettingsMenu::RefreshGrayout() {
  const int32_t t = SourceType();
  Grey(0, !IsRF(t));
  Grey(1, t == kTypeHDMI || t == kTypeDVI || t == kTypeVGA || t == kTypeExt);
  ::Wrapper::Wrapper* w = BaseOf();
  Grey(3, !IsRF(t) || !w || w->OnGetAntCableIn() != 0);
}

ClosedCaptionMenu::ClosedCaptionMenu() { Build(kClosedCaptionPage); }

void ClosedCaptionMenu::RefreshGrayout() {
  ::Wrapper::Wrapper* w = BaseOf();
  if (w && w->OnGetClosedCaptionState() == 2) {
    Grey(1, true);
    Grey(2, true);
    return;
  }
  const bool digital = NonMenuSystem::Live::CurrentChannelDigital();
  Grey(1, digital);
  Grey(2, !digital);
}

DigitalCCMenu::DigitalCCMenu() { Build(kDigitalCCPage); }

void DigitalCCMenu::ShowSample(bool on) {
  ::Wrapper::Wrapper* w = BaseOf();
  if (!w) return;
  w->ShowSampleCCText(false, kv::String(), 350, 50);
  if (on) w->ShowSampleCCText(true, kv::GetVariantOfString(S::CC_SAMPLE_TEXT), 350, 50);
}

void DigitalCCMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  SettingPage::Initialize(param);
  for (int32_t k = 0; k < 2; ++k) {
    auto* row = kv::Cast<SubMenuItemValue>(R(k == 0 ? kCCTextColorRow : kCCBgColorRow));
    last_[k] = row ? row->Index : 0;
  }
  ShowSample(true);
}

void DigitalCCMenu::Close() {
  ShowSample(false);
  SettingPage::Close();
}

void DigitalCCMenu::RowChanged(SubMenuItem* row) {
  auto* text = kv::Cast<SubMenuItemValueSelect>(R(kCCTextColorRow));
  auto* bg = kv::Cast<SubMenuItemValueSelect>(R(kCCBgColorRow));
  if (text && bg && (row == text || row == bg)) {
    const int32_t k = row == text ? 0 : 1;
    auto* moved = static_cast<SubMenuItemValueSelect*>(row);
    SubMenuItemValueSelect* other = row == text ? bg : text;
    const int32_t was = last_[k];
    const int32_t now = moved->Index;
    // The direction the user moved: a step to the next choice is upward, a
    // wrap from the first to the last choice downward. A wrap to the first
    // choice (Auto, which both may hold) never needs a skip.
    const bool up = now == was + 1;
    if (now != 0 && now == other->Index) moved->ToggleOption(up);
    last_[k] = moved->Index;
  }
  ShowSample(true);
}

void DigitalCCMenu::ResetSlot(kv::Object* /*sender*/) {
  if (::Wrapper::Wrapper* w = BaseOf()) w->ResetAdvanceCaptionProperty();
  LoadSettings();
  ShowSample(true);
}

// --- Preferences sub-pages --------------------------------------------------------------

CECSetupMenu::CECSetupMenu() { Build(kCECSetupPage); }

void CECSetupMenu::RefreshGrayout() {
  SkinBin::Wrapper* skin = SkinOf();
  const bool on = skin && skin->OnGetEnableKELVO() == 1;
  for (int32_t i : {1, 2, 3}) Grey(i, !on);
  if (skin && !on && skin->OnGetKELVOLinkList() != 0) skin->OnSetKELVOLinkList(0);
  RefreshSpeaker();
}

void CECSetupMenu::RefreshSpeaker() {
  SkinBin::Wrapper* skin = SkinOf();
  const bool on = skin && skin->OnGetEnableKELVO() == 1 && skin->OnGetAmplifierControl() == 1;
  Grey(4, !on);
  auto* speaker = kv::Cast<SubMenuItemValue>(R(4));
  if (on || !speaker || speaker->Value != 1) return;
  if (OptionDatabase::OptionDataClass* record = OptionRecord(speaker->OptionType)) {
    if (record->HasProperty()) kv::OnSetInt32(record->RefValue, 0);
  }
  LoadSettings();
}

NetworkSetupMenu::NetworkSetupMenu() { Build(kNetworkSetupPage); }

void NetworkSetupMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  if (WindowOpen(WinIDs::WIN_ID_NetworkMenu)) IsShortcut = true;
  SettingPage::Initialize(param);
}

void NetworkSetupMenu::RefreshGrayout() {
  SkinBin::Wrapper* skin = SkinOf();
  Grey(1, !skin || skin->OnGetNetworkType() == 0);
}

ChBrowserSetupMenu::ChBrowserSetupMenu() { Build(kChBrowserSetupPage); }

void ChBrowserSetupMenu::RefreshGrayout() {
  SkinBin::Wrapper* skin = SkinOf();
  Grey(5, !skin || skin->OnGetEnableKELVO() == 0);
}

NetflixSetupMenu::NetflixSetupMenu() { Build(kNetflixSetupPage); }

void NetflixSetupMenu::RefreshGrayout() {
  Structures::ActiveAppStatus* app = NonMenuSystem::Live::NetApp();
  bool running = false;
  if (app && (app->Kind == 3 || app->Kind == 4)) {
    std::string name = app->Name.ToUtf8();
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    running = name.find(kv::LoadString(S::NETFLIX_NAME).ToUtf8()) != std::string::npos;
  }
  Grey(1, running);
}

DisplaySettingsMenu::DisplaySettingsMenu() { Build(kDisplaySettingsPage); }

void DisplaySettingsMenu::RefreshGrayout() {
  SkinBin::Wrapper* skin = SkinOf();
  ::Wrapper::Wrapper* w = BaseOf();
  const bool autoAspect = skin && skin->OnGetAutoAspect() > 0;
  Grey(1, !autoAspect);
  if (skin && !autoAspect && skin->OnGetStretch43() != 0) {
    skin->OnSetStretch43(0);
    LoadSettings();
  }
  const int32_t t = SourceType();
  const int32_t view = w ? w->OnGetViewMode() : 0;
  Grey(2, t == kTypeVGA || t == kTypeExt || (view != 3 && view != 4) ||
              NonMenuSystem::Live::CurrentChannelDigital());
  // PC settings apply to a picture the VGA input has locked on.
  Grey(3, t != kTypeVGA);
}

AVConnectionMenu::AVConnectionMenu() { Build(kAVConnectionPage); }

void AVConnectionMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  SkinBin::Wrapper* skin = SkinOf();
  const int32_t series = skin ? skin->OnGetSeriesType() : 0;
  if (series != 1 && series != 2 && series != 3)
    for (int32_t i : {1, 2, 3}) Drop(i);
  if (series != 0)
    for (int32_t i : {4, 5}) Drop(i);
  SettingPage::Initialize(param);
}

void AVConnectionMenu::RefreshGrayout() {
  const int32_t t = SourceType();
  Grey(6, t != kTypeHDMI && t != kTypeDVI);
}

kv::Object* HiddenComboPage::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  SkinBin::Wrapper* skin = SkinOf();
  if (key && key->Down && key->Code == KEY_RESERVED_8 && skin && skin->GetKeyHeld(KEY_HELD_HIDDEN_PAGE)) {
    OpenSubPage(HiddenPage());
    return this;
  }
  return SettingPage::HandleEvent(event);
}

HDMISettingsMenu::HDMISettingsMenu() { Build(kHDMISettingsPage); }
const kv::Class* HDMISettingsMenu::HiddenPage() { return &HDMIInputModeMenu::StaticClass(); }

AdvancedSoundSettingsMenu::AdvancedSoundSettingsMenu() { Build(kAdvancedSoundPage); }
const kv::Class* AdvancedSoundSettingsMenu::HiddenPage() { return &AudysseyEQMenu::StaticClass(); }
void AdvancedSoundSettingsMenu::RowChanged(SubMenuItem* /*row*/) { Unmute(); }

EnergySavingSettingsMenu::EnergySavingSettingsMenu() { Build(kEnergySavingPage); }

void EnergySavingSettingsMenu::RefreshGrayout() {
  SkinBin::Wrapper* skin = SkinOf();
  Grey(0, skin && skin->OnGetLocation() != 0);
}

// --- No-signal power down -------------------------------------------------------------

NoSignalPowerDownMenu::NoSignalPowerDownMenu() { Build(kNoSignalPage); }

void NoSignalPowerDownMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  // The rows exist before the base opening, which sizes the page to them.
  SkinBin::Wrapper* skin = SkinOf();
  const int32_t n = skin ? skin->GetValidSourceNum() : 0;
  for (int32_t index = 0; index < n; ++index) {
    auto* row = kv::New<SubMenuItemValueSelect>();
    AddRow(row, nullptr, kNoSignalOption);
    row->OnSetText(skin->GetSourceName(skin->GetSourceId(index)));
    row->Param1 = index;
    row->OnValueChanged = kv::MakeSlot(static_cast<SettingPage*>(this), &SettingPage::RowChangedSlot);
  }
  ItemsNum = RowCount();
  SettingPage::Initialize(param);
}

void NoSignalPowerDownMenu::LoadSettings() {
  SettingPage::LoadSettings();
  SkinBin::Wrapper* skin = SkinOf();
  const int32_t mask = skin ? skin->OnGetNoSignalPowerDown() : 0;
  for (int32_t i = 0, n = RowCount(); i < n; ++i) {
    auto* row = kv::Cast<SubMenuItemValueSelect>(Row(i));
    if (!row) continue;
    const int32_t source = skin ? skin->GetSourceId(row->Param1) : -1;
    const int32_t on = source >= 0 && source < 32 ? (mask >> source) & 1 : 0;
    if (row->ChoiceNum < 2) row->ChoiceNum = 2;
    // The option is one Off/On choice shared by every row: each row shows
    // its own source's bit of the mask.
    row->ShowIndex(on);
  }
}

int32_t NoSignalPowerDownMenu::NoSignalMask(int32_t mask, int32_t source, bool on) {
  // Only sources 0 to 31 have a bit in the mask.
  if (source < 0 || source > 31) {
    Core::LogError("MenuSystem: no-signal power down for source %i ignored", {source});
    return mask;
  }
  const uint32_t bit = 1u << source;
  return static_cast<int32_t>(on ? (static_cast<uint32_t>(mask) | bit) : (static_cast<uint32_t>(mask) & ~bit));
}

void NoSignalPowerDownMenu::RowChanged(SubMenuItem* row) { ChangeNoSignal(row); }

void NoSignalPowerDownMenu::ChangeNoSignal(SubMenuItem* item) {
  auto* row = kv::Cast<SubMenuItemValueSelect>(item);
  SkinBin::Wrapper* skin = SkinOf();
  if (!row || !skin) return;
  const int32_t source = skin->GetSourceId(row->Param1);
  const int32_t mask = skin->OnGetNoSignalPowerDown();
  const int32_t next = NoSignalMask(mask, source, row->Index != 0);
  if (next == mask) return;
  skin->OnSetNoSignalPowerDown(next);
}

// --- Locks, auto input, media player, demo ------------------------------------------------

ParentalLocksMenu::ParentalLocksMenu() { Build(kParentalLocksPage); }

void ParentalLocksMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  if (WindowOpen(WinIDs::WIN_ID_TimerMenu)) IsShortcut = true;
  SettingPage::Initialize(param);
}

AutoInputMenu::AutoInputMenu() { Build(kAutoInputPage); }

void AutoInputMenu::RefreshGrayout() {
  SkinBin::Wrapper* skin = SkinOf();
  const bool on = skin && skin->OnGetEnableAutoInput() != 0;
  for (int32_t i : {1, 2, 3, 4, 5}) Grey(i, !on);
}

AppMediaPlayerMenu::AppMediaPlayerMenu() { Build(kAppMediaPlayerPage); }

void AppMediaPlayerMenu::Open() {
  SettingPage::Open();
  auto* media = kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper);
  const int32_t n = media ? media->GetMediumCount() + media->GetRegisteredServerCount() : 0;
  for (int32_t i : {0, 1, 2}) Grey(i, n < 1);
}

AutoDemoMenu::AutoDemoMenu() { Build(kAutoDemoPage); }

void AutoDemoMenu::RefreshGrayout() {
  SkinBin::Wrapper* skin = SkinOf();
  Grey(2, !skin || skin->OnGetStickerDemo() == 0);
}

void AutoDemoMenu::DoActivate(kv::Object* sender) {
  if (sender == R(2)) return StartDemoSlot(sender);
  SettingPage::DoActivate(sender);
}

void AutoDemoMenu::StartDemoSlot(kv::Object* sender) {
  auto* row = kv::Cast<SubMenuItem>(sender);
  if (row && row->OnGetIsDisabled()) return;
  if (SkinBin::Wrapper* skin = SkinOf()) skin->OnSetStartDemo(1);
  SendMessage(Constants::MSG_CLEAR_ALL, -1);
}

// --- On timer -------------------------------------------------------------------------

OnTimerMenu::OnTimerMenu() { Build(kOnTimerPage); }

void OnTimerMenu::RefreshGrayout() {
  ::Wrapper::Wrapper* w = BaseOf();
  const bool off = !w || w->OnGetEnableTimer() == 0;
  Grey(1, off);
  Grey(3, off);
  Grey(4, off);
  Grey(2, off || (w && w->OnGetTimerSource() != 0));
}

void OnTimerMenu::DoActivate(kv::Object* sender) {
  if (sender == R(5)) return SetTimerData(sender);
  SettingPage::DoActivate(sender);
}

void OnTimerMenu::SetTimerData(kv::Object* /*sender*/) {
  SkinBin::Wrapper* skin = SkinOf();
  ::Wrapper::Wrapper* w = BaseOf();
  if (skin && w) {
    if (auto* time = kv::Cast<SubMenuItemValue>(R(4))) skin->OnSetOnTimerTime(time->Value);
    if (w->OnGetEnableTimer() == 0) skin->CancelOnTimer(false);
    // The set's on-timer record, every day of the week, no duration.
    const int32_t id = w->OnGetActiveTimerId();
    Structures::TimerData* timer = w->GetTimer(id);
    if (!timer) {
      timer = kv::New<Structures::TimerData>();
      timer->Id = id;
      timer->Enable = w->OnGetEnableTimer() != 0 ? 1 : 0;
      // No record yet (a new set): the rows' choices had nothing to write
      // into, so the new record takes them here.
      timer->Source = w->OnGetTimerSource();
      const int32_t channel = w->OnGetTimerChannel();
      timer->ChannelMajor = ::Wrapper::Wrapper::SplitChannelNum(channel, true);
      timer->ChannelMinor = ::Wrapper::Wrapper::SplitChannelNum(channel, false);
      timer->MapId = w->OnGetTimerMapId();
    }
    timer->DaysOfWeek = ::Wrapper::Wrapper::GetDaysOfWeek(true, true, true, true, true, true, true);
    timer->Duration = 0;
    w->SetTimer(timer);
  }
  auto* back = kv::New<Core::KeyEvent>();
  back->Initialize(KEY_BACK, 1);
  HandleEvent(back);
}

// --- Applications launched from the more-applications page ------------------------------

DummyMenu::DummyMenu() { Build(kDummyPage); }

void DummyMenu::DoActivate(kv::Object* sender) { DoActivateChannels(sender); }

void DummyMenu::DoActivateChannels(kv::Object* sender) {
  static constexpr int32_t kFlashKinds[] = {1, 9, 10, 7, 8, 6, 5};
  for (int32_t i = 0; i < 8; ++i) {
    if (sender != R(i)) continue;
    if (i < 7)
      NonMenuSystem::Live::LaunchFlashApp(kFlashKinds[i], false);
    else if (SkinBin::Wrapper* skin = SkinOf())
      skin->LaunchVuduDock(true, false);
    SendMessage(Constants::MSG_CLEAR_ALL, -1);
    return;
  }
}

}  // namespace MenuSystem
