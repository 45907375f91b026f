// The factory command processor's entry, its command table, the result
// writers, factory mode's entry and exit and the serial self-test.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "factory/internal.h"
#include "platform/oam/oam_model.h"
#include "platform/xpm/xpm.h"
#include "runtime/clock.h"
#include "runtime/object.h"
#include "runtime/trace.h"

int32_t bInFactoryMode = 0;

namespace factory {

namespace {

constexpr uint32_t kAccessCode = 0x40D55AA5;
constexpr uint32_t kExitCode = 0x40EE03FC;
constexpr int32_t kBoardWithoutConsole = 3;
constexpr int32_t kFactoryGpioPin = 75;
constexpr int32_t kGpioOnSettleMs = 100;
constexpr int32_t kGpioOffSettleMs = 50;

// One row of the command chain: a code or a range of codes, whether it acts
// only in factory mode, and its handler. `lowFF`: only the codes of the
// range whose low byte is 0xFF.
struct Row {
  uint32_t lo, hi;
  bool factoryOnly;
  Handler handler;
  bool lowFF = false;
};

constexpr bool FM = true;
constexpr bool ANY = false;

// The chain, in the order the codes are compared: the 0x40BF caption and
// remote-key codes, the factory-mode value ranges of 0x40E2, the white-
// balance displays, the source codes, the network tests, the service codes,
// the presets, the model codes, the sound dump, the picture reset and source
// restore, the remaining 0x40EA codes and last the serial self-test. A
// factory-mode-only row outside factory mode is passed over.
const Row kChain[] = {
    // Picture modes forwarded to the sub-system.
    {0x40BFCD32, 0x40BFCD32, ANY, ForwardPictureMode},
    {0x40BFCE31, 0x40BFCE31, ANY, ForwardPictureMode},
    {0x40BFCF30, 0x40BFCF34, ANY, ForwardPictureMode},
    {0x40BFD22D, 0x40BFD22D, ANY, ForwardPictureMode},
    {0x40BF7F80, 0x40BF7F80, ANY, Standby},
    {0x40BF0CF3, 0x40BF0CF3, ANY, Forward},
    {0x40BFAB54, 0x40BFAB54, ANY, Forward},
    {0x40BFB649, 0x40BFB649, ANY, Forward},
    {0x40BF10EF, 0x40BF10EF, ANY, ForwardRemoteKey},
    {0x40BF13EC, 0x40BF13EC, ANY, ForwardRemoteKey},
    {0x40BFB24D, 0x40BFB24D, ANY, CaptionService},
    {0x40BFB44B, 0x40BFB44B, ANY, CaptionService},
    {0x40BFBE41, 0x40BFBE41, ANY, CaptionOff},
    {0x40BFF40B, 0x40BFF40B, ANY, CaptionStyle},
    {0x40BFF50A, 0x40BFF50A, ANY, CaptionStyle},
    {0x40BFF609, 0x40BFF609, ANY, CaptionStyle},
    {0x40BFF708, 0x40BFF708, ANY, CaptionStyle},
    {0x40BFF807, 0x40BFF807, ANY, CaptionStyle},
    {0x40BFF906, 0x40BFF906, ANY, CaptionStyle},
    {0x40BFFA05, 0x40BFFA05, ANY, CaptionStyle},
    {0x40BFFB04, 0x40BFFB04, ANY, CaptionStyle},
    // Factory-mode value ranges.
    {0x40E23300, 0x40E233FF, FM, SetRedDrive},
    {0x40E23400, 0x40E234FF, FM, SetBlueDrive},
    {0x40E20200, 0x40E20264, FM, SetSaturation},
    {0x40E20300, 0x40E20364, FM, SetHue},
    {0x40E21000, 0x40E21064, FM, SetVolume},
    {0x40E21300, 0x40E21364, FM, SetBalance},
    // White-balance displays.
    {0x40E333CC, 0x40E333CC, FM, ShowRedDrive},
    {0x40E334CB, 0x40E334CB, FM, ShowBlueDrive},
    // Sources and picture paths.
    {0x40EA00FF, 0x40EA00FF, FM, ZapFirstSource},
    {0x40EA01FE, 0x40EA01FE, FM, SetPicturePath},
    {0x40EA02FD, 0x40EA02FD, FM, SetPicturePath},
    {0x40EA03FC, 0x40EA03FC, FM, SetPicturePath},
    {0x40EA04FB, 0x40EA04FB, FM, SetPicturePath},
    {0x40EA05FA, 0x40EA05FA, FM, SetPicturePath},
    {0x40EB817E, 0x40EB817E, FM, ZapExternalInput},
    {0x40EB827D, 0x40EB827D, FM, ZapExternalInput},
    {0x40EB837C, 0x40EB837C, FM, ZapExternalInput},
    {0x40EB847B, 0x40EB847B, FM, ZapExternalInput},
    {0x40EB857A, 0x40EB857A, FM, ZapExternalInput},
    {0x40EB8679, 0x40EB8679, FM, ZapExternalInput},
    {0x40EB8778, 0x40EB8778, FM, ZapExternalInput},
    {0x40EB8877, 0x40EB8877, FM, ZapExternalInput},
    {0x40EB00FF, 0x40EB63FF, FM, TuneAnalogue, true},
    // Network tests.
    {0x40EE04FB, 0x40EE04FB, ANY, WlanStart},
    {0x40EA43BC, 0x40EA43BC, ANY, WlanCheck},
    {0x40EA44BB, 0x40EA44BB, ANY, WlanJoined},
    {0x40EA45BA, 0x40EA45BA, ANY, WlanJoinFailed},
    {0x40EE7F80, 0x40EE7F80, ANY, SpeedStart},
    {0x40EE7F81, 0x40EE7F81, ANY, SpeedRun},
    {0x40EA41BE, 0x40EA41BE, ANY, WriteMac},
    {0x40EE9F60, 0x40EE9F60, ANY, WiredDefault},
    // Factory mode, service codes.
    {kAccessCode, kAccessCode, ANY, EnterFactoryMode},
    {kExitCode, kExitCode, ANY, LeaveFactoryMode},
    {0x40EE1CE3, 0x40EE1CE3, FM, AdjustDrive},
    {0x40EE1DE2, 0x40EE1DE2, FM, AdjustDrive},
    {0x40EE1EE1, 0x40EE1EE1, FM, AdjustDrive},
    {0x40EE1FE0, 0x40EE1FE0, FM, AdjustDrive},
    {0x40EE42BD, 0x40EE42BD, ANY, BacklightUp},
    {0x40EE43BC, 0x40EE43BC, ANY, BacklightDown},
    {0x40EE6A95, 0x40EE6A95, ANY, ToggleDrc},
    {0x40EE738C, 0x40EE738C, ANY, StepEqualizer},
    {0x40EEAF50, 0x40EEAF50, ANY, SetAudioDecodeMode},
    {0x40EEAE51, 0x40EEAE51, ANY, SetAudioDecodeMode},
    {0x40EEAD52, 0x40EEAD52, ANY, SetAudioDecodeMode},
    {0x40EEE619, 0x40EEE619, ANY, ToggleSpdif},
    {0x40EED32C, 0x40EED32C, ANY, ArcOff},
    {0x40EE9988, 0x40EE9988, ANY, ArcOff},
    {0x40EE9977, 0x40EE9977, ANY, ArcOn},
    {0x40EE9966, 0x40EE9966, ANY, ArcOn},
    {0x40EE609F, 0x40EE609F, ANY, ToggleSuperResolution},
    {0x40EE639C, 0x40EE639C, ANY, ToggleMotion},
    {0x40EEA35C, 0x40EEA35C, ANY, AdcCalibration},
    {0x40EE11EE, 0x40EE11EE, ANY, Toggle3d},
    {0x40EE3CC3, 0x40EE3CC3, ANY, LedTest},
    {0x40EEFF00, 0x40EEFF00, ANY, EraseHdmiSwitch},
    {0x40EE9A65, 0x40EE9A65, ANY, Forward},
    {0x40EE53AC, 0x40EE53AC, ANY, Forward},
    {0x40EE54AB, 0x40EE54AB, ANY, Forward},
    {0x40EE00FF, 0x40EE00FF, ANY, Forward},
    {0x40EE6F90, 0x40EE6F90, ANY, Forward},
    {0x40EEED12, 0x40EEED12, ANY, Forward},
    {0x40EEEC13, 0x40EEEC13, ANY, Forward},
    {0x40EEF00F, 0x40EEF00F, ANY, DirectTune},
    {0x40EEF40B, 0x40EEF40B, ANY, DirectTune},
    {0x40EEF30C, 0x40EEF30C, ANY, DirectTune},
    {0x40EEF807, 0x40EEF807, ANY, DirectTune},
    {0x40EEF906, 0x40EEF906, ANY, DirectTune},
    {0x40EEF10E, 0x40EEF10E, ANY, DirectTune},
    {0x40EEF20D, 0x40EEF20D, ANY, DirectTune},
    {0x40EEF50A, 0x40EEF50A, ANY, DirectTune},
    {0x40EEF609, 0x40EEF609, ANY, DirectTune},
    {0x40EEF708, 0x40EEF708, ANY, DirectTune},
    {0x40EE30CF, 0x40EE30CF, ANY, LocksOn},
    {0x40EE31CE, 0x40EE31CE, ANY, LocksOff},
    {0x40EE20DF, 0x40EE20DF, ANY, ShowPreferences},
    // Channel presets.
    {0x40AAF708, 0x40AAFF00, ANY, ChannelPreset},
    // Model codes.
    {0x40F221DE, 0x40F221DE, FM, SelectModelByCode},
    {0x40F222DD, 0x40F222DD, FM, SelectModelByCode},
    {0x40F223DC, 0x40F223DC, FM, SelectModelByCode},
    {0x40F231CE, 0x40F231CE, FM, SelectModelByCode},
    {0x40F232CD, 0x40F232CD, FM, SelectModelByCode},
    {0x40F233CC, 0x40F233CC, FM, SelectModelByCode},
    {0x40F241BE, 0x40F241BE, FM, SelectModelByCode},
    {0x40F242BD, 0x40F242BD, FM, SelectModelByCode},
    {0x40F243BC, 0x40F243BC, FM, SelectModelByCode},
    {0x40F244BB, 0x40F244BB, FM, SelectModelByCode},
    {0x40F251AE, 0x40F251AE, FM, SelectModelByCode},
    {0x40F252AD, 0x40F252AD, FM, SelectModelByCode},
    {0x40F253AC, 0x40F253AC, FM, SelectModelByCode},
    // Sound status dump.
    {0x40EA40BF, 0x40EA40BF, ANY, SoundDump},
    // Picture reset and source restore.
    {0xCFA90FFF, 0xCFA90FFF, FM, PictureReset},
    {0xD0000000, 0xD0000000, FM, SourceRestore},
    {0x40EA42BD, 0x40EA42BD, FM, Forward},
    {0x40EA13EC, 0x40EA13EC, ANY, SetProperty103},
    {0x40EA14EB, 0x40EA14EB, ANY, SetProperty103},
    // Serial self-test.
    {0x111, 0x111, ANY, SerialSelfTest},
};

bool Matches(const Row& row, uint32_t code) {
  if (code < row.lo || code > row.hi) return false;
  return !row.lowFF || (code & 0xFF) == 0xFF;
}

// The drive the adjust keys change, chosen before any gate is tested. The
// picture reset and the four adjust keys keep it; every other code clears it.
void UpdateWhiteBalanceSelection(uint32_t code) {
  ModuleState& s = State();
  if (code == 0x40E333CC || (code >= 0x40E23300 && code <= 0x40E233FF)) s.wbStatus = 1;
  else if (code == 0x40E334CB || (code >= 0x40E23400 && code <= 0x40E234FF)) s.wbStatus = 2;
  else if (code != 0xCFA90FFF && code != 0x40EE1CE3 && code != 0x40EE1DE2 && code != 0x40EE1EE1 && code != 0x40EE1FE0)
    s.wbStatus = 0;
}

// Copies a text up to its terminator, at most size - 1 bytes, zero-padded.
void CopyText(char* out, size_t size, const char* text) {
  std::memset(out, 0, size);
  if (text) std::memcpy(out, text, strnlen(text, size - 1));
}

// Console print of the board: off in factory mode on boards with a console.
void SetConsolePrint(int32_t on) {
  OAM_ModelInfo info{};
  if (CallOk("OAM_GetModelInfo", OAM_GetModelInfo(&info)) && info.type != kBoardWithoutConsole)
    CallOk("BCM_ControlPrintf", BCM_ControlPrintf(on));
}

void ModeCancelInternal() {
  SetConsolePrint(1);
  CallOk("OAM_Led_SetState", OAM_Led_SetState(1));
  CallOk("MPLCore_GpioSetPin", MPLCore_GpioSetPin(kFactoryGpioPin, 0));
  Wait(kGpioOffSettleMs);
  bInFactoryMode = 0;
  int32_t persisted = 0;
  if (CallOk("OAM_GetCustomizedProperty", OAM_GetCustomizedProperty(OAM_CUSTOM_FACTORY_FLAG, &persisted)) &&
      persisted != 0)
    CallOk("OAM_SetCustomizedProperty", OAM_SetCustomizedProperty(OAM_CUSTOM_FACTORY_FLAG, 0));
}

}  // namespace

ModuleState& State() {
  static ModuleState state;
  return state;
}

void ResetFactoryState() {
  State() = ModuleState{};
  bInFactoryMode = 0;
}

bool WlanTestWaiting() { return State().wlanTest == 1; }

std::string Format(const char* format, ...) {
  char buf[600];
  va_list ap;
  va_start(ap, format);
  std::vsnprintf(buf, sizeof buf, format, ap);
  va_end(ap);
  return buf;
}

void Console(const std::string& line) { kv::Trace("%s", {line.c_str()}); }

bool CallOk(const char* call, int32_t status) { return kv::LogFailedCall(call, status) == 0; }

void Serial(const std::string& text) {
  CallOk("XPM_OpenUART", XPM_OpenUART());
  CallOk("XPM_PrintStringUART", XPM_PrintStringUART(text.c_str()));
  CallOk("XPM_CloseUART", XPM_CloseUART());
}

void Wait(int64_t ms) {
  kv::Clock& clock = kv::GetClock();
  if (clock.IsSimulated()) clock.AdvanceTo(clock.Now() + ms);
  else clock.SleepFor(ms);
}

const kv::Class* ClassNamed(const char* name) { return kv::FindClass(name); }

void SetResultDisplayMenu(const kv::Class* menuClass, int32_t index, FactoryResult* result) {
  result->kind = FACTORY_RESULT_DISPLAY_MENU;
  result->menu.menuClass = menuClass;
  result->menu.index = index;
}

void SetResultDisplayValue(const char* name, int32_t value, FactoryResult* result) {
  result->kind = FACTORY_RESULT_DISPLAY_VALUE;
  CopyText(result->value.name, sizeof result->value.name, name);
  result->value.value = value;
}

int32_t SetResultRawCommand(uint32_t code, FactoryResult* result) {
  result->kind = FACTORY_RESULT_RAW_COMMAND;
  result->raw.code = code;
  return 1;
}

void SetResultDisplayMessage(const kv::Class* screenClass, const char* text, int32_t parameter, FactoryResult* result) {
  result->kind = FACTORY_RESULT_DISPLAY_MESSAGE;
  result->message.screenClass = screenClass;
  CopyText(result->message.text, sizeof result->message.text, text);
  result->message.parameter = parameter;
}

int32_t EnterFactoryMode(Context& c) {
  SetConsolePrint(0);
  CallOk("MPLCore_GpioSetPin", MPLCore_GpioSetPin(kFactoryGpioPin, 1));
  Wait(kGpioOnSettleMs);
  Serial("Hello! Serial is now active\r\n");
  bInFactoryMode = 1;
  int32_t persisted = 0;
  if (CallOk("OAM_GetCustomizedProperty", OAM_GetCustomizedProperty(OAM_CUSTOM_FACTORY_FLAG, &persisted)) &&
      persisted == 0)
    CallOk("OAM_SetCustomizedProperty", OAM_SetCustomizedProperty(OAM_CUSTOM_FACTORY_FLAG, 1));
  return SetResultRawCommand(kAccessCode, c.result);
}

int32_t LeaveFactoryMode(Context& c) {
  ModeCancelInternal();
  return SetResultRawCommand(kExitCode, c.result);
}

int32_t SerialSelfTest(Context&) {
  CallOk("XPM_OpenUART", XPM_OpenUART());
  CallOk("XPM_PrintStringUART", XPM_PrintStringUART("TEST MESSAGEA\r\n"));
  CallOk("XPM_PrintStringUART", XPM_PrintStringUART("TEST MESSAGEB\r\n"));
  CallOk("XPM_CloseUART", XPM_CloseUART());
  return 1;
}

}  // namespace factory

using namespace factory;

int32_t FactoryCommandProcess(const FactoryCommand* command, FactoryResult* result) {
  if (!command || !result) return 0;
  std::memset(result, 0, sizeof *result);
  result->kind = FACTORY_RESULT_NONE;
  Context c{command->code, *command, result, kv::GetClock().Now()};
  UpdateWhiteBalanceSelection(c.code);
  int32_t status = 1;
  for (const Row& row : kChain) {
    if (!Matches(row, c.code)) continue;
    if (row.factoryOnly && !bInFactoryMode) continue;
    status = row.handler(c);
    break;
  }
  if (status != 0 && c.store) State().previousCommand = c.code;
  return status;
}

int32_t FactoryCommandExitMMode() {
  ModeCancelInternal();
  return 1;
}
