// The set's data files (settings.dat and settings.bak of the application,
// tvsim.state and tvsim.state.bak of the set) missing, unreadable, a folder
// or empty, alone and together. After a restart the viewer's settings come
// from the newest file that can be read, the damage is said, what was in the
// file's place is kept aside, and the saves that follow keep what was read:
// nothing is lost but what changed after the backup was written. A folder
// left where a save writes its new file stops no save, and every damaged
// file found is kept aside under a name of its own.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "app_fixture.h"
#include "restart_hook.h"
#include "platform/storage/native_log.h"
#include "platform/xpm/xpm_settings.h"
#include "runtime/trace.h"
#include "runtime/auto_object.h"
#include "strings/MainApp.h"
#include "strings/SkinBinWrapper.h"
#include "units/PersistentData/PersistentData.h"

namespace {

namespace fs = std::filesystem;

enum class Damage { kMissing, kUnreadable, kFolder, kEmpty, kPipe };

// Which files a case damages.
enum Files : unsigned {
  kSettings = 1,        // settings.dat
  kSettingsBackup = 2,  // settings.bak
  kState = 4,           // tvsim.state
  kStateBackup = 8,     // tvsim.state.bak
};

struct Case {
  Damage damage;
  unsigned files;
};

const char* DamageName(Damage d) {
  switch (d) {
    case Damage::kMissing: return "missing";
    case Damage::kUnreadable: return "unreadable";
    case Damage::kFolder: return "folder";
    case Damage::kEmpty: return "empty";
    case Damage::kPipe: return "pipe";
  }
  return "";
}

// What the set's log line says of its state file in each case.
const char* StateFileSays(Damage d) {
  switch (d) {
    case Damage::kMissing: return "tvsim.state is missing";
    case Damage::kUnreadable: return "tvsim.state cannot be read";
    case Damage::kFolder: return "tvsim.state is a folder";
    case Damage::kEmpty: return "tvsim.state is damaged (empty)";
    case Damage::kPipe: return "tvsim.state is not a plain file (a pipe)";
  }
  return "";
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
  std::string name = DamageName(info.param.damage);
  if (info.param.files & kSettings) name += "_settings";
  if (info.param.files & kSettingsBackup) name += "_settingsbak";
  if (info.param.files & kState) name += "_state";
  if (info.param.files & kStateBackup) name += "_statebak";
  return name;
}

// Puts the damage in the file's place. Run as root, no mode keeps a file
// from being read; a link to itself fails every open, for root as well.
void Spoil(const fs::path& file, Damage d) {
  fs::remove_all(file);
  switch (d) {
    case Damage::kMissing: break;
    case Damage::kUnreadable: fs::create_symlink(file.filename(), file); break;
    case Damage::kFolder:
      fs::create_directories(file);
      std::ofstream(file / "x") << "x";
      break;
    case Damage::kEmpty: std::ofstream(file, std::ios::binary); break;
    // A pipe with no writer: opened for reading the usual way, it would
    // hold the start for ever.
    case Damage::kPipe: ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0); break;
  }
}

bool Exists(const fs::path& p) { return fs::exists(fs::symlink_status(p)); }

// The volume a state file holds; -1 without one.
int32_t StoredVolume(const fs::path& file) {
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);)
    if (line.rfind("tv.set.volume=", 0) == 0) return std::stoi(line.substr(14));
  return -1;
}

// The text of a file; empty when there is none.
std::string TextOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

size_t LinesContaining(const std::vector<std::string>& lines, const std::string& part) {
  size_t n = 0;
  for (const std::string& line : lines) n += line.find(part) != std::string::npos;
  return n;
}

class SaveFilesTest : public apptest::AppTest {
 protected:
  // The settings store's lines join the log, as in tvui.
  void SetUp() override {
    NativeSetLogger([](const char* line) { kv::Log(line); });
    AppTest::SetUp();
  }
  void TearDown() override {
    AppTest::TearDown();
    NativeSetLogger(nullptr);
  }
  static PersistentData::PersistentData* Store() {
    return kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
  }
  std::string Pin() { return Store()->GetString(SkinBinWrapper::KEY_PIN).ToUtf8(); }
  void SetPin(const char* pin) {
    Store()->PutString(SkinBinWrapper::KEY_PIN, kv::String::FromUtf8(pin));
    Run(100);  // saved at the end of the pass
  }
  int32_t Volume() {
    int32_t v = -1;
    EXPECT_EQ(XPM_GetVolume(&v), XPM_OK);
    return v;
  }
  std::vector<std::string> StartLines() { return Log().Take(); }
};

class DataFilesTest : public SaveFilesTest, public ::testing::WithParamInterface<Case> {};

TEST_P(DataFilesTest, TheViewersSettingsComeFromTheNewestFileThatCanBeRead) {
  const Case c = GetParam();
  const int32_t volumeNew = Volume();
  const std::string pinNew = Pin();

  // A first session: the volume and the PIN set; both files written.
  Press("vol+", 2);
  SetPin("1111");
  Run(6000);
  Restart();
  const int32_t volumeA = Volume();
  ASSERT_EQ(Pin(), "1111");
  ASSERT_NE(volumeA, volumeNew);
  // A second session changes both once more: the files now hold these,
  // their backups the first session's (or, for the set, its last save
  // before it went off).
  Run(6000);
  SetPin("2222");
  Press("vol+");
  const int32_t volumeB = Volume();
  ASSERT_NE(volumeB, volumeA);

  const fs::path dir = DataDir();
  // The set's last good copy is the file as the save before the last left
  // it (the set writes once more as it goes off).
  int32_t volumeInBackup = -1;
  Log().Clear();
  apptest::WhileOffAtNextRestart([&] {
    volumeInBackup = StoredVolume(dir / "tvsim.state.bak");
    if (c.files & kSettings) Spoil(dir / "settings.dat", c.damage);
    if (c.files & kSettingsBackup) Spoil(dir / "settings.bak", c.damage);
    if (c.files & kState) Spoil(dir / "tvsim.state", c.damage);
    if (c.files & kStateBackup) Spoil(dir / "tvsim.state.bak", c.damage);
  });
  Restart();
  const std::vector<std::string> lines = StartLines();

  // The newest file that can be read wins: the backup when the file is lost,
  // a new set's value when both are.
  const bool stateLost = c.files & kState, stateBackupLost = c.files & kStateBackup;
  const bool settingsLost = c.files & kSettings, settingsBackupLost = c.files & kSettingsBackup;
  ASSERT_TRUE(volumeInBackup == volumeA || volumeInBackup == volumeB) << volumeInBackup;
  const int32_t volume = !stateLost ? volumeB : !stateBackupLost ? volumeInBackup : volumeNew;
  const std::string pin = !settingsLost ? "2222" : !settingsBackupLost ? "1111" : pinNew;
  EXPECT_EQ(Volume(), volume);
  EXPECT_EQ(Pin(), pin);

  // Said at start, in one line that names what is in the file's place; what
  // was there is kept aside.
  const bool allMissing = c.damage == Damage::kMissing;
  if (stateLost && !(allMissing && stateBackupLost)) {
    EXPECT_TRUE(kvtest::AnyContains(lines, StateFileSays(c.damage)));
    if (!stateBackupLost) {
      EXPECT_TRUE(kvtest::AnyContains(lines, "the last good copy"));
    }
  }
  if (settingsLost && !settingsBackupLost) {
    EXPECT_TRUE(kvtest::AnyContains(lines, "settings loaded from the backup"));
  }
  if (c.damage != Damage::kMissing) {
    if (stateLost) {
      EXPECT_TRUE(Exists(dir / "tvsim.state.bad"));
    }
    if (settingsLost) {
      EXPECT_TRUE(Exists(dir / "settings.dat.damaged"));
    }
    if (c.damage == Damage::kUnreadable) {
      if (stateLost) {
        EXPECT_TRUE(fs::is_symlink(dir / "tvsim.state.bad")) << "kept as it was";
      }
      if (settingsLost) {
        EXPECT_TRUE(fs::is_symlink(dir / "settings.dat.damaged")) << "kept as it was";
      }
    }
    if (c.damage == Damage::kPipe) {
      if (stateLost) {
        EXPECT_TRUE(fs::is_fifo(dir / "tvsim.state.bad")) << "kept as it was";
      }
      if (settingsLost) {
        EXPECT_TRUE(fs::is_fifo(dir / "settings.dat.damaged")) << "kept as it was";
        EXPECT_EQ(LinesContaining(lines, "settings.dat (a pipe) is kept as"), 1u) << "said in one line";
      }
      if (c.files & kSettingsBackup && settingsLost) {
        EXPECT_TRUE(fs::is_fifo(dir / "settings.bak.damaged")) << "kept as it was";
      }
    }
    if (c.damage == Damage::kFolder) {
      if (stateLost) {
        EXPECT_TRUE(fs::exists(dir / "tvsim.state.bad" / "x")) << "kept with what it holds";
      }
      if (settingsLost) {
        EXPECT_TRUE(fs::exists(dir / "settings.dat.damaged" / "x")) << "kept with what it holds";
      }
    }
  }

  // Two more sessions, each changing both: every change reaches the files,
  // whatever lies where the backups go.
  Log().Clear();
  for (int session = 1; session <= 2; ++session) {
    const std::string newPin(4, static_cast<char>('2' + session));  // "3333", "4444"
    Press("vol+");
    Run(6000);
    SetPin(newPin.c_str());
    Restart();
    EXPECT_EQ(Volume(), volume + session);
    EXPECT_EQ(Pin(), newPin);
  }
  const std::vector<std::string> later = StartLines();
  // A folder where a backup goes, beside a good file, stays where it is: the
  // saves name the backup they cannot make. (A backup read in place of a
  // lost file was kept aside at the start.)
  if (c.damage == Damage::kFolder && c.files == kStateBackup) {
    EXPECT_TRUE(kvtest::AnyContains(later, "tvsim.state.bak cannot be made")) << "the backup not made is named";
  }
  if (c.damage == Damage::kFolder && c.files == kSettingsBackup) {
    EXPECT_TRUE(kvtest::AnyContains(later, "settings.bak cannot be made")) << "the backup not made is named";
  }
  EXPECT_FALSE(kvtest::AnyContains(later, "not saved"));
}


// A folder left where a save writes its new file (tvsim.state.new,
// settings.dat.new) is moved aside once, with what it holds, and every save
// of both files goes on: the volume and the PIN set after it are there after
// a restart, and again after the next.
class NewFileInTheWayTest : public SaveFilesTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(NewFileInTheWayTest, WhateverStandsWhereASaveWritesIsMovedAsideAndTheSavesGoOn) {
  const fs::path dir = DataDir();
  const bool folder = GetParam() == Damage::kFolder;
  Run(6000);
  apptest::WhileOffAtNextRestart([&] {
    for (const char* name : {"tvsim.state.new", "settings.dat.new"}) Spoil(dir / name, GetParam());
  });
  Log().Clear();
  Restart();
  Press("vol+", 3);
  const int32_t volume = Volume();
  SetPin("3141");
  Run(6000);
  Restart();
  std::vector<std::string> lines = Log().Take();
  EXPECT_EQ(Volume(), volume);
  EXPECT_EQ(Pin(), "3141");
  if (folder) {
    EXPECT_TRUE(fs::exists(dir / "tvsim.state.new.bad" / "x")) << "kept with what it holds";
    EXPECT_TRUE(fs::exists(dir / "settings.dat.new.damaged" / "x")) << "kept with what it holds";
  } else {
    EXPECT_TRUE(fs::is_fifo(dir / "tvsim.state.new.bad")) << "kept as it was";
    EXPECT_TRUE(fs::is_fifo(dir / "settings.dat.new.damaged")) << "kept as it was";
  }
  const std::string kind = folder ? " (a folder) is kept as" : " (a pipe) is kept as";
  EXPECT_EQ(LinesContaining(lines, "tvsim.state.new" + kind), 1u);
  EXPECT_EQ(LinesContaining(lines, "settings.dat.new" + kind), 1u);
  EXPECT_FALSE(kvtest::AnyContains(lines, "cannot write"));

  Press("vol+");
  SetPin("2718");
  Run(6000);
  Restart();
  EXPECT_EQ(Volume(), volume + 1);
  EXPECT_EQ(Pin(), "2718");
  EXPECT_FALSE(kvtest::AnyContains(Log().Take(), "not saved"));
}

INSTANTIATE_TEST_SUITE_P(Kinds, NewFileInTheWayTest, ::testing::Values(Damage::kFolder, Damage::kPipe),
                         [](const ::testing::TestParamInfo<Damage>& kind) { return std::string(DamageName(kind.param)); });

// A damaged state or settings file found at one start after another: each
// is kept aside under a name of its own (the newest under .bad or .damaged,
// the two before it under .1 and .2); the fourth takes the oldest's place.
TEST_F(SaveFilesTest, EveryDamagedFileIsKeptAsideUnderItsOwnName) {
  const fs::path dir = DataDir();
  Run(6000);
  for (int round = 1; round <= 4; ++round) {
    const std::string text = "damaged " + std::to_string(round) + "\n";
    apptest::WhileOffAtNextRestart([&] {
      std::ofstream(dir / "tvsim.state", std::ios::binary | std::ios::trunc) << text;
      std::ofstream(dir / "settings.dat", std::ios::binary | std::ios::trunc) << text;
    });
    Restart();
    Run(6000);
  }
  for (const std::string aside : {"tvsim.state.bad", "settings.dat.damaged"}) {
    EXPECT_EQ(TextOf(dir / aside), "damaged 4\n") << aside;
    EXPECT_EQ(TextOf(dir / (aside + ".1")), "damaged 3\n") << aside;
    EXPECT_EQ(TextOf(dir / (aside + ".2")), "damaged 2\n") << aside;
    EXPECT_FALSE(Exists(dir / (aside + ".3"))) << aside;
  }
}

std::vector<Case> Cases() {
  std::vector<Case> out;
  for (Damage d : {Damage::kMissing, Damage::kUnreadable, Damage::kFolder, Damage::kEmpty, Damage::kPipe})
    for (unsigned files : {unsigned{kSettings}, unsigned{kSettingsBackup}, unsigned{kState}, unsigned{kStateBackup},
                           unsigned{kSettings | kState}, unsigned{kSettings | kSettingsBackup | kState | kStateBackup}})
      out.push_back({d, files});
  return out;
}

INSTANTIATE_TEST_SUITE_P(Files, DataFilesTest, ::testing::ValuesIn(Cases()), CaseName);

}  // namespace
