// What the command families of the factory processor share: the module
// state, the context of one command, the console, serial and wait helpers,
// and the handlers that the processor's command table names.
#pragma once

#include <cstdint>
#include <string>

#include "factory/factory_command.h"

namespace factory {

// The message parameters the processor uses (time-out fields 3 s and 10 s).
inline constexpr int32_t kMessageTimeout3 = 0x30;
inline constexpr int32_t kMessageTimeout10 = 0xA0;
inline constexpr int32_t kWlanReportBytes = 512;

struct ModuleState {
  uint32_t previousCommand = 0;     // PreviousRawFactoryCommand
  int64_t timePreviousCommand = 0;  // when a channel preset was last tuned (ms)
  int32_t wbStatus = 0;             // 0 none, 1 red drive, 2 blue drive
  int32_t prevSourceId = 0;
  int32_t is3d = 0;
  uint32_t send = 0;                // LED test step
  int32_t wlanTest = 0;             // bIsFactoryWLANtest
  char msgWlan[kWlanReportBytes] = {};
  int16_t rssiMainTh = 0;
  int16_t rssiSubTh = 0;
  int64_t joinDeadline = -1;       // when an unanswered join counts as failed (ms)
};
ModuleState& State();

// One command being processed.
struct Context {
  uint32_t code;
  const FactoryCommand& command;
  FactoryResult* result;
  int64_t now;         // the clock at entry (ms)
  bool store = true;   // becomes PreviousRawFactoryCommand on success
};

// A command handler: 1 carried out, 0 failed.
using Handler = int32_t (*)(Context&);

// printf into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
// One line on the console (the debug trace).
void Console(const std::string& line);
// A failed call's line "<call> Error 0x%x" (a log line); answers status == 0.
bool CallOk(const char* call, int32_t status);
// One text on the factory serial port: open, print, close.
void Serial(const std::string& text);
// Waits on the shared clock (a simulated clock moves on at once).
void Wait(int64_t ms);
// The GUI class of that name, or null before it exists.
const kv::Class* ClassNamed(const char* name);

// --- Mode, serial and model (processor.cpp, model.cpp) ---
int32_t EnterFactoryMode(Context& c);
int32_t LeaveFactoryMode(Context& c);
int32_t SerialSelfTest(Context& c);
int32_t SelectModelByCode(Context& c);

// --- Picture and sound (picture_sound.cpp) ---
int32_t SetRedDrive(Context& c);
int32_t SetBlueDrive(Context& c);
int32_t ShowRedDrive(Context& c);
int32_t ShowBlueDrive(Context& c);
int32_t AdjustDrive(Context& c);
int32_t SetSaturation(Context& c);
int32_t SetHue(Context& c);
int32_t SetVolume(Context& c);
int32_t SetBalance(Context& c);
int32_t ForwardPictureMode(Context& c);
int32_t Forward(Context& c);
int32_t BacklightUp(Context& c);
int32_t BacklightDown(Context& c);
int32_t ToggleDrc(Context& c);
int32_t StepEqualizer(Context& c);
int32_t SetAudioDecodeMode(Context& c);
int32_t ToggleSpdif(Context& c);
int32_t ArcOff(Context& c);
int32_t ArcOn(Context& c);
int32_t ToggleSuperResolution(Context& c);
int32_t ToggleMotion(Context& c);
int32_t AdcCalibration(Context& c);
int32_t Toggle3d(Context& c);
int32_t LedTest(Context& c);
int32_t EraseHdmiSwitch(Context& c);
int32_t SetProperty103(Context& c);
int32_t Standby(Context& c);
int32_t SoundDump(Context& c);
int32_t PictureReset(Context& c);
int32_t SourceRestore(Context& c);

// --- Sources, channels, captions, ratings (source_channel.cpp) ---
int32_t ZapFirstSource(Context& c);
int32_t SetPicturePath(Context& c);
int32_t ZapExternalInput(Context& c);
int32_t TuneAnalogue(Context& c);
int32_t ChannelPreset(Context& c);
int32_t DirectTune(Context& c);
int32_t ForwardRemoteKey(Context& c);
int32_t CaptionService(Context& c);
int32_t CaptionOff(Context& c);
int32_t CaptionStyle(Context& c);
int32_t LocksOn(Context& c);
int32_t LocksOff(Context& c);
int32_t ShowPreferences(Context& c);

// --- Network tests (network.cpp) ---
int32_t WlanStart(Context& c);
int32_t WlanCheck(Context& c);
int32_t WlanJoined(Context& c);
int32_t WlanJoinFailed(Context& c);
int32_t SpeedStart(Context& c);
int32_t SpeedRun(Context& c);
int32_t WriteMac(Context& c);
int32_t WiredDefault(Context& c);

// The caption colour cycle.
int32_t cc_color_num_get();
uint32_t cc_color_get(int32_t index);
int32_t cc_color_index_get(uint32_t color);

}  // namespace factory
