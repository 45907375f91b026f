// The factory command processor's entry: one factory remote code in, one
// result record out. The processor itself comes with factory mode; until
// then every code gives the result "none".
//
// GUI task only (it runs while the GUI loop handles the factory event).
#pragma once

#include <cstdint>

#include "units/Factory/FactoryMode.h"

namespace kv {
struct Class;
}

namespace host {

struct FactoryCommand {
  uint32_t code;  // the remote code
  char text[20];  // zero-terminated argument text
  int32_t flag;
};

enum : int32_t {
  FACTORY_RESULT_NONE = 0,
  FACTORY_RESULT_DISPLAY_MENU = 1,
  FACTORY_RESULT_DISPLAY_VALUE = 2,
  FACTORY_RESULT_RAW_COMMAND = 3,
  FACTORY_RESULT_DISPLAY_MESSAGE = 4,
};

struct FactoryMenuResult {
  const kv::Class* menuClass;
  int32_t index;
};
struct FactoryValueResult {
  char name[32];  // zero-padded
  int32_t value;
};
struct FactoryRawResult {
  uint32_t code;
};
struct FactoryMessageResult {
  const kv::Class* screenClass;
  char text[256];  // zero-padded
  int32_t parameter;
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

// Fills `result` (its kind is set to none first); answers 0.
int32_t FactoryCommandProcess(const FactoryCommand* command, FactoryResult* result);

}  // namespace host
