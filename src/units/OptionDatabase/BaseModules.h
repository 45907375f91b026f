// The compiled-in tables of the option modules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "units/OptionDatabase/OptionEntry.h"

namespace OptionDatabase {

struct OptionTable {
  uint32_t number = 0;
  const OptionEntry* entries = nullptr;
  size_t count = 0;
};

template <size_t N>
constexpr OptionTable MakeOptionTable(uint32_t number, const OptionEntry (&entries)[N]) {
  return {number, entries, N};
}

// Modules 1 to 4.
std::span<const OptionTable> BaseOptionTables();

}  // namespace OptionDatabase
