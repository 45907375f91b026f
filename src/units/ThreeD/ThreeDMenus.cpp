#include "units/ThreeD/ThreeDMenus.h"

#include "strings/MenuSystemPages.h"
#include "strings/Strings.h"
#include "strings/ThreeD.h"
#include "units/Constants/ConfirmTypes.h"
#include "units/MenuSystem/MenuItems.h"
#include "units/MenuSystem/SettingPages.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/Setup3D.h"
#include "units/SkinBin/Wrapper.h"
#include "units/ThreeD/ThreeDScreens.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(ThreeD::ThreeDMenu);
KV_REGISTER_CLASS(ThreeD::ThreeDSafetyMenu);
KV_REGISTER_CLASS(ThreeD::ThreeDPinMenu);

namespace ThreeD {

namespace {

using MenuSystem::ClassOf;
using MenuSystem::Page;
using MenuSystem::PageLayout;
using MenuSystem::RowDef;
using K = MenuSystem::RowKind;
using namespace SkinBin;

// PIN types of the PIN dialogs.
constexpr int32_t kChangePinType3D = 2;
constexpr int32_t kEnterPinType3DPinSetting = 9;
constexpr int32_t kEnterPinType3DSafeMenu = 10;

const ClassOf kBar = MS_TARGET(KV_LATE_CLASS("NonMenuSystem::AdjustmentBar"));
const ClassOf kEnterPin = MS_TARGET(KV_LATE_CLASS("NonMenuSystem::EnterPinDialog"));
const ClassOf kChangePin = MS_TARGET(KV_LATE_CLASS("NonMenuSystem::ChangePinDialog"));
const ClassOf kConfirm = MS_TARGET(MenuSystem::ConfirmDialog());
const ClassOf kPreferences = MS_TARGET(&MenuSystem::PreferencesMenu::StaticClass());
const ClassOf kThreeD = MS_TARGET(&ThreeDMenu::StaticClass());

// Rows of the 3D setup page, in table order.
enum { kDepthRow, kAutoStartRow, kPinRow, kSafetyRow, kInfoRow };
const RowDef kThreeDRows[] = {
    {K::Slider, &SID_2D_3D_Depth, OPTION_TYPE_2D_3D_DEPTH, kBar, true},
    {K::Select, &SID_3D_AUTO_START, OPTION_TYPE_3D_AUTO_START},
    {K::Link, &Strings::SID_3D_PIN, kChangePinType3D, kChangePin},
    {K::Link, &SID_3D_SAFETY_SETTINGS, kEnterPinType3DSafeMenu, kEnterPin},
    {K::Link, &SID_3D_INFORMATION, 0, MS_TARGET(&ImportantInfoDialog::StaticClass())},
};
const PageLayout kThreeDPage =
    Page(WinIDs::WIN_ID_ThreeDMenu, &MenuSystemPages::SID_3D_SETUP, 4, kPreferences, kThreeDRows);

enum { kStartMessageRow, kLockRow, kTimerLockRow, kTimerRow };
const RowDef kSafetyRows[] = {
    {K::Select, &SID_3D_START_MESSAGE, OPTION_TYPE_3D_START_MESSAGE},
    {K::Select, &SID_3D_LOCK, OPTION_TYPE_3D_LOCK},
    {K::Select, &SID_3D_TIMER_LOCK, OPTION_TYPE_3D_TIMER_LOCK},
    {K::Select, &SID_ENABLE_3D_TIMER, OPTION_TYPE_ENABLE_3D_TIMER},
};
const PageLayout kSafetyPage =
    Page(WinIDs::WIN_ID_ThreeDSafetyMenu, &SID_3D_SAFETY_SETTINGS, 5, kThreeD, kSafetyRows);

const RowDef kPinRows[] = {
    {K::Link, &MenuSystemPages::SID_CHANGE_PIN, kChangePinType3D, kChangePin},
    {K::Link, &MenuSystemPages::SID_DELETE_PIN, Constants::ConfirmTypeDelete3DPin, kConfirm},
};
const PageLayout kPinPage = Page(WinIDs::WIN_ID_ThreeDPinMenu, &Strings::SID_3D_PIN, 5, kThreeD, kPinRows);

}  // namespace

// --- 3D setup ---------------------------------------------------------------------------

ThreeDMenu::ThreeDMenu() { Build(kThreeDPage); }

void ThreeDMenu::RefreshGrayout() {
  SkinBin::Wrapper* skin = MenuSystem::SkinOf();
  bool depth = false;
  bool pin = false;
  if (skin) {
    skin->Setup3D.RefreshState();
    depth = skin->Setup3D.State == Setup3D_State_2Dto3D && skin->Setup3D.Mode == OAM_3D_MODE_2D;
    pin = skin->Is3DPinExisting();
  }
  Grey(kDepthRow, !depth);
  // Without a 3D PIN the row asks for a new one; with one, for the PIN first.
  R(kPinRow)->OnSetNextState(pin ? kEnterPin() : kChangePin());
  R(kPinRow)->OptionType = pin ? kEnterPinType3DPinSetting : kChangePinType3D;
  Grey(kSafetyRow, !pin);
}

// --- 3D safety --------------------------------------------------------------------------

ThreeDSafetyMenu::ThreeDSafetyMenu() { Build(kSafetyPage); }

void ThreeDSafetyMenu::RefreshGrayout() {
  SkinBin::Wrapper* skin = MenuSystem::SkinOf();
  const bool locked = skin && skin->OnGetThreeDLock() != 0;
  if (skin && !locked && skin->OnGetThreeDTimerLock() != 0) {
    skin->OnSetThreeDTimerLock(0);
    LoadSettings();
  }
  Grey(kTimerLockRow, !locked);
}

// --- 3D PIN -----------------------------------------------------------------------------

ThreeDPinMenu::ThreeDPinMenu() { Build(kPinPage); }

}  // namespace ThreeD
