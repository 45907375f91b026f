#include "units/Primitives/StateValues.h"

#include <map>

namespace Primitives {

namespace {

std::map<const kv::Class*, StateValues>& Registry() {
  static std::map<const kv::Class*, StateValues> registry;
  return registry;
}

}  // namespace

bool RegisterStateValues(const kv::Class& cls, StateValues values) {
  Registry()[&cls] = values;
  return true;
}

const StateValues* StateValuesOf(const kv::Class* cls) {
  for (const kv::Class* c = cls; c; c = c->ancestor) {
    auto it = Registry().find(c);
    if (it != Registry().end()) return &it->second;
  }
  return nullptr;
}

}  // namespace Primitives
