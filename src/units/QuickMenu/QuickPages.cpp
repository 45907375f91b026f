#include "units/QuickMenu/QuickPages.h"

#include "keys/keycodes.h"
#include "runtime/slot.h"
#include "strings/QuickMenu.h"
#include "units/Constants/ConfirmTypes.h"
#include "units/MediaPlayer/PhotoFullViewBanner.h"
#include "units/MediaPlayer/PhotoSingleView.h"
#include "strings/ThreeD.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Core/Event.h"
#include "units/Events/StatusEvent.h"
#include "units/Media/MediaEvents.h"
#include "units/Media/MediaWrapper.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/OptionDatabase/OptionTypes.h"
#include "units/QuickMenu/QuickItems.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/Wrapper.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(QuickMenu::QuickPage);
KV_REGISTER_CLASS(QuickMenu::PictureMenu);
KV_REGISTER_CLASS(QuickMenu::AudioMenu);
KV_REGISTER_CLASS(QuickMenu::MediaEventPage);
KV_REGISTER_CLASS(QuickMenu::BgMusicMenu);
KV_REGISTER_CLASS(QuickMenu::ScaleWindowMenu);
KV_REGISTER_CLASS(QuickMenu::Quick3DSettings);

namespace QuickMenu {

using namespace keys;

using namespace OptionDatabase;
using namespace SkinBin;
using ::ThreeD::SID_2D_3D_Depth;
using ::ThreeD::SID_2D_FORMAT_SELECT;
using ::ThreeD::SID_3D_FORMAT_SELECT;
using ::ThreeD::SID_LEFT_RIGHT_IMAGE;

namespace {

const kv::Class* Slider() { return &QuickSliderItemSelect::StaticClass(); }
const kv::Class* Option() { return &QuickOptionItemSelect::StaticClass(); }
const kv::Class* Item() { return &QuickMenuItem::StaticClass(); }
const kv::Class* Confirm() { return KV_LATE_CLASS("NonMenuSystem::ConfirmMultiOptionDialog"); }
kv::String Text(const kv::MultiTextId& id) { return kv::GetVariantOfString(id); }

WidgetManager::WidgetManager* Manager() {
  return kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
}
}  // namespace

// --- QuickPage -----------------------------------------------------------------------

QuickPage::QuickPage() { PrevState = &QuickMenu::StaticClass(); }

void QuickPage::Setup(const kv::MultiTextId& caption, uint32_t winId, kv::Point at, kv::Point size) {
  OnSetCaption(Text(caption));
  if (winId) WinID = winId;
  WidgetOrigin = at;
  // The size is that of the framed dialog; without the frame's margin the
  // page is 2 x 34 pixels smaller each way.
  KeyRoutingForm::OnSetBounds({0, 0, size.x, size.y});
  OnSetFrameWidth(0);
}

void QuickPage::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  PrevState = &QuickMenu::StaticClass();
  LoadSettings();
  SelectFirst();
}

PictureMenu::PictureMenu() {
  Setup(SID_PIC_SETTINGS, 0, {10, 246}, {434, 352});
  AddRow(Slider(), Text(SID_BRIGHTNESS), OPTION_TYPE_BRIGHTNESS, nullptr);
  AddRow(Slider(), Text(SID_CONTRAST), OPTION_TYPE_CONTRAST, nullptr);
  AddRow(Slider(), Text(SID_SATURATION), OPTION_TYPE_COLOR, nullptr);
  AddRow(Slider(), Text(PictureSettingHue), OPTION_TYPE_TINT, nullptr);
  AddRow(Slider(), Text(PictureSettingColorTemperature), OPTION_TYPE_COLOR_TEMPERATURE, nullptr);
  AddRow(Slider(), Text(SID_DYNAMIC_CONTRAST), OPTION_TYPE_DYNAMIC_CONTRAST, nullptr);
  AddRow(Option(), Text(PictureMenuColorEnhancement), OPTION_TYPE_COLOR_MANAGER, nullptr);
  AddRow(Item(), Text(SID_RESET), Constants::ConfirmTypeResetAllPictureSettings, Confirm());
}

AudioMenu::AudioMenu() {
  Setup(SID_AUDIO_SETTINGS, 0, {10, 246}, {434, 352});
  AddRow(Slider(), Text(SID_TREBLE), OPTION_TYPE_TREBLE, nullptr);
  AddRow(Slider(), Text(SID_BASS), OPTION_TYPE_BASS, nullptr);
  AddRow(Slider(), Text(SID_BALANCE), OPTION_TYPE_BALANCE, nullptr);
  AddRow(Option(), Text(AudioMenuEqualizer), OPTION_TYPE_EQUALIZER, nullptr);
  AddRow(Slider(), Text(SID_LIP_SYNC), OPTION_TYPE_LIP_SYNC, nullptr);
  AddRow(Option(), Text(AudioMenuOpticalOut), OPTION_TYPE_SPDIF_FORMAT, nullptr);
  AddRow(Option(), Text(AudioMenuAVLSet), OPTION_TYPE_AUTO_VOLUME_LEVEL, nullptr);
  AddRow(Item(), Text(SID_RESET), Constants::ConfirmTypeResetAudio, Confirm());
}

// --- Pages over the slide show ---------------------------------------------------------

kv::Object* MediaEventPage::HandleEvent(Core::Event* event) {
  if (kv::Cast<Media::PictureEvent>(event) || kv::Cast<Events::StatusEvent>(event)) {
    // The viewer behind takes the picture and status events, so that its
    // pictures and show stay current (the show itself pauses while the page
    // has the keys and plays on when it closes); without a viewer the event
    // ends here, so that nothing (a media-open confirmation) pops over the page.
    if (auto* view = Manager()->FindForm(WinIDs::WIN_ID_PhotoSingleView)) view->HandleEvent(event);
    return this;
  }
  return QuickPage::HandleEvent(event);
}

BgMusicMenu::BgMusicMenu() {
  Setup(SID_BACKGROUND_MUSIC, WinIDs::WIN_ID_BGM_SETUP_MENU, {10, 410}, {434, 188});
  auto* onOff = kv::Cast<QuickOptionItemSelect>(AddRow(Option(), Text(SID_BACKGROUND_MUSIC), OPTION_TYPE_BGM_ONOFF, nullptr));
  if (onOff) onOff->OnValueChanged = kv::MakeSlot(this, &BgMusicMenu::BgmChange);
  AddRow(Item(), Text(SID_SELECT_MUSIC), 0, KV_LATE_CLASS("MediaPlayer::SelectBGMusicDialog"));
}

void BgMusicMenu::BgmChange(kv::Object*) {
  auto* media = kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper);
  SkinBin::Wrapper* skin = NonMenuSystem::Live::Skin();
  if (!skin || !media) return;
  if (skin->OnGetBackgroundMusicOnOff() != 1) {
    media->RequestBgmStop();
    media->BgmReset();
  } else if (skin->OnGetIsSlideshow() && media->IsBgmSelected()) {
    media->RequestBgmPlay();
  }
  if (auto* viewer = kv::Cast<MediaPlayer::PhotoSingleView>(Manager()->FindForm(WinIDs::WIN_ID_PhotoSingleView)))
    if (MediaPlayer::PhotoFullViewBanner* banner = viewer->Banner()) banner->OnSetIsBGM(media->IsBgmPlaying());
}

ScaleWindowMenu::ScaleWindowMenu() {
  Setup(InputMenuPCSettings, WinIDs::WIN_ID_BGM_SETUP_MENU, {10, 330}, {434, 268});
  const kv::Slot changed = kv::MakeSlot(this, &ScaleWindowMenu::DoValueChanged);
  const struct {
    const kv::MultiTextId* caption;
    int32_t option;
  } rows[] = {{&SCALE_HPOS, OPTION_TYPE_WINDOW_HPOS},
              {&SCALE_VPOS, OPTION_TYPE_WINDOW_VPOS},
              {&HSize, OPTION_TYPE_WINDOW_HSIZE},
              {&VSize, OPTION_TYPE_WINDOW_VSIZE}};
  for (const auto& r : rows)
    if (auto* row = kv::Cast<QuickSliderItemSelect>(AddRow(Slider(), Text(*r.caption), r.option, nullptr)))
      row->OnValueChanged = changed;
  AddRow(Item(), Text(SID_RESET), Constants::ConfirmTypeResetScaleWindow, Confirm());
}

void ScaleWindowMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  if (Manager()->FindForm(WinIDs::WIN_ID_PhotoMultiView) || Manager()->FindForm(WinIDs::WIN_ID_MovieListView) ||
      Manager()->FindForm(WinIDs::WIN_ID_MusicListView))
    frame_.OnSetBitmap(Resources::LoadResource(Bitmaps::MediaQuickMenuBg));
  MediaEventPage::Initialize(param);
}

void ScaleWindowMenu::DoValueChanged(kv::Object*) {
  Primitives::KeyRoutingForm* list = Manager()->FindForm(WinIDs::WIN_ID_MovieListView);
  if (!list) return;
  // The preview follows the movie list's preview area; until the movie
  // screens give theirs, that is the list's own rectangle.
  const kv::Rect r = list->Bounds();
  kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper)->SetVideoPreviewWindow(r.x1, r.y1, r.W(), r.H());
}

// --- Quick3DSettings -------------------------------------------------------------------

Quick3DSettings::Quick3DSettings() {
  WinID = WinIDs::WIN_ID_Quick3DSettings;
  Layer = kQuickLayer;
  PrevState = &QuickMenu::StaticClass();
  OnSetCaption(Text(SID_3D_SETTINGS));
  KeyRoutingForm::OnSetBounds({0, 0, 390, 170});
  WidgetOrigin = {20, 520 - 170};
  const struct {
    const kv::Class* cls;
    const kv::MultiTextId* caption;
    int32_t option;
    const kv::Class* next;
  } rows[] = {
      {Item(), &SID_3D_FORMAT_SELECT, 0, KV_LATE_CLASS("ThreeD::SelectFormat")},
      {Item(), &SID_2D_FORMAT_SELECT, 0, KV_LATE_CLASS("ThreeD::Select2DFormat")},
      {&QuickSliderItem::StaticClass(), &SID_2D_3D_Depth, OPTION_TYPE_2D_3D_DEPTH,
       KV_LATE_CLASS("NonMenuSystem::AdjustmentBar")},
      {Option(), &SID_LEFT_RIGHT_IMAGE, OPTION_TYPE_3D_LEFT_RIGHT_IMAGE, nullptr},
  };
  for (const auto& r : rows) {
    auto* row = kv::Cast<QuickMenuItem>(kv::NewObjectIndirect(r.cls));
    row->OnSetText(Text(*r.caption));
    row->OptionType = r.option;
    row->NextState = r.next;
    row->OnActivate = kv::MakeSlot(this, &Quick3DSettings::DoActivateSlot);
    if (auto* slider = kv::Cast<QuickSliderItem>(row)) slider->OnSetSliderMiddlePoint(false);
    Add(row);
  }
}

void Quick3DSettings::Initialize(Primitives::KeyRoutingParameter* param) {
  BorderWidgetClass::Initialize(param);
  PrevState = &QuickMenu::StaticClass();
  SkinBin::Wrapper* skin = NonMenuSystem::Live::Skin();
  if (!skin) return;
  Setup3D& s = skin->Setup3D;
  s.RefreshState();
  const bool display3D = Setup3D::Is3DDisplay(s.State);
  bool format = true, format2D = true, depth = true, leftRight = true;
  if (s.State != Setup3D_State_2Dto3D) {
    format = leftRight = depth = false;
  } else if (s.Mode != OAM_3D_MODE_2D) {
    depth = false;
  } else {
    format = leftRight = false;
  }
  if (display3D) format2D = false;
  if (NonMenuSystem::Live::NetApp() && !NonMenuSystem::Live::IsDemoFlash()) format = format2D = leftRight = false;
  // An input that reports a 3D format has a 3D signal.
  const bool signal = s.IsFormatSupported() ||
                      (NonMenuSystem::Live::OnTuner() && NonMenuSystem::Live::CurrentChannelDigital());
  if (!signal) format2D = false;
  const bool enabled[] = {format, format2D, depth, leftRight};
  for (int32_t i = 0; i < 4; ++i)
    if (auto* row = kv::Cast<QuickMenuItem>(GetCtrlAt(i))) row->OnSetIsDisabled(!enabled[i]);
  for (int32_t i = 0; i < GetChildCount(); ++i) {
    if (auto* option = kv::Cast<QuickOptionItem>(GetChild(i))) {
      option->LoadSetting();
      option->OnResetTimeout = kv::MakeSlot(this, &Quick3DSettings::ResetTimeoutSlot);
    } else if (auto* slider = kv::Cast<QuickSliderItem>(GetChild(i))) {
      slider->LoadSetting();
    }
  }
  SelectFirst();
}

void Quick3DSettings::Refresh() {
  BorderWidgetClass::Refresh();
  int32_t y = 36;
  for (int32_t i = 0; i < GetChildCount(); ++i)
    if (auto* row = kv::Cast<QuickMenuItem>(GetChild(i))) {
      row->OnSetBounds({20, y, 20 + kRowWidth, y + kRowHeight});
      y += kRowHeight + 4;
    }
}

kv::Object* Quick3DSettings::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && (key->Code == KEY_UP || key->Code == KEY_DOWN)) {
    if (key->Code == KEY_DOWN ? !SelectNext() : !SelectPrev()) key->Code == KEY_DOWN ? SelectFirst() : SelectLast();
    ResetTimeout();
    return this;
  }
  return BorderWidgetClass::HandleEvent(event);
}

void Quick3DSettings::DoActivateSlot(kv::Object* sender) {
  auto* row = kv::Cast<QuickMenuItem>(sender);
  if (!row || !row->NextState || row->OnGetIsDisabled()) return;
  // The 2D format needs the screen: the widget application ends first.
  if (row->NextState == KV_LATE_CLASS("ThreeD::Select2DFormat")) NonMenuSystem::Live::TerminateYahooApp();
  Close();
  OpenState(row->NextState, KvClass());
}

}  // namespace QuickMenu
