#include "host_test_root.h"

#include "runtime/string.h"
#include "units/Events/XPM_EVENT_CHANNEL_SCAN_PROGRESS.h"
#include "units/Events/XPM_EVENT_EPG_CHANNEL_SCAN_PROGRESS.h"
#include "units/Events/XPM_EVENT_FACTORY_COMMAND.h"
#include "units/Events/XPM_EVENT_FULL_SCAN_COMPLETE.h"
#include "units/Events/XPM_EVENT_KEY.h"

namespace hosttest {

KV_REGISTER_CLASS(hosttest::RecordingRoot);

namespace {
std::mutex g_mutex;
std::vector<Seen> g_seen;

std::string Narrow(const kv::String& s) {
  std::string out;
  for (char16_t c : s.View()) out += static_cast<char>(c);
  return out;
}
}  // namespace

kv::Object* RecordingRoot::PreDispatch(Core::Event* event) {
  Seen s;
  s.cls = kv::ClassOf(event)->name;
  if (auto* k = kv::Cast<Core::KeyEvent>(event)) {
    s.code = k->Code;
    s.down = k->Down;
  }
  if (auto* k = kv::Cast<Events::XPM_EVENT_KEY>(event)) s.fromPanel = k->FromPanel;
  if (auto* f = kv::Cast<Events::XPM_EVENT_FACTORY_COMMAND>(event)) {
    s.kind = f->Kind;
    s.value = f->Value;
    s.text = Narrow(f->Text);
    s.target = f->Class;
  }
  if (auto* p = kv::Cast<Events::XPM_EVENT_CHANNEL_SCAN_PROGRESS>(event)) {
    s.numbers = {p->PhysicalChannel, p->Value1, p->Percent, p->Found, p->Flag};
    for (int32_t i = 0; i < p->Found; ++i) {
      s.numbers.push_back(p->Channels[i].Major);
      s.numbers.push_back(p->Channels[i].Minor);
    }
  }
  if (auto* p = kv::Cast<Events::XPM_EVENT_EPG_CHANNEL_SCAN_PROGRESS>(event))
    s.numbers = {p->Position, p->Total, p->Channel.Major, p->Channel.Minor};
  if (auto* p = kv::Cast<Events::XPM_EVENT_FULL_SCAN_COMPLETE>(event)) s.numbers = {p->Value0, p->Value1};
  std::lock_guard<std::mutex> lock(g_mutex);
  g_seen.push_back(std::move(s));
  return nullptr;
}

std::vector<Seen> RecordingRoot::Take() {
  std::lock_guard<std::mutex> lock(g_mutex);
  std::vector<Seen> out;
  out.swap(g_seen);
  return out;
}

std::vector<Seen> RecordingRoot::Peek() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_seen;
}

void RecordingRoot::Clear() {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_seen.clear();
}

}  // namespace hosttest
