// Feeds arbitrary text to the headless key-script reader, then plays what
// it accepted on a fake clock that has run for a while, jumping to the end of
// each wait (no event buffer or display: keys pass, shots are logged as not
// written).
//
// What must hold: no crash or sanitizer report; a refused script names its
// bad line; an accepted one holds only known key codes, waits of zero or more
// milliseconds that the clock can add, and screenshot names that stay inside
// the screenshot folder; playing it ends.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_runtime.h"
#include "host/factory_remote.h"
#include "host/gui_loop.h"
#include "host/key_script.h"
#include "host/keys/keytable.h"
#include "host/script_events.h"
#include "runtime/clock.h"

using fuzzrt::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzrt::Start();
  host::KeyScript script;
  std::string error;
  if (!script.Parse(std::string_view(reinterpret_cast<const char*>(data), size), &error)) {
    Require(error.rfind("line ", 0) == 0);
    return 0;
  }
  for (const host::KeyScript::Step& step : script.Steps()) {
    switch (step.kind) {
      case host::KeyScript::Step::kKey:
        Require(host::PlatformKeyScriptName(step.key) != nullptr);
        break;
      case host::KeyScript::Step::kWait:
        Require(step.ms >= 0 && step.ms <= host::KeyScript::kMaxWaitMs);
        break;
      case host::KeyScript::Step::kShot:
        Require(!step.name.empty() && step.name != "." && step.name != ".." &&
                step.name.find('/') == std::string::npos && step.name.find('\0') == std::string::npos);
        break;
      case host::KeyScript::Step::kState:
        Require(!step.name.empty());
        break;
      case host::KeyScript::Step::kMessage:
        break;
      case host::KeyScript::Step::kUsb:
      case host::KeyScript::Step::kAir:
        Require(step.value == 0 || step.value == 1);
        break;
      case host::KeyScript::Step::kSimState:
        Require(!step.name.empty() && !step.text.empty() && step.name.find_first_of(" \t") == std::string::npos);
        break;
      case host::KeyScript::Step::kFactory:
        Require(step.ms >= 0 && step.ms <= 0xFFFFFFFFLL && step.text.size() <= host::kFactoryTextBytes);
        Require(step.value == 0 || (step.value == 1 && step.text.empty()));
        break;
      case host::KeyScript::Step::kEvent:
        Require(host::IsScriptEvent(step.name));
        break;
    }
  }
  kv::FakeClock clock(1000);
  kv::SetClock(&clock);
  script.Attach(nullptr, nullptr, nullptr, std::string(), nullptr);
  for (size_t pass = 0; pass <= script.Steps().size() && !script.Finished(); ++pass) {
    script.AfterPass(host::PassResult{});
    const int64_t deadline = script.Deadline();
    if (deadline >= 0) clock.AdvanceTo(deadline);
  }
  Require(script.Finished());
  // What the steps built (messages of `message` steps) is collected.
  fuzzrt::EndPass();
  kv::SetClock(nullptr);
  return 0;
}
