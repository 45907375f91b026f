#include "host/factory_command.h"

#include <cstring>

namespace host {

int32_t FactoryCommandProcess(const FactoryCommand* command, FactoryResult* result) {
  if (!result) return 0;
  std::memset(result, 0, sizeof *result);
  result->kind = FACTORY_RESULT_NONE;
  (void)command;
  return 0;
}

}  // namespace host
