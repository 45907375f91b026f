// Helpers shared by the Wrapper's source files: checked middleware calls and
// the trace lines of the accessors.
#pragma once

#include <cstdint>

#include "runtime/text.h"
#include "runtime/trace.h"

namespace Wrapper::detail {

// Logs "<call> Error 0x<status>" when the status is not 0; returns it.
int32_t Checked(const char* call, int32_t status);

// One trace line: the label alone ("%s"), with an integer ("%s%i"), a
// boolean ("%s%b") or two integers ("%s%i%i").
void TraceLabel(kv::TextId label);
void TraceInt(kv::TextId label, int32_t value);
void TraceBool(kv::TextId label, bool value);
void TraceIntInt(kv::TextId label, int32_t a, int32_t b);

}  // namespace Wrapper::detail

// Calls a middleware function and logs a failure: XPM_CALL(XPM_SetVolume, v).
#define XPM_CALL(fn, ...) ::Wrapper::detail::Checked(#fn, fn(__VA_ARGS__))
