#include "units/MainApp/AppData.h"

#include "runtime/string.h"
#include "strings/MainApp.h"
#include "strings/SkinBinWrapper.h"
#include "units/PersistentData/PersistentData.h"

namespace MainApp {

namespace {

enum class Kind { kInt, kBool, kString };

struct Default {
  kv::TextId key;
  Kind kind;
  int32_t value;  // integers and the bool; strings are empty
};

// The defaults, in the order of their values. A setting not listed reads
// 0, false or empty. The setup step 0 sends a fresh (or reset) set through
// the first-time setup; -1 is "no source" for the auto-input choices; 111
// shows the history, antenna/cable, inputs and favourites lists of the
// channel browser (bits 0-3, 5, 6) without the CEC link list (bit 4);
// 0x3fffff is "never" for the no-signal power-down; the empty PIN is "no PIN";
// a new set shows the 3D information at each 3D start until the viewer
// chooses "Do not display again".
constexpr Default kDefaults[] = {
    {KEY_SETUP_STEP, Kind::kInt, 0},
    // The key the skin Wrapper reads the channel-browser lists under.
    {SkinBinWrapper::KEY_CB_LISTS, Kind::kInt, 111},
    {KEY_CURRENT_CB_LIST, Kind::kInt, 0},
    {KEY_AUTO_INPUT_CABLE_SAT, Kind::kInt, -1},
    {KEY_AUTO_INPUT_BD_DVD, Kind::kInt, -1},
    {KEY_AUTO_INPUT_AUX, Kind::kInt, -1},
    {KEY_ENABLE_AUTO_INPUT, Kind::kInt, 1},
    {KEY_HDMI_INFORMATION_DISPLAY, Kind::kInt, 1},
    {KEY_NAVIGATION, Kind::kInt, 1},
    {KEY_AUTOMATIC_POWER_DOWN, Kind::kInt, 1},
    {KEY_NO_SIGNAL_POWER_DOWN, Kind::kInt, 0x3fffff},
    {KEY_MAX_VOLUME_SETUP, Kind::kInt, 50},
    {KEY_MEDIA_RENDERER, Kind::kInt, 1},
    {KEY_SCREEN_SAVER_DELAY, Kind::kInt, 30},
    {KEY_ENABLE_DLNA, Kind::kInt, 1},
    {KEY_USB_SD_AUTO_START, Kind::kInt, 1},
    {KEY_THREED_START_MESSAGE, Kind::kInt, 1},
    {SkinBinWrapper::KEY_3D_DISPLAY_INFO, Kind::kInt, 1},
    {KEY_THREED_AUTO_START, Kind::kInt, 1},
    {KEY_AMPLIFIER_CONTROL, Kind::kInt, 1},
    {KEY_REMAIN_3D_CONTINUAL_TIME, Kind::kInt, 30},
    {KEY_MM_SORT_MODE, Kind::kInt, 0},
    {KEY_PHOTO_BROWSE_MODE, Kind::kInt, 0},
    {KEY_RETAIL_MODE, Kind::kBool, 0},
    {KEY_PIN, Kind::kString, 0},
};
static_assert(std::size(kDefaults) == 25);

}  // namespace

void WriteDefaultAppData(PersistentData::PersistentData* data) {
  if (!data) return;
  for (const Default& d : kDefaults) {
    switch (d.kind) {
      case Kind::kInt:
        data->PutInteger(d.key, d.value);
        break;
      case Kind::kBool:
        data->PutBool(d.key, d.value != 0);
        break;
      case Kind::kString:
        data->PutString(d.key, kv::String());
        break;
    }
  }
}

}  // namespace MainApp
