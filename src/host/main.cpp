// The TV user interface process.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "host/app.h"
#include "host/crash.h"
#include "host/key_script.h"
#include "host/keys/keytable.h"
#include "platform/psl/psl.h"
#include "platform/sim/sim.h"
#include "platform/storage/native_log.h"
#include "platform/storage/storageEntry.h"
#include "runtime/clock.h"
#include "runtime/trace.h"
#include "runtime/trace_level.h"

namespace {

void Usage(std::FILE* out) {
  std::fputs(
      "Usage: tvui [options]\n"
      "\n"
      "Runs the television's on-screen display in a window when a display is\n"
      "there, headless otherwise. It reads its font (fonts/tt7268m_803.ttf) and\n"
      "licence text from the working folder, else from the folder it lies in.\n"
      "\n"
      "Options:\n"
      "  --headless         no window, even when a display is there\n"
      "  --window           the SDL window (falls back to headless when it cannot open)\n"
      "  --keys FILE        play a key script on the virtual clock and end after it:\n"
      "                     one remote key name per line, \"wait MS\", \"shot NAME\";\n"
      "                     the set starts in live TV unless the script has the\n"
      "                     line \"fresh set\" (a new data folder: the first-time setup);\n"
      "                     \"media NAME\" names the sample media set the script\n"
      "                     expects plugged (tools/play_scene.sh writes it)\n"
      "  --shots DIR        where \"shot NAME\" writes NAME.png (default: .)\n"
      "  --data-dir DIR     everything the set writes (default: $HOME/.local/share/tvui)\n"
      "  --media-dir DIR    a folder the set sees as a USB stick (up to five; Ctrl+U\n"
      "                     pulls them out and plugs them in again)\n"
      "  --debug            also print the routine traces (keys, settings, screens)\n"
      "  --help             this text and the key map\n"
      "\n"
      "Closing the window switches the set off.\n"
      "\n"
      "Exit status: 0; 1 when a screenshot could not be written or the GUI could\n"
      "not start; 2 for a bad option or key script (nothing is started); 3 when\n"
      "settings changed in the session could not be saved.\n"
      "\n",
      out);
  std::fputs(host::KeyMapHelp().c_str(), out);
}

// A path from the command line, as it goes into a log line.
std::string Path(const std::string& path) { return kv::EscapedText(path, kv::kMaxLoggedPath); }

// The exit status when settings changed in the session could not be saved.
constexpr int kStatusNotSaved = 3;

std::string DefaultDataDir() {
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.local/share/tvui";
}

// What keeps shots from being written into `dir`: empty when it is a folder
// that can be written, or can be made under the nearest existing folder of
// its path and that folder can be written.
std::string ShotsFolderTrouble(const std::string& dir) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path wanted = fs::absolute(fs::path(dir), ec);
  if (ec) return ec.message();
  for (fs::path at = wanted;; at = at.parent_path()) {
    const fs::file_status st = fs::status(at, ec);
    if (fs::exists(st)) {
      if (!fs::is_directory(st))
        return at == wanted ? "a file, not a folder" : "a file lies on its path (" + Path(at.string()) + ")";
      if (::access(at.c_str(), W_OK | X_OK) != 0) return Path(at.string()) + " cannot be written (" + std::strerror(errno) + ")";
      return "";
    }
    if (at.parent_path() == at) return "no folder of its path exists";
  }
}

}  // namespace

int main(int argc, char** argv) {
  // The settings store's lines join the program's log.
  NativeSetLogger([](const char* line) { kv::Log(line); });
  host::Options options;
  options.dataDir = DefaultDataDir();
  // Every bad option and script line is named before anything starts.
  bool bad = false, unknown = false;
  // Options that take one value are refused when given again: which of two
  // data folders the viewer meant cannot be guessed.
  std::set<std::string> given;
  int32_t mediaDirs = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--keys" || arg == "--shots" || arg == "--data-dir") {
      if (!given.insert(arg).second) {
        kv::Log("tvui: " + arg + " is given more than once; it takes one value");
        bad = true;
      }
    } else if (arg == "--media-dir" && ++mediaDirs == psl::kMaxSticks + 1) {
      kv::Log("tvui: --media-dir is given more than " + std::to_string(psl::kMaxSticks) + " times; the set takes " +
              std::to_string(psl::kMaxSticks) + " sticks");
      bad = true;
    }
    // A path option's value; an empty one would name the root of the file
    // system ("" + "/settings.dat") or the working folder.
    auto value = [&](const char* name) -> std::string {
      if (i + 1 >= argc) {
        kv::Log(std::string("tvui: ") + name + " needs a value");
        bad = true;
        return "";
      }
      const std::string v = argv[++i];
      if (v.empty()) {
        kv::Log(std::string("tvui: ") + name + " needs a value, not an empty one");
        bad = true;
      }
      return v;
    };
    if (arg == "--help" || arg == "-h") {
      Usage(stdout);
      return 0;
    } else if (arg == "--headless") {
      options.backend = dfb::Backend::kHeadless;
    } else if (arg == "--window") {
      options.backend = dfb::Backend::kSdl;
    } else if (arg == "--keys") {
      options.keysFile = value("--keys");
    } else if (arg == "--shots") {
      options.shotsDir = value("--shots");
      const std::string trouble = options.shotsDir.empty() ? "" : ShotsFolderTrouble(options.shotsDir);
      if (!trouble.empty()) {
        kv::Log("tvui: --shots " + Path(options.shotsDir) + ": " + trouble);
        bad = true;
      }
    } else if (arg == "--data-dir") {
      options.dataDir = value("--data-dir");
    } else if (arg == "--media-dir") {
      options.mediaDirs.push_back(value("--media-dir"));
    } else if (arg == "--debug") {
      kv::SetDebugTraces(true);
    } else {
      kv::Log("tvui: unknown option " + kv::EscapedText(arg));
      bad = unknown = true;
    }
  }

  // The whole key script is read once and checked before anything starts or
  // writes; the set plays that text.
  if (!options.keysFile.empty()) {
    host::KeyScript script;
    std::string error;
    if (!host::KeyScript::Read(options.keysFile, &options.keysScript, &error) ||
        !script.Parse(options.keysScript, &error)) {
      kv::Log("tvui: the key script " + Path(options.keysFile) + " cannot be played:");
      for (size_t start = 0; start <= error.size();) {
        const size_t nl = std::min(error.find('\n', start), error.size());
        kv::Log("  " + error.substr(start, nl - start));
        start = nl + 1;
      }
      bad = true;
    }
    options.skipSetup = !script.FreshSet();
    if (!bad && !script.MediaSet().empty() && options.mediaDirs.empty())
      kv::Log("tvui: the key script expects the media set " + kv::EscapedText(script.MediaSet()) +
              " as a stick: tools/play_scene.sh writes and plugs it");
  }
  if (bad) {
    if (unknown) Usage(stderr);
    return 2;
  }

  kv::Log(std::string("tvui: television on-screen display (built ") + __DATE__ + " " + __TIME__ + ")");
  const std::string settingsPath = options.dataDir + "/settings.dat";
  const bool keepsSettings = UDSM_FolderWritable(settingsPath.c_str());
  if (!keepsSettings)
    kv::Log("tvui: the data folder " + Path(options.dataDir) +
            " cannot be written: settings changed in this session will not be kept");
  host::ArmCrashBacktrace();
  options.netBoot = host::BootedFromNetwork();
  if (options.netBoot) kv::Log("tvui: booted from the network");

  // A key script runs on the virtual clock, so that every run shows the same screens.
  std::unique_ptr<kv::VirtualClock> virtualClock;
  if (!options.keysFile.empty()) {
    virtualClock = std::make_unique<kv::VirtualClock>(0);
    kv::SetClock(virtualClock.get());
  }

  int status;
  size_t unsaved = 0;
  {
    sim::Sim tv(options.dataDir);
    for (const std::string& dir : options.mediaDirs) kv::Log("tvui: media folder " + Path(dir) + " is a USB stick");
    psl::SetStartupFolders(options.mediaDirs);
    psl::SetDefaultWallpaper(psl::MediaDefaultWallpaperName);
    tv.Start();
    status = host::app_main(options);
    host::ShutDownGui();
    tv.Stop();
    unsaved = UDSM_UnsavedChanges() + tv.UnsavedChanges();
  }
  kv::SetClock(nullptr);
  // Changes the files do not hold are lost: say so, and end with a failure.
  if (unsaved > 0) {
    kv::Log("tvui: " + std::to_string(unsaved) + (unsaved == 1 ? " change" : " changes") + " to the settings not saved in " +
            Path(options.dataDir));
    if (status == 0) status = kStatusNotSaved;
  }
  kv::Log("tvui: stopped");
  return status;
}
