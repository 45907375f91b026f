// Every command that README.md and docs/ give, run as written from where
// they say, so that none goes stale: the program's commands in a scratch
// copy of the repository's top (build-run/ and build/ hold the program, its
// font and the licence text, as the builds leave them), the make targets as
// a dry run. A key script writes screenshots, and each one shows text.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/capture.h"
#include "support/png_read.h"
#include "tvui_paths.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSource = TVUI_SOURCE_DIR;
const fs::path kBinary = TVUI_BINARY_DIR;

struct Command {
  std::string file;  // where it is written
  std::string text;
};

std::string Trim(std::string s) {
  const auto b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  const auto e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

// A shell command line of the docs: the program, a cd or make. A comment
// after it is dropped.
bool AsCommand(std::string line, std::string* out) {
  const auto hash = line.find(" #");
  if (hash != std::string::npos) line = line.substr(0, hash);
  line = Trim(line);
  const std::string first = line.substr(0, line.find(' '));
  if (line.rfind("cd ", 0) != 0 && first != "make" && first != "./tvui" && first != "tvui" &&
      first != "build/tvui" && first != "build-run/tvui")
    return false;
  *out = line;
  return true;
}

// The commands of one Markdown file: the lines of its code blocks (fenced,
// or indented by four spaces in README.md), each block one sequence whose
// cd carries over to the next line, and the inline code spans, each alone.
std::vector<std::vector<Command>> CommandsOf(const fs::path& file) {
  std::ifstream in(file);
  std::vector<std::vector<Command>> blocks;
  std::vector<Command> block;
  bool fenced = false;
  const std::string name = fs::relative(file, kSource).string();
  auto endBlock = [&] {
    if (!block.empty()) blocks.push_back(std::move(block));
    block.clear();
  };
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("```", 0) == 0) {
      fenced = !fenced;
      endBlock();
      continue;
    }
    std::string cmd;
    if (fenced || line.rfind("    ", 0) == 0) {
      if (AsCommand(line, &cmd)) block.push_back({name, cmd});
      continue;
    }
    endBlock();
    // Inline code spans: `...`.
    for (size_t open = line.find('`'); open != std::string::npos;) {
      const size_t close = line.find('`', open + 1);
      if (close == std::string::npos) break;
      if (AsCommand(line.substr(open + 1, close - open - 1), &cmd)) blocks.push_back({{name, cmd}});
      open = line.find('`', close + 1);
    }
  }
  endBlock();
  return blocks;
}

std::vector<std::vector<Command>> AllCommands() {
  std::vector<fs::path> files{kSource / "README.md"};
  for (const auto& e : fs::recursive_directory_iterator(kSource / "docs"))
    if (e.path().extension() == ".md") files.push_back(e.path());
  std::vector<std::vector<Command>> all;
  for (const fs::path& f : files)
    for (auto& b : CommandsOf(f)) all.push_back(std::move(b));
  return all;
}

// The repository's top as a user has it after `make run` and `make build`:
// every entry of the source, and the two build folders with the program,
// the font and the licence text (no font without `withFont`). The program
// also looks for its font beside its executable, so the fontless top holds
// a hard link to it (a symbolic link would lead it back to the build folder).
void MakeTop(const fs::path& top, bool withFont) {
  fs::create_directories(top);
  for (const auto& e : fs::directory_iterator(kSource)) {
    const std::string n = e.path().filename().string();
    if (n.rfind("build", 0) == 0 || n.rfind('.', 0) == 0) continue;
    fs::create_directory_symlink(e.path(), top / n);
  }
  for (const char* b : {"build", "build-run"}) {
    fs::create_directories(top / b);
    if (withFont) {
      fs::create_symlink(kBinary / "tvui", top / b / "tvui");
    } else {
      std::error_code ec;
      fs::create_hard_link(kBinary / "tvui", top / b / "tvui", ec);
      if (ec) fs::copy_file(kBinary / "tvui", top / b / "tvui");
    }
    fs::create_symlink(kBinary / "licences.txt", top / b / "licences.txt");
    if (withFont) fs::create_directory_symlink(kBinary / "fonts", top / b / "fonts");
  }
}

struct ShellRun {
  int status = -1;  // exit status; 124 when still running at the time-out
  std::string output;
};

ShellRun Shell(const fs::path& cwd, const std::string& command, const fs::path& home, int seconds) {
  const fs::path log = home / "command.log";
  // Headless whatever the machine has; $HOME is the scratch top, so the
  // default data directory lands there too.
  const std::string line = "cd '" + cwd.string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY HOME='" + home.string() +
                           "' timeout -k 2 " + std::to_string(seconds) + " sh -c 'exec " + command + "' >'" + log.string() +
                           "' 2>&1";
  ShellRun r;
  const int raw = std::system(line.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  std::ifstream in(log);
  std::stringstream ss;
  ss << in.rdbuf();
  r.output = ss.str();
  return r;
}

// The value after `option` in a command, or "".
std::string OptionValue(const std::string& command, const std::string& option) {
  std::istringstream words(command);
  for (std::string w; words >> w;)
    if (w == option && words >> w) return w;
  return "";
}

bool HasErrorLine(const std::string& out) {
  for (const char* mark : {"PANIC", "Error 0x", "Error:", "error:", "ERROR"})
    if (out.find(mark) != std::string::npos) return true;
  return false;
}

// Pixels that differ between two screenshots of the same size.
size_t Differing(const kvtest::PngImage& a, const kvtest::PngImage& b) {
  if (a.width != b.width || a.height != b.height) return a.rgba.size() / 4;
  size_t n = 0;
  for (size_t i = 0; i < a.rgba.size(); i += 4)
    if (a.rgba[i] != b.rgba[i] || a.rgba[i + 1] != b.rgba[i + 1] || a.rgba[i + 2] != b.rgba[i + 2]) ++n;
  return n;
}

class DocCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = kvtest::FreshTestDir("docs");
    MakeTop(dir_ / "top", true);
    MakeTop(dir_ / "nofont", false);
  }
  void TearDown() override { kvtest::RemoveTestDir(dir_); }
  fs::path dir_;
};

TEST_F(DocCommandsTest, EveryCommandOfTheReadmeAndTheDocsWorksAsWritten) {
  const auto blocks = AllCommands();
  size_t programRuns = 0, shotsChecked = 0;
  for (const auto& block : blocks) {
    fs::path cwd = dir_ / "top";
    for (const Command& c : block) {
      SCOPED_TRACE(c.file + ": " + c.text);
      std::string cmd = c.text;
      // A cd, alone or before the command, moves the rest of the block.
      if (cmd.rfind("cd ", 0) == 0) {
        const auto amp = cmd.find("&&");
        const std::string to = Trim(cmd.substr(3, amp == std::string::npos ? std::string::npos : amp - 3));
        cwd = fs::weakly_canonical(cwd / to);
        ASSERT_TRUE(fs::is_directory(cwd)) << "no folder " << to;
        if (amp == std::string::npos) continue;
        cmd = Trim(cmd.substr(amp + 2));
      }
      if (!AsCommand(cmd, &cmd)) {
        ADD_FAILURE() << "not a command this test knows how to run";
        continue;
      }
      if (cmd.rfind("make", 0) == 0) {
        // The target exists and its recipe expands (a dry run: building is CI's).
        const ShellRun r = Shell(kSource, cmd.replace(0, 4, "make -n -s"), dir_, 60);
        EXPECT_EQ(r.status, 0) << r.output;
        continue;
      }
      if (cmd.rfind("tvui", 0) == 0) {
        // Named by its name in the text: the program in the build folder.
        cmd = "./" + cmd;
        cwd = dir_ / "top" / "build";
      }
      ++programRuns;
      const bool script = cmd.find("--keys") != std::string::npos;
      const bool help = cmd.find("--help") != std::string::npos;
      const ShellRun r = Shell(cwd, cmd, dir_ / "top", script ? 120 : 5);
      EXPECT_FALSE(HasErrorLine(r.output)) << r.output;
      if (help) {
        EXPECT_EQ(r.status, 0) << r.output;
        EXPECT_NE(r.output.find("--headless"), std::string::npos) << r.output;
        continue;
      }
      if (!script) {
        // It runs until it is stopped.
        EXPECT_EQ(r.status, 124) << r.output;
        EXPECT_NE(r.output.find("tvui: television on-screen display"), std::string::npos) << r.output;
        continue;
      }
      ASSERT_EQ(r.status, 0) << r.output;
      const std::string shotsOption = OptionValue(cmd, "--shots");
      const fs::path shots = cwd / (shotsOption.empty() ? "." : shotsOption);
      // The same run without the font: what differs from it is text.
      const fs::path bare = dir_ / "nofont" / fs::relative(cwd, dir_ / "top");
      const ShellRun r2 = Shell(bare, cmd, dir_ / "nofont", 120);
      ASSERT_EQ(r2.status, 0) << r2.output;
      const fs::path bareShots = bare / (shotsOption.empty() ? "." : shotsOption);
      // Every screenshot is there and readable; those of screens show text
      // (a shot of the bare picture may have none).
      size_t pngs = 0, withText = 0;
      for (const auto& e : fs::directory_iterator(shots)) {
        if (e.path().extension() != ".png") continue;
        ++pngs;
        SCOPED_TRACE(e.path().filename().string());
        kvtest::PngImage shot, bareShot;
        ASSERT_TRUE(kvtest::ReadPng(e.path().string(), &shot));
        ASSERT_TRUE(kvtest::ReadPng((bareShots / e.path().filename()).string(), &bareShot));
        if (Differing(shot, bareShot) > 200) ++withText;
      }
      EXPECT_GT(pngs, 0u) << "no screenshot written to " << shots;
      EXPECT_GE(withText * 2, pngs) << withText << " of " << pngs << " screenshots show text";
      shotsChecked += withText;
      fs::remove_all(shots);
      fs::remove_all(bareShots);
    }
  }
  std::printf("doc commands: %zu runs of the program, %zu screenshots with text\n", programRuns, shotsChecked);
  EXPECT_GE(programRuns, 3u);
  EXPECT_GT(shotsChecked, 0u);
}

}  // namespace
