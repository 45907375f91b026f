// The factory command processor: one factory remote code in, one result
// record out, and factory mode's flag and exit.
//
// It lies below the GUI units and knows only the runtime and the platform:
// the screens it names in its results are found by class name. It runs on
// the GUI task, while the GUI loop handles the posted factory event, and
// holds the loop for as long as a command takes (tuning retries, the
// wireless and throughput tests).
#pragma once

#include <cstdint>

namespace kv {
struct Class;
}

// Exported data: 1 while the set is in factory mode.
extern int32_t bInFactoryMode;

namespace factory {

// The command record of a factory remote code.
struct FactoryCommand {
  uint32_t code;  // the remote code
  char text[20];  // zero-terminated argument text (the MAC address command's)
  int32_t flag;   // the remote-key codes act only when it is 0
};

enum : int32_t {
  FACTORY_RESULT_NONE = 0,
  FACTORY_RESULT_DISPLAY_MENU = 1,
  FACTORY_RESULT_DISPLAY_VALUE = 2,
  FACTORY_RESULT_RAW_COMMAND = 3,
  FACTORY_RESULT_DISPLAY_MESSAGE = 4,
};

inline constexpr int32_t kResultNameBytes = 32;
inline constexpr int32_t kResultTextBytes = 256;

struct FactoryMenuResult {
  const kv::Class* menuClass;
  int32_t index;  // counted from 0
};
struct FactoryValueResult {
  char name[kResultNameBytes];  // zero-padded
  int32_t value;
};
struct FactoryRawResult {
  uint32_t code;
};
struct FactoryMessageResult {
  const kv::Class* screenClass;
  char text[kResultTextBytes];  // zero-padded
  int32_t parameter;            // the message parameter word
};

struct FactoryResult {
  int32_t kind;  // FACTORY_RESULT_*
  union {
    FactoryMenuResult menu;
    FactoryValueResult value;
    FactoryRawResult raw;
    FactoryMessageResult message;
  };
};

// The result writers. Texts are copied up to their terminator (at most 31
// or 255 bytes) and zero-padded.
void SetResultDisplayMenu(const kv::Class* menuClass, int32_t index, FactoryResult* result);
void SetResultDisplayValue(const char* name, int32_t value, FactoryResult* result);
int32_t SetResultRawCommand(uint32_t code, FactoryResult* result);
void SetResultDisplayMessage(const kv::Class* screenClass, const char* text, int32_t parameter, FactoryResult* result);

// 1 while a wireless test waits for the join verdict.
bool WlanTestWaiting();
// The middleware's join result while a wireless test waits for it: status 2
// (joined) chains 0x40EA44BB, any other 0x40EA45BA.
void OnWlanConnectComplete(int32_t status);
// When the wait for the join verdict ends (clock ms), -1 when none waits;
// once `now` reaches it, CheckWlanJoinDeadline chains 0x40EA45BA.
int64_t WlanJoinDeadline();
void CheckWlanJoinDeadline(int64_t now);

// Forgets the module state (factory mode off, no wireless test, no previous
// command); for a process that starts the system again.
void ResetFactoryState();

}  // namespace factory

// Carries out one command and fills `result` (its kind is set to none
// first). Answers 1 when the command was carried out or ignored, 0 when a
// call it depends on failed; the direct-tune codes answer the tuning's result.
int32_t FactoryCommandProcess(const factory::FactoryCommand* command, factory::FactoryResult* result);

// Leaves factory mode: console print back on (unless the board has no
// console), normal LED, GPIO 75 low, the flag cleared, and the persisted
// factory flag (customized property 26) cleared when set. Answers 1.
int32_t FactoryCommandExitMMode();

// The service menu's model selection (row 0 to 12 of the model table); the
// second argument, the model id's offset, is the Wrapper's and not used.
// Answers 1 when the row exists, 0 (nothing done) otherwise.
int32_t ServiceSelectModel(int32_t index, int32_t idOffset = 0);
