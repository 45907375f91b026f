// The picture and sound commands: white-balance drives, direct values,
// picture modes, backlight, sound settings, audio return channel, super
// resolution, motion smoothing, ADC calibration, 3D, LED and HDMI-switch
// tests, standby, the sound status dump, and the picture reset with its
// source restore.
#include "factory/internal.h"
#include "platform/oam/oam_factory.h"
#include "platform/oam/oam_model.h"
#include "platform/xpm/xpm_audio_service.h"
#include "platform/xpm/xpm_cec3d.h"
#include "platform/xpm/xpm_enhance.h"
#include "platform/xpm/xpm_oem.h"
#include "platform/xpm/xpm_settings.h"
#include "runtime/object.h"

namespace factory {

namespace {

constexpr int32_t kRedGain = 57;   // OAM_PROP_SRV_COLORTEMP_RGAIN
constexpr int32_t kBlueGain = 59;  // OAM_PROP_SRV_COLORTEMP_BGAIN
constexpr int32_t kDriveMax = 255;
constexpr int32_t kPatternSource = 11;
constexpr uint32_t kRestoreDone = 0x40EA42BD;

struct Drive {
  int32_t property;
  const char* name;
  const char* setError;
  const char* getError;
};
constexpr Drive kDrives[] = {
    {kRedGain, "RDRV", "OAM_SetCustomizedProperty OAM_PROP_SRV_COLORTEMP_RGAIN",
     "OAM_GetCustomizedProperty OAM_PROP_SRV_COLORTEMP_RGAIN"},
    {kBlueGain, "BDRV", "OAM_SetCustomizedProperty OAM_PROP_SRV_COLORTEMP_BGAIN",
     "OAM_GetCustomizedProperty OAM_PROP_SRV_COLORTEMP_BGAIN"},
};

int32_t LowByte(uint32_t code) { return static_cast<int32_t>(code & 0xFF); }

int32_t SetDrive(Context& c, const Drive& d) {
  const int32_t v = LowByte(c.code);
  CallOk(d.setError, OAM_SetCustomizedProperty(d.property, v));
  SetResultDisplayValue(d.name, v, c.result);
  return 1;
}

// Reads a drive; false (with its error line) when the read failed.
bool ReadDrive(const Drive& d, int32_t* value) {
  *value = 0;
  if (CallOk(d.getError, OAM_GetCustomizedProperty(d.property, value))) return true;
  *value = 0;
  return false;
}

int32_t ShowDrive(Context& c, const Drive& d) {
  int32_t v = 0;
  ReadDrive(d, &v);  // a failed read shows 0
  SetResultDisplayValue(d.name, v, c.result);
  return 1;
}

const kv::Class* Menu(const char* name) { return ClassNamed(name); }

int32_t ShowMenu(Context& c, const char* menu, int32_t index) {
  SetResultDisplayMenu(Menu(menu), index, c.result);
  return 1;
}

int32_t LargeMessage(Context& c, const char* text, int32_t param) {
  SetResultDisplayMessage(ClassNamed("FactorySystem::LargeMessage"), text, param, c.result);
  return 1;
}

int32_t SetBacklightByPreset(int32_t whenZero, int32_t otherwise) {
  int32_t preset = 0;
  if (!CallOk("XPM_GetVideoPreset", XPM_GetVideoPreset(0, &preset))) return 0;
  return CallOk("XPM_SetBacklight", XPM_SetBacklight(preset == 0 ? whenZero : otherwise)) ? 1 : 0;
}

int32_t SetArc(Context& c, int32_t on) {
  int32_t port = 1;
  CallOk("OAM_hdmiswitch_GetARCPort", OAM_hdmiswitch_GetARCPort(&port));
  if (!CallOk("OAM_hdmiswitch_SetARC", OAM_hdmiswitch_SetARC(port, on))) return 0;
  return LargeMessage(c, on ? "ARC:enabled" : "ARC:disabled", kMessageTimeout3);
}

// One line of the sound dump.
void DumpLine(const char* name, const std::string& value) {
  Console(Format("[%25s]:[%10s]", name, value.c_str()));
}

}  // namespace

int32_t SetRedDrive(Context& c) { return SetDrive(c, kDrives[0]); }
int32_t SetBlueDrive(Context& c) { return SetDrive(c, kDrives[1]); }
int32_t ShowRedDrive(Context& c) { return ShowDrive(c, kDrives[0]); }
int32_t ShowBlueDrive(Context& c) { return ShowDrive(c, kDrives[1]); }

// +1, -1, +4, -4 on the selected drive. A failed read writes nothing: a
// step from 0 would overwrite the calibrated drive with 1 or 4.
int32_t AdjustDrive(Context& c) {
  const int32_t wb = State().wbStatus;
  if (wb != 1 && wb != 2) return 1;
  const Drive& d = kDrives[wb - 1];
  int32_t step = 0;
  switch (c.code) {
    case 0x40EE1CE3: step = 1; break;
    case 0x40EE1DE2: step = -1; break;
    case 0x40EE1EE1: step = 4; break;
    default: step = -4; break;
  }
  int32_t v = 0;
  if (!ReadDrive(d, &v)) return 0;
  const int32_t next = v + step;
  if (next < 0 || next > kDriveMax) return 1;
  CallOk(d.setError, OAM_SetCustomizedProperty(d.property, next));
  SetResultDisplayValue(d.name, next, c.result);
  return 1;
}

int32_t SetSaturation(Context& c) {
  const int32_t v = LowByte(c.code);
  Console(Format("XPM_SetSaturation %d", v));
  (void)XPM_SetSaturation(0, v);
  return ShowMenu(c, "MenuSystem::PictureMenu", 5);
}

int32_t SetHue(Context& c) {
  const int32_t v = LowByte(c.code) - 50;
  Console(Format("XPM_SetHue %d", v));
  (void)XPM_SetHue(0, v);
  return ShowMenu(c, "MenuSystem::PictureMenu", 6);
}

int32_t SetVolume(Context& c) {
  const int32_t v = LowByte(c.code);
  Console(Format("XPM_SetVolume %d", v));
  (void)XPM_SetVolume(v);
  return ShowMenu(c, "NonMenuSystem::CommonVolumeBar", 0);
}

int32_t SetBalance(Context& c) {
  const int32_t v = LowByte(c.code) - 50;
  Console(Format("XPM_SetBalance %d", v));
  (void)XPM_SetBalance(v);
  return ShowMenu(c, "MenuSystem::SoundMenu", 1);
}

int32_t ForwardPictureMode(Context& c) {
  switch (c.code) {
    case 0x40BFCD32: return SetResultRawCommand(0x40BFCD, c.result);
    case 0x40BFCE31: return SetResultRawCommand(0x40BFCE, c.result);
    case 0x40BFCF30: return SetResultRawCommand(0x40BFCF, c.result);
    case 0x40BFCF31: return SetResultRawCommand(0x40BE57, c.result);
    case 0x40BFCF32: return SetResultRawCommand(0x40BE51, c.result);
    case 0x40BFCF33: return SetResultRawCommand(0x40BE52, c.result);
    case 0x40BFCF34: return SetResultRawCommand(0x40BE53, c.result);
    default: return SetResultRawCommand(0x40BE50, c.result);  // 0x40BFD22D
  }
}

int32_t Forward(Context& c) { return SetResultRawCommand(c.code, c.result); }

int32_t BacklightUp(Context&) { return SetBacklightByPreset(50, 100); }
int32_t BacklightDown(Context&) { return SetBacklightByPreset(-50, 0); }

int32_t ToggleDrc(Context& c) {
  int32_t v = 0;
  if (!CallOk("XPM_GetDolbyDRC", XPM_GetDolbyDRC(&v))) return 0;
  if (!CallOk("XPM_SetDolbyDRC", XPM_SetDolbyDRC(v == 0 ? 1 : 0))) return 0;
  return ShowMenu(c, "MenuSystem::SoundMenu", 6);
}

int32_t StepEqualizer(Context& c) {
  int32_t v = 0;
  if (!CallOk("XPM_GetEqualizerPreset", XPM_GetEqualizerPreset(&v))) return 0;
  int32_t next = 0;
  switch (v) {
    case 0: next = 4; break;
    case 1: next = 5; break;
    case 3: next = 1; break;
    case 5: next = 1; break;
    default: next = 0; break;
  }
  if (!CallOk("XPM_SetEqualizerPreset", XPM_SetEqualizerPreset(next))) return 0;
  return ShowMenu(c, "MenuSystem::AdvancedSoundSettingsMenu", 1);
}

int32_t SetAudioDecodeMode(Context& c) {
  const char* name = c.code == 0x40EEAF50 ? "STEREO" : c.code == 0x40EEAE51 ? "MONO" : "SAP";
  const int32_t mode = c.code == 0x40EEAF50 ? 1 : c.code == 0x40EEAE51 ? 0 : 2;
  int32_t m = 0;
  if (!CallOk(Format("XPM_GetPreferredAudioDecodeMode %s", name).c_str(), XPM_GetPreferredAudioDecodeMode(&m)))
    return 0;
  Console(Format("XPM_GetPreferredAudioDecodeMode %s OK 0x%x %d", name, 0, m));
  if (!CallOk(Format("XPM_SetPreferredAudioDecodeMode %s", name).c_str(), XPM_SetPreferredAudioDecodeMode(mode)))
    return 0;
  return ShowMenu(c, "MenuSystem::SoundMenu", 0);
}

int32_t ToggleSpdif(Context& c) {
  int32_t f = 0;
  if (!CallOk("XPM_GetSpdifFormat", XPM_GetSpdifFormat(&f))) return 0;
  if (!CallOk("XPM_SetSpdifFormat", XPM_SetSpdifFormat(f == 0 ? 1 : 0))) return 0;
  return ShowMenu(c, "MenuSystem::AVConnectionMenu", 7);
}

int32_t ArcOff(Context& c) { return SetArc(c, 0); }
int32_t ArcOn(Context& c) { return SetArc(c, 1); }

int32_t ToggleSuperResolution(Context& c) {
  int32_t s = 0;
  if (!CallOk("XPM_GetSuperResolutionStatus", XPM_GetSuperResolutionStatus(0, &s))) return 0;
  const kv::Class* small = ClassNamed("FactorySystem::SmallMessage");
  if (s == 0) {
    if (!CallOk("XPM_SetSuperResolutionStatus", XPM_SetSuperResolutionStatus(0, 1))) return 0;
    if (!CallOk("XPM_SetSuperResolutionLevel", XPM_SetSuperResolutionLevel(0, 5))) return 0;
    SetResultDisplayMessage(small, "Finexa+ :enable", kMessageTimeout3, c.result);
  } else {
    if (!CallOk("XPM_SetSuperResolutionStatus", XPM_SetSuperResolutionStatus(0, 0))) return 0;
    SetResultDisplayMessage(small, "Finexa+ :disable", kMessageTimeout3, c.result);
  }
  return 1;
}

int32_t ToggleMotion(Context& c) {
  int32_t s = 0;
  CallOk("XPM_GetFrcVideoStrength", XPM_GetFrcVideoStrength(&s));
  s = s == 0 ? 1 : 0;
  CallOk("XPM_SetFrcMode", XPM_SetFrcMode(s == 1 ? 6 : 7));
  CallOk("XPM_SetFrcVideoStrength", XPM_SetFrcVideoStrength(s));
  Console(Format("Still Pane %d", s));
  return ShowMenu(c, "MenuSystem::AdvancedPictureMenu", 9);
}

int32_t AdcCalibration(Context& c) {
  if (XPM_SetViewMode(0, 1) != 0) Console("XPM_SetViewMode VORN_PROP_VIDEO_VIEW_MODE_FULL");
  if (XPM_SetExtOemPathProperty(0, 140, 0) != 0) {
    Console("VORN_PROP_VIDEO_CALIB_AUTO failed ");
    return LargeMessage(c, "ADC Adjust : NG", kMessageTimeout3);
  }
  int32_t r = 0, g = 0, b = 0;
  if (OAM_GetCustomizedProperty(20, &r) != 0) r = 0;
  if (OAM_GetCustomizedProperty(21, &g) != 0) g = 0;
  if (OAM_GetCustomizedProperty(22, &b) != 0) b = 0;
  Console(Format(" ADC Calibration Result R %d,G %d,B %d", r, g, b));
  Console("VORN_PROP_VIDEO_CALIB_AUTO OK ");
  const bool good = r >= 3277 && r <= 4914 && b >= 3277 && b <= 4914;
  return LargeMessage(c, good ? "ADC Adjust : OK" : "ADC Adjust : NG! Make sure you are using 100% Colorbar!",
                      kMessageTimeout3);
}

int32_t Toggle3d(Context&) {
  ModuleState& s = State();
  if (s.is3d == 0) {
    CallOk("XPM_3DTV_SetMode", XPM_3DTV_SetMode(2));
    CallOk("XPM_3DTV_SetOutput", XPM_3DTV_SetOutput(1));
    s.is3d = 1;
  } else {
    CallOk("XPM_3DTV_SetMode", XPM_3DTV_SetMode(1));
    CallOk("XPM_3DTV_SetOutput", XPM_3DTV_SetOutput(0));
    s.is3d = 0;
  }
  return 1;
}

int32_t LedTest(Context&) {
  static constexpr int32_t kSteps[] = {11, 12, 1};
  ModuleState& s = State();
  CallOk("OAM_Led_SetState", OAM_Led_SetState(kSteps[s.send % 3]));
  ++s.send;
  return 1;
}

int32_t EraseHdmiSwitch(Context& c) {
  CallOk("SI_EraseNVRAM", SI_EraseNVRAM());
  return LargeMessage(c, "Silicon Image E2P CLEAR", kMessageTimeout3);
}

int32_t SetProperty103(Context& c) {
  CallOk("OAM_SetCustomizedProperty", OAM_SetCustomizedProperty(103, c.code == 0x40EA13EC ? 0 : 1));
  return 1;
}

int32_t Standby(Context& c) {
  if (c.command.flag != 0) return 1;
  Console("power off");
  Console("XPM_StandbyMode ZMF_ZMF");
  const int32_t status = XPM_StandbyMode(30, 0);
  Console("XPM_StandbyMode ZMF_ZMF done");
  if (status != 0) Console(Format("XPM_StandbyMode  0x%x", static_cast<unsigned>(status)));
  return 1;
}

int32_t SoundDump(Context&) {
  DumpLine(" MMode", bInFactoryMode == 1 ? "active" : "not active");
  int32_t v = 0;
  if (XPM_GetVolume(&v) == 0) Console(Format("[%25s]:[%10lu]", "Volume", static_cast<unsigned long>(v)));
  else DumpLine("Volume", "-");
  XPM_CurrentAudioServiceInfo info{};
  const bool stereo = XPM_GetCurrentAudioServiceInfo(0, &info) == 0 && info.audioMode >= 2 && info.audioMode <= 7;
  DumpLine(" MTS Digital Audio", stereo ? " Stereo" : "");
  DumpLine("DynamicRangeControl", XPM_GetDolbyDRC(&v) == 0 ? (v ? "On" : "Off") : "-");
  static const char* const kMts[] = {"MONO", "STEREO", "SAP"};
  DumpLine("MTS", XPM_GetPreferredAudioDecodeMode(&v) == 0 && v >= 0 && v <= 2 ? kMts[v] : "-");
  static const char* const kSpdif[] = {"PCM", "AUTO", "OFF"};
  DumpLine("Optical Output Format", XPM_GetSpdifFormat(&v) == 0 && v >= 0 && v <= 2 ? kSpdif[v] : "-");
  if (XPM_GetBass(&v) == 0) Console(Format("[%25s]:[%10lu]", "Bass", static_cast<unsigned long>(v)));
  else DumpLine("Bass", "-");
  if (XPM_GetTreble(&v) == 0) Console(Format("[%25s]:[%10lu]", "Treble", static_cast<unsigned long>(v)));
  else DumpLine("Treble", "-");
  if (XPM_GetBalance(&v) == 0) Console(Format("[%25s]:[%10ld]", "Balance", static_cast<long>(v)));
  else DumpLine("Balance", "-");
  Console(Format("[%25s]:[%25s]", "Rear Shared Audio", "-"));
  Console(Format("[%25s]:[%25s]", "Side Shared Audio", "-"));
  return 1;
}

int32_t PictureReset(Context& c) {
  int32_t id = 0, type = 0;
  if (!CallOk("XPM_GetCurrentSource", XPM_GetCurrentSource(0, &id))) return 0;
  if (!CallOk("XPM_GetSourceType", XPM_GetSourceType(id, &type))) return 0;
  if (type == kPatternSource) {
    Console("Nothing to do");
    return 0;
  }
  Console(Format("CURRENT SOURCE ID %lu", static_cast<unsigned long>(id)));
  State().prevSourceId = id;
  if (!CallOk("XPM_SetExtOemPathProperty", XPM_SetExtOemPathProperty(0, 122, 18))) return 0;
  if (!CallOk("XPM_SetVideoPreset", XPM_SetVideoPreset(0, 4))) return 0;
  if (!CallOk("XPM_SetBacklight", XPM_SetBacklight(100))) return 0;
  if (!CallOk("XPM_SetDCRBacklight", XPM_SetDCRBacklight(0))) return 0;
  if (!CallOk("XPM_SetColorTemperature", XPM_SetColorTemperature(10))) return 0;
  return SetResultRawCommand(c.code, c.result);
}

int32_t SourceRestore(Context&) {
  const int32_t id = State().prevSourceId;
  if (!CallOk("XPM_SetSource", XPM_SetSource(0, id))) return 0;
  Console(Format("SET SOURCE ID %lu", static_cast<unsigned long>(id)));
  const uint32_t next = kRestoreDone;
  CallOk("OAM_CustomDispatchFactoryCommand", OAM_CustomDispatchFactoryCommand(&next));
  return 1;
}

}  // namespace factory
