#include "units/MenuSystem/LiveMenuPages.h"

#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "strings/Channels.h"
#include "strings/MenuSystem.h"
#include "strings/SkinBin.h"
#include "strings/Strings.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/ConfirmTypes.h"
#include "units/Constants/Constants.h"
#include "units/Constants/MessageTypes.h"
#include "units/Structures/Message.h"
#include "units/ListForm/ListContext.h"
#include "units/Media/MediaWrapper.h"
#include "units/MenuSystem/MenuSystem.h"
#include "units/MenuSystem/OptionPopup.h"
#include "units/MenuSystem/PinMenus.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/OptionDatabase/OptionTypes.h"
#include "units/PersistentData/PersistentData.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/RatingData.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/ChannelData.h"

KV_REGISTER_CLASS(MenuSystem::VidiPictureMenu);
KV_REGISTER_CLASS(MenuSystem::VidiPictureSettingsMenu);
KV_REGISTER_CLASS(MenuSystem::VidiAdvancedSettingsMenu);
KV_REGISTER_CLASS(MenuSystem::VidiAudioMenu);
KV_REGISTER_CLASS(MenuSystem::VidiTrebleBassMenu);
KV_REGISTER_CLASS(MenuSystem::VidiChannelsMenu);
KV_REGISTER_CLASS(MenuSystem::VidiSettingsMenu);
KV_REGISTER_CLASS(MenuSystem::VidiScaleWindowMenu);
KV_REGISTER_CLASS(MenuSystem::VidiCCMenu);
KV_REGISTER_CLASS(MenuSystem::VidiDTVCCStyleMenu);
KV_REGISTER_CLASS(MenuSystem::VidiPIPMenu);
KV_REGISTER_CLASS(MenuSystem::VidiDateTimeMenu);
KV_REGISTER_CLASS(MenuSystem::VidiNetworkingMenu);
KV_REGISTER_CLASS(MenuSystem::VidiWirelessSetup);
KV_REGISTER_CLASS(MenuSystem::VidiWPSPinMenu);
KV_REGISTER_CLASS(MenuSystem::VidiInputMenu);
KV_REGISTER_CLASS(MenuSystem::VidiCECMenu);
KV_REGISTER_CLASS(MenuSystem::VidiLocksMenu);
KV_REGISTER_CLASS(MenuSystem::VidiRatingsLocksMenu);
KV_REGISTER_CLASS(MenuSystem::VidiRecordMenu);
KV_REGISTER_CLASS(MenuSystem::VidiScheduleRecordMenu);
KV_REGISTER_CLASS(MenuSystem::VidiMediaMenu);

namespace MenuSystem {

using namespace OptionDatabase;
using namespace SkinBin;

namespace {

constexpr int32_t kSourceRfTuner = 1;
constexpr int32_t kSourceRfDigital = 12;
// Parameters handed to the screens outside the menu.
constexpr int32_t kEnterPinAutoTuning = 3;
constexpr int32_t kEnterPinResetAll = 4;
constexpr int32_t kEnterPinUSBDiskFormat = 12;
constexpr int32_t kMediaVideo = 3;
constexpr int32_t kMediaMusic = 1;
constexpr int32_t kMediaPhoto = 2;
constexpr int32_t kChannelListFavourites = 3;

enum class Kind { Page, Popup, SliderBar, InlineSlider, Dialog, Inert };

SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper)); }

bool IsTVSource() {
  SkinBin::Wrapper* w = Skin();
  if (!w) return false;
  const int32_t type = w->GetSourceType(w->GetCurrentSource(0));
  return type == kSourceRfTuner || type == kSourceRfDigital;
}

// Gives an item the flags of its kind.
VidiSubMenuItem* Kinded(VidiSubMenuItem* item, Kind kind) {
  switch (kind) {
    case Kind::Popup:
      item->OnSetIsItemValue(true);
      item->NextState = &VidiOptionMenu::StaticClass();
      break;
    case Kind::SliderBar:
      item->OnSetIsSlider(true);
      item->NeedHideMenu = true;
      item->NextState = KV_LATE_CLASS("NonMenuSystem::AdjustmentBarKXD");
      break;
    case Kind::InlineSlider:
      item->OnSetIsSlider(true);
      item->OnSetIsSelect(true);
      item->NextState = nullptr;
      break;
    case Kind::Dialog:
      item->NeedHideMenu = true;
      break;
    case Kind::Page:
    case Kind::Inert:
      break;
  }
  return item;
}

VidiSubMenuItem* Row(VidiSubMenu* page, const kv::MultiTextId* caption, Kind kind, int32_t option,
                     const kv::Class* target = nullptr) {
  VidiSubMenuItem* item = page->AddItem(caption, target, option);
  return Kinded(item, kind);
}

VidiSubMenuItem* Dialog(VidiSubMenu* page, const kv::MultiTextId* caption, const char* target, int32_t param = 0) {
  return Row(page, caption, Kind::Dialog, param, kv::FindClass(target));
}

void Setup(VidiSubMenu* page, int32_t level, const kv::Class* back) {
  page->MenuLevel = level;
  page->PrevState = back;
}

}  // namespace

// --- Picture ---------------------------------------------------------------------------

VidiPictureMenu::VidiPictureMenu() {
  Setup(this, 2, &VidiMainMenu::StaticClass());
  Row(this, &Strings::PictureMenuPictureSettings, Kind::Page, 0, &VidiPictureSettingsMenu::StaticClass());
  Row(this, &Strings::PictureMenuAdvancedSettings, Kind::Page, 0, &VidiAdvancedSettingsMenu::StaticClass());
  Row(this, &Strings::SID_AUTO_ASPECT, Kind::Popup, OPTION_TYPE_AUTO_ASPECT);
  Row(this, &Strings::PictureMenuViewMode, Kind::Popup, OPTION_TYPE_PICTURE_SIZE);
  Dialog(this, &Strings::PictureMenuResetPicture, "NonMenuSystem::ConfirmMultiOptionDialog",
         Constants::ConfirmTypeResetAllPictureSettings);
  SetTitle(&Strings::MainMenuPicture);
}

VidiPictureSettingsMenu::VidiPictureSettingsMenu() {
  Setup(this, 3, &VidiPictureMenu::StaticClass());
  Row(this, &Strings::PictureSettingBrightness, Kind::SliderBar, OPTION_TYPE_BRIGHTNESS);
  Row(this, &Strings::PictureSettingContrast, Kind::SliderBar, OPTION_TYPE_CONTRAST);
  Row(this, &Strings::PictureSettingSaturation, Kind::SliderBar, OPTION_TYPE_COLOR);
  Row(this, &Strings::PictureSettingHue, Kind::SliderBar, OPTION_TYPE_TINT);
  Row(this, &Strings::PictureSettingSharpness, Kind::SliderBar, OPTION_TYPE_SHARPNESS);
  Row(this, &Strings::PictureSettingPreset, Kind::Popup, OPTION_TYPE_PICTURE_MODE);
  Row(this, &Strings::PictureSettingColorTemperature, Kind::SliderBar, OPTION_TYPE_COLOR_TEMPERATURE);
  SetTitle(&Strings::MainMenuPicture, &Strings::PictureMenuPictureSettings);
}

VidiAdvancedSettingsMenu::VidiAdvancedSettingsMenu() {
  Setup(this, 3, &VidiPictureMenu::StaticClass());
  Row(this, &Strings::PictureMenuDynamicContrast, Kind::SliderBar, OPTION_TYPE_DYNAMIC_CONTRAST);
  SetTitle(&Strings::MainMenuPicture, &Strings::PictureMenuAdvancedSettings);
}

// --- Audio -----------------------------------------------------------------------------

VidiAudioMenu::VidiAudioMenu() {
  Setup(this, 2, &VidiMainMenu::StaticClass());
  Row(this, &Strings::AudioMenuBassTreble, Kind::Page, 0, &VidiTrebleBassMenu::StaticClass());
  Row(this, &Strings::AudioMenuEqualizer, Kind::Popup, OPTION_TYPE_EQUALIZER);
  Row(this, &Strings::AudioMenuOpticalOut, Kind::Popup, OPTION_TYPE_SPDIF_FORMAT);
  Row(this, &Strings::AudioMenuAnalogPreference, Kind::Popup, OPTION_TYPE_MTS);
  Row(this, &Strings::AudioMenuDigitalPreference, Kind::Popup, OPTION_TYPE_DIGITAL_PREFERENCE);
  Row(this, &Strings::Balance, Kind::InlineSlider, OPTION_TYPE_BALANCE)->OnResetTimeout =
      kv::MakeSlot(static_cast<Primitives::KeyRoutingForm*>(this), &Primitives::KeyRoutingForm::ResetTimeout);
  Dialog(this, &Strings::AudioMenuResetAudio, "NonMenuSystem::ConfirmMultiOptionDialog",
         Constants::ConfirmTypeResetAudio);
  SetTitle(&Strings::SID_AUDIO);
}

void VidiAudioMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  // The digital preference on a TV channel that is digital, else the analog one.
  bool digital = false;
  if (IsTVSource())
    if (Structures::ChannelData* ch = Skin()->GetCurrentChannelInfo()) digital = ch->IsDigital != 0;
  RemoveItem(Item(digital ? 3 : 4));
  VidiSubMenu::Initialize(param);
}

void VidiAudioMenu::LoadSettings() {
  struct Effect {
    const kv::MultiTextId* caption1;
    int32_t option1;
    const kv::MultiTextId* caption2;
    int32_t option2;
  };
  static const Effect kEffects[] = {
      {&Strings::AudioMenuDynamicVolume, OPTION_TYPE_DYNAMIC_VOLUME, &Strings::AudioMenuAEQ, OPTION_TYPE_AUDYSSEY_EQ},
      {&Strings::AudioMenuLevelSet, OPTION_TYPE_SRS_TRUVOLUME, &Strings::AdvancedAudioTruSurround,
       OPTION_TYPE_SRS_TRUSURROUND},
      {&Strings::AudioMenuSSTruVolume, OPTION_TYPE_SS_TRUVOLUME, &Strings::AudioMenuSSTruSurround,
       OPTION_TYPE_SS_TRUSURROUND},
  };
  const int32_t effect = Skin() ? Skin()->OnGetAudioEffect() : 0;
  VidiSubMenuItem* first = Item(0);
  VidiSubMenuItem* second = Item(1);
  if (first && second) {
    if (effect >= 1 && effect <= 3) {
      const Effect& e = kEffects[effect - 1];
      first->SetCaptionId(e.caption1);
      Kinded(first, Kind::Popup)->OptionType = e.option1;
      second->SetCaptionId(e.caption2);
      second->OptionType = e.option2;
    } else {
      first->SetCaptionId(&Strings::AudioMenuBassTreble);
      first->OnSetIsItemValue(false);
      first->NextState = &VidiTrebleBassMenu::StaticClass();
      first->OptionType = 0;
      second->SetCaptionId(&Strings::AudioMenuEqualizer);
      second->OptionType = OPTION_TYPE_EQUALIZER;
    }
  }
  VidiSubMenu::LoadSettings();
}

VidiTrebleBassMenu::VidiTrebleBassMenu() {
  Setup(this, 3, &VidiAudioMenu::StaticClass());
  const kv::Slot reset =
      kv::MakeSlot(static_cast<Primitives::KeyRoutingForm*>(this), &Primitives::KeyRoutingForm::ResetTimeout);
  Row(this, &Strings::SID_TREBLE, Kind::InlineSlider, OPTION_TYPE_TREBLE)->OnResetTimeout = reset;
  Row(this, &Strings::SID_BASS, Kind::InlineSlider, OPTION_TYPE_BASS)->OnResetTimeout = reset;
  SetTitle(&Strings::SID_AUDIO, &Strings::AudioMenuBassTreble);
}

// --- Channels --------------------------------------------------------------------------

VidiChannelsMenu::VidiChannelsMenu() {
  Setup(this, 2, &VidiMainMenu::StaticClass());
  NeedAdjustCurrentItemIndex = true;
  Dialog(this, &Strings::ChannelsMenuMasterList, "Channels::ChannelOptionDialog");
  Dialog(this, &Strings::ChannelsMenuFavorites, "NonMenuSystem::ChBrowserDialog");
  Row(this, &Strings::SID_TUNER, Kind::Popup, OPTION_TYPE_ANT_CABLE_IN);
  Dialog(this, &Strings::ChannelsMenuScanChannels, "Channels::AutoTuningConfirmDialog", kEnterPinAutoTuning);
  Dialog(this, &Strings::ChannelsMenuFindChannel, "Channels::ManualTuningDialog");
  // After the rows above, so that their indexes keep their meaning.
  Dialog(this, &::Channels::GUIDE_SCAN_ROW, "Channels::FullEPGScanConfirmDialog");
  SetTitle(&Strings::SID_CHANNEL);
}

void VidiChannelsMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  const bool pin = Skin() && Skin()->IsPinExisting();
  Item(3)->NextState = pin ? KV_LATE_CLASS("NonMenuSystem::EnterPinDialog")
                           : KV_LATE_CLASS("Channels::AutoTuningConfirmDialog");
  VidiSubMenu::Initialize(param);
  CurrentItemIndex = RememberedIndex();
  ApplyCurrentItemIndex();
}

void VidiChannelsMenu::DoActivate(kv::Object* sender) {
  if (sender == Item(1) && Item(1)->NextState)
    if (SkinBin::Wrapper* w = Skin()) {
      const int32_t list = IsTVSource() ? kChannelListFavourites : 0;
      if (w->OnGetCurrentCBList() != list) w->OnSetCurrentCBList(list);
    }
  VidiSubMenu::DoActivate(sender);
}

// --- Settings --------------------------------------------------------------------------

VidiSettingsMenu::VidiSettingsMenu() {
  Setup(this, 2, &VidiMainMenu::StaticClass());
  Dialog(this, &Strings::InputMenuInputLabels, "NonMenuSystem::InputLabelingDialog");
  Row(this, &Strings::InputMenuPCSettings, Kind::Page, 0, &VidiScaleWindowMenu::StaticClass());
  Row(this, &Strings::SettingsMenuClosedCaptions, Kind::Page, 0, &VidiCCMenu::StaticClass());
  Row(this, &Strings::SettingsMenuPIP, Kind::Page, 0, &VidiPIPMenu::StaticClass());
  Row(this, &Strings::SettingsMenuDateTime, Kind::Page, 0, &VidiDateTimeMenu::StaticClass());
  Row(this, &Strings::SettingsMenuMenuLanguage, Kind::Popup, OPTION_TYPE_MENU_LANGUAGE);
  Dialog(this, &Strings::SettingsMenuSystemInfo, "NonMenuSystem::KXDSystemInfoDialog");
  Row(this, &Strings::SettingsMenuNetworking, Kind::Page, 0, &VidiNetworkingMenu::StaticClass());
  Row(this, &DLNA_CAPTION, Kind::Popup, OPTION_TYPE_ENABLE_DLNA);
  Dialog(this, &Strings::SettingsMenuResetAll, "NonMenuSystem::ConfirmMultiOptionDialog",
         Constants::ConfirmTypeResetAll);
  SetTitle(&Strings::SID_SETTINGS);
}

void VidiSettingsMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  VidiSubMenuItem* reset = Item(ItemCount() - 1);
  if (Skin() && Skin()->IsPinExisting()) {
    reset->NextState = KV_LATE_CLASS("NonMenuSystem::EnterPinDialog");
    reset->OptionType = kEnterPinResetAll;
  } else {
    reset->NextState = KV_LATE_CLASS("NonMenuSystem::ConfirmMultiOptionDialog");
    reset->OptionType = Constants::ConfirmTypeResetAll;
  }
  if (!Skin() || !Skin()->IsPipEnabled()) RemoveItem(Item(3));
  VidiSubMenu::Initialize(param);
}

VidiScaleWindowMenu::VidiScaleWindowMenu() {
  Setup(this, 3, &VidiSettingsMenu::StaticClass());
  // Changes on these sliders do not restart the time-out.
  Row(this, &HPOS_CAPTION, Kind::InlineSlider, OPTION_TYPE_WINDOW_HPOS);
  Row(this, &VPOS_CAPTION, Kind::InlineSlider, OPTION_TYPE_WINDOW_VPOS);
  Row(this, &Strings::HSize, Kind::InlineSlider, OPTION_TYPE_WINDOW_HSIZE);
  Row(this, &Strings::VSize, Kind::InlineSlider, OPTION_TYPE_WINDOW_VSIZE);
  Dialog(this, &Strings::SID_RESET, "NonMenuSystem::ConfirmMultiOptionDialog", Constants::ConfirmTypeResetScaleWindow);
  SetTitle(&Strings::SID_SETTINGS, &Strings::InputMenuPCSettings);
}

VidiCCMenu::VidiCCMenu() {
  Setup(this, 3, &VidiSettingsMenu::StaticClass());
  Row(this, &Strings::CCMenuCaptionRendering, Kind::Popup, OPTION_TYPE_CLOSED_CAPTION_STATE);
  Row(this, &Strings::CCMenuBasicSelection, Kind::Popup, OPTION_TYPE_BASIC_CC_MODE);
  Row(this, &Strings::CCMenuAdvancedSelection, Kind::Popup, OPTION_TYPE_ADVANCED_CC_MODE);
  Row(this, &Strings::CCMenuAdvancedAppearance, Kind::Page, 0, &VidiDTVCCStyleMenu::StaticClass());
  Row(this, &Strings::CCMenuCaptionPreference, Kind::Popup, OPTION_TYPE_CC_PREFERENCE);
  Dialog(this, &Strings::CCMenuResetCC, "NonMenuSystem::ConfirmMultiOptionDialog",
         Constants::ConfirmTypeResetCCSettings);
  SetTitle(&Strings::SID_SETTINGS, &Strings::MainMenuCC);
}

VidiDTVCCStyleMenu::VidiDTVCCStyleMenu() {
  Setup(this, 4, &VidiCCMenu::StaticClass());
  Row(this, &Strings::DTVCaptionStyleMenuFontStyle, Kind::Popup, OPTION_TYPE_CC_FONT_STYLE);
  Row(this, &Strings::DTVCaptionStyleMenuTextSize, Kind::Popup, OPTION_TYPE_CC_FONT_SIZE);
  Row(this, &Strings::DTVCaptionStyleMenuTextColor, Kind::Popup, OPTION_TYPE_CC_FG_COLOR);
  Row(this, &Strings::DTVCaptionStyleMenuTextOpacity, Kind::Popup, OPTION_TYPE_CC_FG_OPACITY);
  Row(this, &Strings::SID_CC_BG_COLOR, Kind::Popup, OPTION_TYPE_CC_BG_COLOR);
  Row(this, &Strings::DTVCaptionStyleMenuBGOpacity, Kind::Popup, OPTION_TYPE_CC_BG_OPACITY);
  Row(this, &Strings::DTVCaptionStyleMenuEdgeStyle, Kind::Popup, OPTION_TYPE_CC_EDGE_TYPE);
  Row(this, &Strings::DTVCaptionStyleMenuEdgeColor, Kind::Popup, OPTION_TYPE_CC_EDGE_COLOR);
  SetTitle(&Strings::MainMenuCC, &Strings::CCMenuAdvancedAppearance);
}

VidiPIPMenu::VidiPIPMenu() {
  Setup(this, 3, &VidiSettingsMenu::StaticClass());
  Row(this, &Strings::SID_MODE, Kind::Popup, OPTION_TYPE_PIP_MODE);
  Row(this, &Strings::PIPMenuSource, Kind::Popup, OPTION_TYPE_PIP_INPUT);
  Row(this, &Strings::PIPMenuSwap, Kind::Inert, 0)->OnActivate = kv::MakeSlot(this, &VidiPIPMenu::SwapSource);
  Row(this, &Strings::PIPMenuPosition, Kind::Inert, 0);
  Row(this, &Strings::PIPMenuSize, Kind::Popup, OPTION_TYPE_PIP_SIZE);
  Row(this, &Strings::PIPMenuAudio, Kind::Popup, OPTION_TYPE_PIP_AUDIO);
  SetTitleText(kv::GetVariantOfString(PIP_TITLE));
}

void VidiPIPMenu::LoadSettings() {
  const bool on = Skin() && Skin()->OnGetPipMode() != 0;
  for (int32_t i = 1; i < ItemCount() && i < 6; ++i) Item(i)->OnSetIsDisabled(!on);
  ItemsNum = on ? std::min(6, ItemCount()) : 1;
  VidiSubMenu::LoadSettings();
}

void VidiPIPMenu::SwapSource(kv::Object*) {
  if (MenuController* owner = OwnerOf(this)) owner->TearDownMenus();
  if (SkinBin::Wrapper* w = Skin()) w->SwapSource();
}

VidiDateTimeMenu::VidiDateTimeMenu() {
  Setup(this, 3, &VidiSettingsMenu::StaticClass());
  Row(this, &Strings::SID_TIME_ZONE, Kind::Popup, OPTION_TYPE_TIME_ZONE_KXD);
  Row(this, &Strings::SID_DAYLIGHT_SAVINGS, Kind::Popup, OPTION_TYPE_DAYLIGHT_SAVING_TIME);
  Dialog(this, &DATE_TIME_CAPTION, "NonMenuSystem::DateTimeDialog");
  SetTitle(&Strings::SID_SETTINGS, &Strings::SettingsMenuDateTime);
}

// --- Network and input -------------------------------------------------------------------

VidiNetworkingMenu::VidiNetworkingMenu() {
  Setup(this, 3, &VidiSettingsMenu::StaticClass());
  Row(this, &Strings::SID_NETWORK_TYPE, Kind::Popup, OPTION_TYPE_NETWORK_TYPE);
  Row(this, &Strings::NetworkingMenuWirelessSetup, Kind::Page, 0, &VidiWirelessSetup::StaticClass());
  Dialog(this, &Strings::SID_NETWORK_SETUP, "Network::NetworkSetupDialog");
  Dialog(this, &Strings::NetworkingMenuTestConnection, "Network::ConnectionTestDialog");
  SetTitle(&Strings::SID_SETTINGS, &Strings::SettingsMenuNetworking);
}

void VidiNetworkingMenu::LoadSettings() {
  VidiSubMenu::LoadSettings();
  // The wireless item follows the network type: it moves behind the others while wired.
  VidiSubMenuItem* wireless = nullptr;
  for (int32_t i = 0; i < ItemCount(); ++i)
    if (Item(i)->NextState == &VidiWirelessSetup::StaticClass()) wireless = Item(i);
  if (!wireless) return;
  const bool wirelessOn = Skin() && Skin()->OnGetNetworkType() != 0;
  const int32_t at = [&] {
    for (int32_t i = 0; i < ItemCount(); ++i)
      if (Item(i) == wireless) return i;
    return -1;
  }();
  if (wirelessOn && at != 1) {
    // Back to its place after the network type.
    MoveItemLast(wireless);
    for (int32_t i = ItemCount() - 1; i > 1; --i) MoveItemLast(Item(1));
  } else if (!wirelessOn && at != ItemCount() - 1) {
    MoveItemLast(wireless);
  }
  wireless->OnSetEnabled(wirelessOn);
  ItemsNum = wirelessOn ? 4 : 3;
  if (CurrentItemIndex > ItemsNum) CurrentItemIndex = 1;
  const bool focused = OnGetFocus() != nullptr;
  if (focused && !Animating) OnSetFocus(nullptr);
  PlaceItems();
  if (focused && !Animating) ApplyCurrentItemIndex();
}

VidiWirelessSetup::VidiWirelessSetup() {
  Setup(this, 4, &VidiNetworkingMenu::StaticClass());
  Dialog(this, &Strings::NetworkingMenuWirelessScan, "Network::WirelessScanDialog");
  Dialog(this, &Strings::NetworkingMenuWirelessAdvance, "Network::WirelessAdvancedDialog");
  Dialog(this, &Strings::NetworkingMenuWPSPBC, "Network::WPSPBCDialog");
  Row(this, &Strings::NetworkingMenuWPSPIN, Kind::Page, 0, &VidiWPSPinMenu::StaticClass());
  SetTitle(&Strings::SID_SETTINGS, &Strings::SID_WIRELESS_SETUP);
}

VidiWPSPinMenu::VidiWPSPinMenu() {
  Setup(this, 5, &VidiWirelessSetup::StaticClass());
  Row(this, &WPS_PIN_MODE_CAPTION, Kind::Popup, OPTION_TYPE_WPS_PIN_MODE);
  Dialog(this, &Strings::SID_START_SCAN, "Network::WirelessScanDialog", 1);
  SetTitle(&Strings::SID_WIRELESS_SETUP, &WPS_PIN_TITLE);
}

VidiInputMenu::VidiInputMenu() {
  Setup(this, 3, &VidiSettingsMenu::StaticClass());
  Dialog(this, &Strings::InputMenuInputLabels, "NonMenuSystem::InputLabelingDialog");
  Row(this, &Strings::InputMenuHDMICEC, Kind::Page, 0, &VidiCECMenu::StaticClass());
  SetTitle(&Strings::SID_SETTINGS, &Strings::SID_INPUT);
}

VidiCECMenu::VidiCECMenu() {
  Setup(this, 4, &VidiInputMenu::StaticClass());
  Row(this, &Strings::InputMenuHDMICEC, Kind::Popup, OPTION_TYPE_ENABLE_CEC);
  Row(this, &Strings::CECMenuTVState, Kind::Popup, OPTION_TYPE_TV_AUTO_POWER);
  Row(this, &Strings::CECMenuDevState, Kind::Popup, OPTION_TYPE_AUTO_STANDBY);
  SetTitle(&Strings::SID_INPUT, &Strings::SID_KELVO_LINK);
}

// --- Locks -------------------------------------------------------------------------------

VidiLocksMenu::VidiLocksMenu() {
  Setup(this, 2, &VidiMainMenu::StaticClass());
  FocusOnOpen = true;
  Row(this, &Strings::LocksMenuRatingsLocks, Kind::Page, 0, &VidiRatingsLocksMenu::StaticClass());
  Dialog(this, &Strings::LocksMenuChannelLocks, "Channels::ChannelLockDialog");
  Row(this, &Strings::LocksMenuFrontPanelLock, Kind::Popup, OPTION_TYPE_PANEL_LOCK);
  Row(this, &Strings::LocksMenuChangePIN, Kind::Page, CHANGE_PIN_CHANGE_PIN, &ChangePinMenu::StaticClass());
  Dialog(this, &Strings::LocksMenuResetLocks, "NonMenuSystem::ConfirmMultiOptionDialog",
         Constants::ConfirmTypeResetLocks);
  SetTitle(&Strings::MainMenuLocks);
}

VidiRatingsLocksMenu::VidiRatingsLocksMenu() {
  Setup(this, 3, &VidiLocksMenu::StaticClass());
  NeedAdjustCurrentItemIndex = true;
  Row(this, &Strings::RatingLocksMenuBlockUnratedShows, Kind::Popup, OPTION_TYPE_BLOCK_UNRATED_CONTENT);
  Dialog(this, &Strings::RatingLocksMenuUSATV, "ParentalLocks::USTVRatingsDialog");
  Dialog(this, &Strings::RatingLocksMenuUSAMovie, "ParentalLocks::USMovieRatingsDialog");
  Dialog(this, &Strings::RatingLocksMenuCANEnglish, "ParentalLocks::CANEnglishRatingsDialog");
  Dialog(this, &Strings::RatingLocksMenuCANFrench, "ParentalLocks::CANFrenchRatingsDialog");
  Dialog(this, &Strings::RatingLocksMenuRRTDefaultName, "ParentalLocks::RRTDimensionDialog");
  SetTitle(&Strings::MainMenuLocks, &Strings::LocksMenuRatingsLocks);
}

void VidiRatingsLocksMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  bool downloadable = false;
  const int32_t region =
      kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData)->GetInteger(SkinBin::KEY_RATING_REGION);
  if (SkinBin::Wrapper* w = Skin(); w && region != 0) {
    w->DynamicRatingData.SetRegionDimension(region, 0);
    w->DynamicRatingData.GetRegionInfo();
    downloadable = w->DynamicRatingData.RegionValid != 0 && w->DynamicRatingData.DimensionCount >= 1;
  }
  if (!downloadable) RemoveItem(Item(5));
  VidiSubMenu::Initialize(param);
  CurrentItemIndex = RememberedIndex();
  ApplyCurrentItemIndex();
}

// --- Record and media --------------------------------------------------------------------

VidiRecordMenu::VidiRecordMenu() {
  Setup(this, 2, &VidiMainMenu::StaticClass());
  NeedAdjustCurrentItemIndex = true;
  Row(this, &SCHEDULE_RECORD_CAPTION, Kind::Page, 0, &VidiScheduleRecordMenu::StaticClass());
  Dialog(this, &SCHEDULED_RECORDINGS_CAPTION, "Record::ScheduledRecordDialog");
  Dialog(this, &RECORDED_SHOWS_CAPTION, "Record::RecordedShowsDialog");
  Dialog(this, &Strings::RecordMenuUSBDiskStatus, "Record::USBDiskStatusDialog");
  Dialog(this, &USB_SPEED_CHECK_CAPTION, "Record::USBSpeedCheckDialog");
  Dialog(this, &USB_FORMAT_CAPTION, "Record::USBDiskFormatDialog");
  Row(this, &Strings::TimeshiftMenuDuration, Kind::Popup, OPTION_TYPE_TIMESHIFT_DURATION);
  Dialog(this, &Strings::TimeshiftMenuStatus, "Record::TimeshiftStatusDialog");
  SetTitle(&Strings::MainMenuRecord);
}

void VidiRecordMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  SkinBin::Wrapper* w = Skin();
  const bool tv = IsTVSource();
  const bool disk = w && w->IsUSBDiskMounted();
  const bool pin = w && w->IsPinExisting();
  const kv::Class* diskError = KV_LATE_CLASS("Record::USBDiskErrorDialog");
  if (!disk) {
    Item(3)->NextState = diskError;
    Item(4)->NextState = diskError;
    Item(5)->NextState = diskError;
  } else if (pin) {
    Item(5)->NextState = KV_LATE_CLASS("NonMenuSystem::EnterPinDialog");
    Item(5)->OptionType = kEnterPinUSBDiskFormat;
  }
  const bool paused = tv && w && w->GetLiveTVState(w->GetCurrentTunerId()) == Constants::XPM_TV_STATE_PAUSE_LIVE_TV;
  RemoveItem(Item(paused ? 6 : 7));
  if (!tv) RemoveItem(Item(0));
  VidiSubMenu::Initialize(param);
  CurrentItemIndex = RememberedIndex();
  ApplyCurrentItemIndex();
}

VidiScheduleRecordMenu::VidiScheduleRecordMenu() {
  Setup(this, 3, &VidiRecordMenu::StaticClass());
  Dialog(this, &FULL_GUIDE_CAPTION, "Channels::FullEPGDialog");
  Dialog(this, &RECORD_TIMER_CAPTION, "Record::RecordTimerDialog", 1);
  SetTitleText(kv::GetVariantOfString(SCHEDULE_RECORD_CAPTION));
}

void VidiScheduleRecordMenu::DoActivate(kv::Object* sender) {
  MenuController* owner = OwnerOf(this);
  if (sender != Item(1) || !owner) {
    VidiSubMenu::DoActivate(sender);
    return;
  }
  SkinBin::Wrapper* w = Skin();
  const bool noTimer = !w || w->GetFirstAvailableTimerId() < 0;
  const kv::Class* target =
      noTimer ? &NonMenuSystem::DirectMessageBar::StaticClass() : KV_LATE_CLASS("Record::RecordTimerDialog");
  // A target that does not exist yet counts as none: nothing happens.
  if (!target) return;
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_CHANGE_APPEARANCE, nullptr, Constants::APPEARANCE_INVISIBLE);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->DispatchTo(msg, &VidiMainMenu::StaticClass());
  owner->HideForm(this);
  const int32_t type = noTimer ? Constants::DirectMsgTypeInvalidTimerId : Item(1)->OptionType;
  Primitives::KeyRoutingForm* form = owner->OpenState(target, type, Constants::MSG_FROM_MENUSYSTEM, KvClass());
  // The bar hands the hidden menu back when it closes.
  if (auto* bar = kv::Cast<NonMenuSystem::DirectMessageBar>(form)) {
    bar->IsShortcut = true;
    return;
  }
  // A new timer: now, one hour, off.
  ListForm::SetUpTimerEditor(form, ListForm::TimerEditorHandoff{});
}

VidiMediaMenu::VidiMediaMenu() {
  Setup(this, 2, &VidiMainMenu::StaticClass());
  NeedAdjustCurrentItemIndex = true;
  Dialog(this, &Strings::SID_VIDEO, "MediaPlayer::MediaDeviceSelectDialog", kMediaVideo);
  Dialog(this, &Strings::SID_MUSIC, "MediaPlayer::MediaDeviceSelectDialog", kMediaMusic);
  Dialog(this, &Strings::SID_PHOTO, "MediaPlayer::MediaDeviceSelectDialog", kMediaPhoto);
  Dialog(this, &Strings::SID_DMR_SETUP, "MediaPlayer::MediaRenderSetupMenu");
  SetTitle(&Strings::SID_MEDIA_PLAYER);
}

void VidiMediaMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  auto* media = kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper);
  if (!media || !media->IsDmrConfiged()) {
    RemoveItem(Item(3));
  } else if (SkinBin::Wrapper* w = Skin()) {
    Item(3)->OnSetIsDisabled(w->GetActiveNetAppStatus() != nullptr && !w->IsDemoFlash());
  }
  VidiSubMenu::Initialize(param);
  CurrentItemIndex = RememberedIndex();
  ApplyCurrentItemIndex();
}

}  // namespace MenuSystem
