// The simulated picture and sound enhancements (xpm_enhance.h) and the
// frame-rate converter board (oam_frc.h), over the Sim's persistent state:
// "enh.<name>", "enh.<name>.<index>", "frc.local_dimming"; the light reading
// is the room's and not kept.
#include <string>

#include "platform/oam/oam_frc.h"
#include "platform/sim/sim_store.h"
#include "platform/sim/sim_tv_call.h"
#include "platform/xpm/xpm_enhance.h"
#include "runtime/trace.h"

namespace {

struct Room {
  int32_t light = 512;
};
sim::Volatile<Room> g_room;

#define ENH_ENTER(name, args)                                                 \
  static constexpr const char* kCall = name;                                  \
  sim::Sim* tv = sim::Sim::Current();                                         \
  if (auto fail = sim::EnterCall(kCall, args, XPM_ERR_NOT_READY)) return *fail; \
  if (!tv) return XPM_ERR_NOT_READY

int32_t Read(const char* call, const std::string& key, int64_t fallback, int32_t* out) {
  sim::Sim* tv = sim::Sim::Current();
  if (!out) {
    kv::Log(std::string(call) + ": no place for the answer, refused");
    return XPM_ERR_INVALID_PARAM;
  }
  *out = static_cast<int32_t>(sim::StoredNumber(*tv, key, fallback));
  return XPM_OK;
}

int32_t Write(const char* call, const std::string& key, int64_t value, int64_t min, int64_t max) {
  if (value < min || value > max) {
    kv::Log(std::string(call) + ": " + std::to_string(value) + " out of range, refused");
    return XPM_ERR_INVALID_PARAM;
  }
  return sim::StoreNumber(*sim::Sim::Current(), key, value) ? XPM_OK : XPM_ERR_FAILED;
}

bool BadIndex(const char* call, int32_t i, int32_t count) {
  if (i >= 0 && i < count) return false;
  kv::Log(std::string(call) + ": index " + std::to_string(i) + " out of range, refused");
  return true;
}

std::string At(const char* key, int32_t i) { return std::string(key) + "." + std::to_string(i); }

constexpr uint32_t kTintNeutral = 0x808080;
constexpr int32_t kRgbAllOn = 0x111111;

}  // namespace

// A stored word with its range: Get<Name>(int32_t*) / Set<Name>(int32_t).
#define ENH_WORD(Get, Set, key, fallback, min, max)                 \
  int32_t Get(int32_t* v) {                                         \
    ENH_ENTER(#Get, "");                                            \
    return Read(kCall, key, fallback, v);                           \
  }                                                                 \
  int32_t Set(int32_t v) {                                          \
    ENH_ENTER(#Set, sim::Args(v));                                  \
    return Write(kCall, key, v, min, max);                          \
  }

// The same per window (0 or 1).
#define ENH_WINDOW_WORD(Get, Set, key, fallback, min, max)          \
  int32_t Get(int32_t window, int32_t* v) {                         \
    ENH_ENTER(#Get, sim::Args(window));                             \
    if (BadIndex(kCall, window, 2)) return XPM_ERR_INVALID_PARAM;   \
    return Read(kCall, At(key, window), fallback, v);               \
  }                                                                 \
  int32_t Set(int32_t window, int32_t v) {                          \
    ENH_ENTER(#Set, sim::Args(window, v));                          \
    if (BadIndex(kCall, window, 2)) return XPM_ERR_INVALID_PARAM;   \
    return Write(kCall, At(key, window), v, min, max);              \
  }

ENH_WORD(XPM_GetFrcVideoStrength, XPM_SetFrcVideoStrength, "enh.frc_video", 0, 0, 10)
ENH_WORD(XPM_GetFrcFilmStrength, XPM_SetFrcFilmStrength, "enh.frc_film", 0, 0, 10)
ENH_WORD(XPM_GetFrcMode, XPM_SetFrcMode, "enh.frc_mode", 1, 0, 7)
// A new set filters no colour: each of red, green and blue is on (0x111111).
ENH_WORD(XPM_GetColorTemperature_RGB_Filter, XPM_SetColorTemperature_RGB_Filter, "enh.rgb_filter", kRgbAllOn, 0, 0xFFFFFF)
ENH_WORD(XPM_GetDCRBacklight, XPM_SetDCRBacklight, "enh.dcr_backlight", 0, 0, 1)
ENH_WORD(XPM_GetGammaOffset, XPM_SetGammaOffset, "enh.gamma_offset", 0, -5, 5)
ENH_WORD(XPM_GetDolbyDRC, XPM_SetDolbyDRC, "enh.dolby_drc", 1, 0, 1)
ENH_WINDOW_WORD(XPM_GetSuperResolutionLevel, XPM_SetSuperResolutionLevel, "enh.sr_number", 3, 0, 10)
ENH_WINDOW_WORD(XPM_GetRGBRange, XPM_SetRGBRange, "enh.rgb_range", 0, 0, 2)

int32_t XPM_GetCadenceMode(int32_t window, int32_t kind, int32_t* v) {
  ENH_ENTER("XPM_GetCadenceMode", sim::Args(window, kind));
  if (BadIndex(kCall, window, 2) || kind != 1) return XPM_ERR_INVALID_PARAM;
  return Read(kCall, At("enh.cadence", window), 0, v);
}

int32_t XPM_SetCadenceMode(int32_t window, int32_t kind, int32_t on) {
  ENH_ENTER("XPM_SetCadenceMode", sim::Args(window, kind, on));
  if (BadIndex(kCall, window, 2) || kind != 1) return XPM_ERR_INVALID_PARAM;
  return Write(kCall, At("enh.cadence", window), on, 0, 1);
}

int32_t XPM_GetCM3DTintForge(int32_t colour, uint32_t* word) {
  ENH_ENTER("XPM_GetCM3DTintForge", sim::Args(colour));
  if (BadIndex(kCall, colour, 6)) return XPM_ERR_INVALID_PARAM;
  int32_t v = 0;
  if (int32_t s = Read(kCall, At("enh.tintforge", colour), kTintNeutral, word ? &v : nullptr); s != XPM_OK) return s;
  *word = static_cast<uint32_t>(v);
  return XPM_OK;
}

int32_t XPM_SetCM3DTintForge(int32_t colour, uint32_t word) {
  ENH_ENTER("XPM_SetCM3DTintForge", sim::Args(colour, word));
  if (BadIndex(kCall, colour, 6)) return XPM_ERR_INVALID_PARAM;
  return Write(kCall, At("enh.tintforge", colour), word, 0, 0xFFFFFF);
}

int32_t XPM_ResetTintForge(int32_t window, int32_t preset) {
  ENH_ENTER("XPM_ResetTintForge", sim::Args(window, preset));
  std::vector<std::string> keys;
  for (int32_t c = 0; c < 6; ++c) keys.push_back(At("enh.tintforge", c));
  return tv->UpdateState({}, keys) ? XPM_OK : XPM_ERR_FAILED;
}

int32_t XPM_3DTV_Set3DLocalDimming(int32_t v) {
  ENH_ENTER("XPM_3DTV_Set3DLocalDimming", sim::Args(v));
  return Write(kCall, "enh.3d_local_dimming", v, 0, 1);
}

int32_t XPM_GetLightSensor(int32_t* v) {
  ENH_ENTER("XPM_GetLightSensor", "");
  SIM_TV_NEED(v);
  std::lock_guard<std::mutex> lock(g_room.Mutex());
  *v = g_room.Of(*tv).light;
  return XPM_OK;
}

int32_t OAM_frc_IOControl(int32_t command, int32_t argument) {
  ENH_ENTER("OAM_frc_IOControl", sim::Args(command, argument));
  if (command != OAM_FRC_LOCAL_DIMMING_ON && command != OAM_FRC_LOCAL_DIMMING_OFF) {
    kv::Log(std::string(kCall) + ": unknown command " + std::to_string(command) + ", refused");
    return OAM_ERR_INVALID_PARAM;
  }
  return sim::StoreNumber(*tv, "frc.local_dimming", command == OAM_FRC_LOCAL_DIMMING_ON) ? OAM_OK : OAM_ERR_FAILED;
}

int32_t OAM_frc_get_firmware_versionRC(OAM_FrcFirmwareVersion* version) {
  ENH_ENTER("OAM_frc_get_firmware_versionRC", "");
  if (!version) return OAM_ERR_INVALID_PARAM;
  *version = OAM_FrcFirmwareVersion{};
  version->version = static_cast<uint8_t>(sim::StoredNumber(*tv, "frc.version", 12));
  version->modelId = static_cast<uint8_t>(sim::StoredNumber(*tv, "frc.model_id", 3));
  version->panelSize = static_cast<uint8_t>(sim::StoredNumber(*tv, "frc.panel_size", 55));
  return OAM_OK;
}

namespace sim {
void SetLightSensor(Sim& tv, int32_t reading) {
  std::lock_guard<std::mutex> lock(g_room.Mutex());
  g_room.Of(tv).light = reading;
}
}  // namespace sim
