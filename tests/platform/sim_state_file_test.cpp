// The simulated set's state file: written whole with a closing line that
// counts its entries and carries a checksum, the file it replaces kept as
// tvsim.state.bak. A damaged file (a changed byte, cut short, random bytes,
// without its closing line) is logged once and kept beside as
// tvsim.state.bad; the last good copy is used when there is one, else every
// complete known line is read; the state is written back clean.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "platform/xpm/xpm.h"
#include "platform/xpm/xpm_settings.h"
#include "runtime/clock.h"
#include "support/capture.h"

namespace {

namespace fs = std::filesystem;
using State = std::map<std::string, std::string>;

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}
void WriteFile(const fs::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

// The key=value lines of a state file (the closing line apart).
State Lines(const std::string& text) {
  State out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    const size_t eq = line.find('=');
    if (eq != std::string::npos) out[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return out;
}

class SimStateFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    kv::SetClock(&clock_);
    dir_ = kvtest::FreshTestDir("simstate");
    fs::create_directories(dir_);
    file_ = dir_ / "tvsim.state";
  }
  void TearDown() override {
    log_.Stop();
    kv::SetClock(nullptr);
    kvtest::RemoveTestDir(dir_);
  }
  // A set with a few settings of its own, switched off: the file it wrote.
  std::string MakeFile() {
    {
      sim::Sim tv(dir_.string());
      tv.Start();
      EXPECT_EQ(XPM_SetVolume(25), XPM_OK);
      EXPECT_EQ(XPM_SetBass(7), XPM_OK);
      EXPECT_EQ(XPM_SetCaptionRendering(1), XPM_OK);
      tv.Stop();
    }
    return ReadFile(file_);
  }
  // Starts a set on the file, reads its state and switches it off again;
  // the log lines of the start.
  std::vector<std::string> Boot(State* read) {
    log_.Clear();
    log_.Start();
    {
      sim::Sim tv(dir_.string());
      *read = tv.StateWithPrefix("");
      tv.Stop();
    }
    log_.Stop();
    return log_.Take();
  }

  kv::FakeClock clock_{0};
  kvtest::LogCapture log_;
  fs::path dir_, file_;
};

TEST_F(SimStateFileTest, ACompleteFileEndsWithItsClosingLineAndIsReadQuietly) {
  const std::string text = MakeFile();
  const State written = Lines(text);
  ASSERT_EQ(written.at("tv.set.volume"), "25");
  const std::string closing = text.substr(text.rfind('\n', text.size() - 2) + 1);
  EXPECT_EQ(closing.substr(0, closing.rfind(' ') + 1), "#end " + std::to_string(written.size()) + " ");
  State read;
  EXPECT_TRUE(Boot(&read).empty());
  EXPECT_EQ(read, written);
  EXPECT_FALSE(fs::exists(dir_ / "tvsim.state.bad"));
  EXPECT_EQ(ReadFile(file_), text) << "nothing to write back";
}

TEST_F(SimStateFileTest, AFileCutAtEveryTenthKeepsItsCompleteLines) {
  const std::string text = MakeFile();
  for (int tenth = 0; tenth < 10; ++tenth) {
    SCOPED_TRACE("cut at tenth " + std::to_string(tenth));
    const std::string cut = text.substr(0, text.size() * tenth / 10);
    WriteFile(file_, cut);
    fs::remove(dir_ / "tvsim.state.bad");
    fs::remove(dir_ / "tvsim.state.bak");  // no last good copy: the lines are salvaged
    State read;
    const std::vector<std::string> lines = Boot(&read);
    // Logged once; the file as it was kept beside.
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.find("is damaged") != std::string::npos; }),
              1);
    EXPECT_EQ(ReadFile(dir_ / "tvsim.state.bad"), cut);
    // Every complete line of the cut file was read; nothing else.
    const State complete = Lines(cut.substr(0, cut.rfind('\n') + 1));
    EXPECT_EQ(read, complete);
    // Written back whole and closed: the next start reads it quietly.
    const std::string back = ReadFile(file_);
    EXPECT_EQ(Lines(back), complete);
    EXPECT_NE(back.find("#end " + std::to_string(complete.size()) + " "), std::string::npos);
    State again;
    EXPECT_TRUE(Boot(&again).empty());
    EXPECT_EQ(again, complete);
    WriteFile(file_, text);
  }
}

TEST_F(SimStateFileTest, RandomBytesAnUnknownKeyAndAMissingClosingLine) {
  const std::string text = MakeFile();
  const State written = Lines(text);

  // Random bytes, with newlines and '=' among them: nothing of it is read or written back.
  std::mt19937 random(7);
  std::string noise;
  for (int i = 0; i < 4000; ++i) {
    const int r = static_cast<int>(random() % 256);
    noise += static_cast<char>(r < 16 ? '\n' : r < 40 ? '=' : r);
  }
  WriteFile(file_, noise);
  fs::remove(dir_ / "tvsim.state.bak");  // no good copy to fall back on
  State read;
  std::vector<std::string> lines = Boot(&read);
  EXPECT_TRUE(kvtest::AnyContains(lines, "is damaged"));
  EXPECT_LE(lines.size(), 4u) << "one line for the damage, at most one for unknown keys, one for the copy";
  for (const std::string& l : lines) EXPECT_LT(l.size(), 400u) << "outside bytes are cut short";
  EXPECT_TRUE(read.empty());
  EXPECT_EQ(ReadFile(dir_ / "tvsim.state.bad"), noise);
  EXPECT_EQ(ReadFile(file_).substr(0, 7), "#end 0 ");

  // An unknown key in a complete file: dropped with one line, the rest kept.
  std::string withUnknown = "zz.other=red\n" + text;
  withUnknown.replace(withUnknown.rfind("#end "), std::string::npos, "#end " + std::to_string(written.size() + 1) + "\n");
  WriteFile(file_, withUnknown);
  lines = Boot(&read);
  ASSERT_EQ(lines.size(), 2u) << "the unknown key and the copy";
  EXPECT_TRUE(kvtest::AnyContains(lines, ": dropped 1 line of unknown keys (the first \"zz.other\")"));
  EXPECT_EQ(read, written);
  EXPECT_EQ(ReadFile(dir_ / "tvsim.state.bad"), withUnknown);
  EXPECT_EQ(ReadFile(file_), text);

  // The lines without their closing line (an older or interrupted file).
  const std::string open = text.substr(0, text.rfind("#end "));
  WriteFile(file_, open);
  lines = Boot(&read);
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.find("is damaged") != std::string::npos; }),
            1);
  EXPECT_EQ(read, written) << "every complete line is kept";
  EXPECT_EQ(ReadFile(dir_ / "tvsim.state.bad"), open);
  EXPECT_EQ(ReadFile(file_), text);
}

// A byte changed inside a value of a closed file, a file cut short and a
// file of another set's bytes: the checksum shows each, and the last good
// copy is used whole, with one line in the log. A new file written whole
// before a power cut stopped the save's renames is the latest state.
TEST_F(SimStateFileTest, ADamagedFileGivesWayToTheLastGoodCopy) {
  const std::string first = MakeFile();
  {
    sim::Sim tv(dir_.string());
    tv.Start();
    EXPECT_EQ(XPM_SetVolume(40), XPM_OK);
    tv.Stop();
  }
  const std::string text = ReadFile(file_);
  ASSERT_EQ(ReadFile(dir_ / "tvsim.state.bak"), first) << "the file replaced is the last good copy";
  const State good = Lines(first);

  std::string stray = text;
  stray.insert(stray.find("tv.set.volume=") + 15, "~");  // printable: the line itself reads clean
  std::string swapped = text;
  swapped[swapped.find("tv.set.volume=4") + 14] = '9';  // 40 becomes 90
  const std::pair<const char*, std::string> damages[] = {
      {"stray byte in a value", stray}, {"digit changed", swapped}, {"cut short", text.substr(0, text.size() / 2)}};
  for (const auto& [name, bytes] : damages) {
    SCOPED_TRACE(name);
    WriteFile(file_, bytes);
    WriteFile(dir_ / "tvsim.state.bak", first);
    State read;
    const std::vector<std::string> lines = Boot(&read);
    EXPECT_TRUE(kvtest::AnyContains(lines, "the last good copy")) << lines.size();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.find("is damaged") != std::string::npos; }),
              1);
    EXPECT_EQ(read, good);
    EXPECT_EQ(ReadFile(dir_ / "tvsim.state.bad"), bytes);
    State again;
    EXPECT_TRUE(Boot(&again).empty()) << "written back whole";
    EXPECT_EQ(again, good);
  }

  // A power cut after the new file was written, before the renames.
  WriteFile(file_, first);
  WriteFile(dir_ / "tvsim.state.new", text);
  State read;
  const std::vector<std::string> lines = Boot(&read);
  EXPECT_TRUE(kvtest::AnyContains(lines, "complete new file"));
  EXPECT_EQ(read.at("tv.set.volume"), "40");
  EXPECT_FALSE(fs::exists(dir_ / "tvsim.state.new"));
  EXPECT_EQ(ReadFile(file_), text);
  // A half-written new file is dropped without a word.
  WriteFile(dir_ / "tvsim.state.new", text.substr(0, text.size() / 2));
  EXPECT_TRUE(Boot(&read).empty());
  EXPECT_EQ(read.at("tv.set.volume"), "40");
  EXPECT_FALSE(fs::exists(dir_ / "tvsim.state.new"));
}

}  // namespace
