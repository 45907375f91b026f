#include "runtime/text.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/trace.h"
#include "strings/PersistentData.h"
#include "strings/Strings.h"
#include "support/kv_test.h"
#include "tvui_paths.h"

namespace {

namespace fs = std::filesystem;

// Registered blocks must outlive the program; so does this store.
std::deque<std::vector<unsigned char>>& BlockStore() {
  static std::deque<std::vector<unsigned char>> store;
  return store;
}

uint16_t RegisterRaw(std::vector<unsigned char> data, uint32_t rawSize, uint16_t count) {
  auto& kept = BlockStore().emplace_back(std::move(data));
  kv::StringBlock b{kept.data(), static_cast<uint32_t>(kept.size()), rawSize, count};
  auto number = static_cast<uint16_t>(kv::StringBlockCount());
  kv::RegisterStringBlocks(&b, 1);
  return number;
}

std::vector<unsigned char> Deflate(const std::vector<unsigned char>& raw) {
  uLongf len = compressBound(raw.size());
  std::vector<unsigned char> data(len);
  EXPECT_EQ(compress2(data.data(), &len, raw.data(), raw.size(), 6), Z_OK);
  data.resize(len);
  return data;
}

// `texts` laid out and compressed as the generator does it.
std::vector<unsigned char> Compress(const std::vector<std::u16string>& texts, uint32_t& rawSize) {
  std::vector<unsigned char> raw;
  for (const auto& t : texts) {
    for (char16_t u : t) {
      raw.push_back(static_cast<unsigned char>(u & 0xFF));
      raw.push_back(static_cast<unsigned char>(u >> 8));
    }
    raw.push_back(0);
    raw.push_back(0);
  }
  rawSize = static_cast<uint32_t>(raw.size());
  return Deflate(raw);
}

// Registers one block of `texts`; returns its block number.
uint16_t RegisterTexts(const std::vector<std::u16string>& texts) {
  uint32_t raw = 0;
  auto data = Compress(texts, raw);
  return RegisterRaw(std::move(data), raw, static_cast<uint16_t>(texts.size()));
}

class TextTest : public kvtest::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    kv::SetTraceSink([this](std::string_view line) { logged_.emplace_back(line); });
  }
  void TearDown() override {
    kv::SetTraceSink(nullptr);
    RuntimeTest::TearDown();
  }
  std::vector<std::string> logged_;
};

TEST_F(TextTest, GeneratedConstantsLoad) {
  EXPECT_EQ(kv::LoadString(Strings::Language2).ToUtf8(), "Fran\u00e7ais");
  EXPECT_EQ(kv::LoadString(PersistentData::TRUE_TEXT).ToUtf8(), "true");
  EXPECT_EQ(kv::LoadString(PersistentData::FALSE_TEXT).ToUtf8(), "false");
  EXPECT_TRUE(logged_.empty());
}

TEST_F(TextTest, VariantFollowsTheLanguage) {
  EXPECT_EQ(kv::GetLanguage(), 0);
  EXPECT_EQ(kv::GetVariantOfString(Strings::SID_LANGUAGE_CAPTION).ToUtf8(), "Language");
  kv::SetLanguage(1);
  EXPECT_EQ(kv::GetLanguage(), 1);
  EXPECT_EQ(kv::GetVariantOfString(Strings::SID_LANGUAGE_CAPTION).ToUtf8(), "Langue");
  kv::SetLanguage(2);
  EXPECT_EQ(kv::GetVariantOfString(Strings::SID_LANGUAGE_CAPTION).ToUtf8(), "Idioma");

  // Unknown languages are logged and ignored.
  kv::SetLanguage(3);
  kv::SetLanguage(-1);
  EXPECT_EQ(kv::GetLanguage(), 2);
  EXPECT_EQ(logged_.size(), 2u);

  // A language without its own variant gets the default.
  uint16_t b = RegisterTexts({u"Default", u"English"});
  kv::MultiTextId partial{{{b, 1}, {}, {}}, {b, 0}};
  EXPECT_EQ(kv::GetVariantOfString(partial).ToUtf8(), "Default");
  kv::SetLanguage(0);
  EXPECT_EQ(kv::GetVariantOfString(partial).ToUtf8(), "English");
}

TEST_F(TextTest, BadIdsAndCorruptBlocksGiveEmptyAndALogLine) {
  uint16_t good = RegisterTexts({u"one"});
  EXPECT_TRUE(kv::LoadString(kv::TextId{}).Empty());
  EXPECT_TRUE(kv::LoadString(kv::TextId{0xfffe, 0}).Empty());
  EXPECT_TRUE(kv::LoadString(kv::TextId{good, 1}).Empty());
  EXPECT_EQ(logged_.size(), 3u);

  size_t held = kv::StringCacheBytes();
  EXPECT_EQ(held, 8u);  // "one" and its terminator
  uint32_t raw = 0;
  uint16_t garbage = RegisterRaw({1, 2, 3, 4, 5}, 8, 1);
  uint16_t unterminated = RegisterRaw(Deflate({'a', 0, 'b', 0}), 4, 1);
  auto ab = Compress({u"ab"}, raw);  // 6 bytes
  uint16_t shortSize = RegisterRaw(ab, 4, 1);
  uint16_t oddSize = RegisterRaw(ab, 5, 1);
  uint16_t miscounted = RegisterRaw(Compress({u"a", u"b"}, raw), 8, 3);
  kv::RegisterStringBlocks(nullptr, 3);  // ignored
  EXPECT_TRUE(kv::LoadString(kv::TextId{garbage, 0}).Empty());
  EXPECT_TRUE(kv::LoadString(kv::TextId{unterminated, 0}).Empty());
  EXPECT_TRUE(kv::LoadString(kv::TextId{miscounted, 0}).Empty());
  EXPECT_TRUE(kv::LoadString(kv::TextId{oddSize, 0}).Empty());
  EXPECT_TRUE(kv::LoadString(kv::TextId{shortSize, 0}).Empty());
  EXPECT_EQ(logged_.size(), 8u);
  EXPECT_EQ(kv::StringCacheBytes(), held);  // corrupt blocks are not cached
  EXPECT_EQ(kv::LoadString(kv::TextId{good, 0}).ToUtf8(), "one");
}

TEST_F(TextTest, CacheTrimsLeastRecentlyUsedFirst) {
  // Raw sizes 1000, 2000 and 4000 bytes tell which blocks are held.
  uint16_t a = RegisterTexts({std::u16string(499, u'a')});
  uint16_t b = RegisterTexts({u"first", std::u16string(993, u'b')});
  uint16_t c = RegisterTexts({std::u16string(1999, u'c')});
  ASSERT_EQ(kv::StringCacheBytes(), 0u);

  kv::String sa = kv::LoadString({a, 0});
  kv::String sb = kv::LoadString({b, 1});
  kv::String sc = kv::LoadString({c, 0});
  kv::LoadString({a, 0});  // a is now the most recently used
  EXPECT_EQ(kv::StringCacheBytes(), 7000u);
  kv::TrimStringCache();
  EXPECT_EQ(kv::StringCacheBytes(), 7000u);  // within the default 64 KB

  kv::TrimStringCache(5000);
  EXPECT_EQ(kv::StringCacheBytes(), 5000u);  // b went first
  kv::TrimStringCache(0);
  EXPECT_EQ(kv::StringCacheBytes(), 0u);

  // Loaded strings are copies: they outlive their blocks.
  EXPECT_EQ(sa.View(), std::u16string(499, u'a'));
  EXPECT_EQ(sb.View(), std::u16string(993, u'b'));
  EXPECT_EQ(sc.Length(), 1999);

  EXPECT_EQ(kv::LoadString({b, 0}).ToUtf8(), "first");
  EXPECT_EQ(kv::StringCacheBytes(), 2000u);
  kv::ResetStringCacheForTests();
  EXPECT_EQ(kv::StringCacheBytes(), 0u);
}

// The generator, run on its own inputs. Skipped when it is not built.
class StringGeneratorTest : public TextTest {
 protected:
  void SetUp() override {
    TextTest::SetUp();
    tool_ = fs::path(TVUI_BINARY_DIR) / "strgen";
    if (!fs::exists(tool_)) GTEST_SKIP() << "strgen is not built";
    dir_ = fs::temp_directory_path() / ("kv_strgen_test_" + std::to_string(reinterpret_cast<uintptr_t>(this)));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "out");
  }
  void TearDown() override {
    if (!dir_.empty()) fs::remove_all(dir_);
    TextTest::TearDown();
  }
  std::string Input(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
    return (dir_ / name).string();
  }
  // Runs the generator; returns its exit status and keeps its messages.
  int Run(const std::vector<std::string>& inputs) {
    std::string cmd = tool_.string() + " " + (dir_ / "out").string();
    for (const auto& i : inputs) cmd += " " + i;
    cmd += " 2>" + (dir_ / "err.txt").string();
    int rc = std::system(cmd.c_str());
    errors_ = Read(dir_ / "err.txt");
    return rc;
  }
  static std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  fs::path tool_, dir_;
  std::string errors_;
};

TEST_F(StringGeneratorTest, ReportsMalformedLinesAndDuplicates) {
  std::string bad = Input("Bad.txt",
                          "# texts\n"
                          "GOOD = \"fine\"\n"
                          "OPEN = \"never closed\n"
                          "LANG = de \"Hallo\"\n"
                          "ESC = \"\\t\"\n"
                          "MISSING = fr \"Bonjour\"\n"
                          "TAIL = \"x\" y\n");
  EXPECT_NE(Run({bad}), 0);
  for (int line = 3; line <= 7; ++line)
    EXPECT_NE(errors_.find("Bad.txt:" + std::to_string(line) + ":"), std::string::npos) << line << "\n" << errors_;
  EXPECT_EQ(errors_.find("Bad.txt:2:"), std::string::npos);

  std::string dup = Input("Dup.txt", "A = \"1\"\nB = \"2\"\nA = en \"3\"\n");
  EXPECT_NE(Run({dup}), 0);
  EXPECT_NE(errors_.find("Dup.txt:3: error: duplicate id A"), std::string::npos) << errors_;
  EXPECT_FALSE(fs::exists(dir_ / "out" / "StringTables.cpp"));
}

TEST_F(StringGeneratorTest, RoundTripThroughTheRuntime) {
  std::string input =
      "\xEF\xBB\xBF# a comment\r\n"
      "\r\n"
      "PLAIN = \"Say \\\"hi\\\"\\\\\\nbye\"  # trailing comment\r\n"
      "WIDE = \"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\"\n"
      "SAME = \"Say \\\"hi\\\"\\\\\\nbye\"\n"
      "MULTI = en \"Yes\" | fr \"Oui\" | def \"Y\"\n"
      "ONLYEN = en \"Only\"\n";
  // Enough texts to need several blocks.
  for (int i = 0; i < 500; ++i) input += "BULK" + std::to_string(i) + " = \"Bulk text " + std::to_string(i) + "\"\n";
  ASSERT_EQ(Run({Input("Sample.txt", input)}), 0) << errors_;

  // Register the generated blocks, then read the constants from the header.
  std::string tables = Read(dir_ / "out" / "StringTables.cpp");
  std::vector<std::vector<unsigned char>> arrays;
  for (size_t at = tables.find("[] = {"); at != std::string::npos; at = tables.find("[] = {", at + 1)) {
    std::istringstream in(tables.substr(at + 6, tables.find('}', at) - at - 6));
    auto& bytes = arrays.emplace_back();
    for (int v; in >> v; in.ignore(1)) bytes.push_back(static_cast<unsigned char>(v));
  }
  const auto base = static_cast<uint16_t>(kv::StringBlockCount());
  int blocks = 0;
  for (size_t at = tables.find("{kBlock"); at != std::string::npos; at = tables.find("{kBlock", at + 1), ++blocks) {
    unsigned i = 0, compressed = 0, raw = 0, count = 0;
    ASSERT_EQ(std::sscanf(tables.c_str() + at, "{kBlock%u, %u, %u, %u}", &i, &compressed, &raw, &count), 4);
    ASSERT_EQ(i, static_cast<unsigned>(blocks));
    ASSERT_EQ(arrays.at(i).size(), compressed);
    EXPECT_LE(raw, 4096u);
    RegisterRaw(arrays[i], raw, static_cast<uint16_t>(count));
  }
  EXPECT_GE(blocks, 3);

  std::string header = Read(dir_ / "out" / "Sample.h");
  EXPECT_NE(header.find("namespace Sample {"), std::string::npos);
  // The ids of one constant, in order; "{}" is an invalid id.
  auto ids = [&](const std::string& name) {
    std::vector<kv::TextId> r;
    size_t at = header.find(" " + name + "{");
    for (size_t i = at == std::string::npos ? header.size() : at; i < header.size() && header[i] != ';'; ++i) {
      unsigned b = 0, n = 0;
      if (header.compare(i, 2, "{}") == 0) r.push_back({});
      else if (std::sscanf(header.c_str() + i, "{%u, %u}", &b, &n) == 2)
        r.push_back({static_cast<uint16_t>(base + b), static_cast<uint16_t>(n)});
    }
    return r;
  };
  auto text = [&](const std::string& name) {
    auto r = ids(name);
    return r.size() == 1 ? kv::LoadString(r[0]).ToUtf8() : "<no id " + name + ">";
  };
  auto variant = [&](const std::string& name) {
    auto r = ids(name);
    if (r.size() != 4) return "<no id " + name + ">";
    return kv::GetVariantOfString(kv::MultiTextId{{r[0], r[1], r[2]}, r[3]}).ToUtf8();
  };

  EXPECT_EQ(text("PLAIN"), "Say \"hi\"\\\nbye");
  EXPECT_EQ(text("SAME"), text("PLAIN"));
  EXPECT_EQ(text("WIDE"), "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
  EXPECT_EQ(text("BULK0"), "Bulk text 0");
  EXPECT_EQ(text("BULK499"), "Bulk text 499");
  EXPECT_EQ(variant("MULTI"), "Yes");
  kv::SetLanguage(1);
  EXPECT_EQ(variant("MULTI"), "Oui");
  kv::SetLanguage(2);
  EXPECT_EQ(variant("MULTI"), "Y");
  EXPECT_EQ(variant("ONLYEN"), "Only");  // en is the default
  EXPECT_TRUE(logged_.empty());

  // A second run with the same input leaves the outputs untouched.
  auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
  fs::last_write_time(dir_ / "out" / "StringTables.cpp", old);
  fs::last_write_time(dir_ / "out" / "Sample.h", old);
  ASSERT_EQ(Run({(dir_ / "Sample.txt").string()}), 0) << errors_;
  EXPECT_EQ(fs::last_write_time(dir_ / "out" / "StringTables.cpp"), old);
  EXPECT_EQ(fs::last_write_time(dir_ / "out" / "Sample.h"), old);
}

}  // namespace
