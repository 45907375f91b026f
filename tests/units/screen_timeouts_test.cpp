// Every screen a state change opens (the registered screen classes, as the
// scenes' "state" lines open them), each on a new set, left alone: the
// screens that close by themselves close when their time-out is up and not
// before; the others stay.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "host/script_state.h"
#include "runtime/object.h"
#include "screen_list.h"
#include "units/Primitives/KeyRoutingForm.h"

namespace {

class ScreenTimeOutsTest : public apptest::AppTest {
 protected:
  bool IsOpen(const std::string& cls) {
    for (const apptest::OpenScreen& s : Screens())
      if (s.cls == cls && s.visible) return true;
    return false;
  }
};

// Every class a "state" line opens: a key-routing form that names the
// sub-system that opens it.
std::vector<std::string> ScreenClasses() {
  std::vector<std::string> out;
  for (const kv::Class* cls : kv::AllClasses()) {
    if (!cls->factory || !cls->Is(&Primitives::KeyRoutingForm::StaticClass())) continue;
    auto* form = kv::Cast<Primitives::KeyRoutingForm>(kv::NewObjectIndirect(cls));
    if (form && form->SubSystemClass) out.push_back(cls->name);
  }
  return out;
}

// When each screen that closes by itself closes, opened on a new set and
// left alone (ms after it opened, to the half second): the time-outs the
// screens are built with (6 s for bars and banners, 15 s for captioned
// dialogs, 60 s for menu pages, 2 s for the volume bar ...), or the end of
// what they wait for (a scan that finds nothing on a new set, a connection
// test that fails). Every screen a state change opens that is not listed
// must stay.
const std::map<std::string, int64_t> kClosesAfter = {
    {"Channels::AutoTuningCompleteDialog", 15000},
    {"Channels::AutoTuningConfirmDialog", 15000},
    {"Channels::AutoTuningDialog", 2500},
    {"Channels::AutoTuningErrorDialog", 15000},
    {"Channels::ChannelLockDialog", 15000},
    {"Channels::ChannelOptionDialog", 15000},
    {"Channels::ChannelsDialogClass", 15000},
    {"Channels::FullEPGDialog", 60000},
    {"Channels::FullEPGScanConfirmDialog", 15000},
    {"Channels::FullEPGScanDialog", 2500},
    {"Channels::FullEPGScanErrorDialog", 15000},
    {"Channels::ManualTuningDialog", 15000},
    {"Channels::MiniGuideDialog", 15000},
    {"MediaPlayer::DmsDeviceInfo", 60000},
    {"MediaPlayer::MediaControllerSetupMenu", 60000},
    {"MediaPlayer::MediaPlayerOpenConfirmDialog", 60000},
    {"MediaPlayer::MediaPlayerSetupMenu", 60000},
    {"MediaPlayer::MediaRenderSetupMenu", 60000},
    {"MediaPlayer::PreviewMenuTemplate", 60000},
    {"MediaPlayer::USBMediaPlayerMenu", 60000},
    {"MenuSystem::AVConnectionMenu", 60000},
    {"MenuSystem::AdvancedPictureMenu", 60000},
    {"MenuSystem::AdvancedSoundSettingsMenu", 60000},
    {"MenuSystem::AppMediaPlayerMenu", 60000},
    {"MenuSystem::ApplicationsMenu", 60000},
    {"MenuSystem::AudysseyEQMenu", 60000},
    {"MenuSystem::AutoBrightnessSensorMenu", 60000},
    {"MenuSystem::AutoDemoMenu", 60000},
    {"MenuSystem::AutoInputMenu", 60000},
    {"MenuSystem::BaseColorAdjustmentMenu", 60000},
    {"MenuSystem::BrontelMenu", 60000},
    {"MenuSystem::CECSetupMenu", 60000},
    {"MenuSystem::ChBrowserSetupMenu", 60000},
    {"MenuSystem::ChangePinMenu", 60000},
    {"MenuSystem::ClosedCaptionMenu", 60000},
    {"MenuSystem::ColorSensorSettingsMenu", 60000},
    {"MenuSystem::DigitalCCMenu", 60000},
    {"MenuSystem::DisplaySettingsMenu", 60000},
    {"MenuSystem::DummyMenu", 60000},
    {"MenuSystem::EnergySavingSettingsMenu", 60000},
    {"MenuSystem::EnterPinMenu", 60000},
    {"MenuSystem::ExpertPictureMenu", 60000},
    {"MenuSystem::FinexaMenu", 60000},
    {"MenuSystem::HDMIInputModeMenu", 60000},
    {"MenuSystem::HDMISettingsMenu", 60000},
    {"MenuSystem::HiddenComboPage", 60000},
    {"MenuSystem::LocalTimeMenu", 60000},
    {"MenuSystem::MainMenu", 60000},
    {"MenuSystem::MediaPlayerMenu", 60000},
    {"MenuSystem::NetflixSetupMenu", 60000},
    {"MenuSystem::NetworkMenu", 60000},
    {"MenuSystem::NetworkSetupMenu", 60000},
    {"MenuSystem::NoSignalPowerDownMenu", 60000},
    {"MenuSystem::NoiseReductionMenu", 60000},
    {"MenuSystem::OnTimerMenu", 60000},
    {"MenuSystem::PCSettingsMenu", 60000},
    {"MenuSystem::PINSettingMenu", 60000},
    {"MenuSystem::ParentalLocksMenu", 60000},
    {"MenuSystem::PictureMenu", 60000},
    {"MenuSystem::PicturePositionMenu", 60000},
    {"MenuSystem::PreferencesMenu", 60000},
    {"MenuSystem::RGBFilterMenu", 60000},
    {"MenuSystem::SecondaryMenu", 60000},
    {"MenuSystem::SettingPage", 60000},
    {"MenuSystem::SettingsMenu", 60000},
    {"MenuSystem::SetupMenu", 60000},
    {"MenuSystem::SoundMenu", 60000},
    {"MenuSystem::TVSettingsMenu", 60000},
    {"MenuSystem::ThirdMenu", 60000},
    {"MenuSystem::TimerMenu", 60000},
    {"MenuSystem::VidiAdvancedSettingsMenu", 60000},
    {"MenuSystem::VidiAudioMenu", 60000},
    {"MenuSystem::VidiCCMenu", 60000},
    {"MenuSystem::VidiCECMenu", 60000},
    {"MenuSystem::VidiChannelsMenu", 60000},
    {"MenuSystem::VidiDTVCCStyleMenu", 60000},
    {"MenuSystem::VidiDateTimeMenu", 60000},
    {"MenuSystem::VidiInputMenu", 60000},
    {"MenuSystem::VidiLocksMenu", 60000},
    {"MenuSystem::VidiMainMenu", 60000},
    {"MenuSystem::VidiMediaMenu", 60000},
    {"MenuSystem::VidiNetworkingMenu", 60000},
    {"MenuSystem::VidiOptionMenu", 60000},
    {"MenuSystem::VidiPIPMenu", 60000},
    {"MenuSystem::VidiPictureMenu", 60000},
    {"MenuSystem::VidiPictureSettingsMenu", 60000},
    {"MenuSystem::VidiRatingsLocksMenu", 60000},
    {"MenuSystem::VidiRecordMenu", 60000},
    {"MenuSystem::VidiScaleWindowMenu", 60000},
    {"MenuSystem::VidiScheduleRecordMenu", 60000},
    {"MenuSystem::VidiSettingsMenu", 60000},
    {"MenuSystem::VidiSubMenu", 60000},
    {"MenuSystem::VidiTrebleBassMenu", 60000},
    {"MenuSystem::VidiWPSPinMenu", 60000},
    {"MenuSystem::VidiWirelessSetup", 60000},
    {"MenuSystem::WhiteBalance10PMenu", 60000},
    {"MenuSystem::WhiteBalance2PMenu", 60000},
    {"MenuSystem::WhiteBalanceMenu", 60000},
    {"Network::AddressSetupPage", 60000},
    {"Network::AdvancedNetworkSetupMenu", 60000},
    {"Network::AssistedSetupInvalidName", 60000},
    {"Network::AssistedSetupInvalidWEPKey", 60000},
    {"Network::AssistedSetupInvalidWPAKey", 60000},
    {"Network::AssistedSetupNoApFound", 60000},
    {"Network::AssistedSetupSecureError", 60000},
    {"Network::AssistedSetup_ApConnected", 60000},
    {"Network::AssistedSetup_ApInfo", 60000},
    {"Network::AssistedSetup_ApList", 62000},
    {"Network::CancelDialog", 60000},
    {"Network::CheckNoEncryption", 60000},
    {"Network::ConnectionTestDialog", 7500},
    {"Network::DNSSetupMenu", 60000},
    {"Network::ESNDialog", 6000},
    {"Network::EasySetupMenu", 60000},
    {"Network::EasySetupPIN_ApList", 62000},
    {"Network::EasySetup_ApInfo", 60000},
    {"Network::EasySetup_PINApInfo", 60000},
    {"Network::IPAddressSetupMenu", 60000},
    {"Network::IPConfigDialog", 15000},
    {"Network::KXDNetworkWidgetClass", 15000},
    {"Network::MACAddressMenu", 60000},
    {"Network::ManualSetup_ApConnected", 60000},
    {"Network::ManualSetup_ApInfo", 60000},
    {"Network::NetworkConfirmDialog", 15000},
    {"Network::NetworkConnectionTest", 3500},
    {"Network::NetworkSetupDialog", 15000},
    {"Network::NetworkStatusDialog", 96000},
    {"Network::NetworkTestFail", 4000},
    {"Network::NetworkTestSuccess", 4000},
    {"Network::PinEnterDialog", 15000},
    {"Network::TestOperationDialog", 15000},
    {"Network::ValuePage", 60000},
    {"Network::WPSGeneratePinDialog", 15000},
    {"Network::WPSPBCDialog", 15000},
    {"Network::WirelessAdvancedDialog", 15000},
    {"Network::WirelessInformationMenu", 60000},
    {"Network::WirelessInformation_ApList", 62000},
    {"Network::WirelessScanDialog", 62000},
    {"Network::WirelessSetupMenu", 60000},
    {"Network::YesNoState", 60000},
    {"NonMenuSystem::AdjustmentBar", 6000},
    {"NonMenuSystem::AdjustmentBarKXD", 15000},
    {"NonMenuSystem::AdjustmentBarTint", 6000},
    {"NonMenuSystem::AmplifierMuteBar", 2000},
    {"NonMenuSystem::AmplifierVolumeBar", 2000},
    {"NonMenuSystem::BacklightAdjustmentProDialog", 6000},
    {"NonMenuSystem::BaseColorAdjustmentBar", 6000},
    {"NonMenuSystem::BorderWidgetClass", 6000},
    {"NonMenuSystem::CecInputDialog", 6000},
    {"NonMenuSystem::ChBrowserDialog", 15000},
    {"NonMenuSystem::ChangePinDialog", 6000},
    {"NonMenuSystem::ChannelEntry", 6000},
    {"NonMenuSystem::ColorPad", 15000},
    {"NonMenuSystem::CommonMuteBar", 2000},
    {"NonMenuSystem::CommonVolumeBar", 2000},
    {"NonMenuSystem::ConfirmMultiOptionDialog", 15000},
    {"NonMenuSystem::ConfirmOneOptionDialog", 15000},
    {"NonMenuSystem::ConfirmOptionDialog", 15000},
    {"NonMenuSystem::DateSettingDialog", 15000},
    {"NonMenuSystem::DateTimeDialog", 15000},
    {"NonMenuSystem::DirectMessageBar", 6000},
    {"NonMenuSystem::EditorBase", 15000},
    {"NonMenuSystem::EnterPinDialog", 15000},
    {"NonMenuSystem::ExternalInputDialog", 15000},
    {"NonMenuSystem::InfoBanner", 6000},
    {"NonMenuSystem::InputLabelingDialog", 15000},
    {"NonMenuSystem::KXDSystemInfoDialog", 15000},
    {"NonMenuSystem::KXDWidgetClass", 15000},
    {"NonMenuSystem::KeyPad", 6000},
    {"NonMenuSystem::NoSliderAdjustmentBar", 6000},
    {"NonMenuSystem::OptionDialog", 15000},
    {"NonMenuSystem::OptionDialogWithCaption", 15000},
    {"NonMenuSystem::PictureSizeDialog", 15000},
    {"NonMenuSystem::SleepTimerDialog", 15000},
    {"NonMenuSystem::SoftwareLicencesDialog", 6000},
    {"NonMenuSystem::SystemInfoDialog", 6000},
    {"NonMenuSystem::TimeSettingDialog", 15000},
    {"NonMenuSystem::ToggleOptionOverlay", 6000},
    {"NonMenuSystem::VolumeMuteBar", 2000},
    {"NonMenuSystem::WidgetClass", 6000},
    {"ParentalLocks::CANEnglishRatingsDialog", 15000},
    {"ParentalLocks::CANFrenchRatingsDialog", 15000},
    {"ParentalLocks::CANRatingsDialog", 15000},
    {"ParentalLocks::RRTDimensionDialog", 15000},
    {"ParentalLocks::RRTLevelDialog", 15000},
    {"ParentalLocks::USMovieRatingsDialog", 15000},
    {"ParentalLocks::USTVRatingsDialog", 15000},
    {"QuickMenu::AudioMenu", 15000},
    {"QuickMenu::BgMusicMenu", 15000},
    {"QuickMenu::MediaEventPage", 15000},
    {"QuickMenu::PictureMenu", 15000},
    {"QuickMenu::PlayerControlMenu", 6000},
    {"QuickMenu::Quick3DSettings", 6000},
    {"QuickMenu::QuickMenu", 15000},
    {"QuickMenu::QuickMenuClass", 15000},
    {"QuickMenu::QuickPage", 15000},
    {"QuickMenu::ScaleWindowMenu", 15000},
    {"Record::RecordConfirmDialog", 15000},
    {"Record::RecordOptionsDialog", 15000},
    {"Record::RecordStatusDialog", 15000},
    {"Record::RecordTimerDialog", 15000},
    {"Record::RecordedShowsDialog", 60000},
    {"Record::ScheduledRecordDialog", 60000},
    {"Record::TimerDurationDialog", 15000},
    {"Record::TimeshiftStatusDialog", 60000},
    {"Record::USBDiskErrorDialog", 15000},
    {"Record::USBDiskFormatDialog", 15000},
    {"Record::USBDiskStatusDialog", 15000},
    {"Record::USBSpeedCheckDialog", 15000},
    {"ThreeD::DisplayMode", 6000},
    {"ThreeD::Select2DFormat", 8000},
    {"ThreeD::SelectFormat", 8000},
    {"ThreeD::SelectMode", 6000},
    {"ThreeD::SelectMode_Button", 6000},
    {"ThreeD::SelectMode_Flag", 6000},
    {"ThreeD::StartMessage", 20000},
    {"ThreeD::ThreeDMenu", 60000},
    {"ThreeD::ThreeDPinMenu", 60000},
    {"ThreeD::ThreeDSafetyMenu", 60000},
    {"Update::CheckingMessage", 3000},
    {"Update::UpdatingDialog", 120000},
};

TEST_F(ScreenTimeOutsTest, EveryScreenClosesByItselfWhenItsTimeOutIsUpAndNotBefore) {
  int32_t opened = 0;
  // Each screen opens with the first value its scenes give it (a screen that
  // takes only some values refuses 0).
  const std::map<std::string, std::set<int64_t>> values = kvtest::ValuesOfTheScenes();
  for (const std::string& cls : ScreenClasses()) {
    if (!std::isupper(static_cast<unsigned char>(cls[0]))) continue;  // the tests' own screens
    SCOPED_TRACE(cls);
    StartAfresh();
    host::KeyScript::Step step;
    const auto given = values.find(cls);
    const int64_t value = given != values.end() ? *given->second.begin() : 0;
    ASSERT_TRUE(host::ParseScreenStep("state", cls + " " + std::to_string(value), &step));
    host::RunScreenStep(step);
    Settle();
    if (!IsOpen(cls)) continue;  // needs more than a new set to open (factory mode, a stick, the setup)
    ++opened;
    const auto it = kClosesAfter.find(cls);
    if (it == kClosesAfter.end()) {
      Run(130000);
      EXPECT_TRUE(IsOpen(cls)) << "closed by itself, but no time-out is listed for it";
      continue;
    }
    Run(it->second - 500);
    EXPECT_TRUE(IsOpen(cls)) << "closed before " << it->second - 500 << " ms";
    Run(500);
    EXPECT_FALSE(IsOpen(cls)) << "still open " << it->second << " ms on";
  }
  EXPECT_GE(opened, static_cast<int32_t>(kClosesAfter.size()));
}

}  // namespace
