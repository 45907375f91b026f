// Diagnostics: why live objects are alive.
#pragma once

#include <cstddef>
#include <string>

namespace kv {

// For each live object of the class (at most `limit`), the chain of classes
// from it to the root that keeps it alive, one line each.
std::string ExplainLive(const char* className, size_t limit);

}  // namespace kv
