#include "units/MediaPlayer/RendererSetupPages.h"

#include "runtime/auto_object.h"
#include "strings/MediaPlayerSetup.h"
#include "strings/MenuSystemItems.h"
#include "strings/MenuSystemPages.h"
#include "units/Media/MediaWrapper.h"
#include "units/MediaPlayer/SetupItems.h"
#include "units/MenuSystem/LiveMenuPages.h"
#include "units/MenuSystem/MenuItems.h"
#include "units/MenuSystem/MenuSystem.h"
#include "units/MenuSystem/SettingPages.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/Wrapper.h"

namespace MediaPlayer {

KV_REGISTER_CLASS(MediaPlayer::MediaRenderSetupMenu);
KV_REGISTER_CLASS(MediaPlayer::MediaControllerSetupMenu);
KV_REGISTER_CLASS(MediaPlayer::MediaPlayerSetupMenu);

namespace {

namespace T = MediaPlayerSetup;
using MenuSystem::SubMenuItem;

SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper)); }
Media::MediaWrapper* Bridge() { return kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper); }

kv::String LinkHelp() { return MenuSystem::HelpText({&MenuSystemItems::SID_ENTER, &MenuSystemItems::SID_BACK}); }
kv::String SelectHelp() { return MenuSystem::HelpText({&MenuSystemItems::SID_EDIT, &MenuSystemItems::SID_BACK}); }

SubMenuItem* Link() {
  auto* row = kv::New<SubMenuItem>();
  row->HelpString = LinkHelp();
  return row;
}

MenuSystem::SubMenuItemValueSelect* Select() {
  auto* row = kv::New<MenuSystem::SubMenuItemValueSelect>();
  row->HelpMask = MenuSystem::HELP_MASK_VALUE;
  row->HelpString = SelectHelp();
  return row;
}

void Caption(SubMenuItem* row, const kv::MultiTextId& text) {
  if (row) row->OnSetText(kv::GetVariantOfString(text));
}

}  // namespace

// --- MediaRenderSetupMenu --------------------------------------------------------------

MediaRenderSetupMenu::MediaRenderSetupMenu() {
  WinID = kWinId;
  MenuLevel = 4;
  ParentPage = &MenuSystem::VidiMediaMenu::StaticClass();
  PrevState = ParentPage;
  CaptionId = &MenuSystemPages::SID_DMR_SETUP;
  OnSetCaption(kv::GetVariantOfString(MenuSystemPages::SID_DMR_SETUP));

  rows_[kInstall] = AddRow(Link(), &T::SID_INSTALLATION, 0, KV_LATE_CLASS("MediaPlayer::MediaRendererOnOffDialog"));
  rows_[kInstall]->OnActivate = kv::MakeSlot(this, &MediaRenderSetupMenu::DoActivate_Install);

  MenuSystem::SubMenuItemValueSelect* renderer = Select();
  rows_[kRenderer] = AddRow(renderer, &T::SID_MEDIA_RENDERER, SkinBin::OPTION_TYPE_MEDIA_RENDERER);
  renderer->OnValueChanged = kv::MakeSlot(this, &MediaRenderSetupMenu::RenderEnable);

  rows_[kDeviceName] =
      AddRow(Link(), &T::SID_DEVICE_NAME_SETUP, 0, KV_LATE_CLASS("MediaPlayer::DeviceNameSetupDialog"));
  rows_[kDeviceName]->OnActivate = kv::MakeSlot(this, &MediaRenderSetupMenu::DoActivate_DeviceName);

  rows_[kControllers] = AddRow(Link(), &T::SID_CONTROLLER_SETUP, 0, &MediaControllerSetupMenu::StaticClass());

  auto* volume = kv::New<MaxVolSeptupItem>();
  volume->OnSetValue(MaxVolNumInput::kDefault);
  rows_[kMaxVolume] = AddRow(volume, &T::SID_MAX_VOL_SETUP, SkinBin::OPTION_TYPE_MAX_VOLUME_SETUP,
                             KV_LATE_CLASS("MediaPlayer::MaximumVolumeSetupDialog"));
  volume->OnNumberEditChanged = kv::MakeSlot(this, &MediaRenderSetupMenu::DoNumberEditChange);
  OnSetCurrentItemIndex(1);
}

MaxVolSeptupItem* MediaRenderSetupMenu::MaxVolume() { return kv::Cast<MaxVolSeptupItem>(rows_[kMaxVolume].get()); }

void MediaRenderSetupMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  ThirdMenu::Initialize(param);
  if (SkinBin::Wrapper* w = Skin()) w->RendererInstalled = false;
}

void MediaRenderSetupMenu::ReInit() {
  ThirdMenu::ReInit();
  static const kv::MultiTextId* const kCaptions[kRows] = {&T::SID_INSTALLATION, &T::SID_MEDIA_RENDERER,
                                                          &T::SID_DEVICE_NAME_SETUP, &T::SID_CONTROLLER_SETUP,
                                                          &T::SID_MAX_VOL_SETUP};
  for (int32_t i = 0; i < kRows; ++i) Caption(rows_[i].get(), *kCaptions[i]);
  for (int32_t i : {kInstall, kDeviceName, kControllers}) rows_[i]->HelpString = LinkHelp();
  rows_[kRenderer]->HelpString = SelectHelp();
}

void MediaRenderSetupMenu::RenderEnable(kv::Object*) {
  SkinBin::Wrapper* w = Skin();
  Media::MediaWrapper* media = Bridge();
  if (!w || !media) return;
  media->SetEnableDlna(w->OnGetMediaRenderer() != 0 ? 3 : 1);
}

void MediaRenderSetupMenu::DoActivate_Install(kv::Object* sender) {
  if (SkinBin::Wrapper* w = Skin()) w->RendererInstalled = true;
  ThirdMenu::DoActivate(sender);
}

void MediaRenderSetupMenu::DoActivate_DeviceName(kv::Object* sender) {
  if (kv::Cast<MenuSystem::SubMenuItemValue>(sender) || kv::Cast<MenuSystem::SubMenuItemAdjust>(sender)) {
    if (auto* menu = kv::Cast<MenuSystem::MenuSystem>(MenuSystem.get())) menu->ClearHelpBar();
  }
  ThirdMenu::DoActivate(sender);
}

void MediaRenderSetupMenu::DoNumberEditChange(kv::Object* sender) {
  if (sender && sender == rows_[kMaxVolume].get()) DoFocus(sender);
}

// --- MediaControllerSetupMenu ----------------------------------------------------------

MediaControllerSetupMenu::MediaControllerSetupMenu() {
  WinID = kWinId;
  MenuLevel = 5;
  ParentPage = &MediaRenderSetupMenu::StaticClass();
  PrevState = ParentPage;
  CaptionId = &T::SID_CONTROLLER_SETUP;
  OnSetCaption(kv::GetVariantOfString(T::SID_CONTROLLER_SETUP));
  MenuSystem::SubMenuItemValueSelect* access = Select();
  access_ = AddRow(access, &T::SID_ACCESS_CONTROL, SkinBin::OPTION_TYPE_DMC_ACCESS_CONTROL);
  access->OnValueChanged = kv::MakeSlot(this, &MediaControllerSetupMenu::RefreshGrayout);
  select_ = AddRow(Link(), &T::SID_SELECT_CONTROLLER, 0, KV_LATE_CLASS("MediaPlayer::SelectMediaControllerDialog"));
  OnSetCurrentItemIndex(1);
}

void MediaControllerSetupMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  ThirdMenu::Initialize(param);
  RefreshGrayout();
}

void MediaControllerSetupMenu::ReInit() {
  ThirdMenu::ReInit();
  Caption(access_.get(), T::SID_ACCESS_CONTROL);
  Caption(select_.get(), T::SID_SELECT_CONTROLLER);
  access_->HelpString = SelectHelp();
  select_->HelpString = LinkHelp();
}

void MediaControllerSetupMenu::RefreshGrayout(kv::Object*) {
  SkinBin::Wrapper* w = Skin();
  select_->OnSetIsDisabled(!w || w->OnGetDMC_AccessControl() == 0);
}

// --- MediaPlayerSetupMenu --------------------------------------------------------------

MediaPlayerSetupMenu::MediaPlayerSetupMenu() {
  WinID = kWinId;
  MenuLevel = 5;
  ParentPage = &MenuSystem::AppMediaPlayerMenu::StaticClass();
  PrevState = ParentPage;
  CaptionId = &MenuSystemPages::SID_MEDIA_PLAYER_SETUP;
  OnSetCaption(kv::GetVariantOfString(MenuSystemPages::SID_MEDIA_PLAYER_SETUP));
  autoStart_ = AddRow(Select(), &T::SID_USB_SD_AUTO_START, SkinBin::OPTION_TYPE_USB_AUTO_START);
  servers_ = AddRow(Link(), &T::SID_MEDIA_SERVER_SETTINGS, 0, KV_LATE_CLASS("MediaPlayer::MediaServerSetupDialog"));
  servers_->OnSetIsDisabled(true);
  OnSetCurrentItemIndex(1);
}

void MediaPlayerSetupMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  // The server row goes whether or not a network device is up.
  SkinBin::Wrapper* w = Skin();
  if (w && w->NetworkSetup.LAN_GetActivatedDev() == -1) servers_->OnSetIsDisabled(true);
  RemoveRow(servers_.get());
  ThirdMenu::Initialize(param);
}

void MediaPlayerSetupMenu::ReInit() {
  ThirdMenu::ReInit();
  Caption(autoStart_.get(), T::SID_USB_SD_AUTO_START);
  Caption(servers_.get(), T::SID_MEDIA_SERVER_SETTINGS);
  autoStart_->HelpString = SelectHelp();
  servers_->HelpString = LinkHelp();
}

}  // namespace MediaPlayer
