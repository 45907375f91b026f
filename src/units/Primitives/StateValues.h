// The values a screen opened by a state change takes, for the screens that
// take only some: its caller gives it one of a fixed set (the colour bar
// one of the six colours' first options). A key script's "state" line is
// checked against them before the set starts. A screen whose values are
// known only while the set runs (a row of a list) registers none and takes
// any value safely.
#pragma once

#include <cstdint>

#include "runtime/object.h"

namespace Primitives {

struct StateValues {
  bool (*takes)(int32_t value) = nullptr;
  const char* what = "";  // the values taken, for the refusal ("0x87000000, 0x87000003 ... 0x8700000F")
};

// Registers the values of a screen class; once, in the class's source file.
bool RegisterStateValues(const kv::Class& cls, StateValues values);
// The values of the class, or of its nearest ancestor that has some; null
// when it takes any.
const StateValues* StateValuesOf(const kv::Class* cls);

}  // namespace Primitives

#define KV_STATE_VALUES(Cls, takes, what)                                                   \
  [[maybe_unused]] static const bool KV_CONCAT(kvStateValues_, __LINE__) =                  \
      ::Primitives::RegisterStateValues(Cls::StaticClass(), ::Primitives::StateValues{takes, what})
