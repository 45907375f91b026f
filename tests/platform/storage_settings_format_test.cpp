#include <sys/stat.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <stdlib.h>

#include "platform/storage/SimpleFileReader.h"
#include "platform/storage/native_log.h"
#include "platform/storage/storageFunction.h"

namespace {

std::vector<uint8_t> WithCrc(const std::string& text) {
    std::vector<uint8_t> bytes(text.begin(), text.end());
    uint16_t crc = UDSM_Crc16(bytes.data(), bytes.size());
    bytes.push_back(static_cast<uint8_t>(crc >> 8));
    bytes.push_back(static_cast<uint8_t>(crc & 0xFF));
    return bytes;
}

std::string Line(const std::string& key, std::size_t totalBytes) {
    return "[" + key + "]=" + std::string(totalBytes - key.size() - 4, 'v') + "\n";
}

bool Parses(const std::vector<uint8_t>& bytes, DC_Chain* chain = nullptr) {
    DC_Chain local;
    std::string error;
    bool ok = UDSM_Parse(bytes.data(), bytes.size(), chain != nullptr ? chain : &local, &error);
    EXPECT_EQ(ok, error.empty());
    return ok;
}

TEST(SettingsFormat, CrcIsCcittFalse) {
    const std::string check = "123456789";
    EXPECT_EQ(UDSM_Crc16(reinterpret_cast<const uint8_t*>(check.data()), check.size()), 0x29B1);
    EXPECT_EQ(UDSM_Crc16(nullptr, 0), 0xFFFF);
}

TEST(SettingsFormat, SerialisesLinesThenBigEndianCrc) {
    DC_Chain chain;
    DC_Put(chain, "b", "1");
    DC_Put(chain, "a", "");
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(UDSM_Serialize(chain, &bytes, &error));
    EXPECT_EQ(bytes, WithCrc("[b]=1\n[a]=\n"));
}

TEST(SettingsFormat, RoundTripsUnusualBytes) {
    DC_Chain chain;
    DC_Put(chain, "[k=", "]=[x]\r");
    DC_Put(chain, std::string("n\0ul", 4), std::string("\0\xff", 2));
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(UDSM_Serialize(chain, &bytes, &error));
    DC_Chain back;
    ASSERT_TRUE(Parses(bytes, &back));
    ASSERT_EQ(DC_Count(back), 2u);
    EXPECT_EQ(DC_Find(back, "[k=")->value, "]=[x]\r");
    EXPECT_EQ(DC_Find(back, std::string("n\0ul", 4))->value, std::string("\0\xff", 2));
}

TEST(SettingsFormat, AcceptsTheLimitsExactly) {
    EXPECT_TRUE(Parses(WithCrc("")));
    EXPECT_TRUE(Parses(WithCrc(Line("k", 520))));
    std::string text;
    for (int i = 0; text.size() + 500 <= UDSM_MAX_FILE_BYTES - 2; ++i) text += Line("k" + std::to_string(i), 500);
    text += Line("last", UDSM_MAX_FILE_BYTES - 2 - text.size());
    ASSERT_EQ(text.size() + 2, UDSM_MAX_FILE_BYTES);
    EXPECT_TRUE(Parses(WithCrc(text)));
    EXPECT_FALSE(Parses(WithCrc(text + "[x]=\n")));
}

TEST(SettingsFormat, RejectsDamageAndKeepsTheOutput) {
    std::vector<uint8_t> flipped = WithCrc("[a]=1\n");
    flipped[3] ^= 0x01;
    std::vector<uint8_t> badCrc = WithCrc("[a]=1\n");
    badCrc.back() ^= 0x80;
    const std::vector<std::vector<uint8_t>> bad = {
        {},
        {0xFF},
        flipped,
        badCrc,
        WithCrc("[a]=1"),           // last line unterminated
        WithCrc("a]=1\n"),          // no opening bracket
        WithCrc("[a]1\n"),          // no equals sign
        WithCrc("[a=1\n"),          // no closing bracket
        WithCrc("[]=1\n"),          // empty key
        WithCrc("\n"),              // empty line
        WithCrc("[a]=1\n[a]=2\n"),  // repeated key
        WithCrc(Line("k", 521)),    // line over the limit
    };
    for (std::size_t i = 0; i < bad.size(); ++i) {
        DC_Chain chain;
        DC_Put(chain, "kept", "yes");
        EXPECT_FALSE(Parses(bad[i], &chain)) << "case " << i;
        ASSERT_NE(DC_Find(chain, "kept"), nullptr) << "case " << i;
    }
}

TEST(SettingsFormat, SerialiseRefusesWhatCouldNotBeReadBack) {
    std::vector<uint8_t> bytes;
    std::string error;
    for (auto [key, value] : {std::pair{"a]", "1"}, {"a\nb", "1"}, {"", "1"}, {"a", "1\n"}}) {
        DC_Chain chain;
        DC_Put(chain, key, value);
        EXPECT_FALSE(UDSM_Serialize(chain, &bytes, &error)) << key;
    }
    DC_Chain longLine;
    DC_Put(longLine, "k", std::string(516, 'v'));
    EXPECT_FALSE(UDSM_Serialize(longLine, &bytes, &error));
}

class SimpleFileReaderTest : public ::testing::Test {
protected:
    static void Capture(const char* line) { logged.push_back(line); }
    void SetUp() override {
        logged.clear();
        NativeSetLogger(&Capture);
        std::string pattern = (std::filesystem::temp_directory_path() / "sfr_test_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        NativeSetLogger(nullptr);
        std::filesystem::remove_all(dir);
    }
    static inline std::vector<std::string> logged;
    std::filesystem::path dir;
};

TEST_F(SimpleFileReaderTest, ReadsUpToTheMaximumAndRefusesMore) {
    std::string path = (dir / "f").string();
    std::ofstream(path, std::ios::binary) << std::string(40000, 'x');
    std::vector<uint8_t> out{1, 2};
    EXPECT_EQ(SFR_ReadFile(path.c_str(), 40000, &out), SFR_OK);
    EXPECT_EQ(out.size(), 40000u);
    EXPECT_TRUE(logged.empty());
    EXPECT_EQ(SFR_ReadFile(path.c_str(), 39999, &out), SFR_TOO_LARGE);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(logged.size(), 1u);
    EXPECT_EQ(SFR_ReadFile((dir / "none").c_str(), 10, &out), SFR_MISSING);
    // What is no plain file is named, never read: a pipe without a writer
    // would hold the reader for ever.
    std::string kind;
    EXPECT_EQ(SFR_ReadFile(dir.c_str(), 10, &out, &kind), SFR_NOT_FILE);
    EXPECT_EQ(kind, "a folder");
    const std::string pipe = (dir / "pipe").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(SFR_ReadFile(pipe.c_str(), 10, &out, &kind), SFR_NOT_FILE);
    EXPECT_EQ(kind, "a pipe");
}

}  // namespace
