#include "units/MenuSystem/PictureSoundPages.h"

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "strings/MenuSystemPages.h"
#include "strings/SkinBinWrapper.h"
#include "units/Colors/Colors.h"
#include "platform/xpm/xpm_settings.h"
#include "units/Constants/ConfirmTypes.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/Fonts/Fonts.h"
#include "units/MenuSystem/MenuItems.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/OptionDatabase/OptionTypes.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/ArrayInt.h"
#include "units/Structures/VideoContentInfo.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"
#include "units/Wrapper/Wrapper.h"


namespace MenuSystem {

using namespace OptionDatabase;
using namespace SkinBin;
using namespace Constants;
using namespace keys;

KV_REGISTER_CLASS(MenuSystem::WhiteBalance2PMenu);
KV_REGISTER_CLASS(MenuSystem::WhiteBalance10PMenu);
KV_REGISTER_CLASS(MenuSystem::PCSettingsMenu);
KV_REGISTER_CLASS(MenuSystem::PicturePositionMenu);
KV_REGISTER_CLASS(MenuSystem::ColorSensorSettingsMenu);
KV_REGISTER_CLASS(MenuSystem::NoiseReductionMenu);
KV_REGISTER_CLASS(MenuSystem::PictureMenu);
KV_REGISTER_CLASS(MenuSystem::AdvancedPictureMenu);
KV_REGISTER_CLASS(MenuSystem::ExpertPictureMenu);
KV_REGISTER_CLASS(MenuSystem::WhiteBalanceMenu);
KV_REGISTER_CLASS(MenuSystem::RGBFilterMenu);
KV_REGISTER_CLASS(MenuSystem::BaseColorAdjustmentMenu);
KV_REGISTER_CLASS(MenuSystem::AutoBrightnessSensorMenu);
KV_REGISTER_CLASS(MenuSystem::FinexaMenu);
KV_REGISTER_CLASS(MenuSystem::SoundMenu);

namespace {

namespace S = MenuSystemPages;
using K = RowKind;

constexpr int32_t kAllColoursOn = 0x111111;
constexpr int32_t kHeadingHeight = 18;

const ClassOf kConfirm = MS_TARGET(ConfirmDialog());
const ClassOf kOverlay = MS_TARGET(KV_LATE_CLASS("NonMenuSystem::ToggleOptionOverlay"));
const ClassOf kBar = MS_TARGET(KV_LATE_CLASS("NonMenuSystem::AdjustmentBar"));
const ClassOf kTintBar = MS_TARGET(KV_LATE_CLASS("NonMenuSystem::AdjustmentBarTint"));
const ClassOf kBaseColorBar = MS_TARGET(KV_LATE_CLASS("NonMenuSystem::BaseColorAdjustmentBar"));
const ClassOf kPicture = MS_TARGET(&PictureMenu::StaticClass());
const ClassOf kAdvancedPicture = MS_TARGET(&AdvancedPictureMenu::StaticClass());
const ClassOf kExpertPicture = MS_TARGET(&ExpertPictureMenu::StaticClass());
const ClassOf kWhiteBalance = MS_TARGET(&WhiteBalanceMenu::StaticClass());
const ClassOf kDisplaySettings = MS_TARGET(&DisplaySettingsMenu::StaticClass());

const RowDef kPictureRows[] = {
    {K::Value, &S::SID_PICTURE_MODE, OPTION_TYPE_PICTURE_MODE, kOverlay},
    {K::Link, &S::SID_RESET, ConfirmTypeResetAllPictureSettings, kConfirm},
    {K::Slider, &S::SID_BACKLIGHT, OPTION_TYPE_BACKLIGHT, kBar, true},
    {K::Slider, &S::SID_CONTRAST, OPTION_TYPE_CONTRAST, kBar, true},
    {K::Slider, &S::SID_BRIGHTNESS, OPTION_TYPE_BRIGHTNESS, kBar},
    {K::Slider, &S::SID_COLOR, OPTION_TYPE_COLOR, kBar},
    {K::Slider, &S::SID_TINT, OPTION_TYPE_TINT, kTintBar},
    {K::Slider, &S::SID_SHARPNESS, OPTION_TYPE_SHARPNESS, kBar},
    {K::Link, &S::SID_ADV_PIC_SETTINGS, 0, kAdvancedPicture},
    {K::Link, &S::SID_EXPERT_PICTURE_SETTINGS, 0, kExpertPicture},
    {K::Select, &S::SID_THEATER_LOCK, OPTION_TYPE_THEATER_LOCK},
};
const PageLayout kPicturePage = Page(WinIDs::WIN_ID_PictureMenu, &S::SID_PICTURE, 3, nullptr, kPictureRows);
constexpr int32_t kBacklightRow = 2;

const RowDef kAdvancedPictureRows[] = {
    {K::Value, &S::SID_TINTFORGE, OPTION_TYPE_COLOR_MANAGER, kOverlay},
    {K::Link, &S::SID_BASE_COLOUR_ADJUST, 0, MS_TARGET(&BaseColorAdjustmentMenu::StaticClass())},
    {K::Arrow, &S::SID_COLOUR_TEMPERATURE, OPTION_TYPE_COLOR_TEMPERATURE, MS_TARGET(KV_LATE_CLASS("NonMenuSystem::NoSliderAdjustmentBar"))},
    {K::Link, &S::SID_BRIGHTNESS_SENSOR_SETTINGS, 0, MS_TARGET(&AutoBrightnessSensorMenu::StaticClass())},
    {K::Link, &S::SID_COLOR_SENSOR_SETTINGS, 0, MS_TARGET(&ColorSensorSettingsMenu::StaticClass())},
    {K::Value, &S::SID_LUMIFLUX, OPTION_TYPE_LUMIFLUX, kOverlay},
    {K::Slider, &S::SID_DYNAMIC_CONTRAST, OPTION_TYPE_DYNAMIC_CONTRAST, kBar},
    {K::Slider, &S::SID_STATIC_GAMMA, OPTION_TYPE_STATIC_GAMMA, kBar, true},
    {K::Link, &S::SID_NOISE_REDUCTION, 0, MS_TARGET(&NoiseReductionMenu::StaticClass())},
    {K::Link, &S::SID_FINEXA, 0, MS_TARGET(&FinexaMenu::StaticClass())},
    {K::Value, &S::SID_STILLPANE_240, OPTION_TYPE_STILLPANE_240, kOverlay},
    {K::Value, &S::SID_QUILLAR240, OPTION_TYPE_QUIL_LAR_240, kOverlay},
    {K::Value, &S::SID_STILLPANE, OPTION_TYPE_STILLPANE, kOverlay},
    {K::Value, &S::SID_FILM_STABLIZATION, OPTION_TYPE_FILM_STABILIZATION_240, kOverlay},
    {K::Value, &S::SID_FILM_STABLIZATION, OPTION_TYPE_FILM_STABILIZATION, kOverlay},
    {K::Value, &S::SID_CINEMA_MODE, OPTION_TYPE_QRV_CINEMA_MODE, kOverlay},
    {K::Link, &S::SID_RESET, ConfirmTypeResetAdvancedPictureSettings, kConfirm},
};
const PageLayout kAdvancedPicturePage =
    Page(WinIDs::WIN_ID_AdvancedPictureMenu, &S::SID_ADV_PIC_SETTINGS, 4, kPicture, kAdvancedPictureRows);

const RowDef kExpertPictureRows[] = {
    {K::Value, &S::SID_TEST_PATTERN, OPTION_TYPE_TEST_PATTERN, kOverlay},
    {K::Link, &S::SID_RGB_FILTER, 0, MS_TARGET(&RGBFilterMenu::StaticClass())},
    {K::Link, &S::SID_WHITE_BALANCE, 0, kWhiteBalance},
    {K::Link, &S::SID_RESET, ConfirmTypeResetExpertPictureSettings, kConfirm},
};
const PageLayout kExpertPicturePage =
    Page(WinIDs::WIN_ID_ExpertPictureMenu, &S::SID_EXPERT_PICTURE_SETTINGS, 4, kPicture, kExpertPictureRows);

const RowDef kWhiteBalanceRows[] = {
    {K::Value, &S::SID_WINDOW_DISPLAY, OPTION_TYPE_WB_WINDOW_DISPLAY, kOverlay},
    {K::Select, &S::SID_SETTING_TYPE, OPTION_TYPE_WB_SETTING_TYPE},
    {K::Link, &S::SID_2P_WHITE_BALANCE, 0, MS_TARGET(&WhiteBalance2PMenu::StaticClass())},
    {K::Link, &S::SID_10P_WHITE_BALANCE, 0, MS_TARGET(&WhiteBalance10PMenu::StaticClass())},
    {K::Link, &S::SID_WB_COPY_SETTINGS, ConfirmTypeCopyToAllInputs, kConfirm},
};
const PageLayout kWhiteBalancePage = Page(WinIDs::WIN_ID_WhiteBalanceMenu, &S::SID_WHITE_BALANCE, 5, kExpertPicture, kWhiteBalanceRows);

const RowDef kWB2PRows[] = {
    {K::Slider, &S::SID_RED_OFFSET, OPTION_TYPE_RED_OFFSET, kBar},   {K::Slider, &S::SID_GREEN_OFFSET, OPTION_TYPE_GREEN_OFFSET, kBar},
    {K::Slider, &S::SID_BLUE_OFFSET, OPTION_TYPE_BLUE_OFFSET, kBar},  {K::Slider, &S::SID_RED_GAIN, OPTION_TYPE_RED_GAIN, kBar},
    {K::Slider, &S::SID_GREEN_GAIN, OPTION_TYPE_GREEN_GAIN, kBar},   {K::Slider, &S::SID_BLUE_GAIN, OPTION_TYPE_BLUE_GAIN, kBar},
};
const PageLayout kWB2PPage = Page(WinIDs::WIN_ID_WhiteBalance2PMenu, &S::SID_2P_WHITE_BALANCE, 6, kWhiteBalance, kWB2PRows);

const RowDef kWB10PRows[] = {
    {K::Slider, &S::SID_IRE, OPTION_TYPE_WB_IRE, kBar},   {K::Slider, &S::SID_RED, OPTION_TYPE_WB_RED, kBar},
    {K::Slider, &S::SID_GREEN, OPTION_TYPE_WB_GREEN, kBar}, {K::Slider, &S::SID_BLUE, OPTION_TYPE_WB_BLUE, kBar},
};
const PageLayout kWB10PPage = Page(WinIDs::WIN_ID_WhiteBalance10PMenu, &S::SID_10P_WHITE_BALANCE, 6, kWhiteBalance, kWB10PRows);

const RowDef kRGBFilterRows[] = {
    {K::RGBOption, &S::SID_RED, OPTION_TYPE_RGB_FILTER_RED},
    {K::RGBOption, &S::SID_GREEN, OPTION_TYPE_RGB_FILTER_GREEN},
    {K::RGBOption, &S::SID_BLUE, OPTION_TYPE_RGB_FILTER_BLUE},
    {K::RGBSlider, &S::SID_COLOR, OPTION_TYPE_COLOR, kBar},
    {K::RGBSlider, &S::SID_TINT, OPTION_TYPE_TINT, kTintBar},
};
const PageLayout kRGBFilterPage = Page(WinIDs::WIN_ID_RGBFilterMenu, &S::SID_RGB_FILTER, 5, kExpertPicture, kRGBFilterRows);

const RowDef kPCSettingsRows[] = {
    {K::Slider, &S::SID_HORZ_POSITION, OPTION_TYPE_HORIZONTAL_POSITION, kBar}, {K::Slider, &S::SID_VERT_POSITION, OPTION_TYPE_VERTICAL_POSITION, kBar},
    {K::Slider, &S::SID_CLOCK_PHASE, OPTION_TYPE_CLOCK_PHASE, kBar},   {K::Slider, &S::SID_SAMPLE_CLOCK, OPTION_TYPE_SAMPLE_CLOCK, kBar},
    {K::Link, &S::SID_RESET, ConfirmTypeResetPCSettings, kConfirm},
};
const PageLayout kPCSettingsPage = Page(WinIDs::WIN_ID_PCSettingsMenu, &S::SID_PC_SETTINGS, 5, kDisplaySettings, kPCSettingsRows);

const RowDef kPicturePositionRows[] = {
    {K::Slider, &S::SID_VERT_POSITION, OPTION_TYPE_VERTICAL_POSITION, kBar, true},
    {K::Link, &S::SID_RESET, ConfirmTypeResetPicturePosition, kConfirm},
};
const PageLayout kPicturePositionPage =
    Page(WinIDs::WIN_ID_PicturePositionMenu, &S::SID_PIC_POSITION, 5, kDisplaySettings, kPicturePositionRows);

const RowDef kBaseColorRows[] = {
    {K::BaseColor, &S::SID_RED, OPTION_TYPE_BASECOLOR_ADJUST_RED_HUE, kBaseColorBar},
    {K::BaseColor, &S::SID_GREEN, OPTION_TYPE_BASECOLOR_ADJUST_GREEN_HUE, kBaseColorBar},
    {K::BaseColor, &S::SID_BLUE, OPTION_TYPE_BASECOLOR_ADJUST_BLUE_HUE, kBaseColorBar},
    {K::BaseColor, &S::SID_YELLOW, OPTION_TYPE_BASECOLOR_ADJUST_YELLOW_HUE, kBaseColorBar},
    {K::BaseColor, &S::SID_MAGENTA, OPTION_TYPE_BASECOLOR_ADJUST_MAGENTA_HUE, kBaseColorBar},
    {K::BaseColor, &S::SID_CYAN, OPTION_TYPE_BASECOLOR_ADJUST_CYAN_HUE, kBaseColorBar},
    {K::Link, &S::SID_RESET, ConfirmTypeResetBaseColorSettings, kConfirm},
};
const PageLayout kBaseColorPage =
    Page(WinIDs::WIN_ID_BaseColorAdjustmentMenu, &S::SID_BASE_COLOUR_ADJUST, 5, kAdvancedPicture, kBaseColorRows, 2, kPageHeight);

const RowDef kAutoBrightnessRows[] = {
    {K::Value, &S::SID_BRIGHTNESS_SENSOR, OPTION_TYPE_AUTO_BRIGHTNESS_SENSOR, kOverlay},
    {K::Link, &S::SID_BACKLIGHT_ADJ_PRO, 0, MS_TARGET(KV_LATE_CLASS("NonMenuSystem::BacklightAdjustmentProDialog"))},
};
const PageLayout kAutoBrightnessPage =
    Page(WinIDs::WIN_ID_AutoBrightnessSensorMenu, &S::SID_BRIGHTNESS_SENSOR_SETTINGS, 5, kAdvancedPicture, kAutoBrightnessRows);

const RowDef kColorSensorRows[] = {
    {K::Select, &S::SID_BRIGHTNESS_SENSOR, OPTION_TYPE_AUTO_BRIGHTNESS_SENSOR},
    {K::Link, &S::SID_BACKLIGHT_ADJ_PRO},
    {K::Select, &S::SID_ROOM_LIGHTING, OPTION_TYPE_ROOM_LIGHTING},
};
const PageLayout kColorSensorPage =
    Page(WinIDs::WIN_ID_BaseColorAdjustmentMenu, &S::SID_COLOR_SENSOR_SETTINGS, 5, kAdvancedPicture, kColorSensorRows);

const RowDef kNoiseReductionRows[] = {
    {K::Value, &S::SID_MPEG_NR, OPTION_TYPE_DIGITAL_NR, kOverlay},
    {K::Value, &S::SID_DNR, OPTION_TYPE_DNR, kOverlay},
};
const PageLayout kNoiseReductionPage =
    Page(WinIDs::WIN_ID_NoiseReductionMenu, &S::SID_NOISE_REDUCTION, 5, kAdvancedPicture, kNoiseReductionRows);

const RowDef kFinexaRows[] = {
    {K::Value, &S::SID_FINEXA, OPTION_TYPE_SUPER_RESOLUTION, kOverlay},
    {K::Slider, &S::SID_LEVEL, OPTION_TYPE_SUPER_RESOLUTION_LEVEL, kBar},
};
const PageLayout kFinexaPage = Page(WinIDs::WIN_ID_FinexaMenu, &S::SID_FINEXA, 5, kAdvancedPicture, kFinexaRows);

const RowDef kSoundRows[] = {
    {K::Select, &S::SID_MTS, OPTION_TYPE_MTS},
    {K::SliderSelect, &S::SID_BALANCE, OPTION_TYPE_BALANCE},
    {K::SliderSelect, &S::SID_BASS, OPTION_TYPE_BASS},
    {K::SliderSelect, &S::SID_TREBLE, OPTION_TYPE_TREBLE},
    {K::Link, &S::SID_ADVANCED_AUDIO_SETTINGS, 0, MS_TARGET(&AdvancedSoundSettingsMenu::StaticClass())},
    {K::Select, &S::SID_DYNAMIC_VOLUME, OPTION_TYPE_DYNAMIC_VOLUME},
    {K::Select, &S::SID_DYNAMIC_RANGE_CONTROL, OPTION_TYPE_DYNAMIC_RANGE_CONTROL},
};
const PageLayout kSoundPage = Page(WinIDs::WIN_ID_SoundMenu, &S::SID_SOUND, 3, nullptr, kSoundRows);
constexpr int32_t kDynamicVolumeRow = 5;
constexpr int32_t kRangeControlRow = 6;

int32_t Preset() {
  ::Wrapper::Wrapper* w = BaseOf();
  return w ? w->OnGetVideoPreset() : 0;
}

bool AnyWindow(std::initializer_list<uint32_t> ids) {
  for (uint32_t id : ids)
    if (WindowOpen(id)) return true;
  return false;
}

// The picture tools that cover the picture (W): while one is shown some
// rows are of no use.
bool PictureToolShown() {
  return AnyWindow({WinIDs::WIN_ID_PhotoMultiView, WinIDs::WIN_ID_PhotoSingleView, WinIDs::WIN_ID_PhotoSingleViewDMR,
                    WinIDs::WIN_ID_PhotoFrame});
}

bool ThreeDShown() {
  auto* manager = kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
  return manager && manager->HasWidgetInGroup(WinIDs::WIN_ID_MediaPlayer);
}

bool IsBack(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  return key && key->Down && key->Code == KEY_BACK;
}

// The type of the main window's current audio service (0 when unknown).
int32_t AudioServiceType() {
  int32_t index = 0;
  XPM_AudioServiceInfo info{};
  if (const int32_t rc = XPM_GetCurrentAudioService(0, &index); rc != 0) {
    Core::LogError("XPM_GetCurrentAudioService Error 0x%x", {rc});
    return 0;
  }
  if (const int32_t rc = XPM_GetAudioServiceInfo(0, index, &info); rc != 0) {
    Core::LogError("XPM_GetAudioServiceInfo Error 0x%x", {rc});
    return 0;
  }
  return info.type;
}

void Rebind(SubMenuItem* row, int32_t option, bool middle) {
  if (!row) return;
  row->OptionType = option;
  if (auto* slider = kv::Cast<AdjustItemSlider>(row)) slider->OnSetSliderMiddlePoint(middle);
}

}  // namespace

WhiteBalance2PMenu::WhiteBalance2PMenu() { Build(kWB2PPage); }
WhiteBalance10PMenu::WhiteBalance10PMenu() { Build(kWB10PPage); }
PCSettingsMenu::PCSettingsMenu() { Build(kPCSettingsPage); }
PicturePositionMenu::PicturePositionMenu() { Build(kPicturePositionPage); }
ColorSensorSettingsMenu::ColorSensorSettingsMenu() { Build(kColorSensorPage); }
NoiseReductionMenu::NoiseReductionMenu() { Build(kNoiseReductionPage); }

// --- Picture --------------------------------------------------------------------------

PictureMenu::PictureMenu() { Build(kPicturePage); }

void PictureMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  SkinBin::Wrapper* skin = SkinOf();
  if (skin && skin->OnGetAutoBrightnessSensor() == 1) Rebind(R(kBacklightRow), OPTION_TYPE_BACKLIGHT_AUTO, true);
  SettingPage::Initialize(param);
  if (QuickMenu) ParentPage = KV_LATE_CLASS("QuickMenu::QuickMenu");
  // With the automatic preset the contrast is the set's own.
  if (auto* contrast = kv::Cast<AdjustItemSlider>(R(kBacklightRow + 1)); contrast && Preset() == 0) {
    contrast->OnSetSliderVisible(false);
    contrast->ValueText().OnSetString(kv::GetVariantOfString(S::SID_AUTO));
  }
}

void PictureMenu::RefreshGrayout() {
  SkinBin::Wrapper* skin = SkinOf();
  const int32_t preset = Preset();
  if (skin && skin->OnGetTheaterLock() != 0) {
    for (int32_t i = 1; i <= kBacklightRow + 7; ++i) Grey(i, true);
  } else {
    const bool changed = skin && (skin->IsOptionChanged(SkinBinWrapper::GROUP_BASIC_PICTURE) ||
                                  skin->IsOptionChanged(SkinBinWrapper::GROUP_ADVANCED_PICTURE) ||
                                  skin->IsOptionChanged(SkinBinWrapper::GROUP_COLOR));
    Grey(1, !changed);
    for (int32_t i = kBacklightRow; i <= kBacklightRow + 7; ++i) Grey(i, i == kBacklightRow + 1 && preset == 0);
  }
  if ((preset != 2 && preset != 3 && preset != 4) || ThreeDShown() || QuickMenu) Grey(kBacklightRow + 7, true);
  if (PictureToolShown()) Grey(kBacklightRow + 5, true);
}

kv::Object* PictureMenu::HandleEvent(Core::Event* event) {
  SkinBin::Wrapper* skin = SkinOf();
  if (IsBack(event) && skin && skin->OnGetTestPattern() != 0) skin->OnSetTestPattern(0);
  return SettingPage::HandleEvent(event);
}

// --- Advanced picture -------------------------------------------------------------------

AdvancedPictureMenu::AdvancedPictureMenu() { Build(kAdvancedPicturePage); }

void AdvancedPictureMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  if (Preset() == 0) {
    Rebind(R(2), OPTION_TYPE_COLOR_TEMPERATURE_AUTO, true);
    Rebind(R(6), OPTION_TYPE_DYNAMIC_CONTRAST_AUTO, true);
  }
  SkinBin::Wrapper* skin = SkinOf();
  CheckSeries(skin ? skin->OnGetSeriesType() : 0);
  SettingPage::Initialize(param);
}

void AdvancedPictureMenu::CheckSeries(int32_t series) {
  Drop(4);
  static constexpr int32_t kOut[5][5] = {
      {OPTION_TYPE_STILLPANE_240, OPTION_TYPE_FILM_STABILIZATION_240, OPTION_TYPE_QUIL_LAR_240, OPTION_TYPE_STILLPANE, OPTION_TYPE_FILM_STABILIZATION},  // series 0
      {OPTION_TYPE_STILLPANE_240, OPTION_TYPE_FILM_STABILIZATION_240, OPTION_TYPE_QUIL_LAR_240, OPTION_TYPE_QRV_CINEMA_MODE, 0},           // series 1
      {OPTION_TYPE_STILLPANE_240, OPTION_TYPE_FILM_STABILIZATION_240, OPTION_TYPE_STILLPANE, OPTION_TYPE_QRV_CINEMA_MODE, 0},           // series 2
      {OPTION_TYPE_QUIL_LAR_240, OPTION_TYPE_STILLPANE, OPTION_TYPE_FILM_STABILIZATION, OPTION_TYPE_QRV_CINEMA_MODE, 0},           // series 3
      {OPTION_TYPE_STILLPANE_240, OPTION_TYPE_FILM_STABILIZATION_240, OPTION_TYPE_QUIL_LAR_240, OPTION_TYPE_STILLPANE, OPTION_TYPE_QRV_CINEMA_MODE},  // any other
  };
  const int32_t* out = kOut[series >= 0 && series <= 3 ? series : 4];
  for (int32_t i = 0; i < 5; ++i)
    if (out[i]) RemoveRow(RowOf(out[i]));
}

void AdvancedPictureMenu::RefreshGrayout() {
  // Rows by their place in the table: R1 is 0, R17 is 16.
  bool off[17] = {};
  const auto set = [&off](std::initializer_list<int32_t> rows) {
    for (int32_t r : rows) off[r - 1] = true;
  };
  const int32_t t = SourceType();
  const bool w = PictureToolShown();
  if (t == kTypeVGA || t == kTypeMM) set({1, 2, 9, 10, 14, 15});
  if (t == kTypeExt) {
    if (ThreeDShown()) set({1, 2});
    if (w) set({9, 10, 14, 15});
  }
  if (t == kTypeMM || (t == kTypeExt && w)) set({6, 7, 11, 13, 16});
  ::Wrapper::Wrapper* base = BaseOf();
  if (base && base->OnGetColorManager() == 0) set({2});
  const int32_t preset = Preset();
  if (preset == 6 || preset == 7) set({9, 10, 16});
  if (base) {
    if (Structures::VideoContentInfo* info = base->GetVideoContentInfo(0)) {
      bool pcTiming = info->PCTiming != 0;
      if ((t == kTypeHDMI || t == kTypeDVI) && info->Width == 640 && info->Height == 480) pcTiming = false;
      if (pcTiming) set({9, 10});
      if (info->ContentType == 2) set({16});
    }
  }
  if (preset == 6) set({11, 12, 13, 14, 15});
  SkinBin::Wrapper* skin = SkinOf();
  if (skin && skin->OnGetSeriesType() == 3 && NonMenuSystem::Live::Is3DDisplay()) set({11});
  if (!skin || !skin->IsOptionChanged(SkinBinWrapper::GROUP_ADVANCED_PICTURE)) set({17});
  for (int32_t i = 0; i < 17; ++i) Grey(i, off[i]);
}

// --- Expert picture and white balance -----------------------------------------------------

ExpertPictureMenu::ExpertPictureMenu() { Build(kExpertPicturePage); }

void ExpertPictureMenu::RefreshGrayout() {
  const int32_t t = SourceType();
  Grey(0, t == kTypeExt || NetAppActive());
  Grey(1, t == kTypeMM || t == kTypeExt || Preset() == 0);
  SkinBin::Wrapper* skin = SkinOf();
  Grey(3, !skin || !skin->IsOptionChanged(SkinBinWrapper::GROUP_COLOR));
}

WhiteBalanceMenu::WhiteBalanceMenu() { Build(kWhiteBalancePage); }

void WhiteBalanceMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  Drop(1);
  Drop(3);
  SettingPage::Initialize(param);
}

void WhiteBalanceMenu::RefreshGrayout() {
  Grey(0, SourceType() == kTypeExt || NetAppActive());
  RefreshWBType();
}

void WhiteBalanceMenu::RefreshWBType() {
  // The setting-type row is not shown, but its option still says which
  // white balance the set uses (1: ten points).
  SubMenuItem* type = R(1);
  BindOption(type);
  auto* value = kv::Cast<SubMenuItemValue>(type);
  const bool tenPoint = value && value->Index == 1;
  Grey(2, tenPoint);
  Grey(3, !tenPoint);
}

kv::Object* WhiteBalanceMenu::HandleEvent(Core::Event* event) {
  SkinBin::Wrapper* skin = SkinOf();
  if (IsBack(event) && skin && skin->OnGetWB_WindowDisplay() != 0) skin->OnSetWB_WindowDisplay(0);
  return SettingPage::HandleEvent(event);
}

// --- RGB filter -----------------------------------------------------------------------

RGBFilterMenu::RGBFilterMenu() {
  Build(kRGBFilterPage);
  const kv::Color colours[3] = {Colors::Red, Colors::Green, Colors::Blue};
  for (int32_t i = 0; i < 3; ++i)
    if (auto* row = kv::Cast<RGBFilterOptionItem>(R(i))) row->OnSetBaseColor(colours[i]);
}

void RGBFilterMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  SettingPage::Initialize(param);
  RefreshRGBFilter(nullptr);
}

void RGBFilterMenu::RowChanged(SubMenuItem* row) { RefreshRGBFilter(row); }

void RGBFilterMenu::RefreshRGBFilter(SubMenuItem* /*changed*/) {
  // Counted from the rows each time, so a count can never drift from what
  // the rows show.
  offCount_ = 0;
  for (int32_t i = 0; i < 3; ++i)
    if (auto* row = kv::Cast<SubMenuItemValue>(R(i)); row && row->Value == 0) ++offCount_;
  for (int32_t i = 0; i < 3; ++i) {
    auto* row = kv::Cast<SubMenuItemValue>(R(i));
    Grey(i, offCount_ == 2 && row && row->Value != 0);
  }
}

kv::Object* RGBFilterMenu::HandleEvent(Core::Event* event) {
  SkinBin::Wrapper* skin = SkinOf();
  if (IsBack(event) && skin && skin->GetRGBFilter() != kAllColoursOn) skin->SetRGBFilter(kAllColoursOn);
  return SettingPage::HandleEvent(event);
}

// --- Base colours ---------------------------------------------------------------------

BaseColorAdjustmentMenu::BaseColorAdjustmentMenu() {
  // The column headings stand on a line of their own above the rows.
  HeaderHeight = kHeadingHeight;
  Build(kBaseColorPage);
  // Each row's swatch shows the colour it adjusts.
  const kv::Color colours[6] = {Colors::Red, Colors::Green, Colors::Blue, Colors::Yellow, Colors::Magenta, Colors::Cyan};
  for (int32_t i = 0; i < 6; ++i)
    if (auto* row = kv::Cast<BaseColorAdjustItem>(R(i))) row->OnSetBaseColor(colours[i]);
  ReInit();
  for (auto& h : headings_) {
    h.OnSetFont(Resources::LoadResource(Fonts::BannerDescription));
    h.OnSetColor(Colors::StandardTextColor);
    h.OnSetAlignH(1);
  }
}

void BaseColorAdjustmentMenu::ReInit() {
  SettingPage::ReInit();
  const kv::MultiTextId* ids[3] = {&S::SID_HUE, &S::SID_SATURATION, &S::SID_BRIGHTNESS};
  for (int32_t i = 0; i < 3; ++i) {
    headings_[i].OnSetString(kv::GetVariantOfString(*ids[i]));
    headings_[i].OnSetBounds({136 + 117 * i, 40, 136 + 117 * i + 115, 40 + kHeadingHeight});
  }
}

void BaseColorAdjustmentMenu::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin,
                                   int32_t opacity) {
  SettingPage::Draw(target, clip, origin, opacity);
  for (auto& h : headings_) {
    const kv::Rect r = h.Bounds();
    const kv::Rect at{origin.x + r.x1, origin.y + r.y1, origin.x + r.x2, origin.y + r.y2};
    const kv::Rect c = at.Intersect(clip);
    if (!c.IsEmpty()) h.Draw(target, c, {at.x1, at.y1}, opacity);
  }
}

// --- Sensors and super resolution -----------------------------------------------------------

AutoBrightnessSensorMenu::AutoBrightnessSensorMenu() { Build(kAutoBrightnessPage); }

void AutoBrightnessSensorMenu::RefreshGrayout() {
  Grey(0, Preset() == 0);
  SkinBin::Wrapper* skin = SkinOf();
  Grey(1, !skin || skin->OnGetAutoBrightnessSensor() != 1);
}

FinexaMenu::FinexaMenu() { Build(kFinexaPage); }

void FinexaMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  if (Preset() == 0) Rebind(R(1), OPTION_TYPE_SUPER_RESOLUTION_LEVEL_AUTO, false);
  SettingPage::Initialize(param);
}

void FinexaMenu::RefreshGrayout() {
  SkinBin::Wrapper* skin = SkinOf();
  Grey(1, !skin || skin->OnGetSuperResolutionStatus() == 0);
}

// --- Sound ----------------------------------------------------------------------------

SoundMenu::SoundMenu() { Build(kSoundPage); }

void SoundMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  SettingPage::Initialize(param);
  if (QuickMenu) ParentPage = KV_LATE_CLASS("QuickMenu::QuickMenu");
}

void SoundMenu::RefreshGrayout() {
  const int32_t type = AudioServiceType();
  const int32_t t = SourceType();
  const bool tv = t == kTypeRF || t == kTypeRFDigital;
  const bool analogueTV = tv && !NonMenuSystem::Live::CurrentChannelDigital();
  const bool source = tv || t == kTypeHDMI || t == kTypeDVI || t == kTypeExt;
  Grey(kRangeControlRow, (type != 3 && type != 4) || analogueTV || !source);
}

void SoundMenu::RowChanged(SubMenuItem* row) { UpdateSoundSettings(row); }

void SoundMenu::UpdateSoundSettings(SubMenuItem* row) {
  auto* value = kv::Cast<SubMenuItemValue>(row);
  ::Wrapper::Wrapper* w = BaseOf();
  SkinBin::Wrapper* skin = SkinOf();
  bool reload = false;
  if (value && value->Value != 0 && row == R(kDynamicVolumeRow) && skin && skin->OnGetDynamicRangeControl() != 0) {
    skin->OnSetDynamicRangeControl(0);
    reload = true;
  } else if (value && value->Value != 0 && row == R(kRangeControlRow) && w && w->OnGetDynamicVolume() != 0) {
    w->OnSetDynamicVolume(0);
    reload = true;
  }
  if (reload) LoadSettings();
  if (w && w->OnGetMute() != 0) w->OnSetMute(0);
  RefreshGrayout();
}

}  // namespace MenuSystem
