#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <stdlib.h>

#include "platform/storage/native_log.h"
#include "platform/storage/storageEntry.h"
#include "platform/storage/storageFunction.h"

namespace {

namespace fs = std::filesystem;
using Set = std::map<std::string, std::string>;

std::vector<std::string> g_log;
void Capture(const char* line) { g_log.push_back(line); }

std::vector<uint8_t> ReadBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
void WriteBytes(const fs::path& p, const std::vector<uint8_t>& bytes) {
    std::ofstream(p, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(bytes.data()),
                                                               static_cast<std::streamsize>(bytes.size()));
}

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        NativeSetLogger(&Capture);
        std::string pattern = (fs::temp_directory_path() / "udsm_test_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        main_ = dir_ / "settings";
        backup_ = dir_ / "settings.bak";
    }
    void TearDown() override {
        UDSM_SetSaveHook(nullptr);
        UDSM_Close();
        NativeSetLogger(nullptr);
        fs::remove_all(dir_);
    }

    UDSM_OpenResult Reopen() {
        UDSM_Close();
        return UDSM_Open(main_.c_str(), backup_.c_str());
    }
    // The store's contents over every key the tests use.
    Set Contents() {
        Set out;
        std::string value;
        for (const std::string& k : known_) {
            if (UDSM_Get(k, &value)) out[k] = value;
        }
        return out;
    }
    void Apply(const Set& wanted) {
        for (const std::string& k : known_) {
            if (wanted.count(k) == 0) UDSM_Remove(k);
        }
        for (const auto& [k, v] : wanted) {
            known_.insert(k);
            ASSERT_EQ(UDSM_Put(k, v), UDSM_OK) << k;
        }
    }
    void Commit(const Set& wanted) {
        Apply(wanted);
        ASSERT_EQ(UDSM_Save(), UDSM_OK);
    }
    // Saves the set but stops after the step, as a power cut there would; a cut while the
    // new file is being written leaves half of it.
    void CrashDuring(const Set& wanted, UDSM_SaveStep at) {
        Apply(wanted);
        fs::path temp = main_.string() + ".new";
        UDSM_SetSaveHook([at, temp](UDSM_SaveStep step) {
            if (step != at) return true;
            if (step == UDSM_STEP_TEMP_WRITTEN) fs::resize_file(temp, fs::file_size(temp) / 2);
            return false;
        });
        EXPECT_EQ(UDSM_Save(), UDSM_ERR_IO);
        EXPECT_TRUE(UDSM_IsDirty());
        UDSM_SetSaveHook(nullptr);
    }
    bool Exists(const fs::path& p) { return fs::exists(p); }
    fs::path Damaged(const fs::path& p) { return p.string() + ".damaged"; }

    fs::path dir_, main_, backup_;
    std::set<std::string> known_;
    std::string known_value_;
};

const Set kOlder = {{"a", "0"}};
const Set kOld = {{"a", "1"}, {"b", "2"}, {"c", "3"}};
const Set kNew = {{"a", "10"}, {"c", "3"}, {"d", "4"}};

TEST_F(SettingsStoreTest, FirstStartSaveAndReload) {
    EXPECT_EQ(Reopen(), UDSM_LOADED_DEFAULTS);
    Commit(kOld);
    EXPECT_FALSE(Exists(backup_));
    EXPECT_EQ(Reopen(), UDSM_LOADED_MAIN);
    EXPECT_EQ(Contents(), kOld);
    Commit(kNew);
    EXPECT_EQ(Reopen(), UDSM_LOADED_MAIN);
    EXPECT_EQ(Contents(), kNew);
    EXPECT_EQ(UDSM_RemovePrefix(""), 3u);
    EXPECT_EQ(Contents(), Set{});
    // The previous file became the backup.
    fs::remove(main_);
    EXPECT_EQ(Reopen(), UDSM_LOADED_BACKUP);
    EXPECT_EQ(Contents(), kOld);
    EXPECT_FALSE(Exists(Damaged(main_)));
}

TEST_F(SettingsStoreTest, DirtyFlagFollowsUnsavedChanges) {
    Reopen();
    EXPECT_FALSE(UDSM_IsDirty());
    UDSM_Put("k", "v");
    EXPECT_TRUE(UDSM_IsDirty());
    ASSERT_EQ(UDSM_Save(), UDSM_OK);
    EXPECT_FALSE(UDSM_IsDirty());
    UDSM_Put("k", "v");
    EXPECT_FALSE(UDSM_Remove("other"));
    EXPECT_EQ(UDSM_RemovePrefix("x"), 0u);
    EXPECT_FALSE(UDSM_IsDirty());
    EXPECT_TRUE(UDSM_Remove("k"));
    EXPECT_TRUE(UDSM_IsDirty());
}

TEST_F(SettingsStoreTest, ANewFolderIsMadeAndAFailedSaveIsTriedAgainLoggedOnce) {
    // A new set: neither the folder nor its parent exists yet.
    main_ = dir_ / "new" / "data" / "settings";
    backup_ = dir_ / "new" / "data" / "settings.bak";
    EXPECT_TRUE(UDSM_FolderWritable(main_.c_str()));
    EXPECT_EQ(Reopen(), UDSM_LOADED_DEFAULTS);
    Commit(kOld);
    EXPECT_EQ(UDSM_UnsavedChanges(), 0u);
    EXPECT_EQ(Reopen(), UDSM_LOADED_MAIN);
    EXPECT_EQ(Contents(), kOld);

    // A folder that cannot be made (a file stands in its way): the changes
    // stay pending, counted, and the cause is logged once.
    std::ofstream(dir_ / "blocked") << "x";
    main_ = dir_ / "blocked" / "settings";
    backup_ = dir_ / "blocked" / "settings.bak";
    EXPECT_FALSE(UDSM_FolderWritable(main_.c_str()));
    Reopen();
    g_log.clear();
    ASSERT_EQ(UDSM_Put("a", "1"), UDSM_OK);
    EXPECT_EQ(UDSM_Save(), UDSM_ERR_IO);
    ASSERT_EQ(UDSM_Put("b", "2"), UDSM_OK);
    EXPECT_EQ(UDSM_Save(), UDSM_ERR_IO);
    EXPECT_TRUE(UDSM_IsDirty());
    EXPECT_EQ(UDSM_UnsavedChanges(), 2u);
    EXPECT_EQ(g_log.size(), 1u) << "one line for a run of failures";
    // The next save after the cause is gone writes both.
    fs::remove(dir_ / "blocked");
    EXPECT_EQ(UDSM_Save(), UDSM_OK);
    EXPECT_EQ(UDSM_UnsavedChanges(), 0u);
    EXPECT_EQ(Reopen(), UDSM_LOADED_MAIN);
    EXPECT_EQ(UDSM_Get("b", &known_value_), true);
    EXPECT_EQ(known_value_, "2");
}

TEST_F(SettingsStoreTest, RefusedWritesAreLoggedAndKeepTheOldValue) {
    EXPECT_EQ(UDSM_Put("k", "v"), UDSM_ERR_NOT_OPEN);
    Reopen();
    Commit({{"k", "old"}});
    struct Case {
        std::string key, value;
        UDSM_Status status;
    };
    const Case cases[] = {
        {"", "v", UDSM_ERR_BAD_KEY},
        {"k]", "v", UDSM_ERR_BAD_KEY},
        {"k\n", "v", UDSM_ERR_BAD_KEY},
        {"k", "new\nline", UDSM_ERR_BAD_VALUE},
        {"k", std::string(596, 'x'), UDSM_ERR_LINE_TOO_LONG},  // a 600-byte line
        {"k", std::string(516, 'x'), UDSM_ERR_LINE_TOO_LONG},  // 521 bytes
    };
    for (const Case& c : cases) {
        g_log.clear();
        EXPECT_EQ(UDSM_Put(c.key, c.value), c.status) << c.key;
        EXPECT_EQ(g_log.size(), 1u) << c.key;
    }
    EXPECT_FALSE(UDSM_IsDirty());
    EXPECT_EQ(UDSM_Put("k", std::string(515, 'x')), UDSM_OK);  // exactly 520 bytes
    EXPECT_EQ(Reopen(), UDSM_LOADED_MAIN);
    EXPECT_EQ(Contents(), (Set{{"k", "old"}}));
}

TEST_F(SettingsStoreTest, FileLimitCountsReplacedAndRemovedLines) {
    Reopen();
    // 127 lines of 500 bytes and one of 498, with the checksum exactly 64000 bytes.
    for (int i = 0; i < 127; ++i) {
        std::string key = "k" + std::to_string(1000 + i);
        ASSERT_EQ(UDSM_Put(key, std::string(500 - key.size() - 4, 'v')), UDSM_OK);
    }
    ASSERT_EQ(UDSM_Put("last", std::string(490, 'v')), UDSM_OK);
    g_log.clear();
    EXPECT_EQ(UDSM_Put("x", ""), UDSM_ERR_FILE_TOO_LARGE);
    EXPECT_EQ(g_log.size(), 1u);
    EXPECT_EQ(UDSM_Put("last", std::string(491, 'v')), UDSM_ERR_FILE_TOO_LARGE);
    EXPECT_EQ(UDSM_Put("last", std::string(490, 'w')), UDSM_OK);
    ASSERT_EQ(UDSM_Save(), UDSM_OK);
    EXPECT_EQ(fs::file_size(main_), UDSM_MAX_FILE_BYTES);

    EXPECT_EQ(UDSM_RemovePrefix("k100"), 10u);
    EXPECT_EQ(UDSM_Put("x", std::string(500, 'v')), UDSM_OK);
    EXPECT_TRUE(UDSM_Remove("last"));
    EXPECT_EQ(UDSM_Put("last2", std::string(400, 'v')), UDSM_OK);
    ASSERT_EQ(UDSM_Save(), UDSM_OK);
    EXPECT_EQ(Reopen(), UDSM_LOADED_MAIN);
    std::string value;
    EXPECT_TRUE(UDSM_Get("last2", &value));
    EXPECT_FALSE(UDSM_Get("k1005", &value));
    EXPECT_TRUE(UDSM_Get("k1010", &value));
}

// Each kind of damage to the main file: the backup is loaded and the damaged file kept aside.
TEST_F(SettingsStoreTest, DamagedMainFallsBackToBackup) {
    std::vector<uint8_t> longLine(600, 'v');
    longLine[0] = '[';
    longLine[2] = ']';
    longLine[3] = '=';
    longLine.back() = '\n';
    const std::vector<std::pair<const char*, std::function<void(std::vector<uint8_t>&)>>> damages = {
        {"flipped byte", [](std::vector<uint8_t>& b) { b[b.size() / 2] ^= 0x10; }},
        {"truncated", [](std::vector<uint8_t>& b) { b.erase(b.end() - 3, b.end()); }},
        {"empty", [](std::vector<uint8_t>& b) { b.clear(); }},
        {"600-byte line", [&](std::vector<uint8_t>& b) {
             uint16_t crc = UDSM_Crc16(longLine.data(), longLine.size());
             b = longLine;
             b.push_back(static_cast<uint8_t>(crc >> 8));
             b.push_back(static_cast<uint8_t>(crc));
         }},
        {"over 64000 bytes", [](std::vector<uint8_t>& b) { b.resize(UDSM_MAX_FILE_BYTES + 1, '\n'); }},
    };
    for (const auto& [name, damage] : damages) {
        SCOPED_TRACE(name);
        fs::remove_all(dir_);
        fs::create_directory(dir_);
        Reopen();
        Commit(kOld);
        Commit(kNew);
        std::vector<uint8_t> bytes = ReadBytes(main_);
        ASSERT_FALSE(bytes.empty());
        damage(bytes);
        WriteBytes(main_, bytes);
        g_log.clear();
        EXPECT_EQ(Reopen(), UDSM_LOADED_BACKUP);
        EXPECT_EQ(Contents(), kOld);
        EXPECT_FALSE(g_log.empty());
        EXPECT_EQ(ReadBytes(Damaged(main_)), bytes);
        // The good set is written as the main file at once: the next start
        // takes it without a word of the backup.
        g_log.clear();
        EXPECT_EQ(Reopen(), UDSM_LOADED_MAIN);
        EXPECT_EQ(Contents(), kOld);
        EXPECT_TRUE(g_log.empty()) << g_log.front();

        // Saving after a fall-back keeps the good backup: a second damage still finds it.
        Commit(kOlder);
        WriteBytes(main_, bytes);
        EXPECT_EQ(Reopen(), UDSM_LOADED_BACKUP);
        EXPECT_EQ(Contents(), kOld);
    }
}

TEST_F(SettingsStoreTest, BothDamagedStartsFromDefaultsAndKeepsBoth) {
    Reopen();
    Commit(kOld);
    Commit(kNew);
    std::vector<uint8_t> mainBytes = ReadBytes(main_), backupBytes = ReadBytes(backup_);
    mainBytes[0] ^= 1;
    backupBytes.pop_back();
    WriteBytes(main_, mainBytes);
    WriteBytes(backup_, backupBytes);
    EXPECT_EQ(Reopen(), UDSM_LOADED_DEFAULTS);
    EXPECT_EQ(Contents(), Set{});
    EXPECT_EQ(ReadBytes(Damaged(main_)), mainBytes);
    EXPECT_EQ(ReadBytes(Damaged(backup_)), backupBytes);
    Commit(kOlder);
    EXPECT_EQ(Reopen(), UDSM_LOADED_MAIN);
    EXPECT_EQ(Contents(), kOlder);
}

TEST_F(SettingsStoreTest, MissingBackupIsNotDamage) {
    Reopen();
    Commit(kOld);
    Commit(kNew);
    fs::remove(backup_);
    EXPECT_EQ(Reopen(), UDSM_LOADED_MAIN);
    EXPECT_EQ(Contents(), kNew);
    WriteBytes(main_, {'x'});
    EXPECT_EQ(Reopen(), UDSM_LOADED_DEFAULTS);
    EXPECT_TRUE(Exists(Damaged(main_)));
    EXPECT_FALSE(Exists(Damaged(backup_)));
}

// Two power cuts in a row, at every pair of save steps, then a clean save: each reload
// holds one complete committed-or-new set, never a mix and never nothing.
TEST_F(SettingsStoreTest, CrashAtAnyStepLosesNothingCommitted) {
    const UDSM_SaveStep steps[] = {UDSM_STEP_TEMP_WRITTEN, UDSM_STEP_TEMP_SYNCED, UDSM_STEP_MAIN_TO_BACKUP,
                                   UDSM_STEP_TEMP_TO_MAIN, UDSM_STEP_DIR_SYNCED};
    for (UDSM_SaveStep first : steps) {
        for (UDSM_SaveStep second : steps) {
            SCOPED_TRACE(testing::Message() << "crash after step " << first << ", then " << second);
            fs::remove_all(dir_);
            fs::create_directory(dir_);
            Reopen();
            Commit(kOlder);
            Commit(kOld);

            CrashDuring(kNew, first);
            Reopen();
            Set afterFirst = Contents();
            // A new file that was written whole wins, even when the renames did not happen.
            EXPECT_EQ(afterFirst, first >= UDSM_STEP_TEMP_SYNCED ? kNew : kOld);

            Set changed = afterFirst;
            changed["c"] = "30";
            changed["e"] = "5";
            CrashDuring(changed, second);
            Reopen();
            Set afterSecond = Contents();
            EXPECT_EQ(afterSecond, second >= UDSM_STEP_TEMP_SYNCED ? changed : afterFirst);
            EXPECT_FALSE(Exists(main_.string() + ".new"));

            Set last = afterSecond;
            last["f"] = "6";
            Commit(last);
            EXPECT_EQ(Reopen(), UDSM_LOADED_MAIN);
            EXPECT_EQ(Contents(), last);
            EXPECT_FALSE(Exists(Damaged(main_)) || Exists(Damaged(backup_)));
        }
    }
}

}  // namespace
