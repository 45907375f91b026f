// The simulated television's OEM properties (xpm_oem.h). Values live in the
// Sim's persistent state: "oem.<id>" for words, "oem.49.<mode>.<point>",
// "oem.54.<mode>.<source>.<i>", "oem.94.<mode>" and "oem.path.<path>.<id>".
// A value never written reads as its default below.
#include <cstring>
#include <string>

#include "platform/sim/sim.h"
#include "platform/xpm/xpm_oem.h"
#include "runtime/trace.h"

namespace {

#define OEM_ENTER(name, args)                                                   \
  sim::Sim* tv = sim::Sim::Current();                                          \
  if (auto fail = sim::EnterCall(name, args, XPM_ERR_NOT_READY)) return *fail; \
  if (!tv) return XPM_ERR_NOT_READY

// The white-balance record: gains then offsets, each 0..100 as the sliders.
constexpr int32_t kWhiteBalanceDefault[6] = {50, 50, 50, 50, 50, 50};
constexpr int32_t kWhiteBalanceMax = 100;
constexpr int32_t kSources = 30;

bool IsWordProperty(int32_t id) {
  switch (id) {
    case 12: case 18: case 35: case 36: case 37: case 38: case 47: case 50: case 51: case 52: case 53:
    case 57: case 58: case 59: case 60: case 61: case 62: case 63: case 64: case 65: case 66:
    case 67: case 68: case 69: case 70: case 71: case 72: case 73: case 74: case 75:
    case 94: case 95: case 96: case 98: case 99: case 101: case 103: case 105: case 107:
    case 108: case 109: case 110: case 111: case 112:
      return true;
    default:
      return false;
  }
}

bool IsRecordProperty(int32_t id) { return id == 49 || id == 54 || id == 55 || id == 56; }

int32_t DefaultWord(int32_t id) {
  switch (id) {
    case XPM_OEM_ADC_CALIB_RESULT: return 1;  // calibration OK
    case XPM_OEM_PANEL_CODE: return 1;        // a set without 3D
    case XPM_OEM_VIDEO_OUTPUT_MODE: return 1;
    case XPM_OEM_TVM_VERSION: return 0x103;
    default: return 0;
  }
}

int32_t ReadInt(sim::Sim* tv, const std::string& key, int32_t fallback) {
  const std::string v = tv->GetState(key);
  if (v.empty()) return fallback;
  try {
    return static_cast<int32_t>(std::stol(v));
  } catch (...) {
    kv::Log("XPM OEM: bad stored value for " + kv::EscapedText(key) + ",, default used");
    return fallback;
  }
}

std::string Key(int32_t id) { return "oem." + std::to_string(id); }
std::string WbKey(int32_t mode, int32_t source, int32_t i) {
  return "oem.54." + std::to_string(mode) + "." + std::to_string(source) + "." + std::to_string(i);
}
std::string CurveKey(int32_t mode, int32_t point) {
  return "oem.49." + std::to_string(mode) + "." + std::to_string(point);
}

// The backlight curve's eleven points, one per tenth of the ambient-light
// range: a new set (and a reset) rises evenly from 30 in the dark to 100 in
// the brightest room.
constexpr int32_t kCurvePoints = 11;
constexpr int32_t kCurveDarkest = 30;
constexpr int32_t kCurveBrightest = 100;
int32_t DefaultCurvePoint(int32_t point) {
  return kCurveDarkest + (kCurveBrightest - kCurveDarkest) * point / (kCurvePoints - 1);
}
bool BadCurvePoint(int32_t point, const char* call) {
  if (point >= 0 && point < kCurvePoints) return false;
  kv::Log(std::string(call) + ": backlight curve point " + std::to_string(point) + " outside 0.." +
          std::to_string(kCurvePoints - 1) + ", refused");
  return true;
}

std::string RecordArgs(int32_t id, const void* record) {
  if (!record) return sim::Args(id, static_cast<const char*>(nullptr));
  const auto* w = static_cast<const int32_t*>(record);
  switch (id) {
    case 49: return sim::Args(id, w[0], w[1], w[2]);
    case 54: return sim::Args(id, w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7]);
    default: return sim::Args(id, w[0], w[1]);
  }
}

}  // namespace

int32_t XPM_GetExtOemProperty(int32_t id, int32_t* inOut) {
  OEM_ENTER("XPM_GetExtOemProperty", sim::Args(id, inOut ? *inOut : 0));
  if (!inOut || !IsWordProperty(id)) return XPM_ERR_INVALID_PARAM;
  if (id == XPM_OEM_ADC_CALIB_RESULT) {
    *inOut = ReadInt(tv, Key(id) + "." + std::to_string(*inOut), DefaultWord(id));
  } else if (id == XPM_OEM_AUTO_BRIGHTNESS_SENSOR) {
    const int32_t mode = static_cast<int32_t>(static_cast<uint32_t>(*inOut) >> 16);
    *inOut = ReadInt(tv, Key(id) + "." + std::to_string(mode), 0) & 0xFFFF;
  } else {
    *inOut = ReadInt(tv, Key(id), DefaultWord(id));
  }
  return XPM_OK;
}

int32_t XPM_SetExtOemProperty(int32_t id, int32_t value) {
  OEM_ENTER("XPM_SetExtOemProperty", sim::Args(id, value));
  if (!IsWordProperty(id) || id == XPM_OEM_ADC_CALIB_RESULT) return XPM_ERR_INVALID_PARAM;
  if (id == XPM_OEM_BACKLIGHT_CURVE_RESET) {
    std::vector<std::string> erase;
    for (const auto& [key, v] : tv->StateWithPrefix("oem.49.")) erase.push_back(key);
    tv->UpdateState({}, erase);
    return XPM_OK;
  }
  if (id == XPM_OEM_AUTO_BRIGHTNESS_SENSOR) {
    const int32_t mode = static_cast<int32_t>(static_cast<uint32_t>(value) >> 16);
    tv->SetState(Key(id) + "." + std::to_string(mode), std::to_string(value & 0xFFFF));
    return XPM_OK;
  }
  tv->SetState(Key(id), std::to_string(value));
  return XPM_OK;
}

int32_t XPM_GetExtOemProperty(int32_t id, void* record) {
  OEM_ENTER("XPM_GetExtOemProperty", RecordArgs(id, record));
  if (!record || (id != 49 && id != 54)) return XPM_ERR_INVALID_PARAM;
  if (id == 49) {
    auto* r = static_cast<XPM_OemBacklightPoint*>(record);
    if (BadCurvePoint(r->point, "XPM_GetExtOemProperty")) return XPM_ERR_INVALID_PARAM;
    r->value = ReadInt(tv, CurveKey(r->pictureMode, r->point), DefaultCurvePoint(r->point));
    return XPM_OK;
  }
  auto* r = static_cast<XPM_OemWhiteBalance*>(record);
  for (int32_t i = 0; i < 6; ++i) r->values[i] = ReadInt(tv, WbKey(r->pictureMode, r->source, i), kWhiteBalanceDefault[i]);
  return XPM_OK;
}

int32_t XPM_SetExtOemProperty(int32_t id, const void* record) {
  OEM_ENTER("XPM_SetExtOemProperty", RecordArgs(id, record));
  if (!record || !IsRecordProperty(id)) return XPM_ERR_INVALID_PARAM;
  std::map<std::string, std::string> set;
  std::vector<std::string> erase;
  if (id == 49) {
    const auto* r = static_cast<const XPM_OemBacklightPoint*>(record);
    if (BadCurvePoint(r->point, "XPM_SetExtOemProperty")) return XPM_ERR_INVALID_PARAM;
    if (r->value < 0 || r->value > kCurveBrightest) {
      kv::Log("XPM_SetExtOemProperty: backlight level " + std::to_string(r->value) + " outside 0.." +
              std::to_string(kCurveBrightest) + ", refused");
      return XPM_ERR_INVALID_PARAM;
    }
    set[CurveKey(r->pictureMode, r->point)] = std::to_string(r->value);
  } else if (id == 54) {
    const auto* r = static_cast<const XPM_OemWhiteBalance*>(record);
    for (int32_t i = 0; i < 6; ++i)
      if (r->values[i] < 0 || r->values[i] > kWhiteBalanceMax) {
        kv::Log("XPM_SetExtOemProperty: white balance value " + std::to_string(r->values[i]) + " outside 0.." +
                std::to_string(kWhiteBalanceMax) + ", refused");
        return XPM_ERR_INVALID_PARAM;
      }
    for (int32_t i = 0; i < 6; ++i) set[WbKey(r->pictureMode, r->source, i)] = std::to_string(r->values[i]);
  } else {
    const auto* r = static_cast<const XPM_OemPictureSource*>(record);
    for (int32_t i = 0; i < 6; ++i) {
      const int32_t v = ReadInt(tv, WbKey(r->pictureMode, r->source, i), kWhiteBalanceDefault[i]);
      if (id == 56) {
        erase.push_back(WbKey(r->pictureMode, r->source, i));
        continue;
      }
      for (int32_t s = 0; s < kSources; ++s) set[WbKey(r->pictureMode, s, i)] = std::to_string(v);
    }
  }
  tv->UpdateState(set, erase);
  return XPM_OK;
}

int32_t XPM_GetExtOemPathProperty(int32_t path, int32_t id, int32_t* out) {
  OEM_ENTER("XPM_GetExtOemPathProperty", sim::Args(path, id));
  if (!out) return XPM_ERR_INVALID_PARAM;
  *out = ReadInt(tv, "oem.path." + std::to_string(path) + "." + std::to_string(id), 0);
  return XPM_OK;
}

int32_t XPM_SetExtOemPathProperty(int32_t path, int32_t id, int32_t value) {
  OEM_ENTER("XPM_SetExtOemPathProperty", sim::Args(path, id, value));
  tv->SetState("oem.path." + std::to_string(path) + "." + std::to_string(id), std::to_string(value));
  return XPM_OK;
}

int32_t XPM_Utility_GlowSync_ForceApply(void) {
  OEM_ENTER("XPM_Utility_GlowSync_ForceApply", "");
  return XPM_OK;
}

int32_t XPM_GetPowerOnTime(uint32_t* hours) {
  OEM_ENTER("XPM_GetPowerOnTime", "");
  if (!hours) return XPM_ERR_INVALID_PARAM;
  *hours = static_cast<uint32_t>(ReadInt(tv, "oem.power_on_hours", 0));
  return XPM_OK;
}

int32_t XPM_SetBack2TVSourceID(int32_t source) {
  OEM_ENTER("XPM_SetBack2TVSourceID", sim::Args(source));
  if (source < 0 || source >= kSources) return XPM_ERR_INVALID_PARAM;
  tv->SetState("back_to_tv_source", std::to_string(source));
  return XPM_OK;
}

int32_t XPM_SetUILanguage(const char* code) {
  OEM_ENTER("XPM_SetUILanguage", sim::Args(code));
  if (!code || std::strlen(code) != 3) return XPM_ERR_INVALID_PARAM;
  tv->SetState("cec.ui_language", code);
  return XPM_OK;
}
