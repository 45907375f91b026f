#include "runtime/trace.h"
#include "runtime/trace_level.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "runtime/object.h"
#include "support/kv_test.h"

namespace {

using kv::FormatTrace;

class Probe : public kv::Object {
  KV_CLASS(Test, Probe, kv::Object)
};

enum class Mode { kOff = 0, kOn = 7 };

TEST(TraceFormat, Conversions) {
  EXPECT_EQ(FormatTrace("Volume: %i", {-5}), "Volume: -5");
  EXPECT_EQ(FormatTrace("%s%i%i", {kv::String::FromUtf8("Gain \xC3\xA9 "), 1, 2}), "Gain \xC3\xA9 12");
  EXPECT_EQ(FormatTrace("%u", {UINT32_MAX}), "4294967295");
  EXPECT_EQ(FormatTrace("%u", {-1}), "4294967295");  // as a 32-bit word
  EXPECT_EQ(FormatTrace("%i", {INT32_MIN}), "-2147483648");
  EXPECT_EQ(FormatTrace("%b %b %b", {true, false, 3}), "true false true");
  EXPECT_EQ(FormatTrace("mode %e", {Mode::kOn}), "mode 7");
  EXPECT_EQ(FormatTrace("%s|%s", {"text", static_cast<const char*>(nullptr)}), "text|null");
  EXPECT_EQ(FormatTrace("%s", {kv::String()}), "");
}

TEST(TraceFormat, OddFormatsNeverCrash) {
  EXPECT_EQ(FormatTrace("%s and %i", {"one"}), "one and <?>");
  EXPECT_EQ(FormatTrace("%*%$", {}), "<?><?>");
  EXPECT_EQ(FormatTrace("100%% %x %", {}), "100% %x %");
  EXPECT_EQ(FormatTrace("no conversions", {1, 2}), "no conversions");
  EXPECT_EQ(FormatTrace("%i", {"text"}), "text");  // printed by its own kind
  EXPECT_EQ(FormatTrace("", {}), "");
}

class TraceTest : public kvtest::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    kv::SetTraceSink([this](std::string_view line) { lines_.emplace_back(line); });
  }
  void TearDown() override {
    kv::SetTraceSink(nullptr);
    RuntimeTest::TearDown();
  }
  std::vector<std::string> lines_;
};

TEST_F(TraceTest, ObjectsAndClasses) {
  Probe* p = kv::New<Probe>();
  std::string s = FormatTrace("%*", {p});
  EXPECT_EQ(s.rfind("Test::Probe@0x", 0), 0u) << s;
  EXPECT_EQ(s, FormatTrace("%*", {static_cast<const kv::Object*>(p)}));
  EXPECT_EQ(FormatTrace("%$", {kv::ClassOf(p)}), "Test::Probe");
  EXPECT_EQ(FormatTrace("%$", {p}), "Test::Probe");
  EXPECT_EQ(FormatTrace("%* %$", {static_cast<kv::Object*>(nullptr), static_cast<const kv::Class*>(nullptr)}),
            "null null");
}

TEST_F(TraceTest, RoutineTracesOnlyAtTheDebugLevelLogLinesAlways) {
  // Off by default: a run prints warnings and errors only.
  ASSERT_FALSE(kv::DebugTraces());
  kv::Trace("%s%i", {"Backlight ", 80});
  kv::Log("XPM_SetSource Error 0x5");
  ASSERT_EQ(lines_, std::vector<std::string>{"XPM_SetSource Error 0x5"});

  kv::SetDebugTraces(true);
  kv::Trace("%s%i", {"Backlight ", 80});
  kv::Trace("plain");
  kv::SetDebugTraces(false);
  kv::Trace("dropped");
  ASSERT_EQ(lines_.size(), 3u);
  EXPECT_EQ(lines_[1], "Backlight 80");
  EXPECT_EQ(lines_[2], "plain");

  kv::SetTraceSink(nullptr);  // back to standard error
  kv::Log("to stderr");
  EXPECT_EQ(lines_.size(), 3u);
}

// What reaches the terminal: a line with escape sequences in it cannot
// colour or retitle it, a newline cannot forge a second line, a line of a
// megabyte is cut; the same line goes to standard error and the sink.
TEST_F(TraceTest, LogLinesReachTheTerminalEscapedWholeAndBounded) {
  testing::internal::CaptureStderr();
  kv::Log("name \x1b]0;owned\x07\x1b[31mred\nforged line \xc2\x9b" "2J caf\xc3\xa9");
  kv::Log("big " + std::string(1000000, 'N'));
  const std::string err = testing::internal::GetCapturedStderr();
  ASSERT_EQ(lines_.size(), 2u);
  EXPECT_EQ(lines_[0], "name \\x1b]0;owned\\x07\\x1b[31mred\\x0aforged line \\xc2\\x9b2J caf\xc3\xa9");
  EXPECT_EQ(lines_[1].size(), kv::kMaxLogLine + std::string("... (997956 bytes more)").size());
  EXPECT_EQ(lines_[1].substr(kv::kMaxLogLine), "... (997956 bytes more)");
  EXPECT_EQ(err, lines_[0] + "\n" + lines_[1] + "\n");
}

// Outside text put into a line: every byte but printable ASCII escaped
// (the backslash too, so that an escape cannot be faked), cut with "...".
TEST(EscapedText, EscapesEveryOtherByteAndCuts) {
  EXPECT_EQ(kv::EscapedText("Living Room"), "Living Room");
  EXPECT_EQ(kv::EscapedText("a\\x1b\x1b[31m\xc3\xa9"), "a\\x5cx1b\\x1b[31m\\xc3\\xa9");
  EXPECT_EQ(kv::EscapedText(std::string(1000000, 'N')), std::string(kv::kMaxLoggedName, 'N') + "...");
  EXPECT_EQ(kv::EscapedText(std::string(300, '/'), kv::kMaxLoggedPath), std::string(kv::kMaxLoggedPath, '/') + "...");
}

}  // namespace
