#include "runtime/string.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "runtime/trace.h"

namespace {

using kv::String;

String U(const char16_t* s) { return String::FromUtf16(std::u16string_view(s)); }

// Every test must give back every string it made.
class StringTest : public ::testing::Test {
 protected:
  void SetUp() override { baseline_ = String::LiveCount(); }
  void TearDown() override { EXPECT_EQ(String::LiveCount(), baseline_) << "a string leaked"; }
  int64_t baseline_ = 0;
};

TEST_F(StringTest, NullEmptyAndLiteralsAreFreeAndEqual) {
  String null;
  String empty = String::FromUtf16(u"", 0);
  String lit = KV_STR(u"Menu");
  EXPECT_EQ(String::LiveCount(), baseline_);  // none of them allocates
  EXPECT_EQ(null, empty);
  EXPECT_EQ(null.Length(), 0);
  EXPECT_EQ(null.Data()[0], u'\0');
  EXPECT_EQ(lit.View(), u"Menu");
  String copy = lit;
  EXPECT_EQ(copy.Data(), lit.Data());
  EXPECT_EQ(String::LiveCount(), baseline_);
}

TEST_F(StringTest, CopiesShareAndTheLastOneFrees) {
  {
    String a = String::FromUtf8("abc");
    EXPECT_EQ(String::LiveCount(), baseline_ + 1);
    String b = a;
    String c;
    c = b;
    String& alias = c;
    c = alias;  // self-assignment keeps it alive
    String d = std::move(b);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(c.Data(), a.Data());
    EXPECT_EQ(d.Data(), a.Data());
    a = String();
    c = String();
    EXPECT_EQ(String::LiveCount(), baseline_ + 1);
    EXPECT_EQ(d.View(), u"abc");
  }
  EXPECT_EQ(String::LiveCount(), baseline_);
}

TEST_F(StringTest, Utf8RoundTrip) {
  String s = String::FromUtf8("A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");  // A é € 😀
  EXPECT_EQ(s.View(), u"A\u00e9\u20ac\U0001F600");
  EXPECT_EQ(s.ToUtf8(), "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
  // Malformed input: a stray continuation byte, a truncated sequence, an overlong form.
  EXPECT_EQ(String::FromUtf8("a\x80" "b\xE2\x82").View(), u"a\uFFFDb\uFFFD\uFFFD");
  EXPECT_EQ(String::FromUtf8("\xC0\xAF").View(), u"\uFFFD\uFFFD");
  const char16_t lone[] = {0xD800, u'x'};
  EXPECT_EQ(String::FromUtf16(lone, 2).ToUtf8(), "\xEF\xBF\xBDx");
}

TEST_F(StringTest, AnsiIsLatin1) {
  EXPECT_EQ(kv::NewStringAnsi("caf\xE9\xFF").View(), u"caf\u00e9\u00ff");
  EXPECT_TRUE(kv::NewStringAnsi(nullptr).Empty());
  EXPECT_TRUE(kv::NewStringAnsi("").Empty());
}

TEST_F(StringTest, NumbersWithPadding) {
  EXPECT_EQ(kv::NewStringInt(42, 0).View(), u"42");
  EXPECT_EQ(kv::NewStringInt(42, -3).View(), u"42");
  EXPECT_EQ(kv::NewStringInt(42, 5).View(), u"00042");
  EXPECT_EQ(kv::NewStringInt(12345, 3).View(), u"12345");
  EXPECT_EQ(kv::NewStringInt(-5, 3).View(), u"-005");
  EXPECT_EQ(kv::NewStringInt(0, 0).View(), u"0");
  EXPECT_EQ(kv::NewStringInt(INT32_MIN, 0).View(), u"-2147483648");
  EXPECT_EQ(kv::NewStringInt(INT32_MAX, 0).View(), u"2147483647");
  EXPECT_EQ(kv::NewStringUInt(UINT32_MAX, 0).View(), u"4294967295");
  EXPECT_EQ(kv::NewStringUInt(7, 2).View(), u"07");
  // Padding stops at 32 digits.
  EXPECT_EQ(kv::NewStringUInt(1, 100).Length(), 32);
  EXPECT_EQ(kv::NewStringInt(-1, 1000).Length(), 33);
}

TEST_F(StringTest, CharAndConcat) {
  EXPECT_EQ(kv::NewStringChar(u'*', 4).View(), u"****");
  EXPECT_TRUE(kv::NewStringChar(u'*', 0).Empty());
  EXPECT_TRUE(kv::NewStringChar(u'*', -2).Empty());

  String a = U(u"ab"), b = U(u"cd");
  EXPECT_EQ(kv::ConcatString(a, b).View(), u"abcd");
  // One side empty: the other comes back as the very same string.
  EXPECT_EQ(kv::ConcatString(a, String()).Data(), a.Data());
  EXPECT_EQ(kv::ConcatString(String(), b).Data(), b.Data());
  EXPECT_TRUE(kv::ConcatString(String(), String()).Empty());
}

TEST_F(StringTest, CompareByCodeUnits) {
  EXPECT_EQ(kv::CompString(U(u"abc"), U(u"abc")), 0);
  EXPECT_EQ(kv::CompString(U(u"abc"), U(u"abd")), -1);
  EXPECT_EQ(kv::CompString(U(u"abd"), U(u"abc")), 1);
  EXPECT_EQ(kv::CompString(U(u"ab"), U(u"abc")), -1);
  EXPECT_EQ(kv::CompString(U(u"abc"), U(u"ab")), 1);
  EXPECT_EQ(kv::CompString(String(), KV_STR(u"")), 0);
  EXPECT_EQ(kv::CompString(String(), U(u"a")), -1);
  EXPECT_EQ(kv::CompString(U(u"a"), String()), 1);
  // Code units compare unsigned: U+FFFF sorts after 'z'.
  EXPECT_EQ(kv::CompString(U(u"\uffff"), U(u"z")), 1);
  EXPECT_EQ(kv::CompString(U(u"ABC"), U(u"abc")), -1);
}

TEST_F(StringTest, Find) {
  String t = U(u"abcabc");
  EXPECT_EQ(kv::StringFind(t, U(u"bc"), 0), 1);
  EXPECT_EQ(kv::StringFind(t, U(u"bc"), 2), 4);
  EXPECT_EQ(kv::StringFind(t, U(u"bc"), 5), -1);
  EXPECT_EQ(kv::StringFind(t, U(u"abcabcx"), 0), -1);
  EXPECT_EQ(kv::StringFind(t, U(u"bc"), -1), -1);
  EXPECT_EQ(kv::StringFind(t, U(u"bc"), 6), -1);
  EXPECT_EQ(kv::StringFind(t, U(u"bc"), 99), -1);
  // An empty part is found at any start within [0, length].
  EXPECT_EQ(kv::StringFind(t, String(), 3), 3);
  EXPECT_EQ(kv::StringFind(t, String(), 6), 6);
  EXPECT_EQ(kv::StringFind(t, String(), 7), -1);
  EXPECT_EQ(kv::StringFind(t, String(), -1), -1);
  EXPECT_EQ(kv::StringFind(String(), String(), 0), 0);
  EXPECT_EQ(kv::StringFind(String(), U(u"a"), 0), -1);

  EXPECT_EQ(kv::StringFindChar(t, u'c', 0), 2);
  EXPECT_EQ(kv::StringFindChar(t, u'c', 3), 5);
  EXPECT_EQ(kv::StringFindChar(t, u'x', 0), -1);
  EXPECT_EQ(kv::StringFindChar(t, u'a', -1), -1);
  EXPECT_EQ(kv::StringFindChar(t, u'a', 6), -1);
  EXPECT_EQ(kv::StringFindChar(String(), u'a', 0), -1);
}

TEST_F(StringTest, PartsClampTheirRanges) {
  String s = U(u"hello");
  EXPECT_EQ(kv::StringLeft(s, 2).View(), u"he");
  EXPECT_EQ(kv::StringLeft(s, 0).View(), u"");
  EXPECT_EQ(kv::StringLeft(s, -1).View(), u"");
  EXPECT_EQ(kv::StringLeft(s, 99).View(), u"hello");
  EXPECT_EQ(kv::StringRight(s, 2).View(), u"lo");
  EXPECT_EQ(kv::StringRight(s, 99).View(), u"hello");
  EXPECT_EQ(kv::StringRight(s, -5).View(), u"");
  EXPECT_EQ(kv::StringMiddle(s, 1, 3).View(), u"ell");
  EXPECT_EQ(kv::StringMiddle(s, 3, 99).View(), u"lo");
  EXPECT_EQ(kv::StringMiddle(s, -2, 4).View(), u"he");  // the part of [-2, 2) inside the text
  EXPECT_EQ(kv::StringMiddle(s, 5, 1).View(), u"");
  EXPECT_EQ(kv::StringMiddle(s, INT32_MAX, INT32_MAX).View(), u"");
  EXPECT_EQ(kv::StringMiddle(s, 1, INT32_MAX).View(), u"ello");
  EXPECT_EQ(kv::StringMiddle(s, 1, -1).View(), u"");

  EXPECT_EQ(kv::StringInsert(s, U(u"XY"), 2).View(), u"heXYllo");
  EXPECT_EQ(kv::StringInsert(s, U(u"XY"), 0).View(), u"XYhello");
  EXPECT_EQ(kv::StringInsert(s, U(u"XY"), 5).View(), u"helloXY");
  EXPECT_EQ(kv::StringInsert(s, U(u"XY"), 99).View(), u"helloXY");
  EXPECT_EQ(kv::StringInsert(s, U(u"XY"), -4).View(), u"XYhello");
  EXPECT_EQ(kv::StringInsert(String(), U(u"XY"), 3).View(), u"XY");

  EXPECT_EQ(kv::StringRemove(s, 1, 2).View(), u"hlo");
  EXPECT_EQ(kv::StringRemove(s, 3, 99).View(), u"hel");
  EXPECT_EQ(kv::StringRemove(s, -1, 2).View(), u"ello");
  EXPECT_EQ(kv::StringRemove(s, 0, 5).View(), u"");
  EXPECT_EQ(kv::StringRemove(s, 5, 1).View(), u"hello");
  EXPECT_EQ(kv::StringRemove(s, 2, -1).View(), u"hello");
  EXPECT_EQ(kv::StringRemove(s, 1, INT32_MAX).View(), u"h");
}

TEST_F(StringTest, Latin1CaseMapping) {
  EXPECT_EQ(kv::GetStringUpper(U(u"abc xyz \u00e0\u00e9\u00fe")).View(), u"ABC XYZ \u00c0\u00c9\u00de");
  EXPECT_EQ(kv::GetStringLower(U(u"ABC XYZ \u00c0\u00c9\u00de")).View(), u"abc xyz \u00e0\u00e9\u00fe");
  // Characters without a Latin-1 partner stay: × ÷ ß ÿ µ, and anything above 0xFF.
  EXPECT_EQ(kv::GetStringUpper(U(u"\u00d7\u00f7\u00df\u00ff\u00b5\u0101")).View(), u"\u00d7\u00f7\u00df\u00ff\u00b5\u0101");
  EXPECT_EQ(kv::GetStringLower(U(u"\u00d7\u00f7\u0100@[")).View(), u"\u00d7\u00f7\u0100@[");
  String done = U(u"ABC");
  EXPECT_EQ(kv::GetStringUpper(done).Data(), done.Data());
  EXPECT_TRUE(kv::GetStringLower(String()).Empty());
}

TEST_F(StringTest, ToAnsiRespectsTheBuffer) {
  String s = U(u"a\u00e9\u20acz");
  char buf[8];
  std::memset(buf, '#', sizeof buf);
  kv::StringToAnsi(s, buf, 0, '?');
  EXPECT_EQ(buf[0], '#');
  kv::StringToAnsi(s, buf, -1, '?');
  EXPECT_EQ(buf[0], '#');
  kv::StringToAnsi(s, buf, 1, '?');
  EXPECT_EQ(buf[0], '\0');
  EXPECT_EQ(buf[1], '#');
  kv::StringToAnsi(s, buf, 3, '?');
  EXPECT_STREQ(buf, "a\xE9");
  EXPECT_EQ(buf[3], '#');
  kv::StringToAnsi(s, buf, sizeof buf, '?');
  EXPECT_STREQ(buf, "a\xE9?z");
  kv::StringToAnsi(String(), buf, sizeof buf, '?');
  EXPECT_STREQ(buf, "");
  kv::StringToAnsi(s, nullptr, 8, '?');  // no buffer: nothing happens
}

class StringFileTest : public StringTest {
 protected:
  void SetUp() override {
    StringTest::SetUp();
    dir_ = std::filesystem::temp_directory_path() /
           ("kv_string_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
            std::to_string(reinterpret_cast<uintptr_t>(this)));
    std::filesystem::create_directories(dir_);
    kv::SetTraceSink([this](std::string_view line) { logged_.emplace_back(line); });
  }
  void TearDown() override {
    kv::SetTraceSink(nullptr);
    std::filesystem::remove_all(dir_);
    StringTest::TearDown();
  }
  std::string Write(const char* name, const std::string& bytes) {
    std::string path = (dir_ / name).string();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
  }
  std::filesystem::path dir_;
  std::vector<std::string> logged_;
};

TEST_F(StringFileTest, ReadsBytesAsLatin1UpToTheLimit) {
  EXPECT_EQ(kv::LoadStringFromFile(Write("a.txt", "x\xE9\n\r\x01").c_str()).View(), u"x\u00e9\n\r\x01");
  EXPECT_TRUE(kv::LoadStringFromFile(Write("empty.txt", "").c_str()).Empty());

  String full = kv::LoadStringFromFile(Write("full.txt", std::string(262144, 'q')).c_str());
  EXPECT_EQ(full.Length(), 262144);
  EXPECT_EQ(full.At(262143), u'q');
  EXPECT_TRUE(logged_.empty());
}

TEST_F(StringFileTest, RefusesLargeAndMissingFilesWithALogLine) {
  EXPECT_TRUE(kv::LoadStringFromFile(Write("big.txt", std::string(262145, 'q')).c_str()).Empty());
  ASSERT_EQ(logged_.size(), 1u);
  EXPECT_NE(logged_[0].find("big.txt"), std::string::npos);

  EXPECT_TRUE(kv::LoadStringFromFile((dir_ / "missing.txt").c_str()).Empty());
  EXPECT_TRUE(kv::LoadStringFromFile(dir_.c_str()).Empty());  // a directory
  EXPECT_TRUE(kv::LoadStringFromFile(nullptr).Empty());
  EXPECT_EQ(logged_.size(), 4u);
}

// A run started from another folder still finds the files shipped next to
// the program (the build folder holds the font beside the test binary);
// a copy in the working folder wins; a file found nowhere keeps its relative
// path, so that the error names it.
TEST_F(StringFileTest, ProgramFilesAreFoundFromAnyWorkingFolder) {
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir_);
  const std::string shipped = kv::ProgramFile("fonts/tt7268m_803.ttf");
  const std::string missing = kv::ProgramFile("no-such-file.txt");
  Write("licences.txt", "own copy");
  const std::string own = kv::ProgramFile("licences.txt");
  const String text = kv::LoadStringFromFile(kv::ProgramFile("licences.txt").c_str());
  std::filesystem::current_path(before);

  EXPECT_TRUE(std::filesystem::path(shipped).is_absolute()) << shipped;
  EXPECT_EQ(std::filesystem::path(shipped).parent_path().parent_path(),
            std::filesystem::read_symlink("/proc/self/exe").parent_path());
  EXPECT_EQ(missing, "no-such-file.txt");
  EXPECT_EQ(own, "licences.txt");
  EXPECT_EQ(text.View(), u"own copy");
  EXPECT_EQ(kv::ProgramFile("/etc/hostname"), "/etc/hostname");
}

}  // namespace
