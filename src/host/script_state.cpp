#include "host/script_state.h"

#include <charconv>
#include <climits>
#include <cstdint>
#include <string>

#include "runtime/auto_object.h"
#include "runtime/escaped_text.h"
#include "runtime/object.h"
#include "runtime/trace.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/Constants.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/Primitives/StateValues.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"
#include "units/SubSystem/State.h"

namespace host {

using Primitives::StateValues;

namespace {

// A decimal or 0x-prefixed hexadecimal number; false when it is not one.
bool Number(std::string_view text, int64_t* out) {
  int base = 10;
  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  int64_t v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, base);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return false;
  *out = negative ? -v : v;
  return true;
}

// A number of a line that fits the 32 bits its screen is given: a signed
// value, or an unsigned pattern such as the option id 0x87000003 (taken as
// its 32 bits); `why` names a number that does not fit.
bool ThirtyTwoBits(std::string_view text, const char* what, int64_t* out, std::string* why) {
  if (!Number(text, out)) return false;
  if (*out >= INT32_MIN && *out <= static_cast<int64_t>(UINT32_MAX)) return true;
  if (why) *why = std::string(what) + " " + std::string(text) + " does not fit the 32 bits a screen is given";
  return false;
}

// The next word of `rest` (removed from it).
std::string_view NextWord(std::string_view& rest) {
  const size_t sp = rest.find_first_of(" \t");
  std::string_view word = rest.substr(0, sp);
  rest = sp == std::string_view::npos ? std::string_view() : rest.substr(sp);
  while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
  return word;
}

Agent::MessageAgent* Agent() { return kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent); }

}  // namespace

bool ParseScreenStep(std::string_view word, std::string_view rest, KeyScript::Step* step, std::string* why) {
  const std::string_view first = NextWord(rest);
  if (first.empty()) return false;
  const std::string_view second = NextWord(rest);
  int64_t n = 0;
  if (word == "state") {
    step->kind = KeyScript::Step::kState;
    step->name = std::string(first);
    if (!second.empty() && !ThirtyTwoBits(second, "\"state\" VALUE", &n, why)) return false;
    step->ms = n;
    if (!rest.empty()) return false;
    // Only a screen class can be opened: a name of no class (or of a class
    // that is no screen) is refused here, before the set starts.
    const kv::Class* cls = kv::FindClass(step->name.c_str());
    if (!cls || !cls->Is(&Primitives::KeyRoutingForm::StaticClass())) {
      if (why)
        *why = "\"state\" " + kv::EscapedText(step->name, KeyScript::kMaxShownName) +
               (cls ? " is no screen class" : " names no class");
      return false;
    }
    // A screen that takes only some values: another is refused here, before
    // the set starts.
    const StateValues* values = Primitives::StateValuesOf(cls);
    if (values && !values->takes(static_cast<int32_t>(n))) {
      if (why)
        *why = "\"state\" " + kv::EscapedText(step->name, KeyScript::kMaxShownName) + " takes " + values->what +
               ", not " + std::string(second.empty() ? "0" : second);
      return false;
    }
    return true;
  }
  step->kind = KeyScript::Step::kMessage;
  if (!ThirtyTwoBits(first, "\"message\" CODE", &n, why)) return false;
  step->ms = n;
  int64_t value = -1;
  if (!second.empty() && !ThirtyTwoBits(second, "\"message\" INT", &value, why)) return false;
  step->value = static_cast<int32_t>(value);
  step->text = std::string(rest);
  return true;
}

void RunScreenStep(const KeyScript::Step& step) {
  auto* msg = kv::New<Structures::Message>();
  if (step.kind == KeyScript::Step::kMessage) {
    Structures::RefString* text = nullptr;
    if (!step.text.empty()) {
      text = kv::New<Structures::RefString>();
      text->Value = kv::NewStringAnsi(step.text.c_str());
    }
    msg->Initialize(static_cast<int32_t>(step.ms), text, step.value);
    Agent()->Dispatch(msg);
    return;
  }
  const kv::Class* cls = kv::FindClass(step.name.c_str());
  // Only screens are made: a script names no other class.
  const bool screen = cls && cls->Is(&Primitives::KeyRoutingForm::StaticClass());
  auto* form = screen ? kv::Cast<Primitives::KeyRoutingForm>(kv::NewObjectIndirect(cls)) : nullptr;
  if (!form || !form->SubSystemClass) {
    kv::Log("key script: no screen class " + step.name + " yet; state skipped");
    return;
  }
  auto* param = kv::New<SkinBin::UserRefInt>();
  param->Value = static_cast<int32_t>(step.ms);
  param->Code = Constants::MSG_FROM_NONMENUSYSTEM;
  auto* state = kv::New<SubSystem::State>();
  state->Class = cls;
  state->Instance = form;
  state->Param = param;
  msg->Initialize(Constants::MSG_CHANGE_STATE, state);
  Agent()->DispatchTo(msg, form->SubSystemClass);
}

}  // namespace host
