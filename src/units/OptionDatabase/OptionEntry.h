// The compiled-in description of an option record: its id, caption, kind,
// choices or slider range, offset and the Wrapper property it is bound to.
// The modules keep one sorted table of these and make a record from an entry
// the first time its id is asked for.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/text.h"

namespace Wrapper {
class Wrapper;
}

namespace OptionDatabase {

enum class OptionKind : uint8_t {
  Choice,  // produces an OptionCourier
  Slider,  // produces a SliderCourier
};

// One choice: its caption and the property value it stands for.
struct ChoiceDef {
  const kv::MultiTextId* caption = nullptr;
  int32_t value = 0;
};

using WrapperGetter = int32_t (Wrapper::Wrapper::*)();
using WrapperSetter = void (Wrapper::Wrapper::*)(int32_t);

// The property a record is bound to: a getter and setter of the Wrapper, or
// the name of a property of the skin Wrapper that is not bound yet, or an
// empty name (a property not named yet), or nothing (a record whose caller
// keeps the value itself).
struct Binding {
  WrapperGetter get = nullptr;
  WrapperSetter set = nullptr;
  const char* pending = nullptr;
};

struct OptionEntry {
  uint32_t id = 0;
  const kv::MultiTextId* name = nullptr;
  OptionKind kind = OptionKind::Choice;
  const ChoiceDef* choices = nullptr;
  int32_t numChoices = 0;
  // The choices carry values that are not index + offset: the record maps
  // value and index through them.
  bool mapped = false;
  int32_t offset = 0;
  int32_t min = 0;
  int32_t max = 100;
  int32_t step = 1;
  Binding bind;
};

// Module number and index of an option id (module x 2^24 + index).
constexpr uint32_t OptionModuleOf(uint32_t id) { return id >> 24; }
constexpr uint32_t OptionIndexOf(uint32_t id) { return id & 0xffffffu; }

// True when a choice list's values are index + offset.
template <size_t N>
constexpr bool ValuesFollowIndex(const ChoiceDef (&c)[N], int32_t offset) {
  for (size_t i = 0; i < N; ++i)
    if (c[i].value != static_cast<int32_t>(i) + offset) return false;
  return true;
}

template <size_t N>
constexpr OptionEntry ChoiceOption(uint32_t id, const kv::MultiTextId& name, const ChoiceDef (&choices)[N],
                                  Binding bind, int32_t offset = 0) {
  OptionEntry s;
  s.id = id;
  s.name = &name;
  s.kind = OptionKind::Choice;
  s.choices = choices;
  s.numChoices = static_cast<int32_t>(N);
  s.mapped = !ValuesFollowIndex(choices, offset);
  s.offset = offset;
  s.bind = bind;
  return s;
}

constexpr OptionEntry SliderOption(uint32_t id, const kv::MultiTextId& name, Binding bind, int32_t min = 0,
                                  int32_t max = 100, int32_t step = 1) {
  OptionEntry s;
  s.id = id;
  s.name = &name;
  s.kind = OptionKind::Slider;
  s.min = min;
  s.max = max;
  s.step = step;
  s.bind = bind;
  return s;
}

// True when the table is in ascending id order with no id twice (the modules
// search it by halving).
constexpr bool IsSortedById(const OptionEntry* entries, size_t count) {
  for (size_t i = 1; i < count; ++i)
    if (entries[i - 1].id >= entries[i].id) return false;
  return true;
}

}  // namespace OptionDatabase

// A binding to the Wrapper property P (OnGetP / OnSetP).
#define OPTION_WRAPPER(P) \
  ::OptionDatabase::Binding { &::Wrapper::Wrapper::OnGet##P, &::Wrapper::Wrapper::OnSet##P, nullptr }
// A property of the skin Wrapper, bound when that Wrapper has it.
#define OPTION_SKIN(P) \
  ::OptionDatabase::Binding { nullptr, nullptr, #P }
// A property that is not named yet: the record keeps its choices or range.
#define OPTION_NOT_GIVEN \
  ::OptionDatabase::Binding { nullptr, nullptr, "" }
// No property by design: the caller keeps the value.
#define OPTION_UNBOUND \
  ::OptionDatabase::Binding {}
