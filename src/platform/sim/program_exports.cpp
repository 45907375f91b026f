#include "platform/sim/program_exports.h"

ProgramExports& GetProgramExports() {
  static ProgramExports exports;
  return exports;
}
