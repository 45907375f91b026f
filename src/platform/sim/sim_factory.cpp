// The platform services of the factory tests (oam_factory.h) over the Sim:
// "oam.arc.<port>", "oam.model.group" in its persistent state; the wireless
// module's answers from "factory.wl.module" (0: no module), "factory.wl.vendorid",
// "factory.wl.deviceid" and "factory.wl.rssi" (the text the signal reading
// prints); the test server's speed from "factory.http.speed" (KB/s).
//
// The command runner answers only the fixed commands of the factory tests;
// the USB stick is the simulated disk (sim::MountUsbDisk), which mounts as
// sda1 on the factory's mount point. Nothing runs a shell or touches the
// host's /mnt.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <string>

#include "platform/oam/oam_factory.h"
#include "platform/sim/sim.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "platform/xpm/xpm_record.h"
#include "runtime/trace.h"

struct BCM_Pipe {
  std::string out;
  size_t pos = 0;
  int32_t status = 0;
};

namespace {

#define FACTORY_ENTER(name, args)                                               \
  sim::Sim* tv = sim::Sim::Current();                                          \
  if (auto fail = sim::EnterCall(name, args, OAM_ERR_NOT_READY)) return *fail; \
  if (!tv) return OAM_ERR_NOT_READY

constexpr const char* kMountPoint = "/mnt/factory/wlan";
constexpr const char* kTestFile = "wlan_test.txt";
constexpr const char* kStickDevice = "sda1";  // where the simulated disk shows
constexpr size_t kMaxOutput = 4096;
constexpr uint32_t kTestServer = 0xC0A8000A;  // 192.168.0.10

// Which device is mounted on the factory mount point, per running set.
struct MountState {
  std::mutex mutex;
  uint64_t serial = 0;
  std::string device;
};
MountState g_mount;

std::string Mounted(const sim::Sim& tv) {
  std::lock_guard lock(g_mount.mutex);
  return g_mount.serial == tv.Serial() ? g_mount.device : std::string();
}
void SetMounted(const sim::Sim& tv, const std::string& device) {
  std::lock_guard lock(g_mount.mutex);
  g_mount.serial = tv.Serial();
  g_mount.device = device;
}

int32_t StateInt(const sim::Sim& tv, const std::string& key, int32_t fallback) {
  const std::string v = tv.GetState(key);
  char* end = nullptr;
  const long n = std::strtol(v.c_str(), &end, 10);
  return v.empty() || *end ? fallback : static_cast<int32_t>(n);
}

bool IsStickDevice(const std::string& dev) {
  if (dev.size() < 3 || dev.compare(0, 2, "sd") != 0 || dev[2] < 'a' || dev[2] > 'd') return false;
  return dev.size() == 3 || (dev.size() == 4 && dev[3] >= '1' && dev[3] <= '6');
}

// Runs one known command; nullopt when it cannot run (the pipe does not open).
std::optional<int32_t> Run(sim::Sim& tv, const std::string& cmd, std::string* out) {
  const std::string mountPoint = kMountPoint;
  const std::string mountPrefix = "mkdir -p " + mountPoint + " && mount -t vfat /dev/";
  const bool module = tv.GetState("factory.wl.module", "1") != "0";
  if (cmd == "wl revinfo") {
    if (!module) return std::nullopt;
    *out = "vendorid " + tv.GetState("factory.wl.vendorid", "0x14e4") + "\ndeviceid " +
           tv.GetState("factory.wl.deviceid", "0x4346") + "\nradiorev 0x1\n";
    return 0;
  }
  if (cmd == "wl phy_rssi_ant") {
    if (!module) return std::nullopt;
    *out = tv.GetState("factory.wl.rssi", "rssi[0] -42 rssi[1] -47");
    return 0;
  }
  if (cmd.compare(0, mountPrefix.size(), mountPrefix) == 0) {
    const std::string rest = cmd.substr(mountPrefix.size());
    const std::string dev = rest.substr(0, rest.find(' '));
    if (!IsStickDevice(dev) || rest != dev + " " + mountPoint) return std::nullopt;
    if (!Mounted(tv).empty() || dev != kStickDevice || !sim::UsbDiskMounted(tv)) return 32;
    SetMounted(tv, dev);
    return 0;
  }
  const std::string disk = tv.TargetPath(sim::kUsbMountPoint);
  if (cmd == "ls " + mountPoint) {
    if (Mounted(tv).empty()) return 2;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(disk, ec)) *out += e.path().filename().string() + "\n";
    return 0;
  }
  if (cmd == "cat " + mountPoint + "/" + kTestFile) {
    if (Mounted(tv).empty()) return 1;
    std::ifstream in(disk + "/" + kTestFile, std::ios::binary);
    if (!in) return 1;
    std::string text(kMaxOutput, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    *out = text;
    return 0;
  }
  if (cmd == "umount " + mountPoint) {
    if (Mounted(tv).empty()) return 1;
    SetMounted(tv, "");
    return 0;
  }
  kv::Log("board command runner: \"" + kv::EscapedText(cmd) + "\" is not a command of the factory tests, refused");
  return std::nullopt;
}

}  // namespace

int32_t OAM_CustomDispatchFactoryCommand(const uint32_t* code) {
  FACTORY_ENTER("OAM_CustomDispatchFactoryCommand", code ? sim::Args(*code) : std::string("null"));
  if (!code) return OAM_ERR_INVALID_PARAM;
  XPM_FactoryEvent ev{};
  ev.type = XPM_FACTORY_TYPE_COMMAND;
  ev.command.code = *code;
  tv->Inject(XPM_EVT_FACTORY, ev);
  return OAM_OK;
}

int32_t OAM_hdmiswitch_GetARCPort(int32_t* port) {
  FACTORY_ENTER("OAM_hdmiswitch_GetARCPort", "");
  if (!port) return OAM_ERR_INVALID_PARAM;
  *port = StateInt(*tv, "oam.arc.port", *port);
  return OAM_OK;
}

int32_t OAM_hdmiswitch_SetARC(int32_t port, int32_t on) {
  FACTORY_ENTER("OAM_hdmiswitch_SetARC", sim::Args(port, on));
  if (port < 1 || port > 4 || (on != 0 && on != 1)) return OAM_ERR_INVALID_PARAM;
  return tv->SetState("oam.arc." + std::to_string(port), std::to_string(on)) ? OAM_OK : OAM_ERR_FAILED;
}

int32_t SI_EraseNVRAM(void) {
  FACTORY_ENTER("SI_EraseNVRAM", "");
  return OAM_OK;
}

int32_t OAM_PlatformMiscs_GetSpeedTestInfo(int32_t* first, int32_t* second, uint32_t* server) {
  FACTORY_ENTER("OAM_PlatformMiscs_GetSpeedTestInfo", "");
  if (!first || !second || !server) return OAM_ERR_INVALID_PARAM;
  *first = 0;
  *second = 0;
  *server = kTestServer;
  return OAM_OK;
}

int32_t BCM_Set_http_timeout(int32_t seconds) {
  FACTORY_ENTER("BCM_Set_http_timeout", sim::Args(seconds));
  return seconds > 0 ? OAM_OK : OAM_ERR_INVALID_PARAM;
}

int32_t BCM_HTTP_Speed(const char* endpoint, const char* path, uint32_t server) {
  FACTORY_ENTER("BCM_HTTP_Speed", sim::Args(endpoint, path, server));
  if (!endpoint || !path) return 0;
  return StateInt(*tv, "factory.http.speed", 30000);
}

int32_t BCM_SetModel(int32_t group) {
  FACTORY_ENTER("BCM_SetModel", sim::Args(group));
  if (group < 0 || group > 3) return OAM_ERR_INVALID_PARAM;
  return tv->SetState("oam.model.group", std::to_string(group)) ? OAM_OK : OAM_ERR_FAILED;
}

BCM_Pipe* BCM_syscall_popen(const char* command, const char* mode) {
  sim::Sim* tv = sim::Sim::Current();
  if (sim::EnterCall("BCM_syscall_popen", sim::Args(command, mode), OAM_ERR_NOT_READY) || !tv) return nullptr;
  if (!command || !mode || std::strcmp(mode, "r") != 0) return nullptr;
  std::string out;
  const std::optional<int32_t> status = Run(*tv, command, &out);
  if (!status) return nullptr;
  auto* pipe = new BCM_Pipe;
  pipe->out = std::move(out);
  pipe->status = *status;
  return pipe;
}

size_t BCM_syscall_read(BCM_Pipe* pipe, char* out, size_t size) {
  if (!pipe || !out || size == 0) return 0;
  const size_t n = std::min(size - 1, pipe->out.size() - pipe->pos);
  std::memcpy(out, pipe->out.data() + pipe->pos, n);
  out[n] = '\0';
  pipe->pos += n;
  return n;
}

int32_t BCM_syscall_pclose(BCM_Pipe* pipe) {
  if (!pipe) return -1;
  const int32_t status = pipe->status;
  delete pipe;
  return status;
}

int32_t BCM_syscall_system(const char* command) {
  sim::Sim* tv = sim::Sim::Current();
  if (auto fail = sim::EnterCall("BCM_syscall_system", sim::Args(command), -1)) return *fail;
  if (!tv || !command) return -1;
  std::string out;
  return Run(*tv, command, &out).value_or(-1);
}
