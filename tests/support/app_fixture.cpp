#include "app_fixture.h"
#include "restart_hook.h"

#include <algorithm>

#include "factory/factory_command.h"
#include "host/gui_loop.h"
#include "host/gui_mailbox.h"
#include "host/host_events.h"
#include "host/keys/keytable.h"
#include "host/xpm_callback.h"
#include "platform/sim/program_exports.h"
#include "platform/sim/sim_apps.h"
#include "platform/tvsm/tvsm.h"
#include "platform/storage/storageEntry.h"
#include "platform/xpm/xpm.h"
#include "platform/xpm/xpm_record.h"
#include "known_faults.h"
#include "kv_test.h"
#include "platform/display/display.h"
#include "platform/display/event_buffer.h"
#include "platform/fontengine/font_engine.h"
#include "runtime/collector.h"
#include "runtime/runtime.h"
#include "runtime/slot.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Core/FocusPath.h"
#include "units/Events/EventFactories.h"
#include "units/MainApp/Root.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"
#include "units/WidgetManager/WidgetManager.h"

namespace apptest {

AppTest::AppTest() = default;
AppTest::~AppTest() = default;

void AppTest::SetUp() {
  kv::Runtime::ResetForTests();
  kv::Runtime::SetGuiThread();
  kvtest::ThrowOnPanic();
  kv::SetClock(clock_.get());
  log_.Start();
  Core::TakeCutTexts();
  dir_ = kvtest::FreshTestDir("app");
  if (makeDataFolder_) std::filesystem::create_directories(dir_);
  StartSystem(true);
}

void AppTest::StartSystem(bool first) {
  // A new process: factory mode off, no factory test under way.
  factory::ResetFactoryState();
  tv_ = std::make_unique<sim::Sim>(dir_.string());
  tv_->Start();
  host::RegisterHostEvents();
  Events::RegisterAll();
  host::SetEventProcessing(true);
  // The set's middleware events reach the GUI task as they do in the host.
  XPM_SubscribeEvents(host::kv_xpmEventCallback);
  PersistentData::SetStoragePaths((dir_ / "settings.dat").string(), (dir_ / "settings.bak").string());
  FS_Init(20000);
  FS_AddFont(fe::DefaultFontPath());
  display_ = dfb::Display::Create(dfb::Backend::kHeadless);
  events_ = display_->CreateEventBuffer();
  events_->SetIdleHook([] {
    if (sim::Sim* tv = sim::Sim::Current()) tv->Quiesce();
  });
  host::SetGuiEventBuffer(events_);
  // The stand-ins' closures (the media service's answers) run on the GUI task.
  GetProgramExports().runOnGuiTask = [](std::function<void()> fn) { return host::RunOnGuiTask(std::move(fn)); };
  window_ = display_->CreateWindow(Core::Root::kWidth, Core::Root::kHeight);

  if (first) SetUpData();
  root_ = kv::New<MainApp::Root>();
  kv::LockObject(root_);
  root_->OnSetBounds({0, 0, Core::Root::kWidth, Core::Root::kHeight});
  dfb::Surface& osd = window_->GetSurface();
  root_->AttachSurface(ge::Surface{osd.Pixels(), osd.Width(), osd.Height(), osd.Stride()});
  root_->SetFlipCallback([this](const kv::Rect* rects, int count) {
    window_->Flip(rects, static_cast<size_t>(std::max(count, 0)));
  });
  root_->Install();
  root_->SkipSetupAtStart = !freshSet_;
  root_->Init();
  loop_ = std::make_unique<host::GuiLoop>(events_, root_);
  loop_->SetDeadlineSource([this] { return deadline_; });
  Settle();
}

void AppTest::StopSystem() {
  loop_.reset();
  host::SetGuiEventBuffer(nullptr);
  if (root_) {
    root_->Uninstall();
    root_->DetachSurface();
    root_->SetFlipCallback(nullptr);
    kv::UnlockObject(root_);
    root_ = nullptr;
  }
  if (tv_) tv_->Stop();
  GetProgramExports().runOnGuiTask = nullptr;
  // Every object, timer and table goes, as when the process ends.
  kv::Runtime::ResetForTests();
  kvtest::ThrowOnPanic();
  FS_Exit();
  display_.reset();
  tv_.reset();
  // The settings store forgets what it holds: the next start reads the file.
  UDSM_Close();
}

namespace {
std::function<void()> g_whileOff;
}  // namespace

void WhileOffAtNextRestart(std::function<void()> whileOff) { g_whileOff = std::move(whileOff); }

void AppTest::Restart() {
  StopSystem();
  if (g_whileOff) {
    const std::function<void()> whileOff = std::move(g_whileOff);
    g_whileOff = nullptr;
    whileOff();
  }
  kv::Runtime::SetGuiThread();
  StartSystem(false);
}

void AppTest::StartAfresh() {
  StopSystem();
  kvtest::RemoveTestDir(dir_);
  dir_ = kvtest::FreshTestDir("app");
  if (makeDataFolder_) std::filesystem::create_directories(dir_);
  kv::Runtime::SetGuiThread();
  // Its clock starts where the first set's did, so that the same keys meet
  // the same times of day.
  kv::SetClock(nullptr);
  clock_ = std::make_unique<kv::VirtualClock>(1000);
  kv::SetClock(clock_.get());
  StartSystem(true);
}

void AppTest::TearDown() {
  // Every text the test's screens drew fits what the viewer sees of its view
  // or ends in "..." (but for the cases known-faults.txt still lists).
  for (const std::string& cut : Core::TakeCutTexts())
    if (!kvtest::IsKnownFault("text cut: " + cut)) ADD_FAILURE() << "text cut: " << cut;
  StopSystem();
  log_.Stop();
  kv::SetClock(nullptr);
  kvtest::RemoveTestDir(dir_);
}

void AppTest::Settle() {
  // Bounded: a screen that posts a signal every pass must not hang the test.
  for (int i = 0; i < 1000; ++i) {
    tv_->Quiesce();
    if (events_->Pending() == 0 && !kv::SignalsPending()) return;
    deadline_ = clock_->Now();
    loop_->RunPass();
    deadline_ = -1;
  }
  ADD_FAILURE() << "the system does not settle";
}

namespace {
// The platform code of a remote key's script name; a failure of the test
// and -1 for a name no key has.
int KeyCode(std::string_view name) {
  const int code = host::ScriptNameToPlatformKey(name);
  if (code < 0) ADD_FAILURE() << "no remote key named " << name;
  return code;
}
}  // namespace

void AppTest::Press(std::string_view name, int times) {
  const int code = KeyCode(name);
  for (int i = 0; code >= 0 && i < times; ++i) PressCode(code);
}

void AppTest::PressAtOnce(std::initializer_list<std::string_view> names) {
  for (std::string_view name : names) {
    const int code = KeyCode(name);
    if (code < 0) return;
    events_->PostKey(code, true);
    events_->PostKey(code, false);
  }
  Settle();
}

void AppTest::RecordOnANewDisk() {
  sim::MountUsbDisk(*tv_);
  Settle();
  Press("exit");  // the question the new disk raises
  Settle();
  Press("record");
  Settle();
  Press("ok");
  Settle();
}

void AppTest::PressCode(int platformCode) {
  events_->PostKey(platformCode, true);
  events_->PostKey(platformCode, false);
  Settle();
}

void AppTest::Run(int64_t ms) {
  const int64_t end = clock_->Now() + ms;
  while (clock_->Now() < end) {
    deadline_ = end;
    loop_->RunPass();
  }
  deadline_ = -1;
  Settle();
}

void AppTest::Inject(uint32_t id, const void* payload, size_t length) {
  tv_->Inject(id, payload, length);
  Settle();
}

kv::Object* AppTest::Dispatch(Core::Event* event) {
  kv::Object* answer = root_->DispatchEvent(event);
  Settle();
  return answer;
}

void AppTest::FailCall(const std::string& name, int32_t code) { tv_->FailCall(name, code); }
void AppTest::ClearFailures() { tv_->ClearFailures(); }
std::vector<std::string> AppTest::Calls(std::string_view name) const { return tv_->Calls(name); }
std::vector<std::string> AppTest::CallLog() const { return tv_->CallLog(); }
void AppTest::ClearCallLog() { tv_->ClearCallLog(); }

void AppTest::KeyPadAnswers(const char* text) {
  auto* msg = kv::New<Structures::Message>();
  Structures::RefString* ref = nullptr;
  if (text) {
    ref = kv::New<Structures::RefString>();
    ref->Value = kv::String::FromUtf8(text);
  }
  msg->Initialize(Constants::MSG_LABEL_CHANGE, ref);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Dispatch(msg);
  Settle();
}

std::vector<Primitives::KeyRoutingForm*> AppTest::OpenForms() {
  std::vector<Primitives::KeyRoutingForm*> forms;
  auto* wm = kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
  for (kv::Object* o : wm->Snapshot())
    if (auto* f = kv::Cast<Primitives::KeyRoutingForm>(o)) forms.push_back(f);
  return forms;
}

Core::View* AppTest::Focused() {
  const std::vector<Core::View*> path = Core::FocusPath(*root_);
  return path.empty() ? nullptr : path.back();
}

bool AppTest::KeysInClass(const kv::Class* cls) {
  for (Core::View* v : Core::FocusPath(*root_))
    if (v->KvClass()->Is(cls)) return true;
  return false;
}

bool AppTest::AppOwnsTheScreen() {
  for (const sim::Sim::RunningApp& a : sim::RunningApps(*tv_))
    if (a.kind != 1 && (a.flags & TVSM_APP_FLAG_BACKGROUND) == 0) return true;
  return false;
}

std::vector<Core::SeenText> AppTest::SeenTexts() {
  Settle();
  root_->Redraw();
  return Core::LookAtTexts(*root_);
}

bool AppTest::Sees(std::string_view text) {
  for (const Core::SeenText& t : SeenTexts())
    if (t.text.find(text) != std::string::npos && t.Readable()) return true;
  return false;
}

std::string AppTest::SeenList() {
  static const char* const kCover[] = {"", " [partly hidden]", " [hidden]"};
  std::string out = "texts on screen:\n";
  for (const Core::SeenText& t : SeenTexts())
    out += "  " + t.Describe() + kCover[static_cast<int>(t.cover)] + (t.Cut() ? " [cut]" : "") + "\n";
  return out;
}

std::vector<OpenScreen> AppTest::Screens() {
  std::vector<OpenScreen> out;
  for (Primitives::KeyRoutingForm* f : OpenForms())
    out.push_back({kv::ClassOf(f)->name, f->WinID, f->Layer, f->IsVisible()});
  return out;
}

bool AppTest::Shot(const std::string& path) {
  Settle();
  return display_->SaveOsdScreenshot(path);
}

const ge::Surface& AppTest::Osd() { return root_->GetSurface(); }

std::map<std::string, size_t> AppTest::Census() {
  kv::Collect();
  return kv::HeapCensus();
}

}  // namespace apptest
